// Member bodies of the editing window template. Included only by the two
// flavour sources, which instantiate it on CWnd and CView.
#pragma once
#include "editor/window/TWKEditCore.h"
#include "editor/window/OEFindReplaceDlg.h"
#include "editor/store/TWKEditColour.h"
#include <cstdlib>
#include <new>
#include <cstring>

// ----------------------------------------------------------- construction

template <class Base>
TWKEditCore<Base>::TWKEditCore()
    : m_pSplitter(NULL), m_nSplitRow(0), m_nSplitCol(0), m_bInScroll(FALSE), m_pszFindSelection(NULL),
      m_dlgPageSetup(NULL), m_pAnchorLine(NULL), m_nAnchorCol(0), m_hAccel(NULL), m_bFound(FALSE),
      m_pTopLine(NULL), m_pCaretLine(NULL), m_pFindDlg(NULL), m_pReplaceDlg(NULL), m_bFindDlgOpen(FALSE),
      m_bReplaceDlgOpen(FALSE), m_bWrapSearch(FALSE), m_nTopLine(1), m_nCaretLine(1), m_nCaretCol(0),
      m_nFirstCol(0), m_nSelMode(1), m_bSelection(FALSE), m_pSelStartLine(NULL), m_nSelStartCol(0),
      m_pSelEndLine(NULL), m_nSelEndCol(0), m_rcClient(), m_nCharWidth(0), m_nLineHeight(15),
      m_nVScrollScale(1), m_bUpdate(TRUE), m_bMouseSelecting(FALSE), m_nTimerID(0), m_bSkipTimerTick(FALSE),
      m_ptMouse(), m_bCaretCreated(FALSE), m_rcAvoid(), m_nTextLeft(15), m_hPrinterFont(NULL),
      m_hOwnPrinterFont(NULL), m_nPrintLinesPerPage(0), m_nPrintLineHeight(0), m_bPrintSelection(FALSE)
{
    m_dlgPageSetup.LoadSettings();
}

template <class Base>
TWKEditCore<Base>::~TWKEditCore()
{
    m_dlgPageSetup.SaveSettings();
    if (m_bFindDlgOpen && m_pFindDlg)
        m_pFindDlg->DestroyWindow();
    if (m_bReplaceDlgOpen && m_pReplaceDlg)
        m_pReplaceDlg->DestroyWindow();
    free(m_pszFindSelection);
    m_pszFindSelection = NULL;
    if (m_hOwnPrinterFont)
        ::DeleteObject(m_hOwnPrinterFont);
}

template <class Base>
BOOL TWKEditCore<Base>::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNCLIENT |
                                           CS_BYTEALIGNWINDOW,
                                       ::LoadCursor(NULL, IDC_IBEAM), NULL, NULL);
    return Base::PreCreateWindow(cs);
}

template <class Base>
BOOL TWKEditCore<Base>::PreTranslateMessage(MSG* pMsg)
{
    return Base::PreTranslateMessage(pMsg);
}

// The engine's keys go through table 22500 before the window's own key
// handling, whichever window the application's accelerators belong to.
template <class Base>
BOOL TWKEditCore<Base>::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message >= WM_KEYFIRST && message <= WM_SYSCHAR + 2 && m_hAccel)
    {
        const MSG* pCurrent = CWnd::GetCurrentMessage();
        MSG msg = {};
        if (pCurrent)
            msg = *pCurrent;
        else
            msg.message = message, msg.wParam = wParam, msg.lParam = lParam;
        msg.hwnd = this->m_hWnd;
        if (::TranslateAcceleratorA(this->m_hWnd, m_hAccel, &msg))
        {
            if (pResult)
                *pResult = 0;
            return TRUE;
        }
    }
    return Base::OnWndMsg(message, wParam, lParam, pResult);
}

// --------------------------------------------------------- virtual operations

template <class Base>
CDocument* TWKEditCore<Base>::GetActiveDocument()
{
    return NULL;
}

template <class Base>
COLORREF TWKEditCore<Base>::GetGutterColor(COLORREF)
{
    return ::GetSysColor(COLOR_SCROLLBAR);
}

