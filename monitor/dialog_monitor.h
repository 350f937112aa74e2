// The hidden monitor window (template 141): the monitoring core's clock and
// ears. It owns the printer set, ticks every 100 ms, and turns the system's
// device, settings and power notifications into updates of the set.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "monitor/printers.h"
#include "monitor/status_board.h"
#include "monitor/status_board_feed.h"

class CDeviceSource;
class CStatusWindowSource;
class CTrayState;

class CDialogMonitor : public CDialog {
public:
    // The initialisation message: wParam is the tray (CTrayState*), lParam 0.
    // Answered 1.
    static constexpr UINT kMessageInit = WM_USER + 1;
    // Answered 1, with no other effect.
    static constexpr UINT kMessageNone = WM_USER + 2;
    // Runs an update that had to wait: one asked for while another ran, or
    // while a request or a dialog of the user-interface thread was running.
    static constexpr UINT kMessageUpdate = WM_USER + 3;
    // A printer's controller heard a status change (lParam: the controller):
    // the status board takes the printer again. Answered 1.
    static constexpr UINT kMessageStatusChanged = WM_USER + 4;
    static constexpr UINT_PTR s_nTimerPollID = 1;
    static constexpr UINT s_nTimerPollMs = 100;
    static constexpr UINT_PTR s_nTimerDeviceChangeID = 2;
    static constexpr UINT s_nTimerDeviceChangeMs = 20;
    // An update whose printer enumeration failed is tried again after this.
    static constexpr UINT_PTR s_nTimerRetryID = 3;
    static constexpr UINT s_nTimerRetryMs = 500;
    // The installation check runs every this many poll ticks.
    static constexpr DWORD s_nTicksPerInstallationCheck = 30;

    CDialogMonitor(CDeviceSource& devices, CStatusWindowSource& windowSource, BOOL bUseNyStatusMonitor);
    ~CDialogMonitor() override;

    // Kills the timers, then destroys the window.
    void DestroyWindow();

    // Null shows every printer's status window, a name that printer's.
    void ShowWindows(const char* pszPrinterName);
    // Every status window and device is gone afterwards (the tray's Exit).
    void RemoveAllPrinters();
    // The printer set, for the tray's menu and icon.
    const CPrinters& GetPrinters() const { return m_printers; }
    // The printers' last status, for the status pipe.
    CStatusBoard& GetStatusBoard() { return m_board; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void OnInit(CTrayState* pApplet);
    void OnDeviceChange();
    void OnWinIniChange();
    // On Windows 2000 a second update follows each notification 20 ms later.
    void RestartDeviceChangeTimer(const char* pszHandler);
    void OnTimer(UINT_PTR nIDEvent);
    void OnTimerPoll();
    void OnTimerDeviceChange();
    void OnTimerRetry();
    void InitOrUpdatePrintersAndDevicesList();
    LRESULT OnPowerBroadcast(WPARAM nPowerEvent);

    CPrinters m_printers;
    CStatusBoard m_board;
    CStatusBoardFeed m_feed{m_board};
    CDeviceSource& m_devices;
    CTrayState* m_pApplet = nullptr;
    UINT_PTR m_nTimerPoll = 0;
    UINT_PTR m_nTimerDeviceChange = 0;
    UINT_PTR m_nTimerRetry = 0;
    DWORD m_nTicks = 0;
    BOOL m_bUpdating = FALSE;
    // An update was asked for while it could not run; it runs once it can.
    BOOL m_bUpdatePending = FALSE;
};
