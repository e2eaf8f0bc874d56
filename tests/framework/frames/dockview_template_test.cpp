#include "tests/framework/frames/dockview_fixture.h"
#include "framework/frames/TWKAuxData.h"

VT_DOCKVIEW_CLASSES()

namespace {

using vt::DockViews;

// Counts the caption style calls each frame gets.
template <class Base>
class CCountingFrame : public Base
{
public:
    std::vector<DWORD> calls;
    void EnableCaptionControls(DWORD dwFlags) override
    {
        calls.push_back(dwFlags);
        Base::EnableCaptionControls(dwFlags);
    }
};

class CCountingChild : public CCountingFrame<TWKMDIChildWnd>
{
    DECLARE_DYNCREATE(CCountingChild)
};
IMPLEMENT_DYNCREATE(CCountingChild, TWKMDIChildWnd)

class CCountingDockable : public CCountingFrame<TWKDockableFrame>
{
    DECLARE_DYNCREATE(CCountingDockable)
};
IMPLEMENT_DYNCREATE(CCountingDockable, TWKDockableFrame)

// A dockable frame whose window cannot be made.
class CFailingDockable : public TWKDockableFrame
{
    DECLARE_DYNCREATE(CFailingDockable)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(CFailingDockable, TWKDockableFrame)

// Not a control bar: no frame bar can be made of it.
class CNotABar : public CObject
{
    DECLARE_DYNCREATE(CNotABar)
};
IMPLEMENT_DYNCREATE(CNotABar, CObject)

// A client item whose verbs are recorded.
class CRecordingItem : public COleClientItem
{
public:
    using COleClientItem::COleClientItem;
    BOOL DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg) override
    {
        verbs.push_back(nVerb);
        views.push_back(pView);
        m_nItemState = activeState;
        return TRUE;
    }
    std::vector<LONG> verbs;
    std::vector<CView*> views;
};

class COleTestDoc : public COleDocument
{
    DECLARE_DYNCREATE(COleTestDoc)
};
IMPLEMENT_DYNCREATE(COleTestDoc, COleDocument)

class COleTestView : public CView, public TWKVwDockFeedBackOleImp
{
    DECLARE_DYNCREATE(COleTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(COleTestView, CView)

// The view covers the frame's whole client area (its own border may lie outside).
bool FillsClient(CView* pView, CFrameWnd* pFrame)
{
    CRect rectClient, rectView, rectBoth;
    pFrame->GetClientRect(&rectClient);
    pFrame->ClientToScreen(&rectClient);
    pView->GetWindowRect(&rectView);
    rectBoth.IntersectRect(&rectClient, &rectView);
    return rectClient.Width() > 20 && rectClient.Height() > 20 && rectBoth == rectClient;
}

TEST_F(DockViews, MovesKeepTheDocumentAndViewAndTellTheViewInOrder)
{
    CDockTestView* pView = Open(FALSE);
    ASSERT_NE(nullptr, pView);
    CDocument* pDoc = pView->GetDocument();
    CFrameWnd* pChild = pView->GetParentFrame();
    ASSERT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd)));

    CFrameWnd* pDocked = tmpl->DockFrame(pChild);
    ASSERT_NE(nullptr, pDocked);
    EXPECT_TRUE(tmpl->IsDockableFrame(pDocked));
    EXPECT_EQ(pDocked, pView->GetParentFrame());
    EXPECT_EQ(pView, pDocked->GetActiveView());
    EXPECT_EQ(pDoc, pView->GetDocument());
    EXPECT_EQ(1, (int)pDoc->m_viewList.GetCount());
    EXPECT_EQ(pDocked, frame->GetActiveFrame());
    EXPECT_EQ((std::vector<std::string>{ "BeforeDock old-empty new-holds", "AfterDock new-holds" }), vt::FeedBackLog());
    // Once the main frame lays out, the view fills its new frame.
    frame->RecalcLayout();
    EXPECT_TRUE(FillsClient(pView, pDocked));

