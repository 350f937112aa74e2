#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include <windows.h>

#include "sim/usb/usb_bridge.h"
#include "sim/usb/usb_driver_service.h"
#include "tests/wine/fake_usb_printer.h"
#include "tests/wine/test_printer.h"

namespace {

class UsbDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0u, CUsbDriverService::Install(DriverPath()));
        ASSERT_EQ(0u, CUsbDriverService::Start());
    }
    void TearDown() override { EXPECT_EQ(0u, CUsbDriverService::Stop()); }

    // Written before the driver starts, so that it serves them.
    CFakeUsbPrinter m_first{UniqueName("NYA")};
    CFakeUsbPrinter m_second{UniqueName("NYB")};
    SimUsbBridge& m_bridge = m_first.CreateBridge();
};

} // namespace

TEST_F(UsbDriverTest, GetRequestsAnswerTheBridgeBytes) {
    struct Case {
        std::uint8_t code;
        std::uint16_t value;
        std::size_t outputSize;
        Bytes expected;
    };
    const Case cases[] = {
        {0x14, 0, 44, Bytes(m_bridge.status, m_bridge.status + 44)},
        {0x20, 0, 78, Bytes(m_bridge.info, m_bridge.info + 78)},
        {0x1E, 0, 4, {3, 0, 0, 0}},
        {0x1F, 2, 8, Bytes(m_bridge.logs[2], m_bridge.logs[2] + 8)},
    };
    for (const Case& c : cases) {
        Bytes answer(c.outputSize);
        EXPECT_EQ(0u, m_first.Get(c.code, c.value, answer)) << int(c.code);
        EXPECT_EQ(c.expected, answer) << int(c.code) << " " << c.value;
    }
}

TEST_F(UsbDriverTest, FailuresReachTheCallerAsWindowsErrors) {
    Bytes answer(44);
    for (const auto& [failStatus, dwError] :
         {std::make_pair(0xC000009Du, 1167u), std::make_pair(0xC0000001u, 31u)}) {
        m_bridge.failStatus = static_cast<std::int32_t>(failStatus);
        EXPECT_EQ(dwError, m_first.Get(0x14, 0, answer)) << std::hex << failStatus;
        EXPECT_EQ(dwError, m_first.Set(0x15)) << std::hex << failStatus;
    }
    // The second printer's block does not exist yet, then it does.
    EXPECT_EQ(1167u, m_second.Get(0x14, 0, answer));
    m_second.CreateBridge().status[0] = 0x42;
    EXPECT_EQ(0u, m_second.Get(0x14, 0, answer));
    EXPECT_EQ(0x42, answer[0]);
}

TEST_F(UsbDriverTest, TheRingHoldsEveryRequestAndSetsCount) {
    Bytes answer(8);
    for (std::uint16_t index = 0; index < 18; ++index)
        m_first.Get(0x1F, static_cast<std::uint16_t>(0x0100 + index), answer);
    for (std::uint8_t code : {0x15, 0x1D, 0x15})
        EXPECT_EQ(0u, m_first.Set(code));
    m_first.Request(usbbridge::kIoctlVendorGet, {0x20}, answer);
    EXPECT_EQ(22u, m_bridge.requestCount);
    EXPECT_EQ(2u, m_bridge.cancelCount);
    EXPECT_EQ(1u, m_bridge.resumeCount);
    // Requests 6 to 21 are in the ring; request n at n % 16.
    for (std::uint32_t n = 6; n < 18; ++n) {
        const SimUsbRequest& request = m_bridge.last[n % 16];
        const std::uint8_t expected[4] = {0x1F, 0x01, static_cast<std::uint8_t>(n), 0};
        EXPECT_EQ(std::make_tuple(0x0022003Cu, 3u, 8u),
                  std::make_tuple(request.ioctl, request.inputLength, request.outputLength))
            << n;
        EXPECT_EQ(0, std::memcmp(expected, request.input, 4)) << n;
    }
    EXPECT_EQ(std::make_tuple(0x00220038u, std::uint8_t{0x1D}, 0u),
              std::make_tuple(m_bridge.last[19 % 16].ioctl, m_bridge.last[19 % 16].input[0],
                              m_bridge.last[19 % 16].outputLength));
    EXPECT_EQ(1u, m_bridge.last[21 % 16].inputLength);
}
