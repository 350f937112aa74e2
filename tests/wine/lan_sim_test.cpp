// The network device against the simulator's network printer: its polling,
// Cancel and Resume refused over PJL, a stop during an exchange, and every way
// the printer can misbehave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>

#include "devices/lan/lan_device.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/network_sim.h"
#include "tests/wine/test_printer.h"

namespace {

// A device on the printer's link that polls only when the test says so: it
// is connected once, then its polling thread is stopped.
std::unique_ptr<CLanDevice> ManualDevice(CDeviceNotify* pNotify, const std::string& strLink) {
    auto pDevice =
        std::make_unique<CLanDevice>(pNotify, "Kestrel D", UniqueName("NET").c_str(), strLink.c_str());
    pDevice->OnDisconnected();
    return pDevice;
}

class LanSimTest : public ::testing::Test {
protected:
    CRecordingNotify m_Notify;
};

// A loopback listener whose one-place backlog is already taken: the next
// connection attempt is never answered, so it ends in the connect time-out.
class CFullBacklogListener {
public:
    CFullBacklogListener()
        : m_hListener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)), m_nTcpPort(BindLoopback(m_hListener)) {
        listen(m_hListener, 1);
        const sockaddr_in address = Loopback(m_nTcpPort);
        for (SOCKET& hQueued : m_ahQueued) {
            hQueued = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            u_long nNonBlocking = 1;
            ioctlsocket(hQueued, FIONBIO, &nNonBlocking);
            connect(hQueued, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
        }
        Sleep(200);
    }
    ~CFullBacklogListener() {
        for (SOCKET hQueued : m_ahQueued)
            closesocket(hQueued);
        closesocket(m_hListener);
    }
    std::string Link() const { return "127.0.0.1:" + std::to_string(m_nTcpPort); }

private:
    SOCKET m_hListener;
    std::uint32_t m_nTcpPort;
    SOCKET m_ahQueued[2] = {};
};

} // namespace

