// The view flavour of the editing window, with printing.
#include "editor/window/TWKEditView.h"
#include "editor/window/TWKEditCoreImpl.h"

template class TWKEditCore<CView>;

namespace {
// Read when the message arrives, so no start-up order matters.
const UINT s_nFindReplaceMsg = ::RegisterWindowMessageA("commdlg_FindReplace");
}

BOOL TWKEditView::s_bFirstActivation = TRUE;

IMPLEMENT_DYNCREATE(TWKEditView, CView)

BEGIN_MESSAGE_MAP(TWKEditView, CView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEWHEEL()
    TWKEDIT_CORE_MESSAGES(s_nFindReplaceMsg)
END_MESSAGE_MAP()

TWKEditView::TWKEditView() = default;

TWKEditView::~TWKEditView() = default;

int TWKEditView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_dropTarget.Register(this);
    return 0;
}

BOOL TWKEditView::OnMouseWheel(UINT, short, CPoint)
{
    return TRUE;
}

void TWKEditView::TakeTopLine(TWKEditView* pOther)
{
    m_pTopLine = pOther->m_pTopLine;
    m_nTopLine = pOther->m_nTopLine;
}

void TWKEditView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    InitView();
    CWnd* pParent = GetParent();
    if (!pParent || !pParent->IsKindOf(RUNTIME_CLASS(CSplitterWnd)) || !(pParent->GetStyle() & SPLS_DYNAMIC_SPLIT))
        return;
    m_pSplitter = static_cast<CSplitterWnd*>(pParent);
    m_pSplitter->IsChildPane(this, &m_nSplitRow, &m_nSplitCol);
    CWnd* pFirst = m_pSplitter->GetPane(0, 0);
    if ((m_nSplitRow == 0 && m_nSplitCol == 0) || !pFirst || !pFirst->IsKindOf(RUNTIME_CLASS(TWKEditView)))
        return;
    if (m_nSplitRow > 0)
    {
        CWnd* pPane = m_pSplitter->GetPane(0, m_nSplitCol);
        if (pPane && pPane->IsKindOf(RUNTIME_CLASS(TWKEditView)))
        {
            m_nFirstCol = static_cast<TWKEditView*>(pPane)->m_nFirstCol;
            SetScrollPos(SB_HORZ, m_nFirstCol, m_bUpdate);
        }
    }
    if (m_nSplitCol > 0)
    {
        CWnd* pPane = m_pSplitter->GetPane(m_nSplitRow, 0);
        if (pPane && pPane->IsKindOf(RUNTIME_CLASS(TWKEditView)))
        {
            TakeTopLine(static_cast<TWKEditView*>(pPane));
            SetScrollPos(SB_VERT, m_nTopLine - 1, TRUE);
        }
    }
}

void TWKEditView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    if (s_bFirstActivation)
    {
        EnsureCaretVisible();
        s_bFirstActivation = FALSE;
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void TWKEditView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    if (lHint == IDS_TWK_DELETELINE && pHint && pHint->IsKindOf(RUNTIME_CLASS(TWKEditHint)))
    {
        ValidateLines(static_cast<TWKEditHint*>(pHint)->m_pLine);
        if (m_bUpdate)
            Invalidate(FALSE);
        return;
    }
    if (lHint != TWK_HINT_SCROLL || !m_pSplitter)
    {
        if (m_bUpdate)
            Invalidate(FALSE);
        return;
    }
    CWnd* pRef = pSender ? pSender : m_pSplitter->GetActivePane();
    if (!pRef || pRef == this || !pRef->IsKindOf(RUNTIME_CLASS(TWKEditView)))
        return;
    TWKEditView* pOther = static_cast<TWKEditView*>(pRef);
    BOOL bColumn = FALSE;
    if (pOther->m_nSplitCol == m_nSplitCol && pOther->m_nFirstCol != m_nFirstCol)
    {
        m_nFirstCol = pOther->m_nFirstCol;
        SetScrollPos(SB_HORZ, m_nFirstCol, m_bUpdate);
        bColumn = TRUE;
    }
    if (pOther->m_nSplitRow == m_nSplitRow && pOther->m_nTopLine != m_nTopLine)
    {
        TakeTopLine(pOther);
        SetScrollPos(SB_VERT, m_nTopLine - 1, TRUE);
        Invalidate(FALSE);
    }
    else if (bColumn)
        Invalidate(FALSE);
}

