// Ids of the agent's string table: 101 to 225, the same in all
// fifteen languages. The comment after each id is its English text.
// Platform-free: the string loader turns an id into the user's language.
#pragma once

// The type of the string loader's id argument (app/strings.h).
using StringId = unsigned int;

// Passed where a text id is optional: no text (an empty hint or phase line).
constexpr StringId IDS_NONE = 0;

constexpr StringId IDS_FIRST = 101;
constexpr StringId IDS_LAST = 225;

// Tray menu, About dialog and information dialog.
constexpr StringId IDS_ABOUT_TITLE = 101;             // "About %s"
constexpr StringId IDS_DIALOG_CLOSE = 102;            // "Close" (About and information dialogs)
constexpr StringId IDS_MENU_ABOUT = 103;              // "About..."
constexpr StringId IDS_MENU_OPEN_ON_ERROR = 104;      // "Open on error"
constexpr StringId IDS_MENU_OPEN_WHEN_PRINTING = 105; // "Open when printing"
constexpr StringId IDS_MENU_OPEN = 106;               // "Open"
constexpr StringId IDS_MENU_EXIT = 107;               // "Exit"

// Status window: state lines, buttons, labels.
constexpr StringId IDS_NOT_CONNECTED = 108; // "Not connected"
constexpr StringId IDS_READY = 109;         // "Ready"
constexpr StringId IDS_PRINTING = 110;      // "Printing"
constexpr StringId IDS_ERROR = 111;         // "Error"
constexpr StringId IDS_BUSY = 112;          // "Busy"
constexpr StringId IDS_OK = 113;            // "OK"
constexpr StringId IDS_CANCEL = 114;        // "Cancel"
constexpr StringId IDS_CLOSE = 115;         // "Close" (status window)
constexpr StringId IDS_INITIALIZING = 116;  // "Initializing" (state line)
constexpr StringId IDS_TASK = 117;          // "Task"
constexpr StringId IDS_TOTAL = 118;         // "Total"

// Print phases.
constexpr StringId IDS_PAPER_FEED_IN = 119;    // "Paper feed in"
constexpr StringId IDS_CYAN_PRINTING = 120;    // "Cyan printing..."
constexpr StringId IDS_MAGENTA_PRINTING = 121; // "Magenta printing..."
constexpr StringId IDS_YELLOW_PRINTING = 122;  // "Yellow printing..."
constexpr StringId IDS_COATING = 123;          // "Coating..."
constexpr StringId IDS_PAPER_FEED_OUT = 124;   // "Paper feed out"

