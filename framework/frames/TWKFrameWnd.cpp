// The framework's single-document frame.
#include "framework/frames/TWKFrameWnd.h"
#include "afx/afxres.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKFrameShared.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frames/TWKWndPlugIn.h"

namespace {

TWKDockBar* AsTWKDockBar(CDockBar* pDockBar)
{
    return (pDockBar && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar))) ? static_cast<TWKDockBar*>(pDockBar) : nullptr;
}
// Docks through dock(), between the bar's before- and after-dock hooks.
template <class F>
void WithDockHooks(CControlBar* pBar, F dock)
{
    TWKControlBar* pTWKBar = TWKAsControlBar(pBar);
    if (pTWKBar)
        pTWKBar->NotifyBeforeDock();
    dock();
    if (pTWKBar)
        pTWKBar->OnAfterDock();
}
} // namespace

UINT TWKGetMenuMessage()
{
    static const UINT s_nMessage = ::RegisterWindowMessageA("WM_TWKGETMENU");
    return s_nMessage;
}

// Registered at program start, before any frame asks.
static const UINT s_nGetMenuMessage = TWKGetMenuMessage();

IMPLEMENT_DYNCREATE(TWKFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(TWKFrameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_ACTIVATE()
    ON_WM_NCACTIVATE()
    ON_MESSAGE(WM_NCPAINT, OnCaptionNcPaint)
    ON_WM_NCHITTEST()
    ON_WM_ENABLE()
    ON_MESSAGE(WM_SETTEXT, OnCaptionSetText)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ENTERIDLE()
    ON_REGISTERED_MESSAGE(s_nGetMenuMessage, OnGetMenu)
    TWK_WORKSPACE_COMMANDS()
END_MESSAGE_MAP()

TWKFrameWnd::TWKFrameWnd()
{
    m_rectLastInside.SetRectEmpty();
    m_bWin4 = TWKIsWindows4();
}

TWKFrameWnd::~TWKFrameWnd()
{
    if (m_hMenuBarMenu)
        ::DestroyMenu(m_hMenuBarMenu);
    TWKDeleteObjects(m_listBarInfo);
    delete m_pMenuPlugIn;
    delete m_pFramePlugIn;
}

BOOL TWKFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nMenuBarMenuID = nIDResource;
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    if (HasMenuBar())
        TWKLoadMenuBarMenu(this, nIDResource, m_hMenuBarMenu);
    return TRUE;
}

int TWKFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    TWKInstallMenuPlugIn(this, m_pMenuBar, m_bBmpMenus, m_pControlBarManager, m_pMenuPlugIn);
    return 0;
}

void TWKFrameWnd::OnClose()
{
    m_bClosing = TRUE;
    CFrameWnd::OnClose();
}

void TWKFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    NotifyViewOfActivation(nState, pWndOther, bMinimized);
}

// ---- docking

CDockBar* TWKFrameWnd::CreateDockBar()
{
    return new TWKDockBar;
}

void TWKFrameWnd::EnableDocking(DWORD dwDockStyle, DWORD dwExtra)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(TWKMiniDockFrameWnd);
    TWKCreateEdgeDockBars(this, dwDockStyle, dwExtra,
                          [](CFrameWnd* p) { return static_cast<TWKFrameWnd*>(p)->CreateDockBar(); });
}

void TWKFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* pDockBar = TWKGetDockBar(this, nDockBarID);
    if (nDockBarID && !pDockBar)
        return;
    DockControlBar(pBar, pDockBar, lpRect);
}

void TWKFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    if (!pDockBar)
        pDockBar = TWKFindDockBarForAlign(this, pBar->GetBarStyle());
    // No dock bar takes it: the bar stays where it is, no hook runs.
    if (!pDockBar)
        return;
    WithDockHooks(pBar, [&] {
        if (TWKDockBar* pTWK = AsTWKDockBar(pDockBar))
            pTWK->DockControlBar(pBar, lpRect);
        else
            pDockBar->DockControlBar(pBar, lpRect);
    });
}

void TWKFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    if (!pDockBar)
        pDockBar = TWKFindPlaceHolder(this, pBar);
    if (!pDockBar)
        pDockBar = TWKFindDockBarForAlign(this, pBar->GetBarStyle());
    if (!pDockBar)
        return;
    WithDockHooks(pBar, [&] { pDockBar->ReDockControlBar(pBar, lpRect); });
}

