// Toolbar drag customisation: moving and copying buttons within a bar,
// between bars and off all bars, and the tracker that draws the moving
// button's frame.
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKToolBarRectTracker.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKFrameDispatch.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"

// ---------------------------------------------------------------------------
// The tracker

namespace {
// A quit message ends a tracking loop, which posts it again: the drag is
// cancelled rather than dropped where the pointer last was.
BOOL CancelledByQuit(CRectTracker& tracker, const CRect& rectSave)
{
    MSG msg;
    if (!::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        return FALSE;
    if (tracker.m_sizeLast.cx || tracker.m_sizeLast.cy) {
        // The loop left its last frame on the screen.
        HWND hDesktop = ::GetDesktopWindow();
        HDC hDC = ::GetDCEx(hDesktop, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
        CDC::FromHandle(hDC)->DrawDragRect(&tracker.m_rectLast, CSize(0, 0), &tracker.m_rectLast, tracker.m_sizeLast);
        ::ReleaseDC(hDesktop, hDC);
        tracker.m_sizeLast = CSize(0, 0);
    }
    tracker.m_rect = rectSave;
    return TRUE;
}
} // namespace

void TWKToolBarRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRect rect = *lpRect;
    rect.NormalizeRect();
    // Drawn on the desktop unless a window is given.
    ::MapWindowPoints(pWnd->m_hWnd, pWndClipTo ? pWndClipTo->m_hWnd : nullptr, (LPPOINT)&rect, 2);
    CSize size(0, 0);
    if (!m_bFinalErase)
        size.cx = size.cy = std::max(1, m_nHandleSize - 1);
    if (m_bFinalErase || !m_bErase) {
        BOOL bHasLast = m_sizeLast.cx || m_sizeLast.cy;
        pDC->DrawDragRect(&rect, size, bHasLast ? &m_rectLast : nullptr, m_sizeLast);
        m_rectLast = rect;
        m_sizeLast = size;
    }
}

BOOL TWKToolBarRectTracker::Track(CWnd* pWnd, int x, int y)
{
    CRect rectSave = m_rect;
    m_bAllowInvert = FALSE;
    BOOL bMoved = TrackHandle(hitMiddle, pWnd, CPoint(x, y), nullptr);
    return !CancelledByQuit(*this, rectSave) && bMoved;
}

BOOL TWKToolBarRectTracker::TrackRightEdge(CWnd* pWnd, int x, int y)
{
    CRect rectSave = m_rect;
    m_bAllowInvert = FALSE;
    BOOL bChanged = TrackHandle(hitRight, pWnd, CPoint(x, y), nullptr);
    return !CancelledByQuit(*this, rectSave) && bChanged;
}

// ---------------------------------------------------------------------------
// Dragging

BOOL TWKCustomToolBar::DragButton(int nIndex, int x, int y)
{
    return DoDragButton(GetManager(), m_arrButtons[nIndex], nIndex, x, y, this, this, IsCopyKeyDown());
}

namespace {
// Removes the source bar's selected button; FALSE when the bar destroyed
// itself with its last button.
BOOL RemoveFromSource(TWKCustomToolBar* pSrcBar, int nIndex, BOOL bNoUpdate)
{
    HWND hSrc = pSrcBar->m_hWnd;
    pSrcBar->RemoveButton(nIndex, bNoUpdate);
    return ::IsWindow(hSrc);
}
} // namespace

BOOL TWKCustomToolBar::DoDragButton(TWKToolBarManager* pMgr, TWKStdBtn* pBtn, int nIndex, int x, int y,
                                    TWKCustomToolBar* pSrcBar, CWnd* pWnd, BOOL bCopy)
{
    if (!pBtn->CanDrag() || !pMgr)
        return TRUE;
    if (pSrcBar)
        pSrcBar->SelectButton(nIndex, TRUE);
    else if (pMgr->m_pSelectedBar)
        pMgr->m_pSelectedBar->ClearSelection(TRUE);

    CRect rect;
    pBtn->GetRect(&rect);
    TWKToolBarRectTracker tracker(&rect);
    if (bCopy)
        ::SetCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TWK_TBCOPY)));
    if (!tracker.Track(pWnd, x, y))
        return TRUE;

    rect = tracker.m_rect;
    pWnd->ClientToScreen(&rect);
    TWKCustomToolBar* pTarget = pMgr->FindToolBarAt(&rect);
    const POINT corners[4] = { { rect.left, rect.top }, { rect.right, rect.top }, { rect.left, rect.bottom },
                               { rect.right, rect.bottom } };
    for (int i = 0; i < 4 && !pTarget; i++)
        pTarget = ToolBarFromPoint(corners[i].x, corners[i].y);

    if (!pTarget) {
        CRect rectNoDrop, rectHit;
        if (pMgr->GetNoDropRect(&rectNoDrop) && rectHit.IntersectRect(&rect, &rectNoDrop))
            return TRUE;
        if (bCopy) {
            NewToolBarFromDrop(rect.left, rect.top, pBtn, pMgr, pSrcBar ? s_bAltDrag : FALSE);
            return TRUE;
        }
    } else if (pSrcBar && (pSrcBar->m_bOptions & 1) && pTarget != pSrcBar) {
        // This bar's buttons stay on it.
        return TRUE;
    } else if (pTarget->CanAcceptDrop()) {
        pTarget->ScreenToClient(&rect);
        return pTarget->DropButton(&rect, pBtn, bCopy, FALSE);
    } else if (bCopy) {
        return TRUE;
    }
    // A move off every bar deletes the button.
    if (!pSrcBar)
        return TRUE;
    pSrcBar->ClearSelection(FALSE);
    return RemoveFromSource(pSrcBar, nIndex, FALSE);
}

