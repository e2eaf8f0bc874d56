// Window and combo buttons on a toolbar whose map holds the IDE's Find
// entry: creation notice, placing and centring, vertical docking, hiding,
// disabling, Return, right-edge sizing, drop-down lists and customisation.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"
#include "framework/controls/toolbars/TWKWndBtn.h"

using namespace vt;

namespace {

const UINT kFindCmd = 57636;
const UINT kFindCtrl = 61847;
const UINT kListCmd = 57637;
const UINT kListCtrl = 61848;

const TWKBtnMapEntry kMap[] = {
    { BUTTON_CLASS(TWKComboBtn), kFindCmd, TWK_TBBS_NOAUTODISABLE | TWK_TBBS_VCENTER,
      { kFindCtrl, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 150 + 70 * 65536, 150 } },
    { BUTTON_CLASS(TWKComboBtn), kListCmd, 0, { kListCtrl, CBS_DROPDOWNLIST | WS_VSCROLL, 100, 120 } },
    { nullptr, 0, 0, {} },
};

// Dispatches the queue the way the application's loop does: the windows'
// pre-translation first.
void PumpTranslated()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

struct WndBtnTest : ::testing::Test {
    ToolBarFrame frame{ TRUE };
    TWKCustomToolBar* pBar = nullptr;
    CMessageSink sink{ WM_TWKTOOLBARWNDNOTIFY };

    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        ASSERT_TRUE(sink.CreateTop());
        frame.pMgr->SetButtonMap(kMap);
        pBar = frame.NewBar(0xE800);
        ASSERT_TRUE(pBar);
        pBar->SetOwner(&sink);
        const UINT ids[] = { ID_TWK_TEST_A, kFindCmd, ID_TWK_TEST_B };
        pBar->SetButtons(ids, 3);
        frame.p->RecalcLayout();
    }
    void TearDown() override
    {
        if (sink.m_hWnd)
            sink.DestroyWindow();
    }
    TWKComboBtn* Combo(int i = 1) { return dynamic_cast<TWKComboBtn*>(static_cast<TWKWndBtn*>(pBar->GetButton(i))); }
    CRect WndRectInBar(CWnd* pWnd)
    {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        pBar->ScreenToClient(&rect);
        return rect;
    }
    void DockAt(UINT nDockBar)
    {
        frame.p->DockControlBar(pBar, nDockBar, nullptr);
        frame.p->RecalcLayout();
    }
};

TEST_F(WndBtnTest, CreatedNoticeAndTheComboInTheButtonsPlace)
{
    TWKComboBtn* pCombo = Combo();
    ASSERT_TRUE(pCombo);
    EXPECT_EQ(TWK_BTN_COMBO, pCombo->m_nType);
    ASSERT_EQ(1u, sink.seen.size());
    EXPECT_EQ(MAKEWPARAM(kFindCtrl, TWK_WNDNOTIFY_CREATED), sink.seen[0].first);
    EXPECT_EQ((LPARAM)pCombo->m_hWnd, sink.seen[0].second);
    // The handle map gives the combo object for its window.
    EXPECT_EQ(static_cast<CWnd*>(pCombo), CWnd::FromHandle(pCombo->m_hWnd));

    EXPECT_TRUE(pCombo->IsWindowVisible());
    EXPECT_EQ(pBar->m_hWnd, ::GetParent(pCombo->m_hWnd));
    EXPECT_EQ((int)kFindCtrl, pCombo->GetDlgCtrlID());
    EXPECT_EQ(150, pCombo->m_cx);
    EXPECT_EQ(pBar->GetButtonHeight(), pCombo->m_cy);
    CRect rect = WndRectInBar(pCombo);
    // Centred by its closed height, whatever the platform makes that.
    EXPECT_EQ(rect.Height(), pCombo->m_nWndHeight);
    EXPECT_LT(rect.Height(), 150);
    EXPECT_EQ(CRect(pCombo->m_x, pCombo->m_y + (pCombo->m_cy - rect.Height()) / 2, pCombo->m_x + 150,
                    pCombo->m_y + (pCombo->m_cy - rect.Height()) / 2 + rect.Height()),
              rect);
    // The buttons after it follow its width.
    EXPECT_EQ(pCombo->m_x + 150, pBar->GetButton(2)->m_x);
    // The edit is the button's, with the small font.
    ASSERT_TRUE(pCombo->m_edit.m_hWnd);
    EXPECT_EQ(static_cast<TWKWndBtn*>(pCombo), pCombo->m_edit.m_pBtn);
    EXPECT_EQ((LRESULT)pCombo->m_font.m_hObject, pCombo->SendMessage(WM_GETFONT));
    // No tool tip: the window has its own.
    EXPECT_EQ(-1, pCombo->TWKWndBtn::OnToolHitTest(CPoint(0, 0), nullptr));
}

