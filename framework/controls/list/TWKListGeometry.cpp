// Where things are in the list: the list area, stacked rows, cells, hit
// testing; scrolling by rows and pixels with the list's own scroll bars; the
// label column's width and the divider drag.
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include "framework/controls/list/TWKListPrivate.h"

void TWKListBaseC::GetClientRect(LPRECT lpRect)
{
    if (m_hWnd)
        ::GetClientRect(m_hWnd, lpRect);
    else
        ::SetRectEmpty(lpRect);
}

void TWKListBaseC::GetInsideRect(LPRECT lpRect)
{
    if (m_hWnd == NULL)
        return;
    GetClientRect(lpRect);
    if ((m_dwListStyle & LVS_TYPEMASK) == LVS_REPORT && IsHeaderVisible())
        lpRect->top += m_nHeaderHeight;
    if (m_dwScrollBars & WS_VSCROLL)
        lpRect->right -= ::GetSystemMetrics(SM_CXVSCROLL) - 1;
    if (m_dwScrollBars & WS_HSCROLL)
        lpRect->bottom -= ::GetSystemMetrics(SM_CYHSCROLL) - 1;
}

BOOL TWKListBaseC::GetScrollOrigin(LPPOINT lpPoint)
{
    lpPoint->x = m_nHorzOffset;
    lpPoint->y = m_nVertOffset;
    return TRUE;
}

HWND TWKListBaseC::GetListWindow() { return m_hWnd; }

void TWKListBaseC::ClientToScreen(LPRECT lpRect)
{
    if (m_hWnd)
        CWnd::ClientToScreen(lpRect);
}

// ---- Rows

int TWKListBaseC::RowHeight(int nRow)
{
    TWKListItem* pItem = GetItemPtr(nRow);
    if (pItem == NULL)
        return 0;
    if (pItem->m_bNeedsMeasure && m_hWnd)
        UpdateItemMetrics(nRow);
    return std::max(pItem->m_nHeight, 0) + GetRowSpacing();
}

int TWKListBaseC::GetRowTop(int nRow, int nLimit)
{
    CRect rcList;
    GetInsideRect(&rcList);
    int y = rcList.top;
    // Rows not measured yet (a jump to the end) are measured with one DC for the
    // whole walk: a DC of its own for each row costs more than the measuring.
    CDC* pDC = NULL;
    BOOL bDelete = FALSE;
    TWKListPaintContext* pCtx = NULL;
    for (int r = m_nTopIndex; r < nRow; ++r)
    {
        TWKListItem* pItem = GetItemPtr(r);
        if (pItem && pItem->m_bNeedsMeasure && m_hWnd)
        {
            if (pCtx == NULL)
            {
                pDC = GetDrawDC(&bDelete);
                pCtx = CreatePaintContext(pDC);
            }
            UpdateItemMetrics(r, pCtx);
        }
        y += RowHeight(r);
        if (y > nLimit)
            break;
    }
    delete pCtx;
    if (bDelete)
        delete pDC;
    return y;
}

int TWKListBaseC::GetRowSpacing() { return 0; }
int TWKListBaseC::GetTopIndex() { return m_nTopIndex; }
int TWKListBaseC::GetContentRows() { return GetItemCount(); }

static int ListHeight(TWKListBaseC* pList)
{
    CRect rc;
    pList->GetInsideRect(&rc);
    return rc.Height();
}

int TWKListBaseC::GetCountPerPage()
{
    int nHeight = ListHeight(this), nTotal = 0, nCount = 0;
    int nRows = GetItemCount();
    for (int r = m_nTopIndex; r < nRows; ++r)
    {
        int h = RowHeight(r);
        if (nTotal + h > nHeight)
            return nCount;
        nTotal += h;
        nCount++;
    }
    for (int r = m_nTopIndex - 1; r >= 0; --r)
    {
        int h = RowHeight(r);
        if (nTotal + h > nHeight)
            break;
        nTotal += h;
        nCount++;
    }
    return nCount;
}

