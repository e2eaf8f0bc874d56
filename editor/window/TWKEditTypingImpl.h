// Typing and the editing commands of the editing window: characters, line
// breaks with indentation, Delete, Backspace, Tab and BackTab, deleting the
// selection, the insert mode, Undo and Redo, and replacing the text. Part of
// TWKEditCoreImpl.h.
#pragma once

// ----------------------------------------------------------------- helpers

template <class Base>
TWKEditPos TWKEditCore<Base>::CaretPos()
{
    TWKEditPos pos = {m_pCaretLine, GetEdit()->ColumnToOffset(m_pCaretLine, m_nCaretCol)};
    return pos;
}

template <class Base>
BOOL TWKEditCore<Base>::HasAnchoredRange() const
{
    if (!m_pSelStartLine || !m_pSelEndLine)
        return FALSE;
    return !(m_pSelStartLine == m_pSelEndLine && m_nSelStartCol == m_nSelEndCol);
}

template <class Base>
int TWKEditCore<Base>::CaretLineWidth()
{
    TWKEdit* pEdit = GetEdit();
    int nWidth = pEdit->OffsetToColumn(m_pCaretLine, m_pCaretLine->nLength);
    // The store fills the line up to a caret right of the text first.
    int nFilled = m_nCaretCol + pEdit->m_nLineEndLen;
    return nFilled > nWidth ? nFilled : nWidth;
}

template <class Base>
BOOL TWKEditCore<Base>::IsPrimaryButtonDown()
{
    int nKey = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (::GetAsyncKeyState(nKey) & 0xFF00) != 0;
}

template <class Base>
void TWKEditCore<Base>::RepaintCaretLine(BOOL bUpdateNow)
{
    if (!this->m_hWnd)
        return;
    int y = (m_nCaretLine - m_nTopLine) * m_nLineHeight;
    RECT rc = {m_rcClient.left, y, m_rcClient.right, y + m_nLineHeight};
    this->InvalidateRect(&rc, FALSE);
    if (bUpdateNow)
        this->UpdateWindow();
}

template <class Base>
BOOL TWKEditCore<Base>::IsCommentDelimiterChar(TWKEdit* pEdit, char ch)
{
    if (!pEdit || !ch)
        return FALSE;
    auto last = [](LPCSTR s) { size_t n = strlen(s); return n ? s[n - 1] : 0; };
    if (pEdit->m_szCommentEnd1[0] &&
        (ch == last(pEdit->m_szCommentStart1) || ch == last(pEdit->m_szCommentEnd1)))
        return TRUE;
    if (pEdit->m_szCommentEnd2[0] &&
        (ch == last(pEdit->m_szCommentStart2) || ch == last(pEdit->m_szCommentEnd2)))
        return TRUE;
    for (INT_PTR i = 0; i < pEdit->m_arrCommentPairs.GetSize(); i++)
    {
        const TWKEditCommentPair* p = (const TWKEditCommentPair*)pEdit->m_arrCommentPairs.GetAt(i);
        if (!p || p->strOpen.IsEmpty() || p->strClose.IsEmpty())
            continue;
        LPCSTR a = p->strOpen, b = p->strClose;
        if (ch == a[0] || ch == last(a) || ch == b[0] || ch == last(b))
            return TRUE;
    }
    return FALSE;
}

template <class Base>
void TWKEditCore<Base>::RepaintForChar(char ch, BOOL bUpdateNow)
{
    TWKEdit* pEdit = GetEdit();
    if (this->m_hWnd && pEdit->m_bChroma && (ch == '"' || ch == '\'' || IsCommentDelimiterChar(pEdit, ch)))
    {
        this->Invalidate(FALSE);
        if (bUpdateNow)
            this->UpdateWindow();
        return;
    }
    RepaintCaretLine(bUpdateNow);
}

template <class Base>
void TWKEditCore<Base>::InvalidateFromRow(int nRow)
{
    if (!this->m_hWnd)
        return;
    RECT rc = {m_rcClient.left, nRow * m_nLineHeight, m_rcClient.right, m_rcClient.bottom};
    if (rc.top < 0)
        rc.top = 0;
    this->InvalidateRect(&rc, FALSE);
}

