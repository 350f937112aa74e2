// A progress bar that paints itself: a sunken frame, a background and a bar
// in colours of its own. Range 0..100 from its creation.
#pragma once

#include <windows.h>

class CColorProgressCtrl {
public:
    CColorProgressCtrl() = default;
    CColorProgressCtrl(const CColorProgressCtrl&) = delete;
    CColorProgressCtrl& operator=(const CColorProgressCtrl&) = delete;

    // A progress control child of hParent (the common controls' class),
    // subclassed so that it paints itself. FALSE when it cannot be made.
    BOOL Create(DWORD dwStyle, const RECT& rc, HWND hParent, UINT nId);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Stores a new bar colour, repaints, and returns the previous one.
    COLORREF SetBarColor(COLORREF crBar);
    // The position as the control keeps it: clamped to the range.
    void SetPos(int nPos);
    int GetPos() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, UINT_PTR nId,
                                         DWORD_PTR dwThis);
    void OnPaint() const;

    HWND m_hWnd = nullptr;
    COLORREF m_crBar = RGB(0, 128, 0);
    COLORREF m_crBackground = RGB(255, 255, 255);
};
