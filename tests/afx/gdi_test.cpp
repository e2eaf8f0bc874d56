#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// A 40 x 40 white bitmap selected into a memory DC.
struct MemDC {
    CDC dc;
    CBitmap bmp;
    CBitmap* old = nullptr;
    MemDC()
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bmp.CreateCompatibleBitmap(&screen, 40, 40);
        old = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, 40, 40, kWhite);
    }
    ~MemDC() { dc.SelectObject(old); }
    // How many pixels of the rectangle have the colour.
    int Count(const CRect& rc, COLORREF c) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                n += dc.GetPixel(x, y) == c;
        return n;
    }
};

TEST(Gdi, DrawDragRectDrawsMovesAndErases)
{
    MemDC m;
    CBrush white(kWhite);   // white XOR white = black: easy to read back
    CRect first(5, 5, 25, 25), second(10, 10, 30, 30);
    CSize thick(2, 2);

    m.dc.DrawDragRect(&first, thick, nullptr, CSize(0, 0), &white, &white);
    EXPECT_EQ(m.dc.GetPixel(5, 5), kBlack);
    EXPECT_EQ(m.dc.GetPixel(6, 15), kBlack);
    EXPECT_EQ(m.dc.GetPixel(7, 15), kWhite);     // inside the frame
    EXPECT_EQ(m.Count(CRect(0, 0, 40, 40), kBlack), 20 * 20 - 16 * 16);

    // Moving erases the last frame in the same call.
    m.dc.DrawDragRect(&second, thick, &first, thick, &white, &white);
    EXPECT_EQ(m.dc.GetPixel(5, 5), kWhite);
    EXPECT_EQ(m.dc.GetPixel(10, 10), kBlack);
    EXPECT_EQ(m.dc.GetPixel(29, 29), kBlack);
    EXPECT_EQ(m.Count(CRect(0, 0, 40, 40), kBlack), 20 * 20 - 16 * 16);

    // Size (0,0): only the erasing.
    m.dc.DrawDragRect(&second, CSize(0, 0), &second, thick, &white, &white);
    EXPECT_EQ(m.Count(CRect(0, 0, 40, 40), kBlack), 0);
}

TEST(Gdi, DrawDragRectDefaultsToAHalftoneFrame)
{
    MemDC m;
    CRect rc(4, 4, 20, 20);
    m.dc.DrawDragRect(&rc, CSize(1, 1), nullptr, CSize(0, 0));
    // Along the top edge every other pixel is inverted.
    EXPECT_NE(m.dc.GetPixel(8, 4), m.dc.GetPixel(9, 4));
    int black = m.Count(CRect(4, 4, 20, 5), kBlack);
    EXPECT_EQ(black, 8);
    EXPECT_EQ(m.Count(CRect(5, 5, 19, 19), kBlack), 0);
}

TEST(Gdi, Draw3dRectAndSelection)
{
    MemDC m;
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    m.dc.Draw3dRect(CRect(2, 2, 12, 12), red, blue);
    EXPECT_EQ(m.dc.GetPixel(2, 2), red);
    EXPECT_EQ(m.dc.GetPixel(10, 2), red);
    EXPECT_EQ(m.dc.GetPixel(11, 2), blue);
    EXPECT_EQ(m.dc.GetPixel(11, 11), blue);
    EXPECT_EQ(m.dc.GetPixel(2, 11), blue);
    EXPECT_EQ(m.dc.GetPixel(5, 5), kWhite);

    CPen pen(PS_SOLID, 1, blue);
    CPen* pOld = m.dc.SelectObject(&pen);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(m.dc.GetCurrentPen()->m_hObject, pen.m_hObject);
    EXPECT_EQ(m.dc.SelectObject(pOld), CPen::FromHandle((HPEN)pen.m_hObject));
    AfxGetApp()->OnIdle(1);   // temporaries go; the owned pen stays
    EXPECT_NE(GetObjectType(pen.m_hObject), 0u);
}

} // namespace
