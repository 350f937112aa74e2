// The status window on the simulator's network printer (port monitor stand-in,
// NySim.exe answering PJL with a scripted job), with the real printer set: each
// layout at 96 and 144 DPI, Cancel and Resume, opening by itself, help, colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include <windows.h>

#include <colordlg.h>
#include <commctrl.h>

#include "app/agent_settings.h"
#include "app/registry.h"
#include "app/strings.h"
#include "framework/nested_loop.h"
#include "resources/string_ids.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/monitor_harness.h"
#include "tests/wine/network_sim.h"
#include "tests/wine/run_later.h"
#include "tests/wine/test_port_monitor.h"

namespace {

constexpr char kKestrel[] = "0x3F";
constexpr char kBrindle[] = "0x2A";

// A spooler printer and its status window on the monitoring core. With a
// model, the printer is the simulator's network printer playing the script;
// without, it sits on a USB port that no device serves. Without settings the
// window never opens by itself.
class CRig : public CMonitorHarness {
public:
    CRig(const std::string& strScript, const char* pszModel, const CAgentSettings* pSettings = nullptr,
         UINT nErrorCloseMs = CNyAgentDlg::kErrorCloseMs)
        : CMonitorHarness(FALSE, pSettings, nErrorCloseMs), m_script(strScript) {
        std::string strPort = UniqueName("USB");
        if (pszModel) {
            m_pSim = std::make_unique<CNetworkPrinter>(std::string("--model ") + pszModel + " --script \"" +
                                                       m_script.Path() + "\"");
            EXPECT_TRUE(m_pSim->Started());
            strPort = m_pSim->Port();
            m_portMonitor.AddNetworkPort(strPort, "127.0.0.1", m_pSim->TcpPort());
        }
        m_pPrinter = std::make_unique<CTestPrinter>(UniqueName("Kestrel Net "), strPort, "Kestrel 2006");
        Synchronise();
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
    // A control's rectangle in the window's client coordinates.
    RECT Place(int nId) const {
        RECT rc = {};
        GetWindowRect(Item(nId), &rc);
        MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    bool Shown(int nId) const { return (GetWindowLongA(Item(nId), GWL_STYLE) & WS_VISIBLE) != 0; }
    std::string Text(int nId) const {
        char szText[512] = "";
        GetWindowTextA(Item(nId), szText, sizeof(szText));
        return szText;
    }
    // Dispatches this thread's messages until the state line reads the entry.
    bool WaitForState(StringId nStateId, DWORD dwTimeOutMs = 15000) const {
        return Pump(dwTimeOutMs,
                    [&] { return Window() && Text(IDC_STATIC_MESSAGE) == LoadString(nStateId); });
    }
    void Click(int nId) const { SendMessageA(Item(nId), BM_CLICK, 0, 0); }
    bool Visible() const { return IsWindowVisible(Window()) != FALSE; }
    // Opened by the user, as from the tray menu.
    void Open() { m_printers.ShowWindows(m_pPrinter->Name().c_str()); }

private:
    CScriptFile m_script;
    CTestPortMonitor m_portMonitor;
    std::unique_ptr<CNetworkPrinter> m_pSim;
    std::unique_ptr<CTestPrinter> m_pPrinter;
};

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
    const LONG W = rcWindow.right - rcWindow.left, H = rcWindow.bottom - rcWindow.top;
    const bool bParts = c.bPrinting && !c.bError; // bars, labels and percentages
    EXPECT_EQ(S(bParts ? 155 : 95), H);
    EXPECT_EQ(S(350), bParts ? W : std::min(W, S(350))); // the compact layouts widen for a long text

    // Texts, in the user's language; the hint's only where it shows.
    const auto text = [](StringId nId) { return nId ? LoadString(nId) : std::string(); };
    EXPECT_EQ(std::make_tuple(text(c.nState), text(c.nLine1), text(c.nHint),
                              text(c.bPrinting || c.bError ? IDS_CLOSE : IDS_OK)),
              std::make_tuple(rig.Text(IDC_STATIC_MESSAGE), rig.Text(IDC_STATIC_DETAIL),
                              rig.Text(IDC_STATIC_HINT), rig.Text(IDOK)));
    if (PRIMARYLANGID(GetUserDefaultLangID()) == LANG_RUSSIAN) {
        EXPECT_LT(0x7F, static_cast<unsigned char>(rig.Text(IDC_STATIC_MESSAGE)[0]));
    }

    // A text's control is as high as its font makes it, and as wide as its text plus a margin.
    const auto textAt = [&](int nId, LONG x, LONG y, LONG nExtra) {
        const RECT rc = rig.Place(nId);
        return Xywh(x, y, TextWidth(rig.Item(nId)) + nExtra, rc.bottom - rc.top);
    };
    const RECT caption = rig.Place(IDC_STATIC_CAPTION), state = rig.Place(IDC_STATIC_MESSAGE);
    EXPECT_EQ(Xywh(S(10), S(7), W - S(56), caption.bottom - caption.top), Tie(caption));
    EXPECT_EQ(caption.bottom, state.top);
    const LONG yLine1 = c.bError ? state.bottom + S(5) : (c.bPrinting ? S(40) : S(48));
    EXPECT_EQ(textAt(IDC_STATIC_DETAIL, S(10), yLine1, c.bError || c.bPrinting || c.nHint ? S(5) : S(7)),
              Tie(rig.Place(IDC_STATIC_DETAIL)));
    EXPECT_EQ(c.nHint != IDS_NONE, rig.Shown(IDC_STATIC_HINT));
    if (c.nHint) {
        EXPECT_EQ(textAt(IDC_STATIC_HINT, S(10), S(68), S(5)), Tie(rig.Place(IDC_STATIC_HINT)));
    }

    // The labels end 4 pixels left of the bars.
    const std::pair<int, std::tuple<LONG, LONG, LONG, LONG>> parts[] = {
        {IDC_PROGRESS_TASK, Xywh(S(58), S(66), S(231), S(15))},
        {IDC_PROGRESS_TOTAL, Xywh(S(58), S(92), S(231), S(15))},
        {IDC_STATIC_TASK_PERCENT, Xywh(S(294), S(65), S(40), S(14))},
        {IDC_STATIC_TOTAL_PERCENT, Xywh(S(294), S(91), S(40), S(16))},
        {IDC_STATIC_TASK,
         textAt(IDC_STATIC_TASK, S(54) - TextWidth(rig.Item(IDC_STATIC_TASK)), S(65), -S(1))},
        {IDC_STATIC_TOTAL,
         textAt(IDC_STATIC_TOTAL, S(54) - TextWidth(rig.Item(IDC_STATIC_TOTAL)), S(91), -S(1))},
    };
    for (const auto& [nId, rc] : parts) {
        EXPECT_EQ(bParts, rig.Shown(nId)) << nId;
        if (bParts) {
            EXPECT_EQ(rc, Tie(rig.Place(nId))) << nId;
        }
    }
    if (bParts) { // (40 + 100) / 5 in all
        EXPECT_EQ(std::make_tuple(LoadString(IDS_TASK), std::string("40%"), std::string("28%"), LRESULT{40}),
                  std::make_tuple(rig.Text(IDC_STATIC_TASK), rig.Text(IDC_STATIC_TASK_PERCENT),
                                  rig.Text(IDC_STATIC_TOTAL_PERCENT),
                                  SendMessageA(rig.Item(IDC_PROGRESS_TASK), PBM_GETPOS, 0, 0)));
    }

    // Buttons from the bottom right: OK or Close, Cancel, Resume; help left of
    // them. Where each goes is checked natively; here, that the window places them.
    const RECT ok = rig.Place(IDOK);
    EXPECT_EQ(std::make_tuple(W - S(9), H - S(32), S(22), ok.left - S(4)),
              std::make_tuple(ok.right + S(1), ok.top, ok.bottom - ok.top, rig.Place(IDCANCEL).right + S(1)));
    EXPECT_EQ(std::make_tuple(true, c.bPrinting, c.bResume, c.bHelp, true, !c.bPrinting),
              std::make_tuple(rig.Shown(IDOK), rig.Shown(IDCANCEL), rig.Shown(IDC_BUTTON_RESUME),
                              rig.Shown(IDC_BUTTON_HELP), rig.Shown(IDC_BUTTON_PROPERTIES),
                              IsWindowEnabled(rig.Item(IDC_BUTTON_PROPERTIES)) != FALSE));
}

// Clicks a button that opens a modal dialog; from the dialog's own loop, reads
// the text of one of its controls and presses OK.
std::string ClickForModal(const CRig& rig, int nButton, int nControl) {
    char szText[1024] = "(not opened)";
    WhenDialogShows(nControl, [&](HWND hWnd) { GetDlgItemTextA(hWnd, nControl, szText, sizeof(szText)); });
    rig.Click(nButton);
    return szText;
}

// Starts xdotool (a program of the Linux side) and dispatches this thread's
// messages, translated as the agent's loop does, until fnDone holds. The X
// server's input focus follows the window's activation a little later, so a
// key typed too early goes elsewhere: the keys are typed again, up to five
// times, two seconds apart.
template <typename TDone> bool TypeAndWait(const std::string& strArguments, TDone fnDone) {
    for (int nAttempt = 0; nAttempt < 5; ++nAttempt) {
        CSimChild xdotool;
        if (!xdotool.StartProgram("/usr/bin/xdotool", strArguments))
            return false;
        if (WaitFor(
                [&] {
                    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageA(&msg))
                        TranslateMessage(&msg);
                    return fnDone();
                },
                2000))
            return true;
    }
    return false;
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
        Pump(100);
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
// the window's policy is checked below, on a window without a device). A
// colour the user chose and a position too far up and left were stored before
// the window opened.
TEST(StatusWindow, OpensAndClosesByItselfAcrossAJobWithAPaperOutHelpColoursResumeAndCancel) {
    const char kJob[] =
        "0 1 0 0 0\n1500 3 4 40 0\n3000 3 4 50 0x80000001 hold\n4500 3 4 60 0\n600000 1 0 0 0\n";
    const DWORD dwChosen = 0x01102030;
    CRegistry::SetBkColor(&dwChosen);
    CRegistry::SetWindowPos({100, 50});
    CAgentSettings settings;
    settings.SetOpenWhenPrintingSetting(FALSE);
    auto pRig = std::make_unique<CRig>(kJob, kKestrel, &settings);
    const CRig& rig = *pRig;
    ASSERT_TRUE(rig.WaitForState(IDS_PRINTING));
    EXPECT_FALSE(rig.Visible());
    ASSERT_TRUE(rig.WaitForState(IDS_OUT_OF_PAPER));
    Pump(100);
    EXPECT_TRUE(rig.Visible());
    // Opened without taking the activation from the user's work.
    EXPECT_NE(rig.Window(), GetActiveWindow());
    RECT rc = {};
    GetWindowRect(rig.Window(), &rc);
    EXPECT_EQ(std::make_pair(305L, 160L), std::make_pair(rc.right, rc.bottom));
    // Dragged by any point of its surface.
    EXPECT_EQ(HTCAPTION, SendMessageA(rig.Window(), WM_NCHITTEST, 0, MAKELPARAM(rc.left + 30, rc.top + 50)));
    EXPECT_EQ(LoadString(IDS_HELP_TEXT), ClickForModal(rig, IDC_BUTTON_HELP, IDC_STATIC_HELP));

    // "B" keeps the stored colour but marks it as the default again ("T" is
    // typed on a keyboard below). "b" opens the colour dialog, as a nested
    // loop of the user-interface thread: Exit ends it at once, and nothing is
    // stored (a dialog left open would take the OK pressed after, and store
    // its colour).
    SendMessageA(rig.Window(), WM_CHAR, 'B', 0);
    bool bNested = false;
    WhenDialogShows(COLOR_ADD, [&](HWND hWnd) {
        bNested = CNestedLoop::IsActive() && GetWindow(hWnd, GW_OWNER) == rig.Window();
        CNestedLoop::EndAll();
    });
    SendMessageA(rig.Window(), WM_CHAR, 'b', 0);
    EXPECT_TRUE(bNested);
    EXPECT_FALSE(CNestedLoop::IsActive());
    DWORD dwBk = 0;
    CRegistry::GetBkColor(dwBk, nullptr);
    EXPECT_EQ(0x00102030ul, dwBk);

    rig.Click(IDC_BUTTON_RESUME);
    EXPECT_TRUE(Pump(10000, [&] {
        return rig.Text(IDC_STATIC_MESSAGE) == LoadString(IDS_PRINTING) &&
               rig.Text(IDC_STATIC_TASK_PERCENT) == "60%";
    }));
    EXPECT_FALSE(rig.Visible());
    // Cancel ends the job long before its last step.
    rig.Click(IDCANCEL);
    ASSERT_TRUE(rig.WaitForState(IDS_READY));
    // The information dialog on the printer, with its device tree.
    EXPECT_NE("(not opened)", ClickForModal(rig, IDC_BUTTON_PROPERTIES, IDC_TREE_DEVICE));
    // The corrected position is stored when the window goes.
    pRig.reset();
    POINT pt = {};
    CRegistry::GetWindowPos(pt, {0, 0});
    EXPECT_EQ(std::make_pair(305L, 160L), std::make_pair(pt.x, pt.y));
}

// The printer has no device; both switches are on. The status messages and
// the user's opening and closing reach the window's policy, and its error
// timer runs on the real window (the policy's rows are checked natively, and
// that a lasting error is raised once with the status changes): a job opens
// and closes it; opened by the user, an error's end leaves it open; closed by
// the user while printing, an error opens it until its time is up, though the
// error lasts. Closing the window hides it and never presses Cancel, whether
// Cancel shows (a job prints) or not: a Cancel would fail and be traced.
// Cancel and Resume pressed fail: the lower line says so until the next status
// report (that every language's text fits it is checked with the string table).
TEST(StatusWindow, TheUsersActionsReachThePolicyClosingNeverCancelsAndFailuresAreShown) {
    const CAgentSettings settings;
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
    EXPECT_TRUE(Pump(10000, [&] { return !rig.Visible(); }));

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
    for (const auto& c : cases) {
        CTraceCapture trace;
        rig.Open();
        ShowWindow(rig.Item(IDCANCEL), c.bCancelShown ? SW_SHOWNA : SW_HIDE);
        ASSERT_TRUE(rig.Visible()) << c.pszName;
        PostMessageA(hWnd, c.nMessage, c.wParam, 0);
        Pump(50);
        EXPECT_FALSE(rig.Visible()) << c.pszName;
        for (const std::string& strLine : trace.Lines())
            EXPECT_EQ(std::string::npos, strLine.find("OnCancel")) << c.pszName << ": " << strLine;
    }
    for (const auto& [nButton, nMessage] :
         {std::pair<int, StringId>{IDCANCEL, IDS_CANCEL_FAILED}, {IDC_BUTTON_RESUME, IDS_RESUME_FAILED}}) {
        ShowWindow(rig.Item(nButton), SW_SHOWNA);
        rig.Click(nButton);
        EXPECT_EQ(LoadString(nMessage), rig.Text(IDC_STATIC_DETAIL)) << nButton;
        SendMessageA(hWnd, WM_NY_REFRESH, 0, 0);
        EXPECT_EQ("", rig.Text(IDC_STATIC_DETAIL)) << nButton;
    }
}

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
        ASSERT_TRUE(Pump(5000, [&] { return GetForegroundWindow() == rig.Window(); }));
        RECT rc = {};
        GetWindowRect(rig.Window(), &rc);
        const std::string strMouse =
            std::to_string((rc.left + rc.right) / 2) + " " + std::to_string(rc.top + 5);
        EXPECT_TRUE(TypeAndWait("mousemove " + strMouse + " key " + c.pszKeys, [&] {
            return textColour() == c.dwText && rig.Visible() != c.bHidden;
        })) << c.pszKeys;
    }
}
