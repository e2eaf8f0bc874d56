// The toolbar manager in a real main frame: the default layout, the look of
// all toolbars, user toolbars, bar notifications and configuration mode.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"
#include "framework/frames/TWKControlBarInfo.h"

using namespace vt;

namespace {

// The IDE's default toolbars (plain buttons only).
const UINT kFileIDs[] = { 57601, 32774, 32773, 0, 57607, 57609, 0, 32802, 32807, 57636, 40005, 40006 };
const UINT kBuildIDs[] = { 32821, 32826, 0, 32854 };
const UINT kToolsIDs[] = { 32901, 32902, 32903, 32904, 32905, 32906, 32907, 32908,
                           32909, 32910, 32911, 32912, 32913, 32914, 32915, 32916 };
const UINT kFileBar = 0xE800, kBuildBar = 0xE805, kToolsBar = 0xE807;

void DefineIdeToolBars(TWKToolBarManager* pMgr)
{
    pMgr->DefineDefaultToolBar(kFileBar, "File", 12, kFileIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    pMgr->DefineDefaultToolBar(kBuildBar, "Build", 4, kBuildIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    pMgr->DefineDefaultToolBar(kToolsBar, "Tools", 16, kToolsIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, kBuildBar,
                               TRUE, TRUE);
}

CRect WindowRect(CWnd* pWnd)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect;
}

struct ManagerTest : ::testing::Test {
    ToolBarFrame frame{ TRUE, 1000, 600 };
    TWKToolBarManager* pMgr = nullptr;
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        pMgr = frame.pMgr;
        ASSERT_TRUE(pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, IDR_TWK_TEST_TOOLBAR_LARGE));
    }
    void DefaultLayout()
    {
        DefineIdeToolBars(pMgr);
        pMgr->SetDefaultDockState();
        frame.p->RecalcLayout();
    }
};

TEST_F(ManagerTest, DefaultLayoutDocksTheThreeToolBarsAtTheTop)
{
    DefaultLayout();
    struct { UINT nID; const char* title; const UINT* pIDs; int nCount; } bars[] = {
        { kFileBar, "File", kFileIDs, 12 }, { kBuildBar, "Build", kBuildIDs, 4 }, { kToolsBar, "Tools", kToolsIDs, 16 },
    };
    CControlBar* pTop = frame.p->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    for (const auto& b : bars) {
        TWKCustomToolBar* pBar = pMgr->GetToolBar(b.nID);
        ASSERT_TRUE(pBar) << b.title;
        EXPECT_EQ(pTop, pBar->m_pDockBar) << b.title;
        EXPECT_TRUE(pBar->IsWindowVisible()) << b.title;
        CString strTitle;
        pBar->GetWindowText(strTitle);
        EXPECT_STREQ(b.title, strTitle) << b.title;
        ASSERT_EQ(b.nCount, pBar->GetButtonCount()) << b.title;
        for (int i = 0; i < b.nCount; i++) {
            EXPECT_EQ(b.pIDs[i], pBar->GetItemID(i)) << b.title << " " << i;
            EXPECT_EQ(BUTTON_CLASS(TWKStdBtn), pBar->GetButton(i)->GetBtnClass());
        }
        EXPECT_EQ(pMgr, pBar->GetManager());
        EXPECT_EQ(pMgr->GetBmpMgr(), pBar->GetBmpMgr());
        EXPECT_TRUE(pBar->m_bAutoDelete);
        const DWORD dwLook = CBRS_SIZE_DYNAMIC | CBRS_FLYBY | CBRS_TOOLTIPS;
        EXPECT_EQ(dwLook, pBar->GetBarStyle() & dwLook);
    }
    // "Tools" shares the row of "Build", to its right; "File" has a row of its own above.
    CRect rectFile = WindowRect(pMgr->GetToolBar(kFileBar));
    CRect rectBuild = WindowRect(pMgr->GetToolBar(kBuildBar));
    CRect rectTools = WindowRect(pMgr->GetToolBar(kToolsBar));
    EXPECT_EQ(rectBuild.top, rectTools.top);
    EXPECT_GE(rectTools.left, rectBuild.right - 2);
    EXPECT_LT(rectTools.left, rectBuild.right + 8);
    EXPECT_LT(rectFile.top, rectBuild.top);
    CRect rectProbe(rectTools.CenterPoint(), CSize(1, 1));
    EXPECT_EQ(pMgr->GetToolBar(kToolsBar), pMgr->FindToolBarAt(&rectProbe));
    rectProbe.OffsetRect(0, 300);
    EXPECT_EQ(nullptr, pMgr->FindToolBarAt(&rectProbe));
    const UINT* pIDs = nullptr;
    int nCount = 0;
    EXPECT_TRUE(pMgr->GetDefaultToolBarButtons(kToolsBar, &nCount, &pIDs));
    EXPECT_EQ(kToolsIDs, pIDs);
    EXPECT_EQ(16, nCount);
    EXPECT_FALSE(pMgr->GetDefaultToolBarButtons(0xE806, &nCount, &pIDs));
    // InitToolBars finds toolbars and does not make them again.
    pMgr->InitToolBars();
    CPtrArray arr;
    pMgr->GetToolBars(arr);
    EXPECT_EQ(3, arr.GetSize());
}

