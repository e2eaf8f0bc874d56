// The project window's compile and build: the checks before a start, the
// worker threads that run the project manager's compile or build, and their
// completion on the user-interface thread.
#include "ide/workbench/IDEProjectWnd.h"
#include "ide/workbench/IDEOptionDlg.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditView.h"
#include "ide/workbench/MainFrm.h"
#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// The progress pane's colours while compiling or building.
const COLORREF kProgressBar = RGB(0, 0, 0x80);
const COLORREF kProgressText = RGB(0xFF, 0xFF, 0xFF);

// The style of a child window that holds the capture for itself (a button
// pressed, a list dragged): no reason to hold a completion back.
const DWORD kPlainChildStyle = WS_CHILD | WS_VISIBLE;

// A list of NUL-terminated strings with a final NUL, asked for in two calls.
std::vector<CString> ReportFiles(I_ProjectMgr* pMgr)
{
    std::vector<CString> files;
    int nSize = pMgr->GetReportFiles(nullptr);
    if (nSize <= 0)
        return files;
    std::vector<char> buf(static_cast<size_t>(nSize) + 2, '\0');
    pMgr->GetReportFiles(buf.data());
    for (const char* p = buf.data(); *p && p < buf.data() + nSize; p += strlen(p) + 1)
        files.emplace_back(p);
    return files;
}

// The "Build" page cleared, the progress pane started and the worker begun.
BOOL BeginWorker(CMainFrame* pFrame, AFX_THREADPROC pfnProc, LPVOID pParam)
{
    pFrame->ClearOutputPage(0);
    pFrame->StartProgress(nullptr, kProgressBar, kProgressText);
    if (!AfxBeginThread(pfnProc, pParam)) {
        pFrame->StopProgress();
        return FALSE;
    }
    return TRUE;
}

}  // namespace

BOOL C_IDEProjectWnd::CheckBeforeBuild()
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr)
        return FALSE;
    if (pMgr->IsReadyToBuild())
        return TRUE;
    I_PMProject* pProject = pMgr->GetProject();
    if (!pProject || !pMgr->SetChip(pProject->GetPartNumber())) {
        pMgr->EndSettingsEdit(FALSE);
        return FALSE;
    }
    pMgr->EndSettingsEdit(TRUE);
    return TRUE;
}

BOOL C_IDEProjectWnd::StartCompile(CView* pView)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr || !m_pFrame)
        return FALSE;
    CString strFolder, strSubFolder;
    CString strPath = pView && pView->GetDocument() ? pView->GetDocument()->GetPathName() : CString();
    HTREEITEM hSelected = m_wndFileView.m_hWnd ? m_wndFileView.GetSelectedItem() : nullptr;
    if (m_wndFileView.m_hWnd)
        m_wndFileView.GetItemLocation(hSelected, strFolder, strSubFolder, strPath);
    if (!pView)
        pView = m_pFrame->FindOpenView(strPath);
    if (pView && pView->GetDocument()) {
        CDocument* pDoc = pView->GetDocument();
        if (auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc))
            pDoc->SetModifiedFlag(pSource->m_Edit.IsModified());
        I_PMProject* pProject = pMgr->GetProject();
        if (!pProject || !pProject->GetSaveWithoutAsking()) {
            if (!pDoc->SaveModified())
                return FALSE;
        } else if (pDoc->IsModified()) {
            // The compiled document is saved, whichever one is active.
            pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
        }
        if (auto* pEditView = dynamic_cast<C_IDEEditView*>(pView))
            pEditView->SetPCLine(-1);
    }
    if (!CheckBeforeBuild())
        return FALSE;
    m_compileParam.pFrame = m_pFrame;
    m_compileParam.strFolder = strFolder;
    m_compileParam.strPath = strPath;
    m_compileParam.hNotify = m_hWnd;
    return BeginWorker(m_pFrame, CompileThreadProc, &m_compileParam);
}

