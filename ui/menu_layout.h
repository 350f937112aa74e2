// Geometry and colours of the owner-drawn menu's items: what CNyMenu measures
// and where it paints each part, in either look, at any DPI. Platform-free:
// the Win32 menu feeds in the system's metrics and colours and draws the result.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/geometry.h"

namespace menu_layout {

// A colour as GDI takes it: 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
    return r | g << 8 | b << 16;
}

using geometry::Point;
using geometry::Rect;
using geometry::Size;

// Settings shared by every menu. Pixel values are those at 96 DPI.
struct Settings {
    int nIconWidth = 16;  // icon column and icon size
    int nIconHeight = 15; // icon size and item height
    bool bWideGap = true; // icon column gap of 7 pixels instead of 4
    bool bFlatWhenThemed = true;
    bool bFlatWhenNotThemed = false;
    bool bSelectDisabledFlat = false; // a disabled item is drawn selected under the mouse
    bool bSelectDisabledClassic = true;
};

enum class Style { Flat, Classic };

// The system colours the items are painted with.
struct SystemColors {
    Color window = 0, face = 0, highlight = 0, highlightText = 0, menu = 0, menuText = 0, grayText = 0;
};

// c + (255 - c) * f for each channel, truncated; f outside (0, 1] leaves the colour.
Color LightenColor(Color color, double f);
// c - c * f for each channel, truncated; f outside (0, 1] leaves the colour.
Color DarkenColor(Color color, double f);

using geometry::ScaleForDpi;

// The current theme file counts as classic when it ends with
// "Windows Classic.theme", in any letter case.
bool IsClassicThemeFile(std::string_view file);

// Palette displays (256 colours or fewer) always get the classic look;
// otherwise the setting for the themed or the unthemed system decides.
Style ChooseStyle(const Settings& settings, bool bFlatLookActive, bool bPaletteDevice);

// The settings' sizes at one DPI. nCyMenu is SM_CYMENU at that DPI.
struct Metrics {
    int nIconWidth = 0, nIconHeight = 0, nGap = 0, nColumnWidth = 0, nCyMenu = 0;
    unsigned nDpi = 96;
};
Metrics GetMetrics(const Settings& settings, Style style, unsigned nDpi, int nCyMenu);

Size MeasureSeparator(Style style, const Metrics& metrics);
Size MeasureItem(Style style, const Metrics& metrics, int nTextWidth);
// Text width on systems before Windows 2000, from DrawText's DT_CALCRECT
// width: that width plus 3, plus three average character widths.
int LegacyTextWidth(int nCalcRectWidth, int nChars);

struct ItemState {
    bool bSeparator = false, bSelected = false, bDisabled = false, bChecked = false, bRadio = false;
    bool bHasIcon = false;
};

enum class Mark { None, Check, Bullet };
// 3-D frames of the classic look: a raised or a pressed icon, a sunken check box.
enum class Edge { None, Raised, Sunken };

// Everything DrawItem paints for one item, in painting order.
struct ItemPaint {
    Rect rcItem;
    Color background = 0;
    bool bColumn = false; // icon column strip, flat look
    Rect rcColumn;
    Color column = 0;
    bool bFrame = false; // one-pixel frame around the whole item (flat selection)
    Color frame = 0;
    Rect rcSeparator;      // etched line along its top edge, separators only
    bool bIconBox = false; // filled and framed box behind a checked icon (flat)
    Rect rcIconBox;
    Color iconBoxFill = 0, iconBoxFrame = 0;
    Edge iconEdge = Edge::None; // classic frame of rcIconBox
    Point ptIcon;
    Size szIcon;
    Mark mark = Mark::None;
    Rect rcMark; // the mark's box: 7 x 7 pixels at 96 DPI, the bullet 6 x 6
    Edge markEdge = Edge::None;
    Rect rcMarkEdge;
    Rect rcText;    // label from the left, accelerator text right-aligned
    Color text = 0; // of the text and of the mark
};

ItemPaint LayoutItem(Style style, const Metrics& metrics, const Settings& settings,
                     const SystemColors& colors, bool bFlatLookActive, const Rect& rcItem,
                     const ItemState& state);

// The tick: seven vertical strokes of three pixels, columns x to x + 6,
// starting at rows y+2, y+3, y+4, y+3, y+2, y+1, y of rcMark; scaled with the DPI.
struct CheckStrokes {
    Rect strokes[7];
};
CheckStrokes GetCheckStrokes(const Rect& rcMark, unsigned nDpi);

} // namespace menu_layout