    vt::FeedBackLog().clear();
    CFrameWnd* pUndocked = tmpl->UndockFrame(pDocked);
    ASSERT_NE(nullptr, pUndocked);
    EXPECT_TRUE(pUndocked->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd)));
    EXPECT_EQ(pUndocked, pView->GetParentFrame());
    EXPECT_EQ(pDoc, pView->GetDocument());
    EXPECT_EQ(pUndocked, frame->MDIGetActive());
    EXPECT_EQ(nullptr, frame->m_pActiveDockableFrame);
    EXPECT_EQ((std::vector<std::string>{ "BeforeUndock old-empty new-holds", "AfterUndock new-holds" }),
              vt::FeedBackLog());
    EXPECT_TRUE(FillsClient(pView, pUndocked));

    // Toggling goes both ways, the same view each time.
    CFrameWnd* pToggled = tmpl->ToggleDocking(pUndocked);
    ASSERT_TRUE(pToggled && tmpl->IsDockableFrame(pToggled));
    EXPECT_EQ(pToggled, pView->GetParentFrame());
    pToggled = tmpl->ToggleDocking(pToggled);
    ASSERT_TRUE(pToggled && !tmpl->IsDockableFrame(pToggled));
    EXPECT_EQ(pToggled, pView->GetParentFrame());
    EXPECT_EQ(pDoc, pView->GetDocument());
    // No bar is left behind by the moves.
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;)
        EXPECT_FALSE(static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos))->IsKindOf(RUNTIME_CLASS(TWKFrameBar)));
}

TEST_F(DockViews, MovesOfTheWrongKindAnswerNullAndChangeNothing)
{
    CDockTestView* pChildView = Open(FALSE);
    CDockTestView* pDockedView = Open(TRUE);
    ASSERT_TRUE(pChildView && pDockedView);
    CFrameWnd* pChild = pChildView->GetParentFrame();
    CFrameWnd* pDocked = pDockedView->GetParentFrame();
    int nBars = CountBars();
    vt::FeedBackLog().clear();
    EXPECT_EQ(nullptr, tmpl->DockFrame(pDocked));
    EXPECT_EQ(nullptr, tmpl->UndockFrame(pChild));
    EXPECT_EQ(nullptr, tmpl->DockFrame(nullptr));
    EXPECT_EQ(nullptr, tmpl->UndockFrame(nullptr));
    EXPECT_EQ(pChild, pChildView->GetParentFrame());
    EXPECT_EQ(pDocked, pDockedView->GetParentFrame());
    EXPECT_EQ(nBars, CountBars());
    EXPECT_TRUE(vt::FeedBackLog().empty());
}

