#include "monitor/status_pipe_server.h"

#include <algorithm>

#include "app/trace.h"
#include "monitor/status_answer.h"

namespace {

constexpr DWORD kOutBufferSize = 64 * 1024;
constexpr DWORD kInBufferSize = 4096;
// How long the stop waits for the cancelled I/O of the closed instances.
constexpr DWORD kDrainMs = 1000;

} // namespace

CStatusPipeServer::CStatusPipeServer(CStatusBoard& board, std::string strPipeName, DWORD dwIdleMs)
    : m_board(board), m_strPipeName(std::move(strPipeName)), m_dwIdleMs(dwIdleMs) {}

CStatusPipeServer::~CStatusPipeServer() {
    Stop();
}

BOOL CStatusPipeServer::Start() {
    if (!m_security.Build())
        return FALSE;
    m_hPort.Reset(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!m_hPort) {
        DebugTrace("CStatusPipeServer::Start() : CreateIoCompletionPort() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    Listen(true);
    if (m_connections.empty()) {
        m_hPort.Reset();
        return FALSE;
    }
    m_board.SetListener(this, [this] {
        if (!m_bBoardPosted.exchange(true))
            PostQueuedCompletionStatus(m_hPort.Get(), 0, kKeyBoard, nullptr);
    });
    m_thread = std::thread([this] { Run(); });
    return TRUE;
}

void CStatusPipeServer::Stop() {
    if (!m_thread.joinable())
        return;
    m_board.SetListener(this, nullptr);
    PostQueuedCompletionStatus(m_hPort.Get(), 0, kKeyStop, nullptr);
    m_thread.join();
}

CUniqueFile CStatusPipeServer::CreateInstance(bool bFirst) {
    const DWORD dwOpenMode =
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (bFirst ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    CUniqueFile pipe(
        CreateNamedPipeA(m_strPipeName.c_str(), dwOpenMode,
                         PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                         kMaxClients, kOutBufferSize, kInBufferSize, 0, m_security.GetAttributes()));
    if (!pipe) {
        // Past the first, an instance fails only when all are taken: one more
        // listens once a client goes.
        if (bFirst || GetLastError() != ERROR_PIPE_BUSY)
            DebugTrace(
                "CStatusPipeServer::CreateInstance() : CreateNamedPipe(\"%s\") failed. GetLastError() = %d\n",
                m_strPipeName.c_str(), static_cast<int>(GetLastError()));
        return CUniqueFile();
    }
    if (!CreateIoCompletionPort(pipe.Get(), m_hPort.Get(), kKeyPipe, 0)) {
        DebugTrace(
            "CStatusPipeServer::CreateInstance() : CreateIoCompletionPort() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
        return CUniqueFile();
    }
    return pipe;
}

void CStatusPipeServer::Listen(bool bFirst) {
    const auto nOpen = std::count_if(m_connections.begin(), m_connections.end(),
                                     [](const auto& pConnection) { return !pConnection->IsClosed(); });
    if (nOpen >= static_cast<std::ptrdiff_t>(kMaxClients))
        return;
    CUniqueFile pipe = CreateInstance(bFirst);
    if (!pipe)
        return;
    m_connections.push_back(std::make_unique<CStatusPipeConnection>(std::move(pipe)));
    CStatusPipeConnection& connection = *m_connections.back();
    bool bConnected = false;
    if (!connection.StartConnect(bConnected)) {
        m_connections.pop_back();
        return;
    }
    if (bConnected)
        OnConnected(connection);
}

void CStatusPipeServer::Run() {
    for (;;) {
        DWORD dwBytes = 0;
        ULONG_PTR nKey = 0;
        OVERLAPPED* pOverlapped = nullptr;
        const BOOL bSucceeded =
            GetQueuedCompletionStatus(m_hPort.Get(), &dwBytes, &nKey, &pOverlapped, TimeToNextDeadline());
        if (pOverlapped) {
            OnCompleted(static_cast<CStatusPipeConnection::COverlapped*>(pOverlapped), dwBytes,
                        bSucceeded != FALSE);
        } else if (!bSucceeded && GetLastError() == WAIT_TIMEOUT) {
            DropIdleClients();
        } else if (!bSucceeded || nKey == kKeyStop) {
            if (!bSucceeded)
                DebugTrace(
                    "CStatusPipeServer::Run() : GetQueuedCompletionStatus() failed. GetLastError() = %d\n",
                    static_cast<int>(GetLastError()));
            break;
        } else {
            m_bBoardPosted = false;
            OnBoardChanged();
        }
        Collect();
    }
    // Every instance closed; their cancelled I/O still completes to the port.
    for (const auto& pConnection : m_connections)
        pConnection->Close();
    const ULONGLONG nEnd = GetTickCount64() + kDrainMs;
    Collect();
    while (!m_connections.empty() && GetTickCount64() < nEnd) {
        DWORD dwBytes = 0;
        ULONG_PTR nKey = 0;
        OVERLAPPED* pOverlapped = nullptr;
        GetQueuedCompletionStatus(m_hPort.Get(), &dwBytes, &nKey, &pOverlapped, kDrainMs);
        if (pOverlapped)
            static_cast<CStatusPipeConnection::COverlapped*>(pOverlapped)->pConnection->OnCompletion();
        Collect();
    }
    // Whatever the system never completed keeps its memory: the process ends.
    for (auto& pConnection : m_connections)
        static_cast<void>(pConnection.release());
    m_connections.clear();
}

void CStatusPipeServer::OnCompleted(CStatusPipeConnection::COverlapped* pOverlapped, DWORD dwBytes,
                                    bool bSucceeded) {
    CStatusPipeConnection& connection = *pOverlapped->pConnection;
    connection.OnCompletion();
    if (connection.IsClosed())
        return;
    switch (pOverlapped->operation) {
    case CStatusPipeConnection::Operation::Connect:
        if (bSucceeded || GetLastError() == ERROR_PIPE_CONNECTED)
            OnConnected(connection);
        else
            Close(connection);
        break;
    case CStatusPipeConnection::Operation::Read:
        if (bSucceeded || GetLastError() == ERROR_MORE_DATA)
            OnRead(connection, dwBytes);
        else
            Close(connection); // the client is gone
        break;
    case CStatusPipeConnection::Operation::Write:
        if (!bSucceeded || !connection.OnWritten())
            Close(connection);
        else if (connection.m_bClosing && !connection.IsWriting())
            Close(connection);
        break;
    }
}

void CStatusPipeServer::OnConnected(CStatusPipeConnection& connection) {
    connection.m_bConnected = true;
    connection.m_nDeadline = GetTickCount64() + m_dwIdleMs;
    if (!connection.StartRead())
        Close(connection);
    Listen(false);
}

void CStatusPipeServer::OnRead(CStatusPipeConnection& connection, DWORD dwBytes) {
    std::vector<std::string> lines;
    const bool bFits = connection.TakeLines(dwBytes, lines);
    // A watch client asks nothing more: its lines are read only to notice its end.
    for (const std::string& strLine : lines) {
        if (connection.m_bWatching || connection.m_bClosing)
            break;
        CStatusRequest request;
        const StatusFault fault = ParseStatusRequest(strLine, request);
        if (fault != StatusFault::None) {
            Refuse(connection, fault, std::string());
            break;
        }
        connection.m_nDeadline = GetTickCount64() + m_dwIdleMs;
        CStatusEntry entry;
        switch (request.kind) {
        case StatusRequestKind::List:
            Answer(connection, EncodeListAnswer(m_board.Snapshot()));
            break;
        case StatusRequestKind::Printer:
            if (m_board.Find(request.strName, entry))
                Answer(connection, EncodePrinterAnswer(entry));
            else
                Answer(connection, EncodeErrorAnswer(StatusFault::NoSuchPrinter, request.strName));
            break;
        case StatusRequestKind::Watch: {
            const std::vector<CStatusEntry> entries = m_board.Snapshot(&connection.m_nSeenChange);
            connection.m_bWatching = true;
            connection.m_nDeadline = 0;
            Answer(connection, EncodeWatchAnswer(entries));
            break;
        }
        }
    }
    if (!bFits && !connection.m_bClosing)
        Refuse(connection, StatusFault::LineTooLong, std::string());
    if (!connection.IsClosed() && !connection.m_bClosing && !connection.StartRead())
        Close(connection);
}

void CStatusPipeServer::Answer(CStatusPipeConnection& connection, const std::string& strLine) {
    if (!connection.IsClosed() && !connection.Send(strLine))
        Close(connection);
}

void CStatusPipeServer::Refuse(CStatusPipeConnection& connection, StatusFault fault,
                               const std::string& strDetail) {
    Answer(connection, EncodeErrorAnswer(fault, strDetail));
    connection.m_bClosing = true;
    connection.m_nDeadline = GetTickCount64() + m_dwIdleMs;
    if (!connection.IsClosed() && !connection.IsWriting())
        Close(connection);
}

void CStatusPipeServer::OnBoardChanged() {
    // Each change is encoded once for every watch client.
    std::uint64_t nOldest = m_board.GetCounter();
    for (const auto& pConnection : m_connections) {
        if (pConnection->m_bWatching && !pConnection->IsClosed())
            nOldest = std::min(nOldest, pConnection->m_nSeenChange);
    }
    std::vector<CStatusChange> changes;
    const bool bComplete = m_board.ChangesAfter(nOldest, changes);
    std::vector<std::string> lines;
    for (const CStatusChange& change : changes)
        lines.push_back(EncodeChangeEvent(change));
    for (const auto& pConnection : m_connections) {
        CStatusPipeConnection& connection = *pConnection;
        if (!connection.m_bWatching || connection.IsClosed())
            continue;
        if (!bComplete && connection.m_nSeenChange == nOldest) {
            // Too far behind for the history: everything as it is now.
            Answer(connection, EncodeWatchAnswer(m_board.Snapshot(&connection.m_nSeenChange)));
            continue;
        }
        for (std::size_t i = 0; i < changes.size() && !connection.IsClosed(); ++i) {
            if (changes[i].nNumber > connection.m_nSeenChange)
                Answer(connection, lines[i]);
        }
        if (!changes.empty())
            connection.m_nSeenChange = std::max(connection.m_nSeenChange, changes.back().nNumber);
    }
}

void CStatusPipeServer::DropIdleClients() {
    const ULONGLONG nNow = GetTickCount64();
    for (const auto& pConnection : m_connections) {
        CStatusPipeConnection& connection = *pConnection;
        if (connection.IsClosed() || connection.m_nDeadline == 0 || connection.m_nDeadline > nNow)
            continue;
        // Told once; one that still does not take the answer goes at the next deadline.
        if (connection.m_bClosing)
            Close(connection);
        else
            Refuse(connection, StatusFault::IdleTimeout, std::string());
    }
}

DWORD CStatusPipeServer::TimeToNextDeadline() const {
    ULONGLONG nNext = 0;
    for (const auto& pConnection : m_connections) {
        const ULONGLONG nDeadline = pConnection->m_nDeadline;
        if (!pConnection->IsClosed() && nDeadline != 0 && (nNext == 0 || nDeadline < nNext))
            nNext = nDeadline;
    }
    if (nNext == 0)
        return INFINITE;
    const ULONGLONG nNow = GetTickCount64();
    return nNext <= nNow ? 0 : static_cast<DWORD>(nNext - nNow);
}

void CStatusPipeServer::Close(CStatusPipeConnection& connection) {
    if (connection.IsClosed())
        return;
    const bool bWasListening = !connection.m_bConnected;
    connection.Close();
    // A client's place freed: listen again when no instance listens.
    if (!bWasListening &&
        std::none_of(m_connections.begin(), m_connections.end(), [](const auto& pConnection) {
            return !pConnection->IsClosed() && !pConnection->m_bConnected;
        }))
        Listen(false);
}

void CStatusPipeServer::Collect() {
    m_connections.remove_if([](const std::unique_ptr<CStatusPipeConnection>& pConnection) {
        return pConnection->IsClosed() && !pConnection->HasPendingIo();
    });
}
