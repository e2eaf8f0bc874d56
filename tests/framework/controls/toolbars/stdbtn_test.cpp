#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKStdBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frameworkres.h"
#include "tests/framework/frames/frames_fixture.h"
#include "tests/framework/frames/picture_fixture.h"
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);       // the block of image 0 (command A)
const COLORREF kWhite = RGB(255, 255, 255);

// An owner that keeps every toolbar notification it gets, and what the
// button looked like while it was sent.
class CNotifyOwner : public CWnd
{
public:
    struct Seen {
        std::vector<BYTE> block;
        DWORD dwStyleDuring;
        BOOL bDropDownActive;
    };
    std::vector<Seen> seen;
    TWKStdBtn* pWatched = nullptr;

    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        const BYTE* p = reinterpret_cast<const BYTE*>(lParam);
        seen.push_back({ std::vector<BYTE>(p, p + sizeof(TWKTBNotify)), pWatched ? pWatched->GetStyle() : 0,
                         TWKCustomToolBar::s_bDropDownActive });
        *pResult = 0;
        return TRUE;
    }
};

// A toolbar without a manager on a main frame, loaded from the test
// resource: A B | C D E, 16 x 15 images.
struct StdBtnTest : ::testing::Test {
    vt::MainFrame frame;
    TWKCustomToolBar* pBar = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        pBar = new TWKCustomToolBar;
        pBar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(pBar->Create(0, frame.p, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE800, "Test"));
        ASSERT_TRUE(pBar->LoadToolBar(IDR_TWK_TEST_TOOLBAR));
        ASSERT_EQ(6, pBar->GetButtonCount());
    }
    TWKStdBtn* Btn(int i) const { return pBar->GetButton(i); }
};

// ---------------------------------------------------------------------------
// Class records, metrics and the drawing context

struct OtherBase {
    virtual ~OtherBase() = default;
    int nPadding = 7;
};

// A button whose button part is not its first base.
class CTestLaterBaseBtn : public OtherBase, public TWKStdBtn
{
    DECLARE_BUTTON_CLASS(CTestLaterBaseBtn)
public:
    CTestLaterBaseBtn() { m_nType = 9; }
};
IMPLEMENT_BUTTON_CLASS(CTestLaterBaseBtn)

TWKStdBtn* ThrowResource() { AfxThrowResourceException(); }
TWKStdBtn* ThrowMemory() { AfxThrowMemoryException(); }
TWKStdBtn* ThrowBadAlloc() { throw std::bad_alloc(); }

TEST(BtnClass, CreatesTheButtonPartAndYieldsNullWhenCreationThrows)
{
    TWKStdBtn* pStd = BUTTON_CLASS(TWKStdBtn)->CreateBtn();
    ASSERT_TRUE(pStd);
    EXPECT_EQ(BUTTON_CLASS(TWKStdBtn), pStd->GetBtnClass());
    EXPECT_EQ(TWK_BTN_STD, pStd->m_nType);
    EXPECT_EQ(23, pStd->m_cx);
    EXPECT_EQ(22, pStd->m_cy);
    delete pStd;

    TWKStdBtn* pBtn = BUTTON_CLASS(CTestLaterBaseBtn)->CreateBtn();
    ASSERT_TRUE(pBtn);
    EXPECT_EQ(BUTTON_CLASS(CTestLaterBaseBtn), pBtn->GetBtnClass());
    EXPECT_EQ(9, pBtn->m_nType);
    auto* pWhole = dynamic_cast<CTestLaterBaseBtn*>(pBtn);
    ASSERT_TRUE(pWhole);
    EXPECT_EQ(7, pWhole->nPadding);
    delete pBtn;   // through the virtual destructor

    for (auto pfn : { &ThrowResource, &ThrowMemory, &ThrowBadAlloc }) {
        TWKBtnClass rec = { pfn };
        EXPECT_EQ(nullptr, rec.CreateBtn());
    }
    TWKBtnClass none = { nullptr };
    EXPECT_EQ(nullptr, none.CreateBtn());
}

