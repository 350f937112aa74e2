// The status window on the simulator's network printer (port monitor stand-in,
// NySim.exe answering PJL with a scripted job), with the real printer set: each
// layout at 96 and 144 DPI, Cancel and Resume, opening by itself, help, colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include <windows.h>

#include <commctrl.h>

#include "app/agent_settings.h"
#include "app/registry.h"
#include "app/strings.h"
#include "devices/devices.h"
#include "framework/nested_loop.h"
#include "monitor/printers.h"
#include "monitor/status_messages.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "tests/wine/winsock_environment.h"
#include "ui/status_window_source.h"

namespace {

const auto* const g_pWinsock = ::testing::AddGlobalTestEnvironment(new CWinsockEnvironment);

// The opening switches the status windows are given.
CAgentSettings Switches(BOOL bOpenOnError, BOOL bOpenWhenPrinting) {
    CAgentSettings settings;
    settings.SetOpenOnErrorSetting(bOpenOnError);
    settings.SetOpenWhenPrintingSetting(bOpenWhenPrinting);
    return settings;
}

constexpr char kKestrel[] = "0x3F";
constexpr char kBrindle[] = "0x2A";

// A spooler printer and its status window. With a model, the printer is the
// simulator's network printer playing the script; without, it sits on a USB
// port that no device serves. Without settings the window never opens by itself.
class CRig {
public:
    CRig(const std::string& strScript, const char* pszModel, const CAgentSettings* pSettings = nullptr,
         UINT nErrorCloseMs = CNyAgentDlg::kErrorCloseMs)
        : m_windows(pSettings, nErrorCloseMs), m_printers(m_windows, FALSE), m_script(strScript) {
        std::string strPort = UniqueName("USB");
        if (pszModel) {
            strPort = UniqueName("NYNET");
            const std::uint32_t nTcpPort = FreeTcpPort();
            EXPECT_TRUE(m_sim.Start("--port " + strPort + " --pjl-port " + std::to_string(nTcpPort) +
                                    " --no-print-path --tick 10 --model " + pszModel + " --stop-event " +
                                    m_strStop + " --script \"" + m_script.Path() + "\""));
            m_portMonitor.AddNetworkPort(strPort, "127.0.0.1", nTcpPort);
        }
        m_pPrinter = std::make_unique<CTestPrinter>(UniqueName("Kestrel Net "), strPort, "Kestrel 2006");
        EXPECT_TRUE(m_monitor.Create(nullptr));
        m_printers.SetMonitor(m_monitor.GetSafeHwnd());
        m_devices.Synchronise();
        m_printers.Synchronise(m_devices);
    }
    ~CRig() {
        CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, m_strStop.c_str()));
        if (hStop)
            SetEvent(hStop.Get());
        m_sim.Wait(10000);
    }

    // The printer's status window: owned by the monitor window, titled with the printer's name.
    HWND Window() const {
        HWND hFound = nullptr;
        while ((hFound = FindWindowExA(nullptr, hFound, "#32770", m_pPrinter->Name().c_str())))
            if (GetWindow(hFound, GW_OWNER) == m_monitor.GetSafeHwnd())
                return hFound;
        return nullptr;
    }
    HWND Item(int nId) const { return GetDlgItem(Window(), nId); }
    std::string Text(int nId) const {
        char szText[512] = "";
        GetWindowTextA(Item(nId), szText, sizeof(szText));
        return szText;
    }
    // Dispatches this thread's messages until the state line reads the entry.
    bool WaitForState(StringId nStateId, DWORD dwTimeOutMs = 15000) const {
        return WaitFor([&] { return Pump() && Window() && Text(IDC_STATIC_MESSAGE) == LoadString(nStateId); },
                       dwTimeOutMs);
    }
    // Dispatches for a while.
    void Pump(DWORD dwMs) const {
        WaitFor([] { return !Pump(); }, dwMs);
    }
    // Dispatches what is queued, translated as the agent's loop does.
    static bool Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return true;
    }
    void Click(int nId) const { SendMessageA(Item(nId), BM_CLICK, 0, 0); }
    bool Visible() const { return IsWindowVisible(Window()) != FALSE; }
    // Opened by the user, as from the tray menu.
    void Open() { m_printers.ShowWindows(m_pPrinter->Name().c_str()); }

