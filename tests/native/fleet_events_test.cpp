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

TEST(FleetTracker, EventsOfEachStep) {
    using Set = std::vector<CStatusEntry>;
    const struct {
        const char* pszCase;
        std::vector<Set> steps;
        std::vector<const char*> expected;
    } cases[] = {
        {"a printer joins without a link, then leaves and comes back",
         {{EntryIn("A", "idle"), EntryIn("B", "idle"), EntryIn("C", "off")},
          {EntryIn("B", "idle")},
          {EntryIn("A", "idle"), EntryIn("B", "off")}},
         {"A:connected B:connected", "", "A:connected B:disconnected"}},
        {"paper out, another error, back; printing raises nothing",
         {{EntryIn("A", "idle")},
          {EntryIn("A", "printing")},
          {EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "error", 1u << 30)},
          {EntryIn("A", "idle")}},
         {"A:connected", "", "A:raised", "", "A:raised", "A:cleared"}},
        {"unplugged in error, back with the same error, then without it",
         {{EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "off")},
          {EntryIn("A", "error", 1u << 31)},
          {EntryIn("A", "off")},
          {EntryIn("A", "idle")}},
         {"A:connected A:raised", "A:disconnected", "A:connected", "A:disconnected",
          "A:connected A:cleared"}},
    };
    for (const auto& c : cases) {
        CFleetTracker tracker;
        for (std::size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(c.expected[i], Describe(tracker.Update(c.steps[i]))) << c.pszCase << ", step " << i;
    }
}

TEST(FleetTracker, CountsEachPrintersErrorsAndKeepsItsModelUntilItLeaves) {
    CFleetTracker tracker;
    CStatusEntry named = EntryIn("B", "idle");
    named.record.SetProductId(0x58);
    tracker.Update({EntryIn("A", "error", 1u << 31), named});
    tracker.Update({EntryIn("A", "idle"), EntryIn("B", "error", 1u << 31)});
    tracker.Update({EntryIn("A", "error", 1u << 31), EntryIn("B", "error", 1u << 30)});
    tracker.Update({EntryIn("A", "off"), EntryIn("B", "off")});
    EXPECT_EQ(2u, tracker.GetErrorsTotal("A"));
    EXPECT_EQ(2u, tracker.GetErrorsTotal("B"));
    EXPECT_EQ("Kestrel Model A", tracker.GetModel("B")) << "a printer away keeps its model";
    EXPECT_EQ("", tracker.GetModel("A"));
    tracker.Update({EntryIn("B", "off")});
    tracker.Update({EntryIn("A", "idle"), EntryIn("B", "off")});
    EXPECT_EQ(0u, tracker.GetErrorsTotal("A"));
    EXPECT_EQ(2u, tracker.GetErrorsTotal("B"));
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
