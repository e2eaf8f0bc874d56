#include "framework/controls/tabs/TWKTabControl.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// TWKTab

IMPLEMENT_DYNAMIC(TWKTab, CObject)

TWKTab::TWKTab()
    : m_nWidth(0), m_nHeight(0), m_bSelected(FALSE), m_pClient(NULL), m_dwUserData(0), m_pExtra(NULL)
{
}

// ---------------------------------------------------------------------------
// TWKTabControlBase

IMPLEMENT_DYNAMIC(TWKTabControlBase, CWnd)

BEGIN_MESSAGE_MAP(TWKTabControlBase, CWnd)
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

TWKTabControlBase::TWKTabControlBase()
    : m_pTabArray(NULL), m_nActiveTab(0), m_bActiveTab(FALSE), m_hCursor(NULL)
{
}

TWKTabControlBase::~TWKTabControlBase()
{
    // A window still alive here gets its WM_DESTROY through this class's map.
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    DeleteAllTabs();
}

BOOL TWKTabControlBase::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    if (!CWnd::Create(lpszClass, NULL, dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    if (!m_pTabArray)
        m_pTabArray = new CObArray;
    m_hCursor = ::LoadCursor(NULL, IDC_ARROW);
    Initialize(dwStyle);
    return TRUE;
}

void TWKTabControlBase::Initialize(DWORD) {}
TWKTab* TWKTabControlBase::CreateNewTab() { return new TWKTab; }
void TWKTabControlBase::RecalcLayout() {}
void TWKTabControlBase::OnActivateTab(int) {}
void TWKTabControlBase::DestroyGDIObjects() {}
void TWKTabControlBase::SetTabIcon(int, LPCTSTR, int, int) {}
void TWKTabControlBase::SetTabIcon(int, UINT, int, int) {}
void TWKTabControlBase::SetTabIcon(int, HICON) {}
void TWKTabControlBase::ScrollToTab(int) {}
void TWKTabControlBase::InvalidateTab(int) {}

TWKTab* TWKTabControlBase::NewTabAt(int nIndex, LPCTSTR lpszLabel, CObject* pClient, DWORD dwUserData,
                                    void* pExtra)
{
    if (!m_pTabArray || nIndex < 0 || nIndex > GetTabCount())
        return NULL;
    TWKTab* pTab = CreateNewTab();
    pTab->SetLabel(lpszLabel);
    pTab->m_pClient = pClient;
    pTab->m_dwUserData = dwUserData;
    pTab->m_pExtra = pExtra;
    pTab->m_bSelected = FALSE;
    m_pTabArray->InsertAt(nIndex, pTab);
    if (m_bActiveTab && nIndex <= m_nActiveTab)
        m_nActiveTab++;   // the same tab, one place further back
    return pTab;
}

TWKTab* TWKTabControlBase::InsertTab(int nIndex, LPCTSTR lpszLabel, CObject* pClient, DWORD dwUserData,
                                     void* pExtra)
{
    TWKTab* pTab = NewTabAt(nIndex, lpszLabel, pClient, dwUserData, pExtra);
    if (pTab)
    {
        // Empty in the base; the controls lay out their strip again.
        RecalcLayout();
        InvalidateTabsFrom(nIndex);
    }
    return pTab;
}

TWKTab* TWKTabControlBase::AddTab(LPCTSTR lpszLabel, CObject* pClient, DWORD dwUserData, void* pExtra)
{
    int nIndex = GetTabCount();
    TWKTab* pTab = NewTabAt(nIndex, lpszLabel, pClient, dwUserData, pExtra);
    if (pTab)
    {
        RecalcLayout();
        InvalidateTab(nIndex);
    }
    return pTab;
}

void TWKTabControlBase::InvalidateTabsFrom(int nIndex)
{
    for (int i = nIndex; i < GetTabCount(); i++)
        InvalidateTab(i);
}

void TWKTabControlBase::DeleteTab(int nIndex)
{
    if (!IsValidIndex(nIndex))
        return;
    InvalidateTabsFrom(nIndex);
    delete GetTab(nIndex);
    m_pTabArray->RemoveAt(nIndex);
    if (m_bActiveTab)
    {
        int nCount = GetTabCount();
        if (nCount == 0)
            m_bActiveTab = FALSE;
        else if (nIndex < m_nActiveTab)
            m_nActiveTab--;   // the same tab, one place further forward
        else if (m_nActiveTab >= nCount)
        {
            m_bActiveTab = FALSE;
            ActivateTab(nCount - 1);
        }
        else if (m_nActiveTab == nIndex)
        {
            m_bActiveTab = FALSE;
            ActivateTab(nIndex);
        }
    }
    InvalidateTabsFrom(nIndex);
    RecalcLayout();
}

void TWKTabControlBase::RenameTab(int nIndex, LPCTSTR lpszLabel)
{
    if (!IsValidIndex(nIndex))
        return;
    InvalidateTabsFrom(nIndex);
    GetTab(nIndex)->SetLabel(lpszLabel);
    RecalcLayout();
    InvalidateTabsFrom(nIndex);
}

void TWKTabControlBase::ActivateTab(int nIndex)
{
    if (!IsValidIndex(nIndex))
        return;
    TWKTab* pNew = GetTab(nIndex);
    TWKTab* pOld = m_bActiveTab ? GetTab(m_nActiveTab) : NULL;
    TWKTabActivateInfo info;
    info.nCtrlId = GetDlgCtrlID();
    info.nNewTab = nIndex;
    info.nOldTab = pOld ? m_nActiveTab : -1;
    info.pNewClient = pNew->m_pClient;
    info.pOldClient = pOld ? pOld->m_pClient : NULL;
    if (pOld && m_nActiveTab == nIndex)
        return;
    if (pOld)
    {
        pOld->m_bSelected = FALSE;
        InvalidateTab(m_nActiveTab);
    }
    m_nActiveTab = nIndex;
    m_bActiveTab = TRUE;
    pNew->m_bSelected = TRUE;
    OnActivateTab(nIndex);
    InvalidateTab(nIndex);
    ScrollToTab(nIndex);
    NotifyParent(TWKTCN_ACTIVATE, (WPARAM)nIndex, (LPARAM)&info);
}

void TWKTabControlBase::NotifyActiveTabClicked()
{
    NotifyParent(TWKTCN_ACTIVETABCLICKED, (WPARAM)m_nActiveTab, 0);
}

void TWKTabControlBase::SelectTab(int nIndex)
{
    if (!IsValidIndex(nIndex))
        return;
    GetTab(nIndex)->m_bSelected = TRUE;
    InvalidateTab(nIndex);
    NotifyParent(TWKTCN_ACTIVATE, (WPARAM)m_nActiveTab, 0);
}

void TWKTabControlBase::ClearSelection()
{
    for (int i = 0; i < GetTabCount(); i++)
    {
        TWKTab* pTab = GetTab(i);
        if (pTab->m_bSelected)
        {
            pTab->m_bSelected = FALSE;
            InvalidateTab(i);
        }
    }
    m_bActiveTab = FALSE;
    NotifyParent(TWKTCN_CLEARSELECTION, 0, 0);
}

LRESULT TWKTabControlBase::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hParent = m_hWnd ? ::GetParent(m_hWnd) : NULL;
    return hParent ? ::SendMessageA(hParent, message, wParam, lParam) : 0;
}

