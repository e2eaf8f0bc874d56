#include "ide/debugger/IDEIceTreeCtrl.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/IDEListTab.h"
#include "ide/debugger/ZIceMgr.h"
#include "ide/workbench/MainFrm.h"
#include "support/text/TextHelpers.h"

namespace {

const char kWidthSection[] = "Watch Window";
const DWORD kListExStyle = 0x2C00000;

BOOL IsWatchHandle(DWORD_PTR dw)
{
    return (DWORD)dw >= ICE_WATCH_HANDLE_BASE && (DWORD)dw != ICE_NO_HANDLE;
}

DWORD MaskValue(DWORD dwValue, int nKind, int nBits)
{
    if (nKind >= ICE_KIND_NIBBLES && nKind <= ICE_KIND_WORDS && nBits > 0 && nBits < 32)
        return dwValue & ((1u << nBits) - 1);
    return dwValue;
}

CString ItemName(I_IceDebugItem* pItem)
{
    char sz[ICE_ITEM_NAME_SIZE] = "";
    pItem->GetDisplayName(sz);
    if (!sz[0])
        pItem->GetName(sz);
    sz[sizeof(sz) - 1] = 0;
    return sz;
}

CMainFrame* Frame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

} // namespace

int IceValueBits(int nKind, int nWidth)
{
    switch (nKind) {
    case ICE_KIND_BITS: return nWidth;
    case ICE_KIND_NIBBLES: return nWidth * 4;
    case ICE_KIND_BYTES: return nWidth * 8;
    case ICE_KIND_WORDS: return nWidth * 16;
    case ICE_KIND_DWORD: return 32;
    default: return 0;
    }
}

CString IceFormatValue(DWORD dwValue, int nBits, int nFormat)
{
    CString str;
    if (nFormat == ICETREE_FORMAT_HEX) {
        int nDigits = std::max(1, (nBits + 3) / 4);
        CString strPattern;
        strPattern.Format("0x%%0%dX", nDigits);
        str.Format(strPattern, dwValue);
    } else if (nFormat == ICETREE_FORMAT_DEC) {
        str.Format("%lu", (unsigned long)dwValue);
    } else if (nFormat == ICETREE_FORMAT_BIN) {
        for (int i = std::min(nBits, 32) - 1; i >= 0; i--)
            str += (dwValue >> i) & 1 ? '1' : '0';
        str += 'b';
    }
    return str;
}

IMPLEMENT_DYNAMIC(C_IDEIceTreeCtrl, TWKTreeCtrl)

BEGIN_MESSAGE_MAP(C_IDEIceTreeCtrl, TWKTreeCtrl)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_VSCROLL()
    ON_WM_DESTROY()
    ON_EN_UPDATE(TWKLIST_ID_EDIT, OnEditUpdate)
END_MESSAGE_MAP()

C_IDEIceTreeCtrl::C_IDEIceTreeCtrl(C_IDEIceUIMgr* pUIMgr, I_IceDebugTarget* pTarget, I_IceDebugPage* pPage,
                                   int nPageIndex)
    : m_pTarget(pTarget), m_nPageIndex(nPageIndex), m_pPage(pPage), m_pIceMgr(pUIMgr ? pUIMgr->GetIceMgr() : nullptr),
      m_pUIMgr(pUIMgr)
{
    if (pPage) {
        char sz[160] = "";
        pPage->GetName(sz);
        sz[39] = 0;
        m_strPageName = sz;
    }
}

C_IDEIceTreeCtrl::~C_IDEIceTreeCtrl()
{
    if (CMainFrame* pFrame = Frame())
        if (pFrame->m_pEditWnd && pFrame->m_pEditWnd == GetEditControl())
            pFrame->m_pEditWnd = nullptr;
    if (GetSafeHwnd())
        DeleteAllColumns();
}

BOOL C_IDEIceTreeCtrl::IsBusy()
{
    return !m_pIceMgr || m_pIceMgr->IsBusy();
}

C_IDEListTab* C_IDEIceTreeCtrl::OwnerTab()
{
    return GetSafeHwnd() ? dynamic_cast<C_IDEListTab*>(GetParent()) : nullptr;
}

