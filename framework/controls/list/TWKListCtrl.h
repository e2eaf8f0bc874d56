// The owner-drawn multi-column list: rows with a label, an image, state bits,
// an application value and one text per further column; a header of column
// buttons; its own scroll-bar controls; label editing and label tips. Talks to
// its owner in the list-view vocabulary (LVITEM, LVN_, NM_) but paints
// everything itself.
#pragma once
#include "afx/afx.h"
#include <commctrl.h>

class TWKListEdit;
class TWKListTip;
class TWKListItem;

// What the in-place edit and the label tip ask of the list.
class TWKListClient
{
public:
    virtual HWND GetListWindow() { return NULL; }
    virtual BOOL IsLabelWrapEnabled() { return FALSE; }
    virtual BOOL EndLabelEdit(BOOL /*bSave*/) { return FALSE; }
    virtual int GetColumnSubItem(int /*nColumn*/) { return -1; }
    virtual BOOL GetScrollOrigin(LPPOINT /*lpPoint*/) { return FALSE; }
    virtual void GetInsideRect(LPRECT /*lpRect*/) {}
    virtual BOOL GetSubItemRect(int /*nRow*/, int /*nColumn*/, LPRECT /*lpRect*/, int /*nCode*/) { return FALSE; }
    virtual CString GetItemString(int /*nRow*/, int /*nSubItem*/) { return CString(); }
    virtual void ClientToScreen(LPRECT /*lpRect*/) {}
    virtual CWnd* CaptureMouse(BOOL /*bCapture*/) { return NULL; }
    virtual BOOL IsItemSelected(int /*nRow*/) { return FALSE; }
    virtual COLORREF GetSelTextColor() { return 0; }
    virtual COLORREF GetSelBkColor() { return 0; }
    virtual COLORREF GetToolTipTextColor() { return 0; }
    virtual COLORREF GetToolTipBkColor() { return 0; }
    virtual CFont* GetItemFont() { return NULL; }
    virtual UINT GetClientItemState(int /*nRow*/, UINT /*nMask*/) { return 0; }
protected:
    virtual ~TWKListClient() {}
};

// One cell beyond column 0.
class TWKListSubItem
{
public:
    TWKListSubItem() : m_pszText(LPSTR_TEXTCALLBACK), m_nReserved(0) { m_rcText.SetRectEmpty(); }
    virtual ~TWKListSubItem();
    void SetText(LPCSTR lpszText);   // copies; the callback marker is kept as the marker

    LPSTR m_pszText;                 // heap copy, NULL or LPSTR_TEXTCALLBACK
    DWORD m_nReserved;
    CRect m_rcText;                  // measured text, relative to the cell
};

// One row.
class TWKListItem
{
public:
    TWKListItem();
    virtual ~TWKListItem();
    void SetText(LPCSTR lpszText);
    // The cell of sub-item n (n >= 1), NULL when the row has none.
    TWKListSubItem* GetSubItem(int nSubItem) const
        { return (nSubItem >= 1 && nSubItem <= m_subItems.GetSize()) ? (TWKListSubItem*)m_subItems[nSubItem - 1] : NULL; }
    void AddSubItem() { m_subItems.Add(new TWKListSubItem); }

    CPtrArray m_subItems;            // TWKListSubItem*, sub-item n at n-1
    LPSTR m_pszText;                 // heap copy, NULL or LPSTR_TEXTCALLBACK
    UINT m_nState;                   // LVIS_ bits other than focused, selected, drop-highlighted
    int m_nImage;
    LPARAM m_lParam;
    int m_nHeight;                   // -1: not measured yet
    UINT m_nExState;                 // the list's own state bits
    BOOL m_bNeedsMeasure;
    CRect m_rcLabel;                 // relative to the row's cell in column 0
    CRect m_rcIcon;
    CRect m_rcStateIcon;
};

// One column, shaped like LVCOLUMN with a string caption.
struct TWKListColumn
{
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    CString strText;
    int cchTextMax = 0;
    int iSubItem = 0;                // which cell of every row the column shows
    int iImage = -1;                 // header image, -1 for none
};

// Second-state record (SetItemExState / GetItemExState).
struct TWKListExState
{
    UINT mask;
    UINT state;
    UINT stateMask;
};

// Handed to every drawing and measuring step.
class TWKListPaintContext
{
public:
    explicit TWKListPaintContext(CDC* pDC);
    virtual ~TWKListPaintContext() {}

