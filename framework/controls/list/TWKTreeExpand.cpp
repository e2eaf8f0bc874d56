// Opening and closing items, the caret, selection and drop highlight, the
// owner's TVN_ notifications, and mouse and keyboard input of the tree.
#include "framework/controls/list/TWKTreeCtrl.h"
#include "framework/controls/list/TWKListEdit.h"

namespace {

// Apart from the list's own timers (1 to 3): sharing the type-ahead timer's id would expand early.
const UINT_PTR TIMER_HOVER = 4;

inline HTREEITEM H(TWKTreeNode* p) { return reinterpret_cast<HTREEITEM>(p); }

} // namespace

BEGIN_MESSAGE_MAP(TWKTreeCtrl, TWKTreeBaseC)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_CHAR()
END_MESSAGE_MAP()

// ---- Notifications

LRESULT TWKTreeBaseC::SendTreeNotify(NMHDR* pHdr, UINT nCode)
{
    CWnd* pTarget = GetNotifyTarget();
    if (pTarget == NULL || m_hWnd == NULL)
        return 0;
    pHdr->hwndFrom = m_hWnd;
    pHdr->idFrom = GetDlgCtrlID();
    pHdr->code = nCode;
    return pTarget->SendMessage(WM_NOTIFY, pHdr->idFrom, (LPARAM)pHdr);
}

void TWKTreeBaseC::FillTreeRecord(TVITEMA* pDest, _Node* pNode)
{
    if (pNode == NULL || pNode == m_pRoot)
        memset(pDest, 0, sizeof(*pDest));
    else
        *pDest = pNode->m_item;
}

LRESULT TWKTreeBaseC::NotifyTreeSel(UINT nCode, int nRow, int nOld, int nCause)
{
    NMTREEVIEWA nm;
    memset(&nm, 0, sizeof(nm));
    nm.action = nCause == 0 ? TVC_BYKEYBOARD : nCause == 1 ? TVC_BYMOUSE : TVC_UNKNOWN;
    FillTreeRecord(&nm.itemOld, GetRowNode(nOld));
    FillTreeRecord(&nm.itemNew, GetRowNode(nRow));
    return SendTreeNotify(&nm.hdr, nCode);
}

LRESULT TWKTreeBaseC::NotifySelChanging(int nRow, int nOldFocus, BOOL bMouse)
{
    return NotifyTreeSel(TVN_SELCHANGINGA, nRow, nOldFocus, (int)bMouse);
}

void TWKTreeBaseC::NotifySelChanged(int nRow, int nOldFocus, BOOL bMouse)
{
    NotifyTreeSel(TVN_SELCHANGEDA, nRow, nOldFocus, (int)bMouse);
}

LRESULT TWKTreeBaseC::NotifyGetDispInfo(TVITEMA* pItem)
{
    NMTVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.item = *pItem;
    LRESULT lResult = SendTreeNotify(&info.hdr, TVN_GETDISPINFOA);
    *pItem = info.item;
    return lResult;
}

void TWKTreeBaseC::NotifySetDispInfo(TVITEMA* pItem)
{
    NMTVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.item = *pItem;
    SendTreeNotify(&info.hdr, TVN_SETDISPINFOA);
}

LRESULT TWKTreeBaseC::NotifyItemExpanding(HTREEITEM hItem, UINT nCode)
{
    NMTREEVIEWA nm;
    memset(&nm, 0, sizeof(nm));
    nm.action = nCode;
    FillTreeRecord(&nm.itemNew, NodeOf(hItem));
    return SendTreeNotify(&nm.hdr, TVN_ITEMEXPANDINGA);
}

void TWKTreeBaseC::NotifyItemExpanded(HTREEITEM hItem, UINT nCode)
{
    NMTREEVIEWA nm;
    memset(&nm, 0, sizeof(nm));
    nm.action = nCode;
    _Node* pNode = NodeOf(hItem);
    FillTreeRecord(&nm.itemNew, pNode);
    nm.itemNew.state = pNode->IsExpanded() ? TVIS_EXPANDED : 0;
    SendTreeNotify(&nm.hdr, TVN_ITEMEXPANDEDA);
}

