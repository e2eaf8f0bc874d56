// The docking base: control bars, dock bars, the drag context, the floating
// frame of docked bars and the saved bar layout.
#pragma once
#include <windows.h>
#include "afx/frame.h"
#include "afx/collections.h"
#include "afx/geometry.h"

class CArchive;
class CDockContext;
class CControlBarInfo;
class CDockState;

// Bar styles.
#define CBRS_ALIGN_LEFT     0x1000L
#define CBRS_ALIGN_TOP      0x2000L
#define CBRS_ALIGN_RIGHT    0x4000L
#define CBRS_ALIGN_BOTTOM   0x8000L
#define CBRS_ALIGN_ANY      0xF000L
#define CBRS_BORDER_LEFT    0x0100L
#define CBRS_BORDER_TOP     0x0200L
#define CBRS_BORDER_RIGHT   0x0400L
#define CBRS_BORDER_BOTTOM  0x0800L
#define CBRS_BORDER_ANY     0x0F00L
#define CBRS_BORDER_3D      0x0080L
#define CBRS_FLOAT_MULTI    0x0040L
#define CBRS_FLYBY          0x0020L
#define CBRS_TOOLTIPS       0x0010L
#define CBRS_HIDE_INPLACE   0x0008L
#define CBRS_SIZE_DYNAMIC   0x0004L
#define CBRS_SIZE_FIXED     0x0002L
#define CBRS_FLOATING       0x0001L
#define CBRS_GRIPPER        0x00400000L
#define CBRS_ORIENT_HORZ    (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT    (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY     (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL            0x0040FFFFL
#define CBRS_NOALIGN        0x00000000L
#define CBRS_LEFT           (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP            (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT          (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM         (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH          0x01
#define LM_HORZ             0x02
#define LM_MRUWIDTH         0x04
#define LM_HORZDOCK         0x08
#define LM_VERTDOCK         0x10
#define LM_LENGTHY          0x20
#define LM_COMMIT           0x40

// The window class of control bars.
#define AFX_WNDCONTROLBAR   "AfxControlBar42s"

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // Attributes.
    DWORD m_dwStyle = 0;              // CBRS_* bits (CBRS_ALL)
    DWORD m_dwDockStyle = 0;          // CBRS_ALIGN_* sides it may dock to
    int m_cxLeftBorder = 6, m_cxRightBorder = 6;
    int m_cyTopBorder = 1, m_cyBottomBorder = 1;
    int m_cxDefaultGap = 2;
    UINT m_nMRUWidth = 32767;         // 32767: unset
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;   // owned
    BOOL m_bAutoDelete = FALSE;
    int m_nCount = 0;                 // elements (panes, buttons)
    void* m_pData = nullptr;          // the elements, owned by the derived class
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
    UINT m_nStateFlags = 0;

    void SetBarStyle(DWORD dwStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void EnableDocking(DWORD dwDockStyle);
    BOOL IsFloating() const;
    int GetCount() const { return m_nCount; }
    CFrameWnd* GetDockingFrame() const;
    virtual BOOL IsDockBar() const { return FALSE; }
    // Visible, allowing for a pending delayed show or hide.
    virtual BOOL IsVisible() const;

    // Layout.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void DoPaint(CDC* pDC);
    virtual void DelayShow(BOOL bShow);
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
    // Tips and fly-by status text as the bar style asks.
    DWORD GetToolTipStyle() const override { return m_dwStyle & (CBRS_TOOLTIPS | CBRS_FLYBY); }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The bar's alignment and border bits plus WS_VISIBLE as the layout will
    // leave it; a pending delayed show or hide is applied when the layout moves
    // windows (a query keeps it pending). Virtual: a bar may adjust its frame
    // there (a menu bar that has just floated drops its frame's system menu).
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    void EraseNonClient();
    // Derived bars draw their own look; EraseNonClient reaches their version.
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    // Registers the bar window class (once).
    static BOOL RegisterBarClass();

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT nMsg);
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()
};

// The bars of one edge (or of a floating frame), in rows. m_arrBars: entry 0
// NULL; NULL = row break; a value below 0x10000 = a placeholder (the id of a
// bar that is elsewhere now); otherwise a CControlBar*.
class CDockBar : public CControlBar
{
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    BOOL m_bFloating;
    BOOL m_bLayoutQuery = FALSE;
    CRect m_rectLayout;
    CPtrArray m_arrBars;

