#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frameworkres.h"
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Records the status-line hints it is sent.
class CStatusFrame : public vt::CTestMainFrame
{
public:
    std::vector<UINT> hints;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING && lParam == 0)
            hints.push_back((UINT)wParam);
        return vt::CTestMainFrame::WindowProc(message, wParam, lParam);
    }
};

// Counts its before- and after-hooks.
class CCountingBar : public TWKControlBar
{
public:
    int nBeforeDock = 0, nAfterDock = 0, nBeforeFloat = 0, nAfterFloat = 0;
    void OnBeforeDock() override { nBeforeDock++; }
    void OnAfterDock() override { nAfterDock++; }
    void OnBeforeFloat() override { nBeforeFloat++; }
    void OnAfterFloat() override { nAfterFloat++; }
    TWKDockContext* Context() const { return static_cast<TWKDockContext*>(m_pDockContext); }
    void ResetCounts() { nBeforeDock = nAfterDock = nBeforeFloat = nAfterFloat = 0; }
    std::vector<int> Counts() const { return { nBeforeDock, nAfterDock, nBeforeFloat, nAfterFloat }; }
};

CRect WindowRect(CWnd* p)
{
    CRect r;
    p->GetWindowRect(&r);
    return r;
}

const std::vector<UINT> kDragHints = { IDS_TWK_PREVENTDOCKING, AFX_IDS_IDLEMESSAGE };

// The main window of the thread: the status hints go to it.
class DockContextTest : public testing::Test
{
protected:
    CStatusFrame* frame = nullptr;
    CWnd* pOldMain = nullptr;

    void SetUp() override
    {
        frame = new CStatusFrame;
        ASSERT_TRUE(frame->LoadFrame(vt::kTestFrameID));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        vt::PumpMessages();   // the frame's first idle text
        pOldMain = AfxGetThread()->m_pMainWnd;
        AfxGetThread()->m_pMainWnd = frame;
    }
    void TearDown() override
    {
        AfxGetThread()->m_pMainWnd = pOldMain;
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        vt::PumpMessages();
    }
    CCountingBar* Bar(UINT nID, DWORD dwExStyle = vt::kIdeExStyle, DWORD dwStyle = CBRS_TOP)
    {
        auto* p = new CCountingBar;
        p->m_bAutoDelete = TRUE;
        EXPECT_TRUE(p->Create(frame, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS | dwStyle, dwExStyle, nID));
        p->EnableDocking(CBRS_ALIGN_ANY);
        return p;
    }
    TWKDockBar* Dock(UINT nID) { return static_cast<TWKDockBar*>(frame->GetControlBar(nID)); }
    static TWKMiniDockFrameWnd* FloatFrameOf(CControlBar* pBar)
    {
        CWnd* p = pBar->m_pDockBar ? pBar->m_pDockBar->GetParent() : nullptr;
        return (p && p->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd))) ? static_cast<TWKMiniDockFrameWnd*>(p) : nullptr;
    }
    // Mouse messages as the capturing window sees them: its client coordinates.
    static void Post(CWnd* pCapture, UINT message, CPoint ptScreen)
    {
        pCapture->ScreenToClient(&ptScreen);
        pCapture->PostMessage(message, 0, MAKELPARAM((WORD)ptScreen.x, (WORD)ptScreen.y));
    }
    static void Drop(CWnd* pCapture, CPoint ptScreen)
    {
        Post(pCapture, WM_MOUSEMOVE, ptScreen);
        Post(pCapture, WM_LBUTTONUP, ptScreen);
    }
    // Two bars sharing the bottom row.
    void BottomRow(CCountingBar*& a, CCountingBar*& b, float fB = 0.25f)
    {
        a = Bar(0xE704);
        b = Bar(0xE706);
        frame->DockControlBarAt(a, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f - fB, 130);
        frame->DockControlBarAt(b, AFX_IDW_DOCKBAR_BOTTOM, 1, 0, fB, 130);
        frame->RecalcLayout();
        a->ResetCounts();
        b->ResetCounts();
        frame->hints.clear();
    }
};

