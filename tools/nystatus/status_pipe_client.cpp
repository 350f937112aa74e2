#include "tools/nystatus/status_pipe_client.h"

CStatusPipeClient::Result CStatusPipeClient::Connect(const std::string& strPipeName, DWORD dwTimeoutMs) {
    const ULONGLONG nEnd = GetTickCount64() + dwTimeoutMs;
    for (;;) {
        m_hPipe.Reset(CreateFileA(strPipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
        if (m_hPipe) {
            m_hEvent.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
            return m_hEvent ? Result::Ok : Result::NoAgent;
        }
        if (GetLastError() != ERROR_PIPE_BUSY)
            return Result::NoAgent;
        const ULONGLONG nNow = GetTickCount64();
        if (nNow >= nEnd)
            return Result::TimeOut;
        if (!WaitNamedPipeA(strPipeName.c_str(), static_cast<DWORD>(nEnd - nNow)) &&
            GetLastError() == ERROR_FILE_NOT_FOUND)
            return Result::NoAgent;
    }
}

CStatusPipeClient::Result CStatusPipeClient::Finish(OVERLAPPED& overlapped, DWORD& dwBytes, DWORD dwTimeoutMs,
                                                    HANDLE hInterrupt) {
    const HANDLE ahWait[] = {m_hEvent.Get(), hInterrupt};
    const DWORD dwWait = WaitForMultipleObjects(hInterrupt ? 2 : 1, ahWait, FALSE, dwTimeoutMs);
    if (dwWait != WAIT_OBJECT_0) {
        CancelIo(m_hPipe.Get());
        GetOverlappedResult(m_hPipe.Get(), &overlapped, &dwBytes, TRUE);
        return dwWait == WAIT_OBJECT_0 + 1 ? Result::Interrupted : Result::TimeOut;
    }
    return GetOverlappedResult(m_hPipe.Get(), &overlapped, &dwBytes, FALSE) ? Result::Ok : Result::Closed;
}

CStatusPipeClient::Result CStatusPipeClient::Send(const std::string& strLine, DWORD dwTimeoutMs,
                                                  HANDLE hInterrupt) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = m_hEvent.Get();
    ResetEvent(m_hEvent.Get());
    DWORD dwBytes = 0;
    if (!WriteFile(m_hPipe.Get(), strLine.data(), static_cast<DWORD>(strLine.size()), nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        return Result::Closed;
    const Result result = Finish(overlapped, dwBytes, dwTimeoutMs, hInterrupt);
    return result == Result::Ok && dwBytes != strLine.size() ? Result::Closed : result;
}

CStatusPipeClient::Result CStatusPipeClient::ReadLine(std::string& strLine, DWORD dwTimeoutMs,
                                                      HANDLE hInterrupt) {
    const ULONGLONG nEnd = dwTimeoutMs == INFINITE ? 0 : GetTickCount64() + dwTimeoutMs;
    for (;;) {
        const std::size_t nBreak = m_strBuffer.find('\n');
        if (nBreak != std::string::npos) {
            strLine = m_strBuffer.substr(0, nBreak);
            m_strBuffer.erase(0, nBreak + 1);
            return Result::Ok;
        }
        DWORD dwLeft = INFINITE;
        if (nEnd != 0) {
            const ULONGLONG nNow = GetTickCount64();
            dwLeft = nNow >= nEnd ? 0 : static_cast<DWORD>(nEnd - nNow);
        }
        char achChunk[4096];
        OVERLAPPED overlapped = {};
        overlapped.hEvent = m_hEvent.Get();
        ResetEvent(m_hEvent.Get());
        DWORD dwBytes = 0;
        if (!ReadFile(m_hPipe.Get(), achChunk, sizeof(achChunk), nullptr, &overlapped) &&
            GetLastError() != ERROR_IO_PENDING)
            return Result::Closed;
        const Result result = Finish(overlapped, dwBytes, dwLeft, hInterrupt);
        m_strBuffer.append(achChunk, dwBytes);
        if (result != Result::Ok)
            return result;
        if (dwBytes == 0)
            return Result::Closed;
    }
}
