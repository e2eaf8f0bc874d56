// The main frame as it comes up and closes: bars, panes, menus, the layout
// gate with saved and default layouts, the find box history, the menu and
// toolbar operations other parts of the IDE use, and the toolbar switches.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "afx/afxres.h"
#include "editor/window/TWKEditView.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/frames/TWKDockBar.h"
#include "ide/workbench/AsmIDE.h"

using namespace vt;

namespace {

const char* const kBarState = "BarState\\BarState";

void ForgetLayout()
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString(std::string(kBarState).append("-Summary").c_str(), nullptr, nullptr);
    pApp->WriteProfileString(std::string(kBarState).append("-ToolBarManager").c_str(), nullptr, nullptr);
    for (int i = 0; i < 40; i++)
        pApp->WriteProfileString((std::string(kBarState) + "-Bar" + std::to_string(i)).c_str(), nullptr, nullptr);
}

// What the gate reads, written as a previous run left it.
void SetGate(int nNormalExit, int nEnteredDebug, const char* pszVersion)
{
    CWinApp* pApp = AfxGetApp();
    if (nNormalExit >= 0)
        pApp->WriteProfileInt("", "NormalExitApp", nNormalExit);
    else
        pApp->WriteProfileString("", "NormalExitApp", nullptr);
    pApp->WriteProfileInt("", "EnteredDebug", nEnteredDebug);
    if (pszVersion)
        pApp->WriteProfileString("Version", "Version", pszVersion);
    else
        pApp->WriteProfileString("Version", nullptr, nullptr);
}

std::string FindHistory()
{
    std::string s;
    for (int i = 1; i <= 25; i++) {
        std::string v = ProfileString("Settings\\Find", ("Find" + std::to_string(i)).c_str(), "");
        if (v.empty())
            break;
        s += (i > 1 ? " " : "") + v;
    }
    return s;
}

void EnterInFindBox(CMainFrame* p, const char* pszText)
{
    TWKComboBtn* pBox = p->GetFindBox();
    ASSERT_TRUE(pBox);
    pBox->SetWindowText(pszText);
    p->SendMessage(WM_TWKTOOLBARWNDNOTIFY, MAKEWPARAM(IDC_FIND_BOX, TWK_WNDNOTIFY_RETURN), (LPARAM)pBox->m_hWnd);
}

} // namespace

TEST(MainFrame, ComesUpWithItsToolbarsPanesBarsAndMenus)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    for (UINT nID : { IDW_FILE_TOOLBAR, IDW_BUILD_TOOLBAR, IDW_DEBUG_TOOLBAR, IDW_TOOLS_TOOLBAR }) {
        SCOPED_TRACE(nID);
        ASSERT_TRUE(f.ToolBar(nID));
        EXPECT_TRUE(f.Visible(nID));
    }
    TWKCustomToolBar* pFile = f.ToolBar(IDW_FILE_TOOLBAR);
    EXPECT_TRUE(f.p->GetFindBox());
    EXPECT_GE(pFile->CommandToIndex(ID_EDIT_UNDO), 0);
    EXPECT_GE(pFile->CommandToIndex(ID_EDIT_REDO), 0);
    EXPECT_EQ(13, f.ToolBar(IDW_DEBUG_TOOLBAR)->GetButtonCount());

    // Seven panes: progress in pane 1 (hidden), the icon pane, pane 3 150 wide.
    TWKCustomStatusBar* pStatus = f.p->GetStatusBar();
    ASSERT_TRUE(::IsWindow(pStatus->m_hWnd));
    EXPECT_EQ(AFX_IDW_STATUS_BAR, (UINT)pStatus->GetDlgCtrlID());
    const UINT ids[] = { 0, ID_INDICATOR_PROGRESS, ID_INDICATOR_ICON, 0, ID_INDICATOR_CAPS, ID_INDICATOR_OVR,
                         ID_INDICATOR_NUM };
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(ids[i], pStatus->GetItemID(i)) << i;
    UINT nID, nStyle;
    int cx;
    pStatus->GetPaneInfo(3, nID, nStyle, cx);
    EXPECT_EQ(150, cx);
    EXPECT_EQ(f.p->GetProgressCtrl(), pStatus->GetPaneControl(1));
    EXPECT_FALSE(f.p->GetProgressCtrl()->IsWindowVisible());

    // The docked bars at their places; the preview bar floats, hidden.
    int nRow, nCol;
    UINT nDockBar;
    float fPct;
    int nThick;
    ASSERT_TRUE(f.p->GetMessageBar()->GetDockedPosition(nRow, nCol, nDockBar, fPct, nThick));
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, nDockBar);
    EXPECT_EQ(0, nCol);
    CString strTitle;
    f.p->GetMessageBar()->GetWindowText(strTitle);
    EXPECT_STREQ("Output Window", (LPCSTR)strTitle);
    ASSERT_TRUE(f.p->GetProjectWnd()->GetDockedPosition(nRow, nCol, nDockBar, fPct, nThick));
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, nDockBar);
    EXPECT_TRUE(f.Visible(IDW_PROJECT_BAR));
    EXPECT_TRUE(f.Visible(IDW_OUTPUT_BAR));
    EXPECT_FALSE(f.Visible(IDW_PREVIEW_BAR));
    EXPECT_TRUE(f.p->GetPreviewBar()->IsFloating());
    EXPECT_EQ(CSize(255, 90), f.p->GetPreviewBar()->m_sizeMRUFloat);
    EXPECT_FLOAT_EQ(0.25f, f.p->GetPreviewBar()->m_fSavedPctWidth);
    EXPECT_FLOAT_EQ(0.75f, f.p->GetMessageBar()->m_fSavedPctWidth);

    // The menu bar holds 23 menu buttons and shows the seven of the frame's menu.
    TWKMenuBar* pMenuBar = f.p->GetMenuBar();
    ASSERT_TRUE(pMenuBar);
    int nMenus = 0, nShown = 0;
    for (int i = 0; i < pMenuBar->GetButtonCount(); i++) {
        if (pMenuBar->GetButton(i)->m_nType != TWK_BTN_TBMENU)
            continue;
        nMenus++;
        nShown += !(pMenuBar->GetButtonStyle(i) & TBBS_HIDDEN);
    }
    EXPECT_EQ(23, nMenus);
    EXPECT_EQ(7, nShown);
    EXPECT_EQ((UINT)IDR_MAINFRAME, pMenuBar->GetCurMenuID());
}

