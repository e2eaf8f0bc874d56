// Scrolling and caret placement: the vertical scale, resizing, keeping the
// caret visible, the scroll-bar messages and the drag-scroll steps.
#include "tests/editor/window/window_fixture.h"
#include <vector>

namespace {

// Records the hints it announces and the caret-moved calls.
class ScrollCtrl : public TWKEditCtrl
{
public:
    std::vector<LPARAM> hints;
    int caretMoves = 0;
    void UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint) override
    {
        hints.push_back(lHint);
        TWKEditCtrl::UpdateViews(pSender, lHint, pHint);
    }
    void OnCaretMoved() override { caretMoves++; }
    void PutCaret(int line, int col)
    {
        m_pCaretLine = GetEdit()->GetLine(line);
        m_nCaretLine = line;
        m_nCaretCol = col;
    }
};

SCROLLINFO VertInfo(HWND hWnd)
{
    SCROLLINFO si = {sizeof si, SIF_ALL};
    ::GetScrollInfo(hWnd, SB_VERT, &si);
    return si;
}

TEST(WindowScroll, VerticalScaleKeepsLongTextsWithinSixteenBits)
{
    struct Case { int lines; int wantScale; int wantMax; } cases[] = {
        {65536, 1, 65535},
        {65537, 2, 32768},
        {70000, 2, 34999},
    };
    for (const Case& c : cases)
    {
        ScrollCtrl ctrl;
        vt::CtrlHost host(&ctrl);
        host.SetText(vt::NumberedLines(c.lines));
        EXPECT_EQ(c.wantScale, ctrl.m_nVScrollScale) << c.lines;
        EXPECT_EQ(c.wantMax, VertInfo(ctrl.m_hWnd).nMax) << c.lines;
        if (c.lines == 70000)
        {
            for (int p : {0, 1, 34999, 1000})
            {
                ctrl.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, p), 0);
                EXPECT_EQ(2 * p + 1, ctrl.m_nTopLine) << "thumb " << p;
                EXPECT_EQ(ctrl.GetEdit()->GetLine(2 * p + 1), ctrl.m_pTopLine);
            }
            EXPECT_EQ(2 * 1000, ctrl.GetScrollPos(SB_VERT)) << "read back in lines";
        }
    }
}

TEST(WindowScroll, ResizeShowingTheWholeTextSnapsBackToLineOne)
{
    ScrollCtrl ctrl;
    vt::CtrlHost host(&ctrl, 300, 60);
    host.SetText(vt::NumberedLines(10));
    ctrl.SetTopLine(6, FALSE);
    EXPECT_EQ(6, ctrl.m_nTopLine);
    ctrl.MoveWindow(0, 0, 300, 40 * ctrl.m_nLineHeight);
    EXPECT_EQ(1, ctrl.m_nTopLine);
    EXPECT_EQ(ctrl.GetEdit()->GetFirstLine(), ctrl.m_pTopLine);
}

