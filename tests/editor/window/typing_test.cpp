// Typing and the editing commands on a real control: characters in both
// modes with the rows they repaint, Enter over a selection, automatic
// indentation, Tab, BackTab and indenting lines, Backspace and Delete at the
// ends, the caret after Undo and Redo, the insert mode of a shared store,
// replacing the text, the save point and the column limit.
#include "tests/editor/window/window_fixture.h"
#include <functional>
#include <vector>

namespace {

std::string Text(TWKEdit* pEdit)
{
    return vt::StoreText(pEdit);
}

// Records the update rectangle of every paint; may show another window's store.
class TypingCtrl : public vt::TestCtrl
{
public:
    TWKEdit* pShared = nullptr;
    std::vector<CRect> paints;
    TWKEdit* GetEdit() override { return pShared ? pShared : vt::TestCtrl::GetEdit(); }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_PAINT)
        {
            CRect rc;
            if (::GetUpdateRect(m_hWnd, &rc, FALSE))
                paints.push_back(rc);
        }
        return vt::TestCtrl::OnWndMsg(message, wParam, lParam, pResult);
    }
};

struct TextProbe : CCmdUI
{
    CString text = "<unset>";
    int enabled = -1;
    void SetText(LPCSTR psz) override { text = psz; }
    void Enable(BOOL bOn) override { enabled = bOn; }
};

struct Host
{
    TypingCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 300};
    TWKEdit* e;
    explicit Host(const std::string& text, BOOL bKeepTabs = FALSE)
    {
        e = ctrl.GetEdit();
        e->SetTabSize(4);
        e->m_bKeepTabs = bKeepTabs;
        e->m_bAutoIndent = TRUE;
        e->SetInsertMode(TRUE);
        e->m_bChroma = FALSE;
        host.SetText(text);
        e->ResetUndo();
        ctrl.UpdateWindow();
    }
    void Char(char c) { ctrl.SendMessage(WM_CHAR, (BYTE)c, 1); }
    void Type(const char* s)
    {
        for (; *s; s++)
            Char(*s);
    }
    void Cmd(UINT nID) { ctrl.SendMessage(WM_COMMAND, nID, 0); }
    int Enabled(UINT nID)
    {
        TextProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(&ctrl, FALSE);
        return probe.enabled;
    }
    void Select(int l1, int c1, int l2, int c2, BOOL bColumn = FALSE)
    {
        TWKEditPos a = {e->GetLine(l1), e->ColumnToOffset(e->GetLine(l1), c1)};
        TWKEditPos b = {e->GetLine(l2), e->ColumnToOffset(e->GetLine(l2), c2)};
        ctrl.SetSelection(&a, &b, bColumn);
    }
};

#define EXPECT_CARET(h, line, col)                                        \
    do {                                                                  \
        EXPECT_EQ(line, (h).ctrl.m_nCaretLine);                           \
        EXPECT_EQ(col, (h).ctrl.m_nCaretCol);                             \
        EXPECT_EQ((h).e->GetLine(line), (h).ctrl.m_pCaretLine);           \
    } while (0)

} // namespace

TEST(Typing, OverwriteAppendsAtTheEndAndReplacesInside)
{
    struct Case { int col; const char* text; int caret; };
    for (const Case& c : {Case{3, "abcd\r\nx", 4}, Case{1, "aXc\r\nx", 2}})
    {
        Host h("abc\r\nx");
        h.e->SetInsertMode(FALSE);
        h.ctrl.PutCaret(1, c.col);
        h.Char(c.col == 3 ? 'd' : 'X');
        EXPECT_EQ(c.text, Text(h.e)) << c.col;
        EXPECT_CARET(h, 1, c.caret);
    }
}