// Not sent with drag and drop turned off: the list's pending drag is dropped instead.
static void NotifyDrag(TWKTreeBaseC* pTree, UINT nCode, int nRow, int x, int y, BOOL* pbItemDrag)
{
    if (pTree->GetTreeStyle() & TVS_DISABLEDRAGDROP)
    {
        *pbItemDrag = FALSE;
        return;
    }
    CWnd* pTarget = pTree->GetNotifyTarget();
    if (pTarget == NULL || pTree->m_hWnd == NULL)
        return;
    NMTREEVIEWA nm;
    memset(&nm, 0, sizeof(nm));
    if (_Node* pNode = pTree->GetRowNode(nRow))
        nm.itemNew = pNode->m_item;
    nm.ptDrag.x = x;
    nm.ptDrag.y = y;
    nm.hdr.hwndFrom = pTree->m_hWnd;
    nm.hdr.idFrom = pTree->GetDlgCtrlID();
    nm.hdr.code = nCode;
    pTarget->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void TWKTreeBaseC::NotifyBeginDrag(int nRow, int x, int y) { NotifyDrag(this, TVN_BEGINDRAGA, nRow, x, y, &m_bItemDrag); }

void TWKTreeBaseC::NotifyBeginRDrag(int nRow, int x, int y)
{
    NotifyDrag(this, TVN_BEGINRDRAGA, nRow, x, y, &m_bItemDrag);
}

LRESULT TWKTreeBaseC::NotifyBeginLabelEdit(int nRow, int nSubItem)
{
    if (nSubItem != 0)
        return TWKListCtrl::NotifyBeginLabelEdit(nRow, nSubItem);
    NMTVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    FillTreeRecord(&info.item, GetRowNode(nRow));
    info.item.mask |= TVIF_TEXT;
    // Any refusal keeps the label; the list cancels on exactly 1.
    return SendTreeNotify(&info.hdr, TVN_BEGINLABELEDITA) != 0 ? 1 : 0;
}

BOOL TWKTreeBaseC::NotifyEndLabelEdit(int nRow, int nSubItem, CString* pText, BOOL bSave)
{
    if (nSubItem != 0)
        return TWKListCtrl::NotifyEndLabelEdit(nRow, nSubItem, pText, bSave);
    NMTVDISPINFOA info;
    memset(&info, 0, sizeof(info));
    FillTreeRecord(&info.item, GetRowNode(nRow));
    info.item.mask |= TVIF_TEXT;
    char szText[TWKLIST_TEXTBUFFER];
    szText[0] = 0;
    if (bSave)
    {
        TWKCopyTextCut(szText, sizeof(szText), *pText);
        info.item.pszText = szText;
        info.item.cchTextMax = sizeof(szText);
    }
    else
    {
        info.item.pszText = NULL;
        info.item.cchTextMax = 0;
    }
    LRESULT lResult = SendTreeNotify(&info.hdr, TVN_ENDLABELEDITA);
    if (!bSave || lResult == 0)
        return FALSE;
    szText[sizeof(szText) - 1] = 0;
    *pText = szText;
    return TRUE;
}

void TWKTreeBaseC::OnLabelChanged(int nRow, int nSubItem)
{
    if (nSubItem != 0)
    {
        TWKListCtrl::OnLabelChanged(nRow, nSubItem);
        return;
    }
    CWnd* pTarget = GetNotifyTarget();
    if (pTarget && m_hWnd)
        pTarget->SendMessage(TWK_WM_TREEENDLABELEDIT, GetDlgCtrlID(), (LPARAM)GetRowNode(nRow));
}

void TWKTreeBaseC::NotifyKeyDown(UINT nKey)
{
    NMTVKEYDOWN nm;
    memset(&nm, 0, sizeof(nm));
    nm.wVKey = (WORD)nKey;
    SendTreeNotify(&nm.hdr, TVN_KEYDOWN);
}

// ---- Expansion

void TWKTreeBaseC::RedrawFromRow(int nRow, const CRect& rcBefore)
{
    if (m_hWnd == NULL)
        return;
    CRect rcNow;
    GetInsideRect(&rcNow);
    if (rcNow == rcBefore && nRow >= GetTopIndex())
        InvalidateItem(nRow, FALSE, TRUE, TRUE, FALSE);
    else if (rcNow == rcBefore && nRow < 0)
        ;
    else
        Invalidate(TRUE);
}

BOOL TWKTreeBaseC::Expand(HTREEITEM hItem, UINT nCode, BOOL bRedraw, BOOL bSkipChildrenCheck)
{
    _Node* pNode = NodeOf(hItem);
    if (pNode == m_pRoot)
        return FALSE;
    if (!bSkipChildrenCheck && pNode->m_pFirstChild == NULL && !DeclaresChildren(pNode))
        return TRUE;
    CRect rcBefore(0, 0, 0, 0);
    GetInsideRect(&rcBefore);
    if (nCode == TVE_TOGGLE)
        nCode = pNode->IsExpanded() ? TVE_COLLAPSE : TVE_EXPAND;
    if (NotifyItemExpanding(hItem, nCode) == 1)
        return FALSE;
    int nRow = GetNodeRow(pNode);
    BOOL bExpanded = FALSE;
    if (nCode == TVE_EXPAND)
    {
        if (pNode->IsExpanded())
            return TRUE;
        if (pNode->m_pFirstChild == NULL)
            return FALSE;
        pNode->SetExpanded(TRUE);
        BOOL bAnimate = (m_dwTreeStyleEx & TWKTVS_EX_ANIMATE) && m_hWnd && IsWindowVisible();
        if (bAnimate)
            m_nAnimCount = 0;
        if (nRow >= 0 && !RowsDeferred(pNode))
            InsertRowsFor(pNode, FALSE, nRow + 1, bAnimate);
        bExpanded = TRUE;
    }
    else if (nCode == TVE_COLLAPSE || nCode == 0x8000 || nCode == TVE_COLLAPSERESET)
    {
        if (pNode->IsExpanded())
        {
            _Node* pCaret = GetRowNode(GetFocusItem());
            if (pCaret && pCaret->IsDescendantOf(pNode) && nRow >= 0)
            {
                int nCaret = GetFocusItem();
                NotifySelChanging(nRow, nCaret, 1);
                SetFocusItem(nRow, TRUE);
                NotifySelChanged(nRow, nCaret, 1);
            }
            pNode->SetExpanded(FALSE);
            if (nRow >= 0)
                RemoveRowsFor(pNode, FALSE);
        }
        if (nCode & 0x8000)
        {
            while (TWKTreeNode* pChild = pNode->m_pFirstChild)
            {
                TWKTreeNode* pBefore = pChild;
                DeleteSubtree(H(pChild));
                if (pNode->m_pFirstChild == pBefore)
                    break;   // an owner that refuses the deletion must not hold us here
            }
        }
    }
    NotifyItemExpanded(hItem, nCode);
    if (!bRedraw || m_hWnd == NULL)
        return TRUE;
    if (bExpanded && m_bScrollAfterExpand && nRow >= 0)
    {
        if (TWKTreeNode* pLast = pNode->GetLastChild())
            EnsureVisible(H(pLast), TRUE);
        nRow = GetNodeRow(pNode);
        if (nRow >= 0 && nRow < GetTopIndex())
        {
            SetTopIndex(nRow);
            SetFocusItem(nRow, TRUE);
        }
    }
    // Removing rows laid the list out already; inserted rows still need it.
    if (bExpanded)
        RecalcLayout();
    RedrawFromRow(GetNodeRow(pNode), rcBefore);
    return TRUE;
}

void TWKTreeBaseC::ExpandAll(HTREEITEM hItem, BOOL bRedraw)
{
    _Node* pNode = NodeOf(hItem);
    // Expanding item by item would move all rows below each time: the subtree's rows are
    // taken out, the items expanded, and the rows put back as one run.
    int nItemRow = GetNodeRow(pNode);
    BOOL bDefer = m_pDeferTop == NULL && (pNode == m_pRoot || nItemRow >= 0);
    int nFirst = pNode == m_pRoot ? 0 : nItemRow + 1;
    _Node* pCaret = NULL;
    BOOL bItemSelected = nItemRow >= 0 && IsSelected(nItemRow);
    if (bDefer)
    {
        pCaret = GetRowNode(GetFocusItem());
        int nEnd = nFirst;
        while (nEnd < GetItemCount() && GetRowNode(nEnd)->IsDescendantOf(pNode))
            ++nEnd;
        if (nEnd > nFirst)
        {
            TWKListBaseC::DeleteItem(nFirst, nEnd - nFirst);
            m_nRowsValidBelow = std::min(m_nRowsValidBelow, nFirst);
        }
        m_pDeferTop = pNode;
    }
    BOOL bOk = pNode == m_pRoot || Expand(hItem, TVE_EXPAND, FALSE, FALSE);
    if (bOk)
    {
        // Without recursion: a child's children come after it.
        TWKTreeNode* p = pNode->m_pFirstChild;
        while (p != NULL)
        {
            BOOL bDescend = Expand(H(p), TVE_EXPAND, FALSE, FALSE) && p->m_pFirstChild;
            if (bDescend)
                p = p->m_pFirstChild;
            else
            {
                while (p != NULL && p != pNode && p->m_pNextSibling == NULL)
                    p = p->m_pParent;
                p = (p == NULL || p == pNode) ? NULL : p->m_pNextSibling;
            }
        }
    }
    if (bDefer)
    {
        m_pDeferTop = NULL;
        if (pNode == m_pRoot || (pNode->IsExpanded() && GetNodeRow(pNode) >= 0))
            InsertRowsFor(pNode, FALSE, pNode == m_pRoot ? 0 : GetNodeRow(pNode) + 1);
        // Taking the rows out moved the caret (and maybe the selection) to the item: put both back.
        int nCaret = pCaret ? GetNodeRow(pCaret) : -1;
        if (nCaret >= 0 && nCaret != GetFocusItem())
        {
            SetFocusItemOnly(nCaret);
            int nRow = GetNodeRow(pNode);
            if (!bItemSelected && nRow >= 0 && IsSelected(nRow))
                TWKListCtrl::SetItemState(nRow, 0, LVIS_SELECTED);
        }
    }
    if (bRedraw && m_hWnd)
    {
        RecalcLayout();
        Invalidate(TRUE);
    }
}

void TWKTreeBaseC::CollapseAll(HTREEITEM hItem, BOOL bRedraw)
{
    CRect rcBefore(0, 0, 0, 0);
    GetInsideRect(&rcBefore);
    _Node* pNode = NodeOf(hItem);
    if (pNode->m_pFirstChild && pNode->IsExpanded())
    {
        for (TWKTreeNode* p = pNode->m_pFirstChild; p != NULL; p = p->m_pNextSibling)
            CollapseAll(H(p), FALSE);
        if (pNode != m_pRoot)
            Expand(hItem, TVE_COLLAPSE, FALSE, FALSE);
    }
    if (bRedraw && m_hWnd)
    {
        RecalcLayout();
        RedrawFromRow(GetNodeRow(pNode), rcBefore);
    }
}

BOOL TWKTreeBaseC::EnsureVisible(HTREEITEM hItem, BOOL bWithParent)
{
    if (hItem == NULL || hItem == TVI_ROOT)
        return FALSE;
    _Node* pNode = NodeOf(hItem);
    if (GetNodeRow(pNode) < 0)
    {
        for (_Node* p = static_cast<_Node*>(pNode->m_pParent); p != NULL && p != m_pRoot;
             p = static_cast<_Node*>(p->m_pParent))
        {
            if (!p->IsExpanded() && !Expand(H(p), TVE_EXPAND, FALSE, FALSE))
                return FALSE;
        }
        if (m_hWnd)
        {
            RecalcLayout();
            Invalidate(TRUE);
        }
    }
    int nRow = GetNodeRow(pNode);
    if (nRow < 0)
        return FALSE;
    if (bWithParent)
    {
        int nParent = GetNodeRow(static_cast<_Node*>(pNode->m_pParent));
        return TWKListCtrl::EnsureRangeVisible(nParent >= 0 ? nParent : nRow, nRow);
    }
    return TWKListCtrl::EnsureVisible(nRow, FALSE);
}

// ---- Selection

BOOL TWKTreeBaseC::Select(HTREEITEM hItem, UINT nCode)
{
    if (nCode == TVGN_DROPHILITE)
        return SelectDropTarget(hItem, TRUE);
    if (nCode != TVGN_FIRSTVISIBLE && nCode != TVGN_CARET)
        return FALSE;
    if (!EnsureVisible(hItem, FALSE))
        return FALSE;
    int nRow = GetNodeRow(NodeOf(hItem));
    if (nCode == TVGN_FIRSTVISIBLE)
        return SelectSetFirstVisible(hItem);
    int nOld = GetFocusItem();
    if (NotifySelChanging(nRow, nOld, 2) == 1)
        return FALSE;
    SetFocusItem(nRow, TRUE);
    if (GetFocusItem() != nRow)
        return FALSE;
    NotifySelChanged(nRow, nOld, 2);
    return TRUE;
}

BOOL TWKTreeBaseC::SelectItem(HTREEITEM hItem)
{
    if (!EnsureVisible(hItem, FALSE))
        return FALSE;
    int nRow = GetNodeRow(NodeOf(hItem));
    int nOld = GetFocusItem();
    if (NotifySelChanging(nRow, nOld, 2) == 1)
        return FALSE;
    BOOL bResult = TWKListCtrl::SelectItem(nRow, TRUE);
    if (bResult)
        NotifySelChanged(nRow, nOld, 2);
    if (!(m_dwTreeStyleEx & TWKTVS_EX_MULTISELECT))
        return Select(hItem, TVGN_CARET);
    return bResult;
}

BOOL TWKTreeBaseC::SelectSetFirstVisible(HTREEITEM hItem)
{
    int nRow = GetItemIndex(hItem);
    if (nRow < 0)
        return FALSE;
    SetTopIndex(nRow);
    return TRUE;
}

BOOL TWKTreeBaseC::SelectDropTarget(HTREEITEM hItem, BOOL bMakeVisible)
{
    if (hItem == NULL)
    {
        SetDropHighlight(-1);
        if (m_nHoverTimer && m_hWnd)
            KillTimer(m_nHoverTimer);
        m_nHoverTimer = 0;
        return FALSE;
    }
    if (bMakeVisible && !EnsureVisible(hItem, FALSE))
        return FALSE;
    int nRow = GetNodeRow(NodeOf(hItem));
    if (nRow < 0)
        return FALSE;
    int nOld = GetDropHighlight();
    if (nOld >= 0 && nOld != nRow)
        SetDropHighlight(-1);
    BOOL bResult = SetDropHighlight(nRow);
    if ((m_dwTreeStyleEx & TWKTVS_EX_HOVEREXPAND) && nRow != nOld && m_hWnd)
    {
        if (m_nHoverTimer)
            KillTimer(m_nHoverTimer);
        m_nHoverTimer = SetTimer(TIMER_HOVER, m_nHoverDelay, NULL);
    }
    return bResult;
}

// ---- Messages

void TWKTreeBaseC::OnDestroy()
{
    DeleteItem(TVI_ROOT);
    delete m_pMeasureDC;
    m_pMeasureDC = NULL;
    TWKListCtrl::OnDestroy();
}

void TWKTreeBaseC::OnTimer(UINT_PTR nIDEvent)
{
    if (m_nHoverTimer && nIDEvent == m_nHoverTimer)
    {
        KillTimer(m_nHoverTimer);
        m_nHoverTimer = 0;
        if (m_dwTreeStyleEx & TWKTVS_EX_HOVEREXPAND)
        {
            _Node* pDrop = GetRowNode(GetDropHighlight());
            if (pDrop && !pDrop->IsExpanded())
            {
                Expand(H(pDrop), TVE_EXPAND, TRUE, FALSE);
                UpdateWindow();
            }
        }
    }
    TWKListCtrl::OnTimer(nIDEvent);
}

void TWKTreeBaseC::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // The key-down path expands and collapses; these must not also type ahead.
    if (nChar == '-' || nChar == '_' || nChar == '=' || nChar == '+')
        return;
    TWKListCtrl::OnChar(nChar, nRepCnt, nFlags);
}