// Printer errors, advice and idle details.
constexpr StringId IDS_OUT_OF_PAPER = 125;             // "Out of paper"
constexpr StringId IDS_RIBBON_FAULT = 126;             // "Ribbon fault"
constexpr StringId IDS_PAPER_JAM = 127;                // "Paper jam"
constexpr StringId IDS_MECHANICAL_ISSUE = 128;         // "Mechanical issue"
constexpr StringId IDS_UNKNOWN_ERROR = 129;            // "Unknown error"
constexpr StringId IDS_INSERT_PAPER_SHEET = 130;       // "Please insert paper sheet"
constexpr StringId IDS_CHECK_RIBBON = 131;             // "Check the ribbon"
constexpr StringId IDS_NEED_MANUAL_INTERVENTION = 132; // "Need manual intervention"
constexpr StringId IDS_PLEASE_WAIT = 133;              // "Please wait..."
constexpr StringId IDS_INSTALL_RIBBON = 134;           // "Install a ribbon"
constexpr StringId IDS_HEATING = 135;                  // "Heating"
constexpr StringId IDS_WAITING_FOR_JOB = 136;          // "Waiting for a job"
constexpr StringId IDS_PRINTER_IN_USE = 137;           // "Printer in use"
constexpr StringId IDS_DEVICE_INITIALIZATION = 138;    // "Device initialization"
constexpr StringId IDS_NO_RIBBON = 139;                // "No ribbon in place"
constexpr StringId IDS_RIBBON_JAMMED = 140;            // "The ribbon is jammed"
constexpr StringId IDS_CHANGE_RIBBON = 141;            // "Change the ribbon"
constexpr StringId IDS_HEADS_TOO_HOT = 142;            // "Print heads are too hot"
constexpr StringId IDS_WAIT_FOR_COOL_DOWN = 143;       // "Please wait for the printer to cool down"
constexpr StringId IDS_INTERNAL_ERROR = 144;           // "Internal error"
constexpr StringId IDS_RESTART_PRINTER = 145;          // "Please restart the printer and try again"
constexpr StringId IDS_COOLING_DOWN = 146;             // "Wait for the printer to cool down..."
constexpr StringId IDS_VERSION_FORMAT = 147;           // "%s version %d.%d"
constexpr StringId IDS_DEVICE_SERIAL_NUMBER = 148;     // "Device serial number"
constexpr StringId IDS_FIRMWARE_VERSION = 149;         // "Firmware version"
constexpr StringId IDS_RIBBON_NOT_INSTALLED = 150;     // "The ribbon is not installed correctly"
constexpr StringId IDS_INFO_NOT_AVAILABLE = 151;       // "Information on the device is not available."
constexpr StringId IDS_BLANK = 152;                    // " " (empty in Czech, Greek, Hungarian, Swedish)
constexpr StringId IDS_END_OF_RIBBON = 153;            // "End of ribbon"
constexpr StringId IDS_HELP_TEXT = 154;                // "- To cancel printing, click "Cancel" ..."
constexpr StringId IDS_REBOOT_PROMPT = 155;            // "Kestrel is not installed correctly. ..."
constexpr StringId IDS_PHASE_INITIALIZING = 156;       // "Initializing" (phase line)
constexpr StringId IDS_RIBBON_OVER = 157;              // "The ribbon is over"
constexpr StringId IDS_CHANGE_RIBBON_AND_CARD = 158;   // "Change ribbon and insert ribbon parameter card"
constexpr StringId IDS_RESUME = 159;                   // "Resume"

// Device information dialog.
constexpr StringId IDS_NOT_AVAILABLE = 160;        // "Not Available"
constexpr StringId IDS_PRINTER_NAME = 161;         // "Printer Name"
constexpr StringId IDS_PORT_NAME = 162;            // "Port Name"
constexpr StringId IDS_DRIVER_NAME = 163;          // "Driver Name"
constexpr StringId IDS_SHARED = 164;               // "Shared"
constexpr StringId IDS_DEVICE = 165;               // "Device"
constexpr StringId IDS_VENDOR_ID = 166;            // "Vendor ID"
constexpr StringId IDS_PRODUCT_ID = 167;           // "Product ID"
constexpr StringId IDS_SERIAL_NUMBER = 168;        // "Serial Number"
constexpr StringId IDS_FIRMWARE = 169;             // "Firmware"
constexpr StringId IDS_BOOT_LOADER = 170;          // "Boot Loader"
constexpr StringId IDS_PHOTO_COUNTER = 171;        // "Photo Counter"
constexpr StringId IDS_HEAD_RESISTOR_VALUE = 172;  // "Thermal Head Resistor Value"
constexpr StringId IDS_CONSUMABLE_VALUE = 173;     // "Consumable Value"
constexpr StringId IDS_INTERNAL_COUNTER = 174;     // "Internal Counter"
constexpr StringId IDS_DRIVER = 175;               // "Driver"
constexpr StringId IDS_PRODUCT_NAME = 176;         // "Product Name"
constexpr StringId IDS_PRODUCT_VERSION = 177;      // "Product Version"
constexpr StringId IDS_EXPORT = 178;               // "Export..."
constexpr StringId IDS_LOGS = 179;                 // "Logs..."
constexpr StringId IDS_YES = 180;                  // "Yes"
constexpr StringId IDS_NO = 181;                   // "No"
constexpr StringId IDS_MODEL = 182;                // "Model"
constexpr StringId IDS_INFO_FILES = 183;           // "Info Files"
constexpr StringId IDS_ALL_FILES = 184;            // "All Files"
constexpr StringId IDS_LOG_FILES = 185;            // "Log Files"
constexpr StringId IDS_DEVICE_NOT_CONNECTED = 186; // "Device is not connected"
constexpr StringId IDS_INTERNAL_COUNTERS = 187;    // "Internal Counters"

