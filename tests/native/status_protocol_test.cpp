// The status protocol's platform-free parts: the strict JSON reader and
// writer, the request parser and line reader, the answers made from board
// entries, the board's change history and listeners, and NyStatus.exe's exit
// codes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/json/json_text.h"
#include "monitor/status_answer.h"
#include "monitor/status_board.h"
#include "monitor/status_request.h"
#include "tests/native/status_entries.h"
#include "tools/nystatus/status_options.h"
#include "tools/nystatus/status_summary.h"

namespace {

// A signed USB printer of a known model, 40 % into its task and 28 % in all.
CStatusEntry Entry(const std::string& strName, std::uint8_t nState, std::uint8_t nPhase, std::uint32_t nCode,
                   bool bConnected = true) {
    CStatusEntry entry = EntryIn(strName, bConnected ? "idle" : "off");
    entry.record.SetProductId(0x58);
    entry.record.SetSerialNumber("NY0001");
    entry.record.SetDeviceState(nState);
    entry.record.SetPrintPhase(nPhase);
    entry.record.SetStatusCode(nCode);
    entry.nTask = 40;
    entry.nTotal = 28;
    return entry;
}

} // namespace

TEST(Json, ReadsAndRefusesStrictly) {
    const std::string strDeepest = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
    const std::pair<JsonError, std::vector<std::string>> kCases[] = {
        {JsonError::None,
         {R"({"a":[1,-2.5e3,true,false,null,"x"],"b":{}})", R"("\u00e9\ud83d\ude00\n\/")", " [ ] ",
          "\"\xC3\xA9\"", strDeepest}},
        // A cut sequence, an overlong one, a surrogate, above U+10FFFF, a byte never in UTF-8.
        {JsonError::InvalidUtf8,
         {"\"\xC3\"", "\"\xC0\xAF\"", "\"\xED\xA0\x80\"", "\"\xF4\x90\x80\x80\"", "\"\xFF\""}},
        // Lone high and low surrogates, a raw control character, then faults of form.
        {JsonError::Malformed,
         {R"("\ud83d")", R"("\ude00")", "\"a\tb\"", "{\"a\":1,}", "[1 2]", "01", "1.", "1e999", "{} {}", "",
          "tru", "{\"a\" 1}"}},
        {JsonError::TooDeep, {"[" + strDeepest + "]"}},
    };
    for (const auto& [error, texts] : kCases)
        for (const std::string& strText : texts) {
            CJsonValue value;
            EXPECT_EQ(error, ParseJson(strText, value)) << strText;
        }
    EXPECT_EQ("\xC3\xA9\xF0\x9F\x98\x80\n/", Parsed(R"("\u00e9\ud83d\ude00\n\/")").AsString());
}

TEST(Json, WritesEscapedAndReplacesInvalidUtf8) {
    CJsonValue object = CJsonValue::Object();
    object.Set("s", CJsonValue::String(std::string("q\"b\\\n\x01\x7F\xE2\x80\xA8\xC3\xA9", 12)))
        .Set("bad", CJsonValue::String("\xFFx"))
        .Set("n", CJsonValue::Number(4294967295.0))
        .Set("f", CJsonValue::Number(0.5))
        .Set("a", CJsonValue::Array().Push(CJsonValue()).Push(CJsonValue::Bool(true)));
    // That it reads back the same is checked by the status request fuzz target.
    EXPECT_EQ(R"({"s":"q\"b\\\u000a\u0001\u007f\u2028)"
              "\xC3\xA9"
              R"(","bad":"\ufffdx","n":4294967295,"f":0.5,"a":[null,true]})",
              WriteJson(object));
}

TEST(StatusRequest, ParsesTheThreeRequestsAndFindsEveryFault) {
    struct Case {
        std::string strLine;
        StatusFault fault;
        StatusRequestKind kind = StatusRequestKind::List;
        std::string strName = "";
    };
    const Case kCases[] = {
        {R"({"version":1,"request":"list"})", StatusFault::None},
        {R"({"request":"watch","version":1})", StatusFault::None, StatusRequestKind::Watch},
        {R"({"version":1,"request":"printer","name":"K \u00e9"})", StatusFault::None,
         StatusRequestKind::Printer, "K \xC3\xA9"},
        {R"({"version":1,"request":"printer"})", StatusFault::UnknownRequest},
        {R"({"version":1,"request":"printer","name":3})", StatusFault::UnknownRequest},
        {R"({"version":1,"request":"reboot"})", StatusFault::UnknownRequest},
        {R"({"version":2,"request":"list"})", StatusFault::UnsupportedVersion},
        {R"({"version":"1","request":"list"})", StatusFault::UnsupportedVersion},
        {R"({"request":"list"})", StatusFault::UnsupportedVersion},
        {R"(["list"])", StatusFault::MalformedJson},
        {R"({"version":1,"request":"list")", StatusFault::MalformedJson},
        {"{\"version\":1,\"request\":\"\xC3\x28\"}", StatusFault::InvalidUtf8},
    };
    for (const Case& c : kCases) {
        CStatusRequest request;
        EXPECT_EQ(c.fault, ParseStatusRequest(c.strLine, request)) << c.strLine;
        EXPECT_EQ(c.kind, request.kind) << c.strLine;
        EXPECT_EQ(c.strName, request.strName) << c.strLine;
    }
}

