#include <gtest/gtest.h>

#include <tuple>

#include "ui/menu_layout.h"

using namespace menu_layout;

namespace {

auto Tie(const Rect& rc) {
    return std::make_tuple(rc.left, rc.top, rc.right, rc.bottom);
}

// Windows standard colours: white window, grey face, blue selection.
SystemColors StandardColors() {
    SystemColors c;
    c.window = Rgb(255, 255, 255);
    c.face = Rgb(212, 208, 200);
    c.highlight = Rgb(49, 106, 197);
    c.highlightText = Rgb(255, 255, 255);
    c.menu = Rgb(240, 240, 240);
    c.grayText = Rgb(128, 128, 128);
    return c;
}

} // namespace

TEST(MenuLayout, ColoursThemesAndStyle) {
    EXPECT_EQ(Rgb(127, 127, 191), LightenColor(Rgb(0, 0, 128), 0.5));
    EXPECT_EQ(Rgb(255, 255, 255), LightenColor(Rgb(1, 2, 3), 1.0));
    for (double f : {0.0, -0.5, 1.5})
        EXPECT_EQ(Rgb(10, 20, 30), LightenColor(Rgb(10, 20, 30), f)) << f;
    EXPECT_EQ(Rgb(249, 98, 0), DarkenColor(Rgb(255, 100, 0), 0.02));
    EXPECT_EQ(Rgb(200, 100, 50), DarkenColor(Rgb(200, 100, 50), 2.0));

    EXPECT_TRUE(IsClassicThemeFile("C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme"));
    EXPECT_TRUE(IsClassicThemeFile("c:\\windows\\resources\\themes\\WINDOWS CLASSIC.THEME"));
    EXPECT_FALSE(IsClassicThemeFile("C:\\Themes\\Windows Classic.theme\\Luna.theme"));
    EXPECT_FALSE(IsClassicThemeFile("Classic.theme"));

    Settings settings;
    settings.bFlatWhenNotThemed = true;
    settings.bFlatWhenThemed = false;
    EXPECT_EQ(Style::Flat, ChooseStyle(settings, false, false));
    EXPECT_EQ(Style::Classic, ChooseStyle(settings, true, false));
    EXPECT_EQ(Style::Classic, ChooseStyle(settings, false, true)); // 256 colours or fewer
    EXPECT_EQ(Style::Flat, ChooseStyle(Settings(), true, false));
}

TEST(MenuLayout, MeasuresAtEachDpi) {
    const struct {
        Style style;
        unsigned nDpi;
        int nCyMenu, nTextWidth;
        Size item, separator;
    } cases[] = {
        {Style::Flat, 96, 19, 50, {81, 22}, {0, 3}},        // 16 + 50 + 7 + 8; 15 + 7 over SM_CYMENU
        {Style::Flat, 96, 25, 50, {81, 25}, {0, 3}},        // a taller menu font wins
        {Style::Classic, 96, 19, 50, {83, 19}, {0, 9}},     // 50 + 2 * 16 + 1; gap 4
        {Style::Classic, 96, 24, 50, {83, 24}, {0, 12}},    // half of SM_CYMENU
        {Style::Flat, 144, 28, 75, {122, 34}, {0, 5}},      // 24 + 75 + 11 + 12; 23 + 11
        {Style::Classic, 192, 38, 100, {166, 38}, {0, 19}}, // 100 + 64 + 2
    };
    for (const auto& c : cases) {
        const Metrics m = GetMetrics(Settings(), c.style, c.nDpi, c.nCyMenu);
        const Size item = MeasureItem(c.style, m, c.nTextWidth);
        const Size separator = MeasureSeparator(c.style, m);
        EXPECT_EQ(std::make_tuple(c.item.cx, c.item.cy, c.separator.cx, c.separator.cy),
                  std::make_tuple(item.cx, item.cy, separator.cx, separator.cy))
            << static_cast<int>(c.style) << " at " << c.nDpi;
    }
    EXPECT_EQ(58, LegacyTextWidth(40, 8)); // 43 + 3 * (43 / 8)
    EXPECT_EQ(3, LegacyTextWidth(0, 0));
}

