#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/tracker.h"
#include "tests/harness/harness.h"
#include <vector>

namespace {

class CCountingTracker : public CRectTracker
{
public:
    using CRectTracker::CRectTracker;
    std::vector<CRect> changes;   // the rectangle before each change
    int draws = 0;
    void OnChangedRect(const CRect& rectOld) override { changes.push_back(rectOld); }
    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override
    {
        ++draws;
        CRectTracker::DrawTrackerRect(lpRect, pWndClipTo, pDC, pWnd);
    }
};

struct Step { UINT message; int x, y; WPARAM wParam; };

TEST(RectTracker, DragDrivenByPostedMouseMessages)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Tracker", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             20, 20, 300, 200, nullptr, nullptr));
    struct Case {
        const char* name; int handle; CPoint start; std::vector<Step> steps;
        BOOL changed; CRect result; size_t changes;
    };
    const std::vector<Case> cases = {
        {"move", CRectTracker::hitMiddle, {20, 20},
         {{WM_MOUSEMOVE, 30, 30, 0}, {WM_MOUSEMOVE, 50, 45, 0}, {WM_LBUTTONUP, 50, 45, 0}},
         TRUE, {40, 35, 90, 65}, 3},
        {"right edge", CRectTracker::hitRight, {60, 20},
         {{WM_MOUSEMOVE, 100, 25, 0}, {WM_LBUTTONUP, 110, 25, 0}},
         TRUE, {10, 10, 110, 40}, 2},
        {"right edge below the minimum width", CRectTracker::hitRight, {60, 20},
         {{WM_MOUSEMOVE, 12, 25, 0}, {WM_LBUTTONUP, 12, 25, 0}},
         TRUE, {10, 10, 30, 40}, 2},
        {"escape restores", CRectTracker::hitMiddle, {20, 20},
         {{WM_MOUSEMOVE, 80, 80, 0}, {WM_KEYDOWN, 0, 0, VK_ESCAPE}},
         FALSE, {10, 10, 60, 40}, 1},
        {"right button restores", CRectTracker::hitRight, {60, 20},
         {{WM_MOUSEMOVE, 90, 20, 0}, {WM_RBUTTONDOWN, 90, 20, 0}},
         FALSE, {10, 10, 60, 40}, 1},
        {"release in place", CRectTracker::hitMiddle, {20, 20},
         {{WM_LBUTTONUP, 20, 20, 0}},
         FALSE, {10, 10, 60, 40}, 1},
    };
    for (const Case& c : cases) {
        CCountingTracker tracker(CRect(10, 10, 60, 40), CRectTracker::hatchedBorder);
        tracker.m_sizeMin = CSize(20, 20);
        for (const Step& s : c.steps)
            wnd.PostMessage(s.message, s.wParam, MAKELPARAM(s.x, s.y));
        EXPECT_EQ(c.changed, tracker.TrackHandle(c.handle, &wnd, c.start, NULL)) << c.name;
        EXPECT_EQ(c.result, tracker.m_rect) << c.name;
        EXPECT_EQ(c.changes, tracker.changes.size()) << c.name;
        EXPECT_EQ(nullptr, ::GetCapture()) << c.name;
        EXPECT_FALSE(tracker.m_bErase || tracker.m_bFinalErase) << c.name;
    }

    // Another window holding the capture refuses the track.
    CCountingTracker busy(CRect(10, 10, 60, 40), 0);
    ::SetCapture(wnd);
    EXPECT_FALSE(busy.TrackHandle(CRectTracker::hitMiddle, &wnd, CPoint(20, 20), NULL));
    ::ReleaseCapture();
    wnd.DestroyWindow();
}

} // namespace