TEST(StatusLineReader, CutsLinesInAnyPiecesAndRefusesOneOver4KiB) {
    CStatusLineReader reader;
    std::vector<std::string> lines;
    ASSERT_TRUE(reader.Feed("ab\r\ncd", 6, lines));
    ASSERT_TRUE(reader.Feed("\n\n", 2, lines));
    EXPECT_EQ((std::vector<std::string>{"ab", "cd", ""}), lines);

    // The same reader: each line has the whole length.
    const std::string strLongest(CStatusLineReader::kMaxLine, 'x');
    ASSERT_TRUE(reader.Feed(strLongest.data(), strLongest.size(), lines));
    ASSERT_TRUE(reader.Feed("\r\n", 2, lines));
    EXPECT_EQ(strLongest, lines.back());
    EXPECT_FALSE(reader.Feed((strLongest + "xy").data(), strLongest.size() + 2, lines));
    EXPECT_FALSE(reader.Feed("\n", 1, lines));
}

TEST(StatusAnswer, EveryStateWithItsFieldsAndExitCode) {
    struct Case {
        CStatusEntry entry;
        const char* pszState;
        bool bResumable;
        const char* pszPhase;
        int nTask;
        int nExit;
    };
    CStatusEntry unsigned_ = Entry("u", kStateReady, 0, 0);
    unsigned_.record = CDeviceStatus();
    const Case kCases[] = {
        {Entry("idle", kStateReady, 0, 0), "idle", false, "none", 0, kExitReady},
        {Entry("yellow", kStatePrinting, kPhaseYellow, 0), "printing", false, "yellow", 40, kExitPrinting},
        {Entry("busy", kStateBusy, 0, 0), "printing", false, "none", 40, kExitPrinting},
        {Entry("paper", kStatePrinting, kPhaseYellow, 0x80000001), "error", true, "none", 0, kExitError},
        {Entry("card", kStatePrinting, kPhaseNone, 0x40000020), "error", false, "none", 0, kExitError},
        {Entry("gone", kStateReady, 0, 0, false), "not-connected", false, "none", 0, kExitNotConnected},
        {unsigned_, "not-connected", false, "none", 0, kExitNotConnected},
    };
    for (const Case& c : kCases) {
        const CJsonValue printer = Parsed(WriteJson(EncodePrinter(c.entry)));
        EXPECT_EQ(std::make_tuple(c.pszState, c.bResumable, c.pszPhase, c.nTask, c.nExit),
                  std::make_tuple(printer.StringOf("state"), printer.Find("resumable")->AsBool(),
                                  printer.StringOf("phase"), printer.Find("task")->AsNumber(),
                                  ExitCodeOfPrinter(printer)))
            << c.entry.strName;
        // The signed records are of one printer; what an unsigned one has is unknown.
        const bool bSigned = c.entry.record.IsValid();
        EXPECT_EQ(bSigned ? "usb NY0001 Kestrel Model A Kestrel" : "usb   ",
                  printer.StringOf("road") + " " + printer.StringOf("serial") + " " +
                      printer.StringOf("model") + " " + printer.StringOf("family"));
        EXPECT_EQ(bSigned ? c.entry.record.GetStatusCode() : 0, printer.Find("error_code")->AsNumber());
    }
}

TEST(StatusExit, TheWorstStateWinsInTheDocumentedOrder) {
    auto Printer = [](const char* pszState) {
        return Parsed(std::string(R"({"connected":true,"state":")") + pszState + "\"}");
    };
    const std::pair<std::vector<const char*>, int> kCases[] = {
        {{}, kExitNoSuchPrinter},
        {{"idle", "idle"}, kExitReady},
        {{"idle", "printing"}, kExitPrinting},
        {{"printing", "not-connected", "idle"}, kExitNotConnected},
        {{"not-connected", "error", "printing"}, kExitError},
    };
    for (const auto& [states, nExit] : kCases) {
        std::vector<CJsonValue> printers;
        for (const char* pszState : states)
            printers.push_back(Printer(pszState));
        EXPECT_EQ(nExit, WorstExitCode(printers));
    }
}

