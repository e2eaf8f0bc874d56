// The tree's items: handles and rows, navigation, fields, insertion and
// deletion, moving, hiding, sorting, counting; the tree's style words.
#include "framework/controls/list/TWKTreeCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(TWKTreeBaseC, TWKListCtrl)
IMPLEMENT_DYNAMIC(TWKTreeCtrl, TWKTreeBaseC)

// Registered while the program starts, before any tree exists.
const UINT TWK_WM_TREEENDLABELEDIT = ::RegisterWindowMessageA("TWKTreeCtrlNotifyEndLabelEditRegMsg");

namespace {

inline BOOL IsRootHandle(HTREEITEM hItem) { return hItem == NULL || hItem == TVI_ROOT; }

inline _Node* AsNode(TWKTreeNode* p) { return static_cast<_Node*>(p); }

// Pre-order successor inside pTop's subtree that skips the children of
// nodes for which bDescend is false; NULL after the subtree.
template<class F> _Node* NextInSubtree(_Node* pNode, _Node* pTop, F bDescend)
{
    if (bDescend(pNode) && pNode->m_pFirstChild)
        return AsNode(pNode->m_pFirstChild);
    for (TWKTreeNode* p = pNode; p != NULL && p != pTop; p = p->m_pParent)
        if (p->m_pNextSibling)
            return AsNode(p->m_pNextSibling);
    return NULL;
}

} // namespace

// ---- Construction and creation

TWKTreeBaseC::TWKTreeBaseC()
    : m_pSubItemTexts(NULL), m_pRoot(NULL), m_nIndent(20), m_dwTreeStyle(0), m_dwTreeStyleEx(0), m_nHoverTimer(0),
      m_nHoverDelay(1000), m_nAnimSteps(5), m_nAnimCount(0), m_bScrollAfterExpand(TRUE), m_nRowsValidBelow(0),
      m_pMeasureDC(NULL), m_bMeasuring(FALSE), m_pDeferTop(NULL), m_pLastParent(NULL), m_pLastChild(NULL)
{
    m_pRoot = CreateNode();
    m_pRoot->SetExpanded(TRUE);
    m_dwListStyle |= LVS_REPORT | LVS_SHAREIMAGELISTS;
}

TWKTreeCtrl::~TWKTreeCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

TWKTreeBaseC::~TWKTreeBaseC()
{
    // The list's WM_DESTROY still deletes the items through this class, with their notifications.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    TWKListBaseC::DeleteAllItems();
    delete m_pSubItemTexts;
    m_pSubItemTexts = NULL;
    delete m_pMeasureDC;
    m_pMeasureDC = NULL;
    delete m_pRoot;
    m_pRoot = NULL;
}

BOOL TWKTreeBaseC::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return Create(dwStyle, 0, rect, pParentWnd, nID, pContext);
}

BOOL TWKTreeBaseC::Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CCreateContext* pContext)
{
    if (GetColumnCount() == 0)
        InsertColumn(0, "", LVCFMT_CENTER, 0, 0, -1, FALSE);
    if (LOBYTE(LOWORD(::GetVersion())) < 4)
        dwExStyle &= 0x0FFFFFFF;
    return TWKListCtrl::Create(dwStyle, dwExStyle, rect, pParentWnd, nID, pContext);
}

BOOL TWKTreeBaseC::CreateFromDlgItem(UINT nID, CWnd* pDialog)
{
    CWnd* pItem = pDialog ? pDialog->GetDlgItem(nID) : NULL;
    if (pItem == NULL)
        return FALSE;
    DWORD dwStyle = pItem->GetStyle();
    DWORD dwExStyle = pItem->GetExStyle();
    CRect rc;
    pItem->GetWindowRect(&rc);
    pDialog->ScreenToClient(&rc);
    HWND hAfter = ::GetWindow(pItem->m_hWnd, GW_HWNDPREV);
    pItem->DestroyWindow();
    if (!Create(dwStyle, dwExStyle | 0x800000, rc, pDialog, nID))
        return FALSE;
    ::SetWindowPos(m_hWnd, hAfter ? hAfter : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

_Node* TWKTreeBaseC::CreateNode() { return new _Node; }

// ---- Styles

void TWKTreeBaseC::GetTreeStyles(DWORD* pdwStyle, DWORD* pdwExStyle)
{
    if (pdwStyle)
        *pdwStyle = GetTreeStyle();
    if (pdwExStyle)
        *pdwExStyle = GetTreeStyleEx();
}

BOOL TWKTreeBaseC::SetTreeStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw)
{
    if (!SetTreeStyle(dwStyle, bRedraw))
        return FALSE;
    return SetTreeStyleEx(dwExStyle, bRedraw);
}

DWORD TWKTreeBaseC::GetTreeStyle()
{
    DWORD dw = m_dwTreeStyle;
    if (m_dwListStyle & LVS_EDITLABELS)
        dw |= TVS_EDITLABELS;
    if (m_dwListStyle & LVS_SHOWSELALWAYS)
        dw |= TVS_SHOWSELALWAYS;
    return dw;
}

DWORD TWKTreeBaseC::GetTreeStyleEx() { return m_dwTreeStyleEx; }

BOOL TWKTreeBaseC::SetTreeStyle(DWORD dwStyle, BOOL bRedraw)
{
    m_dwTreeStyle = dwStyle & TWKTVS_TREEBITS;
    DWORD dwRemove = 0, dwAdd = 0;
    (dwStyle & TVS_EDITLABELS ? dwAdd : dwRemove) |= LVS_EDITLABELS;
    (dwStyle & TVS_SHOWSELALWAYS ? dwAdd : dwRemove) |= LVS_SHOWSELALWAYS;
    ModifyListStyle(dwRemove, dwAdd, bRedraw);
    return TRUE;
}

BOOL TWKTreeBaseC::SetTreeStyleEx(DWORD dwExStyle, BOOL bRedraw)
{
    m_dwTreeStyleEx = dwExStyle;
    DWORD dwRemove = 0, dwAdd = 0, dwRemoveEx = 0, dwAddEx = 0;
    (dwExStyle & TWKTVS_EX_MULTISELECT ? dwRemove : dwAdd) |= LVS_SINGLESEL;
    (dwExStyle & TWKTVS_EX_LABELWRAP ? dwRemove : dwAdd) |= LVS_NOLABELWRAP;
    BOOL bHeader = (dwExStyle & TWKTVS_EX_HEADER) != 0;
    (bHeader ? dwRemove : dwAdd) |= LVS_NOCOLUMNHEADER;
    BOOL bButtons = bHeader && (dwExStyle & TWKTVS_EX_HEADERBUTTONS);
    (bButtons ? dwRemove : dwAdd) |= LVS_NOSORTHEADER;
    (bButtons && (dwExStyle & TWKTVS_EX_HEADERDRAGDROP) ? dwAddEx : dwRemoveEx) |= TWKLVS_EX_HEADERDRAGDROP;
    (dwExStyle & TWKTVS_EX_LABELTIPS ? dwAddEx : dwRemoveEx) |= TWKLVS_EX_LABELTIPS;
    ModifyListStyles(dwRemove, dwAdd, dwRemoveEx, dwAddEx, bRedraw);
    return TRUE;
}

BOOL TWKTreeBaseC::ModifyTreeStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    return SetTreeStyle((GetTreeStyle() & ~dwRemove) | dwAdd, bRedraw);
}

BOOL TWKTreeBaseC::ModifyTreeStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    return SetTreeStyleEx((m_dwTreeStyleEx & ~dwRemove) | dwAdd, bRedraw);
}

