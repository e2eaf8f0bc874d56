#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/frames/TWKProgressCtrl.h"
#include "tests/framework/frames/picture_fixture.h"
#include "tests/harness/harness.h"
#include <memory>

namespace {

const COLORREF kDarkBlue = RGB(0, 0, 0x80);
const COLORREF kWhite = RGB(255, 255, 255);

// Remembers the text it was about to draw and counts its paints.
class CProbeProgress : public TWKProgressCtrl
{
public:
    CString m_strDrawn;
    int m_nPaints = 0;
    void OnDrawText(CString& strText) override { m_strDrawn = strText; }
    void Paint(CDC* pDC) override
    {
        m_nPaints++;
        TWKProgressCtrl::Paint(pDC);
    }
};

// A visible top-level window holding one control of cx by cy.
struct Host {
    CWnd wnd;
    CProbeProgress ctrl;
    explicit Host(DWORD dwProgressStyle = TWKPS_DEFAULT, int cx = 200, int cy = 20)
    {
        EXPECT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_BTNFACE + 1)), "Host",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 160, nullptr, nullptr));
        EXPECT_TRUE(ctrl.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + cx, 10 + cy), &wnd, 100, dwProgressStyle));
        vt::PumpMessages();
    }
    ~Host()
    {
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
    }
};

using vt::Picture;

TEST(ProgressCtrl, TextAndPercentage)
{
    struct Case { UINT lower, upper, pos; const char* text; double percent; };
    const Case cases[] = {
        { 0, 100, 50, "50 %", 50.0 },
        { 0, 200, 199, "100 %", 99.5 },   // 99.5 rounds up
        { 0, 100, 150, "100 %", 100.0 },  // above upper
        { 10, 20, 5, "0 %", 0.0 },        // below lower
        { 7, 7, 9, "0 %", 0.0 },          // lower equal to upper
        { 7, 7, 3, "0 %", 0.0 },
    };
    Host host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        host.ctrl.SetRange(c.lower, c.upper);
        host.ctrl.SetPos(c.pos);
        EXPECT_DOUBLE_EQ(c.percent, host.ctrl.GetPercent());
        Picture picture(200, 20);
        host.ctrl.Paint(&picture.dc);
        EXPECT_STREQ(c.text, host.ctrl.m_strDrawn);
    }
    // The own text shows only without the percent style; neither style shows nothing.
    host.ctrl.SetText("Working");
    host.ctrl.SetStyle(TWKPS_TEXT);
    Picture picture(200, 20);
    host.ctrl.Paint(&picture.dc);
    EXPECT_STREQ("Working", host.ctrl.m_strDrawn);
    host.ctrl.m_strDrawn.Empty();
    host.ctrl.SetStyle(0);
    host.ctrl.Paint(&picture.dc);
    EXPECT_TRUE(host.ctrl.m_strDrawn.IsEmpty());
}

TEST(ProgressCtrl, CalcRectsForTheFourDirections)
{
    struct Case { DWORD style; CRect bar, background; };
    // Client 200 x 40 at 25 %: 50 across, 10 down.
    const Case cases[] = {
        { 0, CRect(0, 0, 50, 40), CRect(50, 0, 200, 40) },
        { TWKPS_FROMRIGHT, CRect(150, 0, 200, 40), CRect(0, 0, 150, 40) },
        { TWKPS_VERTICAL, CRect(0, 30, 200, 40), CRect(0, 0, 200, 30) },
        { TWKPS_VERTICAL | TWKPS_FROMTOP, CRect(0, 0, 200, 10), CRect(0, 10, 200, 40) },
    };
    TWKProgressCtrl ctrl;
    ctrl.m_rectClient = CRect(0, 0, 200, 40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        ctrl.m_dwProgressStyle = c.style;
        CRect bar, background;
        EXPECT_TRUE(ctrl.CalcRects(25.0f, bar, background));
        EXPECT_EQ(c.bar, bar);
        EXPECT_EQ(c.background, background);
    }
    // The width is truncated: 33.3 % of 200 is 66.
    ctrl.m_dwProgressStyle = 0;
    CRect bar, background;
    ctrl.CalcRects(100.0f / 3, bar, background);
    EXPECT_EQ(66, bar.right);
}

TEST(ProgressCtrl, TextChangesColourExactlyAtTheBarsEdge)
{
    // The same own text drawn empty, full and half full: left of the edge the
    // half picture is the full one, right of it the empty one.
    Host host(TWKPS_TEXT);
    host.ctrl.SetText("Halfway there");
    auto render = [&](UINT nPos) {
        auto p = std::make_unique<Picture>(200, 20);
        host.ctrl.SetPos(nPos);
        host.ctrl.Paint(&p->dc);
        return p;
    };
    auto empty = render(0), full = render(100), half = render(50);
    int nWhiteOverBar = 0, nBlueOverBackground = 0, nMismatch = 0;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 200; x++) {
            COLORREF c = half->At(x, y);
            if (c != (x < 100 ? full : empty)->At(x, y))
                nMismatch++;
            if (x < 100 && c == kWhite)
                nWhiteOverBar++;
            if (x >= 100 && c == kDarkBlue)
                nBlueOverBackground++;
        }
    EXPECT_EQ(0, nMismatch);
    EXPECT_GT(nWhiteOverBar, 0);
    EXPECT_GT(nBlueOverBackground, 0);
    // The default colours: dark blue bar, white background.
    EXPECT_EQ(kDarkBlue, half->At(1, 1));
    EXPECT_EQ(kWhite, half->At(198, 1));
    EXPECT_EQ(kWhite, empty->At(1, 1));
}

