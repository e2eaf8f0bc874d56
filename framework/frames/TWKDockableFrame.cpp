// The dockable frame and its frame bar.
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKFrameShared.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"

namespace {
TWKMDIFrameWnd* AsTWKMDIFrame(CWnd* pWnd)
{
    return (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd))) ? static_cast<TWKMDIFrameWnd*>(pWnd) : nullptr;
}

UINT SysCommandExMessage()
{
    static UINT s_nMessage = 0;
    if (!s_nMessage)
        s_nMessage = ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX");
    return s_nMessage;
}

BOOL IsDockableView(CView* pView, CFrameWnd* pExcluded)
{
    CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr;
    return pFrame && pFrame != pExcluded && pFrame->IsKindOf(RUNTIME_CLASS(TWKDockableFrame)) && IsWindowShown(pFrame);
}
} // namespace

BOOL ActivateNextDockableFrame(CFrameWnd* pExcluded)
{
    TWKMDIFrameWnd* pMain = AsTWKMDIFrame(AfxGetMainWnd());
    if (!pMain)
        return FALSE;
    CFrameWnd* pActive = pMain->GetActiveFrame();
    if (pActive && pActive != pExcluded && pActive->IsKindOf(RUNTIME_CLASS(TWKDockableFrame)) && IsWindowShown(pActive))
        return FALSE;
    CDocManager* pManager = AfxGetApp() ? AfxGetApp()->m_pDocManager : nullptr;
    if (!pManager)
        return FALSE;
    for (POSITION posT = pManager->GetFirstDocTemplatePosition(); posT;) {
        CDocTemplate* pTemplate = pManager->GetNextDocTemplate(posT);
        for (POSITION posD = pTemplate->GetFirstDocPosition(); posD;) {
            CDocument* pDoc = pTemplate->GetNextDoc(posD);
            for (POSITION posV = pDoc->GetFirstViewPosition(); posV;) {
                CView* pView = pDoc->GetNextView(posV);
                if (IsDockableView(pView, pExcluded)) {
                    pMain->ActivateDockableFrame(pView->GetParentFrame());
                    return TRUE;
                }
            }
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// TWKFrameBar

IMPLEMENT_DYNCREATE(TWKFrameBar, TWKControlBar)

BEGIN_MESSAGE_MAP(TWKFrameBar, TWKControlBar)
    ON_WM_PARENTNOTIFY()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

BOOL TWKFrameBar::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::PreTranslateMessage(pMsg);
}

void TWKFrameBar::OnParentNotify(UINT, LPARAM)
{
    Default();
}

int TWKFrameBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (!IsFloating())
        return (int)Default();
    // A floating frame bar activates the window it floats for.
    if (CWnd* pTop = GetTopLevelParent())
        pTop->SetActiveWindow();
    return MA_ACTIVATE;
}

// ---------------------------------------------------------------------------
// TWKDockableFrame

IMPLEMENT_DYNCREATE(TWKDockableFrame, TWKFrameWnd)

BEGIN_MESSAGE_MAP(TWKDockableFrame, TWKFrameWnd)
    ON_WM_ACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_PARENTNOTIFY()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDownMsg)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClkMsg)
    ON_MESSAGE(WM_NCACTIVATE, OnFilteredAfterDefault)
    ON_MESSAGE(WM_NCPAINT, OnNcPaintMsg)
    ON_MESSAGE(WM_SETTEXT, OnFilteredAfterDefault)
    ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONUP, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredMouse)
    ON_MESSAGE(WM_MOUSEMOVE, OnFilteredMouse)
    ON_MESSAGE(WM_LBUTTONUP, OnFilteredMouse)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKDockableFrame::TWKDockableFrame()
{
    using namespace nsSysCommandEx;
    m_pFilterRoot = new TWKMsgFilter(this, -1);
    TWKAddCaptionDescriptors(m_filterTable, RUNTIME_CLASS(ScxButtonMsgFilter));
}

