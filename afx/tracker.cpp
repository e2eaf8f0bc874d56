#include "afx/tracker.h"
#include <cstdlib>

CRectTracker::CRectTracker()
    : m_nHandleSize(::GetSystemMetrics(SM_CXBORDER) * 7), m_sizeMin(m_nHandleSize * 2, m_nHandleSize * 2)
{
    m_rect.SetRectEmpty();
}

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle) : CRectTracker()
{
    m_rect = *lpSrcRect;
    m_nStyle = nStyle;
}

CRectTracker::~CRectTracker() = default;

namespace {
// Which edges a handle moves: left, top, right, bottom.
struct Edges { bool l, t, r, b; };
Edges HandleEdges(int nHandle)
{
    switch (nHandle) {
    case CRectTracker::hitTopLeft: return {true, true, false, false};
    case CRectTracker::hitTopRight: return {false, true, true, false};
    case CRectTracker::hitBottomRight: return {false, false, true, true};
    case CRectTracker::hitBottomLeft: return {true, false, false, true};
    case CRectTracker::hitTop: return {false, true, false, false};
    case CRectTracker::hitRight: return {false, false, true, false};
    case CRectTracker::hitBottom: return {false, false, false, true};
    case CRectTracker::hitLeft: return {true, false, false, false};
    default: return {false, false, false, false};
    }
}
} // namespace

int CRectTracker::HitTest(CPoint point) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    int h = m_nHandleSize;
    CRect outer = r;
    outer.InflateRect(h / 2, h / 2);
    if (!outer.PtInRect(point))
        return hitNothing;
    bool nearL = std::abs(point.x - r.left) <= h / 2, nearR = std::abs(point.x - r.right) <= h / 2;
    bool nearT = std::abs(point.y - r.top) <= h / 2, nearB = std::abs(point.y - r.bottom) <= h / 2;
    if (nearT && nearL) return hitTopLeft;
    if (nearT && nearR) return hitTopRight;
    if (nearB && nearR) return hitBottomRight;
    if (nearB && nearL) return hitBottomLeft;
    if (nearT) return hitTop;
    if (nearR) return hitRight;
    if (nearB) return hitBottom;
    if (nearL) return hitLeft;
    return hitMiddle;
}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo)
{
    int nHandle = HitTest(point);
    if (nHandle < 0)
        return FALSE;
    m_bAllowInvert = bAllowInvert;
    return TrackHandle(nHandle, pWnd, point, pWndClipTo);
}

void CRectTracker::AdjustRect(int nHandle, LPRECT lpRect)
{
    if (nHandle == hitMiddle)
        return;
    Edges e = HandleEdges(nHandle);
    int cx = lpRect->right - lpRect->left, cy = lpRect->bottom - lpRect->top;
    if ((e.l || e.r) && std::abs(cx) < m_sizeMin.cx) {
        int want = (cx < 0 && m_bAllowInvert) ? -m_sizeMin.cx : m_sizeMin.cx;
        if (e.l)
            lpRect->left = lpRect->right - want;
        else
            lpRect->right = lpRect->left + want;
    }
    if ((e.t || e.b) && std::abs(cy) < m_sizeMin.cy) {
        int want = (cy < 0 && m_bAllowInvert) ? -m_sizeMin.cy : m_sizeMin.cy;
        if (e.t)
            lpRect->top = lpRect->bottom - want;
        else
            lpRect->bottom = lpRect->top + want;
    }
}

