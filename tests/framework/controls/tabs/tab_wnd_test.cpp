#include <algorithm>
#include <gtest/gtest.h>
#include "framework/controls/tabs/TWKTabWnd.h"
#include "tests/framework/controls/tabs/tab_test_support.h"
#include "tests/harness/harness.h"

using tabtest::CRecorder;

// A page that records the scroll messages it gets.
class CTestPage : public CWnd
{
    DECLARE_DYNCREATE(CTestPage)
public:
    std::vector<MSG> scrolls;
protected:
    afx_msg LRESULT OnScrollMsg(WPARAM wParam, LPARAM lParam)
    {
        MSG m = {};
        m.message = GetCurrentMessage()->message;
        m.wParam = wParam;
        m.lParam = lParam;
        scrolls.push_back(m);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestPage, CWnd)
BEGIN_MESSAGE_MAP(CTestPage, CWnd)
    ON_MESSAGE(WM_HSCROLL, OnScrollMsg)
    ON_MESSAGE(WM_VSCROLL, OnScrollMsg)
END_MESSAGE_MAP()

// A window class whose objects cannot be made from the runtime class.
class CUnmadePage : public CWnd
{
    DECLARE_DYNAMIC(CUnmadePage)
};
IMPLEMENT_DYNAMIC(CUnmadePage, CWnd)

// Made from its runtime class, but no window.
class CNotAWindow : public CObject
{
    DECLARE_DYNCREATE(CNotAWindow)
};
IMPLEMENT_DYNCREATE(CNotAWindow, CObject)

namespace {

const UINT kTabWndId = 77;

class TabWnd : public ::testing::Test
{
protected:
    CRecorder parent;
    TWKTabWnd tabs;

    void Make(DWORD dwExStyle = 0, int cx = 400, int cy = 200)
    {
        ASSERT_TRUE(parent.CreateTop(cx + 20, cy + 20, dwExStyle));
        ASSERT_TRUE(tabs.Create(&parent, WS_CHILD | WS_VISIBLE | 0x2, kTabWndId));
        tabs.MoveWindow(0, 0, cx, cy);
    }
    CTestPage* Page(int nIndex)
    {
        LPCTSTR label;
        BOOL sel;
        CWnd* pWnd = nullptr;
        void* extra;
        return tabs.GetTabInfo(nIndex, label, sel, pWnd, extra) ? static_cast<CTestPage*>(pWnd) : nullptr;
    }
    CTestPage* AddPage(LPCTSTR label)
    {
        TWKTab* pTab = tabs.AddTab(RUNTIME_CLASS(CTestPage), label, nullptr);
        return pTab ? static_cast<CTestPage*>(pTab->m_pClient) : nullptr;
    }
    CRect ChildRect(CWnd* pWnd) { return tabtest::ChildRect(tabs, pWnd); }
    CRect Inside()
    {
        CRect rc;
        tabs.GetInsideRect(&rc);
        return rc;
    }
    CRect Splitter()
    {
        CRect rc;
        tabs.GetSplitterRect(&rc);
        return rc;
    }
    CWnd* Bar(UINT nID) { return tabs.GetDlgItem(nID); }
    void Drag(int xFrom, int xTo)
    {
        int y = Splitter().top + 2;
        tabs.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xFrom, y));
        tabs.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(xTo, y));
        tabs.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(xTo, y));
        vt::PumpMessages();
    }
};

TEST_F(TabWnd, PagesMadeFromRuntimeClassesGetTheirIds)
{
    Make();
    ASSERT_NE(AddPage("One"), nullptr);
    ASSERT_NE(AddPage("Two"), nullptr);
    ASSERT_NE(tabs.InsertTab(RUNTIME_CLASS(CTestPage), 0, "Front", nullptr), nullptr);
    ASSERT_NE(tabs.AddTab(RUNTIME_CLASS(CTestPage), "Own id", nullptr, 500), nullptr);
    ASSERT_EQ(tabs.GetTabCount(), 4);
    EXPECT_EQ(Page(0)->GetDlgCtrlID(), 60162);
    EXPECT_EQ(Page(1)->GetDlgCtrlID(), 60160);
    EXPECT_EQ(Page(2)->GetDlgCtrlID(), 60161);
    EXPECT_EQ(Page(3)->GetDlgCtrlID(), 500);
    EXPECT_EQ(Page(0)->GetParent(), &tabs);
    EXPECT_EQ(tabs.GetTabControl()->GetDlgCtrlID(), 59952);

    // Classes whose page cannot be made add no tab.
    EXPECT_EQ(tabs.AddTab(RUNTIME_CLASS(CUnmadePage), "No", nullptr), nullptr);
    EXPECT_EQ(tabs.AddTab(RUNTIME_CLASS(CNotAWindow), "No", nullptr), nullptr);
    EXPECT_EQ(tabs.InsertTab(RUNTIME_CLASS(CTestPage), 9, "Past the end", nullptr), nullptr);
    EXPECT_EQ(tabs.GetTabCount(), 4);
}

