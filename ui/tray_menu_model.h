// What the tray's context menu holds, item by item: the printers with their
// status pictures, the two automatic-opening switches, Open, About and Exit.
// Platform-free; CTrayMenu turns the items into an owner-drawn menu.
#pragma once

#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace tray_menu {

// Menu commands. The printers' entries take kFirstPrinter, kFirstPrinter + 1, ...
enum Command : unsigned {
    kNone = 0, // separators, and a menu dismissed without a choice
    kAbout = 103,
    kOpenOnError = 104,
    kOpenWhenPrinting = 105,
    kOpen = 106,
    kExit = 107,
    kFirstPrinter = 1106,
};

// Pictures of the printers' entries, by index in the menu's image list.
enum Image : int {
    kNoImage = -1,
    kImageReady = 0,
    kImageError = 1,
    kImageNotConnected = 2,
    kImagePrinting = 4,
};
// The icon resource at each index of the image list.
constexpr int kImageIcons[] = {IDI_ICON_PRINTER, IDI_ICON_PRINTER_ERROR, IDI_ICON_PRINTER_OFFLINE,
                               IDI_ICON_PRINTER, IDI_ICON_PRINTER_PRINTING};

struct Printer {
    std::string strName;
    bool bConnected = false;
    bool bError = false;
    bool bPrinting = false;
};

// The entries' texts in the user's language; an empty text leaves its entry out.
struct Texts {
    std::string strAbout, strOpenOnError, strOpenWhenPrinting, strOpen, strExit;
};

struct Item {
    std::string strText; // empty for a separator; "&&" draws one ampersand
    unsigned nCommand = kNone;
    bool bChecked = false;
    bool bGrayed = false;
    bool bDefault = false;
    int nImage = kNoImage;
};

// Not connected, else in error, else printing, else ready.
Image PrinterImage(const Printer& printer);

// The menu text that shows the name as it is: a single ampersand would
// underline the next letter instead.
std::string LiteralText(const std::string& strName);

// The printer whose entry has that command in the menu built from these
// printers; null when none has it.
const Printer* FindPrinter(const std::vector<Printer>& printers, unsigned nCommand);

// The menu's items, top to bottom; the printers in the order given. About is
// grayed while a printer prints (the dialog would ask every printer for its
// information); Open is the default item.
std::vector<Item> BuildItems(const Texts& texts, const std::vector<Printer>& printers, bool bOpenOnError,
                             bool bOpenWhenPrinting);

} // namespace tray_menu
