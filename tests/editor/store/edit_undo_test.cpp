// Editing primitives, their undo records, Undo and Redo.
#include "tests/editor/store/store_fixture.h"
#include <functional>

using namespace storetest;

namespace {

// A store holding the given text, tab size 4, tabs kept off.
struct Store
{
    TWKEdit e;
    explicit Store(const std::string& text, int type = 0)
    {
        e.SetLineEndType(type);
        e.SetTabSize(4);
        e.m_bKeepTabs = FALSE;
        SetText(e, text);
    }
    TWKEditPos P(int line, int off) { return Pos(e, line, off); }
    const TWKEditUndoRecord& Last() { return *e.GetUndoRecord(e.GetUndoPos() - 1); }
    void Renumber() { e.m_nLineCount = TWKEdit::RenumberLines(e.m_pFirstLine); }
};

} // namespace

TEST(EditUndo, TypingOnOneLineIsUndoneAtOnce)
{
    Store s("ab\r\ncd\r\n");
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(s.e.InsertChar(s.P(1, 1 + i), (char)('x' + i), TRUE, TRUE), 0);
    ASSERT_EQ(s.e.InsertChar(s.P(2, 0), 'q', TRUE, TRUE), 0);
    EXPECT_EQ(Text(s.e), "axyzb\r\nqcd\r\n");
    EXPECT_TRUE(s.e.IsModified());
    EXPECT_EQ(s.e.GetUndoCount(), 4);
    EXPECT_EQ(s.Last().nType, UNDO_CHAR_INSERTED);
    EXPECT_EQ(s.e.Undo(), 1);                 // the character on line 2
    EXPECT_EQ(Text(s.e), "axyzb\r\ncd\r\n");
    EXPECT_EQ(s.e.Undo(), 1);                 // the three on line 1
    EXPECT_EQ(Text(s.e), "ab\r\ncd\r\n");
    EXPECT_EQ(s.e.Undo(), 0);
    EXPECT_EQ(s.e.Redo(), 1);
    EXPECT_EQ(Text(s.e), "axyzb\r\ncd\r\n");
    EXPECT_EQ(s.e.Redo(), 1);
    EXPECT_EQ(s.e.Redo(), 0);
    EXPECT_EQ(Text(s.e), "axyzb\r\nqcd\r\n");
}

TEST(EditUndo, TypingIntoTheLastLineGivesItALineEnd)
{
    Store s("ab");
    ASSERT_EQ(s.e.InsertChar(s.P(1, 2), 'c', TRUE, TRUE), 0);
    EXPECT_EQ(Text(s.e), "abc\r\n");
}

TEST(EditUndo, InsertingRightOfTheTextFillsFirst)
{
    Store s("ab\r\n");
    ASSERT_EQ(s.e.InsertChar(s.P(1, 10), 'x', TRUE, TRUE), 0);
    EXPECT_EQ(Text(s.e), "ab        x\r\n");
    ASSERT_EQ(s.e.GetUndoCount(), 2);
    const TWKEditUndoRecord* fill = s.e.GetUndoRecord(0);
    EXPECT_EQ(fill->nType, UNDO_TEXT_INSERTED);
    EXPECT_EQ(fill->nStartOffset, 2);
    EXPECT_EQ(fill->nEndOffset, 10);
    EXPECT_STREQ(fill->pszText, "        ");
    EXPECT_EQ(s.e.GetUndoRecord(1)->nType, UNDO_CHAR_INSERTED);

    Store t("abcde\r\n");
    t.e.m_bKeepTabs = TRUE;                   // from column 5 to column 12
    TWKEditPos p = t.P(1, 12);
    ASSERT_EQ(t.e.PadToPosition(&p, FALSE), 0);
    EXPECT_EQ(Text(t.e), "abcde\t    \r\n");
    EXPECT_EQ(p.nOffset, 10);
    EXPECT_EQ(t.e.OffsetToColumn(t.P(1, 0).pLine, p.nOffset), 12);
}

