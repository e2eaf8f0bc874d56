// Menu tracking: popups under the menu bar's buttons, moving between menus,
// keyboard menu mode and the frame's system menu at its caption icon.
#include "framework/controls/menus/TWKMenuBarFeature.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/frames/TWKMDIFrameWnd.h"

const UINT WM_TWK_MENUPROD = AfxRegisterWindowMessage("WM_TWK_MENUPROD");

// The SC_MOUSEMENU request the system makes for a click on the caption icon.
#define TWK_SC_MOUSEMENU_ICON 0xF093

namespace {

// The states the platform gives a window's system menu when it opens it.
void SetSysMenuStates(HWND hWnd, HMENU hMenu)
{
    DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    BOOL bZoomed = ::IsZoomed(hWnd), bIconic = ::IsIconic(hWnd);
    struct Item { UINT nID; BOOL bEnable; } items[] = {
        { SC_RESTORE, bZoomed || bIconic },
        { SC_MOVE, !bZoomed },
        { SC_SIZE, !bZoomed && !bIconic && (dwStyle & WS_THICKFRAME) },
        { SC_MINIMIZE, !bIconic && (dwStyle & WS_MINIMIZEBOX) },
        { SC_MAXIMIZE, !bZoomed && (dwStyle & WS_MAXIMIZEBOX) },
    };
    for (const Item& item : items)
        ::EnableMenuItem(hMenu, item.nID, MF_BYCOMMAND | (item.bEnable ? MF_ENABLED : MF_GRAYED));
}

// The tracking state: one menu bar tracks at a time on the one
// user-interface thread.
POINT g_ptLast = { 0, 0 };
HWND g_hWndTrackedBar = nullptr;
TWKMenuBarMessages* g_pTracking = nullptr;
HHOOK g_hMsgFilterHook = nullptr;
HHOOK g_hKeyboardHook = nullptr;
HHOOK g_hMouseHook = nullptr;
BOOL g_bIconTracking = FALSE;
TWKTBNotify* g_pPendingDrop = nullptr;

void FreeIfHeap(TWKTBNotify* pNotify)
{
    if (pNotify && pNotify->nReserved == TWK_TBNOTIFY_HEAP)
        delete pNotify;
}

TWKCustomToolBar* ToolBarFromHandle(HWND hWnd)
{
    CWnd* pWnd = hWnd ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    return (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar))) ? static_cast<TWKCustomToolBar*>(pWnd)
                                                                        : nullptr;
}

// The character a key gives without Shift (letters upper-case), folded as
// menus fold mnemonics; 0 for a key without one.
char KeyChar(UINT nVirtKey)
{
    UINT nChar = ::MapVirtualKeyA(nVirtKey, MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;   // the top bit marks a dead key
    if (nChar == 0 || nChar > 0xFF)
        return 0;
    return (char)(BYTE)nChar;
}
} // namespace

// ---- TWKMenuBarMessages

TWKMenuBarMessages::~TWKMenuBarMessages()
{
    if (g_pTracking != this)
        return;
    // Hooks must not outlive the object they call.
    SetMenuModeHooks(FALSE);
    SetMsgFilterHook(FALSE);
    g_pTracking = nullptr;
}

BOOL TWKMenuBarMessages::IsPopupOpen()
{
    return g_hWndTrackedBar != nullptr;
}

BOOL TWKMenuBarMessages::HasMenuModeHooks()
{
    return g_hKeyboardHook != nullptr && g_hMouseHook != nullptr;
}

BOOL TWKMenuBarMessages::HasMsgFilterHook()
{
    return g_hMsgFilterHook != nullptr;
}

TWKMenuBarMessages* TWKMenuBarMessages::GetTrackingObject()
{
    return g_pTracking;
}

void TWKMenuBarMessages::MoveToAdjacentMenu(BOOL bForward)
{
    m_bMenuSelect = FALSE;
    m_bMoveForward = bForward;
    if (CWnd* pFrame = GetFrameWnd())
        ::PostMessageA(pFrame->m_hWnd, WM_TWK_MENUPROD, 0, 0);
}

