#include "devices/lan/lan_link.h"

#include "devices/lan/parse_unsigned.h"

bool ParseLink(std::string& strIpAddress, std::uint32_t& nTcpPort, std::string_view link) {
    const std::size_t nColon = link.find(':');
    if (nColon == std::string_view::npos)
        return false;
    strIpAddress.assign(link.substr(0, nColon));
    nTcpPort = ParseUnsigned(link.substr(nColon + 1), 10);
    return true;
}
