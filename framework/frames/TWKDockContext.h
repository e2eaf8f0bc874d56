// The drag controller of a framework bar: dragging a bar to another edge or
// floating it, resizing a floating bar, and the double-click toggles between
// docked, floating and floating in the main window.
#pragma once
#include "afx/afx.h"

class TWKDockContext : public CDockContext
{
public:
    explicit TWKDockContext(CControlBar* pBar);
    ~TWKDockContext() override;

    CRect m_rectLastDocking;         // the target dock bar's last feedback rectangle
    CPoint m_ptDragStart;
    CPoint m_ptLastDocking;          // pointer at the last feedback rectangle
    int m_nLastDockingRow = -1;      // row start of the last feedback rectangle
    BOOL m_bWasFloating = FALSE;     // floated (not as an MDI child) before floating in the main window
    CSize m_sizeMinFloat;
    CSize m_sizeMaxFloat;

    // During a resize the four drag rectangles hold these.
    CRect& RequestedSize() { return m_rectDragHorz; }
    CRect& ActualSize() { return m_rectDragVert; }
    CRect& ActualFrameSize() { return m_rectFrameDragHorz; }
    CRect& FrameBorders() { return m_rectFrameDragVert; }

    void StartDrag(CPoint pt) override;
    void StartResize(int nHitTest, CPoint pt) override;
    void ToggleDocking() override;
    virtual void ToggleMDIFloating();

    void Move(CPoint pt) override;
    void DrawFocusRect(BOOL bRemoveRect = FALSE) override;
    void Stretch(CPoint pt);
    void EndDrag();
    void EndResize();
    // Erases the feedback, ends the loop and gives the status line its idle text again.
    void CancelLoop();
    // The dock style of the dock bar under the drag rectangles; 0 floats.
    DWORD CanDock();
    // The modal loop of a drag or resize; TRUE when it ended with a release.
    BOOL Track();

protected:
    // The dock site's own operations: an MDI main frame's, else the platform frame's.
    void SiteDock(CDockBar* pDockBar, LPCRECT lpRect);
    void SiteReDock(CDockBar* pDockBar, LPCRECT lpRect);
    void SiteFloat(CPoint pt, DWORD dwStyle);
    void SiteRecalcLayout();
    CDockBar* DockBarFor(DWORD dwAlign) const;
    // The most recent dock rectangle on the screen, NULL without a recorded dock bar.
    CDockBar* MRUDockRect(CRect& rect) const;
    // Back to the most recent dock place with the share the bar had there; laid out at once.
    void ReDockAtMRU();
    void SetStatusText(UINT nID);
    BOOL IsProportional() const;
    BOOL HasFloatFrameBorders() const;
    // Grows a bar's rectangle to the floating frame around it.
    void AddFrameBorders(CRect& rect) const;

    CDockBar* m_pLastDockingBar = nullptr;   // the dock bar of the last feedback rectangle
};
