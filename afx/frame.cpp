// Frame windows and the bar layout protocol.
#include "afx/frame.h"
#include "afx/docview.h"
#include "afx/controlbar.h"
#include "afx/afxres.h"
#include "afx/app.h"
#include "afx/module.h"
#include "afx/tooltips.h"
#include <vector>

namespace {
// The frame is its document's last: the document closes (and destroys its
// frames). TRUE when it took care of the frame.
BOOL CloseDocumentOfFrame(CDocument* pDoc, CFrameWnd* pFrame)
{
    if (!pDoc->m_bAutoDelete)
        return FALSE;
    // Other frames still show the document: only this frame goes.
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos) {
        CView* pView = pDoc->GetNextView(pos);
        if (pView->GetParentFrame() != pFrame)
            return FALSE;
    }
    pDoc->PreCloseFrame(pFrame);
    pDoc->OnCloseDocument();
    return TRUE;
}

// A document's name in one of its several windows: "Text1:2".
CString NumberedTitle(LPCSTR lpszDocName, int nWindow)
{
    CString s(lpszDocName);
    if (nWindow > 0) {
        char buf[16];
        wsprintfA(buf, ":%d", nWindow);
        s += buf;
    }
    return s;
}

// Whether the document's template can give it another frame.
BOOL CanOpenNewFrame(CDocument* pDoc)
{
    return pDoc && pDoc->GetDocTemplate() && pDoc->GetDocTemplate()->m_pFrameClass;
}

// The text before the first '\n' of a string resource; empty when missing.
CString LoadFirstLine(UINT nID)
{
    CString str;
    char buf[512];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, sizeof(buf));
    if (n > 0) {
        buf[n] = 0;
        if (char* p = strchr(buf, '\n'))
            *p = 0;
        str = buf;
    }
    return str;
}

void SetTextIfChanged(HWND hWnd, const CString& text)
{
    char buf[512];
    int n = ::GetWindowTextA(hWnd, buf, sizeof(buf));
    if (n >= 0 && (size_t)n < sizeof(buf) - 1 && text == buf)
        return;
    ::SetWindowTextA(hWnd, text);
}

// The dock bars of the edges in CanDock and DockControlBar order.
const struct { UINT nID; DWORD dwAlign; DWORD dwStyle; } kDockBars[] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT },
};

bool IsOwnedBy(HWND hWnd, HWND hOwner)
{
    for (HWND h = hWnd; h; ) {
        HWND hNext = (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER);
        if (hNext == hOwner)
            return true;
        h = hNext;
    }
    return false;
}

struct FloatNotify { HWND hOwner; std::vector<HWND> found; };
BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM lParam)
{
    auto* p = reinterpret_cast<FloatNotify*>(lParam);
    if (hWnd != p->hOwner && IsOwnedBy(hWnd, p->hOwner))
        p->found.push_back(hWnd);
    return TRUE;
}
} // namespace

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    if (!lpLayout || !lpLayout->hDWP)
        return;
    HWND hWndParent = ::GetParent(hWnd);
    CRect rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rectOld), 2);
    if (::EqualRect(&rectOld, lpRect))
        return;
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
}

// ---------------------------------------------------------------------------
// CFrameWnd

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_ENABLE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_ENTERIDLE()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
    ON_WM_HELPINFO()
    ON_COMMAND(ID_HELP, OnHelp)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
{
    m_rectBorder.SetRectEmpty();
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
}

