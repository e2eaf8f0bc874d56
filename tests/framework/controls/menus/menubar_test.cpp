#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

const UINT kMenuNone = 0x7D40, kMenuSource = 0x7D41, kMenuDisasm = 0x7D42, kMenuSect = 0x7D43, kMenuTwo = 0x7D44;
const UINT kMenuCutText = 0x7D45, kMenuCutPopup = 0x7D46;

// A main frame as the application makes it: menu bar and manager set in the
// constructor, bitmap menus, then LoadFrame.
class CMenuTestFrame : public TWKMDIFrameWnd
{
public:
    TWKMenuBar m_menuBar;
    TWKToolBarManager* m_pMgr;
    CMenuTestFrame()
    {
        m_pMenuBar = &m_menuBar;
        m_pMgr = new TWKToolBarManager(this, nullptr);
        SetControlBarManager(m_pMgr);
        EnableBmpMenus(TRUE, TRUE);
    }
};

struct MenuFrame {
    CMenuTestFrame* p = nullptr;
    TWKToolBarManager* pMgr = nullptr;
    MenuFrame()
    {
        p = new CMenuTestFrame;
        pMgr = p->m_pMgr;
        if (!p->LoadFrame(kMenuNone)) {
            ADD_FAILURE() << "LoadFrame failed";
            delete p;
            p = nullptr;
            return;
        }
        p->EnableDocking(CBRS_ALIGN_ANY);
        p->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ~MenuFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        delete pMgr;
    }
    std::vector<std::string> Visible() const
    {
        std::vector<std::string> v;
        TWKMenuBar& bar = p->m_menuBar;
        for (int i = 0; i < bar.GetButtonCount(); i++)
            if (!(bar.GetButtonStyle(i) & TBBS_HIDDEN))
                v.push_back((LPCSTR) static_cast<TWKTBMenuBtn*>(bar.GetButton(i))->m_strText);
        return v;
    }
};

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
    TWKMenuBar& bar = frame.p->m_menuBar;
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_EQ(0xE8FF, bar.GetDlgCtrlID());
    CString strTitle;
    bar.GetWindowText(strTitle);
    EXPECT_STREQ("Menu bar", strTitle);
    ASSERT_NE(nullptr, bar.m_pDockBar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, bar.m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(frame.p->GetControlBar(0xE8FF), &bar);
    ASSERT_EQ(26, bar.GetButtonCount());
    for (int i = 0; i < 26; i++)
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

} // namespace