// WiFi dongle states.
constexpr StringId IDS_WIFI = 188;                      // "WiFi"
constexpr StringId IDS_WIFI_DONGLE_NOT_CONNECTED = 189; // "USB/WIFI dongle is not connected"
constexpr StringId IDS_WIFI_NOT_CONFIGURED = 190;       // "WIFI dongle ON - WIFI parameters not configured"
constexpr StringId IDS_WIFI_IP_NOT_CONFIGURED = 191;    // "WIFI dongle ON - IP parameters not configured"
constexpr StringId IDS_WIFI_READY = 192;                // "WIFI dongle ON - Ready for wireless printing"

// More printer errors.
constexpr StringId IDS_COVER_OPEN = 193;        // "Printer cover is open"
constexpr StringId IDS_PRINTER_NOT_READY = 194; // "Printer is not ready"

// Consumable-card errors.
constexpr StringId IDS_CONSUMABLE_COLORIMETRIC = 195;  // "Consumable not compliant (colorimetric tables)"
constexpr StringId IDS_CONSUMABLE_BRAND = 196;         // "Consumable not compliant (brand)"
constexpr StringId IDS_CONSUMABLE_MECHANICAL = 197;    // "Consumable not compliant (mechanical part)"
constexpr StringId IDS_CONSUMABLE_RIBBON = 198;        // "Consumable not compliant (ribbon)"
constexpr StringId IDS_CONSUMABLE_PRINTER = 199;       // "Consumable not compliant (printer)"
constexpr StringId IDS_CARD_UNREADABLE = 200;          // "Unreadable consumable card"
constexpr StringId IDS_CARD_UNKNOWN = 201;             // "Unknown consumable card"
constexpr StringId IDS_CARD_ALREADY_USED = 202;        // "Already used consumable card"
constexpr StringId IDS_CARD_COUNTER_LIMIT = 203;       // "Consumable counter limit reached"
constexpr StringId IDS_CARD_TRANSFER_ERROR = 204;      // "Consumable card transfer error"
constexpr StringId IDS_CARD_UNKNOWN_ERROR = 205;       // "Unknown consumable card error"
constexpr StringId IDS_MASTER_CARD_ALREADY_USED = 206; // "Already used master card"
constexpr StringId IDS_CHECK_CONSUMABLE_CARD = 207;    // "Check Consumable Card"

// System, file and wireless errors.
constexpr StringId IDS_SYSTEM_ERROR_INIT = 208;         // "System error (initialization)"
constexpr StringId IDS_SYSTEM_ERROR_MEMORY = 209;       // "System error (memory)"
constexpr StringId IDS_SYSTEM_ERROR_FILE = 210;         // "System error (file)"
constexpr StringId IDS_SYSTEM_ERROR_MEMORY_CARD = 211;  // "System error (memory card)"
constexpr StringId IDS_SYSTEM_ERROR_UNKNOWN = 212;      // "Unknown system error"
constexpr StringId IDS_FILE_CORRUPTED = 213;            // "File corrupted"
constexpr StringId IDS_FILE_FORMAT_NOT_SUPPORTED = 214; // "File format not supported"
constexpr StringId IDS_FILE_ERROR_UNKNOWN = 215;        // "Unknown file error"
constexpr StringId IDS_WIRELESS_TRANSFER_ERROR = 216;   // "Wireless transfer error"
constexpr StringId IDS_WIRELESS_FILE_TOO_BIG = 217;     // "Wireless file too big"
constexpr StringId IDS_WIRELESS_ERROR_UNKNOWN = 218;    // "Unknown wireless error"
constexpr StringId IDS_FEATURE_NOT_AVAILABLE = 219;     // "This feature is not available on this model"
constexpr StringId IDS_CONNECTION_LOST = 220;           // "Connection lost"
constexpr StringId IDS_CHECK_CONNECTION = 221;          // "Check connection with the printer"
constexpr StringId IDS_REMOVE_SHEET = 222;              // "Please remove the sheet from the printer"
constexpr StringId IDS_DATA_TRANSFER = 223;             // "Data transfer..."

// A Cancel or Resume that did not reach the printer (status window).
constexpr StringId IDS_CANCEL_FAILED = 224; // "Cancel failed. Please try again."
constexpr StringId IDS_RESUME_FAILED = 225; // "Resume failed. Please try again."
