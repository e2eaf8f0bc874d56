// The MDI frame's menu bar: a maximised child's system-menu icon as the
// first button and its minimise, restore and close buttons as the last.
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/frames/TWKAuxData.h"
#include <algorithm>
#include <utility>

IMPLEMENT_BUTTON_CLASS(TWKBtnCaption)
IMPLEMENT_BUTTON_CLASS(TWKCapMenuBtn)
IMPLEMENT_DYNCREATE(TWKMDIMenuBar, TWKMenuBar)

namespace {

const DWORD kCaptionStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The active MDI child of the frame a bar belongs to (floating or docked).
CMDIChildWnd* ActiveChildOf(const CWnd* pBar)
{
    if (!pBar || !pBar->m_hWnd)
        return nullptr;
    CFrameWnd* pFrame = pBar->GetTopLevelFrame();
    if (!pFrame || !pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return nullptr;
    return static_cast<CMDIFrameWnd*>(pFrame)->MDIGetActive();
}

// The icon a window shows in its caption: its own, its class's, else the
// platform's default application icon.
HICON CaptionIconOf(HWND hWnd)
{
    auto hIcon = (HICON)::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0);
    if (!hIcon)
        hIcon = (HICON)::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICONSM);
    if (!hIcon)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICON);
    if (!hIcon)
        hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    return hIcon;
}

} // namespace

// ---- the caption button

TWKBtnCaption::TWKBtnCaption()
    : m_cxPart(::GetSystemMetrics(SM_CXSIZE) - 2), m_cyPart(::GetSystemMetrics(SM_CYSIZE) - 4)
{
    m_nType = TWK_BTN_CAPTION;
}

void TWKBtnCaption::AdjustSize()
{
    m_cx = 3 * m_cxPart + 2;
    m_cy = m_cyPart;
    if (m_pToolBar)
        m_pToolBar->RaiseMaxButtonWidth(m_cx);
}

void TWKBtnCaption::GetPartRect(int nPart, int x, int y, LPRECT lpRect) const
{
    // The close part stands a little apart.
    int xPart = x + nPart * m_cxPart + (nPart == 2 ? 2 : 0);
    ::SetRect(lpRect, xPart, y, xPart + m_cxPart, y + m_cyPart);
}

int TWKBtnCaption::HitTestPart(int px, int py) const
{
    if (!(m_dwCaptionStyle & WS_SYSMENU))
        return -1;
    POINT pt = { px, py };
    for (int nPart = 0; nPart < 3; nPart++) {
        if (nPart < 2 && !(m_dwCaptionStyle & WS_MINIMIZEBOX))
            continue;
        RECT rect;
        GetPartRect(nPart, m_x, m_y, &rect);
        if (::PtInRect(&rect, pt))
            return nPart;
    }
    return -1;
}

BOOL TWKBtnCaption::LButtonDown(int px, int py)
{
    if (GetStyle() & TBBS_DISABLED)
        return FALSE;
    int nPart = HitTestPart(px, py);
    if (nPart == -1)
        return FALSE;
    m_nPressedPart = nPart;
    SetStyle(GetStyle() | TBBS_PRESSED);
    return TRUE;
}

void TWKBtnCaption::MouseMove(int px, int py)
{
    BOOL bOver = m_nPressedPart != -1 && HitTestPart(px, py) == m_nPressedPart;
    SetStyle(bOver ? (GetStyle() | TBBS_PRESSED) : (GetStyle() & ~TBBS_PRESSED));
}

void TWKBtnCaption::CancelMode()
{
    m_nPressedPart = -1;
    SetStyle(GetStyle() & ~TBBS_PRESSED);
    Invalidate(FALSE);
}

UINT TWKBtnCaption::LButtonUp(int px, int py)
{
    static const UINT commands[3] = { SC_MINIMIZE, SC_RESTORE, SC_CLOSE };
    int nPart = m_nPressedPart;
    if (nPart != -1 && HitTestPart(px, py) == nPart && m_pToolBar) {
        if (CMDIChildWnd* pChild = ActiveChildOf(m_pToolBar)) {
            POINT pt = { px, py };
            m_pToolBar->ClientToScreen(&pt);
            pChild->PostMessage(WM_SYSCOMMAND, commands[nPart], MAKELPARAM((WORD)pt.x, (WORD)pt.y));
        }
    }
    m_nPressedPart = -1;
    SetStyle(GetStyle() & ~TBBS_PRESSED);
    // The child got its command: the toolbar sends none.
    return 0;
}

