// The spooler's port list at one moment: the name of each port and of the
// monitor that serves it, from one enumeration at level 2.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

class CSpoolerPorts {
public:
    // Asks the spooler for its ports; 0, or the error of the enumeration
    // (traced), which leaves the list empty.
    DWORD Enumerate();
    // The type of the port pszPort as CDeviceControl::GetPortType tells it,
    // from this list.
    int GetPortType(const char* pszPort) const;

private:
    struct CPort {
        std::string strName;
        std::string strMonitor;
    };

    std::vector<CPort> m_ports;
};
