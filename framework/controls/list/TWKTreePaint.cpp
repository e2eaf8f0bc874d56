// Column 0 of the tree: measuring and drawing the indentation, state image,
// item image, dotted lines, button and label of each row, and hit testing
// with the same geometry.
#include "framework/controls/list/TWKTreeCtrl.h"
#include "framework/controls/list/TWKListEdit.h"

namespace {

// Made once per process.
CPen* TextPen()
{
    static CPen pen;
    if (pen.GetSafeHandle() == NULL)
        pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWTEXT));
    return &pen;
}

CPen* ShadowPen()
{
    static CPen pen;
    if (pen.GetSafeHandle() == NULL)
        pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    return &pen;
}

const char MARKER[] = "\\{HI}";
const int MARKER_LEN = 5;

// The text before and after the marker; FALSE when there is none.
BOOL SplitMarker(LPCSTR psz, CString* pFirst, CString* pSecond)
{
    const char* p = strstr(psz, MARKER);
    if (p == NULL)
        return FALSE;
    *pFirst = CString(psz, (int)(p - psz));
    *pSecond = CString(p + MARKER_LEN);
    return TRUE;
}

HDC MeasureDC(CDC* pDC) { return pDC->m_hAttribDC ? pDC->m_hAttribDC : pDC->GetSafeHdc(); }

} // namespace

TWKTreePaintContext::TWKTreePaintContext(CDC* pDC) : TWKListPaintContext(pDC), m_bMarker(FALSE), m_nFirstWidth(0)
{
    memset(&m_tvItem, 0, sizeof(m_tvItem));
}

TWKTreePaintContext::~TWKTreePaintContext() {}

TWKListPaintContext* TWKTreeBaseC::CreatePaintContext(CDC* pDC) { return new TWKTreePaintContext(pDC); }

// ---- Preparing a row

BOOL TWKTreeBaseC::PreparePaintContext(TWKListPaintContext* pCtx)
{
    TWKTreePaintContext* pTree = dynamic_cast<TWKTreePaintContext*>(pCtx);
    if (pCtx->m_item.iSubItem != 0 || pTree == NULL)
        return TWKListCtrl::PreparePaintContext(pCtx);
    int nRow = pCtx->m_item.iItem;
    _Node* pNode = GetRowNode(nRow);
    if (pNode == NULL)
        return FALSE;
    TVITEMA& tv = pTree->m_tvItem;
    tv = pNode->m_item;
    tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_HANDLE | TVIF_SELECTEDIMAGE;
    tv.hItem = reinterpret_cast<HTREEITEM>(pNode);
    tv.stateMask = 0xFFFF;
    tv.pszText = m_pszTextBuffer;
    tv.cchTextMax = TWKLIST_TEXTBUFFER;
    m_pszTextBuffer[0] = 0;
    GetItem(&tv, FALSE, TRUE);
    if (tv.pszText == NULL || tv.pszText == LPSTR_TEXTCALLBACKA)
        tv.pszText = m_pszTextBuffer;
    UINT nState = tv.state & (TVIS_SELECTED | TVIS_CUT | TVIS_DROPHILITED);
    if (tv.state & TVIS_OVERLAYMASK)
        nState |= tv.state & TVIS_OVERLAYMASK;
    if (tv.state & TVIS_STATEIMAGEMASK)
        nState |= tv.state & TVIS_STATEIMAGEMASK;
    if (GetFocusItem() == nRow)
        nState |= LVIS_FOCUSED;
    pCtx->m_item.mask = LVIF_TEXT | LVIF_STATE | LVIF_IMAGE;
    pCtx->m_item.state = nState;
    pCtx->m_item.stateMask = 0xFFFF;
    pCtx->m_item.pszText = tv.pszText;
    pCtx->m_item.iImage = tv.iImage;
    pCtx->m_nView = m_dwListStyle & LVS_TYPEMASK;
    TWKListExState ex = { 1, 0, TWKTVIS_EX_DISABLED | TWKTVIS_EX_HIDDEN };
    GetItemExState(&tv, &ex, TRUE);
    pCtx->m_exState = ex;
    if (!m_bMeasuring)
    {
        PickFillColor(pCtx);
        PickLabelBkColor(pCtx);
        PickItemColors(pCtx);
    }
    PickItemFont(pCtx);
    return TRUE;
}

