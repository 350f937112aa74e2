#include "devices/lan/lan_thread.h"

#include <cstring>
#include <new>

#include "app/trace.h"
#include "devices/lan/lan_link.h"
#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_reply.h"

CLanThread::CLanThread(const std::string& strLink, HANDLE hStopEvent, const PjlRequest& request)
    : m_dwConnectTimeOut(request.dwConnectTimeOut), m_dwReceiveTimeOut(request.dwReceiveTimeOut) {
    if (!ParseLink(m_strIpAddress, m_nTcpPort, strLink)) {
        DebugTrace("CLanThread::CLanThread() : ParseLink() returns FALSE\n");
        throw CExcep(ERROR_GEN_FAILURE);
    }
    // The device may be gone before the exchange is over: its own handle.
    HANDLE hStopCopy = nullptr;
    if (hStopEvent && !DuplicateHandle(GetCurrentProcess(), hStopEvent, GetCurrentProcess(), &hStopCopy,
                                       SYNCHRONIZE, FALSE, 0)) {
        const DWORD dwError = GetLastError();
        DebugTrace("CLanThread::CLanThread() : DuplicateHandle() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        throw CExcep(dwError);
    }
    m_hStopEvent.Reset(hStopCopy);
    try {
        m_strPjlCommand = request.pszCommand;
    } catch (const std::bad_alloc&) {
        DebugTrace("CLanThread::CLanThread() : Unable to allocate m_strPjlCommand. Required size = %d\n",
                   static_cast<int>(std::strlen(request.pszCommand) + 1));
        throw CExcep(ERROR_NOT_ENOUGH_MEMORY);
    }
    m_pSocket.reset(new (std::nothrow) CNySocket());
    if (!m_pSocket) {
        DebugTrace("CLanThread::CLanThread() : Unable to allocate m_pSocket\n");
        throw CExcep(ERROR_NOT_ENOUGH_MEMORY);
    }
    struct EventSlot {
        CUniqueHandle& hEvent;
        const char* pszName;
    } const slots[] = {{m_hConnectEvent, "m_hConnectEvent"},
                       {m_hReceiveEvent, "m_hReceiveEvent"},
                       {m_hCloseEvent, "m_hCloseEvent"}};
    for (const EventSlot& slot : slots) {
        slot.hEvent.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (!slot.hEvent) {
            const DWORD dwError = GetLastError();
            DebugTrace("CLanThread::CLanThread() : CreateEvent(%s) returns NULL. GetLastError() = %d\n",
                       slot.pszName, static_cast<int>(dwError));
            throw CExcep(dwError);
        }
    }
}

DWORD WINAPI CLanThread::ThreadEntry(void* pParameter) {
    const std::unique_ptr<std::shared_ptr<CLanThread>> pReference(
        static_cast<std::shared_ptr<CLanThread>*>(pParameter));
    (*pReference)->InitInstance();
    return 0;
}

BOOL CLanThread::InitInstance() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string strEcho = FormatPjlEchoLine(now.wHour, now.wMinute, now.wSecond);

    const BOOL bCreated = m_pSocket->Create();
    if (!bCreated) {
        m_dwError = static_cast<DWORD>(WSAGetLastError());
        DebugTrace("CLanThread::InitInstance() : Create() failed. GetLastError() = %d\n",
                   static_cast<int>(m_dwError));
    }
    if (m_dwError == 0) {
        ResetEvent(m_hConnectEvent.Get());
        ResetEvent(m_hReceiveEvent.Get());
        m_dwError = m_pSocket->Init(m_hConnectEvent.Get(), m_hReceiveEvent.Get(), m_hCloseEvent.Get());
        if (m_dwError != 0)
            DebugTrace("CLanThread::InitInstance() : Init() failed. GetLastError() = %d\n",
                       static_cast<int>(m_dwError));
    }
    if (m_dwError == 0 && !m_pSocket->Connect(m_strIpAddress, m_nTcpPort)) {
        m_dwError = static_cast<DWORD>(WSAGetLastError());
        if (m_dwError == WSAEISCONN) {
            DebugTrace(
                "CLanThread::InitInstance() : Connect(%s:%d) returns WSAEISCONN -> Already Connected\n",
                m_strIpAddress.c_str(), static_cast<int>(m_nTcpPort));
            m_dwError = 0;
        } else if (m_dwError != WSAEWOULDBLOCK) {
            DebugTrace("CLanThread::InitInstance() : Connect(%s:%d) failed. GetLastError() = %d\n",
                       m_strIpAddress.c_str(), static_cast<int>(m_nTcpPort), static_cast<int>(m_dwError));
        }
    }
    if (m_dwError == WSAEWOULDBLOCK)
        m_dwError =
            AwaitNotification(m_hConnectEvent.Get(), m_dwConnectTimeOut, "m_hConnectEvent", "Connect");
    if (m_dwError == 0) {
        const std::string strFrame = BuildPjlFrame(strEcho, m_strPjlCommand);
        const int nSent = m_pSocket->Send(strFrame.data(), static_cast<int>(strFrame.size()));
        if (nSent == SOCKET_ERROR) {
            m_dwError = static_cast<DWORD>(WSAGetLastError());
            DebugTrace("CLanThread::InitInstance() : Send() failed. GetLastError() = %d\n",
                       static_cast<int>(m_dwError));
        } else {
            DebugTrace("CLanThread::InitInstance() : Send() write %d bytes\n", nSent);
        }
    }
    if (m_dwError == 0)
        m_dwError =
            AwaitNotification(m_hReceiveEvent.Get(), m_dwReceiveTimeOut, "m_dwReceiveTimeOut", "Receive");
    if (bCreated)
        m_pSocket->Close();
    if (m_dwError == 0)
        m_dwError = CheckPjlEcho(Reply(), strEcho);
    return FALSE;
}

