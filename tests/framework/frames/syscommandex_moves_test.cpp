#include "tests/framework/frames/dockview_fixture.h"
#include "tests/framework/frames/menu_driver.h"
#include "framework/frames/SysCommandEx.h"
#include <string>

VT_DOCKVIEW_CLASSES()

using namespace nsSysCommandEx;

namespace {

// An MDI child whose window cannot be made.
class CFailingChild : public TWKMDIChildWnd
{
    DECLARE_DYNCREATE(CFailingChild)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(CFailingChild, TWKMDIChildWnd)

class SysCommandMoves : public vt::DockViews
{
protected:
    void SetUp() override
    {
        vt::DockViews::SetUp();
        saved = tmpl->m_dwMDIChildCaptionStyles;
        savedDocked = tmpl->m_dwDockedCaptionStyles;
        // Everything on: the button, the right double click and the context menu.
        tmpl->m_dwMDIChildCaptionStyles = tmpl->m_dwDockedCaptionStyles = 1;
    }
    void TearDown() override
    {
        tmpl->m_dwMDIChildCaptionStyles = saved;
        tmpl->m_dwDockedCaptionStyles = savedDocked;
        vt::DockViews::TearDown();
    }
    DWORD saved = 0, savedDocked = 0;

    LRESULT Request(CFrameWnd* pFrame, int nState, DWORD dwFlags = 0, CRect rc = CRect())
    {
        SCXREQUEST request = {};
        request.hWnd = pFrame->m_hWnd;
        request.nNewState = nState;
        request.dwFlags = dwFlags;
        request.x = rc.left;
        request.y = rc.top;
        request.cx = rc.Width();
        request.cy = rc.Height();
        return SendRequest(SCX_CHANGESTATE, request);
    }
    // Drops the state menu at the frame's centre and chooses the item with the
    // mnemonic (0 cancels); whether a menu showed.
    static bool DropMenuAndChoose(CFrameWnd* pFrame, char ch)
    {
        vt::MenuDriver driver(ch);
        SCXREQUEST request = {};
        request.hWnd = pFrame->m_hWnd;
        request.x = -1;
        EXPECT_EQ(0, SendRequest(SCX_DROPMENU, request));
        return driver.bSeen;
    }
    int StateOf(CView* pView)
    {
        ScxMsgFilter filter;
        return filter.GetFrameState(pView->GetParentFrame(), tmpl, nullptr);
    }
    // The main window's update lock is free again.
    bool LockFree() const
    {
        if (!::LockWindowUpdate(frame->m_hWnd))
            return false;
        ::LockWindowUpdate(nullptr);
        return true;
    }
    static bool IsMDIChild(CView* pView)
    {
        CFrameWnd* p = pView->GetParentFrame();
        return p && p->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd));
    }
};

TEST_F(SysCommandMoves, ToggleMovesAViewBetweenItsMDIChildAndADockedFrame)
{
    CDockTestView* pView = Open(FALSE);
    ASSERT_NE(nullptr, pView);
    CDocument* pDoc = pView->GetDocument();
    ASSERT_TRUE(IsMDIChild(pView));
    CFrameWnd* pChild = pView->GetParentFrame();

    // A right double click on the child's caption docks it on the next default side.
    const UINT nSide = PeekNextDockBarID();
    EXPECT_EQ(15, pChild->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, 0));
    TWKDockableFrame* pDocked = DockableOf(pView);
    ASSERT_NE(nullptr, pDocked);
    EXPECT_EQ(nSide, (UINT)BarOf(pDocked)->m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(pDoc, pView->GetDocument());
    EXPECT_TRUE(LockFree());

    // On the docked frame's caption it makes it an MDI child again; the
    // docked frame and its filters are gone meanwhile.
    const HWND hDocked = pDocked->m_hWnd;
    EXPECT_EQ(15, pDocked->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, 0));
    EXPECT_FALSE(::IsWindow(hDocked));
    EXPECT_TRUE(IsMDIChild(pView));
    EXPECT_EQ(pDoc, pView->GetDocument());
    EXPECT_TRUE(LockFree());

    // A floating view toggles to an MDI child.
    ASSERT_EQ(1, Request(pView->GetParentFrame(), SCXS_FLOATING));
    ASSERT_EQ(SCXS_FLOATING, StateOf(pView));
    EXPECT_EQ(1, Request(pView->GetParentFrame(), SCXS_TOGGLE));
    EXPECT_TRUE(IsMDIChild(pView));
    EXPECT_TRUE(LockFree());
}

