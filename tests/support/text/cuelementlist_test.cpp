#include <gtest/gtest.h>
#include "support/text/CUElementList.h"

namespace {

class ElementList : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int v : {7, 9, 7}) {
            UINT id = 0;
            EXPECT_TRUE(list.Add(v, &id));
            ids.push_back(id);
        }
    }
    C_CUElementList<int> list;
    std::vector<UINT> ids;
};

TEST_F(ElementList, AddReportsIdsAndIndexOfFindsFirst)
{
    EXPECT_EQ((std::vector<UINT>{1, 2, 3}), ids);
    EXPECT_EQ(0, list.IndexOf(7));
    EXPECT_EQ(1, list.IndexOf(9));
    EXPECT_EQ(-1, list.IndexOf(8));
}

TEST_F(ElementList, GetAt)
{
    int v = 0;
    UINT id = 0;
    EXPECT_FALSE(list.GetAt(3, &v, &id));
    EXPECT_FALSE(list.GetAt(-1, &v, &id));
    EXPECT_FALSE(list.GetAt(0, nullptr, &id));
    EXPECT_TRUE(list.GetAt(1, &v, nullptr));
    EXPECT_EQ(9, v);
}

TEST_F(ElementList, WalkStopsAtTheEnds)
{
    int v = 0;
    UINT id = 0;
    list.Reset();
    EXPECT_FALSE(list.GetNext(nullptr, &id));   // does not move the cursor
    const std::pair<int, UINT> expected[] = {{7, 1}, {9, 2}, {7, 3}};
    for (auto e : expected) {
        ASSERT_TRUE(list.GetNext(&v, &id));
        EXPECT_EQ(e.first, v);
        EXPECT_EQ(e.second, id);
    }
    EXPECT_FALSE(list.GetNext(&v, &id));
    ASSERT_TRUE(list.GetPrev(&v, &id));
    EXPECT_EQ(9, v);
    list.MoveToEnd();
    ASSERT_TRUE(list.GetPrev(&v, nullptr));
    EXPECT_EQ(7, v);
}

TEST_F(ElementList, RemoveAtFreesTheId)
{
    int v = 0;
    EXPECT_TRUE(list.RemoveAt(1, &v));
    EXPECT_EQ(9, v);
    EXPECT_EQ(2, list.GetCount());
    ASSERT_TRUE(list.GetAt(1, &v, nullptr));
    EXPECT_EQ(7, v);
    EXPECT_FALSE(list.RemoveAt(2, &v));
    EXPECT_FALSE(list.RemoveAt(-1, nullptr));
    UINT id = 0;
    list.Add(5, &id);
    EXPECT_EQ(2u, id);
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    list.Add(6, &id);
    EXPECT_EQ(1u, id);
}

TEST_F(ElementList, RemoveAtKeepsCursorInStep)
{
    int v = 0;
    list.MoveToEnd();
    list.GetPrev(&v, nullptr);           // on index 2
    EXPECT_TRUE(list.RemoveAt(2, nullptr));
    ASSERT_TRUE(list.GetPrev(&v, nullptr));   // cursor went to the end
    EXPECT_EQ(9, v);
}

TEST(ElementListAddList, AppendsWithNewIds)
{
    C_CUElementList<int> source, target;
    target.Add(1, nullptr);
    source.Add(4, nullptr);
    source.Add(5, nullptr);
    target.AddList(&source);
    ASSERT_EQ(3, target.GetCount());
    int v = 0;
    UINT id = 0;
    ASSERT_TRUE(target.GetAt(2, &v, &id));
    EXPECT_EQ(5, v);
    EXPECT_EQ(3u, id);
    EXPECT_EQ(2, source.GetCount());
}

TEST(ElementListPointers, HoldsPointersWithoutOwningThem)
{
    int a = 1, b = 2;
    C_CUElementList<int*> list;
    list.Add(&a, nullptr);
    list.Add(&b, nullptr);
    EXPECT_EQ(1, list.IndexOf(&b));
    int* p = nullptr;
    ASSERT_TRUE(list.GetAt(0, &p, nullptr));
    EXPECT_EQ(&a, p);
}

} // namespace