private:
    CNyAgentWindows m_windows;
    CDevices m_devices;
    CDialog m_monitor{IDD_DIALOG_MONITOR};
    CPrinters m_printers;
    CScriptFile m_script;
    CTestPortMonitor m_portMonitor;
    std::string m_strStop = UniqueName("NySim.Stop.");
    CSimChild m_sim;
    std::unique_ptr<CTestPrinter> m_pPrinter;
};

// A control as the user sees it, in the window's client coordinates.
struct Seen {
    RECT rc = {};
    bool bVisible = false;
    bool bEnabled = false;
};

Seen Look(HWND hControl) {
    Seen seen;
    GetWindowRect(hControl, &seen.rc);
    MapWindowPoints(nullptr, GetParent(hControl), reinterpret_cast<POINT*>(&seen.rc), 2);
    seen.bVisible = (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
    seen.bEnabled = IsWindowEnabled(hControl) != FALSE;
    return seen;
}

// The width of a control's text in its font.
LONG TextWidth(HWND hControl) {
    WCHAR szText[512] = L"";
    const int nLength = GetWindowTextW(hControl, szText, 512);
    const HDC hdc = GetDC(hControl);
    const HGDIOBJ hOld =
        SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(hControl, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(hdc, szText, nLength, &size);
    SelectObject(hdc, hOld);
    ReleaseDC(hControl, hdc);
    return size.cx;
}

auto Xywh(LONG x, LONG y, LONG cx, LONG cy) {
    return std::make_tuple(x, y, x + cx, y + cy);
}
auto Tie(const RECT& rc) {
    return std::make_tuple(rc.left, rc.top, rc.right, rc.bottom);
}

// Ready, then from 50 ms a yellow pass at 40 % that lasts, or an error held there.
std::string Holding(const char* pszCode) {
    return std::string("0 1 0 0 0\n50 3 4 40 ") + pszCode + (std::string(pszCode) == "0" ? "" : " hold") +
           "\n600000 1 0 0 0\n";
}

struct LayoutCase {
    const char* pszName;
    std::string strScript;
    const char* pszModel;
    StringId nState, nLine1, nHint;
    bool bPrinting, bError, bResume, bHelp;
};

// The window and its controls at 96 DPI scaled to nDpi; the button arithmetic
// itself is checked natively.
void ExpectLayout(const CRig& rig, const LayoutCase& c, unsigned nDpi) {
    const auto S = [nDpi](LONG n) -> LONG { return (n * static_cast<LONG>(nDpi) + 48) / 96; };
    SCOPED_TRACE(std::string(c.pszName) + " at " + std::to_string(nDpi));
    RECT rcWindow = {};
    GetWindowRect(rig.Window(), &rcWindow);
    const LONG W = rcWindow.right - rcWindow.left;
    const LONG H = rcWindow.bottom - rcWindow.top;
    const bool bParts = c.bPrinting && !c.bError; // bars, labels and percentages
    EXPECT_EQ(S(bParts ? 155 : 95), H);
    EXPECT_EQ(S(350), bParts ? W : std::min(W, S(350))); // the compact layouts widen for a long text

    // Texts, in the user's language.
    EXPECT_EQ(LoadString(c.nState), rig.Text(IDC_STATIC_MESSAGE));
    EXPECT_EQ(c.nLine1 ? LoadString(c.nLine1) : std::string(), rig.Text(IDC_STATIC_DETAIL));
    if (PRIMARYLANGID(GetUserDefaultLangID()) == LANG_RUSSIAN) {
        EXPECT_LT(0x7F, static_cast<unsigned char>(rig.Text(IDC_STATIC_MESSAGE)[0]));
    }
    EXPECT_EQ(LoadString(c.bPrinting || c.bError ? IDS_CLOSE : IDS_OK), rig.Text(IDOK));

    const Seen caption = Look(rig.Item(IDC_STATIC_CAPTION));
    EXPECT_EQ(Xywh(S(10), S(7), W - S(56), caption.rc.bottom - caption.rc.top), Tie(caption.rc));
    const Seen state = Look(rig.Item(IDC_STATIC_MESSAGE));
    EXPECT_EQ(caption.rc.bottom, state.rc.top);
    const Seen line1 = Look(rig.Item(IDC_STATIC_DETAIL));
    const LONG yLine1 = c.bError ? state.rc.bottom + S(5) : (c.bPrinting ? S(40) : S(48));
    const LONG nLine1Extra = c.bError || c.bPrinting || c.nHint ? S(5) : S(7);
    EXPECT_EQ(Xywh(S(10), yLine1, TextWidth(rig.Item(IDC_STATIC_DETAIL)) + nLine1Extra,
                   line1.rc.bottom - line1.rc.top),
              Tie(line1.rc));
    const Seen hint = Look(rig.Item(IDC_STATIC_HINT));
    EXPECT_EQ(c.nHint != IDS_NONE, hint.bVisible);
    if (c.nHint) {
        EXPECT_EQ(LoadString(c.nHint), rig.Text(IDC_STATIC_HINT));
        EXPECT_EQ(std::make_pair(S(10), S(68)), std::make_pair(hint.rc.left, hint.rc.top));
    }

    for (int nId : {IDC_PROGRESS_TASK, IDC_PROGRESS_TOTAL, IDC_STATIC_TASK, IDC_STATIC_TOTAL,
                    IDC_STATIC_TASK_PERCENT, IDC_STATIC_TOTAL_PERCENT})
        EXPECT_EQ(bParts, Look(rig.Item(nId)).bVisible) << nId;
    if (bParts) {
        EXPECT_EQ(Xywh(S(58), S(66), S(231), S(15)), Tie(Look(rig.Item(IDC_PROGRESS_TASK)).rc));
        EXPECT_EQ(Xywh(S(58), S(92), S(231), S(15)), Tie(Look(rig.Item(IDC_PROGRESS_TOTAL)).rc));
        EXPECT_EQ(Xywh(S(294), S(65), S(40), S(14)), Tie(Look(rig.Item(IDC_STATIC_TASK_PERCENT)).rc));
        EXPECT_EQ(Xywh(S(294), S(91), S(40), S(16)), Tie(Look(rig.Item(IDC_STATIC_TOTAL_PERCENT)).rc));
        EXPECT_EQ(S(54) - S(1), Look(rig.Item(IDC_STATIC_TASK)).rc.right);
        EXPECT_EQ(S(91), Look(rig.Item(IDC_STATIC_TOTAL)).rc.top);
        EXPECT_EQ(LoadString(IDS_TASK), rig.Text(IDC_STATIC_TASK));
        EXPECT_EQ("40%", rig.Text(IDC_STATIC_TASK_PERCENT));
        EXPECT_EQ("28%", rig.Text(IDC_STATIC_TOTAL_PERCENT)); // (40 + 100) / 5
        EXPECT_EQ(40, SendMessageA(rig.Item(IDC_PROGRESS_TASK), PBM_GETPOS, 0, 0));
    }

    // Buttons from the bottom right: OK or Close, Cancel, Resume; help left of them.
    const Seen ok = Look(rig.Item(IDOK));
    const Seen cancel = Look(rig.Item(IDCANCEL));
    const Seen resume = Look(rig.Item(IDC_BUTTON_RESUME));
    const Seen help = Look(rig.Item(IDC_BUTTON_HELP));
    const Seen properties = Look(rig.Item(IDC_BUTTON_PROPERTIES));
    // Where each button goes is checked natively; here, that the window places them.
    EXPECT_EQ(std::make_tuple(W - S(9), H - S(32), S(22)),
              std::make_tuple(ok.rc.right + S(1), ok.rc.top, ok.rc.bottom - ok.rc.top));
    EXPECT_EQ(ok.rc.left - S(4), cancel.rc.right + S(1));
    EXPECT_EQ(std::make_tuple(true, c.bPrinting, c.bResume, c.bHelp, true, !c.bPrinting),
              std::make_tuple(ok.bVisible, cancel.bVisible, resume.bVisible, help.bVisible,
                              properties.bVisible, properties.bEnabled));
}

// Clicks a button that opens a modal dialog; from the dialog's own loop, finds
// it by one of its controls, reads that control's text and presses OK.
std::string ClickForModal(const CRig& rig, int nButton, int nControl) {
    static int s_nControl;
    static char s_szText[1024];
    s_nControl = nControl;
    std::strcpy(s_szText, "(not opened)");
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR nTimer, DWORD) {
        for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, "#32770", nullptr));)
            if (const HWND hControl = GetDlgItem(hWnd, s_nControl)) {
                GetWindowTextA(hControl, s_szText, sizeof(s_szText));
                KillTimer(nullptr, nTimer);
                PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                return;
            }
    });
    rig.Click(nButton);
    return s_szText;
}

} // namespace

