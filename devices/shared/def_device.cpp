#include "devices/shared/def_device.h"

#include "app/trace.h"
#include "monitor/console.h"

CDefDevice::CDefDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszLink)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszLink, TRUE) {}

DWORD CDefDevice::ReadStatus(CDeviceStatus* pStatus) {
    *pStatus = GetCurrentStatus();
    return ERROR_SUCCESS;
}

DWORD CDefDevice::ReadInfo(DEVICE_INFO*) {
    return ERROR_NOT_SUPPORTED;
}
DWORD CDefDevice::GetNumberOfLogs(WORD*) {
    return ERROR_NOT_SUPPORTED;
}
DWORD CDefDevice::GetLogs(WORD, DEVICE_LOG*) {
    return ERROR_NOT_SUPPORTED;
}

DWORD CDefDevice::OnCancel() {
    if (!m_pConsole) {
        DebugTrace("CDefDevice::OnCancel() : m_pConsole is NULL\n");
        return ERROR_INVALID_STATE;
    }
    return m_pConsole->ReplyClose();
}

DWORD CDefDevice::OnResume() {
    if (!m_pConsole) {
        DebugTrace("CDefDevice::OnResume() : m_pConsole is NULL\n");
        return ERROR_INVALID_STATE;
    }
    return m_pConsole->ReplyResume();
}

// The default device has no status of its own to poll.
void CDefDevice::PollStatus() {}
