#include <gtest/gtest.h>
#include "support/ui/IDEHeaderCtrl.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

using P = C_ButtonPainter;

TEST(ButtonPainter, ColourArithmeticTruncatesAndClamps)
{
    struct Case { COLORREF got, expected; const char* what; };
    const COLORREF face = RGB(100, 150, 200);
    const Case cases[] = {
        // The bevel of a raised button.
        {P::Lighten(face, 0.6), RGB(193, 213, 233), "top"},
        {P::Lighten(face, 0.4), RGB(162, 192, 222), "left"},
        {P::Darken(face, 0.6), RGB(40, 60, 80), "bottom"},
        {P::Darken(face, 0.4), RGB(60, 90, 120), "right"},
        {P::Lighten(RGB(255, 255, 255), 0.6), RGB(255, 255, 255), "white top"},
        {P::Darken(RGB(255, 255, 255), 0.6), RGB(102, 102, 102), "white bottom"},
        {P::Darken(RGB(255, 255, 255), 0.4), RGB(153, 153, 153), "white right"},
        // Clamping at both ends.
        {P::Lighten(face, 1.5), RGB(255, 255, 255), "lighten past white"},
        {P::Darken(face, 1.5), RGB(0, 0, 0), "darken past black"},
        {P::ScaleColor(face, 2.0), RGB(200, 255, 255), "scale"},
        {P::ScaleColor(face, 0.333), RGB(33, 49, 66), "scale down"},
        {P::MixColors(RGB(10, 20, 30), 0.5, RGB(100, 200, 250), 0.5), RGB(55, 110, 140), "mix"},
        {P::MixColors(RGB(200, 0, 0), 1.0, RGB(100, 0, 0), 1.0), RGB(255, 0, 0), "mix clamped"},
        {P::AddColors(RGB(100, 200, 5), RGB(100, 100, 5)), RGB(200, 255, 10), "add"},
        {P::SubtractColors(RGB(100, 20, 5), RGB(50, 100, 5)), RGB(50, 0, 0), "subtract"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.got) << c.what;

    P painter;
    EXPECT_EQ(1.0, painter.SetContrast(0.5));
    EXPECT_EQ(0.5, painter.SetContrast(1.0));
    EXPECT_EQ(UINT(DT_CENTER | DT_VCENTER), painter.GetFormat());
    EXPECT_EQ(CSize(0, 0), P::GetImageSize(nullptr, 0));
    EXPECT_EQ(CSize(0, 0), P::GetTextSize(nullptr, nullptr));
}

class HeaderStrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "view", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100,
                       nullptr, nullptr);
        ASSERT_TRUE(strip.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 22), &owner, 7));
    }
    // Each button's heading and its left and right edge in the strip.
    std::vector<std::string> Layout()
    {
        std::vector<std::string> out;
        for (int i = 0; i < strip.GetButtonCount(); ++i) {
            C_IDEHeadButton* b = strip.GetButton(i);
            CRect r;
            b->GetWindowRect(&r);
            strip.ScreenToClient(&r);
            out.push_back(uitest_text(b) + " " + std::to_string(r.left) + "-" + std::to_string(r.right));
        }
        return out;
    }
    static std::string uitest_text(CWnd* w)
    {
        CString s;
        w->GetWindowText(s);
        return (LPCSTR)s;
    }
    CWnd owner;
    C_IDEHeaderCtrl strip;
};