void TWKMenuBarMessages::CancelMenus()
{
    if (m_pMenuBar && m_pMenuBar->m_hWnd && m_pMenuBar->IsInMenuMode())
        m_pMenuBar->ExitMenuMode();
    if (IsPopupOpen())
        if (CWnd* pFrame = GetFrameWnd())
            ::SendMessageA(pFrame->m_hWnd, WM_CANCELMODE, 0, 0);
}

void TWKMenuBarMessages::SwapMenu(UINT nIDMenu)
{
    if (!m_pMenuBar)
        return;
    m_pMenuBar->ActivateMenu(nIDMenu);
    if (!m_pMenuBar->m_hWnd)
        return;
    // While the dock context moves bars the layout waits for idle time.
    CWnd* pFrame = GetFrameWnd();
    auto* pMDIFrame = pFrame ? dynamic_cast<TWKMDIFrameWnd*>(CWnd::FromHandlePermanent(pFrame->m_hWnd)) : nullptr;
    if (pMDIFrame && pMDIFrame->m_bMDIFloatToggle) {
        m_pMenuBar->Invalidate(TRUE);
        pMDIFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
        return;
    }
    if (CFrameWnd* pParent = m_pMenuBar->GetParentFrame())
        pParent->RecalcLayout(TRUE);
    m_pMenuBar->Invalidate(TRUE);
}

void TWKMenuBarMessages::OpenSelectedMenu()
{
    if (m_pMenuBar && m_pMenuBar->m_hWnd)
        m_pMenuBar->OpenSelectedMenu();
}

void TWKMenuBarMessages::TrackMenuMouse(POINT* pt)
{
    if (!m_pMenuBar || !m_pMenuBar->m_hWnd)
        return;
    POINT ptClient = *pt;
    m_pMenuBar->ScreenToClient(&ptClient);
    m_pMenuBar->SetMenuSelectionAt(&ptClient);
}

void TWKMenuBarMessages::NoteAltKey()
{
    m_bAltUsed = TRUE;
}

BOOL TWKMenuBarMessages::OnCaptionIconClick(MSG* pMsg)
{
    CWnd* pFrame = GetFrameWnd();
    if (!pFrame || !pMsg)
        return FALSE;
    CRect rect;
    ::GetWindowRect(pFrame->m_hWnd, &rect);
    if (::GetWindowLongA(pFrame->m_hWnd, GWL_STYLE) & WS_THICKFRAME)
        rect.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    rect.right = rect.left + ::GetSystemMetrics(SM_CXSIZE) - 1;
    rect.bottom = rect.top + ::GetSystemMetrics(SM_CYSIZE);
    POINT pt = { (short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam) };
    if (!rect.PtInRect(pt))
        return FALSE;
    ::PostMessageA(pFrame->m_hWnd, WM_CANCELMODE, 0, 0);
    if (pMsg->message == WM_LBUTTONDBLCLK) {
        UINT nDefault = ::GetMenuDefaultItem(::GetSystemMenu(pFrame->m_hWnd, FALSE), FALSE, 0);
        if (nDefault == (UINT)-1)
            nDefault = SC_CLOSE;
        ::PostMessageA(pFrame->m_hWnd, WM_SYSCOMMAND, nDefault, 0);
    }
    return TRUE;
}

void TWKMenuBarMessages::GetSysMenuIconRect(LPRECT pRect)
{
    CWnd* pFrame = GetFrameWnd();
    ::SetRectEmpty(pRect);
    if (!pFrame)
        return;
    RECT rcWindow;
    ::GetWindowRect(pFrame->m_hWnd, &rcWindow);
    pRect->left = rcWindow.left + ::GetSystemMetrics(SM_CXFRAME);
    pRect->right = pRect->left + ::GetSystemMetrics(SM_CXSIZE);
    pRect->top = rcWindow.top + ::GetSystemMetrics(SM_CYFRAME);
    pRect->bottom = pRect->top + ::GetSystemMetrics(SM_CYSIZE);
}

