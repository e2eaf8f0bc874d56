// The output window's bar and its tab window: records in, navigation out.
#include "ide/output/MessageBar.h"
#include "resources/ideres.h"

// ---------------------------------------------------------------- tab window

IMPLEMENT_DYNAMIC(C_MessageWnd, TWKTabWnd)

BEGIN_MESSAGE_MAP(C_MessageWnd, TWKTabWnd)
    ON_WM_CREATE()
    ON_MESSAGE(CU_WM_MESSAGE_RECORD, OnRecord)
    ON_MESSAGE(WM_OUTPUT_NAVIGATE, OnNavigate)
    ON_WM_SETFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

namespace {
const char* const kPageLabels[3] = { "Build", "Find in Files", "Result" };
const UINT kPageIDs[3] = { IDW_OUTPUT_BUILD, IDW_OUTPUT_FINDINFILES, IDW_OUTPUT_RESULT };
} // namespace

C_MessageWnd::C_MessageWnd(DWORD dwPageFlags)
    : m_wndBuild(this), m_wndFindInFiles(this), m_wndResult(this), m_nPageFlags(dwPageFlags)
{
}

C_MessageWnd::~C_MessageWnd() = default;

C_MessageCtrl* C_MessageWnd::GetPageByIndex(int nPage)
{
    C_MessageCtrl* pages[3] = { &m_wndBuild, &m_wndFindInFiles, &m_wndResult };
    if (nPage < 0 || nPage > 2 || !pages[nPage]->m_hWnd)
        return nullptr;
    return pages[nPage];
}

int C_MessageWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKTabWnd::OnCreate(lpcs) == -1)
        return -1;
    C_MessageCtrl* pages[3] = { &m_wndBuild, &m_wndFindInFiles, &m_wndResult };
    for (int i = 0; i < 3; i++) {
        if (!(m_nPageFlags & (1u << i)))
            continue;
        if (!pages[i]->Create(this, kPageIDs[i]))
            return -1;
        pages[i]->m_hNotify = m_hWnd;
    }
    return 0;
}

void C_MessageWnd::InitTabs()
{
    C_MessageCtrl* pages[3] = { &m_wndBuild, &m_wndFindInFiles, &m_wndResult };
    for (int i = 0; i < 3; i++) {
        if (!pages[i]->m_hWnd)
            continue;
        AddTab(pages[i], kPageLabels[i]);
        SetScrollStyle(GetTabCount() - 1, WS_HSCROLL | WS_VSCROLL);
    }
    if (m_fontTabs.CreateFont(-15, 0, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "System")) {
        SetActiveTabFont(&m_fontTabs, FALSE);
        SetSelectedTabFont(&m_fontTabs, FALSE);
        SetUnselectedTabFont(&m_fontTabs, FALSE);
    }
    RecalcLayout();
    if (GetTabCount() > 0) {
        ActivateTab(0);
        ScrollToTab(0);
    }
}

void C_MessageWnd::RefreshLayout()
{
    if (!m_hWnd)
        return;
    if (IsWindowVisible()) {
        CRect rc;
        GetClientRect(&rc);
        RecalcLayout();
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    }
}

void C_MessageWnd::SetPageScrollInfo(int nBar, CWnd* pPage, SCROLLINFO* pInfo, BOOL bRedraw)
{
    int nIndex;
    if (!m_hWnd || !FindTab(pPage, nIndex) || nIndex >= m_arrScrollStyle.GetSize())
        return;
    // The active page's bar shows it; every page's record keeps it for its next activation.
    auto* pRecord = static_cast<SCROLLINFO*>((nBar == SB_HORZ ? m_arrHScrollInfo : m_arrVScrollInfo)[nIndex]);
    *pRecord = *pInfo;
    pRecord->cbSize = sizeof(SCROLLINFO);
    pRecord->fMask = SIF_ALL;
    if (pPage == m_pActiveWnd)
        if (CWnd* pBar = GetScrollBar(nBar == SB_HORZ ? 0 : 1, pPage)) {
            ::SetScrollInfo(pBar->m_hWnd, SB_CTL, pInfo, bRedraw);
            // Without a redraw now, the bar paints with the next paint.
            if (!bRedraw)
                ::InvalidateRect(pBar->m_hWnd, nullptr, FALSE);
        }
}