// Each listener of the board (the pipe's, the fleet's) is told of each real change until it leaves.
TEST(StatusWatch, ChangesAndRemovalsFollowTheFirstLineAndAreToldToTheListeners) {
    CStatusBoard board;
    int nPipe = 0, nFleet = 0;
    board.SetListener(&nPipe, [&] { ++nPipe; });
    board.SetListener(&nFleet, [&] { ++nFleet; });
    board.Set(Entry("A", kStateReady, 0, 0x80000001));
    board.Set(Entry("B", kStateReady, 0, 0));
    board.SetListener(&nPipe, nullptr);
    CWatchedPrinters printers;
    ASSERT_TRUE(printers.Apply(Parsed(EncodeWatchAnswer(board.Snapshot()))));
    EXPECT_EQ(kExitError, printers.ExitCode(""));
    EXPECT_EQ(kExitReady, printers.ExitCode("B"));
    EXPECT_EQ(kExitNoSuchPrinter, printers.ExitCode("C"));
    const std::uint64_t nSeen = board.GetCounter();
    board.Set(Entry("A", kStateReady, 0, 0));
    board.Set(Entry("A", kStateReady, 0, 0)); // equal: no change
    board.Set(Entry("C", kStatePrinting, kPhaseCyan, 0));
    board.Keep({"A", "C"});
    std::vector<CStatusChange> changes;
    ASSERT_TRUE(board.ChangesAfter(nSeen, changes));
    ASSERT_EQ(3u, changes.size());
    EXPECT_TRUE(changes[2].bRemoved);
    for (const CStatusChange& change : changes)
        ASSERT_TRUE(printers.Apply(Parsed(EncodeChangeEvent(change))));
    EXPECT_EQ(kExitReady, printers.ExitCode("A"));
    EXPECT_EQ(kExitNoSuchPrinter, printers.ExitCode("B"));
    EXPECT_EQ(kExitPrinting, printers.ExitCode(""));
    EXPECT_FALSE(printers.Apply(Parsed(EncodeErrorAnswer(StatusFault::MalformedJson, ""))));
    EXPECT_EQ(std::make_tuple(2, 5, std::uint64_t{5}), std::make_tuple(nPipe, nFleet, board.GetCounter()));

    for (std::size_t i = 0; i <= CStatusBoard::kHistory; ++i)
        board.Set(Entry("A", kStateReady, 0, static_cast<std::uint32_t>(i + 1)));
    EXPECT_FALSE(board.ChangesAfter(nSeen, changes)) << "a reader past the history starts again";
}

TEST(NyStatusArguments, AcceptsTheDocumentedFormsOnly) {
    struct Case {
        std::vector<std::string> args;
        bool bValid;
        NyStatusMode mode;
    };
    const Case kCases[] = {
        {{}, true, NyStatusMode::Table},
        {{"--json", "--printer", "K"}, true, NyStatusMode::Json},
        {{"--wait", "ready", "--timeout", "2.5", "--printer", "K"}, true, NyStatusMode::WaitReady},
        {{"--watch"}, true, NyStatusMode::Watch},
        {{"--wait", "idle"}, false, NyStatusMode::Table},
        {{"--wait"}, false, NyStatusMode::Table},
        {{"--timeout", "3"}, false, NyStatusMode::Table},
        {{"--wait", "ready", "--timeout", "-1"}, false, NyStatusMode::Table},
        {{"--wait", "ready", "--timeout", "3s"}, false, NyStatusMode::Table},
        {{"--json", "--watch"}, false, NyStatusMode::Table},
        {{"--printer"}, false, NyStatusMode::Table},
        {{"-x"}, false, NyStatusMode::Table},
    };
    for (const Case& c : kCases) {
        CNyStatusOptions options;
        std::string strError;
        EXPECT_EQ(c.bValid, ParseNyStatusArguments(c.args, options, strError)) << strError;
        EXPECT_TRUE(!c.bValid || c.mode == options.mode) << strError;
    }
}

TEST(NyStatusTable, ColumnsAlignByCharacters) {
    CStatusEntry russian = Entry("\xD0\x9F\xD1\x80", kStatePrinting, kPhaseCyan, 0);
    russian.strStateText = "Printing";
    russian.strAdvice = "Cyan";
    const std::vector<CJsonValue> printers = {
        Parsed(WriteJson(EncodePrinter(russian))),
        Parsed(WriteJson(EncodePrinter(Entry("K", kStateReady, 0, 0))))};
    EXPECT_EQ("PRINTER  ROAD  STATE     TASK  TOTAL  STATUS\n"
              "\xD0\x9F\xD1\x80       usb   printing  40%   28%    Printing: Cyan\n"
              "K        usb   idle\n",
              FormatPrinterTable(printers));
}