template <class Base>
void TWKEditCore<Base>::EnsureCaretVisible()
{
    if (m_nCharWidth == 0 || m_nLineHeight == 0)
        return;
    TWKEdit* pEdit = GetEdit();
    if (m_nCaretCol < 0)
        m_nCaretCol = 0;
    if (pEdit && m_pCaretLine)
        m_nCaretCol = pEdit->OffsetToColumn(m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol));
    int nCols = VisibleCols(), nRows = VisibleRows();
    if (nCols == 0 || nRows == 0)
        return;
    int nOldTop = m_nTopLine, nOldFirst = m_nFirstCol;
    int nTab = pEdit && pEdit->m_nTabSize > 0 ? pEdit->m_nTabSize : 4;

    while (m_nFirstCol > m_nCaretCol)
        m_nFirstCol -= nTab < m_nFirstCol ? nTab : m_nFirstCol;
    while (m_nCaretCol - m_nFirstCol >= nCols - 1 && m_nFirstCol < TWK_MAX_COLUMNS)
        m_nFirstCol += nTab;

    if (m_nTopLine > m_nCaretLine || m_nCaretLine - m_nTopLine >= nRows)
    {
        m_pTopLine = m_pCaretLine;
        m_nTopLine = m_nCaretLine;
    }

    if (!::IsRectEmpty(&m_rcAvoid))
    {
        RECT rc = m_rcAvoid;
        if (this->m_hWnd)
            this->ScreenToClient(&rc);
        int y = (m_nCaretLine - m_nTopLine) * m_nLineHeight;
        if (y > rc.top && y + m_nLineHeight < rc.bottom)
        {
            if (rc.top / m_nLineHeight > (m_rcClient.bottom - rc.bottom) / m_nLineHeight)
            {
                m_pTopLine = m_pCaretLine;
                m_nTopLine = m_nCaretLine;
            }
            else
            {
                while (m_pTopLine && m_pTopLine->pPrev && (m_nCaretLine - m_nTopLine) * m_nLineHeight < rc.bottom)
                {
                    m_pTopLine = m_pTopLine->pPrev;
                    m_nTopLine--;
                }
            }
        }
        ::SetRectEmpty(&m_rcAvoid);
    }

    if (!m_bUpdate)
        return;
    if (m_nTopLine != nOldTop || m_nFirstCol != nOldFirst)
        this->Invalidate(FALSE);
    int nCount = pEdit ? pEdit->m_nLineCount : 1;
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    // A scaled bar holds the range in whole steps: it is right when setting
    // it again would give the same steps.
    int nScale = m_nVScrollScale;
    BOOL bScaledSame = nScale > 1 && (nCount - 1) / 65536 + 1 == nScale && nMax == (nCount - 1) / nScale * nScale;
    if (nMax != nCount - 1 && !bScaledSame)
        SetScrollRange(SB_VERT, 0, nCount - 1, m_bUpdate);
    if (GetScrollPos(SB_HORZ) != m_nFirstCol)
        SetScrollPos(SB_HORZ, m_nFirstCol, TRUE);
    SetScrollPos(SB_VERT, m_nTopLine - 1, TRUE);
    PositionCaret();
    OnCaretMoved();
}

template <class Base>
int TWKEditCore<Base>::ReportErrorFormat(int nID, LPCSTR pszArg, BOOL bShow)
{
    if (!bShow)
        return nID;
    CString strFormat;
    if (!strFormat.LoadString(nID))
        return nID;
    if (!pszArg)
        pszArg = "";
    // wsprintf writes at most 1024 characters; the buffer holds the format,
    // the argument and room to spare.
    size_t nSize = 2 * ((size_t)strFormat.GetLength() + strlen(pszArg) + 16);
    if (nSize < 1025)
        nSize = 1025;
    char* pszText = (char*)malloc(nSize);
    if (!pszText)
        return nID;
    wsprintfA(pszText, strFormat, pszArg);
    AfxMessageBox(pszText, MB_ICONEXCLAMATION, 0);
    free(pszText);
    return nID;
}

template <class Base>
int TWKEditCore<Base>::ReportError(int nID, BOOL bShow)
{
    if (!bShow)
        return nID;
    CString strText;
    if (strText.LoadString(nID))
        AfxMessageBox(strText, MB_ICONEXCLAMATION, 0);
    return nID;
}

template <class Base>
void TWKEditCore<Base>::DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine)
{
    if (!pLine || !(pLine->dwFlags & LINE_BOOKMARK))
        return;
    int d = 2 * (m_nTextLeft / 2) - 2;
    int nTop = pRect->top + ((pRect->bottom - pRect->top) / 2 - (d - 2) / 2);
    HBRUSH hBlue = ::CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ hOld = ::SelectObject(pDC->m_hDC, hBlue);
    ::Ellipse(pDC->m_hDC, 2, nTop, d, nTop + d - 2);
    ::SelectObject(pDC->m_hDC, hOld);
    ::DeleteObject(hBlue);
    if (TWKEdit* pEdit = GetEdit())
        pDC->SetBkColor(pEdit->m_crBackground);
}

template <class Base>
void TWKEditCore<Base>::OnDraw(CDC*)
{
}

