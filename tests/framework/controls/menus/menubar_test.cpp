#include "tests/framework/controls/menus/menubar_fixture.h"
#include "framework/frames/TWKDockContext.h"

namespace {

using vt::kMenuNone;
using vt::kMenuSource;
using vt::kMenuDisasm;
using vt::kMenuSect;
using vt::kMenuTwo;
using vt::MenuFrame;
using vt::ChildMenuFrame;
const UINT kMenuCutText = 0x7D45, kMenuCutPopup = 0x7D46;

TEST(MenuBar, FiveMenusBuildTheTableAndTheDefaultLayoutDocksTheBar)
{
    MenuFrame frame;
    ASSERT_TRUE(frame.p);
    ASSERT_TRUE(frame.pMgr->SetMenuInfo(5, kMenuNone, kMenuSource, kMenuDisasm, kMenuSect, kMenuTwo));
    auto* pTable = static_cast<const TWKBtnMapEntry*>(frame.pMgr->GetButtonMap2());
    ASSERT_NE(nullptr, pTable);
    const struct { UINT nMenu; int nItems; DWORD dwBit; } menus[] = {
        { kMenuNone, 6, 1 }, { kMenuSource, 7, 2 }, { kMenuDisasm, 8, 4 }, { kMenuSect, 3, 8 }, { kMenuTwo, 2, 16 },
    };
    const char* texts[] = { "&File", "&Edit", "&View", "&Project", "&Tools", "&Help",
                            "&File", "&Edit", "&View", "&Project", "&Tools", "&Window", "&Help",
                            "&File", "&Edit", "&View", "&Project", "&Debug", "&Tools", "&Window", "&Help",
                            "&File", "&Section", "&Help", "&File", "&Section" };
    int k = 0;
    for (const auto& m : menus) {
        for (int i = 0; i < m.nItems; i++, k++) {
            const TWKBtnMapEntry& e = pTable[k];
            EXPECT_EQ(BUTTON_CLASS(TWKTBMenuBtn), e.pClass) << k;
            EXPECT_EQ(2147483649u + k, e.nID) << k;
            EXPECT_EQ(805306368u, e.dwStyle) << k;
            EXPECT_EQ(m.nMenu, e.params[0]) << k;
            EXPECT_EQ((UINT_PTR)i, e.params[1]) << k;
            EXPECT_STREQ(texts[k], reinterpret_cast<LPCSTR>(e.params[2])) << k;
            EXPECT_EQ(m.dwBit, e.params[3]) << k;
            EXPECT_EQ(0u, e.params[4]) << k;
        }
    }
    EXPECT_EQ(nullptr, pTable[26].pClass);
    int nIDs = 0;
    const UINT* pIDs = nullptr;
    frame.pMgr->GetMenuInfo(&nIDs, &pIDs);
    ASSERT_EQ(26, nIDs);
    EXPECT_EQ(2147483649u, pIDs[0]);
    EXPECT_EQ(2147483674u, pIDs[25]);

    frame.pMgr->SetDefaultDockState();
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_EQ(0xE8FF, bar.GetDlgCtrlID());
    CString strTitle;
    bar.GetWindowText(strTitle);
    EXPECT_STREQ("Menu bar", strTitle);
    ASSERT_NE(nullptr, bar.m_pDockBar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, bar.m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(frame.p->GetControlBar(0xE8FF), &bar);
    // The 26 menu buttons between the hidden icon and caption buttons.
    ASSERT_EQ(28, bar.GetButtonCount());
    EXPECT_EQ(26, frame.MenuButtonCount());
    EXPECT_EQ(&bar.m_btnCapMenu, bar.GetButton(0));
    EXPECT_EQ(&bar.m_btnCaption, bar.GetButton(27));
    EXPECT_TRUE(bar.GetButtonStyle(0) & TBBS_HIDDEN);
    EXPECT_TRUE(bar.GetButtonStyle(27) & TBBS_HIDDEN);
    for (int i = 1; i < 27; i++)
        EXPECT_EQ(TWK_BTN_TBMENU, bar.GetButton(i)->m_nType) << i;
    EXPECT_EQ((UINT)TWK_BARTYPE_MENUBAR, frame.pMgr->GetBarTypeID(&bar));
}

TEST(MenuBar, ActivateMenuShowsOneMenusButtons)
{
    MenuFrame frame;
    ASSERT_TRUE(frame.p);
    ASSERT_TRUE(frame.pMgr->SetMenuInfo(5, kMenuNone, kMenuSource, kMenuDisasm, kMenuSect, kMenuTwo));
    frame.pMgr->SetDefaultDockState();
    TWKMenuBar& bar = frame.p->m_menuBar;
    ASSERT_TRUE(bar.ActivateMenu(kMenuSource));
    const std::vector<std::string> source = { "&File", "&Edit", "&View", "&Project", "&Tools", "&Window", "&Help" };
    EXPECT_EQ(source, frame.Visible());
    EXPECT_EQ(kMenuSource, bar.GetCurMenuID());

    // An id without a bit changes nothing.
    EXPECT_FALSE(bar.ActivateMenu(0x7DFF));
    EXPECT_EQ(source, frame.Visible());
    EXPECT_EQ(kMenuSource, bar.GetCurMenuID());

    // The resource of bar hosts shows the main frame's own menu.
    CWinApp* pApp = AfxGetApp();
    CWnd* pOldMain = pApp->m_pMainWnd;
    pApp->m_pMainWnd = frame.p;
    EXPECT_TRUE(bar.ActivateMenu(20514));
    pApp->m_pMainWnd = pOldMain;
    const std::vector<std::string> none = { "&File", "&Edit", "&View", "&Project", "&Tools", "&Help" };
    EXPECT_EQ(none, frame.Visible());
    EXPECT_EQ(20514u, bar.GetCurMenuID());

    // Mnemonics among the visible buttons only.
    ASSERT_TRUE(bar.ActivateMenu(kMenuDisasm));
    int nDebug = bar.FindMnemonicButton('D');
    ASSERT_NE(-1, nDebug);
    EXPECT_STREQ("&Debug", static_cast<TWKTBMenuBtn*>(bar.GetButton(nDebug))->m_strText);
    ASSERT_TRUE(bar.ActivateMenu(kMenuSect));
    EXPECT_EQ(-1, bar.FindMnemonicButton('D'));
    EXPECT_NE(-1, bar.FindMnemonicButton('S'));
    EXPECT_EQ(-1, bar.FindMnemonicButton('\x82'));
}

TEST(MenuBar, DamagedTemplatesGiveNoButtonsAndNoBit)
{
    MenuFrame frame;
    ASSERT_TRUE(frame.p);
    EXPECT_FALSE(frame.pMgr->SetMenuInfo(2, kMenuCutText, kMenuCutPopup));
    EXPECT_FALSE(frame.pMgr->SetMenuInfo(1, 0x7DFF));
    ASSERT_TRUE(frame.pMgr->SetMenuInfo(3, kMenuCutText, kMenuTwo, kMenuCutPopup));
    auto* pTable = static_cast<const TWKBtnMapEntry*>(frame.pMgr->GetButtonMap2());
    ASSERT_NE(nullptr, pTable);
    EXPECT_EQ(kMenuTwo, pTable[0].params[0]);
    EXPECT_EQ(1u, pTable[0].params[3]);
    EXPECT_EQ(kMenuTwo, pTable[1].params[0]);
    EXPECT_EQ(nullptr, pTable[2].pClass);
    DWORD dwBit = 0;
    EXPECT_FALSE(frame.p->m_menuBar.m_mapMenuBits.Lookup(kMenuCutText, dwBit));
    EXPECT_FALSE(frame.p->m_menuBar.m_mapMenuBits.Lookup(kMenuCutPopup, dwBit));
}

TEST(MenuBar, TheFrameShowsItsMenusInTheBar)
{
    MenuFrame frame;
    ASSERT_TRUE(frame.p);
    EXPECT_EQ(nullptr, ::GetMenu(frame.p->m_hWnd));
    HMENU hFrameMenu = frame.p->GetDefaultMenu();
    ASSERT_NE(nullptr, hFrameMenu);
    EXPECT_EQ(6, ::GetMenuItemCount(hFrameMenu));
    EXPECT_EQ(&frame.p->m_menuBar, frame.p->GetMenuBarWnd());
    ASSERT_TRUE(frame.pMgr->SetMenuInfo(5, kMenuNone, kMenuSource, kMenuDisasm, kMenuSect, kMenuTwo));
    frame.pMgr->SetDefaultDockState();
    ASSERT_TRUE(frame.p->LoadMenus(1, kMenuSource));

    frame.p->SwapMenu(kMenuSource);
    EXPECT_EQ(7u, frame.Visible().size());
    EXPECT_EQ(frame.p->GetMenuByID(kMenuSource), frame.p->GetCurrentMenu());
    for (UINT nID : { 0u, (UINT)-1 }) {
        frame.p->SwapMenu(kMenuSource);
        frame.p->SwapMenu(nID);
        EXPECT_EQ(6u, frame.Visible().size()) << nID;
        EXPECT_EQ(hFrameMenu, frame.p->GetCurrentMenu()) << nID;
    }
    // The popups the bar drops, by menu id and index.
    EXPECT_EQ((LRESULT)::GetSubMenu(hFrameMenu, 1), frame.p->SendMessage(WM_TWKGETMENU, kMenuNone, 1));
    EXPECT_EQ(0, frame.p->SendMessage(WM_TWKGETMENU, kMenuDisasm, 0));

    // A bar host's resource shows the frame's own menu.
    CWinApp* pApp = AfxGetApp();
    CWnd* pOldMain = pApp->m_pMainWnd;
    pApp->m_pMainWnd = frame.p;
    frame.p->SwapMenu(20514);
    pApp->m_pMainWnd = pOldMain;
    EXPECT_EQ(hFrameMenu, frame.p->GetCurrentMenu());
}

TEST(MenuBar, FloatedItsFrameHasNoCloseBox)
{
    MenuFrame frame;
    ASSERT_TRUE(frame.p);
    ASSERT_TRUE(frame.pMgr->SetMenuInfo(2, kMenuNone, kMenuSource));
    frame.pMgr->SetDefaultDockState();
    TWKMenuBar& bar = frame.p->m_menuBar;
    frame.p->FloatControlBar(&bar, CPoint(200, 200));
    CFrameWnd* pFloat = bar.GetParentFrame();
    ASSERT_NE(nullptr, pFloat);
    ASSERT_NE(frame.p, pFloat);
    pFloat->RecalcLayout();
    vt::PumpMessages();
    EXPECT_FALSE(pFloat->GetStyle() & WS_SYSMENU);
    EXPECT_FALSE(bar.m_bRemoveSysMenu);

    // A toolbar floated the same way keeps its close box.
    TWKCustomToolBar* pBar = frame.pMgr->CreateUserToolBar("Other");
    ASSERT_NE(nullptr, pBar);
    frame.p->FloatControlBar(pBar, CPoint(300, 300));
    pBar->GetParentFrame()->RecalcLayout();
    vt::PumpMessages();
    EXPECT_TRUE(pBar->GetParentFrame()->GetStyle() & WS_SYSMENU);
}

TEST(MenuBar, WithoutAMenuBarTheManagerRefuses)
{
    TWKMDIFrameWnd* p = new TWKMDIFrameWnd;
    TWKToolBarManager mgr(p, nullptr);
    p->SetControlBarManager(&mgr);
    ASSERT_TRUE(p->LoadFrame(0x7D10));
    EXPECT_FALSE(mgr.SetMenuInfo(1, kMenuTwo));
    EXPECT_EQ(nullptr, mgr.GetButtonMap2());
    p->DestroyWindow();
}

// A press on one part of the caption button, a move and a release: only a
// release over the pressed part posts the child its command, at the screen point.
TEST(MenuBar, CaptionButtonPartsPostTheChildsCommandOnlyWhenReleasedOverThem)
{
    ChildMenuFrame frame;
    ASSERT_TRUE(frame.pSource);
    CMenuTestChild* child = frame.OpenMaximised(::LoadIcon(nullptr, IDI_APPLICATION));
    ASSERT_NE(nullptr, child);
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    TWKBtnCaption& caption = bar.m_btnCaption;
    ASSERT_FALSE(caption.GetStyle() & TBBS_HIDDEN);
    vt::PumpMessages();
    auto part = [&](int nPart) {
        RECT rect;
        caption.GetPartRect(nPart, caption.m_x, caption.m_y, &rect);
        return ChildMenuFrame::Middle(rect);
    };
    auto screen = [&](LPARAM lParam) {
        POINT pt = { (short)LOWORD(lParam), (short)HIWORD(lParam) };
        bar.ClientToScreen(&pt);
        return MAKELPARAM(pt.x, pt.y);
    };
    const LPARAM offButton = MAKELPARAM(caption.m_x - 10, caption.m_y + caption.m_cy / 2);
    struct Case {
        int nPart;
        LPARAM up;
        WPARAM nCommand;   // 0: nothing posted
    } cases[] = {
        { 2, part(1), 0 },            // released over another part
        { 2, offButton, 0 },          // released beside the button
        { 2, part(2), SC_CLOSE },
        { 1, part(1), SC_RESTORE },
        { 0, part(0), SC_MINIMIZE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nPart);
        child->sysCommands.clear();
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, part(c.nPart));
        EXPECT_TRUE(caption.GetStyle() & TBBS_PRESSED);
        EXPECT_EQ(c.nPart, caption.m_nPressedPart);
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, c.up);
        EXPECT_EQ(c.nCommand != 0, (caption.GetStyle() & TBBS_PRESSED) != 0);
        bar.SendMessage(WM_LBUTTONUP, 0, c.up);
        vt::PumpMessages();
        EXPECT_EQ(-1, caption.m_nPressedPart);
        EXPECT_FALSE(caption.GetStyle() & TBBS_PRESSED);
        std::vector<std::pair<WPARAM, LPARAM>> expected;
        if (c.nCommand)
            expected.emplace_back(c.nCommand, screen(c.up));
        EXPECT_EQ(expected, child->sysCommands);
    }