    // The bar style is the whole style given.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    BOOL IsDockBar() const override { return TRUE; }

    CControlBar* GetDockedControlBar(int nPos) const;
    // Position of the bar (or of its placeholder id) apart from nPosExclude; -1 when absent.
    int FindBar(CControlBar* pBar, int nPosExclude = -1);
    int GetDockedCount() const;
    virtual int GetDockedVisibleCount() const;
    void RemovePlaceHolder(CControlBar* pBar);
    void ShowAll(BOOL bShow);
    // Appends the bar (on a new row when lpRect is NULL) and makes it a child.
    virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    // Removes the bar (not its entry at nPosExclude); nAddPlaceHolder 1 leaves its id in its place.
    virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;
    void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The bar takes this dock bar's side and floating state and becomes its child.
    void AdoptBar(CControlBar* pBar);
};

// The state of one bar drag (the window framework replaces the loop).
class CDockContext
{
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();

    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    CRect m_rectDragHorz, m_rectDragVert;
    CRect m_rectFrameDragHorz, m_rectFrameDragVert;
    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;          // the bar's
    DWORD m_dwOverDockStyle = 0;      // of the dock bar under the pointer
    DWORD m_dwStyle = 0;              // alignment
    BOOL m_bFlip = FALSE;             // Shift
    BOOL m_bForceFrame = FALSE;       // Ctrl
    CDC* m_pDC = nullptr;
    BOOL m_bDragging = FALSE;
    int m_nHitTest = 0;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos;           // (-1,-1) until the bar first floats

    virtual void StartDrag(CPoint pt);
    virtual void StartResize(int nHitTest, CPoint pt);
    virtual void ToggleDocking();
    void InitLoop();
    void CancelLoop();
    // Ctrl sets or clears force-frame, Shift the flip; then the feedback is redrawn.
    void OnKey(int nChar, BOOL bDown);
    virtual void Move(CPoint pt) {}
    virtual void DrawFocusRect(BOOL bRemoveRect = FALSE) {}
};

// One bar's place in a saved layout.
class CControlBarInfo
{
public:
    CControlBarInfo();
    virtual ~CControlBarInfo() = default;

    UINT m_nBarID = 0;
    BOOL m_bVisible = FALSE;
    BOOL m_bFloating = FALSE;
    BOOL m_bHorz = FALSE;
    BOOL m_bDockBar = FALSE;
    CPoint m_pointPos;                // (-1,-1): unset
    UINT m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos;
    CDWordArray m_arrBarID;           // 0 = break, id = bar, id + 0x10000 = placeholder
    CControlBar* m_pBar = nullptr;

    void Serialize(CArchive& ar, CDockState* pDockState);
    // The two ends of the archive form, for records that add fields between them:
    // id, flags, position and the MRU fields; then the id list.
    void SerializePlace(CArchive& ar, CDockState* pDockState);
    void SerializeBarIDs(CArchive& ar);
};

// A whole frame's saved bar layout.
class CDockState : public CObject
{
    DECLARE_SERIAL(CDockState)
public:
    CDockState();
    ~CDockState() override;

    CPtrArray m_arrBarInfo;           // CControlBarInfo*, owned
    DWORD m_dwVersion = 2;
    CRect m_rectDevice;               // the screen the layout was made on
    CRect m_rectClip;                 // the screen less an icon's width and height
    CSize m_sizeDevice;               // saved screen size
    BOOL m_bScaling = FALSE;

    void Clear();
    void ScalePoint(CPoint& pt);
    void ScaleRectPos(CRect& rect);
    CSize GetScreenSize();
    void SetScreenSize(CSize& size);
    void Serialize(CArchive& ar) override;
};

// The frame a floating bar lives in.
class CMiniDockFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    CDockBar m_wndDockBar;

    // The dock bar the frame holds its bars in; a derived frame that keeps a
    // dock bar of its own class answers with that one.
    virtual CDockBar* GetDockBar() { return &m_wndDockBar; }
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void GetMessageString(UINT nID, CString& rMessage) const override;

protected:
    // The frame's title is its dock bar's text (the bar's title).
    void TitleFromDockBar();

    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