template <class Base>
BOOL TWKEditCore<Base>::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    UINT nH = LOBYTE(nScrollCode), nV = HIBYTE(nScrollCode);
    BOOL bResult = FALSE;
    if (nH == 0 || nH == 1)
    {
        int nNew = m_nFirstCol + (nH == 0 ? -1 : 1);
        bResult = nH == 0 ? m_nFirstCol > 0 : m_nFirstCol < TWK_MAX_COLUMNS;
        if (bResult && bDoScroll)
        {
            m_bInScroll = TRUE;
            ScrollHorizontalTo(nNew);
            m_bInScroll = FALSE;
        }
    }
    if (nV == 0)
    {
        bResult = m_pTopLine && m_pTopLine->pPrev;
        if (bResult && bDoScroll)
        {
            m_bInScroll = TRUE;
            ScrollLineUp(m_bUpdate);
            m_bInScroll = FALSE;
        }
    }
    else if (nV == 1)
    {
        bResult = m_pCaretLine && m_pCaretLine->pNext;
        if (bResult && bDoScroll)
            OnVScroll(SB_LINEDOWN, nPos, NULL);
        return bResult;
    }
    return bResult;
}

template <class Base>
void TWKEditCore<Base>::UpdateViews(CWnd*, LPARAM lHint, CObject* pHint)
{
    if (lHint == IDS_TWK_DELETELINE && pHint && pHint->IsKindOf(RUNTIME_CLASS(TWKEditHint)))
        ValidateLines(static_cast<TWKEditHint*>(pHint)->m_pLine);
    if (m_bUpdate && this->m_hWnd)
        this->Invalidate(FALSE);
}

template <class Base>
TWKEdit* TWKEditCore<Base>::GetEdit()
{
    return NULL;
}

template <class Base>
int TWKEditCore<Base>::InitView()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return 0;   // a view whose class shows no store: nothing to show
    m_pTopLine = m_pCaretLine = pEdit->GetFirstLine();
    m_nTopLine = m_nCaretLine = 1;
    m_nCaretCol = 0;
    m_nFirstCol = 0;

    int nBookmarks = 0;
    for (TWKEditLine* p = m_pTopLine; p; p = p->pNext)
        if (p->dwFlags & LINE_BOOKMARK)
            nBookmarks++;
    pEdit->m_nBookmarkCount = nBookmarks;

    m_nSelMode = 1;
    m_bSelection = FALSE;
    m_pSelStartLine = m_pSelEndLine = NULL;
    m_nSelStartCol = m_nSelEndCol = 0;
    m_bMouseSelecting = FALSE;
    m_nTimerID = 0;
    m_bSkipTimerTick = FALSE;
    ::SetRectEmpty(&m_rcClient);
    if (this->m_hWnd)
        this->GetClientRect(&m_rcClient);
    m_bCaretCreated = FALSE;
    ::SetRectEmpty(&m_rcAvoid);
    m_bUpdate = TRUE;
    m_hPrinterFont = NULL;
    m_pFindDlg = m_pReplaceDlg = NULL;
    m_bFindDlgOpen = m_bReplaceDlgOpen = FALSE;

    LOGFONTA lf = {};
    lstrcpynA(lf.lfFaceName, pEdit->m_strFontName, LF_FACESIZE);   // cut to 31 characters
    HDC hdc = ::GetDC(this->m_hWnd);
    lf.lfHeight = ::MulDiv(-pEdit->m_nFontSize, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ::ReleaseDC(this->m_hWnd, hdc);
    lf.lfWeight = pEdit->m_nFontWeight;
    lf.lfItalic = (BYTE)(pEdit->m_bFontItalic ? 1 : 0);
    lf.lfCharSet = (BYTE)pEdit->m_nCharSet;
    lf.lfPitchAndFamily = FF_MODERN | FIXED_PITCH;
    TakeFont(lf);

    SetScrollRange(SB_VERT, 0, pEdit->m_nLineCount - 1, m_bUpdate);
    SetScrollRange(SB_HORZ, 0, TWK_MAX_COLUMNS, m_bUpdate);
    m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TWK_ACCEL));

    CBitmap bmp;
    if (bmp.LoadBitmap(IDB_TWK_GUTTER))
    {
        m_brGutter.DeleteObject();
        m_brGutter.CreatePatternBrush(&bmp);
        bmp.DeleteObject();
    }
    if (m_nTopLine != 0)
        SetScrollPos(SB_VERT, m_nTopLine - 1, TRUE);
    return 0;
}

template <class Base>
void TWKEditCore<Base>::OnCaretMoved()
{
}

template <class Base>
void TWKEditCore<Base>::PositionCaret()
{
    int x = (m_nCaretCol - m_nFirstCol) * m_nCharWidth + m_nTextLeft;
    if (x < m_nTextLeft)
        x = -10;   // scrolled out to the left: parked outside the window
    ::SetCaretPos(x, (m_nCaretLine - m_nTopLine) * m_nLineHeight);
}

