// The toolbar manager.
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKCustomToolBarInfoEx.h"
#include "afx/afxres.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/frames/TWKControlBarInfo.h"
#include "framework/frames/TWKFrameDispatch.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"
#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKStateStore.h"

const UINT WM_BARNOTIFY = ::RegisterWindowMessageA("WM_BARNOTIFY");

IMPLEMENT_DYNAMIC(TWKToolBarManager, TWKControlBarManager)

TWKToolBarManager::TWKToolBarManager(CFrameWnd* pFrame, CWnd* pOwner)
    : TWKControlBarManager(pFrame), m_pBmpMgr(new TWKBmpMgr), m_pOwnerWnd(pOwner),
      m_pToolBarClass(RUNTIME_CLASS(TWKCustomToolBar))
{
}

TWKToolBarManager::~TWKToolBarManager()
{
    m_pBmpMgr->Release();
    for (INT_PTR i = 0; i < m_arrDefaultToolBars.GetSize(); i++)
        delete static_cast<DefaultToolBar*>(m_arrDefaultToolBars[i]);
    delete[] m_pMenuIDs;
    delete[] static_cast<TWKBtnMapEntry*>(m_pButtonMap2);
}

void TWKToolBarManager::GetToolBars(CPtrArray& arr) const
{
    arr.RemoveAll();
    if (!m_pFrameWnd)
        return;
    for (POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_pFrameWnd->m_listControlBars.GetNext(pos));
        if (pBar->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar)))
            arr.Add(pBar);
    }
}

// ---- default toolbars

void TWKToolBarManager::DefineDefaultToolBar(UINT nID, LPCSTR lpszTitle, int nCount, const UINT* pIDs,
                                             DWORD dwAlign, UINT nDockBarID, UINT nDockNextToID, BOOL bDocked,
                                             BOOL bVisible)
{
    m_arrDefaultToolBars.Add(new DefaultToolBar{ nID, lpszTitle, nCount, pIDs, dwAlign, nDockBarID, nDockNextToID,
                                                 bDocked, bVisible });
}

BOOL TWKToolBarManager::DefineDefaultToolBar(UINT nID, LPCSTR lpszTitle, UINT nResourceID, int* pnCount,
                                             UINT** ppIDs, DWORD dwAlign, UINT nDockBarID, UINT nDockNextToID,
                                             BOOL bDocked, BOOL bVisible)
{
    if (!TWKBmpMgr::ReadToolBarResource(nResourceID, ppIDs, pnCount, nullptr, nullptr, TRUE))
        return FALSE;
    DefineDefaultToolBar(nID, lpszTitle, *pnCount, *ppIDs, dwAlign, nDockBarID, nDockNextToID, bDocked, bVisible);
    return TRUE;
}