TEST(EditUndo, OverwriteAndItsUndo)
{
    Store s("ab\r\n");
    ASSERT_EQ(s.e.InsertChar(s.P(1, 2), 'x', FALSE, TRUE), 0);     // at the end: lengthens
    EXPECT_EQ(Text(s.e), "abx\r\n");
    EXPECT_EQ(s.Last().nType, UNDO_CHAR_OVERWRITTEN);
    EXPECT_EQ(s.Last().chOld, '\r');
    ASSERT_EQ(s.e.InsertChar(s.P(1, 0), 'Z', FALSE, TRUE), 0);     // inside: replaces
    EXPECT_EQ(Text(s.e), "Zbx\r\n");
    EXPECT_EQ(s.Last().chOld, 'a');
    EXPECT_EQ(s.e.Undo(), 1);                 // overwrites on one line go together
    EXPECT_EQ(Text(s.e), "ab\r\n");
    EXPECT_EQ(s.e.Undo(), 0);
    s.e.Redo();
    EXPECT_EQ(Text(s.e), "Zbx\r\n");

    Store t("ab\r\ncd\r\n");
    ASSERT_EQ(t.e.InsertChar(t.P(1, 0), 'Q', FALSE, TRUE), 0);
    ASSERT_EQ(t.e.InsertChar(t.P(2, 2), 'R', FALSE, TRUE), 0);
    t.e.Undo();
    EXPECT_EQ(Text(t.e), "Qb\r\ncd\r\n");   // the end of the line: the character goes
    t.e.Undo();
    EXPECT_EQ(Text(t.e), "ab\r\ncd\r\n");   // inside: the old character comes back
}

TEST(EditUndo, DeleteCharAndItsLimits)
{
    Store s("abc\r\nd");
    EXPECT_EQ(s.e.DeleteChar(s.P(1, 3), TRUE), 22589);
    EXPECT_EQ(s.e.DeleteChar(s.P(1, 9), TRUE), 22589);
    EXPECT_EQ(s.e.GetUndoCount(), 0);
    EXPECT_FALSE(s.e.IsModified());
    ASSERT_EQ(s.e.DeleteChar(s.P(1, 1), TRUE), 0);
    EXPECT_EQ(Text(s.e), "ac\r\nd");
    EXPECT_EQ(s.Last().nType, UNDO_CHAR_DELETED);
    EXPECT_EQ(s.Last().chNew, 'b');
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "abc\r\nd");
}

TEST(EditUndo, DeleteCharsBeyondTheTextRecordsOnlyWhatWasThere)
{
    Store s("abcdef\r\n");
    ASSERT_EQ(s.e.DeleteChars(s.P(1, 4), 50, TRUE), 0);
    EXPECT_EQ(Text(s.e), "abcd\r\n");
    EXPECT_EQ(s.Last().nType, UNDO_TEXT_DELETED);
    EXPECT_STREQ(s.Last().pszText, "ef");
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "abcdef\r\n");
    s.e.Redo();
    EXPECT_EQ(Text(s.e), "abcd\r\n");
}

TEST(EditUndo, InsertStringBothModes)
{
    Store s("hello\r\n");
    ASSERT_EQ(s.e.InsertString(s.P(1, 1), "XY", TRUE, TRUE), 0);
    EXPECT_EQ(Text(s.e), "hXYello\r\n");
    EXPECT_EQ(s.Last().nType, UNDO_TEXT_INSERTED);
    EXPECT_EQ(s.Last().nEndOffset, 3);
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "hello\r\n");

    // Overwriting keeps what it replaced, so Undo brings it back.
    ASSERT_EQ(s.e.InsertString(s.P(1, 3), "LOWER", FALSE, TRUE), 0);
    EXPECT_EQ(Text(s.e), "helLOWER\r\n");
    EXPECT_EQ(s.e.Undo(), 1);
    EXPECT_EQ(Text(s.e), "hello\r\n");
    EXPECT_EQ(s.e.Redo(), 1);
    EXPECT_EQ(Text(s.e), "helLOWER\r\n");
    EXPECT_EQ(s.e.Undo(), 1);
    EXPECT_EQ(s.e.Undo(), 0);
}

