// The owner-drawn menu opened on the Xvfb display and read back from the screen
// in both looks: check mark, bold default, selection and icon. And the icons.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <set>

#include "resources/resource_ids.h"
#include "ui/ny_menu.h"

using namespace menu_layout;

namespace {

// The icon directories: a 256-colour 16 x 16 image, and 32-bit ones from 16 to 48 pixels.
TEST(NyMenuIcons, EveryIconHoldsEachImage) {
    const std::set<std::pair<int, int>> expected = {{16, 8},  {16, 32}, {20, 32},
                                                    {24, 32}, {32, 32}, {48, 32}};
    int nIcons = 0;
    for (int id = IDR_MAINFRAME; id <= IDI_ICON_DISABLED_PROPERTIES; ++id) {
        const HRSRC hGroup = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        const auto* pDirectory = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hGroup)));
        nIcons += hGroup != nullptr;
        std::set<std::pair<int, int>> images; // width and bits per pixel of each 14-byte entry
        for (int i = 0; hGroup && i < *reinterpret_cast<const WORD*>(pDirectory + 4); ++i)
            images.insert({pDirectory[6 + 14 * i], *reinterpret_cast<const WORD*>(pDirectory + 12 + 14 * i)});
        EXPECT_TRUE(!hGroup || std::includes(images.begin(), images.end(), expected.begin(), expected.end()))
            << id;
    }
    EXPECT_EQ(35, nIcons);
    EXPECT_TRUE(DeleteObject(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BACKGROUND))));
}

enum : int { kDefault, kRegular, kChecked, kPrinter }; // positions; commands are 100 more

// The menu's owner: routes the owner-draw messages and, once the open menu is
// idle, selects the printer item and checks the menu's window.
struct CScene {
    explicit CScene(const Settings& settings) : menu(settings) {}
    CNyMenu menu;
    std::function<void(HWND hPopup)> check;
    bool bChecked = false;
} * g_pScene;

LRESULT CALLBACK OwnerProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (g_pScene->menu.OnOwnerDrawMessage(hWnd, nMessage, lParam))
        return TRUE;
    if (nMessage == WM_ENTERIDLE && wParam == MSGF_MENU && !g_pScene->bChecked) {
        const HWND hPopup = FindWindowA("#32768", nullptr);
        HiliteMenuItem(hWnd, g_pScene->menu.GetSafeHmenu(), kPrinter, MF_BYPOSITION | MF_HILITE);
        UpdateWindow(hPopup);
        g_pScene->check(hPopup);
        g_pScene->bChecked = true;
    }
    if (nMessage == WM_ENTERIDLE || nMessage == WM_TIMER) // the timer: never left waiting in the menu
        EndMenu();
    return DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

class NyMenu : public testing::TestWithParam<Style> {};