int TWKTabControlBase::GetTabCount() const
{
    return m_pTabArray ? (int)m_pTabArray->GetSize() : 0;
}

TWKTab* TWKTabControlBase::GetTab(int nIndex) const
{
    return IsValidIndex(nIndex) ? static_cast<TWKTab*>(m_pTabArray->GetAt(nIndex)) : NULL;
}

BOOL TWKTabControlBase::GetActiveTab(int& nIndex) const
{
    nIndex = m_nActiveTab;
    return m_bActiveTab;
}

BOOL TWKTabControlBase::GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CObject*& pClient,
                                   DWORD& dwUserData, void*& pExtra) const
{
    TWKTab* pTab = GetTab(nIndex);
    if (!pTab)
        return FALSE;
    lpszLabel = pTab->GetFullLabel();
    bSelected = pTab->m_bSelected;
    pClient = pTab->m_pClient;
    dwUserData = pTab->m_dwUserData;
    pExtra = pTab->m_pExtra;
    return TRUE;
}

BOOL TWKTabControlBase::FindTab(const CObject* pClient, int& nIndex) const
{
    BOOL bFound = FALSE;
    for (int i = 0; i < GetTabCount(); i++)
    {
        if (GetTab(i)->m_pClient == pClient)
        {
            nIndex = i;
            bFound = TRUE;
        }
    }
    return bFound;
}

