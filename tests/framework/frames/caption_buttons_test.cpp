#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/frames/TWKCaptionMsgFilter.h"
#include "tests/harness/harness.h"
#include "tests/framework/frames/menu_driver.h"
#include <memory>
#include <string>

namespace {

// A top-level window whose messages go through a filter tree first, as a frame's do.
class FilteredWnd : public CWnd
{
public:
    TWKMsgFilter m_root;
    FilteredWnd() : m_root(this, -1) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (m_root.FilterMessage(message, wParam, lParam, &result) & TWKMsgFilter::resultHandled)
            return result;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct Window {
    FilteredWnd wnd;
    TWKCaptionControlListMsgFilter* pList = nullptr;
    Window(DWORD style, DWORD exStyle, CRuntimeClass* pListClass = RUNTIME_CLASS(TWKCaptionControlListMsgFilter))
    {
        EXPECT_TRUE(wnd.CreateEx(exStyle, AfxRegisterWndClass(0), "Buttons", style, 50, 50, 400, 200, NULL, NULL));
        pList = static_cast<TWKCaptionControlListMsgFilter*>(wnd.m_root.FindFilter(7, pListClass, 0));
    }
    ~Window()
    {
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
    }
    TWKCaptionControlMsgFilter* Button(int nID) const
    {
        return static_cast<TWKCaptionControlMsgFilter*>(pList->FindFilter(nID, nullptr, 0));
    }
    // A point inside a button in screen coordinates.
    CPoint ScreenCentre(int nID) const
    {
        CRect rcWindow;
        wnd.GetWindowRect(&rcWindow);
        CPoint c = Button(nID)->m_rect.CenterPoint();
        return CPoint(rcWindow.left + c.x, rcWindow.top + c.y);
    }
    LPARAM ClientParam(CPoint screen) const
    {
        wnd.ScreenToClient(&screen);
        return MAKELPARAM(screen.x, screen.y);
    }
    int TakeSysCommands(WPARAM* pLast = nullptr)
    {
        int n = 0;
        MSG msg;
        while (::PeekMessageA(&msg, wnd.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
            ++n;
            if (pLast)
                *pLast = msg.wParam;
        }
        return n;
    }
};

// The visible buttons from right to left as "id@left" with the gaps between them.
std::string Arrangement(const Window& w)
{
    std::string out;
    int lastLeft = -1;
    for (int pass = 0; pass < 5; ++pass) {
        // Right to left: find the visible button with the greatest left below lastLeft.
        int best = -1, bestLeft = -1;
        for (int id = 0; id < 5; ++id) {
            CRect rc = w.Button(id)->m_rect;
            if (rc.IsRectEmpty() || (lastLeft >= 0 && rc.left >= lastLeft))
                continue;
            if (rc.left > bestLeft) {
                bestLeft = rc.left;
                best = id;
            }
        }
        if (best < 0)
            break;
        if (lastLeft >= 0)
            out += " gap" + std::to_string(lastLeft - w.Button(best)->m_rect.right) + " ";
        out += std::to_string(best);
        lastLeft = bestLeft;
    }
    return out;
}

TEST(CaptionButtons, LayoutFollowsTheWindowStyle)
{
    const DWORD kCaption = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    const struct { const char* what; DWORD style; DWORD exStyle; int show; const char* expected; bool small; } cases[] = {
        { "tool window", kCaption, WS_EX_TOOLWINDOW, SW_SHOWNA, "0", true },
        { "context help", kCaption, WS_EX_CONTEXTHELP, SW_SHOWNA, "0 gap2 4", false },
        { "boxes", WS_OVERLAPPEDWINDOW, 0, SW_SHOWNA, "0 gap2 2 gap0 1", false },
        { "iconic", WS_OVERLAPPEDWINDOW, 0, SW_SHOWMINNOACTIVE, "0 gap2 2 gap0 3", false },
        { "zoomed", WS_OVERLAPPEDWINDOW, 0, SW_SHOWMAXIMIZED, "0 gap2 3 gap0 1", false },
    };
    for (const auto& c : cases) {
        Window w(c.style, c.exStyle);
        w.wnd.ShowWindow(c.show);
        w.pList->LayoutControls();
        EXPECT_EQ(c.expected, Arrangement(w)) << c.what;

        SIZE size;
        w.pList->GetButtonSize(&size);
        EXPECT_EQ(::GetSystemMetrics(c.small ? SM_CXSMSIZE : SM_CXSIZE) - 2, size.cx) << c.what;
        EXPECT_EQ(::GetSystemMetrics(c.small ? SM_CYSMSIZE : SM_CYSIZE) - 4, size.cy) << c.what;
        RECT rcCaption;
        w.pList->GetCaptionRect(&rcCaption);
        CRect close = w.Button(0)->m_rect;
        EXPECT_EQ(CRect(rcCaption.right - size.cx - 2, rcCaption.top + 2, rcCaption.right - 2,
                        rcCaption.top + 2 + size.cy), close) << c.what;
    }

    // After an iconic restore button a gap follows before the next button.
    Window iconic(WS_OVERLAPPEDWINDOW, 0);
    iconic.wnd.ShowWindow(SW_SHOWMINNOACTIVE);
    auto* pExtra = static_cast<TWKCaptionControlMsgFilter*>(
        iconic.pList->FindFilter(900, RUNTIME_CLASS(TWKCaptionControlMsgFilter), 0));
    iconic.pList->LayoutControls();
    EXPECT_TRUE(pExtra->m_rect.IsRectEmpty());   // no standard kind: the base never shows it

    // The caption geometry without a caption, and the frame kinds.
    Window bare(WS_POPUP | WS_THICKFRAME | WS_SYSMENU, 0);
    RECT rc;
    bare.pList->GetCaptionRect(&rc);
    EXPECT_EQ(::GetSystemMetrics(SM_CXFRAME), rc.left);
    EXPECT_EQ(rc.top, rc.bottom);
    bare.pList->LayoutControls();
    EXPECT_FALSE(bare.Button(0)->m_rect.IsRectEmpty());   // WS_SYSMENU alone shows close
}

TEST(CaptionButtons, MaximizedChildListSitsInTheMenuRow)
{
    Window w(WS_OVERLAPPEDWINDOW, 0, RUNTIME_CLASS(TWKCapConLstMDIMaxChildMsgFilter));
    w.wnd.ShowWindow(SW_SHOWNA);
    w.pList->LayoutControls();
    SIZE size;
    w.pList->GetButtonSize(&size);
    EXPECT_EQ(::GetSystemMetrics(SM_CXMENUSIZE) - 2, size.cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENUSIZE) - 4, size.cy);
    RECT rcCaption;
    w.pList->GetCaptionRect(&rcCaption);
    EXPECT_EQ(rcCaption.top + 2 + ::GetSystemMetrics(SM_CYCAPTION), w.Button(0)->m_rect.top);
}

TEST(CaptionButtons, PressDragAndRelease)
{
    Window w(WS_OVERLAPPEDWINDOW, 0);
    w.wnd.ShowWindow(SW_SHOWNA);
    w.pList->LayoutControls();
    TWKCaptionControlMsgFilter* pClose = w.Button(0);
    const CPoint inside = w.ScreenCentre(0);
    const CPoint outside(inside.x - 150, inside.y + 80);

    // Press, out, back in, release: one click.
    w.wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y));
    EXPECT_TRUE(pClose->m_bTracking);
    EXPECT_TRUE(pClose->m_nState & DFCS_PUSHED);
    EXPECT_EQ(w.wnd.m_hWnd, ::GetCapture());
    w.wnd.SendMessage(WM_MOUSEMOVE, 0, w.ClientParam(outside));
    EXPECT_FALSE(pClose->m_nState & DFCS_PUSHED);
    w.wnd.SendMessage(WM_MOUSEMOVE, 0, w.ClientParam(inside));
    EXPECT_TRUE(pClose->m_nState & DFCS_PUSHED);
    w.wnd.SendMessage(WM_LBUTTONUP, 0, w.ClientParam(inside));
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_FALSE(pClose->m_nState & DFCS_PUSHED);
    WPARAM command = 0;
    EXPECT_EQ(1, w.TakeSysCommands(&command));
    EXPECT_EQ((WPARAM)SC_CLOSE, command);
    EXPECT_EQ(NULL, ::GetCapture());

