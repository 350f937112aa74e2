// The port monitor's configuration: one registry key per port under
// HKEY_LOCAL_MACHINE\<printpath::PortsKey(monitor)>, holding "IPAddress" and
// "PortNumber". The agent reads the same values directly on systems without
// the configuration query. Every operation reads the registry afresh.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "app/printpath/port_config.h"

class CPortSettings {
public:
    CPortSettings() = delete;

    // The names of the configured ports, in the registry's order. A monitor
    // without a Ports key has no ports.
    static DWORD EnumPortNames(std::vector<std::wstring>& ports);
    // 0 when the port has a key, ERROR_UNKNOWN_PORT when it has none.
    static DWORD FindPort(const std::wstring& strPort);
    // The port's settings. The address must be a REG_SZ of fewer than 256
    // characters (ERROR_FILE_NOT_FOUND when missing, ERROR_INVALID_DATA
    // otherwise); whether it fits the reply is the reply's business. A
    // missing or unusable port number gives 9100.
    static DWORD ReadPort(const std::wstring& strPort, printpath::PortConfig& config);
};
