// The look that every dialog of the agent shares: no title bar (the
// template's style), the user's colour settings (BkColor, TextColor), the
// agent's font at the window's DPI, dragging by any point of the surface, F1
// swallowed, and a rescale when the window moves to a monitor of another DPI.
//
// How a dialog derived from CDialog uses it:
//   - hold a CDialogLook member, made with the class name its traces carry
//     and its default background (GetSysColor(COLOR_BTNFACE) for the About,
//     Help and information dialogs);
//   - in OnInitDialog, after the base: m_look.Attach(GetSafeHwnd(), {ids of
//     the controls that take the font}); a tree or list that keeps the
//     system's colours goes to m_look.KeepSystemBrush(id) first;
//   - first in OnMessage:
//         if (m_look.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult))
//             return TRUE;
//     it answers WM_CTLCOLOR* (text colour and background brush), WM_NCHITTEST
//     (a hit in the client area is a hit on the caption), WM_HELP and
//     WM_DPICHANGED (controls, window and fonts rescaled).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include <windows.h>

#include "ui/unique_gdi.h"

class CDialogLook {
public:
    // pszClass names the dialog in traces; the brush trace names
    // pszBrushClass instead when given.
    CDialogLook(const char* pszClass, COLORREF crDefaultBackground, const char* pszBrushClass = nullptr);

    CDialogLook(const CDialogLook&) = delete;
    CDialogLook& operator=(const CDialogLook&) = delete;

    // Reads the colour settings, makes the background brush and the fonts for
    // the window's DPI, and gives the regular font to the dialog and to the
    // controls listed, the bold one to the bold controls.
    void Attach(HWND hDlg, std::initializer_list<int> fontControls,
                std::initializer_list<int> boldControls = {});
    void KeepSystemBrush(int nControlId) { m_keepSystemBrush.push_back(nControlId); }
    BOOL OnMessage(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    unsigned GetDpi() const { return m_nDpi; }
    HFONT GetFont() const { return m_font.Get(); }
    HFONT GetBoldFont() const { return m_fontBold.Get(); }

    // The settings as read or as last set, and the colours they paint with.
    DWORD GetTextSetting() const { return m_dwTextColor; }
    DWORD GetBackgroundSetting() const { return m_dwBkColor; }
    COLORREF GetTextColour() const;
    COLORREF GetBackgroundColour() const;
    // Null when the brush could not be made.
    HBRUSH GetBackgroundBrush() const { return m_brBackground.Get(); }
    // Take a new setting and redraw the window (not stored here).
    void SetTextSetting(HWND hDlg, DWORD dwTextColor);
    void SetBackgroundSetting(HWND hDlg, DWORD dwBkColor);

private:
    void MakeFonts();
    void GiveFonts(HWND hDlg) const;
    void Rescale(HWND hDlg, unsigned nDpi, const RECT& rcSuggested);
    bool KeepsSystemBrush(HWND hControl) const;

    std::string m_strClass;
    std::string m_strBrushClass;
    COLORREF m_crDefaultBackground;
    DWORD m_dwTextColor;
    DWORD m_dwBkColor;
    CUniqueBrush m_brBackground;
    CUniqueFont m_font;
    CUniqueFont m_fontBold;
    unsigned m_nDpi = 96;
    std::vector<int> m_fontControls;
    std::vector<int> m_boldControls;
    std::vector<int> m_keepSystemBrush;
};
