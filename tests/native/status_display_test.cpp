// Status interpretation: which status record leads to which texts,
// timers and progress bars. The fake view writes each display operation as a
// line, every text id with its English text, e.g.
//   ShowError(125 'Out of paper', 130 'Please insert paper sheet')
// and the bar operations as TaskColour(..), SetTaskPos(..), TaskText(..),
// SetTotalPos(..), TotalText(..). Its bars keep any position they are given
// unless a test narrows their range, so the clamping seen in the texts is
// Display's own.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "monitor/status_display.h"
#include "tests/common/trace_capture.h"
#include "tests/native/fake_status_source.h"
#include "tests/native/fake_status_view.h"

namespace {

using Calls = std::vector<std::string>;
using Lines = std::vector<std::string>;

// A connected printer that reports a record with these fields.
CFakeStatusSource Record(std::uint8_t nState, std::uint8_t nPhase, std::uint8_t nProgress,
                         std::uint32_t dwCode) {
    return CFakeStatusSource(nState, nPhase, nProgress, dwCode);
}
// Device state 3 (printing) in a phase.
CFakeStatusSource Printing(std::uint8_t nPhase, std::uint8_t nProgress = 0) {
    return Record(3, nPhase, nProgress, 0);
}
// Not printing, no error.
CFakeStatusSource Idle(std::uint8_t nState) {
    return Record(nState, 0, 0, 0);
}
// An error reported by a ready printer.
CFakeStatusSource Error(std::uint32_t dwCode) {
    return Record(1, 0, 0, dwCode);
}

std::string Trace(std::uint8_t nPhase) {
    return "Impression en cours ; Status = " + std::to_string(nPhase) + "\n";
}

// The three members Display keeps, for comparing in one go.
struct Members {
    int nLastPhase;
    int nFeedProgress;
    bool bBeforeFirstPass;
    bool operator==(const Members& o) const {
        return nLastPhase == o.nLastPhase && nFeedProgress == o.nFeedProgress &&
               bBeforeFirstPass == o.bBeforeFirstPass;
    }
};

std::ostream& operator<<(std::ostream& os, const Members& m) {
    return os << "{last phase " << m.nLastPhase << ", feed progress " << m.nFeedProgress
              << ", before first pass " << m.bBeforeFirstPass << "}";
}

Members MembersOf(const CStatusDisplay& display) {
    return {display.GetLastPhase(), display.GetFeedProgress(), display.IsBeforeFirstPass()};
}

// Runs Display once on a fresh view and returns what it showed.
Calls Show(CStatusDisplay& display, const CStatusSource& source) {
    CFakeStatusView view;
    EXPECT_EQ(1, display.Display(source, view));
    return view.TakeCalls();
}

} // namespace

// ---------------------------------------------------------------------------
// Errors: the class comes from IsError, the first detail bit set decides.

