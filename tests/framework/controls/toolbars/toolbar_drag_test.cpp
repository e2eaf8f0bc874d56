// Drag customisation in a real main frame: two toolbars and a user toolbar,
// the manager in configuration mode. Each drag is driven by posting the
// pointer's moves and release before the press enters the tracking loop.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"

using namespace vt;

namespace {

const UINT A = ID_TWK_TEST_A, B = ID_TWK_TEST_B, C = ID_TWK_TEST_C, D = ID_TWK_TEST_D, E = ID_TWK_TEST_E;

CPoint Diff(CPoint a, CPoint b)
{
    return CPoint(a.x - b.x, a.y - b.y);
}

std::string Str(std::initializer_list<UINT> ids)
{
    std::ostringstream out;
    bool first = true;
    for (UINT id : ids) {
        out << (first ? "" : " ");
        first = false;
        if (id)
            out << id;
        else
            out << "|";
    }
    return out.str();
}

// Holds Ctrl or Alt down for this thread while it lives.
struct KeyDown {
    BYTE keys[256];
    explicit KeyDown(int vk)
    {
        ::GetKeyboardState(keys);
        BYTE held[256];
        memcpy(held, keys, sizeof(held));
        held[vk] = 0x80;
        ::SetKeyboardState(held);
    }
    ~KeyDown() { ::SetKeyboardState(keys); }
};

struct DragTest : ::testing::Test {
    ToolBarFrame frame{ TRUE, 800, 600 };
    TWKToolBarManager* pMgr = nullptr;
    TWKCustomToolBar* pBar1 = nullptr;   // A B | C
    TWKCustomToolBar* pBar2 = nullptr;   // D E
    TWKCustomToolBar* pUser = nullptr;   // E

    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        pMgr = frame.pMgr;
        ASSERT_TRUE(pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, 0));
        pBar1 = frame.NewBar(0xE800);
        pBar2 = frame.NewBar(0xE801);
        ASSERT_TRUE(pBar1 && pBar2);
        const UINT ids1[] = { A, B, 0, C }, ids2[] = { D, E }, idsUser[] = { E };
        pBar1->SetButtons(ids1, 4);
        pBar2->SetButtons(ids2, 2);
        pUser = pMgr->CreateUserToolBar("User");
        ASSERT_TRUE(pUser);
        pUser->SetButtons(idsUser, 1);
        frame.p->DockControlBar(pUser, AFX_IDW_DOCKBAR_BOTTOM, nullptr);
        frame.p->RecalcLayout();
        pMgr->SetToolBarsConfigMode(TRUE);
    }

    // Posts the moves (offsets from the press) and the release, then presses
    // button nIndex at its centre. The release comes last unless bNoRelease.
    void Drag(TWKCustomToolBar* pBar, int nIndex, std::vector<CPoint> moves, UINT nEnd = WM_LBUTTONUP)
    {
        CPoint pt = Centre(pBar, nIndex);
        CPoint last = pt;
        for (CPoint d : moves) {
            last = pt + d;
            pBar->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(last.x, last.y));
        }
        pBar->PostMessage(nEnd, nEnd == WM_KEYDOWN ? VK_ESCAPE : 0, MAKELPARAM(last.x, last.y));
        Send(pBar, WM_LBUTTONDOWN, pt, MK_LBUTTON);
        EXPECT_EQ(nullptr, ::GetCapture());
    }
    // The offset that takes button nIndex of pFrom onto point ptTo of pTo.
    CPoint Offset(TWKCustomToolBar* pFrom, int nIndex, TWKCustomToolBar* pTo, CPoint ptTo)
    {
        CPoint pt = Centre(pFrom, nIndex);
        pTo->ClientToScreen(&ptTo);
        pFrom->ScreenToClient(&ptTo);
        return Diff(ptTo, pt);
    }
    CPoint OffFrameBars()
    {
        // The middle of the frame's client area: no toolbar there.
        CRect rect;
        frame.p->GetClientRect(&rect);
        CPoint pt = rect.CenterPoint();
        frame.p->ClientToScreen(&pt);
        return pt;
    }
};

