#include "framework/controls/tabs/TWK3DTabWnd.h"
#include <prsht.h>

namespace {
// The frame's highlight colour, taken once when the program starts.
const COLORREF s_clrFrameHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
const int kStripThickness = 30;

BOOL HasTabStop(HWND hWnd)
{
    return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

// The first window from hFrom on (hFrom included) along GW_HWNDNEXT with a tab stop.
HWND FindTabStop(HWND hFrom)
{
    for (HWND h = hFrom; h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (HasTabStop(h))
            return h;
    return NULL;
}

HWND FindTabStopBefore(HWND hWnd)
{
    for (HWND h = ::GetWindow(hWnd, GW_HWNDPREV); h; h = ::GetWindow(h, GW_HWNDPREV))
        if (HasTabStop(h))
            return h;
    return NULL;
}
}

IMPLEMENT_DYNCREATE(TWK3DTabWnd, TWKTabWndBase)

BEGIN_MESSAGE_MAP(TWK3DTabWnd, TWKTabWndBase)
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_MESSAGE(TWKTCN_ACTIVATE, OnTabActivate)
END_MESSAGE_MAP()

TWK3DTabWnd::TWK3DTabWnd() : m_cyTabStrip(kStripThickness), m_cxTabStrip(kStripThickness), m_dwTabStyle(0)
{
}

BOOL TWK3DTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwTabStyle = ((dwStyle & 0x2) ? 2 : (dwStyle & 0x1) ? 1 : 0) | (dwStyle & 0xFF0);
    return TWKTabWndBase::Create(pParentWnd, dwStyle & ~0xFF3u, nID);
}

BOOL TWK3DTabWnd::CreateTabCtrl(DWORD, UINT nID)
{
    TWK3DTabControl* pCtrl = new TWK3DTabControl;
    m_pTabCtrl = pCtrl;
    return pCtrl->Create(m_dwTabStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID);
}

void TWK3DTabWnd::GetInsideRect(LPRECT lpRect)
{
    GetClientRect(lpRect);
    int a = (m_dwTabStyle & TWK3DTS_NOENLARGE) ? -3 : 1;
    if (m_dwTabStyle & TWK3DTS_BOTTOM)
        ::SetRect(lpRect, lpRect->left + 6, lpRect->top + 4, lpRect->right - 7, lpRect->bottom - (m_cyTabStrip + a));
    else if (m_dwTabStyle & TWK3DTS_TOP)
        ::SetRect(lpRect, lpRect->left + 6, lpRect->top + m_cyTabStrip + a, lpRect->right - 7, lpRect->bottom - 4);
    else if (m_dwTabStyle & TWK3DTS_LEFT)
        ::SetRect(lpRect, lpRect->left + m_cxTabStrip + a, lpRect->top + 4, lpRect->right - 7, lpRect->bottom - 6);
    else
        ::SetRect(lpRect, lpRect->left + 6, lpRect->top + 4, lpRect->right - (m_cxTabStrip + a), lpRect->bottom - 6);
}

void TWK3DTabWnd::RecalcLayout()
{
    if (!m_hWnd || !m_pTabCtrl || !m_pTabCtrl->m_hWnd)
        return;
    BOOL bHorizontal = TWK3DTabControl::IsHorizontal(m_dwTabStyle);
    m_cyTabStrip = bHorizontal ? kStripThickness : 0;
    m_cxTabStrip = bHorizontal ? 0 : kStripThickness;
    CRect inside, client;
    GetInsideRect(&inside);
    GetClientRect(&client);
    CRect rcCtrl;
    if (m_dwTabStyle & TWK3DTS_BOTTOM)
        rcCtrl.SetRect(inside.left, inside.bottom + 1, inside.right, inside.bottom + 1 + client.bottom - inside.bottom);
    else if (m_dwTabStyle & TWK3DTS_TOP)
        rcCtrl.SetRect(inside.left, client.top, inside.right, inside.top);
    else if (m_dwTabStyle & TWK3DTS_LEFT)
        rcCtrl.SetRect(client.left, inside.top, inside.left, inside.bottom);
    else
        rcCtrl.SetRect(inside.right, client.top, client.right, client.top + inside.Height());
    HDWP hdwp = ::BeginDeferWindowPos(2);
    DeferMove(hdwp, m_pTabCtrl, rcCtrl, SWP_NOREDRAW);
    DeferMove(hdwp, m_pActiveWnd, CRect(inside.left, inside.top, inside.right - 1, inside.bottom));
    if (hdwp)
        ::EndDeferWindowPos(hdwp);
}

void TWK3DTabWnd::SetFontOfState(CFont* pFont, int nState, BOOL bRedraw)
{
    if (Get3DControl() && Get3DControl()->SetTabFont(pFont, nState, bRedraw) && bRedraw)
        Invalidate(TRUE);
}

void TWK3DTabWnd::SetActiveTabFont(CFont* pFont, BOOL bRedraw) { SetFontOfState(pFont, 1, bRedraw); }
void TWK3DTabWnd::SetTabFont(CFont* pFont, BOOL bRedraw) { SetFontOfState(pFont, 0, bRedraw); }

void TWK3DTabWnd::EnableTab(int nIndex, BOOL bEnable)
{
    if (Get3DControl())
        Get3DControl()->EnableTab(nIndex, bEnable);
}

void TWK3DTabWnd::EnableTab(CWnd* pWnd, BOOL bEnable)
{
    int nIndex;
    if (FindTab(pWnd, nIndex))
        EnableTab(nIndex, bEnable);
}

BOOL TWK3DTabWnd::IsTabEnabled(int nIndex)
{
    return Get3DControl() && Get3DControl()->IsTabEnabled(nIndex);
}

BOOL TWK3DTabWnd::IsTabEnabled(CWnd* pWnd)
{
    int nIndex;
    return FindTab(pWnd, nIndex) && IsTabEnabled(nIndex);
}

BOOL TWK3DTabWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    BOOL bResult = CWnd::OnNcCreate(lpCreateStruct);
    if (lpCreateStruct->hwndParent)
        CWnd::ModifyStyleEx(lpCreateStruct->hwndParent, WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return bResult;
}

void TWK3DTabWnd::OnSize(UINT nType, int cx, int cy)
{
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0)
    {
        RecalcLayout();
        if (m_pTabCtrl)
            m_pTabCtrl->Invalidate(TRUE);
        Invalidate(FALSE);
    }
    CWnd::OnSize(nType, cx, cy);
}

