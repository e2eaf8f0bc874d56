#include <gtest/gtest.h>
#include "support/ui/TextProgressCtrl.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

const COLORREF kBar = RGB(0, 0, 200);
const COLORREF kBack = RGB(255, 255, 255);
const COLORREF kText = RGB(200, 0, 0);
const COLORREF kBarText = RGB(0, 200, 0);

class CCountingProgress : public CTextProgressCtrl
{
public:
    int paints = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            ++paints;
        return CTextProgressCtrl::WindowProc(message, wParam, lParam);
    }
};

// The client area's pixels, read back from the window.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[(size_t)(y * width + x)]; }
};

Picture Capture(HWND hWnd)
{
    Picture p;
    CRect r;
    ::GetClientRect(hWnd, &r);
    p.width = r.Width();
    p.height = r.Height();
    HDC wdc = ::GetDC(hWnd);
    HDC mdc = ::CreateCompatibleDC(wdc);
    HBITMAP bmp = ::CreateCompatibleBitmap(wdc, p.width, p.height);
    HGDIOBJ old = ::SelectObject(mdc, bmp);
    ::BitBlt(mdc, 0, 0, p.width, p.height, wdc, 0, 0, SRCCOPY);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(::GetPixel(mdc, x, y) & 0xFFFFFF);
    ::SelectObject(mdc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mdc);
    ::ReleaseDC(hWnd, wdc);
    return p;
}

// Where a text drawn centred on one line over the rectangle puts ink, in the given font.
std::vector<bool> TextMask(HFONT font, const char* text, int width, int height)
{
    HDC mdc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(mdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mdc, bmp);
    HGDIOBJ oldFont = ::SelectObject(mdc, font);
    RECT r = {0, 0, width, height};
    ::FillRect(mdc, &r, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::SetBkMode(mdc, TRANSPARENT);
    ::SetTextColor(mdc, RGB(0, 0, 0));
    ::DrawTextA(mdc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::GdiFlush();
    std::vector<bool> mask;
    for (int i = 0; i < width * height; ++i)
        mask.push_back((static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) != 0xFFFFFF);
    ::SelectObject(mdc, oldFont);
    ::SelectObject(mdc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mdc);
    return mask;
}

class TextProgress : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "progress host", WS_POPUP | WS_VISIBLE, 0, 0,
                        400, 60, nullptr, nullptr);
        ASSERT_TRUE(parent.m_hWnd);
        // Plain pixels (no smoothing), so that ink is either there or not.
        LOGFONTA lf = {};
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfQuality = NONANTIALIASED_QUALITY;
        font = ::CreateFontIndirectA(&lf);
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        ::DeleteObject(font);
    }
    void Make(CTextProgressCtrl& bar, int width)
    {
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, width, 24), &parent, 1));
        bar.SetFont(font, FALSE);
        bar.SetBarColor(kBar);
        bar.SetBackColor(kBack);
        bar.SetTextColor(kText);
        bar.SetBarTextColor(kBarText);
    }
    // Checks the picture: the bar's pixels, then the text's ink in the colour of the part it is over.
    void ExpectPicture(HWND hWnd, int barWidth, const char* text)
    {
        ::UpdateWindow(hWnd);
        Picture p = Capture(hWnd);
        std::vector<bool> ink = TextMask(font, text, p.width, p.height);
        int inkSeen = 0, wrong = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const bool overBar = x < barWidth;
                const COLORREF c = p.At(x, y);
                if (ink[(size_t)(y * p.width + x)]) {
                    inkSeen += c == (overBar ? kBarText : kText);
                    wrong += c != (overBar ? kBarText : kText);
                } else {
                    wrong += c != (overBar ? kBar : kBack);
                }
            }
        }
        EXPECT_EQ(0, wrong) << text << " bar " << barWidth;
        EXPECT_GT(inkSeen, 0) << text;
    }
    CWnd parent;
    HFONT font = nullptr;
};

TEST_F(TextProgress, BarWidthAndPercentage)
{
    struct Case { int width, lower, upper, pos, bar; const char* text; };
    const Case cases[] = {
        {201, 0, 100, 50, 100, "50%"},
        {300, 0, 100, 33, 99, "33%"},
        {200, 0, 100, 150, 200, "150%"},   // past the end: clipped by the window
        {200, 100, 200, 125, 50, "25%"},
    };
    for (const Case& c : cases) {
        CTextProgressCtrl bar;
        Make(bar, c.width);
        bar.SetRange(c.lower, c.upper);
        EXPECT_EQ(0, bar.SetPos(c.pos));
        EXPECT_EQ(c.pos, bar.GetPos());
        ExpectPicture(bar.m_hWnd, c.bar, c.text);
        bar.DestroyWindow();
    }
}

TEST_F(TextProgress, WindowTextReplacesThePercentage)
{
    CTextProgressCtrl bar;
    Make(bar, 300);
    bar.SetPos(50);
    bar.SetWindowText("Writing");
    ExpectPicture(bar.m_hWnd, 150, "Writing");
    bar.SetWindowText("");
    ExpectPicture(bar.m_hWnd, 150, "50%");

    // Without text: the two parts alone.
    bar.SetShowText(FALSE);
    bar.UpdateWindow();
    Picture p = Capture(bar.m_hWnd);
    int wrong = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            wrong += p.At(x, y) != (x < 150 ? kBar : kBack);
    EXPECT_EQ(0, wrong);
}

