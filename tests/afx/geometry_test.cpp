#include "afx/afx.h"
#include <gtest/gtest.h>
#include "tests/harness/printers.h"

static void ExpectRect(const RECT& r, int l, int t, int rt, int b)
{
    EXPECT_EQ(l, r.left);
    EXPECT_EQ(t, r.top);
    EXPECT_EQ(rt, r.right);
    EXPECT_EQ(b, r.bottom);
}

TEST(Geometry, RectBasics)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    r.BottomRight() = CPoint(30, 40);        // corners write through
    ExpectRect(r, 10, 20, 30, 40);
    r.TopLeft().Offset(1, 1);
    ExpectRect(r, 11, 21, 30, 40);

    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect(9, 0, 5, 5).IsRectEmpty());

    CRect in(0, 0, 10, 10);
    EXPECT_TRUE(in.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(in.PtInRect(CPoint(9, 9)));
    EXPECT_FALSE(in.PtInRect(CPoint(10, 5)));   // right and bottom are outside
    EXPECT_FALSE(in.PtInRect(CPoint(5, 10)));

    CRect n(10, 10, 0, 0);
    n.NormalizeRect();
    ExpectRect(n, 0, 0, 10, 10);

    CRect s;
    s.SetRect(1, 2, 3, 4);
    CRect c;
    c.CopyRect(&s);
    EXPECT_TRUE(c.EqualRect(&s));
    EXPECT_TRUE(c == s);
    c.SetRectEmpty();
    EXPECT_TRUE(c != s);
    EXPECT_TRUE(c.IsRectNull());
}

TEST(Geometry, InflateDeflateOffset)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(2, 3);
    ExpectRect(r, 8, 7, 22, 23);
    r.DeflateRect(CSize(2, 3));
    ExpectRect(r, 10, 10, 20, 20);
    RECT border = { 1, 2, 3, 4 };
    r.InflateRect(&border);
    ExpectRect(r, 9, 8, 23, 24);
    r.DeflateRect(&border);
    ExpectRect(r, 10, 10, 20, 20);
    r.InflateRect(1, 2, 3, 4);
    ExpectRect(r, 9, 8, 23, 24);
    r.DeflateRect(1, 2, 3, 4);
    r.OffsetRect(5, -5);
    ExpectRect(r, 15, 5, 25, 15);
    r.OffsetRect(CPoint(-5, 5));
    r.OffsetRect(CSize(1, 1));
    ExpectRect(r, 11, 11, 21, 21);
}

TEST(Geometry, IntersectAndUnion)
{
    CRect a(0, 0, 10, 10), b(5, 5, 15, 15), away(20, 20, 30, 30);
    CRect r;
    EXPECT_TRUE(r.IntersectRect(&a, &b));
    ExpectRect(r, 5, 5, 10, 10);
    EXPECT_FALSE(r.IntersectRect(&a, &away));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_FALSE(r.IntersectRect(&a, CRect(10, 0, 20, 10)));   // touching edges only

    EXPECT_TRUE(r.UnionRect(&a, &b));
    ExpectRect(r, 0, 0, 15, 15);
    EXPECT_TRUE(r.UnionRect(&a, CRect()));          // empty one is ignored
    ExpectRect(r, 0, 0, 10, 10);
    EXPECT_FALSE(r.UnionRect(CRect(), CRect(3, 3, 3, 3)));
    EXPECT_TRUE(r.IsRectNull());

    ExpectRect(a & b, 5, 5, 10, 10);
    ExpectRect(a | b, 0, 0, 15, 15);
    CRect self(a);
    self &= b;                                      // aliasing this
    ExpectRect(self, 5, 5, 10, 10);
    self |= away;
    ExpectRect(self, 5, 5, 30, 30);
}

TEST(Geometry, Operators)
{
    CPoint p(1, 2);
    p += CSize(10, 10);
    EXPECT_EQ(CPoint(11, 12), p);
    p -= CPoint(1, 2);
    EXPECT_EQ(CPoint(10, 10), p);
    EXPECT_EQ(CSize(5, 5), p - CPoint(5, 5));
    EXPECT_EQ(CPoint(15, 15), p + CSize(5, 5));
    EXPECT_EQ(CPoint(-10, -10), -p);
    EXPECT_TRUE(p != CPoint(0, 0));

    CSize s(3, 4);
    s += CSize(1, 1);
    EXPECT_EQ(CSize(4, 5), s);
    EXPECT_EQ(CSize(2, 2), s - CSize(2, 3));
    EXPECT_EQ(CPoint(-3, 2), CPoint(MAKELONG(-3, 2)));   // signed words, as in an LPARAM

    CRect r(0, 0, 10, 10);
    ExpectRect(r + CPoint(1, 2), 1, 2, 11, 12);
    ExpectRect(r - CSize(1, 2), -1, -2, 9, 8);
    RECT m = { 1, 1, 1, 1 };
    ExpectRect(r + &m, -1, -1, 11, 11);
    ExpectRect(r - &m, 1, 1, 9, 9);
    r += CPoint(5, 5);
    r -= CSize(5, 0);
    ExpectRect(r, 0, 5, 10, 15);
    CRect fromPoints(CPoint(1, 2), CPoint(3, 4));
    ExpectRect(fromPoints, 1, 2, 3, 4);
    ExpectRect(CRect(CPoint(1, 2), CSize(3, 4)), 1, 2, 4, 6);
    // Passes straight to the platform as a RECT*.
    RECT copy;
    ::CopyRect(&copy, fromPoints);
    ExpectRect(copy, 1, 2, 3, 4);
}
