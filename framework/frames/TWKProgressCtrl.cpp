// A self-painting progress bar.
#include "framework/frames/TWKProgressCtrl.h"
#include "framework/frames/TWKOffscreenDC.h"
#include <vector>

IMPLEMENT_DYNAMIC(TWKProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(TWKProgressCtrl, CProgressCtrl)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
END_MESSAGE_MAP()

TWKProgressCtrl::TWKProgressCtrl()
{
    m_rectClient.SetRectEmpty();
}

TWKProgressCtrl::~TWKProgressCtrl() = default;

BOOL TWKProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwProgressStyle)
{
    if (m_bCreated)
        return FALSE;
    m_dwProgressStyle = dwProgressStyle;
    m_bCreated = CProgressCtrl::Create(dwStyle, rect, pParentWnd, nID);
    return m_bCreated;
}

BOOL TWKProgressCtrl::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!CWnd::SubclassDlgItem(nID, pParent))
        return FALSE;
    m_bCreated = TRUE;
    UpdateRect();
    return TRUE;
}

BOOL TWKProgressCtrl::UpdateRect()
{
    if (m_hWnd)
        GetClientRect(&m_rectClient);
    return TRUE;
}

LRESULT TWKProgressCtrl::SetRange(UINT nLower, UINT nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    return SendMessage(PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper);
}

UINT TWKProgressCtrl::SetPos(UINT nPos, BOOL bUpdateNow)
{
    UINT nPrevious = m_nPos;
    m_nPos = nPos;
    if (IsNative())
        nPrevious = (UINT)SendMessage(PBM_SETPOS, (WPARAM)nPos);
    if (m_bCreated && m_hWnd)
        Invalidate();
    if (bUpdateNow) {
        // Paint what is waiting so a long job on this thread still shows its
        // progress. A window that leaves its area invalid would come back for
        // ever: each window is painted once here.
        std::vector<HWND> painted;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            bool bAgain = false;
            for (HWND h : painted)
                bAgain = bAgain || h == msg.hwnd;
            if (bAgain)
                break;
            painted.push_back(msg.hwnd);
            ::DispatchMessageA(&msg);
        }
    }
    return nPrevious;
}

UINT TWKProgressCtrl::OffsetPos(int nDelta, BOOL bUpdateNow)
{
    if (IsNative()) {
        m_nPos += nDelta;
        return (UINT)SendMessage(PBM_DELTAPOS, (WPARAM)nDelta);
    }
    return SetPos(m_nPos + nDelta, bUpdateNow);
}

int TWKProgressCtrl::SetStep(int nStep)
{
    int nPrevious = m_nStep;
    m_nStep = nStep;
    SendMessage(PBM_SETSTEP, (WPARAM)nStep);
    return nPrevious;
}

UINT TWKProgressCtrl::StepIt(BOOL bUpdateNow)
{
    if (IsNative()) {
        m_nPos += m_nStep;
        return (UINT)SendMessage(PBM_STEPIT);
    }
    return OffsetPos(m_nStep, bUpdateNow);
}

void TWKProgressCtrl::SetColors(COLORREF clrBar, COLORREF clrBackground)
{
    m_clrBar = clrBar;
    m_clrBackground = clrBackground;
    if (m_bCreated && m_hWnd)
        Invalidate();
}

void TWKProgressCtrl::SetTextFont(CFont* pFont, BOOL bRedraw)
{
    m_pTextFont = pFont;
    if (bRedraw && m_bCreated && m_hWnd)
        Invalidate();
}

void TWKProgressCtrl::SetText(const CString& strText)
{
    m_strText = strText;
    // The window's own text follows, so that tools reading the screen see what is drawn.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowTextA(m_hWnd, strText);
}

CString TWKProgressCtrl::GetText() const
{
    return m_strText;
}

void TWKProgressCtrl::SetStyle(DWORD dwStyle)
{
    if ((dwStyle & TWKPS_NATIVE) && !IsNative() && m_hWnd)
        SendMessage(PBM_SETPOS, (WPARAM)m_nPos);
    m_dwProgressStyle = dwStyle;
    if (m_hWnd)
        Invalidate();
}

void TWKProgressCtrl::Reset()
{
    SetPos(m_nLower, TRUE);
    if (m_bCreated && m_hWnd) {
        UpdateRect();
        Invalidate();
    }
}

BOOL TWKProgressCtrl::SetAutoStep(UINT nMilliseconds)
{
    if (m_nPos >= m_nUpper) {
        if (m_hWnd)
            KillTimer(m_nTimerID);
        return FALSE;
    }
    if (nMilliseconds == 0) {
        KillTimer(m_nTimerID);
        return TRUE;
    }
    UINT_PTR nID = SetTimer(256, nMilliseconds);
    if (!nID)
        return FALSE;
    m_nTimerID = nID;
    return TRUE;
}

double TWKProgressCtrl::GetPercent()
{
    UINT nPos = m_nPos;
    if (nPos < m_nLower)
        nPos = m_nLower;
    if (nPos > m_nUpper)
        nPos = m_nUpper;
    UINT nRange = m_nUpper > m_nLower ? m_nUpper - m_nLower : 1;
    return (double)(nPos - m_nLower) / (double)nRange * 100.0;
}

