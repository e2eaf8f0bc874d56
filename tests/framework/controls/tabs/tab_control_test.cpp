#include <gtest/gtest.h>
#include "tests/framework/controls/tabs/tab_test_support.h"
#include "tests/harness/harness.h"

using tabtest::CRecorder;
using tabtest::Mouse;

namespace {

const UINT kCtrlId = 321;

// Reaches the control's state and drawing steps.
class CProbe : public TWKTabControl
{
public:
    using TWKTabControl::m_nScrollOffset;
    using TWKTabControl::m_nDisabledButtons;
    using TWKTabControl::m_nPressedButton;
    using TWKTabControl::m_fonts;
    using TWKTabControl::m_nTabHeight;
    using TWKTabControl::DrawScrollButton;
    using TWKTabControl::TabLeft;
};

// Objects standing for the tabs' clients.
struct CClient : public CObject {};

class TabControl : public ::testing::Test
{
protected:
    CRecorder parent;
    CProbe ctrl;
    CClient clients[12];

    void SetUp() override { ASSERT_TRUE(parent.CreateTop(400, 100)); }

    void Make(DWORD dwStyle, int cx, int nTabs)
    {
        ASSERT_TRUE(ctrl.Create(dwStyle | WS_VISIBLE, CRect(0, 0, cx, 20), &parent, kCtrlId));
        for (int i = 0; i < nTabs; i++)
        {
            CString label;
            label.Format("Tab number %d", i);
            ASSERT_NE(ctrl.AddTab(label, &clients[i], 0, nullptr), nullptr);
        }
        ctrl.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(cx, 20));
        vt::PumpMessages();
    }
    // A point well inside a tab (its middle, half-way down the strip).
    CPoint Inside(int nIndex)
    {
        return CPoint(ctrl.TabLeft(nIndex) + ctrl.GetTab(nIndex)->m_nWidth / 2, 10);
    }
    int ActiveIndex()
    {
        int n = -1;
        return ctrl.GetActiveTab(n) ? n : -1;
    }
    bool Selected(int i) { return ctrl.GetTab(i)->m_bSelected != FALSE; }
    int LastTabRight()
    {
        int n = ctrl.GetTabCount() - 1;
        return ctrl.TabLeft(n) + ctrl.GetTab(n)->m_nWidth;
    }
};

TEST_F(TabControl, ActivationSendsOneRecordAndNothingForTheActiveTab)
{
    Make(0, 380, 3);
    ctrl.ActivateTab(1);
    ctrl.ActivateTab(1);
    ctrl.ActivateTab(2);
    ASSERT_EQ(parent.notices.size(), 2u);
    tabtest::ExpectActivation(parent.notices[0], kCtrlId, 1, -1, &clients[1], nullptr);
    tabtest::ExpectActivation(parent.notices[1], kCtrlId, 2, 1, &clients[2], &clients[1]);
    EXPECT_EQ(ActiveIndex(), 2);
    EXPECT_FALSE(Selected(1));
    EXPECT_TRUE(Selected(2));
}

TEST_F(TabControl, InsertingInFrontOfTheActiveTabKeepsItActive)
{
    Make(0, 380, 3);
    ctrl.ActivateTab(1);
    parent.notices.clear();
    ASSERT_NE(ctrl.InsertTab(0, "Front", &clients[5], 0, nullptr), nullptr);
    ASSERT_NE(ctrl.InsertTab(2, "Just before", &clients[6], 0, nullptr), nullptr);
    ASSERT_NE(ctrl.InsertTab(4, "Behind", &clients[7], 0, nullptr), nullptr);
    EXPECT_EQ(ActiveIndex(), 3);
    EXPECT_EQ(ctrl.GetTab(3)->m_pClient, &clients[1]);
    EXPECT_TRUE(ctrl.GetTab(3)->m_bSelected);
    EXPECT_TRUE(parent.notices.empty());
}

