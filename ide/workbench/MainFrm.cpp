// The main frame's data, creation, layout, activation, timers, close and
// destruction.
#include "ide/workbench/MainFrm.h"
#include "ide/debugger/IDEToolsMgr.h"
#include <direct.h>
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKTwoPartBtn.h"
#include "framework/controls/toolbars/TWKWndBtn.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/IDEIcePortDlg.h"
#include "ide/workbench/AsmIDE.h"
#include "support/config/CStringHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include "support/config/CUPath.h"

IMPLEMENT_DYNAMIC(CMainFrame, TWKMDIFrameWnd)

HHOOK CMainFrame::s_hWheelHook = nullptr;

namespace {

// Split buttons for Undo and Redo with their lists; the find box.
const TWKBtnMapEntry kButtonMap[] = {
    { BUTTON_CLASS(TWKTwoPartBtn), ID_EDIT_UNDO, 0, { ID_EDIT_UNDO_LIST, 0 } },
    { BUTTON_CLASS(TWKTwoPartBtn), ID_EDIT_REDO, 0, { ID_EDIT_REDO_LIST, 0 } },
    { BUTTON_CLASS(TWKComboBtn), ID_EDIT_FIND, TWK_TBBS_NOAUTODISABLE | TWK_TBBS_VCENTER,
      { IDC_FIND_BOX, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 150, 150 } },
    { nullptr, 0, 0, {} },
};

const UINT kFileButtons[] = { ID_FILE_OPEN,      ID_FILE_SAVE_PROJECT, ID_FILE_SAVE_ALL,      0,
                              ID_EDIT_UNDO,      ID_EDIT_REDO,         0,                     ID_FILE_PRINT,
                              ID_FILE_PRINT_PREVIEW, 0,                ID_EDIT_FIND_IN_FILES, ID_EDIT_FIND_NEXT,
                              ID_EDIT_FIND,      ID_VIEW_PROJECT_BAR,  ID_VIEW_OUTPUT_BAR };
const UINT kBuildButtons[] = { ID_PROJECT_BUILD, ID_PROJECT_STOP_BUILD, 0, ID_PROJECT_WRITE };
const UINT kToolsButtons[] = { 32901, 32902, 32903, 32904, 32905, 32906, 32907, 32908,
                               32909, 32910, 32911, 32912, 32913, 32914, 32915, 32916 };
const UINT kDebugButtons[] = { ID_DEBUG_START,     ID_DEBUG_CLOSE,     0,
                               ID_DEBUG_RUN,       ID_DEBUG_STOP,      ID_DEBUG_RESTART,
                               0,                  ID_DEBUG_STEP_INTO, ID_DEBUG_STEP_OVER,
                               ID_DEBUG_STEP_OUT,  ID_DEBUG_RUN_TO_CURSOR, 0,
                               ID_DEBUG_TOGGLE_BREAKPOINT };

// Message pane, progress, icon, caret position, caps lock, overwrite, num lock.
const UINT kIndicators[] = { 0, ID_INDICATOR_PROGRESS, ID_INDICATOR_ICON, 0,
                             ID_INDICATOR_CAPS, ID_INDICATOR_OVR, ID_INDICATOR_NUM };

struct KeyName {
    DWORD nKey;
    const char* pszName;
};
const KeyName kKeyNames[] = {
    { 0x08, "BackSpace" }, { 0x09, "Tab" },        { 0x0D, "Enter" },      { 0x10, "Shift" },
    { 0x11, "Ctrl" },      { 0x12, "Alt" },        { 0x13, "Break" },      { 0x14, "CapsLock" },
    { 0x1B, "Esc" },       { 0x20, "Space" },      { 0x23, "End" },        { 0x24, "Home" },
    { 0x25, "Left" },      { 0x26, "Up" },         { 0x27, "Right" },      { 0x28, "Down" },
    { 0x2A, "PrtSrc" },    { 0x2D, "Ins" },        { 0x2E, "Del" },        { 0x5B, "LWindowKey" },
    { 0x5C, "RWindowKey" }, { 0x5D, "AppKey" },    { 0x60, "NumPad0" },    { 0x61, "NumPad1" },
    { 0x62, "NumPad2" },   { 0x63, "NumPad3" },    { 0x64, "NumPad4" },    { 0x65, "NumPad5" },
    { 0x66, "NumPad6" },   { 0x67, "NumPad7" },    { 0x68, "NumPad8" },    { 0x69, "NumPad9" },
    { 0x6A, "NumPad*" },   { 0x6B, "NumPad+" },    { 0x6C, "NumPad." },    { 0x6D, "NumPad-" },
    { 0x6F, "NumPad/" },   { 0x70, "F1" },         { 0x71, "F2" },         { 0x72, "F3" },
    { 0x73, "F4" },        { 0x74, "F5" },         { 0x75, "F6" },         { 0x76, "F7" },
    { 0x77, "F8" },        { 0x78, "F9" },         { 0x79, "F10" },        { 0x7A, "F11" },
    { 0x7B, "F12" },       { 0x90, "NumLock" },    { 0x91, "ScrollLock" }, { 0xA0, "LShift" },
    { 0xA1, "RShift" },    { 0xA2, "LCtrl" },      { 0xA3, "RCtrl" },      { 0xA4, "LAlt" },
    { 0xA5, "RAlt" },
};
static_assert(sizeof(kKeyNames) / sizeof(kKeyNames[0]) == 57, "57 named keys");

// The bars' look: context menu, margins, "Float In Main Window", flat borders,
// gripper, close and expand buttons.
const DWORD kBarExStyle = CBX_CONTEXTMENU | CBX_MARGINS | CBX_MDIFLOAT | CBX_COOLLOOK | CBX_GRIPPER |
                          CBX_CLOSEBUTTON | CBX_EXPANDBUTTON;

CString ConfigPath()
{
    return CString(g_szAppDir) + "ZIDE.cfg";
}

int ConfigInt(LPCSTR lpszSection, LPCSTR lpszKey)
{
    return (int)::GetPrivateProfileIntA(lpszSection, lpszKey, 0, ConfigPath());
}

} // namespace

