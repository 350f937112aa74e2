#include "devices/threads/polling_device.h"

#include "app/trace.h"

CPollingDevice::CPollingDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                               const char* pszLink, BOOL bWithConsole, const CPolling& polling,
                               CStatusPoller& poller)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszLink, bWithConsole), m_Polling(polling),
      m_Poller(poller) {}

void CPollingDevice::StartIfConnected() {
    if (m_bConnected)
        Start();
}

void CPollingDevice::OnConnected(const char* pszLink) {
    CStatusDevice::OnConnected(pszLink);
    Start();
}

void CPollingDevice::OnDisconnected() {
    Stop();
    CStatusDevice::OnDisconnected();
}

void CPollingDevice::SignalStop() {
    m_Poller.SignalStop();
}

void CPollingDevice::Start() {
    DWORD dwError = OnStart();
    if (dwError == 0)
        dwError = m_Poller.Launch(m_Polling.dwPeriodMs, m_Polling.dwFirstWaitMs, this, m_Polling.pszLauncher);
    if (dwError == 0)
        return;
    Stop();
    DebugTrace("%s : Start() failed. GetLastError() = %d\n", m_Polling.pszStarter, static_cast<int>(dwError));
}

void CPollingDevice::Stop() {
    // A poll waiting for a mutex the print path never releases gives up.
    m_Poller.Stop();
    OnStop();
}
