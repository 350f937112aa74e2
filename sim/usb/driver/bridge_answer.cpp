#include "sim/usb/driver/bridge_answer.h"

#include <cstddef>

namespace {

constexpr int kCopyAttempts = 8;
// The longest answer, the information block.
constexpr std::size_t kMaxAnswerSize = usbbridge::kInfoSize;
static_assert(usbbridge::kStatusSize <= kMaxAnswerSize && usbbridge::kLogSize <= kMaxAnswerSize,
              "every answer fits");

// The simulator rewrites the status block while the driver reads it, without
// a lock between them: copy until one copy matches the source, so that an
// answer never mixes two records.
void CopyStable(std::uint8_t* pTarget, const std::uint8_t* pSource, std::uint32_t nBytes) {
    const volatile std::uint8_t* pShared = pSource;
    for (int nAttempt = 0; nAttempt < kCopyAttempts; ++nAttempt) {
        for (std::uint32_t i = 0; i < nBytes; ++i)
            pTarget[i] = pShared[i];
        bool bSame = true;
        for (std::uint32_t i = 0; i < nBytes && bSame; ++i)
            bSame = pTarget[i] == pShared[i];
        if (bSame)
            return;
    }
}

// Fills the answer of a GET request; returns its full length, or 0 for an
// unknown request code.
std::uint32_t BuildGetAnswer(const SimUsbBridge& bridge, std::uint8_t code, std::uint16_t value,
                             std::uint8_t* pAnswer) {
    switch (code) {
    case usbbridge::kRequestStatus:
        CopyStable(pAnswer, bridge.status, usbbridge::kStatusSize);
        return usbbridge::kStatusSize;
    case usbbridge::kRequestInfo:
        CopyStable(pAnswer, bridge.info, usbbridge::kInfoSize);
        return usbbridge::kInfoSize;
    case usbbridge::kRequestLogCount: {
        const std::uint16_t count = bridge.logCount;
        pAnswer[0] = static_cast<std::uint8_t>(count & 0xFF);
        pAnswer[1] = static_cast<std::uint8_t>(count >> 8);
        pAnswer[2] = 0;
        pAnswer[3] = 0;
        return 4;
    }
    case usbbridge::kRequestLog:
        // An index the printer has no entry for reads as an empty entry.
        if (value < bridge.logCount && value < usbbridge::kMaxLogs)
            CopyStable(pAnswer, bridge.logs[value], usbbridge::kLogSize);
        else
            for (std::uint32_t i = 0; i < usbbridge::kLogSize; ++i)
                pAnswer[i] = 0;
        return usbbridge::kLogSize;
    default:
        return 0;
    }
}

} // namespace

UsbAnswer AnswerUsbRequest(SimUsbBridge& bridge, std::uint32_t ioctl, const std::uint8_t* pInput,
                           std::uint32_t inputLength, std::uint8_t* pOutput, std::uint32_t outputLength) {
    if (!IsUsbBridgeReady(bridge))
        return {usbbridge::kStatusDeviceNotConnected, 0};
    RecordUsbRequest(bridge, ioctl, pInput, inputLength, outputLength);
    if (const std::int32_t failStatus = bridge.failStatus)
        return {failStatus, 0};
    if (ioctl != usbbridge::kIoctlVendorGet && ioctl != usbbridge::kIoctlVendorSet)
        return {usbbridge::kStatusInvalidDeviceRequest, 0};
    if (inputLength != usbbridge::kRequestInputSize)
        return {usbbridge::kStatusInvalidParameter, 0};
    const std::uint8_t code = pInput[0];
    const std::uint16_t value = static_cast<std::uint16_t>(pInput[1] << 8 | pInput[2]);

    if (ioctl == usbbridge::kIoctlVendorSet) {
        if (code == usbbridge::kRequestCancel)
            ++bridge.cancelCount;
        else if (code == usbbridge::kRequestResume)
            ++bridge.resumeCount;
        else
            return {usbbridge::kStatusInvalidParameter, 0};
        return {usbbridge::kStatusSuccess, 0};
    }

    std::uint8_t answer[kMaxAnswerSize];
    std::uint32_t length = BuildGetAnswer(bridge, code, value, answer);
    if (length == 0)
        return {usbbridge::kStatusInvalidParameter, 0};
    if (bridge.answerLength != 0 && bridge.answerLength < length)
        length = bridge.answerLength;
    if (outputLength < length)
        length = outputLength;
    for (std::uint32_t i = 0; i < length; ++i)
        pOutput[i] = answer[i];
    return {usbbridge::kStatusSuccess, length};
}
