#include "ide/output/IndicatorEditCtrl.h"

IMPLEMENT_DYNAMIC(C_IndicatorEditCtrl, TWKEditCtrl)

BEGIN_MESSAGE_MAP(C_IndicatorEditCtrl, TWKEditCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

C_IndicatorEditCtrl::C_IndicatorEditCtrl() = default;

C_IndicatorEditCtrl::~C_IndicatorEditCtrl()
{
    delete m_pFont;
    m_pFont = nullptr;
}

int C_IndicatorEditCtrl::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKEditCtrl::OnCreate(lpcs) == -1)
        return -1;
    CFont* pFont = new CFont;
    if (pFont->CreateFont(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, OUT_TT_PRECIS, 0, 0, FIXED_PITCH,
                          "System"))
        m_pFont = pFont;
    else
        delete pFont;
    // The engine made its view before the font existed.
    if (m_pFont) {
        SetFont(m_pFont, FALSE);
        m_brBackground.DeleteObject();
        m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    }
    return 0;
}

int C_IndicatorEditCtrl::InitView()
{
    int nResult = TWKEditCtrl::InitView();
    if (m_pFont && m_pFont->m_hObject) {
        SetFont(m_pFont, FALSE);
        m_brBackground.DeleteObject();
        m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    }
    return nResult;
}

void C_IndicatorEditCtrl::SetIndicatorLine(int nLine)
{
    int nOld = m_nIndicatorLine;
    m_nIndicatorLine = nLine;
    if (!m_hWnd)
        return;
    if (nOld != -1)
        Invalidate(FALSE);
    else {
        // Only the gutter changes.
        CRect rc;
        GetClientRect(&rc);
        rc.right = m_nTextLeft;
        InvalidateRect(&rc, FALSE);
    }
}

void C_IndicatorEditCtrl::DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine)
{
    TWKEditCtrl::DrawGutterMarks(pDC, pRect, pLine);
    if (!pLine || m_nIndicatorLine < 1 || pLine->nLineNo != m_nIndicatorLine)
        return;
    const CRect rc(*pRect);
    int nMid = (rc.top + rc.bottom) / 2;
    POINT pts[7] = { { rc.left, rc.top + 5 },     { rc.right - 10, rc.top + 5 }, { rc.right - 10, rc.top },
                     { rc.right, nMid },           { rc.right - 10, rc.bottom },  { rc.right - 10, rc.bottom - 5 },
                     { rc.left, rc.bottom - 5 } };
    HBRUSH hBrush = ::CreateSolidBrush(kArrowColor);
    HGDIOBJ hOld = ::SelectObject(pDC->m_hDC, hBrush);
    ::Polygon(pDC->m_hDC, pts, 7);
    ::SelectObject(pDC->m_hDC, hOld);
    ::DeleteObject(hBrush);
}
