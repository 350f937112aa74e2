#include "tests/wine/test_printer.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

void SetString(HKEY hKey, const char* pszName, const std::string& strValue) {
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                             static_cast<DWORD>(strValue.size() + 1)));
}

} // namespace

CTestPrinter::CTestPrinter(const std::string& strName, const std::string& strPort,
                           const std::string& strDriver)
    : m_strName(strName), m_strKey(std::string(kPrintersKey) + strName) {
    HKEY hKey = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_strKey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    SetString(hKey, "Name", strName);
    SetString(hKey, "Printer Driver", strDriver);
    SetString(hKey, "Port", strPort);
    SetString(hKey, "Print Processor", "winprint");
    SetString(hKey, "Datatype", "RAW");
    SetString(hKey, "Description", "");
    const DWORD dwAttributes = PRINTER_ATTRIBUTE_LOCAL;
    RegSetValueExA(hKey, "Attributes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwAttributes),
                   sizeof(dwAttributes));
    RegCloseKey(hKey);
}

CTestPrinter::~CTestPrinter() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_strKey.c_str());
}

void CTestPrinter::SetPrinterData(const std::string& strValue, const std::string& strData) {
    HKEY hKey = nullptr;
    const std::string strKey = m_strKey + "\\PrinterDriverData";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    SetString(hKey, strValue.c_str(), strData);
    RegCloseKey(hKey);
}

std::string UniqueName(const std::string& strBase) {
    static LONG s_nCounter = 0;
    return strBase + std::to_string(GetCurrentProcessId()) + "_" +
           std::to_string(InterlockedIncrement(&s_nCounter));
}

std::string HostPath(const std::string& strUnixPath) {
    std::string strPath = "Z:" + strUnixPath;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

bool WaitFor(const std::function<bool()>& pfnDone, DWORD dwTimeOutMs) {
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwTimeOutMs; Sleep(20)) {
        if (pfnDone())
            return true;
    }
    return pfnDone();
}

bool Pump(DWORD dwTimeOutMs, const std::function<bool()>& pfnDone) {
    return WaitFor(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            return pfnDone();
        },
        dwTimeOutMs);
}