template <class Base>
int TWKEditCore<Base>::AccessBar(int nBar, SCROLLINFO* pInfo, BOOL bSet, BOOL bRedraw)
{
    pInfo->cbSize = sizeof(SCROLLINFO);
    HWND hWnd = this->m_hWnd;
    if (CScrollBar* pBar = this->GetScrollBarCtrl(nBar))
        hWnd = pBar->m_hWnd, nBar = SB_CTL;
    if (!hWnd)
        return 0;
    return bSet ? ::SetScrollInfo(hWnd, nBar, pInfo, bRedraw) : ::GetScrollInfo(hWnd, nBar, pInfo);
}

template <class Base>
void TWKEditCore<Base>::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    int nCount = pEdit ? pEdit->m_nLineCount : 1;
    m_nVScrollScale = (nCount - 1) / 65536 + 1;
    if (m_nVScrollScale < 1)
        m_nVScrollScale = 1;
    int nScale = BarScale(nBar);
    if (m_nLineHeight == 0)
        return;
    SCROLLINFO si = {};
    int nPage;
    if (nBar == SB_VERT)
    {
        if (nMaxPos == 0)
            nMaxPos = 1;
        int nRows = VisibleRows();
        nPage = nRows;
        if (nRows == 0)
            nPage = 1, nMaxPos = 2;
        if (m_pTopLine && pEdit && nRows >= pEdit->m_nLineCount && m_nTopLine > 1)
        {
            m_pTopLine = pEdit->GetFirstLine();
            m_nTopLine = 1;
            if (this->m_hWnd)
                this->Invalidate(TRUE);
            PositionCaret();
        }
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    }
    else
    {
        nPage = 32;
        si.fMask = SIF_RANGE | SIF_PAGE;
    }
    si.nMin = nMinPos;
    si.nMax = nMaxPos / nScale;
    si.nPage = (UINT)(nPage / nScale);
    AccessBar(nBar, &si, TRUE, bRedraw);
}

template <class Base>
int TWKEditCore<Base>::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO si = {};
    si.fMask = SIF_POS;
    si.nPos = nPos / BarScale(nBar);
    return AccessBar(nBar, &si, TRUE, bRedraw);
}

template <class Base>
int TWKEditCore<Base>::GetScrollPos(int nBar)
{
    SCROLLINFO si = {};
    si.fMask = SIF_POS;
    AccessBar(nBar, &si, FALSE);
    return si.nPos * BarScale(nBar);
}

template <class Base>
void TWKEditCore<Base>::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    SCROLLINFO si = {};
    si.fMask = SIF_RANGE;
    AccessBar(nBar, &si, FALSE);
    if (lpMinPos)
        *lpMinPos = si.nMin;
    if (lpMaxPos)
        *lpMaxPos = si.nMax * BarScale(nBar);
}

// --------------------------------------------------------------- painting

template <class Base>
int TWKEditCore<Base>::ExpandTabs(LPCSTR pszSource, LPSTR pszDest, int nLength, int nTabSize, int nLineEndLen)
{
    if (nLength <= 0)
        return 0;
    TWKEdit* pEdit = GetEdit();
    BOOL bShowTabs = pEdit ? pEdit->m_bShowTabs : FALSE;
    int n;
    if (!memchr(pszSource, '\t', nLength))
    {
        n = nLength < TWK_MAX_COLUMNS ? nLength : TWK_MAX_COLUMNS;
        memcpy(pszDest, pszSource, n);
    }
    else
        n = TWKEditExpandTabs(pszSource, nLength, nTabSize, nLineEndLen, bShowTabs, pszDest, TWK_MAX_COLUMNS);
    pszDest[n] = '\0';
    return n;
}

template <class Base>
int TWKEditCore<Base>::GetLineSelection(TWKEditLine* pLine, int nLength, int* pnStart, int* pnCount)
{
    if (!pLine || !m_pSelStartLine || !m_pSelEndLine)
        return 0;
    int nStart = 0, nCount = 0;
    if (m_nSelMode == 2)
    {
        BOOL bIn = pLine == m_pSelStartLine || pLine == m_pSelEndLine;
        if (!bIn)
        {
            int nMet = 0;
            for (TWKEditLine* p = pLine->pPrev; p; p = p->pPrev)
                if (p == m_pSelStartLine || p == m_pSelEndLine)
                    nMet++;
            bIn = nMet == 1;
        }
        if (!bIn)
            return 0;
        nStart = m_nSelStartCol < m_nSelEndCol ? m_nSelStartCol : m_nSelEndCol;
        int nEnd = m_nSelStartCol < m_nSelEndCol ? m_nSelEndCol : m_nSelStartCol;
        nCount = nEnd - nStart;
    }
    else if (pLine == m_pSelStartLine)
    {
        nStart = m_nSelStartCol < nLength ? m_nSelStartCol : nLength;
        int nEnd = nLength;
        if (pLine == m_pSelEndLine)
            nEnd = m_nSelEndCol < nLength ? m_nSelEndCol : nLength;
        nCount = nEnd - nStart;
    }
    else if (pLine == m_pSelEndLine)
    {
        nStart = 0;
        nCount = m_nSelEndCol < nLength ? m_nSelEndCol : nLength;
    }
    else
    {
        TWKEditLine* p = pLine->pPrev;
        while (p && p != m_pSelStartLine && p != m_pSelEndLine)
            p = p->pPrev;
        // Meeting the end line first (also when it is the start line): the
        // line lies after the selection.
        if (p != m_pSelStartLine || p == m_pSelEndLine)
            return 0;
        nStart = 0;
        nCount = nLength;
    }
    if (pnStart)
        *pnStart = nStart;
    if (pnCount)
        *pnCount = nCount;
    return 1;
}

