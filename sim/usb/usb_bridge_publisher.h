// A simulated printer's end of the USB bridge: the block in the mapping
// "Global\NySim.UsbPrint.<serial>" from which the stand-in USB printing class
// driver answers the agent's vendor requests, and the Cancel and Resume
// requests that the driver counts there.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/device_info.h"
#include "monitor/device_status.h"
#include "sim/usb/usb_bridge.h"

class CUsbBridgePublisher {
public:
    explicit CUsbBridgePublisher(std::string strSerial);
    CUsbBridgePublisher(const CUsbBridgePublisher&) = delete;
    CUsbBridgePublisher& operator=(const CUsbBridgePublisher&) = delete;

    // Creates the mapping, open to every account, or takes over the block
    // that the driver still holds from an earlier run, and fills in an empty
    // block. Returns 0 or the Windows error code.
    DWORD Open();
    // Writes the record, the information block and the printer's log.
    void Publish(const CDeviceStatus& status, const DEVICE_INFO& info);
    // True when SET 0x15 (TakeCancel) or SET 0x1D (TakeResume) arrived since
    // the last call; several requests in between count as one, as several
    // signals of a console event do.
    bool TakeCancel() { return TakeChange(Bridge().cancelCount, m_cancelSeen); }
    bool TakeResume() { return TakeChange(Bridge().resumeCount, m_resumeSeen); }

    const std::string& MappingName() const { return m_strMappingName; }

private:
    volatile SimUsbBridge& Bridge() const { return *reinterpret_cast<volatile SimUsbBridge*>(m_view.Get()); }
    static bool TakeChange(volatile const std::uint32_t& count, std::uint32_t& seen);

    std::string m_strMappingName;
    CUniqueHandle m_hMapping;
    CUniqueView m_view;
    std::uint32_t m_cancelSeen = 0;
    std::uint32_t m_resumeSeen = 0;
};
