#include "framework/controls/tabs/TWKTabWnd.h"
#include <algorithm>

namespace {
// Set while a page added first is brought up: adding a tab moves no focus.
thread_local int t_nQuietActivations = 0;
// The splitter cursor the tab windows share with the dock bars' splitters.
const UINT kSplitterCursorId = 30980;
// The horizontal bar keeps at least this much of the inside rectangle.
const int kMinHScrollRoom = 60;
}

// ---------------------------------------------------------------------------
// TWKTabWndBase

IMPLEMENT_DYNAMIC(TWKTabWndBase, CWnd)

BEGIN_MESSAGE_MAP(TWKTabWndBase, CWnd)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
    ON_MESSAGE(TWKTCN_ACTIVATE, OnTabActivate)
    ON_MESSAGE(TWKTCN_ACTIVETABCLICKED, OnActiveTabClicked)
END_MESSAGE_MAP()

TWKTabWndBase::TWKTabWndBase()
    : m_pTabCtrl(NULL), m_pActiveWnd(NULL), m_pWndCreating(NULL), m_pNotifyWnd(NULL)
{
}

TWKTabWndBase::~TWKTabWndBase()
{
    // A window still alive here gets its WM_DESTROY through this class's map.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    delete m_pTabCtrl;
}

BOOL TWKTabWndBase::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT&, CWnd* pParentWnd, UINT nID,
                           CCreateContext*)
{
    return Create(pParentWnd, dwStyle, nID);
}

BOOL TWKTabWndBase::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_pNotifyWnd = pParentWnd;
    if (!m_hWnd)
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
        if (!CreateEx(0, lpszClass, NULL, dwStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID))
            return FALSE;
    }
    try
    {
        if (!CreateTabCtrl(dwStyle, TWK_IDW_TABCTRL))
            AfxThrowResourceException();
    }
    catch (CException* e)
    {
        e->Delete();
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL TWKTabWndBase::CreateScrollBar(DWORD dwStyle, UINT nID)
{
    HWND hBar = ::CreateWindowExA(0, "SCROLLBAR", NULL, dwStyle | WS_CHILD, 0, 0, 1, 1, m_hWnd,
                                  (HMENU)(UINT_PTR)nID, AfxGetInstanceHandle(), NULL);
    return hBar != NULL;
}

BOOL TWKTabWndBase::CreateTabCtrl(DWORD, UINT) { return FALSE; }
void TWKTabWndBase::SetScrollStyle(int, DWORD) {}
void TWKTabWndBase::RecalcLayout() {}

CWnd* TWKTabWndBase::CreatePage(CRuntimeClass* pViewClass, CCreateContext* pContext, UINT nID)
{
    CObject* pObject = NULL;
    try
    {
        pObject = pViewClass ? pViewClass->CreateObject() : NULL;
    }
    catch (CException* e)
    {
        e->Delete();
        return NULL;
    }
    if (!pObject)
        return NULL;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd)))
    {
        delete pObject;
        return NULL;
    }
    if (nID == (UINT)-1)
        nID = TWK_IDW_FIRSTPAGE + GetTabCount();
    CWnd* pWnd = static_cast<CWnd*>(pObject);
    m_pWndCreating = pWnd;
    // A window that fails here may already have deleted itself (views do): it is not touched again.
    BOOL bCreated = pWnd->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext);
    m_pWndCreating = NULL;
    return bCreated ? pWnd : NULL;
}

TWKTab* TWKTabWndBase::InsertTab(CRuntimeClass* pViewClass, int nIndex, LPCTSTR lpszLabel,
                                 CCreateContext* pContext, UINT nID)
{
    if (!m_pTabCtrl || nIndex < 0 || nIndex > GetTabCount())
        return NULL;
    CWnd* pWnd = CreatePage(pViewClass, pContext, nID);
    return pWnd ? InsertTab(pWnd, nIndex, lpszLabel) : NULL;
}

