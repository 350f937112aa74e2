// The monitoring core end to end on every road at once: printers installed in
// Wine's spooler, a USB printer found through SetupAPI and served by the
// simulator through the stand-in class driver, a network printer answered
// by the simulator's PJL printer, and a printer on LPT1. The status window of
// the USB printer receives the messages of a scripted job with a paper-out
// and a Resume; the printer is unplugged and plugged in again, also while
// its Cancel waits for the print path.
#include "tests/wine/winsock_environment.h"

#include <dbt.h>

#include "devices/devices.h"
#include "monitor/dialog_monitor.h"
#include "sim/usb/usb_driver_service.h"
#include "sim/usb/usb_setup.h"
#include "tests/wine/fake_usb_printer.h"
#include "tests/wine/held_mutex.h"
#include "tests/wine/monitor_harness.h"
#include "tests/wine/network_sim.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "ui/status_window_source.h"

namespace {

// Ready while the test sets up, then feed in, a yellow pass, a paper-out held
// until Resume, the rest of the pass, ready.
constexpr char kJob[] = "0 1 0 0 0\n5000 3 1 0 0\n5600 3 7 0 0\n6200 3 4 50 0x80000001 hold\n"
                        "6800 3 4 60 0\n7400 1 0 0 0\n";

// The messages of that job, notification by notification, as the status window takes them.
const std::vector<UINT> kJobMessages = {
    WM_NY_REFRESH,        WM_NY_PRINTING_STARTED, WM_NY_REFRESH, WM_NY_STATUS_CHANGED, // feed in
    WM_NY_REFRESH,        WM_NY_STATUS_CHANGED,                                        // yellow
    WM_NY_ERROR_RAISED,   WM_NY_REFRESH,                                               // paper out
    WM_NY_ERROR_CLEARED,  WM_NY_REFRESH,                                               // resumed
    WM_NY_REFRESH,        WM_NY_STATUS_CHANGED,                                        // 60 %
    WM_NY_PRINTING_ENDED, WM_NY_REFRESH,          WM_NY_REFRESH, WM_NY_STATUS_CHANGED, // ready
};

bool MappingExists(const std::string& strName) {
    CUniqueHandle hMapping(OpenFileMappingA(FILE_MAP_READ, FALSE, strName.c_str()));
    return static_cast<bool>(hMapping);
}

class MonitorRoadTest : public ::testing::Test {
protected:
    // The USB printer found through SetupAPI, its Devices key for the driver's start, and the driver.
    void SetUp() override {
        m_usb.strSerial = UniqueName("NYE");
        m_usb.strPort = m_strUsbPort;
        ASSERT_EQ(0u, CSimUsbSetup::Install(m_usb));
        m_pBridge = std::make_unique<CFakeUsbPrinter>(m_usb.strSerial);
        ASSERT_EQ(0u, CUsbDriverService::Install(DriverPath()));
        ASSERT_EQ(0u, CUsbDriverService::Start());
    }
    void TearDown() override {
        CUsbDriverService::Stop();
        m_pUsbSim.reset();
        CSimUsbSetup::Remove(m_usb);
    }
    // The simulator plays the USB printer through the driver.
    void PlayUsbPrinter(const std::string& strArguments) {
        m_pUsbSim = std::make_unique<CSimulator>("--port " + m_strUsbPort + " --usb " + m_usb.strSerial +
                                                 " --no-print-path " + strArguments);
        ASSERT_TRUE(m_pUsbSim->Started());
        ASSERT_TRUE(
            WaitFor([&] { return MappingExists(usbbridge::kMappingPrefix + m_usb.strSerial); }, 10000));
    }

    const std::string m_strUsbPort = UniqueName("USB");
    SimUsbPrinter m_usb;
    std::unique_ptr<CFakeUsbPrinter> m_pBridge;
    std::unique_ptr<CSimulator> m_pUsbSim;
};

} // namespace