void C_IDEIceTreeCtrl::UpdateDebugWindows()
{
    if (m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(FALSE, FALSE);
}

// ---- columns

BOOL C_IDEIceTreeCtrl::InitColumns()
{
    return InitColumnsWith({ "Value" });
}

BOOL C_IDEIceTreeCtrl::InitColumnsWith(std::initializer_list<const char*> values)
{
    LVCOLUMNA col;
    memset(&col, 0, sizeof(col));
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<LPSTR>("Name");
    col.cx = 80;
    if (GetColumnCount() > 0)
        SetColumn(0, &col);
    else
        InsertColumn(0, &col);
    for (const char* psz : values)
        InsertColumn(GetColumnCount(), psz, LVCFMT_LEFT, 100, -1);
    InsertColumn(GetColumnCount(), "", LVCFMT_LEFT, 0, -1);
    LoadColumnWidths();
    return TRUE;
}

void C_IDEIceTreeCtrl::LoadColumnWidths()
{
    CString strKey;
    for (int i = 0; i + 1 < GetColumnCount(); i++) {
        strKey.Format("window_%s_col%d", (LPCSTR)m_strPageName, i);
        int cx = (int)AfxGetApp()->GetProfileInt(kWidthSection, strKey, 80);
        SetColumnWidth(i, std::max(1, cx));
    }
}

void C_IDEIceTreeCtrl::SaveColumnWidths()
{
    CString strKey;
    for (int i = 0; i + 1 < GetColumnCount(); i++) {
        strKey.Format("window_%s_col%d", (LPCSTR)m_strPageName, i);
        AfxGetApp()->WriteProfileInt(kWidthSection, strKey, GetColumnWidth(i));
    }
}

// ---- rows and items

HTREEITEM C_IDEIceTreeCtrl::TopLevelOf(HTREEITEM h)
{
    while (h) {
        HTREEITEM hParent = GetParentItem(h);
        if (!hParent)
            break;
        h = hParent;
    }
    return h;
}

int C_IDEIceTreeCtrl::SiblingIndex(HTREEITEM h)
{
    int n = 0;
    for (HTREEITEM p = h ? GetPrevSiblingItem(h) : nullptr; p; p = GetPrevSiblingItem(p))
        n++;
    return n;
}

int C_IDEIceTreeCtrl::TopLevelIndex(HTREEITEM h)
{
    return h ? SiblingIndex(TopLevelOf(h)) : -1;
}

I_IceDebugItem* C_IDEIceTreeCtrl::PageItem(int nIndex)
{
    if (!m_pPage || nIndex < 0)
        return nullptr;
    void* pos = m_pPage->GetPositionOf(nIndex);
    return pos ? m_pPage->GetAt(&pos) : nullptr;
}

I_IceDebugItem* C_IDEIceTreeCtrl::IceItemOfRow(int nRow)
{
    HTREEITEM h = RowItem(nRow);
    if (!h)
        return nullptr;
    HTREEITEM hTop = TopLevelOf(h);
    I_IceDebugItem* pTop = PageItem(SiblingIndex(hTop));
    if (!pTop || h == hTop)
        return pTop;
    if (pTop->GetHandle() >= ICE_WATCH_HANDLE_BASE)
        return pTop;
    I_IceChildList* pList = nullptr;
    if (!pTop->GetObject(ICE_ITEM_CHILDREN, (void**)&pList) || !pList)
        return nullptr;
    return pList->GetAt(SiblingIndex(h));
}

HTREEITEM C_IDEIceTreeCtrl::InsertIceRow(I_IceDebugItem* pItem, HTREEITEM hParent, HTREEITEM hAfter)
{
    HTREEITEM h = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, ItemName(pItem), 0, 0, 0, 0,
                             (LPARAM)pItem->GetHandle(), hParent, hAfter);
    if (h && !pItem->IsShown())
        HideItem(h, TRUE);
    return h;
}

