// A small periodic worker: a system thread that waits one period, runs one
// step, and ends when its close event is signalled or a step says to stop.
#pragma once

#include <windows.h>

#include "framework/error_exception.h"
#include "framework/unique_handle.h"

class CThread {
public:
    // Thrown by the constructor; carries the system error.
    class CExcep : public CErrorException {
    public:
        using CErrorException::CErrorException;
    };

    // Creates the thread suspended: it runs only after Resume. The first step
    // comes after dwFirstWait, each later one a period after the last.
    explicit CThread(DWORD dwPeriod) : CThread(dwPeriod, dwPeriod) {}
    CThread(DWORD dwPeriod, DWORD dwFirstWait);
    // Signals the close event and waits for the thread to end, so a step
    // that is running finishes first.
    virtual ~CThread();

    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    BOOL Resume();
    void SignalClose();
    // Returns at once for a thread that can no longer be started.
    void WaitForEnd();

    DWORD GetThreadId() const { return m_dwThreadId; }

protected:
    // The loop: OnBegin, then a step after the first wait and after every
    // full period without a close signal, then OnEnd. The period counts from
    // the end of one step to the start of the next.
    virtual DWORD Run();
    // One step; FALSE ends the thread.
    virtual BOOL Step() = 0;
    // FALSE ends the thread before its first wait, without OnEnd.
    virtual BOOL OnBegin() = 0;
    virtual void OnEnd() = 0;

    // A derived class whose steps use its own members calls this first in
    // its destructor, so no step runs on a half-destroyed object.
    void Stop();

private:
    static DWORD WINAPI ThreadEntry(void* pParameter);

    CUniqueHandle m_hThread;
    CUniqueHandle m_hCloseEvent;
    DWORD m_dwThreadId = 0;
    DWORD m_dwPeriod;
    DWORD m_dwFirstWait;
    bool m_bResumed = false;
};