void TWKMenuBarMessages::TrackButtonMenu(TWKCustomToolBar* pBar, HMENU hMenu, TWKTBNotify* pNotify)
{
    CWnd* pFrame = GetFrameWnd();
    if (!hMenu || !pBar || !pFrame)
        return;
    CRect rect;
    if (pNotify && pNotify->nIndex >= 0 && pNotify->nIndex < pBar->GetButtonCount()) {
        pBar->GetItemRect(pNotify->nIndex, &rect);
        pBar->ClientToScreen(&rect);
    } else {
        pBar->GetWindowRect(&rect);
    }
    // A maximised child's system menu belongs to the child: its commands go
    // there, and it shows the child's states (tracked as a popup, it gets none
    // from the platform).
    HWND hOwner = pFrame->m_hWnd;
    CWnd* pMDIFrame = CWnd::FromHandlePermanent(hOwner);
    if (pMDIFrame && pMDIFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        if (CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pMDIFrame)->MDIGetActive())
            if (::GetSystemMenu(pChild->m_hWnd, FALSE) == hMenu) {
                hOwner = pChild->m_hWnd;
                SetSysMenuStates(hOwner, hMenu);
            }
    SetMsgFilterHook(TRUE);
    TPMPARAMS tpm = { sizeof(tpm), rect };
    ::TrackPopupMenuEx(hMenu, 0, rect.left, rect.bottom, hOwner, &tpm);
    SetMsgFilterHook(FALSE);
}

void TWKMenuBarMessages::TrackSystemMenu(TWKCustomToolBar* /*pBar*/, HMENU hMenu, TWKTBNotify* /*pNotify*/)
{
    CWnd* pFrame = GetFrameWnd();
    if (!hMenu || !pFrame)
        return;
    CRect rect;
    GetSysMenuIconRect(&rect);
    SetMsgFilterHook(TRUE);
    g_bIconTracking = TRUE;
    TPMPARAMS tpm = { sizeof(tpm), rect };
    UINT nCmd = (UINT)::TrackPopupMenuEx(hMenu, TPM_RETURNCMD, rect.left, rect.bottom, pFrame->m_hWnd, &tpm);
    g_bIconTracking = FALSE;
    if (nCmd)
        ::PostMessageA(pFrame->m_hWnd, WM_SYSCOMMAND, nCmd, 0);
    SetMsgFilterHook(FALSE);
}

void TWKMenuBarMessages::SetMsgFilterHook(BOOL bSet)
{
    if (bSet && !g_hMsgFilterHook) {
        g_hMsgFilterHook = ::SetWindowsHookExA(WH_MSGFILTER, &MsgFilterHookProc, nullptr, ::GetCurrentThreadId());
    } else if (!bSet && g_hMsgFilterHook) {
        ::UnhookWindowsHookEx(g_hMsgFilterHook);
        g_hMsgFilterHook = nullptr;
    }
}

void TWKMenuBarMessages::SetMenuModeHooks(BOOL bSet)
{
    if (bSet && !g_hKeyboardHook && !g_hMouseHook) {
        g_hKeyboardHook = ::SetWindowsHookExA(WH_KEYBOARD, &KeyboardHookProc, nullptr, ::GetCurrentThreadId());
        g_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, &MouseHookProc, nullptr, ::GetCurrentThreadId());
    } else if (!bSet && g_hKeyboardHook && g_hMouseHook) {
        ::UnhookWindowsHookEx(g_hKeyboardHook);
        ::UnhookWindowsHookEx(g_hMouseHook);
        g_hKeyboardHook = g_hMouseHook = nullptr;
    }
}

