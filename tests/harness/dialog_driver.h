// Drives the dialog boxes that code under test runs modally on this thread: a thread timer finds
// the box and runs the test's step on it from inside the box's own modal loop.
#pragma once
#include <windows.h>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace uitest {

class DialogDriver {
public:
    // step(box, call) runs once per tick with the call count for that box (0 first); it returns
    // true when it is done with the box, which is then left alone.
    using Step = std::function<bool(HWND, int)>;
    explicit DialogDriver(Step step) : m_step(std::move(step))
    {
        Current() = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &DialogDriver::Tick);
    }
    ~DialogDriver()
    {
        ::KillTimer(nullptr, m_timer);
        Current() = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    int Boxes() const { return (int)m_done.size() + (m_box ? 1 : 0); }

private:
    static DialogDriver*& Current()
    {
        thread_local DialogDriver* current = nullptr;
        return current;
    }
    static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
    {
        auto* self = reinterpret_cast<DialogDriver*>(lParam);
        char cls[64] = "";
        ::GetClassNameA(hWnd, cls, sizeof cls);
        if (std::string(cls) == "#32770" && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd) &&
            !self->m_done.count(hWnd)) {
            self->m_found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = Current();
        if (!self || self->m_busy)
            return;
        self->m_found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &DialogDriver::FindBox, reinterpret_cast<LPARAM>(self));
        if (!self->m_found)
            return;
        if (self->m_found != self->m_box) {
            self->m_box = self->m_found;
            self->m_calls = 0;
        }
        self->m_busy = true;
        bool done = self->m_step(self->m_box, self->m_calls++);
        self->m_busy = false;
        if (done) {
            self->m_done.insert(self->m_box);
            self->m_box = nullptr;
        }
    }

    Step m_step;
    UINT_PTR m_timer = 0;
    HWND m_found = nullptr;
    HWND m_box = nullptr;
    int m_calls = 0;
    bool m_busy = false;
    std::set<HWND> m_done;
};

// The push buttons of a box, in their order.
inline std::vector<HWND> Buttons(HWND box)
{
    std::vector<HWND> buttons;
    for (HWND h = ::GetWindow(box, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[32] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") == 0)
            buttons.push_back(h);
    }
    return buttons;
}

// Posts a key press (down, then up) to a window, as the keyboard would queue it.
inline void PostKey(HWND hWnd, UINT vk)
{
    UINT scan = ::MapVirtualKeyA(vk, 0 /* MAPVK_VK_TO_VSC */);
    ::PostMessageA(hWnd, WM_KEYDOWN, vk, (LPARAM)(1 | (scan << 16)));
    ::PostMessageA(hWnd, WM_KEYUP, vk, (LPARAM)(1 | (scan << 16) | 0xC0000000u));
}

inline std::string WindowText(HWND hWnd)
{
    char buf[2048] = "";
    ::GetWindowTextA(hWnd, buf, sizeof buf);
    return buf;
}

} // namespace uitest