// The gate decides between the saved layout (here: the Build toolbar hidden)
// and the default one.
TEST(MainFrame, LayoutGateChoosesSavedOrDefaultLayout)
{
    ForgetLayout();
    {
        MainFrame f;
        ASSERT_TRUE(f.p);
        f.Command(ID_VIEW_BUILD_TOOLBAR);
        EXPECT_FALSE(f.Visible(IDW_BUILD_TOOLBAR));
        f.Close();
    }
    EXPECT_EQ(1, ProfileInt("", "NormalExitApp"));

    struct Case {
        int nNormalExit;   // -1: missing
        int nEnteredDebug;
        const char* pszVersion;
        bool bSaved;
    } cases[] = {
        { 1, 0, "1.00.004", true },  { 0, 0, "1.00.004", false }, { -1, 0, "1.00.004", false },
        { 1, 1, "1.00.004", false }, { 1, 0, nullptr, false },      { 1, 0, "1.00.003", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nNormalExit << " " << c.nEnteredDebug << " "
                                        << (c.pszVersion ? c.pszVersion : "(none)"));
        SetGate(c.nNormalExit, c.nEnteredDebug, c.pszVersion);
        MainFrame f;
        ASSERT_TRUE(f.p);
        EXPECT_EQ(!c.bSaved, f.Visible(IDW_BUILD_TOOLBAR));
        EXPECT_TRUE(f.p->GetFindBox());
        // A crash from now on leaves 0; a reset writes the rest.
        EXPECT_EQ(0, ProfileInt("", "NormalExitApp"));
        if (!c.bSaved) {
            EXPECT_EQ(0, ProfileInt("", "EnteredDebug"));
            EXPECT_EQ("1.00.004", ProfileString("Version", "Version"));
        }
    }
}

TEST(MainFrame, SavedLayoutWithoutTheFindBoxFallsBackToTheDefault)
{
    ForgetLayout();
    {
        MainFrame f;
        ASSERT_TRUE(f.p);
        TWKCustomToolBar* pFile = f.ToolBar(IDW_FILE_TOOLBAR);
        ASSERT_TRUE(pFile);
        pFile->RemoveButton(pFile->CommandToIndex(ID_EDIT_FIND));
        f.p->RecalcLayout();
        f.Command(ID_VIEW_BUILD_TOOLBAR);
        ASSERT_FALSE(f.p->GetFindBox());
        f.Close();
    }
    SetGate(1, 0, "1.00.004");
    MainFrame f;
    ASSERT_TRUE(f.p);
    EXPECT_TRUE(f.p->GetFindBox());
    EXPECT_TRUE(f.Visible(IDW_BUILD_TOOLBAR));
}