CFrameWnd::~CFrameWnd()
{
    // Bars that outlive the frame must not point back at it.
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_pDockSite == this)
            pBar->m_pDockSite = nullptr;
    }
    m_listControlBars.RemoveAll();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1), nullptr);
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName)
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), hMenu, pContext)) {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), lpszResourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strTitle = LoadFirstLine(nIDResource);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1), hIcon);
    LPCSTR lpszMenu = ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_MENU)
                          ? MAKEINTRESOURCEA(nIDResource) : nullptr;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0, pContext))
        return FALSE;
    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (lpcs->dwExStyle & WS_EX_MDICHILD)
        pContext = lpcs->lpCreateParams
                       ? reinterpret_cast<CCreateContext*>(static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams)->lParam)
                       : nullptr;
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete pObject;
        return nullptr;
    }
    auto* pView = static_cast<CWnd*>(pObject);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;   // a view that failed to create has deleted itself
    return pView;
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        if (!(GetStyle() & WS_CHILD))
            BringWindowToTop();
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    if (!GetActiveView()) {
        CWnd* pPane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (CView* pView = dynamic_cast<CView*>(pPane))
            SetActiveView(pView, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (bMakeVisible) {
        ActivateFrame(-1);
        OnUpdateFrameTitle(TRUE);
    }
}

// ---- layout

void CFrameWnd::RepositionBars(CWnd* pParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags,
                               LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
    HWND hParent = pParent->GetSafeHwnd();
    if (!hParent)
        return;
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(hParent, &layout.rect);
    UINT nMode = nFlags & ~reposNoPosLeftOver;
    if (nMode != reposQuery)
        layout.hDWP = ::BeginDeferWindowPos(8);

    HWND hWndLeftOver = nullptr;
    for (HWND hChild = ::GetTopWindow(hParent); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        UINT nID = (UINT)::GetDlgCtrlID(hChild);
        if (nID == nIDLeftOver)
            hWndLeftOver = hChild;
        else if (nID >= nIDFirst && nID <= nIDLast)
            ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }

    if (nMode == reposQuery) {
        if (lpRectParam) {
            if (bStretch)
                *lpRectParam = layout.rect;
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }
    if (nMode == reposExtra && lpRectParam) {
        layout.rect.left += lpRectParam->left;
        layout.rect.top += lpRectParam->top;
        layout.rect.right -= lpRectParam->right;
        layout.rect.bottom -= lpRectParam->bottom;
    }
    if (hWndLeftOver && !(nFlags & reposNoPosLeftOver)) {
        CRect rect(layout.rect);
        if (rect.right < rect.left)
            rect.right = rect.left;
        if (rect.bottom < rect.top)
            rect.bottom = rect.top;
        // A left-over window with an object of its own decides its outer rectangle
        // (a workbook's client keeps margins around itself).
        if (CWnd* pLeftOver = CWnd::FromHandlePermanent(hWndLeftOver))
            pLeftOver->CalcWindowRect(&rect, CWnd::adjustBorder);
        AfxRepositionWindow(&layout, hWndLeftOver, &rect);
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

void CFrameWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags,
                               LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
    RepositionBars(this, nIDFirst, nIDLast, nIDLeftOver, nFlags, lpRectParam, lpRectClient, bStretch);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (GetStyle() & FWS_SNAPTOBARS) {
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

BOOL CFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder)
{
    if (nBorderCmd == borderGet && lpRectBorder) {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, lpRectBorder);
        return TRUE;
    }
    return nBorderCmd == borderRequest || nBorderCmd == borderSet;
}

void CFrameWnd::OnIdleUpdateCmdUIWork()
{
    if (m_nIdleFlags & idleMenu) {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(m_hMenuAlt);
    }
    if (m_nIdleFlags & idleTitle) {
        m_nIdleFlags &= ~idleTitle;
        OnUpdateFrameTitle(TRUE);
    }
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    OnIdleUpdateCmdUIWork();
    return 0;
}

// ---- control bars

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (pBar && !m_listControlBars.Find(pBar))
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    if (POSITION pos = m_listControlBars.Find(pBar))
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    if (nID == 0)
        return nullptr;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd && (UINT)::GetDlgCtrlID(pBar->m_hWnd) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const auto& d : kDockBars) {
        if (!(dwDockStyle & d.dwAlign) || GetControlBar(d.nID))
            continue;
        auto* pDock = new CDockBar;
        pDock->m_bAutoDelete = TRUE;
        if (!pDock->Create(this, d.dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, d.nID)) {
            delete pDock;
            AfxThrowResourceException();
        }
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* pDockBar = nullptr;
    if (nDockBarID) {
        CControlBar* p = GetControlBar(nDockBarID);
        pDockBar = (p && p->IsDockBar()) ? static_cast<CDockBar*>(p) : nullptr;
        if (!pDockBar)
            return;
    }
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    if (!pDockBar) {
        for (const auto& d : kDockBars) {
            if (!(pBar->m_dwDockStyle & d.dwAlign))
                continue;
            CControlBar* p = GetControlBar(d.nID);
            if (p && p->IsDockBar()) {
                pDockBar = static_cast<CDockBar*>(p);
                break;
            }
        }
        if (!pDockBar)
            return;
    }
    pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    if (!pDockBar) {
        DockControlBar(pBar, (CDockBar*)nullptr, lpRect);
        return;
    }
    pDockBar->ReDockControlBar(pBar, lpRect);
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar)
        return;
    if (pBar->m_pDockBar && pBar->m_pDockBar->m_bFloating && pBar->m_pDockBar->GetDockedCount() == 1
        && (pBar->m_pDockBar->m_dwStyle & dwStyle & CBRS_ALIGN_ANY)) {
        // Alone in a floating frame of the right kind: only move the frame.
        if (CWnd* pFrame = pBar->m_pDockBar->GetParent())
            pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(dwStyle | (pBar->m_dwStyle & (CBRS_SIZE_DYNAMIC | CBRS_FLOAT_MULTI)));
    pDockFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pDockFrame->GetDockBar()->DockControlBar(pBar);
    pDockFrame->RecalcLayout(TRUE);
    if (pBar->IsVisible())
        pDockFrame->ShowWindow(SW_SHOWNA);
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    for (const auto& d : kDockBars) {
        if (!(dwDockStyle & d.dwAlign))
            continue;
        CControlBar* p = GetControlBar(d.nID);
        if (!p || !p->IsDockBar())
            continue;
        CRect rectBar;
        p->GetWindowRect(&rectBar);
        // An empty dock bar still catches a drag over its edge.
        if (rectBar.Width() == 0)
            rectBar.right++;
        if (rectBar.Height() == 0)
            rectBar.bottom++;
        CRect rectHit;
        if (rectHit.IntersectRect(&rectBar, &rect)) {
            if (ppDockBar)
                *ppDockBar = static_cast<CDockBar*>(p);
            return d.dwAlign;
        }
    }
    return 0;
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    CRuntimeClass* pClass = m_pFloatingFrameClass ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* pObject = pClass->CreateObject();
    if (!pObject)
        AfxThrowMemoryException();
    auto* pFrame = static_cast<CMiniDockFrameWnd*>(pObject);
    // A frame that fails to become a window has freed itself (PostNcDestroy).
    if (!pFrame->Create(this, dwStyle))
        AfxThrowResourceException();
    return pFrame;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CFrameWnd* pParentFrame = pBar->GetDockingFrame();
    if (bDelay) {
        pBar->DelayShow(bShow);
        if (pParentFrame)
            pParentFrame->DelayRecalcLayout();
    } else {
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE
                                                    | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        pBar->m_nStateFlags &= ~(CControlBar::delayShow | CControlBar::delayHide);
        if (pParentFrame && (bShow || !pBar->IsFloating()))
            pParentFrame->RecalcLayout(FALSE);
    }
    // A floating frame is shown with its first visible bar and hidden with its
    // last, also when the bar's own floating frame is asked (its "Hide").
    if (pBar->IsFloating() && pBar->m_pDockBar && pParentFrame) {
        int nVisible = pBar->m_pDockBar->GetDockedVisibleCount();
        if (nVisible > 0) {
            if (!pParentFrame->IsWindowVisible())
                pParentFrame->ShowWindow(SW_SHOWNA);
            pParentFrame->RecalcLayout(FALSE);
        } else {
            pParentFrame->ShowWindow(SW_HIDE);
        }
    }
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags)
{
    CFrameWnd* pParent = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!pParent)
        pParent = this;
    if (dwFlags & (FS_ACTIVATE | FS_DEACTIVATE)) {
        BOOL bActivate = !(dwFlags & FS_DEACTIVATE);
        pParent->SendMessage(WM_NCACTIVATE, bActivate && pParent->IsWindowEnabled());
    }
    FloatNotify collect = { pParent->m_hWnd, {} };
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectTopLevel, reinterpret_cast<LPARAM>(&collect));
    for (HWND h : collect.found)
        if (::IsWindow(h))
            ::SendMessageA(h, WM_FLOATSTATUS, dwFlags, 0);
}

