// One step of choosing a popup menu item by its text, run inside the program that shows the
// menu (menus are readable only there). Shared by the in-process answerer and the menu agent
// that the cross-process answerer loads into the program.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <vector>

namespace vt {
namespace detail {

// A menu item's text as shown: without its accelerator column and with "&" marks removed.
inline std::string ShownText(const char* text)
{
    std::string out;
    for (const char* p = text; *p && *p != '\t'; ++p) {
        if (*p == '&') {
            if (p[1] != '&')
                continue;
            ++p;
        }
        out += *p;
    }
    return out;
}

inline BOOL CALLBACK CollectMenuWindows(HWND hwnd, LPARAM lParam)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

// The Enter that chooses an item is known to have been taken only when the menu's own loop
// took it: another program taking the display's capture or foreground closes a popup menu
// at any moment, and a key still queued then is lost with it.
inline std::atomic<bool>& EnterTaken()
{
    static std::atomic<bool> taken{false};
    return taken;
}

inline LRESULT CALLBACK WatchMenuKeys(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        EnterTaken() = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook lives as long as the thread that set it, and a step may run on a thread that ends
// with the step (the menu agent's): a thread of its own holds it until the menu has closed.
struct EnterWatch {
    DWORD menuThread = 0;
    HHOOK hook = nullptr;
    HANDLE ready = nullptr;
    HANDLE stop = nullptr;
    HANDLE thread = nullptr;
};

inline EnterWatch& TheEnterWatch()
{
    static EnterWatch watch;
    return watch;
}

inline DWORD WINAPI HoldEnterHook(LPVOID param)
{
    auto* watch = static_cast<EnterWatch*>(param);
    watch->hook = SetWindowsHookExA(WH_MSGFILTER, WatchMenuKeys, nullptr, watch->menuThread);
    SetEvent(watch->ready);
    WaitForSingleObject(watch->stop, INFINITE);
    if (watch->hook)
        UnhookWindowsHookEx(watch->hook);
    return 0;
}

inline void StopWatchingEnter()
{
    EnterWatch& watch = TheEnterWatch();
    if (watch.thread) {
        SetEvent(watch.stop);
        WaitForSingleObject(watch.thread, INFINITE);
        CloseHandle(watch.thread);
    }
    if (watch.ready)
        CloseHandle(watch.ready);
    if (watch.stop)
        CloseHandle(watch.stop);
    watch = EnterWatch();
}

// False when no hook could be set (the Enter is then taken on trust).
inline bool WatchEnter(DWORD menuThread)
{
    StopWatchingEnter();
    EnterTaken() = false;
    EnterWatch& watch = TheEnterWatch();
    watch.menuThread = menuThread;
    watch.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watch.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watch.thread = CreateThread(nullptr, 0, HoldEnterHook, &watch, 0, nullptr);
    if (watch.thread)
        WaitForSingleObject(watch.ready, INFINITE);
    return watch.hook != nullptr;
}

inline bool WatchingEnter() { return TheEnterWatch().hook != nullptr; }

// *lastHighlight once the Enter is posted: the step then waits for the menu to close.
const int kEnterPosted = -3;

// Moves the popup menu's highlight one item down per call (the keyboard's way, so the menu
// ends as the user would end it) and presses Enter once the item is highlighted.
// *lastHighlight carries the highlight seen when the last key was posted (-2 at first): while
// it is unchanged that key is still queued and no further key is posted.
// 1: chosen (the menu took the Enter and closed); 0: call again (no menu open yet, the
// highlight still moving, the menu still closing); -1: no such item; 2: the menu closed
// before it took the choice, so whatever opened it must open it again.
inline int MenuStep(const char* text, int* lastHighlight)
{
    std::vector<HWND> windows;
    EnumWindows(CollectMenuWindows, reinterpret_cast<LPARAM>(&windows));
    if (*lastHighlight == kEnterPosted) {
        if (!windows.empty())
            return 0;
        bool taken = EnterTaken() || !WatchingEnter();
        StopWatchingEnter();
        *lastHighlight = -2;
        return taken ? 1 : 2;
    }
    if (windows.empty()) {
        if (*lastHighlight == -2)
            return 0;
        *lastHighlight = -2;
        return 2;
    }
    bool unready = false;
    for (HWND window : windows) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1 /* MN_GETHMENU */, 0, 0));
        int count = menu ? GetMenuItemCount(menu) : 0;
        // A popup window shows before its menu is tied to it: that is no answer yet.
        if (count <= 0)
            unready = true;
        int item = -1, highlight = -1;
        for (int i = 0; i < count; ++i) {
            char buf[256] = "";
            GetMenuStringA(menu, i, buf, sizeof buf, MF_BYPOSITION);
            if (item < 0 && ShownText(buf) == text)
                item = i;
            if (GetMenuState(menu, i, MF_BYPOSITION) & MF_HILITE)
                highlight = i;
        }
        if (item < 0)
            continue;
        if (highlight == *lastHighlight)
            return 0;
        // Enter on an item that opens a submenu leaves the menus open: chosen at once.
        bool closes = highlight == item && !GetSubMenu(menu, item);
        if (closes) {
            // The menu's loop shows each message it takes to the thread's message filters.
            WatchEnter(GetWindowThreadProcessId(window, nullptr));
        }
        UINT key = highlight == item ? VK_RETURN : VK_DOWN;
        LPARAM lParam = 1 | (MapVirtualKeyA(key, 0) << 16);
        PostMessageA(window, WM_KEYDOWN, key, lParam);
        *lastHighlight = closes ? kEnterPosted : highlight;
        return highlight == item && !closes ? 1 : 0;
    }
    return unready ? 0 : -1;
}

// The deepest popup menu that shows: the one none of whose items opens another shown menu
// (the windows' stacking order does not tell a submenu from its parent).
inline HMENU DeepestMenu(const std::vector<HWND>& windows)
{
    std::vector<HMENU> menus;
    for (HWND window : windows)
        menus.push_back(reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1 /* MN_GETHMENU */, 0, 0)));
    for (HMENU menu : menus) {
        bool parent = false;
        for (int i = 0, n = menu ? GetMenuItemCount(menu) : 0; i < n && !parent; ++i)
            for (HMENU other : menus)
                if (other && GetSubMenu(menu, i) == other)
                    parent = true;
        if (menu && !parent)
            return menu;
    }
    return nullptr;
}

// The items of the deepest popup menu that shows; -1 when none shows.
template <class Record>
int DescribeMenu(Record* items, int max)
{
    std::vector<HWND> windows;
    EnumWindows(CollectMenuWindows, reinterpret_cast<LPARAM>(&windows));
    if (windows.empty())
        return -1;
    HMENU menu = DeepestMenu(windows);
    int count = menu ? GetMenuItemCount(menu) : 0;
    if (count > max)
        count = max;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        char buf[256] = "";
        GetMenuStringA(menu, i, buf, sizeof buf, MF_BYPOSITION);
        items[i].id = info.wID;
        items[i].state = info.fState;
        items[i].popup = info.hSubMenu != nullptr;
        lstrcpynA(items[i].text, ShownText(buf).c_str(), sizeof items[i].text);
    }
    return count;
}

} // namespace detail
} // namespace vt
