#include "tests/framework/frames/dockview_fixture.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKDockState.h"
#include "framework/frames/TWKDocTemplateUtils.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"

VT_DOCKVIEW_CLASSES()

namespace {

using vt::DockViews;

// A dock context that records the drags it is asked to start instead of
// running the tracking loop.
class CRecordingDockContext : public TWKDockContext
{
public:
    using TWKDockContext::TWKDockContext;
    void StartDrag(CPoint pt) override { drags.push_back(pt); }
    std::vector<CPoint> drags;
};

class CRecordingFrameBar : public TWKFrameBar
{
    DECLARE_DYNCREATE(CRecordingFrameBar)
public:
    CDockContext* CreateDockContext() override { return new CRecordingDockContext(this); }
};
IMPLEMENT_DYNCREATE(CRecordingFrameBar, TWKFrameBar)

class CDerivedDockableFrame : public TWKDockableFrame
{
    DECLARE_DYNCREATE(CDerivedDockableFrame)
};
IMPLEMENT_DYNCREATE(CDerivedDockableFrame, TWKDockableFrame)

// A point on the frame's caption, in screen coordinates.
LPARAM CaptionPoint(CWnd* pFrame)
{
    CRect rect;
    pFrame->GetWindowRect(&rect);
    return MAKELPARAM(rect.left + rect.Width() / 2, rect.top + ::GetSystemMetrics(SM_CYSMCAPTION) / 2 + 2);
}

TEST_F(DockViews, OpeningDockedPutsAFrameBarOnTheNextDefaultSideWithTheDockedResources)
{
    UINT nSide = PeekNextDockBarID();
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pFrame = DockableOf(pView);
    ASSERT_NE(nullptr, pFrame);
    TWKControlBar* pBar = BarOf(pFrame);
    ASSERT_NE(nullptr, pBar);
    EXPECT_TRUE(pBar->IsKindOf(RUNTIME_CLASS(TWKFrameBar)));
    EXPECT_EQ(nSide, (UINT)pBar->GetParent()->GetDlgCtrlID());
    EXPECT_EQ(256, pBar->GetDlgCtrlID());   // the first free id from 256
    EXPECT_EQ(vt::kDockedID, pFrame->m_nIDHelp);
    EXPECT_EQ(tmpl->m_hMenuDocked, pFrame->m_hMenuShared);
    EXPECT_EQ(tmpl->m_hAccelDocked, pFrame->m_hAccelTable);
    EXPECT_NE(tmpl->m_hMenuShared, pFrame->m_hMenuShared);
    // The template's own resources are back for its MDI children.
    EXPECT_EQ(vt::kDockTemplateID, tmpl->m_nIDResource);
    EXPECT_EQ(pView, pFrame->GetActiveView());
    EXPECT_EQ(pFrame, frame->GetActiveFrame());
    EXPECT_EQ(pFrame, frame->GetEmbeddedFrame(pBar));
    // Active, its menu is the main window's.
    EXPECT_EQ(tmpl->m_hMenuDocked, ::GetMenu(frame->m_hWnd));
    // A child window never keeps a menu: its id stays 0.
    EXPECT_EQ(0, pFrame->GetDlgCtrlID());
    // The frame's title is its document's.
    CString strText;
    pFrame->GetWindowText(strText);
    EXPECT_STREQ(pView->GetDocument()->GetTitle(), strText);
    // A given bar id is used.
    CDockTestView* pSecond = Open(TRUE, 700);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(700, BarOf(DockableOf(pSecond))->GetDlgCtrlID());
    EXPECT_EQ(0u, tmpl->m_nNextBarID);
    EXPECT_FALSE(tmpl->m_bCreateDocked);
}

TEST_F(DockViews, AnAcceleratorPressedInADockedFrameReachesTheMainWindow)
{
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    MSG msg = {};
    msg.hwnd = pView->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F8;
    msg.lParam = 1;
    frame->commands.clear();
    EXPECT_TRUE(AfxGetApp()->PreTranslateMessage(&msg));
    ASSERT_EQ(1u, frame->commands.size());
    EXPECT_EQ(vt::kDockedCommand, frame->commands[0]);
    // The MDI child's key is not the docked frame's.
    msg.wParam = VK_F7;
    frame->commands.clear();
    EXPECT_FALSE(AfxGetApp()->PreTranslateMessage(&msg));
    EXPECT_TRUE(frame->commands.empty());
}

TEST_F(DockViews, DoubleClickingTheCaptionFloatsTheBarAndDocksItBack)
{
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pFrame = DockableOf(pView);
    TWKControlBar* pBar = BarOf(pFrame);
    ASSERT_NE(nullptr, pBar);
    int nSide = tmpl->GetDockSide(pFrame);
    ASSERT_GE(nSide, 0);
    ASSERT_LE(nSide, 3);
    DWORD dwDockedStyle = pFrame->GetStyle(), dwDockedExStyle = pFrame->GetExStyle();

    pFrame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, CaptionPoint(pFrame));
    ASSERT_TRUE(pBar->IsFloating());
    CFrameWnd* pFloating = pBar->GetParentFrame();
    EXPECT_TRUE(pFloating->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd)));
    // The floating frame gives up its caption; the embedded frame covers it exactly.
    EXPECT_FALSE(pFloating->GetStyle() & WS_CAPTION);
    CRect rectFloating, rectFrame;
    pFloating->GetWindowRect(&rectFloating);
    pFrame->GetWindowRect(&rectFrame);
    EXPECT_EQ(rectFloating, rectFrame);
    EXPECT_TRUE(pFrame->IsBarFloating());
    EXPECT_EQ(4, tmpl->GetDockSide(pFrame));
    // Floating, the frame shows the caption in place of the floating frame's.
    EXPECT_TRUE(pFrame->GetStyle() & WS_CAPTION);
    // A click into the floating bar activates (a plain floating bar would not).
    EXPECT_EQ(MA_ACTIVATE, pBar->SendMessage(WM_MOUSEACTIVATE, (WPARAM)frame->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    EXPECT_EQ(pView, pFrame->GetActiveView());

    pFrame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, CaptionPoint(pFrame));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_FALSE(pFrame->IsBarFloating());
    EXPECT_EQ(nSide, tmpl->GetDockSide(pFrame));
    EXPECT_EQ(pFrame, DockableOf(pView));
    // Docked again, the frame has its docked styles back.
    EXPECT_EQ(dwDockedStyle, pFrame->GetStyle());
    EXPECT_EQ(dwDockedExStyle, pFrame->GetExStyle());
}

