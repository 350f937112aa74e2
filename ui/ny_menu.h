// A popup menu whose items the program draws itself (owner-drawn), so that
// they can carry small icons and the flat, light look of Windows XP and later,
// or the classic look. The window that shows the menu hands its WM_MEASUREITEM
// and WM_DRAWITEM to OnOwnerDrawMessage.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/menu_layout.h"
#include "ui/unique_gdi.h"

class CNyMenu {
public:
    // settings: sizes and look of the menu and its submenus.
    explicit CNyMenu(const menu_layout::Settings& settings = {});
    // Destroys the menu, as DestroyMenu does.
    virtual ~CNyMenu();

    CNyMenu(const CNyMenu&) = delete;
    CNyMenu& operator=(const CNyMenu&) = delete;

    // Creates the empty popup menu that the items go into. FALSE when the
    // object already holds a menu or the system could not make one.
    BOOL CreatePopupMenu();
    // Null before CreatePopupMenu and after DestroyMenu.
    HMENU GetSafeHmenu() const { return m_hMenu; }

    // Appends an owner-drawn item with the icon resource nIconId of the
    // program (-1 for none). A command id of 0 makes it a separator. MF_CHECKED
    // draws the check mark, MFT_RADIOCHECK makes it a bullet. Submenus come
    // from AppendOwnerDrawSubMenu: MF_POPUP is refused here.
    BOOL AppendOwnerDrawItem(const char* pszText, UINT nFlags, UINT_PTR nId, int nIconId = -1);
    // The same, with a copy of the icon at nIndex of the image list.
    BOOL AppendOwnerDrawItemFromImageList(const char* pszText, UINT nFlags, UINT_PTR nId,
                                          HIMAGELIST hImageList, int nIndex);
    // Appends an owner-drawn item that opens a new, empty submenu, owned by
    // this menu, and returns it; null when it could not be made.
    CNyMenu* AppendOwnerDrawSubMenu(const char* pszText, UINT nFlags, int nIconId = -1);

    // Destroys the menu, its submenus and every item.
    virtual void DestroyMenu();

    // With MF_BYPOSITION, the text of the item at position nId of this menu;
    // otherwise that of the first item with command nId in this menu or its
    // submenus. FALSE when there is none.
    BOOL GetMenuText(UINT nId, std::string& strText, UINT nFlags) const;
    // The menu holding the first item with command nId, walking the items in
    // order and each submenu where it stands, and the item's position there;
    // null and -1 when none has it.
    const CNyMenu* FindMenuItem(UINT nId, int& nPosition) const;

    // The owner-draw callbacks. Each answers FALSE for an item that is not
    // one of this menu's or its submenus'.
    BOOL MeasureItem(HWND hOwner, MEASUREITEMSTRUCT& mis);
    BOOL DrawItem(const DRAWITEMSTRUCT& dis);
    // WM_MEASUREITEM and WM_DRAWITEM of the window hWnd that shows the menu;
    // TRUE when the message was for one of the items.
    BOOL OnOwnerDrawMessage(HWND hWnd, UINT nMessage, LPARAM lParam);

    // The classic theme is selected (asked once per process).
    static BOOL IsClassicTheme();
    // Windows XP or later without the classic theme.
    static BOOL IsFlatLookActive();
    // The sizes and look the menu was made with.
    const menu_layout::Settings& Settings() const { return m_settings; }

private:
    // One owner-drawn item; its address is the menu item's data.
    struct CItem {
        std::string strText; // a tab separates the right-aligned accelerator text
        UINT nFlags = 0;
        UINT_PTR nId = 0;      // command id, or the submenu's handle
        HMENU hMenu = nullptr; // the menu the item stands in
        int nIconId = -1;      // icon resource, reloaded at the size each DPI needs
        CUniqueIcon hIcon;
        int nIconWidth = 0, nIconHeight = 0; // size hIcon was made at
        unsigned nDpi = 96;                  // of the window that measured the item
    };

    // The record of an item that is not a submenu; null for MF_POPUP.
    static std::unique_ptr<CItem> MakeItem(const char* pszText, UINT nFlags, UINT_PTR nId);
    BOOL Append(std::unique_ptr<CItem> pItem);
    CItem* FindItem(ULONG_PTR nItemData);
    // The item's icon at that size; null when it has none.
    static HICON GetIcon(CItem& item, int nWidth, int nHeight);
    // The item is its menu's default item, drawn bold.
    static bool IsDefault(const CItem& item);
    // The menu font for the DPI, bold for the default item.
    HFONT CreateMenuFont(unsigned nDpi, bool bBold) const;
    // Forgets the handles of a menu that its parent destroyed.
    void Forget();

    const menu_layout::Settings m_settings;
    HMENU m_hMenu = nullptr;
    LOGFONTA m_lfMenuFont{};
    unsigned m_nFontDpi = 96; // DPI the menu font's height was read for
    std::vector<std::unique_ptr<CItem>> m_Items;
    std::vector<std::unique_ptr<CNyMenu>> m_SubMenus;
};