BOOL TWKTreeBaseC::ModifyTreeStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx, BOOL bRedraw)
{
    if (!ModifyTreeStyle(dwRemove, dwAdd, FALSE))
        return FALSE;
    return ModifyTreeStyleEx(dwRemoveEx, dwAddEx, bRedraw);
}

void TWKTreeBaseC::SplitCreateStyles(CREATESTRUCT* pcs)
{
    DWORD dwStyle = pcs->style & 0x43F;
    DWORD dwExStyle = pcs->dwExStyle & 0x3F00000;
    pcs->style &= ~(DWORD)0x43F;
    pcs->dwExStyle &= ~(DWORD)0x3F00000;
    ModifyTreeStyle(0, dwStyle, FALSE);
    ModifyTreeStyleEx(0, dwExStyle, FALSE);
    TWKListCtrl::SplitCreateStyles(pcs);
}

void TWKTreeBaseC::EnableMultiSelect(BOOL bEnable)
{
    m_dwTreeStyleEx = bEnable ? (m_dwTreeStyleEx | TWKTVS_EX_MULTISELECT) : (m_dwTreeStyleEx & ~TWKTVS_EX_MULTISELECT);
    TWKListCtrl::EnableMultiSelect(bEnable);
}

void TWKTreeBaseC::EnableLabelWrap(BOOL bEnable)
{
    m_dwTreeStyleEx = bEnable ? (m_dwTreeStyleEx | TWKTVS_EX_LABELWRAP) : (m_dwTreeStyleEx & ~TWKTVS_EX_LABELWRAP);
    TWKListCtrl::EnableLabelWrap(bEnable);
}

void TWKTreeBaseC::EnableLabelTips(BOOL bEnable)
{
    m_dwTreeStyleEx = bEnable ? (m_dwTreeStyleEx | TWKTVS_EX_LABELTIPS) : (m_dwTreeStyleEx & ~TWKTVS_EX_LABELTIPS);
    TWKListCtrl::EnableLabelTips(bEnable);
}

void TWKTreeBaseC::ShowHeader(BOOL bShow, BOOL bButtons)
{
    m_dwTreeStyleEx = bShow ? (m_dwTreeStyleEx | TWKTVS_EX_HEADER) : (m_dwTreeStyleEx & ~TWKTVS_EX_HEADER);
    m_dwTreeStyleEx =
        bButtons ? (m_dwTreeStyleEx | TWKTVS_EX_HEADERBUTTONS) : (m_dwTreeStyleEx & ~TWKTVS_EX_HEADERBUTTONS);
    TWKListCtrl::ShowHeader(bShow, bButtons);
}

// ---- Handles and rows

_Node* TWKTreeBaseC::NodeOf(HTREEITEM hItem) const
{
    return IsRootHandle(hItem) ? m_pRoot : reinterpret_cast<_Node*>(hItem);
}

_Node* TWKTreeBaseC::GetRowNode(int nRow) const
{
    TWKListItem* pItem = GetItemPtr(nRow);
    return pItem ? reinterpret_cast<_Node*>(pItem->m_lParam) : NULL;
}

// The row is remembered in the node and checked against the list; after
// rows moved, the hints from the first moved row on are renumbered once.
int TWKTreeBaseC::GetNodeRow(_Node* pNode)
{
    if (pNode == NULL || pNode == m_pRoot)
        return -1;
    int nCount = (int)m_rows.GetSize();
    int nHint = pNode->m_nRowHint;
    if (nHint >= 0 && nHint < nCount && GetRowNode(nHint) == pNode)
        return nHint;
    if (m_nRowsValidBelow >= nCount)
        return -1;
    for (int r = std::max(m_nRowsValidBelow, 0); r < nCount; ++r)
        GetRowNode(r)->m_nRowHint = r;
    m_nRowsValidBelow = nCount;
    nHint = pNode->m_nRowHint;
    return (nHint >= 0 && nHint < nCount && GetRowNode(nHint) == pNode) ? nHint : -1;
}

int TWKTreeBaseC::GetItemIndex(HTREEITEM hItem, int nStart)
{
    if (IsRootHandle(hItem))
        return -1;
    int nRow = GetNodeRow(NodeOf(hItem));
    return nRow >= nStart ? nRow : -1;
}

HTREEITEM TWKTreeBaseC::GetItemAtIndex(int nRow) { return reinterpret_cast<HTREEITEM>(GetRowNode(nRow)); }

BOOL TWKTreeBaseC::GetItemRect(HTREEITEM hItem, LPRECT lpRect, int nCode)
{
    int nRow = IsRootHandle(hItem) ? -1 : GetNodeRow(NodeOf(hItem));
    return nRow >= 0 && TWKListCtrl::GetItemRect(nRow, lpRect, nCode);
}

