#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/frames/TWKWndPlugIn.h"
#include "framework/frames/TWKOffscreenDC.h"
#include "framework/frames/TWKAuxData.h"

namespace {

const UINT WM_TEST_RESULT = WM_USER + 5;
const UINT ID_TEST_COMMAND = 0x7D50;

class CTestPlugIn : public TWKWndPlugIn
{
public:
    int m_nCalls = 0;
    int m_nCommands = 0;
    BOOL m_bSetResult = TRUE;
    HWND m_hWndSeen = nullptr;

protected:
    LRESULT OnTestResult(WPARAM, LPARAM)
    {
        m_nCalls++;
        m_hWndSeen = m_hWnd;
        m_bHandled = TRUE;
        if (m_bSetResult)
            SetResult(5);
        return 7;
    }
    void OnTestCommand() { m_nCommands++; }
    LRESULT OnGetTextLength(WPARAM, LPARAM)
    {
        m_bCallDefault = TRUE;   // the borrowed window's default answers
        return DefWindowProc(WM_GETTEXTLENGTH, 0, 0);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestPlugIn, TWKWndPlugIn)
    ON_MESSAGE(WM_TEST_RESULT, OnTestResult)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_COMMAND(ID_TEST_COMMAND, OnTestCommand)
END_MESSAGE_MAP()

TEST(WndPlugIn, NotPluggedInAnswersNothing)
{
    CTestPlugIn plugIn;
    LRESULT lResult = 99;
    EXPECT_FALSE(plugIn.IsPluggedIn());
    EXPECT_FALSE(plugIn.OnWndMsg(WM_TEST_RESULT, 0, 0, &lResult));
    EXPECT_EQ(0, plugIn.m_nCalls);
    EXPECT_FALSE(plugIn.OnCmdMsg(ID_TEST_COMMAND, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(0, plugIn.m_nCommands);
    EXPECT_EQ(0, plugIn.DefWindowProc(WM_GETTEXTLENGTH, 0, 0));
    EXPECT_FALSE(plugIn.PlugInTo(nullptr));
    EXPECT_FALSE(plugIn.IsPluggedIn());
}

TEST(WndPlugIn, SeesTheBorrowedWindowsMessagesAndItsResultOnce)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxGetDefaultWndClass(), "Borrowed", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr));
    {
        CTestPlugIn plugIn;
        ASSERT_TRUE(plugIn.PlugInTo(&wnd));
        EXPECT_TRUE(plugIn.IsPluggedIn());

        LRESULT lResult = 0;
        EXPECT_EQ(5, plugIn.OnWndMsg(WM_TEST_RESULT, 0, 0, &lResult));
        EXPECT_EQ(5, lResult);
        EXPECT_EQ(wnd.m_hWnd, plugIn.m_hWndSeen);
        EXPECT_TRUE(plugIn.m_bHandled);
        // The next message is dispatched normally: the handler's own answer.
        plugIn.m_bSetResult = FALSE;
        EXPECT_TRUE(plugIn.OnWndMsg(WM_TEST_RESULT, 0, 0, &lResult));
        EXPECT_EQ(7, lResult);
        EXPECT_EQ(2, plugIn.m_nCalls);

        // Default reaches the borrowed window only when the handler asks.
        EXPECT_TRUE(plugIn.OnWndMsg(WM_GETTEXTLENGTH, 0, 0, &lResult));
        EXPECT_EQ(8, lResult);
        plugIn.OnWndMsg(WM_TEST_RESULT, 0, 0, &lResult);   // clears the call-default flag
        EXPECT_EQ(0, plugIn.DefWindowProc(WM_GETTEXTLENGTH, 0, 0));

        EXPECT_TRUE(plugIn.OnCmdMsg(ID_TEST_COMMAND, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(1, plugIn.m_nCommands);

        plugIn.UnPlug();
        EXPECT_FALSE(plugIn.IsPluggedIn());
        EXPECT_FALSE(plugIn.OnWndMsg(WM_TEST_RESULT, 0, 0, &lResult));
        ASSERT_TRUE(plugIn.PlugInTo(&wnd));
    }
    // Destroying a plugged-in plug-in leaves the window alone.
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    wnd.DestroyWindow();
}

// A white memory DC of 40 x 40 pixels.
struct MemTarget {
    CDC dc;
    CBitmap bmp;
    CBitmap* pOld = nullptr;
    MemTarget()
    {
        HDC hScreen = ::GetDC(nullptr);
        dc.Attach(::CreateCompatibleDC(hScreen));
        bmp.Attach(::CreateCompatibleBitmap(hScreen, 40, 40));
        ::ReleaseDC(nullptr, hScreen);
        pOld = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, 40, 40, RGB(255, 255, 255));
    }
    ~MemTarget() { dc.SelectObject(pOld); }
};

TEST(OffscreenDC, LandsOnTheSameRectangleOfTheTarget)
{
    const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
    // Target viewport origin (device offset of logical 0,0).
    for (CPoint vp : {CPoint(0, 0), CPoint(5, 3)}) {
        SCOPED_TRACE(testing::Message() << "viewport " << vp.x << "," << vp.y);
        MemTarget t;
        t.dc.SetViewportOrg(vp.x, vp.y);
        {
            TWKOffscreenDC dc(&t.dc, 10, 20, 30, 35);
            dc.FillSolidRect(10, 20, 20, 15, kRed);
            dc.FillSolidRect(12, 22, 2, 2, kBlue);
            // Nothing reaches the target before the object goes.
            EXPECT_EQ(kWhite, ::GetPixel(t.dc.m_hDC, 10, 20));
        }
        t.dc.SetViewportOrg(0, 0);
        EXPECT_EQ(kRed, ::GetPixel(t.dc.m_hDC, vp.x + 10, vp.y + 20));
        EXPECT_EQ(kRed, ::GetPixel(t.dc.m_hDC, vp.x + 29, vp.y + 34));
        EXPECT_EQ(kBlue, ::GetPixel(t.dc.m_hDC, vp.x + 12, vp.y + 22));
        EXPECT_EQ(kWhite, ::GetPixel(t.dc.m_hDC, vp.x + 9, vp.y + 20));
        EXPECT_EQ(kWhite, ::GetPixel(t.dc.m_hDC, vp.x + 30, vp.y + 20));
        EXPECT_EQ(kWhite, ::GetPixel(t.dc.m_hDC, vp.x + 10, vp.y + 35));
    }
}

// For a window the drawing DC is kept from one drawing to the next: each drawing
// starts from a DC's first state, and one made while another is open has its own.
TEST(OffscreenDC, WindowDrawingsStartFreshAndOverlappingOnesAreApart)
{
    const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "offscreen", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40, nullptr,
                             nullptr));
    HDC hFresh = ::CreateCompatibleDC(nullptr);
    const COLORREF crFreshText = ::GetTextColor(hFresh);
    HGDIOBJ hFreshFont = ::GetCurrentObject(hFresh, OBJ_FONT);
    ::DeleteDC(hFresh);
    for (int nPass = 0; nPass < 2; nPass++) {
        SCOPED_TRACE(nPass);
        CClientDC dc(&wnd);
        TWKOffscreenDC outer(&dc, 0, 0, 60, 40);
        EXPECT_EQ(crFreshText, ::GetTextColor(outer.m_hDC));
        EXPECT_EQ(hFreshFont, ::GetCurrentObject(outer.m_hDC, OBJ_FONT));
        EXPECT_EQ(MM_TEXT, ::GetMapMode(outer.m_hDC));
        outer.FillSolidRect(0, 0, 60, 40, kRed);
        {
            TWKOffscreenDC inner(&dc, 30, 0, 60, 40);
            EXPECT_NE(outer.m_hDC, inner.m_hDC);
            inner.FillSolidRect(30, 0, 30, 40, kBlue);
        }
        EXPECT_EQ(kRed, ::GetPixel(outer.m_hDC, 45, 20));
        // What this drawing leaves set must not reach the next.
        outer.SetTextColor(RGB(1, 2, 3));
        outer.SelectObject(CFont::FromHandle((HFONT)::GetStockObject(ANSI_FIXED_FONT)));
        ::SetMapMode(outer.m_hDC, MM_LOMETRIC);
    }
    wnd.DestroyWindow();
}

