#include "ide/debugger/IDEListTab.h"
#include "afx/imagelist.h"
#include "ide/debugger/IDEIceTreeCtrl.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/IDEMemoryDumpDlg.h"
#include "ide/debugger/IDEMemoryEditWnd.h"
#include "ide/debugger/ZIceMgr.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"

namespace {

// Shared by every list tab: the trees' image list and the one drag that may run.
CImageList* s_pImages = nullptr;
struct DragState {
    C_IDEIceTreeCtrl* pSource = nullptr;
    C_IDEIceTreeCtrl* pDropTree = nullptr;
    HTREEITEM hDragged = nullptr;
    HTREEITEM hDrop = nullptr;
};
DragState s_drag;

const DWORD kTreeStyle = 0x50000007;
const DWORD kTreeListExStyle = 0x2C00000;
const DWORD kEditLabelsStyle = 0x200;
const int kMemoryTabHeightCut = 50;

BOOL IsTreePageId(UINT nID)
{
    return nID >= LISTTAB_VARIABLE_ID && nID < LISTTAB_STACK_ID + 16;
}

CString PageName(I_IceDebugPage* pPage, size_t nField)
{
    // The ICE fills the name without a size: always a buffer it cannot overrun, cut to the field.
    char sz[160] = "";
    pPage->GetName(sz);
    sz[std::min(nField, sizeof(sz)) - 1] = 0;
    return sz;
}

} // namespace

// ---- the tab window

IMPLEMENT_DYNAMIC(C_IDEListTab, TWKTabWnd)

BEGIN_MESSAGE_MAP(C_IDEListTab, TWKTabWnd)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

C_IDEListTab::~C_IDEListTab()
{
    delete m_pDragImage;
}

CImageList* C_IDEListTab::GetSharedImages()
{
    return s_pImages;
}

BOOL C_IDEListTab::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!TWKTabWnd::Create(pParentWnd, dwStyle, nID))
        return FALSE;
    if (!s_pImages) {
        s_pImages = new CImageList;
        if (s_pImages->Create(IDB_DEBUG_TREE_IMAGES, 14, 0, RGB(255, 255, 255)))
            s_pImages->SetBkColor(::GetSysColor(COLOR_WINDOW));
    }
    m_pIceMgr = m_pUIMgr ? m_pUIMgr->GetIceMgr() : nullptr;
    return TRUE;
}

void C_IDEListTab::OnDestroy()
{
    RemoveAllPages();
    if (s_pImages) {
        delete s_pImages;
        s_pImages = nullptr;
    }
    TWKTabWnd::OnDestroy();
}

BOOL C_IDEListTab::IsBusy()
{
    I_ZIceMgr* pIceMgr = m_pUIMgr ? m_pUIMgr->GetIceMgr() : m_pIceMgr;
    return !pIceMgr || pIceMgr->IsBusy();
}

C_IDEIceTreeCtrl* C_IDEListTab::CreatePageTree(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex)
{
    return new C_IDEIceTreeCtrl(m_pUIMgr, pTarget, pPage, nIndex);
}

BOOL C_IDEListTab::AddPage(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex, UINT nID)
{
    if (!pPage || !pPage->IsShown() || !GetSafeHwnd())
        return FALSE;
    C_IDEIceTreeCtrl* pTree = CreatePageTree(pTarget, pPage, nIndex);
    if (!pTree)
        return FALSE;
    if (!pTree->Create(kTreeStyle, kTreeListExStyle, CRect(0, 0, 0, 0), this, nID)) {
        delete pTree;
        return FALSE;
    }
    pTree->ModifyListStyleEx(0, kTreeListExStyle, TRUE);
    if (AllowsEditing())
        pTree->ModifyListStyle(0, kEditLabelsStyle, TRUE);
    AddTab(pTree, PageName(pPage, 160));
    pTree->InitColumns();
    pTree->SetImageList(s_pImages, LVSIL_NORMAL);
    if (pPage->GetItemCount() > 0 || pPage->GetType() == ICE_PAGE_WATCH)
        pTree->FillFromPage(pPage);
    return TRUE;
}

