// The workbook: an MDI frame that shows its child frames, the worksheets, as a
// row of tabs below an inset MDI client, like the sheet tabs of a spreadsheet.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"

class TWKWorkbook;

// The MDI client of a workbook: it keeps margins around itself for the border
// and the tabs.
class TWKWorkbookClient : public CWnd
{
    DECLARE_DYNAMIC(TWKWorkbookClient)
public:
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;

    void SetMargins(int nLeft, int nRight, int nTop, int nBottom);
    void GetMargins(int& nLeft, int& nRight, int& nTop, int& nBottom) const;
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

protected:
    afx_msg LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// What makes a child frame a worksheet. A second base of both sheet frames, so
// that the bar host keeps its own frame class and neither repeats the other.
class TWKSheet
{
public:
    HICON m_hIcon = nullptr;      // shown on the tab
    int m_nIndex = -1;            // place in the workbook's array
    BOOL m_bPressed = FALSE;      // a click on its tab is in progress

    virtual ~TWKSheet();
    virtual CMDIChildWnd* GetSheetFrame() = 0;
    TWKWorkbook* GetWorkbook();

protected:
    HICON m_hOwnIcon = nullptr;   // loaded by the sheet itself; a given icon stays its giver's

    void OnSheetLoaded(UINT nIDResource);
    void OnSheetDestroyed();
    void InvalidateSheetTab(BOOL bToRight);
    // bMenuBarOnly: the frame shows its menu through the menu bar, not as an MDI menu.
    void OnSheetMenuUpdated(BOOL bMenuBarOnly);
    void ReleaseIcon();
};

// A child frame registered with its workbook as a worksheet.
class TWKWorksheet : public TWKMDIChildWnd, public TWKSheet
{
    DECLARE_DYNCREATE(TWKWorksheet)
public:
    CMDIChildWnd* GetSheetFrame() override { return this; }
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;
    using TWKMDIChildWnd::OnUpdateFrameMenu;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    afx_msg void OnDestroy();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};

// The worksheet in which a bar floats inside the workbook.
class TWKControlBarWorksheet : public TWKControlBarMDIChildWnd, public TWKSheet
{
    DECLARE_DYNCREATE(TWKControlBarWorksheet)
public:
    BOOL m_bCreating = FALSE;     // the dock bar is being made

    CMDIChildWnd* GetSheetFrame() override { return this; }
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;
    using TWKControlBarMDIChildWnd::OnUpdateFrameMenu;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    afx_msg void OnDestroy();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};

class TWKWorkbook : public TWKMDIFrameWnd
{
    DECLARE_DYNCREATE(TWKWorkbook)
public:
    enum { kTabPoints = 7 };

    TWKWorkbook();
    ~TWKWorkbook() override;

    CPtrArray m_arrSheets;        // TWKSheet*, in registration order; not owned
    BOOL m_bWorkbookMode = FALSE;
    BOOL m_bShowIcons = TRUE;
    CFont m_fontTab;
    CPen m_penHighlight;
    CPen m_penBlack;
    CPen m_penShadow;
    CPen m_penFace;
    int m_nTabWidth = 100;
    int m_nTabHeight = 23;
    int m_nSlant = 2;
    int m_nActiveExtraWidth = 4;
    int m_nActiveExtraHeight = 2;
    int m_nMaxTabWidth = 90;
    CRect m_rectLayout;           // the area the bars left at the last layout
    int m_nLastActive = 0;
    CToolTipCtrl* m_pToolTip = nullptr;
    TWKWorkbookClient* m_pClient = nullptr;
    CString m_strSheetTitle;

    void SetWorkbookMode(BOOL bOn);
    void ToggleWorkbookMode() { SetWorkbookMode(!m_bWorkbookMode); }
    void OnUpdateWorkbookMode(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bWorkbookMode); }
    void SetShowIcons(BOOL bShow);
    void ToggleShowIcons() { SetShowIcons(!m_bShowIcons); }
    void OnUpdateShowIcons(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bShowIcons); }

    TWKSheet* GetSheet(INT_PTR i) const { return static_cast<TWKSheet*>(m_arrSheets[i]); }
    // The worksheet of a child frame; NULL for any other window.
    static TWKSheet* AsSheet(CWnd* pWnd);

    // New virtual operations, in slot order.
    virtual void GetTabAreaRect(LPRECT lpRect);
    virtual BOOL CanActivateSheet(TWKSheet* pSheet) { return TRUE; }
    virtual void AddSheet(TWKSheet* pSheet);
    virtual void RemoveSheet(TWKSheet* pSheet);
    virtual BOOL IsTitleFit(TWKSheet* pSheet);
    // Fills kTabPoints points; returns their count.
    virtual int GetTabPolygon(TWKSheet* pSheet, POINT* pPoints);
    virtual LPCSTR GetSheetTitle(TWKSheet* pSheet);
    virtual void GetTabTextRect(const POINT* pPoints, int cxIcon, LPRECT lpRect);
    virtual void DrawTab(CDC* pDC, TWKSheet* pSheet);
    virtual void DrawWorkbookBorder(CDC* pDC);
    virtual void DrawTabContents(CDC* pDC, TWKSheet* pSheet);
    virtual HICON GetSheetIcon(TWKSheet* pSheet) { return m_bShowIcons ? pSheet->m_hIcon : nullptr; }
    virtual void SetSheetIcon(TWKSheet* pSheet, HICON hIcon, BOOL bRedraw);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) override;
    CFrameWnd* CreateMDIFloatingFrame(DWORD dwStyle, CControlBar* pBar) override;

    // The MDI client's rectangle in this frame's client coordinates.
    CRect GetClientWndRect() const;
    // Invalidates a sheet's tab, with everything right of it when asked.
    void InvalidateTab(TWKSheet* pSheet, BOOL bToRight);
    void InvalidateTabRow();
    // The title as a tab of that text width shows it in the DC's font.
    static CString FitTitle(CDC* pDC, LPCSTR lpszTitle, int cx);

protected:
    // The sheet's place among the shown tabs.
    int TabPlace(TWKSheet* pSheet) const;
    BOOL RecalcTabWidth();
    BOOL TabHolds(TWKSheet* pSheet, CPoint point);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnTabLButtonUp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnTabRefresh(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Messages between the workbook, its client and its worksheets.
const UINT WM_TWK_TABREFRESH = WM_USER + 1101;
const UINT WM_TWK_CLIENTSETMENU = WM_USER + 1102;