void TWKTreeBaseC::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (GetListTip() && GetListTip()->IsShowing())
    {
        CWnd* pMain = AfxGetMainWnd();
        SendMessage(WM_SETCURSOR, (WPARAM)(pMain ? pMain->m_hWnd : NULL), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    }
    if (::GetFocus() != m_hWnd)
        SetFocus();
    _Node* pCaret = GetRowNode(GetFocusItem());
    UINT nHit = 0;
    HTREEITEM hHit = HitTest(point.x, point.y, &nHit);
    if ((m_dwTreeStyle & TVS_SINGLEEXPAND) && pCaret && hHit)
    {
        TWKListCtrl::OnLButtonDown(nFlags, point);
        _Node* pNew = GetRowNode(GetFocusItem());
        _Node* pHit = NodeOf(hHit);
        if (pNew == pCaret && pHit == pCaret)
            Expand(hHit, TVE_TOGGLE, TRUE);
        else if (pNew == pHit && pNew != pCaret)
        {
            if (pCaret->IsExpanded() && !pCaret->IsAncestorOf(pNew))
                Expand(H(pCaret), TVE_COLLAPSE, TRUE);
            Expand(hHit, TVE_EXPAND, TRUE);
        }
        return;
    }
    if (hHit && (nHit & TVHT_ONITEMBUTTON))
    {
        Expand(hHit, TVE_TOGGLE, TRUE);
        return;
    }
    TWKListCtrl::OnLButtonDown(nFlags, point);
}

