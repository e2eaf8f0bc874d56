// The framework's MDI child frames.
#include "framework/frames/TWKMDIChildWnd.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKMDIFrameWnd.h"

namespace {
TWKMDIFrameWnd* AsTWKMDIFrame(CWnd* pWnd)
{
    return (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd))) ? static_cast<TWKMDIFrameWnd*>(pWnd) : nullptr;
}

TWKMDIFrameWnd* MainTWKMDIFrame()
{
    return AsTWKMDIFrame(AfxGetMainWnd());
}

BOOL IsFocusIn(CWnd* pWnd)
{
    HWND hFocus = ::GetFocus();
    return pWnd && hFocus && (hFocus == pWnd->m_hWnd || ::IsChild(pWnd->m_hWnd, hFocus));
}

// The text before the first '\n' of a string resource; empty when missing.
CString FirstLineOf(UINT nID)
{
    CString str;
    if (str.LoadString(AfxGetResourceHandle(), nID)) {
        int n = str.Find('\n');
        if (n >= 0)
            str = str.Left(n);
    }
    return str;
}

UINT SysCommandExMessage()
{
    static UINT s_nMessage = 0;
    if (!s_nMessage)
        s_nMessage = ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX");
    return s_nMessage;
}
} // namespace

// ---------------------------------------------------------------------------
// Global helpers of the frames' activation

BOOL IsAnotherMDIChildVisible(CWnd* pExcluded)
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return FALSE;
    HWND hClient = static_cast<CMDIFrameWnd*>(pMain)->m_hWndMDIClient;
    if (!hClient || !::IsWindow(hClient))
        return FALSE;
    for (HWND h = ::GetWindow(hClient, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (pExcluded && h == pExcluded->m_hWnd)
            continue;
        CWnd* p = CWnd::FromHandlePermanent(h);
        if (p && p->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) && (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE))
            return TRUE;
    }
    return FALSE;
}

BOOL IsWindowShown(CWnd* pWnd)
{
    for (HWND h = pWnd ? pWnd->m_hWnd : nullptr; h; h = ::GetParent(h)) {
        CWnd* p = CWnd::FromHandlePermanent(h);
        BOOL bShown = (p && p->IsKindOf(RUNTIME_CLASS(CControlBar))) ? static_cast<CControlBar*>(p)->IsVisible()
                                                                      : (::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!bShown)
            return FALSE;
        // A top-level window's parent is its owner: the walk ends with it.
        if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return pWnd != nullptr;
}

void TWKAddCaptionDescriptors(TWKMsgFilter::DescriptorTable& table, CRuntimeClass* pButtonClass)
{
    using namespace nsSysCommandEx;
    enum { sysCommand = 257, captionList = 256, button = 258, captionDblClk = 259, contextMenu = 262 };
    table.Add(new TWKMsgFilter::Descriptor(sysCommand, -1, RUNTIME_CLASS(ScxMsgFilter)));
    table.Add(new TWKMsgFilter::Descriptor(captionList, -1, RUNTIME_CLASS(TWKCaptionControlListMsgFilter),
                                           TWKMsgFilter::Descriptor::flagNeverDisable));
    table.Add(new TWKMsgFilter::Descriptor(button, captionList, pButtonClass));
    table.Add(new TWKMsgFilter::Descriptor(captionDblClk, -1, RUNTIME_CLASS(ScxCaptionNCRDBLClkFilter)));
    table.Add(new TWKMsgFilter::Descriptor(contextMenu, -1, RUNTIME_CLASS(ScxContextMenuFilter)));
}

void TWKApplyCaptionControls(TWKMsgFilter* pRoot, const TWKMsgFilter::DescriptorTable* pTable, DWORD dwFlags)
{
    BOOL bOn = (dwFlags & 1) != 0;
    const BOOL enable[] = { bOn, bOn && !(dwFlags & 2), bOn && !(dwFlags & 2), bOn && !(dwFlags & 4),
                            bOn && !(dwFlags & 8) };
    pRoot->ApplyDescriptorTable(pTable, enable);
    // The list's own standard buttons only keep the places of the system's.
    TWKMsgFilter* pList = pRoot->FindFilter(256, nullptr, -1);
    if (pList && pList->IsKindOf(RUNTIME_CLASS(TWKCaptionControlListMsgFilter)))
        pList->EnableDescriptorTable(&static_cast<TWKCaptionControlListMsgFilter*>(pList)->m_tableControls, FALSE);
}

// ---------------------------------------------------------------------------
// TWKMDIChildWnd

IMPLEMENT_DYNCREATE(TWKMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(TWKMDIChildWnd, CMDIChildWnd)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONUP, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredMouse)
    ON_MESSAGE(WM_LBUTTONUP, OnFilteredMouse)
    ON_MESSAGE(WM_MOUSEMOVE, OnFilteredMouse)
    ON_MESSAGE(WM_SETTEXT, OnFilteredAfterDefault)
    ON_MESSAGE(WM_NCPAINT, OnFilteredAfterDefault)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursorMsg)
    ON_WM_NCACTIVATE()
    ON_WM_DESTROY()
    ON_WM_PARENTNOTIFY()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
    ON_WM_MDIACTIVATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