TWKTab* TWKTabWndBase::InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel)
{
    if (!m_pTabCtrl)
        return NULL;
    TWKTab* pTab = m_pTabCtrl->InsertTab(nIndex, lpszLabel, pWnd, 0, NULL);
    if (pTab)
    {
        SetScrollStyle(nIndex, 0);
        ShowNewPage(pWnd, nIndex);
    }
    return pTab;
}

TWKTab* TWKTabWndBase::AddTab(CRuntimeClass* pViewClass, LPCTSTR lpszLabel, CCreateContext* pContext, UINT nID)
{
    if (!m_pTabCtrl)
        return NULL;
    CWnd* pWnd = CreatePage(pViewClass, pContext, nID);
    return pWnd ? AddTab(pWnd, lpszLabel) : NULL;
}

TWKTab* TWKTabWndBase::AddTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
    if (!m_pTabCtrl)
        return NULL;
    TWKTab* pTab = m_pTabCtrl->AddTab(lpszLabel, pWnd, 0, NULL);
    if (pTab)
    {
        SetScrollStyle(GetTabCount() - 1, 0);
        ShowNewPage(pWnd, GetTabCount() - 1);
    }
    return pTab;
}

void TWKTabWndBase::ShowNewPage(CWnd* pWnd, int nIndex)
{
    if (!pWnd || !::IsWindow(pWnd->m_hWnd) || pWnd == m_pActiveWnd)
        return;
    // A page made visible would paint over the active one: it waits hidden for its tab.
    if (m_pActiveWnd)
    {
        pWnd->ShowWindow(SW_HIDE);
        return;
    }
    // The first page comes up as if its tab were clicked, without taking the focus.
    t_nQuietActivations++;
    ActivateTab(pWnd, nIndex);
    t_nQuietActivations--;
}

void TWKTabWndBase::SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy)
{
    if (m_pTabCtrl)
        m_pTabCtrl->SetTabIcon(nIndex, lpszResourceName, cx, cy);
}

void TWKTabWndBase::SetTabIcon(int nIndex, UINT nIDIcon, int cx, int cy)
{
    if (m_pTabCtrl)
        m_pTabCtrl->SetTabIcon(nIndex, nIDIcon, cx, cy);
}

void TWKTabWndBase::SetTabIcon(int nIndex, HICON hIcon)
{
    if (m_pTabCtrl)
        m_pTabCtrl->SetTabIcon(nIndex, hIcon);
}

CWnd* TWKTabWndBase::GetPage(int nIndex) const
{
    TWKTab* pTab = m_pTabCtrl ? m_pTabCtrl->GetTab(nIndex) : NULL;
    return pTab ? static_cast<CWnd*>(pTab->m_pClient) : NULL;
}

void TWKTabWndBase::DeleteTab(int nIndex)
{
    if (!m_pTabCtrl || !m_pTabCtrl->GetTab(nIndex))
        return;
    if (GetPage(nIndex) == m_pActiveWnd)
        m_pActiveWnd = NULL;
    m_pTabCtrl->DeleteTab(nIndex);
}

void TWKTabWndBase::DeleteTab(CWnd* pWnd)
{
    int nIndex;
    if (FindTab(pWnd, nIndex))
        DeleteTab(nIndex);
}

void TWKTabWndBase::RenameTab(int nIndex, LPCTSTR lpszLabel)
{
    if (m_pTabCtrl)
        m_pTabCtrl->RenameTab(nIndex, lpszLabel);
}

void TWKTabWndBase::RenameTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
    int nIndex;
    if (FindTab(pWnd, nIndex))
        RenameTab(nIndex, lpszLabel);
}

void TWKTabWndBase::ActivateTab(int nIndex)
{
    CWnd* pWnd = GetPage(nIndex);
    if (pWnd)
        ActivateTab(pWnd, nIndex);
}

void TWKTabWndBase::ActivateTab(CWnd* pWnd)
{
    int nIndex;
    if (FindTab(pWnd, nIndex))
        ActivateTab(pWnd, nIndex);
}