TEST_F(TabControl, DeletingTabsMovesOrKeepsTheActiveTab)
{
    Make(0, 380, 4);
    ctrl.ActivateTab(3);
    parent.notices.clear();

    // The active last tab: the new last one becomes active.
    ctrl.DeleteTab(3);
    ASSERT_EQ(parent.notices.size(), 1u);
    tabtest::ExpectActivation(parent.notices[0], kCtrlId, 2, -1, &clients[2], nullptr);
    EXPECT_EQ(ActiveIndex(), 2);

    // One in front of the active tab: the same tab stays active, renumbered, and nothing is sent.
    parent.notices.clear();
    ctrl.DeleteTab(0);
    EXPECT_TRUE(parent.notices.empty());
    EXPECT_EQ(ActiveIndex(), 1);
    EXPECT_EQ(ctrl.GetTab(1)->m_pClient, &clients[2]);
    ctrl.ActivateTab(1);   // it is the active one: nothing to do
    EXPECT_TRUE(parent.notices.empty());

    // The active tab in the middle: the one that moves into its place.
    ctrl.AddTab("Later", &clients[5], 0, nullptr);
    ctrl.DeleteTab(1);
    ASSERT_EQ(parent.notices.size(), 1u);
    EXPECT_EQ(parent.notices[0].record.pNewClient, &clients[5]);
    EXPECT_EQ(ActiveIndex(), 1);

    // Down to the only tab, then none.
    ctrl.DeleteTab(0);
    EXPECT_EQ(ActiveIndex(), 0);
    parent.notices.clear();
    ctrl.DeleteTab(0);
    EXPECT_EQ(ctrl.GetTabCount(), 0);
    EXPECT_EQ(ActiveIndex(), -1);
    EXPECT_TRUE(parent.notices.empty());
}

