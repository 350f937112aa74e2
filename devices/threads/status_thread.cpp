#include "devices/threads/status_thread.h"

#include <new>

#include "app/trace.h"
#include "monitor/device.h"

CStatusThread::CStatusThread(DWORD dwPeriod, CDevice* pDevice) : CThread(dwPeriod), m_pDevice(pDevice) {}

CStatusThread::~CStatusThread() {
    Stop();
}

BOOL CStatusThread::Step() {
    if (m_pDevice)
        m_pDevice->PollStatus();
    return TRUE;
}

BOOL CStatusThread::OnBegin() {
    return TRUE;
}

// Nothing to release: the device belongs to its owner.
void CStatusThread::OnEnd() {}

DWORD CStatusThread::Launch(DWORD dwPeriod, CDevice* pDevice, const char* pszCaller,
                            std::unique_ptr<CStatusThread>& pThread) {
    try {
        pThread.reset(new CStatusThread(dwPeriod, pDevice));
    } catch (const std::bad_alloc&) {
        DebugTrace("%s : Unable to allocate CStatusThread object\n", pszCaller);
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const CThread::CExcep& e) {
        DebugTrace("%s : Unable to construct CStatusThread object. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(e.GetError()));
        return e.GetError();
    }
    if (!pThread->Resume())
        DebugTrace("%s : Resume() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(GetLastError()));
    return 0;
}
