#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"
#include <string>

namespace {

const UINT kFrameRes = 0x7E20;      // the main frame: "Frame Test", its menu and icon
const UINT kTemplateRes = 0x7E30;   // the template: document string, shared menu, accelerators

std::string Text(HWND h)
{
    char buf[256] = "";
    ::GetWindowTextA(h, buf, sizeof(buf));
    return buf;
}

} // namespace

class CTemplTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CTemplTestDoc)
};
IMPLEMENT_DYNCREATE(CTemplTestDoc, CDocument)

class CTemplTestView : public CView
{
    DECLARE_DYNCREATE(CTemplTestView)
public:
    int initialUpdates = 0;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { initialUpdates++; }
};
IMPLEMENT_DYNCREATE(CTemplTestView, CView)

namespace {

// The MDI frame as the application's main window, and a template for it.
class MdiTemplate : public ::testing::Test
{
protected:
    CMDIFrameWnd* pFrame = nullptr;
    CMultiDocTemplate* pTemplate = nullptr;

    void SetUp() override
    {
        pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(pFrame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        pFrame->SetWindowPos(nullptr, 10, 10, 640, 480, SWP_NOZORDER | SWP_SHOWWINDOW);
        AfxGetApp()->m_pMainWnd = pFrame;
        pTemplate = new CMultiDocTemplate(kTemplateRes, RUNTIME_CLASS(CTemplTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                          RUNTIME_CLASS(CTemplTestView));
        pTemplate->LoadTemplate();
        ASSERT_NE(nullptr, pTemplate->m_hMenuShared);
    }
    void TearDown() override
    {
        if (pTemplate)
            pTemplate->CloseAllDocuments(FALSE);
        AfxGetApp()->m_pMainWnd = nullptr;
        if (pFrame && ::IsWindow(pFrame->m_hWnd))
            pFrame->DestroyWindow();
        delete pTemplate;
    }
    CTemplTestView* ViewOf(CDocument* pDoc)
    {
        POSITION pos = pDoc->GetFirstViewPosition();
        return pos ? static_cast<CTemplTestView*>(pDoc->GetNextView(pos)) : nullptr;
    }
};

TEST_F(MdiTemplate, NewDocumentInMdiChildSwitchesMenuTitleAndActiveView)
{
    CString str;
    ASSERT_TRUE(pTemplate->GetDocString(str, CDocTemplate::docName));
    EXPECT_STREQ("Text", str);
    ASSERT_TRUE(pTemplate->GetDocString(str, CDocTemplate::regFileTypeName));
    EXPECT_STREQ("Text Document", str);

    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CTemplTestDoc)));
    EXPECT_STREQ("Text1", pDoc->GetTitle());
    EXPECT_EQ(pTemplate, pDoc->GetDocTemplate());

    CMDIChildWnd* pChild = pFrame->MDIGetActive();
    ASSERT_NE(nullptr, pChild);
    EXPECT_TRUE(pChild->IsWindowVisible());
    CTemplTestView* pView = ViewOf(pDoc);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, pView->GetDlgCtrlID());
    EXPECT_EQ(pChild, pView->GetParentFrame());
    EXPECT_EQ(pView, pChild->GetActiveView());
    EXPECT_EQ(pDoc, pFrame->GetActiveDocument() ? pFrame->GetActiveDocument() : pChild->GetActiveDocument());
    EXPECT_EQ(1, pView->initialUpdates);

    // The template's menu and accelerators while its child is active.
    EXPECT_EQ(pTemplate->m_hMenuShared, ::GetMenu(pFrame->m_hWnd));
    EXPECT_EQ(pTemplate->m_hAccelTable, pFrame->GetDefaultAccelerator());
    EXPECT_EQ("Text1", Text(pChild->m_hWnd));
    EXPECT_EQ("Frame Test - Text1", Text(pFrame->m_hWnd));

    // Maximised, the MDI frame shows the child's title in brackets itself.
    pChild->MDIMaximize();
    pFrame->OnUpdateFrameTitle(TRUE);
    EXPECT_EQ("Frame Test - [Text1]", Text(pFrame->m_hWnd));
    pChild->MDIRestore();
    pFrame->OnUpdateFrameTitle(TRUE);
    EXPECT_EQ("Frame Test - Text1", Text(pFrame->m_hWnd));

    // A second untitled document counts on.
    CDocument* pDoc2 = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc2);
    EXPECT_STREQ("Text2", pDoc2->GetTitle());
    CMDIChildWnd* pChild2 = pFrame->MDIGetActive();
    ASSERT_NE(pChild, pChild2);
    EXPECT_EQ(ViewOf(pDoc2), pChild2->GetActiveView());
    EXPECT_EQ("Frame Test - Text2", Text(pFrame->m_hWnd));

    // Closing the children: the remaining one's title, then the frame's own menu and title.
    pChild2->SendMessage(WM_CLOSE);
    EXPECT_EQ(pChild, pFrame->MDIGetActive());
    EXPECT_EQ("Frame Test - Text1", Text(pFrame->m_hWnd));
    EXPECT_EQ(pTemplate->m_hMenuShared, ::GetMenu(pFrame->m_hWnd));
    pChild->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, pFrame->MDIGetActive());
    EXPECT_EQ(nullptr, pTemplate->GetFirstDocPosition());   // the documents went with their frames
    EXPECT_EQ(pFrame->m_hMenuDefault, ::GetMenu(pFrame->m_hWnd));
    EXPECT_EQ("Frame Test", Text(pFrame->m_hWnd));
}

