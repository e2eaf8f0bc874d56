// The application's start-up, shut-down, templates and recent lists.
#include "ide/workbench/AsmIDE.h"
#include <direct.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/ChildFrm.h"
#include "ide/workbench/IDEEditorView.h"
#include "ide/workbench/MainFrm.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "resources/ideres.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/ui/CUMsgHandler.h"

char g_szAppDir[MAX_PATH];
DWORD g_dwUsbUbpAddress = IDE_DEFAULT_USBUBP_ADDRESS;
CMultiDocTemplate* g_pTextTemplate = nullptr;

static const char kConfigFile[] = "ZIDE.cfg";

// ---------------------------------------------------------------------------
// Command line

void C_IDECommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag && pszParam) {
        const size_t n = strlen(pszParam);
        if (_stricmp(pszParam, "build") == 0) {
            m_bBuild = TRUE;
        } else if (_strnicmp(pszParam, "debug", 5) == 0) {
            m_bBuild = TRUE;
            m_bDebug = TRUE;
            // The five letters and one separator ("debug:COM2").
            m_strPort = n > 6 ? pszParam + 6 : "";
            if (m_strPort.IsEmpty())
                m_strPort = "LPT1";
            m_strPort.MakeUpper();
        } else if (_stricmp(pszParam, "hide") == 0) {
            m_bHide = TRUE;
        } else if (_strnicmp(pszParam, "IVKID", 5) == 0) {
            m_dwInvokerId = n > 6 ? strtoul(pszParam + 6, nullptr, 16) : 0;
        } else if (_strnicmp(pszParam, "IVKHWND", 7) == 0) {
            m_dwInvokerWnd = n > 8 ? strtoul(pszParam + 8, nullptr, 16) : 0;
        }
    }
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
}

// ---------------------------------------------------------------------------
// The application

BEGIN_MESSAGE_MAP(CAsmIDEApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, OnFileNewText)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFiles)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_PROJECT1, OnUpdateRecentProjects)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_PROJECT1, ID_FILE_MRU_PROJECT16, OnOpenRecentProject)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

CAsmIDEApp::CAsmIDEApp() = default;

CAsmIDEApp::~CAsmIDEApp()
{
    if (CWnd* pMain = m_pMainWnd) {
        m_pMainWnd = nullptr;
        // A frame deletes itself with its window.
        if (::IsWindow(pMain->GetSafeHwnd()))
            pMain->DestroyWindow();
        else
            delete pMain;
    }
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    delete m_pRecentProjectList;
    m_pRecentProjectList = nullptr;
}

void CAsmIDEApp::Unregister()
{
    m_instanceRegistry.Unregister(GetCurrentProcessId());
}

void CAsmIDEApp::CopyChipConfiguration(const char* pszFolder)
{
    const C_CUString config = C_CUString(pszFolder) + kConfigFile;
    if (GetPrivateProfileIntA("CFG", "IsSubChipCFG", 0, config) == 0)
        return;
    C_CUString name;
    if (!GetProfileValue(config, "CFG", "MainChipCFG", name, 0, CU_MSG_NONE))
        return;
    const C_CUString source = C_CUString(pszFolder) + name;
    // Copying the configuration over itself and then deleting the "source" would lose it.
    char full[MAX_PATH] = "", fullConfig[MAX_PATH] = "";
    if (!::GetFullPathNameA(source, MAX_PATH, full, nullptr) ||
        !::GetFullPathNameA(config, MAX_PATH, fullConfig, nullptr) || _stricmp(full, fullConfig) == 0)
        return;
    if (!FileExists(source))
        return;
    if (::CopyFileA(source, config, FALSE))
        ::DeleteFileA(source);
}

DWORD CAsmIDEApp::ReadBootAddress(const char* pszFolder)
{
    const C_CUString file = C_CUString(pszFolder) + "usbubp.ini";
    char text[256] = "";
    GetPrivateProfileStringA("USBUBP_DEF", "ADDRESS", "", text, sizeof text, file);
    unsigned int address = 0;
    // A text that is no hexadecimal number counts as missing.
    if (!text[0] || sscanf(text, "%x", &address) != 1)
        return IDE_DEFAULT_USBUBP_ADDRESS;
    return address;
}

BOOL CAsmIDEApp::MakeProjectPath(const char* pszCurDir, const char* pszName, C_CUString& path)
{
    path = pszName;
    if (path.IsEmpty() || !ResolvePath(pszCurDir, path, CU_PATH_PLAIN, CU_MSG_NONE))
        return FALSE;
    const C_CUString ext = C_CUPath(path).GetExt();
    if (ext.IsEmpty())
        path += ".wbi";
    else if (_stricmp(ext, ".wbi") != 0)
        return FALSE;
    return TRUE;
}

