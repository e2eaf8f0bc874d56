#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frameworkres.h"
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// A floating frame that records its moves and keeps the system's own
// caption handling (a modal move loop) out of the test.
class CRecordingFloatFrame : public TWKMiniDockFrameWnd
{
    DECLARE_DYNCREATE(CRecordingFloatFrame)
public:
    std::vector<WINDOWPOS> changes;
    std::vector<UINT> defaulted;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_WINDOWPOSCHANGED)
            changes.push_back(*reinterpret_cast<WINDOWPOS*>(lParam));
        return TWKMiniDockFrameWnd::WindowProc(message, wParam, lParam);
    }
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK) {
            defaulted.push_back(message);
            return 0;
        }
        return TWKMiniDockFrameWnd::DefWindowProc(message, wParam, lParam);
    }
};
IMPLEMENT_DYNCREATE(CRecordingFloatFrame, TWKMiniDockFrameWnd)

namespace {

// Records what the floating frame asks of the drag context.
class CRecordingContext : public TWKDockContext
{
public:
    explicit CRecordingContext(CControlBar* pBar) : TWKDockContext(pBar) {}
    std::vector<std::string> calls;
    void StartDrag(CPoint pt) override { calls.push_back("drag " + Where(pt)); }
    void StartResize(int nHit, CPoint pt) override { calls.push_back("resize " + std::to_string(nHit) + " " + Where(pt)); }
    void ToggleDocking() override { calls.push_back("toggle"); }
    static std::string Where(CPoint pt) { return std::to_string(pt.x) + "," + std::to_string(pt.y); }
};

// Counts its before- and after-hooks.
class CHookBar : public TWKControlBar
{
public:
    int nBeforeFloat = 0, nAfterFloat = 0, nBeforeMDIFloat = 0, nAfterMDIFloat = 0;
    void OnBeforeFloat() override { nBeforeFloat++; }
    void OnAfterFloat() override { nAfterFloat++; }
    void OnBeforeMDIFloat() override { nBeforeMDIFloat++; }
    void OnAfterMDIFloat() override { nAfterMDIFloat++; }
    CDockContext* CreateDockContext() override { return new CRecordingContext(this); }
    CRecordingContext* Context() const { return static_cast<CRecordingContext*>(m_pDockContext); }
};

class Floating : public testing::Test
{
protected:
    vt::MainFrame f;
    void SetUp() override
    {
        ASSERT_NE(nullptr, f.p);
        f.p->m_pFloatingFrameClass = RUNTIME_CLASS(CRecordingFloatFrame);
    }
    CHookBar* Bar(UINT nID, const char* title, DWORD dwExStyle = vt::kIdeExStyle, DWORD dwDockStyle = CBRS_ALIGN_ANY)
    {
        auto* p = new CHookBar;
        p->m_bAutoDelete = TRUE;
        EXPECT_TRUE(p->Create(f.p, title, WS_CHILD | WS_VISIBLE | CBRS_TOP, dwExStyle, nID));
        p->EnableDocking(dwDockStyle);
        return p;
    }
    static CRecordingFloatFrame* FrameOf(CControlBar* pBar)
    {
        CWnd* p = pBar->m_pDockBar ? pBar->m_pDockBar->GetParent() : nullptr;
        return (p && p->IsKindOf(RUNTIME_CLASS(CRecordingFloatFrame))) ? static_cast<CRecordingFloatFrame*>(p) : nullptr;
    }
    static CRect WindowRect(CWnd* p)
    {
        CRect r;
        p->GetWindowRect(&r);
        return r;
    }
    static CRect ClientOnScreen(CWnd* p)
    {
        CRect r;
        p->GetClientRect(&r);
        p->ClientToScreen(&r);
        return r;
    }
    static std::string Text(HWND h)
    {
        char buf[300] = "";
        ::GetWindowTextA(h, buf, sizeof(buf));
        return buf;
    }
};

TEST_F(Floating, FloatingAtAPointShowsTheFrameThereAlreadySizedToTheBar)
{
    struct Case { const char* name; DWORD dwExStyle; BOOL bSizable; };
    const Case cases[] = {
        { "proportional", vt::kIdeExStyle, TRUE },
        { "fixed", vt::kIdeExStyle | CBX_FIXEDSIZE, FALSE },
    };
    UINT nID = 0xE720;
    for (const Case& c : cases) {
        CHookBar* bar = Bar(nID++, c.name, c.dwExStyle);
        f.p->FloatControlBar(bar, CPoint(100, 100));
        CRecordingFloatFrame* frame = FrameOf(bar);
        ASSERT_NE(nullptr, frame) << c.name;
        EXPECT_TRUE(frame->IsWindowVisible()) << c.name;
        EXPECT_EQ(CPoint(100, 100), WindowRect(frame).TopLeft()) << c.name;
        // One move, at the final size: the frame never shows elsewhere or smaller.
        std::vector<WINDOWPOS> moves;
        for (const WINDOWPOS& wp : frame->changes)
            if ((wp.flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
                moves.push_back(wp);
        ASSERT_EQ(1u, moves.size()) << c.name;
        EXPECT_EQ(CRect(100, 100, 100 + moves[0].cx, 100 + moves[0].cy), WindowRect(frame)) << c.name;
        EXPECT_EQ(ClientOnScreen(frame), WindowRect(bar)) << c.name;
        EXPECT_EQ(bar->m_sizeMRUFloat, WindowRect(bar).Size()) << c.name;
        // The floating frame's own dock bar: floating, not an MDI host's, the frame's child.
        auto* dock = dynamic_cast<TWKDockBar*>(bar->m_pDockBar);
        ASSERT_NE(nullptr, dock) << c.name;
        EXPECT_EQ(&frame->m_wndFloatingDockBar, dock) << c.name;
        EXPECT_TRUE(dock->m_bFloating) << c.name;
        EXPECT_FALSE(dock->m_bMDIChild) << c.name;
        EXPECT_FALSE(dock->m_bAutoDelete) << c.name;
        EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, dock->GetDlgCtrlID()) << c.name;
        EXPECT_TRUE(bar->IsFloating()) << c.name;
        EXPECT_FALSE(bar->IsInMDIChildFrame()) << c.name;
        EXPECT_EQ(std::string(c.name), Text(frame->m_hWnd)) << c.name;
        // A proportional bar's frame is sized by the user; a fixed one's only by its edges.
        DWORD dwStyle = frame->GetStyle();
        EXPECT_EQ(c.bSizable, (dwStyle & WS_THICKFRAME) != 0) << c.name;
        EXPECT_EQ(c.bSizable, (dwStyle & MFS_THICKFRAME) != 0) << c.name;
        EXPECT_EQ(!c.bSizable, (dwStyle & MFS_4THICKFRAME) != 0) << c.name;
        EXPECT_EQ(1, bar->nBeforeFloat) << c.name;
        EXPECT_EQ(1, bar->nAfterFloat) << c.name;
    }
}

TEST_F(Floating, FloatingAgainAloneInItsFrameOnlyMovesThatFrame)
{
    CHookBar* bar = Bar(0xE720, "Alone");
    f.p->FloatControlBar(bar, CPoint(100, 100));
    CRecordingFloatFrame* frame = FrameOf(bar);
    ASSERT_NE(nullptr, frame);
    HWND hFrame = frame->m_hWnd;
    CSize size = WindowRect(frame).Size();
    f.p->FloatControlBar(bar, CPoint(220, 160));
    EXPECT_EQ(frame, FrameOf(bar));
    EXPECT_TRUE(::IsWindow(hFrame));
    EXPECT_EQ(CRect(CPoint(220, 160), size), WindowRect(frame));
    EXPECT_EQ(1, bar->nBeforeFloat);
    EXPECT_EQ(1, bar->nAfterFloat);

    // A frame of another alignment is replaced, with the notifications.
    f.p->FloatControlBar(bar, CPoint(50, 60), CBRS_ALIGN_LEFT);
    EXPECT_FALSE(::IsWindow(hFrame));
    ASSERT_NE(nullptr, FrameOf(bar));
    EXPECT_EQ(CPoint(50, 60), WindowRect(FrameOf(bar)).TopLeft());
    EXPECT_EQ(2, bar->nBeforeFloat);
    EXPECT_EQ(2, bar->nAfterFloat);
}

TEST_F(Floating, SystemMenuOffersMoveAndHideWhichHidesTheBarAndTheFrame)
{
    CHookBar* bar = Bar(0xE720, "Sys");
    f.p->FloatControlBar(bar, CPoint(100, 100));
    CRecordingFloatFrame* frame = FrameOf(bar);
    ASSERT_NE(nullptr, frame);
    HMENU hSys = ::GetSystemMenu(frame->m_hWnd, FALSE);
    ASSERT_NE(nullptr, hSys);
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(hSys); i++) {
        UINT nID = ::GetMenuItemID(hSys, i);
        if (nID && nID != (UINT)-1)
            ids.push_back(nID);
    }
    // Move and "&Hide" at the end; sizing and the window states are gone (the
    // platform may add entries of its own).
    auto has = [&](UINT nID) { return std::find(ids.begin(), ids.end(), nID) != ids.end(); };
    EXPECT_TRUE(has(SC_MOVE));
    for (UINT nGone : { SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE })
        EXPECT_FALSE(has(nGone)) << nGone;
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ((UINT)SC_CLOSE, ids.back());
    char szText[64] = "";
    ::GetMenuStringA(hSys, SC_CLOSE, szText, sizeof(szText), MF_BYCOMMAND);
    EXPECT_STREQ("&Hide", szText);

    // "&Hide", a close, or the bar's own "Hide": the bar goes, and its empty frame with it.
    struct Way { const char* name; std::function<void(CWnd*)> hide; };
    const Way ways[] = {
        { "system menu", [](CWnd* p) { p->SendMessage(WM_SYSCOMMAND, SC_CLOSE); } },
        { "close", [](CWnd* p) { p->SendMessage(WM_CLOSE); } },
        { "bar's Hide", [bar](CWnd*) { bar->SendMessage(WM_COMMAND, ID_TWK_HIDEBAR); } },
    };
    for (const Way& w : ways) {
        f.p->ShowControlBar(bar, TRUE, FALSE);
        ASSERT_TRUE(frame->IsWindowVisible()) << w.name;
        w.hide(frame);
        EXPECT_FALSE(bar->IsWindowVisible()) << w.name;
        EXPECT_FALSE(frame->IsWindowVisible()) << w.name;
        EXPECT_EQ(frame, FrameOf(bar)) << w.name;
    }
    // Shown again through its own frame, the frame comes back too.
    frame->ShowControlBar(bar, TRUE, FALSE);
    EXPECT_TRUE(frame->IsWindowVisible());
}

TEST_F(Floating, LastBarLeavingEndsTheFrameAHiddenOtherKeepsItHidden)
{
    CHookBar* first = Bar(0xE720, "First");
    CHookBar* second = Bar(0xE721, "Second");
    f.p->FloatControlBar(first, CPoint(100, 100));
    CRecordingFloatFrame* frame = FrameOf(first);
    ASSERT_NE(nullptr, frame);
    HWND hFrame = frame->m_hWnd;
    // Two bars share the frame; hiding one leaves it for the other.
    frame->m_wndFloatingDockBar.DockControlBar(second, nullptr);
    EXPECT_EQ(frame, FrameOf(second));
    frame->ShowControlBar(second, FALSE, FALSE);
    EXPECT_TRUE(frame->IsWindowVisible());
    // The visible one docks in the main frame: the hidden one keeps a hidden frame.
    f.p->DockControlBar(first, f.Dock(AFX_IDW_DOCKBAR_TOP));
    EXPECT_TRUE(::IsWindow(hFrame));
    EXPECT_FALSE(::IsWindowVisible(hFrame));
    EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_TOP), first->m_pDockBar);
    // The last bar leaves: the frame is gone, and its dock bar with it.
    f.p->DockControlBar(second, f.Dock(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_BOTTOM), second->m_pDockBar);
    EXPECT_FALSE(second->IsFloating());
}

