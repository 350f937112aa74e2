// The monitor window wired as the agent wires it, on printers of Wine's
// spooler, with a tray that records what it is told; the About and device
// information dialogs on the printers it watches.
#include "tests/wine/winsock_environment.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>

#include <dbt.h>

#include "app/destruction_event.h"
#include "app/winver.h"
#include "devices/devices.h"
#include "monitor/dialog_monitor.h"
#include "monitor/tray_state.h"
#include "resources/resource_ids.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/network_sim.h"
#include "tests/wine/run_later.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "ui/about_dlg.h"
#include "ui/info_dlg.h"
#include "ui/status_window_source.h"

namespace {

constexpr DWORD kNT = VER_PLATFORM_WIN32_NT;

class CRecordingTray : public CTrayState {
public:
    void SetState(int nState) override { m_states.push_back(nState); }
    void PostDestroy() override { ++m_nDestroys; }
    std::vector<int> m_states;
    int m_nDestroys = 0;
};

// Once armed, the next synchronisation first delivers a device change to the
// monitor window, as creating a window or a device may.
class CReentrantDevices : public CDevices {
public:
    void Synchronise() override {
        if (HWND hMonitor = std::exchange(m_hArmed, nullptr))
            SendMessageA(hMonitor, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        CDevices::Synchronise();
    }
    HWND m_hArmed = nullptr;
};

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override { SetWindowsVersionForTesting(kNT, 6, 1); }
    HWND Create() {
        m_pMonitor = std::make_unique<CDialogMonitor>(m_devices, m_windows, FALSE);
        EXPECT_TRUE(m_pMonitor->Create(nullptr));
        return m_pMonitor->GetSafeHwnd();
    }
    LRESULT Send(UINT nMessage, WPARAM wParam = 0) {
        return SendMessageA(m_pMonitor->GetSafeHwnd(), nMessage, wParam, 0);
    }
    void Init() {
        Send(CDialogMonitor::kMessageInit, reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&m_tray)));
    }
    int Trace(const std::string& strText) { return m_Trace.Count("CDialogMonitor::" + strText + "\n"); }
    int Updates() {
        return Trace("InitOrUpdatePrintersAndDevicesList LEAVING " + std::to_string(GetCurrentThreadId()));
    }

    CTraceCapture m_Trace;
    CReentrantDevices m_devices;
    CNyAgentWindows m_windows;
    CRecordingTray m_tray;
    std::unique_ptr<CDialogMonitor> m_pMonitor;
};

} // namespace

TEST_F(MonitorTest, TrayStateIsSetAfterInitOnly) {
    const struct {
        std::vector<std::string> ports;
        int nState;
    } cases[] = {{{}, 1}, {{UniqueName("LPT"), "USB987"}, 1}, {{"USB987", "USB988"}, 2}};
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<CTestPrinter>> printers;
        for (const std::string& strPort : c.ports)
            printers.push_back(
                std::make_unique<CTestPrinter>(UniqueName("Kestrel Tray "), strPort, "Kestrel 2004"));
        m_tray.m_states.clear();
        Create();
        Send(WM_DEVICECHANGE, DBT_DEVNODES_CHANGED);
        EXPECT_TRUE(m_tray.m_states.empty());
        Init();
        EXPECT_EQ(std::vector<int>{c.nState}, m_tray.m_states) << c.ports.size();
        // Nothing prints: even Windows 2000 may sleep.
        SetWindowsVersionForTesting(kNT, 5, 0);
        EXPECT_EQ(TRUE, Send(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND));
        SetWindowsVersionForTesting(kNT, 6, 1);
        m_pMonitor.reset();
    }
}

