// Caret movement of the editing window: the movement commands, the column
// rules they share and going to a line. Part of TWKEditCoreImpl.h.
#pragma once

// ----------------------------------------------------------- column rules

template <class Base>
int TWKEditCore<Base>::TextEnd(TWKEditLine* pLine)
{
    TWKEdit* pEdit = GetEdit();
    if (!pLine || !pLine->pText || !pEdit)
        return 0;
    int nEnd = pLine->nLength, nLen = pEdit->m_nLineEndLen;
    if (nEnd > 0 && nLen > 0 && nEnd >= nLen && pLine->pText[nEnd - nLen] == pEdit->m_szLineEnd[0])
        nEnd -= nLen;
    return nEnd;
}

template <class Base>
int TWKEditCore<Base>::LineEndColumn(TWKEditLine* pLine)
{
    TWKEdit* pEdit = GetEdit();
    return pEdit ? pEdit->OffsetToColumn(pLine, TextEnd(pLine)) : 0;
}

template <class Base>
BOOL TWKEditCore<Base>::IsWordByte(char ch)
{
    TWKEdit* pEdit = GetEdit();
    return ch == '_' || ch == '.' || (pEdit && pEdit->IsWordChar((BYTE)ch));
}

template <class Base>
int TWKEditCore<Base>::ClampCaretColumn(int nCol)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditLine* pLine = m_pCaretLine;
    if (!pEdit || !pLine || !pLine->pText)
        return nCol;
    int nTab = pEdit->m_nTabSize > 0 ? pEdit->m_nTabSize : 4;
    int k = pEdit->ColumnToOffset(pLine, nCol);
    if (k < pLine->nLength && pLine->pText[k] == '\t' && nCol % nTab != 0)
        nCol = pEdit->OffsetToColumn(pLine, k);
    if (m_bSelection && m_nSelMode == 2)
        return nCol;
    // A carriage return after the first byte limits the caret to the text.
    for (int p = pLine->nLength - 1; p >= 1; p--)
    {
        if (pLine->pText[p] == '\r')
        {
            int nLimit = pEdit->OffsetToColumn(pLine, p);
            if (nLimit < nCol)
                nCol = nLimit;
            break;
        }
    }
    // A line of nothing but its line end holds the caret at 0; a last line
    // without one is all text, however short.
    if (TextEnd(pLine) == 0)
        return 0;
    return nCol;
}

template <class Base>
int TWKEditCore<Base>::PrevCaretColumn(int nCol)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditLine* pLine = m_pCaretLine;
    if (!pEdit || !pLine || !pLine->pText)
        return nCol - 1;
    int nTab = pEdit->m_nTabSize > 0 ? pEdit->m_nTabSize : 4;
    int k = pEdit->ColumnToOffset(pLine, nCol - 1);
    if (k < pLine->nLength && pLine->pText[k] == '\t' && (nCol - 1) % nTab != 0)
        return pEdit->OffsetToColumn(pLine, k);
    return nCol - 1;
}

template <class Base>
int TWKEditCore<Base>::NextCaretColumn(int nCol)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditLine* pLine = m_pCaretLine;
    int nNext = nCol + 1;
    if (pEdit && pLine && pLine->pText)
    {
        int nTab = pEdit->m_nTabSize > 0 ? pEdit->m_nTabSize : 4;
        int k = pEdit->ColumnToOffset(pLine, nCol);
        if (k < pLine->nLength && pLine->pText[k] == '\t')
            nNext = (pEdit->OffsetToColumn(pLine, k) / nTab + 1) * nTab;
    }
    return ClampCaretColumn(nNext);
}

// ------------------------------------------------------ movement operations