template <class Base>
void TWKEditCore<Base>::EndEmptySelection()
{
    if (m_bSelection && !HasAnchoredRange())
        ClearSelection(m_bUpdate);
}

template <class Base>
void TWKEditCore<Base>::KeepTopLineForJoin()
{
    if (m_pCaretLine && m_pTopLine && m_pCaretLine->pNext == m_pTopLine)
    {
        m_pTopLine = m_pCaretLine;
        m_nTopLine = m_nCaretLine;
    }
}

template <class Base>
void TWKEditCore<Base>::AnnounceLines()
{
    TWKEditHint hint(m_pCaretLine);
    UpdateViews(NULL, IDS_TWK_DELETELINE, &hint);
}

// ------------------------------------------------------------- characters

template <class Base>
void TWKEditCore<Base>::ProcessChar(UINT nChar, UINT, UINT)
{
    TWKEdit* pEdit = GetEdit();
    if (IsPrimaryButtonDown() || !pEdit || !m_pCaretLine || pEdit->IsReadOnly())
        return;
    if (nChar == 13)
    {
        pEdit->SetUndoGroup(TRUE);
        if (m_bSelection && HasAnchoredRange())
        {
            // The selection goes to the clipboard as Cut puts it there.
            LPSTR pszText = MakeClipboardText(m_nSelMode == 2);
            if (!pszText)
                ReportError(IDS_TWK_NOMEMORY, m_bUpdate);
            else
            {
                PutOnClipboard(this->m_hWnd, pszText);
                free(pszText);
                int rc = DeleteSelection(m_bUpdate, TRUE);
                if (rc)
                    ReportError(rc, m_bUpdate);
            }
        }
        EndEmptySelection();
        InsertNewLine(TRUE, TRUE);
        pEdit->SetUndoGroup(FALSE);
        return;
    }
    if (nChar == 27)
    {
        if (m_bSelection)
            ClearSelection(m_bUpdate);
        return;
    }
    if (nChar < 32 || nChar == 127 || nChar > 255)
        return;

    pEdit->SetUndoGroup(TRUE);
    if (CaretLineWidth() >= TWK_MAX_COLUMNS)
    {
        pEdit->SetUndoGroup(FALSE);
        ReportError(IDS_TWK_LINETOOLONG, m_bUpdate);
        return;
    }
    DeleteSelection(m_bUpdate, TRUE);
    EndEmptySelection();
    char ch = (char)nChar;
    int rc = pEdit->InsertChar(CaretPos(), ch, pEdit->m_bInsertMode, TRUE);
    if (!rc)
    {
        if (m_bUpdate)
        {
            RepaintForChar(ch, TRUE);
            UpdateViews(this, 0, NULL);
        }
        AdvanceCaret(m_bUpdate);
    }
    pEdit->SetUndoGroup(FALSE);
    if (rc)
        ReportError(rc, m_bUpdate);
}

template <class Base>
int TWKEditCore<Base>::AdvanceCaret(BOOL bRedraw)
{
    if (m_nCaretCol >= TWK_MAX_COLUMNS || !m_pCaretLine)
        return IDS_TWK_LINETOOLONG;
    StepCaretRight(bRedraw, bRedraw);
    return 0;
}

template <class Base>
int TWKEditCore<Base>::InsertString(LPCSTR pszText, BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (!pszText)
        pszText = "";
    int nLen = (int)strlen(pszText);
    pEdit->SetUndoGroup(TRUE);
    if (CaretLineWidth() + nLen >= TWK_MAX_COLUMNS)
    {
        pEdit->SetUndoGroup(FALSE);
        return IDS_TWK_LINETOOLONG;
    }
    DeleteSelection(bRedraw, bUndo);
    EndEmptySelection();
    int rc = pEdit->InsertString(CaretPos(), pszText, TRUE, bUndo);
    if (!rc)
    {
        m_nCaretCol = pEdit->OffsetToColumn(m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol) + nLen);
        if (bRedraw)
        {
            RepaintCaretLine(TRUE);
            EnsureCaretVisible();
            UpdateViews(this, 0, NULL);
        }
    }
    pEdit->SetUndoGroup(FALSE);
    return rc;
}

// ---------------------------------------------------------- deleting text

