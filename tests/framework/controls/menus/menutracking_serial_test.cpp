// Menu tracking in a real foreground frame: keyboard menu mode, popups under
// the menu bar's buttons, moving between them, the system menu at the caption
// icon. Popups are modal: a thread timer runs each test's steps inside the
// menu loop and ends a popup that is still open when the steps are done.
#include <gtest/gtest.h>
#include "tests/framework/controls/menus/menutracking_fixture.h"

namespace {

using namespace menutracking;

TEST(MenuTracking, FrameWithMenuBarRunsTheFeature)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    ASSERT_NE(nullptr, f.Feature());
    EXPECT_EQ(&f.Bar(), f.Feature()->m_pMenuBar);
    EXPECT_EQ(f.p->m_hWnd, f.Feature()->m_hWnd);
    // The feature swaps the bar's menus for the frame.
    f.p->SwapMenu(kMenuDisasm);
    EXPECT_NE(-1, f.ButtonOf("&Debug"));
    f.p->SwapMenu(0);
    EXPECT_EQ(-1, f.ButtonOf("&Debug"));
    EXPECT_EQ(kMenuNone, f.Bar().GetCurMenuID());
}

TEST(MenuTracking, AltEntersAndLeavesMenuMode)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    ASSERT_TRUE(f.AltTo(true)) << "Alt did not reach the frame";
    EXPECT_EQ(bar.GetFirstTBMenuButton(), bar.m_nDroppedBtn);
    EXPECT_EQ(f.ButtonOf("&File"), bar.m_nDroppedBtn);
    EXPECT_TRUE(f.Count(TWK_TBN_MENUSELECT));
    EXPECT_TRUE(TWKMenuBarMessages::HasMenuModeHooks());
    EXPECT_TRUE(f.p->m_popups.empty());   // selected, not opened

    // The keyboard hook moves the selection and swallows other keys.
    Tap(VK_RIGHT);
    PumpUntil([&] { return bar.m_nDroppedBtn == f.ButtonOf("&Edit"); });
    EXPECT_EQ(f.ButtonOf("&Edit"), bar.m_nDroppedBtn);
    Tap('Q');
    Pump();
    EXPECT_TRUE(bar.IsInMenuMode());
    EXPECT_EQ(f.ButtonOf("&Edit"), bar.m_nDroppedBtn);
    EXPECT_TRUE(f.p->m_keys.empty());
    EXPECT_TRUE(f.p->m_popups.empty());

    EXPECT_FALSE(f.AltTo(false));
    EXPECT_EQ(-1, bar.m_nDroppedBtn);
    EXPECT_TRUE(f.Count(TWK_TBN_MENUEXIT));
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());
    EXPECT_TRUE(f.p->m_popups.empty());

    // Esc leaves too, Down opens the selection.
    f.AltTo(true);
    Tap(VK_ESCAPE);
    PumpUntil([&] { return !bar.IsInMenuMode(); });
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());
}

TEST(MenuTracking, KeysOpenPopups)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    int nDroppedInPopup = -2;
    BOOL bFilterHook = FALSE;

    // Alt+F drops File with its first item selected.
    {
        Steps steps({ [&] {
            nDroppedInPopup = bar.m_nDroppedBtn;
            bFilterHook = TWKMenuBarMessages::HasMsgFilterHook();
        } });
        Key(VK_MENU, false);
        Tap('F');
        Key(VK_MENU, true);
        PumpUntil([&] { return steps.Next() == 1 && !TWKMenuBarMessages::IsPopupOpen(); });
        EXPECT_EQ(1, Steps::ForcedEnds());
    }
    ASSERT_EQ(1u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(0), f.p->m_popups[0]);
    EXPECT_EQ(f.ButtonOf("&File"), nDroppedInPopup);
    EXPECT_TRUE(bFilterHook);
    ASSERT_FALSE(f.p->m_selected.empty());
    EXPECT_EQ(kCmdNew, f.p->m_selected[0]);
    // The popup over, the button is up and the hook gone; Alt's release was
    // no menu-mode toggle.
    EXPECT_EQ(-1, bar.m_nDroppedBtn);
    EXPECT_FALSE(TWKMenuBarMessages::HasMsgFilterHook());
    Pump();
    EXPECT_FALSE(bar.IsInMenuMode());

    // In menu mode, Down opens the selected menu.
    f.Clear();
    ASSERT_TRUE(f.AltTo(true));
    {
        Steps steps({});
        Tap(VK_DOWN);
        PumpUntil([&] { return !f.p->m_popups.empty() && !TWKMenuBarMessages::IsPopupOpen(); });
    }
    ASSERT_EQ(1u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(0), f.p->m_popups[0]);
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());
}