TEST(StatusWindow, LayoutsAtTwoDpis) {
    const LayoutCase cases[] = {
        {"not connected", "", nullptr, IDS_NOT_CONNECTED, IDS_NONE, IDS_NONE, false, false, false, false},
        {"ready", "0 1 0 0 0\n", kKestrel, IDS_READY, IDS_WAITING_FOR_JOB, IDS_NONE, false, false, false,
         false},
        {"initialising", "0 0 0 0 0\n", kBrindle, IDS_INITIALIZING, IDS_DEVICE_INITIALIZATION,
         IDS_PLEASE_WAIT, false, false, false, false},
        {"printing", Holding("0"), kKestrel, IDS_PRINTING, IDS_YELLOW_PRINTING, IDS_NONE, true, false, false,
         false},
        {"paper out, Kestrel", Holding("0x80000001"), kKestrel, IDS_OUT_OF_PAPER, IDS_INSERT_PAPER_SHEET,
         IDS_NONE, true, true, true, true},
        {"paper out, Brindle", Holding("0x80000001"), kBrindle, IDS_OUT_OF_PAPER, IDS_INSERT_PAPER_SHEET,
         IDS_NONE, true, true, false, true},
    };
    for (const LayoutCase& c : cases) {
        CRig rig(c.strScript, c.pszModel);
        ASSERT_TRUE(rig.WaitForState(c.nState)) << c.pszName << ": " << rig.Text(IDC_STATIC_MESSAGE);
        rig.Pump(100);
        ExpectLayout(rig, c, 96);
        EXPECT_FALSE(rig.Visible()) << c.pszName; // nothing opened it
        // Moved to a monitor at 144 DPI: the same layout half as large again, in a larger font.
        RECT rc = {};
        GetWindowRect(rig.Window(), &rc);
        const RECT rcSuggested = {rc.left, rc.top, rc.left + (rc.right - rc.left) * 3 / 2,
                                  rc.top + (rc.bottom - rc.top) * 3 / 2};
        SendMessageA(rig.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&rcSuggested));
        ExpectLayout(rig, c, 144);
        LOGFONTA lf = {};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(rig.Item(IDC_STATIC_DETAIL), WM_GETFONT, 0, 0)),
                   sizeof(lf), &lf);
        EXPECT_EQ(-18, lf.lfHeight) << c.pszName;
    }
}

