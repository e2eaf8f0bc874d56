// The store's line list, positions, columns and settings.
#include "tests/editor/store/store_fixture.h"

using namespace storetest;

TEST(EditLines, NewStoreHasOneEmptyLine)
{
    App();
    TWKEdit e;
    TWKEditLine* p = e.GetFirstLine();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->pNext, nullptr);
    EXPECT_EQ(p->nLength, 0);
    EXPECT_EQ(p->nLineNo, 1);
    EXPECT_EQ(p->nCapacity, 80);
    EXPECT_EQ(e.m_nLineCount, 1);
    EXPECT_FALSE(e.IsModified());
    EXPECT_FALSE(e.IsReadOnly());
    EXPECT_EQ(e.m_hLockedFile, (HANDLE)NULL);
    EXPECT_EQ(e.GetLineEndType(), 0);
    EXPECT_STREQ(e.m_szLineEnd, "\r\n");
}

TEST(EditLines, GetLineOutOfRangeGivesLastLine)
{
    App();
    TWKEdit e;
    SetText(e, "a\r\nb\r\nc");
    ASSERT_EQ(e.m_nLineCount, 3);
    TWKEditLine* last = TWKEdit::GetLastLine(e.m_pFirstLine);
    EXPECT_EQ(e.GetLine(0), last);
    EXPECT_EQ(e.GetLine(-5), last);
    EXPECT_EQ(e.GetLine(4), last);
    EXPECT_EQ(e.GetLine(2)->pText[0], 'b');
    int n = 0;
    EXPECT_EQ(TWKEdit::GetFirstLine(last, &n), e.m_pFirstLine);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(TWKEdit::GetFirstLine(NULL), nullptr);
    EXPECT_EQ(TWKEdit::FreeLine(NULL), -1);
    EXPECT_EQ(e.InsertLineAfter(NULL, last), -1);
}

TEST(EditLines, ColumnsExpandTabs)
{
    App();
    TWKEdit e;
    e.SetTabSize(4);
    SetText(e, "a\tb");
    TWKEditLine* l = e.GetFirstLine();
    const int cols[] = {0, 1, 4, 5};
    for (int k = 0; k < 4; k++)
        EXPECT_EQ(e.OffsetToColumn(l, k), cols[k]) << "offset " << k;
    EXPECT_EQ(e.OffsetToColumn(l, 6), 8);       // virtual space: one column per offset
    EXPECT_EQ(e.OffsetToColumn(l, -1), 0);
    struct { int col, off; } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 3}, {10, 8}, {-3, 0}};
    for (auto& c : cases)
        EXPECT_EQ(e.ColumnToOffset(l, c.col), c.off) << "column " << c.col;
    EXPECT_EQ(e.CountColumns(NULL, 7), 7);
    EXPECT_EQ(e.CountColumns("\t\t", 2), 8);
}

TEST(EditLines, GetFitLengthStopsAtTheLimit)
{
    App();
    TWKEdit e;
    e.SetTabSize(4);
    std::string s(20000, 'x');
    EXPECT_EQ(e.GetFitLength(s.c_str()), 16382);           // CR LF: 16384 - 2
    std::string t(16380, 'x');
    t += "\t\t";                                           // the first tab already crosses it
    EXPECT_EQ(e.GetFitLength(t.c_str()), 16380);
    e.SetLineEndType(2);
    EXPECT_EQ(e.GetFitLength(s.c_str()), 16383);
}

