// CRectTracker: a rectangle moved or resized with the mouse in a modal
// capture loop, its frame drawn as an inverted drag rectangle.
#pragma once
#include <windows.h>
#include "afx/geometry.h"
#include "afx/gdi.h"
#include "afx/wnd.h"

class CRectTracker
{
public:
    enum StyleFlags {
        solidLine = 1, dottedLine = 2, hatchedBorder = 4,
        resizeInside = 8, resizeOutside = 16, hatchInside = 32,
    };
    enum TrackerHit {
        hitNothing = -1, hitTopLeft = 0, hitTopRight = 1, hitBottomRight = 2, hitBottomLeft = 3,
        hitTop = 4, hitRight = 5, hitBottom = 6, hitLeft = 7, hitMiddle = 8,
    };

    CRectTracker();
    CRectTracker(LPCRECT lpSrcRect, UINT nStyle);
    virtual ~CRectTracker();

    CRect m_rect;
    UINT m_nStyle = 0;
    int m_nHandleSize;
    CSize m_sizeMin;
    BOOL m_bAllowInvert = FALSE;
    // Drawing state during a track: erasing, and the last erase.
    BOOL m_bErase = FALSE;
    BOOL m_bFinalErase = FALSE;
    CRect m_rectLast;
    CSize m_sizeLast;

    // Follows the mouse from point (pWnd's client coordinates) until the
    // left button goes up; Escape or the right button restores the
    // rectangle. Draws on pWndClipTo, else on the desktop. TRUE when the
    // rectangle changed. FALSE at once while another window has the capture.
    BOOL TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo);
    // The handle under the point, then TrackHandle with it.
    BOOL Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert = FALSE, CWnd* pWndClipTo = NULL);
    int HitTest(CPoint point) const;

    virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
    // Applies the minimum size to the edges the handle moves.
    virtual void AdjustRect(int nHandle, LPRECT lpRect);
    virtual void OnChangedRect(const CRect& rectOld);
};
