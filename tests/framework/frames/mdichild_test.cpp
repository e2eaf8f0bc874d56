#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {
const UINT kChildTemplate = 0x7D20;   // document strings, shared menu and accelerators
} // namespace

class CChildTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CChildTestDoc)
};
IMPLEMENT_DYNCREATE(CChildTestDoc, CDocument)

class CChildTestView : public CView
{
    DECLARE_DYNCREATE(CChildTestView)
public:
    int nActivated = 0;   // OnActivateView(TRUE) calls
    void OnDraw(CDC*) override {}
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override
    {
        if (bActivate)
            nActivated++;
        CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    }
};
IMPLEMENT_DYNCREATE(CChildTestView, CView)

// A child frame that records how its caption is drawn and keeps the system's
// non-client click handling out of the test.
class CRecordingChild : public TWKMDIChildWnd
{
    DECLARE_DYNCREATE(CRecordingChild)
public:
    std::vector<WPARAM> ncActivates;
    int nDefaultNcDown = 0;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCACTIVATE)
            ncActivates.push_back(wParam);
        if (message == WM_NCLBUTTONDOWN) {
            nDefaultNcDown++;
            return 0;
        }
        return TWKMDIChildWnd::DefWindowProc(message, wParam, lParam);
    }
};
IMPLEMENT_DYNCREATE(CRecordingChild, TWKMDIChildWnd)

// Answers the system-command extension, consumes non-client clicks when told
// and records what it sees.
class CTestChildFilter : public TWKMsgFilter
{
    DECLARE_DYNCREATE(CTestChildFilter)
public:
    TWKMsgFilter* Clone() const override { return new CTestChildFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        seen.push_back(message);
        if (message == ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX") && pResult) {
            *pResult = (LRESULT)wParam * 2;
            return 1;
        }
        return message == WM_NCLBUTTONDOWN ? answer : 0;
    }
    std::vector<UINT> seen;
    DWORD answer = 0;
};
IMPLEMENT_DYNCREATE(CTestChildFilter, TWKMsgFilter)

namespace {

// The main frame's menu switches, as the application's frame sees them.
class CMenuFrame : public vt::CTestMainFrame
{
public:
    std::vector<UINT> swaps;
    void SwapMenu(UINT nID) override { swaps.push_back(nID); }
};

// The main frame as the application's main window, with a template of
// framework child frames.
class ChildFrames : public testing::Test
{
protected:
    CMenuFrame* frame = nullptr;
    CMultiDocTemplate* pTemplate = nullptr;
    CFrameWnd* dockable = nullptr;   // stands in for an active dockable frame

