// The simulated network printer's answer to the information request (sent by
// the information dialog in the screenshots, by no test under Wine), read with
// the agent's own decoder.
#include <gtest/gtest.h>

#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_reply.h"
#include "sim/pjl_responder.h"

TEST(SimPjl, InformationReplyCarriesTheIdentity) {
    const std::string strEcho = FormatPjlEchoLine(13, 5, 9);
    const PjlRequestFrame request = ParsePjlFrame(BuildPjlFrame(strEcho, kPjlInfoRequest.pszCommand));
    EXPECT_EQ(PjlCommand::Info, request.command);

    CDeviceStatus status;
    status.SetSignature();
    status.SetVendorId(0x0E7A);
    status.SetProductId(0x3F);
    status.SetSerialNumber("SIM-NET1");
    status.SetFirmwareVersion("1.23");
    const std::string reply = BuildPjlReply(request, status, true, PjlMisbehaviour::None);
    EXPECT_EQ(0u, CheckPjlEcho(reply, strEcho));
    DEVICE_INFO info;
    ASSERT_EQ(0u, CopyPjlRecord(kPjlInfoRequest, reply, info.abData));
    EXPECT_EQ(0x0E7A, info.VendorId());
    EXPECT_EQ(0x3F, info.ProductId());
    EXPECT_EQ("SIM-NET1", info.SerialNumber());
    EXPECT_EQ("1.23", info.FirmwareVersion());
}
