// Keyword colouring: settings, keyword files, words, comments and quotes.
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "editor/store/TWKEditColour.h"
#include "tests/editor/store/store_fixture.h"

namespace {

using storetest::App;

// Each store reads a section of its own, so settings never leak between tests.
std::string NewSection()
{
    static int s_n = 0;
    return "Editor\\kw" + std::to_string(++s_n) + " Files";
}

// A store configured from the given settings (on top of colouring on and
// the keyword file), with the given text.
struct Store
{
    vt::TempDir dir;
    TWKEdit e;

    Store(const std::string& keywordFile, std::map<std::string, std::string> settings,
          const std::string& fileName = "asm.ini")
    {
        App();
        std::string path = dir.Write(fileName, keywordFile);
        std::string section = NewSection();
        settings.emplace("Keywords", path);
        settings.emplace("Chroma", "1");
        for (auto& kv : settings)
        {
            // The flags are numbers in the profile, the rest texts.
            if (kv.first == "Chroma" || kv.first == "Case")
                App()->WriteProfileInt(section.c_str(), kv.first.c_str(), atoi(kv.second.c_str()));
            else
                App()->WriteProfileString(section.c_str(), kv.first.c_str(), kv.second.c_str());
        }
        e.SetProfileSection(section.c_str());
        e.LoadSettings();
    }

    void SetText(const std::string& text) { storetest::SetText(e, text); }

    // The keywords of a text as "word@colour" items.
    std::string Keywords(const char* text)
    {
        std::string line(text), out;
        char* scan = &line[0];
        int a = 0, b = 0;
        while (e.GetNextColorRun(&scan, &a, &b))
        {
            char buf[32];
            sprintf(buf, "@%06lx ", (unsigned long)e.m_crKeyword);
            out += std::string(scan, scan + (b - a)) + buf;
            scan += b - a;
        }
        return out;
    }

    // One letter per byte of line n: t text, k keyword, q quote, c comment.
    std::string Classes(int n)
    {
        TWKEditLine* p = e.GetLine(n);
        BYTE cls[TWK_MAX_COLUMNS];
        int len = TWKEditClassifyLine(&e, p, cls, TWK_MAX_COLUMNS);
        std::string s;
        for (int i = 0; i < len; ++i)
        {
            if (p->pText[i] == '\r' || p->pText[i] == '\n')
                break;
            s += (cls[i] & CLASS_COMMENT) ? 'c' : (cls[i] & CLASS_QUOTE) ? 'q'
               : (cls[i] & CLASS_KEYWORD) ? 'k' : 't';
        }
        return s;
    }
};

const char* kAsmKeywords =
    "[Keywords]\r\nmov=1\r\nADD=2\r\nnop=3\r\nr0=\r\n_loop=1\r\n"
    "averyveryverylongkeyword1=2\r\n"
    "[Colors]\r\n1=10,20,30\r\n2=1,2,3\r\n";

TEST(EditKeywords, KeywordFileGivesWordsAndGroupColours)
{
    Store s(kAsmKeywords, { { "Keyword", "9,9,9" } });
    ASSERT_TRUE(s.e.m_bChroma);
    ASSERT_NE(nullptr, s.e.m_pKeywordTable);
    // Case 0: any mix of cases; nop has no colour in "Colors" and keeps the
    // colour held before it; a missing value counts as group 1; a word of 23
    // characters or more is looked up in the file.
    EXPECT_EQ("MOV@1e140a add@030201 Nop@030201 R0@1e140a _loop@1e140a "
              "AVeryVeryVeryLongKeyword1@030201 ",
              s.Keywords("MOV add, Nop R0 movx 12 _loop AVeryVeryVeryLongKeyword1\r\n"));
    EXPECT_EQ("", s.Keywords("x"));        // shorter than two bytes
}

TEST(EditKeywords, CaseSensitiveLanguage)
{
    Store s(kAsmKeywords, { { "Case", "1" } });
    EXPECT_EQ("mov@1e140a ADD@030201 ", s.Keywords("mov MOV add ADD\r\n"));
}

TEST(EditKeywords, SectionNamedLikeTheFileSuppliesTheWords)
{
    Store s("[mylang]\r\nfoo=2\r\n[Colors]\r\n1=5,5,5\r\n2=7,7,7\r\n", {}, "mylang.kwd");
    ASSERT_TRUE(s.e.m_bChroma);
    // Their groups are still read from "Keywords": all fall to group 1.
    EXPECT_EQ("foo@050505 ", s.Keywords("a foo b\r\n"));
}

TEST(EditKeywords, MissingOrEmptyKeywordFileSwitchesColouringOff)
{
    Store empty("[Other]\r\nx=1\r\n", {});
    EXPECT_FALSE(empty.e.m_bChroma);
    EXPECT_EQ(nullptr, empty.e.m_pKeywordTable);
    Store missing("", {});
    missing.e.m_strKeywordFile = missing.dir.File("nothere.ini").c_str();
    missing.e.m_bChroma = TRUE;
    EXPECT_EQ(0, missing.e.LoadKeywords());
    EXPECT_FALSE(missing.e.m_bChroma);
}

// A keyword file's words may be kept between stores; a file edited since
// (another time or size) is read again, also when it is edited back.
TEST(EditKeywords, AnEditedKeywordFileIsReadAgain)
{
    Store s("[Keywords]\r\nmov=1\r\n", {});
    std::string path = (LPCSTR)s.e.m_strKeywordFile;
    auto rewrite = [&](const char* text, int nSecondsLater) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD n = 0;
        WriteFile(h, text, (DWORD)strlen(text), &n, nullptr);
        CloseHandle(h);
        // Same size edits are told apart by their time alone.
        ASSERT_TRUE(vt::SetWriteTimeFromNow(path, nSecondsLater));
    };
    EXPECT_EQ("MOV@ff0000 ", s.Keywords("MOV ADD\r\n"));