void TWKFrameWnd::DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth,
                                   int nLength)
{
    if (!pBar)
        return;
    CDockBar* pDockBar = TWKGetDockBar(this, nDockBarID);
    if (!pDockBar)
        pDockBar = TWKFindDockBarForAlign(this, pBar->GetBarStyle());
    if (!pDockBar)
        return;
    TWKControlBar* pTWKBar = TWKAsControlBar(pBar);
    if (pTWKBar) {
        pTWKBar->NotifyBeforeDock();
        pTWKBar->m_fPctWidth = fPctWidth;
    }
    // The mode follows the bar's own style, whatever side it goes to.
    DWORD dwStyle = pBar->GetBarStyle();
    DWORD dwMode;
    if ((dwStyle & CBRS_SIZE_DYNAMIC) && (dwStyle & CBRS_FLOATING))
        dwMode = LM_LENGTHY | LM_MRUWIDTH | LM_HORZ;
    else if (dwStyle & CBRS_ORIENT_HORZ)
        dwMode = LM_LENGTHY | LM_HORZDOCK | LM_HORZ;
    else
        dwMode = LM_VERTDOCK;
    pBar->CalcDynamicLayout(nLength, dwMode | LM_COMMIT);
    TWKDockPos pos = { nRow, nCol, 0 };
    if (TWKDockBar* pTWK = AsTWKDockBar(pDockBar))
        pTWK->DockControlBarAt(pBar, &pos);
    else
        pDockBar->DockControlBar(pBar);
    if (pTWKBar)
        pTWKBar->OnAfterDock();
}

void TWKFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    TWKFloatControlBar(this, pBar, point, dwStyle, nullptr);
}

void TWKFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    TWKShowControlBar(this, pBar, bShow, bDelay);
}

TWKControlBar* TWKFrameWnd::GetControlBarByID(UINT nID)
{
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        TWKControlBar* pTWK = TWKAsControlBar(pBar);
        if (pTWK && pTWK->m_hWnd && (UINT)::GetDlgCtrlID(pTWK->m_hWnd) == nID)
            return pTWK;
    }
    return nullptr;
}

// ---- layout

void TWKFrameWnd::RecalcLayout(BOOL bNotify)
{
    CFrameWnd::RecalcLayout(bNotify);
    if (!m_bInRecalcLayout && m_hWnd)
        TWKRedrawAfterLayout(this, m_rectLastInside);
}

void TWKFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    CFrameWnd::OnSetPreviewMode(bPreview, pState);
    TWKRedrawAfterPreview(this, bPreview);
}

// ---- layout persistence

void TWKFrameWnd::LoadBarState(LPCSTR lpszProfileName)
{
    TWKLoadBarState(this, m_pControlBarManager, &m_listBarInfo, lpszProfileName);
}

void TWKFrameWnd::SaveBarState(LPCSTR lpszProfileName)
{
    TWKSaveBarState(this, m_pControlBarManager, lpszProfileName);
}

void TWKFrameWnd::SetDockState(CDockState& state)
{
    TWKSetDockState(this, state);
}

void TWKFrameWnd::GetDockState(CDockState& state)
{
    TWKGetDockState(this, state);
}

// ---- caption painting

BOOL TWKFrameWnd::CreateItalicCaptionFont(CFont* pFont)
{
    return TWKCaption::CreateFont(pFont, TRUE);
}

BOOL TWKFrameWnd::CreateCaptionFont(CFont* pFont)
{
    return TWKCaption::CreateFont(pFont, FALSE);
}

void TWKFrameWnd::DrawCaption()
{
    TWKDrawCaption(this);
}

BOOL TWKFrameWnd::EnableCustomCaption(BOOL bOn, BOOL bRedraw)
{
    return TWKEnableCustomCaption(this, bOn, bRedraw);
}

void TWKFrameWnd::SetCaptionTextAlign(int nAlign, BOOL bRedraw)
{
    TWKSetCaptionTextAlign(this, nAlign, bRedraw);
}

BOOL TWKFrameWnd::OnNcActivate(BOOL bActive)
{
    // Only the toolbar customisation decides whether the frame stays active.
    if (TWKConfigModeManager(m_pControlBarManager))
        m_nFrameFlags &= ~WF_STAYACTIVE;
    if (m_bCustomCaption)
        return TWKCaptionNcActivate(this, bActive);
    return CFrameWnd::OnNcActivate(bActive);
}

LRESULT TWKFrameWnd::OnCaptionNcPaint(WPARAM wParam, LPARAM)
{
    if (!m_bCustomCaption)
        return Default();
    TWKCaptionNcPaint(this, wParam);
    return 0;
}

LRESULT TWKFrameWnd::OnCaptionSetText(WPARAM wParam, LPARAM lParam)
{
    if (!m_bCustomCaption)
        return Default();
    TWKCaptionSetText(this, wParam, lParam);
    return TRUE;
}

// ---- toolbar customisation and colours

LRESULT TWKFrameWnd::OnNcHitTest(CPoint point)
{
    if (TWKConfigModeManager(m_pControlBarManager))
        return HTERROR;
    return CFrameWnd::OnNcHitTest(point);
}