BOOL C_IDEIceTreeCtrl::AddChildren(I_IceDebugItem* pItem, HTREEITEM hRow)
{
    I_IceChildList* pList = nullptr;
    if (!pItem || !pItem->GetObject(ICE_ITEM_CHILDREN, (void**)&pList) || !pList)
        return TRUE;
    pList->Start();
    while (I_IceDebugItem* pChild = pList->GetNext())
        if (!InsertIceRow(pChild, hRow, TVI_LAST))
            return FALSE;
    return TRUE;
}

BOOL C_IDEIceTreeCtrl::FillFromPage(I_IceDebugPage* pPage)
{
    void* pos = pPage->GetFirstPosition();
    while (pos) {
        I_IceDebugItem* pItem = pPage->GetNext(&pos);
        if (!pItem)
            break;
        HTREEITEM h = InsertIceRow(pItem, TVI_ROOT, TVI_LAST);
        if (!h || !FillRow(pItem, h))
            return FALSE;
    }
    m_nItemCount = pPage->GetItemCount();
    return TRUE;
}

BOOL C_IDEIceTreeCtrl::FillRow(I_IceDebugItem* pItem, HTREEITEM h)
{
    AddChildren(pItem, h);
    return TRUE;
}

void C_IDEIceTreeCtrl::DeleteChildren(HTREEITEM h)
{
    while (HTREEITEM hChild = GetChildItem(h))
        DeleteItem(hChild);
}

// ---- cells

void C_IDEIceTreeCtrl::GetCellText(int nRow, int nColumn, CString& str)
{
    str.Empty();
    if (nColumn != 1)
        return;
    I_IceDebugItem* pItem = IceItemOfRow(nRow);
    if (!pItem)
        return;
    if (pItem->GetAccess() == ICE_ACCESS_NO_VALUE) {
        str = "----";
        return;
    }
    int nKind = pItem->GetKind();
    int nBits = IceValueBits(nKind, pItem->GetWidth());
    if (nBits <= 0)
        return;
    str = IceFormatValue(MaskValue(pItem->GetValue(), nKind, nBits), nBits, pItem->GetFormat());
}

BOOL C_IDEIceTreeCtrl::CanEditCell(int nRow, int nColumn)
{
    if (nColumn == 0)
        return FALSE;
    I_IceDebugItem* pItem = IceItemOfRow(nRow);
    if (!pItem)
        return FALSE;
    int nAccess = pItem->GetAccess();
    return nAccess != ICE_ACCESS_NO_VALUE && (nAccess & ICE_ACCESS_WRITABLE);
}

BOOL C_IDEIceTreeCtrl::SetCellText(int nRow, int /*nColumn*/, LPCSTR lpszText)
{
    UINT nValue = 0;
    if (!lpszText || !ParseNumber(lpszText, &nValue))
        return FALSE;
    I_IceDebugItem* pItem = IceItemOfRow(nRow);
    if (!pItem)
        return FALSE;
    int nKind = pItem->GetKind();
    int nBits = IceValueBits(nKind, pItem->GetWidth());
    if (MaskValue(pItem->GetValue(), nKind, nBits) == nValue)
        return TRUE;
    I_IceValueSetter* pSetter = nullptr;
    if (!pItem->GetObject(ICE_ITEM_SETTER, (void**)&pSetter) || !pSetter)
        return FALSE;
    pSetter->SetValue(nValue);
    UpdateDebugWindows();
    return TRUE;
}

BOOL C_IDEIceTreeCtrl::GetItem(LVITEMA* pItem, BOOL bCopyText, BOOL bNotify)
{
    if (pItem->iSubItem <= 0 || !(pItem->mask & LVIF_TEXT) || !bNotify)
        return TWKTreeCtrl::GetItem(pItem, bCopyText, bNotify);
    LVITEMA rest = *pItem;
    rest.mask &= ~LVIF_TEXT;
    if (rest.mask && !TWKTreeCtrl::GetItem(&rest, bCopyText, bNotify))
        return FALSE;
    pItem->state = rest.state;
    pItem->lParam = rest.lParam;
    if (pItem->pszText && pItem->pszText != LPSTR_TEXTCALLBACK && pItem->cchTextMax > 0) {
        pItem->pszText[0] = 0;
        LVITEMA ask = *pItem;
        ask.mask = LVIF_TEXT;
        TWKListCtrl::NotifyGetDispInfo(&ask);
        if (ask.pszText && ask.pszText != pItem->pszText && ask.pszText != LPSTR_TEXTCALLBACK)
            lstrcpynA(pItem->pszText, ask.pszText, pItem->cchTextMax);
    }
    return TRUE;
}

