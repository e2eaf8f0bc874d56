#include "framework/frames/TWKCaptionMsgFilter.h"

IMPLEMENT_DYNCREATE(TWKCaptionMsgFilter, TWKNcMsgFilter)
IMPLEMENT_DYNCREATE(TWKCaptionControlListMsgFilter, TWKCaptionMsgFilter)
IMPLEMENT_DYNCREATE(TWKCapConLstMDIMaxChildMsgFilter, TWKCaptionControlListMsgFilter)
IMPLEMENT_DYNCREATE(TWKCaptionControlMsgFilter, TWKCaptionMsgFilter)

namespace {

HWND OwnerWindow(const TWKMsgFilter* pFilter)
{
    CWnd* pWnd = pFilter->GetWnd();
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : NULL;
    return hwnd && ::IsWindow(hwnd) ? hwnd : NULL;
}

const UINT kCommands[] = { SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CONTEXTHELP };

} // namespace

// ---------------------------------------------------------------------------
// Caption geometry

void TWKCaptionMsgFilter::GetCaptionRect(RECT* pRect)
{
    HWND hwnd = OwnerWindow(this);
    int cx = 0, cy = 0, width = 0, height = 0;
    if (hwnd) {
        DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hwnd, GWL_STYLE);
        DWORD dwExStyle = (DWORD)::GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
        if (dwStyle & (WS_CAPTION | WS_THICKFRAME)) {
            if ((dwStyle & WS_THICKFRAME) && !::IsIconic(hwnd)) {
                cx = ::GetSystemMetrics(SM_CXFRAME);
                cy = ::GetSystemMetrics(SM_CYFRAME);
            } else if (dwStyle & WS_DLGFRAME) {
                cx = ::GetSystemMetrics(SM_CXDLGFRAME);
                cy = ::GetSystemMetrics(SM_CYDLGFRAME);
            } else {
                cx = ::GetSystemMetrics(SM_CXBORDER);
                cy = ::GetSystemMetrics(SM_CYBORDER);
            }
        }
        RECT rcWindow;
        ::GetWindowRect(hwnd, &rcWindow);
        width = rcWindow.right - rcWindow.left - 2 * cx;
        height = ::GetSystemMetrics((dwExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION)
                 - ::GetSystemMetrics(SM_CYBORDER);
        if ((dwStyle & WS_CAPTION) != WS_CAPTION)
            height = 0;
    }
    ::SetRect(pRect, cx, cy, cx + width, cy + height);
}

void TWKCaptionMsgFilter::CalcButtonSize(SIZE* pSize, int nWidthMetric, int nHeightMetric)
{
    pSize->cx = ::GetSystemMetrics(nWidthMetric) - 2;
    pSize->cy = ::GetSystemMetrics(nHeightMetric) - 4;
}