template <class Base>
void TWKEditCore<Base>::InvertSelection(CDC* pDC)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pSelStartLine || m_nLineHeight <= 0)
        return;
    TWKEditLine* p = m_pTopLine;
    for (int y = 0; p && y < m_rcClient.bottom; y += m_nLineHeight, p = p->pNext)
    {
        int nLen = pEdit->OffsetToColumn(p, pEdit->VisibleEnd(p));
        int nStart = 0, nCount = 0;
        if (!GetLineSelection(p, nLen, &nStart, &nCount))
            continue;
        nStart -= m_nFirstCol;
        if (nStart < 0)
            nCount += nStart, nStart = 0;
        if (nCount > 0)
            pDC->PatBlt(m_nTextLeft + nStart * m_nCharWidth, y, nCount * m_nCharWidth, m_nLineHeight, DSTINVERT);
    }
}

template <class Base>
void TWKEditCore<Base>::OnPaint()
{
    CPaintDC dc(this);
    PaintRows(dc, dc.m_ps.rcPaint);
}

template <class Base>
void TWKEditCore<Base>::PaintRows(CDC& dc, const RECT& rcPaint)
{
    TWKEdit* pEdit = GetEdit();
    if (!m_pTopLine || !pEdit || m_nLineHeight <= 0)
        return;
    BOOL bSelection = m_pSelStartLine != NULL;
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, m_font.GetSafeHandle());
    dc.SetBkColor(pEdit->m_crBackground);
    dc.SetTextColor(pEdit->m_crDefaultText);
    int nCols = VisibleCols();
    int nMax = nCols - 1 > 0 ? nCols - 1 : 0;
    int x0 = m_rcClient.left + m_nTextLeft;
    int nLineEnd = pEdit->m_nLineEndLen;
    char szText[TWK_LINE_BUFFER];
    TWKEditCommentMemo memo;   // the rows are consecutive lines

    const COLORREF crGutter = GetGutterColor(pEdit->m_crBackground);
    TWKEditLine* p = m_pTopLine;
    for (int y = 0; y < rcPaint.bottom; y += m_nLineHeight, p = p ? p->pNext : NULL)
    {
        if (y + m_nLineHeight <= rcPaint.top)
            continue;
        // The gutter cell, or below the last line the gutter of every row
        // left; the pattern lines up across rows whatever the fill's size.
        int yEnd = y + m_nLineHeight;
        if (!p)
            while (yEnd < rcPaint.bottom)
                yEnd += m_nLineHeight;
        RECT rcCell = {0, y, m_nTextLeft, yEnd};
        COLORREF crOld = dc.SetTextColor(crGutter);
        dc.FillRect(&rcCell, &m_brGutter);
        dc.SetTextColor(crOld);
        if (!p)
        {
            RECT rc = {m_nTextLeft, y, m_rcClient.right, yEnd};
            ::ExtTextOutA(dc.m_hDC, m_nTextLeft, y, ETO_OPAQUE, &rc, NULL, 0, NULL);
            break;
        }
        DrawGutterMarks(&dc, &rcCell, p);

        int nLen = 0;
        if (p->pText && p->nLength > 0)
            nLen = ExpandTabs(p->pText, szText, p->nLength, pEdit->m_nTabSize, nLineEnd);
        if (nLen >= nLineEnd && nLen > 0 && nLineEnd > 0 && szText[nLen - nLineEnd] == pEdit->m_szLineEnd[0])
            nLen -= nLineEnd;
        int n = nLen - m_nFirstCol;

        // A line with colours of its own has them from the gutter to the right edge.
        const COLORREF crStoreText = pEdit->m_crDefaultText;
        COLORREF crBack = pEdit->m_crBackground, crText = crStoreText;
        const BOOL bOwnColors = GetLinePaintColors(p, &crBack, &crText);
        if (bOwnColors)
        {
            dc.SetBkColor(crBack);
            dc.SetTextColor(crText);
            pEdit->m_crDefaultText = crText;
        }

        // The text and the blank rest of the row, opaque, in as few outputs
        // as the colours allow.
        RECT rcText = {x0, y, m_rcClient.right, y + m_nLineHeight};
        if (n < 1)
        {
            RECT rc = {m_nTextLeft, y, m_rcClient.right, y + m_nLineHeight};
            ::ExtTextOutA(dc.m_hDC, m_nTextLeft, y, ETO_OPAQUE, &rc, NULL, 0, NULL);
        }
        else if (pEdit->m_bChroma)
            TWKEditDrawLineText(pEdit, p, szText, nLen, m_nFirstCol, nMax, TRUE, &dc, x0, y, &rcText);
        else
            ::ExtTextOutA(dc.m_hDC, x0, y, ETO_OPAQUE, &rcText, szText + m_nFirstCol, n < nMax ? n : nMax, NULL);
        if (bOwnColors)
        {
            pEdit->m_crDefaultText = crStoreText;
            dc.SetBkColor(pEdit->m_crBackground);
            dc.SetTextColor(crStoreText);
        }

        if (bSelection && pEdit->m_pFocusWnd == this)
        {
            int nStart = 0, nCount = 0;
            if (GetLineSelection(p, nLen, &nStart, &nCount))
            {
                nStart -= m_nFirstCol;
                if (nStart < 0)
                    nCount += nStart, nStart = 0;
                if (nCount > 0)
                    dc.PatBlt(m_nTextLeft + nStart * m_nCharWidth, y, nCount * m_nCharWidth, m_nLineHeight,
                              DSTINVERT);
            }
        }
    }
    ::SelectObject(dc.m_hDC, hOldFont);
}

