// The user's side of the list: selection by clicks and keys, keyboard
// navigation, type-ahead, the delayed click that starts a label edit, item
// and header drags, header buttons, focus and timers.
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include "framework/controls/list/TWKListPrivate.h"

namespace {

const UINT_PTR TIMER_EDIT = 1;
const UINT_PTR TIMER_AUTOSCROLL = 2;
const UINT_PTR TIMER_TYPEAHEAD = 3;
const UINT EDIT_DELAY = 500;

const UINT TYPEAHEAD_SEARCHING = 1;
const UINT TYPEAHEAD_KEYCAME = 2;
const UINT TYPEAHEAD_FAILED = 4;

} // namespace

BEGIN_MESSAGE_MAP(TWKListCtrl, TWKListBaseC)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_TIMER()
    ON_EN_UPDATE(TWKLIST_ID_EDIT, OnLabelEditUpdate)
    ON_EN_KILLFOCUS(TWKLIST_ID_EDIT, OnLabelEditKillFocus)
END_MESSAGE_MAP()

// ---- Timers

void TWKListBaseC::SetAutoScrollTimer(UINT nElapse)
{
    KillAutoScrollTimer();
    if (nElapse > 0 && m_hWnd)
        m_nTimer2 = SetTimer(TIMER_AUTOSCROLL, nElapse);
}

void TWKListBaseC::KillAutoScrollTimer()
{
    if (m_nTimer2 && m_hWnd)
        KillTimer(TIMER_AUTOSCROLL);
    m_nTimer2 = 0;
}

void TWKListBaseC::CancelEditTimer()
{
    if (m_nTimer1 && m_hWnd)
        KillTimer(TIMER_EDIT);
    m_nTimer1 = 0;
}

void TWKListBaseC::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_EDIT)
    {
        CancelEditTimer();
        if (m_nPendingEditRow >= 0 && m_nPendingEditRow == m_nFocusRow)
            EditLabel(m_nPendingEditRow, m_nCurColumn);
    }
    else if (nIDEvent == TIMER_TYPEAHEAD)
    {
        if (!(m_nTypeAheadFlags & TYPEAHEAD_KEYCAME))
        {
            KillTimer(TIMER_TYPEAHEAD);
            m_nTimer3 = 0;
            m_nTypeAheadFlags = 0;
            m_strTypeAhead.Empty();
            m_typeAheadLead.RemoveAll();
        }
        m_nTypeAheadFlags &= ~TYPEAHEAD_KEYCAME;
    }
    else if (nIDEvent == TIMER_AUTOSCROLL && m_bItemDrag && GetItemCount() >= 3)
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        UINT nHit;
        int nRow = HitTest(pt.x, pt.y, &nHit, NULL);
        if (nRow >= 0 && (nHit & 0x2000))
        {
            int nLast = GetLastVisibleIndex(NULL);
            if (m_nTopIndex > 0 && nRow <= m_nTopIndex)
            {
                SetDropHighlight(-1);
                ScrollVertical(-1, FALSE);
            }
            else if (nRow >= nLast - 1 && nLast < GetItemCount() - 1)
            {
                SetDropHighlight(-1);
                ScrollVertical(1, FALSE);
            }
        }
    }
    CWnd::OnTimer(nIDEvent);
}

// ---- Selection

