// The polling thread of a device: each step is one PollStatus.
#pragma once

#include <memory>

#include "devices/threads/thread.h"

class CDevice;

class CStatusThread : public CThread {
public:
    CStatusThread(DWORD dwPeriod, CDevice* pDevice);
    ~CStatusThread() override;

    // Makes the polling thread of pDevice into pThread and lets it run.
    // Returns 0, or the error with a trace that names pszCaller
    // (e.g. "CUsbDevice::Start()"); pThread then stays empty.
    static DWORD Launch(DWORD dwPeriod, CDevice* pDevice, const char* pszCaller,
                        std::unique_ptr<CStatusThread>& pThread);

protected:
    BOOL Step() override;
    BOOL OnBegin() override;
    void OnEnd() override;

private:
    CDevice* m_pDevice;
};
