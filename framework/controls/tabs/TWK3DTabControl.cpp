#include "framework/controls/tabs/TWK3DTabControl.h"
#include <algorithm>
#include <initializer_list>

namespace {
enum Side { sideBottom, sideTop, sideLeft, sideRight, sideNone };

Side SideOf(DWORD dwStyle)
{
    if (dwStyle & TWK3DTS_BOTTOM)
        return sideBottom;
    if (dwStyle & TWK3DTS_TOP)
        return sideTop;
    if (dwStyle & TWK3DTS_LEFT)
        return sideLeft;
    if (dwStyle & TWK3DTS_RIGHT)
        return sideRight;
    return sideNone;
}

const int kLabelPad = 6;     // before and after a label
const int kIconLength = 19;  // an icon and the gap after it
const int kFitSlack = 12;    // the strip must be this much longer than its tabs
const char kDots[] = "...";
}

// ---------------------------------------------------------------------------
// TWK3DTab

IMPLEMENT_DYNAMIC(TWK3DTab, TWKTab)

TWK3DTab::TWK3DTab() : m_hIcon(NULL), m_bEnabled(TRUE), m_bTruncated(FALSE)
{
    ::SetRectEmpty(&m_rect);
    m_nWidth = 90;
    m_nHeight = 0;
}

void TWK3DTab::SetLabel(LPCTSTR lpszLabel)
{
    TWKTab::SetLabel(lpszLabel);
    m_csFullLabel = m_csLabel;
}

// ---------------------------------------------------------------------------
// TWK3DTabControl

IMPLEMENT_DYNAMIC(TWK3DTabControl, TWKTabControlBase)

BEGIN_MESSAGE_MAP(TWK3DTabControl, TWKTabControlBase)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWK3DTabControl::TWK3DTabControl()
    : m_bFitLabels(TRUE), m_cyTab(22), m_cxTab(22), m_nFirstTabX(7), m_nFirstTabY(7), m_bShowLabels(TRUE)
{
    m_clrText[0] = m_clrText[1] = RGB(0, 0, 0);
}

int TWK3DTabControl::Escapement(DWORD dwStyle)
{
    if (dwStyle & TWK3DTS_LEFT)
        return 900;
    if (dwStyle & TWK3DTS_RIGHT)
        return -900;
    return 0;
}

void TWK3DTabControl::Initialize(DWORD dwStyle)
{
    CreateFonts(dwStyle);
    for (int i = 0; i < 2; i++)
    {
        m_brushes[i].DeleteObject();
        m_brushes[i].CreateSolidBrush(::GetSysColor(i == 0 ? COLOR_BTNFACE : COLOR_WINDOW));
        m_pens[i].DeleteObject();
        m_pens[i].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        m_clrText[i] = RGB(0, 0, 0);
    }
    m_penShadow.DeleteObject();
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_penHighlight.DeleteObject();
    m_penHighlight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EnableToolTips(TRUE);
}

void TWK3DTabControl::CreateFonts(DWORD dwStyle)
{
    for (int i = 0; i < 2; i++)
    {
        LOGFONTA lf = {};
        lf.lfHeight = 15;
        lf.lfWeight = i == 0 ? FW_NORMAL : FW_SEMIBOLD;
        lf.lfCharSet = ANSI_CHARSET;
        lf.lfPitchAndFamily = FF_SWISS;
        lf.lfEscapement = lf.lfOrientation = Escapement(dwStyle);
        lstrcpynA(lf.lfFaceName, "Arial Narrow", LF_FACESIZE);
        m_fonts[i].DeleteObject();
        m_fonts[i].CreateFontIndirect(&lf);
    }
}

void TWK3DTabControl::DestroyGDIObjects()
{
    for (int i = 0; i < 2; i++)
    {
        m_fonts[i].DeleteObject();
        m_pens[i].DeleteObject();
        m_brushes[i].DeleteObject();
    }
    m_penShadow.DeleteObject();
    m_penHighlight.DeleteObject();
}

TWKTab* TWK3DTabControl::CreateNewTab() { return new TWK3DTab; }

BOOL TWK3DTabControl::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    BOOL bResult = CWnd::ModifyStyle(dwRemove, dwAdd, nFlags);
    if (dwAdd & TWK3DTS_SIDES)
    {
        int nEscapement = Escapement(GetStyle());
        for (int i = 0; i < 2; i++)
        {
            LOGFONTA lf;
            if (!m_fonts[i].GetLogFont(&lf))
                continue;
            lf.lfEscapement = lf.lfOrientation = nEscapement;
            ReplaceFont(m_fonts[i], lf);
        }
        RecalcLayout();
    }
    return bResult;
}

