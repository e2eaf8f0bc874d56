// The framework's single-document frame: the MDI frame's docking, layout,
// menus, caption painting and workspace commands without its MDI parts. What
// both frames do alike lives in TWKFrameShared.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKDockBar.h"

class TWKBmpMenuInfo;
class TWKBmpMenuPlugIn;
class TWKBmpMgr;
class TWKControlBarManager;
class TWKMenuBar;
class TWKWndPlugIn;

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
    BOOL m_bBmpMenus = FALSE;
    BOOL m_bBmpMenus2 = FALSE;                // kept only
    TWKWndPlugIn* m_pMenuPlugIn = nullptr;    // made at creation; owned
    TWKWndPlugIn* m_pFramePlugIn = nullptr;   // owned
    BOOL m_bWin4;                             // the custom caption may be used
    BOOL m_bCustomCaption = FALSE;
    BOOL m_bCaptionActive = FALSE;
    int m_nCaptionTextAlign = 0;
    BOOL m_bClosing = FALSE;
    CRect m_rectLastInside;                   // client area the bars left at the last layout
    CPtrList m_listBarInfo;                   // bars a loaded layout created; owned

    BOOL HasMenuBar() const { return m_pMenuBar != nullptr; }
    TWKMenuBar* GetMenuBar() const { return m_pMenuBar; }
    // Takes effect only before the frame is created; the second flag is kept only.
    void EnableBmpMenus(BOOL bEnable, BOOL bSecond = FALSE)
    {
        m_bBmpMenus = bEnable;
        m_bBmpMenus2 = bSecond;
    }
    HMENU GetCurrentMenu();
    // The custom caption: off after construction, refused before Windows 4.
    BOOL EnableCustomCaption(BOOL bOn, BOOL bRedraw);
    void SetCaptionTextAlign(int nAlign, BOOL bRedraw);

    void EnableDocking(DWORD dwDockStyle, DWORD dwExtra = 0);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar = NULL, LPCRECT lpRect = NULL);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) override;
    // The first framework bar with that child id.
    TWKControlBar* GetControlBarByID(UINT nID);
    // Only with a menu bar and another id: the menu bar's menu becomes that one.
    void SwapMenu(UINT nID);

    // The bitmap-menu plug-in's operations; nothing (or NULL) without one.
    TWKBmpMenuPlugIn* GetBmpMenuPlugIn() const;
    void SetMenuBmpMgr(TWKBmpMgr* pMgr);
    TWKBmpMgr* GetMenuBmpMgr() const;
    void HandleInitMenuPopup(HMENU hPopup, LPARAM lParam);
    CFont* GetMenuFont();
    TWKBmpMenuInfo* GetMenuInfo(HMENU hMenu) const;

    // New virtual operations, in slot order.
    virtual CDockBar* CreateDockBar();
    virtual void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    virtual void DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth, int nLength);
    virtual void LoadBarState(LPCSTR lpszProfileName);
    virtual void SaveBarState(LPCSTR lpszProfileName);
    virtual void SetDockState(CDockState& state);
    virtual void GetDockState(CDockState& state);
    virtual TWKControlBarManager* GetControlBarManager() const { return m_pControlBarManager; }
    virtual void SetControlBarManager(TWKControlBarManager* pManager) { m_pControlBarManager = pManager; }
    virtual BOOL CreateItalicCaptionFont(CFont* pFont);
    virtual BOOL CreateCaptionFont(CFont* pFont);
    virtual void DrawCaption();
    virtual HMENU GetMenuByID(UINT nID);
    virtual void NotifyViewOfActivation(UINT nState, CWnd* pWndOther, BOOL bMinimized) {}
    virtual void OnEnterIdle(UINT nWhy, CWnd* pWho);
    virtual HMENU GetDefaultMenu() { return HasMenuBar() ? m_hMenuBarMenu : m_hMenuDefault; }
    virtual TWKWndPlugIn* CreateFramePlugIn(DWORD dwValue1, DWORD dwValue2, CRuntimeClass* pClass, DWORD dwValue3);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnClose();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnCaptionNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCaptionSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnGetMenu(WPARAM wParam, LPARAM lParam);
    afx_msg void OnWorkspaceCommand() {}
    afx_msg BOOL OnWorkspaceOpen(UINT) { return TRUE; }
    afx_msg void OnUpdateWorkspaceCommand(CCmdUI*) {}
    DECLARE_MESSAGE_MAP()
};

// The registered message that asks a frame for a popup of one of its menus
// (wParam the menu id, lParam the popup's index).
UINT TWKGetMenuMessage();