TEST(Typing, RepaintsTheCaretRowOrAllByColouring)
{
    struct Case { BOOL chroma; char ch; bool whole; };
    for (const Case& c : {Case{TRUE, '"', true}, Case{TRUE, 'a', false}, Case{FALSE, '"', false},
                          Case{TRUE, '\'', true}})
    {
        Host h("one\r\ntwo\r\nthree");
        h.ctrl.PutCaret(2, 1);
        h.ctrl.Invalidate(FALSE);
        h.ctrl.UpdateWindow();
        h.ctrl.paints.clear();
        // Set after painting: without a keyword file painting turns it off.
        h.e->m_bChroma = c.chroma;
        h.Char(c.ch);
        ASSERT_EQ(1u, h.ctrl.paints.size()) << c.ch << c.chroma;
        CRect rcClient;
        h.ctrl.GetClientRect(&rcClient);
        int y = (2 - h.ctrl.m_nTopLine) * h.ctrl.m_nLineHeight;
        CRect expected = c.whole ? rcClient : CRect(0, y, rcClient.right, y + h.ctrl.m_nLineHeight);
        EXPECT_EQ(expected, h.ctrl.paints[0]) << c.ch << c.chroma;
    }
}

TEST(Typing, EnterOverASelectionCutsBreaksAndOneUndoTakesBoth)
{
    Host h("abcdefg\r\nxyz");
    h.Select(1, 2, 1, 5);
    h.Char('\r');
    EXPECT_EQ("ab\r\nfg\r\nxyz", Text(h.e));
    EXPECT_CARET(h, 2, 0);
    EXPECT_FALSE(h.ctrl.m_bSelection);
    if (::OpenClipboard(h.ctrl.m_hWnd))
    {
        HANDLE hData = ::GetClipboardData(CF_TEXT);
        EXPECT_STREQ("cde", hData ? (LPCSTR)::GlobalLock(hData) : "");
        if (hData)
            ::GlobalUnlock(hData);
        ::CloseClipboard();
    }
    h.Cmd(ID_EDIT_UNDO);
    EXPECT_EQ("abcdefg\r\nxyz", Text(h.e));
    EXPECT_EQ(0, h.Enabled(ID_EDIT_UNDO));
}

TEST(Typing, AutomaticIndentation)
{
    struct Case
    {
        const char* name;
        const char* text;
        BOOL keepTabs;
        int col;            // caret on line 1
        const char* after;  // after Enter
        int caret;          // column on line 2
        const char* typed;  // after typing x there (or NULL)
    };
    const Case cases[] = {
        {"end of line", "    foo\r\nend", FALSE, 7, "    foo\r\n\r\nend", 4, "    foo\r\n    x\r\nend"},
        {"inside word", "    foobar\r\nend", FALSE, 7, "    foo\r\n    bar\r\nend", 4, NULL},
        {"tab kept", "\tab\r\nend", TRUE, 5, "\ta\r\n\tb\r\nend", 4, NULL},
        {"moved blanks widened", "    foo  bar\r\nend", FALSE, 7, "    foo\r\n    bar\r\nend", 4, NULL},
        {"moved blanks to a tab", "\tfoo  bar\r\nend", TRUE, 7, "\tfoo\r\n\tbar\r\nend", 4, NULL},
        {"moved blanks narrowed", "  foo      bar\r\nend", FALSE, 5, "  foo\r\n  bar\r\nend", 2, NULL},
        {"moved blanks to none", "foo bar\r\nend", FALSE, 3, "foo\r\nbar\r\nend", 0, NULL},
    };
    for (const Case& c : cases)
    {
        Host h(c.text, c.keepTabs);
        h.ctrl.PutCaret(1, c.col);
        h.Char('\r');
        EXPECT_EQ(c.after, Text(h.e)) << c.name;
        EXPECT_CARET(h, 2, c.caret);
        if (c.typed)
        {
            h.Char('x');
            EXPECT_EQ(c.typed, Text(h.e)) << c.name;
            EXPECT_CARET(h, 2, c.caret + 1);
        }
        // One Undo takes the break and its indentation back.
        h.Cmd(ID_EDIT_UNDO);
        if (c.typed)
            h.Cmd(ID_EDIT_UNDO);
        EXPECT_EQ(c.text, Text(h.e)) << c.name;
    }
}