TEST_F(ManagerTest, NextToANameThatIsNoToolBarDocksWithoutARectangle)
{
    pMgr->DefineDefaultToolBar(kBuildBar, "Build", 4, kBuildIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_LEFT, 0xE8F0, TRUE,
                               TRUE);
    pMgr->DefineDefaultToolBar(kFileBar, "File", 12, kFileIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, FALSE);
    pMgr->SetDefaultDockState();
    TWKCustomToolBar* pBuild = pMgr->GetToolBar(kBuildBar);
    ASSERT_TRUE(pBuild);
    EXPECT_EQ(frame.p->GetControlBar(AFX_IDW_DOCKBAR_LEFT), pBuild->m_pDockBar);
    EXPECT_TRUE(pBuild->IsWindowVisible());
    // A record that is not visible is hidden.
    TWKCustomToolBar* pFile = pMgr->GetToolBar(kFileBar);
    ASSERT_TRUE(pFile);
    EXPECT_FALSE(pFile->IsWindowVisible());
    // Docked on the left, the bar stands as a column.
    CRect rect = WindowRect(pBuild);
    EXPECT_GT(rect.Height(), rect.Width());
}

TEST_F(ManagerTest, LargeButtonsResizeEveryToolBarAtTheNextIdleLayout)
{
    DefaultLayout();
    TWKCustomToolBar* pBuild = pMgr->GetToolBar(kBuildBar);
    int cySmall = WindowRect(pBuild).Height();
    frame.p->m_nIdleFlags = 0;
    pMgr->EnableLargeBtns(TRUE);
    EXPECT_TRUE(pMgr->IsLargeBtns());
    CPtrArray arr;
    pMgr->GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        EXPECT_EQ(24, pBar->GetImageWidth());
        EXPECT_EQ(31, pBar->GetButton(0)->m_cx);
        EXPECT_EQ(30, pBar->GetButton(0)->m_cy);
    }
    // Laid out at the next idle time, not at once.
    EXPECT_TRUE(frame.p->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_EQ(cySmall, WindowRect(pBuild).Height());
    frame.p->RecalcLayout();
    EXPECT_EQ(cySmall + 8, WindowRect(pBuild).Height());
    pMgr->EnableLargeBtns(FALSE);
    EXPECT_EQ(16, pBuild->GetImageWidth());
    frame.p->RecalcLayout();
    EXPECT_EQ(cySmall, WindowRect(pBuild).Height());
}

