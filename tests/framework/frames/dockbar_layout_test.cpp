#include "tests/framework/frames/frames_fixture.h"
#include "tests/framework/frames/picture_fixture.h"
#include "framework/frames/TWKAuxData.h"
#include <vector>

namespace {

// A bar's rectangle in its parent's client coordinates.
CRect InParent(CWnd* p)
{
    CRect r;
    p->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(p->m_hWnd), reinterpret_cast<LPPOINT>(&r), 2);
    return r;
}

std::vector<TWKDockBar::Splitter*> Splitters(TWKDockBar* p)
{
    std::vector<TWKDockBar::Splitter*> v;
    for (INT_PTR i = 0; i < p->m_arrSplitters.GetSize(); i++)
        v.push_back(static_cast<TWKDockBar::Splitter*>(p->m_arrSplitters[i]));
    return v;
}

TWKDockBar::Splitter* FindSplitter(TWKDockBar* p, int nKind)
{
    for (TWKDockBar::Splitter* s : Splitters(p))
        if (s->m_nKind == nKind)
            return s;
    return nullptr;
}

CRect Client(CWnd* p)
{
    CRect r;
    p->GetClientRect(&r);
    return r;
}

// The main frame with bars a, b, c (proportional) at the top, each 40 thick.
class TopRow : public testing::Test
{
protected:
    vt::MainFrame frame;
    TWKDockBar* top = nullptr;
    TWKControlBar* a = nullptr;
    TWKControlBar* b = nullptr;
    TWKControlBar* c = nullptr;

    void SetUp() override
    {
        ASSERT_NE(nullptr, frame.p);
        top = frame.Dock(AFX_IDW_DOCKBAR_TOP);
        a = frame.Bar(0xE701);
        b = frame.Bar(0xE702);
        ASSERT_TRUE(a && b);
    }
    // Made when needed: an undocked bar takes its room at the frame's top.
    void MakeThird()
    {
        c = frame.Bar(0xE703);
        ASSERT_NE(nullptr, c);
    }
    void DockTwo()
    {
        frame.p->DockControlBarAt(a, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 40);
        frame.p->DockControlBarAt(b, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 40);
        frame.p->RecalcLayout();
    }
    void DockThree()
    {
        MakeThird();
        DockTwo();
        frame.p->DockControlBarAt(c, AFX_IDW_DOCKBAR_TOP, 2, 0, 0.2f, 40);
        frame.p->RecalcLayout();
    }
    // The MDI client's rectangle in the top dock bar's coordinates.
    CRect MDIClientInTop() const
    {
        CRect r;
        ::GetWindowRect(frame.p->m_hWndMDIClient, &r);
        top->ScreenToClient(&r);
        return r;
    }
};

