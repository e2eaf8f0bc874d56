// The selection of the editing window: beginning, extending and ending it,
// the selection commands, Select All and reading it back. Part of
// TWKEditCoreImpl.h.
#pragma once
#include <utility>

template <class Base>
int TWKEditCore<Base>::IsPosBefore(TWKEditLine* pA, int nColA, TWKEditLine* pB, int nColB)
{
    if (!pA || !pB)
        return 1;
    if (pA == pB)
        return nColA <= nColB;
    // Walk forwards from both at once: whichever meets the other is earlier.
    for (TWKEditLine *p = pA->pNext, *q = pB->pNext; p || q; p = p ? p->pNext : p, q = q ? q->pNext : q)
    {
        if (p == pB)
            return 1;
        if (q == pA)
            return 0;
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::ClearSelectionMarks()
{
    if (TWKEdit* pEdit = GetEdit())
        pEdit->ClearAllSelectionMarks();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::BeginSelection(int nMode, int)
{
    if (!m_bReplaceDlgOpen)
        ClearSelectionMarks();
    m_pAnchorLine = m_pSelStartLine = m_pSelEndLine = m_pCaretLine;
    m_nAnchorCol = m_nSelStartCol = m_nSelEndCol = m_nCaretCol;
    m_nSelMode = nMode;
    m_bSelection = TRUE;
    if (m_bCaretCreated)
    {
        ::DestroyCaret();
        m_bCaretCreated = FALSE;
    }
    return 0;
}

template <class Base>
void TWKEditCore<Base>::InvertSelection()
{
    if (!this->m_hWnd)
        return;
    if (m_nSelMode == 2)
    {
        this->Invalidate(FALSE);
        return;
    }
    TWKEdit* pEdit = GetEdit();
    if (pEdit && pEdit->m_pFocusWnd == this)
    {
        CClientDC dc(this);
        InvertSelection(&dc);
    }
}

template <class Base>
int TWKEditCore<Base>::ExtendSelection(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    // The screen shows the selection only in the window that last had the
    // focus: there the old range is inverted back and the new one inverted.
    BOOL bShown = bRedraw && this->m_hWnd && pEdit && pEdit->m_pFocusWnd == this;
    CClientDC* pDC = bShown ? new CClientDC(this) : NULL;
    if (pDC)
        InvertSelection(pDC);
    if (m_nSelMode == 2)
    {
        m_pSelStartLine = m_pAnchorLine, m_nSelStartCol = m_nAnchorCol;
        m_pSelEndLine = m_pCaretLine, m_nSelEndCol = m_nCaretCol;
    }
    else if (IsPosBefore(m_pAnchorLine, m_nAnchorCol, m_pCaretLine, m_nCaretCol))
    {
        m_pSelStartLine = m_pAnchorLine, m_nSelStartCol = m_nAnchorCol;
        m_pSelEndLine = m_pCaretLine, m_nSelEndCol = m_nCaretCol;
    }
    else
    {
        m_pSelStartLine = m_pCaretLine, m_nSelStartCol = m_nCaretCol;
        m_pSelEndLine = m_pAnchorLine, m_nSelEndCol = m_nAnchorCol;
    }
    if (pDC)
    {
        InvertSelection(pDC);
        delete pDC;
    }
    if (bRedraw && this->m_hWnd)
    {
        // The step's marks lie on the old and the new caret line.
        if (pEdit)
            for (TWKEditLine* p : {m_pSelStartLine, m_pSelEndLine, m_pCaretLine})
                pEdit->ClearLineSelectionMarks(p);
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::ClearSelection(BOOL bRedraw)
{
    m_bSelection = FALSE;
    if (this->m_hWnd && ::GetFocus() == this->m_hWnd && !m_bCaretCreated)
    {
        this->CreateSolidCaret(2, m_nLineHeight);
        m_bCaretCreated = TRUE;
        this->ShowCaret();
        PositionCaret();
    }
    if (m_nTimerID && this->m_hWnd)
    {
        this->KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    if (m_bMouseSelecting)
    {
        m_bMouseSelecting = FALSE;
        if (::GetCapture() == this->m_hWnd)
            ::ReleaseCapture();
    }
    if (!m_pSelStartLine || !m_pSelEndLine)
    {
        m_nSelMode = 1;
        return IDS_TWK_NOTEXT;
    }
    if (bRedraw)
        InvertSelection();
    m_pSelStartLine = m_pSelEndLine = NULL;
    m_nSelStartCol = m_nSelEndCol = 0;
    m_nSelMode = 1;
    return 0;
}

template <class Base>
int TWKEditCore<Base>::GetSelection(TWKEditPos* pStart, TWKEditPos* pEnd, BOOL* pbColumn)
{
    TWKEdit* pEdit = GetEdit();
    if (pbColumn)
        *pbColumn = FALSE;
    if (!pEdit)
        return 0;
    if (m_pSelStartLine && m_pSelEndLine)
    {
        pStart->pLine = m_pSelStartLine;
        pStart->nOffset = pEdit->ColumnToOffset(m_pSelStartLine, m_nSelStartCol);
        pEnd->pLine = m_pSelEndLine;
        pEnd->nOffset = pEdit->ColumnToOffset(m_pSelEndLine, m_nSelEndCol);
        if (pbColumn)
            *pbColumn = m_nSelMode == 2;
        return 1;
    }
    pStart->pLine = pEnd->pLine = m_pCaretLine;
    pStart->nOffset = pEnd->nOffset = pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol);
    return 0;
}

template <class Base>
void TWKEditCore<Base>::SelectMove(DWORD dwMark, int (TWKEditCore::*pfnMove)(BOOL), int nMode, BOOL bRedraw)
{
    if (!m_pCaretLine)
        return;
    if (!m_bSelection)
        BeginSelection(nMode, 0);
    TWKEdit* pEdit = GetEdit();
    auto mark = [this, pEdit](DWORD dwFlag) {
        if (pEdit)
            pEdit->SetSelectionMark(m_pCaretLine, (WORD)dwFlag, m_nCaretCol);
    };
    mark(dwMark);
    (this->*pfnMove)(bRedraw);
    mark(dwMark == LINE_SELSTART ? LINE_SELEND : LINE_SELSTART);
    ExtendSelection(bRedraw);
}

template <class Base>
int TWKEditCore<Base>::SelectAll(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (m_bSelection)
        ClearSelection(bRedraw);
    PlaceAtFirstLine();
    BeginSelection(1, 0);
    PlaceAtLastLine();
    MoveCaretLineEnd(FALSE);
    // Painting shows the new range: nothing is inverted here.
    ExtendSelection(FALSE);
    if (bRedraw && this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretTo(TWKEditPos* pPos, int nSelectCols, BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !pPos || !pPos->pLine)
        return 0;
    if (m_bSelection && bRedraw)
        ClearSelection(bRedraw);
    if (pPos->pLine != m_pCaretLine)
    {
        m_pCaretLine = pPos->pLine;
        m_nCaretLine = pPos->pLine->nLineNo;
    }
    int nStart = pEdit->OffsetToColumn(pPos->pLine, pPos->nOffset);
    m_nCaretCol = nStart;
    // Shown by painting or by the inversion below, not by what was there.
    if (!bRedraw && m_bSelection && this->m_hWnd)
        this->Invalidate(FALSE);
    BeginSelection(1, 0);
    pEdit->SetSelectionMark(m_pCaretLine, LINE_SELSTART, nStart);
    int nEnd = nStart + nSelectCols;
    m_nCaretCol = nEnd;
    if (m_rcClient.right != 0 && m_nCharWidth != 0)
    {
        int nVisible = (m_rcClient.right - m_nTextLeft) / m_nCharWidth;
        BOOL bPlaced = TRUE;
        if (nEnd + 3 < nVisible)
            m_nFirstCol = 0;
        else if (nStart < m_nFirstCol)
            m_nFirstCol = nStart - 10 > 0 ? nStart - 10 : 0;
        else if (nEnd >= m_nFirstCol + nVisible)
            m_nFirstCol = nEnd - nVisible + 10 > 0 ? nEnd - nVisible + 10 : 0;
        else
            bPlaced = FALSE;
        if (bPlaced && this->m_hWnd)
            this->Invalidate(TRUE);
    }
    if (bRedraw)
        EnsureCaretVisible();
    pEdit->SetSelectionMark(m_pCaretLine, LINE_SELEND, nEnd);
    ExtendSelection(bRedraw);
    if (bRedraw)
        EnsureCaretVisible();
    return 0;
}

template <class Base>
BOOL TWKEditCore<Base>::GetSelectionOrWord(CString& strOut)
{
    strOut.Empty();
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return FALSE;
    TWKEditLine* pLine = m_pSelStartLine;
    if (pLine && pLine == m_pSelEndLine && m_nSelEndCol < TWK_MAX_COLUMNS && pLine->pText)
    {
        int a = pEdit->ColumnToOffset(pLine, m_nSelStartCol), b = pEdit->ColumnToOffset(pLine, m_nSelEndCol);
        if (a > b)
            std::swap(a, b);
        if (b > pLine->nLength)
            b = pLine->nLength;
        if (a > b)
            a = b;
        int n = b - a < TWK_MAX_COLUMNS ? b - a : TWK_MAX_COLUMNS;
        int nEol = pEdit->m_nLineEndLen;
        if (nEol > 0 && n >= nEol && pLine->pText[a + n - nEol] == pEdit->m_szLineEnd[0])
            n -= nEol;
        strOut = CString(pLine->pText + a, n);
        return TRUE;
    }
    pLine = m_pCaretLine;
    if (!pLine || !pLine->pText)
        return FALSE;
    int e = pLine->nLength;
    if (e > 1 && e >= pEdit->m_nLineEndLen && pLine->pText[e - pEdit->m_nLineEndLen] == pEdit->m_szLineEnd[0])
        e -= pEdit->m_nLineEndLen;
    int o = pEdit->ColumnToOffset(pLine, m_nCaretCol);
    auto isWord = [pEdit](char ch) { return ch == '_' || pEdit->IsWordChar((BYTE)ch); };
    if (e == 0 || o + 1 > e || !isWord(pLine->pText[o]))
        return FALSE;
    while (o > 0 && isWord(pLine->pText[o - 1]))
        o--;
    int q = o;
    while (q < e && isWord(pLine->pText[q]))
        q++;
    strOut = CString(pLine->pText + o, q - o);
    return TRUE;
}

// --------------------------------------------------------------- commands

template <class Base>
void TWKEditCore<Base>::OnSelectUp() { SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretUp, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectLeft() { SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretLeft, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectDown() { SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretDown, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectEnd() { SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretLineEnd, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectHome() { SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretLineStart, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectPageDown() { SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretPageDown, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectWordLeft() { SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretWordLeft, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectPageUp() { SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretPageUp, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectRight() { SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretRight, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectWordRight() { SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretWordRight, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectToBottom() { SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretToBottom, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectToTop() { SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretToTop, m_nSelMode, m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnSelectAll() { SelectAll(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnUpdateSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// ------------------------------------------------- programmatic selection

template <class Base>
int TWKEditCore<Base>::SelectWord(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (m_bSelection)
        ClearSelection(bRedraw);
    TWKEditLine* pLine = m_pCaretLine;
    if (!pLine->pText)
        return 0;
    int e = pLine->nLength, nEol = pEdit->m_nLineEndLen;
    if (e > 1 && e >= nEol && pLine->pText[e - nEol] == pEdit->m_szLineEnd[0])
        e -= nEol;
    int o = pEdit->ColumnToOffset(pLine, m_nCaretCol);
    auto isWord = [pEdit](char ch) { return ch == '_' || pEdit->IsWordChar((BYTE)ch); };
    if (e == 0 || o + 1 > e || !isWord(pLine->pText[o]))
        return 0;
    while (o > 0 && !pEdit->m_TerminatorChars[(BYTE)pLine->pText[o - 1]] && isWord(pLine->pText[o - 1]))
        o--;
    m_nCaretCol = pEdit->OffsetToColumn(pLine, o);
    BeginSelection(1, 0);
    pEdit->SetSelectionMark(pLine, LINE_SELSTART, m_nCaretCol);
    while (o < e && !pEdit->m_StartChars[(BYTE)pLine->pText[o]] && isWord(pLine->pText[o]))
        o++;
    m_nCaretCol = pEdit->OffsetToColumn(pLine, o);
    if (bRedraw)
        EnsureCaretVisible();
    pEdit->SetSelectionMark(pLine, LINE_SELEND, m_nCaretCol);
    ExtendSelection(bRedraw);
    return 0;
}

template <class Base>
void TWKEditCore<Base>::PlaceForSelection(TWKEditPos* pPos)
{
    TWKEdit* pEdit = GetEdit();
    int n = TWKEdit::GetLineNo(pPos->pLine);
    int nRows = VisibleRows() > 0 ? VisibleRows() : 1;
    m_nCaretLine = n;
    BOOL bScrolled = TRUE;
    if (n < m_nTopLine)
        SetTopLine(n, FALSE);
    else if (n >= m_nTopLine + nRows)
        SetTopLine(n - nRows + 1, FALSE);
    else
        bScrolled = FALSE;
    m_pCaretLine = pPos->pLine;
    m_nCaretCol = pEdit->OffsetToColumn(pPos->pLine, pPos->nOffset);
    EnsureCaretVisible();
    if (bScrolled && this->m_hWnd)
    {
        this->Invalidate(TRUE);
        this->UpdateWindow();
    }
}

template <class Base>
int TWKEditCore<Base>::SetSelection(TWKEditPos* pStart, TWKEditPos* pEnd, BOOL bColumn)
{
    if (!GetEdit() || !pStart || !pEnd || !pStart->pLine || !pEnd->pLine)
        return 0;
    ClearSelection(FALSE);
    PlaceForSelection(pStart);
    BeginSelection(bColumn ? 2 : 1, 0);
    PlaceForSelection(pEnd);
    ExtendSelection(FALSE);
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    EnsureCaretVisible();
    UpdateViews(this, 0, NULL);
    return 0;
}

template <class Base>
int TWKEditCore<Base>::SelectLeft(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretLeft, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectRight(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretRight, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectEnd(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretLineEnd, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectWordLeft(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretWordLeft, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectWordRight(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretWordRight, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectPageUp(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretPageUp, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectPageDown(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretPageDown, nMode, bRedraw); return 0; }
template <class Base>
int TWKEditCore<Base>::SelectToTop(int nMode, BOOL bRedraw)
{ SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretToTop, nMode, bRedraw); return 0; }
