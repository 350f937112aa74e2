#include "tests/wine/test_port_monitor.h"

#include <gtest/gtest.h>

#include "app/printpath/port_config.h"
#include "tests/wine/test_printer.h"

namespace {

std::string MonitorKey() {
    return std::string(printpath::kMonitorsKey) + "\\" + printpath::kTcpIpMonitorName;
}

std::string PortKey(const std::string& strPort) {
    return printpath::PortSettingsKey(printpath::kTcpIpMonitorName, strPort);
}

} // namespace

std::string CTestPortMonitor::DllPath() {
    return HostPath(NY_PORTMON_DLL);
}

CTestPortMonitor::CTestPortMonitor() {
    SetMachineString(MonitorKey(), "Driver", DllPath());
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

void CTestPortMonitor::SetString(const std::string& strPort, const std::string& strValue,
                                 const std::string& strData) {
    SetMachineString(PortKey(strPort), strValue, strData);
}

void CTestPortMonitor::SetDWORD(const std::string& strPort, const std::string& strValue, DWORD dwData) {
    SetMachineValue(PortKey(strPort), strValue, REG_DWORD, &dwData, sizeof(dwData));
}

void CTestPortMonitor::DeleteValue(const std::string& strPort, const std::string& strValue) {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, PortKey(strPort).c_str(), strValue.c_str());
}