TEST_F(DragTest, SmallMovesWithinABarOpenAndCloseGaps)
{
    struct Case {
        int nIndex;
        int dx;
        std::string after;
    } cases[] = {
        { 3, 1, Str({ A, B, 0, C }) },        // one pixel: nothing
        { 3, -1, Str({ A, B, 0, C }) },
        { 3, -5, Str({ A, B, C }) },          // the separator before it goes
        { 0, -5, Str({ A, 0, B, 0, C }) },    // none before, a button after: a separator after it
        { 1, 5, Str({ A, 0, B, 0, C }) },     // a little right: a separator before it
        { 0, 28, Str({ B, A, 0, C }) },       // one place to the right
    };
    for (const Case& c : cases) {
        const UINT ids[] = { A, B, 0, C };
        pBar1->SetButtons(ids, 4);
        frame.p->RecalcLayout();
        Drag(pBar1, c.nIndex, { CPoint(c.dx / 2, 0), CPoint(c.dx, 0) });
        EXPECT_EQ(c.after, Buttons(pBar1)) << c.nIndex << " by " << c.dx;
        EXPECT_EQ(pBar1, pMgr->m_pSelectedBar);
    }
}

TEST_F(DragTest, DropOnAnotherBarMovesOrWithCtrlCopies)
{
    CRect rectD;
    pBar2->GetItemRect(0, &rectD);
    CPoint onD(rectD.left + 12, rectD.CenterPoint().y);
    Drag(pBar1, 0, { Offset(pBar1, 0, pBar2, onD) });
    EXPECT_EQ(Str({ B, 0, C }), Buttons(pBar1));
    EXPECT_EQ(Str({ D, A, E }), Buttons(pBar2));
    EXPECT_EQ(pBar2, pMgr->m_pSelectedBar);
    EXPECT_EQ(1, pBar2->GetCurrentIndex());

    // With Ctrl a copy, under the copy cursor.
    KeyDown ctrl(VK_CONTROL);
    HCURSOR hCopy = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TWK_TBCOPY));
    ASSERT_TRUE(hCopy);
    struct CursorProbe : CWnd {
        HCURSOR hSeen = nullptr;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_APP)
                hSeen = ::GetCursor();
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } probe;
    ASSERT_TRUE(probe.CreateEx(0, AfxRegisterWndClass(0), "Probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    probe.PostMessage(WM_APP);   // dispatched inside the tracking loop
    Drag(pBar1, 0, { Offset(pBar1, 0, pBar2, onD) });
    EXPECT_EQ(hCopy, probe.hSeen);
    probe.DestroyWindow();
    EXPECT_EQ(Str({ B, 0, C }), Buttons(pBar1));
    EXPECT_EQ(Str({ D, B, A, E }), Buttons(pBar2));
}

TEST_F(DragTest, OffAllBarsDeletesOrWithCtrlMakesAFloatingUserToolBar)
{
    // Ctrl: a new floating user toolbar holds a copy; the source keeps it.
    {
        KeyDown ctrl(VK_CONTROL);
        CPoint pt = OffFrameBars();
        pBar1->ScreenToClient(&pt);
        Drag(pBar1, 0, { Diff(pt, Centre(pBar1, 0)) });
    }
    EXPECT_EQ(Str({ A, B, 0, C }), Buttons(pBar1));
    TWKCustomToolBar* pNew = pMgr->GetToolBar(TWK_IDW_FIRSTUSERBAR + 1);
    ASSERT_TRUE(pNew);
    EXPECT_EQ(Str({ A }), Buttons(pNew));
    EXPECT_TRUE(pNew->IsFloating());
    CString strTitle, strFormat, strWant;
    pNew->GetWindowText(strTitle);
    strFormat.LoadString(AfxGetResourceHandle(), IDS_TWK_TOOLBAR_TITLE);
    strWant.Format(strFormat, 2);
    EXPECT_EQ(strWant, strTitle);
    EXPECT_EQ(pNew, pMgr->m_pSelectedBar);

    // Without Ctrl the button goes; the user toolbar's only button takes the
    // bar with it and the drag answers FALSE.
    CPoint pt = OffFrameBars();
    pBar1->ScreenToClient(&pt);
    Drag(pBar1, 3, { Diff(pt, Centre(pBar1, 3)) });
    EXPECT_EQ(Str({ A, B }), Buttons(pBar1));

    HWND hUser = pUser->m_hWnd;
    CPoint from = Centre(pUser, 0);
    pt = OffFrameBars();
    pUser->ScreenToClient(&pt);
    pUser->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    pUser->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(TWKCustomToolBar::DoDragButton(pMgr, pUser->GetButton(0), 0, from.x, from.y, pUser, pUser, FALSE));
    EXPECT_FALSE(::IsWindow(hUser));
    EXPECT_FALSE(pMgr->GetToolBar(TWK_IDW_FIRSTUSERBAR));
}

TEST_F(DragTest, NoDropWindowOptionBitEscapeAndRightButtonChangeNothing)
{
    CWnd noDrop;
    CPoint ptScreen = OffFrameBars();
    ASSERT_TRUE(noDrop.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Dialog", WS_POPUP | WS_VISIBLE,
                                ptScreen.x - 50, ptScreen.y - 50, 100, 100, nullptr, nullptr));
    pMgr->SetNoDropWnd(&noDrop);
    CPoint pt = ptScreen;
    pBar1->ScreenToClient(&pt);
    Drag(pBar1, 0, { Diff(pt, Centre(pBar1, 0)) });
    pMgr->SetNoDropWnd(nullptr);
    noDrop.DestroyWindow();
    EXPECT_EQ(Str({ A, B, 0, C }), Buttons(pBar1));

    CRect rectD;
    pBar2->GetItemRect(0, &rectD);
    CPoint toD = Offset(pBar1, 0, pBar2, CPoint(rectD.left + 12, rectD.CenterPoint().y));
    pBar1->m_bOptions = 1;
    Drag(pBar1, 0, { toD });
    pBar1->m_bOptions = 0;
    Drag(pBar1, 0, { toD }, WM_KEYDOWN);
    Drag(pBar1, 0, { toD }, WM_RBUTTONDOWN);
    EXPECT_EQ(Str({ A, B, 0, C }), Buttons(pBar1));
    EXPECT_EQ(Str({ D, E }), Buttons(pBar2));
}