    LVITEMA m_item;
    TWKListExState m_exState;
    CDC* m_pDC;
    CRect m_rcCell;
    int m_nColumn;
    int m_nView;
    DWORD m_dwReserved;
    CFont* m_pFont;
    TWKListItem* m_pItem;
    TWKListSubItem* m_pSubItem;
    TWKListColumn* m_pColumn;
    COLORREF m_crText;
    COLORREF m_crTextBk;
    COLORREF m_crFill;
    COLORREF m_crLabelBk;
};

// Extended list style bits of this list (beside the list-view ones it shares).
#define TWKLVS_EX_HEADERDRAGDROP    0x00000010
#define TWKLVS_EX_LABELTIPS         0x00100000
#define TWKLVS_EX_HORZGRID          0x00400000
#define TWKLVS_EX_VERTGRID          0x00800000
#define TWKLVS_EX_FULLROWSELECT     0x02000000
#define TWKLVS_EX_FITLABELCOLUMN    0x04000000
#define TWKLVS_EX_KEEPLABELWIDTH    0x08000000

// Second-state bit that paints a row's texts grey.
#define TWKLIS_EX_GRAYTEXT          0x100

// The header image list's slot beside LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE.
#define TWKLVSIL_HEADER             3

// Control ids of the list's scroll-bar children and its in-place edit.
#define TWKLIST_ID_HSCROLL          59904
#define TWKLIST_ID_VSCROLL          59920
#define TWKLIST_ID_EDIT             1

// Bytes of the list's cell-text buffer.
#define TWKLIST_TEXTBUFFER          2048