TEST_F(TopRow, TwoBarsShareTheRowWithSplittersAndAnEdge)
{
    DockTwo();
    CRect ra = InParent(a), rb = InParent(b), rc = Client(top);
    EXPECT_EQ(40, ra.Height());
    EXPECT_EQ(ra.top, rb.top);
    EXPECT_EQ(ra.right + 6, rb.left);
    EXPECT_EQ(rc.right, rb.right);
    EXPECT_NEAR(ra.Width(), rb.Width(), 1);

    TWKDockBar::Splitter* pBarSplitter = FindSplitter(top, 1);
    TWKDockBar::Splitter* pRowSplitter = FindSplitter(top, 0);
    ASSERT_TRUE(pBarSplitter && pRowSplitter);
    EXPECT_EQ(2u, Splitters(top).size());
    EXPECT_EQ(CRect(ra.right, ra.top, rb.left, ra.bottom), pBarSplitter->m_rect);
    EXPECT_EQ(1, pBarSplitter->m_nOrientation);
    EXPECT_EQ(top->FindBar(a), pBarSplitter->m_nIndex);
    EXPECT_EQ(CRect(0, ra.bottom, rc.right, ra.bottom + 6), pRowSplitter->m_rect);
    EXPECT_EQ(0, pRowSplitter->m_nOrientation);
    EXPECT_EQ(1, pRowSplitter->m_nIndex);
    ASSERT_EQ(1, top->m_arrClientEdges.GetSize());
    auto* pEdge = static_cast<TWKDockBar::ClientEdge*>(top->m_arrClientEdges[0]);
    EXPECT_EQ(CRect(0, ra.top - 2, rc.right, ra.top), pEdge->m_rect);
    // The dock bar is as thick as the row and its splitter, and the MDI client starts below.
    EXPECT_EQ(ra.bottom + 6, MDIClientInTop().top);

    // A third bar docked with its fraction as anchor keeps it; the others share the rest.
    MakeThird();
    frame.p->DockControlBarAt(c, AFX_IDW_DOCKBAR_TOP, 2, 0, 0.2f, 40);
    frame.p->RecalcLayout();
    EXPECT_NEAR(0.4f, a->m_fPctWidth, 1e-5);
    EXPECT_NEAR(0.4f, b->m_fPctWidth, 1e-5);
    EXPECT_NEAR(0.2f, c->m_fPctWidth, 1e-5);
    EXPECT_EQ((int)((rc.right - 12) * a->m_fPctWidth), InParent(a).Width());
    EXPECT_EQ(rc.right, InParent(c).right);
    EXPECT_EQ(3u, Splitters(top).size());   // the old ones that no longer fit are gone

    // Empty dock bars take no room.
    EXPECT_EQ(0, InParent(frame.Dock(AFX_IDW_DOCKBAR_RIGHT)).Width());
    EXPECT_EQ(0, InParent(frame.Dock(AFX_IDW_DOCKBAR_BOTTOM)).Height());
    EXPECT_EQ(0, frame.Dock(AFX_IDW_DOCKBAR_LEFT)->CalcFixedLayout(TRUE, FALSE).cx);
}