    // Released outside: nothing.
    w.wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y));
    w.wnd.SendMessage(WM_LBUTTONUP, 0, w.ClientParam(outside));
    EXPECT_EQ(0, w.TakeSysCommands());
    EXPECT_FALSE(pClose->m_bTracking);

    // A right press fires kind 1, which the base ignores; a press elsewhere passes.
    EXPECT_EQ(7u, w.pList->FilterMessage(WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y), nullptr));
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_EQ(0, w.TakeSysCommands());
    DWORD r = w.pList->FilterMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(outside.x, outside.y), nullptr);
    EXPECT_EQ(0u, r);

    // The maximize button sends its own command.
    const CPoint max = w.ScreenCentre(2);
    w.wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(max.x, max.y));
    w.wnd.SendMessage(WM_LBUTTONUP, 0, w.ClientParam(max));
    EXPECT_EQ(1, w.TakeSysCommands(&command));
    EXPECT_EQ((WPARAM)SC_MAXIMIZE, command);
}

TEST(CaptionButtons, GreyedButtonIgnoresThePress)
{
    Window w(WS_OVERLAPPEDWINDOW, 0);
    w.wnd.ShowWindow(SW_SHOWNA);
    ::EnableMenuItem(::GetSystemMenu(w.wnd.m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    w.pList->LayoutControls();
    TWKCaptionControlMsgFilter* pClose = w.Button(0);
    EXPECT_TRUE(pClose->m_nState & DFCS_INACTIVE);
    const CPoint inside = w.ScreenCentre(0);
    DWORD r = w.pList->FilterMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y), nullptr);
    EXPECT_EQ(7u, r);
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_EQ(NULL, ::GetCapture());
}

