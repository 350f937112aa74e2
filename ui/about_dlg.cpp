#include "ui/about_dlg.h"

#include "app/nyagent_app.h"
#include "app/strings.h"
#include "monitor/dialog_monitor.h"
#include "resources/resource_ids.h"
#include "ui/device_export.h"
#include "ui/export_file.h"
#include "ui/menu_layout.h"
#include "ui/unicode_file.h"

namespace {

// Where the large icon is painted, in pixels at 96 DPI.
constexpr int kIconLeft = 20;
constexpr int kIconTop = 20;
constexpr int kIconSize = 75;

} // namespace

CAboutDlg* CAboutDlg::s_pOpen = nullptr;

CAboutDlg::CAboutDlg(CDialogMonitor* pMonitor, HWND hParent)
    : CDialog(IDD_ABOUTBOX), m_look("CAboutDlg", GetSysColor(COLOR_BTNFACE), "CNyAgentDlg"),
      m_pMonitor(pMonitor), m_hParent(hParent) {
    InitTreeViewClass();
}

void CAboutDlg::Show(CDialogMonitor* pMonitor) {
    if (s_pOpen) {
        SetForegroundWindow(s_pOpen->GetSafeHwnd());
        return;
    }
    CAboutDlg dialog(pMonitor, nullptr);
    s_pOpen = &dialog;
    dialog.DoModal();
    s_pOpen = nullptr;
}

std::string CAboutDlg::ReadVersionString(const char* pszKey) {
    std::string strValue;
    if (!CNyAgentApp::GetVersionInformation(pszKey, strValue)) {
        DebugTrace("CNyAgentDlg::OnInitDialog() : Unable to read %s\n", pszKey);
        return "???";
    }
    return strValue;
}

BOOL CAboutDlg::OnInitDialog() {
    const HWND hDlg = GetSafeHwnd();
    m_look.KeepSystemBrush(IDC_TREE_DEVICE);
    m_look.Attach(hDlg, {IDC_STATIC_VERSION, IDC_STATIC_LEGAL, IDC_TREE_DEVICE, IDOK});

    const std::string strDescription = ReadVersionString("FileDescription");
    WORD wMajor = 0, wMinor = 0, wBuild = 0, wRevision = 0;
    if (!CNyAgentApp::GetProductVersion(wMajor, wMinor, wBuild, wRevision)) {
        DebugTrace("CNyAgentDlg::OnInitDialog() : Unable to read Product Version\n");
        wMajor = wMinor = wBuild = 0;
    }
    SetWindowTextA(hDlg, FormatString(IDS_ABOUT_TITLE, strDescription.c_str()).c_str());
    m_strVersion = FormatString(IDS_VERSION_FORMAT, strDescription.c_str(), static_cast<int>(wMajor),
                                static_cast<int>(wMinor), static_cast<int>(wBuild));
    SetDlgItemTextA(hDlg, IDC_STATIC_VERSION, m_strVersion.c_str());
    SetDlgItemTextA(hDlg, IDC_BUTTON_EXPORT, LoadString(IDS_EXPORT).c_str());
    SetDlgItemTextA(hDlg, IDOK, LoadString(IDS_DIALOG_CLOSE).c_str());
    const std::string strCopyright = ReadVersionString("LegalCopyright");
    m_strLegal = strCopyright + " " + ReadVersionString("CompanyName");
    SetDlgItemTextA(hDlg, IDC_STATIC_LEGAL, m_strLegal.c_str());

    const int nIconSize = menu_layout::ScaleForDpi(kIconSize, m_look.GetDpi());
    m_hIcon.Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ICON_ABOUT),
                                                IMAGE_ICON, nIconSize, nIconSize, 0)));
    if (!m_hIcon)
        DebugTrace("CAboutDlg::OnInitDialog() : LoadImage() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));

    const HWND hTree = GetDlgItem(hDlg, IDC_TREE_DEVICE);
    m_ImageList.Load(m_look.GetDpi());
    SendMessageA(hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_ImageList.Get()));
    if (m_pMonitor)
        m_pMonitor->GetPrinters().ForEach([&](const CDeviceControl& control) {
            CDeviceInformation information;
            control.ReadDeviceInformation(information);
            m_printers.push_back(FillDeviceTree(control, information, hTree, TVI_ROOT));
        });
    return TRUE;
}

BOOL CAboutDlg::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (m_look.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult))
        return TRUE;
    switch (nMessage) {
    case WM_PAINT:
        OnPaint();
        lResult = 0;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_BUTTON_EXPORT || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        OnButton1();
        return TRUE;
    default:
        return FALSE;
    }
}

void CAboutDlg::OnPaint() {
    PAINTSTRUCT paint;
    const HDC hdc = BeginPaint(GetSafeHwnd(), &paint);
    if (m_hIcon) {
        const unsigned nDpi = m_look.GetDpi();
        const int nSize = menu_layout::ScaleForDpi(kIconSize, nDpi);
        DrawIconEx(hdc, menu_layout::ScaleForDpi(kIconLeft, nDpi), menu_layout::ScaleForDpi(kIconTop, nDpi),
                   m_hIcon.Get(), nSize, nSize, 0, nullptr, DI_NORMAL);
    }
    EndPaint(GetSafeHwnd(), &paint);
}

BOOL CAboutDlg::Export(const char* pszPath) const {
    CUnicodeFile file;
    if (!file.Open(pszPath)) {
        DebugTrace("CAboutDlg::OnButton1() : Open() failed. GetLastError() = \n");
        return FALSE;
    }
    return file.WriteString(device_export::AboutText(ExportTimeNow(), m_strVersion, m_strLegal, m_printers));
}

void CAboutDlg::OnButton1() {
    std::string strPath;
    if (AskSaveFileName(GetSafeHwnd(), IDS_INFO_FILES, "Info", strPath))
        Export(strPath.c_str());
}