BOOL TWKMenuBarMessages::PreTranslateMessage(MSG* pMsg)
{
    if (!m_pMenuBar || !m_pMenuBar->m_hWnd || !pMsg)
        return FALSE;
    char ch = 0;
    BOOL bSwallowUnknown = TRUE;
    switch (pMsg->message) {
    case WM_SYSKEYUP:
        if (pMsg->wParam != VK_MENU)
            return FALSE;
        // Alt alone toggles menu mode, unless it went down in a popup.
        if (!m_bAltUsed) {
            if (m_pMenuBar->IsInMenuMode())
                m_pMenuBar->ExitMenuMode();
            else
                m_pMenuBar->SetMenuSelection(m_pMenuBar->GetFirstTBMenuButton());
        }
        m_bAltUsed = FALSE;
        return TRUE;
    case WM_KEYUP:
        // The platform gives Alt's release as a plain key-up when it counts the
        // press as used (after a menu the press closed, say): no toggle, but
        // the press is over, or the next Alt alone would be taken for used.
        if (pMsg->wParam == VK_MENU)
            m_bAltUsed = FALSE;
        return FALSE;
    case WM_SYSCOMMAND:
        if ((pMsg->wParam & 0xFFF0) != SC_KEYMENU)
            return FALSE;
        ch = (char)(BYTE)pMsg->lParam;
        break;
    case WM_SYSKEYDOWN:
        if (::GetKeyState(VK_MENU) >= 0 || pMsg->wParam == VK_MENU)
            return FALSE;
        ch = KeyChar((UINT)pMsg->wParam);
        bSwallowUnknown = FALSE;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        // Alt held for a click (an Alt-drag, say): its release is no menu key.
        if (::GetKeyState(VK_MENU) < 0)
            NoteAltKey();
        return FALSE;
    default:
        return FALSE;
    }
    if (ch == ' ' || ch == '-') {
        if (m_pMenuBar->IsInMenuMode())
            m_pMenuBar->ExitMenuMode();
        m_bKeyboardOpen = TRUE;
        m_pMenuBar->DropSystemMenu();
        return TRUE;
    }
    // Folded through unsigned char: a byte above 127 is a character too,
    // and a lead byte is none.
    int nButton = m_pMenuBar->FindMnemonicButton(TWKFoldMnemonic(ch));
    if (nButton == -1)
        return bSwallowUnknown;
    m_bKeyboardOpen = TRUE;
    m_pMenuBar->PressMenuButton(nButton);
    return TRUE;
}

void TWKMenuBarMessages::OnMenuSelect(UINT /*nItemID*/, UINT /*nFlags*/, HMENU /*hSysMenu*/)
{
    m_bMenuSelect = TRUE;
}

LRESULT TWKMenuBarMessages::OnMenuProd(WPARAM, LPARAM)
{
    // A submenu opened by the same key means the key was not a move.
    if (m_bMenuSelect || !m_pMenuBar || !m_pMenuBar->m_hWnd)
        return 0;
    m_bKeyboardOpen = TRUE;
    m_pMenuBar->GoToAdjacentMenu(m_bMoveForward);
    return 0;
}

HMENU TWKMenuBarMessages::MenuOfDrop(const TWKTBNotify* pNotify, BOOL* pbSysMenu)
{
    *pbSysMenu = FALSE;
    CWnd* pFrame = GetFrameWnd();
    if (!pFrame)
        return nullptr;
    if (pNotify->a && pNotify->b >= 0) {
        return (HMENU)::SendMessageA(pFrame->m_hWnd, WM_TWKGETMENU, (WPARAM)(UINT)pNotify->a,
                                     (LPARAM)pNotify->b);
    }
    if (pNotify->a) {
        HMENU hMenu = (HMENU)(INT_PTR)pNotify->a;
        return ::IsMenu(hMenu) ? hMenu : nullptr;
    }
    if (pNotify->b != -1)
        return nullptr;
    HMENU hSysMenu = ::GetSystemMenu(pFrame->m_hWnd, FALSE);
    if (!hSysMenu)
        return nullptr;
    if (::GetMenuDefaultItem(hSysMenu, FALSE, 0) == (UINT)-1)
        ::SetMenuDefaultItem(hSysMenu, SC_CLOSE, FALSE);
    *pbSysMenu = TRUE;
    return hSysMenu;
}