template <class Base>
int TWKEditCore<Base>::DeleteSelection(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !HasAnchoredRange())
        return IDS_TWK_NOTEXT;
    if (m_nSelMode == 2)
        return DeleteColumnBlock(bRedraw, bUndo);
    TWKEditPos start = {m_pSelStartLine, pEdit->ColumnToOffset(m_pSelStartLine, m_nSelStartCol)};
    TWKEditPos end = {m_pSelEndLine, pEdit->ColumnToOffset(m_pSelEndLine, m_nSelEndCol)};
    BOOL bLines = start.pLine != end.pLine;
    int rc = pEdit->DeleteRange(start, end, bUndo);
    if (rc)
        return rc;
    BOOL bOtherLine = m_pCaretLine != start.pLine;
    m_pCaretLine = start.pLine;
    m_nCaretCol = pEdit->OffsetToColumn(start.pLine, start.nOffset);
    if (bOtherLine)
        m_nCaretLine = TWKEdit::GetLineNo(start.pLine);
    ClearSelection(FALSE);
    if (bRedraw && m_bCaretCreated)
        this->ShowCaret();
    if (bLines)
    {
        ValidateLines(m_pCaretLine);
        UpdateLineCount();
    }
    if (!bRedraw)
        return 0;
    AnnounceLines();
    UpdateLineCount();
    EnsureCaretVisible();
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::DeleteColumnBlock(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pSelStartLine || !m_pSelEndLine)
        return IDS_TWK_NOTEXT;
    TWKEditPos start = {m_pSelStartLine, pEdit->ColumnToOffset(m_pSelStartLine, m_nSelStartCol)};
    TWKEditPos end = {m_pSelEndLine, pEdit->ColumnToOffset(m_pSelEndLine, m_nSelEndCol)};
    int rc = pEdit->DeleteColumn(start, end, bUndo);
    if (rc)
        return rc;
    // The caret takes the block's top left corner, whichever way it was drawn.
    BOOL bStartFirst = IsPosBefore(m_pSelStartLine, 0, m_pSelEndLine, 0);
    m_pCaretLine = bStartFirst ? m_pSelStartLine : m_pSelEndLine;
    m_nCaretCol = m_nSelStartCol < m_nSelEndCol ? m_nSelStartCol : m_nSelEndCol;
    m_nCaretLine = TWKEdit::GetLineNo(m_pCaretLine);
    ClearSelection(FALSE);
    if (!bRedraw)
        return 0;
    if (m_bCaretCreated)
        this->ShowCaret();
    UpdateLineCount();
    EnsureCaretVisible();
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    AnnounceLines();
    return 0;
}

template <class Base>
int TWKEditCore<Base>::Delete(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (m_pSelStartLine)
        return HasAnchoredRange() ? DeleteSelection(bRedraw, bUndo) : IDS_TWK_NOTEXT;
    if (bRedraw)
        EnsureCaretVisible();
    TWKEditPos pos = CaretPos();
    char c = pos.nOffset < m_pCaretLine->nLength && m_pCaretLine->pText ? m_pCaretLine->pText[pos.nOffset] : 0;
    int rc = pEdit->DeleteChar(pos, bUndo);
    if (rc == 0)
    {
        if (bRedraw)
        {
            EnsureCaretVisible();
            RepaintForChar(c, FALSE);
            PositionCaret();
            TWKEditHint hint(m_pCaretLine);
            UpdateViews(this, IDS_TWK_DELETELINE, &hint);
        }
        return 0;
    }
    if (rc != IDS_TWK_JOINLINE)
        return rc;
    KeepTopLineForJoin();
    rc = pEdit->JoinLine(pos, bUndo);
    if (!rc)
    {
        UpdateLineCount();
        if (bRedraw)
        {
            InvalidateFromRow(m_nCaretLine - m_nTopLine);
            this->UpdateWindow();
            EnsureCaretVisible();
            AnnounceLines();
        }
    }
    return rc == IDS_TWK_ENDOFFILE ? 0 : rc;
}