TEST_F(DockContextTest, DraggedToAnEdgeAndIntoARowTheBarGetsTheShareShown)
{
    CCountingBar *output, *tool;
    BottomRow(output, tool);
    TWKDockBar* right = Dock(AFX_IDW_DOCKBAR_RIGHT);
    CRect rectRight = WindowRect(right);
    ASSERT_EQ(0, rectRight.Width());
    CPoint ptStart = WindowRect(output).TopLeft() + CPoint(20, 10);
    CPoint ptDrop(rectRight.left, rectRight.CenterPoint().y);
    Drop(output, ptDrop);
    output->Context()->StartDrag(ptStart);

    EXPECT_EQ(right, output->m_pDockBar);
    EXPECT_EQ((DWORD)CBRS_ALIGN_RIGHT, output->GetBarStyle() & CBRS_ALIGN_ANY);
    EXPECT_EQ(nullptr, ::GetCapture());
    // An empty edge: the feedback took its whole length, and so does the bar.
    CRect rectShown = output->Context()->m_rectLastDocking;
    EXPECT_EQ(rectRight.top, rectShown.top);
    EXPECT_EQ(rectRight.bottom, rectShown.bottom);
    EXPECT_FLOAT_EQ(1.0f, output->m_fPctWidth);
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_RIGHT, output->Context()->m_uMRUDockID);
    EXPECT_EQ((std::vector<int>{ 1, 1, 0, 0 }), output->Counts());
    EXPECT_EQ(kDragHints, frame->hints);

    // Into that row: the share weighted by the fractions, as the feedback showed it.
    rectRight = WindowRect(right);
    float fExpected = tool->m_fPctWidth / (tool->m_fPctWidth + output->m_fPctWidth);
    ptStart = WindowRect(tool).TopLeft() + CPoint(20, 10);
    Drop(tool, CPoint(rectRight.left + 60, rectRight.CenterPoint().y));
    tool->Context()->StartDrag(ptStart);
    EXPECT_EQ(right, tool->m_pDockBar);
    rectShown = tool->Context()->m_rectLastDocking;
    EXPECT_NEAR(fExpected, (float)rectShown.Height() / rectRight.Height(), 1.0f / rectRight.Height());
    EXPECT_NEAR(fExpected, tool->m_fPctWidth, 1e-5);
    int nRow = -1, nCol = -1, nOutRow = -1;
    ASSERT_TRUE(tool->GetDockedPosition(nRow, nCol));
    ASSERT_TRUE(output->GetDockedPosition(nOutRow, nCol));
    EXPECT_EQ(nOutRow, nRow);
    EXPECT_EQ((std::vector<int>{ 1, 1, 0, 0 }), tool->Counts());
}

TEST_F(DockContextTest, KeysAndButtonsDuringADrag)
{
    struct Case { const char* name; std::vector<std::pair<UINT, WPARAM>> keys; bool bEndWithUp; UINT nCancel;
                  bool bFloats; DWORD dwFloatStyle; };
    const Case cases[] = {
        { "ctrl floats", { { WM_KEYDOWN, VK_CONTROL } }, true, 0, true, CBRS_ALIGN_TOP },
        { "ctrl and shift float across", { { WM_KEYDOWN, VK_CONTROL }, { WM_KEYDOWN, VK_SHIFT } }, true, 0, true,
          CBRS_ALIGN_LEFT },
        { "ctrl released docks again", { { WM_KEYDOWN, VK_CONTROL }, { WM_KEYUP, VK_CONTROL } }, true, 0, false, 0 },
        { "escape", { { WM_KEYDOWN, VK_ESCAPE } }, false, 0, false, 0 },
        { "right button", {}, false, WM_RBUTTONDOWN, false, 0 },
    };
    UINT nID = 0xE710;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCountingBar* bar = Bar(nID++);
        frame->DockControlBarAt(bar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 100);
        frame->RecalcLayout();
        bar->ResetCounts();
        frame->hints.clear();
        CRect rectRight = WindowRect(Dock(AFX_IDW_DOCKBAR_RIGHT));
        CPoint ptStart = WindowRect(bar).TopLeft() + CPoint(20, 10);
        CPoint ptDrop(rectRight.left, rectRight.CenterPoint().y);
        Post(bar, WM_MOUSEMOVE, ptDrop);
        for (auto& k : c.keys)
            bar->PostMessage(k.first, k.second, 0);
        if (c.bEndWithUp)
            Post(bar, WM_LBUTTONUP, ptDrop);
        else if (c.nCancel)
            Post(bar, c.nCancel, ptDrop);
        bar->Context()->StartDrag(ptStart);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(kDragHints, frame->hints);
        if (c.bFloats) {
            ASSERT_TRUE(bar->IsFloating());
            EXPECT_EQ(c.dwFloatStyle, bar->Context()->m_dwMRUFloatStyle);
            TWKMiniDockFrameWnd* pFloat = FloatFrameOf(bar);
            ASSERT_NE(nullptr, pFloat);
            EXPECT_EQ(bar->Context()->m_ptMRUFloatPos, WindowRect(pFloat).TopLeft());
            EXPECT_EQ((std::vector<int>{ 0, 0, 1, 1 }), bar->Counts());
        } else if (c.bEndWithUp) {
            EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_RIGHT), bar->m_pDockBar);
            EXPECT_EQ((std::vector<int>{ 1, 1, 0, 0 }), bar->Counts());
        } else {
            // Cancelled: where it was, nothing announced.
            EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_BOTTOM), bar->m_pDockBar);
            EXPECT_EQ((std::vector<int>{ 0, 0, 0, 0 }), bar->Counts());
            EXPECT_EQ(CPoint(-1, -1), bar->Context()->m_ptMRUFloatPos);
        }
        bar->DestroyWindow();
        frame->RecalcLayout();
    }
}

