// The list's data model: creation, styles, colours, image lists; columns,
// rows, cells and the selection.
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include "framework/frameworkres.h"
#include "framework/controls/list/TWKListPrivate.h"
#include <utility>

IMPLEMENT_DYNAMIC(TWKListBaseC, CWnd)
IMPLEMENT_DYNAMIC(TWKListCtrl, TWKListBaseC)

namespace {

// Window-style bits that belong to the list's own style words.
const DWORD LIST_STYLE_BITS = 0x0000f3ff;
const DWORD LIST_EXSTYLE_BITS = 0x1ff00000;

// Shared colours, read once per program.
struct SharedColors
{
    COLORREF crMenu, crMenuText, crBtnFace;
    SharedColors()
        : crMenu(::GetSysColor(COLOR_MENU)), crMenuText(::GetSysColor(COLOR_MENUTEXT)),
          crBtnFace(::GetSysColor(COLOR_BTNFACE)) {}
};

LPSTR CopyText(LPCSTR lpszText)
{
    if (lpszText == NULL || lpszText == LPSTR_TEXTCALLBACK)
        return (LPSTR)lpszText;
    size_t n = strlen(lpszText) + 1;
    LPSTR p = new char[n];
    memcpy(p, lpszText, n);
    return p;
}

void FreeText(LPSTR lpsz)
{
    if (lpsz != NULL && lpsz != LPSTR_TEXTCALLBACK)
        delete[] lpsz;
}

SharedColors& TWKListSharedColors()
{
    static SharedColors colors;
    return colors;
}

} // namespace

COLORREF TWKListMenuColor() { return TWKListSharedColors().crMenu; }
COLORREF TWKListMenuTextColor() { return TWKListSharedColors().crMenuText; }
COLORREF TWKListBtnFaceColor() { return TWKListSharedColors().crBtnFace; }
void TWKListReloadSharedColors() { TWKListSharedColors() = SharedColors(); }

// ---- Rows and cells

TWKListSubItem::~TWKListSubItem() { FreeText(m_pszText); }

void TWKListSubItem::SetText(LPCSTR lpszText)
{
    FreeText(m_pszText);
    m_pszText = CopyText(lpszText);
}

TWKListItem::TWKListItem()
    : m_pszText(NULL), m_nState(0), m_nImage(0), m_lParam(0), m_nHeight(-1), m_nExState(0),
      m_bNeedsMeasure(TRUE)
{
    m_rcLabel.SetRectEmpty();
    m_rcIcon.SetRectEmpty();
    m_rcStateIcon.SetRectEmpty();
}

TWKListItem::~TWKListItem()
{
    for (INT_PTR i = 0; i < m_subItems.GetSize(); ++i)
        delete (TWKListSubItem*)m_subItems[i];
    FreeText(m_pszText);
}

void TWKListItem::SetText(LPCSTR lpszText)
{
    FreeText(m_pszText);
    m_pszText = CopyText(lpszText);
}

TWKListPaintContext::TWKListPaintContext(CDC* pDC)
    : m_exState(), m_pDC(pDC), m_nColumn(0), m_nView(0), m_dwReserved(0), m_pFont(NULL), m_pItem(NULL),
      m_pSubItem(NULL), m_pColumn(NULL), m_crText(0), m_crTextBk(0), m_crFill(0), m_crLabelBk(0)
{
    memset(&m_item, 0, sizeof(m_item));
    m_rcCell.SetRectEmpty();
}

// ---- Construction and creation

TWKListBaseC::TWKListBaseC()
    : m_nTypeAheadTimeout(nTypeAheadTimeoutDefault), m_nWheelAccum(0), m_nTopIndex(0), m_nHeaderHeight(20),
      m_nPendingEditRow(-1), m_nCurColumn(0), m_nEditRow(-1), m_nSubItemCount(0), m_nFocusRow(-1),
      m_nDropRow(-1), m_nAnchorRow(-1), m_lLastResult(0), m_bStateCallback(FALSE), m_bExStateCallback(FALSE),
      m_nTimer1(0), m_nTimer2(0), m_nTimer3(0), m_nTypeAheadFlags(0), m_dwListStyle(0), m_dwListStyleEx(0),
      m_dwScrollBars(0), m_bOverDivider(FALSE), m_bSelVeto(FALSE), m_bEndEditGuard(FALSE),
      m_bAutoUpdate(FALSE), m_bItemDrag(FALSE), m_bHeaderDrag(FALSE), m_bArmed(FALSE), m_bAutoSysColors(FALSE),
      m_hColumnCursor(NULL), m_pItemFont(NULL), m_pHeaderFont(NULL), m_pHeaderDragImage(NULL),
      m_nHorzOffset(0), m_nVertOffset(0), m_pNotifyWnd(NULL), m_nPressedColumn(-1), m_nHeaderDropTarget(-1)
{
    for (CImageList*& p : m_pImageLists)
        p = NULL;
    m_hScrollBars[0] = m_hScrollBars[1] = NULL;
    m_bAutoSysColors = TRUE;
    OnSysColorChange();
    m_bAutoSysColors = FALSE;
    m_pszTextBuffer = new char[TWKLIST_TEXTBUFFER];
    m_pszTextBuffer[0] = 0;
    m_pTip = new TWKListTip(this);
    m_pEdit = new TWKListEdit(this);
}

TWKListBaseC::~TWKListBaseC()
{
    // A window still alive here gets its WM_DESTROY through this class's map.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    DeleteAllItems();
    DeleteAllColumns();
    // Lists whose window went without this class's WM_DESTROY still own their copies.
    if (!(m_dwListStyle & LVS_SHAREIMAGELISTS))
        for (CImageList*& p : m_pImageLists)
        {
            delete p;
            p = NULL;
        }
    delete m_pTip;
    delete m_pEdit;
    delete[] m_pszTextBuffer;
}

BOOL TWKListBaseC::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CCreateContext* pContext)
{
    return Create(dwStyle, 0, rect, pParentWnd, nID, pContext);
}

BOOL TWKListBaseC::Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CCreateContext*)
{
    return CreateEx(dwExStyle, NULL, NULL, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->GetSafeHwnd() : NULL, nID);
}

BOOL TWKListBaseC::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return Create(dwStyle, 0, rect, pParentWnd, nID, pContext);
}

BOOL TWKListBaseC::CreateEx(DWORD dwExStyle, LPCSTR, LPCSTR, DWORD dwStyle, int x, int y, int cx, int cy,
                            HWND hWndParent, UINT nID, LPVOID lpParam)
{
    CREATESTRUCT cs;
    memset(&cs, 0, sizeof(cs));
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = hWndParent;
    cs.hMenu = (HMENU)(UINT_PTR)nID;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;
    SplitCreateStyles(&cs);
    return CWnd::CreateEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                          cs.hwndParent, cs.hMenu, cs.lpCreateParams);
}

