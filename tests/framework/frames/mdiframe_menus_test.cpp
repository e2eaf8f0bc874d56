#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"
#include "tests/framework/controls/menus/menubar_fixture.h"
#include "tests/harness/harness.h"

namespace {

const UINT kFrameID = 0x7D10;    // menu: File, Window
const UINT kChildID = 0x7D20;    // menu: Child, Window
const UINT kMissingID = 0x7DFF;  // no menu resource

// A main frame with bitmap menus and a toolbar manager, as an application
// without a menu bar makes it.
struct BmpMenuFrame {
    TWKMDIFrameWnd* p = nullptr;
    TWKToolBarManager* pMgr = nullptr;
    explicit BmpMenuFrame(BOOL bBmpMenus)
    {
        p = new TWKMDIFrameWnd;
        pMgr = new TWKToolBarManager(p, nullptr);
        p->SetControlBarManager(pMgr);
        p->EnableBmpMenus(bBmpMenus, TRUE);
        if (!p->LoadFrame(kFrameID)) {
            ADD_FAILURE() << "LoadFrame failed";
            delete p;
            p = nullptr;
        }
    }
    ~BmpMenuFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        delete pMgr;
    }
};

TEST(MDIFrameMenus, BitmapMenusInstallThePlugInWithTheManagersImages)
{
    BmpMenuFrame plain(FALSE);
    ASSERT_TRUE(plain.p);
    EXPECT_EQ(nullptr, plain.p->GetBmpMenuPlugIn());
    EXPECT_EQ(::GetMenu(plain.p->m_hWnd), plain.p->GetDefaultMenu());
    EXPECT_EQ(::GetMenu(plain.p->m_hWnd), plain.p->GetCurrentMenu());

    BmpMenuFrame frame(TRUE);
    ASSERT_TRUE(frame.p);
    TWKBmpMenuPlugIn* pPlugIn = frame.p->GetBmpMenuPlugIn();
    ASSERT_NE(nullptr, pPlugIn);
    EXPECT_TRUE(pPlugIn->IsPluggedIn());
    EXPECT_EQ(frame.pMgr->GetBmpMgr(), pPlugIn->GetBmpMgr());
    EXPECT_EQ(2, frame.pMgr->GetBmpMgr()->GetRefCount());

    // A popup about to open is converted after the frame's own update.
    HMENU hFile = ::GetSubMenu(::GetMenu(frame.p->m_hWnd), 0);
    frame.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, MAKELPARAM(0, FALSE));
    MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_DATA };
    ASSERT_TRUE(::GetMenuItemInfoA(hFile, 0, TRUE, &mii));
    EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
    auto* pItem = reinterpret_cast<TWKBmpMenuItemInfo*>(mii.dwItemData);
    ASSERT_NE(nullptr, pPlugIn->GetMenuInfo(hFile));
    ASSERT_TRUE(pPlugIn->GetMenuInfo(hFile)->Contains(pItem));
    EXPECT_STREQ("&Thing\tCtrl+K", pItem->m_strText);

    // The system menu is left alone.
    HMENU hSys = ::GetSystemMenu(frame.p->m_hWnd, FALSE);
    frame.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hSys, MAKELPARAM(0, TRUE));
    EXPECT_EQ(nullptr, pPlugIn->GetMenuInfo(hSys));

    // Closing the frame puts the string items back.
    frame.p->DestroyWindow();
    EXPECT_EQ(1, frame.pMgr->GetBmpMgr()->GetRefCount());
}

TEST(MDIFrameMenus, LoadMenusAndGetMenuAnswerPopupsById)
{
    BmpMenuFrame frame(FALSE);
    ASSERT_TRUE(frame.p);
    EXPECT_FALSE(frame.p->LoadMenus(3, kChildID, kMissingID, kFrameID));
    HMENU hChild = frame.p->GetMenuByID(kChildID);
    ASSERT_NE(nullptr, hChild);
    EXPECT_EQ(nullptr, frame.p->GetMenuByID(kMissingID));
    EXPECT_EQ(nullptr, frame.p->GetMenuByID(kFrameID));   // after the missing one: not loaded
    EXPECT_TRUE(frame.p->LoadMenus(1, kFrameID));
    EXPECT_NE(nullptr, frame.p->GetMenuByID(kFrameID));

    struct Case { UINT nID; int nIndex; HMENU hExpected; } cases[] = {
        { kChildID, 0, ::GetSubMenu(hChild, 0) },
        { kChildID, 1, ::GetSubMenu(hChild, 1) },
        { kChildID, 5, nullptr },
        { kMissingID, 0, nullptr },
    };
    for (const Case& c : cases)
        EXPECT_EQ((LRESULT)c.hExpected, frame.p->SendMessage(WM_TWKGETMENU, c.nID, c.nIndex)) << c.nID << " " << c.nIndex;
    EXPECT_NE(nullptr, cases[0].hExpected);
}

