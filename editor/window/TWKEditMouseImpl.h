// The editing window and the mouse: cursor shapes, placing the caret by
// clicking, selecting by dragging with autoscroll, Shift and Alt clicks,
// gutter and word selection, and the context menu. Part of
// TWKEditCoreImpl.h.
#pragma once

template <class Base>
BOOL TWKEditCore<Base>::s_bInMouseMove = FALSE;

// ------------------------------------------------------- points and text

template <class Base>
void TWKEditCore<Base>::PointToCell(int x, int y, int* pnCol, int* pnRow)
{
    int nCol = 0, nRow = 0;
    if (m_nCharWidth > 0 && m_nLineHeight > 0)
    {
        // The nearest boundary between two columns; a partly shown last
        // row counts as the row above.
        nCol = (m_nCharWidth / 2 - m_nTextLeft + x) / m_nCharWidth;
        nRow = y / m_nLineHeight;
        if ((nRow + 1) * m_nLineHeight > m_rcClient.bottom)
            nRow--;
    }
    *pnCol = nCol;
    *pnRow = nRow;
}

template <class Base>
void TWKEditCore<Base>::PlaceCaretAtPoint(int x, int y)
{
    m_pCaretLine = m_pTopLine;
    m_nCaretLine = m_nTopLine;
    m_nCaretCol = m_nFirstCol;
    if (x < m_nTextLeft)
    {
        // Pointing into the gutter scrolls one column to the left.
        x = m_nTextLeft;
        if (m_nFirstCol > 0)
        {
            m_nFirstCol--;
            if (this->m_hWnd)
                this->Invalidate(FALSE);
        }
    }
    int nCol = 0, nRow = 0;
    PointToCell(x, y, &nCol, &nRow);
    for (; nRow > 0 && m_pCaretLine && m_pCaretLine->pNext; nRow--)
    {
        m_pCaretLine = m_pCaretLine->pNext;
        m_nCaretLine++;
    }
    int c = m_nFirstCol + (nCol > 0 ? nCol : 0);
    m_nCaretCol = ClampCaretColumn(c < TWK_MAX_COLUMNS ? c : TWK_MAX_COLUMNS);
    EnsureCaretVisible();
}

template <class Base>
int TWKEditCore<Base>::SetCaretFromPoint(int x, int y)
{
    if (!m_pTopLine)
        return IDS_TWK_NOTEXT;
    PlaceCaretAtPoint(x, y);
    return 0;
}

template <class Base>
int TWKEditCore<Base>::IsPointInSelection(int x, int y)
{
    TWKEdit* pEdit = GetEdit();
    if (!m_bSelection || !pEdit || !m_pSelStartLine || !m_pSelEndLine || y < 0)
        return 0;
    int nCol = 0, nRow = 0;
    PointToCell(x, y, &nCol, &nRow);
    if (nRow < 0 || (nRow + 1) * m_nLineHeight > m_rcClient.bottom)
        return 0;
    TWKEditLine* pLine = m_pTopLine;
    for (int r = 0; pLine && r < nRow; r++)
        pLine = pLine->pNext;
    int s = 0, n = 0;
    if (!pLine || !GetLineSelection(pLine, pEdit->OffsetToColumn(pLine, pLine->nLength), &s, &n))
        return 0;
    int c = m_nFirstCol + nCol;
    if (m_nSelMode == 2)
        return s <= c && c <= s + n;
    if (pLine == m_pSelStartLine)
        return c >= s && (pLine != m_pSelEndLine || c <= s + n);
    if (pLine == m_pSelEndLine)
        return c < s + n;
    return 1;
}

// Marks the stretch between the old caret and the caret now, the earlier
// end with LINE_SELSTART; FALSE when the caret did not move.
template <class Base>
BOOL TWKEditCore<Base>::MarkCaretStep(TWKEditLine* pOldLine, int nOldLineNo, int nOldCol)
{
    TWKEdit* pEdit = GetEdit();
    if (!pOldLine || !m_pCaretLine || !pEdit)
        return FALSE;
    if (pOldLine == m_pCaretLine && nOldCol == m_nCaretCol)
        return FALSE;
    BOOL bForward = m_nCaretLine > nOldLineNo || (m_nCaretLine == nOldLineNo && m_nCaretCol > nOldCol);
    TWKEditLine* pStart = bForward ? pOldLine : m_pCaretLine;
    TWKEditLine* pEnd = bForward ? m_pCaretLine : pOldLine;
    pEdit->SetSelectionMark(pStart, LINE_SELSTART, bForward ? nOldCol : m_nCaretCol);
    pEdit->SetSelectionMark(pEnd, LINE_SELEND, bForward ? m_nCaretCol : nOldCol);
    return TRUE;
}

