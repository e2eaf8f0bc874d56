// The frame's side of compiling and building: the build commands and their
// update rules, the progress pane, the step after a build, the tie of output
// records to source lines, and the gate that offers a build before an action.
#include "ide/workbench/MainFrm.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditorView.h"
#include "support/ui/MsgBoxEx.h"

namespace {

I_PMProject* OpenProjectOf(I_ProjectMgr* pMgr)
{
    return pMgr ? pMgr->GetProject() : nullptr;
}

// The open project's kind; 0 without a project manager.
DWORD ProjectKind(I_ProjectMgr* pMgr)
{
    I_PMProject* pProject = OpenProjectOf(pMgr);
    return pProject ? pProject->GetProjectKind() : 0;
}

BOOL SavesWithoutAsking(I_ProjectMgr* pMgr)
{
    I_PMProject* pProject = OpenProjectOf(pMgr);
    return pProject && pProject->GetSaveWithoutAsking();
}

// The documents of the "Text" template, in template order.
std::vector<CDocument*> SourceDocuments()
{
    std::vector<CDocument*> docs;
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    CDocTemplate* pTemplate = pApp ? pApp->FindDocTemplate("Text") : nullptr;
    if (!pTemplate)
        return docs;
    POSITION pos = pTemplate->GetFirstDocPosition();
    while (pos)
        docs.push_back(pTemplate->GetNextDoc(pos));
    return docs;
}

CView* FirstView(CDocument* pDoc)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos ? pDoc->GetNextView(pos) : nullptr;
}

CString FullPath(LPCSTR lpszPath)
{
    char szFull[MAX_PATH] = "";
    if (!lpszPath || !*lpszPath || !GetFullPathNameA(lpszPath, sizeof szFull, szFull, nullptr))
        return lpszPath ? lpszPath : "";
    return szFull;
}

}  // namespace

// ---- commands

namespace {

void StartBuildCommand(CMainFrame& frame, BOOL bRebuild)
{
    // A project made around an object file has nothing to build.
    if (ProjectKind(frame.GetProjectMgr()) == PM_KIND_OBJ)
        return;
    frame.m_bBuildError = FALSE;
    if (frame.GetProjectWnd()->StartBuild(bRebuild))
        frame.m_bBuilding = TRUE;
}

}  // namespace

void CMainFrame::OnBuild()
{
    StartBuildCommand(*this, FALSE);
}

void CMainFrame::OnRebuildAll()
{
    StartBuildCommand(*this, TRUE);
}

void CMainFrame::OnCompile()
{
    m_bBuildError = FALSE;
    BOOL bStarted = FALSE;
    if (m_wndProjectWnd.IsFocusOnTree()) {
        bStarted = m_wndProjectWnd.StartCompile(nullptr);
    } else if (CMDIChildWnd* pChild = MDIGetActive()) {
        if (CView* pView = pChild->GetActiveView())
            bStarted = m_wndProjectWnd.StartCompile(pView);
    }
    if (bStarted)
        m_bBuilding = TRUE;
}

void CMainFrame::OnClean()
{
    ClearOutputPage(OUTPUT_PAGE_RESULT);
    if (m_pProjectMgr)
        m_pProjectMgr->Clean(3);
}

void CMainFrame::OnStopBuild()
{
    // The build thread returns early and the finished step runs as usual.
    if (m_pProjectMgr)
        m_pProjectMgr->StopBuild();
}

void CMainFrame::OnUpdateBuild(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    pCmdUI->Enable(!m_wndProjectWnd.IsWorkspaceEmpty() && ProjectKind(m_pProjectMgr) != PM_KIND_OBJ && !m_bBuilding
                   && !m_bModalBuild);
}

void CMainFrame::OnUpdateStopBuild(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bBuilding);
}

