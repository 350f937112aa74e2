#include "devices/port_cache.h"

#include "app/printpath/port_config.h"
#include "app/trace.h"
#include "devices/lan/lan_device.h"
#include "monitor/device_control.h"

CPortCache::CPortCache() {
    const LONG lError =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, printpath::kMonitorsKey, 0, KEY_NOTIFY, m_monitorsKey.Receive());
    if (lError != ERROR_SUCCESS) {
        DebugTrace("CPortCache::CPortCache() : RegOpenKeyEx() returns %d\n", static_cast<int>(lError));
        return;
    }
    m_hChanged.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_hChanged) {
        DebugTrace("CPortCache::CPortCache() : CreateEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    m_bWatching = Watch();
}

bool CPortCache::Watch() {
    ResetEvent(m_hChanged.Get());
    const LONG lError =
        RegNotifyChangeKeyValue(m_monitorsKey.Get(), TRUE,
                                REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, m_hChanged.Get(), TRUE);
    if (lError != ERROR_SUCCESS) {
        DebugTrace("CPortCache::Watch() : RegNotifyChangeKeyValue() returns %d\n", static_cast<int>(lError));
        return false;
    }
    return true;
}

void CPortCache::Refresh() {
    if (!m_bWatching)
        Forget();
}

void CPortCache::ForgetIfChanged() {
    if (!m_bWatching || WaitForSingleObject(m_hChanged.Get(), 0) != WAIT_OBJECT_0)
        return;
    // Watched again before asking again, so that no change goes unseen.
    m_bWatching = Watch();
    Forget();
}

void CPortCache::Forget() {
    m_bPortsKnown = false;
    m_portInfo.clear();
}

int CPortCache::GetPortType(const char* pszPort) {
    if (CDeviceControl::IsUsbPortName(pszPort))
        return CDeviceControl::kPortUsb;
    ForgetIfChanged();
    if (!m_bPortsKnown)
        m_bPortsKnown = m_ports.Enumerate() == ERROR_SUCCESS;
    return m_bPortsKnown ? m_ports.GetPortType(pszPort) : CDeviceControl::kPortDefault;
}

DWORD CPortCache::GetPortInfo(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort) {
    ForgetIfChanged();
    const auto kept = m_portInfo.find(strPort);
    if (kept != m_portInfo.end()) {
        strIpAddress = kept->second.strIpAddress;
        dwTcpPort = kept->second.dwTcpPort;
        return ERROR_SUCCESS;
    }
    const DWORD dwError = CLanDevice::GetPortInfo2K(strPort, strIpAddress, dwTcpPort);
    if (dwError == ERROR_SUCCESS)
        m_portInfo[strPort] = {strIpAddress, dwTcpPort};
    return dwError;
}