BOOL TWKListBaseC::SelectWithKeys(int nRow, UINT, UINT nKeyFlags, BOOL bMouse)
{
    int nOld = m_nFocusRow;
    if (IsMultiSelect() && (nKeyFlags & (MK_SHIFT | MK_CONTROL)))
    {
        if (m_bSelVeto)
            return TRUE;
        if (nKeyFlags & MK_SHIFT)
        {
            if (m_nAnchorRow < 0 || nRow == m_nFocusRow)
                return TRUE;
            if ((m_bSelVeto = NotifySelChanging(nRow, nOld, bMouse) != 0) != FALSE)
                return FALSE;
            m_pTip->Hide();
            int nAnchor = m_nAnchorRow;
            DeselectAllExcept(-1);
            SelectRange(nAnchor, nRow, TRUE);
            SetFocusItem(nRow, TRUE);
            m_nAnchorRow = nAnchor;
            InvalidateItemRange(nAnchor, nRow);
        }
        else if (!bMouse)
        {
            m_pTip->Hide();
            SetFocusItemOnly(nRow);
            return TRUE;
        }
        else
        {
            if ((m_bSelVeto = NotifySelChanging(nRow, nOld, bMouse) != 0) != FALSE)
                return FALSE;
            m_pTip->Hide();
            SetFocusItem(nRow, !IsSelected(nRow));
        }
    }
    else
    {
        BOOL bSelected = IsSelected(nRow);
        if (nRow == m_nFocusRow && bSelected)
            return TRUE;
        if (bSelected && m_selection.GetSize() > 1)
            return TRUE;
        if ((nKeyFlags & MK_RBUTTON) && bSelected)
        {
            m_pTip->Hide();
            int nAnchor = m_nAnchorRow;
            SetFocusItemOnly(nRow);
            m_nAnchorRow = nAnchor;
            return TRUE;
        }
        if ((m_bSelVeto = NotifySelChanging(nRow, nOld, bMouse) != 0) != FALSE)
            return FALSE;
        m_pTip->Hide();
        DeselectAllExcept(nRow);
        SetFocusItem(nRow, TRUE);
    }
    NotifySelChanged(nRow, nOld, bMouse);
    return TRUE;
}

void TWKListBaseC::OnUserSelect(int, BOOL) {}
void TWKListBaseC::NotifySelChanged(int, int, BOOL) {}
LRESULT TWKListBaseC::NotifySelChanging(int, int, BOOL) { return 0; }
void TWKListBaseC::NotifyBeginDrag(int, int, int) {}
void TWKListBaseC::NotifyBeginRDrag(int, int, int) {}

void TWKListBaseC::ClassifyClick(CPoint point, int nRow, UINT nHit, BOOL* pbArmed, BOOL* pbSelect)
{
    *pbArmed = FALSE;
    *pbSelect = FALSE;
    if (nHit & (LVHT_ONITEMICON | LVHT_ONITEMLABEL))
    {
        *pbSelect = TRUE;
        *pbArmed = TRUE;
    }
    else if ((m_dwListStyleEx & TWKLVS_EX_HEADERDRAGDROP) && (nHit & 0x1000) && nRow >= 1)
        *pbArmed = TRUE;
    else if ((nHit & 0x2000) && !(nHit & LVHT_ONITEMSTATEICON))
    {
        *pbSelect = (m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT) != 0;
        if (!*pbSelect && (nHit & 0x4000))
        {
            CRect rcIcon;
            if (GetItemRect(nRow, &rcIcon, LVIR_ICON) && point.x >= rcIcon.right)
                *pbSelect = TRUE;
        }
        *pbArmed = *pbSelect;
    }
}

// ---- Keyboard

void TWKListBaseC::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    NotifyKeyDown(nChar);
    BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    int nRow = m_nFocusRow;
    int nSubItem = GetColumnSubItem(m_nCurColumn);
    switch (nChar)
    {
    case VK_UP: OnUpKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_DOWN: OnDownKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_HOME: OnHomeKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_END: OnEndKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_PRIOR: OnPageUpKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_NEXT: OnPageDownKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_SPACE:
        if (m_nFocusRow >= 0)
            SetFocusItem(m_nFocusRow, !IsSelected(m_nFocusRow));
        break;
    case VK_F2: OnEditKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_RETURN: OnReturnKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_TAB:
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(WM_NEXTDLGCTL, bShift, 0);
        break;
    case VK_ESCAPE:
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(WM_COMMAND, IDCANCEL, 0);
        break;
    case VK_LEFT:
    case VK_SUBTRACT:
    case VK_OEM_MINUS: OnLeftKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_RIGHT:
    case VK_ADD:
    case VK_OEM_PLUS: OnRightKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_MULTIPLY: OnMultiplyKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_BACK: OnBackKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags); break;
    default: break;
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void TWKListBaseC::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    NotifyKeyDown(nChar);
    CWnd::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