TEST_F(DragTest, AltDragOutsideConfigurationModeLeavesNoSelection)
{
    pMgr->SetToolBarsConfigMode(FALSE);
    KeyDown alt(VK_MENU);
    Drag(pBar1, 0, { CPoint(28, 0) });
    EXPECT_EQ(Str({ B, A, 0, C }), Buttons(pBar1));
    EXPECT_EQ(nullptr, pMgr->m_pSelectedBar);
    for (int i = 0; i < pBar1->GetButtonCount(); i++)
        EXPECT_FALSE(pBar1->GetButtonStyle(i) & TWK_TBBS_SELECTED) << i;
    EXPECT_FALSE(TWKCustomToolBar::s_bAltDrag);
}

TEST_F(DragTest, SelectingSendsTheSelectionNotice)
{
    CMessageSink sink(WM_BARNOTIFY);
    ASSERT_TRUE(sink.CreateTop());
    pMgr->AddNotifyWnd(&sink);
    pBar1->SelectButton(1, TRUE);
    pBar2->SelectButton(0, TRUE);   // clears bar 1's first
    pBar2->SelectButton(0, TRUE);   // no change
    std::vector<std::pair<WPARAM, LPARAM>> want = { { 0xE800, 4 }, { 0xE800, 4 }, { 0xE801, 4 } };
    EXPECT_EQ(want, sink.seen);
    EXPECT_FALSE(pBar1->GetButtonStyle(1) & TWK_TBBS_SELECTED);
    EXPECT_TRUE(pBar2->GetButtonStyle(0) & TWK_TBBS_SELECTED);
    pMgr->RemoveNotifyWnd(&sink);
    sink.DestroyWindow();
}