TEST_F(WndBtnTest, VerticalShowsTheImageButtonAndHorizontalTheLastWidth)
{
    TWKComboBtn* pCombo = Combo();
    const BYTE width120[2] = { 120, 0 };
    pCombo->SetBtnInfo(2, width120);
    EXPECT_EQ(120, pCombo->m_cx);

    DockAt(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(pCombo->IsWindowVisible());
    EXPECT_FALSE(pCombo->m_bShown);
    EXPECT_EQ(pBar->GetButtonWidth(), pCombo->m_cx);
    EXPECT_EQ((INT_PTR)kFindCmd, pCombo->TWKWndBtn::OnToolHitTest(CPoint(0, 0), nullptr));

    DockAt(AFX_IDW_DOCKBAR_TOP);
    EXPECT_TRUE(pCombo->IsWindowVisible());
    EXPECT_EQ(120, pCombo->m_cx);
    EXPECT_EQ(120, WndRectInBar(pCombo).Width());

    // Hidden while vertical, it stays hidden when the bar turns.
    DockAt(AFX_IDW_DOCKBAR_LEFT);
    pBar->HideButton(1, TRUE);
    DockAt(AFX_IDW_DOCKBAR_TOP);
    EXPECT_TRUE(pCombo->m_bShown);
    EXPECT_FALSE(pCombo->IsWindowVisible());
    pBar->HideButton(1, FALSE);
    EXPECT_TRUE(pCombo->IsWindowVisible());
}

TEST_F(WndBtnTest, DisabledButtonDisablesTheCombo)
{
    TWKComboBtn* pCombo = Combo();
    pBar->SetButtonStyle(1, pBar->GetButtonStyle(1) | TBBS_DISABLED);
    EXPECT_FALSE(pCombo->IsWindowEnabled());
    pBar->SetButtonStyle(1, pBar->GetButtonStyle(1) & ~TBBS_DISABLED);
    EXPECT_TRUE(pCombo->IsWindowEnabled());
}

WNDPROC g_pfnEdit = nullptr;
int g_nEditKeys = 0;
LRESULT CALLBACK CountingEditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wParam == VK_RETURN)
        g_nEditKeys++;
    return ::CallWindowProcA(g_pfnEdit, hWnd, msg, wParam, lParam);
}

TEST_F(WndBtnTest, ReturnReachesTheOwnerAndNeverTheEdit)
{
    TWKComboBtn* pCombo = Combo();
    HWND hEdit = pCombo->m_edit.m_hWnd;
    ASSERT_TRUE(hEdit);
    g_nEditKeys = 0;
    g_pfnEdit = (WNDPROC)::SetWindowLongPtrA(hEdit, GWLP_WNDPROC, (LONG_PTR)CountingEditProc);
    sink.seen.clear();
    ::PostMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(hEdit, WM_KEYDOWN, 'X', 1);
    PumpTranslated();
    ::SetWindowLongPtrA(hEdit, GWLP_WNDPROC, (LONG_PTR)g_pfnEdit);
    ASSERT_EQ(1u, sink.seen.size());
    EXPECT_EQ(MAKEWPARAM(kFindCtrl, TWK_WNDNOTIFY_RETURN), sink.seen[0].first);
    EXPECT_EQ((LPARAM)pCombo->m_hWnd, sink.seen[0].second);
    EXPECT_EQ(0, g_nEditKeys);
}

TEST_F(WndBtnTest, DropDownListGetsNeitherEditNorSmallFont)
{
    const UINT ids[] = { kListCmd };
    pBar->SetButtons(ids, 1);
    TWKComboBtn* pList = Combo(0);
    ASSERT_TRUE(pList && pList->m_hWnd);
    EXPECT_EQ((DWORD)CBS_DROPDOWNLIST, pList->CComboBox::GetStyle() & 3);
    EXPECT_FALSE(pList->m_edit.m_hWnd);
    EXPECT_FALSE(pList->m_font.m_hObject);
    EXPECT_NE((LRESULT)0, (LRESULT)pList->m_hWnd);
    EXPECT_EQ(100, pList->m_cx);
}

