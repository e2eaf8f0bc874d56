#include "support/ui/IDEHeaderCtrl.h"
#include "afx/imagelist.h"
#include <cstdlib>

// ---------------------------------------------------------------------------
// C_ButtonPainter

C_ButtonPainter::C_ButtonPainter() {}

double C_ButtonPainter::SetContrast(double contrast)
{
    double old = m_dContrast;
    m_dContrast = contrast;
    return old;
}

void C_ButtonPainter::SplitColor(COLORREF cr, double rgb[3])
{
    rgb[0] = GetRValue(cr);
    rgb[1] = GetGValue(cr);
    rgb[2] = GetBValue(cr);
}

COLORREF C_ButtonPainter::ClampColor(const double rgb[3])
{
    int c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = rgb[i] <= 0.0 ? 0 : rgb[i] >= 255.0 ? 255 : (int)rgb[i];
    return RGB(c[0], c[1], c[2]);
}

namespace {

// Applies f to each component pair of two colours.
template <class F> COLORREF Combine(COLORREF cr1, COLORREF cr2, F f)
{
    double a[3], b[3], r[3];
    C_ButtonPainter::SplitColor(cr1, a);
    C_ButtonPainter::SplitColor(cr2, b);
    for (int i = 0; i < 3; ++i)
        r[i] = f(a[i], b[i]);
    return C_ButtonPainter::ClampColor(r);
}

} // namespace

COLORREF C_ButtonPainter::Lighten(COLORREF cr, double f)
{
    return Combine(cr, 0, [f](double x, double) { return x + (255 - x) * f; });
}

COLORREF C_ButtonPainter::Darken(COLORREF cr, double f)
{
    return Combine(cr, 0, [f](double x, double) { return x - x * f; });
}

COLORREF C_ButtonPainter::ScaleColor(COLORREF cr, double f)
{
    return Combine(cr, 0, [f](double x, double) { return x * f; });
}

COLORREF C_ButtonPainter::MixColors(COLORREF cr1, double f1, COLORREF cr2, double f2)
{
    return Combine(cr1, cr2, [f1, f2](double x1, double x2) { return x1 * f1 + x2 * f2; });
}

COLORREF C_ButtonPainter::AddColors(COLORREF cr1, COLORREF cr2)
{
    return Combine(cr1, cr2, [](double x1, double x2) { return x1 + x2; });
}

COLORREF C_ButtonPainter::SubtractColors(COLORREF cr1, COLORREF cr2)
{
    return Combine(cr1, cr2, [](double x1, double x2) { return x1 - x2; });
}

CSize C_ButtonPainter::GetTextSize(CDC* pDC, LPCSTR lpszText)
{
    if (!lpszText)
        return CSize(0, 0);
    return pDC->GetTextExtent(lpszText, (int)strlen(lpszText));
}

CSize C_ButtonPainter::GetImageSize(CImageList* pImageList, int nIndex)
{
    IMAGEINFO info = {};
    if (!pImageList || nIndex < 0 || !pImageList->GetImageInfo(nIndex, &info))
        return CSize(0, 0);
    return CSize(info.rcImage.right - info.rcImage.left + 1, info.rcImage.bottom - info.rcImage.top + 1);
}

void C_ButtonPainter::DrawTextInRect(CDC* pDC, LPCSTR lpszText, CRect rect)
{
    if (!lpszText)
        return;
    COLORREF oldColor = pDC->SetTextColor(m_crText);
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(lpszText, -1, &rect, m_nFormat);
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColor);
}

void C_ButtonPainter::DrawButton(CDC* pDC, const CRect& rect, BOOL bPressed, int nBorderWidth, COLORREF crFace,
                                 LPCSTR lpszText)
{
    pDC->FillSolidRect(&rect, crFace);
    const int n = std::abs(nBorderWidth);
    CRect inner = rect;
    inner.DeflateRect(n, n);
    if (bPressed)
        inner.OffsetRect(1, 1);
    DrawTextInRect(pDC, lpszText, inner);
    DrawBevel(pDC, rect, n, crFace);
}

void C_ButtonPainter::DrawBevel(CDC* pDC, const CRect& rect, int nWidth, COLORREF crFace)
{
    if (nWidth == 0)
        return;
    const double c = m_dContrast;
    const bool raised = nWidth > 0;
    const int n = std::abs(nWidth);
    const int L = rect.left, T = rect.top, R = rect.right - 1, B = rect.bottom - 1;
    CPen top(PS_SOLID, 1, raised ? Lighten(crFace, 0.6 * c) : Darken(crFace, 0.4 * c));
    CPen left(PS_SOLID, 1, raised ? Lighten(crFace, 0.4 * c) : Darken(crFace, 0.2 * c));
    CPen bottom(PS_SOLID, 1, raised ? Darken(crFace, 0.6 * c) : Lighten(crFace, 0.4 * c));
    CPen right(PS_SOLID, 1, raised ? Darken(crFace, 0.4 * c) : Lighten(crFace, 0.2 * c));
    CPen* pOld = pDC->SelectObject(&top);
    for (int i = 0; i < n; ++i) {
        pDC->MoveTo(L + i, T + i);
        pDC->LineTo(R - i, T + i);
    }
    pDC->SelectObject(&bottom);
    for (int i = 0; i < n; ++i) {
        pDC->MoveTo(L + i, B - i);
        pDC->LineTo(R - i, B - i);
    }
    pDC->SelectObject(&left);
    for (int i = 0; i < n; ++i) {
        pDC->MoveTo(L + i, T + 1 + i);
        pDC->LineTo(L + i, B + 1 - i);
    }
    pDC->SelectObject(&right);
    for (int i = 0; i < n; ++i) {
        pDC->MoveTo(R - i, T + 1 + i);
        pDC->LineTo(R - i, B + 1 - i);
    }
    pDC->SelectObject(pOld);
}

