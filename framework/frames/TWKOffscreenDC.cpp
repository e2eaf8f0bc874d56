// Off-screen drawing for one rectangle of a target DC, and bitmaps in the
// current button colours.
#include "framework/frames/TWKOffscreenDC.h"
#include <vector>

namespace {
// A memory DC with the bitmap of the last drawing for the display, kept for
// the next one: paints come one after another, and making a DC and a bitmap
// the size of a window (and selecting one into the other) costs more than the
// drawing into them. Taken by one drawing at a time; another one meanwhile
// makes its own.
struct SpareDC {
    HDC hDC = nullptr;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hFirstBitmap = nullptr;   // the DC's own, put back before it goes
    int cx = 0, cy = 0;
    LONG nBusy = 0;
    ~SpareDC()
    {
        if (hDC)
            ::SelectObject(hDC, hFirstBitmap);
        if (hBitmap)
            ::DeleteObject(hBitmap);
        if (hDC)
            ::DeleteDC(hDC);
    }
};
SpareDC g_spare;

// Larger drawings make a bitmap of their own (asking the screen's size costs
// more here than the bitmap saves).
const int kSpareMaxSide = 4096;
const int kSpareMaxPixels = 2560 * 1600;

// The kept DC, its bitmap at least cx by cy, for a display target; NULL when
// it is busy or the target is no display (a printer or a memory DC takes its
// own format).
HDC TakeSpareDC(HDC hTarget, int cx, int cy)
{
    if (::GetObjectType(hTarget) != OBJ_DC || ::GetDeviceCaps(hTarget, TECHNOLOGY) != DT_RASDISPLAY)
        return nullptr;
    int cxNew = std::max(cx, g_spare.cx), cyNew = std::max(cy, g_spare.cy);
    if (cxNew > kSpareMaxSide || cyNew > kSpareMaxSide || cxNew * cyNew > kSpareMaxPixels)
        return nullptr;
    if (::InterlockedExchange(&g_spare.nBusy, 1) != 0)
        return nullptr;
    if (g_spare.hDC == nullptr) {
        g_spare.hDC = ::CreateCompatibleDC(hTarget);
        if (g_spare.hDC)
            g_spare.hFirstBitmap = ::GetCurrentObject(g_spare.hDC, OBJ_BITMAP);
    }
    if (g_spare.hDC && (g_spare.hBitmap == nullptr || g_spare.cx < cx || g_spare.cy < cy)) {
        HBITMAP hNew = ::CreateCompatibleBitmap(hTarget, cxNew, cyNew);
        if (hNew) {
            ::SelectObject(g_spare.hDC, hNew);
            if (g_spare.hBitmap)
                ::DeleteObject(g_spare.hBitmap);
            g_spare.hBitmap = hNew;
            g_spare.cx = cxNew;
            g_spare.cy = cyNew;
        }
    }
    if (g_spare.hDC == nullptr || g_spare.hBitmap == nullptr || g_spare.cx < cx || g_spare.cy < cy) {
        ::InterlockedExchange(&g_spare.nBusy, 0);
        return nullptr;
    }
    return g_spare.hDC;
}
} // namespace

TWKOffscreenDC::TWKOffscreenDC(CDC* pTargetDC, int left, int top, int right, int bottom)
    : m_pTargetDC(pTargetDC), m_rect(left, top, right, bottom)
{
    if (!pTargetDC || !pTargetDC->m_hDC)
        AfxThrowResourceException();
    HDC hTarget = pTargetDC->m_hDC;
    ::GetViewportOrgEx(hTarget, &m_ptViewportOrg);
    ::GetWindowOrgEx(hTarget, &m_ptWindowOrg);
    ::GetViewportExtEx(hTarget, &m_sizeViewportExt);
    ::GetWindowExtEx(hTarget, &m_sizeWindowExt);
    m_nMapMode = ::GetMapMode(hTarget);
    // The bitmap covers the rectangle only, so the rectangle's device position
    // becomes the bitmap's origin: the viewport moves by that much.
    POINT corners[2] = { { left, top }, { right, bottom } };
    ::LPtoDP(hTarget, corners, 2);
    m_ptViewportOrg.x -= std::min(corners[0].x, corners[1].x);
    m_ptViewportOrg.y -= std::min(corners[0].y, corners[1].y);
    int cx = std::max(1, (int)std::abs(corners[1].x - corners[0].x));
    int cy = std::max(1, (int)std::abs(corners[1].y - corners[0].y));
    if (HDC hSpare = TakeSpareDC(hTarget, cx, cy)) {
        // Whatever the drawing selects or sets goes with the state saved here.
        Attach(hSpare);
        m_nSpareState = ::SaveDC(m_hDC);
        m_bSpare = TRUE;
    } else {
        if (!CreateCompatibleDC(pTargetDC))
            AfxThrowResourceException();
        if (!m_bitmap.CreateCompatibleBitmap(pTargetDC, cx, cy)) {
            DeleteDC();
            AfxThrowResourceException();
        }
        m_pOldBitmap = SelectObject(&m_bitmap);
    }
    ApplyMapping();
}