CMainFrame::CMainFrame()
{
    m_pToolBarMgr = new TWKToolBarManager(this, nullptr);
    SetControlBarManager(m_pToolBarMgr);
    m_pMainMenuBar = new TWKMDIMenuBar;
    m_pMenuBar = m_pMainMenuBar;
    EnableBmpMenus(TRUE, TRUE);

    for (const KeyName& key : kKeyNames)
        m_mapKeyNames.SetAt(key.nKey, key.pszName);
    for (char c = '0'; c <= '9'; c++)
        m_mapKeyNames.SetAt((DWORD)c, CString(c));
    for (char c = 'A'; c <= 'Z'; c++)
        m_mapKeyNames.SetAt((DWORD)c, CString(c));
}

CMainFrame::~CMainFrame()
{
    // A search still running reads the stop flag in this object.
    StopFindAndWait();
    FreeFatalErrorDefinitions();
    SetControlBarManager(nullptr);
    delete m_pToolBarMgr;
    m_pToolBarMgr = nullptr;
    m_pMenuBar = nullptr;
    delete m_pMainMenuBar;
    m_pMainMenuBar = nullptr;
    // The ICE user-interface manager, then the ICE manager, then the user-tools manager.
    if (m_pIceUIMgr != &m_dummyIceUIMgr)
        delete static_cast<C_IDEIceUIMgr*>(m_pIceUIMgr);
    m_pIceUIMgr = nullptr;
    delete m_pIceMgr;
    m_pIceMgr = nullptr;
    delete m_pToolsMgr;
    m_pToolsMgr = nullptr;
    // A frame whose creation failed, or that went without its close, leaves no hook behind.
    RemoveWheelHook();
}

