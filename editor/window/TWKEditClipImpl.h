// The clipboard of the editing window: Cut, Copy and Paste, column blocks
// with their marker line, and inserting a text buffer at the caret. Part of
// TWKEditCoreImpl.h.
#pragma once

template <class Base>
LPSTR TWKEditCore<Base>::MakeClipboardText(BOOL bColumn)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pSelStartLine || !m_pSelEndLine)
        return NULL;
    TWKEditPos start = {m_pSelStartLine, pEdit->ColumnToOffset(m_pSelStartLine, m_nSelStartCol)};
    TWKEditPos end = {m_pSelEndLine, pEdit->ColumnToOffset(m_pSelEndLine, m_nSelEndCol)};
    if (!bColumn)
        return pEdit->CopyRange(start, end);
    LPSTR pszBlock = pEdit->CopyColumn(start, end);
    if (!pszBlock)
        return NULL;
    size_t nBlock = strlen(pszBlock);
    LPSTR pszText = (LPSTR)malloc(TWK_COLUMN_BLOCK_START + nBlock + 1);
    if (pszText)
    {
        memcpy(pszText, TWK_COLUMN_MARKER, TWK_COLUMN_MARKER_LEN);
        memcpy(pszText + TWK_COLUMN_MARKER_LEN, "\r\n", 2);
        memcpy(pszText + TWK_COLUMN_BLOCK_START, pszBlock, nBlock + 1);
    }
    free(pszBlock);
    return pszText;
}

// 22579 whenever the text did not reach the clipboard.
template <class Base>
int TWKEditCore<Base>::PutOnClipboard(HWND hWnd, LPCSTR pszText)
{
    if (!::OpenClipboard(hWnd))
        return IDS_TWK_NOMEMORY;
    size_t nSize = strlen(pszText) + 1;
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, nSize);
    LPSTR pDest = hMem ? (LPSTR)::GlobalLock(hMem) : NULL;
    BOOL bDone = FALSE;
    if (pDest)
    {
        memcpy(pDest, pszText, nSize);
        ::GlobalUnlock(hMem);
        ::EmptyClipboard();
        bDone = ::SetClipboardData(CF_TEXT, hMem) != NULL;
    }
    if (!bDone && hMem)
        ::GlobalFree(hMem);
    ::CloseClipboard();
    return bDone ? 0 : IDS_TWK_NOMEMORY;
}

template <class Base>
LPSTR TWKEditCore<Base>::ReadClipboardText(HWND hWnd, int* pnCode)
{
    *pnCode = IDS_TWK_CLIPEMPTY;
    if (!::OpenClipboard(hWnd))
        return NULL;
    LPSTR pszCopy = NULL;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    LPCSTR pSource = hData ? (LPCSTR)::GlobalLock(hData) : NULL;
    if (pSource)
    {
        // Another program's block need not hold its NUL: never read past it.
        size_t nMax = ::GlobalSize(hData);
        size_t n = 0;
        while (n < nMax && pSource[n])
            n++;
        pszCopy = (LPSTR)malloc(n + 1);
        if (pszCopy)
        {
            memcpy(pszCopy, pSource, n);
            pszCopy[n] = 0;
        }
        else
            *pnCode = IDS_TWK_NOMEMORY;
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return pszCopy;
}

// ------------------------------------------------------------------- copy

template <class Base>
int TWKEditCore<Base>::CopyToClipboard(BOOL bUnused1, BOOL bUnused2)
{
    if (m_nSelMode == 2)
        return CopyColumnBlock(bUnused1, bUnused2);
    LPSTR pszText = MakeClipboardText(FALSE);
    if (!pszText)
        return IDS_TWK_NOMEMORY;
    int rc = PutOnClipboard(this->m_hWnd, pszText);
    free(pszText);
    return rc;
}

template <class Base>
int TWKEditCore<Base>::CopyColumnBlock(BOOL, BOOL)
{
    LPSTR pszText = MakeClipboardText(TRUE);
    if (!pszText)
        return IDS_TWK_NOMEMORY;
    int rc = PutOnClipboard(this->m_hWnd, pszText);
    free(pszText);
    return rc;
}

template <class Base>
void TWKEditCore<Base>::GetSelectedText(CString& strText, BOOL* pbColumn)
{
    if (pbColumn)
        *pbColumn = FALSE;
    strText.Empty();
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pSelStartLine || !m_pSelEndLine)
        return;
    TWKEditPos start = {m_pSelStartLine, pEdit->ColumnToOffset(m_pSelStartLine, m_nSelStartCol)};
    TWKEditPos end = {m_pSelEndLine, pEdit->ColumnToOffset(m_pSelEndLine, m_nSelEndCol)};
    BOOL bColumn = m_nSelMode == 2;
    LPSTR pszText = bColumn ? pEdit->CopyColumn(start, end) : pEdit->CopyRange(start, end);
    if (pbColumn)
        *pbColumn = bColumn;
    if (pszText)
        strText = pszText;
    free(pszText);
}