// ------------------------------------------------------------------- font

template <class Base>
void TWKEditCore<Base>::TakeFont(const LOGFONTA& lf)
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    HDC hdc = ::GetDC(this->m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hdc, m_font.GetSafeHandle());
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hdc, &tm);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(this->m_hWnd, hdc);
    m_nLineHeight = m_nTextLeft = tm.tmHeight + tm.tmExternalLeading;
    m_nCharWidth = tm.tmAveCharWidth;
}

template <class Base>
void TWKEditCore<Base>::SetFont(CFont* pFont, BOOL bRedraw)
{
    LOGFONTA lf = {};
    pFont->GetLogFont(&lf);
    lf.lfPitchAndFamily |= FIXED_PITCH;
    TakeFont(lf);
    if (bRedraw && this->m_hWnd)
    {
        this->Invalidate(TRUE);
        this->UpdateWindow();
    }
}

template <class Base>
void TWKEditCore<Base>::SetFontIndirect(const LOGFONTA* pLogFont)
{
    LOGFONTA lf = *pLogFont;
    lf.lfPitchAndFamily |= FIXED_PITCH;
    TakeFont(lf);
}

// ------------------------------------------------------------------ focus

template <class Base>
void TWKEditCore<Base>::OnSetFocus(CWnd* pOldWnd)
{
    if (TWKEdit* pEdit = GetEdit())
        pEdit->m_pFocusWnd = this;
    Base::OnSetFocus(pOldWnd);
    if (!m_bCaretCreated && !m_bSelection)
    {
        this->CreateSolidCaret(2, m_nLineHeight);
        m_bCaretCreated = TRUE;
        this->ShowCaret();
    }
    else if (m_bSelection)
        this->Invalidate(FALSE);
    PositionCaret();
}

template <class Base>
void TWKEditCore<Base>::OnKillFocus(CWnd* pNewWnd)
{
    Base::OnKillFocus(pNewWnd);
    if (m_bCaretCreated)
    {
        ::DestroyCaret();
        m_bCaretCreated = FALSE;
    }
    if (m_bSelection)
    {
        CClientDC dc(this);
        InvertSelection(&dc);
    }
}

// ------------------------------------------------------- hints and lines

template <class Base>
void TWKEditCore<Base>::ValidateLines(TWKEditLine* pLine)
{
    // Whether the caret's line is in pLine's list, searched outwards from
    // pLine: the caret is mostly near the line a change names.
    BOOL bFound = FALSE;
    TWKEditLine* pUp = m_pCaretLine ? pLine : NULL;
    TWKEditLine* pDown = pUp ? pUp->pNext : NULL;
    while ((pUp || pDown) && !bFound)
    {
        bFound = pUp == m_pCaretLine || pDown == m_pCaretLine;
        pUp = pUp ? pUp->pPrev : NULL;
        pDown = pDown ? pDown->pNext : NULL;
    }
    if (bFound)
    {
        for (TWKEditLine* p = m_pCaretLine; p; p = p->pPrev)
            if (p == m_pTopLine)
                return;
        m_pTopLine = m_pCaretLine;
        m_nTopLine = m_nCaretLine;
        return;
    }
    // The caret's line is gone: the line with its number, or the last one.
    TWKEdit* pEdit = GetEdit();
    TWKEditLine* p = pEdit ? pEdit->GetFirstLine() : NULL;
    int n = 1;
    while (p && p->pNext && n < m_nCaretLine)
        p = p->pNext, n++;
    m_pCaretLine = m_pTopLine = p;
    m_nCaretLine = m_nTopLine = n;
}

