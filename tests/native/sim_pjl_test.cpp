// The simulated network printer against the agent's own PJL wire format:
// what the agent sends, the printer understands, and what the printer
// answers, the agent decodes.
#include <gtest/gtest.h>

#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_reply.h"
#include "sim/pjl_responder.h"

namespace {

const std::string kEcho = FormatPjlEchoLine(13, 5, 9);

CDeviceStatus Printing() {
    CDeviceStatus status;
    status.SetSignature();
    status.SetVendorId(0x0E7A);
    status.SetProductId(0x3F);
    status.SetSerialNumber("SIM-NET1");
    status.SetFirmwareVersion("1.23");
    status.SetDeviceState(3);
    status.SetPrintPhase(4);
    status.SetProgress(40);
    return status;
}

// The printer's reply to the agent's frame for the request.
std::string Reply(const PjlRequest& request, PjlMisbehaviour misbehaviour = PjlMisbehaviour::None,
                  bool bAccepted = true) {
    const std::string frame = BuildPjlFrame(kEcho, request.pszCommand);
    EXPECT_TRUE(IsPjlFrameComplete(frame));
    EXPECT_FALSE(IsPjlFrameComplete(frame.substr(0, frame.size() - 1)));
    const PjlRequestFrame parsed = ParsePjlFrame(frame);
    EXPECT_EQ(kEcho, parsed.strEcho);
    const std::string reply = BuildPjlReply(parsed, Printing(), bAccepted, misbehaviour);
    EXPECT_EQ(misbehaviour != PjlMisbehaviour::Overflow, IsPjlReplyComplete(reply.data(), reply.size()));
    return reply;
}

} // namespace

TEST(SimPjl, EveryReplyDecodes) {
    const std::string status = Reply(kPjlStatusRequest);
    EXPECT_EQ(0u, CheckPjlEcho(status, kEcho));
    std::uint8_t record[CDeviceStatus::kSize];
    ASSERT_EQ(0u, CopyPjlRecord(kPjlStatusRequest, status, record));
    EXPECT_EQ(Printing(), CDeviceStatus(record));

    DEVICE_INFO info;
    ASSERT_EQ(0u, CopyPjlRecord(kPjlInfoRequest, Reply(kPjlInfoRequest), info.abData));
    EXPECT_EQ(0x0E7A, info.VendorId());
    EXPECT_EQ(0x3F, info.ProductId());
    EXPECT_EQ("SIM-NET1", info.SerialNumber());
    EXPECT_EQ("1.23", info.FirmwareVersion());

    for (const PjlRequest* pRequest : {&kPjlCancelRequest, &kPjlResumeRequest}) {
        for (const bool bAccepted : {true, false}) {
            std::uint32_t dwCode = 99;
            ASSERT_EQ(
                0u, CopyPjlReplyCode(*pRequest, Reply(*pRequest, PjlMisbehaviour::None, bAccepted), &dwCode));
            EXPECT_EQ(bAccepted ? 0u : 2u, dwCode) << pRequest->pszCommand;
        }
    }
}

TEST(SimPjl, MisbehavioursBreakTheReplyAsIntended) {
    std::string reply = Reply(kPjlStatusRequest, PjlMisbehaviour::WrongStamp);
    EXPECT_NE(0u, CheckPjlEcho(reply, kEcho));

    reply = Reply(kPjlStatusRequest, PjlMisbehaviour::Garbage);
    EXPECT_EQ(0u, CheckPjlEcho(reply, kEcho));
    std::uint8_t record[CDeviceStatus::kSize];
    EXPECT_NE(0u, CopyPjlRecord(kPjlStatusRequest, reply, record));

    EXPECT_GT(Reply(kPjlStatusRequest, PjlMisbehaviour::Overflow).size(), 4096u);
}