TEST_F(MonitorRoadTest, EveryRoadAtOnceWithTheUsbPrinterUnpluggedAndBack) {
    CScriptFile job(kJob);
    PlayUsbPrinter("--script \"" + job.Path() + "\"");
    CNetworkPrinter netPrinter("--scenario idle");
    ASSERT_TRUE(netPrinter.Started());
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort(netPrinter.Port(), "127.0.0.1", netPrinter.TcpPort());

    CMonitorHarness harness;
    const CTestPrinter usb(UniqueName("Kestrel USB "), m_strUsbPort, "Kestrel 2006");
    const CTestPrinter net(UniqueName("Kestrel Net "), netPrinter.Port(), "Kestrel 2006 WiFi");
    const CTestPrinter local(UniqueName("Kestrel LPT "), "LPT1", "Kestrel 2004");
    harness.Synchronise();
    for (const std::string& strName : {usb.Name(), net.Name(), local.Name()}) {
        const CDeviceControl* pControl = harness.Find(strName);
        ASSERT_TRUE(pControl) << strName;
        EXPECT_TRUE(pControl->IsConnected()) << strName;
    }
    harness.TakeMessages();

    // Dispatches the queue until the printer's job has ended; Resume is given
    // when the paper-out arrives, by the printer's own request as the USB
    // device sends it.
    std::vector<UINT> messages;
    bool bPrinted = false;
    WaitFor(
        [&] {
            const std::vector<UINT> fresh = harness.TakeMessages();
            messages.insert(messages.end(), fresh.begin(), fresh.end());
            for (UINT nMessage : fresh) {
                bPrinted = bPrinted || nMessage == WM_NY_PRINTING_ENDED;
                if (nMessage == WM_NY_ERROR_RAISED) {
                    EXPECT_EQ(0u, m_pBridge->Set(usbbridge::kRequestResume));
                }
            }
            return bPrinted && !messages.empty() && messages.back() == WM_NY_STATUS_CHANGED;
        },
        25000);
    EXPECT_EQ(kJobMessages, messages);

    // Unplugged: the link goes, the controller disconnects; plugged in again,
    // the same controller connects and tells that the printer does not print.
    const CDeviceControl* pUsb = harness.Find(usb.Name());
    ASSERT_EQ(0u, CSimUsbSetup::Remove(m_usb));
    harness.Synchronise();
    EXPECT_FALSE(pUsb->IsConnected());
    EXPECT_EQ((std::vector<UINT>{WM_NY_DISCONNECTED, WM_NY_REFRESH}), harness.TakeMessages());
    ASSERT_EQ(0u, CSimUsbSetup::Install(m_usb));
    harness.Synchronise();
    EXPECT_EQ(pUsb, harness.Find(usb.Name()));
    EXPECT_TRUE(pUsb->IsConnected());
    EXPECT_EQ((std::vector<UINT>{WM_NY_PRINTING_ENDED, WM_NY_REFRESH, WM_NY_REFRESH, WM_NY_CONNECTED}),
              harness.TakeMessages());

    EXPECT_EQ(3u, harness.m_printers.GetCount());
}

// The USB printer unplugged while its Cancel waits for the status mutex the
// print path holds: the device change is taken during the wait, and the
// update that disconnects the printer runs only once the Cancel has returned,
// on the same controller and device.
TEST_F(MonitorRoadTest, AUsbPrinterUnpluggedWhileItsCancelWaitsGoesAfterTheCancel) {
    PlayUsbPrinter("--scenario idle");
    const CTestPrinter usb(UniqueName("Kestrel USB "), m_strUsbPort, "Kestrel 2006");

    CDevices devices;
    CNyAgentWindows windows;
    CSilentTray tray;
    CDialogMonitor monitor(devices, windows, FALSE);
    ASSERT_TRUE(monitor.Create(nullptr));
    SendMessageA(monitor.GetSafeHwnd(), CDialogMonitor::kMessageInit,
                 reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&tray)), 0);
    const CDeviceControl* pControl = FindControl(monitor.GetPrinters(), usb.Name());
    ASSERT_TRUE(pControl);
    ASSERT_TRUE(pControl->IsConnected());

    {
        const CHeldMutex printPath("KORVA.Nylm.Status." + m_strUsbPort + ".Mutex");
        ASSERT_EQ(0u, CSimUsbSetup::Remove(m_usb));
        PostMessageA(monitor.GetSafeHwnd(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        EXPECT_EQ(static_cast<DWORD>(ERROR_BUSY), pControl->GetDevice().OnCancel());
        EXPECT_TRUE(pControl->IsConnected()) << "no update during the wait";
    }
    EXPECT_TRUE(Pump(5000, [&] { return !pControl->IsConnected(); }));
    EXPECT_EQ(pControl, FindControl(monitor.GetPrinters(), usb.Name())) << "the same controller and device";
}
