// The main frame's answers to input that goes through the whole desktop:
// popup menus (the dock bars' context menu, F1 over a menu item) and the
// keyboard focus (the mouse-wheel hook). They run alone.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "afx/afxres.h"
#include "tests/harness/menu_step.h"
#include <algorithm>

using namespace vt;

namespace {

// Waits on its own thread for the process's popup menu, keeps its command
// ids, posts the keys given and then Escape until the menu has gone.
class MenuWatcher
{
public:
    explicit MenuWatcher(std::vector<UINT> keys = {}) : m_keys(std::move(keys))
    {
        m_hThread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~MenuWatcher()
    {
        Join();
    }
    void Join()
    {
        if (!m_hThread)
            return;
        // The menu loop runs on the test's thread: it goes on while we wait.
        while (::MsgWaitForMultipleObjects(1, &m_hThread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
            PumpMessages();
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    std::vector<int> ids;   // of the first popup seen; empty when none opened

private:
    static DWORD WINAPI Run(LPVOID p)
    {
        static_cast<MenuWatcher*>(p)->Watch();
        return 0;
    }
    static HWND MenuWindow()
    {
        std::vector<HWND> windows;
        ::EnumWindows(detail::CollectMenuWindows, reinterpret_cast<LPARAM>(&windows));
        return windows.empty() ? nullptr : windows.front();
    }
    static void Key(HWND hMenu, UINT vk)
    {
        ::PostMessageA(hMenu, WM_KEYDOWN, vk, 1 | (::MapVirtualKeyA(vk, 0) << 16));
        ::Sleep(200);
    }
    void Watch()
    {
        HWND hMenu = nullptr;
        for (int i = 0; i < 100 && !hMenu; i++) {
            hMenu = MenuWindow();
            if (!hMenu)
                ::Sleep(50);
        }
        if (!hMenu)
            return;
        HMENU hPopup = reinterpret_cast<HMENU>(::SendMessageA(hMenu, 0x01E1 /* MN_GETHMENU */, 0, 0));
        ids = MenuIDs(hPopup);
        for (UINT vk : m_keys)
            Key(hMenu, vk);
        for (int i = 0; i < 20 && (hMenu = MenuWindow()) != nullptr; i++)
            Key(hMenu, VK_ESCAPE);
    }

    std::vector<UINT> m_keys;
    HANDLE m_hThread = nullptr;
};

bool Has(const std::vector<int>& ids, int nID)
{
    return std::find(ids.begin(), ids.end(), nID) != ids.end();
}

// A window with a vertical scroll range that keeps the scroll messages it gets.
class CScrollRecorder : public CWnd
{
public:
    std::vector<std::pair<int, int>> scrolls;   // (code, position)
    BOOL CreateIn(CWnd* pParent)
    {
        return CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10, 10, 200, 200,
                        pParent->m_hWnd, nullptr);
    }
    void SetScroll(int nPos)
    {
        SCROLLINFO si = { sizeof si, SIF_ALL, 0, 100, 10, nPos };
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
        scrolls.clear();
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL)
            scrolls.emplace_back(LOWORD(wParam), HIWORD(wParam));
        if (message == WM_MOUSEWHEEL)
            return 0;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(MainFrameInput, DockBarContextMenuIsTheViewPopup)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    CControlBar* pDockBar = f.p->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(pDockBar);
    {
        MenuWatcher watcher;
        f.p->SendMessage(WM_CONTEXTMENU, (WPARAM)pDockBar->m_hWnd, MAKELPARAM(200, 200));
        watcher.Join();
        EXPECT_TRUE(Has(watcher.ids, ID_VIEW_TOOLBAR));
        EXPECT_TRUE(Has(watcher.ids, ID_VIEW_STATUS_BAR));
        EXPECT_TRUE(Has(watcher.ids, ID_VIEW_BUILD_TOOLBAR));
    }
    {
        // The first item is chosen: its command reaches the frame.
        MenuWatcher watcher({ VK_DOWN, VK_RETURN });
        f.p->SendMessage(WM_CONTEXTMENU, (WPARAM)pDockBar->m_hWnd, MAKELPARAM(200, 200));
        watcher.Join();
        PumpMessages();
        EXPECT_FALSE(f.Visible(IDW_FILE_TOOLBAR));
    }
}

TEST(MainFrameInput, WheelHookPostsScrollMessagesToTheFocusWindow)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    CScrollRecorder rec;
    ASSERT_TRUE(rec.CreateIn(f.p));
    f.p->SetForegroundWindow();
    rec.SetFocus();
    ASSERT_EQ(rec.m_hWnd, ::GetFocus());
    typedef std::vector<std::pair<int, int>> Scrolls;
    struct Case {
        int nPos;
        short nDelta;
        Scrolls expected;
    } cases[] = {
        { 0, 120, { { SB_THUMBPOSITION, 0 } } },
        { 2, 120, { { SB_THUMBPOSITION, 0 } } },
        { 50, 120, { { SB_LINEUP, 0 }, { SB_THUMBPOSITION, 47 } } },
        { 50, -120, { { SB_LINEDOWN, 0 }, { SB_THUMBPOSITION, 53 } } },
        { 91, -120, { { SB_THUMBPOSITION, 94 } } },
    };
    for (const Case& c : cases) {
        rec.SetScroll(c.nPos);
        rec.PostMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)c.nDelta), MAKELPARAM(50, 50));
        PumpMessages();
        EXPECT_EQ(c.expected, rec.scrolls) << c.nPos << " " << c.nDelta;
    }
}

TEST(MainFrameInput, F1OverAMenuItemLeavesTheIdeRunning)
{
    MainFrame f;
    ASSERT_TRUE(f.p);
    f.p->SetForegroundWindow();
    TWKMenuBar* pMenuBar = f.p->GetMenuBar();
    ASSERT_TRUE(pMenuBar);
    int nFile = pMenuBar->GetFirstMenuButton();
    ASSERT_GE(nFile, 0);
    HelpRequests().clear();
    ModalAnswerer answerer;
    MenuWatcher watcher({ VK_DOWN, VK_F1 });
    pMenuBar->PressMenuButton(nFile);
    watcher.Join();
    PumpMessages();
    EXPECT_FALSE(watcher.ids.empty());
    EXPECT_TRUE(::IsWindow(f.hWnd));
    EXPECT_EQ(0u, answerer.Count());
    // The help request went to the application, which has no help to show.
    ASSERT_EQ(1u, HelpRequests().size());
    EXPECT_EQ((UINT)HELP_CONTEXT, HelpRequests()[0].command);
}
