// The small tool-window frame that floating bars live in: its dock bar is a
// framework dock bar, it comes to the front when clicked, lays itself out at a
// point in one move, and its caption and frame start the bar's drag context.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKDockBar.h"

class TWKMiniDockFrameWnd : public CMiniDockFrameWnd
{
    DECLARE_DYNCREATE(TWKMiniDockFrameWnd)
public:
    TWKMiniDockFrameWnd();

    // Floating, not in an MDI child; a member of the frame, so never deleted by itself.
    TWKDockBar m_wndFloatingDockBar;

    CDockBar* GetDockBar() override { return &m_wndFloatingDockBar; }

    // Lays the frame out at its bars' size and moves it to (x, y) in the same
    // step, so a bar floated at a point shows there at its final size.
    virtual void RecalcLayoutAt(int x, int y, BOOL bNotify);

    // The first docked bar, the one the caption drags and toggles.
    CControlBar* GetFirstDockedBar();

    // Moves (x, y) so that a frame of the size lies on the work area of its screen.
    static void PlaceOnWorkArea(int& x, int& y, CSize size);

protected:
    void BringToTop();
    void ActivateTopParent();

    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Destroys a floating frame whose last bar left it without hiding it first.
// Without a window manager the platform may wait about two seconds for a
// visible top-level window to be withdrawn when it is hidden or destroyed; an
// empty window region takes the frame off the screen at once (what lay behind
// is repainted), and a frame the system already counts as hidden is destroyed
// without that wait.
BOOL TWKDestroyFloatingFrame(CFrameWnd* pFrame);