void CMainFrame::RemoveWheelHook()
{
    if (m_bHookOwner && s_hWheelHook) {
        ::UnhookWindowsHookEx(s_hWheelHook);
        s_hWheelHook = nullptr;
    }
    m_bHookOwner = FALSE;
}

BEGIN_MESSAGE_MAP(CMainFrame, TWKMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_ACTIVATE()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_EDIT_FIND_IN_FILES, OnEditFindInFiles)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_IN_FILES, OnUpdateEditFindInFiles)
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(WM_MAIN_FATALERROR, OnFatalErrorFound)
    ON_MESSAGE(WM_MAIN_REQUEST, OnFrameRequest)
    ON_MESSAGE(WM_MAIN_UNDOREDO, OnUndoRedo)
    ON_COMMAND(ID_EDIT_UNDO_LIST, OnEditUndoList)
    ON_COMMAND(ID_EDIT_REDO_LIST, OnEditRedoList)
    ON_REGISTERED_MESSAGE(WM_TWKTOOLBARWNDNOTIFY, OnToolBarWndNotify)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_OUTPUT_CLEAR, OnEditClear)
    ON_UPDATE_COMMAND_UI(ID_OUTPUT_CLEAR, OnUpdateEditClear)
    ON_COMMAND(ID_EDIT_FIND_NEXT, OnEditFindNext)
    ON_COMMAND_EX_RANGE(ID_VIEW_BUILD_TOOLBAR, ID_VIEW_TOOLS_TOOLBAR, OnViewToolBar)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_BUILD_TOOLBAR, ID_VIEW_TOOLS_TOOLBAR, OnUpdateViewToolBar)
    ON_COMMAND(ID_VIEW_LARGE_BUTTONS, OnViewLargeButtons)
    ON_COMMAND(ID_VIEW_NORMAL_BUTTONS, OnViewNormalButtons)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LARGE_BUTTONS, OnUpdateViewLargeButtons)
    ON_UPDATE_COMMAND_UI(ID_VIEW_NORMAL_BUTTONS, OnUpdateViewNormalButtons)
    ON_COMMAND(ID_FILE_PAGE_SETUP, OnFilePageSetup)
    ON_COMMAND(ID_FILE_OPEN, DoFileOpen)
    ON_COMMAND(ID_FILE_SAVE_PROJECT, OnFileSaveProject)
    ON_COMMAND(ID_FILE_CLOSE_PROJECT, OnFileCloseProject)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_PROJECT, OnUpdateProjectOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE_PROJECT, OnUpdateProjectOpen)
    ON_COMMAND(ID_FILE_DUPLICATE_PROJECT, OnFileDuplicateProject)
    ON_UPDATE_COMMAND_UI(ID_FILE_DUPLICATE_PROJECT, OnUpdateDuplicateProject)
    ON_COMMAND(ID_PROJECT_OPTIONS, OnProjectOptions)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_OPTIONS, OnUpdateProjectOptions)
    ON_COMMAND_EX_RANGE(ID_VIEW_PROJECT_BAR, ID_VIEW_PREVIEW_BAR, OnViewBar)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_PROJECT_BAR, ID_VIEW_PREVIEW_BAR, OnUpdateViewBar)
    ON_COMMAND_RANGE(ID_TOOLS_CUSTOMIZE, ID_TOOLS_USER_LAST, OnToolsCommand)
    ON_COMMAND_RANGE(ID_TOOLS_PREDEFINED_FIRST, ID_TOOLS_PREDEFINED_LAST, OnToolsCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TOOLS_CUSTOMIZE, ID_TOOLS_USER_LAST, OnUpdateToolsCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TOOLS_PREDEFINED_FIRST, ID_TOOLS_PREDEFINED_LAST, OnUpdateToolsCommand)
    // The writer (MainFrmWriter.cpp).
    ON_COMMAND(ID_PROJECT_WRITE, OnProjectWrite)
    ON_COMMAND(ID_PROJECT_VERIFY, OnProjectVerify)
    ON_COMMAND(ID_PROJECT_UPLOAD, OnProjectUpload)
    ON_COMMAND(ID_FILE_WRITE_FILE, OnFileWriteFile)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_WRITE, OnUpdateProjectWrite)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_VERIFY, OnUpdateProjectVerify)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_UPLOAD, OnUpdateProjectVerify)
    // The debug side (MainFrmDebug.cpp); its commands route through OnDebugCmdMsg.
    ON_MESSAGE(WM_MAIN_ICE_STOPPED, OnIceTargetStopped)
    ON_MESSAGE(AP_BROKER_WM_REQUEST, OnBrokerRequest)
    ON_WM_MENUSELECT()
    ON_COMMAND(ID_FILE_SAVEAS_TEMPLATE, OnFileSaveAsTemplate)
    ON_COMMAND(ID_FILE_NEW_PROJECT, OnFileNewProject)
    ON_COMMAND(ID_TOOLS_RESOURCE_OPTIONS, OnToolsResourceOptions)
    ON_COMMAND_RANGE(ID_PROJECT_WIZARD1, ID_PROJECT_WIZARD1, OnProjectWizard)
    ON_COMMAND_RANGE(ID_PROJECT_WIZARD2, ID_PROJECT_WIZARD2, OnProjectWizard)
    ON_COMMAND_RANGE(ID_PROJECT_WIZARD4, ID_PROJECT_WIZARD4, OnProjectWizard)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_WIZARD1, OnUpdateProjectWizard)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_WIZARD2, OnUpdateProjectWizard)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_WIZARD4, OnUpdateProjectWizard)
    // Build and compile (MainFrmBuild.cpp).
    ON_COMMAND(ID_PROJECT_BUILD, OnBuild)
    ON_COMMAND(ID_PROJECT_REBUILD_ALL, OnRebuildAll)
    ON_COMMAND(ID_PROJECT_COMPILE, OnCompile)
    ON_COMMAND(ID_PROJECT_CLEAN, OnClean)
    ON_COMMAND(ID_PROJECT_STOP_BUILD, OnStopBuild)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_BUILD, OnUpdateBuild)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_REBUILD_ALL, OnUpdateBuild)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_CLEAN, OnUpdateBuild)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_COMPILE, OnUpdateCompile)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_STOP_BUILD, OnUpdateStopBuild)
    ON_MESSAGE(WM_MAIN_PROGRESS, OnProgressRequest)
    ON_MESSAGE(WM_OUTPUT_NAVIGATE, OnOutputNavigate)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    return TWKMDIFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::IsDebugging() const
{
    // Only an ICE manager debugs; without one the IDE never is in debug mode.
    return m_pIceMgr && m_pIceMgr->IsDebugging();
}