// ------------------------------------------------------------------ paste

template <class Base>
int TWKEditCore<Base>::PasteBlockText(LPCSTR pszBlock, int nLength, BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (memchr(pszBlock, '\r', nLength) || memchr(pszBlock, '\n', nLength))
    {
        int rc = pEdit->InsertColumnText(CaretPos(), pszBlock, nLength, bUndo);
        if (rc)
            return rc;
        UpdateLineCount();
        if (bRedraw)
        {
            EnsureCaretVisible();
            if (this->m_hWnd)
            {
                this->Invalidate(FALSE);
                this->UpdateWindow();
            }
            UpdateViews(this, 0, NULL);
        }
        return 0;   // the caret stays at the block's top left corner
    }
    if (nLength == 0)
        return 0;
    return InsertString(CString(pszBlock, nLength), bRedraw, bUndo);
}

template <class Base>
int TWKEditCore<Base>::PasteLinesText(LPCSTR pszText, int nLength, BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    // Filled up to a caret right of the text first, so the walk below
    // starts at the offset where the text really begins.
    TWKEditPos pos = CaretPos();
    int rc = pEdit->CheckInsertWidth(pos, pszText, nLength);
    if (!rc)
        rc = pEdit->PadToPosition(&pos, bUndo);
    int nOut = 0;
    if (!rc)
        rc = pEdit->InsertText(pos, pszText, nLength, bUndo, &nOut);
    if (rc)
        return rc;
    TWKEditLine* p = pos.pLine;
    int nCount = -pos.nOffset;
    while (p->pNext && nCount + p->nLength < nOut)
    {
        nCount += p->nLength;
        p = p->pNext;
    }
    char chLast = nLength > 0 ? pszText[nLength - 1] : 0;
    int nOffset = nOut - nCount;
    if ((chLast == '\r' || chLast == '\n') && p->pNext)
        p = p->pNext, nOffset = 0;
    m_pCaretLine = p;
    UpdateLineCount();
    m_nCaretLine = TWKEdit::GetLineNo(p);
    m_nCaretCol = pEdit->OffsetToColumn(p, nOffset);
    int nRows = VisibleRows();
    if (nRows > 0 && m_nCaretLine - (nRows - 1) > m_nTopLine)
    {
        m_nTopLine = m_nCaretLine - (nRows - 1);
        m_pTopLine = pEdit->GetLine(m_nTopLine);
    }
    return 0;
}

template <class Base>
int TWKEditCore<Base>::PasteClipboard(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    int rc = 0;
    LPSTR pszText = ReadClipboardText(this->m_hWnd, &rc);
    if (!pszText)
        return rc;
    int nLength = (int)strlen(pszText);
    // One group: one Undo takes the replaced selection and the paste back.
    pEdit->SetUndoGroup(TRUE);
    DeleteSelection(FALSE, bUndo);
    EndEmptySelection();
    if (TWKEditIsColumnBlock(pszText, nLength))
    {
        int nSkip = nLength < TWK_COLUMN_BLOCK_START ? nLength : TWK_COLUMN_BLOCK_START;
        rc = PasteBlockText(pszText + nSkip, nLength - nSkip, bRedraw, bUndo);
        free(pszText);
        pEdit->SetUndoGroup(FALSE);
        return rc;
    }
    BOOL bLines = memchr(pszText, '\r', nLength) || memchr(pszText, '\n', nLength);
    rc = bLines ? PasteLinesText(pszText, nLength, bRedraw, bUndo) : InsertString(pszText, bRedraw, bUndo);
    free(pszText);
    if (bRedraw)
    {
        UpdateLineCount();
        EnsureCaretVisible();
        if (this->m_hWnd)
        {
            this->Invalidate(FALSE);
            this->UpdateWindow();
        }
        // The replaced selection may have taken lines other windows show.
        TWKEditHint hint(m_pCaretLine);
        UpdateViews(this, IDS_TWK_DELETELINE, &hint);
    }
    pEdit->SetUndoGroup(FALSE);
    return rc;
}