void TWKFrameWnd::OnEnable(BOOL bEnable)
{
    if (TWKConfigModeManager(m_pControlBarManager))
        m_nFrameFlags &= ~WF_STAYACTIVE;
    CFrameWnd::OnEnable(bEnable);
}

void TWKFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    TWKIdleLayoutWhileCustomising(this, m_pControlBarManager, nWhy);
    CFrameWnd::OnEnterIdle(nWhy, pWho);
}

void TWKFrameWnd::OnSysColorChange()
{
    TWKFrameSysColorChange(this);
}

// ---- plug-ins and routing

TWKWndPlugIn* TWKFrameWnd::CreateFramePlugIn(DWORD dwValue1, DWORD dwValue2, CRuntimeClass* pClass, DWORD dwValue3)
{
    return TWKCreateFramePlugIn(this, m_pFramePlugIn, dwValue1, dwValue2, pClass, dwValue3);
}

BOOL TWKFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Without a plug-in of its own the frame offers the command to its main frame's.
    TWKWndPlugIn* pPlugIn = m_pFramePlugIn;
    if (!pPlugIn && m_hWnd) {
        CFrameWnd* pTop = GetTopLevelFrame();
        if (pTop && pTop->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd)))
            pPlugIn = static_cast<TWKMDIFrameWnd*>(pTop)->m_pFramePlugIn;
        else if (pTop && pTop->IsKindOf(RUNTIME_CLASS(TWKFrameWnd)))
            pPlugIn = static_cast<TWKFrameWnd*>(pTop)->m_pFramePlugIn;
    }
    BOOL bResult = FALSE;
    if (TWKFramePlugInCmdMsg(pPlugIn, nID, nCode, pExtra, pHandlerInfo, &bResult))
        return bResult;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL TWKFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (TWKMenuPlugInPreTranslate(m_pMenuPlugIn, m_pControlBarManager, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT TWKFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return TWKMenuPlugInWindowProc(m_pMenuPlugIn, m_bBmpMenus, message, wParam, lParam,
                                   [&] { return CFrameWnd::WindowProc(message, wParam, lParam); });
}

// ---- menus

HMENU TWKFrameWnd::GetMenuByID(UINT nID)
{
    return (m_hMenuBarMenu && m_nMenuBarMenuID == nID) ? m_hMenuBarMenu : nullptr;
}

LRESULT TWKFrameWnd::OnGetMenu(WPARAM wParam, LPARAM lParam)
{
    HMENU hMenu = GetMenuByID((UINT)wParam);
    return hMenu ? (LRESULT)::GetSubMenu(hMenu, (int)lParam) : 0;
}

void TWKFrameWnd::SwapMenu(UINT nID)
{
    if (!HasMenuBar() || nID == m_nMenuBarMenuID)
        return;
    // An id without a menu resource leaves the bar on the menu it shows.
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    if (!hMenu)
        return;
    m_pMenuBar->ActivateMenu(nID);
    m_nMenuBarMenuID = nID;
    if (m_hMenuBarMenu)
        ::DestroyMenu(m_hMenuBarMenu);
    m_hMenuBarMenu = hMenu;
    RecalcLayout(TRUE);
    if (m_pMenuBar->m_hWnd)
        m_pMenuBar->Invalidate(TRUE);
}

HMENU TWKFrameWnd::GetCurrentMenu()
{
    return TWKGetCurrentMenu(this);
}

// ---- the bitmap-menu plug-in

TWKBmpMenuPlugIn* TWKFrameWnd::GetBmpMenuPlugIn() const
{
    return TWKAsBmpMenuPlugIn(m_pMenuPlugIn);
}

void TWKFrameWnd::SetMenuBmpMgr(TWKBmpMgr* pMgr)
{
    if (TWKBmpMenuPlugIn* p = GetBmpMenuPlugIn())
        p->SetBmpMgr(pMgr);
}

TWKBmpMgr* TWKFrameWnd::GetMenuBmpMgr() const
{
    TWKBmpMenuPlugIn* p = GetBmpMenuPlugIn();
    return p ? p->GetBmpMgr() : nullptr;
}

void TWKFrameWnd::HandleInitMenuPopup(HMENU hPopup, LPARAM lParam)
{
    if (TWKBmpMenuPlugIn* p = GetBmpMenuPlugIn())
        p->HandleInitMenuPopup(hPopup, lParam);
}

CFont* TWKFrameWnd::GetMenuFont()
{
    TWKBmpMenuPlugIn* p = GetBmpMenuPlugIn();
    return p ? p->GetMenuFont() : nullptr;
}

TWKBmpMenuInfo* TWKFrameWnd::GetMenuInfo(HMENU hMenu) const
{
    TWKBmpMenuPlugIn* p = GetBmpMenuPlugIn();
    return p ? p->GetMenuInfo(hMenu) : nullptr;
}
