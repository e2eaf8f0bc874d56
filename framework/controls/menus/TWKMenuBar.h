// The menu bar: a customisable toolbar whose buttons are the top-level items
// of the application's menus, showing the buttons of the active menu only.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"

// The menu-bar button of every menu item: command ids from here up.
#define TWK_MENUBTN_FIRSTID 0x80000001u
// Style of the menu buttons.
#define TWK_MENUBTN_STYLE   0x30000000u
// The frame resource of a host of a floated bar: shows the main frame's menu.
#define TWK_IDR_BARHOST_MENU 20514

class TWKMenuBar : public TWKCustomToolBar
{
    DECLARE_DYNCREATE(TWKMenuBar)
public:
    TWKMenuBar();
    ~TWKMenuBar() override;

    CMap<UINT, UINT, DWORD, DWORD> m_mapMenuBits;
    CStringArray m_arrMenuText;
    BOOL m_bRemoveSysMenu = FALSE;
    HFONT m_hMenuFont = nullptr;
    DWORD m_dwMenuBits = 0xFFFFFFFF;
    UINT m_nCurMenuID = 0;
    BOOL m_bFullWidth = FALSE;        // nothing sets it
    BOOL m_bIgnoreNextHide = FALSE;

    // The button-map table of the menus' top-level items (new[], ended by an
    // entry without a class), filling pBar's texts and bits; NULL when no
    // menu yields an item. The count of entries goes to *pnEntries.
    static TWKBtnMapEntry* BuildMenuTable(TWKMenuBar* pBar, int nCount, const UINT* pIDs, int* pnEntries);

    // Overrides.
    void DelayShow(BOOL bShow) override;
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = NULL) override;
    BOOL Create(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = NULL) override;
    void InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoUpdate = FALSE) override;
    HFONT GetMenuFont() const override { return m_hMenuFont; }
    BOOL IsCoolLook() const override { return TRUE; }

    // New virtual operations, in slot order.
    virtual int FindMnemonicButton(char ch);
    virtual void SetMenuBits(DWORD dwBits, BOOL bRedraw);
    virtual void ResetMenus(BOOL bNoRedraw);
    virtual BOOL SetMenuInfo(int nCount, UINT nIDMenu, ...);

    BOOL ActivateMenu(UINT nIDMenu);
    UINT GetCurMenuID() const { return m_nCurMenuID; }
    void SetIgnoreNextHide(BOOL bIgnore) { m_bIgnoreNextHide = bIgnore; }
    BOOL GetIgnoreNextHide() const { return m_bIgnoreNextHide; }
    // Menu tracking's part of the bar.
    void DropSystemMenu();
    void OpenSelectedMenu();
    void GoToAdjacentMenu(BOOL bForward);
    // The menu bit of a menu button, 0 for any other button.
    static DWORD GetButtonMenuBit(const TWKStdBtn* pBtn);

protected:
    void RelayoutFrame();
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    DECLARE_MESSAGE_MAP()
};