TEST(MDIFrameMenus, TheActiveChildsMenuShowsInTheBarAndTheDefaultOneAfterTheLastChild)
{
    vt::ChildMenuFrame frame;
    ASSERT_TRUE(frame.pSource && frame.pDisasm);
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    EXPECT_EQ(vt::kMenuNone, bar.GetCurMenuID());
    CMenuTestChild* source = frame.Open(frame.pSource);
    ASSERT_NE(nullptr, source);
    EXPECT_EQ(vt::kMenuSource, bar.GetCurMenuID());
    EXPECT_EQ(7u, frame.Visible().size());
    CMenuTestChild* disasm = frame.Open(frame.pDisasm);
    ASSERT_NE(nullptr, disasm);
    EXPECT_EQ(vt::kMenuDisasm, bar.GetCurMenuID());
    EXPECT_EQ(8u, frame.Visible().size());
    frame.p->MDIActivate(source);
    EXPECT_EQ(vt::kMenuSource, bar.GetCurMenuID());

    // Closing the active child activates the other one; closing that leaves no document.
    source->SendMessage(WM_CLOSE);
    ASSERT_EQ(disasm, frame.p->MDIGetActive());
    EXPECT_EQ(vt::kMenuDisasm, bar.GetCurMenuID());
    disasm->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, frame.p->MDIGetActive());
    EXPECT_EQ(vt::kMenuNone, bar.GetCurMenuID());
    EXPECT_EQ((std::vector<std::string>{ "&File", "&Edit", "&View", "&Project", "&Tools", "&Help" }), frame.Visible());
}

TEST(MDIFrameMenus, AMaximisedChildShowsItsIconFirstAndItsCaptionButtonsLast)
{
    vt::ChildMenuFrame frame;
    ASSERT_TRUE(frame.pSource);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kFrameID));
    ASSERT_NE(nullptr, hIcon);
    CMenuTestChild* child = frame.OpenMaximised(hIcon);
    ASSERT_NE(nullptr, child);
    ASSERT_TRUE(child->IsZoomed());
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    const int nLast = bar.GetButtonCount() - 1;
    auto shown = [&](int i) { return !(bar.GetButtonStyle(i) & TBBS_HIDDEN); };
    ASSERT_EQ(&bar.m_btnCapMenu, bar.GetButton(0));
    ASSERT_EQ(&bar.m_btnCaption, bar.GetButton(nLast));
    EXPECT_TRUE(shown(0));
    EXPECT_TRUE(shown(nLast));
    EXPECT_EQ(hIcon, bar.m_btnCapMenu.m_hIcon);
    EXPECT_EQ(child->GetStyle() & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), bar.m_btnCaption.m_dwCaptionStyle);
    // Laid out around the menu buttons.
    for (int i = 1; i < nLast; i++) {
        if (!shown(i))
            continue;
        EXPECT_LT(bar.GetButton(0)->m_x, bar.GetButton(i)->m_x) << i;
        EXPECT_GT(bar.GetButton(nLast)->m_x, bar.GetButton(i)->m_x) << i;
    }

    child->MDIRestore();
    EXPECT_FALSE(shown(0));
    EXPECT_FALSE(shown(nLast));
    child->MDIMaximize();
    EXPECT_TRUE(shown(0));
    EXPECT_TRUE(shown(nLast));
    // The menu of no document hides them, whether asked for by 0 or -1.
    for (UINT nID : { 0u, (UINT)-1 }) {
        frame.p->SwapMenu(vt::kMenuSource);
        frame.p->RefreshMenuBarMDIButtons();
        ASSERT_TRUE(shown(nLast)) << nID;
        frame.p->SwapMenu(nID);
        EXPECT_FALSE(shown(0)) << nID;
        EXPECT_FALSE(shown(nLast)) << nID;
        EXPECT_EQ(vt::kMenuNone, bar.GetCurMenuID()) << nID;
    }
}

