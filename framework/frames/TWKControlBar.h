// The framework's dockable bar: remembered sizes, a width fraction in its
// dock-bar row, an extended style (gripper, buttons, margins, flat look),
// docking notifications and the saved-layout record.
#pragma once
#include "afx/afx.h"

class TWKControlBarInfo;
class TWKControlBarManager;
class TWKDockBar;

// Extended style bits.
#define CBX_CONTEXTMENU     0x0001L   // right click shows the bar's context menu
#define CBX_SCALECHILDREN   0x0002L   // children move in proportion when the bar is sized
#define CBX_FIXEDSIZE       0x0004L   // placed like a toolbar, not by fraction
#define CBX_3DBORDERS       0x0008L   // borders in shadow and highlight
#define CBX_MARGINS         0x0010L   // inner margins around the child area
#define CBX_MDIFLOAT        0x0020L   // "Float In Main Window" in the context menu
#define CBX_FILLCHILD       0x0040L   // the first child fills the inside area
#define CBX_OWNROW          0x0080L   // never shares a dock-bar row
#define CBX_COOLLOOK        0x0100L   // flat look; the gripper is drawn only in it
#define CBX_GRIPPER         0x0200L   // a gripper strip while docked
#define CBX_CLOSEBUTTON     0x0400L   // a close button in the gripper
#define CBX_EXPANDBUTTON    0x0800L   // an expand/contract button in the gripper

// Sent to the dock site before the context menu shows: wParam the bar,
// lParam the CMenu*; the frame may append items.
#define WM_TWK_BARCONTEXTMENU   (WM_USER + 13567)

// Tool ids of the gripper buttons.
#define TWK_TOOL_CLOSE      1024
#define TWK_TOOL_EXPAND     2048

// Gripper metrics and tip texts.
class TWKGripperInfo : public CObject
{
public:
    TWKGripperInfo();

    // Per orientation: offset of the first line, its width, gap, second line, space after.
    int m_horz[5];
    int m_vert[5];
    int m_nMargin;   // between the gripper buttons and the bar's other edges
    CString m_strHide;
    CString m_strExpand;
    CString m_strContract;

    int GetGripperWidth() const;    // horizontal bar: across the strip
    int GetGripperHeight() const;   // vertical bar
};

class TWKControlBar : public CControlBar
{
    DECLARE_DYNCREATE(TWKControlBar)
public:
    TWKControlBar();
    ~TWKControlBar() override;

    // One recorded child: entry 0 holds no window and the bar's client rectangle.
    struct ChildLayout { HWND hWnd; RECT rect; };

    CSize m_sizeMRUHorzDock;          // cx along the row, cy the thickness
    CSize m_sizeMRUVertDock;
    CSize m_sizeMRUFloat;
    DWORD m_dwMRUDockingState = 0;    // dock sides kept while docking is switched off
    float m_fPctWidth = 1.0f;         // share of the dock-bar row
    float m_fSavedPctWidth = 1.0f;    // kept across a float and a re-dock
    CRect m_rectMargins;
    TWKControlBarManager* m_pControlBarManager = nullptr;
    TWKGripperInfo m_gripperInfo;
    CRect m_rectClose;
    BOOL m_bClosePressed = FALSE;
    CRect m_rectExpand;
    BOOL m_bExpandPressed = FALSE;
    BOOL m_bExpandActive = TRUE;      // FALSE: the only visible bar of its row
    BOOL m_bExpandable = TRUE;        // TRUE: the button expands, FALSE: contracts
    BOOL m_bLastHorz = TRUE;
    CPtrArray* m_pChildLayout = nullptr;
    HWND m_hWndCompanion = nullptr;   // repainted after every DoPaint

    // Size given to all three remembered sizes at creation.
    static CSize s_sizeDefault;
    // Children move without redrawing while positive; a dock bar replaces it by
    // its layout-changed flag while it lays out.
    static BOOL s_bRedrawOptimized;

