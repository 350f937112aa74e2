// How NyClick finds the agent's windows and what it tells of them, played by
// windows of this process made of the status window's or the dialogs' controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "sim/tools/agent_windows.h"
#include "sim/tools/window_watch.h"

namespace {

const std::vector<int> kStatus = {IDC_STATIC_CAPTION, IDC_STATIC_MESSAGE, IDC_STATIC_DETAIL, IDOK,
                                  IDCANCEL,           IDC_BUTTON_RESUME,  IDC_BUTTON_HELP};

// A hidden top-level window with hidden child controls of the given ids.
struct CTestWindow {
    CTestWindow(const char* pszTitle, const std::vector<int>& ids)
        : h(CreateWindowExA(0, "#32770", pszTitle, WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr,
                            nullptr)) {
        for (int nId : ids)
            CreateWindowExA(0, nId < IDC_STATIC_CAPTION ? "BUTTON" : "STATIC", "", WS_CHILD, 0, 0, 10, 10, h,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
    }
    ~CTestWindow() { DestroyWindow(h); }
    HWND h;
};

// Shows the control with that text; a null text hides it.
void Set(HWND hWnd, int nId, const char* pszText) {
    if (pszText)
        SetDlgItemTextA(hWnd, nId, pszText);
    ShowWindow(GetDlgItem(hWnd, nId), pszText ? SW_SHOWNA : SW_HIDE);
}

} // namespace

TEST(WindowWatchTest, TellsEachChangeOnceAndShownDialogsByTheirControls) {
    CTestWindow lab("", kStatus), nameless("", kStatus), info("", {1026, 1027}), help("", {1011});
    Set(lab.h, IDC_STATIC_CAPTION, "Lab");
    // Each step: the window shown (1), hidden (-1) or left; controls set; the lines told.
    const struct {
        int nShow;
        std::vector<std::pair<int, const char*>> controls;
        std::vector<std::string> lines;
    } steps[] = {
        {0,
         {{IDC_STATIC_MESSAGE, "Ready"}, {IDC_STATIC_DETAIL, "Waiting"}, {IDOK, "OK"}},
         {"Lab: Ready - Waiting [OK]"}},
        {0, {}, {}},
        {1,
         {{IDC_STATIC_MESSAGE, "No paper"}, {IDC_BUTTON_HELP, ""}, {IDC_BUTTON_RESUME, "Resume"}},
         {"Lab: window opened: No paper - Waiting [?] [Resume] [OK]"}},
        {-1,
         {{IDC_STATIC_MESSAGE, "Ready"}, {IDC_BUTTON_HELP, nullptr}, {IDC_BUTTON_RESUME, nullptr}},
         {"Lab: window closed: Ready - Waiting [OK]"}},
        {0, {{IDC_STATIC_DETAIL, nullptr}, {IDC_STATIC_MESSAGE, "Off"}}, {"Lab: Off [OK]"}},
        {1, {}, {"Lab: window opened: Off [OK]"}},
        {-1, {}, {"Lab: window closed"}},
    };
    CWindowWatch watch;
    const auto Poll = [&] { // sorted, as the order of the windows is the system's
        std::vector<std::string> lines = watch.Poll(GetCurrentProcessId());
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    for (const auto& step : steps) {
        for (const auto& [nId, pszText] : step.controls)
            Set(lab.h, nId, pszText);
        if (step.nShow != 0)
            ShowWindow(lab.h, step.nShow > 0 ? SW_SHOWNA : SW_HIDE);
        EXPECT_EQ(step.lines, Poll());
    }
    ShowWindow(info.h, SW_SHOWNA);
    ShowWindow(help.h, SW_SHOWNA);
    EXPECT_EQ((std::vector<std::string>{"Help dialog opened", "information dialog opened"}), Poll());
    DestroyWindow(lab.h);
    ShowWindow(help.h, SW_HIDE);
    EXPECT_EQ((std::vector<std::string>{"Help dialog closed", "Lab: printer removed"}), Poll());
}

TEST(AgentWindowsTest, SelectorsFindThePrintersStatusWindowOrAShownWindowWithThoseControls) {
    CTestWindow lab("Kestrel Lab", kStatus), kiosk("", kStatus), namesake("Kestrel Lab", {1011}),
        about("", {1011, 1020, 1027}), info("", {1026, 1027});
    Set(kiosk.h, IDC_STATIC_CAPTION, "Brindle Kiosk");
    ShowWindow(namesake.h, SW_SHOWNA);
    ShowWindow(about.h, SW_SHOWNA);
    const std::pair<const char*, HWND> cases[] = {
        {"Kestrel Lab", lab.h},        {"Brindle Kiosk", kiosk.h},
        {"Kestrel", nullptr},          {"dialog:1011,-1027", namesake.h},
        {"dialog:1020,1027", about.h}, {"dialog:1011,1027,-1020", nullptr},
        {"dialog:1026", nullptr}, // hidden
    };
    for (const auto& [pszSelector, hExpected] : cases)
        EXPECT_EQ(hExpected, agentwin::FindBySelector(pszSelector, GetCurrentProcessId())) << pszSelector;
}
