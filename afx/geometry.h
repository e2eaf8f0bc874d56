// CPoint, CSize and CRect over the platform's POINT, SIZE and RECT.
#pragma once
#include <windows.h>

class CPoint;
class CRect;

class CSize : public SIZE
{
public:
    CSize() noexcept { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) noexcept { cx = initCX; cy = initCY; }
    CSize(SIZE s) noexcept { cx = s.cx; cy = s.cy; }
    explicit CSize(POINT pt) noexcept { cx = pt.x; cy = pt.y; }
    // Low word = cx, high word = cy (both signed).
    explicit CSize(DWORD dwSize) noexcept { cx = (short)LOWORD(dwSize); cy = (short)HIWORD(dwSize); }

    bool operator==(SIZE s) const noexcept { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const noexcept { return !(*this == s); }
    void operator+=(SIZE s) noexcept { cx += s.cx; cy += s.cy; }
    void operator-=(SIZE s) noexcept { cx -= s.cx; cy -= s.cy; }
    void SetSize(int CX, int CY) noexcept { cx = CX; cy = CY; }

    CSize operator+(SIZE s) const noexcept { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const noexcept { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
    CPoint operator+(POINT pt) const noexcept;
    CPoint operator-(POINT pt) const noexcept;
    CRect operator+(const RECT* prc) const noexcept;
    CRect operator-(const RECT* prc) const noexcept;
};

class CPoint : public POINT
{
public:
    CPoint() noexcept { x = 0; y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX; y = initY; }
    CPoint(POINT pt) noexcept { x = pt.x; y = pt.y; }
    explicit CPoint(SIZE s) noexcept { x = s.cx; y = s.cy; }
    // Low word = x, high word = y (both signed), as in an LPARAM.
    explicit CPoint(DWORD dwPoint) noexcept { x = (short)LOWORD(dwPoint); y = (short)HIWORD(dwPoint); }

    void Offset(int xOffset, int yOffset) noexcept { x += xOffset; y += yOffset; }
    void Offset(POINT pt) noexcept { x += pt.x; y += pt.y; }
    void Offset(SIZE s) noexcept { x += s.cx; y += s.cy; }
    void SetPoint(int X, int Y) noexcept { x = X; y = Y; }

    bool operator==(POINT pt) const noexcept { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const noexcept { return !(*this == pt); }
    void operator+=(SIZE s) noexcept { x += s.cx; y += s.cy; }
    void operator-=(SIZE s) noexcept { x -= s.cx; y -= s.cy; }
    void operator+=(POINT pt) noexcept { x += pt.x; y += pt.y; }
    void operator-=(POINT pt) noexcept { x -= pt.x; y -= pt.y; }

    CPoint operator+(SIZE s) const noexcept { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const noexcept { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
    CPoint operator+(POINT pt) const noexcept { return CPoint(x + pt.x, y + pt.y); }
    CSize operator-(POINT pt) const noexcept { return CSize(x - pt.x, y - pt.y); }
    CRect operator+(const RECT* prc) const noexcept;
    CRect operator-(const RECT* prc) const noexcept;
};

class CRect : public RECT
{
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rc) noexcept { left = rc.left; top = rc.top; right = rc.right; bottom = rc.bottom; }
    CRect(const RECT* prc) noexcept { left = prc->left; top = prc->top; right = prc->right; bottom = prc->bottom; }
    CRect(POINT pt, SIZE s) noexcept { left = pt.x; top = pt.y; right = pt.x + s.cx; bottom = pt.y + s.cy; }
    CRect(POINT topLeft, POINT bottomRight) noexcept
        { left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y; }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(right - left, bottom - top); }
    // The corners live inside the RECT itself, so writes go through.
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const noexcept { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    // Empty: no area (width or height <= 0). Null: all four coordinates 0.
    BOOL IsRectEmpty() const noexcept { return left >= right || top >= bottom; }
    BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const noexcept
        { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }

    void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    void SetRect(POINT topLeft, POINT bottomRight) noexcept
        { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() noexcept { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT prc) noexcept { *static_cast<RECT*>(this) = *prc; }
    BOOL EqualRect(LPCRECT prc) const noexcept
        { return left == prc->left && top == prc->top && right == prc->right && bottom == prc->bottom; }

    void InflateRect(int x, int y) noexcept { left -= x; top -= y; right += x; bottom += y; }
    void InflateRect(SIZE s) noexcept { InflateRect(s.cx, s.cy); }
    void InflateRect(LPCRECT prc) noexcept
        { left -= prc->left; top -= prc->top; right += prc->right; bottom += prc->bottom; }
    void InflateRect(int l, int t, int r, int b) noexcept
        { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }
    void DeflateRect(SIZE s) noexcept { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(LPCRECT prc) noexcept
        { left += prc->left; top += prc->top; right -= prc->right; bottom -= prc->bottom; }
    void DeflateRect(int l, int t, int r, int b) noexcept
        { left += l; top += t; right -= r; bottom -= b; }

    void OffsetRect(int x, int y) noexcept { left += x; top += y; right += x; bottom += y; }
    void OffsetRect(POINT pt) noexcept { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE s) noexcept { OffsetRect(s.cx, s.cy); }
    void MoveToX(int x) noexcept { right += x - left; left = x; }
    void MoveToY(int y) noexcept { bottom += y - top; top = y; }
    void MoveToXY(int x, int y) noexcept { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT pt) noexcept { MoveToXY(pt.x, pt.y); }

    // Swap coordinates so that left <= right and top <= bottom.
    void NormalizeRect() noexcept;

    // Both leave an empty (all zero) rectangle and return FALSE when there is
    // no overlap / both inputs are empty, like the platform's functions.
    BOOL IntersectRect(LPCRECT prc1, LPCRECT prc2) noexcept;
    BOOL UnionRect(LPCRECT prc1, LPCRECT prc2) noexcept;
    BOOL SubtractRect(LPCRECT prcSrc1, LPCRECT prcSrc2) noexcept;

    CRect& operator=(const RECT& rc) noexcept { CopyRect(&rc); return *this; }
    bool operator==(const RECT& rc) const noexcept { return EqualRect(&rc) != FALSE; }
    bool operator!=(const RECT& rc) const noexcept { return !EqualRect(&rc); }
    void operator+=(POINT pt) noexcept { OffsetRect(pt); }
    void operator+=(SIZE s) noexcept { OffsetRect(s); }
    void operator+=(LPCRECT prc) noexcept { InflateRect(prc); }
    void operator-=(POINT pt) noexcept { OffsetRect(-pt.x, -pt.y); }
    void operator-=(SIZE s) noexcept { OffsetRect(-s.cx, -s.cy); }
    void operator-=(LPCRECT prc) noexcept { DeflateRect(prc); }
    void operator&=(const RECT& rc) noexcept { IntersectRect(this, &rc); }
    void operator|=(const RECT& rc) noexcept { UnionRect(this, &rc); }

    CRect operator+(POINT pt) const noexcept { CRect r(*this); r.OffsetRect(pt); return r; }
    CRect operator-(POINT pt) const noexcept { CRect r(*this); r.OffsetRect(-pt.x, -pt.y); return r; }
    CRect operator+(SIZE s) const noexcept { CRect r(*this); r.OffsetRect(s); return r; }
    CRect operator-(SIZE s) const noexcept { CRect r(*this); r.OffsetRect(-s.cx, -s.cy); return r; }
    CRect operator+(LPCRECT prc) const noexcept { CRect r(*this); r.InflateRect(prc); return r; }
    CRect operator-(LPCRECT prc) const noexcept { CRect r(*this); r.DeflateRect(prc); return r; }
    // Beats the built-in pointer difference that operator LPRECT would offer.
    CRect operator-(LPRECT prc) noexcept { CRect r(*this); r.DeflateRect(prc); return r; }
    CRect operator&(const RECT& rc) const noexcept { CRect r; r.IntersectRect(this, &rc); return r; }
    CRect operator|(const RECT& rc) const noexcept { CRect r; r.UnionRect(this, &rc); return r; }
};

inline CPoint CSize::operator+(POINT pt) const noexcept { return CPoint(cx + pt.x, cy + pt.y); }
inline CPoint CSize::operator-(POINT pt) const noexcept { return CPoint(cx - pt.x, cy - pt.y); }
inline CRect CSize::operator+(const RECT* prc) const noexcept { CRect r(prc); r.OffsetRect(*this); return r; }
inline CRect CSize::operator-(const RECT* prc) const noexcept { CRect r(prc); r.OffsetRect(-*this); return r; }
inline CRect CPoint::operator+(const RECT* prc) const noexcept { CRect r(prc); r.OffsetRect(*this); return r; }
inline CRect CPoint::operator-(const RECT* prc) const noexcept { CRect r(prc); r.OffsetRect(-x, -y); return r; }
