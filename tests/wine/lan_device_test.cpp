// The network device on the print path's objects, the port configuration and
// the failures that need no printer at all.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>

#include "app/winver.h"
#include "devices/lan/lan_device.h"
#include "framework/unique_handle.h"
#include "sim/port_publisher.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/held_mutex.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "tests/wine/winsock_environment.h"

namespace {

class LanDeviceTest : public ::testing::Test {
protected:
    void TearDown() override { SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 10, 0); }

    // The status mutex of the port, and its wait's trace with the result.
    std::string Mutex() const { return "Global\\KORVA.Nylm.Status." + m_strPort + ".Mutex"; }
    std::string MutexWait(int nResult) const {
        return "CLanDevice::CClocker::CClocker() : WaitForMultipleObjects(" + Mutex() + ") returns " +
               std::to_string(nResult) + ". Request not sent\n";
    }

    const std::string m_strPort = UniqueName("LAN");
    CRecordingNotify m_Notify;
    CTraceCapture m_Trace;
};

} // namespace

TEST_F(LanDeviceTest, SharedBlockRoadFollowsThePrintPath) {
    // The print path's objects for the port: its status mutex and block.
    CPortPublisher printPath(m_strPort);
    ASSERT_EQ(0u, printPath.Open());
    CLanDevice device(&m_Notify, "Kestrel C", m_strPort.c_str(), nullptr);
    const struct {
        CDeviceStatus record;
        std::vector<std::string> expected;
    } steps[] = {
        {Record(1, 0, 0), {"StatusChanged"}}, {Record(3, 1, 0), {"PrintingStarted", "StatusChanged"}},
        {Record(3, 4, 0), {"StatusChanged"}}, {Record(1, 4, 0x80000001), {"PrintingEnded", "ErrorRaised"}},
        {Record(1, 0, 0), {"ErrorCleared"}},
    };
    for (const auto& step : steps) {
        ASSERT_EQ(0u, printPath.Publish(step.record, 1000));
        device.PollStatus();
        EXPECT_EQ(step.expected, m_Notify.Take());
        CDeviceStatus read;
        ASSERT_EQ(0u, device.ReadStatus(&read));
        EXPECT_EQ(step.record, read);
    }
    EXPECT_TRUE(device.IsKestrelModel());
}

// Without its status block the print path still answers for the printer
// through its mutex: the device asks the printer once the mutex is free, and
// only a failed exchange gives the no-answer record. While the mutex is held,
// a poll or a request of the user's waits a bounded time, keeping the thread's
// messages flowing, and knows nothing new; it gives up at once when the device
// stops.
TEST_F(LanDeviceTest, MutexWithoutMappingAsksThePrinterOnceTheMutexIsFree) {
    const CUniqueHandle hPrintPath(CreateMutexA(nullptr, FALSE, Mutex().c_str()));
    CLanDevice device(&m_Notify, "Kestrel C", m_strPort.c_str(), nullptr);
    CDeviceStatus status = Record(1, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), device.ReadStatus(&status)) << "no link to ask";
    EXPECT_EQ(Record(1, 0, 0), status) << "a failed read leaves the record alone";

    device.PollStatus();
    EXPECT_EQ(std::vector<std::string>{"RefreshDisplay"}, m_Notify.Take());
    EXPECT_EQ(0x80001000u, device.GetStatusCode());
    EXPECT_EQ(1, device.GetDeviceState());

    CHeldMutex held(Mutex());
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    device.PollStatus();
    EXPECT_TRUE(m_Notify.Take().empty());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) << "taken while waiting";
    EXPECT_EQ(1, m_Trace.Count(MutexWait(258)));

    std::thread stopper([&device] { device.SignalStop(); });
    DEVICE_INFO info = {};
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), device.ReadInfo(&info));
    stopper.join();
    EXPECT_EQ(1, m_Trace.Count(MutexWait(1)));
}

// A link without a colon fails every exchange: the first read (the polling
// thread's) fails, the device shows the start-up record and tells nothing, and
// Cancel asks the printer and fails. With the print path's console events,
// Cancel and Resume go there, sending and tracing nothing. Once the device is
// stopping, no exchange starts at all.
TEST_F(LanDeviceTest, LinkWithoutColonFailsEveryExchangeButTheConsoleEvents) {
    CLanDevice device(&m_Notify, "Kestrel C", m_strPort.c_str(), nullptr);
    device.OnConnected("printer-without-port");
    const char kFirstRead[] = "CLanStatusThread::Start() : ReadStatus() failed. GetLastError() = 31\n";
    ASSERT_TRUE(WaitFor([&] { return m_Trace.Count(kFirstRead) > 0; }, 5000));
    device.OnDisconnected();
    EXPECT_EQ(2, device.GetDeviceState());
    EXPECT_EQ(0x2A, device.GetProductId());
    EXPECT_TRUE(m_Notify.Take().empty());
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), device.OnCancel());

    const auto console = [this](const char* pszName) {
        return CUniqueHandle(CreateEventA(nullptr, FALSE, FALSE,
                                          ("Global\\KORVA.Nylm.Console." + m_strPort + pszName).c_str()));
    };
    const CUniqueHandle hCancel = console(".Cancel"), hResume = console(".Resume");
    m_Trace.Clear();
    EXPECT_EQ(0u, device.OnCancel());
    EXPECT_EQ(0u, device.OnResume());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0),
              WaitForMultipleObjects(2, std::array<HANDLE, 2>{hCancel.Get(), hResume.Get()}.data(), TRUE, 0));
    EXPECT_TRUE(m_Trace.Lines().empty());
    device.SignalStop();
    CDeviceStatus status;
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), device.ReadStatus9100(&status));
}

TEST_F(LanDeviceTest, PortInfoOfAnUnknownPortAndOnOlderSystemsFromThePortSettings) {
    // The port monitor's answer on later systems is read in the port cache's test.
    CTestPortMonitor monitor;
    std::string strAddress, strLink;
    DWORD dwTcpPort = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PORT),
              CLanDevice::GetPortInfo2K(UniqueName("NOPORT"), strAddress, dwTcpPort));
    monitor.AddNetworkPort(m_strPort, "192.168.7.9", 9105);
    SetWindowsVersionForTesting(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ASSERT_EQ(0u, CLanDevice::GetPortInfo2K(m_strPort, strAddress, dwTcpPort));
    CLanDevice::MakeLink(strLink, strAddress, dwTcpPort);
    EXPECT_EQ("192.168.7.9:9105", strLink);
    // A port number that cannot be read fails the look-up, though the port
    // has been set to the default.
    monitor.SetString(m_strPort, "PortNumber", "not a number at all");
    dwTcpPort = 0;
    EXPECT_NE(0u, CLanDevice::GetPortInfo2K(m_strPort, strAddress, dwTcpPort));
    EXPECT_EQ(9100u, dwTcpPort);
}
