// Painting and measuring of the list: one paint context per paint and a chain
// of steps that derived classes replace one by one.
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include "framework/controls/list/TWKListPrivate.h"
#include "framework/frames/TWKOffscreenDC.h"

namespace {

CBrush* HeaderBrush()
{
    static CBrush brush;
    if (brush.GetSafeHandle() == NULL)
        brush.CreateSolidBrush(TWKListBtnFaceColor());
    return &brush;
}

CPen* GridPen()
{
    static CPen pen;
    if (pen.GetSafeHandle() == NULL)
        pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    return &pen;
}

UINT AlignFromFormat(int fmt, UINT nLeft, UINT nRight, UINT nCenter)
{
    switch (fmt & ~LVCFMT_BITMAP_ON_RIGHT)
    {
    case LVCFMT_RIGHT: return nRight;
    case LVCFMT_CENTER: return nCenter;
    default: return nLeft;
    }
}

} // namespace

void TWKListBaseC::OnPaint()
{
    CPaintDC dc(this);
    DrawList(&dc);
}

BOOL TWKListBaseC::OnEraseBkgnd(CDC*) { return TRUE; }

TWKListPaintContext* TWKListBaseC::CreatePaintContext(CDC* pDC) { return new TWKListPaintContext(pDC); }

BOOL TWKListBaseC::CreateOffscreenDC(CDC* pDC, CDC** ppTarget, const CRect& rect)
{
    *ppTarget = new TWKOffscreenDC(pDC, rect.left, rect.top, rect.right, rect.bottom);
    return TRUE;
}

void TWKListBaseC::DrawList(CDC* pDC)
{
    CRect rcList, rcClient;
    GetInsideRect(&rcList);
    GetClientRect(&rcClient);
    BOOL bReport = (m_dwListStyle & LVS_TYPEMASK) == LVS_REPORT;
    if (pDC->IsPrinting())
    {
        TWKListPaintContext* pCtx = CreatePaintContext(pDC);
        pCtx->m_nView = m_dwListStyle & LVS_TYPEMASK;
        if (bReport && IsHeaderVisible())
            DrawHeader(pCtx);
        DrawItems(pCtx);
        delete pCtx;
        return;
    }
    // The scroll bars' positions follow the content at each paint.
    if (m_dwScrollBars & WS_VSCROLL)
    {
        if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT))
            if (pBar->GetScrollPos() != m_nTopIndex)
                pBar->SetScrollPos(m_nTopIndex, TRUE);
    }
    CRect rcPaint(rcList);
    rcPaint.top = rcClient.top;
    if (!(m_dwScrollBars & WS_HSCROLL))
        rcPaint.bottom = rcClient.bottom;
    if (!(m_dwScrollBars & WS_VSCROLL))
        rcPaint.right = rcClient.right;
    CDC* pDrawDC = pDC;
    BOOL bOffscreen = FALSE;
    if (!m_bItemDrag && !m_bHeaderDrag)
        bOffscreen = CreateOffscreenDC(pDC, &pDrawDC, rcPaint);
    pDrawDC->FillSolidRect(&rcPaint, GetBkColor());
    TWKListPaintContext* pCtx = CreatePaintContext(pDrawDC);
    pCtx->m_nView = m_dwListStyle & LVS_TYPEMASK;
    pCtx->m_dwReserved = 0;
    if (bReport && IsHeaderVisible())
        DrawHeader(pCtx);
    pDrawDC->SaveDC();
    pDrawDC->IntersectClipRect(&rcList);
    DrawItems(pCtx);
    pDrawDC->RestoreDC(-1);
    if (bOffscreen)
        delete pDrawDC;
    pCtx->m_pDC = pDC;
    if ((m_dwScrollBars & (WS_HSCROLL | WS_VSCROLL)) == (WS_HSCROLL | WS_VSCROLL))
        pDC->FillSolidRect(CRect(rcList.right + 1, rcList.bottom + 1, rcClient.right, rcClient.bottom),
                           TWKListBtnFaceColor());
    delete pCtx;
}