std::vector<std::pair<WPARAM, LPARAM>> g_setMenus;
WNDPROC g_pfnClientProc = nullptr;
LRESULT CALLBACK RecordingClientProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MDISETMENU)
        g_setMenus.emplace_back(wParam, lParam);
    return ::CallWindowProcA(g_pfnClientProc, hWnd, message, wParam, lParam);
}

CString TextOf(CWnd* p)
{
    CString s;
    p->GetWindowText(s);
    return s;
}

TEST(MDIFrameMenus, AMaximisedChildNamesItselfOnceShowsItsOwnIconAndItsStates)
{
    vt::ChildMenuFrame frame;
    ASSERT_TRUE(frame.pSource);
    CMenuTestChild* first = frame.Open(frame.pSource);
    CMenuTestChild* child = frame.Open(frame.pSource);
    ASSERT_TRUE(first && child);
    vt::PumpMessages();
    const CString strApp = frame.p->GetTitle();
    ASSERT_FALSE(strApp.IsEmpty());
    const CString strChild = TextOf(child);
    ASSERT_FALSE(strChild.IsEmpty());
    EXPECT_EQ(strApp + " - " + strChild, TextOf(frame.p));

    // Maximised: the frame's title names the child once, in brackets.
    child->MDIMaximize();
    ASSERT_TRUE(child->IsZoomed());
    vt::PumpMessages();
    EXPECT_EQ(strApp + " - [" + strChild + "]", TextOf(frame.p));
    // Another child activated, still maximised; and restored.
    frame.p->MDIActivate(first);
    vt::PumpMessages();
    EXPECT_EQ(strApp + " - [" + TextOf(first) + "]", TextOf(frame.p));
    first->MDIRestore();
    vt::PumpMessages();
    EXPECT_EQ(strApp + " - " + TextOf(first), TextOf(frame.p));
    frame.p->MDIActivate(child);
    child->MDIMaximize();
    vt::PumpMessages();

    // The slot shows the icon the child shows: none of its own, its class's,
    // else the platform's default one.
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    EXPECT_FALSE(bar.GetButtonStyle(0) & TBBS_HIDDEN);
    ASSERT_EQ(nullptr, (HICON)::GetClassLongPtrA(child->m_hWnd, GCLP_HICON));
    EXPECT_EQ(::LoadIcon(nullptr, IDI_APPLICATION), bar.m_btnCapMenu.m_hIcon);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kFrameID));
    ASSERT_NE(nullptr, hIcon);
    ::SetClassLongPtrA(child->m_hWnd, GCLP_HICON, (LONG_PTR)hIcon);
    child->MDIRestore();
    child->MDIMaximize();
    HICON hShown = bar.m_btnCapMenu.m_hIcon;
    EXPECT_TRUE(hShown == hIcon || hShown == (HICON)::GetClassLongPtrA(child->m_hWnd, GCLP_HICONSM));
    EXPECT_NE(nullptr, hShown);
    ::SetClassLongPtrA(child->m_hWnd, GCLP_HICON, 0);
}

// The items of the MDI window list in a window menu: id and text.
std::vector<std::string> WindowList(HMENU hWindow)
{
    std::vector<std::string> v;
    for (int i = 0; i < ::GetMenuItemCount(hWindow); i++) {
        UINT nID = ::GetMenuItemID(hWindow, i);
        if (nID < AFX_IDM_FIRST_MDICHILD || nID == (UINT)-1)
            continue;
        char sz[256] = "";
        ::GetMenuStringA(hWindow, i, sz, sizeof sz, MF_BYPOSITION);
        v.push_back(sz);
    }
    return v;
}