DWORD CLanThread::AwaitNotification(HANDLE hEvent, DWORD dwTimeOut, const char* pszEvent,
                                    const char* pszOperation) {
    DWORD dwError = WaitForEvent(hEvent, dwTimeOut);
    if (dwError != 0) {
        DebugTrace("CLanThread::InitInstance() : WaitForEvent(%s) failed. GetLastError() = %d\n", pszEvent,
                   static_cast<int>(dwError));
        return dwError;
    }
    dwError = static_cast<DWORD>(m_pSocket->GetLastNotificationError());
    if (dwError != 0)
        DebugTrace("CLanThread::InitInstance() : %s() failed. GetLastError() %d\n", pszOperation,
                   static_cast<int>(dwError));
    return dwError;
}

DWORD CLanThread::WaitForEvent(HANDLE hEvent, DWORD dwTimeOut) {
    const DWORD dwStart = GetTickCount();
    HANDLE handles[3] = {hEvent};
    DWORD nHandles = 1;
    const HANDLE hNetworkEvent = m_pSocket->GetNetworkEvent();
    if (hNetworkEvent)
        handles[nHandles++] = hNetworkEvent;
    const DWORD dwStopped = m_hStopEvent ? WAIT_OBJECT_0 + nHandles : WAIT_FAILED;
    if (m_hStopEvent)
        handles[nHandles++] = m_hStopEvent.Get();
    for (;;) {
        const DWORD dwWait = WaitForMultipleObjects(nHandles, handles, FALSE, 10);
        if (dwWait == WAIT_OBJECT_0)
            return 0;
        if (dwWait == dwStopped)
            return ERROR_OPERATION_ABORTED;
        if (hNetworkEvent && dwWait == WAIT_OBJECT_0 + 1) {
            m_pSocket->DispatchNetworkEvents();
        } else if (dwWait != WAIT_TIMEOUT) {
            DebugTrace("CLanThread::WaitForEvent() : WaitForSingleObject() failed. GetLastError() = %d\n",
                       static_cast<int>(dwWait));
            return dwWait;
        }
        // The time-out is checked on every pass, so a printer that keeps
        // sending without ever finishing its reply cannot hold the exchange.
        if (dwTimeOut != INFINITE && GetTickCount() - dwStart >= dwTimeOut) {
            // What the last dispatch completed still counts.
            if (WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0)
                return 0;
            DebugTrace("CLanThread::WaitForEvent() : TIMEOUT\n");
            return ERROR_TIMEOUT;
        }
    }
}

CLanStatusThread::CLanStatusThread(const std::string& strLink, HANDLE hStopEvent)
    : CLanThread(strLink, hStopEvent, kPjlStatusRequest) {}

DWORD CLanStatusThread::CopyData(std::uint8_t* pbStatus) const {
    return CopyPjlRecord(kPjlStatusRequest, Reply(), pbStatus);
}

CLanInfoThread::CLanInfoThread(const std::string& strLink, HANDLE hStopEvent)
    : CLanThread(strLink, hStopEvent, kPjlInfoRequest) {}

DWORD CLanInfoThread::CopyData(std::uint8_t* pbInfo) const {
    return CopyPjlRecord(kPjlInfoRequest, Reply(), pbInfo);
}

CLanCancelThread::CLanCancelThread(const std::string& strLink, HANDLE hStopEvent)
    : CLanThread(strLink, hStopEvent, kPjlCancelRequest) {}

DWORD CLanCancelThread::CopyData(DWORD* pdwReplyCode) const {
    std::uint32_t dwCode = 0;
    const DWORD dwError = CopyPjlReplyCode(kPjlCancelRequest, Reply(), &dwCode);
    if (dwError == 0)
        *pdwReplyCode = dwCode;
    return dwError;
}

CLanResumeThread::CLanResumeThread(const std::string& strLink, HANDLE hStopEvent)
    : CLanThread(strLink, hStopEvent, kPjlResumeRequest) {}

DWORD CLanResumeThread::CopyData(DWORD* pdwReplyCode) const {
    std::uint32_t dwCode = 0;
    const DWORD dwError = CopyPjlReplyCode(kPjlResumeRequest, Reply(), &dwCode);
    if (dwError == 0)
        *pdwReplyCode = dwCode;
    return dwError;
}
