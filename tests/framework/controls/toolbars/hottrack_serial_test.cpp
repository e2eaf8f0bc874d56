// Hot tracking with the real cursor (the shared screen's: these run alone):
// the button under the cursor is raised and drops again once the cursor has
// left the bar, without any further mouse message to the bar.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"

using namespace vt;

namespace {

// Pumps until the condition holds, for at most about two seconds.
template <class F> bool PumpUntil(F f)
{
    for (int i = 0; i < 200 && !f(); i++)
        PumpMessages(10);
    return f();
}

TEST(HotTrack, RaisedUnderTheCursorAndDroppedAfterItLeaves)
{
    ToolBarFrame frame;
    ASSERT_TRUE(frame.p);
    TWKCustomToolBar* pBar = frame.NewBar(0xE800, CBX_COOLLOOK | CBX_GRIPPER);
    ASSERT_TRUE(pBar);
    const UINT ids[] = { ID_TWK_TEST_A, 0, ID_TWK_TEST_B, ID_TWK_TEST_C };
    pBar->SetButtons(ids, 4);
    frame.p->RecalcLayout();
    frame.p->SetForegroundWindow();
    frame.p->SetActiveWindow();
    PumpMessages(50);
    ASSERT_TRUE(::GetActiveWindow());

    CPoint pt = Centre(pBar, 2);
    pBar->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    // The move reaches the bar by the message queue.
    ASSERT_TRUE(PumpUntil([&] { return pBar->m_nHotBtn == 2; }));
    EXPECT_TRUE(pBar->GetButtonStyle(2) & TWK_TBBS_RAISED);

    // To the other button: the old one is lowered, the new one raised.
    pt = Centre(pBar, 0);
    pBar->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    ASSERT_TRUE(PumpUntil([&] { return pBar->m_nHotBtn == 0; }));
    EXPECT_FALSE(pBar->GetButtonStyle(2) & TWK_TBBS_RAISED);
    EXPECT_TRUE(pBar->GetButtonStyle(0) & TWK_TBBS_RAISED);

    // Off the bar into the frame's client area: only the bar's poll notices.
    CRect rect;
    frame.p->GetWindowRect(&rect);
    ::SetCursorPos(rect.CenterPoint().x, rect.CenterPoint().y);
    EXPECT_TRUE(PumpUntil([&] { return pBar->m_nHotBtn == -1; }));
    EXPECT_FALSE(pBar->GetButtonStyle(0) & TWK_TBBS_RAISED);

    // A disabled button is never raised; nor is anything in the plain look.
    pBar->SetButtonStyle(3, TBBS_DISABLED);
    pt = Centre(pBar, 3);
    pBar->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    PumpMessages(100);
    pBar->UpdateHotButton(TRUE);
    EXPECT_EQ(-1, pBar->m_nHotBtn);
    pBar->SetExBarStyle(pBar->GetExBarStyle() & ~CBX_COOLLOOK, FALSE);
    pt = Centre(pBar, 2);
    pBar->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    PumpMessages(100);
    pBar->UpdateHotButton(TRUE);
    EXPECT_EQ(-1, pBar->m_nHotBtn);
}

} // namespace