    // Without a minimise box only the close part answers.
    child->ModifyStyle(WS_MINIMIZEBOX, 0);
    frame.p->RefreshMenuBarMDIButtons();
    EXPECT_EQ((DWORD)(WS_SYSMENU | WS_MAXIMIZEBOX), caption.m_dwCaptionStyle & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    child->sysCommands.clear();
    for (int nPart : { 0, 1 }) {
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, part(nPart));
        EXPECT_FALSE(caption.GetStyle() & TBBS_PRESSED) << nPart;
        bar.SendMessage(WM_LBUTTONUP, 0, part(nPart));
    }
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, part(2));
    bar.SendMessage(WM_LBUTTONUP, 0, part(2));
    vt::PumpMessages();
    EXPECT_EQ((std::vector<std::pair<WPARAM, LPARAM>>{ { SC_CLOSE, screen(part(2)) } }), child->sysCommands);
}

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ::EndMenu();
}

// Chooses the first item of the open popup from the keyboard, once.
void CALLBACK ChooseFirstTimer(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    ::KillTimer(nullptr, nTimer);
    if (HWND hPopup = ::FindWindowA("#32768", nullptr)) {
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_RETURN, 0);
    }
}

TEST(MenuBar, TheIconButtonDropsTheChildsSystemMenuWithCloseAsItsDefault)
{
    ChildMenuFrame frame;
    ASSERT_TRUE(frame.pSource);
    HICON hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    CMenuTestChild* child = frame.OpenMaximised(hIcon);
    ASSERT_NE(nullptr, child);
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    ASSERT_EQ(&bar.m_btnCapMenu, bar.GetButton(0));
    EXPECT_EQ(hIcon, bar.m_btnCapMenu.m_hIcon);
    HMENU hSysMenu = ::GetSystemMenu(child->m_hWnd, FALSE);
    ASSERT_NE(nullptr, hSysMenu);
    struct Case {
        UINT nBefore, nAfter;
    } cases[] = { { (UINT)-1, SC_CLOSE }, { SC_RESTORE, SC_RESTORE } };
    // The menu it drops has the states the platform gives the system menu of a
    // maximised window, whatever they were before.
    struct State { UINT nID; bool bEnabled; } states[] = {
        { SC_RESTORE, true }, { SC_MOVE, false }, { SC_SIZE, false }, { SC_MINIMIZE, true }, { SC_MAXIMIZE, false },
    };
    for (const Case& c : cases) {
        ::SetMenuDefaultItem(hSysMenu, c.nBefore, FALSE);
        for (const State& st : states)
            ::EnableMenuItem(hSysMenu, st.nID, MF_BYCOMMAND | (st.bEnabled ? MF_GRAYED : MF_ENABLED));
        frame.p->drops.clear();
        RECT rect;
        bar.m_btnCapMenu.GetRect(&rect);
        // The popup, when the frame tracks it, is modal: a timer ends it.
        UINT_PTR nTimer = ::SetTimer(nullptr, 0, 100, EndMenuTimer);
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ChildMenuFrame::Middle(rect));
        ::KillTimer(nullptr, nTimer);
        bar.SendMessage(WM_CANCELMODE);
        ASSERT_EQ(1u, frame.p->drops.size());
        EXPECT_EQ(0, frame.p->drops[0].nIndex);
        EXPECT_EQ((int)(INT_PTR)hSysMenu, frame.p->drops[0].a);
        EXPECT_EQ(-1, frame.p->drops[0].b);
        EXPECT_EQ(c.nAfter, ::GetMenuDefaultItem(hSysMenu, FALSE, GMDI_USEDISABLED));
        for (const State& st : states)
            EXPECT_EQ(st.bEnabled, !(::GetMenuState(hSysMenu, st.nID, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)))
                << std::hex << st.nID;
    }

    // A command chosen from it goes to the child it belongs to.
    child->sysCommands.clear();
    RECT rect;
    bar.m_btnCapMenu.GetRect(&rect);
    ::SetTimer(nullptr, 0, 100, ChooseFirstTimer);
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 1000, EndMenuTimer);   // should the keys not end it
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ChildMenuFrame::Middle(rect));
    ::KillTimer(nullptr, nTimer);
    bar.SendMessage(WM_CANCELMODE);
    vt::PumpMessages();
    ASSERT_EQ(1u, child->sysCommands.size());
    EXPECT_EQ((WPARAM)SC_RESTORE, child->sysCommands[0].first & 0xFFF0);
}