TEST(DitherBrush, IsACheckerboardOfFaceAndHighlight)
{
    CBrush brush;
    ASSERT_TRUE(brush.Attach(TWKCreateDitherBrush()));
    vt::Picture pic(8, 8);
    RECT rect = { 0, 0, 8, 8 };
    pic.dc.FillRect(&rect, &brush);
    int nFace = 0, nHilite = 0;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            COLORREF clr = pic.At(x, y);
            nFace += clr == twkAuxData.clrBtnFace;
            nHilite += clr == twkAuxData.clrBtnHilite;
            EXPECT_NE(clr, pic.At((x + 1) % 8, y)) << x << "," << y;
            EXPECT_EQ(clr, pic.At((x + 1) % 8, (y + 1) % 8)) << x << "," << y;
        }
    EXPECT_EQ(32, nFace);
    EXPECT_EQ(32, nHilite);
}

TEST_F(StdBtnTest, ButtonsAreSizedFromTheBarsMetrics)
{
    // 16 x 15 images: buttons 23 x 22, separators (16 + 8) / 3 wide.
    EXPECT_EQ(23, Btn(0)->m_cx);
    EXPECT_EQ(22, Btn(0)->m_cy);
    EXPECT_TRUE(Btn(2)->HasStyle(TBBS_SEPARATOR));
    EXPECT_EQ(8, Btn(2)->m_cx);
    EXPECT_EQ(22, Btn(2)->m_cy);
    EXPECT_EQ(23, pBar->m_nMaxBtnWidth);

    // A broader button raises the bar's largest width; a narrower one does not lower it.
    pBar->m_nMaxBtnWidth = 0;
    Btn(2)->AdjustSize();
    EXPECT_EQ(8, pBar->m_nMaxBtnWidth);
    Btn(0)->AdjustSize();
    Btn(2)->AdjustSize();
    EXPECT_EQ(23, pBar->m_nMaxBtnWidth);

    EXPECT_TRUE(Btn(0)->HasStyle(0));
    Btn(0)->SetStyle(TBBS_CHECKBOX | TBBS_CHECKED);
    EXPECT_TRUE(Btn(0)->HasStyle(TBBS_CHECKBOX | TBBS_CHECKED));
    EXPECT_FALSE(Btn(0)->HasStyle(TBBS_CHECKBOX | TBBS_DISABLED));
}

TEST_F(StdBtnTest, DrawDataMakesBitmapsPerPaintAndRestoresTheDCs)
{
    TWKBtnDrawData data;
    ASSERT_TRUE(data.m_brDither.m_hObject);
    HGDIOBJ hInitialImage = ::GetCurrentObject(data.m_dcImage.m_hDC, OBJ_BITMAP);
    vt::Picture pic(100, 40);
    ASSERT_TRUE(data.BeginPaint(&pic.dc, 40, pBar));
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(data.m_bmCompose.m_hObject, sizeof bm, &bm));
    EXPECT_EQ(40, bm.bmWidth);
    EXPECT_EQ(pBar->GetButtonHeight(), bm.bmHeight);
    ASSERT_TRUE(::GetObjectA(data.m_bmMask.m_hObject, sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmBitsPixel);
    EXPECT_EQ(data.m_bmCompose.m_hObject, ::GetCurrentObject(data.m_dcCompose.m_hDC, OBJ_BITMAP));

    HBITMAP hStrip = nullptr;
    ASSERT_TRUE(pBar->GetBmpMgr()->GetBitmap(ID_TWK_TEST_A, &hStrip, nullptr));
    data.SelectImage(hStrip);
    EXPECT_EQ(hStrip, data.m_hCurImage);
    EXPECT_EQ(hInitialImage, data.m_hOldImage);
    // NULL forgets the current image and selects nothing.
    data.SelectImage(nullptr);
    EXPECT_EQ(nullptr, data.m_hCurImage);
    EXPECT_EQ(hStrip, ::GetCurrentObject(data.m_dcImage.m_hDC, OBJ_BITMAP));
    data.EndPaint();
    EXPECT_EQ(nullptr, data.m_bmCompose.m_hObject);
    EXPECT_EQ(nullptr, data.m_bmMask.m_hObject);
    EXPECT_EQ(hInitialImage, ::GetCurrentObject(data.m_dcImage.m_hDC, OBJ_BITMAP));

    // A zero width makes no bitmap and leaves nothing behind.
    EXPECT_FALSE(data.BeginPaint(&pic.dc, 0, pBar));
    EXPECT_EQ(nullptr, data.m_bmCompose.m_hObject);

    HBRUSH hOld = (HBRUSH)data.m_brDither.m_hObject;
    data.ResetDitherBrush();
    EXPECT_TRUE(data.m_brDither.m_hObject);
    EXPECT_NE(hOld, (HBRUSH)data.m_brDither.m_hObject);
}