void TWKBtnCaption::DrawFace(TWKBtnDrawData& data, BOOL, int& x, int& y, int& cx, int& cy, int)
{
    CDC& dc = data.m_dcCompose;
    dc.FillSolidRect(x, y, cx, cy, twkAuxData.clrBtnFace);
    if (!(m_dwCaptionStyle & WS_SYSMENU))
        return;
    static const UINT kinds[3] = { DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE };
    BOOL bPressed = (GetStyle() & TBBS_PRESSED) != 0;
    for (int nPart = 0; nPart < 3; nPart++) {
        UINT nState = kinds[nPart];
        if (nPart < 2 && !(m_dwCaptionStyle & WS_MINIMIZEBOX))
            nState |= DFCS_INACTIVE;
        if (bPressed && nPart == m_nPressedPart)
            nState |= DFCS_PUSHED;
        RECT rect;
        GetPartRect(nPart, x, y, &rect);
        dc.DrawFrameControl(&rect, DFC_CAPTION, nState);
    }
}

// ---- the icon button

TWKCapMenuBtn::TWKCapMenuBtn()
{
    m_nType = TWK_BTN_CAPMENU;
}

void TWKCapMenuBtn::AdjustSize()
{
    m_cx = 16;
    m_cy = 16;
    if (m_pToolBar)
        m_pToolBar->RaiseMaxButtonWidth(m_cx);
}

