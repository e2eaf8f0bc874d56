// The framework's toolbar.
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKCustomToolBarInfoEx.h"
#include "afx/afxres.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKOffscreenDC.h"

const UINT WM_NODELAYHIDE = ::RegisterWindowMessageA("WM_NODELAYHIDE");

BOOL TWKCustomToolBar::s_bDropDownActive = FALSE;
BOOL TWKCustomToolBar::s_bAltDrag = FALSE;

namespace {

BOOL IsMenuButton(const TWKStdBtn* pBtn)
{
    return pBtn->m_nType == TWK_BTN_TBMENU || pBtn->m_nType == TWK_BTN_CAPMENU;
}

BOOL IsVisibleButton(const TWKStdBtn* pBtn)
{
    return !(pBtn->m_dwStyle & TBBS_HIDDEN);
}

} // namespace

const TWKBtnMapEntry* TWKFindBtnMapEntry(const void* pMap, UINT nID)
{
    const TWKBtnMapEntry* pFound = nullptr;
    if (pMap)
        for (auto* p = static_cast<const TWKBtnMapEntry*>(pMap); p->pClass; p++)
            if (p->nID == nID)
                pFound = p;
    return pFound;
}

IMPLEMENT_DYNCREATE(TWKCustomToolBar, TWKControlBar)

BEGIN_MESSAGE_MAP(TWKCustomToolBar, TWKControlBar)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SHOWWINDOW()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_CANCELMODE()
    ON_WM_MOUSEACTIVATE()
    ON_REGISTERED_MESSAGE(WM_NODELAYHIDE, OnNoDelayHide)
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(TB_ADDBUTTONS, OnAddButtons)
    ON_MESSAGE(TB_DELETEBUTTON, OnDeleteButton)
END_MESSAGE_MAP()

TWKCustomToolBar::TWKCustomToolBar()
    : m_pBmpMgr(new TWKBmpMgr), m_sizeHorz(0, 0), m_sizeVert(0, 0), m_sizeFloat(0, 0),
      m_hFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)))
{
    m_cyTopBorder = m_cyBottomBorder = 3;
    // A toolbar's gripper is narrower than a docked window's.
    const int widths[5] = { 2, 3, 1, 3, 2 };
    for (int i = 0; i < 5; i++)
        m_gripperInfo.m_horz[i] = m_gripperInfo.m_vert[i] = widths[i];
    m_gripperInfo.m_nMargin = 0;
}

TWKCustomToolBar::~TWKCustomToolBar()
{
    m_pBmpMgr->Release();
    RemoveAllButtons();
    delete m_pDrawData;
    delete[] static_cast<TWKBtnMapEntry*>(m_pButtonMap2);
}

TWKToolBarManager* TWKCustomToolBar::GetManager() const
{
    return (m_pControlBarManager && m_pControlBarManager->IsKindOf(RUNTIME_CLASS(TWKToolBarManager)))
               ? static_cast<TWKToolBarManager*>(m_pControlBarManager)
               : nullptr;
}

// ---- creation

namespace {
BOOL CreateBarWindow(CWnd* pWnd, CWnd* pParent, DWORD dwStyle, UINT nID, LPCSTR lpszTitle)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // The CBRS_* bits are the bar's own, not window styles.
    return pWnd->CreateEx(0, lpszClass, lpszTitle, dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParent, nID);
}
} // namespace

BOOL TWKCustomToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle)
{
    return Create(0, pParentWnd, dwStyle, nID, lpszTitle);
}

BOOL TWKCustomToolBar::Create(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    BOOL bCreated = CreateBarWindow(this, pParentWnd, dwStyle, nID, lpszTitle);
    if (bCreated)
        NotifyManager(TWK_BARNOTIFY_CREATED);
    m_dwExStyle = dwExStyle | CBX_FIXEDSIZE;
    m_bDirtyMRU = m_bDirtyHorz = m_bDirtyVert = TRUE;
    if (bCreated)
        EnableToolTips(TRUE);
    return bCreated;
}

BOOL TWKCustomToolBar::CreateEx(LPCSTR, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                                const RECT&, CWnd* pParentWnd, CCreateContext*)
{
    m_dwExStyle = dwExStyle | CBX_FIXEDSIZE;
    m_dwStyle = dwStyle | CBRS_HIDE_INPLACE;
    m_bDirtyMRU = m_bDirtyHorz = m_bDirtyVert = TRUE;
    if (!CreateBarWindow(this, pParentWnd, dwStyle, nID, lpszWindowName))
        return FALSE;
    NotifyManager(TWK_BARNOTIFY_CREATED);
    EnableToolTips(TRUE);
    return TRUE;
}

// ---- metrics and images

int TWKCustomToolBar::GetImageWidth() const
{
    return m_pBmpMgr->GetImageSize().cx;
}

int TWKCustomToolBar::GetImageHeight() const
{
    return m_pBmpMgr->GetImageSize().cy;
}

void TWKCustomToolBar::InvalidateLayout()
{
    m_bDirtyMRU = m_bDirtyHorz = m_bDirtyVert = TRUE;
}

void TWKCustomToolBar::OnImageSizeChanged(int, int)
{
    m_nMaxBtnWidth = 0;
    for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++)
        m_arrButtons[i]->AdjustSize();
    InvalidateLayout();
}

