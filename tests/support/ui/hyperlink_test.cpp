#include <gtest/gtest.h>
#include "support/ui/HyperLinkStatic.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

const UINT kLinkId = 1234;

class CLinkOwner : public CWnd
{
public:
    std::vector<WPARAM> clicks;
protected:
    afx_msg LRESULT OnLinkClicked(WPARAM wParam, LPARAM)
    {
        clicks.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLinkOwner, CWnd)
    ON_MESSAGE(CU_WM_LINK_CLICKED, OnLinkClicked)
END_MESSAGE_MAP()

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "about", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100,
                       nullptr, nullptr);
        hStatic = ::CreateWindowA("STATIC", "Visit us", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, owner.m_hWnd,
                                  (HMENU)(UINT_PTR)kLinkId, ::GetModuleHandleA(nullptr), nullptr);
        ::SendMessageA(hStatic, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        ASSERT_TRUE(link.SubclassWindow(hStatic));
    }
    // The text colour the link asks for when its parent is asked to colour it.
    COLORREF Colour()
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        LRESULT brush = owner.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hStatic);
        EXPECT_EQ((LRESULT)::GetStockObject(NULL_BRUSH), brush);
        EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
        COLORREF c = ::GetTextColor(dc);
        ::DeleteDC(dc);
        return c;
    }
    std::string Text()
    {
        char buf[64] = "";
        ::GetWindowTextA(hStatic, buf, sizeof buf);
        return buf;
    }
    void MoveTo(int x, int y) { ::SendMessageA(hStatic, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void Click()
    {
        ::SendMessageA(hStatic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(hStatic, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    std::string TipText()
    {
        char buf[80] = "";
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        ti.hwnd = hStatic;
        ti.uId = C_HyperLinkStatic::TOOLTIP_ID;
        ti.lpszText = buf;
        link.GetToolTip().SendMessage(TTM_GETTEXTA, sizeof buf, (LPARAM)&ti);
        return buf;
    }
    CLinkOwner owner;
    C_HyperLinkStatic link;
    HWND hStatic = nullptr;
};

TEST_F(HyperLink, AttachingUnderlinesAndKeepsTheText)
{
    LOGFONTA lf = {};
    ::GetObjectA((HFONT)::SendMessageA(hStatic, WM_GETFONT, 0, 0), sizeof lf, &lf);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_NE(0, ::GetWindowLongA(hStatic, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ("Visit us", Text());
    link.SetLinkText("Home page");
    EXPECT_EQ("Home page", Text());
    EXPECT_STREQ("Home page", link.GetLinkText());
}

TEST_F(HyperLink, ColourFollowsHoverAndVisited)
{
    link.SetNotifyParent(TRUE);
    link.SetVisitedColor(RGB(1, 2, 3));
    struct Step { const char* what; int action; bool hover; COLORREF colour; };
    enum { kNone, kIn, kOut, kClick };
    const Step steps[] = {
        {"start", kNone, false, RGB(0, 0, 255)},
        {"mouse over", kIn, true, RGB(255, 0, 0)},
        {"still over", kIn, true, RGB(255, 0, 0)},
        {"mouse off", kOut, false, RGB(0, 0, 255)},
        {"clicked", kClick, false, RGB(1, 2, 3)},
        {"over, visited", kIn, true, RGB(1, 2, 3)},
        {"off, visited", kOut, false, RGB(1, 2, 3)},
    };
    for (const Step& s : steps) {
        if (s.action == kIn)
            MoveTo(5, 5);
        else if (s.action == kOut)
            MoveTo(-5, 40);
        else if (s.action == kClick)
            Click();
        EXPECT_EQ(s.hover, link.IsHovering() != FALSE) << s.what;
        EXPECT_EQ(s.colour, Colour()) << s.what;
        // The link holds the mouse while it hovers.
        EXPECT_EQ(s.hover, ::GetCapture() == hStatic) << s.what;
    }
}

TEST_F(HyperLink, HandCursor)
{
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_TRUE(::SendMessageA(hStatic, WM_SETCURSOR, (WPARAM)hStatic, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    ASSERT_NE(nullptr, link.GetLinkCursor());
    EXPECT_EQ(link.GetLinkCursor(), ::GetCursor());
    const bool systemHand = link.GetLinkCursor() == ::LoadCursorA(nullptr, IDC_HAND);
    std::printf("link cursor: %s\n", systemHand ? "the system's hand" : "cursor 106 of Winhlp32.exe");
}

TEST_F(HyperLink, ClickWithNotifyTellsTheParentAndOpensNothing)
{
    vt::TempDir dir;
    link.SetURL(dir.File("missing.kel").c_str());
    EXPECT_FALSE(link.GotoURL(link.GetURL()));

    link.SetNotifyParent(TRUE);
    Click();
    ASSERT_EQ(1u, owner.clicks.size());
    EXPECT_EQ((WPARAM)kLinkId, owner.clicks[0]);
    EXPECT_TRUE(link.IsVisited());
}

TEST_F(HyperLink, ToolTipTextOnlyOnceEnabled)
{
    link.SetToolTipText("Opens the web site");
    EXPECT_EQ("", TipText());
    link.EnableToolTip(TRUE);
    link.SetToolTipText("Opens the web site");
    EXPECT_EQ("Opens the web site", TipText());
    link.SetToolTipTextColor(RGB(10, 20, 30));
    link.SetToolTipBkColor(RGB(200, 210, 220));
    EXPECT_EQ(RGB(10, 20, 30), link.GetToolTip().GetTipTextColor());
    EXPECT_EQ(RGB(200, 210, 220), link.GetToolTip().GetTipBkColor());
}

} // namespace
