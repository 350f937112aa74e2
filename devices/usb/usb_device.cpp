#include "devices/usb/usb_device.h"

#include <cstring>
#include <utility>

#include "app/printpath/printpath_names.h"
#include "app/trace.h"
#include "app/printpath/print_path_objects.h"
#include "app/printpath/status_mutex_lock.h"

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

// Four times a second, the first a period after the start's own read.
constexpr CPollingDevice::CPolling kPolling = {250, 250, "CUsbDevice::CUsbDevice()", "CUsbDevice::Start()"};

// Holds the port's status mutex for the length of one request when the
// print path has created it, so requests never overlap the print path's
// own use of the printer. Only a request that got the go-ahead is sent.
class CClocker : public CStatusMutexLock {
public:
    CClocker(const std::string& strPort, HANDLE hStopEvent, bool bPollingThread);
};

} // namespace

CClocker::CClocker(const std::string& strPort, HANDLE hStopEvent, bool bPollingThread) {
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
    : CPollingDevice(pDeviceControl, pszPrinterName, pszPort, pszDevicePath, FALSE, kPolling, m_Poller) {
    CDeviceStatus status;
    FillDefaultStatus(&status);
    SetCurrentStatus(status);
    StartIfConnected();
}

void CUsbDevice::OnConnected(const char* pszLink) {
    CPollingDevice::OnConnected(pszLink);
    Notify(IsPrinting(nullptr) ? StatusNotification::PrintingStarted : StatusNotification::PrintingEnded);
}

void CUsbDevice::FillDefaultStatus(CDeviceStatus* pStatus) {
    std::uint8_t abRecord[CDeviceStatus::kSize] = {'N', 'Y', 'R', 'A', 0x7A, 0x0E, 0x2A, 0x00};
    std::memcpy(abRecord + 8, "000000000000000", 16);
    std::memcpy(abRecord + 24, "1.00", 4);
    abRecord[28] = 0x20;
    abRecord[32] = 1;
    pStatus->Assign(abRecord);
}

DWORD CUsbDevice::OnStart() {
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
    return dwError == ERROR_BUSY ? 0 : dwError;
}

void CUsbDevice::OnStop() {
    m_hDevice.Reset();
}

DWORD CUsbDevice::Control(DWORD dwCode, BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput,
                          const char* pszCaller) {
    const CClocker clocker(m_strPort, GetStopEvent(), IsPollingThread());
    if (clocker.GetError() != 0)
        return clocker.GetError();
    Sleep(10);
    // The value travels high byte first.
    BYTE abInput[3] = {bRequest, static_cast<BYTE>(wValue >> 8), static_cast<BYTE>(wValue & 0xFF)};
    if (pbOutput)
        std::memset(pbOutput, 0, cbOutput);
    DWORD dwReturned = 0;
    if (DeviceIoControl(m_hDevice.Get(), dwCode, abInput, sizeof(abInput), pbOutput, cbOutput, &dwReturned,
                        nullptr))
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CUsbDevice::%s() : DeviceIoControl() failed. GetLastError() = %d\n", pszCaller,
               static_cast<int>(dwError));
    return dwError;
}

DWORD CUsbDevice::GetCommand(BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput,
                             const char* pszCaller) {
    return Control(IOCTL_USBPRINT_VENDOR_GET_COMMAND, bRequest, wValue, pbOutput, cbOutput, pszCaller);
}

DWORD CUsbDevice::SetCommand(BYTE bRequest, const char* pszCaller) {
    return Control(IOCTL_USBPRINT_VENDOR_SET_COMMAND, bRequest, 0, nullptr, 0, pszCaller);
}

DWORD CUsbDevice::ReadStatus(CDeviceStatus* pStatus) {
    // A short answer leaves the rest of the record zero.
    BYTE abRecord[CDeviceStatus::kSize];
    const DWORD dwError = GetCommand(kRequestStatus, 0, abRecord, sizeof(abRecord), "ReadStatus");
    if (dwError == 0)
        pStatus->Assign(abRecord);
    return dwError;
}

DWORD CUsbDevice::ReadInfo(DEVICE_INFO* pInfo) {
    BYTE abInfo[DEVICE_INFO::kSize];
    const DWORD dwError = GetCommand(kRequestInfo, 0, abInfo, sizeof(abInfo), "ReadInfo");
    if (dwError == 0)
        std::memcpy(pInfo->abData, abInfo, sizeof(abInfo));
    return dwError;
}

DWORD CUsbDevice::GetNumberOfLogs(WORD* pwCount) {
    BYTE abCount[4];
    const DWORD dwError = GetCommand(kRequestLogCount, 0, abCount, sizeof(abCount), "GetNumberOfLogs");
    if (dwError == 0)
        *pwCount = static_cast<WORD>(abCount[0] | (abCount[1] << 8));
    return dwError;
}

DWORD CUsbDevice::GetLogs(WORD wIndex, DEVICE_LOG* pLog) {
    BYTE abLog[DEVICE_LOG::kSize];
    const DWORD dwError = GetCommand(kRequestLog, wIndex, abLog, sizeof(abLog), "GetLogs");
    if (dwError == 0)
        std::memcpy(pLog->abData, abLog, sizeof(abLog));
    return dwError;
}

// The console event needs no mutex: the print path acts on it when it is
// ready. Only the printer's own request waits for the mutex.
DWORD CUsbDevice::PassOn(printpath::ConsoleRequest request, BYTE bRequest, const char* pszOperation) {
    if (printpath::SignalConsoleEvent("CUsbDevice", m_strPort, request) == 0)
        return 0;
    return SetCommand(bRequest, pszOperation);
}

DWORD CUsbDevice::OnCancel() {
    return PassOn(printpath::ConsoleRequest::Cancel, kRequestCancel, "OnCancel");
}

DWORD CUsbDevice::OnResume() {
    return PassOn(printpath::ConsoleRequest::Resume, kRequestResume, "OnResume");
}

void CUsbDevice::PollStatus() {
    PollStatusBlock();
}