BOOL TWK3DTabControl::SetTabFont(CFont* pFont, int nState, BOOL bRedraw)
{
    LOGFONTA lf;
    if (!pFont || !pFont->GetSafeHandle() || nState < 0 || nState > 1 || !pFont->GetLogFont(&lf))
        return FALSE;
    lf.lfEscapement = lf.lfOrientation = Escapement(GetStyle());
    if (!ReplaceFont(m_fonts[nState], lf))
        return FALSE;
    RecalcLayout();
    if (bRedraw)
        InvalidateAfterFontChange(nState == 1);
    return TRUE;
}

void TWK3DTabControl::EnableTab(int nIndex, BOOL bEnable)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    if (!pTab || !pTab->m_bEnabled == !bEnable)
        return;
    pTab->m_bEnabled = bEnable ? TRUE : FALSE;
    InvalidateTab(nIndex);
}

BOOL TWK3DTabControl::IsTabEnabled(int nIndex)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    return pTab && pTab->m_bEnabled;
}

void TWK3DTabControl::SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy)
{
    if (!IsValidIndex(nIndex))
        return;
    // Shared: the system keeps the loaded icon, so nobody has to destroy it.
    HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), lpszResourceName, IMAGE_ICON, cx, cy, LR_SHARED);
    SetTabIcon(nIndex, hIcon);
}

void TWK3DTabControl::SetTabIcon(int nIndex, UINT nIDIcon, int cx, int cy)
{
    SetTabIcon(nIndex, MAKEINTRESOURCEA(nIDIcon), cx, cy);
}

void TWK3DTabControl::SetTabIcon(int nIndex, HICON hIcon)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    if (!pTab)
        return;
    pTab->m_hIcon = hIcon;
    RecalcLayout();
    InvalidateTabsFrom(nIndex);
}

void TWK3DTabControl::InvalidateTab(int nIndex)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    if (!pTab || !m_hWnd)
        return;
    CRect rc(pTab->m_rect);
    rc.right++;
    rc.bottom++;
    InvalidateRect(&rc, TRUE);
}

void TWK3DTabControl::GetTabRect(int nIndex, LPRECT lpRect)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    if (pTab)
        *lpRect = pTab->m_rect;
    else
        ::SetRectEmpty(lpRect);
}

void TWK3DTabControl::OnActivateTab(int)
{
    // The enlarged active tab moves.
    RecalcLayout();
}

int TWK3DTabControl::LabelExtent(CDC* pDC, const CString& csLabel) const
{
    return csLabel.IsEmpty() ? 0 : pDC->GetTextExtent(csLabel).cx;
}

int TWK3DTabControl::MeasureStrip(BOOL bFullLabels, int* pIconLength)
{
    int nLength = 0, nIcons = 0;
    if (m_hWnd)
    {
        CClientDC dc(this);
        CFont* pOld = dc.SelectObject(&m_fonts[1]);
        for (int i = 0; i < GetTabCount(); i++)
        {
            TWK3DTab* pTab = Get3DTab(i);
            nLength += kLabelPad + LabelExtent(&dc, bFullLabels ? pTab->m_csFullLabel : pTab->m_csLabel) + kLabelPad;
            if (pTab->m_hIcon)
            {
                nLength += kIconLength;
                nIcons += kIconLength;
            }
        }
        dc.SelectObject(pOld);
    }
    if (pIconLength)
        *pIconLength = nIcons;
    return nLength;
}

int TWK3DTabControl::LongestLabel(CDC* pDC) const
{
    int nLongest = -1, cxLongest = -1;
    for (int i = 0; i < GetTabCount(); i++)
    {
        int cx = LabelExtent(pDC, Get3DTab(i)->m_csLabel);
        if (cx > cxLongest)
        {
            cxLongest = cx;
            nLongest = i;
        }
    }
    return nLongest;
}

