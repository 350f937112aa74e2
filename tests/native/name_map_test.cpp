#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "monitor/name_map.h"

namespace {

// Lengths 9, 9, 9 and 26 share bucket 9; 0 and 17 share bucket 0; 1 is alone.
const std::string kA = "Kestrel A";
const std::string kB = "Kestrel B";
const std::string kLowerA = "kestrel a";
const std::string k26 = "abcdefghijklmnopqrstuvwxyz";
const std::string kEmpty;
const std::string k17 = "Brindle Office 01";
const std::string kZ = "Z";

std::vector<std::string> WalkOrder(const CNameMap<int>& map) {
    std::vector<std::string> names;
    map.ForEach([&](const std::string& strName, int) { names.push_back(strName); });
    return names;
}

} // namespace

TEST(NameMap, WalksBucketsInOrderAndEachChainFromItsHead) {
    struct {
        const char* pszTitle;
        std::vector<std::string> inserts;
        std::vector<std::string> removes;
        std::vector<std::string> expected;
    } const cases[] = {
        {"no collision", {kZ, kA, kEmpty}, {}, {kEmpty, kZ, kA}},
        {"head insertion",
         {kA, kZ, kB, k17, k26, kEmpty, kLowerA},
         {},
         {kEmpty, k17, kZ, kLowerA, k26, kB, kA}},
        {"stored again keeps its place", {kA, kB, kA}, {}, {kB, kA}},
        {"chain head removed", {kA, kB, k26}, {k26}, {kB, kA}},
        {"chain middle removed", {kA, kB, k26}, {kB}, {k26, kA}},
        {"chain tail removed", {kA, kB, k26}, {kA}, {k26, kB}},
        {"case differs: another name", {kA, kLowerA}, {kA}, {kLowerA}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTitle);
        CNameMap<int> map;
        for (const std::string& strName : c.inserts)
            map.SetAt(strName, 0);
        for (const std::string& strName : c.removes)
            EXPECT_TRUE(map.RemoveKey(strName));
        EXPECT_EQ(c.expected, WalkOrder(map));
        EXPECT_EQ(c.expected.size(), map.GetCount());
    }
}

TEST(NameMap, LookupAndRemovalAreCaseSensitive) {
    CNameMap<int> map;
    map.SetAt(kA, 1);
    map.SetAt(kB, 2);
    map.SetAt(kA, 3);
    ASSERT_NE(nullptr, map.Lookup(kA));
    EXPECT_EQ(3, *map.Lookup(kA));
    EXPECT_EQ(nullptr, map.Lookup(kLowerA));
    EXPECT_EQ(nullptr, map.Lookup("Kestrel"));
    EXPECT_FALSE(map.RemoveKey(kLowerA));
    EXPECT_FALSE(map.RemoveKey(k26)); // same bucket, not there
    EXPECT_EQ(2u, map.GetCount());
}

TEST(NameMap, RemoveAllDestroysTheValuesInWalkOrder) {
    std::vector<std::string> destroyed;
    struct CRecorder {
        std::vector<std::string>* pDestroyed;
        std::string strName;
        ~CRecorder() { pDestroyed->push_back(strName); }
    };
    CNameMap<std::unique_ptr<CRecorder>> map;
    for (const std::string& strName : {kA, kZ, kB, k17})
        map.SetAt(strName, std::unique_ptr<CRecorder>(new CRecorder{&destroyed, strName}));
    map.RemoveAll();
    EXPECT_EQ((std::vector<std::string>{k17, kZ, kB, kA}), destroyed);
    EXPECT_EQ(0u, map.GetCount());
    EXPECT_EQ(nullptr, map.Lookup(kA));
}