TEST_P(NyMenu, DrawsCheckMarkBoldDefaultSelectionAndIcon) {
    const WNDCLASSA wc{0, OwnerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "NyMenuOwner"};
    RegisterClassA(&wc);
    const Style style = GetParam();
    Settings settings;
    settings.bFlatWhenThemed = style == Style::Flat; // Wine: XP or later, no classic theme
    ASSERT_TRUE(CNyMenu::IsFlatLookActive());
    CScene scene(settings);
    g_pScene = &scene;
    const HWND hOwner = CreateWindowExA(0, "NyMenuOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                        nullptr, nullptr, nullptr);
    const HIMAGELIST hImages = ImageList_Create(16, 15, ILC_COLOR32 | ILC_MASK, 1, 0);
    ImageList_AddIcon(hImages,
                      LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ICON_PRINTER_ERROR)));
    ASSERT_TRUE(hOwner && scene.menu.CreatePopupMenu());
    scene.menu.AppendOwnerDrawItem("Open", 0, 100 + kDefault);
    scene.menu.AppendOwnerDrawItem("Open", 0, 100 + kRegular);
    scene.menu.AppendOwnerDrawItem("Open on error", MF_CHECKED, 100 + kChecked);
    scene.menu.AppendOwnerDrawItemFromImageList("Kestrel 300", 0, 100 + kPrinter, hImages, 0);
    scene.menu.AppendOwnerDrawItem("", MF_CHECKED, 0); // a separator
    CNyMenu* pSub = scene.menu.AppendOwnerDrawSubMenu("More", 0);
    ASSERT_TRUE(pSub && pSub->AppendOwnerDrawItem("Kestrel 300\tF2", 0, 200, IDI_ICON_PRINTER));
    scene.menu.AppendOwnerDrawItem("Open again", 0, 200);
    SetMenuDefaultItem(scene.menu.GetSafeHmenu(), 100 + kDefault, FALSE);

    scene.check = [&](HWND hPopup) {
        const HDC hdc = GetDC(nullptr), hdcPopup = GetDC(hPopup);
        const unsigned nDpi = static_cast<unsigned>(GetDeviceCaps(hdc, LOGPIXELSY));
        const auto layout = [&](int nPosition, bool bChecked) {
            ItemState state;
            state.bChecked = bChecked;
            state.bHasIcon = nPosition == kPrinter;
            RECT rc{};
            GetMenuItemRect(hPopup, scene.menu.GetSafeHmenu(), static_cast<UINT>(nPosition), &rc);
            return LayoutItem(style, GetMetrics(settings, style, nDpi, GetSystemMetrics(SM_CYMENU)), settings,
                              {}, true, {rc.left, rc.top, rc.right, rc.bottom}, state);
        };
        // An item's own background, at its right end where nothing is drawn.
        const auto fill = [&](const Rect& rc) {
            return GetPixel(hdc, rc.right - 3, (rc.top + rc.bottom) / 2);
        };
        const COLORREF text = GetSysColor(COLOR_MENUTEXT), highlight = GetSysColor(COLOR_HIGHLIGHT);

        // The screen, once the menu's window has reached it: the selected item there as in the window.
        const ItemPaint printer = layout(kPrinter, false);
        POINT pt{printer.rcItem.right - 3, (printer.rcItem.top + printer.rcItem.bottom) / 2};
        ScreenToClient(hPopup, &pt);
        for (int i = 0; i < 100 && fill(printer.rcItem) != GetPixel(hdcPopup, pt.x, pt.y); ++i)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20,
                                      QS_ALLINPUT); // Wine sends surfaces to X while idle
        ASSERT_EQ(GetPixel(hdcPopup, pt.x, pt.y), fill(printer.rcItem)) << "the menu is not on the screen";

        // The tick: its strokes in the text colour, and nothing else in its box.
        const Rect rcMark = layout(kChecked, true).rcMark;
        int nWrong = 0;
        for (int y = rcMark.top; y < rcMark.bottom; ++y)
            for (int x = rcMark.left; x < rcMark.right; ++x) {
                bool bStroke = false;
                for (const Rect& s : GetCheckStrokes(rcMark, nDpi).strokes)
                    bStroke = bStroke || (x >= s.left && x < s.right && y >= s.top && y < s.bottom);
                nWrong += bStroke != (GetPixel(hdc, x, y) == text);
            }
        EXPECT_EQ(0, nWrong);

        // The same word, bold as the default item: starting where labels start, and wider.
        const auto inkWidth = [&](int nPosition) {
            const ItemPaint p = layout(nPosition, false);
            const COLORREF background = fill(p.rcItem);
            std::pair<int, int> ink{p.rcText.right, p.rcText.left};
            for (int y = p.rcText.top; y < p.rcText.bottom; ++y)
                for (int x = p.rcText.left; x < p.rcText.right; ++x)
                    if (GetPixel(hdc, x, y) != background)
                        ink = {std::min(ink.first, x), std::max(ink.second, x)};
            EXPECT_NEAR(p.rcText.left, ink.first, 2) << nPosition;
            return ink.second - ink.first;
        };
        EXPECT_GT(inkWidth(kDefault), inkWidth(kRegular));

        // The selected printer item: its fill (framed in the flat look), and its icon pixel for pixel.
        const COLORREF selection = fill(printer.rcItem);
        EXPECT_EQ(style == Style::Flat ? LightenColor(highlight, 0.7) : highlight, selection);
        EXPECT_EQ(style == Style::Flat ? highlight : selection,
                  GetPixel(hdc, printer.rcItem.left, printer.rcItem.top + 5));
        const HDC hdcIcon = CreateCompatibleDC(hdc);
        const HGDIOBJ hOld =
            SelectObject(hdcIcon, CreateCompatibleBitmap(hdc, printer.szIcon.cx, printer.szIcon.cy));
        const RECT rcIcon{0, 0, printer.szIcon.cx, printer.szIcon.cy};
        SetBkColor(hdcIcon, selection);
        ExtTextOutA(hdcIcon, 0, 0, ETO_OPAQUE, &rcIcon, nullptr, 0, nullptr);
        const HICON hCopy = ImageList_GetIcon(hImages, 0, ILD_NORMAL);
        DrawIconEx(hdcIcon, 0, 0, hCopy, rcIcon.right, rcIcon.bottom, 0, nullptr, DI_NORMAL);
        nWrong = 0;
        for (int y = 0; y < rcIcon.bottom; ++y)
            for (int x = 0; x < rcIcon.right; ++x)
                nWrong +=
                    GetPixel(hdcIcon, x, y) != GetPixel(hdc, printer.ptIcon.x + x, printer.ptIcon.y + y);
        EXPECT_EQ(0, nWrong);
        DestroyIcon(hCopy);
        DeleteObject(SelectObject(hdcIcon, hOld));
        DeleteDC(hdcIcon);
        ReleaseDC(hPopup, hdcPopup);
        ReleaseDC(nullptr, hdc);
    };
    SetForegroundWindow(hOwner);
    SetTimer(hOwner, 1, 10000, nullptr);
    TrackPopupMenu(scene.menu.GetSafeHmenu(), TPM_RETURNCMD | TPM_NONOTIFY, 20, 20, 0, hOwner, nullptr);
    DestroyWindow(hOwner);
    ImageList_Destroy(hImages);
    EXPECT_TRUE(scene.bChecked) << "the menu was not shown";

    // The records: submenus searched where they stand (command 200 is first
    // met in the submenu), everything gone with the menu.
    const HMENU hMenu = scene.menu.GetSafeHmenu(), hSub = pSub->GetSafeHmenu();
    std::string strText;
    EXPECT_TRUE(scene.menu.GetMenuText(200, strText, 0));
    EXPECT_EQ("Kestrel 300\tF2", strText);
    scene.menu.DestroyMenu();
    EXPECT_FALSE(scene.menu.GetSafeHmenu() || IsMenu(hMenu) || IsMenu(hSub) ||
                 scene.menu.GetMenuText(200, strText, 0));
}

INSTANTIATE_TEST_SUITE_P(BothLooks, NyMenu, testing::Values(Style::Flat, Style::Classic));

} // namespace