TEST_F(ManagerTest, ToolTipsAndCoolLookReachEveryToolBar)
{
    DefaultLayout();
    CPtrArray arr;
    pMgr->GetToolBars(arr);
    pMgr->EnableToolTips(FALSE);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        EXPECT_FALSE(static_cast<TWKCustomToolBar*>(arr[i])->GetBarStyle() & CBRS_TOOLTIPS);
    pMgr->EnableToolTips(TRUE);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        EXPECT_TRUE(static_cast<TWKCustomToolBar*>(arr[i])->GetBarStyle() & CBRS_TOOLTIPS);

    // The row layout owns CBX_3DBORDERS (set in rows of fixed-size bars).
    frame.p->m_nIdleFlags = 0;
    pMgr->EnableCoolLook(TRUE, 0x300);
    EXPECT_TRUE(frame.p->m_nIdleFlags & CFrameWnd::idleLayout);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        EXPECT_EQ((DWORD)(0x300 | CBX_FIXEDSIZE), pBar->GetExBarStyle() & ~CBX_3DBORDERS);
        EXPECT_TRUE(pBar->IsCoolLook());
    }
    // New toolbars come in the cool look too.
    TWKCustomToolBar* pUser = pMgr->CreateUserToolBar("Mine");
    ASSERT_TRUE(pUser);
    EXPECT_EQ((DWORD)(0x300 | CBX_FIXEDSIZE), pUser->GetExBarStyle() & ~CBX_3DBORDERS);
    pMgr->EnableCoolLook(FALSE, 0x300);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        EXPECT_EQ((DWORD)CBX_FIXEDSIZE, static_cast<TWKCustomToolBar*>(arr[i])->GetExBarStyle() & ~CBX_3DBORDERS);
}

TEST_F(ManagerTest, UserToolBarsRunOutAfter224)
{
    CString strFormat;
    strFormat.LoadString(AfxGetResourceHandle(), IDS_TWK_TOOLBAR_TITLE);
    EXPECT_STREQ("ToolBar%d", strFormat);
    pMgr->SetToolBarsConfigMode(TRUE);
    for (int i = 1; i <= 224; i++) {
        TWKCustomToolBar* pBar = pMgr->CreateUserToolBar();
        ASSERT_TRUE(pBar) << i;
        EXPECT_EQ(TWK_IDW_FIRSTUSERBAR - 1 + i, (UINT)pBar->GetDlgCtrlID());
        if (i == 1 || i == 224) {
            CString strTitle;
            pBar->GetWindowText(strTitle);
            CString strWant;
            strWant.Format("ToolBar%d", i);
            EXPECT_STREQ(strWant, strTitle);
        }
        EXPECT_TRUE(pBar->GetConfigMode());
        EXPECT_EQ((DWORD)CBRS_ALIGN_ANY, pBar->m_dwDockStyle);
    }
    EXPECT_EQ(nullptr, pMgr->CreateUserToolBar());
    // A freed id is used again.
    pMgr->GetToolBar(TWK_IDW_FIRSTUSERBAR + 5)->DestroyWindow();
    TWKCustomToolBar* pAgain = pMgr->CreateUserToolBar();
    ASSERT_TRUE(pAgain);
    EXPECT_EQ((UINT)TWK_IDW_FIRSTUSERBAR + 5, (UINT)pAgain->GetDlgCtrlID());
}

// A window that records the bar notifications it gets.
struct NotifyWnd : CWnd {
    std::vector<std::pair<WPARAM, LPARAM>> got;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_BARNOTIFY)
            got.emplace_back(wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL Make(CWnd* pParent)
    {
        return CreateEx(0, AfxRegisterWndClass(0), "n", WS_CHILD, CRect(0, 0, 1, 1), pParent, 1);
    }
};