BOOL TWKToolBarManager::GetDefaultToolBarButtons(UINT nID, int* pnCount, const UINT** ppIDs) const
{
    for (INT_PTR i = 0; i < m_arrDefaultToolBars.GetSize(); i++) {
        auto* p = static_cast<const DefaultToolBar*>(m_arrDefaultToolBars[i]);
        if (p->nID == nID) {
            *pnCount = p->nCount;
            *ppIDs = p->pIDs;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL TWKToolBarManager::LoadToolBarResource(UINT nID, UINT nLargeID)
{
    return m_pBmpMgr->LoadToolBar(nID, nLargeID, TRUE);
}

void TWKToolBarManager::SetMenuIDs(int nCount, const UINT* pIDs)
{
    delete[] m_pMenuIDs;
    m_pMenuIDs = nullptr;
    m_nMenuIDs = 0;
    if (nCount > 0 && pIDs) {
        m_pMenuIDs = new UINT[nCount];
        std::copy(pIDs, pIDs + nCount, m_pMenuIDs);
        m_nMenuIDs = nCount;
    }
}

void TWKToolBarManager::GetMenuInfo(int* pnCount, const UINT** ppIDs) const
{
    *pnCount = m_nMenuIDs;
    *ppIDs = m_pMenuIDs;
}

// ---- making toolbars

TWKCustomToolBar* TWKToolBarManager::NewToolBar(UINT nID, LPCSTR lpszTitle)
{
    CObject* pObject = m_pToolBarClass ? m_pToolBarClass->CreateObject() : nullptr;
    auto* pBar = dynamic_cast<TWKCustomToolBar*>(pObject);
    if (!pBar) {
        delete pObject;
        return nullptr;
    }
    if (m_pOwnerWnd)
        pBar->SetOwner(m_pOwnerWnd);
    pBar->m_pControlBarManager = this;
    pBar->SetBmpMgr(m_pBmpMgr);
    pBar->m_bAutoDelete = TRUE;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC;
    if (m_bFlyBy)
        dwStyle |= CBRS_FLYBY;
    if (m_bToolTips)
        dwStyle |= CBRS_TOOLTIPS;
    if (!pBar->Create(m_bCoolLook ? (CBX_COOLLOOK | CBX_GRIPPER) : 0, m_pFrameWnd, dwStyle, nID, lpszTitle)) {
        delete pBar;
        return nullptr;
    }
    if (m_pOwnerWnd)
        pBar->SetOwner(m_pOwnerWnd);
    SetBarImageSize(pBar);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}

namespace {
// The framework frame docks with its own dock bars and notifications.
void DockInFrame(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    TWKWithFrame(pFrame, [&](auto* pSite) { pSite->DockControlBar(pBar, nDockBarID, lpRect); });
}
} // namespace

void TWKToolBarManager::SetBarImageSize(TWKCustomToolBar* pBar)
{
    CSize size = m_bLargeBtns ? m_pBmpMgr->GetLargeImageSize() : m_pBmpMgr->GetSmallImageSize();
    pBar->OnImageSizeChanged(size.cx, size.cy);
}

void TWKToolBarManager::SetDefaultDockState()
{
    auto* pFrame = m_pFrameWnd;
    if (GetFrameMenuBar()) {
        CString strTitle;
        strTitle.LoadString(AfxGetResourceHandle(), IDS_TWK_MENUBAR);
        if (TWKMenuBar* pMenuBar = CreateMenuBar(TWK_IDW_LASTUSERBAR, strTitle))
            DockInFrame(pFrame, pMenuBar, AFX_IDW_DOCKBAR_TOP, nullptr);
    }
    for (INT_PTR i = 0; i < m_arrDefaultToolBars.GetSize(); i++) {
        auto* p = static_cast<DefaultToolBar*>(m_arrDefaultToolBars[i]);
        TWKCustomToolBar* pBar = NewToolBar(p->nID, p->strTitle);
        if (!pBar)
            return;
        pBar->SetButtons(p->pIDs, p->nCount);
        pBar->EnableDocking(p->dwAlign);
        // A next-to bar that was never made gives no place: the bar goes to its dock bar.
        CControlBar* pNextTo = p->nDockNextToID ? pFrame->GetControlBar(p->nDockNextToID) : nullptr;
        if (pNextTo && pNextTo->m_hWnd) {
            pFrame->RecalcLayout();
            CRect rect;
            pNextTo->GetWindowRect(&rect);
            if (p->nDockBarID == AFX_IDW_DOCKBAR_TOP || p->nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
                rect.OffsetRect(1, 0);
            else
                rect.OffsetRect(0, 1);
            DockInFrame(pFrame, pBar, p->nDockBarID, &rect);
        } else {
            DockInFrame(pFrame, pBar, p->nDockBarID, nullptr);
        }
    }
    pFrame->RecalcLayout();
    for (INT_PTR i = 0; i < m_arrDefaultToolBars.GetSize(); i++) {
        auto* p = static_cast<DefaultToolBar*>(m_arrDefaultToolBars[i]);
        CControlBar* pBar = pFrame->GetControlBar(p->nID);
        if (!pBar)
            continue;
        if (!p->bVisible)
            pFrame->ShowControlBar(pBar, FALSE, FALSE);
        if (!p->bDocked && pBar->m_pDockContext)
            pBar->m_pDockContext->ToggleDocking();
    }
}

void TWKToolBarManager::InitToolBars()
{
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        pBar->m_pControlBarManager = this;
        pBar->SetBmpMgr(m_pBmpMgr);
        if (pBar->m_hWnd)
            pBar->Invalidate(TRUE);
    }
    if (arr.GetSize() == 0)
        SetDefaultDockState();
}

TWKCustomToolBar* TWKToolBarManager::CreateUserToolBar(LPCSTR lpszTitle)
{
    UINT nID = TWK_IDW_FIRSTUSERBAR;
    while (GetToolBar(nID))
        if (++nID > TWK_IDW_LASTUSERBAR)
            return nullptr;
    CString strTitle;
    if (lpszTitle) {
        strTitle = lpszTitle;
    } else {
        CString strFormat;
        strFormat.LoadString(AfxGetResourceHandle(), IDS_TWK_TOOLBAR_TITLE);
        strTitle.Format(strFormat, (int)(nID - (TWK_IDW_FIRSTUSERBAR - 1)));
    }
    TWKCustomToolBar* pBar = NewToolBar(nID, strTitle);
    if (!pBar)
        return nullptr;
    pBar->SetConfigMode(m_bToolBarsConfigMode);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pBar->m_bAutoDelete = TRUE;
    return pBar;
}

// ---- lookups

TWKCustomToolBar* TWKToolBarManager::FindToolBarAt(LPCRECT lpRect)
{
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        if (!pBar->m_hWnd || !pBar->IsWindowVisible())
            continue;
        CRect rect, rectHit;
        CWnd* pWnd = pBar->IsFloating() ? static_cast<CWnd*>(pBar->GetParentFrame()) : pBar;
        if (!pWnd)
            continue;
        pWnd->GetWindowRect(&rect);
        if (rectHit.IntersectRect(&rect, lpRect))
            return pBar;
    }
    return nullptr;
}

TWKCustomToolBar* TWKToolBarManager::GetToolBar(UINT nID)
{
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        if (pBar->m_hWnd && (UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID)
            return pBar;
    }
    return nullptr;
}

BOOL TWKToolBarManager::GetNoDropRect(LPRECT lpRect) const
{
    if (!m_pNoDropWnd || !::IsWindow(m_pNoDropWnd->m_hWnd)) {
        ::SetRectEmpty(lpRect);
        return FALSE;
    }
    m_pNoDropWnd->GetWindowRect(lpRect);
    return TRUE;
}

// ---- the look of every toolbar

void TWKToolBarManager::EnableToolTips(BOOL bEnable)
{
    if (m_bToolTips == bEnable)
        return;
    m_bToolTips = bEnable;
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        DWORD dwStyle = pBar->GetBarStyle();
        pBar->SetBarStyle(bEnable ? (dwStyle | CBRS_TOOLTIPS) : (dwStyle & ~CBRS_TOOLTIPS));
    }
}

void TWKToolBarManager::EnableCoolLook(BOOL bEnable, DWORD dwExStyle)
{
    if (m_bCoolLook == bEnable)
        return;
    m_bCoolLook = bEnable;
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        DWORD dwEx = pBar->GetExBarStyle();
        pBar->SetExBarStyle(bEnable ? (dwEx | dwExStyle) : (dwEx & ~dwExStyle), FALSE);
        if ((dwExStyle & CBX_COOLLOOK) && pBar->m_hWnd)
            pBar->Invalidate(TRUE);
    }
    if (m_pFrameWnd)
        m_pFrameWnd->DelayRecalcLayout(TRUE);
}