int TWKCustomToolBar::GetImageIndex(UINT nID, UINT* pFoundID)
{
    HBITMAP hBitmap = nullptr;
    int nIndex = 0;
    BOOL bFound = m_pBmpMgr->GetBitmap(nID, &hBitmap, &nIndex, FALSE);
    if (pFoundID)
        *pFoundID = bFound ? nID : 0;
    return bFound ? nIndex : 0;
}

void TWKCustomToolBar::SetBmpMgr(TWKBmpMgr* pMgr)
{
    pMgr->AddRef();
    m_pBmpMgr->Release();
    m_pBmpMgr = pMgr;
}

// ---- the button list

TWKStdBtn* TWKCustomToolBar::CreateButton(UINT nID, TWKCustomToolBar* pBar)
{
    TWKCustomToolBar* pTarget = pBar ? pBar : this;
    TWKToolBarManager* pMgr = GetManager();
    const TWKBtnMapEntry* pEntry = TWKFindBtnMapEntry(pMgr ? pMgr->GetButtonMap() : m_pButtonMap, nID);
    if (!pEntry)
        pEntry = TWKFindBtnMapEntry(pMgr ? pMgr->GetButtonMap2() : m_pButtonMap2, nID);
    TWKStdBtn* pBtn = pEntry ? pEntry->pClass->CreateBtn() : nullptr;
    static const UINT_PTR noParams[5] = {};
    const UINT_PTR* pParams = noParams;
    if (pBtn) {
        pBtn->SetStyle(pEntry->dwStyle);
        pParams = pEntry->params;
    } else {
        // No entry, or its class could not make a button: a plain one keeps the command.
        pBtn = new TWKStdBtn;
    }
    pBtn->m_nID = nID;
    pBtn->m_nImage = pBtn->m_nType == TWK_BTN_TBMENU ? 0 : GetImageIndex(nID, nullptr);
    pBtn->Init(pTarget, pParams);
    pBtn->SetMode(pTarget->m_bVertical);
    return pBtn;
}

TWKStdBtn* TWKCustomToolBar::CreateSeparator(TWKCustomToolBar* pBar)
{
    auto* pBtn = new TWKStdBtn;
    pBtn->SetStyle(TBBS_SEPARATOR);
    pBtn->m_cx = m_nSepWidth;
    pBtn->m_cy = GetButtonHeight();
    pBtn->SetToolBar(pBar ? pBar : this);
    return pBtn;
}

void TWKCustomToolBar::RemoveAllButtons()
{
    for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++)
        delete m_arrButtons[i];
    m_arrButtons.RemoveAll();
    // No index may point past the array now.
    if (m_nHotBtn != -1 && m_hWnd)
        KillTimer(TWK_TIMER_HOTTRACK);
    m_nHotBtn = m_nDroppedBtn = -1;
    InvalidateLayout();
}

BOOL TWKCustomToolBar::SetButtons(const UINT* pIDs, int nCount)
{
    RemoveAllButtons();
    ClearSelection(FALSE);
    m_nCurBtn = -1;
    for (int i = 0; i < nCount; i++)
        m_arrButtons.Add(pIDs[i] ? CreateButton(pIDs[i], nullptr) : CreateSeparator(nullptr));
    InvalidateLayout();
    return TRUE;
}

void TWKCustomToolBar::GetBarInfoEx(TWKControlBarInfo* pInfo)
{
    auto* pEx = new TWKCustomToolBarInfoEx;
    if (m_hWnd)
        GetWindowText(pEx->m_strTitle);
    for (int i = 0; i < GetButtonCount(); i++) {
        TWKStdBtn* pBtn = m_arrButtons[i];
        BOOL bSep = (pBtn->m_dwStyle & TBBS_SEPARATOR) != 0;
        BYTE nSize = 0;
        BYTE* pData = nullptr;
        if (!bSep)
            pBtn->GetBtnInfo(&nSize, &pData);
        auto* pBtnInfo = new TWKBtnInfo;
        pBtnInfo->m_nID = bSep ? 0 : pBtn->m_nID;
        pBtnInfo->m_nSize = pData ? nSize : 0;
        pBtnInfo->m_pData = pData;
        pEx->m_arrButtons.Add(pBtnInfo);
    }
    delete pInfo->m_pInfoEx;
    pInfo->m_pInfoEx = pEx;
}

void TWKCustomToolBar::SetBarInfoEx(TWKControlBarInfo* pInfo, CFrameWnd*)
{
    auto* pEx = dynamic_cast<TWKCustomToolBarInfoEx*>(pInfo->m_pInfoEx);
    // A refused button list leaves the toolbar as it was made, title and buttons.
    if (!pEx || pEx->m_bRefused)
        return;
    ClearSelection(FALSE);
    RemoveAllButtons();
    m_nCurBtn = -1;
    if (!pEx->m_strTitle.IsEmpty() && m_hWnd)
        SetWindowText(pEx->m_strTitle);
    for (INT_PTR i = 0; i < pEx->m_arrButtons.GetSize(); i++) {
        const TWKBtnInfo* pBtnInfo = pEx->m_arrButtons[i];
        // The button map of today decides the class, whatever made the record.
        TWKStdBtn* pBtn = pBtnInfo->m_nID ? CreateButton(pBtnInfo->m_nID, nullptr) : CreateSeparator(nullptr);
        pBtn->SetBtnInfo(pBtnInfo->m_nSize, pBtnInfo->m_pData);
        m_arrButtons.Add(pBtn);
    }
    InvalidateLayout();
}