TEST_F(ManagerTest, BarNotificationsReachOnlyWindowsThatStillExist)
{
    NotifyWnd kept, gone;
    ASSERT_TRUE(kept.Make(frame.p));
    ASSERT_TRUE(gone.Make(frame.p));
    pMgr->AddNotifyWnd(&kept);
    pMgr->AddNotifyWnd(&kept);   // once only
    pMgr->AddNotifyWnd(&gone);
    gone.DestroyWindow();
    auto codes = [&] {
        std::vector<LPARAM> v;
        for (auto& n : kept.got)
            v.push_back(n.second);
        kept.got.clear();
        return v;
    };
    auto has = [](const std::vector<LPARAM>& v, LPARAM c) { return std::find(v.begin(), v.end(), c) != v.end(); };
    TWKCustomToolBar* pBar = pMgr->CreateUserToolBar();
    ASSERT_TRUE(pBar);
    UINT nID = (UINT)pBar->GetDlgCtrlID();
    ASSERT_FALSE(kept.got.empty());
    EXPECT_EQ((WPARAM)nID, kept.got.back().first);
    EXPECT_TRUE(has(codes(), TWK_BARNOTIFY_CREATED));
    const UINT ids[] = { 1 };
    pBar->SetButtons(ids, 1);
    frame.p->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP, nullptr);
    frame.p->ShowControlBar(pBar, FALSE, FALSE);
    std::vector<LPARAM> hidden = codes();
    ASSERT_FALSE(hidden.empty());
    EXPECT_EQ(TWK_BARNOTIFY_HIDDEN, hidden.back());
    frame.p->ShowControlBar(pBar, TRUE, FALSE);
    std::vector<LPARAM> shown = codes();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(TWK_BARNOTIFY_SHOWN, shown.back());
    // A visible window is hidden on its way out.
    pBar->DestroyWindow();
    std::vector<LPARAM> destroyed = codes();
    ASSERT_FALSE(destroyed.empty());
    EXPECT_EQ(TWK_BARNOTIFY_DESTROYED, destroyed.back());
    EXPECT_TRUE(gone.got.empty());
    pMgr->RemoveNotifyWnd(&kept);
    kept.got.clear();
    pMgr->CreateUserToolBar();
    EXPECT_TRUE(kept.got.empty());
    kept.DestroyWindow();
}

TEST_F(ManagerTest, ConfigurationModeDisablesTheFrameChildrenAndGuardsTheFrame)
{
    DefaultLayout();
    HWND hClient = frame.p->m_hWndMDIClient;
    ASSERT_TRUE(::IsWindowEnabled(hClient));
    CWnd* pTop = frame.p->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    MSG msgClose = { frame.p->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0 };
    EXPECT_FALSE(frame.p->PreTranslateMessage(&msgClose));
    EXPECT_NE(HTERROR, frame.p->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100, 100)));

    pMgr->EnterConfigMode();
    EXPECT_TRUE(pMgr->InConfigMode());
    EXPECT_FALSE(::IsWindowEnabled(hClient));
    EXPECT_TRUE(pTop->IsWindowEnabled());
    EXPECT_TRUE(frame.p->IsWindowEnabled());
    // SC_CLOSE never reaches the frame, even through the message loop.
    EXPECT_TRUE(frame.p->PreTranslateMessage(&msgClose));
    frame.p->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    for (int i = 0; i < 5; i++) {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
    }
    ASSERT_TRUE(::IsWindow(frame.p->m_hWnd));
    EXPECT_EQ(HTERROR, frame.p->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100, 100)));
    frame.p->m_nFrameFlags |= WF_STAYACTIVE;
    frame.p->SendMessage(WM_NCACTIVATE, TRUE);
    EXPECT_FALSE(frame.p->m_nFrameFlags & WF_STAYACTIVE);
    frame.p->m_nFrameFlags |= WF_STAYACTIVE;
    frame.p->SendMessage(WM_ENABLE, TRUE);
    EXPECT_FALSE(frame.p->m_nFrameFlags & WF_STAYACTIVE);

    // A layout that waits for idle time runs when a dialog's loop idles.
    frame.p->DelayRecalcLayout();
    frame.p->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_TRUE(frame.p->m_nIdleFlags & CFrameWnd::idleLayout);
    frame.p->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    EXPECT_FALSE(frame.p->m_nIdleFlags & CFrameWnd::idleLayout);

    pMgr->ExitConfigMode();
    EXPECT_FALSE(pMgr->InConfigMode());
    EXPECT_TRUE(::IsWindowEnabled(hClient));
    // The customisation dialog enables the frame again when it ends.
    EXPECT_FALSE(frame.p->IsWindowEnabled());
    frame.p->EnableWindow(TRUE);
    EXPECT_FALSE(frame.p->PreTranslateMessage(&msgClose));
    frame.p->DelayRecalcLayout();
    frame.p->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    EXPECT_TRUE(frame.p->m_nIdleFlags & CFrameWnd::idleLayout);
}

