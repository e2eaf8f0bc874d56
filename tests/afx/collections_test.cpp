#include "afx/afx.h"
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

template<class ARRAY>
std::vector<UINT> Items(const ARRAY& a)
{
    std::vector<UINT> v;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        v.push_back((UINT)a[i]);
    return v;
}

template<class LIST>
std::vector<std::string> Forward(const LIST& l)
{
    std::vector<std::string> v;
    for (POSITION pos = l.GetHeadPosition(); pos;)
        v.push_back((LPCSTR)l.GetNext(pos));
    return v;
}

template<class LIST>
std::vector<std::string> Backward(const LIST& l)
{
    std::vector<std::string> v;
    for (POSITION pos = l.GetTailPosition(); pos;)
        v.push_back((LPCSTR)l.GetPrev(pos));
    return v;
}

class Item : public CObject
{
public:
    explicit Item(int n) : n(n) {}
    int n;
};

} // namespace

TEST(CollectionsArray, SizeGrowInsertRemove)
{
    CUIntArray a;
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_EQ(-1, a.GetUpperBound());
    a.SetSize(3, 8);                               // new elements are zero
    EXPECT_EQ((std::vector<UINT>{ 0, 0, 0 }), Items(a));
    a[1] = 5;
    EXPECT_EQ(3, a.Add(7));
    a.InsertAt(1, 9, 2);
    EXPECT_EQ((std::vector<UINT>{ 0, 9, 9, 5, 0, 7 }), Items(a));
    a.RemoveAt(4, 100);                            // count past the end is clamped
    EXPECT_EQ((std::vector<UINT>{ 0, 9, 9, 5 }), Items(a));
    a.RemoveAt(10);                                // out of range: nothing
    a.RemoveAt(0, 2);
    EXPECT_EQ((std::vector<UINT>{ 9, 5 }), Items(a));
    a.SetAtGrow(4, 1);
    EXPECT_EQ((std::vector<UINT>{ 9, 5, 0, 0, 1 }), Items(a));
    a.InsertAt(7, 3);                              // past the end: grows first
    EXPECT_EQ((std::vector<UINT>{ 9, 5, 0, 0, 1, 0, 0, 3 }), Items(a));
    EXPECT_EQ(7, a.GetUpperBound());
    a.SetSize(2);
    EXPECT_EQ((std::vector<UINT>{ 9, 5 }), Items(a));
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CollectionsArray, CopyAppendAndAliasing)
{
    CDWordArray a, b;
    a.Add(1);
    a.Add(2);
    b.Copy(a);
    EXPECT_EQ(2, b.Append(a));
    EXPECT_EQ((std::vector<UINT>{ 1, 2, 1, 2 }), Items(b));
    b.Append(b);                                   // appending itself doubles it
    EXPECT_EQ(8, b.GetSize());
    b.SetAtGrow(20, b[0]);                         // argument lives in the array that grows
    EXPECT_EQ(1u, b[20]);
    b.Add(b[1]);
    EXPECT_EQ(2u, b[21]);
    b.InsertAt(0, &a);
    EXPECT_EQ(1u, b[0]);
    EXPECT_EQ(2u, b[1]);

    CStringArray s;
    s.Add("one");
    s.Add(CString("two"));
    s.InsertAt(0, s[1]);
    EXPECT_STREQ("two", s[0]);
    EXPECT_STREQ("one", s.GetAt(1));
    s.ElementAt(2) += "!";
    EXPECT_STREQ("two!", s[2]);
}

TEST(CollectionsArray, TypedPointers)
{
    Item one(1), two(2);
    CTypedPtrArray<CObArray, Item*> objects;
    objects.Add(&one);
    objects.Add(&two);
    EXPECT_EQ(2, objects[1]->n);
    objects[0] = &two;
    EXPECT_EQ(2, objects.GetAt(0)->n);

    CTypedPtrArray<CPtrArray, int*> ptrs;
    int x = 4;
    ptrs.SetAtGrow(2, &x);
    EXPECT_EQ(nullptr, ptrs[0]);
    EXPECT_EQ(4, *ptrs.GetData()[2]);
}

TEST(CollectionsList, WalkInsertRemove)
{
    CStringList l;
    EXPECT_EQ(nullptr, l.GetHeadPosition());
    l.AddTail("b");
    l.AddHead("a");
    POSITION c = l.AddTail("c");
    l.InsertBefore(c, "b2");
    l.InsertAfter(c, "d");
    l.InsertBefore(NULL, "first");                 // NULL: at the head
    l.InsertAfter(NULL, "last");                   // NULL: at the tail
    EXPECT_EQ((std::vector<std::string>{ "first", "a", "b", "b2", "c", "d", "last" }), Forward(l));
    EXPECT_EQ((std::vector<std::string>{ "last", "d", "c", "b2", "b", "a", "first" }), Backward(l));
    EXPECT_EQ(7, l.GetCount());

    // Removing the element just returned while walking.
    for (POSITION pos = l.GetHeadPosition(); pos;)
    {
        POSITION here = pos;
        if (l.GetNext(pos).GetLength() == 2)
            l.RemoveAt(here);
    }
    EXPECT_EQ((std::vector<std::string>{ "first", "a", "b", "c", "d", "last" }), Forward(l));

    EXPECT_STREQ("first", l.RemoveHead());
    EXPECT_STREQ("last", l.RemoveTail());
    EXPECT_STREQ("a", l.GetHead());
    EXPECT_STREQ("d", l.GetTail());
    l.SetAt(l.FindIndex(1), "B");
    EXPECT_EQ(nullptr, l.FindIndex(4));
    EXPECT_EQ(nullptr, l.FindIndex(-1));
    EXPECT_STREQ("B", l.GetAt(l.Find("B")));
    EXPECT_EQ(nullptr, l.Find("b"));               // case-sensitive

    l.AddTail("a");
    POSITION firstA = l.Find("a");
    POSITION secondA = l.Find("a", firstA);
    EXPECT_NE(firstA, secondA);
    EXPECT_EQ(l.GetTailPosition(), secondA);
    EXPECT_EQ(nullptr, l.Find("a", secondA));

    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(nullptr, l.GetTailPosition());
    l.AddTail("again");                            // still usable after RemoveAll
    EXPECT_EQ((std::vector<std::string>{ "again" }), Forward(l));
}

