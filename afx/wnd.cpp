#include "afx/wnd.h"
#include "afx/app.h"
#include "afx/handlemap.h"
#include "afx/tooltips.h"
#include "afx/wndgone.h"
#include <deque>
#include <mutex>
#include <set>
#include <string>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

// Permanent objects: process-wide (worker threads may look windows up).
CHandleMap<HWND, CWnd>& Windows()
{
    static auto* p = new CHandleMap<HWND, CWnd>;   // outlives every static window object
    return *p;
}
void SetWndHandle(CWnd* p, HWND h) { p->m_hWnd = h; }

// Messages being dispatched on this thread, innermost last. A deque keeps
// the addresses GetCurrentMessage handed out valid while nesting deepens.
std::deque<MSG>& MessageStack()
{
    thread_local std::deque<MSG> s;
    return s;
}

struct CreateHookState {
    HHOOK hHook = nullptr;
    CWnd* pWndInit = nullptr;
    char szClass[256] = "";      // the class the create call asked for; "" for any
    ATOM atomClass = 0;
    int nDepth = 0;
};
CreateHookState& HookState()
{
    thread_local CreateHookState s;
    return s;
}

bool IsClassOf(HWND hWnd, const CreateHookState& st)
{
    if (st.atomClass)
        return (ATOM)::GetClassWord(hWnd, GCW_ATOM) == st.atomClass;
    if (!st.szClass[0])
        return true;
    char name[256] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return lstrcmpiA(name, st.szClass) == 0;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    CreateHookState& st = HookState();
    // Only the window of the pending create call: the system may make windows
    // of its own on the thread first (an input-method window, for one).
    if (code == HCBT_CREATEWND && st.pWndInit && IsClassOf(reinterpret_cast<HWND>(wParam), st)) {
        CWnd* pWnd = st.pWndInit;
        st.pWndInit = nullptr;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        // Nothing may unwind through the system's frames: a failure here
        // cancels the creation instead.
        if (!AfxCallGuarded<BOOL>(FALSE, [&] { return pWnd->SubclassWindow(hWnd); })) {
            if (pWnd->m_hWnd == hWnd)
                pWnd->Detach();
            return 1;
        }
    }
    return ::CallNextHookEx(st.hHook, code, wParam, lParam);
}

BOOL ReflectMsg(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pChild = CWnd::FromHandlePermanent(hWndChild);
    if (!pChild)
        return FALSE;
    return pChild->OnChildNotify(message, wParam, lParam, pResult);
}

bool IsCtlColor(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

} // namespace

// ---------------------------------------------------------------------------
// Creation hook and window procedure

void AfxHookWindowCreate(CWnd* pWnd, LPCSTR lpszClass)
{
    CreateHookState& st = HookState();
    if (!st.hHook)
        st.hHook = ::SetWindowsHookExA(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
    st.pWndInit = pWnd;
    st.atomClass = 0;
    st.szClass[0] = 0;
    if (lpszClass && IS_INTRESOURCE(lpszClass))
        st.atomClass = (ATOM)(UINT_PTR)lpszClass;
    else if (lpszClass)
        lstrcpynA(st.szClass, lpszClass, sizeof st.szClass);
    st.nDepth++;
}

BOOL AfxUnhookWindowCreate()
{
    CreateHookState& st = HookState();
    BOOL bAttached = st.pWndInit == nullptr;
    st.pWndInit = nullptr;
    if (st.nDepth > 0 && --st.nDepth == 0 && st.hHook) {
        ::UnhookWindowsHookEx(st.hHook);
        st.hHook = nullptr;
    }
    return bAttached;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::deque<MSG>& stack = MessageStack();
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = (DWORD)::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    msg.pt.x = (short)LOWORD(pos);
    msg.pt.y = (short)HIWORD(pos);
    stack.push_back(msg);
    struct Pop {
        std::deque<MSG>& s;
        ~Pop() { s.pop_back(); }
    } pop{stack};

    // A failed WM_CREATE ends the creation: CreateWindowEx returns NULL.
    LRESULT lResult = AfxCallGuarded<LRESULT>(message == WM_CREATE ? -1 : 0,
                                              [&] { return pWnd->WindowProc(message, wParam, lParam); });

    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        AfxForgetToolTipWindow(hWnd);
        // The window is gone: give the original procedure back and let go.
        if (pWnd->m_pfnSuper &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &AfxWndProc)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
        pWnd->Detach();
        pWnd->m_pfnSuper = nullptr;
        pWnd->PostNcDestroy();   // may delete pWnd
    }
    return lResult;
}

