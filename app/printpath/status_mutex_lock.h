// Holds a port's status mutex for the length of one exchange with the
// printer, so that the agent never talks to the printer while the print path
// does. The wait for the mutex also ends when the device stops. The polling
// thread waits as long as the print path keeps the printer; any other thread
// (the user's requests) waits at most kUserWaitMs, dispatching its messages
// meanwhile so that its windows keep answering.
#pragma once

#include <string>

#include <windows.h>

#include "framework/unique_handle.h"

class CStatusMutexLock {
public:
    static constexpr DWORD kUserWaitMs = 5000;

    virtual ~CStatusMutexLock();
    CStatusMutexLock(const CStatusMutexLock&) = delete;
    CStatusMutexLock& operator=(const CStatusMutexLock&) = delete;

    // 0 when the exchange may go on, with the mutex or, where the print path
    // has not created it, without. ERROR_BUSY when the mutex stayed held,
    // ERROR_OPERATION_ABORTED when the device stopped or the user-interface
    // thread's wait was ended; the exchange must then not take place.
    DWORD GetError() const { return m_dwError; }

protected:
    CStatusMutexLock() = default;

    // Waits for hMutex, an opened status mutex, or for hStopEvent (may be
    // null). pszHolder and strName name the holder and the mutex in the trace
    // of a wait that did not get it.
    void Acquire(CUniqueHandle hMutex, HANDLE hStopEvent, bool bPollingThread, const char* pszHolder,
                 const std::string& strName);

private:
    CUniqueHandle m_hMutex;
    DWORD m_dwError = 0;
};
