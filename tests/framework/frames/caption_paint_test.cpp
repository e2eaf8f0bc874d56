#include "tests/framework/frames/frames_fixture.h"
#include "tests/framework/frames/picture_fixture.h"
#include "tests/framework/frames/caption_fixture.h"
#include "framework/frames/TWKCaptionPainter.h"
#include <string>
#include <vector>

namespace {

struct Channels { int r, g, b; };
Channels Of(COLORREF c) { return { GetRValue(c), GetGValue(c), GetBValue(c) }; }

// The runs of equal colour along a row, as (start column, colour).
std::vector<std::pair<int, COLORREF>> Runs(const vt::Picture& pic, int y, int x0, int x1)
{
    std::vector<std::pair<int, COLORREF>> runs;
    for (int x = x0; x < x1; ++x) {
        COLORREF c = pic.At(x, y);
        if (runs.empty() || runs.back().second != c)
            runs.emplace_back(x, c);
    }
    return runs;
}

TEST(CaptionPaint, GradientBands)
{
    const COLORREF start = RGB(0, 0, 0), end = RGB(200, 100, 250);
    const struct { int width; int bands; int expectedBands; int bandWidth; } cases[] = {
        { 600, 60, 60, 10 },   // wide: 60 bands
        { 40, 60, 40, 1 },     // narrower than 60: one band per pixel
        { 605, 60, 60, 10 },   // the last band takes the remainder
    };
    for (const auto& c : cases) {
        vt::Picture pic(c.width + 10, 8);
        TWKCaption::FillGradient(&pic.dc, CRect(5, 1, 5 + c.width, 7), c.bands, start, end);
        EXPECT_EQ(vt::kPictureMarker, pic.At(4, 3));
        EXPECT_EQ(vt::kPictureMarker, pic.At(5 + c.width, 3)) << c.width;
        // Channel values step by (end - start) * 256 / n from the start colour, never past the end.
        const int n = c.expectedBands;
        for (int i = 0; i < n; ++i) {
            int x = 5 + i * c.bandWidth;
            Channels got = Of(pic.At(x, 3));
            EXPECT_EQ(std::min(200, (200 * 256 / n) * i / 256), got.r) << c.width << " band " << i;
            EXPECT_EQ(std::min(100, (100 * 256 / n) * i / 256), got.g) << c.width << " band " << i;
            EXPECT_EQ(std::min(250, (250 * 256 / n) * i / 256), got.b) << c.width << " band " << i;
        }
        EXPECT_EQ(pic.At(5 + (n - 1) * c.bandWidth, 3), pic.At(5 + c.width - 1, 3));
        EXPECT_EQ(pic.At(5, 1), pic.At(5, 6));   // the whole height
    }
    vt::Picture none(20, 8);
    TWKCaption::FillGradient(&none.dc, CRect(5, 1, 5, 7), 60, start, end);
    TWKCaption::FillGradient(&none.dc, CRect(9, 1, 5, 7), 60, start, end);
    EXPECT_TRUE(none.Untouched());

    // A falling channel stops at the end colour too.
    vt::Picture down(30, 4);
    TWKCaption::FillGradient(&down.dc, CRect(0, 0, 30, 4), 60, RGB(255, 255, 255), RGB(10, 255, 0));
    EXPECT_EQ(RGB(255, 255, 255), down.At(0, 1));
    Channels last = Of(down.At(29, 1));
    EXPECT_GE(last.r, 10);
    EXPECT_EQ(255, last.g);
}

TEST(CaptionPaint, CaptionRectangleFollowsTheStyle)
{
    const int cxFrame = ::GetSystemMetrics(SM_CXFRAME), cyFrame = ::GetSystemMetrics(SM_CYFRAME);
    const int cxSize = ::GetSystemMetrics(SM_CXSIZE), cySize = ::GetSystemMetrics(SM_CYSIZE);
    const int cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    const struct { DWORD style; bool greyClose; int boxes; int close; } cases[] = {
        { WS_OVERLAPPEDWINDOW, false, 2, 1 },
        { WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, false, 1, 1 },
        { WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, false, 0, 1 },
        { WS_OVERLAPPEDWINDOW, true, 2, 0 },
        { WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, false, 0, 1 },     // no thick frame
    };
    for (const auto& c : cases) {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Caption", c.style, 10, 10, 400, 200, NULL, NULL));
        if (c.greyClose)
            ::EnableMenuItem(::GetSystemMenu(wnd.m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        CRect rc = TWKCaption::GetCaptionRect(&wnd, TRUE);
        int top = cyFrame - ((c.style & WS_THICKFRAME) ? 0 : 1);
        int right = 400 - cxSize - 1 + cxBorder - (c.boxes + c.close - 1) * cxSize - (c.boxes > 0 ? 1 : 0);
        EXPECT_EQ(CRect(cxFrame, top, right, top + cySize), rc) << std::hex << c.style << " grey " << c.greyClose;
        CRect rcOld = TWKCaption::GetCaptionRect(&wnd, FALSE);
        EXPECT_EQ(400 - cxSize - 1, rcOld.right);
        wnd.DestroyWindow();
    }
}

TEST(CaptionPaint, FontsComeFromTheNonClientMetrics)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0));
    vt::MainFrame frame;
    CFont italic, normal;
    ASSERT_TRUE(frame.p->CreateItalicCaptionFont(&italic));
    ASSERT_TRUE(frame.p->CreateCaptionFont(&normal));
    LOGFONTA lfItalic = {}, lfNormal = {};
    italic.GetLogFont(&lfItalic);
    normal.GetLogFont(&lfNormal);
    EXPECT_TRUE(lfItalic.lfItalic);
    EXPECT_EQ(ncm.lfCaptionFont.lfItalic, lfNormal.lfItalic);
    EXPECT_STREQ(ncm.lfCaptionFont.lfFaceName, lfNormal.lfFaceName);
    EXPECT_EQ(ncm.lfCaptionFont.lfHeight, lfItalic.lfHeight);
}

