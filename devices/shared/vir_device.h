// The device of a USB printer whose status the print path's status monitor
// publishes in shared memory: the status block is read from the port's
// mapping four times a second, nothing is sent to the printer, and Cancel and
// Resume go to the print path through the port's console events.
//
// The print path may publish the block only after the device started, or
// close it and publish it again: while connected the device keeps polling,
// and a poll without the block looks for it again.
#pragma once

#include <mutex>
#include <string>

#include "devices/threads/polling_device.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"

class CVirDevice : public CPollingDevice {
public:
    CVirDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszDevicePath);

    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;

private:
    // Reads the first status when the block exists.
    DWORD OnStart() override;
    void OnStop() override;
    // Opens and maps the port's block; m_ViewLock is held. The failure is
    // traced once per absence of the block.
    DWORD OpenMapping();

    std::string m_strMappingName;
    // The polling thread maps the block while the user-interface thread may read it.
    std::mutex m_ViewLock;
    CUniqueView m_pView;
    CUniqueHandle m_hMapping;
    bool m_bAbsenceTraced = false;
    // Last: destroyed first, it ends the polling thread (polling_device.h).
    CStatusPoller m_Poller;
};