void TWK3DTabWnd::OnPaint()
{
    CPaintDC dc(this);
    InvalidateControlPart(dc.m_ps.rcPaint);
    DrawFrame(&dc);
}

void TWK3DTabWnd::DrawFrame(CDC* pDC)
{
    CRect in;
    GetInsideRect(&in);
    BOOL bFlat = (m_dwTabStyle & TWK3DTS_FLATEDGE) != 0;
    COLORREF hl = s_clrFrameHighlight, face = ::GetSysColor(COLOR_BTNFACE);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), black = RGB(0, 0, 0);
    int x0 = in.left - 4, y0 = in.top - 4, h = in.Height() + 8, n = in.Width() + 8;

    pDC->FillSolidRect(x0, y0, 1, h, hl);
    pDC->FillSolidRect(x0 + 1, y0, 1, h, face);
    if (!bFlat)
    {
        pDC->FillSolidRect(x0 + 2, y0, 1, h, shadow);
        pDC->FillSolidRect(x0 + 3, y0, 1, h, black);
    }

    if (bFlat)
    {
        pDC->FillSolidRect(in.right + 2, y0, 1, h, shadow);
        pDC->FillSolidRect(in.right + 3, y0, 1, h, black);
    }
    else
    {
        pDC->FillSolidRect(in.right, y0, 1, h, hl);
        pDC->FillSolidRect(in.right + 1, y0, 1, h, face);
        pDC->FillSolidRect(in.right + 2, y0, 1, h, shadow);
        pDC->FillSolidRect(in.right + 3, y0, 1, h, black);
    }

    pDC->FillSolidRect(x0, y0, n - 1, 1, hl);
    pDC->FillSolidRect(x0 + 1, y0 + 1, n - 3, 1, face);
    if (!bFlat)
    {
        pDC->FillSolidRect(x0 + 2, y0 + 2, n - 6, 1, shadow);
        pDC->FillSolidRect(x0 + 3, y0 + 3, n - 8, 1, black);
    }

    int y = in.bottom + ((m_dwTabStyle & (TWK3DTS_BOTTOM | TWK3DTS_RIGHT)) ? 1 : 0);
    if (!bFlat)
    {
        pDC->FillSolidRect(x0 + 2, y, n - 5, 1, hl);
        pDC->FillSolidRect(x0 + 1, y + 1, n - 3, 1, face);
    }
    pDC->FillSolidRect(x0 + 1, y + 2, n - 2, 1, shadow);
    pDC->FillSolidRect(x0, y + 3, n, 1, black);
}