BOOL TWKCustomToolBar::HoldsSelection() const
{
    TWKToolBarManager* pMgr = GetManager();
    return pMgr && pMgr->m_pSelectedBar == this;
}

void TWKCustomToolBar::RelayoutNow()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout();
    Invalidate(TRUE);
    UpdateWindow();
}

void TWKCustomToolBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoUpdate)
{
    nIndex = std::max(0, std::min(nIndex, GetButtonCount()));
    TWKStdBtn* pBtn = bSeparator ? CreateSeparator(nullptr) : CreateButton(nID, nullptr);
    m_arrButtons.InsertAt(nIndex, pBtn);
    m_nMRUWidth += pBtn->m_cx;
    InvalidateLayout();
    if (HoldsSelection() && m_nCurBtn >= nIndex) {
        m_nCurBtn++;
        Invalidate(TRUE);
    }
    if (IsCoolLook() && m_nHotBtn >= nIndex)
        m_nHotBtn++;
    UpdateButton(nIndex);
    if (!bNoUpdate)
        RelayoutNow();
}

BOOL TWKCustomToolBar::RemoveButton(int nIndex, BOOL bNoUpdate)
{
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return FALSE;
    delete m_arrButtons[nIndex];
    m_arrButtons.RemoveAt(nIndex);
    int nRemoved = 1;
    int nCount = GetButtonCount();
    auto isSep = [this](int i) { return (m_arrButtons[i]->m_dwStyle & TBBS_SEPARATOR) != 0; };
    // No separator may be left dangling at either end or doubled.
    int nSep = -1;
    if (nIndex == 0) {
        if (nCount > 0 && isSep(0))
            nSep = 0;
    } else if (nIndex == nCount) {
        if (isSep(nCount - 1))
            nSep = nCount - 1;
    } else if (isSep(nIndex - 1) && isSep(nIndex)) {
        nSep = nIndex;
    }
    if (nSep != -1) {
        delete m_arrButtons[nSep];
        m_arrButtons.RemoveAt(nSep);
        nRemoved = 2;
    }
    InvalidateLayout();
    if (HoldsSelection()) {
        if (m_nCurBtn == nIndex) {
            GetManager()->m_pSelectedBar = nullptr;
            m_nCurBtn = -1;
        } else if (m_nCurBtn > nIndex) {
            m_nCurBtn -= nRemoved;
        }
    }
    if (IsCoolLook()) {
        if (m_nHotBtn == nIndex) {
            m_nHotBtn = -1;
            KillTimer(TWK_TIMER_HOTTRACK);
        } else if (m_nHotBtn > nIndex) {
            m_nHotBtn -= nRemoved;
        }
    }
    if (!bNoUpdate) {
        if (GetButtonCount() == 0 && (UINT)GetDlgCtrlID() >= TWK_IDW_FIRSTUSERBAR) {
            // A user toolbar lives only while it has buttons.
            DestroyWindow();
            return FALSE;
        }
        RelayoutNow();
    }
    return GetButtonCount() > 0;
}

int TWKCustomToolBar::CommandToIndex(UINT nID) const
{
    for (int i = 0; i < GetButtonCount(); i++)
        if (m_arrButtons[i]->m_nID == nID)
            return i;
    return -1;
}

int TWKCustomToolBar::IndexOf(const TWKStdBtn* pBtn) const
{
    for (int i = 0; i < GetButtonCount(); i++)
        if (m_arrButtons[i] == pBtn)
            return i;
    return -1;
}

void TWKCustomToolBar::SetButtonStyle(int nIndex, DWORD dwStyle)
{
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    if (pBtn->GetStyle() == dwStyle)
        return;
    pBtn->SetStyle(dwStyle);
    InvalidateButton(nIndex);
}

void TWKCustomToolBar::HideButton(int nIndex, BOOL bHide)
{
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    DWORD dwStyle = pBtn->GetStyle();
    pBtn->SetStyle(bHide ? (dwStyle | TBBS_HIDDEN) : (dwStyle & ~TBBS_HIDDEN));
    pBtn->OnHiddenChanged();
    // Not laid out here; the next layout must not answer from its cache though.
    InvalidateLayout();
}

void TWKCustomToolBar::SetButtonStyleById(UINT nID, UINT nCode, void* pData, BOOL bAllBars)
{
    if (bAllBars) {
        if (TWKToolBarManager* pMgr = GetManager())
            pMgr->SetButtonStyleById(nID, nCode, pData);
        return;
    }
    for (int i = 0; i < GetButtonCount(); i++)
        if (m_arrButtons[i]->m_nID == nID)
            m_arrButtons[i]->OnBtnNotify(nCode, pData);
}

BOOL TWKCustomToolBar::ReadToolBarIDs(LPCSTR lpszResourceName, UINT** ppIDs, int* pnCount)
{
    return TWKBmpMgr::ReadToolBarResource(lpszResourceName, ppIDs, pnCount, nullptr, nullptr, TRUE);
}