void C_IDEListTab::RemoveAllPages()
{
    if (!GetSafeHwnd() || GetTabCount() == 0)
        return;
    if (GetTabControl())
        GetTabControl()->ClearSelection();
    for (int i = GetTabCount() - 1; i >= 0; i--) {
        C_IDEIceTreeCtrl* pTree = GetPageTree(i);
        if (pTree)
            pTree->SaveColumnWidths();
        DeleteTab(i);
        if (pTree) {
            if (s_drag.pSource == pTree || s_drag.pDropTree == pTree)
                s_drag = DragState();
            pTree->DeleteAllItems();
            pTree->DeleteColumn(1);
            pTree->DeleteColumn(0);
            pTree->DestroyWindow();
            delete pTree;
        }
    }
}

void C_IDEListTab::ActivateFirstPage()
{
    if (!GetSafeHwnd() || GetTabCount() == 0)
        return;
    if (!m_bFontSet) {
        m_TabFont.CreateFont(-15, 0, 0, 0, 900, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 5, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, "System");
        SetActiveTabFont(&m_TabFont, TRUE);
        SetSelectedTabFont(&m_TabFont, TRUE);
        SetUnselectedTabFont(&m_TabFont, TRUE);
        if (GetTabControl())
            GetTabControl()->RecalcLayout();
        m_bFontSet = TRUE;
    }
    ActivateTab(0);
    if (GetTabControl())
        GetTabControl()->InvalidateTab(0);
}

C_IDEIceTreeCtrl* C_IDEListTab::GetPageTree(int nIndex)
{
    LPCTSTR lpszLabel = nullptr;
    BOOL bSelected = FALSE;
    CWnd* pWnd = nullptr;
    void* pExtra = nullptr;
    if (!GetTabInfo(nIndex, lpszLabel, bSelected, pWnd, pExtra))
        return nullptr;
    return dynamic_cast<C_IDEIceTreeCtrl*>(pWnd);
}

C_IDEIceTreeCtrl* C_IDEListTab::GetActivePageTree()
{
    CWnd* pWnd = nullptr;
    return GetActiveTabWnd(pWnd) ? dynamic_cast<C_IDEIceTreeCtrl*>(pWnd) : nullptr;
}

int C_IDEListTab::GetDisplayFormat()
{
    C_IDEIceTreeCtrl* pTree = GetActivePageTree();
    return pTree ? pTree->GetDisplayFormat() : 0;
}

void C_IDEListTab::SetDisplayFormat(int nFormat)
{
    if (C_IDEIceTreeCtrl* pTree = GetActivePageTree())
        pTree->SetDisplayFormat(nFormat);
}

C_IDEIceTreeCtrl* C_IDEListTab::TreeOfNotify(NMHDR* pHdr)
{
    if (!pHdr || !IsTreePageId((UINT)pHdr->idFrom))
        return nullptr;
    auto* pTree = dynamic_cast<C_IDEIceTreeCtrl*>(CWnd::FromHandlePermanent(pHdr->hwndFrom));
    int nIndex = 0;
    return pTree && FindTab(pTree, nIndex) ? pTree : nullptr;
}

