#include "devices/shared/vir_device.h"

#include "app/printpath/printpath_names.h"
#include "app/trace.h"
#include "devices/printpath/status_block.h"
#include "devices/usb/usb_device.h"
#include "monitor/console.h"

namespace {

constexpr DWORD kPollPeriodMs = 250;

} // namespace

CVirDevice::CVirDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszDevicePath)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszDevicePath, TRUE) {
    CDeviceStatus status;
    CUsbDevice::FillDefaultStatus(&status);
    SetCurrentStatus(status);
    if (pszDevicePath) {
        const DWORD dwError = Start();
        if (dwError != 0)
            DebugTrace("CVirDevice::CVirDevice() : Start() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
    }
}

CVirDevice::~CVirDevice() {
    Stop();
}

void CVirDevice::OnConnected(const char* pszLink) {
    CDevice::OnConnected(pszLink);
    const DWORD dwError = Start();
    if (dwError != 0)
        DebugTrace("CVirDevice::CVirDevice() : Start() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
}

void CVirDevice::OnDisconnected() {
    Stop();
    CDevice::OnDisconnected();
}

DWORD CVirDevice::Start() {
    {
        const std::lock_guard<std::mutex> lock(m_ViewLock);
        m_strMappingName = printpath::LocalStatusMappingName(m_strPort);
    }
    CDeviceStatus status;
    if (ReadStatus(&status) == 0)
        SetCurrentStatus(status);
    return m_Poller.Launch(kPollPeriodMs, kPollPeriodMs, this, "CVirDevice::Start()");
}

void CVirDevice::Stop() {
    m_Poller.Stop();
    const std::lock_guard<std::mutex> lock(m_ViewLock);
    m_strMappingName.clear();
    m_bAbsenceTraced = false;
    m_pView.Reset();
    m_hMapping.Reset();
}

void CVirDevice::SignalStop() {
    m_Poller.SignalStop();
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

DWORD CVirDevice::ReadInfo(DEVICE_INFO*) {
    return ERROR_NOT_SUPPORTED;
}

DWORD CVirDevice::GetNumberOfLogs(WORD*) {
    return ERROR_NOT_SUPPORTED;
}

DWORD CVirDevice::GetLogs(WORD, DEVICE_LOG*) {
    return ERROR_NOT_SUPPORTED;
}

DWORD CVirDevice::OnCancel() {
    if (!m_pConsole) {
        DebugTrace("CVirDevice::OnCancel() : m_pConsole is NULL\n");
        return ERROR_INVALID_STATE;
    }
    return m_pConsole->ReplyClose();
}

DWORD CVirDevice::OnResume() {
    if (!m_pConsole) {
        DebugTrace("CVirDevice::OnResume() : m_pConsole is NULL\n");
        return ERROR_INVALID_STATE;
    }
    return m_pConsole->ReplyResume();
}

void CVirDevice::PollStatus() {
    PollStatusBlock();
}