BOOL TWKCustomToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    // The bitmap manager reads resources by number.
    if (!IS_INTRESOURCE(lpszResourceName)
        || !m_pBmpMgr->LoadToolBar((UINT)(UINT_PTR)lpszResourceName, 0, TRUE))
        return FALSE;
    UINT* pIDs = nullptr;
    int nCount = 0;
    if (!ReadToolBarIDs(lpszResourceName, &pIDs, &nCount))
        return FALSE;
    SetButtons(pIDs, nCount);
    delete[] pIDs;
    return TRUE;
}

BOOL TWKCustomToolBar::LoadToolBar(UINT nBitmapID, const UINT* pIDs, int nCount)
{
    BOOL bLoaded = m_pBmpMgr->AddBitmapRes(nBitmapID, 0, pIDs, nCount, TRUE);
    return SetButtons(pIDs, nCount) && bLoaded;
}

BOOL TWKCustomToolBar::LoadToolBarBitmap(LPCSTR lpszResourceName, CBitmap* pBitmap, UINT** ppIDs, int* pnCount,
                                         int* pcx, int* pcy, int* pnItems, UINT** ppItems)
{
    if (!TWKBmpMgr::ReadToolBarResource(lpszResourceName, ppIDs, pnCount, pcx, pcy, FALSE))
        return FALSE;
    if (!TWKLoadSysColorBitmap(pBitmap, lpszResourceName)) {
        delete[] *ppIDs;
        *ppIDs = nullptr;
        return FALSE;
    }
    if (pnItems && ppItems)
        return TWKBmpMgr::ReadToolBarResource(lpszResourceName, ppItems, pnItems, nullptr, nullptr, TRUE);
    return TRUE;
}

// ---- configuration mode and the customisation selection

void TWKCustomToolBar::SetConfigMode(BOOL bOn)
{
    if (m_bConfigMode == bOn)
        return;
    ClearSelection(FALSE);
    m_bConfigMode = bOn;
    if (m_hWnd)
        Invalidate(FALSE);
}

void TWKCustomToolBar::SelectButton(int nIndex, BOOL bRedraw)
{
    TWKToolBarManager* pMgr = GetManager();
    if (HoldsSelection() && m_nCurBtn == nIndex)
        return;
    if (pMgr && pMgr->m_pSelectedBar)
        pMgr->m_pSelectedBar->ClearSelection(bRedraw);
    if (pMgr)
        pMgr->m_pSelectedBar = this;
    m_nCurBtn = nIndex;
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    pBtn->SetStyle(pBtn->GetStyle() | TWK_TBBS_SELECTED);
    if (bRedraw) {
        InvalidateButton(nIndex);
        UpdateWindow();
    }
    NotifyManager(TWK_BARNOTIFY_SELCHANGE);
}

void TWKCustomToolBar::SelectButton(TWKStdBtn* pBtn, BOOL bRedraw)
{
    int nIndex = IndexOf(pBtn);
    if (nIndex == -1)
        ClearSelection(bRedraw);
    else
        SelectButton(nIndex, bRedraw);
}

void TWKCustomToolBar::ClearSelection(BOOL bRedraw)
{
    if (!HoldsSelection())
        return;
    GetManager()->m_pSelectedBar = nullptr;
    int nIndex = m_nCurBtn;
    m_nCurBtn = -1;
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return;
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    pBtn->SetStyle(pBtn->GetStyle() & ~TWK_TBBS_SELECTED);
    if (bRedraw) {
        InvalidateButton(nIndex);
        UpdateWindow();
    }
    NotifyManager(TWK_BARNOTIFY_SELCHANGE);
}

void TWKCustomToolBar::NotifyManager(UINT nCode)
{
    if (TWKToolBarManager* pMgr = GetManager())
        pMgr->SendBarNotify((UINT)GetDlgCtrlID(), nCode);
}

// ---- painting

TWKBtnDrawData* TWKCustomToolBar::GetDrawData()
{
    if (m_pDrawData)
        return m_pDrawData;
    if (TWKToolBarManager* pMgr = GetManager())
        return pMgr->GetDrawData();
    m_pDrawData = new TWKBtnDrawData;
    return m_pDrawData;
}

void TWKCustomToolBar::DoPaint(CDC* pDC)
{
    TWKControlBar::DoPaint(pDC);
    if (m_arrButtons.GetSize() == 0)
        return;
    TWKBtnDrawData* pData = GetDrawData();
    if (!pData->BeginPaint(pDC, m_nMaxBtnWidth, this))
        return;
    for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++)
        if (IsVisibleButton(m_arrButtons[i]))
            m_arrButtons[i]->Paint(pDC, *pData);
    pData->EndPaint();
}

