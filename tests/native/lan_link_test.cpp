#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "devices/lan/lan_link.h"

TEST(LanLink, SplitsAtTheFirstColonOrLeavesTheOutputs) {
    const struct {
        const char* pszLink;
        const char* pszAddress; // "old" when the link is refused
        std::uint32_t nPort;
    } cases[] = {
        {"192.168.1.20:9100", "192.168.1.20", 9100},
        {"10.0.0.5:", "10.0.0.5", 0}, // nothing behind the colon
        {"host:80:90", "host", 80},   // only the first colon splits
        // The number as strtoul reads it: the PJL fuzz target compares the two.
        {"host: -1x", "host", 0xFFFFFFFF},
        {"192.168.1.20", "old", 1},
        {"", "old", 1},
    };
    for (const auto& c : cases) {
        std::string strAddress = "old";
        std::uint32_t nPort = 1;
        EXPECT_EQ(std::string(c.pszAddress) != "old", ParseLink(strAddress, nPort, c.pszLink)) << c.pszLink;
        EXPECT_EQ(std::make_pair(std::string(c.pszAddress), c.nPort), std::make_pair(strAddress, nPort))
            << c.pszLink;
    }
}
