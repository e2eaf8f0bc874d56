// The status bar on the framework's control bar: the system status window
// with panes of id, width, style and text, updated through command UI; and
// the custom bar with owner-drawn panes (colours, alignment, bitmaps,
// cursors), child windows in panes and a progress mode.
#pragma once
#include "afx/afx.h"
#include "afx/afxres.h"
#include "framework/frames/TWKControlBar.h"

class TWKProgressCtrl;

// Pane styles (the low 16 bits go to the window as the drawing type).
#ifndef SBPS_NORMAL
#define SBPS_NORMAL         0x0000
#define SBPS_NOBORDERS      0x0100   // SBT_NOBORDERS
#define SBPS_POPOUT         0x0200   // SBT_POPOUT
#define SBPS_OWNERDRAW      0x1000   // SBT_OWNERDRAW
#define SBPS_DISABLED       0x04000000
#define SBPS_STRETCH        0x08000000
#endif

// Attribute and exchange-record bits of the custom bar.
#define TWKSB_ID            0x0001
#define TWKSB_STYLE         0x0002
#define TWKSB_WIDTH         0x0004
#define TWKSB_TEXT          0x0008
#define TWKSB_ALIGN         0x0010
#define TWKSB_TEXTCOLOR     0x0020
#define TWKSB_BKCOLOR       0x0040
#define TWKSB_BITMAP        0x0080
#define TWKSB_CURSOR        0x0100
#define TWKSB_ATTRIBUTES    0x01F0

// Placement of a window in a pane.
#define TWKSB_KEEPWIDTH     0x0001   // the control keeps its own width
#define TWKSB_KEEPHEIGHT    0x0002   // the control keeps its own height
#define TWKSB_INSET         0x0004   // one pixel in from the pane where not kept

class TWKStatusBar : public TWKControlBar
{
    DECLARE_DYNAMIC(TWKStatusBar)
public:
    TWKStatusBar();
    ~TWKStatusBar() override;

    // One pane (the bar's m_pData holds m_nCount of them).
    struct Pane {
        UINT nID;
        int cxText;
        UINT nStyle;
        UINT nFlags;       // SBPF_UPDATE: the text still has to reach the window
        CString strText;
    };
    enum { SBPF_UPDATE = 0x0001 };

    int m_nMinHeight = 0;   // the last SB_SETMINHEIGHT

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    virtual BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    BOOL SetPaneWidth(int nIndex, int cxWidth);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const;
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // New virtual operation: draws an owner-drawn pane (nothing here).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}

protected:
    // Added to every pane's drawing type when its text is sent.
    UINT m_nDrawType = 0;

    Pane* GetPanePtr(int nIndex) const { return static_cast<Pane*>(m_pData) + nIndex; }
    void FreePanes();
    // The pane whose id is 0 (the message pane), or NULL.
    Pane* MessagePane() const;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The command-UI object with which the bar updates a pane.
class TWKStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCSTR lpszText) override;
};

// What GetPaneInfoEx fills and SetPaneInfoEx takes; the mask says which
// fields count (TWKSB_* bits).
struct TWKStatusPaneInfo {
    int nIndex = 0;
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    CString strText;
    COLORREF clrText = 0;
    COLORREF clrBackground = 0;
    CBitmap* pBitmap = nullptr;   // not owned
    HCURSOR hCursor = nullptr;
    UINT nAlign = 0;              // TA_LEFT, TA_RIGHT or TA_CENTER
    DWORD dwMask = 0;
};

class TWKCustomStatusBar : public TWKStatusBar
{
    DECLARE_DYNAMIC(TWKCustomStatusBar)
public:
    TWKCustomStatusBar();
    ~TWKCustomStatusBar() override;

    // Drawing attributes of one pane.
    struct PaneAttributes {
        COLORREF clrText;
        COLORREF clrBackground;
        CBitmap* pBitmap;   // not owned
        HCURSOR hCursor;
        UINT nAlign;
        DWORD dwFlags;      // TWKSB_ATTRIBUTES bits that are set
    };

    TWKProgressCtrl* m_pProgress = nullptr;        // owned; only in progress mode
    TWKStatusPaneInfo* m_pSavedFirstPane = nullptr; // pane 0 before progress mode; owned
    PaneAttributes* m_pAttributes = nullptr;       // one per pane; owned
    CPtrArray m_arrPaneControls;                   // CWnd* by pane; not owned
    CDWordArray m_arrPaneControlFlags;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount) override;
    void GetPaneInfoEx(TWKStatusPaneInfo* pInfo) const;
    void SetPaneInfoEx(TWKStatusPaneInfo* pInfo, BOOL bFitBitmap);
    // nMode 0 fits the window to the pane, 1 sizes the pane to the window.
    void SetPaneControl(int nIndex, CWnd* pWnd, int nMode, UINT nFlags = 0);
    CWnd* GetPaneControl(int nIndex) const;
    UINT GetPaneControlFlags(int nIndex) const;
    TWKProgressCtrl* GetProgressCtrl() const { return m_pProgress; }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // New virtual operations, in slot order.
    virtual BOOL InitProgress(LPCSTR lpszPrompt, int nLower, int nUpper, BOOL bReset, DWORD dwProgressStyle);
    virtual void EndProgress();
    virtual void ShowPaneControls(BOOL bShow);
    virtual void RepositionPaneControls();

protected:
    // A pane's drawing area: inside the borders, between the parts' edges.
    void GetPaneRect(int nIndex, LPRECT lpRect) const;

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