void CRectTracker::OnChangedRect(const CRect&)
{
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRect rect = *lpRect;
    rect.NormalizeRect();
    if (pWndClipTo) {
        pWnd->ClientToScreen(&rect);
        pWndClipTo->ScreenToClient(&rect);
    } else {
        pWnd->ClientToScreen(&rect);
    }
    CSize size(0, 0);
    if (!m_bFinalErase) {
        if (m_nStyle & hatchedBorder) {
            int w = m_nHandleSize - 1 > 1 ? m_nHandleSize - 1 : 1;
            size.cx = size.cy = w;
            rect.InflateRect(size);
        } else {
            size.cx = size.cy = 1;
        }
    }
    // A plain erase waits: the next frame erases the last one in the same step.
    if (m_bFinalErase || !m_bErase) {
        bool hasLast = m_sizeLast.cx || m_sizeLast.cy;
        pDC->DrawDragRect(&rect, size, hasLast ? &m_rectLast : nullptr, m_sizeLast);
        m_rectLast = rect;
        m_sizeLast = size;
    }
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo)
{
    if (::GetCapture() || !pWnd || nHandle < 0 || nHandle > hitMiddle)
        return FALSE;
    pWnd->SetCapture();
    pWnd->UpdateWindow();
    if (pWndClipTo)
        pWndClipTo->UpdateWindow();

    CRect rectSave = m_rect;
    Edges e = HandleEdges(nHandle);
    // Where the point sits relative to the edges it drags.
    int xDiff = 0, yDiff = 0;
    if (nHandle == hitMiddle) {
        xDiff = point.x - m_rect.left;
        yDiff = point.y - m_rect.top;
    } else {
        xDiff = point.x - (e.l ? m_rect.left : m_rect.right);
        yDiff = point.y - (e.t ? m_rect.top : m_rect.bottom);
    }
    m_bErase = m_bFinalErase = FALSE;
    m_sizeLast = CSize(0, 0);
    m_rectLast.SetRectEmpty();

    HWND hWndDraw = pWndClipTo ? pWndClipTo->m_hWnd : ::GetDesktopWindow();
    HDC hDC = ::GetDCEx(hWndDraw, nullptr, DCX_CACHE | (pWndClipTo ? 0 : DCX_LOCKWINDOWUPDATE));
    CDC* pDC = CDC::FromHandle(hDC);

    BOOL bMoved = FALSE;
    for (;;) {
        MSG msg;
        BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
        if (r <= 0) {
            if (r == 0)
                ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != pWnd->m_hWnd)
            break;
        bool done = false;
        switch (msg.message) {
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE: {
            CRect rectOld = m_rect;
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != pWnd->m_hWnd)
                ::MapWindowPoints(msg.hwnd, pWnd->m_hWnd, &pt, 1);
            if (nHandle == hitMiddle) {
                int cx = m_rect.Width(), cy = m_rect.Height();
                m_rect.left = pt.x - xDiff;
                m_rect.top = pt.y - yDiff;
                m_rect.right = m_rect.left + cx;
                m_rect.bottom = m_rect.top + cy;
            } else {
                if (e.l) m_rect.left = pt.x - xDiff;
                if (e.r) m_rect.right = pt.x - xDiff;
                if (e.t) m_rect.top = pt.y - yDiff;
                if (e.b) m_rect.bottom = pt.y - yDiff;
            }
            AdjustRect(nHandle, &m_rect);
            if (msg.message == WM_LBUTTONUP)
                m_bFinalErase = TRUE;
            bool changed = !rectOld.EqualRect(&m_rect);
            if (changed || m_bFinalErase) {
                if (bMoved) {
                    m_bErase = TRUE;
                    DrawTrackerRect(&rectOld, pWndClipTo, pDC, pWnd);
                }
                OnChangedRect(rectOld);
                if (msg.message != WM_LBUTTONUP)
                    bMoved = TRUE;
            }
            if (m_bFinalErase) {
                done = true;
                break;
            }
            if (changed) {
                m_bErase = FALSE;
                DrawTrackerRect(&m_rect, pWndClipTo, pDC, pWnd);
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam != VK_ESCAPE)
                break;
            [[fallthrough]];
        case WM_RBUTTONDOWN:
            if (bMoved) {
                m_bErase = m_bFinalErase = TRUE;
                DrawTrackerRect(&m_rect, pWndClipTo, pDC, pWnd);
            }
            m_rect = rectSave;
            done = true;
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
        if (done)
            break;
    }
    ::ReleaseDC(hWndDraw, hDC);
    if (::GetCapture() == pWnd->m_hWnd)
        ::ReleaseCapture();
    m_bErase = m_bFinalErase = FALSE;
    if (!m_bAllowInvert)
        m_rect.NormalizeRect();
    return !rectSave.EqualRect(&m_rect);
}