TEST(MainFrame, CloseWritesPositionFolderAndExitMark)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    f.p->SetWindowPos(nullptr, 20, 30, 820, 630, SWP_NOZORDER | SWP_NOACTIVATE);
    f.Close();
    EXPECT_EQ(20, ProfileInt("WindowPos", "Left"));
    EXPECT_EQ(30, ProfileInt("WindowPos", "Top"));
    EXPECT_EQ(840, ProfileInt("WindowPos", "Right"));
    EXPECT_EQ(660, ProfileInt("WindowPos", "Bottom"));
    EXPECT_EQ(0, ProfileInt("WindowPos", "IsMaximized"));
    char szDir[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, szDir);
    EXPECT_EQ(szDir, ProfileString("Directory", "Working"));
    EXPECT_EQ(1, ProfileInt("", "NormalExitApp"));
    EXPECT_GT(ProfileInt("BarState\\BarState-Summary", "Bars", 0), 0);
}

TEST(MainFrame, FindBoxKeepsTwentyNewestEntries)
{
    AfxGetApp()->WriteProfileString("Settings\\Find", nullptr, nullptr);
    MainFrame f;
    ASSERT_TRUE(f.p);
    std::string expected;
    for (int i = 1; i <= 21; i++)
        EnterInFindBox(f.p, ("text" + std::to_string(i)).c_str());
    for (int i = 21; i >= 2; i--)
        expected += (i < 21 ? " text" : "text") + std::to_string(i);
    EXPECT_EQ(expected, FindHistory());
    EXPECT_EQ(20, f.p->m_listFind.GetCount());
    EXPECT_EQ(20, f.p->GetFindBox()->GetCount());

    // An existing text moves to the top, once.
    EnterInFindBox(f.p, "text5");
    std::string moved = "text5";
    for (int i = 21; i >= 2; i--)
        if (i != 5)
            moved += " text" + std::to_string(i);
    EXPECT_EQ(moved, FindHistory());
    EXPECT_EQ(20, f.p->m_listFind.GetCount());
    CString strFirst;
    f.p->GetFindBox()->GetLBText(0, strFirst);
    EXPECT_STREQ("text5", strFirst);

    // An empty text and another control are left alone.
    EnterInFindBox(f.p, "");
    f.p->SendMessage(WM_TWKTOOLBARWNDNOTIFY, MAKEWPARAM(IDC_FIND_BOX + 1, TWK_WNDNOTIFY_RETURN),
                     (LPARAM)f.p->GetFindBox()->m_hWnd);
    EXPECT_EQ(moved, FindHistory());

    // A new frame reads the history into its box.
    f.p->DestroyWindow();
    MainFrame g;
    ASSERT_TRUE(g.p);
    EXPECT_EQ(20, g.p->GetFindBox()->GetCount());
}

TEST(MainFrame, AccelTextNamesKeys)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    struct Case {
        BYTE fVirt;
        WORD key;
        BOOL bResult;
        const char* text;
    } cases[] = {
        { FVIRTKEY | FCONTROL, VK_F5, TRUE, "Ctrl+F5" },
        { FVIRTKEY | FCONTROL | FSHIFT, 'C', TRUE, "Ctrl+Shift+C" },
        { FVIRTKEY | FALT, '7', TRUE, "Alt+7" },
        { FVIRTKEY | FCONTROL | FALT | FSHIFT, VK_NEXT, FALSE, "" },
        { FVIRTKEY, VK_LWIN, TRUE, "LWindowKey" },
        { FVIRTKEY, VK_SEPARATOR, TRUE, "NumPad." },
        { FVIRTKEY, VK_DECIMAL, FALSE, "" },
        { FVIRTKEY, VK_PRINT, TRUE, "PrtSrc" },
        { FVIRTKEY, VK_F12, TRUE, "F12" },
        { 0, 'q', TRUE, "q" },
    };
    for (const Case& c : cases) {
        ACCEL accel = { c.fVirt, c.key, 1 };
        CString strText = "old";
        EXPECT_EQ(c.bResult, f.p->GetAccelText(accel, strText)) << c.text;
        EXPECT_STREQ(c.text, (LPCSTR)strText);
    }
}