TEST(ProgressCtrl, NativeModeLeavesPaintToTheSystemControl)
{
    Host host(TWKPS_NATIVE);
    host.ctrl.SetRange(0, 100);
    EXPECT_EQ(0u, host.ctrl.SetPos(30));
    EXPECT_EQ(30u, host.ctrl.SetPos(60));
    EXPECT_EQ(60, (int)host.ctrl.SendMessage(PBM_GETPOS));
    EXPECT_EQ(60u, host.ctrl.OffsetPos(5));
    EXPECT_EQ(65, (int)host.ctrl.SendMessage(PBM_GETPOS));
    host.ctrl.m_nPaints = 0;
    host.ctrl.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(0, host.ctrl.m_nPaints);

    // Switching the bit off: the control paints itself, and without erasing.
    host.ctrl.SetStyle(TWKPS_DEFAULT);
    host.ctrl.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(1, host.ctrl.m_nPaints);
    Picture picture(200, 20);
    EXPECT_TRUE(host.ctrl.SendMessage(WM_ERASEBKGND, (WPARAM)picture.dc.m_hDC));
    EXPECT_EQ(vt::kPictureMarker, picture.At(5, 5));

    // Switching it on again tells the system control where the bar stands.
    host.ctrl.SetPos(80);
    host.ctrl.SetStyle(TWKPS_NATIVE);
    EXPECT_EQ(80, (int)host.ctrl.SendMessage(PBM_GETPOS));
}

TEST(ProgressCtrl, UpdateNowPaintsBeforeReturning)
{
    Host host;
    host.ctrl.m_nPaints = 0;
    host.ctrl.SetPos(40, FALSE);
    EXPECT_EQ(0, host.ctrl.m_nPaints);
    host.ctrl.SetPos(50, TRUE);
    EXPECT_EQ(1, host.ctrl.m_nPaints);
    host.ctrl.StepIt(TRUE);
    EXPECT_EQ(60u, host.ctrl.m_nPos);
    EXPECT_EQ(2, host.ctrl.m_nPaints);
    host.ctrl.Reset();
    EXPECT_EQ(0u, host.ctrl.m_nPos);
}

TEST(ProgressCtrl, AutoStepStopsAtUpper)
{
    Host host;
    host.ctrl.SetStep(30);
    ASSERT_TRUE(host.ctrl.SetAutoStep(1));
    DWORD dwStart = ::GetTickCount();
    while (host.ctrl.m_nPos < 100 && ::GetTickCount() - dwStart < 10000)
        vt::PumpMessages(20);
    // 30, 60, 90, 120: the step that passes upper is the last.
    EXPECT_EQ(120u, host.ctrl.m_nPos);
    vt::PumpMessages(50);
    EXPECT_EQ(120u, host.ctrl.m_nPos);
    EXPECT_FALSE(host.ctrl.SetAutoStep(1));

    // Already at upper: refused, and no timer runs.
    host.ctrl.SetPos(100);
    EXPECT_FALSE(host.ctrl.SetAutoStep(1));
    vt::PumpMessages(50);
    EXPECT_EQ(100u, host.ctrl.m_nPos);

    // 0 stops a running timer.
    host.ctrl.SetPos(0);
    ASSERT_TRUE(host.ctrl.SetAutoStep(1));
    EXPECT_TRUE(host.ctrl.SetAutoStep(0));
    vt::PumpMessages(50);
    EXPECT_EQ(0u, host.ctrl.m_nPos);
}

TEST(ProgressCtrl, HiddenControlPaintsNothing)
{
    Host host;
    host.ctrl.SetPos(50);
    host.ctrl.ShowWindow(SW_HIDE);
    Picture hidden(200, 20);
    host.ctrl.Paint(&hidden.dc);
    EXPECT_EQ(vt::kPictureMarker, hidden.At(1, 1));
    EXPECT_EQ(vt::kPictureMarker, hidden.At(198, 1));
    host.ctrl.ShowWindow(SW_SHOW);
    Picture shown(200, 20);
    host.ctrl.Paint(&shown.dc);
    EXPECT_EQ(kDarkBlue, shown.At(1, 1));
}

TEST(ProgressCtrl, SecondCreateFails)
{
    Host host;
    EXPECT_FALSE(host.ctrl.Create(WS_CHILD, CRect(0, 0, 10, 10), &host.wnd, 101));
}

} // namespace