TEST(Typing, TabBackTabAndIndentingLines)
{
    struct Case { const char* name; const char* text; BOOL keepTabs; int col; const char* after; int caret; };
    const Case tabs[] = {
        {"spaces to the stop", "abX\r\n", FALSE, 2, "ab  X\r\n", 4},
        {"count from the byte offset", "\tabX\r\n", FALSE, 6, "\tab X\r\n", 7},
        {"a tab kept", "abX\r\n", TRUE, 2, "ab\tX\r\n", 4},
    };
    for (const Case& c : tabs)
    {
        Host h(c.text, c.keepTabs);
        h.ctrl.PutCaret(1, c.col);
        h.Cmd(ID_TWK_TAB);
        EXPECT_EQ(c.after, Text(h.e)) << c.name;
        EXPECT_CARET(h, 1, c.caret);
        h.Cmd(ID_EDIT_UNDO);   // the run of spaces goes at once
        EXPECT_EQ(c.text, Text(h.e)) << c.name;
    }

    Host h("abcdefgh\r\n");
    for (auto step : {std::pair<int, int>{5, 4}, {4, 0}, {0, 0}})
    {
        h.ctrl.PutCaret(1, step.first);
        h.Cmd(ID_TWK_BACKTAB);
        EXPECT_EQ(step.second, h.ctrl.m_nCaretCol) << step.first;
    }
    EXPECT_EQ("abcdefgh\r\n", Text(h.e));

    Host u("      a\r\n\tb\r\n  \tc\r\nd\r\nend");
    u.Select(1, 0, 4, 1);
    u.Cmd(ID_TWK_BACKTAB);
    EXPECT_EQ("  a\r\nb\r\nc\r\nd\r\nend", Text(u.e));
    EXPECT_TRUE(u.ctrl.m_bSelection);
    EXPECT_EQ(u.e->GetLine(1), u.ctrl.m_pSelStartLine);
    EXPECT_EQ(0, u.ctrl.m_nSelStartCol);
    EXPECT_EQ(u.e->GetLine(5), u.ctrl.m_pSelEndLine);
    EXPECT_CARET(u, 1, 0);
    u.Cmd(ID_TWK_TAB);
    EXPECT_EQ("      a\r\n    b\r\n    c\r\n    d\r\nend", Text(u.e));
    u.Cmd(ID_EDIT_UNDO);
    EXPECT_EQ("  a\r\nb\r\nc\r\nd\r\nend", Text(u.e));

    Host col("ab\r\ncd\r\n");
    col.Select(1, 0, 2, 1, TRUE);
    EXPECT_EQ(IDS_TWK_STREAMONLY, col.ctrl.Tab(FALSE, TRUE));
    EXPECT_EQ(IDS_TWK_STREAMONLY, col.ctrl.BackTab(FALSE, TRUE));
    EXPECT_EQ("ab\r\ncd\r\n", Text(col.e));
}

