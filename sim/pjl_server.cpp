#include "sim/pjl_server.h"

#include <algorithm>
#include <string>

CPjlServer::CPjlServer(CPjlPrinter& printer, PjlMisbehaviour misbehaviour, std::uint32_t nDelayMs)
    : m_printer(printer), m_misbehaviour(misbehaviour), m_nDelayMs(nDelayMs) {}

CPjlServer::~CPjlServer() {
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_hListener != INVALID_SOCKET)
        closesocket(m_hListener);
}

DWORD CPjlServer::Start(std::uint32_t nPort) {
    m_hListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_hListener == INVALID_SOCKET)
        return static_cast<DWORD>(WSAGetLastError());
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(nPort));
    if (bind(m_hListener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR)
        return static_cast<DWORD>(WSAGetLastError());
    int nLength = sizeof(address);
    getsockname(m_hListener, reinterpret_cast<sockaddr*>(&address), &nLength);
    m_nPort = ntohs(address.sin_port);
    // A printer that refuses connections keeps its port without listening.
    if (m_misbehaviour == PjlMisbehaviour::Refuse)
        return 0;
    if (listen(m_hListener, SOMAXCONN) == SOCKET_ERROR)
        return static_cast<DWORD>(WSAGetLastError());
    m_thread = std::thread([this] { Serve(); });
    return 0;
}

bool CPjlServer::WaitReadable(SOCKET hSocket, DWORD dwTimeOutMs) {
    const DWORD dwStart = GetTickCount();
    while (!m_bStop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(hSocket, &readable);
        timeval slice = {0, 50 * 1000};
        const int nReady = select(0, &readable, nullptr, nullptr, &slice);
        if (nReady > 0)
            return true;
        if (nReady < 0 || GetTickCount() - dwStart >= dwTimeOutMs)
            return false;
    }
    return false;
}

void CPjlServer::Serve() {
    while (!m_bStop) {
        if (!WaitReadable(m_hListener, INFINITE))
            continue;
        const SOCKET hClient = accept(m_hListener, nullptr, nullptr);
        if (hClient == INVALID_SOCKET)
            continue;
        Answer(hClient);
        closesocket(hClient);
    }
}

void CPjlServer::SendReply(SOCKET hClient, const std::string& strReply) {
    switch (m_misbehaviour) {
    case PjlMisbehaviour::Split:
        for (std::size_t nPos = 0; nPos < strReply.size() && !m_bStop; nPos += 7) {
            send(hClient, strReply.data() + nPos,
                 static_cast<int>(std::min<std::size_t>(7, strReply.size() - nPos)), 0);
            Sleep(20);
        }
        return;
    case PjlMisbehaviour::Dribble:
        // Always something new arriving, never the end of the reply.
        for (std::size_t nPos = 0; nPos < strReply.size() && !m_bStop; ++nPos) {
            if (send(hClient, strReply.data() + nPos, 1, 0) != 1)
                return;
            Sleep(3);
        }
        return;
    case PjlMisbehaviour::CloseEarly:
        send(hClient, strReply.data(), static_cast<int>(strReply.size() / 2), 0);
        return;
    case PjlMisbehaviour::Overflow:
        send(hClient, strReply.data(), static_cast<int>(strReply.size()), 0);
        // Keep the connection open: the reply never ends.
        while (WaitReadable(hClient, 10000)) {
            char buffer[256];
            if (recv(hClient, buffer, sizeof(buffer), 0) <= 0)
                return;
        }
        return;
    default:
        send(hClient, strReply.data(), static_cast<int>(strReply.size()), 0);
        return;
    }
}

void CPjlServer::Answer(SOCKET hClient) {
    std::string strReceived;
    while (!IsPjlFrameComplete(strReceived)) {
        char buffer[512];
        if (!WaitReadable(hClient, 5000))
            return;
        const int nRead = recv(hClient, buffer, sizeof(buffer), 0);
        if (nRead <= 0)
            return;
        strReceived.append(buffer, static_cast<std::size_t>(nRead));
    }
    const PjlRequestFrame request = ParsePjlFrame(strReceived);
    if (m_misbehaviour == PjlMisbehaviour::Silent) {
        // Hold the connection until the agent gives up on it.
        while (WaitReadable(hClient, 10000)) {
            char buffer[256];
            if (recv(hClient, buffer, sizeof(buffer), 0) <= 0)
                return;
        }
        return;
    }
    if (m_misbehaviour == PjlMisbehaviour::Slow)
        Sleep(m_nDelayMs);

    // A printer told to refuse leaves its job alone.
    bool bAccepted = m_misbehaviour != PjlMisbehaviour::RefuseCommand;
    if (bAccepted && request.command == PjlCommand::Cancel)
        bAccepted = m_printer.CancelJob();
    else if (bAccepted && request.command == PjlCommand::Resume)
        bAccepted = m_printer.ResumeJob();
    SendReply(hClient, BuildPjlReply(request, m_printer.CurrentStatus(), bAccepted, m_misbehaviour));
}
