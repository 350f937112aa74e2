#include "app/registry.h"

#include <cstring>
#include <new>

#include "app/format.h"
#include "app/trace.h"
#include "app/printpath/port_config.h"
#include "framework/unique_key.h"

namespace {

const char kAgentKey[] = "Software\\Tessel\\Tessel Photo\\NyAgent";
const char kPrinterKeyFormat[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\%s";

// Reads a switch of the agent key as TRUE or FALSE, or takes the default.
LONG GetFlag(const char* pszValueName, BOOL& bFlag, BOOL bDefault) {
    DWORD dwValue = 0;
    const LONG lResult = CRegistry::GetDWORDKey(HKEY_CURRENT_USER, kAgentKey, pszValueName, dwValue);
    bFlag = lResult == ERROR_SUCCESS ? (dwValue != 0 ? TRUE : FALSE) : bDefault;
    return lResult;
}

LONG SetFlag(const char* pszValueName, BOOL bFlag) {
    return CRegistry::SetDWORDKey(kAgentKey, pszValueName, bFlag ? 1 : 0);
}

// Reads a colour setting from the current user's key, else from the machine's;
// returns the status of the last read.
LONG GetColor(const char* pszValueName, DWORD& dwColor, const DWORD* pdwDefault) {
    LONG lResult = CRegistry::GetDWORDKey(HKEY_CURRENT_USER, kAgentKey, pszValueName, dwColor);
    if (lResult != ERROR_SUCCESS)
        lResult = CRegistry::GetDWORDKey(HKEY_LOCAL_MACHINE, kAgentKey, pszValueName, dwColor);
    if (lResult != ERROR_SUCCESS)
        dwColor = pdwDefault ? *pdwDefault : 0;
    return lResult;
}

// Traces a failed setting operation under its name; returns the status as is.
LONG Traced(const char* pszOperation, LONG lResult) {
    if (lResult != ERROR_SUCCESS)
        DebugTrace("CRegistry::%s failed. GetLastError() = %d\n", pszOperation, static_cast<int>(lResult));
    return lResult;
}

} // namespace

LONG CRegistry::GetDWORDKey(HKEY hRoot, const std::string& strSubKey, const std::string& strValueName,
                            DWORD& dwValue) {
    CUniqueKey hKey;
    LONG lResult = RegOpenKeyExA(hRoot, strSubKey.c_str(), 0, KEY_READ, hKey.Receive());
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetDWORDKey() : RegOpenKeyEx() returns %d\n", static_cast<int>(lResult));
        return lResult;
    }
    DWORD dwData = 0;
    DWORD dwSize = sizeof(dwData);
    lResult = RegQueryValueExA(hKey.Get(), strValueName.c_str(), nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&dwData), &dwSize);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetDWORDKey() : RegQueryValueEx() returns %d\n", static_cast<int>(lResult));
        return lResult;
    }
    dwValue = dwData;
    return ERROR_SUCCESS;
}

LONG CRegistry::SetDWORDKey(const std::string& strSubKey, const std::string& strValueName, DWORD dwValue) {
    CUniqueKey hKey;
    LONG lResult = RegCreateKeyExA(HKEY_CURRENT_USER, strSubKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, hKey.Receive(), nullptr);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::SetDWORDKey() : RegCreateKeyEx() returns %d\n", static_cast<int>(lResult));
        return lResult;
    }
    lResult = RegSetValueExA(hKey.Get(), strValueName.c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue));
    if (lResult != ERROR_SUCCESS)
        DebugTrace("CRegistry::SetDWORDKey() : RegSetValueEx() returns %d\n", static_cast<int>(lResult));
    return lResult;
}

