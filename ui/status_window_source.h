// The status windows the printers' controllers get: the real CNyAgentDlg.
#pragma once

#include <windows.h>

#include "monitor/status_window_source.h"
#include "ui/ny_agent_dlg.h"

class CNyAgentWindows : public CStatusWindowSource {
public:
    // nErrorCloseMs: how long a window that an error opened stays open.
    explicit CNyAgentWindows(UINT nErrorCloseMs = CNyAgentDlg::kErrorCloseMs)
        : m_nErrorCloseMs(nErrorCloseMs) {}

    std::unique_ptr<CDialog> CreateStatusWindow(CDeviceControl* pControl) override;

private:
    UINT m_nErrorCloseMs;
};