// ---- views and documents

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = nullptr;
    if (pViewOld && bNotify)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (m_pViewActive)
        return;   // the old view chose another one
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CFrameWnd* CFrameWnd::GetActiveFrame()
{
    return this;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

// ---- title and menus

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && pDoc) {
        UpdateFrameTitleForDocument(pDoc->GetTitle());
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName)
{
    CString text;
    CString strDoc = lpszDocName ? NumberedTitle(lpszDocName, m_nWindow) : CString();
    if (GetStyle() & FWS_PREFIXTITLE) {
        if (lpszDocName) {
            text = strDoc;
            text += " - ";
        }
        text += m_strTitle;
    } else {
        text = m_strTitle;
        if (lpszDocName) {
            text += " - ";
            text += strDoc;
        }
    }
    SetTextIfChanged(m_hWnd, text);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (!hMenuAlt)
        hMenuAlt = m_hMenuDefault;
    if (::GetMenu(m_hWnd) != hMenuAlt)
        ::SetMenu(m_hWnd, hMenuAlt);
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    return m_hAccelTable;
}

void CFrameWnd::OnSetPreviewMode(BOOL, CPrintPreviewState*)
{
    RecalcLayout();
}

BOOL CFrameWnd::IsTracking() const
{
    return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_IDLEMESSAGE;
}

