// A static text turned into a hyperlink: underlined, coloured by hover and visited state, a hand
// cursor, and a click that opens its target with the shell or tells the parent.
#pragma once
#include <windows.h>
#include "afx/controls.h"
#include "afx/gdi.h"
#include "afx/string.h"

// Sent to the parent on a click when the notify-parent flag is set; wParam the control's id.
#define CU_WM_LINK_CLICKED (WM_USER + 101)

class C_HyperLinkStatic : public CStatic
{
public:
    enum { TOOLTIP_ID = 1001 };

    C_HyperLinkStatic();
    ~C_HyperLinkStatic() override;

    void SetURL(LPCSTR lpszURL) { m_strURL = lpszURL; }
    CString GetURL() const { return m_strURL; }
    void SetLinkText(LPCSTR lpszText);
    CString GetLinkText() const { return m_strLinkText; }
    void SetLinkColor(COLORREF cr) { m_crLink = cr; }
    void SetHoverColor(COLORREF cr) { m_crHover = cr; }
    void SetVisitedColor(COLORREF cr) { m_crVisited = cr; }
    void SetNotifyParent(BOOL bNotify) { m_bNotifyParent = bNotify ? 1 : 0; }
    void EnableToolTip(BOOL bEnable) { m_bToolTip = bEnable ? 1 : 0; }
    void SetToolTipText(LPCSTR lpszText);
    void SetToolTipTextColor(COLORREF cr);
    void SetToolTipBkColor(COLORREF cr);
    // Opens the target with the shell's "open" verb; TRUE when it was opened.
    BOOL GotoURL(LPCSTR lpszURL);

    BOOL IsHovering() const { return m_bHover != 0; }
    BOOL IsVisited() const { return m_bVisited != 0; }
    HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnClicked();
    DECLARE_MESSAGE_MAP()

    BYTE m_bNotifyParent = 0;
    HCURSOR m_hLinkCursor = nullptr;
    BYTE m_bToolTip = 0;
    BYTE m_bHover = 0;
    BYTE m_bVisited = 0;
    CFont m_UnderlineFont;
    CToolTipCtrl m_ToolTip;
    CString m_strUnused;
    CString m_strLinkText;
    CString m_strURL;
    COLORREF m_crHover = RGB(255, 0, 0);
    COLORREF m_crLink = RGB(0, 0, 255);
    COLORREF m_crVisited = RGB(5, 34, 143);
};