TEST_F(TabControl, IndexesOutsideTheTabsDoNothing)
{
    Make(0x2, 380, 3);
    ctrl.ActivateTab(0);
    parent.notices.clear();
    for (int n : { -1, 3, 4, 1000, INT_MIN })
    {
        SCOPED_TRACE(n);
        ctrl.ActivateTab(n);
        ctrl.RenameTab(n, "x");
        ctrl.SelectTab(n);
        ctrl.InvalidateTab(n);
        ctrl.ScrollToTab(n);
        ctrl.DeleteTab(n);
        EXPECT_EQ(ctrl.GetTab(n), nullptr);
        LPCTSTR label = nullptr;
        BOOL sel = FALSE;
        CObject* client = nullptr;
        DWORD data = 0;
        void* extra = nullptr;
        EXPECT_FALSE(ctrl.GetTabInfo(n, label, sel, client, data, extra));
        EXPECT_EQ(ctrl.GetTabCount(), 3);
        EXPECT_EQ(ActiveIndex(), 0);
        EXPECT_TRUE(parent.notices.empty());
    }
    EXPECT_EQ(ctrl.InsertTab(4, "past the end", nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(ctrl.InsertTab(-1, "before the start", nullptr, 0, nullptr), nullptr);
    ASSERT_NE(ctrl.InsertTab(3, "at the end", nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(ctrl.GetTabCount(), 4);
}

TEST_F(TabControl, TabWidthIsTheBoldLabelPlusTwentyAndTrapezoidsOverlap)
{
    Make(0x2, 380, 3);
    CClientDC dc(&ctrl);
    CFont* pOld = dc.SelectObject(&ctrl.m_fonts[2]);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(ctrl.GetTab(i)->m_nWidth, dc.GetTextExtent(ctrl.GetTab(i)->m_csLabel).cx + 20);
    dc.SelectObject(pOld);

    // The tabs start after the four buttons and overlap by 5 pixels.
    int cxButton = ::GetSystemMetrics(SM_CYHSCROLL) + 1;
    EXPECT_EQ(ctrl.GetTabArea().left, 4 * cxButton);
    int x1 = ctrl.GetTabArea().left + ctrl.GetTab(0)->m_nWidth - 5;
    EXPECT_EQ(ctrl.TabLeft(1), x1);
    int bottom = ctrl.GetTabArea().bottom;
    EXPECT_EQ(ctrl.HitTest(CPoint(x1 + 1, 1)), 0);           // in both: the first one wins
    EXPECT_EQ(ctrl.HitTest(CPoint(x1 + 8, bottom - 2)), 1);   // only in the second
    EXPECT_EQ(ctrl.HitTest(CPoint(x1 + 2, bottom - 1)), -1);  // between the slants
    EXPECT_EQ(ctrl.HitTest(CPoint(LastTabRight() + 5, 5)), -1);
}

TEST_F(TabControl, TabIsFilledWithItsStateBrushAndOutlined)
{
    Make(0, 380, 2);
    const COLORREF bg = RGB(255, 0, 255);
    tabtest::CMemCanvas canvas(400, 40, bg);
    CBrush brush(::GetSysColor(COLOR_WINDOW));
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    canvas.dc.SelectObject(&brush);
    canvas.dc.SelectObject(&pen);
    canvas.dc.SetBkMode(TRANSPARENT);
    CRgn rgn;
    ASSERT_TRUE(ctrl.GetTabRgn(1, rgn));
    ctrl.DrawTab(&canvas.dc, 1, &rgn);
    canvas.dc.SelectStockObject(BLACK_PEN);
    canvas.dc.SelectStockObject(WHITE_BRUSH);
    int x0 = ctrl.TabLeft(1), bottom = ctrl.GetTabArea().bottom;
    EXPECT_EQ(canvas.At(x0 + 8, bottom - 3), ::GetSysColor(COLOR_WINDOW));   // inside, left of the label
    EXPECT_EQ(canvas.At(x0, 0), RGB(0, 0, 0));                               // the left slant starts at the top
    EXPECT_EQ(canvas.At(x0 + 8, bottom - 1), ::GetSysColor(COLOR_BTNSHADOW)); // the bottom edge in shadow
    EXPECT_EQ(canvas.At(x0 - 2, bottom - 3), bg);                             // outside the trapezoid
}

TEST_F(TabControl, MouseSelectsActivatesAndReports)
{
    Make(0, 380, 5);
    ctrl.ActivateTab(1);
    parent.notices.clear();

    // A double click where no tab is, then on a tab.
    Mouse(ctrl, WM_LBUTTONDBLCLK, CPoint(LastTabRight() + 10, 5));
    Mouse(ctrl, WM_LBUTTONDBLCLK, Inside(2));
    ASSERT_EQ(parent.notices.size(), 2u);
    EXPECT_EQ(parent.notices[0].message, (UINT)TWKTCN_DBLCLK);
    EXPECT_EQ(parent.notices[0].wParam, 0u);
    EXPECT_EQ(parent.notices[1].wParam, 2u);
    parent.notices.clear();

    // A click on the active tab.
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(1));
    ASSERT_EQ(parent.Messages(), std::vector<UINT>{ TWKTCN_ACTIVETABCLICKED });
    EXPECT_EQ(parent.notices[0].wParam, 1u);
    parent.notices.clear();

    // Ctrl toggles without a message; on the active tab it leaves none active.
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(3), MK_CONTROL);
    EXPECT_TRUE(Selected(3));
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(3), MK_CONTROL);
    EXPECT_FALSE(Selected(3));
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(1), MK_CONTROL);
    EXPECT_FALSE(Selected(1));
    EXPECT_EQ(ActiveIndex(), -1);
    EXPECT_TRUE(parent.notices.empty());

    // Shift selects the range from the last active tab and activates the hit one.
    ctrl.ActivateTab(1);
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(4), MK_CONTROL);
    parent.notices.clear();
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(3), MK_SHIFT);
    EXPECT_EQ(ActiveIndex(), 3);
    std::vector<bool> sel;
    for (int i = 0; i < 5; i++)
        sel.push_back(Selected(i));
    EXPECT_EQ(sel, (std::vector<bool>{ false, true, true, true, false }));
    ASSERT_EQ(parent.notices.size(), 1u);
    EXPECT_EQ(parent.notices[0].record.nNewTab, 3);

    // A plain click on another tab leaves only that one selected.
    Mouse(ctrl, WM_LBUTTONDOWN, Inside(0));
    sel.clear();
    for (int i = 0; i < 5; i++)
        sel.push_back(Selected(i));
    EXPECT_EQ(sel, (std::vector<bool>{ true, false, false, false, false }));
    EXPECT_EQ(ActiveIndex(), 0);

    parent.notices.clear();
    ctrl.ClearSelection();
    EXPECT_EQ(parent.Messages(), std::vector<UINT>{ TWKTCN_CLEARSELECTION });
    EXPECT_EQ(ActiveIndex(), -1);
    EXPECT_FALSE(Selected(0));
}