void TWKTreeBaseC::SetIndent(int nIndent)
{
    m_nIndent = nIndent + (nIndent & 1);
    if (m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
}

CImageList* TWKTreeBaseC::SetImageList(CImageList* pList, int nWhich)
{
    if (nWhich == LVSIL_NORMAL && pList && pList->GetSafeHandle())
    {
        IMAGEINFO info;
        if (pList->GetImageInfo(0, &info))
        {
            int cx = info.rcImage.right - info.rcImage.left;
            if (cx > m_nIndent)
                SetIndent(cx);
        }
    }
    return TWKListCtrl::SetImageList(pList, nWhich);
}

BOOL TWKTreeBaseC::IsNodeHidden(_Node* pNode) const
{
    for (_Node* p = pNode; p != NULL && p != m_pRoot; p = AsNode(p->m_pParent))
        if (p->m_dwExState & TWKTVIS_EX_HIDDEN)
            return TRUE;
    return FALSE;
}

// Neither it nor an ancestor hidden, every ancestor up to the hidden root expanded.
BOOL TWKTreeBaseC::IsDisplayed(_Node* pNode) const
{
    if (pNode == NULL || pNode == m_pRoot)
        return FALSE;
    for (_Node* p = pNode; p != m_pRoot; p = AsNode(p->m_pParent))
    {
        if (p == NULL || (p->m_dwExState & TWKTVIS_EX_HIDDEN))
            return FALSE;
        _Node* pParent = AsNode(p->m_pParent);
        if (pParent == NULL || (pParent != m_pRoot && !pParent->IsExpanded()))
            return FALSE;
    }
    return TRUE;
}

// The displayed items below pNode (and pNode itself) in pre-order.
void TWKTreeBaseC::CollectDisplayed(_Node* pNode, BOOL bWithSelf, CPtrArray& nodes)
{
    if (bWithSelf)
    {
        if (pNode->m_dwExState & TWKTVIS_EX_HIDDEN)
            return;
        nodes.Add(pNode);
    }
    if (!pNode->IsExpanded() && pNode != m_pRoot)
        return;
    auto descend = [](_Node* p) { return p->IsExpanded(); };
    _Node* p = AsNode(pNode->m_pFirstChild);
    while (p != NULL)
    {
        if (p->m_dwExState & TWKTVIS_EX_HIDDEN)
        {
            p = NextInSubtree(p, pNode, [](_Node*) { return FALSE; });
            continue;
        }
        nodes.Add(p);
        p = NextInSubtree(p, pNode, descend);
    }
}

void TWKTreeBaseC::InsertRowRun(int nRow, CPtrArray& nodes, BOOL bAnimate)
{
    INT_PTR nNew = nodes.GetSize();
    if (nNew == 0)
        return;
    int nCount = (int)m_rows.GetSize();
    if (nRow < 0 || nRow > nCount)
        nRow = nCount;
    CPtrArray items;
    items.SetSize(nNew);
    int nColumns = GetColumnCount();
    for (INT_PTR i = 0; i < nNew; ++i)
    {
        _Node* pNode = (_Node*)nodes[i];
        TWKListItem* pItem = CreateItem();
        pItem->m_lParam = (LPARAM)pNode;
        pItem->m_nImage = pNode->m_item.iImage;
        if (pNode->m_nRowHeight > 0)
            pItem->m_nHeight = pNode->m_nRowHeight;
        while (nColumns >= 2 && pItem->m_subItems.GetSize() < nColumns - 1)
            pItem->AddSubItem();
        pNode->m_nRowHint = nRow + (int)i;
        items[i] = pItem;
    }
    m_rows.InsertAt(nRow, &items);
    int k = (int)nNew;
    for (int* p : { &m_nFocusRow, &m_nDropRow, &m_nAnchorRow, &m_nEditRow })
        if (*p >= nRow)
            *p += k;
    BOOL bFound;
    for (INT_PTR i = FindSelection(nRow, &bFound); i < m_selection.GetSize(); ++i)
        m_selection[i] += k;
    for (INT_PTR i = 0; i < nNew; ++i)
        if (((_Node*)nodes[i])->m_item.state & TVIS_SELECTED)
            AddSelection(nRow + (int)i);
    if (m_nRowsValidBelow >= nRow)
        m_nRowsValidBelow = nRow + k < (int)m_rows.GetSize() ? nRow + k : (int)m_rows.GetSize();
    if (bAnimate && m_hWnd)
    {
        for (int i = 0; i < k && i < m_nAnimSteps; ++i)
        {
            m_nAnimCount++;
            InvalidateItem(nRow + i, FALSE, TRUE, FALSE, TRUE);
        }
    }
}

void TWKTreeBaseC::DeleteRowRun(int nRow, int nCount)
{
    if (nCount <= 0 || nRow < 0)
        return;
    for (int r = nRow; r < nRow + nCount && r < GetItemCount(); ++r)
        if (_Node* pNode = GetRowNode(r))
            pNode->m_item.state &= ~(UINT)TVIS_SELECTED;
    BOOL bAnimate = (m_dwTreeStyleEx & TWKTVS_EX_ANIMATE) && m_hWnd && IsWindowVisible();
    if (bAnimate)
    {
        int nEvery = std::max(1, nCount / std::max(1, m_nAnimSteps));
        for (int i = 0; i < nCount; ++i)
        {
            TWKListBaseC::DeleteItem(nRow, 1);
            if ((i + 1) % nEvery == 0)
                UpdateWindow();
        }
        UpdateWindow();
    }
    else
        TWKListBaseC::DeleteItem(nRow, nCount);
    if (m_nRowsValidBelow > nRow)
        m_nRowsValidBelow = nRow;
}

// The row a newly displayed item takes: before the next displayed item after its subtree.
int TWKTreeBaseC::FindRowForNew(_Node* pNode)
{
    for (TWKTreeNode* p = pNode; p != NULL && p != m_pRoot; p = p->m_pParent)
    {
        for (TWKTreeNode* s = p->m_pNextSibling; s != NULL; s = s->m_pNextSibling)
        {
            if (!(AsNode(s)->m_dwExState & TWKTVIS_EX_HIDDEN))
            {
                int nRow = GetNodeRow(AsNode(s));
                if (nRow >= 0)
                    return nRow;
            }
        }
    }
    return (int)m_rows.GetSize();
}

// Inserts the rows of pNode's displayed subtree (with pNode when asked) as one run at nRow.
int TWKTreeBaseC::InsertRowsFor(_Node* pNode, BOOL bWithSelf, int nRow, BOOL bAnimate)
{
    CPtrArray nodes;
    CollectDisplayed(pNode, bWithSelf, nodes);
    InsertRowRun(nRow, nodes, bAnimate);
    return (int)nodes.GetSize();
}

// Removes the rows of pNode's subtree (and its own when asked) as one run; the count removed.
int TWKTreeBaseC::RemoveRowsFor(_Node* pNode, BOOL bWithSelf)
{
    int nRow = GetNodeRow(pNode);
    if (nRow < 0)
        return 0;
    int nFirst = bWithSelf ? nRow : nRow + 1;
    int nCount = GetItemCount();
    // The subtree's rows end where the next displayed item after it stands; the
    // rows at that border confirm it, else the rows are walked.
    int nEnd = FindRowForNew(pNode);
    auto inside = [&](int r) {
        _Node* p = GetRowNode(r);
        return p != NULL && (p == pNode || p->IsDescendantOf(pNode));
    };
    if (nEnd <= nRow || nEnd > nCount || !inside(nEnd - 1) || (nEnd < nCount && inside(nEnd)))
    {
        nEnd = nRow + 1;
        while (nEnd < nCount && inside(nEnd))
            ++nEnd;
    }
    DeleteRowRun(nFirst, nEnd - nFirst);
    return nEnd - nFirst;
}

BOOL TWKTreeBaseC::RowsDeferred(_Node* pNode) const
{
    return m_pDeferTop != NULL && (pNode == m_pDeferTop || pNode->IsDescendantOf(m_pDeferTop));
}

// ---- Navigation

HTREEITEM TWKTreeBaseC::GetNextItem(HTREEITEM hItem, UINT nCode)
{
    _Node* pNode = NodeOf(hItem);
    BOOL bRoot = IsRootHandle(hItem);
    auto h = [](TWKTreeNode* p) { return reinterpret_cast<HTREEITEM>(p); };
    switch (nCode)
    {
    case TVGN_ROOT: return h(m_pRoot->GetFirstChild());
    case TVGN_NEXT: return bRoot ? NULL : h(pNode->GetNextSibling());
    case TVGN_PREVIOUS: return bRoot ? NULL : h(pNode->GetPrevSibling());
    case TVGN_PARENT:
    {
        if (bRoot)
            return NULL;
        TWKTreeNode* p = pNode->GetParent();
        return p == m_pRoot ? NULL : h(p);
    }
    case TVGN_CHILD: return h(pNode->GetFirstChild());
    case TVGN_FIRSTVISIBLE: return h(GetRowNode(GetTopIndex()));
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE:
    {
        BOOL bNext = nCode == TVGN_NEXTVISIBLE;
        if (bRoot)
            return bNext ? h(GetRowNode(0)) : NULL;
        int nRow = GetNodeRow(pNode);
        if (nRow >= 0)
            return h(GetRowNode(bNext ? nRow + 1 : nRow - 1));
        for (TWKTreeNode* p = bNext ? pNode->GetNextInOrder() : pNode->GetPrevInOrder(); p != NULL && p != m_pRoot;
             p = bNext ? p->GetNextInOrder() : p->GetPrevInOrder())
            if (IsDisplayed(AsNode(p)))
                return h(p);
        return NULL;
    }
    case TVGN_DROPHILITE: return h(GetRowNode(GetDropHighlight()));
    case TVGN_CARET: return h(GetRowNode(GetFocusItem()));
    case 32: return h(GetRowNode(TWKListCtrl::GetNextItem(-1, LVNI_SELECTED)));
    case 33:
    case 34:
    {
        // From an item without a row: the nearest displayed item before it (33) or after it (34).
        BOOL bDown = nCode == 33;
        if (bRoot)
            return NULL;
        int nRow = GetNodeRow(pNode);
        for (TWKTreeNode* p = pNode; nRow < 0;)
        {
            p = bDown ? p->GetPrevInOrder() : p->GetNextInOrder();
            if (p == NULL || p == m_pRoot)
                break;
            nRow = GetNodeRow(AsNode(p));
        }
        return h(GetRowNode(TWKListCtrl::GetNextItem(nRow, LVNI_SELECTED | (bDown ? 0 : LVNI_ABOVE))));
    }
    default: return NULL;
    }
}

// ---- Item fields

BOOL TWKTreeBaseC::DeclaresChildren(_Node* pNode)
{
    if (pNode->m_pFirstChild)
        return TRUE;
    int nChildren = pNode->m_item.cChildren;
    if (nChildren == I_CHILDRENCALLBACK)
    {
        TVITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = TVIF_CHILDREN;
        item.hItem = reinterpret_cast<HTREEITEM>(pNode);
        item.lParam = pNode->m_item.lParam;
        NotifyGetDispInfo(&item);
        nChildren = item.cChildren;
    }
    return nChildren > 0;
}

// Steps 1-6 of a write: the node's fields, the owner's callback fields, the row.
void TWKTreeBaseC::WriteFields(_Node* pNode, TVITEMA* pItem, BOOL bSyncRow)
{
    UINT nMask = pItem->mask;
    UINT nCallback = 0;
    TVITEMA& node = pNode->m_item;
    // A field the owner supplies takes no value: the write goes to the owner.
    auto store = [&](UINT nFlag, int& nField, int nValue, int nCallbackValue) {
        if (!(nMask & nFlag))
            return;
        if (nField == nCallbackValue)
            nCallback |= nFlag;
        else
            nField = nValue;
    };
    store(TVIF_CHILDREN, node.cChildren, pItem->cChildren, I_CHILDRENCALLBACK);
    store(TVIF_IMAGE, node.iImage, pItem->iImage, I_IMAGECALLBACK);
    store(TVIF_SELECTEDIMAGE, node.iSelectedImage, pItem->iSelectedImage, I_IMAGECALLBACK);
    if (nMask & TVIF_PARAM)
        node.lParam = pItem->lParam;
    if (nMask & TVIF_STATE)
        node.state = (node.state & ~pItem->stateMask) | (pItem->state & pItem->stateMask);
    if (nMask & TVIF_TEXT)
    {
        if (pItem->pszText == LPSTR_TEXTCALLBACKA)
            pNode->SetText(LPSTR_TEXTCALLBACKA);
        else if (node.pszText != LPSTR_TEXTCALLBACKA)
            pNode->SetText(pItem->pszText ? pItem->pszText : "");
        else
            nCallback |= TVIF_TEXT;
    }
    if (nCallback)
    {
        TVITEMA item = *pItem;
        item.mask = nCallback;
        item.hItem = reinterpret_cast<HTREEITEM>(pNode);
        NotifySetDispInfo(&item);
    }
    if (!bSyncRow || m_hWnd == NULL)
        return;
    int nRow = GetNodeRow(pNode);
    if (nRow < 0)
        return;
    LVITEMA lv;
    memset(&lv, 0, sizeof(lv));
    lv.iItem = nRow;
    UINT nStateMask = (nMask & TVIF_STATE) ? pItem->stateMask : 0;
    UINT nListMask = nStateMask & (TVIS_CUT | TVIS_DROPHILITED | TVIS_SELECTED);
    if (nStateMask & TVIS_OVERLAYMASK)
        nListMask |= TVIS_OVERLAYMASK;
    if (nStateMask & TVIS_STATEIMAGEMASK)
        nListMask |= TVIS_STATEIMAGEMASK;
    if (nListMask)
    {
        lv.mask |= LVIF_STATE;
        lv.stateMask = nListMask;
        lv.state = node.state & nListMask;
    }
    if (nMask & TVIF_IMAGE)
    {
        lv.mask |= LVIF_IMAGE;
        lv.iImage = node.iImage;
    }
    if (lv.mask)
        TWKListCtrl::SetItem(&lv, TRUE);
    BOOL bDrop = (nStateMask & TVIS_DROPHILITED) != 0;
    if (((nMask & (TVIF_TEXT | TVIF_IMAGE)) || bDrop || (nStateMask & (TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK))) &&
        nRow != m_nEditRow)
    {
        RemeasureItem(nRow);
        RecalcLayout();
        InvalidateItem(nRow, FALSE, TRUE, FALSE, bDrop);
    }
}

BOOL TWKTreeBaseC::SetItem(TVITEMA* pItem)
{
    if (pItem == NULL || IsRootHandle(pItem->hItem))
        return FALSE;
    WriteFields(NodeOf(pItem->hItem), pItem, TRUE);
    return TRUE;
}

BOOL TWKTreeBaseC::SetItem(HTREEITEM hItem, UINT nMask, LPCSTR lpszText, int nImage, int nSelectedImage, UINT nState,
                           UINT nStateMask, LPARAM lParam)
{
    if (IsRootHandle(hItem))
        return FALSE;
    TVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = nMask | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = (LPSTR)lpszText;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

BOOL TWKTreeBaseC::GetItem(TVITEMA* pItem, BOOL bCopyText, BOOL bNotify)
{
    if (pItem == NULL)
        return FALSE;
    _Node* pNode = NodeOf(pItem->hItem);
    const TVITEMA& node = pNode->m_item;
    UINT nMask = pItem->mask;
    UINT nCallback = 0;
    if (nMask & TVIF_CHILDREN)
    {
        pItem->cChildren = node.cChildren;
        if (node.cChildren == I_CHILDRENCALLBACK)
            nCallback |= TVIF_CHILDREN;
    }
    if (nMask & TVIF_IMAGE)
    {
        pItem->iImage = node.iImage;
        if (node.iImage == I_IMAGECALLBACK)
            nCallback |= TVIF_IMAGE;
    }
    if (nMask & TVIF_SELECTEDIMAGE)
    {
        pItem->iSelectedImage = node.iSelectedImage;
        if (node.iSelectedImage == I_IMAGECALLBACK)
            nCallback |= TVIF_SELECTEDIMAGE;
    }
    if (nMask & TVIF_PARAM)
        pItem->lParam = node.lParam;
    if (nMask & TVIF_STATE)
        pItem->state = node.state & pItem->stateMask;
    if (nMask & TVIF_TEXT)
    {
        if (node.pszText == LPSTR_TEXTCALLBACKA)
        {
            nCallback |= TVIF_TEXT;
            if (!bNotify)
            {
                pItem->pszText = LPSTR_TEXTCALLBACKA;
                return TRUE;
            }
            if (pItem->pszText && pItem->pszText != LPSTR_TEXTCALLBACKA && pItem->cchTextMax > 0)
                pItem->pszText[0] = 0;
        }
        else if (bCopyText)
        {
            if (pItem->pszText && pItem->pszText != LPSTR_TEXTCALLBACKA && pItem->cchTextMax > 0)
                TWKCopyTextCut(pItem->pszText, pItem->cchTextMax, node.pszText ? node.pszText : "");
        }
        else
            pItem->pszText = node.pszText;
    }
    if (bNotify && nCallback)
    {
        pItem->lParam = node.lParam;
        pItem->hItem = reinterpret_cast<HTREEITEM>(pNode);
        pItem->mask = nCallback;
        NotifyGetDispInfo(pItem);
        pItem->mask |= nMask & ~nCallback;
    }
    return TRUE;
}

CString TWKTreeBaseC::GetItemText(HTREEITEM hItem, int nSubItem)
{
    if (IsRootHandle(hItem))
        return CString();
    if (nSubItem == 0)
    {
        TVITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = hItem;
        item.pszText = m_pszTextBuffer;
        item.cchTextMax = TWKLIST_TEXTBUFFER;
        m_pszTextBuffer[0] = 0;
        GetItem(&item, TRUE, TRUE);
        if (item.pszText == NULL || item.pszText == LPSTR_TEXTCALLBACKA)
            return CString();
        return CString(item.pszText);
    }
    if (m_pSubItemTexts)
    {
        m_pSubItemTexts->Lookup(hItem, nSubItem, m_pszTextBuffer, TWKLIST_TEXTBUFFER);
        return CString(m_pszTextBuffer);
    }
    int nRow = GetNodeRow(NodeOf(hItem));
    return nRow >= 0 ? GetItemString(nRow, nSubItem) : CString();
}

BOOL TWKTreeBaseC::SetItemText(HTREEITEM hItem, LPCSTR lpszText)
{
    return SetItem(hItem, TVIF_TEXT, lpszText, 0, 0, 0, 0, 0);
}

BOOL TWKTreeBaseC::SetItemText(HTREEITEM hItem, int nSubItem, LPCSTR lpszText)
{
    if (nSubItem == 0)
        return SetItemText(hItem, lpszText);
    if (IsRootHandle(hItem) || nSubItem < 0)
        return FALSE;
    int nRow = GetNodeRow(NodeOf(hItem));
    if (m_pSubItemTexts)
    {
        if (nSubItem > GetColumnCount())
            return FALSE;
        m_pSubItemTexts->SetText(hItem, nSubItem, lpszText);
        if (nRow >= 0)
        {
            RemeasureItem(nRow);
            RedrawItem(hItem);
        }
        return TRUE;
    }
    return nRow >= 0 && TWKListCtrl::SetItemText(nRow, nSubItem, lpszText);
}

UINT TWKTreeBaseC::GetItemState(HTREEITEM hItem, UINT nStateMask)
{
    return IsRootHandle(hItem) ? 0 : NodeOf(hItem)->m_item.state & nStateMask;
}

BOOL TWKTreeBaseC::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    return SetItem(hItem, TVIF_STATE, NULL, 0, 0, nState, nStateMask, 0);
}

BOOL TWKTreeBaseC::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, NULL, nImage, nSelectedImage, 0, 0, 0);
}

