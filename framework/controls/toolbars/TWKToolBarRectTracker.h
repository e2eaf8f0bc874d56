// The hatched frame that follows a dragged toolbar button on the screen, and
// the right-edge sizing of a window button.
#pragma once
#include "afx/afx.h"

class TWKToolBarRectTracker : public CRectTracker
{
public:
    explicit TWKToolBarRectTracker(LPCRECT lpRect) : CRectTracker(lpRect, hatchedBorder) {}
    ~TWKToolBarRectTracker() override = default;

    // Unlike the platform's frame, the hatched frame is not drawn outside the
    // rectangle.
    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;

    // Moves the whole rectangle from the point (pWnd's client coordinates),
    // drawing on the desktop; TRUE when it moved.
    BOOL Track(CWnd* pWnd, int x, int y);
    // Follows the right edge from the point; TRUE when the rectangle changed.
    // Escape, the right button or a quit message cancel.
    BOOL TrackRightEdge(CWnd* pWnd, int x, int y);
};