// ---------------------------------------------------------------------------
// The drop decisions as tables of drop rectangles

struct DropTableTest : DragTest {
    CRect inside;
    void SetUp() override
    {
        DragTest::SetUp();
        pMgr->SetToolBarsConfigMode(FALSE);
    }
    // Lays bar 1 out from the ids, wrapped in rows of three buttons and a separator.
    void Layout(const std::string& ids)
    {
        std::vector<UINT> v = Ids(ids);
        pBar1->SetButtons(v.data(), (int)v.size());
        pBar1->CalcDynamicLayout(3 * 23 + 8 + 20, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
        pBar1->GetClientRect(&inside);
        pBar1->CalcInsideRect(inside, TRUE);
    }
    CRect Item(int i)
    {
        CRect rect;
        pBar1->GetItemRect(i, &rect);
        return rect;
    }
};

TEST_F(DropTableTest, RowRanges)
{
    Layout("1 2 3 | 4 5 | 6");
    ASSERT_TRUE(pBar1->GetButtonStyle(3) & TBBS_WRAPPED);
    int cy = pBar1->GetButtonHeight();
    struct Case {
        int yMiddle;
        int nFirst, nLast;
    } cases[] = {
        { inside.top + 2, 0, 2 }, { Item(0).bottom, 0, 2 }, { Item(4).top + cy / 2, 4, 7 }, { inside.top + 500, 4, 7 },
    };
    for (const Case& c : cases) {
        CRect drop(0, c.yMiddle - 10, 23, c.yMiddle + 10);
        int nFirst = -1, nLast = -1;
        pBar1->GetRowRange(&inside, &drop, &nFirst, &nLast);
        EXPECT_EQ(std::make_pair(c.nFirst, c.nLast), std::make_pair(nFirst, nLast)) << c.yMiddle;
    }
}

TEST_F(DropTableTest, AdjustGroupByDrop)
{
    struct Case {
        const char* before;
        int nSel;
        int dx;          // the drop: the selected button's rectangle moved
        BOOL bCopy;
        BOOL bHandled;
        const char* after;
    } cases[] = {
        { "1 | 2 3", 2, -5, FALSE, TRUE, "1 2 3" },        // joins the group on its left
        { "1 2 3", 1, -5, FALSE, TRUE, "1 2 | 3" },        // leaves the group on its right
        { "1 | 2 3", 2, -1, FALSE, TRUE, "1 | 2 3" },
        { "1 | 2 3", 2, -5, TRUE, FALSE, "1 | 2 3" },
        { "1 | 2 3", 3, 5, FALSE, TRUE, "1 | 2 | 3" },
        { "1 2 | 3", 1, 5, FALSE, TRUE, "1 | 2 | 3" },
        { "1 | 2 | 3", 2, 5, FALSE, TRUE, "1 | 2 3" },
        { "1 | 2", 2, -5, FALSE, TRUE, "1 2" },
        { "1 | 2 3", 2, 60, FALSE, FALSE, "1 | 2 3" },
    };
    for (const Case& c : cases) {
        Layout(c.before);
        pBar1->SelectButton(c.nSel, FALSE);
        CRect drop = Item(c.nSel);
        drop.OffsetRect(c.dx, 0);
        EXPECT_EQ(c.bHandled, pBar1->AdjustGroupByDrop(&drop, 0, pBar1->GetButtonCount() - 1, c.bCopy, TRUE))
            << c.before << " " << c.nSel << " " << c.dx;
        EXPECT_EQ(c.after, Buttons(pBar1)) << c.before << " " << c.nSel << " " << c.dx;
        pBar1->ClearSelection(FALSE);
    }
    // Only the bar that holds the selection.
    Layout("1 | 2 3");
    pBar2->SelectButton(0, FALSE);
    CRect drop = Item(2);
    drop.OffsetRect(-5, 0);
    EXPECT_FALSE(pBar1->AdjustGroupByDrop(&drop, 0, 3, FALSE, TRUE));
}

TEST_F(DropTableTest, DropButtonWithinTheBar)
{
    enum Place { OwnIndex, AfterNext, OverSeparator, Above, Below, LeftOfInside };
    struct Case {
        const char* before;
        int nSel;
        Place place;
        const char* after;
        int nSelAfter;
    } cases[] = {
        { "1 2 3", 1, OwnIndex, "1 2 3", 1 },
        { "1 2 3", 0, AfterNext, "2 1 3", 1 },
        { "1 2 | 3", 0, OverSeparator, "2 1 3", 1 },
        { "1 2 3", 2, Above, "3 | 1 2", 0 },
        { "1 2 3", 0, Below, "2 3 | 1", 3 },
        { "1 2 3", 2, LeftOfInside, "3 1 2", 0 },
    };
    for (const Case& c : cases) {
        Layout(c.before);
        pBar1->SelectButton(c.nSel, FALSE);
        CRect sel = Item(c.nSel), drop;
        switch (c.place) {
        case OwnIndex:   // a narrow drop over the button before it
            drop = CRect(Item(c.nSel - 1).left + 2, sel.top, Item(c.nSel - 1).left + 6, sel.bottom);
            break;
        case AfterNext:
            drop = sel + CPoint(Item(c.nSel + 1).right - sel.left - 10, 0);
            break;
        case OverSeparator:   // covering the separator with room on both sides
            drop = CRect(Item(2).left - 6, sel.top, Item(2).right + 6, sel.bottom);
            break;
        case Above:
            drop = CRect(sel.left, inside.top - 30, sel.right, inside.top);
            break;
        case Below:
            drop = CRect(sel.left, inside.bottom + 1, sel.right, inside.bottom + 31);
            break;
        case LeftOfInside:
            drop = CRect(inside.left - 40, sel.top, inside.left - 40 + sel.Width() - 30, sel.bottom);
            break;
        }
        TWKStdBtn* pBtn = pBar1->GetButton(c.nSel);
        EXPECT_TRUE(pBar1->DropButton(&drop, pBtn, FALSE, TRUE)) << c.before << " " << c.place;
        EXPECT_EQ(c.after, Buttons(pBar1)) << c.before << " " << c.place;
        EXPECT_EQ(c.nSelAfter, pBar1->GetCurrentIndex()) << c.before << " " << c.place;
        pBar1->ClearSelection(FALSE);
    }
}

TEST_F(DropTableTest, DropAboveAnotherBarLeavesTheSourceBar)
{
    // The source is the bar holding the selection.
    pBar1->SelectButton(3, FALSE);   // C
    CRect inside2;
    pBar2->GetClientRect(&inside2);
    pBar2->CalcInsideRect(inside2, TRUE);
    CRect drop(inside2.left, inside2.top - 22, inside2.left + 23, inside2.top);
    EXPECT_TRUE(pBar2->DropButton(&drop, pBar1->GetButton(3), FALSE, FALSE));
    EXPECT_EQ(Str({ C, 0, D, E }), Buttons(pBar2));
    EXPECT_EQ(Str({ A, B }), Buttons(pBar1));
    EXPECT_EQ(pBar2, pMgr->m_pSelectedBar);
    EXPECT_EQ(0, pBar2->GetCurrentIndex());

    // A copy leaves it; an empty target takes the button at 0.
    pBar1->SelectButton(0, FALSE);
    pBar2->SetButtons(nullptr, 0);
    pBar1->SelectButton(0, FALSE);
    EXPECT_TRUE(pBar2->DropButton(&drop, pBar1->GetButton(0), TRUE, FALSE));
    EXPECT_EQ(Str({ A }), Buttons(pBar2));
    EXPECT_EQ(Str({ A, B }), Buttons(pBar1));
}

} // namespace
