#include "ui/status_window_paint.h"

#include "app/trace.h"
#include "resources/resource_ids.h"

void CStatusWindowPaint::LoadPattern() {
    m_bmPattern.Reset(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND)));
    if (!m_bmPattern) {
        DebugTrace("CNyAgentDlg::OnInitDialog() : LoadBitmap() failed\n");
        return;
    }
    m_brPattern.Reset(CreatePatternBrush(m_bmPattern.Get()));
    if (!m_brPattern)
        DebugTrace("CNyAgentDlg::OnInitDialog() : CreatePatternBrush() failed\n");
}

BOOL CStatusWindowPaint::OnMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam,
                                   LRESULT& lResult) const {
    switch (nMessage) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        lResult = OnCtlColor(hWnd, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return lResult != 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IDC_BUTTON_HELP)
            m_help.DrawItem(item);
        else if (item.CtlID == IDC_BUTTON_PROPERTIES)
            m_properties.DrawItem(item);
        else
            return FALSE;
        lResult = TRUE;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

LRESULT CStatusWindowPaint::OnCtlColor(HWND hWnd, HDC hdc, HWND hControl) const {
    SetTextColor(hdc, m_look.GetTextColour());
    SetBkMode(hdc, TRANSPARENT);
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

void CStatusWindowPaint::RepaintBars(HWND hTaskBar, HWND hTotalBar) {
    const bool bBars = (GetWindowLongA(hTaskBar, GWL_STYLE) & WS_VISIBLE) != 0;
    for (HWND hBar : {hTaskBar, hTotalBar}) {
        ShowWindow(hBar, SW_HIDE);
        ShowWindow(hBar, bBars ? SW_SHOWNA : SW_HIDE);
    }
}
