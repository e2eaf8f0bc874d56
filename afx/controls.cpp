#include "afx/controls.h"
#include "afx/cmdtarget.h"
#include "afx/imagelist.h"
#include <string>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace {

void InitCommonControls(DWORD dwICC)
{
    INITCOMMONCONTROLSEX icc = { sizeof icc, dwICC };
    ::InitCommonControlsEx(&icc);
}

} // namespace

BOOL CStatic::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------

BOOL CButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, (WPARAM)nStartChar, nEndChar);
    if (!bNoScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
    nStartChar = (int)s;
    nEndChar = (int)e;
}

DWORD CEdit::GetSel() const
{
    return (DWORD)SendMessage(EM_GETSEL);
}

int CEdit::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const
{
    if (!lpszBuffer || nMaxLength <= 0)
        return 0;
    // EM_GETLINE reads the buffer size from its first word.
    if (nMaxLength < (int)sizeof(WORD)) {
        char tmp[2] = {};
        *reinterpret_cast<WORD*>(tmp) = (WORD)sizeof tmp;
        int n = (int)SendMessage(EM_GETLINE, (WPARAM)nIndex, (LPARAM)tmp);
        if (n > nMaxLength)
            n = nMaxLength;
        std::memcpy(lpszBuffer, tmp, (size_t)n);
        return n;
    }
    *reinterpret_cast<WORD*>(lpszBuffer) = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)SendMessage(EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
}

// ---------------------------------------------------------------------------

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int n = GetTextLen(nIndex);
    if (n == LB_ERR) {
        rString.Empty();
        return;
    }
    std::string buf((size_t)n + 1, '\0');
    GetText(nIndex, &buf[0]);
    rString = buf.c_str();
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    DWORD r = (DWORD)SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(r) != 0;
    return LOWORD(r);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT r = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        r = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult)
        *pResult = r;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CCheckListBox: each item's data points at its state; the caller's item
// data is kept inside it.

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_MESSAGE(LB_RESETCONTENT, OnResetContent)
    ON_MESSAGE(LB_SETITEMHEIGHT, OnSetItemHeight)
END_MESSAGE_MAP()

CCheckListBox::CCheckListBox() = default;

CCheckListBox::~CCheckListBox()
{
    // Without a parent object WM_DELETEITEM never reaches us: free what is left.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        int n = GetCount();
        for (int i = 0; i < n; ++i) {
            delete reinterpret_cast<ItemState*>(CListBox::GetItemData(i));
            CListBox::SetItemData(i, 0);
        }
    }
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    dwStyle &= ~(DWORD)LBS_OWNERDRAWVARIABLE;
    dwStyle |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    return CListBox::Create(dwStyle, rect, pParentWnd, nID);
}

void CCheckListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
}

int CCheckListBox::GetCheckBoxWidth() const
{
    int h = GetItemHeight(0);
    if (h <= 0 || h > 100)
        h = 16;
    return h < 13 ? 13 + 2 : h;
}

CCheckListBox::ItemState* CCheckListBox::State(int nIndex, bool bCreate) const
{
    LRESULT r = ::SendMessageA(m_hWnd, LB_GETITEMDATA, (WPARAM)nIndex, 0);
    if (r == LB_ERR)
        return nullptr;
    auto* p = reinterpret_cast<ItemState*>(r);
    if (!p && bCreate) {
        p = new ItemState;
        ::SendMessageA(m_hWnd, LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)p);
    }
    return p;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (ItemState* p = State(nIndex, true)) {
        p->check = nCheck;
        CRect rc;
        if (GetItemRect(nIndex, &rc) != LB_ERR)
            InvalidateRect(&rc, FALSE);
    }
}

int CCheckListBox::GetCheck(int nIndex) const
{
    ItemState* p = State(nIndex, false);
    return p ? p->check : 0;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    if (ItemState* p = State(nIndex, true)) {
        p->enabled = bEnabled;
        CRect rc;
        if (GetItemRect(nIndex, &rc) != LB_ERR)
            InvalidateRect(&rc, FALSE);
    }
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    ItemState* p = State(nIndex, false);
    return p ? p->enabled : TRUE;
}

