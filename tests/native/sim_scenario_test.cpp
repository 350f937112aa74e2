#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "sim/builtin_scenarios.h"
#include "sim/parse_number.h"
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

const ScenarioStep* FindHold(const Scenario& steps) {
    auto it = std::find_if(steps.begin(), steps.end(), [](const ScenarioStep& step) { return step.hold; });
    return it == steps.end() ? nullptr : &*it;
}

} // namespace

TEST(ParseNumber, DecimalHexAndFaults) {
    struct Case {
        const char* text;
        std::uint32_t max;
        NumberResult result;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"0", 255, NumberResult::kOk, 0},
        {"0x80000001", 0xFFFFFFFF, NumberResult::kOk, 0x80000001},
        {"0XfF", 255, NumberResult::kOk, 255},
        {"256", 255, NumberResult::kOutOfRange, 0},
        {"4294967296", 0xFFFFFFFF, NumberResult::kOutOfRange, 0},
        {"99999999999999999999999", 0xFFFFFFFF, NumberResult::kOutOfRange, 0},
        {"999999999999999999999x", 0xFFFFFFFF, NumberResult::kNotANumber, 0},
        {"-1", 255, NumberResult::kNotANumber, 0},
        {"0x1G", 255, NumberResult::kNotANumber, 0},
    };
    for (const Case& c : cases) {
        std::uint32_t value = 12345;
        EXPECT_EQ(c.result, ParseNumber(c.text, c.max, value)) << c.text;
        EXPECT_EQ(c.result == NumberResult::kOk ? c.value : 12345u, value) << c.text;
    }
}

TEST(Scenario, ParsesStepsCommentsAndMarkers) {
    const std::string script = "# a job with a paper-out error\r\n"
                               "\n"
                               "0    1 0 0   0\r\n"
                               "   \t  \n"
                               "500\t3 1 0   0          # feed in\n"
                               "500  3 4 40  0x80000001 hold\n"
                               "900  3 4 100 0x0\n"
                               "900  255 255 255 4294967295 hold"; // no final line feed
    Scenario steps;
    std::string error;
    ASSERT_TRUE(ParseScenario(script, steps, error)) << error;
    std::vector<std::string> shown;
    for (const ScenarioStep& step : steps)
        shown.push_back(std::to_string(step.timeMs) + " " + std::to_string(step.state) + "/" +
                        std::to_string(step.phase) + "/" + std::to_string(step.progress) + "/" +
                        std::to_string(step.code) + (step.hold ? " hold" : ""));
    const std::vector<std::string> expected = {"0 1/0/0/0", "500 3/1/0/0", "500 3/4/40/2147483649 hold",
                                               "900 3/4/100/0", "900 255/255/255/4294967295 hold"};
    EXPECT_EQ(expected, shown);
}

TEST(Scenario, MalformedScriptsNameTheLineAndTheFault) {
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"", "the script has no steps"},
        {"0 1 0 0\n",
         "line 1: expected 5 fields (time state phase progress code) and an optional \"hold\", found 4"},
        {"0 1 0 0 0\n\n0 1 0 0 0 hold extra\n",
         "line 3: expected 5 fields (time state phase progress code) and an optional \"hold\", found 7"},
        {"0 1 0 0 0 # 1 2 3\n# x\n10 3 1 O 0\n", "line 3: progress \"O\" is not a number"},
        {"-5 1 0 0 0\n", "line 1: time \"-5\" is not a number"},
        {"0 256 0 0 0\n", "line 1: state 256 is out of range (0 to 255)"},
        {"0 1 0 0 0x1FFFFFFFF\n", "line 1: code 0x1FFFFFFFF is out of range (0 to 4294967295)"},
        {"100 1 0 0 0\n100 1 0 0 0\n99 1 0 0 0\n", "line 3: time 99 is before the previous step's time 100"},
        {"0 3 4 40 0x80000001 held\n", "line 1: unknown marker \"held\" (only \"hold\" is allowed)"},
        {"0 3 4 40 0x07FFFFFF hold\n", "line 1: hold needs an error code (above 0x07FFFFFF), not 0x07FFFFFF"},
    };
    for (const Case& c : cases) {
        Scenario steps = {ReadyStep()};
        std::string error;
        EXPECT_FALSE(ParseScenario(c.script, steps, error)) << c.script;
        EXPECT_EQ(c.error, error) << c.script;
        EXPECT_TRUE(steps.empty()) << c.script;
    }
}