TEST_F(TabWnd, ActivationReachesTheNotifyWindowWithTheTabWindowsId)
{
    Make();
    CTestPage* a = AddPage("Alpha");
    CTestPage* b = AddPage("Beta");
    // The first page added came up by itself.
    ASSERT_EQ(parent.notices.size(), 1u);
    tabtest::ExpectActivation(parent.notices[0], kTabWndId, 0, -1, a, nullptr);
    tabs.ActivateTab(1);
    ASSERT_EQ(parent.notices.size(), 2u);
    tabtest::ExpectActivation(parent.notices[1], kTabWndId, 1, 0, b, a);
    EXPECT_TRUE(b->IsWindowVisible());
    EXPECT_FALSE(a->IsWindowVisible());
    CWnd* pActive = nullptr;
    ASSERT_TRUE(tabs.GetActiveTabWnd(pActive));
    EXPECT_EQ(pActive, b);
    EXPECT_EQ(ChildRect(b), Inside());

    // By page, and by a click in the strip.
    tabs.ActivateTab(a);
    EXPECT_TRUE(a->IsWindowVisible());
    EXPECT_FALSE(b->IsWindowVisible());
    TWKTabControl* pCtrl = static_cast<TWKTabControl*>(tabs.GetTabControl());
    CRgn rgn;
    ASSERT_TRUE(pCtrl->GetTabRgn(1, rgn));
    CRect box;
    rgn.GetRgnBox(&box);
    pCtrl->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(box.CenterPoint().x, box.CenterPoint().y));
    EXPECT_TRUE(b->IsWindowVisible());
    EXPECT_FALSE(a->IsWindowVisible());
    ASSERT_EQ(parent.notices.size(), 4u);
    tabtest::ExpectActivation(parent.notices[3], kTabWndId, 1, 0, b, a);
}

// Pages of one colour each, made visible over a part of the tab window as a
// caller makes them.
class CColourPage : public CWnd
{
public:
    BOOL Make(CWnd* pParent, COLORREF clr, UINT nID)
    {
        m_brush.CreateSolidBrush(clr);
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)m_brush.m_hObject), "", WS_CHILD | WS_VISIBLE,
                        10, 10, 60, 40, pParent->m_hWnd, (HMENU)(UINT_PTR)nID);
    }
private:
    CBrush m_brush;
};

// The pixels of a window's client rectangle that are not clr, after it and its children painted.
int PixelsOtherThan(CWnd& wnd, const CRect& rc, COLORREF clr)
{
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    vt::PumpMessages();
    CClientDC screen(&wnd);
    CDC mem;
    mem.CreateCompatibleDC(&screen);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&screen, rc.Width(), rc.Height());
    CBitmap* pOld = mem.SelectObject(&bmp);
    mem.BitBlt(0, 0, rc.Width(), rc.Height(), &screen, rc.left, rc.top, SRCCOPY);
    int n = 0;
    for (int y = 0; y < rc.Height(); y++)
        for (int x = 0; x < rc.Width(); x++)
            if (mem.GetPixel(x, y) != clr)
                n++;
    mem.SelectObject(pOld);
    return n;
}