// Text widths as the fonts measure them.
int Width(CFont& font, const char* text)
{
    CClientDC screen(nullptr);
    CFont* pOld = screen.SelectObject(&font);
    CSize size;
    ::GetTextExtentPoint32A(screen.GetSafeHdc(), text, lstrlenA(text), &size);
    screen.SelectObject(pOld);
    return size.cx;
}

TEST(CaptionPaint, TitleSplitAndPlacement)
{
    CFont italic, normal;
    ASSERT_TRUE(TWKCaption::CreateFont(&italic, TRUE));
    ASSERT_TRUE(TWKCaption::CreateFont(&normal, FALSE));
    CClientDC screen(nullptr);
    const int app = Width(italic, "Kelbray IDE ");
    const int doc = Width(normal, "- main.asm");
    const int minimum = Width(normal, "W...");

    const CRect area(20, 0, 620, 18);
    const struct { int align; int left; } placements[] = {
        { 0, 20 + 3 + app }, { 1, 20 + (600 - doc) / 2 }, { 2, 620 - doc }, { 7, 620 - doc },
    };
    for (const auto& p : placements) {
        auto layout = TWKCaption::LayoutTitle(&screen, "Kelbray IDE - main.asm", area, p.align, &italic, &normal);
        EXPECT_STREQ("Kelbray IDE ", (LPCSTR)layout.strApp);
        EXPECT_STREQ("- main.asm", (LPCSTR)layout.strDoc);
        EXPECT_EQ(20 + 3, layout.rcApp.left);
        EXPECT_EQ(p.left, layout.rcDoc.left) << "align " << p.align;
        EXPECT_EQ(620, layout.rcDoc.right);
    }
    // Centred never starts left of the application part.
    auto tight = TWKCaption::LayoutTitle(&screen, "Kelbray IDE - main.asm",
                                         CRect(0, 0, app + minimum + 2, 18), 1, &italic, &normal);
    EXPECT_EQ(tight.rcApp.right, tight.rcDoc.left);
    // Less than the application part plus "W..." leaves the document part out.
    auto narrow = TWKCaption::LayoutTitle(&screen, "Kelbray IDE - main.asm",
                                          CRect(0, 0, app + minimum - 1, 18), 0, &italic, &normal);
    EXPECT_TRUE(narrow.strDoc.IsEmpty());
    auto whole = TWKCaption::LayoutTitle(&screen, "Kelbray IDE", area, 0, &italic, &normal);
    EXPECT_STREQ("Kelbray IDE", (LPCSTR)whole.strApp);
    EXPECT_TRUE(whole.strDoc.IsEmpty());
}