template <class Base>
int TWKEditCore<Base>::StepCaretLine(int nDirection, BOOL bRedraw)
{
    if (!m_pCaretLine)
        return nDirection > 0 ? IDS_TWK_ENDOFFILE : IDS_TWK_TOPOFFILE;
    TWKEditLine* pTo = nDirection > 0 ? m_pCaretLine->pNext : m_pCaretLine->pPrev;
    if (!pTo)
        return nDirection > 0 ? IDS_TWK_ENDOFFILE : IDS_TWK_TOPOFFILE;
    if (bRedraw)
        EnsureCaretVisible();
    BOOL bEdgeRow = nDirection > 0 ? m_nCaretLine == m_nTopLine + VisibleRows() - 1 : m_nCaretLine == m_nTopLine;
    m_pCaretLine = pTo;
    if (bEdgeRow)
        ScrollOneLine(nDirection, bRedraw);
    m_nCaretLine += nDirection;
    m_nCaretCol = ClampCaretColumn(m_nCaretCol);
    if (bRedraw)
        EnsureCaretVisible();
    AnnounceScroll();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretDown(BOOL bRedraw)
{
    return StepCaretLine(1, bRedraw);
}

template <class Base>
int TWKEditCore<Base>::MoveCaretUp(BOOL bRedraw)
{
    return StepCaretLine(-1, bRedraw);
}

template <class Base>
int TWKEditCore<Base>::MoveCaretLeft(BOOL bRedraw)
{
    if (m_nCaretCol > 0)
    {
        m_nCaretCol = PrevCaretColumn(m_nCaretCol);
        if (bRedraw)
            EnsureCaretVisible();
        AnnounceScroll();
        return 0;
    }
    if (!m_pCaretLine || !m_pCaretLine->pPrev)
        return IDS_TWK_TOPOFFILE;
    StepCaretLine(-1, bRedraw);
    m_nCaretCol = LineEndColumn(m_pCaretLine);
    if (bRedraw)
        EnsureCaretVisible();
    return 0;
}

template <class Base>
void TWKEditCore<Base>::StepCaretRight(BOOL bRedraw, BOOL bRedrawLineStep)
{
    int nOld = m_nCaretCol;
    m_nCaretCol = NextCaretColumn(m_nCaretCol);
    if (m_nCaretCol == nOld && m_pCaretLine->pNext)
    {
        // At the limit: on to the start of the next line.
        StepCaretLine(1, bRedrawLineStep);
        m_nCaretCol = 0;
    }
    if (bRedraw)
        EnsureCaretVisible();
    AnnounceScroll();
}

template <class Base>
int TWKEditCore<Base>::MoveCaretRight(BOOL bRedraw)
{
    if (m_nCaretCol >= TWK_MAX_COLUMNS || !m_pCaretLine)
        return 0;
    StepCaretRight(bRedraw, TRUE);
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretLineStart(BOOL bRedraw)
{
    m_nCaretCol = 0;
    if (bRedraw)
        EnsureCaretVisible();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretLineEnd(BOOL bRedraw)
{
    m_nCaretCol = LineEndColumn(m_pCaretLine);
    if (bRedraw)
        EnsureCaretVisible();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretPageDown(BOOL bRedraw)
{
    if (!m_pCaretLine || !m_pCaretLine->pNext)
        return IDS_TWK_ENDOFFILE;
    // The top line follows the caret step for step.
    for (int i = VisibleRows(); i > 0 && m_pCaretLine->pNext; i--)
    {
        m_pCaretLine = m_pCaretLine->pNext, m_nCaretLine++;
        if (m_pTopLine && m_pTopLine->pNext)
            m_pTopLine = m_pTopLine->pNext, m_nTopLine++;
    }
    if (bRedraw)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
        EnsureCaretVisible();
    }
    AnnounceScroll();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretPageUp(BOOL bRedraw)
{
    if (!m_pCaretLine || !m_pCaretLine->pPrev)
        return IDS_TWK_TOPOFFILE;
    if (bRedraw)
        EnsureCaretVisible();
    int nOldTop = m_nTopLine;
    for (int i = VisibleRows(); i > 0; i--)
    {
        if (m_pTopLine && m_pTopLine->pPrev)
        {
            m_pTopLine = m_pTopLine->pPrev, m_nTopLine--;
            m_pCaretLine = m_pCaretLine->pPrev, m_nCaretLine--;
        }
        else if (m_pCaretLine->pPrev)
            m_pCaretLine = m_pCaretLine->pPrev, m_nCaretLine--;
    }
    if (bRedraw)
    {
        if (m_nTopLine != nOldTop)
        {
            this->Invalidate(FALSE);
            this->UpdateWindow();
        }
        EnsureCaretVisible();
    }
    AnnounceScroll();
    return 0;
}

template <class Base>
void TWKEditCore<Base>::PlaceAtFirstLine()
{
    UpdateLineCount();
    m_pCaretLine = m_pTopLine = GetEdit()->GetFirstLine();
    m_nCaretCol = m_nFirstCol = 0;
    m_nTopLine = m_nCaretLine = 1;
}

template <class Base>
void TWKEditCore<Base>::PlaceAtLastLine()
{
    UpdateLineCount();
    TWKEditLine* pLast = m_pCaretLine;
    while (pLast->pNext)
        pLast = pLast->pNext;
    m_pCaretLine = m_pTopLine = pLast;
    m_nCaretLine = m_nTopLine = GetEdit()->m_nLineCount;
    // The last line becomes the bottom row.
    for (int i = VisibleRows() - 1; i > 0 && m_pTopLine->pPrev; i--)
        m_pTopLine = m_pTopLine->pPrev, m_nTopLine--;
    m_nCaretCol = m_nFirstCol = 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretToTop(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine || (!m_pCaretLine->pPrev && m_nCaretCol == 0))
        return IDS_TWK_TOPOFFILE;
    PlaceAtFirstLine();
    if (bRedraw)
    {
        this->Invalidate(FALSE);
        EnsureCaretVisible();
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretToBottom(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    PlaceAtLastLine();
    m_nCaretCol = LineEndColumn(m_pCaretLine);
    if (bRedraw)
    {
        this->Invalidate(FALSE);
        EnsureCaretVisible();
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretWordLeft(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return IDS_TWK_NOTEXT;
    if (m_nCaretCol == 0)
    {
        if (!m_pCaretLine->pPrev)
            return IDS_TWK_TOPOFFILE;
        if (MoveCaretUp(m_bUpdate) == 0)
            MoveCaretLineEnd(m_bUpdate);
    }
    TWKEditLine* pLine = m_pCaretLine;
    if (!pLine->pText)
        return IDS_TWK_NOTEXT;
    int nEnd = TextEnd(pLine);
    if (nEnd == 0)
    {
        m_nCaretCol = 0;
        if (bRedraw)
            EnsureCaretVisible();
        return 0;
    }
    int o = pEdit->ColumnToOffset(pLine, m_nCaretCol);
    if (o > nEnd)
        o = nEnd;
    while (o > 1 && !IsWordByte(pLine->pText[o - 1]))
        o--;
    while (o > 1 && IsWordByte(pLine->pText[o - 1]))
        o--;
    if (o == 1)
    {
        BYTE b = (BYTE)pLine->pText[0];
        if (b == ' ' || (b >= 9 && b <= 13))
        {
            // Leading blanks: the word before is on the previous line.
            if (!pLine->pPrev)
                return IDS_TWK_TOPOFFILE;
            StepCaretLine(-1, bRedraw);
            MoveCaretLineEnd(m_bUpdate);
            return 0;
        }
        o = 0;
    }
    m_nCaretCol = pEdit->OffsetToColumn(pLine, o);
    if (m_nFirstCol > m_nCaretCol)
    {
        m_nFirstCol = m_nCaretCol;
        if (bRedraw)
            this->Invalidate(FALSE);
    }
    if (bRedraw)
        EnsureCaretVisible();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::MoveCaretWordRight(BOOL bRedraw)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditLine* pLine = m_pCaretLine;
    if (!pEdit || !pLine)
        return 0;
    int nEnd = TextEnd(pLine);
    if (m_nCaretCol >= pEdit->OffsetToColumn(pLine, nEnd))
    {
        if (!pLine->pNext)
            MoveCaretLineEnd(m_bUpdate);
        else
        {
            StepCaretLine(1, bRedraw);
            m_nCaretCol = 0;
            if (bRedraw)
                EnsureCaretVisible();
        }
        return 0;
    }
    int o = pEdit->ColumnToOffset(pLine, m_nCaretCol);
    if (o < nEnd && IsWordByte(pLine->pText[o]))
    {
        while (o < nEnd && IsWordByte(pLine->pText[o]))
            o++;
    }
    while (o < nEnd && !IsWordByte(pLine->pText[o]))
        o++;
    if (o < nEnd)
    {
        m_nCaretCol = pEdit->OffsetToColumn(pLine, o);
        if (bRedraw)
            EnsureCaretVisible();
    }
    else if (pLine->pNext)
    {
        MoveCaretDown(m_bUpdate);
        m_nCaretCol = 0;
        if (bRedraw)
            EnsureCaretVisible();
    }
    return 0;
}

// ------------------------------------------------------------ go to line

template <class Base>
int TWKEditCore<Base>::GoToLine(int nLine)
{
    return GoToLineColumn(nLine, 0);
}

template <class Base>
int TWKEditCore<Base>::GoToLineColumn(int nLine, int nCol)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pTopLine)
        return 0;
    // Lines from build messages may name a line a shorter file lacks.
    TWKEditLine* pTarget = pEdit->GetFirstLine();
    int n = 1;
    for (; n < nLine && pTarget->pNext; n++)
        pTarget = pTarget->pNext;
    nCol = nCol < 0 ? 0 : nCol > TWK_MAX_COLUMNS ? TWK_MAX_COLUMNS : nCol;

    m_nCaretLine = n;
    int nRows = VisibleRows() > 0 ? VisibleRows() : 1;
    int nTop = m_nTopLine;
    if (n < m_nTopLine)
        nTop = n;
    else if (n > m_nTopLine + nRows - 1)
        nTop = n - nRows + 1;
    BOOL bTopChanged = nTop != m_nTopLine;
    if (bTopChanged)
    {
        TWKEditLine* pTop = pEdit->GetFirstLine();
        int i = 1;
        for (; i < nTop && pTop->pNext; i++)
            pTop = pTop->pNext;
        m_pTopLine = pTop;
        m_nTopLine = i;
        PositionCaret();
    }
    m_pCaretLine = pTarget;
    m_nCaretCol = nCol;
    BOOL bUpdate = m_bUpdate;
    m_bUpdate = TRUE;
    EnsureCaretVisible();
    m_bUpdate = bUpdate;
    if (bTopChanged && this->m_hWnd)
    {
        this->Invalidate(TRUE);
        this->UpdateWindow();
    }
    return 0;
}

// --------------------------------------------------------------- commands

template <class Base>
void TWKEditCore<Base>::OnDown() { EndSelectionForCommand(); MoveCaretDown(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnUp() { EndSelectionForCommand(); MoveCaretUp(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnLeft() { EndSelectionForCommand(); MoveCaretLeft(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnRight() { EndSelectionForCommand(); MoveCaretRight(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnPageUp() { EndSelectionForCommand(); MoveCaretPageUp(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnPageDown() { EndSelectionForCommand(); MoveCaretPageDown(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnHome() { EndSelectionForCommand(); MoveCaretLineStart(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnEnd() { EndSelectionForCommand(); MoveCaretLineEnd(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnTopOfFile() { EndSelectionForCommand(); MoveCaretToTop(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnBottomOfFile() { EndSelectionForCommand(); MoveCaretToBottom(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnWordLeft() { EndSelectionForCommand(); MoveCaretWordLeft(m_bUpdate); }
template <class Base>
void TWKEditCore<Base>::OnWordRight() { EndSelectionForCommand(); MoveCaretWordRight(m_bUpdate); }