template <class Base>
int TWKEditCore<Base>::Backspace(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (m_pSelStartLine)
        return DeleteSelection(bRedraw, bUndo);
    if (m_nCaretCol != 0)
    {
        int o = pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol);
        if (o > pEdit->VisibleEnd(m_pCaretLine))
        {
            // Right of the text nothing is deleted: the caret steps back.
            m_nCaretCol = PrevCaretColumn(m_nCaretCol);
            if (bRedraw)
                EnsureCaretVisible();
            AnnounceScroll();
            return 0;
        }
        if (o > 0)
        {
            char c = m_pCaretLine->pText[o - 1];
            TWKEditPos pos = {m_pCaretLine, o - 1};
            int rc = pEdit->DeleteChar(pos, bUndo);
            if (rc == 0)
            {
                m_nCaretCol = pEdit->OffsetToColumn(m_pCaretLine, o - 1);
                if (bRedraw)
                {
                    RepaintForChar(c, TRUE);
                    EnsureCaretVisible();
                    UpdateViews(this, 0, NULL);
                }
                return 0;
            }
            if (rc != IDS_TWK_JOINLINE)
                return rc;
        }
    }
    if (!m_pCaretLine->pPrev)
        return 0;
    if (bRedraw)
        EnsureCaretVisible();
    BOOL bTopRow = m_nCaretLine == m_nTopLine;
    m_pCaretLine = m_pCaretLine->pPrev;
    if (bTopRow)
        ScrollOneLine(-1, bRedraw);
    m_nCaretLine--;
    m_nCaretCol = ClampCaretColumn(m_nCaretCol);
    if (bRedraw)
        EnsureCaretVisible();
    AnnounceScroll();
    MoveCaretLineEnd(bRedraw);
    return JoinLines(bRedraw, bUndo);
}

template <class Base>
int TWKEditCore<Base>::JoinLines(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    KeepTopLineForJoin();
    int rc = pEdit->JoinLine(CaretPos(), bUndo);
    if (!rc)
    {
        UpdateLineCount();
        if (bRedraw)
        {
            InvalidateFromRow(m_nCaretLine - m_nTopLine);
            this->UpdateWindow();
            EnsureCaretVisible();
            AnnounceLines();
        }
    }
    return rc;
}

// ------------------------------------------------------------ line breaks

template <class Base>
int TWKEditCore<Base>::InsertNewLine(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    pEdit->SetUndoGroup(TRUE);
    if (pEdit->IsReadOnly())
    {
        pEdit->SetUndoGroup(FALSE);
        return IDS_TWK_READONLY;
    }
    if (bRedraw)
        EnsureCaretVisible();
    int rc = pEdit->SplitLine(CaretPos(), bUndo);
    if (rc)
    {
        pEdit->SetUndoGroup(FALSE);
        return rc;
    }
    if (bRedraw)
        EnsureCaretVisible();
    if (m_nCaretLine == m_nTopLine + VisibleRows() - 1)
        ScrollOneLine(1, bRedraw);
    m_pCaretLine = m_pCaretLine->pNext;
    m_nCaretLine++;
    m_nCaretCol = ClampCaretColumn(m_nCaretCol);
    if (bRedraw)
        EnsureCaretVisible();
    AnnounceScroll();
    m_nCaretCol = 0;
    if (pEdit->m_bAutoIndent)
        FindIndent(bUndo);
    if (bRedraw)
    {
        InvalidateFromRow(m_nCaretLine - m_nTopLine - 1);
        if (this->m_hWnd)
            this->UpdateWindow();
        UpdateLineCount();
        EnsureCaretVisible();
        UpdateViews(this, 0, NULL);
    }
    pEdit->SetUndoGroup(FALSE);
    return 0;
}

