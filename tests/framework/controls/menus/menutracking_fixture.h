// A main frame with a menu bar for the menu-tracking tests, what it records,
// and the steps a thread timer runs inside modal menu loops.
#pragma once
#include "tests/framework/frame_loader.h"
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/menus/TWKMenuBarFeature.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "tests/harness/harness.h"
#include <functional>
#include <string>
#include <vector>

namespace menutracking {

const UINT kMenuNone = 0x7D40, kMenuSource = 0x7D41, kMenuDisasm = 0x7D42, kMenuSect = 0x7D43, kMenuTwo = 0x7D44;
const UINT kCmdNew = 0x7D50;

// The main frame as the application makes it, recording what the menu code
// does to it; SC_CLOSE is recorded and kept from closing the frame.
class CTrackFrame : public TWKMDIFrameWnd
{
public:
    TWKMDIMenuBar m_menuBar;   // the IDE's kind of bar
    TWKToolBarManager* m_pMgr;
    std::vector<HMENU> m_popups;        // WM_INITMENUPOPUP, in order
    std::vector<UINT> m_selected;       // WM_MENUSELECT items (not the closing one)
    std::vector<int> m_notifyCodes;     // the menu bar's notifications
    std::vector<WPARAM> m_sysCommands;
    std::vector<UINT> m_keys;           // key messages that reached the frame
    CTrackFrame()
    {
        m_pMenuBar = &m_menuBar;
        m_pMgr = new TWKToolBarManager(this, nullptr);
        SetControlBarManager(m_pMgr);
        EnableBmpMenus(TRUE, TRUE);
    }
    TWKMenuBarFeature* Feature() const { return dynamic_cast<TWKMenuBarFeature*>(m_pMenuPlugIn); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_INITMENUPOPUP:
            m_popups.push_back((HMENU)wParam);
            break;
        case WM_MENUSELECT:
            if (HIWORD(wParam) != 0xFFFF || lParam)
                m_selected.push_back(LOWORD(wParam));
            break;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom == m_menuBar.m_hWnd)
                m_notifyCodes.push_back((int)reinterpret_cast<NMHDR*>(lParam)->code);
            break;
        case WM_SYSCOMMAND:
            m_sysCommands.push_back(wParam);
            if ((wParam & 0xFFF0) == SC_CLOSE)
                return 0;
            break;
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_SYSCHAR:
            m_keys.push_back((UINT)wParam);
            break;
        }
        return TWKMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// Steps run one per timer tick inside whatever loop runs; once they are done
// every tick ends an open menu and counts that it had to.
struct Steps {
    static std::vector<std::function<void()>>& List()
    {
        static std::vector<std::function<void()>> list;
        return list;
    }
    static size_t& Next()
    {
        static size_t n = 0;
        return n;
    }
    static int& ForcedEnds()
    {
        static int n = 0;
        return n;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (Next() < List().size()) {
            List()[Next()++]();
        } else if (TWKMenuBarMessages::IsPopupOpen()) {
            ForcedEnds()++;
            ::EndMenu();
        }
    }
    UINT_PTR m_nTimer;
    explicit Steps(std::vector<std::function<void()>> steps)
    {
        List() = std::move(steps);
        Next() = 0;
        ForcedEnds() = 0;
        m_nTimer = ::SetTimer(nullptr, 0, 40, &Tick);
    }
    ~Steps()
    {
        ::KillTimer(nullptr, m_nTimer);
        List().clear();
    }
};

inline void Key(WORD vk, bool bUp)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

// A key pressed and released.
inline void Tap(WORD vk)
{
    Key(vk, false);
    Key(vk, true);
}

// A pointer move (and button flags) to a screen point.
inline void Mouse(POINT pt, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)((pt.x * 65535.0) / (::GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = (LONG)((pt.y * 65535.0) / (::GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof in);
}

// Handles this thread's messages as the application does (pre-translation
// included) until the condition holds or nothing more arrives for a while.
// Messages are taken with PM_REMOVE: a key the keyboard hook swallows leaves
// nothing behind for a waiting GetMessage.
inline void PumpUntil(const std::function<bool()>& done)
{
    for (int nIdle = 0, nRounds = 0; nIdle < 25 && nRounds < 2000 && !done(); nRounds++) {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            // The steps' timer ticks on: it is no sign of activity.
            nIdle = msg.message == WM_TIMER ? nIdle + 1 : 0;
        } else {
            AfxGetApp()->OnIdle(0);
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            nIdle++;
        }
    }
}

inline void Pump()
{
    PumpUntil([] { return false; });
}

struct TrackFrame {
    CTrackFrame* p = nullptr;
    TWKToolBarManager* pMgr = nullptr;
    TrackFrame()
    {
        p = new CTrackFrame;
        pMgr = p->m_pMgr;
        p = vt::LoadDockingFrame(p, kMenuNone);
        if (!p)
            return;
        pMgr->SetMenuInfo(5, kMenuNone, kMenuSource, kMenuDisasm, kMenuSect, kMenuTwo);
        pMgr->SetDefaultDockState();
        p->SwapMenu((UINT)-1);
        p->SetWindowPos(nullptr, 40, 40, 700, 500, SWP_SHOWWINDOW);
        // The pointer waits outside the frame, where popups never open.
        ::SetCursorPos(1000, 900);
        ::SetForegroundWindow(p->m_hWnd);
        ::SetActiveWindow(p->m_hWnd);
        ::SetFocus(p->m_hWnd);
        Pump();
        Clear();
    }
    ~TrackFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        delete pMgr;
        Pump();
    }
    TWKMenuBar& Bar() const { return p->m_menuBar; }
    TWKMenuBarFeature* Feature() const { return p->Feature(); }
    POINT ButtonCenter(int nIndex) const
    {
        CRect rect;
        Bar().GetItemRect(nIndex, &rect);
        Bar().ClientToScreen(&rect);
        return rect.CenterPoint();
    }
    HMENU Popup(int nIndex) const { return ::GetSubMenu(p->GetDefaultMenu(), nIndex); }
    int ButtonOf(const char* pszText) const
    {
        for (int i = 0; i < Bar().GetButtonCount(); i++)
            if (!(Bar().GetButtonStyle(i) & TBBS_HIDDEN)
                && static_cast<TWKTBMenuBtn*>(Bar().GetButton(i))->m_strText == pszText)
                return i;
        return -1;
    }
    void Clear()
    {
        p->m_popups.clear();
        p->m_selected.clear();
        p->m_notifyCodes.clear();
        p->m_sysCommands.clear();
        p->m_keys.clear();
    }
    // Taps Alt and waits for menu mode to be on or off; says whether it is on.
    bool AltTo(bool bOn)
    {
        Tap(VK_MENU);
        PumpUntil([&] { return (Bar().IsInMenuMode() != FALSE) == bOn; });
        return Bar().IsInMenuMode() != FALSE;
    }
    // A mnemonic request as the keyboard hook makes it.
    BOOL KeyMenu(char ch)
    {
        MSG msg = { p->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, (LPARAM)(BYTE)ch };
        return Feature()->PreTranslateMessage(&msg);
    }
    int Count(int nCode) const
    {
        int n = 0;
        for (int c : p->m_notifyCodes)
            n += c == nCode;
        return n;
    }
};

} // namespace menutracking
