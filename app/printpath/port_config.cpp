#include "app/printpath/port_config.h"

#include <cstring>

namespace printpath {

std::string PortsKey(const std::string& strMonitor) {
    return std::string(kMonitorsKey) + "\\" + strMonitor + "\\Ports";
}

std::string PortSettingsKey(const std::string& strMonitor, const std::string& strPort) {
    return PortsKey(strMonitor) + "\\" + strPort;
}

PortConfig ParseConfigInfo(const std::uint8_t* pReply) {
    // Both fields are taken as the monitor gave them: an address without its
    // NUL keeps all sixteen characters and a port outside 1 to 65535 stays as
    // it is; either then fails where the connection is made.
    PortConfig config;
    const char* pszField = reinterpret_cast<const char*>(pReply + kConfigInfoAddressOffset);
    const void* pEnd = std::memchr(pszField, 0, kConfigInfoAddressSize);
    config.strAddress.assign(pszField,
                             pEnd ? static_cast<const char*>(pEnd) : pszField + kConfigInfoAddressSize);
    config.dwTcpPort = 0;
    for (std::size_t i = 0; i < 4; ++i)
        config.dwTcpPort |= static_cast<std::uint32_t>(pReply[kConfigInfoTcpPortOffset + i]) << (8 * i);
    return config;
}

} // namespace printpath