TEST_F(TabControl, ScrollButtonsFollowTheStripAndClampAtBothEnds)
{
    // All tabs fit: next and last are disabled, and drawn so.
    Make(0x2, 380, 2);
    EXPECT_EQ(ctrl.m_nScrollOffset, 0);
    EXPECT_EQ(ctrl.m_nDisabledButtons, (UINT)(TWKTCB_FIRST | TWKTCB_PREV | TWKTCB_NEXT | TWKTCB_LAST));
    CRect rcNext = ctrl.GetButtonRect(TWKTCB_NEXT);
    int cx = rcNext.Width() / 2 + rcNext.left, cy = (rcNext.Height() - 1) / 2 + rcNext.top;
    {
        tabtest::CMemCanvas canvas(400, 40, RGB(255, 255, 255));
        ctrl.DrawScrollButton(&canvas.dc, TWKTCB_NEXT);
        EXPECT_EQ(canvas.At(cx, cy), ::GetSysColor(COLOR_BTNSHADOW));
    }

    // Too many tabs for the strip: next and last come alive.
    for (int i = 2; i < 10; i++)
        ctrl.AddTab("Another long label", &clients[i], 0, nullptr);
    ctrl.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(380, 20));
    EXPECT_EQ(ctrl.m_nDisabledButtons, (UINT)(TWKTCB_FIRST | TWKTCB_PREV));
    {
        tabtest::CMemCanvas canvas(400, 40, RGB(255, 255, 255));
        ctrl.DrawScrollButton(&canvas.dc, TWKTCB_NEXT);
        EXPECT_EQ(canvas.At(cx, cy), RGB(0, 0, 0));
    }

    // One click on next, two on previous: back at 0, not beyond.
    ctrl.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcNext.left + 2, 2));
    Mouse(ctrl, WM_LBUTTONDOWN, rcNext.TopLeft() + CPoint(2, 2));
    EXPECT_EQ(ctrl.m_nScrollOffset, -10);
    EXPECT_EQ(ctrl.m_nPressedButton, 0u);
    EXPECT_EQ(ctrl.m_nDisabledButtons, 0u);
    CRect rcPrev = ctrl.GetButtonRect(TWKTCB_PREV);
    for (int i = 0; i < 2; i++)
    {
        ctrl.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcPrev.left + 2, 2));
        Mouse(ctrl, WM_LBUTTONDOWN, rcPrev.TopLeft() + CPoint(2, 2));
    }
    EXPECT_EQ(ctrl.m_nScrollOffset, 0);
    EXPECT_EQ(ctrl.m_nDisabledButtons, (UINT)(TWKTCB_FIRST | TWKTCB_PREV));

    // Last puts the last tab's right edge on the strip's edge; scrolling to the first tab brings it back.
    CRect rcLast = ctrl.GetButtonRect(TWKTCB_LAST);
    ctrl.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcLast.left + 2, 2));
    Mouse(ctrl, WM_LBUTTONDOWN, rcLast.TopLeft() + CPoint(2, 2));
    EXPECT_EQ(LastTabRight(), ctrl.GetTabArea().right);
    EXPECT_EQ(ctrl.m_nDisabledButtons, (UINT)(TWKTCB_NEXT | TWKTCB_LAST));
    ctrl.ScrollToTab(0);
    EXPECT_EQ(ctrl.m_nScrollOffset, 0);
    ctrl.ScrollToTab(9);
    EXPECT_EQ(LastTabRight(), ctrl.GetTabArea().right);
}

// Samples the strip while the next button is held; lets go once it stops.
struct HoldSample { DWORD tick; int offset; };
CProbe* g_pHeld = nullptr;
std::vector<HoldSample>* g_pSamples = nullptr;
DWORD g_dwHoldStart = 0;