void TWKEditView::UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint)
{
    if (!m_pDocument)
        return;
    CView* pView = pSender && pSender->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(pSender) : NULL;
    m_pDocument->UpdateAllViews(pView, lHint, pHint);
}

CDocument* TWKEditView::GetActiveDocument()
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->IsFrameWnd())
        return NULL;
    if (pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        if (CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pMain)->MDIGetActive())
            return pChild->GetActiveDocument();
    return static_cast<CFrameWnd*>(pMain)->GetActiveDocument();
}

int TWKEditView::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    int nResult = TWKEditCore<CView>::SetScrollPos(nBar, nPos, bRedraw);
    if (m_pSplitter && !m_bInScroll && m_pSplitter->GetActivePane() == this)
        UpdateViews(this, TWK_HINT_SCROLL, NULL);
    return nResult;
}

void TWKEditView::OnDragLeave()
{
    TWKEditCore<CView>::OnDragLeave();
    CView::OnDragLeave();
}

LPSTR TWKEditView::CopySelectedText(BOOL* pbColumn)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pSelStartLine || !m_pSelEndLine)
        return NULL;
    TWKEditPos a = {m_pSelStartLine, pEdit->ColumnToOffset(m_pSelStartLine, m_nSelStartCol)};
    TWKEditPos b = {m_pSelEndLine, pEdit->ColumnToOffset(m_pSelEndLine, m_nSelEndCol)};
    BOOL bColumn = m_nSelMode == 2;
    if (pbColumn)
        *pbColumn = bColumn;
    return bColumn ? pEdit->CopyColumn(a, b) : pEdit->CopyRange(a, b);
}

// ---------------------------------------------------------------- printing

BOOL TWKEditView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (m_pSelStartLine && m_pSelEndLine)
    {
        pInfo->m_pPD->m_pd.Flags &= ~(DWORD)PD_NOSELECTION;
        pInfo->m_pPD->m_pd.Flags |= PD_SELECTION;
    }
    BOOL bResult = DoPreparePrinting(pInfo);
    m_bPrintSelection = (pInfo->m_pPD->m_pd.Flags & PD_SELECTION) != 0;
    return bResult;
}

int TWKEditView::PrintCharsPerRow(HDC hDC)
{
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hDC, &tm);
    int nAverage = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    int n = ::GetDeviceCaps(hDC, HORZRES) / nAverage - 1;
    return n > 0 ? n : 1;
}

CString TWKEditView::PrintFileName()
{
    if (!m_pDocument)
        return CString();
    return m_pDocument->GetPathName().IsEmpty() ? m_pDocument->GetTitle() : m_pDocument->GetPathName();
}