void TWKTabWndBase::ActivateTab(CWnd* pWnd, int nIndex)
{
    if (!pWnd || !m_pTabCtrl || !m_pTabCtrl->GetTab(nIndex))
        return;
    CWnd* pPrevious = m_pActiveWnd;
    m_pActiveWnd = pWnd;
    int nActive;
    // The control answers with TWKTCN_ACTIVATE, which runs this once more before the call returns.
    if (!m_pTabCtrl->GetActiveTab(nActive) || nActive != nIndex)
        m_pTabCtrl->ActivateTab(nIndex);
    if (pPrevious && pPrevious != pWnd && ::IsWindow(pPrevious->m_hWnd))
        pPrevious->ShowWindow(SW_HIDE);
    pWnd->ShowWindow(SW_SHOW);
    if (t_nQuietActivations == 0)
        FocusPage(pWnd);
    if (t_nQuietActivations == 0 && pWnd->IsKindOf(RUNTIME_CLASS(CView)))
    {
        CWnd* pTop = GetTopLevelFrame();
        if (pTop)
            pTop->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
    RecalcLayout();
    Invalidate(TRUE);
}

void TWKTabWndBase::FocusPage(CWnd* pWnd)
{
    if (pWnd->IsKindOf(RUNTIME_CLASS(CView)))
    {
        CFrameWnd* pFrame = pWnd->GetParentFrame();
        if (pFrame)
            pFrame->SetActiveView(static_cast<CView*>(pWnd), TRUE);
        return;
    }
    SetFocus();
    pWnd->SetFocus();
    pWnd->SetActiveWindow();
}

void TWKTabWndBase::ClearSelection()
{
    if (m_pTabCtrl)
        m_pTabCtrl->ClearSelection();
}

void TWKTabWndBase::ScrollToTab(int nIndex)
{
    if (m_pTabCtrl)
        m_pTabCtrl->ScrollToTab(nIndex);
}

void TWKTabWndBase::ScrollToTab(CWnd* pWnd)
{
    int nIndex;
    if (FindTab(pWnd, nIndex))
        ScrollToTab(nIndex);
}

void TWKTabWndBase::FocusActiveTabWnd()
{
    int nIndex;
    if (!m_pTabCtrl || !m_pTabCtrl->GetActiveTab(nIndex))
        return;
    CWnd* pWnd = GetPage(nIndex);
    if (pWnd)
        FocusPage(pWnd);
}

CWnd* TWKTabWndBase::SetNotifyWnd(CWnd* pWnd)
{
    m_pNotifyWnd = pWnd ? pWnd : GetParent();
    return m_pNotifyWnd;
}

CWnd* TWKTabWndBase::GetNotifyWnd() { return m_pNotifyWnd; }

void TWKTabWndBase::GetInsideRect(LPRECT lpRect) { GetClientRect(lpRect); }

int TWKTabWndBase::GetTabCount() const { return m_pTabCtrl ? m_pTabCtrl->GetTabCount() : 0; }

BOOL TWKTabWndBase::GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CWnd*& pWnd, void*& pExtra) const
{
    CObject* pClient = NULL;
    DWORD dwUserData = 0;
    if (!m_pTabCtrl || !m_pTabCtrl->GetTabInfo(nIndex, lpszLabel, bSelected, pClient, dwUserData, pExtra))
        return FALSE;
    pWnd = static_cast<CWnd*>(pClient);
    return TRUE;
}

BOOL TWKTabWndBase::FindTab(const CWnd* pWnd, int& nIndex) const
{
    return pWnd && m_pTabCtrl && m_pTabCtrl->FindTab(pWnd, nIndex);
}

BOOL TWKTabWndBase::GetActiveTabWnd(CWnd*& pWnd) const
{
    int nIndex;
    if (!m_pTabCtrl || !m_pTabCtrl->GetActiveTab(nIndex) || !GetPage(nIndex))
        return FALSE;
    pWnd = GetPage(nIndex);
    return TRUE;
}