std::atomic<void (*)(HWND hWnd)> g_pfnAfxWindowGone{ nullptr };

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        if (void (*pfnGone)(HWND) = g_pfnAfxWindowGone.load())
            pfnGone(hWnd);
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Window classes

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA wc;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wc))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex lock;
    static auto* names = new std::set<std::string>;   // the returned pointers stay valid
    HINSTANCE hInst = AfxGetInstanceHandle();
    char buf[128];
    wsprintfA(buf, "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
              (void*)hbrBackground, (void*)hIcon);
    std::lock_guard<std::mutex> guard(lock);
    auto it = names->find(buf);
    if (it != names->end())
        return it->c_str();
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = buf;
    if (!AfxRegisterClass(&wc))
        return nullptr;
    return names->insert(buf).first->c_str();
}

LPCSTR AfxGetDefaultWndClass()
{
    static const char name[] = "AfxWnd";
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    AfxRegisterClass(&wc);
    return name;
}

// ---------------------------------------------------------------------------
// Handle maps

CWnd::CWnd()
{
}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd)
{
}

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        Detach();
}

HWND CWnd::GetSafeHwnd() const
{
    return AfxIsNullThis(this) ? nullptr : m_hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return Windows().LookupPermanent(hWnd);
}

AFX_IMPLEMENT_HANDLE_WRAPPER(CWnd, HWND, Windows, m_hWnd, SetWndHandle)

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd) || m_hWnd)
        return FALSE;
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    return hWndControl && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// ---------------------------------------------------------------------------
// Creation

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxGetDefaultWndClass();
    return TRUE;
}

void CWnd::PreSubclassWindow()
{
}

void CWnd::PostNcDestroy()
{
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE;   // already a window
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this, cs.lpszClass);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate() && !hWnd)
        PostNcDestroy();   // never became a window: nothing else will call it
    return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                    static_cast<LPVOID>(pContext));
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    if (FromHandlePermanent(m_hWnd) == this)
        return ::DestroyWindow(m_hWnd);   // WM_NCDESTROY detaches
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;                     // a wrapper: just let go
    BOOL ok = ::DestroyWindow(hWnd);
    m_hWnd = ok ? nullptr : hWnd;
    return ok;
}

// ---------------------------------------------------------------------------
// Dispatch

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = GetCurrentMessage();
    if (!pMsg)
        return 0;
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    std::deque<MSG>& stack = MessageStack();
    return stack.empty() ? nullptr : &stack.back();
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (!lParam || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }

    // A long operation shows the wait cursor wherever the mouse goes.
    if (message == WM_SETCURSOR && AfxHandleSetCursor(this, (UINT)LOWORD(lParam), (UINT)HIWORD(lParam))) {
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }

    // Messages about a control go to the control's own object first.
    HWND hWndChild = nullptr;
    if (IsCtlColor(message)) {
        hWndChild = reinterpret_cast<HWND>(lParam);
    } else {
        switch (message) {
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CHARTOITEM:
        case WM_VKEYTOITEM:
            hWndChild = reinterpret_cast<HWND>(lParam);
            break;
        case WM_DRAWITEM: {
            auto* p = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
            if (p && p->CtlType != ODT_MENU)
                hWndChild = p->hwndItem;
            break;
        }
        case WM_MEASUREITEM: {
            auto* p = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
            if (p && p->CtlType != ODT_MENU)
                hWndChild = ::GetDlgItem(m_hWnd, (int)p->CtlID);
            break;
        }
        case WM_COMPAREITEM: {
            auto* p = reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam);
            if (p)
                hWndChild = p->hwndItem;
            break;
        }
        case WM_DELETEITEM: {
            auto* p = reinterpret_cast<LPDELETEITEMSTRUCT>(lParam);
            if (p)
                hWndChild = p->hwndItem;
            break;
        }
        default:
            break;
        }
    }
    if (hWndChild && hWndChild != m_hWnd && ReflectMsg(hWndChild, message, wParam, lParam, &lResult)) {
        if (pResult)
            *pResult = lResult;
        return TRUE;
    }

    return DispatchToMap(IsCtlColor(message) ? WM_CTLCOLOR : message, message, wParam, lParam, pResult);
}