TEST(CaptionPaint, ComposedCaptionColours)
{
    vt::MainFrame frame;
    frame.p->SetWindowText("");
    const int cx = 400, cy = ::GetSystemMetrics(SM_CYSIZE);
    const COLORREF active = ::GetSysColor(COLOR_ACTIVECAPTION), inactive = ::GetSysColor(COLOR_INACTIVECAPTION);

    vt::Picture on(cx, cy);
    TWKCaption::Compose(&on.dc, frame.p, CSize(cx, cy), TRUE, 0, nullptr, nullptr);
    // The icon square: black background at its top-left corner.
    EXPECT_EQ(RGB(0, 0, 0), on.At(0, 0));
    // The text area rises from black to the active caption colour.
    EXPECT_EQ(RGB(0, 0, 0), on.At(cy, cy / 2));
    Channels right = Of(on.At(cx - 1, cy / 2)), target = Of(active);
    EXPECT_NEAR(target.r, right.r, 256 / 60 + 1);
    EXPECT_NEAR(target.g, right.g, 256 / 60 + 1);
    EXPECT_NEAR(target.b, right.b, 256 / 60 + 1);

    vt::Picture off(cx, cy);
    TWKCaption::Compose(&off.dc, frame.p, CSize(cx, cy), FALSE, 0, nullptr, nullptr);
    EXPECT_EQ(inactive, off.At(0, 0));
    EXPECT_EQ(inactive, off.At(cx / 2, cy / 2));
    EXPECT_EQ(inactive, off.At(cx - 1, cy - 1));

    // The title's text is drawn in white on the active caption.
    frame.p->SetWindowText("WWWW");
    vt::Picture text(cx, cy);
    TWKCaption::Compose(&text.dc, frame.p, CSize(cx, cy), TRUE, 0, nullptr, nullptr);
    EXPECT_LE(text.Columns(RGB(255, 255, 255)).first, cy + 3 + 20);
}

TEST(CaptionPaint, CustomCaptionMessages)
{
    auto* p = new vt::CCaptionCounter<TWKMDIFrameWnd>;
    ASSERT_TRUE(p->LoadFrame(vt::kTestFrameID));
    p->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
    vt::ExpectCustomCaptionMessages(p);

    // A region away from the caption: only the default painting.
    CRect rcWindow;
    p->GetWindowRect(&rcWindow);
    HRGN hBottom = ::CreateRectRgn(rcWindow.left, rcWindow.bottom - 3, rcWindow.right, rcWindow.bottom);
    p->m_nDraws = 0;
    p->SendMessage(WM_NCPAINT, (WPARAM)hBottom);
    EXPECT_EQ(0, p->m_nDraws);
    // A region over the caption draws it.
    HRGN hTop = ::CreateRectRgn(rcWindow.left, rcWindow.top, rcWindow.right, rcWindow.top + 10);
    p->SendMessage(WM_NCPAINT, (WPARAM)hTop);
    EXPECT_EQ(1, p->m_nDraws);
    ::DeleteObject(hBottom);
    ::DeleteObject(hTop);

    EXPECT_TRUE(p->EnableCustomCaption(FALSE, TRUE));
    p->m_nDraws = 0;
    p->SendMessage(WM_NCPAINT, 1);
    EXPECT_EQ(0, p->m_nDraws);
    p->DestroyWindow();
}

} // namespace