TEST_F(SysCommandMoves, ADockedFramesOwnButtonMakesItsViewAnMDIChild)
{
    // The click's request destroys the frame, its filters and the button itself.
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pDocked = DockableOf(pView);
    ASSERT_NE(nullptr, pDocked);
    pDocked->SendMessage(WM_NCACTIVATE, TRUE);
    auto* pButton = dynamic_cast<ScxButtonMsgFilter*>(pDocked->m_pFilterRoot->FindFilter(258, nullptr, -1));
    ASSERT_NE(nullptr, pButton);
    ASSERT_FALSE(pButton->m_rect.IsRectEmpty());
    CRect rcWindow;
    pDocked->GetWindowRect(&rcWindow);
    CPoint inside = pButton->m_rect.CenterPoint() + rcWindow.TopLeft();
    const HWND hDocked = pDocked->m_hWnd;
    pDocked->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y));
    ASSERT_TRUE(pButton->m_bTracking);
    CPoint client = inside;
    pDocked->ScreenToClient(&client);
    ::SendMessageA(hDocked, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    EXPECT_FALSE(::IsWindow(hDocked));
    EXPECT_TRUE(IsMDIChild(pView));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_TRUE(LockFree());
}

TEST_F(SysCommandMoves, ExplicitTargetsFromAnMDIChild)
{
    const struct { int state; int expected; } cases[] = {
        { SCXS_MINIMIZED, SCXS_MINIMIZED }, { SCXS_MAXIMIZED, SCXS_MAXIMIZED }, { SCXS_RESTORED, SCXS_RESTORED },
        { SCXS_MDICHILD, SCXS_RESTORED },   { SCXS_LEFT, SCXS_LEFT },           { SCXS_TOP, SCXS_TOP },
        { SCXS_RIGHT, SCXS_RIGHT },         { SCXS_BOTTOM, SCXS_BOTTOM },       { SCXS_FLOATING, SCXS_FLOATING },
    };
    for (const auto& c : cases) {
        CDockTestView* pView = Open(FALSE);
        ASSERT_NE(nullptr, pView);
        CFrameWnd* pChild = pView->GetParentFrame();
        pChild->ShowWindow(SW_SHOWNORMAL);
        CRect rcChild;
        pChild->GetWindowRect(&rcChild);
        EXPECT_EQ(1, Request(pChild, c.state)) << c.state;
        EXPECT_EQ(c.expected, StateOf(pView)) << c.state;
        EXPECT_TRUE(LockFree()) << c.state;
        if (c.state == SCXS_FLOATING) {
            // Where the MDI child was, with its size.
            CFrameWnd* pFloating = pView->GetParentFrame()->GetParentFrame();
            ASSERT_NE(nullptr, pFloating);
            CRect rcFloat;
            pFloating->GetWindowRect(&rcFloat);
            EXPECT_EQ(rcChild.TopLeft(), rcFloat.TopLeft());
            TWKControlBar* pBar = BarOf(pView->GetParentFrame());
            ASSERT_NE(nullptr, pBar);
            EXPECT_EQ(rcChild.Size(), pBar->m_sizeMRUFloat);
        }
        tmpl->CloseAllDocuments(FALSE);
    }

    // An MDI child placed by the record's screen point and size.
    CDockTestView* pView = Open(FALSE);
    ASSERT_NE(nullptr, pView);
    CRect rcClient;
    ::GetWindowRect(frame->m_hWndMDIClient, &rcClient);
    const CRect rcWanted(rcClient.left + 30, rcClient.top + 20, rcClient.left + 330, rcClient.top + 220);
    EXPECT_EQ(1, Request(pView->GetParentFrame(), SCXS_RESTORED, SCXF_POS | SCXF_SIZE, rcWanted));
    CRect rcNow;
    pView->GetParentFrame()->GetWindowRect(&rcNow);
    EXPECT_EQ(rcWanted, rcNow);
}