TEST_F(DockViews, ACaptionPressStartsTheBarsDragDockedAndFloating)
{
    CRuntimeClass* pSaved = tmpl->m_pFrameBarClass;
    tmpl->m_pFrameBarClass = RUNTIME_CLASS(CRecordingFrameBar);
    CDockTestView* pView = Open(TRUE);
    tmpl->m_pFrameBarClass = pSaved;
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pFrame = DockableOf(pView);
    TWKControlBar* pBar = BarOf(pFrame);
    ASSERT_TRUE(pBar && pBar->IsKindOf(RUNTIME_CLASS(CRecordingFrameBar)));
    auto* pContext = static_cast<CRecordingDockContext*>(pBar->m_pDockContext);

    struct { WPARAM nHit; size_t nDrags; } cases[] = {
        { HTCAPTION, 1 }, { HTBORDER, 1 }, { HTLEFT, 1 }, { HTBOTTOMRIGHT, 1 }, { HTNOWHERE, 0 }, { HTCLIENT, 0 },
    };
    for (const auto& c : cases) {
        pContext->drags.clear();
        LPARAM lParam = CaptionPoint(pFrame);
        pFrame->PostMessage(WM_NCLBUTTONDOWN, c.nHit, lParam);
        vt::PumpMessages();
        ASSERT_EQ(c.nDrags, pContext->drags.size()) << "hit " << c.nHit;
        if (c.nDrags) {
            EXPECT_EQ(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)), pContext->drags[0]);
        }
    }
    // The press also makes the frame the active one.
    EXPECT_EQ(pFrame, frame->GetActiveFrame());

    // Floating, the floating frame takes the press: its caption drags the bar.
    pFrame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, CaptionPoint(pFrame));
    ASSERT_TRUE(pBar->IsFloating());
    pContext->drags.clear();
    pFrame->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, CaptionPoint(pFrame));
    vt::PumpMessages();
    EXPECT_EQ(1u, pContext->drags.size());
}