void TWKListBaseC::DrawHeader(TWKListPaintContext* pCtx)
{
    if ((m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT)
        return;
    CDC* pDC = pCtx->m_pDC;
    CRect rcClient;
    GetClientRect(&rcClient);
    int nContent = GetContentWidth(NULL);
    CRect rc(-m_nHorzOffset, rcClient.top, std::max(nContent, rcClient.Width() + 1), rcClient.top + m_nHeaderHeight);
    if (!pDC->RectVisible(&rc))
        return;
    pDC->SaveDC();
    pDC->SelectObject(GetHeaderFont());
    pDC->FillRect(&rc, HeaderBrush());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    int nCount = GetColumnCount();
    if (nCount > 0)
    {
        int x = -m_nHorzOffset;
        for (int c = 0; c < nCount; ++c)
        {
            int cx = GetColumnPtr(c)->cx;
            if (cx > 0)
            {
                CRect rcButton(x, rc.top, x + cx, rc.bottom);
                pDC->DrawFrameControl(&rcButton, DFC_BUTTON, DFCS_BUTTONPUSH);
            }
            x += cx;
        }
        CRect rcRest(x, rc.top, std::max(x, (int)rcClient.right) + 2, rc.bottom);
        pDC->DrawFrameControl(&rcRest, DFC_BUTTON, DFCS_BUTTONPUSH);
        x = -m_nHorzOffset;
        for (int c = 0; c < nCount; ++c)
        {
            TWKListColumn* pColumn = GetColumnPtr(c);
            int right = x + pColumn->cx - 1;
            CRect rcCaption(x + 6, rc.top, right - 5, rc.bottom);
            UINT nAlign = AlignFromFormat(pColumn->fmt, 0, DT_RIGHT, DT_CENTER);
            CImageList* pImages = m_pImageLists[TWKLVSIL_HEADER];
            if (pImages && pColumn->iImage >= 0 && right - x > 22)
                DrawHeaderImage(pDC, pColumn, rcCaption, nAlign);
            if (pDC->GetTextExtent(pColumn->strText).cx > rcCaption.Width())
                nAlign |= DT_END_ELLIPSIS;
            pDC->DrawText(pColumn->strText, &rcCaption,
                          DT_NOPREFIX | DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER | nAlign);
            x = right + 1;
        }
    }
    pDC->RestoreDC(-1);
}

void TWKListBaseC::DrawHeaderImage(CDC* pDC, TWKListColumn* pColumn, CRect& rcCaption, UINT& nFormat)
{
    int w = pDC->GetTextExtent(pColumn->strText).cx;
    int x = rcCaption.left;
    if (nFormat & DT_RIGHT)
        x = rcCaption.right - w - 26;
    else if (nFormat & DT_CENTER)
        x = rcCaption.left + (rcCaption.Width() - w - 26) / 2;
    BOOL bRight = (pColumn->fmt & LVCFMT_BITMAP_ON_RIGHT) != 0;
    if (bRight)
        x = std::min(x + w + 10, (int)rcCaption.right - 16);
    x = std::max(x, (int)rcCaption.left);
    CImageList* pImages = m_pImageLists[TWKLVSIL_HEADER];
    ::ImageList_DrawEx(pImages->GetSafeHandle(), pColumn->iImage, pDC->GetSafeHdc(), x, rcCaption.top + 1, 16, 16,
                       CLR_NONE, CLR_NONE, ILD_NORMAL);
    if (bRight)
    {
        rcCaption.right = x - 10;
        nFormat = DT_RIGHT;
    }
    else
    {
        rcCaption.left = x + 26;
        nFormat = 0;
    }
}

void TWKListBaseC::DrawHeaderItem(int nColumn, BOOL bPressed)
{
    TWKListColumn* pColumn = GetColumnPtr(nColumn);
    if (pColumn == NULL || m_hWnd == NULL)
        return;
    CClientDC dc(this);
    CRect rc(GetColumnLeft(nColumn), 0, GetColumnRight(nColumn), m_nHeaderHeight);
    if (m_dwScrollBars & WS_VSCROLL)
    {
        CRect rcList;
        GetInsideRect(&rcList);
        dc.IntersectClipRect(0, 0, rcList.right + 1, m_nHeaderHeight);
    }
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    dc.DrawFrameControl(&rc, DFC_BUTTON, bPressed ? (DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_FLAT) : DFCS_BUTTONPUSH);
    CRect rcCaption(rc.left + 6, 0, rc.right - 6, m_nHeaderHeight);
    if (bPressed)
        rcCaption.OffsetRect(1, 1);
    dc.SelectObject(GetHeaderFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    UINT nAlign = AlignFromFormat(pColumn->fmt, 0, DT_RIGHT, DT_CENTER);
    if (m_pImageLists[TWKLVSIL_HEADER] && pColumn->iImage >= 0 && rc.Width() > 22)
        DrawHeaderImage(&dc, pColumn, rcCaption, nAlign);
    if (dc.GetTextExtent(pColumn->strText).cx > rcCaption.Width())
        nAlign |= DT_END_ELLIPSIS;
    dc.DrawText(pColumn->strText, &rcCaption, DT_NOPREFIX | DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER | nAlign);
}

CImageList* TWKListBaseC::CreateHeaderDragImage(int nColumn)
{
    TWKListColumn* pColumn = GetColumnPtr(nColumn);
    if (pColumn == NULL || pColumn->cx <= 0)
        return NULL;
    CClientDC dcScreen(this);
    CDC dc;
    dc.CreateCompatibleDC(&dcScreen);
    CBitmap bitmap;
    int cx = pColumn->cx, cy = m_nHeaderHeight + 1;
    bitmap.CreateCompatibleBitmap(&dcScreen, cx, cy);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    dc.FillSolidRect(0, 0, cx, cy, crFace);
    dc.FillSolidRect(0, 2, cx, cy - 2, RGB(0x6E, 0x6E, 0x6E));
    dc.SelectObject(GetHeaderFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    CRect rcCaption(6, 0, cx - 6, m_nHeaderHeight);
    UINT nAlign = AlignFromFormat(pColumn->fmt, 0, DT_RIGHT, DT_CENTER);
    if (m_pImageLists[TWKLVSIL_HEADER] && pColumn->iImage >= 0 && cx > 33)
        DrawHeaderImage(&dc, pColumn, rcCaption, nAlign);
    dc.DrawText(pColumn->strText, &rcCaption,
                DT_NOPREFIX | DT_SINGLELINE | DT_EXPANDTABS | DT_VCENTER | DT_END_ELLIPSIS | nAlign);
    dc.SelectObject(pOld);
    CImageList* pList = new CImageList;
    if (!pList->Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1) || pList->Add(&bitmap, crFace) < 0)
    {
        delete pList;
        return NULL;
    }
    return pList;
}

// ---- Rows

void TWKListBaseC::DrawItems(TWKListPaintContext* pCtx)
{
    CDC* pDC = pCtx->m_pDC;
    CRect rcList;
    GetInsideRect(&rcList);
    int nCount = GetItemCount();
    int nView = m_dwListStyle & LVS_TYPEMASK;
    if (pDC->IsPrinting())
    {
        int nLast = GetLastVisibleIndex(pCtx);
        nCount = std::min(nCount, nLast + 1);
    }
    int nContent = GetContentWidth(pCtx);
    if (nView == LVS_REPORT)
    {
        int y = rcList.top;
        for (int nRow = m_nTopIndex; nRow < nCount; ++nRow)
        {
            if (y > rcList.bottom)
                break;
            TWKListItem* pItem = GetItemPtr(nRow);
            pCtx->m_pItem = pItem;
            pCtx->m_item.iItem = nRow;
            if (pItem->m_bNeedsMeasure)
                MeasureItem(pCtx);
            CRect rcRow(-m_nHorzOffset, y + GetRowSpacing(), -m_nHorzOffset + nContent, 0);
            rcRow.bottom = rcRow.top + std::max(pItem->m_nHeight, 0);
            pCtx->m_rcCell = rcRow;
            if (pDC->IsPrinting() || pDC->RectVisible(&rcRow))
                DrawItem(pCtx);
            y = rcRow.bottom;
        }
    }
    else if (nView == LVS_ICON)
    {
        TWKListColumn* pColumn = GetColumnPtr(0);
        int cx = pColumn ? std::max(pColumn->cx, 1) : rcList.Width();
        int x = rcList.left, y = rcList.top, nLine = 0;
        for (int nRow = m_nTopIndex; nRow < nCount && y <= rcList.bottom; ++nRow)
        {
            TWKListItem* pItem = GetItemPtr(nRow);
            pCtx->m_pItem = pItem;
            pCtx->m_item.iItem = nRow;
            if (pItem->m_bNeedsMeasure)
                MeasureItem(pCtx);
            if (x + cx > rcList.right && x > rcList.left)
            {
                x = rcList.left;
                y += nLine;
                nLine = 0;
            }
            CRect rcCell(x, y, x + cx, y + std::max(pItem->m_nHeight, 0));
            pCtx->m_rcCell = rcCell;
            if (pDC->IsPrinting() || pDC->RectVisible(&rcCell))
                DrawItem(pCtx);
            nLine = std::max(nLine, rcCell.Height());
            x += cx;
        }
    }
}

void TWKListBaseC::DrawItem(TWKListPaintContext* pCtx)
{
    int nRow = pCtx->m_item.iItem;
    TWKListItem* pItem = pCtx->m_pItem;
    CDC* pDC = pCtx->m_pDC;
    CRect rcRow = pCtx->m_rcCell;
    if (ItemHasCallbacks(nRow))
    {
        pItem->m_bNeedsMeasure = TRUE;
        MeasureItem(pCtx);
        rcRow.bottom = rcRow.top + std::max(pItem->m_nHeight, 0);
    }
    int nCount = GetColumnCount();
    int x = rcRow.left;
    for (int c = 0; c < nCount; ++c)
    {
        TWKListColumn* pColumn = GetColumnPtr(c);
        int cx = pColumn->cx;
        if (nCount == 1)
            cx = std::max(cx, (int)pItem->m_rcLabel.right);
        CRect rcCell(x, rcRow.top, x + cx, rcRow.bottom);
        if ((m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT)
            rcCell = pCtx->m_rcCell;
        if (pDC->IsPrinting() || pDC->RectVisible(&rcCell))
        {
            pCtx->m_pItem = pItem;
            pCtx->m_item.iItem = nRow;
            pCtx->m_nColumn = c;
            pCtx->m_pColumn = pColumn;
            pCtx->m_item.iSubItem = pColumn->iSubItem;
            pCtx->m_pSubItem = pColumn->iSubItem > 0 ? pItem->GetSubItem(pColumn->iSubItem) : NULL;
            pCtx->m_rcCell = rcCell;
            if (PreparePaintContext(pCtx))
                DrawSubItem(pCtx);
        }
        x += cx;
    }
    pCtx->m_rcCell = rcRow;
    if ((m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT)
        return;
    if ((m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT) && nRow == m_nFocusRow && ::GetFocus() == m_hWnd &&
        nCount >= 2)
    {
        CRect rcFocus(pItem->m_rcLabel.left - m_nHorzOffset - 3, rcRow.top, rcRow.right, rcRow.bottom);
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetBkColor(RGB(255, 255, 255));
        pDC->DrawFocusRect(&rcFocus);
    }
    if (m_dwListStyleEx & TWKLVS_EX_VERTGRID)
        DrawVertGridLines(pDC, nRow, rcRow);
    if (m_dwListStyleEx & TWKLVS_EX_HORZGRID)
        DrawHorzGridLines(pDC, nRow, rcRow);
}

BOOL TWKListBaseC::PreparePaintContext(TWKListPaintContext* pCtx)
{
    LVITEMA& item = pCtx->m_item;
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.pszText = m_pszTextBuffer;
    item.cchTextMax = TWKLIST_TEXTBUFFER;
    m_pszTextBuffer[0] = 0;
    pCtx->m_nView = m_dwListStyle & LVS_TYPEMASK;
    if (pCtx->m_pItem)
        item.iImage = pCtx->m_pItem->m_nImage;
    if (!GetItem(&item, FALSE, TRUE))
        return FALSE;
    if (item.pszText == LPSTR_TEXTCALLBACK)
        item.pszText = NULL;
    if (item.mask & LVIF_DI_SETITEM)
    {
        LVITEMA copy = item;
        SetItem(&copy, FALSE);
    }
    PickFillColor(pCtx);
    PickLabelBkColor(pCtx);
    PickItemColors(pCtx);
    PickItemFont(pCtx);
    return TRUE;
}

void TWKListBaseC::PickFillColor(TWKListPaintContext* pCtx) { pCtx->m_crFill = GetBkColor(); }

void TWKListBaseC::PickLabelBkColor(TWKListPaintContext* pCtx)
{
    if (m_hWnd && !IsWindowEnabled())
        pCtx->m_crLabelBk = GetBkColor();
    else if ((pCtx->m_item.state & LVIS_SELECTED) && ::GetFocus() == m_hWnd)
        pCtx->m_crLabelBk = m_crFocusLabelBk;
    else
        pCtx->m_crLabelBk = m_crLabelBk;
}

void TWKListBaseC::PickItemColors(TWKListPaintContext* pCtx)
{
    BOOL bGrey = (pCtx->m_exState.state & TWKLIS_EX_GRAYTEXT) != 0;
    auto grey = [&](COLORREF cr) { return bGrey ? m_crGrayText : cr; };
    BOOL bSubCell = pCtx->m_item.iSubItem > 0 && !(m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT);
    if (m_hWnd && !IsWindowEnabled())
    {
        pCtx->m_crText = m_crGrayText;
        pCtx->m_crTextBk = TWKListMenuColor();
        return;
    }
    BOOL bFocus = m_hWnd && ::GetFocus() == m_hWnd;
    if ((pCtx->m_item.state & LVIS_SELECTED) && (bFocus || (m_dwListStyle & LVS_SHOWSELALWAYS)))
    {
        if (bSubCell)
        {
            pCtx->m_crText = grey(m_crText);
            pCtx->m_crTextBk = m_crCellBk;
        }
        else if (!bFocus && m_nEditRow == -1)
        {
            pCtx->m_crText = TWKListMenuTextColor();
            pCtx->m_crTextBk = TWKListMenuColor();
        }
        else
        {
            pCtx->m_crText = grey(m_crSelText);
            pCtx->m_crTextBk = m_crSelBk;
        }
    }
    else
    {
        pCtx->m_crText = grey(m_crText);
        pCtx->m_crTextBk = m_crCellBk;
    }
    if (pCtx->m_item.iItem == m_nDropRow && !bSubCell)
    {
        pCtx->m_crText = m_crSelText;
        pCtx->m_crTextBk = m_crSelBk;
    }
}

void TWKListBaseC::PickItemFont(TWKListPaintContext* pCtx) { pCtx->m_pFont = GetItemFont(); }

CPen* TWKListBaseC::GetHorzGridPen() { return GridPen(); }
CPen* TWKListBaseC::GetVertGridPen() { return GridPen(); }

void TWKListBaseC::DrawSubItem(TWKListPaintContext* pCtx)
{
    pCtx->m_pDC->FillSolidRect(&pCtx->m_rcCell, pCtx->m_crFill);
    if (pCtx->m_item.pszText == NULL)
        return;
    if (pCtx->m_item.iSubItem == 0)
        DrawItemIcon(pCtx);
    DrawItemText(pCtx);
}

void TWKListBaseC::DrawItemIcon(TWKListPaintContext* pCtx)
{
    BOOL bIconView = pCtx->m_nView == LVS_ICON;
    CImageList* pImages = m_pImageLists[bIconView ? LVSIL_NORMAL : LVSIL_SMALL];
    if (pImages == NULL || pImages->GetSafeHandle() == NULL)
        return;
    const CRect& rcIcon = pCtx->m_pItem->m_rcIcon;
    const CRect& rcCell = pCtx->m_rcCell;
    int x = rcCell.left + rcIcon.left;
    if (bIconView)
        x = rcCell.left + (rcCell.Width() - rcIcon.Width()) / 2;
    ::ImageList_Draw(pImages->GetSafeHandle(), pCtx->m_item.iImage, pCtx->m_pDC->GetSafeHdc(), x,
                     rcCell.top + rcIcon.top, ILD_NORMAL);
}

void TWKListBaseC::DrawItemText(TWKListPaintContext* pCtx)
{
    CDC* pDC = pCtx->m_pDC;
    const CRect& rcCell = pCtx->m_rcCell;
    TWKListItem* pItem = pCtx->m_pItem;
    BOOL bLabel = pCtx->m_item.iSubItem == 0;
    CRect rcTextMeasured = bLabel ? pItem->m_rcLabel : (pCtx->m_pSubItem ? pCtx->m_pSubItem->m_rcText : CRect());
    CRect rcHigh(rcCell.left, rcCell.top, rcCell.left + rcTextMeasured.Width(), rcCell.bottom);
    CRect rcText(rcCell.left + 6, rcCell.top, rcCell.right - 5, rcCell.bottom);
    const CRect& rcIcon = pItem->m_rcIcon;
    if (bLabel && !rcIcon.IsRectEmpty())
    {
        if (pCtx->m_nView == LVS_REPORT)
        {
            rcText.SetRect(rcCell.left + rcIcon.right + 4, rcCell.top + 3,
                           rcCell.left + rcIcon.right + 4 + rcTextMeasured.Width(), rcCell.bottom);
            rcHigh.SetRect(rcCell.left + rcIcon.right + 2, rcCell.top + rcIcon.top, rcText.right + 2,
                           rcCell.top + rcIcon.bottom);
        }
        else
        {
            rcText = rcTextMeasured;
            rcText.OffsetRect(rcCell.left, rcCell.top);
            rcHigh = rcText;
            rcHigh.InflateRect(2, 2);
        }
    }
    BOOL bSelected = (pCtx->m_item.state & LVIS_SELECTED) != 0;
    if ((m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT) && bSelected)
        pDC->FillSolidRect(CRect(rcHigh.left, rcHigh.top, rcCell.right, rcHigh.bottom), pCtx->m_crTextBk);
    else if (bLabel)
        pDC->FillSolidRect(&rcHigh, pCtx->m_crTextBk);
    UINT nFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER;
    if (pCtx->m_pColumn)
        nFormat |= AlignFromFormat(pCtx->m_pColumn->fmt, 0, DT_RIGHT, DT_CENTER);
    if (m_dwListStyle & LVS_NOLABELWRAP)
        nFormat |= DT_END_ELLIPSIS | DT_SINGLELINE;
    BOOL bEdited = pCtx->m_item.iItem == m_nEditRow && pCtx->m_nColumn == m_nCurColumn;
    if (bEdited)
        return;
    int nSaved = pDC->SaveDC();
    if (pCtx->m_pFont)
        pDC->SelectObject(pCtx->m_pFont);
    pDC->SetTextColor(pCtx->m_crText);
    pDC->SetBkColor(pCtx->m_crLabelBk);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(pCtx->m_item.pszText, -1, &rcText, nFormat);
    pDC->RestoreDC(nSaved);
}

void TWKListBaseC::DrawHorzGridLines(CDC* pDC, int, const CRect& rcRow)
{
    CPen* pOld = pDC->SelectObject(GetHorzGridPen());
    pDC->MoveTo(rcRow.left, rcRow.bottom - 1);
    pDC->LineTo(rcRow.right, rcRow.bottom - 1);
    pDC->SelectObject(pOld);
}

void TWKListBaseC::DrawVertGridLines(CDC* pDC, int nRow, const CRect& rcRow)
{
    CPen* pOld = pDC->SelectObject(GetVertGridPen());
    int nCount = GetColumnCount();
    int nLines = (m_dwListStyleEx & TWKLVS_EX_FITLABELCOLUMN) ? nCount - 1 : nCount;
    int x = -m_nHorzOffset, nLabelRight = -1, nLastRight = -1;
    for (int c = 0; c < nCount; ++c)
    {
        x += GetColumnPtr(c)->cx;
        if (GetColumnPtr(c)->iSubItem == 0)
            nLabelRight = x;
        if (c < nLines)
        {
            pDC->MoveTo(x, rcRow.top);
            pDC->LineTo(x, rcRow.bottom);
            nLastRight = x;
        }
    }
    pDC->SelectObject(GetHorzGridPen());
    if (nRow == GetItemCount() - 1)
    {
        pDC->MoveTo(rcRow.left, rcRow.bottom - 1);
        pDC->LineTo(rcRow.right, rcRow.bottom - 1);
    }
    for (int xLine : { nLabelRight, nLastRight })
    {
        if (xLine >= 0)
        {
            pDC->MoveTo(xLine, rcRow.top);
            pDC->LineTo(xLine, rcRow.bottom);
        }
    }
    pDC->SelectObject(pOld);
}

// ---- Measuring

void TWKListBaseC::MeasureItem(TWKListPaintContext* pCtx)
{
    TWKListItem* pItem = pCtx->m_pItem;
    if (pItem == NULL || !pItem->m_bNeedsMeasure)
        return;
    if (pItem->m_nHeight == -1)
        pItem->m_nHeight = 0;
    int nRow = pCtx->m_item.iItem;
    int nCount = GetColumnCount();
    for (int c = 0; c < nCount; ++c)
    {
        TWKListColumn* pColumn = GetColumnPtr(c);
        pCtx->m_item.iItem = nRow;
        pCtx->m_pItem = pItem;
        pCtx->m_nColumn = c;
        pCtx->m_pColumn = pColumn;
        pCtx->m_item.iSubItem = pColumn->iSubItem;
        pCtx->m_pSubItem = pColumn->iSubItem > 0 ? pItem->GetSubItem(pColumn->iSubItem) : NULL;
        if (!PreparePaintContext(pCtx))
            continue;
        int nHeight = 0;
        MeasureCell(pCtx, &nHeight);
        pItem->m_nHeight = std::max(pItem->m_nHeight, nHeight);
    }
    pItem->m_bNeedsMeasure = FALSE;
}

void TWKListBaseC::MeasureCell(TWKListPaintContext* pCtx, int* pnHeight)
{
    int nView = m_dwListStyle & LVS_TYPEMASK;
    if (nView != LVS_REPORT && nView != LVS_ICON)
    {
        *pnHeight = 0;
        return;
    }
    CRect rcIcon(0, 0, 0, 0), rcText(0, 0, 0, 0);
    if (pCtx->m_item.pszText != NULL)
    {
        if (pCtx->m_item.iSubItem == 0)
        {
            MeasureCellIcon(pCtx, &rcIcon);
            pCtx->m_pItem->m_rcIcon = rcIcon;
        }
        MeasureCellText(pCtx, &rcText);
    }
    if (nView == LVS_ICON)
        *pnHeight = rcText.Height() + rcIcon.Height() + 5;
    else
        *pnHeight = std::max(rcIcon.Height(), rcText.Height());
}

void TWKListBaseC::MeasureCellIcon(TWKListPaintContext* pCtx, LPRECT lpRect)
{
    CImageList* pImages = m_pImageLists[pCtx->m_nView == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL];
    int cx = 0, cy = 0;
    if (pImages && pImages->GetSafeHandle() && ::ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy))
        ::SetRect(lpRect, 2, 2, cx + 2, cy + 2);
    else
        ::SetRectEmpty(lpRect);
}

void TWKListBaseC::MeasureCellText(TWKListPaintContext* pCtx, LPRECT lpRect)
{
    CDC* pDC = pCtx->m_pDC;
    int nSaved = pDC->SaveDC();
    if (pCtx->m_pFont)
        pDC->SelectObject(pCtx->m_pFont);
    int cx = pCtx->m_pColumn ? pCtx->m_pColumn->cx : 0;
    CRect rc(0, 0, std::max(cx, 1), 0);
    UINT nFormat = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK;
    if (pCtx->m_pColumn)
        nFormat |= AlignFromFormat(pCtx->m_pColumn->fmt, 0, DT_RIGHT, DT_CENTER);
    LPCSTR psz = pCtx->m_item.pszText;
    int nLen = (int)strlen(psz);
    if (m_dwListStyle & LVS_NOLABELWRAP)
    {
        const char* pLF = strchr(psz, '\n');
        if (pLF)
            nLen = (int)(pLF - psz);
        nFormat |= DT_SINGLELINE;
        nFormat &= ~DT_WORDBREAK;
    }
    if (nLen == 0)
    {
        // An empty text is one line high.
        TEXTMETRICA tm;
        pDC->GetTextMetrics(&tm);
        rc.right = rc.left;
        rc.bottom = tm.tmHeight;
    }
    else
        ::DrawTextA(pDC->m_hAttribDC ? pDC->m_hAttribDC : pDC->GetSafeHdc(), psz, nLen, &rc, nFormat);
    pDC->RestoreDC(nSaved);
    CRect rcIcon = pCtx->m_pItem ? pCtx->m_pItem->m_rcIcon : CRect(0, 0, 0, 0);
    if (pCtx->m_item.iSubItem == 0 && !rcIcon.IsRectEmpty())
    {
        if (pCtx->m_nView == LVS_ICON)
            rc.OffsetRect(8, rcIcon.bottom + 2);
        else
            rc.OffsetRect(rcIcon.right + 5, (rcIcon.Height() - rc.Height()) / 2);
    }
    else
        rc.OffsetRect(6, 2);
    *lpRect = rc;
    if (pCtx->m_item.iSubItem == 0)
        pCtx->m_pItem->m_rcLabel = rc;
    else if (pCtx->m_pSubItem)
        pCtx->m_pSubItem->m_rcText = rc;
}

CDC* TWKListBaseC::GetDrawDC(BOOL* pbDelete)
{
    *pbDelete = TRUE;
    return new CClientDC(this);
}

void TWKListBaseC::UpdateItemMetrics(int nRow, TWKListPaintContext* pCtx)
{
    TWKListItem* pItem = GetItemPtr(nRow);
    if (pItem == NULL)
        return;
    BOOL bDelete = FALSE;
    CDC* pDC = NULL;
    TWKListPaintContext* pOwn = NULL;
    if (pCtx == NULL)
    {
        pDC = GetDrawDC(&bDelete);
        pCtx = pOwn = CreatePaintContext(pDC);
    }
    pCtx->m_item.iItem = nRow;
    pCtx->m_pItem = pItem;
    pCtx->m_item.iSubItem = 0;
    pCtx->m_pSubItem = NULL;
    pCtx->m_pColumn = GetColumnPtr(0);
    pCtx->m_nColumn = 0;
    if (PreparePaintContext(pCtx))
        MeasureItem(pCtx);
    delete pOwn;
    if (bDelete)
        delete pDC;
}

void TWKListBaseC::RemeasureItems()
{
    BOOL bWrap = !(m_dwListStyle & LVS_NOLABELWRAP);
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
    {
        TWKListItem* pItem = (TWKListItem*)m_rows[i];
        pItem->m_bNeedsMeasure = TRUE;
        if (bWrap)
            pItem->m_nHeight = -1;
    }
    if (m_hWnd)
        RecalcLayout();
}

void TWKListBaseC::RemeasureItem(int nRow)
{
    TWKListItem* pItem = GetItemPtr(nRow);
    if (pItem == NULL)
        return;
    pItem->m_bNeedsMeasure = TRUE;
    InvalidateItem(nRow, FALSE, TRUE, FALSE, FALSE);
}

// ---- Invalidation

void TWKListBaseC::InvalidateItem(int nRow, BOOL bLabelOnly, BOOL bErase, BOOL bToEnd, BOOL bUpdateNow)
{
    if (m_hWnd == NULL || nRow < m_nTopIndex || nRow >= GetItemCount())
        return;
    CRect rcList;
    GetInsideRect(&rcList);
    // A row below the list area has nothing to invalidate: stop stacking there.
    int nTop = GetRowTop(nRow, rcList.bottom);
    if (nTop > rcList.bottom)
        return;
    TWKListItem* pItem = GetItemPtr(nRow);
    if (pItem->m_bNeedsMeasure)
        UpdateItemMetrics(nRow);
    int nWidth = std::max(GetContentWidth(NULL), rcList.Width());
    CRect rc(rcList.left - m_nHorzOffset, nTop, rcList.left - m_nHorzOffset + nWidth,
             nTop + RowHeight(nRow));
    if (bToEnd)
    {
        rc.bottom = std::max(rc.bottom, (LONG)rcList.bottom);
        if (!bErase)
        {
            CClientDC dc(this);
            dc.FillSolidRect(CRect(rc.left, rc.top + RowHeight(nRow), rc.right, rc.bottom), GetBkColor());
        }
    }
    if (bLabelOnly && !(m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT))
    {
        int nLeft = rc.left + pItem->m_rcLabel.left - 3;
        rc.left = nLeft;
        rc.right = nLeft + pItem->m_rcLabel.Width() + 6;
    }
    if (bUpdateNow)
        RedrawWindow(&rc, NULL, RDW_INVALIDATE | RDW_UPDATENOW | (bErase ? RDW_ERASE : 0));
    else
        InvalidateRect(&rc, bErase);
}

void TWKListBaseC::InvalidateItemRange(int nFrom, int nTo)
{
    if (m_hWnd == NULL)
        return;
    if (nFrom > nTo)
        std::swap(nFrom, nTo);
    nFrom = std::max(nFrom, m_nTopIndex);
    if (nFrom > nTo || nFrom >= GetItemCount())
        return;
    CRect rcList;
    GetInsideRect(&rcList);
    int nTop = GetRowTop(nFrom, rcList.bottom);
    if (nTop > rcList.bottom)
        return;
    int nBottom = nTop;
    for (int r = nFrom; r <= nTo && r < GetItemCount() && nBottom <= rcList.bottom; ++r)
        nBottom += RowHeight(r);
    CRect rc(-m_nHorzOffset, nTop, rcList.right, std::min(nBottom, (int)rcList.bottom + 1));
    InvalidateRect(&rc, TRUE);
}
