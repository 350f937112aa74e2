#include "monitor/dialog_monitor.h"

#include "app/destruction_event.h"
#include "app/trace.h"
#include "app/winver.h"
#include "framework/nested_loop.h"
#include "monitor/device.h"
#include "monitor/device_source.h"
#include "monitor/installation_check.h"
#include "monitor/tray_state.h"
#include "resources/resource_ids.h"

CDialogMonitor::CDialogMonitor(CDeviceSource& devices, CStatusWindowSource& windowSource,
                               BOOL bUseNyStatusMonitor)
    : CDialog(IDD_DIALOG_MONITOR), m_printers(windowSource, bUseNyStatusMonitor), m_devices(devices) {}

CDialogMonitor::~CDialogMonitor() {
    DestroyWindow();
}

void CDialogMonitor::DestroyWindow() {
    if (m_nTimerPoll) {
        KillTimer(m_nTimerPoll);
        m_nTimerPoll = 0;
    }
    if (m_nTimerDeviceChange) {
        KillTimer(m_nTimerDeviceChange);
        m_nTimerDeviceChange = 0;
    }
    if (m_nTimerRetry) {
        KillTimer(m_nTimerRetry);
        m_nTimerRetry = 0;
    }
    CDialog::DestroyWindow();
}

void CDialogMonitor::ShowWindows(const char* pszPrinterName) {
    m_printers.ShowWindows(pszPrinterName);
}

void CDialogMonitor::RemoveAllPrinters() {
    m_printers.RemoveAllPrinters();
    m_feed.Synchronise(m_printers);
}

BOOL CDialogMonitor::OnInitDialog() {
    CDialog::OnInitDialog();
    m_nTimerPoll = SetTimer(s_nTimerPollID, s_nTimerPollMs);
    if (!m_nTimerPoll)
        DebugTrace("CDialogMonitor::OnInitDialog() : SetTimer(s_nTimerPollID) failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    return TRUE;
}

BOOL CDialogMonitor::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    switch (nMessage) {
    case kMessageInit:
        OnInit(reinterpret_cast<CTrayState*>(wParam));
        lResult = 1;
        return TRUE;
    case kMessageNone:
        lResult = 1;
        return TRUE;
    case kMessageUpdate:
        InitOrUpdatePrintersAndDevicesList();
        lResult = 1;
        return TRUE;
    case kMessageStatusChanged:
        m_feed.Update(m_printers, reinterpret_cast<const CDeviceControl*>(lParam));
        lResult = 1;
        return TRUE;
    case WM_POWERBROADCAST:
        lResult = OnPowerBroadcast(wParam);
        return TRUE;
    // The rest go on to the default handling afterwards.
    case WM_TIMER:
        OnTimer(wParam);
        return FALSE;
    case WM_DEVICECHANGE:
        OnDeviceChange();
        return FALSE;
    case WM_WININICHANGE:
        OnWinIniChange();
        return FALSE;
    default:
        return FALSE;
    }
}

void CDialogMonitor::OnInit(CTrayState* pApplet) {
    DebugTrace("CDialogMonitor::OnInit\n");
    m_pApplet = pApplet;
    m_printers.SetMonitor(GetSafeHwnd());
    InitOrUpdatePrintersAndDevicesList();
}

void CDialogMonitor::OnDeviceChange() {
    DebugTrace("CDialogMonitor::OnDeviceChange()\n");
    InitOrUpdatePrintersAndDevicesList();
    RestartDeviceChangeTimer("OnDeviceChange");
}

void CDialogMonitor::OnWinIniChange() {
    DebugTrace("CDialogMonitor::OnWinIniChange()\n");
    InitOrUpdatePrintersAndDevicesList();
    RestartDeviceChangeTimer("OnWinIniChange");
}

void CDialogMonitor::RestartDeviceChangeTimer(const char* pszHandler) {
    if (!IsWin2000())
        return;
    if (m_nTimerDeviceChange)
        KillTimer(m_nTimerDeviceChange);
    m_nTimerDeviceChange = SetTimer(s_nTimerDeviceChangeID, s_nTimerDeviceChangeMs);
    if (!m_nTimerDeviceChange)
        DebugTrace("CDialogMonitor::%s() : SetTimer(m_nTimerDeviceChange) failed. GetLastError() = %d\n",
                   pszHandler, static_cast<int>(GetLastError()));
}

void CDialogMonitor::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case s_nTimerPollID:
        OnTimerPoll();
        break;
    case s_nTimerDeviceChangeID:
        OnTimerDeviceChange();
        break;
    case s_nTimerRetryID:
        OnTimerRetry();
        break;
    default:
        DebugTrace("CDialogMonitor::OnTimer() : nIDEvent = %d unmatched\n", static_cast<int>(nIDEvent));
        break;
    }
}

