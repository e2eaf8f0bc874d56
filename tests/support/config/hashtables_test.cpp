#include <gtest/gtest.h>
#include "support/config/HashTables.h"
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(HashString, KnownValues)
{
    EXPECT_EQ(0x3DF641A9u, HashString(""));
    EXPECT_EQ(0x4648DCCAu, HashString("abc"));
    EXPECT_EQ(0x066DF1C3u, HashString("ABC"));
    EXPECT_EQ(0x46474D91u, HashString("\xE9"));
    // Longer than one 12-byte block: stable and distinct.
    EXPECT_EQ(HashString("0123456789abcdefXYZ"), HashString("0123456789abcdefXYZ"));
    EXPECT_NE(HashString("0123456789abcdefXYZ"), HashString("0123456789abcdefXYz"));
}

struct Rec {
    const char* key;
    int value;
};

int g_destroyed = 0;
void CountDestroy(HashItem) { ++g_destroyed; }

TEST(SymbolTab, KeysIgnoreCase)
{
    Rec stored{"ABC", 1};
    Rec probe{"abc", 0};
    Rec same{"Abc", 2};
    C_SymbolTab table(16, 2, nullptr);
    EXPECT_EQ(C_StLHashT::INSERTED, table.Insert(&stored));
    EXPECT_EQ(&stored, table.Find(&probe));
    EXPECT_EQ(C_StLHashT::ALREADY_THERE, table.Insert(&same));
    EXPECT_EQ(&stored, table.Find(&same));
    EXPECT_EQ(1u, table.GetItemCount());
    Rec other{"abd", 0};
    EXPECT_EQ(nullptr, table.Find(&other));
}

TEST(SymbolTab, BucketCounts)
{
    struct Case { UINT requested; UINT buckets; };
    for (Case c : {Case{0, 2}, Case{1, 2}, Case{3, 4}, Case{1000, 1024}, Case{1025, 2048}}) {
        C_SymbolTab t(c.requested, 2, nullptr);
        EXPECT_EQ(c.buckets, t.GetBucketCount()) << c.requested;
        EXPECT_EQ(c.buckets * 2, t.GetThreshold());
    }
}

TEST(SymbolTab, GrowsPastItsThresholdAndKeepsEveryItem)
{
    g_destroyed = 0;
    std::vector<std::string> keys;
    for (int i = 0; i < 2050; ++i)
        keys.push_back("Key" + std::to_string(i));
    std::vector<Rec> recs(keys.size());
    {
        C_IniSymbolTab table(CountDestroy);
        EXPECT_EQ(1024u, table.GetBucketCount());
        EXPECT_EQ(2048u, table.GetThreshold());
        for (size_t i = 0; i < keys.size(); ++i) {
            recs[i] = Rec{keys[i].c_str(), static_cast<int>(i)};
            ASSERT_EQ(C_StLHashT::INSERTED, table.Insert(&recs[i]));
            if (i == 2048) {   // the 2049th: count 2048 is not above the threshold
                EXPECT_EQ(1024u, table.GetBucketCount());
            }
        }
        EXPECT_EQ(2048u, table.GetBucketCount());
        EXPECT_EQ(4096u, table.GetThreshold());
        for (size_t i = 0; i < keys.size(); ++i) {
            std::string upper = "KEY" + std::to_string(i);
            Rec probe{upper.c_str(), 0};
            Rec* found = static_cast<Rec*>(table.Find(&probe));
            ASSERT_NE(nullptr, found) << upper;
            EXPECT_EQ(static_cast<int>(i), found->value);
        }
        std::set<int> seen;
        for (HashItem it = table.GetFirst(); it; it = table.GetNext())
            EXPECT_TRUE(seen.insert(static_cast<Rec*>(it)->value).second);
        EXPECT_EQ(keys.size(), seen.size());
    }
    EXPECT_EQ(2050, g_destroyed);
}

std::vector<int> g_visited;
void Visit(HashItem item) { g_visited.push_back(static_cast<Rec*>(item)->value); }

// The first upTo records go bucket by bucket (hash AND mask), each bucket's
// items in the order they came, in a walk and in ForEach; each is found.
void ExpectBucketThenInsertionOrder(C_StLHashT& table, const std::vector<std::string>& keys,
                                    std::vector<Rec>& recs, size_t upTo)
{
    UINT mask = table.GetBucketCount() - 1;
    std::vector<int> expected;
    for (size_t i = 0; i < upTo; ++i)
        expected.push_back(static_cast<int>(i));
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return (HashUpper(keys[a].c_str()) & mask) < (HashUpper(keys[b].c_str()) & mask); });
    std::vector<int> seen;
    for (HashItem it = table.GetFirst(); it; it = table.GetNext())
        seen.push_back(static_cast<Rec*>(it)->value);
    EXPECT_EQ(expected, seen) << upTo << " items";
    g_visited.clear();
    table.ForEach(Visit);
    EXPECT_EQ(expected, g_visited) << upTo << " items";
    for (size_t i = 0; i < upTo; i += 97) {
        Rec probe{keys[i].c_str(), 0};
        EXPECT_EQ(&recs[i], table.Find(&probe));
    }
}