TEST_F(Floating, AClickInsideAFrameBehindAnotherBringsItToTheFrontWithoutActivating)
{
    CHookBar* back = Bar(0xE720, "Back");
    CHookBar* front = Bar(0xE721, "Front");
    f.p->FloatControlBar(back, CPoint(100, 100));
    f.p->FloatControlBar(front, CPoint(120, 120));
    HWND hBack = FrameOf(back)->m_hWnd, hFront = FrameOf(front)->m_hWnd;
    auto above = [](HWND hUpper, HWND hLower) {
        for (HWND h = ::GetWindow(hUpper, GW_HWNDNEXT); h; h = ::GetWindow(h, GW_HWNDNEXT))
            if (h == hLower)
                return true;
        return false;
    };
    ::SetWindowPos(hFront, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(above(hFront, hBack));
    HWND hActive = ::GetActiveWindow();
    ::SendMessageA(hBack, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), MAKELPARAM(10, 10));
    EXPECT_TRUE(above(hBack, hFront));
    EXPECT_EQ(hActive, ::GetActiveWindow());
    // Any other child event changes nothing.
    ::SendMessageA(hFront, WM_PARENTNOTIFY, MAKEWPARAM(WM_MOUSEMOVE, 0), MAKELPARAM(10, 10));
    EXPECT_TRUE(above(hBack, hFront));
}

