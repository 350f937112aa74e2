// How a printer's status window paints: its texts in the user's text colour
// on the background tile's pattern, which runs on behind the controls as
// behind the window (the look's plain brush when the tile cannot be loaded),
// its owner-drawn help and properties buttons, and its progress bars when the
// window shows again.
#pragma once

#include <windows.h>

#include "ui/dialog_look.h"
#include "ui/help_button.h"
#include "ui/properties_button.h"
#include "ui/unique_gdi.h"

class CStatusWindowPaint {
public:
    CStatusWindowPaint(const CDialogLook& look, const CHelpButton& help, const CPropertiesButton& properties)
        : m_look(look), m_help(help), m_properties(properties) {}
    CStatusWindowPaint(const CStatusWindowPaint&) = delete;
    CStatusWindowPaint& operator=(const CStatusWindowPaint&) = delete;

    // Loads the background tile and makes its pattern brush.
    void LoadPattern();
    // WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN and the buttons'
    // WM_DRAWITEM of the window hWnd; FALSE for anything else.
    BOOL OnMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) const;
    // Hidden and shown again, the bars repaint in the visibility the task bar had.
    static void RepaintBars(HWND hTaskBar, HWND hTotalBar);

private:
    LRESULT OnCtlColor(HWND hWnd, HDC hdc, HWND hControl) const;

    const CDialogLook& m_look;
    const CHelpButton& m_help;
    const CPropertiesButton& m_properties;
    CUniqueBitmap m_bmPattern;
    CUniqueBrush m_brPattern;
};