BOOL TWKTabControlBase::TabExists(const CObject* pClient) const
{
    int nIndex;
    return FindTab(pClient, nIndex);
}

void TWKTabControlBase::DeleteAllTabs()
{
    if (!m_pTabArray)
        return;
    for (int i = 0; i < GetTabCount(); i++)
        delete GetTab(i);
    delete m_pTabArray;
    m_pTabArray = NULL;
    m_bActiveTab = FALSE;
}

BOOL TWKTabControlBase::ReplaceFont(CFont& font, const LOGFONTA& lf)
{
    LOGFONTA lfOld = {};
    BOOL bOld = font.GetSafeHandle() && font.GetLogFont(&lfOld);
    font.DeleteObject();
    if (font.CreateFontIndirect(&lf))
        return TRUE;
    if (bOld)
        font.CreateFontIndirect(&lfOld);
    return FALSE;
}

void TWKTabControlBase::InvalidateAfterFontChange(BOOL bActiveFont)
{
    if (!bActiveFont)
        InvalidateTabsFrom(0);
    else if (m_bActiveTab)
        InvalidateTab(m_nActiveTab);
}

void TWKTabControlBase::OnDestroy()
{
    DeleteAllTabs();
    CWnd::OnDestroy();
}

BOOL TWKTabControlBase::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCursor);
    return TRUE;
}

// ---------------------------------------------------------------------------
// TWKTabControl: the flat strip

namespace {
const int kTabSlant = 6;     // each side of a trapezoid slants this far over the strip's height
const int kTabOverlap = 5;   // neighbouring tabs overlap this far
const int kScrollStep = 10;
const DWORD kFirstRepeatDelay = 300;
const DWORD kRepeatDelay = 20;
}

IMPLEMENT_DYNAMIC(TWKTabControl, TWKTabControlBase)

BEGIN_MESSAGE_MAP(TWKTabControl, TWKTabControlBase)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKTabControl::TWKTabControl()
    : m_nScrollOffset(0), m_nTabHeight(0), m_bMultiSelect(TRUE), m_nButtons(0), m_nPressedButton(0),
      m_nDisabledButtons(0), m_cxButton(0), m_cyButton(0)
{
    m_clrText[0] = m_clrText[1] = m_clrText[2] = RGB(0, 0, 0);
}

void TWKTabControl::Initialize(DWORD dwStyle)
{
    if (dwStyle & 0x1)
        m_nButtons = TWKTCB_PREV | TWKTCB_NEXT;
    else if (dwStyle & 0x2)
        m_nButtons = TWKTCB_FIRST | TWKTCB_PREV | TWKTCB_NEXT | TWKTCB_LAST;
    else
        m_nButtons = 0;
    m_nTabHeight = ::GetSystemMetrics(SM_CYHSCROLL) + 1;
    m_cxButton = m_cyButton = m_nTabHeight;
    for (int i = 0; i < 3; i++)
    {
        m_fonts[i].DeleteObject();
        m_fonts[i].CreateFont(m_nTabHeight - 2, 0, 0, 0, i == 2 ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                              ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                              "Arial Narrow");
        m_pens[i].DeleteObject();
        m_pens[i].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        m_brushes[i].DeleteObject();
        m_brushes[i].CreateSolidBrush(::GetSysColor(i == 0 ? COLOR_BTNFACE : COLOR_WINDOW));
        m_clrText[i] = RGB(0, 0, 0);
    }
    m_penShadow.DeleteObject();
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
}

