#include "monitor/fleet/event_rate_limiter.h"

CEventRateLimiter::Verdict CEventRateLimiter::Admit(const std::string& strKey, std::uint64_t nNowSeconds) {
    CKey& key = m_keys[strKey];
    while (!key.reported.empty() && key.reported.front() + m_nWindowSeconds <= nNowSeconds)
        key.reported.pop_front();
    if (key.reported.size() < m_nMaxEvents) {
        key.reported.push_back(nNowSeconds);
        key.bSummarised = false;
        return Verdict::Report;
    }
    if (key.bSummarised)
        return Verdict::Drop;
    key.bSummarised = true;
    return Verdict::Summarise;
}