TEST_F(DockContextTest, ACaptureHeldElsewhereOrAQuitEndsNothingOrTheDrag)
{
    CCountingBar *a, *b;
    BottomRow(a, b);
    CPoint ptStart = WindowRect(b).TopLeft() + CPoint(20, 10);
    CPoint ptDrop = WindowRect(frame).CenterPoint();

    // Another window holds the capture: no drag at all.
    ::SetCapture(frame->m_hWnd);
    Drop(b, ptDrop);
    b->Context()->StartDrag(ptStart);
    EXPECT_EQ(frame->m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    vt::PumpMessages();
    EXPECT_TRUE(frame->hints.empty());
    EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_BOTTOM), b->m_pDockBar);

    // WM_QUIT cancels the drag and is posted again with its code.
    Post(b, WM_MOUSEMOVE, ptDrop);
    ::PostQuitMessage(5);
    b->Context()->StartDrag(ptStart);
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, msg.wParam);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_BOTTOM), b->m_pDockBar);
    EXPECT_EQ((std::vector<int>{ 0, 0, 0, 0 }), b->Counts());
    EXPECT_EQ(kDragHints, frame->hints);

    // The same for a resize.
    frame->FloatControlBar(b, CPoint(200, 150));
    CRect rectFrame = WindowRect(FloatFrameOf(b));
    Post(b, WM_MOUSEMOVE, rectFrame.BottomRight() + CPoint(40, 40));
    ::PostQuitMessage(6);
    b->Context()->StartResize(HTBOTTOMRIGHT, rectFrame.BottomRight());
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(6u, msg.wParam);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(rectFrame, WindowRect(FloatFrameOf(b)));
}

TEST_F(DockContextTest, ACaptionClickOnAFloatingBarLeavesItWhereItIs)
{
    CCountingBar *a, *b;
    BottomRow(a, b);
    // Floated over the bottom dock bar: a click still does not dock it.
    CPoint ptFloat = WindowRect(a).TopLeft() + CPoint(60, 20);
    frame->FloatControlBar(b, ptFloat);
    TWKMiniDockFrameWnd* pFloat = FloatFrameOf(b);
    ASSERT_NE(nullptr, pFloat);
    CRect rectBefore = WindowRect(pFloat);
    b->ResetCounts();
    CPoint pt = rectBefore.TopLeft() + CPoint(40, 8);
    Drop(b, pt + CPoint(2, 2));
    b->Context()->StartDrag(pt);
    ASSERT_EQ(pFloat, FloatFrameOf(b));
    EXPECT_EQ(rectBefore, WindowRect(pFloat));
    EXPECT_TRUE(b->IsFloating());
    EXPECT_EQ((std::vector<int>{ 0, 0, 0, 0 }), b->Counts());   // a pure move

    // Moved further, over the row: it docks there.
    Drop(b, WindowRect(a).CenterPoint());
    b->Context()->StartDrag(pt);
    EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_BOTTOM), b->m_pDockBar);
    EXPECT_EQ((std::vector<int>{ 1, 1, 0, 0 }), b->Counts());
}