void TWKTreeBaseC::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    m_lLastResult = 0;
    TWKListCtrl::OnLButtonDblClk(nFlags, point);
    if (m_lLastResult != 0)
        return;
    UINT nHit = 0;
    HTREEITEM hHit = HitTest(point.x, point.y, &nHit);
    if (hHit && !(nFlags & (MK_SHIFT | MK_CONTROL)) &&
        (nHit & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMBUTTON)))
        Expand(hHit, TVE_TOGGLE, TRUE);
}

// ---- Keys

void TWKTreeBaseC::ToggleOrCollapseCaret(int nRow, BOOL bRight)
{
    _Node* pNode = GetRowNode(nRow);
    if (pNode == NULL)
        return;
    BOOL bActed = FALSE;
    if (!bRight)
    {
        if (pNode->IsExpanded() && DeclaresChildren(pNode))
            bActed = Expand(H(pNode), TVE_COLLAPSE, TRUE);
        else if (pNode->m_pParent && pNode->m_pParent != m_pRoot)
        {
            DeselectAllExcept(-1);
            bActed = Select(H(pNode->m_pParent), TVGN_CARET);
        }
    }
    else if (pNode->IsExpanded() && pNode->m_pFirstChild)
    {
        DeselectAllExcept(-1);
        bActed = Select(H(pNode->m_pFirstChild), TVGN_CARET);
    }
    else if (!pNode->IsExpanded() && DeclaresChildren(pNode))
        bActed = Expand(H(pNode), TVE_EXPAND, TRUE);
    if (bActed && GetListTip())
        GetListTip()->Hide();
}

