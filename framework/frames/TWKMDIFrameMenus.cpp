// The MDI frame's menus: the menu plug-in, menus by resource id and the
// popups the menu-bar code asks for.
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKDockableFrame.h"
#include <cstdarg>
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/menus/TWKMenuBarFeature.h"
#include "framework/frames/TWKFrameShared.h"

const UINT WM_TWKGETMENU = AfxRegisterWindowMessage("WM_TWKGETMENU");

void TWKMDIFrameWnd::InstallMenuPlugIn()
{
    TWKInstallMenuPlugIn(this, m_pMenuBar, m_bBmpMenus, m_pControlBarManager, m_pMenuPlugIn);
}

TWKBmpMenuPlugIn* TWKMDIFrameWnd::GetBmpMenuPlugIn() const
{
    return TWKAsBmpMenuPlugIn(m_pMenuPlugIn);
}

HMENU TWKMDIFrameWnd::GetDefaultMenu()
{
    return HasMenuBar() ? m_hMenuBarMenu : m_hMenuDefault;
}

HMENU TWKMDIFrameWnd::GetMenuByID(UINT nID)
{
    if (m_hMenuBarMenu && nID == m_nFrameMenuID)
        return m_hMenuBarMenu;
    if (CWinApp* pApp = AfxGetApp()) {
        for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos;) {
            CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
            if (!pTemplate || !pTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate)))
                continue;
            auto* pMulti = static_cast<CMultiDocTemplate*>(pTemplate);
            if (pMulti->m_nIDResource == nID && pMulti->m_hMenuShared)
                return pMulti->m_hMenuShared;
        }
    }
    HMENU hMenu = nullptr;
    return m_mapMenus.Lookup(nID, hMenu) ? hMenu : nullptr;
}

HMENU TWKMDIFrameWnd::GetCurrentMenu()
{
    return TWKGetCurrentMenu(this);
}

BOOL TWKMDIFrameWnd::LoadMenus(int nCount, ...)
{
    va_list args;
    va_start(args, nCount);
    BOOL bResult = TRUE;
    for (int i = 0; i < nCount; i++) {
        UINT nID = va_arg(args, UINT);
        HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
        if (!hMenu) {
            bResult = FALSE;
            break;
        }
        HMENU hOld = nullptr;
        if (m_mapMenus.Lookup(nID, hOld) && hOld != hMenu)
            ::DestroyMenu(hOld);
        m_mapMenus.SetAt(nID, hMenu);
    }
    va_end(args);
    return bResult;
}

LRESULT TWKMDIFrameWnd::OnGetMenu(WPARAM wParam, LPARAM lParam)
{
    HMENU hMenu = GetMenuByID((UINT)wParam);
    return hMenu ? (LRESULT)::GetSubMenu(hMenu, (int)lParam) : 0;
}

// ---- the menu bar

CWnd* TWKMDIFrameWnd::GetMenuBarWnd()
{
    return m_pMenuBar;
}

void TWKMDIFrameWnd::SwapMenu(UINT nID)
{
    auto* pFeature = dynamic_cast<TWKMenuBarFeature*>(m_pMenuPlugIn);
    if (!HasMenuBar() || !pFeature)
        return;
    if (nID == 0)
        nID = (UINT)-1;
    pFeature->SwapMenu(nID == (UINT)-1 ? m_nDefaultMenuID : nID);
    // The menu of no document: no child's caption buttons either.
    auto* pMDIBar = dynamic_cast<TWKMDIMenuBar*>(m_pMenuBar);
    if (nID == (UINT)-1 && pMDIBar && pMDIBar->UpdateCaptionButtons(TRUE))
        RelayoutMenuBar();
    UpdateMDIWindowMenu();
}

void TWKMDIFrameWnd::UpdateMDIWindowMenu()
{
    if (!HasMenuBar() || !m_pMenuBar->GetCurMenuID() || !m_hWndMDIClient)
        return;
    HMENU hMenu = GetMenuByID(m_pMenuBar->GetCurMenuID());
    HMENU hWindowPopup = hMenu ? GetWindowMenuPopup(hMenu) : nullptr;
    if (!hWindowPopup)
        return;
    // The main window's own menu keeps its window list.
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->m_hWnd && ::GetMenu(pMain->m_hWnd))
        return;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, 0, (LPARAM)hWindowPopup);
}

BOOL TWKMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (!m_hMenuDefault && !HasMenuBar())
        return CMDIFrameWnd::OnCreateClient(lpcs, pContext);
    return CreateClient(lpcs, nullptr);
}

void TWKMDIFrameWnd::AttachMenuBarMenu(UINT nIDResource)
{
    TWKLoadMenuBarMenu(this, nIDResource, m_hMenuBarMenu);
    SwapMenu((UINT)-1);
}

void TWKMDIFrameWnd::RelayoutMenuBar()
{
    if (!m_pMenuBar || !m_pMenuBar->m_hWnd)
        return;
    m_pMenuBar->Invalidate(TRUE);
    if (CFrameWnd* pFrame = m_pMenuBar->GetParentFrame())
        pFrame->RecalcLayout(TRUE);
}

void TWKMDIFrameWnd::RefreshMenuBarMDIButtons()
{
    auto* pBar = dynamic_cast<TWKMDIMenuBar*>(m_pMenuBar);
    if (pBar && pBar->UpdateCaptionButtons(FALSE))
        RelayoutMenuBar();
}

BOOL TWKMDIFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder)
{
    // An in-place server taking every border away must not hide the menu bar.
    if (HasMenuBar() && lpRectBorder && !lpRectBorder->left && !lpRectBorder->top && !lpRectBorder->right
        && !lpRectBorder->bottom)
        m_pMenuBar->SetIgnoreNextHide(TRUE);
    return CMDIFrameWnd::NegotiateBorderSpace(nBorderCmd, lpRectBorder);
}

void TWKMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    // An active dockable frame's menu comes before an MDI child's.
    if (m_pActiveDockableFrame) {
        if (m_pActiveDockableFrame->IsKindOf(RUNTIME_CLASS(TWKDockableFrame)))
            static_cast<TWKDockableFrame*>(m_pActiveDockableFrame)->OnUpdateFrameMenu(TRUE, m_pActiveDockableFrame,
                                                                                     hMenuAlt);
        return;
    }
    if (CMDIChildWnd* pChild = MDIGetActive()) {
        pChild->OnUpdateFrameMenu(TRUE, pChild, hMenuAlt);
        return;
    }
    if (m_hWndMDIClient)
        ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)(hMenuAlt ? hMenuAlt : m_hMenuDefault), 0);
    if (HasMenuBar())
        UpdateMDIWindowMenu();
    else
        DrawMenuBar();
}
