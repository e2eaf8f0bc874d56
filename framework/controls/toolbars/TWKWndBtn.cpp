// Window buttons and the combo-box button.
#include "framework/controls/toolbars/TWKWndBtn.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarCmdPage.h"
#include "framework/controls/toolbars/TWKToolBarRectTracker.h"
#include "framework/frameworkres.h"

const UINT WM_TWKTOOLBARWNDNOTIFY = ::RegisterWindowMessageA("WM_TWKTOOLBARWNDNOTIFY");

namespace {
BOOL IsAltDown()
{
    return ::GetKeyState(VK_MENU) < 0;
}
} // namespace

TWKWndBtn::TWKWndBtn()
{
    m_nType = TWK_BTN_WND;
}

HWND TWKWndBtn::WndHandle()
{
    CWnd* pWnd = GetWnd();
    return (pWnd && ::IsWindow(pWnd->m_hWnd)) ? pWnd->m_hWnd : nullptr;
}

BOOL TWKWndBtn::IsCustomizeToolBar() const
{
    return m_pToolBar && m_pToolBar->IsKindOf(RUNTIME_CLASS(TWKCustomizeToolBar));
}

BOOL TWKWndBtn::InConfigMode() const
{
    return m_pToolBar && m_pToolBar->GetConfigMode();
}

void TWKWndBtn::Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams)
{
    TWKStdBtn::Init(pToolBar, pParams);
    if (!pParams)
        return;
    m_nWidth = LOWORD(pParams[2]);
    m_nMinWidth = HIWORD(pParams[2]);
    m_nHeight = (int)pParams[3];
    CRect rect(0, 0, 0, 0);
    // Created hidden: the toolbar's SetMode that follows shows it.
    CreateWnd(pToolBar, (DWORD)pParams[1] | WS_CHILD, &rect, (UINT)pParams[0]);
    NotifyOwner(TWK_WNDNOTIFY_CREATED);
}

