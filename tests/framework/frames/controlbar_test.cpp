#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKControlBarInfo.h"
#include "framework/frames/TWKControlBarManager.h"
#include "framework/frameworkres.h"
#include <vector>

namespace {

// A bare bar that only takes an id in the frame's list of bars.
class CControlBarStub : public CControlBar
{
public:
    CControlBarStub(CFrameWnd* pFrame, UINT nID)
    {
        m_bAutoDelete = TRUE;
        RegisterBarClass();
        CWnd::CreateEx(0, AFX_WNDCONTROLBAR, "", WS_CHILD, 0, 0, 0, 0, pFrame->m_hWnd, (HMENU)(UINT_PTR)nID);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

TEST(ControlBar, CalcDynamicLayoutCommitsWhatTheModeSays)
{
    struct Case { int nLength; DWORD dwMode; CSize horz, vert, flt; CSize result; UINT nMRUWidth; };
    // Start: all three sizes 300 x 180, fraction 0.25.
    const Case cases[] = {
        { 400, LM_HORZDOCK | LM_HORZ | LM_STRETCH | LM_COMMIT, { 100, 180 }, { 300, 180 }, { 300, 180 }, { 100, 180 }, 32767 },
        { 130, LM_HORZ | LM_HORZDOCK | LM_LENGTHY | LM_COMMIT, { 300, 130 }, { 300, 180 }, { 300, 180 }, { 300, 130 }, 32767 },
        { 240, LM_VERTDOCK | LM_COMMIT, { 300, 180 }, { 240, 180 }, { 300, 180 }, { 240, 180 }, 32767 },
        { 150, LM_VERTDOCK | LM_LENGTHY | LM_COMMIT, { 300, 180 }, { 300, 150 }, { 300, 180 }, { 300, 150 }, 32767 },
        // No dock flag: the floating size, even when committing (and the MRU width with it).
        { 222, LM_HORZ | LM_MRUWIDTH | LM_COMMIT, { 300, 180 }, { 300, 180 }, { 222, 180 }, { 222, 180 }, 222 },
        { 150, LM_HORZ | LM_MRUWIDTH | LM_LENGTHY | LM_COMMIT, { 300, 180 }, { 300, 180 }, { 300, 150 }, { 300, 150 }, 32767 },
        { -1, LM_HORZ | LM_HORZDOCK, { 300, 180 }, { 300, 180 }, { 300, 180 }, { 300, 180 }, 32767 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.dwMode << " length " << c.nLength);
        TWKControlBar bar;
        bar.m_sizeMRUHorzDock = bar.m_sizeMRUVertDock = bar.m_sizeMRUFloat = CSize(300, 180);
        bar.m_fPctWidth = 0.25f;
        EXPECT_EQ(c.result, bar.CalcDynamicLayout(c.nLength, c.dwMode));
        EXPECT_EQ(c.horz, bar.m_sizeMRUHorzDock);
        EXPECT_EQ(c.vert, bar.m_sizeMRUVertDock);
        EXPECT_EQ(c.flt, bar.m_sizeMRUFloat);
        EXPECT_EQ(c.nMRUWidth, bar.m_nMRUWidth);
    }
}

// A bar of 200 x 100 on a plain window, with two children.
struct ChildBar {
    CWnd parent;
    TWKControlBar bar;
    HWND hChild1 = nullptr, hChild2 = nullptr;
    explicit ChildBar(DWORD dwExStyle)
    {
        parent.CreateEx(0, AfxGetDefaultWndClass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr);
        bar.Create(&parent, "", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0, 0xE700);
        bar.SetWindowPos(nullptr, 0, 0, 200, 100, SWP_NOZORDER);
        hChild1 = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 20, 40, 20, bar.m_hWnd, nullptr,
                                    nullptr, nullptr);
        hChild2 = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 100, 50, 50, 30, bar.m_hWnd, nullptr,
                                    nullptr, nullptr);
        bar.SetExBarStyle(dwExStyle, FALSE);   // records the children when it scales them
    }
    ~ChildBar() { parent.DestroyWindow(); }
    CRect ChildRect(HWND h) const
    {
        CRect r;
        ::GetWindowRect(h, &r);
        ::MapWindowPoints(nullptr, bar.m_hWnd, reinterpret_cast<LPPOINT>(&r), 2);
        return r;
    }
};

TEST(ControlBar, SizeScalesOrFillsChildren)
{
    ASSERT_EQ(CSize(200, 100), [] { ChildBar b(0); CRect r; b.bar.GetClientRect(&r); return r.Size(); }());
    struct Case { DWORD ex; UINT nType; int cx, cy; CRect child1; };
    const Case cases[] = {
        { CBX_SCALECHILDREN, SIZE_RESTORED, 400, 200, { 20, 40, 100, 80 } },
        // Inside 380 x 180 from (10, 10).
        { CBX_SCALECHILDREN | CBX_MARGINS, SIZE_RESTORED, 400, 200, { 29, 46, 105, 82 } },
        // Docked horizontally with a gripper: inside 380 x 194 from (17, 3).
        { CBX_SCALECHILDREN | CBX_GRIPPER, SIZE_RESTORED, 400, 200, { 36, 41, 112, 80 } },
        { CBX_SCALECHILDREN, SIZE_MINIMIZED, 400, 200, { 10, 20, 50, 40 } },
        { CBX_SCALECHILDREN, SIZE_RESTORED, 0, 200, { 10, 20, 50, 40 } },
        { CBX_SCALECHILDREN, SIZE_RESTORED, 400, 0, { 10, 20, 50, 40 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ex " << c.ex << " type " << c.nType << " " << c.cx << "x" << c.cy);
        ChildBar b(c.ex);
        b.bar.SendMessage(WM_SIZE, c.nType, MAKELPARAM(c.cx, c.cy));
        EXPECT_EQ(c.child1, b.ChildRect(b.hChild1));
    }
    // The topmost child fills the inside area.
    for (DWORD ex : {(DWORD)CBX_FILLCHILD, (DWORD)(CBX_FILLCHILD | CBX_MARGINS)}) {
        ChildBar b(ex);
        HWND hTop = ::GetTopWindow(b.bar.m_hWnd);
        b.bar.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 150));
        EXPECT_EQ((ex & CBX_MARGINS) ? CRect(10, 10, 290, 140) : CRect(0, 0, 300, 150), b.ChildRect(hTop)) << ex;
    }
}

TEST(ControlBar, SetExBarStyleMovesOnlyOnAChange)
{
    ChildBar b(0);
    b.bar.SetWindowPos(nullptr, 5, 6, 200, 100, SWP_NOZORDER);
    b.bar.SetExBarStyle(0, TRUE);
    CRect r;
    b.bar.GetWindowRect(&r);
    b.parent.ScreenToClient(&r);
    EXPECT_EQ(CRect(5, 6, 205, 106), r);
    b.bar.ModifyExBarStyle(0, CBX_MARGINS, TRUE);
    EXPECT_EQ((DWORD)CBX_MARGINS, b.bar.GetExBarStyle());
    b.bar.GetWindowRect(&r);
    b.parent.ScreenToClient(&r);
    EXPECT_EQ(CRect(5, 6, 5, 6), r);   // sized 0 x 0 for the next layout, in place
}

// The IDE's three bars: bottom 0xE704, left 0xE703 and 0xE705 beside it.
class IdeBars : public testing::Test
{
protected:
    vt::MainFrame frame;
    TWKControlBar* output = nullptr;
    TWKControlBar* project = nullptr;
    TWKControlBar* preview = nullptr;
    void SetUp() override
    {
        ASSERT_NE(nullptr, frame.p);
        output = frame.Bar(0xE704);
        project = frame.Bar(0xE703);
        preview = frame.Bar(0xE705);
        ASSERT_TRUE(output && project && preview);
        frame.p->DockControlBarAt(output, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.75f, 130);
        frame.p->DockControlBarAt(project, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.75f, 240);
        frame.p->DockControlBarAt(preview, AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.25f, 150);
        frame.p->RecalcLayout();
        for (TWKControlBar* p : {output, project, preview})
            p->UpdateWindow();   // paints the grippers
    }
    static CPoint Centre(const CRect& r) { return r.CenterPoint(); }
};

TEST_F(IdeBars, CloseButtonHidesTheBarOnlyWhenReleasedOverIt)
{
    ASSERT_FALSE(output->m_rectClose.IsRectEmpty());
    CPoint pt = Centre(output->m_rectClose);
    // Released outside: nothing.
    output->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(output->m_bClosePressed);
    EXPECT_EQ(output->m_hWnd, ::GetCapture());
    output->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x + 200, pt.y));
    EXPECT_FALSE(output->m_bClosePressed);
    EXPECT_NE(output->m_hWnd, ::GetCapture());
    EXPECT_TRUE(output->IsWindowVisible());
    // Released over it: 43041 hides the bar.
    output->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    output->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(output->IsWindowVisible());
    EXPECT_EQ(output, frame.Dock(AFX_IDW_DOCKBAR_BOTTOM)->m_pAnchorBar);
}

