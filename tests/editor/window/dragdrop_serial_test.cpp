// Drag and drop of text: drops handed to the window through OnDrop with a
// data object over a data source (no drag loop), the drop caret, scrolling
// at the border through the control's drop target, and one real drag
// between two controls of the process. Runs alone: the real drag uses the
// desktop's cursor and the scroll test the system's drag settings.
#include "tests/editor/window/window_fixture.h"
#include <atomic>
#include <thread>

namespace {

const char* const kMarker = "*TWKEdit Column Block*\r\n";

// A data object over a data source offering a text (or nothing as text).
struct Data
{
    COleDataSource source;
    COleDataObject object;
    explicit Data(const std::string& text, CLIPFORMAT cf = CF_TEXT)
    {
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
        ::GlobalUnlock(h);
        source.CacheGlobalData(cf, h);
        object.Attach(source.GetInterface(), FALSE);
    }
};

// While it lives, drops see the drag as started by `source`.
struct DragFrom
{
    explicit DragFrom(CWnd* source) { TWKEditGetDragState().m_pSource = source; }
    ~DragFrom() { TWKEditGetDragState().m_pSource = NULL; }
};

struct DropHost
{
    // Drops a text at a cell, as a drag from this very control would.
    BOOL DropHere(const std::string& text, DROPEFFECT effect, int row, int col)
    {
        Data data(text);
        DragFrom drag(&ctrl);
        return ctrl.OnDrop(&data.object, effect, Cell(row, col));
    }

    TWKEditCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 200};
    explicit DropHost(const std::string& text)
    {
        host.SetText(text);
        host.TakeFocus();
    }
    CPoint Cell(TWKEditCtrl& c, int row, int col) { return vt::CellPoint(c, row, col); }
    CPoint Cell(int row, int col) { return Cell(ctrl, row, col); }
    void Select(TWKEditCtrl& c, int l1, int c1, int l2, int c2, BOOL bColumn = FALSE)
    {
        TWKEdit* pEdit = c.GetEdit();
        TWKEditPos a = {pEdit->GetLine(l1), pEdit->ColumnToOffset(pEdit->GetLine(l1), c1)};
        TWKEditPos b = {pEdit->GetLine(l2), pEdit->ColumnToOffset(pEdit->GetLine(l2), c2)};
        c.SetSelection(&a, &b, bColumn);
    }
    void Select(int l1, int c1, int l2, int c2, BOOL bColumn = FALSE) { Select(ctrl, l1, c1, l2, c2, bColumn); }
};

TEST(DragDropSerial, MovesWithinTheTextAndOneUndoTakesThemBack)
{
    DropHost h("alpha beta gamma\r\nnext\r\n");
    h.Select(1, 6, 1, 10);
    EXPECT_TRUE(h.DropHere("beta", DROPEFFECT_MOVE, 0, 16));
    EXPECT_EQ("alpha  gammabeta\r\nnext\r\n", vt::StoreText(h.ctrl)) << "the drop point follows the moved word";
    EXPECT_FALSE(h.ctrl.m_bSelection);
    EXPECT_EQ(12, h.ctrl.m_nCaretCol) << "at the start of the inserted text";
    h.ctrl.GetEdit()->Undo();
    EXPECT_EQ("alpha beta gamma\r\nnext\r\n", vt::StoreText(h.ctrl));

    // Two lines moved to a point after their end on their last line.
    h.host.SetText("one two\r\nthree four\r\n");
    h.Select(1, 4, 2, 5);
    EXPECT_TRUE(h.DropHere("two\r\nthree", DROPEFFECT_MOVE, 1, 8));
    EXPECT_EQ("one  fotwo\r\nthreeur\r\n", vt::StoreText(h.ctrl));

    // Ctrl held: a copy, the source stays.
    h.host.SetText("copy me\r\n");
    h.Select(1, 0, 1, 4);
    EXPECT_TRUE(h.DropHere("copy", DROPEFFECT_COPY, 0, 7));
    EXPECT_EQ("copy mecopy\r\n", vt::StoreText(h.ctrl));
}

TEST(DragDropSerial, DropsOntoTheSelectionAreRefused)
{
    DropHost h("0123456789\r\n0123456789\r\n0123456789\r\n");
    struct Case { const char* name; BOOL column; int row; int col; } cases[] = {
        {"its first column on the first line", FALSE, 0, 3},
        {"inside the first line", FALSE, 0, 7},
        {"a line between", FALSE, 1, 0},
        {"the last line before the end", FALSE, 2, 4},
        {"a column block's left edge", TRUE, 1, 3},
        {"a column block's right edge", TRUE, 2, 5},
    };
    for (const Case& c : cases)
    {
        h.Select(1, 3, 3, 5, c.column);
        EXPECT_FALSE(h.DropHere("x", DROPEFFECT_MOVE, c.row, c.col)) << c.name;
        EXPECT_EQ("0123456789\r\n0123456789\r\n0123456789\r\n", vt::StoreText(h.ctrl)) << c.name;
        EXPECT_TRUE(h.ctrl.m_bSelection) << c.name;
    }
}