void TWKEditView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    TWKEdit* pEdit = GetEdit();
    m_dlgPageSetup.LoadSettings();
    HDC hDC = pDC->m_hDC;

    CString strPath = m_pDocument ? m_pDocument->GetPathName() : CString();
    CTime timeNow = CTime::GetCurrentTime();
    CTime timeFile = timeNow;
    CFileStatus status;
    if (!strPath.IsEmpty() && CFile::GetStatus(strPath, status))
        timeFile = status.m_mtime;
    BOOL bSaved = strPath.Find('.') >= 0;
    m_timeHeader = m_dlgPageSetup.m_nHeaderTime == 0 && bSaved ? timeFile : timeNow;
    m_timeFooter = m_dlgPageSetup.m_nFooterTime == 0 && bSaved ? timeFile : timeNow;

    // The screen font scaled to the printer; with the system font the
    // printer's own current font is used.
    if (!m_hPrinterFont)
    {
        LOGFONTA lf = {}, lfSystem = {};
        m_font.GetLogFont(&lf);
        ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof lfSystem, &lfSystem);
        if (lstrcmpiA(lf.lfFaceName, lfSystem.lfFaceName) != 0)
        {
            HDC hScreen = ::GetDC(NULL);
            lf.lfHeight = ::MulDiv(lf.lfHeight, ::GetDeviceCaps(hDC, LOGPIXELSY), ::GetDeviceCaps(hScreen, LOGPIXELSY));
            lf.lfWidth = ::MulDiv(lf.lfWidth, ::GetDeviceCaps(hDC, LOGPIXELSX), ::GetDeviceCaps(hScreen, LOGPIXELSX));
            ::ReleaseDC(NULL, hScreen);
            m_hPrinterFont = m_hOwnPrinterFont = ::CreateFontIndirectA(&lf);
        }
    }
    HGDIOBJ hOldFont = m_hPrinterFont ? ::SelectObject(hDC, m_hPrinterFont) : NULL;

    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hDC, &tm);
    m_nPrintLineHeight = tm.tmHeight + tm.tmExternalLeading;
    int nCharsPerRow = PrintCharsPerRow(hDC);
    int nUsable = ::GetDeviceCaps(hDC, VERTRES);
    CString strHeader, strFooter;
    CString strName = PrintFileName();
    m_dlgPageSetup.GetHeaderText(strHeader, m_timeHeader, strName, 1);
    m_dlgPageSetup.GetFooterText(strFooter, m_timeFooter, strName, 1);
    int nMargin = m_nPrintLineHeight + 2 * (m_nPrintLineHeight / 4);
    if (!strHeader.IsEmpty())
        nUsable -= nMargin;
    if (!strFooter.IsEmpty())
        nUsable -= nMargin;
    // Header and footer may leave no room at all: no page then.
    m_nPrintLinesPerPage = m_nPrintLineHeight > 0 && nUsable > 0 ? nUsable / m_nPrintLineHeight : 0;

    m_arrPageStarts.RemoveAll();
    m_arrPageRows.RemoveAll();
    TWKEditLine* pFirst = m_bPrintSelection ? m_pSelStartLine : (pEdit ? pEdit->GetFirstLine() : NULL);
    TWKEditLine* pLast = m_bPrintSelection ? m_pSelEndLine : NULL;
    UpdateLineCount();
    if (pFirst && m_nPrintLinesPerPage >= 1)
    {
        int nPerPage = m_nPrintLinesPerPage;
        m_arrPageStarts.Add((UINT)pFirst->nLineNo);
        m_arrPageRows.Add(0);
        int nUsed = 0;
        for (TWKEditLine* p = pFirst; p; p = p == pLast ? NULL : p->pNext)
        {
            BOOL bNext = p != pLast && p->pNext;
            int nText = pEdit->OffsetToColumn(p, pEdit->VisibleEnd(p));
            if (nText > TWK_MAX_COLUMNS)
                nText = TWK_MAX_COLUMNS;   // printing stops at the line buffer too
            int nLeft = nText <= nCharsPerRow ? 1 : (nText + nCharsPerRow - 1) / nCharsPerRow;
            int nRow = 0;
            for (;;)
            {
                if (nUsed + nLeft <= nPerPage)
                {
                    nUsed += nLeft;
                    if (nUsed == nPerPage && bNext)
                    {
                        m_arrPageStarts.Add((UINT)p->pNext->nLineNo);
                        m_arrPageRows.Add(0);
                        nUsed = 0;
                    }
                    break;
                }
                // A line longer than a page fills it and goes on on the next.
                if (nUsed == 0)
                {
                    nRow += nPerPage;
                    nLeft -= nPerPage;
                }
                m_arrPageStarts.Add((UINT)p->nLineNo);
                m_arrPageRows.Add((UINT)nRow);
                nUsed = 0;
            }
        }
    }
    pInfo->SetMaxPage((UINT)m_arrPageStarts.GetSize());
    if (hOldFont)
        ::SelectObject(hDC, hOldFont);
}

