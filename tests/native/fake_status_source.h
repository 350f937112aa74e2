// A status source for the tests: answers the status slots from a status record
// with the rules of the devices, and logs what was asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/format.h"
#include "monitor/device_status.h"
#include "monitor/status_source.h"

class CFakeStatusSource : public CStatusSource {
public:
    CFakeStatusSource() { m_record.SetSignature(); }
    CFakeStatusSource(std::uint8_t nState, std::uint8_t nPhase, std::uint8_t nProgress, std::uint32_t dwCode)
        : CFakeStatusSource() {
        m_record.SetDeviceState(nState);
        m_record.SetPrintPhase(nPhase);
        m_record.SetProgress(nProgress);
        m_record.SetStatusCode(dwCode);
    }

    bool IsConnected() const override {
        Log("IsConnected");
        return m_bConnected;
    }
    bool IsError(std::uint32_t* pdwClass) const override {
        Log(pdwClass ? Format("IsError(class preset 0x%08X)", *pdwClass) : "IsError(no class)");
        if (m_bForceError) {
            if (pdwClass && m_dwForcedClass)
                *pdwClass = *m_dwForcedClass;
            return true;
        }
        return m_record.IsError(pdwClass);
    }
    std::uint32_t GetStatusCode() const override {
        Log("GetStatusCode");
        return m_record.GetStatusCode();
    }
    bool IsPrinting(bool* pbFlag) const override {
        Log(pbFlag ? "IsPrinting(flag)" : "IsPrinting(no flag)");
        return m_record.IsPrinting(pbFlag);
    }
    std::uint8_t GetPrintPhase() const override {
        Log("GetPrintPhase");
        return m_record.GetPrintPhase();
    }
    std::uint8_t GetProgress() const override {
        Log("GetProgress");
        return m_record.GetProgress();
    }
    std::uint8_t GetDeviceState() const override {
        Log("GetDeviceState");
        return m_record.GetDeviceState();
    }

    bool m_bConnected = true;
    CDeviceStatus m_record;
    // Makes IsError say TRUE whatever the record holds, writing the forced
    // class when there is one (no device does this; it reaches the unknown class).
    bool m_bForceError = false;
    std::optional<std::uint32_t> m_dwForcedClass;
    // What was asked, in order.
    mutable std::vector<std::string> m_calls;

private:
    void Log(const std::string& strCall) const { m_calls.push_back(strCall); }
};