// A button dropped above or below every row lands at that end, inside the
// icon and the caption buttons, and stays selected.
TEST(MenuBar, DroppedButtonsStayBetweenTheIconAndTheCaptionButtons)
{
    MenuFrame frame;
    TWKMDIMenuBar* pBar = frame.LaidOutBar();
    ASSERT_NE(nullptr, pBar);
    TWKMDIMenuBar& bar = *pBar;
    CRect client;
    bar.GetClientRect(&client);
    for (bool bAbove : { true, false }) {
        SCOPED_TRACE(bAbove);
        const UINT nID = bar.GetItemID(3);
        CRect drop(client.left + 5, 0, client.left + 25, 20);
        drop.OffsetRect(0, bAbove ? client.top - 40 : client.bottom + 20);
        bar.DropButton(&drop, bar.GetButton(3), TRUE, FALSE);
        int nLast = bar.GetButtonCount() - 1;
        EXPECT_EQ(&bar.m_btnCapMenu, bar.GetButton(0));
        EXPECT_EQ(&bar.m_btnCaption, bar.GetButton(nLast));
        EXPECT_EQ(bAbove ? 1 : nLast - 1, bar.GetCurrentIndex());
        EXPECT_EQ(nID, bar.GetItemID(bar.GetCurrentIndex()));
    }
    // Reset, the bar holds the menus' own buttons again, between the same two.
    bar.ResetMenus(FALSE);
    ASSERT_EQ(28, bar.GetButtonCount());
    EXPECT_EQ(&bar.m_btnCapMenu, bar.GetButton(0));
    EXPECT_EQ(&bar.m_btnCaption, bar.GetButton(27));
    EXPECT_EQ(6u, frame.Visible().size());
}

