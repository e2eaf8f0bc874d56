// A memory picture for drawing tests: a bitmap compatible with the screen,
// filled with a marker colour, read back pixel by pixel.
#pragma once
#include "afx/afx.h"
#include <algorithm>
#include <utility>

namespace vt {

const COLORREF kPictureMarker = RGB(0x12, 0x34, 0x56);

struct Picture {
    CDC dc;
    CBitmap bitmap;
    CBitmap* pOld = nullptr;
    int cx, cy;
    Picture(int cxIn, int cyIn) : cx(cxIn), cy(cyIn)
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, cx, cy);
        pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, cx, cy, kPictureMarker);
    }
    ~Picture() { dc.SelectObject(pOld); }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }
    // Nothing was drawn.
    bool Untouched() const
    {
        for (int y = 0; y < cy; y++)
            for (int x = 0; x < cx; x++)
                if (At(x, y) != kPictureMarker)
                    return false;
        return true;
    }
    // The first and last column holding colour clr; (cx, -1) when none does.
    std::pair<int, int> Columns(COLORREF clr) const
    {
        std::pair<int, int> r(cx, -1);
        for (int y = 0; y < cy; y++)
            for (int x = 0; x < cx; x++)
                if (At(x, y) == clr) {
                    r.first = std::min(r.first, x);
                    r.second = std::max(r.second, x);
                }
        return r;
    }
};

} // namespace vt
