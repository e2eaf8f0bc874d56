// The MDI frame's menus: the menu plug-in, menus by resource id and the
// popups the menu-bar code asks for.
#include "framework/frames/TWKMDIFrameWnd.h"
#include <cstdarg>
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"

const UINT WM_TWKGETMENU = AfxRegisterWindowMessage("WM_TWKGETMENU");

void TWKMDIFrameWnd::InstallMenuPlugIn()
{
    if (m_pMenuPlugIn)
        return;
    if (!HasMenuBar() && m_bBmpMenus) {
        auto* pPlugIn = new TWKBmpMenuPlugIn(TRUE);
        if (!pPlugIn->PlugInTo(this)) {
            delete pPlugIn;
            return;
        }
        m_pMenuPlugIn = pPlugIn;
    }
    TWKBmpMenuPlugIn* pBmpPlugIn = GetBmpMenuPlugIn();
    if (pBmpPlugIn && m_bBmpMenus && m_pControlBarManager
        && m_pControlBarManager->IsKindOf(RUNTIME_CLASS(TWKToolBarManager)))
        pBmpPlugIn->SetBmpMgr(static_cast<TWKToolBarManager*>(m_pControlBarManager)->GetBmpMgr());
}

TWKBmpMenuPlugIn* TWKMDIFrameWnd::GetBmpMenuPlugIn() const
{
    return (m_pMenuPlugIn && m_pMenuPlugIn->IsKindOf(RUNTIME_CLASS(TWKBmpMenuPlugIn)))
               ? static_cast<TWKBmpMenuPlugIn*>(m_pMenuPlugIn)
               : nullptr;
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
    return ::GetMenu(m_hWnd);
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
