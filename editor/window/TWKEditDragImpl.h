// Drag and drop of text: the editing window as the source of a drag of its
// selection and as the target of drops, with the drop caret. Part of
// TWKEditCoreImpl.h.
#pragma once

// The column-block marker line of clipboard and drag texts.
#define TWK_DRAG_COLUMN_MARKER "*TWKEdit Column Block*\r\n"

template <class Base>
COleDataSource* TWKEditCore<Base>::CreateDataSource()
{
    return new (std::nothrow) COleDataSource;
}

template <class Base>
BOOL TWKEditCore<Base>::DoDragDrop(COleDataSource* pSource, CLIPFORMAT cfFormat, HGLOBAL hGlobal)
{
    pSource->CacheGlobalData(cfFormat, hGlobal);
    return TRUE;
}

template <class Base>
BOOL TWKEditCore<Base>::DragSelection()
{
    TWKEdit* pEdit = GetEdit();
    TWKEditPos a, b;
    BOOL bColumn = FALSE;
    if (!pEdit || !m_pSelStartLine || !m_pSelEndLine || !GetSelection(&a, &b, &bColumn))
        return 0;
    // Without the text or its memory no drag starts.
    LPSTR pszText = bColumn ? pEdit->CopyColumn(a, b) : pEdit->CopyRange(a, b);
    if (!pszText)
        return 0;
    size_t nText = strlen(pszText);
    size_t nMarker = bColumn ? strlen(TWK_DRAG_COLUMN_MARKER) : 0;
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, nMarker + nText + 1);
    char* pBlock = hGlobal ? (char*)::GlobalLock(hGlobal) : NULL;
    if (!pBlock)
    {
        if (hGlobal)
            ::GlobalFree(hGlobal);
        free(pszText);
        return 0;
    }
    memcpy(pBlock, TWK_DRAG_COLUMN_MARKER, nMarker);
    memcpy(pBlock + nMarker, pszText, nText + 1);
    ::GlobalUnlock(hGlobal);
    free(pszText);
    COleDataSource* pSource = CreateDataSource();
    if (!pSource)
    {
        ::GlobalFree(hGlobal);
        return 0;
    }
    // Once offered, the block belongs to the data source.
    if (!DoDragDrop(pSource, CF_TEXT, hGlobal))
    {
        delete pSource;
        return 0;
    }
    TWKEditDragState& state = TWKEditGetDragState();
    state.m_pSource = this;
    DROPEFFECT effect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    state.m_pSource = NULL;
    delete pSource;
    return (BOOL)effect;
}

template <class Base>
DROPEFFECT TWKEditCore<Base>::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint)
{
    if (!pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    // The system's grey caret shows the drop cell.
    ::CreateCaret(this->m_hWnd, (HBITMAP)1, 2, m_nLineHeight);
    m_bCaretCreated = TRUE;
    this->ShowCaret();
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

template <class Base>
DROPEFFECT TWKEditCore<Base>::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    TWKEdit* pEdit = GetEdit();
    if (!pDataObject || !pDataObject->IsDataAvailable(CF_TEXT) || !pEdit || pEdit->m_bReadOnly)
        return DROPEFFECT_NONE;
    int nCol = 0, nRow = 0;
    PointToCell(point.x, point.y, &nCol, &nRow);
    ::SetCaretPos(nCol * m_nCharWidth + m_nTextLeft, nRow * m_nLineHeight);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

template <class Base>
void TWKEditCore<Base>::OnDragLeave()
{
    ::DestroyCaret();
    m_bCaretCreated = FALSE;
}

// A move from an editing window of this process: the source deletes its
// selection and the drop position follows the text it loses.
template <class Base>
template <class SourceBase>
void TWKEditCore<Base>::TakeMovedSelection(TWKEditCore<SourceBase>* pSource)
{
    TWKEdit* pEdit = GetEdit();
    TWKEdit* pSourceEdit = pSource->GetEdit();
    TWKEditLine* pLine = m_pCaretLine;
    int p = pEdit->ColumnToOffset(pLine, m_nCaretCol);
    if (pSource->m_pSelStartLine && pLine == pSource->m_pSelEndLine)
    {
        int nStart = pSourceEdit->ColumnToOffset(pSource->m_pSelStartLine, pSource->m_nSelStartCol);
        int nEnd = pSourceEdit->ColumnToOffset(pSource->m_pSelEndLine, pSource->m_nSelEndCol);
        if (pSource->m_pSelStartLine != pSource->m_pSelEndLine)
        {
            pLine = pSource->m_pSelStartLine;
            p += nStart - nEnd;
        }
        else if (p > nEnd)
            p -= nEnd - nStart;
    }
    pSource->DeleteSelection(FALSE, TRUE);
    m_pCaretLine = pLine;
    TWKEdit::RenumberLines(pEdit->GetFirstLine());
    m_nCaretLine = pLine->nLineNo;
    m_nCaretCol = pEdit->OffsetToColumn(pLine, p);
    if ((CWnd*)pSource != (CWnd*)this && pSource->m_hWnd)
        pSource->Invalidate(TRUE);
}

template <class Base>
BOOL TWKEditCore<Base>::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    TWKEdit* pEdit = GetEdit();
    if (dropEffect != DROPEFFECT_COPY && dropEffect != DROPEFFECT_MOVE)
        return TRUE;
    if (!pDataObject || !pEdit || !m_pTopLine)
        return FALSE;
    // Not onto the selection itself.
    if (IsPointInSelection(point.x, point.y))
        return FALSE;
    PlaceCaretAtPoint(point.x, point.y);
    pEdit->SetUndoGroup(TRUE);
    // The text first: when it cannot be had, nothing is deleted.
    FORMATETC fmt = {CF_TEXT, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (!pDataObject->GetData(CF_TEXT, &medium, &fmt))
    {
        pEdit->SetUndoGroup(FALSE);
        return FALSE;
    }
    CWnd* pSource = TWKEditGetDragState().m_pSource;
    if (pSource && dropEffect == DROPEFFECT_MOVE)
    {
        if (auto* pCtrl = dynamic_cast<TWKEditCore<CWnd>*>(pSource))
            TakeMovedSelection(pCtrl);
        else if (auto* pView = dynamic_cast<TWKEditCore<CView>*>(pSource))
            TakeMovedSelection(pView);
    }
    if (LPCSTR pszText = (LPCSTR)::GlobalLock(medium.hGlobal))
    {
        SIZE_T nSize = ::GlobalSize(medium.hGlobal);
        InsertText(pszText, (int)strnlen(pszText, nSize));
        ::GlobalUnlock(medium.hGlobal);
    }
    ::ReleaseStgMedium(&medium);
    if (this->m_hWnd)
    {
        this->Invalidate(FALSE);
        this->UpdateWindow();
    }
    UpdateLineCount();
    EnsureCaretVisible();
    UpdateViews(this, 0, NULL);
    pEdit->SetUndoGroup(FALSE);
    return TRUE;
}
