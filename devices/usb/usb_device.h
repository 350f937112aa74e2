// The device of a printer on a USB port. It talks to the printer through the
// USB printing class driver's vendor requests: the status block four times a
// second, the information block and the internal log on request, and Cancel
// and Resume when the print path does not listen for them on its console.
#pragma once

#include <string>

#include "devices/printpath/status_mutex_lock.h"
#include "devices/threads/status_poller.h"
#include "framework/unique_handle.h"
#include "monitor/status_device.h"

class CUsbDevice : public CStatusDevice {
public:
    // Holds the port's status mutex for the length of one request when the
    // print path has created it, so requests never overlap the print path's
    // own use of the printer. Only a request that got the go-ahead is sent.
    class CClocker : public CStatusMutexLock {
    public:
        CClocker(const std::string& strPort, HANDLE hStopEvent, bool bPollingThread);
    };

    CUsbDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
               const char* pszDevicePath);
    ~CUsbDevice() override;

    void OnConnected(const char* pszLink) override;
    void OnDisconnected() override;
    DWORD ReadStatus(CDeviceStatus* pStatus) override;
    DWORD ReadInfo(DEVICE_INFO* pInfo) override;
    DWORD GetNumberOfLogs(WORD* pwCount) override;
    DWORD GetLogs(WORD wIndex, DEVICE_LOG* pLog) override;
    DWORD OnCancel() override;
    DWORD OnResume() override;
    void PollStatus() override;
    void SignalStop() override;

    // The record shown while the printer has not answered: a ready Kestrel
    // with a blank serial number and firmware 1.00.
    static void FillDefaultStatus(CDeviceStatus* pStatus);

    DWORD OpenCancelEvent();
    void CloseCancelEvent();
    DWORD OpenResumeEvent();
    void CloseResumeEvent();

private:
    // Opens the device path, reads the first status and starts polling.
    DWORD Start();
    void Stop();

    // One request frame: the port's mutex, the 10 ms pause, then pfnRequest.
    template <typename TRequest> DWORD InFrame(TRequest pfnRequest);
    // Cancel or Resume: the print path's console event when it listens,
    // otherwise the vendor request bRequest.
    DWORD PassOn(DWORD (CUsbDevice::*pfnOpenEvent)(), void (CUsbDevice::*pfnCloseEvent)(),
                 const CUniqueHandle& hEvent, BYTE bRequest, const char* pszOperation);
    // A vendor request with its data stage read into pbOutput (zeroed first).
    DWORD GetCommand(BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput);
    // A vendor request without data.
    DWORD SetCommand(BYTE bRequest);
    DWORD Control(DWORD dwCode, BYTE bRequest, WORD wValue, BYTE* pbOutput, DWORD cbOutput);

    CStatusPoller m_Poller;
    CUniqueFile m_hDevice;
    CUniqueHandle m_hCancelEvent;
    CUniqueHandle m_hResumeEvent;
};
