// The framework's MDI main frame: docking with framework dock bars at a row
// and column, default dock places, bar notifications, caption filters,
// command routing through an active dockable frame and a frame plug-in.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKMsgFilter.h"

class TWKControlBarManager;
class TWKMenuBar;
class TWKWndPlugIn;
class TWKBmpMenuPlugIn;

// Sent to a frame: wParam a menu resource id, lParam a top-level index; the
// answer is that popup's handle or NULL.
extern const UINT WM_TWKGETMENU;

class TWKMDIFrameWnd : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(TWKMDIFrameWnd)
public:
    TWKMDIFrameWnd();
    ~TWKMDIFrameWnd() override;

    // Filter ids of the frame's descriptor table.
    enum { filterSysCommand = 257, filterCaptionList = 256, filterMaxChildButton = 260, filterMaxChildDblClk = 261 };

    CRect m_rectLastInside;                   // client area the bars left at the last layout
    CRuntimeClass* m_pDockBarClass = nullptr;
    CRuntimeClass* m_pMDIHostClass = nullptr;
    CPoint m_ptCascade;                       // next MDI-floated bar without a position
    CFrameWnd* m_pActiveDockableFrame = nullptr;
    TWKControlBarManager* m_pControlBarManager = nullptr;   // not owned
    BOOL m_bInViewActivation = FALSE;
    int m_nCaptionTextAlign = 0;
    BOOL m_bCaptionActive = FALSE;
    BOOL m_bCustomCaption = FALSE;
    TWKMsgFilter* m_pFilterRoot;
    TWKMsgFilter::DescriptorTable m_filterTable;
    TWKMsgFilter::Descriptor* m_pCaptionListDescriptor;
    BOOL m_bMDIFloatToggle = FALSE;           // set by the dock context while it toggles
    TWKMenuBar* m_pMenuBar = nullptr;         // not owned
    TWKWndPlugIn* m_pMenuPlugIn = nullptr;
    BOOL m_bBmpMenus = FALSE;
    BOOL m_bBmpMenus2 = FALSE;
    HMENU m_hMenuBarMenu = nullptr;
    CMap<UINT, UINT, HMENU, HMENU> m_mapMenus;
    UINT m_nDefaultMenuID = 0;
    UINT m_nFrameMenuID = 0;
    CPtrList m_listBarInfo;                   // bars a loaded layout created
    TWKWndPlugIn* m_pFramePlugIn = nullptr;
    BOOL m_bWin4;
    CDWordArray m_arrDockOrder;               // dock-bar ids; 0 starts a new row
    int m_nDockOrderIndex = 0;

    BOOL HasMenuBar() const { return m_pMenuBar != nullptr; }
    TWKMenuBar* GetMenuBar() const { return m_pMenuBar; }
    // Takes effect only before the frame is created; the second flag is kept only.
    void EnableBmpMenus(BOOL bEnable, BOOL bSecond = FALSE)
    {
        m_bBmpMenus = bEnable;
        m_bBmpMenus2 = bSecond;
    }
    // The menu plug-in when it is the bitmap-menu plug-in, else NULL.
    TWKBmpMenuPlugIn* GetBmpMenuPlugIn() const;
    HMENU GetCurrentMenu();
    // Loads each of nCount menu resources (the ids follow) into the menu map;
    // FALSE at the first that cannot be loaded, the earlier ones staying.
    BOOL LoadMenus(int nCount, ...);
    // The custom caption: off after construction, refused before Windows 4.
    BOOL EnableCustomCaption(BOOL bOn, BOOL bRedraw);
    void SetCaptionTextAlign(int nAlign, BOOL bRedraw);
    void EnableDocking(DWORD dwDockStyle, DWORD dwExtra = 0);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar = NULL, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect = NULL);
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar = NULL, LPCRECT lpRect = NULL);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) override;
    // The drag context's float: always a new floating frame, shown, the bar
    // returning to its placeholder there.
    void ReFloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // The edge dock bar that takes a bar of that alignment.
    CDockBar* FindDockBarForAlign(DWORD dwAlign);

    // New virtual operations, in slot order.
    virtual CDockBar* CreateDockBar();
    virtual void DockControlBarAt(CControlBar* pBar, const TWKDockPos* pPos, UINT nDockBarID, const TWKDockSize* pSize);
    virtual void DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth, int nLength);
    virtual void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    virtual void FloatControlBarAsMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    virtual CFrameWnd* CreateMDIFloatingFrame(DWORD dwStyle, CControlBar* pBar);
    virtual void ActivateDockableFrame(CFrameWnd* pFrame);
    virtual void DeactivateDockableFrame(BOOL bReactivateMDI);
    virtual void LoadBarState(LPCSTR lpszProfileName);
    virtual void SaveBarState(LPCSTR lpszProfileName);
    virtual void SetDockState(CDockState& state);
    virtual void GetDockState(CDockState& state);
    virtual TWKControlBarManager* GetControlBarManager() const { return m_pControlBarManager; }
    virtual void SetControlBarManager(TWKControlBarManager* pManager) { m_pControlBarManager = pManager; }
    virtual BOOL CreateItalicCaptionFont(CFont* pFont);
    virtual BOOL CreateCaptionFont(CFont* pFont);
    virtual void DrawCaption();
    virtual void EnableCaptionControls(BOOL bEnable);
    virtual HMENU GetDefaultMenu();
    virtual void SwapMenu(UINT nID);
    virtual void RefreshMenuBarMDIButtons();
    virtual void UpdateMDIWindowMenu();
    virtual CWnd* GetMenuBarWnd();
    virtual TWKWndPlugIn* CreateFramePlugIn(DWORD dwValue1, DWORD dwValue2, CRuntimeClass* pClass, DWORD dwValue3);
    virtual CFrameWnd* GetEmbeddedFrame(CControlBar* pBar);
    virtual void SetEmbeddedFrameStyle(CFrameWnd* pFrame, BOOL bFloating);
    virtual void FitEmbeddedFrame(CFrameWnd* pFrame);
    virtual void NotifyViewOfActivation(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    virtual HMENU GetMenuByID(UINT nID);
    // Always 0; the place comes through the out-parameters.
    virtual int GetNextDefaultDockPos(UINT* pnDockBarID, TWKDockPos* pPos, TWKDockSize* pSize);
    virtual void OnEnterIdle(UINT nWhy, CWnd* pWho);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    CFrameWnd* GetActiveFrame() override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) override;
    // The active dockable frame's menu comes before an MDI child's.
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;

    // Handlers the application's frame calls from its own.
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnClose();

protected:
    void SetDockOrder();
    void InstallMenuPlugIn();
    void AttachMenuBarMenu(UINT nIDResource);
    // The menu bar laid out again after its caption buttons changed.
    void RelayoutMenuBar();
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void NotifyBeforeDock(CControlBar* pBar);
    void NotifyAfterDock(CControlBar* pBar);
    void EmbeddedFrameDocks(CControlBar* pBar);
    void FloatInNewFrame(CControlBar* pBar, CPoint point, DWORD dwStyle, BOOL bReFloat);

    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnBarContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFilteredMouse(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnCaptionSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCaptionNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnWorkspaceCommand();
    afx_msg BOOL OnWorkspaceOpen(UINT nID);
    afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg LRESULT OnGetMenu(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
