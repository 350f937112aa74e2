// The status windows the printers' controllers get: the real CNyAgentDlg.
#pragma once

#include <windows.h>

#include "monitor/status_window_source.h"
#include "ui/ny_agent_dlg.h"

class CNyAgentWindows : public CStatusWindowSource {
public:
    // pSettings: whether the windows open by themselves; without settings they
    // never do. nErrorCloseMs: how long a window that an error opened stays open.
    explicit CNyAgentWindows(const CAgentSettings* pSettings = nullptr,
                             UINT nErrorCloseMs = CNyAgentDlg::kErrorCloseMs)
        : m_pSettings(pSettings), m_nErrorCloseMs(nErrorCloseMs) {}

    std::unique_ptr<CDialog> CreateStatusWindow(CDeviceControl* pControl) override;

private:
    const CAgentSettings* m_pSettings;
    UINT m_nErrorCloseMs;
};
