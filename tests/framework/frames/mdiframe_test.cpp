#include "tests/framework/frames/frames_fixture.h"
#include <vector>

namespace {

using vt::ArrayText;

class CIdeFrame : public vt::CTestMainFrame
{
public:
    int m_nDefaultNcDown = 0;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCLBUTTONDOWN)
            m_nDefaultNcDown++;
        return vt::CTestMainFrame::DefWindowProc(message, wParam, lParam);
    }
};

// Counts its paints.
class CCountingBar : public TWKControlBar
{
public:
    int m_nPaints = 0;
    void DoPaint(CDC* pDC) override
    {
        m_nPaints++;
        TWKControlBar::DoPaint(pDC);
    }
};

// The main frame with the IDE's three bars placed as the IDE places them.
class MainFrameBars : public testing::Test
{
protected:
    CIdeFrame* frame = nullptr;
    CCountingBar* output = nullptr;
    CCountingBar* project = nullptr;
    CCountingBar* preview = nullptr;
    std::map<const CControlBar*, std::string> names;

    CCountingBar* Bar(UINT nID, const char* name)
    {
        auto* p = new CCountingBar;
        p->m_bAutoDelete = TRUE;
        EXPECT_TRUE(p->Create(frame, name, WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, nID));
        p->EnableDocking(CBRS_ALIGN_ANY);
        names[p] = name;
        return p;
    }
    void SetUp() override
    {
        frame = new CIdeFrame;
        ASSERT_TRUE(frame->LoadFrame(vt::kTestFrameID));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        output = Bar(0xE704, "output");
        project = Bar(0xE703, "project");
        preview = Bar(0xE705, "preview");
        frame->DockControlBarAt(output, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.75f, 130);
        frame->DockControlBarAt(project, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.75f, 240);
        frame->DockControlBarAt(preview, AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.25f, 150);
        frame->RecalcLayout();
    }
    void TearDown() override
    {
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
    }
    TWKDockBar* Dock(UINT nID) { return static_cast<TWKDockBar*>(frame->GetControlBar(nID)); }
    CRect InParent(CWnd* p) const
    {
        CRect r;
        p->GetWindowRect(&r);
        ::MapWindowPoints(nullptr, ::GetParent(p->m_hWnd), reinterpret_cast<LPPOINT>(&r), 2);
        return r;
    }
    static bool HasUpdate(HWND h) { return ::GetUpdateRect(h, nullptr, FALSE) != 0; }
    void PaintAll() { ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }
};

