// The framework's dockable bar.
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKControlBarInfo.h"
#include "framework/frames/TWKControlBarManager.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frameworkres.h"
#include <set>

// ---------------------------------------------------------------------------
// TWKGripperInfo

TWKGripperInfo::TWKGripperInfo() : m_horz{ 4, 3, 1, 3, 6 }, m_vert{ 4, 3, 1, 3, 6 }, m_nMargin(3)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    m_strHide.LoadString(hInst, IDS_TWK_HIDEDOCKED);
    m_strExpand.LoadString(hInst, IDS_TWK_EXPANDDOCKED);
    m_strContract.LoadString(hInst, IDS_TWK_CONTRACTDOCKED);
}

int TWKGripperInfo::GetGripperWidth() const
{
    return m_horz[0] + m_horz[1] + m_horz[2] + m_horz[3] + m_horz[4];
}

int TWKGripperInfo::GetGripperHeight() const
{
    return m_vert[0] + m_vert[1] + m_vert[2] + m_vert[3] + m_vert[4];
}

// ---------------------------------------------------------------------------
// TWKControlBar

IMPLEMENT_DYNCREATE(TWKControlBar, CControlBar)

CSize TWKControlBar::s_sizeDefault(300, 180);
BOOL TWKControlBar::s_bRedrawOptimized = TRUE;

BEGIN_MESSAGE_MAP(TWKControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_TWK_ALLOWDOCKING, OnAllowDocking)
    ON_COMMAND(ID_TWK_HIDEBAR, OnHide)
    ON_COMMAND(ID_TWK_FLOATINMDI, OnFloatInMDI)
END_MESSAGE_MAP()

TWKControlBar::TWKControlBar()
    : m_sizeMRUHorzDock(0, 0), m_sizeMRUVertDock(0, 0), m_sizeMRUFloat(0, 0), m_rectMargins(10, 10, 10, 10)
{
    m_rectClose.SetRectEmpty();
    m_rectExpand.SetRectEmpty();
}

TWKControlBar::~TWKControlBar()
{
    DropChildLayout();
}

BOOL TWKControlBar::Create(CWnd* pParentWnd, LPCSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                           CCreateContext* pContext)
{
    return CreateEx(nullptr, lpszWindowName, nID, dwStyle, dwExStyle, CRect(0, 0, 0, 0), pParentWnd, pContext);
}

BOOL TWKControlBar::CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                             const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    m_dwExStyle = dwExStyle;
    // The CBRS_* bits are the bar's own; CBRS_GRIPPER would read as WS_DLGFRAME.
    if (!CWnd::CreateEx(0, lpszClassName, lpszWindowName, dwStyle & ~CBRS_ALL, rect, pParentWnd, nID, pContext))
        return FALSE;
    if (m_dwExStyle & CBX_SCALECHILDREN)
        RecordChildLayout();
    m_sizeMRUHorzDock = m_sizeMRUVertDock = m_sizeMRUFloat = s_sizeDefault;
    EnableToolTips(TRUE);
    return TRUE;
}

int TWKControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    return CControlBar::OnCreate(lpcs);
}

void TWKControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext)
        m_pDockContext = CreateDockContext();
    // Pinned, so that the owner stays when the bar moves into a dock bar.
    if (m_hWnd && GetOwner() == GetParent())
        SetOwner(GetParent());
}

CDockContext* TWKControlBar::CreateDockContext()
{
    return new TWKDockContext(this);
}

TWKDockBar* TWKControlBar::GetTWKDockBar() const
{
    return (m_pDockBar && m_pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar))) ? static_cast<TWKDockBar*>(m_pDockBar)
                                                                          : nullptr;
}

// ---- extended style and child layout