void TWK3DTabControl::FitLabels(int /*nFullLength*/, int nIconLength, int nAvailable)
{
    int nCount = GetTabCount();
    for (int i = 0; i < nCount; i++)
    {
        TWK3DTab* pTab = Get3DTab(i);
        pTab->m_csLabel = pTab->m_csFullLabel.GetLength() >= 3 ? CString(kDots) : pTab->m_csFullLabel;
    }
    int nLength = MeasureStrip(FALSE);
    BOOL bEllipsis = nAvailable >= nLength + kFitSlack;
    if (bEllipsis)
    {
        for (int i = 0; i < nCount; i++)
        {
            Get3DTab(i)->m_csLabel = Get3DTab(i)->m_csFullLabel;
            Get3DTab(i)->m_bTruncated = FALSE;
        }
        nLength = MeasureStrip(FALSE);
    }
    m_bShowLabels = nAvailable > nIconLength;
    if (nAvailable <= 0 || nCount == 0)
        return;

    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_fonts[1]);
    // Each step shortens the longest label by one character and shows "..." in its place;
    // it ends once that label cannot be shortened this way.
    while (bEllipsis && nAvailable < nLength + kFitSlack)
    {
        TWK3DTab* pTab = Get3DTab(LongestLabel(&dc));
        CString csLabel = pTab->m_csLabel;
        int n = csLabel.GetLength();
        if (n < 4 || csLabel == kDots)
            break;
        if (!pTab->m_bTruncated)
            csLabel = csLabel.Left(csLabel.Left(3) == kDots ? n - 3 : n - 4);
        else
        {
            if (csLabel.Right(3) == kDots)
                csLabel = csLabel.Left(csLabel.GetLength() - 3);
            csLabel = csLabel.Left(std::max(csLabel.GetLength() - 1, 0));
        }
        if (pTab->m_csFullLabel.GetLength() >= 3)
            csLabel += kDots;
        pTab->m_csLabel = csLabel;
        pTab->m_bTruncated = TRUE;
        nLength = MeasureStrip(FALSE);
    }
    // Then characters go one by one, the dots too, until the labels are hidden.
    while (m_bShowLabels && nAvailable < nLength + kFitSlack)
    {
        BOOL bAllEmpty = TRUE;
        for (int i = 0; i < nCount; i++)
        {
            Get3DTab(i)->m_bTruncated = TRUE;
            if (!Get3DTab(i)->m_csLabel.IsEmpty())
                bAllEmpty = FALSE;
        }
        if (bAllEmpty)
        {
            m_bShowLabels = FALSE;
            break;
        }
        TWK3DTab* pTab = Get3DTab(LongestLabel(&dc));
        pTab->m_csLabel = pTab->m_csLabel.Left(pTab->m_csLabel.GetLength() - 1);
        nLength = MeasureStrip(FALSE);
    }
    dc.SelectObject(pOld);
}

void TWK3DTabControl::SizeTab(int nIndex, int x, int y, DWORD dwStyle)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    if (!pTab || !m_hWnd)
        return;
    int nLength = pTab->m_hIcon ? kLabelPad + kIconLength : kLabelPad;
    if (m_bShowLabels)
    {
        CClientDC dc(this);
        CFont* pOld = dc.SelectObject(&m_fonts[1]);
        nLength += LabelExtent(&dc, pTab->m_csLabel) + kLabelPad;
        dc.SelectObject(pOld);
    }
    if (IsHorizontal(dwStyle))
    {
        pTab->m_nWidth = nLength;
        pTab->m_nHeight = m_cyTab;
        ::SetRect(&pTab->m_rect, x, y, x + nLength, y + m_cyTab);
    }
    else
    {
        pTab->m_nHeight = nLength;
        pTab->m_nWidth = m_cxTab;
        ::SetRect(&pTab->m_rect, x, y, x + m_cxTab, y + nLength);
    }
}

void TWK3DTabControl::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    DWORD dwStyle = GetStyle();
    BOOL bHorizontal = IsHorizontal(dwStyle);
    int nIconLength = 0;
    int nFullLength = MeasureStrip(TRUE, &nIconLength);
    int nAvailable = bHorizontal ? client.Width() : client.Height();
    if (m_bFitLabels)
        FitLabels(nFullLength, nIconLength, nAvailable);
    else
        m_bShowLabels = nAvailable > nFullLength + kFitSlack;

    if (bHorizontal)
    {
        int x = client.left + m_nFirstTabX;
        int y = (dwStyle & TWK3DTS_BOTTOM) ? client.top + 2 : client.bottom - m_cyTab - 3;
        for (int i = 0; i < GetTabCount(); i++)
        {
            SizeTab(i, x, y, dwStyle);
            x = Get3DTab(i)->m_rect.right;
        }
    }
    else
    {
        int y = client.top + m_nFirstTabY;
        int x = (dwStyle & TWK3DTS_LEFT) ? client.right - m_cxTab - 3 : client.left + 2;
        for (int i = 0; i < GetTabCount(); i++)
        {
            SizeTab(i, x, y, dwStyle);
            y = Get3DTab(i)->m_rect.bottom;
        }
    }

    TWK3DTab* pActive = m_bActiveTab ? Get3DTab(m_nActiveTab) : NULL;
    if (pActive && !(dwStyle & TWK3DTS_NOENLARGE))
    {
        RECT& rc = pActive->m_rect;
        switch (SideOf(dwStyle))
        {
        case sideBottom:
            ::InflateRect(&rc, 3, 0);
            rc.bottom += 3;
            break;
        case sideTop:
            ::InflateRect(&rc, 3, 0);
            rc.top -= 3;
            break;
        case sideLeft:
            ::InflateRect(&rc, 0, 3);
            rc.left -= 3;
            break;
        default:
            ::InflateRect(&rc, 0, 3);
            rc.right += 3;
            break;
        }
    }
}

