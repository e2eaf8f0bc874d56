// The editing window and the mouse, driven by button and move messages:
// points to text, clicks, drags, Shift and Alt clicks, gutter and word
// selection, and the context menu.
#include "tests/editor/window/window_fixture.h"

namespace {

class MouseCtrl : public TWKEditCtrl
{
public:
    int LineOf(TWKEditLine* p) { return p ? TWKEdit::RenumberLines(GetEdit()->GetFirstLine()), p->nLineNo : 0; }

    CWnd* m_pMenuWnd = nullptr;
    CPoint m_ptMenu{-2, -2};
    BOOL m_bOwnMenu = FALSE;
    void ShowContextMenu(CWnd* pWnd, CPoint point) override
    {
        if (!m_bOwnMenu)
            return TWKEditCtrl::ShowContextMenu(pWnd, point);
        m_pMenuWnd = pWnd;
        m_ptMenu = point;
    }
};

struct MouseHost
{
    MouseCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 200};

    explicit MouseHost(const std::string& text, int nRows = 0)
    {
        ctrl.GetEdit()->SetTabSize(4);
        host.SetText(text);
        if (nRows > 0)
        {
            // A client of nRows rows and half a row more.
            CRect rcWnd, rcClient;
            ctrl.GetWindowRect(&rcWnd);
            ctrl.GetClientRect(&rcClient);
            int cy = nRows * ctrl.m_nLineHeight + ctrl.m_nLineHeight / 2;
            ctrl.SetWindowPos(NULL, 0, 0, rcWnd.Width(), cy + rcWnd.Height() - rcClient.Height(),
                              SWP_NOMOVE | SWP_NOZORDER);
        }
        host.TakeFocus();
    }
    ~MouseHost() { ::ReleaseCapture(); }

    CPoint Cell(int row, int col) { return vt::CellPoint(ctrl, row, col); }
    void Down(CPoint pt, UINT flags = 0) { ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | flags, MAKELPARAM(pt.x, pt.y)); }
    void Move(CPoint pt) { ctrl.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    void Up(CPoint pt, UINT flags = 0) { ctrl.SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(pt.x, pt.y)); }
    void Click(CPoint pt, UINT flags = 0) { Down(pt, flags); Up(pt, flags); }
    void Drag(CPoint from, CPoint to) { Down(from); Move(to); Up(to); }
    void ExpectCaret(const char* name, int line, int col)
    {
        EXPECT_EQ(line, ctrl.m_nCaretLine) << name;
        EXPECT_EQ(ctrl.GetEdit()->GetLine(line), ctrl.m_pCaretLine) << name;
        EXPECT_EQ(col, ctrl.m_nCaretCol) << name;
    }
    void ExpectRange(const char* name, int l1, int c1, int l2, int c2)
    {
        EXPECT_TRUE(ctrl.m_bSelection) << name;
        EXPECT_EQ(l1, ctrl.LineOf(ctrl.m_pSelStartLine)) << name;
        EXPECT_EQ(c1, ctrl.m_nSelStartCol) << name;
        EXPECT_EQ(l2, ctrl.LineOf(ctrl.m_pSelEndLine)) << name;
        EXPECT_EQ(c2, ctrl.m_nSelEndCol) << name;
    }
};

// Holds Alt down for GetKeyState while it lives.
struct AltDown
{
    BYTE saved[256] = {};
    AltDown()
    {
        ::GetKeyboardState(saved);
        BYTE keys[256];
        memcpy(keys, saved, sizeof keys);
        keys[VK_MENU] = 0x80;
        ::SetKeyboardState(keys);
    }
    ~AltDown() { ::SetKeyboardState(saved); }
};

