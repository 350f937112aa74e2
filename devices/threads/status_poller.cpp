#include "devices/threads/status_poller.h"

#include <new>

#include "app/trace.h"

namespace {

HANDLE NewStopEvent() {
    const HANDLE hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!hEvent)
        DebugTrace("CStatusPoller::NewStopEvent() : CreateEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    return hEvent;
}

} // namespace

CStatusPoller::CStatusPoller() : m_hStopEvent(NewStopEvent()) {}

CStatusPoller::~CStatusPoller() {
    Stop();
}

DWORD CStatusPoller::Launch(DWORD dwPeriod, DWORD dwFirstWait, CDevice* pDevice, const char* pszCaller) {
    Stop();
    try {
        m_pThread.reset(new CStatusThread(dwPeriod, dwFirstWait, pDevice));
    } catch (const std::bad_alloc&) {
        DebugTrace("%s : Unable to allocate CStatusThread object\n", pszCaller);
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const CThread::CExcep& e) {
        DebugTrace("%s : Unable to construct CStatusThread object. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(e.GetError()));
        return e.GetError();
    }
    // Known before the thread runs a step, so its first request already
    // waits as the polling thread's do.
    m_dwThreadId = m_pThread->GetThreadId();
    if (!m_pThread->Resume())
        DebugTrace("%s : Resume() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(GetLastError()));
    return 0;
}

void CStatusPoller::SignalStop() {
    if (m_hStopEvent)
        SetEvent(m_hStopEvent.Get());
    if (m_pThread)
        m_pThread->SignalClose();
}

void CStatusPoller::Stop() {
    SignalStop();
    if (m_pThread) {
        m_pThread->WaitForEnd();
        m_pThread.reset();
        m_dwThreadId = 0;
    }
    // An exchange that outlives its requester keeps its own copy of the
    // signal, so the next start gets a signal of its own.
    m_hStopEvent.Reset(NewStopEvent());
}
