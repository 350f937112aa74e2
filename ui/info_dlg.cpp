#include "ui/info_dlg.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/nyagent_app.h"
#include "app/strings.h"
#include "framework/scoped_dc.h"
#include "resources/resource_ids.h"
#include "ui/device_export.h"
#include "ui/export_file.h"
#include "ui/menu_layout.h"
#include "ui/unicode_file.h"

namespace {

// Button and margin sizes in pixels at 96 DPI.
constexpr int kMinButtonWidth = 70;
constexpr int kMinButtonHeight = 23;
constexpr int kMargin = 10;
constexpr int kButtonGap = 20;

} // namespace

CInfoDlg::CInfoDlg(const CDeviceControl* pDeviceControl, CDeviceInformation* pInformation)
    : CDialog(IDD_INFO_DIALOG), m_pDeviceControl(pDeviceControl),
      m_look("CAboutDlg", GetSysColor(COLOR_BTNFACE), "CInfoDlg"), m_pInformation(pInformation) {
    InitTreeViewClass();
}

BOOL CInfoDlg::OnInitDialog() {
    const HWND hDlg = GetSafeHwnd();
    m_look.KeepSystemBrush(IDC_TREE_DEVICE);
    m_look.Attach(hDlg, {IDC_TREE_DEVICE, IDC_BUTTON_EXPORT, IDC_BUTTON_LOGS, IDOK});
    SetDlgItemTextA(hDlg, IDC_BUTTON_EXPORT, LoadString(IDS_EXPORT).c_str());
    SetDlgItemTextA(hDlg, IDC_BUTTON_LOGS, LoadString(IDS_LOGS).c_str());
    SetDlgItemTextA(hDlg, IDOK, LoadString(IDS_DIALOG_CLOSE).c_str());
    Layout();
    ShowWindow(GetDlgItem(hDlg, IDC_BUTTON_LOGS),
               m_pDeviceControl->GetPortType() == CDeviceControl::kPortUsb ? SW_SHOW : SW_HIDE);

    const HWND hTree = GetDlgItem(hDlg, IDC_TREE_DEVICE);
    m_ImageList.Load(m_look.GetDpi());
    SendMessageA(hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_ImageList.Get()));
    m_tree = FillDeviceTree(*m_pDeviceControl, *m_pInformation, hTree, TVI_ROOT);
    const LRESULT hRoot = SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    if (hRoot)
        SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, hRoot);
    return TRUE;
}

BOOL CInfoDlg::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (m_look.OnMessage(GetSafeHwnd(), nMessage, wParam, lParam, lResult))
        return TRUE;
    if (nMessage != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_BUTTON_EXPORT:
        OnButton1();
        return TRUE;
    case IDC_BUTTON_LOGS:
        OnButton2();
        return TRUE;
    default:
        return FALSE;
    }
}

SIZE CInfoDlg::GetLabelSize(int nId) const {
    SIZE size = {0, 0};
    const HWND hControl = GetDlgItem(GetSafeHwnd(), nId);
    if (!hControl) {
        DebugTrace("CInfoDlg::GetLabelSize() : GetDlgItem(%d) rteurns NULL\n", nId);
        return size;
    }
    wchar_t szText[256] = {};
    const int nLength = GetWindowTextW(hControl, szText, static_cast<int>(std::size(szText)));
    const CWindowDC dc(hControl);
    const CSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(hControl, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc.Get(), szText, nLength, &size);
    return size;
}

// The buttons share one size and stand in a column at the right; the tree fills the rest.
void CInfoDlg::Layout() {
    const HWND hDlg = GetSafeHwnd();
    const unsigned nDpi = m_look.GetDpi();
    SIZE button = {menu_layout::ScaleForDpi(kMinButtonWidth, nDpi),
                   menu_layout::ScaleForDpi(kMinButtonHeight, nDpi)};
    for (const int nId : {IDC_BUTTON_EXPORT, IDC_BUTTON_LOGS, IDOK}) {
        const SIZE label = GetLabelSize(nId);
        button.cx = std::max(button.cx, label.cx);
        button.cy = std::max(button.cy, label.cy);
    }
    const int nMargin = menu_layout::ScaleForDpi(kMargin, nDpi);
    RECT client = {};
    GetClientRect(hDlg, &client);
    const int nButtonLeft = client.right - nMargin - button.cx;
    const auto Place = [&](int nId, int nLeft, int nTop, int nWidth, int nHeight) {
        if (const HWND hControl = GetDlgItem(hDlg, nId))
            MoveWindow(hControl, nLeft, nTop, nWidth, nHeight, FALSE);
    };
    Place(IDC_BUTTON_EXPORT, nButtonLeft, nMargin, button.cx, button.cy);
    Place(IDC_BUTTON_LOGS, nButtonLeft, nMargin + button.cy + menu_layout::ScaleForDpi(kButtonGap, nDpi),
          button.cx, button.cy);
    Place(IDOK, nButtonLeft, client.bottom - nMargin - button.cy, button.cx, button.cy);
    Place(IDC_TREE_DEVICE, nMargin, nMargin,
          nButtonLeft - menu_layout::ScaleForDpi(kButtonGap, nDpi) - nMargin, client.bottom - 2 * nMargin);
}

BOOL CInfoDlg::ExportInformation(const char* pszPath) const {
    CUnicodeFile file;
    if (!file.Open(pszPath)) {
        DebugTrace("CInfoDlg::OnButton1() : Open() failed. GetLastError() = \n");
        return FALSE;
    }
    return file.WriteString(device_export::InfoText(ExportTimeNow(), m_tree));
}

BOOL CInfoDlg::ExportLogs(const char* pszPath) const {
    std::ofstream file(pszPath, std::ios::binary | std::ios::trunc);
    if (!file) {
        DebugTrace("CInfoDlg::OnButton2() : Open() failed. GetLastError() = \n");
        return FALSE;
    }
    const CDeviceControl& control = *m_pDeviceControl;
    const device_export::LogReader reader{[&](std::uint16_t& wCount) -> std::uint32_t {
                                              WORD w = 0;
                                              const DWORD dwError = control.GetNumberOfLogs(&w);
                                              wCount = w;
                                              return dwError;
                                          },
                                          [&](std::uint16_t wIndex, DEVICE_LOG& log) -> std::uint32_t {
                                              return control.GetLogs(wIndex, &log);
                                          }};
    file << device_export::LogText(ExportTimeNow(), reader);
    return file.good() ? TRUE : FALSE;
}

void CInfoDlg::OnButton1() {
    std::string strPath;
    if (AskSaveFileName(GetSafeHwnd(), IDS_INFO_FILES, "Info", strPath))
        ExportInformation(strPath.c_str());
}

void CInfoDlg::OnButton2() {
    if (!m_pDeviceControl->IsConnected()) {
        MessageBoxA(GetSafeHwnd(), LoadString(IDS_DEVICE_NOT_CONNECTED).c_str(),
                    CNyAgentApp::GetProductName(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string strPath;
    if (AskSaveFileName(GetSafeHwnd(), IDS_LOG_FILES, "Log", strPath))
        ExportLogs(strPath.c_str());
}