BOOL TWKTreeBaseC::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage)
{
    if (IsRootHandle(hItem))
        return FALSE;
    TVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    GetItem(&item, FALSE, TRUE);
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

DWORD_PTR TWKTreeBaseC::GetItemData(HTREEITEM hItem)
{
    return IsRootHandle(hItem) ? 0 : (DWORD_PTR)NodeOf(hItem)->m_item.lParam;
}

BOOL TWKTreeBaseC::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    return SetItem(hItem, TVIF_PARAM, NULL, 0, 0, 0, 0, (LPARAM)dwData);
}

BOOL TWKTreeBaseC::IsItemExpanded(HTREEITEM hItem) { return NodeOf(hItem)->IsExpanded(); }

BOOL TWKTreeBaseC::ItemHasChildren(HTREEITEM hItem) { return NodeOf(hItem)->m_pFirstChild != NULL; }

// Extended state: the node's own bits, read with those of its ancestors.
BOOL TWKTreeBaseC::SetItemExState(TVITEMA* pItem, TWKListExState* pExState)
{
    if (pItem == NULL || pExState == NULL || IsRootHandle(pItem->hItem))
        return FALSE;
    _Node* pNode = NodeOf(pItem->hItem);
    NotifySetExState(pItem, pExState);
    if (!(pExState->mask & 1))
        return TRUE;
    DWORD dwOld = pNode->m_dwExState;
    DWORD dwMask = pExState->stateMask & (TWKTVIS_EX_DISABLED | TWKTVIS_EX_HIDDEN);
    DWORD dwNew = (dwOld & ~dwMask) | (pExState->state & dwMask);
    if ((dwNew ^ dwOld) & TWKTVIS_EX_HIDDEN)
        HideItem(pItem->hItem, (dwNew & TWKTVIS_EX_HIDDEN) != 0);
    pNode->m_dwExState = dwNew;
    if ((dwNew ^ dwOld) & TWKTVIS_EX_DISABLED)
    {
        // Descendants show it too.
        int nRow = GetNodeRow(pNode);
        if (nRow >= 0 && m_hWnd)
            InvalidateItem(nRow, FALSE, TRUE, TRUE, FALSE);
    }
    return TRUE;
}

