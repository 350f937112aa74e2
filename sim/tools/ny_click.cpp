// NyClick.exe: acts on the running agent's windows the way a user does, for
// the demo and the screenshot scripts. It finds the agent through its tray
// window on Wine's shell desktop, presses buttons of a status window by
// control id, opens the tray menu, types keys into a menu or dialog, reads
// texts back, reports window rectangles for cropping, and follows what the
// agent shows as one line per event.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "sim/tools/agent_windows.h"
#include "sim/tools/window_watch.h"

namespace {

constexpr char kUsage[] =
    "Usage: NyClick.exe COMMAND ...\n"
    "  list                          the agent's top-level windows: shown x y width height class title\n"
    "  wait SEL MS [COND...]         wait up to MS ms for window SEL and every condition: open, closed,\n"
    "                                ID (control shown), -ID (control hidden), state:TEXT (state line has "
    "TEXT)\n"
    "  wait-agent MS | wait-no-agent MS   wait for the agent to run, or to end\n"
    "  rect SEL                      x y width height of window SEL on the screen\n"
    "  text SEL ID                   the text of control ID\n"
    "  click SEL ID                  press button ID (it must be shown and enabled)\n"
    "  solo SEL                      hide every other status window and show SEL on top\n"
    "  hide-all                      hide every status window\n"
    "  expand SEL ID                 expand every item of tree control ID\n"
    "  menu                          open the tray menu, as a right click on the icon does\n"
    "  keys SEL KEY...               post keys: down, up, left, right, return, escape, tab\n"
    "  watch [SINCE_MS]              print what the agent shows, one line per change, until it ends;\n"
    "                                times in seconds since SINCE_MS (Unix time in ms)\n"
    "SEL: a printer name (its status window), menu, tray, or dialog:ID,ID,-ID (a shown window that has\n"
    "those controls and not those with a minus).\n";

constexpr DWORD kPollMs = 100;

void Print(const std::string& strLine) {
    const std::string strOut = strLine + "\n";
    DWORD dwWritten = 0;
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), strOut.data(), static_cast<DWORD>(strOut.size()),
                   &dwWritten, nullptr))
        std::fputs(strOut.c_str(), stdout);
}

int Fail(const std::string& strWhy) {
    std::fprintf(stderr, "NyClick: %s\n", strWhy.c_str());
    return 1;
}

long long UnixTimeMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const long long llTicks = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (llTicks - 116444736000000000LL) / 10000;
}

HWND Find(const std::string& strSelector) {
    return agentwin::FindBySelector(strSelector, agentwin::FindAgentProcess());
}

bool Holds(HWND hWnd, const std::string& strCondition) {
    if (strCondition == "open")
        return IsWindowVisible(hWnd) != FALSE;
    if (strCondition == "closed")
        return !IsWindowVisible(hWnd);
    const std::string kState = "state:";
    if (strCondition.compare(0, kState.size(), kState) == 0)
        return agentwin::WindowText(GetDlgItem(hWnd, IDC_STATIC_MESSAGE))
                   .find(strCondition.substr(kState.size())) != std::string::npos;
    const bool bHidden = strCondition[0] == '-';
    const int nId = std::atoi(strCondition.c_str() + (bHidden ? 1 : 0));
    return agentwin::IsControlShown(GetDlgItem(hWnd, nId)) != bHidden;
}

int Wait(const std::string& strSelector, DWORD dwTimeoutMs, const std::vector<std::string>& conditions) {
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart <= dwTimeoutMs; Sleep(kPollMs)) {
        const HWND hWnd = Find(strSelector);
        bool bAll = hWnd != nullptr;
        for (const std::string& strCondition : conditions)
            bAll = bAll && Holds(hWnd, strCondition);
        if (bAll)
            return 0;
    }
    return Fail("timed out waiting for " + strSelector);
}

int WaitForAgent(bool bRunning, DWORD dwTimeoutMs) {
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart <= dwTimeoutMs; Sleep(kPollMs)) {
        if ((agentwin::FindAgentProcess() != 0) == bRunning)
            return 0;
    }
    return Fail(bRunning ? "no agent came up" : "the agent is still running");
}

int List() {
    for (HWND hWnd : agentwin::TopLevelWindows(agentwin::FindAgentProcess())) {
        RECT rc;
        GetWindowRect(hWnd, &rc);
        char szLine[128];
        std::snprintf(szLine, sizeof(szLine), "%d %ld %ld %ld %ld ", IsWindowVisible(hWnd) ? 1 : 0, rc.left,
                      rc.top, rc.right - rc.left, rc.bottom - rc.top);
        Print(szLine + agentwin::ClassName(hWnd) + " \"" + agentwin::WindowText(hWnd) + "\"");
    }
    return 0;
}

int Rect(HWND hWnd) {
    RECT rc;
    if (!GetWindowRect(hWnd, &rc))
        return Fail("no rectangle");
    char szLine[64];
    std::snprintf(szLine, sizeof(szLine), "%ld %ld %ld %ld", rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top);
    Print(szLine);
    return 0;
}

// Posted, so that a button which opens a modal dialog does not hold this program.
int Click(HWND hWnd, int nId) {
    const HWND hButton = GetDlgItem(hWnd, nId);
    if (!agentwin::IsControlShown(hButton) || !IsWindowEnabled(hButton))
        return Fail("button " + std::to_string(nId) + " is not there to press");
    PostMessageA(hButton, BM_CLICK, 0, 0);
    return 0;
}

