#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKProgressCtrl.h"
#include "framework/frames/TWKStatusBar.h"
#include "tests/framework/frames/picture_fixture.h"
#include <vector>

namespace {

// The IDE's panes: message, progress, icon, caret position, caps, overwrite, num.
const UINT kIndicators[] = { 0, ID_INDICATOR_EXT, ID_INDICATOR_LAST, 0, ID_INDICATOR_CAPS, ID_INDICATOR_OVR,
                             ID_INDICATOR_NUM };
const int kPanes = 7;

// Counts the texts sent to the status window.
class CCountingStatusBar : public TWKCustomStatusBar
{
public:
    int m_nSetText = 0;
    LPARAM m_lLastText = 0;
    WPARAM m_wLastText = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SB_SETTEXT) {
            m_nSetText++;
            m_wLastText = wParam;
            m_lLastText = lParam;
        }
        return TWKCustomStatusBar::WindowProc(message, wParam, lParam);
    }
};

// Updates two panes through command UI.
class CStatusFrame : public vt::CTestMainFrame
{
public:
    BOOL m_bOverwrite = FALSE;
    void OnUpdateExt(CCmdUI* pCmdUI)
    {
        pCmdUI->SetText("Busy");
        pCmdUI->SetCheck(1);
    }
    void OnUpdateOvr(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bOverwrite); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStatusFrame, vt::CTestMainFrame)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_EXT, OnUpdateExt)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, OnUpdateOvr)
END_MESSAGE_MAP()

using vt::Picture;

CBitmap* SolidBitmap(CBitmap& bitmap, int cx, int cy, COLORREF clr)
{
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, cx, cy);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, cx, cy, clr);
    dc.SelectObject(pOld);
    return &bitmap;
}

// The main frame as the IDE builds it: the custom status bar with the
// IDE's seven panes, then docking, then the IDE's three bars.
class StatusBarTest : public testing::Test
{
protected:
    CStatusFrame* frame = nullptr;
    CCountingStatusBar* bar = nullptr;
    CFont font;

    void SetUp() override
    {
        frame = new CStatusFrame;
        ASSERT_TRUE(frame->LoadFrame(vt::kTestFrameID));
        bar = new CCountingStatusBar;
        bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(bar->Create(frame));
        LOGFONTA lf = {};
        lf.lfHeight = -12;
        lstrcpyA(lf.lfFaceName, "Tahoma");
        font.CreateFontIndirect(&lf);
        bar->SetFont((HFONT)font.GetSafeHandle());
        ASSERT_TRUE(bar->SetIndicators(kIndicators, kPanes));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        for (UINT nID : { 0xE704u, 0xE703u, 0xE705u }) {
            auto* p = new TWKControlBar;
            p->m_bAutoDelete = TRUE;
            ASSERT_TRUE(p->Create(frame, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, nID));
            p->EnableDocking(CBRS_ALIGN_ANY);
            frame->DockControlBarAt(p, nID == 0xE704 ? AFX_IDW_DOCKBAR_BOTTOM : AFX_IDW_DOCKBAR_LEFT,
                                    nID == 0xE705 ? 1 : 0, 0, nID == 0xE705 ? 0.25f : 0.75f, 130);
        }
        frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        frame->RecalcLayout();
        vt::PumpMessages();
    }
    void TearDown() override
    {
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
    }
    int TextWidth(const CString& str)
    {
        CClientDC dc(nullptr);
        HGDIOBJ hOld = dc.SelectObject(font.GetSafeHandle());
        int cx = dc.GetTextExtent(str).cx;
        dc.SelectObject(hOld);
        return cx;
    }
    static CString Indicator(UINT nID)
    {
        CString str;
        if (!str.LoadString(nID) || str.IsEmpty())
            str = "  ";
        return str;
    }
    std::vector<int> Parts()
    {
        std::vector<int> parts(32);
        parts.resize((size_t)bar->SendMessage(SB_GETPARTS, 32, (LPARAM)parts.data()));
        return parts;
    }
    int Gap()
    {
        int rg[3] = {};
        bar->SendMessage(SB_GETBORDERS, 0, (LPARAM)rg);
        return rg[2];
    }
    CRect InFrame(CWnd* p)
    {
        CRect r;
        p->GetWindowRect(&r);
        frame->ScreenToClient(&r);
        return r;
    }
    CRect InBar(CWnd* p)
    {
        CRect r;
        p->GetWindowRect(&r);
        bar->ScreenToClient(&r);
        return r;
    }
    // Draws pane i into a picture through the owner-draw path.
    void DrawPane(Picture& picture, int i, const CRect& rect)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_STATIC;
        dis.itemID = (UINT)i;
        dis.hwndItem = bar->m_hWnd;
        dis.hDC = picture.dc.m_hDC;
        dis.rcItem = rect;
        bar->DrawItem(&dis);
    }
};