void TWKTreeBaseC::MeasureItem(TWKListPaintContext* pCtx)
{
    BOOL bWas = m_bMeasuring;
    m_bMeasuring = TRUE;
    TWKListCtrl::MeasureItem(pCtx);
    m_bMeasuring = bWas;
}

// Measuring picks no colours: the row is prepared (and measured) without asking for the focus.
void TWKTreeBaseC::UpdateItemMetrics(int nRow, TWKListPaintContext* pCtx)
{
    BOOL bWas = m_bMeasuring;
    m_bMeasuring = TRUE;
    TWKListCtrl::UpdateItemMetrics(nRow, pCtx);
    m_bMeasuring = bWas;
}

// One memory DC for all measuring outside painting: no window DC per row.
CDC* TWKTreeBaseC::GetDrawDC(BOOL* pbDelete)
{
    if (m_pMeasureDC == NULL && m_hWnd)
    {
        CClientDC dc(this);
        CDC* pDC = new CDC;
        if (pDC->CreateCompatibleDC(&dc))
            m_pMeasureDC = pDC;
        else
            delete pDC;
    }
    if (m_pMeasureDC == NULL)
        return TWKListCtrl::GetDrawDC(pbDelete);
    *pbDelete = FALSE;
    return m_pMeasureDC;
}

void TWKTreeBaseC::PickItemFont(TWKListPaintContext* pCtx)
{
    pCtx->m_pFont = GetItemFont();
    TWKTreePaintContext* pTree = dynamic_cast<TWKTreePaintContext*>(pCtx);
    if (pTree == NULL || pCtx->m_item.iSubItem != 0 || !(pTree->m_tvItem.state & TVIS_BOLD) || pCtx->m_pFont == NULL)
        return;
    LOGFONTA lf;
    if (!pCtx->m_pFont->GetLogFont(&lf))
        return;
    lf.lfWeight = FW_BOLD;
    // The previous bold copy is selected nowhere: every step selects fonts inside SaveDC/RestoreDC.
    pTree->m_fontBold.DeleteObject();
    if (pTree->m_fontBold.CreateFontIndirect(&lf))
        pCtx->m_pFont = &pTree->m_fontBold;
}

// ---- Measuring

static int TreeLevel(_Node* pNode) { return pNode ? (int)pNode->GetLevel() - 1 : 0; }

