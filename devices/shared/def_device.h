// The device of a printer on a port the agent does not recognise: its status
// is never read, and Cancel and Resume go to the print path through the
// port's console events.
#pragma once

#include "monitor/status_device.h"

class CDefDevice : public CStatusDevice {
public:
    CDefDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszLink);

    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;
};
