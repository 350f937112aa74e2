#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "monitor/device_status.h"
#include "sim/usb/usb_bridge.h"
#include "sim/usb/usb_driver_service.h"
#include "tests/wine/fake_usb_printer.h"
#include "tests/wine/sim_child.h"
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
        {0x1F, 3, 8, Bytes(8, 0)},                                 // beyond the log count
        {0x1F, 0x0102, 8, Bytes(8, 0)},                            // beyond the block
        {0x14, 0, 6, Bytes(m_bridge.status, m_bridge.status + 6)}, // a buffer shorter than the record
    };
    for (const Case& c : cases) {
        Bytes answer(c.outputSize);
        EXPECT_EQ(0u, m_first.Get(c.code, c.value, answer)) << int(c.code);
        EXPECT_EQ(c.expected, answer) << int(c.code) << " " << c.value;
    }
}

TEST_F(UsbDriverTest, FailuresReachTheCallerAsWindowsErrors) {
    struct Case {
        std::uint32_t failStatus;
        DWORD dwError;
    };
    for (const Case& c : {Case{0xC000009D, 1167}, Case{0xC0000001, 31}, Case{0xC0000022, 5}}) {
        m_bridge.failStatus = static_cast<std::int32_t>(c.failStatus);
        Bytes answer(44);
        EXPECT_EQ(c.dwError, m_first.Get(0x14, 0, answer)) << std::hex << c.failStatus;
        EXPECT_EQ(c.dwError, m_first.Set(0x15)) << std::hex << c.failStatus;
    }
    EXPECT_EQ(0u, m_bridge.cancelCount); // a failed SET did nothing
    m_bridge.failStatus = 0;

    Bytes answer(8);
    EXPECT_EQ(87u, m_first.Get(0x15, 0, answer));                                   // a SET code asked as GET
    EXPECT_EQ(87u, m_first.Set(0x14));                                              // and the other way round
    EXPECT_EQ(87u, m_first.Request(usbbridge::kIoctlVendorGet, {0x14, 0}, answer)); // two input bytes
    EXPECT_EQ(1u, m_first.Request(0x00220040, {0x14, 0, 0}, answer));               // another control code
    // The second printer's block does not exist yet, then it does.
    EXPECT_EQ(1167u, m_second.Get(0x14, 0, answer));
    SimUsbBridge& second = m_second.CreateBridge();
    second.status[0] = 0x42;
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
        EXPECT_EQ(0x0022003Cu, request.ioctl) << n;
        EXPECT_EQ(0, std::memcmp(expected, request.input, 4)) << n;
        EXPECT_EQ(3u, request.inputLength);
        EXPECT_EQ(8u, request.outputLength);
    }
    EXPECT_EQ(0x00220038u, m_bridge.last[19 % 16].ioctl);
    EXPECT_EQ(0x1D, m_bridge.last[19 % 16].input[0]);
    EXPECT_EQ(0u, m_bridge.last[19 % 16].outputLength);
    EXPECT_EQ(1u, m_bridge.last[21 % 16].inputLength);
    EXPECT_EQ(0, std::memcmp("\x20\0\0\0", m_bridge.last[21 % 16].input, 4));
}

TEST_F(UsbDriverTest, StoppingTheDriverRemovesItsPaths) {
    EXPECT_TRUE(m_first.Open());
    EXPECT_TRUE(m_second.Open()); // served without a block: opening needs none
    ASSERT_EQ(0u, CUsbDriverService::Stop());
    for (const CFakeUsbPrinter* pPrinter : {&m_first, &m_second}) {
        EXPECT_FALSE(pPrinter->Open());
        EXPECT_EQ(2u, GetLastError());
    }
    EXPECT_EQ(0u, CUsbDriverService::Stop()); // stopping again succeeds
    ASSERT_EQ(0u, CUsbDriverService::Start());
    EXPECT_TRUE(m_first.Open());
}

// NySim.exe serves a port over USB: a Cancel through the driver ends its job
// as the console event does (Resume is played by the monitor road tests).
TEST_F(UsbDriverTest, SimulatorActsOnCancelThroughTheDriver) {
    const std::string strSerial = UniqueName("NYS");
    CFakeUsbPrinter printer(strSerial);
    ASSERT_EQ(0u, CUsbDriverService::Stop()); // a restart serves the new printer
    ASSERT_EQ(0u, CUsbDriverService::Start());
    const std::string strStop = UniqueName("NySim.Stop.");
    CUniqueHandle hStop(CreateEventA(nullptr, TRUE, FALSE, strStop.c_str()));
    CScriptFile script("0 1 0 0 0\n100 3 4 40 0\n60000 1 0 0 0\n");
    CSimChild child;
    ASSERT_TRUE(child.Start("--port " + UniqueName("USB") + " --usb " + strSerial + " --script \"" +
                            script.Path() + "\" --tick 10 --print --no-print-path --stop-event " + strStop));
    // Reads the status as the agent does.
    CDeviceStatus status;
    const auto read = [&] {
        Bytes answer(44);
        if (printer.Get(0x14, 0, answer) == 0 && answer.size() == 44)
            status.Assign(answer.data());
        return status.IsValid();
    };
    ASSERT_TRUE(WaitFor([&] { return read() && status.GetProgress() == 40; }, 10000)) << child.Output();
    EXPECT_EQ(strSerial, status.GetSerialNumber());
    EXPECT_EQ(0u, printer.Set(0x15));
    EXPECT_TRUE(WaitFor([&] { return read() && !status.IsPrinting(nullptr); }, 5000));
    SetEvent(hStop.Get());
    EXPECT_EQ(0u, child.Wait(5000));
    EXPECT_NE(std::string::npos, child.Output().find("USB Cancel: job ended")) << child.Output();
}
