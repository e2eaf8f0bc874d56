// The watch page's tree: expressions the ICE's watch interface evaluates, their
// member rows to any depth, and the trailing entry row where one is typed.
#include "ide/debugger/IDEIceTreeCtrl.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/ZIceMgr.h"

namespace {

BOOL IsWatchHandle(DWORD_PTR dw)
{
    return (DWORD)dw >= ICE_WATCH_HANDLE_BASE && (DWORD)dw != ICE_NO_HANDLE;
}

// The longest expression a dropped text may give.
const int kMaxDroppedText = 255;

} // namespace

IMPLEMENT_DYNAMIC(C_IDEIceWatchTreeCtrl, C_IDEIceTreeCtrl)

BEGIN_MESSAGE_MAP(C_IDEIceWatchTreeCtrl, C_IDEIceTreeCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_ICE_WATCH_TEXT_DROPPED, OnTextDropped)
END_MESSAGE_MAP()

DROPEFFECT C_IDEDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_COPY;
}

DROPEFFECT C_IDEDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_COPY;
}

BOOL C_IDEDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT, CPoint point)
{
    HGLOBAL hText = pDataObject ? pDataObject->GetGlobalData(CF_TEXT) : nullptr;
    if (!hText || !m_pTree)
        return FALSE;
    SIZE_T cb = ::GlobalSize(hText);
    if (const char* p = static_cast<const char*>(::GlobalLock(hText))) {
        // The text may lack its terminating zero: never read past the block.
        m_strText = CString(p, (int)strnlen(p, cb));
        ::GlobalUnlock(hText);
    }
    ::GlobalFree(hText);
    m_ptDrop = point;
    m_pTree->PostMessage(WM_ICE_WATCH_TEXT_DROPPED, (WPARAM)&m_strText, (LPARAM)&m_ptDrop);
    return TRUE;
}

int C_IDEIceWatchTreeCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (C_IDEIceTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_DropTarget.Register(this);
    m_DropTarget.SetTree(this);
    return 0;
}

void C_IDEIceWatchTreeCtrl::OnDestroy()
{
    m_DropTarget.Revoke();
    C_IDEIceTreeCtrl::OnDestroy();
}

I_IceWatch* C_IDEIceWatchTreeCtrl::Watch()
{
    void* p = nullptr;
    if (!m_pIceMgr || !m_pIceMgr->GetInterface(ICE_IID_WATCH, &p))
        return nullptr;
    return static_cast<I_IceWatch*>(p);
}

BOOL C_IDEIceWatchTreeCtrl::IsWatchRow(HTREEITEM h)
{
    HTREEITEM hTop = TopLevelOf(h);
    return hTop && hTop != m_hEntryRow && IsWatchHandle(GetItemData(hTop));
}

BOOL C_IDEIceWatchTreeCtrl::InitColumns()
{
    return InitColumnsWith({ "Value", "Address" });
}

BOOL C_IDEIceWatchTreeCtrl::AppendEntryRow()
{
    m_hEntryRow = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, "", 0, 0, 0, 0,
                             (LPARAM)ICE_NO_HANDLE, TVI_ROOT, TVI_LAST);
    return m_hEntryRow != nullptr;
}

BOOL C_IDEIceWatchTreeCtrl::FillRow(I_IceDebugItem* pItem, HTREEITEM h)
{
    if (pItem->GetHandle() < ICE_WATCH_HANDLE_BASE)
        return C_IDEIceTreeCtrl::FillRow(pItem, h);
    // A watch of the page: registered again, the row shows its new handle.
    I_IceWatch* pWatch = Watch();
    char sz[ICE_ITEM_NAME_SIZE] = "";
    pItem->GetName(sz);
    DWORD dwHandle = 0;
    if (!pWatch || pWatch->Add(sz, &dwHandle) != 0)
        return FALSE;
    SetItemData(h, dwHandle);
    HideItem(h, FALSE);
    return TRUE;
}

BOOL C_IDEIceWatchTreeCtrl::FillFromPage(I_IceDebugPage* pPage)
{
    if (!C_IDEIceTreeCtrl::FillFromPage(pPage) || !AppendEntryRow())
        return FALSE;
    m_nEntryIndex = m_nItemCount;
    return TRUE;
}

