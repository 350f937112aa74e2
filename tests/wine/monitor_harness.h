// The monitoring core wired the way the agent wires it: a hidden monitor
// window, the real status windows and devices, and the printer set. A message
// hook records the status messages this thread's windows take off the queue.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/devices.h"
#include "monitor/printers.h"
#include "monitor/status_messages.h"
#include "monitor/tray_state.h"
#include "resources/resource_ids.h"
#include "ui/status_window_source.h"

// A tray that shows nothing, for a monitor window made as the agent makes it.
class CSilentTray : public CTrayState {
public:
    void SetState(int) override {}
    void PostDestroy() override {}
};

// The controller of the printer of that name in the set, or null.
inline const CDeviceControl* FindControl(const CPrinters& printers, const std::string& strPrinterName) {
    const CDeviceControl* pFound = nullptr;
    printers.ForEach([&](const CDeviceControl& control) {
        if (control.GetPrinterName() == strPrinterName)
            pFound = &control;
    });
    return pFound;
}

class CMonitorHarness {
public:
    // pSettings and nErrorCloseMs: when the status windows open by themselves, as CNyAgentWindows takes them.
    explicit CMonitorHarness(BOOL bUseNyStatusMonitor = FALSE, const CAgentSettings* pSettings = nullptr,
                             UINT nErrorCloseMs = CNyAgentDlg::kErrorCloseMs)
        : m_windows(pSettings, nErrorCloseMs), m_printers(m_windows, bUseNyStatusMonitor) {
        EXPECT_TRUE(m_monitor.Create(nullptr));
        m_printers.SetMonitor(m_monitor.GetSafeHwnd());
        m_hHook = SetWindowsHookExA(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());
        TakeMessages();
    }
    ~CMonitorHarness() {
        UnhookWindowsHookEx(m_hHook);
        s_taken.clear(); // what a window of this harness took
    }

    // The devices first, then the printer set, as the monitor window does.
    void Synchronise() {
        m_devices.Synchronise();
        m_printers.Synchronise(m_devices);
    }
    const CDeviceControl* Find(const std::string& strPrinterName) const {
        return FindControl(m_printers, strPrinterName);
    }
    // Dispatches what is queued; the status messages taken since the last
    // call, each from a window that the monitor window owns.
    std::vector<UINT> TakeMessages() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        std::vector<UINT> messages;
        for (const MSG& taken : s_taken) {
            EXPECT_EQ(m_monitor.GetSafeHwnd(), GetWindow(taken.hwnd, GW_OWNER));
            messages.push_back(taken.message);
        }
        s_taken.clear();
        return messages;
    }

    CNyAgentWindows m_windows;
    CDevices m_devices;
    CDialog m_monitor{IDD_DIALOG_MONITOR};
    CPrinters m_printers;

private:
    static LRESULT CALLBACK OnGetMessage(int nCode, WPARAM wParam, LPARAM lParam) {
        const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
        if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message >= WM_NY_REFRESH &&
            pMsg->message <= WM_NY_DISCONNECTED)
            s_taken.push_back(*pMsg);
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline std::vector<MSG> s_taken;
    HHOOK m_hHook = nullptr;
};
