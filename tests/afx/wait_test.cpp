#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <atomic>

namespace {

constexpr UINT kPing = WM_APP + 17;
std::atomic<int> g_pings{ 0 };

LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == kPing) {
        ++g_pings;
        return (LRESULT)w + 1;
    }
    return DefWindowProcA(h, msg, w, l);
}

HWND MakeCountingWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VtWaitTestWnd";
        registered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowExA(0, "VtWaitTestWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

struct Sender {
    HWND hWnd;
    int count;
    LRESULT sum = 0;
};

DWORD WINAPI SendThenEnd(void* p)
{
    auto* s = static_cast<Sender*>(p);
    for (int i = 0; i < s->count; ++i)
        s->sum += SendMessageA(s->hWnd, kPing, (WPARAM)i, 0);
    return 0;
}

TEST(Wait, ThreadThatSendsToTheWaitingThreadEndsAndEveryMessageIsAnswered)
{
    HWND hWnd = MakeCountingWindow();
    ASSERT_NE(hWnd, nullptr);
    g_pings = 0;
    Sender s{ hWnd, 50 };
    HANDLE hThread = CreateThread(nullptr, 0, SendThenEnd, &s, 0, nullptr);
    ASSERT_NE(hThread, nullptr);
    // A plain wait here would never end: the thread's SendMessage needs this thread.
    EXPECT_EQ(AfxWaitPumping(hThread), AFX_WAIT_DONE);
    EXPECT_EQ(WaitForSingleObject(hThread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(g_pings.load(), 50);
    EXPECT_EQ(s.sum, 50 * 51 / 2);   // each send got its answer
    CloseHandle(hThread);
    DestroyWindow(hWnd);
}

TEST(Wait, PostedMessagesAreDispatchedWhileWaiting)
{
    HWND hWnd = MakeCountingWindow();
    g_pings = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(hWnd, kPing, 0, 0);
    HANDLE hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(AfxWaitPumping(hEvent, nullptr, nullptr, 100), AFX_WAIT_TIMEOUT);
    EXPECT_EQ(g_pings.load(), 3);
    SetEvent(hEvent);
    EXPECT_EQ(AfxWaitPumping(hEvent, nullptr, nullptr, 0), AFX_WAIT_DONE);
    CloseHandle(hEvent);
    DestroyWindow(hWnd);
}

TEST(Wait, ConditionEndsTheWaitOnceAMessageMakesItHold)
{
    HWND hWnd = MakeCountingWindow();
    g_pings = 0;
    PostMessageA(hWnd, kPing, 0, 0);
    auto pinged = [](void*) -> BOOL { return g_pings.load() > 0; };
    EXPECT_EQ(AfxWaitPumping(nullptr, pinged, nullptr), AFX_WAIT_DONE);
    auto never = [](void*) -> BOOL { return FALSE; };
    EXPECT_EQ(AfxWaitPumping(nullptr, never, nullptr, 60), AFX_WAIT_TIMEOUT);
    DestroyWindow(hWnd);
}

TEST(Wait, QuitEndsTheWaitOrIsKeptForTheOuterLoop)
{
    HWND hWnd = MakeCountingWindow();
    HANDLE hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    PostQuitMessage(7);
    EXPECT_EQ(AfxWaitPumping(hEvent, nullptr, nullptr, 2000), AFX_WAIT_QUIT);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    // Through the quit: sends of another thread are still answered until it ends.
    g_pings = 0;
    PostQuitMessage(9);
    Sender s{ hWnd, 5 };
    HANDLE hThread = CreateThread(nullptr, 0, SendThenEnd, &s, CREATE_SUSPENDED, nullptr);
    ResumeThread(hThread);
    EXPECT_EQ(AfxWaitPumping(hThread, nullptr, nullptr, INFINITE, TRUE), AFX_WAIT_DONE);
    EXPECT_EQ(g_pings.load(), 5);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 9u);
    CloseHandle(hThread);
    CloseHandle(hEvent);
    DestroyWindow(hWnd);
}

} // namespace