TEST(CaptionButtons, HoldFiresInsteadOfTheClick)
{
    Window w(WS_OVERLAPPEDWINDOW, 0);
    w.wnd.ShowWindow(SW_SHOWNA);
    w.pList->LayoutControls();
    TWKCaptionControlMsgFilter* pClose = w.Button(0);
    const CPoint inside = w.ScreenCentre(0);

    // Delay 0: the hold fires at the press and ends the tracking; the release fires nothing.
    pClose->m_nHoldDelay = 0;
    w.wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y));
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_EQ(nullptr, pClose->m_pHoldTimer);
    w.wnd.SendMessage(WM_LBUTTONUP, 0, w.ClientParam(inside));
    EXPECT_EQ(0, w.TakeSysCommands());

    // A positive delay: the timer window fires the hold while the button is held.
    pClose->m_nHoldDelay = 30;
    w.wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y));
    ASSERT_NE(nullptr, pClose->m_pHoldTimer);
    HWND hTimer = pClose->m_pHoldTimer->m_hWnd;
    EXPECT_EQ(w.wnd.m_hWnd, ::GetParent(hTimer));
    EXPECT_FALSE(::IsWindowVisible(hTimer));
    // Real mouse input is dropped: while the button holds the capture, a move from
    // wherever an earlier test left the shared cursor would end the hold.
    vt::PumpWithoutMouseUntil([&] { return !pClose->m_bTracking; });
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_EQ(nullptr, pClose->m_pHoldTimer);
    EXPECT_FALSE(::IsWindow(hTimer));
    w.wnd.SendMessage(WM_LBUTTONUP, 0, w.ClientParam(inside));
    EXPECT_EQ(0, w.TakeSysCommands());

    // Leaving the button stops the timer; coming back starts it again.
    w.wnd.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y));
    w.wnd.SendMessage(WM_MOUSEMOVE, 0, w.ClientParam(CPoint(inside.x - 150, inside.y + 80)));
    EXPECT_EQ(nullptr, pClose->m_pHoldTimer);
    w.wnd.SendMessage(WM_MOUSEMOVE, 0, w.ClientParam(inside));
    EXPECT_NE(nullptr, pClose->m_pHoldTimer);
    w.wnd.SendMessage(WM_LBUTTONUP, 0, w.ClientParam(inside));
    EXPECT_EQ(nullptr, pClose->m_pHoldTimer);
    EXPECT_EQ(1, w.TakeSysCommands());
}

TEST(CaptionButtons, CloneGivesIndependentButtons)
{
    Window w(WS_OVERLAPPEDWINDOW, 0);
    w.wnd.ShowWindow(SW_SHOWNA);
    w.pList->LayoutControls();
    w.Button(0)->m_nHoldDelay = 250;
    std::unique_ptr<TWKCaptionControlListMsgFilter> copy(
        static_cast<TWKCaptionControlListMsgFilter*>(w.pList->Clone()));
    ASSERT_EQ(w.pList->m_arrChildren.GetSize(), copy->m_arrChildren.GetSize());
    ASSERT_EQ(5, copy->m_tableControls.GetSize());
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(w.pList->m_tableControls[i], copy->m_tableControls[i]);
        EXPECT_EQ(w.pList->m_tableControls[i]->m_nFilterID, copy->m_tableControls[i]->m_nFilterID);
    }
    auto* pCopied = static_cast<TWKCaptionControlMsgFilter*>(copy->FindFilter(0, nullptr, 0));
    ASSERT_NE(w.Button(0), pCopied);
    EXPECT_EQ(w.Button(0)->m_rect, pCopied->m_rect);
    EXPECT_EQ(250, pCopied->m_nHoldDelay);
    pCopied->m_rect.OffsetRect(5, 5);
    pCopied->m_nState |= DFCS_PUSHED;
    EXPECT_FALSE(w.Button(0)->m_nState & DFCS_PUSHED);
    EXPECT_NE(w.Button(0)->m_rect, pCopied->m_rect);
}

} // namespace
