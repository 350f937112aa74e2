#include "sim/portmon/config_info.h"

#include <cstring>

namespace printpath {

bool FitsAddressField(const std::string& strAddress) {
    if (strAddress.empty() || strAddress.size() >= kConfigInfoAddressSize)
        return false;
    for (const char c : strAddress) {
        const bool bLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool bDigit = c >= '0' && c <= '9';
        if (!bLetter && !bDigit && c != '.' && c != '-')
            return false;
    }
    return true;
}

bool BuildConfigInfo(const PortConfig& config, std::uint8_t* pReply) {
    if (!FitsAddressField(config.strAddress) || !IsTcpPort(config.dwTcpPort))
        return false;
    std::memset(pReply, 0, kConfigInfoSize);
    std::memcpy(pReply + kConfigInfoAddressOffset, config.strAddress.data(), config.strAddress.size());
    for (std::size_t i = 0; i < 4; ++i)
        pReply[kConfigInfoTcpPortOffset + i] = static_cast<std::uint8_t>(config.dwTcpPort >> (8 * i));
    return true;
}

} // namespace printpath
