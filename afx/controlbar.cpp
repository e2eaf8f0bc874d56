// The docking base: control bars, dock bars, the drag context, the floating
// frame and the saved layout.
#include "afx/controlbar.h"
#include "afx/afxres.h"
#include "afx/archive.h"
#include "afx/app.h"
#include "afx/module.h"

namespace {
const int kBorderLine = 2;      // width of a CBRS_BORDER_* side (shadow and highlight)

// The width of each side's border line the style asks for.
CRect BorderWidths(DWORD dwStyle)
{
    return CRect((dwStyle & CBRS_BORDER_LEFT) ? kBorderLine : 0, (dwStyle & CBRS_BORDER_TOP) ? kBorderLine : 0,
                 (dwStyle & CBRS_BORDER_RIGHT) ? kBorderLine : 0, (dwStyle & CBRS_BORDER_BOTTOM) ? kBorderLine : 0);
}
const int kGripperAll = 7;      // space a gripper takes along the bar

bool IsPlaceHolder(void* p) { return p && reinterpret_cast<UINT_PTR>(p) < 0x10000; }

CFrameWnd* PermanentFrame(HWND hWnd)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return (p && p->IsFrameWnd()) ? static_cast<CFrameWnd*>(p) : nullptr;
}

// Drops the entry at nPos and an empty row left behind.
void RemoveEntry(CPtrArray& arr, INT_PTR nPos)
{
    arr.RemoveAt(nPos);
    if (nPos > 0 && nPos < arr.GetSize() && arr[nPos - 1] == nullptr && arr[nPos] == nullptr)
        arr.RemoveAt(nPos);
}
} // namespace

// ---------------------------------------------------------------------------
// CControlBar

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    if (m_pDockBar) {
        INT_PTR nPos = m_pDockBar->FindBar(this);
        if (nPos > 0)
            RemoveEntry(m_pDockBar->m_arrBars, nPos);
        m_pDockBar = nullptr;
    }
    delete m_pDockContext;
    m_pDockContext = nullptr;
}

BOOL CControlBar::RegisterBarClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = AFX_WNDCONTROLBAR;
    return AfxRegisterClass(&wc);
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        if (!RegisterBarClass())
            return FALSE;
        cs.lpszClass = AFX_WNDCONTROLBAR;
    }
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // The frame the bar is created in is where it docks.
    if (CFrameWnd* pFrame = PermanentFrame(::GetParent(m_hWnd))) {
        m_pDockSite = pFrame;
        pFrame->AddControlBar(this);
        // Docked or floating, its notifications and fly-by text still go to the frame.
        if (GetOwner() == pFrame)
            SetOwner(pFrame);
    }
    EnableToolTips(TRUE);
    return 0;
}

void CControlBar::OnDestroy()
{
    CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CControlBar::DestroyWindow()
{
    if (m_hWnd && IsFloating() && !IsDockBar()) {
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame && pFrame != m_pDockSite)
            return pFrame->DestroyWindow();
    }
    return CWnd::DestroyWindow();
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    if (m_dwStyle == dwStyle)
        return;
    DWORD dwOld = m_dwStyle;
    m_dwStyle = dwStyle;
    OnBarStyleChange(dwOld, dwStyle);
    if (m_hWnd && ((dwOld ^ dwStyle) & (CBRS_BORDER_ANY | CBRS_BORDER_3D)))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext)
        m_pDockContext = new CDockContext(this);
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar && m_pDockBar->m_bFloating;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (IsFloating() || !m_pDockSite) {
        if (CFrameWnd* pFrame = GetParentFrame())
            return pFrame;
    }
    return m_pDockSite;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) || (m_hWnd && (GetStyle() & WS_VISIBLE));
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = m_hWnd && (GetStyle() & WS_VISIBLE);
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize((bStretch && bHorz) ? 32767 : 0, (bStretch && !bHorz) ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CRect borders = BorderWidths(m_dwStyle);
    rect.DeflateRect(&borders);
    bool bGripper = (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
    if (bHorz) {
        rect.left += m_cxLeftBorder + (bGripper ? kGripperAll : 0);
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder + (bGripper ? kGripperAll : 0);
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY))
        return;
    HDC hDC = pDC->m_hDC;
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    auto fill = [hDC](int x, int y, int cx, int cy, COLORREF clr) {
        RECT r = { x, y, x + cx, y + cy };
        ::SetBkColor(hDC, clr);
        ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    };
    // Outer line in shadow, inner line in highlight.
    for (int i = 0; i < kBorderLine; i++) {
        COLORREF clr = i == 0 ? clrShadow : clrHilite;
        if (dwStyle & CBRS_BORDER_LEFT)
            fill(rect.left + i, rect.top, 1, rect.Height(), clr);
        if (dwStyle & CBRS_BORDER_TOP)
            fill(rect.left, rect.top + i, rect.Width(), 1, clr);
        if (dwStyle & CBRS_BORDER_RIGHT)
            fill(rect.right - 1 - i, rect.top, 1, rect.Height(), clr);
        if (dwStyle & CBRS_BORDER_BOTTOM)
            fill(rect.left, rect.bottom - 1 - i, rect.Width(), 1, clr);
    }
    CRect borders = BorderWidths(dwStyle);
    rect.DeflateRect(&borders);
}

