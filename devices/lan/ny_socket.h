// The socket of one PJL exchange. It is non-blocking, and its network events
// (connect, receive, close) reach the exchange thread through an event
// object; the thread dispatches them between its wait slices, and each
// handler records its code and signals the exchange's own events.
#pragma once

#include <winsock2.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "devices/lan/reply_buffer.h"
#include "framework/unique_handle.h"

class CNySocket {
public:
    CNySocket() = default;
    ~CNySocket();
    CNySocket(const CNySocket&) = delete;
    CNySocket& operator=(const CNySocket&) = delete;

    // A stream socket on any local port, reporting all six network events.
    // FALSE with the socket error available from WSAGetLastError.
    BOOL Create();
    void Close();
    // Binds the exchange's events and clears the reply buffer; 0, or 8 when
    // the buffer cannot be allocated.
    DWORD Init(HANDLE hConnectEvent, HANDLE hReceiveEvent, HANDLE hCloseEvent);
    // Starts connecting; FALSE with the socket error from WSAGetLastError
    // (10035 while the connection is under way).
    BOOL Connect(const std::string& strAddress, std::uint32_t nPort);
    // Sends all bytes in one call; the count sent, or SOCKET_ERROR.
    int Send(const char* pData, int nLength);

    // Signalled when network events are waiting to be dispatched.
    HANDLE GetNetworkEvent() const { return m_hNetworkEvent.Get(); }
    // Runs the handlers of the network events that arrived.
    void DispatchNetworkEvents();

    int GetLastNotificationError() const { return m_nLastError; }
    const CReplyBuffer& GetOutput() const { return *m_pOutput; }

    void OnConnect(int nErrorCode);
    void OnReceive(int nErrorCode);
    void OnSend(int nErrorCode);
    void OnClose(int nErrorCode);

private:
    SOCKET m_hSocket = INVALID_SOCKET;
    CUniqueHandle m_hNetworkEvent;
    HANDLE m_hConnectEvent = nullptr;
    HANDLE m_hReceiveEvent = nullptr;
    HANDLE m_hCloseEvent = nullptr;
    int m_nLastError = 0;
    std::unique_ptr<CReplyBuffer> m_pOutput;
};
