#include "afx/gdi.h"
#include "afx/wnd.h"
#include <unordered_map>

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {
std::unordered_map<HDC, CDC*>& TempDCs()
{
    thread_local std::unordered_map<HDC, CDC*> m;
    return m;
}
std::unordered_map<HDC, CDC*>& AttachedDCs()
{
    thread_local std::unordered_map<HDC, CDC*> m;
    return m;
}
} // namespace

CDC::~CDC()
{
    if (m_hDC && AttachedDCs().count(m_hDC) && AttachedDCs()[m_hDC] == this)
        DeleteDC();
}

HDC CDC::GetSafeHdc() const
{
    return AfxIsNullThis(this) ? nullptr : m_hDC;
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    auto& attached = AttachedDCs();
    auto a = attached.find(hDC);
    if (a != attached.end())
        return a->second;
    auto& temp = TempDCs();
    auto it = temp.find(hDC);
    if (it != temp.end())
        return it->second;
    auto* p = new CDC;
    p->m_hDC = p->m_hAttribDC = hDC;
    temp.emplace(hDC, p);
    return p;
}

void CDC::DeleteTempMap()
{
    auto& temp = TempDCs();
    for (auto& e : temp) {
        e.second->m_hDC = e.second->m_hAttribDC = nullptr;
        delete e.second;
    }
    temp.clear();
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    AttachedDCs()[hDC] = this;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    auto& attached = AttachedDCs();
    auto it = attached.find(h);
    if (it != attached.end() && it->second == this)
        attached.erase(it);
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