UINT TWKListBaseC::OnGetDlgCode()
{
    return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

static UINT SelectionFlags(BOOL bShift, BOOL bCtrl)
{
    return (bShift ? MK_SHIFT : 0) | (bCtrl ? MK_CONTROL : 0);
}

void TWKListBaseC::OnUpKey(int nRow, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
    if (nRow > 0 && SelectWithKeys(nRow - 1, 0, SelectionFlags(bShift, bCtrl), FALSE))
    {
        OnUserSelect(nRow - 1, FALSE);
        EnsureVisible(nRow - 1);
    }
}

void TWKListBaseC::OnDownKey(int nRow, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
    if (nRow >= GetItemCount() - 1)
        return;
    int nNew = nRow < 0 ? 0 : nRow + 1;
    if (SelectWithKeys(nNew, 0, SelectionFlags(bShift, bCtrl), FALSE))
    {
        OnUserSelect(nNew, FALSE);
        EnsureVisible(nNew);
    }
}

void TWKListBaseC::OnHomeKey(int, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
    if (GetItemCount() == 0)
        return;
    if (m_dwScrollBars & WS_VSCROLL)
    {
        SendMessage(WM_VSCROLL, SB_TOP, 0);
        Invalidate(FALSE);
    }
    if (SelectWithKeys(0, 0, SelectionFlags(bShift, bCtrl), FALSE))
        OnUserSelect(0, FALSE);
    Invalidate(FALSE);
}

void TWKListBaseC::OnEndKey(int, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
    int nLast = GetItemCount() - 1;
    if (nLast < 0)
        return;
    if (m_dwScrollBars & WS_VSCROLL)
    {
        SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
        Invalidate(FALSE);
    }
    if (SelectWithKeys(nLast, 0, SelectionFlags(bShift, bCtrl), FALSE))
        OnUserSelect(nLast, FALSE);
    Invalidate(FALSE);
}

void TWKListBaseC::OnPageUpKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags)
{
    if (!(m_dwScrollBars & WS_VSCROLL))
    {
        OnHomeKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags);
        return;
    }
    if (nRow == m_nTopIndex)
        SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    if (SelectWithKeys(m_nTopIndex, 0, SelectionFlags(bShift, bCtrl), FALSE))
        OnUserSelect(m_nTopIndex, FALSE);
    Invalidate(FALSE);
}

void TWKListBaseC::OnPageDownKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags)
{
    if (!(m_dwScrollBars & WS_VSCROLL))
    {
        OnEndKey(nRow, nSubItem, bShift, bCtrl, nRepCnt, nFlags);
        return;
    }
    if (nRow == GetLastVisibleIndex(NULL))
        SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    int nLast = GetLastVisibleIndex(NULL);
    if (SelectWithKeys(nLast, 0, SelectionFlags(bShift, bCtrl), FALSE))
        OnUserSelect(nLast, FALSE);
    Invalidate(FALSE);
}

void TWKListBaseC::OnEditKey(int nRow, int, BOOL, BOOL, UINT, UINT)
{
    if (m_dwListStyle & LVS_EDITLABELS)
        EditLabel(nRow, m_nCurColumn);
}

void TWKListBaseC::OnReturnKey(int, int, BOOL, BOOL, UINT, UINT) { NotifyParent(NM_RETURN); }
void TWKListBaseC::OnLeftKey(int, int, BOOL, BOOL, UINT, UINT) {}
void TWKListBaseC::OnBackKey(int, int, BOOL, BOOL, UINT, UINT) {}
void TWKListBaseC::OnRightKey(int, int, BOOL, BOOL, UINT, UINT) {}
void TWKListBaseC::OnMultiplyKey(int, int, BOOL, BOOL, UINT, UINT) {}

// ---- Type-ahead