TEST(Typing, BackspaceAndDeleteAtLineAndTextEnds)
{
    struct Case { const char* name; UINT cmd; int line; int col; const char* after; int caretLine; int caretCol; };
    const Case cases[] = {
        {"backspace joins", ID_TWK_BACKSPACE, 2, 0, "abcdef", 1, 3},
        {"backspace at the start", ID_TWK_BACKSPACE, 1, 0, "abc\r\ndef", 1, 0},
        {"backspace inside", ID_TWK_BACKSPACE, 2, 2, "abc\r\ndf", 2, 1},
        {"backspace right of the text", ID_TWK_BACKSPACE, 2, 6, "abc\r\ndef", 2, 5},
        {"delete joins", ID_EDIT_CLEAR, 1, 3, "abcdef", 1, 3},
        {"delete at the end", ID_EDIT_CLEAR, 2, 3, "abc\r\ndef", 2, 3},
        {"delete inside", ID_EDIT_CLEAR, 1, 0, "bc\r\ndef", 1, 0},
    };
    for (const Case& c : cases)
    {
        Host h("abc\r\ndef");
        vt::ModalAnswerer answerer;
        h.ctrl.PutCaret(c.line, c.col);
        h.Cmd(c.cmd);
        EXPECT_EQ(c.after, Text(h.e)) << c.name;
        EXPECT_CARET(h, c.caretLine, c.caretCol);
        EXPECT_EQ(0u, answerer.Count()) << c.name;
        EXPECT_EQ(h.e->GetLineCount(), TWKEdit::RenumberLines(h.e->GetFirstLine())) << c.name;
    }

    // After an indented Enter the caret waits right of an empty line.
    Host h("    foo\r\nend");
    h.ctrl.PutCaret(1, 7);
    h.Char('\r');
    EXPECT_CARET(h, 2, 4);
    h.Cmd(ID_TWK_BACKSPACE);
    EXPECT_CARET(h, 2, 3);
    EXPECT_EQ("    foo\r\n\r\nend", Text(h.e));
}

TEST(Typing, CaretAfterUndoAndRedo)
{
    Host h("ab\r\ncd\r\nend");
    h.ctrl.PutCaret(1, 1);
    h.Type("xyz");
    EXPECT_EQ("axyzb\r\ncd\r\nend", Text(h.e));
    h.Cmd(ID_EDIT_UNDO);
    EXPECT_EQ("ab\r\ncd\r\nend", Text(h.e));
    EXPECT_CARET(h, 1, 1);
    EXPECT_EQ(1, h.Enabled(ID_EDIT_REDO));
    h.Cmd(ID_EDIT_REDO);
    EXPECT_EQ("axyzb\r\ncd\r\nend", Text(h.e));
    EXPECT_CARET(h, 1, 4);
    EXPECT_EQ(0, h.Enabled(ID_EDIT_REDO));

    // A break and the character typed after it, in one clock tick, are two
    // steps: each command has an undo group of its own.
    h.ctrl.PutCaret(2, 2);
    h.Char('\r');
    h.Char('q');
    EXPECT_EQ("axyzb\r\ncd\r\nq\r\nend", Text(h.e));
    h.Cmd(ID_EDIT_UNDO);
    EXPECT_EQ("axyzb\r\ncd\r\n\r\nend", Text(h.e));
    EXPECT_CARET(h, 3, 0);
    h.Cmd(ID_EDIT_UNDO);
    EXPECT_EQ("axyzb\r\ncd\r\nend", Text(h.e));
    EXPECT_CARET(h, 2, 2);
}

TEST(Typing, InsertModeIsTheStoresForEveryWindow)
{
    Host a("abc");
    TypingCtrl other;
    other.pShared = a.e;
    vt::CtrlHost hostB(&other, 300, 200);
    other.InitView();
    for (const char* expected : {"OVR", ""})
    {
        a.Cmd(ID_INDICATOR_OVR);
        for (CWnd* pWnd : {(CWnd*)&a.ctrl, (CWnd*)&other})
        {
            TextProbe probe;
            probe.m_nID = ID_INDICATOR_OVR;
            probe.DoUpdate(pWnd, FALSE);
            EXPECT_STREQ(expected, probe.text);
        }
    }
    other.pShared = nullptr;   // the store belongs to the first window
}

TEST(Typing, SetTextOnAReadOnlyStore)
{
    Host h("old");
    h.Type("x");
    h.e->SetReadOnly(TRUE);
    h.ctrl.SetText("one\ntwo\nthree");
    EXPECT_TRUE(h.e->IsReadOnly());
    EXPECT_EQ("one\r\ntwo\r\nthree", Text(h.e));
    EXPECT_EQ(3, h.e->GetLineCount());
    EXPECT_CARET(h, 1, 0);
    EXPECT_EQ(0, h.Enabled(ID_EDIT_UNDO));
    h.Char('z');   // read-only: ignored without a word
    EXPECT_EQ("one\r\ntwo\r\nthree", Text(h.e));
}