// ---------------------------------------------------------------------------
// Painting

void TWK3DTabControl::FillSolidRect(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr)
{
    COLORREF clrOld = pDC->SetBkColor(clr);
    CRect rc(x, y, x + cx, y + cy);
    pDC->ExtTextOut(0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    pDC->SetBkColor(clrOld);
}

void TWK3DTabControl::DrawSideEdge(CDC* pDC, const CRect& client, DWORD dwStyle)
{
    COLORREF hl = ::GetSysColor(COLOR_BTNHIGHLIGHT), face = ::GetSysColor(COLOR_BTNFACE);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), black = RGB(0, 0, 0);
    BOOL bFlat = (dwStyle & TWK3DTS_FLATEDGE) != 0;
    int w = client.Width(), h = client.Height();
    switch (SideOf(dwStyle))
    {
    case sideBottom:
        if (!bFlat)
        {
            FillSolidRect(pDC, client.left, client.top, w, 1, hl);
            FillSolidRect(pDC, client.left, client.top + 1, w, 1, face);
        }
        FillSolidRect(pDC, client.left, client.top + 2, w, 1, shadow);
        FillSolidRect(pDC, client.left, client.top + 3, w, 1, black);
        break;
    case sideTop:
        FillSolidRect(pDC, client.left, client.bottom - 4, w, 1, hl);
        FillSolidRect(pDC, client.left, client.bottom - 3, w, 1, face);
        if (!bFlat)
        {
            FillSolidRect(pDC, client.left, client.bottom - 2, w, 1, shadow);
            FillSolidRect(pDC, client.left, client.bottom - 1, w, 1, black);
        }
        break;
    case sideLeft:
        FillSolidRect(pDC, client.right - 4, client.top, 1, h, hl);
        FillSolidRect(pDC, client.right - 3, client.top, 1, h, face);
        if (!bFlat)
        {
            FillSolidRect(pDC, client.right - 2, client.top, 1, h, shadow);
            FillSolidRect(pDC, client.right - 1, client.top, 1, h, black);
        }
        break;
    case sideRight:
        if (bFlat)
            FillSolidRect(pDC, client.left, client.top, 3, 1, hl);
        else
        {
            FillSolidRect(pDC, client.left, client.top, 1, h, hl);
            FillSolidRect(pDC, client.left + 1, client.top, 1, h, face);
        }
        FillSolidRect(pDC, client.left + 2, client.top + 1, 1, h - 1, shadow);
        FillSolidRect(pDC, client.left + 3, client.top, 1, h, black);
        break;
    default:
        break;
    }
}

void TWK3DTabControl::DrawTab(CDC* pDC, int nIndex)
{
    TWK3DTab* pTab = Get3DTab(nIndex);
    if (!pTab)
        return;
    DWORD dwStyle = GetStyle();
    CRect rc(pTab->m_rect);
    Side side = SideOf(dwStyle);
    int cx = rc.Width() - (side == sideBottom ? 1 : 0);
    int cy = rc.Height() - (side == sideRight ? 2 : 0);
    FillSolidRect(pDC, rc.left, rc.top, cx, cy, ::GetSysColor(COLOR_BTNFACE));
    switch (side)
    {
    case sideTop:
        DrawTabTop(pDC, pTab, dwStyle);
        break;
    case sideLeft:
        DrawTabLeft(pDC, pTab, dwStyle);
        break;
    case sideRight:
        DrawTabRight(pDC, pTab, dwStyle);
        break;
    default:
        DrawTabBottom(pDC, pTab, dwStyle);
        break;
    }
}

namespace {
// One run of connected lines in a pen.
void Stroke(CDC* pDC, CPen* pPen, std::initializer_list<POINT> points)
{
    pDC->SelectObject(pPen);
    const POINT* p = points.begin();
    pDC->MoveTo(*p);
    for (++p; p != points.end(); ++p)
        pDC->LineTo(*p);
}
}

// Each outline draws its black lines with the DC's current pen.
void TWK3DTabControl::DrawTabBottom(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle)
{
    const RECT& rc = pTab->m_rect;
    int l = rc.left, t = rc.top, b = rc.bottom;
    int r = rc.right - ((dwStyle & TWK3DTS_NARROWFAR) ? 1 : 0);
    CPen* pBlack = CPen::FromHandle((HPEN)::GetCurrentObject(pDC->m_hDC, OBJ_PEN));
    Stroke(pDC, &m_penHighlight, { { l, t + 1 }, { l, b - 2 } });
    Stroke(pDC, &m_penShadow, { { l + 1, b - 2 }, { l + 1, b - 1 }, { r - 2, b - 1 }, { r - 2, b - 2 },
                                { r - 1, b - 2 }, { r - 1, t }, { r, t } });
    Stroke(pDC, pBlack, { { r, t + 2 }, { r, b - 2 }, { r - 2, b }, { l + 2, b } });
    DrawTabContent(pDC, pTab, dwStyle);
}

