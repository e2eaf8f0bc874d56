// The standard toolbar button, button class records, the shared drawing
// context and the dither brush.
#include "framework/controls/toolbars/TWKStdBtn.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/frames/TWKAuxData.h"

namespace {
// Raster operations of the state drawings: where the mask is 0 (image)
// the brush replaces the destination, or keeps it.
const DWORD ROP_PSDPxax = 0x00B8074A;   // mask 1 keeps the destination, 0 takes the brush
const DWORD ROP_DSPDxax = 0x00E20746;   // mask 1 takes the brush, 0 keeps the destination
const DWORD ROP_DSna = 0x00220326;      // destination and not source
} // namespace

// ---------------------------------------------------------------------------
// Class records

TWKStdBtn* TWKBtnClass::CreateBtn() const
{
    if (!m_pfnCreateBtn)
        return nullptr;
    try {
        return m_pfnCreateBtn();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return nullptr;
}

const TWKBtnClass TWKStdBtn::btnClassTWKStdBtn = { &TWKStdBtn::CreateBtnObject };

TWKStdBtn* TWKStdBtn::CreateBtnObject()
{
    return new TWKStdBtn;
}

const TWKBtnClass* TWKStdBtn::GetBtnClass() const
{
    return BUTTON_CLASS(TWKStdBtn);
}

// ---------------------------------------------------------------------------
// Dither brush and drawing context

HBRUSH TWKCreateDitherBrush()
{
    struct {
        BITMAPINFOHEADER bmiHeader;
        RGBQUAD bmiColors[2];
    } bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 8;
    bmi.bmiHeader.biHeight = 8;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 1;
    bmi.bmiHeader.biCompression = BI_RGB;
    const COLORREF colours[2] = { twkAuxData.clrBtnFace, twkAuxData.clrBtnHilite };
    for (int i = 0; i < 2; i++) {
        bmi.bmiColors[i].rgbRed = GetRValue(colours[i]);
        bmi.bmiColors[i].rgbGreen = GetGValue(colours[i]);
        bmi.bmiColors[i].rgbBlue = GetBValue(colours[i]);
    }
    // Scan lines are DWORD aligned: one pattern byte each.
    DWORD bits[8];
    for (int i = 0; i < 8; i++)
        bits[i] = (i % 2 == 0) ? 0xAA : 0x55;

    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBitmap(hScreen, &bmi.bmiHeader, CBM_INIT, bits,
                                       reinterpret_cast<const BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    if (!hBitmap)
        return nullptr;
    HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
    ::DeleteObject(hBitmap);
    return hBrush;
}

TWKBtnDrawData::TWKBtnDrawData()
{
    if (!m_dcMask.CreateCompatibleDC(nullptr) || !m_dcImage.CreateCompatibleDC(nullptr)
        || !m_dcCompose.CreateCompatibleDC(nullptr))
        AfxThrowResourceException();
    HBRUSH hBrush = TWKCreateDitherBrush();
    if (!hBrush)
        AfxThrowResourceException();
    m_brDither.Attach(hBrush);
}

TWKBtnDrawData::~TWKBtnDrawData()
{
    EndPaint();
}

void TWKBtnDrawData::SelectImage(HBITMAP hBitmap)
{
    if (hBitmap == m_hCurImage)
        return;
    if (!hBitmap) {
        m_hCurImage = nullptr;
        return;
    }
    HBITMAP hOld = (HBITMAP)::SelectObject(m_dcImage.m_hDC, hBitmap);
    if (!hOld) {
        // Selected elsewhere or not a bitmap: no image rather than a stale one.
        m_hCurImage = nullptr;
        return;
    }
    if (!m_hOldImage)
        m_hOldImage = hOld;
    m_hCurImage = hBitmap;
}

BOOL TWKBtnDrawData::BeginPaint(CDC* pDC, int cxMax, TWKCustomToolBar* pBar)
{
    EndPaint();
    int cy = pBar->GetButtonHeight();
    if (cxMax <= 0 || cy <= 0 || !m_bmCompose.CreateCompatibleBitmap(pDC, cxMax, cy))
        return FALSE;
    if (!m_bmMask.CreateBitmap(cxMax, cy, 1, 1, nullptr)) {
        m_bmCompose.DeleteObject();
        return FALSE;
    }
    m_hOldCompose = (HBITMAP)::SelectObject(m_dcCompose.m_hDC, m_bmCompose.m_hObject);
    m_hOldMask = (HBITMAP)::SelectObject(m_dcMask.m_hDC, m_bmMask.m_hObject);
    if (!m_hOldCompose || !m_hOldMask) {
        EndPaint();
        return FALSE;
    }
    return TRUE;
}

void TWKBtnDrawData::EndPaint()
{
    if (m_hOldCompose) {
        ::SelectObject(m_dcCompose.m_hDC, m_hOldCompose);
        m_hOldCompose = nullptr;
    }
    if (m_hOldMask) {
        ::SelectObject(m_dcMask.m_hDC, m_hOldMask);
        m_hOldMask = nullptr;
    }
    if (m_hOldImage) {
        ::SelectObject(m_dcImage.m_hDC, m_hOldImage);
        m_hOldImage = nullptr;
    }
    m_bmCompose.DeleteObject();
    m_bmMask.DeleteObject();
    m_hCurImage = nullptr;
}

void TWKBtnDrawData::ResetDitherBrush()
{
    if (!m_brDither.m_hObject)
        return;
    m_brDither.DeleteObject();
    HBRUSH hBrush = TWKCreateDitherBrush();
    if (hBrush)
        m_brDither.Attach(hBrush);
}

// ---------------------------------------------------------------------------
// The button

TWKStdBtn::TWKStdBtn()
{
}

void TWKStdBtn::SetToolBar(TWKCustomToolBar* pToolBar)
{
    m_pToolBar = pToolBar;
    AdjustSize();
}

void TWKStdBtn::GetRect(LPRECT lpRect) const
{
    ::SetRect(lpRect, m_x, m_y, m_x + m_cx, m_y + m_cy);
}

BOOL TWKStdBtn::PtInButton(int px, int py) const
{
    return px >= m_x && px <= m_x + m_cx && py >= m_y && py <= m_y + m_cy;
}

void TWKStdBtn::Invalidate(BOOL bErase)
{
    if (!m_pToolBar || !::IsWindow(m_pToolBar->m_hWnd))
        return;
    RECT rect;
    GetRect(&rect);
    ::InvalidateRect(m_pToolBar->m_hWnd, &rect, bErase);
}

void TWKStdBtn::Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams)
{
    SetToolBar(pToolBar);
    AdjustSize();
}

void TWKStdBtn::AdjustSize()
{
    if (!m_pToolBar)
        return;
    if (m_dwStyle & TBBS_SEPARATOR) {
        m_cx = m_pToolBar->GetSeparatorWidth();
        m_cy = m_pToolBar->GetSeparatorHeight();
    } else {
        m_cx = m_pToolBar->GetButtonWidth();
        m_cy = m_pToolBar->GetButtonHeight();
    }
    m_pToolBar->RaiseMaxButtonWidth(m_cx);
}

// ---------------------------------------------------------------------------
// Mouse

BOOL TWKStdBtn::LButtonDown(int px, int py)
{
    if (GetStyle() & TBBS_DISABLED)
        return FALSE;
    if (GetStyle() & TBSTYLE_DROPDOWN) {
        DropDown(TBBS_PRESSED);
        return FALSE;
    }
    SetStyle(GetStyle() | TBBS_PRESSED);
    return TRUE;
}

void TWKStdBtn::DropDown(DWORD dwPressed)
{
    // The owner shows its menu or list while the button stays down.
    SetStyle(GetStyle() | dwPressed);
    Invalidate(FALSE);
    if (m_pToolBar && ::IsWindow(m_pToolBar->m_hWnd))
        m_pToolBar->UpdateWindow();
    TWKCustomToolBar::SetDropDownActive(TRUE);
    SendNotify(TBN_DROPDOWN, 0, 0);
    TWKCustomToolBar::SetDropDownActive(FALSE);
    SetStyle(GetStyle() & ~dwPressed);
    Invalidate(FALSE);
    if (m_pToolBar)
        m_pToolBar->UpdateHotButton(TRUE);
}

void TWKStdBtn::MouseMove(int px, int py)
{
    if (PtInButton(px, py))
        SetStyle(GetStyle() | TBBS_PRESSED);
    else
        SetStyle(GetStyle() & ~TBBS_PRESSED);
}

void TWKStdBtn::CancelMode()
{
    SetStyle(GetStyle() & ~TBBS_PRESSED);
    Invalidate(FALSE);
}

UINT TWKStdBtn::LButtonUp(int px, int py)
{
    SetStyle(GetStyle() & ~TBBS_PRESSED);
    if (!PtInButton(px, py))
        return 0;
    DWORD dwStyle = GetStyle();
    if (!(dwStyle & TBBS_DISABLED) && (dwStyle & TBBS_CHECKBOX) && m_pToolBar) {
        // Every button of this command in every toolbar follows.
        DWORD masks[2];
        if (dwStyle & TBBS_CHECKED) {
            masks[0] = 0;
            masks[1] = TBBS_CHECKED | TBBS_INDETERMINATE;
        } else {
            masks[0] = TBBS_CHECKED;
            masks[1] = TBBS_INDETERMINATE;
        }
        m_pToolBar->SetButtonStyleById(m_nID, TWK_BTNNOTIFY_STYLE, masks, TRUE);
    }
    return m_nID;
}

INT_PTR TWKStdBtn::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (pTI) {
        pTI->uFlags = 0;
        pTI->hwnd = m_pToolBar ? m_pToolBar->m_hWnd : nullptr;
        pTI->uId = m_nID;
        GetRect(&pTI->rect);
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return m_nID;
}

void TWKStdBtn::OnBtnNotify(UINT nCode, void* pData)
{
    if (nCode != TWK_BTNNOTIFY_STYLE || !pData)
        return;
    const DWORD* pMasks = static_cast<const DWORD*>(pData);
    SetStyle((GetStyle() & ~pMasks[1]) | pMasks[0]);
    Invalidate(FALSE);
}

LRESULT TWKStdBtn::SendNotify(int nCode, int a, int b)
{
    if (!m_pToolBar || !::IsWindow(m_pToolBar->m_hWnd))
        return 0;
    TWKTBNotify block;
    memset(&block, 0, sizeof(block));
    block.hdr.hwndFrom = m_pToolBar->m_hWnd;
    block.hdr.idFrom = (UINT_PTR)m_pToolBar->GetDlgCtrlID();
    block.hdr.code = (UINT)nCode;
    block.iItem = (int)m_nID;
    block.nIndex = m_pToolBar->IndexOf(this);
    block.a = a;
    block.b = b;
    CWnd* pOwner = m_pToolBar->GetOwner();
    if (!pOwner)
        return 0;
    return ::SendMessageA(pOwner->m_hWnd, WM_NOTIFY, (WPARAM)block.hdr.idFrom, (LPARAM)&block);
}

// ---------------------------------------------------------------------------
// Painting

void TWKStdBtn::Paint(CDC* pDC, TWKBtnDrawData& data)
{
    RECT rect;
    GetRect(&rect);
    if (!m_pToolBar || !pDC->RectVisible(&rect))
        return;
    if (DrawSeparator(pDC))
        return;
    PrepareImage(data);
    DrawButton(data);
    DrawTransparent(pDC, data);
    DrawSelection(data);
    BlitToDC(pDC, data);
}

BOOL TWKStdBtn::PrepareImage(TWKBtnDrawData& data)
{
    HBITMAP hBitmap = nullptr;
    int nIndex = m_nImage;
    TWKBmpMgr* pMgr = m_pToolBar ? m_pToolBar->GetBmpMgr() : nullptr;
    if (!pMgr || !pMgr->GetBitmap(m_nID, &hBitmap, &nIndex, FALSE)) {
        // No image of its own: the image DC may still hold another
        // command's bitmap, which must not show on this button.
        data.SelectImage(nullptr);
        return FALSE;
    }
    m_nImage = nIndex;
    data.SelectImage(hBitmap);
    return data.m_hCurImage != nullptr;
}

void TWKStdBtn::DrawButton(TWKBtnDrawData& data)
{
    DrawFaceAndState(data, 0, 0, m_cx, m_cy, -1);
}

void TWKStdBtn::DrawFaceAndState(TWKBtnDrawData& data, int x, int y, int cx, int cy, int nImageWidth)
{
    if (m_pToolBar && m_pToolBar->GetConfigMode()) {
        DrawFace(data, TRUE, x, y, cx, cy, nImageWidth);
        return;
    }
    DrawFace(data, FALSE, x, y, cx, cy, nImageWidth);
    DWORD dwStyle = GetStyle();
    if (dwStyle & TBBS_PRESSED)
        return;
    if (dwStyle & TBBS_DISABLED)
        DrawDisabled(data, x, y, cx, cy);
    else if (dwStyle & TBBS_CHECKED)
        DrawChecked(data, x, y, cx, cy);
    else if (dwStyle & TBBS_INDETERMINATE)
        DrawIndeterminate(data, x, y, cx, cy);
}

void TWKStdBtn::DrawFace(TWKBtnDrawData& data, BOOL bNoState, int& x, int& y, int& cx, int& cy, int nImageWidth)
{
    CDC& dc = data.m_dcCompose;
    int w = (nImageWidth == -1) ? m_pToolBar->GetImageWidth() : nImageWidth;
    int h = m_pToolBar->GetImageHeight();
    int ix = x + (cx - w - 1) / 2;
    int iy = y + (cy - h) / 2;
    BOOL bCool = m_pToolBar->IsCoolLook();
    DWORD dwStyle = GetStyle();

    dc.FillSolidRect(x, y, cx, cy, twkAuxData.clrBtnFace);
    auto shrink = [&](int n) {
        x += n;
        y += n;
        cx -= 2 * n;
        cy -= 2 * n;
    };
    if ((dwStyle & (TBBS_CHECKED | TBBS_PRESSED)) && !bNoState) {
        dc.Draw3dRect(x, y, cx, cy, bCool ? twkAuxData.clrBtnShadow : twkAuxData.clrWindowFrame,
                      twkAuxData.clrBtnHilite);
        shrink(1);
        if (!bCool)
            dc.Draw3dRect(x, y, cx, cy, twkAuxData.clrBtnShadow, twkAuxData.clrBtnFace);
        shrink(1);
        ix++;
        iy++;
    } else if (bCool) {
        if ((dwStyle & TWK_TBBS_RAISED) && !bNoState)
            dc.Draw3dRect(x, y, cx, cy, twkAuxData.clrBtnHilite, twkAuxData.clrBtnShadow);
        shrink(2);
    } else {
        dc.Draw3dRect(x, y, cx, cy, twkAuxData.clrBtnHilite, twkAuxData.clrWindowFrame);
        shrink(1);
        dc.Draw3dRect(x, y, cx, cy, twkAuxData.clrBtnFace, twkAuxData.clrBtnShadow);
        shrink(1);
    }
    // The source steps by the full image width even when w is narrower.
    BlitImage(ix, iy, w, h, data, m_pToolBar->GetImageWidth() * m_nImage, 0);
}

void TWKStdBtn::BlitImage(int x, int y, int cx, int cy, TWKBtnDrawData& data, int xSrc, int ySrc)
{
    if (!data.m_hCurImage)
        return;
    data.m_dcCompose.BitBlt(x, y, cx, cy, &data.m_dcImage, xSrc, ySrc, SRCCOPY);
}

void TWKStdBtn::MakeMask(TWKBtnDrawData& data, int x, int y, int cx, int cy)
{
    CDC& dc = data.m_dcCompose;
    data.m_dcMask.PatBlt(x, y, cx, cy, WHITENESS);
    dc.SetBkColor(twkAuxData.clrBtnFace);
    data.m_dcMask.BitBlt(x, y, cx, cy, &dc, x, y, SRCCOPY);
    dc.SetBkColor(twkAuxData.clrBtnHilite);
    data.m_dcMask.BitBlt(x, y, cx, cy, &dc, x, y, SRCPAINT);
    // Mask bits then copy as black (0) and white (1).
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkColor(RGB(255, 255, 255));
}

void TWKStdBtn::BlitMask(TWKBtnDrawData& data, HGDIOBJ hBrush, DWORD dwRop, int x, int y, int cx, int cy,
                         int nOffset)
{
    CDC& dc = data.m_dcCompose;
    HGDIOBJ hOldBrush = ::SelectObject(dc.m_hDC, hBrush);
    dc.BitBlt(x + nOffset, y + nOffset, cx - nOffset, cy - nOffset, &data.m_dcMask, x, y, dwRop);
    ::SelectObject(dc.m_hDC, hOldBrush);
}

void TWKStdBtn::DrawDisabled(TWKBtnDrawData& data, int x, int y, int cx, int cy)
{
    MakeMask(data, x, y, cx, cy);
    data.m_dcCompose.FillSolidRect(x, y, cx, cy, twkAuxData.clrBtnFace);
    // The image embossed: highlight one pixel down and right, shadow over it.
    CBrush brHilite(twkAuxData.clrBtnHilite);
    BlitMask(data, brHilite.m_hObject, ROP_PSDPxax, x, y, cx, cy, 1);
    CBrush brShadow(twkAuxData.clrBtnShadow);
    BlitMask(data, brShadow.m_hObject, ROP_PSDPxax, x, y, cx, cy);
    if (GetStyle() & TBBS_CHECKED) {
        // Neither the image nor its highlight is dithered.
        data.m_dcMask.BitBlt(x + 1, y + 1, cx - 1, cy - 1, &data.m_dcMask, x, y, SRCAND);
        BlitMask(data, data.m_brDither.m_hObject, ROP_DSPDxax, x, y, cx, cy);
    }
}

void TWKStdBtn::DrawChecked(TWKBtnDrawData& data, int x, int y, int cx, int cy)
{
    MakeMask(data, x, y, cx, cy);
    BlitMask(data, data.m_brDither.m_hObject, ROP_DSPDxax, x, y, cx, cy);
}

void TWKStdBtn::DrawIndeterminate(TWKBtnDrawData& data, int x, int y, int cx, int cy)
{
    MakeMask(data, x, y, cx, cy);
    CBrush brShadow(twkAuxData.clrBtnShadow);
    BlitMask(data, brShadow.m_hObject, ROP_PSDPxax, x, y, cx, cy);
    BlitMask(data, data.m_brDither.m_hObject, ROP_DSPDxax, x, y, cx, cy);
}

void TWKStdBtn::DrawSelectedFrame(TWKBtnDrawData& data)
{
    CDC& dc = data.m_dcCompose;
    dc.SetBkColor(RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    CRect rect(0, 0, m_cx, m_cy);
    dc.DrawDragRect(&rect, CSize(3, 3), nullptr, CSize(0, 0));
}

void TWKStdBtn::DrawSelection(TWKBtnDrawData& data)
{
    if (GetStyle() & TWK_TBBS_SELECTED)
        DrawSelectedFrame(data);
}

BOOL TWKStdBtn::DrawSeparator(CDC* pDC)
{
    DWORD dwStyle = GetStyle();
    if (!(dwStyle & TBBS_SEPARATOR))
        return FALSE;
    // The plain look leaves a gap; the end of a row shows nothing.
    if (!m_pToolBar || !m_pToolBar->IsCoolLook() || (dwStyle & TBBS_WRAPPED))
        return TRUE;
    int w = m_pToolBar->GetSeparatorWidth();
    const DWORD dwTransparent = CBX_COOLLOOK | CBX_TRANSPARENT;
    if ((m_pToolBar->GetExBarStyle() & dwTransparent) != dwTransparent)
        pDC->FillSolidRect(m_x, m_y, m_cx, m_cy, twkAuxData.clrBtnFace);
    pDC->FillSolidRect(m_x + w / 2, m_y, 1, m_cy, twkAuxData.clrBtnShadow);
    pDC->FillSolidRect(m_x + w / 2 + 1, m_y, 1, m_cy, twkAuxData.clrBtnHilite);
    return TRUE;
}

void TWKStdBtn::DrawTransparent(CDC* pDC, TWKBtnDrawData& data)
{
    const DWORD dwTransparent = CBX_COOLLOOK | CBX_TRANSPARENT;
    if (!m_pToolBar || (m_pToolBar->GetExBarStyle() & dwTransparent) != dwTransparent)
        return;
    CDC& dc = data.m_dcCompose;
    // Face pixels are replaced by what the bar painted beneath the button.
    dc.SetBkColor(twkAuxData.clrBtnFace);
    data.m_dcMask.PatBlt(0, 0, m_cx, m_cy, WHITENESS);
    data.m_dcMask.BitBlt(0, 0, m_cx, m_cy, &dc, 0, 0, SRCCOPY);
    dc.SetBkColor(RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    dc.BitBlt(0, 0, m_cx, m_cy, pDC, m_x, m_y, SRCINVERT);
    dc.BitBlt(0, 0, m_cx, m_cy, &data.m_dcMask, 0, 0, ROP_DSna);
    dc.BitBlt(0, 0, m_cx, m_cy, pDC, m_x, m_y, SRCINVERT);
}

void TWKStdBtn::BlitToDC(CDC* pDC, TWKBtnDrawData& data)
{
    pDC->BitBlt(m_x, m_y, m_cx, m_cy, &data.m_dcCompose, 0, 0, SRCCOPY);
}