TEST_F(StatusBarTest, IsTheFramesMessageBarAtTheBottom)
{
    // Found as the IDE's views find it, and the permanent object comes back.
    HWND hFound = ::FindWindowExA(frame->m_hWnd, nullptr, "msctls_statusbar32", nullptr);
    ASSERT_EQ(bar->m_hWnd, hFound);
    EXPECT_EQ(bar, CWnd::FromHandle(hFound));
    EXPECT_EQ(AFX_IDW_STATUS_BAR, bar->GetDlgCtrlID());
    EXPECT_EQ(bar, frame->GetMessageBar());
    EXPECT_EQ(bar, frame->GetControlBar(AFX_IDW_STATUS_BAR));
    EXPECT_EQ(nullptr, bar->m_pDockBar);

    // Pane ids and window ids are apart: 0xE704 is a pane and another bar.
    EXPECT_EQ(5, bar->CommandToIndex(0xE704));
    CControlBar* pOutput = frame->GetControlBar(0xE704);
    ASSERT_NE(nullptr, pOutput);
    EXPECT_NE(static_cast<CControlBar*>(bar), pOutput);
    EXPECT_EQ(-1, bar->CommandToIndex(0xE705));

    // At the very bottom, below the bottom dock bar, as high as its font asks.
    CRect rectClient, rectBar = InFrame(bar);
    frame->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.bottom, rectBar.bottom);
    EXPECT_EQ(rectClient.left, rectBar.left);
    EXPECT_EQ(rectClient.right, rectBar.right);
    EXPECT_EQ(bar->CalcFixedLayout(TRUE, TRUE).cy, rectBar.Height());
    CRect rectDock = InFrame(frame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(rectBar.top, rectDock.bottom);
    TEXTMETRICA tm = {};
    {
        CClientDC dc(nullptr);
        HGDIOBJ hOld = dc.SelectObject(font.GetSafeHandle());
        dc.GetTextMetrics(&tm);
        dc.SelectObject(hOld);
    }
    EXPECT_GE(rectBar.Height(), tm.tmHeight - tm.tmInternalLeading);
}

TEST_F(StatusBarTest, PanesAreMeasuredAndLaidOut)
{
    int cxQuarter = ::GetSystemMetrics(SM_CXSCREEN) / 4;
    for (int i = 0; i < kPanes; i++) {
        SCOPED_TRACE(i);
        UINT nID, nStyle;
        int cx;
        bar->GetPaneInfo(i, nID, nStyle, cx);
        EXPECT_EQ(kIndicators[i], nID);
        if (kIndicators[i] == 0) {
            EXPECT_EQ(cxQuarter, cx);
            EXPECT_EQ(i == 0 ? UINT(SBPS_NOBORDERS | SBPS_STRETCH) : 0u, nStyle);
            if (i) {
                EXPECT_STREQ("", bar->GetPaneText(i));
            }
        } else {
            CString str = Indicator(kIndicators[i]);
            EXPECT_STREQ(str, bar->GetPaneText(i));
            EXPECT_EQ(TextWidth(str), cx);
        }
    }
    // Pane 2 has no string: two blanks.
    EXPECT_STREQ("  ", bar->GetPaneText(2));

    // The IDE's widths; then the parts: each fixed pane its width + 6, the
    // first pane stretches to fill the bar up to the size grip.
    bar->SetPaneInfo(3, 0, 0, 150);
    bar->SetPaneInfo(2, ID_INDICATOR_LAST, 0, 16);
    std::vector<int> parts = Parts();
    ASSERT_EQ((size_t)kPanes, parts.size());
    int nGap = Gap();
    for (int i = 1; i < kPanes; i++) {
        UINT nID, nStyle;
        int cx;
        bar->GetPaneInfo(i, nID, nStyle, cx);
        EXPECT_EQ(parts[i - 1] + nGap + cx + 6, parts[i]) << i;
    }
    CRect rectBar;
    bar->GetWindowRect(&rectBar);
    ASSERT_TRUE(bar->GetStyle() & SBARS_SIZEGRIP);
    int rg[3] = {};
    bar->SendMessage(SB_GETBORDERS, 0, (LPARAM)rg);
    int nGrip = 2 * ::GetSystemMetrics(SM_CXBORDER) + rg[0] + ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(rectBar.Width() - nGrip, parts[kPanes - 1]);

    // A wider frame gives the extra width to pane 0 only.
    int nFirst = parts[0];
    frame->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    vt::PumpMessages();
    parts = Parts();
    EXPECT_EQ(nFirst + 100, parts[0]);
}