// ---- formats

int C_IDEIceTreeCtrl::GetDisplayFormat()
{
    HTREEITEM h = GetSelectedItem();
    I_IceDebugItem* pItem = h ? IceItemOfRow(ItemRow(h)) : nullptr;
    return pItem ? pItem->GetFormat() : 0;
}

void C_IDEIceTreeCtrl::SetDisplayFormat(int nFormat)
{
    HTREEITEM h = GetSelectedItem();
    if (I_IceDebugItem* pItem = h ? IceItemOfRow(ItemRow(h)) : nullptr)
        pItem->SetFormat(nFormat);
}

// ---- deletion, moves and drops

BOOL C_IDEIceTreeCtrl::DeleteSelected()
{
    C_IDEListTab* pTab = OwnerTab();
    HTREEITEM h = GetSelectedItem();
    if (!pTab || !pTab->CanDeleteItem() || !h || !m_pTarget)
        return FALSE;
    if (m_pTarget->DeleteItem(m_nPageIndex, SiblingIndex(h)) != 0)
        return FALSE;
    DeleteItem(h);
    m_nItemCount--;
    return TRUE;
}

HTREEITEM C_IDEIceTreeCtrl::PlaceCopy(LPCSTR lpszText, DWORD_PTR dwData, BOOL bExpanded, HTREEITEM hDrop)
{
    HTREEITEM hAfter = TVI_LAST;
    if (hDrop) {
        HTREEITEM hPrev = GetPrevSiblingItem(hDrop);
        hAfter = hPrev ? hPrev : TVI_FIRST;
    }
    HTREEITEM h = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, lpszText, 0, 0, 0, 0,
                             (LPARAM)dwData, TVI_ROOT, hAfter);
    if (!h)
        return nullptr;
    SelectItem(h);
    AddChildren(PageItem(SiblingIndex(h)), h);
    if (bExpanded)
        Expand(h, TVE_EXPAND);
    return h;
}

HTREEITEM C_IDEIceTreeCtrl::MoveItem(HTREEITEM hDragged, HTREEITEM hDrop)
{
    hDrop = hDrop ? TopLevelOf(hDrop) : nullptr;
    if (!hDragged || hDrop == hDragged || !m_pTarget)
        return nullptr;
    int nFrom = SiblingIndex(hDragged);
    // Past the page's items (the watch page's entry row) is the end.
    int nTo = hDrop ? SiblingIndex(hDrop) : -1;
    if (nTo >= m_nItemCount)
        nTo = -1;
    if (m_pTarget->MoveItem(m_nPageIndex, nFrom, nTo) != 0)
        return nullptr;
    CString strText = GetItemText(hDragged);
    DWORD_PTR dwData = GetItemData(hDragged);
    BOOL bExpanded = IsItemExpanded(hDragged);
    DeleteItem(hDragged);
    return PlaceCopy(strText, dwData, bExpanded, hDrop);
}

HTREEITEM C_IDEIceTreeCtrl::DropItem(C_IDEIceTreeCtrl* pSource, HTREEITEM hDragged, HTREEITEM hDrop)
{
    if (!pSource || !hDragged || !m_pTarget)
        return nullptr;
    hDrop = hDrop ? TopLevelOf(hDrop) : nullptr;
    int nTo = hDrop ? SiblingIndex(hDrop) : -1;
    if (nTo >= m_nItemCount)
        nTo = -1;
    if (m_pTarget->CopyItem(pSource->m_nPageIndex, pSource->SiblingIndex(hDragged), m_nPageIndex, nTo) != 0)
        return nullptr;
    HTREEITEM h = PlaceCopy(pSource->GetItemText(hDragged), pSource->GetItemData(hDragged),
                            pSource->IsItemExpanded(hDragged), hDrop);
    if (h)
        m_nItemCount++;
    return h;
}

