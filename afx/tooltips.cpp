#include "afx/tooltips.h"
#include "afx/afxres.h"
#include "afx/app.h"
#include "afx/module.h"
#include "afx/wnd.h"
#include <cstdlib>
#include <cstring>

namespace {

// What the thread's tool tip shows now. Handles only: windows may go at any time.
struct ToolTipState {
    HWND hToolTip = nullptr;
    HWND hToolTipOwner = nullptr;   // the top-level window it was made for
    HWND hWndLast = nullptr;        // whose hit test found the current tool
    INT_PTR nLastHit = -1;
    TOOLINFOA ti = {};              // the tool added to the control (no text)
    bool bToolAdded = false;
    HWND hWndStatus = nullptr;      // the fly-by bar whose prompt is shown
    HWND hWndStatusOwner = nullptr; // who shows it
    HWND hWndTracked = nullptr;     // asked for WM_MOUSELEAVE
};

ToolTipState& State()
{
    thread_local ToolTipState s;
    return s;
}

void RemoveTool(ToolTipState& st)
{
    if (st.bToolAdded && ::IsWindow(st.hToolTip)) {
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = st.ti.hwnd;
        ti.uId = st.ti.uId;
        ::SendMessageA(st.hToolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    st.bToolAdded = false;
    st.ti = TOOLINFOA{};
}

void EndStatus(ToolTipState& st)
{
    HWND hOwner = st.hWndStatusOwner;
    bool bShown = st.hWndStatus != nullptr;
    st.hWndStatus = nullptr;
    st.hWndStatusOwner = nullptr;
    if (bShown && ::IsWindow(hOwner))
        ::SendMessageA(hOwner, WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
}

void Leave(ToolTipState& st)
{
    RemoveTool(st);
    EndStatus(st);
    st.nLastHit = -1;
    st.hWndLast = nullptr;
}

HWND EnsureToolTip(ToolTipState& st, HWND hWnd)
{
    HWND hTop = ::GetAncestor(hWnd, GA_ROOT);
    if (st.hToolTip && ::IsWindow(st.hToolTip) && st.hToolTipOwner == hTop)
        return st.hToolTip;
    RemoveTool(st);
    if (st.hToolTip && ::IsWindow(st.hToolTip))
        ::DestroyWindow(st.hToolTip);
    static const bool bInit = [] {
        INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_BAR_CLASSES };
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)bInit;
    // Owned by the top-level window so that it goes with it and stays above it.
    st.hToolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hTop,
                                    nullptr, AfxGetInstanceHandle(), nullptr);
    st.hToolTipOwner = st.hToolTip ? hTop : nullptr;
    return st.hToolTip;
}

bool IsClientMouse(UINT m) { return m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK; }
bool IsNcMouse(UINT m) { return m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK; }

// The nearest window with tool tips enabled, from hWnd up to its top-level window.
CWnd* FindToolTipWindow(HWND hWnd, bool (*pfnEnabled)(CWnd*))
{
    for (HWND h = hWnd; h; h = (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : nullptr) {
        CWnd* p = CWnd::FromHandlePermanent(h);
        if (p && pfnEnabled(p))
            return p;
    }
    return nullptr;
}

} // namespace

LPSTR AfxAllocToolTipText(LPCSTR lpszText)
{
    if (!lpszText)
        lpszText = "";
    size_t n = std::strlen(lpszText) + 1;
    auto* p = static_cast<LPSTR>(std::malloc(n));
    if (p)
        std::memcpy(p, lpszText, n);
    return p;
}

HWND AfxGetToolTipWindow()
{
    ToolTipState& st = State();
    return ::IsWindow(st.hToolTip) ? st.hToolTip : nullptr;
}

void AfxCancelToolTips()
{
    ToolTipState& st = State();
    Leave(st);
    if (::IsWindow(st.hToolTip))
        ::SendMessageA(st.hToolTip, TTM_POP, 0, 0);
}

void AfxForgetToolTipWindow(HWND hWnd)
{
    if (!hWnd)
        return;
    ToolTipState& st = State();
    if (hWnd == st.hWndStatusOwner) {
        st.hWndStatus = nullptr;   // nobody left to tell
        st.hWndStatusOwner = nullptr;
    }
    if (hWnd == st.hWndStatus)
        EndStatus(st);
    bool bToolWnd = st.ti.hwnd == hWnd || ((st.ti.uFlags & TTF_IDISHWND) && st.ti.uId == (UINT_PTR)hWnd);
    if (hWnd == st.hWndLast || (st.bToolAdded && bToolWnd)) {
        RemoveTool(st);
        st.nLastHit = -1;
        st.hWndLast = nullptr;
    }
    if (hWnd == st.hWndTracked)
        st.hWndTracked = nullptr;
    if (hWnd == st.hToolTipOwner || hWnd == st.hToolTip) {
        st.bToolAdded = false;
        st.hToolTip = nullptr;
        st.hToolTipOwner = nullptr;
    }
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    if (!pMsg || !m_hWnd)
        return;
    UINT m = pMsg->message;
    bool bClient = IsClientMouse(m), bNc = IsNcMouse(m);
    bool bLeave = m == WM_MOUSELEAVE || m == WM_NCMOUSELEAVE;
    if (!bClient && !bNc && !bLeave)
        return;
    ToolTipState& st = State();
    CWnd* pTipWnd = FindToolTipWindow(pMsg->hwnd, [](CWnd* p) { return p->m_bToolTipsEnabled != FALSE; });
    if (pTipWnd != this) {
        // Over a window without tips: nothing shows. A window with tips deals
        // with the message in its own pre-translation.
        if (!pTipWnd && !bLeave)
            Leave(st);
        return;
    }
    if (bLeave) {
        if (pMsg->hwnd == st.hWndTracked) {
            st.hWndTracked = nullptr;
            Leave(st);
        }
        return;
    }

    // The point in this window's client coordinates.
    POINT pt = { (short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam) };
    if (bClient)
        ::ClientToScreen(pMsg->hwnd, &pt);
    POINT ptScreen = pt;
    ::ScreenToClient(m_hWnd, &pt);

    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    INT_PTR nHit = OnToolHitTest(CPoint(pt), &ti);
    LPSTR pszOwned = nullptr;   // a copy the hit test made for us
    if (nHit != -1 && ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(ti.lpszText))
        pszOwned = ti.lpszText;
    if (!ti.hwnd)
        ti.hwnd = m_hWnd;

    bool bSame = nHit != -1 && nHit == st.nLastHit && st.hWndLast == m_hWnd && ti.hwnd == st.ti.hwnd &&
                 ti.uId == st.ti.uId;
    if (!bSame) {
        RemoveTool(st);
        DWORD dwStyle = nHit == -1 ? 0 : GetToolTipStyle();
        if (dwStyle & CBRS_FLYBY) {
            CWnd* pOwner = GetOwner();
            HWND hOwner = pOwner ? pOwner->m_hWnd : m_hWnd;
            if (st.hWndStatusOwner && st.hWndStatusOwner != hOwner)
                EndStatus(st);
            st.hWndStatus = m_hWnd;
            st.hWndStatusOwner = hOwner;
            ::SendMessageA(hOwner, WM_SETMESSAGESTRING, (WPARAM)nHit, 0);
        } else {
            EndStatus(st);
        }
        if ((dwStyle & CBRS_TOOLTIPS) && ::IsWindow(ti.hwnd) && EnsureToolTip(st, m_hWnd)) {
            if (!ti.lpszText)
                ti.lpszText = LPSTR_TEXTCALLBACKA;
            if (IS_INTRESOURCE(ti.lpszText) && !ti.hinst)
                ti.hinst = AfxGetResourceHandle();
            if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect))
                ::GetClientRect(ti.hwnd, &ti.rect);
            if (::SendMessageA(st.hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti))) {
                st.bToolAdded = true;
                st.ti = ti;
                st.ti.lpszText = nullptr;   // the control keeps its own copy
            }
        }
        st.nLastHit = nHit;
        st.hWndLast = nHit == -1 ? nullptr : m_hWnd;
    }
    std::free(pszOwned);

    // Leaving the window must end the tip and the status text even when no
    // further mouse message comes this way.
    if (st.nLastHit != -1 && st.hWndTracked != pMsg->hwnd) {
        TRACKMOUSEEVENT tme = { sizeof tme, TME_LEAVE | (bNc ? (DWORD)TME_NONCLIENT : 0u), pMsg->hwnd, 0 };
        if (::TrackMouseEvent(&tme))
            st.hWndTracked = pMsg->hwnd;
    }

    if (st.bToolAdded && ::IsWindow(st.hToolTip)) {
        // The control matches the message's window against the tool: speak of
        // the tool's own window in its client coordinates.
        MSG relay = *pMsg;
        bool bToolIsWnd = (st.ti.uFlags & TTF_IDISHWND) && (HWND)st.ti.uId == pMsg->hwnd;
        if (!bToolIsWnd && (bNc || relay.hwnd != st.ti.hwnd)) {
            POINT p = ptScreen;
            ::ScreenToClient(st.ti.hwnd, &p);
            relay.hwnd = st.ti.hwnd;
            relay.lParam = MAKELPARAM(p.x, p.y);
            if (bNc)
                relay.message = m - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
        }
        ::SendMessageA(st.hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
    }
}

