#include "ui/ny_agent_dlg.h"

#include "app/agent_settings.h"
#include "app/registry.h"
#include "app/strings.h"
#include "app/trace.h"
#include "monitor/device_control.h"
#include "monitor/status_messages.h"
#include "resources/resource_ids.h"
#include "ui/colour_dialog.h"
#include "ui/colour_setting.h"
#include "ui/device_status_source.h"
#include "ui/gdi_rect.h"
#include "ui/help_dlg.h"
#include "ui/info_dlg.h"

using status_layout::Layout;
using status_layout::ScaledRect;
using status_window::Event;

namespace {

constexpr UINT_PTR kFeedTimerId = CStatusDisplay::kFeedTimerId;
constexpr COLORREF kWhite = RGB(255, 255, 255);

} // namespace

CNyAgentDlg::CNyAgentDlg(CDeviceControl* pDeviceControl, const CAgentSettings* pSettings, UINT nErrorCloseMs)
    : CDialog(IDD_NYAGENT_DIALOG), m_pDeviceControl(pDeviceControl), m_pSettings(pSettings),
      m_nErrorCloseMs(nErrorCloseMs), m_look("CNyAgentDlg", kWhite), m_layout(m_look, *pDeviceControl),
      m_paint(m_look, m_HelpButton, m_PropertiesButton) {}

BOOL CNyAgentDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const HWND hWnd = GetSafeHwnd();
    // The device polls already: from here on its news is posted to this
    // window, and Display() below shows what it read before.
    m_pDeviceControl->AttachWindow(hWnd);
    const HINSTANCE hInstance = GetModuleHandleA(nullptr);

    m_hIcon.Reset(
        static_cast<HICON>(LoadImageA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    m_hSmallIcon.Reset(
        static_cast<HICON>(LoadImageA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageA(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    SendMessageA(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.Get()));

    // Colours and fonts first: the position's correction needs the DPI.
    m_look.Attach(hWnd,
                  {IDC_STATIC_DETAIL, IDC_STATIC_HINT, IDC_STATIC_TASK, IDC_STATIC_TASK_PERCENT,
                   IDC_STATIC_TOTAL, IDC_STATIC_TOTAL_PERCENT, IDC_BUTTON_RESUME, IDCANCEL, IDOK},
                  {IDC_STATIC_CAPTION, IDC_STATIC_MESSAGE});
    m_layout.Attach(hWnd);
    m_paint.LoadPattern();

    const unsigned nDpi = m_look.GetDpi();
    m_TaskProgress.Create(WS_DISABLED, ToRECT(ScaledRect(58, 66, 188, 15, nDpi)), hWnd, IDC_PROGRESS_TASK);
    m_TotalProgress.Create(WS_DISABLED, ToRECT(ScaledRect(58, 92, 188, 15, nDpi)), hWnd, IDC_PROGRESS_TOTAL);
    const DWORD dwButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_ICON | BS_FLAT;
    const RECT rcButton = ToRECT(ScaledRect(5, 5, 16, 16, nDpi));
    m_HelpButton.Create("", dwButtonStyle, rcButton, hWnd, IDC_BUTTON_HELP, nDpi);
    m_PropertiesButton.Create("", dwButtonStyle, rcButton, hWnd, IDC_BUTTON_PROPERTIES, nDpi);

    Display();
    // No control takes the focus: the window is hidden and must not become
    // active before the user opens it.
    return FALSE;
}

BOOL CNyAgentDlg::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (m_paint.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult))
        return TRUE;
    switch (nMessage) {
    case WM_NY_REFRESH:
        Display();
        break;
    case WM_NY_ERROR_RAISED:
        Apply(Event::ErrorRaised);
        break;
    case WM_NY_ERROR_CLEARED:
        Apply(Event::ErrorCleared);
        break;
    case WM_NY_PRINTING_STARTED:
        Apply(Event::JobStarted);
        EnableWindow(m_PropertiesButton.GetSafeHwnd(), FALSE);
        break;
    case WM_NY_PRINTING_ENDED:
        Apply(Event::JobEnded);
        EnableWindow(m_PropertiesButton.GetSafeHwnd(), TRUE);
        break;
    case WM_NY_OPENED_BY_USER:
        Apply(Event::UserOpened);
        break;
    case WM_NY_STATUS_CHANGED:
    case WM_NY_CONNECTED:
    case WM_NY_DISCONNECTED:
        break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
        // Left to the system when the painting did not answer.
        return FALSE;
    case WM_NCHITTEST: {
        // Remember where the window stands: it may have been dragged.
        RECT rc = {};
        GetWindowRect(GetSafeHwnd(), &rc);
        m_layout.SetCorner({rc.right, rc.bottom});
        return m_look.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult);
    }
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        lResult = 0;
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        lResult = 0;
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        lResult = 0;
        return TRUE;
    case WM_CLOSE:
        // Alt+F4 and the taskbar's Close: the default handling would press
        // the Cancel button, which cancels the job.
        Apply(Event::UserHid);
        lResult = 0;
        return TRUE;
    case WM_ACTIVATE:
        // The window keeps the keyboard focus itself, so that the characters
        // typed to it arrive; the default handling would hand it to a button.
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocus(GetSafeHwnd());
        lResult = 0;
        return TRUE;
    case WM_SETFOCUS:
        lResult = 0;
        return TRUE;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam));
        // The default handling runs as well.
        return FALSE;
    case WM_DISPLAYCHANGE:
        DebugTrace("CNyAgentDlg::OnDisplayChange() : %dx%d\n", LOWORD(lParam), HIWORD(lParam));
        m_layout.KeepOnWorkArea();
        return FALSE;
    case WM_WINDOWPOSCHANGED:
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
            OnShowWindow();
        return FALSE;
    case WM_DESTROY:
        m_layout.StorePosition();
        return FALSE;
    default:
        return m_look.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult);
    }
    // Every status message is answered 1.
    lResult = 1;
    return TRUE;
}

