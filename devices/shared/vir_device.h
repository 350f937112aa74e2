// The device of a USB printer whose status the print path's status monitor
// publishes in shared memory: the status block is read from the port's
// mapping four times a second, nothing is sent to the printer, and Cancel and
// Resume go to the print path through the port's console events.
#pragma once

#include <memory>
#include <string>

#include "devices/threads/status_thread.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/status_device.h"

class CVirDevice : public CStatusDevice {
public:
    CVirDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszDevicePath);
    ~CVirDevice() override;

    void OnConnected(const char* pszLink) override;
    void OnDisconnected() override;
    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD ReadInfo(DEVICE_INFO* pInfo) override;
    DWORD GetNumberOfLogs(WORD* pwCount) override;
    DWORD GetLogs(WORD wIndex, DEVICE_LOG* pLog) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;

private:
    // Maps the port's status block, reads the first status and starts polling.
    DWORD Start();
    void Stop();

    std::string m_strMappingName;
    CUniqueView m_pView;
    CUniqueHandle m_hMapping;
    std::unique_ptr<CStatusThread> m_pStatusThread;
};
