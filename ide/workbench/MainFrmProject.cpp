// The frame's project side: opening (with the conversion of old project
// files), saving and closing projects, the bar toggles of the View menu and
// the open-document look-ups.
#include "ide/workbench/MainFrm.h"
#include "ide/workbench/IDEOptionDlg.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "support/config/CUIniFile.h"
#include "support/config/CStringHelpers.h"
#include "support/ui/DirDialog.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include <direct.h>

namespace {

CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

int Message(CWnd* pWnd, const CString& strText, UINT nCaption, UINT nType)
{
    return ::MessageBoxA(pWnd->GetSafeHwnd(), strText, LoadText(nCaption), nType);
}

CString Profile(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszPath)
{
    char szValue[512] = "";
    GetPrivateProfileStringA(lpszSection, lpszKey, "", szValue, sizeof szValue, lpszPath);
    return szValue;
}

CString NumberedKey(LPCSTR lpszPrefix, int n)
{
    CString strKey;
    strKey.Format("%s%d", lpszPrefix, n);
    return strKey;
}

}  // namespace

// ---- the output window's side

// Each request is also noted in m_listOutputRequests, in order, for the tests.
void CMainFrame::ClearOutputPage(int nPage)
{
    CString s;
    s.Format("clear %d", nPage);
    m_listOutputRequests.AddTail(s);
    if (C_MessageCtrl* pPage = m_wndMessageBar.m_hWnd ? m_wndMessageBar.m_wndTabs.GetPageByIndex(nPage) : nullptr)
        pPage->Clear(TRUE);
    // The "Build" page's records are gone, and with them their line ties.
    if (nPage == OUTPUT_PAGE_BUILD)
        m_wndProjectWnd.GetLineTies().Clear();
}

namespace {
void SendLogRecord(C_MessageBar& bar, int nKind, LPCSTR lpszFile)
{
    if (!bar.m_hWnd)
        return;
    tagMessageRecord rec = {};
    rec.kind = nKind;
    if (lpszFile)
        lstrcpynA(rec.fileName, lpszFile, sizeof rec.fileName);
    bar.SendMessage(CU_WM_MESSAGE_RECORD, 0, reinterpret_cast<LPARAM>(&rec));
}
} // namespace

void CMainFrame::StartOutputLog(LPCSTR lpszFile)
{
    // The record's file field holds at most 255 characters.
    m_listOutputRequests.AddTail("log " + CString(lpszFile).Left(255));
    SendLogRecord(m_wndMessageBar, CU_REC_START_LOG, lpszFile);
}

void CMainFrame::WriteOutputLog()
{
    m_listOutputRequests.AddTail("write log");
    SendLogRecord(m_wndMessageBar, CU_REC_WRITE_LOG, nullptr);
}

// ---- opening