// ---- status line

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    rMessage = LoadFirstLine(nID);
}

CWnd* CFrameWnd::GetMessageBar()
{
    if (HWND h = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR))
        return CWnd::FromHandle(h);
    // A child frame shows its prompts in the status bar of the frame around it.
    if (GetStyle() & WS_CHILD)
        if (CFrameWnd* pParent = GetParentFrame())
            return pParent->GetMessageBar();
    return nullptr;
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID);
}

// Tips of the bars' tools: the tip part of the command's string.
BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    return AfxAnswerToolTipText(pNMHDR, pResult);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    if (CWnd* pMessageBar = GetMessageBar()) {
        CString strMessage;
        LPCSTR lpsz = "";
        if (lParam) {
            lpsz = reinterpret_cast<LPCSTR>(lParam);
        } else if (wParam) {
            GetMessageString((UINT)wParam, strMessage);
            lpsz = strMessage;
        }
        pMessageBar->SetWindowText(lpsz);
        if (CFrameWnd* pBarFrame = pMessageBar->GetParentFrame()) {
            pBarFrame->m_nIDLastMessage = (UINT)wParam;
            pBarFrame->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return nIDLast;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && !hSysMenu) {
        // The menu closed: back to the idle text.
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, (WPARAM)AFX_IDS_IDLEMESSAGE);
        return;
    }
    if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        m_nIDTracking = 0;
    else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
        m_nIDTracking = AFX_IDS_SCFIRST + ((nItemID - 0xF000) >> 4);   // system commands' prompts
    else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
        m_nIDTracking = AFX_IDS_MDICHILD;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != m_nIDLastMessage)
        SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
}

// ---- help

BOOL CFrameWnd::OnHelpInfo(HELPINFO*)
{
    // F1 over a menu item or in any window of the frame.
    SendMessage(WM_COMMANDHELP);
    return TRUE;
}

void CFrameWnd::OnHelp()
{
    SendMessage(WM_COMMANDHELP);
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    if (lParam == 0) {
        if (IsTracking())
            lParam = HID_BASE_COMMAND + m_nIDTracking;
        else if (m_nIDHelp)
            lParam = HID_BASE_RESOURCE + m_nIDHelp;
    }
    if (lParam == 0)
        return FALSE;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelp((DWORD_PTR)lParam, HELP_CONTEXT);
    return TRUE;
}

// ---- standard bars and key panes

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (!pBar) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (!pBar)
        return FALSE;
    ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int nVK = pCmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL
            : pCmdUI->m_nID == ID_INDICATOR_NUM  ? VK_NUMLOCK
                                                 : VK_SCROLL;
    pCmdUI->Enable(::GetKeyState(nVK) & 1);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    CWnd::OnEnterIdle(nWhy, pWho);
    if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage)
        return;
    SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    if (bSysMenu) {
        CWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
        return;
    }
    AfxUpdateMenuPopup(this, pMenu, m_bAutoMenuEnable);
}

