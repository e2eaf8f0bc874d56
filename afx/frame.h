// Frame windows: CFrameWnd with the bar layout protocol (WM_SIZEPARENT),
// CMDIFrameWnd, CMDIChildWnd and the mini (tool-window) frame.
#pragma once
#include <windows.h>
#include "afx/wnd.h"
#include "afx/collections.h"

class CView;
class CDocument;
class CDocTemplate;
class CControlBar;
class CDockBar;
class CMiniDockFrameWnd;
class CMDIChildWnd;
struct CPrintPreviewState;

// What a frame needs to make its view (handed through LoadFrame/Create).
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// lParam of WM_SIZEPARENT. hDWP NULL: a query, nothing moves.
struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;
    RECT rect;        // what is left for the next bar (and the pane at the end)
    SIZE sizeTotal;   // the space the bars took
    BOOL bStretch;    // bars stretch along their edge
};

// Moves a bar to rect within the layout's deferred batch (nothing in a query).
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

// Frame styles.
#define FWS_ADDTOTITLE      0x00008000L
#define FWS_PREFIXTITLE     0x00004000L
#define FWS_SNAPTOBARS      0x00002000L

// Mini-frame styles.
#define MFS_SYNCACTIVE      0x00000100L
#define MFS_4THICKFRAME     0x00000200L
#define MFS_THICKFRAME      0x00000400L
#define MFS_MOVEFRAME       0x00000800L
#define MFS_BLOCKSYSMENU    0x00001000L

// Messages to floating windows and frames.
#define WM_FLOATSTATUS      0x036D
#define FS_SHOW             0x01
#define FS_HIDE             0x02
#define FS_ACTIVATE         0x04
#define FS_DEACTIVATE       0x08
#define FS_ENABLE           0x10
#define FS_DISABLE          0x20
#define FS_SYNCACTIVE       0x40

// Frame flags (m_nFrameFlags).
#define WF_STAYACTIVE       0x0020
#define WF_STAYDISABLED     0x0040

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;   // CW_USEDEFAULT placement

    // Idle work (m_nIdleFlags).
    enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    // RepositionBars modes.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };

    UINT m_nIDHelp = 0;               // the resource id the frame was loaded from
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    CPtrList m_listControlBars;       // every bar whose dock site is this frame
    UINT m_nIdleFlags = 0;
    BOOL m_bInRecalcLayout = FALSE;
    CRect m_rectBorder;               // extra border space asked for by bars
    CRuntimeClass* m_pFloatingFrameClass = nullptr;
    UINT m_nFrameFlags = 0;           // WF_*
    BOOL m_bAutoMenuEnable = TRUE;
    int m_nWindow = -1;               // ":%d" in the title when above 0
    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    UINT m_nIDTracking = 0;           // menu item whose prompt is shown
    UINT m_nIDLastMessage = 0;        // last prompt shown in the status bar
    HMENU m_hMenuAlt = nullptr;

    BOOL IsFrameWnd() const override { return TRUE; }

    // Creation.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CWnd* pParentWnd = NULL, LPCSTR lpszMenuName = NULL,
                        DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
    // Title = first '\n' part of string nIDResource; icon, menu and accelerators
    // of the same id. Without a context WM_INITIALUPDATE goes to the descendants.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    BOOL LoadAccelTable(LPCSTR lpszResourceName);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // The view named by the context, as the pane 0xE900.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = 0xE900);
    virtual void ActivateFrame(int nCmdShow = -1);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    // Layout.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    // WM_SIZEPARENT to every child with an id in [first, last] except the
    // left-over one, which gets the rest (unless reposNoPosLeftOver).
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags = reposDefault,
                        LPRECT lpRectParam = NULL, LPCRECT lpRectClient = NULL, BOOL bStretch = TRUE);
    static void RepositionBars(CWnd* pParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver,
                               UINT nFlags, LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch);
    virtual BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);
    enum BorderCmd { borderGet = 1, borderRequest = 2, borderSet = 3 };

    // Control bars.
    CControlBar* GetControlBar(UINT nID);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000 /*CBRS_ALIGN_TOP*/);
    // The alignment bit of the first edge dock bar (top, bottom, left, right)
    // allowed by the style whose window meets the rectangle; 0 when none.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = NULL);
    virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    // Virtual: dock bars and bars hold their frame as a CFrameWnd*.
    virtual void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    void NotifyFloatingWindows(DWORD dwFlags);

    // Views and documents.
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CFrameWnd* GetActiveFrame();
    virtual CDocument* GetActiveDocument();

    // Title and menus.
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    virtual HACCEL GetDefaultAccelerator();
    virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);
    BOOL IsTracking() const;

    // Status line.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    CWnd* GetMessageBar();
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);

    // Close sequence: the save queries of the documents the frame shows
    // (all of them for the main window). FALSE keeps the frame open.
    virtual BOOL CanCloseFrameDocs();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    // Idle update: pending layout, title and menu.
    void OnIdleUpdateCmdUIWork();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    // Help: F1 (WM_HELP), ID_HELP and WM_COMMANDHELP end in the application's WinHelp.
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnHelp();
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    // View > Toolbar / Status Bar (a bar whose id is the command's).
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg BOOL OnBarCheck(UINT nID);
    // The status bar's key panes: on while the key's toggle is.
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient = nullptr;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    // The MDI client (id 0xE900) with the window menu as its list of children.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // The popup that lists the children: the last popup holding one of the
    // Window commands (0xE130-0xE13F); NULL when none.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = NULL) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDINext();
    void MDIRestore(CWnd* pWnd);
    void MDICascade();
    void MDICascade(int nType);
    void MDITile();
    void MDITile(int nType);
    void MDIIconArrange();
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    HACCEL GetDefaultAccelerator() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    afx_msg void OnWindowNew();
    afx_msg void OnUpdateWindowNew(CCmdUI* pCmdUI);
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    HMENU m_hMenuShared = nullptr;    // the document template's menu

    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = NULL,
                        CCreateContext* pContext = NULL);
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    void SetHandles(HMENU hMenu, HACCEL hAccel) { m_hMenuShared = hMenu; m_hAccelTable = hAccel; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActiveWnd, HMENU hMenuAlt);
    using CFrameWnd::OnUpdateFrameMenu;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

protected:
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};

// A tool-window frame: small caption, thick or thin sizing border.
class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = NULL, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd = NULL, UINT nID = 0);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Grows a client rectangle to the window rectangle of a captioned,
    // thick-framed tool window.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION, DWORD dwExStyle = 0);
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

    BOOL m_bSysTracking = FALSE;
    BOOL m_bInSys = FALSE;
    BOOL m_bActive = FALSE;

protected:
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(CPoint point);

    DECLARE_MESSAGE_MAP()
};