TEST(DragDropSerial, AColumnBlockGoesIntoAnotherControlAsABlock)
{
    DropHost h("abcd\r\nefgh\r\n");
    TWKEditCtrl other;
    ASSERT_TRUE(other.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(410, 0, 590, 200), &h.host.host, 101));
    vt::SetStoreText(other.GetEdit(), "1234\r\n5678\r\n");
    other.InitView();
    h.Select(1, 1, 2, 3, TRUE);
    TWKEditPos a, b;
    BOOL bColumn = FALSE;
    ASSERT_TRUE(h.ctrl.GetSelection(&a, &b, &bColumn));
    ASSERT_TRUE(bColumn);
    LPSTR pszBlock = h.ctrl.GetEdit()->CopyColumn(a, b);
    ASSERT_NE(nullptr, pszBlock);
    Data data(std::string(kMarker) + pszBlock);
    free(pszBlock);
    EXPECT_TRUE(other.OnDrop(&data.object, DROPEFFECT_COPY, h.Cell(other, 0, 2)));
    TWKEditLine* p = other.GetEdit()->GetFirstLine();
    ASSERT_TRUE(p && p->pNext);
    EXPECT_EQ("12bc34\r\n", std::string(p->pText, p->nLength));
    EXPECT_EQ("56fg78\r\n", std::string(p->pNext->pText, p->pNext->nLength));
    other.DestroyWindow();
}

TEST(DragDropSerial, RefusalsAndAFailedFetchLoseNothing)
{
    DropHost h("keep this\r\n");
    Data text("t");
    h.ctrl.GetEdit()->m_bReadOnly = TRUE;
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, h.ctrl.OnDragOver(&text.object, 0, h.Cell(0, 2))) << "read-only";
    h.ctrl.GetEdit()->m_bReadOnly = FALSE;
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_MOVE, h.ctrl.OnDragOver(&text.object, 0, h.Cell(0, 2)));
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_COPY, h.ctrl.OnDragOver(&text.object, MK_CONTROL, h.Cell(0, 2)));

    // No text to be had: the moved selection stays where it was.
    h.Select(1, 0, 1, 4);
    Data none("t", (CLIPFORMAT)CF_UNICODETEXT);
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, h.ctrl.OnDragOver(&none.object, 0, h.Cell(0, 8)));
    {
        DragFrom drag(&h.ctrl);
        EXPECT_FALSE(h.ctrl.OnDrop(&none.object, DROPEFFECT_MOVE, h.Cell(0, 8)));
    }
    EXPECT_EQ("keep this\r\n", vt::StoreText(h.ctrl));
    EXPECT_TRUE(h.ctrl.m_bSelection);
    EXPECT_EQ(0, h.ctrl.m_nSelStartCol);
    EXPECT_EQ(4, h.ctrl.m_nSelEndCol);
    EXPECT_TRUE(h.ctrl.OnDrop(&text.object, DROPEFFECT_LINK, h.Cell(0, 8))) << "another effect: nothing done";
    EXPECT_EQ("keep this\r\n", vt::StoreText(h.ctrl));
}

TEST(DragDropSerial, TheDropCaret)
{
    DropHost h("some text\r\nmore\r\n");
    Data data("t");
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_MOVE, h.ctrl.OnDragEnter(&data.object, 0, h.Cell(0, 2)));
    GUITHREADINFO gui = {sizeof gui};
    ASSERT_TRUE(::GetGUIThreadInfo(0, &gui));
    EXPECT_EQ(h.ctrl.m_hWnd, gui.hwndCaret);
    EXPECT_EQ(h.ctrl.m_nLineHeight, gui.rcCaret.bottom - gui.rcCaret.top);
    h.ctrl.OnDragOver(&data.object, 0, h.Cell(1, 3));
    ASSERT_TRUE(::GetGUIThreadInfo(0, &gui));
    EXPECT_EQ(h.ctrl.m_nTextLeft + 3 * h.ctrl.m_nCharWidth, gui.rcCaret.left) << "on the cell's boundary";
    EXPECT_EQ(h.ctrl.m_nLineHeight, gui.rcCaret.top);
    h.ctrl.OnDragLeave();
    ASSERT_TRUE(::GetGUIThreadInfo(0, &gui));
    EXPECT_EQ(nullptr, gui.hwndCaret);
    EXPECT_FALSE(h.ctrl.m_bCaretCreated);

    Data none("t", (CLIPFORMAT)CF_UNICODETEXT);
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, h.ctrl.OnDragEnter(&none.object, 0, h.Cell(0, 2)));
    ASSERT_TRUE(::GetGUIThreadInfo(0, &gui));
    EXPECT_EQ(nullptr, gui.hwndCaret) << "no caret for data without text";
}

