// The floating frame of the framework's bars.
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(TWKMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(TWKMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

TWKMiniDockFrameWnd::TWKMiniDockFrameWnd() : m_wndFloatingDockBar(TRUE, FALSE)
{
    m_wndFloatingDockBar.m_bAutoDelete = FALSE;
}

CControlBar* TWKMiniDockFrameWnd::GetFirstDockedBar()
{
    for (INT_PTR i = 1; i < m_wndFloatingDockBar.m_arrBars.GetSize(); i++)
        if (CControlBar* pBar = m_wndFloatingDockBar.GetDockedControlBar((int)i))
            return pBar;
    return nullptr;
}

void TWKMiniDockFrameWnd::RecalcLayoutAt(int x, int y, BOOL)
{
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    m_bInRecalcLayout = TRUE;
    if (GetStyle() & FWS_SNAPTOBARS) {
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        PlaceOnWorkArea(x, y, rect.Size());
        SetWindowPos(nullptr, x, y, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    TitleFromDockBar();
    m_bInRecalcLayout = FALSE;
}

void TWKMiniDockFrameWnd::PlaceOnWorkArea(int& x, int& y, CSize size)
{
    // The work area of the screen the frame would mostly be on.
    RECT rect = { x, y, x + size.cx, y + size.cy };
    MONITORINFO mi = { sizeof(mi) };
    if (!::GetMonitorInfoA(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const RECT& work = mi.rcWork;
    x = std::max((int)work.left, std::min(x, (int)work.right - (int)size.cx));
    y = std::max((int)work.top, std::min(y, (int)work.bottom - (int)size.cy));
}

void TWKMiniDockFrameWnd::BringToTop()
{
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWKMiniDockFrameWnd::ActivateTopParent()
{
    // The frame the bars belong to, not this tool window, is the active one.
    CWnd* pTop = GetTopLevelOwner();
    if (pTop && pTop->m_hWnd != m_hWnd && ::GetActiveWindow() != pTop->m_hWnd)
        pTop->SetActiveWindow();
}

void TWKMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    BringToTop();
    BOOL bMulti = (m_wndFloatingDockBar.m_dwStyle & CBRS_FLOAT_MULTI) != 0;
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        // Several bars in one frame: the frame moves as a whole.
        CControlBar* pBar = bMulti ? nullptr : GetFirstDockedBar();
        if (pBar && pBar->m_pDockContext) {
            // The drag may dock the bar and end this frame: nothing of it is touched after.
            pBar->m_pDockContext->StartDrag(point);
            return;
        }
    } else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        ActivateTopParent();
        CControlBar* pBar = GetFirstDockedBar();
        if (pBar && pBar->m_pDockContext) {
            pBar->m_pDockContext->StartResize((int)nHitTest, point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void TWKMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        CControlBar* pBar = (m_wndFloatingDockBar.m_dwStyle & CBRS_FLOAT_MULTI) ? nullptr : GetFirstDockedBar();
        if (pBar && pBar->m_pDockContext) {
            HWND hWnd = m_hWnd;
            pBar->m_pDockContext->ToggleDocking();
            // Docking the last bar destroys this frame.
            if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != this)
                return;
        }
    }
    Default();
}

void TWKMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM)
{
    UINT nEvent = LOWORD(message);
    if (nEvent == WM_LBUTTONDOWN || nEvent == WM_RBUTTONDOWN)
        BringToTop();
    Default();
}

BOOL TWKDestroyFloatingFrame(CFrameWnd* pFrame)
{
    HWND hWnd = pFrame->GetSafeHwnd();
    if (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE)) {
        ::SetWindowRgn(hWnd, ::CreateRectRgn(0, 0, 0, 0), TRUE);
        ::SetWindowLongA(hWnd, GWL_STYLE, ::GetWindowLongA(hWnd, GWL_STYLE) & ~WS_VISIBLE);
    }
    return pFrame->DestroyWindow();
}
