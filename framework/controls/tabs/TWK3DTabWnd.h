// The tab window with the 3-D tab control on any side of a framed page area,
// and dialog-style keyboard moves between the strip, the page and its siblings.
#pragma once
#include "framework/controls/tabs/TWKTabWnd.h"
#include "framework/controls/tabs/TWK3DTabControl.h"

class TWK3DTabWnd : public TWKTabWndBase
{
    DECLARE_DYNCREATE(TWK3DTabWnd)
public:
    TWK3DTabWnd();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    using TWKTabWndBase::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) override;
    BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) override;
    void GetInsideRect(LPRECT lpRect) override;
    void RecalcLayout() override;

    void SetActiveTabFont(CFont* pFont, BOOL bRedraw = TRUE);
    void SetTabFont(CFont* pFont, BOOL bRedraw = TRUE);
    void EnableTab(int nIndex, BOOL bEnable);
    void EnableTab(CWnd* pWnd, BOOL bEnable);
    BOOL IsTabEnabled(int nIndex);
    BOOL IsTabEnabled(CWnd* pWnd);

    DWORD GetTabStyle() const { return m_dwTabStyle; }

protected:
    TWK3DTabControl* Get3DControl() const { return static_cast<TWK3DTabControl*>(m_pTabCtrl); }
    void SetFontOfState(CFont* pFont, int nState, BOOL bRedraw);
    // The sunken frame 4 pixels around the inside rectangle.
    void DrawFrame(CDC* pDC);
    // The Tab key's way on from the page, or back to the strip.
    BOOL NavigateTab(MSG* pMsg, BOOL bShift);

    int m_cyTabStrip;
    int m_cxTabStrip;
    DWORD m_dwTabStyle;

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnTabActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