BOOL TWKMenuBarMessages::OnNotify(WPARAM /*wParam*/, NMHDR* pNMHDR, LRESULT* pResult)
{
    if (!m_pMenuBar || !pNMHDR)
        return FALSE;
    int nCode = (int)pNMHDR->code;
    if (nCode == TWK_TBN_MENUSELECT) {
        g_pTracking = this;
        SetMenuModeHooks(TRUE);
        return TRUE;
    }
    if (nCode == TWK_TBN_MENUEXIT) {
        SetMenuModeHooks(FALSE);
        if (g_pTracking == this && !IsPopupOpen())
            g_pTracking = nullptr;
        return TRUE;
    }
    if (nCode != TWK_TBN_DROPMENU && nCode != TWK_TBN_CLOSEMENU)
        return FALSE;
    TWKCustomToolBar* pBar = ToolBarFromHandle(pNMHDR->hwndFrom);
    if (!pBar)
        return FALSE;
    if (pResult)
        *pResult = 0;
    CWnd* pFrame = GetFrameWnd();
    if (!pFrame)
        return FALSE;
    HWND hWndFrame = pFrame->m_hWnd;
    if (nCode == TWK_TBN_CLOSEMENU) {
        if (IsPopupOpen())
            ::SendMessageA(hWndFrame, WM_CANCELMODE, 0, 0);
        return TRUE;
    }

    auto* pDrop = reinterpret_cast<TWKTBNotify*>(pNMHDR);
    for (;;) {
        BOOL bSysMenu = FALSE;
        HMENU hMenu = MenuOfDrop(pDrop, &bSysMenu);
        HWND hWndBar = pDrop->hdr.hwndFrom;
        if (!hMenu) {
            if (IsPopupOpen())
                ::SendMessageA(hWndFrame, WM_CANCELMODE, 0, 0);
            else if (TWKCustomToolBar* pDropBar = ToolBarFromHandle(hWndBar))
                pDropBar->CancelMenuButton();   // nothing to show: the button comes up again
            FreeIfHeap(pDrop);
            return TRUE;
        }
        if (IsPopupOpen()) {
            // The open popup closes first; its tracking loop drops this one.
            ::SendMessageA(hWndFrame, WM_CANCELMODE, 0, 0);
            if (pDrop != g_pPendingDrop) {
                if (!g_pPendingDrop)
                    g_pPendingDrop = new TWKTBNotify;
                *g_pPendingDrop = *pDrop;
                g_pPendingDrop->nReserved = TWK_TBNOTIFY_HEAP;
                FreeIfHeap(pDrop);
            }
            return TRUE;
        }
        TWKCustomToolBar* pDropBar = ToolBarFromHandle(hWndBar);
        if (!pDropBar) {
            FreeIfHeap(pDrop);
            return TRUE;
        }
        g_pTracking = this;
        g_hWndTrackedBar = hWndBar;
        if (bSysMenu)
            TrackSystemMenu(pDropBar, hMenu, pDrop);
        else
            TrackButtonMenu(pDropBar, hMenu, pDrop);
        g_hWndTrackedBar = nullptr;
        g_pTracking = nullptr;
        FreeIfHeap(pDrop);
        if (g_pPendingDrop) {
            pDrop = g_pPendingDrop;
            g_pPendingDrop = nullptr;
            continue;
        }
        if (TWKCustomToolBar* pEndBar = ToolBarFromHandle(hWndBar))
            pEndBar->CancelMenuButton();
        return TRUE;
    }
}