BOOL C_IDEListTab::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
    C_IDEIceTreeCtrl* pTree = pHdr ? TreeOfNotify(pHdr) : nullptr;
    if (!pHdr || !IsTreePageId((UINT)pHdr->idFrom))
        return TWKTabWnd::OnNotify(wParam, lParam, pResult);
    switch (pHdr->code) {
    case LVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITA: {
        int nRow = 0, nColumn = 0;
        if (pHdr->code == LVN_BEGINLABELEDITA) {
            auto* p = reinterpret_cast<NMLVDISPINFOA*>(pHdr);
            nRow = p->item.iItem;
            nColumn = p->item.iSubItem;
        } else if (pTree)
            nRow = pTree->ItemRow(reinterpret_cast<NMTVDISPINFOA*>(pHdr)->item.hItem);
        *pResult = 1;
        if (pTree && !IsBusy() && pTree->CanEditCell(nRow, nColumn))
            *pResult = 0;
        return TRUE;
    }
    case LVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITA: {
        int nRow = 0, nColumn = 0;
        LPSTR pszText = nullptr;
        if (pHdr->code == LVN_ENDLABELEDITA) {
            auto* p = reinterpret_cast<NMLVDISPINFOA*>(pHdr);
            nRow = p->item.iItem;
            nColumn = p->item.iSubItem;
            pszText = p->item.pszText;
        } else {
            auto* p = reinterpret_cast<NMTVDISPINFOA*>(pHdr);
            nRow = pTree ? pTree->ItemRow(p->item.hItem) : -1;
            pszText = p->item.pszText;
        }
        *pResult = FALSE;
        if (pTree && pszText && pTree->CanEditCell(nRow, nColumn))
            *pResult = pTree->SetCellText(nRow, nColumn, pszText) ? TRUE : FALSE;
        return TRUE;
    }
    case LVN_GETDISPINFOA: {
        auto* p = reinterpret_cast<NMLVDISPINFOA*>(pHdr);
        if (pTree && (p->item.mask & LVIF_TEXT) && p->item.pszText && p->item.pszText != LPSTR_TEXTCALLBACK
            && p->item.cchTextMax > 0) {
            CString str;
            pTree->GetCellText(p->item.iItem, p->item.iSubItem, str);
            FixCellText(str);
            lstrcpynA(p->item.pszText, str, p->item.cchTextMax);
        }
        *pResult = 0;
        return TRUE;
    }
    case TVN_BEGINDRAGA: {
        auto* p = reinterpret_cast<NMTREEVIEWA*>(pHdr);
        if (!pTree || m_bDragging || !CanDragItem((UINT)pHdr->idFrom, p->itemNew.hItem))
            return TRUE;
        HTREEITEM hItem = pTree->TopLevelOf(p->itemNew.hItem);
        CRect rcText;
        pTree->GetItemRect(p->itemNew.hItem, &rcText, LVIR_LABEL);
        CPoint ptHot(p->ptDrag.x - rcText.left, p->ptDrag.y - rcText.top);
        delete m_pDragImage;
        m_pDragImage = pTree->CreateDragImage(hItem);
        CPoint ptScreen = p->ptDrag;
        ::ClientToScreen(pTree->GetSafeHwnd(), &ptScreen);
        if (m_pDragImage) {
            m_pDragImage->BeginDrag(0, ptHot);
            m_pDragImage->DragMove(ptScreen);
            m_pDragImage->DragEnter(GetDesktopWindow(), ptScreen);
        }
        SetCapture();
        m_bDragging = TRUE;
        s_drag.pSource = s_drag.pDropTree = pTree;
        s_drag.hDragged = hItem;
        s_drag.hDrop = nullptr;
        return TRUE;
    }
    default:
        return TWKTabWnd::OnNotify(wParam, lParam, pResult);
    }
}

void C_IDEListTab::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bDragging) {
        TWKTabWnd::OnMouseMove(nFlags, point);
        return;
    }
    CPoint ptScreen = point;
    ::ClientToScreen(m_hWnd, &ptScreen);
    if (m_pDragImage)
        m_pDragImage->DragMove(ptScreen);
    auto* pTree = dynamic_cast<C_IDEIceTreeCtrl*>(CWnd::FromHandlePermanent(::WindowFromPoint(ptScreen)));
    C_IDEListTab* pTab = pTree ? dynamic_cast<C_IDEListTab*>(pTree->GetParent()) : nullptr;
    if (!pTab || (pTab != this && !pTab->IsDropTarget()))
        return;
    CPoint ptTree = ptScreen;
    ::ScreenToClient(pTree->GetSafeHwnd(), &ptTree);
    UINT nHit = 0;
    HTREEITEM hItem = pTree->HitTest(ptTree.x, ptTree.y, &nHit);
    if (pTree == s_drag.pDropTree && hItem == s_drag.hDrop)
        return;
    if (m_pDragImage)
        m_pDragImage->DragLeave(GetDesktopWindow());
    if (s_drag.pDropTree && ::IsWindow(s_drag.pDropTree->GetSafeHwnd())) {
        s_drag.pDropTree->SelectDropTarget(nullptr);
        s_drag.pDropTree->Invalidate();
    }
    pTree->SelectDropTarget(hItem);
    if (m_pDragImage)
        m_pDragImage->DragEnter(GetDesktopWindow(), ptScreen);
    s_drag.pDropTree = pTree;
    s_drag.hDrop = hItem;
}