void TWK3DTabControl::DrawTabTop(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle)
{
    const RECT& rc = pTab->m_rect;
    int l = rc.left, t = rc.top, b = rc.bottom;
    int r = rc.right - ((dwStyle & TWK3DTS_NARROWFAR) ? 1 : 0);
    CPen* pBlack = CPen::FromHandle((HPEN)::GetCurrentObject(pDC->m_hDC, OBJ_PEN));
    Stroke(pDC, &m_penHighlight, { { l, b - 1 }, { l, t + 2 }, { l + 2, t }, { r - 2, t } });
    Stroke(pDC, &m_penShadow, { { r - 2, t + 1 }, { r - 1, t + 2 }, { r - 1, b } });
    Stroke(pDC, pBlack, { { r - 1, t + 1 }, { r, t + 2 }, { r, b } });
    DrawTabContent(pDC, pTab, dwStyle);
}

void TWK3DTabControl::DrawTabLeft(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle)
{
    const RECT& rc = pTab->m_rect;
    int l = rc.left, t = rc.top, r = rc.right;
    int b = rc.bottom - ((dwStyle & TWK3DTS_NARROWFAR) ? 1 : 0);
    CPen* pBlack = CPen::FromHandle((HPEN)::GetCurrentObject(pDC->m_hDC, OBJ_PEN));
    Stroke(pDC, &m_penShadow, { { l + 1, b - 2 }, { l + 2, b - 1 }, { r, b - 1 } });
    Stroke(pDC, &m_penHighlight, { { l, b - 2 }, { l, t + 2 }, { l + 2, t }, { r, t } });
    Stroke(pDC, pBlack, { { l + 1, b - 1 }, { l + 2, b }, { r, b } });
    DrawTabContent(pDC, pTab, dwStyle);
}

void TWK3DTabControl::DrawTabRight(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle)
{
    const RECT& rc = pTab->m_rect;
    int l = rc.left, t = rc.top, r = rc.right;
    int b = rc.bottom - ((dwStyle & TWK3DTS_NARROWFAR) ? 1 : 0);
    CPen* pBlack = CPen::FromHandle((HPEN)::GetCurrentObject(pDC->m_hDC, OBJ_PEN));
    Stroke(pDC, &m_penHighlight, { { l, t }, { r - 2, t } });
    Stroke(pDC, &m_penShadow, { { r - 2, t }, { r - 1, t + 1 }, { r - 1, b - 2 } });
    Stroke(pDC, pBlack, { { r, t + 2 }, { r, b - 2 } });
    Stroke(pDC, &m_penShadow, { { r - 1, b - 2 }, { r - 2, b - 1 }, { l, b - 1 } });
    Stroke(pDC, pBlack, { { r, b - 2 }, { r - 2, b }, { l, b } });
    DrawTabContent(pDC, pTab, dwStyle);
}

