// The in-place label edit, the label tip and the store of sub-item texts.
#include "framework/controls/list/TWKListEdit.h"

int TWKCopyTextCut(LPSTR lpszBuffer, int nCapacity, LPCSTR lpszText)
{
    if (lpszBuffer == NULL || nCapacity <= 0)
        return 0;
    if (lpszText == NULL)
        lpszText = "";
    int n = 0;
    // Whole characters only: a lead byte goes with its trail byte or not at all.
    while (lpszText[n])
    {
        int nChar = (::IsDBCSLeadByte((BYTE)lpszText[n]) && lpszText[n + 1]) ? 2 : 1;
        if (n + nChar > nCapacity - 1)
            break;
        n += nChar;
    }
    memcpy(lpszBuffer, lpszText, n);
    lpszBuffer[n] = 0;
    return n;
}

// ---- TWKListEdit

BEGIN_MESSAGE_MAP(TWKListEdit, CEdit)
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
END_MESSAGE_MAP()

UINT TWKListEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

void TWKListEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN && !m_pClient->IsLabelWrapEnabled())
    {
        m_pClient->EndLabelEdit(TRUE);
        return;
    }
    if (nChar == VK_ESCAPE)
    {
        m_pClient->EndLabelEdit(FALSE);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void TWKListEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // The characters of keys that ended the edit never reach a destroyed window;
    // Escape's would beep in a multi-line edit.
    if (nChar == 27)
        return;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

// ---- TWKListTip

BEGIN_MESSAGE_MAP(TWKListTip, CWnd)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKListTip::TWKListTip(TWKListClient* pClient)
    : m_nRow(-1), m_nColumn(-1), m_pClient(pClient), m_bCapturing(FALSE)
{
    m_rcCell.SetRectEmpty();
}

TWKListTip::~TWKListTip()
{
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void TWKListTip::Hide()
{
    HWND hList = m_pClient->GetListWindow();
    if (m_hWnd && IsWindowVisible())
    {
        ShowWindow(SW_HIDE);
        if (hList)
            ::RedrawWindow(hList, &m_rcCell, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    }
    m_nRow = -1;
    m_nColumn = -1;
    m_rcCell.SetRectEmpty();
    if (m_bCapturing)
    {
        m_bCapturing = FALSE;
        if (hList && ::GetCapture() == hList)
            ::ReleaseCapture();
    }
}

void TWKListTip::ClampToScreen(LPRECT lpRect)
{
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int dx = 0;
    if (lpRect->right > cxScreen)
        dx = cxScreen - lpRect->right;
    else if (lpRect->left < 0)
        dx = -lpRect->left;
    lpRect->left += dx;
    lpRect->right += dx;
}

BOOL TWKListTip::Show(UINT nHitFlags, int nRow, int nColumn, int, int)
{
    HWND hList = m_pClient->GetListWindow();
    if (hList == NULL)
        return FALSE;
    if (m_hWnd == NULL)
    {
        LPCSTR lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_OWNDC | CS_SAVEBITS,
                                               ::LoadCursor(NULL, IDC_ARROW));
        if (!CreateEx(0, lpszClass, NULL, WS_POPUP | WS_BORDER, 0, 0, 0, 0, hList, NULL))
            return FALSE;
    }
    int nSubItem = nColumn == -1 ? -1 : m_pClient->GetColumnSubItem(nColumn);
    BOOL bCell = (nHitFlags & LVHT_ONITEMLABEL) || ((nHitFlags & 0x2000) && nSubItem >= 1);
    if (!bCell || nRow == -1 || nColumn == -1 || ::GetActiveWindow() == NULL)
    {
        Hide();
        return FALSE;
    }
    CRect rcCell, rcLabel, rcInside;
    if (!m_pClient->GetSubItemRect(nRow, nColumn, &rcCell, LVIR_BOUNDS) ||
        !m_pClient->GetSubItemRect(nRow, nColumn, &rcLabel, LVIR_LABEL))
    {
        Hide();
        return FALSE;
    }
    m_pClient->GetInsideRect(&rcInside);
    rcCell.right -= 5;
    int nVisibleRight = std::min((int)rcCell.right, (int)rcInside.Width());
    BOOL bCut = rcLabel.right > nVisibleRight || (rcLabel.left < rcInside.left && rcLabel.right > rcInside.left);
    if (!bCut)
    {
        Hide();
        return FALSE;
    }
    if (m_nRow == nRow && m_nColumn == nSubItem)
        return TRUE;
    Hide();
    rcLabel.left -= 2;
    rcLabel.right += 2;
    rcLabel.bottom += 2;
    CString strText = m_pClient->GetItemString(nRow, nSubItem < 0 ? 0 : nSubItem);
    if (strText.IsEmpty())
        return FALSE;
    m_nRow = nRow;
    m_nColumn = nSubItem;
    m_rcCell = rcCell;
    m_strText = strText;
    CRect rcScreen(rcLabel);
    m_pClient->ClientToScreen(&rcScreen);
    ClampToScreen(&rcScreen);
    SetWindowPos(&CWnd::wndTop, rcScreen.left - 1, rcScreen.top, rcScreen.Width() + 3, rcCell.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_pClient->CaptureMouse(TRUE);
    m_bCapturing = TRUE;
    Invalidate();
    UpdateWindow();
    return TRUE;
}

void TWKListTip::Refresh()
{
    if (m_hWnd && IsWindowVisible())
    {
        Invalidate();
        UpdateWindow();
    }
}

void TWKListTip::OnPaint()
{
    CPaintDC dc(this);
    if (m_nRow == -1)
        return;
    BOOL bSelected = m_pClient->IsItemSelected(m_nRow);
    COLORREF crText = bSelected ? m_pClient->GetSelTextColor() : m_pClient->GetToolTipTextColor();
    COLORREF crBk = bSelected ? m_pClient->GetSelBkColor() : m_pClient->GetToolTipBkColor();
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, crBk);
    CFont* pFont = m_pClient->GetItemFont();
    CFont bold;
    if (pFont && (m_pClient->GetClientItemState(m_nRow, 0x10) & 0x10))
    {
        LOGFONTA lf;
        pFont->GetLogFont(&lf);
        lf.lfWeight = FW_BOLD;
        if (bold.CreateFontIndirect(&lf))
            pFont = &bold;
    }
    CFont* pOld = pFont ? dc.SelectObject(pFont) : NULL;
    dc.SetTextColor(crText);
    dc.SetBkMode(TRANSPARENT);
    rc.left += 2;
    dc.DrawText(m_strText, &rc, DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    if (pOld)
        dc.SelectObject(pOld);
}

void TWKListTip::OnDestroy()
{
    m_nRow = -1;
    HWND hList = m_pClient->GetListWindow();
    if (hList && ::GetCapture() == hList)
        ::ReleaseCapture();
    m_bCapturing = FALSE;
    CWnd::OnDestroy();
}

// ---- TWKSubItemTextStorage

TWKSubItemTextStorage::TWKSubItemTextStorage() : m_map(10)
{
    m_map.InitHashTable(17);
}

TWKSubItemTextStorage::~TWKSubItemTextStorage()
{
    POSITION pos = m_map.GetStartPosition();
    while (pos)
    {
        void* hItem;
        CStringArray* pArray;
        m_map.GetNextAssoc(pos, hItem, pArray);
        delete pArray;
    }
    m_map.RemoveAll();
}

BOOL TWKSubItemTextStorage::Lookup(void* hItem, int nSubItem, LPSTR lpszBuffer, int nCapacity)
{
    CStringArray* pArray = NULL;
    BOOL bFound = m_map.Lookup(hItem, pArray) && nSubItem >= 1 && nSubItem <= pArray->GetSize();
    TWKCopyTextCut(lpszBuffer, nCapacity, bFound ? (LPCSTR)pArray->GetAt(nSubItem - 1) : "");
    return bFound;
}

BOOL TWKSubItemTextStorage::SetText(void* hItem, int nSubItem, LPCSTR lpszText)
{
    if (nSubItem < 1)
        return FALSE;
    CStringArray* pArray = NULL;
    if (!m_map.Lookup(hItem, pArray))
    {
        pArray = new CStringArray;
        m_map.SetAt(hItem, pArray);
    }
    if (pArray->GetSize() < nSubItem)
        pArray->SetSize(nSubItem);
    pArray->SetAt(nSubItem - 1, lpszText ? lpszText : "");
    return TRUE;
}

BOOL TWKSubItemTextStorage::MoveText(void* hItem, int nFrom, int nTo)
{
    CStringArray* pArray = NULL;
    if (!m_map.Lookup(hItem, pArray))
        return FALSE;
    if (nFrom < 1 || nFrom > pArray->GetSize() || nTo < 1)
        return TRUE;
    CString strText = pArray->GetAt(nFrom - 1);
    pArray->RemoveAt(nFrom - 1);
    if (pArray->GetSize() < nTo - 1)
        pArray->SetSize(nTo - 1);
    pArray->InsertAt(nTo - 1, strText);
    return TRUE;
}

void TWKSubItemTextStorage::RemoveItem(void* hItem)
{
    CStringArray* pArray = NULL;
    if (m_map.Lookup(hItem, pArray))
    {
        delete pArray;
        m_map.RemoveKey(hItem);
    }
}
