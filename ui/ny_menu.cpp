#include "ui/ny_menu.h"

#include <cstring>

#include "app/trace.h"
#include "app/wide_text.h"
#include "app/winver.h"
#include "framework/scoped_dc.h"
#include "framework/unique_key.h"
#include "ui/gdi_rect.h"
#include "ui/unique_gdi.h"
#include "ui/window_dpi.h"

using namespace menu_layout;

namespace {

int CyMenuForDpi(unsigned nDpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto pfnGetSystemMetricsForDpi = reinterpret_cast<GetSystemMetricsForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
    if (pfnGetSystemMetricsForDpi)
        return pfnGetSystemMetricsForDpi(SM_CYMENU, nDpi);
    return MulDiv(GetSystemMetrics(SM_CYMENU), static_cast<int>(nDpi), static_cast<int>(GetSystemDpi()));
}

SystemColors ReadSystemColors() {
    SystemColors colors;
    colors.window = GetSysColor(COLOR_WINDOW);
    colors.face = GetSysColor(COLOR_3DFACE);
    colors.highlight = GetSysColor(COLOR_HIGHLIGHT);
    colors.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    colors.menu = GetSysColor(COLOR_MENU);
    colors.menuText = GetSysColor(COLOR_MENUTEXT);
    colors.grayText = GetSysColor(COLOR_GRAYTEXT);
    return colors;
}

void FrameSolid(HDC hdc, const Rect& rc, Color color) {
    FillSolid(hdc, {rc.left, rc.top, rc.right, rc.top + 1}, color);
    FillSolid(hdc, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, color);
    FillSolid(hdc, {rc.left, rc.top, rc.left + 1, rc.bottom}, color);
    FillSolid(hdc, {rc.right - 1, rc.top, rc.right, rc.bottom}, color);
}

void DrawEdgeOf(HDC hdc, const Rect& rc, Edge edge) {
    if (edge == Edge::None)
        return;
    RECT r = ToRECT(rc);
    DrawEdge(hdc, &r, edge == Edge::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

void DrawMark(HDC hdc, const ItemPaint& p, unsigned nDpi) {
    if (p.mark == Mark::Check) {
        for (const Rect& stroke : GetCheckStrokes(p.rcMark, nDpi).strokes)
            FillSolid(hdc, stroke, p.text);
    } else if (p.mark == Mark::Bullet) {
        const CUniqueBrush brush(CreateSolidBrush(p.text));
        const CUniquePen pen(CreatePen(PS_SOLID, 1, p.text));
        const CSelectObject selectedBrush(hdc, brush.Get());
        const CSelectObject selectedPen(hdc, pen.Get());
        Ellipse(hdc, p.rcMark.left, p.rcMark.top, p.rcMark.right, p.rcMark.bottom);
    }
    DrawEdgeOf(hdc, p.rcMarkEdge, p.markEdge);
}

} // namespace

CNyMenu::CNyMenu(const menu_layout::Settings& settings) : m_settings(settings) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        m_lfMenuFont = metrics.lfMenuFont;
    } else {
        DebugTrace("CNyMenu::CNyMenu() : SystemParametersInfo() failed. GetLastError() = %lu\n",
                   GetLastError());
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(m_lfMenuFont), &m_lfMenuFont);
    }
    m_nFontDpi = GetSystemDpi();
}

CNyMenu::~CNyMenu() {
    CNyMenu::DestroyMenu();
}

BOOL CNyMenu::IsClassicTheme() {
    static const BOOL s_bClassic = [] {
        CUniqueKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ,
                          key.Receive()) != ERROR_SUCCESS)
            return FALSE;
        char szTheme[260];
        DWORD dwType = 0, cbTheme = sizeof(szTheme);
        if (RegQueryValueExA(key.Get(), nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szTheme),
                             &cbTheme) != ERROR_SUCCESS ||
            (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
            return FALSE;
        return IsClassicThemeFile(std::string_view(szTheme, strnlen(szTheme, cbTheme))) ? TRUE : FALSE;
    }();
    return s_bClassic;
}

BOOL CNyMenu::IsFlatLookActive() {
    return IsWinXPOrLater() && !IsClassicTheme();
}

