// A device that answers the status operations from its own current record.
// The polling thread replaces the record while the user-interface thread
// reads it, so the record is only ever copied whole under a small lock.
#pragma once

#include <mutex>

#include "monitor/device.h"

class CStatusDevice : public CDevice {
public:
    using CDevice::CDevice;

    BOOL IsError(DWORD* pdwClass) const override;
    DWORD GetStatusCode() const override;
    BOOL IsPrinting(BOOL* pbFlag) const override;
    BYTE GetPrintPhase() const override;
    BYTE GetWifiState() const override;
    BYTE GetProgress() const override;
    BYTE GetDeviceState() const override;
    WORD GetProductId() const override;
    CDeviceStatus GetCurrentStatus() const override;

protected:
    void SetCurrentStatus(const CDeviceStatus& status);
    // One polling step's outcome: the fresh record becomes current, and when
    // it carries the signature the controller hears what changed.
    void UpdateStatus(const CDeviceStatus& fresh);
    // The polling step of a device that reads a whole status block: a failed
    // read changes nothing, anything read goes through UpdateStatus.
    void PollStatusBlock();

private:
    mutable std::mutex m_StatusLock;
    CDeviceStatus m_Status;
};
