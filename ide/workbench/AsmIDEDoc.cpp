// The source document: open, new, save with CR LF line ends, the file time
// and reload, and the breakpoint marks of its lines.
#include "ide/workbench/AsmIDEDoc.h"
#include "afx/afxres.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/workbench/IDEEditView.h"
#include "ide/workbench/IDEProjectWnd.h"
#include "ide/workbench/MainFrm.h"
#include "support/config/CStringHelpers.h"
#include "support/config/CUPath.h"

IMPLEMENT_DYNCREATE(CAsmIDEDoc, CDocument)

CAsmIDEDoc::CAsmIDEDoc() = default;

CAsmIDEDoc::~CAsmIDEDoc()
{
    // The marks are cleared while the store's lines still exist.
    delete m_pBreakLineMapList;
    m_pBreakLineMapList = nullptr;
}

BOOL LoadDocumentText(CDocument* pDoc, TWKEdit& edit, LPCSTR lpszPathName)
{
    if (edit.LoadFile(lpszPathName) != 0) {
        pDoc->ReportSaveLoadException(lpszPathName, nullptr, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    edit.SetModified(FALSE);
    pDoc->SetModifiedFlag(FALSE);
    return TRUE;
}

CMainFrame* CAsmIDEDoc::MainFrame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

BOOL CAsmIDEDoc::ApplyEditorSyntax(LPCSTR lpszPath)
{
    CMainFrame* pFrame = MainFrame();
    return pFrame ? pFrame->GetProjectWnd()->SetEditorSyntax(&m_Edit, lpszPath) : FALSE;
}

void CAsmIDEDoc::ApplyFileIcon(LPCSTR lpszPath)
{
    CMainFrame* pFrame = MainFrame();
    POSITION pos = GetFirstViewPosition();
    CView* pView = pos ? GetNextView(pos) : nullptr;
    if (!pFrame || !pView)
        return;
    CString strIcon;
    pFrame->GetIconNameForFile(strIcon, lpszPath);
    if (strIcon.IsEmpty())
        return;
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), strIcon, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    CFrameWnd* pChild = pView->GetParentFrame();
    if (hIcon && pChild)
        pChild->SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)hIcon);
}

BOOL CAsmIDEDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->GetProjectWnd()->SetProjectModified(TRUE);
    m_bSyntaxApplied = ApplyEditorSyntax(lpszPathName);
    int nTab = 0;
    if (IsTextFileExtension(CString(lpszPathName), &nTab) && nTab > 0)
        m_Edit.SetTabSize(nTab);
    ApplyFileIcon(lpszPathName);
    // The caller reports a file that cannot be read.
    if (m_Edit.LoadFile(lpszPathName) != 0)
        return FALSE;
    SetFilePath(lpszPathName, TRUE);
    return TRUE;
}

BOOL CAsmIDEDoc::OnNewDocument()
{
    if (m_Edit.IsModified() && !SaveModified())
        return FALSE;
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_Edit.SetProfileSection("Editor\\Default Files");
    m_Edit.LoadSettings();
    if (CMainFrame* pFrame = MainFrame())
        pFrame->GetProjectWnd()->SetProjectModified(TRUE);
    m_strFileName = GetTitle();
    return TRUE;
}