void TWKCustomToolBar::DrawBorders(CDC* pDC, CRect& rect)
{
    if (!(m_dwStyle & CBRS_BORDER_ANY))
        return;
    if (m_dwExStyle & CBX_COOLLOOK) {
        COLORREF clr = (m_dwStyle & CBRS_BORDER_3D) ? twkAuxData.clrBtnHilite : twkAuxData.clrBtnShadow;
        COLORREF clrShadow = twkAuxData.clrBtnShadow;
        int cx = rect.Width(), cy = rect.Height();
        if (m_dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(0, 0, 1, cy - 1, clr);
        if (m_dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(0, 0, cx - 1, 1, clr);
        if (m_dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(cx - 1, 1, 1, cy - 2, clrShadow);
        if (m_dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(0, cy - 1, cx - 1, 1, clrShadow);
        if (!m_pDockContext) {
            pDC->FillSolidRect(0, 0, cx, 1, clrShadow);
            pDC->FillSolidRect(0, 1, cx, 1, twkAuxData.clrBtnHilite);
        }
    } else if (!rect.IsRectEmpty()) {
        rect.right--;
        rect.bottom--;
    }
    TWKControlBar::DrawBorders(pDC, rect);
}

int TWKCustomToolBar::AdjustRectForGripper(CRect& rect, BOOL bHorz)
{
    int n = TWKControlBar::AdjustRectForGripper(rect, bHorz);
    if (!(m_dwExStyle & CBX_CLOSEBUTTON))
        return n;
    if (bHorz)
        rect.left += 2;
    else
        rect.top += 2;
    return n + 2;
}

void TWKCustomToolBar::InvalidateButton(int nIndex)
{
    CRect rect;
    m_arrButtons[nIndex]->GetRect(&rect);
    InvalidateRect(&rect, FALSE);
}

// ---- hit testing and tips

int TWKCustomToolBar::HitTest(int x, int y, LPRECT pRect) const
{
    int nCount = GetButtonCount();
    int cyButton = GetButtonHeight();
    for (int i = 0; i < nCount; i++) {
        const TWKStdBtn* pBtn = m_arrButtons[i];
        if (!IsVisibleButton(pBtn))
            continue;
        if (y < pBtn->m_y)
            return -1;
        if (y > pBtn->m_y + cyButton) {
            // Not this row: on to the button after its wrapped one.
            while (i < nCount && !(m_arrButtons[i]->m_dwStyle & TBBS_WRAPPED))
                i++;
            continue;
        }
        for (int j = i; j < nCount; j++) {
            const TWKStdBtn* p = m_arrButtons[j];
            if (IsVisibleButton(p) && x >= p->m_x && x <= p->m_x + p->m_cx) {
                if (p->m_dwStyle & TBBS_SEPARATOR)
                    return -1;
                if (pRect)
                    p->GetRect(pRect);
                return j;
            }
            if (p->m_dwStyle & TBBS_WRAPPED)
                return -1;
        }
        return -1;
    }
    return -1;
}

INT_PTR TWKCustomToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    INT_PTR nHit = TWKControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    int nIndex = HitTest(point.x, point.y, nullptr);
    return nIndex == -1 ? -1 : m_arrButtons[nIndex]->OnToolHitTest(point, pTI);
}

// ---- command UI

void TWKCustomToolCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<TWKCustomToolBar*>(m_pOther);
    DWORD dwStyle = pBar->GetButtonStyle((int)m_nIndex) & ~TBBS_DISABLED;
    pBar->SetButtonStyle((int)m_nIndex, bOn ? dwStyle : (dwStyle | TBBS_DISABLED));
}

void TWKCustomToolCmdUI::SetCheck(int nCheck)
{
    auto* pBar = static_cast<TWKCustomToolBar*>(m_pOther);
    DWORD dwStyle = (pBar->GetButtonStyle((int)m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE)) | TBBS_CHECKBOX;
    if (nCheck == 1)
        dwStyle |= TBBS_CHECKED;
    else if (nCheck == 2)
        dwStyle |= TBBS_INDETERMINATE;
    pBar->SetButtonStyle((int)m_nIndex, dwStyle);
}

void TWKCustomToolBar::UpdateOneButton(CCmdTarget* pTarget, int nIndex, BOOL bDisableIfNoHndler)
{
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    if (pBtn->m_dwStyle & TBBS_SEPARATOR)
        return;
    TWKCustomToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndex = (UINT)nIndex;
    state.m_nIndexMax = (UINT)GetButtonCount();
    state.m_nID = pBtn->m_nID;
    state.DoUpdate(pTarget, (pBtn->m_dwStyle & TWK_TBBS_NOAUTODISABLE) ? FALSE : bDisableIfNoHndler);
}

void TWKCustomToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    for (int i = 0; i < GetButtonCount(); i++)
        UpdateOneButton(pTarget, i, bDisableIfNoHndler);
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void TWKCustomToolBar::UpdateButton(int nIndex)
{
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = (pOwner && pOwner->IsKindOf(RUNTIME_CLASS(CFrameWnd))) ? static_cast<CFrameWnd*>(pOwner)
                                                                              : GetParentFrame();
    if (pTarget)
        UpdateOneButton(pTarget, nIndex, pTarget->m_bAutoMenuEnable);
}

// ---- mouse

void TWKCustomToolBar::SendMessageString(WPARAM wParam)
{
    if (CWnd* pOwner = GetOwner())
        pOwner->SendMessage(WM_SETMESSAGESTRING, wParam);
}

void TWKCustomToolBar::PressButton(int nIndex, CPoint point)
{
    UpdateButton(nIndex);
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    if (!pBtn->LButtonDown(point.x, point.y))
        return;
    m_nCurBtn = nIndex;
    InvalidateButton(nIndex);
    UpdateWindow();
    SetCapture();
    SendMessageString(pBtn->m_nID);
}

void TWKCustomToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    int nIndex = HitTest(point.x, point.y, nullptr);
    BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    if (nIndex == -1 || s_bDropDownActive) {
        TWKControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    TWKToolBarManager* pMgr = GetManager();
    if (!m_bConfigMode && !bAlt && (pBtn->m_dwStyle & TBBS_DISABLED)) {
        TWKControlBar::OnLButtonDown(nFlags, point);
    } else if (m_bConfigMode && pMgr) {
        if (pBtn->CanDrag())
            DragButton(nIndex, point.x, point.y);
    } else if (bAlt && pMgr) {
        if (pBtn->CanDrag()) {
            s_bAltDrag = TRUE;
            BOOL bDone = DragButton(nIndex, point.x, point.y);
            s_bAltDrag = FALSE;
            if (bDone && pMgr->m_pSelectedBar)
                pMgr->m_pSelectedBar->ClearSelection(TRUE);
        }
    } else {
        PressButton(nIndex, point);
    }
}

void TWKCustomToolBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    int nIndex = HitTest(point.x, point.y, nullptr);
    BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    if (nIndex == -1 || m_bConfigMode || bAlt || s_bDropDownActive
        || (m_arrButtons[nIndex]->m_dwStyle & TBBS_DISABLED)) {
        TWKControlBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    PressButton(nIndex, point);
}

void TWKCustomToolBar::OnMouseMove(UINT, CPoint point)
{
    if (!m_bConfigMode && !s_bDropDownActive) {
        if (m_nCurBtn != -1 && m_nCurBtn < GetButtonCount()) {
            TWKStdBtn* pBtn = m_arrButtons[m_nCurBtn];
            DWORD dwOld = pBtn->GetStyle();
            int nIndex = m_nCurBtn;
            if (::GetCapture() == m_hWnd) {
                pBtn->MouseMove(point.x, point.y);
            } else {
                // Someone took the capture: the press is over.
                pBtn->CancelMode();
                m_nCurBtn = -1;
                SendMessageString(AFX_IDS_IDLEMESSAGE);
            }
            if (pBtn->GetStyle() != dwOld) {
                InvalidateButton(nIndex);
                UpdateWindow();
            }
        } else {
            UpdateHotButton(TRUE);
        }
    }
    Default();
}

void TWKCustomToolBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bConfigMode || m_nCurBtn == -1 || m_nCurBtn >= GetButtonCount()) {
        TWKControlBar::OnLButtonUp(nFlags, point);
        return;
    }
    int nIndex = m_nCurBtn;
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    UINT nCmd = 0;
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
        UpdateButton(nIndex);
        nCmd = pBtn->LButtonUp(point.x, point.y);
    }
    SendMessageString(AFX_IDS_IDLEMESSAGE);
    // The command may have changed the bar (a checkbox toggles every bar).
    if (nIndex < GetButtonCount()) {
        UpdateButton(nIndex);
        InvalidateButton(nIndex);
        UpdateWindow();
    }
    m_nCurBtn = -1;
    if (nCmd)
        if (CWnd* pOwner = GetOwner())
            pOwner->PostMessage(WM_COMMAND, nCmd, 0);
}