// ---------------------------------------------------------------------------
// Drawing into a memory DC

// One button painted at (2, 1) of a fresh picture (the marker around it).
struct Painted : vt::Picture {
    Painted() : vt::Picture(30, 26) {}
    COLORREF B(int x, int y) const { return At(2 + x, 1 + y); }   // in button coordinates
};

void PaintAt(TWKCustomToolBar* pBar, TWKStdBtn* pBtn, Painted& pic, TWKBtnDrawData& data)
{
    pBtn->SetPos(2, 1);
    ASSERT_TRUE(data.BeginPaint(&pic.dc, pBar->m_nMaxBtnWidth, pBar));
    pBtn->Paint(&pic.dc, data);
    data.EndPaint();
}

std::string Diff(const Painted& a, const Painted& b)
{
    for (int y = 0; y < a.cy; y++)
        for (int x = 0; x < a.cx; x++)
            if (a.At(x, y) != b.At(x, y))
                return "differs at " + std::to_string(x) + "," + std::to_string(y);
    return "";
}

bool Dithered(const Painted& pic, int x, int y)
{
    COLORREF a = pic.B(x, y), b = pic.B(x + 1, y);
    return a != b && (a == twkAuxData.clrBtnFace || a == twkAuxData.clrBtnHilite)
           && (b == twkAuxData.clrBtnFace || b == twkAuxData.clrBtnHilite);
}

bool Shows(const Painted& pic, COLORREF clr)
{
    return pic.Columns(clr).second >= 0;
}

TEST_F(StdBtnTest, SeparatorsPaintOnlyInTheCoolLookAndNotAtARowsEnd)
{
    const DWORD kTransparent = CBX_COOLLOOK | CBX_TRANSPARENT;
    const struct {
        DWORD dwExStyle;
        DWORD dwStyle;
        bool bFace;    // the separator's rectangle is filled
        bool bLines;   // shadow and highlight lines in its middle
    } cases[] = {
        { 0, TBBS_SEPARATOR, false, false },
        { CBX_COOLLOOK, TBBS_SEPARATOR | TBBS_WRAPPED, false, false },
        { CBX_COOLLOOK, TBBS_SEPARATOR, true, true },
        { kTransparent, TBBS_SEPARATOR, false, true },
    };
    TWKBtnDrawData data;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.dwExStyle << " " << c.dwStyle);
        pBar->SetExBarStyle(c.dwExStyle | CBX_FIXEDSIZE, FALSE);
        TWKStdBtn* pSep = Btn(2);
        pSep->SetStyle(c.dwStyle);
        Painted pic;
        PaintAt(pBar, pSep, pic, data);
        if (!c.bFace && !c.bLines) {
            EXPECT_TRUE(pic.Untouched());
            continue;
        }
        int w = pBar->GetSeparatorWidth();
        EXPECT_EQ(c.bFace ? twkAuxData.clrBtnFace : vt::kPictureMarker, pic.B(0, 0));
        for (int y : { 0, pSep->m_cy - 1 }) {
            EXPECT_EQ(twkAuxData.clrBtnShadow, pic.B(w / 2, y));
            EXPECT_EQ(twkAuxData.clrBtnHilite, pic.B(w / 2 + 1, y));
        }
        EXPECT_EQ(vt::kPictureMarker, pic.B(0, pSep->m_cy));
    }
}

