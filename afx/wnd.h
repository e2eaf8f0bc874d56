// CWnd: windows wrapped by C++ objects, the handle maps, the creation hook,
// dispatch through message maps, reflection and the standard handlers.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "afx/cmdtarget.h"
#include "afx/geometry.h"
#include "afx/gdi.h"
#include "afx/menu.h"
#include "afx/string.h"

#define afx_msg

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019   // all WM_CTLCOLOR* messages share one map entry
#endif

// Bar styles the tool-tip machinery reads (see CWnd::GetToolTipStyle).
#ifndef CBRS_TOOLTIPS
#define CBRS_TOOLTIPS 0x0010L
#endif
#ifndef CBRS_FLYBY
#define CBRS_FLYBY 0x0020L
#endif

class CFrameWnd;
struct CCreateContext;

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hWnd);   // a plain wrapper (no map entry)
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // Insert-after markers for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const { return m_hWnd; }
    // Safe on a NULL pointer.
    HWND GetSafeHwnd() const;
    BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

    // Handle maps: the permanent object when there is one, else a temporary
    // wrapper freed at idle. NULL for a NULL handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // Routes the window's messages through this object from now on.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation. Create makes a child window; CreateEx any window.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();
    // A NULL class lets the window choose; FALSE cancels the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    // After the last message; self-deleting windows delete themselves here.
    virtual void PostNcDestroy();
    virtual BOOL IsFrameWnd() const { return FALSE; }

    // Dispatch.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Dialog navigation (IsDialogMessage) of keyboard and mouse input, with
    // this window as the dialog.
    BOOL PreTranslateInput(MSG* pMsg)
    {
        bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                     (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
        return input && m_hWnd && ::IsDialogMessageA(m_hWnd, pMsg);
    }
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification the parent received, offered to this control first.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    // The default procedure with the message being handled.
    LRESULT Default();
    // The message being dispatched on this thread (innermost); NULL outside dispatch.
    static const MSG* GetCurrentMessage();
    WNDPROC m_pfnSuper = nullptr;

    // Pre-translation from the message's window up through its parents,
    // stopping after hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // WM_IDLEUPDATECMDUI to the window, its descendants and the frames it owns.
    static void SendIdleUpdate(CWnd* pMainWnd);
    // Command update for each child control with an id (see CCmdUI).
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
        { return ::SendMessageA(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
        { return ::PostMessageA(m_hWnd, message, wParam, lParam); }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);

    // Geometry.
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
        { ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount); }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
        { ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), reinterpret_cast<LPPOINT>(lpRect), 2); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
        { ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint); }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
        { MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint); }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
        { return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags); }
    // Window rectangle for a wanted client rectangle (adjustBorder: scroll bars too).
    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
        { lpwndpl->length = sizeof(WINDOWPLACEMENT); return ::GetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

    // Painting.
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void InvalidateRgn(HRGN hRgn, BOOL bErase = TRUE) { ::InvalidateRgn(m_hWnd, hRgn, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, HRGN hrgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
        { return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags); }
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL)
        { ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect); }
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }
    CMenu* GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

    // Scroll bars.
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH)
        { return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags); }
    // A sibling scroll-bar control standing in for the window's own bar (none here).
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

    // Timers, capture, focus.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL)
        { return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags = CWP_ALL) const
        { return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags)); }

    // Caret.
    void CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, nullptr, nWidth, nHeight); }
    void ShowCaret() { ::ShowCaret(m_hWnd); }
    void HideCaret() { ::HideCaret(m_hWnd); }
    static void SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
    static CPoint GetCaretPos();

    // Text and font.
    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const
        { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)hFont, bRedraw); }
    HFONT GetFont() const { return (HFONT)SendMessage(WM_GETFONT); }

    // Styles.
    DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
    // nFlags non-zero: SetWindowPos with these flags so the frame is redrawn.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0)
        { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0)
        { return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags); }
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // State.
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

    // Relatives.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
    // The owner, which for child windows may be set apart from the parent.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr; }
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
    // The nearest (or, bOnlyPerm, permanent) descendant with the id.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    static CWnd* GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm);
    // The frame around this window (a frame is a window whose IsFrameWnd is TRUE).
    template <class TFrame = CFrameWnd> TFrame* GetParentFrame() const
        { return static_cast<TFrame*>(FindParentFrame(m_hWnd, false)); }
    template <class TFrame = CFrameWnd> TFrame* GetTopLevelFrame() const
        { return static_cast<TFrame*>(FindParentFrame(m_hWnd, true)); }

    // Dialog items.
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
        { ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton); }
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    void SetDlgItemText(int nID, LPCSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const
        { return (int)::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const
        { return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned); }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
        { return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam); }

    // Tool tips: -1 when the point has no tool; otherwise fills pTI.
    // Text other than LPSTR_TEXTCALLBACK must be a malloc'd copy (AfxAllocToolTipText):
    // the tool-tip machinery frees it.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    // Shows and hides the thread's tool tip for this window's tools (afx/tooltips.cpp);
    // the default pre-translation feeds it the mouse messages.
    void FilterToolTipMessage(MSG* pMsg);
    // CBRS_TOOLTIPS: hits show a tip; CBRS_FLYBY: hits send WM_SETMESSAGESTRING
    // with the tool id to the owner (bars answer their bar style).
    virtual DWORD GetToolTipStyle() const { return CBRS_TOOLTIPS; }

    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);

