// Tab windows: a tab control and one page window per tab, of which only the
// active page shows. TWKTabWnd has the flat strip below the pages and the
// scroll bars the pages share.
#pragma once
#include "afx/afx.h"
#include "framework/controls/tabs/TWKTabControl.h"

// Child ids inside a tab window.
#define TWK_IDW_TABCTRL       59952   // 0xEA30
#define TWK_IDW_FIRSTPAGE     60160   // 0xEB00: pages made without an id get this + their index
#define TWK_IDW_HSCROLL       60416   // 0xEC00
#define TWK_IDW_VSCROLL       60671   // 0xECFF

class TWKTabWndBase : public CWnd
{
    DECLARE_DYNAMIC(TWKTabWndBase)
public:
    TWKTabWndBase();
    ~TWKTabWndBase() override;

    // The seven-argument form: only the parent, style and id count.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    virtual BOOL CreateScrollBar(DWORD dwStyle, UINT nID);
    virtual BOOL CreateTabCtrl(DWORD dwStyle, UINT nID);
    virtual TWKTab* InsertTab(CRuntimeClass* pViewClass, int nIndex, LPCTSTR lpszLabel, CCreateContext* pContext,
                              UINT nID = (UINT)-1);
    virtual TWKTab* InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel);
    virtual TWKTab* AddTab(CRuntimeClass* pViewClass, LPCTSTR lpszLabel, CCreateContext* pContext,
                           UINT nID = (UINT)-1);
    virtual TWKTab* AddTab(CWnd* pWnd, LPCTSTR lpszLabel);
    virtual void SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy);
    virtual void SetTabIcon(int nIndex, UINT nIDIcon, int cx, int cy);
    virtual void SetTabIcon(int nIndex, HICON hIcon);
    virtual void SetScrollStyle(int nIndex, DWORD dwStyle);
    virtual void DeleteTab(int nIndex);
    virtual void DeleteTab(CWnd* pWnd);
    virtual void RenameTab(int nIndex, LPCTSTR lpszLabel);
    virtual void RenameTab(CWnd* pWnd, LPCTSTR lpszLabel);
    virtual void ActivateTab(int nIndex);
    virtual void ActivateTab(CWnd* pWnd);
    virtual void ActivateTab(CWnd* pWnd, int nIndex);
    virtual void ClearSelection();
    virtual void ScrollToTab(int nIndex);
    virtual void ScrollToTab(CWnd* pWnd);
    virtual void FocusActiveTabWnd();
    virtual CWnd* SetNotifyWnd(CWnd* pWnd);
    virtual CWnd* GetNotifyWnd();
    virtual void GetInsideRect(LPRECT lpRect);
    virtual void RecalcLayout();

    TWKTabControlBase* GetTabControl() const { return m_pTabCtrl; }
    int GetTabCount() const;
    BOOL GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CWnd*& pWnd, void*& pExtra) const;
    BOOL FindTab(const CWnd* pWnd, int& nIndex) const;
    BOOL GetActiveTabWnd(CWnd*& pWnd) const;
    BOOL GetActiveTabIndex(int& nIndex) const;

    afx_msg void OnDestroy();

protected:
    // The page of tab nIndex; NULL outside the tabs.
    CWnd* GetPage(int nIndex) const;
    // After a tab is added: the first page becomes the active one, any other is hidden.
    void ShowNewPage(CWnd* pWnd, int nIndex);
    // Makes a page from a runtime class; NULL when the object or its window cannot be made.
    CWnd* CreatePage(CRuntimeClass* pViewClass, CCreateContext* pContext, UINT nID);
    // Gives the page the focus, or makes a view its frame's active view.
    void FocusPage(CWnd* pWnd);
    // Adds a move to a deferred batch unless the window is there already.
    static void DeferMove(HDWP& hdwp, CWnd* pWnd, const CRect& rc, UINT nFlags = 0);
    // Passes an activation record on to the notify window with this window's id.
    LRESULT ForwardActivation(WPARAM wParam, LPARAM lParam);
    // The part of a paint rectangle over the tab control is painted by the control itself.
    void InvalidateControlPart(const RECT& rcPaint);

    TWKTabControlBase* m_pTabCtrl;
    CWnd* m_pActiveWnd;
    CWnd* m_pWndCreating;
    CWnd* m_pNotifyWnd;

    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTabActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActiveTabClicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class TWKTabWnd : public TWKTabWndBase
{
    DECLARE_DYNCREATE(TWKTabWnd)
public:
    TWKTabWnd();
    ~TWKTabWnd() override;

    using TWKTabWndBase::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) override;
    BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) override;
    using TWKTabWndBase::InsertTab;
    TWKTab* InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel) override;
    void SetScrollStyle(int nIndex, DWORD dwStyle) override;
    using TWKTabWndBase::DeleteTab;
    void DeleteTab(int nIndex) override;
    using TWKTabWndBase::ActivateTab;
    void ActivateTab(CWnd* pWnd, int nIndex) override;
    void GetInsideRect(LPRECT lpRect) override;
    void RecalcLayout() override;

    virtual CWnd* GetScrollBar(int nBar, CWnd* pWnd = NULL);

    void SetSelectedTabFont(CFont* pFont, BOOL bRedraw = TRUE);
    void SetUnselectedTabFont(CFont* pFont, BOOL bRedraw = TRUE);
    void SetActiveTabFont(CFont* pFont, BOOL bRedraw = TRUE);
    void GetSplitterRect(LPRECT lpRect);

    // Handlers that derived tab windows call from their own handlers.
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

protected:
    // The scroll-bar style bits of the page (0 for a window that is no page).
    DWORD PageScrollStyle(CWnd* pWnd) const;
    // Shows the shared bars page nIndex uses, with its scroll state, and hides the others.
    void ShowPageBars(int nIndex);
    BOOL ActiveUses(DWORD dwBar) const { return (PageScrollStyle(m_pActiveWnd) & dwBar) != 0; }
    void SetTabFont(CFont* pFont, int nState, BOOL bRedraw);
    void ForwardScroll(UINT message, UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // A scroll bar thinner than 2 pixels gets a border, so that it still shows as a line.
    static void DeferMoveScrollBar(HDWP& hdwp, CWnd* pBar, const CRect& rc);

    int m_xSplitter;
    // Where the first size or the last drag put the splitter: a narrowing pulls the shown one
    // back, and growing again returns it up to here.
    int m_xSplitterWanted;
    int m_cyTabStrip;
    int m_cxVScroll;
    int m_cyHScroll;
    int m_cxSplitter;
    int m_nDragOffset;
    BOOL m_bTracking;
    BOOL m_bOverSplitter;
    BOOL m_bFirstSize;
    HCURSOR m_hSplitterCursor;
    HCURSOR m_hArrowCursor;
    UINT m_nTabStyle;
    CPtrArray m_arrHScrollInfo;
    CPtrArray m_arrVScrollInfo;
    CDWordArray m_arrScrollStyle;

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg LRESULT OnTabActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The same window under its own runtime class.
class TWK2DTabWnd : public TWKTabWnd
{
    DECLARE_DYNCREATE(TWK2DTabWnd)
public:
    TWK2DTabWnd() = default;
};