BOOL CWnd::DispatchToMap(UINT nLookup, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    AFX_MSG_ARGS a = {};
    a.hWnd = m_hWnd;
    a.message = message;
    a.wParam = wParam;
    a.lParam = lParam;
    a.pResult = &lResult;
    if (!DispatchMapEntry(nLookup, 0, 0, a))
        return FALSE;
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

namespace {
// Collects what an update handler says about one command.
class CTestCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};
} // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // Menus and accelerators: a disabled command does not run.
        nCode = CN_COMMAND;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
    } else {
        if (ReflectMsg(hWndCtrl, WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->hwndFrom && ReflectMsg(pNMHDR->hwndFrom, WM_NOTIFY, (WPARAM)pNMHDR->idFrom, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify = { pResult, pNMHDR };
    // A tip for a tool that is a window is asked for by its handle: route it by its id.
    UINT nID = AfxGetToolTipCommandId(pNMHDR);
    if (nID != (UINT)-1)
        return OnCmdMsg(nID, (int)MAKELONG((WORD)pNMHDR->code, WM_NOTIFY), &notify, nullptr);
    return OnCmdMsg((UINT)pNMHDR->idFrom, (int)MAKELONG((WORD)pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCmdMsg(0, (int)MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    LRESULT lResult = 0;
    if (message == WM_NOTIFY) {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify = { pResult ? pResult : &lResult, pNMHDR };
        return OnCmdMsg(0, (int)MAKELONG((WORD)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    return DispatchToMap(WM_REFLECT_BASE + (IsCtlColor(message) ? WM_CTLCOLOR : message), message, wParam,
                         lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    const MSG* pMsg = GetCurrentMessage();
    if (!pMsg)
        return FALSE;
    return ReflectMsg(hWndChild, pMsg->message, pMsg->wParam, pMsg->lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* p = FromHandlePermanent(hChild))
                AfxCallWndProc(p, hChild, message, wParam, lParam);
        } else {
            ::SendMessageA(hChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hChild)) {
            CWnd wnd(hChild);
            wnd.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
            wnd.m_hWnd = nullptr;
        }
    }
}

namespace {
struct OwnedFrames {
    HWND hOwner;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectOwned(HWND hWnd, LPARAM lParam)
{
    auto* p = reinterpret_cast<OwnedFrames*>(lParam);
    if (hWnd != p->hOwner && ::GetWindow(hWnd, GW_OWNER) == p->hOwner && ::IsWindowVisible(hWnd))
        p->found.push_back(hWnd);
    return TRUE;
}
void IdleUpdateTree(HWND hWnd)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return;
    AfxCallWndProc(pWnd, hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    if (::IsWindow(hWnd))
        pWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}
} // namespace

void CWnd::SendIdleUpdate(CWnd* pMainWnd)
{
    HWND hMain = pMainWnd->GetSafeHwnd();
    if (!hMain || !::IsWindowVisible(hMain))
        return;
    IdleUpdateTree(hMain);
    // Floating frames owned by the main window.
    OwnedFrames owned = { hMain, {} };
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectOwned, reinterpret_cast<LPARAM>(&owned));
    for (HWND h : owned.found)
        if (::IsWindow(h))
            IdleUpdateTree(h);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget)
        return;
    CCmdUI state;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        UINT nID = (UINT)::GetDlgCtrlID(hChild);
        if (nID == 0 || nID == 0xFFFF || nID == (UINT)-1)
            continue;
        state.m_nID = nID;
        state.m_pOther = FromHandle(hChild);
        // A control that updates itself (e.g. a bar) comes first.
        if (CWnd* pPerm = FromHandlePermanent(hChild))
            if (pPerm->OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr))
                continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

// ---------------------------------------------------------------------------
// Helpers

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : nullptr;
    DWORD style = GetStyle();
    if (!hCenter)
        hCenter = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    RECT rcArea, rcCenter, rcWnd;
    ::GetWindowRect(m_hWnd, &rcWnd);
    if (style & WS_CHILD) {
        HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &rcArea);
        if (hCenter && hCenter != hParent) {
            ::GetWindowRect(hCenter, &rcCenter);
            ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
        } else {
            rcCenter = rcArea;
        }
        ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rcWnd), 2);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hCenter && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter))
            ::GetWindowRect(hCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    int w = rcWnd.right - rcWnd.left, h = rcWnd.bottom - rcWnd.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - w / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - h / 2;
    if (x + w > rcArea.right) x = rcArea.right - w;
    if (x < rcArea.left) x = rcArea.left;
    if (y + h > rcArea.bottom) y = rcArea.bottom - h;
    if (y < rcArea.top) y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC()
{
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}

int CWnd::GetScrollPos(int nBar) const
{
    return ::GetScrollPos(m_hWnd, nBar);
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO si = {};
    if (!GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE))
        return 0;
    int nPage = si.nPage > 0 ? (int)si.nPage - 1 : 0;
    return si.nMax - nPage;
}

CScrollBar* CWnd::GetScrollBarCtrl(int /*nBar*/) const
{
    return nullptr;
}

CPoint CWnd::GetCaretPos()
{
    POINT pt = {0, 0};
    ::GetCaretPos(&pt);
    return CPoint(pt);
}

void CWnd::GetWindowText(CString& rString) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    LPSTR p = rString.GetBuffer(n);
    ::GetWindowTextA(m_hWnd, p, n + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    rString.Empty();
    if (!hItem)
        return 0;
    CWnd(hItem).GetWindowText(rString);
    return rString.GetLength();
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    for (int id = nIDFirstButton; id <= nIDLastButton; id++)
        if (::IsDlgButtonChecked(m_hWnd, id))
            return id;
    return 0;
}

namespace {
BOOL ModifyStyleBits(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, nIndex);
    DWORD dwNew = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNew)
        return FALSE;
    ::SetWindowLongA(hWnd, nIndex, (LONG)dwNew);
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
} // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

namespace {
HWND ParentOrOwner(HWND hWnd)
{
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}
} // namespace

CWnd* CWnd::GetTopLevelParent() const
{
    HWND hWnd = m_hWnd;
    while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) {
        HWND hParent = ::GetParent(hWnd);
        if (!hParent)
            break;
        hWnd = hParent;
    }
    return FromHandle(hWnd);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    HWND hWnd = m_hWnd;
    for (HWND hOwner; hWnd && (hOwner = ParentOrOwner(hWnd)) != nullptr;)
        hWnd = hOwner;
    return FromHandle(hWnd);
}

CWnd* CWnd::FindParentFrame(HWND hWnd, bool bTopLevel)
{
    CWnd* pFound = nullptr;
    if (bTopLevel) {
        CWnd* pSelf = FromHandlePermanent(hWnd);
        if (pSelf && pSelf->IsFrameWnd())
            pFound = pSelf;
    }
    for (HWND h = hWnd ? ParentOrOwner(hWnd) : nullptr; h; h = ParentOrOwner(h)) {
        CWnd* p = FromHandlePermanent(h);
        if (p && p->IsFrameWnd()) {
            pFound = p;
            if (!bTopLevel)
                break;
        }
    }
    return pFound;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    return GetDescendantWindow(m_hWnd, nID, bOnlyPerm);
}

CWnd* CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    if (HWND hChild = ::GetDlgItem(hWnd, nID)) {
        if (::GetTopWindow(hChild)) {
            // A nested window with the same id may be the better match.
            if (CWnd* p = GetDescendantWindow(hChild, nID, bOnlyPerm))
                return p;
        }
        CWnd* p = bOnlyPerm ? FromHandlePermanent(hChild) : FromHandle(hChild);
        if (p)
            return p;
    }
    for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (CWnd* p = GetDescendantWindow(hChild, nID, bOnlyPerm))
            return p;
    }
    return nullptr;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!hChild || hChild == m_hWnd || !(::GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE))
        return -1;
    int nID = ::GetDlgCtrlID(hChild);
    if (nID == 0 || nID == -1 || nID == 0xFFFF)
        return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return nID;
}

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    BOOL bOld = m_bToolTipsEnabled;
    m_bToolTipsEnabled = bEnable;
    return bOld;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (!lpszCaption)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