// ----------------------------------------------------------------- scrolling

template <class Base>
void TWKEditCore<Base>::ScrollHorizontalTo(int nFirstCol)
{
    if (nFirstCol < 0)
        nFirstCol = 0;
    if (nFirstCol > TWK_MAX_COLUMNS)
        nFirstCol = TWK_MAX_COLUMNS;
    if (nFirstCol == m_nFirstCol)
        return;
    m_nFirstCol = nFirstCol;
    SetScrollPos(SB_HORZ, m_nFirstCol, m_bUpdate);
    this->Invalidate(TRUE);
    PositionCaret();
}

template <class Base>
void TWKEditCore<Base>::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    m_bInScroll = TRUE;
    int nRows = VisibleRows();
    switch (nSBCode)
    {
    case SB_LINEDOWN:
        ScrollLineDown(m_bUpdate);
        break;
    case SB_LINEUP:
        ScrollLineUp(m_bUpdate);
        break;
    case SB_PAGEDOWN:
    case SB_PAGEUP:
        // The bar pages always; only paging up tells the other views.
        if (MoveTopLine(nSBCode == SB_PAGEDOWN ? nRows : -nRows))
        {
            this->Invalidate(FALSE);
            this->UpdateWindow();
            if (nSBCode == SB_PAGEUP)
                UpdateViews(this, TWK_HINT_SCROLL, NULL);
            PositionCaret();
        }
        SetScrollPos(SB_VERT, m_nTopLine - 1, m_bUpdate);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        if (TWKEdit* pEdit = GetEdit())
        {
            int t = (int)LOWORD(nPos) * m_nVScrollScale;
            TWKEditLine* p = pEdit->GetFirstLine();
            int n = 1;
            while (p && p->pNext && n <= t)
                p = p->pNext, n++;
            if (p)
                m_pTopLine = p, m_nTopLine = n;
            if (m_bUpdate)
            {
                this->Invalidate(FALSE);
                this->UpdateWindow();
            }
            PositionCaret();
            SetScrollPos(SB_VERT, m_nTopLine - 1, m_bUpdate);
        }
        break;
    default:
        break;
    }
    m_bInScroll = FALSE;
}

template <class Base>
void TWKEditCore<Base>::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    m_bInScroll = TRUE;
    int nNew = m_nFirstCol;
    switch (nSBCode)
    {
    case SB_LINELEFT:
        if (nNew > 0)
            nNew--;
        break;
    case SB_LINERIGHT:
        if (nNew < TWK_MAX_COLUMNS)
            nNew++;
        break;
    case SB_PAGELEFT:
        nNew = nNew - 32 > 0 ? nNew - 32 : 0;
        break;
    case SB_PAGERIGHT:
        nNew = nNew + 32 < TWK_MAX_COLUMNS ? nNew + 32 : TWK_MAX_COLUMNS;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nNew = (int)nPos;
        break;
    case SB_ENDSCROLL:
        SetScrollPos(SB_HORZ, m_nFirstCol, m_bUpdate);
        break;
    default:
        break;
    }
    ScrollHorizontalTo(nNew);
    m_bInScroll = FALSE;
}

template <class Base>
BOOL TWKEditCore<Base>::MoveTopLine(int nLines)
{
    BOOL bMoved = FALSE;
    for (; m_pTopLine && nLines > 0 && m_pTopLine->pNext; nLines--, bMoved = TRUE)
        m_pTopLine = m_pTopLine->pNext, m_nTopLine++;
    for (; m_pTopLine && nLines < 0 && m_pTopLine->pPrev; nLines++, bMoved = TRUE)
        m_pTopLine = m_pTopLine->pPrev, m_nTopLine--;
    return bMoved;
}