int TWKListBaseC::GetCountAbove()
{
    int nHeight = ListHeight(this), nTotal = 0, nCount = 0;
    for (int r = m_nTopIndex - 1; r >= 0; --r)
    {
        int h = RowHeight(r);
        if (nTotal + h > nHeight)
            break;
        nTotal += h;
        nCount++;
    }
    return nCount;
}

int TWKListBaseC::GetMaxTopIndex()
{
    int nHeight = ListHeight(this), nTotal = 0;
    int nRows = GetItemCount();
    int nTop = nRows;
    for (int r = nRows - 1; r >= 0; --r)
    {
        nTotal += RowHeight(r);
        if (nTotal > nHeight)
            break;
        nTop = r;
    }
    return nTop;
}

int TWKListBaseC::GetLastVisibleIndex(TWKListPaintContext* pCtx)
{
    int nHeight = ListHeight(this), nTotal = 0;
    int nRows = GetItemCount();
    int nLast = m_nTopIndex;
    for (int r = m_nTopIndex; r < nRows; ++r)
    {
        TWKListItem* pItem = GetItemPtr(r);
        if (pItem->m_bNeedsMeasure)
            UpdateItemMetrics(r, pCtx);
        nTotal += RowHeight(r);
        if (nTotal > nHeight)
            return nLast;
        nLast = r;
    }
    return nRows > 0 ? nRows - 1 : -1;
}

int TWKListBaseC::GetBottomIndex()
{
    int nHeight = ListHeight(this), y = 0;
    int nRows = GetItemCount();
    for (int r = m_nTopIndex; r < nRows; ++r)
    {
        if (y >= nHeight)
            return r;
        y += RowHeight(r);
    }
    return nRows;
}

int TWKListBaseC::GetPageUpIndex()
{
    int nHeight = ListHeight(this), nTotal = 0;
    int r = m_nTopIndex;
    while (r >= 0 && nTotal < nHeight)
    {
        nTotal += RowHeight(r);
        if (nTotal < nHeight)
            --r;
    }
    return r;
}

// Rows are counted from the top row (rows above it take no space).
int TWKListBaseC::GetRowAtY(CPoint point)
{
    CRect rcList;
    GetInsideRect(&rcList);
    int y = rcList.top;
    int nRows = GetItemCount();
    int r = m_nTopIndex;
    for (; r < nRows; ++r)
    {
        y += RowHeight(r);
        if (y > point.y)
            break;
    }
    return r;
}
int TWKListBaseC::GetRowAtYEx(CPoint point) { return GetRowAtY(point); }
int TWKListBaseC::GetRowAtPoint(CPoint point) { return GetRowAtY(point); }

int TWKListBaseC::GetRowsHeight(int nFrom, int nTo, BOOL bInclusive)
{
    int nLo = std::min(nFrom, nTo), nHi = std::max(nFrom, nTo);
    int nEnd = bInclusive ? nHi : nHi - 1;
    int h = 0;
    for (int r = nLo; r <= nEnd && r < GetItemCount(); ++r)
        h += RowHeight(r);
    return nFrom > nTo ? -h : h;
}

int TWKListBaseC::CountRowsInHeight(int nHeight, int nStart, BOOL bForward)
{
    int nCount = 0, nTotal = 0;
    int nRows = GetItemCount();
    for (int r = nStart; r >= 0 && r < nRows && nTotal < nHeight; r += bForward ? 1 : -1)
    {
        nTotal += RowHeight(r);
        nCount++;
    }
    return nCount;
}