void CControlBar::EraseNonClient()
{
    HDC hDC = ::GetWindowDC(m_hWnd);
    if (!hDC)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    ::ExcludeClipRect(hDC, rectClient.left, rectClient.top, rectClient.right, rectClient.bottom);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    DrawBorders(CDC::FromHandle(hDC), rectWindow);
    ::IntersectClipRect(hDC, rectWindow.left, rectWindow.top, rectWindow.right, rectWindow.bottom);
    SendMessage(WM_ERASEBKGND, (WPARAM)hDC);
    ::ReleaseDC(m_hWnd, hDC);
}

void CControlBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    ::FillRect(pDC->m_hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
}

void CControlBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    DoPaint(CDC::FromHandle(hDC));
    ::EndPaint(m_hWnd, &ps);
}

void CControlBar::OnNcPaint()
{
    EraseNonClient();
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC)
{
    return CWnd::OnEraseBkgnd(pDC);
}

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    RECT& r = lpncsp->rgrc[0];
    CRect rc(r), borders = BorderWidths(m_dwStyle);
    rc.DeflateRect(&borders);
    r = rc;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    CWnd::OnWindowPosChanging(lpWndPos);
    if (!(lpWndPos->flags & SWP_NOSIZE) && (m_dwStyle & CBRS_BORDER_ANY)) {
        CRect rect;
        GetWindowRect(&rect);
        if (rect.Width() != lpWndPos->cx || rect.Height() != lpWndPos->cy)
            ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint pt)
{
    CFrameWnd* pFrame = GetParentFrame();
    bool bInMDIHost = pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd));
    if (m_pDockContext && !bInMDIHost && OnToolHitTest(pt, nullptr) == -1) {
        ClientToScreen(&pt);
        m_pDockContext->StartDrag(pt);
        return;
    }
    CWnd::OnLButtonDown(nFlags, pt);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint pt)
{
    if (m_pDockContext) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, pt);
}

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT nMsg)
{
    if (IsFloating())
        return MA_NOACTIVATE;
    return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, nMsg);
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // Notifications of the bar's controls go on to the owner.
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        HWND hOwner = GetOwner()->GetSafeHwnd();
        if (hOwner && hOwner != m_hWnd)
            return ::SendMessageA(hOwner, message, wParam, lParam);
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    DWORD dwStyle = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
    if (m_nStateFlags & (delayHide | delayShow)) {
        UINT swpFlags = 0;
        if (m_nStateFlags & delayHide) {
            if (dwStyle & WS_VISIBLE)
                swpFlags = SWP_HIDEWINDOW;
        } else if (!(dwStyle & WS_VISIBLE)) {
            swpFlags = SWP_SHOWWINDOW;
        }
        if (swpFlags)
            dwStyle ^= WS_VISIBLE;
        // A query only looks; the pending change stays for the real layout.
        if (lpLayout && lpLayout->hDWP) {
            m_nStateFlags &= ~(delayShow | delayHide);
            if (swpFlags)
                lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                                  swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return dwStyle;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD dwStyle = RecalcDelayShow(lpLayout);
    if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY))
        return 0;
    CRect rect(lpLayout->rect);
    CSize sizeAvail = rect.Size();
    DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if (dwStyle & CBRS_ORIENT_HORZ)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = std::max(0L, std::min(size.cx, sizeAvail.cx));
    size.cy = std::max(0L, std::min(size.cy, sizeAvail.cy));
    if (dwStyle & CBRS_ORIENT_HORZ) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
        if (dwStyle & CBRS_ALIGN_TOP) {
            lpLayout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    } else {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
        if (dwStyle & CBRS_ALIGN_LEFT) {
            lpLayout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    BOOL bVis = (GetStyle() & WS_VISIBLE) != 0;
    UINT swpFlags = 0;
    if ((m_nStateFlags & delayHide) && bVis)
        swpFlags = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !bVis)
        swpFlags = SWP_SHOWWINDOW;
    m_nStateFlags &= ~(delayShow | delayHide);
    if (swpFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0, swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((GetStyle() & WS_VISIBLE) && (!m_pDockBar || (m_pDockBar->GetStyle() & WS_VISIBLE))) {
        CFrameWnd* pTarget = PermanentFrame(GetOwner()->GetSafeHwnd());
        if (!pTarget)
            pTarget = GetParentFrame();
        if (pTarget)
            OnUpdateCmdUI(pTarget, (BOOL)wParam);
    }
    return 0;
}

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_pBar = this;
    pInfo->m_nBarID = m_hWnd ? (UINT)::GetDlgCtrlID(m_hWnd) : 0;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    pInfo->m_bDockBar = FALSE;
    pInfo->m_bFloating = IsFloating();
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (m_pDockBar && m_hWnd) {
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    if (m_pDockContext) {
        pInfo->m_bDocking = TRUE;
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*)
{
    if (pInfo->m_nMRUWidth != 32767)
        m_nMRUWidth = pInfo->m_nMRUWidth;
    if (pInfo->m_bDocking && m_pDockContext) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
    DelayShow(pInfo->m_bVisible);
}

// ---------------------------------------------------------------------------
// CDockBar

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    m_arrBars.Add(nullptr);
    m_rectLayout.SetRectEmpty();
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar()
{
    // No bar keeps pointing at a dock bar that is gone.
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar((int)i);
        if (pBar && pBar->m_pDockBar == this)
            pBar->m_pDockBar = nullptr;
    }
    m_arrBars.RemoveAll();
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle;
    if (!RegisterBarClass())
        return FALSE;
    // The CBRS_* bits are the bar's own; they are no window styles.
    DWORD dwWndStyle = dwStyle & ~CBRS_ALL;
    return CWnd::CreateEx(0, AFX_WNDCONTROLBAR, nullptr, dwWndStyle, 0, 0, 0, 0,
                          pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID);
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    if (nPos < 0 || nPos >= m_arrBars.GetSize())
        return nullptr;
    void* p = m_arrBars[nPos];
    if (!p || IsPlaceHolder(p))
        return nullptr;
    return static_cast<CControlBar*>(p);
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude)
{
    for (INT_PTR nPos = 0; nPos < m_arrBars.GetSize(); nPos++)
        if (nPos != nPosExclude && m_arrBars[nPos] == pBar)
            return (int)nPos;
    return -1;
}

int CDockBar::GetDockedCount() const
{
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
        if (GetDockedControlBar((int)i))
            n++;
    return n;
}

int CDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
        if (CControlBar* pBar = GetDockedControlBar((int)i))
            if (pBar->IsVisible())
                n++;
    return n;
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar)
{
    if (!pBar)
        return;
    if (!IsPlaceHolder(pBar)) {
        if (!pBar->m_hWnd)
            return;
        pBar = reinterpret_cast<CControlBar*>((UINT_PTR)(UINT)::GetDlgCtrlID(pBar->m_hWnd));
        if (!pBar)
            return;
    }
    int nPos = FindBar(pBar);
    if (nPos > 0)
        RemoveEntry(m_arrBars, nPos);
}