protected:
    // Standard handlers: each passes the message on to the default procedure.
    afx_msg int OnCreate(LPCREATESTRUCT);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT, int, int);
    afx_msg void OnMove(int, int);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC*);
    afx_msg void OnSetFocus(CWnd*);
    afx_msg void OnKillFocus(CWnd*);
    afx_msg void OnEnable(BOOL);
    afx_msg void OnShowWindow(BOOL, UINT);
    afx_msg void OnLButtonDown(UINT, CPoint);
    afx_msg void OnLButtonUp(UINT, CPoint);
    afx_msg void OnLButtonDblClk(UINT, CPoint);
    afx_msg void OnRButtonDown(UINT, CPoint);
    afx_msg void OnRButtonUp(UINT, CPoint);
    afx_msg void OnRButtonDblClk(UINT, CPoint);
    afx_msg void OnMButtonDown(UINT, CPoint);
    afx_msg void OnMButtonUp(UINT, CPoint);
    afx_msg void OnMouseMove(UINT, CPoint);
    afx_msg BOOL OnMouseWheel(UINT, short, CPoint);
    afx_msg int OnMouseActivate(CWnd*, UINT, UINT);
    afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT);
    afx_msg LRESULT OnNcHitTest(CPoint);
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*);
    afx_msg BOOL OnNcActivate(BOOL);
    afx_msg void OnNcMouseMove(UINT, CPoint);
    afx_msg void OnNcLButtonDown(UINT, CPoint);
    afx_msg void OnNcLButtonUp(UINT, CPoint);
    afx_msg void OnNcLButtonDblClk(UINT, CPoint);
    afx_msg void OnNcRButtonDown(UINT, CPoint);
    afx_msg void OnNcRButtonUp(UINT, CPoint);
    afx_msg void OnKeyDown(UINT, UINT, UINT);
    afx_msg void OnKeyUp(UINT, UINT, UINT);
    afx_msg void OnSysKeyDown(UINT, UINT, UINT);
    afx_msg void OnSysKeyUp(UINT, UINT, UINT);
    afx_msg void OnChar(UINT, UINT, UINT);
    afx_msg void OnSysChar(UINT, UINT, UINT);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnVScroll(UINT, UINT, CScrollBar*);
    afx_msg void OnHScroll(UINT, UINT, CScrollBar*);
    afx_msg void OnContextMenu(CWnd*, CPoint);
    afx_msg void OnTimer(UINT_PTR);
    afx_msg void OnActivate(UINT, CWnd*, BOOL);
    afx_msg void OnActivateApp(BOOL, DWORD);
    afx_msg void OnMDIActivate(BOOL, CWnd*, CWnd*);
    afx_msg void OnInitMenu(CMenu*);
    afx_msg void OnInitMenuPopup(CMenu*, UINT, BOOL);
    afx_msg void OnMenuSelect(UINT, UINT, HMENU);
    afx_msg void OnEnterMenuLoop(BOOL);
    afx_msg void OnExitMenuLoop(BOOL);
    afx_msg void OnEnterIdle(UINT, CWnd*);
    afx_msg void OnWindowPosChanging(WINDOWPOS*);
    afx_msg void OnWindowPosChanged(WINDOWPOS*);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO*);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT, LPCSTR);
    afx_msg void OnSysCommand(UINT, LPARAM);
    afx_msg void OnCaptureChanged(CWnd*);
    afx_msg void OnCancelMode();
    afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT);
    afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT);
    afx_msg void OnParentNotify(UINT, LPARAM);
    afx_msg void OnDropFiles(HDROP);
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT);

    DECLARE_MESSAGE_MAP()