TEST(EditUndo, InsertTextSplitsAndRecordsOneRecord)
{
    Store s("ab\r\nzz\r\n");
    ASSERT_EQ(s.e.InsertText(s.P(1, 1), "x\r\ny", 4, TRUE), 0);
    EXPECT_EQ(Text(s.e), "ax\r\nyb\r\nzz\r\n");
    EXPECT_EQ(s.e.m_nLineCount, 3);
    ASSERT_EQ(s.e.GetUndoCount(), 1);
    EXPECT_EQ(s.Last().nType, UNDO_TEXT_INSERTED);
    EXPECT_EQ(s.Last().nStartLine, 1);
    EXPECT_EQ(s.Last().nStartOffset, 1);
    EXPECT_EQ(s.Last().nEndLine, 2);
    EXPECT_EQ(s.Last().nEndOffset, 1);
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "ab\r\nzz\r\n");
    s.e.Redo();
    EXPECT_EQ(Text(s.e), "ax\r\nyb\r\nzz\r\n");
}

TEST(EditUndo, InsertTextCases)
{
    struct { const char* name; std::string text; int type; int line, off; const char* ins; const char* after; } cases[] = {
        {"one line", "abc\r\n", 0, 1, 1, "XY", "aXYbc\r\n"},
        {"ending in a line end", "abc\r\n", 0, 1, 1, "X\r\n", "aX\r\nbc\r\n"},
        {"into the last line", "ab", 0, 1, 2, "\r\nc", "ab\r\nc"},
        {"CR LF text into an LF store", "ab\ncd\n", 2, 2, 1, "1\r\n2\r\n3", "ab\nc1\n2\n3d\n"},
        {"right of the text", "ab\r\n", 0, 1, 4, "Q", "ab  Q\r\n"},
        {"lines right of the text", "ab\r\ncd", 0, 1, 3, "Q\r\nR", "ab Q\r\nR\r\ncd"},
    };
    for (auto& c : cases)
    {
        Store s(c.text, c.type);
        int out = -1;
        ASSERT_EQ(s.e.InsertText(s.P(c.line, c.off), c.ins, (int)strlen(c.ins), TRUE, &out), 0) << c.name;
        EXPECT_EQ(Text(s.e), c.after) << c.name;
        EXPECT_GE(out, 0) << c.name;
        // One record each, a fill right of the text included.
        EXPECT_EQ(s.e.GetUndoCount(), 1) << c.name;
        EXPECT_EQ(s.e.Undo(), 1) << c.name;
        EXPECT_EQ(Text(s.e), c.text) << c.name;
        EXPECT_EQ(s.e.Undo(), 0) << c.name;
        EXPECT_EQ(s.e.Redo(), 1) << c.name;
        EXPECT_EQ(Text(s.e), c.after) << c.name;
    }
}

TEST(EditUndo, SplitAndJoin)
{
    Store s("abcd\r\nef\r\n");
    ASSERT_EQ(s.e.SplitLine(s.P(1, 2), TRUE), 0);
    EXPECT_EQ(Text(s.e), "ab\r\ncd\r\nef\r\n");
    EXPECT_EQ(s.e.GetLine(3)->nLineNo, 3);
    ASSERT_EQ(s.e.JoinLine(s.P(2, 2), TRUE), 0);
    EXPECT_EQ(Text(s.e), "ab\r\ncdef\r\n");
    EXPECT_EQ(s.Last().nType, UNDO_LINES_JOINED);
    EXPECT_EQ(s.e.JoinLine(s.P(2, 4), TRUE), 22580);
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "ab\r\ncd\r\nef\r\n");
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "abcd\r\nef\r\n");
    s.e.Redo();
    s.e.Redo();
    EXPECT_EQ(Text(s.e), "ab\r\ncdef\r\n");

    Store b("ab\r\nc\r\n");
    b.P(1, 0).pLine->dwFlags = LINE_BOOKMARK;
    ASSERT_EQ(b.e.SplitLine(b.P(1, 0), FALSE), 0);
    EXPECT_EQ(b.e.GetLine(1)->dwFlags & LINE_BOOKMARK, 0u);
    EXPECT_NE(b.e.GetLine(2)->dwFlags & LINE_BOOKMARK, 0u);
    EXPECT_STREQ(b.e.GetLine(2)->pText, "ab\r\n");
}

