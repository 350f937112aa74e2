// One instance of the status pipe, from the moment it listens until its
// client is gone: its overlapped connect, read and write, the lines read so
// far and the answers waiting to be written. The status pipe's thread alone
// uses it. Each I/O started completes through the server's completion port;
// a closed connection is deleted only once none is outstanding, since the
// system writes the OVERLAPPED until then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "monitor/status_request.h"

class CStatusPipeConnection {
public:
    enum class Operation { Connect, Read, Write };
    // What a completion of the port points to.
    struct COverlapped : OVERLAPPED {
        Operation operation;
        CStatusPipeConnection* pConnection;
    };

    // The most bytes of answers waiting for a client that does not read.
    static constexpr std::size_t kMaxQueued = 256 * 1024;

    explicit CStatusPipeConnection(CUniqueFile hPipe);
    CStatusPipeConnection(const CStatusPipeConnection&) = delete;
    CStatusPipeConnection& operator=(const CStatusPipeConnection&) = delete;

    // Listens for a client. FALSE when the instance failed; bConnected tells
    // a client that came before the call (no completion follows then).
    bool StartConnect(bool& bConnected);
    // Reads what the client sends next.
    bool StartRead();
    // Queues an answer line and writes it when nothing else is being
    // written. FALSE when the queue passes kMaxQueued or the write fails: the
    // caller closes the connection.
    bool Send(const std::string& strLine);
    // A write completed: the next queued one starts. FALSE on failure.
    bool OnWritten();
    // Cuts what a read brought into lines; FALSE when a line is too long.
    bool TakeLines(DWORD dwBytes, std::vector<std::string>& lines) {
        return m_reader.Feed(m_achRead, dwBytes, lines);
    }
    // Closes the pipe instance; outstanding I/O completes with an error.
    void Close() { m_hPipe.Reset(); }
    bool IsClosed() const { return !m_hPipe; }
    bool HasPendingIo() const { return m_nPending > 0; }
    bool IsWriting() const { return m_bWriting; }
    // One outstanding I/O completed.
    void OnCompletion() { --m_nPending; }

    // Set once the connect completed.
    bool m_bConnected = false;
    // A watch client: every change goes to it, it sends nothing more.
    bool m_bWatching = false;
    // The last change the watch client has been sent.
    std::uint64_t m_nSeenChange = 0;
    // Close once the queued answers are written (after an error answer).
    bool m_bClosing = false;
    // GetTickCount64 after which a client that has not asked anything is
    // dropped; 0 for none.
    ULONGLONG m_nDeadline = 0;

private:
    bool StartWrite();

    CUniqueFile m_hPipe;
    COverlapped m_connect = {};
    COverlapped m_read = {};
    COverlapped m_write = {};
    int m_nPending = 0;
    char m_achRead[1024];
    CStatusLineReader m_reader;
    std::deque<std::string> m_queue;
    std::size_t m_nQueued = 0;
    bool m_bWriting = false;
};