TEST_F(MainFrameBars, BarsSitWhereTheIdePutsThemAndTheClientTakesTheRest)
{
    // Loaded from one resource id: title, menu, accelerators and icon.
    CString strTitle;
    frame->GetWindowText(strTitle);
    EXPECT_EQ(0, strTitle.Find("Docking Test"));
    EXPECT_NE(nullptr, ::GetMenu(frame->m_hWnd));
    EXPECT_NE(nullptr, frame->m_hAccelTable);
    EXPECT_NE(0, ::GetClassLongPtrA(frame->m_hWnd, GCLP_HICON));
    EXPECT_EQ(vt::kTestFrameID, frame->m_nIDHelp);
    EXPECT_EQ(vt::kTestFrameID, frame->m_nDefaultMenuID);
    EXPECT_EQ(frame->m_hMenuDefault, frame->GetDefaultMenu());

    EXPECT_EQ("0", ArrayText(Dock(AFX_IDW_DOCKBAR_TOP), names));
    EXPECT_EQ("0 output 0", ArrayText(Dock(AFX_IDW_DOCKBAR_BOTTOM), names));
    EXPECT_EQ("0 project preview 0", ArrayText(Dock(AFX_IDW_DOCKBAR_LEFT), names));
    EXPECT_EQ("0", ArrayText(Dock(AFX_IDW_DOCKBAR_RIGHT), names));

    // Fractions, committed thickness and places.
    EXPECT_FLOAT_EQ(1.0f, output->m_fPctWidth);
    EXPECT_FLOAT_EQ(0.75f, project->m_fPctWidth);
    EXPECT_FLOAT_EQ(0.25f, preview->m_fPctWidth);
    EXPECT_EQ(130, output->m_sizeMRUHorzDock.cy);
    EXPECT_EQ(240, project->m_sizeMRUVertDock.cx);
    EXPECT_EQ(240, preview->m_sizeMRUVertDock.cx);   // the row's thickness, committed by the layout
    struct Case { TWKControlBar* p; int nRow, nCol; UINT nDockBarID; float fPct; int nThickness; };
    const Case cases[] = {
        { output, 0, 0, AFX_IDW_DOCKBAR_BOTTOM, 1.0f, 130 },
        { project, 0, 0, AFX_IDW_DOCKBAR_LEFT, 0.75f, 240 },
        { preview, 0, 1, AFX_IDW_DOCKBAR_LEFT, 0.25f, 240 },
    };
    for (const Case& c : cases) {
        int nRow = -1, nCol = -1, nThickness = -1;
        UINT nID = 0;
        float fPct = 0;
        ASSERT_TRUE(c.p->GetDockedPosition(nRow, nCol, nID, fPct, nThickness)) << names[c.p];
        EXPECT_EQ(c.nRow, nRow) << names[c.p];
        EXPECT_EQ(c.nCol, nCol) << names[c.p];
        EXPECT_EQ(c.nDockBarID, nID) << names[c.p];
        EXPECT_FLOAT_EQ(c.fPct, fPct) << names[c.p];
        EXPECT_EQ(c.nThickness, nThickness) << names[c.p];
    }
    TWKControlBar loose;
    int nRow, nCol;
    EXPECT_FALSE(loose.GetDockedPosition(nRow, nCol));

    // The bars inside their dock bars, laid out in rows that share their length.
    CRect rectLeftClient, rectBottomClient;
    Dock(AFX_IDW_DOCKBAR_LEFT)->GetClientRect(&rectLeftClient);
    Dock(AFX_IDW_DOCKBAR_BOTTOM)->GetClientRect(&rectBottomClient);
    EXPECT_EQ(CRect(1, 5, rectBottomClient.right, 135), InParent(output));
    EXPECT_EQ(InParent(project).bottom + 6, InParent(preview).top);
    EXPECT_EQ(rectLeftClient.bottom, InParent(preview).bottom);
    // The MDI client takes exactly the rest, and that is the last inside rectangle.
    CRect rectClient, rectMDI(InParent(CWnd::FromHandle(frame->m_hWndMDIClient)));
    frame->GetClientRect(&rectClient);
    CRect rectLeft = InParent(Dock(AFX_IDW_DOCKBAR_LEFT)), rectBottom = InParent(Dock(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(rectLeft.right, rectMDI.left);
    EXPECT_EQ(rectBottom.top, rectMDI.bottom);
    EXPECT_EQ(rectClient.top, rectMDI.top);
    EXPECT_EQ(rectClient.right, rectMDI.right);
    EXPECT_EQ(246, rectLeft.Width());     // the row, its splitter and the dock bar's border
    EXPECT_EQ(137, rectBottom.Height());  // and the bottom dock bar's first row starts a pixel lower
    EXPECT_EQ(rectMDI, frame->m_rectLastInside);
}

TEST_F(MainFrameBars, FirstLayoutRedrawsTheFrameLaterOnesOnlyMarkedBars)
{
    auto paints = [&] { return std::vector<int>{ output->m_nPaints, project->m_nPaints, preview->m_nPaints }; };
    auto reset = [&] {
        PaintAll();
        output->m_nPaints = project->m_nPaints = preview->m_nPaints = 0;
    };
    reset();
    frame->m_rectLastInside.SetRectEmpty();
    frame->RecalcLayout();
    EXPECT_TRUE(HasUpdate(frame->m_hWndMDIClient));
    PaintAll();
    EXPECT_EQ((std::vector<int>{ 1, 1, 1 }), paints());

    reset();
    TWKDockBar* left = Dock(AFX_IDW_DOCKBAR_LEFT);
    left->AddBarToRedraw(project);
    frame->RecalcLayout();
    EXPECT_FALSE(HasUpdate(frame->m_hWndMDIClient));
    PaintAll();
    EXPECT_EQ((std::vector<int>{ 0, 1, 0 }), paints());
    EXPECT_EQ(0, left->m_arrRedraw.GetSize());
    // Nothing marked, nothing moved: nothing is redrawn.
    reset();
    frame->RecalcLayout();
    PaintAll();
    EXPECT_EQ((std::vector<int>{ 0, 0, 0 }), paints());
}

TEST_F(MainFrameBars, ShowControlBarAtOnceOrAtIdleTime)
{
    TWKDockBar* left = Dock(AFX_IDW_DOCKBAR_LEFT);
    CRect rectBefore = frame->m_rectLastInside;
    // Through a CFrameWnd pointer: the frame's own version runs.
    static_cast<CFrameWnd*>(frame)->ShowControlBar(project, FALSE, FALSE);
    EXPECT_FALSE(project->IsWindowVisible());
    EXPECT_EQ(names[project], names[static_cast<CControlBar*>(left->m_pAnchorBar)]);
    // Laid out at once: the other bar has the row to itself now.
    EXPECT_EQ(-2, InParent(preview).top);
    EXPECT_EQ(rectBefore, frame->m_rectLastInside);
    frame->ShowControlBar(preview, FALSE, FALSE);
    EXPECT_EQ(rectBefore.left - 246, frame->m_rectLastInside.left);

    frame->m_nIdleFlags = 0;
    frame->ShowControlBar(output, FALSE, TRUE);
    EXPECT_TRUE(output->IsWindowVisible());
    EXPECT_FALSE(output->IsVisible());
    EXPECT_TRUE(output->m_nStateFlags & CControlBar::delayHide);
    EXPECT_TRUE(frame->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_EQ(output, Dock(AFX_IDW_DOCKBAR_BOTTOM)->m_pAnchorBar);
    frame->RecalcLayout();
    EXPECT_FALSE(output->IsWindowVisible());
    CRect rectClient;
    frame->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.bottom, frame->m_rectLastInside.bottom);
}

TEST(MDIFrame, DefaultDockPlacesCycleThroughEighteenAnswers)
{
    const UINT B = AFX_IDW_DOCKBAR_BOTTOM, L = AFX_IDW_DOCKBAR_LEFT, R = AFX_IDW_DOCKBAR_RIGHT;
    struct Answer { UINT nID; int nRow, nCol; DWORD dwFlags; };
    const Answer cycle[18] = {
        { B, 0, 1, 6 }, { L, 1, 1, 7 }, { R, 0, 1, 6 }, { B, 0, 1, 2 }, { L, 0, 1, 3 }, { R, 0, 1, 2 },
        { B, 0, 1, 2 }, { L, 1, 1, 7 }, { R, 0, 1, 6 }, { B, 0, 1, 6 }, { L, 0, 1, 3 }, { R, 0, 1, 2 },
        { B, 0, 1, 2 }, { L, 1, 1, 7 }, { R, 0, 1, 6 }, { B, 0, 1, 2 }, { L, 0, 1, 3 }, { R, 0, 1, 2 },
    };
    TWKMDIFrameWnd frame;
    for (int i = 0; i < 19; i++) {
        UINT nID = 0;
        TWKDockPos pos = { -9, -9, 99 };
        TWKDockSize size = { 0, 0, 0 };
        EXPECT_EQ(0, frame.GetNextDefaultDockPos(&nID, &pos, &size));
        const Answer& a = cycle[i % 18];
        EXPECT_EQ(a.nID, nID) << i;
        EXPECT_EQ(a.nRow, pos.nRow) << i;
        EXPECT_EQ(a.nCol, pos.nCol) << i;
        EXPECT_EQ(a.dwFlags, pos.dwFlags) << i;
        EXPECT_FLOAT_EQ(1.0f, size.fPctWidth);
        EXPECT_EQ(150, size.nLength);
    }
}

TEST(MDIFrame, ConstructorMakesTheMaximisedChildFiltersOnly)
{
    TWKMDIFrameWnd frame;
    ASSERT_EQ(4, frame.m_filterTable.GetSize());
    EXPECT_EQ(frame.m_pCaptionListDescriptor, frame.m_filterTable[1]);
    TWKMsgFilter* pList = frame.m_pFilterRoot->FindFilter(256, nullptr, -1);
    ASSERT_NE(nullptr, pList);
    EXPECT_TRUE(pList->IsKindOf(RUNTIME_CLASS(TWKCapConLstMDIMaxChildMsgFilter)));
    TWKMsgFilter* pButton = frame.m_pFilterRoot->FindFilter(260, nullptr, -1);
    ASSERT_NE(nullptr, pButton);
    EXPECT_EQ(pButton, pList->FindFilter(260, nullptr, 0));
    ASSERT_NE(nullptr, frame.m_pFilterRoot->FindFilter(261, nullptr, -1));
    EXPECT_EQ(nullptr, frame.m_pFilterRoot->FindFilter(257, nullptr, -1));
    EXPECT_EQ(&frame, pButton->GetWnd());
}

// Answers the system-command extension and consumes non-client clicks when told.
class CTestFrameFilter : public TWKMsgFilter
{
    DECLARE_DYNCREATE(CTestFrameFilter)
public:
    TWKMsgFilter* Clone() const override { return new CTestFrameFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) override
    {
        seen.push_back(message);
        if (message == ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX") && pResult) {
            *pResult = (LRESULT)wParam + 1;
            return 15;
        }
        return message == WM_NCLBUTTONDOWN ? answer : 0;
    }
    std::vector<UINT> seen;
    DWORD answer = 0;
};
IMPLEMENT_DYNCREATE(CTestFrameFilter, TWKMsgFilter)

TEST_F(MainFrameBars, FiltersSeeTheFramesMessages)
{
    TWKMsgFilter::Descriptor d(300, -1, RUNTIME_CLASS(CTestFrameFilter));
    auto* pFilter = static_cast<CTestFrameFilter*>(frame->m_pFilterRoot->ApplyDescriptor(&d, TRUE));
    ASSERT_NE(nullptr, pFilter);
    EXPECT_EQ(frame, pFilter->GetWnd());

    UINT nSysCommandEx = ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX");
    EXPECT_EQ(42, frame->SendMessage(nSysCommandEx, 41, 0));

    // Not consumed: the default processing runs.
    EXPECT_EQ(0, frame->SendMessage(WM_NCLBUTTONDOWN, HTNOWHERE, 0));
    EXPECT_EQ(1, frame->m_nDefaultNcDown);
    // Bit 0: consumed, the result is the filter's.
    pFilter->answer = 1;
    EXPECT_EQ(1, frame->SendMessage(WM_NCLBUTTONDOWN, HTNOWHERE, 0));
    EXPECT_EQ(1, frame->m_nDefaultNcDown);
    EXPECT_EQ(2, std::count(pFilter->seen.begin(), pFilter->seen.end(), (UINT)WM_NCLBUTTONDOWN));

    // After the default processing, the caption messages reach the filters too.
    frame->SetWindowText("Renamed");
    EXPECT_EQ(1, std::count(pFilter->seen.begin(), pFilter->seen.end(), (UINT)WM_SETTEXT));
}

TEST_F(MainFrameBars, WorkspaceCommandsAreAnsweredAndDoNothing)
{
    for (UINT nID : {43007u, 43008u, 43009u, 43012u, 43013u, 43014u, 43031u, 43035u, 43039u}) {
        AFX_CMDHANDLERINFO info = {};
        EXPECT_TRUE(frame->OnCmdMsg(nID, CN_COMMAND, nullptr, &info)) << nID;
        EXPECT_TRUE(frame->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, nullptr, &info)) << nID;
        EXPECT_TRUE(frame->OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr)) << nID;
    }
    AFX_CMDHANDLERINFO info = {};
    EXPECT_FALSE(frame->OnCmdMsg(43010, CN_COMMAND, nullptr, &info));
    EXPECT_FALSE(frame->OnCmdMsg(43040, CN_COMMAND, nullptr, &info));
}

TEST_F(MainFrameBars, HelpNamesTheTrackedMenuItemElseTheGivenContext)
{
    vt::HelpRequests().clear();
    frame->m_nIDTracking = ID_FILE_NEW;
    EXPECT_TRUE(frame->SendMessage(WM_COMMANDHELP, 0, 0));
    frame->m_nIDTracking = 0;
    EXPECT_TRUE(frame->SendMessage(WM_COMMANDHELP, 0, 0x20005));
    ASSERT_EQ(2u, vt::HelpRequests().size());
    EXPECT_EQ((DWORD_PTR)(0x10000 + ID_FILE_NEW), vt::HelpRequests()[0].data);
    EXPECT_EQ((UINT)HELP_CONTEXT, vt::HelpRequests()[0].command);
    EXPECT_EQ((DWORD_PTR)0x20005, vt::HelpRequests()[1].data);
}

} // namespace