// Opening on an error is on, opening while printing off: the paper-out opens
// the window, Resume and Cancel reach the printer (how each message reaches
// the window's policy is checked below, on a window without a device).
TEST(StatusWindow, OpensAndClosesByItselfAcrossAJobWithAPaperOutResumedAndCancelled) {
    const char kJob[] =
        "0 1 0 0 0\n1500 3 4 40 0\n3000 3 4 50 0x80000001 hold\n4500 3 4 60 0\n600000 1 0 0 0\n";
    const CAgentSettings settings = Switches(TRUE, FALSE);
    CRig rig(kJob, kKestrel, &settings);
    ASSERT_TRUE(rig.WaitForState(IDS_PRINTING));
    EXPECT_FALSE(rig.Visible());
    ASSERT_TRUE(rig.WaitForState(IDS_OUT_OF_PAPER));
    rig.Pump(100);
    EXPECT_TRUE(rig.Visible());
    // Opened without taking the activation from the user's work.
    EXPECT_NE(rig.Window(), GetActiveWindow());
    rig.Click(IDC_BUTTON_RESUME);
    EXPECT_TRUE(WaitFor(
        [&] { return rig.WaitForState(IDS_PRINTING, 100) && rig.Text(IDC_STATIC_TASK_PERCENT) == "60%"; },
        10000));
    EXPECT_FALSE(rig.Visible());
    // Cancel ends the job long before its last step.
    rig.Click(IDCANCEL);
    ASSERT_TRUE(rig.WaitForState(IDS_READY));
    // The information dialog on the printer, with its device tree.
    EXPECT_NE("(not opened)", ClickForModal(rig, IDC_BUTTON_PROPERTIES, IDC_TREE_DEVICE));
}

