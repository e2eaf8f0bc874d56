// The workbook, its MDI client and its worksheets.
#include "framework/frames/TWKWorkbook.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include <cstdlib>
#include <cstring>

namespace {
// Draws a line through the points from the first one in the given pen.
void PenLine(CDC* pDC, CPen* pPen, std::initializer_list<POINT> points)
{
    CPen* pOld = pDC->SelectObject(pPen);
    auto it = points.begin();
    pDC->MoveTo(it->x, it->y);
    for (++it; it != points.end(); ++it)
        pDC->LineTo(it->x, it->y);
    pDC->SelectObject(pOld);
}
} // namespace

// ---------------------------------------------------------------------------
// TWKWorkbookClient

IMPLEMENT_DYNAMIC(TWKWorkbookClient, CWnd)

BEGIN_MESSAGE_MAP(TWKWorkbookClient, CWnd)
    ON_MESSAGE(WM_MDISETMENU, OnSetMenu)
    ON_MESSAGE(WM_TWK_CLIENTSETMENU, OnSetMenu)
END_MESSAGE_MAP()

void TWKWorkbookClient::SetMargins(int nLeft, int nRight, int nTop, int nBottom)
{
    m_nLeft = nLeft;
    m_nRight = nRight;
    m_nTop = nTop;
    m_nBottom = nBottom;
}

void TWKWorkbookClient::GetMargins(int& nLeft, int& nRight, int& nTop, int& nBottom) const
{
    nLeft = m_nLeft;
    nRight = m_nRight;
    nTop = m_nTop;
    nBottom = m_nBottom;
}

void TWKWorkbookClient::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    lpClientRect->left += m_nLeft;
    lpClientRect->top += m_nTop;
    lpClientRect->right -= m_nRight;
    lpClientRect->bottom -= m_nBottom;
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

LRESULT TWKWorkbookClient::OnSetMenu(WPARAM wParam, LPARAM lParam)
{
    // (-1, -1) only asks for the tabs to follow a menu the menu bar shows.
    LRESULT lResult = 0;
    if (wParam != (WPARAM)-1 && lParam != (LPARAM)-1)
        lResult = DefWindowProc(WM_MDISETMENU, wParam, lParam);
    if (HWND hParent = ::GetParent(m_hWnd))
        ::SendMessageA(hParent, WM_TWK_TABREFRESH, 0, 0);
    return lResult;
}

// ---------------------------------------------------------------------------
// TWKSheet

TWKSheet::~TWKSheet() = default;

TWKWorkbook* TWKSheet::GetWorkbook()
{
    CMDIChildWnd* pFrame = GetSheetFrame();
    CWnd* pParent = pFrame && pFrame->m_hWnd ? pFrame->GetMDIFrame() : nullptr;
    return (pParent && pParent->IsKindOf(RUNTIME_CLASS(TWKWorkbook))) ? static_cast<TWKWorkbook*>(pParent) : nullptr;
}

void TWKSheet::OnSheetLoaded(UINT nIDResource)
{
    m_hOwnIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource), IMAGE_ICON, 16, 16, 0);
    m_hIcon = m_hOwnIcon;
    if (TWKWorkbook* pBook = GetWorkbook())
        pBook->AddSheet(this);
}

void TWKSheet::OnSheetDestroyed()
{
    if (TWKWorkbook* pBook = GetWorkbook())
        pBook->RemoveSheet(this);
}

void TWKSheet::InvalidateSheetTab(BOOL bToRight)
{
    if (TWKWorkbook* pBook = GetWorkbook())
        pBook->InvalidateTab(this, bToRight);
}

void TWKSheet::OnSheetMenuUpdated(BOOL bMenuBarOnly)
{
    // With no MDI menu set, the tabs still follow the activation.
    if (!bMenuBarOnly)
        return;
    if (CMDIFrameWnd* pFrame = GetSheetFrame()->GetMDIFrame())
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_TWK_CLIENTSETMENU, (WPARAM)-1, (LPARAM)-1);
}