// Each way the printer misbehaves ends the exchange with its code and one
// trace of where it ended. A status exchange waits for the connection, then
// for the reply; a printer that keeps sending never extends the second.
TEST_F(LanSimTest, EachFailedExchangeEndsWithItsCodeWhereItFailed) {
    const struct {
        const char* pszArguments; // null: the full-backlog listener
        DWORD dwCode;
        const char* pszTrace; // a line traced once, or the start of lines traced
    } cases[] = {
        {"--misbehave refuse", 10061,
         "CLanThread::InitInstance() : Connect() failed. GetLastError() 10061\n"},
        // However late the reader, some piece arrives alone.
        {"--misbehave split", 0, "CNySocket::OnReceive() : Receive() reads 7 bytes (total "},
        {"--misbehave wrong-stamp", 13, "CLanThread::InitInstance() : Invalid Time Stamp\n"},
        {"--misbehave close-early", 4306, "CNySocket::OnReceive() : Receive() returns 0\n"},
        {"--misbehave garbage", 13, "CLanStatusThread::CopyData() : Unable to found \"NYSTATUS=\" in data\n"},
        {"--misbehave overflow", 234, "CNySocket::OnReceive() : The reply does not fit in 4096 bytes\n"},
        {nullptr, ERROR_TIMEOUT,
         "CLanThread::InitInstance() : WaitForEvent(m_hConnectEvent) failed. GetLastError() = 1460\n"},
        {"--misbehave silent", ERROR_TIMEOUT,
         "CLanThread::InitInstance() : WaitForEvent(m_dwReceiveTimeOut) failed. GetLastError() = 1460\n"},
        {"--misbehave dribble", ERROR_TIMEOUT,
         "CLanThread::InitInstance() : WaitForEvent(m_dwReceiveTimeOut) failed. GetLastError() = 1460\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszArguments ? c.pszArguments : "full backlog");
        std::unique_ptr<CNetworkPrinter> pPrinter;
        if (c.pszArguments)
            pPrinter = std::make_unique<CNetworkPrinter>(std::string("--scenario idle ") + c.pszArguments);
        ASSERT_TRUE(!pPrinter || pPrinter->Started());
        const CFullBacklogListener listener;
        auto pDevice = ManualDevice(&m_Notify, pPrinter ? pPrinter->Link() : listener.Link());
        CTraceCapture trace;
        CDeviceStatus status;
        EXPECT_EQ(c.dwCode, pDevice->ReadStatus9100(&status));
        const std::vector<std::string> lines = trace.Lines();
        const auto nLines = std::count_if(lines.begin(), lines.end(), [&c](const std::string& line) {
            return line.rfind(c.pszTrace, 0) == 0;
        });
        EXPECT_TRUE(c.pszTrace[std::strlen(c.pszTrace) - 1] == '\n' ? nLines == 1 : nLines >= 1) << nLines;
        // A failed read leaves the record alone.
        EXPECT_EQ(c.dwCode == 0, status.IsValid());
    }
}

// The device starts without asking the printer on the caller's thread: its
// polling thread's first read shows the printer's own state without telling
// it as a change. Without the print path's console events, Cancel and Resume
// ask the printer over PJL (that they take effect is seen in the status
// window's test): this printer refuses them, failing both. A printer that then
// stops answering ends its job; every failed poll shows the no-answer record,
// and polling goes on.
TEST_F(LanSimTest, TheFirstReadShowsThePrinterItRefusesCancelAndResumeAndPollingGoesOnAfterFailures) {
    CScriptFile script("0 3 4 30 0\n60000 1 0 0 0\n");
    CNetworkPrinter printer("--script \"" + script.Path() + "\" --misbehave refuse-command");
    ASSERT_TRUE(printer.Started());
    CLanDevice device(&m_Notify, "Kestrel D", printer.Port().c_str(), printer.Link().c_str());
    EXPECT_EQ(std::vector<std::string>{"RefreshDisplay"}, m_Notify.TakeAfter(1, 10000));
    EXPECT_TRUE(device.IsPrinting(nullptr));
    CTraceCapture trace;
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), device.OnCancel());
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), device.OnResume());
    for (const std::string strOn : {"Cancel", "Resume"})
        EXPECT_EQ(1, trace.Count("CLanDevice::On" + strOn + "9100() : Device returns 2\n"));

    printer.Stop();
    EXPECT_EQ((std::vector<std::string>{"PrintingEnded", "RefreshDisplay", "RefreshDisplay"}),
              m_Notify.TakeAfter(3, 10000));
    EXPECT_EQ(0x80001000u, device.GetStatusCode());
}

// A stopping device gives up its exchange with a printer that never answers
// at once: the polling thread's and the user's alike (Exit ending the user's
// wait is seen in the tray's test). The exchange thread then ends on the same
// signal.
TEST_F(LanSimTest, StopAbandonsTheExchangeUnderWay) {
    const char kSent[] = "CLanThread::InitInstance() : Send() write 83 bytes\n";
    CNetworkPrinter printer("--scenario idle --misbehave silent");
    ASSERT_TRUE(printer.Started());
    CTraceCapture trace;
    auto pDevice =
        std::make_unique<CLanDevice>(&m_Notify, "Kestrel D", printer.Port().c_str(), printer.Link().c_str());
    ASSERT_TRUE(WaitFor([&] { return trace.Count(kSent) >= 1; }, 5000));
    pDevice->SignalStop();
    pDevice.reset();
    EXPECT_EQ(1,
              trace.Count("CLanDevice::ReadStatus9100() : ReadFromDevice() failed. GetLastError() = 995\n"));
    EXPECT_TRUE(WaitFor(
        [&] {
            return trace.Count("CLanThread::InitInstance() : WaitForEvent(m_dwReceiveTimeOut) failed. "
                               "GetLastError() = 995\n") == 1;
        },
        5000));
    EXPECT_TRUE(m_Notify.Take().empty());

    auto pManual = ManualDevice(&m_Notify, printer.Link());
    trace.Clear();
    std::thread ending([&] {
        if (WaitFor([&] { return trace.Count(kSent) >= 1; }, 5000))
            pManual->SignalStop();
    });
    CDeviceStatus status;
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), pManual->ReadStatus9100(&status));
    ending.join();
}
