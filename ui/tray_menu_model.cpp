#include "ui/tray_menu_model.h"

namespace tray_menu {

Image PrinterImage(const Printer& printer) {
    if (!printer.bConnected)
        return kImageNotConnected;
    if (printer.bError)
        return kImageError;
    return printer.bPrinting ? kImagePrinting : kImageReady;
}

std::string LiteralText(const std::string& strName) {
    std::string strText;
    for (const char c : strName) {
        if (c == '&')
            strText += '&';
        strText += c;
    }
    return strText;
}

const Printer* FindPrinter(const std::vector<Printer>& printers, unsigned nCommand) {
    if (nCommand < kFirstPrinter || nCommand - kFirstPrinter >= printers.size())
        return nullptr;
    return &printers[nCommand - kFirstPrinter];
}

std::vector<Item> BuildItems(const Texts& texts, const std::vector<Printer>& printers, bool bOpenOnError,
                             bool bOpenWhenPrinting) {
    std::vector<Item> items;
    const auto append = [&items](const std::string& strText, unsigned nCommand, bool bChecked = false) {
        if (!strText.empty())
            items.push_back(Item{strText, nCommand, bChecked, false, nCommand == kOpen, kNoImage});
    };
    const auto separator = [&items]() { items.push_back(Item{}); };

    append(texts.strAbout, kAbout);
    separator();
    unsigned nCommand = kFirstPrinter;
    bool bPrinting = false;
    for (const Printer& printer : printers) {
        items.push_back(
            Item{LiteralText(printer.strName), nCommand++, false, false, false, PrinterImage(printer)});
        bPrinting = bPrinting || printer.bPrinting;
    }
    if (bPrinting && items.front().nCommand == kAbout)
        items.front().bGrayed = true;
    if (!printers.empty())
        separator();
    append(texts.strOpenOnError, kOpenOnError, bOpenOnError);
    append(texts.strOpenWhenPrinting, kOpenWhenPrinting, bOpenWhenPrinting);
    separator();
    append(texts.strOpen, kOpen);
    append(texts.strExit, kExit);
    return items;
}

} // namespace tray_menu
