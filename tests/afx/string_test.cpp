#include "afx/afx.h"
#include "afx/afxres.h"
#include <gtest/gtest.h>
#include "tests/harness/printers.h"
#include <string>

TEST(CString, CopiesNeverShareABuffer)
{
    CString a("delimiter");
    CString b = a;
    CString c;
    c = b;
    LPSTR p = b.GetBuffer(0);
    p[0] = 'D';
    b.ReleaseBuffer();
    c.MakeUpper();
    EXPECT_STREQ("delimiter", a);
    EXPECT_STREQ("Delimiter", b);
    EXPECT_STREQ("DELIMITER", c);

    CString moved(std::move(c));
    EXPECT_STREQ("DELIMITER", moved);
    EXPECT_TRUE(c.IsEmpty());
}

TEST(CString, ConstructionAssignmentAndAccess)
{
    EXPECT_TRUE(CString((LPCSTR)nullptr).IsEmpty());
    EXPECT_STREQ("abc", CString("abcdef", 3));
    EXPECT_STREQ("xxx", CString('x', 3));
    CString s("abc");
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ('b', s[1]);
    EXPECT_EQ('\0', s.GetAt(7));      // out of range: no crash
    s.SetAt(0, 'A');
    s.SetAt(9, 'Z');                  // ignored
    EXPECT_STREQ("Abc", s);
    s = 'q';
    EXPECT_STREQ("q", s);
    s = (LPCSTR)nullptr;
    EXPECT_TRUE(s.IsEmpty());
    s = "self";
    s = (LPCSTR)s + 1;                // source inside our own buffer
    EXPECT_STREQ("elf", s);
    s += s;
    EXPECT_STREQ("elfelf", s);
    s.Empty();
    EXPECT_EQ(0, s.GetLength());
    EXPECT_STREQ("", s);
}

TEST(CString, ConcatenationAndComparison)
{
    CString a("ab");
    EXPECT_STREQ("abcd", a + "cd");
    EXPECT_STREQ("cdab", "cd" + a);
    EXPECT_STREQ("abab", a + a);
    EXPECT_STREQ("ab!", a + '!');
    EXPECT_STREQ("!ab", '!' + a);
    a += "c";
    a += 'd';
    a += CString("e");
    EXPECT_STREQ("abcde", a);

    CString b("abc");
    EXPECT_TRUE(b == "abc");
    EXPECT_TRUE("abc" == b);
    EXPECT_TRUE(b == CString("abc"));
    EXPECT_TRUE(b != "abd");
    EXPECT_TRUE("abd" != b);
    EXPECT_TRUE(b < "abd");
    EXPECT_TRUE("abb" < b);
    EXPECT_TRUE(b > "abb");
    EXPECT_TRUE(b <= "abc" && b >= "abc");
    EXPECT_TRUE("abd" >= b && "abb" <= b);
    EXPECT_LT(b.Compare("abd"), 0);
    EXPECT_GT(b.Compare("ab"), 0);
    EXPECT_EQ(0, b.Compare("abc"));
    EXPECT_EQ(0, CString("MiXeD").CompareNoCase("mixed"));
    EXPECT_LT(CString("apple").CompareNoCase("BANANA"), 0);
    EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
}

TEST(CString, SubstringsClampOutOfRange)
{
    CString s("abcdef");
    struct { int first, count; const char* mid; } cases[] = {
        { 0, 3, "abc" }, { 2, 2, "cd" }, { 4, 100, "ef" }, { -3, 2, "ab" },
        { 6, 1, "" }, { 10, 2, "" }, { 2, -1, "" }, { 1, 0x7FFFFFFF, "bcdef" },
    };
    for (auto& c : cases)
        EXPECT_STREQ(c.mid, s.Mid(c.first, c.count)) << c.first << "," << c.count;
    EXPECT_STREQ("cdef", s.Mid(2));
    EXPECT_STREQ("", s.Mid(99));
    EXPECT_STREQ("abcdef", s.Left(99));
    EXPECT_STREQ("", s.Left(-1));
    EXPECT_STREQ("ef", s.Right(2));
    EXPECT_STREQ("abcdef", s.Right(99));
    EXPECT_STREQ("", s.Right(-5));
}