TEST_F(DockViews, GetDockSideByWhereTheViewLives)
{
    CDockTestView* pView = Open(FALSE);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(-1, tmpl->GetDockSide(pView->GetParentFrame()));
    EXPECT_EQ(-1, tmpl->GetDockSide(nullptr));
    EXPECT_EQ(-1, tmpl->GetDockSide(frame));
    struct { UINT nDockBarID; int nSide; } cases[] = {
        { AFX_IDW_DOCKBAR_TOP, 0 }, { AFX_IDW_DOCKBAR_LEFT, 1 }, { AFX_IDW_DOCKBAR_BOTTOM, 2 }, { AFX_IDW_DOCKBAR_RIGHT, 3 },
    };
    for (const auto& c : cases) {
        CFrameWnd* pDocked = tmpl->DockFrame(pView->GetParentFrame(), c.nDockBarID);
        ASSERT_NE(nullptr, pDocked) << c.nDockBarID;
        EXPECT_EQ(c.nSide, tmpl->GetDockSide(pDocked)) << c.nDockBarID;
        ASSERT_NE(nullptr, tmpl->UndockFrame(pDocked));
    }
    CFrameWnd* pDocked = tmpl->DockFrame(pView->GetParentFrame(), AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(nullptr, pDocked);
    TWKControlBar* pBar = BarOf(pDocked);
    frame->FloatControlBar(pBar, CPoint(100, 100));
    ASSERT_TRUE(pBar->IsFloating());
    EXPECT_EQ(4, tmpl->GetDockSide(pDocked));
}

TEST_F(DockViews, ADockableFrameThatCannotBeMadeLeavesNoBarAndRestoresTheTemplate)
{
    int nBars = CountBars();
    HWND hTopDock = frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->m_hWnd;
    struct { CRuntimeClass* pFrameClass; CRuntimeClass* pBarClass; } cases[] = {
        { RUNTIME_CLASS(CFailingDockable), RUNTIME_CLASS(TWKFrameBar) },   // the frame's window fails
        { RUNTIME_CLASS(CNotABar), RUNTIME_CLASS(TWKFrameBar) },          // no frame object
        { RUNTIME_CLASS(TWKDockableFrame), RUNTIME_CLASS(CNotABar) },     // no bar object
    };
    CDockTestView* pView = Open(FALSE);
    ASSERT_NE(nullptr, pView);
    CFrameWnd* pChild = pView->GetParentFrame();
    CRuntimeClass* pSavedFrame = tmpl->m_pDockableFrameClass;
    CRuntimeClass* pSavedBar = tmpl->m_pFrameBarClass;
    for (const auto& c : cases) {
        tmpl->m_pDockableFrameClass = c.pFrameClass;
        tmpl->m_pFrameBarClass = c.pBarClass;
        vt::FeedBackLog().clear();
        TWKDockPos pos = { 0, 0, 0 };
        TWKDockSize size = { 1.0f, 150, 0 };
        EXPECT_EQ(nullptr, tmpl->CreateDockedFrame(pView->GetDocument(), nullptr, AFX_IDW_DOCKBAR_TOP, &pos, &size));
        EXPECT_EQ(nullptr, tmpl->DockFrame(pChild, AFX_IDW_DOCKBAR_TOP));
        EXPECT_EQ(nBars, CountBars());
        EXPECT_EQ(nullptr, ::GetWindow(hTopDock, GW_CHILD));
        EXPECT_EQ(vt::kDockTemplateID, tmpl->m_nIDResource);
        EXPECT_EQ(RUNTIME_CLASS(CDockTestView), tmpl->m_pViewClass);
        EXPECT_EQ(pChild, pView->GetParentFrame());
        EXPECT_TRUE(vt::FeedBackLog().empty());
        // Opening docked fails as a whole: no document stays.
        vt::ModalAnswerer answerer;
        EXPECT_EQ(nullptr, tmpl->OpenDocumentFile(nullptr, TRUE, TRUE));
        EXPECT_EQ(nBars, CountBars());
        EXPECT_FALSE(tmpl->m_bCreateDocked);
    }
    tmpl->m_pDockableFrameClass = pSavedFrame;
    tmpl->m_pFrameBarClass = pSavedBar;
    EXPECT_EQ(1, (int)tmpl->m_docList.GetCount());
}

TEST(DockViewTemplate, ConstructorDefaults)
{
    TWKMultiDocTemplate a(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CDockTestView));
    EXPECT_EQ(RUNTIME_CLASS(TWKMDIChildWnd), a.m_pFrameClass);
    EXPECT_EQ(RUNTIME_CLASS(TWKDockableFrame), a.m_pDockableFrameClass);
    EXPECT_EQ(RUNTIME_CLASS(TWKFrameBar), a.m_pFrameBarClass);
    EXPECT_EQ(vt::kDockTemplateID, a.m_nIDDockedResource);
    EXPECT_EQ(7u, a.m_dwMDIChildCaptionStyles);
    EXPECT_EQ(7u, a.m_dwDockedCaptionStyles);
    TWKMultiDocTemplate b(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CCountingChild),
                          RUNTIME_CLASS(CDockTestView), vt::kDockedID, RUNTIME_CLASS(CCountingDockable), nullptr, 1);
    EXPECT_EQ(RUNTIME_CLASS(CCountingChild), b.m_pFrameClass);
    EXPECT_EQ(RUNTIME_CLASS(CCountingDockable), b.m_pDockableFrameClass);
    EXPECT_EQ(vt::kDockedID, b.m_nIDDockedResource);
    EXPECT_EQ(1u, b.m_dwMDIChildCaptionStyles);
    EXPECT_EQ(1u, b.m_dwDockedCaptionStyles);
    b.LoadTemplate();
    EXPECT_NE(nullptr, b.m_hMenuDocked);
    EXPECT_NE(nullptr, b.m_hAccelDocked);
    EXPECT_NE(b.m_hMenuShared, b.m_hMenuDocked);
}