void TWKSheet::ReleaseIcon()
{
    if (m_hOwnIcon)
        ::DestroyIcon(m_hOwnIcon);
    m_hOwnIcon = m_hIcon = nullptr;
}

// ---------------------------------------------------------------------------
// TWKWorksheet

IMPLEMENT_DYNCREATE(TWKWorksheet, TWKMDIChildWnd)

BEGIN_MESSAGE_MAP(TWKWorksheet, TWKMDIChildWnd)
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

BOOL TWKWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!TWKMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    OnSheetLoaded(nIDResource);
    return TRUE;
}

void TWKWorksheet::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    TWKMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
    OnSheetMenuUpdated(!m_hMenuShared && m_bMenuBarMenu);
}

void TWKWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    TWKMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    InvalidateSheetTab(FALSE);
}

void TWKWorksheet::OnShowWindow(BOOL, UINT)
{
    Default();
    InvalidateSheetTab(TRUE);
}

void TWKWorksheet::OnDestroy()
{
    OnSheetDestroyed();
    TWKMDIChildWnd::OnDestroy();
    ReleaseIcon();
}

// ---------------------------------------------------------------------------
// TWKControlBarWorksheet

IMPLEMENT_DYNCREATE(TWKControlBarWorksheet, TWKControlBarMDIChildWnd)

BEGIN_MESSAGE_MAP(TWKControlBarWorksheet, TWKControlBarMDIChildWnd)
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

BOOL TWKControlBarWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                       CCreateContext* pContext)
{
    if (!TWKControlBarMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    OnSheetLoaded(nIDResource);
    return TRUE;
}

BOOL TWKControlBarWorksheet::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    m_bCreating = TRUE;
    BOOL bDone = TWKControlBarMDIChildWnd::OnCreateClient(lpcs, pContext);
    m_bCreating = FALSE;
    return bDone;
}

void TWKControlBarWorksheet::RecalcLayout(BOOL bNotify)
{
    if (!m_bCreating)
        TWKControlBarMDIChildWnd::RecalcLayout(bNotify);
}

void TWKControlBarWorksheet::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    TWKControlBarMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
    OnSheetMenuUpdated(!m_hMenuShared && m_bMenuBarMenu);
}

void TWKControlBarWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    TWKControlBarMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    InvalidateSheetTab(FALSE);
}

void TWKControlBarWorksheet::OnShowWindow(BOOL bShow, UINT nStatus)
{
    TWKControlBarMDIChildWnd::OnShowWindow(bShow, nStatus);
    InvalidateSheetTab(TRUE);
}

void TWKControlBarWorksheet::OnDestroy()
{
    OnSheetDestroyed();
    TWKControlBarMDIChildWnd::OnDestroy();
    ReleaseIcon();
}

// ---------------------------------------------------------------------------
// TWKWorkbook

IMPLEMENT_DYNCREATE(TWKWorkbook, TWKMDIFrameWnd)

BEGIN_MESSAGE_MAP(TWKWorkbook, TWKMDIFrameWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_LBUTTONUP, OnTabLButtonUp)
    ON_WM_DESTROY()
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_MESSAGE(WM_TWK_TABREFRESH, OnTabRefresh)
END_MESSAGE_MAP()

TWKWorkbook::TWKWorkbook()
{
    m_rectLayout.SetRectEmpty();
    m_pMDIHostClass = RUNTIME_CLASS(TWKControlBarWorksheet);
}

TWKWorkbook::~TWKWorkbook()
{
    delete m_pToolTip;
    delete m_pClient;
}

TWKSheet* TWKWorkbook::AsSheet(CWnd* pWnd)
{
    if (!pWnd)
        return nullptr;
    if (pWnd->IsKindOf(RUNTIME_CLASS(TWKWorksheet)))
        return static_cast<TWKWorksheet*>(pWnd);
    if (pWnd->IsKindOf(RUNTIME_CLASS(TWKControlBarWorksheet)))
        return static_cast<TWKControlBarWorksheet*>(pWnd);
    return nullptr;
}

