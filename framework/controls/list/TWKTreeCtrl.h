// The owner-drawn tree control: the hierarchy lives in _Node objects and every
// displayed item is one row of the list control, in display order. Column 0
// is the tree column (indentation, lines, buttons, images, label); further
// columns are ordinary list columns. Speaks the tree-view vocabulary
// (TVITEM, TVIF_, TVIS_, TVGN_, TVE_, TVI_, TVN_).
#pragma once
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKTreeNode.h"

class TWKSubItemTextStorage;

// Insert position beside TVI_FIRST, TVI_LAST and TVI_SORT: sorted, descending.
#define TWKTVI_SORTDESCENDING ((HTREEITEM)(ULONG_PTR)-0xFFF0)

// Tree style word (the TVS_ bits the tree keeps itself).
#define TWKTVS_TREEBITS 0x417
// Tree extended style word.
#define TWKTVS_EX_MULTISELECT       0x00100000
#define TWKTVS_EX_LABELWRAP         0x00200000
#define TWKTVS_EX_HEADER            0x00400000
#define TWKTVS_EX_LABELTIPS         0x00800000
#define TWKTVS_EX_ANIMATE           0x01000000
#define TWKTVS_EX_HOVEREXPAND       0x02000000
#define TWKTVS_EX_HEADERBUTTONS     0x04000000
#define TWKTVS_EX_HEADERDRAGDROP    0x08000000

// Extended item state (the node's extra-state word); both count for descendants.
#define TWKTVIS_EX_DISABLED         0x100
#define TWKTVIS_EX_HIDDEN           0x200

// Hit-test flag of any point on a row.
#define TWKTVHT_ONROW               0x4000
#define TWKTVHT_ONHEADERDIVIDER     0x1000
#define TWKTVHT_ONHEADERBUTTON      0x2000

// List extended style bit that blends the image of a selected item.
#define TWKLVS_EX_BLENDSELIMAGE     0x10000000

// The message sent to the owner after a label was edited and taken:
// wParam = control id, lParam = the item.
extern const UINT TWK_WM_TREEENDLABELEDIT;

// The paint context of a tree row: the item's tree record and, for labels
// with a marker, the two parts of the text.
class TWKTreePaintContext : public TWKListPaintContext
{
public:
    explicit TWKTreePaintContext(CDC* pDC);
    ~TWKTreePaintContext() override;

    TVITEMA m_tvItem;
    // Label block.
    BOOL m_bMarker;
    CString m_strFirst;
    CString m_strSecond;
    int m_nFirstWidth;
    // The weight-700 copy of the list's font for a bold item; made again per bold item.
    CFont m_fontBold;
};

class TWKTreeBaseC : public TWKListCtrl
{
    DECLARE_DYNAMIC(TWKTreeBaseC)
public:
    TWKTreeBaseC();
    ~TWKTreeBaseC() override;