TEST(MenuBar, DraggedToTheLeftEdgeItLaysItsButtonsOutInAColumn)
{
    MenuFrame frame;
    TWKMDIMenuBar* pBar = frame.LaidOutBar();
    ASSERT_NE(nullptr, pBar);
    TWKMDIMenuBar& bar = *pBar;
    CControlBar* left = frame.p->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_NE(nullptr, left);
    CRect rectLeft, rectBar;
    left->GetWindowRect(&rectLeft);
    bar.GetWindowRect(&rectBar);
    // Mouse messages into the drag loop, in the capturing bar's client coordinates.
    for (UINT message : { WM_MOUSEMOVE, WM_LBUTTONUP }) {
        CPoint pt(rectLeft.left, rectLeft.CenterPoint().y);
        bar.ScreenToClient(&pt);
        bar.PostMessage(message, 0, MAKELPARAM((WORD)pt.x, (WORD)pt.y));
    }
    static_cast<TWKDockContext*>(bar.m_pDockContext)->StartDrag(rectBar.TopLeft() + CPoint(3, 3));
    vt::PumpMessages();
    EXPECT_EQ(left, bar.m_pDockBar);
    EXPECT_EQ((DWORD)CBRS_ALIGN_LEFT, bar.GetBarStyle() & CBRS_ALIGN_ANY);
    std::vector<TWKStdBtn*> shown;
    for (int i = 0; i < bar.GetButtonCount(); i++)
        if (!(bar.GetButtonStyle(i) & TBBS_HIDDEN))
            shown.push_back(bar.GetButton(i));
    ASSERT_EQ(6u, shown.size());
    for (size_t i = 1; i < shown.size(); i++) {
        EXPECT_EQ(shown[0]->m_x, shown[i]->m_x) << i;
        EXPECT_GE(shown[i]->m_y, shown[i - 1]->m_y + shown[i - 1]->m_cy) << i;
    }
}