TEST(MainFrame, AppendMenuItemsAddsEachNameOnce)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    CMenu* pDebug = CMenu::FromHandle(::GetSubMenu(f.p->GetCurrentMenu(), 4));
    ASSERT_TRUE(pDebug);
    const int nBefore = pDebug->GetMenuItemCount();
    const UINT ids[] = { 62000, 62001 };
    LPCSTR names[] = { "Reset Target", "Dump Flash" };
    const ACCEL accels[] = { { FVIRTKEY | FCONTROL, VK_F5, 62000 }, { FVIRTKEY, VK_NEXT, 62001 } };
    EXPECT_FALSE(f.p->AppendMenuItems("&Debug", 2, ids, names, accels));   // titles compare without "&"
    EXPECT_TRUE(f.p->AppendMenuItems("Debug", 0, nullptr, nullptr, nullptr));
    EXPECT_TRUE(f.p->AppendMenuItems("Debug", 2, ids, names, accels));
    ASSERT_EQ(nBefore + 3, pDebug->GetMenuItemCount());
    char sz[64];
    pDebug->GetMenuString(62000, sz, sizeof sz, MF_BYCOMMAND);
    EXPECT_STREQ("  Reset Target\tCtrl+F5", sz);
    pDebug->GetMenuString(62001, sz, sizeof sz, MF_BYCOMMAND);
    EXPECT_STREQ("  Dump Flash\t", sz);
    EXPECT_TRUE(f.p->AppendMenuItems("Debug", 2, ids, names, nullptr));
    EXPECT_EQ(nBefore + 3, pDebug->GetMenuItemCount());

    f.p->RemoveIceActionMenuItems();
    EXPECT_EQ(nBefore, pDebug->GetMenuItemCount());
}

TEST(MainFrame, ModifyMenuItemActions)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    HMENU hFile = ::GetSubMenu(f.p->GetCurrentMenu(), 0);
    const int nBefore = ::GetMenuItemCount(hFile);
    EXPECT_FALSE(f.p->ModifyMenuItem("File", "SaveAs Template", CMainFrame::MENUITEM_ENSURE, -1,
                                     ID_FILE_SAVEAS_TEMPLATE));
    EXPECT_FALSE(f.p->ModifyMenuItem("Nothing", "SaveAs Template", CMainFrame::MENUITEM_ENSURE, 4,
                                     ID_FILE_SAVEAS_TEMPLATE));
    EXPECT_TRUE(f.p->ModifyMenuItem("File", "SaveAs Template", CMainFrame::MENUITEM_ENSURE, 4,
                                    ID_FILE_SAVEAS_TEMPLATE));
    EXPECT_EQ((UINT)ID_FILE_SAVEAS_TEMPLATE, ::GetMenuItemID(hFile, 4));
    EXPECT_TRUE(f.p->ModifyMenuItem("File", "saveas template", CMainFrame::MENUITEM_ENSURE, 4,
                                    ID_FILE_SAVEAS_TEMPLATE));
    EXPECT_EQ(nBefore + 1, ::GetMenuItemCount(hFile));
    struct Case {
        int nAction;
        UINT nState;
    } cases[] = { { CMainFrame::MENUITEM_DISABLE, MF_DISABLED },
                  { CMainFrame::MENUITEM_GREY, MF_GRAYED },
                  { CMainFrame::MENUITEM_ENABLE, 0 } };
    for (const Case& c : cases) {
        EXPECT_TRUE(f.p->ModifyMenuItem("File", "SaveAs Template", c.nAction, 0, 0));
        EXPECT_EQ(c.nState, ::GetMenuState(hFile, ID_FILE_SAVEAS_TEMPLATE, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED))
            << c.nAction;
    }
    EXPECT_TRUE(f.p->ModifyMenuItem("File", "SaveAs Template", CMainFrame::MENUITEM_REMOVE, 0, 0));
    EXPECT_EQ(nBefore, ::GetMenuItemCount(hFile));
    EXPECT_FALSE(f.p->ModifyMenuItem("File", "SaveAs Template", CMainFrame::MENUITEM_REMOVE, 0, 0));
}