    // ---- Creation
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL) override;
    BOOL Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                CCreateContext* pContext = NULL) override;
    BOOL CreateFromDlgItem(UINT nID, CWnd* pDialog) override;

    // ---- Handles and rows
    int GetItemIndex(HTREEITEM hItem, int nStart = 0);
    HTREEITEM GetItemAtIndex(int nRow);
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, int nCode);
    int GetIndent() const { return m_nIndent; }
    void SetIndent(int nIndent);

    // ---- Navigation
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode);
    HTREEITEM GetRootItem() { return GetNextItem(NULL, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() { return GetNextItem(NULL, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetDropHilightItem() { return GetNextItem(NULL, TVGN_DROPHILITE); }
    HTREEITEM GetSelectedItem() { return GetNextItem(NULL, TVGN_CARET); }
    HTREEITEM GetFirstSelectedItem() { return GetNextItem(NULL, 32); }
    HTREEITEM GetNextSelectedItem(HTREEITEM hItem) { return GetNextItem(hItem, 33); }
    HTREEITEM GetPrevSelectedItem(HTREEITEM hItem) { return GetNextItem(hItem, 34); }

    // ---- Item fields
    BOOL SetItem(TVITEMA* pItem);
    BOOL SetItem(HTREEITEM hItem, UINT nMask, LPCSTR lpszText, int nImage, int nSelectedImage, UINT nState,
                 UINT nStateMask, LPARAM lParam);
    CString GetItemText(HTREEITEM hItem, int nSubItem = 0);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask);
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage);
    DWORD_PTR GetItemData(HTREEITEM hItem);
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    BOOL IsItemExpanded(HTREEITEM hItem);
    BOOL ItemHasChildren(HTREEITEM hItem);

    // ---- Insertion and deletion
    HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsert);
    HTREEITEM InsertItem(UINT nMask, LPCSTR lpszText, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                         LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCSTR lpszText, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCSTR lpszText, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    BOOL InsertItems(TVITEMA** ppItems, HTREEITEM hParent, int nCount, BOOL bRedraw = TRUE);
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL MoveItem(HTREEITEM hItem, HTREEITEM hNewParent, BOOL bRedraw = TRUE, HTREEITEM hInsertAfter = TVI_LAST);
    BOOL HideItem(HTREEITEM hItem, BOOL bHide);
    BOOL IsItemHidden(HTREEITEM hItem);
    BOOL SortChildren(HTREEITEM hItem, BOOL bRecurse = FALSE, BOOL bAscending = TRUE);
    BOOL SortChildrenCB(LPTVSORTCB pSort, BOOL bRecurse = FALSE, BOOL bAscending = TRUE);
    BOOL SelectSubtree(HTREEITEM hItem);
    int CountItems(HTREEITEM hItem, BOOL bRecurse = FALSE, BOOL bExpandedOnly = FALSE);

    // ---- Expansion and selection
    BOOL Expand(HTREEITEM hItem, UINT nCode, BOOL bRedraw = TRUE, BOOL bSkipChildrenCheck = FALSE);
    void ExpandAll(HTREEITEM hItem, BOOL bRedraw = TRUE);
    void CollapseAll(HTREEITEM hItem, BOOL bRedraw = TRUE);
    BOOL EnsureVisible(HTREEITEM hItem, BOOL bWithParent = FALSE);
    BOOL Select(HTREEITEM hItem, UINT nCode);
    BOOL SelectItem(HTREEITEM hItem);
    BOOL SelectSetFirstVisible(HTREEITEM hItem);
    BOOL SelectDropTarget(HTREEITEM hItem, BOOL bMakeVisible = TRUE);
    HTREEITEM HitTest(int x, int y, UINT* pFlags);

    // ---- Virtual operations of the tree, in slot order
    virtual BOOL SetItemExState(TVITEMA* pItem, TWKListExState* pExState);
    virtual BOOL GetItem(TVITEMA* pItem, BOOL bCopyText = TRUE, BOOL bNotify = TRUE);
    virtual BOOL GetItemExState(TVITEMA* pItem, TWKListExState* pExState, BOOL bNotify = TRUE);
    virtual BOOL EnableSubItemTexts(BOOL bEnable);
    virtual BOOL HasSubItemTexts();
    virtual BOOL SetItemText(HTREEITEM hItem, int nSubItem, LPCSTR lpszText);
    virtual BOOL SetItemText(HTREEITEM hItem, LPCSTR lpszText);
    virtual int CompareItems(HTREEITEM hItem1, HTREEITEM hItem2);
    virtual void GetTreeStyles(DWORD* pdwStyle, DWORD* pdwExStyle);
    virtual BOOL SetTreeStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw = TRUE);
    virtual DWORD GetTreeStyle();
    virtual DWORD GetTreeStyleEx();
    virtual BOOL SetTreeStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
    virtual BOOL SetTreeStyleEx(DWORD dwExStyle, BOOL bRedraw = TRUE);
    virtual BOOL ModifyTreeStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    virtual BOOL ModifyTreeStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    virtual BOOL ModifyTreeStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx, BOOL bRedraw = TRUE);
    virtual BOOL RedrawItem(HTREEITEM hItem, BOOL bLabelOnly = FALSE, BOOL bErase = TRUE, BOOL bToEnd = FALSE,
                            BOOL bUpdateNow = FALSE);
    virtual CImageList* CreateDragImage(HTREEITEM hItem);
    virtual void MeasureLabel(CDC* pDC, TWKTreePaintContext* pBlock, LPCSTR lpszText, LPRECT lpRect);
    virtual void DrawLines(TWKListPaintContext* pCtx);
    virtual void DrawButton(TWKListPaintContext* pCtx);
    virtual void DrawHorzLine(CDC* pDC, BOOL bSelected, int x1, int x2, int y);
    virtual void DrawVertLine(CDC* pDC, BOOL bSelected, int x, int y1, int y2);
    virtual LRESULT NotifyGetDispInfo(TVITEMA* pItem);
    virtual void NotifyItemExpanded(HTREEITEM hItem, UINT nCode);
    virtual LRESULT NotifyItemExpanding(HTREEITEM hItem, UINT nCode);
    virtual void NotifySetDispInfo(TVITEMA* pItem);
    virtual void NotifyGetExState(TVITEMA* pItem, TWKListExState* pExState);
    virtual void NotifySetExState(TVITEMA* pItem, TWKListExState* pExState);
    virtual CBitmap* CreateTextBitmap(CDC* pDC, LPCSTR lpszText);
    virtual CImageList* CreateTextImageList(CDC* pDC, LPCSTR lpszText);
    virtual CImageList* CreateIconImageList(CImageList* pImages, int nImage);
    virtual CImageList* MergeImageLists(CImageList* pIcon, CImageList* pText);
    virtual BOOL DeleteSubtree(HTREEITEM hItem);
    virtual int GetButtonRect(LPRECT lpRect, int nRow, CPoint ptCell);
    virtual void NotifyDeleteTreeItem(HTREEITEM hItem);
    virtual _Node* CreateNode();

    // ---- List operations the tree answers for column 0
    void SplitCreateStyles(CREATESTRUCT* pcs) override;
    BOOL SetItem(LVITEMA* pItem, BOOL bRedraw) override;
    BOOL GetItem(LVITEMA* pItem, BOOL bCopyText = TRUE, BOOL bNotify = TRUE) override;
    BOOL SetItemExState(LVITEMA* pItem, TWKListExState* pExState) override;
    BOOL GetItemExState(LVITEMA* pItem, TWKListExState* pExState, BOOL bNotify = TRUE) override;
    BOOL DeleteAllItems() override;
    BOOL ItemHasCallbacks(int nRow) override;
    LPARAM GetItemParam(TWKListItem* pItem) override;
    CImageList* SetImageList(CImageList* pList, int nWhich) override;
    void EnableLabelWrap(BOOL bEnable) override;
    void EnableLabelTips(BOOL bEnable) override;
    void EnableMultiSelect(BOOL bEnable) override;
    void ShowHeader(BOOL bShow, BOOL bButtons) override;
    void OnColumnMoved(int nFrom, int nTo) override;
    void MeasureCell(TWKListPaintContext* pCtx, int* pnHeight) override;
    void DrawSubItem(TWKListPaintContext* pCtx) override;
    BOOL PreparePaintContext(TWKListPaintContext* pCtx) override;
    TWKListPaintContext* CreatePaintContext(CDC* pDC) override;
    void PickItemFont(TWKListPaintContext* pCtx) override;
    UINT GetClientItemState(int nRow, UINT nMask) override;
    void MeasureItem(TWKListPaintContext* pCtx) override;
    void UpdateItemMetrics(int nRow, TWKListPaintContext* pCtx = NULL) override;
    CDC* GetDrawDC(BOOL* pbDelete) override;

    // Keys and notifications.
    void OnLeftKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
    void OnBackKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
    void OnRightKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
    void OnMultiplyKey(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
    void NotifyBeginDrag(int nRow, int x, int y) override;
    LRESULT NotifyBeginLabelEdit(int nRow, int nSubItem) override;
    void NotifyBeginRDrag(int nRow, int x, int y) override;
    BOOL NotifyEndLabelEdit(int nRow, int nSubItem, CString* pText, BOOL bSave) override;
    void OnLabelChanged(int nRow, int nSubItem) override;
    void NotifySelChanged(int nRow, int nOldFocus, BOOL bMouse) override;
    LRESULT NotifySelChanging(int nRow, int nOldFocus, BOOL bMouse) override;
    LRESULT NotifyGetDispInfo(LVITEMA* pItem) override;
    void NotifySetDispInfo(LVITEMA* pItem) override;
    void NotifyKeyDown(UINT nKey) override;

    // Handlers that derived trees call from their own.
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    // The item of a row and the row of an item (-1 when not displayed).
    _Node* GetRowNode(int nRow) const;
    int GetNodeRow(_Node* pNode);

protected:
    _Node* NodeOf(HTREEITEM hItem) const;
    BOOL IsDisplayed(_Node* pNode) const;
    BOOL IsNodeHidden(_Node* pNode) const;
    BOOL DeclaresChildren(_Node* pNode);
    void WriteFields(_Node* pNode, TVITEMA* pItem, BOOL bSyncRow);
    BOOL ResolvePosition(_Node* pParent, _Node* pNode, HTREEITEM hInsertAfter, TWKTreeNode** ppAfter);
    void LinkNode(_Node* pParent, _Node* pNode, TWKTreeNode* pAfter);
    int FindRowForNew(_Node* pNode);
    void CollectDisplayed(_Node* pNode, BOOL bWithSelf, CPtrArray& nodes);
    int InsertRowsFor(_Node* pNode, BOOL bWithSelf, int nRow, BOOL bAnimate = FALSE);
    int RemoveRowsFor(_Node* pNode, BOOL bWithSelf);
    void InsertRowRun(int nRow, CPtrArray& nodes, BOOL bAnimate);
    void DeleteRowRun(int nRow, int nCount);
    void SortSiblings(_Node* pParent, BOOL bRecurse, int nSign, PFNTVCOMPARE pfn, LPARAM lParamSort);
    void RenumberRows(_Node* pItem);
    void FillTreeRecord(TVITEMA* pDest, _Node* pNode);
    LRESULT SendTreeNotify(NMHDR* pHdr, UINT nCode);
    LRESULT NotifyTreeSel(UINT nCode, int nRow, int nOld, int nCause);
    void ToggleOrCollapseCaret(int nRow, BOOL bRight);
    void RedrawFromRow(int nRow, const CRect& rcBefore);
    void ForgetLastChild() { m_pLastParent = m_pLastChild = NULL; }
    BOOL RowsDeferred(_Node* pNode) const;

    // ---- State
    TWKSubItemTextStorage* m_pSubItemTexts;
    _Node* m_pRoot;
    int m_nIndent;
    DWORD m_dwTreeStyle;
    DWORD m_dwTreeStyleEx;
    UINT_PTR m_nHoverTimer;
    int m_nHoverDelay;
    int m_nAnimSteps;
    int m_nAnimCount;
    BOOL m_bScrollAfterExpand;

private:
    // Rows below this index carry a row hint that matches the list.
    int m_nRowsValidBelow;
    // Rows are measured in this memory DC, made once per window; colours are not picked meanwhile.
    CDC* m_pMeasureDC;
    BOOL m_bMeasuring;
    // While ExpandAll runs, the rows below this item are left out and put back as one run at the end.
    _Node* m_pDeferTop;
    // The last child appended, so runs of TVI_LAST inserts need no sibling walk.
    TWKTreeNode* m_pLastParent;
    TWKTreeNode* m_pLastChild;
};

class TWKTreeCtrl : public TWKTreeBaseC
{
    DECLARE_DYNAMIC(TWKTreeCtrl)
public:
    TWKTreeCtrl() {}
    // A window still alive is destroyed through this class's map, so the owner hears of every item.
    ~TWKTreeCtrl() override;
protected:
    DECLARE_MESSAGE_MAP()
};