TEST_F(TopRow, FixedSizeBarsStayWhereTheyWerePut)
{
    MakeThird();
    TWKControlBar* bars[] = { a, b, c };
    for (int i = 0; i < 3; i++) {
        bars[i]->ModifyExBarStyle(0, CBX_FIXEDSIZE, FALSE);
        bars[i]->m_sizeMRUHorzDock = CSize(100, 30);
        top->DockControlBarAt(bars[i], i, 0);
    }
    int W = Client(frame.p).Width();
    const int places[] = { 50, 200, W - 50 };
    for (int i = 0; i < 3; i++)
        bars[i]->SetWindowPos(nullptr, places[i], 0, 100, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    frame.p->RecalcLayout();
    EXPECT_EQ(CRect(50, -2, 150, 28), InParent(a));
    EXPECT_EQ(CRect(200, -2, 300, 28), InParent(b));
    EXPECT_EQ(CRect(W - 100, -2, W, 28), InParent(c));   // pulled back to end in the row
    for (TWKControlBar* p : bars) {
        EXPECT_EQ(CSize(100, 30), p->m_sizeMRUHorzDock);
        EXPECT_TRUE(p->GetExBarStyle() & CBX_3DBORDERS);
    }
    EXPECT_TRUE(Splitters(top).empty());
    EXPECT_EQ(0, top->m_arrClientEdges.GetSize());
}

TEST(DockBarLayout, IdeLeftBarsShareTheirRowThreeToOne)
{
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    TWKControlBar* output = frame.Bar(0xE704);
    TWKControlBar* project = frame.Bar(0xE703);
    TWKControlBar* preview = frame.Bar(0xE705);
    frame.p->DockControlBarAt(output, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.75f, 130);
    frame.p->DockControlBarAt(project, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.75f, 240);
    frame.p->DockControlBarAt(preview, AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.25f, 150);
    frame.p->RecalcLayout();
    TWKDockBar* left = frame.Dock(AFX_IDW_DOCKBAR_LEFT);
    int H = Client(left).Height();
    CRect rp = InParent(project), rv = InParent(preview);
    EXPECT_FLOAT_EQ(0.75f, project->m_fPctWidth);
    EXPECT_FLOAT_EQ(0.25f, preview->m_fPctWidth);
    EXPECT_EQ((int)((H - 6) * 0.75f), rp.Height());
    EXPECT_EQ(rp.bottom + 6, rv.top);
    EXPECT_EQ(H, rv.bottom);
    EXPECT_EQ(240, rp.Width());
    EXPECT_EQ(240, rv.Width());   // the row's thickness
    TWKDockBar::Splitter* p = FindSplitter(left, 1);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(CRect(0, rp.bottom, 240, rv.top), p->m_rect);
    EXPECT_EQ(0, p->m_nOrientation);
}

TEST(DockBarLayout, FloatingBarIsMeasuredAndCommittedInItsOwnMode)
{
    // A dynamic bar in a left-aligned floating dock bar keeps its floating size:
    // its length along x is committed as its width, not its height.
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    TWKDockBar dock(TRUE);
    ASSERT_TRUE(dock.Create(frame.p, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, 0, AFX_IDW_DOCKBAR_FLOAT));
    TWKControlBar* bar = frame.Bar(0xE709, vt::kIdeExStyle, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC);
    ASSERT_NE(nullptr, bar);
    bar->m_sizeMRUFloat = CSize(320, 150);
    dock.DockControlBar(bar);
    ASSERT_TRUE(bar->IsFloating());
    CSize size = dock.CalcFixedLayout(FALSE, FALSE);
    EXPECT_EQ(CSize(320, 150), bar->m_sizeMRUFloat);
    EXPECT_EQ(320u, bar->m_nMRUWidth);
    EXPECT_EQ(150, size.cy);
    EXPECT_EQ(CRect(0, 0, 320, 150), InParent(bar));
    EXPECT_TRUE(Splitters(&dock).empty());   // a floating row has no separators
    bar->DestroyWindow();
    dock.DestroyWindow();
}

// Windowless arithmetic: bars that count as visible (a show is pending) in a dock bar without a window.
class RowArithmetic : public testing::Test
{
protected:
    TWKDockBar dock;
    TWKControlBar bars[3];
    void SetUp() override
    {
        dock.m_dwStyle = CBRS_ALIGN_TOP;
        for (TWKControlBar& b : bars) {
            b.m_nStateFlags |= CControlBar::delayShow;
            b.m_dwStyle = CBRS_ALIGN_TOP;
            dock.m_arrBars.Add(&b);
        }
        dock.m_arrBars.Add(nullptr);
    }
    void TearDown() override { dock.m_arrBars.RemoveAll(); }
};

TEST_F(RowArithmetic, NormalizeRowKeepsAnAnchorUpTo95Percent)
{
    struct Case { float pct[3]; int nAnchor; float expected[3]; };
    const Case cases[] = {
        { { 0.5f, 0.5f, 0.2f }, 2, { 0.4f, 0.4f, 0.2f } },
        { { 0.9f, 0.5f, 0.5f }, 0, { 0.9f, 0.05f, 0.05f } },
        { { 0.97f, 0.5f, 0.5f }, 0, { 0.97f / 1.97f, 0.5f / 1.97f, 0.5f / 1.97f } },   // too large: ignored
        { { 0.0f, 0.5f, 0.5f }, 0, { 0.05f, 0.475f, 0.475f } },                       // raised to the minimum
        { { 0.3f, 0.2f, 0.2f }, -1, { 0.3f / 0.7f, 0.2f / 0.7f, 0.2f / 0.7f } },        // no anchor
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; i++)
            bars[i].m_fPctWidth = c.pct[i];
        int nSizable = 0, nFixed = 0;
        dock.NormalizeRow(1, c.nAnchor < 0 ? nullptr : &bars[c.nAnchor], &nSizable, &nFixed);
        for (int i = 0; i < 3; i++)
            EXPECT_NEAR(c.expected[i], bars[i].m_fPctWidth, 1e-5) << c.pct[0] << " bar " << i;
        EXPECT_EQ(3, nSizable);
        EXPECT_EQ(0, nFixed);
    }
}

