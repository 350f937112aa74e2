#include "sim/tools/window_watch.h"

#include "resources/resource_ids.h"
#include "sim/tools/agent_windows.h"

namespace {

// Controls of the information, About and Help dialogs that tell them apart.
constexpr int kLogsButton = 1026;
constexpr int kLegalLine = 1020;
constexpr int kTree = 1027;
constexpr int kHelpText = 1011;

} // namespace

std::vector<std::string> CWindowWatch::Poll(DWORD dwProcessId) {
    std::vector<std::string> lines;
    std::map<HWND, Seen> seen;
    for (HWND hWnd : agentwin::TopLevelWindows(dwProcessId)) {
        const bool bStatus = agentwin::IsStatusWindow(hWnd);
        if (!bStatus && !IsWindowVisible(hWnd))
            continue; // the tray's and the monitor's hidden windows
        const Seen now = LookAt(hWnd);
        if (now.strName.empty())
            continue; // a window being destroyed answers with empty texts
        const auto found = m_seen.find(hWnd);
        const Seen before = found != m_seen.end() ? found->second : Seen();
        const bool bNew = found == m_seen.end();
        if (!bStatus) {
            if (bNew)
                lines.push_back(now.strName + " opened");
        } else if (now.bVisible && !before.bVisible) {
            lines.push_back(now.strName + ": window opened: " + now.strShown);
        } else if (!now.bVisible && before.bVisible) {
            lines.push_back(now.strName + ": window closed" +
                            (now.strShown != before.strShown ? ": " + now.strShown : std::string()));
        } else if (bNew || now.strShown != before.strShown) {
            lines.push_back(now.strName + ": " + now.strShown);
        }
        seen[hWnd] = now;
    }
    // A status window goes with its printer; the dialogs and the menu close.
    for (const auto& [hWnd, before] : m_seen) {
        if (seen.count(hWnd) == 0)
            lines.push_back(before.strName + (before.bStatus ? ": printer removed" : " closed"));
    }
    m_seen = std::move(seen);
    return lines;
}

CWindowWatch::Seen CWindowWatch::LookAt(HWND hWnd) {
    Seen seen;
    seen.bVisible = IsWindowVisible(hWnd) != FALSE;
    seen.bStatus = agentwin::IsStatusWindow(hWnd);
    if (seen.bStatus) {
        seen.strName = agentwin::WindowText(hWnd);
        if (seen.strName.empty())
            seen.strName = agentwin::WindowText(GetDlgItem(hWnd, IDC_STATIC_CAPTION));
        seen.strShown = StatusLine(hWnd);
    } else {
        seen.strName = DialogName(hWnd);
    }
    return seen;
}

// "Printing - Yellow printing... [Cancel] [Close]": the state line, the
// detail line when it shows, and the push buttons shown, help as "?".
std::string CWindowWatch::StatusLine(HWND hWnd) {
    std::string strLine = agentwin::WindowText(GetDlgItem(hWnd, IDC_STATIC_MESSAGE));
    const HWND hDetail = GetDlgItem(hWnd, IDC_STATIC_DETAIL);
    const std::string strDetail = agentwin::WindowText(hDetail);
    if (agentwin::IsControlShown(hDetail) && !strDetail.empty())
        strLine += " - " + strDetail;
    std::string strButtons;
    if (agentwin::IsControlShown(GetDlgItem(hWnd, IDC_BUTTON_HELP)))
        strButtons += " [?]";
    for (int nId : {IDC_BUTTON_RESUME, IDCANCEL, IDOK}) {
        const HWND hButton = GetDlgItem(hWnd, nId);
        if (agentwin::IsControlShown(hButton))
            strButtons += " [" + agentwin::WindowText(hButton) + "]";
    }
    return strLine + strButtons;
}

std::string CWindowWatch::DialogName(HWND hWnd) {
    std::string strName;
    if (agentwin::ClassName(hWnd) == "#32768")
        return "tray menu";
    if (GetDlgItem(hWnd, kLogsButton))
        strName = "information dialog";
    else if (GetDlgItem(hWnd, kLegalLine))
        strName = "About dialog";
    else if (GetDlgItem(hWnd, kHelpText) && !GetDlgItem(hWnd, kTree))
        strName = "Help dialog";
    else
        strName = "window";
    const std::string strTitle = agentwin::WindowText(hWnd);
    return strTitle.empty() ? strName : strName + " \"" + strTitle + "\"";
}