TWKDockableFrame::~TWKDockableFrame()
{
    delete m_pFilterRoot;
}

CControlBar* TWKDockableFrame::GetFrameBar() const
{
    CWnd* pParent = m_hWnd ? CWnd::FromHandlePermanent(::GetParent(m_hWnd)) : nullptr;
    return (pParent && pParent->IsKindOf(RUNTIME_CLASS(CControlBar))) ? static_cast<CControlBar*>(pParent) : nullptr;
}

TWKMDIFrameWnd* TWKDockableFrame::GetMDIFrameOf() const
{
    if (m_hWnd)
        if (TWKMDIFrameWnd* pFrame = AsTWKMDIFrame(GetParentFrame()))
            return pFrame;
    return AsTWKMDIFrame(AfxGetMainWnd());
}

BOOL TWKDockableFrame::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                              CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    // A child window has no menu: the handle would become its id and leak.
    if (dwStyle & WS_CHILD)
        lpszMenuName = nullptr;
    return TWKFrameWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, lpszMenuName, dwExStyle,
                               pContext);
}

BOOL TWKDockableFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewDocTemplate
        && pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
        auto* pTemplate = static_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate);
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelTable = pTemplate->m_hAccelTable;
    }
    return TWKFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

BOOL TWKDockableFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!TWKFrameWnd::PreCreateWindow(cs))
        return FALSE;
    if (twkAuxData.bWin4)
        cs.dwExStyle |= WS_EX_TOOLWINDOW;
    cs.style &= ~FWS_PREFIXTITLE;
    return TRUE;
}

BOOL TWKDockableFrame::DestroyWindow()
{
    if (!m_hWnd)
        return TWKFrameWnd::DestroyWindow();
    // The frame goes with its bar.
    if (CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd)))
        return pParent->DestroyWindow();
    return TWKFrameWnd::DestroyWindow();
}

BOOL TWKDockableFrame::PreTranslateMessage(MSG* pMsg)
{
    // The menu plug-in first; SC_CLOSE is swallowed while toolbars are customised.
    if (TWKMenuPlugInPreTranslate(m_pMenuPlugIn, m_pControlBarManager, pMsg))
        return TRUE;
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        // The frame's keys are commands of the main window.
        HACCEL hAccel = GetDefaultAccelerator();
        CWnd* pMain = AfxGetMainWnd();
        if (hAccel && pMain && ::TranslateAcceleratorA(pMain->m_hWnd, hAccel, pMsg))
            return TRUE;
    }
    return FALSE;
}

LRESULT TWKDockableFrame::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SysCommandExMessage()) {
        LRESULT lResult = 0;
        m_pFilterRoot->FilterMessage(message, wParam, lParam, &lResult);
        return lResult;
    }
    return TWKFrameWnd::DefWindowProc(message, wParam, lParam);
}

void TWKDockableFrame::OnUpdateFrameTitle(BOOL)
{
    if (TWKMDIFrameWnd* pMain = GetMDIFrameOf())
        pMain->OnUpdateFrameTitle(TRUE);
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    if (!pDoc)
        return;
    CString strTitle = pDoc->GetTitle();
    if (m_nWindow > 0) {
        CString strNumber;
        strNumber.Format(":%d", m_nWindow);
        strTitle += strNumber;
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle)
        SetWindowText(strTitle);
}