TEST(MDIFrameMenus, TheWindowListNamesEveryChildAsSoonAsItExists)
{
    vt::ChildMenuFrame frame;
    ASSERT_TRUE(frame.pSource);
    ASSERT_TRUE(frame.p->LoadMenus(1, vt::kMenuSource));
    HWND hClient = frame.p->m_hWndMDIClient;
    g_pfnClientProc = (WNDPROC)::SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)RecordingClientProc);
    g_setMenus.clear();
    CMenuTestChild* first = frame.Open(frame.pSource);
    CMenuTestChild* second = frame.Open(frame.pSource);
    ::SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)g_pfnClientProc);
    ASSERT_TRUE(first && second);
    ASSERT_FALSE(g_setMenus.empty());
    HMENU hWindow = (HMENU)g_setMenus.back().second;
    ASSERT_TRUE(::IsMenu(hWindow));
    std::vector<std::string> expected = { "&1 " + std::string(TextOf(first)), "&2 " + std::string(TextOf(second)) };
    EXPECT_EQ(expected, WindowList(hWindow));
    vt::PumpMessages();
    EXPECT_EQ(expected, WindowList(hWindow));
    // A new title shows at once.
    first->SetWindowText("Renamed");
    expected[0] = "&1 Renamed";
    EXPECT_EQ(expected, WindowList(hWindow));
}

TEST(MDIFrameMenus, NoBorderSpaceLeftMakesTheMenuBarIgnoreTheNextHide)
{
    vt::MenuFrame frame;
    ASSERT_TRUE(frame.p);
    ASSERT_TRUE(frame.FiveMenus());
    TWKMDIMenuBar& bar = frame.p->m_menuBar;
    struct Case {
        RECT rect;
        BOOL bIgnore;
    } cases[] = { { { 0, 0, 0, 10 }, FALSE }, { { 0, 0, 0, 0 }, TRUE } };
    for (Case& c : cases) {
        frame.p->NegotiateBorderSpace(CFrameWnd::borderSet, &c.rect);
        EXPECT_EQ(c.bIgnore, bar.GetIgnoreNextHide());
    }
    bar.DelayShow(FALSE);
    EXPECT_FALSE(bar.GetIgnoreNextHide());
    EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE);
}

// Records what the MDI client is told about its menus.
TEST(MDIFrameMenus, TheWindowMenuFollowsTheBarOnlyWhileTheMainWindowHasNoMenu)
{
    vt::MenuFrame frame;
    ASSERT_TRUE(frame.p);
    ASSERT_TRUE(frame.FiveMenus());
    ASSERT_TRUE(frame.p->LoadMenus(1, vt::kMenuSource));
    CWinApp* pApp = AfxGetApp();
    CWnd* pOldMain = pApp->m_pMainWnd;
    pApp->m_pMainWnd = frame.p;
    HWND hClient = frame.p->m_hWndMDIClient;
    g_pfnClientProc = (WNDPROC)::SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)RecordingClientProc);
    g_setMenus.clear();
    HMENU hWindow = frame.p->GetWindowMenuPopup(frame.p->GetMenuByID(vt::kMenuSource));
    ASSERT_NE(nullptr, hWindow);
    typedef std::vector<std::pair<WPARAM, LPARAM>> Sets;

    frame.p->SwapMenu(vt::kMenuSource);
    EXPECT_EQ((Sets{ { 0, (LPARAM)hWindow } }), g_setMenus);
    // Without a child the frame's update sets its default menu (none, with
    // a menu bar) and then the bar's window menu.
    g_setMenus.clear();
    frame.p->OnUpdateFrameMenu(nullptr);
    EXPECT_EQ((Sets{ { 0, 0 }, { 0, (LPARAM)hWindow } }), g_setMenus);

    // A menu of the main window's own keeps its window list.
    HMENU hOwn = ::CreateMenu();
    ::AppendMenuA(hOwn, MF_STRING, 1, "Own");
    ::SetMenu(frame.p->m_hWnd, hOwn);
    g_setMenus.clear();
    frame.p->SwapMenu(vt::kMenuSource);
    frame.p->UpdateMDIWindowMenu();
    EXPECT_EQ(Sets{}, g_setMenus);
    ::SetMenu(frame.p->m_hWnd, nullptr);
    ::DestroyMenu(hOwn);

    ::SetWindowLongPtrA(hClient, GWLP_WNDPROC, (LONG_PTR)g_pfnClientProc);
    pApp->m_pMainWnd = pOldMain;
}

} // namespace
