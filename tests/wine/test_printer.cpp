#include "tests/wine/test_printer.h"

#include <algorithm>

#include <gtest/gtest.h>

const std::string kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

CTestPrinter::CTestPrinter(const std::string& strName, const std::string& strPort,
                           const std::string& strDriver)
    : m_strName(strName), m_strKey(kPrintersKey + strName) {
    SetMachineString(m_strKey, "Name", strName);
    SetMachineString(m_strKey, "Printer Driver", strDriver);
    SetMachineString(m_strKey, "Port", strPort);
    SetMachineString(m_strKey, "Print Processor", "winprint");
    SetMachineString(m_strKey, "Datatype", "RAW");
    SetMachineString(m_strKey, "Description", "");
    const DWORD dwAttributes = PRINTER_ATTRIBUTE_LOCAL;
    SetMachineValue(m_strKey, "Attributes", REG_DWORD, &dwAttributes, sizeof(dwAttributes));
}

CTestPrinter::~CTestPrinter() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_strKey.c_str());
}

void CTestPrinter::SetPrinterData(const std::string& strValue, const std::string& strData) {
    SetMachineString(m_strKey + "\\PrinterDriverData", strValue, strData);
}

void SetMachineValue(const std::string& strKey, const std::string& strValue, DWORD dwType, const void* pData,
                     DWORD cbData) {
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(hKey, strValue.c_str(), 0, dwType, static_cast<const BYTE*>(pData), cbData));
    RegCloseKey(hKey);
}

void SetMachineString(const std::string& strKey, const std::string& strValue, const std::string& strData) {
    SetMachineValue(strKey, strValue, REG_SZ, strData.c_str(), static_cast<DWORD>(strData.size() + 1));
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