class TWKListBaseC : public CWnd, public TWKListClient
{
    DECLARE_DYNAMIC(TWKListBaseC)
public:
    TWKListBaseC();
    ~TWKListBaseC() override;

    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL) override;
    CScrollBar* GetScrollBarCtrl(int nBar) const override;

    // ---- Creation
    virtual BOOL Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL);
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int cx, int cy, HWND hWndParent, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL CreateFromDlgItem(UINT nID, CWnd* pDialog);

    // ---- Colours, fonts, owner
    virtual COLORREF GetBkColor();
    virtual COLORREF GetTextColor();
    virtual COLORREF GetTextBkColor();
    virtual COLORREF GetDisabledTextColor();
    virtual COLORREF GetLabelBkColor();
    virtual COLORREF GetFocusLabelBkColor();
    virtual CFont* GetHeaderFont();
    virtual CWnd* GetNotifyWnd();
    virtual BOOL SetBkColor(COLORREF cr);
    virtual BOOL SetTextColor(COLORREF cr);
    virtual BOOL SetTextBkColor(COLORREF cr);
    virtual BOOL SetSelTextColor(COLORREF cr);
    virtual BOOL SetSelBkColor(COLORREF cr);
    virtual BOOL SetDisabledTextColor(COLORREF cr);
    virtual BOOL SetLabelBkColor(COLORREF cr);
    virtual BOOL SetFocusLabelBkColor(COLORREF cr);
    virtual BOOL SetToolTipBkColor(COLORREF cr);
    virtual BOOL SetToolTipTextColor(COLORREF cr);
    // The list does not own the fonts: the caller keeps them alive.
    virtual void SetItemFont(CFont* pFont);
    virtual void SetHeaderFont(CFont* pFont);
    virtual void SetNotifyWnd(CWnd* pWnd);
    virtual void SetAutoSysColors(BOOL bAuto);
    virtual BOOL GetAutoSysColors();
    virtual void SetAutoScrollTimer(UINT nElapse);
    virtual void KillAutoScrollTimer();

    // ---- Geometry (rows)
    virtual void InvalidateItem(int nRow, BOOL bLabelOnly, BOOL bErase, BOOL bToEnd, BOOL bUpdateNow);
    virtual void InvalidateItemRange(int nFrom, int nTo);
    virtual int GetTopIndex();
    virtual int GetCountPerPage();
    virtual int GetCountAbove();
    virtual int GetMaxTopIndex();
    virtual int GetLastVisibleIndex(TWKListPaintContext* pCtx = NULL);
    virtual int GetBottomIndex();
    virtual int GetPageUpIndex();
    virtual int GetRowAtY(CPoint point);
    virtual int GetRowAtYEx(CPoint point);
    virtual int GetRowAtPoint(CPoint point);
    virtual BOOL SetItemHeight(int nRow, int nHeight);
    virtual int GetRowsHeight(int nFrom, int nTo, BOOL bInclusive);
    virtual int CountRowsInHeight(int nHeight, int nStart, BOOL bForward);
    virtual void RemeasureItems();
    virtual void RemeasureItem(int nRow);

    // ---- Columns
    virtual BOOL DeleteColumn(LPCSTR lpszCaption);
    virtual BOOL DeleteColumn(int nColumn);
    virtual void DeleteAllColumns();
    virtual BOOL AddColumn(const LVCOLUMNA* pColumn);
    virtual BOOL AddColumn(LPCSTR lpszCaption, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1,
                           int nImage = -1);
    virtual BOOL AddColumn(TWKListColumn* pColumn);
    virtual BOOL InsertColumn(int nColumn, const LVCOLUMNA* pColumn, BOOL bRedraw = TRUE);
    virtual BOOL InsertColumn(int nColumn, LPCSTR lpszCaption, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                              int nSubItem = -1, int nImage = -1, BOOL bRedraw = TRUE);
    virtual BOOL InsertColumn(int nColumn, TWKListColumn* pColumn, BOOL bRedraw = TRUE);
    virtual BOOL MoveColumn(int nFrom, int nTo, BOOL bRedraw = TRUE);
    virtual BOOL GetColumn(int nColumn, LVCOLUMNA* pColumn);
    virtual BOOL SetColumn(int nColumn, const LVCOLUMNA* pColumn, BOOL bRedraw = TRUE);
    virtual int GetColumnLeft(int nColumn);
    virtual int GetColumnRight(int nColumn);
    virtual BOOL SetColumnWidth(int nColumn, int nWidth);
    virtual int GetColumnWidth(int nColumn);
    virtual BOOL SetColumnFormat(int nColumn, int nFormat);
    virtual int GetColumnFormat(int nColumn);
    virtual BOOL SetColumnText(int nColumn, LPCSTR lpszText);
    virtual CString GetColumnText(int nColumn);
    virtual BOOL HasColumn(LPCSTR lpszCaption);
    virtual int GetColumnCount();
    virtual BOOL LookupColumn(LPCSTR lpszCaption, int* pnColumn, int* pnSubItem);
    virtual TWKListColumn* GetColumnPtr(int nColumn);

    // ---- Rows
    virtual LPARAM GetItemParam(TWKListItem* pItem);
    virtual int GetItemCount();
    virtual int GetSubItemCount();
    virtual BOOL SetItem(LVITEMA* pItem, BOOL bRedraw);
    virtual BOOL SetItem(int nRow, int nSubItem, UINT nMask, LPCSTR lpszText, int nImage, UINT nState,
                         UINT nStateMask, LPARAM lParam);
    virtual BOOL SetItemExState(LVITEMA* pItem, TWKListExState* pExState);
    virtual BOOL GetItem(LVITEMA* pItem, BOOL bCopyText = TRUE, BOOL bNotify = TRUE);
    virtual BOOL GetItemExState(LVITEMA* pItem, TWKListExState* pExState, BOOL bNotify = TRUE);
    virtual BOOL SetItemText(int nRow, int nSubItem, LPCSTR lpszText);
    virtual int GetItemText(int nRow, int nSubItem, LPSTR lpszText, int nLen);
    virtual BOOL DeleteItemPtr(TWKListItem* pItem);
    virtual BOOL DeleteItem(int nRow, int nCount = 1);
    virtual BOOL DeleteAllItems();
    virtual int GetSelectedCount();
    virtual BOOL GetItemRect(int nRow, LPRECT lpRect, int nCode);
    virtual int InsertItemPtr(int nRow, TWKListItem* pItem);
    virtual int InsertItem(UINT nMask, int nRow, LPCSTR lpszText, UINT nState, UINT nStateMask, int nImage,
                           LPARAM lParam);
    virtual int InsertItem(int nRow, LPCSTR lpszText, int nImage);
    virtual int InsertItem(int nRow, LPCSTR lpszText);
    virtual int InsertItem(LVITEMA* pItem);
    virtual int InsertItemAfter(TWKListItem* pAfter, LVITEMA* pItem);
    virtual int InsertItemBefore(TWKListItem* pBefore, LVITEMA* pItem);
    virtual void SetFocusItem(int nRow, BOOL bSelect);
    virtual void SetFocusItemOnly(int nRow);
    virtual void DeselectAllExcept(int nKeep);
    virtual void SelectRange(int nFrom, int nTo, BOOL bSelect);
    virtual int GetFocusItem();
    virtual void GetScrollExtent(CSize* pSize, TWKListPaintContext* pCtx = NULL);
    virtual BOOL SetItemState(int nRow, UINT nState, UINT nMask);
    virtual UINT GetItemState(int nRow, UINT nMask);
    virtual BOOL SetItemData(int nRow, DWORD_PTR dwData);
    virtual DWORD_PTR GetItemData(int nRow);
    virtual BOOL SelectItem(int nRow, BOOL bSelect);
    virtual BOOL GetCallbackMask();
    virtual void SetCallbackMask(BOOL bFlag);
    virtual BOOL GetExCallbackMask();
    virtual void SetExCallbackMask(BOOL bFlag);
    virtual BOOL ItemHasCallbacks(int nRow);
    virtual int GetNextItem(int nStart, UINT nFlags);
    virtual BOOL SetDropHighlight(int nRow);
    virtual int GetDropHighlight();
    virtual CImageList* GetImageList(int nWhich);
    virtual CImageList* SetImageList(CImageList* pList, int nWhich);
    virtual BOOL CopyImageList(CImageList* pSource, CImageList** ppCopy);

    // ---- Hit testing and scrolling
    virtual int HitTest(int x, int y, UINT* pFlags, int* pnColumn);
    virtual void SetTopIndex(int nRow);
    virtual void ScrollHorizontal(int dx);
    virtual void ScrollVertical(int nRows, BOOL bFromBottom);
    virtual BOOL EnsureVisible(int nRow, BOOL bPartialOK = FALSE);
    virtual BOOL EnsureRangeVisible(int nFirst, int nLast);

    // ---- Label editing
    virtual CEdit* EditLabel(int nRow, int nColumn);
    virtual CEdit* GetEditControl();
    virtual void CancelEditTimer();

    // ---- Styles
    virtual BOOL HasListStyle(DWORD dwBits);
    virtual BOOL HasListStyleEx(DWORD dwBits);
    virtual void GetListStyles(DWORD* pdwStyle, DWORD* pdwExStyle);
    virtual void SetListStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw = TRUE);
    virtual DWORD GetListStyle();
    virtual DWORD GetListStyleEx();
    virtual void SetListStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
    virtual void SetListStyleEx(DWORD dwExStyle, BOOL bRedraw = TRUE);
    virtual void ModifyListStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    virtual void ModifyListStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    virtual void ModifyListStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx,
                                  BOOL bRedraw = TRUE);
    virtual void EnableLabelWrap(BOOL bEnable);
    virtual void EnableLabelTips(BOOL bEnable);
    virtual void EnableMultiSelect(BOOL bEnable);
    virtual BOOL IsLabelTipsEnabled();
    virtual BOOL IsHeaderVisible();
    virtual void ShowHeader(BOOL bShow, BOOL bButtons);
    virtual BOOL IsMultiSelect();
    virtual void SetAutoUpdate(BOOL bAuto);
    virtual BOOL GetAutoUpdate();

    // ---- Layout
    virtual void RecalcLayout();
    virtual int GetContentWidth(TWKListPaintContext* pCtx = NULL);
    virtual int GetContentRows();
    virtual void GetClientRect(LPRECT lpRect);
    virtual CDC* GetDrawDC(BOOL* pbDelete);
    virtual BOOL CheckFitLabelColumn();
    virtual CScrollBar* CreateScrollBarCtrl(DWORD dwStyle, UINT nID);
    virtual void InitSubItems(TWKListItem* pItem);
    virtual void FreeSubItems(TWKListItem* pItem);
    virtual int InitItem(TWKListItem* pItem);
    virtual TWKListItem* CreateItem();
    virtual void ShowScrollBarCtrl(int nBar, BOOL bShow, SCROLLINFO* pInfo = NULL);

    // ---- Painting and measuring (derived classes replace single steps)
    virtual void PickFillColor(TWKListPaintContext* pCtx);
    virtual void PickLabelBkColor(TWKListPaintContext* pCtx);
    virtual void PickItemColors(TWKListPaintContext* pCtx);
    virtual void PickItemFont(TWKListPaintContext* pCtx);
    virtual CPen* GetHorzGridPen();
    virtual CPen* GetVertGridPen();
    virtual void MeasureItem(TWKListPaintContext* pCtx);
    virtual void UpdateItemMetrics(int nRow, TWKListPaintContext* pCtx = NULL);
    virtual void MeasureCell(TWKListPaintContext* pCtx, int* pnHeight);
    virtual void MeasureCellIcon(TWKListPaintContext* pCtx, LPRECT lpRect);
    virtual void MeasureCellText(TWKListPaintContext* pCtx, LPRECT lpRect);
    virtual void PositionScrollBars();
    virtual void FitLabelColumn();
    virtual int GetRowSpacing();
    virtual int TrackColumnDivider(int x, int y, int nColumn);
    virtual void DrawList(CDC* pDC);
    virtual BOOL PreparePaintContext(TWKListPaintContext* pCtx);
    virtual TWKListPaintContext* CreatePaintContext(CDC* pDC);
    virtual BOOL CreateOffscreenDC(CDC* pDC, CDC** ppTarget, const CRect& rect);
    virtual void DrawHeader(TWKListPaintContext* pCtx);
    virtual void DrawHeaderItem(int nColumn, BOOL bPressed);
    virtual void DrawHeaderImage(CDC* pDC, TWKListColumn* pColumn, CRect& rcCaption, UINT& nFormat);
    virtual CImageList* CreateHeaderDragImage(int nColumn);
    virtual void UpdateHeaderDropMarker(int x, int y, int nColumn);
    virtual void OnColumnMoved(int nFrom, int nTo);
    virtual void DrawItems(TWKListPaintContext* pCtx);
    virtual void DrawItem(TWKListPaintContext* pCtx);
    virtual void DrawSubItem(TWKListPaintContext* pCtx);
    virtual void DrawItemIcon(TWKListPaintContext* pCtx);
    virtual void DrawItemText(TWKListPaintContext* pCtx);
    virtual void DrawHorzGridLines(CDC* pDC, int nRow, const CRect& rcRow);
    virtual void DrawVertGridLines(CDC* pDC, int nRow, const CRect& rcRow);
    virtual void UpdateVertScrollBar(int nRows);
    virtual void UpdateHorzScrollBar(int nWidth);

    // ---- Keys (focus row, sub-item of the current column, Shift, Ctrl, repeat, key flags)
    virtual void OnUpKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnDownKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnEditKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnReturnKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnHomeKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnEndKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnLeftKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnBackKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnRightKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnMultiplyKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnPageUpKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
    virtual void OnPageDownKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);

    // ---- Notifications
    virtual LRESULT NotifyParent(int nCode);
    virtual void NotifyBeginDrag(int nRow, int x, int y);
    virtual LRESULT NotifyBeginLabelEdit(int nRow, int nSubItem);
    virtual void NotifyBeginRDrag(int nRow, int x, int y);
    virtual void NotifyDeleteItem(int nRow);
    virtual BOOL NotifyEndLabelEdit(int nRow, int nSubItem, CString* pText, BOOL bSave);
    virtual void OnLabelChanged(int nRow, int nSubItem);
    virtual void NotifySelChanged(int nRow, int nOldFocus, BOOL bMouse);
    virtual LRESULT NotifySelChanging(int nRow, int nOldFocus, BOOL bMouse);
    virtual LRESULT NotifyGetDispInfo(LVITEMA* pItem);
    virtual void NotifySetDispInfo(LVITEMA* pItem);
    virtual void NotifyGetExDispInfo(TWKListExState* pExState);
    virtual void NotifyReserved(int nArg);
    virtual void NotifyInsertItem(int nRow);
    virtual void NotifyKeyDown(UINT nKey);
    virtual void NotifyColumnClick(int nColumn);
    virtual BOOL SelectWithKeys(int nRow, UINT nHitFlags, UINT nKeyFlags, BOOL bMouse);
    virtual void OnUserSelect(int nRow, BOOL bMouse);
    virtual CWnd* GetNotifyTarget();
    virtual void SplitCreateStyles(CREATESTRUCT* pcs);
    virtual void ClassifyClick(CPoint point, int nRow, UINT nHitFlags, BOOL* pbArmed, BOOL* pbSelect);

    // ---- TWKListClient
    HWND GetListWindow() override;
    BOOL IsLabelWrapEnabled() override;
    BOOL EndLabelEdit(BOOL bSave) override;
    int GetColumnSubItem(int nColumn) override;
    BOOL GetScrollOrigin(LPPOINT lpPoint) override;
    void GetInsideRect(LPRECT lpRect) override;
    BOOL GetSubItemRect(int nRow, int nColumn, LPRECT lpRect, int nCode) override;
    CString GetItemString(int nRow, int nSubItem) override;
    void ClientToScreen(LPRECT lpRect) override;
    CWnd* CaptureMouse(BOOL bCapture) override;
    BOOL IsItemSelected(int nRow) override;
    COLORREF GetSelTextColor() override;
    COLORREF GetSelBkColor() override;
    COLORREF GetToolTipTextColor() override;
    COLORREF GetToolTipBkColor() override;
    CFont* GetItemFont() override;
    UINT GetClientItemState(int nRow, UINT nMask) override;

    // Plain getters for derived classes' overrides.
    int GetEditRow() const { return m_nEditRow; }
    int GetCurrentColumn() const { return m_nCurColumn; }
    int GetPendingEditRow() const { return m_nPendingEditRow; }
    TWKListTip* GetListTip() const { return m_pTip; }
    TWKListItem* GetItemPtr(int nRow) const
        { return (nRow >= 0 && nRow < m_rows.GetSize()) ? (TWKListItem*)m_rows[nRow] : NULL; }
    int FindItemPtr(TWKListItem* pItem) const;

    // Handlers that derived classes call from their own.
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnVScroll(UINT nCode, UINT nPos, CScrollBar* pBar);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLabelEditUpdate();

    // The selection rows; the tree reads them too.
    static const int nTypeAheadTimeoutDefault = 250;