void TWKWndBtn::SetMode(BOOL bVertical)
{
    HWND hWnd = WndHandle();
    if (bVertical) {
        if (!m_bShown)
            return;
        if (hWnd)
            ::ShowWindow(hWnd, SW_HIDE);
        m_nWidth = m_cx;
        m_cx = m_pToolBar ? m_pToolBar->GetButtonWidth() : m_cx;
        m_bShown = FALSE;
        return;
    }
    if (m_bShown)
        return;
    m_cx = m_nWidth;
    m_bShown = TRUE;
    if (!hWnd)
        return;
    ::SetWindowPos(hWnd, nullptr, m_x, m_y, m_nWidth, m_nHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    m_nWndHeight = rect.bottom - rect.top;
    UINT nFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (!(m_dwStyle & TBBS_HIDDEN))
        nFlags |= SWP_SHOWWINDOW;
    ::SetWindowPos(hWnd, nullptr, m_x, m_y + (m_cy - m_nWndHeight) / 2, 0, 0, nFlags);
}

void TWKWndBtn::AdjustSize()
{
    if (!m_pToolBar)
        return;
    // A hosted window does not widen the compose bitmap.
    m_cx = m_bShown ? m_nWidth : m_pToolBar->GetButtonWidth();
    m_cy = m_pToolBar->GetButtonHeight();
}

void TWKWndBtn::SetPos(int x, int y)
{
    TWKStdBtn::SetPos(x, y);
    if (HWND hWnd = m_bShown ? WndHandle() : nullptr)
        ::SetWindowPos(hWnd, nullptr, m_x, WndTop(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWKWndBtn::SetStyle(DWORD dwStyle)
{
    TWKStdBtn::SetStyle(dwStyle);
    if (HWND hWnd = WndHandle()) {
        BOOL bEnable = !(dwStyle & TBBS_DISABLED);
        if (!::IsWindowEnabled(hWnd) != !bEnable)
            ::EnableWindow(hWnd, bEnable);
    }
}

void TWKWndBtn::OnHiddenChanged()
{
    if (HWND hWnd = m_bShown ? WndHandle() : nullptr)
        ::ShowWindow(hWnd, (m_dwStyle & TBBS_HIDDEN) ? SW_HIDE : SW_SHOWNA);
}

void TWKWndBtn::Invalidate(BOOL bErase)
{
    if (!m_bShown)
        TWKStdBtn::Invalidate(bErase);
}

void TWKWndBtn::Paint(CDC* pDC, TWKBtnDrawData& data)
{
    if (!m_bShown) {
        TWKStdBtn::Paint(pDC, data);
        return;
    }
    // The window paints itself.
    if (HWND hWnd = WndHandle())
        ::UpdateWindow(hWnd);
}

INT_PTR TWKWndBtn::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    return m_bShown ? -1 : TWKStdBtn::OnToolHitTest(point, pTI);
}

void TWKWndBtn::OnBtnNotify(UINT nCode, void* pData)
{
    if (nCode != TWK_BTNNOTIFY_WNDMSG) {
        TWKStdBtn::OnBtnNotify(nCode, pData);
        return;
    }
    auto* pMsg = static_cast<const TWKWndBtnMsg*>(pData);
    if (HWND hWnd = pMsg ? WndHandle() : nullptr)
        ::SendMessageA(hWnd, (UINT)pMsg->message, pMsg->wParam, pMsg->lParam);
}

void TWKWndBtn::GetBtnInfo(BYTE* pnSize, BYTE** ppData)
{
    *pnSize = 2;
    *ppData = new BYTE[2];
    (*ppData)[0] = LOBYTE(m_nWidth);
    (*ppData)[1] = HIBYTE(m_nWidth);
}

void TWKWndBtn::SetBtnInfo(BYTE nSize, const BYTE* pData)
{
    if (nSize != 2 || !pData)
        return;
    int nWidth = pData[0] | (pData[1] << 8);
    // A stored width may have been edited: one the user could not have made
    // leaves the map's width.
    if (nWidth < 1 || nWidth > ::GetSystemMetrics(SM_CXSCREEN) || nWidth < m_nMinWidth)
        return;
    m_nWidth = nWidth;
    if (!m_bShown)
        return;
    m_cx = m_nWidth;
    if (HWND hWnd = WndHandle())
        ::SetWindowPos(hWnd, nullptr, 0, 0, m_nWidth, m_nHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

BOOL TWKWndBtn::OnWndLButtonDown(UINT nFlags, int x, int y)
{
    BOOL bAlt = IsAltDown();
    if (!InConfigMode() && !bAlt)
        return FALSE;
    HWND hWnd = WndHandle();
    if (!hWnd || !m_pToolBar)
        return TRUE;
    if (m_bShown && m_nMinWidth && IsSelected() && !IsCustomizeToolBar() && !bAlt && OnRightEdge(x)) {
        RECT rectWnd;
        ::GetWindowRect(hWnd, &rectWnd);
        CRect rect(0, 0, m_cx, rectWnd.bottom - rectWnd.top);
        TWKToolBarRectTracker tracker(&rect);
        tracker.m_sizeMin.cx = m_nMinWidth;
        if (tracker.TrackRightEdge(GetWnd(), x, y)) {
            m_cx = m_nWidth = tracker.m_rect.Width();
            if (CFrameWnd* pFrame = m_pToolBar->GetParentFrame())
                pFrame->RecalcLayout();
            ::SetWindowPos(hWnd, nullptr, 0, 0, m_nWidth, m_nHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        }
        return TRUE;
    }
    // The toolbar starts a customisation drag of this button.
    POINT pt = { x, y };
    ::MapWindowPoints(hWnd, m_pToolBar->m_hWnd, &pt, 1);
    m_pToolBar->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
    return TRUE;
}

BOOL TWKWndBtn::OnWndMouseMsg()
{
    return InConfigMode();
}

BOOL TWKWndBtn::OnWndSetCursor()
{
    HWND hWnd = WndHandle();
    if (!m_bShown || !hWnd)
        return FALSE;
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(hWnd, &pt);
    if (IsSelected() && !IsCustomizeToolBar() && OnRightEdge(pt.x)) {
        // Kept for the life of the process.
        static HCURSOR s_hSizeCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TWK_TBSIZE));
        ::SetCursor(s_hSizeCursor);
        return TRUE;
    }
    if (InConfigMode()) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    return FALSE;
}

void TWKWndBtn::InvalidateIfSelected()
{
    if (HWND hWnd = IsSelected() ? WndHandle() : nullptr)
        ::InvalidateRect(hWnd, nullptr, FALSE);
}

void TWKWndBtn::DrawWndSelection()
{
    HWND hWnd = IsSelected() ? WndHandle() : nullptr;
    if (!hWnd)
        return;
    RECT rectWnd;
    ::GetWindowRect(hWnd, &rectWnd);
    CClientDC dc(CWnd::FromHandle(hWnd));
    dc.SetBkColor(RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    CRect rect(0, 0, m_cx, rectWnd.bottom - rectWnd.top);
    dc.DrawDragRect(&rect, CSize(3, 3), nullptr, CSize(0, 0));
}

LRESULT TWKWndBtn::SendToOwner(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pOwner = (m_pToolBar && m_pToolBar->m_hWnd) ? m_pToolBar->GetOwner() : nullptr;
    return pOwner ? ::SendMessageA(pOwner->m_hWnd, message, wParam, lParam) : 0;
}

void TWKWndBtn::NotifyOwner(UINT nCode)
{
    if (HWND hWnd = WndHandle())
        SendToOwner(WM_TWKTOOLBARWNDNOTIFY, MAKEWPARAM(::GetDlgCtrlID(hWnd), nCode), (LPARAM)hWnd);
}

// ---------------------------------------------------------------------------
// The combo box's edit

BEGIN_MESSAGE_MAP(TWKComboBtnEdit, CEdit)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CPoint TWKComboBtnEdit::ToCombo(CPoint point) const
{
    ::MapWindowPoints(m_hWnd, ::GetParent(m_hWnd), &point, 1);
    return point;
}

void TWKComboBtnEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    CPoint pt = ToCombo(point);
    if (!m_pBtn || !m_pBtn->OnWndLButtonDown(nFlags, pt.x, pt.y))
        Default();
}

void TWKComboBtnEdit::OnMouseMsg()
{
    if (!m_pBtn || !m_pBtn->OnWndMouseMsg())
        Default();
}

BOOL TWKComboBtnEdit::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_pBtn && m_pBtn->OnWndSetCursor())
        return TRUE;
    return (BOOL)Default();
}

// ---------------------------------------------------------------------------
// The combo button

IMPLEMENT_BUTTON_CLASS(TWKComboBtn)

BEGIN_MESSAGE_MAP(TWKComboBtn, CComboBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

TWKComboBtn::TWKComboBtn()
{
    m_nType = TWK_BTN_COMBO;
}

TWKComboBtn::~TWKComboBtn()
{
    // The edit goes with the combo box.
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL TWKComboBtn::CreateWnd(CWnd* pParent, DWORD dwStyle, LPCRECT lpRect, UINT nID)
{
    if (!(dwStyle & 0x3))
        dwStyle |= CBS_DROPDOWNLIST;
    if (!Create(dwStyle, *lpRect, pParent, nID))
        return FALSE;
    HWND hEdit = ::GetWindow(m_hWnd, GW_CHILD);
    char szClass[16] = "";
    if (hEdit)
        ::GetClassNameA(hEdit, szClass, sizeof(szClass));
    if ((dwStyle & 0x3) != CBS_SIMPLE && hEdit && lstrcmpiA(szClass, "Edit") == 0 && m_edit.SubclassWindow(hEdit)) {
        m_edit.m_pBtn = this;
        SetupFont();
        AdjustSize();
    }
    return TRUE;
}

void TWKComboBtn::SetupFont()
{
    if (!m_font.m_hObject)
        m_font.CreateFont(8, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_CHARACTER_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    SendMessage(WM_SETFONT, (WPARAM)m_font.m_hObject, TRUE);
}

void TWKComboBtn::SetMode(BOOL bVertical)
{
    TWKWndBtn::SetMode(bVertical);
    if (m_pToolBar)
        m_cy = m_pToolBar->GetButtonHeight();
}

void TWKComboBtn::AdjustSize()
{
    TWKWndBtn::AdjustSize();
}

BOOL TWKComboBtn::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        NotifyOwner(TWK_WNDNOTIFY_RETURN);
        return TRUE;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

void TWKComboBtn::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!OnWndLButtonDown(nFlags, point.x, point.y))
        Default();
}

void TWKComboBtn::OnMouseMsg()
{
    if (!OnWndMouseMsg())
        Default();
}

void TWKComboBtn::OnPaint()
{
    InvalidateIfSelected();
    Default();
    DrawWndSelection();
}

BOOL TWKComboBtn::OnSetCursor(CWnd*, UINT, UINT)
{
    if (OnWndSetCursor())
        return TRUE;
    return (BOOL)Default();
}