TEST_F(SysCommandMoves, DockedAndFloatingViewsChangeSides)
{
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pDocked = DockableOf(pView);
    ASSERT_NE(nullptr, pDocked);
    TWKControlBar* pBar = BarOf(pDocked);
    const struct { int state; } sides[] = { { SCXS_LEFT }, { SCXS_BOTTOM }, { SCXS_RIGHT }, { SCXS_TOP } };
    for (const auto& s : sides) {
        // The bar moves; the frame stays (the answer is no new frame).
        EXPECT_EQ(0, Request(pDocked, s.state)) << s.state;
        EXPECT_EQ(s.state, StateOf(pView)) << s.state;
        EXPECT_EQ(pDocked, DockableOf(pView));
        EXPECT_EQ(pBar, BarOf(pDocked));
    }
    // Docked already: no change.
    EXPECT_EQ(0, Request(pDocked, SCXS_DOCKED));
    EXPECT_EQ(SCXS_TOP, StateOf(pView));
    // Floating and back to a side.
    EXPECT_EQ(1, Request(pDocked, SCXS_FLOATING));
    EXPECT_EQ(SCXS_FLOATING, StateOf(pView));
    EXPECT_EQ(pDocked, DockableOf(pView));
    EXPECT_EQ(0, Request(pDocked, SCXS_RIGHT));
    EXPECT_EQ(SCXS_RIGHT, StateOf(pView));
    EXPECT_TRUE(LockFree());
}