TEST_F(DockViews, ClosingTheActiveDockedFrameActivatesAnotherOrNone)
{
    CDockTestView* pFirst = Open(TRUE);
    CDockTestView* pSecond = Open(TRUE);
    ASSERT_TRUE(pFirst && pSecond);
    TWKDockableFrame* pFirstFrame = DockableOf(pFirst);
    ASSERT_EQ(DockableOf(pSecond), frame->m_pActiveDockableFrame);

    // No MDI child is visible: another docked frame of an open document takes over.
    pSecond->GetDocument()->OnCloseDocument();
    EXPECT_EQ(pFirstFrame, frame->m_pActiveDockableFrame);
    EXPECT_EQ(pFirstFrame, frame->GetActiveFrame());

    // The last one gone: none is active.
    pFirst->GetDocument()->OnCloseDocument();
    EXPECT_EQ(nullptr, frame->m_pActiveDockableFrame);

    // With an MDI child shown, it is the MDI child's turn, not another docked frame's.
    CDockTestView* pChildView = Open(FALSE);
    CDockTestView* pDocked = Open(TRUE);
    CDockTestView* pOther = Open(TRUE);
    ASSERT_TRUE(pChildView && pDocked && pOther);
    ASSERT_EQ(DockableOf(pOther), frame->m_pActiveDockableFrame);
    pOther->GetDocument()->OnCloseDocument();
    EXPECT_EQ(nullptr, frame->m_pActiveDockableFrame);
    EXPECT_EQ(pChildView->GetParentFrame(), frame->GetActiveFrame());
}

TEST_F(DockViews, AClickIntoADockedFrameMakesItTheActiveFrame)
{
    CDockTestView* pDocked = Open(TRUE);
    CDockTestView* pChildView = Open(FALSE);
    ASSERT_TRUE(pDocked && pChildView);
    TWKDockableFrame* pFrame = DockableOf(pDocked);
    ASSERT_EQ(nullptr, frame->m_pActiveDockableFrame);
    ASSERT_EQ(pChildView->GetParentFrame(), frame->GetActiveFrame());
    pFrame->SendMessage(WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0);
    EXPECT_EQ(pFrame, frame->GetActiveFrame());
    EXPECT_EQ(tmpl->m_hMenuDocked, ::GetMenu(frame->m_hWnd));
    // Back to the child, then a mouse activation of the frame.
    frame->ActivateDockableFrame(nullptr);
    ASSERT_EQ(nullptr, frame->m_pActiveDockableFrame);
    pFrame->SendMessage(WM_MOUSEACTIVATE, (WPARAM)frame->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(pFrame, frame->GetActiveFrame());
}

TEST_F(DockViews, TheNextDockableFrameHelperSkipsHiddenAndExcludedFrames)
{
    CDockTestView* pFirst = Open(TRUE);
    CDockTestView* pSecond = Open(TRUE);
    ASSERT_TRUE(pFirst && pSecond);
    TWKDockableFrame* pFirstFrame = DockableOf(pFirst);
    TWKDockableFrame* pSecondFrame = DockableOf(pSecond);
    // The active frame is a shown dockable frame: nothing to do.
    EXPECT_FALSE(ActivateNextDockableFrame(nullptr));
    EXPECT_EQ(pSecondFrame, frame->m_pActiveDockableFrame);
    // Excluding the active one activates the other.
    EXPECT_TRUE(ActivateNextDockableFrame(pSecondFrame));
    EXPECT_EQ(pFirstFrame, frame->m_pActiveDockableFrame);
    // A hidden bar's frame does not count.
    frame->ShowControlBar(BarOf(pSecondFrame), FALSE, FALSE);
    EXPECT_FALSE(IsWindowShown(pSecondFrame));
    EXPECT_FALSE(ActivateNextDockableFrame(pFirstFrame));
    EXPECT_EQ(pFirstFrame, frame->m_pActiveDockableFrame);
}

TEST_F(DockViews, TheMDIFrameSeamsAnswerForDockableFrames)
{
    // A registered dockable-view template switches the frame's system-command filter on.
    EXPECT_NE(nullptr, frame->m_pFilterRoot->FindFilter(TWKMDIFrameWnd::filterSysCommand, nullptr, 0));
    CPtrList& templates = AfxGetApp()->m_pDocManager->m_templateList;
    POSITION pos = templates.Find(tmpl);
    ASSERT_NE(nullptr, pos);
    templates.RemoveAt(pos);
    {
        vt::CTestMainFrame plain;
        EXPECT_EQ(nullptr, plain.m_pFilterRoot->FindFilter(TWKMDIFrameWnd::filterSysCommand, nullptr, 0));
    }
    templates.AddTail(tmpl);

    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    TWKDockableFrame* pFrame = DockableOf(pView);
    EXPECT_EQ(pFrame, frame->GetActiveFrame());
    // The template lookup matches a dockable frame against the dockable-frame class.
    TWKDocTemplateUtils utils;
    EXPECT_EQ(tmpl, utils.FindTemplate(pView->GetDocument(), pView, pFrame));
    EXPECT_TRUE(utils.IsDockableFrameClass(RUNTIME_CLASS(TWKDockableFrame)));
    EXPECT_TRUE(utils.IsDockableFrameClass(RUNTIME_CLASS(CDerivedDockableFrame)));
    EXPECT_FALSE(utils.IsDockableFrameClass(RUNTIME_CLASS(TWKMDIChildWnd)));
    EXPECT_FALSE(utils.IsDockableFrameClass(nullptr));
    EXPECT_EQ(RUNTIME_CLASS(TWKDockableFrame), utils.GetFrameClass(tmpl, TRUE));
    EXPECT_EQ(RUNTIME_CLASS(TWKMDIChildWnd), utils.GetFrameClass(tmpl, FALSE));
    CMultiDocTemplate plainTemplate(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc),
                                    RUNTIME_CLASS(TWKMDIChildWnd), RUNTIME_CLASS(CDockTestView));
    EXPECT_EQ(nullptr, utils.GetFrameClass(&plainTemplate, TRUE));
}