TEST(EditUndo, JoinRefusesTooLongLines)
{
    Store s(std::string(8000, 'a') + "\r\n" + std::string(8381, 'b') + "\r\n");
    EXPECT_EQ(s.e.JoinLine(s.P(1, 8000), TRUE), 22578);     // 8002 + 8383 = 16385 columns
    EXPECT_EQ(s.e.m_nLineCount, 2);
    Store t(std::string(8000, 'a') + "\r\n" + std::string(8380, 'b'));
    EXPECT_EQ(t.e.JoinLine(t.P(1, 8000), TRUE), 0);          // exactly 16382
}

TEST(EditUndo, DeleteRangeAcrossLines)
{
    Store s("one\r\ntwo\r\nthree\r\nfour\r\n");
    ASSERT_EQ(s.e.DeleteRange(s.P(1, 1), s.P(3, 2), TRUE), 0);
    EXPECT_EQ(Text(s.e), "oree\r\nfour\r\n");
    EXPECT_EQ(s.Last().nType, UNDO_TEXT_DELETED);
    EXPECT_STREQ(s.Last().pszText, "ne\r\ntwo\r\nth");
    s.Renumber();
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "one\r\ntwo\r\nthree\r\nfour\r\n");
    s.e.Redo();
    EXPECT_EQ(Text(s.e), "oree\r\nfour\r\n");
    EXPECT_EQ(s.e.DeleteRange(s.P(1, 1), s.P(1, 1), TRUE), 22581);
    TWKEditPos none = {NULL, 0};
    EXPECT_EQ(s.e.DeleteRange(none, s.P(1, 1), TRUE), 22581);
}

TEST(EditUndo, CopyRangeGivesCrLf)
{
    Store s("ab\ncd\nef\n", 2);
    LPSTR t = s.e.CopyRange(s.P(1, 1), s.P(3, 1));
    EXPECT_STREQ(t, "b\r\ncd\r\ne");
    free(t);
    t = s.e.CopyRange(s.P(1, 1), s.P(1, 40));
    EXPECT_STREQ(t, "b");
    free(t);
}

TEST(EditUndo, ColumnBlocks)
{
    Store s("abcdef\r\nx\r\n");
    LPSTR t = s.e.CopyColumn(s.P(1, 1), s.P(2, 4));
    EXPECT_STREQ(t, "bcd\r\n   ");
    free(t);

    Store d("abcdef\r\n0123456\r\nxy\r\n");
    ASSERT_EQ(d.e.DeleteColumn(d.P(1, 1), d.P(3, 4), TRUE), 0);
    EXPECT_EQ(Text(d.e), "aef\r\n0456\r\nx\r\n");
    EXPECT_EQ(d.Last().nType, UNDO_COLUMN_DELETED);
    EXPECT_STREQ(d.Last().pszText, "bcd\r\n123\r\ny  ");
    d.e.Undo();
    // The block comes back whole (a short line keeps its blanks); the lines
    // below it are there already.
    EXPECT_EQ(Text(d.e), "abcdef\r\n0123456\r\nxy  \r\n");

    Store c("abcd\r\nefgh\r\nij\r\n");
    ASSERT_EQ(c.e.InsertColumnText(c.P(1, 2), "XY\r\nZW", 6, TRUE), 0);
    EXPECT_EQ(Text(c.e), "abXYcd\r\nefZWgh\r\nij\r\n");
    EXPECT_EQ(c.Last().nType, UNDO_COLUMN_INSERTED);
    c.e.Undo();
    EXPECT_EQ(Text(c.e), "abcd\r\nefgh\r\nij\r\n");
    c.e.Redo();
    EXPECT_EQ(Text(c.e), "abXYcd\r\nefZWgh\r\nij\r\n");
}