// Whether a label begins with the typed text: whole characters of the
// code page compared without regard to case.
BOOL TWKListBaseC::TypeAheadMatches(const CString& strLabel) const
{
    int nTyped = m_strTypeAhead.GetLength();
    if (strLabel.GetLength() < nTyped)
        return FALSE;
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, strLabel, nTyped, m_strTypeAhead, nTyped) ==
           CSTR_EQUAL;
}

void TWKListBaseC::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == 27 || nChar == 13 || nChar == 32 || GetItemCount() == 0)
    {
        CWnd::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    if (m_nTypeAheadFlags & TYPEAHEAD_FAILED)
    {
        m_nTypeAheadFlags |= TYPEAHEAD_KEYCAME;
        return;
    }
    if (!(m_nTypeAheadFlags & TYPEAHEAD_SEARCHING))
    {
        m_nTypeAheadFlags |= TYPEAHEAD_SEARCHING;
        m_strTypeAhead.Empty();
        m_typeAheadLead.RemoveAll();
        m_nTimer3 = SetTimer(TIMER_TYPEAHEAD, m_nTypeAheadTimeout);
    }
    m_nTypeAheadFlags |= TYPEAHEAD_KEYCAME;
    BYTE b = (BYTE)nChar;
    if (m_typeAheadLead.GetSize() == 0 && ::IsDBCSLeadByte(b))
    {
        // Wait for the trail byte before the character counts.
        m_typeAheadLead.Add(b);
        return;
    }
    if (m_typeAheadLead.GetSize() > 0)
    {
        char sz[3] = { (char)m_typeAheadLead[0], (char)b, 0 };
        m_typeAheadLead.RemoveAll();
        m_strTypeAhead += sz;
    }
    else
        m_strTypeAhead += (char)b;
    int nCount = GetItemCount();
    int nStart = m_nFocusRow < 0 ? 0 : m_nFocusRow;
    // One character typed: the search starts at the next row. Counted in
    // characters, so a double-byte first letter counts as one.
    int nChars = 0;
    for (LPCSTR p = m_strTypeAhead; *p; p = ::CharNextA(p))
        ++nChars;
    if (nChars < 2)
    {
        nStart = GetNextItem(nStart, LVNI_BELOW);
        if (nStart < 0)
            nStart = 0;
    }
    int nFound = -1;
    for (int i = 0; i < nCount; ++i)
    {
        int nRow = (nStart + i) % nCount;
        if (TypeAheadMatches(GetItemString(nRow, 0)))
        {
            nFound = nRow;
            break;
        }
    }
    if (nFound >= 0)
    {
        if (SelectWithKeys(nFound, 0, 0, FALSE))
        {
            OnUserSelect(nFound, FALSE);
            EnsureVisible(nFound);
        }
    }
    else
    {
        ::MessageBeep((UINT)-1);
        m_nTypeAheadFlags |= TYPEAHEAD_FAILED;
    }
}

// ---- Mouse