BOOL TWKTreeBaseC::GetItemExState(TVITEMA* pItem, TWKListExState* pExState, BOOL bNotify)
{
    if (pItem == NULL || pExState == NULL)
        return FALSE;
    DWORD dw = 0;
    for (_Node* p = NodeOf(pItem->hItem); p != NULL && p != m_pRoot; p = AsNode(p->m_pParent))
        dw |= p->m_dwExState & (TWKTVIS_EX_DISABLED | TWKTVIS_EX_HIDDEN);
    pExState->state = dw & pExState->stateMask;
    if (bNotify)
        NotifyGetExState(pItem, pExState);
    return TRUE;
}

void TWKTreeBaseC::NotifyGetExState(TVITEMA*, TWKListExState*) {}
void TWKTreeBaseC::NotifySetExState(TVITEMA*, TWKListExState*) {}

// ---- The list's records for column 0 reach the nodes

BOOL TWKTreeBaseC::SetItem(LVITEMA* pItem, BOOL bRedraw)
{
    _Node* pNode = GetRowNode(pItem->iItem);
    if (pNode == NULL)
        return FALSE;
    if (pItem->iSubItem != 0)
        return TWKListCtrl::SetItem(pItem, bRedraw);
    UINT nMirror = TVIS_SELECTED | TVIS_CUT | TVIS_DROPHILITED | TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK;
    if (pItem->mask & LVIF_STATE)
    {
        UINT nMask = pItem->stateMask & nMirror;
        pNode->m_item.state = (pNode->m_item.state & ~nMask) | (pItem->state & nMask);
    }
    if (pItem->mask & (LVIF_TEXT | LVIF_IMAGE))
    {
        TVITEMA tv;
        memset(&tv, 0, sizeof(tv));
        tv.hItem = reinterpret_cast<HTREEITEM>(pNode);
        tv.mask = TVIF_HANDLE;
        if (pItem->mask & LVIF_TEXT)
        {
            tv.mask |= TVIF_TEXT;
            tv.pszText = pItem->pszText;
        }
        if (pItem->mask & LVIF_IMAGE)
        {
            tv.mask |= TVIF_IMAGE;
            tv.iImage = pItem->iImage;
        }
        WriteFields(pNode, &tv, FALSE);
        if (TWKListItem* pRow = GetItemPtr(pItem->iItem))
        {
            pRow->m_bNeedsMeasure = TRUE;
            pRow->m_nImage = pNode->m_item.iImage;
        }
    }
    LVITEMA rest = *pItem;
    rest.mask &= ~(LVIF_TEXT | LVIF_IMAGE);
    return TWKListCtrl::SetItem(&rest, bRedraw);
}

BOOL TWKTreeBaseC::GetItem(LVITEMA* pItem, BOOL bCopyText, BOOL bNotify)
{
    _Node* pNode = GetRowNode(pItem->iItem);
    if (pNode == NULL)
        return FALSE;
    if (pItem->iSubItem != 0)
        return TWKListCtrl::GetItem(pItem, bCopyText, bNotify);
    UINT nMask = pItem->mask;
    LVITEMA rest = *pItem;
    rest.mask &= ~(LVIF_TEXT | LVIF_IMAGE);
    if (rest.mask && !TWKListCtrl::GetItem(&rest, bCopyText, bNotify))
        return FALSE;
    pItem->state = rest.state;
    pItem->lParam = pNode->m_item.lParam;
    if (nMask & (LVIF_TEXT | LVIF_IMAGE))
    {
        TVITEMA tv;
        memset(&tv, 0, sizeof(tv));
        tv.hItem = reinterpret_cast<HTREEITEM>(pNode);
        tv.mask = TVIF_HANDLE | ((nMask & LVIF_TEXT) ? TVIF_TEXT : 0) | ((nMask & LVIF_IMAGE) ? TVIF_IMAGE : 0);
        tv.pszText = pItem->pszText;
        tv.cchTextMax = pItem->cchTextMax;
        GetItem(&tv, bCopyText, bNotify);
        if (nMask & LVIF_TEXT)
            pItem->pszText = tv.pszText;
        if (nMask & LVIF_IMAGE)
            pItem->iImage = tv.iImage;
    }
    return TRUE;
}