TEST(Mouse, PointToText)
{
    MouseHost h("0123456789abcdef\r\n0123456789\r\nxy\r\n", 2);
    const int cw = h.ctrl.m_nCharWidth, lh = h.ctrl.m_nLineHeight, tl = h.ctrl.m_nTextLeft;
    ASSERT_GT(cw, 1);
    struct Case { const char* name; int firstCol; int x; int y; int line; int col; int firstAfter; } cases[] = {
        {"rounds down before the middle", 0, tl + 2 * cw + (cw - cw / 2) - 1, lh / 2, 1, 2, 0},
        {"rounds up from the middle", 0, tl + 2 * cw + (cw - cw / 2), lh / 2, 1, 3, 0},
        {"second row", 0, tl + 4 * cw, lh + 1, 2, 4, 0},
        {"the partly shown row is the row above", 0, tl + cw, 2 * lh + lh / 4, 2, 1, 0},
        {"over the gutter scrolls one column left", 3, 1, lh / 2, 1, 2, 2},
        {"over the gutter at column 0 stays", 0, 1, lh / 2, 1, 0, 0},
    };
    for (const Case& c : cases)
    {
        h.ctrl.m_nFirstCol = c.firstCol;
        EXPECT_EQ(0, h.ctrl.SetCaretFromPoint(c.x, c.y)) << c.name;
        h.ExpectCaret(c.name, c.line, c.col);
        EXPECT_EQ(c.firstAfter, h.ctrl.m_nFirstCol) << c.name;
    }

    // Below the text, on a taller window: the last line, clamped to its text.
    h.ctrl.SetWindowPos(NULL, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    h.ctrl.m_nFirstCol = 0;
    h.ctrl.SetCaretFromPoint(tl + 9 * cw, 6 * lh + 2);
    h.ExpectCaret("below the text", 3, 2);

    TWKEditCtrl bare;
    EXPECT_EQ(IDS_TWK_NOTEXT, bare.SetCaretFromPoint(5, 5)) << "no top line before InitView";
}

TEST(Mouse, ClickDragAndShiftClick)
{
    MouseHost h("first line\r\nsecond line\r\nthird line\r\n");
    h.Click(h.Cell(1, 3));
    EXPECT_FALSE(h.ctrl.m_bSelection) << "a click leaves no selection";
    EXPECT_FALSE(h.ctrl.m_bMouseSelecting);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0u, h.ctrl.m_nTimerID);
    h.ExpectCaret("click", 2, 3);
    EXPECT_EQ(::GetFocus() == h.ctrl.m_hWnd, !!h.ctrl.m_bCaretCreated) << "the caret shows again";

    h.Down(h.Cell(0, 1));
    EXPECT_TRUE(h.ctrl.m_bMouseSelecting);
    EXPECT_EQ(h.ctrl.m_hWnd, ::GetCapture());
    EXPECT_NE(0u, h.ctrl.m_nTimerID);
    EXPECT_TRUE(h.ctrl.m_bSkipTimerTick);
    h.Move(h.Cell(1, 4));
    h.Move(h.Cell(2, 6));
    h.Up(h.Cell(2, 6));
    h.ExpectRange("dragged", 1, 1, 3, 6);
    EXPECT_EQ(1, h.ctrl.m_nSelMode);
    EXPECT_EQ(nullptr, ::GetCapture());

    // Shift-click with no selection, forwards and backwards from the caret.
    h.Click(h.Cell(1, 3));
    h.Click(h.Cell(2, 5), MK_SHIFT);
    h.ExpectRange("shift forwards", 2, 3, 3, 5);
    h.Click(h.Cell(0, 8));   // outside it: ends it
    EXPECT_FALSE(h.ctrl.m_bSelection);
    h.Click(h.Cell(0, 2), MK_SHIFT);
    h.ExpectRange("shift backwards", 1, 2, 1, 8);
    // With a selection: extended to the point, on either side of the anchor.
    h.Click(h.Cell(2, 4), MK_SHIFT);
    h.ExpectRange("extended past the anchor", 1, 8, 3, 4);
    h.Click(h.Cell(0, 0), MK_SHIFT);
    h.ExpectRange("and back", 1, 0, 1, 8);
}

TEST(Mouse, AltStartsAColumnSelectionOnlyFromNothing)
{
    MouseHost h("abcdefgh\r\nab\r\nabcdefgh\r\n");
    {
        AltDown alt;
        h.Drag(h.Cell(0, 2), h.Cell(2, 6));
    }
    h.ExpectRange("column", 1, 2, 3, 6);
    EXPECT_EQ(2, h.ctrl.m_nSelMode);

    h.Click(h.Cell(0, 1));   // ends it
    h.Drag(h.Cell(0, 1), h.Cell(0, 4));
    h.ExpectRange("stream", 1, 1, 1, 4);
    {
        AltDown alt;
        h.Drag(h.Cell(2, 2), h.Cell(2, 5));
    }
    h.ExpectRange("Alt outside the selection", 3, 2, 3, 5);
    EXPECT_EQ(1, h.ctrl.m_nSelMode);
}

