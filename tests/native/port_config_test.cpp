#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/printpath/port_config.h"
#include "tests/common/trace_capture.h"

using printpath::kConfigInfoSize;

TEST(PortSettingsKey, NamesTheMonitorsPortKey) {
    EXPECT_EQ(
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Tessel TCP/IP Monitor\\Ports\\IP_10.0.0.5",
        printpath::PortSettingsKey(printpath::kTcpIpMonitorName, "IP_10.0.0.5"));
}

TEST(ConfigInfo, LayoutOfABuiltReply) {
    std::vector<std::uint8_t> reply(kConfigInfoSize, 0xCC);
    ASSERT_TRUE(printpath::BuildConfigInfo({"192.168.1.20", 0xA1B2}, reply.data()));

    std::vector<std::uint8_t> expected(kConfigInfoSize, 0);
    std::memcpy(expected.data() + 256, "192.168.1.20", 12);
    expected[272] = 0xB2, expected[273] = 0xA1;
    EXPECT_EQ(expected, reply);
}

TEST(ConfigInfo, RoundTrips) {
    const printpath::PortConfig cases[] = {
        {"10.0.0.5", 9100},
        {"255.255.255.255", 65535}, // the longest address that leaves room for the NUL
        {"1.2.3.4", 1},
        {"printer-7.lan", 515},
    };
    for (const auto& config : cases) {
        SCOPED_TRACE(config.strAddress);
        std::vector<std::uint8_t> reply(kConfigInfoSize, 0xCC);
        ASSERT_TRUE(printpath::BuildConfigInfo(config, reply.data()));
        CTraceCapture trace;
        const printpath::PortConfig parsed = printpath::ParseConfigInfo(reply.data());
        EXPECT_EQ(config.strAddress, parsed.strAddress);
        EXPECT_EQ(config.dwTcpPort, parsed.dwTcpPort);
        EXPECT_TRUE(trace.Lines().empty());
    }
}

TEST(ConfigInfo, BuildRefusesWhatTheReplyCannotCarry) {
    const printpath::PortConfig cases[] = {
        {"", 9100},
        {"255.255.255.2550", 9100}, // 16 characters leave no room for the NUL
        {"10.0.0.5 ", 9100},
        {"10.0.\t0.5", 9100},
        {"10.0.0.\xC3\xA9", 9100},
        {"10.0.0.?", 9100}, // what a character without a narrow form becomes
        {"10.0.0.5:9100", 9100},
        {"10.0.0.5", 0},
        {"10.0.0.5", 65536},
    };
    for (const auto& config : cases) {
        SCOPED_TRACE(config.strAddress + " " + std::to_string(config.dwTcpPort));
        std::vector<std::uint8_t> reply(kConfigInfoSize, 0xCC);
        EXPECT_FALSE(printpath::BuildConfigInfo(config, reply.data()));
        EXPECT_EQ(std::vector<std::uint8_t>(kConfigInfoSize, 0xCC), reply);
    }
}

TEST(ConfigInfo, ParseReadsOnlyItsTwoFields) {
    // Whatever lies before the address and after its NUL is not part of it.
    std::vector<std::uint8_t> reply(kConfigInfoSize, 'x');
    std::memcpy(reply.data() + 256, "10.1.2.3\0junk", 13);
    reply[272] = 0x8C, reply[273] = 0x23, reply[274] = 0, reply[275] = 0;
    const printpath::PortConfig parsed = printpath::ParseConfigInfo(reply.data());
    EXPECT_EQ("10.1.2.3", parsed.strAddress);
    EXPECT_EQ(9100u, parsed.dwTcpPort);
}

TEST(ConfigInfo, ParseTakesBadFieldsAsGiven) {
    struct Case {
        const char* pszName;
        std::uint8_t abAddress[16];
        std::uint8_t abPort[4];
        const char* pszAddress;
        std::uint32_t dwTcpPort;
    };
    const Case cases[] = {
        {"address without NUL",
         {'1', '2', '3', '.', '1', '2', '3', '.', '1', '2', '3', '.', '1', '2', '3', '4'},
         {0x8C, 0x23, 0, 0},
         "123.123.123.1234",
         9100},
        {"port zero", {'1', '.', '2', '.', '3', '.', '4'}, {0, 0, 0, 0}, "1.2.3.4", 0},
        {"port above 65535", {'1', '.', '2', '.', '3', '.', '4'}, {0x00, 0x00, 0x01, 0x00}, "1.2.3.4", 65536},
        {"little-endian, not 515", {'1'}, {0x00, 0x00, 0x02, 0x03}, "1", 0x03020000},
        {"empty address", {}, {0x03, 0x02, 0, 0}, "", 515},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::vector<std::uint8_t> reply(kConfigInfoSize, 0);
        std::memcpy(reply.data() + 256, c.abAddress, 16);
        std::memcpy(reply.data() + 272, c.abPort, 4);
        CTraceCapture trace;
        const printpath::PortConfig parsed = printpath::ParseConfigInfo(reply.data());
        EXPECT_EQ(c.pszAddress, parsed.strAddress);
        EXPECT_EQ(c.dwTcpPort, parsed.dwTcpPort);
        EXPECT_TRUE(trace.Lines().empty());
    }
}