void TWKListBaseC::SplitCreateStyles(CREATESTRUCT* pcs)
{
    DWORD dwStyle = pcs->style & LIST_STYLE_BITS;
    DWORD dwExStyle = pcs->dwExStyle & LIST_EXSTYLE_BITS;
    pcs->style &= ~LIST_STYLE_BITS;
    pcs->dwExStyle &= ~LIST_EXSTYLE_BITS;
    ModifyListStyle(0, dwStyle, FALSE);
    ModifyListStyleEx(0, dwExStyle, FALSE);
}

BOOL TWKListBaseC::CreateFromDlgItem(UINT nID, CWnd* pDialog)
{
    CWnd* pItem = pDialog ? pDialog->GetDlgItem(nID) : NULL;
    if (pItem == NULL)
        return FALSE;
    DWORD dwStyle = pItem->GetStyle() | WS_BORDER;
    DWORD dwExStyle = pItem->GetExStyle();
    CRect rc;
    pItem->GetWindowRect(&rc);
    pDialog->ScreenToClient(&rc);
    pItem->DestroyWindow();
    return Create(dwStyle, dwExStyle, rc, pDialog, nID);
}

int TWKListBaseC::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    m_hColumnCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_TWK_COLUMNSIZE));
    if ((lpcs->style & LVS_TYPEMASK) != LVS_REPORT && (m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT)
    {
        m_dwListStyle |= LVS_NOCOLUMNHEADER;
        InsertColumn(0, "", LVCFMT_LEFT, 20, 0, 0, TRUE);
    }
    return 0;
}

void TWKListBaseC::OnDestroy()
{
    KillAutoScrollTimer();
    if (!(m_dwListStyle & LVS_SHAREIMAGELISTS))
    {
        for (CImageList*& p : m_pImageLists)
        {
            delete p;
            p = NULL;
        }
    }
    if (m_pTip->GetSafeHwnd())
        m_pTip->DestroyWindow();
    DeleteAllItems();
    DeleteAllColumns();
    CWnd::OnDestroy();
}

CScrollBar* TWKListBaseC::GetScrollBarCtrl(int nBar) const
{
    if (m_hWnd == NULL)
        return NULL;
    UINT nID = nBar == SB_HORZ ? TWKLIST_ID_HSCROLL : nBar == SB_VERT ? TWKLIST_ID_VSCROLL : 0;
    if (nID == 0)
        return NULL;
    // The handle found last time, while it is still that child: a search of the
    // children asks the window server each time, and layout asks often.
    HWND& hBar = m_hScrollBars[nBar == SB_HORZ ? 0 : 1];
    if (hBar == NULL || !::IsWindow(hBar) || ::GetParent(hBar) != m_hWnd || (UINT)::GetDlgCtrlID(hBar) != nID)
        hBar = ::GetDlgItem(m_hWnd, nID);
    return hBar ? (CScrollBar*)CWnd::FromHandle(hBar) : NULL;
}

// ---- Colours

void TWKListBaseC::LoadColors()
{
    m_crText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crCellBk = ::GetSysColor(COLOR_WINDOW);
    m_crSelText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_crSelBk = ::GetSysColor(COLOR_HIGHLIGHT);
    m_crGrayText = ::GetSysColor(COLOR_GRAYTEXT);
    m_crLabelBk = ::GetSysColor(COLOR_WINDOW);
    m_crFocusLabelBk = ::GetSysColor(COLOR_WINDOW);
    m_crTipBk = ::GetSysColor(COLOR_INFOBK);
    m_crTipText = ::GetSysColor(COLOR_INFOTEXT);
    m_crListBk = ::GetSysColor(COLOR_WINDOW);
}

void TWKListBaseC::OnSysColorChange()
{
    if (!m_bAutoSysColors)
        return;
    LoadColors();
    TWKListReloadSharedColors();
}

COLORREF TWKListBaseC::GetBkColor()
{
    if (m_hWnd && !IsWindowEnabled())
        return TWKListMenuColor();
    return m_crListBk;
}
COLORREF TWKListBaseC::GetTextColor() { return m_crText; }
COLORREF TWKListBaseC::GetTextBkColor() { return m_crCellBk; }
COLORREF TWKListBaseC::GetDisabledTextColor() { return m_crGrayText; }
COLORREF TWKListBaseC::GetLabelBkColor() { return m_crLabelBk; }
COLORREF TWKListBaseC::GetFocusLabelBkColor() { return m_crFocusLabelBk; }
COLORREF TWKListBaseC::GetSelTextColor() { return m_crSelText; }
COLORREF TWKListBaseC::GetSelBkColor() { return m_crSelBk; }
COLORREF TWKListBaseC::GetToolTipTextColor() { return m_crTipText; }
COLORREF TWKListBaseC::GetToolTipBkColor() { return m_crTipBk; }
BOOL TWKListBaseC::SetBkColor(COLORREF cr) { m_crListBk = m_crCellBk = cr; return TRUE; }
BOOL TWKListBaseC::SetTextColor(COLORREF cr) { m_crText = cr; return TRUE; }
BOOL TWKListBaseC::SetTextBkColor(COLORREF cr) { m_crCellBk = cr; return TRUE; }
BOOL TWKListBaseC::SetSelTextColor(COLORREF cr) { m_crSelText = cr; return TRUE; }
BOOL TWKListBaseC::SetSelBkColor(COLORREF cr) { m_crSelBk = cr; return TRUE; }
BOOL TWKListBaseC::SetDisabledTextColor(COLORREF cr) { m_crGrayText = cr; return TRUE; }
BOOL TWKListBaseC::SetLabelBkColor(COLORREF cr) { m_crLabelBk = cr; return TRUE; }
BOOL TWKListBaseC::SetFocusLabelBkColor(COLORREF cr) { m_crFocusLabelBk = cr; return TRUE; }
BOOL TWKListBaseC::SetToolTipBkColor(COLORREF cr) { m_crTipBk = cr; return TRUE; }
BOOL TWKListBaseC::SetToolTipTextColor(COLORREF cr) { m_crTipText = cr; return TRUE; }
void TWKListBaseC::SetAutoSysColors(BOOL bAuto) { m_bAutoSysColors = bAuto; }
BOOL TWKListBaseC::GetAutoSysColors() { return m_bAutoSysColors; }

// ---- Fonts, owner

CFont* TWKListBaseC::GetHeaderFont()
{
    return m_pHeaderFont ? m_pHeaderFont : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
}
CFont* TWKListBaseC::GetItemFont()
{
    return m_pItemFont ? m_pItemFont : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
}
void TWKListBaseC::SetItemFont(CFont* pFont)
{
    m_pItemFont = pFont;
    if (m_hWnd)
        RemeasureItems();
}
void TWKListBaseC::SetHeaderFont(CFont* pFont)
{
    m_pHeaderFont = pFont;
    if (m_hWnd)
        Invalidate(FALSE);
}
CWnd* TWKListBaseC::GetNotifyWnd() { return m_pNotifyWnd; }
void TWKListBaseC::SetNotifyWnd(CWnd* pWnd) { m_pNotifyWnd = pWnd; }
CWnd* TWKListBaseC::GetNotifyTarget() { return m_pNotifyWnd ? m_pNotifyWnd : (m_hWnd ? GetParent() : NULL); }
void TWKListBaseC::SetAutoUpdate(BOOL bAuto) { m_bAutoUpdate = bAuto; }
BOOL TWKListBaseC::GetAutoUpdate() { return m_bAutoUpdate; }

