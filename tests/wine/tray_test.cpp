// The tray applet in this process: its menu's items for printers in every
// state, the owner-drawn menu they become, the icon and tip of each state,
// the switches flipped from the menu, and the run loop with the shell's icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <tuple>

#include "app/nyagent_app.h"
#include "app/registry.h"
#include "devices/devices.h"
#include "framework/nested_loop.h"
#include "monitor/dialog_monitor.h"
#include "resources/resource_ids.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/network_sim.h"
#include "tests/wine/run_later.h"
#include "tests/wine/shell_desktop.h"
#include "tests/wine/test_port_monitor.h"
#include "ui/ny_task_bar_applet.h"
#include "ui/status_window_source.h"
#include "ui/tray_menu_model.h"
#include "ui/tray_tip.h"

namespace {

using namespace tray_menu;

const auto* const g_pShell = ::testing::AddGlobalTestEnvironment(new CShellDesktop);

// The application object; its agent, when it runs, is an applet whose menu
// switches are chosen as the test says, each checked at the next showing.
class CTestApp : public CNyAgentApp {
public:
    std::vector<UINT> m_choices, m_checked;

protected:
    void FirstCallOfIsReachable() override {}
    void RunAgent() override {
        CDevices devices;
        CNyAgentWindows windows(&GetSettings());
        CDialogMonitor monitor(devices, windows, FALSE);
        CNyTaskBarApplet applet(&monitor, GetSettings());
        for (const UINT nCommand : m_choices) {
            applet.BuildMenu();
            applet.HandleMenuCommand(nCommand);
            // The next right click shows the switch as it now is.
            m_checked.push_back(GetMenuState(applet.BuildMenu().GetSafeHmenu(), nCommand, MF_BYCOMMAND) &
                                MF_CHECKED);
        }
    }
};

const Texts kTexts{"About...", "Open on error", "Open when printing", "Open", "Exit"};

// Each item as "text:command" and what it has of a check mark, gray, bold default and picture.
std::vector<std::string> Lines(const std::vector<Item>& items) {
    std::vector<std::string> lines;
    for (const Item& i : items)
        lines.push_back(i.strText + ":" + std::to_string(i.nCommand) + (i.bChecked ? " checked" : "") +
                        (i.bGrayed ? " grayed" : "") + (i.bDefault ? " default" : "") +
                        (i.nImage == kNoImage ? "" : " image " + std::to_string(i.nImage)));
    return lines;
}

// The printers' pictures: ready 0, error 1, not connected 2, printing 4. A
// text missing from the string table leaves its entry out: no default, nothing
// grayed. The items become the owner-drawn menu, rebuilt as on every right click.
TEST(TrayMenuItems, FollowThePrintersInTheirOrderAndTheSwitchesAndBecomeTheOwnerDrawnMenu) {
    const struct {
        const char* pszName;
        std::vector<Printer> printers;
        bool bOpenOnError, bOpenWhenPrinting;
        std::vector<std::string> expected;
        Texts texts = kTexts;
    } cases[] = {
        {"no printer",
         {},
         true,
         false,
         {"About...:103", ":0", "Open on error:104 checked", "Open when printing:105", ":0",
          "Open:106 default", "Exit:107"}},
        {"one of each state",
         {{"Zeta & Co", true, false, false},
          {"Alpha", false, true, true},
          {"Mid", true, true, false},
          {"Busy", true, false, true},
          {"Both", true, true, true}},
         false,
         true,
         {"About...:103 grayed", ":0", "Zeta && Co:1106 image 0", "Alpha:1107 image 2", "Mid:1108 image 1",
          "Busy:1109 image 4", "Both:1110 image 1", ":0", "Open on error:104",
          "Open when printing:105 checked", ":0", "Open:106 default", "Exit:107"}},
        {"texts missing",
         {{"P", true, false, true}},
         true,
         true,
         {":0", "P:1106 image 4", ":0", "a:104 checked", "b:105 checked", ":0", "c:107"},
         Texts{"", "a", "b", "", "c"}},
    };
    CTrayMenu menu;
    for (const auto& c : cases) {
        const std::vector<Item> items = BuildItems(c.texts, c.printers, c.bOpenOnError, c.bOpenWhenPrinting);
        EXPECT_EQ(c.expected, Lines(items)) << c.pszName;
        EXPECT_EQ(nullptr, FindPrinter(c.printers, kFirstPrinter + c.printers.size()));
        EXPECT_EQ(nullptr, FindPrinter(c.printers, kExit));
        ASSERT_TRUE(menu.Build(items));
        const HMENU hMenu = menu.GetSafeHmenu();
        ASSERT_EQ(static_cast<int>(items.size()), GetMenuItemCount(hMenu));
        UINT nDefault = static_cast<UINT>(-1);
        for (std::size_t i = 0; i < items.size(); ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE;
            ASSERT_TRUE(GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info));
            std::string strText;
            EXPECT_TRUE(menu.GetMenuText(static_cast<UINT>(i), strText, MF_BYPOSITION));
            // A separator's gray is the system's.
            const bool bSeparator = items[i].nCommand == kNone;
            EXPECT_EQ(std::make_tuple(true, bSeparator, items[i].nCommand, items[i].bChecked,
                                      !bSeparator && items[i].bGrayed, items[i].strText),
                      std::make_tuple((info.fType & MFT_OWNERDRAW) != 0, (info.fType & MFT_SEPARATOR) != 0,
                                      info.wID, (info.fState & MFS_CHECKED) != 0,
                                      !bSeparator && (info.fState & MFS_GRAYED) != 0, strText))
                << c.pszName << " " << i;
            nDefault = items[i].bDefault ? items[i].nCommand : nDefault;
        }
        EXPECT_EQ(nDefault, GetMenuDefaultItem(hMenu, FALSE, GMDI_USEDISABLED)) << c.pszName;
    }
}

