#include "devices/shared/vir_device.h"

#include "app/printpath/printpath_names.h"
#include "app/trace.h"
#include "app/printpath/status_block.h"
#include "devices/usb/usb_device.h"
#include "monitor/console.h"

namespace {

// Four times a second, the first a period after the start's own read.
constexpr CPollingDevice::CPolling kPolling = {250, 250, "CVirDevice::CVirDevice()", "CVirDevice::Start()"};

} // namespace

CVirDevice::CVirDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszDevicePath)
    : CPollingDevice(pDeviceControl, pszPrinterName, pszPort, pszDevicePath, TRUE, kPolling, m_Poller) {
    CDeviceStatus status;
    CUsbDevice::FillDefaultStatus(&status);
    SetCurrentStatus(status);
    StartIfConnected();
}

DWORD CVirDevice::OnStart() {
    {
        const std::lock_guard<std::mutex> lock(m_ViewLock);
        m_strMappingName = printpath::LocalStatusMappingName(m_strPort);
    }
    CDeviceStatus status;
    if (ReadStatus(&status) == 0)
        SetCurrentStatus(status);
    return 0;
}

void CVirDevice::OnStop() {
    const std::lock_guard<std::mutex> lock(m_ViewLock);
    m_strMappingName.clear();
    m_bAbsenceTraced = false;
    m_pView.Reset();
    m_hMapping.Reset();
}

DWORD CVirDevice::OpenMapping() {
    DWORD dwError = 0;
    const char* pszFailed = "OpenFileMapping";
    m_hMapping.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE, m_strMappingName.c_str()));
    if (!m_hMapping) {
        dwError = GetLastError();
    } else {
        m_pView.Reset(MapViewOfFile(m_hMapping.Get(), FILE_MAP_READ, 0, 0, 0));
        if (!m_pView) {
            dwError = GetLastError();
            pszFailed = "MapViewOfFile";
            m_hMapping.Reset();
        }
    }
    if (dwError != 0 && !m_bAbsenceTraced)
        DebugTrace("CNyDevice::CNyDevice() : %s() failed. GetLastError() = %d\n", pszFailed,
                   static_cast<int>(dwError));
    m_bAbsenceTraced = dwError != 0;
    return dwError;
}

DWORD CVirDevice::ReadStatus(CDeviceStatus* pStatus) {
    const std::lock_guard<std::mutex> lock(m_ViewLock);
    // Not connected: no name, and nothing to look for.
    if (!m_pView && (m_strMappingName.empty() || OpenMapping() != 0))
        return ERROR_GEN_FAILURE;
    printpath::ReadStatusBlock(m_pView.Get(), pStatus->Data());
    return 0;
}

DWORD CVirDevice::OnCancel() {
    return ReplyOnConsole(&CConsole::ReplyClose, "CVirDevice::OnCancel()");
}
DWORD CVirDevice::OnResume() {
    return ReplyOnConsole(&CConsole::ReplyResume, "CVirDevice::OnResume()");
}

void CVirDevice::PollStatus() {
    PollStatusBlock();
}