void TWKTabControl::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(&m_fonts[2]);
    for (int i = 0; i < GetTabCount(); i++)
    {
        TWKTab* pTab = GetTab(i);
        pTab->m_nWidth = dc.GetTextExtent(pTab->m_csLabel).cx + 20;
    }
    dc.SelectObject(pOldFont);
}

int TWKTabControl::TotalButtonWidth() const
{
    int n = 0;
    for (UINT bit = TWKTCB_FIRST; bit <= TWKTCB_LAST; bit <<= 1)
        if (m_nButtons & bit)
            n++;
    return n * m_cxButton;
}

CRect TWKTabControl::GetTabArea() const
{
    CRect rc;
    GetClientRect(&rc);
    rc.left = TotalButtonWidth();
    return rc;
}

CRect TWKTabControl::GetButtonArea() const
{
    CRect rc;
    GetClientRect(&rc);
    rc.right = rc.left + 1 + TotalButtonWidth();
    return rc;
}

CRect TWKTabControl::GetButtonRect(UINT nButton) const
{
    if (!(m_nButtons & nButton))
        return CRect(0, 0, 0, 0);
    int x = 0;
    for (UINT bit = TWKTCB_FIRST; bit < nButton; bit <<= 1)
        if (m_nButtons & bit)
            x += m_cxButton;
    return CRect(x, 0, x + m_cxButton, m_cyButton);
}

UINT TWKTabControl::ButtonFromPoint(CPoint point) const
{
    for (UINT bit = TWKTCB_FIRST; bit <= TWKTCB_LAST; bit <<= 1)
        if ((m_nButtons & bit) && GetButtonRect(bit).PtInRect(point))
            return bit;
    return 0;
}

int TWKTabControl::TabLeft(int nIndex) const
{
    int x = m_nScrollOffset + GetTabArea().left;
    for (int i = 0; i < nIndex; i++)
        x += GetTab(i)->m_nWidth - kTabOverlap;
    return x;
}

BOOL TWKTabControl::GetTabRgn(int nIndex, CRgn& rgn) const
{
    TWKTab* pTab = GetTab(nIndex);
    if (!pTab)
        return FALSE;
    CRect area = GetTabArea();
    int x0 = TabLeft(nIndex);
    POINT pts[4] = { { x0, area.top }, { x0 + kTabSlant, area.bottom },
                     { x0 + pTab->m_nWidth - kTabSlant, area.bottom }, { x0 + pTab->m_nWidth, area.top } };
    rgn.DeleteObject();
    return rgn.CreatePolygonRgn(pts, 4, ALTERNATE);
}

int TWKTabControl::HitTest(CPoint point) const
{
    for (int i = 0; i < GetTabCount(); i++)
    {
        CRgn rgn;
        if (GetTabRgn(i, rgn) && rgn.PtInRegion(point))
            return i;
    }
    return -1;
}

void TWKTabControl::InvalidateTab(int nIndex)
{
    CRgn rgn;
    if (m_hWnd && GetTabRgn(nIndex, rgn))
        InvalidateRgn(rgn, TRUE);
}

void TWKTabControl::SetButtonsEnabled(UINT nButtons, BOOL bEnable)
{
    for (UINT bit = TWKTCB_FIRST; bit <= TWKTCB_LAST; bit <<= 1)
    {
        if (!(nButtons & bit & m_nButtons))
            continue;
        BOOL bDisabled = (m_nDisabledButtons & bit) != 0;
        if (bDisabled != !bEnable)
        {
            m_nDisabledButtons ^= bit;
            CRect rc = GetButtonRect(bit);
            InvalidateRect(&rc, FALSE);
        }
    }
}

