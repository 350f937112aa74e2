#include "devices/shared/def_device.h"

#include "monitor/console.h"

CDefDevice::CDefDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszLink)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszLink, TRUE) {}

DWORD CDefDevice::ReadStatus(CDeviceStatus* pStatus) {
    *pStatus = GetCurrentStatus();
    return ERROR_SUCCESS;
}

DWORD CDefDevice::OnCancel() {
    return ReplyOnConsole(&CConsole::ReplyClose, "CDefDevice::OnCancel()");
}
DWORD CDefDevice::OnResume() {
    return ReplyOnConsole(&CConsole::ReplyResume, "CDefDevice::OnResume()");
}

// The default device has no status of its own to poll.
void CDefDevice::PollStatus() {}
