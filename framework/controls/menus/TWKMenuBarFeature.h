// Menu tracking: makes a frame's menu bar behave like a window menu. Popups
// drop under their buttons (or the frame's system menu at its caption icon),
// Left and Right move between menus, Alt and Alt+letter give keyboard access.
// Hooks exist only while a popup is open or keyboard menu mode lasts.
#pragma once
#include "afx/afx.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKStdBtn.h"

class TWKMenuBar;
class TWKCustomToolBar;
class TWKBmpMgr;

// Posted to the frame to carry out a move to the neighbouring menu.
extern const UINT WM_TWK_MENUPROD;

// TWKTBNotify::nReserved of a drop request copied to the heap (freed after use).
#define TWK_TBNOTIFY_HEAP 1

class TWKMenuBarMessages
{
public:
    TWKMenuBarMessages() = default;
    virtual ~TWKMenuBarMessages();

    TWKMenuBar* m_pMenuBar = nullptr;     // the bar driven; nothing happens without it
    BOOL m_bKeyboardOpen = FALSE;         // the next popup comes from the keyboard: select its first item
    BOOL m_bMenuSelect = FALSE;           // WM_MENUSELECT seen since the last move request
    BOOL m_bMoveForward = FALSE;          // direction of the pending move request
    BOOL m_bAltUsed = FALSE;              // Alt went down in a popup: its release is no toggle

    virtual void MoveToAdjacentMenu(BOOL bForward);
    virtual void CancelMenus();
    virtual void SwapMenu(UINT nIDMenu);
    virtual void OpenSelectedMenu();
    virtual void TrackMenuMouse(POINT* pt);
    virtual void NoteAltKey();
    virtual BOOL OnCaptionIconClick(MSG* pMsg);
    virtual CWnd* GetFrameWnd() = 0;
    virtual void TrackButtonMenu(TWKCustomToolBar* pBar, HMENU hMenu, TWKTBNotify* pNotify);
    virtual void TrackSystemMenu(TWKCustomToolBar* pBar, HMENU hMenu, TWKTBNotify* pNotify);
    virtual void SetMsgFilterHook(BOOL bSet);
    virtual void SetMenuModeHooks(BOOL bSet);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    virtual LRESULT OnMenuProd(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, NMHDR* pNMHDR, LRESULT* pResult);
    virtual LRESULT OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
    virtual BOOL OnSysCommand(UINT nID, LPARAM lParam);
    virtual LRESULT OnNcActivate(BOOL bActive);

    // The process's tracking state (one user-interface thread).
    static BOOL IsPopupOpen();
    static BOOL HasMenuModeHooks();
    static BOOL HasMsgFilterHook();
    static TWKMenuBarMessages* GetTrackingObject();

    // The hook procedures; each acts only while a tracking object exists.
    static LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MsgFilterHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    // What the hooks do with a message; TRUE swallows it.
    static BOOL HandleKeyboard(UINT nVirtKey, LPARAM lKeyData);
    static BOOL HandleMouse(UINT message, POINT pt);
    static BOOL HandleMsgFilter(MSG* pMsg);

protected:
    // The frame's caption-icon rectangle as the system menu drops from it.
    void GetSysMenuIconRect(LPRECT pRect);
    // The popup a drop request names; *pbSysMenu when it is the frame's system menu.
    HMENU MenuOfDrop(const TWKTBNotify* pNotify, BOOL* pbSysMenu);
};

class TWKMenuBarFeature : public TWKBmpMenuPlugIn, public TWKMenuBarMessages
{
    DECLARE_DYNAMIC(TWKMenuBarFeature)
public:
    TWKMenuBarFeature();
    ~TWKMenuBarFeature() override;

    void SetMenuBar(TWKMenuBar* pBar) { m_pMenuBar = pBar; }
    CWnd* GetFrameWnd() override { return this; }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    using TWKMenuBarMessages::OnNotify;

protected:
    // The menu logic's operations, through its own (virtual) slots.
    TWKMenuBarMessages* Messages() { return this; }
    afx_msg LRESULT OnMenuSelectMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuProdMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitMenuPopupFeatureMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcActivateMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Makes the menu-bar feature of a frame with a menu bar and plugs it into the
// frame (any CFrameWnd); the frame feeds it its messages first and owns it.
// pBmpMgr (may be NULL) gives the popups the toolbar images. NULL on failure.
TWKMenuBarFeature* TWKInstallMenuBarFeature(CFrameWnd* pFrame, TWKMenuBar* pBar, TWKBmpMgr* pBmpMgr = NULL);
