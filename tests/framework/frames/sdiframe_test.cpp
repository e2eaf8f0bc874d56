#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frameworkres.h"

namespace {

const UINT kChildTemplate = 0x7D20;   // a second menu of the test resources

// A bar that records its dock hooks and the layout modes it is asked for.
class CHookedBar : public TWKControlBar
{
public:
    int nBefore = 0, nAfter = 0;
    DWORD dwLastMode = 0;
    void NotifyBeforeDock() override
    {
        nBefore++;
        TWKControlBar::NotifyBeforeDock();
    }
    void OnAfterDock() override { nAfter++; }
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

TEST_F(SDIFrame, MenusByIdAndSwappingTheMenuBarsMenu)
{
    // Without a menu bar: no menu-bar menu, nothing to swap, no popup to give.
    Load();
    UINT nGetMenu = TWKGetMenuMessage();
    EXPECT_EQ(0, frame->SendMessage(nGetMenu, vt::kTestFrameID, 0));
    frame->SwapMenu(kChildTemplate);
    EXPECT_EQ(nullptr, frame->GetMenuByID(kChildTemplate));
    frame->DestroyWindow();

    // With a menu bar the window has no menu; the menu bar's menu is loaded.
    // The frame only tests the menu bar for presence here.
    static char s_menuBarStandIn;
    frame = new TWKFrameWnd;
    frame->m_pMenuBar = reinterpret_cast<TWKMenuBar*>(&s_menuBarStandIn);
    Load();
    EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd));
    HMENU hMenu = frame->m_hMenuBarMenu;
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(hMenu, frame->GetDefaultMenu());
    EXPECT_EQ(hMenu, frame->GetMenuByID(vt::kTestFrameID));
    EXPECT_EQ((LRESULT)::GetSubMenu(hMenu, 0), frame->SendMessage(nGetMenu, vt::kTestFrameID, 0));
    EXPECT_NE(0, frame->SendMessage(nGetMenu, vt::kTestFrameID, 0));
    EXPECT_EQ(0, frame->SendMessage(nGetMenu, kChildTemplate, 0));

    frame->SwapMenu(vt::kTestFrameID);   // the current id: nothing
    EXPECT_EQ(hMenu, frame->m_hMenuBarMenu);
    frame->SwapMenu(kChildTemplate);
    EXPECT_EQ(kChildTemplate, frame->m_nMenuBarMenuID);
    EXPECT_NE(nullptr, frame->GetMenuByID(kChildTemplate));
    EXPECT_EQ(nullptr, frame->GetMenuByID(vt::kTestFrameID));
    EXPECT_FALSE(::IsMenu(hMenu));
    frame->m_pMenuBar = nullptr;
}

TEST_F(SDIFrame, WorkspaceCommandsAreTakenAndDoNothing)
{
    Load();
    for (UINT nID : {43007u, 43008u, 43009u, 43012u, 43013u, 43014u, 43031u, 43039u})
        EXPECT_TRUE(frame->OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr)) << nID;
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));
}

} // namespace