int TWKListBaseC::GetContentWidth(TWKListPaintContext* pCtx)
{
    int nCount = GetColumnCount();
    if (nCount >= 2)
    {
        int w = 0;
        for (int c = 0; c < nCount; ++c)
            w += GetColumnPtr(c)->cx;
        return w;
    }
    int nWidth = 0;
    if (m_hWnd)
    {
        int nRows = GetItemCount();
        int nHeight = ListHeight(this), nTotal = 0;
        BOOL bWrap = !(m_dwListStyle & LVS_NOLABELWRAP);
        for (int r = m_nTopIndex; r < nRows; ++r)
        {
            TWKListItem* pItem = GetItemPtr(r);
            if (pItem->m_bNeedsMeasure)
                UpdateItemMetrics(r, pCtx);
            nWidth = std::max(nWidth, (int)pItem->m_rcLabel.right + 5);
            nTotal += std::max(pItem->m_nHeight, 0);
            if (bWrap && nTotal > nHeight)
                break;
        }
        if ((m_dwListStyle & LVS_TYPEMASK) == LVS_REPORT)
        {
            CRect rcList;
            GetInsideRect(&rcList);
            nWidth = std::max(nWidth, (int)rcList.Width());
        }
    }
    return nWidth;
}

void TWKListBaseC::GetScrollExtent(CSize* pSize, TWKListPaintContext* pCtx)
{
    pSize->cx = GetContentWidth(pCtx);
    pSize->cy = GetContentRows();
}

// ---- Rectangles and hit testing

BOOL TWKListBaseC::GetSubItemRect(int nRow, int nColumn, LPRECT lpRect, int nCode)
{
    TWKListItem* pItem = GetItemPtr(nRow);
    TWKListColumn* pColumn = GetColumnPtr(nColumn);
    if (pItem == NULL || pColumn == NULL || nRow < m_nTopIndex)
        return FALSE;
    CRect rcList;
    GetInsideRect(&rcList);
    int nTop = GetRowTop(nRow, INT_MAX);
    int nHeight = RowHeight(nRow);
    int left = GetColumnLeft(nColumn);
    CRect rc(left, nTop, left + pColumn->cx, nTop + nHeight);
    if (nCode == LVIR_BOUNDS)
    {
        if (GetColumnCount() < 2)
            rc.right = rcList.right;
        *lpRect = rc;
        return TRUE;
    }
    if (pColumn->iSubItem == 0)
    {
        if (nCode == LVIR_LABEL)
        {
            rc.left += pItem->m_rcLabel.left;
            rc.right = rc.left + pItem->m_rcLabel.Width();
        }
        else if (nCode == LVIR_ICON)
        {
            rc.left += pItem->m_rcIcon.left;
            rc.top += pItem->m_rcIcon.top;
            rc.right = rc.left + pItem->m_rcIcon.Width();
            rc.bottom = rc.top + pItem->m_rcIcon.Height();
        }
        else
            return FALSE;
        *lpRect = rc;
        return TRUE;
    }
    if (nCode != LVIR_LABEL)
        return FALSE;
    TWKListSubItem* pSub = pItem->GetSubItem(pColumn->iSubItem);
    CRect rcText = pSub ? pSub->m_rcText : CRect(0, 0, 0, 0);
    if ((pColumn->fmt & ~LVCFMT_BITMAP_ON_RIGHT) == 3)
        rc.left = left + pColumn->cx / 2 - rcText.Width() / 2;
    else
        rc.left = left + rcText.left;
    rc.right = rc.left + rcText.Width();
    *lpRect = rc;
    return TRUE;
}

BOOL TWKListBaseC::GetItemRect(int nRow, LPRECT lpRect, int nCode)
{
    for (int c = 0; c < GetColumnCount(); ++c)
        if (GetColumnPtr(c)->iSubItem == 0)
            return GetSubItemRect(nRow, c, lpRect, nCode);
    return FALSE;
}

