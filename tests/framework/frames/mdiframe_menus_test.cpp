#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"
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

} // namespace
