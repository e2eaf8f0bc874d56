#include "framework/frames/TWKCaptionPainter.h"
#include <cstddef>

namespace TWKCaption {

namespace {

// The metrics structure as the caption code has always read it: without the padded border.
constexpr UINT kMetricsSize = 340;
static_assert(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == kMetricsSize, "caption metrics layout");

int Channel(int value, int end, int step)
{
    if (step >= 0)
        return value > end ? end : value;
    return value < end ? end : value;
}

} // namespace

void FillGradient(CDC* pDC, const CRect& rc, int nBands, COLORREF crStart, COLORREF crEnd)
{
    int nWidth = rc.Width();
    int n = nBands < nWidth ? nBands : nWidth;
    if (n <= 0)
        return;
    const int start[3] = { GetRValue(crStart), GetGValue(crStart), GetBValue(crStart) };
    const int end[3] = { GetRValue(crEnd), GetGValue(crEnd), GetBValue(crEnd) };
    int value[3], step[3];
    for (int c = 0; c < 3; ++c) {
        value[c] = start[c] * 256;
        step[c] = (end[c] - start[c]) * 256 / n;
    }
    HDC hdc = pDC->GetSafeHdc();
    HGDIOBJ hOldPen = ::SelectObject(hdc, ::GetStockObject(NULL_PEN));
    int nBand = nWidth / n;
    for (int i = 0; i < n; ++i) {
        int left = rc.left + i * nBand;
        int right = i == n - 1 ? rc.right : left + nBand;
        HBRUSH hBrush = ::CreateSolidBrush(RGB(value[0] / 256, value[1] / 256, value[2] / 256));
        HGDIOBJ hOldBrush = ::SelectObject(hdc, hBrush);
        ::Rectangle(hdc, left, rc.top, right + 1, rc.bottom + 1);
        ::SelectObject(hdc, hOldBrush);
        ::DeleteObject(hBrush);
        for (int c = 0; c < 3; ++c)
            value[c] = Channel(value[c] + step[c], end[c] * 256, step[c]);
    }
    ::SelectObject(hdc, hOldPen);
}

CRect GetCaptionRect(CWnd* pWnd, BOOL bWin4)
{
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    DWORD dwStyle = pWnd->GetStyle();
    CRect rc;
    rc.left = ::GetSystemMetrics(SM_CXFRAME);
    rc.top = ::GetSystemMetrics(SM_CYFRAME) - ((dwStyle & WS_THICKFRAME) ? 0 : 1);
    rc.right = rcWindow.Width() - ::GetSystemMetrics(SM_CXSIZE) - 1;
    rc.bottom = rc.top + ::GetSystemMetrics(SM_CYSIZE);
    if (bWin4) {
        int n = ((dwStyle & WS_MINIMIZEBOX) ? 1 : 0) + ((dwStyle & WS_MAXIMIZEBOX) ? 1 : 0);
        int c = 0;
        if (HMENU hSysMenu = ::GetSystemMenu(pWnd->GetSafeHwnd(), FALSE)) {
            UINT state = ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
            c = (state != (UINT)-1 && !(state & (MF_GRAYED | MF_DISABLED))) ? 1 : 0;
        }
        rc.right += ::GetSystemMetrics(SM_CXBORDER) - (n + c - 1) * ::GetSystemMetrics(SM_CXSIZE);
        if (n > 0)
            rc.right -= 1;
    }
    return rc;
}

BOOL CreateFont(CFont* pFont, BOOL bItalic)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = kMetricsSize;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kMetricsSize, &ncm, 0))
        return FALSE;
    if (bItalic)
        ncm.lfCaptionFont.lfItalic = TRUE;
    pFont->DeleteObject();
    return pFont->CreateFontIndirect(&ncm.lfCaptionFont);
}

