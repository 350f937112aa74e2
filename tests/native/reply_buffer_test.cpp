// The reply buffer's text and its refusals. Replies received in pieces, the
// buffer's limit and its completeness are checked by the PJL fuzz target for
// any reply in any piece size, and by the simulator's split and overflowing
// replies under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "devices/lan/lan_errors.h"
#include "devices/lan/reply_buffer.h"
#include "tests/common/trace_capture.h"

TEST(ReplyBuffer, TextEndsAtTheFirstNulAClaimBeyondTheRoomIsRefusedAndClearEmptiesAll) {
    CReplyBuffer buffer;
    std::memcpy(buffer.Tail(), "NYSTA\0TUS=", 10);
    ASSERT_EQ(0u, buffer.Commit(10));
    EXPECT_EQ(10u, buffer.Length());
    EXPECT_EQ("NYSTA", buffer.Text());
    // A receive reporting more than it was offered.
    CTraceCapture trace;
    EXPECT_EQ(kErrorMoreData, buffer.Commit(buffer.Room() + 1));
    EXPECT_EQ(4095u, buffer.Length());
    EXPECT_EQ(std::vector<std::string>{"CNySocket::OnReceive() : The reply does not fit in 4096 bytes\n"},
              trace.Lines());
    buffer.Clear();
    EXPECT_EQ(4095u, buffer.Room());
    EXPECT_TRUE(std::all_of(buffer.Data(), buffer.Data() + CReplyBuffer::kSize, [](char ch) { return !ch; }));
}