BOOL CAsmIDEApp::BuildWindowless(const C_IDECommandLineInfo& cmdInfo, const char* pszCurDir)
{
    C_CUString path;
    if (!MakeProjectPath(pszCurDir, cmdInfo.m_strFileName, path))
        return FALSE;
    C_ProjectMgrPtr projectMgr;
    if (!projectMgr.Load(NULL))
        return FALSE;
    I_ProjectMgr* pMgr = projectMgr.Get();
    pMgr->Init(1);
    // The emulator for the download and run after the build; nothing of it shows.
    C_IDEDummyIceUIMgr iceUIMgr;
    C_IDEIceMgr iceMgr(::GetDesktopWindow(), &iceUIMgr);
    iceMgr.Init();
    if (!pMgr->OpenProject(path))
        return FALSE;
    // Without an owner window the component builds on this thread and writes its lines
    // to "ZideMsg.txt" in the current folder.
    if (!pMgr->Build(FALSE))
        return FALSE;
    if (!cmdInfo.m_bDebug)
        return TRUE;
    char obj[PM_PATH_SIZE] = "";
    char second[PM_PATH_SIZE] = "";
    pMgr->GetOutputFile(obj);
    pMgr->GetSecondOutputFile(second);
    I_PMProject* pProject = pMgr->GetProject();
    CString strPart = pProject && pProject->GetPartNumber() ? pProject->GetPartNumber() : "";
    CString strObj = obj, strSecond = second;
    const char* pszPort = cmdInfo.m_strPort.IsEmpty() ? nullptr : (LPCSTR)cmdInfo.m_strPort;
    return iceMgr.ExecuteOtherObj(strPart, strObj, strSecond, pszPort);
}

BOOL CAsmIDEApp::InitInstance()
{
    g_hInstance = m_hInstance;
    char module[MAX_PATH] = "";
    ::GetModuleFileNameA(m_hInstance, module, MAX_PATH);
    lstrcpynA(g_szAppDir, C_CUPath(module).GetFolder(), MAX_PATH);

    CopyChipConfiguration(g_szAppDir);
    g_dwUsbUbpAddress = ReadBootAddress(g_szAppDir);

    char curDir[MAX_PATH + 1] = "";
    if (!_getcwd(curDir, MAX_PATH))
        curDir[0] = 0;
    size_t n = strlen(curDir);
    if (n > 0 && curDir[n - 1] != '\\') {
        curDir[n] = '\\';
        curDir[n + 1] = 0;
    }

    C_IDECommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    m_instanceRegistry.Register(GetCurrentProcessId(), cmdInfo.m_dwInvokerId, cmdInfo.m_dwInvokerWnd);

    if (cmdInfo.m_bHide) {
        m_bWindowless = TRUE;
        m_bWindowlessDone = cmdInfo.m_bBuild && BuildWindowless(cmdInfo, curDir);
        Unregister();
        return m_bWindowlessDone;
    }
    return StartWindowed(cmdInfo, curDir);
}

BOOL CAsmIDEApp::StartWindowed(C_IDECommandLineInfo& cmdInfo, const char* pszCurDir)
{
    if (!AfxOleInit()) {
        AfxMessageBox(IDP_OLE_INIT_FAILED);
        Unregister();
        return FALSE;
    }
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    char key[200] = "";
    GetPrivateProfileStringA("IDESystem", "SDSName", "", key, sizeof key, C_CUString(g_szAppDir) + kConfigFile);
    SetRegistryKey(key);
    LoadStdProfileSettings(4);
    WriteProfileInt("Editor\\Default Files", "Chroma", 0);
    WriteProfileInt("Editor\\Default Files", "Tab size", 4);
    RegisterDocTemplates();

    CMainFrame* pFrame = new CMainFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        Unregister();
        return FALSE;
    }
    m_instanceRegistry.SetMainWindow(GetCurrentProcessId(), (DWORD)(UINT_PTR)pFrame->m_hWnd);
    m_pMainWnd = pFrame;

    CRect rc;
    pFrame->GetWindowRect(&rc);
    rc.left = (int)GetProfileInt("WindowPos", "Left", rc.left);
    rc.top = (int)GetProfileInt("WindowPos", "Top", rc.top);
    rc.right = (int)GetProfileInt("WindowPos", "Right", rc.right);
    rc.bottom = (int)GetProfileInt("WindowPos", "Bottom", rc.bottom);
    pFrame->MoveWindow(&rc, FALSE);
    const int nMaximized = (int)GetProfileInt("WindowPos", "IsMaximized", -1);
    if (nMaximized == 1)
        m_nCmdShow = SW_SHOWMAXIMIZED;
    else if (nMaximized == 0)
        m_nCmdShow = SW_SHOWNORMAL;
    pFrame->ShowWindow(m_nCmdShow);
    pFrame->UpdateWindow();

    if (!pFrame->InitProjectManager()) {
        Unregister();
        return FALSE;
    }

    C_CUString path;
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen &&
        MakeProjectPath(pszCurDir, cmdInfo.m_strFileName, path) && pFrame->OpenProject(path)) {
        if (cmdInfo.m_bBuild)
            pFrame->SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
        if (cmdInfo.m_bDebug)
            pFrame->StartDebug(cmdInfo.m_strPort.Left(19));
    }
    return TRUE;
}