void TWKCaptionMsgFilter::GetButtonSize(SIZE* pSize)
{
    HWND hwnd = OwnerWindow(this);
    if (hwnd && (::GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        CalcButtonSize(pSize, SM_CXSMSIZE, SM_CYSMSIZE);
    else
        CalcButtonSize(pSize, SM_CXSIZE, SM_CYSIZE);
}

void TWKCaptionMsgFilter::GetFirstButtonPos(POINT* pPos, const RECT& rcCaption, const SIZE& size)
{
    pPos->x = rcCaption.right - size.cx - 2;
    pPos->y = rcCaption.top + 2;
}

// ---------------------------------------------------------------------------
// The list

TWKCaptionControlListMsgFilter::TWKCaptionControlListMsgFilter()
{
    for (int nID : { 0, 2, 3, 1, 4 })
        m_tableControls.Add(new Descriptor(nID, -1, RUNTIME_CLASS(TWKCaptionControlMsgFilter), 0));
    EnableDescriptorTable(&m_tableControls, TRUE);
}

TWKCaptionControlListMsgFilter::TWKCaptionControlListMsgFilter(const TWKCaptionControlListMsgFilter& src)
    : TWKCaptionMsgFilter(src)
{
    // The buttons came with the filter copy; the records are copied beside them.
    for (INT_PTR i = 0; i < src.m_tableControls.GetSize(); i++)
        m_tableControls.Add(src.m_tableControls[i] ? src.m_tableControls[i]->Clone() : nullptr);
}

DWORD TWKCaptionControlListMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LayoutControls();
    return PassToChildren(message, wParam, lParam, pResult);
}

void TWKCaptionControlListMsgFilter::LayoutControls()
{
    HWND hwnd = OwnerWindow(this);
    if (!m_bEnabled || !hwnd)
        return;
    SIZE size;
    GetButtonSize(&size);
    RECT rcCaption;
    GetCaptionRect(&rcCaption);
    POINT pos;
    GetFirstButtonPos(&pos, rcCaption, size);
    for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++) {
        auto* pButton = dynamic_cast<TWKCaptionControlMsgFilter*>(m_arrChildren[i]);
        if (!pButton)
            continue;
        BOOL bInactive = FALSE;
        if (!pButton->IsVisible(&bInactive)) {
            pButton->m_rect.SetRectEmpty();
            continue;
        }
        pButton->m_rect.SetRect(pos.x, pos.y, pos.x + size.cx, pos.y + size.cy);
        pButton->m_nState &= ~DFCS_INACTIVE;
        if (bInactive)
            pButton->m_nState |= DFCS_INACTIVE;
        pos.x -= size.cx;
        int nType = pButton->GetControlType();
        if (nType == 0 || nType == 1 || (nType == 3 && ::IsIconic(hwnd)))
            pos.x -= 2;
    }
}

void TWKCapConLstMDIMaxChildMsgFilter::GetButtonSize(SIZE* pSize)
{
    CalcButtonSize(pSize, SM_CXMENUSIZE, SM_CYMENUSIZE);
}

void TWKCapConLstMDIMaxChildMsgFilter::GetFirstButtonPos(POINT* pPos, const RECT& rcCaption, const SIZE& size)
{
    TWKCaptionControlListMsgFilter::GetFirstButtonPos(pPos, rcCaption, size);
    pPos->y += ::GetSystemMetrics(SM_CYCAPTION);
}

// ---------------------------------------------------------------------------
// One button

TWKCaptionControlMsgFilter::TWKCaptionControlMsgFilter(CWnd* pOwner, int nID, UINT nState, UINT nType)
    : m_nType(nType), m_nState(nState)
{
    m_pWnd = pOwner;
    m_nID = nID;
    if (GetControlType() >= 0)
        m_nState = (UINT)nID | nState;
    m_rect.SetRectEmpty();
}

TWKCaptionControlMsgFilter::TWKCaptionControlMsgFilter(const TWKCaptionControlMsgFilter& src)
    : TWKCaptionMsgFilter(src), m_rect(src.m_rect), m_nType(src.m_nType), m_nState(src.m_nState),
      m_nHoldDelay(src.m_nHoldDelay)
{
}

TWKCaptionControlMsgFilter::~TWKCaptionControlMsgFilter()
{
    StopHoldTimer();
}

DWORD TWKCaptionControlMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (message) {
    case WM_SETTEXT:
    case WM_SETCURSOR:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        Draw();
        return 1;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && HitTest(x, y)) {
            if (m_nState & DFCS_INACTIVE)
                return 7;
            if (message == WM_NCLBUTTONDOWN)
                OnLButtonDown(x, y);
            else
                FireCommand(fireRightPress, x, y);
            return 7;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (m_bTracking) {
            POINT pt = { x, y };
            if (HWND hwnd = OwnerWindow(this))
                ::ClientToScreen(hwnd, &pt);
            if (message == WM_LBUTTONUP)
                OnLButtonUp(pt.x, pt.y);
            else
                OnTrackMove(pt.x, pt.y);
            return 7;
        }
        break;
    }
    return PassToChildren(message, wParam, lParam, pResult);
}

