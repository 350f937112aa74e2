#include "tests/wine/test_port_monitor.h"

#include <gtest/gtest.h>

#include "app/printpath/port_config.h"

namespace {

std::string MonitorKey() {
    return std::string(printpath::kMonitorsKey) + "\\" + printpath::kTcpIpMonitorName;
}

std::string PortKey(const std::string& strPort) {
    return printpath::PortSettingsKey(printpath::kTcpIpMonitorName, strPort);
}

} // namespace

std::string CTestPortMonitor::DllPath() {
    // CMake names the DLL by its host path; Wine shows the host's root as drive Z.
    std::string strPath = "Z:" + std::string(NY_PORTMON_DLL);
    for (char& c : strPath) {
        if (c == '/')
            c = '\\';
    }
    return strPath;
}

CTestPortMonitor::CTestPortMonitor() {
    HKEY hKey = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, MonitorKey().c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    const std::string strDriver = DllPath();
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(hKey, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>(strDriver.c_str()),
                             static_cast<DWORD>(strDriver.size() + 1)));
    RegCloseKey(hKey);
}

CTestPortMonitor::~CTestPortMonitor() {
    for (const std::string& strPort : m_ports)
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, PortKey(strPort).c_str());
    // Other test programs may be using the monitor at the same time: it goes
    // only with its last port.
    const std::string strPorts = printpath::PortsKey(printpath::kTcpIpMonitorName);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, strPorts.c_str());
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, strPorts.c_str(), 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        RegCloseKey(hKey);
        return;
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, MonitorKey().c_str());
}

void CTestPortMonitor::AddNetworkPort(const std::string& strPort, const std::string& strAddress,
                                      DWORD dwTcpPort) {
    AddBarePort(strPort);
    SetString(strPort, printpath::kIpAddressValue, strAddress);
    SetDWORD(strPort, printpath::kPortNumberValue, dwTcpPort);
}

void CTestPortMonitor::AddBarePort(const std::string& strPort) {
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, PortKey(strPort).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    RegCloseKey(hKey);
    m_ports.push_back(strPort);
}

void CTestPortMonitor::SetValue(const std::string& strPort, const std::string& strValue, DWORD dwType,
                                const void* pData, DWORD cbData) {
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortKey(strPort).c_str(), 0, KEY_SET_VALUE, &hKey));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(hKey, strValue.c_str(), 0, dwType, static_cast<const BYTE*>(pData), cbData));
    RegCloseKey(hKey);
}

void CTestPortMonitor::SetString(const std::string& strPort, const std::string& strValue,
                                 const std::string& strData) {
    SetValue(strPort, strValue, REG_SZ, strData.c_str(), static_cast<DWORD>(strData.size() + 1));
}

void CTestPortMonitor::SetDWORD(const std::string& strPort, const std::string& strValue, DWORD dwData) {
    SetValue(strPort, strValue, REG_DWORD, &dwData, sizeof(dwData));
}

void CTestPortMonitor::DeleteValue(const std::string& strPort, const std::string& strValue) {
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortKey(strPort).c_str(), 0, KEY_SET_VALUE, &hKey));
    RegDeleteValueA(hKey, strValue.c_str());
    RegCloseKey(hKey);
}