// The tree record of a row's item; FALSE when the row does not exist.
static BOOL RowRecord(TWKTreeBaseC* pTree, int nRow, TVITEMA* pTv)
{
    memset(pTv, 0, sizeof(*pTv));
    pTv->hItem = reinterpret_cast<HTREEITEM>(pTree->GetRowNode(nRow));
    return pTv->hItem != NULL;
}

BOOL TWKTreeBaseC::SetItemExState(LVITEMA* pItem, TWKListExState* pExState)
{
    TVITEMA tv;
    return RowRecord(this, pItem->iItem, &tv) && SetItemExState(&tv, pExState);
}

BOOL TWKTreeBaseC::GetItemExState(LVITEMA* pItem, TWKListExState* pExState, BOOL bNotify)
{
    TVITEMA tv;
    return RowRecord(this, pItem->iItem, &tv) && GetItemExState(&tv, pExState, bNotify);
}

BOOL TWKTreeBaseC::ItemHasCallbacks(int nRow)
{
    _Node* pNode = GetRowNode(nRow);
    if (pNode == NULL)
        return FALSE;
    const TVITEMA& item = pNode->m_item;
    if (item.pszText == LPSTR_TEXTCALLBACKA || item.cChildren == I_CHILDRENCALLBACK ||
        item.iImage == I_IMAGECALLBACK || item.iSelectedImage == I_IMAGECALLBACK)
        return TRUE;
    return TWKListCtrl::ItemHasCallbacks(nRow);
}

LPARAM TWKTreeBaseC::GetItemParam(TWKListItem* pItem)
{
    _Node* pNode = pItem ? reinterpret_cast<_Node*>(pItem->m_lParam) : NULL;
    return pNode ? pNode->m_item.lParam : 0;
}

UINT TWKTreeBaseC::GetClientItemState(int nRow, UINT nMask)
{
    _Node* pNode = GetRowNode(nRow);
    return pNode ? pNode->m_item.state & nMask : 0;
}

// ---- Sub-item texts

BOOL TWKTreeBaseC::EnableSubItemTexts(BOOL bEnable)
{
    if (bEnable && m_pSubItemTexts == NULL)
        m_pSubItemTexts = new TWKSubItemTextStorage;
    else if (!bEnable)
    {
        delete m_pSubItemTexts;
        m_pSubItemTexts = NULL;
    }
    return TRUE;
}

BOOL TWKTreeBaseC::HasSubItemTexts() { return m_pSubItemTexts != NULL; }

void TWKTreeBaseC::OnColumnMoved(int nFrom, int nTo)
{
    if (m_pSubItemTexts)
        for (int r = 0; r < GetItemCount(); ++r)
            m_pSubItemTexts->MoveText(GetRowNode(r), nFrom, nTo);
    TWKListCtrl::OnColumnMoved(nFrom, nTo);
}

LRESULT TWKTreeBaseC::NotifyGetDispInfo(LVITEMA* pItem)
{
    if (m_pSubItemTexts && pItem->iSubItem > 0 && (pItem->mask & LVIF_TEXT))
    {
        _Node* pNode = GetRowNode(pItem->iItem);
        if (pNode && pItem->pszText && pItem->pszText != LPSTR_TEXTCALLBACK && pItem->cchTextMax > 0)
            m_pSubItemTexts->Lookup(pNode, pItem->iSubItem, pItem->pszText, pItem->cchTextMax);
        return 0;
    }
    return TWKListCtrl::NotifyGetDispInfo(pItem);
}

void TWKTreeBaseC::NotifySetDispInfo(LVITEMA* pItem)
{
    if (m_pSubItemTexts && pItem->iSubItem > 0 && (pItem->mask & LVIF_TEXT))
    {
        if (_Node* pNode = GetRowNode(pItem->iItem))
            m_pSubItemTexts->SetText(pNode, pItem->iSubItem, pItem->pszText ? pItem->pszText : "");
        return;
    }
    TWKListCtrl::NotifySetDispInfo(pItem);
}

// ---- Insertion

BOOL TWKTreeBaseC::ResolvePosition(_Node* pParent, _Node* pNode, HTREEITEM hInsertAfter, TWKTreeNode** ppAfter)
{
    *ppAfter = NULL;   // NULL: first
    TWKTreeNode* pFirst = pParent->m_pFirstChild;
    if (hInsertAfter == TVI_FIRST)
        return TRUE;
    if (hInsertAfter == NULL || hInsertAfter == TVI_ROOT || hInsertAfter == TVI_LAST || pFirst == NULL)
    {
        if (pFirst == NULL)
            return TRUE;
        if (m_pLastParent == pParent && m_pLastChild && m_pLastChild->m_pParent == pParent &&
            m_pLastChild->m_pNextSibling == NULL)
            *ppAfter = m_pLastChild;
        else
            *ppAfter = pParent->GetLastChild();
        return TRUE;
    }
    if (hInsertAfter == TVI_SORT || hInsertAfter == TWKTVI_SORTDESCENDING)
    {
        BOOL bDescending = hInsertAfter == TWKTVI_SORTDESCENDING;
        HTREEITEM hNew = reinterpret_cast<HTREEITEM>(pNode);
        for (TWKTreeNode* p = pFirst; p != NULL; p = p->m_pNextSibling)
        {
            int n = CompareItems(reinterpret_cast<HTREEITEM>(p), hNew);
            if (bDescending ? n < 0 : n > 0)
                break;
            *ppAfter = p;
        }
        return TRUE;
    }
    TWKTreeNode* pAfter = reinterpret_cast<TWKTreeNode*>(hInsertAfter);
    if (pAfter->m_pParent != pParent)
        return FALSE;
    *ppAfter = pAfter;
    return TRUE;
}

// Links in constant time once the predecessor is known (NULL: first child).
void TWKTreeBaseC::LinkNode(_Node* pParent, _Node* pNode, TWKTreeNode* pAfter)
{
    pNode->m_pParent = pParent;
    if (pAfter == NULL)
    {
        pNode->m_pPrevSibling = NULL;
        pNode->m_pNextSibling = pParent->m_pFirstChild;
        if (pParent->m_pFirstChild)
            pParent->m_pFirstChild->m_pPrevSibling = pNode;
        pParent->m_pFirstChild = pNode;
    }
    else
    {
        pNode->m_pPrevSibling = pAfter;
        pNode->m_pNextSibling = pAfter->m_pNextSibling;
        if (pAfter->m_pNextSibling)
            pAfter->m_pNextSibling->m_pPrevSibling = pNode;
        pAfter->m_pNextSibling = pNode;
    }
    if (pNode->m_pNextSibling == NULL)
    {
        m_pLastParent = pParent;
        m_pLastChild = pNode;
    }
}

