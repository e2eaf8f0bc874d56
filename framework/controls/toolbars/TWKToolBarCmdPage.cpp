// The Commands page, its button groups, its toolbar and its command list.
#include "framework/controls/toolbars/TWKToolBarCmdPage.h"
#include <new>
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKToolBarsDlg.h"
#include "framework/frameworkres.h"

namespace {

// The menu-button entry of a command: the manager's first map, then its second.
const TWKBtnMapEntry* FindMenuBtnEntry(const TWKToolBarManager* pMgr, UINT nID)
{
    const void* maps[2] = { pMgr->GetButtonMap(), pMgr->GetButtonMap2() };
    for (const void* pMap : maps) {
        const TWKBtnMapEntry* pEntry = TWKFindBtnMapEntry(pMap, nID);
        if (pEntry && pEntry->pClass == BUTTON_CLASS(TWKTBMenuBtn))
            return pEntry;
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Groups

IMPLEMENT_DYNAMIC(TWKBtnGroup, CObject)
IMPLEMENT_DYNAMIC(TWKTBBtnGroup, TWKBtnGroup)
IMPLEMENT_DYNAMIC(TWKMenuBtnGroup, TWKBtnGroup)

TWKBtnGroup::TWKBtnGroup(LPCSTR lpszName, int nCount, const UINT* pIDs)
    : m_strName(lpszName ? lpszName : ""), m_nCount(pIDs && nCount > 0 ? nCount : 0), m_pIDs(pIDs)
{
}

TWKBtnGroup::~TWKBtnGroup()
{
    SetWnd(nullptr);
}

void TWKBtnGroup::SetWnd(CWnd* pWnd)
{
    if (m_pWnd && ::IsWindow(m_pWnd->m_hWnd))
        m_pWnd->DestroyWindow();
    delete m_pWnd;
    m_pWnd = pWnd;
}

BOOL TWKBtnGroup::Create(CWnd*, TWKToolBarManager*, UINT)
{
    return FALSE;
}

BOOL TWKTBBtnGroup::Create(CWnd* pParent, TWKToolBarManager* pMgr, UINT nID)
{
    auto* pBar = new TWKCustomizeToolBar;
    SetWnd(pBar);
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BORDER_3D | CBRS_SIZE_DYNAMIC | CBRS_FLOATING;
    DWORD dwExStyle = 0;
    if (pMgr) {
        if (pMgr->IsFlyBy())
            dwStyle |= CBRS_FLYBY;
        if (pMgr->IsToolTips())
            dwStyle |= CBRS_TOOLTIPS;
        if (pMgr->IsCoolLook())
            dwExStyle = CBX_COOLLOOK | CBX_GRIPPER;
    }
    if (!pBar->Create(dwExStyle, pParent, dwStyle, nID, nullptr))
        return FALSE;
    if (pMgr) {
        pBar->m_pControlBarManager = pMgr;
        pBar->SetBmpMgr(pMgr->GetBmpMgr());
        pMgr->SetBarImageSize(pBar);
        pBar->SetOwner(pMgr->GetFrameWnd());
    }
    pBar->SetButtons(m_pIDs, m_nCount);
    return pBar->GetButtonCount() > 0;
}

void TWKTBBtnGroup::SetRect(CRect* pRect)
{
    if (auto* pBar = dynamic_cast<TWKCustomizeToolBar*>(m_pWnd))
        pBar->SetRect(pRect);
}

void TWKTBBtnGroup::Activate(BOOL bActive)
{
    if (auto* pBar = dynamic_cast<TWKCustomizeToolBar*>(m_pWnd))
        pBar->SetConfigMode(bActive);
}

BOOL TWKMenuBtnGroup::Create(CWnd* pParent, TWKToolBarManager* pMgr, UINT nID)
{
    auto* pList = new TWKMenuListBox;
    SetWnd(pList);
    const DWORD dwStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    if (!pList->CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", nullptr, dwStyle, CRect(0, 0, 0, 0), pParent, nID))
        return FALSE;
    pList->m_pManager = pMgr;
    pList->SetFont(pParent->GetFont(), FALSE);
    for (int i = 0; pMgr && i < m_nCount; i++) {
        const TWKBtnMapEntry* pEntry = FindMenuBtnEntry(pMgr, m_pIDs[i]);
        if (!pEntry || !pEntry->params[2])
            continue;
        char szText[257];
        lstrcpynA(szText, reinterpret_cast<LPCSTR>(pEntry->params[2]), sizeof(szText));
        CString strText(szText);
        int nAmp = strText.Find('&');
        if (nAmp >= 0)
            strText.Delete(nAmp);
        int nItem = pList->AddString(strText);
        if (nItem >= 0)
            pList->SetItemData(nItem, m_pIDs[i]);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// The page's toolbar

IMPLEMENT_DYNCREATE(TWKCustomizeToolBar, TWKCustomToolBar)

TWKCustomizeToolBar::TWKCustomizeToolBar()
{
    m_bConfigMode = TRUE;
}

void TWKCustomizeToolBar::SetRect(CRect* pRect)
{
    m_nMRUWidth = (UINT)pRect->Width();
    CalcDynamicLayout(-1, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
}

// ---------------------------------------------------------------------------
// The command list

IMPLEMENT_DYNAMIC(TWKMenuListBox, CListBox)

BEGIN_MESSAGE_MAP(TWKMenuListBox, CListBox)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TWKMenuListBox::TWKMenuListBox()
{
    OSVERSIONINFOA vi = {};
    vi.dwOSVersionInfoSize = sizeof(vi);
    bOwnHitTest = ::GetVersionExA(&vi) && vi.dwMajorVersion < 4;
}

int TWKMenuListBox::ItemHitTest(CPoint pt, BOOL& bOutside) const
{
    if (bOwnHitTest)
        return OwnHitTest(pt, bOutside);
    return (int)(short)LOWORD(ItemFromPoint(pt, bOutside));
}

int TWKMenuListBox::OwnHitTest(CPoint pt, BOOL& bOutside) const
{
    int nCount = GetCount();
    if (nCount <= 0) {
        bOutside = TRUE;
        return 0;
    }
    CRect rectClient;
    GetClientRect(&rectClient);
    bOutside = !rectClient.PtInRect(pt);
    if (pt.x < rectClient.left)
        pt.x = rectClient.left;
    if (pt.y < rectClient.top)
        pt.y = rectClient.top;
    BOOL bMultiColumn = (GetStyle() & LBS_MULTICOLUMN) != 0;
    int nAbove = -1;
    for (int i = GetTopIndex(); i >= 0 && i < nCount; i++) {
        CRect rect;
        if (GetItemRect(i, &rect) == LB_ERR || !rectClient.PtInRect(rect.TopLeft()))
            break;
        if (rect.PtInRect(pt))
            return i;
        if (bMultiColumn && i + 1 < nCount) {
            CRect rectNext;
            // The last item of a column takes the rest of its column.
            if (GetItemRect(i + 1, &rectNext) != LB_ERR && rectNext.left > rect.left && pt.x >= rect.left &&
                pt.x < rect.right)
                return i;
        }
        if (rect.top <= pt.y)
            nAbove = i;
    }
    return nAbove;
}

void TWKMenuListBox::OnLButtonDown(UINT, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    BOOL bOutside = TRUE;
    int nItem = ItemHitTest(point, bOutside);
    if (bOutside || nItem < 0)
        return;
    SetCurSel(nItem);
    if (!m_pManager)
        return;
    UINT nID = (UINT)GetItemData(nItem);
    if (auto* pPage = dynamic_cast<TWKToolBarCmdPage*>(GetParent()))
        pPage->ShowDescription(nID);
    // A button of the command, where the click was, is dragged as a copy.
    TWKStdBtn btn;
    btn.m_nID = nID;
    btn.m_x = point.x;
    btn.m_y = point.y;
    btn.m_cx = 23;
    btn.m_cy = 22;
    PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x - 1, point.y - 1));
    TWKCustomToolBar::DoDragButton(m_pManager, &btn, -1, point.x, point.y, nullptr, this, TRUE);
}

// ---------------------------------------------------------------------------
// The page

IMPLEMENT_DYNCREATE(TWKToolBarCmdPage, CPropertyPage)

BEGIN_MESSAGE_MAP(TWKToolBarCmdPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_TWK_TB_LIST, OnCategoryChange)
    ON_REGISTERED_MESSAGE(WM_BARNOTIFY, OnBarNotify)
    ON_REGISTERED_MESSAGE(WM_TOOLBARSTYLECHANGING, OnStyleChanging)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKToolBarCmdPage::TWKToolBarCmdPage() : CPropertyPage(IDD_TWK_TBCOMMANDS)
{
}

TWKToolBarCmdPage::TWKToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption) : CPropertyPage(nIDTemplate, nIDCaption)
{
}

TWKToolBarCmdPage::TWKToolBarCmdPage(LPCSTR lpszTemplateName, UINT nIDCaption)
    : CPropertyPage(lpszTemplateName, nIDCaption)
{
}

TWKToolBarCmdPage::~TWKToolBarCmdPage()
{
    if (m_pManager) {
        m_pManager->RemoveNotifyWnd(this);
        m_pManager->SetNoDropWnd(nullptr);
    }
    DeleteGroups();
    for (INT_PTR i = 0; i < m_arrMenuBarIDs.GetSize(); i++)
        delete[] static_cast<UINT*>(m_arrMenuBarIDs[i]);
}

void TWKToolBarCmdPage::DeleteGroups()
{
    for (INT_PTR i = 0; i < groups.GetSize(); i++)
        delete groups.GetAt(i);
    groups.RemoveAll();
}

void TWKToolBarCmdPage::SetManager(TWKToolBarManager* pMgr)
{
    m_pManager = pMgr;
    // Before the sheet runs the page has no window yet: OnInitDialog asks then.
    if (pMgr && m_hWnd)
        pMgr->AddNotifyWnd(this);
}

void TWKToolBarCmdPage::AddToolBarGroup(LPCSTR lpszName, int nCount, const UINT* pIDs)
{
    groups.Add(new TWKTBBtnGroup(lpszName, nCount, pIDs));
}

void TWKToolBarCmdPage::AddMenuGroup(LPCSTR lpszName, int nCount, const UINT* pIDs)
{
    groups.Add(new TWKMenuBtnGroup(lpszName, nCount, pIDs));
}

void TWKToolBarCmdPage::AddMenuBarGroup(LPCSTR lpszName)
{
    if (!m_pManager || (!m_pManager->GetButtonMap() && !m_pManager->GetButtonMap2()))
        return;
    TWKMenuBar* pMenuBar = m_pManager->GetFrameMenuBar();
    if (!pMenuBar)
        return;
    DWORD dwMask;
    if (!pMenuBar->m_mapMenuBits.Lookup(pMenuBar->GetCurMenuID(), dwMask))
        dwMask = 0xFFFFFFFF;
    CArray<UINT, UINT> ids;
    for (int i = 0; i < pMenuBar->GetButtonCount(); i++) {
        const TWKStdBtn* pBtn = pMenuBar->GetButton(i);
        if ((TWKMenuBar::GetButtonMenuBit(pBtn) & dwMask) && FindMenuBtnEntry(m_pManager, pBtn->m_nID))
            ids.Add(pBtn->m_nID);
    }
    if (ids.GetSize() == 0)
        return;
    auto* pIDs = new (std::nothrow) UINT[ids.GetSize()];
    if (!pIDs)
        return;
    std::copy(ids.GetData(), ids.GetData() + ids.GetSize(), pIDs);
    // Every such group keeps its own ids until the page goes.
    m_arrMenuBarIDs.Add(pIDs);
    AddMenuGroup(lpszName, (int)ids.GetSize(), pIDs);
}

void TWKToolBarCmdPage::ShowDescription(UINT nID)
{
    CString strText;
    if (nID != (UINT)-1 && strText.LoadString(nID)) {
        int nNewLine = strText.Find('\n');
        if (nNewLine >= 0)
            strText = strText.Left(nNewLine);
    }
    SetDlgItemText(IDC_TWK_TB_DESCRIPTION, strText);
}

BOOL TWKToolBarCmdPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_nCurGroup = -1;
    if (m_pManager)
        m_pManager->AddNotifyWnd(this);
    CRect rect;
    if (CWnd* pBox = GetDlgItem(IDC_TWK_TB_BUTTONS)) {
        pBox->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    // Dialog units of the page's font.
    int cxChar, cyChar;
    if (HFONT hFont = GetFont()) {
        HDC hDC = ::GetDC(m_hWnd);
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        static const char szAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, szAlphabet, 52, &size);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(hDC, &tm);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(m_hWnd, hDC);
        cxChar = (size.cx + 26) / 52;
        cyChar = tm.tmHeight + tm.tmExternalLeading;
    } else {
        LONG nUnits = ::GetDialogBaseUnits();
        cxChar = LOWORD(nUnits);
        cyChar = HIWORD(nUnits);
    }
    rect.DeflateRect(::MulDiv(6, cxChar, 4), ::MulDiv(8, cyChar, 8));

    UINT nID = IDC_TWK_TB_FIRSTGROUP;
    for (INT_PTR i = 0; i < groups.GetSize(); i++, nID--) {
        TWKBtnGroup* pGroup = groups.GetAt(i);
        if (!pGroup->Create(this, m_pManager, nID))
            return FALSE;
        pGroup->m_pWnd->SetWindowPos(&CWnd::wndTop, rect.left, rect.top, rect.Width(), rect.Height(),
                                     SWP_FRAMECHANGED);
        pGroup->SetRect(&rect);
        pGroup->m_pWnd->ShowWindow(i == 0 ? SW_SHOW : SW_HIDE);
        SendDlgItemMessage(IDC_TWK_TB_LIST, LB_ADDSTRING, 0, (LPARAM)(LPCSTR)pGroup->m_strName);
    }
    SendDlgItemMessage(IDC_TWK_TB_LIST, LB_SETCURSEL, 0);
    return TRUE;
}

BOOL TWKToolBarCmdPage::OnSetActive()
{
    if (m_pManager)
        TWKToolBarsBase::EnterModes(m_pManager, GetParent());
    int nSel = (int)SendDlgItemMessage(IDC_TWK_TB_LIST, LB_GETCURSEL);
    if (nSel >= 0 && nSel < groups.GetSize()) {
        groups.GetAt(nSel)->Activate(TRUE);
        m_nCurGroup = nSel;
    }
    return CPropertyPage::OnSetActive();
}

BOOL TWKToolBarCmdPage::OnKillActive()
{
    if (m_pManager) {
        TWKToolBarsBase::LeaveModes(m_pManager);
        if (CWnd* pSheet = GetParent())
            pSheet->EnableWindow(TRUE);
    }
    if (m_nCurGroup >= 0 && m_nCurGroup < groups.GetSize())
        groups.GetAt(m_nCurGroup)->Activate(FALSE);
    m_nCurGroup = -1;
    return CPropertyPage::OnKillActive();
}

void TWKToolBarCmdPage::OnReset()
{
    if (m_pManager) {
        TWKToolBarsBase::LeaveModes(m_pManager);
        m_pManager->SetNoDropWnd(nullptr);
    }
    CPropertyPage::OnReset();
}

void TWKToolBarCmdPage::OnDestroy()
{
    // The handle is still ours here: a later window may not inherit the notices.
    if (m_pManager)
        m_pManager->RemoveNotifyWnd(this);
    CPropertyPage::OnDestroy();
}

void TWKToolBarCmdPage::OnCategoryChange()
{
    int nSel = (int)SendDlgItemMessage(IDC_TWK_TB_LIST, LB_GETCURSEL);
    if (nSel == m_nCurGroup || nSel < 0 || nSel >= groups.GetSize())
        return;
    if (m_nCurGroup >= 0 && m_nCurGroup < groups.GetSize())
        groups.GetAt(m_nCurGroup)->Activate(FALSE);
    groups.GetAt(nSel)->Activate(TRUE);
    for (INT_PTR i = 0; i < groups.GetSize(); i++)
        if (CWnd* pWnd = groups.GetAt(i)->m_pWnd)
            if (pWnd->m_hWnd)
                pWnd->ShowWindow(i == nSel ? SW_SHOW : SW_HIDE);
    m_nCurGroup = nSel;
}

LRESULT TWKToolBarCmdPage::OnBarNotify(WPARAM wParam, LPARAM lParam)
{
    if (!m_pManager || lParam != TWK_BARNOTIFY_SELCHANGE)
        return 0;
    UINT nBarID = (UINT)wParam;
    CControlBar* pFound = m_pManager->GetFrameWnd()->GetControlBar(nBarID);
    for (INT_PTR i = 0; !pFound && i < groups.GetSize(); i++) {
        CWnd* pWnd = groups.GetAt(i)->m_pWnd;
        if (pWnd && pWnd->m_hWnd && (UINT)pWnd->GetDlgCtrlID() == nBarID)
            pFound = dynamic_cast<CControlBar*>(pWnd);
    }
    auto* pBar = dynamic_cast<TWKCustomToolBar*>(pFound);
    if (!pBar)
        return 0;
    int nIndex = pBar->GetCurrentIndex();
    ShowDescription(nIndex >= 0 && nIndex < pBar->GetButtonCount() ? pBar->GetItemID(nIndex) : (UINT)-1);
    return 0;
}

LRESULT TWKToolBarCmdPage::OnStyleChanging(WPARAM wParam, LPARAM)
{
    if (!m_pManager)
        return 0;
    for (INT_PTR i = 0; i < groups.GetSize(); i++) {
        auto* pBar = dynamic_cast<TWKCustomizeToolBar*>(groups.GetAt(i)->m_pWnd);
        if (!pBar || !pBar->m_hWnd)
            continue;
        if (wParam == TWK_TBSTYLE_LARGEBTNS) {
            m_pManager->SetBarImageSize(pBar);
        } else if (wParam == TWK_TBSTYLE_COOLLOOK) {
            const DWORD dwCool = CBX_COOLLOOK | CBX_GRIPPER;
            DWORD dwEx = pBar->GetExBarStyle();
            pBar->SetExBarStyle(m_pManager->IsCoolLook() ? (dwEx | dwCool) : (dwEx & ~dwCool), FALSE);
        }
        CRect rect;
        pBar->GetWindowRect(&rect);
        pBar->SetRect(&rect);
        pBar->Invalidate(TRUE);
    }
    return 0;
}