TEST(DockViewTemplate, CaptionStyleFlags)
{
    enum Op { Button, DblClk, Menu };
    struct {
        DWORD dwStart;
        Op op;
        BOOL bEnable;
        DWORD dwExpected;
    } cases[] = {
        { 7, DblClk, TRUE, 0xB },   // the right double click switches the context menu off
        { 0xB, Menu, TRUE, 0x7 },   // and the context menu the double click
        { 0, DblClk, TRUE, 0 },     // already on: unchanged
        { 0x6, Menu, FALSE, 0xE },
        { 0xE, Menu, FALSE, 0xE },
        { 6, Button, TRUE, 5 },
        { 4, Button, FALSE, 6 },
        { 2, Button, FALSE, 2 },
        { 0xC, DblClk, TRUE, 0x9 },
        { 0x8, DblClk, FALSE, 0xC },
    };
    for (const auto& c : cases) {
        TWKMultiDocTemplate t(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CDockTestView), c.dwStart);
        switch (c.op) {
        case Button: t.EnableCaptionButton(c.bEnable); break;
        case DblClk: t.EnableDblClkToggle(c.bEnable); break;
        case Menu: t.EnableContextMenu(c.bEnable); break;
        }
        EXPECT_EQ(c.dwExpected, t.m_dwMDIChildCaptionStyles) << c.dwStart << " op " << c.op << " " << c.bEnable;
        EXPECT_EQ(c.dwExpected, t.m_dwDockedCaptionStyles) << c.dwStart << " op " << c.op << " " << c.bEnable;
    }
    // The queries read the MDI children's styles only; a change reaches both.
    TWKMultiDocTemplate t(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CDockTestView), 1);
    t.m_dwDockedCaptionStyles = 0xF;
    EXPECT_TRUE(t.HasCaptionButton());
    EXPECT_TRUE(t.HasDblClkToggle());
    EXPECT_TRUE(t.HasContextMenu());
    t.m_dwMDIChildCaptionStyles = 0xF;
    t.m_dwDockedCaptionStyles = 0x1;
    EXPECT_FALSE(t.HasCaptionButton());
    EXPECT_FALSE(t.HasDblClkToggle());
    EXPECT_FALSE(t.HasContextMenu());
    t.ModifyCaptionStyles(0x6, 0x10, FALSE);
    EXPECT_EQ(0x19u, t.m_dwMDIChildCaptionStyles);
    EXPECT_EQ(0x11u, t.m_dwDockedCaptionStyles);
}

TEST_F(DockViews, ApplyCaptionStylesReachesEachFrameOnceWithItsKindsStyles)
{
    CRuntimeClass* pSavedChild = tmpl->m_pFrameClass;
    CRuntimeClass* pSavedDockable = tmpl->m_pDockableFrameClass;
    DWORD dwSavedChild = tmpl->m_dwMDIChildCaptionStyles, dwSavedDocked = tmpl->m_dwDockedCaptionStyles;
    tmpl->m_pFrameClass = RUNTIME_CLASS(CCountingChild);
    tmpl->m_pDockableFrameClass = RUNTIME_CLASS(CCountingDockable);
    tmpl->m_dwMDIChildCaptionStyles = 3;
    tmpl->m_dwDockedCaptionStyles = 5;
    CDockTestView* pChildView = Open(FALSE);
    CDockTestView* pDockedView = Open(TRUE);
    tmpl->m_pFrameClass = pSavedChild;
    tmpl->m_pDockableFrameClass = pSavedDockable;
    ASSERT_TRUE(pChildView && pDockedView);
    auto* pChild = static_cast<CCountingChild*>(pChildView->GetParentFrame());
    auto* pDocked = static_cast<CCountingDockable*>(pDockedView->GetParentFrame());
    // Each frame got its kind's styles when it was made.
    EXPECT_EQ(std::vector<DWORD>{ 3 }, pChild->calls);
    EXPECT_EQ(std::vector<DWORD>{ 5 }, pDocked->calls);
    pChild->calls.clear();
    pDocked->calls.clear();
    tmpl->ApplyCaptionStyles();
    EXPECT_EQ(std::vector<DWORD>{ 3 }, pChild->calls);
    EXPECT_EQ(std::vector<DWORD>{ 5 }, pDocked->calls);
    // Changing a style applies it at once; without apply nothing is reached.
    pChild->calls.clear();
    pDocked->calls.clear();
    tmpl->ModifyCaptionStyles(0, 8, FALSE);
    EXPECT_TRUE(pChild->calls.empty());
    tmpl->ModifyCaptionStyles(0, 8, TRUE);
    EXPECT_EQ(std::vector<DWORD>{ 0xB }, pChild->calls);
    EXPECT_EQ(std::vector<DWORD>{ 0xD }, pDocked->calls);
    // The main window's menu bar is redrawn only when a frame is maximised.
    frame->nNcCalcSize = 0;
    tmpl->ApplyCaptionStyles();
    EXPECT_EQ(0, frame->nNcCalcSize);
    pChild->calls.clear();
    frame->MDIMaximize(pChild);
    ASSERT_TRUE(pChild->IsZoomed());
    frame->nNcCalcSize = 0;
    tmpl->ApplyCaptionStyles();
    EXPECT_EQ(std::vector<DWORD>{ 0xB }, pChild->calls);
    EXPECT_GT(frame->nNcCalcSize, 0);
    tmpl->m_dwMDIChildCaptionStyles = dwSavedChild;
    tmpl->m_dwDockedCaptionStyles = dwSavedDocked;
}

