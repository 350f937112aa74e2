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
    m_strMappingName = printpath::LocalStatusMappingName(m_strPort);
    DWORD dwError = 0;
    m_hMapping.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE, m_strMappingName.c_str()));
    if (!m_hMapping) {
        dwError = GetLastError();
        DebugTrace("CNyDevice::CNyDevice() : OpenFileMapping() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
    } else {
        m_pView.Reset(MapViewOfFile(m_hMapping.Get(), FILE_MAP_READ, 0, 0, 0));
        if (!m_pView) {
            dwError = GetLastError();
            DebugTrace("CNyDevice::CNyDevice() : MapViewOfFile() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
        }
    }
    if (dwError == 0) {
        CDeviceStatus status;
        dwError = ReadStatus(&status);
        if (dwError != 0) {
            DebugTrace("CNyDevice::CNyDevice() : ReadStatus() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
        } else {
            SetCurrentStatus(status);
            dwError = CStatusThread::Launch(kPollPeriodMs, this, "CVirDevice::Start()", m_pStatusThread);
            if (dwError == 0)
                return 0;
        }
    }
    Stop();
    return dwError;
}

void CVirDevice::Stop() {
    if (m_pStatusThread) {
        m_pStatusThread->SignalClose();
        m_pStatusThread->WaitForEnd();
        m_pStatusThread.reset();
    }
    m_pView.Reset();
    m_hMapping.Reset();
}

DWORD CVirDevice::ReadStatus(CDeviceStatus* pStatus) {
    if (!m_pView)
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
    m_pConsole->ReplyClose();
    return 0;
}

DWORD CVirDevice::OnResume() {
    if (!m_pConsole) {
        DebugTrace("CVirDevice::OnResume() : m_pConsole is NULL\n");
        return ERROR_INVALID_STATE;
    }
    m_pConsole->ReplyResume();
    return 0;
}

void CVirDevice::PollStatus() {
    PollStatusBlock();
}