void C_IDEIceWatchTreeCtrl::AddMembers(ICE_WATCH_NODE node, HTREEITEM hRow)
{
    I_IceWatch* pWatch = Watch();
    int nCount = 0;
    if (!pWatch || !node || pWatch->GetMemberCount(node, &nCount) != 0 || nCount <= 0 || pWatch->IsClosed(node))
        return;
    for (int i = 0; i < nCount; i++) {
        const char* pszName = nullptr;
        ICE_WATCH_NODE member = nullptr;
        if (pWatch->GetMember(node, i, &pszName, &member) != 0)
            continue;
        HTREEITEM h = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pszName ? pszName : "", 0,
                                 0, 0, 0, 0, hRow, TVI_LAST);
        if (h)
            AddMembers(member, h);
    }
}

ICE_WATCH_NODE C_IDEIceWatchTreeCtrl::NodeOfRow(HTREEITEM h)
{
    I_IceWatch* pWatch = Watch();
    HTREEITEM hTop = TopLevelOf(h);
    if (!pWatch || !hTop)
        return nullptr;
    std::vector<int> path;
    for (HTREEITEM p = h; p && p != hTop; p = GetParentItem(p))
        path.insert(path.begin(), SiblingIndex(p));
    ICE_WATCH_NODE node = pWatch->GetRoot((DWORD)GetItemData(hTop));
    for (int i : path) {
        ICE_WATCH_NODE member = nullptr;
        if (!node || pWatch->GetMember(node, i, nullptr, &member) != 0)
            return nullptr;
        node = member;
    }
    return node;
}

BOOL C_IDEIceWatchTreeCtrl::RegisterWatch(HTREEITEM hRow)
{
    I_IceDebugItem* pItem = PageItem(TopLevelIndex(hRow));
    if (!pItem)
        return FALSE;
    if (pItem->GetHandle() != ICE_NO_HANDLE)
        return TRUE;
    I_IceWatch* pWatch = Watch();
    char sz[ICE_ITEM_NAME_SIZE] = "";
    pItem->GetDisplayName(sz);
    if (!sz[0])
        pItem->GetName(sz);
    DWORD dwHandle = 0, a = 0, b = 0;
    if (!pWatch || pWatch->Add(sz, &dwHandle) != 0)
        return FALSE;
    ICE_WATCH_NODE root = pWatch->GetRoot(dwHandle);
    if (pWatch->Check(root, &a, &b) != 0)
        return FALSE;
    SetItemData(hRow, dwHandle);
    DeleteChildren(hRow);
    AddMembers(root, hRow);
    return TRUE;
}

void C_IDEIceWatchTreeCtrl::GetCellText(int nRow, int nColumn, CString& str)
{
    str.Empty();
    HTREEITEM h = RowItem(nRow);
    if (!h || TopLevelOf(h) == m_hEntryRow)
        return;
    if (!IsWatchRow(h)) {
        C_IDEIceTreeCtrl::GetCellText(nRow, nColumn, str);
        return;
    }
    if (nColumn != 1 && nColumn != 2)
        return;
    I_IceWatch* pWatch = Watch();
    ICE_WATCH_NODE node = NodeOfRow(h);
    I_IceDebugItem* pItem = PageItem(TopLevelIndex(h));
    int nFormat = pItem ? pItem->GetFormat() : ICETREE_FORMAT_HEX;
    // The watch interface numbers the formats the other way round.
    int nWatchFormat = nFormat == ICETREE_FORMAT_BIN ? ICE_WATCH_FORMAT_BIN
                       : nFormat == ICETREE_FORMAT_DEC ? ICE_WATCH_FORMAT_DEC : ICE_WATCH_FORMAT_HEX;
    const char* pszValue = nullptr;
    const char* pszAddress = nullptr;
    if (!pWatch || !node || pWatch->GetText(node, nWatchFormat, &pszValue, &pszAddress) != 0)
        return;
    const char* psz = nColumn == 1 ? pszValue : pszAddress;
    str = psz ? psz : "";
}

BOOL C_IDEIceWatchTreeCtrl::CanEditCell(int nRow, int nColumn)
{
    HTREEITEM h = RowItem(nRow);
    if (!h)
        return FALSE;
    if (nColumn == 0)
        return GetParentItem(h) == nullptr;
    if (h == m_hEntryRow || nColumn > 1)
        return FALSE;
    if (IsWatchRow(h)) {
        I_IceWatch* pWatch = Watch();
        ICE_WATCH_NODE node = NodeOfRow(h);
        return pWatch && node && pWatch->IsReadOnly(node) == 0;
    }
    return C_IDEIceTreeCtrl::CanEditCell(nRow, nColumn);
}