TEST_F(Floating, CaptionAndFrameStartTheBarsDragUnlessTheFrameHoldsSeveralBars)
{
    CHookBar* single = Bar(0xE720, "Single");
    CHookBar* multi = Bar(0xE721, "Multi", vt::kIdeExStyle, CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    f.p->FloatControlBar(single, CPoint(100, 100));
    f.p->FloatControlBar(multi, CPoint(300, 100));
    CRecordingFloatFrame* singleFrame = FrameOf(single);
    CRecordingFloatFrame* multiFrame = FrameOf(multi);
    ASSERT_TRUE(singleFrame && multiFrame);
    EXPECT_FALSE(singleFrame->m_wndFloatingDockBar.GetBarStyle() & CBRS_FLOAT_MULTI);
    EXPECT_TRUE(multiFrame->m_wndFloatingDockBar.GetBarStyle() & CBRS_FLOAT_MULTI);

    struct Case { UINT message; UINT nHit; std::string single; std::string multi; };
    const Case cases[] = {
        { WM_NCLBUTTONDOWN, HTCAPTION, "drag 150,105", "" },
        { WM_NCLBUTTONDOWN, HTBOTTOMLEFT, "resize 16 150,105", "resize 16 150,105" },
        { WM_NCLBUTTONDOWN, HTRIGHT, "resize 11 150,105", "resize 11 150,105" },
        { WM_NCLBUTTONDBLCLK, HTCAPTION, "toggle", "" },
    };
    for (const Case& c : cases) {
        for (CHookBar* bar : { single, multi }) {
            CRecordingFloatFrame* frame = FrameOf(bar);
            bar->Context()->calls.clear();
            frame->defaulted.clear();
            frame->SendMessage(c.message, c.nHit, MAKELPARAM(150, 105));
            const std::string& want = bar == single ? c.single : c.multi;
            std::string got = bar->Context()->calls.empty() ? "" : bar->Context()->calls.back();
            EXPECT_EQ(want, got) << c.message << " " << c.nHit << " " << Text(frame->m_hWnd);
            EXPECT_LE(bar->Context()->calls.size(), 1u);
            // What the drag context does not take is the system's: moving the frame as a
            // whole; a double click is passed on after the toggle as well.
            bool bDefault = !frame->defaulted.empty();
            EXPECT_EQ(want.empty() || c.message == WM_NCLBUTTONDBLCLK, bDefault) << c.message << " " << c.nHit;
        }
    }
}

// ---- floating in the main window

class FloatingInMain : public Floating
{
protected:
    CRect ClientArea() const
    {
        CRect r;
        ::GetWindowRect(f.p->m_hWndMDIClient, &r);
        return r;
    }
    // The host's place in the MDI client.
    CPoint HostPos(CWnd* pHost) const
    {
        CRect r = WindowRect(pHost);
        ::MapWindowPoints(nullptr, f.p->m_hWndMDIClient, reinterpret_cast<LPPOINT>(&r), 2);
        return r.TopLeft();
    }
    static TWKControlBarMDIChildWnd* HostOf(CControlBar* pBar)
    {
        CFrameWnd* p = pBar->m_pDockBar ? pBar->m_pDockBar->GetParentFrame() : nullptr;
        return (p && p->IsKindOf(RUNTIME_CLASS(TWKControlBarMDIChildWnd))) ? static_cast<TWKControlBarMDIChildWnd*>(p)
                                                                          : nullptr;
    }
};

TEST_F(FloatingInMain, HostsWithoutAPlaceCascadeAndStartAgainPastTheClientArea)
{
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TWK_BARHOST));
    ASSERT_NE(nullptr, hIcon);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hIcon, &info));
    BITMAP bm = {};
    ::GetObjectA(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(32, bm.bmWidth);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    int cx = ClientArea().Width(), cy = ClientArea().Height();
    struct Step { CPoint ptCascade; CPoint ptHost; };   // cascade set first when x >= 0
    const Step steps[] = {
        { CPoint(-1, -1), CPoint(30, 30) },
        { CPoint(-1, -1), CPoint(50, 53) },
        { CPoint(-1, -1), CPoint(70, 76) },
        { CPoint(cx - 40, 40), CPoint(cx - 40, 40) },   // the next x passes the extent less 30
        { CPoint(-1, -1), CPoint(30, 63) },
        { CPoint(100, cy - 35), CPoint(100, cy - 35) },   // the next y does
        { CPoint(-1, -1), CPoint(120, 30) },
    };
    UINT nID = 0xE720;
    for (const Step& st : steps) {
        if (st.ptCascade.x >= 0)
            f.p->m_ptCascade = st.ptCascade;
        std::string name = "Host" + std::to_string(nID);
        CHookBar* bar = Bar(nID++, name.c_str());
        f.p->FloatControlBarAsMDIChild(bar, CPoint(-1, -1), CBRS_ALIGN_TOP);
        TWKControlBarMDIChildWnd* host = HostOf(bar);
        ASSERT_NE(nullptr, host) << name;
        EXPECT_EQ(st.ptHost, HostPos(host)) << name;
        EXPECT_TRUE(host->IsWindowVisible()) << name;
        EXPECT_EQ(name, Text(host->m_hWnd));
        // The host's dock bar: floating, an MDI host's, its own child; the bar floats in it.
        EXPECT_EQ(&host->m_wndDockBar, bar->m_pDockBar) << name;
        EXPECT_TRUE(host->m_wndDockBar.m_bFloating);
        EXPECT_TRUE(host->m_wndDockBar.m_bMDIChild);
        EXPECT_FALSE(host->m_wndDockBar.m_bAutoDelete);
        EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, host->m_wndDockBar.GetDlgCtrlID());
        EXPECT_EQ(host->m_hWnd, ::GetParent(host->m_wndDockBar.m_hWnd));
        EXPECT_FALSE(host->GetExStyle() & WS_EX_CLIENTEDGE);
        // The host's own resource is an icon, which its window class shows.
        EXPECT_EQ((UINT)IDR_TWK_BARHOST, host->m_nIDHelp);
        EXPECT_NE(0u, ::GetClassLongPtrA(host->m_hWnd, GCLP_HICON));
        EXPECT_TRUE(bar->IsFloating());
        EXPECT_TRUE(bar->IsInMDIChildFrame());
        EXPECT_EQ(1, bar->nBeforeMDIFloat) << name;
        EXPECT_EQ(1, bar->nAfterMDIFloat) << name;
        EXPECT_EQ(0, bar->nBeforeFloat + bar->nAfterFloat) << name;
    }
}