void TWKTreeBaseC::OnLeftKey(int nRow, int, BOOL, BOOL, UINT, UINT) { ToggleOrCollapseCaret(nRow, FALSE); }
void TWKTreeBaseC::OnBackKey(int nRow, int, BOOL, BOOL, UINT, UINT) { ToggleOrCollapseCaret(nRow, FALSE); }
void TWKTreeBaseC::OnRightKey(int nRow, int, BOOL, BOOL, UINT, UINT) { ToggleOrCollapseCaret(nRow, TRUE); }

void TWKTreeBaseC::OnMultiplyKey(int nRow, int, BOOL, BOOL, UINT, UINT)
{
    if (_Node* pNode = GetRowNode(nRow))
        ExpandAll(H(pNode), TRUE);
}

// ---- Redrawing and drag images

BOOL TWKTreeBaseC::RedrawItem(HTREEITEM hItem, BOOL bLabelOnly, BOOL bErase, BOOL bToEnd, BOOL bUpdateNow)
{
    int nRow = GetItemIndex(hItem);
    if (nRow < 0)
        return FALSE;
    InvalidateItem(nRow, bLabelOnly, bErase, bToEnd, bUpdateNow);
    return TRUE;
}

CBitmap* TWKTreeBaseC::CreateTextBitmap(CDC* pDC, LPCSTR lpszText)
{
    CRect rc(0, 0, 0, 0);
    pDC->DrawText(lpszText, -1, &rc, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    if (rc.Width() <= 0 || rc.Height() <= 0)
        rc.SetRect(0, 0, 1, std::max(1, (int)rc.Height()));
    CBitmap* pBitmap = new CBitmap;
    CClientDC dcWnd(this);
    if (!pBitmap->CreateCompatibleBitmap(&dcWnd, rc.Width(), rc.Height()))
    {
        delete pBitmap;
        return NULL;
    }
    CBitmap* pOld = pDC->SelectObject(pBitmap);
    pDC->FillSolidRect(&rc, GetBkColor());
    pDC->SetTextColor(GetTextColor());
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(lpszText, -1, &rc, DT_NOPREFIX | DT_EXPANDTABS);
    pDC->SelectObject(pOld);
    return pBitmap;
}

CImageList* TWKTreeBaseC::CreateTextImageList(CDC* pDC, LPCSTR lpszText)
{
    CBitmap* pBitmap = CreateTextBitmap(pDC, lpszText);
    if (pBitmap == NULL)
        return NULL;
    BITMAP bm;
    pBitmap->GetBitmap(&bm);
    CImageList* pList = new CImageList;
    if (!pList->Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 1) || pList->Add(pBitmap, CLR_NONE) < 0)
    {
        delete pList;
        pList = NULL;
    }
    delete pBitmap;
    return pList;
}