// ---- routing

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        if (hAccel && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CView* pView = GetActiveView())
        if (pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // A child frame leaves the rest of the road to the frame around it.
    if (GetStyle() & WS_CHILD)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return CWnd::OnCommand(wParam, lParam);
}

// ---- messages

void CFrameWnd::OnDestroy()
{
    // The default menu goes with the window; a shared menu stays with its owner.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
    delete this;
}

BOOL CFrameWnd::CanCloseFrameDocs()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        return pApp->SaveAllModified();
    CDocument* pDoc = GetActiveDocument();
    return pDoc ? pDoc->CanCloseFrame(this) : TRUE;
}

void CFrameWnd::OnClose()
{
    if (!CanCloseFrameDocs())
        return;
    HWND hWnd = m_hWnd;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        pApp->CloseAllDocuments(FALSE);
    } else if (CDocument* pDoc = GetActiveDocument()) {
        if (CloseDocumentOfFrame(pDoc, this))
            return;
    }
    // The documents may have destroyed the frame already (and the object with it).
    if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this)
        DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    CFrameWnd* pTopLevel = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!pTopLevel)
        pTopLevel = this;
    CWnd* pActive = (nState == WA_INACTIVE) ? pWndOther : this;
    BOOL bStayActive = FALSE;
    if (pActive) {
        HWND hActive = pActive->m_hWnd;
        bStayActive = hActive == pTopLevel->m_hWnd
            || (IsOwnedBy(hActive, pTopLevel->m_hWnd) && ::SendMessageA(hActive, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0);
    }
    pTopLevel->m_nFrameFlags &= ~WF_STAYACTIVE;
    if (bStayActive)
        pTopLevel->m_nFrameFlags |= WF_STAYACTIVE;
    pTopLevel->NotifyFloatingWindows(bStayActive ? FS_ACTIVATE : FS_DEACTIVATE);

    CView* pView = GetActiveView();
    if (!pView)
        if (CFrameWnd* pFrame = GetActiveFrame())
            pView = pFrame->GetActiveView();
    if (pView && !bMinimized && nState != WA_INACTIVE)
        pView->OnActivateView(TRUE, pView, pView);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
    if (m_nFrameFlags & WF_STAYACTIVE)
        bActive = TRUE;
    if (!IsWindowEnabled())
        bActive = FALSE;
    return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, 0);
}

void CFrameWnd::OnEnable(BOOL bEnable)
{
    CWnd::OnEnable(bEnable);
    if (!(GetStyle() & WS_CHILD))
        NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (CView* pView = GetActiveView()) {
        pView->SetFocus();
        return;
    }
    CWnd::OnSetFocus(pOldWnd);
}

// ---------------------------------------------------------------------------
// CMDIFrameWnd

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateWindowNew)
    ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    return CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    HMENU hWindowMenu = GetWindowMenuPopup(::GetMenu(m_hWnd));
    return CreateClient(lpcs, hWindowMenu ? CMenu::FromHandle(hWindowMenu) : nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = pWindowMenu ? pWindowMenu->m_hMenu : nullptr;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL
                    | MDIS_ALLCHILDSTYLES;
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                        (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, AfxGetInstanceHandle(), &ccs);
    if (!m_hWndMDIClient)
        return FALSE;
    // Bars come first in the z-order so that they are laid out before the client.
    ::SetWindowPos(m_hWndMDIClient, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    if (!hMenuBar)
        return nullptr;
    for (int iItem = ::GetMenuItemCount(hMenuBar); iItem-- > 0;) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, iItem);
        if (!hPopup)
            continue;
        int nCount = ::GetMenuItemCount(hPopup);
        for (int i = 0; i < nCount; i++) {
            UINT nID = ::GetMenuItemID(hPopup, i);
            if (nID >= ID_WINDOW_NEW && nID <= 0xE13F)
                return hPopup;
        }
    }
    return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (!m_hWndMDIClient) {
        if (pbMaximized)
            *pbMaximized = FALSE;
        return nullptr;
    }
    HWND hWnd = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)pbMaximized);
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
        if (pbMaximized)
            *pbMaximized = FALSE;
        return nullptr;
    }
    return static_cast<CMDIChildWnd*>(pWnd);
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)pWndActivate->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)pWnd->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)pWnd->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDICascade(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, nType, 0); }
void CMDIFrameWnd::MDITile() { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, 0, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, nType, 0); }
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    HMENU hOld = (HMENU)::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)(pFrameMenu ? pFrameMenu->m_hMenu : nullptr),
                                       (LPARAM)(pWindowMenu ? pWindowMenu->m_hMenu : nullptr));
    return CMenu::FromHandle(hOld);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild ? static_cast<CFrameWnd*>(pChild) : this;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    BOOL bMax = FALSE;
    CMDIChildWnd* pChild = MDIGetActive(&bMax);
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && pChild && !bMax && (pDoc || (pDoc = pChild->GetActiveDocument()) != nullptr)) {
        UpdateFrameTitleForDocument(pDoc->GetTitle());
    } else {
        CString strTitle;
        if (pChild && !bMax)
            strTitle = pChild->GetTitle();
        UpdateFrameTitleForDocument(strTitle.IsEmpty() ? nullptr : (LPCSTR)strTitle);
    }
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (CMDIChildWnd* pChild = MDIGetActive()) {
        pChild->OnUpdateFrameMenu(TRUE, pChild, hMenuAlt);
        return;
    }
    if (!hMenuAlt)
        hMenuAlt = m_hMenuDefault;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt, (LPARAM)GetWindowMenuPopup(hMenuAlt));
    DrawMenuBar();
}