TEST_F(FloatingInMain, APlaceOnTheScreenIsTakenInTheClientAreaAndKeptInsideIt)
{
    CRect rectArea = ClientArea();
    CPoint ptOrigin(0, 0);
    ::ClientToScreen(f.p->m_hWndMDIClient, &ptOrigin);
    struct Case { CPoint ptScreen; CPoint ptHost; };
    const Case cases[] = {
        { ptOrigin + CPoint(100, 80), CPoint(100, 80) },
        { CPoint(rectArea.right + 500, rectArea.bottom + 500), CPoint(rectArea.Width(), rectArea.Height() - 30) },
        { CPoint(ptOrigin.x + 10, rectArea.bottom - 10), CPoint(10, rectArea.Height() - 30) },
    };
    UINT nID = 0xE720;
    for (const Case& c : cases) {
        CHookBar* bar = Bar(nID++, "Placed");
        f.p->FloatControlBarAsMDIChild(bar, c.ptScreen, CBRS_ALIGN_TOP);
        ASSERT_NE(nullptr, HostOf(bar));
        EXPECT_EQ(c.ptHost, HostPos(HostOf(bar))) << c.ptScreen.x << "," << c.ptScreen.y;
    }
    EXPECT_EQ(CPoint(30, 30), f.p->m_ptCascade);
}

