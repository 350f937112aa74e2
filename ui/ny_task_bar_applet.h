// The agent's tray icon: its picture tells whether the printers are
// reachable, its tooltip names the product (and a printer in error), a double
// click opens the status windows, and a right click opens a menu with one
// entry per printer, the two automatic-opening switches, Open, About and Exit.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "monitor/tray_state.h"
#include "resources/resource_ids.h"
#include "ui/task_bar_applet.h"
#include "ui/tray_menu.h"
#include "ui/tray_menu_model.h"

class CAgentSettings;
class CDialogMonitor;

class CNyTaskBarApplet : public CTaskBarApplet, public CTrayState {
public:
    // A printer reports an error. The monitor window never sets it; the
    // applet shows it by itself (see ApplyState).
    static constexpr int kStateError = 3;
    // How often the printers' errors are looked at between synchronisations.
    static constexpr UINT kErrorCheckMs = 500;

    // The menu shows and flips the switches of settings, saved at the end of
    // the session.
    CNyTaskBarApplet(CDialogMonitor* pMonitor, CAgentSettings& settings);

    // 1 normal, 2 printers but none connected, 3 error.
    void SetState(int nState) override;
    void PostDestroy() override;

    UINT GetIconId() const { return m_nIconId; }
    std::string GetTip() const override { return m_strTip; }
    // The printer set as the menu shows it, in its order.
    std::vector<tray_menu::Printer> GetMenuPrinters() const;
    // The menu's items for those printers and the settings as they are now.
    std::vector<tray_menu::Item> GetMenuItems(const std::vector<tray_menu::Printer>& printers) const;
    // Builds the menu as a right click does; for the tests of its contents.
    const CTrayMenu& BuildMenu() {
        CreateMenu();
        return m_Menu;
    }
    void HandleMenuCommand(UINT nCommand) override;

    void OnLButtonDblClk() override;
    // Saves the switches the user changed and stops the devices.
    void OnEndSession() override;
    void OnTimer() override;
    BOOL OnOwnerDraw(HWND hWnd, UINT nMessage, LPARAM lParam) override;

protected:
    HICON GetIcon() override;
    HMENU CreateMenu() override;
    void DestroyMenu(HMENU hMenu) override;
    BOOL OnInit(const char* pszArgument) override;

private:
    // Icon and tip for the monitor window's state and the printers' errors;
    // TRUE when either changed.
    BOOL ApplyState();
    void ToggleSetting(UINT nCommand, const char* pszSymbol);

    CDialogMonitor* m_pMonitor;
    CAgentSettings& m_settings;
    CTrayMenu m_Menu;
    // The printers of the menu last built, in the order of their commands.
    std::vector<tray_menu::Printer> m_MenuPrinters;
    std::string m_strTip;
    UINT m_nIconId = IDI_ICON_PRINTER;
    // The last state the monitor window set; 0 before the first.
    int m_nState = 0;
};
