#include "ui/ny_task_bar_applet.h"

#include "app/agent_settings.h"
#include "app/nyagent_app.h"
#include "app/strings.h"
#include "framework/nested_loop.h"
#include "monitor/dialog_monitor.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "ui/about_dlg.h"
#include "ui/tray_tip.h"

namespace {

// Flat whether or not the visual-styles theme is active.
menu_layout::Settings FlatMenu() {
    menu_layout::Settings settings;
    settings.bFlatWhenThemed = true;
    settings.bFlatWhenNotThemed = true;
    return settings;
}

} // namespace

CNyTaskBarApplet::CNyTaskBarApplet(CDialogMonitor* pMonitor, CAgentSettings& settings)
    : m_pMonitor(pMonitor), m_settings(settings), m_Menu(FlatMenu()) {}

void CNyTaskBarApplet::SetState(int nState) {
    m_strTip = CNyAgentApp::GetProductName();
    if (nState != kStateNormal && nState != kStateNoConnection && nState != kStateError) {
        DebugTrace("CNyTaskBarApplet::SetState() : Unknown state %d\n", nState);
        return;
    }
    m_nState = nState;
    ApplyState();
    UpdateIcon();
}

// The third state is our own choice: the monitor window decides only between
// "normal" and "printers but none connected", and the applet shows the error
// icon over both whenever a connected printer reports an error, naming that
// printer (the first in the set's order) in the tip. A printer that is not
// connected counts as not connected, whatever its last record said, as its
// menu entry does. Errors come and go between synchronisations, so the applet
// looks again every kErrorCheckMs.
BOOL CNyTaskBarApplet::ApplyState() {
    if (m_nState == 0)
        return FALSE;
    std::string strErrorPrinter;
    bool bError = false;
    if (m_pMonitor)
        m_pMonitor->GetPrinters().ForEach([&](const CDeviceControl& control) {
            if (!bError && control.IsConnected() && control.IsError()) {
                bError = true;
                strErrorPrinter = control.GetPrinterName();
            }
        });
    const std::string strProduct = CNyAgentApp::GetProductName();
    UINT nIconId = IDI_ICON_PRINTER;
    std::string strTip = strProduct;
    if (bError) {
        nIconId = IDI_ICON_PRINTER_ERROR;
        strTip = tray_tip::ErrorTip(strProduct, strErrorPrinter);
    } else if (m_nState == kStateError) {
        nIconId = IDI_ICON_PRINTER_ERROR;
    } else if (m_nState == kStateNoConnection) {
        nIconId = IDI_ICON_PRINTER_OFFLINE;
    }
    const BOOL bChanged = nIconId != m_nIconId || strTip != m_strTip;
    m_nIconId = nIconId;
    m_strTip = strTip;
    return bChanged;
}

void CNyTaskBarApplet::PostDestroy() {
    PostAppletMessage(WM_DESTROY, 0, 0);
}

HICON CNyTaskBarApplet::GetIcon() {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIconId), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         LR_SHARED));
}

std::vector<tray_menu::Printer> CNyTaskBarApplet::GetMenuPrinters() const {
    std::vector<tray_menu::Printer> printers;
    if (m_pMonitor)
        m_pMonitor->GetPrinters().ForEach([&](const CDeviceControl& control) {
            printers.push_back({control.GetPrinterName(), control.IsConnected() != FALSE,
                                control.IsError() != FALSE, control.IsPrinting() != FALSE});
        });
    return printers;
}

std::vector<tray_menu::Item>
CNyTaskBarApplet::GetMenuItems(const std::vector<tray_menu::Printer>& printers) const {
    tray_menu::Texts texts;
    texts.strAbout = LoadString(IDS_MENU_ABOUT);
    texts.strOpenOnError = LoadString(IDS_MENU_OPEN_ON_ERROR);
    texts.strOpenWhenPrinting = LoadString(IDS_MENU_OPEN_WHEN_PRINTING);
    texts.strOpen = LoadString(IDS_MENU_OPEN);
    texts.strExit = LoadString(IDS_MENU_EXIT);
    return tray_menu::BuildItems(texts, printers, m_settings.GetOpenOnErrorSetting() != FALSE,
                                 m_settings.GetOpenWhenPrintingSetting() != FALSE);
}