void TWKWorkbook::SetWorkbookMode(BOOL bOn)
{
    m_bWorkbookMode = bOn;
    if (m_pClient) {
        if (bOn)
            m_pClient->SetMargins(13, 13, 13, 33);
        else
            m_pClient->SetMargins(0, 0, 0, 0);
    }
    twkWorkbookMode = bOn;
    // Switched on again over an unchanged layout, the frame must still draw
    // the border and tabs the client covered.
    m_rectLayout.SetRectEmpty();
    RecalcLayout(TRUE);
}

void TWKWorkbook::SetShowIcons(BOOL bShow)
{
    m_bShowIcons = bShow;
    InvalidateTabRow();
}

CRect TWKWorkbook::GetClientWndRect() const
{
    CRect rect(0, 0, 0, 0);
    if (m_hWndMDIClient && ::IsWindow(m_hWndMDIClient)) {
        ::GetWindowRect(m_hWndMDIClient, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void TWKWorkbook::GetTabAreaRect(LPRECT lpRect)
{
    CRect rect = GetClientWndRect();
    if (m_pClient) {
        rect.left -= m_pClient->m_nLeft;
        rect.top -= m_pClient->m_nTop;
        rect.right += m_pClient->m_nRight;
        rect.bottom += m_pClient->m_nBottom;
    }
    *lpRect = rect;
}

BOOL TWKWorkbook::RecalcTabWidth()
{
    INT_PTR n = m_arrSheets.GetSize();
    if (!n)
        return FALSE;
    int nWidth = (int)((GetClientWndRect().Width() + 5) / n);
    if (nWidth > m_nMaxTabWidth)
        nWidth = m_nMaxTabWidth;
    if (nWidth == m_nTabWidth)
        return FALSE;
    m_nTabWidth = nWidth;
    return TRUE;
}

int TWKWorkbook::TabPlace(TWKSheet* pSheet) const
{
    int k = pSheet->m_nIndex;
    for (int i = 0; i < pSheet->m_nIndex && i < m_arrSheets.GetSize(); i++) {
        CMDIChildWnd* pFrame = GetSheet(i)->GetSheetFrame();
        if (!pFrame->m_hWnd || !(pFrame->GetStyle() & WS_VISIBLE))
            k--;
    }
    return k;
}

void TWKWorkbook::InvalidateTab(TWKSheet* pSheet, BOOL bToRight)
{
    if (!m_hWnd || !m_bWorkbookMode)
        return;
    CRect rectClient = GetClientWndRect();
    CRect rect;
    rect.left = TabPlace(pSheet) * m_nTabWidth + rectClient.left - 2;
    rect.right = rect.left + m_nTabWidth + 4;
    rect.top = rectClient.bottom + 4;
    rect.bottom = rect.top + m_nTabHeight + 4;
    if (bToRight) {
        CRect rectFrame;
        GetClientRect(&rectFrame);
        rect.right = rectFrame.right;
    }
    InvalidateRect(&rect, TRUE);
}

void TWKWorkbook::InvalidateTabRow()
{
    if (!m_hWnd || !m_bWorkbookMode)
        return;
    CRect rectClient = GetClientWndRect();
    CRect rect;
    GetClientRect(&rect);
    rect.top = rectClient.bottom + 4;
    rect.bottom = rect.top + m_nTabHeight + 4;
    InvalidateRect(&rect, TRUE);
}

void TWKWorkbook::AddSheet(TWKSheet* pSheet)
{
    pSheet->m_nIndex = (int)m_arrSheets.Add(pSheet);
    BOOL bChanged = RecalcTabWidth();
    if (m_bWorkbookMode) {
        if (bChanged)
            InvalidateTabRow();
        else if (m_arrSheets.GetSize() == 1)
            Invalidate();
        else
            InvalidateTab(pSheet, FALSE);
    }
    if (!m_pToolTip) {
        m_pToolTip = new CToolTipCtrl;
        if (m_pToolTip->Create(this)) {
            m_pToolTip->Activate(TRUE);
            EnableToolTips(TRUE);
        } else {
            delete m_pToolTip;
            m_pToolTip = nullptr;
        }
    }
}

void TWKWorkbook::RemoveSheet(TWKSheet* pSheet)
{
    INT_PTR nIndex = -1;
    for (INT_PTR i = 0; i < m_arrSheets.GetSize(); i++)
        if (GetSheet(i) == pSheet)
            nIndex = i;
    if (nIndex < 0)
        return;
    // Its tab place is taken before the array forgets it.
    if (m_bWorkbookMode && m_arrSheets.GetSize() > 1)
        InvalidateTab(pSheet, TRUE);
    m_arrSheets.RemoveAt(nIndex);
    for (INT_PTR i = nIndex; i < m_arrSheets.GetSize(); i++)
        GetSheet(i)->m_nIndex = (int)i;
    if (m_arrSheets.GetSize() && RecalcTabWidth()) {
        InvalidateTabRow();
    } else if (m_bWorkbookMode && !m_arrSheets.GetSize() && m_hWnd) {
        Invalidate();
    }
    pSheet->m_nIndex = -1;
}

int TWKWorkbook::GetTabPolygon(TWKSheet* pSheet, POINT* pPoints)
{
    CMDIChildWnd* pFrame = pSheet->GetSheetFrame();
    const int W = m_nTabWidth, H = m_nTabHeight, S = m_nSlant, E = m_nActiveExtraWidth, D = m_nActiveExtraHeight;
    CFrameWnd* pActive = const_cast<TWKWorkbook*>(this)->MDIGetActive();
    int a = (pSheet->m_bPressed || (pActive && pActive == pFrame)) ? 1 : 0;
    CRect rectClient = GetClientWndRect();
    int x0 = rectClient.left + TabPlace(pSheet) * W - a * (E / 2);
    int y0 = rectClient.bottom + 4;
    const POINT pts[kTabPoints] = {
        {x0, y0},
        {x0, y0 + H - S},
        {x0 + S, y0 + H + a * D},
        {x0 + W + a * E - S, y0 + H + a * D},
        {x0 + W + a * E, y0 + H - S},
        {x0 + W + a * E, y0},
        {x0, y0},
    };
    memcpy(pPoints, pts, sizeof(pts));
    return kTabPoints;
}

LPCSTR TWKWorkbook::GetSheetTitle(TWKSheet* pSheet)
{
    CMDIChildWnd* pFrame = pSheet->GetSheetFrame();
    if (CDocument* pDoc = pFrame->GetActiveDocument())
        m_strSheetTitle = pDoc->GetTitle();
    else
        pFrame->GetWindowText(m_strSheetTitle);
    return m_strSheetTitle;
}

void TWKWorkbook::GetTabTextRect(const POINT* pPoints, int cxIcon, LPRECT lpRect)
{
    if (!pPoints) {
        ::SetRectEmpty(lpRect);
        return;
    }
    ::SetRect(lpRect, pPoints[2].x + cxIcon + 3, pPoints[0].y, pPoints[4].x - 2, pPoints[3].y);
}

BOOL TWKWorkbook::IsTitleFit(TWKSheet* pSheet)
{
    POINT pts[kTabPoints];
    GetTabPolygon(pSheet, pts);
    CRect rect;
    GetTabTextRect(pts, 16, &rect);
    CString strTitle = GetSheetTitle(pSheet);
    CClientDC dc(this);
    CFont* pOld = m_fontTab.m_hObject ? dc.SelectObject(&m_fontTab) : nullptr;
    CSize size = dc.GetTextExtent(strTitle, strTitle.GetLength());
    if (pOld)
        dc.SelectObject(pOld);
    return size.cx <= rect.Width();
}

void TWKWorkbook::DrawTab(CDC* pDC, TWKSheet* pSheet)
{
    POINT p[kTabPoints];
    GetTabPolygon(pSheet, p);
    CRgn rgn;
    if (rgn.CreatePolygonRgn(p, kTabPoints, ALTERNATE)) {
        CBrush brush(::GetSysColor(COLOR_BTNFACE));
        pDC->FillRgn(&rgn, &brush);
    }
    PenLine(pDC, &m_penShadow, {{p[1].x + 1, p[1].y - 1}, {p[2].x, p[2].y - 2}, {p[3].x, p[3].y - 2},
                                {p[4].x - 2, p[4].y - 1}, {p[5].x - 2, p[5].y}, {p[5].x, p[5].y}});
    PenLine(pDC, &m_penHighlight, {{p[0].x, p[0].y + 1}, {p[1].x, p[1].y - 1}});
    PenLine(pDC, &m_penBlack, {{p[2].x + 1, p[2].y - 1}, {p[3].x, p[3].y - 1}, {p[4].x - 1, p[4].y - 1},
                               {p[5].x - 1, p[5].y}});
}

void TWKWorkbook::DrawTabContents(CDC* pDC, TWKSheet* pSheet)
{
    POINT p[kTabPoints];
    GetTabPolygon(pSheet, p);
    if (HICON hIcon = GetSheetIcon(pSheet))
        ::DrawIconEx(pDC->m_hDC, p[2].x + 1, p[0].y + 4, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    CRect rect;
    GetTabTextRect(p, m_bShowIcons ? 16 : 0, &rect);
    CFont* pOld = pDC->SelectObject(&m_fontTab);
    CString strTitle = FitTitle(pDC, GetSheetTitle(pSheet), rect.Width());
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    pDC->DrawText(strTitle, strTitle.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOld);
}

CString TWKWorkbook::FitTitle(CDC* pDC, LPCSTR lpszTitle, int cx)
{
    // Cut to end in three dots, one character a step, while it is too wide.
    CString strTitle = lpszTitle;
    while (strTitle.GetLength() >= 4 && pDC->GetTextExtent(strTitle, strTitle.GetLength()).cx > cx)
        strTitle = strTitle.Left(strTitle.GetLength() - 4) + "...";
    return strTitle;
}

void TWKWorkbook::DrawWorkbookBorder(CDC* pDC)
{
    CRect rectClient = GetClientWndRect();
    CRect r = rectClient;
    r.InflateRect(5, 5);
    PenLine(pDC, &m_penShadow, {{r.left + 1, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top + 1}});
    PenLine(pDC, &m_penHighlight, {{r.right - 1, r.top}, {r.left, r.top}, {r.left, r.bottom}});
    PenLine(pDC, &m_penBlack, {{r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}});
    int nLeft = rectClient.left - (m_pClient ? m_pClient->m_nLeft : 0);
    int nRight = rectClient.right + (m_pClient ? m_pClient->m_nRight : 0);
    int y = rectClient.top - (m_pClient ? m_pClient->m_nTop : 0);
    PenLine(pDC, &m_penShadow, {{nLeft, y}, {nRight, y}});
    PenLine(pDC, &m_penHighlight, {{nLeft, y + 1}, {nRight, y + 1}});
}

void TWKWorkbook::SetSheetIcon(TWKSheet* pSheet, HICON hIcon, BOOL bRedraw)
{
    pSheet->m_hIcon = hIcon;
    if (bRedraw)
        InvalidateTab(pSheet, FALSE);
}

BOOL TWKWorkbook::TabHolds(TWKSheet* pSheet, CPoint point)
{
    POINT pts[kTabPoints];
    GetTabPolygon(pSheet, pts);
    CRgn rgn;
    return rgn.CreatePolygonRgn(pts, kTabPoints, ALTERNATE) && rgn.PtInRegion(point);
}

INT_PTR TWKWorkbook::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    auto* pThis = const_cast<TWKWorkbook*>(this);
    for (INT_PTR i = 0; i < m_arrSheets.GetSize(); i++) {
        TWKSheet* pSheet = GetSheet(i);
        CMDIChildWnd* pFrame = pSheet->GetSheetFrame();
        if (!pFrame->m_hWnd || !(pFrame->GetStyle() & WS_VISIBLE))
            continue;
        POINT pts[kTabPoints];
        pThis->GetTabPolygon(pSheet, pts);
        CRgn rgn;
        if (!rgn.CreatePolygonRgn(pts, kTabPoints, ALTERNATE) || !rgn.PtInRegion(point))
            continue;
        if (pThis->IsTitleFit(pSheet))
            return -1;
        if (pTI) {
            pTI->hwnd = m_hWnd;
            pTI->uId = (UINT_PTR)(i + 1);
            rgn.GetRgnBox(&pTI->rect);
            LPCSTR pszTitle = pThis->GetSheetTitle(pSheet);
            size_t n = strlen(pszTitle) + 1;
            pTI->lpszText = static_cast<LPSTR>(std::malloc(n));   // the caller frees it
            if (pTI->lpszText)
                memcpy(pTI->lpszText, pszTitle, n);
        }
        return i + 1;
    }
    return -1;
}

void TWKWorkbook::RecalcLayout(BOOL bNotify)
{
    TWKMDIFrameWnd::RecalcLayout(bNotify);
    if (!m_bWorkbookMode || !m_hWnd)
        return;
    CRect rect;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, nullptr, TRUE);
    if (rect == m_rectLayout)
        return;
    if (m_arrSheets.GetSize())
        RecalcTabWidth();
    Invalidate();
    m_rectLayout = rect;
}

BOOL TWKWorkbook::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu)
{
    if (!TWKMDIFrameWnd::CreateClient(lpCreateStruct, pWindowMenu))
        return FALSE;
    auto* pClient = new TWKWorkbookClient;
    if (!pClient->SubclassWindow(m_hWndMDIClient)) {
        delete pClient;
        return TRUE;   // a plain MDI frame, with nothing of the workbook drawn
    }
    m_pClient = pClient;
    LOGFONTA lf;
    HGDIOBJ hFont = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!hFont)
        hFont = ::GetStockObject(SYSTEM_FONT);
    if (::GetObjectA(hFont, sizeof(lf), &lf))
        m_fontTab.CreateFontIndirect(&lf);
    m_penHighlight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

CFrameWnd* TWKWorkbook::CreateMDIFloatingFrame(DWORD dwStyle, CControlBar* pBar)
{
    CFrameWnd* pFrame = TWKMDIFrameWnd::CreateMDIFloatingFrame(dwStyle, pBar);
    if (pFrame && pBar && pFrame->IsKindOf(RUNTIME_CLASS(TWKControlBarWorksheet)))
        if (HICON hIcon = (HICON)pBar->SendMessage(WM_GETICON, ICON_BIG))
            SetSheetIcon(static_cast<TWKControlBarWorksheet*>(pFrame), hIcon, TRUE);
    return pFrame;
}

void TWKWorkbook::OnPaint()
{
    CPaintDC dc(this);
    CRect rectInner;
    if (!m_bWorkbookMode || !m_pClient || !m_fontTab.m_hObject)
        return;
    ::GetClientRect(m_hWndMDIClient, &rectInner);
    if (rectInner.IsRectEmpty())
        return;
    CFont* pOld = dc.SelectObject(&m_fontTab);
    for (INT_PTR i = 0; i < m_arrSheets.GetSize(); i++) {
        TWKSheet* pSheet = GetSheet(i);
        CMDIChildWnd* pFrame = pSheet->GetSheetFrame();
        if (!pFrame->m_hWnd || !(pFrame->GetStyle() & WS_VISIBLE))
            continue;
        DrawTab(&dc, pSheet);
        DrawTabContents(&dc, pSheet);
    }
    DrawWorkbookBorder(&dc);
    // The active tab overlaps its neighbours.
    CMDIChildWnd* pActive = MDIGetActive();
    TWKSheet* pSheet = AsSheet(pActive);
    if (pSheet && pSheet->m_nIndex >= 0 && (pActive->GetStyle() & WS_VISIBLE)) {
        DrawTab(&dc, pSheet);
        DrawTabContents(&dc, pSheet);
    }
    dc.SelectObject(pOld);
}

BOOL TWKWorkbook::OnEraseBkgnd(CDC* pDC)
{
    CRect rectClientWnd = GetClientWndRect();
    pDC->ExcludeClipRect(&rectClientWnd);
    CRect rectFrame;
    GetClientRect(&rectFrame);
    CRect r;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &r, nullptr, TRUE);
    if (r.IsRectEmpty())
        return TRUE;
    pDC->FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
    if (r.bottom != rectFrame.bottom) {
        pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->FillSolidRect(r.left, r.bottom - 2, r.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
    }
    if (r.right != rectFrame.right) {
        pDC->FillSolidRect(r.right - 1, r.top + 1, 1, r.bottom - r.top - 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->FillSolidRect(r.right - 2, r.top, 1, r.bottom - 2 - r.top, ::GetSysColor(COLOR_BTNSHADOW));
    }
    return TRUE;
}

void TWKWorkbook::OnLButtonDown(UINT, CPoint point)
{
    if (m_bWorkbookMode) {
        CMDIChildWnd* pActive = MDIGetActive();
        for (INT_PTR i = 0; i < m_arrSheets.GetSize(); i++) {
            TWKSheet* pSheet = GetSheet(i);
            CMDIChildWnd* pFrame = pSheet->GetSheetFrame();
            if (pFrame == pActive || !pFrame->m_hWnd || !(pFrame->GetStyle() & WS_VISIBLE) || !TabHolds(pSheet, point))
                continue;
            if (CanActivateSheet(pSheet)) {
                pSheet->m_bPressed = TRUE;
                UpdateWindow();
                pFrame->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
            }
            break;
        }
    }
    Default();
}

LRESULT TWKWorkbook::OnTabLButtonUp(WPARAM wParam, LPARAM lParam)
{
    if (m_bWorkbookMode) {
        BOOL bWasPressed = FALSE;
        for (INT_PTR i = 0; i < m_arrSheets.GetSize(); i++) {
            bWasPressed |= GetSheet(i)->m_bPressed;
            GetSheet(i)->m_bPressed = FALSE;
        }
        if (bWasPressed)
            InvalidateTabRow();
    }
    return OnFilteredMouse(wParam, lParam);
}

void TWKWorkbook::OnDestroy()
{
    TWKMDIFrameWnd::OnDestroy();
    if (m_pClient) {
        if (m_pClient->m_hWnd)
            m_pClient->UnsubclassWindow();
        delete m_pClient;
        m_pClient = nullptr;
    }
}

LRESULT TWKWorkbook::OnTabRefresh(WPARAM, LPARAM)
{
    if (m_nLastActive >= 0 && m_nLastActive < m_arrSheets.GetSize())
        InvalidateTab(GetSheet(m_nLastActive), FALSE);
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
    TWKSheet* pSheet = AsSheet(pActive);
    if (pSheet && pSheet->m_nIndex >= 0) {
        InvalidateTab(pSheet, FALSE);
        m_nLastActive = pSheet->m_nIndex;
    } else {
        m_nLastActive = (int)m_arrSheets.GetSize();
    }
    if (pActive && !bMaximized)
        UpdateWindow();
    return 0;
}