TEST(MainFrame, SwapMenuDropsWizardsWithoutProject)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    HMENU hProject = ::GetSubMenu(f.p->GetCurrentMenu(), 3);
    ASSERT_TRUE(hProject);
    for (UINT nID : { ID_PROJECT_WIZARD1, ID_PROJECT_WIZARD2, ID_PROJECT_WIZARD4 })
        EXPECT_EQ((UINT)-1, ::GetMenuState(hProject, nID, MF_BYCOMMAND)) << nID;
    // Put back, they go again at the next swap, from menu and toolbar alike.
    ::AppendMenuA(hProject, MF_STRING, ID_PROJECT_WIZARD2, "Synthesis Library Property Setting");
    TWKCustomToolBar* pFile = f.ToolBar(IDW_FILE_TOOLBAR);
    pFile->InsertButton(pFile->GetButtonCount(), ID_PROJECT_WIZARD1, FALSE);
    f.p->SwapMenu(IDR_TEXTTYPE);
    f.p->SwapMenu((UINT)-1);
    EXPECT_EQ((UINT)-1, ::GetMenuState(hProject, ID_PROJECT_WIZARD2, MF_BYCOMMAND));
    EXPECT_LT(pFile->CommandToIndex(ID_PROJECT_WIZARD1), 0);
    EXPECT_EQ((UINT)IDR_MAINFRAME, f.p->GetMenuBar()->GetCurMenuID());
}

TEST(MainFrame, ViewCommandsToggleBarsAndButtonSizes)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    struct Case {
        UINT nCmd;
        UINT nBar;
    } cases[] = { { ID_VIEW_TOOLBAR, IDW_FILE_TOOLBAR },
                  { ID_VIEW_STATUS_BAR, AFX_IDW_STATUS_BAR },
                  { ID_VIEW_BUILD_TOOLBAR, IDW_BUILD_TOOLBAR },
                  { ID_VIEW_DEBUG_TOOLBAR, IDW_DEBUG_TOOLBAR },
                  { ID_VIEW_TOOLS_TOOLBAR, IDW_TOOLS_TOOLBAR } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nCmd);
        EXPECT_TRUE(f.Visible(c.nBar));
        EXPECT_EQ(1, Update(f.p, c.nCmd).nChecked);
        f.Command(c.nCmd);
        EXPECT_FALSE(f.Visible(c.nBar));
        EXPECT_EQ(0, Update(f.p, c.nCmd).nChecked);
        f.Command(c.nCmd);
        EXPECT_TRUE(f.Visible(c.nBar));
    }

    TWKCustomToolBar* pBuild = f.ToolBar(IDW_BUILD_TOOLBAR);
    CRect rectNormal;
    pBuild->GetItemRect(0, &rectNormal);
    EXPECT_EQ(1, Update(f.p, ID_VIEW_LARGE_BUTTONS).nEnabled);
    EXPECT_EQ(0, Update(f.p, ID_VIEW_NORMAL_BUTTONS).nEnabled);
    f.Command(ID_VIEW_LARGE_BUTTONS);
    EXPECT_TRUE(f.p->GetToolBarManager()->IsLargeBtns());
    CRect rectLarge;
    pBuild->GetItemRect(0, &rectLarge);
    EXPECT_GT(rectLarge.Height(), rectNormal.Height());
    EXPECT_EQ(0, Update(f.p, ID_VIEW_LARGE_BUTTONS).nEnabled);
    EXPECT_EQ(1, Update(f.p, ID_VIEW_NORMAL_BUTTONS).nEnabled);
    f.Command(ID_VIEW_NORMAL_BUTTONS);
    EXPECT_FALSE(f.p->GetToolBarManager()->IsLargeBtns());
    pBuild->GetItemRect(0, &rectLarge);
    EXPECT_EQ(rectNormal.Height(), rectLarge.Height());
}

TEST(MainFrame, PageSetupIsShownAndSaved)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    ModalAnswerer answerer(IDCANCEL);
    f.Command(ID_FILE_PAGE_SETUP);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_TRUE(::IsWindow(f.hWnd));
}

TEST(MainFrame, EditCommandsFollowTheRememberedEditWindow)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    // The application passes the updates of Copy and Select All to the frame.
    auto update = [&](UINT nID) {
        CTestCmdUI ui;
        ui.m_nID = nID;
        if (nID == ID_EDIT_COPY)
            f.p->OnUpdateEditCopy(&ui);
        else
            f.p->OnUpdateEditSelectAll(&ui);
        return ui.nEnabled;
    };
    EXPECT_EQ(0, update(ID_EDIT_COPY));
    EXPECT_EQ(0, Update(f.p, ID_OUTPUT_CLEAR).nEnabled);
    // No user-tools manager: its commands are off.
    EXPECT_EQ(0, Update(f.p, ID_TOOLS_CUSTOMIZE).nEnabled);
    EXPECT_EQ(0, Update(f.p, ID_TOOLS_PREDEFINED_FIRST).nEnabled);
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 200, 50), f.p, 1234));
    edit.SetWindowText("remembered text");
    f.p->m_pEditWnd = &edit;
    f.Command(ID_EDIT_SELECT_ALL);
    int nStart = -1, nEnd = -1;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(0, nStart);
    EXPECT_EQ(15, nEnd);
    edit.DestroyWindow();
    // A window that has gone is no longer used.
    EXPECT_EQ(0, update(ID_EDIT_SELECT_ALL));
    f.Command(ID_EDIT_COPY);
    f.p->m_pEditWnd = nullptr;
    // Past the close's point of no return nothing is touched.
    f.p->m_bClosing = TRUE;
    EXPECT_EQ(-1, update(ID_EDIT_COPY));
    EXPECT_EQ(-1, Update(f.p, ID_OUTPUT_CLEAR).nEnabled);
    f.p->m_bClosing = FALSE;
}

