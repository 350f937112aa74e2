#include "ui/dialog_look.h"

#include <algorithm>

#include "app/registry.h"
#include "app/trace.h"
#include "ui/colour_setting.h"
#include "ui/dialog_font.h"
#include "ui/window_dpi.h"

CDialogLook::CDialogLook(const char* pszClass, COLORREF crDefaultBackground, const char* pszBrushClass)
    : m_strClass(pszClass), m_strBrushClass(pszBrushClass ? pszBrushClass : pszClass),
      m_crDefaultBackground(crDefaultBackground), m_dwTextColor(GetSysColor(COLOR_BTNTEXT)),
      m_dwBkColor(crDefaultBackground) {}

void CDialogLook::Attach(HWND hDlg, std::initializer_list<int> fontControls,
                         std::initializer_list<int> boldControls) {
    m_fontControls.assign(fontControls);
    m_boldControls.assign(boldControls);
    m_nDpi = GetWindowDpi(hDlg);

    CRegistry::GetBkColor(m_dwBkColor, &m_dwBkColor);
    m_brBackground.Reset(CreateSolidBrush(GetBackgroundColour()));
    if (!m_brBackground)
        DebugTrace("%s::OnInitDialog() : Unable to allocate CBrush object\n", m_strBrushClass.c_str());
    CRegistry::GetTextColor(m_dwTextColor, &m_dwTextColor);

    MakeFonts();
    GiveFonts(hDlg);
}

void CDialogLook::MakeFonts() {
    m_font = CDialogFont::Create(m_nDpi, FW_NORMAL);
    if (!m_font) {
        DebugTrace("%s::OnInitDialog() : CreatePointFont() failed\n", m_strClass.c_str());
        m_fontBold.Reset();
        return;
    }
    m_fontBold = CDialogFont::Create(m_nDpi, FW_BOLD);
}

void CDialogLook::GiveFonts(HWND hDlg) const {
    if (!m_font)
        return;
    const auto Give = [hDlg](int nId, HFONT hFont) {
        if (HWND hControl = GetDlgItem(hDlg, nId))
            SendMessageA(hControl, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    };
    SendMessageA(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    for (int nId : m_fontControls)
        Give(nId, m_font.Get());
    if (m_fontBold) {
        for (int nId : m_boldControls)
            Give(nId, m_fontBold.Get());
    }
}

COLORREF CDialogLook::GetTextColour() const {
    return colour_setting::Effective(m_dwTextColor, GetSysColor(COLOR_BTNTEXT));
}

COLORREF CDialogLook::GetBackgroundColour() const {
    return colour_setting::Effective(m_dwBkColor, m_crDefaultBackground);
}

void CDialogLook::SetTextSetting(HWND hDlg, DWORD dwTextColor) {
    m_dwTextColor = dwTextColor;
    InvalidateRect(hDlg, nullptr, TRUE);
}

void CDialogLook::SetBackgroundSetting(HWND hDlg, DWORD dwBkColor) {
    m_dwBkColor = dwBkColor;
    m_brBackground.Reset(CreateSolidBrush(GetBackgroundColour()));
    if (!m_brBackground)
        DebugTrace("%s::SetBkColor() : Unable to allocate CBrush object\n", m_strBrushClass.c_str());
    InvalidateRect(hDlg, nullptr, TRUE);
}

bool CDialogLook::KeepsSystemBrush(HWND hControl) const {
    const int nId = GetDlgCtrlID(hControl);
    return std::find(m_keepSystemBrush.begin(), m_keepSystemBrush.end(), nId) != m_keepSystemBrush.end();
}

void CDialogLook::Rescale(HWND hDlg, unsigned nDpi, const RECT& rcSuggested) {
    const int nOld = static_cast<int>(m_nDpi);
    const int nNew = static_cast<int>(nDpi);
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        RECT rc = {};
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        const int nLeft = MulDiv(rc.left, nNew, nOld);
        const int nTop = MulDiv(rc.top, nNew, nOld);
        MoveWindow(hChild, nLeft, nTop, MulDiv(rc.right, nNew, nOld) - nLeft,
                   MulDiv(rc.bottom, nNew, nOld) - nTop, FALSE);
    }
    m_nDpi = nDpi;
    MakeFonts();
    GiveFonts(hDlg);
    SetWindowPos(hDlg, nullptr, rcSuggested.left, rcSuggested.top, rcSuggested.right - rcSuggested.left,
                 rcSuggested.bottom - rcSuggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hDlg, nullptr, TRUE);
}

BOOL CDialogLook::OnMessage(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMessage) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: {
        if (!m_brBackground || KeepsSystemBrush(reinterpret_cast<HWND>(lParam)))
            return FALSE;
        const HDC hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, GetTextColour());
        SetBkColor(hdc, GetBackgroundColour());
        lResult = reinterpret_cast<LRESULT>(m_brBackground.Get());
        return TRUE;
    }
    case WM_NCHITTEST: {
        const LRESULT lHit = DefWindowProcA(hDlg, nMessage, wParam, lParam);
        lResult = lHit == HTCLIENT ? HTCAPTION : lHit;
        return TRUE;
    }
    case WM_HELP:
        lResult = TRUE;
        return TRUE;
    case WM_DPICHANGED:
        Rescale(hDlg, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        lResult = 0;
        return TRUE;
    default:
        return FALSE;
    }
}