void TWKEditView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    TWKEdit* pEdit = GetEdit();
    int nPage = (int)pInfo->m_nCurPage;
    int nPages = (int)m_arrPageStarts.GetSize();
    if (!pEdit || nPage < 1 || nPage > nPages || m_nPrintLineHeight <= 0)
    {
        pInfo->m_bContinuePrinting = FALSE;
        return;
    }
    HDC hDC = pDC->m_hDC;
    CString strName = PrintFileName();
    CString strHeader, strFooter;
    m_dlgPageSetup.GetHeaderText(strHeader, m_timeHeader, strName, nPage);
    m_dlgPageSetup.GetFooterText(strFooter, m_timeFooter, strName, nPage);

    HGDIOBJ hOldFont = m_hPrinterFont ? ::SelectObject(hDC, m_hPrinterFont) : NULL;
    ::SetBkMode(hDC, TRANSPARENT);
    int nLineHeight = m_nPrintLineHeight;
    CRect& rc = pInfo->m_rectDraw;
    if (!strHeader.IsEmpty())
    {
        ::TextOutA(hDC, rc.left, rc.top, strHeader, strHeader.GetLength());
        int yRule = rc.top + nLineHeight + nLineHeight / 4;
        ::MoveToEx(hDC, rc.left, yRule, NULL);
        ::LineTo(hDC, rc.right, yRule);
        rc.top = yRule + nLineHeight / 4;
    }
    if (!strFooter.IsEmpty())
        rc.bottom -= nLineHeight + 2 * (nLineHeight / 4);

    int nCharsPerRow = PrintCharsPerRow(hDC);
    int nStartLine = (int)m_arrPageStarts[nPage - 1];
    int nRow = (int)m_arrPageRows[nPage - 1];
    int nNextLine = nPage < nPages ? (int)m_arrPageStarts[nPage] : -1;
    int nNextRow = nPage < nPages ? (int)m_arrPageRows[nPage] : 0;

    TWKEditLine* p = pEdit->GetFirstLine();
    while (p && p->nLineNo < nStartLine)
        p = p->pNext;
    char szText[TWK_LINE_BUFFER];
    int y = rc.top;
    int nPrinted = 0;
    while (p && nPrinted < m_nPrintLinesPerPage)
    {
        if (m_bPrintSelection && p == m_pSelEndLine && m_nSelEndCol == 0)
        {
            pInfo->m_bContinuePrinting = FALSE;
            break;
        }
        int nLen = p->pText && p->nLength > 0
                       ? ExpandTabs(p->pText, szText, p->nLength, pEdit->m_nTabSize, pEdit->m_nLineEndLen)
                       : 0;
        int nLineEnd = pEdit->m_nLineEndLen;
        if (nLen >= nLineEnd && nLen > 0 && nLineEnd > 0 && szText[nLen - nLineEnd] == pEdit->m_szLineEnd[0])
            nLen -= nLineEnd;
        int nRows = nLen <= nCharsPerRow ? 1 : (nLen + nCharsPerRow - 1) / nCharsPerRow;
        for (; nRow < nRows && nPrinted < m_nPrintLinesPerPage; nRow++, nPrinted++, y += nLineHeight)
        {
            if (p->nLineNo == nNextLine && nRow == nNextRow)
                break;
            int nFrom = nRow * nCharsPerRow;
            int nCount = nLen - nFrom < nCharsPerRow ? nLen - nFrom : nCharsPerRow;
            if (nCount > 0)
                ::TextOutA(hDC, rc.left, y, szText + nFrom, nCount);
        }
        if (p->nLineNo == nNextLine && nRow == nNextRow)
            break;
        if (nRow < nRows)
            break;   // the page is full inside this line
        if (m_bPrintSelection && p == m_pSelEndLine)
        {
            pInfo->m_bContinuePrinting = FALSE;
            break;
        }
        p = p->pNext;
        nRow = 0;
        if (p && p->nLineNo == nNextLine && nNextRow == 0)
            break;
    }

    if (!strFooter.IsEmpty())
    {
        int yFooter = rc.bottom + nLineHeight / 2;
        ::TextOutA(hDC, rc.left, yFooter, strFooter, strFooter.GetLength());
        ::MoveToEx(hDC, rc.left, yFooter - nLineHeight / 4, NULL);
        ::LineTo(hDC, rc.right, yFooter - nLineHeight / 4);
    }
    if (hOldFont)
        ::SelectObject(hDC, hOldFont);
}

void TWKEditView::OnEndPrinting(CDC*, CPrintInfo*)
{
    if (m_hOwnPrinterFont && m_hPrinterFont == m_hOwnPrinterFont)
    {
        ::DeleteObject(m_hOwnPrinterFont);
        m_hPrinterFont = m_hOwnPrinterFont = NULL;
    }
}
