// The polling of a status device: its polling thread, and the stop signal on
// which the thread and every request of the device that waits for the printer
// or for the print path also wait. Stopping comes in two halves, so that the
// agent can ask all its devices to stop at once and then wait for each.
#pragma once

#include <atomic>
#include <memory>

#include <windows.h>

#include "devices/threads/status_thread.h"
#include "framework/unique_handle.h"

class CDevice;

class CStatusPoller {
public:
    CStatusPoller();
    ~CStatusPoller();

    CStatusPoller(const CStatusPoller&) = delete;
    CStatusPoller& operator=(const CStatusPoller&) = delete;

    // Starts the polling thread of pDevice: its first PollStatus after
    // dwFirstWait, then one a period after the end of the last. Returns 0, or
    // the error with a trace that names pszCaller (e.g. "CUsbDevice::Start()").
    DWORD Launch(DWORD dwPeriod, DWORD dwFirstWait, CDevice* pDevice, const char* pszCaller);
    // Asks the polling thread to end and every request under way to give up,
    // without waiting for either.
    void SignalStop();
    // SignalStop, then waits for the polling thread to end. Afterwards
    // PollStatus no longer runs, and requests wait on a new stop signal.
    void Stop();

    // Signalled from SignalStop until Stop returns; null if it could not be made.
    HANDLE GetStopEvent() const { return m_hStopEvent.Get(); }
    // The calling thread is the polling thread.
    bool IsPollingThread() const { return GetCurrentThreadId() == m_dwThreadId; }

private:
    CUniqueHandle m_hStopEvent;
    std::unique_ptr<CStatusThread> m_pThread;
    std::atomic<DWORD> m_dwThreadId{0};
};
