// One PJL exchange with a network printer, on a short-lived thread of its
// own: connect, send one framed request, read the reply up to its closing
// sequence, close. The requester runs ThreadEntry on a thread it creates,
// waits for its end, reads GetLastThreadError and then the request's CopyData.
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

class CDevice;

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

    // The thread routine: runs the exchange once.
    static DWORD WINAPI ThreadEntry(void* pParameter);

    DWORD GetLastThreadError() const { return m_dwError; }
    // 0 when signalled, 1460 on time-out, or the failing wait's result;
    // network events are dispatched between 10 ms slices.
    DWORD WaitForEvent(HANDLE hEvent, DWORD dwTimeOut);

protected:
    CLanThread(const CDevice* pDevice, const PjlRequest& request);

    // The exchange; FALSE in every case, the outcome is in m_dwError.
    BOOL InitInstance();
    std::string_view Reply() const { return m_pSocket->GetOutput().Text(); }

private:
    const CDevice* m_pDevice;
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
    explicit CLanStatusThread(const CDevice* pDevice);
    DWORD CopyData(std::uint8_t* pbStatus) const;
};

// Information: the 78 bytes of the device information record.
class CLanInfoThread : public CLanThread {
public:
    explicit CLanInfoThread(const CDevice* pDevice);
    DWORD CopyData(std::uint8_t* pbInfo) const;
};

// Cancel the job in progress: the printer's reply code, 0 when it did.
class CLanCancelThread : public CLanThread {
public:
    explicit CLanCancelThread(const CDevice* pDevice);
    DWORD CopyData(DWORD* pdwReplyCode) const;
};

// Resume the job after an error: the printer's reply code, 0 when it did.
class CLanResumeThread : public CLanThread {
public:
    explicit CLanResumeThread(const CDevice* pDevice);
    DWORD CopyData(DWORD* pdwReplyCode) const;
};