TEST_F(DockContextTest, ResizingAFloatingBar)
{
    struct Case { const char* name; DWORD dwExStyle; int nHit; CPoint move; CSize expected; };
    const Case cases[] = {
        // Below the minimum width: the width stays, the height still follows.
        { "proportional, bottom-left corner", vt::kIdeExStyle, HTBOTTOMLEFT, { 295, 40 }, { 300, 220 } },
        { "proportional, top-right corner", vt::kIdeExStyle, HTTOPRIGHT, { 40, -30 }, { 340, 210 } },
        { "fixed size, right edge", vt::kIdeExStyle | CBX_FIXEDSIZE, HTRIGHT, { 50, 30 }, { 350, 180 } },
        { "fixed size, bottom edge", vt::kIdeExStyle | CBX_FIXEDSIZE, HTBOTTOM, { 50, 30 }, { 300, 210 } },
        { "fixed size, left edge", vt::kIdeExStyle | CBX_FIXEDSIZE, HTLEFT, { -20, 30 }, { 320, 180 } },
    };
    UINT nID = 0xE730;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCountingBar* bar = Bar(nID++, c.dwExStyle, CBRS_TOP | CBRS_SIZE_DYNAMIC);
        frame->FloatControlBar(bar, CPoint(200, 150));
        TWKMiniDockFrameWnd* pFloat = FloatFrameOf(bar);
        ASSERT_NE(nullptr, pFloat);
        ASSERT_EQ(CSize(300, 180), bar->m_sizeMRUFloat);
        CRect rectFrame = WindowRect(pFloat);
        CPoint pt = (c.nHit == HTBOTTOMLEFT || c.nHit == HTLEFT) ? CPoint(rectFrame.left, rectFrame.bottom - 1)
                                                                 : CPoint(rectFrame.right - 1, rectFrame.top);
        if (c.nHit == HTBOTTOM)
            pt = CPoint(rectFrame.CenterPoint().x, rectFrame.bottom - 1);
        frame->hints.clear();
        Drop(bar, pt + c.move);
        bar->Context()->StartResize(c.nHit, pt);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(c.expected, bar->m_sizeMRUFloat);
        EXPECT_EQ(c.expected, WindowRect(bar).Size());
        EXPECT_EQ(pFloat, FloatFrameOf(bar));
        // The edge opposite the one moved stays.
        CRect rectAfter = WindowRect(pFloat);
        if (c.nHit == HTLEFT || c.nHit == HTBOTTOMLEFT)
            EXPECT_EQ(rectFrame.right, rectAfter.right);
        else
            EXPECT_EQ(rectFrame.left, rectAfter.left);
        if (c.nHit == HTTOPRIGHT)
            EXPECT_EQ(rectFrame.bottom, rectAfter.bottom);
        else
            EXPECT_EQ(rectFrame.top, rectAfter.top);
        EXPECT_EQ((std::vector<UINT>{ AFX_IDS_IDLEMESSAGE }), frame->hints);
        bar->DestroyWindow();
    }
}

TEST_F(DockContextTest, DoubleClicksToggleBetweenDockedAndFloating)
{
    CCountingBar *a, *b;
    BottomRow(a, b, 0.3f);
    TWKDockBar* bottom = Dock(AFX_IDW_DOCKBAR_BOTTOM);
    CRect rectDocked = WindowRect(b);
    EXPECT_EQ(CPoint(-1, -1), b->Context()->m_ptMRUFloatPos);

    // Never floated: it floats over its docked place.
    b->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(30, 30));
    ASSERT_TRUE(b->IsFloating());
    TWKMiniDockFrameWnd* pFloat = FloatFrameOf(b);
    ASSERT_NE(nullptr, pFloat);
    EXPECT_EQ(rectDocked.TopLeft(), WindowRect(pFloat).TopLeft());
    EXPECT_EQ((std::vector<int>{ 0, 0, 1, 1 }), b->Counts());

    // Its caption double-clicked: back in its place in the row, with its share.
    CRect rectFloat = WindowRect(pFloat);
    pFloat->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rectFloat.left + 30, rectFloat.top + 5));
    EXPECT_EQ(bottom, b->m_pDockBar);
    EXPECT_EQ(bottom->FindBar(a) + 1, bottom->FindBar(b));
    EXPECT_NEAR(0.3f, b->m_fPctWidth, 1e-5);
    EXPECT_NEAR(0.7f, a->m_fPctWidth, 1e-5);
    EXPECT_EQ(rectDocked, WindowRect(b));
    EXPECT_EQ((std::vector<int>{ 1, 1, 1, 1 }), b->Counts());

    // Once it has a floating place, it floats there.
    b->Context()->m_ptMRUFloatPos = CPoint(150, 120);
    b->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(30, 30));
    ASSERT_TRUE(b->IsFloating());
    EXPECT_EQ(CPoint(150, 120), WindowRect(FloatFrameOf(b)).TopLeft());

    // "Allow Docking" on a docked bar floats it and switches docking off; again, on.
    a->SendMessage(WM_COMMAND, ID_TWK_ALLOWDOCKING);
    EXPECT_TRUE(a->IsFloating());
    EXPECT_EQ(0u, a->m_dwDockStyle & CBRS_ALIGN_ANY);
    pFloat = FloatFrameOf(a);
    ASSERT_NE(nullptr, pFloat);
    rectFloat = WindowRect(pFloat);
    pFloat->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rectFloat.left + 30, rectFloat.top + 5));
    EXPECT_TRUE(a->IsFloating());   // a bar that may not dock stays floating
    a->SendMessage(WM_COMMAND, ID_TWK_ALLOWDOCKING);
    EXPECT_EQ((DWORD)CBRS_ALIGN_ANY, a->m_dwDockStyle & CBRS_ALIGN_ANY);
    EXPECT_TRUE(a->IsFloating());
}

