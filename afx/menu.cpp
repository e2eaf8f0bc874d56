#include "afx/menu.h"
#include "afx/wnd.h"
#include <mutex>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
struct MenuMaps {
    std::mutex lock;
    std::unordered_map<HMENU, CMenu*> permanent;
};
MenuMaps& Maps()
{
    static auto* p = new MenuMaps;
    return *p;
}
std::unordered_map<HMENU, CMenu*>& TempMenus()
{
    thread_local std::unordered_map<HMENU, CMenu*> m;
    return m;
}
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
    if (!hMenu)
        return nullptr;
    MenuMaps& m = Maps();
    std::lock_guard<std::mutex> guard(m.lock);
    auto it = m.permanent.find(hMenu);
    return it == m.permanent.end() ? nullptr : it->second;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    if (CMenu* p = FromHandlePermanent(hMenu))
        return p;
    auto& temp = TempMenus();
    auto it = temp.find(hMenu);
    if (it != temp.end())
        return it->second;
    auto* p = new CMenu;
    p->m_hMenu = hMenu;
    temp.emplace(hMenu, p);
    return p;
}

void CMenu::DeleteTempMap()
{
    auto& temp = TempMenus();
    for (auto& e : temp) {
        e.second->m_hMenu = nullptr;
        delete e.second;
    }
    temp.clear();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    MenuMaps& m = Maps();
    std::lock_guard<std::mutex> guard(m.lock);
    m.permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h) {
        MenuMaps& m = Maps();
        std::lock_guard<std::mutex> guard(m.lock);
        auto it = m.permanent.find(h);
        if (it != m.permanent.end() && it->second == this)
            m.permanent.erase(it);
    }
    m_hMenu = nullptr;
    return h;
}

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
