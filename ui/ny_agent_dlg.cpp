#include "ui/ny_agent_dlg.h"

#include <algorithm>
#include <tuple>

#include <commdlg.h>

#include "app/nyagent_app.h"
#include "app/registry.h"
#include "app/strings.h"
#include "app/trace.h"
#include "app/wide_text.h"
#include "framework/nested_loop.h"
#include "monitor/device_control.h"
#include "monitor/status_messages.h"
#include "resources/resource_ids.h"
#include "ui/colour_setting.h"
#include "ui/device_status_source.h"
#include "ui/gdi_rect.h"
#include "ui/help_dlg.h"
#include "ui/info_dlg.h"

using namespace status_layout;

namespace {

constexpr UINT_PTR kFeedTimerId = CStatusDisplay::kFeedTimerId;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The user's settings for opening the window by itself; without an
// application object (a test harness) the window never opens by itself.
bool OpenOnError() {
    const CNyAgentApp* pApp = CNyAgentApp::GetApp();
    return pApp && pApp->GetOpenOnErrorSetting();
}

bool OpenWhenPrinting() {
    const CNyAgentApp* pApp = CNyAgentApp::GetApp();
    return pApp && pApp->GetOpenWhenPrintingSetting();
}

// Hands the colour dialog's window to the one who asked (lCustData) so that
// it can be ended from outside.
UINT_PTR CALLBACK ColourDialogHook(HWND hDlg, UINT nMessage, WPARAM, LPARAM lParam) {
    if (nMessage != WM_INITDIALOG)
        return 0;
    const auto& choose = *reinterpret_cast<const CHOOSECOLORA*>(lParam);
    *reinterpret_cast<HWND*>(choose.lCustData) = hDlg;
    return TRUE;
}

} // namespace

CNyAgentDlg::CNyAgentDlg(CDeviceControl* pDeviceControl, UINT nErrorCloseMs)
    : CDialog(IDD_NYAGENT_DIALOG), m_pDeviceControl(pDeviceControl), m_nErrorCloseMs(nErrorCloseMs),
      m_look("CNyAgentDlg", kWhite) {}

BOOL CNyAgentDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const HWND hWnd = GetSafeHwnd();
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
    const unsigned nDpi = m_look.GetDpi();
    const RECT rcWork = WorkArea();
    const Point ptDefault = DefaultPosition({rcWork.left, rcWork.top, rcWork.right, rcWork.bottom}, nDpi);
    CRegistry::GetWindowPos(m_ptPosition, {ptDefault.x, ptDefault.y});
    Point ptCorner{m_ptPosition.x, m_ptPosition.y};
    ValidatePosition(ptCorner, {rcWork.left, rcWork.top, rcWork.right, rcWork.bottom}, nDpi);
    m_ptPosition = {ptCorner.x, ptCorner.y};

    m_bmPattern.Reset(LoadBitmapA(hInstance, MAKEINTRESOURCEA(IDB_BACKGROUND)));
    if (!m_bmPattern)
        DebugTrace("CNyAgentDlg::OnInitDialog() : LoadBitmap() failed\n");
    else {
        m_brPattern.Reset(CreatePatternBrush(m_bmPattern.Get()));
        if (!m_brPattern)
            DebugTrace("CNyAgentDlg::OnInitDialog() : CreatePatternBrush() failed\n");
    }

    m_TaskProgress.Create(WS_DISABLED, ToRECT(ScaledRect(58, 66, 188, 15, nDpi)), hWnd, IDC_PROGRESS_TASK);
    m_TotalProgress.Create(WS_DISABLED, ToRECT(ScaledRect(58, 92, 188, 15, nDpi)), hWnd, IDC_PROGRESS_TOTAL);

    const DWORD dwButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | BS_ICON | BS_FLAT;
    const RECT rcButton = ToRECT(ScaledRect(5, 5, 16, 16, nDpi));
    m_HelpButton.Create("", dwButtonStyle, rcButton, hWnd, IDC_BUTTON_HELP, nDpi);
    m_PropertiesButton.Create("", dwButtonStyle, rcButton, hWnd, IDC_BUTTON_PROPERTIES, nDpi);

    MeasureButtonWidths();
    Display();
    EnableWindow(m_PropertiesButton.GetSafeHwnd(), !m_pDeviceControl->GetDevice().IsPrinting(nullptr));
    // No control takes the focus: the window is hidden and must not become
    // active before the user opens it.
    return FALSE;
}

