#include <gtest/gtest.h>
#include "framework/controls/tabs/TWK3DTabWnd.h"
#include "framework/frameworkres.h"
#include "tests/framework/controls/tabs/tab_test_support.h"
#include "tests/harness/harness.h"
#include <string>
#include <utility>

using tabtest::CRecorder;
using tabtest::Mouse;

namespace {

class CProbe3D : public TWK3DTabControl
{
public:
    using TWK3DTabControl::MeasureStrip;
    using TWK3DTabControl::m_bFitLabels;
};

class CProbe3DWnd : public TWK3DTabWnd
{
public:
    using TWK3DTabWnd::DrawFrame;
};

struct CClient : public CObject {};

typedef std::pair<std::string, bool> LabelState;   // displayed label, labels shown

class Tab3DControl : public ::testing::Test
{
protected:
    CRecorder parent;
    CProbe3D ctrl;
    CClient clients[6];

    void SetUp() override { ASSERT_TRUE(parent.CreateTop(500, 200)); }
    void Make(DWORD dwStyle, const std::vector<const char*>& labels, int cx = 400, int cy = 30)
    {
        ASSERT_TRUE(ctrl.Create(dwStyle | WS_VISIBLE, CRect(0, 0, cx, cy), &parent, 9));
        for (size_t i = 0; i < labels.size(); i++)
            ASSERT_NE(ctrl.AddTab(labels[i], &clients[i], 0, nullptr), nullptr);
        vt::PumpMessages();
    }
    LabelState Fit(int nAvailable)
    {
        int nIcons = 0;
        int nFull = ctrl.MeasureStrip(TRUE, &nIcons);
        ctrl.FitLabels(nFull, nIcons, nAvailable);
        return LabelState((LPCSTR)ctrl.Get3DTab(0)->m_csLabel, ctrl.AreLabelsShown() != FALSE);
    }
    // The states one tab passes through while the strip narrows pixel by pixel.
    std::vector<LabelState> Shrink()
    {
        std::vector<LabelState> states;
        for (int n = ctrl.MeasureStrip(TRUE) + 20; n > 0; n--)
        {
            LabelState s = Fit(n);
            if (states.empty() || states.back() != s)
                states.push_back(s);
        }
        return states;
    }
    CPoint Center(int nIndex)
    {
        CRect rc;
        ctrl.GetTabRect(nIndex, &rc);
        return rc.CenterPoint();
    }
    int ActiveIndex()
    {
        int n = -1;
        return ctrl.GetActiveTab(n) ? n : -1;
    }
};

TEST_F(Tab3DControl, FitLabelsShortensOneCharacterAtATimeThenHides)
{
    Make(TWK3DTS_BOTTOM, { "Workspace" });
    std::vector<LabelState> expected = {
        { "Workspace", true }, { "Works...", true }, { "Work...", true }, { "Wor...", true }, { "Wo...", true },
        { "W...", true }, { "...", true }, { "..", true }, { ".", true }, { "", true }, { "", false } };
    EXPECT_EQ(Shrink(), expected);
    EXPECT_TRUE(ctrl.Get3DTab(0)->m_bTruncated);

    // A strip of nothing leaves "..." unshown; strips of a few pixels end hidden.
    EXPECT_EQ(Fit(0), LabelState("...", false));
    EXPECT_EQ(Fit(5), LabelState("", false));
    EXPECT_EQ(Fit(11), LabelState("", false));
    EXPECT_EQ(Fit(-3), LabelState("...", false));

    // Room again: the full label is back.
    EXPECT_EQ(Fit(1000), LabelState("Workspace", true));
    EXPECT_FALSE(ctrl.Get3DTab(0)->m_bTruncated);
}

TEST_F(Tab3DControl, TwoCharacterLabelNeverGetsDots)
{
    Make(TWK3DTS_TOP, { "AB" });
    std::vector<LabelState> expected = { { "AB", true }, { "A", true }, { "", true }, { "", false } };
    EXPECT_EQ(Shrink(), expected);
}

TEST_F(Tab3DControl, SeveralTabsAlwaysEndFittingOrHidden)
{
    // Short labels and one that begins with dots are the ones that could not be shortened.
    Make(TWK3DTS_BOTTOM, { "ABC", "....", "X", "Workspace", "...Tail" });
    int nFull = ctrl.MeasureStrip(TRUE);
    for (int n = nFull + 20; n >= -2; n--)
    {
        Fit(n);
        if (n <= 0)
            continue;
        bool fits = ctrl.MeasureStrip(FALSE) + 12 <= n;
        EXPECT_TRUE(fits || !ctrl.AreLabelsShown()) << "strip of " << n;
        for (int i = 0; i < 5; i++)
        {
            TWK3DTab* pTab = ctrl.Get3DTab(i);
            EXPECT_LE(pTab->m_csLabel.GetLength(), pTab->m_csFullLabel.GetLength() + 3) << "strip of " << n;
        }
    }
    // The full labels stay as given, also in what GetTabInfo reports.
    LPCTSTR label = nullptr;
    BOOL sel;
    CObject* client;
    DWORD data;
    void* extra;
    ASSERT_TRUE(ctrl.GetTabInfo(3, label, sel, client, data, extra));
    EXPECT_STREQ(label, "Workspace");
}

TEST_F(Tab3DControl, LayoutFollowsTheStripAndTheActiveTabGrowsUnless0x100)
{
    Make(TWK3DTS_BOTTOM, { "Same", "Same", "Same" });
    CRect r0, r1, r2;
    ctrl.GetTabRect(0, &r0);
    ctrl.GetTabRect(1, &r1);
    EXPECT_EQ(r0.left, 7);
    EXPECT_EQ(r0.top, 2);
    EXPECT_EQ(r0.Height(), 22);
    EXPECT_EQ(r1.left, r0.right);
    // Tab length: padding, the label in the active font, padding.
    {
        CClientDC dc(&ctrl);
        LOGFONTA lf = {};
        lf.lfHeight = 15;
        lf.lfWeight = FW_SEMIBOLD;
        lf.lfCharSet = ANSI_CHARSET;
        lf.lfPitchAndFamily = FF_SWISS;
        lstrcpyA(lf.lfFaceName, "Arial Narrow");
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* pOld = dc.SelectObject(&font);
        EXPECT_EQ(r0.Width(), 6 + dc.GetTextExtent("Same", 4).cx + 6);
        dc.SelectObject(pOld);
    }

    // A bottom tab's outline: highlight on the left, shadow inside the bottom, black on the right.
    {
        tabtest::CMemCanvas canvas(420, 40, RGB(255, 0, 255));
        CPen black(PS_SOLID, 1, RGB(0, 0, 0));
        CPen* pOld = canvas.dc.SelectObject(&black);
        ctrl.DrawTab(&canvas.dc, 0);
        canvas.dc.SelectObject(pOld);
        EXPECT_EQ(canvas.At(r0.left, r0.top + 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(canvas.At(r0.left + 5, r0.bottom - 1), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(canvas.At(r0.right, r0.top + 5), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(r0.left + 5, r0.bottom), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(r0.left + 2, r0.top + 2), ::GetSysColor(COLOR_BTNFACE));
    }

    ctrl.ActivateTab(1);
    CRect a1;
    ctrl.GetTabRect(1, &a1);
    EXPECT_EQ(a1, CRect(r1.left - 3, r1.top, r1.right + 3, r1.bottom + 3));

    CProbe3D flat;
    ASSERT_TRUE(flat.Create(TWK3DTS_BOTTOM | TWK3DTS_NOENLARGE | WS_VISIBLE, CRect(0, 40, 400, 70), &parent, 10));
    for (int i = 0; i < 3; i++)
        flat.AddTab("Same", &clients[i], 0, nullptr);
    flat.ActivateTab(1);
    flat.GetTabRect(0, &r0);
    flat.GetTabRect(1, &r1);
    flat.GetTabRect(2, &r2);
    EXPECT_EQ(r1.Size(), r0.Size());
    EXPECT_EQ(r1.left, r0.right);
    EXPECT_EQ(r2.left, r1.right);

    // An icon makes the tab 19 pixels longer; vertical strips run down the left edge.
    int cxBefore = r0.Width();
    flat.SetTabIcon(0, IDI_TWK_TEST_TABICON, 16, 16);
    ASSERT_NE(flat.Get3DTab(0)->m_hIcon, nullptr);
    flat.GetTabRect(0, &r0);
    EXPECT_EQ(r0.Width(), cxBefore + 19);
    flat.SetTabIcon(7, IDI_TWK_TEST_TABICON, 16, 16);   // no such tab: nothing
    flat.ModifyStyle(TWK3DTS_SIDES, TWK3DTS_LEFT);
    flat.GetTabRect(1, &r1);
    EXPECT_EQ(r1.Width(), 22);
    EXPECT_EQ(r1.left, 400 - 22 - 3);
    flat.GetTabRect(0, &r0);
    EXPECT_EQ(r1.top, r0.bottom);

    // Fonts: the normal and the active state only.
    ASSERT_TRUE(flat.SetTabFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)), 1, FALSE));
    EXPECT_FALSE(flat.SetTabFont(nullptr, 1, FALSE));
    EXPECT_FALSE(flat.SetTabFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)), 2, FALSE));
}

