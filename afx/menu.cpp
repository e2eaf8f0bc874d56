#include "afx/menu.h"
#include "afx/wnd.h"
#include "afx/handlemap.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
CHandleMap<HMENU, CMenu>& Menus()
{
    static auto* p = new CHandleMap<HMENU, CMenu>;
    return *p;
}
void SetMenuHandle(CMenu* p, HMENU h) { p->m_hMenu = h; }
} // namespace

CMenu::~CMenu()
{
    if (m_hMenu && FromHandlePermanent(m_hMenu) == this)
        DestroyMenu();
}

HMENU CMenu::GetSafeHmenu() const
{
    return AfxIsNullThis(this) ? nullptr : m_hMenu;
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    return Menus().LookupPermanent(hMenu);
}

AFX_IMPLEMENT_HANDLE_WRAPPER(CMenu, HMENU, Menus, m_hMenu, SetMenuHandle)

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate)
{
    return Attach(::LoadMenuIndirectA(lpMenuTemplate));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int n = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (n <= 0) {
        rString.Empty();
        return 0;
    }
    n = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(n), n + 1, nFlags);
    rString.ReleaseBuffer(n);
    return n;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}
