// The list's client interface for its edit and tip, in-place label editing
// and the notifications to the owner.
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKListEdit.h"

// ---- Client interface

BOOL TWKListBaseC::IsLabelWrapEnabled() { return !(m_dwListStyle & LVS_NOLABELWRAP); }

CString TWKListBaseC::GetItemString(int nRow, int nSubItem)
{
    if (GetItemText(nRow, nSubItem, m_pszTextBuffer, TWKLIST_TEXTBUFFER) <= 0)
        return CString();
    return CString(m_pszTextBuffer);
}

CWnd* TWKListBaseC::CaptureMouse(BOOL bCapture)
{
    if (!bCapture || m_hWnd == NULL)
        return NULL;
    return CWnd::FromHandle(::SetCapture(m_hWnd));
}

UINT TWKListBaseC::GetClientItemState(int, UINT) { return 0; }

CEdit* TWKListBaseC::GetEditControl() { return m_pEdit; }

// ---- Label editing

CEdit* TWKListBaseC::EditLabel(int nRow, int nColumn)
{
    if (m_pEdit->GetSafeHwnd())
        return NULL;
    m_pTip->Hide();
    if (m_nEditRow >= 0)
        EndLabelEdit(TRUE);
    TWKListColumn* pColumn = GetColumnPtr(nColumn);
    int nSubItem = pColumn ? pColumn->iSubItem : 0;
    m_nPendingEditRow = -1;
    m_nEditRow = nRow;
    CRect rcList;
    GetInsideRect(&rcList);
    CRect rc(0, 0, 0, 0);
    GetSubItemRect(nRow, nColumn, &rc, LVIR_LABEL);
    rc.top -= 1;
    rc.left -= 4;
    rc.bottom += 1;
    if (rc.left < 0)
    {
        rc.right -= rc.left;
        rc.left = 0;
    }
    rc.right = std::min((int)rc.right + 10, (int)rcList.right);
    DWORD dwStyle = (m_dwListStyle & LVS_NOLABELWRAP)
                        ? (WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN)
                        : (WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL);
    if (!m_pEdit->Create(dwStyle, rc, this, TWKLIST_ID_EDIT))
    {
        m_nEditRow = -1;
        return NULL;
    }
    m_pEdit->SendMessage(EM_SETTABSTOPS, 0, 0);
    CString strText;
    {
        CClientDC dc(this);
        TWKListPaintContext* pCtx = CreatePaintContext(&dc);
        strText = GetItemString(nRow, nSubItem);
        m_pEdit->SetWindowText(strText);
        pCtx->m_item.state = 0;
        pCtx->m_item.iItem = nRow;
        pCtx->m_item.iSubItem = nSubItem;
        pCtx->m_pItem = GetItemPtr(nRow);
        pCtx->m_pSubItem = pCtx->m_pItem ? pCtx->m_pItem->GetSubItem(nSubItem) : NULL;
        pCtx->m_pColumn = pColumn;
        pCtx->m_nColumn = nColumn;
        PreparePaintContext(pCtx);
        if (pCtx->m_pFont)
            m_pEdit->SendMessage(WM_SETFONT, (WPARAM)pCtx->m_pFont->GetSafeHandle(), TRUE);
        delete pCtx;
    }
    m_pEdit->SetSel(0, -1);
    m_pEdit->SendMessage(EM_SCROLLCARET);
    if (NotifyBeginLabelEdit(nRow, nSubItem) == 1)
    {
        m_pEdit->DestroyWindow();
        m_nEditRow = -1;
        m_nPendingEditRow = -1;
    }
    else
    {
        m_pEdit->ShowWindow(SW_SHOW);
        m_pEdit->SetFocus();
        m_strSavedLabel = strText;
        InvalidateItem(nRow, FALSE, TRUE, FALSE, FALSE);
    }
    m_bEndEditGuard = FALSE;
    return m_pEdit;
}

