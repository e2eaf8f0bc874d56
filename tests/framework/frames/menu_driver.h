// Drives the modal popup menus of the system-command extension from a timer,
// and pumps the queue without real mouse input.
#pragma once
#include "afx/afx.h"
#include <cstring>

namespace vt {

// Ends the next popup menu of this thread from a timer: cancels it, or
// chooses the item with the mnemonic. Records where the menu showed.
struct MenuDriver {
    static MenuDriver*& Current()
    {
        static MenuDriver* s_p = nullptr;
        return s_p;
    }
    char chChoose = 0;   // 0: cancel
    bool bSeen = false;
    RECT rcMenu = {};
    UINT_PTR nTimer = 0;

    explicit MenuDriver(char ch = 0) : chChoose(ch)
    {
        Current() = this;
        nTimer = ::SetTimer(nullptr, 0, 30, &Tick);
    }
    ~MenuDriver()
    {
        ::KillTimer(nullptr, nTimer);
        Current() = nullptr;
    }
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    static BOOL CALLBACK FindMenu(HWND hwnd, LPARAM lParam)
    {
        char cls[16] = {};
        ::GetClassNameA(hwnd, cls, sizeof cls);
        if (std::strcmp(cls, "#32768") == 0 && ::IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(lParam) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        MenuDriver* p = Current();
        if (!p || p->bSeen)
            return;
        HWND hMenu = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindMenu, (LPARAM)&hMenu);
        if (!hMenu)
            return;
        p->bSeen = true;
        ::GetWindowRect(hMenu, &p->rcMenu);
        if (p->chChoose)
            ::PostMessageA(hMenu, WM_CHAR, (WPARAM)(BYTE)p->chChoose, 0);
        else
            ::EndMenu();
    }
};

// Runs the queue until the condition holds (at most 10 s), dropping real
// mouse input: a move of the shared cursor would end a button's hold.
template <class F> void PumpWithoutMouseUntil(F done)
{
    DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < 10000) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const BOOL bMouse = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                                (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK);
            if (!bMouse)
                ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

} // namespace vt
