#include "ui/menu_layout.h"

#include <algorithm>
#include <cctype>

namespace menu_layout {
namespace {

// Applies one channel operation to the three channels of a colour.
template <typename Channel> Color MapChannels(Color color, Channel channel) {
    Color result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= static_cast<Color>(channel(static_cast<int>(color >> shift & 0xFF))) << shift;
    return result;
}

bool IsFactor(double f) {
    return f > 0.0 && f <= 1.0;
}

Rect Inset(const Rect& rc, int d) {
    return {rc.left + d, rc.top + d, rc.right - d, rc.bottom - d};
}

// A square of the given side centred in rc, halves rounded down.
Rect CentredSquare(const Rect& rc, int nSide) {
    const int x = rc.left + (rc.Width() - nSide) / 2;
    const int y = rc.top + (rc.Height() - nSide) / 2;
    return {x, y, x + nSide, y + nSide};
}

} // namespace

Color LightenColor(Color color, double f) {
    if (!IsFactor(f))
        return color;
    return MapChannels(color, [f](int c) { return static_cast<int>(c + (255 - c) * f); });
}

Color DarkenColor(Color color, double f) {
    if (!IsFactor(f))
        return color;
    return MapChannels(color, [f](int c) { return static_cast<int>(c - c * f); });
}

bool IsClassicThemeFile(std::string_view file) {
    constexpr std::string_view kClassic = "Windows Classic.theme";
    if (file.size() < kClassic.size())
        return false;
    const std::string_view tail = file.substr(file.size() - kClassic.size());
    return std::equal(tail.begin(), tail.end(), kClassic.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

Style ChooseStyle(const Settings& settings, bool bFlatLookActive, bool bPaletteDevice) {
    if (bPaletteDevice)
        return Style::Classic;
    const bool bFlat = bFlatLookActive ? settings.bFlatWhenThemed : settings.bFlatWhenNotThemed;
    return bFlat ? Style::Flat : Style::Classic;
}

Metrics GetMetrics(const Settings& settings, Style style, unsigned nDpi, int nCyMenu) {
    Metrics m;
    m.nDpi = nDpi;
    m.nIconWidth = ScaleForDpi(settings.nIconWidth, nDpi);
    m.nIconHeight = ScaleForDpi(settings.nIconHeight, nDpi);
    m.nGap = ScaleForDpi(style == Style::Flat && settings.bWideGap ? 7 : 4, nDpi);
    m.nColumnWidth = m.nIconWidth + m.nGap;
    m.nCyMenu = nCyMenu;
    return m;
}

Size MeasureSeparator(Style style, const Metrics& m) {
    if (style == Style::Flat)
        return {0, ScaleForDpi(3, m.nDpi)};
    return {0, std::max(m.nCyMenu / 2, (m.nIconHeight + m.nGap) / 2)};
}

Size MeasureItem(Style style, const Metrics& m, int nTextWidth) {
    const int cy = std::max(m.nCyMenu, m.nIconHeight + m.nGap);
    if (style == Style::Flat)
        return {m.nIconWidth + nTextWidth + m.nGap + ScaleForDpi(8, m.nDpi), cy};
    return {nTextWidth + 2 * m.nIconWidth + ScaleForDpi(1, m.nDpi), cy};
}

int LegacyTextWidth(int nCalcRectWidth, int nChars) {
    const int nWidth = nCalcRectWidth + 3;
    return nChars > 0 ? nWidth + 3 * (nWidth / nChars) : nWidth;
}

ItemPaint LayoutItem(Style style, const Metrics& m, const Settings& settings, const SystemColors& colors,
                     bool bFlatLookActive, const Rect& rc, const ItemState& state) {
    const auto S = [&m](int n) { return ScaleForDpi(n, m.nDpi); };
    const bool bFlat = style == Style::Flat;
    const bool bSelectable =
        !state.bDisabled || (bFlat ? settings.bSelectDisabledFlat : settings.bSelectDisabledClassic);
    const bool bSelected = state.bSelected && bSelectable && !state.bSeparator;
    const int h = rc.Height();

    ItemPaint p;
    p.rcItem = rc;
    p.szIcon = {m.nIconWidth, m.nIconHeight};
    const int nIconY = rc.top + ((h - m.nIconHeight) + 1) / 2;
    Rect rcColumn; // where the icon or the mark stands

    if (bFlat) {
        const Color selection = LightenColor(colors.highlight, bFlatLookActive ? 0.7 : 0.85);
        p.background = bSelected ? selection : DarkenColor(colors.window, 0.02);
        p.bColumn = !bSelected;
        p.rcColumn = rcColumn = {rc.left, rc.top, rc.left + m.nColumnWidth, rc.bottom};
        p.column = bFlatLookActive ? colors.face : LightenColor(colors.face, 0.25);
        p.bFrame = bSelected;
        p.frame = colors.highlight;
        p.rcSeparator = {rcColumn.right + S(1), rc.top + h / 2, rc.right, rc.top + h / 2 + S(2)};
        p.ptIcon = {rc.left + ((m.nColumnWidth - m.nIconWidth) + 1) / 2, nIconY};
        if (state.bChecked && state.bHasIcon) {
            p.bIconBox = true;
            p.rcIconBox = Inset(rcColumn, S(1));
            p.iconBoxFill = LightenColor(colors.highlight, bSelected ? 0.55 : 0.85);
            p.iconBoxFrame = colors.highlight;
            p.ptIcon.x -= S(1);
            p.ptIcon.y -= S(1);
        }
        p.rcText = {rcColumn.right + S(8), rc.top, rc.right - S(4), rc.bottom};
        p.text = colors.menuText;
        if (state.bDisabled)
            p.text = !bSelected && !bFlatLookActive ? LightenColor(colors.grayText, 0.4) : colors.grayText;
    } else {
        p.background = bSelected ? colors.highlight : (bFlatLookActive ? colors.face : colors.menu);
        p.rcSeparator = {rc.left + S(1), rc.top + h / 2, rc.right - S(1), rc.top + h / 2 + S(2)};
        p.rcIconBox = rcColumn = {rc.left + S(1), rc.top + S(1), rc.left + S(1) + m.nIconWidth + S(4),
                                  rc.bottom - S(1)};
        p.ptIcon = {rcColumn.left + (rcColumn.Width() - m.nIconWidth + 1) / 2, nIconY};
        if (state.bHasIcon && (state.bChecked || bSelected))
            p.iconEdge = state.bChecked ? Edge::Sunken : Edge::Raised;
        p.rcText = {rcColumn.right + S(4), rc.top, rc.right - S(4), rc.bottom};
        p.text = state.bDisabled ? colors.grayText : (bSelected ? colors.highlightText : colors.menuText);
    }

    if (state.bChecked && !state.bHasIcon && !state.bSeparator) {
        p.mark = state.bRadio ? Mark::Bullet : Mark::Check;
        p.rcMark = CentredSquare(rcColumn, S(state.bRadio ? 6 : 7));
        if (!bFlat) {
            // the classic check box: a sunken square around the mark
            p.markEdge = Edge::Sunken;
            p.rcMarkEdge = CentredSquare(rcColumn, S(13));
        }
    }
    return p;
}

CheckStrokes GetCheckStrokes(const Rect& rcMark, unsigned nDpi) {
    static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    const auto S = [nDpi](int n) { return ScaleForDpi(n, nDpi); };
    CheckStrokes tick;
    for (int i = 0; i < 7; ++i)
        tick.strokes[i] = {rcMark.left + S(i), rcMark.top + S(kTop[i]), rcMark.left + S(i + 1),
                           rcMark.top + S(kTop[i] + 3)};
    return tick;
}

} // namespace menu_layout