// The state of a command as the menu would show it.
bool CommandEnabled(CFrameWnd* pFrame, UINT nID)
{
    struct Probe : CCmdUI {
        bool enabled = false;
        void Enable(BOOL bOn = TRUE) override { enabled = bOn != FALSE; m_bEnableChanged = TRUE; }
    } probe;
    probe.m_nID = nID;
    probe.DoUpdate(pFrame, FALSE);
    return probe.enabled;
}

TEST_F(MdiTemplate, NewWindowOpensAnotherFrameOnTheActiveDocument)
{
    EXPECT_FALSE(CommandEnabled(pFrame, ID_WINDOW_NEW));   // no document yet
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    CMDIChildWnd* pChild1 = pFrame->MDIGetActive();
    ASSERT_NE(nullptr, pChild1);
    EXPECT_TRUE(CommandEnabled(pFrame, ID_WINDOW_NEW));

    pFrame->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    CMDIChildWnd* pChild2 = pFrame->MDIGetActive();
    ASSERT_NE(nullptr, pChild2);
    ASSERT_NE(pChild1, pChild2);
    CView* pView2 = pChild2->GetActiveView();
    ASSERT_NE(nullptr, pView2);
    EXPECT_EQ(pDoc, pView2->GetDocument());
    EXPECT_NE(pChild1->GetActiveView(), pView2);
    EXPECT_EQ(pTemplate->m_hMenuShared, ::GetMenu(pFrame->m_hWnd));
    EXPECT_EQ("Text1:1", Text(pChild1->m_hWnd));
    EXPECT_EQ("Text1:2", Text(pChild2->m_hWnd));
    EXPECT_EQ(0u, Text(pFrame->m_hWnd).find("Frame Test - Text1"));

    // The document's title reaches both windows.
    pDoc->SetTitle("Notes");
    EXPECT_EQ("Notes:1", Text(pChild1->m_hWnd));
    EXPECT_EQ("Notes:2", Text(pChild2->m_hWnd));

    // One window left: no number, and the document stays open.
    pChild2->SendMessage(WM_CLOSE);
    EXPECT_EQ(pChild1, pFrame->MDIGetActive());
    EXPECT_EQ("Notes", Text(pChild1->m_hWnd));
    EXPECT_EQ("Frame Test - Notes", Text(pFrame->m_hWnd));
    POSITION pos = pTemplate->GetFirstDocPosition();
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(pDoc, pTemplate->GetNextDoc(pos));
    EXPECT_EQ(pChild1->GetActiveView(), ViewOf(pDoc));
}

} // namespace

// Frames that fail to become windows, at each step; each counts its deletions.
static int g_nFailedFrameDeletes = 0;
enum FailStep { kFailPreCreate, kFailOnCreate };
static FailStep g_failStep = kFailPreCreate;

template <class Base>
class CFailingFrame : public Base
{
public:
    ~CFailingFrame() override { g_nFailedFrameDeletes++; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        return g_failStep == kFailPreCreate ? FALSE : Base::PreCreateWindow(cs);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CREATE && g_failStep == kFailOnCreate)
            return -1;
        return Base::WindowProc(message, wParam, lParam);
    }
};
class CFailingSdiFrame : public CFailingFrame<CFrameWnd>
{
    DECLARE_DYNCREATE(CFailingSdiFrame)
};
IMPLEMENT_DYNCREATE(CFailingSdiFrame, CFrameWnd)
class CFailingChildFrame : public CFailingFrame<CMDIChildWnd>
{
    DECLARE_DYNCREATE(CFailingChildFrame)
};
IMPLEMENT_DYNCREATE(CFailingChildFrame, CMDIChildWnd)

namespace {

// A frame that cannot be made is freed exactly once, whichever step refused it.
TEST_F(MdiTemplate, FrameThatCannotBeMadeIsFreedOnce)
{
    struct Case {
        CRuntimeClass* pClass;
        FailStep step;
        const char* what;
    } cases[] = {
        { RUNTIME_CLASS(CFailingSdiFrame), kFailPreCreate, "frame, PreCreateWindow" },
        { RUNTIME_CLASS(CFailingSdiFrame), kFailOnCreate, "frame, WM_CREATE" },
        { RUNTIME_CLASS(CFailingChildFrame), kFailPreCreate, "MDI child, PreCreateWindow" },
        { RUNTIME_CLASS(CFailingChildFrame), kFailOnCreate, "MDI child, WM_CREATE" },
    };
    for (const Case& c : cases) {
        CMultiDocTemplate templ(kTemplateRes, RUNTIME_CLASS(CTemplTestDoc), c.pClass, RUNTIME_CLASS(CTemplTestView));
        g_failStep = c.step;
        g_nFailedFrameDeletes = 0;
        EXPECT_EQ(nullptr, templ.CreateNewFrame(nullptr, nullptr)) << c.what;
        EXPECT_EQ(1, g_nFailedFrameDeletes) << c.what;
    }
}

} // namespace