LRESULT TWKMenuBarMessages::OnInitMenuPopup(CMenu* /*pPopup*/, UINT /*nIndex*/, BOOL /*bSysMenu*/)
{

    if (m_bKeyboardOpen) {
        // Opened from the keyboard: its first item becomes selected.
        if (CWnd* pFrame = GetFrameWnd())
            ::PostMessageA(pFrame->m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
        m_bKeyboardOpen = FALSE;
    }
    return 0;
}

BOOL TWKMenuBarMessages::OnSysCommand(UINT nID, LPARAM /*lParam*/)
{
    // A click on the caption icon: the bar drops the system menu itself.
    if (nID != TWK_SC_MOUSEMENU_ICON || !m_pMenuBar || !m_pMenuBar->m_hWnd)
        return FALSE;
    m_pMenuBar->DropSystemMenu();
    return TRUE;
}

LRESULT TWKMenuBarMessages::OnNcActivate(BOOL bActive)
{
    if (!bActive)
        CancelMenus();
    return 0;
}

// ---- the hooks

BOOL TWKMenuBarMessages::HandleKeyboard(UINT nVirtKey, LPARAM lKeyData)
{
    TWKMenuBarMessages* pTracking = g_pTracking;
    if (!pTracking)
        return FALSE;
    if (lKeyData & 0x80000000)
        return nVirtKey != VK_MENU;   // Alt's release toggles menu mode off
    switch (nVirtKey) {
    case VK_MENU:
        return FALSE;
    case VK_ESCAPE:
        pTracking->CancelMenus();
        break;
    case VK_LEFT:
    case VK_RIGHT:
        pTracking->MoveToAdjacentMenu(nVirtKey == VK_RIGHT);
        break;
    case VK_DOWN:
        pTracking->OpenSelectedMenu();
        break;
    default: {
        // Any other key is a mnemonic.
        CWnd* pFrame = pTracking->GetFrameWnd();
        MSG msg = {};
        msg.hwnd = pFrame ? pFrame->m_hWnd : nullptr;
        msg.message = WM_SYSCOMMAND;
        msg.wParam = SC_KEYMENU;
        msg.lParam = (LPARAM)(BYTE)KeyChar(nVirtKey);
        pTracking->PreTranslateMessage(&msg);
        break;
    }
    }
    return TRUE;
}

BOOL TWKMenuBarMessages::HandleMouse(UINT message, POINT pt)
{
    TWKMenuBarMessages* pTracking = g_pTracking;
    if (!pTracking)
        return FALSE;
    switch (message) {
    case WM_MOUSEMOVE:
        if (pt.x != g_ptLast.x || pt.y != g_ptLast.y) {
            g_ptLast = pt;
            pTracking->TrackMenuMouse(&pt);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        pTracking->CancelMenus();
        break;
    }
    return FALSE;
}

BOOL TWKMenuBarMessages::HandleMsgFilter(MSG* pMsg)
{
    TWKMenuBarMessages* pTracking = g_pTracking;
    if (!pTracking || !pMsg)
        return FALSE;
    switch (pMsg->message) {
    case WM_LBUTTONDBLCLK:
        return g_bIconTracking && pTracking->OnCaptionIconClick(pMsg);
    case WM_LBUTTONDOWN:
        if (g_bIconTracking && pTracking->OnCaptionIconClick(pMsg))
            return TRUE;
        // fall through
    case WM_MOUSEMOVE: {
        // Mouse points in the menu loop are screen points.
        POINT pt = { (short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam) };
        if (pMsg->message == WM_MOUSEMOVE && pt.x == g_ptLast.x && pt.y == g_ptLast.y)
            return TRUE;
        g_ptLast = pt;
        if (!g_hWndTrackedBar || ::WindowFromPoint(pt) != g_hWndTrackedBar)
            return FALSE;
        TWKCustomToolBar* pBar = ToolBarFromHandle(g_hWndTrackedBar);
        return pBar && pBar->OnMenuMouseMsg(pMsg);
    }
    case WM_KEYDOWN:
        if (pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT)
            pTracking->MoveToAdjacentMenu(pMsg->wParam == VK_RIGHT);
        return FALSE;
    case WM_SYSKEYDOWN:
        if (pMsg->wParam == VK_MENU)
            pTracking->NoteAltKey();
        return FALSE;
    }
    return FALSE;
}

LRESULT CALLBACK TWKMenuBarMessages::KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_hKeyboardHook;   // the handling may remove the hook
    if (nCode == HC_ACTION && HandleKeyboard((UINT)wParam, lParam))
        return 1;
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

LRESULT CALLBACK TWKMenuBarMessages::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_hMouseHook;
    if (nCode == HC_ACTION && lParam && HandleMouse((UINT)wParam, reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam)->pt))
        return 1;
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

LRESULT CALLBACK TWKMenuBarMessages::MsgFilterHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_hMsgFilterHook;
    if (nCode == MSGF_MENU && HandleMsgFilter(reinterpret_cast<MSG*>(lParam)))
        return 1;
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

// ---- TWKMenuBarFeature

IMPLEMENT_DYNAMIC(TWKMenuBarFeature, TWKBmpMenuPlugIn)

BEGIN_MESSAGE_MAP(TWKMenuBarFeature, TWKBmpMenuPlugIn)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelectMsg)
    ON_REGISTERED_MESSAGE(WM_TWK_MENUPROD, OnMenuProdMsg)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupFeatureMsg)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMsg)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMsg)
    ON_MESSAGE(WM_CLOSE, OnCloseMsg)
