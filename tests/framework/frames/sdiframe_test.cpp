#include "tests/framework/frame_loader.h"
#include "tests/framework/frames/frames_fixture.h"
#include "tests/framework/frames/caption_fixture.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/menus/TWKMenuBarFeature.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKControlBarInfo.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKDockState.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frames/TWKWndPlugIn.h"
#include "framework/frameworkres.h"
#include <string>
#include <vector>

namespace {

const UINT kChildTemplate = 0x7D20;   // a second menu of the test resources

// A bar that records its dock and float hooks and the layout modes it is asked for.
class CHookedBar : public TWKControlBar
{
public:
    int nBefore = 0, nAfter = 0, nBeforeFloat = 0, nAfterFloat = 0;
    DWORD dwLastMode = 0;
    void NotifyBeforeDock() override
    {
        nBefore++;
        TWKControlBar::NotifyBeforeDock();
    }
    void OnAfterDock() override { nAfter++; }
    void OnBeforeFloat() override { nBeforeFloat++; }
    void OnAfterFloat() override { nAfterFloat++; }
    std::vector<int> Counts() const { return { nBefore, nAfter, nBeforeFloat, nAfterFloat }; }
    void ResetCounts() { nBefore = nAfter = nBeforeFloat = nAfterFloat = 0; }
    TWKDockContext* Context() const { return static_cast<TWKDockContext*>(m_pDockContext); }
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        dwLastMode = dwMode;
        return TWKControlBar::CalcDynamicLayout(nLength, dwMode);
    }
};

class SDIFrame : public testing::Test
{
protected:
    TWKFrameWnd* frame = nullptr;