void CMainFrame::OnUpdateCompile(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    if (m_bBuilding || ProjectKind(m_pProjectMgr) == PM_KIND_OBJ || !m_pProjectMgr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    CMDIChildWnd* pChild = MDIGetActive();
    auto* pEditor = pChild ? dynamic_cast<C_IDEEditorView*>(pChild->GetActiveView()) : nullptr;
    if (!pEditor) {
        pCmdUI->Enable(!m_wndProjectWnd.m_strProjectName.IsEmpty() && !m_strSelectedFile.IsEmpty()
                       && m_pProjectMgr->CanCompile(m_strSelectedFile));
        return;
    }
    if (m_wndProjectWnd.IsFocusOnTree()) {
        pCmdUI->Enable(m_wndProjectWnd.GetFileView().IsSelectedFileCompilable());
        return;
    }
    CDocument* pDoc = pEditor->GetDocument();
    pCmdUI->Enable(pDoc && m_pProjectMgr->CanCompile(pDoc->GetPathName()));
}

// ---- progress pane

void CMainFrame::StartProgress(LPCSTR lpszText, COLORREF crBar, COLORREF crText)
{
    if (!::IsWindow(m_wndProgress.m_hWnd) || !SetTimer(TIMER_MAIN_PROGRESS, 100, nullptr))
        return;
    m_wndProgress.SetColors(crBar, crText);
    m_wndProgress.ShowWindow(SW_SHOW);
    m_wndProgress.SetText(lpszText ? lpszText : "");
    m_wndProgress.SetRange(0, 100);
    m_wndProgress.SetStep(1);
    m_bProgressPaused = FALSE;
}

void CMainFrame::StopProgress()
{
    if (!::IsWindow(m_wndProgress.m_hWnd))
        return;
    m_wndProgress.SetPos(m_wndProgress.m_nLower);
    KillTimer(TIMER_MAIN_PROGRESS);
    m_wndProgress.ShowWindow(SW_HIDE);
}

LRESULT CMainFrame::OnProgressRequest(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case 0:
        m_bProgressPaused = FALSE;
        break;
    case 1:
        m_bProgressPaused = TRUE;
        break;
    case 2:
        StopProgress();
        break;
    case 3:
        StartProgress(reinterpret_cast<LPCSTR>(lParam), RGB(0, 0, 0x80), RGB(0xFF, 0xFF, 0xFF));
        break;
    case 4:
        m_wndProgress.SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        if (::IsWindow(m_wndProgress.m_hWnd))
            m_wndProgress.Invalidate();
        break;
    default:
        break;
    }
    return 1;
}

// ---- records and lines

LRESULT CMainFrame::OnOutputNavigate(WPARAM wParam, LPARAM lParam)
{
    auto* pRec = reinterpret_cast<tagMessageRecord*>(lParam);
    if (wParam == 1 && pRec)
        m_wndProjectWnd.OpenFileAtRecord(pRec->fileName, pRec, FALSE);
    return 1;
}

void CMainFrame::MarkErrorsInDocuments(CDocument* pDoc)
{
    if (!m_pBuildRecords)
        return;
    for (POSITION pos = m_pBuildRecords->GetHeadPosition(); pos;) {
        tagMessageRecord* pRec = m_pBuildRecords->GetNext(pos);
        if (!pRec || (pRec->kind != CU_REC_ERROR && pRec->kind != CU_REC_WARNING) || !pRec->fileName[0])
            continue;
        CDocument* pTarget = nullptr;
        if (pDoc)
            pTarget = pDoc->GetPathName().CompareNoCase(FullPath(pRec->fileName)) == 0 ? pDoc : nullptr;
        else
            pTarget = FindOpenDocument(pRec->fileName);
        auto* pSource = dynamic_cast<CAsmIDEDoc*>(pTarget);
        if (!pSource)
            continue;
        TWKEdit& edit = pSource->m_Edit;
        int nLine = pRec->line;
        if (nLine > edit.GetLineCount())
            nLine = edit.GetLineCount();
        if (nLine < 1)
            nLine = 1;
        if (TWKEditLine* pLine = edit.GetLine(nLine))
            m_wndProjectWnd.GetLineTies().Tie(pRec, &edit, pLine);
    }
}

// ---- after a build

