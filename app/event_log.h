// The agent's event source in the Application log: registered once, reports
// events with UTF-8 insertion strings, deregistered with its owner. It can be
// moved but not copied. Without a source (registration failed, traced once)
// nothing is reported.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

class CEventLog {
public:
    explicit CEventLog(const wchar_t* pszSource);
    ~CEventLog();
    CEventLog(const CEventLog&) = delete;
    CEventLog& operator=(const CEventLog&) = delete;
    CEventLog(CEventLog&& other) noexcept : m_hSource(other.m_hSource) { other.m_hSource = nullptr; }
    CEventLog& operator=(CEventLog&& other) noexcept;

    // wType: EVENTLOG_INFORMATION_TYPE, EVENTLOG_WARNING_TYPE or EVENTLOG_ERROR_TYPE;
    // dwEventId: an id of the message table. FALSE (traced) when the log refused it.
    BOOL Report(WORD wType, DWORD dwEventId, const std::vector<std::string>& strings) const;

private:
    HANDLE m_hSource = nullptr;
};
