#include <gtest/gtest.h>

#include <string>

#include "devices/lan/lan_link.h"
#include "devices/lan/parse_unsigned.h"

TEST(LanLink, SplitsAtTheFirstColon) {
    struct {
        const char* pszLink;
        const char* pszAddress;
        std::uint32_t nPort;
    } const cases[] = {
        {"192.168.1.20:9100", "192.168.1.20", 9100},
        {"printer.example:9101", "printer.example", 9101},
        {"10.0.0.5:", "10.0.0.5", 0},    // nothing behind the colon
        {":9100", "", 9100},             // nothing before it
        {"host:80:90", "host", 80},      // only the first colon splits
        {"host: \t9100", "host", 9100},  // leading white space skipped
        {"host:9100abc", "host", 9100},  // stops at the first non-digit
        {"host:abc", "host", 0},         // no digits
        {"host:70000", "host", 70000},   // no range check
        {"host:-1", "host", 0xFFFFFFFF}, // a sign, as strtoul reads it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszLink);
        std::string strAddress = "old";
        std::uint32_t nPort = 1;
        ASSERT_TRUE(ParseLink(strAddress, nPort, c.pszLink));
        EXPECT_EQ(c.pszAddress, strAddress);
        EXPECT_EQ(c.nPort, nPort);
    }
}

TEST(LanLink, WithoutColonLeavesTheOutputs) {
    for (const char* pszLink : {"192.168.1.20", ""}) {
        std::string strAddress = "old";
        std::uint32_t nPort = 1;
        EXPECT_FALSE(ParseLink(strAddress, nPort, pszLink)) << pszLink;
        EXPECT_EQ("old", strAddress);
        EXPECT_EQ(1u, nPort);
    }
}

TEST(ParseUnsigned, ThirtyTwoBitStrtoulRules) {
    struct {
        const char* pszText;
        unsigned nBase;
        std::uint32_t dwValue;
    } const cases[] = {
        {"4294967295", 10, 0xFFFFFFFF},
        {"4294967296", 10, 0xFFFFFFFF},
        {"-4294967295", 10, 1},
        {"-4294967296", 10, 0xFFFFFFFF},
        {"-0", 10, 0},
        {"+12", 10, 12},
        {"+-1", 10, 0},
        {"\v\f\r\n 5", 10, 5},
        {"FFFFFFFF", 16, 0xFFFFFFFF},
        {"1FFFFFFFF", 16, 0xFFFFFFFF},
        {"aBcD", 16, 0xABCD},
        {"0x1F", 16, 0},
        {"fg", 16, 15},
        {"", 16, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dwValue, ParseUnsigned(c.pszText, c.nBase)) << '"' << c.pszText << "\" base " << c.nBase;
}

TEST(ParseUnsigned, ReadsNoFurtherThanTheText) {
    const char achDigits[] = "12345";
    EXPECT_EQ(123u, ParseUnsigned(std::string_view(achDigits, 3), 10));
}
