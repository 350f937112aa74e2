#include "ui/tray_menu.h"

#include <iterator>

#include "app/trace.h"
#include "ui/window_dpi.h"

menu_layout::Size CTrayMenu::IconSize() const {
    const unsigned nDpi = GetSystemDpi();
    return {menu_layout::ScaleForDpi(Settings().nIconWidth, nDpi),
            menu_layout::ScaleForDpi(Settings().nIconHeight, nDpi)};
}

void CTrayMenu::CreateImageList() {
    const menu_layout::Size size = IconSize();
    m_ImageList.Reset(ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, 5, 0));
    if (!m_ImageList) {
        DebugTrace("CTrayMenu::CreateImageList() : ImageList_Create() failed\n");
        return;
    }
    // Every place exists first, so that an icon that cannot be loaded leaves
    // its place empty and the others keep their indices.
    ImageList_SetImageCount(m_ImageList.Get(), std::size(tray_menu::kImageIcons));
    int nIndex = 0;
    for (const int nIconId : tray_menu::kImageIcons) {
        const HICON hIcon = static_cast<HICON>(LoadImageA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIconId), IMAGE_ICON, size.cx, size.cy, 0));
        if (!hIcon || ImageList_ReplaceIcon(m_ImageList.Get(), nIndex, hIcon) < 0)
            DebugTrace("CTrayMenu::CreateImageList() : icon %d not added\n", nIconId);
        if (hIcon)
            DestroyIcon(hIcon);
        ++nIndex;
    }
}

BOOL CTrayMenu::Build(const std::vector<tray_menu::Item>& items) {
    CreateImageList();
    DestroyMenu();
    if (!CreatePopupMenu()) {
        DebugTrace("CTrayMenu::Build() : CreatePopupMenu() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    for (const tray_menu::Item& item : items) {
        const UINT nFlags = (item.bChecked ? MF_CHECKED : 0u) | (item.bGrayed ? MF_GRAYED : 0u);
        if (item.nImage != tray_menu::kNoImage)
            AppendOwnerDrawItemFromImageList(item.strText.c_str(), nFlags, item.nCommand, m_ImageList.Get(),
                                             item.nImage);
        else
            AppendOwnerDrawItem(item.strText.c_str(), nFlags, item.nCommand);
        if (item.bDefault)
            SetMenuDefaultItem(GetSafeHmenu(), item.nCommand, FALSE);
    }
    return TRUE;
}