TEST(StatusWindow, HelpColourKeysColourDialogAndPosition) {
    // A colour the user chose and a position too far up and left, stored before the window opened.
    const DWORD dwChosen = 0x01102030;
    CRegistry::SetBkColor(&dwChosen);
    CRegistry::SetWindowPos({100, 50});
    auto pRig = std::make_unique<CRig>(Holding("0x80000001"), kKestrel);
    const CRig& rig = *pRig;
    ASSERT_TRUE(rig.WaitForState(IDS_OUT_OF_PAPER));
    RECT rc = {};
    GetWindowRect(rig.Window(), &rc);
    EXPECT_EQ(std::make_pair(305L, 160L), std::make_pair(rc.right, rc.bottom));
    // Dragged by any point of its surface.
    EXPECT_EQ(HTCAPTION, SendMessageA(rig.Window(), WM_NCHITTEST, 0, MAKELPARAM(rc.left + 30, rc.top + 50)));
    EXPECT_EQ(LoadString(IDS_HELP_TEXT), ClickForModal(rig, IDC_BUTTON_HELP, IDC_STATIC_HELP));

    // "B" keeps the stored colour but marks it as the default again ("T" is
    // typed on a keyboard below). "b" opens the colour dialog, as a nested
    // loop of the user-interface thread: Exit ends it at once, and nothing is
    // stored.
    SendMessageA(rig.Window(), WM_CHAR, 'B', 0);
    static HWND s_hStatus;
    static bool s_bNested;
    static int s_nTicks; // with the dialog up: Exit at the first, closed by hand after 50
    s_hStatus = rig.Window();
    s_bNested = false;
    s_nTicks = 0;
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, "#32770", nullptr));) {
            if (GetWindow(hWnd, GW_OWNER) != s_hStatus || !IsWindowVisible(hWnd))
                continue;
            if (s_nTicks++ == 0) {
                s_bNested = CNestedLoop::IsActive();
                CNestedLoop::EndAll();
            } else if (s_nTicks > 50) {
                PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
            }
        }
    });
    SendMessageA(rig.Window(), WM_CHAR, 'b', 0);
    KillTimer(nullptr, nTimer);
    EXPECT_TRUE(s_bNested);
    EXPECT_GE(50, s_nTicks) << "the dialog stayed open after Exit";
    EXPECT_FALSE(CNestedLoop::IsActive());
    DWORD dwBk = 0;
    CRegistry::GetBkColor(dwBk, nullptr);
    EXPECT_EQ(0x00102030ul, dwBk);
    // The corrected position is stored when the window goes.
    pRig.reset();
    POINT pt = {};
    CRegistry::GetWindowPos(pt, {0, 0});
    EXPECT_EQ(std::make_pair(305L, 160L), std::make_pair(pt.x, pt.y));
}

// The printer has no device. Closing the window hides it and never presses
// Cancel, whether Cancel shows (a job prints) or not: a Cancel would fail and
// be traced. Cancel and Resume pressed fail: the lower line says so until the
// next status report (that every language's text fits it is checked with the
// string table).
TEST(StatusWindow, ClosingHidesTheWindowAndNeverCancelsAndAFailedCancelOrResumeIsShown) {
    const struct {
        const char* pszName;
        UINT nMessage;
        WPARAM wParam;
        bool bCancelShown;
    } cases[] = {
        {"WM_CLOSE while printing", WM_CLOSE, 0, true},
        {"WM_CLOSE while idle", WM_CLOSE, 0, false},
        {"taskbar's Close while printing", WM_SYSCOMMAND, SC_CLOSE, true},
        {"Escape while printing", WM_CHAR, VK_ESCAPE, true},
    };
    CRig rig("", nullptr);
    ASSERT_TRUE(rig.WaitForState(IDS_NOT_CONNECTED));
    for (const auto& c : cases) {
        CTraceCapture trace;
        rig.Open();
        ShowWindow(rig.Item(IDCANCEL), c.bCancelShown ? SW_SHOWNA : SW_HIDE);
        ASSERT_TRUE(rig.Visible()) << c.pszName;
        PostMessageA(rig.Window(), c.nMessage, c.wParam, 0);
        rig.Pump(50);
        EXPECT_FALSE(rig.Visible()) << c.pszName;
        for (const std::string& strLine : trace.Lines())
            EXPECT_EQ(std::string::npos, strLine.find("OnCancel")) << c.pszName << ": " << strLine;
    }
    for (const auto& [nButton, nMessage] :
         {std::pair<int, StringId>{IDCANCEL, IDS_CANCEL_FAILED}, {IDC_BUTTON_RESUME, IDS_RESUME_FAILED}}) {
        ShowWindow(rig.Item(nButton), SW_SHOWNA);
        rig.Click(nButton);
        EXPECT_EQ(LoadString(nMessage), rig.Text(IDC_STATIC_DETAIL)) << nButton;
        SendMessageA(rig.Window(), WM_NY_REFRESH, 0, 0);
        EXPECT_EQ("", rig.Text(IDC_STATIC_DETAIL)) << nButton;
    }
}