TEST_F(TabWnd, FirstPageFillsThePageAreaAndLaterPagesWaitHidden)
{
    const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);
    Make(0, 300, 160);
    CColourPage red, blue, green;
    ASSERT_TRUE(red.Make(&tabs, kRed, 301));
    ASSERT_TRUE(blue.Make(&tabs, kBlue, 302));
    ASSERT_TRUE(green.Make(&tabs, kGreen, 303));
    HWND hFocus = ::GetFocus();
    tabs.AddTab(&red, "Red");
    tabs.AddTab(&blue, "Blue");
    tabs.InsertTab(&green, 0, "Green");
    EXPECT_EQ(hFocus, ::GetFocus());   // adding tabs moves no focus
    int nActive = -1;
    ASSERT_TRUE(tabs.GetActiveTabIndex(nActive));
    EXPECT_EQ(1, nActive);
    CWnd* pActive = nullptr;
    ASSERT_TRUE(tabs.GetActiveTabWnd(pActive));
    EXPECT_EQ(&red, pActive);
    EXPECT_TRUE(red.IsWindowVisible());
    EXPECT_FALSE(blue.IsWindowVisible());
    EXPECT_FALSE(green.IsWindowVisible());
    EXPECT_EQ(Inside(), ChildRect(&red));
    EXPECT_EQ(0, PixelsOtherThan(tabs, Inside(), kRed));

    // Resized, the page area still shows the first page and nothing else.
    parent.MoveWindow(20, 20, 520, 320);
    tabs.MoveWindow(0, 0, 500, 300);
    EXPECT_EQ(Inside(), ChildRect(&red));
    EXPECT_EQ(0, PixelsOtherThan(tabs, Inside(), kRed));

    // Another page brought up the same way.
    tabs.ActivateTab(&blue);
    tabs.MoveWindow(0, 0, 400, 250);
    EXPECT_FALSE(red.IsWindowVisible());
    EXPECT_EQ(0, PixelsOtherThan(tabs, Inside(), kBlue));
}

TEST_F(TabWnd, WindowsThatAreNoPagesAndIndexesPastTheTabsAreIgnored)
{
    Make();
    CTestPage* a = AddPage("Alpha");
    AddPage("Beta");
    tabs.ActivateTab(a);
    parent.notices.clear();
    CWnd stranger;
    ASSERT_TRUE(stranger.Create(nullptr, "Stranger", WS_CHILD, CRect(0, 0, 10, 10), &parent, 5));

    tabs.DeleteTab(&stranger);
    tabs.RenameTab(&stranger, "Renamed");
    tabs.ActivateTab(&stranger);
    tabs.ScrollToTab(&stranger);
    for (int n : { -1, 2, 50 })
    {
        tabs.DeleteTab(n);
        tabs.RenameTab(n, "Renamed");
        tabs.ActivateTab(n);
        tabs.ScrollToTab(n);
        tabs.SetScrollStyle(n < 0 ? n : 0, WS_HSCROLL);
        tabs.SetScrollStyle(0, 0);
    }
    EXPECT_EQ(tabs.GetTabCount(), 2);
    EXPECT_STREQ(tabs.GetTabControl()->GetTab(0)->m_csLabel, "Alpha");
    EXPECT_STREQ(tabs.GetTabControl()->GetTab(1)->m_csLabel, "Beta");
    EXPECT_TRUE(parent.notices.empty());
    CWnd* pActive = nullptr;
    ASSERT_TRUE(tabs.GetActiveTabWnd(pActive));
    EXPECT_EQ(pActive, a);
    EXPECT_EQ(tabs.GetScrollBar(0, &stranger), nullptr);
    EXPECT_EQ(tabs.GetScrollBar(2, a), nullptr);
}

TEST_F(TabWnd, DeletingTabsKeepsTheActivePageRight)
{
    Make();
    CTestPage* a = AddPage("Alpha");
    CTestPage* b = AddPage("Beta");
    CTestPage* c = AddPage("Gamma");
    tabs.ActivateTab(c);

    // A tab in front of the active one: the active page and its index stay right.
    parent.notices.clear();
    tabs.DeleteTab(a);
    EXPECT_TRUE(parent.notices.empty());
    int nIndex = -1;
    ASSERT_TRUE(tabs.GetActiveTabIndex(nIndex));
    EXPECT_EQ(nIndex, 1);
    CWnd* pActive = nullptr;
    ASSERT_TRUE(tabs.GetActiveTabWnd(pActive));
    EXPECT_EQ(pActive, c);
    tabs.ActivateTab(1);
    EXPECT_TRUE(parent.notices.empty());

    // The active tab: its neighbour comes up, the removed page is left as it is.
    tabs.DeleteTab(c);
    ASSERT_TRUE(tabs.GetActiveTabWnd(pActive));
    EXPECT_EQ(pActive, b);
    EXPECT_TRUE(b->IsWindowVisible());
    EXPECT_TRUE(c->IsWindowVisible());

    // The last one: no active page, the page stays visible.
    tabs.DeleteTab(0);
    EXPECT_EQ(tabs.GetTabCount(), 0);
    EXPECT_FALSE(tabs.GetActiveTabWnd(pActive));
    EXPECT_TRUE(b->IsWindowVisible());
}