void TWK3DTabControl::DrawTabContent(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle)
{
    CRect rc(pTab->m_rect);
    Side side = SideOf(dwStyle);
    BOOL bHorizontal = IsHorizontal(dwStyle);
    CSize ext(0, 0);
    if (m_bShowLabels && !pTab->m_csLabel.IsEmpty())
        ext = pDC->GetTextExtent(pTab->m_csLabel);
    if (!bHorizontal)
        std::swap(ext.cx, ext.cy);

    // Label position, then the icon's, and the label's box.
    CPoint ptLabel, ptIcon;
    CRect rcLabel;
    if (side == sideLeft)
    {
        ptLabel = CPoint(rc.left + (rc.Width() / 2 - ext.cx / 2), rc.bottom - 6);
        ptIcon = CPoint(rc.left + rc.Width() / 2 - 8, rc.bottom - 6 - 16);
        if (pTab->m_hIcon)
            ptLabel.y = ptIcon.y - 3;
        rcLabel = CRect(ptLabel.x, ptLabel.y - ext.cy, ptLabel.x + ext.cx, ptLabel.y);
    }
    else if (side == sideRight)
    {
        ptLabel = CPoint(rc.left + rc.Width() / 2 + ext.cx / 2, rc.top + 6);
        ptIcon = CPoint(rc.left + rc.Width() / 2 - 8, rc.top + 6);
        if (pTab->m_hIcon)
            ptLabel.y += 19;
        rcLabel = CRect(ptLabel.x - ext.cx, ptLabel.y, ptLabel.x, ptLabel.y + ext.cy);
    }
    else
    {
        ptLabel = CPoint(rc.left + 6, rc.top + (rc.Height() / 2 - ext.cy / 2));
        ptIcon = CPoint(rc.left + 6, rc.top + rc.Height() / 2 - 8);
        if (pTab->m_hIcon)
            ptLabel.x += 19;
        rcLabel = CRect(ptLabel.x, ptLabel.y, ptLabel.x + ext.cx, ptLabel.y + ext.cy);
    }
    BOOL bLabel = m_bShowLabels && !pTab->m_csLabel.IsEmpty();

    if (!pTab->m_bEnabled)
    {
        // Drawn on the face colour off screen, embossed, and copied back.
        CDC mem;
        CBitmap bmp;
        int cx = rc.Width() + 5, cy = rc.Height() + 5;
        if (!mem.CreateCompatibleDC(pDC) || !bmp.CreateCompatibleBitmap(pDC, cx, cy))
            return;
        CBitmap* pOldBmp = mem.SelectObject(&bmp);
        CFont* pOldFont = mem.SelectObject(CFont::FromHandle((HFONT)::GetCurrentObject(pDC->m_hDC, OBJ_FONT)));
        mem.FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
        mem.SetBkMode(TRANSPARENT);
        mem.SetTextColor(RGB(0, 0, 0));
        if (pTab->m_hIcon)
            mem.DrawIconEx(ptIcon.x - rc.left, ptIcon.y - rc.top, pTab->m_hIcon, 16, 16, 0, NULL, DI_NORMAL);
        if (bLabel)
            mem.TextOut(ptLabel.x - rc.left, ptLabel.y - rc.top, pTab->m_csLabel);
        DrawDisabled(&mem, cx, cy);
        if (pTab->m_hIcon)
            pDC->BitBlt(ptIcon.x, ptIcon.y, 16, 16, &mem, ptIcon.x - rc.left, ptIcon.y - rc.top, SRCCOPY);
        if (bLabel)
        {
            CRect rcCopy(rcLabel);
            if (bHorizontal)
                rcCopy.right = std::min(rcCopy.right, rc.right);
            pDC->BitBlt(rcCopy.left, rcCopy.top, rcCopy.Width(), rcCopy.Height(), &mem, rcCopy.left - rc.left,
                        rcCopy.top - rc.top, SRCCOPY);
        }
        mem.SelectObject(pOldFont);
        mem.SelectObject(pOldBmp);
        return;
    }

    if (TabWndHasTabStop() && pTab->m_bSelected && ::GetFocus() == m_hWnd)
    {
        CRect rcFocus(rc);
        switch (side)
        {
        case sideTop:
            rcFocus.DeflateRect(2, 2, 3, 1);
            break;
        case sideLeft:
            rcFocus.DeflateRect(2, 2, 1, 3);
            break;
        case sideRight:
            rcFocus.DeflateRect(1, 2, 2, 3);
            break;
        default:
            rcFocus.DeflateRect(2, 1, 3, 2);
            break;
        }
        pDC->DrawFocusRect(&rcFocus);
    }
    if (pTab->m_hIcon)
        pDC->DrawIconEx(ptIcon.x, ptIcon.y, pTab->m_hIcon, 16, 16, 0, NULL, DI_NORMAL);
    if (bLabel)
        pDC->ExtTextOut(ptLabel.x, ptLabel.y, ETO_CLIPPED, &rc, pTab->m_csLabel, pTab->m_csLabel.GetLength(), NULL);
}

void TWK3DTabControl::DrawDisabled(CDC* pDC, int cx, int cy)
{
    if (cx <= 4 || cy <= 4)
        return;
    CDC mono;
    CBitmap bmpMono;
    if (!mono.CreateCompatibleDC(pDC) || !bmpMono.CreateBitmap(cx, cy, 1, 1, NULL))
        return;
    CBitmap* pOldBmp = mono.SelectObject(&bmpMono);
    // White where the image shows the face or the highlight colour, shifted one pixel up and left.
    mono.PatBlt(0, 0, cx, cy, WHITENESS);
    COLORREF clrOldBk = pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
    mono.BitBlt(0, 0, cx - 1, cy - 1, pDC, 1, 1, SRCCOPY);
    pDC->SetBkColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    mono.BitBlt(0, 0, cx - 1, cy - 1, pDC, 1, 1, SRCPAINT);
    // The dark pixels of the mask are painted in highlight, then shadow one pixel up and left of it.
    pDC->SetBkColor(RGB(255, 255, 255));
    COLORREF clrOldText = pDC->SetTextColor(RGB(0, 0, 0));
    const DWORD dwPSDPxax = 0x00B8074A;
    CBrush brHighlight(::GetSysColor(COLOR_BTNHIGHLIGHT)), brShadow(::GetSysColor(COLOR_BTNSHADOW));
    CBrush* pOldBrush = pDC->SelectObject(&brHighlight);
    pDC->BitBlt(2, 2, cx - 4, cy - 4, &mono, 0, 0, dwPSDPxax);
    pDC->SelectObject(&brShadow);
    pDC->BitBlt(1, 1, cx - 3, cy - 3, &mono, 0, 0, dwPSDPxax);
    pDC->SelectObject(pOldBrush);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
    mono.SelectObject(pOldBmp);
}