TEST_F(HeaderStrip, InsertShowAndWidthLayOutFromLeftToRight)
{
    ASSERT_TRUE(strip.InsertButton(-1, "A", 10));
    ASSERT_TRUE(strip.InsertButton(-1, "B", 20));
    ASSERT_TRUE(strip.InsertButton(0, "C", 30));
    ASSERT_TRUE(strip.InsertButton(3, "D", 5));
    ASSERT_TRUE(strip.InsertButton(99, "E", 7));
    EXPECT_EQ((std::vector<std::string>{"C 0-30", "A 30-40", "B 40-60", "D 60-65", "E 65-72"}), Layout());

    // Hidden: the next one starts where it started.
    EXPECT_TRUE(strip.ShowButton(1, FALSE));
    EXPECT_EQ((std::vector<std::string>{"C 0-30", "A 30-30", "B 30-50", "D 50-55", "E 55-62"}), Layout());
    EXPECT_TRUE(strip.SetButtonWidth(0, 12));
    EXPECT_TRUE(strip.ShowButton(1, TRUE));
    const std::vector<std::string> settled = {"C 0-12", "A 12-22", "B 22-42", "D 42-47", "E 47-54"};
    EXPECT_EQ(settled, Layout());

    // Out of range: FALSE, nothing changed.
    for (int bad : {-1, 5, 99}) {
        EXPECT_FALSE(strip.SetButtonWidth(bad, 50));
        EXPECT_FALSE(strip.ShowButton(bad, FALSE));
        EXPECT_FALSE(strip.SetButtonColor(bad, RGB(1, 2, 3)));
    }
    EXPECT_EQ(settled, Layout());
    for (int i = 0; i < strip.GetButtonCount(); ++i)
        EXPECT_EQ(COLORREF(0), strip.GetButton(i)->m_crFace);

    // Buttons fill the strip's height; a new size lays them out again.
    CRect r;
    strip.GetButton(0)->GetClientRect(&r);
    EXPECT_EQ(22, r.Height());
    strip.MoveWindow(0, 0, 300, 30);
    strip.GetButton(0)->GetClientRect(&r);
    EXPECT_EQ(30, r.Height());
}

TEST_F(HeaderStrip, AButtonWhoseWindowFailsIsNotKept)
{
    C_IDEHeaderCtrl unmade;   // no window: its buttons cannot be made
    EXPECT_FALSE(unmade.InsertButton(-1, "A", 10));
    EXPECT_EQ(0, unmade.GetButtonCount());
}

TEST_F(HeaderStrip, ButtonDrawsFaceBevelAndText)
{
    ASSERT_TRUE(strip.InsertButton(-1, "Wg", 60));
    C_IDEHeadButton* button = strip.GetButton(0);
    struct Case { COLORREF face, shown, top, left, bottom, right; };
    const Case cases[] = {
        {RGB(100, 150, 200), RGB(100, 150, 200), RGB(193, 213, 233), RGB(162, 192, 222), RGB(40, 60, 80),
         RGB(60, 90, 120)},
        // 0: the context's background colour (white here).
        {0, RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(102, 102, 102), RGB(153, 153, 153)},
    };
    for (const Case& c : cases) {
        button->m_crFace = c.face;
        CDC mem;
        mem.CreateCompatibleDC(nullptr);
        CBitmap bmp;
        bmp.CreateBitmap(60, 20, 1, 32, nullptr);
        CBitmap* old = mem.SelectObject(&bmp);
        mem.SetBkColor(RGB(255, 255, 255));
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = button->m_hWnd;
        dis.hDC = mem.m_hDC;
        dis.rcItem = CRect(0, 0, 60, 20);
        button->DrawItem(&dis);
        auto at = [&](int x, int y) { return mem.GetPixel(x, y) & 0xFFFFFF; };
        EXPECT_EQ(c.top, at(30, 0));
        EXPECT_EQ(c.top, at(58, 0));
        EXPECT_EQ(c.left, at(0, 1));
        EXPECT_EQ(c.left, at(0, 19));
        EXPECT_EQ(c.bottom, at(30, 19));
        EXPECT_EQ(c.right, at(59, 10));
        EXPECT_EQ(c.shown, at(55, 10));   // face right of the left-aligned text
        int ink = 0, inkRight = 0;
        for (int y = 1; y < 19; ++y)
            for (int x = 1; x < 59; ++x) {
                bool black = at(x, y) == RGB(0, 0, 0);
                ink += black;
                inkRight += black && x >= 30;
            }
        EXPECT_GT(ink, 0);
        EXPECT_EQ(0, inkRight);
        mem.SelectObject(old);
    }

    // Through the window: the strip reflects the owner-draw request to the button.
    EXPECT_TRUE(strip.SetButtonColor(0, RGB(100, 150, 200)));
    button->Invalidate();
    button->UpdateWindow();
    HDC dc = ::GetDC(button->m_hWnd);
    EXPECT_EQ(RGB(193, 213, 233), ::GetPixel(dc, 30, 0) & 0xFFFFFF);
    EXPECT_EQ(RGB(100, 150, 200), ::GetPixel(dc, 55, 10) & 0xFFFFFF);
    ::ReleaseDC(button->m_hWnd, dc);
}

} // namespace