template <class Base>
void TWKEditCore<Base>::FindIndent(BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    auto isBlank = [](char c) { return c == ' ' || (c >= 9 && c <= 13); };
    auto leadingBlanks = [&](TWKEditLine* p) {
        int nEnd = pEdit->VisibleEnd(p), n = 0;
        while (n < nEnd && isBlank(p->pText[n]))
            n++;
        return n;
    };
    TWKEditLine* pFrom = m_pCaretLine->pPrev;
    while (pFrom && leadingBlanks(pFrom) == pEdit->VisibleEnd(pFrom))
        pFrom = pFrom->pPrev;
    if (!pFrom)
        return;
    int nTarget = pEdit->OffsetToColumn(pFrom, leadingBlanks(pFrom));
    TWKEditLine* pLine = m_pCaretLine;
    int nEnd = pEdit->VisibleEnd(pLine);
    if (nEnd == 0 || leadingBlanks(pLine) == nEnd)
    {
        // No text: the caret waits in virtual space, typing fills up to it.
        m_nCaretCol = nTarget;
        return;
    }
    // The moved text's own leading spaces and tabs are brought to the target
    // width; nothing else of the line is removed.
    int nLead = 0;
    while (nLead < nEnd && (pLine->pText[nLead] == ' ' || pLine->pText[nLead] == '\t'))
        nLead++;
    int nHave = pEdit->OffsetToColumn(pLine, nLead);
    if (nHave == nTarget)
    {
        m_nCaretCol = nTarget;
        return;
    }
    int nWidth = pEdit->OffsetToColumn(pLine, pLine->nLength);
    if (nWidth - nHave + nTarget >= TWK_MAX_COLUMNS)
        return;   // left out: the line would pass the column limit
    int nTab = pEdit->m_nTabSize;
    int nTabs = pEdit->m_bKeepTabs ? nTarget / nTab : 0;
    CString strIndent(' ', nTarget - nTabs * nTab);
    strIndent = CString('\t', nTabs) + strIndent;
    TWKEditPos pos = {pLine, 0};
    int rc = nLead > 0 ? pEdit->DeleteChars(pos, nLead, bUndo) : 0;
    if (!rc && nTarget > 0)
        rc = pEdit->InsertString(pos, strIndent, TRUE, bUndo);
    m_nCaretCol = rc ? 0 : nTarget;
}

// ---------------------------------------------------------- tabs, indents

template <class Base>
int TWKEditCore<Base>::Tab(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (m_bSelection)
        return IndentLines(FALSE, bRedraw, bUndo);
    TWKEditPos pos = CaretPos();
    int nTab = pEdit->m_nTabSize;
    int rc = 0;
    if (pEdit->m_bKeepTabs)
    {
        if (CaretLineWidth() + nTab >= TWK_MAX_COLUMNS)
            return IDS_TWK_LINETOOLONG;
        rc = pEdit->InsertChar(pos, '\t', TRUE, bUndo);
        if (!rc)
            m_nCaretCol = (m_nCaretCol + nTab) / nTab * nTab;
    }
    else
    {
        // The count comes from the byte offset, not the column.
        int k = nTab - pos.nOffset % nTab;
        if (CaretLineWidth() + k >= TWK_MAX_COLUMNS)
            return IDS_TWK_LINETOOLONG;
        for (int i = 0; i < k && !rc; i++)
        {
            TWKEditPos p = {m_pCaretLine, pos.nOffset + i};
            rc = pEdit->InsertChar(p, ' ', TRUE, bUndo);
        }
        if (!rc)
            m_nCaretCol = pEdit->OffsetToColumn(m_pCaretLine, pos.nOffset + k);
    }
    if (bRedraw)
    {
        RepaintCaretLine(TRUE);
        EnsureCaretVisible();
        UpdateViews(this, 0, NULL);
    }
    return rc;
}

