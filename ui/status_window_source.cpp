#include "ui/status_window_source.h"

std::unique_ptr<CDialog> CNyAgentWindows::CreateStatusWindow(CDeviceControl* pControl) {
    return std::make_unique<CNyAgentDlg>(pControl, m_pSettings, m_nErrorCloseMs);
}