BOOL TWK3DTabWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect in, client;
    GetInsideRect(&in);
    GetClientRect(&client);
    if (m_pTabCtrl && m_pTabCtrl->m_hWnd)
    {
        CRect rcCtrl;
        m_pTabCtrl->GetWindowRect(&rcCtrl);
        ScreenToClient(&rcCtrl);
        pDC->ExcludeClipRect(&rcCtrl);
    }
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    pDC->FillSolidRect(client.left, client.top, client.Width(), in.top - client.top, face);
    pDC->FillSolidRect(client.left, client.top, in.left - client.left, client.Height(), face);
    pDC->FillSolidRect(in.right - 1, client.top, client.right - (in.right - 1), client.Height(), face);
    pDC->FillSolidRect(client.left, in.bottom, client.Width(), client.bottom - in.bottom, face);
    pDC->FillSolidRect(in.left - 1, in.bottom, in.Width() + 1, 1, face);
    return TRUE;
}

void TWK3DTabWnd::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    HWND hNext = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    // Shift+Tab coming back from the window after this one: into the page, on its last control.
    if (hNext && ::GetWindow(hNext, GW_HWNDNEXT) && hNext == pOldWnd->GetSafeHwnd() && m_pActiveWnd)
    {
        m_pActiveWnd->SetFocus();
        m_pActiveWnd->SendMessage(WM_NEXTDLGCTL, 1, 0);
    }
    else if (m_pTabCtrl && m_pTabCtrl->m_hWnd)
        m_pTabCtrl->SetFocus();
}

LRESULT TWK3DTabWnd::OnTabActivate(WPARAM wParam, LPARAM lParam)
{
    TWKTabWndBase::OnTabActivate(wParam, lParam);
    LRESULT lResult = ForwardActivation(wParam, lParam);
    Invalidate(TRUE);
    return lResult;
}

BOOL TWK3DTabWnd::NavigateTab(MSG* pMsg, BOOL bShift)
{
    HWND hFocus = ::GetFocus();
    CWnd* pPage = m_pActiveWnd;
    BOOL bInPage = pPage && hFocus && (hFocus == pPage->m_hWnd || ::IsChild(pPage->m_hWnd, hFocus));
    if (!bShift)
    {
        if (!bInPage)
        {
            if (!pPage)
                return FALSE;
            pPage->SetFocus();
            return TRUE;
        }
        if (FindTabStop(::GetWindow(hFocus, GW_HWNDNEXT)))
            return pPage->PreTranslateInput(pMsg);
        HWND hNext = FindTabStop(::GetWindow(m_hWnd, GW_HWNDNEXT));
        if (hNext)
        {
            ::SetFocus(hNext);
            return TRUE;
        }
        if (!::GetWindow(m_hWnd, GW_HWNDPREV))
            return FALSE;
        hNext = FindTabStop(::GetWindow(m_hWnd, GW_HWNDFIRST));
        if (!hNext || hNext == m_hWnd)
            return pPage->PreTranslateInput(pMsg);
        ::SetFocus(hNext);
        return TRUE;
    }
    if (!bInPage || FindTabStopBefore(hFocus))
        return pPage ? pPage->PreTranslateInput(pMsg) : FALSE;
    m_pTabCtrl->SetFocus();
    return TRUE;
}

BOOL TWK3DTabWnd::PreTranslateMessage(MSG* pMsg)
{
    if (!(GetStyle() & WS_TABSTOP))
        return TWKTabWndBase::PreTranslateMessage(pMsg);
    if (TWKTabWndBase::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    HWND hFocus = ::GetFocus();
    if (pMsg->message == WM_KEYDOWN && m_pTabCtrl)
    {
        UINT nKey = (UINT)pMsg->wParam;
        BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0, bShift = ::GetKeyState(VK_SHIFT) < 0;
        if (bCtrl && (nKey == VK_TAB || nKey == VK_PRIOR || nKey == VK_NEXT) &&
            SendMessage(PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg))
            return TRUE;
        if (hFocus == m_pTabCtrl->m_hWnd)
        {
            UINT nArrow = 0;
            if (nKey == VK_TAB && bCtrl)
                nArrow = bShift ? VK_LEFT : VK_RIGHT;
            else if (nKey == VK_LEFT || nKey == VK_UP)
                nArrow = VK_LEFT;
            else if (nKey == VK_RIGHT || nKey == VK_DOWN)
                nArrow = VK_RIGHT;
            if (nArrow)
            {
                m_pTabCtrl->SendMessage(WM_KEYDOWN, nArrow, pMsg->lParam);
                return TRUE;
            }
        }
        if (nKey == VK_TAB && !bCtrl)
            return NavigateTab(pMsg, bShift);
    }
    CWnd* pFocus = CWnd::FromHandle(hFocus);
    return pFocus ? pFocus->PreTranslateInput(pMsg) : FALSE;
}
