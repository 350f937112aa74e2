#include "ui/color_progress_ctrl.h"

#include <commctrl.h>

#include "ui/gdi_rect.h"
#include "ui/status_layout.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

} // namespace

BOOL CColorProgressCtrl::Create(DWORD dwStyle, const RECT& rc, HWND hParent, UINT nId) {
    if (m_hWnd)
        return FALSE;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    m_hWnd = CreateWindowExA(0, PROGRESS_CLASSA, "", dwStyle | WS_CHILD, rc.left, rc.top, rc.right - rc.left,
                             rc.bottom - rc.top, hParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                             GetModuleHandleA(nullptr), nullptr);
    if (!m_hWnd)
        return FALSE;
    SetWindowSubclass(m_hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(m_hWnd, PBM_SETRANGE32, 0, 100);
    return TRUE;
}

COLORREF CColorProgressCtrl::SetBarColor(COLORREF crBar) {
    const COLORREF crPrevious = m_crBar;
    m_crBar = crBar;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, FALSE);
    return crPrevious;
}

void CColorProgressCtrl::SetPos(int nPos) {
    if (m_hWnd)
        SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(nPos), 0);
}

int CColorProgressCtrl::GetPos() const {
    return m_hWnd ? static_cast<int>(SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)) : 0;
}

void CColorProgressCtrl::OnPaint() const {
    PAINTSTRUCT paint;
    const HDC hdc = BeginPaint(m_hWnd, &paint);
    if (!hdc)
        return;
    PBRANGE range = {};
    SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    RECT rcClient = {};
    GetClientRect(m_hWnd, &rcClient);
    const status_layout::BarParts parts =
        status_layout::LayoutBar(FromRECT(rcClient), GetPos(), range.iLow, range.iHigh);
    // Sunken: shadow along the top and left, highlight along the bottom and right.
    const status_layout::Rect& rc = parts.rcFrame;
    const COLORREF crShadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF crHighlight = GetSysColor(COLOR_3DHIGHLIGHT);
    FillSolid(hdc, {rc.left, rc.top, rc.right - 1, rc.top + 1}, crShadow);
    FillSolid(hdc, {rc.left, rc.top, rc.left + 1, rc.bottom - 1}, crShadow);
    FillSolid(hdc, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, crHighlight);
    FillSolid(hdc, {rc.right - 1, rc.top, rc.right, rc.bottom}, crHighlight);
    FillSolid(hdc, parts.rcBackground, m_crBackground);
    FillSolid(hdc, parts.rcBar, m_crBar);
    EndPaint(m_hWnd, &paint);
}

LRESULT CALLBACK CColorProgressCtrl::SubclassProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR, DWORD_PTR dwThis) {
    auto* pThis = reinterpret_cast<CColorProgressCtrl*>(dwThis);
    switch (nMessage) {
    case WM_PAINT:
        pThis->OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        pThis->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(hWnd, nMessage, wParam, lParam);
}