TEST_F(StdBtnTest, StatesDrawAsTheirTable)
{
    // Button A: its 16 x 15 image sits at (3, 3) of the 23 x 22 button, its
    // red block at (6..14, 6..14); a sunken button moves it by one pixel.
    const COLORREF face = twkAuxData.clrBtnFace, hilite = twkAuxData.clrBtnHilite,
                   shadow = twkAuxData.clrBtnShadow, frameClr = twkAuxData.clrWindowFrame;
    enum Ground { kFace, kDither };
    const struct {
        bool bCool;
        DWORD dwStyle;
        COLORREF topLeft, bottomRight;   // the button's outer corners
        int nShift;                      // the image's offset
        COLORREF centre;                 // in the image's block
        Ground ground;                   // around the image, inside the border
    } cases[] = {
        { false, 0, hilite, frameClr, 0, kRed, kFace },
        { false, TBBS_CHECKED, frameClr, hilite, 1, kRed, kDither },
        { false, TBBS_PRESSED, frameClr, hilite, 1, kRed, kFace },
        { false, TBBS_PRESSED | TBBS_CHECKED, frameClr, hilite, 1, kRed, kFace },
        { false, TBBS_DISABLED, hilite, frameClr, 0, shadow, kFace },
        { false, TBBS_DISABLED | TBBS_CHECKED, frameClr, hilite, 1, shadow, kDither },
        { false, TBBS_INDETERMINATE, hilite, frameClr, 0, shadow, kDither },
        { true, 0, face, face, 0, kRed, kFace },
        { true, TWK_TBBS_RAISED, hilite, shadow, 0, kRed, kFace },
        { true, TBBS_CHECKED, shadow, hilite, 1, kRed, kDither },
        { true, TBBS_PRESSED | TBBS_CHECKED | TWK_TBBS_RAISED, shadow, hilite, 1, kRed, kFace },
        { true, TBBS_DISABLED, face, face, 0, shadow, kFace },
    };
    TWKBtnDrawData data;
    TWKStdBtn* pBtn = Btn(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.bCool ? "cool " : "plain ") << std::hex << c.dwStyle);
        pBar->SetExBarStyle((c.bCool ? CBX_COOLLOOK : 0) | CBX_FIXEDSIZE, FALSE);
        pBtn->SetStyle(c.dwStyle);
        Painted pic;
        PaintAt(pBar, pBtn, pic, data);
        EXPECT_EQ(c.topLeft, pic.B(0, 0));
        EXPECT_EQ(c.bottomRight, pic.B(22, 21));
        EXPECT_EQ(vt::kPictureMarker, pic.B(23, 22));
        EXPECT_EQ(c.centre, pic.B(10 + c.nShift, 10 + c.nShift));
        // The block's first pixel is image where it is, face beside it.
        if (c.centre == kRed) {
            EXPECT_EQ(kRed, pic.B(6 + c.nShift, 6 + c.nShift));
            EXPECT_NE(kRed, pic.B(5 + c.nShift, 6 + c.nShift));
        } else {
            EXPECT_FALSE(Shows(pic, kRed));
        }
        if (c.ground == kDither) {
            EXPECT_TRUE(Dithered(pic, 4, 4));
        } else {
            EXPECT_EQ(face, pic.B(4 + c.nShift, 4 + c.nShift)) << "no dither";
        }
        if ((c.dwStyle & TBBS_DISABLED) && !(c.dwStyle & TBBS_CHECKED)) {
            // Embossed: the highlight copy shows one pixel right of the block.
            EXPECT_EQ(hilite, pic.B(15, 10));
            EXPECT_EQ(face, pic.B(16, 10));
        }
    }
}

TEST_F(StdBtnTest, ConfigurationModeDrawsEveryButtonPlain)
{
    TWKBtnDrawData data;
    TWKStdBtn* pBtn = Btn(0);
    for (DWORD dwExStyle : { 0ul, (DWORD)CBX_COOLLOOK }) {
        pBar->SetExBarStyle(dwExStyle | CBX_FIXEDSIZE, FALSE);
        pBar->SetConfigMode(FALSE);
        pBtn->SetStyle(0);
        Painted plain;
        PaintAt(pBar, pBtn, plain, data);
        pBar->SetConfigMode(TRUE);
        for (DWORD dwStyle : { (DWORD)TBBS_CHECKED, (DWORD)TBBS_PRESSED, (DWORD)TBBS_DISABLED,
                               (DWORD)(TBBS_DISABLED | TBBS_CHECKED), (DWORD)TBBS_INDETERMINATE,
                               (DWORD)TWK_TBBS_RAISED }) {
            pBtn->SetStyle(dwStyle);
            Painted pic;
            PaintAt(pBar, pBtn, pic, data);
            EXPECT_EQ("", Diff(plain, pic)) << std::hex << dwExStyle << " " << dwStyle;
        }
    }
    pBar->SetConfigMode(FALSE);
}

