#include "afx/gdi.h"
#include "afx/wnd.h"
#include <algorithm>
#include <vector>
#include "afx/handlemap.h"
#include "afx/module.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {
// Attached DCs are per thread: a DC is only used by the thread that got it.
CHandleMap<HDC, CDC>& DCs()
{
    thread_local CHandleMap<HDC, CDC> m;
    return m;
}
void SetDCHandle(CDC* p, HDC h) { p->m_hDC = p->m_hAttribDC = h; }
} // namespace

CDC::~CDC()
{
    if (m_hDC && DCs().LookupPermanent(m_hDC) == this)
        DeleteDC();
}

HDC CDC::GetSafeHdc() const
{
    return AfxIsNullThis(this) ? nullptr : m_hDC;
}

AFX_IMPLEMENT_HANDLE_WRAPPER(CDC, HDC, DCs, m_hDC, SetDCHandle)

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

// ---------------------------------------------------------------------------
// GDI objects

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

namespace {
std::vector<void (*)()>& TempGdiClearers()
{
    thread_local std::vector<void (*)()> v;
    return v;
}
template <class T> void ClearTempGdiMap()
{
    // Wrappers never delete the handle.
    CHandleMap<HGDIOBJ, T>::DeleteTemporaries([](T* p) { p->m_hObject = nullptr; });
}
} // namespace

template <class T> T* CGdiObject::TempFromHandle(HGDIOBJ h)
{
    if (!h)
        return nullptr;
    if (!CHandleMap<HGDIOBJ, T>::HasTemporaries()) {
        auto& clearers = TempGdiClearers();
        if (std::find(clearers.begin(), clearers.end(), &ClearTempGdiMap<T>) == clearers.end())
            clearers.push_back(&ClearTempGdiMap<T>);
    }
    return CHandleMap<HGDIOBJ, T>::Temporary(h, [](HGDIOBJ hObject) {
        T* p = new T;
        p->m_hObject = hObject;
        p->m_bTemporary = true;
        return p;
    });
}

HGDIOBJ CGdiObject::GetSafeHandle() const
{
    return AfxIsNullThis(this) ? nullptr : m_hObject;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return TempFromHandle<CGdiObject>(hObject); }
CPen* CPen::FromHandle(HPEN h) { return TempFromHandle<CPen>(h); }
CBrush* CBrush::FromHandle(HBRUSH h) { return TempFromHandle<CBrush>(h); }
CFont* CFont::FromHandle(HFONT h) { return TempFromHandle<CFont>(h); }
CBitmap* CBitmap::FromHandle(HBITMAP h) { return TempFromHandle<CBitmap>(h); }
CRgn* CRgn::FromHandle(HRGN h) { return TempFromHandle<CRgn>(h); }

void CGdiObject::DeleteTempMap()
{
    for (auto clear : TempGdiClearers())
        clear();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject || m_bTemporary)
        return FALSE;
    return ::DeleteObject(Detach());
}

CBrush::CBrush(CBitmap* pBitmap)
{
    CreatePatternBrush(pBitmap);
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, lpszFaceName ? lpszFaceName : "", LF_FACESIZE);
    HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    // Tenths of a point to logical units of the device.
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), nPointSize, 720)};
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -abs(pt.y - ptOrg.y);
    if (!pDC)
        ::ReleaseDC(nullptr, hDC);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap, UINT nFlags, LPCOLORMAP lpColorMap, int nMapSize)
{
    return Attach(::CreateMappedBitmap(AfxGetResourceHandle(), nIDBitmap, nFlags, lpColorMap, nMapSize));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CBrush* AfxGetHalftoneBrush()
{
    static CBrush* pBrush = [] {
        WORD grayPattern[8];
        for (int i = 0; i < 8; i++)
            grayPattern[i] = (WORD)(0x5555 << (i & 1));
        HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, grayPattern);
        auto* p = new CBrush;
        if (hbm) {
            p->Attach(::CreatePatternBrush(hbm));
            ::DeleteObject(hbm);
        }
        return p;
    }();
    return pBrush;
}

// ---------------------------------------------------------------------------
// CDC drawing helpers

CWnd* CDC::GetWindow() const
{
    return CWnd::FromHandle(::WindowFromDC(m_hDC));
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

int CDC::DrawText(CString& str, LPRECT lpRect, UINT nFormat)
{
    if (nFormat & DT_MODIFYSTRING) {
        // Room for the ellipsis the platform may write back.
        int n = str.GetLength();
        LPSTR p = str.GetBuffer(n + 4);
        int r = ::DrawTextA(m_hDC, p, n, lpRect, nFormat);
        str.ReleaseBuffer();
        return r;
    }
    return ::DrawTextA(m_hDC, str, str.GetLength(), lpRect, nFormat);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                       CBrush* pBrush, CBrush* pBrushLast)
{
    // The frame of a rectangle as a region: outside minus the inside.
    auto frameRgn = [](LPCRECT rc, SIZE sz) {
        HRGN outside = ::CreateRectRgnIndirect(rc);
        RECT in = *rc;
        ::InflateRect(&in, -sz.cx, -sz.cy);
        ::IntersectRect(&in, &in, rc);
        HRGN inside = ::CreateRectRgnIndirect(&in);
        HRGN frame = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(frame, outside, inside, RGN_XOR);
        ::DeleteObject(outside);
        ::DeleteObject(inside);
        return frame;
    };
    HBRUSH hBrush = pBrush ? (HBRUSH)pBrush->GetSafeHandle() : (HBRUSH)AfxGetHalftoneBrush()->GetSafeHandle();
    HBRUSH hBrushLast = pBrushLast ? (HBRUSH)pBrushLast->GetSafeHandle() : hBrush;

    HRGN rgnNew = frameRgn(lpRect, size);
    HRGN rgnLast = nullptr, rgnUpdate = nullptr;
    if (lpRectLast) {
        rgnLast = frameRgn(lpRectLast, sizeLast);
        if (hBrush == hBrushLast) {
            // One pass: what changes is the symmetric difference.
            rgnUpdate = ::CreateRectRgn(0, 0, 0, 0);
            ::CombineRgn(rgnUpdate, rgnLast, rgnNew, RGN_XOR);
        }
    }
    HGDIOBJ oldBrush = ::SelectObject(m_hDC, hBrush);
    RECT box;
    if (lpRectLast && !rgnUpdate) {
        // Different brushes: erase the old frame with its own brush first.
        ::SelectObject(m_hDC, hBrushLast);
        ::SelectClipRgn(m_hDC, rgnLast);
        ::GetClipBox(m_hDC, &box);
        ::PatBlt(m_hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
        ::SelectObject(m_hDC, hBrush);
    }
    ::SelectClipRgn(m_hDC, rgnUpdate ? rgnUpdate : rgnNew);
    if (::GetClipBox(m_hDC, &box) != NULLREGION)
        ::PatBlt(m_hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    ::SelectClipRgn(m_hDC, nullptr);
    ::SelectObject(m_hDC, oldBrush);
    ::DeleteObject(rgnNew);
    if (rgnLast)
        ::DeleteObject(rgnLast);
    if (rgnUpdate)
        ::DeleteObject(rgnUpdate);
}
