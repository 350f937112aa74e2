#include "devices/lan/lan_device.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include <winspool.h>

#include "app/format.h"
#include "app/registry.h"
#include "app/trace.h"
#include "app/winver.h"
#include "devices/lan/lan_thread.h"
#include "app/printpath/print_path_objects.h"
#include "app/printpath/status_mutex_lock.h"
#include "framework/nested_loop.h"
#include "app/printpath/port_config.h"
#include "app/printpath/printpath_names.h"
#include "app/printpath/status_block.h"
#include "monitor/status_change.h"

namespace {

// The first poll reads the printer at once, then one a second.
constexpr CPollingDevice::CPolling kPolling = {1000, 0, "CLanDevice::CLanDevice()",
                                               "CLanStatusThread::Start()"};

// Holds the port's status mutex for the length of one PJL exchange, when
// the print path has created it; holds nothing otherwise. Only an
// exchange that got the go-ahead takes place.
class CClocker : public CStatusMutexLock {
public:
    CClocker(const std::string& strPort, HANDLE hStopEvent, bool bPollingThread);
};

} // namespace

CClocker::CClocker(const std::string& strPort, HANDLE hStopEvent, bool bPollingThread) {
    const std::string strName = printpath::StatusMutexName(strPort, printpath::UsesGlobalNames());
    CUniqueHandle hMutex(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, strName.c_str()));
    if (!hMutex) {
        // Without the mutex the exchange goes on unserialised.
        DebugTrace("CLanDevice::CClocker::CClocker() : OpenMutex() returns NULL. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    Acquire(std::move(hMutex), hStopEvent, bPollingThread, "CLanDevice::CClocker::CClocker()", strName);
}

CLanDevice::CLanDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszLink)
    : CPollingDevice(pDeviceControl, pszPrinterName, pszPort, pszLink, FALSE, kPolling, m_Poller) {
    StartIfConnected();
}

CDeviceStatus CLanDevice::StartupRecord() {
    CDeviceStatus status;
    status.SetSignature();
    status.SetVendorId(0x0E7A);
    status.SetProductId(0x002A);
    status.SetSerialNumber("000000000000000");
    status.SetFirmwareVersion("1.00 ");
    status.SetDeviceState(kStateBusy);
    return status;
}

CDeviceStatus CLanDevice::NoAnswerRecord() {
    CDeviceStatus status;
    status.SetSignature();
    status.SetDeviceState(kStateReady);
    status.SetStatusCode(0x80001000);
    return status;
}

DWORD CLanDevice::OnStart() {
    SetCurrentStatus(StartupRecord());
    m_bFirstRead = true;
    return 0;
}