TEST(TrayTip, TheErrorTipIsCutBetweenCharacters) {
    const auto narrow = [](UINT nCodePage, const std::wstring& wstrText) {
        std::string strText(wstrText.size() * 4, '\0');
        strText.resize(static_cast<std::size_t>(
            WideCharToMultiByte(nCodePage, 0, wstrText.c_str(), static_cast<int>(wstrText.size()),
                                &strText[0], static_cast<int>(strText.size()), nullptr, nullptr)));
        return strText;
    };
    const std::wstring wstrLong = L"Kestrel " + std::wstring(30, L'\x6253');
    const struct {
        UINT nCodePage;
        std::wstring wstrProduct, wstrPrinter, wstrExpected;
    } cases[] = {
        // 63 bytes: "Tessel Photo - " (15), "Kestrel " (8), whole characters within 37, "...".
        {CP_UTF8, L"Tessel Photo", wstrLong,
         L"Tessel Photo - Kestrel " + std::wstring(12, L'\x6253') + L"..."},
        {936, L"Tessel Photo", wstrLong, L"Tessel Photo - Kestrel " + std::wstring(18, L'\x6253') + L"..."},
        // A product too long for any printer: the product alone, cut.
        {CP_UTF8, L"Tessel Photo " + std::wstring(20, L'\x6253'), wstrLong,
         L"Tessel Photo " + std::wstring(16, L'\x6253')},
        {936, L"Tessel Photo " + std::wstring(30, L'\x6253'), wstrLong,
         L"Tessel Photo " + std::wstring(25, L'\x6253')},
        {CP_UTF8, L"Tessel Photo", L"Kestrel \x6253", L"Tessel Photo - Kestrel \x6253"},
    };
    for (const auto& c : cases) {
        const std::string strTip = tray_tip::ErrorTip(narrow(c.nCodePage, c.wstrProduct),
                                                      narrow(c.nCodePage, c.wstrPrinter), c.nCodePage);
        EXPECT_EQ(narrow(c.nCodePage, c.wstrExpected), strTip) << c.nCodePage;
        EXPECT_GE(tray_tip::kMaxTip, strTip.size());
    }
}

