// Puts a printer's status window and its controls where its current layout
// (status_layout) wants them, at the window's DPI and in its fonts: each text
// measured in its control's font, the window sized at its bottom-right corner,
// which stays where the user dragged it and on the work area, and the push
// buttons that the device's state calls for.
#pragma once

#include <string>

#include <windows.h>

#include "ui/dialog_look.h"
#include "ui/status_layout.h"

class CDeviceControl;

class CStatusWindowLayout {
public:
    // What a layout shows below the printer's name.
    struct Content {
        status_layout::Layout layout = status_layout::Layout::NotConnected;
        std::string strState;
        std::string strLine1; // detail, advice or phase
        std::string strHint;  // the idle layout's second line
    };

    CStatusWindowLayout(const CDialogLook& look, const CDeviceControl& control)
        : m_look(look), m_control(control) {}
    CStatusWindowLayout(const CStatusWindowLayout&) = delete;
    CStatusWindowLayout& operator=(const CStatusWindowLayout&) = delete;

    // Once the look is attached: the stored corner, kept on the work area,
    // and the push buttons' widths.
    void Attach(HWND hWnd);
    // The corner is stored when the window goes.
    void StorePosition() const;
    // The window stands where the user dragged it or where a new DPI moved it.
    void SetCorner(POINT ptCorner) { m_ptCorner = ptCorner; }
    // Moves the window back onto a work area that changed under it.
    void KeepOnWorkArea();

    // Shows new content, dropping a failed command's message.
    void Show(Content content);
    // A failed command's message in place of the lower line until the next Show.
    void ShowFailure(std::string strFailure);
    // After a DPI change: the texts measured again and everything placed anew.
    void Rescale();

private:
    void Apply();
    void PlaceButtons(int nWidth, int nHeight);
    void MeasureButtonWidths();
    status_layout::Size MeasureText(HFONT hFont, const std::string& strText) const;
    void Place(int nId, const status_layout::Rect& rc, const std::string& strText, bool bVisible) const;
    void PlaceControl(HWND hControl, const status_layout::Rect& rc, bool bMove, bool bVisible) const;

    const CDialogLook& m_look;
    const CDeviceControl& m_control;
    HWND m_hWnd = nullptr;
    Content m_content;
    std::string m_strFailure;
    status_layout::ButtonWidths m_widths{70, 70, 70, 70};
    // The window's bottom-right corner on the screen.
    POINT m_ptCorner = {};
};