CImageList* TWKTreeBaseC::CreateIconImageList(CImageList* pImages, int nImage)
{
    IMAGEINFO info;
    if (pImages == NULL || !pImages->GetImageInfo(nImage, &info))
        return NULL;
    CImageList* pList = new CImageList;
    int cx = info.rcImage.right - info.rcImage.left, cy = info.rcImage.bottom - info.rcImage.top;
    HICON hIcon = pImages->ExtractIcon(nImage);
    if (!pList->Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1) || hIcon == NULL || pList->Add(hIcon) < 0)
    {
        delete pList;
        pList = NULL;
    }
    if (hIcon)
        ::DestroyIcon(hIcon);
    return pList;
}

CImageList* TWKTreeBaseC::MergeImageLists(CImageList* pIcon, CImageList* pText)
{
    CImageList* pMerged = NULL;
    if (pIcon && pText)
    {
        IMAGEINFO info;
        int cx = pIcon->GetImageInfo(0, &info) ? info.rcImage.right - info.rcImage.left : 0;
        pMerged = new CImageList;
        if (!pMerged->Create(*pIcon, 0, *pText, 0, cx + 6, 0))
        {
            delete pMerged;
            pMerged = NULL;
        }
    }
    delete pIcon;
    delete pText;
    return pMerged;
}