template <class Base>
int TWKEditCore<Base>::ScrollOneLine(int nDirection, BOOL bRedraw)
{
    if (!MoveTopLine(nDirection))
        return nDirection < 0 ? IDS_TWK_TOPOFFILE : IDS_TWK_ENDOFFILE;
    if (bRedraw)
    {
        // Only the uncovered row is painted again.
        this->ScrollWindow(0, -nDirection * m_nLineHeight);
        int nRows = VisibleRows();
        RECT rc = {0, 0, m_rcClient.right, m_nLineHeight};
        if (nDirection > 0)
            ::SetRect(&rc, 0, (nRows > 0 ? nRows - 1 : 0) * m_nLineHeight, m_rcClient.right, m_rcClient.bottom);
        this->InvalidateRect(&rc, FALSE);
        this->UpdateWindow();
        SetScrollPos(SB_VERT, m_nTopLine - 1, TRUE);
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::ScrollLineUp(BOOL bRedraw)
{
    return ScrollOneLine(-1, bRedraw);
}

template <class Base>
int TWKEditCore<Base>::ScrollLineDown(BOOL bRedraw)
{
    return ScrollOneLine(1, bRedraw);
}

template <class Base>
int TWKEditCore<Base>::ScrollPageUp(BOOL bRedraw)
{
    if (!MoveTopLine(-VisibleRows()))
        return IDS_TWK_TOPOFFILE;
    if (bRedraw)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    UpdateViews(this, TWK_HINT_SCROLL, NULL);
    PositionCaret();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::ScrollPageDown(BOOL bRedraw)
{
    if (!MoveTopLine(VisibleRows()))
        return IDS_TWK_ENDOFFILE;
    if (bRedraw)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    PositionCaret();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::SetTopLine(int nLine, BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return 0;
    TWKEditLine* p = pEdit->GetFirstLine();
    int n = 1;
    while (p && p->pNext && n < nLine)
        p = p->pNext, n++;
    m_pTopLine = p;
    m_nTopLine = n;
    if (bRedraw && this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    PositionCaret();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::UpdateLineCount()
{
    TWKEdit* pEdit = GetEdit();
    if (!m_pTopLine || !pEdit)
        return 0;
    // From the head the store keeps: no walk back up to it first.
    int nCount = TWKEdit::RenumberLines(pEdit->m_pFirstLine ? pEdit->m_pFirstLine : m_pTopLine);
    if (nCount != pEdit->m_nLineCount)
    {
        pEdit->m_nLineCount = nCount;
        SetScrollRange(SB_VERT, 0, nCount - 1, m_bUpdate);
    }
    return nCount;
}

template <class Base>
void TWKEditCore<Base>::OnSize(UINT nType, int cx, int cy)
{
    ::SetRect(&m_rcClient, 0, 0, cx, cy);
    TWKEdit* pEdit = GetEdit();
    SetScrollRange(SB_VERT, 0, (pEdit ? pEdit->m_nLineCount : 1) - 1, TRUE);
    if (m_nTopLine != 0)
        SetScrollPos(SB_VERT, m_nTopLine - 1, TRUE);
    Base::OnSize(nType, cx, cy);
}

// ----------------------------------------------------------- other operations

template <class Base>
void TWKEditCore<Base>::CenterLine(TWKEditLine* pLine)
{
    if (!pLine)
        return;
    int n = 1;
    for (TWKEditLine* p = pLine->pPrev; p; p = p->pPrev)
        n++;
    m_pCaretLine = pLine;
    m_nCaretLine = n;
    m_nCaretCol = 0;
    int nRows = VisibleRows();
    if (m_nCaretLine < m_nTopLine || m_nCaretLine - m_nTopLine >= nRows)
    {
        m_pTopLine = pLine;
        m_nTopLine = n;
        while (m_pTopLine->pPrev && m_nCaretLine - m_nTopLine < nRows / 2)
            m_pTopLine = m_pTopLine->pPrev, m_nTopLine--;
    }
    if (this->m_hWnd)
        this->Invalidate(FALSE);
    EnsureCaretVisible();
}

template <class Base>
int TWKEditCore<Base>::GetTextLength()
{
    if (!m_pTopLine)
        return 0;
    int n = 0;
    for (TWKEditLine* p = TWKEdit::GetFirstLine(m_pTopLine); p; p = p->pNext)
        n += p->nLength;
    return n;
}

template <class Base>
void TWKEditCore<Base>::Refresh()
{
    this->Invalidate(TRUE);
    this->UpdateWindow();
    EnsureCaretVisible();
    UpdateViews(this, 0, NULL);
}

template <class Base>
int TWKEditCore<Base>::GetBookmarkCount()
{
    TWKEdit* pEdit = GetEdit();
    int n = 0;
    for (TWKEditLine* p = pEdit ? pEdit->GetFirstLine() : NULL; p; p = p->pNext)
        if (p->dwFlags & LINE_BOOKMARK)
            n++;
    return n;
}

// --------------------------------------------------------- other handlers

template <class Base>
void TWKEditCore<Base>::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    ProcessChar(nChar, nRepCnt, nFlags);
}

template <class Base>
void TWKEditCore<Base>::OnPageSetup()
{
    m_dlgPageSetup.LoadSettings();
    if (m_dlgPageSetup.DoModal() == IDOK)
        m_dlgPageSetup.SaveSettings();
}

template <class Base>
void TWKEditCore<Base>::OnUpdatePageSetup(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

#include "editor/window/TWKEditCaretImpl.h"
#include "editor/window/TWKEditSelectImpl.h"
#include "editor/window/TWKEditTypingImpl.h"
#include "editor/window/TWKEditClipImpl.h"
#include "editor/window/TWKEditBookmarkImpl.h"
#include "editor/window/TWKEditMouseImpl.h"
#include "editor/window/TWKEditFindImpl.h"
#include "editor/window/TWKEditDragImpl.h"