BOOL TWKTabWndBase::GetActiveTabIndex(int& nIndex) const
{
    return m_pTabCtrl && m_pTabCtrl->GetActiveTab(nIndex);
}

void TWKTabWndBase::DeferMove(HDWP& hdwp, CWnd* pWnd, const CRect& rc, UINT nFlags)
{
    if (!hdwp || !pWnd || !pWnd->m_hWnd)
        return;
    CRect now;
    pWnd->GetWindowRect(&now);
    ::MapWindowPoints(NULL, ::GetParent(pWnd->m_hWnd), reinterpret_cast<LPPOINT>(&now), 2);
    if (now == rc)
        return;
    hdwp = ::DeferWindowPos(hdwp, pWnd->m_hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                            nFlags | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void TWKTabWndBase::InvalidateControlPart(const RECT& rcPaint)
{
    if (!m_pTabCtrl || !m_pTabCtrl->m_hWnd)
        return;
    CRect rcCtrl, rcMeet;
    m_pTabCtrl->GetWindowRect(&rcCtrl);
    ScreenToClient(&rcCtrl);
    if (!rcMeet.IntersectRect(&rcCtrl, &rcPaint))
        return;
    rcMeet.OffsetRect(-rcCtrl.left, -rcCtrl.top);
    m_pTabCtrl->RedrawWindow(&rcMeet, NULL, RDW_INVALIDATE);
}

LRESULT TWKTabWndBase::ForwardActivation(WPARAM wParam, LPARAM lParam)
{
    if (lParam)
        reinterpret_cast<TWKTabActivateInfo*>(lParam)->nCtrlId = GetDlgCtrlID();
    HWND hNotify = m_pNotifyWnd->GetSafeHwnd();
    return ::IsWindow(hNotify) ? ::SendMessageA(hNotify, TWKTCN_ACTIVATE, wParam, lParam) : 0;
}

void TWKTabWndBase::OnDestroy()
{
    if (m_pTabCtrl)
    {
        if (m_pTabCtrl->m_hWnd)
            m_pTabCtrl->DestroyWindow();
        delete m_pTabCtrl;
        m_pTabCtrl = NULL;
    }
    m_pActiveWnd = NULL;
    CWnd::OnDestroy();
}

LRESULT TWKTabWndBase::OnChildActivate(WPARAM wParam, LPARAM lParam)
{
    FocusActiveTabWnd();
    return DefWindowProc(WM_CHILDACTIVATE, wParam, lParam);
}

LRESULT TWKTabWndBase::OnTabActivate(WPARAM wParam, LPARAM)
{
    int nIndex = (int)wParam;
    CWnd* pWnd = GetPage(nIndex);
    if (pWnd)
        ActivateTab(pWnd, nIndex);
    return 0;
}

LRESULT TWKTabWndBase::OnActiveTabClicked(WPARAM, LPARAM)
{
    FocusActiveTabWnd();
    return 0;
}

// ---------------------------------------------------------------------------
// TWKTabWnd

IMPLEMENT_DYNCREATE(TWKTabWnd, TWKTabWndBase)
IMPLEMENT_DYNCREATE(TWK2DTabWnd, TWKTabWnd)

BEGIN_MESSAGE_MAP(TWKTabWnd, TWKTabWndBase)
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_MESSAGE(TWKTCN_ACTIVATE, OnTabActivate)
END_MESSAGE_MAP()

TWKTabWnd::TWKTabWnd()
    : m_xSplitter(0), m_xSplitterWanted(0), m_cyTabStrip(0), m_cxVScroll(0), m_cyHScroll(0), m_cxSplitter(5), m_nDragOffset(0),
      m_bTracking(FALSE), m_bOverSplitter(FALSE), m_bFirstSize(TRUE), m_hSplitterCursor(NULL),
      m_hArrowCursor(NULL), m_nTabStyle(0)
{
}

TWKTabWnd::~TWKTabWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    for (INT_PTR i = 0; i < m_arrHScrollInfo.GetSize(); i++)
    {
        delete static_cast<SCROLLINFO*>(m_arrHScrollInfo[i]);
        delete static_cast<SCROLLINFO*>(m_arrVScrollInfo[i]);
    }
}

BOOL TWKTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_nTabStyle = (dwStyle & 0x2) ? 2 : (dwStyle & 0x1) ? 1 : 0;
    if (!TWKTabWndBase::Create(pParentWnd, dwStyle & ~0x3u, nID))
        return FALSE;
    m_hSplitterCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kSplitterCursorId));
    if (!m_hSplitterCursor)
        m_hSplitterCursor = ::LoadCursor(NULL, IDC_SIZEWE);
    m_hArrowCursor = ::LoadCursor(NULL, IDC_ARROW);
    if (!CreateScrollBar(SBS_HORZ, TWK_IDW_HSCROLL) || !CreateScrollBar(SBS_VERT, TWK_IDW_VSCROLL))
        AfxThrowResourceException();
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyHScroll = m_cyTabStrip = ::GetSystemMetrics(SM_CYHSCROLL);
    return TRUE;
}

