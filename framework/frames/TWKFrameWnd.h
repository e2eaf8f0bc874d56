// The framework's single-document frame: the MDI frame's docking, layout and
// workspace commands without its MDI parts.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKDockBar.h"

class TWKControlBarManager;
class TWKMenuBar;

class TWKFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(TWKFrameWnd)
public:
    TWKFrameWnd();
    ~TWKFrameWnd() override;

    TWKControlBarManager* m_pControlBarManager = nullptr;   // not owned
    TWKMenuBar* m_pMenuBar = nullptr;         // set before the window is made; not owned
    HMENU m_hMenuBarMenu = nullptr;           // the menu the menu bar shows; owned
    UINT m_nMenuBarMenuID = 0;
    BOOL m_bClosing = FALSE;
    CRect m_rectLastInside;                   // client area the bars left at the last layout

    BOOL HasMenuBar() const { return m_pMenuBar != nullptr; }
    void EnableDocking(DWORD dwDockStyle, DWORD dwExtra = 0);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar = NULL, LPCRECT lpRect = NULL);
    // The first framework bar with that child id.
    TWKControlBar* GetControlBarByID(UINT nID);
    // Only with a menu bar and another id: the menu bar's menu becomes that one.
    void SwapMenu(UINT nID);

    // New virtual operations.
    virtual CDockBar* CreateDockBar();
    virtual void DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth, int nLength);
    virtual TWKControlBarManager* GetControlBarManager() const { return m_pControlBarManager; }
    virtual void SetControlBarManager(TWKControlBarManager* pManager) { m_pControlBarManager = pManager; }
    virtual HMENU GetMenuByID(UINT nID);
    virtual void NotifyViewOfActivation(UINT nState, CWnd* pWndOther, BOOL bMinimized) {}
    virtual HMENU GetDefaultMenu() { return HasMenuBar() ? m_hMenuBarMenu : m_hMenuDefault; }

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

protected:
    afx_msg void OnClose();
    afx_msg LRESULT OnGetMenu(WPARAM wParam, LPARAM lParam);
    afx_msg void OnWorkspaceCommand() {}
    afx_msg BOOL OnWorkspaceOpen(UINT) { return TRUE; }
    afx_msg void OnUpdateWorkspaceCommand(CCmdUI*) {}
    DECLARE_MESSAGE_MAP()
};

// The registered message that asks a frame for a popup of one of its menus
// (wParam the menu id, lParam the popup's index).
UINT TWKGetMenuMessage();
