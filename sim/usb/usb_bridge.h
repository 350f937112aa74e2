// The block through which a simulated USB printer answers the stand-in USB
// printing class driver (NyUsbPrint.sys). One block per printer lives in a
// named file mapping of 4096 bytes that the simulator (or a test) creates;
// the driver maps it on the first request to the printer's device and
// answers the vendor requests from it, recording each request as it goes.
//
// Plain fixed-size little-endian layout, the same for the driver and for user
// mode; nothing here depends on the platform, so the driver can include it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace usbbridge {

constexpr std::uint32_t kMagic = 0x4255594E; // the bytes "NYUB" in memory order
constexpr std::size_t kMappingSize = 4096;
// The mapping's name in user mode is this prefix and the printer's serial
// number as given. "Global\" puts it where the driver looks for it:
// \BaseNamedObjects\NySim.UsbPrint.<serial>, the Section value of the
// printer's Devices subkey; a name without it would be session-local.
constexpr char kMappingPrefix[] = "Global\\NySim.UsbPrint.";

// The USB printing class driver's vendor request controls.
constexpr std::uint32_t kIoctlVendorGet = 0x0022003C; // answers into the output buffer
constexpr std::uint32_t kIoctlVendorSet = 0x00220038; // no data

// Request codes, byte 0 of the 3-byte input; bytes 1 and 2 are a 16-bit
// value, high byte first.
constexpr std::uint8_t kRequestStatus = 0x14;
constexpr std::uint8_t kRequestCancel = 0x15;
constexpr std::uint8_t kRequestResume = 0x1D;
constexpr std::uint8_t kRequestLogCount = 0x1E;
constexpr std::uint8_t kRequestLog = 0x1F;
constexpr std::uint8_t kRequestInfo = 0x20;
constexpr std::uint32_t kRequestInputSize = 3;

constexpr std::size_t kStatusSize = 44;
constexpr std::size_t kInfoSize = 78;
constexpr std::size_t kLogSize = 8;
constexpr std::size_t kMaxLogs = 64;
constexpr std::size_t kRingSize = 16;
constexpr std::size_t kRecordedInputSize = 4;

// Completion codes the driver uses besides a block's failStatus.
constexpr std::int32_t kStatusSuccess = 0;
constexpr std::int32_t kStatusInvalidParameter = static_cast<std::int32_t>(0xC000000D);
constexpr std::int32_t kStatusInvalidDeviceRequest = static_cast<std::int32_t>(0xC0000010);
constexpr std::int32_t kStatusDeviceNotConnected = static_cast<std::int32_t>(0xC000009D);

} // namespace usbbridge

// One request as the driver saw it.
struct SimUsbRequest {
    std::uint32_t ioctl;
    std::uint8_t input[usbbridge::kRecordedInputSize]; // the first input bytes, the rest zero
    std::uint32_t inputLength;
    std::uint32_t outputLength;
};

struct SimUsbBridge {
    std::uint32_t magic;                         // usbbridge::kMagic once the block is filled in
    std::uint32_t size;                          // sizeof(SimUsbBridge)
    std::uint8_t status[usbbridge::kStatusSize]; // answered to GET 0x14
    std::uint8_t info[usbbridge::kInfoSize];     // answered to GET 0x20
    std::uint16_t logCount;                      // answered to GET 0x1E
    std::uint8_t logs[usbbridge::kMaxLogs][usbbridge::kLogSize]; // GET 0x1F, value = index
    // Faults a test sets: while non-zero, every request completes with this
    // NTSTATUS; a non-zero answerLength cuts every answer to that many bytes.
    std::int32_t failStatus;
    std::uint32_t answerLength;
    // Incremented by SET 0x15 and SET 0x1D; the simulator acts on each change.
    std::uint32_t cancelCount;
    std::uint32_t resumeCount;
    std::uint32_t requestCount;               // every request seen, failed ones included
    SimUsbRequest last[usbbridge::kRingSize]; // request n is at last[n % kRingSize]
};

static_assert(sizeof(SimUsbRequest) == 16, "a recorded request is 16 bytes");
static_assert(offsetof(SimUsbBridge, status) == 8, "layout");
static_assert(offsetof(SimUsbBridge, info) == 52, "layout");
static_assert(offsetof(SimUsbBridge, logCount) == 130, "layout");
static_assert(offsetof(SimUsbBridge, logs) == 132, "layout");
static_assert(offsetof(SimUsbBridge, failStatus) == 644, "layout");
static_assert(offsetof(SimUsbBridge, answerLength) == 648, "layout");
static_assert(offsetof(SimUsbBridge, cancelCount) == 652, "layout");
static_assert(offsetof(SimUsbBridge, resumeCount) == 656, "layout");
static_assert(offsetof(SimUsbBridge, requestCount) == 660, "layout");
static_assert(offsetof(SimUsbBridge, last) == 664, "layout");
static_assert(sizeof(SimUsbBridge) == 920, "the bridge block is 920 bytes");
static_assert(sizeof(SimUsbBridge) <= usbbridge::kMappingSize, "the block fits its mapping");

// Whether a block has been filled in by its owner.
inline bool IsUsbBridgeReady(const SimUsbBridge& bridge) {
    return bridge.magic == usbbridge::kMagic && bridge.size >= sizeof(SimUsbBridge);
}

// Puts a request into the ring and counts it.
inline void RecordUsbRequest(SimUsbBridge& bridge, std::uint32_t ioctl, const std::uint8_t* pInput,
                             std::uint32_t inputLength, std::uint32_t outputLength) {
    SimUsbRequest& request = bridge.last[bridge.requestCount % usbbridge::kRingSize];
    request.ioctl = ioctl;
    for (std::uint32_t i = 0; i < usbbridge::kRecordedInputSize; ++i)
        request.input[i] = i < inputLength ? pInput[i] : 0;
    request.inputLength = inputLength;
    request.outputLength = outputLength;
    ++bridge.requestCount;
}