    void SetUp() override
    {
        frame = new CMenuFrame;
        ASSERT_TRUE(frame->LoadFrame(vt::kTestFrameID));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
        AfxGetApp()->m_pMainWnd = frame;
        pTemplate = new CMultiDocTemplate(kChildTemplate, RUNTIME_CLASS(CChildTestDoc), RUNTIME_CLASS(CRecordingChild),
                                          RUNTIME_CLASS(CChildTestView));
        pTemplate->LoadTemplate();
        ASSERT_NE(nullptr, pTemplate->m_hMenuShared);
        ASSERT_NE(nullptr, pTemplate->m_hAccelTable);
        dockable = new CFrameWnd;
        ASSERT_TRUE(dockable->Create(nullptr, "Dockable", WS_OVERLAPPEDWINDOW));
    }
    void TearDown() override
    {
        if (frame)
            frame->m_pActiveDockableFrame = nullptr;
        if (pTemplate)
            pTemplate->CloseAllDocuments(FALSE);
        AfxGetApp()->m_pMainWnd = nullptr;
        if (dockable && ::IsWindow(dockable->m_hWnd))
            dockable->DestroyWindow();
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        delete pTemplate;
    }
    CRecordingChild* OpenChild()
    {
        CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
        EXPECT_NE(nullptr, pDoc);
        CMDIChildWnd* p = frame->MDIGetActive();
        EXPECT_TRUE(p && p->IsKindOf(RUNTIME_CLASS(CRecordingChild)));
        return static_cast<CRecordingChild*>(p);
    }
};

TEST_F(ChildFrames, TemplateChildTakesTheTemplatesAcceleratorsAndSharedMenu)
{
    CRecordingChild* child = OpenChild();
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(kChildTemplate, child->m_nIDHelp);
    EXPECT_EQ(pTemplate->m_hAccelTable, child->m_hAccelTable);
    EXPECT_EQ(pTemplate->m_hMenuShared, child->m_hMenuShared);
    // Without a menu bar the shared menu is the window's menu, no menu id is used.
    EXPECT_FALSE(child->m_bMenuBarMenu);
    EXPECT_EQ(0u, child->m_nMenuID);
    EXPECT_EQ(pTemplate->m_hMenuShared, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(pTemplate->m_hAccelTable, frame->GetDefaultAccelerator());

    // Loaded by id alone: the title is the first line of that string.
    auto* plain = new TWKMDIChildWnd;
    ASSERT_TRUE(plain->LoadFrame(vt::kTestFrameID, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, frame));
    CString strTitle;
    plain->GetWindowText(strTitle);
    EXPECT_STREQ("Docking Test", strTitle);
    EXPECT_EQ(vt::kTestFrameID, plain->m_nIDHelp);
    EXPECT_EQ(0u, plain->m_nMenuID);
    EXPECT_EQ(nullptr, plain->m_hMenuShared);
    EXPECT_NE(0u, plain->GetStyle() & WS_CHILD);
    plain->DestroyWindow();
}

TEST_F(ChildFrames, AClickIntoAChildActivatesItItsViewAndItsMenu)
{
    CRecordingChild* first = OpenChild();
    CRecordingChild* second = OpenChild();
    ASSERT_TRUE(first && second && first != second);
    ASSERT_EQ(second, frame->MDIGetActive());
    // The focus follows only inside the foreground window, which other test
    // programs on the screen may hold: the views count their activations.
    auto* firstView = static_cast<CChildTestView*>(first->GetActiveView());
    auto* secondView = static_cast<CChildTestView*>(second->GetActiveView());
    ASSERT_TRUE(firstView && secondView);
    firstView->nActivated = secondView->nActivated = 0;

    // A mouse activation, while a dockable frame is the active frame.
    frame->m_pActiveDockableFrame = dockable;
    frame->swaps.clear();
    first->SendMessage(WM_MOUSEACTIVATE, (WPARAM)frame->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(nullptr, frame->m_pActiveDockableFrame);
    EXPECT_EQ(first, frame->MDIGetActive());
    EXPECT_LE(1, firstView->nActivated);
    EXPECT_EQ(0, secondView->nActivated);
    EXPECT_EQ((std::vector<UINT>{ first->m_nMenuID }), frame->swaps);

    // A click on a child window of the other child.
    frame->m_pActiveDockableFrame = dockable;
    second->SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, AFX_IDW_PANE_FIRST), MAKELPARAM(5, 5));
    EXPECT_EQ(nullptr, frame->m_pActiveDockableFrame);
    EXPECT_EQ(second, frame->MDIGetActive());
    EXPECT_LE(1, secondView->nActivated);
    // Other child events change nothing.
    second->SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_MOUSEMOVE, 0), MAKELPARAM(5, 5));
    first->SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_MOUSEMOVE, 0), MAKELPARAM(5, 5));
    EXPECT_EQ(second, frame->MDIGetActive());

    // Activated as a child window, it takes over from a dockable frame as well.
    frame->m_pActiveDockableFrame = dockable;
    first->SendMessage(WM_CHILDACTIVATE);
    EXPECT_EQ(nullptr, frame->m_pActiveDockableFrame);
}

TEST_F(ChildFrames, CaptionIsDrawnInactiveWhileADockableFrameIsTheActiveFrame)
{
    CRecordingChild* child = OpenChild();
    ASSERT_NE(nullptr, child);
    struct Case { CFrameWnd* pDockable; BOOL bActive; WPARAM drawn; };
    const Case cases[] = {
        { nullptr, TRUE, TRUE },
        { dockable, TRUE, FALSE },
        { dockable, FALSE, FALSE },
        { nullptr, FALSE, FALSE },
    };
    for (const Case& c : cases) {
        frame->m_pActiveDockableFrame = c.pDockable;
        child->ncActivates.clear();
        child->SendMessage(WM_NCACTIVATE, c.bActive);
        ASSERT_EQ(1u, child->ncActivates.size());
        EXPECT_EQ(c.drawn, child->ncActivates[0]) << (c.pDockable != nullptr) << c.bActive;
    }
}

TEST_F(ChildFrames, DestroyingTheLastVisibleChildSwitchesToTheMenuOfNoDocument)
{
    CRecordingChild* first = OpenChild();
    CRecordingChild* second = OpenChild();
    ASSERT_TRUE(first && second);
    frame->swaps.clear();
    second->DestroyWindow();
    EXPECT_EQ(first, frame->MDIGetActive());
    EXPECT_TRUE(frame->swaps.empty());
    first->DestroyWindow();
    EXPECT_EQ(nullptr, frame->MDIGetActive());
    EXPECT_EQ((std::vector<UINT>{ (UINT)-1 }), frame->swaps);
}