    void Load(UINT nID = vt::kTestFrameID)
    {
        ASSERT_TRUE(frame->LoadFrame(nID));
        frame->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    void SetUp() override { frame = new TWKFrameWnd; }
    void TearDown() override
    {
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        else
            delete frame;
    }
    CHookedBar* Bar(UINT nID, DWORD dwStyle)
    {
        auto* pBar = new CHookedBar;
        pBar->m_bAutoDelete = TRUE;
        EXPECT_TRUE(pBar->Create(frame, "Bar", WS_CHILD | WS_VISIBLE | dwStyle, vt::kIdeExStyle, nID));
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        return pBar;
    }
    int DockBarCount()
    {
        int n = 0;
        for (HWND h = ::GetWindow(frame->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            CWnd* p = CWnd::FromHandlePermanent(h);
            n += p && p->IsKindOf(RUNTIME_CLASS(TWKDockBar));
        }
        return n;
    }
};

TEST_F(SDIFrame, LoadFrameTakesTheMenuOfItsIdWhenThereIsOneAndTheTitlesFirstPart)
{
    Load();
    EXPECT_NE(nullptr, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->GetDefaultMenu());
    CString strTitle;
    frame->GetWindowText(strTitle);
    EXPECT_STREQ("Docking Test", strTitle);
    EXPECT_EQ(vt::kTestFrameID, frame->m_nIDHelp);

    auto* bare = new TWKFrameWnd;
    ASSERT_TRUE(bare->LoadFrame(IDR_TWK_BARHOST));
    EXPECT_EQ(nullptr, ::GetMenu(bare->m_hWnd));
    EXPECT_EQ(nullptr, bare->GetDefaultMenu());
    bare->DestroyWindow();
}

TEST_F(SDIFrame, EnableDockingMakesTheDockBarsOfTheSidesAskedForOnce)
{
    Load();
    struct Case {
        DWORD dwStyle;
        int nBars;
    } const cases[] = {{CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT, 2}, {CBRS_ALIGN_TOP, 2}, {CBRS_ALIGN_ANY, 4}, {CBRS_ALIGN_ANY, 4}};
    for (const Case& c : cases) {
        frame->EnableDocking(c.dwStyle);
        EXPECT_EQ(c.nBars, DockBarCount()) << std::hex << c.dwStyle;
    }
    EXPECT_EQ(RUNTIME_CLASS(TWKMiniDockFrameWnd), frame->m_pFloatingFrameClass);
    const struct {
        UINT nID;
        DWORD dwAlign;
    } sides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                 {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                 {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                 {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};
    for (const auto& s : sides) {
        CControlBar* p = frame->GetControlBar(s.nID);
        ASSERT_TRUE(p && p->IsKindOf(RUNTIME_CLASS(TWKDockBar))) << s.nID;
        EXPECT_EQ(s.dwAlign, p->GetBarStyle() & CBRS_ALIGN_ANY);
        EXPECT_FALSE(static_cast<TWKDockBar*>(p)->m_bFloating);
    }
}

TEST_F(SDIFrame, DockControlBarAtLaysTheBarOutByItsOwnStyle)
{
    Load();
    frame->EnableDocking(CBRS_ALIGN_ANY);
    struct Case {
        DWORD dwStyle;
        UINT nDockBarID;
        DWORD dwMode;
    } const cases[] = {
        {CBRS_TOP, AFX_IDW_DOCKBAR_TOP, 42},
        {CBRS_BOTTOM, 0, 42},
        {CBRS_LEFT, AFX_IDW_DOCKBAR_LEFT, 16},
        {CBRS_RIGHT, 0, 16},
        {CBRS_LEFT | CBRS_SIZE_DYNAMIC | CBRS_FLOATING, AFX_IDW_DOCKBAR_LEFT, 38},
        {CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_FLOATING, AFX_IDW_DOCKBAR_TOP, 38},
    };
    UINT nID = 0xE720;
    for (const Case& c : cases) {
        CHookedBar* bar = Bar(nID++, c.dwStyle);
        frame->DockControlBarAt(bar, c.nDockBarID, 0, 0, 0.5f, 120);
        EXPECT_EQ(c.dwMode | LM_COMMIT, bar->dwLastMode) << std::hex << c.dwStyle;
        EXPECT_EQ(1, bar->nBefore);
        EXPECT_EQ(1, bar->nAfter);
        ASSERT_NE(nullptr, bar->m_pDockBar);
        DWORD dwSide = c.dwStyle & CBRS_ALIGN_ANY;
        EXPECT_EQ(dwSide, bar->m_pDockBar->GetBarStyle() & CBRS_ALIGN_ANY);
        EXPECT_EQ(bar, frame->GetControlBarByID(nID - 1));
    }
    EXPECT_EQ(nullptr, frame->GetControlBarByID(0x1234));
}

TEST_F(SDIFrame, DockingWithNoDockBarFoundChangesNothingAndRunsNoHook)
{
    Load();
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CHookedBar* bar = Bar(0xE720, CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
    CRect rectBefore;
    bar->GetWindowRect(&rectBefore);
    frame->DockControlBar(bar);
    frame->DockControlBar(bar, 0x1234u);
    frame->ReDockControlBar(bar);
    frame->DockControlBarAt(bar, 0, 0, 0, 1.0f, 50);
    EXPECT_EQ(nullptr, bar->m_pDockBar);
    EXPECT_EQ(0, bar->nBefore);
    EXPECT_EQ(0, bar->nAfter);
    EXPECT_EQ(0u, bar->dwLastMode);
    CRect rectAfter;
    bar->GetWindowRect(&rectAfter);
    EXPECT_EQ(rectBefore, rectAfter);

    // One side exactly: docked, with both hooks.
    CHookedBar* top = Bar(0xE721, CBRS_TOP);
    frame->DockControlBar(top);
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP), top->m_pDockBar);
    EXPECT_EQ(1, top->nBefore);
    EXPECT_EQ(1, top->nAfter);
}

TEST_F(SDIFrame, WithoutAMenuBarThereIsNoMenuBarMenuToGiveOrSwap)
{
    Load();
    UINT nGetMenu = TWKGetMenuMessage();
    EXPECT_EQ(0, frame->SendMessage(nGetMenu, vt::kTestFrameID, 0));
    frame->SwapMenu(kChildTemplate);
    EXPECT_EQ(nullptr, frame->GetMenuByID(kChildTemplate));
    EXPECT_EQ(nullptr, frame->m_hMenuBarMenu);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), frame->GetCurrentMenu());
}

TEST_F(SDIFrame, WorkspaceCommandsAreTakenAndDoNothing)
{
    Load();
    for (UINT nID : {43007u, 43008u, 43009u, 43012u, 43013u, 43014u, 43031u, 43039u})
        EXPECT_TRUE(frame->OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr)) << nID;
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));
}