TEST(WindowScroll, EnsureCaretVisibleScrollsByItsRules)
{
    ScrollCtrl ctrl;
    vt::CtrlHost host(&ctrl, 400, 300);
    std::string text;
    for (int i = 1; i <= 100; i++)
        text += std::string(200, 'a' + i % 26) + "\r\n";
    host.SetText(text);
    ctrl.SetFocus();
    const int rows = ctrl.m_rcClient.bottom / ctrl.m_nLineHeight;
    const int cols = ctrl.m_rcClient.right / ctrl.m_nCharWidth;
    const int h = ctrl.m_nLineHeight;
    ASSERT_GT(rows, 6);

    // One line below the last whole row: the caret line becomes the top line.
    ctrl.PutCaret(rows + 1, 0);
    ctrl.EnsureCaretVisible();
    EXPECT_EQ(rows + 1, ctrl.m_nTopLine);
    EXPECT_EQ(ctrl.m_pCaretLine, ctrl.m_pTopLine);

    // Horizontally in steps of the tab size.
    ctrl.GetEdit()->m_nTabSize = 4;
    ctrl.PutCaret(rows + 1, cols + 5);
    ctrl.EnsureCaretVisible();
    EXPECT_EQ(0, ctrl.m_nFirstCol % 4);
    EXPECT_LT(ctrl.m_nCaretCol - ctrl.m_nFirstCol, cols - 1);
    EXPECT_GE(ctrl.m_nCaretCol - (ctrl.m_nFirstCol - 4), cols - 1) << "the smallest such step";
    ctrl.PutCaret(rows + 1, 2);
    ctrl.EnsureCaretVisible();
    EXPECT_EQ(0, ctrl.m_nFirstCol);

    // The avoid rectangle near the bottom (more rows free above): caret to the top.
    ctrl.SetTopLine(40, FALSE);
    ctrl.PutCaret(40 + rows - 2, 0);
    RECT rc = {0, (rows - 3) * h, 200, rows * h};
    ctrl.ClientToScreen(&rc);
    ctrl.m_rcAvoid = rc;
    ctrl.EnsureCaretVisible();
    EXPECT_EQ(40 + rows - 2, ctrl.m_nTopLine);
    EXPECT_TRUE(::IsRectEmpty(&ctrl.m_rcAvoid));

    // Near the top (more rows free below): the text moves down until the
    // caret row is just below it.
    ctrl.SetTopLine(40, FALSE);
    ctrl.PutCaret(41, 0);
    RECT top = {0, 0, 200, 3 * h + h / 2};
    ctrl.ClientToScreen(&top);
    ctrl.m_rcAvoid = top;
    ctrl.EnsureCaretVisible();
    EXPECT_EQ(4 * h, (ctrl.m_nCaretLine - ctrl.m_nTopLine) * h);
    EXPECT_EQ(ctrl.GetEdit()->GetLine(ctrl.m_nTopLine), ctrl.m_pTopLine);

    // Updates off: nothing placed, no caret-moved call.
    int moves = ctrl.caretMoves;
    POINT before = {};
    ::GetCaretPos(&before);
    ctrl.m_bUpdate = FALSE;
    ctrl.PutCaret(90, 0);
    ctrl.EnsureCaretVisible();
    POINT after = {};
    ::GetCaretPos(&after);
    EXPECT_EQ(moves, ctrl.caretMoves);
    EXPECT_EQ(before.y, after.y);
    ctrl.m_bUpdate = TRUE;
    ctrl.EnsureCaretVisible();
    EXPECT_EQ(moves + 1, ctrl.caretMoves);

    // A caret scrolled out to the left is parked at x = -10.
    ctrl.m_nFirstCol = 10;
    ctrl.m_nCaretCol = 2;
    ctrl.PositionCaret();
    ::GetCaretPos(&after);
    EXPECT_EQ(-10, after.x);
}

TEST(WindowScroll, ScrollBarMessagesMoveTheTopLineAndTheFirstColumn)
{
    ScrollCtrl ctrl;
    vt::CtrlHost host(&ctrl, 400, 300);
    host.SetText(vt::NumberedLines(100));
    const int rows = ctrl.m_rcClient.bottom / ctrl.m_nLineHeight;
    struct V { const char* what; UINT code; int start; int want; bool hint; } vcases[] = {
        {"line down", SB_LINEDOWN, 20, 21, false},
        {"line up", SB_LINEUP, 20, 19, false},
        {"page down", SB_PAGEDOWN, 20, 20 + rows, false},
        {"page up", SB_PAGEUP, 50, 50 - rows, true},
        {"page up at the top", SB_PAGEUP, 1, 1, false},
        {"line down at the end", SB_LINEDOWN, 100, 100, false},
        {"top does nothing", SB_TOP, 20, 20, false},
        {"bottom does nothing", SB_BOTTOM, 20, 20, false},
        {"end scroll does nothing", SB_ENDSCROLL, 20, 20, false},
    };
    for (const V& c : vcases)
    {
        ctrl.SetTopLine(c.start, FALSE);
        ctrl.hints.clear();
        ctrl.SendMessage(WM_VSCROLL, MAKEWPARAM(c.code, 0), 0);
        EXPECT_EQ(c.want, ctrl.m_nTopLine) << c.what;
        EXPECT_EQ(ctrl.GetEdit()->GetLine(c.want), ctrl.m_pTopLine) << c.what;
        EXPECT_EQ(c.hint ? 1u : 0u, ctrl.hints.size()) << c.what;
        if (c.hint && !ctrl.hints.empty())
        {
            EXPECT_EQ(TWK_HINT_SCROLL, ctrl.hints[0]);
        }
        EXPECT_FALSE(ctrl.m_bInScroll);
    }

    struct H { const char* what; UINT code; int pos; int start; int want; } hcases[] = {
        {"line left", SB_LINELEFT, 0, 40, 39},
        {"line left at 0", SB_LINELEFT, 0, 0, 0},
        {"line right", SB_LINERIGHT, 0, 40, 41},
        {"line right at the limit", SB_LINERIGHT, 0, TWK_MAX_COLUMNS, TWK_MAX_COLUMNS},
        {"page left", SB_PAGELEFT, 0, 40, 8},
        {"page left not below 0", SB_PAGELEFT, 0, 10, 0},
        {"page right", SB_PAGERIGHT, 0, 40, 72},
        {"page right not above the limit", SB_PAGERIGHT, 0, TWK_MAX_COLUMNS - 5, TWK_MAX_COLUMNS},
        {"thumb", SB_THUMBTRACK, 100, 40, 100},
        {"left does nothing", SB_LEFT, 0, 40, 40},
        {"right does nothing", SB_RIGHT, 0, 40, 40},
    };
    for (const H& c : hcases)
    {
        ctrl.m_nFirstCol = c.start;
        ctrl.SendMessage(WM_HSCROLL, MAKEWPARAM(c.code, c.pos), 0);
        EXPECT_EQ(c.want, ctrl.m_nFirstCol) << c.what;
        // The bar itself keeps its thumb within the last page.
        SCROLLINFO si = {sizeof si, SIF_ALL};
        ::GetScrollInfo(ctrl.m_hWnd, SB_HORZ, &si);
        int last = si.nMax - (int)si.nPage + 1;
        if (c.want != c.start)
        {
            EXPECT_EQ(c.want < last ? c.want : last, ctrl.GetScrollPos(SB_HORZ)) << c.what;
        }
    }
}