// ---- Image lists

CImageList* TWKListBaseC::GetImageList(int nWhich)
{
    return (nWhich >= 0 && nWhich <= 3) ? m_pImageLists[nWhich] : NULL;
}

CImageList* TWKListBaseC::SetImageList(CImageList* pList, int nWhich)
{
    if (nWhich < 0 || nWhich > 3)
        return NULL;
    CImageList* pOld = m_pImageLists[nWhich];
    if (m_dwListStyle & LVS_SHAREIMAGELISTS)
        m_pImageLists[nWhich] = pList;
    else
    {
        m_pImageLists[nWhich] = NULL;
        CopyImageList(pList, &m_pImageLists[nWhich]);
    }
    if (m_hWnd)
        RemeasureItems();
    return pOld;
}

BOOL TWKListBaseC::CopyImageList(CImageList* pSource, CImageList** ppCopy)
{
    *ppCopy = NULL;
    if (pSource == NULL || pSource->GetSafeHandle() == NULL)
        return FALSE;
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        if (!pSource->Write(&ar))
            return FALSE;
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, 4096);
    CImageList* pCopy = new CImageList;
    if (!pCopy->Read(&ar))
    {
        delete pCopy;
        return FALSE;
    }
    *ppCopy = pCopy;
    return TRUE;
}

// ---- Styles

BOOL TWKListBaseC::HasListStyle(DWORD dwBits) { return (m_dwListStyle & dwBits) == dwBits; }
BOOL TWKListBaseC::HasListStyleEx(DWORD dwBits) { return (m_dwListStyleEx & dwBits) == dwBits; }
DWORD TWKListBaseC::GetListStyle() { return m_dwListStyle; }
DWORD TWKListBaseC::GetListStyleEx() { return m_dwListStyleEx; }

void TWKListBaseC::GetListStyles(DWORD* pdwStyle, DWORD* pdwExStyle)
{
    if (pdwStyle)
        *pdwStyle = m_dwListStyle;
    if (pdwExStyle)
        *pdwExStyle = m_dwListStyleEx;
}

void TWKListBaseC::SetListStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw)
{
    SetListStyle(dwStyle, FALSE);
    SetListStyleEx(dwExStyle, bRedraw);
}

void TWKListBaseC::SetListStyle(DWORD dwStyle, BOOL bRedraw)
{
    EndLabelEdit(TRUE);
    CancelEditTimer();
    m_pTip->Hide();
    if ((dwStyle ^ m_dwListStyle) & LVS_NOLABELWRAP)
    {
        for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        {
            TWKListItem* pItem = (TWKListItem*)m_rows[i];
            pItem->m_bNeedsMeasure = TRUE;
            pItem->m_nHeight = -1;
        }
    }
    m_dwListStyle = dwStyle;
    if (bRedraw && m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
}

void TWKListBaseC::SetListStyleEx(DWORD dwExStyle, BOOL bRedraw)
{
    EndLabelEdit(TRUE);
    m_pTip->Hide();
    if ((dwExStyle & TWKLVS_EX_FITLABELCOLUMN) && !(m_dwListStyleEx & TWKLVS_EX_FITLABELCOLUMN) && m_hWnd)
        FitLabelColumn();
    m_dwListStyleEx = dwExStyle;
    if (bRedraw && m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
}

void TWKListBaseC::ModifyListStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    SetListStyle((m_dwListStyle & ~dwRemove) | dwAdd, bRedraw);
}

void TWKListBaseC::ModifyListStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    SetListStyleEx((m_dwListStyleEx & ~dwRemove) | dwAdd, bRedraw);
}

void TWKListBaseC::ModifyListStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx, BOOL bRedraw)
{
    SetListStyles((m_dwListStyle & ~dwRemove) | dwAdd, (m_dwListStyleEx & ~dwRemoveEx) | dwAddEx, bRedraw);
}

void TWKListBaseC::EnableLabelWrap(BOOL bEnable)
{
    ModifyListStyle(bEnable ? LVS_NOLABELWRAP : 0, bEnable ? 0 : LVS_NOLABELWRAP, TRUE);
}

void TWKListBaseC::EnableLabelTips(BOOL bEnable)
{
    ModifyListStyleEx(bEnable ? 0 : TWKLVS_EX_LABELTIPS, bEnable ? TWKLVS_EX_LABELTIPS : 0, TRUE);
}

BOOL TWKListBaseC::IsLabelTipsEnabled() { return (m_dwListStyleEx & TWKLVS_EX_LABELTIPS) != 0; }

void TWKListBaseC::EnableMultiSelect(BOOL bEnable)
{
    if (!bEnable && m_selection.GetSize() > 1)
        DeselectAllExcept(-1);
    ModifyListStyle(bEnable ? LVS_SINGLESEL : 0, bEnable ? 0 : LVS_SINGLESEL, TRUE);
}

BOOL TWKListBaseC::IsMultiSelect() { return !(m_dwListStyle & LVS_SINGLESEL); }
BOOL TWKListBaseC::IsHeaderVisible() { return !(m_dwListStyle & LVS_NOCOLUMNHEADER); }

void TWKListBaseC::ShowHeader(BOOL bShow, BOOL bButtons)
{
    DWORD dwRemove = 0, dwAdd = 0;
    if (bShow)
    {
        dwRemove |= LVS_NOCOLUMNHEADER;
        if (bButtons)
            dwRemove |= LVS_NOSORTHEADER;
    }
    else
        dwAdd = LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER;
    ModifyListStyle(dwRemove, dwAdd, TRUE);
}

// ---- Columns

TWKListColumn* TWKListBaseC::GetColumnPtr(int nColumn)
{
    return (nColumn >= 0 && nColumn < m_columns.GetSize()) ? (TWKListColumn*)m_columns[nColumn] : NULL;
}

int TWKListBaseC::GetColumnCount() { return (int)m_columns.GetSize(); }
int TWKListBaseC::GetSubItemCount() { return m_nSubItemCount; }

BOOL TWKListBaseC::AddColumn(const LVCOLUMNA* pColumn) { return InsertColumn(GetColumnCount(), pColumn, TRUE); }
BOOL TWKListBaseC::AddColumn(LPCSTR lpszCaption, int nFormat, int nWidth, int nSubItem, int nImage)
{
    return InsertColumn(GetColumnCount(), lpszCaption, nFormat, nWidth, nSubItem, nImage, TRUE);
}
BOOL TWKListBaseC::AddColumn(TWKListColumn* pColumn) { return InsertColumn(GetColumnCount(), pColumn, TRUE); }

