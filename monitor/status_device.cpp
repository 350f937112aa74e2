#include "monitor/status_device.h"

BOOL CStatusDevice::IsError(DWORD* pdwClass) const {
    std::uint32_t errorClass = 0;
    const bool error = GetCurrentStatus().IsError(pdwClass ? &errorClass : nullptr);
    if (error && pdwClass)
        *pdwClass = errorClass;
    return error;
}

DWORD CStatusDevice::GetStatusCode() const {
    return GetCurrentStatus().GetStatusCode();
}

BOOL CStatusDevice::IsPrinting(BOOL* pbFlag) const {
    bool flag = false;
    const bool printing = GetCurrentStatus().IsPrinting(pbFlag ? &flag : nullptr);
    if (printing && pbFlag)
        *pbFlag = flag;
    return printing;
}

BYTE CStatusDevice::GetPrintPhase() const {
    return GetCurrentStatus().GetPrintPhase();
}
BYTE CStatusDevice::GetWifiState() const {
    return GetCurrentStatus().GetWifiState();
}
BYTE CStatusDevice::GetProgress() const {
    return GetCurrentStatus().GetProgress();
}
BYTE CStatusDevice::GetDeviceState() const {
    return GetCurrentStatus().GetDeviceState();
}
WORD CStatusDevice::GetProductId() const {
    return GetCurrentStatus().GetProductId();
}

CDeviceStatus CStatusDevice::GetCurrentStatus() const {
    std::lock_guard<std::mutex> lock(m_StatusLock);
    return m_Status;
}

void CStatusDevice::SetCurrentStatus(const CDeviceStatus& status) {
    std::lock_guard<std::mutex> lock(m_StatusLock);
    m_Status = status;
}

void CStatusDevice::UpdateStatus(const CDeviceStatus& fresh) {
    // Whatever was read becomes current, signed or not: the next step
    // compares against it, so a record that regains its signature is told.
    const CDeviceStatus previous = GetCurrentStatus();
    SetCurrentStatus(fresh);
    if (fresh.IsValid())
        NotifyChanges(previous, fresh);
}

void CStatusDevice::PollStatusBlock() {
    CDeviceStatus fresh;
    if (ReadStatus(&fresh) == 0)
        UpdateStatus(fresh);
}
