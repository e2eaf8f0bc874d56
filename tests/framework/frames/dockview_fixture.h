// A test application for dockable views: a main frame on TWKMDIFrameWnd as
// the application's main window, a registered TWKMultiDocTemplate and a
// document and view that record what the template tells them.
#pragma once
#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMultiDocTemplate.h"
#include <string>
#include <vector>

namespace vt {
// What a view was told, in order.
inline std::vector<std::string>& FeedBackLog();
} // namespace vt

class CDockTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CDockTestDoc)
};

class CDockTestView : public CView, public ITWKVwDockFeedBack
{
    DECLARE_DYNCREATE(CDockTestView)
public:
    void OnDraw(CDC*) override {}
    void OnBeforeDock(CFrameWnd* pOld, CFrameWnd* pNew) override { Log("BeforeDock", pOld, pNew); }
    void OnAfterDock(CFrameWnd* pNew) override { Log("AfterDock", nullptr, pNew); }
    void OnBeforeUndock(CFrameWnd* pOld, CFrameWnd* pNew) override { Log("BeforeUndock", pOld, pNew); }
    void OnAfterUndock(CFrameWnd* pNew) override { Log("AfterUndock", nullptr, pNew); }

private:
    // The event, whether the old frame still held the view, whether the new one holds it.
    void Log(const char* what, CFrameWnd* pOld, CFrameWnd* pNew)
    {
        std::string s = what;
        if (pOld)
            s += pOld->m_hWnd && ::IsChild(pOld->m_hWnd, m_hWnd) ? " old-holds" : " old-empty";
        s += pNew && ::IsChild(pNew->m_hWnd, m_hWnd) ? " new-holds" : " new-empty";
        vt::FeedBackLog().push_back(s);
    }
};

namespace vt {

const UINT kDockTemplateID = 0x7DA0;   // document strings, MDI-child menu and accelerators (F7: 0x7DA2)
const UINT kDockedID = 0x7DA1;         // docked menu and accelerators (F8: 0x7DA3)
const UINT kChildCommand = 0x7DA2;
const UINT kDockedCommand = 0x7DA3;

// What a view was told, in order.
inline std::vector<std::string>& FeedBackLog()
{
    static std::vector<std::string> log;
    return log;
}

// Records the commands the main window receives.
class CDockMainFrame : public CTestMainFrame
{
public:
    std::vector<UINT> commands;
    int nNcCalcSize = 0;   // the frame's non-client area recomputed (a menu-bar redraw does it)
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCCALCSIZE)
            nNcCalcSize++;
        return CTestMainFrame::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(LOWORD(wParam));
        return CTestMainFrame::OnCommand(wParam, lParam);
    }
    // The docked frame's command has a handler here, so its menu item and key are enabled.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nID == 0x7DA3 && nCode == (int)CN_UPDATE_COMMAND_UI && pExtra) {
            static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
            return TRUE;
        }
        if (nID == 0x7DA3 && nCode == CN_COMMAND)
            return TRUE;
        return CTestMainFrame::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

// The template is registered once for the process, as an application does;
// each test gets a fresh main frame and closes its documents.
class DockViews : public testing::Test
{
protected:
    static TWKMultiDocTemplate* s_pTemplate;
    TWKMultiDocTemplate* tmpl = nullptr;
    CDockMainFrame* frame = nullptr;

    static TWKMultiDocTemplate* Template()
    {
        if (!s_pTemplate) {
            s_pTemplate = new TWKMultiDocTemplate(kDockTemplateID, RUNTIME_CLASS(CDockTestDoc), nullptr,
                                                  RUNTIME_CLASS(CDockTestView), kDockedID);
            AfxGetApp()->AddDocTemplate(s_pTemplate);
        }
        return s_pTemplate;
    }

    void SetUp() override
    {
        tmpl = Template();
        frame = new CDockMainFrame;
        ASSERT_TRUE(frame->LoadFrame(kTestFrameID));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_SHOWWINDOW);
        AfxGetApp()->m_pMainWnd = frame;
        FeedBackLog().clear();
    }
    void TearDown() override
    {
        tmpl->CloseAllDocuments(FALSE);
        AfxGetApp()->m_pMainWnd = nullptr;
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        PumpMessages();
    }

    // A new document and its view, docked or in an MDI child.
    CDockTestView* Open(BOOL bDocked, UINT nBarID = 0)
    {
        CDocument* pDoc = tmpl->OpenDocumentFile(nullptr, TRUE, bDocked, nBarID);
        EXPECT_NE(nullptr, pDoc);
        if (!pDoc)
            return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        return static_cast<CDockTestView*>(pDoc->GetNextView(pos));
    }
    static TWKDockableFrame* DockableOf(CView* pView)
    {
        CFrameWnd* p = pView ? pView->GetParentFrame() : nullptr;
        return (p && p->IsKindOf(RUNTIME_CLASS(TWKDockableFrame))) ? static_cast<TWKDockableFrame*>(p) : nullptr;
    }
    static TWKControlBar* BarOf(CFrameWnd* pFrame)
    {
        CWnd* p = pFrame ? pFrame->GetParent() : nullptr;
        return (p && p->IsKindOf(RUNTIME_CLASS(TWKControlBar))) ? static_cast<TWKControlBar*>(p) : nullptr;
    }
    // The side the main frame would offer next, without taking it.
    UINT PeekNextDockBarID() const
    {
        int nSaved = frame->m_nDockOrderIndex;
        UINT nID = 0;
        TWKDockPos pos;
        TWKDockSize size;
        frame->GetNextDefaultDockPos(&nID, &pos, &size);
        frame->m_nDockOrderIndex = nSaved;
        return nID;
    }
    int CountBars() const { return (int)frame->m_listControlBars.GetCount(); }
};

inline TWKMultiDocTemplate* DockViews::s_pTemplate = nullptr;

} // namespace vt

// Defined in each test file that uses the fixture.
#define VT_DOCKVIEW_CLASSES()                    \
    IMPLEMENT_DYNCREATE(CDockTestDoc, CDocument) \
    IMPLEMENT_DYNCREATE(CDockTestView, CView)