TEST_F(StdBtnTest, AButtonWithoutAnImageShowsNoOtherButtonsImage)
{
    // A command the bitmap manager does not know, painted in the same paint
    // right after a button with an image.
    TWKStdBtn* pOrphan = BUTTON_CLASS(TWKStdBtn)->CreateBtn();
    ASSERT_TRUE(pOrphan);
    pOrphan->m_nID = 0x7D7F;
    pOrphan->SetToolBar(pBar);
    pBar->SetExBarStyle(CBX_FIXEDSIZE, FALSE);
    TWKBtnDrawData data;
    Painted first, second;
    ASSERT_TRUE(data.BeginPaint(&first.dc, pBar->m_nMaxBtnWidth, pBar));
    Btn(0)->SetPos(2, 1);
    Btn(0)->Paint(&first.dc, data);
    pOrphan->SetPos(2, 1);
    pOrphan->Paint(&second.dc, data);
    data.EndPaint();
    EXPECT_TRUE(Shows(first, kRed));
    EXPECT_FALSE(Shows(second, kRed));
    for (int y = 2; y < 20; y++)
        for (int x = 2; x < 21; x++)
            ASSERT_EQ(twkAuxData.clrBtnFace, second.B(x, y)) << x << "," << y;
    // Disabled too: no embossed ghost of the last image.
    pOrphan->SetStyle(TBBS_DISABLED);
    Painted third;
    ASSERT_TRUE(data.BeginPaint(&third.dc, pBar->m_nMaxBtnWidth, pBar));
    Btn(0)->Paint(&third.dc, data);
    pOrphan->Paint(&third.dc, data);
    data.EndPaint();
    for (int y = 2; y < 20; y++)
        for (int x = 2; x < 21; x++)
            ASSERT_EQ(twkAuxData.clrBtnFace, third.B(x, y)) << x << "," << y;
    delete pOrphan;
}

TEST_F(StdBtnTest, TheSelectedFrameIsHatchedAroundTheButton)
{
    pBar->SetExBarStyle(CBX_COOLLOOK | CBX_FIXEDSIZE, FALSE);
    TWKBtnDrawData data;
    Painted plain, selected;
    Btn(0)->SetStyle(0);
    PaintAt(pBar, Btn(0), plain, data);
    Btn(0)->SetStyle(TWK_TBBS_SELECTED);
    PaintAt(pBar, Btn(0), selected, data);
    // Three pixels wide on every side; the image inside is left alone.
    int nChanged = 0;
    for (int y = 0; y < 22; y++)
        for (int x = 0; x < 23; x++) {
            bool bEdge = x < 3 || y < 3 || x >= 20 || y >= 19;
            bool bChanged = plain.B(x, y) != selected.B(x, y);
            if (!bEdge) {
                EXPECT_FALSE(bChanged) << x << "," << y;
            }
            nChanged += bChanged;
        }
    EXPECT_GT(nChanged, 0);
    EXPECT_EQ(kRed, selected.B(10, 10));
}

TEST_F(StdBtnTest, NothingIsPaintedOutsideTheClipping)
{
    TWKBtnDrawData data;
    Painted pic;
    pic.dc.IntersectClipRect(26, 0, 30, 26);
    PaintAt(pBar, Btn(0), pic, data);
    ::SelectClipRgn(pic.dc.m_hDC, nullptr);
    EXPECT_TRUE(pic.Untouched());
}

// ---------------------------------------------------------------------------
// Pressing