// However the table holds its buckets, iteration goes bucket by bucket,
// before and after the table doubles.
TEST(SymbolTab, IterationFollowsBucketThenInsertionOrder)
{
    std::vector<std::string> keys;
    for (int i = 0; i < 3000; ++i)
        keys.push_back("k" + std::to_string(i * 7));
    std::vector<Rec> recs(keys.size());
    C_IniSymbolTab table(nullptr);
    size_t inserted = 0;
    for (size_t upTo : {size_t(1), size_t(5), size_t(300), size_t(2049), size_t(3000)}) {
        for (; inserted < upTo; ++inserted) {
            recs[inserted] = Rec{keys[inserted].c_str(), static_cast<int>(inserted)};
            ASSERT_EQ(C_StLHashT::INSERTED, table.Insert(&recs[inserted]));
        }
        ExpectBucketThenInsertionOrder(table, keys, recs, upTo);
    }
    EXPECT_EQ(2048u, table.GetBucketCount());
}

// Past 65,536 buckets a bucket needs more hash bits than a table keeps
// beside each item: the order and the lookups stay the same.
TEST(SymbolTab, IterationOrderWithManyBuckets)
{
    std::vector<std::string> keys;
    for (int i = 0; i < 700; ++i)
        keys.push_back("Big" + std::to_string(i * 13));
    std::vector<Rec> recs(keys.size());
    C_SymbolTab table(100000, 2, nullptr);
    ASSERT_EQ(131072u, table.GetBucketCount());
    for (size_t i = 0; i < keys.size(); ++i) {
        recs[i] = Rec{keys[i].c_str(), static_cast<int>(i)};
        ASSERT_EQ(C_StLHashT::INSERTED, table.Insert(&recs[i]));
    }
    ExpectBucketThenInsertionOrder(table, keys, recs, keys.size());
    Rec again{"BIG13", 0};
    EXPECT_EQ(C_StLHashT::ALREADY_THERE, table.Insert(&again));
}

// Items inserted while a walk goes on make room by moving others: the walk
// still meets every earlier item once, and no item twice.
TEST(SymbolTab, IterationSurvivesInsertions)
{
    std::vector<std::string> keys;
    for (int i = 0; i < 400; ++i)
        keys.push_back("w" + std::to_string(i));
    std::vector<Rec> recs(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        recs[i] = Rec{keys[i].c_str(), static_cast<int>(i)};
    C_SymbolTab table(1000, 2, nullptr);
    const int kBefore = 40;
    for (int i = 0; i < kBefore; ++i)
        ASSERT_EQ(C_StLHashT::INSERTED, table.Insert(&recs[i]));
    std::set<int> seen;
    size_t next = kBefore;
    for (HashItem it = table.GetFirst(); it; it = table.GetNext()) {
        EXPECT_TRUE(seen.insert(static_cast<Rec*>(it)->value).second) << static_cast<Rec*>(it)->value;
        for (int k = 0; k < 3 && next < recs.size(); ++k)
            ASSERT_EQ(C_StLHashT::INSERTED, table.Insert(&recs[next++]));
    }
    for (int i = 0; i < kBefore; ++i)
        EXPECT_EQ(1u, seen.count(i)) << i;
    EXPECT_EQ(recs.size(), table.GetItemCount());
}

TEST(SymbolTab, ItemsASlotCannotHoldAreNotStored)
{
    C_SymbolTab table(4, 2, nullptr);
    EXPECT_EQ(C_StLHashT::NOT_INSERTED, table.Insert(nullptr));
#ifdef _WIN64
    // No user-mode address: a slot could not give it back.
    EXPECT_EQ(C_StLHashT::NOT_INSERTED, table.Insert(reinterpret_cast<HashItem>(0x0001000000000010ull)));
#endif
    EXPECT_EQ(0u, table.GetItemCount());
    EXPECT_EQ(nullptr, table.GetFirst());
}

TEST(SymbolTab, IterationOfAnEmptyTable)
{
    C_SymbolTab table(4, 2, nullptr);
    EXPECT_EQ(nullptr, table.GetNext());
    EXPECT_EQ(nullptr, table.GetFirst());
    EXPECT_EQ(nullptr, table.GetNext());
}

} // namespace