int TWKListBaseC::HitTest(int x, int y, UINT* pFlags, int* pnColumn)
{
    UINT nFlags = 0;
    int nColumn = -1;
    CRect rcClient, rcList;
    GetClientRect(&rcClient);
    GetInsideRect(&rcList);
    int nAnswer = -1;
    if (!rcClient.PtInRect(CPoint(x, y)))
    {
        if (y < rcClient.top)
            nFlags |= LVHT_ABOVE;
        if (y >= rcClient.bottom)
            nFlags |= LVHT_BELOW;
        if (x < rcClient.left)
            nFlags |= LVHT_TOLEFT;
        if (x >= rcClient.right)
            nFlags |= LVHT_TORIGHT;
    }
    else
    {
        int nCount = GetColumnCount();
        if (nCount == 1)
            nColumn = 0;
        else if (x >= -m_nHorzOffset)
        {
            int e = -m_nHorzOffset;
            for (int c = 0; c < nCount; ++c)
            {
                e += GetColumnPtr(c)->cx;
                if (e > x)
                {
                    nColumn = c;
                    break;
                }
            }
        }
        if (y >= rcList.top)
        {
            int nTop = rcList.top;
            for (int r = m_nTopIndex; r < GetItemCount(); ++r)
            {
                int nBottom = nTop + RowHeight(r);
                if (y >= nTop && y < nBottom && x >= -m_nHorzOffset && x < rcList.right)
                {
                    nAnswer = r;
                    nFlags |= 0x2000;
                    TWKListColumn* pColumn = GetColumnPtr(nColumn);
                    if (pColumn && pColumn->iSubItem == 0)
                    {
                        TWKListItem* pItem = GetItemPtr(r);
                        CPoint pt(x - GetColumnLeft(nColumn), y - nTop);
                        if (pItem->m_rcLabel.PtInRect(pt))
                            nFlags |= LVHT_ONITEMLABEL;
                        else if (pItem->m_rcIcon.PtInRect(pt))
                            nFlags |= LVHT_ONITEMICON;
                        else if (pItem->m_rcStateIcon.PtInRect(pt))
                            nFlags |= LVHT_ONITEMSTATEICON;
                        else if (pt.x < pItem->m_rcLabel.left)
                            nFlags |= 0x4000;
                        else
                            nFlags |= 0x8000;
                    }
                    break;
                }
                if (nBottom >= rcList.bottom)
                    break;
                nTop = nBottom;
            }
        }
        else
        {
            // The header: dividers within 4 pixels of a column's right edge.
            int nPositions = nCount + ((m_dwListStyleEx & TWKLVS_EX_FITLABELCOLUMN) ? 0 : 1);
            int prev = -m_nHorzOffset, e = -m_nHorzOffset;
            for (int c = 0; c < nPositions; ++c)
            {
                e += c < nCount ? GetColumnPtr(c)->cx : 0;
                if (c == nCount)
                    e = std::max(e, (int)rcClient.right + 2);
                if (nCount > 0 && c < nCount && x >= e - 4 && x <= e + 4)
                {
                    nFlags = 0x800;
                    nAnswer = nColumn = c;
                    break;
                }
                if (x >= prev && x < e && y >= rcClient.top && y < rcList.top)
                {
                    nFlags = 0x1000;
                    nAnswer = nColumn = c;
                    break;
                }
                prev = e;
            }
        }
        if (nFlags == 0)
            nFlags = LVHT_NOWHERE;
    }
    if (pFlags)
        *pFlags = nFlags;
    if (pnColumn)
        *pnColumn = nColumn;
    return nAnswer;
}

// ---- Scroll bars and layout

CScrollBar* TWKListBaseC::CreateScrollBarCtrl(DWORD dwStyle, UINT nID)
{
    CScrollBar* pBar = new CScrollBar;
    if (!pBar->Create(dwStyle, CRect(0, 0, 1, 1), this, nID))
    {
        delete pBar;
        AfxThrowResourceException();
    }
    // The bar is a child window: the framework's handle map frees it with the window.
    return pBar;
}