BOOL CMainFrame::OpenProject(LPCSTR lpszPath)
{
    CString strPath(lpszPath);
    ClearOutputPage(2);
    StopTarget();
    DWORD dwAttr = GetFileAttributesA(strPath);
    if (dwAttr == INVALID_FILE_ATTRIBUTES || (dwAttr & FILE_ATTRIBUTE_DIRECTORY)) {
        CString strText;
        strText.Format(LoadText(IDS_UNABLE_OPEN_PROJECT), (LPCSTR)strPath);
        Message(this, strText, IDS_CAPTION_ERROR, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (dwAttr & FILE_ATTRIBUTE_READONLY) {
        CString strText;
        strText.Format("File %s is readonly.\nDo you want to change it writable?(Y/N)", (LPCSTR)strPath);
        if (MessageBox(strText, nullptr, MB_YESNO) == IDYES)
            SetFileAttributesA(strPath, dwAttr & ~FILE_ATTRIBUTE_READONLY);
    }
    // The log file is only named after the previous project has been closed,
    // so that the previous project's lines go to its own log.
    CString strLog;
    BOOL bLog = FALSE;
    {
        C_CUIniFile ini(strPath);
        if (ini.Load()) {
            if (!ini.GetString("VeltaneTool", "Version", 0, CU_MSG_NONE))
                ConvertProjectFile(strPath);
            if (const char* pszLog = ini.GetString("Project", "MessageDump", 0, CU_MSG_NONE)) {
                strLog = pszLog;
                bLog = TRUE;
            }
        }
    }
    if (m_bProjectOpen) {
        if (strPath.CompareNoCase(m_strProjectPath) == 0) {
            if (bLog)
                StartOutputLog(strLog);
            return TRUE;
        }
        OnFileCloseProject();
        if (m_bProjectOpen)
            return TRUE;
    }
    if (bLog)
        StartOutputLog(strLog);
    CWaitCursor wait;
    if (!m_pProjectMgr || !m_pProjectMgr->OpenProject(strPath)) {
        CString strText;
        strText.Format(LoadText(IDS_UNABLE_OPEN_PROJECT), (LPCSTR)strPath);
        Message(this, strText, IDS_CAPTION_ERROR, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    int nSlash = strPath.ReverseFind('\\');
    if (!m_wndProjectWnd.LoadProject(strPath.Left(nSlash + 1), strPath.Mid(nSlash + 1)))
        return FALSE;
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (pApp && pApp->m_pRecentProjectList)
        pApp->m_pRecentProjectList->Add(strPath);
    m_strProjectPath = strPath;
    IceOpenProject(strPath);
    OpenProjectFiles(strPath);
    m_wndProjectWnd.SetProjectModified(FALSE);
    UpdateDefaultTool();
    m_bProjectOpen = TRUE;
    IceProjectOpened();
    SwapMenu(MDIGetActive() ? IDR_TEXTTYPE : IDR_MAINFRAME);
    PutFindFolderFirst(strPath.Left(nSlash));
    return TRUE;
}

void CMainFrame::PutFindFolderFirst(const CString& strFolder)
{
    CStringList listDir;
    listDir.AddTail(strFolder);
    for (POSITION pos = m_listFindDir.GetHeadPosition(); pos;) {
        CString strDir = m_listFindDir.GetNext(pos);
        BOOL bSeen = FALSE;
        for (POSITION p2 = listDir.GetHeadPosition(); p2 && !bSeen;)
            bSeen = listDir.GetNext(p2).CompareNoCase(strDir) == 0;
        if (!bSeen)
            listDir.AddTail(strDir);
    }
    m_listFindDir.RemoveAll();
    m_listFindDir.AddTail(&listDir);
}

void CMainFrame::ConvertProjectFile(LPCSTR lpszPath)
{
    CString strOld = CString(lpszPath) + ".old";
    CopyFileA(lpszPath, strOld, FALSE);
    struct Side { LPCSTR section, disk; } sides[] = { { "UserDefine_Sys", "System Disk" },
                                                      { "UserDefine_User", "User Disk" } };
    for (const Side& side : sides) {
        CStringArray values;
        values.SetSize(256);
        int n = 0;
        for (int i = 1; i <= 255; i++) {
            values[i] = Profile(side.section, NumberedKey("", i), lpszPath);
            if (n == 0 && values[i].IsEmpty())
                n = i;
        }
        // All 255 taken: nothing more can be listed.
        for (LPCSTR folder : { "Application", "GraphicData", "AudioData", "Resource", "Other" })
            if (MigrateFolderFiles(folder, side.disk, side.section, values, lpszPath, n) == 1 && n > 0) {
                WritePrivateProfileStringA(side.section, NumberedKey("", n), folder, lpszPath);
                values[n] = folder;
                n = n < 255 ? n + 1 : 0;
            }
    }
    if (Profile("Console UBP", "File1", lpszPath).IsEmpty()) {
        CString strUbp = Profile("User Boot Program", "File1", lpszPath);
        if (!strUbp.IsEmpty())
            WritePrivateProfileStringA("Console UBP", "File1", strUbp, lpszPath);
    }
}

int CMainFrame::MigrateFolderFiles(LPCSTR lpszFolder, LPCSTR lpszDisk, LPCSTR lpszSection,
                                   const CStringArray& values, LPCSTR lpszPath, int n)
{
    CString strOld = CString(lpszDisk) + " - " + lpszFolder;
    CString strNew = CString(lpszSection) + " - " + lpszFolder;
    if (Profile(strOld, "File1", lpszPath).IsEmpty())
        return 0;
    int nLast = n > 0 ? n - 1 : 255;
    BOOL bListed = FALSE;
    for (int i = 1; i <= nLast && i < values.GetSize() && !bListed; i++)
        bListed = values[i].CompareNoCase(lpszFolder) == 0;
    int k = 1;
    if (bListed)
        while (k <= 255 && !Profile(strNew, NumberedKey("File", k), lpszPath).IsEmpty())
            k++;
    for (int i = 1; i <= 255 && k <= 255; i++, k++) {
        CString strFile = Profile(strOld, NumberedKey("File", i), lpszPath);
        if (strFile.IsEmpty())
            break;
        WritePrivateProfileStringA(strNew, NumberedKey("File", k), strFile, lpszPath);
    }
    return bListed ? 0 : 1;
}

void CMainFrame::OpenProjectFiles(LPCSTR lpszText)
{
    if (!m_pProjectMgr)
        return;
    C_CUStringList list;
    GetProjectFilesToOpen(m_pProjectMgr, lpszText, &list);
    for (int i = 0; i < list.GetCount(); i++)
        m_wndProjectWnd.OpenSourceFile(list.GetAt(i), -1, FALSE, const_cast<CWnd*>(&CWnd::wndTop), TRUE);
}

// ---- File Open

namespace {

// Built once per run, each while still empty.
CString g_strTextFilter, g_strSourceFilter;

}  // namespace

CString CMainFrame::BuildOpenFilter()
{
    if (g_strTextFilter.IsEmpty()) {
        CStringList list;
        GetProfileCStringList(CString(g_szAppDir) + "ZIDE.CFG", "Text File Ext", "Ext", list, 0, CU_MSG_NONE);
        CString strPattern;
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            CString strExt = list.GetNext(pos);
            int nComma = strExt.Find(',');
            if (nComma >= 0)
                strExt = strExt.Left(nComma);
            strPattern += "*." + strExt + ";";
        }
        if (!strPattern.IsEmpty()) {
            strPattern = strPattern.Left(strPattern.GetLength() - 1);
            g_strTextFilter.Format("Text files (%s)|%s|", (LPCSTR)strPattern, (LPCSTR)strPattern);
        }
    }
    if (g_strSourceFilter.IsEmpty() && m_pProjectMgr) {
        C_CUStringList exts;
        GetSourceFileExts(m_pProjectMgr, &exts);
        CString strPattern;
        BuildFilterPattern(&exts, strPattern);
        if (!strPattern.IsEmpty())
            g_strSourceFilter.Format("Source files (%s)|%s|", (LPCSTR)strPattern, (LPCSTR)strPattern);
    }
    CString strExecFilter;
    if (m_pProjectMgr) {
        C_CUStringList exts;
        GetExecutableFileExts(m_pProjectMgr, &exts);
        CString strPattern;
        BuildFilterPattern(&exts, strPattern);
        if (!strPattern.IsEmpty())
            strExecFilter.Format("Executable Files (%s)|%s|", (LPCSTR)strPattern, (LPCSTR)strPattern);
    }
    return "Project Files (*.wbi)|*.wbi|" + strExecFilter + g_strSourceFilter + g_strTextFilter
        + "All Files (*.*)|*.*||";
}

void CMainFrame::DoFileOpen()
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, BuildOpenFilter(), this);
    if (dlg.DoModal() != IDOK)
        return;
    OpenChosenFile(dlg.GetPathName());
}

void CMainFrame::OpenChosenFile(LPCSTR lpszPath)
{
    CString strPath(lpszPath);
    if (strPath.GetLength() > 255) {
        Message(this, LoadText(IDS_PATH_TOO_LONG), IDS_CAPTION_ERROR, MB_OK | MB_ICONERROR);
        return;
    }
    int nSlash = strPath.ReverseFind('\\');
    int nDot = strPath.ReverseFind('.');
    CString strExt = nDot > nSlash ? strPath.Mid(nDot) : CString();
    CString strName = strPath.Mid(nSlash + 1);
    BOOL bExecutable = FALSE;
    if (m_pProjectMgr && !strExt.IsEmpty()) {
        C_CUStringList exts;
        GetExecutableFileExts(m_pProjectMgr, &exts);
        for (int i = 0; i < exts.GetCount() && !bExecutable; i++)
            bExecutable = strExt.CompareNoCase(exts.GetAt(i)) == 0;
    }
    BOOL bProject = strExt.CompareNoCase(".wbi") == 0;
    if ((bProject || bExecutable) && (m_dwNameWithoutSpace & 1) && strName.Find(' ') >= 0) {
        Message(this, LoadText(IDS_SPACE_IN_FILENAME), IDS_CAPTION_ERROR, MB_OK | MB_ICONERROR);
        return;
    }
    if (bProject)
        OpenProject(strPath);
    else if (bExecutable)
        OpenObjFile(strPath);
    else
        m_wndProjectWnd.OpenSourceFile(strPath, -1, FALSE, const_cast<CWnd*>(&CWnd::wndTop), TRUE);
}

BOOL CMainFrame::OpenObjFile(LPCSTR lpszPath)
{
    CWaitCursor wait;
    StopTarget();
    char szPart[PM_PATH_SIZE] = "";
    if (!m_pProjectMgr || !m_pProjectMgr->CheckObjFile(lpszPath, szPart)) {
        CString strText;
        strText.Format(LoadText(IDS_INVALID_OBJ_FILE), lpszPath);
        Message(this, strText, IDS_CAPTION_ERROR, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (m_bProjectOpen && m_strProjectPath.CompareNoCase(lpszPath) == 0)
        return TRUE;
    CString strText;
    strText.Format(LoadText(IDS_CREATE_OBJ_PROJECT), lpszPath);
    if (Message(this, strText, IDS_CAPTION_MESSAGE, MB_OKCANCEL) == IDCANCEL)
        return TRUE;
    OnFileCloseProject();
    if (m_bProjectOpen)
        return TRUE;
    // The project made around the object file keeps the project path as it was.
    CString strPath(lpszPath);
    int nSlash = strPath.ReverseFind('\\');
    m_wndProjectWnd.NewProject(strPath.Left(nSlash + 1), strPath.Mid(nSlash + 1), szPart, PM_KIND_OBJ, FALSE, nullptr);
    IceNewObjProject(strPath, szPart);
    SwapMenu(MDIGetActive() ? IDR_TEXTTYPE : IDR_MAINFRAME);
    PutFindFolderFirst(strPath.Left(nSlash));
    UpdateDefaultTool();
    return TRUE;
}

// ---- saving and closing

void CMainFrame::OnUpdateProjectOpen(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bProjectOpen);
}

void CMainFrame::OnFileSaveProject()
{
    CString strFile = m_strProjectPath;
    strFile.MakeUpper();
    if (strFile.Find(".WBI") < 0)
        strFile += ".wbi";
    DWORD dwAttr = GetFileAttributesA(strFile);
    BOOL bReadOnly = dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_READONLY);
    if (bReadOnly
        && MessageBox("The project is read-only, do you want to save it?", "Warning",
                      MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        SetFileAttributesA(strFile, FILE_ATTRIBUTE_NORMAL);
    m_wndProjectWnd.SaveProject();
    if (bReadOnly)
        SetFileAttributesA(strFile, dwAttr | FILE_ATTRIBUTE_READONLY);
}

void CMainFrame::OnFileCloseProject()
{
    if (!LeaveDebugForClose())
        return;
    if (m_bCloseProjectAfterBuild)
        return;
    if (m_bBuilding) {
        MessageBox("Wait for building processes terminated !!", "Wait", MB_OK | MB_ICONWARNING);
        m_bCloseProjectAfterBuild = TRUE;
        if (m_pProjectMgr)
            m_pProjectMgr->StopBuild();
        return;
    }
    if (!m_bModalBuild && CloseProject(TRUE))
        UpdateDefaultTool();
}

BOOL CMainFrame::CloseProject(BOOL bAsk)
{
    StopTarget();
    // The writer's state is dropped only once the close can no longer be cancelled.
    if (!m_wndProjectWnd.CloseProject(bAsk))
        return FALSE;
    if (m_bImageWritten) {
        m_bImageWritten = FALSE;
        ReleaseWriter();
    }
    for (CString* pTemp : { &m_strTempUserImage, &m_strTempSysImage })
        if (!pTemp->IsEmpty()) {
            DeleteFileA(*pTemp);
            pTemp->Empty();
        }
    WriteOutputLog();
    // The separators and buttons the project added go again.
    for (POSITION pos = m_mapProjectButtons.GetStartPosition(); pos;) {
        DWORD dwBar = 0, dwCount = 0;
        m_mapProjectButtons.GetNextAssoc(pos, dwBar, dwCount);
        TWKCustomToolBar* pBar = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(dwBar) : nullptr;
        while (pBar && ::IsWindow(pBar->m_hWnd) && pBar->GetButtonCount() > (int)dwCount)
            pBar->RemoveButton(pBar->GetButtonCount() - 1);
    }
    m_mapProjectButtons.RemoveAll();
    m_hProjectAccel && DestroyAcceleratorTable(m_hProjectAccel);
    m_hProjectAccel = nullptr;
    ModifyMenuItem("File", "SaveAs Template", MENUITEM_REMOVE, 0, 0);
    if (!m_strProjectPath.IsEmpty() && Profile("VeltaneTool", "Version", m_strProjectPath).IsEmpty()
        && GetFileAttributesA(m_strProjectPath) != INVALID_FILE_ATTRIBUTES)
        WritePrivateProfileStringA("VeltaneTool", "Version", "2.00", m_strProjectPath);
    if (!IceCloseProject())
        return FALSE;
    m_strProjectPath.Empty();
    m_wndProjectWnd.m_strProjectName.Empty();
    CString strProgram(g_szAppDir);
    if (strProgram.GetLength() > 3 && strProgram.Right(1) == "\\")
        strProgram = strProgram.Left(strProgram.GetLength() - 1);
    _chdir(strProgram);
    m_wndProjectWnd.m_strProjectFolder = g_szAppDir;
    // The wizard items and buttons of the project go with it.
    SwapMenu(MDIGetActive() ? IDR_TEXTTYPE : IDR_MAINFRAME);
    return TRUE;
}

void CMainFrame::OnUpdateDuplicateProject(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bProjectOpen && !m_bBuilding && !m_bModalBuild);
}

void CMainFrame::OnFileDuplicateProject()
{
    int nSlash = m_strProjectPath.ReverseFind('\\');
    C_DirDialog dlg(nSlash >= 0 ? (LPCSTR)m_strProjectPath.Left(nSlash) : nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    CString strFolder((LPCSTR)dlg.GetPath());
    if (strFolder.IsEmpty())
        return;
    DuplicateProjectTo(strFolder);
}

BOOL CMainFrame::DuplicateProjectTo(LPCSTR lpszFolder)
{
    CString strFolder(lpszFolder);
    if (strFolder.Right(1) != "\\")
        strFolder += '\\';
    CString strOwn = m_strProjectPath.Left(m_strProjectPath.ReverseFind('\\') + 1);
    char szChosen[MAX_PATH] = "", szOwn[MAX_PATH] = "";
    if (!GetFullPathNameA(strFolder, sizeof szChosen, szChosen, nullptr))
        lstrcpynA(szChosen, strFolder, sizeof szChosen);
    if (!GetFullPathNameA(strOwn, sizeof szOwn, szOwn, nullptr))
        lstrcpynA(szOwn, strOwn, sizeof szOwn);
    if (lstrcmpiA(szChosen, szOwn) == 0) {
        Message(this, LoadText(IDS_SAME_DUPLICATE_FOLDER), IDS_CAPTION_ERROR, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    return m_pProjectMgr && m_pProjectMgr->DuplicateProject(strFolder);
}

// ---- project options

void CMainFrame::OnUpdateProjectOptions(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    I_PMProject* pProject = m_pProjectMgr && m_bProjectOpen ? m_pProjectMgr->GetProject() : nullptr;
    pCmdUI->Enable(pProject && pProject->GetProjectKind() != PM_KIND_OBJ && !m_bBuilding
                   && !m_wndProjectWnd.IsWorkspaceEmpty());
}

INT_PTR CMainFrame::RunProjectOptionsDialog(int nPage)
{
    C_IDEOptionDlg dlg(this, nPage);
    return dlg.DoModal();
}

void CMainFrame::OnProjectOptions()
{
    if (!m_pProjectMgr || RunProjectOptionsCommand(this) != IDOK)
        return;
    m_wndProjectWnd.ReloadFileInfo();
    if (m_bProjectOpen && m_pIceMgr) {
        CString strPart = ProjectPart();
        m_pIceMgr->SelectPart(strPart);
    }
}

// ---- View toggles

BOOL CMainFrame::OnViewBar(UINT nID)
{
    if (CControlBar* pBar = GetControlBar(nID + 19134))
        ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void CMainFrame::OnUpdateViewBar(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID + 19134);
    pCmdUI->SetCheck(pBar && pBar->IsVisible());
}

// ---- open documents

void CMainFrame::RefreshDocuments()
{
    for (CDocument* pDoc : C_IDEProjectWnd::GetTextDocuments()) {
        auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc);
        if (!pSource || !pSource->HasFileChanged())
            continue;
        // The new time first: No is not asked again until the file changes again.
        pSource->RecordFileTime();
        CString strText;
        strText.Format(LoadText(IDS_FILE_MODIFIED_OUTSIDE), (LPCSTR)pDoc->GetPathName());
        if (Message(this, strText, IDS_CAPTION_WARNING, MB_YESNO) != IDYES)
            continue;
        // The reload frees the store's lines: no tie may point into them.
        m_wndProjectWnd.GetLineTies().CutStore(&pSource->m_Edit);
        pSource->ReloadFromDisk(pDoc->GetPathName());
    }
}

CDocument* CMainFrame::FindOpenDocument(LPCSTR lpszPath)
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    CDocTemplate* pTemplate = pApp ? pApp->FindDocTemplate("Text") : nullptr;
    if (!pTemplate || !lpszPath || !*lpszPath)
        return nullptr;
    char szFull[MAX_PATH] = "";
    if (!GetFullPathNameA(lpszPath, sizeof szFull, szFull, nullptr))
        return nullptr;
    POSITION pos = pTemplate->GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = pTemplate->GetNextDoc(pos);
        if (pDoc->GetPathName().CompareNoCase(szFull) == 0)
            return pDoc;
    }
    return nullptr;
}

CView* CMainFrame::FindOpenView(LPCSTR lpszPath)
{
    CDocument* pDoc = FindOpenDocument(lpszPath);
    if (!pDoc)
        return nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos ? pDoc->GetNextView(pos) : nullptr;
}
