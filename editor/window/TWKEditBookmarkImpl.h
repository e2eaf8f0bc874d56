// Bookmarks of the editing window: toggling one on the caret line, going to
// the next and previous (both wrap around) and clearing them all. The marks
// live in the store's lines, shared by every window of the text. Part of
// TWKEditCoreImpl.h.
#pragma once

template <class Base>
void TWKEditCore<Base>::OnToggleBookmark()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return;
    pEdit->m_nBookmarkCount += (m_pCaretLine->dwFlags & LINE_BOOKMARK) ? -1 : 1;
    m_pCaretLine->dwFlags ^= LINE_BOOKMARK;
    RepaintCaretLine(FALSE);
    UpdateViews(this, 0, NULL);
}

// Caret to column 0 of a bookmarked line; out of view it comes to stand near
// the middle of the window.
template <class Base>
void TWKEditCore<Base>::GoToBookmark(TWKEditLine* pLine)
{
    m_nCaretCol = 0;
    m_pCaretLine = pLine;
    m_nCaretLine = pLine->nLineNo;
    int n = m_nCaretLine, nRows = VisibleRows();
    if (m_nTopLine <= n && n - m_nTopLine < nRows)
    {
        EnsureCaretVisible();
        return;
    }
    m_pTopLine = pLine;
    m_nTopLine = n;
    while (n - m_nTopLine < nRows / 2 && m_pTopLine->pPrev)
        m_pTopLine = m_pTopLine->pPrev, m_nTopLine--;
    if (this->m_hWnd)
        this->Invalidate(TRUE);
    EnsureCaretVisible();
}

template <class Base>
void TWKEditCore<Base>::OnNextBookmark()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine || pEdit->m_nBookmarkCount <= 0)
        return;
    TWKEditLine* pFound = NULL;
    for (TWKEditLine* p = m_pCaretLine->pNext; p && !pFound; p = p->pNext)
        if (p->dwFlags & LINE_BOOKMARK)
            pFound = p;
    // The wrap search includes the caret line itself.
    for (TWKEditLine* p = pEdit->GetFirstLine(); p && !pFound; p = p->pNext)
        if (p->dwFlags & LINE_BOOKMARK)
            pFound = p;
    if (pFound)
        GoToBookmark(pFound);
}

template <class Base>
void TWKEditCore<Base>::OnPrevBookmark()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine || pEdit->m_nBookmarkCount <= 0)
        return;
    TWKEditLine* pFound = NULL;
    for (TWKEditLine* p = m_pCaretLine->pPrev; p && !pFound; p = p->pPrev)
        if (p->dwFlags & LINE_BOOKMARK)
            pFound = p;
    for (TWKEditLine* p = TWKEdit::GetLastLine(m_pCaretLine); p && !pFound; p = p->pPrev)
        if (p->dwFlags & LINE_BOOKMARK)
            pFound = p;
    if (pFound)
        GoToBookmark(pFound);
}

template <class Base>
void TWKEditCore<Base>::OnClearBookmarks()
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    for (TWKEditLine* p = pEdit->GetFirstLine(); p; p = p->pNext)
        p->dwFlags &= ~(DWORD)LINE_BOOKMARK;
    pEdit->m_nBookmarkCount = 0;
    if (this->m_hWnd)
        this->Invalidate(TRUE);
    UpdateViews(this, 0, NULL);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateToggleBookmark(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateNextBookmark(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    pCmdUI->Enable(pEdit && pEdit->m_nBookmarkCount > 0);
}

template <class Base>
void TWKEditCore<Base>::OnUpdatePrevBookmark(CCmdUI* pCmdUI)
{
    OnUpdateNextBookmark(pCmdUI);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateClearBookmarks(CCmdUI* pCmdUI)
{
    OnUpdateNextBookmark(pCmdUI);
}