void CMDIFrameWnd::RecalcLayout(BOOL bNotify)
{
    CFrameWnd::RecalcLayout(bNotify);
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator()
{
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild && pChild->m_hAccelTable)
        return pChild->m_hAccelTable;
    return m_hAccelTable;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (m_hWndMDIClient && MDIGetActive() && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
            return TRUE;
        HACCEL hAccel = GetDefaultAccelerator();
        if (hAccel && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg))
            return TRUE;
        return FALSE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CMDIChildWnd* pChild = MDIGetActive())
        if (pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CFrameWnd::OnCommand(wParam, lParam))
        return TRUE;
    // Window-list items and the child's system commands belong to the MDI machinery.
    UINT nID = LOWORD(wParam);
    if (!lParam && (nID >= AFX_IDM_FIRST_MDICHILD || (nID & 0xF000) == 0xF000)) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

// New Window: a second frame on the active child's document.
void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* pChild = MDIGetActive();
    CDocument* pDoc = pChild ? pChild->GetActiveDocument() : nullptr;
    if (!CanOpenNewFrame(pDoc))
        return;   // the command is disabled then
    CDocTemplate* pTemplate = pDoc->GetDocTemplate();
    CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDoc, pChild);
    if (!pFrame) {
        AfxMessageBox("Failed to open a new window.", MB_ICONEXCLAMATION);
        return;
    }
    pTemplate->InitialUpdateFrame(pFrame, pDoc);
}

void CMDIFrameWnd::OnUpdateWindowNew(CCmdUI* pCmdUI)
{
    CMDIChildWnd* pChild = MDIGetActive();
    pCmdUI->Enable(CanOpenNewFrame(pChild ? pChild->GetActiveDocument() : nullptr));
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); break;
    case ID_WINDOW_CASCADE: MDICascade(); break;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); break;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); break;
    default: return FALSE;
    }
    return TRUE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

void CMDIFrameWnd::OnSize(UINT nType, int, int)
{
    // Not the default: it would stretch the MDI client over the bars.
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIFrameWnd::OnDestroy()
{
    CFrameWnd::OnDestroy();
    // The children go while the client is whole. Left to the system, the
    // client is destroyed before its children, and each child's own
    // destruction then refreshes the Window menu from the client's freed list
    // of children, giving a child's id to any window whose handle it finds
    // there (a docked bar, a window of another program).
    if (!m_hWndMDIClient || !::IsWindow(m_hWndMDIClient))
        return;
    std::vector<HWND> children;
    HWND hActive = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0);
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (h != hActive && (::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_MDICHILD))
            children.push_back(h);
    // The active child last: no other child is activated on the way out.
    if (hActive)
        children.push_back(hActive);
    for (HWND h : children)
        if (::IsWindow(h) && ::GetParent(h) == m_hWndMDIClient)
            ::SendMessageA(m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)h, 0);
}

