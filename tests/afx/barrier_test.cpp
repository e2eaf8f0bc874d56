// The exception barrier: what a handler or a thread's work throws is reported
// and deleted, and the program goes on.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <memory>

namespace {

enum class Throw { None, Resource, OutOfMemory };

void ThrowIt(Throw what)
{
    if (what == Throw::Resource)
        AfxThrowResourceException();
    if (what == Throw::OutOfMemory)
        throw std::bad_alloc();
}

class CThrowingWnd : public CWnd
{
public:
    Throw onCreate = Throw::None;
    Throw onPaint = Throw::None;
    int paints = 0;
    static int destroyed;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT)
    {
        ThrowIt(onCreate);
        return 0;
    }
    afx_msg void OnPaint()
    {
        ++paints;
        Throw what = onPaint;
        onPaint = Throw::None;   // once: the next paint validates
        ThrowIt(what);
        CPaintDC dc(this);
    }
    afx_msg void OnNcDestroy() { ++destroyed; CWnd::OnNcDestroy(); }
    DECLARE_MESSAGE_MAP()
};
int CThrowingWnd::destroyed = 0;

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

BOOL CreateTop(CWnd& wnd)
{
    return wnd.CreateEx(0, AfxRegisterWndClass(0), "Barrier", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        10, 10, 200, 150, nullptr, nullptr);
}

struct Case {
    Throw what;
    const char* text;
};
const Case kCases[] = {
    {Throw::Resource, "A required resource was unavailable."},
    {Throw::OutOfMemory, "Out of memory."},
};

TEST(Barrier, OnCreateThrowsTheWindowIsNotCreated)
{
    for (const Case& c : kCases) {
        vt::ModalAnswerer answerer;
        CThrowingWnd::destroyed = 0;
        CThrowingWnd wnd;
        wnd.onCreate = c.what;
        EXPECT_FALSE(CreateTop(wnd)) << c.text;
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(1, CThrowingWnd::destroyed);   // the half-made window went away
        ASSERT_EQ(1u, answerer.Count()) << c.text;
        EXPECT_NE(std::string::npos, answerer.Last().text.find(c.text)) << answerer.Last().text;

        // The creation hook was undone: the next window creates and attaches normally.
        CThrowingWnd next;
        ASSERT_TRUE(CreateTop(next));
        EXPECT_EQ(&next, CWnd::FromHandlePermanent(next.m_hWnd));
        next.DestroyWindow();
    }
}

TEST(Barrier, OnPaintThrowsTheWindowLivesOn)
{
    for (const Case& c : kCases) {
        vt::ModalAnswerer answerer;
        CThrowingWnd wnd;
        ASSERT_TRUE(CreateTop(wnd));
        vt::PumpMessages();
        wnd.onPaint = c.what;
        wnd.Invalidate();
        // Through the thread's own pump, as the message loop would.
        while (wnd.onPaint != Throw::None && AfxPumpMessage()) {
        }
        vt::PumpMessages();
        ASSERT_EQ(1u, answerer.Count()) << c.text;
        EXPECT_NE(std::string::npos, answerer.Last().text.find(c.text));
        EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
        EXPECT_GE(wnd.paints, 2);   // painted again after the failed paint
        wnd.DestroyWindow();
    }
}

// The worker answers its own box: a message box is modal on its thread.
struct WorkerState {
    vt::ModalAnswerer* answerer = nullptr;
};

UINT ThrowingWorker(LPVOID p)
{
    auto* state = static_cast<WorkerState*>(p);
    state->answerer = new vt::ModalAnswerer;
    AfxThrowFileException(CFileException::fileNotFound, -1, "missing.asm");
}

TEST(Barrier, WorkerThreadThrowsItEndsWithAFailureCode)
{
    WorkerState state;
    CWinThread* pThread = AfxBeginThread(ThrowingWorker, &state, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    while (::MsgWaitForMultipleObjects(1, &pThread->m_hThread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        vt::PumpMessages();
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeThread(pThread->m_hThread, &code));
    EXPECT_EQ(AFX_THREAD_FAILED, code);
    ASSERT_NE(nullptr, state.answerer);
    ASSERT_EQ(1u, state.answerer->Count());
    EXPECT_NE(std::string::npos, state.answerer->Last().text.find("missing.asm")) << state.answerer->Last().text;
    delete pThread;
}

TEST(CreationHook, AttachesOnlyAWindowOfTheClassItWasSetFor)
{
    AfxRegisterWndClass(0);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = "VtHookWanted";
    ::RegisterClassA(&wc);

    CWnd wnd;
    AfxHookWindowCreate(&wnd, "vthookwanted");   // class names match without case
    HWND other = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND wanted = ::CreateWindowExA(0, "VtHookWanted", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(AfxUnhookWindowCreate());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(other));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wanted));
    ::DestroyWindow(other);
    wnd.DestroyWindow();
}

} // namespace