TEST(OffscreenDC, ThrowsTheResourceExceptionWithoutTarget)
{
    bool bThrown = false;
    try {
        TWKOffscreenDC dc(nullptr, 0, 0, 10, 10);
    } catch (CResourceException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(SysColorBitmap, GreysBecomeButtonColoursAndShortTablesAreRead)
{
    const COLORREF expected[] = {
        ::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE),
        ::GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 0, 0), RGB(0x12, 0x34, 0x56),
    };
    // The full 16-colour table, and one of six entries (the pixel bits follow it).
    for (UINT nID : {0x7D01u, 0x7D02u}) {
        SCOPED_TRACE(nID);
        CBitmap bmp;
        ASSERT_TRUE(TWKLoadSysColorBitmap(&bmp, MAKEINTRESOURCEA(nID)));
        BITMAP bm;
        ASSERT_TRUE(::GetObjectA(bmp.m_hObject, sizeof bm, &bm));
        EXPECT_EQ(8, bm.bmWidth);
        EXPECT_EQ(4, bm.bmHeight);
        HDC hDC = ::CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = ::SelectObject(hDC, bmp.m_hObject);
        for (int y : {0, 3})
            for (int x = 0; x < 6; x++)
                EXPECT_EQ(expected[x], ::GetPixel(hDC, x, y)) << "x " << x << " y " << y;
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
    }
}

TEST(SysColorBitmap, RefusesMissingCutAndTrueColourResources)
{
    for (UINT nID : {0x7D03u, 0x7D04u, 0x7DFFu}) {
        CBitmap bmp;
        EXPECT_FALSE(TWKLoadSysColorBitmap(&bmp, MAKEINTRESOURCEA(nID))) << nID;
        EXPECT_EQ(nullptr, bmp.m_hObject) << nID;
    }
}

TEST(AuxData, ReadsTheSystemBeforeTheProgramRuns)
{
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), twkAuxData.clrBtnFace);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), twkAuxData.clrHighlightText);
    EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), twkAuxData.hcurArrow);
    EXPECT_EQ(twkAuxData.bWin4 ? 2 : 1, twkAuxData.cxBorder);
    EXPECT_EQ(twkAuxData.cxBorder, twkAuxData.cyBorder);
}

} // namespace