void CDockBar::ShowAll(BOOL bShow)
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar((int)i);
        if (!pBar)
            continue;
        CFrameWnd* pFrame = pBar->m_pDockSite ? pBar->m_pDockSite : pBar->GetDockingFrame();
        if (pFrame)
            pFrame->ShowControlBar(pBar, bShow, FALSE);
    }
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    UINT nID = pBar->m_hWnd ? (UINT)::GetDlgCtrlID(pBar->m_hWnd) : 0;
    if (nAddPlaceHolder == 1 && nID) {
        void* pHolder = reinterpret_cast<void*>((UINT_PTR)nID);
        m_arrBars[nPos] = pHolder;
        if (FindBar(static_cast<CControlBar*>(pHolder), nPos) > 0)
            RemoveEntry(m_arrBars, nPos);   // it had one already
    } else {
        RemoveEntry(m_arrBars, nPos);
        if (nAddPlaceHolder != -1)
            RemovePlaceHolder(pBar);
    }
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
    if (!m_hWnd)
        return TRUE;
    CFrameWnd* pFrame = GetDockingFrame();
    if (m_bFloating && GetDockedVisibleCount() == 0 && pFrame && pFrame != m_pDockSite) {
        if (GetDockedCount() == 0)
            pFrame->DestroyWindow();    // the floating frame has nothing left to show
        else
            pFrame->ShowWindow(SW_HIDE);
    } else if (pFrame) {
        pFrame->DelayRecalcLayout();
    }
    return TRUE;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT)
{
    if (!pBar)
        return;
    int nPos = FindBar(pBar);
    if (pBar->m_pDockBar != this || nPos <= 0) {
        if (pBar->m_pDockBar && pBar->m_pDockBar != this)
            pBar->m_pDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pBar->m_pDockBar->m_bFloating);
        RemovePlaceHolder(pBar);
        // A row of its own at the end.
        if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr)
            m_arrBars.Add(nullptr);
        m_arrBars.Add(pBar);
        m_arrBars.Add(nullptr);
    }
    AdoptBar(pBar);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}

