// The call-stack bar and the history bar: text the ICE produces, shown in a
// debug bar, with a double click that goes to the line's code.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBar.h"
#include "ide/output/IndicatorEditCtrl.h"

class C_IDEIceUIMgr;

#define IDC_ICE_HISTORY_EDIT 0xE990
#define IDC_ICE_CALLSTACK_WND 0xE991
// The go-to request of the disassembly view (the go-to strip's message): wParam, lParam an
// address pair, both 0 for the strip's own fields.
#define WM_DISASM_GOTO (WM_USER + 563)

// The engine control with the indicator arrow; moving the arrow refreshes the
// caret line's gutter too.
class C_IDEIndicatorEditCtrl : public C_IndicatorEditCtrl
{
public:
    void SetIndicatorLine(int nLine);
};

class C_IDEIceCallStackWnd : public C_IDEIndicatorEditCtrl
{
public:
    explicit C_IDEIceCallStackWnd(C_IDEIceUIMgr* pUIMgr) : m_pUIMgr(pUIMgr) {}
    // The ICE's call-stack lines, each ending in CR LF; a failed enumeration keeps the text.
    void Refresh();
    C_IDEIceUIMgr* UIMgr() const { return m_pUIMgr; }

protected:
    C_IDEIceUIMgr* m_pUIMgr;
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class C_IDEIceCallStackBar : public TWKControlBar
{
public:
    explicit C_IDEIceCallStackBar(C_IDEIceUIMgr* pUIMgr) : m_CallStackWnd(pUIMgr) {}
    void Refresh() { m_CallStackWnd.Refresh(); }
    // The arrow on line nFrame + 1.
    void SetIndicatorLine(int nFrame) { m_CallStackWnd.SetIndicatorLine(nFrame + 1); }
    C_IDEIceCallStackWnd* GetWnd() { return &m_CallStackWnd; }

protected:
    C_IDEIceCallStackWnd m_CallStackWnd;
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()
};

// A history line's address: two hexadecimal digits, one separator of any
// kind, four hexadecimal digits. FALSE when the line does not start so.
BOOL ParseHistoryAddress(LPCSTR lpszLine, DWORD* pA, DWORD* pB, CString* pstrText);

class C_IDEIceHistoryEdit : public CRichEditCtrl
{
public:
    explicit C_IDEIceHistoryEdit(C_IDEIceUIMgr* pUIMgr) : m_pUIMgr(pUIMgr) {}
    ~C_IDEIceHistoryEdit() override;
    BOOL m_bAutoReload = TRUE;
    // Builds the context menu at a screen point (the caller tracks and destroys it).
    BOOL BuildContextMenu(CMenu& menu);

protected:
    C_IDEIceUIMgr* m_pUIMgr;
    CFont* m_pFont = nullptr;
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};

class C_IDEIceHistoryBar : public TWKControlBar
{
public:
    explicit C_IDEIceHistoryBar(C_IDEIceUIMgr* pUIMgr) : m_pUIMgr(pUIMgr), m_HistoryEdit(pUIMgr) {}
    BOOL IsAutoReload() const { return m_HistoryEdit.m_bAutoReload; }
    void SetHistoryText(LPCSTR lpszText);
    C_IDEIceHistoryEdit* GetEdit() { return &m_HistoryEdit; }

protected:
    C_IDEIceUIMgr* m_pUIMgr;
    C_IDEIceHistoryEdit m_HistoryEdit;
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnReloadHistory();
    afx_msg void OnAutoReload();
    afx_msg void OnClearHistory();
    DECLARE_MESSAGE_MAP()
};