TEST_F(ManagerTest, SysColorChangeReloadsTheToolBarImages)
{
    DefaultLayout();
    // Spoil a pixel of the loaded image; a reload maps it from the resource again.
    auto corner = [this](COLORREF* pNew) {
        HBITMAP hBitmap = nullptr;
        int nIndex = -1;
        if (!pMgr->GetBmpMgr()->GetBitmap(ID_TWK_TEST_A, &hBitmap, &nIndex) || !hBitmap)
            return (COLORREF)CLR_INVALID;
        HDC hDC = ::CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        COLORREF clr = ::GetPixel(hDC, 0, 0);
        if (pNew)
            ::SetPixel(hDC, 0, 0, *pNew);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        return clr;
    };
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    ASSERT_EQ(clrFace, corner(nullptr));
    COLORREF clrSpoilt = clrFace ^ 0xFFFFFF;
    corner(&clrSpoilt);
    ASSERT_EQ(clrSpoilt, corner(nullptr));
    frame.p->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(clrFace, corner(nullptr));
}

TEST_F(ManagerTest, LayoutRecordsIdentifyAndRemakeToolBars)
{
    DefaultLayout();
    EXPECT_EQ((UINT)TWK_BARTYPE_TOOLBAR, pMgr->GetBarTypeID(pMgr->GetToolBar(kFileBar)));
    EXPECT_EQ(0u, pMgr->GetBarTypeID(frame.p->GetControlBar(AFX_IDW_DOCKBAR_TOP)));
    TWKControlBarInfo info;
    info.m_nTypeID = TWK_BARTYPE_TOOLBAR;
    info.m_nBarID = 0xE830;
    CControlBar* pBar = pMgr->CreateBar(&info);
    ASSERT_TRUE(pBar);
    EXPECT_EQ(pBar, pMgr->GetToolBar(0xE830));
    info.m_nTypeID = 0;
    EXPECT_EQ(nullptr, pMgr->CreateBar(&info));
}

} // namespace