TEST_F(RowArithmetic, ResizeBarInRowCommitsAndReportsTheRest)
{
    struct Case { int nCurrent, nDelta, nRowLength; int nLength; float fPct; int nRest; };
    const Case cases[] = {
        { 100, 50, 400, 150, 0.375f, 0 },
        { 100, -40, 400, 60, 0.15f, 0 },
        { 100, -95, 400, 20, 0.05f, -15 },    // 18 is 0.045 of the row: the minimum fraction's 20
        { 30, -20, 1000, 50, 0.05f, -40 },    // the minimum fraction of a long row is 50 pixels
        { 100, -90, 200, 18, 0.09f, -8 },     // never below 18
    };
    for (const Case& c : cases) {
        bars[0].m_sizeMRUHorzDock = CSize(c.nCurrent, 40);
        EXPECT_EQ(c.nRest, dock.ResizeBarInRow(&bars[0], c.nDelta, c.nRowLength)) << c.nCurrent << c.nDelta;
        EXPECT_EQ(c.nLength, bars[0].m_sizeMRUHorzDock.cx) << c.nCurrent << c.nDelta;
        EXPECT_NEAR(c.fPct, bars[0].m_fPctWidth, 1e-6) << c.nCurrent << c.nDelta;
        EXPECT_EQ(40, bars[0].m_sizeMRUHorzDock.cy);
    }
}

TEST_F(TopRow, SplitterLimitsLeaveEachBarAndTheClientTheirMinimum)
{
    DockThree();
    CRect rc = Client(top);
    std::vector<TWKDockBar::Splitter*> barSplitters;
    for (TWKDockBar::Splitter* s : Splitters(top))
        if (s->m_nKind == 1)
            barSplitters.push_back(s);
    ASSERT_EQ(2u, barSplitters.size());
    for (int i = 0; i < 2; i++) {
        top->CalcSplitterLimits(barSplitters[i]);
        EXPECT_EQ(24 * (i + 1), barSplitters[i]->m_nMin);
        EXPECT_EQ(rc.right - 24 * (2 - i), barSplitters[i]->m_nMax);
    }
    TWKDockBar::Splitter* pRow = FindSplitter(top, 0);
    ASSERT_NE(nullptr, pRow);
    top->CalcSplitterLimits(pRow);
    EXPECT_EQ(pRow->m_rect.top - 40 + 19, pRow->m_nMin);
    EXPECT_EQ(MDIClientInTop().bottom - 19, pRow->m_nMax);
}

