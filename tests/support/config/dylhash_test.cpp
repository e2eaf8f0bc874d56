#include <gtest/gtest.h>
#include "support/config/HashTables.h"
#include <vector>

namespace {

struct Item {
    UINT hash;
    int id;
};

// Items are equal by id; the hash is whatever the item carries, so tests can place them.
class TestTable : public C_DyLHashT {
public:
    TestTable(UINT segments, UINT levelSize, UINT threshold, UINT maxBuckets,
              HashDestroyFn destroy = nullptr)
        : C_DyLHashT(segments, levelSize, threshold, maxBuckets, destroy) {}
    UINT Hash(HashItem item) override { return static_cast<Item*>(item)->hash; }
    BYTE Compare(HashItem stored, HashItem probe) override
    {
        return static_cast<Item*>(stored)->id == static_cast<Item*>(probe)->id ? 1 : 0;
    }
};

UINT Scatter(int id) { return static_cast<UINT>(id) * 2654435761u; }

std::vector<Item> MakeItems(int count)
{
    std::vector<Item> items(count);
    for (int i = 0; i < count; ++i)
        items[i] = Item{Scatter(i), i};
    return items;
}

int g_destroyed = 0;
void CountDestroy(HashItem) { ++g_destroyed; }

std::vector<int> g_visited;
void Visit(HashItem item) { g_visited.push_back(static_cast<Item*>(item)->id); }

TEST(DyLHashT, GrowsOneBucketAtATimeAndKeepsEveryItem)
{
    g_destroyed = 0;
    std::vector<Item> items = MakeItems(3000);
    {
        TestTable table(1, 4, 4, 65536, CountDestroy);
        EXPECT_EQ(4u, table.GetBucketCount());
        EXPECT_EQ(256u, table.GetBucketsProvided());
        UINT levelDoublings = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            UINT buckets = table.GetBucketCount();
            UINT level = table.GetLevelSize();
            ASSERT_EQ(C_DyLHashT::INSERTED, table.Insert(&items[i]));
            ASSERT_LE(table.GetBucketCount(), buckets + 1);
            if (table.GetLevelSize() != level) {
                ++levelDoublings;
                EXPECT_EQ(level * 2, table.GetLevelSize());
                EXPECT_EQ(0u, table.GetSplitPointer());
            }
            if (table.GetBucketCount() != buckets) {
                for (size_t j = 0; j <= i; ++j)
                    ASSERT_EQ(&items[j], table.Find(&items[j])) << "item " << j << " after insert " << i;
            }
        }
        EXPECT_GE(levelDoublings, 7u);
        EXPECT_GT(table.GetBucketCount(), 512u);
        EXPECT_GE(table.GetBucketsProvided(), 1024u);   // segments were added on the way
        EXPECT_EQ(items.size(), table.GetItemCount());
        Item absent{Scatter(5000), 5000};
        EXPECT_EQ(nullptr, table.Find(&absent));

        g_visited.clear();
        table.ForEach(Visit);
        std::vector<bool> seen(items.size());
        for (int id : g_visited) {
            EXPECT_FALSE(seen[id]) << id;
            seen[id] = true;
        }
        EXPECT_EQ(items.size(), g_visited.size());
    }
    EXPECT_EQ(3000, g_destroyed);
}

TEST(DyLHashT, EqualItemIsReportedAndNothingChanges)
{
    TestTable table(1, 2, 0, 65536);
    Item stored{7, 1};
    Item twin{7, 1};
    ASSERT_EQ(C_DyLHashT::INSERTED, table.Insert(&stored));
    EXPECT_EQ(C_StLHashT::ALREADY_THERE, table.Insert(&twin));
    EXPECT_EQ(&stored, table.Find(&twin));
    EXPECT_EQ(1u, table.GetItemCount());
    Item sameHashOtherId{7, 2};
    EXPECT_EQ(nullptr, table.Find(&sameHashOtherId));
    EXPECT_EQ(C_DyLHashT::INSERTED, table.Insert(&sameHashOtherId));
}