void CDockBar::AdoptBar(CControlBar* pBar)
{
    DWORD dwStyle = pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    dwStyle |= m_dwStyle & CBRS_ALIGN_ANY;
    if (m_bFloating)
        dwStyle |= CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);
    if (pBar->m_hWnd && ::GetParent(pBar->m_hWnd) != m_hWnd)
        pBar->SetParent(this);
    pBar->m_pDockBar = this;
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd) {
        DockControlBar(pBar, lpRect);
        return;
    }
    // Back into the place the bar left behind, when there is one.
    auto* pHolder = reinterpret_cast<CControlBar*>((UINT_PTR)(UINT)::GetDlgCtrlID(pBar->m_hWnd));
    int nPos = pHolder ? FindBar(pHolder) : -1;
    if (nPos <= 0) {
        DockControlBar(pBar, lpRect);
        return;
    }
    if (pBar->m_pDockBar && pBar->m_pDockBar != this)
        pBar->m_pDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pBar->m_pDockBar->m_bFloating);
    m_arrBars[nPos] = pBar;
    AdoptBar(pBar);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // Rows across the edge, bars side by side in a row.
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    CPoint pt(0, 0);
    int nRowThickness = 0;
    int nMaxLength = 0;
    int nLength = 0;
    for (INT_PTR i = 1; i <= m_arrBars.GetSize(); i++) {
        CControlBar* pBar = i < m_arrBars.GetSize() ? GetDockedControlBar((int)i) : nullptr;
        bool bEndRow = i == m_arrBars.GetSize() || m_arrBars[i] == nullptr;
        // Visible as this layout leaves it (a delayed show is applied in this batch).
        if (pBar && (pBar->RecalcDelayShow(&layout) & WS_VISIBLE)) {
            DWORD dwMode = bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
            CSize size = pBar->CalcDynamicLayout(-1, dwMode);
            CRect rect = bHorz ? CRect(CPoint(pt.x, pt.y), size) : CRect(CPoint(pt.x, pt.y), size);
            AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
            if (bHorz) {
                pt.x += size.cx;
                nRowThickness = std::max(nRowThickness, (int)size.cy);
            } else {
                pt.y += size.cy;
                nRowThickness = std::max(nRowThickness, (int)size.cx);
            }
            nLength = bHorz ? pt.x : pt.y;
        }
        if (bEndRow && nRowThickness) {
            nMaxLength = std::max(nMaxLength, nLength);
            if (bHorz) {
                pt.y += nRowThickness;
                pt.x = 0;
            } else {
                pt.x += nRowThickness;
                pt.y = 0;
            }
            nRowThickness = 0;
            nLength = 0;
        }
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
    // Bars sit inside the dock bar's border lines; an empty dock bar takes no room.
    CRect rectInside(0, 0, 0, 0);
    if (bHorz ? pt.y : pt.x)
        rectInside = BorderWidths(m_dwStyle);
    if (bHorz)
        return CSize(std::max((int)sizeFixed.cx, nMaxLength + (int)(rectInside.left + rectInside.right)),
                     pt.y + rectInside.top + rectInside.bottom);
    return CSize(pt.x + rectInside.left + rectInside.right,
                 std::max((int)sizeFixed.cy, nMaxLength + (int)(rectInside.top + rectInside.bottom)));
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    BOOL bLayoutQuery = m_bLayoutQuery;
    CRect rectLayout = m_rectLayout;
    m_bLayoutQuery = lpLayout->hDWP == nullptr;
    m_rectLayout = lpLayout->rect;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = bLayoutQuery;
    m_rectLayout = rectLayout;
    return lResult;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockBar::DoPaint(CDC* pDC)
{
    CControlBar::DoPaint(pDC);
}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_pBar = this;
    pInfo->m_nBarID = m_hWnd ? (UINT)::GetDlgCtrlID(m_hWnd) : 0;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_bFloating = m_bFloating;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    pInfo->m_bDockBar = TRUE;
    pInfo->m_pointPos = CPoint(-1, -1);
    if (m_bFloating && m_hWnd) {
        // The dock bar's own corner, its frame's client origin: where a load puts it back.
        CRect rect;
        GetWindowRect(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    pInfo->m_arrBarID.RemoveAll();
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++) {
        void* p = m_arrBars[i];
        if (!p) {
            pInfo->m_arrBarID.Add(0);
        } else if (IsPlaceHolder(p)) {
            pInfo->m_arrBarID.Add((DWORD)reinterpret_cast<UINT_PTR>(p) | 0x10000);
        } else {
            auto* pBar = static_cast<CControlBar*>(p);
            UINT nID = pBar->m_hWnd ? (UINT)::GetDlgCtrlID(pBar->m_hWnd) : 0;
            if (nID)   // a bar without a window has no id to save (0 would read as a break)
                pInfo->m_arrBarID.Add(nID);
        }
    }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    // Every break stays (empty rows included), except the one after a row
    // that held nothing but bars that are gone.
    BOOL bRowHasEntry = FALSE, bRowLostBar = FALSE;
    for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); i++) {
        DWORD nID = pInfo->m_arrBarID[i];
        if (nID == 0) {
            if (bRowHasEntry || !bRowLostBar)
                m_arrBars.Add(nullptr);
            bRowHasEntry = bRowLostBar = FALSE;
        } else if (nID >= 0x10000) {
            m_arrBars.Add(reinterpret_cast<void*>((UINT_PTR)(nID & 0xFFFF)));
            bRowHasEntry = TRUE;
        } else {
            CControlBar* pBar = pFrameWnd ? pFrameWnd->GetControlBar(nID) : nullptr;
            // A dock bar is never docked in another one and a bar is listed
            // once, whatever the list says.
            if (!pBar || pBar->IsDockBar() || FindBar(pBar) > 0) {
                bRowLostBar = TRUE;
                continue;
            }
            bRowHasEntry = TRUE;
            if (pBar->m_pDockBar && pBar->m_pDockBar != this) {
                int nPos = pBar->m_pDockBar->FindBar(pBar);
                if (nPos > 0)
                    RemoveEntry(pBar->m_pDockBar->m_arrBars, nPos);
            }
            AdoptBar(pBar);
            m_arrBars.Add(pBar);
        }
    }
    if (m_arrBars[m_arrBars.GetSize() - 1] != nullptr)
        m_arrBars.Add(nullptr);
}

