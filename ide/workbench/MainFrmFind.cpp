// The main frame's Find in Files command: the dialog, the search thread, the
// stop request and the wait for the thread when the frame closes.
#include "ide/workbench/MainFrm.h"
#include "ide/workbench/FindInFiles.h"
#include "editor/window/TWKEditView.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include <memory>

void CMainFrame::PressFindInFilesButton(BOOL bPressed)
{
    TWKCustomToolBar* pBar = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(IDW_FILE_TOOLBAR) : nullptr;
    int nIndex = pBar ? pBar->CommandToIndex(ID_EDIT_FIND_IN_FILES) : -1;
    if (nIndex < 0)
        return;
    pBar->SetButtonStyle(nIndex, bPressed ? 0x20000 : 0);
    pBar->Invalidate();
}

void CMainFrame::OnEditFindInFiles()
{
    // A second choice while searching stops the search.
    if (m_bFinding) {
        m_bStopFind = TRUE;
        return;
    }
    C_IDEFindInFilesDlg dlg(this);
    dlg.SetHistoryLists(&m_listFind, &m_listFindDir);
    CFrameWnd* pChild = GetActiveFrame();
    if (auto* pView = dynamic_cast<TWKEditView*>(pChild && pChild != this ? pChild->GetActiveView() : nullptr)) {
        CString strWord;
        if (pView->GetSelectionOrWord(strWord))
            dlg.m_strInitialText = strWord;
    }
    PressFindInFilesButton(TRUE);
    if (dlg.DoModal() != IDOK) {
        PressFindInFilesButton(FALSE);
        return;
    }

    m_bStopFind = FALSE;
    auto p = std::make_unique<tagFindThreadParam>();
    p->pFrame = this;
    p->hFrame = m_hWnd;
    p->strFolder = dlg.m_strFolder;
    p->strTypes = dlg.m_strTypes;
    p->strText = dlg.m_strFindText;
    p->bMatchCase = dlg.m_bMatchCase;
    p->bSubfolders = dlg.m_bSubfolders;
    p->pStop = &m_bStopFind;
    if (!p->bMatchCase)
        p->strText.MakeUpper();
    C_MessageBar* pBar = GetMessageBar();
    pBar->ActivatePage(1);
    CWnd* pPage = pBar->GetFindInFilesPage();
    p->hPage = pPage->GetSafeHwnd();
    if (pBar->GetSafeHwnd())
        pBar->SendMessage(WM_COMMAND, 28672);
    if (p->strFolder.IsEmpty() || p->strFolder[p->strFolder.GetLength() - 1] != '\\')
        p->strFolder += '\\';

    CWinThread* pThread = AfxBeginThread(FindInFilesThread, p.get(), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!pThread) {
        PressFindInFilesButton(FALSE);
        return;
    }
    p.release();   // the thread's from here on
    if (m_hFindThread)
        ::CloseHandle(m_hFindThread);
    m_hFindThread = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), pThread->m_hThread, ::GetCurrentProcess(), &m_hFindThread, SYNCHRONIZE,
                      FALSE, 0);
    m_bFinding = TRUE;
    pThread->ResumeThread();
    LoadFindHistory();
    LoadFindDirHistory();
}

void CMainFrame::OnUpdateEditFindInFiles(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(m_bFinding ? "Stop Find in Files" : "Find in Files...");
}

void CMainFrame::OnFindInFilesDone()
{
    m_bFinding = FALSE;
    PressFindInFilesButton(FALSE);
}

void CMainFrame::StopFindAndWait()
{
    if (!m_hFindThread)
        return;
    m_bStopFind = TRUE;
    // The thread sends its last records and its completion to windows of this
    // thread, so the wait answers messages; a quit that comes meanwhile is
    // kept for the main loop.
    AfxWaitPumping(m_hFindThread, nullptr, nullptr, INFINITE, TRUE);
    ::CloseHandle(m_hFindThread);
    m_hFindThread = nullptr;
}