TEST(DyLHashT, ForEachFollowsSlotThenChainOrderAcrossASplit)
{
    // Level 2, threshold 3, hash = id: 1 3 5 7 share bucket 1.
    TestTable table(1, 2, 3, 65536);
    std::vector<Item> items;
    for (int id : {1, 3, 5, 7, 0, 2})
        items.push_back(Item{static_cast<UINT>(id), id});
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(C_DyLHashT::INSERTED, table.Insert(&items[i]));
    EXPECT_EQ(2u, table.GetBucketCount());
    ASSERT_EQ(C_DyLHashT::INSERTED, table.Insert(&items[4]));   // splits bucket 0
    EXPECT_EQ(3u, table.GetBucketCount());
    ASSERT_EQ(C_DyLHashT::INSERTED, table.Insert(&items[5]));   // splits bucket 1, ends the level
    EXPECT_EQ(4u, table.GetLevelSize());
    EXPECT_EQ(0u, table.GetSplitPointer());
    EXPECT_EQ(6u, table.GetThreshold());

    g_visited.clear();
    table.ForEach(Visit);
    EXPECT_EQ((std::vector<int>{0, 1, 5, 2, 3, 7}), g_visited);
    table.ForEach(nullptr);
}

TEST(DyLHashT, RefusesInsertionsOnceItMayNotGrow)
{
    struct Case { UINT maxBuckets; UINT threshold; int items; UINT buckets; };
    // 600 allows a level of 256 but not of 512; the directory caps everything at 65,536.
    for (Case c : {Case{8, 2, 300, 8}, Case{600, 0, 1000, 512}, Case{1u << 20, 0, 70000, 65536}}) {
        std::vector<Item> items = MakeItems(c.items);
        TestTable table(1, 1, c.threshold, c.maxBuckets);
        EXPECT_LE(table.GetMaxBuckets(), 65536u);
        int stored = 0;
        for (Item& it : items) {
            WORD status = table.Insert(&it);
            if (status == C_DyLHashT::NOT_INSERTED)
                break;
            ASSERT_EQ(C_DyLHashT::INSERTED, status) << c.maxBuckets << " id " << it.id;
            ++stored;
        }
        ASSERT_LT(stored, c.items) << c.maxBuckets;
        EXPECT_EQ(c.buckets, table.GetBucketCount()) << c.maxBuckets;
        EXPECT_LE(table.GetBucketsProvided(), 65536u);
        EXPECT_EQ(static_cast<UINT>(stored), table.GetItemCount()) << c.maxBuckets;
        // The refused item is not there, every later one is refused too, and
        // what was stored is found.
        EXPECT_EQ(nullptr, table.Find(&items[stored])) << c.maxBuckets;
        EXPECT_EQ(C_DyLHashT::NOT_INSERTED, table.Insert(&items.back())) << c.maxBuckets;
        for (int i = 0; i < stored; ++i)
            ASSERT_EQ(&items[i], table.Find(&items[i])) << c.maxBuckets << " id " << items[i].id;
    }
}

TEST(DyLHashT, ConstructorKeepsWithinTheDirectory)
{
    struct Case { UINT segments; UINT level; UINT wantLevel; UINT wantProvided; };
    for (Case c : {Case{0, 0, 1, 256}, Case{1, 3, 4, 256}, Case{1, 1000, 1024, 1024},
                   Case{1000, 2, 2, 65536}, Case{1, 100000, 65536, 65536}}) {
        TestTable table(c.segments, c.level, 1, 1u << 20);
        EXPECT_EQ(c.wantLevel, table.GetLevelSize()) << c.segments << "/" << c.level;
        EXPECT_EQ(c.wantProvided, table.GetBucketsProvided()) << c.segments << "/" << c.level;
        EXPECT_EQ(65536u, table.GetMaxBuckets());
        Item it{12345, 1};
        EXPECT_EQ(C_DyLHashT::INSERTED, table.Insert(&it));
        EXPECT_EQ(&it, table.Find(&it));
    }
}

} // namespace
