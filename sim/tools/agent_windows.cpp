#include "sim/tools/agent_windows.h"

#include <cstdlib>
#include <sstream>

#include "resources/resource_ids.h"

namespace agentwin {

namespace {

constexpr char kShellDesktop[] = "shell";
constexpr char kTrayWindowClass[] = "CNyTaskBarApplet";
constexpr UINT kTextTimeoutMs = 1000;

BOOL CALLBACK AddWindowOf(HWND hWnd, LPARAM lParam) {
    auto* pWanted = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId == pWanted->first)
        pWanted->second->push_back(hWnd);
    return TRUE;
}

// "1027,1025,-1026": the ids the window must have, and those (with a minus) it must not.
bool HasControls(HWND hWnd, const std::string& strIds) {
    std::istringstream ids(strIds);
    std::string strId;
    while (std::getline(ids, strId, ',')) {
        const bool bAbsent = !strId.empty() && strId[0] == '-';
        const int nId = std::atoi(strId.c_str() + (bAbsent ? 1 : 0));
        if ((GetDlgItem(hWnd, nId) != nullptr) == bAbsent)
            return false;
    }
    return true;
}

} // namespace

bool EnterShellDesktop() {
    static bool s_bEntered = false;
    if (!s_bEntered) {
        if (const HDESK hDesktop = OpenDesktopA(kShellDesktop, 0, FALSE, GENERIC_ALL))
            s_bEntered = SetThreadDesktop(hDesktop) != FALSE;
    }
    return s_bEntered;
}

HWND FindTrayWindow() {
    // The shell desktop may have come up since the last look.
    EnterShellDesktop();
    return FindWindowA(kTrayWindowClass, nullptr);
}

DWORD FindAgentProcess() {
    const HWND hTray = FindTrayWindow();
    DWORD dwProcessId = 0;
    if (hTray)
        GetWindowThreadProcessId(hTray, &dwProcessId);
    return dwProcessId;
}

std::vector<HWND> TopLevelWindows(DWORD dwProcessId) {
    std::vector<HWND> windows;
    if (dwProcessId == 0)
        return windows;
    std::pair<DWORD, std::vector<HWND>*> wanted(dwProcessId, &windows);
    EnumWindows(AddWindowOf, reinterpret_cast<LPARAM>(&wanted));
    return windows;
}

bool IsStatusWindow(HWND hWnd) {
    return GetDlgItem(hWnd, IDC_STATIC_MESSAGE) != nullptr && GetDlgItem(hWnd, IDC_STATIC_CAPTION) != nullptr;
}

HWND FindBySelector(const std::string& strSelector, DWORD dwProcessId) {
    if (strSelector == "menu" || strSelector == "tray") {
        const char* pszClass = strSelector == "menu" ? "#32768" : "Shell_TrayWnd";
        for (HWND hWnd = FindWindowExA(nullptr, nullptr, pszClass, nullptr); hWnd;
             hWnd = FindWindowExA(nullptr, hWnd, pszClass, nullptr)) {
            if (IsWindowVisible(hWnd))
                return hWnd;
        }
        return nullptr;
    }
    const std::string kDialog = "dialog:";
    const bool bDialog = strSelector.compare(0, kDialog.size(), kDialog) == 0;
    for (HWND hWnd : TopLevelWindows(dwProcessId)) {
        if (bDialog) {
            if (IsWindowVisible(hWnd) && HasControls(hWnd, strSelector.substr(kDialog.size())))
                return hWnd;
        } else if (IsStatusWindow(hWnd) &&
                   (WindowText(hWnd) == strSelector ||
                    WindowText(GetDlgItem(hWnd, IDC_STATIC_CAPTION)) == strSelector)) {
            return hWnd;
        }
    }
    return nullptr;
}

std::string WindowText(HWND hWnd) {
    if (!hWnd)
        return std::string();
    wchar_t szText[512] = {};
    DWORD_PTR dwLength = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXT, sizeof(szText) / sizeof(szText[0]),
                             reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG, kTextTimeoutMs, &dwLength))
        return std::string();
    char szUtf8[2048] = {};
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, szText, static_cast<int>(dwLength), szUtf8,
                                           sizeof(szUtf8) - 1, nullptr, nullptr);
    return std::string(szUtf8, nBytes > 0 ? static_cast<std::size_t>(nBytes) : 0);
}

std::string ClassName(HWND hWnd) {
    char szClass[256] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

bool IsControlShown(HWND hControl) {
    return hControl && (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
}

} // namespace agentwin
