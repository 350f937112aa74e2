// The simulated network printer against the agent's own PJL wire format:
// what the agent sends, the printer understands, and what the printer
// answers, the agent decodes.
#include <gtest/gtest.h>

#include <cstring>

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

std::string Reply(const PjlRequest& request, PjlMisbehaviour misbehaviour = PjlMisbehaviour::None,
                  bool bAccepted = true) {
    const std::string frame = BuildPjlFrame(kEcho, request.pszCommand);
    EXPECT_TRUE(IsPjlFrameComplete(frame));
    EXPECT_FALSE(IsPjlFrameComplete(frame.substr(0, frame.size() - 1)));
    const PjlRequestFrame parsed = ParsePjlFrame(frame);
    EXPECT_EQ(kEcho, parsed.strEcho);
    return BuildPjlReply(parsed, Printing(), bAccepted, misbehaviour);
}

} // namespace

TEST(SimPjl, RequestsAreRecognised) {
    const struct {
        const PjlRequest& request;
        PjlCommand command;
    } cases[] = {{kPjlStatusRequest, PjlCommand::Status},
                 {kPjlInfoRequest, PjlCommand::Info},
                 {kPjlCancelRequest, PjlCommand::Cancel},
                 {kPjlResumeRequest, PjlCommand::Resume}};
    for (const auto& c : cases)
        EXPECT_EQ(c.command, ParsePjlFrame(BuildPjlFrame(kEcho, c.request.pszCommand)).command)
            << c.request.pszCommand;
}

TEST(SimPjl, StatusReplyDecodesToTheRecord) {
    const std::string reply = Reply(kPjlStatusRequest);
    ASSERT_TRUE(IsPjlReplyComplete(reply.data(), reply.size()));
    EXPECT_EQ(0u, CheckPjlEcho(reply, kEcho));
    std::uint8_t record[CDeviceStatus::kSize];
    ASSERT_EQ(0u, CopyPjlRecord(kPjlStatusRequest, reply, record));
    EXPECT_EQ(Printing(), CDeviceStatus(record));
}

TEST(SimPjl, InfoReplyCarriesTheIdentity) {
    const std::string reply = Reply(kPjlInfoRequest);
    DEVICE_INFO info;
    ASSERT_EQ(0u, CopyPjlRecord(kPjlInfoRequest, reply, info.abData));
    EXPECT_EQ(0x0E7A, info.VendorId());
    EXPECT_EQ(0x3F, info.ProductId());
    EXPECT_EQ("SIM-NET1", info.SerialNumber());
    EXPECT_EQ("1.23", info.FirmwareVersion());
}

TEST(SimPjl, CancelAndResumeCodes) {
    const struct {
        const PjlRequest& request;
        PjlMisbehaviour misbehaviour;
        bool accepted;
        std::uint32_t code;
    } cases[] = {
        {kPjlCancelRequest, PjlMisbehaviour::None, true, 0},
        {kPjlCancelRequest, PjlMisbehaviour::None, false, 2},
        {kPjlResumeRequest, PjlMisbehaviour::None, true, 0},
        {kPjlResumeRequest, PjlMisbehaviour::None, false, 2},
    };
    for (const auto& c : cases) {
        std::uint32_t code = 99;
        ASSERT_EQ(0u, CopyPjlReplyCode(c.request, Reply(c.request, c.misbehaviour, c.accepted), &code));
        EXPECT_EQ(c.code, code) << c.request.pszCommand;
    }
}

TEST(SimPjl, MisbehavioursBreakTheReplyAsIntended) {
    std::string reply = Reply(kPjlStatusRequest, PjlMisbehaviour::WrongStamp);
    EXPECT_TRUE(IsPjlReplyComplete(reply.data(), reply.size()));
    EXPECT_NE(0u, CheckPjlEcho(reply, kEcho));

    reply = Reply(kPjlStatusRequest, PjlMisbehaviour::Garbage);
    EXPECT_TRUE(IsPjlReplyComplete(reply.data(), reply.size()));
    EXPECT_EQ(0u, CheckPjlEcho(reply, kEcho));
    std::uint8_t record[CDeviceStatus::kSize];
    EXPECT_NE(0u, CopyPjlRecord(kPjlStatusRequest, reply, record));

    reply = Reply(kPjlStatusRequest, PjlMisbehaviour::Overflow);
    EXPECT_GT(reply.size(), 4096u);
    EXPECT_FALSE(IsPjlReplyComplete(reply.data(), reply.size()));
}

TEST(SimPjl, MisbehaviourNames) {
    PjlMisbehaviour misbehaviour = PjlMisbehaviour::None;
    EXPECT_TRUE(ParsePjlMisbehaviour("close-early", misbehaviour));
    EXPECT_EQ(PjlMisbehaviour::CloseEarly, misbehaviour);
    EXPECT_TRUE(ParsePjlMisbehaviour("refuse-command", misbehaviour));
    EXPECT_EQ(PjlMisbehaviour::RefuseCommand, misbehaviour);
    EXPECT_FALSE(ParsePjlMisbehaviour("Close-Early", misbehaviour));
    EXPECT_FALSE(ParsePjlMisbehaviour("", misbehaviour));
}
