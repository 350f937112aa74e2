// The device information tree in a tree view: its images, what it is built
// from, and the insertion of its items. Used by the information and About dialogs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "monitor/device_control.h"
#include "monitor/device_information.h"
#include "ui/device_tree.h"

// The tree's image list: icons 150 to 171 in that order.
class CTreeImageList {
public:
    CTreeImageList() = default;
    ~CTreeImageList() { Reset(); }
    CTreeImageList(const CTreeImageList&) = delete;
    CTreeImageList& operator=(const CTreeImageList&) = delete;

    // Loads the icons at the size of small icons at nDpi; an icon that cannot
    // be loaded is traced and leaves its place empty.
    BOOL Load(unsigned nDpi);
    HIMAGELIST Get() const { return m_hImageList; }

private:
    void Reset();

    HIMAGELIST m_hImageList = nullptr;
};

// Registers the tree view's window class before a dialog template uses it.
void InitTreeViewClass();

// What the tree shows of one printer: the controller's names and link state,
// the information read, the agent's product name and version.
device_tree::Source ReadTreeSource(const CDeviceControl& control, const CDeviceInformation& information);

// Builds the printer's items and inserts them below hParent (TVI_ROOT for the
// top level). A failed insertion is traced and its children are skipped.
// Returns the items, for the exports.
device_tree::Item FillDeviceTree(const CDeviceControl& control, const CDeviceInformation& information,
                                 HWND hTree, HTREEITEM hParent);