TEST_F(SysCommandMoves, TheStateMenuShowsWhereTheViewIsAndItsCheckedItemKeepsItThere)
{
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    ASSERT_EQ(0, Request(DockableOf(pView), SCXS_TOP));
    TWKDockableFrame* pDocked = DockableOf(pView);
    SCXREQUEST request = {};
    request.hWnd = pDocked->m_hWnd;
    ASSERT_EQ(1, SendRequest(SCX_BUILDMENU, request));
    ASSERT_NE(nullptr, request.hMenu);
    EXPECT_EQ((UINT)MF_CHECKED, ::GetMenuState(request.hMenu, SCXS_DOCKED, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ((UINT)MF_CHECKED, ::GetMenuState(request.hMenu, SCXS_TOP, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(0u, ::GetMenuState(request.hMenu, SCXS_MDICHILD, MF_BYCOMMAND) & MF_CHECKED);
    ::DestroyMenu(request.hMenu);

    // Choosing the checked "Docked" leaves the frame and its bar where they are.
    TWKControlBar* pBar = BarOf(pDocked);
    EXPECT_TRUE(DropMenuAndChoose(pDocked, 'd'));
    EXPECT_EQ(pDocked, DockableOf(pView));
    EXPECT_EQ(pBar, BarOf(pDocked));
    EXPECT_EQ(SCXS_TOP, StateOf(pView));

    // In an MDI child, "MDI Child" is checked with the child's state; choosing it keeps the child.
    ASSERT_EQ(1, Request(pDocked, SCXS_RESTORED));
    CFrameWnd* pChild = pView->GetParentFrame();
    ASSERT_TRUE(IsMDIChild(pView));
    request = {};
    request.hWnd = pChild->m_hWnd;
    ASSERT_EQ(1, SendRequest(SCX_BUILDMENU, request));
    EXPECT_EQ((UINT)MF_CHECKED, ::GetMenuState(request.hMenu, SCXS_MDICHILD, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ((UINT)MF_CHECKED, ::GetMenuState(request.hMenu, SCXS_RESTORED, MF_BYCOMMAND) & MF_CHECKED);
    ::DestroyMenu(request.hMenu);
    EXPECT_TRUE(DropMenuAndChoose(pChild, 'm'));
    EXPECT_EQ(pChild, pView->GetParentFrame());
    EXPECT_EQ(SCXS_RESTORED, StateOf(pView));
    // A chosen other state moves it.
    EXPECT_TRUE(DropMenuAndChoose(pChild, 'f'));
    EXPECT_EQ(SCXS_FLOATING, StateOf(pView));
    EXPECT_TRUE(LockFree());
}

TEST_F(SysCommandMoves, AViewOfAnotherTemplateStaysAndGetsNoMenu)
{
    // A plain template's document: the extension finds no dockable-view template for it.
    CMultiDocTemplate plain(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(TWKMDIChildWnd),
                            RUNTIME_CLASS(CDockTestView));
    plain.LoadTemplate();
    CDocument* pDoc = plain.OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    POSITION pos = pDoc->GetFirstViewPosition();
    CView* pView = pDoc->GetNextView(pos);
    auto* pChild = dynamic_cast<TWKMDIChildWnd*>(pView->GetParentFrame());
    ASSERT_NE(nullptr, pChild);
    pChild->EnableCaptionControls(1);
    EXPECT_EQ(0, Request(pChild, SCXS_TOGGLE));
    EXPECT_EQ(0, Request(pChild, SCXS_LEFT));
    SCXREQUEST request = {};
    request.hWnd = pChild->m_hWnd;
    EXPECT_EQ(0, SendRequest(SCX_BUILDMENU, request));
    EXPECT_EQ(nullptr, request.hMenu);
    EXPECT_FALSE(DropMenuAndChoose(pChild, 0));
    EXPECT_EQ(pChild, pView->GetParentFrame());
    EXPECT_TRUE(LockFree());
    plain.CloseAllDocuments(FALSE);
}

TEST_F(SysCommandMoves, AFailedMoveLeavesTheViewAndReleasesTheUpdateLock)
{
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pDocked = DockableOf(pView);
    CRuntimeClass* pSaved = tmpl->m_pFrameClass;
    tmpl->m_pFrameClass = RUNTIME_CLASS(CFailingChild);
    for (int nState : { (int)SCXS_TOGGLE, (int)SCXS_MAXIMIZED, (int)SCXS_MDICHILD }) {
        EXPECT_EQ(0, Request(pDocked, nState)) << nState;
        EXPECT_EQ(pDocked, DockableOf(pView)) << nState;
        EXPECT_TRUE(LockFree()) << nState;
    }
    tmpl->m_pFrameClass = pSaved;
}

TEST_F(SysCommandMoves, TheMDIFramesButtonMovesTheMaximizedChild)
{
    CDockTestView* pView = Open(FALSE);
    ASSERT_NE(nullptr, pView);
    auto* pChild = static_cast<CMDIChildWnd*>(pView->GetParentFrame());
    pChild->MDIMaximize();
    auto* pButton = dynamic_cast<ScxButtonMDIMaxChildMsgFilter*>(frame->m_pFilterRoot->FindFilter(260, nullptr, -1));
    ASSERT_NE(nullptr, pButton);
    frame->SendMessage(WM_NCACTIVATE, TRUE);
    ASSERT_FALSE(pButton->m_rect.IsRectEmpty());
    CRect rcWindow;
    frame->GetWindowRect(&rcWindow);
    CPoint inside = pButton->m_rect.CenterPoint() + rcWindow.TopLeft();
    EXPECT_EQ(7, frame->SendMessage(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(inside.x, inside.y)));
    CPoint client = inside;
    frame->ScreenToClient(&client);
    frame->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    EXPECT_NE(nullptr, DockableOf(pView));
    EXPECT_TRUE(LockFree());
    EXPECT_EQ(nullptr, ::GetCapture());

    // The right double click in the menu row does the same for a maximized child.
    ASSERT_EQ(1, Request(pView->GetParentFrame(), SCXS_MAXIMIZED));
    ASSERT_EQ(SCXS_MAXIMIZED, StateOf(pView));
    EXPECT_EQ(15, frame->SendMessage(WM_NCRBUTTONDBLCLK, HTMENU, 0));
    EXPECT_NE(nullptr, DockableOf(pView));
}

} // namespace