void TWKCaptionControlMsgFilter::Draw()
{
    HWND hwnd = OwnerWindow(this);
    if (GetControlType() < 0 || !hwnd)
        return;
    HDC hdc = ::GetWindowDC(hwnd);
    if (!hdc)
        return;
    RECT rc = m_rect;
    UINT nState = (m_nState & ~0xFFu) | (UINT)GetControlType();
    ::DrawFrameControl(hdc, &rc, m_nType, nState);
    ::ReleaseDC(hwnd, hdc);
}

BOOL TWKCaptionControlMsgFilter::HitTest(int x, int y)
{
    HWND hwnd = OwnerWindow(this);
    if (!hwnd)
        return FALSE;
    POINT pt = { x, y };
    ::ScreenToClient(hwnd, &pt);
    POINT origin = { 0, 0 };
    ::ClientToScreen(hwnd, &origin);
    RECT rcWindow;
    ::GetWindowRect(hwnd, &rcWindow);
    pt.x += origin.x - rcWindow.left;
    pt.y += origin.y - rcWindow.top;
    return m_rect.PtInRect(pt);
}

void TWKCaptionControlMsgFilter::OnLButtonDown(int x, int y)
{
    BeginTracking(TRUE, TRUE);
    if (m_nHoldDelay != 0)
        StartHoldTimer(x, y);
    else
        OnHold(x, y);
}

void TWKCaptionControlMsgFilter::OnLButtonUp(int x, int y)
{
    EndTracking(TRUE, TRUE);
    if (HitTest(x, y))
        FireCommand(fireClick, x, y);
}

void TWKCaptionControlMsgFilter::OnHold(int x, int y)
{
    EndTracking(TRUE, FALSE);
    FireCommand(fireHold, x, y);
}

void TWKCaptionControlMsgFilter::OnTrackMove(int x, int y)
{
    if (!m_bTracking)
        return;
    BOOL bInside = HitTest(x, y);
    BOOL bWasInside = (m_nState & DFCS_PUSHED) != 0;
    if (bInside != bWasInside) {
        if (bInside)
            StartHoldTimer(x, y);
        else
            StopHoldTimer();
    }
    if (bInside)
        m_nState |= DFCS_PUSHED;
    else
        m_nState &= ~DFCS_PUSHED;
    Draw();
}

void TWKCaptionControlMsgFilter::FireCommand(int nKind, int x, int y)
{
    HWND hwnd = NULL;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (GetCommandMessage(nKind, x, y, &hwnd, &message, &wParam, &lParam))
        ::PostMessageA(hwnd, message, wParam, lParam);
}

BOOL TWKCaptionControlMsgFilter::GetCommandMessage(int nKind, int x, int y, HWND* pWnd, UINT* pMessage,
                                                   WPARAM* pWParam, LPARAM* pLParam)
{
    int nType = GetControlType();
    if (nKind == fireRightPress || nKind == fireHold || nType < 0 || nType > 4)
        return FALSE;
    *pWnd = OwnerWindow(this);
    *pMessage = WM_SYSCOMMAND;
    *pWParam = kCommands[nType];
    *pLParam = MAKELONG(x, y);
    return TRUE;
}

void TWKCaptionControlMsgFilter::BeginTracking(BOOL bPress, BOOL bRedraw)
{
    m_bTracking = TRUE;
    if (bPress)
        m_nState |= DFCS_PUSHED;
    if (HWND hwnd = OwnerWindow(this))
        ::SetCapture(hwnd);
    if (bRedraw)
        Draw();
}

void TWKCaptionControlMsgFilter::EndTracking(BOOL bRelease, BOOL bRedraw)
{
    m_bTracking = FALSE;
    StopHoldTimer();
    if (bRelease)
        m_nState &= ~DFCS_PUSHED;
    ::ReleaseCapture();
    if (bRedraw)
        Draw();
}