private:
    static CWnd* FindParentFrame(HWND hWnd, bool bTopLevel);
    // The map's handler of nLookup called with the message (OnWndMsg and reflection).
    BOOL DispatchToMap(UINT nLookup, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    HWND m_hWndOwner = nullptr;
    BOOL m_bToolTipsEnabled = FALSE;
};

// The window procedure of every window with a permanent object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The next window of class lpszClass (a name or an atom; NULL for any) this
// thread creates is attached to pWnd before its first message (system
// classes too). Unhook returns TRUE when the hook attached it (so creation
// reached the window).
void AfxHookWindowCreate(CWnd* pWnd, LPCSTR lpszClass);
BOOL AfxUnhookWindowCreate();

// Registers (once) a class with DefWindowProc and returns its generated name.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0, HICON hIcon = 0);
// Registers a class only when it is not registered yet.
BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);
// The name of the framework's plain window class ("AfxWnd"), registered on demand.
LPCSTR AfxGetDefaultWndClass();
// RegisterWindowMessage, for ON_REGISTERED_MESSAGE variables.
inline UINT AfxRegisterWindowMessage(LPCSTR lpString) { return ::RegisterWindowMessageA(lpString); }

// Command update of a popup menu's items through pTarget (what frames do on
// WM_INITMENUPOPUP): disables items without handlers when asked.
void AfxUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bDisableIfNoHandler);