void TWKTabControl::UpdateScrollButtons()
{
    int nCount = GetTabCount();
    if (nCount == 0)
    {
        m_nDisabledButtons = TWKTCB_FIRST | TWKTCB_PREV | TWKTCB_NEXT | TWKTCB_LAST;
        CRect rc = GetButtonArea();
        InvalidateRect(&rc, FALSE);
        return;
    }
    CRect client;
    GetClientRect(&client);
    int nLastRight = TabLeft(nCount - 1) + GetTab(nCount - 1)->m_nWidth;
    int nLimit = m_nScrollOffset - nLastRight + client.right;
    if (m_nScrollOffset < 0)
    {
        if (m_nDisabledButtons & TWKTCB_PREV)
            SetButtonsEnabled(TWKTCB_FIRST | TWKTCB_PREV, TRUE);
    }
    else
    {
        m_nScrollOffset = 0;
        if (!(m_nDisabledButtons & TWKTCB_PREV))
            SetButtonsEnabled(TWKTCB_FIRST | TWKTCB_PREV, FALSE);
    }
    if (m_nScrollOffset > nLimit)
    {
        if (m_nDisabledButtons & TWKTCB_NEXT)
            SetButtonsEnabled(TWKTCB_NEXT | TWKTCB_LAST, TRUE);
    }
    else
    {
        m_nScrollOffset = std::min(nLimit, 0);
        if (!(m_nDisabledButtons & TWKTCB_NEXT))
            SetButtonsEnabled(TWKTCB_NEXT | TWKTCB_LAST, FALSE);
    }
}

void TWKTabControl::SetScrollOffset(int nOffset)
{
    int nOld = m_nScrollOffset;
    m_nScrollOffset = nOffset;
    UpdateScrollButtons();
    if (m_nScrollOffset != nOld)
    {
        CRect area = GetTabArea();
        ScrollWindow(m_nScrollOffset - nOld, 0, &area, &area);
        UpdateWindow();
    }
}

void TWKTabControl::ScrollToTab(int nIndex)
{
    TWKTab* pTab = GetTab(nIndex);
    CRect client;
    if (!pTab || !m_hWnd)
        return;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CRect area = GetTabArea();
    int nMargin = pTab->m_nWidth + 20 < area.Width() ? 20 : 0;
    int nOffset = m_nScrollOffset;
    int r = TabLeft(nIndex) + pTab->m_nWidth;
    if (r > area.right)
        m_nScrollOffset += area.right - r - nMargin;
    int l = TabLeft(nIndex);
    if (l < area.left)
        m_nScrollOffset += nMargin - l + area.left;
    int nWanted = m_nScrollOffset;
    m_nScrollOffset = nOffset;
    SetScrollOffset(nWanted);
}

BOOL TWKTabControl::StepButton(UINT nButton)
{
    if ((m_nDisabledButtons & nButton) || GetTabCount() == 0)
        return FALSE;
    int nOld = m_nScrollOffset;
    int nOffset = m_nScrollOffset;
    switch (nButton)
    {
    case TWKTCB_FIRST:
        nOffset = 0;
        break;
    case TWKTCB_PREV:
        nOffset += kScrollStep;
        break;
    case TWKTCB_NEXT:
        nOffset -= kScrollStep;
        break;
    case TWKTCB_LAST:
    {
        int nLast = GetTabCount() - 1;
        nOffset += GetTabArea().right - (TabLeft(nLast) + GetTab(nLast)->m_nWidth);
        break;
    }
    }
    SetScrollOffset(nOffset);
    return m_nScrollOffset != nOld;
}

