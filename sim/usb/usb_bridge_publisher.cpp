#include "sim/usb/usb_bridge_publisher.h"

#include <utility>

#include "app/trace.h"
#include "monitor/byte_order.h"
#include "sim/null_dacl.h"

namespace {

struct SimLogEntry {
    std::uint32_t pages;
    std::uint16_t eventCode;
    std::uint16_t flashValue;
};

// What the simulated printers have in their internal log.
constexpr SimLogEntry kSimLog[] = {
    {1180, 0x0101, 0x0010},
    {1204, 0x0203, 0x0011},
    {1234, 0x0110, 0x0012},
};

void CopyToShared(volatile std::uint8_t* pTarget, const std::uint8_t* pSource, std::size_t nBytes) {
    for (std::size_t i = 0; i < nBytes; ++i)
        pTarget[i] = pSource[i];
}

} // namespace

CUsbBridgePublisher::CUsbBridgePublisher(std::string strSerial)
    : m_strMappingName(usbbridge::kMappingPrefix + std::move(strSerial)) {}

DWORD CUsbBridgePublisher::Open() {
    CNullDaclAttributes attributes;
    m_hMapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, attributes.Get(), PAGE_READWRITE, 0,
                                        static_cast<DWORD>(usbbridge::kMappingSize),
                                        m_strMappingName.c_str()));
    if (!m_hMapping) {
        const DWORD dwError = GetLastError();
        DebugTrace("CUsbBridgePublisher::Open() : CreateFileMapping(%s) failed. GetLastError() = %d\n",
                   m_strMappingName.c_str(), static_cast<int>(dwError));
        return dwError;
    }
    m_view.Reset(MapViewOfFile(m_hMapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!m_view) {
        const DWORD dwError = GetLastError();
        DebugTrace("CUsbBridgePublisher::Open() : MapViewOfFile(%s) failed. GetLastError() = %d\n",
                   m_strMappingName.c_str(), static_cast<int>(dwError));
        return dwError;
    }
    MEMORY_BASIC_INFORMATION region = {};
    if (!VirtualQuery(m_view.Get(), &region, sizeof(region)) || region.RegionSize < sizeof(SimUsbBridge)) {
        // Someone else's mapping under the name, too small for a block.
        DebugTrace("CUsbBridgePublisher::Open() : %s is no bridge block\n", m_strMappingName.c_str());
        m_view.Reset();
        return ERROR_INVALID_DATA;
    }
    volatile SimUsbBridge& bridge = Bridge();
    // A block taken over keeps its counters and faults: only what arrives
    // from now on counts.
    m_cancelSeen = bridge.cancelCount;
    m_resumeSeen = bridge.resumeCount;
    bridge.size = sizeof(SimUsbBridge);
    bridge.magic = usbbridge::kMagic;
    return 0;
}

void CUsbBridgePublisher::Publish(const CDeviceStatus& status, const DEVICE_INFO& info) {
    volatile SimUsbBridge& bridge = Bridge();
    CopyToShared(bridge.status, status.Data(), usbbridge::kStatusSize);
    CopyToShared(bridge.info, info.abData, usbbridge::kInfoSize);
    std::uint16_t nLogs = 0;
    for (const SimLogEntry& entry : kSimLog) {
        std::uint8_t abLog[usbbridge::kLogSize];
        StoreLE32(abLog, entry.pages);
        StoreLE16(abLog + 4, entry.eventCode);
        StoreLE16(abLog + 6, entry.flashValue);
        CopyToShared(bridge.logs[nLogs++], abLog, sizeof(abLog));
    }
    bridge.logCount = nLogs;
}

bool CUsbBridgePublisher::TakeChange(volatile const std::uint32_t& count, std::uint32_t& seen) {
    const std::uint32_t now = count;
    if (now == seen)
        return false;
    seen = now;
    return true;
}