void TWKControlBar::SetExBarStyle(DWORD dwExStyle, BOOL bRedraw)
{
    DWORD dwOld = m_dwExStyle;
    if (IsFloating() && m_hWnd) {
        if (CFrameWnd* pFrame = GetParentFrame()) {
            if (dwExStyle & CBX_FIXEDSIZE)
                pFrame->ModifyStyle(0, MFS_4THICKFRAME, SWP_NOSIZE | SWP_NOMOVE);
            else
                pFrame->ModifyStyle(MFS_4THICKFRAME, MFS_THICKFRAME | WS_THICKFRAME, SWP_NOSIZE | SWP_NOMOVE);
        }
    }
    if (!((dwOld & CBX_SCALECHILDREN) && (dwExStyle & CBX_SCALECHILDREN))) {
        if (dwExStyle & CBX_SCALECHILDREN)
            RecordChildLayout();
        else
            DropChildLayout();
    }
    if (dwOld != dwExStyle && bRedraw && m_hWnd)
        SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE);
    m_dwExStyle = dwExStyle;
}

void TWKControlBar::ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    SetExBarStyle((m_dwExStyle & ~dwRemove) | dwAdd, bRedraw);
}

void TWKControlBar::RecordChildLayout()
{
    DropChildLayout();
    if (!m_hWnd)
        return;
    m_pChildLayout = new CPtrArray;
    auto* pFirst = new ChildLayout{ nullptr, {} };
    ::GetClientRect(m_hWnd, &pFirst->rect);
    m_pChildLayout->Add(pFirst);
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        auto* p = new ChildLayout{ hChild, {} };
        ::GetWindowRect(hChild, &p->rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&p->rect), 2);
        m_pChildLayout->Add(p);
    }
}

void TWKControlBar::DropChildLayout()
{
    if (!m_pChildLayout)
        return;
    for (INT_PTR i = 0; i < m_pChildLayout->GetSize(); i++)
        delete static_cast<ChildLayout*>(m_pChildLayout->GetAt(i));
    delete m_pChildLayout;
    m_pChildLayout = nullptr;
}

// ---- layout

CSize TWKControlBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    return bHorz ? m_sizeMRUHorzDock : m_sizeMRUVertDock;
}

CSize TWKControlBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (dwMode & LM_COMMIT) {
        int nValue = (dwMode & LM_STRETCH) ? (int)(nLength * m_fPctWidth) : nLength;
        CSize& size = (dwMode & LM_HORZDOCK) ? m_sizeMRUHorzDock
                      : (dwMode & LM_VERTDOCK) ? m_sizeMRUVertDock : m_sizeMRUFloat;
        if (dwMode & LM_LENGTHY) {
            size.cy = nValue;
        } else {
            size.cx = nValue;
            if (!(dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
                m_nMRUWidth = (UINT)nValue;
        }
    }
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    return m_sizeMRUFloat;
}

void TWKControlBar::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
    if ((m_dwExStyle & CBX_GRIPPER) && !IsFloating()) {
        int nMargin = m_gripperInfo.m_nMargin;
        if (IsHorzBar()) {
            rect.left += m_gripperInfo.GetGripperWidth();
            rect.top += nMargin;
        } else {
            rect.top += m_gripperInfo.GetGripperHeight();
            rect.left += nMargin;
        }
        rect.right -= nMargin;
        rect.bottom -= nMargin;
    } else if (m_dwExStyle & CBX_MARGINS) {
        rect.left += m_rectMargins.left;
        rect.top += m_rectMargins.top;
        rect.right -= m_rectMargins.right;
        rect.bottom -= m_rectMargins.bottom;
    }
}

int TWKControlBar::AdjustRectForGripper(CRect& rect, BOOL bHorz)
{
    if (bHorz) {
        int n = m_gripperInfo.GetGripperWidth();
        rect.left += n;
        return n;
    }
    int n = m_gripperInfo.GetGripperHeight();
    rect.top += n;
    return n;
}

void TWKControlBar::InsetCoolBorders(CRect& rect) const
{
    // In the flat look each border side takes one pixel and is not drawn.
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left++;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top++;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right--;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom--;
}

void TWKControlBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bAllowVertGripper) const
{
    if (!(m_dwExStyle & CBX_COOLLOOK)) {
        CControlBar::CalcInsideRect(rect, bHorz);
        return;
    }
    InsetCoolBorders(rect);
    BOOL bGripper = !IsFloating() && (m_dwExStyle & CBX_GRIPPER);
    // AdjustRectForGripper changes nothing of the bar; the const is kept for callers.
    auto* pThis = const_cast<TWKControlBar*>(this);
    if (bHorz) {
        if (bGripper)
            pThis->AdjustRectForGripper(rect, TRUE);
        else
            rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        // The borders are swapped for a vertical bar.
        rect.left += m_cyTopBorder;
        if (bAllowVertGripper && bGripper)
            pThis->AdjustRectForGripper(rect, FALSE);
        else
            rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void TWKControlBar::CalcInsideOrigin(int cx, int cy, CPoint& ptOrigin, CSize& size) const
{
    if (m_dwExStyle & CBX_GRIPPER) {
        int nGrip = IsHorzBar() ? m_gripperInfo.GetGripperWidth() : m_gripperInfo.GetGripperHeight();
        int nMargin = m_gripperInfo.m_nMargin;
        if (IsHorzBar()) {
            ptOrigin = CPoint(nGrip, nMargin);
            size = CSize(std::max(cx - nGrip - nMargin, 0), std::max(cy - 2 * nMargin, 0));
        } else {
            ptOrigin = CPoint(nMargin, nGrip);
            size = CSize(std::max(cx - 2 * nMargin, 0), std::max(cy - nMargin - nGrip, 0));
        }
    } else if (m_dwExStyle & CBX_MARGINS) {
        ptOrigin = CPoint(m_rectMargins.left, m_rectMargins.top);
        size = CSize(std::max(cx - (int)(m_rectMargins.left + m_rectMargins.right), 0),
                     std::max(cy - (int)(m_rectMargins.top + m_rectMargins.bottom), 0));
    } else {
        ptOrigin = CPoint(0, 0);
        size = CSize(cx, cy);
    }
}

void TWKControlBar::OnSize(UINT nType, int cx, int cy)
{
    if (nType == SIZE_MINIMIZED || cx < 1 || cy < 1) {
        Default();
        return;
    }
    CPoint ptOrigin;
    CSize size;
    CalcInsideOrigin(cx, cy, ptOrigin, size);
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (s_bRedrawOptimized > 0 ? SWP_NOREDRAW : 0);
    if ((m_dwExStyle & CBX_SCALECHILDREN) && m_pChildLayout && m_pChildLayout->GetSize() > 0) {
        const RECT& rect0 = static_cast<ChildLayout*>(m_pChildLayout->GetAt(0))->rect;
        int w0 = rect0.right - rect0.left, h0 = rect0.bottom - rect0.top;
        if (w0 != 0 && h0 != 0) {
            CPoint ptOffset(0, 0);
            if (m_dwExStyle & CBX_GRIPPER)
                ptOffset = ptOrigin;
            if (m_dwExStyle & CBX_MARGINS)
                ptOffset.Offset(m_rectMargins.left, m_rectMargins.top);
            HDWP hDWP = ::BeginDeferWindowPos((int)m_pChildLayout->GetSize());
            for (INT_PTR i = 1; i < m_pChildLayout->GetSize() && hDWP; i++) {
                auto* p = static_cast<ChildLayout*>(m_pChildLayout->GetAt(i));
                int l = p->rect.left * size.cx / w0, t = p->rect.top * size.cy / h0;
                int r = p->rect.right * size.cx / w0, b = p->rect.bottom * size.cy / h0;
                hDWP = ::DeferWindowPos(hDWP, p->hWnd, nullptr, l + ptOffset.x, t + ptOffset.y, r - l, b - t, nFlags);
            }
            if (hDWP)
                ::EndDeferWindowPos(hDWP);
            if (IsFloating())
                Invalidate();
        }
    } else if (m_dwExStyle & CBX_FILLCHILD) {
        if ((m_dwExStyle & CBX_GRIPPER) && IsFloating()) {
            ptOrigin = CPoint(0, 0);
            size = CSize(cx, cy);
        }
        if (HWND hChild = ::GetTopWindow(m_hWnd))
            ::SetWindowPos(hChild, nullptr, ptOrigin.x, ptOrigin.y, size.cx, size.cy, nFlags);
    }
    Default();
}

BOOL TWKControlBar::OnEraseBkgnd(CDC* pDC)
{
    if (m_dwExStyle & CBX_MARGINS) {
        CRect rectClip, rectInside;
        pDC->GetClipBox(&rectClip);
        GetInsideRect(rectInside);
        HBRUSH hBrush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
        HGDIOBJ hOld = ::SelectObject(pDC->m_hDC, hBrush);
        auto strip = [pDC](int l, int t, int r, int b) {
            if (r > l && b > t)
                pDC->PatBlt(l, t, r - l, b - t, PATCOPY);
        };
        strip(rectClip.left, rectClip.top, rectClip.right, rectInside.top);
        strip(rectClip.left, rectInside.bottom, rectClip.right, rectClip.bottom);
        strip(rectClip.left, rectInside.top, rectInside.left, rectInside.bottom);
        strip(rectInside.right, rectInside.top, rectClip.right, rectInside.bottom);
        ::SelectObject(pDC->m_hDC, hOld);
        ::DeleteObject(hBrush);
    }
    return (BOOL)Default();
}

// ---- drawing

void TWKControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY))
        return;
    if (m_dwExStyle & CBX_COOLLOOK) {
        InsetCoolBorders(rect);
        if (m_dwExStyle & CBX_GRIPPER)
            DrawGripper(pDC, rect);
        return;
    }
    BOOL b3D = (m_dwExStyle & CBX_3DBORDERS) != 0;
    COLORREF clrDark = b3D ? (twkAuxData.bWin4 ? twkAuxData.clrBtnShadow : twkAuxData.clrWindowFrame)
                           : twkAuxData.clrBtnFace;
    COLORREF clrLight = b3D ? twkAuxData.clrBtnHilite : twkAuxData.clrBtnFace;
    int cxBorder = twkAuxData.cxBorder, cyBorder = twkAuxData.cyBorder;
    int R = rect.right, B = rect.bottom;
    int R1 = (dwStyle & CBRS_BORDER_3D) ? R - 1 : R;
    int B1 = (dwStyle & CBRS_BORDER_3D) ? B - 1 : B;
    int T2 = (dwStyle & CBRS_BORDER_TOP) ? rect.top + cyBorder : rect.top;
    int B2 = (dwStyle & CBRS_BORDER_BOTTOM) ? B - cyBorder : B;
    int H2 = B2 - T2;
    struct Line { DWORD dwSide; int x, y, cx, cy; };
    auto draw = [&](const Line (&lines)[4], COLORREF clr) {
        for (const Line& l : lines)
            if (dwStyle & l.dwSide)
                pDC->FillSolidRect(l.x, l.y, l.cx, l.cy, clr);
    };
    if (dwStyle & CBRS_ORIENT_HORZ) {
        const Line dark[4] = { { CBRS_BORDER_LEFT, 0, T2, 1, H2 }, { CBRS_BORDER_TOP, 0, 0, R, 1 },
                               { CBRS_BORDER_RIGHT, R1, T2, -1, H2 }, { CBRS_BORDER_BOTTOM, 0, B1, R, -1 } };
        draw(dark, clrDark);
        if (dwStyle & CBRS_BORDER_3D) {
            const Line light[4] = { { CBRS_BORDER_LEFT, 1, T2, 1, H2 }, { CBRS_BORDER_TOP, 0, 1, R, 1 },
                                    { CBRS_BORDER_RIGHT, R, T2, -1, H2 }, { CBRS_BORDER_BOTTOM, 0, B, R, -1 } };
            draw(light, clrLight);
        }
    } else {
        const Line dark[4] = { { CBRS_BORDER_LEFT, 0, T2 - 2, 1, H2 + 6 }, { CBRS_BORDER_TOP, 2, 0, R - 3, 1 },
                               { CBRS_BORDER_RIGHT, R1, T2, -1, H2 }, { CBRS_BORDER_BOTTOM, 2, B1, R - 3, -1 } };
        draw(dark, clrDark);
        if (dwStyle & CBRS_BORDER_3D) {
            const Line light[4] = { { CBRS_BORDER_LEFT, 1, T2 - 2, 1, H2 + 3 }, { CBRS_BORDER_TOP, 1, 1, R, 1 },
                                    { CBRS_BORDER_RIGHT, R, T2, -1, H2 + 1 }, { CBRS_BORDER_BOTTOM, 1, B, R, -1 } };
            draw(light, clrLight);
        }
    }
    if (dwStyle & CBRS_BORDER_LEFT)
        rect.left += cxBorder;
    if (dwStyle & CBRS_BORDER_TOP)
        rect.top += cyBorder;
    if (dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= cxBorder;
    if (dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= cyBorder;
}

void TWKControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if (IsFloating())
        return;
    CRect g = rect;
    g.DeflateRect(1, 1);
    int nMargin = m_gripperInfo.m_nMargin;
    COLORREF clrHi = twkAuxData.clrBtnHilite, clrShadow = twkAuxData.clrBtnShadow;
    BOOL bHorz = IsHorzBar();
    // A horizontal bar's gripper is a strip at its left, a vertical bar's at its top.
    if (bHorz) {
        g.right = g.left + m_gripperInfo.GetGripperWidth();
        g.top += nMargin;
        g.bottom -= nMargin;
    } else {
        g.bottom = g.top + m_gripperInfo.GetGripperHeight();
        g.left += nMargin;
        g.right -= nMargin;
    }
    if (m_dwExStyle & CBX_CLOSEBUTTON)
        DrawCloseButton(pDC, g, bHorz);
    if (m_dwExStyle & CBX_EXPANDBUTTON)
        DrawExpandButton(pDC, g, bHorz);
    const int* w = bHorz ? m_gripperInfo.m_horz : m_gripperInfo.m_vert;
    const int lines[2][2] = { { w[0], w[1] }, { w[0] + w[1] + w[2], w[3] } };
    for (const auto& line : lines) {
        if (bHorz)
            pDC->Draw3dRect(g.left + line[0], g.top, line[1], g.Height(), clrHi, clrShadow);
        else
            pDC->Draw3dRect(g.left, g.top + line[0], g.Width(), line[1], clrHi, clrShadow);
    }
}

