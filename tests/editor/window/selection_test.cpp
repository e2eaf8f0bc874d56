// The selection: Shift steps with the anchor fixed, column blocks, Select
// All, reading it back, ending it, and the strong check that the inverted
// pixels after a run of steps equal a full repaint of the same state.
#include "tests/editor/window/window_fixture.h"
#include <functional>
#include <vector>

namespace {

class SelCtrl : public TWKEditCtrl
{
public:
    void PutCaret(int line, int col)
    {
        m_pCaretLine = GetEdit()->GetLine(line);
        m_nCaretLine = line;
        m_nCaretCol = col;
    }
    int LineOf(TWKEditLine* p) { return p ? TWKEdit::RenumberLines(GetEdit()->GetFirstLine()), p->nLineNo : 0; }
};

struct SelHost
{
    SelCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 200};
    explicit SelHost(const std::string& text)
    {
        ctrl.GetEdit()->SetTabSize(4);
        host.SetText(text);
        host.host.SetForegroundWindow();
        ctrl.SetFocus();
        vt::PumpMessages();
        // The window that shows the selection, whether or not the desktop
        // handed the focus over yet.
        ctrl.GetEdit()->m_pFocusWnd = &ctrl;
    }
    void Send(UINT nID, int times = 1)
    {
        for (int i = 0; i < times; i++)
            ctrl.SendMessage(WM_COMMAND, nID, 0);
    }
    // The control's client pixels as they are on screen now.
    std::vector<COLORREF> Pixels()
    {
        CRect rc;
        ctrl.GetClientRect(&rc);
        std::vector<COLORREF> px;
        HDC hdc = ::GetDC(ctrl.m_hWnd);
        for (int y = 0; y < rc.bottom; y += 2)
            for (int x = 0; x < rc.right; x += 2)
                px.push_back(::GetPixel(hdc, x, y));
        ::ReleaseDC(ctrl.m_hWnd, hdc);
        return px;
    }
    std::vector<COLORREF> Repainted()
    {
        ctrl.Invalidate(TRUE);
        ctrl.UpdateWindow();
        return Pixels();
    }
    void ExpectRange(const char* name, int l1, int c1, int l2, int c2)
    {
        EXPECT_EQ(l1, ctrl.LineOf(ctrl.m_pSelStartLine)) << name;
        EXPECT_EQ(c1, ctrl.m_nSelStartCol) << name;
        EXPECT_EQ(l2, ctrl.LineOf(ctrl.m_pSelEndLine)) << name;
        EXPECT_EQ(c2, ctrl.m_nSelEndCol) << name;
    }
};

TEST(Selection, ShiftStepsKeepTheAnchorAndOrderTheEnds)
{
    SelHost h(vt::NumberedLines(10));
    h.ctrl.PutCaret(3, 2);
    h.Send(ID_TWK_SELECTRIGHT, 3);
    h.ExpectRange("three right", 3, 2, 3, 5);
    h.Send(ID_TWK_SELECTLEFT);
    h.ExpectRange("one back", 3, 2, 3, 4);
    EXPECT_TRUE(h.ctrl.m_bSelection);
    EXPECT_FALSE(h.ctrl.m_bCaretCreated) << "the caret is hidden while selecting";

    h.Send(ID_TWK_RIGHT);   // ends it
    EXPECT_FALSE(h.ctrl.m_bSelection);
    EXPECT_EQ(::GetFocus() == h.ctrl.m_hWnd, !!h.ctrl.m_bCaretCreated) << "the caret comes back with the focus";

    h.ctrl.PutCaret(5, 3);
    h.Send(ID_TWK_SELECTDOWN);
    h.ExpectRange("down", 5, 3, 6, 3);
    h.Send(ID_TWK_SELECTUP, 2);
    h.ExpectRange("up twice: exchanged", 4, 3, 5, 3);
    EXPECT_EQ(h.ctrl.GetEdit()->GetLine(5), h.ctrl.m_pAnchorLine);
    EXPECT_EQ(3, h.ctrl.m_nAnchorCol);
}

TEST(Selection, ColumnBlockExtendsPastShorterLines)
{
    SelHost h("abcdefgh\r\nab\r\nabcdefgh");
    h.ctrl.PutCaret(1, 4);
    h.ctrl.BeginSelection(2, 0);
    h.ctrl.m_nCaretCol = 6;
    h.ctrl.ExtendSelection(TRUE);
    h.Send(ID_TWK_SELECTDOWN);
    h.ExpectRange("column down", 1, 4, 2, 6);
    EXPECT_EQ(6, h.ctrl.m_nCaretCol) << "not clamped to the short line";
    EXPECT_EQ(2, h.ctrl.m_nSelMode);
}

