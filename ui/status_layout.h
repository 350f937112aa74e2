// Geometry of a printer's status window: where each layout puts the window and
// its controls, which push buttons it shows and where, how a progress bar
// fills, and where the window may stand on the work area. Platform-free: the
// constants are pixels at 96 DPI, scaled to the window's DPI; the sizes of the
// texts come in measured in device pixels at that DPI.
#pragma once

#include "ui/geometry.h"

namespace status_layout {

using geometry::Point;
using geometry::Rect;
using geometry::Size;

enum class Layout { NotConnected, Error, Idle, Printing };

using geometry::ScaleForDpi;
// x, y, width and height each scaled from 96 DPI.
Rect ScaledRect(int x, int y, int cx, int cy, unsigned nDpi);

// The window's bottom-right corner when no position is stored: 5 pixels
// inside the work area's right and bottom edges.
Point DefaultPosition(const Rect& rcWorkArea, unsigned nDpi);
// Keeps the window on the work area: a corner too far left or up goes to
// x 305 or y 160 (screen coordinates), one beyond the right or bottom edge to
// 5 pixels inside it. True when nothing changed.
bool ValidatePosition(Point& ptCorner, const Rect& rcWorkArea, unsigned nDpi);

// The window's rectangle anchored at its bottom-right corner. The compact
// layouts are 95 pixels high and at least 350 wide, wider when nTextWidth (the
// state line, or in the error layout the wider of state and advice) needs it;
// the printing layout is 350 x 155.
Rect WindowRect(Point ptCorner, Layout layout, int nTextWidth, unsigned nDpi);

// The texts of a layout as measured in the fonts of their controls.
struct Texts {
    Size caption;               // printer name
    Size state;                 // state line
    int nStateWidth = 0;        // width given to the state line (error: the wider of state and advice)
    Size line1;                 // detail, advice or phase
    Size line2;                 // hint
    bool bHint = false;         // the idle layout has a second line
    Size taskLabel, totalLabel; // "Task" and "Total"
};

// Where every static control and bar goes, in client coordinates.
struct Controls {
    Rect rcCaption, rcState, rcLine1, rcLine2;
    bool bLine2Visible = false;
    // Labels, bars and percentages: shown in the printing layout only.
    bool bPrintingParts = false;
    Rect rcTaskLabel, rcTotalLabel, rcTaskBar, rcTotalBar, rcTaskPercent, rcTotalPercent;
};

// nWindowWidth is the width of the layout's window rectangle.
Controls LayoutControls(Layout layout, const Texts& texts, int nWindowWidth, unsigned nDpi);

// A push button's width: its text's width plus 10 pixels.
int ButtonWidth(int nTextWidth, unsigned nDpi);

struct ButtonWidths {
    int nOK = 0, nClose = 0, nCancel = 0, nResume = 0;
};

// What the button layout asks of the device.
struct DeviceFacts {
    bool bKestrel = false;
    bool bConnected = false;
    bool bPrinting = false;
    bool bError = false;
    bool bResumable = false; // the status code is a resumable error
};

struct Buttons {
    bool bClose = false; // button 1 reads "Close" rather than "OK"
    Rect rcOK, rcCancel, rcResume, rcHelp, rcProperties;
    bool bCancelVisible = false, bResumeVisible = false, bHelpVisible = false;
};

// Buttons along the bottom right of a window of that size: OK or Close, then
// Cancel, then Resume leftwards; the help button left of Resume on Kestrel
// models, of Cancel on the others; the properties button top right.
Buttons LayoutButtons(Size window, const ButtonWidths& widths, const DeviceFacts& device, unsigned nDpi);

// The painted parts of a progress bar in its client rectangle: a sunken
// frame, the background inside it, and the bar inside that, as long as the
// position's share of the range. An empty range gives an empty bar.
struct BarParts {
    Rect rcFrame, rcBackground, rcBar;
};
BarParts LayoutBar(const Rect& rcClient, int nPos, int nLower, int nUpper);

} // namespace status_layout