void TWKListBaseC::ShowScrollBarCtrl(int nBar, BOOL bShow, SCROLLINFO* pInfo)
{
    if (m_dwListStyle & LVS_NOSCROLL)
        bShow = FALSE;
    if (nBar == SB_BOTH)
    {
        ShowScrollBarCtrl(SB_HORZ, bShow, pInfo);
        ShowScrollBarCtrl(SB_VERT, bShow, pInfo);
        return;
    }
    DWORD dwBit = nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    BOOL bShown = (m_dwScrollBars & dwBit) != 0;
    if (!bShow && !bShown)
        return;   // hidden (or never made) and staying so
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar == NULL)
    {
        if (!bShow)
            return;
        pBar = CreateScrollBarCtrl(WS_CHILD | (nBar == SB_HORZ ? SBS_HORZ : SBS_VERT),
                                   nBar == SB_HORZ ? TWKLIST_ID_HSCROLL : TWKLIST_ID_VSCROLL);
    }
    if (pInfo)
        pBar->SetScrollInfo(pInfo, FALSE);
    if (bShown != bShow)
    {
        if (bShow)
        {
            // Placed before it shows, so that it never paints where it was.
            m_dwScrollBars |= dwBit;
            PositionScrollBars();
            ::ShowScrollBar(pBar->m_hWnd, SB_CTL, TRUE);
            pBar->Invalidate();
            pBar->UpdateWindow();
        }
        else
        {
            // A hidden bar is neither painted nor placed; the other bar takes the corner.
            m_dwScrollBars &= ~dwBit;
            ::ShowScrollBar(pBar->m_hWnd, SB_CTL, FALSE);
            PositionScrollBars();
        }
    }
}

// Only the bars shown are placed, and only those not yet where they belong are
// moved: layout runs after every change of rows, and a move costs the
// platform a round of window-position messages.
void TWKListBaseC::PositionScrollBars()
{
    CScrollBar* pHorz = (m_dwScrollBars & WS_HSCROLL) ? GetScrollBarCtrl(SB_HORZ) : NULL;
    CScrollBar* pVert = (m_dwScrollBars & WS_VSCROLL) ? GetScrollBarCtrl(SB_VERT) : NULL;
    if (pHorz == NULL && pVert == NULL)
        return;
    CRect rcList, rcClient;
    GetInsideRect(&rcList);
    GetClientRect(&rcClient);
    BOOL bHeader = (m_dwListStyle & LVS_TYPEMASK) == LVS_REPORT && IsHeaderVisible();
    CRect rcWant[2] = {
        CRect(CPoint(rcList.left, rcList.bottom), CSize(rcList.Width() + 1, ::GetSystemMetrics(SM_CYHSCROLL))),
        CRect(CPoint(rcList.right, rcClient.top),
              CSize(::GetSystemMetrics(SM_CXVSCROLL), rcList.Height() + 1 + (bHeader ? m_nHeaderHeight : 0))),
    };
    CScrollBar* pBars[2] = { pHorz, pVert };
    for (int i = 0; i < 2; ++i)
    {
        if (pBars[i] == NULL)
            continue;
        CRect rcNow;
        ::GetWindowRect(pBars[i]->m_hWnd, &rcNow);
        ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&rcNow, 2);
        if (rcNow != rcWant[i])
            ::SetWindowPos(pBars[i]->m_hWnd, NULL, rcWant[i].left, rcWant[i].top, rcWant[i].Width(),
                           rcWant[i].Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        // Its range or position may have changed without a redraw.
        pBars[i]->Invalidate();
    }
}

void TWKListBaseC::UpdateVertScrollBar(int nRows)
{
    CRect rcBefore;
    GetInsideRect(&rcBefore);
    int nPer = GetCountPerPage();
    if (nPer < nRows)
    {
        if (nRows - nPer < m_nTopIndex)
            ScrollVertical(-(m_nTopIndex - (nRows - nPer)), FALSE);
        SCROLLINFO si;
        memset(&si, 0, sizeof(si));
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
        si.nMin = 0;
        si.nMax = GetItemCount() - 1;
        si.nPage = nPer;
        si.nPos = m_nTopIndex;
        ShowScrollBarCtrl(SB_VERT, TRUE, &si);
    }
    else
    {
        if (m_nTopIndex != 0)
            ScrollVertical(-m_nTopIndex, FALSE);
        ShowScrollBarCtrl(SB_VERT, FALSE, NULL);
    }
    CRect rcAfter;
    GetInsideRect(&rcAfter);
    if (rcAfter.Width() != rcBefore.Width() && CheckFitLabelColumn())
        Invalidate(FALSE);
}