// ---------------------------------------------------------------------------
// Standard handlers

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return (LRESULT)Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnSettingChange(UINT, LPCSTR) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return (HBRUSH)Default(); }

// ---------------------------------------------------------------------------
// CCmdUI

namespace {
HBITMAP& RadioDotOverride()
{
    static HBITMAP h = nullptr;
    return h;
}

HBITMAP MakeDefaultRadioDot()
{
    int cx = ::GetSystemMetrics(SM_CXMENUCHECK), cy = ::GetSystemMetrics(SM_CYMENUCHECK);
    HBITMAP hbm = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    HDC hdc = ::CreateCompatibleDC(nullptr);
    if (!hbm || !hdc) {
        if (hdc)
            ::DeleteDC(hdc);
        return hbm;
    }
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    ::PatBlt(hdc, 0, 0, cx, cy, WHITENESS);
    HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(hdc, ::GetStockObject(BLACK_PEN));
    int d = (cx < cy ? cx : cy) / 3 + 1;
    int x = (cx - d) / 2, y = (cy - d) / 2;
    ::Ellipse(hdc, x, y, x + d, y + d);
    ::SelectObject(hdc, oldPen);
    ::SelectObject(hdc, oldBrush);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    return hbm;
}
} // namespace

HBITMAP AfxGetRadioDotBitmap()
{
    if (HBITMAP h = RadioDotOverride())
        return h;
    static HBITMAP hDefault = MakeDefaultRadioDot();
    return hDefault;
}