void TWKCaptionControlMsgFilter::StopHoldTimer()
{
    // The timer may be stopping itself from its own tick: it touches nothing after.
    if (TWKCaptionControlMsgFilterTimer* pTimer = m_pHoldTimer) {
        m_pHoldTimer = nullptr;
        if (pTimer->m_hWnd)
            pTimer->DestroyWindow();
        delete pTimer;
    }
}

void TWKCaptionControlMsgFilter::StartHoldTimer(int x, int y)
{
    StopHoldTimer();
    HWND hwnd = OwnerWindow(this);
    if (m_nHoldDelay < 1 || !hwnd)
        return;
    auto* pTimer = new TWKCaptionControlMsgFilterTimer(this, m_nHoldDelay, x, y);
    if (!pTimer->CreateEx(0, NULL, "", WS_CHILD, 0, 0, 0, 0, hwnd, NULL)) {
        delete pTimer;
        return;
    }
    m_pHoldTimer = pTimer;
}

BOOL TWKCaptionControlMsgFilter::IsVisible(BOOL* pInactive)
{
    if (pInactive)
        *pInactive = FALSE;
    HWND hwnd = OwnerWindow(this);
    int nType = GetControlType();
    if (!hwnd || nType < 0 || nType > 4)
        return FALSE;
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hwnd, GWL_STYLE);
    DWORD dwExStyle = (DWORD)::GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    if (!(dwStyle & WS_SYSMENU))
        return FALSE;
    BOOL bInactive = FALSE;
    BOOL bVisible = FALSE;
    const BOOL bTool = (dwExStyle & WS_EX_TOOLWINDOW) != 0;
    const BOOL bBoxes = (dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
    const BOOL bZoomed = ::IsZoomed(hwnd), bIconic = ::IsIconic(hwnd);
    switch (nType) {
    case 0: {
        bVisible = TRUE;
        HMENU hSysMenu = ::GetSystemMenu(hwnd, FALSE);
        UINT state = hSysMenu ? ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) : (UINT)-1;
        bInactive = state != (UINT)-1 && (state & (MF_GRAYED | MF_DISABLED)) != 0;
        break;
    }
    case 1:
        bVisible = !bTool && bBoxes && !bIconic;
        bInactive = !(dwStyle & WS_MINIMIZEBOX);
        break;
    case 2:
        bVisible = !bTool && bBoxes && !bZoomed;
        bInactive = !(dwStyle & WS_MAXIMIZEBOX);
        break;
    case 3:
        bVisible = !bTool && bBoxes && (bZoomed || bIconic);
        bInactive = bZoomed ? !(dwStyle & WS_MAXIMIZEBOX) : !(dwStyle & WS_MINIMIZEBOX);
        break;
    case 4:
        bVisible = !bTool && !bBoxes && (dwExStyle & WS_EX_CONTEXTHELP);
        break;
    }
    if (pInactive && bVisible)
        *pInactive = bInactive;
    return bVisible;
}

// ---------------------------------------------------------------------------
// The hold timer

BEGIN_MESSAGE_MAP(TWKCaptionControlMsgFilterTimer, CWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

int TWKCaptionControlMsgFilterTimer::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!SetTimer(1, (UINT)m_nDelay, NULL))
        return -1;
    m_bTimerStarted = TRUE;
    return 0;
}

void TWKCaptionControlMsgFilterTimer::OnTimer(UINT_PTR)
{
    if (m_bFired)
        return;
    m_bFired = TRUE;
    TWKCaptionControlMsgFilter* pOwner = m_pOwner;
    int x = m_x, y = m_y;
    // The hold ends the tracking, which destroys and deletes this window: nothing after.
    if (pOwner && pOwner->m_bTracking)
        pOwner->OnHold(x, y);
}

void TWKCaptionControlMsgFilterTimer::OnDestroy()
{
    if (m_bTimerStarted)
        KillTimer(1);
    CWnd::OnDestroy();
}
