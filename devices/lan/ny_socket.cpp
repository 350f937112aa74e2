#include "devices/lan/ny_socket.h"

#include <ws2tcpip.h>

#include <new>

#include "app/trace.h"

namespace {

// The printer closed the connection before its reply was complete.
constexpr int kErrorClosedBeforeReply = 4306;

} // namespace

CNySocket::~CNySocket() {
    Close();
}

BOOL CNySocket::Create() {
    Close();
    m_hNetworkEvent.Reset(WSACreateEvent());
    if (!m_hNetworkEvent)
        return FALSE;
    m_hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_hSocket == INVALID_SOCKET)
        return FALSE;
    // Associating the event also makes the socket non-blocking.
    const long lAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
    if (WSAEventSelect(m_hSocket, m_hNetworkEvent.Get(), lAllEvents) == SOCKET_ERROR) {
        const int nError = WSAGetLastError();
        Close();
        WSASetLastError(nError);
        return FALSE;
    }
    return TRUE;
}

void CNySocket::Close() {
    if (m_hSocket != INVALID_SOCKET)
        closesocket(m_hSocket);
    m_hSocket = INVALID_SOCKET;
}

DWORD CNySocket::Init(HANDLE hConnectEvent, HANDLE hReceiveEvent, HANDLE hCloseEvent) {
    m_hConnectEvent = hConnectEvent;
    m_hReceiveEvent = hReceiveEvent;
    m_hCloseEvent = hCloseEvent;
    WaitForSingleObject(m_hCloseEvent, 0);
    if (!m_pOutput) {
        m_pOutput.reset(new (std::nothrow) CReplyBuffer());
        if (!m_pOutput) {
            DebugTrace("CNySocket::Init() : Unable to allocate m_strOutput. Required size = %d\n",
                       static_cast<int>(CReplyBuffer::kSize));
            return ERROR_NOT_ENOUGH_MEMORY;
        }
    }
    m_pOutput->Clear();
    return 0;
}

BOOL CNySocket::Connect(const std::string& strAddress, std::uint32_t nPort) {
    // A port number that does not fit the address would otherwise be cut to
    // its low 16 bits and reach some other service.
    if (nPort > 0xFFFF) {
        WSASetLastError(WSAEINVAL);
        return FALSE;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    // A dotted address needs no resolver; a host name does.
    if (inet_pton(AF_INET, strAddress.c_str(), &address.sin_addr) != 1) {
        addrinfo hints = {};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* pResult = nullptr;
        const int nResolve = getaddrinfo(strAddress.c_str(), nullptr, &hints, &pResult);
        if (nResolve != 0 || !pResult) {
            WSASetLastError(nResolve ? nResolve : WSAHOST_NOT_FOUND);
            return FALSE;
        }
        address = *reinterpret_cast<const sockaddr_in*>(pResult->ai_addr);
        freeaddrinfo(pResult);
    }
    address.sin_port = htons(static_cast<u_short>(nPort));
    return connect(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != SOCKET_ERROR;
}

int CNySocket::Send(const char* pData, int nLength) {
    return send(m_hSocket, pData, nLength, 0);
}

void CNySocket::DispatchNetworkEvents() {
    WSANETWORKEVENTS events = {};
    if (m_hSocket == INVALID_SOCKET || WSAEnumNetworkEvents(m_hSocket, m_hNetworkEvent.Get(), &events) != 0) {
        // Unread, the events would keep the network event signalled and the
        // waiter spinning; they are lost either way.
        ResetEvent(m_hNetworkEvent.Get());
        return;
    }
    if (events.lNetworkEvents & FD_CONNECT)
        OnConnect(events.iErrorCode[FD_CONNECT_BIT]);
    if (events.lNetworkEvents & FD_WRITE)
        OnSend(events.iErrorCode[FD_WRITE_BIT]);
    // A connection the printer closed is readable: what it sent last, then
    // the end of the stream, come through the receive handler first.
    if (events.lNetworkEvents & (FD_READ | FD_CLOSE))
        OnReceive(events.iErrorCode[(events.lNetworkEvents & FD_READ) ? FD_READ_BIT : FD_CLOSE_BIT]);
    // Once the receive has settled the exchange, its result stands.
    const bool bSettled = m_pOutput && (m_nLastError != 0 || m_pOutput->IsComplete());
    if ((events.lNetworkEvents & FD_CLOSE) && !bSettled)
        OnClose(events.iErrorCode[FD_CLOSE_BIT]);
}

void CNySocket::OnConnect(int nErrorCode) {
    DebugTrace("CNySocket::OnConnect(%d)\n", nErrorCode);
    m_nLastError = nErrorCode;
    SetEvent(m_hConnectEvent);
}

void CNySocket::OnSend(int nErrorCode) {
    DebugTrace("CNySocket::OnSend(%d)\n", nErrorCode);
}

void CNySocket::OnClose(int nErrorCode) {
    DebugTrace("CNySocket::OnClose(%d)\n", nErrorCode);
    m_nLastError = nErrorCode;
    SetEvent(m_hCloseEvent);
}

void CNySocket::OnReceive(int nErrorCode) {
    DebugTrace("CNySocket::OnReceive(nErrorCode = %d)\n", nErrorCode);
    m_nLastError = nErrorCode;
    // A buffer without room already holds a complete reply: a reply that
    // fills it without its closing sequence ended the exchange on the receive
    // that filled it.
    if (m_nLastError == 0 && m_pOutput->Room() > 0) {
        const int nRead = recv(m_hSocket, m_pOutput->Tail(), static_cast<int>(m_pOutput->Room()), 0);
        if (nRead > 0) {
            DebugTrace("CNySocket::OnReceive() : Receive() reads %d bytes (total %d)\n", nRead,
                       static_cast<int>(m_pOutput->Length() + static_cast<std::size_t>(nRead)));
            m_nLastError = static_cast<int>(m_pOutput->Commit(static_cast<std::size_t>(nRead)));
        } else if (nRead == 0) {
            DebugTrace("CNySocket::OnReceive() : Receive() returns 0\n");
            m_nLastError = kErrorClosedBeforeReply;
            DebugTrace("CNySocket::OnReceive() : Receive() failed. GetLastError() = %d\n", m_nLastError);
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            DebugTrace("CNySocket::OnReceive() : Receive() returns WSAEWOULDBLOCK\n");
        } else {
            DebugTrace("CNySocket::OnReceive() : Receive() failed. GetLastError() = %d\n", WSAGetLastError());
        }
    }
    if (m_nLastError != 0 || m_pOutput->IsComplete())
        SetEvent(m_hReceiveEvent);
}
