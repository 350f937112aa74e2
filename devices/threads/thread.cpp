#include "devices/threads/thread.h"

#include "app/trace.h"

CThread::CThread(DWORD dwPeriod, DWORD dwFirstWait) : m_dwPeriod(dwPeriod), m_dwFirstWait(dwFirstWait) {
    m_hCloseEvent.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_hCloseEvent) {
        const DWORD dwError = GetLastError();
        DebugTrace("CThread::CThread() : CreateEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        throw CExcep(dwError);
    }
    m_hThread.Reset(CreateThread(nullptr, 0, ThreadEntry, this, CREATE_SUSPENDED, &m_dwThreadId));
    if (!m_hThread) {
        const DWORD dwError = GetLastError();
        DebugTrace("CThread::CThread() : CreateThread() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        throw CExcep(dwError);
    }
}

CThread::~CThread() {
    Stop();
}

void CThread::Stop() {
    SignalClose();
    WaitForEnd();
}

BOOL CThread::Resume() {
    if (m_hThread && ResumeThread(m_hThread.Get()) != static_cast<DWORD>(-1))
        m_bResumed = true;
    return m_bResumed;
}

void CThread::SignalClose() {
    if (m_hCloseEvent)
        SetEvent(m_hCloseEvent.Get());
}

void CThread::WaitForEnd() {
    if (!m_hThread)
        return;
    // A thread that never ran is still suspended: let it run into the close
    // signal. If it cannot be resumed it will never end, so nobody waits.
    if (!m_bResumed && !Resume()) {
        DebugTrace("CThread::WaitForEnd() : ResumeThread() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    WaitForSingleObject(m_hThread.Get(), INFINITE);
}

DWORD CThread::Run() {
    if (!OnBegin())
        return 0;
    for (DWORD dwWait = m_dwFirstWait; WaitForSingleObject(m_hCloseEvent.Get(), dwWait) == WAIT_TIMEOUT;
         dwWait = m_dwPeriod) {
        if (!Step())
            break;
    }
    OnEnd();
    return 0;
}

DWORD WINAPI CThread::ThreadEntry(void* pParameter) {
    return static_cast<CThread*>(pParameter)->Run();
}
