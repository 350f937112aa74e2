// The port monitor's side of the configuration query: the reply block that
// the agent reads with printpath::ParseConfigInfo (app/printpath/port_config.h).
#pragma once

#include <cstdint>
#include <string>

#include "app/printpath/port_config.h"

namespace printpath {

// An address fits the reply when it has 1 to 15 characters (room is left for
// the NUL), each an ASCII letter or digit, a dot or a hyphen: the characters of
// a dotted IPv4 address or a host name.
bool FitsAddressField(const std::string& strAddress);
// A TCP port number is 1 to 65535.
inline bool IsTcpPort(std::uint32_t dwTcpPort) {
    return dwTcpPort >= 1 && dwTcpPort <= 65535;
}

// Fills the kConfigInfoSize bytes at pReply. Returns false, writing nothing,
// when the address does not fit or the port is no TCP port.
bool BuildConfigInfo(const PortConfig& config, std::uint8_t* pReply);

} // namespace printpath