// The status messages and the user's opening and closing reach the window's
// policy, and its error timer runs on the real window (the policy's rows are
// checked natively, and that a lasting error is raised once with the status
// changes): a job opens and closes it; opened by the user, an error's end
// leaves it open; closed by the user while printing, an error opens it until
// its time is up, though the error lasts.
TEST(StatusWindow, MessagesAndTheUsersActionsReachThePolicyAndTheTimer) {
    const CAgentSettings settings = Switches(TRUE, TRUE);
    CRig rig("", nullptr, &settings, 500);
    ASSERT_TRUE(rig.WaitForState(IDS_NOT_CONNECTED));
    const HWND hWnd = rig.Window();
    const auto visibleAfter = [&](UINT nMessage) {
        SendMessageA(hWnd, nMessage, 0, 0);
        return rig.Visible();
    };
    EXPECT_TRUE(visibleAfter(WM_NY_PRINTING_STARTED));
    EXPECT_FALSE(visibleAfter(WM_NY_PRINTING_ENDED));
    EXPECT_TRUE(visibleAfter(WM_NY_ERROR_RAISED));
    rig.Open();
    EXPECT_TRUE(visibleAfter(WM_NY_ERROR_CLEARED));
    // The timer is gone when there is none left to kill.
    EXPECT_FALSE(KillTimer(hWnd, CNyAgentDlg::kErrorTimerId));
    rig.Click(IDOK);
    SendMessageA(hWnd, WM_NY_PRINTING_STARTED, 0, 0);
    rig.Click(IDOK);
    SendMessageA(hWnd, WM_NY_ERROR_RAISED, 0, 0);
    EXPECT_TRUE(visibleAfter(WM_NY_PRINTING_ENDED));
    EXPECT_TRUE(WaitFor([&] { return rig.Pump() && !rig.Visible(); }, 10000));
}

namespace {

// Starts a program of the Linux side (xdotool) and dispatches this thread's
// messages until fnDone holds. The X
// server's input focus follows the window's activation a little later, so a
// key typed too early goes elsewhere: the keys are typed again, up to five
// times, two seconds apart.
template <typename TDone> bool TypeAndWait(const std::string& strCommand, TDone fnDone) {
    for (int nAttempt = 0; nAttempt < 5; ++nAttempt) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::string strLine = strCommand;
        if (!CreateProcessA(nullptr, strLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (WaitFor([&] { return CRig::Pump() && fnDone(); }, 2000))
            return true;
    }
    return false;
}

} // namespace

// Keys typed on the keyboard of an X display (wine-display.sh), with the
// mouse over the window, reach the active status window, not the button that
// the system would give the focus: "T" resets the text colour, Escape and
// Alt+F4 hide the window.
TEST(StatusWindowOnScreen, KeysTypedToTheActiveWindowReachIt) {
    // The window takes the stored text colour when it is made: "T" resets
    // the colour it took.
    const DWORD dwChosen = 0x01102030;
    CRegistry::SetTextColor(&dwChosen);
    CRig rig("", nullptr);
    ASSERT_TRUE(rig.WaitForState(IDS_NOT_CONNECTED));
    const auto textColour = [] {
        DWORD dwText = 0;
        CRegistry::GetTextColor(dwText, nullptr);
        return dwText;
    };
    const struct {
        const char* pszKeys;
        bool bHidden;
        DWORD dwText;
    } cases[] = {
        {"T", false, 0x00102030},
        {"Escape", true, dwChosen},
        {"alt+F4", true, dwChosen},
    };
    for (const auto& c : cases) {
        CRegistry::SetTextColor(&dwChosen);
        rig.Open();
        ASSERT_TRUE(WaitFor([&] { return CRig::Pump() && GetForegroundWindow() == rig.Window(); }, 5000));
        RECT rc = {};
        GetWindowRect(rig.Window(), &rc);
        const std::string strMouse =
            std::to_string((rc.left + rc.right) / 2) + " " + std::to_string(rc.top + 5);
        EXPECT_TRUE(TypeAndWait("/usr/bin/xdotool mousemove " + strMouse + " key " + c.pszKeys, [&] {
            return textColour() == c.dwText && rig.Visible() != c.bHidden;
        })) << c.pszKeys;
    }
}