// The modified flag follows the one save point through loads, saves, Undo,
// Redo, the dropped oldest records and a change no record describes.
TEST(Typing, SavePoint)
{
    vt::TempDir dir;
    const std::string path = dir.File("saved.txt");
    struct Case { const char* name; const char* steps; const char* modified; };
    // L load, T type, U undo, R redo, S save, N change without a record.
    const Case cases[] = {
        {"load, type, undo", "LTU", "010"},
        {"type, save, undo, redo", "LTSUR", "01010"},
        {"save, undo, type", "LTSUTU", "010111"},
        {"a change without a record", "LNTU", "0111"},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(vt::WriteFileBytes(path, "ab\r\ncd\r\n"));
        Host h("");
        for (size_t i = 0; c.steps[i]; i++)
        {
            switch (c.steps[i])
            {
            case 'L':
                ASSERT_EQ(0, h.e->LoadFile(path.c_str()));
                h.ctrl.InitView();
                break;
            case 'T': h.ctrl.PutCaret(1, 0); h.Char('x'); break;
            case 'U': h.Cmd(ID_EDIT_UNDO); break;
            case 'R': h.Cmd(ID_EDIT_REDO); break;
            case 'S': ASSERT_EQ(0, h.e->SaveFile(path.c_str())); break;
            case 'N': h.e->InsertChar({h.e->GetLine(2), 0}, 'n', TRUE, FALSE); break;
            }
            EXPECT_EQ(c.modified[i] == '1', !!h.e->IsModified()) << c.name << " step " << i;
        }
    }

    // More records than the log holds: the oldest quarter goes. A save point
    // inside it is lost; one above moves down with the records.
    struct Drop { int savedAt; int savedAfterDrop; };
    for (const Drop& d : {Drop{0, -1}, Drop{600, 600 - 512}})
    {
        ASSERT_TRUE(vt::WriteFileBytes(path, "ab\r\ncd\r\n"));
        Host h("");
        ASSERT_EQ(0, h.e->LoadFile(path.c_str()));
        h.ctrl.InitView();
        for (int i = 0; i < 2100; i++)
        {
            if (i == d.savedAt && i > 0)
            {
                ASSERT_EQ(0, h.e->SaveFile(path.c_str()));
            }
            // Alternate lines, so that each record is an Undo step of its own.
            h.e->InsertChar({h.e->GetLine(1 + i % 2), 0}, 'k', TRUE, TRUE);
        }
        EXPECT_EQ(2100 - 512, h.e->GetUndoPos());
        EXPECT_EQ(d.savedAfterDrop, h.e->m_nSavedUndoPos);
        // The store goes most of the way; the command takes the last steps
        // on both sides of the save point (or to the start of the log).
        int stop = d.savedAfterDrop > 0 ? d.savedAfterDrop + 1 : 1;
        while (h.e->GetUndoPos() > stop)
            h.e->Undo();
        for (int pos = stop - 1; pos >= 0 && pos >= stop - 2; pos--)
        {
            h.Cmd(ID_EDIT_UNDO);
            EXPECT_EQ(pos, h.e->GetUndoPos());
            EXPECT_EQ(pos != d.savedAfterDrop, !!h.e->IsModified()) << d.savedAt << " at " << pos;
        }
    }
}