// ---- editing

CEdit* C_IDEIceTreeCtrl::EditLabel(int nRow, int nColumn)
{
    if (nColumn < 0 || IsBusy())
        return nullptr;
    CEdit* pEdit = TWKTreeCtrl::EditLabel(nRow, nColumn);
    if (pEdit && pEdit->GetSafeHwnd() && CanEditCell(nRow, nColumn))
        PlaceEdit();
    return pEdit;
}

void C_IDEIceTreeCtrl::PlaceEdit()
{
    CEdit* pEdit = GetEditControl();
    int nRow = GetEditRow();
    if (!pEdit || !pEdit->GetSafeHwnd() || nRow < 0)
        return;
    int nColumn = GetCurrentColumn();
    CRect rc;
    if (!GetSubItemRect(nRow, nColumn, &rc, nColumn == 0 ? LVIR_LABEL : LVIR_BOUNDS))
        return;
    pEdit->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void C_IDEIceTreeCtrl::OnEditUpdate()
{
    OnLabelEditUpdate();
    PlaceEdit();
}

void C_IDEIceTreeCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    TWKTreeCtrl::OnLButtonDblClk(nFlags, point);
    UINT nHitFlags = 0;
    HTREEITEM h = HitTest(point.x, point.y, &nHitFlags);
    if (!h || GetEditControl()->GetSafeHwnd())
        return;
    int nRow = ItemRow(h);
    if (nRow >= 0 && EditLabel(nRow, GetCurrentColumn()))
        if (CMainFrame* pFrame = Frame())
            if (GetEditControl()->GetSafeHwnd())
                pFrame->m_pEditWnd = GetEditControl();
}

void C_IDEIceTreeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_DELETE && ((nFlags & 0xFF) == 0x53))
        DeleteSelected();
    TWKTreeCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void C_IDEIceTreeCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    // Only the tab window's page scroll bars scroll a page tree.
    if (pScrollBar)
        TWKTreeCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
}

void C_IDEIceTreeCtrl::OnDestroy()
{
    if (CMainFrame* pFrame = Frame())
        if (pFrame->m_pEditWnd && pFrame->m_pEditWnd == GetEditControl())
            pFrame->m_pEditWnd = nullptr;
    TWKTreeCtrl::OnDestroy();
}

// ---- colours

void C_IDEIceTreeCtrl::PickItemColors(TWKListPaintContext* pCtx)
{
    int nRow = pCtx->m_item.iItem;
    int nColumn = pCtx->m_nColumn;
    if (nColumn == 0)
        pCtx->m_crText = CanEditCell(nRow, 1) ? RGB(0, 0, 255) : RGB(255, 0, 0);
    else
        pCtx->m_crText = IsBusy() ? RGB(0x7F, 0x7F, 0x7F) : RGB(0, 0, 0);
    BOOL bFocus = ::GetFocus() == m_hWnd;
    BOOL bSelected = (pCtx->m_item.state & LVIS_SELECTED)
                     && (nColumn == 0 || (m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT));
    if (!IsWindowEnabled())
        pCtx->m_crTextBk = ::GetSysColor(COLOR_MENU);
    else if (bSelected && (bFocus || (m_dwListStyle & LVS_SHOWSELALWAYS))) {
        if (bFocus || GetEditRow() >= 0) {
            pCtx->m_crText = m_crSelText;
            pCtx->m_crTextBk = m_crSelBk;
        } else
            pCtx->m_crTextBk = ::GetSysColor(COLOR_MENU);
    } else
        pCtx->m_crTextBk = m_crCellBk;
    HTREEITEM hDrop = GetDropHilightItem();
    if (nColumn == 0 && hDrop && ItemRow(hDrop) == nRow)
        std::swap(pCtx->m_crText, pCtx->m_crTextBk);
}
