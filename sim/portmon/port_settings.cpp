#include "sim/portmon/port_settings.h"

#include "app/trace.h"
#include "framework/unique_key.h"
#include "sim/portmon/config_info.h"
#include "sim/portmon/wide_text.h"

namespace {

std::wstring PortsKey() {
    return Widen(printpath::PortsKey(printpath::kTcpIpMonitorName));
}

std::wstring PortKey(const std::wstring& strPort) {
    return PortsKey() + L"\\" + strPort;
}

LONG OpenKey(const std::wstring& strKey, CUniqueKey& key) {
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, key.Receive());
}

// The port number, or the default when the value is missing or unusable.
DWORD ReadTcpPort(HKEY hKey, const std::wstring& strPort) {
    const std::wstring strValue = Widen(printpath::kPortNumberValue);
    DWORD dwTcpPort = 0;
    DWORD cbData = sizeof(dwTcpPort);
    const LONG lResult =
        RegGetValueW(hKey, nullptr, strValue.c_str(), RRF_RT_REG_DWORD, nullptr, &dwTcpPort, &cbData);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CPortSettings::ReadPort(%s) : RegGetValue(PortNumber) returns %d, using %u\n",
                   Narrow(strPort).c_str(), static_cast<int>(lResult), printpath::kDefaultTcpPort);
        return printpath::kDefaultTcpPort;
    }
    if (!printpath::IsTcpPort(dwTcpPort)) {
        DebugTrace("CPortSettings::ReadPort(%s) : PortNumber %lu is out of range, using %u\n",
                   Narrow(strPort).c_str(), dwTcpPort, printpath::kDefaultTcpPort);
        return printpath::kDefaultTcpPort;
    }
    return dwTcpPort;
}

} // namespace

DWORD CPortSettings::EnumPortNames(std::vector<std::wstring>& ports) {
    ports.clear();
    CUniqueKey key;
    LONG lResult = OpenKey(PortsKey(), key);
    if (lResult == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CPortSettings::EnumPortNames() : RegOpenKeyEx() returns %d\n", static_cast<int>(lResult));
        return static_cast<DWORD>(lResult);
    }
    for (DWORD dwIndex = 0;; ++dwIndex) {
        wchar_t szName[256]; // the longest key name the registry allows, and its NUL
        DWORD cchName = ARRAYSIZE(szName);
        lResult = RegEnumKeyExW(key.Get(), dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (lResult != ERROR_SUCCESS) {
            DebugTrace("CPortSettings::EnumPortNames() : RegEnumKeyEx(%lu) returns %d\n", dwIndex,
                       static_cast<int>(lResult));
            return static_cast<DWORD>(lResult);
        }
        ports.emplace_back(szName, cchName);
    }
}

DWORD CPortSettings::FindPort(const std::wstring& strPort) {
    CUniqueKey key;
    const LONG lResult = OpenKey(PortKey(strPort), key);
    if (lResult == ERROR_SUCCESS)
        return ERROR_SUCCESS;
    DebugTrace("CPortSettings::FindPort(%s) : RegOpenKeyEx() returns %d\n", Narrow(strPort).c_str(),
               static_cast<int>(lResult));
    return ERROR_UNKNOWN_PORT;
}

DWORD CPortSettings::ReadPort(const std::wstring& strPort, printpath::PortConfig& config) {
    CUniqueKey key;
    LONG lResult = OpenKey(PortKey(strPort), key);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CPortSettings::ReadPort(%s) : RegOpenKeyEx() returns %d\n", Narrow(strPort).c_str(),
                   static_cast<int>(lResult));
        return static_cast<DWORD>(lResult);
    }

    const std::wstring strValue = Widen(printpath::kIpAddressValue);
    wchar_t szAddress[256] = {};
    DWORD cbData = sizeof(szAddress);
    lResult = RegGetValueW(key.Get(), nullptr, strValue.c_str(), RRF_RT_REG_SZ, nullptr, szAddress, &cbData);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CPortSettings::ReadPort(%s) : RegGetValue(IPAddress) returns %d\n",
                   Narrow(strPort).c_str(), static_cast<int>(lResult));
        return lResult == ERROR_FILE_NOT_FOUND ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_DATA;
    }
    config.strAddress = Narrow(szAddress);
    config.dwTcpPort = ReadTcpPort(key.Get(), strPort);
    return ERROR_SUCCESS;
}
