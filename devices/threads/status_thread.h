// The polling thread of a device: each step is one PollStatus.
#pragma once

#include "devices/threads/thread.h"

class CDevice;

class CStatusThread : public CThread {
public:
    CStatusThread(DWORD dwPeriod, DWORD dwFirstWait, CDevice* pDevice);
    ~CStatusThread() override;

protected:
    BOOL Step() override;
    BOOL OnBegin() override;
    void OnEnd() override;

private:
    CDevice* m_pDevice;
};