// ---- creation

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    // The wheel hook of this thread.
    if (!s_hWheelHook) {
        s_hWheelHook = ::SetWindowsHookExA(WH_GETMESSAGE, WheelHookProc, AfxGetInstanceHandle(),
                                           ::GetCurrentThreadId());
        m_bHookOwner = s_hWheelHook != nullptr;
    }
    if (TWKMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    // The frame font.
    if (!m_font.CreateFont(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, OUT_TT_PRECIS, 0, 0, 0, "System"))
        return -1;

    // Toolbars.
    if (!m_pToolBarMgr->LoadToolBarResource(IDR_MAINFRAME, IDR_MAINFRAME_LARGE)) {
        ::OutputDebugStringA("Failed to load the toolbar images\n");
        return -1;
    }
    m_pToolBarMgr->SetButtonMap(kButtonMap);
    m_pToolBarMgr->DefineDefaultToolBar(IDW_FILE_TOOLBAR, "File", _countof(kFileButtons), kFileButtons,
                                        CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    m_pToolBarMgr->DefineDefaultToolBar(IDW_BUILD_TOOLBAR, "Build", _countof(kBuildButtons), kBuildButtons,
                                        CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    m_pToolBarMgr->DefineDefaultToolBar(IDW_TOOLS_TOOLBAR, "Tools", _countof(kToolsButtons), kToolsButtons,
                                        CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, IDW_BUILD_TOOLBAR, TRUE, TRUE);
    m_pToolBarMgr->DefineDefaultToolBar(IDW_DEBUG_TOOLBAR, "Debug", _countof(kDebugButtons), kDebugButtons,
                                        CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, IDW_TOOLS_TOOLBAR, TRUE, TRUE);
    m_pToolBarMgr->EnableCoolLook(TRUE, CBX_COOLLOOK | CBX_GRIPPER);

    // The status bar with its seven panes.
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) {
        ::OutputDebugStringA("Failed to create status bar\n");
        return -1;
    }
    m_wndStatusBar.SetFont((HFONT)m_font.m_hObject);
    if (!m_wndStatusBar.SetIndicators(kIndicators, _countof(kIndicators)))
        return -1;
    UINT nID, nStyle;
    int cx;
    m_wndStatusBar.GetPaneInfo(3, nID, nStyle, cx);
    m_wndStatusBar.SetPaneInfo(3, nID, nStyle, 150);
    m_wndStatusBar.GetPaneInfo(2, nID, nStyle, cx);
    m_wndStatusBar.SetPaneInfo(2, nID, nStyle, 16);
    if (!m_wndProgress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), &m_wndStatusBar, ID_INDICATOR_PROGRESS)) {
        ::OutputDebugStringA("Failed to create progress control\n");
        return -1;
    }
    m_wndStatusBar.SetPaneControl(1, &m_wndProgress, 1);
    m_wndStatusBar.GetPaneInfo(1, nID, nStyle, cx);
    m_wndStatusBar.SetPaneInfo(1, nID, SBPS_NOBORDERS, cx);
    m_wndStatusBar.SetPaneText(1, "");
    m_wndProgress.ShowWindow(SW_HIDE);
    // A missing icon leaves the pane empty.
    if (m_wndStatusIcon.Create("", WS_CHILD | SS_ICON, CRect(0, 0, 16, 16), &m_wndStatusBar, ID_INDICATOR_ICON)) {
        m_wndStatusIcon.SetIcon((HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_STATUS_ICON),
                                                    IMAGE_ICON, 16, 16, 0));
        m_wndStatusBar.SetPaneControl(2, &m_wndStatusIcon, 0);
        m_wndStatusBar.GetPaneInfo(2, nID, nStyle, cx);
        m_wndStatusBar.SetPaneInfo(2, nID, SBPS_NOBORDERS, cx);
        m_wndStatusBar.SetPaneText(2, "");
        m_wndStatusIcon.ShowWindow(SW_HIDE);
    }
    m_wndStatusBar.SetPaneText(5, "");

    EnableDocking(CBRS_ALIGN_ANY);

    // The three docked bars; the preview bar starts hidden and floats.
    if (!CreateDockedBar(m_wndMessageBar, "Output Window", WS_VISIBLE | CBRS_BOTTOM, IDW_OUTPUT_BAR,
                         AFX_IDW_DOCKBAR_BOTTOM, 0, 0.75f, 130, "Failed to create output bar\n")
        || !CreateDockedBar(m_wndProjectWnd, "Project Workspace", WS_VISIBLE | CBRS_LEFT, IDW_PROJECT_BAR,
                            AFX_IDW_DOCKBAR_LEFT, 0, 0.75f, 240, "Failed to create project bar\n")
        || !CreateDockedBar(m_wndPreviewBar, "Preview Resource", CBRS_LEFT, IDW_PREVIEW_BAR, AFX_IDW_DOCKBAR_LEFT,
                            1, 0.25f, 150, "Failed to create preview resource bar\n"))
        return -1;
    m_pBuildRecords = m_wndMessageBar.GetBuildRecordList();
    FloatControlBar(&m_wndPreviewBar, CPoint(100, 100), CBRS_ALIGN_TOP);
    m_wndPreviewBar.m_sizeMRUFloat = CSize(255, 90);

    // The configuration's menu switches.
    LoadResourceEditorSettings(ConfigPath());

    // The debugger's windows and the ICE manager that drives them.
    auto* pIceUIMgr = new C_IDEIceUIMgr(this);
    m_pIceUIMgr = pIceUIMgr;
    if (!pIceUIMgr->CreateBars()) {
        ::OutputDebugStringA("Failed to create the debug bars\n");
        return -1;
    }
    m_pIceMgr = new C_IDEIceMgr(m_hWnd, m_pIceUIMgr);

    // The menus the menu bar shows.
    m_pToolBarMgr->SetMenuInfo(3, IDR_MAINFRAME, IDR_TEXTTYPE, IDR_DISASMTYPE);

    // Layout: the saved one unless the gate says no or it cannot be used.
    BOOL bDefault = MustResetBarState();
    if (!bDefault)
        bDefault = !RestoreBarState(MAINFRAME_BARSTATE);
    if (bDefault)
        MakeDefaultLayout();
    RecalcLayout();
    m_wndMessageBar.RefreshLayout();

    // The working folder of the last run.
    CString strWorking = AfxGetApp()->GetProfileString("Directory", "Working", "");
    if (!strWorking.IsEmpty())
        _chdir(strWorking);

    // Icon choices per extension.
    m_listIcon.RemoveAll();
    GetProfileCStringList(ConfigPath(), "Icon", "Icon", m_listIcon, 0, 0);

    // The user-tools manager with the calculator as its one built-in tool.
    m_pToolsMgr = new C_IDEToolsMgr(this, m_pToolBarMgr->GetToolBar(IDW_TOOLS_TOOLBAR),
                                    CString(GetAppDirectory(TRUE).c_str()) + "Tools.cfg", ID_TOOLS_PREDEFINED_FIRST,
                                    ID_TOOLS_PREDEFINED_LAST, ID_TOOLS_USER_FIRST, ID_TOOLS_CUSTOMIZE);
    m_pToolsMgr->AddTool("calc.exe", "Calculator");
    m_pToolsMgr->Load();
    m_pToolsMgr->RefreshToolBar();

    // Message boxes of the support library belong to the frame.
    g_hMainWnd = m_hWnd;

    m_dwEnforceDisable = (DWORD)ConfigInt("EnforeFunc", "EnforceDisableMenuItems");
    m_dwNameWithoutSpace = (DWORD)ConfigInt("EnforeFunc", "NameWithoutSpace");

    // The fatal-error watchdog.
    LoadFatalErrorDefinitions(ConfigPath());
    if (m_bEnableAutoClose)
        SetTimer(TIMER_MAIN_WATCHDOG, 500, nullptr);
    return 0;
}

