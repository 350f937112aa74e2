// Ids of the dialog templates and of their controls, shared by the resource
// script and the code. Plain macros, since the resource compiler reads this
// file too and understands nothing else.
#ifndef NY_RESOURCE_IDS_H
#define NY_RESOURCE_IDS_H

// Dialog templates.
#define IDD_ABOUTBOX 100       // the About dialog
#define IDD_NYAGENT_DIALOG 102 // a printer's status window
#define IDD_HELP_DIALOG 140    // the status window's help text
#define IDD_DIALOG_MONITOR 141 // the hidden monitor window
#define IDD_INFO_DIALOG 149    // a printer's device information

// Controls of the status window. The push buttons keep the system's ids:
// 1 OK or Close, 2 Cancel, 3 Resume.
#define IDC_BUTTON_RESUME 3
#define IDC_BUTTON_HELP 101       // owner-drawn, created at run time
#define IDC_BUTTON_PROPERTIES 102 // owner-drawn, created at run time
#define IDC_STATIC_CAPTION 1002   // the printer name
#define IDC_STATIC_DETAIL 1003    // detail, advice or phase
#define IDC_STATIC_HINT 1004
#define IDC_STATIC_MESSAGE 1005 // the state line
#define IDC_STATIC_TASK_PERCENT 1007
#define IDC_STATIC_TOTAL_PERCENT 1008
#define IDC_STATIC_TASK 1009
#define IDC_STATIC_TOTAL 1010
#define IDC_PROGRESS_TASK 1013  // the task bar, created at run time
#define IDC_PROGRESS_TOTAL 1014 // the total bar, created at run time

// Controls of the help dialog.
#define IDC_STATIC_HELP 1011 // the help text

// Controls of the About and device information dialogs.
#define IDC_STATIC_VERSION 1011 // About: the version line
#define IDC_STATIC_LEGAL 1020   // About: the legal line
#define IDC_BUTTON_EXPORT 1025
#define IDC_BUTTON_LOGS 1026 // information dialog, shown for USB printers only
#define IDC_TREE_DEVICE 1027

// Icons and the background bitmap, drawn by scripts/make-icons.py. Each icon
// holds a 256-colour 16 x 16 image and 32-bit images from 16 to 48 pixels.
#define IDR_MAINFRAME 128             // status window: the printer printing a photo
#define IDI_ICON_PRINTER 131          // tray and menu: connected
#define IDI_ICON_PRINTER_ERROR 132    // tray and menu: in error (red cross)
#define IDI_ICON_PRINTER_PRINTING 133 // menu: printing (a sheet coming out)
#define IDI_ICON_PRINTER_OFFLINE 134  // tray and menu: not connected (prohibition sign)
#define IDI_ICON_ABOUT 136            // About dialog, painted large
#define IDI_ICON_HELP 137
#define IDI_ICON_FOCUSED_HELP 138
#define IDI_ICON_SELECTED_HELP 139
#define IDB_BACKGROUND 145 // tile of the status window's pattern brush
#define IDI_ICON_PROPERTIES 146
#define IDI_ICON_FOCUSED_PROPERTIES 147
#define IDI_ICON_SELECTED_PROPERTIES 148
#define IDI_ICON_DISABLED_PROPERTIES 172
// Device information tree: pairs of a normal and a selected image, 150 to 171.
#define IDI_TREE_FIRST 150
#define IDI_TREE_PRINTER 150
#define IDI_TREE_PRINTER_SELECTED 151
#define IDI_TREE_SHARED 152
#define IDI_TREE_SHARED_SELECTED 153
#define IDI_TREE_DEVICE 154
#define IDI_TREE_DEVICE_SELECTED 155
#define IDI_TREE_COUNTERS 156
#define IDI_TREE_COUNTERS_SELECTED 157
#define IDI_TREE_FIRMWARE 158
#define IDI_TREE_FIRMWARE_SELECTED 159
#define IDI_TREE_PORT 160
#define IDI_TREE_PORT_SELECTED 161
#define IDI_TREE_HEAD 162
#define IDI_TREE_HEAD_SELECTED 163
#define IDI_TREE_PHOTOS 164
#define IDI_TREE_PHOTOS_SELECTED 165
#define IDI_TREE_INFO 166
#define IDI_TREE_INFO_SELECTED 167
#define IDI_TREE_DRIVER 168
#define IDI_TREE_DRIVER_SELECTED 169
#define IDI_TREE_WIFI 170
#define IDI_TREE_WIFI_SELECTED 171
#define IDI_TREE_LAST 171

#endif