void TWK3DTabControl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CDC mem;
    CBitmap bmp;
    if (!mem.CreateCompatibleDC(&dc) || !bmp.CreateCompatibleBitmap(&dc, client.Width(), client.Height()))
        return;
    CBitmap* pOldBmp = mem.SelectObject(&bmp);
    int nSaved = mem.SaveDC();
    mem.SetBkMode(TRANSPARENT);
    FillSolidRect(&mem, 0, 0, client.Width(), client.Height(), ::GetSysColor(COLOR_BTNFACE));
    DWORD dwStyle = GetStyle();

    mem.SetTextColor(m_clrText[0]);
    mem.SelectObject(&m_brushes[0]);
    mem.SelectObject(&m_fonts[0]);
    mem.SelectObject(&m_pens[0]);
    for (int i = 0; i < GetTabCount(); i++)
        if (!(m_bActiveTab && i == m_nActiveTab))
            DrawTab(&mem, i);
    DrawSideEdge(&mem, client, dwStyle);
    TWK3DTab* pActive = m_bActiveTab ? Get3DTab(m_nActiveTab) : NULL;
    CRect rcMeet;
    if (pActive && rcMeet.IntersectRect(&pActive->m_rect, &dc.m_ps.rcPaint))
    {
        mem.SetTextColor(m_clrText[1]);
        mem.SelectObject(&m_fonts[1]);
        mem.SelectObject(&m_pens[1]);
        DrawTab(&mem, m_nActiveTab);
    }
    mem.RestoreDC(nSaved);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOldBmp);
}

BOOL TWK3DTabControl::OnEraseBkgnd(CDC*) { return TRUE; }

void TWK3DTabControl::OnSize(UINT nType, int cx, int cy)
{
    TWKTabControlBase::OnSize(nType, cx, cy);
    RecalcLayout();
}

void TWK3DTabControl::OnDestroy()
{
    TWKTabControlBase::OnDestroy();
    DestroyGDIObjects();
}

// ---------------------------------------------------------------------------
// Mouse and keyboard

BOOL TWK3DTabControl::TabWndHasTabStop() const
{
    HWND hParent = m_hWnd ? ::GetParent(m_hWnd) : NULL;
    return hParent && (::GetWindowLongA(hParent, GWL_STYLE) & WS_TABSTOP);
}

BOOL TWK3DTabControl::PreTranslateMessage(MSG* pMsg)
{
    // The mouse handlers feed the tool tips themselves.
    switch (pMsg->message)
    {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return FALSE;
    default:
        return TWKTabControlBase::PreTranslateMessage(pMsg);
    }
}

void TWK3DTabControl::FilterCurrentToolTipMessage()
{
    const MSG* pCurrent = GetCurrentMessage();
    if (!pCurrent)
        return;
    MSG msg = *pCurrent;
    msg.hwnd = m_hWnd;
    FilterToolTipMessage(&msg);
}

int TWK3DTabControl::HitTest(CPoint point) const
{
    TWK3DTab* pActive = m_bActiveTab ? Get3DTab(m_nActiveTab) : NULL;
    if (pActive && pActive->m_bEnabled && ::PtInRect(&pActive->m_rect, point))
        return m_nActiveTab;
    for (int i = 0; i < GetTabCount(); i++)
    {
        TWK3DTab* pTab = Get3DTab(i);
        if (pTab->m_bEnabled && ::PtInRect(&pTab->m_rect, point))
            return i;
    }
    return -1;
}

void TWK3DTabControl::OnLButtonDown(UINT, CPoint point)
{
    FilterCurrentToolTipMessage();
    int nHit = HitTest(point);
    if (nHit >= 0)
    {
        if (m_bActiveTab && nHit == m_nActiveTab)
            NotifyActiveTabClicked();
        else
            ActivateTab(nHit);
        if (GetStyle() & TWK3DTS_DRAGTABS)
            SetCapture();
    }
    if (TabWndHasTabStop() && ::GetFocus() != m_hWnd)
        SetFocus();
}