void TWKCapMenuBtn::DrawFace(TWKBtnDrawData& data, BOOL, int& x, int& y, int& cx, int& cy, int)
{
    CDC& dc = data.m_dcCompose;
    dc.FillSolidRect(x, y, cx, cy, twkAuxData.clrBtnFace);
    if (m_hIcon)
        ::DrawIconEx(dc.m_hDC, x, y, m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
}

LRESULT TWKCapMenuBtn::DropMenu()
{
    CMDIChildWnd* pChild = ActiveChildOf(m_pToolBar);
    HMENU hMenu = pChild ? ::GetSystemMenu(pChild->m_hWnd, FALSE) : nullptr;
    if (!hMenu)
        return 0;
    // A double-click on the icon closes the child, as on its own caption.
    if (::GetMenuDefaultItem(hMenu, FALSE, GMDI_USEDISABLED) == (UINT)-1)
        ::SetMenuDefaultItem(hMenu, SC_CLOSE, FALSE);
    // Menu handles keep to 32 bits on 64-bit Windows too.
    return m_pToolBar->DropMenu(this, (int)(INT_PTR)hMenu, -1);
}

// ---- the bar

TWKMDIMenuBar::TWKMDIMenuBar()
{
}

TWKMDIMenuBar::~TWKMDIMenuBar()
{
    // The base destructor deletes what is left in the array.
    TakeOutCaptionButtons();
}

CMDIChildWnd* TWKMDIMenuBar::GetActiveMDIChild() const
{
    return ActiveChildOf(this);
}

void TWKMDIMenuBar::TakeOutCaptionButtons()
{
    for (TWKStdBtn* pBtn : { static_cast<TWKStdBtn*>(&m_btnCaption), static_cast<TWKStdBtn*>(&m_btnCapMenu) }) {
        int nIndex = IndexOf(pBtn);
        if (nIndex != -1)
            m_arrButtons.RemoveAt(nIndex);
    }
}

void TWKMDIMenuBar::AddCaptionButtons()
{
    TakeOutCaptionButtons();
    for (TWKStdBtn* pBtn : { static_cast<TWKStdBtn*>(&m_btnCaption), static_cast<TWKStdBtn*>(&m_btnCapMenu) }) {
        pBtn->m_nID = TWK_CAPTIONBTN_ID;
        pBtn->SetStyle(TWK_MENUBTN_STYLE);
        pBtn->m_nImage = 0;
        pBtn->Init(this, nullptr);
        pBtn->SetMode(m_bVertical);
    }
    m_arrButtons.Add(&m_btnCaption);
    m_arrButtons.InsertAt(0, &m_btnCapMenu);
    InvalidateLayout();
    UpdateCaptionButtons(FALSE);
}

void TWKMDIMenuBar::ShowCaptionButton(TWKStdBtn* pBtn, BOOL bShow)
{
    DWORD dwStyle = pBtn->GetStyle();
    pBtn->SetStyle(bShow ? (dwStyle & ~TBBS_HIDDEN) : (dwStyle | TBBS_HIDDEN));
    pBtn->OnHiddenChanged();
    InvalidateLayout();
}

BOOL TWKMDIMenuBar::UpdateCaptionButtons(BOOL bHide)
{
    CMDIChildWnd* pChild = bHide ? nullptr : GetActiveMDIChild();
    if (pChild && pChild->IsZoomed() && (pChild->GetStyle() & WS_SYSMENU)) {
        BOOL bChanged = FALSE;
        if (m_btnCapMenu.GetStyle() & TBBS_HIDDEN) {
            ShowCaptionButton(&m_btnCapMenu, TRUE);
            bChanged = TRUE;
        }
        HICON hIcon = CaptionIconOf(pChild->m_hWnd);
        if (hIcon != m_btnCapMenu.m_hIcon) {
            m_btnCapMenu.m_hIcon = hIcon;
            m_btnCapMenu.Invalidate(FALSE);
            bChanged = TRUE;
        }
        DWORD dwCaption = pChild->GetStyle() & kCaptionStyles;
        if ((m_btnCaption.GetStyle() & TBBS_HIDDEN) || m_btnCaption.m_dwCaptionStyle != dwCaption) {
            ShowCaptionButton(&m_btnCaption, TRUE);
            m_btnCaption.m_dwCaptionStyle = dwCaption;
            m_btnCaption.Invalidate(FALSE);
            bChanged = TRUE;
        }
        return bChanged;
    }
    if (m_btnCaption.GetStyle() & TBBS_HIDDEN)
        return FALSE;
    ShowCaptionButton(&m_btnCaption, FALSE);
    ShowCaptionButton(&m_btnCapMenu, FALSE);
    return TRUE;
}

void TWKMDIMenuBar::SetMenuBitsAndCaption(DWORD dwBits)
{
    SetMenuBits(dwBits, FALSE);
    UpdateCaptionButtons(FALSE);
}

void TWKMDIMenuBar::GetBarInfoEx(TWKControlBarInfo* pInfo)
{
    // The caption buttons are the child's, not the bar's: they are not saved.
    int nIcon = IndexOf(&m_btnCapMenu);
    int nCaption = IndexOf(&m_btnCaption);
    TakeOutCaptionButtons();
    TWKMenuBar::GetBarInfoEx(pInfo);
    struct Place { int nIndex; TWKStdBtn* pBtn; } places[2] = { { nIcon, &m_btnCapMenu }, { nCaption, &m_btnCaption } };
    if (nCaption < nIcon)
        std::swap(places[0], places[1]);
    for (const Place& p : places)
        if (p.nIndex != -1)
            m_arrButtons.InsertAt(std::min(p.nIndex, GetButtonCount()), p.pBtn);
}

void TWKMDIMenuBar::SetBarInfoEx(TWKControlBarInfo* pInfo, CFrameWnd* pFrame)
{
    TWKMenuBar::SetBarInfoEx(pInfo, pFrame);
    AddCaptionButtons();
}

BOOL TWKMDIMenuBar::SetButtons(const UINT* pIDs, int nCount)
{
    BOOL bResult = TWKMenuBar::SetButtons(pIDs, nCount);
    AddCaptionButtons();
    return bResult;
}

void TWKMDIMenuBar::RemoveAllButtons()
{
    TakeOutCaptionButtons();
    TWKMenuBar::RemoveAllButtons();
}

void TWKMDIMenuBar::ResetMenus(BOOL bNoRedraw)
{
    TakeOutCaptionButtons();
    TWKMenuBar::ResetMenus(TRUE);
    if (bNoRedraw)
        return;
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->RecalcLayout();
    if (m_hWnd)
        Invalidate(TRUE);
}

BOOL TWKMDIMenuBar::DropButton(LPRECT pRect, TWKStdBtn* pBtn, BOOL bCopy, BOOL bNoUpdate)
{
    BOOL bResult = TWKMenuBar::DropButton(pRect, pBtn, bCopy, TRUE);
    // Nothing may go before the icon or after the caption buttons.
    int nIcon = IndexOf(&m_btnCapMenu);
    if (nIcon > 0) {
        m_arrButtons.RemoveAt(nIcon);
        m_arrButtons.InsertAt(0, &m_btnCapMenu);
        if (m_nCurBtn == nIcon)
            m_nCurBtn = 0;
        else if (m_nCurBtn >= 0 && m_nCurBtn < nIcon)
            m_nCurBtn++;
    }
    int nCaption = IndexOf(&m_btnCaption);
    int nLast = GetButtonCount() - 1;
    if (nCaption != -1 && nCaption < nLast) {
        m_arrButtons.RemoveAt(nCaption);
        m_arrButtons.Add(&m_btnCaption);
        if (m_nCurBtn == nCaption)
            m_nCurBtn = nLast;
        else if (m_nCurBtn > nCaption)
            m_nCurBtn--;
    }
    InvalidateLayout();
    if (!bNoUpdate && m_hWnd)
        RelayoutFrame();
    return bResult;
}