void TWKToolBarManager::EnableLargeBtns(BOOL bEnable)
{
    if (m_bLargeBtns == bEnable)
        return;
    m_bLargeBtns = bEnable;
    UpdateLargeButtons();
}

BOOL TWKToolBarManager::UpdateLargeButtons()
{
    m_pBmpMgr->SetSmallImages(!m_bLargeBtns);
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++) {
        auto* pBar = static_cast<TWKCustomToolBar*>(arr[i]);
        SetBarImageSize(pBar);
        if (pBar->m_hWnd && pBar->IsFloating())
            if (CFrameWnd* pFloat = pBar->GetParentFrame())
                pFloat->RecalcLayout();
    }
    if (arr.GetSize() > 0 && m_pFrameWnd)
        m_pFrameWnd->DelayRecalcLayout(TRUE);
    return TRUE;
}

void TWKToolBarManager::SetButtonStyleById(UINT nID, UINT nCode, void* pData)
{
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        static_cast<TWKCustomToolBar*>(arr[i])->SetButtonStyleById(nID, nCode, pData, FALSE);
}

// ---- configuration mode

void TWKToolBarManager::EnterConfigMode()
{
    if (m_bFrameConfigMode)
        return;
    m_bFrameConfigMode = TRUE;
    m_pFrameWnd->EnableWindow(TRUE);
    for (HWND hChild = ::GetWindow(m_pFrameWnd->m_hWnd, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (pChild && pChild->IsKindOf(RUNTIME_CLASS(CDockBar)))
            continue;
        if (::IsWindowEnabled(hChild)) {
            m_arrDisabledWnds.Add(hChild);
            ::EnableWindow(hChild, FALSE);
        }
    }
}

void TWKToolBarManager::ExitConfigMode()
{
    if (!m_bFrameConfigMode)
        return;
    m_bFrameConfigMode = FALSE;
    // The modal customisation dialog enables the frame again when it ends.
    m_pFrameWnd->EnableWindow(FALSE);
    for (INT_PTR i = 0; i < m_arrDisabledWnds.GetSize(); i++) {
        auto hWnd = static_cast<HWND>(m_arrDisabledWnds[i]);
        if (::IsWindow(hWnd))
            ::EnableWindow(hWnd, TRUE);
    }
    m_arrDisabledWnds.RemoveAll();
}

void TWKToolBarManager::SetToolBarsConfigMode(BOOL bOn)
{
    if (m_bToolBarsConfigMode == bOn)
        return;
    m_bToolBarsConfigMode = bOn;
    CPtrArray arr;
    GetToolBars(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        static_cast<TWKCustomToolBar*>(arr[i])->SetConfigMode(bOn);
}

// ---- bar notifications

void TWKToolBarManager::AddNotifyWnd(CWnd* pWnd)
{
    if (!pWnd || !pWnd->m_hWnd)
        return;
    for (INT_PTR i = 0; i < m_arrNotifyWnds.GetSize(); i++)
        if (m_arrNotifyWnds[i] == pWnd->m_hWnd)
            return;
    m_arrNotifyWnds.Add(pWnd->m_hWnd);
}

void TWKToolBarManager::RemoveNotifyWnd(CWnd* pWnd)
{
    for (INT_PTR i = m_arrNotifyWnds.GetSize() - 1; i >= 0; i--)
        if (pWnd && m_arrNotifyWnds[i] == pWnd->m_hWnd)
            m_arrNotifyWnds.RemoveAt(i);
}

void TWKToolBarManager::SendBarNotify(UINT nBarID, UINT nCode)
{
    // Windows are kept by handle: a window destroyed since it registered is passed over.
    for (INT_PTR i = 0; i < m_arrNotifyWnds.GetSize(); i++) {
        auto hWnd = static_cast<HWND>(m_arrNotifyWnds[i]);
        if (::IsWindow(hWnd))
            ::SendMessage(hWnd, WM_BARNOTIFY, nBarID, nCode);
    }
}

// ---- layout persistence

UINT TWKToolBarManager::GetBarTypeID(CControlBar* pBar)
{
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKMenuBar)))
        return TWK_BARTYPE_MENUBAR;
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar)))
        return TWK_BARTYPE_TOOLBAR;
    return TWKControlBarManager::GetBarTypeID(pBar);
}