TEST(Mouse, PressInsideTheSelectionWithoutMovingPlacesTheCaret)
{
    MouseHost h("alpha beta gamma\r\nsecond\r\n");
    h.Drag(h.Cell(0, 6), h.Cell(0, 10));
    h.ExpectRange("beta", 1, 6, 1, 10);
    // The release is already queued when the press is handled.
    CPoint at = h.Cell(0, 8);
    h.ctrl.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    h.Down(at);
    vt::PumpMessages();
    EXPECT_FALSE(h.ctrl.m_bSelection);
    EXPECT_EQ(nullptr, h.ctrl.m_pSelStartLine);
    h.ExpectCaret("placed", 1, 8);
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(Mouse, GutterClickSelectsTheLine)
{
    MouseHost h("one\r\ntwo\r\nlast");
    h.Click(CPoint(1, h.Cell(1, 0).y));
    h.ExpectRange("line 2 with its line end", 2, 0, 3, 0);
    h.ctrl.ClearSelection(FALSE);
    h.Click(CPoint(1, h.Cell(2, 0).y));
    h.ExpectRange("the last line to its end", 3, 0, 3, 4);
}

TEST(Mouse, DoubleClickSelectsAWord)
{
    MouseHost h("  foo_bar9 x\r\nabcdef gh\r\n");
    TWKEdit* pEdit = h.ctrl.GetEdit();
    struct Case { const char* name; int row; int col; char term; char start; bool sel; int c1; int c2; } cases[] = {
        {"identifier", 0, 5, 0, 0, true, 2, 10},
        {"a space", 0, 1, 0, 0, false, 0, 0},
        {"after the text", 0, 12, 0, 0, false, 0, 0},
        {"terminator and start characters", 1, 3, 'b', 'e', true, 2, 4},
    };
    for (const Case& c : cases)
    {
        memset(pEdit->m_TerminatorChars, 0, sizeof pEdit->m_TerminatorChars);
        memset(pEdit->m_StartChars, 0, sizeof pEdit->m_StartChars);
        if (c.term)
            pEdit->m_TerminatorChars[(BYTE)c.term] = 1;
        if (c.start)
            pEdit->m_StartChars[(BYTE)c.start] = 1;
        CPoint pt = h.Cell(c.row, c.col);
        h.Click(pt);
        h.ctrl.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        h.Up(pt);
        if (c.sel)
            h.ExpectRange(c.name, c.row + 1, c.c1, c.row + 1, c.c2);
        else
            EXPECT_FALSE(h.ctrl.m_bSelection) << c.name;
    }
}

TEST(Mouse, ColumnSelectionScrolledIsFoundByItsTextColumn)
{
    MouseHost h(std::string(40, 'a') + "\r\n" + std::string(40, 'b') + "\r\n");
    h.ctrl.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    ASSERT_EQ(5, h.ctrl.m_nFirstCol);
    {
        AltDown alt;
        h.Drag(h.Cell(0, 7), h.Cell(1, 9));
    }
    h.ExpectRange("block", 1, 7, 2, 9);
    const int tl = h.ctrl.m_nTextLeft, cw = h.ctrl.m_nCharWidth, lh = h.ctrl.m_nLineHeight;
    struct Case { int windowCol; int row; int in; } cases[] = {
        {2, 0, 1}, {3, 1, 1}, {4, 1, 1}, {1, 0, 0}, {5, 0, 0}, {8, 1, 0}, {3, 2, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.in, h.ctrl.IsPointInSelection(tl + c.windowCol * cw, c.row * lh + 1))
            << "window column " << c.windowCol << " row " << c.row;
}

TEST(Mouse, ContextMenuItemsAndGreying)
{
    MouseHost h("some text\r\nmore\r\n");
    TWKEdit* pEdit = h.ctrl.GetEdit();
    struct Case { const char* name; BOOL readOnly; BOOL select; int undoPos; int undoCount;
                  bool undo, redo, cut, copy; } cases[] = {
        // greyed:                                          undo   redo   cut    copy
        {"fresh text", FALSE, FALSE, 0, 0,                  true,  true,  true,  true},
        {"selection, something to undo", FALSE, TRUE, 2, 2, false, true,  false, false},
        {"read-only with a selection", TRUE, TRUE, 1, 3,    false, false, true,  false},
        {"undone to the start", FALSE, FALSE, 0, 3,         true,  false, true,  true},
    };
    for (const Case& c : cases)
    {
        h.ctrl.ClearSelection(FALSE);
        if (c.select)
            h.ctrl.SelectAll(FALSE);
        pEdit->m_bReadOnly = c.readOnly;
        pEdit->m_nUndoPos = c.undoPos;
        pEdit->m_nUndoCount = c.undoCount;
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        EXPECT_TRUE(h.ctrl.BuildContextMenu(&menu));
        ASSERT_EQ(8, ::GetMenuItemCount(menu.m_hMenu)) << c.name;
        const UINT ids[] = {ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                            ID_TWK_TOGGLEBOOKMARK};
        for (int i = 0; i < 8; i++)
            EXPECT_EQ(ids[i], ::GetMenuItemID(menu.m_hMenu, i)) << c.name << " item " << i;
        auto grey = [&](UINT id) { return (::GetMenuState(menu.m_hMenu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
        EXPECT_EQ(c.undo, grey(ID_EDIT_UNDO)) << c.name;
        EXPECT_EQ(c.redo, grey(ID_EDIT_REDO)) << c.name;
        EXPECT_EQ(c.cut, grey(ID_EDIT_CUT)) << c.name;
        EXPECT_EQ(c.copy, grey(ID_EDIT_COPY)) << c.name;
        if (c.readOnly)
        {
            EXPECT_TRUE(grey(ID_EDIT_PASTE)) << c.name;
        }
        EXPECT_FALSE(grey(ID_TWK_TOGGLEBOOKMARK)) << c.name;
        char text[32] = "";
        ::GetMenuStringA(menu.m_hMenu, ID_TWK_TOGGLEBOOKMARK, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ("Toggle &Bookmark", text);
    }
    pEdit->m_bReadOnly = FALSE;
    pEdit->m_nUndoPos = pEdit->m_nUndoCount = 0;
}

// Where the tracked pop-up menu showed, read by a timer that then closes it.
RECT g_rcMenu;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hMenu = ::FindWindowA("#32768", NULL);
    if (!hMenu)
        return;
    ::KillTimer(NULL, id);
    ::GetWindowRect(hMenu, &g_rcMenu);
    ::EndMenu();
}

TEST(Mouse, MenuKeyOpensTheMenuAtTheCorner)
{
    MouseHost h("some text\r\nmore\r\n");
    h.Click(h.Cell(1, 2));
    ::SetRectEmpty(&g_rcMenu);
    UINT_PTR id = ::SetTimer(NULL, 0, 20, CloseMenu);
    h.ctrl.SendMessage(WM_CONTEXTMENU, (WPARAM)h.ctrl.m_hWnd, MAKELPARAM(-1, -1));
    ::KillTimer(NULL, id);
    CPoint corner(5, 5);
    h.ctrl.ClientToScreen(&corner);
    EXPECT_EQ(corner.x, g_rcMenu.left);
    EXPECT_EQ(corner.y, g_rcMenu.top);
    h.ExpectCaret("the caret stays", 2, 2);

    h.ctrl.m_bOwnMenu = TRUE;
    h.ctrl.SendMessage(WM_CONTEXTMENU, (WPARAM)h.ctrl.m_hWnd, MAKELPARAM(120, 130));
    EXPECT_EQ(&h.ctrl, h.ctrl.m_pMenuWnd) << "an override receives the message";
    EXPECT_EQ(CPoint(120, 130), h.ctrl.m_ptMenu);
}

TEST(Mouse, TheContextMenusPlacePutsTheCaretUnderAClickOnly)
{
    MouseHost h("some text\r\nmore\r\n");
    CPoint click = h.Cell(1, 3);
    h.ctrl.ClientToScreen(&click);
    EXPECT_EQ(click, h.ctrl.PrepareContextMenu(click));
    h.ExpectCaret("a click", 2, 3);

    CPoint corner(5, 5);
    h.ctrl.ClientToScreen(&corner);
    EXPECT_EQ(corner, h.ctrl.PrepareContextMenu(CPoint(-1, -1)));
    h.ExpectCaret("the menu key", 2, 3);
}

} // namespace