// Takes the mouse capture when it gets WM_APP.
class CCaptureThief : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP) {
            SetCapture();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct Step { UINT message; int x, y; WPARAM wParam; };

TEST_F(TopRow, SplitterDragsByPostedMessages)
{
    DockTwo();
    CRect rc = Client(top);
    TWKDockBar::Splitter* pBar = FindSplitter(top, 1);
    ASSERT_NE(nullptr, pBar);
    const CRect rectBar = pBar->m_rect, ra = InParent(a);
    const CPoint ptBar = rectBar.CenterPoint();
    struct Case { const char* name; int nKind; std::vector<Step> steps; int nLead; };
    const std::vector<Case> cases = {
        { "bar splitter far left", 1, { { WM_MOUSEMOVE, 5, ptBar.y, 0 }, { WM_LBUTTONUP, 5, ptBar.y, 0 } }, 24 },
        { "bar splitter a little right", 1,
          { { WM_MOUSEMOVE, ptBar.x + 30, ptBar.y, 0 }, { WM_LBUTTONUP, ptBar.x + 30, ptBar.y, 0 } }, rectBar.left + 30 },
        { "escape", 1, { { WM_MOUSEMOVE, 100, ptBar.y, 0 }, { WM_KEYDOWN, 0, 0, VK_ESCAPE } }, rectBar.left },
        { "right button", 1, { { WM_MOUSEMOVE, 100, ptBar.y, 0 }, { WM_RBUTTONDOWN, 100, ptBar.y, 0 } }, rectBar.left },
        { "released without a move", 1, { { WM_LBUTTONUP, 100, ptBar.y, 0 } }, rectBar.left },
        { "row splitter far down", 0, { { WM_MOUSEMOVE, 50, 5000, 0 }, { WM_LBUTTONUP, 50, 5000, 0 } }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each drag starts from the two-bar layout.
        a->m_fPctWidth = b->m_fPctWidth = 0.5f;
        a->m_sizeMRUHorzDock.cy = b->m_sizeMRUHorzDock.cy = 40;
        frame.p->RecalcLayout();
        TWKDockBar::Splitter* p = FindSplitter(top, c.nKind);
        ASSERT_NE(nullptr, p);
        CRect rectBefore = p->m_rect;
        CPoint ptStart = rectBefore.CenterPoint();
        int nMDIBottom = MDIClientInTop().bottom;
        for (const Step& s : c.steps)
            top->PostMessage(s.message, s.wParam, MAKELPARAM(s.x, s.y));
        top->TrackSplitter(p, ptStart.x, ptStart.y);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_TRUE(p->m_rectLast.IsRectEmpty());   // the tracker is gone
        if (c.nKind == 1)
            EXPECT_EQ(c.nLead, p->m_rect.left);
        else
            EXPECT_EQ(nMDIBottom - 19, p->m_rect.bottom);
        frame.p->RecalcLayout();
        if (c.nKind == 1) {
            // The new fractions give the bar that length again (within their rounding).
            EXPECT_NEAR(c.nLead, InParent(a).right, 1);
            EXPECT_EQ(rc.right, InParent(b).right);
            EXPECT_EQ(c.nLead == rectBar.left, a->m_fPctWidth == 0.5f);
        } else {
            // Stopped 19 pixels above the MDI client's bottom; the row took the rest.
            EXPECT_EQ(nMDIBottom - 19, InParent(a).bottom + 6);
            EXPECT_EQ(19, MDIClientInTop().Height());
        }
    }
    EXPECT_EQ(ra.left, InParent(a).left);

    // A capture taken away ends the drag; the distance moved so far counts.
    CCaptureThief thief;
    ASSERT_TRUE(thief.CreateEx(0, AfxRegisterWndClass(0), "Thief", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    a->m_fPctWidth = b->m_fPctWidth = 0.5f;
    frame.p->RecalcLayout();
    TWKDockBar::Splitter* p = FindSplitter(top, 1);
    CPoint pt = p->m_rect.CenterPoint();
    int nLeft = p->m_rect.left;
    top->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x - 30, pt.y));
    thief.PostMessage(WM_APP);
    top->TrackSplitter(p, pt.x, pt.y);
    EXPECT_EQ(thief.m_hWnd, ::GetCapture());
    EXPECT_TRUE(p->m_rectLast.IsRectEmpty());
    ::ReleaseCapture();
    EXPECT_EQ(nLeft - 30, p->m_rect.left);
    frame.p->RecalcLayout();
    EXPECT_NEAR(nLeft - 30, InParent(a).right, 1);
    thief.DestroyWindow();

    // WM_QUIT cancels and is posted again with its code.
    a->m_fPctWidth = b->m_fPctWidth = 0.5f;
    frame.p->RecalcLayout();
    p = FindSplitter(top, 1);
    pt = p->m_rect.CenterPoint();
    nLeft = p->m_rect.left;
    top->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x - 30, pt.y));
    ::PostQuitMessage(7);
    top->TrackSplitter(p, pt.x, pt.y);
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nLeft, p->m_rect.left);
    frame.p->RecalcLayout();
    EXPECT_EQ(nLeft, InParent(a).right);

    // Another window holding the capture: no drag at all.
    ::SetCapture(frame.p->m_hWnd);
    top->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x - 30, pt.y));
    top->TrackSplitter(p, pt.x, pt.y);
    EXPECT_EQ(frame.p->m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    vt::PumpMessages();
    EXPECT_EQ(nLeft, p->m_rect.left);
}