void CAsmIDEApp::RegisterDocTemplates()
{
    g_pTextTemplate = new CMultiDocTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(CAsmIDEDoc), RUNTIME_CLASS(CChildFrame),
                                            RUNTIME_CLASS(C_IDEEditorView));
    AddDocTemplate(g_pTextTemplate);
    AddDocTemplate(new CMultiDocTemplate(IDR_DISASMTYPE, RUNTIME_CLASS(C_IDEDisAsmDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(C_IDEDisAsmView)));
}

int CAsmIDEApp::Run()
{
    // The windowless road leaves no window whose closing would end the loop.
    if (!m_pMainWnd)
        return ExitInstance();
    return CWinApp::Run();
}

int CAsmIDEApp::ExitInstance()
{
    Unregister();
    int nCode = CWinApp::ExitInstance();
    // The windowless road tells its starter whether the project was built.
    return m_bWindowless ? (m_bWindowlessDone ? 0 : 1) : nCode;
}

void CAsmIDEApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU > 16)
        nMaxMRU = 16;
    delete m_pRecentFileList;
    m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", (int)nMaxMRU, 30);
    m_pRecentFileList->ReadList();
    delete m_pRecentProjectList;
    m_pRecentProjectList =
        new CRecentFileList(ID_FILE_MRU_PROJECT1, "Recent Project List", "Project%d", (int)nMaxMRU, 30);
    m_pRecentProjectList->ReadList();
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

CDocTemplate* CAsmIDEApp::FindDocTemplate(LPCSTR pszName)
{
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CString name;
        if (pTemplate && pTemplate->GetDocString(name, CDocTemplate::fileNewName) && name == pszName)
            return pTemplate;
    }
    return nullptr;
}

CDocument* CAsmIDEApp::OpenNewDocument(LPCSTR pszName, LPCSTR pszPath)
{
    CDocTemplate* pTemplate = FindDocTemplate(pszName);
    return pTemplate ? pTemplate->OpenDocumentFile(pszPath, TRUE) : nullptr;
}

// ---------------------------------------------------------------------------
// Commands

void CAsmIDEApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CAsmIDEApp::OnFileNewText()
{
    OpenNewDocument("Text", nullptr);
}

void CAsmIDEApp::UpdateRecentSubmenu(CRecentFileList* pList, CCmdUI* pCmdUI)
{
    // The framework asks when the submenu opens, for its first item: the list's place.
    if (!pList || pList->GetSize() == 0 || (*pList)[0].IsEmpty())
        pCmdUI->Enable(FALSE);
    else
        pList->UpdateMenu(pCmdUI);
}

void CAsmIDEApp::OnUpdateRecentFiles(CCmdUI* pCmdUI)
{
    UpdateRecentSubmenu(m_pRecentFileList, pCmdUI);
}

void CAsmIDEApp::OnUpdateRecentProjects(CCmdUI* pCmdUI)
{
    UpdateRecentSubmenu(m_pRecentProjectList, pCmdUI);
}

BOOL CAsmIDEApp::OnOpenRecentProject(UINT nID)
{
    const int nIndex = (int)(nID - ID_FILE_MRU_PROJECT1);
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (pFrame && m_pRecentProjectList && nIndex >= 0 && nIndex < m_pRecentProjectList->GetSize()) {
        const CString path = (*m_pRecentProjectList)[nIndex];
        if (!path.IsEmpty() && !pFrame->OpenProject(path))
            m_pRecentProjectList->Remove(nIndex);
    }
    return TRUE;
}

void CAsmIDEApp::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    if (CMainFrame* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        pFrame->OnUpdateEditCopy(pCmdUI);
}

void CAsmIDEApp::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    if (CMainFrame* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        pFrame->OnUpdateEditSelectAll(pCmdUI);
}

// ---------------------------------------------------------------------------
// About box

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX)
{
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const C_CUString config = C_CUString(g_szAppDir) + "Zide.cfg";
    C_CUString name;
    GetProfileValue(config, "IDESystem", "SDSName", name, 0, CU_MSG_NONE);
    UINT nMajor = 0, nMinor = 0, nBuild = 0;
    CString text;
    if (ReadVersionValue(config, "IDESystem", "SDSVersion", &nMajor, &nMinor, &nBuild))
        text.Format("%s Ver. %X.%02X.%03X", (LPCSTR)name, nMajor, nMinor, nBuild);
    else
        text.Format("%s Ver. (unknown)", (LPCSTR)name);
    SetDlgItemText(IDC_ABOUT_VERSION, text);

    if (m_wndLink.SubclassDlgItem(IDC_ABOUT_LINK, this)) {
        // The link line's own text is the maker's web address.
        CString url;
        m_wndLink.GetWindowText(url);
        if (url.Find("://") < 0)
            url = "http://" + url;
        m_wndLink.SetURL(url);
        m_wndLink.SetLinkColor(RGB(0, 0, 255));
        m_wndLink.SetHoverColor(RGB(0, 0, 255));
        m_wndLink.SetVisitedColor(RGB(64, 128, 128));
    }
    return TRUE;
}
