// Toolbar buttons that host a child window of the toolbar: shown in the
// button's place while the bar lies horizontally, replaced by the image
// button while it lies vertically. TWKComboBtn hosts a combo box whose edit
// takes part in customisation like the rest of the button.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKStdBtn.h"

// To the toolbar's owner: wParam MAKEWPARAM(the window's control id, code),
// lParam the window.
extern const UINT WM_TWKTOOLBARWNDNOTIFY;
#define TWK_WNDNOTIFY_CREATED   0x0101
#define TWK_WNDNOTIFY_RETURN    0x0201

// OnBtnNotify code: pData is a TWKWndBtnMsg, sent to the hosted window.
#define TWK_BTNNOTIFY_WNDMSG    0x0101
struct TWKWndBtnMsg
{
    UINT_PTR nReserved;
    UINT_PTR message;
    WPARAM wParam;
    LPARAM lParam;
};
#ifndef _WIN64
static_assert(sizeof(TWKWndBtnMsg) == 16, "four 32-bit values");
#endif

class TWKWndBtn : public TWKStdBtn
{
public:
    TWKWndBtn();
    ~TWKWndBtn() override = default;

    BOOL m_bShown = FALSE;            // the window stands in the button's place
    int m_nWidth = 0;                 // the window's width: p2's low word, then the user's sizing
    int m_nMinWidth = 0;              // p2's high word; 0: the user cannot size it
    int m_nHeight = 0;                // p3: for a combo box its height with the list dropped
    int m_nWndHeight = 0;             // the window's own (closed) height, to centre it

    void SetMode(BOOL bVertical) override;
    void SetStyle(DWORD dwStyle) override;
    void SetPos(int x, int y) override;
    void Invalidate(BOOL bErase) override;
    // p0 control id, p1 window style (WS_CHILD added), p2 width | smallest
    // width << 16, p3 height.
    void Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
    void Paint(CDC* pDC, TWKBtnDrawData& data) override;
    void OnHiddenChanged() override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    void OnBtnNotify(UINT nCode, void* pData) override;
    void AdjustSize() override;
    // Two bytes: the width, low byte first.
    void GetBtnInfo(BYTE* pnSize, BYTE** ppData) override;
    void SetBtnInfo(BYTE nSize, const BYTE* pData) override;

    // x, y in the hosted window's client coordinates; FALSE: the window
    // handles the click itself.
    virtual BOOL OnWndLButtonDown(UINT nFlags, int x, int y);
    virtual CWnd* GetWnd() = 0;
    virtual BOOL CreateWnd(CWnd* pParent, DWORD dwStyle, LPCRECT lpRect, UINT nID) = 0;

    // The hosted window's other mouse messages are swallowed while
    // customising (TRUE).
    BOOL OnWndMouseMsg();
    BOOL OnWndSetCursor();
    void InvalidateIfSelected();
    void DrawWndSelection();
    LRESULT SendToOwner(UINT message, WPARAM wParam, LPARAM lParam);
    void NotifyOwner(UINT nCode);

protected:
    HWND WndHandle();
    BOOL IsSelected() const { return (m_dwStyle & TWK_TBBS_SELECTED) != 0; }
    // The customisation dialog's own toolbar sizes nothing.
    BOOL IsCustomizeToolBar() const;
    BOOL InConfigMode() const;
    // The point (window client) lies on the right edge's grip.
    BOOL OnRightEdge(int x) const { return x >= m_cx - 3 && x <= m_cx; }
    int WndTop() const { return m_nWndHeight ? m_y + (m_cy - m_nWndHeight) / 2 : m_y; }
};

class TWKComboBtn;

class TWKComboBtnEdit : public CEdit
{
public:
    TWKWndBtn* m_pBtn = nullptr;

protected:
    // The point in the combo box's client coordinates.
    CPoint ToCombo(CPoint point) const;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMsg();
    afx_msg void OnLButtonUp(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnLButtonDblClk(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnRButtonDown(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnRButtonUp(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnRButtonDblClk(UINT, CPoint) { OnMouseMsg(); }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

class TWKComboBtn : public CComboBox, public TWKWndBtn
{
    DECLARE_BUTTON_CLASS(TWKComboBtn)
public:
    TWKComboBtn();
    ~TWKComboBtn() override;

    TWKComboBtnEdit m_edit;
    CFont m_font;

    CWnd* GetWnd() override { return this; }
    // Without a type bit the combo box is a drop-down list; an edit child is
    // subclassed and gets the small font.
    BOOL CreateWnd(CWnd* pParent, DWORD dwStyle, LPCRECT lpRect, UINT nID) override;
    void SetMode(BOOL bVertical) override;
    void AdjustSize() override;
    // Return reaches the owner, never the edit.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual void SetupFont();

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMsg();
    afx_msg void OnLButtonUp(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnLButtonDblClk(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnRButtonDown(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnRButtonUp(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnRButtonDblClk(UINT, CPoint) { OnMouseMsg(); }
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
