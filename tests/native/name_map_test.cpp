#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/name_map.h"

TEST(NameMap, WalksBucketsInOrderAndEachChainFromItsHead) {
    // Lengths 9, 9, 9 and 26 share bucket 9; 0 and 17 share bucket 0; 1 is alone.
    const std::string kA = "Kestrel A", kB = "Kestrel B", kLowerA = "kestrel a", k26(26, 'x'), k17(17, 'y'),
                      kZ = "Z";
    struct {
        std::vector<std::string> inserts;
        std::vector<std::string> removes;
        std::vector<std::string> expected;
    } const cases[] = {
        {{kA, kZ, kB, k17, k26, "", kLowerA}, {}, {"", k17, kZ, kLowerA, k26, kB, kA}},
        {{kA, kB, kA}, {}, {kB, kA}}, // stored again: keeps its place
        {{kA, kB, k26}, {k26}, {kB, kA}},
        {{kA, kB, k26}, {kB}, {k26, kA}},
        {{kA, kB, k26}, {kA}, {k26, kB}},
        {{kA, kLowerA}, {kA}, {kLowerA}}, // letter case makes another name
    };
    for (const auto& c : cases) {
        CNameMap<int> map;
        for (const std::string& strName : c.inserts)
            map.SetAt(strName, 0);
        for (const std::string& strName : c.removes)
            EXPECT_TRUE(map.RemoveKey(strName));
        std::vector<std::string> walk;
        map.ForEach([&](const std::string& strName, int) { walk.push_back(strName); });
        EXPECT_EQ(c.expected, walk);
        EXPECT_EQ(c.expected.size(), map.GetCount());
        for (const std::string& strName : c.removes)
            EXPECT_EQ(nullptr, map.Lookup(strName));
    }
}