TEST_F(ChildFrames, AnotherVisibleChildAndShownWindows)
{
    CRecordingChild* first = OpenChild();
    CRecordingChild* second = OpenChild();
    ASSERT_TRUE(first && second);
    CWnd* view = first->GetActiveView();
    EXPECT_TRUE(IsAnotherMDIChildVisible(first));
    EXPECT_TRUE(IsAnotherMDIChildVisible(nullptr));
    EXPECT_TRUE(IsWindowShown(view));
    first->ShowWindow(SW_HIDE);
    EXPECT_FALSE(IsAnotherMDIChildVisible(second));
    EXPECT_TRUE(IsAnotherMDIChildVisible(first));
    EXPECT_FALSE(IsWindowShown(view));
    EXPECT_FALSE(IsWindowShown(nullptr));
    EXPECT_FALSE(ActivateNextDockableFrame(nullptr));

    // A control bar counts by its own visibility, a pending hide included.
    auto* bar = new TWKControlBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(frame, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, 0xE720));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBarAt(bar, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 80);
    frame->RecalcLayout();
    CWnd inner;
    ASSERT_TRUE(inner.Create("STATIC", "inner", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), bar, 1));
    EXPECT_TRUE(IsWindowShown(&inner));
    bar->DelayShow(FALSE);
    EXPECT_TRUE(bar->IsWindowVisible());
    EXPECT_FALSE(IsWindowShown(&inner));

    // Without an MDI frame as the main window there is no other child.
    AfxGetApp()->m_pMainWnd = dockable;
    EXPECT_FALSE(IsAnotherMDIChildVisible(first));
    AfxGetApp()->m_pMainWnd = frame;
    inner.DestroyWindow();
}

TEST_F(ChildFrames, FiltersSeeTheChildsMessagesAndTheCaptionStylesChooseThem)
{
    CRecordingChild* child = OpenChild();
    ASSERT_NE(nullptr, child);
    // The descriptors exist from construction; no filter until they are applied.
    ASSERT_EQ(5, child->m_filterTable.GetSize());
    EXPECT_EQ(0, child->m_pFilterRoot->m_arrChildren.GetSize());

    struct Case { DWORD dwFlags; int sysCommand, list, button, dblClk, menu; };   // 1 on, 0 off, -1 absent
    const Case cases[] = {
        { 1, 1, 1, 1, 1, 1 },
        { 7, 1, 1, 0, 0, 1 },   // the templates' default: the extension with the context menu only
        { 8 | 1, 1, 1, 1, 1, 0 },
        { 0, 0, 1, 0, 0, 0 },   // the list, once made, stays on
    };
    auto state = [&](int nID) {
        TWKMsgFilter* p = child->m_pFilterRoot->FindFilter(nID, nullptr, -1);
        return p ? (p->m_bEnabled ? 1 : 0) : -1;
    };
    for (const Case& c : cases) {
        child->EnableCaptionControls(c.dwFlags);
        EXPECT_EQ(c.sysCommand, state(TWKMDIChildWnd::filterSysCommand)) << c.dwFlags;
        EXPECT_EQ(c.list, state(TWKMDIChildWnd::filterCaptionList)) << c.dwFlags;
        EXPECT_EQ(c.button, state(TWKMDIChildWnd::filterChildButton)) << c.dwFlags;
        EXPECT_EQ(c.dblClk, state(TWKMDIChildWnd::filterCaptionDblClk)) << c.dwFlags;
        EXPECT_EQ(c.menu, state(TWKMDIChildWnd::filterContextMenu)) << c.dwFlags;
        // The list's standard buttons are switched off: they only keep the system's places.
        auto* list = static_cast<TWKCaptionControlListMsgFilter*>(
            child->m_pFilterRoot->FindFilter(TWKMDIChildWnd::filterCaptionList, nullptr, -1));
        ASSERT_GT(list->m_arrChildren.GetSize(), 1);
        for (INT_PTR i = 0; i < list->m_arrChildren.GetSize(); i++) {
            if (list->m_arrChildren[i]->m_nID != TWKMDIChildWnd::filterChildButton) {
                EXPECT_FALSE(list->m_arrChildren[i]->m_bEnabled) << c.dwFlags;
            }
        }
    }

    TWKMsgFilter::Descriptor descriptor(300, -1, RUNTIME_CLASS(CTestChildFilter));
    auto* filter = static_cast<CTestChildFilter*>(child->m_pFilterRoot->ApplyDescriptor(&descriptor, TRUE));
    ASSERT_NE(nullptr, filter);
    // The system-command extension is answered by the filters.
    UINT nSysCommandEx = ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX");
    EXPECT_EQ(42, child->SendMessage(nSysCommandEx, 21));
    // Non-client clicks go to the filters first; a handled one ends there.
    child->nDefaultNcDown = 0;
    filter->answer = 1;
    child->SendMessage(WM_NCLBUTTONDOWN, HTNOWHERE, 0);
    EXPECT_EQ(0, child->nDefaultNcDown);
    filter->answer = 0;
    child->SendMessage(WM_NCLBUTTONDOWN, HTNOWHERE, 0);
    EXPECT_EQ(1, child->nDefaultNcDown);
    // The cursor over a sizing border reaches them, over the client area it does not.
    filter->seen.clear();
    child->SendMessage(WM_SETCURSOR, (WPARAM)child->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    child->SendMessage(WM_SETCURSOR, (WPARAM)child->m_hWnd, MAKELPARAM(HTBOTTOMRIGHT, WM_MOUSEMOVE));
    EXPECT_EQ(1, std::count(filter->seen.begin(), filter->seen.end(), (UINT)WM_SETCURSOR));
    // A new caption text reaches them after it is set.
    child->SetWindowText("Renamed");
    EXPECT_EQ(1, std::count(filter->seen.begin(), filter->seen.end(), (UINT)WM_SETTEXT));
}

} // namespace
