// The drag controller of a framework bar.
#include "framework/frames/TWKDockContext.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKFrameDispatch.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"

namespace {
BOOL IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
BOOL IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// Moves the rectangle so that it holds the point.
void AdjustRectangle(CRect& rect, CPoint pt)
{
    int dx = pt.x < rect.left ? pt.x - rect.left : pt.x > rect.right ? pt.x - rect.right + twkAuxData.cxBorder : 0;
    int dy = pt.y < rect.top ? pt.y - rect.top : pt.y > rect.bottom ? pt.y - rect.bottom + twkAuxData.cyBorder : 0;
    rect.OffsetRect(dx, dy);
}

int Distance(CPoint a, CPoint b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

TWKMDIFrameWnd* AsMDIFrame(CFrameWnd* pFrame)
{
    return (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd))) ? static_cast<TWKMDIFrameWnd*>(pFrame) : nullptr;
}
} // namespace

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

// ---- the dock site

void TWKDockContext::SiteDock(CDockBar* pDockBar, LPCRECT lpRect)
{
    TWKWithFrame(m_pDockSite, [&](auto* pFrame) { pFrame->DockControlBar(m_pBar, pDockBar, lpRect); });
}

void TWKDockContext::SiteReDock(CDockBar* pDockBar, LPCRECT lpRect)
{
    TWKWithFrame(m_pDockSite, [&](auto* pFrame) { pFrame->ReDockControlBar(m_pBar, pDockBar, lpRect); });
}

void TWKDockContext::SiteFloat(CPoint pt, DWORD dwStyle)
{
    TWKWithFrame(m_pDockSite, [&](auto* pFrame) { pFrame->FloatControlBar(m_pBar, pt, dwStyle); });
}

void TWKDockContext::SiteRecalcLayout()
{
    if (m_pDockSite && m_pDockSite->m_hWnd)
        m_pDockSite->RecalcLayout(TRUE);
}

CDockBar* TWKDockContext::DockBarFor(DWORD dwAlign) const
{
    UINT nID = (dwAlign & CBRS_ALIGN_TOP) ? AFX_IDW_DOCKBAR_TOP
               : (dwAlign & CBRS_ALIGN_BOTTOM) ? AFX_IDW_DOCKBAR_BOTTOM
               : (dwAlign & CBRS_ALIGN_LEFT) ? AFX_IDW_DOCKBAR_LEFT
               : (dwAlign & CBRS_ALIGN_RIGHT) ? AFX_IDW_DOCKBAR_RIGHT : 0;
    CControlBar* p = (nID && m_pDockSite) ? m_pDockSite->GetControlBar(nID) : nullptr;
    return (p && p->IsDockBar()) ? static_cast<CDockBar*>(p) : nullptr;
}

CDockBar* TWKDockContext::MRUDockRect(CRect& rect) const
{
    CControlBar* p = (m_uMRUDockID && m_pDockSite) ? m_pDockSite->GetControlBar(m_uMRUDockID) : nullptr;
    if (!p || !p->IsDockBar())
        return nullptr;
    rect = m_rectMRUDockPos;
    p->ClientToScreen(&rect);
    return static_cast<CDockBar*>(p);
}

void TWKDockContext::SetStatusText(UINT nID)
{
    if (CWnd* pMain = AfxGetMainWnd())
        if (pMain->m_hWnd)
            pMain->SendMessage(WM_SETMESSAGESTRING, nID);
}

BOOL TWKDockContext::IsProportional() const
{
    return TWKAsControlBar(m_pBar) && !(TWKGetExBarStyle(m_pBar) & CBX_FIXEDSIZE);
}

BOOL TWKDockContext::HasFloatFrameBorders() const
{
    // A captionless floating frame has no borders to add.
    CFrameWnd* pFrame = m_pBar->GetParentFrame();
    return !(pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))
             && (pFrame->GetStyle() & WS_CAPTION) != WS_CAPTION);
}

void TWKDockContext::AddFrameBorders(CRect& rect) const
{
    // A bar that floats already takes the borders its frame really has, so
    // that a frame dropped where it was stays there.
    CFrameWnd* pFrame = m_pBar->GetParentFrame();
    if (m_pBar->IsFloating() && pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) {
        CRect rectFrame, rectBar;
        pFrame->GetWindowRect(&rectFrame);
        m_pBar->GetWindowRect(&rectBar);
        rect.InflateRect(rectBar.left - rectFrame.left, rectBar.top - rectFrame.top, rectFrame.right - rectBar.right,
                         rectFrame.bottom - rectBar.bottom);
        return;
    }
    CMiniFrameWnd::CalcBorders(&rect);
}