TEST_F(DockViews, ASavedLayoutLeavesOutFrameBarsInFloatingFrames)
{
    CDockTestView* pDocked = Open(TRUE);
    CDockTestView* pFloating = Open(TRUE);
    ASSERT_TRUE(pDocked && pFloating);
    UINT nDockedID = BarOf(DockableOf(pDocked))->GetDlgCtrlID();
    TWKDockableFrame* pFloatingFrame = DockableOf(pFloating);
    UINT nFloatingID = BarOf(pFloatingFrame)->GetDlgCtrlID();
    pFloatingFrame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, CaptionPoint(pFloatingFrame));
    ASSERT_TRUE(pFloatingFrame->IsBarFloating());

    TWKDockState state;
    ASSERT_TRUE(state.GetDockState(frame));
    bool bDockedSaved = false, bFloatingSaved = false, bFloatingDockBarSaved = false;
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        TWKControlBarInfo* pInfo = state.GetInfo(i);
        bDockedSaved |= pInfo->m_nBarID == nDockedID;
        bFloatingSaved |= pInfo->m_nBarID == nFloatingID;
        bFloatingDockBarSaved |= pInfo->m_bDockBar && pInfo->m_bFloating;
    }
    EXPECT_TRUE(bDockedSaved);
    EXPECT_FALSE(bFloatingSaved);
    EXPECT_FALSE(bFloatingDockBarSaved);
}

TEST_F(DockViews, ALoadedLayoutMakesNoEmptyFrameBarForAClosedDocument)
{
    CDockTestView* pView = Open(TRUE);
    ASSERT_NE(nullptr, pView);
    CFrameWnd* pFrame = DockableOf(pView);
    UINT nBarID = BarOf(pFrame)->GetDlgCtrlID();
    frame->SaveBarState("DockViewsLayout");
    // Loaded with the document open, its bar is the one the record names.
    frame->LoadBarState("DockViewsLayout");
    EXPECT_EQ(pFrame, DockableOf(pView));
    EXPECT_EQ(BarOf(pFrame), frame->GetControlBar(nBarID));
    pView->GetDocument()->OnCloseDocument();
    ASSERT_EQ(nullptr, frame->GetControlBar(nBarID));
    frame->LoadBarState("DockViewsLayout");
    EXPECT_EQ(nullptr, frame->GetControlBar(nBarID));
}

} // namespace