BOOL TWKListBaseC::InsertColumn(int nColumn, const LVCOLUMNA* pColumn, BOOL bRedraw)
{
    TWKListColumn* pRec = new TWKListColumn;
    if (pColumn->mask & LVCF_TEXT)
        pRec->strText = pColumn->pszText ? pColumn->pszText : "";
    pRec->fmt = (pColumn->mask & LVCF_FMT) ? pColumn->fmt : 0;
    pRec->cx = (pColumn->mask & LVCF_WIDTH) ? pColumn->cx : -1;
    pRec->iSubItem = (pColumn->mask & LVCF_SUBITEM) ? pColumn->iSubItem : -1;
    pRec->iImage = (pColumn->mask & LVCF_IMAGE) ? pColumn->iImage : -1;
    return InsertColumn(nColumn, pRec, bRedraw);
}

BOOL TWKListBaseC::InsertColumn(int nColumn, LPCSTR lpszCaption, int nFormat, int nWidth, int nSubItem,
                                int nImage, BOOL bRedraw)
{
    TWKListColumn* pRec = new TWKListColumn;
    pRec->strText = lpszCaption ? lpszCaption : "";
    pRec->fmt = nFormat;
    pRec->cx = nWidth;
    pRec->iSubItem = nSubItem;
    pRec->iImage = nImage;
    return InsertColumn(nColumn, pRec, bRedraw);
}

BOOL TWKListBaseC::InsertColumn(int nColumn, TWKListColumn* pColumn, BOOL bRedraw)
{
    EndLabelEdit(TRUE);
    m_pTip->Hide();
    int nCount = GetColumnCount();
    if (nColumn < 0)
        nColumn = 0;
    if (nColumn > nCount)
        nColumn = nCount;
    if (nColumn == 0)
    {
        pColumn->fmt = 0;
        pColumn->iSubItem = 0;
    }
    m_columns.InsertAt(nColumn, pColumn);
    BOOL bNewCell = pColumn->iSubItem == -1 || pColumn->iSubItem > m_nSubItemCount;
    if (bNewCell && nColumn >= 1 && nColumn < nCount)
    {
        // In mid-list the columns keep showing the sub-item equal to their
        // position: one new cell per row at the insert position.
        pColumn->iSubItem = nColumn;
        for (int c = nColumn + 1; c <= nCount; ++c)
            ((TWKListColumn*)m_columns[c])->iSubItem++;
        for (INT_PTR r = 0; r < m_rows.GetSize(); ++r)
        {
            TWKListItem* pItem = (TWKListItem*)m_rows[r];
            if (pItem->m_subItems.GetSize() >= nColumn - 1)
                pItem->m_subItems.InsertAt(nColumn - 1, new TWKListSubItem);
            else
                pItem->AddSubItem();
            pItem->m_bNeedsMeasure = TRUE;
        }
        if (pColumn->cx == -1)
            pColumn->cx = 10;
        m_nSubItemCount++;
    }
    else
    {
        if (bNewCell)
        {
            pColumn->iSubItem = m_nSubItemCount + 1;
            for (INT_PTR r = 0; r < m_rows.GetSize(); ++r)
                ((TWKListItem*)m_rows[r])->AddSubItem();
            if (pColumn->cx == -1)
                pColumn->cx = 10;
            m_nSubItemCount++;
        }
        BOOL bShifted = FALSE;
        for (int c = nColumn + 1; c < GetColumnCount(); ++c)
        {
            ((TWKListColumn*)m_columns[c])->iSubItem++;
            bShifted = TRUE;
        }
        if (bShifted)
        {
            for (INT_PTR r = 0; r < m_rows.GetSize(); ++r)
            {
                TWKListItem* pItem = (TWKListItem*)m_rows[r];
                int nAt = nColumn < (int)pItem->m_subItems.GetSize() ? nColumn : (int)pItem->m_subItems.GetSize();
                pItem->m_subItems.InsertAt(nAt, new TWKListSubItem);
            }
        }
    }
    if (pColumn->cx < 0)
        pColumn->cx = 10;
    if (bRedraw && m_bAutoUpdate && m_hWnd)
    {
        if (m_dwListStyleEx & TWKLVS_EX_FITLABELCOLUMN)
            FitLabelColumn();
        RemeasureItems();
        Invalidate(TRUE);
    }
    return TRUE;
}

BOOL TWKListBaseC::DeleteColumn(LPCSTR lpszCaption)
{
    int nColumn, nSubItem;
    if (!LookupColumn(lpszCaption, &nColumn, &nSubItem))
        return FALSE;
    return DeleteColumn(nColumn);
}

BOOL TWKListBaseC::DeleteColumn(int nColumn)
{
    EndLabelEdit(TRUE);
    m_pTip->Hide();
    TWKListColumn* pColumn = GetColumnPtr(nColumn);
    if (pColumn == NULL)
        return FALSE;
    int n = pColumn->iSubItem;
    if (n > 0)
    {
        for (INT_PTR r = 0; r < m_rows.GetSize(); ++r)
        {
            TWKListItem* pItem = (TWKListItem*)m_rows[r];
            if (n <= pItem->m_subItems.GetSize())
            {
                delete (TWKListSubItem*)pItem->m_subItems[n - 1];
                pItem->m_subItems.RemoveAt(n - 1);
            }
            pItem->m_bNeedsMeasure = TRUE;
        }
    }
    if (!(m_dwListStyleEx & TWKLVS_EX_KEEPLABELWIDTH))
    {
        for (int c = 0; c < GetColumnCount(); ++c)
        {
            TWKListColumn* p = GetColumnPtr(c);
            if (c != nColumn && p->iSubItem == 0)
            {
                p->cx += pColumn->cx;
                break;
            }
        }
    }
    if (m_nSubItemCount > 0)
        m_nSubItemCount--;
    delete pColumn;
    m_columns.RemoveAt(nColumn);
    for (int c = 0; c < GetColumnCount(); ++c)
    {
        TWKListColumn* p = GetColumnPtr(c);
        if (p->iSubItem > n)
            p->iSubItem--;
    }
    return TRUE;
}

void TWKListBaseC::DeleteAllColumns()
{
    for (INT_PTR c = m_columns.GetSize() - 1; c >= 0; --c)
        delete (TWKListColumn*)m_columns[c];
    m_columns.RemoveAll();
    if (m_hWnd)
        RecalcLayout();
}