    rewrite("[Keywords]\r\nadd=1\r\n", 5);
    s.e.LoadSettings();
    EXPECT_EQ("ADD@ff0000 ", s.Keywords("MOV ADD\r\n"));
    TWKEdit other;
    other.SetProfileSection(s.e.m_strSection);
    other.LoadSettings();
    EXPECT_NE(nullptr, other.m_pKeywordTable);

    rewrite("[Keywords]\r\nmov=1\r\n", 10);
    s.e.LoadSettings();
    EXPECT_EQ("MOV@ff0000 ", s.Keywords("MOV ADD\r\n"));
    rewrite("[Other]\r\nmov=1\r\n", 15);
    s.e.LoadSettings();
    EXPECT_FALSE(s.e.m_bChroma);
}

TEST(EditKeywords, TableNeverFillsUp)
{
    // 5000 short keywords: insertion stops with one slot free, and looking up
    // a word that is not there ends.
    std::string file = "[Keywords]\r\n";
    for (int i = 0; i < 5000; ++i)
        file += "k" + std::to_string(i) + "=1\r\n";
    Store s(file, {});
    ASSERT_NE(nullptr, s.e.m_pKeywordTable);
    int used = 0;
    for (int i = 0; i < TWK_KEYWORD_SLOTS; ++i)
        used += s.e.m_pKeywordTable[i].szWord[0] != '\0';
    EXPECT_EQ(TWK_KEYWORD_SLOTS - 1, used);
    EXPECT_EQ("k0@ff0000 ", s.Keywords("zz k0\r\n"));
    EXPECT_EQ("", s.Keywords("notakeyword qq\r\n"));
}

TEST(EditKeywords, LongSettingsAreCut)
{
    std::string longDelim(40, '{');
    std::string longList(400, '.');
    longList[300] = '#';   // beyond the 255 characters kept
    Store s(kAsmKeywords, { { "Comment Start 1", longDelim }, { "Comment End 1", "}" },
                            { "Extra word chars", longList }, { "Comment", "1234567890123,5,6" } });
    EXPECT_EQ(15u, strlen(s.e.m_szCommentStart1));
    EXPECT_EQ('.', (char)s.e.m_ExtraWordChars['.']);
    EXPECT_EQ(0u, s.e.m_ExtraWordChars['#']);
    EXPECT_EQ(RGB((BYTE)(1234567890123LL & 0xFF), 5, 6), s.e.m_crComment);
}