TEST(Selection, SelectAllAndReadingItBack)
{
    SelHost h("alpha\r\nbeta gamma");
    h.Send(ID_TWK_SELECTALL);
    h.ExpectRange("all", 1, 0, 2, 10);
    EXPECT_FALSE(h.ctrl.m_bCaretCreated);
    TWKEditPos a, b;
    BOOL bColumn = TRUE;
    EXPECT_EQ(1, h.ctrl.GetSelection(&a, &b, &bColumn));
    EXPECT_FALSE(bColumn);
    EXPECT_EQ(h.ctrl.GetEdit()->GetLine(2), b.pLine);
    EXPECT_EQ(10, b.nOffset);

    EXPECT_EQ(0, h.ctrl.ClearSelection(TRUE));
    EXPECT_EQ(IDS_TWK_NOTEXT, h.ctrl.ClearSelection(TRUE)) << "no range left";
    EXPECT_EQ(0, h.ctrl.GetSelection(&a, &b, &bColumn));

    TWKEditPos at = {h.ctrl.GetEdit()->GetLine(2), 5};
    h.ctrl.MoveCaretTo(&at, 0, TRUE);
    EXPECT_EQ(1, h.ctrl.GetSelection(&a, &b, NULL)) << "an empty selection still counts";
    EXPECT_EQ(a.pLine, b.pLine);
    EXPECT_EQ(a.nOffset, b.nOffset);
    EXPECT_EQ(5, a.nOffset);
}

TEST(Selection, ClearingAColumnBlockRepaintsAndAStreamInvertsBack)
{
    SelHost h("abcdefgh\r\nabcdefgh\r\nabcdefgh");
    for (int mode : {1, 2})
    {
        h.ctrl.PutCaret(1, 2);
        h.ctrl.BeginSelection(mode, 0);
        h.ctrl.PutCaret(2, 5);
        h.ctrl.ExtendSelection(TRUE);
        h.ctrl.UpdateWindow();
        std::vector<COLORREF> before = h.Pixels();
        EXPECT_EQ(0, h.ctrl.ClearSelection(TRUE)) << mode;
        CRect rcUpdate;
        BOOL bPending = ::GetUpdateRect(h.ctrl.m_hWnd, &rcUpdate, FALSE);
        CRect rcClient;
        h.ctrl.GetClientRect(&rcClient);
        if (mode == 2)
            EXPECT_TRUE(bPending && rcUpdate == rcClient) << "the whole window is painted again";
        else
        {
            EXPECT_FALSE(bPending) << "inverted back, nothing painted";
            EXPECT_TRUE(before != h.Pixels());
        }
        h.ctrl.UpdateWindow();
        EXPECT_TRUE(h.Pixels() == h.Repainted()) << mode;
        EXPECT_EQ(nullptr, h.ctrl.m_pSelStartLine);
        EXPECT_EQ(1, h.ctrl.m_nSelMode);
    }
}

TEST(Selection, MoveCaretToPlacesTheFirstColumn)
{
    SelHost h(std::string(60, 'x'));
    CRect rc;
    h.ctrl.GetClientRect(&rc);
    // A window 30 columns wide, past the gutter.
    h.ctrl.m_rcClient.right = h.ctrl.m_nTextLeft + 30 * h.ctrl.m_nCharWidth;
    TWKEditPos at = {h.ctrl.GetEdit()->GetFirstLine(), 40};
    h.ctrl.MoveCaretTo(&at, 5, FALSE);
    EXPECT_EQ(25, h.ctrl.m_nFirstCol);
    h.ExpectRange("40 to 45", 1, 40, 1, 45);
}

TEST(Selection, GetSelectionOrWord)
{
    SelHost h("x a_b yy\r\nabcdef\r\n");
    struct Case { const char* name; int line; int c1; int c2; bool select; int want; const char* text; } cases[] = {
        {"on the underscore", 1, 3, 0, false, 1, "a_b"},
        {"just after a word", 1, 5, 0, false, 0, ""},
        {"one-line selection", 2, 1, 4, true, 1, "bcd"},
        {"past the text end", 2, 2, 30, true, 1, "cdef"},
    };
    for (const Case& c : cases)
    {
        h.ctrl.ClearSelection(FALSE);
        h.ctrl.PutCaret(c.line, c.c1);
        if (c.select)
        {
            h.ctrl.BeginSelection(2, 0);
            h.ctrl.m_nCaretCol = c.c2;
            h.ctrl.ExtendSelection(FALSE);
        }
        CString s = "junk";
        EXPECT_EQ(c.want, h.ctrl.GetSelectionOrWord(s)) << c.name;
        EXPECT_STREQ(c.text, (LPCSTR)s) << c.name;
    }
}

