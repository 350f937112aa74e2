// The named string ids (resources/string_ids.h) against the English texts
// they stand for and against resources/lang/en.rc.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/string_ids.h"
#include "tests/native/english_strings.h"

namespace {

struct NamedId {
    StringId nId;
    const char* pszEnglish; // the English text of the entry
};

const NamedId kNamedIds[] = {
    {IDS_ABOUT_TITLE, "About %s"},
    {IDS_DIALOG_CLOSE, "Close"},
    {IDS_MENU_ABOUT, "About..."},
    {IDS_MENU_OPEN_ON_ERROR, "Open on error"},
    {IDS_MENU_OPEN_WHEN_PRINTING, "Open when printing"},
    {IDS_MENU_OPEN, "Open"},
    {IDS_MENU_EXIT, "Exit"},
    {IDS_NOT_CONNECTED, "Not connected"},
    {IDS_READY, "Ready"},
    {IDS_PRINTING, "Printing"},
    {IDS_ERROR, "Error"},
    {IDS_BUSY, "Busy"},
    {IDS_OK, "OK"},
    {IDS_CANCEL, "Cancel"},
    {IDS_CLOSE, "Close"},
    {IDS_INITIALIZING, "Initializing"},
    {IDS_TASK, "Task"},
    {IDS_TOTAL, "Total"},
    {IDS_PAPER_FEED_IN, "Paper feed in"},
    {IDS_CYAN_PRINTING, "Cyan printing..."},
    {IDS_MAGENTA_PRINTING, "Magenta printing..."},
    {IDS_YELLOW_PRINTING, "Yellow printing..."},
    {IDS_COATING, "Coating..."},
    {IDS_PAPER_FEED_OUT, "Paper feed out"},
    {IDS_OUT_OF_PAPER, "Out of paper"},
    {IDS_RIBBON_FAULT, "Ribbon fault"},
    {IDS_PAPER_JAM, "Paper jam"},
    {IDS_MECHANICAL_ISSUE, "Mechanical issue"},
    {IDS_UNKNOWN_ERROR, "Unknown error"},
    {IDS_INSERT_PAPER_SHEET, "Please insert paper sheet"},
    {IDS_CHECK_RIBBON, "Check the ribbon"},
    {IDS_NEED_MANUAL_INTERVENTION, "Need manual intervention"},
    {IDS_PLEASE_WAIT, "Please wait..."},
    {IDS_INSTALL_RIBBON, "Install a ribbon"},
    {IDS_HEATING, "Heating"},
    {IDS_WAITING_FOR_JOB, "Waiting for a job"},
    {IDS_PRINTER_IN_USE, "Printer in use"},
    {IDS_DEVICE_INITIALIZATION, "Device initialization"},
    {IDS_NO_RIBBON, "No ribbon in place"},
    {IDS_RIBBON_JAMMED, "The ribbon is jammed"},
    {IDS_CHANGE_RIBBON, "Change the ribbon"},
    {IDS_HEADS_TOO_HOT, "Print heads are too hot"},
    {IDS_WAIT_FOR_COOL_DOWN, "Please wait for the printer to cool down"},
    {IDS_INTERNAL_ERROR, "Internal error"},
    {IDS_RESTART_PRINTER, "Please restart the printer and try again"},
    {IDS_COOLING_DOWN, "Wait for the printer to cool down..."},
    {IDS_VERSION_FORMAT, "%s version %d.%d"},
    {IDS_DEVICE_SERIAL_NUMBER, "Device serial number"},
    {IDS_FIRMWARE_VERSION, "Firmware version"},
    {IDS_RIBBON_NOT_INSTALLED, "The ribbon is not installed correctly"},
    {IDS_INFO_NOT_AVAILABLE, "Information on the device is not available."},
    {IDS_BLANK, " "},
    {IDS_END_OF_RIBBON, "End of ribbon"},
    {IDS_HELP_TEXT,
     "- To cancel printing, click \"Cancel\" or press the C button (Cancel) of the printer keyboard.\n\n- To "
     "resume printing, solve the issue and press the Print button of the printer keyboard."},
    {IDS_REBOOT_PROMPT,
     "Kestrel is not installed correctly.\nWe need to restart the system.\n\nDo you want to restart now ?"},
    {IDS_PHASE_INITIALIZING, "Initializing"},
    {IDS_RIBBON_OVER, "The ribbon is over"},
    {IDS_CHANGE_RIBBON_AND_CARD, "Change ribbon and insert ribbon parameter card"},
    {IDS_RESUME, "Resume"},
    {IDS_NOT_AVAILABLE, "Not Available"},
    {IDS_PRINTER_NAME, "Printer Name"},
    {IDS_PORT_NAME, "Port Name"},
    {IDS_DRIVER_NAME, "Driver Name"},
    {IDS_SHARED, "Shared"},
    {IDS_DEVICE, "Device"},
    {IDS_VENDOR_ID, "Vendor ID"},
    {IDS_PRODUCT_ID, "Product ID"},
    {IDS_SERIAL_NUMBER, "Serial Number"},
    {IDS_FIRMWARE, "Firmware"},
    {IDS_BOOT_LOADER, "Boot Loader"},
    {IDS_PHOTO_COUNTER, "Photo Counter"},
    {IDS_HEAD_RESISTOR_VALUE, "Thermal Head Resistor Value"},
    {IDS_CONSUMABLE_VALUE, "Consumable Value"},
    {IDS_INTERNAL_COUNTER, "Internal Counter"},
    {IDS_DRIVER, "Driver"},
    {IDS_PRODUCT_NAME, "Product Name"},
    {IDS_PRODUCT_VERSION, "Product Version"},
    {IDS_EXPORT, "Export..."},
    {IDS_LOGS, "Logs..."},
    {IDS_YES, "Yes"},
    {IDS_NO, "No"},
    {IDS_MODEL, "Model"},
    {IDS_INFO_FILES, "Info Files"},
    {IDS_ALL_FILES, "All Files"},
    {IDS_LOG_FILES, "Log Files"},
    {IDS_DEVICE_NOT_CONNECTED, "Device is not connected"},
    {IDS_INTERNAL_COUNTERS, "Internal Counters"},
    {IDS_WIFI, "WiFi"},
    {IDS_WIFI_DONGLE_NOT_CONNECTED, "USB/WIFI dongle is not connected"},
    {IDS_WIFI_NOT_CONFIGURED, "WIFI dongle ON - WIFI parameters not configured"},
    {IDS_WIFI_IP_NOT_CONFIGURED, "WIFI dongle ON - IP parameters not configured"},
    {IDS_WIFI_READY, "WIFI dongle ON - Ready for wireless printing"},
    {IDS_COVER_OPEN, "Printer cover is open"},
    {IDS_PRINTER_NOT_READY, "Printer is not ready"},
    {IDS_CONSUMABLE_COLORIMETRIC, "Consumable not compliant (colorimetric tables)"},
    {IDS_CONSUMABLE_BRAND, "Consumable not compliant (brand)"},
    {IDS_CONSUMABLE_MECHANICAL, "Consumable not compliant (mechanical part)"},
    {IDS_CONSUMABLE_RIBBON, "Consumable not compliant (ribbon)"},
    {IDS_CONSUMABLE_PRINTER, "Consumable not compliant (printer)"},
    {IDS_CARD_UNREADABLE, "Unreadable consumable card"},
    {IDS_CARD_UNKNOWN, "Unknown consumable card"},
    {IDS_CARD_ALREADY_USED, "Already used consumable card"},
    {IDS_CARD_COUNTER_LIMIT, "Consumable counter limit reached"},
    {IDS_CARD_TRANSFER_ERROR, "Consumable card transfer error"},
    {IDS_CARD_UNKNOWN_ERROR, "Unknown consumable card error"},
    {IDS_MASTER_CARD_ALREADY_USED, "Already used master card"},
    {IDS_CHECK_CONSUMABLE_CARD, "Check Consumable Card"},
    {IDS_SYSTEM_ERROR_INIT, "System error (initialization)"},
    {IDS_SYSTEM_ERROR_MEMORY, "System error (memory)"},
    {IDS_SYSTEM_ERROR_FILE, "System error (file)"},
    {IDS_SYSTEM_ERROR_MEMORY_CARD, "System error (memory card)"},
    {IDS_SYSTEM_ERROR_UNKNOWN, "Unknown system error"},
    {IDS_FILE_CORRUPTED, "File corrupted"},
    {IDS_FILE_FORMAT_NOT_SUPPORTED, "File format not supported"},
    {IDS_FILE_ERROR_UNKNOWN, "Unknown file error"},
    {IDS_WIRELESS_TRANSFER_ERROR, "Wireless transfer error"},
    {IDS_WIRELESS_FILE_TOO_BIG, "Wireless file too big"},
    {IDS_WIRELESS_ERROR_UNKNOWN, "Unknown wireless error"},
    {IDS_FEATURE_NOT_AVAILABLE, "This feature is not available on this model"},
    {IDS_CONNECTION_LOST, "Connection lost"},
    {IDS_CHECK_CONNECTION, "Check connection with the printer"},
    {IDS_REMOVE_SHEET, "Please remove the sheet from the printer"},
    {IDS_DATA_TRANSFER, "Data transfer..."},
};

} // namespace

TEST(StringIds, EachNameHasItsEnglishText) {
    for (const NamedId& n : kNamedIds)
        EXPECT_EQ(n.pszEnglish, EnglishText(n.nId)) << "id " << n.nId;
}

TEST(StringIds, NamesCoverEveryIdFrom101To223Once) {
    std::set<StringId> ids;
    for (const NamedId& n : kNamedIds)
        EXPECT_TRUE(ids.insert(n.nId).second) << "id " << n.nId << " named twice";
    EXPECT_EQ(123u, ids.size());
    EXPECT_EQ(IDS_FIRST, *ids.begin());
    EXPECT_EQ(IDS_LAST, *ids.rbegin());
    EXPECT_EQ(101u, IDS_FIRST);
    EXPECT_EQ(223u, IDS_LAST);
}

TEST(StringIds, EnglishTableHoldsExactlyIds101To223) {
    const auto& table = EnglishTable();
    ASSERT_EQ(123u, table.size());
    EXPECT_EQ(IDS_FIRST, table.begin()->first);
    EXPECT_EQ(IDS_LAST, table.rbegin()->first);
}

TEST(StringIds, NoneIsZero) {
    EXPECT_EQ(0u, IDS_NONE);
}