C_MessageCtrl* C_MessageWnd::GetActivePage() const
{
    CWnd* pWnd = nullptr;
    if (!m_hWnd || !GetActiveTabWnd(pWnd))
        return nullptr;
    return dynamic_cast<C_MessageCtrl*>(pWnd);
}

void C_MessageWnd::ShowPage(C_MessageCtrl* pPage)
{
    int nIndex;
    if (pPage && pPage != m_pActiveWnd && FindTab(pPage, nIndex)) {
        ActivateTab(nIndex);
        ScrollToTab(nIndex);
    }
}

void C_MessageWnd::BeginRecordBatch()
{
    if (m_nBatch++ == 0)
        for (C_MessageCtrl* pPage : { &m_wndBuild, &m_wndFindInFiles, &m_wndResult })
            pPage->DeferCaret(TRUE);
}

void C_MessageWnd::EndRecordBatch()
{
    if (m_nBatch <= 0 || --m_nBatch > 0)
        return;
    for (C_MessageCtrl* pPage : { &m_wndBuild, &m_wndFindInFiles, &m_wndResult })
        pPage->DeferCaret(FALSE);
    if (m_pBatchPage) {
        C_MessageCtrl* pPage = m_pBatchPage;
        m_pBatchPage = nullptr;
        ShowPage(pPage);
    }
}

LRESULT C_MessageWnd::OnRecord(WPARAM wParam, LPARAM lParam)
{
    const auto* pRec = reinterpret_cast<const tagMessageRecord*>(lParam);
    if (!pRec)
        return 1;
    BOOL bLog = pRec->kind == CU_REC_START_LOG || pRec->kind == CU_REC_WRITE_LOG;
    if (!bLog && pRec->text[0] == '\0')
        return 1;
    C_MessageCtrl* pPage = pRec->kind >= CU_REC_MESSAGE && pRec->kind <= CU_REC_ERROR ? &m_wndBuild : &m_wndResult;
    if (!pPage->m_hWnd)
        return 1;
    if (m_nBatch > 0)
        m_pBatchPage = pPage;
    else
        ShowPage(pPage);
    pPage->SendMessage(CU_WM_MESSAGE_RECORD, wParam, lParam);
    return 1;
}

LRESULT C_MessageWnd::OnNavigate(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_OUTPUT_NAVIGATE, wParam, lParam);
    return 1;
}

void C_MessageWnd::FocusActivePage()
{
    if (C_MessageCtrl* pPage = GetActivePage())
        pPage->SetFocus();
}

void C_MessageWnd::OnSetFocus(CWnd* pOldWnd)
{
    TWKTabWnd::OnSetFocus(pOldWnd);
    FocusActivePage();
}

void C_MessageWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    TWKTabWnd::OnLButtonDown(nFlags, point);
    FocusActivePage();
}

void C_MessageWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    TWKTabWnd::OnHScroll(nSBCode, nPos, pScrollBar);
    FocusActivePage();
}

void C_MessageWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    TWKTabWnd::OnVScroll(nSBCode, nPos, pScrollBar);
    FocusActivePage();
}

void C_MessageWnd::OnWindowPosChanging(WINDOWPOS* pPos)
{
    // Every page keeps the tab window's two bars.
    for (int i = 0; i < GetTabCount() && i < m_arrScrollStyle.GetSize(); i++)
        m_arrScrollStyle[i] = WS_HSCROLL | WS_VSCROLL;
    TWKTabWnd::OnWindowPosChanging(pPos);
}

// ---------------------------------------------------------------- bar

IMPLEMENT_DYNAMIC(C_MessageBar, TWKControlBar)

BEGIN_MESSAGE_MAP(C_MessageBar, TWKControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_CONTEXTMENU()
    ON_WM_SETFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(CU_WM_MESSAGE_RECORD, OnRecord)
    ON_MESSAGE(WM_OUTPUT_NAVIGATE, OnNavigate)
    ON_COMMAND(ID_OUTPUT_CLEAR, OnClear)
END_MESSAGE_MAP()

C_MessageBar::C_MessageBar(DWORD dwPageFlags) : m_wndTabs(dwPageFlags)
{
}

C_MessageBar::~C_MessageBar() = default;

int C_MessageBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_wndTabs.Create(this, WS_CHILD | WS_VISIBLE | TCS_TABS, IDW_OUTPUT_TABS))
        return -1;
    m_wndTabs.InitTabs();
    return 0;
}