// The screen's work area around a point, as the platform reports it.
CRect WorkAreaAt(CPoint pt)
{
    MONITORINFO mi = { sizeof(mi) };
    ::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi);
    return CRect(mi.rcWork);
}

TEST_F(DockContextTest, FloatingAgainTakesTheFloatingSizeNotTheDockedOne)
{
    // Tall bars docked at the left edge: the docked length is the frame's height.
    UINT nID = 0xE720;
    for (DWORD dwSize : { (DWORD)CBRS_SIZE_DYNAMIC, (DWORD)0 }) {
        SCOPED_TRACE(dwSize ? "dynamic" : "not dynamic");
        CCountingBar* bar = Bar(nID++, vt::kIdeExStyle, CBRS_LEFT | dwSize);
        bar->m_sizeMRUFloat = CSize(220, 160);
        frame->DockControlBarAt(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
        frame->RecalcLayout();
        ASSERT_GT(WindowRect(bar).Height(), 300);
        CRect rectDock = WindowRect(Dock(AFX_IDW_DOCKBAR_LEFT));
        auto dragOut = [&] {
            CPoint ptStart = WindowRect(bar).TopLeft() + CPoint(20, 10);
            Drop(bar, WindowRect(frame).CenterPoint());
            bar->Context()->StartDrag(ptStart);
        };
        auto dragIn = [&] {
            CPoint ptStart = WindowRect(FloatFrameOf(bar)).TopLeft() + CPoint(20, 5);
            Drop(bar, CPoint(rectDock.left + 2, rectDock.CenterPoint().y));
            bar->Context()->StartDrag(ptStart);
        };
        auto doubleClickOut = [&] { bar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(30, 30)); };
        auto doubleClickIn = [&] {
            CRect r = WindowRect(FloatFrameOf(bar));
            FloatFrameOf(bar)->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 30, r.top + 5));
        };
        struct Route { const char* name; std::function<void()> out, in; };
        const Route routes[] = { { "dragged", dragOut, dragIn }, { "double-clicked", doubleClickOut, doubleClickIn } };
        for (const Route& r : routes) {
            SCOPED_TRACE(r.name);
            r.out();
            ASSERT_NE(nullptr, FloatFrameOf(bar));
            CSize sizeFirst = WindowRect(FloatFrameOf(bar)).Size();
            EXPECT_LT(sizeFirst.cy, 300);
            r.in();
            ASSERT_EQ(Dock(AFX_IDW_DOCKBAR_LEFT), bar->m_pDockBar);
            frame->RecalcLayout();
            EXPECT_GT(WindowRect(bar).Height(), 300);
            r.out();
            ASSERT_NE(nullptr, FloatFrameOf(bar));
            EXPECT_EQ(sizeFirst, WindowRect(FloatFrameOf(bar)).Size());
            r.in();
            ASSERT_EQ(Dock(AFX_IDW_DOCKBAR_LEFT), bar->m_pDockBar);
        }

        // Floated by the screen's far corners: the frame stays on the work area.
        CRect rectWork = WorkAreaAt(CPoint(0, 0));
        for (CPoint pt : { rectWork.BottomRight() - CSize(10, 10), rectWork.TopLeft() - CSize(50, 50) }) {
            frame->FloatControlBar(bar, pt);
            ASSERT_NE(nullptr, FloatFrameOf(bar));
            CRect rectFloat = WindowRect(FloatFrameOf(bar));
            CRect rectOn;
            rectOn.IntersectRect(rectFloat, rectWork);
            EXPECT_EQ(rectFloat, rectOn) << pt.x << "," << pt.y;
            frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
        }
        bar->DestroyWindow();
        frame->RecalcLayout();
    }
}