TEST(MenuTracking, AltUsedWithOtherInputEntersNoMenuMode)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    {
        Steps steps({ [] { Key(VK_MENU, false); }, [] {} });   // one tick for the key to arrive
        bar.PressMenuButton(f.ButtonOf("&Edit"));
    }
    ASSERT_EQ(1u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(1), f.p->m_popups[0]);
    EXPECT_TRUE(f.Feature()->m_bAltUsed);
    Key(VK_MENU, true);
    Pump();
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());
    EXPECT_FALSE(f.Feature()->m_bAltUsed);
    // Nor does an Alt that went with another key or a click.
    Key(VK_MENU, false);
    Tap(VK_F6);
    Key(VK_MENU, true);
    Pump();
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_TRUE(f.AltTo(true));
    f.AltTo(false);
    CRect rectClient;
    ::GetWindowRect(f.p->m_hWndMDIClient, &rectClient);
    Key(VK_MENU, false);
    Mouse(rectClient.CenterPoint(), MOUSEEVENTF_LEFTDOWN);
    Mouse(rectClient.CenterPoint(), MOUSEEVENTF_LEFTUP);
    Key(VK_MENU, true);
    Pump();
    ::SetCursorPos(1000, 900);
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());
    // The next Alt toggles again.
    EXPECT_TRUE(f.AltTo(true));
    f.AltTo(false);
    // The platform may give the release of an Alt a menu closed as a plain
    // key-up: that ends the press too, and the next Alt alone toggles.
    f.Feature()->NoteAltKey();
    MSG msg = { f.p->m_hWnd, WM_KEYUP, VK_MENU, 0xC0380001 };
    EXPECT_FALSE(f.Feature()->PreTranslateMessage(&msg));
    EXPECT_FALSE(f.Feature()->m_bAltUsed);
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_TRUE(f.AltTo(true));
    f.AltTo(false);
}

TEST(MenuTracking, RightMovesToTheNextMenuUnlessItOpensASubmenu)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    HWND hFrame = f.p->m_hWnd;
    int nDroppedAfterMove = -2;
    {
        Steps steps({ [&] { ::PostMessageA(hFrame, WM_KEYDOWN, VK_RIGHT, 0); },
                      [&] { nDroppedAfterMove = bar.m_nDroppedBtn; } });
        bar.PressMenuButton(f.ButtonOf("&File"));
        EXPECT_EQ(1, Steps::ForcedEnds());
    }
    ASSERT_EQ(2u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(0), f.p->m_popups[0]);
    EXPECT_EQ(f.Popup(1), f.p->m_popups[1]);   // the pending drop ran
    EXPECT_EQ(f.ButtonOf("&Edit"), nDroppedAfterMove);
    EXPECT_EQ(-1, bar.m_nDroppedBtn);

    // Left from the first menu goes on to the frame's system menu.
    f.Clear();
    {
        Steps steps({ [&] { ::PostMessageA(hFrame, WM_KEYDOWN, VK_LEFT, 0); } });
        bar.PressMenuButton(f.ButtonOf("&File"));
    }
    ASSERT_EQ(2u, f.p->m_popups.size());
    EXPECT_EQ(::GetSystemMenu(hFrame, FALSE), f.p->m_popups[1]);

    // With "Recent" selected, Right opens its submenu: no move.
    f.Clear();
    HMENU hRecent = ::GetSubMenu(f.Popup(0), 1);
    ASSERT_NE(nullptr, hRecent);
    {
        Steps steps({ [&] { ::PostMessageA(hFrame, WM_KEYDOWN, VK_DOWN, 0); },
                      [&] { ::PostMessageA(hFrame, WM_KEYDOWN, VK_RIGHT, 0); },
                      [&] { nDroppedAfterMove = bar.m_nDroppedBtn; } });
        ASSERT_TRUE(f.KeyMenu('F'));   // from the keyboard: "New" selected
        EXPECT_EQ(1, Steps::ForcedEnds());
    }
    ASSERT_EQ(2u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(0), f.p->m_popups[0]);
    EXPECT_EQ(hRecent, f.p->m_popups[1]);
    EXPECT_EQ(f.ButtonOf("&File"), nDroppedAfterMove);
}