HTREEITEM TWKTreeBaseC::InsertItem(LPTVINSERTSTRUCTA lpInsert)
{
    if (lpInsert == NULL)
        return NULL;
    if (m_pRoot == NULL)
    {
        m_pRoot = CreateNode();
        m_pRoot->SetExpanded(TRUE);
    }
    _Node* pParent = NodeOf(lpInsert->hParent);
    _Node* pNode = CreateNode();
    pNode->m_item.hItem = reinterpret_cast<HTREEITEM>(pNode);
    TVITEMA item = lpInsert->item;
    item.mask |= TVIF_HANDLE;
    item.hItem = reinterpret_cast<HTREEITEM>(pNode);
    WriteFields(pNode, &item, FALSE);
    TWKTreeNode* pAfter = NULL;
    if (!ResolvePosition(pParent, pNode, lpInsert->hInsertAfter, &pAfter))
    {
        // Never part of the tree: no delete notification.
        delete pNode;
        return NULL;
    }
    LinkNode(pParent, pNode, pAfter);
    BOOL bExpanded = (item.mask & TVIF_STATE) && (item.stateMask & TVIS_EXPANDED) && (item.state & TVIS_EXPANDED);
    pNode->SetExpanded(bExpanded);
    if (IsDisplayed(pNode) && !RowsDeferred(pNode))
        InsertRowsFor(pNode, TRUE, FindRowForNew(pNode));
    if (GetAutoUpdate() && m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
    return reinterpret_cast<HTREEITEM>(pNode);
}

HTREEITEM TWKTreeBaseC::InsertItem(UINT nMask, LPCSTR lpszText, int nImage, int nSelectedImage, UINT nState,
                                   UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTA ins;
    memset(&ins, 0, sizeof(ins));
    ins.hParent = hParent;
    ins.hInsertAfter = hInsertAfter;
    ins.item.mask = nMask;
    ins.item.pszText = (LPSTR)lpszText;
    ins.item.iImage = nImage;
    ins.item.iSelectedImage = nSelectedImage;
    ins.item.state = nState;
    ins.item.stateMask = nStateMask;
    ins.item.lParam = lParam;
    return InsertItem(&ins);
}

HTREEITEM TWKTreeBaseC::InsertItem(LPCSTR lpszText, int nImage, int nSelectedImage, HTREEITEM hParent,
                                   HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszText, nImage, nSelectedImage, 0, 0, 0, hParent,
                      hInsertAfter);
}

HTREEITEM TWKTreeBaseC::InsertItem(LPCSTR lpszText, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT, lpszText, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

BOOL TWKTreeBaseC::InsertItems(TVITEMA** ppItems, HTREEITEM hParent, int nCount, BOOL bRedraw)
{
    if (ppItems == NULL || nCount < 1)
        return FALSE;
    // Checked first: a bad record must not leave half the items linked.
    for (int i = 0; i < nCount; ++i)
        if (ppItems[i] == NULL)
            return FALSE;
    _Node* pParent = NodeOf(hParent);
    CPtrArray nodes;
    for (int i = 0; i < nCount; ++i)
    {
        _Node* pNode = CreateNode();
        TVITEMA item = *ppItems[i];
        item.mask |= TVIF_HANDLE;
        item.hItem = reinterpret_cast<HTREEITEM>(pNode);
        WriteFields(pNode, &item, FALSE);
        TWKTreeNode* pAfter = NULL;
        ResolvePosition(pParent, pNode, TVI_LAST, &pAfter);
        LinkNode(pParent, pNode, pAfter);
        pNode->SetExpanded(FALSE);
        nodes.Add(pNode);
    }
    _Node* pFirst = (_Node*)nodes[0];
    if (IsDisplayed(pFirst) && !RowsDeferred(pFirst))
    {
        CPtrArray shown;
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i)
            if (!(((_Node*)nodes[i])->m_dwExState & TWKTVIS_EX_HIDDEN))
                shown.Add(nodes[i]);
        InsertRowRun(FindRowForNew((_Node*)nodes[nodes.GetSize() - 1]), shown, FALSE);
    }
    if (bRedraw && m_hWnd)
    {
        RecalcLayout();
        Invalidate(TRUE);
    }
    return TRUE;
}

// ---- Deletion

void TWKTreeBaseC::NotifyDeleteTreeItem(HTREEITEM hItem)
{
    if (!IsRootHandle(hItem) && GetNotifyTarget() != NULL)
    {
        NMTREEVIEWA nm;
        memset(&nm, 0, sizeof(nm));
        nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
        nm.itemOld.hItem = hItem;
        nm.itemOld.lParam = NodeOf(hItem)->m_item.lParam;
        SendTreeNotify(&nm.hdr, TVN_DELETEITEMA);
    }
    if (m_pSubItemTexts)
        m_pSubItemTexts->RemoveItem(hItem);
}

// Takes the subtree apart leaf first, each item with its notification.
BOOL TWKTreeBaseC::DeleteSubtree(HTREEITEM hItem)
{
    if (m_pRoot == NULL)
        return TRUE;
    BOOL bAll = hItem == TVI_ROOT;
    _Node* pTop = NodeOf(hItem);
    ForgetLastChild();
    if (bAll)
        TWKListBaseC::DeleteAllItems();
    else
        RemoveRowsFor(pTop, TRUE);
    if (m_nRowsValidBelow > GetItemCount())
        m_nRowsValidBelow = GetItemCount();
    while (TWKTreeNode* pLeaf = pTop->GetFirstLeaf())
    {
        NotifyDeleteTreeItem(reinterpret_cast<HTREEITEM>(pLeaf));
        if (pLeaf->m_pFirstChild)
            return FALSE;   // the owner added children meanwhile
        pLeaf->Unlink();
        delete pLeaf;
    }
    if (bAll)
    {
        delete m_pRoot;
        m_pRoot = CreateNode();
        m_pRoot->SetExpanded(TRUE);
        m_nRowsValidBelow = 0;
    }
    else
    {
        NotifyDeleteTreeItem(hItem);
        if (pTop->m_pFirstChild)
            return FALSE;
        pTop->Unlink();
        delete pTop;
    }
    if (GetAutoUpdate() && m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
    return TRUE;
}

BOOL TWKTreeBaseC::DeleteItem(HTREEITEM hItem)
{
    // A NULL from a failed lookup must not empty the tree.
    if (hItem == NULL)
        return FALSE;
    BOOL bResult = DeleteSubtree(hItem);
    if (m_hWnd)
        Invalidate(TRUE);
    return bResult;
}

BOOL TWKTreeBaseC::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

// ---- Moving and hiding

BOOL TWKTreeBaseC::MoveItem(HTREEITEM hItem, HTREEITEM hNewParent, BOOL bRedraw, HTREEITEM hInsertAfter)
{
    if (IsRootHandle(hItem))
        return FALSE;
    _Node* pNode = NodeOf(hItem);
    _Node* pParent = NodeOf(hNewParent);
    if (pParent == pNode || pParent->IsDescendantOf(pNode))
        return FALSE;
    // A sibling handle of another parent (or the item itself) changes nothing.
    if (hInsertAfter == hItem)
        return FALSE;
    if (!IsRootHandle(hInsertAfter) && hInsertAfter != TVI_FIRST && hInsertAfter != TVI_LAST &&
        hInsertAfter != TVI_SORT && hInsertAfter != TWKTVI_SORTDESCENDING &&
        reinterpret_cast<TWKTreeNode*>(hInsertAfter)->m_pParent != pParent)
        return FALSE;
    TWKTreeNode* pAfter = NULL;
    _Node* pCaret = GetRowNode(GetFocusItem());
    pNode->m_item.state &= ~(UINT)TVIS_SELECTED;
    DeselectAllExcept(-1);
    RemoveRowsFor(pNode, TRUE);
    ForgetLastChild();
    pNode->Unlink();
    ResolvePosition(pParent, pNode, hInsertAfter, &pAfter);
    LinkNode(pParent, pNode, pAfter);
    if (IsDisplayed(pNode) && !RowsDeferred(pNode))
        InsertRowsFor(pNode, TRUE, FindRowForNew(pNode));
    if (bRedraw && m_hWnd)
    {
        RecalcLayout();
        Invalidate(TRUE);
    }
    DeselectAllExcept(-1);
    if (pCaret == NULL || !IsDisplayed(pCaret))
    {
        pCaret = AsNode(m_pRoot->m_pFirstChild);
        if (pCaret)
            EnsureVisible(reinterpret_cast<HTREEITEM>(pCaret));
    }
    int nRow = GetNodeRow(pCaret);
    if (nRow >= 0)
        SetFocusItem(nRow, TRUE);
    return TRUE;
}

BOOL TWKTreeBaseC::HideItem(HTREEITEM hItem, BOOL bHide)
{
    if (IsRootHandle(hItem))
        return FALSE;
    _Node* pNode = NodeOf(hItem);
    BOOL bHadRow = GetNodeRow(pNode) >= 0;
    pNode->m_dwExState &= ~(DWORD)TWKTVIS_EX_HIDDEN;
    if (bHide)
        pNode->m_dwExState |= TWKTVIS_EX_HIDDEN;
    BOOL bShown = IsDisplayed(pNode);
    if (bHadRow && !bShown)
        RemoveRowsFor(pNode, TRUE);
    else if (!bHadRow && bShown && !RowsDeferred(pNode))
        InsertRowsFor(pNode, TRUE, FindRowForNew(pNode));
    if (m_hWnd)
    {
        RecalcLayout();
        Invalidate(TRUE);
    }
    return TRUE;
}

BOOL TWKTreeBaseC::IsItemHidden(HTREEITEM hItem)
{
    return !IsRootHandle(hItem) && IsNodeHidden(NodeOf(hItem));
}

// ---- Sorting

int TWKTreeBaseC::CompareItems(HTREEITEM hItem1, HTREEITEM hItem2)
{
    // The nodes' own texts are compared in place; only callback texts are asked for.
    CString s1, s2;
    auto text = [this](HTREEITEM h, CString& s) -> LPCSTR {
        LPCSTR psz = IsRootHandle(h) ? NULL : NodeOf(h)->m_item.pszText;
        if (psz != LPSTR_TEXTCALLBACKA)
            return psz ? psz : "";
        s = GetItemText(h);
        return s;
    };
    LPCSTR p1 = text(hItem1, s1), p2 = text(hItem2, s2);
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, p1, -1, p2, -1) - CSTR_EQUAL;
}