TEST(EditKeywords, ColourText)
{
    struct { const char* text; COLORREF cr; } cases[] = {
        { "1,2,3", RGB(1, 2, 3) }, { "255,0,128", RGB(255, 0, 128) }, { "256,257,-1", RGB(0, 1, 255) },
        { "", 0 }, { "7", RGB(7, 0, 0) }, { "x,5", RGB(0, 5, 0) }, { " 4, 5 ,6", RGB(4, 5, 6) },
    };
    for (auto& c : cases)
        EXPECT_EQ(c.cr, TWKEdit::ParseColor(c.text)) << c.text;
    char buf[16];
    TWKEdit::FormatColor(RGB(0, 128, 255), buf);
    EXPECT_STREQ("0,128,255", buf);
}

TEST(EditKeywords, WordBoundaries)
{
    Store s(kAsmKeywords, { { "Extra word chars", ".#" }, { "Terminator chars", "." }, { "Start chars", "#" } });
    auto words = [&](const char* t) {
        std::string text(t), out;
        char* p = &text[0];
        int len = 0;
        while (char* w = s.e.GetNextWord(p, &len))
        {
            out += std::string(w, w + len) + "|";
            p = w + len;
        }
        return out;
    };
    EXPECT_EQ("a.|b|", words("a.b\r\n"));
    EXPECT_EQ("x|#y|", words("x#y\r\n"));
    EXPECT_EQ("ab_1|c|", words("  ab_1, (c)\r\n"));
    EXPECT_EQ("", words("q"));
}

TEST(EditKeywords, MultiLineAndLineComments)
{
    Store s(kAsmKeywords, { { "Comment Start 1", "/*" }, { "Comment End 1", "*/" }, { "Comment Start 2", "//" } });
    s.SetText("mov /* open\r\n"
              "still add\r\n"
              "end */ mov\r\n"
              "x // y /* not\r\n"
              "after\r\n"
              "\"/*\" nop\r\n"
              "z\r\n");
    int pair = 0;
    EXPECT_EQ(1, s.e.IsInComment(s.e.GetLine(2), &pair));
    EXPECT_EQ(1, pair);
    EXPECT_EQ(1, s.e.IsInComment(s.e.GetLine(3), &pair));
    EXPECT_EQ(0, s.e.IsInComment(s.e.GetLine(4), &pair));   // closed on line 3
    EXPECT_EQ(0, s.e.IsInComment(s.e.GetLine(5), &pair));   // the /* follows //
    EXPECT_EQ(0, s.e.IsInComment(s.e.GetLine(7), &pair));   // the /* is quoted

    EXPECT_EQ("kkktccccccc", s.Classes(1));
    EXPECT_EQ("ccccccccc", s.Classes(2));
    EXPECT_EQ("cccccctkkk", s.Classes(3));
    EXPECT_EQ("ttccccccccccc", s.Classes(4));
    EXPECT_EQ("tqqttkkk", s.Classes(6));

    // An opener inside quotes hides a real one after it.
    char line[] = "'/*' x /* y";
    EXPECT_EQ(-1, s.e.FindCommentStart(line, (int)strlen(line), &pair));
}

TEST(EditKeywords, QuotedCloserEndsOnlyPairOne)
{
    Store s(kAsmKeywords, { { "Comment Start 1", "{" }, { "Comment End 1", "}" },
                            { "Comment Start 2", "(*" }, { "Comment End 2", "*)" } });
    char one[] = "a '}' b";
    EXPECT_EQ(4, s.e.FindCommentEnd(one, (int)strlen(one), 1));
    EXPECT_FALSE(s.e.m_bInComment);
    char two[] = "a '*)' b";
    EXPECT_EQ((int)strlen(two), s.e.FindCommentEnd(two, (int)strlen(two), 2));
    EXPECT_TRUE(s.e.m_bInComment);
    EXPECT_EQ(0, s.e.FindCommentEnd(two, 3, 7));   // no such pair
}

TEST(EditKeywords, LetterDelimitersFoldWithoutChangingThem)
{
    Store s(kAsmKeywords, { { "Comment Start 1", "rem" } });
    char line[] = "x REM y";
    int pair = 0;
    EXPECT_EQ(2, s.e.FindCommentStart(line, (int)strlen(line), &pair));
    EXPECT_STREQ("rem", s.e.m_szCommentStart1);
    EXPECT_STREQ("x REM y", line);
    char pat[] = "ReM";
    EXPECT_EQ(line + 2, s.e.FindString(pat, line, 3));
    EXPECT_STREQ("ReM", pat);
    EXPECT_EQ(nullptr, s.e.FindString(pat, line, 2));   // must start within the count
}