namespace {

// Mouse messages as the capturing bar sees them: its client coordinates.
void PostTo(CWnd* pWnd, UINT message, CPoint ptScreen)
{
    pWnd->ScreenToClient(&ptScreen);
    pWnd->PostMessage(message, 0, MAKELPARAM((WORD)ptScreen.x, (WORD)ptScreen.y));
}

TEST_F(ManagerTest, DraggedToTheLeftEdgeFloatedAndDockedAgain)
{
    CWnd* pOldMain = AfxGetThread()->m_pMainWnd;
    AfxGetThread()->m_pMainWnd = frame.p;
    DefaultLayout();
    TWKCustomToolBar* pBuild = pMgr->GetToolBar(kBuildBar);
    ASSERT_TRUE(pBuild);
    CControlBar* pLeft = frame.p->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
    CRect rectLeft = WindowRect(pLeft);
    // Pressed left of the first button (border and gripper), dropped on the left edge.
    CRect rectFirst;
    pBuild->GetItemRect(0, &rectFirst);
    CPoint ptPress(rectFirst.left - 2, rectFirst.top + 2);
    ASSERT_EQ(-1, pBuild->HitTest(ptPress.x, ptPress.y, nullptr));
    CPoint ptDrop(rectLeft.left, rectLeft.CenterPoint().y);
    PostTo(pBuild, WM_MOUSEMOVE, ptDrop);
    PostTo(pBuild, WM_LBUTTONUP, ptDrop);
    pBuild->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptPress.x, ptPress.y));
    PumpMessages();
    frame.p->RecalcLayout();
    ASSERT_EQ(pLeft, pBuild->m_pDockBar);
    // A column of the narrowest width that fits: one button wide, a row per
    // button (the separator ends the second row).
    const bool wrapped[4] = { true, false, true, false };
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(wrapped[i], (pBuild->GetButtonStyle(i) & TBBS_WRAPPED) != 0) << i;
    EXPECT_EQ(pBuild->GetButton(0)->m_x, pBuild->GetButton(1)->m_x);
    EXPECT_EQ(pBuild->GetButton(0)->m_x, pBuild->GetButton(3)->m_x);
    CRect rectBar = WindowRect(pBuild);
    EXPECT_LT(rectBar.Width(), 2 * 23);
    EXPECT_GT(rectBar.Height(), 3 * 22);

    // A double-click beside the buttons floats the bar, at its most recent floating width.
    pBuild->m_nMRUWidth = 2 * 23 + 8;
    pBuild->m_bDirtyMRU = TRUE;
    pBuild->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptPress.x, ptPress.y));
    PumpMessages();
    ASSERT_TRUE(pBuild->IsFloating());
    // Two rows of two (the separator ends the first), laid out at that size and
    // reported 2 pixels less each way.
    EXPECT_TRUE(pBuild->GetButtonStyle(2) & TBBS_WRAPPED);
    CSize sizeFloat = pBuild->m_sizeFloat;
    EXPECT_EQ(sizeFloat, WindowRect(pBuild).Size());
    const TWKStdBtn *p0 = pBuild->GetButton(0), *p1 = pBuild->GetButton(1), *p3 = pBuild->GetButton(3);
    EXPECT_EQ(CSize(2 * 23, 2 * 22 + 5), CSize(p1->m_x + p1->m_cx - p0->m_x, p3->m_y + p3->m_cy - p0->m_y));
    EXPECT_EQ(sizeFloat - CSize(2, 2),
              pBuild->CalcDynamicLayout((int)pBuild->m_nMRUWidth, LM_HORZ | LM_MRUWIDTH | LM_COMMIT));

    // Double-clicked again it docks where it was docked last.
    pBuild->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
    PumpMessages();
    EXPECT_EQ(pLeft, pBuild->m_pDockBar);
    EXPECT_FALSE(pBuild->IsFloating());
    AfxGetThread()->m_pMainWnd = pOldMain;
}

} // namespace

namespace {

TEST_F(ManagerTest, FloatingToolBarHidesAtOnceWhileCustomised)
{
    DefaultLayout();
    TWKCustomToolBar* pBuild = pMgr->GetToolBar(kBuildBar);
    ASSERT_TRUE(pBuild);
    frame.p->FloatControlBar(pBuild, CPoint(300, 300));
    ASSERT_TRUE(pBuild->IsFloating());
    pMgr->EnterConfigMode();
    pMgr->SetToolBarsConfigMode(TRUE);
    // A delayed hide waits for no idle layout: the posted message hides it.
    frame.p->ShowControlBar(pBuild, FALSE, TRUE);
    EXPECT_TRUE(pBuild->m_nStateFlags & CControlBar::delayHide);
    PumpMessages();
    EXPECT_FALSE(pBuild->IsWindowVisible());
    EXPECT_FALSE(pBuild->m_nStateFlags & CControlBar::delayHide);
    pMgr->SetToolBarsConfigMode(FALSE);
    pMgr->ExitConfigMode();
    frame.p->EnableWindow(TRUE);
}

} // namespace