class TrayAppletTest : public ::testing::Test {
public:
    CTestApp m_app;
    CDevices m_devices;
    CNyAgentWindows m_windows{&m_app.GetSettings()};
    CDialogMonitor m_monitor{m_devices, m_windows, FALSE};
    CNyTaskBarApplet m_applet{&m_monitor, m_app.GetSettings()};
    CTraceCapture m_trace;

    // The monitor with the spooler's printers, telling the applet their state.
    void InitMonitor() {
        ASSERT_TRUE(m_monitor.Create(nullptr));
        SendMessageA(m_monitor.GetSafeHwnd(), CDialogMonitor::kMessageInit,
                     reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&m_applet)), 0);
    }
    static int RunLoop() { return CTaskBarApplet::RunMessageLoop(GetModuleHandleA(nullptr), ""); }
};

// A simulated network printer out of paper behind a printer without any link:
// the error icon with its name in the tip, and back once Resume clears it. The
// other printer's name holds an ampersand: its entry reads it, and choosing
// the entry opens that printer's window.
TEST_F(TrayAppletTest, IconAndTipOfAPrinterReallyInErrorAndAnEntryWhateverItsName) {
    CNetworkPrinter sim("--scenario paper-out", true);
    ASSERT_TRUE(sim.Started());
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort(sim.Port(), "127.0.0.1", 9100);
    const CTestPrinter unlinked(UniqueName("Kestrel R&D "), "USB999", "Kestrel 2006");
    const CTestPrinter printer(UniqueName("Kestrel Tray B"), sim.Port(), "Kestrel 2006 WiFi");
    InitMonitor();
    const auto iconBecomes = [this](UINT nIconId) {
        return WaitFor(
            [&] {
                m_applet.OnTimer();
                return m_applet.GetIconId() == nIconId;
            },
            20000);
    };
    ASSERT_TRUE(iconBecomes(132));
    EXPECT_EQ(std::string(CNyAgentApp::GetProductName()) + " - " + printer.Name(), m_applet.GetTip());

    const CUniqueHandle hResume(OpenEventA(EVENT_MODIFY_STATE, FALSE,
                                           ("Global\\KORVA.Nylm.Console." + sim.Port() + ".Resume").c_str()));
    ASSERT_TRUE(hResume);
    SetEvent(hResume.Get());
    EXPECT_TRUE(iconBecomes(131));
    EXPECT_EQ(CNyAgentApp::GetProductName(), m_applet.GetTip());

    const CTrayMenu& menu = m_applet.BuildMenu();
    const std::vector<Printer> printers = m_applet.GetMenuPrinters();
    const auto it = std::find_if(printers.begin(), printers.end(),
                                 [&](const Printer& p) { return p.strName == unlinked.Name(); });
    ASSERT_NE(printers.end(), it);
    const UINT nCommand = static_cast<UINT>(kFirstPrinter + (it - printers.begin()));
    std::string strText;
    ASSERT_TRUE(menu.GetMenuText(nCommand, strText, MF_BYCOMMAND));
    EXPECT_EQ(LiteralText(unlinked.Name()), strText);
    m_applet.HandleMenuCommand(nCommand);
    const HWND hWindow = FindWindowA("#32770", unlinked.Name().c_str());
    EXPECT_TRUE(hWindow && IsWindowVisible(hWindow));
    m_monitor.RemoveAllPrinters();
}

