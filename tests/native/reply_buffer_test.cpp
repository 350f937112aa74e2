#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "devices/lan/lan_errors.h"
#include "devices/lan/reply_buffer.h"
#include "tests/common/trace_capture.h"

namespace {

const std::string kUel = "\x1b%-12345X";
const std::vector<std::string> kOverflow = {
    "CNySocket::OnReceive() : The reply does not fit in 4096 bytes\n"};

// A complete reply of exactly nLength bytes.
std::string ReplyOfLength(std::size_t nLength) {
    return std::string(nLength - kUel.size(), 'r') + kUel;
}

// Receives the stream as the socket does, in pieces of at most nPiece bytes
// within the room left, until the reply is complete or the buffer refuses it
// (the Commit result), or is full without saying so (kFullUnreported).
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

// Complete only with the piece that brings the closing sequence; a reply that
// does not fit is refused once the buffer is full.
TEST(ReplyBuffer, RepliesInPiecesUpToTheSizeLimit) {
    const struct {
        std::size_t nLength, nPiece;
    } cases[] = {{120, 1}, {120, 7}, {120, 119}, {4095, 1000}, {4095, 4096}, {4096, 1000}, {6000, 4096}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nLength << " bytes in pieces of " << c.nPiece);
        const bool bFits = c.nLength < CReplyBuffer::kSize;
        CTraceCapture trace;
        CReplyBuffer buffer;
        const std::string reply = ReplyOfLength(c.nLength);
        EXPECT_EQ(bFits ? 0u : kErrorMoreData, Receive(buffer, reply, c.nPiece));
        EXPECT_EQ(bFits, buffer.IsComplete());
        EXPECT_EQ(reply.substr(0, 4095), buffer.Text());
        EXPECT_EQ('\0', buffer.Data()[CReplyBuffer::kSize - 1]);
        EXPECT_EQ(bFits ? std::vector<std::string>{} : kOverflow, trace.Lines());
        // A receive reporting more than it was offered is refused as well.
        trace.Clear();
        EXPECT_EQ(kErrorMoreData, buffer.Commit(buffer.Room() + 1));
        EXPECT_EQ(4095u, buffer.Length());
        EXPECT_EQ(kOverflow, trace.Lines());
    }
}

TEST(ReplyBuffer, TextEndsAtTheFirstNulAndClearEmptiesAll) {
    CReplyBuffer buffer;
    std::memcpy(buffer.Tail(), "NYSTA\0TUS=", 10);
    ASSERT_EQ(0u, buffer.Commit(10));
    EXPECT_EQ(10u, buffer.Length());
    EXPECT_EQ("NYSTA", buffer.Text());
    buffer.Clear();
    EXPECT_EQ(4095u, buffer.Room());
    EXPECT_TRUE(std::all_of(buffer.Data(), buffer.Data() + CReplyBuffer::kSize, [](char ch) { return !ch; }));
}
