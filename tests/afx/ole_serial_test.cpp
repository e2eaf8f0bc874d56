#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

class CTextTarget : public COleDropTarget
{
public:
    std::vector<std::string> events;
    std::string dropped;
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* p, DWORD, CPoint pt) override
    {
        events.push_back("enter");
        enterPoint = pt;
        return p->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY | DROPEFFECT_MOVE : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* p, DWORD, CPoint) override
    {
        events.push_back("over");
        return p->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd*, COleDataObject* p, DROPEFFECT effect, CPoint) override
    {
        events.push_back("drop " + std::to_string(effect));
        if (HGLOBAL h = p->GetGlobalData(CF_TEXT)) {
            dropped = static_cast<const char*>(::GlobalLock(h));
            ::GlobalUnlock(h);
            ::GlobalFree(h);
        }
        return TRUE;
    }
    void OnDragLeave(CWnd*) override { events.push_back("leave"); }
    CPoint enterPoint{-1, -1};
};

HGLOBAL TextGlobal(const char* s)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(s) + 1);
    std::strcpy(static_cast<char*>(::GlobalLock(h)), s);
    ::GlobalUnlock(h);
    return h;
}

struct Fixture {
    CWnd wnd;
    CTextTarget target;
    Fixture()
    {
        EXPECT_TRUE(AfxOleInit());
        EXPECT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Drop", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 100, 100, 300, 200, nullptr, nullptr));
        EXPECT_TRUE(target.Register(&wnd));
    }
};

TEST(Ole, DataSourceToDropTargetThroughTheInterfaces)
{
    Fixture f;
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, TextGlobal("hello drop"));

    CPoint pt(20, 30);
    f.wnd.ClientToScreen(&pt);
    POINTL ptl = {pt.x, pt.y};
    IDropTarget* pTarget = f.target.GetInterface();
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragEnter(source.GetInterface(), MK_LBUTTON, ptl, &effect));
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, effect);   // MOVE is not allowed by the source
    EXPECT_EQ(CPoint(20, 30), f.target.enterPoint);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, ptl, &effect));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->Drop(source.GetInterface(), 0, ptl, &effect));
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, effect);
    EXPECT_EQ("hello drop", f.target.dropped);
    const std::vector<std::string> expected = {"enter", "over", "over", "drop 1"};
    EXPECT_EQ(expected, f.target.events);

    // A source without text is refused.
    COleDataSource other;
    COleDataObject obj;
    obj.Attach(other.GetInterface(), FALSE);
    EXPECT_FALSE(obj.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(nullptr, obj.GetGlobalData(CF_TEXT));

    f.wnd.DestroyWindow();
    EXPECT_EQ(nullptr, f.target.m_pWnd);   // revoked with the window
}

TEST(Ole, DoDragDropInProcessDropsOnTheTarget)
{
    Fixture f;
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, TextGlobal("dragged"));
    CRect rc;
    f.wnd.GetWindowRect(&rc);
    ::SetCursorPos(rc.CenterPoint().x, rc.CenterPoint().y);
    vt::PumpMessages(50);
    // No button is down under the test display: the default source drops at once.
    DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_COPY);
    EXPECT_EQ((DWORD)DROPEFFECT_COPY, effect);
    EXPECT_EQ("dragged", f.target.dropped);
}

TEST(Ole, ADragBeginsOnlyOnceThePointerLeavesTheStartRectangle)
{
    Fixture f;
    CRect rc;
    f.wnd.GetWindowRect(&rc);
    ::SetCursorPos(rc.CenterPoint().x, rc.CenterPoint().y);
    vt::PumpMessages(50);
    f.wnd.SetFocus();
    {
        // Released first: a click, no drag.
        COleDataSource source;
        source.CacheGlobalData(CF_TEXT, TextGlobal("clicked"));
        f.wnd.PostMessage(WM_LBUTTONUP, 0, 0);
        EXPECT_EQ((DWORD)DROPEFFECT_NONE, source.DoDragDrop(DROPEFFECT_COPY));
        EXPECT_TRUE(f.target.events.empty());
        EXPECT_EQ(nullptr, ::GetCapture());
    }
    {
        // A move out of the rectangle starts it; the button is up, so it drops.
        COleDataSource source;
        source.CacheGlobalData(CF_TEXT, TextGlobal("moved"));
        CRect start(rc.CenterPoint(), CSize(1, 1));
        start.InflateRect(4, 4);
        MSG msg = {};
        ::SetCursorPos(rc.CenterPoint().x + 20, rc.CenterPoint().y);
        f.wnd.PostMessage(WM_MOUSEMOVE, 0, 0);   // its point is the cursor's, outside
        EXPECT_EQ((DWORD)DROPEFFECT_COPY, source.DoDragDrop(DROPEFFECT_COPY, &start));
        EXPECT_EQ("moved", f.target.dropped);
        EXPECT_FALSE(::PeekMessageA(&msg, f.wnd.m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
    }
}

TEST(Ole, TheTargetIsRevokedWhenItsWindowGoes)
{
    ASSERT_TRUE(AfxOleInit());
    // A window of the layer's procedure, and one it only wraps.
    for (bool bWrapped : { false, true }) {
        SCOPED_TRACE(bWrapped);
        CWnd wnd;
        HWND hWnd;
        if (bWrapped) {
            hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            ASSERT_TRUE(wnd.Attach(hWnd));
        } else {
            ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Drop", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
            hWnd = wnd.m_hWnd;
        }
        CTextTarget target;
        ASSERT_TRUE(target.Register(&wnd));
        EXPECT_EQ(&wnd, target.m_pWnd);
        EXPECT_FALSE(target.Register(&wnd));
        ::DestroyWindow(hWnd);
        EXPECT_EQ(nullptr, target.m_pWnd);
        if (bWrapped)
            wnd.Detach();
        // Free again for another window.
        CWnd other;
        ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "Drop", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        EXPECT_TRUE(target.Register(&other));
        target.Revoke();
        EXPECT_EQ(nullptr, target.m_pWnd);
        other.DestroyWindow();
    }
}

TEST(Ole, ClipboardAndScrollSettings)
{
    ASSERT_TRUE(AfxOleInit());
    {
        COleDataSource source;
        source.CacheGlobalData(CF_TEXT, TextGlobal("clip"));
        source.SetClipboard();
        COleDataObject obj;
        ASSERT_TRUE(obj.AttachClipboard());
        EXPECT_TRUE(obj.IsDataAvailable(CF_TEXT));
        HGLOBAL h = obj.GetGlobalData(CF_TEXT);
        ASSERT_NE(nullptr, h);
        EXPECT_STREQ("clip", static_cast<const char*>(::GlobalLock(h)));
        ::GlobalUnlock(h);
        ::GlobalFree(h);
    }   // the source flushes the clipboard as it goes
    EXPECT_EQ(11, COleDropTarget::GetScrollInset());
    EXPECT_EQ(50, COleDropTarget::GetScrollDelay());
    EXPECT_EQ(50, COleDropTarget::GetScrollInterval());
}

} // namespace