TEST_F(WndBtnTest, RightEdgeSizingStopsAtTheSmallestWidthAndIsSaved)
{
    TWKComboBtn* pCombo = Combo();
    pBar->SetConfigMode(TRUE);
    pBar->SelectButton(1, FALSE);
    ASSERT_TRUE(pCombo->TWKWndBtn::GetStyle() & TWK_TBBS_SELECTED);
    int y = 5;
    auto size = [&](std::vector<std::pair<UINT, int>> msgs) {
        for (auto& m : msgs)
            pCombo->PostMessage(m.first, m.first == WM_KEYDOWN ? VK_ESCAPE : 0, MAKELPARAM(m.second, y));
        Send(pCombo, WM_LBUTTONDOWN, CPoint(pCombo->m_cx - 1, y), MK_LBUTTON);
    };
    size({ { WM_MOUSEMOVE, 100 }, { WM_MOUSEMOVE, 30 }, { WM_LBUTTONUP, 30 } });
    EXPECT_EQ(70, pCombo->m_cx);
    EXPECT_EQ(70, WndRectInBar(pCombo).Width());
    BYTE nSize = 0;
    BYTE* pData = nullptr;
    pCombo->GetBtnInfo(&nSize, &pData);
    ASSERT_EQ(2, nSize);
    EXPECT_EQ(70, pData[0] | (pData[1] << 8));
    delete[] pData;
    EXPECT_EQ(pCombo->m_x + 70, pBar->GetButton(2)->m_x);

    size({ { WM_MOUSEMOVE, 250 }, { WM_LBUTTONUP, 301 } });
    EXPECT_EQ(302, pCombo->m_cx);
    EXPECT_EQ(302, pCombo->m_nWidth);

    // Escape, the right button and a quit message cancel.
    size({ { WM_MOUSEMOVE, 200 }, { WM_KEYDOWN, 0 } });
    size({ { WM_MOUSEMOVE, 200 }, { WM_RBUTTONDOWN, 200 } });
    pCombo->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, y));
    ::PostQuitMessage(3);
    Send(pCombo, WM_LBUTTONDOWN, CPoint(pCombo->m_cx - 1, y), MK_LBUTTON);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_EQ(302, pCombo->m_cx);
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(WndBtnTest, StoredWidthsTheUserCouldNotMakeAreIgnored)
{
    TWKComboBtn* pCombo = Combo();
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    struct Case {
        int nWidth;
        BYTE nSize;
        int nWant;
    } cases[] = { { 0, 2, 150 }, { 69, 2, 150 }, { cxScreen + 1, 2, 150 }, { 120, 3, 150 }, { 120, 2, 120 },
                  { 70, 2, 70 } };
    for (const Case& c : cases) {
        pCombo->m_nWidth = pCombo->m_cx = 150;
        BYTE data[3] = { LOBYTE(c.nWidth), HIBYTE(c.nWidth), 0 };
        pCombo->SetBtnInfo(c.nSize, data);
        EXPECT_EQ(c.nWant, pCombo->m_nWidth) << c.nWidth << " size " << (int)c.nSize;
        EXPECT_EQ(c.nWant, pCombo->m_cx) << c.nWidth;
    }
}

TEST_F(WndBtnTest, MessagesThroughTheButtonsOfACommand)
{
    TWKWndBtnMsg msg = { 0, CB_ADDSTRING, 0, (LPARAM) "needle" };
    pBar->SetButtonStyleById(kFindCmd, TWK_BTNNOTIFY_WNDMSG, &msg, TRUE);
    EXPECT_EQ(1, Combo()->GetCount());
}

TEST_F(WndBtnTest, ConfigurationModeClickOnTheComboDragsItsButton)
{
    TWKComboBtn* pCombo = Combo();
    pBar->SetConfigMode(TRUE);
    // Other mouse messages do not reach the combo box while customising.
    EXPECT_TRUE(pCombo->OnWndMouseMsg());
    CPoint pt(10, 5);
    CPoint ptBar = pt;
    pCombo->MapWindowPoints(pBar, &ptBar, 1);
    pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptBar.x, ptBar.y));
    Send(pCombo, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    EXPECT_EQ(1, pBar->GetCurrentIndex());
    EXPECT_TRUE(pCombo->TWKWndBtn::GetStyle() & TWK_TBBS_SELECTED);
    EXPECT_EQ(frame.pMgr->m_pSelectedBar, pBar);
    pBar->SetConfigMode(FALSE);
    EXPECT_FALSE(pCombo->OnWndMouseMsg());
}

} // namespace
