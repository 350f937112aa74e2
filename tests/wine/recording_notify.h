// A controller stand-in that records what its device tells it, in order, and
// the records a device reads.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "monitor/device_notify.h"
#include "monitor/device_status.h"
#include "tests/wine/test_printer.h"

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
    // Take, once at least nCalls were told or dwTimeOutMs have passed.
    std::vector<std::string> TakeAfter(std::size_t nCalls, DWORD dwTimeOutMs) {
        WaitFor(
            [&] {
                std::lock_guard<std::mutex> lock(m_lock);
                return m_calls.size() >= nCalls;
            },
            dwTimeOutMs);
        return Take();
    }

private:
    void Add(const char* pszCall) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_calls.emplace_back(pszCall);
    }

    std::mutex m_lock;
    std::vector<std::string> m_calls;
};

// A Kestrel printer's record in the given state, signed unless bValid is false.
inline CDeviceStatus Record(std::uint8_t state, std::uint8_t phase, std::uint32_t code, bool bValid = true) {
    CDeviceStatus status;
    if (bValid)
        status.SetSignature();
    status.SetProductId(0x3C);
    status.SetDeviceState(state);
    status.SetPrintPhase(phase);
    status.SetStatusCode(code);
    return status;
}
