#include "ui/ny_agent_dlg.h"

#include "monitor/status_messages.h"
#include "resources/resource_ids.h"

CNyAgentDlg::CNyAgentDlg(CDeviceControl* pDeviceControl)
    : CDialog(IDD_NYAGENT_DIALOG), m_pDeviceControl(pDeviceControl) {}

BOOL CNyAgentDlg::OnMessage(UINT nMessage, WPARAM, LPARAM, LRESULT& lResult) {
    // Every status message is taken and answered 1. What the window shows and
    // when it opens are decided by the window's layout and opening rules.
    if (nMessage < WM_NY_REFRESH || nMessage > WM_NY_DISCONNECTED)
        return FALSE;
    lResult = 1;
    return TRUE;
}
