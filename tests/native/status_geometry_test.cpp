#include <gtest/gtest.h>

#include <tuple>

#include "ui/colour_setting.h"
#include "ui/status_layout.h"

using namespace status_layout;

namespace {

auto Tie(const Rect& rc) {
    return std::make_tuple(rc.left, rc.top, rc.right, rc.bottom);
}

// x, y, width, height as the window's layout gives them at 96 DPI.
auto Xywh(int x, int y, int cx, int cy) {
    return std::make_tuple(x, y, x + cx, y + cy);
}

const Rect kWorkArea{0, 0, 1024, 738};

} // namespace

TEST(StatusGeometry, PositionIsKeptOnTheWorkArea) {
    struct Case {
        Point pt;
        unsigned nDpi;
        Point expected;
        bool bUnchanged;
    };
    const Case cases[] = {
        {{100, 50}, 96, {305, 160}, false},    // too far up and left: absolute 305, 160
        {{2000, 900}, 96, {1019, 733}, false}, // beyond: 5 inside the right and bottom edges
        {{305, 160}, 96, {305, 160}, true},    {{304, 159}, 96, {305, 160}, false},
        {{100, 50}, 144, {458, 240}, false},   {{2000, 900}, 144, {1016, 730}, false},
    };
    for (const Case& c : cases) {
        Point pt = c.pt;
        EXPECT_EQ(c.bUnchanged, ValidatePosition(pt, kWorkArea, c.nDpi)) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(std::make_pair(c.expected.x, c.expected.y), std::make_pair(pt.x, pt.y)) << c.nDpi;
    }
    const Point ptDefault = DefaultPosition({0, 0, 1280, 994}, 144);
    EXPECT_EQ(std::make_pair(1272, 986), std::make_pair(ptDefault.x, ptDefault.y));
}

TEST(StatusGeometry, WindowRectanglesPerLayout) {
    struct Case {
        Layout layout;
        int nTextWidth;
        unsigned nDpi;
        std::tuple<int, int, int, int> expected;
    };
    const Point pt{1019, 733};
    const Case cases[] = {
        {Layout::Idle, 120, 96, Xywh(1019 - 350, 733 - 95, 350, 95)},
        {Layout::NotConnected, 314, 96, Xywh(1019 - 350, 733 - 95, 350, 95)},
        {Layout::Error, 315, 96, Xywh(1019 - 351, 733 - 95, 351, 95)},      // text + 36 wins
        {Layout::Printing, 900, 96, Xywh(1019 - 350, 733 - 155, 350, 155)}, // text never widens it
        {Layout::Idle, 120, 144, Xywh(1019 - 525, 733 - 143, 525, 143)},
        {Layout::Error, 600, 144, Xywh(1019 - 654, 733 - 143, 654, 143)},
        {Layout::Printing, 0, 144, Xywh(1019 - 525, 733 - 233, 525, 233)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Tie(WindowRect(pt, c.layout, c.nTextWidth, c.nDpi)))
            << c.nTextWidth << " " << c.nDpi;
}

TEST(StatusGeometry, ButtonSetsAndPlaces) {
    // Widths of OK, Close, Cancel and Resume, each already 10 wider than its text.
    const ButtonWidths widths{30, 40, 50, 60};
    struct Case {
        const char* pszName;
        DeviceFacts device;
        bool bClose, bCancel, bResume, bHelp;
        int xHelp;
    };
    // Kestrel, connected, printing, error, resumable.
    const Case cases[] = {
        {"idle", {true, true, false, false, false}, false, false, false, false, 173},
        {"printing", {true, true, true, false, false}, true, true, false, false, 163},
        {"paper out printing, Kestrel", {true, true, true, true, true}, true, true, true, true, 163},
        {"paper out printing, Brindle", {false, true, true, true, true}, true, true, false, true, 227},
        {"card error printing", {true, true, true, true, false}, true, true, false, false, 163},
        {"paper out, no job", {true, true, false, true, true}, true, false, false, false, 163},
        {"paper out, not connected", {true, false, true, true, true}, true, true, false, false, 163},
    };
    for (const Case& c : cases) {
        const Buttons b = LayoutButtons({350, 95}, widths, c.device, 96);
        EXPECT_EQ(std::make_tuple(c.bClose, c.bCancel, c.bResume, c.bHelp),
                  std::make_tuple(b.bClose, b.bCancelVisible, b.bResumeVisible, b.bHelpVisible))
            << c.pszName;
        EXPECT_EQ(Xywh(c.xHelp, 66, 15, 15), Tie(b.rcHelp)) << c.pszName;
        EXPECT_EQ(Xywh(325, 10, 15, 16), Tie(b.rcProperties)) << c.pszName;
    }
    const Buttons close = LayoutButtons({350, 155}, widths, {true, true, true, false, false}, 96);
    EXPECT_EQ(Xywh(301, 123, 39, 22), Tie(close.rcOK));
    EXPECT_EQ(Xywh(247, 123, 49, 22), Tie(close.rcCancel));
    EXPECT_EQ(Xywh(183, 123, 59, 22), Tie(close.rcResume));
    EXPECT_EQ(Xywh(311, 63, 29, 22), Tie(LayoutButtons({350, 95}, widths, {}, 96).rcOK));

    const ButtonWidths big{ButtonWidth(20, 144), ButtonWidth(30, 144), ButtonWidth(40, 144),
                           ButtonWidth(50, 144)};
    const Buttons scaled = LayoutButtons({525, 143}, big, {false, true, true, true, true}, 144);
    EXPECT_EQ(Xywh(525 - 45 - 14, 95, 43, 33), Tie(scaled.rcOK));
    EXPECT_EQ(Xywh(466 - 55 - 6 - 30, 99, 23, 23), Tie(scaled.rcHelp));
}

TEST(StatusGeometry, ProgressBarFill) {
    struct Case {
        int nPos, nLower, nUpper;
        int nBarRight;
    };
    // Client 231 x 15: frame, background 1 inside, bar 2 inside (227 wide).
    const Case cases[] = {
        {50, 0, 100, 2 + 113}, {0, 0, 100, 2},  {100, 0, 100, 229}, {1, 0, 100, 4},
        {150, 0, 100, 229},    {-5, 0, 100, 2}, {50, 0, 0, 2},      {10, 0, 20, 2 + 113},
    };
    for (const Case& c : cases) {
        const BarParts parts = LayoutBar({0, 0, 231, 15}, c.nPos, c.nLower, c.nUpper);
        EXPECT_EQ(std::make_tuple(2, 2, c.nBarRight, 13), Tie(parts.rcBar)) << c.nPos << "/" << c.nUpper;
        EXPECT_EQ(std::make_tuple(1, 1, 230, 14), Tie(parts.rcBackground));
    }
}

TEST(StatusGeometry, ColourSettingsAndKeys) {
    using namespace colour_setting;
    // "B" and "T", and the colours they reset, are played by the status window test under Wine.
    const std::pair<unsigned, Key> keys[] = {
        {'b', Key::ChooseBackground}, {'t', Key::ChooseText}, {'x', Key::None}, {0x100 + 'b', Key::None}};
    for (const auto& [nChar, key] : keys)
        EXPECT_EQ(key, KeyOf(nChar)) << nChar;

    EXPECT_EQ(0x01102030u, UserColour(0xFF102030));
    EXPECT_EQ(0x102030u, Effective(0x01102030, 0xFFFFFF));
    EXPECT_EQ(0xFFFFFFu, Effective(0x00102030, 0xFFFFFF)); // a reset colour paints the default
}