void TWKCustomToolBar::OnCancelMode()
{
    Default();
    if (m_bMenuMode)
        ExitMenuMode();
    if (m_bConfigMode || s_bAltDrag || m_nCurBtn == -1 || m_nCurBtn >= GetButtonCount())
        return;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    int nIndex = m_nCurBtn;
    m_arrButtons[nIndex]->CancelMode();
    InvalidateButton(nIndex);
    UpdateWindow();
    m_nCurBtn = -1;
}

int TWKCustomToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (m_bConfigMode && !IsFloating())
        return MA_NOACTIVATE;
    return TWKControlBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

// ---- hot tracking

void TWKCustomToolBar::UpdateHotButton(BOOL bUpdateNow)
{
    if (!IsCoolLook() || !::GetActiveWindow() || s_bAltDrag || s_bDropDownActive || !m_hWnd)
        return;
    if (m_nDroppedBtn != -1 && (m_nHotBtn == -1 || m_nHotBtn == m_nDroppedBtn))
        return;
    if (m_nCurBtn != -1)
        return;
    int nCandidate = -1;
    if (m_nDroppedBtn == -1) {
        CPoint pt;
        ::GetCursorPos(&pt);
        if (::WindowFromPoint(pt) == m_hWnd) {
            ScreenToClient(&pt);
            nCandidate = HitTest(pt.x, pt.y, nullptr);
        }
    } else {
        nCandidate = m_nDroppedBtn;
    }
    if (nCandidate != -1 && (m_arrButtons[nCandidate]->m_dwStyle & (TBBS_DISABLED | TBBS_SEPARATOR)))
        nCandidate = -1;
    auto lower = [this] {
        TWKStdBtn* pBtn = m_arrButtons[m_nHotBtn];
        pBtn->SetStyle(pBtn->GetStyle() & ~TWK_TBBS_RAISED);
        InvalidateButton(m_nHotBtn);
    };
    if (nCandidate == -1) {
        if (m_nHotBtn != -1)
            lower();
        m_nHotBtn = -1;
        KillTimer(TWK_TIMER_HOTTRACK);
    } else {
        if (nCandidate == m_nHotBtn)
            return;
        if (m_nHotBtn != -1)
            lower();
        else
            SetTimer(TWK_TIMER_HOTTRACK, 100, nullptr);
        m_nHotBtn = nCandidate;
        TWKStdBtn* pBtn = m_arrButtons[m_nHotBtn];
        pBtn->SetStyle(pBtn->GetStyle() | TWK_TBBS_RAISED);
        InvalidateButton(m_nHotBtn);
    }
    if (bUpdateNow)
        UpdateWindow();
}

void TWKCustomToolBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TWK_TIMER_HOTTRACK)
        UpdateHotButton(TRUE);
    else
        Default();
}

// ---- other messages

void TWKCustomToolBar::OnShowWindow(BOOL bShow, UINT)
{
    NotifyManager(bShow ? TWK_BARNOTIFY_SHOWN : TWK_BARNOTIFY_HIDDEN);
    Default();
}

void TWKCustomToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    if (lpWndPos->flags & SWP_SHOWWINDOW)
        NotifyManager(TWK_BARNOTIFY_SHOWN);
    else if (lpWndPos->flags & SWP_HIDEWINDOW)
        NotifyManager(TWK_BARNOTIFY_HIDDEN);
    // The bar draws its own borders: no frame redraw for them.
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    TWKControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = dwStyle;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE)) {
        CRect rect;
        GetWindowRect(&rect);
        if (rect.Width() != lpWndPos->cx || rect.Height() != lpWndPos->cy)
            Invalidate(TRUE);
    }
}

void TWKCustomToolBar::OnSysColorChange()
{
    Default();
    if (m_pDrawData)
        m_pDrawData->ResetDitherBrush();
    if (TWKToolBarManager* pMgr = GetManager())
        pMgr->GetDrawData()->ResetDitherBrush();
    m_pBmpMgr->ReloadBitmaps(TRUE);
}

void TWKCustomToolBar::OnDestroy()
{
    ClearSelection(FALSE);
    NotifyManager(TWK_BARNOTIFY_DESTROYED);
    if (m_nHotBtn != -1)
        KillTimer(TWK_TIMER_HOTTRACK);
    TWKControlBar::OnDestroy();
}

LRESULT TWKCustomToolBar::OnAddButtons(WPARAM wParam, LPARAM lParam)
{
    int nCount = (int)wParam;
    auto* pButtons = reinterpret_cast<const TBBUTTON*>(lParam);
    for (int i = 0; i < nCount && pButtons; i++) {
        int nIndex = GetButtonCount();
        UINT nID = (UINT)pButtons[i].idCommand;
        InsertButton(nIndex, nID, nID == 0, i != nCount - 1);
        TWKStdBtn* pBtn = m_arrButtons[nIndex];
        pBtn->SetStyle(pBtn->GetStyle() | ((DWORD)pButtons[i].fsState << 16) | pButtons[i].fsStyle);
    }
    return TRUE;
}

LRESULT TWKCustomToolBar::OnDeleteButton(WPARAM wParam, LPARAM)
{
    RemoveButton((int)wParam, FALSE);
    return TRUE;
}

void TWKCustomToolBar::DelayShow(BOOL bShow)
{
    TWKToolBarManager* pMgr = GetManager();
    if (pMgr && pMgr->InConfigMode() && IsFloating() && !bShow && !(m_nStateFlags & delayHide)) {
        // Hidden at once by the posted message, not at the next idle layout.
        m_nStateFlags |= delayHide;
        PostMessage(WM_NODELAYHIDE);
        return;
    }
    TWKControlBar::DelayShow(bShow);
}

LRESULT TWKCustomToolBar::OnNoDelayHide(WPARAM, LPARAM)
{
    if (m_bConfigMode && IsFloating()) {
        if (CFrameWnd* pFrame = GetDockingFrame())
            pFrame->ShowControlBar(this, FALSE, FALSE);
        m_nStateFlags &= ~delayHide;
    }
    return 0;
}

void TWKCustomToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    TWKControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
    for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++)
        m_arrButtons[i]->OnBarStyleChange(dwNewStyle);
}

