// The status pipe: answers the status requests of programs in the same
// session (NyStatus.exe) from the status board, on a thread of its own. The
// thread waits on a completion port for the pipe's I/O, the board's changes
// and the stop, with no time-out unless a connected client has still to ask
// something, so it costs nothing while nobody queries. It never touches a
// device or a controller: printers may come and go meanwhile.
#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "monitor/status_board.h"
#include "monitor/status_pipe_connection.h"
#include "monitor/status_pipe_security.h"

class CStatusPipeServer {
public:
    // How long a client may stay connected without asking anything.
    static constexpr DWORD kIdleMs = 10000;
    // Clients served at once; the pipe has this many instances at most.
    static constexpr DWORD kMaxClients = 64;

    CStatusPipeServer(CStatusBoard& board, std::string strPipeName, DWORD dwIdleMs = kIdleMs);
    // Stops the thread.
    ~CStatusPipeServer();
    CStatusPipeServer(const CStatusPipeServer&) = delete;
    CStatusPipeServer& operator=(const CStatusPipeServer&) = delete;

    // Creates the pipe's first instance, which no other process may have
    // created before, and starts the thread. FALSE, traced once, when the
    // name is taken or anything fails: nothing is served then.
    BOOL Start();
    // Ends the thread and closes every connection; returns at once when it never started.
    void Stop();

private:
    enum Key : ULONG_PTR { kKeyPipe = 1, kKeyBoard, kKeyStop };

    // A new listening instance, unless kMaxClients are there already.
    void Listen(bool bFirst);
    // The pipe instance, associated with the port; an empty handle on failure.
    CUniqueFile CreateInstance(bool bFirst);
    void Run();
    void OnCompleted(CStatusPipeConnection::COverlapped* pOverlapped, DWORD dwBytes, bool bSucceeded);
    void OnConnected(CStatusPipeConnection& connection);
    void OnRead(CStatusPipeConnection& connection, DWORD dwBytes);
    void Answer(CStatusPipeConnection& connection, const std::string& strLine);
    void Refuse(CStatusPipeConnection& connection, StatusFault fault, const std::string& strDetail);
    void OnBoardChanged();
    void DropIdleClients();
    DWORD TimeToNextDeadline() const;
    void Close(CStatusPipeConnection& connection);
    // Deletes the closed connections that have nothing outstanding.
    void Collect();

    CStatusBoard& m_board;
    std::string m_strPipeName;
    DWORD m_dwIdleMs;
    CStatusPipeSecurity m_security;
    CUniqueHandle m_hPort;
    std::list<std::unique_ptr<CStatusPipeConnection>> m_connections;
    // The board's change is posted once until the thread takes it.
    std::atomic<bool> m_bBoardPosted{false};
    std::thread m_thread;
};