// The floating frame's messages while it is taken down.
struct TakeDownWatch {
    static TakeDownWatch* s_p;
    HWND hFloat = nullptr;
    bool bHideAsked = false, bDestroyed = false;
    HHOOK hHook = nullptr;
    TakeDownWatch() { s_p = this; hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, ::GetCurrentThreadId()); }
    ~TakeDownWatch()
    {
        ::UnhookWindowsHookEx(hHook);
        s_p = nullptr;
    }
    static LRESULT CALLBACK Proc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        auto* p = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && s_p && p->hwnd == s_p->hFloat) {
            if (p->message == WM_WINDOWPOSCHANGING &&
                (reinterpret_cast<WINDOWPOS*>(p->lParam)->flags & SWP_HIDEWINDOW))
                s_p->bHideAsked = true;
            if (p->message == WM_DESTROY)
                s_p->bDestroyed = true;
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
};
TakeDownWatch* TakeDownWatch::s_p = nullptr;

TEST_F(DockContextTest, DockingAFloatingBarTakesItsFrameDownWithoutHidingIt)
{
    CCountingBar *a, *b;
    BottomRow(a, b);
    frame->FloatControlBar(b, CPoint(200, 150));
    TWKMiniDockFrameWnd* pFloat = FloatFrameOf(b);
    ASSERT_NE(nullptr, pFloat);
    vt::PumpMessages();
    CRect rectFloat = WindowRect(pFloat);
    TWKDockBar* right = Dock(AFX_IDW_DOCKBAR_RIGHT);
    CRect rectRight = WindowRect(right);

    TakeDownWatch watch;
    watch.hFloat = pFloat->m_hWnd;
    Drop(b, CPoint(rectRight.left, rectRight.CenterPoint().y));
    LARGE_INTEGER freq, t0, t1;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&t0);
    b->Context()->StartDrag(rectFloat.TopLeft() + CPoint(20, 5));
    ::QueryPerformanceCounter(&t1);
    EXPECT_EQ(right, b->m_pDockBar);
    EXPECT_TRUE(b->IsWindowVisible());
    EXPECT_FALSE(::IsWindow(watch.hFloat));
    EXPECT_TRUE(watch.bDestroyed);
    // Without a window manager the platform may wait for a visible top-level
    // window to be withdrawn; an emptied frame is never hidden that way.
    EXPECT_FALSE(watch.bHideAsked);
    std::printf("release to docked: %.1f ms\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart);
}

TEST_F(DockContextTest, FloatInMainWindowAndBack)
{
    CCountingBar *a, *b;
    BottomRow(a, b, 0.3f);
    TWKDockBar* bottom = Dock(AFX_IDW_DOCKBAR_BOTTOM);

    // Docked -> floating in the main window -> back to its row with its share.
    b->SendMessage(WM_COMMAND, ID_TWK_FLOATINMDI);
    EXPECT_TRUE(b->IsInMDIChildFrame());
    EXPECT_FALSE(b->Context()->m_bWasFloating);
    EXPECT_FALSE(frame->m_bMDIFloatToggle);
    EXPECT_NE(-1, bottom->FindBar(reinterpret_cast<CControlBar*>((UINT_PTR)0xE706)));   // its place is kept
    b->Context()->ToggleMDIFloating();
    EXPECT_EQ(bottom, b->m_pDockBar);
    EXPECT_FALSE(b->IsInMDIChildFrame());
    EXPECT_NEAR(0.3f, b->m_fPctWidth, 1e-5);

    // Floating -> in the main window -> a floating frame again.
    a->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(30, 30));
    ASSERT_NE(nullptr, FloatFrameOf(a));
    a->Context()->ToggleMDIFloating();
    EXPECT_TRUE(a->IsInMDIChildFrame());
    EXPECT_TRUE(a->Context()->m_bWasFloating);
    a->Context()->ToggleMDIFloating();
    EXPECT_FALSE(a->IsInMDIChildFrame());
    EXPECT_TRUE(a->IsFloating());
    EXPECT_NE(nullptr, FloatFrameOf(a));
    EXPECT_TRUE(FloatFrameOf(a)->IsWindowVisible());
    // The share it had docked survived the trip.
    EXPECT_NEAR(0.7f, a->m_fSavedPctWidth, 1e-5);
}

} // namespace