TEST_F(TabWnd, SharedScrollBarsFollowTheActivePage)
{
    Make();
    CTestPage* both = AddPage("Both");
    CTestPage* none = AddPage("None");
    tabs.SetScrollStyle(0, WS_HSCROLL | WS_VSCROLL);
    tabs.ActivateTab(both);
    CWnd* pH = Bar(TWK_IDW_HSCROLL);
    CWnd* pV = Bar(TWK_IDW_VSCROLL);
    ASSERT_NE(pH, nullptr);
    ASSERT_NE(pV, nullptr);
    EXPECT_EQ(tabs.GetScrollBar(0), pH);
    EXPECT_EQ(tabs.GetScrollBar(1), pV);
    EXPECT_TRUE(pH->IsWindowVisible());
    EXPECT_TRUE(pV->IsWindowVisible());
    CRect client;
    tabs.GetClientRect(&client);
    int cyStrip = ::GetSystemMetrics(SM_CYHSCROLL), cxV = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(ChildRect(both), CRect(0, 0, client.right - cxV, client.bottom - cyStrip));
    EXPECT_EQ(ChildRect(pV), CRect(client.right - cxV, 0, client.right, client.bottom - cyStrip));

    SCROLLINFO si = { sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 40, 0 };
    ::SetScrollInfo(pH->m_hWnd, SB_CTL, &si, TRUE);
    si.nPos = 7;
    ::SetScrollInfo(pV->m_hWnd, SB_CTL, &si, TRUE);

    tabs.ActivateTab(none);
    EXPECT_FALSE(pH->IsWindowVisible());
    EXPECT_FALSE(pV->IsWindowVisible());
    EXPECT_EQ(tabs.GetScrollBar(0), nullptr);
    EXPECT_EQ(ChildRect(none), CRect(0, 0, client.right, client.bottom - cyStrip));
    ::SetScrollPos(pH->m_hWnd, SB_CTL, 0, TRUE);

    tabs.ActivateTab(both);
    EXPECT_TRUE(pH->IsWindowVisible());
    EXPECT_EQ(::GetScrollPos(pH->m_hWnd, SB_CTL), 40);
    EXPECT_EQ(::GetScrollPos(pV->m_hWnd, SB_CTL), 7);

    // The bars' messages reach the active page as they were.
    WPARAM w = MAKEWPARAM(SB_THUMBPOSITION, 33);
    tabs.SendMessage(WM_HSCROLL, w, (LPARAM)pH->m_hWnd);
    tabs.SendMessage(WM_VSCROLL, SB_LINEDOWN, (LPARAM)pV->m_hWnd);
    ASSERT_EQ(both->scrolls.size(), 2u);
    EXPECT_EQ(both->scrolls[0].message, (UINT)WM_HSCROLL);
    EXPECT_EQ(both->scrolls[0].wParam, w);
    EXPECT_EQ(both->scrolls[0].lParam, (LPARAM)pH->m_hWnd);
    EXPECT_EQ(both->scrolls[1].message, (UINT)WM_VSCROLL);
    EXPECT_EQ(both->scrolls[1].wParam, (WPARAM)SB_LINEDOWN);
    EXPECT_TRUE(none->scrolls.empty());
}

TEST_F(TabWnd, SplitterDragStopsShortOfTheRightAndAtZero)
{
    Make();
    CTestPage* a = AddPage("Alpha");
    tabs.SetScrollStyle(0, WS_HSCROLL);
    tabs.ActivateTab(a);
    tabs.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 200));
    CRect inside = Inside();
    EXPECT_EQ(Splitter().left, inside.right - 60);

    Drag(Splitter().left + 2, 10000);
    EXPECT_EQ(Splitter().left, inside.right - 60);
    Drag(Splitter().left + 2, 150);
    EXPECT_EQ(Splitter().left, 150 - 2 - 1);
    EXPECT_EQ(ChildRect(tabs.GetTabControl()).Width(), 147);
    EXPECT_EQ(ChildRect(Bar(TWK_IDW_HSCROLL)).left, Splitter().right);
    Drag(Splitter().left + 2, -40);
    EXPECT_EQ(Splitter().left, inside.left);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Over the splitter the window shows the splitter cursor.
    CRect split = Splitter();
    tabs.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(split.left + 2, split.top + 2));
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    tabs.SendMessage(WM_SETCURSOR, (WPARAM)tabs.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HCURSOR hSplit = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(30980));
    EXPECT_EQ(::GetCursor(), hSplit ? hSplit : ::LoadCursor(nullptr, IDC_SIZEWE));

    // A press away from the splitter starts nothing.
    Drag(Splitter().right + 30, 200);
    EXPECT_EQ(Splitter().left, inside.left);
}

