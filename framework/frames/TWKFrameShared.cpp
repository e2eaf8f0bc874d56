// What the framework's MDI and SDI main frames do alike.
#include "framework/frames/TWKFrameShared.h"
#include "afx/afxres.h"
#include "framework/frames/TWKDockBar.h"

const TWKEdgeDockBar twkEdgeDockBars[4] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT },
};

void TWKCreateEdgeDockBars(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwExtra,
                          CDockBar* (*pfnCreate)(CFrameWnd* pFrame))
{
    for (const auto& d : twkEdgeDockBars) {
        if (!(d.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(d.nID))
            continue;
        CDockBar* pDockBar = pfnCreate(pFrame);
        if (!pDockBar)
            AfxThrowResourceException();
        pDockBar->m_bAutoDelete = TRUE;
        DWORD dwStyle = d.dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        TWKDockBar* pTWK = pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar)) ? static_cast<TWKDockBar*>(pDockBar) : nullptr;
        BOOL bCreated = pTWK ? pTWK->Create(pFrame, dwStyle, dwExtra, d.nID) : pDockBar->Create(pFrame, dwStyle, d.nID);
        if (!bCreated) {
            if (!pDockBar->m_hWnd)
                delete pDockBar;
            AfxThrowResourceException();
        }
    }
}

CDockBar* TWKGetDockBar(CFrameWnd* pFrame, UINT nDockBarID)
{
    CControlBar* p = nDockBarID ? pFrame->GetControlBar(nDockBarID) : nullptr;
    return (p && p->IsDockBar()) ? static_cast<CDockBar*>(p) : nullptr;
}

CDockBar* TWKFindDockBarForAlign(CFrameWnd* pFrame, DWORD dwAlign)
{
    for (const auto& d : twkEdgeDockBars)
        if ((d.dwStyle & CBRS_ALIGN_ANY) == (dwAlign & CBRS_ALIGN_ANY))
            if (CDockBar* p = TWKGetDockBar(pFrame, d.nID))
                return p;
    return nullptr;
}

CDockBar* TWKFindPlaceHolder(CFrameWnd* pFrame, CControlBar* pBar)
{
    if (!pBar->m_hWnd)
        return nullptr;
    auto* pHolder = reinterpret_cast<CControlBar*>((UINT_PTR)LOWORD(::GetDlgCtrlID(pBar->m_hWnd)));
    if (!pHolder)
        return nullptr;
    for (const auto& d : twkEdgeDockBars) {
        CDockBar* p = TWKGetDockBar(pFrame, d.nID);
        if (p && p->FindBar(pHolder) > 0)
            return p;
    }
    return nullptr;
}

void TWKRedrawAfterLayout(CFrameWnd* pFrame, CRect& rectLastInside)
{
    HWND hWnd = pFrame->m_hWnd;
    if (rectLastInside.Width() > 0 && rectLastInside.Height() > 0) {
        // Later layouts redraw only what the dock bars marked.
        for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            CWnd* p = CWnd::FromHandlePermanent(hChild);
            if (p && p->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
                static_cast<TWKDockBar*>(p)->RedrawPendingBars();
        }
    } else {
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    CRect rect;
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rect, nullptr, TRUE);
    rectLastInside = rect;
}

void TWKRedrawAfterPreview(CFrameWnd* pFrame, BOOL bPreview)
{
    if (!bPreview && pFrame->m_hWnd)
        ::RedrawWindow(pFrame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