TEST_F(StdBtnTest, PressMoveAndReleaseFollowTheirRules)
{
    // The button at (10, 3), 23 x 22: inside includes both ends.
    const struct {
        const char* name;
        DWORD dwStyle;
        BOOL bTrack;                 // LButtonDown's answer
        std::vector<POINT> moves;
        POINT up;
        bool bCommand;
        DWORD dwAfter;               // the style afterwards
    } cases[] = {
        { "click", 0, TRUE, {}, { 20, 10 }, true, 0 },
        { "click at the far edge", 0, TRUE, {}, { 33, 25 }, true, 0 },
        { "release outside", 0, TRUE, {}, { 34, 10 }, false, 0 },
        { "out and back", 0, TRUE, { { 50, 50 }, { 11, 4 } }, { 11, 4 }, true, 0 },
        { "checkbox released outside", TBBS_CHECKBOX, TRUE, {}, { 9, 10 }, false, TBBS_CHECKBOX },
        { "checked checkbox released outside", TBBS_CHECKBOX | TBBS_CHECKED, TRUE, {}, { 20, 40 }, false,
          TBBS_CHECKBOX | TBBS_CHECKED },
        { "disabled", TBBS_DISABLED, FALSE, {}, { 20, 10 }, true, TBBS_DISABLED },
        { "disabled checkbox", TBBS_DISABLED | TBBS_CHECKBOX, FALSE, {}, { 20, 10 }, true,
          TBBS_DISABLED | TBBS_CHECKBOX },
    };
    TWKStdBtn* pBtn = Btn(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pBtn->SetStyle(c.dwStyle);
        pBtn->SetPos(10, 3);
        EXPECT_EQ(c.bTrack, pBtn->LButtonDown(20, 10));
        EXPECT_EQ(c.bTrack ? (c.dwStyle | TBBS_PRESSED) : c.dwStyle, pBtn->GetStyle());
        for (POINT pt : c.moves) {
            pBtn->MouseMove(pt.x, pt.y);
            bool bInside = pt.x >= 10 && pt.x <= 33 && pt.y >= 3 && pt.y <= 25;
            EXPECT_EQ(bInside, pBtn->HasStyle(TBBS_PRESSED)) << pt.x << "," << pt.y;
        }
        EXPECT_EQ(c.bCommand ? (UINT)ID_TWK_TEST_B : 0u, pBtn->LButtonUp(c.up.x, c.up.y));
        EXPECT_EQ(c.dwAfter, pBtn->GetStyle());
    }
    // The press can be cancelled.
    pBtn->SetStyle(0);
    ASSERT_TRUE(pBtn->LButtonDown(20, 10));
    pBtn->CancelMode();
    EXPECT_EQ(0u, pBtn->GetStyle());
}

TEST(StdBtnManager, ACheckboxClickTogglesTheCommandInEveryToolbarOfTheManager)
{
    std::unique_ptr<TWKToolBarManager> pMgr;   // outlives the frame's toolbars
    vt::MainFrame frame;
    ASSERT_TRUE(frame.p);
    pMgr.reset(new TWKToolBarManager(frame.p));
    ASSERT_TRUE(pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, 0));
    TWKCustomToolBar* pFirst = pMgr->CreateUserToolBar("First");
    TWKCustomToolBar* pSecond = pMgr->CreateUserToolBar("Second");
    ASSERT_TRUE(pFirst && pSecond);
    const UINT first[] = { ID_TWK_TEST_A, ID_TWK_TEST_B };
    const UINT second[] = { ID_TWK_TEST_B, 0, ID_TWK_TEST_B, ID_TWK_TEST_C };
    ASSERT_TRUE(pFirst->SetButtons(first, 2));
    ASSERT_TRUE(pSecond->SetButtons(second, 4));
    std::vector<TWKStdBtn*> bs = { pFirst->GetButton(1), pSecond->GetButton(0), pSecond->GetButton(2) };
    for (TWKStdBtn* pB : bs)
        pB->SetStyle(TBBS_CHECKBOX | TBBS_INDETERMINATE);
    pFirst->GetButton(0)->SetStyle(TBBS_CHECKBOX);

    // Clicked on the second toolbar: all three are checked, then all cleared.
    TWKStdBtn* pClicked = pSecond->GetButton(2);
    for (DWORD dwExpected : { (DWORD)(TBBS_CHECKBOX | TBBS_CHECKED), (DWORD)TBBS_CHECKBOX }) {
        ASSERT_TRUE(pClicked->LButtonDown(pClicked->m_x + 1, pClicked->m_y + 1));
        EXPECT_EQ((UINT)ID_TWK_TEST_B, pClicked->LButtonUp(pClicked->m_x + 1, pClicked->m_y + 1));
        for (TWKStdBtn* pB : bs)
            EXPECT_EQ(dwExpected, pB->GetStyle());
        EXPECT_EQ((DWORD)TBBS_CHECKBOX, pFirst->GetButton(0)->GetStyle());
    }
}