// ---- the menu bar and the toolbar manager

const UINT kMenuNone = 0x7D40, kMenuSource = 0x7D41;   // 6 and 7 top-level popups

// An SDI frame as a derived class sets it up: menu bar and manager before LoadFrame.
class CMenuBarFrame : public TWKFrameWnd
{
public:
    TWKMenuBar m_menuBar;
    CMenuBarFrame() { m_pMenuBar = &m_menuBar; }
};

struct MenuBarFrame {
    CMenuBarFrame* p = new CMenuBarFrame;
    TWKToolBarManager* pMgr = new TWKToolBarManager(p, nullptr);
    MenuBarFrame()
    {
        p->SetControlBarManager(pMgr);
        if (!vt::LoadDockingFrame(p, kMenuNone))
            return;
        p->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ~MenuBarFrame()
    {
        if (::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        else
            delete p;
        delete pMgr;
    }
    // How many menu buttons show, and whether the Window menu is among them.
    std::pair<int, bool> Shown() const
    {
        TWKMenuBar& bar = p->m_menuBar;
        std::pair<int, bool> shown(0, false);
        for (int i = 0; i < bar.GetButtonCount(); i++) {
            if (bar.GetButtonStyle(i) & TBBS_HIDDEN)
                continue;
            shown.first++;
            shown.second |= static_cast<TWKTBMenuBtn*>(bar.GetButton(i))->m_strText == "&Window";
        }
        return shown;
    }
};

// Counts the floats it is told of.
class CCountingToolBar : public TWKCustomToolBar
{
    DECLARE_DYNCREATE(CCountingToolBar)
public:
    static int s_nFloats;
    void OnAfterFloat() override { s_nFloats++; }
};
int CCountingToolBar::s_nFloats = 0;
IMPLEMENT_DYNCREATE(CCountingToolBar, TWKCustomToolBar)

TEST(SDIFrameMenuBar, TheManagerMakesTheMenuBarAndTheDefaultToolBars)
{
    MenuBarFrame f;
    ASSERT_TRUE(::IsWindow(f.p->m_hWnd));
    EXPECT_EQ(nullptr, ::GetMenu(f.p->m_hWnd));
    // Creation plugged the menu-bar feature in, bound to the frame's menu bar.
    auto* pFeature = dynamic_cast<TWKMenuBarFeature*>(f.p->m_pMenuPlugIn);
    ASSERT_NE(nullptr, pFeature);
    EXPECT_EQ(&f.p->m_menuBar, pFeature->m_pMenuBar);
    EXPECT_TRUE(pFeature->IsPluggedIn());
    ASSERT_TRUE(f.pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, 0));
    ASSERT_TRUE(f.pMgr->SetMenuInfo(2, kMenuNone, kMenuSource));
    static const UINT kFileIDs[] = { ID_TWK_TEST_A, ID_TWK_TEST_B, 0, ID_TWK_TEST_C };
    static const UINT kBuildIDs[] = { ID_TWK_TEST_D, ID_TWK_TEST_E };
    f.pMgr->DefineDefaultToolBar(0xE800, "File", 4, kFileIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    f.pMgr->DefineDefaultToolBar(0xE805, "Build", 2, kBuildIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_LEFT, 0, TRUE, TRUE);
    f.pMgr->SetDefaultDockState();

    TWKMenuBar& bar = f.p->m_menuBar;
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_EQ(0xE8FF, bar.GetDlgCtrlID());
    EXPECT_EQ(f.p->GetControlBar(AFX_IDW_DOCKBAR_TOP), bar.m_pDockBar);
    EXPECT_EQ(13, bar.GetButtonCount());
    const struct { UINT nID; UINT nDockBarID; int nButtons; } bars[] = {
        { 0xE800, AFX_IDW_DOCKBAR_TOP, 4 }, { 0xE805, AFX_IDW_DOCKBAR_LEFT, 2 } };
    for (const auto& b : bars) {
        TWKCustomToolBar* pBar = f.pMgr->GetToolBar(b.nID);
        ASSERT_NE(nullptr, pBar) << b.nID;
        EXPECT_EQ(f.p->GetControlBar(b.nDockBarID), pBar->m_pDockBar) << b.nID;
        EXPECT_EQ(b.nButtons, pBar->GetButtonCount()) << b.nID;
        EXPECT_EQ(f.p, pBar->GetDockingFrame()) << b.nID;
    }
    // A saved layout's menu-bar record comes back as the frame's own menu bar.
    TWKControlBarInfo info;
    info.m_nTypeID = TWK_BARTYPE_MENUBAR;
    info.m_nBarID = 0xE8FF;
    EXPECT_EQ(&bar, f.pMgr->CreateBar(&info));
    // The saved layout finds the frame's manager.
    EXPECT_EQ(f.pMgr, TWKDockState::FrameManager(f.p));

    // A button dropped away from the bars makes a new toolbar that the frame floats.
    f.pMgr->m_pToolBarClass = RUNTIME_CLASS(CCountingToolBar);
    CCountingToolBar::s_nFloats = 0;
    CRect rectClient;
    f.p->GetClientRect(&rectClient);
    f.p->ClientToScreen(&rectClient);
    TWKCustomToolBar* pNew = TWKCustomToolBar::NewToolBarFromDrop(
        rectClient.CenterPoint().x, rectClient.CenterPoint().y, f.pMgr->GetToolBar(0xE800)->GetButton(0), f.pMgr, TRUE);
    ASSERT_NE(nullptr, pNew);
    EXPECT_TRUE(pNew->IsFloating());
    EXPECT_EQ(f.p, pNew->m_pDockSite);
    EXPECT_EQ(1, CCountingToolBar::s_nFloats);
}

TEST(SDIFrameMenuBar, SwapMenuSwitchesTheMenuBarsMenu)
{
    MenuBarFrame f;
    ASSERT_TRUE(::IsWindow(f.p->m_hWnd));
    ASSERT_TRUE(f.pMgr->SetMenuInfo(2, kMenuNone, kMenuSource));
    f.pMgr->SetDefaultDockState();
    TWKMenuBar& bar = f.p->m_menuBar;
    ASSERT_TRUE(bar.ActivateMenu(kMenuNone));
    const std::pair<int, bool> none(6, false), source(7, true);
    EXPECT_EQ(none, f.Shown());

    UINT nGetMenu = TWKGetMenuMessage();
    HMENU hNone = f.p->m_hMenuBarMenu;
    ASSERT_NE(nullptr, hNone);
    EXPECT_EQ(hNone, f.p->GetDefaultMenu());
    EXPECT_EQ(hNone, f.p->GetCurrentMenu());
    EXPECT_EQ((LRESULT)::GetSubMenu(hNone, 2), f.p->SendMessage(nGetMenu, kMenuNone, 2));
    EXPECT_EQ(0, f.p->SendMessage(nGetMenu, kMenuSource, 0));

    f.p->SwapMenu(kMenuNone);   // the current id: nothing
    EXPECT_EQ(hNone, f.p->m_hMenuBarMenu);
    f.p->SwapMenu(0x7DFF);      // no such menu: nothing
    EXPECT_EQ(hNone, f.p->m_hMenuBarMenu);
    EXPECT_EQ(kMenuNone, bar.GetCurMenuID());

    f.p->SwapMenu(kMenuSource);
    EXPECT_EQ(kMenuSource, bar.GetCurMenuID());
    EXPECT_EQ(source, f.Shown());
    EXPECT_EQ(kMenuSource, f.p->m_nMenuBarMenuID);
    EXPECT_FALSE(::IsMenu(hNone));
    HMENU hSource = f.p->m_hMenuBarMenu;
    ASSERT_NE(nullptr, hSource);
    EXPECT_EQ(hSource, f.p->GetCurrentMenu());
    EXPECT_EQ(0, f.p->SendMessage(nGetMenu, kMenuNone, 0));
    LRESULT hWindow = f.p->SendMessage(nGetMenu, kMenuSource, 5);
    ASSERT_NE(0, hWindow);
    EXPECT_EQ((LRESULT)::GetSubMenu(hSource, 5), hWindow);
}

// ---- dragging between the frame's edges

class SDIFrameDrag : public SDIFrame
{
protected:
    CWnd* pOldMain = nullptr;
    void SetUp() override
    {
        SDIFrame::SetUp();
        Load();
        frame->SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        pOldMain = AfxGetThread()->m_pMainWnd;
        AfxGetThread()->m_pMainWnd = frame;
    }
    void TearDown() override
    {
        AfxGetThread()->m_pMainWnd = pOldMain;
        SDIFrame::TearDown();
        vt::PumpMessages();
    }
    static CRect WindowRect(CWnd* p)
    {
        CRect r;
        p->GetWindowRect(&r);
        return r;
    }
    // Mouse messages as the capturing window sees them: its client coordinates.
    static void Post(CWnd* pCapture, UINT message, CPoint ptScreen)
    {
        pCapture->ScreenToClient(&ptScreen);
        pCapture->PostMessage(message, 0, MAKELPARAM((WORD)ptScreen.x, (WORD)ptScreen.y));
    }
    // Drags the bar from a point on it to ptDrop; with Ctrl held it floats there.
    static void Drag(CHookedBar* pBar, CPoint ptDrop, bool bCtrl = false)
    {
        CPoint ptStart = WindowRect(pBar).TopLeft() + CPoint(12, 8);
        Post(pBar, WM_MOUSEMOVE, ptDrop);
        if (bCtrl)
            pBar->PostMessage(WM_KEYDOWN, VK_CONTROL, 0);
        Post(pBar, WM_LBUTTONUP, ptDrop);
        pBar->Context()->StartDrag(ptStart);
    }
    TWKMiniDockFrameWnd* FloatFrameOf(CControlBar* pBar)
    {
        CWnd* p = pBar->m_pDockBar ? pBar->m_pDockBar->GetParent() : nullptr;
        return (p && p->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd))) ? static_cast<TWKMiniDockFrameWnd*>(p) : nullptr;
    }
};