void TWKCustomToolBar::SizeToParent()
{
    CWnd* pParent = GetParent();
    if (m_pDockContext || !pParent)
        return;
    CRect rect, rectParent;
    GetWindowRect(&rect);
    pParent->GetWindowRect(&rectParent);
    if (!(m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT)))
        SetWindowPos(nullptr, 0, 0, rectParent.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(nullptr, 0, 0, rect.Width(), rectParent.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TWKCustomToolBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    SizeToParent();
    return CControlBar::OnSizeParent(wParam, lParam);
}

void TWKCustomToolBar::SetButtonsMode(BOOL bVertical, const CPtrArray& arrAll)
{
    if (m_bVertical == bVertical)
        return;
    m_bVertical = bVertical;
    for (INT_PTR i = 0; i < arrAll.GetSize(); i++)
        static_cast<TWKStdBtn*>(arrAll[i])->SetMode(bVertical);
}

// ---- menu-button navigation (the menu bar's)

LRESULT TWKCustomToolBar::NotifyOwner(int nCode, UINT nCmd)
{
    TWKTBNotify block = {};
    block.hdr.hwndFrom = m_hWnd;
    block.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    block.hdr.code = (UINT)nCode;
    block.iItem = (int)nCmd;
    block.nIndex = -1;
    CWnd* pOwner = GetOwner();
    return pOwner ? pOwner->SendMessage(WM_NOTIFY, block.hdr.idFrom, (LPARAM)&block) : 0;
}

LRESULT TWKCustomToolBar::DropMenu(TWKStdBtn* pBtn, int a, int b)
{
    m_nDroppedBtn = IndexOf(pBtn);
    UpdateHotButton(FALSE);
    return pBtn->SendNotify(TWK_TBN_DROPMENU, a, b);
}

void TWKCustomToolBar::PressMenuButton(int nIndex)
{
    if (m_bMenuMode)
        ExitMenuMode();
    if (nIndex < 0 || nIndex >= GetButtonCount() || !IsMenuButton(m_arrButtons[nIndex]))
        return;
    if (m_nDroppedBtn != -1 && m_nDroppedBtn < GetButtonCount())
        m_arrButtons[m_nDroppedBtn]->CancelMode();
    m_nDroppedBtn = -1;
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    pBtn->LButtonDown(pBtn->m_x, pBtn->m_y);
}

void TWKCustomToolBar::SetMenuSelection(int nIndex)
{
    if (m_nDroppedBtn != -1 && m_nDroppedBtn < GetButtonCount()) {
        TWKStdBtn* pOld = m_arrButtons[m_nDroppedBtn];
        pOld->SetStyle(pOld->GetStyle() & ~TWK_TBBS_RAISED);
        InvalidateButton(m_nDroppedBtn);
    }
    m_nDroppedBtn = -1;
    if (nIndex < 0 || nIndex >= GetButtonCount())
        return;
    m_bMenuMode = TRUE;
    m_nDroppedBtn = nIndex;
    TWKStdBtn* pBtn = m_arrButtons[nIndex];
    pBtn->SetStyle(pBtn->GetStyle() | TWK_TBBS_RAISED);
    InvalidateButton(nIndex);
    NotifyOwner(TWK_TBN_MENUSELECT, pBtn->m_nID);
    SendMessageString(0);
}

void TWKCustomToolBar::SetMenuSelectionAt(POINT* pt)
{
    int nIndex = HitTest(pt->x, pt->y, nullptr);
    if (nIndex != -1)
        SetMenuSelection(nIndex);
}

void TWKCustomToolBar::ExitMenuMode()
{
    m_bMenuMode = FALSE;
    NotifyOwner(TWK_TBN_MENUEXIT, 0);
    if (m_nDroppedBtn != -1 && m_nDroppedBtn < GetButtonCount()) {
        TWKStdBtn* pBtn = m_arrButtons[m_nDroppedBtn];
        pBtn->SetStyle(pBtn->GetStyle() & ~TWK_TBBS_RAISED);
        InvalidateButton(m_nDroppedBtn);
    }
    m_nDroppedBtn = -1;
    SendMessageString(AFX_IDS_IDLEMESSAGE);
}

int TWKCustomToolBar::FirstMenuButton(BOOL bForward, int nType) const
{
    int nCount = GetButtonCount();
    for (int k = 0; k < nCount; k++) {
        const TWKStdBtn* pBtn = m_arrButtons[bForward ? k : nCount - 1 - k];
        if (IsVisibleButton(pBtn) && (nType == -1 ? IsMenuButton(pBtn) : pBtn->m_nType == nType))
            return bForward ? k : nCount - 1 - k;
    }
    return -1;
}

int TWKCustomToolBar::GetFirstMenuButton() const
{
    return FirstMenuButton(TRUE, -1);
}

int TWKCustomToolBar::GetLastMenuButton() const
{
    return FirstMenuButton(FALSE, -1);
}

int TWKCustomToolBar::GetFirstTBMenuButton() const
{
    return FirstMenuButton(TRUE, TWK_BTN_TBMENU);
}

int TWKCustomToolBar::GetNextMenuButton(BOOL bForward) const
{
    if (m_nDroppedBtn == -1)
        return bForward ? GetFirstMenuButton() : GetLastMenuButton();
    int nStep = bForward ? 1 : -1;
    for (int i = m_nDroppedBtn + nStep; i >= 0 && i < GetButtonCount(); i += nStep)
        if (IsVisibleButton(m_arrButtons[i]) && IsMenuButton(m_arrButtons[i]))
            return i;
    return -1;
}

BOOL TWKCustomToolBar::OnMenuMouseMsg(MSG* pMsg)
{
    if (m_nDroppedBtn == -1 || m_nDroppedBtn >= GetButtonCount())
        return FALSE;
    CPoint pt((short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam));
    ScreenToClient(&pt);
    int nIndex = HitTest(pt.x, pt.y, nullptr);
    TWKStdBtn* pDropped = m_arrButtons[m_nDroppedBtn];
    if (pMsg->message == WM_MOUSEMOVE) {
        if (nIndex == -1 || nIndex == m_nDroppedBtn)
            return TRUE;
        if (!IsMenuButton(m_arrButtons[nIndex]))
            pDropped->SendNotify(TWK_TBN_CLOSEMENU, 0, 0);
        else
            PressMenuButton(nIndex);
        return TRUE;
    }
    if (pMsg->message == WM_LBUTTONDOWN && nIndex == m_nDroppedBtn) {
        pDropped->SendNotify(TWK_TBN_CLOSEMENU, 0, 0);
        return TRUE;
    }
    return FALSE;
}

void TWKCustomToolBar::CancelMenuButton()
{
    if (m_nDroppedBtn != -1 && m_nDroppedBtn < GetButtonCount()) {
        m_arrButtons[m_nDroppedBtn]->CancelMode();
        m_nDroppedBtn = -1;
    }
    UpdateHotButton(TRUE);
}