void CNyAgentDlg::Display() {
    m_display.Display(CDeviceStatusSource(m_pDeviceControl->GetDevice()), *this);
    // Off while the printer prints, however that became known: a job told as
    // started, or a printer found printing by the device's first read.
    EnableWindow(m_PropertiesButton.GetSafeHwnd(), !m_pDeviceControl->GetDevice().IsPrinting(nullptr));
}

void CNyAgentDlg::Apply(Event event) {
    const HWND hWnd = GetSafeHwnd();
    status_window::Situation situation;
    situation.bVisible = IsWindowVisible(hWnd) != FALSE;
    situation.bOpenOnError = m_pSettings && m_pSettings->GetOpenOnErrorSetting();
    situation.bOpenWhenPrinting = m_pSettings && m_pSettings->GetOpenWhenPrintingSetting();
    const status_window::Actions actions = m_policy.On(event, situation);
    if (actions.bHide)
        ShowWindow(hWnd, SW_HIDE);
    if (actions.bKillTimer)
        KillTimer(kErrorTimerId);
    // Opened without taking the focus from the user's work.
    if (actions.bShow)
        ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    if (actions.bStartTimer)
        SetTimer(kErrorTimerId, m_nErrorCloseMs);
}

void CNyAgentDlg::OnCommand(UINT nId, HWND hControl) {
    switch (nId) {
    case IDOK:
        // OK and Close only hide the window; nothing goes to the printer.
        Apply(Event::UserHid);
        break;
    case IDCANCEL:
        // Escape sends this too: only the shown Cancel button cancels the job.
        if (hControl && (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE))
            OnCancel();
        break;
    case IDC_BUTTON_RESUME:
        OnResume();
        break;
    case IDC_BUTTON_HELP:
        OnHelpButton();
        break;
    case IDC_BUTTON_PROPERTIES:
        OnPropertiesButton();
        break;
    default:
        break;
    }
}

void CNyAgentDlg::OnCancel() {
    const DWORD dwError = m_pDeviceControl->GetDevice().OnCancel();
    if (dwError == ERROR_SUCCESS)
        return;
    DebugTrace("CNyAgentDlg::OnCancel() : OnCancel() failed. GetLastError() = %d\n",
               static_cast<int>(dwError));
    ShowCommandFailure(IDS_CANCEL_FAILED);
}

void CNyAgentDlg::OnResume() {
    const DWORD dwError = m_pDeviceControl->GetDevice().OnResume();
    if (dwError == ERROR_SUCCESS)
        return;
    DebugTrace("CNyAgentDlg::OnResume() : OnResume() failed. GetLastError() = %d\n",
               static_cast<int>(dwError));
    ShowCommandFailure(IDS_RESUME_FAILED);
}

void CNyAgentDlg::ShowCommandFailure(StringId nMessageId) {
    // Shown in place of the lower line until the next status report lays
    // the window out again.
    m_layout.ShowFailure(LoadString(nMessageId));
}

void CNyAgentDlg::OnHelpButton() {
    CHelpDlg help(nullptr);
    help.SetText(LoadString(IDS_HELP_TEXT));
    help.DoModal();
}

void CNyAgentDlg::OnPropertiesButton() {
    // Reading the printer can take a moment on a network.
    const HCURSOR hCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    CDeviceInformation information;
    m_pDeviceControl->ReadDeviceInformation(information);
    SetCursor(hCursor);
    CInfoDlg dialog(m_pDeviceControl, &information);
    dialog.DoModal(GetSafeHwnd());
}

void CNyAgentDlg::OnTimer(UINT_PTR nId) {
    if (nId == kErrorTimerId) {
        // The window an error opened closes, even while the error lasts.
        Apply(Event::TimerExpired);
    } else if (nId == kFeedTimerId) {
        m_pDeviceControl->OnStatusChanged();
    }
}

