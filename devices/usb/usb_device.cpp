#include "devices/usb/usb_device.h"

#include <cstring>

#include "app/printpath/printpath_names.h"
#include "app/trace.h"
#include "app/winver.h"

namespace {

// The USB printing class driver's vendor request controls, as its own header
// names them (that header is not part of the plain SDK, so they are given here).
constexpr DWORD IOCTL_USBPRINT_VENDOR_GET_COMMAND = 0x0022003C;
constexpr DWORD IOCTL_USBPRINT_VENDOR_SET_COMMAND = 0x00220038;

constexpr BYTE kRequestStatus = 0x14;
constexpr BYTE kRequestCancel = 0x15;
constexpr BYTE kRequestResume = 0x1D;
constexpr BYTE kRequestLogCount = 0x1E;
constexpr BYTE kRequestLog = 0x1F;
constexpr BYTE kRequestInfo = 0x20;

constexpr DWORD kPollPeriodMs = 250;

bool GlobalNames() {
    return IsWin2000OrLater() != FALSE;
}

DWORD OpenConsoleEvent(const char* pszCaller, const std::string& strName, CUniqueHandle& hEvent) {
    hEvent.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, strName.c_str()));
    if (hEvent)
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CUsbDevice::%s() : OpenEvent(%s) failed. GetLastError() = %d\n", pszCaller, strName.c_str(),
               static_cast<int>(dwError));
    return dwError;
}

} // namespace

CUsbDevice::CClocker::CClocker(const std::string& strPort, HANDLE hStopEvent, DWORD dwTimeOut) {
    const std::string strName = printpath::UsbStatusMutexName(strPort);
    m_hMutex.Reset(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, strName.c_str()));
    if (!m_hMutex) {
        const DWORD dwError = GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_INVALID_NAME)
            DebugTrace("CUsbDevice::CClocker::CClocker() : OpenMutex(%s) returns NULL. GetLastError() = %d\n",
                       strName.c_str(), static_cast<int>(dwError));
        return;
    }
    // A holder that died leaves the mutex abandoned; it is ours all the same.
    const HANDLE handles[] = {m_hMutex.Get(), hStopEvent};
    const DWORD dwWait = WaitForMultipleObjects(hStopEvent ? 2 : 1, handles, FALSE, dwTimeOut);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED_0)
        return;
    m_dwError = dwWait == WAIT_TIMEOUT ? ERROR_TIMEOUT : ERROR_OPERATION_ABORTED;
    if (dwWait == WAIT_FAILED)
        m_dwError = GetLastError();
    DebugTrace("CUsbDevice::CClocker::CClocker() : WaitForMultipleObjects(%s) returns %d. Request not sent\n",
               strName.c_str(), static_cast<int>(dwWait));
    m_hMutex.Reset();
}

CUsbDevice::CClocker::~CClocker() {
    if (m_hMutex)
        ReleaseMutex(m_hMutex.Get());
}

