// The About dialog (template 100): the agent's name, version and legal line
// from its version record, and the device information of every monitored
// printer as a tree, which can be exported to an ".Info" file. Modal; it reads
// the printers once, when it opens.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "framework/dialog.h"
#include "ui/device_tree.h"
#include "ui/device_tree_view.h"
#include "ui/dialog_look.h"
#include "ui/unique_gdi.h"

class CDialogMonitor;

class CAboutDlg : public CDialog {
public:
    // pMonitor's printer set is listed; neither is owned.
    CAboutDlg(CDialogMonitor* pMonitor, HWND hParent);

    // Runs the dialog modally, or brings the one already open to the front:
    // its modal loop still serves the tray icon, whose menu may ask again.
    static void Show(CDialogMonitor* pMonitor);

    // The export once its file is chosen; FALSE, traced, when the file cannot be created.
    BOOL Export(const char* pszPath) const;
    // Runs modally over the parent given at construction.
    using CDialog::DoModal;
    INT_PTR DoModal() { return CDialog::DoModal(m_hParent); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    static std::string ReadVersionString(const char* pszKey);
    void OnPaint();
    void OnButton1();

    CDialogLook m_look;
    CUniqueIcon m_hIcon;
    CDialogMonitor* m_pMonitor;
    CTreeImageList m_ImageList;
    HWND m_hParent;
    std::string m_strVersion;
    std::string m_strLegal;
    std::vector<device_tree::Item> m_printers;

    static CAboutDlg* s_pOpen;
};
