#include "monitor/spooler_ports.h"

#include <memory>
#include <new>

#include <winspool.h>

#include "app/trace.h"
#include "monitor/device_control.h"

DWORD CSpoolerPorts::Enumerate() {
    m_ports.clear();
    DWORD dwNeeded = 0;
    DWORD dwReturned = 0;
    if (!EnumPortsA(nullptr, 2, nullptr, 0, &dwNeeded, &dwReturned) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        const DWORD dwError = GetLastError();
        DebugTrace("CDeviceControl::GetPortType() : EnumPorts(0) failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    std::unique_ptr<BYTE[]> pInfo(new (std::nothrow) BYTE[dwNeeded]());
    if (!pInfo) {
        DebugTrace("CDeviceControl::GetPortType() : Unable to allocate pInfo. Required size = %d\n",
                   static_cast<int>(dwNeeded));
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!EnumPortsA(nullptr, 2, pInfo.get(), dwNeeded, &dwNeeded, &dwReturned)) {
        const DWORD dwError = GetLastError();
        DebugTrace("CDeviceControl::GetPortType() : EnumPorts(%d) failed. GetLastError() = %d\n",
                   static_cast<int>(dwNeeded), static_cast<int>(dwError));
        return dwError;
    }
    const PORT_INFO_2A* pPorts = reinterpret_cast<const PORT_INFO_2A*>(pInfo.get());
    for (DWORD i = 0; i < dwReturned; ++i) {
        if (pPorts[i].pPortName && pPorts[i].pMonitorName)
            m_ports.push_back({pPorts[i].pPortName, pPorts[i].pMonitorName});
    }
    return ERROR_SUCCESS;
}

int CSpoolerPorts::GetPortType(const char* pszPort) const {
    if (CDeviceControl::IsUsbPortName(pszPort))
        return CDeviceControl::kPortUsb;
    for (const CPort& port : m_ports) {
        if (CDeviceControl::IsMonitoredPort(port.strName.c_str(), port.strMonitor.c_str(), pszPort))
            return CDeviceControl::kPortNetwork;
    }
    return CDeviceControl::kPortDefault;
}