TEST_F(FloatingInMain, TheHostFollowsTheBarAndTheBarFollowsTheHost)
{
    CHookBar* bar = Bar(0xE720, "Followed");
    HICON hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    bar->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon);
    f.p->FloatControlBarAsMDIChild(bar, CPoint(-1, -1), CBRS_ALIGN_TOP);
    TWKControlBarMDIChildWnd* host = HostOf(bar);
    ASSERT_NE(nullptr, host);
    HWND hHost = host->m_hWnd;
    EXPECT_EQ(hIcon, (HICON)host->SendMessage(WM_GETICON, ICON_BIG));
    // Laid out again, the host keeps its size: its own fit is no request of the user.
    CSize sizeHost = WindowRect(host).Size();
    CSize sizeFloat = bar->m_sizeMRUFloat;
    host->RecalcLayout();
    host->RecalcLayout();
    EXPECT_EQ(sizeHost, WindowRect(host).Size());
    EXPECT_EQ(sizeFloat, bar->m_sizeMRUFloat);

    // Resized by the user: the client size plus the borders is the bar's floating size.
    CRect rectClient;
    host->GetClientRect(&rectClient);
    CSize sizeFrame = WindowRect(host).Size() - rectClient.Size();
    host->SetWindowPos(nullptr, 0, 0, 260, 190, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(CSize(260 - sizeFrame.cx + 2 * twkAuxData.cxBorder, 190 - sizeFrame.cy + 2 * twkAuxData.cyBorder),
              bar->m_sizeMRUFloat);

    // Moved: the drag context remembers where it floats.
    host->SetWindowPos(nullptr, 44, 55, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(host).TopLeft(), bar->m_pDockContext->m_ptMRUFloatPos);

    // Closed: the bar is hidden, the host stays (hidden with it).
    host->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(hHost));
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_FALSE(host->IsWindowVisible());
    EXPECT_EQ(host, HostOf(bar));

    // Shown again it comes back, and the MDI client is told to refresh its Window menu.
    MSG msg;
    while (::PeekMessageA(&msg, f.p->m_hWndMDIClient, WM_MDIREFRESHMENU, WM_MDIREFRESHMENU, PM_REMOVE)) {
    }
    f.p->ShowControlBar(bar, TRUE, FALSE);
    EXPECT_TRUE(host->IsWindowVisible());
    EXPECT_TRUE(::PeekMessageA(&msg, f.p->m_hWndMDIClient, WM_MDIREFRESHMENU, WM_MDIREFRESHMENU, PM_REMOVE));
}