BOOL TWKProgressCtrl::CalcRects(float fPercent, RECT& rectBar, RECT& rectBackground)
{
    float f = fPercent * 0.01f;
    const CRect& c = m_rectClient;
    rectBar = rectBackground = c;
    if (!(m_dwProgressStyle & TWKPS_VERTICAL)) {
        int w = (int)((c.right - c.left) * f);
        if (m_dwProgressStyle & TWKPS_FROMRIGHT) {
            rectBar.left = c.right - w;
            rectBackground.right = c.right - w;
        } else {
            rectBar.right = c.left + w;
            rectBackground.left = c.left + w;
        }
    } else {
        int h = (int)((c.bottom - c.top) * f);
        if (m_dwProgressStyle & TWKPS_FROMTOP) {
            rectBar.bottom = c.top + h;
            rectBackground.top = c.top + h;
        } else {
            rectBar.top = c.bottom - h;
            rectBackground.bottom = c.bottom - h;
        }
    }
    return TRUE;
}

void TWKProgressCtrl::DrawBar(CDC* pDC, const RECT& rect)
{
    CBrush brush(m_clrBar);
    ::FillRect(pDC->m_hDC, &rect, (HBRUSH)brush.GetSafeHandle());
}

void TWKProgressCtrl::DrawBackground(CDC* pDC, const RECT& rect)
{
    CBrush brush(m_clrBackground);
    ::FillRect(pDC->m_hDC, &rect, (HBRUSH)brush.GetSafeHandle());
}

void TWKProgressCtrl::DrawProgress(CDC* pDC, float fPercent, const RECT& rectBackground, const RECT& rectBar)
{
    CString strText;
    if (m_dwProgressStyle & TWKPS_PERCENT)
        strText.Format("%d %%", std::min((int)(fPercent + 0.5f), 100));
    else if (m_dwProgressStyle & TWKPS_TEXT)
        strText = GetText();
    else
        return;
    OnDrawText(strText);
    HGDIOBJ hOldFont = m_pTextFont ? pDC->SelectObject(m_pTextFont->GetSafeHandle()) : nullptr;
    UINT nFormat = DT_VCENTER | DT_SINGLELINE
                   | ((m_dwProgressStyle & TWKPS_TEXTLEFT)    ? DT_LEFT
                      : (m_dwProgressStyle & TWKPS_TEXTRIGHT) ? DT_RIGHT
                                                               : DT_CENTER);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->GetTextColor();
    // Each part is drawn over the whole client area, clipped to its own
    // rectangle, so the text changes colour exactly at the bar's edge.
    struct Part { const RECT* pClip; COLORREF clr; } parts[2] = { { &rectBar, m_clrBackground },
                                                                  { &rectBackground, m_clrBar } };
    for (const Part& part : parts) {
        pDC->SaveDC();
        pDC->IntersectClipRect(part.pClip);
        pDC->SetTextColor(part.clr);
        CRect rect(m_rectClient);
        pDC->DrawText(strText, rect, nFormat);
        pDC->RestoreDC(-1);
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    if (hOldFont)
        pDC->SelectObject(hOldFont);
}

BOOL TWKProgressCtrl::DrawOffscreen(float fPercent, const RECT& rectBar, const RECT& rectBackground, CDC* pDC)
{
    try {
        TWKOffscreenDC dc(pDC, m_rectClient.left, m_rectClient.top, m_rectClient.right, m_rectClient.bottom);
        DrawBackground(&dc, rectBackground);
        DrawBar(&dc, rectBar);
        DrawProgress(&dc, fPercent, rectBackground, rectBar);
    } catch (CResourceException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void TWKProgressCtrl::Paint(CDC* pDC)
{
    if (!m_bVisible)
        return;
    float fPercent = (float)GetPercent();
    CRect rectBar, rectBackground;
    CalcRects(fPercent, rectBar, rectBackground);
    DrawOffscreen(fPercent, rectBar, rectBackground, pDC);
}

// ---- messages

int TWKProgressCtrl::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CProgressCtrl::OnCreate(lpcs) == -1 || !UpdateRect())
        return -1;
    return 0;
}

BOOL TWKProgressCtrl::OnEraseBkgnd(CDC* pDC)
{
    if (IsNative())
        return CProgressCtrl::OnEraseBkgnd(pDC);
    return TRUE;
}

void TWKProgressCtrl::OnPaint()
{
    if (IsNative()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    Paint(&dc);
}

void TWKProgressCtrl::OnSize(UINT nType, int cx, int cy)
{
    CProgressCtrl::OnSize(nType, cx, cy);
    UpdateRect();
}

void TWKProgressCtrl::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CProgressCtrl::OnShowWindow(bShow, nStatus);
    m_bVisible = bShow;
}

void TWKProgressCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_nTimerID) {
        StepIt(TRUE);
        if (m_nPos >= m_nUpper)
            KillTimer(m_nTimerID);
    }
    CProgressCtrl::OnTimer(nIDEvent);
}