template <class Base>
void TWKEditCore<Base>::StartMouseTracking()
{
    POINT pt = {};
    ::GetCursorPos(&pt);
    this->ScreenToClient(&pt);
    m_ptMouse = pt;
    if (::GetCapture() == this->m_hWnd && m_bMouseSelecting)
        return;
    this->SetCapture();
    m_bMouseSelecting = TRUE;
    m_nTimerID = this->SetTimer(6, 100, NULL);
    m_bSkipTimerTick = TRUE;
}

// ----------------------------------------------------------------- cursor

template <class Base>
BOOL TWKEditCore<Base>::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    POINT pt = {};
    if ((nHitTest & 1) && ::GetCursorPos(&pt))
    {
        this->ScreenToClient(&pt);
        CWinApp* pApp = AfxGetApp();
        if (pt.x <= m_nTextLeft - m_nCharWidth / 2)
        {
            ::SetCursor(pApp ? pApp->LoadCursor(IDC_TWK_GUTTER)
                             : ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TWK_GUTTER)));
            return FALSE;
        }
        if (IsPointInSelection(pt.x, pt.y))
        {
            ::SetCursor(pApp ? pApp->LoadStandardCursor(IDC_ARROW) : ::LoadCursorA(NULL, IDC_ARROW));
            return FALSE;
        }
    }
    return Base::OnSetCursor(pWnd, nHitTest, message);
}

// ------------------------------------------------------------ the buttons

template <class Base>
void TWKEditCore<Base>::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_pTopLine)
        return;
    if (!m_bSelection)
    {
        m_nSelMode = (::GetKeyState(VK_MENU) < 0 || m_nSelMode == 2) ? 2 : 1;
        if (nFlags & MK_SHIFT)
        {
            TWKEditLine* pOld = m_pCaretLine;
            int nOldLine = m_nCaretLine, nOldCol = m_nCaretCol;
            BeginSelection(m_nSelMode, 0);
            PlaceCaretAtPoint(point.x, point.y);
            MarkCaretStep(pOld, nOldLine, nOldCol);
            ExtendSelection(m_bUpdate);
        }
        else
        {
            PlaceCaretAtPoint(point.x, point.y);
            BeginSelection(m_nSelMode, m_bUpdate);
        }
        StartMouseTracking();
        return;
    }
    if (nFlags & MK_SHIFT)
    {
        TWKEditLine* pOld = m_pCaretLine;
        int nOldLine = m_nCaretLine, nOldCol = m_nCaretCol;
        PlaceCaretAtPoint(point.x, point.y);
        MarkCaretStep(pOld, nOldLine, nOldCol);
        ExtendSelection(m_bUpdate);
        return;
    }
    if (IsPointInSelection(point.x, point.y))
    {
        if (DragSelection())
            return;
        // Released without dragging.
        ClearSelection(m_bUpdate);
        PlaceCaretAtPoint(point.x, point.y);
        return;
    }
    ClearSelection(m_bUpdate);
    PlaceCaretAtPoint(point.x, point.y);
    BeginSelection(1, 0);
    StartMouseTracking();
}

template <class Base>
void TWKEditCore<Base>::OnMouseMove(UINT, CPoint point)
{
    if (!m_bMouseSelecting || !m_pCaretLine)
        return;
    if (point.y >= m_rcClient.bottom)
    {
        SelectMove(LINE_SELSTART, &TWKEditCore::MoveCaretDown, m_nSelMode, m_bUpdate);
    }
    else if (point.y <= m_rcClient.top)
    {
        SelectMove(LINE_SELEND, &TWKEditCore::MoveCaretUp, m_nSelMode, m_bUpdate);
    }
    else
    {
        if (s_bInMouseMove)
            return;
        s_bInMouseMove = TRUE;
        TWKEditLine* pOld = m_pCaretLine;
        int nOldLine = m_nCaretLine, nOldCol = m_nCaretCol;
        PlaceCaretAtPoint(point.x, point.y);
        if (MarkCaretStep(pOld, nOldLine, nOldCol))
            ExtendSelection(m_bUpdate);
        s_bInMouseMove = FALSE;
    }
    m_ptMouse = point;
}

