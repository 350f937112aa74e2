#include "ui/status_layout.h"

#include <algorithm>

namespace status_layout {

Rect ScaledRect(int x, int y, int cx, int cy, unsigned nDpi) {
    const int nLeft = ScaleForDpi(x, nDpi);
    const int nTop = ScaleForDpi(y, nDpi);
    return {nLeft, nTop, nLeft + ScaleForDpi(cx, nDpi), nTop + ScaleForDpi(cy, nDpi)};
}

Point DefaultPosition(const Rect& rcWorkArea, unsigned nDpi) {
    return {rcWorkArea.right - ScaleForDpi(5, nDpi), rcWorkArea.bottom - ScaleForDpi(5, nDpi)};
}

bool ValidatePosition(Point& ptCorner, const Rect& rcWorkArea, unsigned nDpi) {
    const auto S = [nDpi](int n) { return ScaleForDpi(n, nDpi); };
    const Point ptBefore = ptCorner;
    if (ptCorner.x - S(300) < rcWorkArea.left + S(5))
        ptCorner.x = S(305);
    if (ptCorner.y - S(155) < rcWorkArea.top + S(5))
        ptCorner.y = S(160);
    ptCorner.x = std::min(ptCorner.x, rcWorkArea.right - S(5));
    ptCorner.y = std::min(ptCorner.y, rcWorkArea.bottom - S(5));
    return ptCorner.x == ptBefore.x && ptCorner.y == ptBefore.y;
}

Rect WindowRect(Point ptCorner, Layout layout, int nTextWidth, unsigned nDpi) {
    if (layout == Layout::Printing)
        return {ptCorner.x - ScaleForDpi(350, nDpi), ptCorner.y - ScaleForDpi(155, nDpi), ptCorner.x,
                ptCorner.y};
    const int nWidth = std::max(ScaleForDpi(350, nDpi), nTextWidth + ScaleForDpi(36, nDpi));
    return {ptCorner.x - nWidth, ptCorner.y - ScaleForDpi(95, nDpi), ptCorner.x, ptCorner.y};
}

namespace {

Rect At(int x, int y, int cx, int cy) {
    return {x, y, x + cx, y + cy};
}

} // namespace

Controls LayoutControls(Layout layout, const Texts& texts, int nWindowWidth, unsigned nDpi) {
    const auto S = [nDpi](int n) { return ScaleForDpi(n, nDpi); };
    Controls c;
    // The caption and the state line run down from the top.
    int y = 0;
    c.rcCaption = At(S(10), y + S(7), nWindowWidth - S(56), texts.caption.cy);
    y += S(7) + texts.caption.cy;
    c.rcState = At(S(10), y, texts.nStateWidth + S(1), texts.state.cy);
    y += texts.state.cy;

    switch (layout) {
    case Layout::Error:
        c.rcLine1 = At(S(10), y + S(5), texts.line1.cx + S(5), texts.line1.cy);
        break;
    case Layout::Printing:
        c.rcLine1 = At(S(10), S(40), texts.line1.cx + S(5), texts.line1.cy);
        c.bPrintingParts = true;
        c.rcTaskBar = ScaledRect(58, 66, 231, 15, nDpi);
        c.rcTotalBar = ScaledRect(58, 92, 231, 15, nDpi);
        // The labels end 4 pixels left of the bars, right-aligned.
        c.rcTaskLabel = At(S(54) - texts.taskLabel.cx, S(65), texts.taskLabel.cx - S(1), texts.taskLabel.cy);
        c.rcTotalLabel =
            At(S(54) - texts.totalLabel.cx, S(91), texts.totalLabel.cx - S(1), texts.totalLabel.cy);
        c.rcTaskPercent = ScaledRect(294, 65, 40, 14, nDpi);
        c.rcTotalPercent = ScaledRect(294, 91, 40, 16, nDpi);
        break;
    case Layout::NotConnected:
    case Layout::Idle:
        if (texts.bHint) {
            c.rcLine1 = At(S(10), S(48), texts.line1.cx + S(5), texts.line1.cy);
            c.rcLine2 = At(S(10), S(68), texts.line2.cx + S(5), texts.line1.cy);
            c.bLine2Visible = true;
        } else {
            c.rcLine1 = At(S(10), S(48), texts.line1.cx + S(7), texts.line1.cy);
        }
        break;
    }
    return c;
}

int ButtonWidth(int nTextWidth, unsigned nDpi) {
    return nTextWidth + ScaleForDpi(10, nDpi);
}

Buttons LayoutButtons(Size window, const ButtonWidths& widths, const DeviceFacts& device, unsigned nDpi) {
    const auto S = [nDpi](int n) { return ScaleForDpi(n, nDpi); };
    Buttons b;
    b.bClose = device.bError || device.bPrinting;
    const int nWidth1 = b.bClose ? widths.nClose : widths.nOK;
    const int xOK = window.cx - nWidth1 - S(9);
    const int xCancel = xOK - widths.nCancel - S(4);
    const int xResume = xCancel - widths.nResume - S(4);
    const int yButtons = window.cy - S(32);
    b.rcOK = At(xOK, yButtons, nWidth1 - S(1), S(22));
    b.rcCancel = At(xCancel, yButtons, widths.nCancel - S(1), S(22));
    b.rcResume = At(xResume, yButtons, widths.nResume - S(1), S(22));
    b.rcHelp = At((device.bKestrel ? xResume : xCancel) - S(20), window.cy - S(29), S(15), S(15));
    b.rcProperties = At(window.cx - S(25), S(10), S(15), S(16));

    b.bCancelVisible = device.bPrinting;
    const bool bResumable = device.bError && device.bPrinting && device.bConnected && device.bResumable;
    b.bHelpVisible = bResumable;
    b.bResumeVisible = bResumable && device.bKestrel;
    return b;
}

BarParts LayoutBar(const Rect& rcClient, int nPos, int nLower, int nUpper) {
    BarParts parts;
    parts.rcFrame = rcClient;
    parts.rcBackground = {rcClient.left + 1, rcClient.top + 1, rcClient.right - 1, rcClient.bottom - 1};
    parts.rcBar = {rcClient.left + 2, rcClient.top + 2, rcClient.right - 2, rcClient.bottom - 2};
    const int nRange = nUpper - nLower;
    const int nFilled = nRange != 0 ? parts.rcBar.Width() * nPos / nRange : 0;
    // A position outside the range never paints outside the frame.
    parts.rcBar.right = parts.rcBar.left + std::max(0, std::min(nFilled, parts.rcBar.Width()));
    return parts;
}

} // namespace status_layout