BOOL TWKTabWnd::CreateTabCtrl(DWORD, UINT nID)
{
    TWKTabControl* pCtrl = new TWKTabControl;
    m_pTabCtrl = pCtrl;
    return pCtrl->Create(m_nTabStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID);
}

static SCROLLINFO* NewScrollRecord()
{
    SCROLLINFO* pInfo = new SCROLLINFO();
    pInfo->cbSize = sizeof(SCROLLINFO);
    pInfo->fMask = SIF_ALL;
    return pInfo;
}

TWKTab* TWKTabWnd::InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel)
{
    if (nIndex < 0 || nIndex > m_arrScrollStyle.GetSize() || nIndex > GetTabCount())
        return NULL;
    m_arrScrollStyle.InsertAt(nIndex, (DWORD)0);
    m_arrHScrollInfo.InsertAt(nIndex, NewScrollRecord());
    m_arrVScrollInfo.InsertAt(nIndex, NewScrollRecord());
    TWKTab* pTab = TWKTabWndBase::InsertTab(pWnd, nIndex, lpszLabel);
    if (!pTab)
    {
        delete static_cast<SCROLLINFO*>(m_arrHScrollInfo[nIndex]);
        delete static_cast<SCROLLINFO*>(m_arrVScrollInfo[nIndex]);
        m_arrScrollStyle.RemoveAt(nIndex);
        m_arrHScrollInfo.RemoveAt(nIndex);
        m_arrVScrollInfo.RemoveAt(nIndex);
    }
    return pTab;
}

void TWKTabWnd::SetScrollStyle(int nIndex, DWORD dwStyle)
{
    if (nIndex < 0)
        return;
    if (nIndex >= m_arrScrollStyle.GetSize())
    {
        m_arrScrollStyle.Add(dwStyle);
        m_arrHScrollInfo.Add(NewScrollRecord());
        m_arrVScrollInfo.Add(NewScrollRecord());
        return;
    }
    m_arrScrollStyle[nIndex] = dwStyle;
    // The first page is active as soon as it is added: its bars follow the style set afterwards.
    int nActive;
    if (m_pActiveWnd && FindTab(m_pActiveWnd, nActive) && nActive == nIndex)
    {
        ShowPageBars(nIndex);
        RecalcLayout();
    }
}

void TWKTabWnd::ShowPageBars(int nIndex)
{
    static const DWORD kBarStyles[2] = { WS_HSCROLL, WS_VSCROLL };
    CPtrArray* const arrRecords[2] = { &m_arrHScrollInfo, &m_arrVScrollInfo };
    const UINT nBarIds[2] = { TWK_IDW_HSCROLL, TWK_IDW_VSCROLL };
    BOOL bPage = nIndex >= 0 && nIndex < m_arrScrollStyle.GetSize();
    for (int bar = 0; bar < 2; bar++)
    {
        HWND hBar = ::GetDlgItem(m_hWnd, nBarIds[bar]);
        if (!hBar)
            continue;
        if (bPage && (m_arrScrollStyle[nIndex] & kBarStyles[bar]))
        {
            ::SetScrollInfo(hBar, SB_CTL, static_cast<SCROLLINFO*>(arrRecords[bar]->GetAt(nIndex)), TRUE);
            ::ShowWindow(hBar, SW_SHOW);
        }
        else
            ::ShowWindow(hBar, SW_HIDE);
    }
}