void AfxSetRadioDotBitmap(HBITMAP hbm)
{
    RadioDotOverride() = hbm;
}

CCmdUI::CCmdUI()
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;   // a popup's own item follows its first command only when asked
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (HWND hWnd = m_pOther->GetSafeHwnd()) {
        // Disabling the focus window would strand the keyboard: move on first.
        if (!bOn && ::GetFocus() == hWnd) {
            HWND hParent = ::GetParent(hWnd);
            if (hParent)
                ::SendMessageA(hParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(hWnd, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (HWND hWnd = m_pOther->GetSafeHwnd()) {
        if (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageA(hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
    if (m_pMenu && !m_pSubMenu)
        m_pMenu->SetMenuItemBitmaps(m_nIndex, MF_BYPOSITION, nullptr, bOn ? AfxGetRadioDotBitmap() : nullptr);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (!lpszText)
        lpszText = "";
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
    } else if (HWND hWnd = m_pOther->GetSafeHwnd()) {
        // Unchanged text is not set again (no flicker).
        int n = ::GetWindowTextLengthA(hWnd);
        std::string cur(n + 1, '\0');
        ::GetWindowTextA(hWnd, &cur[0], n + 1);
        cur.resize(n);
        if (cur != lpszText)
            ::SetWindowTextA(hWnd, lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (!pTarget || m_nID == 0)
        return TRUE;
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = { nullptr, nullptr };
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}

void AfxUpdateMenuPopup(CCmdTarget* pTarget, CMenu* pPopup, BOOL bDisableIfNoHandler)
{
    if (!pTarget || !pPopup || !pPopup->m_hMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopup;
    state.m_nIndexMax = pPopup->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = pPopup->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;   // separator
        if (state.m_nID == (UINT)-1) {
            // A cascading item follows nothing itself.
            continue;
        }
        state.m_pSubMenu = nullptr;
        // System commands have no handlers in maps: never disabled for that.
        state.DoUpdate(pTarget, bDisableIfNoHandler && state.m_nID < 0xF000);
        // The handler may have added or removed items.
        UINT nCount = pPopup->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - nCount);
            while (state.m_nIndex < nCount && pPopup->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = nCount;
    }
}
