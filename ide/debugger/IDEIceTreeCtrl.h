// The trees of the debug pages: one row per item of an ICE page, its children
// below it, the value in a second column in the item's display format, edited
// in place. The watch page's tree adds expressions evaluated by the ICE's watch
// interface and a trailing entry row where new expressions are typed.
#pragma once
#include "afx/afx.h"
#include "afx/ole.h"
#include "framework/controls/list/TWKTreeCtrl.h"
#include "components/include/IceInterface.h"
#include <initializer_list>

class C_IDEIceUIMgr;
class I_ZIceMgr;

// Display formats as the ICE item keeps them.
enum { ICETREE_FORMAT_HEX = 0, ICETREE_FORMAT_DEC = 1, ICETREE_FORMAT_BIN = 2 };

// Number of value bits of an item of that kind and width (0: no value text).
int IceValueBits(int nKind, int nWidth);
// The value text of a value of nBits bits in the format ("" for an unknown format).
CString IceFormatValue(DWORD dwValue, int nBits, int nFormat);

class C_IDEIceTreeCtrl : public TWKTreeCtrl
{
    DECLARE_DYNAMIC(C_IDEIceTreeCtrl)
public:
    C_IDEIceTreeCtrl(C_IDEIceUIMgr* pUIMgr, I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nPageIndex);
    ~C_IDEIceTreeCtrl() override;

    virtual BOOL InitColumns();
    virtual BOOL FillFromPage(I_IceDebugPage* pPage);
    virtual BOOL CanEditCell(int nRow, int nColumn);
    virtual BOOL SetCellText(int nRow, int nColumn, LPCSTR lpszText);
    virtual void GetCellText(int nRow, int nColumn, CString& str);
    virtual BOOL DeleteSelected();
    virtual HTREEITEM MoveItem(HTREEITEM hDragged, HTREEITEM hDrop);
    virtual HTREEITEM DropItem(C_IDEIceTreeCtrl* pSource, HTREEITEM hDragged, HTREEITEM hDrop);
    virtual int GetDisplayFormat();
    virtual void SetDisplayFormat(int nFormat);
    virtual BOOL AddChildren(I_IceDebugItem* pItem, HTREEITEM hRow);

    CEdit* EditLabel(int nRow, int nColumn) override;
    void PickItemColors(TWKListPaintContext* pCtx) override;
    // The list asks its owner (the list tab) for the value columns' texts.
    BOOL GetItem(LVITEMA* pItem, BOOL bCopyText = TRUE, BOOL bNotify = TRUE) override;
    using TWKTreeCtrl::GetItem;

    void LoadColumnWidths();
    void SaveColumnWidths();

    // Rows and their ICE items.
    HTREEITEM RowItem(int nRow) { return reinterpret_cast<HTREEITEM>(GetRowNode(nRow)); }
    int ItemRow(HTREEITEM h) { return GetNodeRow(reinterpret_cast<_Node*>(h)); }
    HTREEITEM TopLevelOf(HTREEITEM h);
    int TopLevelIndex(HTREEITEM h);
    int SiblingIndex(HTREEITEM h);
    I_IceDebugItem* PageItem(int nIndex);
    I_IceDebugItem* IceItemOfRow(int nRow);

    int GetPageIndex() const { return m_nPageIndex; }
    I_IceDebugPage* GetPage() const { return m_pPage; }
    const CString& GetPageName() const { return m_strPageName; }
    int GetItemCountKept() const { return m_nItemCount; }

    I_IceDebugTarget* m_pTarget;
    int m_nPageIndex;
    I_IceDebugPage* m_pPage;
    int m_nItemCount = 0;
    CString m_strPageName;
    I_ZIceMgr* m_pIceMgr;
    C_IDEIceUIMgr* m_pUIMgr;

protected:
    // "Name", value columns of 100 pixels, an empty last column of 0; then the saved widths.
    BOOL InitColumnsWith(std::initializer_list<const char*> values);
    BOOL IsBusy();
    // The list tab this tree is a page of (NULL when none).
    class C_IDEListTab* OwnerTab();
    HTREEITEM InsertIceRow(I_IceDebugItem* pItem, HTREEITEM hParent, HTREEITEM hAfter);
    // What a filled top-level row gets beside its text: its children.
    virtual BOOL FillRow(I_IceDebugItem* pItem, HTREEITEM h);
    // Re-inserts a row's copy at top level before hDrop (NULL: at the end); the new row.
    HTREEITEM PlaceCopy(LPCSTR lpszText, DWORD_PTR dwData, BOOL bExpanded, HTREEITEM hDrop);
    void DeleteChildren(HTREEITEM h);
    void PlaceEdit();
    void UpdateDebugWindows();

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnEditUpdate();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

class C_IDEIceWatchTreeCtrl;

// Text dragged from an editor onto the watch tree: taken as a copy and handed to the tree.
class C_IDEDropTarget : public COleDropTarget
{
public:
    void SetTree(C_IDEIceWatchTreeCtrl* pTree) { m_pTree = pTree; }
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    CString m_strText;
    C_IDEIceWatchTreeCtrl* m_pTree = nullptr;
    CPoint m_ptDrop;
};

class C_IDEIceWatchTreeCtrl : public C_IDEIceTreeCtrl
{
    DECLARE_DYNAMIC(C_IDEIceWatchTreeCtrl)
public:
    using C_IDEIceTreeCtrl::C_IDEIceTreeCtrl;

    BOOL InitColumns() override;
    BOOL FillFromPage(I_IceDebugPage* pPage) override;
    BOOL CanEditCell(int nRow, int nColumn) override;
    BOOL SetCellText(int nRow, int nColumn, LPCSTR lpszText) override;
    void GetCellText(int nRow, int nColumn, CString& str) override;
    BOOL DeleteSelected() override;
    HTREEITEM MoveItem(HTREEITEM hDragged, HTREEITEM hDrop) override;
    HTREEITEM DropItem(C_IDEIceTreeCtrl* pSource, HTREEITEM hDragged, HTREEITEM hDrop) override;
    int GetDisplayFormat() override;
    void SetDisplayFormat(int nFormat) override;

    // Every watch row evaluates again: its member rows are made anew.
    BOOL RefreshWatch();
    // Text dropped or typed as an expression at the point (client co-ordinates).
    void DropText(LPCSTR lpszText, CPoint point);
    // The dropped text as it becomes an expression: outer tabs, then outer blanks, go;
    // empty when nothing is left or the text is too long.
    static CString CleanDroppedText(LPCSTR lpszText);

    HTREEITEM m_hEntryRow = nullptr;
    int m_nEntryIndex = 0;
    C_IDEDropTarget m_DropTarget;

protected:
    I_IceWatch* Watch();
    BOOL IsWatchRow(HTREEITEM h);
    BOOL RegisterWatch(HTREEITEM hRow);
    void AddMembers(ICE_WATCH_NODE node, HTREEITEM hRow);
    ICE_WATCH_NODE NodeOfRow(HTREEITEM h);
    BOOL FillRow(I_IceDebugItem* pItem, HTREEITEM h) override;
    BOOL AppendEntryRow();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnTextDropped(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Posted to the watch tree with the dropped text and the drop point.
#define WM_ICE_WATCH_TEXT_DROPPED 0x80FF
