// Ids of the dialog templates and of their controls, shared by the resource
// script and the code. Plain macros, since the resource compiler reads this
// file too and understands nothing else.
#ifndef NY_RESOURCE_IDS_H
#define NY_RESOURCE_IDS_H

// Dialog templates.
#define IDD_NYAGENT_DIALOG 102 // a printer's status window
#define IDD_DIALOG_MONITOR 141 // the hidden monitor window

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

#endif