TEST(StatusDisplayErrors, EachClassAndBitInOrder) {
    struct Case {
        std::uint32_t dwCode;
        const char* pszShown;
    } const cases[] = {
        // Printer and mechanism (0x80000000).
        {0x80000001, "ShowError(125 'Out of paper', 130 'Please insert paper sheet')"},
        {0x80000002, "ShowError(126 'Ribbon fault', 131 'Check the ribbon')"},
        {0x80000004, "ShowError(126 'Ribbon fault', 131 'Check the ribbon')"},
        {0x80000008, "ShowError(127 'Paper jam', 222 'Please remove the sheet from the printer')"},
        {0x80000010, "ShowError(140 'The ribbon is jammed', 131 'Check the ribbon')"},
        {0x80000020,
         "ShowError(142 'Print heads are too hot', 143 'Please wait for the printer to cool down')"},
        {0x80000040, "ShowError(128 'Mechanical issue', 132 'Need manual intervention')"},
        {0x80000080, "ShowError(144 'Internal error', 145 'Please restart the printer and try again')"},
        {0x80000100, "ShowError(150 'The ribbon is not installed correctly', 131 'Check the ribbon')"},
        {0x80000200,
         "ShowError(157 'The ribbon is over', 158 'Change ribbon and insert ribbon parameter card')"},
        {0x80000400, "ShowError(193 'Printer cover is open', 132 'Need manual intervention')"},
        {0x80000800, "ShowError(194 'Printer is not ready', 133 'Please wait...')"},
        {0x80001000, "ShowError(220 'Connection lost', 221 'Check connection with the printer')"},
        {0x80000000, "ShowError(111 'Error', 129 'Unknown error')"},
        {0x80002000, "ShowError(111 'Error', 129 'Unknown error')"},
        {0x87FFE000, "ShowError(111 'Error', 129 'Unknown error')"},
        // ... the first bit set wins.
        {0x80000009, "ShowError(125 'Out of paper', 130 'Please insert paper sheet')"},
        {0x80000006, "ShowError(126 'Ribbon fault', 131 'Check the ribbon')"},
        {0x80000018, "ShowError(127 'Paper jam', 222 'Please remove the sheet from the printer')"},
        {0x80001FF0, "ShowError(140 'The ribbon is jammed', 131 'Check the ribbon')"},
        {0x80001800, "ShowError(194 'Printer is not ready', 133 'Please wait...')"},
        {0x80003000, "ShowError(220 'Connection lost', 221 'Check connection with the printer')"},
        {0x80001FFF, "ShowError(125 'Out of paper', 130 'Please insert paper sheet')"},
        // ... and the highest class bit wins.
        {0xC0000001, "ShowError(125 'Out of paper', 130 'Please insert paper sheet')"},
        {0x88000008, "ShowError(127 'Paper jam', 222 'Please remove the sheet from the printer')"},

        // Consumable card (0x40000000): advice always 207.
        {0x40000001,
         "ShowError(195 'Consumable not compliant (colorimetric tables)', 207 'Check Consumable Card')"},
        {0x40000002, "ShowError(196 'Consumable not compliant (brand)', 207 'Check Consumable Card')"},
        {0x40000004,
         "ShowError(197 'Consumable not compliant (mechanical part)', 207 'Check Consumable Card')"},
        {0x40000008, "ShowError(198 'Consumable not compliant (ribbon)', 207 'Check Consumable Card')"},
        {0x40000010, "ShowError(199 'Consumable not compliant (printer)', 207 'Check Consumable Card')"},
        {0x40000020, "ShowError(200 'Unreadable consumable card', 207 'Check Consumable Card')"},
        {0x40000040, "ShowError(201 'Unknown consumable card', 207 'Check Consumable Card')"},
        {0x40000080, "ShowError(202 'Already used consumable card', 207 'Check Consumable Card')"},
        {0x40000100, "ShowError(203 'Consumable counter limit reached', 207 'Check Consumable Card')"},
        {0x40000200, "ShowError(204 'Consumable card transfer error', 207 'Check Consumable Card')"},
        {0x40000400, "ShowError(206 'Already used master card', 207 'Check Consumable Card')"},
        {0x40000000, "ShowError(205 'Unknown consumable card error', 207 'Check Consumable Card')"},
        {0x40000800, "ShowError(205 'Unknown consumable card error', 207 'Check Consumable Card')"},
        {0x40000003,
         "ShowError(195 'Consumable not compliant (colorimetric tables)', 207 'Check Consumable Card')"},
        {0x40000600, "ShowError(204 'Consumable card transfer error', 207 'Check Consumable Card')"},
        {0x60000180, "ShowError(202 'Already used consumable card', 207 'Check Consumable Card')"},

        // System (0x20000000): low byte only, advice always 132.
        {0x20000001, "ShowError(208 'System error (initialization)', 132 'Need manual intervention')"},
        {0x20000002, "ShowError(209 'System error (memory)', 132 'Need manual intervention')"},
        {0x20000004, "ShowError(210 'System error (file)', 132 'Need manual intervention')"},
        {0x20000008, "ShowError(211 'System error (memory card)', 132 'Need manual intervention')"},
        {0x20000000, "ShowError(212 'Unknown system error', 132 'Need manual intervention')"},
        {0x20000010, "ShowError(212 'Unknown system error', 132 'Need manual intervention')"},
        {0x20000100, "ShowError(212 'Unknown system error', 132 'Need manual intervention')"},
        {0x2000000F, "ShowError(208 'System error (initialization)', 132 'Need manual intervention')"},
        {0x2000000C, "ShowError(210 'System error (file)', 132 'Need manual intervention')"},
        {0x30000002, "ShowError(209 'System error (memory)', 132 'Need manual intervention')"},

        // File (0x10000000).
        {0x10000001, "ShowError(213 'File corrupted', 132 'Need manual intervention')"},
        {0x10000002, "ShowError(214 'File format not supported', 132 'Need manual intervention')"},
        {0x10000003, "ShowError(213 'File corrupted', 132 'Need manual intervention')"},
        {0x10000004, "ShowError(215 'Unknown file error', 132 'Need manual intervention')"},
        {0x10000000, "ShowError(215 'Unknown file error', 132 'Need manual intervention')"},
        {0x18000002, "ShowError(214 'File format not supported', 132 'Need manual intervention')"},

        // Wireless transfer (0x08000000).
        {0x08000001, "ShowError(216 'Wireless transfer error', 132 'Need manual intervention')"},
        {0x08000002, "ShowError(217 'Wireless file too big', 132 'Need manual intervention')"},
        {0x08000003, "ShowError(216 'Wireless transfer error', 132 'Need manual intervention')"},
        {0x08000008, "ShowError(218 'Unknown wireless error', 132 'Need manual intervention')"},
        {0x08000000, "ShowError(218 'Unknown wireless error', 132 'Need manual intervention')"},
        {0x08000102, "ShowError(217 'Wireless file too big', 132 'Need manual intervention')"},
    };
    for (const Case& c : cases) {
        CStatusDisplay display;
        EXPECT_EQ(Calls{c.pszShown}, Show(display, Error(c.dwCode))) << std::hex << "code 0x" << c.dwCode;
    }
}

