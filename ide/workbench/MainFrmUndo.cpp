// The main frame's side of the undo and redo history lists: the names of the
// active view's actions, the lists under the File toolbar's split buttons, and
// the request that runs the chosen number of Undo or Redo commands.
#include "ide/workbench/MainFrm.h"
#include "editor/window/TWKEditView.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "ide/workbench/IDEUndoRedoDlg.h"

namespace {

CView* ActiveView(CFrameWnd* pMain)
{
    CFrameWnd* pFrame = pMain->GetActiveFrame();
    return pFrame ? pFrame->GetActiveView() : nullptr;
}

} // namespace

void CMainFrame::BuildUndoRedoList(BOOL bUndo, CStringList& list)
{
    if (auto* pView = dynamic_cast<TWKEditView*>(ActiveView(this)))
        BuildUndoRedoNames(pView->GetEdit(), bUndo, list);
}

void CMainFrame::OpenUndoRedoList(BOOL bUndo)
{
    TWKCustomToolBar* pBar = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(IDW_FILE_TOOLBAR) : nullptr;
    if (!pBar || !pBar->m_hWnd)
        return;
    CStringList names;
    BuildUndoRedoList(bUndo, names);

    CRect rcButton;
    int nIndex = pBar->CommandToIndex(bUndo ? ID_EDIT_UNDO : ID_EDIT_REDO);
    if (nIndex >= 0) {
        pBar->GetItemRect(nIndex, &rcButton);
        pBar->ClientToScreen(&rcButton);
    } else {
        pBar->GetWindowRect(&rcButton);
    }

    auto* pDlg = new C_IDEUndoRedoDlg(this);
    if (!pDlg->m_hWnd) {
        delete pDlg;
        return;
    }
    m_pUndoRedoDlg = pDlg;
    // The list acts on the view it lists, whatever takes the activation meanwhile.
    CView* pView = ActiveView(this);
    m_hUndoRedoView = pView ? pView->m_hWnd : nullptr;
    pDlg->Init(bUndo ? 0 : 1, bUndo, names);
    pDlg->SetWindowPos(&wndTopMost, rcButton.left, rcButton.bottom, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    pDlg->m_wndList.SetFocus();
}

void CMainFrame::OnEditUndoList()
{
    OpenUndoRedoList(TRUE);
}

void CMainFrame::OnEditRedoList()
{
    OpenUndoRedoList(FALSE);
}

LRESULT CMainFrame::OnUndoRedo(WPARAM wParam, LPARAM lParam)
{
    HWND hView = m_hUndoRedoView && ::IsWindow(m_hUndoRedoView) ? m_hUndoRedoView : nullptr;
    const UINT nID = wParam == 0 ? ID_EDIT_UNDO : ID_EDIT_REDO;
    // The view takes its commands only while it is the active one: the focus goes back
    // to it from the closing list first.
    if (hView)
        ::SetFocus(hView);
    for (LPARAM i = 0; hView && i < lParam; i++)
        ::SendMessageA(hView, WM_COMMAND, nID, 0);
    return 1;
}