// ---- dragging

void TWKDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd || ::GetCapture())
        return;
    if (!m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->GetBarStyle() & CBRS_ALIGN_ANY;
    m_nLastDockingRow = -1;
    m_pLastDockingBar = nullptr;
    m_ptDragStart = pt;
    m_bDragging = TRUE;
    SetStatusText(IDS_TWK_PREVENTDOCKING);
    InitLoop();

    CRect rect;
    m_pBar->GetWindowRect(&rect);
    CPoint ptTopLeft = rect.TopLeft();
    m_ptLast = pt;
    DWORD dwBarStyle = m_pBar->GetBarStyle();
    if (dwBarStyle & CBRS_SIZE_DYNAMIC) {
        m_rectDragHorz = CRect(ptTopLeft, m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK));
        m_rectDragVert = CRect(ptTopLeft, m_pBar->CalcDynamicLayout(0, LM_VERTDOCK));
        m_rectFrameDragHorz = m_rectFrameDragVert = CRect(ptTopLeft, m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH));
        if (HasFloatFrameBorders()) {
            AddFrameBorders(m_rectFrameDragHorz);
            AddFrameBorders(m_rectFrameDragVert);
        }
    } else {
        if (dwBarStyle & CBRS_SIZE_FIXED) {
            m_rectDragHorz = CRect(ptTopLeft, m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
            m_rectDragVert = CRect(ptTopLeft, m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK));
        } else if (IsHorz(m_dwStyle)) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK));
        } else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2),
                                   m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
        }
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
        AddFrameBorders(m_rectFrameDragHorz);
        AddFrameBorders(m_rectFrameDragVert);
    }
    m_rectFrameDragHorz.DeflateRect(twkAuxData.cxBorder, twkAuxData.cyBorder);
    m_rectFrameDragVert.DeflateRect(twkAuxData.cxBorder, twkAuxData.cyBorder);
    for (CRect* p : { &m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert })
        AdjustRectangle(*p, pt);

    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
}

