#include <gtest/gtest.h>

#include <string>

#include "devices/lan/lan_link.h"
#include "devices/lan/parse_unsigned.h"

TEST(LanLink, SplitsAtTheFirstColonOrLeavesTheOutputs) {
    const struct {
        const char* pszLink;
        const char* pszAddress; // "old" when the link is refused
        std::uint32_t nPort;
    } cases[] = {
        {"192.168.1.20:9100", "192.168.1.20", 9100},
        {"10.0.0.5:", "10.0.0.5", 0},      // nothing behind the colon
        {"host:80:90", "host", 80},        // only the first colon splits
        {"host: -1x", "host", 0xFFFFFFFF}, // as strtoul reads it: the table below
        {"192.168.1.20", "old", 1},
        {"", "old", 1},
    };
    for (const auto& c : cases) {
        std::string strAddress = "old";
        std::uint32_t nPort = 1;
        EXPECT_EQ(std::string(c.pszAddress) != "old", ParseLink(strAddress, nPort, c.pszLink)) << c.pszLink;
        EXPECT_EQ(c.pszAddress, strAddress) << c.pszLink;
        EXPECT_EQ(c.nPort, nPort) << c.pszLink;
    }
}

TEST(ParseUnsigned, ThirtyTwoBitStrtoulRules) {
    const struct {
        const char* pszText;
        unsigned nBase;
        std::uint32_t dwValue;
    } cases[] = {
        {"4294967295", 10, 0xFFFFFFFF},
        {"4294967296", 10, 0xFFFFFFFF},
        {"-4294967295", 10, 1},
        {"-4294967296", 10, 0xFFFFFFFF},
        {"+12", 10, 12},
        {"+-1", 10, 0},
        {"\v\f\r\n 5", 10, 5},
        {"aBcD", 16, 0xABCD},
        {"0x1F", 16, 0},
        {"fg", 16, 15},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dwValue, ParseUnsigned(c.pszText, c.nBase)) << '"' << c.pszText << "\" base " << c.nBase;
    EXPECT_EQ(123u, ParseUnsigned(std::string_view("12345", 3), 10)); // no further than the text
}