TEST(MenuTracking, AltSpaceDropsTheSystemMenuAtTheCaptionIcon)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    HWND hFrame = f.p->m_hWnd;
    HMENU hSysMenu = ::GetSystemMenu(hFrame, FALSE);
    ASSERT_NE(nullptr, hSysMenu);
    CRect rectWindow;
    f.p->GetWindowRect(&rectWindow);
    CRect rectPopup;
    {
        Steps steps({ [&] {
            if (HWND hPopup = ::FindWindowA("#32768", nullptr))
                ::GetWindowRect(hPopup, &rectPopup);
            ::EndMenu();
        } });
        Key(VK_MENU, false);
        Tap(VK_SPACE);
        Key(VK_MENU, true);
        PumpUntil([&] { return steps.Next() == 1 && !TWKMenuBarMessages::IsPopupOpen(); });
        EXPECT_EQ(0, Steps::ForcedEnds());
    }
    ASSERT_EQ(1u, f.p->m_popups.size());
    EXPECT_EQ(hSysMenu, f.p->m_popups[0]);
    EXPECT_EQ((UINT)SC_CLOSE, ::GetMenuDefaultItem(hSysMenu, FALSE, 0));
    // Below the icon: the caption's top-left button-sized cell inside the frame border.
    EXPECT_EQ(rectWindow.left + ::GetSystemMetrics(SM_CXFRAME), rectPopup.left);
    EXPECT_EQ(rectWindow.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSIZE), rectPopup.top);
    EXPECT_TRUE(f.p->m_sysCommands.empty());

    // Alt+'-' is the key of that character (not Insert, whose code is '-').
    for (WORD vk : { (WORD)VK_OEM_MINUS, (WORD)VK_INSERT }) {
        f.Clear();
        Steps steps({});
        Key(VK_MENU, false);
        Tap(vk);
        Key(VK_MENU, true);
        Pump();
        EXPECT_EQ(vk == VK_OEM_MINUS ? 1u : 0u, f.p->m_popups.size()) << vk;
    }

    // A double-click on the icon while the menu is open closes the frame.
    f.Clear();
    CPoint ptIcon(rectWindow.left + ::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXSIZE) / 2,
                  rectWindow.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSIZE) / 2);
    {
        Steps steps({ [&] {
            ::PostMessageA(hFrame, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptIcon.x, ptIcon.y));
        } });
        ASSERT_TRUE(f.KeyMenu(' '));
        EXPECT_EQ(0, Steps::ForcedEnds());
    }
    Pump();
    EXPECT_EQ(1u, f.p->m_popups.size());
    ASSERT_EQ(1u, f.p->m_sysCommands.size());
    EXPECT_EQ((WPARAM)SC_CLOSE, f.p->m_sysCommands[0]);

    // The click on the icon that the system reports drops it through the bar.
    f.Clear();
    {
        Steps steps({});
        f.p->SendMessage(WM_SYSCOMMAND, 0xF093, MAKELPARAM(ptIcon.x, ptIcon.y));
        EXPECT_EQ(1, Steps::ForcedEnds());
    }
    ASSERT_EQ(1u, f.p->m_popups.size());
    EXPECT_EQ(hSysMenu, f.p->m_popups[0]);
}

TEST(MenuTracking, AButtonWithoutAMenuComesUpAgain)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    const int nView = f.ButtonOf("&View");
    static_cast<TWKTBMenuBtn*>(bar.GetButton(nView))->m_hMenu = (HMENU)(UINT_PTR)0x7DFF;   // no such menu
    bar.PressMenuButton(nView);
    EXPECT_TRUE(f.p->m_popups.empty());
    EXPECT_EQ(-1, bar.m_nDroppedBtn);
    EXPECT_FALSE(bar.GetButtonStyle(nView) & TBBS_PRESSED);
}

