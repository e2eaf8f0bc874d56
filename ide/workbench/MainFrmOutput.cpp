// The frame's request message and the way of output records to the output
// window.
#include "ide/workbench/MainFrm.h"
#include "ide/debugger/IDEIceMgr.h"

namespace {

// A slice of queued requests taken in one go: short enough that the frame
// answers sent messages and paints between slices.
const int kSliceRecords = 2000;
const DWORD kSliceMs = 30;

} // namespace

LRESULT CMainFrame::OnFrameRequest(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 3 || m_bTakingRequests)
        return HandleRequest(wParam, lParam);
    // The requests queued right behind this one are taken with it, in their
    // order, while nothing else is queued before them; the pages switch once.
    m_bTakingRequests = TRUE;
    m_wndMessageBar.BeginRecordBatch();
    HandleRequest(wParam, lParam);
    const DWORD dwStart = ::GetTickCount();
    MSG msg;
    for (int n = 1; n < kSliceRecords && ::GetTickCount() - dwStart < kSliceMs; n++) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD) || msg.hwnd != m_hWnd
            || msg.message != WM_MAIN_REQUEST
            || !::PeekMessageA(&msg, m_hWnd, WM_MAIN_REQUEST, WM_MAIN_REQUEST, PM_REMOVE | PM_NOYIELD))
            break;
        HandleRequest(msg.wParam, msg.lParam);
    }
    m_wndMessageBar.EndRecordBatch();
    m_bTakingRequests = FALSE;
    return 1;
}

LRESULT CMainFrame::HandleRequest(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case 3:
        OnFindInFilesDone();
        return 1;
    case ICE_NOTIFY_WRITE_ENDED:
        if (m_pIceMgr)
            m_pIceMgr->OnWriteFinished();
        return 1;
    case PM_REQUEST_PREVIEW:
    case PM_REQUEST_EDIT_RESOURCE: {
        LPCSTR lpszPath = reinterpret_cast<LPCSTR>(lParam);
        if (!lpszPath || !*lpszPath)
            return 1;
        PreviewResource(lpszPath, wParam == PM_REQUEST_PREVIEW ? 0 : 1);
        if (wParam == PM_REQUEST_EDIT_RESOURCE)
            m_wndProjectWnd.SetProjectModified(TRUE);
        return 1;
    }
    case PM_REQUEST_MODIFIED:
        m_wndProjectWnd.SetProjectModified(TRUE);
        return 1;
    case 5:
        // The tree's string changes with its selection: the frame keeps a copy.
        m_strSelectedFile = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return 1;
    case 10:
        return 1;
    case PM_REQUEST_APPLY_SYNTAX:
        m_wndProjectWnd.ApplySyntaxToDocuments();
        return 1;
    default:
        ForwardOutputRecord(wParam, reinterpret_cast<tagMessageRecord*>(lParam));
        return 1;
    }
}

void CMainFrame::ForwardOutputRecord(WPARAM wParam, tagMessageRecord* pRec)
{
    if (!pRec)
        return;
    if (m_bBuilding && m_nPendingAction)
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (pRec->kind >= CU_REC_MESSAGE && pRec->kind <= CU_REC_ERROR) {
        if (pRec->kind == CU_REC_ERROR) {
            m_bBuildError = TRUE;
            if (m_wndMessageBar.m_hWnd && !m_wndMessageBar.IsVisible())
                ShowControlBar(&m_wndMessageBar, TRUE, FALSE);
        }
        if (m_pProjectMgr && !m_pProjectMgr->AcceptOutputRecord(pRec))
            return;
    }
    pRec->text[255] = '\0';
    pRec->fileName[255] = '\0';
    if (m_wndMessageBar.m_hWnd)
        m_wndMessageBar.SendMessage(CU_WM_MESSAGE_RECORD, wParam, reinterpret_cast<LPARAM>(pRec));
}