TEST_F(SDIFrameDrag, ABarDraggedBetweenTheEdgesDocksAndFloatsThroughTheFrame)
{
    CHookedBar* bar = Bar(0xE720, CBRS_TOP);
    frame->DockControlBarAt(bar, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
    frame->RecalcLayout();
    bar->ResetCounts();

    const struct { const char* what; UINT nDockBarID; } edges[] = {
        { "to the right edge", AFX_IDW_DOCKBAR_RIGHT },
        { "to the bottom edge", AFX_IDW_DOCKBAR_BOTTOM },
    };
    for (const auto& e : edges) {
        SCOPED_TRACE(e.what);
        CControlBar* pDockBar = frame->GetControlBar(e.nDockBarID);
        CRect rectEdge = WindowRect(pDockBar);
        CPoint ptDrop = e.nDockBarID == AFX_IDW_DOCKBAR_RIGHT ? CPoint(rectEdge.left, rectEdge.CenterPoint().y)
                                                              : CPoint(rectEdge.CenterPoint().x, rectEdge.top);
        Drag(bar, ptDrop);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(pDockBar, bar->m_pDockBar);
        EXPECT_EQ((std::vector<int>{ 1, 1, 0, 0 }), bar->Counts());
        bar->ResetCounts();
    }

    // Ctrl held: it floats in the frame's own floating frame, which sizes it.
    CRect rectClient;
    frame->GetClientRect(&rectClient);
    frame->ClientToScreen(&rectClient);
    Drag(bar, rectClient.CenterPoint(), true);
    ASSERT_TRUE(bar->IsFloating());
    TWKMiniDockFrameWnd* pFloat = FloatFrameOf(bar);
    ASSERT_NE(nullptr, pFloat);
    EXPECT_EQ(frame, bar->m_pDockSite);
    EXPECT_TRUE(pFloat->GetStyle() & WS_THICKFRAME);
    EXPECT_TRUE(pFloat->IsWindowVisible());
    EXPECT_EQ((std::vector<int>{ 0, 0, 1, 1 }), bar->Counts());
    bar->ResetCounts();

    // A float of a bar alone in its floating frame only moves that frame.
    CPoint ptMove = WindowRect(pFloat).TopLeft() + CPoint(30, 20);
    frame->FloatControlBar(bar, ptMove);
    EXPECT_EQ(pFloat, FloatFrameOf(bar));
    EXPECT_EQ(ptMove, WindowRect(pFloat).TopLeft());
    EXPECT_EQ((std::vector<int>{ 0, 0, 0, 0 }), bar->Counts());
    HWND hFloat = pFloat->m_hWnd;

    // Dragged from its floating frame back to the left edge.
    CControlBar* pLeft = frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
    CRect rectLeft = WindowRect(pLeft);
    Drag(bar, CPoint(rectLeft.right, rectLeft.CenterPoint().y));
    EXPECT_EQ(pLeft, bar->m_pDockBar);
    EXPECT_FALSE(bar->IsFloating());
    EXPECT_EQ((std::vector<int>{ 1, 1, 0, 0 }), bar->Counts());
    vt::PumpMessages();
    EXPECT_FALSE(::IsWindow(hFloat) && ::IsWindowVisible(hFloat));

    // Shown or hidden, the bar anchors its row.
    auto* pLeftDock = static_cast<TWKDockBar*>(pLeft);
    pLeftDock->m_pAnchorBar = nullptr;
    frame->ShowControlBar(bar, FALSE, FALSE);
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(bar, pLeftDock->m_pAnchorBar);
}

// ---- saved layouts

void DeleteProfile(const char* pszProfile)
{
    CWinApp* pApp = AfxGetApp();
    std::string profile = pszProfile;
    pApp->WriteProfileString((profile + "-Summary").c_str(), nullptr, nullptr);
    for (int i = 0; i < 16; i++)
        pApp->WriteProfileString((profile + "-Bar" + std::to_string(i)).c_str(), nullptr, nullptr);
}

TEST_F(SDIFrameDrag, SaveBarStateAndLoadBarStateRoundTripALayout)
{
    const char* const kProfile = "BarState\\SDILayout";
    CHookedBar* top = Bar(0xE720, CBRS_TOP);
    CHookedBar* left = Bar(0xE721, CBRS_LEFT);
    CHookedBar* floating = Bar(0xE722, CBRS_TOP);
    CHookedBar* hidden = Bar(0xE723, CBRS_BOTTOM);
    frame->DockControlBarAt(top, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 50);
    frame->DockControlBarAt(left, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 120);
    frame->DockControlBarAt(hidden, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 60);
    CRect rectClient;
    frame->GetClientRect(&rectClient);
    frame->ClientToScreen(&rectClient);
    frame->FloatControlBar(floating, rectClient.CenterPoint());
    frame->ShowControlBar(hidden, FALSE, FALSE);
    // A bar of a creatable class that will be gone when the layout loads.
    auto* made = new TWKControlBar;
    made->m_bAutoDelete = TRUE;
    ASSERT_TRUE(made->Create(frame, "Made", WS_CHILD | WS_VISIBLE | CBRS_RIGHT, vt::kIdeExStyle, 0xE724));
    made->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBarAt(made, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 90);
    frame->RecalcLayout();

    struct Place {
        UINT nDockBarID;
        BOOL bVisible;
        CRect rect;
        bool operator==(const Place& o) const
        {
            return nDockBarID == o.nDockBarID && bVisible == o.bVisible && rect == o.rect;
        }
    };
    CHookedBar* const bars[] = { top, left, floating, hidden };
    auto look = [&] {
        std::vector<Place> v;
        for (CHookedBar* p : bars)
            v.push_back({ p->m_pDockBar ? (UINT)p->m_pDockBar->GetDlgCtrlID() : 0u, p->IsWindowVisible(),
                          WindowRect(p) });
        return v;
    };
    std::vector<Place> saved = look();
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_FLOAT, saved[2].nDockBarID);
    DeleteProfile(kProfile);
    frame->SaveBarState(kProfile);
    made->DestroyWindow();

    // Everything moved to the top and shown...
    for (CHookedBar* p : bars) {
        frame->ShowControlBar(p, TRUE, FALSE);
        frame->DockControlBar(p, AFX_IDW_DOCKBAR_TOP);
    }
    frame->RecalcLayout();
    EXPECT_FALSE(look() == saved);

    // ...and back where the layout says.
    frame->LoadBarState(kProfile);
    vt::PumpMessages();
    std::vector<Place> loaded = look();
    for (size_t i = 0; i < loaded.size(); i++) {
        EXPECT_EQ(saved[i].nDockBarID, loaded[i].nDockBarID) << i;
        EXPECT_EQ(saved[i].bVisible, loaded[i].bVisible) << i;
        if (saved[i].bVisible)   // a hidden bar's place is not kept
            EXPECT_EQ(saved[i].rect, loaded[i].rect) << i;
    }
    EXPECT_NE(nullptr, FloatFrameOf(floating));
    // The bar made again belongs to the frame's bar-info list, which deletes it with the frame.
    CControlBar* pMade = frame->GetControlBar(0xE724);
    ASSERT_NE(nullptr, pMade);
    EXPECT_TRUE(pMade->IsKindOf(RUNTIME_CLASS(TWKControlBar)));
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT), pMade->m_pDockBar);
    ASSERT_EQ(1, frame->m_listBarInfo.GetCount());
    EXPECT_EQ(pMade, frame->m_listBarInfo.GetHead());
    DeleteProfile(kProfile);
}

