// The simulator's printout: one readable line per published status record.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/device_status.h"

// For example
// "  1250 ms USB001 state=3 (printing) phase=4 (yellow) progress=40% code=0x00000000".
// An error code is followed by its class and whether Resume clears it.
std::string FormatStatusLine(std::uint64_t timeMs, const std::string& strPort, const CDeviceStatus& status);