// ---------------------------------------------------------------------------
// CMDIChildWnd

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_NCACTIVATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CHILD;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND hClient = ::GetParent(m_hWnd);
    CWnd* p = hClient ? CWnd::FromHandlePermanent(::GetParent(hClient)) : nullptr;
    return (p && p->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) ? static_cast<CMDIFrameWnd*>(p) : nullptr;
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            pParentWnd = static_cast<CMDIFrameWnd*>(pMain);
    }
    // As with CreateEx, an object that never becomes a window is let go
    // through PostNcDestroy, so callers never free it themselves.
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient) {
        PostNcDestroy();
        return FALSE;
    }

    CREATESTRUCT cs = {};
    cs.style = dwStyle | WS_CHILD;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";

    MDICREATESTRUCTA mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = reinterpret_cast<LPARAM>(pContext);

    AfxHookWindowCreate(this, cs.lpszClass);
    HWND hWnd = (HWND)::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
    // A window that was made and then refused its creation went through WM_NCDESTROY.
    if (!AfxUnhookWindowCreate() && !hWnd)
        PostNcDestroy();
    if (!hWnd)
        return FALSE;
    // WM_MDICREATE has no extended style of its own.
    if (cs.dwExStyle & ~::GetWindowLongA(hWnd, GWL_EXSTYLE))
        CWnd::ModifyStyleEx(hWnd, 0, cs.dwExStyle & ~WS_EX_MDICHILD, SWP_FRAMECHANGED);
    if (cs.style & WS_VISIBLE) {
        ::ShowWindow(hWnd, (cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strTitle = LoadFirstLine(nIDResource);
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1), hIcon);
    if (pContext)
        if (auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate))
            SetHandles(pTemplate->m_hMenuShared, pTemplate->m_hAccelTable);
    CMDIFrameWnd* pFrame = nullptr;
    if (pParentWnd && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        pFrame = static_cast<CMDIFrameWnd*>(pParentWnd);
    if (!Create(lpszClass, strTitle, dwDefaultStyle | WS_CHILD, rectDefault, pFrame, pContext))
        return FALSE;
    if (!pContext)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame)
        return CWnd::DestroyWindow();
    // The title of the frame is settled once, after the child is gone.
    HWND hWndFrame = pFrame->m_hWnd;
    LONG_PTR dwStyle = ::GetWindowLongPtrA(hWndFrame, GWL_STYLE);
    ::SetWindowLongPtrA(hWndFrame, GWL_STYLE, dwStyle & ~FWS_ADDTOTITLE);
    MDIDestroy();
    if (::IsWindow(hWndFrame)) {
        ::SetWindowLongPtrA(hWndFrame, GWL_STYLE, dwStyle);
        pFrame->OnUpdateFrameTitle(TRUE);
    }
    return TRUE;
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    // Accelerators are the MDI frame's business (it picks the child's table).
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return FALSE;
    return CWnd::PreTranslateMessage(pMsg);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    BOOL bVisibleThen = IsWindowVisible();
    CMDIFrameWnd* pFrame = GetMDIFrame();
    BOOL bMax = FALSE;
    CMDIChildWnd* pActive = pFrame ? pFrame->MDIGetActive(&bMax) : nullptr;
    if (nCmdShow == -1) {
        if (!bVisibleThen)
            nCmdShow = (bMax && pActive != this) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    if (pFrame)
        pFrame->MDIActivate(this);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->OnUpdateFrameTitle(bAddToTitle);
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && pDoc) {
        SetTextIfChanged(m_hWnd, NumberedTitle(pDoc->GetTitle(), m_nWindow));
    }
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame)
        return;
    if (!hMenuAlt && bActivate)
        hMenuAlt = m_hMenuShared;
    if (hMenuAlt && bActivate) {
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt,
                       (LPARAM)pFrame->GetWindowMenuPopup(hMenuAlt));
    } else if (!bActivate && !pActivateWnd) {
        // The last child went away: the frame's own menu again.
        HMENU hMenu = pFrame->m_hMenuDefault;
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenu,
                       (LPARAM)pFrame->GetWindowMenuPopup(hMenu));
    } else {
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
    // Not every MDI client renames a child in the window menu's list when its
    // title changes (a child titled after its creation stayed a bare number):
    // the list is refreshed from the children's titles.
    if (message == WM_SETTEXT)
        if (HWND hClient = ::GetParent(m_hWnd))
            ::SendMessageA(hClient, WM_MDIREFRESHMENU, 0, 0);
    return lResult;
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    Default();
    CView* pView = GetActiveView();
    if (!bActivate && pView)
        pView->OnActivateView(FALSE, pView, pView);
    CMDIFrameWnd* pFrame = GetMDIFrame();
    // While the child is being destroyed the frame settles its menu and title later.
    OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    if (pFrame) {
        // A frame without a menu (its menus on a bar of their own) has none to redraw.
        if (::GetMenu(pFrame->m_hWnd))
            pFrame->DrawMenuBar();
        if (bActivate || !pActivateWnd)
            pFrame->OnUpdateFrameTitle(TRUE);
    }
    if (bActivate && pView)
        pView->OnActivateView(TRUE, pView, pView);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame && pFrame->MDIGetActive() != this)
        MDIActivate();
    return nResult;
}

