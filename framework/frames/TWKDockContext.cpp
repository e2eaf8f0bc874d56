// The drag controller of a framework bar.
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKDockBar.h"

TWKDockContext::TWKDockContext(CControlBar* pBar) : CDockContext(pBar)
{
    m_rectLastDocking.SetRectEmpty();
    m_sizeMinFloat = CSize(::GetSystemMetrics(SM_CXMENUSIZE) + 2 * (::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXBORDER)),
                           ::GetSystemMetrics(SM_CYSMCAPTION) + 2 * (::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYBORDER)));
    m_sizeMaxFloat = CSize(::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN));
}

TWKDockContext::~TWKDockContext()
{
    // A bar that already left its dock bar (its window was destroyed) has
    // nothing to remove; RemoveControlBar ignores a bar it does not hold.
    if (m_pBar && m_pBar->m_pDockBar) {
        CDockBar* pDockBar = m_pBar->m_pDockBar;
        if (pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
            static_cast<TWKDockBar*>(pDockBar)->RemoveControlBar(m_pBar, -1, 0);
        else
            pDockBar->CDockBar::RemoveControlBar(m_pBar, -1, 0);
        m_pBar->m_pDockBar = nullptr;
    }
}