BOOL CMainFrame::CreateDockedBar(TWKControlBar& bar, LPCSTR lpszTitle, DWORD dwStyle, UINT nID, UINT nDockBarID,
                                 int nCol, float fPctWidth, int nLength, LPCSTR lpszFailure)
{
    if (!bar.Create(this, lpszTitle, dwStyle | WS_CHILD | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY, kBarExStyle,
                    nID)) {
        ::OutputDebugStringA(lpszFailure);
        return FALSE;
    }
    bar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBarAt(&bar, nDockBarID, nCol, 0, fPctWidth, nLength);
    // The fraction it comes back with after floating.
    bar.m_fSavedPctWidth = fPctWidth;
    return TRUE;
}

void CMainFrame::MakeDefaultLayout()
{
    // A restore that failed leaves its toolbars: the default ones are made anew.
    CPtrArray arrBars;
    m_pToolBarMgr->GetToolBars(arrBars);
    for (INT_PTR i = 0; i < arrBars.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arrBars[i]);
        if (pBar != m_pMenuBar && ::IsWindow(pBar->m_hWnd))
            pBar->DestroyWindow();
    }
    RecalcLayout();
    m_pToolBarMgr->SetDefaultDockState();
    if (m_pIceUIMgr)
        m_pIceUIMgr->HideDebugWindows();
    LoadFindHistory();
    LoadFindDirHistory();
    SetupFindBox();
}