// The agent's loop, its icon shown, and Exit chosen while the status window's
// Properties button reads a network printer that takes requests and never
// answers: the read is abandoned, no information dialog opens, and the
// printers go and the loop ends with 0, its icon removed, only once the read
// has returned, without any exchange waiting for its time-out.
TEST_F(TrayAppletTest, ExitWhileTheInformationReadWaitsOnASilentPrinter) {
    CNetworkPrinter sim("--scenario idle --misbehave silent");
    ASSERT_TRUE(sim.Started());
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort(sim.Port(), "127.0.0.1", sim.TcpPort());
    const CTestPrinter printer(UniqueName("Kestrel Exit Net "), sim.Port(), "Kestrel 2006 WiFi");
    InitMonitor();
    const HWND hStatus = FindWindowA("#32770", printer.Name().c_str());
    ASSERT_NE(nullptr, hStatus);
    const HWND hProperties = GetDlgItem(hStatus, IDC_BUTTON_PROPERTIES);
    ASSERT_TRUE(IsWindowEnabled(hProperties));
    m_trace.Clear();
    const std::size_t nCount = m_monitor.GetPrinters().GetCount();
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    bool bReading = false, bAdded = false;
    std::size_t nAfterExit = 0, nAfterRead = 0;
    RunLater(50, [&] {
        RunLater(500, [&] {
            bReading = CNestedLoop::IsActive();
            icon.hWnd = CTaskBarApplet::GetMessageWindow();
            icon.uID = m_applet.GetId();
            bAdded = Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
            m_applet.HandleMenuCommand(kExit);
            nAfterExit = m_monitor.GetPrinters().GetCount();
        });
        SendMessageA(hProperties, BM_CLICK, 0, 0);
        nAfterRead = m_monitor.GetPrinters().GetCount();
    });
    EXPECT_EQ(0, RunLoop());
    EXPECT_TRUE(bReading && bAdded);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    EXPECT_EQ(nullptr, CTaskBarApplet::GetMessageWindow());
    EXPECT_EQ(std::make_pair(nCount, nCount), std::make_pair(nAfterExit, nAfterRead));
    EXPECT_EQ(0u, m_monitor.GetPrinters().GetCount());
    EXPECT_EQ(1, m_trace.Count(
                     "CDeviceControl::ReadDeviceInformation() : GetStatus() failed. GetLastError() = 995\n"));
    EXPECT_EQ(0, m_trace.Count("CLanThread::WaitForEvent() : TIMEOUT\n"));
}

// Only the menu takes the foreground; the other mouse notifications of the
// icon do nothing; anything else still shows the framework's box. Then the
// session's end, told to the tray's top-level window: nothing blocks it;
// under a nested loop the loops are asked to end and the printers stay for
// the process's end, otherwise the printers go with their devices.
TEST_F(TrayAppletTest, NotificationsOtherThanTheMenusDoNothingAndTheSessionsEndIsNeverBlocked) {
    const CTestPrinter printer(UniqueName("Kestrel End "), "USB997", "Kestrel 2006");
    InitMonitor();
    const std::size_t nCount = m_monitor.GetPrinters().GetCount();
    ASSERT_LT(0u, nCount);
    static bool s_bBox;
    std::vector<std::tuple<UINT, bool, bool>> seen; // code, foreground kept, box shown
    // Per case (nested first): the answer to the query, printers left, loop asked to end.
    using Ended = std::tuple<LRESULT, std::size_t, bool>;
    std::vector<Ended> ended;
    RunLater(50, [&] {
        const HWND hWnd = CTaskBarApplet::GetMessageWindow();
        const HWND hOther = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                            nullptr, nullptr, nullptr, nullptr);
        // Closes the box whenever one shows.
        const UINT_PTR nBoxTimer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            if (const HWND hBox = FindWindowA("#32770", "Odd")) {
                s_bBox = true;
                PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            }
        });
        for (const UINT nCode : {WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_XBUTTONDOWN,
                                 WM_XBUTTONUP, WM_MOUSEWHEEL, WM_LBUTTONDOWN, WM_USER + 5}) {
            SetForegroundWindow(hOther);
            s_bBox = false;
            SendMessageA(hWnd, CTaskBarApplet::GetAppletMessage(), m_applet.GetId(), nCode);
            seen.emplace_back(nCode, GetForegroundWindow() == hOther, s_bBox);
        }
        KillTimer(nullptr, nBoxTimer);
        DestroyWindow(hOther);

        bool bEndAsked = false;
        const auto endSession = [&] {
            const LRESULT lAnswer = SendMessageA(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            SendMessageA(hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
            ended.emplace_back(lAnswer, m_monitor.GetPrinters().GetCount(), std::exchange(bEndAsked, false));
        };
        {
            const CNestedLoop loop([&bEndAsked] { bEndAsked = true; });
            endSession();
        }
        endSession();
        m_applet.Quit();
    });
    EXPECT_EQ(0, RunLoop());
    EXPECT_EQ(9u, seen.size());
    for (const auto& [nCode, bKept, bBox] : seen) {
        const bool bMouse = nCode != WM_USER + 5;
        // The box, when one shows, takes the foreground.
        EXPECT_TRUE(!bMouse || bKept) << std::hex << nCode;
        EXPECT_EQ(!bMouse, bBox) << std::hex << nCode;
    }
    EXPECT_EQ((std::vector<Ended>{{TRUE, nCount, true}, {TRUE, 0, false}}), ended);
}