void CMainFrame::OnBuildFinished(int nKind, LRESULT lResult)
{
    RefreshDocuments();
    if (!m_bModalBuild)
        StopProgress();
    if (m_bBuilding) {
        m_bBuilding = FALSE;
        MarkErrorsInDocuments(nullptr);
    }
    if (nKind == 2) {
        DWORD dwBuilt = m_pProjectMgr ? m_pProjectMgr->GetBuiltObjectCount() : 0;
        if (!m_bBuildError && m_pIceMgr)
            m_pIceMgr->ClearDownloadFlags(dwBuilt);
        if (!m_nPendingAction) {
            if (lResult && IsDebugging() && !m_bBuildError && dwBuilt > 0) {
                CString strText, strCaption;
                strText.LoadString(IDS_RELOAD_OBJ_INTO_ICE);
                strCaption.LoadString(IDS_CAPTION_MESSAGE);
                if (MessageBox(strText, strCaption, MB_OKCANCEL) == IDOK)
                    ReloadIceBoard();
            }
        } else {
            // The action is taken off first: it may itself ask for another build.
            PFN_FRAMEACTION pfnAction = m_pfnPendingAction;
            DWORD dwArg = m_dwPendingArg;
            m_nPendingAction = 0;
            m_pfnPendingAction = nullptr;
            m_dwPendingArg = 0;
            EndWaitCursor();
            if (!m_bBuildError && pfnAction)
                pfnAction(this, dwArg);
        }
    }
    if (!m_bModalBuild)
        StopProgress();
    else
        m_bModalBuildDone = TRUE;
    if (m_bExitAfterBuild) {
        m_bExitAfterBuild = FALSE;
        PostMessage(WM_CLOSE);
    }
    if (m_bCloseProjectAfterBuild) {
        m_bCloseProjectAfterBuild = FALSE;
        PostMessage(WM_COMMAND, ID_FILE_CLOSE_PROJECT);
    }
}

void CMainFrame::ReloadIceBoard()
{
    // Debug/Reload without its build gate: the parts were just built.
    StartDebug(nullptr);
}

// ---- before a build

BOOL CMainFrame::SaveModifiedDocuments()
{
    BOOL bWithoutAsking = SavesWithoutAsking(m_pProjectMgr);
    for (CDocument* pDoc : SourceDocuments()) {
        auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc);
        if (pSource) {
            if (pSource->m_Edit.IsReadOnly())
                continue;
            pDoc->SetModifiedFlag(pSource->m_Edit.IsModified());
        }
        if (!m_pProjectMgr || !m_pProjectMgr->IsProjectFile(pDoc->GetPathName()))
            continue;
        if (!bWithoutAsking) {
            if (!pDoc->SaveModified())
                return FALSE;
        } else if (pDoc->IsModified()) {
            if (CView* pView = FirstView(pDoc))
                pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
        }
    }
    return TRUE;
}

BOOL CMainFrame::ConfirmBuildBeforeAction(PFN_FRAMEACTION pfnAction, DWORD dwArg)
{
    if (!SaveModifiedDocuments())
        return FALSE;
    BOOL bDebugging = IsDebugging();
    if (bDebugging && !m_bAskBuild)
        return TRUE;
    I_PMProject* pProject = OpenProjectOf(m_pProjectMgr);
    if (pProject && pProject->GetAskBuildFirst() && m_pProjectMgr->IsBuildNeeded()) {
        UINT nFlags = CU_MBX_YES | CU_MBX_NO | CU_MBX_CANCEL | (bDebugging ? CU_MBX_NOTOALL : 0);
        int nAnswer = AppMessageBox(m_hWnd, IDS_CAPTION_MESSAGE, IDS_BUILD_BEFORE_ACTION, nFlags);
        if (nAnswer == IDCANCEL)
            return FALSE;
        if (nAnswer == IDYES) {
            BOOL bWasBuilding = m_bBuilding;
            m_nPendingAction = 1;
            m_pfnPendingAction = pfnAction;
            m_dwPendingArg = dwArg;
            BeginWaitCursor();
            SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
            // A build that did not start must not leave the action armed for a
            // later, unrelated build.
            if (bWasBuilding || !m_bBuilding) {
                m_nPendingAction = 0;
                m_pfnPendingAction = nullptr;
                m_dwPendingArg = 0;
                EndWaitCursor();
                return FALSE;
            }
        } else if (nAnswer == CU_IDNOTOALL) {
            m_bAskBuild = FALSE;
        }
    }
    return m_nPendingAction == 0;
}
