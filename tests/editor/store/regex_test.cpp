#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include "editor/store/TWKEditRegExp.h"

namespace {

struct MatchCase
{
    const char* pattern;
    const char* text;
    int at;             // -1: no match
    const char* whole;  // the matched text
    const char* group1; // NULL: no check; "-": did not take part
};

std::string Slot(const TWKEditRegExp& re, const char* text, int n)
{
    if (re.GetStart(n) < 0)
        return "-";
    return std::string(text + re.GetStart(n), text + re.GetEnd(n));
}

const MatchCase kMatches[] = {
    // Literals, dot, escapes.
    { "abc", "xxabcxx", 2, "abc", NULL },
    { "abc", "abxabd", -1, "", NULL },
    { "a.c", "abc", 0, "abc", NULL },
    { "a.c", "ac", -1, "", NULL },
    { "a\\.c", "abc a.c", 4, "a.c", NULL },
    { "\\1", "x1", 1, "1", NULL },            // no back references: a literal 1
    { "\\(\\)", "f()", 1, "()", NULL },
    { "a]{", "a]{", 0, "a]{", NULL },         // ] and { are ordinary
    // Anchors, wherever they stand.
    { "^foo", "foo bar", 0, "foo", NULL },
    { "^bar", "foo bar", -1, "", NULL },
    { "bar$", "bar foo bar", 8, "bar", NULL },
    { "a^b", "ab", -1, "", NULL },
    { "x|^a", "ba a", -1, "", NULL },
    { "x|^a", "ab", 0, "a", NULL },
    { "^$", "", 0, "", NULL },
    { "$", "abc", 3, "", NULL },
    // Sets.
    { "[abc]+", "xxcabz", 2, "cab", NULL },
    { "[^0-9]x", "1x2xax", 4, "ax", NULL },
    { "[]a]", "x]", 1, "]", NULL },
    { "[^]a]", "]ab", 2, "b", NULL },
    { "[-a]", "x-", 1, "-", NULL },
    { "[a-]", "x-", 1, "-", NULL },
    { "[a-c-e]", "zd", 1, "d", NULL },
    { "[\\n]", "\\", 0, "\\", NULL },          // backslash is plain inside a set
    { "[a-a]", "a", 0, "a", NULL },
    { "[\x81-\xFF]", "a\xC0", 1, "\xC0", NULL },
    // Repetition: greedy, giving back, the operator binds to the last char.
    { "ab*", "a", 0, "a", NULL },
    { "ab*", "xabbbc", 1, "abbb", NULL },
    { "ab+", "aab", 1, "ab", NULL },
    { "ab?c", "ac abc", 0, "ac", NULL },
    { "a.*b", "axbxb c", 0, "axbxb", NULL },
    { "a*", "bbb", 0, "", NULL },
    { "(ab)*c", "ababc", 0, "ababc", "ab" },
    { "(ab)+", "xabab", 1, "abab", "ab" },
    { "(a|b)*c", "abbac", 0, "abbac", "a" },
    { "(a?)b", "b", 0, "b", "" },
    // Alternation: the first alternative that leads to a match, not the longest.
    { "a|ab", "ab", 0, "a", NULL },
    { "(a|ab)c", "abc", 0, "abc", "ab" },
    { "cat|dog", "hotdog", 3, "dog", NULL },
    { "a|", "b", 0, "", NULL },
    { "(|a)b", "ab", 0, "ab", "a" },
    // Groups.
    { "(a+)b", "aab", 0, "aab", "aa" },
    { "((a)|b)+", "ab", 0, "ab", "b" },
    { "(x)?y", "y", 0, "y", "-" },
    { "(a)(b)(c)(d)(e)(f)(g)(h)(i)", "abcdefghi", 0, "abcdefghi", "a" },
    // Case is the caller's: the matcher is exact.
    { "ABC", "abc", -1, "", NULL },
    // The empty pattern matches at once.
    { "", "abc", 0, "", NULL },
};

TEST(RegExp, MatchTable)
{
    for (const MatchCase& c : kMatches)
    {
        SCOPED_TRACE(std::string("pattern ") + c.pattern + " text " + c.text);
        TWKEditRegExp re;
        ASSERT_EQ(1, re.Compile(c.pattern));
        int at = re.Exec(c.text);
        EXPECT_EQ(c.at, at);
        if (c.at < 0 || at < 0)
            continue;
        EXPECT_EQ(c.at, re.GetStart(0));
        EXPECT_EQ(c.whole, Slot(re, c.text, 0));
        if (c.group1)
        {
            EXPECT_EQ(c.group1, Slot(re, c.text, 1));
        }
    }
}

TEST(RegExp, InvalidPatternsAreRefused)
{
    const char* bad[] = {
        "abc\\",                    // backslash at the end
        "[abc", "[]", "[^]",         // unclosed sets
        "(abc", "abc)", "a)b(",     // unmatched parentheses
        "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)",  // a tenth group
        "*a", "+a", "?a", "(*a)", "a|*b",  // nothing to repeat
        "a**", "a*+", "a?*", "a+?",        // repetition after repetition
        "(a*)*", "(a*)+", "(a|)*", "()*", "(^)*", "$+", "(a?b?)+",  // could be empty
        "[z-a]", "[\x7F-\x80]",            // reversed ranges (ends compared signed)
    };
    for (const char* p : bad)
    {
        SCOPED_TRACE(p);
        TWKEditRegExp re;
        EXPECT_EQ(0, re.Compile(p));
        EXPECT_FALSE(re.IsCompiled());
        EXPECT_EQ(-1, re.Exec("abc"));
    }
    // Allowed neighbours of the refused ones.
    const char* good[] = { "(ab)*", "(a*)?", "(^)?", "()", "a|", "[\x80-\x7F]", "(a*b)*" };
    for (const char* p : good)
    {
        SCOPED_TRACE(p);
        TWKEditRegExp re;
        EXPECT_EQ(1, re.Compile(p));
    }
}

TEST(RegExp, GroupReportsItsLastRepetition)
{
    TWKEditRegExp re;
    ASSERT_EQ(1, re.Compile("([a-z]+[0-9] ?)+"));
    const char* text = "ab1 c2 def3";
    ASSERT_EQ(0, re.Exec(text));
    EXPECT_EQ("def3", Slot(re, text, 1));
    EXPECT_EQ(11, re.GetEnd(0));
}

TEST(RegExp, ExecWithLengthStopsThere)
{
    TWKEditRegExp re;
    ASSERT_EQ(1, re.Compile("end$"));
    EXPECT_EQ(0, re.Exec("end\r\n", 3));
    EXPECT_EQ(-1, re.Exec("end\r\n"));
    ASSERT_EQ(1, re.Compile("d.*"));
    ASSERT_EQ(2, re.Exec("end\n", 4));
    EXPECT_EQ(4, re.GetEnd(0));  // dot takes the LF
}

TEST(RegExp, SubstituteTemplates)
{
    TWKEditRegExp re;
    ASSERT_EQ(1, re.Compile("(a+)(x)?b"));
    ASSERT_EQ(1, re.Exec("caab"));
    struct { const char* tmpl; const char* out; } cases[] = {
        { "\\1-&", "aa-aab" },
        { "\\0", "aab" },
        { "[\\2]", "[]" },          // group that took no part
        { "\\9", "" },              // group that does not exist
        { "\\\\ \\& &&", "\\ & aabaab" },
        { "\\n\\", "\\n\\" },        // other escapes stay as written
        { "", "" },
    };
    for (auto& c : cases)
    {
        char* s = re.Substitute(c.tmpl);
        ASSERT_NE(nullptr, s) << c.tmpl;
        EXPECT_STREQ(c.out, s) << c.tmpl;
        free(s);
    }
}

TEST(RegExp, SubstituteWithoutMatchGivesNothing)
{
    TWKEditRegExp re;
    EXPECT_EQ(nullptr, re.Substitute("&"));
    ASSERT_EQ(1, re.Compile("q"));
    EXPECT_EQ(-1, re.Exec("abc"));
    EXPECT_EQ(nullptr, re.Substitute("&"));
}

TEST(RegExp, LongRepetitionsNeedNoMachineStack)
{
    // A group under a repetition across a whole long line must neither
    // overflow the stack nor be cut short.
    std::string text;
    for (int i = 0; i < 8000; ++i)
        text += "ab";
    text += "c";
    TWKEditRegExp re;
    ASSERT_EQ(1, re.Compile("(ab|x)*c"));
    ASSERT_EQ(0, re.Exec(text.c_str()));
    EXPECT_EQ((int)text.size(), re.GetEnd(0));
    EXPECT_EQ((int)text.size() - 3, re.GetStart(1));
    EXPECT_FALSE(re.StepLimitHit());
}

TEST(RegExp, ExponentialPatternAnswersWithoutTheGuard)
{
    // A state that failed once fails again: the alternatives are not tried
    // over and over, and the answer is a plain "no match".
    std::string text(60, 'a');
    TWKEditRegExp re;
    ASSERT_EQ(1, re.Compile("(a|aa)+(b|aab)"));
    EXPECT_EQ(-1, re.Exec(text.c_str()));
    EXPECT_FALSE(re.StepLimitHit());
    ASSERT_EQ(1, re.Compile("(a|aa)+(b|aab|a)"));
    EXPECT_EQ(0, re.Exec(text.c_str()));
    EXPECT_EQ(60, re.GetEnd(0));
    EXPECT_FALSE(re.StepLimitHit());
}

TEST(RegExp, LeftmostMatchOnALongLineAfterLongFailedRuns)
{
    // Each start inside the long run fails only after scanning the rest of
    // it; the leftmost match lies after the run, in a 16,000-byte line.
    struct Case { const char* pattern; std::string run; const char* rest; std::string whole; };
    const Case cases[] = {
        { "[a-z]*;", std::string(15000, 'q'), " 1 xyz; more", "xyz;" },
        { "[0-9]+h", std::string(15000, '7'), " x 12h 3h", "12h" },
        { "(a|b)*d", std::string(7500, 'a') + std::string(7500, 'b'), " c abd d", "abd" },
        { "x.*y", "x" + std::string(14999, 'z'), " x-y", "x" + std::string(14999, 'z') + " x-y" },
    };
    for (const Case& c : cases)
    {
        std::string text = c.run + c.rest;
        text += std::string(16000 - text.size(), ' ');
        TWKEditRegExp re;
        ASSERT_EQ(1, re.Compile(c.pattern)) << c.pattern;
        int at = re.Exec(text.c_str());
        EXPECT_FALSE(re.StepLimitHit()) << c.pattern;
        ASSERT_GE(at, 0) << c.pattern;
        EXPECT_EQ(c.whole, Slot(re, text.c_str(), 0)) << c.pattern;
        EXPECT_EQ((int)text.find(c.whole), at) << c.pattern;
    }
}

} // namespace
