#include "devices/usb/usb_device.h"

#include <cstring>
#include <utility>

#include "app/printpath/printpath_names.h"
#include "app/trace.h"
#include "devices/printpath/print_path_objects.h"

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

} // namespace

CUsbDevice::CClocker::CClocker(const std::string& strPort, HANDLE hStopEvent, bool bPollingThread) {
    const std::string strName = printpath::UsbStatusMutexName(strPort);
    CUniqueHandle hMutex(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, strName.c_str()));
    if (!hMutex) {
        // Without the mutex the request goes on unserialised.
        const DWORD dwError = GetLastError();
        if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_INVALID_NAME)
            DebugTrace("CUsbDevice::CClocker::CClocker() : OpenMutex(%s) returns NULL. GetLastError() = %d\n",
                       strName.c_str(), static_cast<int>(dwError));
        return;
    }
    Acquire(std::move(hMutex), hStopEvent, bPollingThread, "CUsbDevice::CClocker::CClocker()", strName);
}

CUsbDevice::CUsbDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszDevicePath)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszDevicePath, FALSE) {
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
    m_hDevice.Reset(CreateFileA(m_strLink.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_READONLY, nullptr));
    if (!m_hDevice) {
        const DWORD dwError = GetLastError();
        DebugTrace("CUsbDevoce::Start() : CreateFile(%s) failed. GetLastError() = %d\n", m_strLink.c_str(),
                   static_cast<int>(dwError));
        if (dwError != 0)
            return dwError;
    }

    CDeviceStatus status;
    DWORD dwError = ReadStatus(&status);
    if (dwError == 0)
        SetCurrentStatus(status);
    else
        DebugTrace("CUsbDevice::Start() : ReadStatus() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
    // The print path holding the printer is no failure of the printer: the
    // polling thread reads the status once the print path lets it.
    if (dwError == 0 || dwError == ERROR_BUSY) {
        dwError = m_Poller.Launch(kPollPeriodMs, kPollPeriodMs, this, "CUsbDevice::Start()");
        if (dwError == 0)
            return 0;
    }
    Stop();
    return dwError;
}

void CUsbDevice::Stop() {
    // A poll waiting for a mutex the print path never releases gives up.
    m_Poller.Stop();
    m_hDevice.Reset();
}

void CUsbDevice::SignalStop() {
    m_Poller.SignalStop();
}

template <typename TRequest> DWORD CUsbDevice::InFrame(TRequest pfnRequest) {
    const CClocker clocker(m_strPort, m_Poller.GetStopEvent(), m_Poller.IsPollingThread());
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
    if (!DeviceIoControl(m_hDevice.Get(), dwCode, abInput, sizeof(abInput), pbOutput, cbOutput, &dwReturned,
                         nullptr))
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

// The console event needs no mutex: the print path acts on it when it is
// ready. Only the printer's own request waits for the mutex.
DWORD CUsbDevice::PassOn(DWORD (CUsbDevice::*pfnOpenEvent)(), void (CUsbDevice::*pfnCloseEvent)(),
                         const CUniqueHandle& hEvent, BYTE bRequest, const char* pszOperation) {
    if ((this->*pfnOpenEvent)() == 0) {
        SetEvent(hEvent.Get());
        (this->*pfnCloseEvent)();
        return 0;
    }
    return InFrame([&] {
        const DWORD dwError = SetCommand(bRequest);
        if (dwError != 0)
            DebugTrace("CUsbDevice::%s() : DeviceIoControl() failed. GetLastError() = %d\n", pszOperation,
                       static_cast<int>(dwError));
        return dwError;
    });
}

DWORD CUsbDevice::OnCancel() {
    return PassOn(&CUsbDevice::OpenCancelEvent, &CUsbDevice::CloseCancelEvent, m_hCancelEvent, kRequestCancel,
                  "OnCancel");
}

DWORD CUsbDevice::OnResume() {
    return PassOn(&CUsbDevice::OpenResumeEvent, &CUsbDevice::CloseResumeEvent, m_hResumeEvent, kRequestResume,
                  "OnResume");
}

DWORD CUsbDevice::OpenCancelEvent() {
    return printpath::OpenConsoleEvent("CUsbDevice::OpenCancelEvent()",
                                       printpath::CancelEventName(m_strPort, printpath::UsesGlobalNames()),
                                       m_hCancelEvent);
}

void CUsbDevice::CloseCancelEvent() {
    m_hCancelEvent.Reset();
}

DWORD CUsbDevice::OpenResumeEvent() {
    return printpath::OpenConsoleEvent("CUsbDevice::OpenResumeEvent()",
                                       printpath::ResumeEventName(m_strPort, printpath::UsesGlobalNames()),
                                       m_hResumeEvent);
}

void CUsbDevice::CloseResumeEvent() {
    m_hResumeEvent.Reset();
}

void CUsbDevice::PollStatus() {
    PollStatusBlock();
}