// ---------------------------------------------------------------------------
// CDockContext

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(pBar ? pBar->m_pDockSite : nullptr), m_ptMRUFloatPos(-1, -1)
{
    m_rectLast.SetRectEmpty();
    m_rectDragHorz.SetRectEmpty();
    m_rectDragVert.SetRectEmpty();
    m_rectFrameDragHorz.SetRectEmpty();
    m_rectFrameDragVert.SetRectEmpty();
    m_rectMRUDockPos.SetRectEmpty();
    if (pBar)
        m_dwDockStyle = pBar->m_dwDockStyle;
}

CDockContext::~CDockContext()
{
    if (m_pDC)
        CancelLoop();
}

void CDockContext::StartDrag(CPoint) {}
void CDockContext::StartResize(int, CPoint) {}
void CDockContext::ToggleDocking() {}

void CDockContext::InitLoop()
{
    // Pending paints first, so the feedback is not drawn over stale pixels.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        // A quit comes through any filter: it stays for the loop that follows.
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        ::DispatchMessageA(&msg);
    }
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    m_dwOverDockStyle = 0;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    if (m_pDC)
        return;
    HWND hDesktop = ::GetDesktopWindow();
    HDC hDC;
    if (::LockWindowUpdate(hDesktop))
        hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    else
        hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE);
    if (hDC) {
        m_pDC = new CDC;
        m_pDC->Attach(hDC);
    }
}