TEST(Selection, InvertedPixelsEqualAFullRepaint)
{
    std::string text;
    for (int i = 0; i < 12; i++)
        text += std::string(5 + (i * 7) % 20, 'a' + i) + "\r\n";
    SelHost h(text);
    struct Seq { const char* name; int mode; std::vector<UINT> ids; } seqs[] = {
        {"stream down and back above the anchor", 1,
         {ID_TWK_SELECTRIGHT, ID_TWK_SELECTDOWN, ID_TWK_SELECTDOWN, ID_TWK_SELECTEND, ID_TWK_SELECTUP,
          ID_TWK_SELECTUP, ID_TWK_SELECTUP, ID_TWK_SELECTUP, ID_TWK_SELECTHOME, ID_TWK_SELECTWORDRIGHT}},
        {"column block, the end above the start", 2,
         {ID_TWK_SELECTRIGHT, ID_TWK_SELECTRIGHT, ID_TWK_SELECTDOWN, ID_TWK_SELECTDOWN, ID_TWK_SELECTUP,
          ID_TWK_SELECTUP, ID_TWK_SELECTUP, ID_TWK_SELECTLEFT, ID_TWK_SELECTLEFT, ID_TWK_SELECTLEFT}},
    };
    for (const Seq& s : seqs)
    {
        h.ctrl.ClearSelection(TRUE);
        h.ctrl.PutCaret(5, 3);
        h.ctrl.UpdateWindow();
        h.ctrl.BeginSelection(s.mode, 0);
        int i = 0;
        for (UINT id : s.ids)
        {
            h.Send(id);
            h.ctrl.UpdateWindow();
            std::vector<COLORREF> now = h.Pixels();
            EXPECT_TRUE(now == h.Repainted()) << s.name << " step " << i;
            i++;
        }
    }
    h.ctrl.ClearSelection(TRUE);
    h.ctrl.UpdateWindow();
    EXPECT_TRUE(h.Pixels() == h.Repainted()) << "cleared";
}

} // namespace

TEST(Selection, SelectWordSetSelectionAndTheModeOperations)
{
    struct WordCase { int col; bool found; int from; int to; };
    for (const WordCase& c : {WordCase{5, true, 0, 7}, WordCase{0, true, 0, 7}, WordCase{7, false, 0, 0},
                              WordCase{9, true, 8, 11}})
    {
        SelHost h("foo_bar baz\r\nnext");
        h.ctrl.PutCaret(1, c.col);
        EXPECT_EQ(0, h.ctrl.SelectWord(TRUE));
        EXPECT_EQ(c.found, !!h.ctrl.m_bSelection) << c.col;
        if (c.found)
            h.ExpectRange("word", 1, c.from, 1, c.to);
        EXPECT_EQ(h.Pixels(), h.Repainted()) << c.col;
    }

    // Both ends are scrolled into view; a column block keeps its corners.
    SelHost h(vt::NumberedLines(100));
    TWKEdit* e = h.ctrl.GetEdit();
    TWKEditPos a = {e->GetLine(40), 2}, b = {e->GetLine(60), 5};
    EXPECT_EQ(0, h.ctrl.SetSelection(&a, &b, TRUE));
    h.ExpectRange("set", 40, 2, 60, 5);
    EXPECT_EQ(2, h.ctrl.m_nSelMode);
    EXPECT_EQ(60, h.ctrl.m_nCaretLine);
    EXPECT_LE(h.ctrl.m_nTopLine, 60);
    EXPECT_GT(h.ctrl.m_nTopLine + h.ctrl.m_rcClient.bottom / h.ctrl.m_nLineHeight, 60);
    TWKEditPos s, t;
    BOOL bColumn = FALSE;
    EXPECT_EQ(1, h.ctrl.GetSelection(&s, &t, &bColumn));
    EXPECT_TRUE(bColumn);
    EXPECT_EQ(e->GetLine(40), s.pLine);
    EXPECT_EQ(5, t.nOffset);
    EXPECT_EQ(h.Pixels(), h.Repainted());

    // The mode operations begin a selection of the mode they are given.
    h.ctrl.ClearSelection(TRUE);
    h.ctrl.PutCaret(2, 0);
    h.ctrl.SelectRight(2, TRUE);
    h.ctrl.SelectRight(2, TRUE);
    EXPECT_EQ(2, h.ctrl.m_nSelMode);
    h.ExpectRange("column right", 2, 0, 2, 2);
    h.ctrl.SelectEnd(2, TRUE);
    h.ExpectRange("column end", 2, 0, 2, 6);
    h.ctrl.ClearSelection(TRUE);
    h.ctrl.PutCaret(3, 4);
    h.ctrl.SelectWordLeft(1, TRUE);
    EXPECT_EQ(1, h.ctrl.m_nSelMode);
    h.ExpectRange("word left", 3, 0, 3, 4);
    h.ctrl.SelectToTop(1, TRUE);
    h.ExpectRange("to top", 1, 0, 3, 4);
    EXPECT_EQ(h.Pixels(), h.Repainted());
}

