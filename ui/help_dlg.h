// A small modal dialog (template 140) that shows one block of text, in the
// look of the agent's dialogs. The status window shows how to cancel and
// resume from the printer's keys in it.
#pragma once

#include <string>

#include <windows.h>

#include "framework/dialog.h"
#include "ui/dialog_look.h"

class CHelpDlg : public CDialog {
public:
    explicit CHelpDlg(HWND hParent);

    void SetText(const std::string& strText) { m_strText = strText; }
    // Runs the dialog modally over the constructor's parent window.
    INT_PTR DoModal();

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    HWND m_hParent;
    CDialogLook m_look;
    std::string m_strText;
};