template <class Base>
int TWKEditCore<Base>::BackTab(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    if (m_bSelection)
        return IndentLines(TRUE, bRedraw, bUndo);
    if (m_nCaretCol != 0)
    {
        int nTab = pEdit->m_nTabSize;
        int c = m_nCaretCol / nTab * nTab;
        if (c == m_nCaretCol)
            c -= nTab;
        m_nCaretCol = c < 0 ? 0 : c;
        if (bRedraw)
            EnsureCaretVisible();
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::IndentLines(BOOL bUnindent, BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return 0;
    pEdit->SetUndoGroup(TRUE);
    if (m_nSelMode == 2)
    {
        pEdit->SetUndoGroup(FALSE);
        return IDS_TWK_STREAMONLY;
    }
    if (!m_pSelStartLine || !m_pSelEndLine)
    {
        pEdit->SetUndoGroup(FALSE);
        return 0;
    }
    // Whole lines: from the start of the first to the start of the line
    // after the last (or the end of the text).
    m_nSelStartCol = 0;
    if (m_nSelEndCol != 0)
    {
        if (m_pSelEndLine->pNext)
            m_pSelEndLine = m_pSelEndLine->pNext, m_nSelEndCol = 0;
        else
            m_nSelEndCol = LineEndColumn(m_pSelEndLine);
    }
    TWKEditLine* pStop = m_nSelEndCol == 0 ? m_pSelEndLine : m_pSelEndLine->pNext;
    m_nCaretCol = 0;
    m_bSelection = FALSE;
    int nTab = pEdit->m_nTabSize;
    int rc = 0;
    for (TWKEditLine* p = m_pSelStartLine; p && p != pStop; p = p->pNext)
    {
        TWKEditPos pos = {p, 0};
        if (bUnindent)
        {
            for (int i = 0; i < nTab && p->pText && p->nLength > 0; i++)
            {
                char c = p->pText[0];
                if (c != ' ' && c != '\t')
                    break;
                rc = pEdit->DeleteChar(pos, bUndo);
                if (c == '\t' || rc)
                    break;
            }
            continue;
        }
        // A line that would pass the column limit keeps its indentation.
        if (pEdit->OffsetToColumn(p, p->nLength) + nTab >= TWK_MAX_COLUMNS)
            continue;
        if (pEdit->m_bKeepTabs)
            pEdit->InsertChar(pos, '\t', TRUE, bUndo);
        else
            pEdit->InsertString(pos, CString(' ', nTab), TRUE, bUndo);
    }
    m_bSelection = TRUE;
    if (m_nSelEndCol != 0)
        m_nSelEndCol = LineEndColumn(m_pSelEndLine);
    // The caret moved to the start: the other end anchors further extensions.
    m_pAnchorLine = m_pSelEndLine;
    m_nAnchorCol = m_nSelEndCol;
    m_pCaretLine = m_pSelStartLine;
    m_nCaretLine = TWKEdit::GetLineNo(m_pCaretLine);
    if (bRedraw && this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
        UpdateViews(this, 0, NULL);
    }
    pEdit->SetUndoGroup(FALSE);
    return bUnindent ? rc : 0;
}

// ------------------------------------------------------- replacing the text

template <class Base>
void TWKEditCore<Base>::SetText(LPCSTR pszText)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    BOOL bReadOnly = pEdit->IsReadOnly();
    pEdit->SetReadOnly(FALSE);
    CString strSection = pEdit->m_strSection;
    pEdit->FreeAll();
    pEdit->Initialize();
    pEdit->SetProfileSection(strSection);
    pEdit->LoadSettings();
    InitView();
    if (pszText && *pszText)
    {
        TWKEditPos pos = {m_pTopLine, 0};
        pEdit->InsertText(pos, pszText, (int)strlen(pszText), FALSE, NULL);
    }
    pEdit->SetReadOnly(bReadOnly);
    UpdateLineCount();
    // Other windows of the text still point into the old lines.
    AnnounceLines();
}

template <class Base>
int TWKEditCore<Base>::MergeFile(LPCSTR pszPath)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    HANDLE h = ::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             NULL);
    if (h == INVALID_HANDLE_VALUE)
        return (int)::GetLastError();
    DWORD dwHigh = 0, dwSize = ::GetFileSize(h, &dwHigh);
    if (dwHigh || dwSize >= 0x7FFFFFF0)
    {
        ::CloseHandle(h);
        return IDS_TWK_NOMEMORY;
    }
    LPSTR pszBuffer = (LPSTR)malloc((size_t)dwSize + 1);
    DWORD dwRead = 0;
    BOOL bRead = pszBuffer && ::ReadFile(h, pszBuffer, dwSize, &dwRead, NULL) && dwRead == dwSize;
    DWORD dwError = ::GetLastError();
    ::CloseHandle(h);
    if (!bRead)
    {
        free(pszBuffer);
        return pszBuffer ? (int)(dwError ? dwError : IDS_TWK_CANTREAD) : IDS_TWK_NOMEMORY;
    }
    pszBuffer[dwSize] = 0;
    int nLength = (int)strlen(pszBuffer);
    pEdit->SetUndoGroup(TRUE);
    if (m_nSelMode == 2)
        DeleteColumnBlock(FALSE, TRUE);
    else
        DeleteSelection(FALSE, TRUE);
    EndEmptySelection();
    int rc;
    if (memchr(pszBuffer, '\r', nLength) || memchr(pszBuffer, '\n', nLength))
        rc = pEdit->InsertText(CaretPos(), pszBuffer, nLength, TRUE, NULL);
    else
        rc = InsertString(pszBuffer, FALSE, TRUE);
    pEdit->SetUndoGroup(FALSE);
    free(pszBuffer);
    UpdateLineCount();
    UpdateViews(NULL, 0, NULL);
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    EnsureCaretVisible();
    UpdateViews(this, 0, NULL);
    return rc;
}

