#include <gtest/gtest.h>

#include <tuple>

#include "ui/menu_layout.h"

using namespace menu_layout;

namespace {

auto Tie(const Rect& rc) {
    return std::make_tuple(rc.left, rc.top, rc.right, rc.bottom);
}

// White window, grey face, blue selection.
const SystemColors kColors{Rgb(255, 255, 255), Rgb(212, 208, 200), Rgb(49, 106, 197),
                           Rgb(255, 255, 255), Rgb(240, 240, 240), 0,
                           Rgb(128, 128, 128)};

ItemPaint Layout(Style style, bool bFlatLook, const Rect& rc, bool bIcon, bool bChecked, bool bSelected,
                 bool bDisabled = false) {
    ItemState state;
    std::tie(state.bHasIcon, state.bChecked, state.bSelected, state.bDisabled) =
        std::make_tuple(bIcon, bChecked, bSelected, bDisabled);
    return LayoutItem(style, GetMetrics(Settings(), style, 96, 19), Settings(), kColors, bFlatLook, rc,
                      state);
}

} // namespace

TEST(MenuLayout, ThemesAndStyle) {
    EXPECT_TRUE(IsClassicThemeFile("c:\\windows\\resources\\themes\\WINDOWS CLASSIC.THEME"));
    EXPECT_FALSE(IsClassicThemeFile("C:\\Themes\\Windows Classic.theme\\Luna.theme"));

    Settings settings;
    std::tie(settings.bFlatWhenThemed, settings.bFlatWhenNotThemed) = std::make_pair(false, true);
    EXPECT_EQ(Style::Flat, ChooseStyle(settings, false, false));
    EXPECT_EQ(Style::Classic, ChooseStyle(settings, true, false));
    EXPECT_EQ(Style::Classic, ChooseStyle(settings, false, true)); // 256 colours or fewer
}

TEST(MenuLayout, MeasuresAtEachDpi) {
    const struct {
        Style style;
        unsigned nDpi;
        int nCyMenu;
        Size item, separator; // for a text 50 pixels wide at 96 DPI
    } cases[] = {
        {Style::Flat, 96, 19, {81, 22}, {0, 3}},       // 16 + 50 + 7 + 8; 15 + 7 over SM_CYMENU
        {Style::Flat, 96, 25, {81, 25}, {0, 3}},       // a taller menu font wins
        {Style::Classic, 96, 24, {83, 24}, {0, 12}},   // 50 + 2 * 16 + 1; half of SM_CYMENU
        {Style::Flat, 144, 28, {122, 34}, {0, 5}},     // 24 + 75 + 11 + 12; 23 + 11
        {Style::Classic, 192, 20, {166, 38}, {0, 19}}, // 100 + 64 + 2; 30 + 8
    };
    for (const auto& c : cases) {
        const Metrics m = GetMetrics(Settings(), c.style, c.nDpi, c.nCyMenu);
        const Size item = MeasureItem(c.style, m, ScaleForDpi(50, c.nDpi)),
                   separator = MeasureSeparator(c.style, m);
        EXPECT_EQ(std::make_tuple(c.item.cx, c.item.cy, c.separator.cy),
                  std::make_tuple(item.cx, item.cy, separator.cy))
            << c.nDpi;
    }
    EXPECT_EQ(58, LegacyTextWidth(40, 8)); // 43 + 3 * (43 / 8)
}

// Items 22 pixels high (flat) or 19 (classic) at 96 DPI, from x = 0.
TEST(MenuLayout, ItemPartsPerState) {
    const Color kSelection = Rgb(193, 210, 237), kWhite = Rgb(249, 249, 249), kGrey = Rgb(178, 178, 178);
    const struct {
        Style style;
        bool bFlatLook, bIcon, bChecked, bSelected, bDisabled;
        Color background, text;
        Point ptIcon, ptMark; // ptMark: the mark box's corner, or the icon box's when the icon is checked
    } cases[] = {
        {Style::Flat, true, true, false, false, false, kWhite, 0, {4, 4}, {}},       // centred in 23 x 22
        {Style::Flat, true, true, true, true, false, kSelection, 0, {3, 3}, {1, 1}}, // one up and left
        {Style::Flat, false, false, true, false, false, kWhite, 0, {4, 4}, {8, 7}},  // the tick, centred
        {Style::Flat, false, false, false, true, true, kWhite, kGrey, {4, 4}, {}},   // not selectable
        {Style::Classic, true, true, false, true, false, kColors.highlight, Rgb(255, 255, 255), {3, 2}, {}},
        {Style::Classic, false, false, true, false, true, kColors.menu, Rgb(128, 128, 128), {3, 2}, {7, 6}},
    };
    for (const auto& c : cases) {
        const Rect rc{0, 0, 120, c.style == Style::Flat ? 22 : 19};
        const ItemPaint p = Layout(c.style, c.bFlatLook, rc, c.bIcon, c.bChecked, c.bSelected, c.bDisabled);
        const Rect& rcMark = p.bIconBox ? p.rcIconBox : p.rcMark;
        EXPECT_EQ(std::make_tuple(c.background, c.text, c.ptIcon.x, c.ptIcon.y, c.ptMark.x, c.ptMark.y),
                  std::make_tuple(p.background, p.text, p.ptIcon.x, p.ptIcon.y, rcMark.left, rcMark.top))
            << &c - cases;
    }
    const ItemPaint p = Layout(Style::Flat, true, {0, 0, 120, 22}, true, true, false);
    EXPECT_EQ(std::make_tuple(Rgb(224, 232, 246), 31, 22),
              std::make_tuple(p.iconBoxFill, p.rcText.left, p.rcIconBox.right));
    EXPECT_EQ(Edge::Sunken, Layout(Style::Classic, true, {0, 0, 120, 19}, true, true, false).iconEdge);
}

TEST(MenuLayout, CheckStrokesScaleWithDpi) {
    const Rect rcMark{10, 20, 17, 27};
    EXPECT_EQ(Tie({10, 22, 11, 25}), Tie(GetCheckStrokes(rcMark, 96).strokes[0]));
    EXPECT_EQ(Tie({16, 20, 17, 23}), Tie(GetCheckStrokes(rcMark, 96).strokes[6]));
    EXPECT_EQ(Tie({12, 25, 13, 29}), Tie(GetCheckStrokes(rcMark, 144).strokes[1]));
    EXPECT_EQ(Tie({22, 20, 24, 26}), Tie(GetCheckStrokes(rcMark, 192).strokes[6]));
}