BOOL TWKCustomToolBar::DropButton(LPRECT pRect, TWKStdBtn* pBtn, BOOL bCopy, BOOL bNoUpdate)
{
    BOOL bResult = TRUE;
    CRect rectInside;
    GetClientRect(&rectInside);
    CalcInsideRect(rectInside, (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0,
                   (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0);
    TWKToolBarManager* pMgr = GetManager();
    TWKCustomToolBar* pSrcBar = (pMgr && !bCopy) ? pMgr->m_pSelectedBar : nullptr;
    // The dragged button may belong to the source bar and go with it.
    UINT nID = pBtn->m_nID;
    int nIndex;

    if (GetButtonCount() == 0) {
        nIndex = 0;
        if (pSrcBar)
            bResult = RemoveFromSource(pSrcBar, pSrcBar->m_nCurBtn, FALSE);
    } else if (GetButtonCount() == 1 && pSrcBar == this) {
        return TRUE;
    } else if (pRect->bottom <= rectInside.top || pRect->top >= rectInside.bottom) {
        // Above or below every row: a group of its own at that end.
        BOOL bAbove = pRect->bottom <= rectInside.top;
        InsertButton(bAbove ? 0 : GetButtonCount(), 0, TRUE, TRUE);
        // A move leaves its source, as every other move does.
        if (pSrcBar == this)
            RemoveButton(m_nCurBtn, TRUE);
        else if (pSrcBar)
            bResult = RemoveFromSource(pSrcBar, pSrcBar->m_nCurBtn, FALSE);
        nIndex = bAbove ? 0 : GetButtonCount();
    } else {
        int nFirst, nLast;
        GetRowRange(&rectInside, pRect, &nFirst, &nLast);
        if (AdjustGroupByDrop(pRect, nFirst, nLast, bCopy, bNoUpdate))
            return TRUE;
        nIndex = nFirst;
        if (pRect->left >= rectInside.left) {
            // After the button under the drop's left edge.
            int xRight = rectInside.left;
            nIndex = nLast + 1;
            for (int k = nFirst; k <= nLast; k++) {
                if (m_arrButtons[k]->m_dwStyle & TBBS_HIDDEN)
                    continue;
                xRight += m_arrButtons[k]->m_cx;
                if (xRight > pRect->left) {
                    nIndex = k + 1;
                    break;
                }
            }
        }
        if (pSrcBar == this) {
            int nSel = m_nCurBtn;
            if (nSel == nIndex)
                return TRUE;
            if (nSel < nIndex)
                nIndex--;
            RemoveButton(nSel, TRUE);
        } else if (pSrcBar) {
            bResult = RemoveFromSource(pSrcBar, pSrcBar->m_nCurBtn, FALSE);
        }
        // A separator the drop covers goes: the button takes its place.
        if (nIndex < GetButtonCount()) {
            TWKStdBtn* pAt = m_arrButtons[nIndex];
            if ((pAt->m_dwStyle & TBBS_SEPARATOR) && !(pAt->m_dwStyle & TBBS_WRAPPED)
                && pAt->m_x > pRect->left + 1 && pRect->right + 1 > pAt->m_x + pAt->m_cx)
                RemoveButton(nIndex, bNoUpdate);
        }
    }
    InsertButton(nIndex, nID, FALSE, bNoUpdate);
    if (!s_bAltDrag)
        SelectButton(nIndex, TRUE);
    return bResult;
}

void TWKCustomToolBar::GetRowRange(LPCRECT pClient, LPCRECT pDrop, int* pFirst, int* pLast)
{
    int nCount = GetButtonCount();
    int yMiddle = pDrop->top + (pDrop->bottom - pDrop->top) / 2;
    int y = pClient->top;
    int nFirst = 0, nLast = nCount - 1;
    for (int k = 1; k < nCount; k++) {
        const TWKStdBtn* pPrev = m_arrButtons[k - 1];
        if (!(pPrev->m_dwStyle & TBBS_WRAPPED))
            continue;
        y += pPrev->m_cy;
        if (pPrev->m_dwStyle & TBBS_SEPARATOR)
            y += 2 * m_nSepWidth / 3;
        if (yMiddle <= y) {
            nLast = k - 1;
            break;
        }
        nFirst = k;
    }
    while (nLast >= 1 && (m_arrButtons[nLast]->m_dwStyle & TBBS_SEPARATOR))
        nLast--;
    *pFirst = nFirst;
    *pLast = nLast;
}

BOOL TWKCustomToolBar::AdjustGroupByDrop(LPCRECT pDrop, int nFirst, int nLast, BOOL bCopy, BOOL bNoUpdate)
{
    int s = m_nCurBtn;
    if (!HoldsSelection() || s < nFirst || s > nLast || s >= GetButtonCount())
        return FALSE;
    CRect rectSel;
    GetItemRect(s, &rectSel);
    auto isSep = [this](int i) {
        return i >= 0 && i < GetButtonCount() && (m_arrButtons[i]->m_dwStyle & TBBS_SEPARATOR);
    };
    if (pDrop->left < rectSel.left && rectSel.left <= pDrop->right) {
        // A little to the left: the button joins the group on its left, or
        // leaves the one on its right.
        if (bCopy)
            return FALSE;
        if (rectSel.left - pDrop->left < 2)
            return TRUE;
        if (isSep(s - 1))
            RemoveButton(s - 1, bNoUpdate);
        else if (s + 1 < GetButtonCount() && !isSep(s + 1))
            InsertButton(s + 1, 0, TRUE, bNoUpdate);
        return TRUE;
    }
    if (pDrop->left <= rectSel.right && rectSel.right < pDrop->right) {
        // A little to the right: the mirror image.
        if (bCopy)
            return FALSE;
        if (pDrop->left - rectSel.left < 2)
            return TRUE;
        if (s > 0 && !isSep(s - 1))
            InsertButton(s, 0, TRUE, bNoUpdate);
        else if (isSep(s + 1))
            RemoveButton(s + 1, bNoUpdate);
        return TRUE;
    }
    return FALSE;
}

TWKCustomToolBar* TWKCustomToolBar::ToolBarFromPoint(int x, int y)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(::WindowFromPoint(CPoint(x, y)));
    if (!pWnd)
        return nullptr;
    if (pWnd->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar)))
        return static_cast<TWKCustomToolBar*>(pWnd);
    if (!pWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        return nullptr;
    CWnd* pDockBar = CWnd::FromHandlePermanent(::GetWindow(pWnd->m_hWnd, GW_CHILD));
    if (!pDockBar || !pDockBar->IsKindOf(RUNTIME_CLASS(CDockBar)))
        return nullptr;
    CWnd* pBar = CWnd::FromHandlePermanent(::GetWindow(pDockBar->m_hWnd, GW_CHILD));
    return (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar))) ? static_cast<TWKCustomToolBar*>(pBar)
                                                                     : nullptr;
}

TWKCustomToolBar* TWKCustomToolBar::NewToolBarFromDrop(int x, int y, TWKStdBtn* pBtn, TWKToolBarManager* pMgr,
                                                       BOOL bNoSelect)
{
    TWKCustomToolBar* pBar = pMgr ? pMgr->CreateUserToolBar(nullptr) : nullptr;
    if (!pBar)
        return nullptr;
    pBar->InsertButton(0, pBtn->m_nID, FALSE, TRUE);
    if (!bNoSelect)
        pBar->SelectButton(0, FALSE);
    // The floating frame's client area starts where the button was dropped.
    CRect rect(x, y, x, y);
    ::AdjustWindowRectEx(&rect, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE,
                         WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
    CPoint pt(rect.left - pBar->m_cxLeftBorder - twkAuxData.cxBorder,
              rect.top - pBar->m_cyTopBorder - twkAuxData.cyBorder);
    TWKWithFrame(dynamic_cast<CFrameWnd*>(pBar->GetParent()),
                 [&](auto* pFrame) { pFrame->FloatControlBar(pBar, pt, CBRS_ALIGN_TOP); });
    return pBar;
}
