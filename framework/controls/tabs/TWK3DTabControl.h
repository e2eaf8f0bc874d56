// The three-dimensional tab control: raised tabs on any side of a page area,
// with icons, shortened labels and their tips, disabled tabs and dragging.
#pragma once
#include "framework/controls/tabs/TWKTabControl.h"

// Style bits of the 3-D control and of its tab window.
#define TWK3DTS_BOTTOM     0x0010   // tabs below the page
#define TWK3DTS_TOP        0x0020   // tabs above the page
#define TWK3DTS_LEFT       0x0040   // tabs left of the page, labels turned +90 degrees
#define TWK3DTS_RIGHT      0x0080   // tabs right of the page, labels turned -90 degrees
#define TWK3DTS_SIDES      0x00F0
#define TWK3DTS_NOENLARGE  0x0100   // the active tab keeps the others' size
#define TWK3DTS_NARROWFAR  0x0200   // outlines one pixel narrower on the far side
#define TWK3DTS_FLATEDGE   0x0400   // some edge lines along the page left out
#define TWK3DTS_DRAGTABS   0x0800   // tabs can be dragged to a new place

class TWK3DTab : public TWKTab
{
    DECLARE_DYNAMIC(TWK3DTab)
public:
    TWK3DTab();
    const CString& GetFullLabel() const override { return m_csFullLabel; }
    void SetLabel(LPCTSTR lpszLabel) override;

    RECT m_rect;
    HICON m_hIcon;          // the caller's: never destroyed here
    BOOL m_bEnabled;
    CString m_csFullLabel;
    BOOL m_bTruncated;
};

class TWK3DTabControl : public TWKTabControlBase
{
    DECLARE_DYNAMIC(TWK3DTabControl)
public:
    TWK3DTabControl();

    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void Initialize(DWORD dwStyle) override;
    TWKTab* CreateNewTab() override;
    void RecalcLayout() override;
    void OnActivateTab(int nIndex) override;
    void DestroyGDIObjects() override;
    using TWKTabControlBase::SetTabIcon;
    void SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy) override;
    void SetTabIcon(int nIndex, UINT nIDIcon, int cx, int cy) override;
    void SetTabIcon(int nIndex, HICON hIcon) override;
    void InvalidateTab(int nIndex) override;

    virtual void CreateFonts(DWORD dwStyle);
    virtual void EnableTab(int nIndex, BOOL bEnable);
    virtual BOOL IsTabEnabled(int nIndex);
    virtual BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    virtual void FitLabels(int nFullLength, int nIconLength, int nAvailable);
    virtual BOOL SetTabFont(CFont* pFont, int nState, BOOL bRedraw);
    virtual void GetTabRect(int nIndex, LPRECT lpRect);
    virtual void SizeTab(int nIndex, int x, int y, DWORD dwStyle);
    virtual void DrawTab(CDC* pDC, int nIndex);
    virtual void FillSolidRect(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr);
    virtual void DrawTabBottom(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabTop(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabLeft(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabRight(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle);
    virtual void DrawTabContent(CDC* pDC, TWK3DTab* pTab, DWORD dwStyle);
    virtual void DrawDisabled(CDC* pDC, int cx, int cy);

    TWK3DTab* Get3DTab(int nIndex) const { return static_cast<TWK3DTab*>(GetTab(nIndex)); }
    BOOL AreLabelsShown() const { return m_bShowLabels; }
    static BOOL IsHorizontal(DWORD dwStyle) { return (dwStyle & (TWK3DTS_BOTTOM | TWK3DTS_TOP)) != 0; }
    // The enabled tab under the point (the active tab first, as it lies on top); -1 for none.
    int HitTest(CPoint point) const;

protected:
    // The strip's length with the full or the displayed labels; the icons' share in *pIconLength.
    int MeasureStrip(BOOL bFullLabels, int* pIconLength = NULL);
    int LabelExtent(CDC* pDC, const CString& csLabel) const;
    // The index of the tab with the longest displayed label (the first of equals).
    int LongestLabel(CDC* pDC) const;
    BOOL TabWndHasTabStop() const;
    void DrawSideEdge(CDC* pDC, const CRect& client, DWORD dwStyle);
    void FilterCurrentToolTipMessage();
    void DragActiveTab(CPoint point);
    // Escapement for the side of the strip.
    static int Escapement(DWORD dwStyle);

    BOOL m_bFitLabels;
    int m_cyTab;
    int m_cxTab;
    int m_nFirstTabX;
    int m_nFirstTabY;
    CFont m_fonts[2];
    CPen m_pens[2];
    CPen m_penShadow;
    CPen m_penHighlight;
    CBrush m_brushes[2];
    COLORREF m_clrText[2];
    BOOL m_bShowLabels;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