TEST_F(StatusBarTest, TextsReachTheWindowOnlyWhenTheyChange)
{
    bar->m_nSetText = 0;
    EXPECT_TRUE(bar->SetPaneText(3, "Ln 1, Col 1"));
    EXPECT_EQ(1, bar->m_nSetText);
    // Every pane is owner-drawn: the drawing type carries SBT_OWNERDRAW.
    EXPECT_EQ((WPARAM)(SBT_OWNERDRAW | 3), bar->m_wLastText);
    EXPECT_TRUE(bar->SetPaneText(3, "Ln 1, Col 1"));
    EXPECT_EQ(1, bar->m_nSetText);
    EXPECT_TRUE(bar->SetPaneText(3, "Ln 1, Col 2"));
    EXPECT_EQ(2, bar->m_nSetText);
    // Without update a new text waits; the next update sends it though unchanged.
    EXPECT_TRUE(bar->SetPaneText(3, "Ln 2, Col 2", FALSE));
    EXPECT_EQ(2, bar->m_nSetText);
    EXPECT_TRUE(bar->SetPaneText(3, "Ln 2, Col 2"));
    EXPECT_EQ(3, bar->m_nSetText);
    // NULL counts as empty.
    bar->SetPaneText(5, "");
    int n = bar->m_nSetText;
    EXPECT_TRUE(bar->SetPaneText(5, nullptr));
    EXPECT_EQ(n, bar->m_nSetText);
    // A waiting text goes out with the next paint.
    bar->SetPaneText(3, "Ln 9, Col 9", FALSE);
    bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(n + 1, bar->m_nSetText);
    EXPECT_STREQ("Ln 9, Col 9", bar->GetPaneText(3));
}

TEST_F(StatusBarTest, DisabledPaneShowsNoText)
{
    bar->SetPaneText(3, "Ln 3, Col 4");
    bar->SetPaneStyle(3, bar->GetPaneStyle(3) | SBPS_DISABLED);
    EXPECT_EQ(0, bar->m_lLastText);
    EXPECT_EQ((WPARAM)(SBT_OWNERDRAW | 3), bar->m_wLastText);
    Picture picture(120, 24);
    DrawPane(picture, 3, CRect(0, 0, 120, 24));
    EXPECT_TRUE(picture.Untouched());
    // Enabled again, the text is drawn.
    bar->SetPaneStyle(3, bar->GetPaneStyle(3) & ~SBPS_DISABLED);
    EXPECT_NE(0, bar->m_lLastText);
    TWKStatusPaneInfo info;
    info.nIndex = 3;
    info.clrText = RGB(255, 0, 0);
    info.dwMask = TWKSB_TEXTCOLOR;
    bar->SetPaneInfoEx(&info, FALSE);
    DrawPane(picture, 3, CRect(0, 0, 120, 24));
    EXPECT_LE(picture.Columns(RGB(255, 0, 0)).first, 20);
}