BOOL C_IDEIceWatchTreeCtrl::SetCellText(int nRow, int nColumn, LPCSTR lpszText)
{
    if (!lpszText)
        return FALSE;
    CString strTrimmed = lpszText;
    strTrimmed.Trim();
    if (strTrimmed.IsEmpty())
        return FALSE;
    HTREEITEM h = RowItem(nRow);
    if (!h)
        return FALSE;
    if (nColumn == 0) {
        if (GetParentItem(h) || !m_pTarget)
            return FALSE;
        BOOL bEntry = h == m_hEntryRow;
        int nIndex = SiblingIndex(h);
        if (m_pTarget->InsertItem(lpszText, m_nPageIndex, bEntry ? -1 : nIndex) != 0)
            return FALSE;
        I_IceDebugItem* pItem = PageItem(nIndex);
        DWORD dwHandle = pItem ? pItem->GetHandle() : ICE_NO_HANDLE;
        if (dwHandle == ICE_NO_HANDLE) {
            I_IceWatch* pWatch = Watch();
            if (!pWatch || pWatch->Add(lpszText, &dwHandle) != 0) {
                m_pTarget->DeleteItem(m_nPageIndex, nIndex);
                return FALSE;
            }
        }
        DWORD_PTR dwOld = GetItemData(h);
        SetItemData(h, dwHandle);
        SetItemText(h, lpszText);
        DeleteChildren(h);
        if (dwHandle < ICE_WATCH_HANDLE_BASE)
            AddChildren(pItem, h);
        else {
            int nKind = 0;
            DWORD dwExtra = 0;
            I_IceWatch* pWatch = Watch();
            if (!pWatch || pWatch->GetKind(dwHandle, &nKind, &dwExtra) != 0)
                return FALSE;
            if (nKind == ICE_WATCH_MEMBERS)
                AddMembers(pWatch->GetRoot(dwHandle), h);
        }
        if (bEntry) {
            if (!AppendEntryRow())
                return FALSE;
            m_nItemCount++;
            m_nEntryIndex = m_nItemCount;
        } else {
            if (IsWatchHandle(dwOld))
                if (I_IceWatch* pWatch = Watch())
                    pWatch->Release((DWORD)dwOld);
            if (m_pTarget->DeleteItem(m_nPageIndex, nIndex + 1) != 0)
                return FALSE;
        }
        UpdateDebugWindows();
        return TRUE;
    }
    if (nColumn == 1 && IsWatchRow(h)) {
        I_IceWatch* pWatch = Watch();
        ICE_WATCH_NODE node = NodeOfRow(h);
        if (!pWatch || !node || pWatch->SetText(node, strTrimmed) != 0)
            return FALSE;
        UpdateDebugWindows();
        return TRUE;
    }
    return C_IDEIceTreeCtrl::SetCellText(nRow, nColumn, lpszText);
}

BOOL C_IDEIceWatchTreeCtrl::DeleteSelected()
{
    HTREEITEM h = GetSelectedItem();
    if (!h)
        return FALSE;
    h = TopLevelOf(h);
    SelectItem(h);
    if (h == m_hEntryRow)
        return FALSE;
    DWORD_PTR dw = GetItemData(h);
    BOOL bDone = C_IDEIceTreeCtrl::DeleteSelected();
    if (bDone && IsWatchHandle(dw))
        if (I_IceWatch* pWatch = Watch())
            pWatch->Release((DWORD)dw);
    m_nEntryIndex = m_nItemCount;
    return bDone;
}

HTREEITEM C_IDEIceWatchTreeCtrl::MoveItem(HTREEITEM hDragged, HTREEITEM hDrop)
{
    HTREEITEM hTop = hDrop ? TopLevelOf(hDrop) : m_hEntryRow;
    HTREEITEM h = C_IDEIceTreeCtrl::MoveItem(hDragged, hTop);
    if (h)
        RegisterWatch(h);
    return h;
}

