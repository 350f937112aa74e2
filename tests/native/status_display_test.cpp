// Status interpretation: which reports lead to which texts, timers and bars.
// The view writes each display operation as a line, text ids as numbers (0 for
// no text), and one SetProgress as one line: the task bar's colour, then each
// bar's position and percentage text, e.g. "Bars(yellow, task 40 40%, total 28 28%)".
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/format.h"
#include "monitor/device_status.h"
#include "monitor/record_status_source.h"
#include "monitor/status_display.h"
#include "tests/common/trace_capture.h"
#include "tests/native/status_entries.h"

namespace {

using Lines = std::vector<std::string>;

// What a printer reports: its status record, and whether its link is up.
class Report : public CRecordStatusSource {
public:
    Report(std::uint8_t nState, std::uint8_t nPhase, std::uint8_t nProgress, std::uint32_t dwCode,
           bool bConnected = true)
        : CRecordStatusSource(bConnected, Record(nState, nPhase, nProgress, dwCode)) {}
};
const auto Printing = [](int nPhase, int nProgress = 0) { return Report(3, nPhase, nProgress, 0); };
const auto Idle = [](int nState) { return Report(nState, 0, 0, 0); };
const auto Error = [](std::uint32_t dwCode) { return Report(1, 0, 0, dwCode); };

class CRecordingView : public CStatusView {
public:
    void ShowNotConnected() override { Add("ShowNotConnected()"); }
    void ShowError(StringId a, StringId b) override { Add(Format("ShowError(%u, %u)", a, b)); }
    void ShowStatus(StringId a, StringId b, StringId c) override {
        Add(Format("ShowStatus(%u, %u, %u)", a, b, c));
    }
    void ShowPrinting(StringId a) override { Add(Format("ShowPrinting(%u)", a)); }
    void StartTimer(std::uint32_t nId, std::uint32_t nMs) override {
        Add(Format("StartTimer(%u, %u)", nId, nMs));
    }
    void StopTimer(std::uint32_t nId) override { Add(Format("StopTimer(%u)", nId)); }
    void SetTaskBarColour(Colour cr) override { // as 0x00BBGGRR
        const std::map<Colour, const char*> names = {{0x008000, "green"},
                                                     {0x00FFFF, "yellow"},
                                                     {0xFF00FF, "magenta"},
                                                     {0xFFFF00, "cyan"},
                                                     {0x004080, "brown"}};
        Add(std::string("Bars(") + (names.count(cr) ? names.at(cr) : "another colour"));
    }
    void SetTaskPos(std::int32_t nPos) override { Extend(Format(", task %d", m_nTask = nPos)); }
    std::int32_t GetTaskPos() const override { return m_nTask; }
    void SetTaskPercentText(const std::string& strText) override { Extend(" " + strText); }
    void SetTotalPos(std::int32_t nPos) override { Extend(Format(", total %d", m_nTotal = nPos)); }
    std::int32_t GetTotalPos() const override { return m_nTotal; }
    void SetTotalPercentText(const std::string& strText) override { Extend(" " + strText + ")"); }

    Lines m_lines;

private:
    void Add(const std::string& strLine) { m_lines.push_back(strLine); }
    void Extend(const std::string& strText) {
        if (m_lines.empty())
            m_lines.emplace_back();
        m_lines.back() += strText;
    }

    std::int32_t m_nTask = 0;
    std::int32_t m_nTotal = 0;
};

Lines Show(CStatusDisplay& display, const Report& report) {
    CRecordingView view;
    EXPECT_EQ(1, display.Display(report, view));
    return view.m_lines;
}

// The task bar after the paper feed, creeping while the printer waits.
std::string Creeping(int nTask) {
    return Format("Bars(green, task %d %d%%, total %d %d%%)", nTask, nTask, nTask / 5, nTask / 5);
}

const char* const kReady = "ShowStatus(109, 136, 0)";
const Lines kFeedIn = {"ShowPrinting(119)", "Bars(green, task 0 0%, total 0 0%)", "StartTimer(2, 5000)"};

} // namespace