void CALLBACK SampleHold(HWND, UINT, UINT_PTR id, DWORD)
{
    DWORD now = ::GetTickCount();
    g_pSamples->push_back({ now - g_dwHoldStart, g_pHeld->m_nScrollOffset });
    if ((g_pHeld->m_nDisabledButtons & TWKTCB_NEXT) || now - g_dwHoldStart > 20000)
    {
        ::KillTimer(nullptr, id);
        g_pHeld->PostMessage(WM_LBUTTONUP);
    }
}

TEST_F(TabControl, HoldingNextScrollsAtOnceThenRepeatsAfterADelay)
{
    Make(0x1, 200, 10);
    int nLimit = ctrl.GetTabArea().right - LastTabRight();
    ASSERT_LT(nLimit, -100);
    std::vector<HoldSample> samples;
    g_pHeld = &ctrl;
    g_pSamples = &samples;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 5, SampleHold);
    ASSERT_NE(timer, 0u);
    CRect rcNext = ctrl.GetButtonRect(TWKTCB_NEXT);
    g_dwHoldStart = ::GetTickCount();
    Mouse(ctrl, WM_LBUTTONDOWN, rcNext.TopLeft() + CPoint(2, 2));
    DWORD dwHeld = ::GetTickCount() - g_dwHoldStart;

    EXPECT_EQ(LastTabRight(), ctrl.GetTabArea().right);
    EXPECT_EQ(ctrl.m_nScrollOffset, nLimit);
    EXPECT_EQ(::GetCapture(), nullptr);
    // The first step came at once and the next not before the delay.
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.front().offset, -10);
    for (const HoldSample& s : samples)
    {
        if (s.tick < 250)
        {
            EXPECT_EQ(s.offset, -10) << "at " << s.tick << " ms";
        }
    }
    // Then 10 pixels every 20 ms: the whole distance took a while, not one step per sample.
    int nSteps = -nLimit / 10;
    EXPECT_GE(dwHeld, 300u + (DWORD)(nSteps - 2) * 15u);
}

HWND g_hCaptureTaker = nullptr;
void CALLBACK TakeCapture(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::SetCapture(g_hCaptureTaker);
}

TEST_F(TabControl, ButtonLoopEndsOnQuitAndWhenTheCaptureIsTaken)
{
    Make(0x1, 200, 10);
    ::PostQuitMessage(7);
    CRect rcNext = ctrl.GetButtonRect(TWKTCB_NEXT);
    Mouse(ctrl, WM_LBUTTONDOWN, rcNext.TopLeft() + CPoint(2, 2));
    EXPECT_EQ(::GetCapture(), nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    // Another window taking the mouse ends the press, with the button still held.
    g_hCaptureTaker = parent.m_hWnd;
    ASSERT_NE(::SetTimer(nullptr, 0, 50, TakeCapture), 0u);
    CRect rcPrev = ctrl.GetButtonRect(TWKTCB_PREV);
    Mouse(ctrl, WM_LBUTTONDOWN, rcPrev.TopLeft() + CPoint(2, 2));
    EXPECT_EQ(::GetCapture(), parent.m_hWnd);
    ::ReleaseCapture();
}

TEST_F(TabControl, SetTabFontRefusesBadStatesAndFonts)
{
    Make(0, 380, 2);
    HFONT hBefore = (HFONT)ctrl.m_fonts[2].GetSafeHandle();
    CFont font;
    font.CreateFont(-20, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Arial");
    EXPECT_FALSE(ctrl.SetTabFont(&font, 3, TRUE));
    EXPECT_FALSE(ctrl.SetTabFont(&font, -1, TRUE));
    EXPECT_FALSE(ctrl.SetTabFont(nullptr, 2, TRUE));
    EXPECT_EQ((HFONT)ctrl.m_fonts[2].GetSafeHandle(), hBefore);

    ASSERT_TRUE(ctrl.SetTabFont(&font, 2, TRUE));
    LOGFONTA lf;
    ctrl.m_fonts[2].GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_NE((HFONT)ctrl.m_fonts[2].GetSafeHandle(), (HFONT)font.GetSafeHandle());   // a copy
}

} // namespace
