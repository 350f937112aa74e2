// A status device that a polling thread reads: the start and stop that the
// network, USB and shared-memory devices share. Connecting starts the device
// (what it reads at start, then its polling thread), disconnecting stops it,
// and SignalStop asks it to stop without waiting. A derived device gives only
// what differs: its timing, what a start reads and opens, what a stop
// releases, and what a poll does (PollStatus).
//
// The polling thread calls the derived device's PollStatus, so the thread
// must end before the derived part goes. A base class is destroyed only
// after its derived class's members, too late for that; so the derived
// device owns the poller, as its last member, and hands it to this base.
// Members are destroyed in the reverse order of their declaration: the
// poller goes first, its destructor ends the thread, and no destructor of a
// device has to remember to stop.
#pragma once

#include <windows.h>

#include "devices/threads/status_poller.h"
#include "monitor/status_device.h"

class CPollingDevice : public CStatusDevice {
public:
    // How a device polls, and the names its traces give.
    struct CPolling {
        DWORD dwPeriodMs;
        DWORD dwFirstWaitMs;
        // Names the start in its failure's trace, e.g. "CUsbDevice::CUsbDevice()".
        const char* pszStarter;
        // Names the launch of the polling thread, e.g. "CUsbDevice::Start()".
        const char* pszLauncher;
    };

    void OnConnected(const char* pszLink) override;
    void OnDisconnected() override;
    void SignalStop() override;

protected:
    // poller is the derived device's last member: it is not used here before
    // StartIfConnected.
    CPollingDevice(CDeviceNotify* pDeviceControl, const char* pszPrinterName, const char* pszPort,
                   const char* pszLink, BOOL bWithConsole, const CPolling& polling, CStatusPoller& poller);

    // The derived constructor's last step: a device made with a link starts.
    void StartIfConnected();

    // What a start reads and opens before the polling begins: 0 lets it
    // begin; after an error the device stops again.
    virtual DWORD OnStart() = 0;
    // Releases what OnStart opened, once the polling thread has ended.
    virtual void OnStop() {}

    // The stop signal that requests waiting for the printer or the print path
    // also wait on; null if it could not be made.
    HANDLE GetStopEvent() const { return m_Poller.GetStopEvent(); }
    // The calling thread is the polling thread.
    bool IsPollingThread() const { return m_Poller.IsPollingThread(); }

private:
    // Starts, tracing a failure.
    void Start();
    void Stop();

    const CPolling m_Polling;
    CStatusPoller& m_Poller;
};
