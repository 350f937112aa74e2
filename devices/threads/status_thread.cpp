#include "devices/threads/status_thread.h"

#include "monitor/device.h"

CStatusThread::CStatusThread(DWORD dwPeriod, DWORD dwFirstWait, CDevice* pDevice)
    : CThread(dwPeriod, dwFirstWait), m_pDevice(pDevice) {}

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