void TWKDockContext::Move(CPoint pt)
{
    CSize ptOffset(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
    m_rectDragHorz.OffsetRect(ptOffset);
    m_rectDragVert.OffsetRect(ptOffset);
    m_rectFrameDragHorz.OffsetRect(ptOffset);
    m_rectFrameDragVert.OffsetRect(ptOffset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

DWORD TWKDockContext::CanDock()
{
    if (!m_pDockSite || !m_pDockSite->m_hWnd)
        return 0;
    BOOL bHorz = IsHorz(m_dwStyle);
    if (m_bFlip)
        bHorz = !bHorz;
    const DWORD dwNoVert = m_dwDockStyle & ~CBRS_ORIENT_VERT, dwNoHorz = m_dwDockStyle & ~CBRS_ORIENT_HORZ;
    DWORD dwResult = 0;
    if (bHorz && IsHorz(m_dwDockStyle)) {
        dwResult = m_pDockSite->CanDock(m_rectDragHorz, dwNoVert);
    } else if (IsVert(m_dwDockStyle)) {
        CDockBar* pDockBar = nullptr;
        dwResult = m_pDockSite->CanDock(m_rectDragVert, dwNoHorz, &pDockBar);
        CRect rectBar;
        if (dwResult && pDockBar)
            pDockBar->GetWindowRect(&rectBar);
        if (dwResult && !(pDockBar && rectBar.PtInRect(m_ptLast)))
            dwResult = 0;
    }
    if (m_bFlip || dwResult)
        return dwResult;
    // Both rectangles over the same dock bar dock there whatever the orientation.
    if (IsHorz(m_dwDockStyle)) {
        DWORD dwVertRect = m_pDockSite->CanDock(m_rectDragVert, dwNoVert);
        if (dwVertRect && dwVertRect == m_pDockSite->CanDock(m_rectDragHorz, dwNoVert))
            return dwVertRect;
    }
    if (IsVert(m_dwDockStyle)) {
        DWORD dwHorzRect = m_pDockSite->CanDock(m_rectDragHorz, dwNoHorz);
        if (dwHorzRect == m_pDockSite->CanDock(m_rectDragVert, dwNoHorz))
            return dwHorzRect;
    }
    return 0;
}

void TWKDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (!m_pDC)
        return;
    CSize size(1, 1);
    CBrush* pWhiteBrush = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CBrush* pDitherBrush = AfxGetHalftoneBrush();
    CBrush* pBrush = pWhiteBrush;
    CRect rect;
    // A floating bar barely moved still shows where it floats.
    BOOL bNear = m_pBar->IsFloating() && Distance(m_ptLast, m_ptDragStart) < 5;
    BOOL bOverDockBar = !bNear && (IsHorz(m_dwOverDockStyle) || IsVert(m_dwOverDockStyle));
    if (bOverDockBar) {
        const CRect& rectDrag = IsHorz(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
        CDockBar* pDockBar = DockBarFor(m_dwOverDockStyle);
        // The last row counts only in the dock bar it was found in.
        if (pDockBar != m_pLastDockingBar)
            m_nLastDockingRow = -1;
        m_pLastDockingBar = pDockBar;
        if (pDockBar && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
            rect = static_cast<TWKDockBar*>(pDockBar)->CalcDockingRect(m_pBar, rectDrag, m_ptLast, &m_nLastDockingRow,
                                                                      &m_rectLastDocking, &m_ptLastDocking);
        else
            rect = rectDrag;
    } else {
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        rect = (IsHorz(m_dwStyle) != m_bFlip) ? m_rectFrameDragHorz : m_rectFrameDragVert;
        m_nLastDockingRow = -1;
        pBrush = pDitherBrush;
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    if (twkAuxData.bWin4 && bOverDockBar)
        rect.DeflateRect(1, 1);
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, pBrush, m_bDitherLast ? pDitherBrush : pWhiteBrush);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = pBrush == pDitherBrush;
}

BOOL TWKDockContext::Track()
{
    if (::GetCapture() || !m_pBar->m_hWnd)
        return FALSE;
    m_pBar->SetCapture();
    while (::GetCapture() == m_pBar->m_hWnd) {
        MSG msg;
        BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
        if (r <= 0) {
            // The program is ending: a cancel, and the quit goes on to the loop above.
            CancelLoop();
            if (r == 0)
                ::PostQuitMessage((int)msg.wParam);
            return FALSE;
        }
        switch (msg.message) {
        case WM_LBUTTONUP:
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            return TRUE;
        case WM_MOUSEMOVE: {
            // The pointer the message carries (a posted message's own cursor
            // position is wherever the real cursor was).
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            if (m_bDragging)
                Move(pt);
            else
                Stretch(pt);
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (m_bDragging)
                OnKey((int)msg.wParam, msg.message == WM_KEYDOWN);
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    CancelLoop();
    return FALSE;
}

void TWKDockContext::CancelLoop()
{
    DrawFocusRect(TRUE);
    CDockContext::CancelLoop();
    SetStatusText(AFX_IDS_IDLEMESSAGE);
}

void TWKDockContext::EndDrag()
{
    CancelLoop();
    BOOL bClick = m_pBar->IsFloating() && Distance(m_ptLast, m_ptDragStart) <= 4;
    CDockBar* pDockBar = m_dwOverDockStyle ? DockBarFor(m_dwOverDockStyle) : nullptr;
    if (pDockBar && !bClick) {
        CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        UINT nID = (UINT)pDockBar->GetDlgCtrlID();
        if (nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = nID;
            m_rectMRUDockPos = rect;
            pDockBar->ScreenToClient(&m_rectMRUDockPos);
        }
        // A floating bar keeps its width fraction in the row it joins.
        if (m_pBar->IsFloating() && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
            static_cast<TWKDockBar*>(pDockBar)->SetAnchorBar(m_pBar);
        SiteDock(pDockBar, &rect);
        SiteRecalcLayout();
    } else {
        // A click on a floating bar's caption leaves its frame where it was.
        if (bClick) {
            CSize back(m_ptDragStart.x - m_ptLast.x, m_ptDragStart.y - m_ptLast.y);
            m_rectFrameDragHorz.OffsetRect(back);
            m_rectFrameDragVert.OffsetRect(back);
        }
        DWORD dwBarStyle = m_pBar->GetBarStyle();
        BOOL bVertFloat = !(dwBarStyle & CBRS_SIZE_DYNAMIC) && (IsVert(m_dwStyle) != m_bFlip);
        if (bVertFloat) {
            m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
            m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
        } else {
            m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
            m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
            if (!TWKIsCustomToolBar(m_pBar))
                m_ptMRUFloatPos.Offset(-twkAuxData.cxBorder, -twkAuxData.cyBorder);
        }
        SiteFloat(m_ptMRUFloatPos, m_dwMRUFloatStyle);
    }
    m_bDragging = FALSE;
}

// ---- resizing a floating bar

void TWKDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (!m_pBar || !m_pBar->m_hWnd || ::GetCapture())
        return;
    if (!m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->GetBarStyle() & CBRS_ALIGN_ANY;
    m_bDragging = FALSE;
    InitLoop();
    m_nHitTest = nHitTest;
    m_ptLast = pt;
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    RequestedSize() = ActualSize() = ActualFrameSize() = CRect(rect.TopLeft(), size);
    if (HasFloatFrameBorders())
        AddFrameBorders(ActualFrameSize());
    ActualFrameSize().DeflateRect(twkAuxData.cxBorder, twkAuxData.cyBorder);
    FrameBorders() = CRect(0, 0, ActualFrameSize().Width() - ActualSize().Width(),
                           ActualFrameSize().Height() - ActualSize().Height());
    m_dwOverDockStyle = 0;
    Stretch(pt);
    Track();
}

void TWKDockContext::Stretch(CPoint pt)
{
    CPoint d(pt.x - m_ptLast.x, pt.y - m_ptLast.y);
    CRect& rectReq = RequestedSize();
    const int nHit = m_nHitTest;
    BOOL bAnchorRight, bAnchorBottom;
    CSize size;
    if (!IsProportional()) {
        // One edge: the width by the side edges, the height by any other.
        BOOL bWidth = nHit == HTLEFT || nHit == HTRIGHT;
        if (nHit == HTLEFT)
            rectReq.left += d.x;
        else if (nHit == HTRIGHT)
            rectReq.right += d.x;
        else if (nHit == HTTOP)
            rectReq.top += d.y;
        else
            rectReq.bottom += d.y;
        size = bWidth ? m_pBar->CalcDynamicLayout(std::max(0, (int)rectReq.Width()), LM_HORZ | LM_COMMIT)
                      : m_pBar->CalcDynamicLayout(std::max(0, (int)rectReq.Height()), LM_HORZ | LM_LENGTHY | LM_COMMIT);
        bAnchorRight = nHit == HTLEFT;
        bAnchorBottom = nHit == HTTOP;
    } else {
        bAnchorRight = nHit == HTLEFT || nHit == HTTOPLEFT || nHit == HTBOTTOMLEFT;
        bAnchorBottom = nHit == HTTOP || nHit == HTTOPLEFT || nHit == HTTOPRIGHT;
        BOOL bRightEdge = nHit == HTRIGHT || nHit == HTTOPRIGHT || nHit == HTBOTTOMRIGHT;
        BOOL bBottomEdge = nHit == HTBOTTOM || nHit == HTBOTTOMLEFT || nHit == HTBOTTOMRIGHT;
        // Outside the floating limits an edge and the pointer stay where they were.
        if (bAnchorRight || bRightEdge) {
            CRect r = rectReq;
            (bAnchorRight ? r.left : r.right) += d.x;
            if (r.Width() < m_sizeMinFloat.cx || r.Width() > m_sizeMaxFloat.cx)
                pt.x = m_ptLast.x;
            else
                rectReq = r;
            m_pBar->CalcDynamicLayout(rectReq.Width(), LM_HORZ | LM_COMMIT);
        }
        if (bAnchorBottom || bBottomEdge) {
            CRect r = rectReq;
            (bAnchorBottom ? r.top : r.bottom) += d.y;
            if (r.Height() < m_sizeMinFloat.cy || r.Height() > m_sizeMaxFloat.cy)
                pt.y = m_ptLast.y;
            else
                rectReq = r;
            m_pBar->CalcDynamicLayout(rectReq.Height(), LM_HORZ | LM_LENGTHY | LM_COMMIT);
        }
        size = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
    }
    CRect& rectActual = ActualSize();
    CRect& rectFrame = ActualFrameSize();
    const CRect& rectBorders = FrameBorders();
    if (bAnchorRight) {
        rectActual.left = rectActual.right - size.cx;
        rectFrame.left = rectFrame.right - (size.cx + rectBorders.Width());
    } else {
        rectActual.right = rectActual.left + size.cx;
        rectFrame.right = rectFrame.left + size.cx + rectBorders.Width();
    }
    if (bAnchorBottom) {
        rectActual.top = rectActual.bottom - size.cy;
        rectFrame.top = rectFrame.bottom - (size.cy + rectBorders.Height());
    } else {
        rectActual.bottom = rectActual.top + size.cy;
        rectFrame.bottom = rectFrame.top + size.cy + rectBorders.Height();
    }
    m_ptLast = pt;
    DrawFocusRect();
}

void TWKDockContext::EndResize()
{
    CancelLoop();
    m_pBar->CalcDynamicLayout(ActualSize().Width(), LM_HORZ | LM_COMMIT);
    if (IsProportional())
        m_pBar->CalcDynamicLayout(ActualSize().Height(), LM_HORZ | LM_LENGTHY | LM_COMMIT);
    CPoint pt = ActualFrameSize().TopLeft();
    if (!TWKIsCustomToolBar(m_pBar))
        pt.Offset(-twkAuxData.cxBorder, -twkAuxData.cyBorder);
    SiteFloat(pt, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

// ---- toggles

void TWKDockContext::ToggleDocking()
{
    if (!m_pBar || !m_pBar->m_hWnd)
        return;
    if (!m_pDockSite)
        m_pDockSite = m_pBar->m_pDockSite;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    TWKControlBar* pTWK = TWKAsControlBar(m_pBar);
    if (m_pBar->IsFloating()) {
        if (m_dwDockStyle & CBRS_ALIGN_ANY)
            ReDockAtMRU();
        return;
    }
    if (pTWK)
        pTWK->m_fSavedPctWidth = pTWK->m_fPctWidth;
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0) {
        // Never floated: over its docked place.
        pt = m_rectMRUDockPos.TopLeft();
        if (CWnd* pParent = m_pBar->GetParent())
            pParent->ClientToScreen(&pt);
    }
    SiteFloat(pt, m_dwMRUFloatStyle);
}

void TWKDockContext::ReDockAtMRU()
{
    if (TWKControlBar* pTWK = TWKAsControlBar(m_pBar))
        pTWK->m_fPctWidth = pTWK->m_fSavedPctWidth;
    CRect rect;
    CDockBar* pDockBar = MRUDockRect(rect);
    if (pDockBar && (m_pBar->GetBarStyle() & CBRS_BORDER_TOP))
        rect.right++;
    SiteReDock(pDockBar, pDockBar ? &rect : nullptr);
    SiteRecalcLayout();
}

void TWKDockContext::ToggleMDIFloating()
{
    TWKMDIFrameWnd* pFrame = AsMDIFrame(m_pDockSite ? m_pDockSite : (m_pBar ? m_pBar->m_pDockSite : nullptr));
    if (!pFrame || !m_pBar || !m_pBar->m_hWnd)
        return;
    m_pDockSite = pFrame;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    TWKControlBar* pTWK = TWKAsControlBar(m_pBar);
    CDockBar* pDockBar = m_pBar->m_pDockBar;
    BOOL bInMDIChild = pDockBar && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar))
                       && static_cast<TWKDockBar*>(pDockBar)->m_bMDIChild;
    BOOL bOldToggle = pFrame->m_bMDIFloatToggle;
    pFrame->m_bMDIFloatToggle = TRUE;
    if (!bInMDIChild) {
        // Only a docked bar's share is worth keeping: a floating bar has its row to itself.
        if (pTWK && !m_pBar->IsFloating())
            pTWK->m_fSavedPctWidth = pTWK->m_fPctWidth;
        m_bWasFloating = m_pBar->IsFloating();
        pFrame->FloatControlBarAsMDIChild(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    } else if (!m_bWasFloating) {
        if (m_dwDockStyle & CBRS_ALIGN_ANY)
            ReDockAtMRU();
    } else {
        if (pTWK)
            pTWK->m_fPctWidth = pTWK->m_fSavedPctWidth;
        pFrame->ReFloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    }
    pFrame->m_bMDIFloatToggle = bOldToggle;
}
