// The status windows the printers' controllers get: the real CNyAgentDlg.
#pragma once

#include "monitor/status_window_source.h"

class CNyAgentWindows : public CStatusWindowSource {
public:
    CNyAgentWindows() = default;

    std::unique_ptr<CDialog> CreateStatusWindow(CDeviceControl* pControl) override;
};