TEST(MainFrame, IconNamesByExtension)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    // Read from the program folder's configuration at creation.
    std::string cfg = ProgramFolder() + "ZIDE.cfg";
    char szFirst[64] = "";
    ::GetPrivateProfileStringA("Icon", "Icon1", "", szFirst, sizeof szFirst, cfg.c_str());
    ASSERT_FALSE(f.p->m_listIcon.IsEmpty());
    EXPECT_STREQ(szFirst, (LPCSTR)f.p->m_listIcon.GetHead());
    f.p->m_listIcon.RemoveAll();
    f.p->m_listIcon.AddTail("asm, ICON_ASM");
    f.p->m_listIcon.AddTail("inc;ICON_INC");
    f.p->m_listIcon.AddTail("ASM, ICON_OTHER");
    struct Case {
        const char* file;
        const char* name;
    } cases[] = { { "c:\\p\\main.ASM", "ICON_ASM" }, { "x.inc", "ICON_INC" }, { "a.b\\noext", "" }, { "x.wav", "" } };
    for (const Case& c : cases) {
        CString strName = "old";
        f.p->GetIconNameForFile(strName, c.file);
        EXPECT_STREQ(c.name, (LPCSTR)strName) << c.file;
    }
}

TEST(MainFrame, CloseWhileBuildingWaitsForTheBuild)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    ModalAnswerer answerer;
    f.p->m_bBuilding = TRUE;
    for (int i = 0; i < 2; i++) {
        f.p->SendMessage(WM_CLOSE);
        ASSERT_EQ((size_t)i + 1, answerer.Count());
        EXPECT_EQ("Wait", answerer.Last().caption);
        EXPECT_EQ("Wait for building or finding in files processes terminated !!", answerer.Last().text);
        EXPECT_TRUE(::IsWindow(f.hWnd));
        EXPECT_TRUE(f.p->m_bExitAfterBuild);
        EXPECT_FALSE(f.p->m_bClosing);
    }
    // A search is told to stop and the close goes on.
    f.p->m_bBuilding = FALSE;
    f.p->m_bExitAfterBuild = FALSE;
    f.p->m_bFinding = TRUE;
    f.p->SendMessage(WM_CLOSE);
    EXPECT_EQ(3u, answerer.Count());
    EXPECT_FALSE(::IsWindow(f.hWnd));
    f.p = nullptr;
}

TEST(MainFrame, MaximisedCloseKeepsTheNormalRectangle)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    f.p->SetWindowPos(nullptr, 40, 50, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    WINDOWPLACEMENT wp = { sizeof wp };
    f.p->GetWindowPlacement(&wp);
    wp.showCmd = SW_SHOWMAXIMIZED;
    f.p->SetWindowPlacement(&wp);
    PumpMessages();
    ASSERT_TRUE(f.p->IsZoomed());
    f.Close();
    EXPECT_EQ(1, ProfileInt("WindowPos", "IsMaximized"));
    EXPECT_EQ(wp.rcNormalPosition.left, ProfileInt("WindowPos", "Left"));
    EXPECT_EQ(wp.rcNormalPosition.top, ProfileInt("WindowPos", "Top"));
    EXPECT_EQ(wp.rcNormalPosition.bottom, ProfileInt("WindowPos", "Bottom"));
}

