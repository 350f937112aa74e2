#include "ui/help_dlg.h"

#include "resources/resource_ids.h"

CHelpDlg::CHelpDlg(HWND hParent)
    : CDialog(IDD_HELP_DIALOG), m_hParent(hParent), m_look("CHelpDlg", GetSysColor(COLOR_BTNFACE)) {}

INT_PTR CHelpDlg::DoModal() {
    return CDialog::DoModal(m_hParent);
}

BOOL CHelpDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_look.Attach(GetSafeHwnd(), {IDC_STATIC_HELP});
    SetDlgItemTextA(GetSafeHwnd(), IDC_STATIC_HELP, m_strText.c_str());
    return TRUE;
}

BOOL CHelpDlg::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    return m_look.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult);
}