int Solo(HWND hTarget) {
    for (HWND hWnd : agentwin::TopLevelWindows(agentwin::FindAgentProcess())) {
        if (hWnd != hTarget && agentwin::IsStatusWindow(hWnd) && IsWindowVisible(hWnd))
            ShowWindow(hWnd, SW_HIDE);
    }
    if (hTarget)
        SetWindowPos(hTarget, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return 0;
}

void ExpandFrom(HWND hTree, HTREEITEM hItem) {
    for (; hItem; hItem = TreeView_GetNextSibling(hTree, hItem)) {
        TreeView_Expand(hTree, hItem, TVE_EXPAND);
        ExpandFrom(hTree, TreeView_GetChild(hTree, hItem));
    }
}

int Expand(HWND hWnd, int nId) {
    const HWND hTree = GetDlgItem(hWnd, nId);
    if (!hTree)
        return Fail("no tree " + std::to_string(nId));
    ExpandFrom(hTree, TreeView_GetRoot(hTree));
    TreeView_EnsureVisible(hTree, TreeView_GetRoot(hTree));
    return 0;
}

// The menu opens where the cursor is: at the tray's right end, beside the
// icon rather than on it, whose tooltip would cover the menu's last item.
int OpenMenu() {
    const HWND hApplet = agentwin::FindTrayWindow();
    if (!hApplet)
        return Fail("no agent running");
    RECT rc;
    if (const HWND hTaskbar = Find("tray"); hTaskbar && GetWindowRect(hTaskbar, &rc))
        SetCursorPos(rc.right - 40, (rc.top + rc.bottom) / 2);
    PostMessageA(hApplet, RegisterWindowMessageA("CTaskBarAppletMessage"), 0, WM_RBUTTONUP);
    return Wait("menu", 5000, {});
}

int Keys(HWND hWnd, const std::vector<std::string>& keys) {
    static const std::pair<const char*, WPARAM> kKeys[] = {
        {"down", VK_DOWN},     {"up", VK_UP},         {"left", VK_LEFT}, {"right", VK_RIGHT},
        {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB},
    };
    for (const std::string& strKey : keys) {
        WPARAM wKey = 0;
        for (const auto& [pszName, wCode] : kKeys) {
            if (strKey == pszName)
                wKey = wCode;
        }
        if (wKey == 0)
            return Fail("unknown key " + strKey);
        PostMessageA(hWnd, WM_KEYDOWN, wKey, 1);
        PostMessageA(hWnd, WM_KEYUP, wKey, 0xC0000001);
        Sleep(kPollMs);
    }
    return 0;
}

// Ends with the agent, or when none has come up within a minute.
int Watch(long long llSinceMs) {
    CWindowWatch watch;
    bool bSeen = false;
    const DWORD dwStart = GetTickCount();
    for (;; Sleep(kPollMs)) {
        const DWORD dwProcessId = agentwin::FindAgentProcess();
        char szTime[32];
        std::snprintf(szTime, sizeof(szTime), "[%5.1f] agent  ", (UnixTimeMs() - llSinceMs) / 1000.0);
        if (dwProcessId == 0) {
            if (bSeen) {
                Print(std::string(szTime) + "ended");
                return 0;
            }
            if (GetTickCount() - dwStart > 60000)
                return Fail("no agent came up");
            continue;
        }
        bSeen = true;
        for (const std::string& strLine : watch.Poll(dwProcessId))
            Print(szTime + strLine);
    }
}

int Run(const std::vector<std::string>& args) {
    const std::string& strCommand = args[0];
    const auto Number = [&](std::size_t i) { return i < args.size() ? std::atoi(args[i].c_str()) : -1; };
    if (strCommand == "list")
        return List();
    if (strCommand == "wait-agent" || strCommand == "wait-no-agent")
        return args.size() == 2 ? WaitForAgent(strCommand == "wait-agent", Number(1)) : 2;
    if (strCommand == "menu")
        return OpenMenu();
    if (strCommand == "hide-all")
        return Solo(nullptr);
    if (strCommand == "watch")
        return Watch(args.size() > 1 ? std::atoll(args[1].c_str()) : UnixTimeMs());
    if (args.size() < 2)
        return 2;
    if (strCommand == "wait")
        return args.size() >= 3
                   ? Wait(args[1], Number(2), std::vector<std::string>(args.begin() + 3, args.end()))
                   : 2;
    const HWND hWnd = Find(args[1]);
    if (!hWnd)
        return Fail("no window " + args[1]);
    if (strCommand == "rect")
        return Rect(hWnd);
    if (strCommand == "solo")
        return Solo(hWnd);
    if (strCommand == "keys")
        return Keys(hWnd, std::vector<std::string>(args.begin() + 2, args.end()));
    if (args.size() != 3)
        return 2;
    if (strCommand == "text") {
        Print(agentwin::WindowText(GetDlgItem(hWnd, Number(2))));
        return 0;
    }
    if (strCommand == "click")
        return Click(hWnd, Number(2));
    if (strCommand == "expand")
        return Expand(hWnd, Number(2));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    agentwin::EnterShellDesktop();
    const int nResult = Run(args);
    if (nResult == 2)
        std::fputs(kUsage, stderr);
    return nResult;
}