TEST(EditUndo, ColumnDeleteTakesTheColumnsOfEachLine)
{
    // Tab size 4: "ab\tcd" has b at column 1, the tab over 2-3, c at 4.
    // The block of columns 1 to 4 takes b, the tab and c there, and the same
    // four columns of the line without tabs; either corner order.
    Store d("ab\tcd\r\n0123456\r\n");
    ASSERT_EQ(d.e.DeleteColumn(d.P(1, 1), d.P(2, 5), TRUE), 0);
    EXPECT_EQ(Text(d.e), "ad\r\n056\r\n");
    EXPECT_STREQ(d.Last().pszText, "b  c\r\n1234");
    d.e.Undo();
    EXPECT_EQ(Text(d.e), "ab  cd\r\n0123456\r\n");

    Store u("0123456\r\nab\tcd\r\n");
    ASSERT_EQ(u.e.DeleteColumn(u.P(2, 4), u.P(1, 1), TRUE), 0);
    EXPECT_EQ(Text(u.e), "056\r\nad\r\n");
}

TEST(EditUndo, ColumnBlockPastTheLastLineAddsLines)
{
    Store s("abcd");
    ASSERT_EQ(s.e.InsertColumnText(s.P(1, 1), "1\r\n2\r\n3", 7, FALSE), 0);
    // The block gets the lines it needs and one empty line after it.
    EXPECT_EQ(Text(s.e), "a1bcd\r\n 2\r\n 3\r\n");
    EXPECT_EQ(s.e.m_nLineCount, 4);
    Store one("ab\r\ncd");
    ASSERT_EQ(one.e.InsertColumnText(one.P(2, 1), "X", 1, TRUE), 0);
    EXPECT_EQ(Text(one.e), "ab\r\ncXd\r\n");
    EXPECT_EQ(one.e.m_nLineCount, 3);
    // Undo takes the added lines away with the block.
    EXPECT_EQ(one.e.Undo(), 1);
    EXPECT_EQ(Text(one.e), "ab\r\ncd");
    EXPECT_EQ(one.e.m_nLineCount, 2);
}

TEST(EditUndo, GroupsAreUndoneTogether)
{
    Store s("abc\r\n");
    s.e.SetUndoGroup(TRUE);
    ASSERT_NE(s.e.GetUndoGroup(), 0u);
    s.e.InsertChar(s.P(1, 0), '1', TRUE, TRUE);
    s.e.SplitLine(s.P(1, 1), TRUE);
    s.e.InsertString(s.P(2, 0), "zz", TRUE, TRUE);
    s.e.SetUndoGroup(FALSE);
    EXPECT_EQ(s.e.GetUndoGroup(), 0u);
    const int kGroup[] = { UNDO_CHAR_INSERTED, UNDO_LINE_SPLIT, UNDO_TEXT_INSERTED };
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(s.e.GetUndoRecord(i)->nType, kGroup[i]);
        EXPECT_EQ(s.e.GetUndoRecord(i)->dwGroup, s.e.GetUndoRecord(0)->dwGroup);
    }
    s.e.InsertChar(s.P(1, 0), '0', TRUE, TRUE);
    EXPECT_EQ(Text(s.e), "01\r\nzzabc\r\n");
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "1\r\nzzabc\r\n");
    EXPECT_EQ(s.e.Undo(), 1);
    EXPECT_EQ(Text(s.e), "abc\r\n");
    EXPECT_EQ(s.e.Redo(), 1);
    EXPECT_EQ(Text(s.e), "1\r\nzzabc\r\n");
    // A new change drops what could be redone.
    s.e.DeleteChar(s.P(2, 0), TRUE);
    EXPECT_EQ(s.e.Redo(), 0);
}

