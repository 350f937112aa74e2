#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/format.h"
#include "sim/builtin_scenarios.h"
#include "sim/scenario.h"

namespace {

// The phases a scenario goes through, each run of equal phases counted once.
std::vector<int> PhaseRuns(const Scenario& steps) {
    std::vector<int> runs;
    for (const ScenarioStep& step : steps)
        if (runs.empty() || runs.back() != step.phase)
            runs.push_back(step.phase);
    return runs;
}

} // namespace

TEST(Scenario, ParsesStepsCommentsAndMarkers) {
    const std::string script = "# a job with a paper-out error\r\n\n0    1 0 0   0\r\n   \t  \n"
                               "500\t3 1 0   0          # feed in\n500  3 4 40  0x80000001 hold\n"
                               "900  255 255 255 4294967295 hold"; // no final line feed
    Scenario steps;
    std::string error;
    ASSERT_TRUE(ParseScenario(script, steps, error)) << error;
    std::vector<std::string> shown;
    for (const ScenarioStep& step : steps)
        shown.push_back(Format("%u %d/%d/%d/%X%s", step.timeMs, step.state, step.phase, step.progress,
                               step.code, step.hold ? " hold" : ""));
    const std::vector<std::string> expected = {"0 1/0/0/0", "500 3/1/0/0", "500 3/4/40/80000001 hold",
                                               "900 255/255/255/FFFFFFFF hold"};
    EXPECT_EQ(expected, shown);
}

TEST(Scenario, MalformedScriptsNameTheLineAndTheFault) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"0 1 0 0 0\n\n0 1 0 0 0 hold extra\n",
         "line 3: expected 5 fields (time state phase progress code) and an optional \"hold\", found 7"},
        {"0 1 0 0 0 # 1 2 3\n# x\n10 3 1 O 0\n", "line 3: progress \"O\" is not a number"},
        {"100 1 0 0 0\n100 1 0 0 0\n99 1 0 0 0\n", "line 3: time 99 is before the previous step's time 100"},
        {"0 3 4 40 0x07FFFFFF hold\n", "line 1: hold needs an error code (above 0x07FFFFFF), not 0x07FFFFFF"},
    };
    for (const auto& c : cases) {
        Scenario steps = {ReadyStep()};
        std::string error;
        EXPECT_FALSE(ParseScenario(c.script, steps, error)) << c.script;
        EXPECT_EQ(c.error, error) << c.script;
        EXPECT_TRUE(steps.empty()) << c.script;
    }
}

TEST(BuiltInScenarios, TheJobRunsEveryPhaseAndThePaperOutStopsItAtYellow) {
    Scenario job;
    ASSERT_TRUE(GetBuiltInScenario("job", job));
    const std::vector<int> expected = {kPhaseNone,    kPhaseFeedIn,  kPhaseWaiting, kPhaseYellow,
                                       kPhaseWaiting, kPhaseMagenta, kPhaseWaiting, kPhaseCyan,
                                       kPhaseWaiting, kPhaseCoating, kPhaseFeedOut, kPhaseNone};
    EXPECT_EQ(expected, PhaseRuns(job));
    EXPECT_EQ(kStateReady, job.back().state);
    EXPECT_FALSE(GetBuiltInScenario("jobs", job));

    Scenario steps;
    ASSERT_TRUE(GetBuiltInScenario("paper-out", steps));
    const auto hold = std::find_if(steps.begin(), steps.end(), [](const ScenarioStep& s) { return s.hold; });
    ASSERT_NE(steps.end(), hold);
    EXPECT_EQ(std::make_tuple(0x80000001u, std::uint8_t{kPhaseYellow}, std::uint8_t{40}),
              std::make_tuple(hold->code, hold->phase, hold->progress));
    steps.erase(hold);
    EXPECT_EQ(expected, PhaseRuns(steps));
}