void TWKListBaseC::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    UINT nHit = 0;
    int nColumn = -1;
    int nRow = HitTest(point.x, point.y, &nHit, &nColumn);
    BOOL bArmed = FALSE, bSelect = FALSE;
    m_nCurColumn = nColumn;
    if ((nHit & 0x800) && nColumn < GetColumnCount() - 1)
    {
        int nDelta = TrackColumnDivider(point.x, point.y, nColumn);
        TWKListColumn* pColumn = GetColumnPtr(nColumn);
        if (pColumn && nDelta != 0)
        {
            pColumn->cx += nDelta;
            if (m_dwListStyleEx & TWKLVS_EX_FITLABELCOLUMN)
            {
                if (TWKListColumn* pNext = GetColumnPtr(nColumn + 1))
                    pNext->cx -= nDelta;
                int nTotal = 0;
                for (int c = 0; c < GetColumnCount(); ++c)
                {
                    TWKListColumn* p = GetColumnPtr(c);
                    if (p->cx < 6)
                        p->cx = 5;
                    nTotal += p->cx;
                }
                CRect rcList;
                GetInsideRect(&rcList);
                if (nTotal > rcList.Width())
                    GetColumnPtr(0)->cx -= nTotal - rcList.Width();
            }
            if (!(m_dwListStyle & LVS_NOLABELWRAP))
            {
                for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
                    ((TWKListItem*)m_rows[i])->m_nHeight = -1;
            }
            RemeasureItems();
            Invalidate(TRUE);
        }
    }
    else if (!(nHit & 0x800))
        ClassifyClick(point, nRow, nHit, &bArmed, &bSelect);
    m_bArmed = bArmed;
    if ((nHit & 0x1000) && !(m_dwListStyle & LVS_NOSORTHEADER) && nColumn < GetColumnCount())
    {
        m_nPressedColumn = nColumn;
        DrawHeaderItem(nColumn, TRUE);
        SetCapture();
    }
    if (bSelect)
    {
        SelectWithKeys(nRow, nHit, nFlags, TRUE);
        OnUserSelect(nRow, TRUE);
    }
    m_ptMouseDown = point;
    if (m_pTip->IsShowing())
        m_pTip->Refresh();
    m_bItemDrag = FALSE;
    m_bHeaderDrag = FALSE;
    Default();
}

void TWKListBaseC::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bItemDrag && !m_bHeaderDrag)
        return;
    UINT nHit = 0;
    int nColumn = -1;
    int nRow = HitTest(point.x, point.y, &nHit, &nColumn);
    m_bOverDivider = (nHit & 0x800) != 0;
    if (m_nPressedColumn >= 0 && !(m_dwListStyle & LVS_NOSORTHEADER) && !m_bHeaderDrag && !(nHit & 0x1000))
    {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        DrawHeaderItem(m_nPressedColumn, FALSE);
        m_bArmed = FALSE;
        m_nPressedColumn = -1;
    }
    BOOL bStartedDrag = FALSE;
    if (m_nFocusRow >= 0 && m_bArmed && !(nHit & 0x1000) && !m_bOverDivider && (nFlags & (MK_LBUTTON | MK_RBUTTON)) &&
        (abs(point.x - m_ptMouseDown.x) > 3 || abs(point.y - m_ptMouseDown.y) > 3))
    {
        m_bItemDrag = TRUE;
        m_bArmed = FALSE;
        bStartedDrag = TRUE;
    }
    if (m_nPressedColumn > 0 && m_bArmed && (nFlags & MK_LBUTTON) &&
        (abs(point.x - m_ptMouseDown.x) > 1 || abs(point.y - m_ptMouseDown.y) > 1))
    {
        m_bArmed = FALSE;
        m_bHeaderDrag = TRUE;
        if (m_pHeaderDragImage == NULL)
        {
            m_pHeaderDragImage = CreateHeaderDragImage(m_nPressedColumn);
            if (m_pHeaderDragImage)
            {
                m_pHeaderDragImage->BeginDrag(0, CPoint(point.x - GetColumnLeft(m_nPressedColumn), 0));
                CImageList::DragEnter(this, CPoint(point.x, 0));
            }
        }
    }
    if (m_bHeaderDrag && (nFlags & MK_LBUTTON))
    {
        CRect rcList;
        GetInsideRect(&rcList);
        CRect rcZone(0, 0, rcList.right, m_nHeaderHeight + 30);
        if (rcZone.PtInRect(point))
        {
            if (m_pHeaderDragImage)
                CImageList::DragShowNolock(TRUE);
            CImageList::DragMove(CPoint(point.x, 0));
            UpdateHeaderDropMarker(point.x, point.y, nColumn);
        }
        else
        {
            CImageList::DragShowNolock(FALSE);
            int nOld = m_nHeaderDropTarget;
            m_nHeaderDropTarget = -1;
            if (nOld > 0)
                DrawHeaderItem(nOld, nOld == m_nPressedColumn);
        }
    }
    if ((m_dwListStyleEx & TWKLVS_EX_LABELTIPS) && (m_dwListStyle & LVS_NOLABELWRAP))
    {
        if (!m_bItemDrag && !m_bHeaderDrag && nRow != m_nEditRow)
            m_pTip->Show(nHit, nRow, nColumn, point.x, point.y);
        else
            m_pTip->Hide();
    }
    if (bStartedDrag)
    {
        if (nFlags & MK_LBUTTON)
            NotifyBeginDrag(m_nFocusRow, m_ptMouseDown.x, m_ptMouseDown.y);
        else
            NotifyBeginRDrag(m_nFocusRow, m_ptMouseDown.x, m_ptMouseDown.y);
    }
    Default();
}