TEST(EditLines, BufferSizesAndGrowth)
{
    TWKEditLine* a = TWKEdit::NewLine(1);
    TWKEditLine* b = TWKEdit::NewLine(17);
    TWKEditLine* z = TWKEdit::NewLine(0);
    EXPECT_EQ(a->nCapacity, 32);
    EXPECT_EQ(b->nCapacity, 48);
    EXPECT_EQ(z->pText, nullptr);
    EXPECT_EQ(z->nLineNo, 0);
    strcpy(a->pText, "hello");
    a->nLength = 5;
    LPSTR before = a->pText;
    EXPECT_EQ(TWKEdit::GrowLine(a, 31), 1);
    EXPECT_EQ(a->pText, before);
    EXPECT_EQ(TWKEdit::GrowLine(a, 32), 1);
    EXPECT_EQ(a->nCapacity, 48);
    EXPECT_STREQ(a->pText, "hello");
    EXPECT_EQ(TWKEdit::GrowLine(z, 3), 1);
    EXPECT_EQ(z->nCapacity, 32);
    // The largest buffer keeps its whole capacity; a larger one is refused
    // as out of memory and the line stays as it was.
    EXPECT_EQ(TWKEdit::GrowLine(b, TWK_MAX_LINE_SIZE), 1);
    EXPECT_EQ(b->nCapacity, (TWK_MAX_LINE_SIZE + 31) & ~15);
    EXPECT_GT(b->nCapacity, TWK_MAX_LINE_SIZE);
    before = a->pText;
    EXPECT_EQ(TWKEdit::GrowLine(a, TWK_MAX_LINE_SIZE + 1), 0);
    EXPECT_EQ(a->pText, before);
    EXPECT_EQ(a->nCapacity, 48);
    EXPECT_EQ(TWKEdit::NewLine(TWK_MAX_LINE_SIZE + 1), nullptr);
    TWKEdit::FreeLine(a);
    TWKEdit::FreeLine(b);
    TWKEdit::FreeLine(z);
}

TEST(EditLines, InsertLineAfterMovesBookmarkOnlyFromCrLfLine)
{
    App();
    TWKEdit e;
    for (const char* text : {"\r\n", "\n"})
    {
        TWKEditLine* a = TWKEdit::NewLine(4);
        strcpy(a->pText, text);
        a->nLength = (int)strlen(text);
        a->dwFlags = LINE_BOOKMARK;
        TWKEditLine* n = TWKEdit::NewLine(4);
        ASSERT_EQ(e.InsertLineAfter(n, a), 0);
        EXPECT_EQ(a->pNext, n);
        EXPECT_EQ(n->pPrev, a);
        bool moved = strcmp(text, "\r\n") == 0;
        EXPECT_EQ((n->dwFlags & LINE_BOOKMARK) != 0, moved) << (moved ? "CR LF" : "LF");
        EXPECT_EQ((a->dwFlags & LINE_BOOKMARK) != 0, !moved);
        EXPECT_EQ(TWKEdit::RenumberLines(n), 2);
        EXPECT_EQ(n->nLineNo, 2);
        TWKEdit::FreeLines(n);
    }
}

TEST(EditLines, PositionOrder)
{
    App();
    TWKEdit e;
    SetText(e, "ab\r\ncd\r\n");
    TWKEditPos a = Pos(e, 1, 1), b = Pos(e, 2, 0);
    EXPECT_EQ(TWKEdit::IsPosAtOrBefore(a, a), 1);
    EXPECT_EQ(TWKEdit::IsPosAtOrBefore(a, b), 1);
    EXPECT_EQ(TWKEdit::IsPosAtOrBefore(b, a), 0);
    EXPECT_EQ(TWKEdit::IsPosAtOrBefore(Pos(e, 1, 2), Pos(e, 1, 1)), 0);
}

TEST(EditLines, WordChars)
{
    App();
    TWKEdit e;
    EXPECT_EQ(e.IsWordChar('a'), 1);
    EXPECT_EQ(e.IsWordChar('7'), 1);
    EXPECT_EQ(e.IsWordChar(' '), 0);
    EXPECT_EQ(e.IsWordChar('.'), 0);
    e.m_ExtraWordChars['.'] = '.';
    EXPECT_EQ(e.IsWordChar('.'), 1);
}

TEST(EditLines, LineEndTypes)
{
    App();
    TWKEdit e;
    struct { int type; const char* seq; } cases[] = {{1, "\n\r"}, {2, "\n"}, {3, "\r"}, {0, "\r\n"}};
    for (auto& c : cases)
    {
        e.SetLineEndType(c.type);
        EXPECT_STREQ(e.m_szLineEnd, c.seq);
        EXPECT_EQ(e.GetLineEndLength(), (int)strlen(c.seq));
    }
    e.SetLineEndType(2);
    e.SetLineEndType(7);
    EXPECT_EQ(e.m_nLineEndType, 7);
    EXPECT_STREQ(e.m_szLineEnd, "\n");
}

