#include "ui/status_window_layout.h"

#include <algorithm>
#include <utility>

#include "app/registry.h"
#include "app/strings.h"
#include "app/trace.h"
#include "app/wide_text.h"
#include "framework/scoped_dc.h"
#include "monitor/device_control.h"
#include "monitor/device_status.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "ui/gdi_rect.h"

using namespace status_layout;

namespace {

status_layout::Rect WorkArea() {
    RECT rcWork = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    return FromRECT(rcWork);
}

} // namespace

void CStatusWindowLayout::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    const unsigned nDpi = m_look.GetDpi();
    const Rect rcWork = WorkArea();
    const Point ptDefault = DefaultPosition(rcWork, nDpi);
    CRegistry::GetWindowPos(m_ptCorner, {ptDefault.x, ptDefault.y});
    Point ptCorner{m_ptCorner.x, m_ptCorner.y};
    ValidatePosition(ptCorner, rcWork, nDpi);
    m_ptCorner = {ptCorner.x, ptCorner.y};
    MeasureButtonWidths();
}

void CStatusWindowLayout::StorePosition() const {
    CRegistry::SetWindowPos(m_ptCorner);
}

void CStatusWindowLayout::KeepOnWorkArea() {
    Point ptCorner{m_ptCorner.x, m_ptCorner.y};
    if (ValidatePosition(ptCorner, WorkArea(), m_look.GetDpi()))
        return;
    m_ptCorner = {ptCorner.x, ptCorner.y};
    RECT rc = {};
    GetWindowRect(m_hWnd, &rc);
    SetWindowPos(m_hWnd, nullptr, ptCorner.x - (rc.right - rc.left), ptCorner.y - (rc.bottom - rc.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CStatusWindowLayout::Show(Content content) {
    m_strFailure.clear();
    m_content = std::move(content);
    Apply();
}

void CStatusWindowLayout::ShowFailure(std::string strFailure) {
    m_strFailure = std::move(strFailure);
    Apply();
}

void CStatusWindowLayout::Rescale() {
    MeasureButtonWidths();
    Apply();
}

Size CStatusWindowLayout::MeasureText(HFONT hFont, const std::string& strText) const {
    const CWindowDC dc(m_hWnd);
    if (!dc)
        return {};
    const CSelectObject font(dc.Get(), hFont);
    const std::wstring wstrText = Widen(strText);
    SIZE size = {};
    GetTextExtentPoint32W(dc.Get(), wstrText.c_str(), static_cast<int>(wstrText.size()), &size);
    if (wstrText.empty()) {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc.Get(), &metrics);
        size.cy = metrics.tmHeight;
    }
    return {size.cx, size.cy};
}

void CStatusWindowLayout::MeasureButtonWidths() {
    const HFONT hFont = m_look.GetFont();
    const unsigned nDpi = m_look.GetDpi();
    m_widths.nResume = ButtonWidth(MeasureText(hFont, LoadString(IDS_RESUME)).cx, nDpi);
    m_widths.nCancel = ButtonWidth(MeasureText(hFont, LoadString(IDS_CANCEL)).cx, nDpi);
    m_widths.nClose = ButtonWidth(MeasureText(hFont, LoadString(IDS_CLOSE)).cx, nDpi);
    m_widths.nOK = ButtonWidth(MeasureText(hFont, LoadString(IDS_OK)).cx, nDpi);
}

void CStatusWindowLayout::Place(int nId, const Rect& rc, const std::string& strText, bool bVisible) const {
    const HWND hControl = GetDlgItem(m_hWnd, nId);
    if (!hControl)
        return;
    MoveWindow(hControl, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    SetWindowTextA(hControl, strText.c_str());
    ShowWindow(hControl, bVisible ? SW_SHOWNA : SW_HIDE);
}

void CStatusWindowLayout::PlaceControl(HWND hControl, const Rect& rc, bool bMove, bool bVisible) const {
    if (!hControl)
        return;
    if (bMove)
        MoveWindow(hControl, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    ShowWindow(hControl, bVisible ? SW_SHOWNA : SW_HIDE);
}

void CStatusWindowLayout::Apply() {
    const unsigned nDpi = m_look.GetDpi();
    const HFONT hFont = m_look.GetFont();
    const HFONT hBold = m_look.GetBoldFont() ? m_look.GetBoldFont() : hFont;
    const std::string& strPrinter = m_control.GetPrinterName();
    const Layout layout = m_content.layout;
    const std::string& strLine1 = m_strFailure.empty() ? m_content.strLine1 : m_strFailure;
    const std::string strTask = layout == Layout::Printing ? LoadString(IDS_TASK) : std::string();
    const std::string strTotal = layout == Layout::Printing ? LoadString(IDS_TOTAL) : std::string();

    // Each text measured in the font its control shows it in.
    Texts texts;
    texts.caption = MeasureText(hBold, strPrinter);
    if (!GetDlgItem(m_hWnd, IDC_STATIC_MESSAGE))
        DebugTrace("CNyAgentDlg::GetMessageLength() : GetDlgItem(IDC_STATIC_MESSAGE) rteurns NULL\n");
    texts.state = MeasureText(hBold, m_content.strState);
    texts.line1 = MeasureText(hFont, strLine1);
    texts.nStateWidth = texts.state.cx;
    if (layout == Layout::Error)
        texts.nStateWidth = std::max(texts.state.cx, texts.line1.cx);
    texts.bHint = layout == Layout::Idle && !m_content.strHint.empty();
    texts.line2 = MeasureText(hFont, m_content.strHint);
    texts.taskLabel = MeasureText(hFont, strTask);
    texts.totalLabel = MeasureText(hFont, strTotal);

    const Rect rcWindow = WindowRect({m_ptCorner.x, m_ptCorner.y}, layout, texts.nStateWidth, nDpi);
    SetWindowPos(m_hWnd, nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(m_hWnd, strPrinter.c_str());

    const Controls c = LayoutControls(layout, texts, rcWindow.Width(), nDpi);
    if (GetDlgItem(m_hWnd, IDC_STATIC_CAPTION))
        Place(IDC_STATIC_CAPTION, c.rcCaption, strPrinter, true);
    else
        DebugTrace("CNyAgentDlg::RefreshCaption() : GetDlgItem(IDC_STATIC_CAPTION) rteurns NULL\n");
    if (GetDlgItem(m_hWnd, IDC_STATIC_MESSAGE))
        Place(IDC_STATIC_MESSAGE, c.rcState, m_content.strState, true);
    else
        DebugTrace("CNyAgentDlg::RefreshMessage() : GetDlgItem(IDC_STATIC_MESSAGE) rteurns NULL\n");
    Place(IDC_STATIC_DETAIL, c.rcLine1, strLine1, true);
    Place(IDC_STATIC_HINT, c.rcLine2, c.bLine2Visible ? m_content.strHint : std::string(), c.bLine2Visible);

    const bool bParts = c.bPrintingParts;
    Place(IDC_STATIC_TASK, c.rcTaskLabel, strTask, bParts);
    Place(IDC_STATIC_TOTAL, c.rcTotalLabel, strTotal, bParts);
    PlaceControl(GetDlgItem(m_hWnd, IDC_PROGRESS_TASK), c.rcTaskBar, bParts, bParts);
    PlaceControl(GetDlgItem(m_hWnd, IDC_PROGRESS_TOTAL), c.rcTotalBar, bParts, bParts);
    PlaceControl(GetDlgItem(m_hWnd, IDC_STATIC_TASK_PERCENT), c.rcTaskPercent, bParts, bParts);
    PlaceControl(GetDlgItem(m_hWnd, IDC_STATIC_TOTAL_PERCENT), c.rcTotalPercent, bParts, bParts);
    // Moved and hidden controls repaint what they uncover; nothing else is redrawn.
    PlaceButtons(rcWindow.Width(), rcWindow.Height());
}

void CStatusWindowLayout::PlaceButtons(int nWidth, int nHeight) {
    const CDevice& device = m_control.GetDevice();
    BOOL bFlag = FALSE;
    DeviceFacts facts;
    facts.bKestrel = device.IsKestrelModel() != FALSE;
    facts.bPrinting = device.IsPrinting(&bFlag) != FALSE;
    facts.bConnected = device.IsConnected() != FALSE;
    facts.bError = device.IsError(nullptr) != FALSE;
    facts.bResumable = IsResumableError(device.GetStatusCode());
    const Buttons b = LayoutButtons({nWidth, nHeight}, m_widths, facts, m_look.GetDpi());

    Place(IDC_BUTTON_RESUME, b.rcResume, LoadString(IDS_RESUME), b.bResumeVisible);
    Place(IDCANCEL, b.rcCancel, LoadString(IDS_CANCEL), b.bCancelVisible);
    Place(IDOK, b.rcOK, LoadString(b.bClose ? IDS_CLOSE : IDS_OK), true);
    PlaceControl(GetDlgItem(m_hWnd, IDC_BUTTON_HELP), b.rcHelp, true, b.bHelpVisible);
    PlaceControl(GetDlgItem(m_hWnd, IDC_BUTTON_PROPERTIES), b.rcProperties, true, true);
}