BOOL CNyAgentDlg::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMessage) {
    case WM_NY_REFRESH:
        Display();
        break;
    case WM_NY_ERROR_RAISED:
        OnErrorRaised();
        break;
    case WM_NY_ERROR_CLEARED:
        OnErrorCleared();
        break;
    case WM_NY_PRINTING_STARTED:
        OnPrintingStarted();
        break;
    case WM_NY_PRINTING_ENDED:
        OnPrintingEnded();
        break;
    case WM_NY_OPENED_BY_USER:
        // Neither the end of the error or job nor the error's timer closes a
        // window the user opened.
        ForgetWhyOpened();
        break;
    case WM_NY_STATUS_CHANGED:
    case WM_NY_CONNECTED:
    case WM_NY_DISCONNECTED:
        break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        lResult = OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return lResult != 0;
    case WM_NCHITTEST: {
        // Remember where the window stands: it may have been dragged.
        RECT rc = {};
        GetWindowRect(GetSafeHwnd(), &rc);
        m_ptPosition = {rc.right, rc.bottom};
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
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IDC_BUTTON_HELP)
            m_HelpButton.DrawItem(item);
        else if (item.CtlID == IDC_BUTTON_PROPERTIES)
            m_PropertiesButton.DrawItem(item);
        else
            return FALSE;
        lResult = TRUE;
        return TRUE;
    }
    case WM_TIMER:
        OnTimer(wParam);
        lResult = 0;
        return TRUE;
    case WM_CLOSE:
        // Alt+F4 and the taskbar's Close: the default handling would press
        // the Cancel button, which cancels the job.
        Hide();
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
        OnDisplayChange(LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_WINDOWPOSCHANGED:
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
            OnShowWindow();
        return FALSE;
    case WM_DESTROY:
        CRegistry::SetWindowPos(m_ptPosition);
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
}

void CNyAgentDlg::OpenByItself() {
    ShowWindow(GetSafeHwnd(), SW_SHOWNOACTIVATE);
}

void CNyAgentDlg::Hide() {
    ShowWindow(GetSafeHwnd(), SW_HIDE);
    ForgetWhyOpened();
}

void CNyAgentDlg::ForgetWhyOpened() {
    m_bOpenedOnError = false;
    m_bOpenedWhenPrinting = false;
    KillTimer(kErrorTimerId);
}

void CNyAgentDlg::OnErrorRaised() {
    if (!OpenOnError() || IsWindowVisible(GetSafeHwnd()))
        return;
    OpenByItself();
    m_bOpenedOnError = true;
    SetTimer(kErrorTimerId, m_nErrorCloseMs);
}

void CNyAgentDlg::OnErrorCleared() {
    KillTimer(kErrorTimerId);
    if (m_bOpenedOnError)
        Hide();
}

void CNyAgentDlg::OnPrintingStarted() {
    if (OpenWhenPrinting() && !IsWindowVisible(GetSafeHwnd())) {
        OpenByItself();
        m_bOpenedWhenPrinting = true;
    }
    EnableWindow(m_PropertiesButton.GetSafeHwnd(), FALSE);
}

void CNyAgentDlg::OnPrintingEnded() {
    if (m_bOpenedWhenPrinting)
        Hide();
    EnableWindow(m_PropertiesButton.GetSafeHwnd(), TRUE);
}

void CNyAgentDlg::OnCommand(UINT nId, HWND hControl) {
    switch (nId) {
    case IDOK:
        // OK and Close only hide the window; nothing goes to the printer.
        Hide();
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
    m_strFailure = LoadString(nMessageId);
    ApplyLayout();
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
        Hide();
    } else if (nId == kFeedTimerId) {
        m_pDeviceControl->OnStatusChanged();
    }
}

bool CNyAgentDlg::ChooseColour(COLORREF& crColour) {
    // Exit is under way: the dialog would only be ended again at once.
    if (CNestedLoop::IsEnding())
        return false;
    static COLORREF s_acrCustom[16] = {};
    HWND hColourDialog = nullptr;
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = GetSafeHwnd();
    choose.rgbResult = crColour;
    choose.lpCustColors = s_acrCustom;
    choose.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT | CC_ENABLEHOOK;
    choose.lCustData = reinterpret_cast<LPARAM>(&hColourDialog);
    choose.lpfnHook = ColourDialogHook;
    // The dialog's own loop runs the other windows' messages: a printer's
    // removal waits until it returns, and Exit ends it.
    const CNestedLoop loop([&hColourDialog] {
        if (hColourDialog)
            ::PostMessageA(hColourDialog, WM_COMMAND, IDCANCEL, 0);
    });
    if (!ChooseColorA(&choose))
        return false;
    crColour = choose.rgbResult;
    return true;
}