TEST(MainFrame, ProgressTimerRunsTheBarRoundUnlessPaused)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    TWKProgressCtrl* pProgress = f.p->GetProgressCtrl();
    pProgress->SetRange(0, 100);
    pProgress->SetStep(10);
    pProgress->SetPos(80);
    f.p->SendMessage(WM_TIMER, TIMER_MAIN_PROGRESS);
    EXPECT_EQ(90u, pProgress->m_nPos);
    f.p->SendMessage(WM_TIMER, TIMER_MAIN_PROGRESS);
    EXPECT_EQ(0u, pProgress->m_nPos);
    f.p->m_bProgressPaused = TRUE;
    f.p->SendMessage(WM_TIMER, TIMER_MAIN_PROGRESS);
    EXPECT_EQ(0u, pProgress->m_nPos);
}

TEST(MainFrame, ActivationReloadsTheFindHistory)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    AfxGetApp()->WriteProfileString("Settings\\Find", nullptr, nullptr);
    AfxGetApp()->WriteProfileString("Settings\\Find", "Find1", "from another window");
    AfxGetApp()->WriteProfileString("Settings\\Find", "Find3", "after a gap");
    f.p->SendMessage(WM_ACTIVATE, WA_ACTIVE);
    ASSERT_EQ(1, f.p->m_listFind.GetCount());
    EXPECT_STREQ("from another window", (LPCSTR)f.p->m_listFind.GetHead());
    EXPECT_EQ(1, f.p->GetFindBox()->GetCount());
}

TEST(MainFrame, StatusTextsOfTheEmulatorActionRange)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    // Without an emulator no action exists: the whole range has no text.
    for (UINT nID : { 62000u, 62254u, 62255u }) {
        CString str = "old";
        f.p->GetMessageString(nID, str);
        EXPECT_STREQ("", (LPCSTR)str) << nID;
    }
    CString str;
    f.p->GetMessageString(ID_PROJECT_BUILD, str);
    EXPECT_FALSE(str.IsEmpty());
}

TEST(MainFrame, ProjectAcceleratorsComeFirst)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    ACCEL accel = { FVIRTKEY, VK_F12, ID_VIEW_BUILD_TOOLBAR };
    f.p->m_hProjectAccel = ::CreateAcceleratorTableA(&accel, 1);
    MSG msg = { f.hWnd, WM_KEYDOWN, VK_F12, 1 };
    EXPECT_TRUE(f.p->PreTranslateMessage(&msg));
    EXPECT_FALSE(f.Visible(IDW_BUILD_TOOLBAR));
    msg.wParam = VK_F8;
    EXPECT_FALSE(f.p->PreTranslateMessage(&msg));
    ::DestroyAcceleratorTable(f.p->m_hProjectAccel);
    f.p->m_hProjectAccel = nullptr;
}

// The find box and Find Next search the active source window.
TEST(MainFrame, FindBoxAndFindNextSearchTheActiveEditor)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    auto* pApp = static_cast<CAsmIDEApp*>(AfxGetApp());
    if (!g_pTextTemplate)
        pApp->RegisterDocTemplates();
    pApp->m_pMainWnd = f.p;
    CDocument* pDoc = pApp->OpenNewDocument("Text", nullptr);
    ASSERT_TRUE(pDoc);
    CMDIChildWnd* pChild = f.p->MDIGetActive();
    ASSERT_TRUE(pChild);
    auto* pView = dynamic_cast<TWKEditView*>(pChild->GetActiveView());
    ASSERT_TRUE(pView);
    pView->SetText("alpha beta\r\ngamma beta\r\ndelta\r\n");
    AfxGetApp()->WriteProfileInt("Settings\\Find", "Match case", 0);

    EnterInFindBox(f.p, "BETA");
    CString strSel;
    BOOL bColumn = FALSE;
    ASSERT_TRUE(pView->m_bSelection);
    pView->GetSelectedText(strSel, &bColumn);
    EXPECT_STREQ("beta", (LPCSTR)strSel);
    EXPECT_EQ(1, pView->m_nCaretLine);

    // The editor's selection becomes the box's text and is searched again.
    f.Command(ID_EDIT_FIND_NEXT);
    EXPECT_EQ(2, pView->m_nCaretLine);
    CString strBox;
    f.p->GetFindBox()->GetWindowText(strBox);
    EXPECT_STREQ("beta", (LPCSTR)strBox);

    pApp->m_pMainWnd = nullptr;
    pDoc->OnCloseDocument();
}