TWKOffscreenDC::~TWKOffscreenDC()
{
    ApplyMapping();
    m_pTargetDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                        SRCCOPY);
    if (m_bSpare) {
        ::RestoreDC(m_hDC, m_nSpareState);
        Detach();
        ::InterlockedExchange(&g_spare.nBusy, 0);
        return;
    }
    SelectObject(m_pOldBitmap);
    m_bitmap.DeleteObject();
    DeleteDC();
}

void TWKOffscreenDC::ApplyMapping()
{
    ::SetMapMode(m_hDC, m_nMapMode);
    ::SetViewportOrgEx(m_hDC, m_ptViewportOrg.x, m_ptViewportOrg.y, nullptr);
    ::SetWindowOrgEx(m_hDC, m_ptWindowOrg.x, m_ptWindowOrg.y, nullptr);
    ::SetViewportExtEx(m_hDC, m_sizeViewportExt.cx, m_sizeViewportExt.cy, nullptr);
    ::SetWindowExtEx(m_hDC, m_sizeWindowExt.cx, m_sizeWindowExt.cy, nullptr);
}

// ---------------------------------------------------------------------------

namespace {
// Table colours in RGBQUAD order (0x00RRGGBB) and the system colour each becomes.
const struct { DWORD rgbqFrom; int nSysColor; } kSysColorMap[] = {
    { 0x000000, COLOR_BTNTEXT },
    { 0x808080, COLOR_BTNSHADOW },
    { 0xC0C0C0, COLOR_BTNFACE },
    { 0xFFFFFF, COLOR_BTNHIGHLIGHT },
};

DWORD ToRgbQuad(COLORREF clr)
{
    return (DWORD)((GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr));
}
} // namespace

BOOL TWKLoadSysColorBitmap(CBitmap* pBitmap, LPCSTR lpszResourceName)
{
    if (!pBitmap)
        return FALSE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_BITMAP);
    if (!hRsrc)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    size_t nSize = ::SizeofResource(hInst, hRsrc);
    if (!pData || nSize < sizeof(BITMAPINFOHEADER))
        return FALSE;

    // The table's length comes from the header, and the pixel bits follow the
    // table; everything must lie inside the resource.
    BITMAPINFOHEADER bih;
    memcpy(&bih, pData, sizeof(bih));
    if (bih.biSize < sizeof(BITMAPINFOHEADER) || bih.biSize > nSize || bih.biBitCount == 0 || bih.biBitCount > 8
        || bih.biWidth <= 0 || bih.biHeight == 0 || bih.biPlanes != 1)
        return FALSE;
    size_t nMaxColors = (size_t)1 << bih.biBitCount;
    size_t nColors = bih.biClrUsed ? bih.biClrUsed : nMaxColors;
    if (nColors > nMaxColors)
        return FALSE;
    size_t nHeader = bih.biSize + nColors * sizeof(RGBQUAD);
    size_t nHeight = (size_t)std::abs((long long)bih.biHeight);
    size_t nBits = (bih.biCompression == BI_RGB)
                       ? (((size_t)bih.biWidth * bih.biBitCount + 31) / 32) * 4 * nHeight
                       : bih.biSizeImage;
    if (nBits == 0 || nHeader > nSize || nBits > nSize - nHeader)
        return FALSE;

    std::vector<BYTE> info(pData, pData + nHeader);
    auto* pTable = reinterpret_cast<RGBQUAD*>(info.data() + bih.biSize);
    for (size_t i = 0; i < nColors; i++) {
        DWORD rgbq = (DWORD)((pTable[i].rgbRed << 16) | (pTable[i].rgbGreen << 8) | pTable[i].rgbBlue);
        for (const auto& m : kSysColorMap) {
            if (rgbq == m.rgbqFrom) {
                DWORD to = ToRgbQuad(::GetSysColor(m.nSysColor));
                pTable[i].rgbRed = (BYTE)(to >> 16);
                pTable[i].rgbGreen = (BYTE)(to >> 8);
                pTable[i].rgbBlue = (BYTE)to;
                break;
            }
        }
    }

    int cx = bih.biWidth;
    int cy = (int)nHeight;
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hMemDC = hBitmap ? ::CreateCompatibleDC(hScreen) : nullptr;
    ::ReleaseDC(nullptr, hScreen);
    if (!hBitmap)
        return FALSE;
    pBitmap->DeleteObject();
    pBitmap->Attach(hBitmap);
    if (!hMemDC)
        return FALSE;
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::StretchDIBits(hMemDC, 0, 0, cx, cy, 0, 0, cx, cy, pData + nHeader,
                    reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    return TRUE;
}