void CNyAgentDlg::OnChar(UINT nChar) {
    using namespace colour_setting;
    const HWND hWnd = GetSafeHwnd();
    if (nChar == VK_ESCAPE) {
        // As OK: the window goes, the job goes on.
        Hide();
        return;
    }
    switch (KeyOf(nChar)) {
    case Key::ChooseBackground: {
        DWORD dwStored = 0;
        COLORREF crColour = m_look.GetBackgroundColour();
        if (CRegistry::GetBkColor(dwStored, nullptr) == ERROR_SUCCESS)
            crColour = dwStored & kColourBits;
        if (!ChooseColour(crColour))
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
        if (!ChooseColour(crColour))
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

RECT CNyAgentDlg::WorkArea() const {
    RECT rcWork = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    return rcWork;
}

void CNyAgentDlg::OnDisplayChange(int nWidth, int nHeight) {
    DebugTrace("CNyAgentDlg::OnDisplayChange() : %dx%d\n", nWidth, nHeight);
    const RECT rcWork = WorkArea();
    Point ptCorner{m_ptPosition.x, m_ptPosition.y};
    if (ValidatePosition(ptCorner, {rcWork.left, rcWork.top, rcWork.right, rcWork.bottom}, m_look.GetDpi()))
        return;
    m_ptPosition = {ptCorner.x, ptCorner.y};
    RECT rc = {};
    GetWindowRect(GetSafeHwnd(), &rc);
    SetWindowPos(GetSafeHwnd(), nullptr, ptCorner.x - (rc.right - rc.left), ptCorner.y - (rc.bottom - rc.top),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNyAgentDlg::OnDpiChanged(unsigned nDpi, const RECT& rcSuggested) {
    LRESULT lIgnored = 0;
    m_look.OnMessage(GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(nDpi, nDpi),
                     reinterpret_cast<LPARAM>(&rcSuggested), lIgnored);
    m_ptPosition = {rcSuggested.right, rcSuggested.bottom};
    m_HelpButton.LoadIcons(nDpi);
    m_PropertiesButton.LoadIcons(nDpi);
    MeasureButtonWidths();
    ApplyLayout();
}

void CNyAgentDlg::OnShowWindow() {
    // Raised above the other windows without staying on top, and without
    // taking the activation.
    const HWND hWnd = GetSafeHwnd();
    SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The bars repaint in the visibility the task bar had.
    const bool bBars = (GetWindowLongA(m_TaskProgress.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    for (HWND hBar : {m_TaskProgress.GetSafeHwnd(), m_TotalProgress.GetSafeHwnd()}) {
        ShowWindow(hBar, SW_HIDE);
        ShowWindow(hBar, bBars ? SW_SHOWNA : SW_HIDE);
    }
}

LRESULT CNyAgentDlg::OnCtlColor(HDC hdc, HWND hControl) const {
    SetTextColor(hdc, m_look.GetTextColour());
    SetBkMode(hdc, TRANSPARENT);
    const HWND hWnd = GetSafeHwnd();
    if (!m_brPattern)
        return reinterpret_cast<LRESULT>(m_look.GetBackgroundBrush());
    if (hControl && hControl != hWnd) {
        // The pattern runs on behind the control as behind the window.
        RECT rc = {};
        GetWindowRect(hControl, &rc);
        MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
        SetBrushOrgEx(hdc, -rc.left, -rc.top, nullptr);
    }
    return reinterpret_cast<LRESULT>(m_brPattern.Get());
}

// Display operations.

void CNyAgentDlg::ShowNotConnected() {
    m_strFailure.clear();
    m_layout = Layout::NotConnected;
    m_strState = LoadString(IDS_NOT_CONNECTED);
    m_strDetail.clear();
    m_strHint.clear();
    ApplyLayout();
}

void CNyAgentDlg::ShowError(StringId nStateId, StringId nAdviceId) {
    m_strFailure.clear();
    m_layout = Layout::Error;
    m_strState = LoadString(nStateId);
    m_strAdvice = LoadString(nAdviceId);
    ApplyLayout();
}

void CNyAgentDlg::ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) {
    m_strFailure.clear();
    m_layout = Layout::Idle;
    m_strState = LoadString(nStateId);
    m_strDetail = LoadString(nDetailId);
    m_strHint = nHintId != IDS_NONE ? LoadString(nHintId) : std::string();
    ApplyLayout();
}

void CNyAgentDlg::ShowPrinting(StringId nPhaseId) {
    m_strFailure.clear();
    m_layout = Layout::Printing;
    m_strState = LoadString(IDS_PRINTING);
    m_strPhase = nPhaseId != IDS_NONE ? LoadString(nPhaseId) : std::string();
    ApplyLayout();
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

// Layout.

Size CNyAgentDlg::MeasureText(HWND hWnd, HFONT hFont, const std::string& strText) const {
    SIZE size = {};
    const HDC hdc = GetDC(hWnd);
    if (!hdc)
        return {};
    const HGDIOBJ hOld = hFont ? SelectObject(hdc, hFont) : nullptr;
    const std::wstring wstrText = Widen(strText);
    GetTextExtentPoint32W(hdc, wstrText.c_str(), static_cast<int>(wstrText.size()), &size);
    if (wstrText.empty()) {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(hdc, &metrics);
        size.cy = metrics.tmHeight;
    }
    if (hOld)
        SelectObject(hdc, hOld);
    ReleaseDC(hWnd, hdc);
    return {size.cx, size.cy};
}

void CNyAgentDlg::MeasureButtonWidths() {
    const HWND hWnd = GetSafeHwnd();
    const HFONT hFont = m_look.GetFont();
    const unsigned nDpi = m_look.GetDpi();
    m_nWidthResume = ButtonWidth(MeasureText(hWnd, hFont, LoadString(IDS_RESUME)).cx, nDpi);
    m_nWidthCancel = ButtonWidth(MeasureText(hWnd, hFont, LoadString(IDS_CANCEL)).cx, nDpi);
    m_nWidthClose = ButtonWidth(MeasureText(hWnd, hFont, LoadString(IDS_CLOSE)).cx, nDpi);
    m_nWidthOK = ButtonWidth(MeasureText(hWnd, hFont, LoadString(IDS_OK)).cx, nDpi);
}

void CNyAgentDlg::Place(int nId, const Rect& rc, const std::string& strText, bool bVisible) {
    const HWND hControl = GetDlgItem(GetSafeHwnd(), nId);
    if (!hControl)
        return;
    MoveWindow(hControl, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    SetWindowTextA(hControl, strText.c_str());
    ShowWindow(hControl, bVisible ? SW_SHOWNA : SW_HIDE);
}

void CNyAgentDlg::PlaceBar(CColorProgressCtrl& bar, const Rect& rc, bool bVisible) {
    const HWND hBar = bar.GetSafeHwnd();
    if (!hBar)
        return;
    if (bVisible)
        MoveWindow(hBar, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    ShowWindow(hBar, bVisible ? SW_SHOWNA : SW_HIDE);
}

void CNyAgentDlg::ApplyLayout() {
    const HWND hWnd = GetSafeHwnd();
    const unsigned nDpi = m_look.GetDpi();
    const HFONT hFont = m_look.GetFont();
    const HFONT hBold = m_look.GetBoldFont() ? m_look.GetBoldFont() : hFont;
    const std::string& strPrinter = m_pDeviceControl->GetPrinterName();

    const std::string* pLine1 = &m_strDetail;
    if (m_layout == Layout::Error)
        pLine1 = &m_strAdvice;
    else if (m_layout == Layout::Printing)
        pLine1 = &m_strPhase;
    if (!m_strFailure.empty())
        pLine1 = &m_strFailure;
    const std::string strTask = m_layout == Layout::Printing ? LoadString(IDS_TASK) : std::string();
    const std::string strTotal = m_layout == Layout::Printing ? LoadString(IDS_TOTAL) : std::string();

    // Each text measured in the font its control shows it in.
    Texts texts;
    texts.caption = MeasureText(hWnd, hBold, strPrinter);
    if (!GetDlgItem(hWnd, IDC_STATIC_MESSAGE))
        DebugTrace("CNyAgentDlg::GetMessageLength() : GetDlgItem(IDC_STATIC_MESSAGE) rteurns NULL\n");
    texts.state = MeasureText(hWnd, hBold, m_strState);
    texts.line1 = MeasureText(hWnd, hFont, *pLine1);
    texts.nStateWidth = texts.state.cx;
    if (m_layout == Layout::Error)
        texts.nStateWidth = std::max(texts.state.cx, texts.line1.cx);
    texts.bHint = m_layout == Layout::Idle && !m_strHint.empty();
    texts.line2 = MeasureText(hWnd, hFont, m_strHint);
    texts.taskLabel = MeasureText(hWnd, hFont, strTask);
    texts.totalLabel = MeasureText(hWnd, hFont, strTotal);

    const Rect rcWindow = WindowRect({m_ptPosition.x, m_ptPosition.y}, m_layout, texts.nStateWidth, nDpi);
    SetWindowPos(hWnd, nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(hWnd, strPrinter.c_str());

    const Controls c = LayoutControls(m_layout, texts, rcWindow.Width(), nDpi);
    if (GetDlgItem(hWnd, IDC_STATIC_CAPTION))
        Place(IDC_STATIC_CAPTION, c.rcCaption, strPrinter, true);
    else
        DebugTrace("CNyAgentDlg::RefreshCaption() : GetDlgItem(IDC_STATIC_CAPTION) rteurns NULL\n");
    if (GetDlgItem(hWnd, IDC_STATIC_MESSAGE))
        Place(IDC_STATIC_MESSAGE, c.rcState, m_strState, true);
    else
        DebugTrace("CNyAgentDlg::RefreshMessage() : GetDlgItem(IDC_STATIC_MESSAGE) rteurns NULL\n");
    Place(IDC_STATIC_DETAIL, c.rcLine1, *pLine1, true);
    Place(IDC_STATIC_HINT, c.rcLine2, c.bLine2Visible ? m_strHint : std::string(), c.bLine2Visible);

    const bool bParts = c.bPrintingParts;
    Place(IDC_STATIC_TASK, c.rcTaskLabel, strTask, bParts);
    Place(IDC_STATIC_TOTAL, c.rcTotalLabel, strTotal, bParts);
    PlaceBar(m_TaskProgress, c.rcTaskBar, bParts);
    PlaceBar(m_TotalProgress, c.rcTotalBar, bParts);
    for (const auto& percent : {std::make_pair(IDC_STATIC_TASK_PERCENT, c.rcTaskPercent),
                                std::make_pair(IDC_STATIC_TOTAL_PERCENT, c.rcTotalPercent)}) {
        if (const HWND hPercent = GetDlgItem(hWnd, percent.first)) {
            if (bParts)
                MoveWindow(hPercent, percent.second.left, percent.second.top, percent.second.Width(),
                           percent.second.Height(), TRUE);
            ShowWindow(hPercent, bParts ? SW_SHOWNA : SW_HIDE);
        }
    }
    // Moved and hidden controls repaint what they uncover; nothing else is redrawn.
    LayoutButtons(rcWindow.Width(), rcWindow.Height());
}

void CNyAgentDlg::LayoutButtons(int nWidth, int nHeight) {
    const CDevice& device = m_pDeviceControl->GetDevice();
    BOOL bFlag = FALSE;
    DeviceFacts facts;
    facts.bKestrel = device.IsKestrelModel() != FALSE;
    facts.bPrinting = device.IsPrinting(&bFlag) != FALSE;
    facts.bConnected = device.IsConnected() != FALSE;
    facts.bError = device.IsError(nullptr) != FALSE;
    facts.bResumable = IsResumableError(device.GetStatusCode());
    const Buttons b = status_layout::LayoutButtons(
        {nWidth, nHeight}, {m_nWidthOK, m_nWidthClose, m_nWidthCancel, m_nWidthResume}, facts,
        m_look.GetDpi());

    Place(IDC_BUTTON_RESUME, b.rcResume, LoadString(IDS_RESUME), b.bResumeVisible);
    Place(IDCANCEL, b.rcCancel, LoadString(IDS_CANCEL), b.bCancelVisible);
    Place(IDOK, b.rcOK, LoadString(b.bClose ? IDS_CLOSE : IDS_OK), true);
    for (const auto& button : {std::make_tuple(m_HelpButton.GetSafeHwnd(), b.rcHelp, b.bHelpVisible),
                               std::make_tuple(m_PropertiesButton.GetSafeHwnd(), b.rcProperties, true)}) {
        const HWND hButton = std::get<0>(button);
        const Rect& rc = std::get<1>(button);
        if (!hButton)
            continue;
        MoveWindow(hButton, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
        ShowWindow(hButton, std::get<2>(button) ? SW_SHOWNA : SW_HIDE);
    }
}
