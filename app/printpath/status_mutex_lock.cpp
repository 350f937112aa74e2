#include "app/printpath/status_mutex_lock.h"

#include <utility>

#include "app/trace.h"
#include "framework/nested_loop.h"

CStatusMutexLock::~CStatusMutexLock() {
    if (m_hMutex)
        ReleaseMutex(m_hMutex.Get());
}

void CStatusMutexLock::Acquire(CUniqueHandle hMutex, HANDLE hStopEvent, bool bPollingThread,
                               const char* pszHolder, const std::string& strName) {
    const HANDLE handles[] = {hMutex.Get(), hStopEvent};
    const DWORD nHandles = hStopEvent ? 2 : 1;
    const DWORD dwWait = bPollingThread ? WaitForMultipleObjects(nHandles, handles, FALSE, INFINITE)
                                        : CNestedLoop::Wait(nHandles, handles, kUserWaitMs);
    // A holder that died leaves the mutex abandoned; it is ours all the same.
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED_0) {
        m_hMutex = std::move(hMutex);
        return;
    }
    if (dwWait == WAIT_TIMEOUT)
        m_dwError = ERROR_BUSY;
    else if (dwWait == WAIT_FAILED)
        m_dwError = GetLastError();
    else
        m_dwError = ERROR_OPERATION_ABORTED;
    DebugTrace("%s : WaitForMultipleObjects(%s) returns %d. Request not sent\n", pszHolder, strName.c_str(),
               static_cast<int>(dwWait));
}
