// The tray's context menu: an owner-drawn menu with the image list whose
// pictures its printer entries carry. Rebuilt before every showing.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "ui/ny_menu.h"
#include "ui/tray_menu_model.h"

class CTrayMenu : public CNyMenu {
public:
    explicit CTrayMenu(const menu_layout::Settings& settings = {}) : CNyMenu(settings) {}

    // Empties the menu, makes the image list afresh and appends the items;
    // the default item is drawn bold. FALSE when the popup menu cannot be made.
    BOOL Build(const std::vector<tray_menu::Item>& items);

private:
    struct CImageListDeleter {
        void operator()(HIMAGELIST hImageList) const { ImageList_Destroy(hImageList); }
    };
    using CImageListPtr = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, CImageListDeleter>;

    // The menu's icon size at the screen's DPI.
    menu_layout::Size IconSize() const;
    void CreateImageList();

    CImageListPtr m_ImageList;
};
