// The family's TCP/IP port monitor (NyPortMon.dll) installed in the spooler's
// registry for the length of a test, with the ports the test configures.
// Wine's spooler loads the monitors it finds under the Monitors key on every
// call, and opens ",XcvPort NAME" only for a port that has a key there.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

class CTestPortMonitor {
public:
    // Points the monitor's "Driver" at the built DLL.
    CTestPortMonitor();
    // Removes the ports it added, then the monitor when no port is left.
    ~CTestPortMonitor();
    CTestPortMonitor(const CTestPortMonitor&) = delete;
    CTestPortMonitor& operator=(const CTestPortMonitor&) = delete;

    // The DLL's path as Windows names it.
    static std::string DllPath();

    // A port with the address and TCP port that the monitor hands out.
    void AddNetworkPort(const std::string& strPort, const std::string& strAddress, DWORD dwTcpPort);
    // A port the spooler knows but whose settings are missing.
    void AddBarePort(const std::string& strPort);
    void SetString(const std::string& strPort, const std::string& strValue, const std::string& strData);
    void SetDWORD(const std::string& strPort, const std::string& strValue, DWORD dwData);
    void DeleteValue(const std::string& strPort, const std::string& strValue);

private:
    std::vector<std::string> m_ports;
};