TEST_F(MonitorTest, BroadcastsUpdateOnceAndOnWindows2000OnceMoreByTimer) {
    Create();
    Init();
    for (const DWORD dwMinor : {1, 0}) {
        for (const UINT nMessage : {WM_DEVICECHANGE, WM_SETTINGCHANGE}) {
            SetWindowsVersionForTesting(kNT, 5, dwMinor);
            m_Trace.Clear();
            std::thread broadcaster([nMessage] {
                SendMessageTimeoutA(HWND_BROADCAST, nMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
            });
            const int nUpdates = dwMinor == 0 ? 2 : 1;
            Pump(3000, [&] { return Updates() == nUpdates; });
            broadcaster.join();
            Pump(100);
            EXPECT_EQ(nUpdates, Updates()) << nMessage << " on 5." << dwMinor;
        }
    }
    // A further notification within the 20 ms starts them again: one late update.
    m_Trace.Clear();
    Send(WM_DEVICECHANGE);
    Send(WM_SETTINGCHANGE);
    Pump(300);
    EXPECT_EQ(3, Updates());
    EXPECT_EQ(1, Trace("OnTimerDeviceChange()"));
}

// A notification that arrives during an update is caught up once it ends
// (one that arrives while a request dispatches messages is seen on the USB
// road, with the Cancel that waits).
TEST_F(MonitorTest, ANotificationDuringAnUpdateIsCaughtUp) {
    m_devices.m_hArmed = Create();
    Init();
    EXPECT_EQ(1, Updates());
    EXPECT_EQ(1, Trace("OnDeviceChange()"));
    Pump(200);
    EXPECT_EQ(2, Updates());
}

TEST_F(MonitorTest, TicksEndTheAgentOnTheStopSignalOnlyWithATray) {
    const CUniqueHandle hStop(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    SetDestructionEvent(hStop.Get());
    Create();
    Pump(300);
    EXPECT_EQ(0, m_tray.m_nDestroys);
    Init();
    Pump(3000, [&] { return m_tray.m_nDestroys > 0; });
    SetDestructionEvent(nullptr);
    EXPECT_LE(1, m_tray.m_nDestroys);
}

TEST_F(MonitorTest, SuspendIsRefusedUpToWindows2000WhileAPrinterPrints) {
    CScriptFile script("0 3 4 50 0\n600000 1 0 0 0\n");
    CNetworkPrinter sim("--script \"" + script.Path() + "\"");
    ASSERT_TRUE(sim.Started());
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort(sim.Port(), "127.0.0.1", sim.TcpPort());
    const CTestPrinter printing(UniqueName("Kestrel Busy "), sim.Port(), "Kestrel 2005");
    const CTestPrinter idle(UniqueName("Kestrel Idle "), UniqueName("LPT"), "Kestrel 2006");
    Create();
    Init();
    SetWindowsVersionForTesting(kNT, 5, 0);
    Pump(20000, [&] { return Send(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND) == BROADCAST_QUERY_DENY; });
    // Per case: the answer, and whether each printer was asked (the printing one says no).
    const struct {
        DWORD dwPlatform, dwMinor;
        WPARAM nEvent;
        LRESULT lAnswer;
        int nAsked;
    } cases[] = {{kNT, 0, PBT_APMQUERYSUSPEND, BROADCAST_QUERY_DENY, 1},
                 {VER_PLATFORM_WIN32_WINDOWS, 10, PBT_APMQUERYSUSPEND, BROADCAST_QUERY_DENY, 1},
                 {kNT, 1, PBT_APMQUERYSUSPEND, TRUE, 0},
                 {kNT, 0, PBT_APMSUSPEND, TRUE, 0},
                 {kNT, 0, PBT_APMPOWERSTATUSCHANGE, TRUE, 0}};
    for (const auto& c : cases) {
        SetWindowsVersionForTesting(c.dwPlatform, c.dwPlatform == kNT ? 5 : 4, c.dwMinor);
        m_Trace.Clear();
        EXPECT_EQ(c.lAnswer, Send(WM_POWERBROADCAST, c.nEvent)) << c.nEvent << " on " << c.dwMinor;
        for (const CTestPrinter* pPrinter : {&printing, &idle})
            EXPECT_EQ(c.nAsked, m_Trace.Count("CPrinters::OnQuerySuspend() : " + pPrinter->Name() + " : " +
                                              (pPrinter == &printing ? "FALSE\n" : "TRUE\n")));
    }
    m_pMonitor.reset();
}

TEST_F(MonitorTest, AboutExportHoldsEveryPrinterAndLogsAreOfferedForUsbOnly) {
    // Each printer's tree as its information gives it: the printer data that
    // stands in for a device that answers nothing, and the tree made of it,
    // are checked with the printer set and natively.
    const CTestPrinter usb(UniqueName("Kestrel About USB "), "USB987", "Kestrel 2004");
    const CTestPrinter lpt(UniqueName("Kestrel About LPT "), UniqueName("LPT"), "Kestrel 2005");
    Create();
    Init();
    std::vector<const CDeviceControl*> controls;
    m_pMonitor->GetPrinters().ForEach([&](const CDeviceControl& control) { controls.push_back(&control); });

    char szPath[MAX_PATH];
    GetTempPathA(MAX_PATH, szPath);
    const std::string strPath = std::string(szPath) + UniqueName("about") + ".Info";
    CAboutDlg about(m_pMonitor.get(), nullptr);
    WhenDialogShows(IDC_STATIC_LEGAL, [&](HWND) { EXPECT_TRUE(about.Export(strPath.c_str())); });
    EXPECT_EQ(IDOK, about.DoModal(nullptr));
    std::ifstream stream(strPath, std::ios::binary);
    const std::string strBytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    stream.close();
    DeleteFileA(strPath.c_str());

    // UTF-16LE after the byte-order mark; the names are ASCII.
    ASSERT_EQ(0, strBytes.compare(0, 2, "\xFF\xFE"));
    std::string strText;
    for (std::size_t i = 2; i + 1 < strBytes.size(); i += 2)
        strText += strBytes[i + 1] == 0 ? strBytes[i] : '?';
    EXPECT_NE(std::string::npos, strText.find(" version 4.0\r\n")) << strText;
    EXPECT_NE(std::string::npos, strText.find("Printer Name : \"" + usb.Name() +
                                              "\"\r\n\tPort Name : \"USB987\"\r\n\tShared : \"No\"\r\n"
                                              "\tDevice (Not connected)\r\n"));
    // One subtree per printer, in the set's order; the information dialog offers Logs... for USB only.
    std::size_t nAt = 0;
    for (const CDeviceControl* pControl : controls) {
        const std::string strName = pControl->GetPrinterName();
        nAt = strText.find("\r\nPrinter Name : \"" + strName + "\"\r\n\t", nAt);
        EXPECT_NE(std::string::npos, nAt) << strName;
        if (strName != usb.Name() && strName != lpt.Name())
            continue; // another test's printer
        CDeviceInformation information;
        pControl->ReadDeviceInformation(information);
        CInfoDlg info(pControl, &information);
        bool bLogsShown = strName != usb.Name();
        WhenDialogShows(IDC_BUTTON_LOGS, [&](HWND hDlg) {
            // The button's own style: the dialog may not be shown yet.
            bLogsShown = (GetWindowLongA(GetDlgItem(hDlg, IDC_BUTTON_LOGS), GWL_STYLE) & WS_VISIBLE) != 0;
        });
        EXPECT_EQ(IDOK, info.DoModal(nullptr));
        EXPECT_EQ(strName == usb.Name(), bLogsShown) << strName;
    }
}