// ---- the custom caption

TEST(SDIFrameCaption, TheSharedPainterRunsForNcActivateNcPaintAndSetText)
{
    auto* p = new vt::CCaptionCounter<TWKFrameWnd>;
    ASSERT_TRUE(p->LoadFrame(vt::kTestFrameID));
    p->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
    vt::ExpectCustomCaptionMessages(p);
    p->DestroyWindow();
}

// ---- the toolbar manager's customisation rules

TEST(SDIFrameCustomising, TheFrameIsGuardedWhileToolBarsAreCustomised)
{
    MenuBarFrame f;
    ASSERT_TRUE(::IsWindow(f.p->m_hWnd));
    TWKFrameWnd* p = f.p;
    MSG msgClose = { p->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0 };
    EXPECT_FALSE(p->PreTranslateMessage(&msgClose));
    EXPECT_NE(HTERROR, p->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100, 100)));
    p->DelayRecalcLayout();
    p->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    EXPECT_TRUE(p->m_nIdleFlags & CFrameWnd::idleLayout);

    f.pMgr->EnterConfigMode();
    ASSERT_TRUE(f.pMgr->InConfigMode());
    EXPECT_TRUE(p->PreTranslateMessage(&msgClose));
    EXPECT_EQ(HTERROR, p->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100, 100)));
    for (UINT msg : { (UINT)WM_NCACTIVATE, (UINT)WM_ENABLE }) {
        p->m_nFrameFlags |= WF_STAYACTIVE;
        p->SendMessage(msg, TRUE);
        EXPECT_FALSE(p->m_nFrameFlags & WF_STAYACTIVE) << msg;
    }
    p->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_TRUE(p->m_nIdleFlags & CFrameWnd::idleLayout);
    p->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    EXPECT_FALSE(p->m_nIdleFlags & CFrameWnd::idleLayout);
    f.pMgr->ExitConfigMode();
    p->EnableWindow(TRUE);
    EXPECT_FALSE(p->PreTranslateMessage(&msgClose));
}