void CMDIChildWnd::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    CWnd::OnWindowPosChanging(lpWndPos);
}

BOOL CMDIChildWnd::OnNcActivate(BOOL bActive)
{
    return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, 0);
}

void CMDIChildWnd::OnDestroy()
{
    CFrameWnd::OnDestroy();
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    // The MDI child procedure keeps the maximised state and the frame's caption.
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
    // Maximising or restoring the active child had the MDI client write the
    // frame's caption from the title the frame set last, which named the
    // document while it was not maximised: the frame sets its title again.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame && (nType == SIZE_MAXIMIZED || nType == SIZE_RESTORED) && pFrame->MDIGetActive() == this)
        pFrame->OnUpdateFrameTitle(TRUE);
}

// ---------------------------------------------------------------------------
// CMiniFrameWnd

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_NCACTIVATE()
    ON_WM_SYSCOMMAND()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    if (cs.style & MFS_THICKFRAME)
        cs.style |= WS_THICKFRAME;
    cs.style &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return TRUE;
}

BOOL CMiniFrameWnd::Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_strTitle = lpWindowName ? lpWindowName : "";
    return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                          (HMENU)(UINT_PTR)nID);
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
    DWORD dwWinStyle = (dwStyle & 0xFFFF0000) | WS_CAPTION | WS_THICKFRAME;
    ::AdjustWindowRectEx(lpClientRect, dwWinStyle & ~WS_CHILD, FALSE, dwExStyle | WS_EX_TOOLWINDOW);
}

void CMiniFrameWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    ::AdjustWindowRectEx(lpClientRect, GetStyle() & ~WS_CHILD, FALSE, GetExStyle());
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if (wParam & (FS_ACTIVATE | FS_DEACTIVATE)) {
        m_bActive = (wParam & FS_ACTIVATE) != 0;
        if (GetStyle() & MFS_SYNCACTIVE)
            DefWindowProc(WM_NCACTIVATE, m_bActive, 0);
    }
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    return (wParam & FS_SYNCACTIVE) && (GetStyle() & MFS_SYNCACTIVE);
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    // A synchronised frame draws its caption as its owner's.
    if (GetStyle() & MFS_SYNCACTIVE)
        bActive = m_bActive || bActive;
    return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, 0);
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((GetStyle() & MFS_BLOCKSYSMENU) && (nID & 0xFFF0) == SC_KEYMENU)
        return;
    CWnd::OnSysCommand(nID, lParam);
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    LRESULT nHit = CWnd::OnNcHitTest(point);
    DWORD dwStyle = GetStyle();
    if (nHit >= HTSIZEFIRST && nHit <= HTSIZELAST) {
        if (dwStyle & MFS_MOVEFRAME)
            return HTCAPTION;       // the border moves the frame
        if (dwStyle & MFS_4THICKFRAME) {
            switch (nHit) {         // corners size one edge only
            case HTTOPLEFT: case HTTOPRIGHT: return HTTOP;
            case HTBOTTOMLEFT: case HTBOTTOMRIGHT: return HTBOTTOM;
            default: break;
            }
        }
    }
    return nHit;
}