TEST(CString, FindAndReverseFind)
{
    CString s("a.b.c");
    EXPECT_EQ(1, s.Find('.'));
    EXPECT_EQ(3, s.Find('.', 2));
    EXPECT_EQ(-1, s.Find('.', 4));
    EXPECT_EQ(-1, s.Find('.', 99));
    EXPECT_EQ(1, s.Find('.', -5));
    EXPECT_EQ(-1, s.Find('x'));
    EXPECT_EQ(2, s.Find("b.c"));
    EXPECT_EQ(-1, s.Find("b.c", 3));
    EXPECT_EQ(-1, s.Find("c.d"));
    EXPECT_EQ(3, s.ReverseFind('.'));
    EXPECT_EQ(-1, s.ReverseFind('x'));
    EXPECT_EQ(1, s.FindOneOf("xy."));
}

TEST(CString, TrimReplaceInsertDelete)
{
    CString s(" \t text \r\n");
    s.TrimLeft();
    EXPECT_STREQ("text \r\n", s);
    s.TrimRight();
    EXPECT_STREQ("text", s);

    CString t("xxyhixyx");
    t.TrimLeft('x');
    EXPECT_STREQ("yhixyx", t);
    t.TrimRight("xy");
    EXPECT_STREQ("yhi", t);
    t.TrimLeft("xy");
    EXPECT_STREQ("hi", t);
    CString all("   ");
    all.TrimRight();
    EXPECT_TRUE(all.IsEmpty());

    CString r("a-b-c");
    EXPECT_EQ(2, r.Replace('-', '+'));
    EXPECT_STREQ("a+b+c", r);
    EXPECT_EQ(2, r.Replace("+", "<->"));
    EXPECT_STREQ("a<->b<->c", r);
    EXPECT_EQ(2, r.Replace("<->", ""));
    EXPECT_STREQ("abc", r);
    EXPECT_EQ(0, r.Replace("", "x"));
    CString grow("aaa");
    EXPECT_EQ(3, grow.Replace("a", "aa"));      // no re-scan of the replacement
    EXPECT_STREQ("aaaaaa", grow);

    CString e("hello");
    EXPECT_EQ(6, e.Insert(0, '>'));
    EXPECT_EQ(8, e.Insert(99, "<<"));
    EXPECT_STREQ(">hello<<", e);
    EXPECT_EQ(6, e.Delete(6, 10));
    EXPECT_EQ(5, e.Delete(0));
    EXPECT_EQ(5, e.Delete(9));
    EXPECT_STREQ("hello", e);
    EXPECT_EQ(2, e.Remove('l'));
    EXPECT_STREQ("heo", e);
}

TEST(CString, FormatHasNoLengthLimit)
{
    std::string big(12000, 'x');
    CString s;
    s.Format("[%s] %d %s", big.c_str(), 42, "end");
    EXPECT_EQ((int)big.size() + 9, s.GetLength());
    EXPECT_EQ(0, strncmp(s, "[xxx", 4));
    EXPECT_STREQ("] 42 end", (LPCSTR)s + 1 + big.size());

    s = "abc";
    s.Format("%s-%s", (LPCSTR)s, (LPCSTR)s);    // arguments from the string itself
    EXPECT_STREQ("abc-abc", s);

    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    s.Format(AFX_IDS_APP_TITLE);
    EXPECT_STREQ("Veltane Tool", s);
}

TEST(CString, LoadsFromTheStringTable)
{
    CString s("old");
    EXPECT_TRUE(s.LoadString(AFX_IDS_APP_TITLE));
    EXPECT_STREQ("Veltane Tool", s);
    EXPECT_TRUE(s.LoadString(AFX_IDS_IDLEMESSAGE));
    EXPECT_STREQ("Press F1 for Help", s);
    EXPECT_FALSE(s.LoadString(AFX_IDS_APP_TITLE + 2));   // same block, no entry
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.LoadString(0x7123));                  // no block at all
    EXPECT_STREQ("Veltane Tool", CString(MAKEINTRESOURCEA(AFX_IDS_APP_TITLE)));
}