TEST_F(TabWnd, NarrowWindowKeepsTheSplitterAtZero)
{
    Make(0, 50, 100);
    CTestPage* a = AddPage("Alpha");
    tabs.SetScrollStyle(0, WS_HSCROLL);
    tabs.ActivateTab(a);
    tabs.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 100));
    EXPECT_EQ(Splitter().left, 0);
    Drag(Splitter().left + 2, 40);
    EXPECT_EQ(Splitter().left, 0);
}

// A window narrowed for a moment (a frame being laid out, a bar docked beside it) gives the
// tabs their room back when it grows again, up to where the first size or the last drag put them.
TEST_F(TabWnd, TheSplitterComesBackWhenANarrowedWindowGrows)
{
    Make();
    CTestPage* a = AddPage("Alpha");
    tabs.SetScrollStyle(0, WS_HSCROLL);
    tabs.ActivateTab(a);
    tabs.MoveWindow(0, 0, 400, 200);
    const int xFirst = Splitter().left;
    for (int cx : { 4, 30, 200 })
    {
        tabs.MoveWindow(0, 0, cx, 200);
        EXPECT_EQ(Splitter().left, std::max<LONG>(Inside().right - 60, 0)) << cx;
        tabs.MoveWindow(0, 0, 400, 200);
        EXPECT_EQ(Splitter().left, xFirst) << cx;
        EXPECT_EQ(ChildRect(tabs.GetTabControl()).Width(), xFirst) << cx;
    }
    Drag(Splitter().left + 2, 150);
    tabs.MoveWindow(0, 0, 100, 200);
    tabs.MoveWindow(0, 0, 400, 200);
    EXPECT_EQ(Splitter().left, 147);
}

TEST_F(TabWnd, ClientEdgeMovesFromTheParentToTheTabWindow)
{
    Make(WS_EX_CLIENTEDGE);
    EXPECT_FALSE(parent.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(tabs.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(tabs.GetStyle() & 0x3);   // the tab-style bits are not window styles
}

TEST_F(TabWnd, FailedTabControlFailsCreateAndTakesTheWindowAway)
{
    ASSERT_TRUE(parent.CreateTop(200, 100));
    TWKTabWndBase bare;   // makes no control
    EXPECT_FALSE(bare.Create(&parent, WS_CHILD | WS_VISIBLE, 3));
    EXPECT_EQ(bare.m_hWnd, nullptr);
    EXPECT_EQ(parent.GetDlgItem(3), nullptr);

    // The seven-argument form is the same creation.
    TWK2DTabWnd two;
    ASSERT_TRUE(two.Create("ignored", "ignored", WS_CHILD | WS_VISIBLE, CRect(1, 2, 3, 4), &parent, 4));
    EXPECT_EQ(two.GetNotifyWnd(), &parent);
    EXPECT_NE(two.GetTabControl(), nullptr);
    EXPECT_TRUE(two.IsKindOf(RUNTIME_CLASS(TWKTabWnd)));
}

} // namespace

// A view page: activating its tab makes it the frame's active view.
class CTestView : public CView
{
    DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CTestView, CView)

namespace {

TEST(TabWndViews, ActivatingAViewPageMakesItTheFramesActiveView)
{
    CFrameWnd* pFrame = new CFrameWnd;   // deletes itself with its window
    ASSERT_TRUE(pFrame->Create(nullptr, "Views", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 410, 310)));
    TWKTabWnd* pTabs = new TWKTabWnd;
    ASSERT_TRUE(pTabs->Create(pFrame, WS_CHILD | WS_VISIBLE, 60));
    pTabs->MoveWindow(0, 0, 380, 250);
    TWKTab* pFirst = pTabs->AddTab(RUNTIME_CLASS(CTestView), "First", nullptr);
    TWKTab* pSecond = pTabs->AddTab(RUNTIME_CLASS(CTestView), "Second", nullptr);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    CView* pView1 = static_cast<CView*>(pFirst->m_pClient);
    CView* pView2 = static_cast<CView*>(pSecond->m_pClient);

    pTabs->ActivateTab(1);
    EXPECT_EQ(pFrame->GetActiveView(), pView2);
    pTabs->ActivateTab(pView1);
    EXPECT_EQ(pFrame->GetActiveView(), pView1);
    EXPECT_FALSE(pView2->IsWindowVisible());

    pFrame->DestroyWindow();   // the views go with it
    delete pTabs;
}

} // namespace