void DeleteLayout(const char* profile)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString(CString(profile) + "-Summary", nullptr, nullptr);
    for (int i = 0; i < 16; i++) {
        CString section;
        section.Format("%s-Bar%d", profile, i);
        pApp->WriteProfileString(section, nullptr, nullptr);
    }
}

// Restored with the window missing or present, the layout's menu bar is the
// frame's own object, its menu buttons between the caption buttons, which
// are not saved.
TEST(MenuBar, ASavedLayoutRestoresIntoTheFramesOwnMenuBar)
{
    const char* const kProfile = "BarState\\MenuBarLayout";
    DeleteLayout(kProfile);
    {
        ChildMenuFrame frame;
        ASSERT_TRUE(frame.pSource);
        ASSERT_NE(nullptr, frame.OpenMaximised(::LoadIcon(nullptr, IDI_APPLICATION)));
        ASSERT_FALSE(frame.p->m_menuBar.m_btnCaption.GetStyle() & TBBS_HIDDEN);
        frame.p->SaveBarState(kProfile);
        EXPECT_EQ(28, frame.p->m_menuBar.GetButtonCount());
    }
    for (bool bCreated : { false, true }) {
        SCOPED_TRACE(bCreated);
        MenuFrame frame;
        ASSERT_TRUE(frame.p);
        ASSERT_TRUE(frame.pMgr->SetMenuInfo(5, kMenuNone, kMenuSource, kMenuDisasm, kMenuSect, kMenuTwo));
        if (bCreated)
            frame.pMgr->SetDefaultDockState();
        frame.p->LoadBarState(kProfile);
        TWKMDIMenuBar& bar = frame.p->m_menuBar;
        ASSERT_TRUE(::IsWindow(bar.m_hWnd));
        EXPECT_EQ(&bar, frame.p->GetControlBar(0xE8FF));
        int nMenuBars = 0;
        for (POSITION pos = frame.p->m_listControlBars.GetHeadPosition(); pos;)
            nMenuBars += static_cast<CControlBar*>(frame.p->m_listControlBars.GetNext(pos))->IsKindOf(RUNTIME_CLASS(TWKMenuBar));
        EXPECT_EQ(1, nMenuBars);
        ASSERT_EQ(28, bar.GetButtonCount());
        EXPECT_EQ(26, frame.MenuButtonCount());
        EXPECT_EQ(&bar.m_btnCapMenu, bar.GetButton(0));
        EXPECT_EQ(&bar.m_btnCaption, bar.GetButton(27));
        EXPECT_TRUE(bar.GetButtonStyle(27) & TBBS_HIDDEN);
        ASSERT_NE(nullptr, bar.m_pDockBar);
        EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, bar.m_pDockBar->GetDlgCtrlID());
    }
    DeleteLayout(kProfile);
}

} // namespace