TEST(EditLines, SettingsComeFromTheProfileSection)
{
    CWinApp* app = App();
    const char* sec = "Editor\\asm Files";
    app->WriteProfileInt(sec, "Tab size", 8);
    app->WriteProfileInt(sec, "Keep tabs", 0);
    app->WriteProfileInt(sec, "Show tabs", 1);
    app->WriteProfileString(sec, "Font name", "Lucida Console");
    app->WriteProfileInt(sec, "Font size", 11);
    app->WriteProfileInt(sec, "CharSet", 2);
    app->WriteProfileInt(sec, "Font weight", 700);
    app->WriteProfileInt(sec, "Font Italic", 1);
    app->WriteProfileInt(sec, "Word wrap", 1);
    app->WriteProfileInt(sec, "Insert", 0);
    app->WriteProfileInt(sec, "Lock files", 1);
    TWKEdit e;
    // Defaults of the empty section.
    EXPECT_EQ(e.GetTabSize(), 3);
    EXPECT_TRUE(e.m_bKeepTabs);
    EXPECT_STREQ((LPCSTR)e.m_strFontName, "Courier New");
    EXPECT_EQ(e.m_nFontSize, 9);
    EXPECT_EQ(e.m_nFontWeight, 400);
    EXPECT_TRUE(e.GetInsertMode());
    EXPECT_FALSE(e.GetLockFiles());

    e.SetProfileSection(sec);
    EXPECT_EQ(e.LoadSettings(), 0);
    EXPECT_EQ(e.GetTabSize(), 8);
    EXPECT_FALSE(e.m_bKeepTabs);
    EXPECT_TRUE(e.m_bShowTabs);
    EXPECT_STREQ((LPCSTR)e.m_strFontName, "Lucida Console");
    EXPECT_EQ(e.m_nFontSize, 11);
    EXPECT_EQ(e.m_nCharSet, 2);
    EXPECT_EQ(e.m_nFontWeight, 700);
    EXPECT_TRUE(e.m_bFontItalic);
    EXPECT_TRUE(e.GetWordWrap());
    EXPECT_FALSE(e.GetInsertMode());
    EXPECT_TRUE(e.GetLockFiles());
}

TEST(EditLines, TabSizeBelowOneBecomesFour)
{
    CWinApp* app = App();
    TWKEdit e;
    e.SetTabSize(0);
    EXPECT_EQ(e.GetTabSize(), 4);
    e.SetTabSize(-3);
    EXPECT_EQ(e.GetTabSize(), 4);
    app->WriteProfileInt("Editor\\zero Files", "Tab size", 0);
    e.SetProfileSection("Editor\\zero Files");
    e.LoadSettings();
    EXPECT_EQ(e.GetTabSize(), 4);
    SetText(e, "\tx");
    EXPECT_EQ(e.OffsetToColumn(e.GetFirstLine(), 2), 5);
}

TEST(EditLines, LineEndTypeOfNewStoresFromTheProfile)
{
    CWinApp* app = App();
    app->WriteProfileInt("", "Line end type", 2);
    TWKEdit e;
    app->WriteProfileString("", "Line end type", NULL);
    EXPECT_EQ(e.GetLineEndType(), 2);
    EXPECT_STREQ(e.m_szLineEnd, "\n");
}

TEST(EditLines, MessagesAreInTheStringTable)
{
    struct { UINT id; const char* text; } cases[] = {
        {22575, "The file is read only."},
        {22578, "Cannot complete operation.  Maximum line length would be exceeded."},
        {22589, "Join line."},
        {22609, "Nulls encounterd in file.  Use another editor to edit this file."},
        {22610, "This file contains lines longer than the %d character maximum.\r\nThe lines will be wrapped."},
        {22613, "CharSet"},
    };
    for (auto& c : cases)
    {
        CString s;
        ASSERT_TRUE(s.LoadString(c.id)) << c.id;
        EXPECT_STREQ((LPCSTR)s, c.text);
    }
}
