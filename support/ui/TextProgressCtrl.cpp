#include "support/ui/TextProgressCtrl.h"
#include <climits>
#include <cstring>

// ---------------------------------------------------------------------------
// CMemDC

CMemDC::CMemDC(CDC* pDC) : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting())
{
    if (m_bMemDC) {
        pDC->GetClipBox(&m_rect);
        CreateCompatibleDC(pDC);
        m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
        m_pOldBitmap = SelectObject(&m_bitmap);
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                      SRCCOPY);
        SelectObject(m_pOldBitmap);
    } else {
        // Borrowed from the target: not ours to delete.
        m_hDC = m_hAttribDC = nullptr;
    }
}

// ---------------------------------------------------------------------------
// CTextProgressCtrl

BEGIN_MESSAGE_MAP(CTextProgressCtrl, CProgressCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
END_MESSAGE_MAP()

namespace {

// The filled part's width in pixels; none while the range is empty or reversed.
int BarWidth(int clientWidth, int pos, int lower, int upper)
{
    if (upper <= lower)
        return 0;
    double width = clientWidth * ((double)pos - lower) / ((double)upper - lower);
    if (width >= (double)INT_MAX)
        return INT_MAX;
    if (width <= (double)INT_MIN)
        return INT_MIN;
    return (int)width;
}

} // namespace

CTextProgressCtrl::CTextProgressCtrl()
    : m_crBar(::GetSysColor(COLOR_HIGHLIGHT)), m_crBack(::GetSysColor(COLOR_WINDOW)),
      m_crText(::GetSysColor(COLOR_HIGHLIGHT)), m_crBarText(::GetSysColor(COLOR_WINDOW))
{
}

CTextProgressCtrl::~CTextProgressCtrl() {}

void CTextProgressCtrl::SetShowText(BOOL bShow)
{
    if (::IsWindow(m_hWnd) && bShow != m_bShowText)
        Invalidate();
    m_bShowText = bShow;
}

void CTextProgressCtrl::SetRange(int nLower, int nUpper)
{
    m_nMin = nLower;
    m_nMax = nUpper;
}

int CTextProgressCtrl::SetStep(int nStep)
{
    int old = m_nStepSize;
    m_nStepSize = nStep;
    return old;
}

int CTextProgressCtrl::SetPos(int nPos)
{
    if (!::IsWindow(m_hWnd))
        return -1;
    int old = m_nPos;
    m_nPos = nPos;
    CRect client;
    GetClientRect(&client);
    int width = BarWidth(client.Width(), m_nPos, m_nMin, m_nMax);
    if (width != m_nBarWidth) {
        m_nBarWidth = width;
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return old;
}

BOOL CTextProgressCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTextProgressCtrl::OnPaint()
{
    CPaintDC paintDC(this);
    if (m_nMin >= m_nMax)
        return;
    double fraction = ((double)m_nPos - m_nMin) / ((double)m_nMax - m_nMin);
    CMemDC dc(&paintDC);

    CRect client;
    GetClientRect(&client);
    CRect bar = client;
    bar.right = bar.left + BarWidth(client.Width(), m_nPos, m_nMin, m_nMax);
    CRect rest = client;
    rest.left = bar.right;
    dc.FillSolidRect(&bar, m_crBar);
    dc.FillSolidRect(&rest, m_crBack);

    if (!m_bShowText)
        return;
    CString text = m_strText;
    if (text.IsEmpty())
        text.Format("%d%%", (int)(fraction * 100));
    HFONT hFont = GetFont();
    HGDIOBJ hOldFont = hFont ? dc.SelectObject(hFont) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    const struct { const CRect* clip; COLORREF color; } parts[] = {{&bar, m_crBarText}, {&rest, m_crText}};
    for (const auto& part : parts) {
        int saved = dc.SaveDC();
        dc.IntersectClipRect(part.clip);
        dc.SetTextColor(part.color);
        CRect r = client;
        dc.DrawText(text, text.GetLength(), &r, format);
        dc.RestoreDC(saved);
    }
    if (hOldFont)
        dc.SelectObject(hOldFont);
}

void CTextProgressCtrl::OnSize(UINT nType, int cx, int cy)
{
    CProgressCtrl::OnSize(nType, cx, cy);
    m_nBarWidth = -1;
}

LRESULT CTextProgressCtrl::OnSetText(WPARAM, LPARAM lParam)
{
    LRESULT r = Default();
    LPCSTR text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    if (m_strText.Compare(text) != 0) {
        m_strText = text;
        Invalidate();
    }
    return r;
}

LRESULT CTextProgressCtrl::OnGetText(WPARAM wParam, LPARAM lParam)
{
    // A buffer of size 0 gets nothing, not even a terminator.
    auto* buffer = reinterpret_cast<LPSTR>(lParam);
    int size = (int)wParam;
    if (!buffer || size <= 0)
        return 0;
    int n = std::min(m_strText.GetLength(), size - 1);
    memcpy(buffer, (LPCSTR)m_strText, (size_t)n);
    buffer[n] = 0;
    return n;
}