BOOL TWKListBaseC::MoveColumn(int nFrom, int nTo, BOOL bRedraw)
{
    int nCount = GetColumnCount();
    if (nFrom <= 0 || nTo <= 0 || nFrom >= nCount)
        return FALSE;
    BOOL bClamped = FALSE;
    if (nTo >= nCount)
    {
        nTo = nCount - 1;
        bClamped = TRUE;
    }
    void* p = m_columns[nFrom];
    m_columns.RemoveAt(nFrom);
    int nAt = (nTo > nFrom && !bClamped) ? nTo - 1 : nTo;
    m_columns.InsertAt(nAt, p);
    for (int c = 1; c < nCount; ++c)
        ((TWKListColumn*)m_columns[c])->iSubItem = c;
    OnColumnMoved(nFrom, nAt);
    if (bRedraw && m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
    return TRUE;
}

void TWKListBaseC::OnColumnMoved(int, int) {}

BOOL TWKListBaseC::GetColumn(int nColumn, LVCOLUMNA* pColumn)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    if (p == NULL || pColumn == NULL)
        return FALSE;
    if (pColumn->mask & LVCF_FMT)
        pColumn->fmt = p->fmt;
    if (pColumn->mask & LVCF_WIDTH)
        pColumn->cx = p->cx;
    if (pColumn->mask & LVCF_SUBITEM)
        pColumn->iSubItem = p->iSubItem;
    if (pColumn->mask & LVCF_IMAGE)
        pColumn->iImage = p->iImage;
    if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText && pColumn->cchTextMax > 0)
        TWKCopyTextCut(pColumn->pszText, pColumn->cchTextMax, p->strText);
    return TRUE;
}

BOOL TWKListBaseC::SetColumn(int nColumn, const LVCOLUMNA* pColumn, BOOL bRedraw)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    if (p == NULL || pColumn == NULL)
        return FALSE;
    if (pColumn->mask & LVCF_TEXT)
        p->strText = pColumn->pszText ? pColumn->pszText : "";
    if (pColumn->mask & LVCF_FMT)
        p->fmt = pColumn->fmt;
    if (pColumn->mask & LVCF_SUBITEM)
        p->iSubItem = pColumn->iSubItem;
    if (pColumn->mask & LVCF_WIDTH)
        p->cx = pColumn->cx;
    if (bRedraw && m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
    return TRUE;
}

int TWKListBaseC::GetColumnLeft(int nColumn)
{
    int x = -m_nHorzOffset;
    for (int c = 0; c < nColumn && c < GetColumnCount(); ++c)
        x += GetColumnPtr(c)->cx;
    return x;
}

int TWKListBaseC::GetColumnRight(int nColumn)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    return GetColumnLeft(nColumn) + (p ? p->cx : 0);
}

BOOL TWKListBaseC::SetColumnWidth(int nColumn, int nWidth)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    if (p == NULL)
        return FALSE;
    p->cx = nWidth;
    if (m_hWnd)
    {
        RemeasureItems();
        Invalidate(TRUE);
    }
    return TRUE;
}

int TWKListBaseC::GetColumnWidth(int nColumn)
{
    if (GetColumnCount() == 0)
    {
        CRect rc;
        GetInsideRect(&rc);
        return rc.Width();
    }
    TWKListColumn* p = GetColumnPtr(nColumn);
    return p ? p->cx : 0;
}

BOOL TWKListBaseC::SetColumnFormat(int nColumn, int nFormat)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    if (p == NULL)
        return FALSE;
    p->fmt = nFormat;
    if (m_hWnd)
        Invalidate(TRUE);
    return TRUE;
}

int TWKListBaseC::GetColumnFormat(int nColumn)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    return p ? p->fmt : 0;
}

BOOL TWKListBaseC::SetColumnText(int nColumn, LPCSTR lpszText)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    if (p == NULL)
        return FALSE;
    p->strText = lpszText ? lpszText : "";
    if (m_hWnd)
        Invalidate(FALSE);
    return TRUE;
}

CString TWKListBaseC::GetColumnText(int nColumn)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    return p ? p->strText : CString();
}