TEST(DockViewTemplate, MoveChildrenTakesTheClientEdgeOffTheNewFrameForAnEdgedView)
{
    for (BOOL bViewEdge : { TRUE, FALSE }) {
        CFrameWnd* pFrom = new CFrameWnd;
        CFrameWnd* pTo = new CFrameWnd;
        ASSERT_TRUE(pFrom->Create(nullptr, "From", WS_OVERLAPPEDWINDOW));
        ASSERT_TRUE(pTo->Create(nullptr, "To", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr,
                                WS_EX_CLIENTEDGE));
        auto* pView = static_cast<CView*>(RUNTIME_CLASS(CDockTestView)->CreateObject());
        ASSERT_TRUE(pView->CreateEx(bViewEdge ? WS_EX_CLIENTEDGE : 0, nullptr, nullptr, AFX_WS_DEFAULT_VIEW,
                                    CRect(0, 0, 50, 50), pFrom, AFX_IDW_PANE_FIRST, nullptr));
        CWnd other;
        ASSERT_TRUE(other.Create("STATIC", "x", WS_CHILD, CRect(0, 0, 5, 5), pFrom, 5));
        TWKMultiDocTemplate t(vt::kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), RUNTIME_CLASS(CDockTestView));
        t.MoveChildren(pFrom, pTo);
        EXPECT_EQ(pTo->m_hWnd, ::GetParent(pView->m_hWnd));
        EXPECT_EQ(pTo->m_hWnd, ::GetParent(other.m_hWnd));
        EXPECT_EQ(nullptr, ::GetWindow(pFrom->m_hWnd, GW_CHILD));
        BOOL bEdgeRemoved = bViewEdge && twkAuxData.bWin4;
        EXPECT_EQ(!bEdgeRemoved, (pTo->GetExStyle() & WS_EX_CLIENTEDGE) != 0) << bViewEdge;
        other.DestroyWindow();
        pFrom->DestroyWindow();
        pTo->DestroyWindow();
    }
}

TEST_F(DockViews, AnOleViewClosesItsActiveItemBeforeAMoveAndShowsItAfter)
{
    TWKMultiDocTemplate oleTemplate(vt::kDockTemplateID, RUNTIME_CLASS(COleTestDoc), nullptr,
                                    RUNTIME_CLASS(COleTestView), vt::kDockedID);
    oleTemplate.LoadTemplate();
    CDocument* pDoc = oleTemplate.OpenDocumentFile(nullptr, TRUE, FALSE);
    ASSERT_NE(nullptr, pDoc);
    auto* pOleDoc = static_cast<COleTestDoc*>(pDoc);
    POSITION pos = pDoc->GetFirstViewPosition();
    auto* pView = static_cast<COleTestView*>(pDoc->GetNextView(pos));
    auto* pLoaded = new CRecordingItem(pOleDoc);
    auto* pActive = new CRecordingItem(pOleDoc);
    pActive->m_nItemState = COleClientItem::activeUIState;
    EXPECT_EQ(pView, dynamic_cast<CView*>(oleTemplate.GetDockFeedBack(pView)));

    CFrameWnd* pDocked = oleTemplate.DockFrame(pView->GetParentFrame());
    ASSERT_NE(nullptr, pDocked);
    EXPECT_TRUE(pLoaded->verbs.empty());
    ASSERT_EQ(1u, pActive->verbs.size());
    EXPECT_EQ(OLEIVERB_SHOW, pActive->verbs[0]);
    EXPECT_EQ(pView, pActive->views[0]);
    EXPECT_EQ(nullptr, pView->m_pClosedItem);

    // No item is active: nothing is closed or shown.
    pActive->m_nItemState = COleClientItem::loadedState;
    pActive->verbs.clear();
    ASSERT_NE(nullptr, oleTemplate.UndockFrame(pDocked));
    EXPECT_TRUE(pActive->verbs.empty());
    EXPECT_TRUE(pLoaded->verbs.empty());
    oleTemplate.CloseAllDocuments(FALSE);
}

} // namespace