void C_IDEListTab::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bDragging) {
        TWKTabWnd::OnLButtonUp(nFlags, point);
        return;
    }
    if (m_pDragImage) {
        m_pDragImage->DragLeave(GetDesktopWindow());
        m_pDragImage->EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    ReleaseCapture();
    m_bDragging = FALSE;
    CPoint ptScreen = point;
    ::ClientToScreen(m_hWnd, &ptScreen);
    C_IDEIceTreeCtrl* pDrop = s_drag.pDropTree;
    if (pDrop && ::WindowFromPoint(ptScreen) == pDrop->GetSafeHwnd() && s_drag.hDragged != s_drag.hDrop) {
        if (pDrop == s_drag.pSource)
            pDrop->MoveItem(s_drag.hDragged, s_drag.hDrop);
        else
            pDrop->DropItem(s_drag.pSource, s_drag.hDragged, s_drag.hDrop);
        pDrop->RecalcLayout();
        pDrop->Invalidate(TRUE);
        pDrop->UpdateWindow();
    }
    if (pDrop && ::IsWindow(pDrop->GetSafeHwnd()))
        pDrop->SelectDropTarget(nullptr);
    s_drag = DragState();
}

// ---- the watch tab

BOOL C_IDEWatchListTab::CanDragItem(UINT nID, HTREEITEM hItem)
{
    (void)nID;
    for (int i = 0; i < GetTabCount(); i++)
        if (auto* pTree = dynamic_cast<C_IDEIceWatchTreeCtrl*>(GetPageTree(i)))
            if (hItem && pTree->TopLevelOf(hItem) == pTree->m_hEntryRow)
                return FALSE;
    return hItem != nullptr;
}

C_IDEIceTreeCtrl* C_IDEWatchListTab::CreatePageTree(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex)
{
    return new C_IDEIceWatchTreeCtrl(m_pUIMgr, pTarget, pPage, nIndex);
}

void C_IDEWatchListTab::RefreshWatch()
{
    if (!GetSafeHwnd())
        return;
    for (int i = 0; i < GetTabCount(); i++)
        if (auto* pTree = dynamic_cast<C_IDEIceWatchTreeCtrl*>(GetPageTree(i)))
            pTree->RefreshWatch();
}

void C_IDEWatchListTab::FixCellText(CString& str)
{
    str.MakeUpper();
    str.Replace("0X", "0x");
}

// ---- the memory tab and its agents

BOOL ForEachShownMemoryItem(I_IceDebugPage* pPage,
                            const std::function<BOOL(int nItem, I_IceDebugItem* pItem, I_IceMemoryBlock* pBlock)>& fn)
{
    void* pos = pPage ? pPage->GetFirstPosition() : nullptr;
    for (int nItem = 0; pos; nItem++) {
        I_IceDebugItem* pItem = pPage->GetNext(&pos);
        if (!pItem)
            break;
        if (!pItem->IsShown())
            continue;
        I_IceMemoryBlock* pBlock = pItem->GetMemoryBlock();
        if (!pBlock)
            return FALSE;
        if (!fn(nItem, pItem, pBlock))
            break;
    }
    return TRUE;
}

int C_IDEMemoryEditAgent::UnitOfKind(int nKind)
{
    return nKind == ICE_KIND_NIBBLES ? MEMUNIT_NIBBLE : nKind == ICE_KIND_WORDS ? MEMUNIT_WORD : MEMUNIT_BYTE;
}

