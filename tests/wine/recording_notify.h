// A controller stand-in that records what its device tells it, in order.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "monitor/device_notify.h"

class CRecordingNotify : public CDeviceNotify {
public:
    void OnErrorRaised() override { Add("ErrorRaised"); }
    void OnErrorCleared() override { Add("ErrorCleared"); }
    void OnStatusChanged() override { Add("StatusChanged"); }
    void OnPrintingStarted() override { Add("PrintingStarted"); }
    void OnPrintingEnded() override { Add("PrintingEnded"); }
    void RefreshDisplay() override { Add("RefreshDisplay"); }

    // Returns what was told since the last call, and forgets it.
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> lock(m_lock);
        std::vector<std::string> calls;
        calls.swap(m_calls);
        return calls;
    }

private:
    void Add(const char* pszCall) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_calls.emplace_back(pszCall);
    }

    std::mutex m_lock;
    std::vector<std::string> m_calls;
};
