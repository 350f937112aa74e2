// The tray's context menu: an owner-drawn menu with the image list whose
// pictures its printer entries carry. Rebuilt before every showing.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "framework/unique_handle.h"
#include "ui/ny_menu.h"
#include "ui/tray_menu_model.h"

struct CImageListTraits : TNullWhenEmpty<HIMAGELIST> {
    static void Close(HIMAGELIST hImageList) { ImageList_Destroy(hImageList); }
};

class CTrayMenu : public CNyMenu {
public:
    explicit CTrayMenu(const menu_layout::Settings& settings = {}) : CNyMenu(settings) {}

    // Empties the menu, makes the image list afresh and appends the items;
    // the default item is drawn bold. FALSE when the popup menu cannot be made.
    BOOL Build(const std::vector<tray_menu::Item>& items);

private:
    // The menu's icon size at the screen's DPI.
    menu_layout::Size IconSize() const;
    void CreateImageList();

    TUniqueHandle<CImageListTraits> m_ImageList;
};