CRect TWKControlBar::PlaceGripperButton(CRect& g, BOOL bHorz) const
{
    CRect r;
    if (bHorz) {
        const int* w = m_gripperInfo.m_horz;
        r.left = std::max(g.left + w[0] - 2, 0L);
        r.right = std::min(g.right - w[4] + 2, g.right);
        r.top = g.top;
        r.bottom = r.top + r.Width();
        g.top = r.bottom + 2;
    } else {
        const int* w = m_gripperInfo.m_vert;
        r.top = std::max(g.top + w[0] - 2, 0L);
        r.bottom = std::min(g.bottom - w[4] + 2, g.bottom);
        r.right = g.right;
        r.left = r.right - r.Height();
        g.right = r.left - 2;
    }
    return r;
}

void TWKControlBar::DrawCloseButton(CDC* pDC, CRect& rect, BOOL bHorz)
{
    m_rectClose = PlaceGripperButton(rect, bHorz);
    DrawCloseButtonNormal(pDC);
}

void TWKControlBar::DrawCloseButtonNormal(CDC* pDC)
{
    CRect r = m_rectClose;
    pDC->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void TWKControlBar::DrawCloseButtonPressed(CDC* pDC)
{
    CRect r = m_rectClose;
    pDC->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
}

void TWKControlBar::DrawExpandButton(CDC* pDC, CRect& rect, BOOL bHorz)
{
    UpdateExpandButtonState(bHorz);
    m_rectExpand = PlaceGripperButton(rect, bHorz);
    DrawExpandButtonNormal(pDC);
}

void TWKControlBar::DrawExpandFrame(CDC* pDC, UINT nExtraState)
{
    CRect r = m_rectExpand;
    r.left--;
    r.top--;
    UINT nState = m_bLastHorz ? (m_bExpandable ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                              : (m_bExpandable ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    if (!m_bExpandActive)
        nState |= DFCS_INACTIVE;
    else
        nState |= nExtraState;
    pDC->DrawFrameControl(&r, DFC_SCROLL, nState);
}

void TWKControlBar::DrawExpandButtonNormal(CDC* pDC)
{
    DrawExpandFrame(pDC, 0);
}

void TWKControlBar::DrawExpandButtonPressed(CDC* pDC)
{
    DrawExpandFrame(pDC, DFCS_PUSHED);
}

void TWKControlBar::UpdateExpandButtonState(BOOL bHorz)
{
    m_bLastHorz = bHorz;
    if (TWKDockBar* pDockBar = GetTWKDockBar()) {
        m_bExpandable = !pDockBar->IsBarExpanded(this);
        m_bExpandActive = !pDockBar->IsOnlyVisibleBarInRow(this);
    }
}

void TWKControlBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    if (m_hWndCompanion)
        ::RedrawWindow(m_hWndCompanion, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---- mouse

BOOL TWKControlBar::IsButtonHit(const CRect& rect, DWORD dwBit, CPoint point) const
{
    return (m_dwExStyle & dwBit) && rect.PtInRect(point);
}

void TWKControlBar::ReleaseButtons()
{
    if (!m_bClosePressed && !m_bExpandPressed)
        return;
    CWindowDC dc(this);
    if (m_bClosePressed) {
        m_bClosePressed = FALSE;
        DrawCloseButtonNormal(&dc);
    }
    if (m_bExpandPressed) {
        m_bExpandPressed = FALSE;
        DrawExpandButtonNormal(&dc);
    }
}

void TWKControlBar::PressButton(BOOL& bPressed, BOOL bEnabled, void (TWKControlBar::*pfnDrawPressed)(CDC*))
{
    // A floating bar shows no gripper: where its button was drawn is nothing now.
    if (IsFloating()) {
        bPressed = FALSE;
        return;
    }
    if (bPressed || !bEnabled)
        return;
    bPressed = TRUE;
    CWindowDC dc(this);
    (this->*pfnDrawPressed)(&dc);
    SetCapture();
}

void TWKControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (IsButtonHit(m_rectClose, CBX_CLOSEBUTTON, point)) {
        PressButton(m_bClosePressed, !m_bClosePressed && IsCloseButtonEnabled(), &TWKControlBar::DrawCloseButtonPressed);
        return;
    }
    if (m_bExpandActive && IsButtonHit(m_rectExpand, CBX_EXPANDBUTTON, point)) {
        PressButton(m_bExpandPressed, !m_bExpandPressed && IsExpandButtonEnabled(),
                    &TWKControlBar::DrawExpandButtonPressed);
        return;
    }
    ReleaseButtons();
    CFrameWnd* pFrame = GetParentFrame();
    if (IsFloating() && pFrame && !pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        Default();
        return;
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

void TWKControlBar::OnLButtonUp(UINT, CPoint point)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bClosePressed && IsButtonHit(m_rectClose, CBX_CLOSEBUTTON, point)) {
        CWindowDC dc(this);
        DrawCloseButtonNormal(&dc);
        m_bClosePressed = FALSE;
        SendMessage(WM_COMMAND, ID_TWK_HIDEBAR);
        return;
    }
    if (m_bExpandPressed && m_bExpandActive && IsButtonHit(m_rectExpand, CBX_EXPANDBUTTON, point)) {
        CWindowDC dc(this);
        DrawExpandButtonNormal(&dc);
        m_bExpandPressed = FALSE;
        if (TWKDockBar* pDockBar = GetTWKDockBar())
            pDockBar->ExpandBarInRow(this, m_bExpandable ? 1 : 2);
        return;
    }
    ReleaseButtons();
    Default();
}

void TWKControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (IsButtonHit(m_rectClose, CBX_CLOSEBUTTON, point) || IsButtonHit(m_rectExpand, CBX_EXPANDBUTTON, point))
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (IsFloating() && pFrame && !pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        Default();
        return;
    }
    CControlBar::OnLButtonDblClk(nFlags, point);
}

// ---- context menu and commands

void TWKControlBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (!(m_dwExStyle & CBX_CONTEXTMENU)) {
        Default();
        return;
    }
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    CString str;
    str.LoadString(AfxGetResourceHandle(), ID_TWK_ALLOWDOCKING);
    menu.AppendMenu(MF_STRING | ((m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : 0), ID_TWK_ALLOWDOCKING, str);
    str.LoadString(AfxGetResourceHandle(), ID_TWK_HIDEBAR);
    menu.AppendMenu(MF_STRING, ID_TWK_HIDEBAR, str);
    AddContextMenuItems(&menu);
    if (m_pDockContext && m_pDockContext->m_pDockSite)
        m_pDockContext->m_pDockSite->SendMessage(WM_TWK_BARCONTEXTMENU, (WPARAM)this, (LPARAM)&menu);
    if (point.x == -1 && point.y == -1) {
        HWND hWnd = pWnd ? pWnd->m_hWnd : m_hWnd;
        CRect rect;
        ::GetClientRect(hWnd, &rect);
        point = CPoint(rect.Width() / 4, 10);
        ::ClientToScreen(hWnd, &point);
    }
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void TWKControlBar::OnAllowDocking()
{
    if (m_dwDockStyle & CBRS_ALIGN_ANY) {
        m_dwMRUDockingState = m_dwDockStyle & CBRS_ALIGN_ANY;
        if (!IsFloating() && m_pDockContext)
            m_pDockContext->ToggleDocking();
        EnableDocking(0);
    } else {
        EnableDocking(m_dwMRUDockingState);
    }
}

void TWKControlBar::OnHide()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ShowControlBar(this, FALSE, FALSE);
}

void TWKControlBar::OnFloatInMDI()
{
    if (auto* pContext = dynamic_cast<TWKDockContext*>(m_pDockContext))
        pContext->ToggleMDIFloating();
}

// ---- tips

INT_PTR TWKControlBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    if (!(m_dwStyle & CBRS_TOOLTIPS))
        return -1;
    INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1 || IsFloating())
        return nHit;
    UINT nID = 0;
    LPCSTR lpszText = nullptr;
    CRect rect;
    if (IsButtonHit(m_rectClose, CBX_CLOSEBUTTON, point)) {
        nID = TWK_TOOL_CLOSE;
        lpszText = m_gripperInfo.m_strHide;
        rect = m_rectClose;
    } else if (IsButtonHit(m_rectExpand, CBX_EXPANDBUTTON, point)) {
        nID = TWK_TOOL_EXPAND;
        lpszText = m_bExpandable ? m_gripperInfo.m_strExpand : m_gripperInfo.m_strContract;
        rect = m_rectExpand;
    } else {
        return -1;
    }
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = nID;
        pTI->rect = rect;
        pTI->lpszText = AfxAllocToolTipText(lpszText);
    }
    return nID;
}

