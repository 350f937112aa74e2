#include "app/event_log.h"

#include "app/trace.h"
#include "app/wide_text.h"

CEventLog::CEventLog(const wchar_t* pszSource) : m_hSource(RegisterEventSourceW(nullptr, pszSource)) {
    if (!m_hSource)
        DebugTrace("CEventLog::CEventLog() : RegisterEventSource() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
}

CEventLog::~CEventLog() {
    if (m_hSource)
        DeregisterEventSource(m_hSource);
}

CEventLog& CEventLog::operator=(CEventLog&& other) noexcept {
    if (this != &other) {
        if (m_hSource)
            DeregisterEventSource(m_hSource);
        m_hSource = other.m_hSource;
        other.m_hSource = nullptr;
    }
    return *this;
}

BOOL CEventLog::Report(WORD wType, DWORD dwEventId, const std::vector<std::string>& strings) const {
    if (!m_hSource)
        return FALSE;
    std::vector<std::wstring> wideStrings;
    for (const std::string& strText : strings)
        wideStrings.push_back(WideFromUtf8(strText));
    std::vector<LPCWSTR> pointers;
    for (const std::wstring& strWide : wideStrings)
        pointers.push_back(strWide.c_str());
    if (ReportEventW(m_hSource, wType, 0, dwEventId, nullptr, static_cast<WORD>(pointers.size()), 0,
                     pointers.empty() ? nullptr : pointers.data(), nullptr))
        return TRUE;
    DebugTrace("CEventLog::Report() : ReportEvent(0x%08lX) failed. GetLastError() = %d\n",
               static_cast<unsigned long>(dwEventId), static_cast<int>(GetLastError()));
    return FALSE;
}