TWKMDIChildWnd::TWKMDIChildWnd()
{
    using namespace nsSysCommandEx;
    m_pFilterRoot = new TWKMsgFilter(this, -1);
    TWKAddCaptionDescriptors(m_filterTable, RUNTIME_CLASS(ScxButtonMDIChildMsgFilter));
}

TWKMDIChildWnd::~TWKMDIChildWnd()
{
    delete m_pFilterRoot;
}

TWKMDIFrameWnd* TWKMDIChildWnd::GetTWKMDIFrame() const
{
    if (m_hWnd)
        if (TWKMDIFrameWnd* pFrame = AsTWKMDIFrame(GetMDIFrame()))
            return pFrame;
    return MainTWKMDIFrame();
}

void TWKMDIChildWnd::EnableCaptionControls(DWORD dwFlags)
{
    TWKApplyCaptionControls(m_pFilterRoot, &m_filterTable, dwFlags);
}

BOOL TWKMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    dwDefaultStyle |= WS_CHILD;
    m_nIDHelp = nIDResource;
    TWKMDIFrameWnd* pMain = AsTWKMDIFrame(pParentWnd);
    if (!pMain)
        pMain = MainTWKMDIFrame();
    BOOL bMenuBar = pMain && pMain->HasMenuBar();
    CMultiDocTemplate* pTemplate = nullptr;
    if (pContext && pContext->m_pNewDocTemplate && pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate)))
        pTemplate = static_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate);
    if (pTemplate) {
        m_hAccelTable = pTemplate->m_hAccelTable;
        m_bMenuBarMenu = bMenuBar;
        if (bMenuBar)
            m_nMenuID = pTemplate->m_nIDResource;
        else
            m_hMenuShared = pTemplate->m_hMenuShared;
    } else if (nIDResource && bMenuBar) {
        m_nMenuID = nIDResource;
        m_bMenuBarMenu = TRUE;
    }
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), hIcon);
    CMDIFrameWnd* pFrame = (pParentWnd && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
                               ? static_cast<CMDIFrameWnd*>(pParentWnd) : nullptr;
    return Create(lpszClass, FirstLineOf(nIDResource), dwDefaultStyle, rectDefault, pFrame, pContext);
}

void TWKMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    m_hMenuAlternative = hMenuAlt;
    CMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
    TWKMDIFrameWnd* pFrame = GetTWKMDIFrame();
    if (!pFrame || !pFrame->HasMenuBar())
        return;
    if (bActivate && !hMenuAlt && ::GetMenu(pFrame->m_hWnd)) {
        // The menu bar shows the menus; the window keeps none of its own.
        // (Without one already, both calls would only redo the frame's border.)
        pFrame->SetMenu(nullptr);
        pFrame->DrawMenuBar();
    }
    pFrame->UpdateMDIWindowMenu();
}

void TWKMDIChildWnd::ActivateFrameMenu(CWnd* pWnd)
{
    OnUpdateFrameMenu(TRUE, pWnd, m_hMenuAlternative);
}

