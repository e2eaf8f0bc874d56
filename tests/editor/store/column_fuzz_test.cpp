// Column blocks of random shape pasted, undone and redone: one Undo gives the
// text back byte for byte whatever the block's size, and Redo gives exactly
// what the paste gave. Seeded, so that a failure names a case that repeats.
#include "tests/editor/store/store_fixture.h"
#include <algorithm>
#include <random>

using namespace storetest;

namespace {

struct Case
{
    std::string text;     // the store's text
    int type;             // the store's line-end type
    int line, offset;     // where the block goes
    std::string block;    // the block, given by length (may hold a NUL)
};

std::string RandomRow(std::mt19937& rng, int maxLen)
{
    static const char kChars[] = "abcdefghij    \t";
    std::string s(rng() % (maxLen + 1), ' ');
    for (char& c : s)
        c = kChars[rng() % (sizeof(kChars) - 1)];
    return s;
}

// Texts of short and long lines, with or without a line end on the last.
std::string RandomText(std::mt19937& rng, const char* eol, int lines)
{
    std::string s;
    int longest = rng() % 2 ? 8 : 120;
    for (int i = 0; i < lines; i++)
    {
        s += RandomRow(rng, longest);
        if (i + 1 < lines || rng() % 2)
            s += eol;
    }
    return s;
}

// Blocks of 1 to 5,000 rows, mostly small; rows end in CR LF or LF, and now
// and then carry a lone line-end byte; a few hold a NUL (the text ends there).
std::string RandomBlock(std::mt19937& rng)
{
    int rows = rng() % 8 == 0 ? 1500 + (int)(rng() % 3501) : 1 + (int)(rng() % 12);
    int width = 1 + rng() % 6;
    std::string s;
    for (int r = 0; r < rows; r++)
    {
        std::string row = RandomRow(rng, width);
        if (r == 0 && row.empty())
            row = "x";
        switch (rng() % 24)
        {
        case 0: row += '\n'; break;
        case 1: row += '\r'; break;
        case 2: row.insert(row.size() / 2, 1, '\n'); break;
        default: break;
        }
        s += row;
        if (r + 1 < rows)
            s += rng() % 3 ? "\r\n" : "\n";
    }
    if (rng() % 10 == 0)
        s.insert(rng() % s.size(), 1, '\0');
    return s;
}

TWKEditPos At(TWKEdit& e, int line, int offset)
{
    TWKEditPos p = { e.GetLine(line), offset };
    return p;
}

} // namespace

TEST(ColumnFuzz, PasteUndoRedoGiveTheSameTexts)
{
    std::mt19937 rng(40117u);
    int mismatches = 0, large = 0;
    for (int n = 0; n < 400 && mismatches < 5; n++)
    {
        Case c;
        c.type = rng() % 2 ? TWK_LINEEND_CRLF : TWK_LINEEND_LF;
        int lines = 1 + rng() % 40;
        c.text = RandomText(rng, c.type == TWK_LINEEND_CRLF ? "\r\n" : "\n", lines);
        c.line = rng() % 3 == 0 ? lines : 1 + (int)(rng() % lines);
        c.offset = (int)(rng() % 20);
        c.block = RandomBlock(rng);

        TWKEdit e;
        e.SetLineEndType(c.type);
        e.SetTabSize(4);
        e.m_bKeepTabs = rng() % 2;
        SetText(e, c.text);
        int before = e.m_nLineCount;
        ASSERT_EQ(e.InsertColumnText(At(e, c.line, c.offset), c.block.data(), (int)c.block.size(), TRUE), 0)
            << "case " << n;
        std::string pasted = Text(e);
        int pastedLines = e.m_nLineCount;
        if (pasted == c.text)
            continue;   // a block cut to nothing by its NUL
        large += std::count(c.block.begin(), c.block.end(), '\n') >= 1500;

        EXPECT_EQ(e.Undo(), 1);
        std::string undone = Text(e);
        bool ok = undone == c.text && e.m_nLineCount == before;
        EXPECT_EQ(e.Redo(), 1);
        ok = ok && Text(e) == pasted && e.m_nLineCount == pastedLines;
        EXPECT_EQ(e.Undo(), 1);
        ok = ok && Text(e) == c.text;
        if (!ok)
        {
            mismatches++;
            ADD_FAILURE() << "case " << n << ": " << c.block.size() << "-byte block at line " << c.line << " offset "
                          << c.offset << " of " << lines << " lines, type " << c.type
                          << (undone == c.text ? ", redo differs from the paste" : ", undo leaves another text");
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(large, 20);   // the blocks that outgrow the log are among the cases
}

// Blocks far longer than the undo log is deep, into short lines (filled up
// to the column), long lines and the last line: one record, one Undo.
TEST(ColumnFuzz, ALongBlockIsOneRecord)
{
    struct Shape { const char* text; int line, offset; } const kShapes[] = {
        { "ab\r\n", 1, 5 },
        { "0123456789012345678901234567890123456789\r\nxy\r\n", 1, 20 },
        { "ab\r\ncd", 2, 4 },
    };
    for (const Shape& sh : kShapes)
        for (int type : { TWK_LINEEND_CRLF, TWK_LINEEND_LF })
        {
            std::string text = sh.text;
            if (type == TWK_LINEEND_LF)
                for (size_t k; (k = text.find("\r\n")) != std::string::npos;)
                    text.erase(k, 1);
            TWKEdit e;
            e.SetLineEndType(type);
            e.SetTabSize(4);
            SetText(e, text);
            std::string block;
            for (int i = 0; i < 3000; i++)
                block += "xyz\r\n";
            int lines = e.m_nLineCount;
            ASSERT_EQ(e.InsertColumnText(At(e, sh.line, sh.offset), block.data(), (int)block.size(), TRUE), 0);
            EXPECT_GE(e.m_nLineCount, sh.line + 3000);
            EXPECT_EQ(e.GetUndoCount(), 1);
            EXPECT_EQ(e.Undo(), 1);
            EXPECT_EQ(Text(e), text) << sh.text << " type " << type;
            EXPECT_EQ(e.m_nLineCount, lines);
            EXPECT_EQ(e.Undo(), 0);
        }
}
