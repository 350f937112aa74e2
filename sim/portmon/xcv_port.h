// What XcvOpenPort hands the spooler: the name of the port whose queries it
// answers, or an empty name for the monitor itself. Each query reads the
// port's settings afresh, so a handle never answers from a stale copy.
#pragma once

#include <string>
#include <utility>

#include <windows.h>

class CXcvPort {
public:
    explicit CXcvPort(std::wstring strPort) : m_strPort(std::move(strPort)) {}

    // Answers one XcvData query. "GetConfigInfo" is the only data name; it
    // takes no input. Returns the status the spooler hands back to its caller.
    DWORD Data(const wchar_t* pszDataName, BYTE* pOutput, DWORD cbOutput, DWORD& cbNeeded) const;

private:
    DWORD GetConfigInfo(BYTE* pOutput, DWORD cbOutput, DWORD& cbNeeded) const;

    std::wstring m_strPort;
};