void TWKTabControl::TrackButton(UINT nButton)
{
    m_nPressedButton = nButton;
    CRect rc = GetButtonRect(nButton);
    InvalidateRect(&rc, TRUE);
    if (m_nDisabledButtons & nButton)
        return;
    StepButton(nButton);
    if (::GetCapture() != NULL && ::GetCapture() != m_hWnd)
        return;
    HWND hWnd = m_hWnd;
    ::SetCapture(hWnd);
    BOOL bRepeats = nButton == TWKTCB_PREV || nButton == TWKTCB_NEXT;
    DWORD dwLast = ::GetTickCount();
    DWORD dwDelay = kFirstRepeatDelay;
    for (;;)
    {
        MSG msg;
        if (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            // A window destroyed meanwhile is not touched again.
            if (!::IsWindow(hWnd))
                return;
            if (msg.message == WM_LBUTTONUP || ::GetCapture() != hWnd)
                break;
            continue;
        }
        DWORD dwWait = INFINITE;
        if (bRepeats && !(m_nDisabledButtons & nButton))
        {
            DWORD dwElapsed = ::GetTickCount() - dwLast;
            if (dwElapsed > dwDelay)
            {
                StepButton(nButton);
                dwLast = ::GetTickCount();
                dwDelay = kRepeatDelay;
                continue;
            }
            dwWait = dwDelay - dwElapsed + 1;
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, dwWait, QS_ALLINPUT);
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
}

void TWKTabControl::PressTab(UINT nFlags, CPoint point)
{
    int nHit = HitTest(point);
    if (nHit < 0)
        return;
    TWKTab* pHit = GetTab(nHit);
    if (m_bMultiSelect && (nFlags & MK_CONTROL))
    {
        pHit->m_bSelected = !pHit->m_bSelected;
        if (m_bActiveTab && m_nActiveTab == nHit)
            m_bActiveTab = FALSE;
        InvalidateTab(nHit);
        return;
    }
    if (m_bMultiSelect && (nFlags & MK_SHIFT))
    {
        int nAnchor = IsValidIndex(m_nActiveTab) ? m_nActiveTab : nHit;
        int nLow = std::min(nAnchor, nHit), nHigh = std::max(nAnchor, nHit);
        m_bActiveTab = FALSE;
        for (int i = 0; i < GetTabCount(); i++)
        {
            TWKTab* pTab = GetTab(i);
            BOOL bInRange = i >= nLow && i <= nHigh;
            if (pTab->m_bSelected != bInRange)
            {
                pTab->m_bSelected = bInRange;
                InvalidateTab(i);
            }
        }
        ActivateTab(nHit);
        return;
    }
    if (m_bActiveTab && m_nActiveTab == nHit)
    {
        NotifyActiveTabClicked();
        return;
    }
    for (int i = 0; i < GetTabCount(); i++)
    {
        TWKTab* pTab = GetTab(i);
        if (pTab->m_bSelected)
        {
            pTab->m_bSelected = FALSE;
            InvalidateTab(i);
        }
    }
    pHit->m_bSelected = FALSE;
    ActivateTab(nHit);
}

void TWKTabControl::OnLButtonDown(UINT nFlags, CPoint point)
{
    UINT nButton = ButtonFromPoint(point);
    if (nButton)
        TrackButton(nButton);
    else
        PressTab(nFlags, point);
}

void TWKTabControl::OnLButtonDblClk(UINT, CPoint point)
{
    UINT nButton = ButtonFromPoint(point);
    if (nButton)
    {
        TrackButton(nButton);
        return;
    }
    int nHit = HitTest(point);
    NotifyParent(TWKTCN_DBLCLK, (WPARAM)(nHit < 0 ? 0 : nHit), 0);
}

void TWKTabControl::OnLButtonUp(UINT, CPoint)
{
    if (m_nPressedButton)
    {
        CRect rc = GetButtonRect(m_nPressedButton);
        InvalidateRect(&rc, FALSE);
        m_nPressedButton = 0;
    }
}

void TWKTabControl::OnSize(UINT nType, int cx, int cy)
{
    TWKTabControlBase::OnSize(nType, cx, cy);
    SetScrollOffset(m_nScrollOffset);
}

BOOL TWKTabControl::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillRect(&rc, &m_brushes[0]);
    return TRUE;
}