BOOL TWKListBaseC::LookupColumn(LPCSTR lpszCaption, int* pnColumn, int* pnSubItem)
{
    for (int c = 0; c < GetColumnCount(); ++c)
    {
        TWKListColumn* p = GetColumnPtr(c);
        if (lpszCaption && p->strText == lpszCaption)
        {
            if (pnColumn)
                *pnColumn = c;
            if (pnSubItem)
                *pnSubItem = p->iSubItem;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL TWKListBaseC::HasColumn(LPCSTR lpszCaption) { return LookupColumn(lpszCaption, NULL, NULL); }

int TWKListBaseC::GetColumnSubItem(int nColumn)
{
    TWKListColumn* p = GetColumnPtr(nColumn);
    return p ? p->iSubItem : -1;
}

// ---- Rows

int TWKListBaseC::GetItemCount() { return (int)m_rows.GetSize(); }

int TWKListBaseC::FindItemPtr(TWKListItem* pItem) const
{
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        if (m_rows[i] == pItem)
            return (int)i;
    return -1;
}

LPARAM TWKListBaseC::GetItemParam(TWKListItem* pItem) { return pItem ? pItem->m_lParam : 0; }

void TWKListBaseC::InitSubItems(TWKListItem* pItem)
{
    for (int i = 0; i < m_nSubItemCount; ++i)
        pItem->AddSubItem();
}

void TWKListBaseC::FreeSubItems(TWKListItem* pItem)
{
    for (INT_PTR i = 0; i < pItem->m_subItems.GetSize(); ++i)
        delete (TWKListSubItem*)pItem->m_subItems[i];
    pItem->m_subItems.RemoveAll();
}

int TWKListBaseC::InitItem(TWKListItem* pItem)
{
    InitSubItems(pItem);
    return 0;
}

TWKListItem* TWKListBaseC::CreateItem()
{
    TWKListItem* pItem = new TWKListItem;
    InitItem(pItem);
    return pItem;
}

int TWKListBaseC::InsertItemPtr(int nRow, TWKListItem* pItem)
{
    int nCount = GetItemCount();
    if (nRow < 0 || nRow > nCount)
        nRow = nCount;
    m_rows.InsertAt(nRow, pItem);
    if (m_nFocusRow >= nRow)
        m_nFocusRow++;
    if (m_nDropRow >= nRow)
        m_nDropRow++;
    if (m_nAnchorRow >= nRow)
        m_nAnchorRow++;
    BOOL bFound;
    for (INT_PTR i = FindSelection(nRow, &bFound); i < m_selection.GetSize(); ++i)
        m_selection[i]++;
    if (m_nFocusRow == -1)
        SetFocusItem(0, TRUE);
    int nColumns = GetColumnCount();
    if (nColumns >= 2 && pItem->m_subItems.GetSize() < nColumns - 1)
    {
        for (int i = 0; i < nColumns - 1; ++i)
            pItem->AddSubItem();
    }
    return nRow;
}

int TWKListBaseC::InsertItem(LVITEMA* pItem)
{
    TWKListItem* pRow = CreateItem();
    int nRow = InsertItemPtr(pItem->iItem, pRow);
    LVITEMA item = *pItem;
    item.iItem = nRow;
    item.iSubItem = 0;
    SetItem(&item, m_bAutoUpdate);
    if (m_bAutoUpdate && m_hWnd)
        RecalcLayout();
    return pItem->iItem;
}

int TWKListBaseC::InsertItem(UINT nMask, int nRow, LPCSTR lpszText, UINT nState, UINT nStateMask, int nImage,
                             LPARAM lParam)
{
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = nMask;
    item.iItem = nRow;
    item.pszText = (LPSTR)lpszText;
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

int TWKListBaseC::InsertItem(int nRow, LPCSTR lpszText, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nRow, lpszText, 0, 0, nImage, 0);
}

int TWKListBaseC::InsertItem(int nRow, LPCSTR lpszText)
{
    return InsertItem(LVIF_TEXT, nRow, lpszText, 0, 0, 0, 0);
}

int TWKListBaseC::InsertItemAfter(TWKListItem* pAfter, LVITEMA* pItem)
{
    if (pAfter == NULL)
        pItem->iItem = 0;
    else
    {
        int n = FindItemPtr(pAfter);
        if (n >= 0)
            pItem->iItem = n + 1;
    }
    return InsertItem(pItem);
}

int TWKListBaseC::InsertItemBefore(TWKListItem* pBefore, LVITEMA* pItem)
{
    // At the given row's own index: the new row comes right in front of it.
    if (pBefore == NULL)
        pItem->iItem = 0;
    else
    {
        int n = FindItemPtr(pBefore);
        if (n >= 0)
            pItem->iItem = n;
    }
    return InsertItem(pItem);
}

BOOL TWKListBaseC::SetItem(LVITEMA* pItem, BOOL bRedraw)
{
    TWKListItem* pRow = GetItemPtr(pItem->iItem);
    if (pRow == NULL)
        return FALSE;
    UINT nOwnerMask = 0;
    BOOL bChanged = FALSE, bDropChanged = FALSE;
    if (pItem->mask & LVIF_TEXT)
    {
        TWKListSubItem* pSub = pItem->iSubItem > 0 ? pRow->GetSubItem(pItem->iSubItem) : NULL;
        if (pItem->iSubItem == 0 || pSub)
        {
            LPSTR& rText = pItem->iSubItem == 0 ? pRow->m_pszText : pSub->m_pszText;
            if (pItem->pszText == LPSTR_TEXTCALLBACK)
            {
                if (rText != LPSTR_TEXTCALLBACK)
                {
                    FreeText(rText);
                    rText = LPSTR_TEXTCALLBACK;
                }
            }
            else if (rText == LPSTR_TEXTCALLBACK && !(pItem->mask & LVIF_DI_SETITEM))
                nOwnerMask |= LVIF_TEXT;
            else
            {
                FreeText(rText);
                rText = CopyText(pItem->pszText);
            }
            pRow->m_bNeedsMeasure = TRUE;
            bChanged = TRUE;
        }
    }
    if (pItem->mask & LVIF_IMAGE)
    {
        if (pRow->m_nImage == I_IMAGECALLBACK && !(pItem->mask & LVIF_DI_SETITEM))
            nOwnerMask |= LVIF_IMAGE;
        else
            pRow->m_nImage = pItem->iImage;
    }
    if (pItem->mask & LVIF_STATE)
    {
        UINT nMask = pItem->stateMask;
        int nRow = pItem->iItem;
        if (nMask & LVIS_SELECTED)
            bChanged |= (pItem->state & LVIS_SELECTED) ? AddSelection(nRow) : RemoveSelection(nRow);
        if (nMask & LVIS_FOCUSED)
        {
            if (pItem->state & LVIS_FOCUSED)
            {
                bChanged |= m_nFocusRow != nRow;
                m_nFocusRow = nRow;
            }
            else if (m_nFocusRow == nRow)
            {
                m_nFocusRow = -1;
                bChanged = TRUE;
            }
        }
        if (nMask & LVIS_DROPHILITED)
        {
            if (pItem->state & LVIS_DROPHILITED)
            {
                bDropChanged = m_nDropRow != nRow;
                m_nDropRow = nRow;
            }
            else if (m_nDropRow == nRow)
            {
                m_nDropRow = -1;
                bDropChanged = TRUE;
            }
        }
        UINT nOwn = nMask & ~(LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED);
        UINT nNew = (pRow->m_nState & ~nOwn) | (pItem->state & nOwn);
        bChanged |= nNew != pRow->m_nState;
        pRow->m_nState = nNew;
        bChanged |= bDropChanged;
    }
    if (pItem->mask & LVIF_PARAM)
        pRow->m_lParam = pItem->lParam;
    if (nOwnerMask)
    {
        LVITEMA item = *pItem;
        item.mask = nOwnerMask;
        NotifySetDispInfo(&item);
    }
    if (!(pItem->mask & (LVIF_TEXT | LVIF_STATE)))
        return TRUE;
    if (bRedraw && bChanged && pItem->iItem != m_nEditRow && m_hWnd)
        InvalidateItem(pItem->iItem, FALSE, FALSE, FALSE, bDropChanged);
    return TRUE;
}

BOOL TWKListBaseC::SetItem(int nRow, int nSubItem, UINT nMask, LPCSTR lpszText, int nImage, UINT nState,
                           UINT nStateMask, LPARAM lParam)
{
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = nMask;
    item.iItem = nRow;
    item.iSubItem = nSubItem;
    item.pszText = (LPSTR)lpszText;
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item, TRUE);
}

BOOL TWKListBaseC::GetItem(LVITEMA* pItem, BOOL bCopyText, BOOL bNotify)
{
    TWKListItem* pRow = GetItemPtr(pItem->iItem);
    if (pRow == NULL)
        return FALSE;
    UINT nNeeded = 0;
    if (pItem->mask & LVIF_TEXT)
    {
        LPSTR pszText = NULL;
        if (pItem->iSubItem == 0)
            pszText = pRow->m_pszText;
        else
        {
            TWKListSubItem* pSub = pRow->GetSubItem(pItem->iSubItem);
            pszText = pSub ? pSub->m_pszText : NULL;
        }
        if (pszText == LPSTR_TEXTCALLBACK)
        {
            nNeeded |= LVIF_TEXT;
            if (!bNotify)
                pItem->pszText = LPSTR_TEXTCALLBACK;
            else if (pItem->pszText && pItem->pszText != LPSTR_TEXTCALLBACK && pItem->cchTextMax > 0)
                pItem->pszText[0] = 0;
        }
        else if (bCopyText)
        {
            if (pItem->pszText && pItem->pszText != LPSTR_TEXTCALLBACK && pItem->cchTextMax > 0)
                TWKCopyTextCut(pItem->pszText, pItem->cchTextMax, pszText ? pszText : "");
        }
        else
            pItem->pszText = pszText;
    }
    if (pItem->mask & LVIF_IMAGE)
    {
        pItem->iImage = pRow->m_nImage;
        if (pRow->m_nImage == I_IMAGECALLBACK)
            nNeeded |= LVIF_IMAGE;
    }
    if (pItem->mask & LVIF_STATE)
    {
        if (m_bStateCallback)
            nNeeded |= LVIF_STATE;
        else
        {
            UINT nState = pRow->m_nState;
            if (IsSelected(pItem->iItem))
                nState |= LVIS_SELECTED;
            if (m_nFocusRow == pItem->iItem)
                nState |= LVIS_FOCUSED;
            if (m_nDropRow == pItem->iItem)
                nState |= LVIS_DROPHILITED;
            pItem->state = nState & pItem->stateMask;
        }
    }
    if ((pItem->mask & LVIF_PARAM) || nNeeded)
        pItem->lParam = GetItemParam(pRow);
    if (bNotify && nNeeded)
    {
        UINT nMask = pItem->mask;
        pItem->mask = nNeeded;
        NotifyGetDispInfo(pItem);
        // The owner may add LVIF_DI_SETITEM; the caller looks at it.
        pItem->mask |= nMask & ~nNeeded;
    }
    return TRUE;
}

BOOL TWKListBaseC::SetItemExState(LVITEMA* pItem, TWKListExState* pExState)
{
    TWKListItem* pRow = GetItemPtr(pItem->iItem);
    if (pRow == NULL || pExState == NULL)
        return FALSE;
    UINT nNew = (pRow->m_nExState & ~pExState->stateMask) | (pExState->state & pExState->stateMask);
    if (nNew != pRow->m_nExState)
    {
        pRow->m_nExState = nNew;
        if (m_hWnd)
        {
            InvalidateItem(pItem->iItem, !(m_dwListStyleEx & TWKLVS_EX_FULLROWSELECT), FALSE, FALSE, FALSE);
            pRow->m_bNeedsMeasure = TRUE;
            UpdateItemMetrics(pItem->iItem);
            if (pItem->iItem != m_nEditRow)
                InvalidateItem(pItem->iItem, TRUE, FALSE, FALSE, FALSE);
        }
    }
    return TRUE;
}

BOOL TWKListBaseC::GetItemExState(LVITEMA* pItem, TWKListExState* pExState, BOOL bNotify)
{
    TWKListItem* pRow = GetItemPtr(pItem->iItem);
    if (pRow == NULL || pExState == NULL)
        return FALSE;
    if (m_bExStateCallback)
    {
        if (bNotify)
            NotifyGetExDispInfo(pExState);
    }
    else if (pExState->mask & 1)
        pExState->state = pRow->m_nExState & pExState->stateMask;
    return TRUE;
}

// Sets the cell's own text: a cell that the owner supplied so far keeps it
// from now on (SetItem with a bare LVIF_TEXT hands such a text to the owner).
BOOL TWKListBaseC::SetItemText(int nRow, int nSubItem, LPCSTR lpszText)
{
    return SetItem(nRow, nSubItem, LVIF_TEXT | LVIF_DI_SETITEM, lpszText, 0, 0, 0, 0);
}

int TWKListBaseC::GetItemText(int nRow, int nSubItem, LPSTR lpszText, int nLen)
{
    if (lpszText == NULL || nLen <= 0)
        return 0;
    lpszText[0] = 0;
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = LVIF_TEXT;
    item.iItem = nRow;
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    if (!GetItem(&item, TRUE, TRUE))
        return 0;
    if (item.pszText == NULL || item.pszText == LPSTR_TEXTCALLBACK)
        return 0;
    if (item.pszText != lpszText)
        TWKCopyTextCut(lpszText, nLen, item.pszText);   // the owner pointed at its own text
    else
        lpszText[nLen - 1] = 0;
    return (int)strlen(lpszText);
}

BOOL TWKListBaseC::SetItemState(int nRow, UINT nState, UINT nMask)
{
    return SetItem(nRow, 0, LVIF_STATE, NULL, 0, nState, nMask, 0);
}

UINT TWKListBaseC::GetItemState(int nRow, UINT nMask)
{
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = LVIF_STATE;
    item.iItem = nRow;
    item.stateMask = nMask;
    return GetItem(&item, FALSE, TRUE) ? (item.state & nMask) : 0;
}

BOOL TWKListBaseC::SetItemData(int nRow, DWORD_PTR dwData)
{
    return SetItem(nRow, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

DWORD_PTR TWKListBaseC::GetItemData(int nRow)
{
    TWKListItem* pRow = GetItemPtr(nRow);
    return pRow ? (DWORD_PTR)GetItemParam(pRow) : 0;
}

BOOL TWKListBaseC::SetItemHeight(int nRow, int nHeight)
{
    TWKListItem* pRow = GetItemPtr(nRow);
    if (pRow == NULL)
        return FALSE;
    pRow->m_nHeight = nHeight;
    pRow->m_bNeedsMeasure = FALSE;
    return TRUE;
}

BOOL TWKListBaseC::GetCallbackMask() { return m_bStateCallback; }
void TWKListBaseC::SetCallbackMask(BOOL bFlag) { m_bStateCallback = bFlag; }
BOOL TWKListBaseC::GetExCallbackMask() { return m_bExStateCallback; }
void TWKListBaseC::SetExCallbackMask(BOOL bFlag) { m_bExStateCallback = bFlag; }

BOOL TWKListBaseC::ItemHasCallbacks(int nRow)
{
    TWKListItem* pRow = GetItemPtr(nRow);
    if (pRow == NULL || GetColumnCount() == 0)
        return FALSE;
    if (pRow->m_pszText == LPSTR_TEXTCALLBACK || pRow->m_nImage == I_IMAGECALLBACK || m_bStateCallback ||
        m_bExStateCallback)
        return TRUE;
    for (int c = 0; c < GetColumnCount(); ++c)
    {
        TWKListSubItem* pSub = pRow->GetSubItem(GetColumnPtr(c)->iSubItem);
        if (pSub && pSub->m_pszText == LPSTR_TEXTCALLBACK)
            return TRUE;
    }
    return FALSE;
}

BOOL TWKListBaseC::DeleteItemPtr(TWKListItem* pItem)
{
    int n = FindItemPtr(pItem);
    return n >= 0 ? DeleteItem(n, 1) : FALSE;
}

BOOL TWKListBaseC::DeleteItem(int nRow, int nCount)
{
    int nTotal = GetItemCount();
    if (nRow < 0 || nRow >= nTotal || nCount <= 0)
        return FALSE;
    if (nCount > nTotal - nRow)
        nCount = nTotal - nRow;
    if (m_hWnd)
        InvalidateItem(nRow > 0 ? nRow - 1 : 0, FALSE, TRUE, TRUE, FALSE);
    NotifyDeleteItem(nRow);
    int nEnd = nRow + nCount;
    for (int i = nRow; i < nEnd; ++i)
        delete (TWKListItem*)m_rows[i];
    m_rows.RemoveAt(nRow, nCount);
    int nNewCount = nTotal - nCount;
    if (m_nTopIndex > nNewCount)
        m_nTopIndex = nNewCount;
    auto moveRow = [&](int& rRow) {
        if (rRow >= nEnd)
            rRow -= nCount;
        else if (rRow >= nRow)
            rRow = nRow - 1;
    };
    moveRow(m_nFocusRow);
    if (m_nFocusRow >= nNewCount)
        m_nFocusRow = nNewCount - 1;
    moveRow(m_nDropRow);
    moveRow(m_nAnchorRow);
    if (m_nEditRow >= nRow)
        m_nEditRow = m_nEditRow >= nEnd ? m_nEditRow - nCount : -1;
    BOOL bFound;
    int nFirst = FindSelection(nRow, &bFound);
    int nLast = FindSelection(nEnd, &bFound);
    if (nLast > nFirst)
        m_selection.RemoveAt(nFirst, nLast - nFirst);
    for (INT_PTR i = nFirst; i < m_selection.GetSize(); ++i)
        m_selection[i] -= nCount;
    if (m_selection.GetSize() == 0)
        SetFocusItem(m_nFocusRow, TRUE);
    if (m_hWnd)
        RecalcLayout();
    return TRUE;
}

BOOL TWKListBaseC::DeleteAllItems()
{
    if (m_hWnd)
        CancelEditTimer();
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        delete (TWKListItem*)m_rows[i];
    m_rows.RemoveAll();
    m_selection.RemoveAll();
    m_nTopIndex = 0;
    m_nFocusRow = -1;
    m_nAnchorRow = -1;
    m_nDropRow = -1;
    m_nEditRow = -1;
    if (m_hWnd)
    {
        RecalcLayout();
        Invalidate(TRUE);
    }
    return TRUE;
}

// ---- Selection

int TWKListBaseC::FindSelection(int nRow, BOOL* pbFound) const
{
    INT_PTR nSize = m_selection.GetSize();
    INT_PTR lo = 0, hi = nSize;
    if (nSize < 7)
    {
        while (lo < nSize && (int)m_selection[lo] < nRow)
            ++lo;
    }
    else
    {
        while (lo < hi)
        {
            INT_PTR mid = (lo + hi) / 2;
            if ((int)m_selection[mid] < nRow)
                lo = mid + 1;
            else
                hi = mid;
        }
    }
    *pbFound = lo < nSize && (int)m_selection[lo] == nRow;
    return (int)lo;
}

BOOL TWKListBaseC::AddSelection(int nRow)
{
    BOOL bFound;
    int n = FindSelection(nRow, &bFound);
    if (bFound)
        return FALSE;
    m_selection.InsertAt(n, (DWORD)nRow);
    return TRUE;
}

BOOL TWKListBaseC::RemoveSelection(int nRow)
{
    BOOL bFound;
    int n = FindSelection(nRow, &bFound);
    if (!bFound)
        return FALSE;
    m_selection.RemoveAt(n);
    return TRUE;
}

BOOL TWKListBaseC::IsSelected(int nRow) const
{
    BOOL bFound;
    FindSelection(nRow, &bFound);
    return bFound;
}

BOOL TWKListBaseC::IsItemSelected(int nRow) { return nRow != -1 && IsSelected(nRow); }
int TWKListBaseC::GetSelectedCount() { return (int)m_selection.GetSize(); }
int TWKListBaseC::GetFocusItem() { return m_nFocusRow; }

BOOL TWKListBaseC::SelectItem(int nRow, BOOL bSelect)
{
    if (m_dwListStyle & LVS_SINGLESEL)
        DeselectAllExcept(nRow);
    return SetItemState(nRow, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TWKListBaseC::SelectRange(int nFrom, int nTo, BOOL bSelect)
{
    if (nFrom > nTo)
        std::swap(nFrom, nTo);
    for (int i = nFrom; i <= nTo; ++i)
        SelectItem(i, bSelect);
}

void TWKListBaseC::DeselectAllExcept(int nKeep)
{
    for (INT_PTR i = m_selection.GetSize() - 1; i >= 0; --i)
    {
        if (i >= m_selection.GetSize())
            continue;
        int nRow = (int)m_selection[i];
        if (nRow != nKeep)
            SetItemState(nRow, 0, LVIS_SELECTED);
    }
}

void TWKListBaseC::SetFocusItem(int nRow, BOOL bSelect)
{
    if (m_dwListStyle & LVS_SINGLESEL)
        DeselectAllExcept(nRow);
    if (m_nFocusRow >= 0 && m_nFocusRow != nRow)
        SetItemState(m_nFocusRow, 0, LVIS_FOCUSED);
    // bSelect sets or clears the row's selection: Space and Ctrl+click toggle through it.
    if (nRow >= 0)
        SetItemState(nRow, LVIS_FOCUSED | (bSelect ? LVIS_SELECTED : 0), LVIS_FOCUSED | LVIS_SELECTED);
    m_nAnchorRow = m_nFocusRow;
}

void TWKListBaseC::SetFocusItemOnly(int nRow)
{
    if (m_nFocusRow >= 0 && m_nFocusRow != nRow)
        SetItemState(m_nFocusRow, 0, LVIS_FOCUSED);
    if (nRow >= 0)
        SetItemState(nRow, LVIS_FOCUSED, LVIS_FOCUSED);
    m_nAnchorRow = m_nFocusRow;
}

int TWKListBaseC::GetNextItem(int nStart, UINT nFlags)
{
    int nCount = GetItemCount();
    BOOL bBackward = (nFlags & (LVNI_ABOVE | LVNI_TOLEFT)) != 0;
    UINT nFilter = nFlags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_DROPHILITED | LVNI_CUT);
    if (!bBackward && (nFlags & ~0xFu & ~(UINT)(LVNI_BELOW | LVNI_TORIGHT)))
        return -1;
    if (nFilter == 0)
    {
        if (bBackward)
            return nStart < 1 ? -1 : nStart - 1;
        return nStart + 1 < nCount ? nStart + 1 : -1;
    }
    if (nFilter == LVNI_SELECTED && !m_bStateCallback)
    {
        // Answered from the sorted selection.
        BOOL bFound;
        if (bBackward)
        {
            int n = FindSelection(nStart < 0 ? nCount : nStart, &bFound);
            return n > 0 ? (int)m_selection[n - 1] : -1;
        }
        int n = FindSelection(nStart < 0 ? 0 : nStart + 1, &bFound);
        return n < m_selection.GetSize() ? (int)m_selection[n] : -1;
    }
    UINT nStateMask = nFilter;   // LVNI_ and LVIS_ bits coincide for these four
    if (bBackward)
    {
        for (int i = (nStart < 0 ? nCount : nStart) - 1; i >= 0; --i)
            if (GetItemState(i, nStateMask) & nStateMask)
                return i;
        return -1;
    }
    for (int i = nStart < 0 ? 0 : nStart + 1; i < nCount; ++i)
        if (GetItemState(i, nStateMask) & nStateMask)
            return i;
    return -1;
}

BOOL TWKListBaseC::SetDropHighlight(int nRow)
{
    if (nRow < 0)
        return m_nDropRow >= 0 ? SetItemState(m_nDropRow, 0, LVIS_DROPHILITED) : TRUE;
    return SetItemState(nRow, LVIS_DROPHILITED, LVIS_DROPHILITED);
}

int TWKListBaseC::GetDropHighlight() { return m_nDropRow; }