LRESULT TWKMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SysCommandExMessage()) {
        LRESULT lResult = 0;
        m_pFilterRoot->FilterMessage(message, wParam, lParam, &lResult);
        return lResult;
    }
    return CMDIChildWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT TWKMDIChildWnd::OnFilteredMouse(WPARAM, LPARAM)
{
    DWORD dwResult = m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    if (dwResult & TWKMsgFilter::resultHandled)
        return dwResult;
    return Default();
}

LRESULT TWKMDIChildWnd::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    // The filters draw over the fresh caption.
    LRESULT lResult = Default();
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return lResult;
}

LRESULT TWKMDIChildWnd::OnSetCursorMsg(WPARAM, LPARAM lParam)
{
    LRESULT lResult = Default();
    UINT nHit = LOWORD(lParam);
    if (nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT)
        m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return lResult;
}

BOOL TWKMDIChildWnd::OnNcActivate(BOOL bActive)
{
    // While a dockable frame is the active frame this child draws inactive.
    BOOL bDraw = bActive;
    if (bActive)
        if (TWKMDIFrameWnd* pFrame = GetTWKMDIFrame()) {
            CFrameWnd* pActive = pFrame->GetActiveFrame();
            if (pActive && pActive != pFrame && !pActive->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd)))
                bDraw = FALSE;
        }
    LRESULT lResult = DefWindowProc(WM_NCACTIVATE, bDraw, 0);
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return (BOOL)lResult;
}

void TWKMDIChildWnd::OnDestroy()
{
    // A maximised child leaves its buttons in the main frame's menu row.
    if (IsZoomed())
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE
                                                         | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    CMDIChildWnd::OnDestroy();
}

void TWKMDIChildWnd::ActivateFromClick(BOOL bFromParentNotify)
{
    TWKMDIFrameWnd* pFrame = GetTWKMDIFrame();
    if (bFromParentNotify && pFrame)
        pFrame->DeactivateDockableFrame(FALSE);
    HWND hClient = ::GetParent(m_hWnd);
    if (hClient && (HWND)::SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0) != m_hWnd)
        ::SendMessageA(hClient, WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
    CView* pView = GetActiveView();
    if (pView && !IsFocusIn(pView))
        pView->OnActivateView(TRUE, pView, pView);
    SendMessage(WM_NCACTIVATE, TRUE);
    OnUpdateFrameTitle(TRUE);
    ActivateFrameMenu(this);
    if (pFrame)
        pFrame->DrawMenuBar();
}

void TWKMDIChildWnd::OnParentNotify(UINT message, LPARAM)
{
    Default();
    UINT nEvent = LOWORD(message);
    if (nEvent != WM_LBUTTONDOWN && nEvent != WM_RBUTTONDOWN)
        return;
    CView* pView = GetActiveView();
    if (pView && !IsFocusIn(pView))
        ActivateFromClick(TRUE);
}

int TWKMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    TWKMDIFrameWnd* pFrame = GetTWKMDIFrame();
    if (pFrame)
        pFrame->DeactivateDockableFrame(FALSE);
    int nResult = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    ActivateFromClick(FALSE);
    if (pFrame)
        pFrame->SwapMenu(m_nMenuID);
    return nResult;
}

LRESULT TWKMDIChildWnd::OnChildActivate(WPARAM, LPARAM)
{
    if (TWKMDIFrameWnd* pFrame = GetTWKMDIFrame())
        pFrame->DeactivateDockableFrame(FALSE);
    LRESULT lResult = Default();
    SendMessage(WM_NCACTIVATE, TRUE);
    return lResult;
}

void TWKMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    TWKMDIFrameWnd* pFrame = GetTWKMDIFrame();
    if (!pFrame)
        return;
    if (pFrame->HasMenuBar() && m_nMenuID) {
        if (bActivate)
            pFrame->SwapMenu(m_nMenuID);
        else if (!pActivateWnd)
            pFrame->SwapMenu((UINT)-1);
    }
    if (bActivate || pActivateWnd)
        return;
    // The last document window went away: the menu of no document, unless
    // another window takes over.
    if (IsAnotherMDIChildVisible(this) || ActivateNextDockableFrame(nullptr))
        return;
    pFrame->SwapMenu((UINT)-1);
}

void TWKMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    if (nType == SIZE_RESTORED || nType == SIZE_MINIMIZED || nType == SIZE_MAXIMIZED)
        if (TWKMDIFrameWnd* pFrame = GetTWKMDIFrame())
            if (pFrame->HasMenuBar())
                pFrame->RefreshMenuBarMDIButtons();
    CMDIChildWnd::OnSize(nType, cx, cy);
}

// ---------------------------------------------------------------------------
// TWKControlBarMDIChildWnd

IMPLEMENT_DYNCREATE(TWKControlBarMDIChildWnd, TWKMDIChildWnd)

BEGIN_MESSAGE_MAP(TWKControlBarMDIChildWnd, TWKMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TWKControlBarMDIChildWnd::TWKControlBarMDIChildWnd() : m_wndDockBar(TRUE, TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

BOOL TWKControlBarMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!TWKMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL TWKControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
    // Created in the main frame, its dock site, then moved into the host.
    CWnd* pDockSite = GetMDIFrame();
    if (!pDockSite)
        pDockSite = AfxGetMainWnd();
    if (!pDockSite || !m_wndDockBar.Create(pDockSite, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, 0, AFX_IDW_DOCKBAR_FLOAT))
        return FALSE;
    m_wndDockBar.SetParent(this);
    return TRUE;
}

void TWKControlBarMDIChildWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    TWKMDIChildWnd::RecalcLayout(bNotify);
    if (!m_wndDockBar.m_hWnd)
        return;
    char szTitle[261];
    ::GetWindowTextA(m_wndDockBar.m_hWnd, szTitle, sizeof(szTitle));
    char szOld[261];
    ::GetWindowTextA(m_hWnd, szOld, sizeof(szOld));
    if (strcmp(szOld, szTitle) != 0)
        ::SetWindowTextA(m_hWnd, szTitle);
}

void TWKControlBarMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    // The host always shows the bar's title.
    char szTitle[261];
    ::GetWindowTextA(m_hWnd, szTitle, sizeof(szTitle));
    TWKMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    ::SetWindowTextA(m_hWnd, szTitle);
}

void TWKControlBarMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    // A size the host's own layout gave it to fit the bar is no request of
    // the user: committing it would grow the bar by the borders at every layout.
    if (!IsMultiBar() && !m_bInRecalcLayout) {
        CControlBar* pBar = m_wndDockBar.GetFirstBar();
        if (pBar && pBar->IsVisible()) {
            pBar->CalcDynamicLayout(cx + 2 * twkAuxData.cxBorder, LM_COMMIT | LM_MRUWIDTH);
            pBar->CalcDynamicLayout(cy + 2 * twkAuxData.cyBorder, LM_COMMIT | LM_LENGTHY | LM_MRUWIDTH);
        }
    }
    TWKMDIChildWnd::OnSize(nType, cx, cy);
}

void TWKControlBarMDIChildWnd::OnClose()
{
    CControlBar* pBar = IsMultiBar() ? nullptr : m_wndDockBar.GetFirstBar();
    if (!pBar) {
        TWKMDIChildWnd::OnClose();
        return;
    }
    // Closing hides the bar; the host stays for it (hidden with it).
    MDIRestore();
    if (CFrameWnd* pFrame = pBar->GetParentFrame())
        pFrame->ShowControlBar(pBar, FALSE, FALSE);
}

void TWKControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS* lpWndPos)
{
    if (!IsMultiBar()) {
        CControlBar* pBar = m_wndDockBar.GetFirstBar();
        if (pBar && pBar->m_pDockContext) {
            CRect rect;
            GetWindowRect(&rect);
            pBar->m_pDockContext->m_ptMRUFloatPos = rect.TopLeft();
        }
    }
    Default();
}

void TWKControlBarMDIChildWnd::OnShowWindow(BOOL, UINT)
{
    Default();
    // The Window menu lists the host, or no longer does.
    if (HWND hClient = ::GetParent(m_hWnd))
        ::PostMessageA(hClient, WM_MDIREFRESHMENU, 0, 0);
}