// ---- layout

BOOL CMainFrame::MustResetBarState()
{
    CString strVersion;
    strVersion.LoadString(IDS_VERSION);
    CWinApp* pApp = AfxGetApp();
    int nNormalExit = (int)pApp->GetProfileInt("", "NormalExitApp", 0);
    int nEnteredDebug = (int)pApp->GetProfileInt("", "EnteredDebug", 0);
    // A crash before the next normal close leaves 0.
    pApp->WriteProfileInt("", "NormalExitApp", 0);
    BOOL bReset = nNormalExit == 0 || nEnteredDebug == 1;
    if (!bReset)
        bReset = pApp->GetProfileString("Version", "Version", "1.0") != strVersion;
    if (!bReset)
        return FALSE;
    // The debug bars' saved layout is ignored with it.
    if (auto* pIceUIMgr = dynamic_cast<C_IDEIceUIMgr*>(m_pIceUIMgr))
        pIceUIMgr->IgnoreSavedBarState();
    pApp->WriteProfileInt("", "EnteredDebug", 0);
    pApp->WriteProfileString("Version", "Version", strVersion);
    return TRUE;
}

void CMainFrame::SaveBarState(LPCSTR lpszProfileName)
{
    TWKMDIFrameWnd::SaveBarState(lpszProfileName);
    m_pToolBarMgr->SaveState(lpszProfileName);
}

