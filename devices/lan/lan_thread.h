// One PJL exchange with a network printer, on a short-lived thread of its
// own: connect, send one framed request, read the reply up to its closing
// sequence, close. The requester runs ThreadEntry on a thread it creates,
// waits for its end, reads GetLastThreadError and then the request's CopyData.
//
// The requester and the thread share the exchange: a requester whose device
// stops lets it go at once, and the thread finishes it on its own, however
// long a name resolution blocks it. So the exchange takes copies of what it
// needs (the link, the device's stop signal) and never touches the device.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "devices/lan/ny_socket.h"
#include "devices/lan/pjl_request.h"
#include "framework/error_exception.h"
#include "framework/unique_handle.h"

class CLanThread {
public:
    // Thrown by the constructor with the error that stopped it.
    class CExcep : public CErrorException {
    public:
        using CErrorException::CErrorException;
    };

    virtual ~CLanThread() = default;
    CLanThread(const CLanThread&) = delete;
    CLanThread& operator=(const CLanThread&) = delete;

    // The thread routine: runs the exchange once. pParameter is a
    // std::shared_ptr<CLanThread> allocated with new, the thread's own
    // reference, which it deletes when the exchange is over.
    static DWORD WINAPI ThreadEntry(void* pParameter);

    DWORD GetLastThreadError() const { return m_dwError; }
    // 0 when signalled, 1460 on time-out, 995 when the device stops, or the
    // failing wait's result; network events are dispatched between 10 ms slices.
    DWORD WaitForEvent(HANDLE hEvent, DWORD dwTimeOut);
    // The exchange's copy of the device's stop signal; null without one.
    HANDLE GetStopEvent() const { return m_hStopEvent.Get(); }

protected:
    // strLink: the printer's "address:port"; hStopEvent: the device's stop
    // signal, or null.
    CLanThread(const std::string& strLink, HANDLE hStopEvent, const PjlRequest& request);

    // The exchange; FALSE in every case, the outcome is in m_dwError.
    BOOL InitInstance();
    // Waits for the socket's notification on hEvent, then takes its error.
    // pszEvent and pszOperation name the wait and the operation in the trace
    // of a failure.
    DWORD AwaitNotification(HANDLE hEvent, DWORD dwTimeOut, const char* pszEvent, const char* pszOperation);
    std::string_view Reply() const { return m_pSocket->GetOutput().Text(); }

private:
    CUniqueHandle m_hStopEvent;
    CUniqueHandle m_hConnectEvent;
    CUniqueHandle m_hReceiveEvent;
    CUniqueHandle m_hCloseEvent;
    std::string m_strIpAddress;
    std::uint32_t m_nTcpPort = 0;
    DWORD m_dwError = 0;
    std::string m_strPjlCommand;
    DWORD m_dwConnectTimeOut;
    DWORD m_dwReceiveTimeOut;
    std::unique_ptr<CNySocket> m_pSocket;
};

// Status: the 44 bytes of a status record.
class CLanStatusThread : public CLanThread {
public:
    CLanStatusThread(const std::string& strLink, HANDLE hStopEvent);
    DWORD CopyData(std::uint8_t* pbStatus) const;
};

// Information: the 78 bytes of the device information record.
class CLanInfoThread : public CLanThread {
public:
    CLanInfoThread(const std::string& strLink, HANDLE hStopEvent);
    DWORD CopyData(std::uint8_t* pbInfo) const;
};

// Cancel the job in progress: the printer's reply code, 0 when it did.
class CLanCancelThread : public CLanThread {
public:
    CLanCancelThread(const std::string& strLink, HANDLE hStopEvent);
    DWORD CopyData(DWORD* pdwReplyCode) const;
};

// Resume the job after an error: the printer's reply code, 0 when it did.
class CLanResumeThread : public CLanThread {
public:
    CLanResumeThread(const std::string& strLink, HANDLE hStopEvent);
    DWORD CopyData(DWORD* pdwReplyCode) const;
};
