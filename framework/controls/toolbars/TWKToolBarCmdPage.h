// The Commands page of the toolbar customisation sheet: categories of
// buttons (a toolbar of them) and of menu commands (a list of them); a click
// shows a command's description, a drag copies it onto a frame toolbar.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"

class TWKToolBarManager;

// One category: its window (owned), its name and its command ids (the
// caller's, not copied).
class TWKBtnGroup : public CObject
{
    DECLARE_DYNAMIC(TWKBtnGroup)
public:
    TWKBtnGroup(LPCSTR lpszName, int nCount, const UINT* pIDs);
    ~TWKBtnGroup() override;

    CWnd* m_pWnd = nullptr;
    CString m_strName;
    int m_nCount;
    const UINT* m_pIDs;

    // New virtual operations, in slot order.
    virtual BOOL Create(CWnd* pParent, TWKToolBarManager* pMgr, UINT nID);
    virtual void SetRect(CRect* pRect) {}
    virtual void Activate(BOOL bActive) {}

protected:
    // Replaces the window object (the old window goes with it).
    void SetWnd(CWnd* pWnd);
};

// A toolbar of buttons, shown as a TWKCustomizeToolBar.
class TWKTBBtnGroup : public TWKBtnGroup
{
    DECLARE_DYNAMIC(TWKTBBtnGroup)
public:
    using TWKBtnGroup::TWKBtnGroup;
    BOOL Create(CWnd* pParent, TWKToolBarManager* pMgr, UINT nID) override;
    void SetRect(CRect* pRect) override;
    void Activate(BOOL bActive) override;
};

// A list of menu commands, shown as a TWKMenuListBox.
class TWKMenuBtnGroup : public TWKBtnGroup
{
    DECLARE_DYNAMIC(TWKMenuBtnGroup)
public:
    using TWKBtnGroup::TWKBtnGroup;
    BOOL Create(CWnd* pParent, TWKToolBarManager* pMgr, UINT nID) override;
};

// The page's own toolbar: its buttons are always copied out of it and
// nothing is dropped onto it.
class TWKCustomizeToolBar : public TWKCustomToolBar
{
    DECLARE_DYNCREATE(TWKCustomizeToolBar)
public:
    TWKCustomizeToolBar();

    void BalanceRows(int nRows, TWKToolBarRow* pRows) override {}
    BOOL IsCopyKeyDown() const override { return TRUE; }
    BOOL CanAcceptDrop() const override { return FALSE; }
    // Lays the buttons out in the rectangle's width.
    virtual void SetRect(CRect* pRect);
};

class TWKMenuListBox : public CListBox
{
    DECLARE_DYNAMIC(TWKMenuListBox)
public:
    TWKMenuListBox();

    TWKToolBarManager* m_pManager = nullptr;
    // Platforms before version 4 have no item hit test of their own.
    BOOL bOwnHitTest;

    // The item under a point (client coordinates); bOutside when the point
    // is outside the items.
    virtual int ItemHitTest(CPoint pt, BOOL& bOutside) const;

protected:
    int OwnHitTest(CPoint pt, BOOL& bOutside) const;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class TWKToolBarCmdPage : public CPropertyPage
{
    DECLARE_DYNCREATE(TWKToolBarCmdPage)
public:
    // The groups, owned.
    class CGroupArray : public CObArray
    {
    public:
        TWKBtnGroup* GetAt(INT_PTR i) const { return static_cast<TWKBtnGroup*>(CObArray::GetAt(i)); }
    };

    TWKToolBarCmdPage();
    TWKToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption);
    TWKToolBarCmdPage(LPCSTR lpszTemplateName, UINT nIDCaption);
    ~TWKToolBarCmdPage() override;

    CGroupArray groups;

    void SetManager(TWKToolBarManager* pMgr);
    TWKToolBarManager* GetManager() const { return m_pManager; }
    void AddToolBarGroup(LPCSTR lpszName, int nCount, const UINT* pIDs);
    void AddMenuGroup(LPCSTR lpszName, int nCount, const UINT* pIDs);
    // A menu group of the menu bar's buttons in its current menu.
    void AddMenuBarGroup(LPCSTR lpszName);
    // The command's prompt in the description field.
    void ShowDescription(UINT nID);
    int GetCurGroup() const { return m_nCurGroup; }

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnReset() override;

protected:
    TWKToolBarManager* m_pManager = nullptr;
    int m_nCurGroup = -1;
    CPtrArray m_arrMenuBarIDs;        // UINT[] of the menu-bar groups, owned

    void DeleteGroups();

    afx_msg void OnCategoryChange();
    afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