BOOL CAsmIDEDoc::OnSaveDocument(LPCSTR lpszPathName)
{
    // A file saved under a new name gets its colouring here.
    if (!m_bSyntaxApplied) {
        m_bSyntaxApplied = ApplyEditorSyntax(lpszPathName);
        int nTab = 0;
        if (!m_bSyntaxApplied && IsTextFileExtension(CString(lpszPathName), &nTab) && nTab > 0)
            m_Edit.SetTabSize(nTab);
        UpdateAllViews(nullptr, 0, nullptr);
    }
    int nResult = m_Edit.SaveNormalized(lpszPathName);
    if (nResult != 0) {
        // Path, file time and marks stay as they were.
        ReportSaveLoadException(lpszPathName, nullptr, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    // The file now has the edited lines: the debugger's breakpoints follow them before the
    // marks are rebuilt from it, even when no repaint came since the edit.
    if (m_strPath.CompareNoCase(lpszPathName) == 0)
        ResyncBreakpoints(nullptr);
    if (m_Edit.m_bLineEndsChanged)
        ReloadFromDisk(lpszPathName);   // the views show the text as written
    SetFilePath(lpszPathName);
    return TRUE;
}

void CAsmIDEDoc::OnCloseDocument()
{
    CMainFrame* pFrame = MainFrame();
    if (pFrame) {
        // Out of the report table, and no build record stays tied to its lines.
        pFrame->GetProjectWnd()->ForgetDocument(this);
        pFrame->GetProjectWnd()->SetProjectModified(TRUE);
    }
    CDocument::OnCloseDocument();
}

BOOL CAsmIDEDoc::SaveModified()
{
    SetModifiedFlag(m_Edit.IsModified());
    return CDocument::SaveModified();
}

BOOL CAsmIDEDoc::IsModified()
{
    return m_Edit.IsModified();
}

void CAsmIDEDoc::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    CDocument::SetPathName(lpszPathName, bAddToMRU);
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (auto* pView = dynamic_cast<C_IDEEditView*>(GetNextView(pos)))
            pView->OnCaretMoved();
}

void CAsmIDEDoc::SetFilePath(LPCSTR lpszPath, BOOL bLoaded)
{
    m_strPath = lpszPath;
    m_strFileName = (LPCSTR)C_CUPath(lpszPath).GetFileName();
    RebuildBreakLineMap();
    const FILETIME& ft = m_Edit.m_ftLoadedWrite;
    if (bLoaded && (ft.dwLowDateTime || ft.dwHighDateTime))
        m_timeFile = CTime(ft);   // as the file's status gives it, without opening the file again
    else
        RecordFileTime();
}

BOOL CAsmIDEDoc::ReadFileTime(CTime& time)
{
    if (m_strPath.IsEmpty())
        return FALSE;
    CFileException error;
    CFile* pFile = GetFile(m_strPath, CFile::modeRead | CFile::shareDenyNone, &error);
    if (!pFile)
        return FALSE;
    CFileStatus status;
    BOOL bOK = pFile->GetStatus(status);
    ReleaseFile(pFile, FALSE);
    if (bOK)
        time = status.m_mtime;
    return bOK;
}

void CAsmIDEDoc::RecordFileTime()
{
    CTime time;
    if (ReadFileTime(time))
        m_timeFile = time;
}

BOOL CAsmIDEDoc::HasFileChanged()
{
    CTime time;
    return ReadFileTime(time) && time != m_timeFile;
}

void CAsmIDEDoc::ReloadFromDisk(LPCSTR lpszPath)
{
    CString strPath = lpszPath;   // may be m_strPath itself
    delete m_pBreakLineMapList;
    m_pBreakLineMapList = nullptr;
    // The lines go: build records tied to them are cut first.
    if (CMainFrame* pFrame = MainFrame())
        pFrame->GetProjectWnd()->GetLineTies().CutStore(&m_Edit);
    BOOL bLoaded = m_Edit.LoadFile(strPath) == 0;
    SetPathName(strPath, TRUE);
    SetFilePath(strPath, bLoaded);
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (auto* pView = dynamic_cast<C_IDEEditView*>(GetNextView(pos)))
            pView->ResetAfterReload();
    UpdateAllViews(nullptr, 0, nullptr);
    m_Edit.SetModified(FALSE);
}

// ---- breakpoint marks

void CAsmIDEDoc::RebuildBreakLineMap()
{
    delete m_pBreakLineMapList;
    CMainFrame* pFrame = MainFrame();
    m_pBreakLineMapList = new C_IDEBreakLineMapList(&m_Edit, pFrame ? pFrame->GetIceMgr() : nullptr, m_strPath);
    m_pBreakLineMapList->Load();
}

void CAsmIDEDoc::RefreshMarkers()
{
    for (POSITION pos = GetFirstViewPosition(); pos;)
        if (auto* pView = dynamic_cast<C_IDEEditView*>(GetNextView(pos)))
            pView->InvalidateGutter();
}

void CAsmIDEDoc::MoveHistoryMarker(CAsmIDEDoc* pDoc, int nLine)
{
    for (CDocument* pOpen : C_IDEProjectWnd::GetTextDocuments()) {
        auto* pSource = dynamic_cast<CAsmIDEDoc*>(pOpen);
        int nWant = pSource == pDoc ? nLine : 0;
        if (!pSource || pSource->m_nHistoryLine == nWant)
            continue;
        pSource->m_nHistoryLine = nWant;
        pSource->RefreshMarkers();
    }
}

void CAsmIDEDoc::InsertBreakpoint(int nLine)
{
    if (m_pBreakLineMapList && m_pBreakLineMapList->InsertBreakpoint(nLine)) {
        RefreshMarkers();
        SyncDisAsmBreakpoints();
    }
}

void CAsmIDEDoc::RemoveBreakpoint(int nLine)
{
    if (m_pBreakLineMapList && m_pBreakLineMapList->RemoveBreakpoint(nLine)) {
        RefreshMarkers();
        SyncDisAsmBreakpoints();
    }
}

void CAsmIDEDoc::ToggleBreakpointEnable(int nLine)
{
    if (m_pBreakLineMapList && m_pBreakLineMapList->ToggleBreakpointEnable(nLine)) {
        RefreshMarkers();
        SyncDisAsmBreakpoints();
    }
}

void CAsmIDEDoc::ResyncBreakpoints(TWKEditLine* pHint)
{
    if (m_pBreakLineMapList)
        m_pBreakLineMapList->ResyncBreakpoints(pHint);
}

void CAsmIDEDoc::SyncDisAsmBreakpoints()
{
    // The listing's marks follow once the debugger's windows show one; the
    // user-interface manager's refresh rebuilds them.
    CMainFrame* pFrame = MainFrame();
    if (pFrame && pFrame->IsDebugging() && pFrame->GetIceUIMgr())
        pFrame->GetIceUIMgr()->RefreshBreakpoints();
}
