#include <gtest/gtest.h>
#include "support/text/TextHelpers.h"
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

Texts Walk(C_CUStringList& list)
{
    Texts out;
    list.Reset();
    while (const char* t = list.GetNext())
        out.push_back(t);
    return out;
}

TEST(TextHelpers, GetField)
{
    struct Case { const char* text; int n; const char* field; };
    const Case cases[] = {
        {"a, b ;c", 1, "a"}, {"a, b ;c", 2, "b"}, {"a, b ;c", 3, "c"},
        {"a, b ;c", 4, ""}, {"a, b ;c", 0, "a, b ;c"}, {"  a;b\t\n", -1, "a;b"},
        {"a,,b", 2, ""}, {"a,,b", 3, "b"}, {"a,", 2, ""}, {"", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.field, GetField(c.text, c.n)) << c.text << " #" << c.n;
    EXPECT_EQ("", GetField(nullptr, 1));
}

TEST(TextHelpers, SplitStopsAtTheFirstEmptyField)
{
    C_CUStringList list;
    SplitToStringList("x; y ,z", &list);
    EXPECT_EQ((Texts{"x", "y", "z"}), Walk(list));
    SplitToStringList("x,,z", &list);
    EXPECT_EQ((Texts{"x"}), Walk(list));
    SplitToStringList(nullptr, &list);
    EXPECT_EQ((Texts{"x"}), Walk(list));
}

TEST(TextHelpers, MultiSzMeasuresWhatItWrites)
{
    C_CUStringList list;
    list.Add("ab");
    list.Add("c");
    ASSERT_EQ(6u, StringListToMultiSz(&list, nullptr));
    std::string buf(8, '#');
    EXPECT_EQ(6u, StringListToMultiSz(&list, &buf[0]));
    EXPECT_EQ(std::string("ab\0c\0\0##", 8), buf);
    EXPECT_EQ(nullptr, list.GetNext());   // the walk left the cursor on the last text

    ASSERT_EQ(5u, StringListToCommaText(&list, nullptr));
    buf.assign(8, '#');
    EXPECT_EQ(5u, StringListToCommaText(&list, &buf[0]));
    EXPECT_EQ(std::string("ab,c\0###", 8), buf);
}

TEST(TextHelpers, EmptyListMeasuresTheTwoNulsItWrites)
{
    C_CUStringList empty;
    for (auto convert : {StringListToMultiSz, StringListToCommaText}) {
        UINT size = convert(&empty, nullptr);
        ASSERT_EQ(2u, size);
        std::string buf(4, '#');
        EXPECT_EQ(size, convert(&empty, &buf[0]));
        EXPECT_EQ(std::string("\0\0##", 4), buf);
    }
    std::string buf(4, '#');
    EXPECT_EQ(2u, StringListToMultiSz(nullptr, nullptr));
    EXPECT_EQ(2u, StringListToMultiSz(nullptr, &buf[0]));
    EXPECT_EQ(std::string("\0\0##", 4), buf);

    C_CUStringList oneEmpty;
    oneEmpty.Add("");
    buf.assign(4, '#');
    EXPECT_EQ(2u, StringListToMultiSz(&oneEmpty, &buf[0]));
    EXPECT_EQ(std::string("\0\0##", 4), buf);
}

TEST(TextHelpers, MultiSzToStringList)
{
    C_CUStringList list;
    EXPECT_TRUE(MultiSzToStringList("ab\0c\0", &list));
    EXPECT_EQ((Texts{"ab", "c"}), Walk(list));
    EXPECT_FALSE(MultiSzToStringList("\0", &list));
    EXPECT_EQ(0, list.GetCount());
    list.Add("x");
    EXPECT_TRUE(MultiSzToStringList(nullptr, &list));
    EXPECT_EQ(0, list.GetCount());
}

TEST(TextHelpers, IndexInStringList)
{
    C_CUStringList list;
    list.Add("inc");
    list.Add("asm");
    EXPECT_TRUE(IsInStringListNoCase("ASM", &list));
    EXPECT_TRUE(StringListContainsNoCase("ASM", &list));
    EXPECT_EQ(1, IndexInStringListNoCase("ASM", &list));
    EXPECT_FALSE(IsInStringList("ASM", &list));
    EXPECT_EQ(1, IndexInStringList("asm", &list));
    EXPECT_EQ(-1, IndexInStringList("h", &list));
    EXPECT_FALSE(IsInStringList("asm", nullptr));
    EXPECT_FALSE(IsInStringListNoCase("asm", nullptr));
}

TEST(TextHelpers, ParseNumber)
{
    struct Case { const char* text; bool ok; UINT value; };
    const Case cases[] = {
        {"123", true, 123}, {"FFh", true, 255}, {"0X1f", true, 31}, {"101b", true, 5},
        {"12x", false, 0}, {"", false, 0}, {"0x", true, 0}, {"0x1B", true, 27},
        {"10b", true, 2}, {"10h", true, 16}, {"0x10h", false, 0}, {"-1", false, 0},
        {"4294967296", true, 0},   // wraps at 32 bits
    };
    for (const Case& c : cases) {
        UINT v = 99;
        EXPECT_EQ(c.ok, ParseNumber(c.text, &v)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, v) << c.text;
        }
    }
}

TEST(TextHelpers, ExpandTabs)
{
    struct Case { const char* text; bool had; const char* result; };
    const Case cases[] = {
        {"a\tb", true, "a   b"}, {"abcd\tx", true, "abcd    x"},
        {"\t\tx", true, "        x"}, {"ab\tc\td", true, "ab  c   d"}, {"plain", false, "plain"},
    };
    for (const Case& c : cases) {
        C_CUString s(c.text);
        EXPECT_EQ(c.had, ExpandTabsInString(&s, 4)) << c.text;
        EXPECT_EQ(c.result, s) << c.text;
    }
}

TEST(TextHelpers, FormatBinary)
{
    EXPECT_STREQ("0101B", FormatBinary(5, 4));
    EXPECT_STREQ("B", FormatBinary(5, 0));
    EXPECT_STREQ("B", FormatBinary(5, -3));
    EXPECT_STREQ("1000000000000000000000000000001B", FormatBinary(0x40000001u, 31));
    EXPECT_STREQ("10000000000000000000000000000001", FormatBinary(0x80000001u, 32));
    EXPECT_STREQ("00000000000000000000000000000000", FormatBinary(0xFFFFFFFFu, 100));
    EXPECT_STREQ("00001111111111111111111111111111", FormatBinary(0xFFFFFFFFu, 36));
}

TEST(TextHelpers, WildcardMatch)
{
    struct Case { const char* pattern; const char* text; BOOL match; };
    const Case cases[] = {
        {"*.asm", "main.asm", TRUE}, {"m?in.*", "main.inc", TRUE}, {"*.ASM", "main.asm", FALSE},
        {"*", "", TRUE}, {"", "", TRUE}, {"", "a", FALSE}, {"?", "", FALSE},
        {"a*b*c", "axxbyybc", TRUE}, {"a*b", "ab", TRUE}, {"a*b", "abc", FALSE},
        {"*a", "bbba", TRUE}, {"**", "x", TRUE}, {"ma*", "m", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.match, WildcardMatch(c.pattern, c.text)) << c.pattern << " / " << c.text;
}

} // namespace