TEST_F(IdeBars, ExpandButtonOfTheOnlyBarInARowIsInactive)
{
    // Alone in the bottom row: drawn inactive, clicks ignored.
    EXPECT_FALSE(output->m_bExpandActive);
    CPoint pt = Centre(output->m_rectExpand);
    output->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(output->m_bExpandPressed);
    output->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FLOAT_EQ(1.0f, output->m_fPctWidth);
    // Two bars on the left: active; a click expands the bar over its row.
    EXPECT_TRUE(project->m_bExpandActive);
    EXPECT_TRUE(project->m_bExpandable);
    pt = Centre(project->m_rectExpand);
    project->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(project->m_bExpandPressed);
    project->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    TWKDockBar* left = frame.Dock(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FLOAT_EQ(left->m_fMinPctWidth, preview->m_fPctWidth);
    EXPECT_GT(project->m_fPctWidth, 0.9f);
    EXPECT_TRUE(left->IsBarExpanded(project));
}

TEST_F(IdeBars, GripperTipsNameTheButtons)
{
    struct Case { TWKControlBar* pBar; bool bClose; INT_PTR nID; const char* text; };
    const Case cases[] = {
        { project, true, 1024, "Hide docked window" },
        { project, false, 2048, "Expand docked window" },
    };
    for (const Case& c : cases) {
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        CPoint pt = Centre(c.bClose ? c.pBar->m_rectClose : c.pBar->m_rectExpand);
        EXPECT_EQ(c.nID, c.pBar->OnToolHitTest(pt, &ti));
        EXPECT_STREQ(c.text, ti.lpszText);
        EXPECT_EQ((UINT_PTR)c.nID, ti.uId);
        free(ti.lpszText);
    }
    frame.Dock(AFX_IDW_DOCKBAR_LEFT)->ExpandBarInRow(project, 1);
    project->UpdateExpandButtonState(FALSE);
    TOOLINFOA ti = {};
    EXPECT_EQ(2048, project->OnToolHitTest(Centre(project->m_rectExpand), &ti));
    EXPECT_STREQ("Contract docked window", ti.lpszText);
    free(ti.lpszText);
    // Without CBRS_TOOLTIPS: no tool.
    project->SetBarStyle(project->GetBarStyle() & ~CBRS_TOOLTIPS);
    EXPECT_EQ(-1, project->OnToolHitTest(Centre(project->m_rectClose), nullptr));
}

TEST(ControlBarIds, FreeBarIdAfterTakenOnes)
{
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    EXPECT_EQ(0u, TWKControlBar::GetFreeBarID(nullptr, 256));
    EXPECT_EQ(256u, TWKControlBar::GetFreeBarID(frame.p, 256));
    frame.Bar(256);
    frame.Bar(257);
    EXPECT_EQ(258u, TWKControlBar::GetFreeBarID(frame.p, 256));
    // 256 to 1255 all taken: none left in the range.
    for (UINT nID = 258; nID <= 1255; nID++) {
        auto* p = new CControlBarStub(frame.p, nID);
        (void)p;
    }
    EXPECT_EQ(0u, TWKControlBar::GetFreeBarID(frame.p, 256));
    EXPECT_EQ(1256u, TWKControlBar::GetFreeBarID(frame.p, 257));
}

TEST_F(IdeBars, DestroyLeavesNoEntryAndAsksTheFrameForALayout)
{
    TWKDockBar* left = frame.Dock(AFX_IDW_DOCKBAR_LEFT);
    frame.p->m_nIdleFlags = 0;
    preview->DestroyWindow();   // auto-deleted
    EXPECT_EQ(-1, left->FindBar(preview));
    EXPECT_EQ(1, left->GetDockedCount());
    EXPECT_EQ((UINT)(CFrameWnd::idleLayout | CFrameWnd::idleNotify),
              frame.p->m_nIdleFlags & (CFrameWnd::idleLayout | CFrameWnd::idleNotify));
}

// Bars that are members of the frame object, so that they outlive the auto-deleted dock bars.
class CMemberBarsFrame : public vt::CTestMainFrame
{
public:
    TWKControlBar m_bar1, m_bar2;
};

TEST(ControlBarLifetime, FramesBarsAndDockContextsDieInAnyOrder)
{
    for (int nOrder = 0; nOrder < 3; nOrder++) {
        SCOPED_TRACE(nOrder);
        auto* pFrame = new CMemberBarsFrame;
        ASSERT_TRUE(pFrame->LoadFrame(vt::kTestFrameID));
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        TWKControlBar* bars[] = { &pFrame->m_bar1, &pFrame->m_bar2 };
        UINT nID = 0xE710;
        for (TWKControlBar* p : bars) {
            ASSERT_TRUE(p->Create(pFrame, "", WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, nID++));
            p->EnableDocking(CBRS_ALIGN_ANY);
            pFrame->DockControlBarAt(p, AFX_IDW_DOCKBAR_LEFT, 9, 0, 0.5f, 100);
        }
        TWKDockBar* left = static_cast<TWKDockBar*>(pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
        ASSERT_EQ(2, left->GetDockedCount());
        if (nOrder == 1) {
            // A bar's window goes first; its dock context later finds nothing to remove.
            pFrame->m_bar1.DestroyWindow();
            EXPECT_EQ(nullptr, pFrame->m_bar1.m_pDockBar);
            EXPECT_EQ(-1, left->FindBar(&pFrame->m_bar1));
            delete pFrame->m_bar1.m_pDockContext;
            pFrame->m_bar1.m_pDockContext = nullptr;
            EXPECT_EQ(1, left->GetDockedCount());
            EXPECT_EQ(nullptr, left->m_arrBars[0]);
        } else if (nOrder == 2) {
            // A dock context deleted after its bar left the dock bar: no write at -1.
            left->RemoveControlBar(&pFrame->m_bar2, -1, 0);   // leaves its id
            INT_PTR nSize = left->m_arrBars.GetSize();
            delete pFrame->m_bar2.m_pDockContext;
            pFrame->m_bar2.m_pDockContext = nullptr;
            EXPECT_EQ(nSize, left->m_arrBars.GetSize());
            EXPECT_EQ(nullptr, left->m_arrBars[0]);
            EXPECT_EQ(nullptr, pFrame->m_bar2.m_pDockBar);
        }
        // The frame goes with its dock bars; the member bars after them.
        pFrame->DestroyWindow();
    }
}


class CTypingManager : public TWKControlBarManager
{
public:
    using TWKControlBarManager::TWKControlBarManager;
    UINT GetBarTypeID(CControlBar*) override { return 14946; }
};

TEST_F(IdeBars, LayoutRecordsAreFilledAndApplied)
{
    CTypingManager manager(frame.p);
    preview->m_pControlBarManager = &manager;
    preview->m_dwMRUDockingState = CBRS_ALIGN_LEFT;
    TWKControlBarInfo info(&manager);
    preview->GetBarInfo(&info);
    EXPECT_EQ(0xE705u, info.m_nBarID);
    EXPECT_EQ(preview, info.m_pBar);
    EXPECT_TRUE(info.m_bVisible);
    EXPECT_TRUE(info.m_bDocking);
    CRect rectPlaced;
    preview->GetWindowRect(&rectPlaced);
    frame.Dock(AFX_IDW_DOCKBAR_LEFT)->ScreenToClient(&rectPlaced);
    EXPECT_EQ(rectPlaced.TopLeft(), info.m_pointPos);
    EXPECT_EQ(rectPlaced.Size(), info.m_sizeMRUVertDock);
    EXPECT_EQ(CSize(300, 180), info.m_sizeMRUFloat);
    EXPECT_FLOAT_EQ(0.25f, info.m_fPctWidth);
    EXPECT_EQ((DWORD)CBRS_ALIGN_LEFT, info.m_dwMRUDockingState);
    EXPECT_EQ((DWORD)CBRS_ALIGN_ANY, info.m_dwDockStyle);
    EXPECT_EQ(preview->GetBarStyle(), info.m_dwStyle);
    EXPECT_EQ(vt::kIdeExStyle, info.m_dwExStyle);
    EXPECT_EQ(14946u, info.m_nTypeID);
    EXPECT_STREQ("TWKControlBar", (LPCSTR)info.m_strClassName);
    EXPECT_STREQ("Bar", (LPCSTR)info.m_strWindowName);
    preview->m_pControlBarManager = nullptr;

    // Applied to another bar: sizes, sides, fraction and style; hidden as the record says.
    TWKControlBar* other = frame.Bar(0xE706, 0);
    info.m_bVisible = FALSE;
    info.m_sizeMRUHorzDock = CSize(111, 77);
    other->SetBarInfo(&info, frame.p);
    EXPECT_EQ(CSize(111, 77), other->m_sizeMRUHorzDock);
    EXPECT_EQ(info.m_sizeMRUVertDock, other->m_sizeMRUVertDock);
    EXPECT_FLOAT_EQ(0.25f, other->m_fPctWidth);
    EXPECT_EQ((DWORD)CBRS_ALIGN_LEFT, other->m_dwMRUDockingState);
    EXPECT_EQ(info.m_dwStyle, other->GetBarStyle());
    EXPECT_EQ(0u, other->GetExBarStyle());   // the last pass of a loaded layout applies it
    EXPECT_FALSE(other->IsWindowVisible());

    // A dock bar's record says whether it hosts a bar floated in the main window.
    TWKControlBarInfo dockInfo;
    frame.Dock(AFX_IDW_DOCKBAR_LEFT)->GetBarInfo(&dockInfo);
    EXPECT_TRUE(dockInfo.m_bDockBar);
    EXPECT_FALSE(dockInfo.m_bMDIChild);
    EXPECT_EQ((std::vector<DWORD>{ 0xE703, 0xE705, 0 }),
              std::vector<DWORD>(dockInfo.m_arrBarID.GetData(), dockInfo.m_arrBarID.GetData() + dockInfo.m_arrBarID.GetSize()));
}

TEST_F(IdeBars, AllowDockingSwitchesTheSidesOffAndBack)
{
    project->SendMessage(WM_COMMAND, ID_TWK_ALLOWDOCKING);
    EXPECT_EQ(0u, project->m_dwDockStyle & CBRS_ALIGN_ANY);
    EXPECT_EQ((DWORD)CBRS_ALIGN_ANY, project->m_dwMRUDockingState);
    project->SendMessage(WM_COMMAND, ID_TWK_ALLOWDOCKING);
    EXPECT_EQ((DWORD)CBRS_ALIGN_ANY, project->m_dwDockStyle & CBRS_ALIGN_ANY);
    EXPECT_NE(nullptr, dynamic_cast<TWKDockContext*>(project->m_pDockContext));
}

} // namespace
