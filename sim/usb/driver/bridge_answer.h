// What the driver answers to one vendor request from a printer's bridge
// block: the request is recorded, the block's faults applied, and GET
// answers copied out. Platform-free; the driver only moves IRPs around it.
#pragma once

#include <cstdint>

#include "sim/usb/usb_bridge.h"

struct UsbAnswer {
    std::int32_t status;  // NTSTATUS the request completes with
    std::uint32_t length; // bytes written to the output buffer
};

// pInput and pOutput may be the same buffer (METHOD_BUFFERED): the input is
// read before any output is written. A block that is not filled in is
// treated as a printer that is not connected and is left untouched.
UsbAnswer AnswerUsbRequest(SimUsbBridge& bridge, std::uint32_t ioctl, const std::uint8_t* pInput,
                           std::uint32_t inputLength, std::uint8_t* pOutput, std::uint32_t outputLength);