// ---- notifications

void TWKControlBar::NotifyBeforeDock() { OnBeforeDock(); }
void TWKControlBar::NotifyBeforeFloat() { OnBeforeFloat(); }
void TWKControlBar::NotifyBeforeMDIFloat() { OnBeforeMDIFloat(); }

// ---- place and layout record

BOOL TWKControlBar::IsInMDIChildFrame() const
{
    // (A dock bar is no TWKControlBar: its own flag is read directly.)
    TWKDockBar* pDockBar = GetTWKDockBar();
    return pDockBar ? pDockBar->m_bMDIChild : FALSE;
}

BOOL TWKControlBar::GetDockedPosition(int& nRow, int& nCol) const
{
    TWKDockBar* pDockBar = GetTWKDockBar();
    int nThickness = 0;
    return pDockBar && pDockBar->GetBarRowCol(const_cast<TWKControlBar*>(this), &nRow, &nCol, &nThickness);
}

BOOL TWKControlBar::GetDockedPosition(int& nRow, int& nCol, UINT& nDockBarID) const
{
    float fPct;
    int nThickness;
    return GetDockedPosition(nRow, nCol, nDockBarID, fPct, nThickness);
}

BOOL TWKControlBar::GetDockedPosition(int& nRow, int& nCol, UINT& nDockBarID, float& fPctWidth,
                                      int& nRowThickness) const
{
    TWKDockBar* pDockBar = GetTWKDockBar();
    if (!pDockBar || !pDockBar->GetBarRowCol(const_cast<TWKControlBar*>(this), &nRow, &nCol, &nRowThickness))
        return FALSE;
    nDockBarID = (UINT)pDockBar->GetDlgCtrlID();
    fPctWidth = m_fPctWidth;
    return TRUE;
}

