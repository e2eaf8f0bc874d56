// Tab controls: the tab records, the base that holds them with the active-tab
// state and the messages to the parent, and the flat strip of the tab windows.
#pragma once
#include "afx/afx.h"

// Messages from a tab control to its parent (sent, never posted).
#define TWKTCN_ACTIVATE            (WM_USER + 1000)   // wParam active index, lParam TWKTabActivateInfo* or NULL
#define TWKTCN_DBLCLK              (WM_USER + 1001)   // wParam the double-clicked tab, 0 where no tab is
#define TWKTCN_CLEARSELECTION      (WM_USER + 1002)   // wParam 0, lParam 0
#define TWKTCN_ACTIVETABCLICKED    (WM_USER + 1003)   // wParam active index, lParam 0

// The record of TWKTCN_ACTIVATE: valid only while the message is being sent.
// A tab window writes its own id into nCtrlId before passing it on.
struct TWKTabActivateInfo
{
    int nCtrlId;
    int nNewTab;
    int nOldTab;          // -1 when no tab was active
    CObject* pNewClient;
    CObject* pOldClient;  // NULL when no tab was active
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TWKTabActivateInfo) == 20, "five 32-bit fields");
#endif

class TWKTab : public CObject
{
    DECLARE_DYNAMIC(TWKTab)
public:
    TWKTab();
    // The label as the caller gave it (the 3-D tab shows a shortened one).
    virtual const CString& GetFullLabel() const { return m_csLabel; }
    virtual void SetLabel(LPCTSTR lpszLabel) { m_csLabel = lpszLabel ? lpszLabel : ""; }

    CString m_csLabel;
    int m_nWidth;
    int m_nHeight;
    BOOL m_bSelected;
    CObject* m_pClient;
    DWORD m_dwUserData;
    void* m_pExtra;
};

class TWKTabControlBase : public CWnd
{
    DECLARE_DYNAMIC(TWKTabControlBase)
public:
    TWKTabControlBase();
    ~TWKTabControlBase() override;

    using CWnd::Create;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual void Initialize(DWORD dwStyle);
    virtual TWKTab* CreateNewTab();
    virtual void RecalcLayout();
    virtual void OnActivateTab(int nIndex);
    virtual void DestroyGDIObjects();
    virtual TWKTab* InsertTab(int nIndex, LPCTSTR lpszLabel, CObject* pClient, DWORD dwUserData, void* pExtra);
    virtual TWKTab* AddTab(LPCTSTR lpszLabel, CObject* pClient, DWORD dwUserData, void* pExtra);
    virtual void SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy);
    virtual void SetTabIcon(int nIndex, UINT nIDIcon, int cx, int cy);
    virtual void SetTabIcon(int nIndex, HICON hIcon);
    virtual void DeleteTab(int nIndex);
    virtual void RenameTab(int nIndex, LPCTSTR lpszLabel);
    virtual void ActivateTab(int nIndex);
    virtual void NotifyActiveTabClicked();
    virtual void SelectTab(int nIndex);
    virtual void ClearSelection();
    virtual void ScrollToTab(int nIndex);
    virtual void InvalidateTab(int nIndex);

    int GetTabCount() const;
    // NULL outside the tabs.
    TWKTab* GetTab(int nIndex) const;
    BOOL GetActiveTab(int& nIndex) const;
    BOOL GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CObject*& pClient, DWORD& dwUserData,
                    void*& pExtra) const;
    BOOL FindTab(const CObject* pClient, int& nIndex) const;
    BOOL TabExists(const CObject* pClient) const;

protected:
    BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetTabCount(); }
    // Sends to the parent of the moment (whatever window that is).
    LRESULT NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);
    void InvalidateTabsFrom(int nIndex);
    // Makes the record, puts it at nIndex (clamped to the array) and fills it.
    TWKTab* NewTabAt(int nIndex, LPCTSTR lpszLabel, CObject* pClient, DWORD dwUserData, void* pExtra);
    void DeleteAllTabs();
    // Replaces the font by one made from lf; when that fails the previous font is made again and
    // the answer is FALSE.
    static BOOL ReplaceFont(CFont& font, const LOGFONTA& lf);
    // After a font change: the active tab's font repaints that tab, the others every tab.
    void InvalidateAfterFontChange(BOOL bActiveFont);

    CObArray* m_pTabArray;
    int m_nActiveTab;
    BOOL m_bActiveTab;
    HCURSOR m_hCursor;

    afx_msg void OnDestroy();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

// Scroll buttons of the flat control, one bit each, laid out in bit order.
#define TWKTCB_FIRST   0x1
#define TWKTCB_PREV    0x2
#define TWKTCB_NEXT    0x4
#define TWKTCB_LAST    0x8

class TWKTabControl : public TWKTabControlBase
{
    DECLARE_DYNAMIC(TWKTabControl)
public:
    TWKTabControl();

    void Initialize(DWORD dwStyle) override;
    void RecalcLayout() override;
    void ScrollToTab(int nIndex) override;
    void InvalidateTab(int nIndex) override;

    virtual void DrawTab(CDC* pDC, int nIndex, CRgn* pRgn);
    virtual BOOL SetTabFont(CFont* pFont, int nState, BOOL bRedraw);

    // Geometry: the strip right of the buttons, and the buttons' own area.
    CRect GetTabArea() const;
    CRect GetButtonArea() const;
    // The button's rectangle; empty when the button is not shown.
    CRect GetButtonRect(UINT nButton) const;
    // The trapezoid of a tab (FALSE outside the tabs).
    BOOL GetTabRgn(int nIndex, CRgn& rgn) const;
    // The first tab whose trapezoid holds the point, -1 for none.
    int HitTest(CPoint point) const;

protected:
    int TabLeft(int nIndex) const;
    int TotalButtonWidth() const;
    UINT ButtonFromPoint(CPoint point) const;
    void UpdateScrollButtons();
    void SetButtonsEnabled(UINT nButtons, BOOL bEnable);
    // Sets the offset through the clamp of UpdateScrollButtons and scrolls the strip by the change.
    void SetScrollOffset(int nOffset);
    // One press step of a button; FALSE when it did nothing.
    BOOL StepButton(UINT nButton);
    void TrackButton(UINT nButton);
    void DrawScrollButton(CDC* pDC, UINT nButton);
    void PressTab(UINT nFlags, CPoint point);

    int m_nScrollOffset;
    int m_nTabHeight;
    BOOL m_bMultiSelect;
    CFont m_fonts[3];
    CPen m_pens[3];
    CPen m_penShadow;
    CBrush m_brushes[3];
    COLORREF m_clrText[3];
    UINT m_nButtons;
    UINT m_nPressedButton;
    UINT m_nDisabledButtons;
    int m_cxButton;
    int m_cyButton;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