void CDialogMonitor::OnTimerPoll() {
    ++m_nTicks;
    if (IsDestructionRequested() && m_pApplet)
        m_pApplet->PostDestroy();
    if (m_nTicks % s_nTicksPerInstallationCheck == 0 && IsWin98() && CDevice::CheckPrintersInstallation()) {
        DebugTrace("CDialogMonitor::OnTimer() : Printer badly installed, reboot required\n");
        OnRebootRequired();
    }
}

void CDialogMonitor::OnTimerDeviceChange() {
    DebugTrace("CDialogMonitor::OnTimerDeviceChange()\n");
    KillTimer(m_nTimerDeviceChange);
    m_nTimerDeviceChange = 0;
    InitOrUpdatePrintersAndDevicesList();
}

void CDialogMonitor::OnTimerRetry() {
    KillTimer(m_nTimerRetry);
    m_nTimerRetry = 0;
    InitOrUpdatePrintersAndDevicesList();
}

void CDialogMonitor::InitOrUpdatePrintersAndDevicesList() {
    DebugTrace("CDialogMonitor::InitOrUpdatePrintersAndDevicesList ENTERING %d\n",
               static_cast<int>(GetCurrentThreadId()));
    // Creating and deleting windows and devices can deliver another
    // notification on this thread before the update is done; it is caught up
    // once the update ends. A request or a dialog that dispatches messages
    // while it waits may still use a printer's controller, window or device:
    // the update then runs once it has returned.
    if (m_bUpdating) {
        DebugTrace("CDialogMonitor::resource not available, leave the method...\n");
        m_bUpdatePending = TRUE;
        return;
    }
    if (CNestedLoop::IsActive()) {
        CNestedLoop::PostWhenUnnested(GetSafeHwnd(), kMessageUpdate);
        return;
    }
    m_bUpdating = TRUE;
    m_devices.Synchronise();
    if (m_printers.Synchronise(m_devices) != ERROR_SUCCESS && !m_nTimerRetry) {
        m_nTimerRetry = SetTimer(s_nTimerRetryID, s_nTimerRetryMs);
        if (!m_nTimerRetry)
            DebugTrace(
                "CDialogMonitor::InitOrUpdatePrintersAndDevicesList() : SetTimer(m_nTimerRetry) failed. "
                "GetLastError() = %d\n",
                static_cast<int>(GetLastError()));
    }
    m_feed.Synchronise(m_printers);
    BOOL bConnected = FALSE;
    m_printers.ForEach(
        [&](const CDeviceControl& control) { bConnected = bConnected || control.IsConnected(); });
    if (m_pApplet)
        m_pApplet->SetState(m_printers.GetCount() > 0 && !bConnected ? CTrayState::kStateNoConnection
                                                                     : CTrayState::kStateNormal);
    DebugTrace("CDialogMonitor::InitOrUpdatePrintersAndDevicesList LEAVING %d\n",
               static_cast<int>(GetCurrentThreadId()));
    m_bUpdating = FALSE;
    if (m_bUpdatePending) {
        m_bUpdatePending = FALSE;
        PostMessage(kMessageUpdate);
    }
}

LRESULT CDialogMonitor::OnPowerBroadcast(WPARAM nPowerEvent) {
    const int nEvent = static_cast<int>(nPowerEvent);
    DebugTrace("CDialogMonitor::OnPowerBroadcast(%d)\n", nEvent);
    switch (nPowerEvent) {
    case PBT_APMQUERYSUSPEND:
        DebugTrace("CDialogMonitor::OnPowerBroadcast(PBT_APMQUERYSUSPEND)\n");
        // Later systems are never held back; older ones not while a printer prints.
        if (IsWinXPOrLater() || m_printers.OnQuerySuspend())
            return TRUE;
        DebugTrace("CDialogMonitor::OnPowerBroadcast(PBT_APMQUERYSUSPEND) : m_printers.OnQuerySuspend() "
                   "returns FALSE\n");
        return BROADCAST_QUERY_DENY;
    case PBT_APMQUERYSUSPENDFAILED:
        DebugTrace("CDialogMonitor::OnPowerBroadcast(PBT_APMQUERYSUSPENDFAILED)\n");
        m_printers.OnQuerySuspendFailed();
        return TRUE;
    case PBT_APMSUSPEND:
        DebugTrace("CDialogMonitor::OnPowerBroadcast(PBT_APMSUSPEND)\n");
        m_printers.OnSuspend();
        return TRUE;
    case PBT_APMRESUMESUSPEND:
        DebugTrace("CDialogMonitor::OnPowerBroadcast(PBT_APMRESUMESUSPEND)\n");
        m_printers.OnResumeSuspend();
        return TRUE;
    default:
        DebugTrace("CDialogMonitor::OnPowerBroadcast(%d)\n", nEvent);
        return TRUE;
    }
}
