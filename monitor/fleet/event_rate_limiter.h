// Keeps a printer that flaps from flooding the event log: at most so many
// events per printer within a sliding window, then one summary event, then
// nothing until the window has room again. Platform-free: the caller gives
// the time, in seconds of any steady clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>

class CEventRateLimiter {
public:
    enum class Verdict { Report, Summarise, Drop };

    static constexpr std::size_t kMaxEvents = 10;
    static constexpr std::uint64_t kWindowSeconds = 3600;

    CEventRateLimiter(std::size_t nMaxEvents = kMaxEvents, std::uint64_t nWindowSeconds = kWindowSeconds)
        : m_nMaxEvents(nMaxEvents), m_nWindowSeconds(nWindowSeconds) {}

    // Report: the event goes to the log. Summarise: the printer has had its
    // share; one summary event goes instead. Drop: the summary went already.
    Verdict Admit(const std::string& strKey, std::uint64_t nNowSeconds);

private:
    struct CKey {
        // When the reported events of the window were reported.
        std::deque<std::uint64_t> reported;
        bool bSummarised = false;
    };

    std::size_t m_nMaxEvents;
    std::uint64_t m_nWindowSeconds;
    std::map<std::string, CKey> m_keys;
};