TEST(CollectionsList, TypedObjectsAndLists)
{
    Item one(1), two(2), three(3);
    CTypedPtrList<CObList, Item*> items(10);
    items.AddTail(&two);
    items.AddHead(&one);
    items.AddTail(&three);
    int sum = 0;
    for (POSITION pos = items.GetHeadPosition(); pos;)
        sum = sum * 10 + items.GetNext(pos)->n;
    EXPECT_EQ(123, sum);
    EXPECT_EQ(&two, items.GetAt(items.Find(&two)));
    EXPECT_EQ(&three, items.RemoveTail());

    CPtrList a, b;
    int x = 0, y = 0;
    a.AddTail(&x);
    b.AddTail(&y);
    a.AddHead(&b);
    a.AddTail(&b);
    EXPECT_EQ(3, a.GetCount());
    EXPECT_EQ(&y, a.GetHead());
    EXPECT_EQ(&y, a.GetTail());
}

TEST(CollectionsMap, SetLookupRemoveWalk)
{
    CMap<UINT, UINT, int, int> m;
    m.InitHashTable(17);
    EXPECT_EQ(17u, m.GetHashTableSize());
    EXPECT_EQ(nullptr, m.GetStartPosition());
    int v = -1;
    EXPECT_FALSE(m.Lookup(5, v));
    EXPECT_FALSE(m.RemoveKey(5));
    // Consecutive ids (command ids) and many of them.
    for (UINT id = 57600; id < 57600 + 1000; ++id)
        m.SetAt(id, (int)(id - 57600));
    EXPECT_EQ(1000, m.GetCount());
    EXPECT_TRUE(m.Lookup(57600 + 999, v));
    EXPECT_EQ(999, v);
    m[57600] += 10;
    EXPECT_EQ(10, m[57600]);
    EXPECT_EQ(0, m[1]);                            // [] adds a missing key
    EXPECT_EQ(1001, m.GetCount());

    // A walk visits every key once, and may remove the key it just got.
    std::set<UINT> seen;
    POSITION pos = m.GetStartPosition();
    while (pos)
    {
        UINT key;
        int value;
        m.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.insert(key).second);
        if (key % 2)
        {
            EXPECT_TRUE(m.RemoveKey(key));
        }
    }
    EXPECT_EQ(1001u, seen.size());
    EXPECT_EQ(500, m.GetCount());
    EXPECT_FALSE(m.Lookup(57601, v));
    m.RemoveAll();
    EXPECT_TRUE(m.IsEmpty());
    m.SetAt(3, 4);
    EXPECT_TRUE(m.Lookup(3, v));
}

TEST(CollectionsMap, TableGrowsAsItFills)
{
    // One entry per tree item: the table must not stay at its first 17 buckets.
    CMap<void*, void*, int, int> m;
    EXPECT_EQ(17u, m.GetHashTableSize());
    std::vector<int> items(100000);
    for (int i = 0; i < (int)items.size(); ++i)
        m[&items[i]] = i;
    EXPECT_EQ(100000, m.GetCount());
    EXPECT_GE(m.GetHashTableSize(), 100000u / 2);
    int v = -1;
    for (int i = 0; i < (int)items.size(); i += 997)
    {
        ASSERT_TRUE(m.Lookup(&items[i], v));
        EXPECT_EQ(i, v);
    }
    // Every key still walked once, and removable.
    std::set<void*> seen;
    POSITION pos = m.GetStartPosition();
    while (pos)
    {
        void* key;
        m.GetNextAssoc(pos, key, v);
        EXPECT_TRUE(seen.insert(key).second);
    }
    EXPECT_EQ(items.size(), seen.size());
    for (int i = 0; i < (int)items.size(); ++i)
        ASSERT_TRUE(m.RemoveKey(&items[i]));
    EXPECT_TRUE(m.IsEmpty());
}

TEST(CollectionsMap, TextAndPointerKeys)
{
    CMap<CString, LPCSTR, CStringArray*, CStringArray*> byName;
    CStringArray arr;
    byName.SetAt("Alpha", &arr);
    CString key("Al");
    key += "pha";
    CStringArray* found = nullptr;
    EXPECT_TRUE(byName.Lookup(key, found));
    EXPECT_EQ(&arr, found);
    EXPECT_FALSE(byName.Lookup("alpha", found));   // case-sensitive

    CMap<CString, const CString&, int, int> byString;
    byString[CString("x")] = 1;
    EXPECT_EQ(1, byString[CString("x")]);

    int a = 0, b = 0;
    CMap<void*, void*, int, int> byPtr;
    byPtr[&a] = 1;
    byPtr[&b] = 2;
    int v;
    EXPECT_TRUE(byPtr.Lookup(&b, v));
    EXPECT_EQ(2, v);
}
