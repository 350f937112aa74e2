#include "devices/lan/lan_device.h"

#include <cstring>
#include <new>
#include <vector>

#include <winspool.h>

#include "app/format.h"
#include "app/registry.h"
#include "app/trace.h"
#include "app/winver.h"
#include "devices/lan/lan_thread.h"
#include "app/printpath/port_config.h"
#include "app/printpath/printpath_names.h"
#include "devices/printpath/status_block.h"
#include "monitor/status_change.h"

namespace {

bool GlobalNames() {
    return IsWin2000OrLater() != FALSE;
}

} // namespace

CLanDevice::CClocker::CClocker(const std::string& strPort) {
    m_hMutex.Reset(
        OpenMutexA(MUTEX_ALL_ACCESS, FALSE, printpath::StatusMutexName(strPort, GlobalNames()).c_str()));
    if (!m_hMutex) {
        DebugTrace("CLanDevice::CClocker::CClocker() : OpenMutex() returns NULL. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    // A holder that died leaves the mutex abandoned; it is ours all the same.
    WaitForSingleObject(m_hMutex.Get(), INFINITE);
}

CLanDevice::CClocker::~CClocker() {
    if (m_hMutex)
        ReleaseMutex(m_hMutex.Get());
}

CLanDevice::CLanDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                       const char* pszLink)
    : CStatusDevice(pDeviceControl, pszPrinterName, pszPort, pszLink, FALSE) {
    if (pszLink) {
        const DWORD dwError = Start();
        if (dwError != 0)
            DebugTrace("CLanDevice::CLanDevice() : Start() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
    }
}

CLanDevice::~CLanDevice() {
    Stop();
}

void CLanDevice::OnConnected(const char* pszLink) {
    CDevice::OnConnected(pszLink);
    const DWORD dwError = Start();
    if (dwError != 0)
        DebugTrace("CLanDevice::CLanDevice() : Start() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
}

void CLanDevice::OnDisconnected() {
    Stop();
    CDevice::OnDisconnected();
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

DWORD CLanDevice::Start() {
    CDeviceStatus status;
    const DWORD dwRead = ReadStatus(&status);
    if (dwRead != 0) {
        DebugTrace("CLanStatusThread::Start() : ReadStatus() failed. GetLastError() = %d\n",
                   static_cast<int>(dwRead));
        status = StartupRecord();
    }
    SetCurrentStatus(status);

    Stop();
    return CStatusThread::Launch(1000, this, "CLanStatusThread::Start()", m_pStatusThread);
}

void CLanDevice::Stop() {
    if (!m_pStatusThread)
        return;
    m_pStatusThread->SignalClose();
    m_pStatusThread->WaitForEnd();
    m_pStatusThread.reset();
}

DWORD CLanDevice::OpenMutexOnPort(CUniqueHandle& hMutex) const {
    hMutex.Reset(
        OpenMutexA(MUTEX_ALL_ACCESS, FALSE, printpath::StatusMutexName(m_strPort, GlobalNames()).c_str()));
    if (hMutex)
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CLanDevice::OpenMutexOnPort : OpenMutex() returns NULL. GetLastError() = %d\n",
               static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::OpenSharedMemory(CUniqueHandle& hMapping, CUniqueView& view) const {
    hMapping.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE,
                                    printpath::StatusMappingName(m_strPort, GlobalNames()).c_str()));
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
    if (OpenMutexOnPort(hMutex) != 0) {
        const DWORD dwError = ReadStatus9100(pStatus);
        if (dwError != 0)
            DebugTrace("CLanDevice::ReadStatus() : ReadStatus9100() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
        return dwError;
    }
    CUniqueHandle hMapping;
    CUniqueView view;
    const DWORD dwError = OpenSharedMemory(hMapping, view);
    if (dwError != 0) {
        DebugTrace("CLanDevice::ReadStatus() : OpenSharedMemory() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    std::uint8_t abRecord[CDeviceStatus::kSize];
    printpath::ReadStatusBlock(view.Get(), abRecord);
    pStatus->Assign(abRecord);
    return 0;
}

DWORD CLanDevice::ReadFromDevice(CLanThread* pThread) {
    CUniqueHandle hThread(
        CreateThread(nullptr, 0, CLanThread::ThreadEntry, pThread, CREATE_SUSPENDED, nullptr));
    if (!hThread) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::ReadFromDevice() : CreateThread() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    if (ResumeThread(hThread.Get()) == static_cast<DWORD>(-1)) {
        // It never ran a line of its own: ending it leaves nothing behind, and
        // the exchange object is free again at once.
        const DWORD dwError = GetLastError();
        DebugTrace("CLanDevice::ReadFromDevice() : ResumeThread() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        TerminateThread(hThread.Get(), dwError);
        return dwError;
    }
    // Keep the caller's window messages flowing while the exchange runs, so a
    // user-interface thread never freezes for the length of a time-out.
    bool bQuit = false;
    DWORD dwWait = WAIT_TIMEOUT;
    while (!bQuit && (dwWait = WaitForSingleObject(hThread.Get(), 100)) == WAIT_TIMEOUT) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            bQuit = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The exchange object must outlive its thread; only a loop that a quit or
    // a failed wait ended has not seen that end yet.
    if (dwWait != WAIT_OBJECT_0)
        WaitForSingleObject(hThread.Get(), INFINITE);
    const DWORD dwError = pThread->GetLastThreadError();
    if (dwError != 0)
        DebugTrace("CLanDevice::ReadFromDevice() : GetLastThreadError() returns %d\n",
                   static_cast<int>(dwError));
    return dwError;
}

template <typename TThread>
DWORD CLanDevice::RunExchange(std::unique_ptr<TThread>& pThread, const char* pszCaller) {
    try {
        pThread.reset(new TThread(this));
    } catch (const std::bad_alloc&) {
        DebugTrace("CLanDevice::%s() : Unable to allocate pThread\n", pszCaller);
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const CLanThread::CExcep& e) {
        DebugTrace("CLanDevice::%s() : Unable to construct pThread. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(e.GetError()));
        return e.GetError();
    }
    const DWORD dwError = ReadFromDevice(pThread.get());
    if (dwError != 0)
        DebugTrace("CLanDevice::%s() : ReadFromDevice() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::ReadStatus9100(CDeviceStatus* pStatus) {
    const CClocker clocker(m_strPort);
    std::unique_ptr<CLanStatusThread> pThread;
    DWORD dwError = RunExchange(pThread, "ReadStatus9100");
    if (dwError != 0)
        return dwError;
    std::uint8_t abRecord[CDeviceStatus::kSize] = {};
    dwError = pThread->CopyData(abRecord);
    if (dwError != 0) {
        DebugTrace("CLanDevice::ReadStatus9100() : CopyData() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    pStatus->Assign(abRecord);
    return 0;
}

DWORD CLanDevice::ReadInfo(DEVICE_INFO* pInfo) {
    const CClocker clocker(m_strPort);
    std::unique_ptr<CLanInfoThread> pThread;
    DWORD dwError = RunExchange(pThread, "ReadInfo");
    if (dwError != 0)
        return dwError;
    std::uint8_t abRecord[DEVICE_INFO::kSize] = {};
    dwError = pThread->CopyData(abRecord);
    if (dwError != 0) {
        DebugTrace("CLanDevice::ReadInfo() : CopyData() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    std::memcpy(pInfo->abData, abRecord, DEVICE_INFO::kSize);
    return 0;
}

DWORD CLanDevice::GetNumberOfLogs(WORD*) {
    return ERROR_NOT_SUPPORTED;
}
DWORD CLanDevice::GetLogs(WORD, DEVICE_LOG*) {
    return ERROR_NOT_SUPPORTED;
}

DWORD CLanDevice::OpenConsoleEvent(const char* pszOperation, const std::string& strName,
                                   CUniqueHandle& hEvent) {
    hEvent.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, strName.c_str()));
    if (hEvent)
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("CLanDevice::%s() : OpenEvent(%s) failed. GetLastError() = %d\n", pszOperation,
               strName.c_str(), static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::OpenCancelEvent(CUniqueHandle& hEvent) const {
    return OpenConsoleEvent("OpenCancelEvent", printpath::CancelEventName(m_strPort, GlobalNames()), hEvent);
}

DWORD CLanDevice::OpenResumeEvent(CUniqueHandle& hEvent) const {
    return OpenConsoleEvent("OpenResumeEvent", printpath::ResumeEventName(m_strPort, GlobalNames()), hEvent);
}

// The print path cancels or resumes the job when it listens on the port's
// console event; otherwise the printer is asked itself.
DWORD CLanDevice::PassOn(DWORD (CLanDevice::*pfnOpenEvent)(CUniqueHandle&) const,
                         DWORD (CLanDevice::*pfnByPjl)(), const char* pszOperation) {
    CUniqueHandle hEvent;
    if ((this->*pfnOpenEvent)(hEvent) == 0) {
        SetEvent(hEvent.Get());
        return 0;
    }
    const DWORD dwError = (this->*pfnByPjl)();
    if (dwError != 0)
        DebugTrace("CLanDevice::%s() : %s9100() failed. GetLastError() = %d\n", pszOperation, pszOperation,
                   static_cast<int>(dwError));
    return dwError;
}

DWORD CLanDevice::OnCancel() {
    return PassOn(&CLanDevice::OpenCancelEvent, &CLanDevice::OnCancel9100, "OnCancel");
}
DWORD CLanDevice::OnResume() {
    return PassOn(&CLanDevice::OpenResumeEvent, &CLanDevice::OnResume9100, "OnResume");
}

template <typename TThread> DWORD CLanDevice::RequestReplyCode(const char* pszCaller) {
    const CClocker clocker(m_strPort);
    std::unique_ptr<TThread> pThread;
    DWORD dwError = RunExchange(pThread, pszCaller);
    if (dwError != 0)
        return dwError;
    DWORD dwReplyCode = 0;
    dwError = pThread->CopyData(&dwReplyCode);
    if (dwError != 0) {
        DebugTrace("CLanDevice::%s() : CopyData() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(dwError));
        return dwError;
    }
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
    const CDeviceStatus old = GetCurrentStatus();
    CDeviceStatus fresh;
    const bool bRead = ReadStatus(&fresh) == 0;
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
