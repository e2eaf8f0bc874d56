// The five list bars of the debugger (registers, watches, memory, options,
// stack): each holds one tab window, and each tab shows one debug page of the
// ICE's target, as a tree or, for memory, as a hex-edit window.
#pragma once
#include "afx/afx.h"
#include "framework/controls/tabs/TWKTabWnd.h"
#include "framework/frames/TWKControlBar.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEMemoryEdit.h"
#include <functional>
#include <memory>
#include <vector>

class C_IDEIceUIMgr;
class C_IDEIceTreeCtrl;
class C_IDEMemoryEditWnd;
class I_ZIceMgr;

// First page ids of the tabs; a tree's control id is its page's.
enum : UINT {
    LISTTAB_MEMORY_ID = 0xE910,
    LISTTAB_VARIABLE_ID = 0xE920,
    LISTTAB_WATCH_ID = 0xE960,
    LISTTAB_OPTION_ID = 0xE970,
    LISTTAB_STACK_ID = 0xE980,
};

class C_IDEListTab : public TWKTabWnd
{
    DECLARE_DYNAMIC(C_IDEListTab)
public:
    explicit C_IDEListTab(C_IDEIceUIMgr* pUIMgr = nullptr) : m_pUIMgr(pUIMgr) {}
    ~C_IDEListTab() override;

    virtual BOOL AddPage(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex, UINT nID);
    virtual void RemoveAllPages();
    virtual BOOL InitTab() { return TRUE; }
    virtual BOOL CanDragItem(UINT /*nID*/, HTREEITEM /*hItem*/) { return FALSE; }
    virtual BOOL IsDropTarget() { return FALSE; }
    virtual BOOL AllowsEditing() { return FALSE; }
    virtual BOOL CanDeleteItem() { return FALSE; }
    virtual BOOL HasDisplayFormat() { return TRUE; }
    virtual BOOL Reload() { return TRUE; }
    virtual C_IDEIceTreeCtrl* CreatePageTree(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex);

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) override;
    void ActivateFirstPage();
    int GetPageCount() const { return GetTabCount(); }
    // The tree of tab nIndex, NULL when that page is no tree.
    C_IDEIceTreeCtrl* GetPageTree(int nIndex);
    C_IDEIceTreeCtrl* GetActivePageTree();
    int GetDisplayFormat();
    void SetDisplayFormat(int nFormat);

    // The image list every page tree shares (NULL before the first tab window).
    static CImageList* GetSharedImages();

protected:
    // The tree a notification came from, when it is one of this tab's pages.
    C_IDEIceTreeCtrl* TreeOfNotify(NMHDR* pHdr);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The tab strip's text for a cell; trees of the watch tab upper-case it.
    virtual void FixCellText(CString& /*str*/) {}
    BOOL IsBusy();

    afx_msg void OnDestroy();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    BOOL m_bDragging = FALSE;
    BOOL m_bFontSet = FALSE;
    I_ZIceMgr* m_pIceMgr = nullptr;
    C_IDEIceUIMgr* m_pUIMgr;
    CImageList* m_pDragImage = nullptr;
    CFont m_TabFont;
};

class C_IDEVariableListTab : public C_IDEListTab
{
public:
    using C_IDEListTab::C_IDEListTab;
    BOOL CanDragItem(UINT, HTREEITEM) override { return TRUE; }
    BOOL AllowsEditing() override { return TRUE; }
};

class C_IDEWatchListTab : public C_IDEListTab
{
public:
    using C_IDEListTab::C_IDEListTab;
    BOOL CanDragItem(UINT nID, HTREEITEM hItem) override;
    BOOL IsDropTarget() override { return TRUE; }
    BOOL AllowsEditing() override { return TRUE; }
    BOOL CanDeleteItem() override { return TRUE; }
    C_IDEIceTreeCtrl* CreatePageTree(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex) override;
    // Every watch page evaluates its items again.
    void RefreshWatch();

protected:
    void FixCellText(CString& str) override;
};

class C_IDEOptionListTab : public C_IDEListTab
{
public:
    using C_IDEListTab::C_IDEListTab;
    BOOL AllowsEditing() override { return TRUE; }
};

class C_IDEStackListTab : public C_IDEListTab
{
public:
    using C_IDEListTab::C_IDEListTab;
    BOOL CanDragItem(UINT, HTREEITEM) override { return TRUE; }
    BOOL AllowsEditing() override { return TRUE; }
};

// Calls fn (item index counted over all items, item, its block) for every shown item of a
// memory page, in page order; stops and answers FALSE at an item without a memory block,
// and stops early (TRUE) when fn answers FALSE.
BOOL ForEachShownMemoryItem(I_IceDebugPage* pPage,
                            const std::function<BOOL(int nItem, I_IceDebugItem* pItem, I_IceMemoryBlock* pBlock)>& fn);

// The bridge between one memory page's hex-edit control and the ICE.
class C_IDEMemoryEditAgent : public I_MemoryEditBridge
{
public:
    C_IDEMemoryEditAgent(C_IDEIceUIMgr* pUIMgr, I_IceDebugPage* pPage, int nPageIndex);
    virtual ~C_IDEMemoryEditAgent() = default;

    BOOL WriteMemory(DWORD nSpace, DWORD dwAddress, int nItem, int nOffset, int nValue) override;
    void ReadMemory(DWORD nSpace, DWORD dwAddress) override;

    void AttachWindow(C_IDEMemoryEditWnd* pWnd);
    BOOL BindPage(I_IceDebugPage* pPage);
    void Snapshot(BOOL bShown);
    BOOL HasChanged();
    C_IDEMemoryEditWnd* GetWindow() const { return m_pWnd; }
    I_IceDebugPage* GetPage() const { return m_pPage; }
    BOOL IsShown() const { return m_bShown; }

    // The unit code of the hex-edit blocks for an item kind.
    static int UnitOfKind(int nKind);

private:
    int m_nPageIndex;
    I_IceDebugPage* m_pPage;
    C_IDEIceUIMgr* m_pUIMgr;
    I_ZIceMgr* m_pIceMgr;
    C_IDEMemoryEdit* m_pMemoryEdit = nullptr;
    BOOL m_bShown = FALSE;
    C_IDEMemoryEditWnd* m_pWnd = nullptr;
    std::vector<DWORD> m_ItemShown;
};

class C_IDEMemoryListTab : public C_IDEListTab
{
public:
    using C_IDEListTab::C_IDEListTab;
    BOOL AddPage(I_IceDebugTarget* pTarget, I_IceDebugPage* pPage, int nIndex, UINT nID) override;
    void RemoveAllPages() override;
    BOOL AllowsEditing() override { return TRUE; }
    BOOL HasDisplayFormat() override { return FALSE; }
    BOOL Reload() override;
    int GetAgentCount() const { return (int)m_Agents.size(); }
    C_IDEMemoryEditAgent* GetAgent(int i) { return m_Agents[(size_t)i].get(); }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    std::vector<std::unique_ptr<C_IDEMemoryEditAgent>> m_Agents;
};

// A debug bar holding one list tab.
class C_IDEListBar : public TWKControlBar
{
    DECLARE_DYNCREATE(C_IDEListBar)
public:
    C_IDEListTab* m_pTab = nullptr;
    BOOL SetTab(C_IDEListTab* pTab);
    void AddContextMenuItems(CMenu* pMenu) override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDisplayDecimal();
    afx_msg void OnDisplayHex();
    afx_msg void OnDisplayBinary();
    afx_msg void OnDeleteWatch();
    void SetFormat(int nFormat);
    DECLARE_MESSAGE_MAP()
};
