// The framework's single-document frame.
#include "framework/frames/TWKFrameWnd.h"
#include "afx/afxres.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKFrameShared.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"

namespace {
TWKControlBar* AsTWKBar(CControlBar* pBar)
{
    return (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKControlBar))) ? static_cast<TWKControlBar*>(pBar) : nullptr;
}

TWKDockBar* AsTWKDockBar(CDockBar* pDockBar)
{
    return (pDockBar && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar))) ? static_cast<TWKDockBar*>(pDockBar) : nullptr;
}
// Docks through dock(), between the bar's before- and after-dock hooks.
template <class F>
void WithDockHooks(CControlBar* pBar, F dock)
{
    TWKControlBar* pTWKBar = AsTWKBar(pBar);
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
    ON_WM_CLOSE()
    ON_REGISTERED_MESSAGE(s_nGetMenuMessage, OnGetMenu)
    TWK_WORKSPACE_COMMANDS()
END_MESSAGE_MAP()

TWKFrameWnd::TWKFrameWnd()
{
    m_rectLastInside.SetRectEmpty();
}

TWKFrameWnd::~TWKFrameWnd()
{
    if (m_hMenuBarMenu)
        ::DestroyMenu(m_hMenuBarMenu);
}

BOOL TWKFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nMenuBarMenuID = nIDResource;
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    if (HasMenuBar()) {
        // The menu bar shows the menu; the window has none of its own.
        if (HMENU hMenu = ::GetMenu(m_hWnd)) {
            ::SetMenu(m_hWnd, nullptr);
            ::DestroyMenu(hMenu);
        }
        m_hMenuDefault = nullptr;
        m_hMenuBarMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    }
    return TRUE;
}

void TWKFrameWnd::OnClose()
{
    m_bClosing = TRUE;
    CFrameWnd::OnClose();
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
    TWKControlBar* pTWKBar = AsTWKBar(pBar);
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

TWKControlBar* TWKFrameWnd::GetControlBarByID(UINT nID)
{
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        TWKControlBar* pTWK = AsTWKBar(pBar);
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
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    if (!hMenu)
        return;
    m_nMenuBarMenuID = nID;
    if (m_hMenuBarMenu)
        ::DestroyMenu(m_hMenuBarMenu);
    m_hMenuBarMenu = hMenu;
    RecalcLayout(TRUE);
}