// ---- plug-ins

TEST(SDIFrameMenus, BitmapMenusInstallThePlugInAndItsForwardersReachIt)
{
    auto* p = new TWKFrameWnd;
    auto* pMgr = new TWKToolBarManager(p, nullptr);
    p->SetControlBarManager(pMgr);
    p->EnableBmpMenus(TRUE, TRUE);
    ASSERT_TRUE(p->LoadFrame(vt::kTestFrameID));
    TWKBmpMenuPlugIn* pPlugIn = p->GetBmpMenuPlugIn();
    ASSERT_NE(nullptr, pPlugIn);
    EXPECT_TRUE(pPlugIn->IsPluggedIn());
    EXPECT_EQ(pMgr->GetBmpMgr(), p->GetMenuBmpMgr());
    EXPECT_EQ(pPlugIn->GetMenuFont(), p->GetMenuFont());

    // The frame updates the popup first, then the plug-in draws it with images.
    HMENU hFile = ::GetSubMenu(::GetMenu(p->m_hWnd), 0);
    EXPECT_EQ(nullptr, p->GetMenuInfo(hFile));
    p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, MAKELPARAM(0, FALSE));
    EXPECT_NE(nullptr, p->GetMenuInfo(hFile));
    MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE };
    ASSERT_TRUE(::GetMenuItemInfoA(hFile, 0, TRUE, &mii));
    EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
    p->DestroyWindow();
    // The plug-in let go of the manager's images with the window.
    EXPECT_EQ(1, pMgr->GetBmpMgr()->GetRefCount());
    delete pMgr;

    auto* plain = new TWKFrameWnd;
    ASSERT_TRUE(plain->LoadFrame(vt::kTestFrameID));
    EXPECT_EQ(nullptr, plain->GetBmpMenuPlugIn());
    EXPECT_EQ(nullptr, plain->GetMenuBmpMgr());
    plain->SetMenuBmpMgr(nullptr);
    plain->HandleInitMenuPopup(::GetSubMenu(::GetMenu(plain->m_hWnd), 0), 0);
    plain->DestroyWindow();
}

