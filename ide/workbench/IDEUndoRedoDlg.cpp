#include "ide/workbench/IDEUndoRedoDlg.h"
#include "editor/store/TWKEdit.h"
#include "ide/workbench/MainFrm.h"

namespace {

// The action a record starts, by its kind; no name for kinds outside the table.
LPCSTR ActionName(int nType)
{
    switch (nType) {
    case UNDO_CHAR_INSERTED: return "Insert";
    case UNDO_CHAR_DELETED: return "Delete";
    case UNDO_TEXT_DELETED: return "Cut";
    case UNDO_TEXT_INSERTED: return "Paste";
    case UNDO_LINE_SPLIT: return "New Line";
    case UNDO_LINES_JOINED: return "Join Line";
    case UNDO_CHAR_OVERWRITTEN: return "Overwrite";
    case UNDO_COLUMN_DELETED: return "Column Cut";
    case UNDO_COLUMN_INSERTED: return "Column Paste";
    case UNDO_FILE_INSERTED: return "Paste";
    default: return nullptr;
    }
}

} // namespace

void BuildUndoRedoNames(const TWKEdit* pEdit, BOOL bUndo, CStringList& list)
{
    if (!pEdit)
        return;
    const int nPos = pEdit->GetUndoPos();
    const int nCount = pEdit->GetUndoCount();
    const int nStep = bUndo ? -1 : 1;
    int i = bUndo ? nPos - 1 : nPos;
    auto inLog = [&](int n) { return bUndo ? n >= 0 : n < nCount; };
    while (inLog(i)) {
        const TWKEditUndoRecord* pRec = pEdit->GetUndoRecord(i);
        if (!pRec)
            break;
        if (LPCSTR pszName = ActionName(pRec->nType))
            list.AddTail(pszName);
        // The records the same command takes pass without a name.
        for (const TWKEditUndoRecord* pNext; inLog(i + nStep) && (pNext = pEdit->GetUndoRecord(i + nStep))
                                             && TWKEdit::IsUndoChained(*pRec, *pNext);
             pRec = pNext)
            i += nStep;
        i += nStep;
    }
}

// ---------------------------------------------------------------------------
// C_IDEUndoRedoListBox

BEGIN_MESSAGE_MAP(C_IDEUndoRedoListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
    ON_CONTROL_REFLECT(LBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

C_IDEUndoRedoDlg* C_IDEUndoRedoListBox::Dialog() const
{
    return static_cast<C_IDEUndoRedoDlg*>(GetParent());
}

int C_IDEUndoRedoListBox::ItemAt(CPoint point) const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(point))
        return -1;
    BOOL bOutside = TRUE;
    UINT nItem = ItemFromPoint(point, bOutside);
    return bOutside || (int)nItem >= GetCount() ? -1 : (int)nItem;
}

void C_IDEUndoRedoListBox::SelectUpTo(int nItem)
{
    const int nCount = GetCount();
    for (int i = 0; i < nCount; i++)
        if ((GetSel(i) > 0) != (i <= nItem))
            SetSel(i, i <= nItem);
    CString strStatus;
    strStatus.Format("%s %d Action%s", (LPCSTR)Dialog()->m_strKind, nItem + 1, nItem > 0 ? "s" : "");
    Dialog()->SetStatusText(strStatus);
}

void C_IDEUndoRedoListBox::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    int nItem = ItemAt(point);
    if (nItem >= 0)
        SelectUpTo(nItem);
}

void C_IDEUndoRedoListBox::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_LBUTTON))
        return;
    int nItem = ItemAt(point);
    if (nItem >= 0)
        SelectUpTo(nItem);
    else
        Dialog()->SetStatusText("Cancel");
}

void C_IDEUndoRedoListBox::OnLButtonUp(UINT, CPoint point)
{
    if (GetCapture() == this)
        ReleaseCapture();
    C_IDEUndoRedoDlg* pDlg = Dialog();
    int nItem = ItemAt(point);
    if (nItem >= 0 && pDlg->GetParent())
        pDlg->GetParent()->SendMessage(WM_MAIN_UNDOREDO, (WPARAM)pDlg->m_nKind, (LPARAM)(nItem + 1));
    // Posted: the list box is the dialog's member and goes with it.
    pDlg->PostMessage(WM_COMMAND, IDOK);
}

void C_IDEUndoRedoListBox::OnSelChange()
{
    SelectUpTo(GetCaretIndex());
}

void C_IDEUndoRedoListBox::OnKillFocus(CWnd* pNewWnd)
{
    CListBox::OnKillFocus(pNewWnd);
    Dialog()->PostMessage(WM_COMMAND, IDOK);
}

// ---------------------------------------------------------------------------
// C_IDEUndoRedoDlg

BEGIN_MESSAGE_MAP(C_IDEUndoRedoDlg, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

C_IDEUndoRedoDlg::C_IDEUndoRedoDlg(CWnd* pParent)
{
    Create(IDD, pParent);
}

void C_IDEUndoRedoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UNDO_REDO_LIST, m_wndList);
    DDX_Text(pDX, IDC_UNDO_REDO_STATUS, m_strStatus);
}

void C_IDEUndoRedoDlg::Init(int nKind, BOOL bUndo, const CStringList& names)
{
    m_nKind = nKind;
    m_bUndo = bUndo;
    for (POSITION pos = names.GetHeadPosition(); pos;)
        m_wndList.AddString(names.GetNext(pos));
    m_wndList.SetSel(0, TRUE);
    m_strKind = bUndo ? "Undo" : "Redo";
    m_strStatus = bUndo ? "Undo 1 action" : "Redo 1 action";
    UpdateData(FALSE);
}

void C_IDEUndoRedoDlg::SetStatusText(LPCSTR lpszText)
{
    m_strStatus = lpszText;
    SetDlgItemText(IDC_UNDO_REDO_STATUS, lpszText);
    if (CWnd* pStatus = GetDlgItem(IDC_UNDO_REDO_STATUS))
        pStatus->UpdateWindow();
}

void C_IDEUndoRedoDlg::OnOK()
{
    DestroyWindow();
}

void C_IDEUndoRedoDlg::OnCancel()
{
    DestroyWindow();
}

void C_IDEUndoRedoDlg::OnLButtonDown(UINT, CPoint)
{
    OnCancel();
}

void C_IDEUndoRedoDlg::OnDestroy()
{
    if (auto* pFrame = dynamic_cast<CMainFrame*>(GetParent()); pFrame && pFrame->m_pUndoRedoDlg == this)
        pFrame->m_pUndoRedoDlg = nullptr;
    CDialog::OnDestroy();
}

void C_IDEUndoRedoDlg::PostNcDestroy()
{
    delete this;
}