TEST(CString, BuffersAndLengths)
{
    CString s;
    LPSTR p = s.GetBuffer(100);
    strcpy(p, "written");
    s.ReleaseBuffer();
    EXPECT_EQ(7, s.GetLength());
    p = s.GetBuffer(0);
    p[3] = 0;
    s.ReleaseBuffer(5);                 // an explicit length wins over the terminator
    EXPECT_EQ(5, s.GetLength());
    s.ReleaseBuffer(-1);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_STREQ("wri", s);

    p = s.GetBufferSetLength(6);
    memcpy(p, "abcdef", 6);
    EXPECT_EQ(6, s.GetLength());
    EXPECT_STREQ("abcdef", s);
    s.GetBufferSetLength(2);
    EXPECT_STREQ("ab", s);

    CString empty;
    empty.ReleaseBuffer();              // no buffer yet: harmless
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_NE(nullptr, empty.GetBuffer(0));
}

TEST(CString, ExtractSubString)
{
    const char* full = "Title\nStatus prompt\n\nTip";
    struct { int n; BOOL ok; const char* part; } cases[] = {
        { 0, TRUE, "Title" }, { 1, TRUE, "Status prompt" }, { 2, TRUE, "" },
        { 3, TRUE, "Tip" }, { 4, FALSE, "" }, { -1, FALSE, "" },
    };
    for (auto& c : cases)
    {
        CString out("stale");
        EXPECT_EQ(c.ok, AfxExtractSubString(out, full, c.n)) << c.n;
        EXPECT_STREQ(c.part, out) << c.n;
    }
    CString out;
    EXPECT_TRUE(AfxExtractSubString(out, "a,b", 1, ','));
    EXPECT_STREQ("b", out);
    EXPECT_FALSE(AfxExtractSubString(out, nullptr, 0));
}

// Shift-JIS: 0x83 0x41 is katakana A, whose trail byte is the ASCII 'A'.
TEST(CString, CaseFoldingNeverSplitsDoubleByteCharacters)
{
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(932, &info));
    ASSERT_EQ(2u, info.MaxCharSize);

    char lower[] = "a\x83\x41z\x83\x61";
    AfxMakeLowerCP(lower, (int)strlen(lower), 932);
    EXPECT_STREQ("a\x83\x41z\x83\x61", lower);

    char upper[] = "a\x83\x61z\x83\x41";
    AfxMakeUpperCP(upper, (int)strlen(upper), 932);
    EXPECT_STREQ("A\x83\x61Z\x83\x41", upper);

    // A lead byte at the very end is left alone.
    char tail[] = "b\x83";
    AfxMakeUpperCP(tail, 2, 932);
    EXPECT_STREQ("B\x83", tail);

    EXPECT_EQ(0, AfxCompareNoCaseCP("AB\x83\x41", "ab\x83\x41", 932));
    EXPECT_NE(0, AfxCompareNoCaseCP("\x83\x41", "\x83\x61", 932));
    EXPECT_LT(AfxCompareNoCaseCP("\x83\x41", "\x83\x42", 932), 0);

    // A single-byte code page folds its own accented letters.
    char latin[] = "\xe9t\xe9";
    AfxMakeUpperCP(latin, 3, 1252);
    EXPECT_STREQ("\xc9T\xc9", latin);
    EXPECT_EQ(0, AfxCompareNoCaseCP("\xc9t\xc9", "\xe9T\xe9", 1252));
}

TEST(CString, MakeUpperLowerReverse)
{
    CString s("MiXed 123");
    s.MakeUpper();
    EXPECT_STREQ("MIXED 123", s);
    s.MakeLower();
    EXPECT_STREQ("mixed 123", s);
    s.MakeReverse();
    EXPECT_STREQ("321 dexim", s);
    EXPECT_STREQ("ab", CString("abc").SpanIncluding("ba"));
    EXPECT_STREQ("ab", CString("ab;c").SpanExcluding(";,"));
}