template <class Base>
int TWKEditCore<Base>::PasteColumnBlock(BOOL bRedraw, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    int rc = 0;
    LPSTR pszText = ReadClipboardText(this->m_hWnd, &rc);
    if (!pszText)
        return rc;
    int nLength = (int)strlen(pszText);
    pEdit->SetUndoGroup(TRUE);
    DeleteSelection(FALSE, bUndo);
    EndEmptySelection();
    int nSkip = 0;
    if (TWKEditIsColumnBlock(pszText, nLength))
        nSkip = nLength < TWK_COLUMN_BLOCK_START ? nLength : TWK_COLUMN_BLOCK_START;
    rc = PasteBlockText(pszText + nSkip, nLength - nSkip, bRedraw, bUndo);
    free(pszText);
    pEdit->SetUndoGroup(FALSE);
    return rc;
}

template <class Base>
int TWKEditCore<Base>::InsertText(LPCSTR pszText, int nLength)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine || !pszText)
        return 0;
    if (nLength < 0)
        nLength = (int)strlen(pszText);
    TWKEditPos pos = CaretPos();
    BOOL bColumn = TWKEditIsColumnBlock(pszText, nLength);
    int nSkip = !bColumn ? 0 : nLength < TWK_COLUMN_BLOCK_START ? nLength : TWK_COLUMN_BLOCK_START;
    LPCSTR pszTaken = pszText + nSkip;
    int nTaken = nLength - nSkip;
    if (!memchr(pszTaken, '\r', nTaken) && !memchr(pszTaken, '\n', nTaken))
    {
        if (nTaken == 0)
            return 0;
        CString strLine(pszTaken, nTaken);
        if (pEdit->WidthWithInsert(pos.pLine, pos.nOffset, strLine, nTaken, TRUE) > TWK_MAX_COLUMNS)
            return IDS_TWK_LINETOOLONG;
        return pEdit->InsertString(pos, strLine, TRUE, TRUE);
    }
    if (bColumn)
        return pEdit->InsertColumnText(pos, pszTaken, nTaken, TRUE);
    return pEdit->InsertText(pos, pszText, nLength, TRUE, NULL);
}

template <class Base>
BOOL TWKEditCore<Base>::InsertTextBlock(LPCSTR pszText, BOOL bColumn, BOOL bUndo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine || !pszText)
        return FALSE;
    int nLength = (int)strlen(pszText);
    pEdit->SetUndoGroup(TRUE);
    DeleteSelection(FALSE, bUndo);
    EndEmptySelection();
    BOOL bDone;
    if (memchr(pszText, '\r', nLength) || memchr(pszText, '\n', nLength))
        bDone = (bColumn ? pEdit->InsertColumnText(CaretPos(), pszText, nLength, bUndo)
                         : pEdit->InsertText(CaretPos(), pszText, nLength, bUndo, NULL)) == 0;
    else
    {
        bDone = CaretLineWidth() + nLength < TWK_MAX_COLUMNS &&
                pEdit->InsertString(CaretPos(), pszText, TRUE, bUndo) == 0;
        if (bDone)
            m_nCaretCol =
                pEdit->OffsetToColumn(m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol) + nLength);
    }
    pEdit->SetUndoGroup(FALSE);
    UpdateLineCount();
    AnnounceLines();
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    EnsureCaretVisible();
    UpdateViews(this, 0, NULL);
    return bDone;
}

// --------------------------------------------------------------- commands

template <class Base>
void TWKEditCore<Base>::OnEditCopy()
{
    if (!m_bSelection)
        return;
    if (int rc = CopyToClipboard(TRUE, TRUE))
        ReportError(rc, m_bUpdate);
}

template <class Base>
void TWKEditCore<Base>::OnEditCut()
{
    TWKEdit* pEdit = GetEdit();
    if (!m_bSelection || !pEdit)
        return;
    // Deleted only once its text is safely on the clipboard.
    int rc = CopyToClipboard(TRUE, TRUE);
    if (rc)
    {
        ReportError(rc, m_bUpdate);
        return;
    }
    if (pEdit->IsReadOnly())
        return;
    rc = DeleteSelection(m_bUpdate, TRUE);
    if (rc)
        ReportError(rc, m_bUpdate);
}

template <class Base>
void TWKEditCore<Base>::OnEditPaste()
{
    RunWritingCommand(&TWKEditCore::PasteClipboard);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    pCmdUI->Enable(pEdit && !pEdit->IsReadOnly() && m_bSelection && !IsPrimaryButtonDown());
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bSelection && !IsPrimaryButtonDown());
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    BOOL bText = FALSE;
    if (::OpenClipboard(this->m_hWnd))
    {
        bText = ::IsClipboardFormatAvailable(CF_TEXT) || ::IsClipboardFormatAvailable(CF_OEMTEXT);
        ::CloseClipboard();
    }
    pCmdUI->Enable(bText && pEdit && !pEdit->IsReadOnly());
}
