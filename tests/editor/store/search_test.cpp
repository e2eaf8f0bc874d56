// One search step over a store: directions, case, limits, regular
// expressions and replacement templates.
#include <cstring>
#include <string>
#include "editor/store/TWKEditSearch.h"
#include "tests/editor/store/store_fixture.h"

using namespace storetest;

namespace {

struct Found
{
    int ret;
    int line;
    int offset;
    int len;
};

Found Find(TWKEdit& e, int line, int offset, DWORD flags, const char* what,
           char* replace = NULL, int replaceSize = 0, TWKEditPos limit = TWKEditPos{ NULL, 0 })
{
    TWKEditPos pos = Pos(e, line, offset);
    TWKEditSearchInfo info = { flags, 0, what, replace, replaceSize };
    int r = e.Search(&pos, limit, &info);
    TWKEdit::RenumberLines(e.m_pFirstLine);
    return Found{ r, TWKEdit::GetLineNo(pos.pLine), pos.nOffset, info.nMatchLen };
}

const DWORD F = SEARCH_FORWARD, C = SEARCH_MATCHCASE, R = SEARCH_REGEX;

struct SearchCase
{
    const char* text;
    int lineEnd;
    int line, offset;
    DWORD flags;
    const char* what;
    Found want;   // line and offset only checked when found
};

const SearchCase kCases[] = {
    // Case.
    { "xx abc\r\nABC\r\nAbC\r\n", 0, 1, 0, F, "AbC", { 1, 1, 3, 3 } },
    { "xx abc\r\nABC\r\nAbC\r\n", 0, 1, 0, F | C, "AbC", { 1, 3, 0, 3 } },
    { "xx abc\r\nABC\r\nAbC\r\n", 0, 1, 0, F | C | R, "A[a-z]C", { 1, 3, 0, 3 } },
    { "xx abc\r\nABC\r\n", 0, 1, 0, F | R, "[A-Z]+", { 1, 1, 0, 2 } },
    // Forward from the middle of a line; ^ at the starting offset.
    { "foo foo\r\nfoo\r\n", 0, 1, 1, F, "foo", { 1, 1, 4, 3 } },
    { "xfoo foo\r\n", 0, 1, 1, F | R, "^foo", { 1, 1, 1, 3 } },
    { "xfoo foo\r\n", 0, 1, 2, F | R, "^foo", { 0 } },
    // $ before CR LF; with LF-only lines the LF is text.
    { "the end\r\nend x\r\n", 0, 1, 0, F | R, "end$", { 1, 1, 4, 3 } },
    { "the end\nend x\n", 2, 1, 0, F | R, "end$", { 0 } },
    { "the end\nend x\n", 2, 1, 0, F | R, "end.$", { 1, 1, 4, 4 } },
    // Sets, repetitions.
    { "1x 2x ax\r\n", 0, 1, 0, F | R, "[^0-9]x", { 1, 1, 6, 2 } },
    { "a ab abbb\r\n", 0, 1, 2, F | R, "ab*", { 1, 1, 2, 2 } },
    { "c(ab)\r\n", 0, 1, 0, F | R, "(a*)*", { 0 } },           // refused pattern
    { "abc\r\n", 0, 1, 0, F | R, "ab\\", { 0 } },
    { "abc\r\n", 0, 1, 0, F | R, "[ab", { 0 } },
    { "abc\r\n", 0, 1, 0, F | R, "(ab", { 0 } },
    // Empty texts.
    { "abc\r\n", 0, 1, 1, F, "", { 0 } },
    { "abc\r\n", 0, 1, 1, F | R, "", { 1, 1, 1, 0 } },
    // Backward, plain: the last occurrence ending at or before the start.
    { "ab ab ab\r\nab\r\n", 0, 1, 5, 0, "ab", { 1, 1, 3, 2 } },
    { "ab ab ab\r\nab\r\n", 0, 1, 4, 0, "ab", { 1, 1, 0, 2 } },
    { "ab\r\nxx\r\nyy ab\r\n", 0, 3, 2, 0, "AB", { 1, 1, 0, 2 } },
    // Backward, regular expression: a match ending at the start is not taken.
    { "ab ab ab\r\n", 0, 1, 5, R, "ab", { 1, 1, 0, 2 } },
    { "ab ab ab\r\n", 0, 1, 6, R, "ab", { 1, 1, 3, 2 } },
    { "x1 x22 x3\r\ny\r\n", 0, 2, 0, R, "x[0-9]+", { 1, 1, 7, 2 } },
    { "aaaa\r\n", 0, 1, 4, R, "^a", { 1, 1, 2, 1 } },   // each try starts a new text
    // Running out of lines.
    { "abc\r\ndef\r\n", 0, 2, 0, F, "abc", { 0 } },
    { "abc\r\ndef\r\n", 0, 1, 0, 0, "def", { 0 } },
};

TEST(EditSearch, CaseTable)
{
    App();
    for (const SearchCase& c : kCases)
    {
        SCOPED_TRACE(std::string(c.what) + " in " + c.text);
        TWKEdit e;
        e.SetLineEndType(c.lineEnd);
        SetText(e, c.text);
        std::string before = Text(e);
        Found f = Find(e, c.line, c.offset, c.flags, c.what);
        EXPECT_EQ(c.want.ret, f.ret);
        if (c.want.ret && f.ret)
        {
            EXPECT_EQ(c.want.line, f.line);
            EXPECT_EQ(c.want.offset, f.offset);
            EXPECT_EQ(c.want.len, f.len);
        }
        EXPECT_EQ(before, Text(e));  // the store's text is never changed
    }
}

TEST(EditSearch, NotFoundLeavesThePositionsLine)
{
    App();
    TWKEdit e;
    SetText(e, "abc\r\ndef\r\n");
    TWKEditPos pos = Pos(e, 2, 1);
    TWKEditLine* line = pos.pLine;
    TWKEditSearchInfo info = { F, 0, "zzz", NULL, 0 };
    EXPECT_EQ(0, e.Search(&pos, TWKEditPos{ NULL, 0 }, &info));
    EXPECT_EQ(line, pos.pLine);
}

TEST(EditSearch, LimitStopsAForwardSearch)
{
    App();
    TWKEdit e;
    SetText(e, "ab ab\r\nxx\r\nab\r\n");
    // On the starting line a plain match must start before the limit's offset.
    EXPECT_EQ(0, Find(e, 1, 1, F, "ab", NULL, 0, Pos(e, 1, 3)).ret);
    EXPECT_EQ(1, Find(e, 1, 1, F, "ab", NULL, 0, Pos(e, 1, 4)).ret);
    // The limit's line is searched whole, then the step ends.
    Found f = Find(e, 1, 4, F, "ab", NULL, 0, Pos(e, 3, 0));
    EXPECT_EQ(1, f.ret);
    EXPECT_EQ(3, f.line);
    EXPECT_EQ(0, Find(e, 1, 4, F, "ab", NULL, 0, Pos(e, 2, 0)).ret);
    // Backward: a limit on the starting line ends the part there instead.
    f = Find(e, 1, 5, 0, "ab", NULL, 0, Pos(e, 1, 4));
    EXPECT_EQ(1, f.ret);
    EXPECT_EQ(0, f.offset);
}

TEST(EditSearch, ReplacementTemplates)
{
    App();
    TWKEdit e;
    SetText(e, "x aab y\r\n");
    char buf[64];
    strcpy(buf, "\\1-&");
    Found f = Find(e, 1, 0, F | R, "(a+)b", buf, sizeof buf);
    EXPECT_EQ(1, f.ret);
    EXPECT_EQ(2, f.offset);
    EXPECT_EQ(3, f.len);
    EXPECT_STREQ("aa-aab", buf);

    // Backward: the expansion is that of the match taken, expanded once.
    SetText(e, "a1b a22b a333b\r\n");
    strcpy(buf, "<\\1>");
    f = Find(e, 1, 14, R, "a([0-9]+)b", buf, sizeof buf);
    EXPECT_EQ(1, f.ret);
    EXPECT_EQ(4, f.offset);
    EXPECT_STREQ("<22>", buf);
}

TEST(EditSearch, ReplacementThatDoesNotFitIsRefused)
{
    App();
    TWKEdit e;
    SetText(e, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n");
    // "&&&&" expands to four times the match: far beyond the buffer.
    char buf[32];
    memset(buf, '#', sizeof buf);
    strcpy(buf, "&&&&");
    Found f = Find(e, 1, 0, F | R, "a+", buf, 16);
    EXPECT_EQ(0, f.ret);
    EXPECT_EQ(-1, f.len);
    EXPECT_STREQ("&&&&", buf);
    for (int i = 5; i < (int)sizeof buf; ++i)
        EXPECT_EQ('#', buf[i]);
    // The same with room for it.
    char big[200];
    strcpy(big, "&&&&");
    f = Find(e, 1, 0, F | R, "a+", big, sizeof big);
    EXPECT_EQ(1, f.ret);
    EXPECT_EQ(144u, strlen(big));
    // No template, no expansion.
    EXPECT_EQ(1, Find(e, 1, 0, F | R, "a+", NULL, 0).ret);
}

TEST(EditSearch, HelpersFindExactOccurrences)
{
    char text[] = "abcabc";
    EXPECT_EQ(text, TWKEdit::FindFirstExact("abc", text, 1));
    EXPECT_EQ(text + 3, TWKEdit::FindFirstExact("abc", text + 1, 3));   // may run past the count
    EXPECT_EQ(nullptr, TWKEdit::FindFirstExact("abc", text + 1, 2));
    EXPECT_EQ(text + 3, TWKEdit::FindLastExact("abc", text, 6));
    EXPECT_EQ(text, TWKEdit::FindLastExact("abc", text, 3));
    EXPECT_EQ(nullptr, TWKEdit::FindFirstExact("ABC", text, 6));
    EXPECT_EQ(nullptr, TWKEdit::FindFirstExact("", text, 6));
    EXPECT_EQ(1, TWKEdit::HasRegexChars("a]b"));
    EXPECT_EQ(0, TWKEdit::HasRegexChars("a(b)|c"));
}

// The helpers stop at a NUL within the count, wherever the text starts and
// ends against the machine word; each against a byte-by-byte reading.
TEST(EditSearch, HelpersAgainstAByteByByteReading)
{
    unsigned seed = 99;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    const char* patterns[] = {"a", "ab", "ba", "aab", "/*"};
    for (int round = 0; round < 2000; round++)
    {
        char buf[64] = {};
        int nLen = (int)(next() % 48);
        for (int i = 0; i < nLen; i++)
        {
            unsigned r = next() % 16;
            buf[i] = r == 0 ? '\0' : r < 6 ? 'a' : r < 10 ? 'b' : r < 12 ? '/' : r < 14 ? '*' : 'c';
        }
        buf[nLen] = '\0';
        const char* text = buf + next() % 8;
        int n = (int)(next() % 50);
        const char* pat = patterns[next() % 5];
        size_t plen = strlen(pat), tlen = strnlen(text, (size_t)n);
        const char* first = nullptr;
        const char* last = nullptr;
        for (size_t i = 0; i < tlen; i++)
            if (text[i] == pat[0] && strncmp(text + i, pat, plen) == 0)
            {
                if (!first)
                    first = text + i;
                last = text + i;
            }
        ASSERT_EQ(first, TWKEdit::FindFirstExact(pat, text, n)) << round;
        ASSERT_EQ(last, TWKEdit::FindLastExact(pat, text, n)) << round;
    }
}

TEST(EditSearch, PlainTextInEitherCaseAtEveryAlignment)
{
    // The word sits at each offset of a long line, so the word-at-a-time
    // scan meets it in every place of a word and in the tail.
    for (int at = 0; at < 24; at++)
    {
        TWKEdit e;
        std::string line = std::string(at, 'e') + "NeEdLe" + std::string(30 - at % 7, 'N') + "\r\n";
        SetText(e, line + "needle\r\n");
        Found f = Find(e, 1, 0, F, "nEEDLE");
        EXPECT_EQ(1, f.ret) << at;
        EXPECT_EQ(1, f.line) << at;
        EXPECT_EQ(at, f.offset) << at;
        f = Find(e, 1, 0, F | C, "needle");
        EXPECT_EQ(2, f.line) << at;
        f = Find(e, 2, 6, 0, "NEEDLE");   // backwards, from the end of line 2
        EXPECT_EQ(2, f.line) << at;
        EXPECT_EQ(0, f.offset) << at;
    }
    // Only letters fold: '[' and '{' differ by the case bit and stay apart.
    TWKEdit e;
    SetText(e, "[x {x @y `y\r\n");
    EXPECT_EQ(3, Find(e, 1, 0, F, "{X").offset);
    EXPECT_EQ(0, Find(e, 1, 0, F, "[x").offset);
    EXPECT_EQ(6, Find(e, 1, 0, F, "@Y").offset);
    EXPECT_EQ(0, Find(e, 1, 0, F, "`Y!").ret);
}

} // namespace