CUsbDevice::CUsbDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszDevicePath)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszDevicePath, FALSE),
      m_hStopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (!m_hStopEvent)
        DebugTrace("CUsbDevice::CUsbDevice() : CreateEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    CDeviceStatus status;
    FillDefaultStatus(&status);
    SetCurrentStatus(status);
    if (pszDevicePath) {
        const DWORD dwError = Start();
        if (dwError != 0)
            DebugTrace("CUsbDevice::CUsbDevice() : Start() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
    }
}

CUsbDevice::~CUsbDevice() {
    Stop();
}

void CUsbDevice::OnConnected(const char* pszLink) {
    CDevice::OnConnected(pszLink);
    const DWORD dwError = Start();
    if (dwError != 0)
        DebugTrace("CUsbDevice::CUsbDevice() : Start() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
    Notify(IsPrinting(nullptr) ? StatusNotification::PrintingStarted : StatusNotification::PrintingEnded);
}

void CUsbDevice::OnDisconnected() {
    Stop();
    CDevice::OnDisconnected();
}

void CUsbDevice::FillDefaultStatus(CDeviceStatus* pStatus) {
    std::uint8_t abRecord[CDeviceStatus::kSize] = {'N', 'Y', 'R', 'A', 0x7A, 0x0E, 0x2A, 0x00};
    std::memcpy(abRecord + 8, "000000000000000", 16);
    std::memcpy(abRecord + 24, "1.00", 4);
    abRecord[28] = 0x20;
    abRecord[32] = 1;
    pStatus->Assign(abRecord);
}

DWORD CUsbDevice::Start() {
    // Each request must have completed when DeviceIoControl returns, so the
    // handle is opened for synchronous I/O: without FILE_FLAG_OVERLAPPED.
    const HANDLE hDevice = CreateFileA(m_strLink.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_READONLY, nullptr);
    if (hDevice == INVALID_HANDLE_VALUE) {
        const DWORD dwError = GetLastError();
        DebugTrace("CUsbDevoce::Start() : CreateFile(%s) failed. GetLastError() = %d\n", m_strLink.c_str(),
                   static_cast<int>(dwError));
        if (dwError != 0)
            return dwError;
    } else {
        m_hDevice.Reset(hDevice);
    }
    if (m_hStopEvent)
        ResetEvent(m_hStopEvent.Get());

    CDeviceStatus status;
    DWORD dwError = ReadStatus(&status);
    if (dwError != 0) {
        DebugTrace("CUsbDevice::Start() : ReadStatus() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
    } else {
        SetCurrentStatus(status);
        dwError = CStatusThread::Launch(kPollPeriodMs, this, "CUsbDevice::Start()", m_pStatusThread);
        if (dwError == 0) {
            m_dwPollingThreadId = m_pStatusThread->GetThreadId();
            return 0;
        }
    }
    Stop();
    return dwError;
}

void CUsbDevice::Stop() {
    if (m_pStatusThread) {
        // A poll waiting for a mutex the print path never releases gives up.
        if (m_hStopEvent)
            SetEvent(m_hStopEvent.Get());
        m_pStatusThread->SignalClose();
        m_pStatusThread->WaitForEnd();
        m_pStatusThread.reset();
        m_dwPollingThreadId = 0;
    }
    m_hDevice.Reset();
}

template <typename TRequest> DWORD CUsbDevice::InFrame(TRequest pfnRequest) {
    const bool bPolling = GetCurrentThreadId() == m_dwPollingThreadId;
    CClocker clocker(m_strPort, m_hStopEvent.Get(), bPolling ? INFINITE : kUserWaitMs);
    if (clocker.GetError() != 0)
        return clocker.GetError();
    Sleep(10);
    return pfnRequest();
}

DWORD CUsbDevice::Control(DWORD dwCode, BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput) {
    // The value travels high byte first.
    BYTE abInput[3] = {bRequest, static_cast<BYTE>(wValue >> 8), static_cast<BYTE>(wValue & 0xFF)};
    if (pbOutput)
        std::memset(pbOutput, 0, cbOutput);
    DWORD dwReturned = 0;
    const HANDLE hDevice = m_hDevice ? m_hDevice.Get() : INVALID_HANDLE_VALUE;
    if (!DeviceIoControl(hDevice, dwCode, abInput, sizeof(abInput), pbOutput, cbOutput, &dwReturned, nullptr))
        return GetLastError();
    return 0;
}

DWORD CUsbDevice::GetCommand(BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput) {
    return Control(IOCTL_USBPRINT_VENDOR_GET_COMMAND, bRequest, wValue, pbOutput, cbOutput);
}

DWORD CUsbDevice::SetCommand(BYTE bRequest) {
    return Control(IOCTL_USBPRINT_VENDOR_SET_COMMAND, bRequest, 0, nullptr, 0);
}

DWORD CUsbDevice::ReadStatus(CDeviceStatus* pStatus) {
    return InFrame([&] {
        // A short answer leaves the rest of the record zero.
        BYTE abRecord[CDeviceStatus::kSize];
        const DWORD dwError = GetCommand(kRequestStatus, 0, abRecord, sizeof(abRecord));
        if (dwError != 0) {
            DebugTrace("CUsbDevice::ReadStatus() : DeviceIoControl() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return dwError;
        }
        pStatus->Assign(abRecord);
        return DWORD{0};
    });
}

DWORD CUsbDevice::ReadInfo(DEVICE_INFO* pInfo) {
    return InFrame([&] {
        BYTE abInfo[DEVICE_INFO::kSize];
        const DWORD dwError = GetCommand(kRequestInfo, 0, abInfo, sizeof(abInfo));
        if (dwError != 0) {
            DebugTrace("CUsbDevice::ReadInfo() : DeviceIoControl() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return dwError;
        }
        std::memcpy(pInfo->abData, abInfo, sizeof(abInfo));
        return DWORD{0};
    });
}

DWORD CUsbDevice::GetNumberOfLogs(WORD* pwCount) {
    return InFrame([&] {
        BYTE abCount[4];
        const DWORD dwError = GetCommand(kRequestLogCount, 0, abCount, sizeof(abCount));
        if (dwError != 0) {
            DebugTrace("CUsbDevice::GetNumberOfLogs() : DeviceIoControl() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return dwError;
        }
        *pwCount = static_cast<WORD>(abCount[0] | (abCount[1] << 8));
        return DWORD{0};
    });
}

DWORD CUsbDevice::GetLogs(WORD wIndex, DEVICE_LOG* pLog) {
    return InFrame([&] {
        BYTE abLog[DEVICE_LOG::kSize];
        const DWORD dwError = GetCommand(kRequestLog, wIndex, abLog, sizeof(abLog));
        if (dwError != 0) {
            DebugTrace("CUsbDevice::GetLogs() : DeviceIoControl() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return dwError;
        }
        std::memcpy(pLog->abData, abLog, sizeof(abLog));
        return DWORD{0};
    });
}

DWORD CUsbDevice::OnCancel() {
    return InFrame([&] {
        // The print path acts on its console event; only without it does the
        // printer itself hear of the Cancel.
        if (OpenCancelEvent() == 0) {
            SetEvent(m_hCancelEvent.Get());
            CloseCancelEvent();
            return DWORD{0};
        }
        const DWORD dwError = SetCommand(kRequestCancel);
        if (dwError != 0)
            DebugTrace("CUsbDevice::OnCancel() : DeviceIoControl() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
        return dwError;
    });
}

DWORD CUsbDevice::OnResume() {
    return InFrame([&] {
        if (OpenResumeEvent() == 0) {
            SetEvent(m_hResumeEvent.Get());
            CloseResumeEvent();
            return DWORD{0};
        }
        const DWORD dwError = SetCommand(kRequestResume);
        if (dwError != 0)
            DebugTrace("CUsbDevice::OnResume() : DeviceIoControl() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
        return dwError;
    });
}

DWORD CUsbDevice::OpenCancelEvent() {
    return OpenConsoleEvent("OpenCancelEvent", printpath::CancelEventName(m_strPort, GlobalNames()),
                            m_hCancelEvent);
}

void CUsbDevice::CloseCancelEvent() {
    m_hCancelEvent.Reset();
}

DWORD CUsbDevice::OpenResumeEvent() {
    return OpenConsoleEvent("OpenResumeEvent", printpath::ResumeEventName(m_strPort, GlobalNames()),
                            m_hResumeEvent);
}

void CUsbDevice::CloseResumeEvent() {
    m_hResumeEvent.Reset();
}

void CUsbDevice::PollStatus() {
    PollStatusBlock();
}