TEST_F(StatusBarTest, OwnerDrawnColoursAlignmentAndBitmap)
{
    const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);
    struct Case { UINT nAlign; int nMinFrom, nMinTo, nMaxFrom, nMaxTo; };
    const Case cases[] = {
        { TA_LEFT, 0, 6, 10, 90 },
        { TA_RIGHT, 110, 190, 190, 199 },
        { TA_CENTER, 20, 99, 100, 180 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nAlign);
        TWKStatusPaneInfo info;
        info.nIndex = 3;
        info.strText = "WWWW";
        info.clrText = kRed;
        info.clrBackground = kGreen;
        info.nAlign = c.nAlign;
        info.dwMask = TWKSB_TEXT | TWKSB_TEXTCOLOR | TWKSB_BKCOLOR | TWKSB_ALIGN;
        bar->SetPaneInfoEx(&info, FALSE);
        Picture picture(200, 20);
        DrawPane(picture, 3, CRect(0, 0, 200, 20));
        auto red = picture.Columns(kRed);
        EXPECT_GE(red.first, c.nMinFrom);
        EXPECT_LE(red.first, c.nMinTo);
        EXPECT_GE(red.second, c.nMaxFrom);
        EXPECT_LE(red.second, c.nMaxTo);
        // The background colour fills the item opaquely, within it only.
        EXPECT_EQ(kGreen, picture.At(0, 0));
        EXPECT_EQ(kGreen, picture.At(199, 19));
        if (c.nAlign == TA_CENTER) {
            EXPECT_NEAR(100, (red.first + red.second) / 2, 3);
        }
    }
    TWKStatusPaneInfo got;
    got.nIndex = 3;
    bar->GetPaneInfoEx(&got);
    EXPECT_EQ((DWORD)(TWKSB_TEXTCOLOR | TWKSB_BKCOLOR | TWKSB_ALIGN), got.dwMask);
    EXPECT_EQ(kRed, got.clrText);
    EXPECT_STREQ("WWWW", got.strText);
    EXPECT_TRUE(got.nStyle & SBPS_OWNERDRAW);

    // A bitmap is copied at its own size to the item's corner, no text.
    CBitmap bitmap;
    TWKStatusPaneInfo info;
    info.nIndex = 3;
    info.pBitmap = SolidBitmap(bitmap, 10, 8, kRed);
    info.dwMask = TWKSB_BITMAP;
    bar->SetPaneInfoEx(&info, FALSE);
    Picture picture(200, 20);
    DrawPane(picture, 3, CRect(20, 4, 200, 20));
    EXPECT_EQ(kRed, picture.At(20, 4));
    EXPECT_EQ(kRed, picture.At(29, 11));
    EXPECT_EQ(vt::kPictureMarker, picture.At(30, 4));
    EXPECT_EQ(vt::kPictureMarker, picture.At(20, 12));
    EXPECT_EQ(vt::kPictureMarker, picture.At(19, 4));
}

TEST_F(StatusBarTest, TallBitmapRaisesTheBarAndTheFrameLaysOut)
{
    CRect rectBefore = InFrame(bar);
    CBitmap bitmap;
    TWKStatusPaneInfo info;
    info.nIndex = 2;
    info.pBitmap = SolidBitmap(bitmap, 16, rectBefore.Height() + 20, RGB(0, 0, 255));
    info.dwMask = TWKSB_BITMAP;
    bar->SetPaneInfoEx(&info, TRUE);
    UINT nID, nStyle;
    int cx;
    bar->GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(16, cx);
    int rg[3] = {};
    bar->SendMessage(SB_GETBORDERS, 0, (LPARAM)rg);
    EXPECT_EQ(rectBefore.Height() + 20 + 2 * rg[1], bar->m_nMinHeight);
    CRect rectAfter = InFrame(bar);
    EXPECT_EQ(bar->m_nMinHeight, rectAfter.Height());
    EXPECT_EQ(rectBefore.bottom, rectAfter.bottom);
    CRect rectDock = InFrame(frame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(rectAfter.top, rectDock.bottom);
}

TEST_F(StatusBarTest, ControlInAPaneFollowsTheLayout)
{
    CWnd ctl;
    ASSERT_TRUE(ctl.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 10), bar, 0xE700));
    bar->SetPaneControl(1, &ctl, 1);
    UINT nID, nStyle;
    int cx;
    bar->GetPaneInfo(1, nID, nStyle, cx);
    EXPECT_EQ(80, cx);
    EXPECT_EQ(&ctl, bar->GetPaneControl(1));
    EXPECT_EQ(nullptr, bar->GetPaneControl(6));
    EXPECT_EQ(nullptr, bar->GetPaneControl(-1));

    const struct { UINT nFlags; } cases[] = { { 0 }, { TWKSB_INSET }, { TWKSB_KEEPWIDTH | TWKSB_KEEPHEIGHT } };
    int cxFrame = 820;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nFlags);
        bar->SetPaneControl(1, &ctl, 2, c.nFlags);
        EXPECT_EQ(c.nFlags, bar->GetPaneControlFlags(1));
        ctl.SetWindowPos(nullptr, 0, 0, 80, 10, SWP_NOZORDER);
        // The frame grows: pane 0 stretches, pane 1 moves right; the control follows.
        frame->SetWindowPos(nullptr, 0, 0, cxFrame += 40, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        vt::PumpMessages();
        CRect rectPane;
        bar->GetItemRect(1, &rectPane);
        CRect expected = rectPane;
        if (c.nFlags & TWKSB_INSET)
            expected.DeflateRect(1, 1);
        if (c.nFlags & TWKSB_KEEPWIDTH)
            expected = CRect(rectPane.TopLeft(), CSize(80, 10));
        EXPECT_EQ(expected, InBar(&ctl));
    }
    // Mode 0 fits the window to the pane at once.
    bar->SetPaneControl(2, &ctl, 0);
    CRect rectPane;
    bar->GetItemRect(2, &rectPane);
    EXPECT_EQ(rectPane, InBar(&ctl));
    bar->SetPaneControl(2, nullptr, 0, TWKSB_INSET);
    EXPECT_EQ(0u, bar->GetPaneControlFlags(2));
    bar->SetPaneControl(1, nullptr, 0);
    ctl.DestroyWindow();
}

