#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/format.h"
#include "devices/lan/lan_errors.h"
#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_reply.h"
#include "devices/lan/pjl_request.h"
#include "tests/common/trace_capture.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kUel = "\x1b%-12345X";
const std::string kEcho = "@PJL ECHO Status at 09:05:07.0";

// Hexadecimal digits for the bytes first, first + 1, ... (count bytes).
std::string HexRun(int first, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += Format("%02X", (first + i) & 0xFF);
    return text;
}

std::vector<std::uint8_t> ByteRun(int first, int count, std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    for (int i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

// The trace of a reply without the key (or, for "", without its quote).
std::string NoKey(const std::string& strThread, const std::string& strKey) {
    const std::string strWhat = strKey.empty() ? "\"" : "\"" + strKey + "\"";
    return strThread + "::CopyData() : Unable to found " + strWhat + " in data\n";
}

// A reply as a printer frames it around a payload line.
std::string Reply(const std::string& payloadLine) {
    return kUel + "@PJL\r\n" + kEcho + "\r\n" + payloadLine + "\r\n" + kUel;
}

} // namespace

TEST(PjlReply, CompletenessRule) {
    const std::string filler55 = std::string(46, 'a') + kUel; // 55 bytes
    struct {
        const char* pszName;
        std::string strData;
        bool bComplete;
    } const cases[] = {
        {"55 bytes", filler55, false},
        {"56 bytes", "a" + filler55, true},
        {"lower-case x", std::string(47, 'a') + "\x1b%-12345x", true},
        {"sequence followed by CR LF", std::string(47, 'a') + kUel + "\r\n", false},
        {"wrong digit", std::string(47, 'a') + "\x1b%-12346X", false},
        {"NUL inside the data", std::string(20, '\0') + std::string(27, 'a') + kUel, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bComplete, IsPjlReplyComplete(c.strData.data(), c.strData.size())) << c.pszName;
}

TEST(PjlReply, CopyRecord) {
    const std::size_t kStatus = CDeviceStatus::kSize;
    std::vector<std::uint8_t> oddCount = ByteRun(0x10, 43, kStatus);
    oddCount[43] = 0x0C; // the lone last digit
    // The payload runs on into the trailer and the second key: "\r\n", "\x1b%", "-1", "23", "45", "XN",
    // "YS", "TA", "TU", "S=", "02".
    const std::vector<std::uint8_t> runOn = {1, 0, 0, 0xFF, 0x23, 0x45, 0, 0, 0, 0, 0, 2};

    // A record, or the trace of a reply without the key (the record then
    // stays as it was).
    const struct {
        const PjlRecordRequest* pRequest;
        std::string strReply;
        std::vector<std::uint8_t> expected;
        std::string strTrace;
    } cases[] = {
        {&kPjlStatusRequest, Reply("NYSTATUS=" + HexRun(0xD0, 44)), ByteRun(0xD0, 44, kStatus), ""},
        {&kPjlInfoRequest, Reply("NYCONFIG=" + HexRun(0x01, 78)), ByteRun(0x01, 78, 78), ""},
        {&kPjlStatusRequest, "NYSTATUS=" + HexRun(0x10, 43) + "C", oddCount, ""},
        // Each pair is read on its own: "G1", "01", " 7", "-1", "+f", "-f", "A\"", "xx".
        {&kPjlStatusRequest, "NYSTATUS=G101 7-1+f-fA\"xx", {0x00, 0x01, 0x07, 0xFF, 0x0F, 0xF1, 0x0A}, ""},
        {&kPjlStatusRequest, "NYSTATUS=01\r\n" + kUel + "NYSTATUS=02", runOn, ""},
        {&kPjlStatusRequest, Reply("NYCONFIG=" + HexRun(0, 78)), {}, NoKey("CLanStatusThread", "NYSTATUS=")},
        {&kPjlInfoRequest, "NYCONFIG" + HexRun(0, 78), {}, NoKey("CLanInfoThread", "NYCONFIG=")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strReply);
        CTraceCapture trace;
        std::vector<std::uint8_t> record(c.pRequest->nRecordSize, 0xAA);
        const bool bFails = !c.strTrace.empty();
        EXPECT_EQ(bFails ? kErrorInvalidData : 0u, CopyPjlRecord(*c.pRequest, c.strReply, record.data()));
        std::vector<std::uint8_t> expected = c.expected;
        expected.resize(c.pRequest->nRecordSize, bFails ? 0xAA : 0);
        EXPECT_EQ(expected, record);
        EXPECT_EQ(bFails ? Lines{c.strTrace} : Lines{}, trace.Lines());
    }
}

TEST(PjlReply, CopyReplyCode) {
    // A code, or the trace of a reply without one (the code then stays 0xAAAA).
    struct {
        const PjlRequest* pRequest;
        std::string strReply;
        std::uint32_t dwCode;
        std::string strTrace;
    } const cases[] = {
        {&kPjlCancelRequest, Reply("@PJL CANCEL_STATUS=\"2\""), 2, ""},
        {&kPjlCancelRequest, "CANCEL_STATUS= \r\n\"  12\"", 12, ""}, // quote further on, blanks skipped
        {&kPjlResumeRequest, "\"1\" RESUME_STATUS=\"3\"", 3, ""},    // only quotes behind the key count
        {&kPjlCancelRequest, Reply("@PJL RESUME_STATUS=\"0\""), 0xAAAA,
         NoKey("CLanCancelThread", "CANCEL_STATUS=")},
        {&kPjlCancelRequest, Reply("@PJL CANCEL_STATUS=0"), 0xAAAA, NoKey("CLanCancelThread", "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strReply);
        CTraceCapture trace;
        std::uint32_t dwCode = 0xAAAA;
        EXPECT_EQ(c.strTrace.empty() ? 0u : kErrorInvalidData,
                  CopyPjlReplyCode(*c.pRequest, c.strReply, &dwCode));
        EXPECT_EQ(c.dwCode, dwCode);
        EXPECT_EQ(c.strTrace.empty() ? Lines{} : Lines{c.strTrace}, trace.Lines());
    }
}

// Byte for byte: the simulated printer reads each request's command line but
// not the lines around it.
TEST(PjlFrame, StatusFrameByteForByte) {
    EXPECT_EQ(
        "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  INFO CURRENT_STATUS\r\n\x1b%-12345X",
        BuildPjlFrame(FormatPjlEchoLine(9, 5, 7), kPjlStatusRequest.pszCommand));
}
