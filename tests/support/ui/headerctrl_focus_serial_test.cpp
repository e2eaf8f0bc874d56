// The keyboard focus is the screen's: another program's window may take it
// at any moment, so these tests run alone.
#include <gtest/gtest.h>
#include "support/ui/IDEHeaderCtrl.h"
#include "tests/harness/harness.h"

namespace {

TEST(HeaderStripFocus, AClickLeavesTheFocusWithTheStripsParent)
{
    CWnd owner;
    C_IDEHeaderCtrl strip;
    owner.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "view", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100,
                   nullptr, nullptr);
    ASSERT_TRUE(strip.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 22), &owner, 7));
    ASSERT_TRUE(strip.InsertButton(-1, "A", 40));
    ASSERT_TRUE(strip.InsertButton(-1, "B", 40));
    owner.SetFocus();
    HWND b = strip.GetButton(1)->m_hWnd;
    ::PostMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    vt::PumpMessages();
    EXPECT_EQ(owner.m_hWnd, ::GetFocus());
    strip.SetFocus();
    EXPECT_EQ(owner.m_hWnd, ::GetFocus());
    ::SetFocus(b);
    EXPECT_EQ(owner.m_hWnd, ::GetFocus());
}

} // namespace
