// A printer's device as the status interpretation reads it: the status slots
// of CDevice in platform-free types.
#pragma once

#include "monitor/device.h"
#include "monitor/status_source.h"

class CDeviceStatusSource : public CStatusSource {
public:
    explicit CDeviceStatusSource(const CDevice& device) : m_device(device) {}

    bool IsConnected() const override { return m_device.IsConnected() != FALSE; }
    bool IsError(std::uint32_t* pdwClass) const override {
        DWORD dwClass = pdwClass ? *pdwClass : 0;
        const bool bError = m_device.IsError(pdwClass ? &dwClass : nullptr) != FALSE;
        if (pdwClass)
            *pdwClass = dwClass;
        return bError;
    }
    std::uint32_t GetStatusCode() const override { return m_device.GetStatusCode(); }
    bool IsPrinting(bool* pbFlag) const override {
        BOOL bFlag = pbFlag && *pbFlag;
        const bool bPrinting = m_device.IsPrinting(pbFlag ? &bFlag : nullptr) != FALSE;
        if (pbFlag)
            *pbFlag = bFlag != FALSE;
        return bPrinting;
    }
    std::uint8_t GetPrintPhase() const override { return m_device.GetPrintPhase(); }
    std::uint8_t GetProgress() const override { return m_device.GetProgress(); }
    std::uint8_t GetDeviceState() const override { return m_device.GetDeviceState(); }

private:
    const CDevice& m_device;
};