TEST(MenuLayout, FlatItemParts) {
    const SystemColors colors = StandardColors();
    const Metrics m = GetMetrics(Settings(), Style::Flat, 96, 19);
    const Rect rc{0, 100, 120, 122};
    const Color selection = Rgb(193, 210, 237); // the highlight lightened by 0.7

    ItemState plain;
    plain.bHasIcon = true;
    ItemPaint p = LayoutItem(Style::Flat, m, Settings(), colors, true, rc, plain);
    EXPECT_EQ(Rgb(249, 249, 249), p.background);
    EXPECT_TRUE(p.bColumn);
    EXPECT_EQ(colors.face, p.column);
    EXPECT_EQ(Tie({0, 100, 23, 122}), Tie(p.rcColumn));
    EXPECT_EQ(std::make_pair(4, 104), std::make_pair(p.ptIcon.x, p.ptIcon.y)); // centred in 23 x 22
    EXPECT_EQ(Tie({31, 100, 116, 122}), Tie(p.rcText));
    EXPECT_FALSE(p.bIconBox || p.bFrame || p.mark != Mark::None);

    ItemState checked = plain;
    checked.bChecked = checked.bSelected = true;
    p = LayoutItem(Style::Flat, m, Settings(), colors, true, rc, checked);
    EXPECT_EQ(selection, p.background);
    EXPECT_TRUE(p.bFrame && !p.bColumn && p.bIconBox);
    EXPECT_EQ(Tie({1, 101, 22, 121}), Tie(p.rcIconBox));
    EXPECT_EQ(Rgb(162, 187, 228), p.iconBoxFill);
    EXPECT_EQ(std::make_pair(3, 103), std::make_pair(p.ptIcon.x, p.ptIcon.y)); // one up and left

    ItemState tick;
    tick.bChecked = true;
    p = LayoutItem(Style::Flat, m, Settings(), colors, false, rc, tick);
    EXPECT_EQ(Mark::Check, p.mark);
    EXPECT_EQ(Tie({8, 107, 15, 114}), Tie(p.rcMark));
    EXPECT_EQ(Rgb(222, 219, 213), p.column); // unthemed: the face lightened by 0.25
    tick.bRadio = true;
    EXPECT_EQ(Tie({8, 108, 14, 114}),
              Tie(LayoutItem(Style::Flat, m, Settings(), colors, true, rc, tick).rcMark));

    // A disabled item under the mouse stays unselected; unthemed, its text is lighter.
    ItemState disabled;
    disabled.bDisabled = disabled.bSelected = true;
    p = LayoutItem(Style::Flat, m, Settings(), colors, false, rc, disabled);
    EXPECT_EQ(std::make_tuple(false, Rgb(249, 249, 249), Rgb(178, 178, 178)),
              std::make_tuple(p.bFrame, p.background, p.text));
    EXPECT_EQ(colors.grayText, LayoutItem(Style::Flat, m, Settings(), colors, true, rc, disabled).text);

    ItemState separator;
    separator.bSeparator = true;
    p = LayoutItem(Style::Flat, m, Settings(), colors, true, {0, 0, 120, 3}, separator);
    EXPECT_EQ(Tie({24, 1, 120, 3}), Tie(p.rcSeparator));
}

TEST(MenuLayout, ClassicItemParts) {
    const SystemColors colors = StandardColors();
    const Metrics m = GetMetrics(Settings(), Style::Classic, 96, 19);
    const Rect rc{0, 0, 120, 19};

    ItemState icon;
    icon.bHasIcon = icon.bSelected = true;
    ItemPaint p = LayoutItem(Style::Classic, m, Settings(), colors, true, rc, icon);
    EXPECT_EQ(std::make_tuple(colors.highlight, colors.highlightText, Edge::Raised),
              std::make_tuple(p.background, p.text, p.iconEdge));
    EXPECT_EQ(Tie({1, 1, 21, 18}), Tie(p.rcIconBox));
    EXPECT_EQ(std::make_pair(3, 2), std::make_pair(p.ptIcon.x, p.ptIcon.y));
    EXPECT_EQ(25, p.rcText.left);
    icon.bChecked = true;
    EXPECT_EQ(Edge::Sunken, LayoutItem(Style::Classic, m, Settings(), colors, true, rc, icon).iconEdge);

    ItemState tick;
    tick.bChecked = true;
    p = LayoutItem(Style::Classic, m, Settings(), colors, false, rc, tick);
    EXPECT_EQ(std::make_tuple(colors.menu, Mark::Check, Edge::Sunken),
              std::make_tuple(p.background, p.mark, p.markEdge));
    EXPECT_EQ(Tie({7, 6, 14, 13}), Tie(p.rcMark));
    EXPECT_EQ(Tie({4, 3, 17, 16}), Tie(p.rcMarkEdge));

    // Disabled items are selectable in the classic look.
    ItemState disabled;
    disabled.bDisabled = disabled.bSelected = true;
    p = LayoutItem(Style::Classic, m, Settings(), colors, true, rc, disabled);
    EXPECT_EQ(std::make_pair(colors.highlight, colors.grayText), std::make_pair(p.background, p.text));
}

TEST(MenuLayout, CheckStrokesScaleWithDpi) {
    const struct {
        unsigned nDpi;
        int nStroke;
        Rect expected;
    } cases[] = {
        {96, 0, {10, 22, 11, 25}},  {96, 2, {12, 24, 13, 27}},  {96, 6, {16, 20, 17, 23}},
        {192, 0, {10, 24, 12, 30}}, {192, 6, {22, 20, 24, 26}}, {144, 1, {12, 25, 13, 29}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tie(c.expected), Tie(GetCheckStrokes({10, 20, 17, 27}, c.nDpi).strokes[c.nStroke]))
            << c.nDpi << " stroke " << c.nStroke;
}