TEST_F(FloatingInMain, AHostedBarMovesWithItsHostOrLeavesItForAFloatingFrameOrADockBar)
{
    CHookBar* bar = Bar(0xE720, "Moving");
    f.p->FloatControlBarAsMDIChild(bar, CPoint(-1, -1), CBRS_ALIGN_TOP);
    TWKControlBarMDIChildWnd* host = HostOf(bar);
    ASSERT_NE(nullptr, host);
    HWND hHost = host->m_hWnd;
    // Alone in a host of the same alignment: only the host moves (the bar is
    // told before, but no float in the main window follows).
    CPoint ptScreen(0, 0);
    ::ClientToScreen(f.p->m_hWndMDIClient, &ptScreen);
    f.p->FloatControlBarAsMDIChild(bar, ptScreen + CPoint(90, 70), CBRS_ALIGN_LEFT);
    EXPECT_EQ(host, HostOf(bar));
    EXPECT_EQ(CPoint(90, 70), HostPos(host));
    EXPECT_EQ(2, bar->nBeforeMDIFloat);
    EXPECT_EQ(1, bar->nAfterMDIFloat);

    // Floated: a floating frame of its own, the empty host is gone.
    f.p->FloatControlBar(bar, CPoint(300, 200));
    EXPECT_FALSE(::IsWindow(hHost));
    ASSERT_NE(nullptr, FrameOf(bar));
    EXPECT_FALSE(bar->IsInMDIChildFrame());
    EXPECT_EQ(1, bar->nAfterFloat);

    // Back into the main window, then docked.
    HWND hFrame = FrameOf(bar)->m_hWnd;
    f.p->FloatControlBarAsMDIChild(bar, CPoint(-1, -1), CBRS_ALIGN_TOP);
    EXPECT_FALSE(::IsWindow(hFrame));
    ASSERT_NE(nullptr, HostOf(bar));
    hHost = HostOf(bar)->m_hWnd;
    EXPECT_EQ(2, bar->nAfterMDIFloat);
    EXPECT_EQ(3, bar->nBeforeMDIFloat);
    f.p->DockControlBar(bar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(::IsWindow(hHost));
    EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_LEFT), bar->m_pDockBar);
    EXPECT_FALSE(bar->IsFloating());
}

} // namespace