    DWORD GetExBarStyle() const { return m_dwExStyle; }
    BOOL IsHorzBar() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    void EnableDocking(DWORD dwDockStyle);
    BOOL IsInMDIChildFrame() const;
    // Row, column, dock-bar id, fraction and row thickness in a framework dock bar.
    BOOL GetDockedPosition(int& nRow, int& nCol) const;
    BOOL GetDockedPosition(int& nRow, int& nCol, UINT& nDockBarID) const;
    BOOL GetDockedPosition(int& nRow, int& nCol, UINT& nDockBarID, float& fPctWidth, int& nRowThickness) const;
    // The frame's first free bar id from nStart (at most 1000 tried); 0 when none.
    static UINT GetFreeBarID(CFrameWnd* pFrame, UINT nStart);
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrame) override;
    TWKDockBar* GetTWKDockBar() const;

    // New virtual operations.
    virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                        CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                          const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = NULL);
    virtual void GetInsideRect(CRect& rect) const;
    virtual CDockContext* CreateDockContext();
    virtual void SetExBarStyle(DWORD dwExStyle, BOOL bRedraw = TRUE);
    virtual void ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    void DrawBorders(CDC* pDC, CRect& rect) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bAllowVertGripper) const;
    virtual void NotifyBeforeDock();
    virtual void OnBeforeDock() {}
    virtual void OnAfterDock() {}
    virtual void NotifyBeforeFloat();
    virtual void OnBeforeFloat() {}
    virtual void OnAfterFloat() {}
    virtual void NotifyBeforeMDIFloat();
    virtual void OnBeforeMDIFloat() {}
    virtual void OnAfterMDIFloat() {}
    virtual void GetBarInfoEx(TWKControlBarInfo*) {}
    virtual void SetBarInfoEx(TWKControlBarInfo*, CFrameWnd*) {}
    virtual void AddContextMenuItems(CMenu*) {}
    virtual BOOL IsCloseButtonEnabled() { return TRUE; }
    virtual BOOL IsExpandButtonEnabled() { return TRUE; }
    virtual int AdjustRectForGripper(CRect& rect, BOOL bHorz);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    virtual void DrawCloseButton(CDC* pDC, CRect& rect, BOOL bHorz);
    virtual void DrawCloseButtonPressed(CDC* pDC);
    virtual void DrawCloseButtonNormal(CDC* pDC);
    virtual void DrawExpandButton(CDC* pDC, CRect& rect, BOOL bHorz);
    virtual void DrawExpandButtonPressed(CDC* pDC);
    virtual void DrawExpandButtonNormal(CDC* pDC);
    virtual void UpdateExpandButtonState(BOOL bHorz);

    void CalcInsideRect(CRect& rect, BOOL bHorz) const override { CalcInsideRect(rect, bHorz, TRUE); }
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    void DoPaint(CDC* pDC) override;

    // Handlers the application's bars call from their own.
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();

protected:
    DWORD m_dwExStyle = 0;

    void RecordChildLayout();
    void DropChildLayout();
    // The gripper buttons' shared square (see DrawCloseButton).
    CRect PlaceGripperButton(CRect& rect, BOOL bHorz) const;
    void DrawExpandFrame(CDC* pDC, UINT nExtraState);
    // The place of the inside area for a client size (gripper, margins or none).
    void CalcInsideOrigin(int cx, int cy, CPoint& ptOrigin, CSize& size) const;
    BOOL IsButtonHit(const CRect& rect, DWORD dwBit, CPoint point) const;
    void ReleaseButtons();
    void InsetCoolBorders(CRect& rect) const;
    void PressButton(BOOL& bPressed, BOOL bEnabled, void (TWKControlBar::*pfnDrawPressed)(CDC*));

    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnAllowDocking();
    afx_msg void OnHide();
    afx_msg void OnFloatInMDI();

    DECLARE_MESSAGE_MAP()
};