TEST(WindowScroll, OnScrollStepsOneLineOrColumnForDragging)
{
    ScrollCtrl ctrl;
    vt::CtrlHost host(&ctrl, 400, 300);
    host.SetText(vt::NumberedLines(30));
    const UINT none = 0xFF;
    struct Case {
        const char* what;
        UINT h, v;
        BOOL doScroll;
        int firstCol, topLine, caretLine;
        BOOL want;
        int wantFirstCol, wantTop;
    } cases[] = {
        {"left", 0, none, TRUE, 5, 10, 10, TRUE, 4, 10},
        {"left at column 0", 0, none, TRUE, 0, 10, 10, FALSE, 0, 10},
        {"right", 1, none, TRUE, 5, 10, 10, TRUE, 6, 10},
        {"up", none, 0, TRUE, 0, 10, 10, TRUE, 0, 9},
        {"up at the first line", none, 0, TRUE, 0, 1, 10, FALSE, 0, 1},
        {"down", none, 1, TRUE, 0, 10, 12, TRUE, 0, 11},
        {"down with the caret on the last line", none, 1, TRUE, 0, 10, 30, FALSE, 0, 10},
        {"both: the vertical result counts", 0, 1, TRUE, 0, 10, 30, FALSE, 0, 10},
        {"asked only", 1, 0, FALSE, 5, 10, 10, TRUE, 5, 10},
        {"no line code", 2, 3, TRUE, 5, 10, 10, FALSE, 5, 10},
    };
    for (const Case& c : cases)
    {
        ctrl.m_nFirstCol = c.firstCol;
        ctrl.SetTopLine(c.topLine, FALSE);
        ctrl.PutCaret(c.caretLine, 0);
        EXPECT_EQ(c.want, ctrl.OnScroll(MAKEWORD(c.h, c.v), 0, c.doScroll)) << c.what;
        EXPECT_EQ(c.wantFirstCol, ctrl.m_nFirstCol) << c.what;
        EXPECT_EQ(c.wantTop, ctrl.m_nTopLine) << c.what;
        EXPECT_FALSE(ctrl.m_bInScroll) << c.what;
    }
}

TEST(WindowScroll, SetTopLineStaysWithinTheText)
{
    ScrollCtrl ctrl;
    vt::CtrlHost host(&ctrl);
    host.SetText(vt::NumberedLines(30));
    struct Case { int n; int want; } cases[] = {{-5, 1}, {0, 1}, {1, 1}, {17, 17}, {30, 30}, {31, 30}, {500, 30}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(0, ctrl.SetTopLine(c.n, TRUE));
        EXPECT_EQ(c.want, ctrl.m_nTopLine) << c.n;
        EXPECT_EQ(ctrl.GetEdit()->GetLine(c.want), ctrl.m_pTopLine) << c.n;
    }
}

} // namespace