void TWKTabWnd::DeleteTab(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetTabCount())
        return;
    if (nIndex < m_arrScrollStyle.GetSize())
    {
        delete static_cast<SCROLLINFO*>(m_arrHScrollInfo[nIndex]);
        delete static_cast<SCROLLINFO*>(m_arrVScrollInfo[nIndex]);
        m_arrScrollStyle.RemoveAt(nIndex);
        m_arrHScrollInfo.RemoveAt(nIndex);
        m_arrVScrollInfo.RemoveAt(nIndex);
    }
    TWKTabWndBase::DeleteTab(nIndex);
}

DWORD TWKTabWnd::PageScrollStyle(CWnd* pWnd) const
{
    int nIndex;
    if (!FindTab(pWnd, nIndex) || nIndex >= m_arrScrollStyle.GetSize())
        return 0;
    return m_arrScrollStyle[nIndex];
}

CWnd* TWKTabWnd::GetScrollBar(int nBar, CWnd* pWnd)
{
    if (!pWnd)
        pWnd = m_pActiveWnd;
    DWORD dwStyle = PageScrollStyle(pWnd);
    if (nBar == 0 && (dwStyle & WS_HSCROLL))
        return GetDlgItem(TWK_IDW_HSCROLL);
    if (nBar == 1 && (dwStyle & WS_VSCROLL))
        return GetDlgItem(TWK_IDW_VSCROLL);
    return NULL;
}

void TWKTabWnd::ActivateTab(CWnd* pWnd, int nIndex)
{
    if (pWnd != m_pActiveWnd && GetTabCount() > 0)
    {
        static const DWORD kBarStyles[2] = { WS_HSCROLL, WS_VSCROLL };
        CPtrArray* const arrRecords[2] = { &m_arrHScrollInfo, &m_arrVScrollInfo };
        const UINT nBarIds[2] = { TWK_IDW_HSCROLL, TWK_IDW_VSCROLL };
        int nOld, nNew;
        BOOL bOld = FindTab(m_pActiveWnd, nOld) && nOld < m_arrScrollStyle.GetSize();
        BOOL bNew = FindTab(pWnd, nNew) && nNew < m_arrScrollStyle.GetSize();
        for (int bar = 0; bar < 2; bar++)
        {
            HWND hBar = ::GetDlgItem(m_hWnd, nBarIds[bar]);
            if (hBar && bOld && (m_arrScrollStyle[nOld] & kBarStyles[bar]))
                ::GetScrollInfo(hBar, SB_CTL, static_cast<SCROLLINFO*>(arrRecords[bar]->GetAt(nOld)));
        }
        if (pWnd)
            ShowPageBars(bNew ? nNew : -1);
    }
    TWKTabWndBase::ActivateTab(pWnd, nIndex);
}

void TWKTabWnd::GetInsideRect(LPRECT lpRect)
{
    GetClientRect(lpRect);
    lpRect->bottom -= m_cyTabStrip;
    if (ActiveUses(WS_VSCROLL))
        lpRect->right -= m_cxVScroll;
}

void TWKTabWnd::GetSplitterRect(LPRECT lpRect)
{
    CRect inside;
    GetInsideRect(&inside);
    ::SetRect(lpRect, inside.left + m_xSplitter, inside.bottom, inside.left + m_xSplitter + m_cxSplitter,
              inside.bottom + m_cyTabStrip);
}