// Every path that would make a line pass the column limit refuses before
// anything changes: the text and the undo log stay as they were.
TEST(Typing, ColumnLimitRefusals)
{
    const int kMax = TWK_MAX_COLUMNS;
    std::string full(kMax - 2, 'a');          // with CR LF exactly the limit
    std::string roomy(kMax - 5, 'a');          // room for three more columns
    struct Case { const char* name; std::string text; BOOL keepTabs; int col; std::function<int(Host&)> op; };
    const Case cases[] = {
        {"typing on a full line", full + "\r\nz", FALSE, 0,
         [](Host& h) { vt::ModalAnswerer a; h.Char('x'); return a.Count() == 1 ? IDS_TWK_LINETOOLONG : 0; }},
        {"typing right of the text", "a\r\nz", FALSE, kMax - 1,
         [](Host& h) { vt::ModalAnswerer a; h.Char('x'); return a.Count() == 1 ? IDS_TWK_LINETOOLONG : 0; }},
        {"InsertString", roomy + "\r\nz", FALSE, 0, [](Host& h) { return h.ctrl.InsertString("abcd", TRUE, TRUE); }},
        {"InsertString right of the text", "a\r\nz", FALSE, kMax - 4,
         [](Host& h) { return h.ctrl.InsertString("ab", TRUE, TRUE); }},
        {"Tab keeping tabs", roomy + "\r\nz", TRUE, 0, [](Host& h) { return h.ctrl.Tab(TRUE, TRUE); }},
        {"Tab with spaces", roomy + "\r\nz", FALSE, 0, [](Host& h) { return h.ctrl.Tab(TRUE, TRUE); }},
        {"store InsertText, first line", roomy + "\r\nz", FALSE, kMax - 5,
         [](Host& h) { return h.e->InsertText(h.ctrl.CaretPosForTest(), "abcd\r\nq", 7, TRUE); }},
        {"store InsertText, last line", roomy + "\r\nz", FALSE, 0,
         [](Host& h) { return h.e->InsertText(h.ctrl.CaretPosForTest(), "q\r\nabcd", 7, TRUE); }},
        {"store InsertText, a middle line", "a\r\nz", FALSE, 0,
         [](Host& h) {
             std::string t = "q\r\n" + std::string(TWK_MAX_COLUMNS, 'm') + "\r\nq";
             return h.e->InsertText(h.ctrl.CaretPosForTest(), t.c_str(), (int)t.size(), TRUE);
         }},
        {"store InsertColumnText", "z\r\n" + roomy + "\r\nz", FALSE, 0,
         [](Host& h) { return h.e->InsertColumnText(h.ctrl.CaretPosForTest(), "abcd\r\nefgh\r\n", 12, TRUE); }},
    };
    for (const Case& c : cases)
    {
        Host h(c.text, c.keepTabs);
        h.ctrl.PutCaret(1, c.col);
        std::string before = Text(h.e);
        int undoCount = h.e->GetUndoCount();
        EXPECT_EQ(IDS_TWK_LINETOOLONG, c.op(h)) << c.name;
        EXPECT_EQ(before, Text(h.e)) << c.name;
        EXPECT_EQ(undoCount, h.e->GetUndoCount()) << c.name;
        EXPECT_FALSE(h.e->IsModified()) << c.name;
    }

    // Indenting skips such a line without a word; automatic indentation is
    // left out for it.
    for (BOOL keepTabs : {FALSE, TRUE})
    {
        Host h("a\r\n" + roomy + "\r\nb\r\nend", keepTabs);
        h.Select(1, 0, 3, 1);
        EXPECT_EQ(0, h.ctrl.IndentLines(FALSE, TRUE, TRUE));
        std::string ind = keepTabs ? "\t" : "    ";
        EXPECT_EQ(ind + "a\r\n" + roomy + "\r\n" + ind + "b\r\nend", Text(h.e)) << keepTabs;
    }
    std::string lng(TWK_MAX_COLUMNS - 4, 'l');
    Host h("\t\t\t\tx\r\n" + lng + "\r\nend");
    h.ctrl.PutCaret(2, 0);
    h.Char('\r');
    EXPECT_EQ("\t\t\t\tx\r\n\r\n" + lng + "\r\nend", Text(h.e));
    EXPECT_CARET(h, 3, 0);
}
