// A printer's status window (template 102). Its controller creates it hidden
// and posts it the status messages from the device's polling thread; they
// arrive here on the main thread.
#pragma once

#include <windows.h>

#include "framework/dialog.h"

class CDeviceControl;

class CNyAgentDlg : public CDialog {
public:
    explicit CNyAgentDlg(CDeviceControl* pDeviceControl);

protected:
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    // The printer's controller, which the window's display asks for the device.
    CDeviceControl* m_pDeviceControl;
};
