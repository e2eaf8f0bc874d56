// The framework's dock bar: docked bars in rows that share their length by
// width fractions, docking at a row and column, and redraw bookkeeping.
#pragma once
#include "afx/afx.h"

class TWKControlBar;
class TWKControlBarInfo;

// A place in a dock bar. flags bit 0: rows count back from the last row (0 =
// last, negative = before it, positive = new rows after it); bit 1: columns
// count back from the row's end (1 = after the last visible bar, 0 = before
// it, -1 = before the one before it); bit 2: a new row in front of the row found.
struct TWKDockPos
{
    int nRow;
    int nCol;
    DWORD dwFlags;
};

struct TWKDockSize
{
    float fPctWidth;   // becomes the bar's width fraction
    int nLength;       // committed as the bar's thickness
    int nReserved;     // callers set 0
};

enum { TWKDP_FROMLAST = 0x1, TWKDP_COLFROMEND = 0x2, TWKDP_NEWROW = 0x4 };

class TWKDockBar : public CDockBar
{
    DECLARE_DYNCREATE(TWKDockBar)
public:
    explicit TWKDockBar(BOOL bFloating = FALSE, BOOL bMDIChild = FALSE);
    ~TWKDockBar() override;

    // Laid out by the row layout; owned by the dock bar.
    class Splitter : public CObject
    {
    public:
        int m_nOrientation = 0;   // 1: a vertical strip dragged along x
        int m_nKind = 0;          // 0: between rows, 1: between bars
        CRect m_rect;
        int m_nIndex = 0;
        BOOL m_bInUse = FALSE;
        int m_nMin = 0, m_nMax = 0;
        CRect m_rectLast;
        CSize m_sizeLast;
        BOOL m_bErasing = FALSE, m_bFinal = FALSE;
        virtual void Draw(CDC* pDC);
    };
    class ClientEdge : public CObject
    {
    public:
        int m_nOrientation = 0;
        CRect m_rect;
        BOOL m_bInUse = FALSE;
        virtual void Draw(CDC* pDC);
    };

    CPtrArray m_arrRedraw;            // bars to redraw after the next paint (duplicates allowed)
    CPtrArray m_arrClientEdges;       // ClientEdge*, owned
    CPtrArray m_arrSplitters;         // Splitter*, owned
    BOOL m_bMDIChild;                 // lives in an MDI child that hosts one floated bar
    DWORD m_dwExtra = 0;
    AFX_SIZEPARENTPARAMS* m_pLayoutParams = nullptr;
    CControlBar* m_pAnchorBar = nullptr;
    BOOL m_bRedrawing = FALSE;
    BOOL m_bLayoutChanged = FALSE;
    float m_fMinPctWidth = 0.05f;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExtra, UINT nID);
    using CDockBar::Create;

    // New virtual operations.
    virtual BOOL IsBarExpanded(CControlBar* pBar);
    virtual BOOL IsOnlyVisibleBarInRow(CControlBar* pBar);
    virtual void DockControlBarAt(CControlBar* pBar, const TWKDockPos* pPos);
    virtual void DockControlBarAt(CControlBar* pBar, int nCol, int nRow);
    virtual BOOL GetBarsInRow(CPtrList* pList, CControlBar* pBar);
    virtual void ExpandBarInRow(CControlBar* pBar, int nFlag);
    virtual void SetAnchorBar(CControlBar* pBar);
    virtual void RedrawPendingBars();
    virtual void TrackSplitter(Splitter* pSplitter, int x, int y);
    virtual void AddSplitter(int nKind, int nOrientation, int left, int top, int right, int bottom, int nIndex);
    virtual void CalcSplitterLimits(Splitter* pSplitter);
    virtual void AddClientEdge(int nOrientation, int left, int top, int right, int bottom);
    virtual void InvalidateToolBarsInRow(CControlBar* pBar);
    virtual void NormalizeRow(int nFirst, CControlBar* pAnchor, int* pnSizable = NULL, int* pnFixed = NULL);
    virtual void CalcMinFraction();
    virtual float AdjustFraction(float fDelta, CControlBar* pBar);
    virtual int InsertBarAtPoint(CControlBar* pBar, const CRect& rect, CPoint ptMid);
    virtual int InsertBarAt(CControlBar* pBar, const TWKDockPos* pPos);
    virtual int InsertBarAt(CControlBar* pBar, int nCol, int nRow);
    virtual int InsertAsFirstRow(CControlBar* pBar);
    virtual int InsertBarAtIndex(int nIndex, CControlBar* pBar);
    virtual CRect CalcDockingRect(CControlBar* pBar, const CRect& rectDrag, CPoint pt, int* pnLastRow,
                                  CRect* pRectLast, CPoint* pPtLast);
    void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL) override;
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0) override;
    virtual void ApplySplitterDrag(Splitter* pSplitter, int nDistance);

    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    int GetDockedVisibleCount() const override;
    void GetBarInfo(CControlBarInfo* pInfo) override;

    CControlBar* GetFirstBar() const;
    BOOL GetBarRowCol(CControlBar* pBar, int* pnRow, int* pnCol, int* pnThickness);
    int GetRowThickness(int nFirst);
    void SetRowThickness(int nFirst, int nThickness);
    // Commits max(18, current + delta) as the bar's length and its share of the
    // row; returns what the next bar still has to absorb.
    int ResizeBarInRow(CControlBar* pBar, int nDelta, int nRowLength);
    // The splitter under a point (dock-bar client coordinates), the last one laid out there.
    Splitter* SplitterFromPoint(CPoint point) const;
    int FindInsertPos(const CRect& rect, CPoint ptMid);
    void MarkBarsForRedraw(int nIndex);
    void AddBarToRedraw(CControlBar* pBar);
    void AddBarToRedraw(int nIndex);

protected:
    // Dock style and borders of the bar and this dock bar brought into line.
    void AdoptBar(CControlBar* pBar);
    // Reparents the bar, takes it out of its previous dock bar and makes this its dock bar.
    void TakeOver(CControlBar* pBar, int nNewPos);
    int RowStart(int nPos) const;
    BOOL IsAloneInRow(int nPos) const;
    void RemoveEntry(int nPos);
    void DeleteLayoutObjects();
    void DelayRecalcFrame();
    DWORD RowLayoutMode(CControlBar* pBar) const;
    // One row of the layout pass: measures and places the bars of [nFirst, nEnd).
    struct LayoutPass;
    void LayoutRow(LayoutPass& pass, int nFirst, int nEnd);
    void PlaceBar(LayoutPass& pass, CControlBar* pBar, int nPos, const CRect& rect, BOOL bProportional);
    void DrawTracker(Splitter* pSplitter, CDC* pDC, CPoint ptOrigin, BOOL bErase);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

TWKControlBar* TWKAsControlBar(CControlBar* pBar);
// A bar's extended style (0 for bars that are not framework bars).
DWORD TWKGetExBarStyle(const CControlBar* pBar);
// The customisable toolbars are placed and dragged by rules of their own.
BOOL TWKIsCustomToolBar(const CControlBar* pBar);