TitleLayout LayoutTitle(CDC* pDC, const CString& strTitle, const CRect& rcText, int nAlign,
                        CFont* pItalic, CFont* pNormal)
{
    TitleLayout layout;
    int nDash = strTitle.Find('-');
    layout.strApp = nDash < 0 ? strTitle : strTitle.Left(nDash);
    CString strDoc = nDash < 0 ? CString() : strTitle.Mid(nDash);

    HDC hdc = pDC->GetSafeHdc();
    HGDIOBJ hOld = ::SelectObject(hdc, pItalic ? pItalic->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE szApp = {};
    ::GetTextExtentPoint32A(hdc, layout.strApp, layout.strApp.GetLength(), &szApp);
    ::SelectObject(hdc, pNormal ? pNormal->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE szDoc = {}, szMin = {};
    ::GetTextExtentPoint32A(hdc, strDoc, strDoc.GetLength(), &szDoc);
    ::GetTextExtentPoint32A(hdc, "W...", 4, &szMin);
    ::SelectObject(hdc, hOld);

    int nAppLeft = rcText.left + 3;
    layout.rcApp = CRect(nAppLeft, rcText.top, nAppLeft + szApp.cx, rcText.bottom);
    if (strDoc.IsEmpty() || rcText.Width() < szApp.cx + szMin.cx)
        return layout;
    layout.strDoc = strDoc;
    int nLeft = layout.rcApp.right;
    if (nAlign == 1)
        nLeft = rcText.left + (rcText.Width() - szDoc.cx) / 2;
    else if (nAlign != 0)
        nLeft = rcText.right - szDoc.cx;
    if (nLeft < layout.rcApp.right)
        nLeft = layout.rcApp.right;
    layout.rcDoc = CRect(nLeft, rcText.top, rcText.right, rcText.bottom);
    return layout;
}

void Compose(CDC* pDC, CWnd* pWnd, const CSize& size, BOOL bActive, int nAlign, CFont* pItalic, CFont* pNormal)
{
    HDC hdc = pDC->GetSafeHdc();
    CRect rcText(0, 0, size.cx, size.cy);
    COLORREF crBack = bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION);
    if (pWnd->GetStyle() & WS_SYSMENU) {
        CRect rcIcon(0, 0, size.cy, size.cy);
        HBRUSH hBack = ::CreateSolidBrush(crBack);
        ::FillRect(hdc, &rcIcon, hBack);
        ::DeleteObject(hBack);
        HWND hwnd = pWnd->GetSafeHwnd();
        HICON hIcon = (HICON)::GetClassLongPtrA(hwnd, ::GetSystemMetrics(SM_CXSIZE) <= 29 ? GCLP_HICONSM : GCLP_HICON);
        if (!hIcon)
            hIcon = (HICON)::GetClassLongPtrA(hwnd, GCLP_HICON);
        CRect rcSquare(rcIcon.left + 2, rcIcon.top + 1, rcIcon.right, rcIcon.bottom - 1);
        if (hIcon)
            ::DrawIconEx(hdc, rcSquare.left, rcSquare.top, hIcon, rcSquare.Width(), rcSquare.Height(), 0, NULL,
                         DI_NORMAL);
        rcText.left = rcIcon.right;
    }
    if (bActive) {
        FillGradient(pDC, rcText, 60, RGB(0, 0, 0), ::GetSysColor(COLOR_ACTIVECAPTION));
    } else {
        HBRUSH hBack = ::CreateSolidBrush(crBack);
        ::FillRect(hdc, &rcText, hBack);
        ::DeleteObject(hBack);
    }

    CString strTitle;
    pWnd->GetWindowText(strTitle);
    TitleLayout layout = LayoutTitle(pDC, strTitle, rcText, nAlign, pItalic, pNormal);
    int nOldMode = ::SetBkMode(hdc, TRANSPARENT);
    COLORREF crOld = ::SetTextColor(hdc, bActive ? RGB(255, 255, 255) : ::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    const UINT uFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    HGDIOBJ hOld = ::SelectObject(hdc, pItalic ? pItalic->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    CRect rcApp(layout.rcApp.left, rcText.top, rcText.right, rcText.bottom);
    ::DrawTextA(hdc, layout.strApp, layout.strApp.GetLength(), &rcApp, uFormat);
    if (!layout.strDoc.IsEmpty()) {
        ::SelectObject(hdc, pNormal ? pNormal->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
        CRect rcDoc = layout.rcDoc;
        ::DrawTextA(hdc, layout.strDoc, layout.strDoc.GetLength(), &rcDoc, uFormat);
    }
    ::SelectObject(hdc, hOld);
    ::SetTextColor(hdc, crOld);
    ::SetBkMode(hdc, nOldMode);
}

BOOL Paint(CWnd* pWnd, BOOL bWin4, BOOL bActive, int nAlign, CFont* pItalic, CFont* pNormal)
{
    CRect rc = GetCaptionRect(pWnd, bWin4);
    HWND hwnd = pWnd->GetSafeHwnd();
    HDC hdcWindow = ::GetWindowDC(hwnd);
    if (!hdcWindow)
        return FALSE;
    HDC hdcMem = ::CreateCompatibleDC(hdcWindow);
    HBITMAP hBitmap = rc.Width() > 0 && rc.Height() > 0
                          ? ::CreateCompatibleBitmap(hdcWindow, rc.Width(), rc.Height()) : NULL;
    BOOL bOk = hdcMem && hBitmap;
    if (bOk) {
        HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
        CDC dc;
        dc.Attach(hdcMem);
        Compose(&dc, pWnd, rc.Size(), bActive, nAlign, pItalic, pNormal);
        dc.Detach();
        ::BitBlt(hdcWindow, rc.left, rc.top, rc.Width(), rc.Height(), hdcMem, 0, 0, SRCCOPY);
        ::SelectObject(hdcMem, hOld);
    }
    if (hBitmap)
        ::DeleteObject(hBitmap);
    if (hdcMem)
        ::DeleteDC(hdcMem);
    ::ReleaseDC(hwnd, hdcWindow);
    return bOk;
}

LRESULT DefaultHidden(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = pWnd->GetSafeHwnd();
    LONG_PTR style = ::GetWindowLongPtrA(hwnd, GWL_STYLE);
    if (style & WS_VISIBLE)
        ::SetWindowLongPtrA(hwnd, GWL_STYLE, style & ~(LONG_PTR)WS_VISIBLE);
    LRESULT lResult = pWnd->DefWindowProc(message, wParam, lParam);
    if (style & WS_VISIBLE)
        ::SetWindowLongPtrA(hwnd, GWL_STYLE, ::GetWindowLongPtrA(hwnd, GWL_STYLE) | WS_VISIBLE);
    return lResult;
}

BOOL NcPaintAroundCaption(CWnd* pWnd, BOOL bWin4, WPARAM wParam)
{
    HWND hwnd = pWnd->GetSafeHwnd();
    CRect rcWindow;
    ::GetWindowRect(hwnd, &rcWindow);
    CRect rcCaption = GetCaptionRect(pWnd, bWin4);
    rcCaption.OffsetRect(rcWindow.left, rcWindow.top);
    HRGN hGiven = (HRGN)wParam;
    if (wParam > 1 && !::RectInRegion(hGiven, &rcCaption)) {
        pWnd->DefWindowProc(WM_NCPAINT, wParam, 0);
        return FALSE;
    }
    HRGN hRest = wParam > 1 ? ::CreateRectRgn(0, 0, 0, 0) : ::CreateRectRgnIndirect(&rcWindow);
    if (wParam > 1)
        ::CombineRgn(hRest, hGiven, NULL, RGN_COPY);
    HRGN hCaption = ::CreateRectRgnIndirect(&rcCaption);
    ::CombineRgn(hRest, hRest, hCaption, RGN_DIFF);
    ::DeleteObject(hCaption);
    pWnd->DefWindowProc(WM_NCPAINT, (WPARAM)hRest, 0);
    ::DeleteObject(hRest);
    return TRUE;
}

} // namespace TWKCaption