// ---------------------------------------------------------------------------
// C_IDEHeadButton

BEGIN_MESSAGE_MAP(C_IDEHeadButton, CButton)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

void C_IDEHeadButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CString text;
    GetWindowText(text);
    CDC dc;
    dc.Attach(lpDrawItemStruct->hDC);
    CRect rect(lpDrawItemStruct->rcItem);
    COLORREF color = m_crFace ? m_crFace : dc.GetBkColor();
    C_ButtonPainter painter;
    painter.SetFormat(DT_VCENTER | DT_SINGLELINE);
    painter.DrawButton(&dc, rect, FALSE, 1, color, text);
    dc.Detach();
}

void C_IDEHeadButton::OnSetFocus(CWnd*)
{
    // Headings take no focus: the strip passes it on to the view below.
    if (CWnd* pParent = GetParent())
        pParent->SetFocus();
}

// ---------------------------------------------------------------------------
// C_IDEHeaderCtrl

BEGIN_MESSAGE_MAP(C_IDEHeaderCtrl, CWnd)
    ON_WM_SETFOCUS()
    ON_WM_SIZE()
END_MESSAGE_MAP()

C_IDEHeaderCtrl::C_IDEHeaderCtrl() : m_buttons(10) {}

C_IDEHeaderCtrl::~C_IDEHeaderCtrl()
{
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;)
        delete static_cast<C_IDEHeadButton*>(m_buttons.GetNext(pos));
    m_buttons.RemoveAll();
}

C_IDEHeadButton* C_IDEHeaderCtrl::GetButton(int nIndex) const
{
    POSITION pos = nIndex >= 0 ? m_buttons.FindIndex(nIndex) : nullptr;
    return pos ? static_cast<C_IDEHeadButton*>(m_buttons.GetAt(pos)) : nullptr;
}

BOOL C_IDEHeaderCtrl::InsertButton(int nIndex, LPCSTR lpszText, int nWidth)
{
    auto* pButton = new C_IDEHeadButton(nWidth);
    if (!pButton->Create(lpszText, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, nWidth, 20), this,
                         IDC_HEAD_BUTTON)) {
        delete pButton;
        return FALSE;
    }
    if (m_pFont)
        pButton->SendMessage(WM_SETFONT, (WPARAM)m_pFont->GetSafeHandle(), FALSE);
    POSITION pos = nIndex >= 0 ? m_buttons.FindIndex(nIndex) : nullptr;
    if (pos)
        m_buttons.InsertBefore(pos, pButton);
    else
        m_buttons.AddTail(pButton);
    RecalcLayout();
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return TRUE;
}

BOOL C_IDEHeaderCtrl::ChangeButton(int nIndex, bool bRelayout, const std::function<void(C_IDEHeadButton*)>& change)
{
    C_IDEHeadButton* pButton = GetButton(nIndex);
    if (!pButton)
        return FALSE;
    change(pButton);
    if (bRelayout)
        RecalcLayout();
    Invalidate();
    return TRUE;
}

BOOL C_IDEHeaderCtrl::SetButtonWidth(int nIndex, int nWidth)
{
    return ChangeButton(nIndex, true, [nWidth](C_IDEHeadButton* p) { p->m_nWidth = nWidth; });
}

BOOL C_IDEHeaderCtrl::ShowButton(int nIndex, BOOL bShow)
{
    return ChangeButton(nIndex, true, [bShow](C_IDEHeadButton* p) { p->m_bVisible = bShow; });
}

BOOL C_IDEHeaderCtrl::SetButtonColor(int nIndex, COLORREF crFace)
{
    // The button shows the colour at its next repaint.
    return ChangeButton(nIndex, false, [crFace](C_IDEHeadButton* p) { p->m_crFace = crFace; });
}

void C_IDEHeaderCtrl::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    int x = client.left;
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
        auto* pButton = static_cast<C_IDEHeadButton*>(m_buttons.GetNext(pos));
        int w = pButton->m_bVisible ? pButton->m_nWidth : 0;
        pButton->MoveWindow(x, client.top, w, client.Height(), FALSE);
        x += w;
    }
}

void C_IDEHeaderCtrl::OnSize(UINT nType, int cx, int cy)
{
    RecalcLayout();
    CWnd::OnSize(nType, cx, cy);
}

void C_IDEHeaderCtrl::OnSetFocus(CWnd*)
{
    if (CWnd* pParent = GetParent())
        pParent->SetFocus();
}