void TWKListBaseC::UpdateHeaderDropMarker(int x, int, int nColumn)
{
    int nCount = GetColumnCount();
    if (nColumn == -1)
        nColumn = nCount - 1;
    if (nColumn == 0)
        nColumn = 1;
    if (nColumn >= nCount)
        return;
    int left = GetColumnLeft(nColumn), right = GetColumnRight(nColumn);
    int nTarget, xLine;
    if (x >= (left + right) / 2)
    {
        nTarget = nColumn + 1;
        xLine = right;
    }
    else if (x >= GetColumnWidth(0) / 2)
    {
        nTarget = nColumn;
        xLine = left;
    }
    else
        return;
    if (nTarget != m_nHeaderDropTarget)
    {
        // Erase the old marker with the drag image hidden meanwhile.
        CImageList::DragShowNolock(FALSE);
        int nOld = m_nHeaderDropTarget;
        if (nOld > 0 && nOld < nCount)
            DrawHeaderItem(nOld, nOld == m_nPressedColumn);
        else if (nOld >= nCount)
        {
            CRect rcList;
            GetInsideRect(&rcList);
            CClientDC dc(this);
            int nLeft = GetColumnRight(nCount - 1);
            CRect rc(nLeft, 0, rcList.right + 2, m_nHeaderHeight);
            dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
            dc.DrawFrameControl(&rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        }
        if (nOld > 1 && nOld - 1 < nCount)
            DrawHeaderItem(nOld - 1, nOld - 1 == m_nPressedColumn);
        m_nHeaderDropTarget = nTarget;
        CImageList::DragShowNolock(TRUE);
    }
    CImageList::DragShowNolock(FALSE);
    CClientDC dc(this);
    dc.FillSolidRect(xLine, 0, 1, m_nHeaderHeight, RGB(0, 0, 0xFF));
    CImageList::DragShowNolock(TRUE);
}

void TWKListBaseC::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bArmed = FALSE;
    if (m_bItemDrag)
    {
        m_bItemDrag = FALSE;
        return;
    }
    if (m_bHeaderDrag)
    {
        m_bHeaderDrag = FALSE;
        CImageList::DragLeave(this);
        CImageList::EndDrag();
        delete m_pHeaderDragImage;
        m_pHeaderDragImage = NULL;
        int nTarget = m_nHeaderDropTarget;
        m_nHeaderDropTarget = -1;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        int nPressed = m_nPressedColumn;
        m_nPressedColumn = -1;
        Invalidate(FALSE);
        if (nPressed > 0 && nTarget > 0 && nTarget != nPressed && nTarget != nPressed + 1)
            MoveColumn(nPressed, nTarget, TRUE);
        return;
    }
    if (m_nPressedColumn >= 0 && !(m_dwListStyle & LVS_NOSORTHEADER))
    {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        int nColumn = m_nPressedColumn;
        m_nPressedColumn = -1;
        DrawHeaderItem(nColumn, FALSE);
        NotifyColumnClick(nColumn);
    }
    UINT nHit = 0;
    int nColumn = -1;
    int nRow = HitTest(point.x, point.y, &nHit, &nColumn);
    if (nRow >= 0 && (nHit & 0x2000))
    {
        if (IsSelected(nRow) && m_selection.GetSize() > 1 && !(nFlags & (MK_SHIFT | MK_CONTROL)))
        {
            DeselectAllExcept(-1);
            SelectWithKeys(nRow, nHit, nFlags, TRUE);
        }
        BOOL bFullRow = (m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT) != 0;
        BOOL bOnCell = (nHit & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)) || bFullRow;
        if (!bOnCell && (nHit & 0x4000))
        {
            CRect rcIcon;
            bOnCell = GetItemRect(nRow, &rcIcon, LVIR_ICON) && point.x >= rcIcon.right;
        }
        if (bOnCell && m_nPendingEditRow == nRow)
        {
            CancelEditTimer();
            m_nTimer1 = SetTimer(1, EDIT_DELAY);
        }
        if ((m_dwListStyle & LVS_EDITLABELS) && IsSelected(nRow) &&
            ((nHit & LVHT_ONITEMLABEL) || (bFullRow && m_nCurColumn >= 1 && nColumn >= 1)))
            m_nPendingEditRow = nRow;
        else
            m_nPendingEditRow = -1;
    }
    else
        m_nPendingEditRow = -1;
    Default();
    NotifyParent(NM_CLICK);
}