TEST_F(StatusBarTest, MessageStringLandsInTheMessagePane)
{
    frame->SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)"Ready for more");
    EXPECT_STREQ("Ready for more", bar->GetPaneText(0));
    frame->SendMessage(WM_SETMESSAGESTRING, vt::kTestFrameID);
    EXPECT_STREQ("Docking Test", bar->GetPaneText(0));
    char buf[8];
    EXPECT_EQ(7, (int)bar->SendMessage(WM_GETTEXT, sizeof buf, (LPARAM)buf));
    EXPECT_STREQ("Docking", buf);
    EXPECT_EQ(12, (int)bar->SendMessage(WM_GETTEXTLENGTH));
    // Pane 3, the other id-0 pane, is not touched.
    EXPECT_STREQ("", bar->GetPaneText(3));
}

TEST_F(StatusBarTest, ProgressModeWithAPrompt)
{
    CWnd ctl;
    ASSERT_TRUE(ctl.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 10), bar, 0xE707));
    bar->SetPaneControl(2, &ctl, 0);
    frame->SetMessageText("Ready");
    UINT nID0, nStyle0;
    int cx0;
    bar->GetPaneInfo(0, nID0, nStyle0, cx0);

    ASSERT_TRUE(bar->InitProgress("Loading", 0, 100, TRUE, TWKPS_DEFAULT));
    TWKProgressCtrl* pProgress = bar->GetProgressCtrl();
    ASSERT_NE(nullptr, pProgress);
    EXPECT_TRUE(pProgress->IsWindowVisible());
    EXPECT_FALSE(ctl.IsWindowVisible());
    EXPECT_STREQ("Loading ", bar->GetPaneText(0));
    UINT nID, nStyle;
    int cx;
    bar->GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(TextWidth("Loading "), cx);
    EXPECT_EQ((UINT)(SBPS_NOBORDERS | SBPS_OWNERDRAW), nStyle);
    int rg[3] = {};
    bar->SendMessage(SB_GETBORDERS, 0, (LPARAM)rg);
    CRect rectClient, rectProgress = InBar(pProgress);
    bar->GetClientRect(&rectClient);
    EXPECT_EQ(cx + 2 * (rg[0] + rg[2]) + 1, rectProgress.left);
    EXPECT_EQ(rectClient.right, rectProgress.right);
    EXPECT_EQ(0u, pProgress->m_nLower);
    EXPECT_EQ(100u, pProgress->m_nUpper);

    // Meanwhile the frame's messages do not reach pane 0, and only pane 0 is drawn.
    frame->SetMessageText("Something else");
    EXPECT_STREQ("Loading ", bar->GetPaneText(0));
    bar->SetPaneText(3, "Ln 1, Col 1");
    Picture picture(100, 20);
    DrawPane(picture, 3, CRect(0, 0, 100, 20));
    EXPECT_TRUE(picture.Untouched());
    DrawPane(picture, 0, CRect(0, 0, 100, 20));
    EXPECT_FALSE(picture.Untouched());

    // A frame grown meanwhile: the control still reaches the right edge.
    frame->SetWindowPos(nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    vt::PumpMessages();
    bar->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.right, InBar(pProgress).right);

    // Again: only the style and the range change; the first saved pane stays.
    ASSERT_TRUE(bar->InitProgress("Saving", 10, 20, FALSE, TWKPS_NATIVE));
    EXPECT_EQ(pProgress, bar->GetProgressCtrl());
    EXPECT_EQ((DWORD)TWKPS_NATIVE, pProgress->GetProgressStyle());
    EXPECT_EQ(10u, pProgress->m_nLower);
    EXPECT_STREQ("Saving ", bar->GetPaneText(0));

    bar->EndProgress();
    EXPECT_EQ(nullptr, bar->GetProgressCtrl());
    EXPECT_STREQ("Ready", bar->GetPaneText(0));
    bar->GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(nID0, nID);
    EXPECT_EQ(nStyle0 | SBPS_OWNERDRAW, nStyle);
    EXPECT_EQ(cx0, cx);
    EXPECT_TRUE(ctl.IsWindowVisible());
    frame->SetMessageText("Done");
    EXPECT_STREQ("Done", bar->GetPaneText(0));
    bar->SetPaneControl(2, nullptr, 0);
    ctl.DestroyWindow();
}