void TWKListBaseC::OnLabelEditUpdate()
{
    if (m_nEditRow < 0 || m_pEdit->GetSafeHwnd() == NULL)
        return;
    int nSubItem = GetColumnSubItem(m_nCurColumn);
    if (nSubItem < 0)
        nSubItem = 0;
    CRect r1(0, 0, 0, 0), r2(0, 0, 0, 0);
    GetSubItemRect(m_nEditRow, m_nCurColumn, &r1, LVIR_LABEL);
    CString strText;
    m_pEdit->GetWindowText(strText);
    SetItemText(m_nEditRow, nSubItem, strText);
    UpdateItemMetrics(m_nEditRow);
    GetSubItemRect(m_nEditRow, m_nCurColumn, &r2, LVIR_LABEL);
    if (r1.Height() != r2.Height())
    {
        int nRow = m_nEditRow;
        RemeasureItems();
        InvalidateItem(nRow, FALSE, TRUE, TRUE, FALSE);
        GetSubItemRect(m_nEditRow, m_nCurColumn, &r2, LVIR_LABEL);
    }
    CRect rcList;
    GetInsideRect(&rcList);
    CRect rc(r2.left - 4, r2.top - 1, r2.right + 4, r2.bottom + 1);
    if (rc.left < 0)
    {
        rc.right -= rc.left;
        rc.left = 0;
    }
    int nLimit = GetColumnCount() > 1 ? GetColumnRight(m_nCurColumn) : (int)rcList.right;
    rc.right = std::min((int)rc.right + 10, nLimit);
    m_pEdit->SetWindowPos(NULL, 0, 0, rc.Width(), rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWKListBaseC::OnLabelEditKillFocus() { EndLabelEdit(TRUE); }

BOOL TWKListBaseC::EndLabelEdit(BOOL bSave)
{
    if (m_pEdit->GetSafeHwnd() == NULL || m_bEndEditGuard)
        return FALSE;
    m_bEndEditGuard = TRUE;
    CString strText;
    m_pEdit->GetWindowText(strText);
    m_pEdit->DestroyWindow();
    int nSubItem = GetColumnSubItem(m_nCurColumn);
    if (nSubItem < 0)
        nSubItem = 0;
    int nRow = m_nEditRow;
    m_nEditRow = -1;
    if (NotifyEndLabelEdit(nRow, nSubItem, &strText, bSave))
    {
        SetItemText(nRow, nSubItem, strText);
        OnLabelChanged(nRow, nSubItem);
    }
    else
        SetItemText(nRow, nSubItem, m_strSavedLabel);
    RemeasureItems();
    Invalidate(TRUE);
    return TRUE;
}

void TWKListBaseC::OnLabelChanged(int, int) {}

// ---- Notifications

LRESULT TWKListBaseC::NotifyParent(int nCode)
{
    CWnd* pTarget = GetNotifyTarget();
    if (pTarget == NULL || m_hWnd == NULL)
        return 0;
    NMHDR hdr;
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = GetDlgCtrlID();
    hdr.code = (UINT)nCode;
    m_lLastResult = pTarget->SendMessage(WM_NOTIFY, hdr.idFrom, (LPARAM)&hdr);
    return m_lLastResult;
}

static LRESULT SendRecord(TWKListBaseC* pList, CWnd* pTarget, NMHDR* pHdr, UINT nCode)
{
    if (pTarget == NULL || pList->m_hWnd == NULL)
        return 0;
    pHdr->hwndFrom = pList->m_hWnd;
    pHdr->idFrom = pList->GetDlgCtrlID();
    pHdr->code = nCode;
    return pTarget->SendMessage(WM_NOTIFY, pHdr->idFrom, (LPARAM)pHdr);
}

LRESULT TWKListBaseC::NotifyBeginLabelEdit(int nRow, int nSubItem)
{
    NMLVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.item.mask = LVIF_TEXT;
    info.item.iItem = nRow;
    info.item.iSubItem = nSubItem;
    info.item.lParam = GetItemParam(GetItemPtr(nRow));
    return SendRecord(this, GetNotifyTarget(), &info.hdr, LVN_BEGINLABELEDITA);
}

BOOL TWKListBaseC::NotifyEndLabelEdit(int nRow, int nSubItem, CString* pText, BOOL bSave)
{
    NMLVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.item.mask = LVIF_TEXT;
    info.item.iItem = nRow;
    info.item.iSubItem = nSubItem;
    info.item.lParam = GetItemParam(GetItemPtr(nRow));
    char szText[TWKLIST_TEXTBUFFER];
    if (bSave)
    {
        // A pasted text may be longer than the record's buffer: cut it there.
        TWKCopyTextCut(szText, sizeof(szText), *pText);
        info.item.pszText = szText;
        info.item.cchTextMax = sizeof(szText);
    }
    LRESULT lResult = SendRecord(this, GetNotifyTarget(), &info.hdr, LVN_ENDLABELEDITA);
    if (!bSave || lResult == 0)
        return FALSE;
    szText[sizeof(szText) - 1] = 0;
    *pText = szText;
    return TRUE;
}

void TWKListBaseC::NotifyDeleteItem(int nRow)
{
    NMLISTVIEW nm;
    memset(&nm, 0, sizeof(nm));
    nm.iItem = nRow;
    SendRecord(this, GetNotifyTarget(), &nm.hdr, LVN_DELETEITEM);
}

void TWKListBaseC::NotifyInsertItem(int nRow)
{
    NMLISTVIEW nm;
    memset(&nm, 0, sizeof(nm));
    nm.iItem = nRow;
    SendRecord(this, GetNotifyTarget(), &nm.hdr, LVN_INSERTITEM);
}

void TWKListBaseC::NotifyColumnClick(int nColumn)
{
    NMLISTVIEW nm;
    memset(&nm, 0, sizeof(nm));
    nm.iItem = -1;
    nm.iSubItem = nColumn;
    SendRecord(this, GetNotifyTarget(), &nm.hdr, LVN_COLUMNCLICK);
}

void TWKListBaseC::NotifyKeyDown(UINT nKey)
{
    NMLVKEYDOWN nm;
    memset(&nm, 0, sizeof(nm));
    nm.wVKey = (WORD)nKey;
    SendRecord(this, GetNotifyTarget(), &nm.hdr, LVN_KEYDOWN);
}

LRESULT TWKListBaseC::NotifyGetDispInfo(LVITEMA* pItem)
{
    NMLVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.item = *pItem;
    LRESULT lResult = SendRecord(this, GetNotifyTarget(), &info.hdr, LVN_GETDISPINFOA);
    *pItem = info.item;
    return lResult;
}

void TWKListBaseC::NotifySetDispInfo(LVITEMA*) {}
void TWKListBaseC::NotifyGetExDispInfo(TWKListExState*) {}
void TWKListBaseC::NotifyReserved(int) {}