void TWKListBaseC::UpdateHorzScrollBar(int nWidth)
{
    CRect rcList;
    GetInsideRect(&rcList);
    if (nWidth <= rcList.Width())
    {
        m_nHorzOffset = 0;
        ShowScrollBarCtrl(SB_HORZ, FALSE, NULL);
        return;
    }
    m_nHorzOffset = std::min(m_nHorzOffset, nWidth - (int)rcList.Width());
    SCROLLINFO si;
    memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = nWidth;
    si.nPage = rcList.Width();
    si.nPos = m_nHorzOffset;
    ShowScrollBarCtrl(SB_HORZ, TRUE, &si);
}

void TWKListBaseC::RecalcLayout()
{
    if (m_hWnd == NULL)
        return;
    UpdateVertScrollBar(GetContentRows());
    if (!(m_dwListStyle & LVS_NOLABELWRAP))
    {
        for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        {
            TWKListItem* pItem = (TWKListItem*)m_rows[i];
            pItem->m_bNeedsMeasure = TRUE;
            pItem->m_nHeight = -1;
        }
    }
    UpdateHorzScrollBar(GetContentWidth(NULL));
    UpdateVertScrollBar(GetContentRows());
    PositionScrollBars();
}

void TWKListBaseC::FitLabelColumn()
{
    int nLabel = -1, nOthers = 0;
    for (int c = 0; c < GetColumnCount(); ++c)
    {
        if (GetColumnPtr(c)->iSubItem == 0)
            nLabel = c;
    }
    if (nLabel < 0)
        return;
    for (int c = 0; c < GetColumnCount(); ++c)
        if (c != nLabel)
            nOthers += GetColumnPtr(c)->cx;
    CRect rcList;
    GetInsideRect(&rcList);
    GetColumnPtr(nLabel)->cx = rcList.Width() - nOthers;
}

BOOL TWKListBaseC::CheckFitLabelColumn()
{
    if (GetColumnCount() == 1 || (m_dwListStyleEx & TWKLVS_EX_FITLABELCOLUMN))
    {
        FitLabelColumn();
        return TRUE;
    }
    return FALSE;
}

void TWKListBaseC::OnSize(UINT nType, int cx, int cy)
{
    PositionScrollBars();
    if (GetColumnCount() > 0)
    {
        CheckFitLabelColumn();
        RemeasureItems();
    }
    CWnd::OnSize(nType, cx, cy);
}

// ---- Scrolling

void TWKListBaseC::ScrollVertical(int nRows, BOOL bFromBottom)
{
    if (!bFromBottom)
    {
        int nTop = m_nTopIndex + nRows;
        nTop = std::min(nTop, GetItemCount() - 1);
        nTop = std::max(nTop, 0);
        if (nTop != m_nTopIndex)
        {
            m_nTopIndex = nTop;
            if (m_hWnd)
            {
                // The bar's position now too: scroll codes that come before the
                // next paint read it.
                if (CScrollBar* pBar = (m_dwScrollBars & WS_VSCROLL) ? GetScrollBarCtrl(SB_VERT) : NULL)
                    pBar->SetScrollPos(m_nTopIndex, FALSE);
                Invalidate(TRUE);
            }
        }
        return;
    }
    int nLast = GetLastVisibleIndex(NULL);
    int h = GetRowsHeight(nLast, nLast + nRows, TRUE);
    ScrollVertical(CountRowsInHeight(h, m_nTopIndex, TRUE), FALSE);
}

void TWKListBaseC::SetTopIndex(int nRow)
{
    ScrollVertical(nRow - m_nTopIndex, FALSE);
    RecalcLayout();
}