// Each report to a fresh window, then sequences of reports to one window. A
// report of an unknown device state shows nothing and is traced.
TEST(StatusDisplay, ReportsToAFreshWindowAndInSequence) {
    // The status code, then the state text and the advice text shown: the
    // highest class bit chooses the table, the first of its bits set in table
    // order the row, and a code without a known bit the table's unknown texts.
    const std::uint32_t kErrors[][3] = {
        {0x80000009, 125, 130}, {0x80000000, 111, 129}, {0x87FFE000, 111, 129}, {0xC0000001, 125, 130},
        {0x88000008, 127, 222}, {0x60000180, 202, 207}, {0x30000002, 209, 132}, {0x2000000C, 210, 132},
        {0x20000010, 212, 132}, {0x10000000, 215, 132}, {0x08000002, 217, 132}, {0x08000000, 218, 132}};
    struct Step {
        Report report;
        Lines shown;
    };
    const char* const kInitialising = "ShowStatus(116, 138, 133)";
    const Step fresh[] = {
        {Idle(0), {kInitialising}},
        {Idle(21), {kInitialising}},
        {Error(0x07FFFFFF), {kReady}}, // no error below the class bits
        {{1, 4, 50, 0}, {kReady}},     // ready in a phase that finishes no sheet
        {Idle(6), {}},
        {{1, 0, 0, 0x80000001, false}, {"ShowNotConnected()"}},
        // A job in progress (the sequences below show the feed and the yellow and magenta passes).
        {Printing(0), {"ShowPrinting(0)"}},
        {Printing(2, 255), {"ShowPrinting(120)", "Bars(cyan, task 255 100%, total 111 100%)"}},
        {Printing(5, 99), {"ShowPrinting(123)", "Bars(brown, task 99 99%, total 99 99%)"}},
        {Printing(8, 40), {"ShowPrinting(0)"}},
    };
    // After the paper feed the task bar creeps by 5 per refresh up to 100;
    // the yellow pass then starts at its own percentage.
    std::vector<Step> creep = {{Printing(1), kFeedIn}};
    for (int nTask = 5; nTask <= 100; nTask += 5)
        creep.push_back({Printing(7), {Creeping(nTask), "ShowPrinting(156)"}});
    creep.push_back({Printing(7), {"ShowPrinting(156)"}});
    creep.push_back(
        {Printing(4, 30), {"StopTimer(2)", "ShowPrinting(122)", "Bars(yellow, task 30 30%, total 26 26%)"}});
    creep.push_back({Printing(7), {"ShowPrinting(146)"}});

    std::vector<std::pair<std::string, std::vector<Step>>> sequences = {
        // Phase 7 is the heating before the job's yellow pass, the cooling after
        // it: only a ready report (or a paper feed) starts a job.
        {"phase 7 before the first pass",
         {{Printing(7), {"ShowPrinting(146)"}},
          {Idle(2), {"ShowStatus(112, 137, 0)"}},
          {Printing(7), {"ShowPrinting(146)"}},
          {Idle(1), {kReady}},
          {Error(0x80000002), {"ShowError(126, 131)"}},
          {Printing(7), {"ShowPrinting(156)"}}}},
        {"the creep up to 100", creep},
        // Errors, idle, unknown and unplugged reports leave the job's state
        // alone; any other phase creeps once before its own layout.
        {"the creep through other reports",
         {{Printing(1), kFeedIn},
          {Error(0x80000001), {"ShowError(125, 130)"}},
          {Idle(1), {kReady}},
          {Idle(6), {}},
          {{3, 7, 0, 0, false}, {"ShowNotConnected()"}},
          {Printing(0), {Creeping(5), "ShowPrinting(0)"}},
          {Printing(1), {Creeping(10), kFeedIn[0], kFeedIn[1], kFeedIn[2]}},
          {Printing(3, 50), {Creeping(5), "ShowPrinting(121)", "Bars(magenta, task 50 50%, total 50 50%)"}},
          {Printing(7), {"ShowPrinting(156)"}},
          {Printing(1), kFeedIn}, // a sheet ejected right after the feed
          {Printing(6), {Creeping(5), "ShowPrinting(124)", "Bars(green, task 100 100%, total 120 100%)"}},
          {Printing(7), {"ShowPrinting(156)"}}}},
    };
    for (const Step& step : fresh)
        sequences.push_back({"a fresh window", {step}});
    for (const auto& c : kErrors)
        sequences.push_back(
            {Format("error %08X", c[0]), {{Error(c[0]), {Format("ShowError(%u, %u)", c[1], c[2])}}}});
    for (const auto& [strWhat, steps] : sequences) {
        CStatusDisplay display;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(Format("%s, report %zu: state %d phase %d", strWhat.c_str(), i + 1,
                                steps[i].report.GetDeviceState(), steps[i].report.GetPrintPhase()));
            CTraceCapture trace;
            EXPECT_EQ(steps[i].shown, Show(display, steps[i].report));
            EXPECT_EQ(steps[i].report.GetDeviceState() == 6,
                      trace.Count("CDevice::Display() : Unknown device state 6\n"));
        }
    }
}
