#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "devices/lan/lan_errors.h"
#include "devices/lan/pjl_reply.h"
#include "devices/lan/reply_buffer.h"
#include "tests/common/trace_capture.h"

namespace {

const std::string kUel = "\x1b%-12345X";
const std::string kOverflowTrace = "CNySocket::OnReceive() : The reply does not fit in 4096 bytes\n";

// A complete reply of exactly nLength bytes.
std::string ReplyOfLength(std::size_t nLength) {
    return std::string(nLength - kUel.size(), 'r') + kUel;
}

// Receives the stream as the socket does, in pieces of at most nPiece bytes,
// each offered only the room left, until the reply is complete or the buffer
// refuses it. Returns the first non-zero Commit result, else 0; a full buffer
// that takes no more without saying so gives kFullUnreported.
constexpr std::uint32_t kFullUnreported = 0xFFFFFFFF;
std::uint32_t Receive(CReplyBuffer& buffer, const std::string& stream, std::size_t nPiece) {
    std::size_t nDone = 0;
    while (nDone < stream.size() && !buffer.IsComplete()) {
        if (buffer.Room() == 0)
            return kFullUnreported;
        const std::size_t n = std::min({nPiece, stream.size() - nDone, buffer.Room()});
        std::memcpy(buffer.Tail(), stream.data() + nDone, n);
        nDone += n;
        if (const std::uint32_t dwError = buffer.Commit(n))
            return dwError;
    }
    return 0;
}

} // namespace

TEST(ReplyBuffer, CompleteOnlyWithThePieceThatBringsTheClosingSequence) {
    const std::string reply = ReplyOfLength(120);
    for (std::size_t nPiece : {1u, 7u, 56u, 119u, 120u}) {
        SCOPED_TRACE(nPiece);
        CReplyBuffer buffer;
        std::size_t nDone = 0;
        while (nDone < reply.size()) {
            const std::size_t n = std::min(nPiece, reply.size() - nDone);
            std::memcpy(buffer.Tail(), reply.data() + nDone, n);
            nDone += n;
            ASSERT_EQ(0u, buffer.Commit(n));
            EXPECT_EQ(nDone == reply.size(), buffer.IsComplete()) << "after " << nDone << " bytes";
        }
        EXPECT_EQ(reply, buffer.Text());
    }
}

TEST(ReplyBuffer, RepliesAtTheSizeLimit) {
    struct {
        std::size_t nLength;
        std::uint32_t dwError;
    } const cases[] = {{4095, 0}, {4096, kErrorMoreData}, {6000, kErrorMoreData}};
    for (const auto& c : cases) {
        for (std::size_t nPiece : {1000u, 4096u}) {
            SCOPED_TRACE(testing::Message() << c.nLength << " bytes in pieces of " << nPiece);
            CTraceCapture trace;
            CReplyBuffer buffer;
            EXPECT_EQ(c.dwError, Receive(buffer, ReplyOfLength(c.nLength), nPiece));
            EXPECT_EQ(c.dwError == 0, buffer.IsComplete());
            EXPECT_EQ(4095u, buffer.Length());
            EXPECT_EQ(0u, buffer.Room());
            EXPECT_EQ('\0', buffer.Data()[CReplyBuffer::kSize - 1]);
            EXPECT_EQ(c.dwError ? std::vector<std::string>{kOverflowTrace} : std::vector<std::string>{},
                      trace.Lines());
        }
    }
}

TEST(ReplyBuffer, ReceiveReportingMoreThanItWasOffered) {
    // Also what a receive into a full buffer that holds a complete reply gets.
    for (std::size_t nHeld : {10u, 4095u}) {
        SCOPED_TRACE(nHeld);
        CTraceCapture trace;
        CReplyBuffer buffer;
        ASSERT_EQ(0u, Receive(buffer, ReplyOfLength(nHeld), 4096));
        EXPECT_EQ(kErrorMoreData, buffer.Commit(buffer.Room() + 1));
        EXPECT_EQ(4095u, buffer.Length());
        EXPECT_EQ(std::vector<std::string>{kOverflowTrace}, trace.Lines());
    }
}

TEST(ReplyBuffer, TextEndsAtTheFirstNulAndClearEmptiesAll) {
    CReplyBuffer buffer;
    std::memcpy(buffer.Tail(), "NYSTA\0TUS=", 10);
    ASSERT_EQ(0u, buffer.Commit(10));
    EXPECT_EQ(10u, buffer.Length());
    EXPECT_EQ("NYSTA", buffer.Text());
    buffer.Clear();
    EXPECT_EQ(0u, buffer.Length());
    EXPECT_EQ(4095u, buffer.Room());
    EXPECT_TRUE(
        std::all_of(buffer.Data(), buffer.Data() + CReplyBuffer::kSize, [](char ch) { return ch == 0; }));
}

TEST(ReplyBuffer, PayloadRunningPastTheEndOfAFullBuffer) {
    // The key sits so close to the end that 44 pairs would run past the buffer.
    const std::string tail = "NYSTATUS=01020304" + kUel;
    const std::string reply = std::string(4095 - tail.size(), 'r') + tail;
    CReplyBuffer buffer;
    ASSERT_EQ(0u, Receive(buffer, reply, 4096));
    ASSERT_TRUE(buffer.IsComplete());
    std::vector<std::uint8_t> record(CDeviceStatus::kSize, 0xAA);
    ASSERT_EQ(0u, CopyPjlRecord(kPjlStatusRequest, buffer.Text(), record.data()));
    // The closing sequence reads as "\x1b%", "-1", "23", "45", "X"; then zeros.
    std::vector<std::uint8_t> expected(CDeviceStatus::kSize, 0);
    const std::uint8_t head[] = {0x01, 0x02, 0x03, 0x04, 0x00, 0xFF, 0x23, 0x45};
    std::copy(std::begin(head), std::end(head), expected.begin());
    EXPECT_EQ(expected, record);
}