TEST_F(StatusBarTest, ProgressModeWithoutAPromptAndEndWithoutProgress)
{
    frame->SetMessageText("Ready");
    // No control: ending does nothing.
    bar->EndProgress();
    EXPECT_STREQ("Ready", bar->GetPaneText(0));

    ASSERT_TRUE(bar->InitProgress(nullptr, 0, 50, TRUE, TWKPS_DEFAULT));
    TWKProgressCtrl* pProgress = bar->GetProgressCtrl();
    ASSERT_NE(nullptr, pProgress);
    CRect rectClient;
    bar->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient, InBar(pProgress));
    EXPECT_STREQ("Ready", bar->GetPaneText(0));
    EXPECT_EQ(nullptr, bar->m_pSavedFirstPane);
    // No saved pane: ending leaves pane 0 as it is.
    bar->EndProgress();
    EXPECT_EQ(nullptr, bar->GetProgressCtrl());
    EXPECT_STREQ("Ready", bar->GetPaneText(0));
    EXPECT_TRUE(bar->GetPaneStyle(0) & SBPS_STRETCH);
}

TEST_F(StatusBarTest, PanesAreUpdatedThroughTheIdleMessage)
{
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_STREQ("Busy", bar->GetPaneText(1));
    EXPECT_TRUE(bar->GetPaneStyle(1) & SBPS_POPOUT);
    EXPECT_TRUE(bar->GetPaneStyle(5) & SBPS_DISABLED);
    // A pane nobody updates is not disabled for that.
    EXPECT_FALSE(bar->GetPaneStyle(2) & SBPS_DISABLED);
    frame->m_bOverwrite = TRUE;
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar->GetPaneStyle(5) & SBPS_DISABLED);
}

TEST_F(StatusBarTest, KeyIndicatorsFollowTheKeysThroughTheLayersHandlers)
{
    AFX_CMDHANDLERINFO info = { nullptr, nullptr };
    if (!frame->OnCmdMsg(ID_INDICATOR_CAPS, (int)CN_UPDATE_COMMAND_UI, nullptr, &info))
        GTEST_SKIP() << "the framework layer has no key-indicator handlers yet";
    BYTE keys[256];
    ASSERT_TRUE(::GetKeyboardState(keys));
    struct Case { BYTE caps, num, scrl; };
    for (const Case& c : { Case{ 1, 0, 1 }, Case{ 0, 1, 0 } }) {
        keys[VK_CAPITAL] = c.caps;
        keys[VK_NUMLOCK] = c.num;
        keys[VK_SCROLL] = c.scrl;
        ::SetKeyboardState(keys);
        bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        EXPECT_EQ(!c.caps, (bar->GetPaneStyle(4) & SBPS_DISABLED) != 0);
        EXPECT_EQ(!c.num, (bar->GetPaneStyle(6) & SBPS_DISABLED) != 0);
    }
    EXPECT_STREQ("CAP", bar->GetPaneText(4));
    EXPECT_STREQ("NUM", bar->GetPaneText(6));
    keys[VK_CAPITAL] = keys[VK_NUMLOCK] = keys[VK_SCROLL] = 0;
    ::SetKeyboardState(keys);
}

} // namespace
