#include "monitor/status_pipe_connection.h"

#include "app/trace.h"

CStatusPipeConnection::CStatusPipeConnection(CUniqueFile hPipe) : m_hPipe(std::move(hPipe)) {
    m_connect.operation = Operation::Connect;
    m_read.operation = Operation::Read;
    m_write.operation = Operation::Write;
    m_connect.pConnection = m_read.pConnection = m_write.pConnection = this;
}

bool CStatusPipeConnection::StartConnect(bool& bConnected) {
    bConnected = false;
    if (ConnectNamedPipe(m_hPipe.Get(), &m_connect)) {
        ++m_nPending;
        return true;
    }
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        ++m_nPending;
        return true;
    case ERROR_PIPE_CONNECTED:
        bConnected = true;
        return true;
    default:
        DebugTrace("CStatusPipeConnection::StartConnect() : ConnectNamedPipe() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return false;
    }
}

bool CStatusPipeConnection::StartRead() {
    if (!ReadFile(m_hPipe.Get(), m_achRead, sizeof(m_achRead), nullptr, &m_read) &&
        GetLastError() != ERROR_IO_PENDING)
        return false; // the client is gone
    ++m_nPending;
    return true;
}

bool CStatusPipeConnection::Send(const std::string& strLine) {
    m_nQueued += strLine.size();
    m_queue.push_back(strLine);
    if (m_nQueued > kMaxQueued) {
        DebugTrace("CStatusPipeConnection::Send() : %d bytes wait for the client: dropped\n",
                   static_cast<int>(m_nQueued));
        return false;
    }
    return m_bWriting || StartWrite();
}

bool CStatusPipeConnection::StartWrite() {
    const std::string& strLine = m_queue.front();
    if (!WriteFile(m_hPipe.Get(), strLine.data(), static_cast<DWORD>(strLine.size()), nullptr, &m_write) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    ++m_nPending;
    m_bWriting = true;
    return true;
}

bool CStatusPipeConnection::OnWritten() {
    m_nQueued -= m_queue.front().size();
    m_queue.pop_front();
    m_bWriting = false;
    return m_queue.empty() || StartWrite();
}
