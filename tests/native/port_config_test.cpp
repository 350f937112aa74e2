#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/printpath/port_config.h"

using printpath::kConfigInfoSize;

namespace {

// The reply bytes: the filler, the 16 address bytes at 256, the 4 port bytes at 272.
std::vector<std::uint8_t> ConfigReply(std::uint8_t bFill, const std::string& strAddress,
                                      const std::vector<std::uint8_t>& port) {
    std::vector<std::uint8_t> reply(kConfigInfoSize, bFill);
    std::memset(reply.data() + 256, 0, 16);
    std::memcpy(reply.data() + 256, strAddress.data(), strAddress.size());
    std::memcpy(reply.data() + 272, port.data(), 4);
    return reply;
}

} // namespace

TEST(PortSettingsKey, NamesTheMonitorsPortKey) {
    EXPECT_EQ(
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tessel TCP/IP Monitor\\Ports\\IP_10.0.0.5",
        printpath::PortSettingsKey(printpath::kTcpIpMonitorName, "IP_10.0.0.5"));
}

// Parse reads its two fields as given, and nothing around them. (The reply is
// built by the simulator's port monitor, which the network tests under Wine use.)
TEST(ConfigInfo, ParseTakesBadFieldsAsGiven) {
    const struct {
        std::string strField; // the address field's bytes
        std::vector<std::uint8_t> port;
        const char* pszAddress;
        std::uint32_t dwTcpPort;
    } cases[] = {
        {std::string("10.1.2.3\0junk", 13), {0x8C, 0x23, 0, 0}, "10.1.2.3", 9100},
        {"123.123.123.1234", {0x8C, 0x23, 0, 0}, "123.123.123.1234", 9100}, // no NUL
        {"1", {0x00, 0x00, 0x02, 0x03}, "1", 0x03020000},                   // little-endian, not 515
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszAddress);
        const std::vector<std::uint8_t> reply = ConfigReply('x', c.strField, c.port);
        const printpath::PortConfig parsed = printpath::ParseConfigInfo(reply.data());
        EXPECT_EQ(c.pszAddress, parsed.strAddress);
        EXPECT_EQ(c.dwTcpPort, parsed.dwTcpPort);
    }
}
