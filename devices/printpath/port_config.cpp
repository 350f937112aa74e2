#include "devices/printpath/port_config.h"

#include <cstring>

#include "app/trace.h"

namespace printpath {

std::string PortsKey(const std::string& strMonitor) {
    return std::string(kMonitorsKey) + "\\" + strMonitor + "\\Ports";
}

std::string PortSettingsKey(const std::string& strMonitor, const std::string& strPort) {
    return PortsKey(strMonitor) + "\\" + strPort;
}

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

PortConfig ParseConfigInfo(const std::uint8_t* pReply) {
    PortConfig config;
    const char* pszField = reinterpret_cast<const char*>(pReply + kConfigInfoAddressOffset);
    const void* pEnd = std::memchr(pszField, 0, kConfigInfoAddressSize);
    if (pEnd)
        config.strAddress.assign(pszField, static_cast<const char*>(pEnd));
    else
        DebugTrace("ParseConfigInfo() : IP address is not terminated within %d bytes\n",
                   static_cast<int>(kConfigInfoAddressSize));

    std::uint32_t dwTcpPort = 0;
    for (std::size_t i = 0; i < 4; ++i)
        dwTcpPort |= static_cast<std::uint32_t>(pReply[kConfigInfoTcpPortOffset + i]) << (8 * i);
    if (IsTcpPort(dwTcpPort))
        config.dwTcpPort = dwTcpPort;
    else
        DebugTrace("ParseConfigInfo() : TCP port %u is out of range, using %u\n", dwTcpPort, kDefaultTcpPort);
    return config;
}

} // namespace printpath