// The system's drag-scroll delay and interval, long enough that no step
// happens unless the test moves the remembered tick back.
struct SlowDragScroll
{
    SlowDragScroll()
    {
        ::WriteProfileStringA("windows", "DragScrollDelay", "100000");
        ::WriteProfileStringA("windows", "DragScrollInterval", "200000");
    }
    ~SlowDragScroll()
    {
        ::WriteProfileStringA("windows", "DragScrollDelay", NULL);
        ::WriteProfileStringA("windows", "DragScrollInterval", NULL);
    }
};

TEST(DragDropSerial, ScrollingAtTheBorder)
{
    SlowDragScroll slow;
    DropHost h(vt::NumberedLines(60));
    Data data("t");
    IDropTarget* pTarget = h.ctrl.m_dropTarget.GetInterface();
    auto screen = [&](int x, int y) {
        CPoint pt(x, y);
        h.ctrl.ClientToScreen(&pt);
        POINTL p = {pt.x, pt.y};
        return p;
    };
    auto caretShown = [&] {
        GUITHREADINFO gui = {sizeof gui};
        ::GetGUIThreadInfo(0, &gui);
        return gui.hwndCaret == h.ctrl.m_hWnd;
    };
    CRect rc;
    h.ctrl.GetClientRect(&rc);
    POINTL mid = screen(rc.Width() / 2, rc.Height() / 2);
    POINTL border = screen(rc.Width() / 2, rc.bottom - 2);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->DragEnter(data.source.GetInterface(), 0, mid, &effect));
    EXPECT_EQ((DWORD)DROPEFFECT_MOVE, effect);
    EXPECT_TRUE(caretShown());

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    pTarget->DragOver(0, border, &effect);
    EXPECT_EQ((DWORD)(DROPEFFECT_SCROLL | DROPEFFECT_MOVE), effect);
    EXPECT_EQ(1, h.ctrl.m_nTopLine) << "not before the delay";
    EXPECT_FALSE(caretShown()) << "the drop caret goes while scrolling";

    TWKEditDropTarget& target = h.ctrl.m_dropTarget;
    for (int step = 1; step <= 2; step++)
    {
        target.m_dwLastTick -= target.m_nScrollDelay + 1;   // as if the time had passed
        pTarget->DragOver(0, border, &effect);
        EXPECT_EQ(1 + step, h.ctrl.m_nTopLine) << "step " << step;
        EXPECT_EQ((UINT)COleDropTarget::GetScrollInterval(), target.m_nScrollDelay) << "then the interval";
        pTarget->DragOver(0, border, &effect);
        EXPECT_EQ(1 + step, h.ctrl.m_nTopLine) << "not again before the interval, step " << step;
    }

    pTarget->DragOver(0, mid, &effect);
    EXPECT_TRUE(caretShown()) << "back out of the border zone";
    EXPECT_EQ(0xFFFFu, target.m_nTimerID);
    pTarget->DragLeave();
    EXPECT_FALSE(caretShown());
}

// Mouse input as the user gives it, at a client point of a window.
void SendMouse(CWnd& wnd, CPoint pt, DWORD dwFlags)
{
    wnd.ClientToScreen(&pt);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)((pt.x * 65535.0) / (::GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = (LONG)((pt.y * 65535.0) / (::GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof in);
}

TEST(DragDropSerial, ARealDragBetweenTwoControls)
{
    DropHost h("drag this word\r\n");
    TWKEditCtrl other;
    ASSERT_TRUE(other.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(410, 0, 590, 200), &h.host.host, 101));
    vt::SetStoreText(other.GetEdit(), "into here\r\n");
    other.InitView();
    h.Select(1, 5, 1, 9);
    ASSERT_TRUE(h.ctrl.m_bSelection);
    vt::PumpMessages();

    SendMouse(h.ctrl, h.Cell(0, 6), 0);
    vt::PumpMessages();
    // The hand on the mouse is another thread: this one runs the drag loop
    // meanwhile. Whether the drag begins by leaving the start rectangle or
    // by the button held past the drag delay, it ends on the other control.
    CPoint start = h.Cell(0, 6);
    CPoint target = h.Cell(other, 0, 4);
    std::atomic<bool> done(false);
    std::thread hand([&] {
        ::Sleep(50);
        SendMouse(h.ctrl, start, MOUSEEVENTF_LEFTDOWN);
        for (int x : {20, 60, 120})
        {
            ::Sleep(40);
            SendMouse(h.ctrl, start + CPoint(x, 0), 0);
        }
        for (int i = 0; i < 3; i++)
        {
            ::Sleep(40);
            SendMouse(other, target, 0);
        }
        ::Sleep(40);
        SendMouse(other, target, MOUSEEVENTF_LEFTUP);
        done = true;
    });
    while (!done)
    {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        vt::PumpMessages();
    }
    hand.join();
    vt::PumpMessages(300);
    EXPECT_EQ("drag  word\r\n", vt::StoreText(h.ctrl)) << "moved out";
    EXPECT_EQ("intothis here\r\n", vt::StoreText(other)) << "and in";
    EXPECT_EQ(nullptr, TWKEditGetDragState().m_pSource);
    other.DestroyWindow();
}

} // namespace