BOOL TWKTabControl::SetTabFont(CFont* pFont, int nState, BOOL bRedraw)
{
    if (!pFont || !pFont->GetSafeHandle() || nState < 0 || nState > 2)
        return FALSE;
    LOGFONTA lf;
    if (!pFont->GetLogFont(&lf) || !ReplaceFont(m_fonts[nState], lf))
        return FALSE;
    if (bRedraw)
        InvalidateAfterFontChange(nState == 2);
    return TRUE;
}

void TWKTabControl::DrawScrollButton(CDC* pDC, UINT nButton)
{
    CRect rc = GetButtonRect(nButton);
    int L = rc.left, T = rc.top, w = rc.Width(), h = rc.Height();
    COLORREF clrFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    pDC->FillSolidRect(L - 1, T, w, 1, clrFrame);
    pDC->FillSolidRect(L, T + h, w - 1, 1, clrFrame);
    pDC->FillSolidRect(L - 1, T + 1, 1, h - 1, clrFrame);
    pDC->FillSolidRect(L + w - 1, T, 1, h - 1, clrFrame);
    pDC->FillSolidRect(L + 1, T + 1, w - 2, h - 1, clrFace);
    BOOL bPressed = m_nPressedButton == nButton;
    if (bPressed)
    {
        pDC->FillSolidRect(L, T + 1, 2, h - 1, clrShadow);
        pDC->FillSolidRect(L, T + 1, w - 1, 2, clrShadow);
        pDC->FillSolidRect(L + w - 2, T + 1, 1, h - 1, clrShadow);
        pDC->FillSolidRect(L, T + h - 1, w - 1, 1, clrShadow);
    }
    else
    {
        pDC->FillSolidRect(L, T + 1, 1, h - 2, clrHighlight);
        pDC->FillSolidRect(L, T + 1, w - 2, 1, clrHighlight);
        pDC->FillSolidRect(L + w - 2, T + 1, 1, h - 1, clrShadow);
        pDC->FillSolidRect(L, T + h - 2, w - 1, 1, clrShadow);
        pDC->FillSolidRect(L + w - 3, T + 2, 1, h - 3, clrShadow);
        pDC->FillSolidRect(L + 1, T + h - 3, w - 3, 1, clrShadow);
    }

    COLORREF clrGlyph = (m_nDisabledButtons & nButton) ? clrShadow : RGB(0, 0, 0);
    CPen pen(PS_SOLID, 1, clrGlyph);
    CBrush brush(clrGlyph);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    int aw = (int)(w * 0.3), ah = (int)(h * 0.55);
    int cx = w / 2 + L, cy = (h - 1) / 2 + T;
    if (bPressed)
        cx++, cy++;
    int yBottom = cy + ah / 2, yTop = yBottom - ah;
    BOOL bLeft = nButton == TWKTCB_FIRST || nButton == TWKTCB_PREV;
    POINT tip = bLeft ? CPoint(cx - aw / 2, cy) : CPoint(cx + aw / 2, cy);
    if (nButton == TWKTCB_PREV || nButton == TWKTCB_LAST)
        tip.x -= 2;
    int xBase = bLeft ? tip.x + aw : tip.x - aw;
    POINT tri[3] = { tip, { xBase, yBottom }, { xBase, yTop } };
    pDC->Polygon(tri, 3);
    if (nButton == TWKTCB_FIRST || nButton == TWKTCB_LAST)
    {
        int x = nButton == TWKTCB_FIRST ? tip.x - 2 : tip.x + 2;
        pDC->MoveTo(x, yTop);
        pDC->LineTo(x, yBottom + 1);
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void TWKTabControl::DrawTab(CDC* pDC, int nIndex, CRgn* pRgn)
{
    TWKTab* pTab = GetTab(nIndex);
    if (!pTab || !pRgn)
        return;
    CRect area = GetTabArea();
    int x0 = TabLeft(nIndex), w = pTab->m_nWidth;
    POINT fill[4] = { { x0, area.top }, { x0 + kTabSlant, area.bottom },
                      { x0 + w - 7, area.bottom }, { x0 + w - 2, area.top } };
    CRgn rgnFill;
    rgnFill.CreatePolygonRgn(fill, 4, ALTERNATE);
    pDC->PaintRgn(&rgnFill);

    CRect box;
    pRgn->GetRgnBox(&box);
    CPoint p0(box.left, box.top), p1(box.left + kTabSlant, box.bottom - 1);
    CPoint p2(box.left + w - kTabSlant, box.bottom - 1), p3(box.left + w, box.top);
    pDC->MoveTo(p0);
    pDC->LineTo(p1);
    CPen* pStatePen = pDC->SelectObject(&m_penShadow);
    pDC->LineTo(p2.x - 2, p2.y);
    pDC->LineTo(p3.x - 2, p3.y);
    pDC->SelectObject(pStatePen);
    pDC->MoveTo(p2.x - 1, p2.y);
    pDC->LineTo(p3.x - 1, p3.y);

    pDC->SetTextAlign(TA_BOTTOM);
    CSize ext = pDC->GetTextExtent(pTab->m_csLabel);
    int x = p1.x + ((p2.x - ext.cx) - p1.x) / 2;
    int y = (ext.cy - p1.y + p0.y) / 2 + p1.y;
    pDC->TextOut(x, y, pTab->m_csLabel);
}

void TWKTabControl::OnPaint()
{
    CPaintDC dc(this);
    CRect rcPaint(dc.m_ps.rcPaint);
    for (UINT bit = TWKTCB_FIRST; bit <= TWKTCB_LAST; bit <<= 1)
    {
        CRect rc = GetButtonRect(bit);
        CRect rcMeet;
        if ((m_nButtons & bit) && rcMeet.IntersectRect(&rc, &rcPaint))
            DrawScrollButton(&dc, bit);
    }

    int nSaved = dc.SaveDC();
    CRect area = GetTabArea();
    dc.IntersectClipRect(&area);
    dc.SetBkMode(TRANSPARENT);
    // Plain tabs first, then the selected ones, the active tab last so that it lies over its neighbours.
    for (int nState = 0; nState < 3; nState++)
    {
        dc.SetTextColor(m_clrText[nState]);
        dc.SelectObject(&m_brushes[nState]);
        dc.SelectObject(&m_fonts[nState]);
        dc.SelectObject(&m_pens[nState]);
        for (int i = 0; i < GetTabCount(); i++)
        {
            BOOL bActive = m_bActiveTab && i == m_nActiveTab;
            int nTabState = bActive ? 2 : (GetTab(i)->m_bSelected ? 1 : 0);
            CRgn rgn;
            if (nTabState == nState && GetTabRgn(i, rgn) && rgn.RectInRegion(&rcPaint))
                DrawTab(&dc, i, &rgn);
        }
    }
    // The top line, open above the active tab towards the page.
    dc.SelectObject(&m_pens[2]);
    CRgn rgnActive;
    if (m_bActiveTab && GetTabRgn(m_nActiveTab, rgnActive))
    {
        CRect box;
        rgnActive.GetRgnBox(&box);
        if (box.left > GetButtonArea().right)
        {
            dc.MoveTo(area.left, area.top);
            dc.LineTo(box.left, area.top);
        }
        dc.MoveTo(box.right - 1, area.top);
        dc.LineTo(area.right, area.top);
    }
    else
    {
        dc.MoveTo(area.left, area.top);
        dc.LineTo(area.right, area.top);
    }
    dc.RestoreDC(nSaved);
}

void TWKTabControl::OnDestroy()
{
    TWKTabControlBase::OnDestroy();
    for (int i = 0; i < 3; i++)
    {
        m_fonts[i].DeleteObject();
        m_brushes[i].DeleteObject();
        m_pens[i].DeleteObject();
    }
    m_penShadow.DeleteObject();
}