CImageList* TWKTreeBaseC::CreateDragImage(HTREEITEM hItem)
{
    CImageList* pImages = GetImageList(LVSIL_NORMAL);
    if (pImages == NULL || pImages->GetSafeHandle() == NULL || m_hWnd == NULL || hItem == NULL || hItem == TVI_ROOT)
        return NULL;
    TVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = m_pszTextBuffer;
    item.cchTextMax = TWKLIST_TEXTBUFFER;
    m_pszTextBuffer[0] = 0;
    GetItem(&item, TRUE, TRUE);
    CString strText = (item.pszText && item.pszText != LPSTR_TEXTCALLBACKA) ? item.pszText : "";
    CClientDC dcWnd(this);
    CDC dc;
    if (!dc.CreateCompatibleDC(&dcWnd))
        return NULL;
    TWKListPaintContext* pCtx = CreatePaintContext(&dc);
    int nRow = GetItemIndex(hItem);
    pCtx->m_item.iItem = nRow;
    pCtx->m_pItem = GetItemPtr(nRow);
    pCtx->m_pColumn = GetColumnPtr(0);
    if (nRow >= 0)
        PreparePaintContext(pCtx);
    int nSaved = dc.SaveDC();
    dc.SelectObject(pCtx->m_pFont ? pCtx->m_pFont : GetItemFont());
    CImageList* pText = CreateTextImageList(&dc, strText);
    dc.RestoreDC(nSaved);
    delete pCtx;
    CImageList* pIcon = CreateIconImageList(pImages, item.iImage);
    return MergeImageLists(pIcon, pText);
}