BOOL CNyMenu::CreatePopupMenu() {
    if (m_hMenu)
        return FALSE;
    m_hMenu = ::CreatePopupMenu();
    if (!m_hMenu)
        DebugTrace("CNyMenu::CreatePopupMenu() : CreatePopupMenu() failed. GetLastError() = %lu\n",
                   GetLastError());
    return m_hMenu != nullptr;
}

std::unique_ptr<CNyMenu::CItem> CNyMenu::MakeItem(const char* pszText, UINT nFlags, UINT_PTR nId) {
    if (nFlags & MF_POPUP) {
        DebugTrace("CNyMenu::MakeItem() : MF_POPUP without a submenu of this menu\n");
        return nullptr;
    }
    auto pItem = std::make_unique<CItem>();
    pItem->strText = pszText ? pszText : "";
    // Separators (command 0) keep only MF_BYPOSITION of the flags given.
    pItem->nFlags = nId == 0 ? (nFlags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW : nFlags | MF_OWNERDRAW;
    pItem->nId = nId;
    return pItem;
}

BOOL CNyMenu::AppendOwnerDrawItem(const char* pszText, UINT nFlags, UINT_PTR nId, int nIconId) {
    auto pItem = MakeItem(pszText, nFlags, nId);
    if (!pItem)
        return FALSE;
    pItem->nIconId = nId ? nIconId : -1;
    return Append(std::move(pItem));
}

BOOL CNyMenu::AppendOwnerDrawItemFromImageList(const char* pszText, UINT nFlags, UINT_PTR nId,
                                               HIMAGELIST hImageList, int nIndex) {
    auto pItem = MakeItem(pszText, nFlags, nId);
    if (!pItem)
        return FALSE;
    if (hImageList && nId) {
        pItem->hIcon.Reset(ImageList_GetIcon(hImageList, nIndex, ILD_NORMAL));
        ImageList_GetIconSize(hImageList, &pItem->nIconWidth, &pItem->nIconHeight);
    }
    if (!pItem->hIcon && nId)
        DebugTrace("CNyMenu::AppendOwnerDrawItemFromImageList() : no icon %d in the image list\n", nIndex);
    return Append(std::move(pItem));
}

CNyMenu* CNyMenu::AppendOwnerDrawSubMenu(const char* pszText, UINT nFlags, int nIconId) {
    auto pSubMenu = std::make_unique<CNyMenu>(m_settings);
    if (!pSubMenu->CreatePopupMenu())
        return nullptr;
    auto pItem = MakeItem(pszText, nFlags & ~MF_POPUP, reinterpret_cast<UINT_PTR>(pSubMenu->m_hMenu));
    pItem->nFlags |= MF_POPUP;
    pItem->nIconId = nIconId;
    if (!Append(std::move(pItem)))
        return nullptr;
    m_SubMenus.push_back(std::move(pSubMenu));
    return m_SubMenus.back().get();
}

BOOL CNyMenu::Append(std::unique_ptr<CItem> pItem) {
    if (!m_hMenu) {
        DebugTrace("CNyMenu::Append() : no menu\n");
        return FALSE;
    }
    pItem->hMenu = m_hMenu;
    if (pItem->nIconId >= 0) {
        const Metrics m = GetMetrics(Settings(), Style::Flat, m_nFontDpi, 0);
        if (!GetIcon(*pItem, m.nIconWidth, m.nIconHeight))
            DebugTrace("CNyMenu::Append() : Unable to load icon %d\n", pItem->nIconId);
    }
    if (!AppendMenuA(m_hMenu, pItem->nFlags, pItem->nId, reinterpret_cast<LPCSTR>(pItem.get()))) {
        DebugTrace("CNyMenu::Append() : AppendMenu() failed. GetLastError() = %lu\n", GetLastError());
        return FALSE;
    }
    m_Items.push_back(std::move(pItem));
    return TRUE;
}

void CNyMenu::DestroyMenu() {
    // The system destroys the submenus' handles with their parent's.
    if (m_hMenu)
        ::DestroyMenu(m_hMenu);
    Forget();
}

void CNyMenu::Forget() {
    m_hMenu = nullptr;
    for (auto& pSubMenu : m_SubMenus)
        pSubMenu->Forget();
    m_SubMenus.clear();
    m_Items.clear();
}

BOOL CNyMenu::GetMenuText(UINT nId, std::string& strText, UINT nFlags) const {
    if (nFlags & MF_BYPOSITION) {
        if (nId >= m_Items.size())
            return FALSE;
        strText = m_Items[nId]->strText;
        return TRUE;
    }
    int nPosition = -1;
    const CNyMenu* pMenu = FindMenuItem(nId, nPosition);
    if (!pMenu)
        return FALSE;
    strText = pMenu->m_Items[static_cast<size_t>(nPosition)]->strText;
    return TRUE;
}

const CNyMenu* CNyMenu::FindMenuItem(UINT nId, int& nPosition) const {
    for (size_t i = 0; i < m_Items.size(); ++i) {
        const CItem& item = *m_Items[i];
        if (item.nFlags & MF_POPUP) {
            for (const auto& pSubMenu : m_SubMenus) {
                if (reinterpret_cast<UINT_PTR>(pSubMenu->m_hMenu) != item.nId)
                    continue;
                if (const CNyMenu* pFound = pSubMenu->FindMenuItem(nId, nPosition))
                    return pFound;
            }
        } else if (!(item.nFlags & MF_SEPARATOR) && item.nId == nId) {
            nPosition = static_cast<int>(i);
            return this;
        }
    }
    nPosition = -1;
    return nullptr;
}

CNyMenu::CItem* CNyMenu::FindItem(ULONG_PTR nItemData) {
    for (const auto& pItem : m_Items) {
        if (reinterpret_cast<ULONG_PTR>(pItem.get()) == nItemData)
            return pItem.get();
    }
    for (const auto& pSubMenu : m_SubMenus) {
        if (CItem* pItem = pSubMenu->FindItem(nItemData))
            return pItem;
    }
    return nullptr;
}

HICON CNyMenu::GetIcon(CItem& item, int nWidth, int nHeight) {
    // An icon resource is loaded again at each new size, so that it is drawn
    // from its own image for that size rather than stretched.
    if (item.nIconId >= 0 && (!item.hIcon || item.nIconWidth != nWidth || item.nIconHeight != nHeight)) {
        item.hIcon.Reset(
            static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(item.nIconId),
                                          IMAGE_ICON, nWidth, nHeight, LR_DEFAULTCOLOR)));
        item.nIconWidth = nWidth;
        item.nIconHeight = nHeight;
    }
    return item.hIcon.Get();
}