TEST(EditUndo, FullLogDropsTheOldestQuarter)
{
    Store s("\r\n");
    for (int i = 0; i < 2048; i++)
    {
        TWKEditUndoRecord r = {};
        r.nType = 6;
        r.nStartLine = i + 1;
        ASSERT_EQ(s.e.AddUndoRecord(&r, NULL), 1);
    }
    EXPECT_EQ(s.e.GetUndoPos(), 2048);
    TWKEditUndoRecord r = {};
    r.nType = 4;
    r.nStartLine = 1;
    r.nEndLine = 1;
    r.nEndOffset = 2;
    ASSERT_EQ(s.e.AddUndoRecord(&r, "hi"), 1);
    EXPECT_EQ(s.e.GetUndoPos(), 1537);
    EXPECT_EQ(s.e.GetUndoCount(), 1537);
    EXPECT_EQ(s.e.GetUndoRecord(0)->nStartLine, 513);
    EXPECT_STREQ(s.e.GetUndoRecord(1536)->pszText, "hi");
    EXPECT_EQ(s.e.GetUndoRecord(1537)->nType, 0);
}

TEST(EditUndo, ManyRealUndosThenANewChange)
{
    Store s("");
    // Changes on different lines so every Undo takes one record.
    for (int i = 0; i < 2048; i++)
    {
        if (i % 2 == 0)
            ASSERT_EQ(s.e.SplitLine(s.P(i / 2 + 1, 0), TRUE), 0);
        else
            ASSERT_EQ(s.e.InsertChar(s.P(i / 2 + 1, 0), 'x', TRUE, TRUE), 0);
    }
    ASSERT_EQ(s.e.GetUndoCount(), 2048);
    for (int i = 0; i < 1900; i++)
        ASSERT_EQ(s.e.Undo(), 1);
    int pos = s.e.GetUndoPos();
    ASSERT_LT(pos, 512);
    ASSERT_EQ(s.e.InsertChar(s.P(1, 0), '#', TRUE, TRUE), 0);
    EXPECT_EQ(s.e.GetUndoPos(), pos + 1);
    EXPECT_EQ(s.e.GetUndoCount(), pos + 1);
    EXPECT_EQ(s.e.GetUndoRecord(pos)->nType, UNDO_CHAR_INSERTED);
    EXPECT_EQ(s.e.GetUndoRecord(pos + 1)->nType, 0);
    EXPECT_EQ(s.e.Redo(), 0);
    while (s.e.Undo())
        ;
    EXPECT_EQ(Text(s.e), "");
}

TEST(EditUndo, InsertFileAndItsRecord)
{
    vt::TempDir dir;
    std::string path = dir.Write("ins.txt", "f1\nf2\n");
    Store s("ab\r\ncd\r\n");
    TWKEditPos p = s.P(2, 1);
    ASSERT_EQ(s.e.InsertFile(&p, path.c_str(), TRUE), 0);
    EXPECT_EQ(Text(s.e), "ab\r\nf1\r\nf2\r\ncd\r\n");
    EXPECT_EQ(p.pLine, s.e.GetLine(2));
    EXPECT_EQ(s.e.m_nLineCount, 4);
    EXPECT_EQ(s.Last().nType, UNDO_FILE_INSERTED);
    EXPECT_EQ(s.Last().nEndLine, 4);
    s.e.Undo();
    EXPECT_EQ(Text(s.e), "ab\r\ncd\r\n");
    s.e.Redo();
    EXPECT_EQ(Text(s.e), "ab\r\nf1\r\nf2\r\ncd\r\n");
    EXPECT_NE(s.e.InsertFile(&p, dir.File("none.txt").c_str(), TRUE), 0);
}

TEST(EditUndo, ReadOnlyStoreRefusesEveryChange)
{
    Store s("abc\r\ndef\r\n");
    s.e.SetReadOnly(TRUE);
    TWKEditPos p = s.P(1, 1);
    std::vector<int> codes = {
        s.e.InsertChar(p, 'x', TRUE, TRUE),
        s.e.DeleteChar(p, TRUE),
        s.e.DeleteChars(p, 2, TRUE),
        s.e.InsertString(p, "x", TRUE, TRUE),
        s.e.InsertText(p, "x", 1, TRUE),
        s.e.InsertColumnText(p, "x", 1, TRUE),
        s.e.DeleteRange(p, s.P(2, 1), TRUE),
        s.e.DeleteColumn(p, s.P(2, 2), TRUE),
        s.e.SplitLine(p, TRUE),
        s.e.JoinLine(p, TRUE),
        s.e.InsertFile(&p, "x", TRUE),
    };
    for (size_t i = 0; i < codes.size(); i++)
        EXPECT_EQ(codes[i], 22575) << "primitive " << i;
    EXPECT_EQ(Text(s.e), "abc\r\ndef\r\n");
    EXPECT_EQ(s.e.GetUndoCount(), 0);
}

