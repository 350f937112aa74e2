#include "ui/status_window_source.h"

#include "ui/ny_agent_dlg.h"

std::unique_ptr<CDialog> CNyAgentWindows::CreateStatusWindow(CDeviceControl* pControl) {
    return std::make_unique<CNyAgentDlg>(pControl);
}