void CNyAgentDlg::OnChar(UINT nChar) {
    using namespace colour_setting;
    const HWND hWnd = GetSafeHwnd();
    if (nChar == VK_ESCAPE) {
        // As OK: the window goes, the job goes on.
        Apply(Event::UserHid);
        return;
    }
    switch (KeyOf(nChar)) {
    case Key::ChooseBackground: {
        DWORD dwStored = 0;
        COLORREF crColour = m_look.GetBackgroundColour();
        if (CRegistry::GetBkColor(dwStored, nullptr) == ERROR_SUCCESS)
            crColour = dwStored & kColourBits;
        if (!ChooseColour(hWnd, crColour))
            break;
        const DWORD dwSetting = UserColour(crColour);
        CRegistry::SetBkColor(&dwSetting);
        m_look.SetBackgroundSetting(hWnd, dwSetting);
        break;
    }
    case Key::ResetBackground: {
        DWORD dwStored = m_look.GetBackgroundSetting();
        CRegistry::GetBkColor(dwStored, &dwStored);
        const DWORD dwSetting = ResetToDefault(dwStored);
        CRegistry::SetBkColor(&dwSetting);
        m_look.SetBackgroundSetting(hWnd, dwSetting);
        break;
    }
    case Key::ChooseText: {
        DWORD dwStored = m_look.GetTextSetting();
        CRegistry::GetTextColor(dwStored, &dwStored);
        COLORREF crColour = dwStored & kColourBits;
        if (!ChooseColour(hWnd, crColour))
            break;
        const DWORD dwSetting = UserColour(crColour);
        CRegistry::SetTextColor(&dwSetting);
        m_look.SetTextSetting(hWnd, dwSetting);
        break;
    }
    case Key::ResetText: {
        const DWORD dwSetting = ResetToDefault(m_look.GetTextSetting());
        CRegistry::SetTextColor(&dwSetting);
        m_look.SetTextSetting(hWnd, dwSetting);
        break;
    }
    case Key::None:
        break;
    }
}

void CNyAgentDlg::OnDpiChanged(unsigned nDpi, const RECT& rcSuggested) {
    LRESULT lIgnored = 0;
    m_look.OnMessage(GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(nDpi, nDpi),
                     reinterpret_cast<LPARAM>(&rcSuggested), lIgnored);
    m_layout.SetCorner({rcSuggested.right, rcSuggested.bottom});
    m_HelpButton.LoadIcons(nDpi);
    m_PropertiesButton.LoadIcons(nDpi);
    m_layout.Rescale();
}

void CNyAgentDlg::OnShowWindow() {
    // Raised above the other windows without staying on top, and without
    // taking the activation.
    const HWND hWnd = GetSafeHwnd();
    SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CStatusWindowPaint::RepaintBars(m_TaskProgress.GetSafeHwnd(), m_TotalProgress.GetSafeHwnd());
}

// Display operations.

void CNyAgentDlg::ShowNotConnected() {
    m_layout.Show({Layout::NotConnected, LoadString(IDS_NOT_CONNECTED), {}, {}});
}

void CNyAgentDlg::ShowError(StringId nStateId, StringId nAdviceId) {
    m_layout.Show({Layout::Error, LoadString(nStateId), LoadString(nAdviceId), {}});
}

void CNyAgentDlg::ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) {
    m_layout.Show({Layout::Idle, LoadString(nStateId), LoadString(nDetailId),
                   nHintId != IDS_NONE ? LoadString(nHintId) : std::string()});
}

void CNyAgentDlg::ShowPrinting(StringId nPhaseId) {
    m_layout.Show({Layout::Printing,
                   LoadString(IDS_PRINTING),
                   nPhaseId != IDS_NONE ? LoadString(nPhaseId) : std::string(),
                   {}});
}

void CNyAgentDlg::StartTimer(std::uint32_t nTimerId, std::uint32_t nElapseMs) {
    SetTimer(nTimerId, nElapseMs);
}

void CNyAgentDlg::StopTimer(std::uint32_t nTimerId) {
    KillTimer(nTimerId);
}

void CNyAgentDlg::SetTaskBarColour(Colour crBar) {
    m_TaskProgress.SetBarColor(crBar);
}

void CNyAgentDlg::SetTaskPos(std::int32_t nPos) {
    m_TaskProgress.SetPos(nPos);
}

std::int32_t CNyAgentDlg::GetTaskPos() const {
    return m_TaskProgress.GetPos();
}

void CNyAgentDlg::SetTotalPos(std::int32_t nPos) {
    m_TotalProgress.SetPos(nPos);
}

std::int32_t CNyAgentDlg::GetTotalPos() const {
    return m_TotalProgress.GetPos();
}

void CNyAgentDlg::SetTaskPercentText(const std::string& strText) {
    SetDlgItemTextA(GetSafeHwnd(), IDC_STATIC_TASK_PERCENT, strText.c_str());
}

void CNyAgentDlg::SetTotalPercentText(const std::string& strText) {
    SetDlgItemTextA(GetSafeHwnd(), IDC_STATIC_TOTAL_PERCENT, strText.c_str());
}