void TWKTabWnd::DeferMoveScrollBar(HDWP& hdwp, CWnd* pBar, const CRect& rc)
{
    if (!pBar)
        return;
    if (rc.Width() < 2 || rc.Height() < 2)
        pBar->ModifyStyle(0, WS_BORDER);
    else
        pBar->ModifyStyle(WS_BORDER, 0);
    DeferMove(hdwp, pBar, rc);
}

void TWKTabWnd::RecalcLayout()
{
    if (!m_hWnd || !m_pTabCtrl || !m_pTabCtrl->m_hWnd)
        return;
    CRect inside;
    GetInsideRect(&inside);
    HDWP hdwp = ::BeginDeferWindowPos(m_bTracking ? 2 : 4);
    int cxStrip = inside.Width();
    if (ActiveUses(WS_HSCROLL))
    {
        // Kept off the right end first, so that a window too narrow for both still gets 0.
        if (m_xSplitter >= inside.right - kMinHScrollRoom)
            m_xSplitter = inside.right - kMinHScrollRoom;
        if (m_xSplitter < 1)
            m_xSplitter = 0;
        CRect split;
        GetSplitterRect(&split);
        DeferMoveScrollBar(hdwp, GetDlgItem(TWK_IDW_HSCROLL),
                           CRect(split.right, inside.bottom, inside.right + 1, inside.bottom + m_cyHScroll));
        cxStrip = m_xSplitter;
    }
    DeferMove(hdwp, m_pTabCtrl, CRect(inside.left, inside.bottom, inside.left + cxStrip, inside.bottom + m_cyTabStrip),
              SWP_NOREDRAW);
    if (!m_bTracking)
    {
        if (ActiveUses(WS_VSCROLL))
            DeferMoveScrollBar(hdwp, GetDlgItem(TWK_IDW_VSCROLL),
                               CRect(inside.right, inside.top, inside.right + m_cxVScroll, inside.bottom));
        DeferMove(hdwp, m_pActiveWnd, inside);
    }
    if (hdwp)
        ::EndDeferWindowPos(hdwp);
}

void TWKTabWnd::SetTabFont(CFont* pFont, int nState, BOOL bRedraw)
{
    TWKTabControl* pCtrl = static_cast<TWKTabControl*>(m_pTabCtrl);
    if (pCtrl)
        pCtrl->SetTabFont(pFont, nState, bRedraw);
}

void TWKTabWnd::SetSelectedTabFont(CFont* pFont, BOOL bRedraw) { SetTabFont(pFont, 1, bRedraw); }
void TWKTabWnd::SetUnselectedTabFont(CFont* pFont, BOOL bRedraw) { SetTabFont(pFont, 0, bRedraw); }
void TWKTabWnd::SetActiveTabFont(CFont* pFont, BOOL bRedraw) { SetTabFont(pFont, 2, bRedraw); }

void TWKTabWnd::OnSize(UINT nType, int cx, int cy)
{
    if (nType == SIZE_MINIMIZED || cx <= 0 || cy <= 0)
    {
        CWnd::OnSize(nType, cx, cy);
        return;
    }
    BOOL bHScroll = ActiveUses(WS_HSCROLL);
    if (bHScroll)
    {
        int nLimit = cx - kMinHScrollRoom;
        if (m_bFirstSize)
        {
            m_xSplitterWanted = std::max(nLimit, 0);
            m_bFirstSize = FALSE;
        }
        m_xSplitter = std::max(std::min(m_xSplitterWanted, nLimit), 0);
    }
    else if (m_bFirstSize)
    {
        CRect inside;
        GetInsideRect(&inside);
        m_xSplitter = m_xSplitterWanted = inside.Width();
        m_bFirstSize = FALSE;
    }
    RecalcLayout();
    if (m_pTabCtrl)
        m_pTabCtrl->Invalidate(TRUE);
    if (bHScroll)
    {
        CRect split;
        GetSplitterRect(&split);
        InvalidateRect(&split, TRUE);
    }
    CWnd::OnSize(nType, cx, cy);
}