TEST(MainFrame, AddToolBarButtonTakesAnIconOnce)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    TWKCustomToolBar* pDebug = f.ToolBar(IDW_DEBUG_TOOLBAR);
    ASSERT_TRUE(pDebug);
    const int nBefore = pDebug->GetButtonCount();
    int nCount = -1;
    // No module: a separator.
    EXPECT_TRUE(f.p->AddToolBarButton(nullptr, 0, IDW_DEBUG_TOOLBAR, 0, &nCount));
    EXPECT_EQ(nBefore + 1, nCount);
    HMODULE hExe = ::GetModuleHandleA(nullptr);
    EXPECT_TRUE(f.p->AddToolBarButton(hExe, IDR_MAINFRAME, IDW_DEBUG_TOOLBAR, ID_ICE_ACTION_FIRST, &nCount));
    EXPECT_EQ(nBefore + 2, nCount);
    EXPECT_EQ(nBefore + 1, pDebug->CommandToIndex(ID_ICE_ACTION_FIRST));
    HBITMAP hBitmap = nullptr;
    int nIndex = -1;
    EXPECT_TRUE(pDebug->GetBmpMgr()->GetBitmap(ID_ICE_ACTION_FIRST, &hBitmap, &nIndex));
    // The command has its image now; an icon that is not there adds nothing either.
    EXPECT_FALSE(f.p->AddToolBarButton(hExe, IDR_MAINFRAME, IDW_DEBUG_TOOLBAR, ID_ICE_ACTION_FIRST, &nCount));
    EXPECT_FALSE(f.p->AddToolBarButton(hExe, 999, IDW_DEBUG_TOOLBAR, ID_ICE_ACTION_FIRST + 1, &nCount));
    EXPECT_EQ(nBefore + 2, nCount);
    EXPECT_FALSE(f.p->AddToolBarButton(hExe, IDR_MAINFRAME, 0xE8FE, ID_ICE_ACTION_FIRST + 2, &nCount));
}

TEST(MainFrame, MenusGetTheConfiguredItemsWhenTheyOpen)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    HMENU hMenu = f.p->GetCurrentMenu();
    HMENU hFile = ::GetSubMenu(hMenu, 0);
    HMENU hTools = ::GetSubMenu(hMenu, 5);
    // The switches come from the program folder's configuration.
    std::string cfg = ProgramFolder() + "ZIDE.cfg";
    EXPECT_EQ(::GetPrivateProfileIntA("Resource Editor", "UserDefinedEditor", 0, cfg.c_str()) != 0,
              f.p->m_bUserDefinedEditor != FALSE);
    EXPECT_EQ(::GetPrivateProfileIntA("IDESystem", "TemplateProject", 0, cfg.c_str()) != 0,
              f.p->m_bTemplateProject != FALSE);
    f.p->m_bUserDefinedEditor = FALSE;
    f.p->m_bTemplateProject = FALSE;
    ::DeleteMenu(hTools, ID_TOOLS_RESOURCE_OPTIONS, MF_BYCOMMAND);
    const int nFile = ::GetMenuItemCount(hFile);
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, 0);
    EXPECT_EQ((UINT)-1, ::GetMenuState(hTools, ID_TOOLS_RESOURCE_OPTIONS, MF_BYCOMMAND));
    EXPECT_EQ(nFile, ::GetMenuItemCount(hFile));

    f.p->m_bUserDefinedEditor = TRUE;
    f.p->m_bTemplateProject = TRUE;
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hTools, 5);
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hTools, 5);
    HMENU hResource = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(hResource, 5)) + 1, ::GetMenuItemCount(hTools));
    ::DestroyMenu(hResource);
    EXPECT_EQ((UINT)ID_TOOLS_RESOURCE_OPTIONS, ::GetMenuItemID(hTools, ::GetMenuItemCount(hTools) - 1));
    // "SaveAs Template" only while a project is open.
    EXPECT_EQ(nFile, ::GetMenuItemCount(hFile));
    f.p->m_strProjectPath = "C:\\p\\Sample.wbi";
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, 0);
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hFile, 0);
    EXPECT_EQ(nFile + 1, ::GetMenuItemCount(hFile));
    EXPECT_EQ((UINT)ID_FILE_SAVEAS_TEMPLATE, ::GetMenuItemID(hFile, 4));
    f.p->m_strProjectPath.Empty();
}

TEST(MainFrame, StartsInTheWorkingFolderOfTheLastRun)
{
    char szOld[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, szOld);
    TempDir dir;
    AfxGetApp()->WriteProfileString("Directory", "Working", dir.Path().c_str());
    {
        MainFrame f;
        ASSERT_TRUE(f.p);
        char szNow[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, szNow);
        EXPECT_EQ(0, lstrcmpiA(dir.Path().c_str(), szNow));
    }
    ::SetCurrentDirectoryA(szOld);
}