LONG CRegistry::GetStringKey(HKEY hRoot, const std::string& strSubKey, const std::string& strValueName,
                             std::string& strValue) {
    CUniqueKey hKey;
    LONG lResult = RegOpenKeyExA(hRoot, strSubKey.c_str(), 0, KEY_READ, hKey.Receive());
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetStringKey() : RegOpenKeyEx() returns %d\n", static_cast<int>(lResult));
        return lResult;
    }
    DWORD dwSize = 0;
    lResult = RegQueryValueExA(hKey.Get(), strValueName.c_str(), nullptr, nullptr, nullptr, &dwSize);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetStringKey() : RegQueryValueEx() returns %d\n", static_cast<int>(lResult));
        return lResult;
    }
    // One zeroed byte more than the value needs, so that a value stored
    // without its terminating zero still ends in one.
    std::string strBuffer;
    try {
        strBuffer.assign(static_cast<size_t>(dwSize) + 1, '\0');
    } catch (const std::bad_alloc&) {
        DebugTrace("CRegistry::GetStringKey() : Unable to allocate buffer. Required size = %d\n",
                   static_cast<int>(dwSize));
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    lResult = RegQueryValueExA(hKey.Get(), strValueName.c_str(), nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&strBuffer[0]), &dwSize);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetStringKey() : RegQueryValueEx() returns %d\n", static_cast<int>(lResult));
        return lResult;
    }
    strBuffer.resize(std::strlen(strBuffer.c_str()));
    strValue.swap(strBuffer);
    return ERROR_SUCCESS;
}

LONG CRegistry::GetOpenOnError(BOOL& bOpenOnError, BOOL bDefault) {
    return Traced("GetOpenOnError()", GetFlag("OpenOnError", bOpenOnError, bDefault));
}

LONG CRegistry::SetOpenOnError(BOOL bOpenOnError) {
    return Traced("SetOpenOnError()", SetFlag("OpenOnError", bOpenOnError));
}

LONG CRegistry::GetOpenWhenPrinting(BOOL& bOpenWhenPrinting, BOOL bDefault) {
    return Traced("GetOpenWhenPrinting()", GetFlag("OpenWhenPrinting", bOpenWhenPrinting, bDefault));
}

LONG CRegistry::SetOpenWhenPrinting(BOOL bOpenWhenPrinting) {
    return Traced("SetOpenWhenPrinting()", SetFlag("OpenWhenPrinting", bOpenWhenPrinting));
}

LONG CRegistry::GetUseNyStatusMonitor(BOOL& bUseNyStatusMonitor, BOOL bDefault) {
    return Traced("GetUseNyStatusMonitor()", GetFlag("UseNyStatusMonitor", bUseNyStatusMonitor, bDefault));
}

LONG CRegistry::GetHowManyReboots(DWORD& dwReboots, DWORD dwDefault) {
    const LONG lResult = GetDWORDKey(HKEY_CURRENT_USER, kAgentKey, "Reboot", dwReboots);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetHowManyReboots() failed. GetLastError() = %d\n", static_cast<int>(lResult));
        dwReboots = dwDefault;
    }
    return lResult;
}

LONG CRegistry::SetHowManyReboots(DWORD dwReboots) {
    return Traced("SetHowManyReboots()", SetDWORDKey(kAgentKey, "Reboot", dwReboots));
}

LONG CRegistry::GetBkColor(DWORD& dwColor, const DWORD* pdwDefault) {
    return Traced("GetBkColor()", GetColor("BkColor", dwColor, pdwDefault));
}

LONG CRegistry::GetTextColor(DWORD& dwColor, const DWORD* pdwDefault) {
    return Traced("GetTextColor()", GetColor("TextColor", dwColor, pdwDefault));
}

LONG CRegistry::SetBkColor(const DWORD* pdwColor) {
    return Traced("SetBkColor()",
                  pdwColor ? SetDWORDKey(kAgentKey, "BkColor", *pdwColor) : ERROR_INVALID_PARAMETER);
}