// A stable merge sort of the sibling chain: the order of a stable bubble
// sort for any consistent comparison, in n log n comparisons.
void TWKTreeBaseC::SortSiblings(_Node* pParent, BOOL bRecurse, int nSign, PFNTVCOMPARE pfn, LPARAM lParamSort)
{
    std::vector<TWKTreeNode*> v;
    for (TWKTreeNode* p = pParent->m_pFirstChild; p != NULL; p = p->m_pNextSibling)
        v.push_back(p);
    if (v.size() > 1)
    {
        std::stable_sort(v.begin(), v.end(), [&](TWKTreeNode* a, TWKTreeNode* b) {
            if (pfn)
                return nSign * pfn(AsNode(b)->m_item.lParam, AsNode(a)->m_item.lParam, lParamSort) > 0;
            return nSign * CompareItems(reinterpret_cast<HTREEITEM>(a), reinterpret_cast<HTREEITEM>(b)) < 0;
        });
        for (size_t i = 0; i < v.size(); ++i)
        {
            v[i]->m_pPrevSibling = i > 0 ? v[i - 1] : NULL;
            v[i]->m_pNextSibling = i + 1 < v.size() ? v[i + 1] : NULL;
        }
        pParent->m_pFirstChild = v[0];
    }
    if (bRecurse)
        for (TWKTreeNode* p : v)
            if (p->m_pFirstChild)
                SortSiblings(AsNode(p), TRUE, nSign, pfn, lParamSort);
}

// Gives the rows after the item's row the handles of its displayed descendants again.
void TWKTreeBaseC::RenumberRows(_Node* pItem)
{
    if (pItem != m_pRoot && (!pItem->IsExpanded() || !IsDisplayed(pItem)))
        return;
    int nStart = pItem == m_pRoot ? 0 : GetNodeRow(pItem) + 1;
    CPtrArray nodes;
    CollectDisplayed(pItem, FALSE, nodes);
    int nCount = (int)nodes.GetSize();
    for (int i = 0; i < nCount && nStart + i < GetItemCount(); ++i)
    {
        _Node* pNode = (_Node*)nodes[i];
        TWKListItem* pRow = GetItemPtr(nStart + i);
        pRow->m_lParam = (LPARAM)pNode;
        pRow->m_nImage = pNode->m_item.iImage;
        pRow->m_bNeedsMeasure = TRUE;
        pNode->m_nRowHint = nStart + i;
        BOOL bSel = (pNode->m_item.state & TVIS_SELECTED) != 0;
        if (bSel != IsSelected(nStart + i))
            bSel ? AddSelection(nStart + i) : RemoveSelection(nStart + i);
    }
    if (m_hWnd)
        InvalidateItem(std::max(nStart, GetTopIndex()), FALSE, TRUE, TRUE, FALSE);
}

BOOL TWKTreeBaseC::SortChildren(HTREEITEM hItem, BOOL bRecurse, BOOL bAscending)
{
    _Node* pCaret = GetRowNode(GetFocusItem());
    _Node* pItem = NodeOf(hItem);
    ForgetLastChild();
    SortSiblings(pItem, bRecurse, bAscending ? 1 : -1, NULL, 0);
    RenumberRows(pItem);
    RecalcLayout();
    if (pCaret)
        Select(reinterpret_cast<HTREEITEM>(pCaret), TVGN_CARET);
    return TRUE;
}

BOOL TWKTreeBaseC::SortChildrenCB(LPTVSORTCB pSort, BOOL bRecurse, BOOL bAscending)
{
    if (pSort == NULL || pSort->lpfnCompare == NULL)
        return FALSE;
    _Node* pCaret = GetRowNode(GetFocusItem());
    _Node* pItem = NodeOf(pSort->hParent);
    ForgetLastChild();
    SortSiblings(pItem, bRecurse, bAscending ? 1 : -1, pSort->lpfnCompare, pSort->lParam);
    RenumberRows(pItem);
    RecalcLayout();
    if (pCaret)
        Select(reinterpret_cast<HTREEITEM>(pCaret), TVGN_CARET);
    return TRUE;
}

// ---- Counting and selecting a subtree

int TWKTreeBaseC::CountItems(HTREEITEM hItem, BOOL bRecurse, BOOL bExpandedOnly)
{
    _Node* pTop = NodeOf(hItem);
    int nCount = 0;
    for (TWKTreeNode* p = pTop->m_pFirstChild; p != NULL; p = p->m_pNextSibling)
    {
        nCount++;
        if (bRecurse && p->m_pFirstChild && (!bExpandedOnly || AsNode(p)->IsExpanded()))
        {
            for (TWKTreeNode* q = p->GetNextInOrder(); q != NULL && q->IsDescendantOf(p); q = q->GetNextInOrder())
                nCount++;
        }
    }
    return nCount;
}

BOOL TWKTreeBaseC::SelectSubtree(HTREEITEM hItem)
{
    _Node* pNode = NodeOf(hItem);
    if (IsRootHandle(hItem) || pNode->m_pFirstChild == NULL)
        return FALSE;
    int nRow = GetNodeRow(pNode);
    if (nRow < 0)
        return FALSE;
    int nEnd = nRow;
    while (nEnd + 1 < GetItemCount() && GetRowNode(nEnd + 1)->IsDescendantOf(pNode))
        ++nEnd;
    SelectRange(nRow, nEnd, TRUE);
    InvalidateItemRange(nRow, nEnd);
    return TRUE;
}