void TWKTabWnd::OnPaint()
{
    CPaintDC dc(this);
    InvalidateControlPart(dc.m_ps.rcPaint);
    if (!ActiveUses(WS_HSCROLL))
        return;
    CRect split;
    GetSplitterRect(&split);
    const COLORREF clrLines[5] = { RGB(0, 0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNFACE),
                                   ::GetSysColor(COLOR_BTNSHADOW), RGB(0, 0, 0) };
    for (int i = 0; i < 5; i++)
        dc.FillSolidRect(split.left + i, split.top, 1, split.Height(), clrLines[i]);
}

BOOL TWKTabWnd::OnEraseBkgnd(CDC* pDC)
{
    if (!m_pActiveWnd)
        return FALSE;
    if (!ActiveUses(WS_HSCROLL | WS_VSCROLL))
        return TRUE;
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(client.right - m_cxVScroll, client.top, m_cxVScroll, client.Height(),
                       ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

BOOL TWKTabWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT && m_bOverSplitter)
        ::SetCursor(m_hSplitterCursor);
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void TWKTabWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (ActiveUses(WS_HSCROLL))
    {
        CRect split;
        GetSplitterRect(&split);
        m_bOverSplitter = split.PtInRect(point);
        if (m_bOverSplitter)
        {
            SetCapture();
            m_bTracking = TRUE;
            m_nDragOffset = point.x - split.left;
            return;
        }
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void TWKTabWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTracking && point.x != m_xSplitter)
    {
        int xOld = m_xSplitter;
        m_xSplitter = point.x - m_nDragOffset - 1;
        RecalcLayout();
        if (m_pTabCtrl)
        {
            CRect rc(std::min(xOld, m_xSplitter), 0, std::max(xOld, m_xSplitter) + m_cxSplitter, m_cyTabStrip);
            m_pTabCtrl->InvalidateRect(&rc, TRUE);
        }
        CRect split;
        GetSplitterRect(&split);
        InvalidateRect(&split, TRUE);
        UpdateWindow();
        return;
    }
    if (ActiveUses(WS_HSCROLL))
    {
        CRect split;
        GetSplitterRect(&split);
        m_bOverSplitter = split.PtInRect(point);
    }
    CWnd::OnMouseMove(nFlags, point);
}

void TWKTabWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bTracking)
    {
        m_bTracking = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        RecalcLayout();
        m_xSplitterWanted = m_xSplitter;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void TWKTabWnd::OnCaptureChanged(CWnd* pWnd)
{
    // Another window took the mouse: the drag ends where it is.
    if (m_bTracking && pWnd != this)
    {
        m_bTracking = FALSE;
        RecalcLayout();
        m_xSplitterWanted = m_xSplitter;
    }
    CWnd::OnCaptureChanged(pWnd);
}

void TWKTabWnd::ForwardScroll(UINT message, UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (!m_pActiveWnd || !m_pActiveWnd->m_hWnd)
        return;
    const MSG* pMsg = GetCurrentMessage();
    if (pMsg && pMsg->message == message)
        m_pActiveWnd->SendMessage(message, pMsg->wParam, pMsg->lParam);
    else
        m_pActiveWnd->SendMessage(message, MAKEWPARAM(nSBCode, nPos), (LPARAM)pScrollBar->GetSafeHwnd());
}

void TWKTabWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    ForwardScroll(WM_HSCROLL, nSBCode, nPos, pScrollBar);
}

void TWKTabWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    ForwardScroll(WM_VSCROLL, nSBCode, nPos, pScrollBar);
}

BOOL TWKTabWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    BOOL bResult = CWnd::OnNcCreate(lpCreateStruct);
    if (lpCreateStruct->hwndParent)
        CWnd::ModifyStyleEx(lpCreateStruct->hwndParent, WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    return bResult;
}

LRESULT TWKTabWnd::OnTabActivate(WPARAM wParam, LPARAM lParam)
{
    TWKTabWndBase::OnTabActivate(wParam, lParam);
    return ForwardActivation(wParam, lParam);
}