void TWKListBaseC::OnLButtonDblClk(UINT, CPoint)
{
    m_nPendingEditRow = -1;
    CancelEditTimer();
    Default();
    NotifyParent(NM_DBLCLK);
}

void TWKListBaseC::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (m_pTip->IsShowing())
        SendMessage(WM_MOUSEACTIVATE, (WPARAM)AfxGetMainWnd()->GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN));
    if (::GetFocus() != m_hWnd)
        SetFocus();
    UINT nHit = 0;
    int nColumn = -1;
    int nRow = HitTest(point.x, point.y, &nHit, &nColumn);
    BOOL bArmed = FALSE, bSelect = FALSE;
    if (!(nHit & 0x800))
    {
        ClassifyClick(point, nRow, nHit, &bArmed, &bSelect);
        if (bSelect)
        {
            SelectWithKeys(nRow, nHit, nFlags, TRUE);
            OnUserSelect(nRow, TRUE);
        }
    }
    m_bArmed = bArmed;
    m_ptMouseDown = point;
    if (m_pTip->IsShowing())
        m_pTip->Refresh();
    m_bItemDrag = FALSE;
    Default();
}

void TWKListBaseC::OnRButtonUp(UINT, CPoint)
{
    m_bArmed = FALSE;
    if (m_bItemDrag)
    {
        m_bItemDrag = FALSE;
        return;
    }
    if (m_pTip->IsShowing())
        m_pTip->Refresh();
    Default();
    NotifyParent(NM_RCLICK);
}

BOOL TWKListBaseC::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_hColumnCursor)
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        UINT nHit = 0;
        HitTest(pt.x, pt.y, &nHit, NULL);
        if (nHit & 0x800)
        {
            ::SetCursor(m_hColumnCursor);
            return FALSE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

// ---- Focus, enabling

void TWKListBaseC::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    if ((m_dwListStyle & LVS_SINGLESEL) && m_nFocusRow >= 0)
        InvalidateItem(m_nFocusRow, TRUE, FALSE, FALSE, FALSE);
    else
        Invalidate(FALSE);
    NotifyParent(NM_SETFOCUS);
}

void TWKListBaseC::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    if (pNewWnd && m_pEdit->GetSafeHwnd() && pNewWnd->GetSafeHwnd() == m_pEdit->GetSafeHwnd())
        return;
    EndLabelEdit(TRUE);
    if ((m_dwListStyle & LVS_SINGLESEL) && m_nFocusRow >= 0)
        InvalidateItem(m_nFocusRow, TRUE, FALSE, FALSE, FALSE);
    else
        Invalidate(FALSE);
    NotifyParent(NM_KILLFOCUS);
}

void TWKListBaseC::OnEnable(BOOL bEnable)
{
    if (!bEnable)
        m_pTip->Hide();
    Invalidate(FALSE);
}

void TWKListBaseC::OnCancelMode()
{
    m_pTip->Hide();
    CWnd::OnCancelMode();
}