END_MESSAGE_MAP()

TWKMenuBarFeature::TWKMenuBarFeature() : TWKBmpMenuPlugIn(TRUE) {}

TWKMenuBarFeature::~TWKMenuBarFeature() = default;

BOOL TWKMenuBarFeature::PreTranslateMessage(MSG* pMsg)
{
    if (TWKMenuBarMessages::PreTranslateMessage(pMsg))
        return TRUE;
    return TWKBmpMenuPlugIn::PreTranslateMessage(pMsg);
}

BOOL TWKMenuBarFeature::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (!Messages()->OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam), &lResult))
        return FALSE;
    // Set after the handling: a popup's own messages came through here meanwhile.
    m_bHandled = TRUE;
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

LRESULT TWKMenuBarFeature::OnMenuSelectMsg(WPARAM wParam, LPARAM lParam)
{
    Messages()->OnMenuSelect(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
    return 0;
}

LRESULT TWKMenuBarFeature::OnMenuProdMsg(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = Messages()->OnMenuProd(wParam, lParam);
    m_bHandled = TRUE;
    return lResult;
}

LRESULT TWKMenuBarFeature::OnInitMenuPopupFeatureMsg(WPARAM wParam, LPARAM lParam)
{
    if (Messages()->OnInitMenuPopup(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), HIWORD(lParam)))
        m_bHandled = TRUE;
    return TWKBmpMenuPlugIn::OnInitMenuPopupMsg(wParam, lParam);
}

LRESULT TWKMenuBarFeature::OnSysCommandMsg(WPARAM wParam, LPARAM lParam)
{
    if (Messages()->OnSysCommand((UINT)wParam, lParam))
        m_bHandled = TRUE;
    return 0;
}

LRESULT TWKMenuBarFeature::OnNcActivateMsg(WPARAM wParam, LPARAM /*lParam*/)
{
    if (!Messages()->OnNcActivate((BOOL)wParam))
        return 0;
    m_bHandled = TRUE;
    return TRUE;
}

LRESULT TWKMenuBarFeature::OnCloseMsg(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // A close that arrives while one of this frame's popups is tracked would
    // destroy the frame, and this object with it, under the tracking loop that
    // still uses both: the menu ends first and the close comes again after it.
    if (!IsPopupOpen() || GetTrackingObject() != Messages())
        return 0;
    ::EndMenu();
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    m_bHandled = TRUE;
    return 0;
}

TWKMenuBarFeature* TWKInstallMenuBarFeature(CFrameWnd* pFrame, TWKMenuBar* pBar, TWKBmpMgr* pBmpMgr)
{
    if (!pFrame || !pBar)
        return nullptr;
    auto* pFeature = new TWKMenuBarFeature;
    pFeature->SetMenuBar(pBar);
    if (!pFeature->PlugInTo(pFrame)) {
        delete pFeature;
        return nullptr;
    }
    if (pBmpMgr)
        pFeature->SetBmpMgr(pBmpMgr);
    return pFeature;
}