UINT AfxGetToolTipCommandId(const NMHDR* pNMHDR)
{
    if (!pNMHDR)
        return (UINT)-1;
    UINT uFlags;
    if (pNMHDR->code == TTN_NEEDTEXTA)
        uFlags = reinterpret_cast<const NMTTDISPINFOA*>(pNMHDR)->uFlags;
    else if (pNMHDR->code == TTN_NEEDTEXTW)
        uFlags = reinterpret_cast<const NMTTDISPINFOW*>(pNMHDR)->uFlags;
    else
        return (UINT)-1;
    if (uFlags & TTF_IDISHWND)
        return (UINT)(WORD)::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom));
    return (UINT)pNMHDR->idFrom;
}

void AfxSetToolTipText(NMHDR* pNMHDR, LPCSTR lpszText)
{
    if (!pNMHDR)
        return;
    if (!lpszText)
        lpszText = "";
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        auto* p = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        lstrcpynA(p->szText, lpszText, (int)(sizeof p->szText));
        p->lpszText = p->szText;
        p->hinst = nullptr;
    } else if (pNMHDR->code == TTN_NEEDTEXTW) {
        auto* p = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        int n = (int)(sizeof p->szText / sizeof p->szText[0]);
        if (!::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, p->szText, n))
            p->szText[0] = 0;
        p->szText[n - 1] = 0;
        p->lpszText = p->szText;
        p->hinst = nullptr;
    }
}

BOOL AfxAnswerToolTipText(NMHDR* pNMHDR, LRESULT* pResult)
{
    UINT nID = AfxGetToolTipCommandId(pNMHDR);
    if (nID == (UINT)-1 || nID == 0)
        return FALSE;
    CString full;
    if (!full.LoadString(nID))
        return FALSE;
    // "prompt\ntip": the tip ends at a further '\n', if any.
    CString tip;
    int nl = full.Find('\n');
    if (nl >= 0) {
        tip = full.Mid(nl + 1);
        int end = tip.Find('\n');
        if (end >= 0)
            tip = tip.Left(end);
    }
    AfxSetToolTipText(pNMHDR, tip);
    if (pResult)
        *pResult = 0;
    return TRUE;
}

BOOL AfxHandleSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*nMsg*/)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || pApp->m_nWaitCursorCount <= 0)
        return FALSE;
    pApp->RestoreWaitCursor();
    return TRUE;
}