void TWKListBaseC::ScrollHorizontal(int dx)
{
    CRect rcList;
    GetInsideRect(&rcList);
    int nMax = std::max(0, GetContentWidth(NULL) - (int)rcList.Width());
    m_nHorzOffset = std::max(0, std::min(m_nHorzOffset - dx, nMax));
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_HORZ))
        pBar->SetScrollPos(m_nHorzOffset, TRUE);
    Invalidate(FALSE);
}

BOOL TWKListBaseC::EnsureVisible(int nRow, BOOL)
{
    int nLast = GetLastVisibleIndex(NULL);
    if (nLast >= 0 && nLast < nRow)
        ScrollVertical(nRow - nLast, TRUE);
    if (nRow < m_nTopIndex)
        ScrollVertical(nRow - m_nTopIndex, FALSE);
    return TRUE;
}

BOOL TWKListBaseC::EnsureRangeVisible(int nFirst, int nLast)
{
    if (nFirst < 0 || nFirst > nLast || nLast > GetItemCount() || GetItemPtr(nLast) == NULL)
        return FALSE;
    if (nFirst >= m_nTopIndex && nLast <= GetLastVisibleIndex(NULL))
        return TRUE;
    int nHeight = ListHeight(this), nTotal = 0;
    for (int r = nFirst; r <= nLast && nTotal < nHeight; ++r)
        nTotal += RowHeight(r);
    int nTop = nFirst;
    for (int r = nFirst - 1; r >= 0 && nTotal < nHeight; --r)
    {
        int h = RowHeight(r);
        if (nTotal + h > nHeight)
            break;
        nTotal += h;
        nTop = r;
    }
    ScrollVertical(nTop - m_nTopIndex, FALSE);
    return TRUE;
}

void TWKListBaseC::OnVScroll(UINT nCode, UINT, CScrollBar* pBar)
{
    EndLabelEdit(TRUE);
    m_pTip->Hide();
    if (pBar == NULL)
        pBar = GetScrollBarCtrl(SB_VERT);
    SCROLLINFO si;
    memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    if (pBar)
        pBar->GetScrollInfo(&si, SIF_ALL);
    int nPage = (int)si.nPage;
    switch (nCode)
    {
    case SB_LINEUP:
        if (si.nPos != 0)
            ScrollVertical(-1, FALSE);
        break;
    case SB_LINEDOWN:
        if (si.nMax + 1 > nPage + si.nPos)
            ScrollVertical(1, FALSE);
        break;
    case SB_PAGEUP:
        ScrollVertical(-GetCountAbove(), FALSE);
        break;
    case SB_PAGEDOWN:
        ScrollVertical(std::min(m_nTopIndex + nPage, si.nMax - nPage + 1) - m_nTopIndex, FALSE);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // The 32-bit track position: the message's own is 16 bits.
        ScrollVertical(si.nTrackPos - si.nPos, FALSE);
        break;
    case SB_TOP:
        ScrollVertical(-m_nTopIndex, FALSE);
        break;
    case SB_BOTTOM:
        ScrollVertical(si.nMax - nPage - si.nPos + 1, FALSE);
        break;
    default:
        break;
    }
}