TEST(StatusDisplayErrors, BelowTheClassBitsIsNoError) {
    CStatusDisplay display;
    EXPECT_EQ(Calls{"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}, Show(display, Error(0x07FFFFFF)));
}

TEST(StatusDisplayErrors, UnknownClassShowsErrorUnknownError) {
    // No device reports these; a source whose IsError says TRUE with a class
    // outside the five (or leaves the preset 0xF8000000) gets the generic texts.
    struct Case {
        const char* pszWhat;
        std::optional<std::uint32_t> dwClass;
        std::uint32_t dwCode;
        const char* pszShown;
    } const cases[] = {
        {"class left at its preset", std::nullopt, 0x00000001, "ShowError(111 'Error', 129 'Unknown error')"},
        {"class below the five", 0x04000000, 0x00000001, "ShowError(111 'Error', 129 'Unknown error')"},
        {"two class bits", 0xC0000000, 0x00000001, "ShowError(111 'Error', 129 'Unknown error')"},
        {"class zero", 0x00000000, 0x80000001, "ShowError(111 'Error', 129 'Unknown error')"},
        // The class is IsError's, the detail bits are GetStatusCode's.
        {"printer class on a bare code", 0x80000000, 0x00000008,
         "ShowError(127 'Paper jam', 222 'Please remove the sheet from the printer')"},
    };
    for (const Case& c : cases) {
        CFakeStatusSource source = Idle(1);
        source.m_record.SetStatusCode(c.dwCode);
        source.m_bForceError = true;
        source.m_dwForcedClass = c.dwClass;
        CStatusDisplay display;
        EXPECT_EQ(Calls{c.pszShown}, Show(display, source)) << c.pszWhat;
    }
}

TEST(StatusDisplayErrors, ErrorWinsOverPrintingAndLeavesTheJobState) {
    CTraceCapture trace;
    CStatusDisplay display;
    Show(display, Printing(3, 50));
    const Members before = MembersOf(display);
    trace.Clear();

    EXPECT_EQ(Calls{"ShowError(125 'Out of paper', 130 'Please insert paper sheet')"},
              Show(display, Record(3, 3, 60, 0x80000001)));
    EXPECT_EQ(Lines{}, trace.Lines());
    EXPECT_EQ(before, MembersOf(display));
}

// ---------------------------------------------------------------------------
// Not connected.

TEST(StatusDisplayNotConnected, WinsOverAnErrorAndOverPrinting) {
    struct Case {
        const char* pszWhat;
        CFakeStatusSource source;
    } cases[] = {
        {"error in the last record", Error(0x80000001)},
        {"printing in the last record", Printing(4, 30)},
        {"idle", Idle(1)},
        {"unknown state", Idle(6)},
    };
    for (Case& c : cases) {
        CTraceCapture trace;
        c.source.m_bConnected = false;
        CStatusDisplay display;
        display.SetBeforeFirstPass(true);
        display.SetFeedProgress(35);
        EXPECT_EQ(Calls{"ShowNotConnected()"}, Show(display, c.source)) << c.pszWhat;
        EXPECT_EQ(Lines{}, trace.Lines()) << c.pszWhat;
        EXPECT_EQ((Members{0, 35, true}), MembersOf(display)) << c.pszWhat;
        EXPECT_EQ((Lines{"IsConnected"}), c.source.m_calls) << c.pszWhat;
    }
}

// ---------------------------------------------------------------------------
// Idle: not printing, no error; the device state decides.

TEST(StatusDisplayIdle, EachDeviceState) {
    const char* const kInitialising =
        "ShowStatus(116 'Initializing', 138 'Device initialization', 133 'Please wait...')";
    struct Case {
        std::uint8_t nState;
        std::uint8_t nPhase;
        Calls shown;
        Lines trace;
        bool bBeforeFirstPass; // afterwards, starting from FALSE
    } const cases[] = {
        {0, 0, {kInitialising}, {}, false},
        {1, 0, {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}, {}, true},
        {2, 0, {"ShowStatus(112 'Busy', 137 'Printer in use', 0)"}, {}, false},
        {4, 0, {kInitialising}, {}, false},
        {5, 0, {kInitialising}, {}, false},
        {20, 0, {kInitialising}, {}, false},
        {21, 0, {kInitialising}, {}, false},
        // Ready in a phase that is no longer finishing a sheet.
        {1, 1, {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}, {}, true},
        {1, 3, {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}, {}, true},
        {1, 4, {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}, {}, true},
        // Unknown states: logged, nothing shown.
        {6, 0, {}, {"CDevice::Display() : Unknown device state 6\n"}, false},
        {7, 0, {}, {"CDevice::Display() : Unknown device state 7\n"}, false},
        {18, 0, {}, {"CDevice::Display() : Unknown device state 18\n"}, false},
        {22, 0, {}, {"CDevice::Display() : Unknown device state 22\n"}, false},
        {255, 0, {}, {"CDevice::Display() : Unknown device state 255\n"}, false},
        // States 3 and 19, and ready while finishing a sheet, are printing.
        {3, 0, {"ShowPrinting(0)"}, {Trace(0)}, false},
        {19, 0, {"ShowPrinting(0)"}, {Trace(0)}, false},
        {1, 7, {"ShowPrinting(146 'Wait for the printer to cool down...')"}, {Trace(7)}, false},
    };
    for (const Case& c : cases) {
        CTraceCapture trace;
        CStatusDisplay display;
        EXPECT_EQ(c.shown, Show(display, Record(c.nState, c.nPhase, 0, 0)))
            << "state " << int(c.nState) << " phase " << int(c.nPhase);
        EXPECT_EQ(c.trace, trace.Lines()) << "state " << int(c.nState) << " phase " << int(c.nPhase);
        EXPECT_EQ(c.bBeforeFirstPass, display.IsBeforeFirstPass()) << "state " << int(c.nState);
    }
}

TEST(StatusDisplayIdle, UnknownStateKeepsTheLayoutAndTheMembers) {
    CTraceCapture trace;
    CStatusDisplay display;
    Show(display, Printing(1));
    Show(display, Printing(7));
    const Members before = MembersOf(display);
    trace.Clear();

    CFakeStatusView view;
    EXPECT_EQ(1, display.Display(Idle(6), view));
    EXPECT_EQ(Calls{}, view.m_calls);
    EXPECT_EQ(Lines{"CDevice::Display() : Unknown device state 6\n"}, trace.Lines());
    EXPECT_EQ(before, MembersOf(display));
}

// ---------------------------------------------------------------------------
// Printing: each phase from a fresh window (last phase 0, feed progress 0,
// not before the first pass). Device state 3; the record's progress is 40.

TEST(StatusDisplayPrinting, EachPhaseWithItsCallsInOrder) {
    struct Case {
        std::uint8_t nPhase;
        Calls shown;
        Members after;
    } const cases[] = {
        {0, {"ShowPrinting(0)"}, {0, 0, false}},
        {1,
         {"ShowPrinting(119 'Paper feed in')", "TaskColour(green)", "SetTaskPos(0)", "TaskText(0%)",
          "SetTotalPos(0)", "TotalText(0%)", "StartTimer(2, 5000)"},
         {1, 0, true}},
        {4,
         {"StopTimer(2)", "ShowPrinting(122 'Yellow printing...')", "TaskColour(yellow)", "SetTaskPos(40)",
          "TaskText(40%)", "SetTotalPos(28)", "TotalText(28%)"},
         {4, 0, false}},
        {3,
         {"ShowPrinting(121 'Magenta printing...')", "TaskColour(magenta)", "SetTaskPos(40)", "TaskText(40%)",
          "SetTotalPos(48)", "TotalText(48%)"},
         {3, 0, false}},
        {2,
         {"ShowPrinting(120 'Cyan printing...')", "TaskColour(cyan)", "SetTaskPos(40)", "TaskText(40%)",
          "SetTotalPos(68)", "TotalText(68%)"},
         {2, 0, false}},
        {5,
         {"ShowPrinting(123 'Coating...')", "TaskColour(brown)", "SetTaskPos(40)", "TaskText(40%)",
          "SetTotalPos(88)", "TotalText(88%)"},
         {5, 0, false}},
        // Feed out ignores the record's progress; its total is 120, shown as 100%.
        {6,
         {"ShowPrinting(124 'Paper feed out')", "TaskColour(green)", "SetTaskPos(100)", "TaskText(100%)",
          "SetTotalPos(120)", "TotalText(100%)"},
         {6, 0, false}},
        {7, {"ShowPrinting(146 'Wait for the printer to cool down...')"}, {0, 0, false}},
        {8, {"ShowPrinting(0)"}, {0, 0, false}},
        {255, {"ShowPrinting(0)"}, {0, 0, false}},
    };
    for (const Case& c : cases) {
        CTraceCapture trace;
        CStatusDisplay display;
        EXPECT_EQ(c.shown, Show(display, Printing(c.nPhase, 40))) << "phase " << int(c.nPhase);
        EXPECT_EQ(Lines{Trace(c.nPhase)}, trace.Lines()) << "phase " << int(c.nPhase);
        EXPECT_EQ(c.after, MembersOf(display)) << "phase " << int(c.nPhase);
    }
}

TEST(StatusDisplayPrinting, PhaseSevenSaysInitializingBeforeTheFirstPassElseCoolDown) {
    const char* const kInitialising = "ShowPrinting(156 'Initializing')";
    const char* const kCoolDown = "ShowPrinting(146 'Wait for the printer to cool down...')";
    struct Case {
        const char* pszWhat;
        std::vector<CFakeStatusSource> earlier;
        const char* pszShown;
    } const cases[] = {
        {"fresh window", {}, kCoolDown},
        {"after a ready report", {Idle(1)}, kInitialising},
        {"after a busy report", {Idle(2)}, kCoolDown},
        {"after the yellow pass began", {Idle(1), Printing(4, 10)}, kCoolDown},
        {"after a later pass only", {Idle(1), Printing(2, 10)}, kInitialising},
        {"after feed out of a job", {Printing(1), Printing(4), Printing(6)}, kCoolDown},
        {"ready again after a job", {Printing(1), Printing(4), Printing(6), Idle(1)}, kInitialising},
    };
    for (const Case& c : cases) {
        CStatusDisplay display;
        for (const CFakeStatusSource& earlier : c.earlier)
            Show(display, earlier);
        EXPECT_EQ(Calls{c.pszShown}, Show(display, Printing(7))) << c.pszWhat;
    }
}

// ---------------------------------------------------------------------------
// The creep: after a feed-in, every refresh in any phase but 4 adds 5 to the
// task bar until 100; a new feed-in puts it back to 0; phase 4 stops it.

TEST(StatusDisplayCreep, FeedInThenWaitingCreepsByFiveUpToOneHundred) {
    CTraceCapture trace;
    CStatusDisplay display;
    EXPECT_EQ((Calls{"ShowPrinting(119 'Paper feed in')", "TaskColour(green)", "SetTaskPos(0)",
                     "TaskText(0%)", "SetTotalPos(0)", "TotalText(0%)", "StartTimer(2, 5000)"}),
              Show(display, Printing(1)));
    EXPECT_EQ((Members{1, 0, true}), MembersOf(display));

    // The first two refreshes in phase 7, written out.
    EXPECT_EQ((Calls{"TaskColour(green)", "SetTaskPos(5)", "TaskText(5%)", "SetTotalPos(1)", "TotalText(1%)",
                     "ShowPrinting(156 'Initializing')"}),
              Show(display, Printing(7)));
    EXPECT_EQ((Members{1, 5, true}), MembersOf(display));
    EXPECT_EQ((Calls{"TaskColour(green)", "SetTaskPos(10)", "TaskText(10%)", "SetTotalPos(2)",
                     "TotalText(2%)", "ShowPrinting(156 'Initializing')"}),
              Show(display, Printing(7)));

    // Then 15, 20, ... 100: the total is a fifth of the task, truncated.
    for (int nTask = 15; nTask <= 100; nTask += 5) {
        const int nTotal = nTask / 5;
        const Calls expected = {"TaskColour(green)",
                                "SetTaskPos(" + std::to_string(nTask) + ")",
                                "TaskText(" + std::to_string(nTask) + "%)",
                                "SetTotalPos(" + std::to_string(nTotal) + ")",
                                "TotalText(" + std::to_string(nTotal) + "%)",
                                "ShowPrinting(156 'Initializing')"};
        EXPECT_EQ(expected, Show(display, Printing(7))) << "task " << nTask;
        EXPECT_EQ((Members{1, nTask, true}), MembersOf(display));
    }

    // At 100 the creep stops; the bars stay where they are.
    EXPECT_EQ(Calls{"ShowPrinting(156 'Initializing')"}, Show(display, Printing(7)));
    EXPECT_EQ((Members{1, 100, true}), MembersOf(display));

    // The yellow pass starts at its own percentage, stops the feed timer and
    // the creep.
    EXPECT_EQ((Calls{"StopTimer(2)", "ShowPrinting(122 'Yellow printing...')", "TaskColour(yellow)",
                     "SetTaskPos(30)", "TaskText(30%)", "SetTotalPos(26)", "TotalText(26%)"}),
              Show(display, Printing(4, 30)));
    EXPECT_EQ((Members{4, 0, false}), MembersOf(display));
    EXPECT_EQ(Calls{"ShowPrinting(146 'Wait for the printer to cool down...')"}, Show(display, Printing(7)));

    // Every printing refresh is traced with its phase: 1, 7 x 21, 4, 7.
    Lines expectedTrace{Trace(1)};
    expectedTrace.insert(expectedTrace.end(), 21, Trace(7));
    expectedTrace.push_back(Trace(4));
    expectedTrace.push_back(Trace(7));
    EXPECT_EQ(expectedTrace, trace.Lines());
}

TEST(StatusDisplayCreep, WhichReportsCreep) {
    // Each row: a feed-in report, then one report; the row gives the calls of
    // the second report.
    struct Case {
        const char* pszWhat;
        CFakeStatusSource second;
        Calls shown;
        Members after;
    } const cases[] = {
        {"phase 7 creeps",
         Printing(7),
         {"TaskColour(green)", "SetTaskPos(5)", "TaskText(5%)", "SetTotalPos(1)", "TotalText(1%)",
          "ShowPrinting(156 'Initializing')"},
         {1, 5, true}},
        {"phase 0 creeps",
         Printing(0),
         {"TaskColour(green)", "SetTaskPos(5)", "TaskText(5%)", "SetTotalPos(1)", "TotalText(1%)",
          "ShowPrinting(0)"},
         {1, 5, true}},
        {"phase 4 does not creep",
         Printing(4, 0),
         {"StopTimer(2)", "ShowPrinting(122 'Yellow printing...')", "TaskColour(yellow)", "SetTaskPos(0)",
          "TaskText(0%)", "SetTotalPos(20)", "TotalText(20%)"},
         {4, 0, false}},
        {"a repeated feed-in creeps, then starts again at 0",
         Printing(1),
         {"TaskColour(green)", "SetTaskPos(5)", "TaskText(5%)", "SetTotalPos(1)", "TotalText(1%)",
          "ShowPrinting(119 'Paper feed in')", "TaskColour(green)", "SetTaskPos(0)", "TaskText(0%)",
          "SetTotalPos(0)", "TotalText(0%)", "StartTimer(2, 5000)"},
         {1, 0, true}},
        {"another pass creeps before its own bars",
         Printing(3, 50),
         {"TaskColour(green)", "SetTaskPos(5)", "TaskText(5%)", "SetTotalPos(1)", "TotalText(1%)",
          "ShowPrinting(121 'Magenta printing...')", "TaskColour(magenta)", "SetTaskPos(50)", "TaskText(50%)",
          "SetTotalPos(50)", "TotalText(50%)"},
         {3, 5, true}},
        {"an error does not creep",
         Error(0x80000001),
         {"ShowError(125 'Out of paper', 130 'Please insert paper sheet')"},
         {1, 0, true}},
        {"a ready report does not creep",
         Idle(1),
         {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"},
         {1, 0, true}},
    };
    for (const Case& c : cases) {
        CStatusDisplay display;
        Show(display, Printing(1));
        EXPECT_EQ(c.shown, Show(display, c.second)) << c.pszWhat;
        EXPECT_EQ(c.after, MembersOf(display)) << c.pszWhat;
    }
}

TEST(StatusDisplayCreep, StartsFromTheFeedProgressTheWindowSets) {
    // The status window sets the feed progress to 0 at initialisation; any
    // value it holds is where the creep continues.
    CStatusDisplay display;
    Show(display, Printing(1));
    display.SetFeedProgress(97);
    EXPECT_EQ((Calls{"TaskColour(green)", "SetTaskPos(102)", "TaskText(100%)", "SetTotalPos(20)",
                     "TotalText(20%)", "ShowPrinting(156 'Initializing')"}),
              Show(display, Printing(7)));
    EXPECT_EQ(102, display.GetFeedProgress());
    EXPECT_EQ(Calls{"ShowPrinting(156 'Initializing')"}, Show(display, Printing(7)));
}

// ---------------------------------------------------------------------------
// One whole job, report by report.

TEST(StatusDisplayPrinting, OneJobReportByReport) {
    struct Step {
        const char* pszReport;
        CFakeStatusSource source;
        Calls shown;
    } const steps[] = {
        {"ready", Idle(1), {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}},
        {"feed in",
         Printing(1),
         {"ShowPrinting(119 'Paper feed in')", "TaskColour(green)", "SetTaskPos(0)", "TaskText(0%)",
          "SetTotalPos(0)", "TotalText(0%)", "StartTimer(2, 5000)"}},
        {"heating",
         Printing(7),
         {"TaskColour(green)", "SetTaskPos(5)", "TaskText(5%)", "SetTotalPos(1)", "TotalText(1%)",
          "ShowPrinting(156 'Initializing')"}},
        {"yellow 0%",
         Printing(4, 0),
         {"StopTimer(2)", "ShowPrinting(122 'Yellow printing...')", "TaskColour(yellow)", "SetTaskPos(0)",
          "TaskText(0%)", "SetTotalPos(20)", "TotalText(20%)"}},
        {"yellow 99%",
         Printing(4, 99),
         {"StopTimer(2)", "ShowPrinting(122 'Yellow printing...')", "TaskColour(yellow)", "SetTaskPos(99)",
          "TaskText(99%)", "SetTotalPos(39)", "TotalText(39%)"}},
        {"cooling between passes", Printing(7), {"ShowPrinting(146 'Wait for the printer to cool down...')"}},
        {"magenta 50%",
         Printing(3, 50),
         {"ShowPrinting(121 'Magenta printing...')", "TaskColour(magenta)", "SetTaskPos(50)", "TaskText(50%)",
          "SetTotalPos(50)", "TotalText(50%)"}},
        {"cyan 100%",
         Printing(2, 100),
         {"ShowPrinting(120 'Cyan printing...')", "TaskColour(cyan)", "SetTaskPos(100)", "TaskText(100%)",
          "SetTotalPos(80)", "TotalText(80%)"}},
        {"coating 33%, ready but finishing",
         Record(1, 5, 33, 0),
         {"ShowPrinting(123 'Coating...')", "TaskColour(brown)", "SetTaskPos(33)", "TaskText(33%)",
          "SetTotalPos(86)", "TotalText(86%)"}},
        {"feed out, state 19",
         Record(19, 6, 0, 0),
         {"ShowPrinting(124 'Paper feed out')", "TaskColour(green)", "SetTaskPos(100)", "TaskText(100%)",
          "SetTotalPos(120)", "TotalText(100%)"}},
        {"ready", Idle(1), {"ShowStatus(109 'Ready', 136 'Waiting for a job', 0)"}},
    };
    CTraceCapture trace;
    CStatusDisplay display;
    for (const Step& s : steps)
        EXPECT_EQ(s.shown, Show(display, s.source)) << s.pszReport;
    EXPECT_EQ(
        (Lines{Trace(1), Trace(7), Trace(4), Trace(4), Trace(7), Trace(3), Trace(2), Trace(5), Trace(6)}),
        trace.Lines());
    EXPECT_EQ((Members{6, 0, true}), MembersOf(display));
}

TEST(StatusDisplayPrinting, JobResumesAfterAnErrorFromThePhaseLastShown) {
    CStatusDisplay display;
    Show(display, Idle(1));
    Show(display, Printing(1));
    Show(display, Printing(4, 60));
    Show(display, Printing(3, 20));
    const Members before = MembersOf(display);
    EXPECT_EQ(Calls{"ShowError(126 'Ribbon fault', 131 'Check the ribbon')"},
              Show(display, Error(0x80000002)));
    EXPECT_EQ(before, MembersOf(display));
    EXPECT_EQ(Calls{"ShowPrinting(146 'Wait for the printer to cool down...')"}, Show(display, Printing(7)));
}

// ---------------------------------------------------------------------------
// What Display asks the device, in order.

TEST(StatusDisplaySource, ReadsTheDeviceInItsOrder) {
    struct Case {
        const char* pszWhat;
        CFakeStatusSource source;
        Lines asked;
    } cases[] = {
        {"error", Error(0x80000001), {"IsConnected", "GetStatusCode", "IsError(class preset 0xF8000000)"}},
        {"idle",
         Idle(1),
         {"IsConnected", "GetStatusCode", "IsError(class preset 0xF8000000)", "IsPrinting(no flag)",
          "GetDeviceState"}},
        {"pass with progress",
         Printing(3, 20),
         {"IsConnected", "GetStatusCode", "IsError(class preset 0xF8000000)", "IsPrinting(no flag)",
          "GetPrintPhase", "GetProgress"}},
        {"feed in",
         Printing(1),
         {"IsConnected", "GetStatusCode", "IsError(class preset 0xF8000000)", "IsPrinting(no flag)",
          "GetPrintPhase"}},
    };
    for (Case& c : cases) {
        CStatusDisplay display;
        Show(display, c.source);
        EXPECT_EQ(c.asked, c.source.m_calls) << c.pszWhat;
    }
}

// ---------------------------------------------------------------------------
// SetProgress on its own.

TEST(StatusDisplaySetProgress, BarColours) {
    EXPECT_EQ(0x00008000u, kBarGreen);
    EXPECT_EQ(0x0000FFFFu, kBarYellow);
    EXPECT_EQ(0x00FF00FFu, kBarMagenta);
    EXPECT_EQ(0x00FFFF00u, kBarCyan);
    EXPECT_EQ(0x00004080u, kBarBrown);
}

TEST(StatusDisplaySetProgress, TaskColourByStep) {
    struct Case {
        int nStep;
        const char* pszColour;
    } const cases[] = {
        {0, "TaskColour(green)"}, {1, "TaskColour(yellow)"}, {2, "TaskColour(magenta)"},
        {3, "TaskColour(cyan)"},  {4, "TaskColour(brown)"},  {5, "TaskColour(green)"},
        {6, "TaskColour(green)"}, {-1, "TaskColour(green)"},
    };
    for (const Case& c : cases) {
        CStatusDisplay display;
        CFakeStatusView view;
        display.SetProgress(view, c.nStep, 5, 10);
        ASSERT_FALSE(view.m_calls.empty());
        EXPECT_EQ(c.pszColour, view.m_calls.front()) << "step " << c.nStep;
    }
}

TEST(StatusDisplaySetProgress, ArithmeticTruncationAndClamping) {
    // total = (percent + 100 * step) * 100 / (100 * steps), signed, truncated.
    struct Case {
        int nStep, nSteps, nPercent;
        int nTaskPos;
        const char* pszTaskText;
        int nTotalPos;
        const char* pszTotalText;
    } const cases[] = {
        {0, 5, 0, 0, "0%", 0, "0%"},
        {1, 5, 50, 50, "50%", 30, "30%"},
        {1, 5, 33, 33, "33%", 26, "26%"}, // 26.6 truncated
        {4, 5, 99, 99, "99%", 99, "99%"}, // 99.8 truncated
        {4, 5, 100, 100, "100%", 100, "100%"},
        {5, 5, 100, 100, "100%", 120, "100%"}, // feed out: clamped text
        {0, 5, 4, 4, "4%", 0, "0%"},           // 0.8 truncated
        {2, 3, 0, 0, "0%", 66, "66%"},         // 66.6 truncated
        {0, 5, 150, 150, "100%", 30, "30%"},   // task above the range
        {0, 5, -7, -7, "0%", -1, "0%"},        // -1.4 truncates toward zero, not -2
        {0, 5, -600, -600, "0%", -120, "0%"},
        {3, 5, 255, 255, "100%", 111, "100%"}, // the largest progress byte
    };
    for (const Case& c : cases) {
        CStatusDisplay display;
        CFakeStatusView view;
        display.SetProgress(view, c.nStep, c.nSteps, c.nPercent);
        // The colour comes first (TaskColourByStep); then the bars and texts.
        const Calls expected = {
            "SetTaskPos(" + std::to_string(c.nTaskPos) + ")",
            std::string("TaskText(") + c.pszTaskText + ")",
            "SetTotalPos(" + std::to_string(c.nTotalPos) + ")",
            std::string("TotalText(") + c.pszTotalText + ")",
        };
        ASSERT_EQ(5u, view.m_calls.size());
        view.m_calls.erase(view.m_calls.begin());
        EXPECT_EQ(expected, view.m_calls)
            << "SetProgress(" << c.nStep << ", " << c.nSteps << ", " << c.nPercent << ")";
    }
}

TEST(StatusDisplaySetProgress, TextsShowThePositionReadBack) {
    // A bar keeps its position within its range (0..100 for the real bars);
    // the percentage shows what the bar holds, not what it was given.
    CStatusDisplay display;
    CFakeStatusView view;
    view.m_nBarMin = 10;
    view.m_nBarMax = 50;
    display.SetProgress(view, 1, 5, 80);
    EXPECT_EQ(
        (Calls{"TaskColour(yellow)", "SetTaskPos(80)", "TaskText(50%)", "SetTotalPos(36)", "TotalText(36%)"}),
        view.m_calls);
    view.TakeCalls();
    display.SetProgress(view, 0, 5, 0);
    EXPECT_EQ(
        (Calls{"TaskColour(green)", "SetTaskPos(0)", "TaskText(10%)", "SetTotalPos(0)", "TotalText(10%)"}),
        view.m_calls);
}

TEST(StatusDisplaySetProgress, LeavesTheMembersAlone) {
    CStatusDisplay display;
    CFakeStatusView view;
    display.SetProgress(view, 1, 5, 40);
    EXPECT_EQ((Members{0, 0, false}), MembersOf(display));
}

// ---------------------------------------------------------------------------
// The members and the result.

TEST(StatusDisplayMembers, InitialValuesAndSetters) {
    CStatusDisplay display;
    EXPECT_EQ((Members{0, 0, false}), MembersOf(display));
    display.SetBeforeFirstPass(true);
    display.SetFeedProgress(-3);
    EXPECT_EQ((Members{0, -3, true}), MembersOf(display));
}

TEST(StatusDisplayMembers, LastPhaseHasByteSemantics) {
    static_assert(sizeof(CStatusDisplay().GetLastPhase()) == 1, "m_nLastPhase is a BYTE");
    static_assert(sizeof(CStatusDisplay().GetFeedProgress()) == 4, "m_nFeedProgress is 32-bit");
    CStatusDisplay display;
    Show(display, Printing(5));
    EXPECT_EQ(5, display.GetLastPhase());
}
