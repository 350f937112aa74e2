// A status source over a copy of a record and the link state: what Display
// reads, without reaching the device again. Platform-free.
#pragma once

#include "monitor/device_status.h"
#include "monitor/status_source.h"

class CRecordStatusSource : public CStatusSource {
public:
    CRecordStatusSource(bool bConnected, const CDeviceStatus& record)
        : m_bConnected(bConnected), m_record(record) {}

    bool IsConnected() const override { return m_bConnected; }
    bool IsError(std::uint32_t* pdwClass) const override { return m_record.IsError(pdwClass); }
    std::uint32_t GetStatusCode() const override { return m_record.GetStatusCode(); }
    bool IsPrinting(bool* pbFlag) const override { return m_record.IsPrinting(pbFlag); }
    std::uint8_t GetPrintPhase() const override { return m_record.GetPrintPhase(); }
    std::uint8_t GetProgress() const override { return m_record.GetProgress(); }
    std::uint8_t GetDeviceState() const override { return m_record.GetDeviceState(); }

private:
    bool m_bConnected;
    CDeviceStatus m_record;
};