TEST(MenuTracking, DeactivationCancelsMenuModeAndAnOpenPopup)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    ASSERT_TRUE(f.AltTo(true));
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               CRect(100, 100, 300, 300), nullptr, 0));
    ::SetActiveWindow(other.m_hWnd);
    Pump();
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());
    other.DestroyWindow();
    ::SetForegroundWindow(f.p->m_hWnd);
    ::SetActiveWindow(f.p->m_hWnd);
    Pump();

    HWND hFrame = f.p->m_hWnd;
    {
        Steps steps({ [&] { ::SendMessageA(hFrame, WM_NCACTIVATE, FALSE, 0); } });
        bar.PressMenuButton(f.ButtonOf("&View"));
        EXPECT_EQ(0, Steps::ForcedEnds());
    }
    EXPECT_EQ(1u, f.p->m_popups.size());
    EXPECT_FALSE(TWKMenuBarMessages::IsPopupOpen());
    EXPECT_EQ(-1, bar.m_nDroppedBtn);
}

// A close that reaches the frame while its popup is open waits for the menu
// to end: the frame goes after the tracking loop, not under it.
TEST(MenuTracking, ACloseDuringAPopupClosesTheFrameAfterTheMenu)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    HWND hFrame = f.p->m_hWnd;
    {
        Steps steps({ [&] { ::PostMessageA(hFrame, WM_CLOSE, 0, 0); } });
        bar.PressMenuButton(f.ButtonOf("&View"));
        EXPECT_EQ(0, Steps::ForcedEnds());
        EXPECT_TRUE(::IsWindow(hFrame));
    }
    EXPECT_FALSE(TWKMenuBarMessages::IsPopupOpen());
    PumpUntil([&] { return !::IsWindow(hFrame); });
    EXPECT_FALSE(::IsWindow(hFrame));
    f.p = nullptr;   // the frame freed itself
}

TEST(MenuTracking, ThePointerMovesBetweenMenus)
{
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    const int nFile = f.ButtonOf("&File"), nEdit = f.ButtonOf("&Edit"), nView = f.ButtonOf("&View");

    // In menu mode the mouse hook lets the pointer select; a click leaves.
    ASSERT_TRUE(f.AltTo(true));
    Mouse(f.ButtonCenter(nView), 0);
    PumpUntil([&] { return bar.m_nDroppedBtn == nView; });
    EXPECT_EQ(nView, bar.m_nDroppedBtn);
    EXPECT_TRUE(f.p->m_popups.empty());
    CRect rectClient;
    ::GetWindowRect(f.p->m_hWndMDIClient, &rectClient);
    Mouse(rectClient.CenterPoint(), MOUSEEVENTF_LEFTDOWN);
    Mouse(rectClient.CenterPoint(), MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return !bar.IsInMenuMode(); });
    EXPECT_FALSE(bar.IsInMenuMode());
    EXPECT_FALSE(TWKMenuBarMessages::HasMenuModeHooks());

    // With a popup open, the pointer on another menu button drops that one.
    int nDroppedAfterMove = -2;
    {
        Steps steps({ [&] { Mouse(f.ButtonCenter(nEdit), 0); },
                      [&] { nDroppedAfterMove = bar.m_nDroppedBtn; } });
        bar.PressMenuButton(nFile);
        EXPECT_EQ(1, Steps::ForcedEnds());
    }
    ::SetCursorPos(1000, 900);
    Pump();
    ASSERT_EQ(2u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(0), f.p->m_popups[0]);
    EXPECT_EQ(f.Popup(1), f.p->m_popups[1]);
    EXPECT_EQ(nEdit, nDroppedAfterMove);
}

TEST(MenuTracking, MnemonicsAbove127FoldEitherCase)
{
    if (::IsDBCSLeadByte(0xE9))
        GTEST_SKIP() << "0xE9 leads a double-byte character in code page " << ::GetACP();
    TrackFrame f;
    ASSERT_TRUE(f.p);
    auto* pView = static_cast<TWKTBMenuBtn*>(f.Bar().GetButton(f.ButtonOf("&View")));
    // A character above 127 (negative as a char) finds its menu either case.
    pView->m_strText = "&\xE9tat";   // "&état"
    pView->UpdateMnemonic();
    char chUpper = (char)(BYTE)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)0xE9);
    for (char ch : { '\xE9', chUpper }) {
        f.Clear();
        Steps steps({});
        EXPECT_TRUE(f.KeyMenu(ch));
        ASSERT_EQ(1u, f.p->m_popups.size()) << (int)(BYTE)ch;
        EXPECT_EQ(f.Popup(2), f.p->m_popups[0]);
    }
}

} // namespace