TEST(EditKeywords, QuotesAndExtraPairs)
{
    Store s(kAsmKeywords, { { "Comment Start 1", ";" } });
    const char* t = "a \"b\" 'c d";
    EXPECT_EQ(0, TWKEdit::IsInQuotes(t, t + 1));
    EXPECT_EQ(1, TWKEdit::IsInQuotes(t, t + 3));
    EXPECT_EQ(0, TWKEdit::IsInQuotes(t, t + 8));   // no closing mark after it
    EXPECT_EQ(3, s.e.AddCommentPair("<!", "!>"));
    EXPECT_EQ(-1, s.e.AddCommentPair("<!", "x"));
    EXPECT_EQ(-1, s.e.AddCommentPair(";", "x"));
    EXPECT_EQ(-1, s.e.AddCommentPair("", "x"));
    char line[] = "a <! b ; c";
    int pair = 0;
    EXPECT_EQ(2, s.e.FindCommentStart(line, (int)strlen(line), &pair));
    EXPECT_EQ(3, pair);
}


TEST(EditKeywords, UnterminatedQuoteEndsTheQuotePass)
{
    Store s(kAsmKeywords, { { "Comment Start 1", ";" } });
    s.SetText("x 'a \"b\"\r\n"
              "'s' \"t\r\n");
    EXPECT_EQ("tttttttt", s.Classes(1));   // the b after an open quote is not quoted
    EXPECT_EQ("tqtttt", s.Classes(2));
}

TEST(EditKeywords, CloserSearchedFromTheOpenersPlace)
{
    // "(*)" opens and closes at once: the closer overlaps the opener.
    Store s(kAsmKeywords, { { "Comment Start 1", "(*" }, { "Comment End 1", "*)" } });
    s.SetText("a (*)\r\n"
              "b\r\n"
              "a (*) b\r\n"
              "a (* x *) b (*\r\n"
              "c *)\r\n"
              "(* c\r\n"
              "d\r\n");
    int pair = 0;
    EXPECT_EQ(0, s.e.IsInComment(s.e.GetLine(2), &pair));
    EXPECT_EQ(1, s.e.IsInComment(s.e.GetLine(5), &pair));
    EXPECT_EQ(1, s.e.IsInComment(s.e.GetLine(7), &pair));
    // The painter reads the opener's own line as the line state does.
    EXPECT_EQ("ttccc", s.Classes(1));
    EXPECT_EQ("ttccctt", s.Classes(3));
    EXPECT_EQ("ttccccccctttcc", s.Classes(4));
    EXPECT_EQ("cccc", s.Classes(5));
}

} // namespace

// While a paint's memo lives, lines asked about in order, with gaps of any
// size between them (the rows the painter skips), get the answers each gets
// alone.
TEST(EditKeywords, CommentStateWithGapsUnderThePaintsMemo)
{
    Store s(kAsmKeywords, { { "Comment Start 1", "/*" }, { "Comment End 1", "*/" }, { "Comment Start 2", ";" } });
    unsigned seed = 7;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    const char* pieces[] = {"mov", " /*", "*/ ", " ; x", "\"", " nop", "/* a */"};
    std::string text;
    for (int i = 0; i < 1500; i++)
    {
        for (int k = (int)(next() % 4); k > 0; k--)
            text += pieces[next() % 7];
        text += "\r\n";
    }
    s.SetText(text + "end");
    std::vector<int> alone(1, 0);
    for (TWKEditLine* p = s.e.GetFirstLine(); p; p = p->pNext)
    {
        int pair = 0;
        alone.push_back(s.e.IsInComment(p, &pair) ? pair : 0);
    }
    for (int maxGap : {1, 3, 40, 300})
    {
        TWKEditCommentMemo memo;
        int n = 1;
        for (TWKEditLine* p = s.e.GetFirstLine(); p;)
        {
            int pair = 0;
            int state = s.e.IsInComment(p, &pair) ? pair : 0;
            ASSERT_EQ(alone[n], state) << "line " << n << ", gaps up to " << maxGap;
            for (int k = 1 + (int)(next() % maxGap); k > 0 && p; k--)
                p = p->pNext, n++;
        }
    }
}