HMENU CNyTaskBarApplet::CreateMenu() {
    // The printers as the menu shows them: a chosen entry names its printer.
    m_MenuPrinters = GetMenuPrinters();
    m_Menu.Build(GetMenuItems(m_MenuPrinters));
    return m_Menu.GetSafeHmenu();
}

void CNyTaskBarApplet::DestroyMenu(HMENU) {
    m_Menu.DestroyMenu();
}

BOOL CNyTaskBarApplet::OnInit(const char*) {
    SetTimer(kErrorCheckMs);
    return TRUE;
}

void CNyTaskBarApplet::OnTimer() {
    if (ApplyState())
        UpdateIcon();
}

BOOL CNyTaskBarApplet::OnOwnerDraw(HWND hWnd, UINT nMessage, LPARAM lParam) {
    return m_Menu.OnOwnerDrawMessage(hWnd, nMessage, lParam);
}

void CNyTaskBarApplet::OnEndSession() {
    m_settings.Save();
    if (!m_pMonitor)
        return;
    // Under a dialog or a request, whose code would go on with what the
    // removal deletes, the loops are only ended: the process's end does the rest.
    if (CNestedLoop::IsActive())
        CNestedLoop::EndAll();
    else
        m_pMonitor->RemoveAllPrinters();
}

void CNyTaskBarApplet::OnLButtonDblClk() {
    if (m_pMonitor)
        m_pMonitor->ShowWindows(nullptr);
}

void CNyTaskBarApplet::ToggleSetting(UINT nCommand, const char* pszSymbol) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (!GetMenuItemInfoA(m_Menu.GetSafeHmenu(), nCommand, FALSE, &info)) {
        DebugTrace(
            "CNyTaskBarApplet::HandleMenuCommand(%s) : GetMenuItemInfo() failed. GetLastError() = %d\n",
            pszSymbol, static_cast<int>(GetLastError()));
        return;
    }
    const BOOL bChecked = (info.fState & MFS_CHECKED) != 0;
    if (nCommand == tray_menu::kOpenOnError)
        m_settings.SetOpenOnErrorSetting(!bChecked);
    else
        m_settings.SetOpenWhenPrintingSetting(!bChecked);
}

void CNyTaskBarApplet::HandleMenuCommand(UINT nCommand) {
    switch (nCommand) {
    case tray_menu::kOpenOnError:
        ToggleSetting(nCommand, "IDS_M_ERR_OPEN");
        return;
    case tray_menu::kOpenWhenPrinting:
        ToggleSetting(nCommand, "IDS_M_PRINT_OPEN");
        return;
    case tray_menu::kAbout:
        CAboutDlg::Show(m_pMonitor);
        return;
    case tray_menu::kOpen:
        OnLButtonDblClk();
        return;
    case tray_menu::kExit:
        // A request or a dialog below this menu may still use a printer's
        // window or device: it is asked to end, and Exit comes back once it
        // has returned.
        if (CNestedLoop::IsActive()) {
            CNestedLoop::EndAll();
            PostMenuCommand(nCommand);
            return;
        }
        if (m_pMonitor)
            m_pMonitor->RemoveAllPrinters();
        Quit();
        return;
    default:
        break;
    }
    // Separators and a dismissed menu give 0.
    if (nCommand < tray_menu::kFirstPrinter)
        return;
    const tray_menu::Printer* pPrinter = tray_menu::FindPrinter(m_MenuPrinters, nCommand);
    if (!pPrinter) {
        DebugTrace("CNyTaskBarApplet::HandleMenuCommand() : GetMenuText() returns FALSE\n");
        return;
    }
    if (m_pMonitor)
        m_pMonitor->ShowWindows(pPrinter->strName.c_str());
}