BOOL CMainFrame::RestoreBarState(LPCSTR lpszProfileName)
{
    m_pToolBarMgr->LoadState(lpszProfileName);
    LoadBarState(lpszProfileName);
    LoadFindHistory();
    LoadFindDirHistory();
    return SetupFindBox();
}

TWKComboBtn* CMainFrame::GetFindBox()
{
    TWKCustomToolBar* pFile = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(IDW_FILE_TOOLBAR) : nullptr;
    if (!pFile || !::IsWindow(pFile->m_hWnd))
        return nullptr;
    int nIndex = pFile->CommandToIndex(ID_EDIT_FIND);
    if (nIndex < 0)
        return nullptr;
    auto* pBox = dynamic_cast<TWKComboBtn*>(pFile->GetButton(nIndex));
    if (!pBox || !::IsWindow(pBox->m_hWnd) || ::GetDlgCtrlID(pBox->m_hWnd) != IDC_FIND_BOX)
        return nullptr;
    return pBox;
}

BOOL CMainFrame::SetupFindBox()
{
    TWKComboBtn* pBox = GetFindBox();
    if (!pBox)
        return FALSE;
    pBox->SendMessage(WM_SETFONT, (WPARAM)m_font.m_hObject, TRUE);
    // Its button form and back: the box measures itself in the new font.
    if (pBox->m_bShown) {
        pBox->SetMode(TRUE);
        pBox->SetMode(FALSE);
    }
    RecalcLayout();
    return TRUE;
}

// ---- activation and timers

void CMainFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    TWKMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        return;
    RefreshDocuments();
    LoadFindHistory();
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_MAIN_WATCHDOG) {
        CheckFatalErrorWindows();
    } else if (nIDEvent == TIMER_MAIN_PROGRESS && !m_bProgressPaused && ::IsWindow(m_wndProgress.m_hWnd)) {
        m_wndProgress.StepIt();
        if (m_wndProgress.m_nPos >= 100)
            m_wndProgress.Reset();
    }
    TWKMDIFrameWnd::OnTimer(nIDEvent);
}

// ---- close