TEST_F(Tab3DControl, DisabledTabIgnoresMouseKeysAndDoubleClicks)
{
    Make(TWK3DTS_BOTTOM, { "One", "Two", "Three" });
    ctrl.ActivateTab(0);
    ctrl.EnableTab(1, FALSE);
    EXPECT_FALSE(ctrl.IsTabEnabled(1));
    EXPECT_FALSE(ctrl.IsTabEnabled(3));
    parent.notices.clear();

    Mouse(ctrl, WM_LBUTTONDOWN, Center(1));
    Mouse(ctrl, WM_LBUTTONUP, Center(1));
    Mouse(ctrl, WM_LBUTTONDBLCLK, Center(1));
    EXPECT_EQ(ActiveIndex(), 0);
    EXPECT_TRUE(parent.notices.empty());
    Mouse(ctrl, WM_LBUTTONDBLCLK, Center(2));
    ASSERT_EQ(parent.Messages(), std::vector<UINT>{ TWKTCN_DBLCLK });
    EXPECT_EQ(parent.notices[0].wParam, 2u);

    // The arrow keys step over it both ways; at the ends nothing happens.
    ctrl.SendMessage(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(ActiveIndex(), 2);
    ctrl.SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(ActiveIndex(), 2);
    ctrl.SendMessage(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(ActiveIndex(), 0);

    // A click on the active tab reports it.
    parent.notices.clear();
    Mouse(ctrl, WM_LBUTTONDOWN, Center(0));
    EXPECT_EQ(parent.Messages(), std::vector<UINT>{ TWKTCN_ACTIVETABCLICKED });

    // Enabling with the flag it already has repaints nothing.
    ctrl.UpdateWindow();
    ctrl.EnableTab(1, FALSE);
    ctrl.EnableTab(2, TRUE);
    EXPECT_FALSE(::GetUpdateRect(ctrl.m_hWnd, nullptr, FALSE));
    ctrl.EnableTab(1, TRUE);
    CRect rcUpdate, rcTab;
    ASSERT_TRUE(::GetUpdateRect(ctrl.m_hWnd, &rcUpdate, FALSE));
    ctrl.GetTabRect(1, &rcTab);
    EXPECT_EQ(rcUpdate, CRect(rcTab.left, rcTab.top, rcTab.right + 1, rcTab.bottom + 1));
}

TEST_F(Tab3DControl, DraggingOverAWiderNeighbourDoesNotSwapBack)
{
    Make(TWK3DTS_BOTTOM | TWK3DTS_NOENLARGE | TWK3DTS_DRAGTABS, { "N", "A much wider label" });
    ctrl.ActivateTab(0);
    CRect narrow, wide;
    ctrl.GetTabRect(0, &narrow);
    ctrl.GetTabRect(1, &wide);
    ASSERT_GT(wide.Width(), narrow.Width() + 10);
    int y = narrow.CenterPoint().y;

    Mouse(ctrl, WM_LBUTTONDOWN, narrow.CenterPoint());
    EXPECT_EQ(::GetCapture(), ctrl.m_hWnd);
    Mouse(ctrl, WM_MOUSEMOVE, CPoint(wide.left + 3, y), MK_LBUTTON);   // inside, but short of the extent
    EXPECT_EQ(ctrl.GetTab(0)->m_pClient, &clients[0]);
    int x = narrow.left + wide.Width() + 2;
    Mouse(ctrl, WM_MOUSEMOVE, CPoint(x, y), MK_LBUTTON);
    EXPECT_EQ(ctrl.GetTab(0)->m_pClient, &clients[1]);
    EXPECT_EQ(ctrl.GetTab(1)->m_pClient, &clients[0]);
    EXPECT_EQ(ActiveIndex(), 1);
    for (int dx : { -3, -6, -9 })
    {
        Mouse(ctrl, WM_MOUSEMOVE, CPoint(x + dx, y), MK_LBUTTON);
        EXPECT_EQ(ctrl.GetTab(1)->m_pClient, &clients[0]) << dx;
    }
    Mouse(ctrl, WM_LBUTTONUP, CPoint(x, y));
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Tab3DControl, TipShowsTheFullLabelOfATruncatedTab)
{
    Make(TWK3DTS_BOTTOM, { "Project workspace files", "Go" }, 130);
    ASSERT_TRUE(ctrl.Get3DTab(0)->m_bTruncated);
    ASSERT_NE(ctrl.Get3DTab(0)->m_csLabel, "Project workspace files");
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    EXPECT_EQ(ctrl.OnToolHitTest(Center(0), &ti), 1);
    EXPECT_EQ(ti.hwnd, ctrl.m_hWnd);
    EXPECT_EQ(ti.uId, 1u);
    ASSERT_NE(ti.lpszText, nullptr);
    EXPECT_STREQ(ti.lpszText, "Project workspace files");
    free(ti.lpszText);

    // A tab shown whole has no tip.
    ctrl.MoveWindow(0, 0, 450, 30);
    ASSERT_FALSE(ctrl.Get3DTab(0)->m_bTruncated);
    EXPECT_EQ(ctrl.OnToolHitTest(Center(0), nullptr), -1);
    EXPECT_EQ(ctrl.OnToolHitTest(CPoint(440, 5), nullptr), -1);
}

// ---------------------------------------------------------------------------
// The 3-D tab window

class Tab3DWnd : public ::testing::Test
{
protected:
    CRecorder parent;
    CProbe3DWnd tabs;
    CWnd pages[3];

    void Make(DWORD dwStyle, int cx = 300, int cy = 200)
    {
        ASSERT_TRUE(parent.CreateTop(cx + 100, cy + 40));
        ASSERT_TRUE(tabs.Create(&parent, WS_CHILD | WS_VISIBLE | dwStyle, 40));
        tabs.MoveWindow(0, 0, cx, cy);
    }
    void AddPages()
    {
        static const char* names[] = { "First", "Second", "Third" };
        for (int i = 0; i < 3; i++)
        {
            ASSERT_TRUE(pages[i].Create(nullptr, names[i], WS_CHILD, CRect(0, 0, 0, 0), &tabs, 100 + i));
            ASSERT_NE(tabs.AddTab(&pages[i], names[i]), nullptr);
        }
    }
    int ActiveIndex()
    {
        int n = -1;
        return tabs.GetActiveTabIndex(n) ? n : -1;
    }
    // A key as the message loop would pre-translate and dispatch it.
    static void Key(UINT vk, bool ctrl = false, bool shift = false)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG msg = {};
        msg.hwnd = ::GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        msg.lParam = 1;
        if (!AfxGetThread()->PreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
    }
};

TEST_F(Tab3DWnd, InsideRectAndStripForEachSide)
{
    struct Case { DWORD style; CRect inside; CRect strip; };
    // Client 300 x 200.
    const Case cases[] = {
        { TWK3DTS_TOP, CRect(6, 31, 293, 196), CRect(6, 0, 293, 31) },
        { TWK3DTS_TOP | TWK3DTS_NOENLARGE, CRect(6, 27, 293, 196), CRect(6, 0, 293, 27) },
        { TWK3DTS_BOTTOM, CRect(6, 4, 293, 169), CRect(6, 170, 293, 201) },
        { TWK3DTS_BOTTOM | TWK3DTS_NOENLARGE, CRect(6, 4, 293, 173), CRect(6, 174, 293, 201) },
        { TWK3DTS_LEFT, CRect(31, 4, 293, 194), CRect(0, 4, 31, 194) },
        { TWK3DTS_RIGHT, CRect(6, 4, 269, 194), CRect(269, 0, 300, 190) },
        { 0, CRect(6, 4, 269, 194), CRect(269, 0, 300, 190) },
        { TWK3DTS_NOENLARGE, CRect(6, 4, 273, 194), CRect(273, 0, 300, 190) },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        CRecorder p;
        CProbe3DWnd w;
        ASSERT_TRUE(p.CreateTop(400, 240));
        ASSERT_TRUE(w.Create(&p, WS_CHILD | WS_VISIBLE | c.style, 40));
        EXPECT_EQ(w.GetTabStyle(), c.style);
        EXPECT_FALSE(w.GetStyle() & 0xFF3);
        w.MoveWindow(0, 0, 300, 200);
        CWnd page;
        ASSERT_TRUE(page.Create(nullptr, "Page", WS_CHILD, CRect(0, 0, 0, 0), &w, 100));
        w.AddTab(&page, "Page");
        w.ActivateTab(0);
        CRect inside;
        w.GetInsideRect(&inside);
        EXPECT_EQ(inside, c.inside);
        EXPECT_EQ(tabtest::ChildRect(w, w.GetTabControl()), c.strip);
        EXPECT_EQ(tabtest::ChildRect(w, &page), CRect(inside.left, inside.top, inside.right - 1, inside.bottom));
    }
}

TEST_F(Tab3DWnd, FlatFrameHasTwoLinesPerEdge)
{
    const COLORREF bg = RGB(255, 0, 255);
    const COLORREF hl = ::GetSysColor(COLOR_BTNHIGHLIGHT), face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), black = RGB(0, 0, 0);
    for (DWORD flat : { (DWORD)0, (DWORD)TWK3DTS_FLATEDGE })
    {
        SCOPED_TRACE(flat);
        CRecorder p;
        CProbe3DWnd w;
        ASSERT_TRUE(p.CreateTop(400, 240));
        ASSERT_TRUE(w.Create(&p, WS_CHILD | WS_VISIBLE | TWK3DTS_TOP | flat, 40));
        w.MoveWindow(0, 0, 300, 200);
        CRect in;
        w.GetInsideRect(&in);
        tabtest::CMemCanvas canvas(300, 200, bg);
        w.DrawFrame(&canvas.dc);
        int xm = in.CenterPoint().x, ym = in.CenterPoint().y;
        auto column = [&](int x0) { return std::vector<COLORREF>{ canvas.At(x0, ym), canvas.At(x0 + 1, ym),
                                                                 canvas.At(x0 + 2, ym), canvas.At(x0 + 3, ym) }; };
        auto row = [&](int y0) { return std::vector<COLORREF>{ canvas.At(xm, y0), canvas.At(xm, y0 + 1),
                                                              canvas.At(xm, y0 + 2), canvas.At(xm, y0 + 3) }; };
        std::vector<COLORREF> four = { hl, face, shadow, black };
        if (!flat)
        {
            EXPECT_EQ(column(in.left - 4), four);
            EXPECT_EQ(column(in.right), four);
            EXPECT_EQ(row(in.top - 4), four);
            EXPECT_EQ(row(in.bottom), four);
        }
        else
        {
            EXPECT_EQ(column(in.left - 4), (std::vector<COLORREF>{ hl, face, bg, bg }));
            EXPECT_EQ(column(in.right), (std::vector<COLORREF>{ bg, bg, shadow, black }));
            EXPECT_EQ(row(in.top - 4), (std::vector<COLORREF>{ hl, face, bg, bg }));
            EXPECT_EQ(row(in.bottom), (std::vector<COLORREF>{ bg, bg, shadow, black }));
        }
    }
}

TEST_F(Tab3DWnd, ActivationReachesTheNotifyWindowWithItsId)
{
    Make(TWK3DTS_BOTTOM);
    AddPages();
    // The first page added came up by itself; the others wait hidden.
    ASSERT_EQ(parent.notices.size(), 1u);
    tabtest::ExpectActivation(parent.notices[0], 40, 0, -1, &pages[0], nullptr);
    EXPECT_FALSE(pages[2].IsWindowVisible());
    tabs.ActivateTab(&pages[2]);
    ASSERT_EQ(parent.notices.size(), 2u);
    tabtest::ExpectActivation(parent.notices[1], 40, 2, 0, &pages[2], &pages[0]);
    EXPECT_TRUE(pages[2].IsWindowVisible());
    EXPECT_FALSE(pages[0].IsWindowVisible());

    // A disabled page's tab by page; the window answers for it.
    tabs.EnableTab(&pages[1], FALSE);
    EXPECT_FALSE(tabs.IsTabEnabled(&pages[1]));
    EXPECT_TRUE(tabs.IsTabEnabled(0));
    CWnd stranger;
    EXPECT_FALSE(tabs.IsTabEnabled(&stranger));
}

TEST_F(Tab3DWnd, KeysMoveBetweenTabsAndTabWalksOnToTheNextSibling)
{
    Make(TWK3DTS_TOP | WS_TABSTOP);
    AddPages();
    CButton after;
    ASSERT_TRUE(after.Create("After", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(310, 10, 380, 30),
                             &parent, 50));
    tabs.ActivateTab(0);
    TWKTabControlBase* pCtrl = tabs.GetTabControl();
    pCtrl->SetFocus();
    ASSERT_EQ(::GetFocus(), pCtrl->m_hWnd);

    Key(VK_TAB, true);
    EXPECT_EQ(ActiveIndex(), 1);
    Key(VK_TAB, true);
    EXPECT_EQ(ActiveIndex(), 2);
    Key(VK_TAB, true, true);
    EXPECT_EQ(ActiveIndex(), 1);
    EXPECT_EQ(::GetFocus(), pCtrl->m_hWnd);
    Key(VK_UP);
    EXPECT_EQ(ActiveIndex(), 0);
    Key(VK_DOWN);
    EXPECT_EQ(ActiveIndex(), 1);

    // Tab: into the page, then on to the next sibling with a tab stop.
    pCtrl->SetFocus();
    Key(VK_TAB);
    EXPECT_EQ(::GetFocus(), pages[1].m_hWnd);
    Key(VK_TAB);
    EXPECT_EQ(::GetFocus(), after.m_hWnd);

    // Shift+Tab from the page goes back to the strip.
    pages[1].SetFocus();
    Key(VK_TAB, false, true);
    EXPECT_EQ(::GetFocus(), pCtrl->m_hWnd);
}

} // namespace