// About, from the menu, beside the agent's file: the legal line names the
// copyright holder once.
TEST_F(TrayAppletTest, AboutNamesTheCopyrightHolderOnce) {
    WCHAR szLegal[128] = {};
    WhenDialogShows(IDC_STATIC_LEGAL,
                    [&](HWND hWnd) { GetDlgItemTextW(hWnd, IDC_STATIC_LEGAL, szLegal, 128); });
    m_applet.HandleMenuCommand(kAbout);
    EXPECT_EQ(std::wstring(L"Copyright \u00A9 2026 Tessel"), szLegal);
}

TEST(TrayApp, TheSwitchesChosenAreStoredAtTheEndOfAFullRunOnly) {
    ASSERT_EQ(0, CRegistry::SetOpenOnError(TRUE) + CRegistry::SetOpenWhenPrinting(FALSE));
    const char* const args[] = {"NyAgent.exe"};
    BOOL bOpenOnError = FALSE, bOpenWhenPrinting = TRUE;
    {
        CTestApp app;
        app.m_choices = {kOpenOnError, kOpenWhenPrinting, kOpenOnError, kOpenOnError};
        EXPECT_FALSE(app.InitInstance(1, args));
        EXPECT_EQ((std::vector<UINT>{0, MF_CHECKED, MF_CHECKED, 0}), app.m_checked);
        const CAgentSettings& settings = app.GetSettings();
        EXPECT_TRUE(!settings.GetOpenOnErrorSetting() && settings.GetOpenWhenPrintingSetting());
        {
            // While it holds the session's instance event, another start
            // neither runs nor writes the switches.
            CTestApp second;
            second.m_choices = {kOpenOnError};
            EXPECT_FALSE(second.InitInstance(1, args));
            EXPECT_TRUE(second.m_checked.empty());
        }
        EXPECT_EQ(0, CRegistry::GetOpenOnError(bOpenOnError, FALSE) +
                         CRegistry::GetOpenWhenPrinting(bOpenWhenPrinting, TRUE));
        EXPECT_TRUE(bOpenOnError && !bOpenWhenPrinting) << "stored before the end";
        app.ExitInstance();
    }
    EXPECT_EQ(0, CRegistry::GetOpenOnError(bOpenOnError, TRUE) +
                     CRegistry::GetOpenWhenPrinting(bOpenWhenPrinting, FALSE));
    EXPECT_TRUE(!bOpenOnError && bOpenWhenPrinting);
}

} // namespace