HTREEITEM C_IDEIceWatchTreeCtrl::DropItem(C_IDEIceTreeCtrl* pSource, HTREEITEM hDragged, HTREEITEM hDrop)
{
    HTREEITEM hTop = hDrop ? TopLevelOf(hDrop) : m_hEntryRow;
    HTREEITEM h = C_IDEIceTreeCtrl::DropItem(pSource, hDragged, hTop);
    if (h) {
        // The copy is a new watch item: its own handle, not the source row's.
        SetItemData(h, ICE_NO_HANDLE);
        DeleteChildren(h);
        RegisterWatch(h);
    }
    m_nEntryIndex = m_nItemCount;
    return h;
}

int C_IDEIceWatchTreeCtrl::GetDisplayFormat()
{
    HTREEITEM h = GetSelectedItem();
    if (h && TopLevelOf(h) == m_hEntryRow)
        return 0;
    return C_IDEIceTreeCtrl::GetDisplayFormat();
}

void C_IDEIceWatchTreeCtrl::SetDisplayFormat(int nFormat)
{
    HTREEITEM h = GetSelectedItem();
    if (h && TopLevelOf(h) == m_hEntryRow)
        return;
    // A member row's format is its watch item's.
    if (h && IsWatchRow(h)) {
        if (I_IceDebugItem* pItem = PageItem(TopLevelIndex(h)))
            pItem->SetFormat(nFormat);
        return;
    }
    C_IDEIceTreeCtrl::SetDisplayFormat(nFormat);
}

BOOL C_IDEIceWatchTreeCtrl::RefreshWatch()
{
    I_IceWatch* pWatch = Watch();
    if (!pWatch || IsBusy())
        return FALSE;
    for (HTREEITEM h = GetRootItem(); h; h = GetNextSiblingItem(h)) {
        if (h == m_hEntryRow || !IsWatchHandle(GetItemData(h)))
            continue;
        DWORD dwHandle = (DWORD)GetItemData(h);
        int nKind = 0;
        DWORD dwExtra = 0;
        if (pWatch->GetKind(dwHandle, &nKind, &dwExtra) != 0)
            return FALSE;
        BOOL bExpanded = IsItemExpanded(h);
        DeleteChildren(h);
        if (nKind == ICE_WATCH_MEMBERS) {
            AddMembers(pWatch->GetRoot(dwHandle), h);
            if (bExpanded)
                Expand(h, TVE_EXPAND);
        }
    }
    return TRUE;
}

CString C_IDEIceWatchTreeCtrl::CleanDroppedText(LPCSTR lpszText)
{
    CString str = lpszText ? lpszText : "";
    str.TrimLeft('\t');
    str.TrimRight('\t');
    str.TrimLeft(' ');
    str.TrimRight(' ');
    if (str.GetLength() > kMaxDroppedText)
        str.Empty();
    return str;
}

void C_IDEIceWatchTreeCtrl::DropText(LPCSTR lpszText, CPoint point)
{
    CString strText = CleanDroppedText(lpszText);
    if (strText.IsEmpty() || !m_pTarget)
        return;
    UINT nFlags = 0;
    HTREEITEM h = HitTest(point.x, point.y, &nFlags);
    if (h) {
        h = TopLevelOf(h);
        SelectItem(h);
    }
    if (!h || h == m_hEntryRow) {
        SetItemText(m_hEntryRow, strText);
        if (!SetCellText(ItemRow(m_hEntryRow), 0, strText))
            SetItemText(m_hEntryRow, "");
    } else {
        int nIndex = SiblingIndex(h);
        if (m_pTarget->InsertItem(strText, m_nPageIndex, nIndex) != 0)
            return;
        HTREEITEM hNew = PlaceCopy(strText, ICE_NO_HANDLE, FALSE, h);
        if (hNew) {
            RegisterWatch(hNew);
            m_nItemCount++;
        }
    }
    m_nEntryIndex = m_nItemCount;
    UpdateDebugWindows();
    RecalcLayout();
}

LRESULT C_IDEIceWatchTreeCtrl::OnTextDropped(WPARAM wParam, LPARAM lParam)
{
    const CString* pText = reinterpret_cast<const CString*>(wParam);
    const POINT* pPoint = reinterpret_cast<const POINT*>(lParam);
    if (pText && pPoint)
        DropText(*pText, CPoint(*pPoint));
    return 0;
}
