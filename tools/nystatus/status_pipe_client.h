// NyStatus.exe's end of the agent's status pipe: connects, sends a request
// line and reads answer lines, each wait bounded by a time-out and ended by
// an interruption (Ctrl+C).
#pragma once

#include <string>

#include <windows.h>

#include "framework/unique_handle.h"

class CStatusPipeClient {
public:
    enum class Result { Ok, NoAgent, TimeOut, Closed, Interrupted };

    CStatusPipeClient() = default;
    CStatusPipeClient(const CStatusPipeClient&) = delete;
    CStatusPipeClient& operator=(const CStatusPipeClient&) = delete;

    // Connects to the pipe; while all its instances are busy, waits up to dwTimeoutMs.
    Result Connect(const std::string& strPipeName, DWORD dwTimeoutMs);
    // Writes the whole line.
    Result Send(const std::string& strLine, DWORD dwTimeoutMs, HANDLE hInterrupt);
    // The next line, without its line break.
    Result ReadLine(std::string& strLine, DWORD dwTimeoutMs, HANDLE hInterrupt);

private:
    // Waits for the overlapped operation; cancels it when it does not end in time.
    Result Finish(OVERLAPPED& overlapped, DWORD& dwBytes, DWORD dwTimeoutMs, HANDLE hInterrupt);

    CUniqueFile m_hPipe;
    CUniqueHandle m_hEvent;
    std::string m_strBuffer;
};