DWORD_PTR CCheckListBox::GetItemData(int nIndex) const
{
    LRESULT r = ::SendMessageA(m_hWnd, LB_GETITEMDATA, (WPARAM)nIndex, 0);
    if (r == LB_ERR)
        return (DWORD_PTR)LB_ERR;
    ItemState* p = reinterpret_cast<ItemState*>(r);
    return p ? p->data : 0;
}

int CCheckListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    ItemState* p = State(nIndex, true);
    if (!p)
        return LB_ERR;
    p->data = dwItemData;
    return 0;
}

void CCheckListBox::Toggle(int nIndex)
{
    ItemState* p = State(nIndex, true);
    if (!p || !p->enabled)
        return;
    int next;
    if (m_nStyle == BS_AUTO3STATE || m_nStyle == BS_3STATE)
        next = (p->check + 1) % 3;
    else
        next = p->check ? 0 : 1;
    SetCheck(nIndex, next);
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent)
        ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

void CCheckListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    BOOL bOutside = TRUE;
    UINT nIndex = ItemFromPoint(point, bOutside);
    Default();
    if (!bOutside && point.x < GetCheckBoxWidth())
        Toggle((int)nIndex);
    (void)nFlags;
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // A double click on the box is two toggles, not an item activation.
    BOOL bOutside = TRUE;
    UINT nIndex = ItemFromPoint(point, bOutside);
    if (!bOutside && point.x < GetCheckBoxWidth()) {
        Toggle((int)nIndex);
        return;
    }
    Default();
    (void)nFlags;
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_SPACE) {
        int i = GetCaretIndex();
        if (i >= 0) {
            Toggle(i);
            return;
        }
    }
    Default();
}

LRESULT CCheckListBox::OnResetContent(WPARAM, LPARAM)
{
    // Owner-drawn lists with strings send WM_DELETEITEM only when the
    // parent wants it; free the states here so none is lost.
    int n = GetCount();
    for (int i = 0; i < n; ++i) {
        delete reinterpret_cast<ItemState*>(CListBox::GetItemData(i));
        CListBox::SetItemData(i, 0);
    }
    return Default();
}