TEST(BuiltInScenarios, JobRunsEveryPhaseInThePrintersOrder) {
    Scenario steps;
    ASSERT_TRUE(GetBuiltInScenario("job", steps));
    const std::vector<int> expected = {kPhaseNone,    kPhaseFeedIn,  kPhaseWaiting, kPhaseYellow,
                                       kPhaseWaiting, kPhaseMagenta, kPhaseWaiting, kPhaseCyan,
                                       kPhaseWaiting, kPhaseCoating, kPhaseFeedOut, kPhaseNone};
    EXPECT_EQ(expected, PhaseRuns(steps));
    EXPECT_EQ(kStateReady, steps.front().state);
    EXPECT_EQ(kStateReady, steps.back().state);
    EXPECT_EQ(nullptr, FindHold(steps));
    EXPECT_FALSE(GetBuiltInScenario("jobs", steps));
    EXPECT_EQ(kStateReady, steps.back().state) << "left as it was";
}

TEST(BuiltInScenarios, ErrorsStopTheJobWhereTheyArise) {
    struct Case {
        const char* name;
        std::uint32_t code;
        std::uint8_t phase;
        std::uint8_t progress;
        bool finishes; // the job goes on to the end after a Resume
    };
    const Case cases[] = {
        {"paper-out", 0x80000001, kPhaseYellow, 40, true},
        {"ribbon-jam", 0x80000010, kPhaseCyan, 60, true},
        {"card-error", 0x40000020, kPhaseWaiting, 0, false},
    };
    Scenario job;
    ASSERT_TRUE(GetBuiltInScenario("job", job));
    for (const Case& c : cases) {
        Scenario steps;
        ASSERT_TRUE(GetBuiltInScenario(c.name, steps)) << c.name;
        const ScenarioStep* pHold = FindHold(steps);
        ASSERT_NE(nullptr, pHold) << c.name;
        EXPECT_EQ(c.code, pHold->code) << c.name;
        EXPECT_EQ(c.phase, pHold->phase) << c.name;
        EXPECT_EQ(c.progress, pHold->progress) << c.name;
        // Apart from the error, the job is the plain one, to the end or up to the error.
        Scenario withoutHold = steps;
        withoutHold.erase(withoutHold.begin() + (pHold - steps.data()));
        EXPECT_EQ(c.finishes ? PhaseRuns(job).size() : 3u, PhaseRuns(withoutHold).size()) << c.name;
        EXPECT_EQ(c.finishes, steps.back().state == kStateReady && steps.back().phase == kPhaseNone)
            << c.name;
    }
}

TEST(ScenarioFile, ReadsAScriptAndNamesTheFileInErrors) {
    const std::string path = ::testing::TempDir() + "nysim_scenario_test.txt";
    struct Case {
        std::string content;
        bool ok;
        std::string error;
    };
    const Case cases[] = {
        {"0 1 0 0 0\n100 3 1 0 0\n", true, ""},
        {"0 1 0 0 0\n100 3 1 0\n", false,
         path + ": line 2: expected 5 fields (time state phase progress code) and an optional \"hold\", "
                "found 4"},
        {std::string("0 1 0 0 \0\x01\xff", 11), false, path + ": line 1: code \"???\" is not a number"},
        {"0 1 0 0 0\n" + std::string((1 << 20) - 10, '#'), true, ""},
        {"0 1 0 0 0\n" + std::string(1 << 20, '#'), false, path + ": larger than 1 MiB"},
    };
    for (const Case& c : cases) {
        {
            std::ofstream file(path, std::ios::binary);
            file << c.content;
        }
        Scenario steps;
        std::string error;
        EXPECT_EQ(c.ok, LoadScenarioFile(path, steps, error)) << c.error;
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(c.ok, !steps.empty()) << c.error;
    }
    std::remove(path.c_str());
    Scenario steps;
    std::string error;
    EXPECT_FALSE(LoadScenarioFile(path, steps, error));
    EXPECT_EQ(path + ": cannot be read", error);
}