template <class Base>
void TWKEditCore<Base>::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != 6)
        return;
    if (m_bSkipTimerTick)
    {
        m_bSkipTimerTick = FALSE;
        return;
    }
    POINT pt = {};
    ::GetCursorPos(&pt);
    this->ScreenToClient(&pt);
    if (pt.x == m_ptMouse.x && pt.y == m_ptMouse.y && m_rcClient.left < pt.x && pt.x < m_rcClient.right &&
        m_rcClient.top < pt.y && pt.y < m_rcClient.bottom)
        return;
    m_ptMouse = pt;
    OnMouseMove(0, CPoint(pt));
}

template <class Base>
void TWKEditCore<Base>::OnLButtonUp(UINT, CPoint point)
{
    if (m_nTimerID)
    {
        this->KillTimer(6);
        m_nTimerID = 0;
    }
    if (!m_bMouseSelecting)
        return;
    m_bMouseSelecting = FALSE;
    if (::GetCapture() == this->m_hWnd)
        ::ReleaseCapture();
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    if (m_bSelection && m_pSelStartLine && m_pSelStartLine == m_pSelEndLine)
    {
        // A one-line selection stays only when it holds some of the text.
        TWKEditLine* p = m_pSelStartLine;
        BOOL bKeep = m_nSelStartCol != m_nSelEndCol && p->nLength > pEdit->m_nLineEndLen &&
                     pEdit->ColumnToOffset(p, m_nSelStartCol) <= p->nLength - pEdit->m_nLineEndLen;
        if (!bKeep)
            ClearSelection(m_bUpdate);
    }
    if (m_bSelection || point.x > m_nTextLeft - m_nCharWidth / 2 || !m_pCaretLine)
        return;
    // Released over the gutter: the whole line, its line end included.
    m_nCaretCol = 0;
    if (m_bUpdate)
        EnsureCaretVisible();
    BeginSelection(1, 0);
    pEdit->SetSelectionMark(m_pCaretLine, LINE_SELSTART, 0);
    if (m_pCaretLine->pNext)
        StepCaretLine(1, m_bUpdate);
    else
        m_nCaretCol = LineEndColumn(m_pCaretLine);
    pEdit->SetSelectionMark(m_pCaretLine, LINE_SELEND, m_nCaretCol);
    ExtendSelection(m_bUpdate);
}

// The caret is at the point already, from the press before.
template <class Base>
void TWKEditCore<Base>::OnLButtonDblClk(UINT, CPoint)
{
    SelectWord(m_bUpdate);
}

// ------------------------------------------------------------ context menu

template <class Base>
BOOL TWKEditCore<Base>::BuildContextMenu(CMenu* pMenu)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !pMenu)
        return FALSE;
    BOOL bReadOnly = pEdit->m_bReadOnly;
    BOOL bSelection = m_bSelection && m_pSelStartLine && m_pSelEndLine;
    BOOL bPaste = FALSE;
    if (!bReadOnly && ::OpenClipboard(this->m_hWnd))
    {
        bPaste = ::IsClipboardFormatAvailable(CF_TEXT);
        ::CloseClipboard();
    }
    auto grey = [](BOOL bGrey) { return MF_STRING | (bGrey ? MF_GRAYED : 0u); };
    pMenu->AppendMenu(grey(pEdit->m_nUndoPos == 0), ID_EDIT_UNDO, "&Undo");
    pMenu->AppendMenu(grey(pEdit->m_nUndoCount == 0 || pEdit->m_nUndoPos >= pEdit->m_nUndoCount), ID_EDIT_REDO,
                      "&Redo");
    pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(grey(!bSelection || bReadOnly), ID_EDIT_CUT, "Cu&t");
    pMenu->AppendMenu(grey(!bSelection), ID_EDIT_COPY, "&Copy");
    pMenu->AppendMenu(grey(!bPaste), ID_EDIT_PASTE, "&Paste");
    pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(MF_STRING, ID_TWK_TOGGLEBOOKMARK, "Toggle &Bookmark");
    return TRUE;
}

template <class Base>
CPoint TWKEditCore<Base>::PrepareContextMenu(CPoint point)
{
    if (point.x == -1 && point.y == -1)
    {
        point = CPoint(5, 5);
        this->ClientToScreen(&point);
    }
    else if (m_pTopLine)
    {
        CPoint pt = point;
        this->ScreenToClient(&pt);
        PlaceCaretAtPoint(pt.x, pt.y);
    }
    return point;
}

template <class Base>
void TWKEditCore<Base>::ShowContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
    {
        this->Default();
        return;
    }
    point = PrepareContextMenu(point);
    this->HideCaret();
    if (BuildContextMenu(&menu))
        menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    this->ShowCaret();
    menu.DestroyMenu();
}