int CCheckListBox::MinItemHeight() const
{
    TEXTMETRICA tm;
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hOld = (HFONT)::SelectObject(hDC, GetFont() ? GetFont() : (HFONT)::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    return tm.tmHeight < 14 ? 14 : (int)tm.tmHeight;
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = (UINT)MinItemHeight();
}

LRESULT CCheckListBox::OnSetItemHeight(WPARAM wParam, LPARAM lParam)
{
    int nMin = MinItemHeight();
    return DefWindowProc(LB_SETITEMHEIGHT, wParam, LOWORD(lParam) < nMin ? (LPARAM)nMin : lParam);
}

void CCheckListBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    delete reinterpret_cast<ItemState*>(lpDeleteItemStruct->itemData);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if ((int)lpDIS->itemID < 0)
        return;
    HDC hDC = lpDIS->hDC;
    CRect rc(lpDIS->rcItem);
    auto* p = reinterpret_cast<ItemState*>(lpDIS->itemData);
    int box = rc.Height();
    CRect rcBox(rc.left, rc.top, rc.left + box, rc.bottom);
    ::FillRect(hDC, &rcBox, ::GetSysColorBrush(COLOR_WINDOW));
    CRect rcCheck = rcBox;
    int side = box - 2 < 13 ? box - 2 : 13;
    rcCheck.left += (box - side) / 2;
    rcCheck.top += (box - side) / 2;
    rcCheck.right = rcCheck.left + side;
    rcCheck.bottom = rcCheck.top + side;
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (p && p->check == 1)
        state |= DFCS_CHECKED;
    else if (p && p->check == 2)
        state = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
    if (p && !p->enabled)
        state |= DFCS_INACTIVE;
    ::DrawFrameControl(hDC, &rcCheck, DFC_BUTTON, state);

    CRect rcText(rc.left + box, rc.top, rc.right, rc.bottom);
    bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    ::FillRect(hDC, &rcText, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString text;
    CListBox::GetText((int)lpDIS->itemID, text);
    int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(hDC, ::GetSysColor(
        p && !p->enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    CRect rcDraw = rcText;
    rcDraw.left += 2;
    ::DrawTextA(hDC, text, text.GetLength(), &rcDraw, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
    if (lpDIS->itemState & ODS_FOCUS)
        ::DrawFocusRect(hDC, &rcText);
}

// ---------------------------------------------------------------------------

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int n = GetLBTextLen(nIndex);
    if (n == CB_ERR) {
        rString.Empty();
        return;
    }
    std::string buf((size_t)n + 1, '\0');
    GetLBText(nIndex, &buf[0]);
    rString = buf.c_str();
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    InitCommonControls(ICC_PROGRESS_CLASS);
    return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
    nLower = range.iLow;
    nUpper = range.iHigh;
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    InitCommonControls(ICC_UPDOWN_CLASS);
    return CWnd::Create(UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CSpinButtonCtrl::GetRange(int& nLower, int& nUpper) const
{
    SendMessage(UDM_GETRANGE32, (WPARAM)&nLower, (LPARAM)&nUpper);
}

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    InitCommonControls(ICC_BAR_CLASSES);
    return CWnd::Create(TRACKBAR_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    InitCommonControls(ICC_LISTVIEW_CLASSES);
    return CWnd::Create(WC_LISTVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | (nImage >= 0 ? LVIF_IMAGE : 0), nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam)
{
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_FMT;
    col.pszText = const_cast<LPSTR>(lpszColumnHeading);
    col.fmt = nFormat;
    if (nWidth != -1) {
        col.mask |= LVCF_WIDTH;
        col.cx = nWidth;
    }
    if (nSubItem != -1) {
        col.mask |= LVCF_SUBITEM;
        col.iSubItem = nSubItem;
    }
    return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)&col);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    HIMAGELIST hOld = (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)nImageListType,
                                              (LPARAM)pImageList->GetSafeHandle());
    return CImageList::FromHandle(hOld);
}

CImageList* CListCtrl::GetImageList(int nImageListType) const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_GETIMAGELIST, (WPARAM)nImageListType));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    std::string buf;
    for (size_t size = 256;; size *= 2) {
        buf.assign(size, '\0');
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = &buf[0];
        item.cchTextMax = (int)size;
        int n = (int)SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
        if (n < (int)size - 1 || size >= (1u << 20))
            break;
    }
    return CString(buf.c_str());
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)dwData;
    return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = (LONG)nCode;
    return (BOOL)SendMessage(LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO hti = {};
    hti.pt = pt;
    int r = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&hti);
    if (pFlags)
        *pFlags = hti.flags;
    return r;
}

// ---------------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    InitCommonControls(ICC_WIN95_CLASSES);
    BOOL ok = CWnd::CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             pParentWnd->GetSafeHwnd(), nullptr);
    if (ok)
        SetOwner(pParentWnd);
    return ok;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    std::memset(&ti, 0, sizeof ti);
    ti.cbSize = sizeof ti;
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        ti.hwnd = ::GetParent(hWnd) ? ::GetParent(hWnd) : hWnd;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hWnd;
    } else {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(pWnd->GetSafeHwnd(), &ti.rect);
    if (nIDTool == 0)
        ti.uFlags |= TTF_SUBCLASS;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    UpdateTipText(text, pWnd, nIDTool);
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFOA lpToolInfo) const
{
    TTHITTESTINFOA hti = {};
    hti.hwnd = pWnd->GetSafeHwnd();
    hti.pt = pt;
    hti.ti.cbSize = sizeof hti.ti;
    if (!SendMessage(TTM_HITTESTA, 0, (LPARAM)&hti))
        return FALSE;
    if (lpToolInfo)
        *lpToolInfo = hti.ti;
    return TRUE;
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(toolInfo, pWnd, nIDTool);
    return (BOOL)SendMessage(TTM_GETTOOLINFOA, 0, (LPARAM)&toolInfo);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
}

// ---------------------------------------------------------------------------

BOOL CRichEditCtrl::LoadLibrary()
{
    static HMODULE hRichEdit = ::LoadLibraryA("riched20.dll");
    return hRichEdit != nullptr;
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!LoadLibrary())
        return FALSE;
    return CWnd::Create(RICHEDIT_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = { nStartChar, nEndChar };
    SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
}