// Takes one command and records it.
class CCommandPlugIn : public TWKFramePlugIn
{
    DECLARE_DYNCREATE(CCommandPlugIn)
public:
    static int s_nCommands;
    DWORD m_dwStyle = 0;
    void OnCreatePlugIn(DWORD, DWORD, DWORD dwStyle, DWORD) override { m_dwStyle = dwStyle; }
    afx_msg void OnTestA()
    {
        s_nCommands++;
        m_bHandled = TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
int CCommandPlugIn::s_nCommands = 0;
IMPLEMENT_DYNCREATE(CCommandPlugIn, TWKFramePlugIn)
BEGIN_MESSAGE_MAP(CCommandPlugIn, TWKFramePlugIn)
    ON_COMMAND(ID_TWK_TEST_A, OnTestA)
END_MESSAGE_MAP()

TEST_F(SDIFrame, TheFramePlugInTakesCommandsForTheFrameAndFramesInsideIt)
{
    Load();
    EXPECT_EQ(nullptr, frame->CreateFramePlugIn(1, 2, nullptr, 3));
    TWKWndPlugIn* pPlugIn = frame->CreateFramePlugIn(1, 2, RUNTIME_CLASS(CCommandPlugIn), 3);
    ASSERT_NE(nullptr, pPlugIn);
    EXPECT_EQ(0x80000001u, static_cast<CCommandPlugIn*>(pPlugIn)->m_dwStyle);
    CCommandPlugIn::s_nCommands = 0;
    EXPECT_TRUE(frame->OnCmdMsg(ID_TWK_TEST_A, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(1, CCommandPlugIn::s_nCommands);
    EXPECT_FALSE(pPlugIn->m_bHandled);
    EXPECT_FALSE(frame->OnCmdMsg(ID_TWK_TEST_B, CN_COMMAND, nullptr, nullptr));

    // A frame inside without a plug-in of its own offers its commands to its main frame's.
    auto* inner = new TWKFrameWnd;
    ASSERT_TRUE(inner->LoadFrame(IDR_TWK_BARHOST, WS_CHILD | WS_VISIBLE, frame));
    EXPECT_EQ(frame, inner->GetTopLevelFrame());
    EXPECT_TRUE(inner->OnCmdMsg(ID_TWK_TEST_A, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(2, CCommandPlugIn::s_nCommands);
    inner->DestroyWindow();
}

TEST_F(SDIFrame, AnSDIFrameInABarIsTheMDIFramesEmbeddedFrame)
{
    vt::MainFrame main;
    ASSERT_TRUE(main.p);
    TWKControlBar* pBar = main.Bar(0xE730);
    ASSERT_TRUE(pBar);
    EXPECT_EQ(nullptr, main.p->GetEmbeddedFrame(pBar));
    auto* inner = new TWKFrameWnd;
    ASSERT_TRUE(inner->LoadFrame(IDR_TWK_BARHOST, WS_CHILD | WS_VISIBLE, pBar));
    EXPECT_EQ(inner, main.p->GetEmbeddedFrame(pBar));
    inner->DestroyWindow();
    EXPECT_EQ(nullptr, main.p->GetEmbeddedFrame(pBar));
}

} // namespace
