#include <gtest/gtest.h>
#include "support/text/CUList.h"
#include <vector>

namespace {

TEST(UniqueIDGenerator, ReusesTheMostRecentlyReleasedIdFirst)
{
    C_UniqueIDGenerator g;
    EXPECT_EQ(1u, g.GetNextID());
    EXPECT_EQ(2u, g.GetNextID());
    EXPECT_EQ(3u, g.GetNextID());
    g.Release(3);
    g.Release(1);
    EXPECT_EQ(1u, g.GetNextID());
    EXPECT_EQ(3u, g.GetNextID());
    EXPECT_EQ(4u, g.GetNextID());
}

TEST(UniqueIDGenerator, IgnoresIdsNotInUse)
{
    C_UniqueIDGenerator g;
    g.GetNextID();
    g.GetNextID();   // 1 and 2 in use
    g.Release(2);
    g.Release(2);    // twice: free once
    g.Release(5);    // never handed out
    g.Release(0);    // never a valid id
    EXPECT_EQ(2u, g.GetNextID());
    EXPECT_EQ(3u, g.GetNextID());
}

TEST(UniqueIDGenerator, Reserve)
{
    C_UniqueIDGenerator g;
    EXPECT_TRUE(g.Reserve(5));
    for (UINT expected : {4u, 3u, 2u, 1u, 6u})
        EXPECT_EQ(expected, g.GetNextID());
    EXPECT_FALSE(g.Reserve(3));   // in use
    g.Release(3);
    EXPECT_TRUE(g.Reserve(3));
    EXPECT_EQ(7u, g.GetNextID());
    g.Reset();
    EXPECT_EQ(1u, g.GetNextID());
}

// Counts its live instances so that tests see which list deleted what.
struct Item : C_CUItem {
    explicit Item(int v) : value(v) { ++s_live; }
    ~Item() { --s_live; }
    int value;
    static int s_live;
};
int Item::s_live = 0;

using OwningList = C_CUList<Item, Item, 1>;
using PlainList = C_CUList<Item, Item, 0>;

TEST(CUList, EmptyListWalksNothing)
{
    PlainList list;
    list.Reset();
    EXPECT_EQ(nullptr, list.GetNext());
    list.MoveToEnd();
    EXPECT_EQ(nullptr, list.GetPrev());
    EXPECT_EQ(nullptr, list.GetAt(0));
    EXPECT_EQ(nullptr, list.GetNext());   // fresh cursor without Reset: nothing either
}

TEST(CUList, CursorStopsAtBothEnds)
{
    Item a(1), b(2), c(3);
    PlainList list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    EXPECT_EQ(1u, a.GetID());
    EXPECT_EQ(3u, c.GetID());
    list.Reset();
    EXPECT_EQ(&a, list.GetNext());
    EXPECT_EQ(&b, list.GetNext());
    EXPECT_EQ(&c, list.GetNext());
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(&b, list.GetPrev());
    // GetAt out of range leaves the cursor alone.
    EXPECT_EQ(nullptr, list.GetAt(-1));
    EXPECT_EQ(nullptr, list.GetAt(3));
    EXPECT_EQ(&c, list.GetNext());
    list.MoveToEnd();
    EXPECT_EQ(&c, list.GetPrev());
    EXPECT_EQ(&b, list.GetPrev());
    EXPECT_EQ(&a, list.GetPrev());
    EXPECT_EQ(nullptr, list.GetPrev());
    list.Reset();
    EXPECT_EQ(nullptr, list.GetPrev());
}

TEST(CUList, FindAndIdsAfterRemoveAll)
{
    Item a(1), b(2), c(3);
    PlainList list;
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(&b, list.Find(2));
    EXPECT_EQ(nullptr, list.Find(0));
    EXPECT_EQ(nullptr, list.Find(9));
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(1, a.value);   // not owned: alive
    list.Add(&c);
    EXPECT_EQ(1u, c.GetID());
    list.MoveToEnd();
    EXPECT_EQ(&c, list.GetPrev());
}

TEST(CUList, OwningListDeletesItsItemsAtLastRelease)
{
    Item::s_live = 0;
    OwningList* list = new OwningList;
    list->Add(new Item(1));
    list->Add(new Item(2));
    EXPECT_EQ(2, Item::s_live);
    I_CUList<Item>* iface = list;
    iface->AddRef();
    iface->Release();
    EXPECT_EQ(2, Item::s_live);   // still one holder
    iface->Release();
    EXPECT_EQ(0, Item::s_live);
}

TEST(CUList, OwningRemoveAllDeletesButPlainListLeavesItems)
{
    Item::s_live = 0;
    {
        OwningList owning;
        owning.Add(new Item(1));
        owning.RemoveAll();
        EXPECT_EQ(0, Item::s_live);
        owning.Add(new Item(2));
    }
    EXPECT_EQ(0, Item::s_live);   // destructor deleted the rest

    Item kept(5);
    PlainList* plain = new PlainList;
    plain->Add(&kept);
    plain->Release();
    EXPECT_EQ(1, Item::s_live);
}

} // namespace