namespace afxcrack {
// One cracker per handler signature: how wParam/lParam become the arguments
// and what the result is. The ON_WM_ entries below pick theirs.
struct Sig_i_cs {   // CREATE
    using Sig = int(LPCREATESTRUCT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)((LPCREATESTRUCT)a.lParam); return TRUE; }
};
struct Sig_b_cs {   // NCCREATE
    using Sig = BOOL(LPCREATESTRUCT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)((LPCREATESTRUCT)a.lParam); return TRUE; }
};
struct Sig_v_v {   // DESTROY, NCDESTROY, CLOSE, PAINT, NCPAINT, SYSCOLORCHANGE, CANCELMODE
    using Sig = void();
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_i_i {   // SIZE
    using Sig = void(UINT, int, int);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)a.wParam, (short)LOWORD(a.lParam), (short)HIWORD(a.lParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_i_i {   // MOVE
    using Sig = void(int, int);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((short)LOWORD(a.lParam), (short)HIWORD(a.lParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_b_dc {   // ERASEBKGND
    using Sig = BOOL(CDC*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)(CDC::FromHandle((HDC)a.wParam)); return TRUE; }
};
struct Sig_v_wnd {   // SETFOCUS, KILLFOCUS
    using Sig = void(CWnd*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(CWnd::FromHandle((HWND)a.wParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_b {   // ENABLE, ENTERMENULOOP, EXITMENULOOP
    using Sig = void(BOOL);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((BOOL)a.wParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_b_u {   // SHOWWINDOW
    using Sig = void(BOOL, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((BOOL)a.wParam, (UINT)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_pt {   // LBUTTONDOWN, LBUTTONUP, LBUTTONDBLCLK, RBUTTONDOWN, RBUTTONUP, RBUTTONDBLCLK, MBUTTONDOWN, MBUTTONUP, MOUSEMOVE, NCMOUSEMOVE, NCLBUTTONDOWN, NCLBUTTONUP, NCLBUTTONDBLCLK, NCRBUTTONDOWN, NCRBUTTONUP
    using Sig = void(UINT, CPoint);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)a.wParam, CPoint((short)LOWORD(a.lParam), (short)HIWORD(a.lParam))); *a.pResult = 0; return TRUE; }
};
struct Sig_b_u_s_pt {   // MOUSEWHEEL
    using Sig = BOOL(UINT, short, CPoint);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)((UINT)LOWORD(a.wParam), (short)HIWORD(a.wParam), CPoint((short)LOWORD(a.lParam), (short)HIWORD(a.lParam))); return TRUE; }
};
struct Sig_i_wnd_u_u {   // MOUSEACTIVATE
    using Sig = int(CWnd*, UINT, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)(CWnd::FromHandle((HWND)a.wParam), (UINT)LOWORD(a.lParam), (UINT)HIWORD(a.lParam)); return TRUE; }
};
struct Sig_b_wnd_u_u {   // SETCURSOR
    using Sig = BOOL(CWnd*, UINT, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)(CWnd::FromHandle((HWND)a.wParam), (UINT)LOWORD(a.lParam), (UINT)HIWORD(a.lParam)); return TRUE; }
};
struct Sig_l_pt {   // NCHITTEST
    using Sig = LRESULT(CPoint);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)(CPoint((short)LOWORD(a.lParam), (short)HIWORD(a.lParam))); return TRUE; }
};
struct Sig_v_b_ncp {   // NCCALCSIZE
    using Sig = void(BOOL, NCCALCSIZE_PARAMS*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((BOOL)a.wParam, (NCCALCSIZE_PARAMS*)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_b_b {   // NCACTIVATE
    using Sig = BOOL(BOOL);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)((BOOL)a.wParam); return TRUE; }
};
struct Sig_v_u_u_u {   // KEYDOWN, KEYUP, SYSKEYDOWN, SYSKEYUP, CHAR, SYSCHAR
    using Sig = void(UINT, UINT, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)a.wParam, (UINT)LOWORD(a.lParam), (UINT)HIWORD(a.lParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_u_v {   // GETDLGCODE
    using Sig = UINT();
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)(); return TRUE; }
};
struct Sig_v_u_u_sb {   // VSCROLL, HSCROLL
    using Sig = void(UINT, UINT, CScrollBar*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)LOWORD(a.wParam), (UINT)HIWORD(a.wParam), reinterpret_cast<CScrollBar*>(a.lParam ? CWnd::FromHandle((HWND)a.lParam) : nullptr)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_wnd_pt {   // CONTEXTMENU
    using Sig = void(CWnd*, CPoint);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(CWnd::FromHandle((HWND)a.wParam), CPoint((short)LOWORD(a.lParam), (short)HIWORD(a.lParam))); *a.pResult = 0; return TRUE; }
};
struct Sig_v_up {   // TIMER
    using Sig = void(UINT_PTR);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT_PTR)a.wParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_wnd_b {   // ACTIVATE
    using Sig = void(UINT, CWnd*, BOOL);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)LOWORD(a.wParam), CWnd::FromHandle((HWND)a.lParam), (BOOL)HIWORD(a.wParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_b_dw {   // ACTIVATEAPP
    using Sig = void(BOOL, DWORD);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((BOOL)a.wParam, (DWORD)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_b_wnd_wnd {   // MDIACTIVATE
    using Sig = void(BOOL, CWnd*, CWnd*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((HWND)a.lParam == a.hWnd, CWnd::FromHandle((HWND)a.lParam), CWnd::FromHandle((HWND)a.wParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_menu {   // INITMENU
    using Sig = void(CMenu*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(CMenu::FromHandle((HMENU)a.wParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_menu_u_b {   // INITMENUPOPUP
    using Sig = void(CMenu*, UINT, BOOL);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(CMenu::FromHandle((HMENU)a.wParam), (UINT)LOWORD(a.lParam), (BOOL)HIWORD(a.lParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_u_hmenu {   // MENUSELECT
    using Sig = void(UINT, UINT, HMENU);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)LOWORD(a.wParam), (UINT)HIWORD(a.wParam), (HMENU)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_wnd {   // ENTERIDLE
    using Sig = void(UINT, CWnd*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)a.wParam, CWnd::FromHandle((HWND)a.lParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_wp {   // WINDOWPOSCHANGING, WINDOWPOSCHANGED
    using Sig = void(WINDOWPOS*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((WINDOWPOS*)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_mmi {   // GETMINMAXINFO
    using Sig = void(MINMAXINFO*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((MINMAXINFO*)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_str {   // SETTINGCHANGE
    using Sig = void(UINT, LPCSTR);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)a.wParam, (LPCSTR)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_u_lp {   // SYSCOMMAND, PARENTNOTIFY
    using Sig = void(UINT, LPARAM);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)a.wParam, a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_wndFromLParam {   // CAPTURECHANGED
    using Sig = void(CWnd*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(CWnd::FromHandle((HWND)a.lParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_v_i_dis {   // DRAWITEM
    using Sig = void(int, LPDRAWITEMSTRUCT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((int)a.wParam, (LPDRAWITEMSTRUCT)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_i_mis {   // MEASUREITEM
    using Sig = void(int, LPMEASUREITEMSTRUCT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((int)a.wParam, (LPMEASUREITEMSTRUCT)a.lParam); *a.pResult = 0; return TRUE; }
};
struct Sig_v_hdrop {   // DROPFILES
    using Sig = void(HDROP);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((HDROP)a.wParam); *a.pResult = 0; return TRUE; }
};
struct Sig_hbr_dc_wnd_u {   // CTLCOLOR
    using Sig = HBRUSH(CDC*, CWnd*, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)(CDC::FromHandle((HDC)a.wParam), CWnd::FromHandle((HWND)a.lParam), (UINT)(a.message - WM_CTLCOLORMSGBOX)); return TRUE; }
};
struct Sig_v_dis {   // DRAWITEM_REFLECT
    using Sig = void(LPDRAWITEMSTRUCT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((LPDRAWITEMSTRUCT)a.lParam); *a.pResult = TRUE; return TRUE; }
};
struct Sig_v_mis {   // MEASUREITEM_REFLECT
    using Sig = void(LPMEASUREITEMSTRUCT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((LPMEASUREITEMSTRUCT)a.lParam); *a.pResult = TRUE; return TRUE; }
};
struct Sig_hbr_dc_u {   // CTLCOLOR_REFLECT
    using Sig = HBRUSH(CDC*, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { HBRUSH r = (p->*f)(CDC::FromHandle((HDC)a.wParam), (UINT)(a.message - WM_CTLCOLORMSGBOX)); if (!r) return FALSE; *a.pResult = (LRESULT)r; return TRUE; }
};
struct Sig_v_u_u {   // HSCROLL_REFLECT, VSCROLL_REFLECT
    using Sig = void(UINT, UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)((UINT)LOWORD(a.wParam), (UINT)HIWORD(a.wParam)); *a.pResult = 0; return TRUE; }
};
struct Sig_b_help {   // HELPINFO
    using Sig = BOOL(HELPINFO*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (LRESULT)(p->*f)((HELPINFO*)a.lParam); return TRUE; }
};
} // namespace afxcrack

#define ON_WM_CREATE() { WM_CREATE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_i_cs, OnCreate) },
#define ON_WM_NCCREATE() { WM_NCCREATE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_b_cs, OnNcCreate) },
#define ON_WM_DESTROY() { WM_DESTROY, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnDestroy) },
#define ON_WM_NCDESTROY() { WM_NCDESTROY, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnNcDestroy) },
#define ON_WM_CLOSE() { WM_CLOSE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnClose) },
#define ON_WM_SIZE() { WM_SIZE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_i_i, OnSize) },
#define ON_WM_MOVE() { WM_MOVE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_i_i, OnMove) },
#define ON_WM_PAINT() { WM_PAINT, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnPaint) },
#define ON_WM_NCPAINT() { WM_NCPAINT, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnNcPaint) },
#define ON_WM_ERASEBKGND() { WM_ERASEBKGND, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_b_dc, OnEraseBkgnd) },
#define ON_WM_SETFOCUS() { WM_SETFOCUS, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wnd, OnSetFocus) },
#define ON_WM_KILLFOCUS() { WM_KILLFOCUS, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wnd, OnKillFocus) },
#define ON_WM_ENABLE() { WM_ENABLE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b, OnEnable) },
#define ON_WM_SHOWWINDOW() { WM_SHOWWINDOW, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b_u, OnShowWindow) },
#define ON_WM_LBUTTONDOWN() { WM_LBUTTONDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnLButtonDown) },
#define ON_WM_LBUTTONUP() { WM_LBUTTONUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnLButtonUp) },
#define ON_WM_LBUTTONDBLCLK() { WM_LBUTTONDBLCLK, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnLButtonDblClk) },
#define ON_WM_RBUTTONDOWN() { WM_RBUTTONDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnRButtonDown) },
#define ON_WM_RBUTTONUP() { WM_RBUTTONUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnRButtonUp) },
#define ON_WM_RBUTTONDBLCLK() { WM_RBUTTONDBLCLK, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnRButtonDblClk) },
#define ON_WM_MBUTTONDOWN() { WM_MBUTTONDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnMButtonDown) },
#define ON_WM_MBUTTONUP() { WM_MBUTTONUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnMButtonUp) },
#define ON_WM_MOUSEMOVE() { WM_MOUSEMOVE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnMouseMove) },
#define ON_WM_MOUSEWHEEL() { WM_MOUSEWHEEL, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_b_u_s_pt, OnMouseWheel) },
#define ON_WM_MOUSEACTIVATE() { WM_MOUSEACTIVATE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_i_wnd_u_u, OnMouseActivate) },
#define ON_WM_SETCURSOR() { WM_SETCURSOR, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_b_wnd_u_u, OnSetCursor) },
#define ON_WM_NCHITTEST() { WM_NCHITTEST, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_l_pt, OnNcHitTest) },
#define ON_WM_NCCALCSIZE() { WM_NCCALCSIZE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b_ncp, OnNcCalcSize) },
#define ON_WM_NCACTIVATE() { WM_NCACTIVATE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_b_b, OnNcActivate) },
#define ON_WM_NCMOUSEMOVE() { WM_NCMOUSEMOVE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnNcMouseMove) },
#define ON_WM_NCLBUTTONDOWN() { WM_NCLBUTTONDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnNcLButtonDown) },
#define ON_WM_NCLBUTTONUP() { WM_NCLBUTTONUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnNcLButtonUp) },
#define ON_WM_NCLBUTTONDBLCLK() { WM_NCLBUTTONDBLCLK, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnNcLButtonDblClk) },
#define ON_WM_NCRBUTTONDOWN() { WM_NCRBUTTONDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnNcRButtonDown) },
#define ON_WM_NCRBUTTONUP() { WM_NCRBUTTONUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_pt, OnNcRButtonUp) },
#define ON_WM_KEYDOWN() { WM_KEYDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_u, OnKeyDown) },
#define ON_WM_KEYUP() { WM_KEYUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_u, OnKeyUp) },
#define ON_WM_SYSKEYDOWN() { WM_SYSKEYDOWN, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_u, OnSysKeyDown) },
#define ON_WM_SYSKEYUP() { WM_SYSKEYUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_u, OnSysKeyUp) },
#define ON_WM_CHAR() { WM_CHAR, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_u, OnChar) },
#define ON_WM_SYSCHAR() { WM_SYSCHAR, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_u, OnSysChar) },
#define ON_WM_GETDLGCODE() { WM_GETDLGCODE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_u_v, OnGetDlgCode) },
#define ON_WM_VSCROLL() { WM_VSCROLL, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_sb, OnVScroll) },
#define ON_WM_HSCROLL() { WM_HSCROLL, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_sb, OnHScroll) },
#define ON_WM_CONTEXTMENU() { WM_CONTEXTMENU, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wnd_pt, OnContextMenu) },
#define ON_WM_TIMER() { WM_TIMER, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_up, OnTimer) },
#define ON_WM_ACTIVATE() { WM_ACTIVATE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_wnd_b, OnActivate) },
#define ON_WM_ACTIVATEAPP() { WM_ACTIVATEAPP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b_dw, OnActivateApp) },
#define ON_WM_MDIACTIVATE() { WM_MDIACTIVATE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b_wnd_wnd, OnMDIActivate) },
#define ON_WM_INITMENU() { WM_INITMENU, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_menu, OnInitMenu) },
#define ON_WM_INITMENUPOPUP() { WM_INITMENUPOPUP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_menu_u_b, OnInitMenuPopup) },
#define ON_WM_MENUSELECT() { WM_MENUSELECT, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u_hmenu, OnMenuSelect) },
#define ON_WM_ENTERMENULOOP() { WM_ENTERMENULOOP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b, OnEnterMenuLoop) },
#define ON_WM_EXITMENULOOP() { WM_EXITMENULOOP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_b, OnExitMenuLoop) },
#define ON_WM_ENTERIDLE() { WM_ENTERIDLE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_wnd, OnEnterIdle) },
#define ON_WM_WINDOWPOSCHANGING() { WM_WINDOWPOSCHANGING, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wp, OnWindowPosChanging) },
#define ON_WM_WINDOWPOSCHANGED() { WM_WINDOWPOSCHANGED, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wp, OnWindowPosChanged) },
#define ON_WM_GETMINMAXINFO() { WM_GETMINMAXINFO, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_mmi, OnGetMinMaxInfo) },
#define ON_WM_SYSCOLORCHANGE() { WM_SYSCOLORCHANGE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnSysColorChange) },
#define ON_WM_SETTINGCHANGE() { WM_SETTINGCHANGE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_str, OnSettingChange) },
#define ON_WM_SYSCOMMAND() { WM_SYSCOMMAND, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_lp, OnSysCommand) },
#define ON_WM_CAPTURECHANGED() { WM_CAPTURECHANGED, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wndFromLParam, OnCaptureChanged) },
#define ON_WM_CANCELMODE() { WM_CANCELMODE, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_v, OnCancelMode) },
#define ON_WM_DRAWITEM() { WM_DRAWITEM, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_i_dis, OnDrawItem) },
#define ON_WM_MEASUREITEM() { WM_MEASUREITEM, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_i_mis, OnMeasureItem) },
#define ON_WM_PARENTNOTIFY() { WM_PARENTNOTIFY, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_lp, OnParentNotify) },
#define ON_WM_HELPINFO() { WM_HELP, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_b_help, OnHelpInfo) },
#define ON_WM_DROPFILES() { WM_DROPFILES, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_hdrop, OnDropFiles) },
#define ON_WM_CTLCOLOR() { WM_CTLCOLOR, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_hbr_dc_wnd_u, OnCtlColor) },
#define ON_WM_CTLCOLOR_REFLECT() { WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_hbr_dc_u, CtlColor) },
// Owner draw: the control's own DrawItem / MeasureItem (usually virtual) draws it.
#define ON_WM_DRAWITEM_REFLECT() { WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_dis, DrawItem) },
#define ON_WM_MEASUREITEM_REFLECT() { WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_mis, MeasureItem) },
#define ON_WM_HSCROLL_REFLECT() { WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u, HScroll) },
#define ON_WM_VSCROLL_REFLECT() { WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_u_u, VScroll) },