TWKControlBarInfoEx* TWKToolBarManager::CreateBarInfoEx(TWKControlBarInfo* pInfo)
{
    if (pInfo && (pInfo->m_nTypeID == TWK_BARTYPE_TOOLBAR || pInfo->m_nTypeID == TWK_BARTYPE_MENUBAR))
        return new TWKCustomToolBarInfoEx;
    return TWKControlBarManager::CreateBarInfoEx(pInfo);
}

static CString ManagerSection(LPCSTR lpszProfileName)
{
    CString s;
    s.Format("%s-ToolBarManager", lpszProfileName);
    return s;
}

// The three options, one writer and one reader for the "%s-ToolBarManager"
// section and the "ToolBarMgr" node.
static void WriteOptions(const TWKToolBarManager& mgr, TWKStateStore& store)
{
    store.WriteFlag("ToolTips", mgr.IsToolTips());
    store.WriteFlag("CoolLook", mgr.IsCoolLook());
    store.WriteFlag("LargeButtons", mgr.IsLargeBtns());
}

// A missing value keeps the present option.
static void ApplyOptions(TWKToolBarManager& mgr, TWKStateStore& store)
{
    mgr.EnableToolTips(store.GetFlag("ToolTips", mgr.IsToolTips()));
    mgr.EnableCoolLook(store.GetFlag("CoolLook", mgr.IsCoolLook()), CBX_COOLLOOK | CBX_GRIPPER);
    mgr.EnableLargeBtns(store.GetFlag("LargeButtons", mgr.IsLargeBtns()));
}

