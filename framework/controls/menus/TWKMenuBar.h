// The menu bar: a customisable toolbar whose buttons are the top-level items
// of the application's menus, showing the buttons of the active menu only.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"

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

// The command id of the caption buttons of a maximised MDI child.
#define TWK_CAPTIONBTN_ID 0x80000000u

// The minimise, restore and close buttons of a maximised MDI child, as one
// button of three parts.
class TWKBtnCaption : public TWKStdBtn
{
    DECLARE_BUTTON_CLASS(TWKBtnCaption)
public:
    TWKBtnCaption();
    ~TWKBtnCaption() override = default;

    DWORD m_dwCaptionStyle = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;   // the child's
    int m_cxPart;
    int m_cyPart;
    int m_nPressedPart = -1;          // 0 minimise, 1 restore, 2 close, -1 none

    void AdjustSize() override;
    BOOL LButtonDown(int px, int py) override;
    void MouseMove(int px, int py) override;
    void CancelMode() override;
    UINT LButtonUp(int px, int py) override;
    void DrawFace(TWKBtnDrawData& data, BOOL bNoState, int& x, int& y, int& cx, int& cy, int nImageWidth) override;
    BOOL CanDrag() override { return FALSE; }

    // The part at a point of the toolbar's client area; -1 for none.
    int HitTestPart(int px, int py) const;
    // A part's rectangle for the button at (x, y).
    void GetPartRect(int nPart, int x, int y, LPRECT lpRect) const;
};

// The system-menu icon of a maximised MDI child.
class TWKCapMenuBtn : public TWKTBMenuBtn
{
    DECLARE_BUTTON_CLASS(TWKCapMenuBtn)
public:
    TWKCapMenuBtn();
    ~TWKCapMenuBtn() override = default;

    HICON m_hIcon = nullptr;          // the child's, not owned

    void AdjustSize() override;
    void DrawFace(TWKBtnDrawData& data, BOOL bNoState, int& x, int& y, int& cx, int& cy, int nImageWidth) override;
    BOOL CanDrag() override { return FALSE; }
    // Drops the active child's system menu.
    LRESULT DropMenu() override;
};

// The menu bar of an MDI frame: a maximised child's icon first and its
// caption buttons last.
class TWKMDIMenuBar : public TWKMenuBar
{
    DECLARE_DYNCREATE(TWKMDIMenuBar)
public:
    TWKMDIMenuBar();
    ~TWKMDIMenuBar() override;

    // Part of the bar, never deleted with the other buttons.
    TWKBtnCaption m_btnCaption;
    TWKCapMenuBtn m_btnCapMenu;

    void GetBarInfoEx(TWKControlBarInfo* pInfo) override;
    void SetBarInfoEx(TWKControlBarInfo* pInfo, CFrameWnd* pFrame) override;
    BOOL SetButtons(const UINT* pIDs, int nCount) override;
    void RemoveAllButtons() override;
    BOOL DropButton(LPRECT pRect, TWKStdBtn* pBtn, BOOL bCopy, BOOL bNoUpdate) override;
    void ResetMenus(BOOL bNoRedraw) override;

    // New virtual operations, in slot order.
    // Shows or hides the caption buttons for the active child; TRUE when
    // something changed.
    virtual BOOL UpdateCaptionButtons(BOOL bHide);
    virtual void SetMenuBitsAndCaption(DWORD dwBits);

    // The active MDI child of the frame the bar belongs to.
    CMDIChildWnd* GetActiveMDIChild() const;

protected:
    void AddCaptionButtons();
    void TakeOutCaptionButtons();
    void ShowCaptionButton(TWKStdBtn* pBtn, BOOL bShow);
};