C_IDEMemoryEditAgent::C_IDEMemoryEditAgent(C_IDEIceUIMgr* pUIMgr, I_IceDebugPage* pPage, int nPageIndex)
    : m_nPageIndex(nPageIndex), m_pPage(pPage), m_pUIMgr(pUIMgr), m_pIceMgr(pUIMgr ? pUIMgr->GetIceMgr() : nullptr)
{
}

namespace {

void DumpCommand(C_IDEMemoryEdit* pEdit, LPARAM lArg)
{
    C_IDEMemoryDumpDlg dlg(pEdit, reinterpret_cast<I_IceDebugPage*>(lArg));
    dlg.DoModal();
}

} // namespace

void C_IDEMemoryEditAgent::AttachWindow(C_IDEMemoryEditWnd* pWnd)
{
    m_pWnd = pWnd;
    m_pMemoryEdit = pWnd ? &pWnd->m_MemoryEdit : nullptr;
    if (m_pMemoryEdit)
        m_pMemoryEdit->AddCommand("Dump", ID_MEMORY_DUMP, DumpCommand, reinterpret_cast<LPARAM>(m_pPage));
}

BOOL C_IDEMemoryEditAgent::BindPage(I_IceDebugPage* pPage)
{
    if (!m_pMemoryEdit || !pPage)
        return FALSE;
    m_pMemoryEdit->ResetMemory();
    return ForEachShownMemoryItem(pPage, [this](int nItem, I_IceDebugItem* pItem, I_IceMemoryBlock* pBlock) {
        m_pMemoryEdit->AddBlock(pBlock->GetSpace(), pBlock->GetAddress(), pBlock->GetLength(),
                                static_cast<BYTE*>(pBlock->GetData()), UnitOfKind(pItem->GetKind()), nItem);
        return TRUE;
    });
}

void C_IDEMemoryEditAgent::Snapshot(BOOL bShown)
{
    m_ItemShown.assign((size_t)std::max(0, m_pPage->GetItemCount()), 0);
    void* pos = m_pPage->GetFirstPosition();
    for (size_t i = 0; pos && i < m_ItemShown.size(); i++) {
        I_IceDebugItem* pItem = m_pPage->GetNext(&pos);
        if (!pItem)
            break;
        m_ItemShown[i] = pItem->IsShown() ? 1 : 0;
    }
    m_bShown = bShown;
}

BOOL C_IDEMemoryEditAgent::HasChanged()
{
    if ((m_pPage->IsShown() != 0) != (m_bShown != 0))
        return TRUE;
    if ((size_t)std::max(0, m_pPage->GetItemCount()) != m_ItemShown.size())
        return TRUE;
    void* pos = m_pPage->GetFirstPosition();
    for (size_t i = 0; pos && i < m_ItemShown.size(); i++) {
        I_IceDebugItem* pItem = m_pPage->GetNext(&pos);
        if (!pItem)
            break;
        if ((pItem->IsShown() ? 1u : 0u) != m_ItemShown[i])
            return TRUE;
    }
    return FALSE;
}

BOOL C_IDEMemoryEditAgent::WriteMemory(DWORD nSpace, DWORD dwAddress, int nItem, int nOffset, int nValue)
{
    if (!m_pIceMgr || m_pIceMgr->IsBusy())
        return FALSE;
    if (!m_pIceMgr->WriteMemory(m_nPageIndex, nItem, nOffset, nValue))
        return FALSE;
    if (m_pUIMgr)
        m_pUIMgr->OnMemoryWritten(nSpace, dwAddress);
    return TRUE;
}

void C_IDEMemoryEditAgent::ReadMemory(DWORD nSpace, DWORD dwAddress)
{
    if (!m_pIceMgr || m_pIceMgr->IsBusy())
        return;
    m_pIceMgr->ReadMemory(nSpace, dwAddress, m_pPage->GetBuffer());
    if (!m_pMemoryEdit)
        return;
    ForEachShownMemoryItem(m_pPage, [this](int nItem, I_IceDebugItem*, I_IceMemoryBlock* pBlock) {
        m_pMemoryEdit->UpdateBlock(nItem, pBlock->GetSpace(), pBlock->GetAddress(),
                                   static_cast<BYTE*>(pBlock->GetData()));
        return TRUE;
    });
}