protected:
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nCode, UINT nPos, CScrollBar* pBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnSysColorChange();
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLabelEditKillFocus();

    // Helpers shared by the Parts' steps.
    int FindSelection(int nRow, BOOL* pbFound) const;
    BOOL AddSelection(int nRow);
    BOOL RemoveSelection(int nRow);
    BOOL IsSelected(int nRow) const;
    int RowHeight(int nRow);              // measured height plus spacing
    int GetRowTop(int nRow, int nLimit);  // top of a row at or below the top row; nLimit stops the walk
    void SetListStyleWord(DWORD dwStyle, BOOL bRedraw);
    void LoadColors();
    CString GetCellTextCut(LPCSTR lpszText) const;
    BOOL TypeAheadMatches(const CString& strLabel) const;

    // ---- State (see the data model)
    int m_nTypeAheadTimeout;
    int m_nWheelAccum;
    int m_nTopIndex;
    int m_nHeaderHeight;
    int m_nPendingEditRow;
    int m_nCurColumn;
    int m_nEditRow;
    int m_nSubItemCount;
    int m_nFocusRow;
    int m_nDropRow;
    int m_nAnchorRow;
    LRESULT m_lLastResult;
    BOOL m_bStateCallback;
    BOOL m_bExStateCallback;
    UINT_PTR m_nTimer1, m_nTimer2, m_nTimer3;
    UINT m_nTypeAheadFlags;
    DWORD m_dwListStyle;
    DWORD m_dwListStyleEx;
    DWORD m_dwScrollBars;
    mutable HWND m_hScrollBars[2];   // horizontal, vertical: the last found
    COLORREF m_crText, m_crCellBk, m_crSelText, m_crSelBk, m_crGrayText, m_crLabelBk, m_crFocusLabelBk,
        m_crTipBk, m_crTipText, m_crListBk;
    BOOL m_bOverDivider;
    BOOL m_bSelVeto;
    BOOL m_bEndEditGuard;
    BOOL m_bAutoUpdate;
    BOOL m_bItemDrag;
    BOOL m_bHeaderDrag;
    BOOL m_bArmed;
    BOOL m_bAutoSysColors;
    HCURSOR m_hColumnCursor;
    LPSTR m_pszTextBuffer;
    CFont* m_pItemFont;
    CFont* m_pHeaderFont;
    CImageList* m_pImageLists[4];
    CImageList* m_pHeaderDragImage;
    TWKListTip* m_pTip;
    int m_nHorzOffset;
    int m_nVertOffset;
    CPoint m_ptMouseDown;
    CString m_strSavedLabel;
    CString m_strTypeAhead;
    CPtrArray m_columns;       // TWKListColumn*, display order
    CPtrArray m_rows;          // TWKListItem*
    CDWordArray m_selection;   // ascending, unique
    TWKListEdit* m_pEdit;
    CWnd* m_pNotifyWnd;
    int m_nPressedColumn;
    int m_nHeaderDropTarget;
    CByteArray m_typeAheadLead;  // a typed lead byte waiting for its trail byte
};

class TWKListCtrl : public TWKListBaseC
{
    DECLARE_DYNAMIC(TWKListCtrl)
public:
    TWKListCtrl() {}
protected:
    DECLARE_MESSAGE_MAP()
};