TEST_F(StdBtnTest, StyleNotificationsApplyMasks)
{
    TWKStdBtn* pBtn = Btn(0);
    pBtn->SetStyle(TBBS_CHECKBOX | TBBS_INDETERMINATE);
    DWORD check[2] = { TBBS_CHECKED, TBBS_INDETERMINATE };
    pBtn->OnBtnNotify(TWK_BTNNOTIFY_STYLE, check);
    EXPECT_EQ((DWORD)(TBBS_CHECKBOX | TBBS_CHECKED), pBtn->GetStyle());
    DWORD uncheck[2] = { 0, TBBS_CHECKED | TBBS_INDETERMINATE };
    pBtn->OnBtnNotify(TWK_BTNNOTIFY_STYLE, uncheck);
    EXPECT_EQ((DWORD)TBBS_CHECKBOX, pBtn->GetStyle());
    pBtn->OnBtnNotify(2, check);   // other codes are ignored
    EXPECT_EQ((DWORD)TBBS_CHECKBOX, pBtn->GetStyle());
}

TEST_F(StdBtnTest, ADropDownButtonNotifiesItsOwnerAndGivesNoCommand)
{
    CNotifyOwner owner;
    ASSERT_TRUE(owner.CreateTop());
    pBar->SetOwner(&owner);
    TWKStdBtn* pBtn = Btn(3);   // command C at index 3
    owner.pWatched = pBtn;
    pBtn->SetStyle(TBSTYLE_DROPDOWN);
    pBtn->SetPos(40, 3);
    EXPECT_FALSE(pBtn->LButtonDown(45, 10));
    ASSERT_EQ(1u, owner.seen.size());
    const CNotifyOwner::Seen& seen = owner.seen[0];
    // Down while the owner had it, and the drop-down flag set.
    EXPECT_TRUE(seen.dwStyleDuring & TBBS_PRESSED);
    EXPECT_TRUE(seen.bDropDownActive);
    EXPECT_FALSE(TWKCustomToolBar::s_bDropDownActive);
    EXPECT_EQ((DWORD)TBSTYLE_DROPDOWN, pBtn->GetStyle());

    // The platform's toolbar notification, then the index and the two values.
    const auto* pNM = reinterpret_cast<const NMTOOLBARA*>(seen.block.data());
    EXPECT_EQ(pBar->m_hWnd, pNM->hdr.hwndFrom);
    EXPECT_EQ((UINT_PTR)0xE800, pNM->hdr.idFrom);
    EXPECT_EQ((UINT)TBN_DROPDOWN, pNM->hdr.code);
    EXPECT_EQ(ID_TWK_TEST_C, pNM->iItem);
    TBBUTTON zero = {};
    EXPECT_EQ(0, memcmp(&zero, &pNM->tbButton, sizeof zero));
    EXPECT_EQ(0, pNM->cchText);
    EXPECT_EQ(nullptr, pNM->pszText);
    const auto* pBlock = reinterpret_cast<const TWKTBNotify*>(seen.block.data());
    EXPECT_EQ(3, pBlock->nIndex);
    EXPECT_EQ(0, pBlock->a);
    EXPECT_EQ(0, pBlock->b);
    EXPECT_EQ(0, pBlock->nReserved);

    // The menu buttons' codes carry their two values.
    pBtn->SendNotify(TWK_TBN_DROPMENU, 5, -6);
    ASSERT_EQ(2u, owner.seen.size());
    pBlock = reinterpret_cast<const TWKTBNotify*>(owner.seen[1].block.data());
    EXPECT_EQ((UINT)TWK_TBN_DROPMENU, pBlock->hdr.code);
    EXPECT_EQ(5, pBlock->a);
    EXPECT_EQ(-6, pBlock->b);
    pBar->SetOwner(nullptr);
    owner.DestroyWindow();
}

TEST_F(StdBtnTest, ToolTipsAskTheOwnerForTheText)
{
    TWKStdBtn* pBtn = Btn(4);
    pBtn->SetPos(60, 3);
    TOOLINFOA ti = {};
    ti.cbSize = 123;
    ti.uFlags = TTF_IDISHWND;
    EXPECT_EQ((INT_PTR)ID_TWK_TEST_D, pBtn->OnToolHitTest(CPoint(61, 4), &ti));
    EXPECT_EQ(0u, ti.uFlags);
    EXPECT_EQ(pBar->m_hWnd, ti.hwnd);
    EXPECT_EQ((UINT_PTR)ID_TWK_TEST_D, ti.uId);
    EXPECT_EQ(CRect(60, 3, 83, 25), CRect(ti.rect));
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText);
    EXPECT_EQ(123u, ti.cbSize);
    EXPECT_EQ((INT_PTR)ID_TWK_TEST_D, pBtn->OnToolHitTest(CPoint(61, 4), nullptr));
}

} // namespace