BEGIN_MESSAGE_MAP(C_IDEMemoryListTab, C_IDEListTab)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL C_IDEMemoryListTab::AddPage(I_IceDebugTarget*, I_IceDebugPage* pPage, int nIndex, UINT nID)
{
    if (!pPage || !GetSafeHwnd())
        return FALSE;
    CString strName = PageName(pPage, 40);
    auto pAgent = std::make_unique<C_IDEMemoryEditAgent>(m_pUIMgr, pPage, nIndex);
    auto* pWnd = new C_IDEMemoryEditWnd(pAgent.get());
    if (!pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID)) {
        delete pWnd;
        m_Agents.push_back(std::move(pAgent));
        return TRUE;
    }
    if (pPage->IsShown()) {
        AddTab(pWnd, strName);
        pAgent->Snapshot(TRUE);
    } else {
        pWnd->ShowWindow(SW_HIDE);
        pAgent->Snapshot(FALSE);
    }
    pAgent->AttachWindow(pWnd);
    pAgent->BindPage(pPage);
    m_Agents.push_back(std::move(pAgent));
    return TRUE;
}

void C_IDEMemoryListTab::RemoveAllPages()
{
    if (GetSafeHwnd())
        for (int i = GetTabCount() - 1; i >= 0; i--)
            DeleteTab(i);
    for (auto& pAgent : m_Agents) {
        C_IDEMemoryEditWnd* pWnd = pAgent->GetWindow();
        if (pWnd) {
            if (pWnd->GetSafeHwnd())
                pWnd->DestroyWindow();
            delete pWnd;
        }
    }
    m_Agents.clear();
}

BOOL C_IDEMemoryListTab::Reload()
{
    if (!GetSafeHwnd())
        return TRUE;
    int nActive = 0;
    if (!GetActiveTabIndex(nActive))
        nActive = 0;
    std::vector<size_t> changed;
    for (size_t i = 0; i < m_Agents.size(); i++)
        if (m_Agents[i]->HasChanged())
            changed.push_back(i);
    if (changed.empty())
        return TRUE;
    for (size_t nPos : changed) {
        C_IDEMemoryEditAgent* pAgent = m_Agents[nPos].get();
        I_IceDebugPage* pPage = pAgent->GetPage();
        BOOL bShow = pPage->IsShown() != 0;
        pAgent->Snapshot(bShow);
        pAgent->BindPage(pPage);
        C_IDEMemoryEditWnd* pWnd = pAgent->GetWindow();
        if (!pWnd || !pWnd->GetSafeHwnd())
            continue;
        int nTab = -1;
        if (FindTab(pWnd, nTab)) {
            if (bShow)
                continue;
            int nCurrent = -1;
            if (GetActiveTabIndex(nCurrent) && nCurrent == nTab) {
                int nTo = nTab > 0 ? nTab - 1 : nTab + 1;
                if (nTo >= GetTabCount())
                    nTo = 0;
                ActivateTab(nTo);
            }
            DeleteTab(nTab);
            pWnd->ShowWindow(SW_HIDE);
            if (nActive >= nTab && nActive > 0)
                nActive--;
        } else if (bShow) {
            CString strName = PageName(pPage, 64);
            // The list position counts the agents in front, shown or not: as many tabs as are shown there.
            int nAt = 0;
            for (size_t k = 0; k < nPos; k++) {
                int n = 0;
                if (m_Agents[k]->GetWindow() && FindTab(m_Agents[k]->GetWindow(), n))
                    nAt++;
            }
            if (nAt >= GetTabCount())
                AddTab(pWnd, strName);
            else {
                InsertTab(pWnd, nAt, strName);
                if (nActive >= nAt)
                    nActive++;
            }
        }
    }
    if (nActive >= 0 && nActive < GetTabCount())
        ActivateTab(nActive);
    else if (GetTabCount() > 0)
        ActivateTab(0);
    return TRUE;
}