// -------------------------------------------------------------- undo, redo

template <class Base>
void TWKEditCore<Base>::PlaceAfterReplay(const TWKEditUndoRecord* pRec, BOOL bRedo)
{
    TWKEdit* pEdit = GetEdit();
    if (pRec)
    {
        TWKEditLine* pLine = pEdit->GetReplayedLine(pRec->nStartLine);
        m_pCaretLine = pLine ? pLine : pEdit->GetLine(pRec->nStartLine);
        m_nCaretLine = TWKEdit::GetLineNo(m_pCaretLine);
        int nOffset = pRec->nStartOffset + (bRedo && pRec->nType == UNDO_CHAR_INSERTED ? 1 : 0);
        m_nCaretCol = pEdit->OffsetToColumn(m_pCaretLine, nOffset);
    }
    ValidateLines(m_pCaretLine);
    UpdateLineCount();
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    BOOL bUpdate = m_bUpdate;
    m_bUpdate = TRUE;
    EnsureCaretVisible();
    m_bUpdate = bUpdate;
    // Lines may have gone: the other windows make their pointers valid.
    TWKEditHint hint(m_pCaretLine);
    UpdateViews(this, IDS_TWK_DELETELINE, &hint);
    // The text equals the file exactly at the save point.
    pEdit->SetModified(pEdit->m_nUndoPos != pEdit->m_nSavedUndoPos);
}

template <class Base>
void TWKEditCore<Base>::OnEditUndo()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return;
    if (m_bSelection)
        ClearSelection(m_bUpdate);
    if (!pEdit->Undo())
        return;
    PlaceAfterReplay(pEdit->GetUndoRecord(pEdit->m_nUndoPos), FALSE);
}

template <class Base>
void TWKEditCore<Base>::OnEditRedo()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return;
    if (m_bSelection)
        ClearSelection(m_bUpdate);
    if (!pEdit->Redo())
        return;
    PlaceAfterReplay(pEdit->GetUndoRecord(pEdit->m_nUndoPos - 1), TRUE);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    pCmdUI->Enable(pEdit && pEdit->m_nUndoPos != 0);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    pCmdUI->Enable(pEdit && pEdit->m_nUndoCount != 0 && pEdit->m_nUndoPos < pEdit->m_nUndoCount);
}

// ------------------------------------------------------------ the commands

template <class Base>
void TWKEditCore<Base>::RunWritingCommand(int (TWKEditCore::*pfnCommand)(BOOL, BOOL))
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || pEdit->IsReadOnly())
        return;
    if (int rc = (this->*pfnCommand)(m_bUpdate, TRUE))
        ReportError(rc, m_bUpdate);
}

template <class Base>
void TWKEditCore<Base>::OnEditClear()
{
    RunWritingCommand(&TWKEditCore::Delete);
}

template <class Base>
void TWKEditCore<Base>::OnBackspace()
{
    RunWritingCommand(&TWKEditCore::Backspace);
}

template <class Base>
void TWKEditCore<Base>::OnTab()
{
    RunWritingCommand(&TWKEditCore::Tab);
}

template <class Base>
void TWKEditCore<Base>::OnBackTab()
{
    if (!GetEdit())
        return;
    if (int rc = BackTab(m_bUpdate, TRUE))
        ReportError(rc, m_bUpdate);
}

template <class Base>
void TWKEditCore<Base>::OnToggleInsert()
{
    if (TWKEdit* pEdit = GetEdit())
        pEdit->SetInsertMode(!pEdit->GetInsertMode());
}

template <class Base>
void TWKEditCore<Base>::OnUpdateIndicatorOvr(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    pCmdUI->SetText(pEdit && !pEdit->GetInsertMode() ? "OVR" : "");
}