UINT TWKControlBar::GetFreeBarID(CFrameWnd* pFrame, UINT nStart)
{
    if (!pFrame)
        return 0;
    std::set<UINT> taken;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd)
            taken.insert((UINT)::GetDlgCtrlID(pBar->m_hWnd));
    }
    for (UINT nID = nStart; nID <= nStart + 999; nID++)
        if (!taken.count(nID))
            return nID;
    return 0;
}

void TWKControlBar::GetBarInfo(CControlBarInfo* pBaseInfo)
{
    auto* pInfo = dynamic_cast<TWKControlBarInfo*>(pBaseInfo);
    if (!pInfo) {
        CControlBar::GetBarInfo(pBaseInfo);
        return;
    }
    pInfo->m_nBarID = m_hWnd ? (UINT)LOWORD(::GetDlgCtrlID(m_hWnd)) : 0;
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    if (m_pDockBar && m_hWnd) {
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
        pInfo->m_bDocking = TRUE;
        if (m_pDockContext) {
            pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
            pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
            pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
            pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
        }
    }
    pInfo->m_sizeMRUFloat = m_sizeMRUFloat;
    pInfo->m_sizeMRUHorzDock = m_sizeMRUHorzDock;
    pInfo->m_sizeMRUVertDock = m_sizeMRUVertDock;
    pInfo->m_dwMRUDockingState = m_dwMRUDockingState;
    pInfo->m_dwDockStyle = m_dwDockStyle;
    pInfo->m_fPctWidth = m_fPctWidth;
    pInfo->m_dwStyle = m_dwStyle;
    pInfo->m_dwExStyle = m_dwExStyle;
    if (m_pControlBarManager)
        pInfo->m_nTypeID = m_pControlBarManager->GetBarTypeID(this);
    if (auto* pContext = dynamic_cast<TWKDockContext*>(m_pDockContext))
        pInfo->m_bPrevFloating = pContext->m_bWasFloating;
    pInfo->m_strClassName = GetRuntimeClass()->m_lpszClassName;
    if (m_hWnd)
        GetWindowText(pInfo->m_strWindowName);
    GetBarInfoEx(pInfo);
}

