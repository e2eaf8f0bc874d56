#include "afx/geometry.h"
#include <algorithm>

void CRect::NormalizeRect() noexcept
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT prc1, LPCRECT prc2) noexcept
{
    RECT a = *prc1, b = *prc2;   // either may be this
    RECT r = { std::max(a.left, b.left), std::max(a.top, b.top),
               std::min(a.right, b.right), std::min(a.bottom, b.bottom) };
    if (a.left >= a.right || a.top >= a.bottom || b.left >= b.right || b.top >= b.bottom
        || r.left >= r.right || r.top >= r.bottom)
    {
        SetRectEmpty();
        return FALSE;
    }
    CopyRect(&r);
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT prc1, LPCRECT prc2) noexcept
{
    RECT a = *prc1, b = *prc2;
    bool emptyA = a.left >= a.right || a.top >= a.bottom;
    bool emptyB = b.left >= b.right || b.top >= b.bottom;
    if (emptyA && emptyB)
    {
        SetRectEmpty();
        return FALSE;
    }
    if (emptyA)
        CopyRect(&b);
    else if (emptyB)
        CopyRect(&a);
    else
        SetRect(std::min(a.left, b.left), std::min(a.top, b.top),
                std::max(a.right, b.right), std::max(a.bottom, b.bottom));
    return TRUE;
}

BOOL CRect::SubtractRect(LPCRECT prcSrc1, LPCRECT prcSrc2) noexcept
{
    RECT a = *prcSrc1, b = *prcSrc2;
    RECT r;
    BOOL ok = ::SubtractRect(&r, &a, &b);
    CopyRect(&r);
    return ok;
}
