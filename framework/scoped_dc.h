// Scoped device-context helpers: a window's DC released when the scope ends,
// and a GDI object selected into a DC for the scope, the previous one selected
// back at its end. Both live on the stack only: they neither copy nor move.
#pragma once

#include <windows.h>

// GetDC of a window (null: the screen), ReleaseDC at the end of the scope.
class CWindowDC {
public:
    explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(GetDC(hWnd)) {}
    ~CWindowDC() {
        if (m_hdc)
            ReleaseDC(m_hWnd, m_hdc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    // Null when the system gave no DC.
    HDC Get() const { return m_hdc; }
    explicit operator bool() const { return m_hdc != nullptr; }

private:
    HWND m_hWnd;
    HDC m_hdc;
};

// Selects hObject into hdc; a null DC or object selects nothing.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ hObject)
        : m_hdc(hdc), m_hOld(hdc && hObject ? SelectObject(hdc, hObject) : nullptr) {}
    ~CSelectObject() {
        if (m_hOld)
            SelectObject(m_hdc, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};
