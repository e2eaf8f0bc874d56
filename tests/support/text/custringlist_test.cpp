#include <gtest/gtest.h>
#include "support/text/CUStringList.h"
#include <string>
#include <vector>

namespace {

std::vector<std::string> Walk(C_CUStringList& list)
{
    std::vector<std::string> out;
    list.Reset();
    while (const char* t = list.GetNext())
        out.push_back(t);
    return out;
}

void Fill(C_CUStringList& list, std::initializer_list<const char*> texts)
{
    for (const char* t : texts)
        list.Add(t);
}

using Texts = std::vector<std::string>;

TEST(CUStringList, NewListIsEmpty)
{
    C_CUStringList list;
    EXPECT_EQ(0, list.GetCount());
    list.Reset();
    EXPECT_EQ(nullptr, list.GetNext());
    EXPECT_EQ(nullptr, list.GetAt(0));
}

TEST(CUStringList, KeepsCopiesAndEmptyTexts)
{
    C_CUStringList list;
    char buf[] = "abc";
    list.Add(buf);
    list.Add("");
    list.Add("z");
    buf[0] = 'X';
    EXPECT_EQ((Texts{"abc", "", "z"}), Walk(list));
    ASSERT_NE(nullptr, list.GetAt(1));
    EXPECT_STREQ("", list.GetAt(1));
}

TEST(CUStringList, FourSortOrders)
{
    struct Case { void (*sort)(C_CUStringList&); Texts expected; };
    const Case cases[] = {
        {[](C_CUStringList& l) { l.Sort(TRUE); }, {"C", "a", "b"}},
        {[](C_CUStringList& l) { l.Sort(FALSE); }, {"b", "a", "C"}},
        {[](C_CUStringList& l) { l.SortNoCase(TRUE); }, {"a", "b", "C"}},
        {[](C_CUStringList& l) { l.SortNoCase(FALSE); }, {"C", "b", "a"}},
    };
    for (const Case& c : cases) {
        C_CUStringList list;
        Fill(list, {"b", "a", "C"});
        EXPECT_EQ((Texts{"b", "a", "C"}), Walk(list));
        c.sort(list);
        EXPECT_EQ(c.expected, Walk(list));
    }
}

TEST(CUStringList, SuffixSorts)
{
    C_CUStringList list;
    Fill(list, {"c:\\a\\b.txt", "c:\\z\\a.txt"});
    list.SortBySuffix('\\', TRUE);
    EXPECT_EQ((Texts{"c:\\z\\a.txt", "c:\\a\\b.txt"}), Walk(list));
    list.SortBySuffix('\\', FALSE);
    EXPECT_EQ((Texts{"c:\\a\\b.txt", "c:\\z\\a.txt"}), Walk(list));

    C_CUStringList mixed;
    Fill(mixed, {"x.B", "y.a", "z.C"});
    mixed.SortBySuffixNoCase('.', TRUE);
    EXPECT_EQ((Texts{"y.a", "x.B", "z.C"}), Walk(mixed));
    mixed.SortBySuffix('.', TRUE);
    EXPECT_EQ((Texts{"x.B", "z.C", "y.a"}), Walk(mixed));
    // Texts without the separator and the NUL separator sort without harm.
    Fill(mixed, {"plain"});
    mixed.SortBySuffix('.', TRUE);
    mixed.SortBySuffix('\0', FALSE);
    EXPECT_EQ(4, mixed.GetCount());
}

TEST(CUStringList, Insert)
{
    C_CUStringList list;
    EXPECT_TRUE(list.Insert(0, "a"));
    EXPECT_FALSE(list.Insert(1, "z"));    // at the count of a non-empty list
    EXPECT_FALSE(list.Insert(-1, "z"));
    list.Add("c");
    EXPECT_TRUE(list.Insert(1, "x"));
    EXPECT_EQ((Texts{"a", "x", "c"}), Walk(list));
    EXPECT_FALSE(C_CUStringList().Insert(1, "z"));
}

TEST(CUStringList, InsertBeforeTheCursorKeepsItsText)
{
    C_CUStringList list;
    Fill(list, {"a", "b", "c"});
    list.Reset();
    list.GetNext();
    EXPECT_STREQ("b", list.GetNext());
    list.Insert(0, "new");
    EXPECT_STREQ("c", list.GetNext());
}

TEST(CUStringList, Remove)
{
    C_CUStringList list;
    Fill(list, {"a", "b", "c"});
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_FALSE(list.Remove(3));
    list.MoveToEnd();
    EXPECT_STREQ("c", list.GetPrev());
    EXPECT_TRUE(list.Remove(2));             // the cursor's own text
    EXPECT_STREQ("b", list.GetPrev());       // cursor went to the end
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ((Texts{"b"}), Walk(list));
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    list.Add("c");
    EXPECT_EQ((Texts{"c"}), Walk(list));
}

TEST(CUStringList, AddListCopyAndAssign)
{
    C_CUStringList source;
    Fill(source, {"one", "two"});
    C_CUStringList target;
    target.Add("zero");
    target.AddList(&source);
    EXPECT_EQ((Texts{"zero", "one", "two"}), Walk(target));
    EXPECT_EQ(nullptr, source.GetNext());   // its cursor ended on its last text
    source.Reset();
    EXPECT_STREQ("one", source.GetNext());

    C_CUStringList copy(source);
    EXPECT_EQ((Texts{"one", "two"}), Walk(copy));

    I_CUStringList* iface = &source;
    target.Assign(iface);
    EXPECT_EQ((Texts{"one", "two"}), Walk(target));
    target.Assign(&target);
    EXPECT_EQ((Texts{"one", "two"}), Walk(target));
}

// The interface crosses into component DLLs: its table holds exactly the eight slots.
struct SlotProbe : I_CUStringList {
    int GetCount() override { return 0; }
    void Reset() override {}
    void MoveToEnd() override {}
    const char* GetNext() override { return nullptr; }
    const char* GetPrev() override { return nullptr; }
    const char* GetAt(int) override { return nullptr; }
    BOOL Add(const char*) override { return TRUE; }
    void AddList(I_CUStringList*) override {}
};

TEST(CUStringList, InterfaceHasNoDestructorSlots)
{
    EXPECT_FALSE(std::has_virtual_destructor<I_CUStringList>::value);
    EXPECT_TRUE(std::has_virtual_destructor<C_CUStringList>::value);
    EXPECT_EQ(sizeof(void*), sizeof(SlotProbe));
}

} // namespace