void TWKControlBar::SetBarInfo(CControlBarInfo* pBaseInfo, CFrameWnd* pFrame)
{
    auto* pInfo = dynamic_cast<TWKControlBarInfo*>(pBaseInfo);
    if (!pInfo) {
        CControlBar::SetBarInfo(pBaseInfo, pFrame);
        return;
    }
    m_nMRUWidth = pInfo->m_nMRUWidth;
    m_sizeMRUFloat = pInfo->m_sizeMRUFloat;
    m_sizeMRUHorzDock = pInfo->m_sizeMRUHorzDock;
    m_sizeMRUVertDock = pInfo->m_sizeMRUVertDock;
    m_dwMRUDockingState = pInfo->m_dwMRUDockingState;
    m_dwDockStyle = pInfo->m_dwDockStyle;
    m_fPctWidth = pInfo->m_fPctWidth;
    SetBarStyle(pInfo->m_dwStyle);
    if (pInfo->m_bDocking && m_pDockContext) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
        if (auto* pContext = dynamic_cast<TWKDockContext*>(m_pDockContext))
            pContext->m_bWasFloating = pInfo->m_bPrevFloating;
    }
    if (pInfo->m_pInfoEx)
        SetBarInfoEx(pInfo, pFrame);
    if (!m_hWnd)
        return;
    UINT nFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (m_pDockBar ? 0 : SWP_NOMOVE)
                  | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, nFlags);
}

// ---- destruction

void TWKControlBar::OnDestroy()
{
    CFrameWnd* pFrame = GetDockingFrame();
    if (!IsDockBar()) {
        if (TWKDockBar* pDockBar = GetTWKDockBar()) {
            CPtrArray& arr = pDockBar->m_arrBars;
            for (INT_PTR i = arr.GetSize() - 1; i > 0; i--)
                if (arr[i] == this)
                    arr.RemoveAt(i);
            // The dock bar may die first at shutdown; nothing may point at it then.
            m_pDockBar = nullptr;
        }
    }
    DropChildLayout();
    CControlBar::OnDestroy();
    if (pFrame)
        pFrame->DelayRecalcLayout(TRUE);
}