void TWKToolBarManager::SaveState(LPCSTR lpszProfileName)
{
    TWKProfileStore store(AfxGetApp(), ManagerSection(lpszProfileName));
    WriteOptions(*this, store);
}

void TWKToolBarManager::LoadState(LPCSTR lpszProfileName)
{
    TWKProfileStore store(AfxGetApp(), ManagerSection(lpszProfileName));
    ApplyOptions(*this, store);
    InitToolBars();
}

BOOL TWKToolBarManager::SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pParent)
{
    TWKPersistentTreeNode* pNode = pParent ? pParent->AddChild("ToolBarMgr", pFactory) : nullptr;
    if (!pNode)
        return FALSE;
    TWKTreeStore store(pNode);
    WriteOptions(*this, store);
    return TRUE;
}

BOOL TWKToolBarManager::LoadStateTree(TWKPersistentTreeNode* pNode)
{
    if (!pNode)
        return FALSE;
    if (TWKPersistentTreeNode* pOptions = pNode->FindChild("ToolBarMgr")) {
        TWKTreeStore store(pOptions);
        ApplyOptions(*this, store);
    } else {
        // A tree without the options has these, set for the bars still to come.
        m_bLargeBtns = FALSE;
        m_bToolTips = TRUE;
        m_bCoolLook = TRUE;
    }
    InitToolBars();
    return TRUE;
}

CControlBar* TWKToolBarManager::CreateBar(TWKControlBarInfo* pInfo)
{
    if (pInfo && pInfo->m_nTypeID == TWK_BARTYPE_TOOLBAR)
        return NewToolBar(pInfo->m_nBarID, nullptr);
    if (pInfo && pInfo->m_nTypeID == TWK_BARTYPE_MENUBAR)
        return CreateMenuBar(pInfo->m_nBarID, nullptr);
    return TWKControlBarManager::CreateBar(pInfo);
}