LONG CRegistry::SetTextColor(const DWORD* pdwColor) {
    LONG lResult = ERROR_INVALID_PARAMETER;
    if (pdwColor)
        lResult = SetDWORDKey(kAgentKey, "TextColor", *pdwColor);
    else
        SetLastError(ERROR_INVALID_PARAMETER);
    // Unlike the other setters, this line reports the thread's last error, not the registry status.
    if (lResult != ERROR_SUCCESS)
        DebugTrace("CRegistry::SetTextColor() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    return lResult;
}

LONG CRegistry::GetWindowPos(POINT& ptPosition, const POINT& ptDefault) {
    DWORD dwX = 0;
    LONG lResult = GetDWORDKey(HKEY_CURRENT_USER, kAgentKey, "X", dwX);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetWindowPos(X) failed. GetLastError() = %d\n", static_cast<int>(lResult));
        ptPosition = ptDefault;
        return lResult;
    }
    DWORD dwY = 0;
    lResult = GetDWORDKey(HKEY_CURRENT_USER, kAgentKey, "Y", dwY);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetWindowPos(Y) failed. GetLastError() = %d\n", static_cast<int>(lResult));
        ptPosition = ptDefault;
        return lResult;
    }
    // Coordinates left of or above the primary monitor are stored as two's complement.
    ptPosition.x = static_cast<LONG>(dwX);
    ptPosition.y = static_cast<LONG>(dwY);
    return ERROR_SUCCESS;
}

LONG CRegistry::SetWindowPos(const POINT& ptPosition) {
    const struct {
        const char* pszValueName;
        LONG nCoordinate;
    } coordinates[] = {{"X", ptPosition.x}, {"Y", ptPosition.y}};
    for (const auto& coordinate : coordinates) {
        const LONG lResult =
            SetDWORDKey(kAgentKey, coordinate.pszValueName, static_cast<DWORD>(coordinate.nCoordinate));
        if (lResult != ERROR_SUCCESS) {
            DebugTrace("CRegistry::SetWindowPos() : SetDWORDKey(%s) failed. GetLastError() = %d\n",
                       coordinate.pszValueName, static_cast<int>(lResult));
            return lResult;
        }
    }
    return ERROR_SUCCESS;
}

LONG CRegistry::GetPort(const std::string& strPrinterName, std::string& strPort) {
    const LONG lResult =
        GetStringKey(HKEY_LOCAL_MACHINE, Format(kPrinterKeyFormat, strPrinterName.c_str()), "Port", strPort);
    if (lResult != ERROR_SUCCESS)
        DebugTrace("CRegistry::GetPort() : GetStringKey() failed. GetLastError() = %d\n",
                   static_cast<int>(lResult));
    return lResult;
}

LONG CRegistry::GetIpAddresFromPortSettings(const std::string& strMonitorName, const std::string& strPortName,
                                            std::string& strAddress) {
    const std::string strKey = printpath::PortSettingsKey(strMonitorName, strPortName);
    const LONG lResult = GetStringKey(HKEY_LOCAL_MACHINE, strKey, printpath::kIpAddressValue, strAddress);
    if (lResult != ERROR_SUCCESS)
        DebugTrace("CRegistry::GetIpAddresFromPortSettings() : GetStringKey() failed. GetLastError() = %d\n",
                   static_cast<int>(lResult));
    return lResult;
}

LONG CRegistry::GetTcpPortFromPortSettings(const std::string& strMonitorName, const std::string& strPortName,
                                           DWORD& dwTcpPort, DWORD dwDefault) {
    const std::string strKey = printpath::PortSettingsKey(strMonitorName, strPortName);
    const LONG lResult = GetDWORDKey(HKEY_LOCAL_MACHINE, strKey, printpath::kPortNumberValue, dwTcpPort);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CRegistry::GetTcpPortFromPortSettings() failed. GetLastError() = %d\n",
                   static_cast<int>(lResult));
        dwTcpPort = dwDefault;
    }
    return lResult;
}