void TWKListBaseC::OnHScroll(UINT nCode, UINT, CScrollBar* pBar)
{
    EndLabelEdit(TRUE);
    m_pTip->Hide();
    if (pBar == NULL)
        pBar = GetScrollBarCtrl(SB_HORZ);
    SCROLLINFO si;
    memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    if (pBar)
        pBar->GetScrollInfo(&si, SIF_ALL);
    CRect rcList;
    GetInsideRect(&rcList);
    switch (nCode)
    {
    case SB_LINELEFT: ScrollHorizontal(TWKLIST_HSCROLL_STEP); break;
    case SB_LINERIGHT: ScrollHorizontal(-TWKLIST_HSCROLL_STEP); break;
    case SB_PAGELEFT: ScrollHorizontal(rcList.Width()); break;
    case SB_PAGERIGHT: ScrollHorizontal(-rcList.Width()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollHorizontal(m_nHorzOffset - si.nTrackPos); break;
    case SB_LEFT: ScrollHorizontal(m_nHorzOffset); break;
    case SB_RIGHT: ScrollHorizontal(-INT_MAX / 2); break;
    default: break;
    }
}

BOOL TWKListBaseC::OnMouseWheel(UINT, short zDelta, CPoint)
{
    m_nWheelAccum += zDelta;
    int nSteps = m_nWheelAccum / WHEEL_DELTA;
    if (nSteps == 0)
        return TRUE;
    m_pTip->Hide();
    if (m_dwScrollBars & WS_VSCROLL)
    {
        if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT))
        {
            SCROLLINFO si;
            memset(&si, 0, sizeof(si));
            pBar->GetScrollInfo(&si, SIF_ALL);
            int nPos = m_nTopIndex;
            if ((nSteps > 0 && nPos > 0) || (nSteps < 0 && nPos + (int)si.nPage < si.nMax + 1))
            {
                ScrollVertical(-nSteps, FALSE);
                pBar->SetScrollPos(m_nTopIndex, TRUE);
            }
        }
    }
    else if (m_dwScrollBars & WS_HSCROLL)
        ScrollHorizontal(nSteps * TWKLIST_HSCROLL_STEP);
    m_nWheelAccum = 0;
    return TRUE;
}

// ---- Divider drag

int TWKListBaseC::TrackColumnDivider(int x, int, int nColumn)
{
    if (::GetCapture() != NULL)
        return 0;
    TWKListColumn* pColumn = GetColumnPtr(nColumn);
    if (pColumn == NULL)
        return 0;
    SetCapture();
    UpdateWindow();
    CClientDC dc(this);
    CRect rcList, rcClient;
    GetInsideRect(&rcList);
    GetClientRect(&rcClient);
    int nLeft = GetColumnLeft(nColumn);
    int nBand = GetColumnRight(nColumn);
    CSize sizeEdge(1, 1);
    auto band = [&](int xBand) { return CRect(xBand, rcClient.top, xBand + 2, rcList.bottom); };
    CRect rcBand = band(nBand);
    dc.DrawDragRect(&rcBand, sizeEdge, NULL, sizeEdge);
    int nEnd = x;
    BOOL bQuit = FALSE;
    WPARAM nQuitCode = 0;
    for (;;)
    {
        MSG msg;
        if (::GetCapture() != m_hWnd)
            break;   // taken away: end at the current x
        if (!::GetMessage(&msg, NULL, 0, 0))
        {
            bQuit = TRUE;
            nQuitCode = msg.wParam;
            nEnd = x;
            break;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == m_hWnd)
        {
            int xMouse = (short)LOWORD(msg.lParam);
            int nNew = std::max(xMouse, nLeft + 10);
            CRect rcNew = band(nNew);
            dc.DrawDragRect(&rcNew, sizeEdge, &rcBand, sizeEdge);
            rcBand = rcNew;
            nBand = nNew;
            nEnd = xMouse;
            continue;
        }
        if (msg.message == WM_LBUTTONUP)
        {
            nEnd = (short)LOWORD(msg.lParam);
            if (msg.hwnd != m_hWnd)
            {
                CPoint pt(nEnd, (short)HIWORD(msg.lParam));
                ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
                nEnd = pt.x;
            }
            break;
        }
        if (msg.message == WM_KEYDOWN)
        {
            if (msg.wParam == VK_ESCAPE)
            {
                nEnd = x;
                break;
            }
            continue;
        }
        if (msg.message == WM_RBUTTONDOWN)
        {
            nEnd = x;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    dc.DrawDragRect(&rcBand, sizeEdge, NULL, sizeEdge);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (bQuit)
        ::PostQuitMessage((int)nQuitCode);
    return std::max(nEnd, nLeft + 10) - x;
}
