// The USB device against the stand-in USB printing class driver: the bytes of
// every request (Cancel and Resume among them when no console listens), the
// record taken verbatim, failed requests and a failed start, and the status
// mutex held elsewhere while Cancel and Resume go to the console.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "devices/usb/usb_device.h"
#include "sim/usb/usb_driver_service.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/held_mutex.h"
#include "tests/wine/fake_usb_printer.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/test_printer.h"

namespace {

class UsbDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0u, CUsbDriverService::Install(DriverPath()));
        ASSERT_EQ(0u, CUsbDriverService::Start());
        // A ready printer: only the record's own changes are told.
        CDeviceStatus ready;
        CUsbDevice::FillDefaultStatus(&ready);
        std::memcpy(m_bridge.status, ready.Data(), CDeviceStatus::kSize);
    }
    void TearDown() override { CUsbDriverService::Stop(); }

    std::string StatusMutex() const { return "KORVA.Nylm.Status." + m_strPort + ".Mutex"; }

    const std::string m_strPort = UniqueName("USB");
    CFakeUsbPrinter m_printer{UniqueName("NYD")};
    SimUsbBridge& m_bridge = m_printer.CreateBridge();
    CRecordingNotify m_notify;
};

} // namespace

TEST_F(UsbDeviceTest, EachRequestCarriesItsBytesAndItsAnswerVerbatim) {
    // Its polling thread asks for the status in between; the test finds its own requests.
    CUsbDevice manual(&m_notify, "Kestrel U", m_strPort.c_str(), m_printer.Path().c_str());
    CDeviceStatus status;
    DEVICE_INFO info = {};
    WORD wCount = 0;
    DEVICE_LOG log = {};
    m_bridge.logCount = 0x0105;
    struct Case {
        const char* pszName;
        std::function<DWORD()> pfnCall;
        std::uint32_t ioctl;
        std::uint8_t input[3];
        std::uint32_t outputLength;
    };
    const Case cases[] = {
        {"ReadStatus", [&] { return manual.ReadStatus(&status); }, 0x0022003C, {0x14, 0, 0}, 44},
        {"ReadInfo", [&] { return manual.ReadInfo(&info); }, 0x0022003C, {0x20, 0, 0}, 78},
        {"GetNumberOfLogs", [&] { return manual.GetNumberOfLogs(&wCount); }, 0x0022003C, {0x1E, 0, 0}, 4},
        {"GetLogs", [&] { return manual.GetLogs(0x0102, &log); }, 0x0022003C, {0x1F, 0x01, 0x02}, 8},
        {"OnCancel", [&] { return manual.OnCancel(); }, 0x00220038, {0x15, 0, 0}, 0},
        {"OnResume", [&] { return manual.OnResume(); }, 0x00220038, {0x1D, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::uint32_t nBefore = m_bridge.requestCount;
        EXPECT_EQ(0u, c.pfnCall());
        bool bFound = false;
        for (std::uint32_t n = nBefore; n < m_bridge.requestCount && !bFound; ++n) {
            const SimUsbRequest& request = m_bridge.last[n % usbbridge::kRingSize];
            bFound = request.ioctl == c.ioctl && std::memcmp(request.input, c.input, 3) == 0 &&
                     request.input[3] == 0 && request.inputLength == 3 &&
                     request.outputLength == c.outputLength;
        }
        EXPECT_TRUE(bFound);
    }
    EXPECT_EQ(0, std::memcmp(status.Data(), m_bridge.status, CDeviceStatus::kSize));
    EXPECT_EQ(0, std::memcmp(info.abData, m_bridge.info, DEVICE_INFO::kSize));
    EXPECT_EQ(0x0105, wCount);

    // A short answer leaves the rest of the record zero.
    m_bridge.answerLength = 10;
    EXPECT_EQ(0u, manual.ReadStatus(&status));
    EXPECT_EQ(0, std::memcmp(status.Data(), m_bridge.status, 10));
    EXPECT_EQ(CDeviceStatus::kSize - 10, static_cast<std::size_t>(std::count(
                                             status.Data() + 10, status.Data() + CDeviceStatus::kSize, 0)));
}

// A printer unplugged while polled, whose requests fail, and a path that does
// not open: a failed read leaves the caller's record, every poll fails, nothing
// is told, and the device keeps its default record.
TEST_F(UsbDeviceTest, FailedRequestsLeaveTheCallersRecordAndTellNothing) {
    CUsbDevice device(&m_notify, "Kestrel U", m_strPort.c_str(), m_printer.Path().c_str());
    const std::string strMissing = m_printer.Path() + "x";
    CUsbDevice missing(&m_notify, "Kestrel U", UniqueName("USB").c_str(), strMissing.c_str());
    m_bridge.failStatus = static_cast<std::int32_t>(0xC000009D); // device not connected
    CDeviceStatus status;
    status.SetProgress(77);
    DEVICE_INFO info = {};
    info.abData[0] = 0x5A;
    EXPECT_EQ(1167u, device.ReadStatus(&status));
    EXPECT_EQ(1167u, device.ReadInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), missing.ReadStatus(&status));
    EXPECT_EQ(77, status.GetProgress());
    EXPECT_EQ(0x5A, info.abData[0]);
    EXPECT_TRUE(missing.IsConnected());
    Sleep(700);
    EXPECT_TRUE(m_notify.Take().empty());
    for (const CUsbDevice* pDevice : {&device, &missing}) {
        EXPECT_EQ(0x2A, pDevice->GetProductId());
        EXPECT_EQ(1, pDevice->GetDeviceState());
    }
}

// The print path holds the printer while the device starts: the start's read
// and a request of the user's each give up after a few seconds, sending
// nothing, and the device shows its default record; Cancel and Resume still
// reach the print path's console, which needs no mutex, and the printer hears
// nothing of them. Once the mutex is free the device
// polls and shows the printer; held again, it does not hold up Stop.
TEST_F(UsbDeviceTest, TheStatusMutexHoldsEveryRequestButNotTheConsoleOrStop) {
    m_bridge.status[CDeviceStatus::kOffDeviceState] = kStatePrinting;
    const std::string strConsole = "Global\\KORVA.Nylm.Console." + m_strPort;
    CUniqueHandle hCancel(CreateEventA(nullptr, FALSE, FALSE, (strConsole + ".Cancel").c_str()));
    CUniqueHandle hResume(CreateEventA(nullptr, FALSE, FALSE, (strConsole + ".Resume").c_str()));
    const std::string strWait =
        "CUsbDevice::CClocker::CClocker() : WaitForMultipleObjects(" + StatusMutex() + ") returns ";
    auto pHolder = std::make_unique<CHeldMutex>(StatusMutex());
    std::uint32_t nRequests = m_bridge.requestCount;
    CTraceCapture trace;
    CUsbDevice device(&m_notify, "Kestrel U", m_strPort.c_str(), m_printer.Path().c_str());
    EXPECT_EQ(1, trace.Count("CUsbDevice::Start() : ReadStatus() failed. GetLastError() = 170\n"));
    EXPECT_FALSE(device.IsPrinting(nullptr)) << "the default record until a read succeeds";
    DEVICE_INFO info = {};
    EXPECT_EQ(static_cast<DWORD>(ERROR_BUSY), device.ReadInfo(&info));
    EXPECT_EQ(2, trace.Count(strWait + "258. Request not sent\n"));
    EXPECT_EQ(0u, device.OnCancel());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hCancel.Get(), 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hResume.Get(), 0));
    EXPECT_EQ(0u, device.OnResume());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hResume.Get(), 0));
    EXPECT_EQ(nRequests, m_bridge.requestCount);
    pHolder.reset();
    EXPECT_TRUE(WaitFor([&] { return device.IsPrinting(nullptr) != FALSE; }, 2000));
    EXPECT_EQ((std::vector<std::string>{"PrintingStarted", "StatusChanged"}), m_notify.Take());

    // Stop ends the polling thread's wait on the stop signal.
    pHolder = std::make_unique<CHeldMutex>(StatusMutex());
    Sleep(300); // the polling thread now waits for the mutex
    nRequests = m_bridge.requestCount;
    trace.Clear();
    device.OnDisconnected();
    EXPECT_EQ(1, trace.Count(strWait + "1. Request not sent\n"));
    EXPECT_EQ(nRequests, m_bridge.requestCount);
}

TEST_F(UsbDeviceTest, ConnectingTellsWhetherThePrinterPrints) {
    CUsbDevice device(&m_notify, "Kestrel U", m_strPort.c_str(), nullptr);
    EXPECT_FALSE(device.IsConnected());
    m_bridge.status[CDeviceStatus::kOffDeviceState] = kStatePrinting;
    device.OnConnected(m_printer.Path().c_str());
    EXPECT_EQ(std::vector<std::string>{"PrintingStarted"}, m_notify.Take());
    device.OnDisconnected();
    const std::uint32_t nRequests = m_bridge.requestCount;
    Sleep(300);
    EXPECT_EQ(nRequests, m_bridge.requestCount) << "no poll once disconnected";
    m_bridge.status[CDeviceStatus::kOffDeviceState] = kStateReady;
    device.OnConnected(m_printer.Path().c_str());
    EXPECT_EQ(std::vector<std::string>{"PrintingEnded"}, m_notify.Take());
}