DWORD CLanDevice::OpenMutexOnPort(CUniqueHandle& hMutex) const {
    hMutex.Reset(OpenMutexA(MUTEX_ALL_ACCESS, FALSE,
                            printpath::StatusMutexName(m_strPort, printpath::UsesGlobalNames()).c_str()));
    if (hMutex)
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CLanDevice::OpenMutexOnPort : OpenMutex() returns NULL. GetLastError() = %d\n",
               static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::OpenSharedMemory(CUniqueHandle& hMapping, CUniqueView& view) const {
    hMapping.Reset(OpenFileMappingA(
        FILE_MAP_READ, FALSE, printpath::StatusMappingName(m_strPort, printpath::UsesGlobalNames()).c_str()));
    if (!hMapping) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::OpenSharedMemory() : OpenFileMapping() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    view.Reset(MapViewOfFile(hMapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::OpenSharedMemory() : MapViewOfFile() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        hMapping.Reset();
        return dwError;
    }
    return 0;
}

DWORD CLanDevice::ReadStatus(CDeviceStatus* pStatus) {
    CUniqueHandle hMutex;
    if (OpenMutexOnPort(hMutex) == 0) {
        CUniqueHandle hMapping;
        CUniqueView view;
        const DWORD dwError = OpenSharedMemory(hMapping, view);
        if (dwError == 0) {
            std::uint8_t abRecord[CDeviceStatus::kSize];
            printpath::ReadStatusBlock(view.Get(), abRecord);
            pStatus->Assign(abRecord);
            return 0;
        }
        // A print path without its status block still answers for the
        // printer through its mutex: ask the printer once the mutex is free.
        DebugTrace("CLanDevice::ReadStatus() : OpenSharedMemory() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
    }
    const DWORD dwError = ReadStatus9100(pStatus);
    if (dwError != 0)
        DebugTrace("CLanDevice::ReadStatus() : ReadStatus9100() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::ReadFromDevice(const std::shared_ptr<CLanThread>& pThread, bool bPollingThread) {
    // The thread's own reference: whoever lets the exchange go last deletes it.
    std::unique_ptr<std::shared_ptr<CLanThread>> pReference(new (std::nothrow)
                                                                std::shared_ptr<CLanThread>(pThread));
    if (!pReference) {
        DebugTrace("CLanDevice::ReadFromDevice() : Unable to allocate the thread's reference\n");
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    const CUniqueHandle hThread(
        CreateThread(nullptr, 0, CLanThread::ThreadEntry, pReference.get(), 0, nullptr));
    if (!hThread) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::ReadFromDevice() : CreateThread() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    pReference.release();
    const HANDLE handles[] = {hThread.Get(), pThread->GetStopEvent()};
    const DWORD nHandles = handles[1] ? 2 : 1;
    const DWORD dwWait = bPollingThread ? WaitForMultipleObjects(nHandles, handles, FALSE, INFINITE)
                                        : CNestedLoop::Wait(nHandles, handles, INFINITE);
    if (dwWait == WAIT_FAILED) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::ReadFromDevice() : WaitForMultipleObjects() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    // Stopped, or the user-interface thread's loop was ended: the exchange
    // ends on its own thread, whatever it is waiting for.
    if (dwWait != WAIT_OBJECT_0)
        return ERROR_OPERATION_ABORTED;
    const DWORD dwError = pThread->GetLastThreadError();
    if (dwError != 0)
        DebugTrace("CLanDevice::ReadFromDevice() : GetLastThreadError() returns %d\n",
                   static_cast<int>(dwError));
    return dwError;
}

template <typename TThread, typename TData> DWORD CLanDevice::Exchange(const char* pszCaller, TData* pData) {
    const bool bPollingThread = IsPollingThread();
    const CClocker clocker(m_strPort, GetStopEvent(), bPollingThread);
    if (clocker.GetError() != 0)
        return clocker.GetError();
    // A stopping device starts no exchange.
    if (GetStopEvent() && WaitForSingleObject(GetStopEvent(), 0) == WAIT_OBJECT_0)
        return ERROR_OPERATION_ABORTED;
    std::shared_ptr<TThread> pThread;
    try {
        pThread = std::make_shared<TThread>(m_strLink, GetStopEvent());
    } catch (const std::bad_alloc&) {
        DebugTrace("CLanDevice::%s() : Unable to allocate pThread\n", pszCaller);
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const CLanThread::CExcep& e) {
        DebugTrace("CLanDevice::%s() : Unable to construct pThread. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(e.GetError()));
        return e.GetError();
    }
    DWORD dwError = ReadFromDevice(pThread, bPollingThread);
    if (dwError != 0) {
        DebugTrace("CLanDevice::%s() : ReadFromDevice() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(dwError));
        return dwError;
    }
    dwError = pThread->CopyData(pData);
    if (dwError != 0)
        DebugTrace("CLanDevice::%s() : CopyData() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::ReadStatus9100(CDeviceStatus* pStatus) {
    std::uint8_t abRecord[CDeviceStatus::kSize] = {};
    const DWORD dwError = Exchange<CLanStatusThread>("ReadStatus9100", abRecord);
    if (dwError == 0)
        pStatus->Assign(abRecord);
    return dwError;
}

DWORD CLanDevice::ReadInfo(DEVICE_INFO* pInfo) {
    std::uint8_t abRecord[DEVICE_INFO::kSize] = {};
    const DWORD dwError = Exchange<CLanInfoThread>("ReadInfo", abRecord);
    if (dwError == 0)
        std::memcpy(pInfo->abData, abRecord, DEVICE_INFO::kSize);
    return dwError;
}

DWORD CLanDevice::PassOn(printpath::ConsoleRequest request, DWORD (CLanDevice::*pfnByPjl)(),
                         const char* pszOperation) {
    if (printpath::SignalConsoleEvent("CLanDevice", m_strPort, request) == 0)
        return 0;
    const DWORD dwError = (this->*pfnByPjl)();
    if (dwError != 0)
        DebugTrace("CLanDevice::%s() : %s9100() failed. GetLastError() = %d\n", pszOperation, pszOperation,
                   static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::OnCancel() {
    return PassOn(printpath::ConsoleRequest::Cancel, &CLanDevice::OnCancel9100, "OnCancel");
}
DWORD CLanDevice::OnResume() {
    return PassOn(printpath::ConsoleRequest::Resume, &CLanDevice::OnResume9100, "OnResume");
}

template <typename TThread> DWORD CLanDevice::RequestReplyCode(const char* pszCaller) {
    DWORD dwReplyCode = 0;
    const DWORD dwError = Exchange<TThread>(pszCaller, &dwReplyCode);
    if (dwError != 0)
        return dwError;
    if (dwReplyCode != 0) {
        DebugTrace("CLanDevice::%s() : Device returns %d\n", pszCaller, static_cast<int>(dwReplyCode));
        return ERROR_GEN_FAILURE;
    }
    return 0;
}

DWORD CLanDevice::OnCancel9100() {
    return RequestReplyCode<CLanCancelThread>("OnCancel9100");
}
DWORD CLanDevice::OnResume9100() {
    return RequestReplyCode<CLanResumeThread>("OnResume9100");
}

void CLanDevice::PollStatus() {
    CDeviceStatus fresh;
    const DWORD dwRead = ReadStatus(&fresh);
    // The print path is talking to the printer, or the device is stopping:
    // nothing new is known, and the last state stands.
    if (dwRead == ERROR_BUSY || dwRead == ERROR_OPERATION_ABORTED)
        return;
    if (m_bFirstRead.exchange(false)) {
        // The read that completes the start: the start-up record stays when
        // it fails, and the printer's record is shown without being told as
        // a change when it succeeds, as a printer found in error or printing
        // at start opens no window.
        if (dwRead != 0) {
            DebugTrace("CLanStatusThread::Start() : ReadStatus() failed. GetLastError() = %d\n",
                       static_cast<int>(dwRead));
        } else if (fresh != GetCurrentStatus()) {
            SetCurrentStatus(fresh);
            m_pDeviceControl->RefreshDisplay();
        }
        return;
    }
    const CDeviceStatus old = GetCurrentStatus();
    const bool bRead = dwRead == 0;
    if (!bRead)
        fresh = NoAnswerRecord();
    SetCurrentStatus(fresh);
    if (!fresh.IsValid())
        return;
    const StatusChanges changes = ClassifyChange(old, fresh);
    for (std::size_t i = 0; i < changes.nCount; ++i) {
        // A printer that does not answer: only the end of a job is told now;
        // the refresh shows the no-answer record.
        const bool bPrintingItem = changes.aItems[i] == StatusNotification::PrintingStarted ||
                                   changes.aItems[i] == StatusNotification::PrintingEnded;
        if (bRead || bPrintingItem)
            Notify(changes.aItems[i]);
    }
    if (bRead)
        return;
    m_pDeviceControl->RefreshDisplay();
}

void CLanDevice::MakeLink(std::string& strLink, const std::string& strIpAddress, DWORD dwTcpPort) {
    strLink = Format("%s:%d", strIpAddress.c_str(), static_cast<int>(dwTcpPort));
}

DWORD CLanDevice::GetPortInfo2K(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort) {
    return IsWin2000OrLater() ? GetPortInfoNt(strPort, strIpAddress, dwTcpPort)
                              : GetPortInfo9x(strPort, strIpAddress, dwTcpPort);
}

DWORD CLanDevice::GetPortInfoNt(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort) {
    using XcvDataFn = BOOL(WINAPI*)(HANDLE, PCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD, PDWORD);
    const HMODULE hSpooler = LoadLibraryA("WINSPOOL.DRV");
    if (!hSpooler) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::GetPortInfoNt() : LoadLibrary() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    DWORD dwResult = 0;
    const auto pfnXcvData =
        reinterpret_cast<XcvDataFn>(reinterpret_cast<void*>(GetProcAddress(hSpooler, "XcvDataW")));
    std::vector<std::uint8_t> reply(printpath::kConfigInfoSize, 0);
    if (!pfnXcvData) {
        dwResult = GetLastError();
        DebugTrace("CLanDevice::GetPortInfoNt() : GetProcAddress() failed. GetLastError() = %d\n",
                   static_cast<int>(dwResult));
    } else {
        std::string strXcvName = ",XcvPort " + strPort;
        HANDLE hXcv = nullptr;
        if (!OpenPrinterA(&strXcvName[0], &hXcv, nullptr)) {
            dwResult = GetLastError();
            DebugTrace("CLanDevice::GetPortInfoNt() : OpenPrinter(%s) failed. GetLastError() = %d\n",
                       strPort.c_str(), static_cast<int>(dwResult));
        } else {
            DWORD dwNeeded = 0;
            DWORD dwStatus = 0;
            if (!pfnXcvData(hXcv, printpath::kConfigInfoDataName, nullptr, 0, reply.data(),
                            static_cast<DWORD>(reply.size()), &dwNeeded, &dwStatus)) {
                dwResult = GetLastError();
                DebugTrace("CLanDevice::GetPortInfoNt() : MyXcvData() failed. GetLastError() = %d\n",
                           static_cast<int>(dwResult));
            } else if (dwStatus != 0) {
                DebugTrace("CLanDevice::GetPortInfoNt() : MyXcvData() returns %d\n",
                           static_cast<int>(dwStatus));
                dwResult = dwStatus;
            }
            ClosePrinter(hXcv);
        }
    }
    FreeLibrary(hSpooler);
    if (dwResult == 0) {
        const printpath::PortConfig config = printpath::ParseConfigInfo(reply.data());
        strIpAddress = config.strAddress;
        dwTcpPort = config.dwTcpPort;
    }
    return dwResult;
}

DWORD CLanDevice::GetPortInfo9x(const std::string& strPort, std::string& strIpAddress, DWORD& dwTcpPort) {
    LONG lResult =
        CRegistry::GetIpAddresFromPortSettings(printpath::kTcpIpMonitorName, strPort, strIpAddress);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace(
            "CLanDevice::GetPortInfo9x() : GetIpAddresFromPortSettings() failed. GetLastError() = %d\n",
            static_cast<int>(lResult));
        return static_cast<DWORD>(lResult);
    }
    lResult = CRegistry::GetTcpPortFromPortSettings(printpath::kTcpIpMonitorName, strPort, dwTcpPort, 9100);
    if (lResult != ERROR_SUCCESS) {
        DebugTrace("CLanDevice::GetPortInfo9x() : GetTcpPortFromPortSettings() failed. GetLastError() = %d\n",
                   static_cast<int>(lResult));
        return static_cast<DWORD>(lResult);
    }
    return 0;
}
