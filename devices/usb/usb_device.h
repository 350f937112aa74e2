// The device of a printer on a USB port. It talks to the printer through the
// USB printing class driver's vendor requests: the status block four times a
// second, the information block and the internal log on request, and Cancel
// and Resume when the print path does not listen for them on its console.
#pragma once

#include <string>

#include "app/printpath/print_path_objects.h"
#include "devices/threads/polling_device.h"
#include "framework/unique_handle.h"

class CUsbDevice : public CPollingDevice {
public:
    CUsbDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszDevicePath);

    // Starts, then tells whether the printer prints.
    void OnConnected(const char* pszLink) override;
    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD ReadInfo(DEVICE_INFO* pInfo) override;
    DWORD GetNumberOfLogs(WORD* pwCount) override;
    DWORD GetLogs(WORD wIndex, DEVICE_LOG* pLog) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;

    // The record shown while the printer has not answered: a ready Kestrel
    // with a blank serial number and firmware 1.00.
    static void FillDefaultStatus(CDeviceStatus* pStatus);

private:
    // Opens the device path and reads the first status.
    DWORD OnStart() override;
    void OnStop() override;

    // Cancel or Resume: the print path's console event when it listens,
    // otherwise the vendor request bRequest.
    DWORD PassOn(printpath::ConsoleRequest request, BYTE bRequest, const char* pszOperation);
    // A vendor request with its data stage read into pbOutput (zeroed first).
    DWORD GetCommand(BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput, const char* pszCaller);
    // A vendor request without data.
    DWORD SetCommand(BYTE bRequest, const char* pszCaller);
    // One request frame: the port's mutex, the 10 ms pause, then the vendor
    // request. pszCaller names the request in the trace of a failure.
    DWORD Control(DWORD dwCode, BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput,
                  const char* pszCaller);

    CUniqueFile m_hDevice;
    // Last: destroyed first, it ends the polling thread (polling_device.h).
    CStatusPoller m_Poller;
};