// The primitives that add or remove lines renumber only from where they
// changed them: after each change, and after Undo and Redo of it, every line
// carries its place and the count is right.
TEST(EditUndo, LineNumbersStayRightAfterEachChange)
{
    auto check = [](Store& s, const char* what) {
        int n = 0;
        for (TWKEditLine* p = s.e.GetFirstLine(); p; p = p->pNext)
            ASSERT_EQ(++n, p->nLineNo) << what;
        EXPECT_EQ(n, s.e.m_nLineCount) << what;
    };
    struct Change { const char* name; std::function<int(Store&)> run; };
    const Change kChanges[] = {
        { "split", [](Store& s) { return s.e.SplitLine(s.P(3, 1), TRUE); } },
        { "join", [](Store& s) { return s.e.JoinLine(s.P(3, 2), TRUE); } },
        { "insert text", [](Store& s) { return s.e.InsertText(s.P(2, 1), "x\r\ny\r\nz", 7, TRUE); } },
        { "delete range", [](Store& s) { return s.e.DeleteRange(s.P(2, 1), s.P(4, 1), TRUE); } },
        { "column block", [](Store& s) { return s.e.InsertColumnText(s.P(5, 1), "1\r\n2\r\n3", 7, TRUE); } },
        { "typing", [](Store& s) {
              for (int i = 0; i < 3; i++)
                  s.e.InsertChar(s.P(4, i), 'q', TRUE, TRUE);
              return 0; } },
        { "text on one line", [](Store& s) { return s.e.InsertString(s.P(2, 1), "abc", TRUE, TRUE); } },
        { "overwriting", [](Store& s) { return s.e.InsertString(s.P(2, 0), "xyz", FALSE, TRUE); } },
        { "typing past the end", [](Store& s) {
              s.e.SetUndoGroup(TRUE);
              int rc = s.e.InsertChar(s.P(6, 7), 'q', TRUE, TRUE);
              s.e.SetUndoGroup(FALSE);
              return rc; } },
        { "replacing a word", [](Store& s) {
              s.e.SetUndoGroup(TRUE);
              int rc = s.e.DeleteRange(s.P(3, 0), s.P(3, 2), TRUE);
              if (!rc)
                  rc = s.e.InsertString(s.P(3, 0), "three", TRUE, TRUE);
              s.e.SetUndoGroup(FALSE);
              return rc; } },
    };
    // The line Undo and Redo leave known is the one GetLine finds.
    auto replayed = [](Store& s, int nRecord, const char* what) {
        const TWKEditUndoRecord* pRec = s.e.GetUndoRecord(nRecord);
        ASSERT_TRUE(pRec) << what;
        if (TWKEditLine* pLine = s.e.GetReplayedLine(pRec->nStartLine))
            EXPECT_EQ(pLine, s.e.GetLine(pRec->nStartLine)) << what;
    };
    for (const Change& c : kChanges)
    {
        Store s("l1\r\nl2\r\nl3\r\nl4\r\nl5\r\nl6\r\n");
        ASSERT_EQ(c.run(s), 0) << c.name;
        check(s, c.name);
        std::string changed = Text(s.e);
        EXPECT_EQ(s.e.Undo(), 1) << c.name;
        check(s, c.name);
        replayed(s, s.e.m_nUndoPos, c.name);
        EXPECT_EQ(Text(s.e), "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\nl6\r\n") << c.name;
        EXPECT_EQ(s.e.Redo(), 1) << c.name;
        check(s, c.name);
        replayed(s, s.e.m_nUndoPos - 1, c.name);
        EXPECT_EQ(Text(s.e), changed) << c.name;
    }
}
