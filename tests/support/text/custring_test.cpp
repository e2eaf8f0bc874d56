#include <gtest/gtest.h>
#include "support/text/CUString.h"
#include "support/supportres.h"

namespace {

class CUStringTest : public ::testing::Test {
protected:
    void SetUp() override { g_hInstance = GetModuleHandleA(nullptr); }
    void TearDown() override { g_hInstance = nullptr; }
};

TEST(CUString, NullPointerIsEmptyText)
{
    C_CUString a(static_cast<const char*>(nullptr));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_STREQ("", static_cast<const char*>(a));
    C_CUString b("x");
    b = static_cast<const char*>(nullptr);
    EXPECT_STREQ("", static_cast<const char*>(b));
    EXPECT_EQ("abc", C_CUString("abc") + static_cast<const char*>(nullptr));
}

TEST(CUString, PartsAndSearches)
{
    C_CUString abc("abc");
    EXPECT_EQ("", abc.Left(-3));
    EXPECT_EQ("", abc.Right(0));
    EXPECT_EQ("abc", abc.Left(100));
    EXPECT_EQ("bc", abc.Right(2));
    EXPECT_EQ("abc", abc.Right(100));
    EXPECT_EQ("b", abc.Mid(1, 1));
    EXPECT_EQ("bc", abc.Mid(1, 50));
    EXPECT_EQ("c", abc.Mid(2));
    EXPECT_EQ("", abc.Mid(3));
    EXPECT_EQ(0, abc.Find(""));
    EXPECT_EQ(0, C_CUString().Find(""));
    EXPECT_EQ(1, abc.Find("bc"));
    EXPECT_EQ(-1, abc.Find("x"));
    EXPECT_EQ(-1, abc.FindFrom("x", 10));
    EXPECT_EQ(-1, abc.FindFrom("a", 10));
    EXPECT_EQ(3, C_CUString("abab").FindFrom("b", 2));
    EXPECT_EQ(3, C_CUString("a/b/c").ReverseFind('/'));
    EXPECT_EQ(-1, abc.ReverseFind('/'));
    EXPECT_EQ(0, abc.Compare("ABC"));
    EXPECT_LT(abc.Compare("ABD"), 0);
    EXPECT_GT(abc.Compare("AB"), 0);
}

TEST(CUString, GetAtPastTheEndIsANulOfNobody)
{
    C_CUString s("ab");
    EXPECT_EQ('b', s.GetAt(1));
    EXPECT_EQ('\0', s.GetAt(2));
    EXPECT_EQ('\0', s.GetAt(50));
    C_CUString copy(s);
    s.GetAt(0) = 'x';
    EXPECT_EQ("xb", s);
    EXPECT_EQ("ab", copy);
}

TEST(CUString, Concatenation)
{
    C_CUString a("ab");
    EXPECT_EQ("abcd", a + C_CUString("cd"));
    EXPECT_EQ("xab", "x" + a);
    EXPECT_EQ("ab!", a + '!');
    EXPECT_EQ("!ab", '!' + a);
    EXPECT_EQ("ab", a);
}

TEST(CUString, Trimming)
{
    C_CUString s(" \t\r\nx ");
    s.TrimLeft();
    EXPECT_EQ("\r\nx ", s);
    s = "   ";
    s.TrimRight();
    EXPECT_EQ("", s);
    s = "x\n\t ";
    s.TrimRight();
    EXPECT_EQ("x", s);
    s = "--a-b--";
    s.TrimLeft('-');
    s.TrimRight('-');
    EXPECT_EQ("a-b", s);
    s = "xyzaxyz";
    s.TrimLeft("zyx");
    EXPECT_EQ("axyz", s);
    s.TrimRight("xyz");
    EXPECT_EQ("a", s);
    s = "";
    s.TrimLeft();
    EXPECT_EQ("", s);
}

TEST(CUString, Replace)
{
    struct Case { const char* text; const char* from; const char* to; int count; const char* result; };
    const Case cases[] = {
        {"abc", "x", "yy", 0, "abc"},
        {"xax", "x", "yy", 2, "yyayy"},
        {"aaa", "aa", "b", 1, "ba"},
        {"aaaa", "a", "aa", 4, "aaaaaaaa"},
        {"a.b.c", ".", "", 2, "abc"},
    };
    for (const Case& c : cases) {
        C_CUString s(c.text);
        EXPECT_EQ(c.count, s.Replace(c.from, c.to)) << c.text;
        EXPECT_EQ(c.result, s) << c.text;
    }
}

TEST(CUString, CaseConversion)
{
    C_CUString s("Main.Asm 1");
    s.MakeUpper();
    EXPECT_EQ("MAIN.ASM 1", s);
    s.MakeLower();
    EXPECT_EQ("main.asm 1", s);
}

TEST(CUString, FormatHasNoLengthLimit)
{
    C_CUString s;
    s.Format("%d-%s", 42, "x");
    EXPECT_EQ("42-x", s);
    std::string big(20000, 'q');
    s.Format("<%s>", big.c_str());
    ASSERT_EQ(20002, s.GetLength());
    EXPECT_EQ('<', s[0]);
    EXPECT_EQ('>', s[20001]);
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CUString, LoadStringWithoutModuleKeepsText)
{
    g_hInstance = nullptr;
    C_CUString s("old");
    EXPECT_FALSE(s.LoadString(IDS_CU_ERROR));
    EXPECT_EQ("old", s);
}

TEST_F(CUStringTest, LoadStringReadsTheTable)
{
    C_CUString s("old");
    EXPECT_TRUE(s.LoadString(IDS_CU_ERROR));
    EXPECT_EQ("Error: ", s);
    EXPECT_TRUE(s.LoadString(IDS_CU_LOAD_DLL_FAILED));
    EXPECT_EQ("Fail to load DLL [%s].\nError Code: [%X]", s);
    s = "old";
    EXPECT_FALSE(s.LoadString(0xA0FF));
    EXPECT_EQ("", s);
}

} // namespace