BOOL C_IDEProjectWnd::StartBuild(BOOL bRebuild)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr || !m_pFrame || !CheckBeforeBuild())
        return FALSE;
    // Incomplete settings open the options dialog on the page to complete; nothing is built either way.
    if (!CheckProjectSettings(m_pFrame))
        return FALSE;
    CloseReportDocuments();
    if (!m_pFrame->SaveModifiedDocuments())
        return FALSE;
    SaveProject();
    m_buildParam.pFrame = m_pFrame;
    m_buildParam.bRebuild = bRebuild;
    m_buildParam.dwUIThreadId = ::GetWindowThreadProcessId(m_pFrame->m_hWnd, nullptr);
    m_buildParam.hNotify = m_hWnd;
    return BeginWorker(m_pFrame, BuildThreadProc, &m_buildParam);
}

UINT C_IDEProjectWnd::CompileThreadProc(LPVOID pParam)
{
    auto* p = static_cast<tagCompileThreadParam*>(pParam);
    I_ProjectMgr* pMgr = p->pFrame->GetProjectMgr();
    BOOL bResult = pMgr ? pMgr->Compile(p->strFolder, p->strPath) : FALSE;
    ::PostMessageA(p->hNotify, WM_PROJECTWND_DONE, PROJECTWND_COMPILE_DONE, bResult);
    return 0;
}

UINT C_IDEProjectWnd::BuildThreadProc(LPVOID pParam)
{
    auto* p = static_cast<tagBuildThreadParam*>(pParam);
    I_ProjectMgr* pMgr = p->pFrame->GetProjectMgr();
    BOOL bResult = pMgr ? pMgr->Build(p->bRebuild) : FALSE;
    // A menu, a move or size loop or another captured mode of the frame ends
    // before the completion arrives.
    for (;;) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!::GetGUIThreadInfo(p->dwUIThreadId, &info) || !info.hwndCapture
            || static_cast<DWORD>(::GetWindowLongA(info.hwndCapture, GWL_STYLE)) == kPlainChildStyle)
            break;
        ::Sleep(100);
    }
    ::PostMessageA(p->hNotify, WM_PROJECTWND_DONE, PROJECTWND_BUILD_DONE, bResult);
    return 0;
}

LRESULT C_IDEProjectWnd::OnThreadDone(WPARAM wParam, LPARAM lParam)
{
    if (!m_pFrame)
        return 1;
    if (wParam == PROJECTWND_COMPILE_DONE) {
        ReloadFileInfo();
        m_pFrame->OnBuildFinished(1, lParam);
    } else if (wParam == PROJECTWND_BUILD_DONE) {
        ReloadFileInfo();
        I_ProjectMgr* pMgr = GetProjectMgr();
        I_PMProject* pProject = pMgr ? pMgr->GetProject() : nullptr;
        if (pProject && pProject->GetOpenReportsAfterBuild() && !m_pFrame->IsModalBuild())
            OpenReportFiles();
        m_pFrame->OnBuildFinished(2, lParam);
        if (m_wndFileView.m_hWnd)
            m_wndFileView.EnableTips(TRUE);
    }
    return 1;
}

void C_IDEProjectWnd::OpenReportFiles()
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr)
        return;
    int nNext = 0;
    for (const CString& strFile : ReportFiles(pMgr)) {
        // Only what the table can close again at the next start is opened.
        while (nNext < PROJECTWND_MAX_REPORTS && m_pReportDocs[nNext])
            nNext++;
        if (nNext >= PROJECTWND_MAX_REPORTS)
            break;
        if (GetFileAttributesA(strFile) == INVALID_FILE_ATTRIBUTES)
            continue;
        CDocument* pDoc = OpenSourceFile(strFile, 0, TRUE, &CWnd::wndTop, TRUE);
        // A file listed twice is one document: one entry, closed once.
        if (pDoc && std::find(std::begin(m_pReportDocs), std::end(m_pReportDocs), pDoc) == std::end(m_pReportDocs))
            m_pReportDocs[nNext] = pDoc;
    }
}