// Steps painted without redraw leave their marks on the lines; the store
// counts the lines that may carry one so that clearing them need not walk the
// whole text. Whatever the edits did to the marked lines meanwhile (joined,
// freed, pushed down, taken away and brought back by Undo, a column block),
// Replace All, a new selection and ClearSelectionMarks leave no line marked.
TEST(Selection, NoSelectionMarkOutlivesEditsOfTheMarkedLines)
{
    struct EditCase
    {
        const char* name;
        std::function<void(TWKEdit*)> edit;
    };
    const EditCase edits[] = {
        {"marked lines joined", [](TWKEdit* e) {
             TWKEditPos a = {e->GetLine(2), 2}, b = {e->GetLine(4), 2};
             EXPECT_EQ(0, e->DeleteRange(a, b, TRUE));
         }},
        {"lines split above the marks", [](TWKEdit* e) {
             TWKEditPos a = {e->GetLine(1), 2};
             EXPECT_EQ(0, e->SplitLine(a, TRUE));
             EXPECT_EQ(0, e->SplitLine(a, TRUE));
         }},
        {"marked lines deleted, undone and redone", [](TWKEdit* e) {
             TWKEditPos a = {e->GetLine(2), 0}, b = {e->GetLine(7), 0};
             EXPECT_EQ(0, e->DeleteRange(a, b, TRUE));
             e->Undo();
             e->Redo();
             e->Undo();
         }},
        {"nothing", [](TWKEdit*) {}},
    };
    struct EndCase
    {
        const char* name;
        std::function<void(SelHost&)> end;
    };
    const EndCase ends[] = {
        {"Replace All", [](SelHost& h) { EXPECT_GT(h.ctrl.ReplaceAll("line", "row", 0), 0); }},
        {"a new selection", [](SelHost& h) {
             h.ctrl.ClearSelection(FALSE);
             h.ctrl.PutCaret(1, 0);
             h.Send(ID_TWK_SELECTRIGHT);
         }},
        {"ClearSelectionMarks", [](SelHost& h) { h.ctrl.ClearSelectionMarks(); }},
    };
    auto marked = [](TWKEdit* e) {
        std::vector<int> lines;
        TWKEdit::RenumberLines(e->GetFirstLine());
        for (TWKEditLine* p = e->GetFirstLine(); p; p = p->pNext)
            if ((p->dwFlags & (LINE_SELSTART | LINE_SELEND)) || p->dwSelCols)
                lines.push_back(p->nLineNo);
        return lines;
    };
    for (int nMode : {1, 2})
        for (const EditCase& edit : edits)
            for (const EndCase& end : ends)
            {
                std::string name = std::string(edit.name) + ", " + end.name + (nMode == 2 ? ", column" : "");
                SelHost h(vt::NumberedLines(30));
                TWKEdit* e = h.ctrl.GetEdit();
                h.ctrl.PutCaret(2, 1);
                h.ctrl.BeginSelection(nMode, 0);
                h.ctrl.m_bUpdate = FALSE;
                h.Send(ID_TWK_SELECTDOWN, 3);
                h.Send(ID_TWK_SELECTRIGHT, 2);
                // A painted step clears the marks of its own lines only.
                h.ctrl.m_bUpdate = TRUE;
                h.Send(ID_TWK_SELECTDOWN);
                ASSERT_FALSE(marked(e).empty()) << name << ": the unpainted steps left marks";
                edit.edit(e);
                h.ctrl.ClearSelection(FALSE);
                h.ctrl.PutCaret(1, 0);
                end.end(h);
                EXPECT_EQ(std::vector<int>(), marked(e)) << name;
                EXPECT_EQ(0, e->GetMarkedLineCount()) << name;
            }
}