TEST_F(TopRow, ExpandAndContractShareTheRow)
{
    DockThree();
    TWKControlBar* row[] = { a, b, c };
    struct Case { int nBar; int nFlag; float expected[3]; };
    const float fMin = [&] { top->CalcMinFraction(); return top->m_fMinPctWidth; }();
    const Case cases[] = {
        { 0, 2, { 0.5f, 0.25f, 0.25f } },
        { 2, 2, { 0.25f, 0.25f, 0.5f } },
        { 0, 1, { 1.0f, fMin, fMin } },
        { 2, 1, { fMin, fMin, 1.0f } },
    };
    for (const Case& k : cases) {
        top->ExpandBarInRow(row[k.nBar], k.nFlag);
        for (int i = 0; i < 3; i++)
            EXPECT_NEAR(k.expected[i], row[i]->m_fPctWidth, 1e-5) << k.nBar << "," << k.nFlag << " bar " << i;
        EXPECT_EQ(k.nFlag == 1, (bool)top->IsBarExpanded(row[k.nBar]));
    }
    // The next layout gives the expanded bar nearly all of the row.
    frame.p->RecalcLayout();
    EXPECT_GT(InParent(c).Width(), Client(top).Width() - 2 * 24 - 12);
}

TEST_F(TopRow, CursorsFollowTheSplitters)
{
    DockTwo();
    TWKDockBar::Splitter* pBar = FindSplitter(top, 1);
    TWKDockBar::Splitter* pRow = FindSplitter(top, 0);
    ASSERT_TRUE(pBar && pRow);
    struct Case { CPoint pt; HCURSOR hCursor; };
    const Case cases[] = {
        { pBar->m_rect.CenterPoint(), twkAuxData.hcurHSplit },
        { pRow->m_rect.CenterPoint(), twkAuxData.hcurVSplit },
        { CPoint(pBar->m_rect.left - 20, pBar->m_rect.top + 5), twkAuxData.hcurArrow },
    };
    ASSERT_NE(nullptr, twkAuxData.hcurHSplit);
    for (const Case& c : cases) {
        top->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.pt.x, c.pt.y));
        EXPECT_EQ(c.hCursor, ::GetCursor());
    }
    EXPECT_TRUE(top->SendMessage(WM_SETCURSOR, (WPARAM)top->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST(DockBarLayout, SplittersAndEdgesDrawTheirLines)
{
    vt::Picture picture(10, 10);
    CDC& dc = picture.dc;
    TWKDockBar::Splitter splitter;
    splitter.m_nOrientation = 1;
    splitter.m_rect = CRect(2, 0, 8, 10);
    splitter.Draw(&dc);
    const COLORREF expected[] = { twkAuxData.clrBtnHilite, twkAuxData.clrBtnFace, twkAuxData.clrBtnFace,
                                  twkAuxData.clrBtnFace, twkAuxData.clrBtnShadow, twkAuxData.clrWindowFrame };
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(::GetNearestColor(dc.m_hDC, expected[i]), picture.At(2 + i, 5)) << i;
    EXPECT_EQ(vt::kPictureMarker, picture.At(1, 5));
    EXPECT_EQ(vt::kPictureMarker, picture.At(8, 5));

    TWKDockBar::ClientEdge edge;
    edge.m_nOrientation = 0;
    edge.m_rect = CRect(0, 0, 10, 2);
    edge.Draw(&dc);
    EXPECT_EQ(::GetNearestColor(dc.m_hDC, twkAuxData.clrBtnShadow), picture.At(0, 0));
    EXPECT_EQ(::GetNearestColor(dc.m_hDC, twkAuxData.clrBtnHilite), picture.At(0, 1));
}

} // namespace