void TWK3DTabControl::OnLButtonUp(UINT nFlags, CPoint point)
{
    FilterCurrentToolTipMessage();
    if ((GetStyle() & TWK3DTS_DRAGTABS) && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    TWKTabControlBase::OnLButtonUp(nFlags, point);
}

void TWK3DTabControl::OnRButtonDown(UINT nFlags, CPoint point)
{
    FilterCurrentToolTipMessage();
    TWKTabControlBase::OnRButtonDown(nFlags, point);
}

void TWK3DTabControl::OnRButtonUp(UINT nFlags, CPoint point)
{
    FilterCurrentToolTipMessage();
    TWKTabControlBase::OnRButtonUp(nFlags, point);
}

void TWK3DTabControl::OnLButtonDblClk(UINT, CPoint point)
{
    for (int i = 0; i < GetTabCount(); i++)
    {
        TWK3DTab* pTab = Get3DTab(i);
        if (pTab && pTab->m_bEnabled && ::PtInRect(&pTab->m_rect, point))
            NotifyParent(TWKTCN_DBLCLK, (WPARAM)i, 0);
    }
}

void TWK3DTabControl::OnMouseMove(UINT nFlags, CPoint point)
{
    FilterCurrentToolTipMessage();
    if ((GetStyle() & TWK3DTS_DRAGTABS) && ::GetCapture() == m_hWnd && m_bActiveTab)
        DragActiveTab(point);
    else
        TWKTabControlBase::OnMouseMove(nFlags, point);
}

void TWK3DTabControl::DragActiveTab(CPoint point)
{
    int nDragged = m_nActiveTab;
    TWK3DTab* pDragged = Get3DTab(nDragged);
    if (!pDragged || ::PtInRect(&pDragged->m_rect, point))
        return;
    int nTarget = -1;
    for (int i = 0; i < GetTabCount() && nTarget < 0; i++)
        if (i != nDragged && ::PtInRect(&Get3DTab(i)->m_rect, point))
            nTarget = i;
    if (nTarget < 0)
        return;
    // Only where the dragged tab would lie at the target's place, so that it does not swap straight back.
    BOOL bHorizontal = IsHorizontal(GetStyle());
    const RECT& rd = pDragged->m_rect;
    const RECT& rt = Get3DTab(nTarget)->m_rect;
    int p = bHorizontal ? point.x : point.y;
    int dLow = bHorizontal ? rd.left : rd.top, dHigh = bHorizontal ? rd.right : rd.bottom;
    int tLow = bHorizontal ? rt.left : rt.top, tHigh = bHorizontal ? rt.right : rt.bottom;
    BOOL bSwap = nTarget > nDragged ? (p > dLow + (tHigh - tLow) && p < dHigh + (tHigh - tLow))
                                    : (p > tLow && p < tLow + (dHigh - dLow));
    if (!bSwap)
        return;
    HWND hFocus = ::GetFocus();
    m_pTabArray->RemoveAt(nDragged);
    m_pTabArray->InsertAt(nTarget, pDragged);
    // The record moved: it becomes active again at its new place.
    m_bActiveTab = FALSE;
    ActivateTab(nTarget);
    if (hFocus && ::IsWindow(hFocus) && ::GetFocus() != hFocus)
        ::SetFocus(hFocus);
    Invalidate(TRUE);
}

void TWK3DTabControl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    int nStep = 0;
    if (nChar == VK_LEFT || nChar == VK_UP)
        nStep = -1;
    else if (nChar == VK_RIGHT || nChar == VK_DOWN)
        nStep = 1;
    if (nStep == 0 || !m_bActiveTab)
    {
        TWKTabControlBase::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    for (int i = m_nActiveTab + nStep; IsValidIndex(i); i += nStep)
    {
        if (Get3DTab(i)->m_bEnabled)
        {
            ActivateTab(i);
            SetFocus();
            return;
        }
    }
}

void TWK3DTabControl::OnSetFocus(CWnd* pOldWnd)
{
    TWKTabControlBase::OnSetFocus(pOldWnd);
    if (TabWndHasTabStop())
        Invalidate(TRUE);
}

void TWK3DTabControl::OnKillFocus(CWnd* pNewWnd)
{
    TWKTabControlBase::OnKillFocus(pNewWnd);
    if (TabWndHasTabStop())
        Invalidate(TRUE);
}

INT_PTR TWK3DTabControl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    INT_PTR nHit = TWKTabControlBase::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    for (int i = 0; i < GetTabCount(); i++)
    {
        TWK3DTab* pTab = Get3DTab(i);
        if (!::PtInRect(&pTab->m_rect, point))
            continue;
        if (!pTab->m_bTruncated && (m_bShowLabels || m_bFitLabels))
            return -1;
        if (pTI)
        {
            pTI->hwnd = m_hWnd;
            pTI->uId = (UINT_PTR)(i + 1);
            pTI->rect = pTab->m_rect;
            pTI->lpszText = AfxAllocToolTipText(pTab->m_csFullLabel);
        }
        return i + 1;
    }
    return -1;
}