void C_MessageBar::OnSize(UINT nType, int cx, int cy)
{
    if (m_wndTabs.m_hWnd) {
        CRect rc;
        GetInsideRect(rc);
        m_wndTabs.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                               SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    }
    TWKControlBar::OnSize(nType, cx, cy);
}

BOOL C_MessageBar::OnEraseBkgnd(CDC* pDC)
{
    CRect rcWindow, rcInside;
    GetWindowRect(&rcWindow);
    ScreenToClient(&rcWindow);
    GetInsideRect(rcInside);
    HBRUSH hFace = ::GetSysColorBrush(COLOR_BTNFACE);
    const RECT strips[4] = { { rcWindow.left, rcWindow.top, rcWindow.right, rcInside.top },
                             { rcWindow.left, rcInside.bottom, rcWindow.right, rcWindow.bottom },
                             { rcWindow.left, rcInside.top, rcInside.left, rcInside.bottom },
                             { rcInside.right, rcInside.top, rcWindow.right, rcInside.bottom } };
    for (const RECT& rc : strips)
        if (rc.right > rc.left && rc.bottom > rc.top)
            ::FillRect(pDC->m_hDC, &rc, hFace);
    return TRUE;
}

void C_MessageBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    CWnd* pParent = GetParent();
    if (pWnd == this && pParent) {
        pParent->SendMessage(WM_CONTEXTMENU, (WPARAM)m_hWnd, MAKELPARAM(point.x, point.y));
        return;
    }
    TWKControlBar::OnContextMenu(pWnd, point);
}

void C_MessageBar::OnSetFocus(CWnd* pOldWnd)
{
    TWKControlBar::OnSetFocus(pOldWnd);
    if (C_MessageCtrl* pPage = GetActivePage())
        pPage->SetFocus();
}

void C_MessageBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    TWKControlBar::OnLButtonDown(nFlags, point);
    if (C_MessageCtrl* pPage = GetActivePage())
        pPage->SetFocus();
}

LRESULT C_MessageBar::OnRecord(WPARAM wParam, LPARAM lParam)
{
    return m_wndTabs.m_hWnd ? m_wndTabs.SendMessage(CU_WM_MESSAGE_RECORD, wParam, lParam) : 0;
}

LRESULT C_MessageBar::OnNavigate(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_OUTPUT_NAVIGATE, wParam, lParam);
    return 1;
}

void C_MessageBar::OnClear()
{
    if (C_MessageCtrl* pPage = GetActivePage())
        pPage->Clear(TRUE);
}

void C_MessageBar::ActivatePage(int nPage)
{
    if (C_MessageCtrl* pPage = m_wndTabs.GetPageByIndex(nPage))
        m_wndTabs.ShowPage(pPage);
}

void C_MessageBar::ActivatePage(CWnd* pPage)
{
    m_wndTabs.ShowPage(dynamic_cast<C_MessageCtrl*>(pPage));
}

BOOL C_MessageBar::HasFocus()
{
    HWND hFocus = ::GetFocus();
    for (int i = 0; i < 3; i++)
        if (C_MessageCtrl* pPage = m_wndTabs.GetPageByIndex(i))
            if (pPage->m_hWnd == hFocus)
                return TRUE;
    return FALSE;
}

void C_MessageBar::Copy()
{
    if (C_MessageCtrl* pPage = GetActivePage())
        pPage->CopySelection();
}

void C_MessageBar::SelectAll()
{
    if (C_MessageCtrl* pPage = GetActivePage())
        pPage->SelectAllText();
}

BOOL C_MessageBar::IsActivePageEmpty()
{
    C_MessageCtrl* pPage = GetActivePage();
    return !pPage || pPage->IsEmpty();
}

BOOL C_MessageBar::HasActiveSelection()
{
    C_MessageCtrl* pPage = GetActivePage();
    return pPage && pPage->HasSelection();
}