void TWKDockableFrame::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    TWKMDIFrameWnd* pMain = GetMDIFrameOf();
    if (!pMain || !pMain->m_hWndMDIClient)
        return;
    // Documents here bring no menu of their own: with a menu bar it shows the menus.
    if (!hMenuAlt && bActive && pMain->HasMenuBar()) {
        pMain->SetMenu(nullptr);
        pMain->UpdateMDIWindowMenu();
        return;
    }
    HMENU hMenu = hMenuAlt ? hMenuAlt : m_hMenuShared;
    if (!hMenu) {
        ::SendMessageA(pMain->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
        return;
    }
    if (bActive) {
        ::SendMessageA(pMain->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenu, (LPARAM)pMain->GetWindowMenuPopup(hMenu));
    } else if (pActivateWnd) {
        ::SendMessageA(pMain->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    } else {
        HMENU hDefault = pMain->m_hMenuDefault;
        ::SendMessageA(pMain->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hDefault,
                       (LPARAM)pMain->GetWindowMenuPopup(hDefault));
    }
}

BOOL TWKDockableFrame::IsBarFloating()
{
    CControlBar* pBar = GetFrameBar();
    return pBar && pBar->IsFloating();
}

void TWKDockableFrame::EnableCaptionControls(DWORD dwFlags)
{
    TWKApplyCaptionControls(m_pFilterRoot, &m_filterTable, dwFlags);
}

// ---- messages

void TWKDockableFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    TWKFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE)
        if (TWKMDIFrameWnd* pMain = GetMDIFrameOf())
            pMain->ActivateDockableFrame(this);
}

int TWKDockableFrame::OnMouseActivate(CWnd*, UINT, UINT)
{
    int nResult = (int)Default();
    if (TWKMDIFrameWnd* pMain = GetMDIFrameOf())
        pMain->ActivateDockableFrame(this);
    return nResult;
}

void TWKDockableFrame::OnParentNotify(UINT message, LPARAM)
{
    Default();
    UINT nEvent = LOWORD(message);
    if (nEvent == WM_LBUTTONDOWN || nEvent == WM_RBUTTONDOWN)
        if (TWKMDIFrameWnd* pMain = GetMDIFrameOf())
            pMain->ActivateDockableFrame(this);
}

LRESULT TWKDockableFrame::OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam)
{
    if (TWKMDIFrameWnd* pMain = GetMDIFrameOf())
        pMain->ActivateDockableFrame(this);
    DWORD dwResult = m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    if (dwResult & TWKMsgFilter::resultHandled)
        return dwResult;
    UINT nHit = (UINT)wParam;
    CControlBar* pBar = GetFrameBar();
    if (pBar && pBar->IsFloating()) {
        // The floating frame drags and sizes itself.
        if (nHit != HTCLOSE)
            if (CFrameWnd* pFloating = pBar->GetParentFrame()) {
                pFloating->SendMessage(WM_NCLBUTTONDOWN, wParam, lParam);
                return 0;
            }
    } else if (pBar && pBar->m_pDockContext
               && (nHit == HTCAPTION || nHit == HTBORDER || (nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT))) {
        // The drag may destroy this frame: nothing of it is touched afterwards.
        pBar->m_pDockContext->StartDrag(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        return 0;
    }
    return Default();
}

LRESULT TWKDockableFrame::OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM lParam)
{
    CControlBar* pBar = GetFrameBar();
    if (wParam != HTCAPTION || !pBar)
        return Default();
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (pBar->IsFloating()) {
        if (CFrameWnd* pFloating = pBar->GetParentFrame())
            pFloating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, lParam);
    } else {
        pBar->ScreenToClient(&point);
        pBar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(point.x, point.y));
    }
    return 0;
}

LRESULT TWKDockableFrame::OnFilteredMouse(WPARAM, LPARAM)
{
    DWORD dwResult = m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    if (dwResult & TWKMsgFilter::resultHandled)
        return dwResult;
    return Default();
}

LRESULT TWKDockableFrame::OnNcPaintMsg(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = OnCaptionNcPaint(wParam, lParam);
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return lResult;
}

LRESULT TWKDockableFrame::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    // The filters draw over the fresh caption.
    LRESULT lResult = Default();
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return lResult;
}

void TWKDockableFrame::OnDestroy()
{
    TWKMDIFrameWnd* pMain = GetMDIFrameOf();
    if (pMain && pMain->m_pActiveDockableFrame == this) {
        if (IsAnotherMDIChildVisible(nullptr) || !ActivateNextDockableFrame(this))
            pMain->ActivateDockableFrame(nullptr);
    }
    TWKFrameWnd::OnDestroy();
}
