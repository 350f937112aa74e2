// The device information dialog (template 149): everything the agent knows
// about one printer as a tree, its export to an ".Info" file, and for a USB
// printer the export of the printer's internal log to a ".Log" file. Modal;
// it shows what was read before it opened and never refreshes.
#pragma once

#include <string>

#include <windows.h>

#include "framework/dialog.h"
#include "monitor/device_control.h"
#include "monitor/device_information.h"
#include "ui/device_tree.h"
#include "ui/device_tree_view.h"
#include "ui/dialog_look.h"

class CInfoDlg : public CDialog {
public:
    // Neither is owned; both outlive the dialog.
    CInfoDlg(const CDeviceControl* pDeviceControl, CDeviceInformation* pInformation);

    // The exports once their file is chosen; FALSE, traced, when the file
    // cannot be created.
    BOOL ExportInformation(const char* pszPath) const;
    BOOL ExportLogs(const char* pszPath) const;

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    // The text size of a control's label; 0 x 0, traced, for a missing control.
    SIZE GetLabelSize(int nId) const;
    void Layout();
    void OnButton1();
    void OnButton2();

    const CDeviceControl* m_pDeviceControl;
    CTreeImageList m_ImageList;
    CDialogLook m_look;
    CDeviceInformation* m_pInformation;
    device_tree::Item m_tree;
};
