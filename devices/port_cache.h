// What the spooler says about its ports, kept between synchronisations: the
// type of each port, from one enumeration of the port list, and the address
// and TCP port of each network port, from its port monitor. Wine's spooler
// loads every port monitor into the calling process for each enumeration and
// each configuration request and unloads it afterwards, and a monitor may
// leave memory behind at each unload; the agent synchronises on every device
// and spooler change. So the answers are asked again only when the port
// monitors' registry key, where the monitors keep their ports and the ports'
// settings, has changed. When that key cannot be watched, the answers last
// for one synchronisation.
#pragma once

#include <map>
#include <string>

#include <windows.h>

#include "framework/unique_handle.h"
#include "framework/unique_key.h"
#include "monitor/spooler_ports.h"

class CPortCache {
public:
    CPortCache();
    ~CPortCache() = default;
    CPortCache(const CPortCache&) = delete;
    CPortCache& operator=(const CPortCache&) = delete;

    // A synchronisation begins: without a watch on the monitors' key, the
    // answers of the previous one are forgotten.
    void Refresh();
    // As CDeviceControl::GetPortType; the port list is asked for only when
    // none is kept.
    int GetPortType(const char* pszPort);
    // As CLanDevice::GetPortInfo2K; a port's answer is kept when it succeeded,
    // a failure is asked again at the next call.
    DWORD GetPortInfo(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort);

private:
    struct CPortInfo {
        std::string strIpAddress;
        DWORD dwTcpPort;
    };

    // Asks to have m_hChanged signalled at the key's next change; false, traced, when it cannot be.
    bool Watch();
    // Forgets the answers when the key has changed since they were given.
    void ForgetIfChanged();
    void Forget();

    CUniqueKey m_monitorsKey;
    CUniqueHandle m_hChanged;
    bool m_bWatching = false;
    bool m_bPortsKnown = false;
    CSpoolerPorts m_ports;
    std::map<std::string, CPortInfo> m_portInfo;
};
