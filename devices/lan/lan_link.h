// The link of a network printer: its address and TCP port as one text,
// "address:port", for instance "192.168.1.20:9100".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Splits the link at its first colon: the text before it becomes the address,
// the text after it is read as a decimal number (ParseUnsigned: no digits give
// port 0, no range check). Returns false, leaving both outputs untouched, when
// the link holds no colon.
bool ParseLink(std::string& strIpAddress, std::uint32_t& nTcpPort, std::string_view link);