bool CNyMenu::IsDefault(const CItem& item) {
    // Asked of the menu rather than taken from ODS_DEFAULT, so that measuring
    // and drawing agree and the item is bold wherever the flag is not passed.
    return !(item.nFlags & MF_POPUP) && GetMenuDefaultItem(item.hMenu, FALSE, GMDI_USEDISABLED) == item.nId;
}

HFONT CNyMenu::CreateMenuFont(unsigned nDpi, bool bBold) const {
    LOGFONTA lf = m_lfMenuFont;
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(nDpi), static_cast<int>(m_nFontDpi));
    if (bBold)
        lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
}

BOOL CNyMenu::MeasureItem(HWND hOwner, MEASUREITEMSTRUCT& mis) {
    CItem* pItem = mis.CtlType == ODT_MENU ? FindItem(mis.itemData) : nullptr;
    if (!pItem)
        return FALSE;
    pItem->nDpi = GetWindowDpi(hOwner);
    const Style style = ChooseStyle(Settings(), IsFlatLookActive(), false);
    const Metrics m = GetMetrics(Settings(), style, pItem->nDpi, CyMenuForDpi(pItem->nDpi));
    Size size;
    if (pItem->nFlags & MF_SEPARATOR) {
        size = MeasureSeparator(style, m);
    } else {
        const CUniqueFont font(CreateMenuFont(pItem->nDpi, IsDefault(*pItem)));
        const CWindowDC dc(hOwner);
        const HDC hdc = dc.Get();
        const CSelectObject selected(hdc, font.Get());
        const std::wstring strText = Widen(pItem->strText);
        int nWidth = 0;
        if (IsWin2000OrLater()) {
            SIZE extent{};
            GetTextExtentPoint32W(hdc, strText.c_str(), static_cast<int>(strText.size()), &extent);
            nWidth = extent.cx;
        } else {
            RECT rc{};
            DrawTextW(hdc, strText.c_str(), -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
            nWidth = LegacyTextWidth(rc.right - rc.left, static_cast<int>(pItem->strText.size()));
        }
        size = menu_layout::MeasureItem(style, m, nWidth);
    }
    mis.itemWidth = static_cast<UINT>(size.cx);
    mis.itemHeight = static_cast<UINT>(size.cy);
    return TRUE;
}

BOOL CNyMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
    CItem* pItem = dis.CtlType == ODT_MENU ? FindItem(dis.itemData) : nullptr;
    if (!pItem)
        return FALSE;
    const HDC hdc = dis.hDC;
    const bool bFlatLook = IsFlatLookActive() != FALSE;
    const Style style =
        ChooseStyle(Settings(), bFlatLook, (GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE) != 0);
    const Metrics m = GetMetrics(Settings(), style, pItem->nDpi, CyMenuForDpi(pItem->nDpi));

    ItemState state;
    state.bSeparator = (pItem->nFlags & MF_SEPARATOR) != 0;
    state.bSelected = (dis.itemState & ODS_SELECTED) != 0;
    state.bDisabled = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    state.bChecked = (dis.itemState & ODS_CHECKED) != 0;
    state.bRadio = (pItem->nFlags & MFT_RADIOCHECK) != 0;
    const HICON hIcon = state.bSeparator ? nullptr : GetIcon(*pItem, m.nIconWidth, m.nIconHeight);
    state.bHasIcon = hIcon != nullptr;
    const ItemPaint p =
        LayoutItem(style, m, Settings(), ReadSystemColors(), bFlatLook, FromRECT(dis.rcItem), state);

    const int nSaved = SaveDC(hdc);
    FillSolid(hdc, p.rcItem, p.background);
    if (p.bColumn)
        FillSolid(hdc, p.rcColumn, p.column);
    if (p.bFrame)
        FrameSolid(hdc, p.rcItem, p.frame);
    if (state.bSeparator) {
        RECT rc = ToRECT(p.rcSeparator);
        DrawEdge(hdc, &rc, EDGE_ETCHED, BF_TOP);
        RestoreDC(hdc, nSaved);
        return TRUE;
    }
    if (p.bIconBox) {
        FillSolid(hdc, p.rcIconBox, p.iconBoxFill);
        FrameSolid(hdc, p.rcIconBox, p.iconBoxFrame);
    }
    DrawEdgeOf(hdc, p.rcIconBox, p.iconEdge);
    if (hIcon)
        DrawIconEx(hdc, p.ptIcon.x, p.ptIcon.y, hIcon, p.szIcon.cx, p.szIcon.cy, 0, nullptr, DI_NORMAL);
    DrawMark(hdc, p, m.nDpi);

    // The label, and after a tab the accelerator text at the right.
    const CUniqueFont font(CreateMenuFont(pItem->nDpi, IsDefault(*pItem)));
    SelectObject(hdc, font.Get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, p.text);
    const std::wstring strText = Widen(pItem->strText);
    const size_t nTab = strText.find(L'\t');
    RECT rcText = ToRECT(p.rcText);
    DrawTextW(hdc, strText.c_str(), static_cast<int>(nTab == std::wstring::npos ? strText.size() : nTab),
              &rcText, DT_SINGLELINE | DT_VCENTER);
    if (nTab != std::wstring::npos)
        DrawTextW(hdc, strText.c_str() + nTab + 1, -1, &rcText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    RestoreDC(hdc, nSaved);
    return TRUE;
}

BOOL CNyMenu::OnOwnerDrawMessage(HWND hWnd, UINT nMessage, LPARAM lParam) {
    if (!lParam)
        return FALSE;
    if (nMessage == WM_MEASUREITEM)
        return MeasureItem(hWnd, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    if (nMessage == WM_DRAWITEM)
        return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return FALSE;
}