void TWKTreeBaseC::MeasureCell(TWKListPaintContext* pCtx, int* pnHeight)
{
    TWKTreePaintContext* pTree = dynamic_cast<TWKTreePaintContext*>(pCtx);
    if (pCtx->m_item.iSubItem != 0 || pTree == NULL || pCtx->m_pItem == NULL)
    {
        TWKListCtrl::MeasureCell(pCtx, pnHeight);
        return;
    }
    TWKListItem* pItem = pCtx->m_pItem;
    _Node* pNode = GetRowNode(pCtx->m_item.iItem);
    int L = TreeLevel(pNode);
    int X = L * m_nIndent;
    if ((m_dwTreeStyle & TVS_LINESATROOT) && (m_dwTreeStyle & (TVS_HASBUTTONS | TVS_HASLINES)))
        X += m_nIndent;
    CRect rcState(X, 0, X, 0), rcIcon(X, 0, X, 0);
    int nStart = X + 6;
    IMAGEINFO info;
    CImageList* pState = GetImageList(LVSIL_STATE);
    CImageList* pImages = GetImageList(LVSIL_NORMAL);
    int nStateImage = (pTree->m_tvItem.state & TVIS_STATEIMAGEMASK) >> 12;
    BOOL bState = FALSE;
    if (pState && pState->GetSafeHandle() && nStateImage != 0 && pState->GetImageInfo(nStateImage, &info))
    {
        bState = TRUE;
        rcState.SetRect(X, 0, X + info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
        rcIcon.SetRect(X, 0, X, rcState.bottom);
        nStart = rcState.right + 6;
    }
    if (pImages && pImages->GetSafeHandle() && pTree->m_tvItem.iImage != _Node::NO_IMAGE &&
        pImages->GetImageInfo(pTree->m_tvItem.iImage, &info))
    {
        int cx = info.rcImage.right - info.rcImage.left, cy = info.rcImage.bottom - info.rcImage.top;
        if (!bState)
            rcState.SetRect(X, 0, X, cy);
        rcIcon.SetRect(rcState.right, 0, rcState.right + cx, cy);
        nStart = rcIcon.right + 6;
    }
    int nLimit;
    if (GetColumnCount() < 2)
    {
        if (IsLabelWrapEnabled() && m_hWnd)
        {
            CRect rcInside;
            GetInsideRect(&rcInside);
            nLimit = rcInside.Width() - 5;
        }
        else
            nLimit = 10000 - 5;
    }
    else
        nLimit = GetColumnWidth(0) - 5;
    CRect rcLabel(nStart, 0, std::max(nStart + 1, nLimit), 0);
    // Measured in the tree's memory DC: a window DC answers the same far more slowly.
    CDC* pDC = pCtx->m_pDC;
    if (!pDC->IsPrinting())
    {
        BOOL bDelete = FALSE;
        CDC* pMeasure = GetDrawDC(&bDelete);
        if (!bDelete)
            pDC = pMeasure;
        else
            delete pMeasure;
    }
    HGDIOBJ hOld = pCtx->m_pFont ? ::SelectObject(pDC->GetSafeHdc(), pCtx->m_pFont->GetSafeHandle()) : NULL;
    MeasureLabel(pDC, pTree, pCtx->m_item.pszText ? pCtx->m_item.pszText : "", &rcLabel);
    if (hOld)
        ::SelectObject(pDC->GetSafeHdc(), hOld);
    int nHeight = std::max({ (int)rcState.Height(), (int)rcIcon.Height(), (int)rcLabel.Height(), *pnHeight });
    nHeight += nHeight & 1;
    if (rcLabel.Height() < nHeight)
        rcLabel.OffsetRect(0, (nHeight - rcLabel.Height()) / 2);
    pItem->m_rcStateIcon = rcState;
    pItem->m_rcIcon = rcIcon;
    pItem->m_rcLabel = rcLabel;
    *pnHeight = nHeight;
}

void TWKTreeBaseC::MeasureLabel(CDC* pDC, TWKTreePaintContext* pBlock, LPCSTR lpszText, LPRECT lpRect)
{
    HDC hDC = MeasureDC(pDC);
    CRect rc(*lpRect);
    if (!IsLabelWrapEnabled())
    {
        int nLen = (int)strcspn(lpszText, "\r\n");
        CRect rcCalc(rc.left, 0, rc.left, 0);
        SIZE size;
        if (nLen > 0 && strchr(lpszText, '\t') == NULL && ::GetTextExtentPoint32A(hDC, lpszText, nLen, &size))
        {
            // Without tabs and line breaks one extent gives what the two measurements would.
            int nFull = lpszText[nLen] == 0 ? (int)size.cx
                                             : (int)LOWORD(::GetTabbedTextExtentA(hDC, lpszText, (int)strlen(lpszText), 0, NULL));
            rc.right = rc.left + std::max((int)size.cx, nFull);
            rc.top = 0;
            rc.bottom = size.cy + 2;
            if (pBlock)
                pBlock->m_bMarker = FALSE;
            *lpRect = rc;
            return;
        }
        if (nLen == 0)
        {
            TEXTMETRICA tm;
            ::GetTextMetricsA(hDC, &tm);
            rcCalc.bottom = tm.tmHeight;
        }
        else
            ::DrawTextA(hDC, lpszText, nLen, &rcCalc,
                        DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
        int cx = std::max((int)rcCalc.Width(), (int)LOWORD(::GetTabbedTextExtentA(hDC, lpszText, (int)strlen(lpszText), 0, NULL)));
        rc.right = rc.left + cx;
        rc.top = 0;
        rc.bottom = rcCalc.Height() + 2;
        if (pBlock)
            pBlock->m_bMarker = FALSE;
        *lpRect = rc;
        return;
    }
    CString strFirst, strSecond;
    BOOL bMarker = SplitMarker(lpszText, &strFirst, &strSecond);
    UINT nFormat = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    CRect rcCalc(rc.left, 0, rc.right, 0);
    int nFirst = 0;
    if (bMarker)
    {
        SIZE size = { 0, 0 };
        if (!strFirst.IsEmpty())
            ::GetTextExtentPoint32A(hDC, strFirst, strFirst.GetLength(), &size);
        nFirst = size.cx;
        rcCalc.left = rc.left + nFirst;
        if (rcCalc.right <= rcCalc.left)
            rcCalc.right = rcCalc.left + 1;
        lpszText = strSecond;
    }
    if (*lpszText == 0)
    {
        TEXTMETRICA tm;
        ::GetTextMetricsA(hDC, &tm);
        rcCalc.right = rcCalc.left;
        rcCalc.bottom = tm.tmHeight;
    }
    else
        ::DrawTextA(hDC, lpszText, -1, &rcCalc, nFormat);
    if (pBlock)
    {
        pBlock->m_bMarker = bMarker;
        pBlock->m_strFirst = strFirst;
        pBlock->m_strSecond = strSecond;
        pBlock->m_nFirstWidth = nFirst;
    }
    rc.right = std::max((int)rcCalc.right, (int)rc.left + nFirst);
    rc.top = 0;
    rc.bottom = rcCalc.Height() + 2;
    *lpRect = rc;
}

// ---- Drawing

void TWKTreeBaseC::DrawSubItem(TWKListPaintContext* pCtx)
{
    TWKTreePaintContext* pTree = dynamic_cast<TWKTreePaintContext*>(pCtx);
    if (pCtx->m_item.iSubItem != 0 || pTree == NULL || pCtx->m_pItem == NULL)
    {
        TWKListCtrl::DrawSubItem(pCtx);
        return;
    }
    CDC* pDC = pCtx->m_pDC;
    TWKListItem* pItem = pCtx->m_pItem;
    const CRect& rcCell = pCtx->m_rcCell;
    int nRow = pCtx->m_item.iItem;
    BOOL bEdited = nRow == m_nEditRow && pCtx->m_nColumn == m_nCurColumn;
    BOOL bPrinting = pDC->IsPrinting();
    UINT nState = pTree->m_tvItem.state;
    BOOL bSelected = (nState & TVIS_SELECTED) != 0;
    int nColumns = GetColumnCount();
    CRect rcLabel = pItem->m_rcLabel;
    rcLabel.OffsetRect(rcCell.left, rcCell.top);
    if (nColumns > 1 || bPrinting)
        rcLabel.right = rcCell.right - 5;
    pDC->FillSolidRect(&rcCell, pCtx->m_crFill);

    CImageList* pState = GetImageList(LVSIL_STATE);
    int nStateImage = (nState & TVIS_STATEIMAGEMASK) >> 12;
    if (pState && pState->GetSafeHandle() && nStateImage >= pState->GetImageCount())
        nStateImage = 0;
    if (pState && pState->GetSafeHandle() && nStateImage > 0)
    {
        COLORREF crOld = pState->SetBkColor(pCtx->m_crFill);
        ::ImageList_Draw(pState->GetSafeHandle(), nStateImage, pDC->GetSafeHdc(),
                         rcCell.left + pItem->m_rcStateIcon.left, rcCell.top + pItem->m_rcStateIcon.top, ILD_NORMAL);
        pState->SetBkColor(crOld);
    }
    CImageList* pImages = GetImageList(LVSIL_NORMAL);
    int nImage = bSelected ? pTree->m_tvItem.iSelectedImage : pTree->m_tvItem.iImage;
    if (pImages && pImages->GetSafeHandle() && nImage != _Node::NO_IMAGE && pItem->m_rcIcon.Width() > 0)
    {
        if (nImage < 0 || nImage >= pImages->GetImageCount())
            nImage = 0;
        UINT nStyle = ILD_NORMAL;
        BOOL bFocus = m_hWnd && ::GetFocus() == m_hWnd;
        if (((bSelected && bFocus) || nRow == GetDropHighlight()) && (m_dwListStyleEx & TWKLVS_EX_BLENDSELIMAGE))
            nStyle = ILD_SELECTED;
        nStyle |= INDEXTOOVERLAYMASK((nState & TVIS_OVERLAYMASK) >> 8);
        ::ImageList_Draw(pImages->GetSafeHandle(), nImage, pDC->GetSafeHdc(), rcCell.left + pItem->m_rcIcon.left,
                         rcCell.top + pItem->m_rcIcon.top, nStyle);
    }
    CRect rcRow(rcCell.left, rcCell.top, rcCell.right, rcCell.bottom);
    if (bPrinting || pDC->RectVisible(&rcRow))
    {
        if (m_dwTreeStyle & TVS_HASLINES)
            DrawLines(pCtx);
        if (m_dwTreeStyle & TVS_HASBUTTONS)
            DrawButton(pCtx);
    }
    CRect rcText(rcLabel.left - 3, rcCell.top, rcLabel.right + 3, rcCell.bottom);
    if ((m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT) && nColumns >= 1)
        rcText.right = rcCell.right;
    else if (nColumns >= 2)
        rcText.right = std::min((int)rcText.right, (int)rcCell.left + GetColumnWidth(0) - 2);
    if (bEdited)
        return;
    pDC->FillSolidRect(&rcText, pCtx->m_crTextBk);
    int nSaved = pDC->SaveDC();
    if (pCtx->m_pFont)
        pDC->SelectObject(pCtx->m_pFont);
    pDC->SetTextColor(pCtx->m_crText);
    pDC->SetBkMode(TRANSPARENT);
    CRect rcDraw = rcLabel;
    rcDraw.OffsetRect(0, 1);
    LPCSTR psz = pCtx->m_item.pszText ? pCtx->m_item.pszText : "";
    if (!IsLabelWrapEnabled())
        pDC->DrawText(psz, (int)strcspn(psz, "\r\n"), &rcDraw,
                      DT_END_ELLIPSIS | DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
    else
    {
        CString strFirst, strSecond;
        if (SplitMarker(psz, &strFirst, &strSecond))
        {
            CSize size(0, 0);
            if (!strFirst.IsEmpty())
                size = pDC->GetTextExtent(strFirst);
            CRect rcFirst(rcDraw.left, rcDraw.top, rcDraw.left + size.cx, rcDraw.bottom);
            pDC->DrawText(strFirst, &rcFirst, DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE);
            CRect rcSecond(rcDraw.left + size.cx, rcDraw.top, rcDraw.right, rcDraw.bottom);
            pDC->DrawText(strSecond, &rcSecond, DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
        }
        else
            pDC->DrawText(psz, -1, &rcDraw, DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER);
    }
    pDC->RestoreDC(nSaved);
    BOOL bFullRow = (m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT) != 0;
    if ((!bFullRow || nColumns == 1) && nRow == GetFocusItem() && m_hWnd && ::GetFocus() == m_hWnd)
    {
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetBkColor(RGB(255, 255, 255));
        pDC->DrawFocusRect(&rcText);
    }
}

// Every other pixel from nFrom (moved back to an even content position) up to nTo.
static void DrawDots(CDC* pDC, int nOrigin, int nFrom, int nTo, int nAt, BOOL bHorz, COLORREF crGap)
{
    if ((nOrigin + nFrom) & 1)
        --nFrom;
    COLORREF crDot = ::GetSysColor(COLOR_BTNSHADOW);
    for (int i = nFrom; i < nTo; i += 2)
    {
        pDC->SetPixel(bHorz ? i : nAt, bHorz ? nAt : i, crDot);
        if (i + 1 < nTo)
            pDC->SetPixel(bHorz ? i + 1 : nAt, bHorz ? nAt : i + 1, crGap);
    }
}

void TWKTreeBaseC::DrawHorzLine(CDC* pDC, BOOL, int x1, int x2, int y)
{
    if (pDC->IsPrinting())
    {
        pDC->MoveTo(x1, y);
        pDC->LineTo(x2, y);
    }
    else
        DrawDots(pDC, m_nHorzOffset, x1, x2, y, TRUE, GetBkColor());
}

void TWKTreeBaseC::DrawVertLine(CDC* pDC, BOOL, int x, int y1, int y2)
{
    if (pDC->IsPrinting())
    {
        pDC->MoveTo(x, y1);
        pDC->LineTo(x, y2);
    }
    else
        DrawDots(pDC, m_nVertOffset, y1, y2, x, FALSE, GetBkColor());
}

void TWKTreeBaseC::DrawLines(TWKListPaintContext* pCtx)
{
    _Node* pNode = GetRowNode(pCtx->m_item.iItem);
    TWKListItem* pItem = pCtx->m_pItem;
    if (pNode == NULL || pItem == NULL)
        return;
    CDC* pDC = pCtx->m_pDC;
    const CRect& rcCell = pCtx->m_rcCell;
    BOOL bSelected = (pCtx->m_item.state & LVIS_SELECTED) != 0;
    int L = TreeLevel(pNode), I = m_nIndent;
    BOOL bImage = pItem->m_rcIcon.Width() > 0;
    BOOL bRootLines = (m_dwTreeStyle & TVS_LINESATROOT) != 0;
    const CRect& rcAnchor = bImage ? pItem->m_rcIcon : pItem->m_rcLabel;
    int A = rcCell.left + (L - 1) * I + (bImage ? pItem->m_rcIcon.Width() / 2 : 8);
    int B = rcCell.top + (rcAnchor.top + rcAnchor.bottom) / 2;
    int E = rcCell.left + (pItem->m_rcStateIcon.Width() > 0 ? pItem->m_rcStateIcon.left : rcAnchor.left);
    if ((B - m_nVertOffset) & 1)
        ++B;
    if ((m_nHorzOffset + A) & 1)
        ++A;
    if (bRootLines)
        A += I;
    if (bRootLines || L >= 1)
        DrawHorzLine(pDC, bSelected, A, E - 1, B);
    if (!bRootLines && L == 0)
        return;
    if (pCtx->m_item.iItem > 0)
        DrawVertLine(pDC, bSelected, A, rcCell.top, B);
    if (pNode->IsExpanded() && DeclaresChildren(pNode))
        DrawVertLine(pDC, bSelected, A + I, B + rcAnchor.Height() / 2, rcCell.bottom);
    int nLevels = bRootLines ? L + 1 : L;
    TWKTreeNode* p = pNode;
    for (int k = 0; k < nLevels && p != NULL && p != m_pRoot; ++k, p = p->m_pParent, A -= I)
    {
        if (p->GetNextSibling())
            DrawVertLine(pDC, bSelected, A, k == 0 ? B : rcCell.top, rcCell.bottom);
    }
}

int TWKTreeBaseC::GetButtonRect(LPRECT lpRect, int nRow, CPoint ptCell)
{
    _Node* pNode = GetRowNode(nRow);
    TWKListItem* pItem = GetItemPtr(nRow);
    if (pNode == NULL || pItem == NULL)
    {
        ::SetRectEmpty(lpRect);
        return 0;
    }
    int L = TreeLevel(pNode), I = m_nIndent;
    int x, y, nSize;
    CImageList* pState = GetImageList(LVSIL_STATE);
    BOOL bState = pState && pState->GetSafeHandle() && (pNode->m_item.state & TVIS_STATEIMAGEMASK) &&
                  pItem->m_rcStateIcon.Width() > 0;
    if (pItem->m_rcIcon.Width() > 0 || bState)
    {
        const CRect& rc = pItem->m_rcIcon.Width() > 0 ? pItem->m_rcIcon : pItem->m_rcStateIcon;
        x = (L - 1) * I + rc.Width() / 2 + ptCell.x;
        y = (rc.top + rc.bottom) / 2 + ptCell.y;
        nSize = std::min(15, pItem->m_rcIcon.Height() * 20 / 33);
    }
    else
    {
        x = (L - 1) * I + ptCell.x + 8;
        y = (pItem->m_rcLabel.top + pItem->m_rcLabel.bottom) / 2 + ptCell.y;
        nSize = 8;
    }
    if ((y - m_nVertOffset) & 1)
        ++y;
    if ((m_nHorzOffset + x) & 1)
        ++x;
    if ((m_dwTreeStyle & TVS_LINESATROOT) && (m_dwTreeStyle & (TVS_HASBUTTONS | TVS_HASLINES)))
        x += I;
    int h = nSize / 2;
    ::SetRect(lpRect, x - h, y - h, x - h + nSize, y - h + nSize);
    if (!(nSize & 1))
    {
        lpRect->right++;
        lpRect->bottom++;
    }
    return h;
}

void TWKTreeBaseC::DrawButton(TWKListPaintContext* pCtx)
{
    _Node* pNode = GetRowNode(pCtx->m_item.iItem);
    if (pNode == NULL || !DeclaresChildren(pNode))
        return;
    CDC* pDC = pCtx->m_pDC;
    CRect rc;
    GetButtonRect(&rc, pCtx->m_item.iItem, pCtx->m_rcCell.TopLeft());
    if (rc.IsRectEmpty())
        return;
    int nSaved = pDC->SaveDC();
    COLORREF crFill = (m_hWnd && !IsWindowEnabled()) ? GetBkColor() : RGB(255, 255, 255);
    CBrush brush(crFill);
    pDC->SelectObject(&brush);
    pDC->SelectObject(ShadowPen());
    pDC->Rectangle(&rc);
    pDC->SelectObject(TextPen());
    int h = rc.Width() / 3;
    int cx = rc.left + rc.Width() / 2, cy = rc.top + rc.Height() / 2;
    pDC->MoveTo(cx - h + 1, cy);
    pDC->LineTo(cx + h, cy);
    if (!pNode->IsExpanded())
    {
        pDC->MoveTo(cx, cy - h + 1);
        pDC->LineTo(cx, cy + h);
    }
    pDC->RestoreDC(nSaved);
}

// ---- Hit testing

HTREEITEM TWKTreeBaseC::HitTest(int x, int y, UINT* pFlags)
{
    UINT nHit = 0;
    int nColumn = -1;
    int nRow = TWKListCtrl::HitTest(x, y, &nHit, &nColumn);
    UINT nFlags = 0;
    HTREEITEM hItem = NULL;
    if (nRow >= 0 && (nHit & 0x2000))
    {
        nFlags = TWKTVHT_ONROW;
        _Node* pNode = GetRowNode(nRow);
        if (nHit & LVHT_ONITEMLABEL)
            nFlags |= TVHT_ONITEMLABEL;
        else if (nHit & LVHT_ONITEMICON)
            nFlags |= TVHT_ONITEMICON;
        else if (nHit & LVHT_ONITEMSTATEICON)
            nFlags |= TVHT_ONITEMSTATEICON;
        else if (nHit & 0x4000)
        {
            nFlags |= TVHT_ONITEMINDENT;
            if (m_dwTreeStyle & TVS_HASBUTTONS)
            {
                CRect rcRow;
                TWKListCtrl::GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
                CRect rcButton;
                GetButtonRect(&rcButton, nRow, CPoint(rcRow.left, rcRow.top));
                if (pNode && DeclaresChildren(pNode) && rcButton.PtInRect(CPoint(x, y)))
                    nFlags = TWKTVHT_ONROW | TVHT_ONITEMBUTTON;
            }
        }
        else if (nHit & 0x8000)
            nFlags |= TVHT_ONITEMRIGHT;
        if (nFlags != TWKTVHT_ONROW || (m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT))
            hItem = reinterpret_cast<HTREEITEM>(pNode);
    }
    else if (nHit & LVHT_ABOVE)
        nFlags = TVHT_ABOVE;
    else if (nHit & LVHT_BELOW)
        nFlags = TVHT_BELOW;
    else if (nHit & LVHT_TOLEFT)
        nFlags = TVHT_TOLEFT;
    else if (nHit & LVHT_TORIGHT)
        nFlags = TVHT_TORIGHT;
    else if (nHit & 0x800)
        nFlags = TWKTVHT_ONHEADERDIVIDER;
    else if (nHit & 0x1000)
        nFlags = TWKTVHT_ONHEADERBUTTON;
    else
        nFlags = TVHT_NOWHERE;
    if (pFlags)
        *pFlags = nFlags;
    return hItem;
}