void CDockContext::CancelLoop()
{
    if (::GetCapture() && m_pBar && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    ::LockWindowUpdate(nullptr);
    if (m_pDC) {
        HDC hDC = m_pDC->Detach();
        ::ReleaseDC(::GetDesktopWindow(), hDC);
        delete m_pDC;
        m_pDC = nullptr;
    }
    m_bDragging = FALSE;
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    bool bChanged = false;
    if (nChar == VK_CONTROL && m_bForceFrame != bDown) {
        m_bForceFrame = bDown;
        bChanged = true;
    }
    if (nChar == VK_SHIFT && m_bFlip != bDown) {
        m_bFlip = bDown;
        bChanged = true;
    }
    if (bChanged)
        Move(m_ptLast);
}

// ---------------------------------------------------------------------------
// CControlBarInfo

CControlBarInfo::CControlBarInfo() : m_pointPos(-1, -1), m_ptMRUFloatPos(0, 0)
{
    m_rectMRUDockPos.SetRectEmpty();
}

void CControlBarInfo::Serialize(CArchive& ar, CDockState* pDockState)
{
    if (ar.IsStoring()) {
        ar << (DWORD)m_nBarID << (DWORD)m_bVisible << (DWORD)m_bFloating << (DWORD)m_bHorz
           << (LONG)m_pointPos.x << (LONG)m_pointPos.y;
        if (pDockState->m_dwVersion > 1) {
            ar << (DWORD)m_nMRUWidth << (DWORD)m_bDocking;
            if (m_bDocking) {
                ar << (DWORD)m_uMRUDockID << (LONG)m_rectMRUDockPos.left << (LONG)m_rectMRUDockPos.top
                   << (LONG)m_rectMRUDockPos.right << (LONG)m_rectMRUDockPos.bottom << m_dwMRUFloatStyle
                   << (LONG)m_ptMRUFloatPos.x << (LONG)m_ptMRUFloatPos.y;
            }
        }
        ar << (WORD)m_arrBarID.GetSize();
        for (INT_PTR i = 0; i < m_arrBarID.GetSize(); i++)
            ar << m_arrBarID[i];
    } else {
        DWORD dw;
        LONG x, y, r, b;
        ar >> dw; m_nBarID = dw;
        ar >> dw; m_bVisible = dw != 0;
        ar >> dw; m_bFloating = dw != 0;
        ar >> dw; m_bHorz = dw != 0;
        ar >> x >> y;
        m_pointPos = CPoint(x, y);
        if (pDockState->m_dwVersion > 1) {
            ar >> dw; m_nMRUWidth = dw;
            ar >> dw; m_bDocking = dw != 0;
            if (m_bDocking) {
                ar >> dw; m_uMRUDockID = dw;
                ar >> x >> y >> r >> b;
                m_rectMRUDockPos.SetRect(x, y, r, b);
                ar >> m_dwMRUFloatStyle;
                ar >> x >> y;
                m_ptMRUFloatPos = CPoint(x, y);
            }
        }
        WORD n;
        ar >> n;
        m_arrBarID.SetSize(n);
        for (WORD i = 0; i < n; i++)
            ar >> m_arrBarID[i];
        m_bDockBar = m_nBarID >= AFX_IDW_DOCKBAR_TOP && m_nBarID <= AFX_IDW_DOCKBAR_FLOAT;
    }
}

// ---------------------------------------------------------------------------
// CDockState

IMPLEMENT_SERIAL(CDockState, CObject, 1)

CDockState::CDockState()
{
    int cx = ::GetSystemMetrics(SM_CXSCREEN);
    int cy = ::GetSystemMetrics(SM_CYSCREEN);
    m_rectDevice.SetRect(0, 0, cx, cy);
    m_rectClip.SetRect(0, 0, cx - ::GetSystemMetrics(SM_CXICON), cy - ::GetSystemMetrics(SM_CYICON));
    m_sizeDevice = m_rectDevice.Size();
}

CDockState::~CDockState()
{
    Clear();
}

void CDockState::Clear()
{
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
        delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
    m_arrBarInfo.RemoveAll();
}

CSize CDockState::GetScreenSize()
{
    return m_rectDevice.Size();
}

void CDockState::SetScreenSize(CSize& size)
{
    m_sizeDevice = size;
    // A saved size of nothing cannot be scaled from.
    m_bScaling = size.cx > 0 && size.cy > 0 && size != m_rectDevice.Size();
}

void CDockState::ScalePoint(CPoint& pt)
{
    if (m_bScaling) {
        CSize sizeDevice = m_rectDevice.Size();
        pt.x = ::MulDiv(pt.x, sizeDevice.cx, m_sizeDevice.cx);
        pt.y = ::MulDiv(pt.y, sizeDevice.cy, m_sizeDevice.cy);
    }
    if (pt.x > m_rectClip.right)
        pt.x = m_rectClip.right;
    if (pt.y > m_rectClip.bottom)
        pt.y = m_rectClip.bottom;
}

void CDockState::ScaleRectPos(CRect& rect)
{
    if (m_bScaling) {
        CSize sizeDevice = m_rectDevice.Size();
        CPoint pt(::MulDiv(rect.left, sizeDevice.cx, m_sizeDevice.cx) - rect.left,
                  ::MulDiv(rect.top, sizeDevice.cy, m_sizeDevice.cy) - rect.top);
        rect.OffsetRect(pt);
    }
    CPoint pt(0, 0);
    if (rect.left > m_rectClip.right)
        pt.x = m_rectClip.right - rect.left;
    if (rect.top > m_rectClip.bottom)
        pt.y = m_rectClip.bottom - rect.top;
    if (pt.x || pt.y)
        rect.OffsetRect(pt);
}

void CDockState::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwVersion;
        if (m_dwVersion > 1) {
            CSize size = GetScreenSize();
            ar << (LONG)size.cx << (LONG)size.cy;
        }
        ar << (WORD)m_arrBarInfo.GetSize();
        for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
            static_cast<CControlBarInfo*>(m_arrBarInfo[i])->Serialize(ar, this);
    } else {
        Clear();
        ar >> m_dwVersion;
        if (m_dwVersion > 1) {
            LONG cx, cy;
            ar >> cx >> cy;
            CSize size(cx, cy);
            SetScreenSize(size);
        }
        WORD n;
        ar >> n;
        for (WORD i = 0; i < n; i++) {
            auto* pInfo = new CControlBarInfo;
            m_arrBarInfo.Add(pInfo);
            pInfo->Serialize(ar, this);
        }
    }
}