void CMainFrame::OnClose()
{
    if (m_bEnableAutoClose)
        KillTimer(TIMER_MAIN_WATCHDOG);
    // Print preview ends.
    SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    // Debug mode is left, and a target that runs or writes is stopped.
    if (m_pIceMgr) {
        if (m_pIceMgr->IsDebugging())
            OnCloseDebugger();
        if (m_pIceMgr->IsBusy())
            m_pIceMgr->StopAll();
    }
    if (m_bBuilding || m_bFinding)
        ::MessageBoxA(m_hWnd, "Wait for building or finding in files processes terminated !!", "Wait",
                      MB_OK | MB_ICONEXCLAMATION);
    // The close is pending already.
    if (m_bExitAfterBuild)
        return;
    // The build-finished step closes the frame.
    if (m_bBuilding) {
        m_bExitAfterBuild = TRUE;
        if (m_pProjectMgr)
            m_pProjectMgr->StopBuild();
        return;
    }
    // A running search is told to stop, and the frame stays until its thread
    // has sent its last records and its completion.
    StopFindAndWait();
    // A command waits for its build in a loop of its own.
    if (m_bModalBuild)
        return;
    // The user may cancel a save question.
    if (!CloseProject(FALSE))
        return;
    SaveBarState(MAINFRAME_BARSTATE);
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (pApp && pApp->m_pRecentProjectList)
        pApp->m_pRecentProjectList->WriteList();
    // From here on no update handler touches a command.
    m_bClosing = TRUE;
    CWinApp* pWinApp = AfxGetApp();
    WINDOWPLACEMENT wp = { sizeof wp };
    if (GetWindowPlacement(&wp)) {
        pWinApp->WriteProfileInt("WindowPos", "Left", wp.rcNormalPosition.left);
        pWinApp->WriteProfileInt("WindowPos", "Top", wp.rcNormalPosition.top);
        pWinApp->WriteProfileInt("WindowPos", "Right", wp.rcNormalPosition.right);
        pWinApp->WriteProfileInt("WindowPos", "Bottom", wp.rcNormalPosition.bottom);
    }
    pWinApp->WriteProfileInt("WindowPos", "IsMaximized", IsZoomed() ? 1 : 0);
    char szDir[260] = "";
    if (_getcwd(szDir, sizeof szDir))
        pWinApp->WriteProfileString("Directory", "Working", szDir);
    pWinApp->WriteProfileInt("", "NormalExitApp", 1);
    RemoveWheelHook();
    TWKMDIFrameWnd::OnClose();
}

// ---- start-up and projects

BOOL CMainFrame::InitProjectManager()
{
    m_pProjectMgr = nullptr;
    // The emulator may be missing: the IDE works without it.
    if (m_pIceMgr)
        m_pIceMgr->Init();
    if (!m_projectMgrPtr.Load(m_hWnd))
        return FALSE;
    m_pProjectMgr = m_projectMgrPtr.Get();
    return m_pProjectMgr && m_pProjectMgr->Init(1);
}

void CMainFrame::SetIcePortForTarget(const char* pszPart)
{
    if (!m_pIceMgr || !pszPart)
        return;
    CString strPart = pszPart;
    CString strKey;
    strKey.Format("ICE Port - %s", (LPCSTR)strPart.Left(4));
    CString strPort = AfxGetApp()->GetProfileString("ICE", strKey, nullptr);
    CString strFamilies = IceReadPortFamilies(pszPart, TRUE);
    CString strFamily = strPort.Left(3);
    strFamily.MakeUpper();
    if (!strPort.IsEmpty() && strFamilies.Find(strFamily) < 0)
        strPort.Empty();
    if (strPort.IsEmpty())
        strPort = IceFirstFamilyPort(strFamilies);
    CString strNone;
    C_IDEIcePortDlg dlg(strNone, nullptr);
    dlg.ChooseDefaultPort(strPort);
    m_pIceMgr->SelectPort(strPort);
}

