// The fleet's events: what a sequence of printer sets raises, the error
// counts and models, and the rate limit on a printer that flaps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/fleet/event_rate_limiter.h"
#include "monitor/fleet/fleet_tracker.h"
#include "tests/native/status_entries.h"

namespace {

std::string Describe(const std::vector<CFleetEvent>& events) {
    std::string strText;
    for (const CFleetEvent& event : events) {
        static const char* const kNames[] = {"connected", "disconnected", "raised", "cleared"};
        strText +=
            (strText.empty() ? "" : " ") + event.printer.strName + ":" + kNames[static_cast<int>(event.kind)];
    }
    return strText;
}

// Each case's events step by step, then A's and B's error counts and models: a printer away keeps them, one
// that leaves the set forgets them.
TEST(FleetTracker, EventsOfEachStepErrorCountsAndModels) {
    using Set = std::vector<CStatusEntry>;
    CStatusEntry named = EntryIn("B", "idle");
    named.record.SetProductId(0x58);
    const struct {
        const char* pszCase;
        std::vector<Set> steps;
        std::vector<const char*> expected;
        const char* pszAfter;
    } cases[] = {
        {"a printer joins without a link, then leaves and comes back",
         {{EntryIn("A", "error", 1u << 31), named, EntryIn("C", "off")},
          {EntryIn("B", "error", 1u << 31)},
          {EntryIn("A", "idle"), EntryIn("B", "off")}},
         {"A:connected A:raised B:connected", "B:raised", "A:connected B:disconnected"},
         "0 ; 1 Kestrel Model A; "},
        {"paper out, another error, back; printing raises nothing",
         {{EntryIn("A", "idle")},
          {EntryIn("A", "printing")},
          {EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "error", 1u << 30)},
          {EntryIn("A", "idle")}},
         {"A:connected", "", "A:raised", "", "A:raised", "A:cleared"},
         "2 ; 0 ; "},
        {"unplugged in error, back with the same error, then without it",
         {{EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "off")},
          {EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "off")},
          {EntryIn("A", "idle")}},
         {"A:connected A:raised", "A:disconnected", "A:connected", "A:disconnected", "A:connected A:cleared"},
         "1 ; 0 ; "},
    };
    for (const auto& c : cases) {
        CFleetTracker tracker;
        for (std::size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(c.expected[i], Describe(tracker.Update(c.steps[i]))) << c.pszCase << ", step " << i;
        std::string strAfter;
        for (const char* pszName : {"A", "B"})
            strAfter +=
                std::to_string(tracker.GetErrorsTotal(pszName)) + " " + tracker.GetModel(pszName) + "; ";
        EXPECT_EQ(c.pszAfter, strAfter) << c.pszCase;
    }
}

using Verdict = CEventRateLimiter::Verdict;

std::string Verdicts(CEventRateLimiter& limiter, const std::string& strKey,
                     std::vector<std::uint64_t> times) {
    std::string strText;
    for (const std::uint64_t t : times) {
        const Verdict verdict = limiter.Admit(strKey, t);
        strText += verdict == Verdict::Report ? 'R' : verdict == Verdict::Summarise ? 'S' : '-';
    }
    return strText;
}

TEST(EventRateLimiter, TenAnHourThenOneSummary) {
    CEventRateLimiter limiter;
    EXPECT_EQ("RRRRRRRRRRS---",
              Verdicts(limiter, "A", {100, 160, 220, 280, 340, 400, 460, 520, 580, 640, 700, 760, 820, 880}));
    // Another printer has a share of its own.
    EXPECT_EQ("R", Verdicts(limiter, "B", {1000}));
    // The window slides: an hour after the first event there is room for one,
    // and the next flood gets a summary of its own.
    EXPECT_EQ("-RS-", Verdicts(limiter, "A", {3699, 3700, 3701, 3759}));
    EXPECT_EQ("R", Verdicts(limiter, "A", {3760}));
    // Small limits, and times near zero.
    CEventRateLimiter small(2, 10);
    EXPECT_EQ("RRS-RRS", Verdicts(small, "A", {0, 0, 0, 9, 10, 10, 19}));
}

} // namespace