void C_IDEMemoryListTab::OnSize(UINT nType, int cx, int cy)
{
    C_IDEListTab::OnSize(nType, cx, std::max(0, cy - kMemoryTabHeightCut));
}

// ---- the bar

IMPLEMENT_DYNCREATE(C_IDEListBar, TWKControlBar)

BEGIN_MESSAGE_MAP(C_IDEListBar, TWKControlBar)
    ON_WM_SIZE()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_DEBUG_DISPLAY_DECIMAL, OnDisplayDecimal)
    ON_COMMAND(ID_DEBUG_DISPLAY_HEX, OnDisplayHex)
    ON_COMMAND(ID_DEBUG_DISPLAY_BINARY, OnDisplayBinary)
    ON_COMMAND(ID_DEBUG_DELETE_WATCH, OnDeleteWatch)
END_MESSAGE_MAP()

BOOL C_IDEListBar::SetTab(C_IDEListTab* pTab)
{
    m_pTab = pTab;
    return pTab && pTab->InitTab();
}

void C_IDEListBar::OnSize(UINT nType, int cx, int cy)
{
    if (m_pTab && m_pTab->GetSafeHwnd()) {
        CRect rc;
        GetInsideRect(rc);
        m_pTab->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                             SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    }
    TWKControlBar::OnSize(nType, cx, cy);
}

void C_IDEListBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (pWnd && pWnd->GetSafeHwnd() == m_hWnd) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(WM_CONTEXTMENU, (WPARAM)pMain->GetSafeHwnd(), MAKELPARAM(point.x, point.y));
        return;
    }
    TWKControlBar::OnContextMenu(pWnd, point);
}

void C_IDEListBar::AddContextMenuItems(CMenu* pMenu)
{
    if (!m_pTab || !m_pTab->HasDisplayFormat())
        return;
    int nFormat = m_pTab->GetDisplayFormat();
    auto check = [nFormat](int n) { return (UINT)(nFormat == n ? MF_CHECKED : MF_UNCHECKED); };
    pMenu->InsertMenu(0, MF_BYPOSITION | MF_STRING | check(ICETREE_FORMAT_DEC), ID_DEBUG_DISPLAY_DECIMAL,
                      "Decimal Display");
    pMenu->InsertMenu(1, MF_BYPOSITION | MF_STRING | check(ICETREE_FORMAT_HEX), ID_DEBUG_DISPLAY_HEX,
                      "Hexadecimal Display");
    pMenu->InsertMenu(2, MF_BYPOSITION | MF_STRING | check(ICETREE_FORMAT_BIN), ID_DEBUG_DISPLAY_BINARY,
                      "Binary Display");
    pMenu->InsertMenu(3, MF_BYPOSITION | MF_SEPARATOR);
    if (m_pTab->CanDeleteItem()) {
        pMenu->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_DEBUG_DELETE_WATCH, "Delete");
        pMenu->InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR);
    }
}

void C_IDEListBar::SetFormat(int nFormat)
{
    if (!m_pTab)
        return;
    m_pTab->SetDisplayFormat(nFormat);
    if (C_IDEIceTreeCtrl* pTree = m_pTab->GetActivePageTree()) {
        pTree->Invalidate(TRUE);
        pTree->UpdateWindow();
    }
}

void C_IDEListBar::OnDisplayDecimal() { SetFormat(ICETREE_FORMAT_DEC); }
void C_IDEListBar::OnDisplayHex() { SetFormat(ICETREE_FORMAT_HEX); }
void C_IDEListBar::OnDisplayBinary() { SetFormat(ICETREE_FORMAT_BIN); }

void C_IDEListBar::OnDeleteWatch()
{
    if (m_pTab)
        if (C_IDEIceTreeCtrl* pTree = m_pTab->GetActivePageTree())
            pTree->DeleteSelected();
}