// ---------------------------------------------------------------------------
// CMiniDockFrameWnd

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    m_bInRecalcLayout = TRUE;
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE
                    | MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    if (dwBarStyle & CBRS_SIZE_DYNAMIC)
        dwStyle &= ~MFS_MOVEFRAME;
    if (!CMiniFrameWnd::CreateEx(0, nullptr, "", dwStyle, rectDefault, pParent, 0)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    if (HMENU hSys = ::GetSystemMenu(m_hWnd, FALSE)) {
        ::DeleteMenu(hSys, SC_SIZE, MF_BYCOMMAND);
        ::DeleteMenu(hSys, SC_MINIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(hSys, SC_MAXIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(hSys, SC_RESTORE, MF_BYCOMMAND);
        char szHide[80];
        if (::LoadStringA(AfxGetResourceHandle(), AFX_IDS_HIDE, szHide, sizeof(szHide)) > 0) {
            ::DeleteMenu(hSys, SC_CLOSE, MF_BYCOMMAND);
            ::AppendMenuA(hSys, MF_STRING, SC_CLOSE, szHide);
        }
    }
    DWORD dwDockStyle = WS_CHILD | WS_VISIBLE
                        | ((dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP)
                        | (dwBarStyle & CBRS_FLOAT_MULTI);
    CDockBar* pDockBar = GetDockBar();
    if (!pDockBar->CDockBar::Create(pParent, dwDockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    pDockBar->SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    CMiniFrameWnd::RecalcLayout(bNotify);
    TitleFromDockBar();
}

void CMiniDockFrameWnd::TitleFromDockBar()
{
    HWND hDockBar = GetDockBar()->m_hWnd;
    if (!hDockBar || !m_hWnd)
        return;
    char szTitle[261];
    ::GetWindowTextA(hDockBar, szTitle, sizeof(szTitle));
    char szOld[261];
    ::GetWindowTextA(m_hWnd, szOld, sizeof(szOld));
    if (strcmp(szOld, szTitle) != 0)
        ::SetWindowTextA(m_hWnd, szTitle);
}

void CMiniDockFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    // Prompts are the owning frame's.
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    CWnd* p = CWnd::FromHandlePermanent(hOwner);
    if (p && p->IsFrameWnd()) {
        static_cast<CFrameWnd*>(p)->GetMessageString(nID, rMessage);
        return;
    }
    CMiniFrameWnd::GetMessageString(nID, rMessage);
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing hides the bars; the frame stays for them.
    GetDockBar()->ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CDockBar* pDockBar = GetDockBar();
    CControlBar* pBar = nullptr;
    if (!(pDockBar->m_dwStyle & CBRS_FLOAT_MULTI))
        for (INT_PTR i = 0; i < pDockBar->m_arrBars.GetSize() && !pBar; i++)
            pBar = pDockBar->GetDockedControlBar((int)i);
    if (pBar && pBar->m_pDockContext) {
        if (nHitTest == HTCAPTION) {
            ActivateFrame(-1);
            pBar->m_pDockContext->StartDrag(point);
            return;
        }
        if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
            pBar->m_pDockContext->StartResize((int)nHitTest, point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    CDockBar* pDockBar = GetDockBar();
    if (nHitTest == HTCAPTION && !(pDockBar->m_dwStyle & CBRS_FLOAT_MULTI)) {
        for (INT_PTR i = 0; i < pDockBar->m_arrBars.GetSize(); i++) {
            CControlBar* pBar = pDockBar->GetDockedControlBar((int)i);
            if (pBar && pBar->m_pDockContext) {
                pBar->m_pDockContext->ToggleDocking();
                return;
            }
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CMiniFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult != MA_NOACTIVATE && nResult != MA_NOACTIVATEANDEAT)
        SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return nResult;
}