TEST_F(TextProgress, EqualBoundsDrawNothingAndSetPosStaysSafe)
{
    CCountingProgress bar;
    Make(bar, 200);
    bar.SetPos(50);
    ::UpdateWindow(bar.m_hWnd);
    Picture before = Capture(bar.m_hWnd);
    bar.SetRange(10, 10);
    EXPECT_EQ(50, bar.SetPos(60));
    bar.Invalidate();
    ::UpdateWindow(bar.m_hWnd);
    EXPECT_EQ(before.pixels, Capture(bar.m_hWnd).pixels);
    bar.SetRange(20, 10);
    EXPECT_EQ(60, bar.StepIt());
    EXPECT_EQ(61, bar.GetPos());
}

TEST_F(TextProgress, RepaintsOnlyWhenTheBarWidthChanges)
{
    CTextProgressCtrl unmade;
    EXPECT_EQ(-1, unmade.SetPos(40));
    EXPECT_EQ(0, unmade.GetPos());

    CCountingProgress bar;
    Make(bar, 100);
    ::UpdateWindow(bar.m_hWnd);
    bar.SetRange(0, 1000);
    struct Step { int pos; bool paints; };
    const Step steps[] = {{1, true}, {5, false}, {10, true}, {19, false}, {20, true}, {20, false}};
    for (const Step& s : steps) {
        int before = bar.paints;
        bar.SetPos(s.pos);
        EXPECT_EQ(s.paints ? before + 1 : before, bar.paints) << s.pos;
    }
    // A new size forgets the width: the next position repaints even at the same width.
    bar.SetWindowPos(nullptr, 0, 0, 100, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    ::ValidateRect(bar.m_hWnd, nullptr);
    int before = bar.paints;
    bar.SetPos(20);
    EXPECT_EQ(before + 1, bar.paints);
    EXPECT_EQ(1, bar.SetStep(10));
    EXPECT_EQ(20, bar.StepIt());
    EXPECT_EQ(30, bar.OffsetPos(-5));
    EXPECT_EQ(25, bar.GetPos());
}

TEST_F(TextProgress, GetTextFillsOnlyTheBuffer)
{
    CTextProgressCtrl bar;
    Make(bar, 100);
    bar.SetWindowText("Hello");
    struct Case { int size; int result; std::string text; };
    const Case cases[] = {{0, 0, ""}, {1, 0, ""}, {3, 2, "He"}, {6, 5, "Hello"}, {100, 5, "Hello"}};
    for (const Case& c : cases) {
        char buf[128];
        memset(buf, '#', sizeof buf);
        EXPECT_EQ(c.result, (int)bar.SendMessage(WM_GETTEXT, (WPARAM)c.size, (LPARAM)buf)) << c.size;
        if (c.size == 0) {
            EXPECT_EQ('#', buf[0]);
            continue;
        }
        EXPECT_EQ(c.text, std::string(buf));
        EXPECT_EQ('#', buf[c.size]);   // nothing past the buffer
    }
    EXPECT_EQ(0, (int)bar.SendMessage(WM_GETTEXT, 10, 0));
}

TEST(MemDC, CopiesToItsTargetOrDrawsStraightIntoAPrinter)
{
    CDC target;
    target.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    bmp.CreateBitmap(50, 50, 1, 32, nullptr);
    CBitmap* old = target.SelectObject(&bmp);
    target.FillSolidRect(0, 0, 50, 50, RGB(255, 255, 255));

    // Off-screen over the target's clip box, in the target's coordinates.
    target.IntersectClipRect(10, 10, 30, 30);
    {
        CMemDC mem(&target);
        mem.FillSolidRect(0, 0, 50, 50, RGB(0, 255, 0));
        mem.FillSolidRect(12, 12, 5, 5, RGB(255, 0, 0));
        EXPECT_EQ(RGB(255, 255, 255), target.GetPixel(13, 13) & 0xFFFFFF);
    }
    EXPECT_EQ(RGB(255, 0, 0), target.GetPixel(13, 13) & 0xFFFFFF);
    EXPECT_EQ(RGB(255, 0, 0), target.GetPixel(16, 16) & 0xFFFFFF);
    EXPECT_EQ(RGB(0, 255, 0), target.GetPixel(17, 17) & 0xFFFFFF);
    EXPECT_EQ(RGB(0, 255, 0), target.GetPixel(29, 29) & 0xFFFFFF);
    ::SelectClipRgn(target.m_hDC, nullptr);
    EXPECT_EQ(RGB(255, 255, 255), target.GetPixel(30, 30) & 0xFFFFFF);   // outside the clip box
    EXPECT_EQ(RGB(255, 255, 255), target.GetPixel(9, 9) & 0xFFFFFF);
    ::SelectClipRgn(target.m_hDC, nullptr);

    // A printing target is drawn into at once and keeps its handles.
    target.m_bPrinting = TRUE;
    {
        CMemDC mem(&target);
        EXPECT_TRUE(mem.IsPrinting());
        mem.FillSolidRect(30, 30, 5, 5, RGB(0, 0, 255));
        EXPECT_EQ(RGB(0, 0, 255), target.GetPixel(31, 31) & 0xFFFFFF);
    }
    EXPECT_EQ(RGB(0, 0, 255), target.GetPixel(31, 31) & 0xFFFFFF);
    EXPECT_NE(0, ::GetDeviceCaps(target.m_hDC, BITSPIXEL));
    target.m_bPrinting = FALSE;
    target.SelectObject(old);
}

} // namespace
