// The Toolbars dialog and page, the New Toolbar dialog and their sheet.
#include "framework/controls/toolbars/TWKToolBarsDlg.h"
#include "afx/afxres.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"

const UINT WM_TOOLBARSTYLECHANGING = ::RegisterWindowMessageA("WM_TOOLBARSTYLECHANGING");

namespace {

BOOL IsUserToolBarID(UINT nID)
{
    return nID >= TWK_IDW_FIRSTUSERBAR && nID < TWK_IDW_LASTUSERBAR;
}

// The framework frame floats bars its own way.
void FloatInFrame(CFrameWnd* pFrame, CControlBar* pBar, CPoint pt)
{
    if (auto* pMDIFrame = dynamic_cast<TWKMDIFrameWnd*>(pFrame))
        pMDIFrame->FloatControlBar(pBar, pt, CBRS_ALIGN_TOP);
    else
        pFrame->CFrameWnd::FloatControlBar(pBar, pt, CBRS_ALIGN_TOP);
}

} // namespace

// ---------------------------------------------------------------------------
// The shared logic

void TWKToolBarsBase::SetManager(TWKToolBarManager* pMgr)
{
    m_pManager = pMgr;
    if (!pMgr)
        return;
    bToolTips = bSavedToolTips = pMgr->IsToolTips();
    bCoolLook = bSavedCoolLook = pMgr->IsCoolLook();
    bLargeBtns = bSavedLargeBtns = pMgr->IsLargeBtns();
}

LRESULT TWKToolBarsBase::OnFloatStatusFor(CWnd* pWnd, WPARAM wParam)
{
    if (wParam & (FS_ACTIVATE | FS_DEACTIVATE))
        pWnd->SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) ? TRUE : FALSE);
    return TRUE;
}

void TWKToolBarsBase::NotifyFrameActivation(CWnd* pWnd, UINT nState)
{
    if (CFrameWnd* pFrame = pWnd->GetTopLevelFrame())
        pFrame->NotifyFloatingWindows(nState == WA_INACTIVE ? FS_DEACTIVATE : FS_ACTIVATE);
}

void TWKToolBarsBase::AttachList(CWnd* pOwner)
{
    m_pOwner = pOwner;
    if (!m_list.m_hWnd)
        m_list.SubclassDlgItem(IDC_TWK_TB_LIST, pOwner);
    // The check list keeps at least the height its boxes need.
    m_list.SendMessage(LB_SETITEMHEIGHT, 0, 0);
}

void TWKToolBarsBase::ExchangeChecks(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_TWK_TB_TOOLTIPS, bToolTips);
    DDX_Check(pDX, IDC_TWK_TB_COOLLOOK, bCoolLook);
    DDX_Check(pDX, IDC_TWK_TB_LARGEBTNS, bLargeBtns);
}

void TWKToolBarsBase::InsertEntry(int nIndex, LPCSTR lpszText, UINT nID, int nCheck)
{
    int i = m_list.InsertString(nIndex, lpszText);
    if (i < 0)
        return;
    m_list.SetItemData(i, nID);
    m_list.SetCheck(i, nCheck);
}

void TWKToolBarsBase::FillList()
{
    m_list.ResetContent();
    CFrameWnd* pFrame = m_pManager ? m_pManager->GetFrameWnd() : nullptr;
    if (pFrame) {
        for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
            auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
            if (!pBar->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar)) || !pBar->m_hWnd)
                continue;
            CString strTitle;
            pBar->GetWindowText(strTitle);
            InsertEntry(-1, strTitle, (UINT)pBar->GetDlgCtrlID(), pBar->IsWindowVisible() ? 1 : 0);
        }
    }
    m_list.SetCurSel(0);
    UpdateControls();
}

int TWKToolBarsBase::FindEntry(UINT nID) const
{
    for (int i = 0; i < m_list.GetCount(); i++)
        if (m_list.GetItemData(i) == nID)
            return i;
    return -1;
}

TWKCustomToolBar* TWKToolBarsBase::GetSelectedBar(int* pnIndex) const
{
    int nSel = m_list.m_hWnd ? m_list.GetCurSel() : -1;
    if (pnIndex)
        *pnIndex = nSel;
    if (nSel < 0 || !m_pManager)
        return nullptr;
    return m_pManager->GetToolBar((UINT)m_list.GetItemData(nSel));
}

void TWKToolBarsBase::UpdateControls()
{
    CWnd* pEdit = m_pOwner ? m_pOwner->GetDlgItem(IDC_TWK_TB_NAME) : nullptr;
    if (!pEdit)
        return;
    pEdit->SetWindowText("");
    BOOL bUser = FALSE;
    if (TWKCustomToolBar* pBar = GetSelectedBar()) {
        CString strTitle;
        pBar->GetWindowText(strTitle);
        pEdit->SetWindowText(strTitle);
        bUser = IsUserToolBarID((UINT)pBar->GetDlgCtrlID());
    }
    pEdit->EnableWindow(bUser);
    if (CWnd* pLabel = m_pOwner->GetDlgItem(IDC_TWK_TB_NAMELABEL))
        pLabel->EnableWindow(bUser);
    CString strButton;
    strButton.LoadString(AfxGetResourceHandle(), bUser ? IDS_TWK_TBDELETE : IDS_TWK_TBRESET);
    m_pOwner->SetDlgItemText(IDC_TWK_TB_RESET, strButton);
    pEdit->SendMessage(EM_SETMODIFY, FALSE);
}

void TWKToolBarsBase::OnListCheckChange()
{
    int nSel;
    TWKCustomToolBar* pBar = GetSelectedBar(&nSel);
    if (!pBar)
        return;
    if ((UINT)pBar->GetDlgCtrlID() == TWK_IDW_LASTUSERBAR) {
        // The menu bar cannot be hidden.
        m_list.SetCheck(nSel, 1);
        return;
    }
    CFrameWnd* pFrame = m_pManager->GetFrameWnd();
    pFrame->ShowControlBar(pBar, m_list.GetCheck(nSel) != 0, FALSE);
    pFrame->RecalcLayout();
}

void TWKToolBarsBase::OnNameKillFocus()
{
    CWnd* pEdit = m_pOwner ? m_pOwner->GetDlgItem(IDC_TWK_TB_NAME) : nullptr;
    if (!pEdit || !pEdit->IsWindowEnabled() || !pEdit->SendMessage(EM_GETMODIFY))
        return;
    int nSel;
    TWKCustomToolBar* pBar = GetSelectedBar(&nSel);
    if (!pBar)
        return;
    CString strName;
    pEdit->GetWindowText(strName);
    if (strName.GetLength() > TWK_TOOLBAR_NAMEMAX) {
        strName = strName.Left(TWK_TOOLBAR_NAMEMAX);
        pEdit->SetWindowText(strName);
    }
    pBar->SetWindowText(strName);
    if (pBar->IsFloating()) {
        if (CWnd* pParent = pBar->GetParent())
            pParent->SetWindowText(strName);
        if (CFrameWnd* pFloat = pBar->GetParentFrame())
            pFloat->SetWindowText(strName);
    }
    pEdit->SendMessage(EM_SETMODIFY, FALSE);
    int nCheck = m_list.GetCheck(nSel);
    UINT nID = (UINT)m_list.GetItemData(nSel);
    m_list.DeleteString((UINT)nSel);
    InsertEntry(nSel, strName, nID, nCheck);
    m_list.SetCurSel(nSel);
}

void TWKToolBarsBase::OnDeleteOrReset()
{
    TWKCustomToolBar* pBar = GetSelectedBar();
    if (!pBar)
        return;
    UINT nID = (UINT)pBar->GetDlgCtrlID();
    if (IsUserToolBarID(nID)) {
        // Its "destroyed" notice removes the entry.
        pBar->DestroyWindow();
        return;
    }
    if (auto* pMenuBar = dynamic_cast<TWKMenuBar*>(pBar)) {
        pMenuBar->ResetMenus(FALSE);
        return;
    }
    int nCount = 0;
    const UINT* pIDs = nullptr;
    if (!m_pManager->GetDefaultToolBarButtons(nID, &nCount, &pIDs))
        return;
    pBar->SetButtons(pIDs, nCount);
    m_pManager->GetFrameWnd()->RecalcLayout();
    pBar->Invalidate(TRUE);
    pBar->UpdateWindow();
}

BOOL TWKToolBarsBase::OnNewToolBar()
{
    if (!m_pManager)
        return FALSE;
    // The name dialog runs with the frame left alone.
    m_pManager->ExitConfigMode();
    TWKNewToolBar dlg(m_pOwner);
    INT_PTR nResult = dlg.DoModal();
    m_pManager->EnterConfigMode();
    if (nResult != IDOK)
        return FALSE;
    TWKCustomToolBar* pBar = m_pManager->CreateUserToolBar(dlg.strName);
    if (!pBar)
        return FALSE;
    CFrameWnd* pFrame = m_pManager->GetFrameWnd();
    CRect rect;
    CPoint pt;
    if (CControlBar* pTop = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)) {
        pTop->GetWindowRect(&rect);
        pt = CPoint(rect.left + 5, rect.bottom + 5);
    } else {
        pFrame->GetClientRect(&rect);
        pFrame->ClientToScreen(&rect);
        pt = CPoint(rect.right + 5, rect.bottom + 5);
    }
    FloatInFrame(pFrame, pBar, pt);
    return TRUE;
}

LRESULT TWKToolBarsBase::OnBarNotifyFor(WPARAM wParam, LPARAM lParam)
{
    UINT nID = (UINT)wParam;
    int nEntry = FindEntry(nID);
    switch (lParam) {
    case TWK_BARNOTIFY_SHOWN:
    case TWK_BARNOTIFY_HIDDEN:
        if (nEntry >= 0)
            m_list.SetCheck(nEntry, lParam == TWK_BARNOTIFY_SHOWN ? 1 : 0);
        break;
    case TWK_BARNOTIFY_CREATED: {
        CFrameWnd* pFrame = m_pManager ? m_pManager->GetFrameWnd() : nullptr;
        CControlBar* pBar = pFrame ? pFrame->GetControlBar(nID) : nullptr;
        if (nEntry >= 0 || !pBar || !pBar->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar)))
            break;
        int nAt = 0;
        while (nAt < m_list.GetCount() && (UINT)m_list.GetItemData(nAt) <= nID)
            nAt++;
        CString strTitle;
        pBar->GetWindowText(strTitle);
        InsertEntry(nAt, strTitle, nID, 1);
        break;
    }
    case TWK_BARNOTIFY_DESTROYED: {
        if (nEntry < 0)
            break;
        BOOL bSelected = m_list.GetCurSel() == nEntry;
        m_list.DeleteString((UINT)nEntry);
        if (bSelected) {
            int nCount = m_list.GetCount();
            if (nCount > 0)
                m_list.SetCurSel(nEntry < nCount ? nEntry : nCount - 1);
            UpdateControls();
        }
        break;
    }
    default:
        break;
    }
    return 0;
}

void TWKToolBarsBase::ApplySettings()
{
    if (!m_pManager)
        return;
    m_pManager->EnableToolTips(bToolTips);
    m_pManager->EnableCoolLook(bCoolLook, CBX_COOLLOOK | CBX_GRIPPER);
    m_pManager->EnableLargeBtns(bLargeBtns);
}

void TWKToolBarsBase::RestoreSettings()
{
    if (!m_pManager)
        return;
    m_pManager->EnableToolTips(bSavedToolTips);
    m_pManager->EnableCoolLook(bSavedCoolLook, CBX_COOLLOOK | CBX_GRIPPER);
    m_pManager->EnableLargeBtns(bSavedLargeBtns);
}

void TWKToolBarsBase::EnterModes(TWKToolBarManager* pMgr, CWnd* pNoDropWnd)
{
    pMgr->SetToolBarsConfigMode(TRUE);
    pMgr->EnterConfigMode();
    pMgr->SetNoDropWnd(pNoDropWnd);
}

void TWKToolBarsBase::LeaveModes(TWKToolBarManager* pMgr)
{
    pMgr->ExitConfigMode();
    pMgr->SetToolBarsConfigMode(FALSE);
}

// ---------------------------------------------------------------------------
// The dialog

BEGIN_MESSAGE_MAP(TWKToolBarsDlg, CDialog)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_ACTIVATE()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(WM_BARNOTIFY, OnBarNotify)
    ON_LBN_SELCHANGE(IDC_TWK_TB_LIST, OnListSelChange)
    ON_CLBN_CHKCHANGE(IDC_TWK_TB_LIST, OnListCheck)
    ON_EN_KILLFOCUS(IDC_TWK_TB_NAME, OnNameKill)
    ON_BN_CLICKED(IDC_TWK_TB_NEW, OnNew)
    ON_BN_CLICKED(IDC_TWK_TB_CUSTOMIZE, OnCustomize)
    ON_BN_CLICKED(IDC_TWK_TB_RESET, OnReset)
    ON_BN_CLICKED(IDC_TWK_TB_TOOLTIPS, OnToolTips)
    ON_BN_CLICKED(IDC_TWK_TB_COOLLOOK, OnCheckBox)
    ON_BN_CLICKED(IDC_TWK_TB_LARGEBTNS, OnCheckBox)
END_MESSAGE_MAP()

TWKToolBarsDlg::TWKToolBarsDlg(CWnd* pParent) : CDialog(IDD_TWK_TOOLBARS, pParent)
{
}

TWKToolBarsDlg::~TWKToolBarsDlg() = default;

BOOL TWKToolBarsDlg::OnInitDialog()
{
    AttachList(this);
    CDialog::OnInitDialog();
    CenterWindow();
    FillList();
    if (m_pManager) {
        EnterModes(m_pManager, this);
        m_pManager->AddNotifyWnd(this);
        m_bRunning = TRUE;
    }
    return TRUE;
}

void TWKToolBarsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    ExchangeChecks(pDX);
}

void TWKToolBarsDlg::LeaveDialogModes()
{
    if (!m_bRunning)
        return;
    m_bRunning = FALSE;
    LeaveModes(m_pManager);
    m_pManager->RemoveNotifyWnd(this);
    m_pManager->SetNoDropWnd(nullptr);
}

void TWKToolBarsDlg::EndToolBars(int nResult)
{
    LeaveDialogModes();
    if (nResult != IDCANCEL)
        ApplySettings();
    EndDialog(nResult);
}

void TWKToolBarsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndToolBars(IDOK);
}

void TWKToolBarsDlg::OnCancel()
{
    EndToolBars(IDCANCEL);
}

void TWKToolBarsDlg::OnDestroy()
{
    // However the window goes, the frame leaves configuration mode.
    LeaveDialogModes();
    CDialog::OnDestroy();
}

LRESULT TWKToolBarsDlg::OnFloatStatus(WPARAM wParam, LPARAM)
{
    return OnFloatStatusFor(this, wParam);
}

void TWKToolBarsDlg::OnActivate(UINT nState, CWnd*, BOOL)
{
    Default();
    NotifyFrameActivation(this, nState);
}

LRESULT TWKToolBarsDlg::OnBarNotify(WPARAM wParam, LPARAM lParam)
{
    return OnBarNotifyFor(wParam, lParam);
}

void TWKToolBarsDlg::OnListSelChange()
{
    UpdateControls();
}

void TWKToolBarsDlg::OnListCheck()
{
    OnListCheckChange();
}

void TWKToolBarsDlg::OnNameKill()
{
    OnNameKillFocus();
}

void TWKToolBarsDlg::OnNew()
{
    if (OnNewToolBar())
        EndToolBars(IDC_TWK_TB_CUSTOMIZE);
}

void TWKToolBarsDlg::OnCustomize()
{
    EndToolBars(IDC_TWK_TB_CUSTOMIZE);
}

void TWKToolBarsDlg::OnReset()
{
    OnDeleteOrReset();
}

void TWKToolBarsDlg::OnCheckBox()
{
    UpdateData(TRUE);
    ApplySettings();
}

void TWKToolBarsDlg::OnToolTips()
{
    OnCheckBox();
    if (m_pManager)
        m_pManager->EnableToolTips(IsDlgButtonChecked(IDC_TWK_TB_TOOLTIPS) != 0);
}

// ---------------------------------------------------------------------------
// The page

IMPLEMENT_DYNCREATE(TWKToolBarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(TWKToolBarsPage, CPropertyPage)
    ON_REGISTERED_MESSAGE(WM_BARNOTIFY, OnBarNotify)
    ON_LBN_SELCHANGE(IDC_TWK_TB_LIST, OnListSelChange)
    ON_CLBN_CHKCHANGE(IDC_TWK_TB_LIST, OnListCheck)
    ON_EN_KILLFOCUS(IDC_TWK_TB_NAME, OnNameKill)
    ON_BN_CLICKED(IDC_TWK_TB_NEW, OnNew)
    ON_BN_CLICKED(IDC_TWK_TB_RESET, OnResetBar)
    ON_BN_CLICKED(IDC_TWK_TB_TOOLTIPS, OnToolTips)
    ON_BN_CLICKED(IDC_TWK_TB_COOLLOOK, OnCoolLook)
    ON_BN_CLICKED(IDC_TWK_TB_LARGEBTNS, OnLargeBtns)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKToolBarsPage::TWKToolBarsPage() : CPropertyPage(IDD_TWK_TOOLBARSPAGE)
{
}

TWKToolBarsPage::TWKToolBarsPage(UINT nIDTemplate, UINT nIDCaption) : CPropertyPage(nIDTemplate, nIDCaption)
{
}

TWKToolBarsPage::TWKToolBarsPage(LPCSTR lpszTemplateName, UINT nIDCaption)
    : CPropertyPage(lpszTemplateName, nIDCaption)
{
}

TWKToolBarsPage::~TWKToolBarsPage()
{
    if (m_pManager) {
        m_pManager->RemoveNotifyWnd(this);
        m_pManager->SetNoDropWnd(nullptr);
    }
}

BOOL TWKToolBarsPage::OnInitDialog()
{
    AttachList(this);
    CPropertyPage::OnInitDialog();
    FillList();
    if (m_pManager)
        m_pManager->AddNotifyWnd(this);
    return TRUE;
}

void TWKToolBarsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    ExchangeChecks(pDX);
}

void TWKToolBarsPage::OnOK()
{
    ApplySettings();
}

void TWKToolBarsPage::OnCancel()
{
    RestoreSettings();
}

void TWKToolBarsPage::OnReset()
{
    if (m_pManager) {
        LeaveModes(m_pManager);
        m_pManager->SetNoDropWnd(nullptr);
    }
    CPropertyPage::OnReset();
}

BOOL TWKToolBarsPage::OnSetActive()
{
    if (m_pManager)
        EnterModes(m_pManager, GetParent());
    return CPropertyPage::OnSetActive();
}

BOOL TWKToolBarsPage::OnKillActive()
{
    if (m_pManager) {
        LeaveModes(m_pManager);
        if (CWnd* pSheet = GetParent())
            pSheet->EnableWindow(TRUE);
    }
    return CPropertyPage::OnKillActive();
}

void TWKToolBarsPage::OnDestroy()
{
    // The handle is still ours here: a later window may not inherit the notices.
    if (m_pManager)
        m_pManager->RemoveNotifyWnd(this);
    CPropertyPage::OnDestroy();
}

void TWKToolBarsPage::NotifySiblings(WPARAM wParam)
{
    HWND hSheet = ::GetParent(m_hWnd);
    if (!hSheet)
        return;
    for (HWND h = ::GetWindow(hSheet, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (h != m_hWnd && pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CPropertyPage)))
            ::SendMessageA(h, WM_TOOLBARSTYLECHANGING, wParam, 0);
    }
}

LRESULT TWKToolBarsPage::OnBarNotify(WPARAM wParam, LPARAM lParam)
{
    return OnBarNotifyFor(wParam, lParam);
}

void TWKToolBarsPage::OnListSelChange()
{
    UpdateControls();
}

void TWKToolBarsPage::OnListCheck()
{
    OnListCheckChange();
}

void TWKToolBarsPage::OnNameKill()
{
    OnNameKillFocus();
}

void TWKToolBarsPage::OnNew()
{
    OnNewToolBar();
}

void TWKToolBarsPage::OnResetBar()
{
    OnDeleteOrReset();
}

void TWKToolBarsPage::OnToolTips()
{
    if (m_pManager)
        m_pManager->EnableToolTips(IsDlgButtonChecked(IDC_TWK_TB_TOOLTIPS) != 0);
}

void TWKToolBarsPage::OnCoolLook()
{
    if (!m_pManager)
        return;
    m_pManager->EnableCoolLook(IsDlgButtonChecked(IDC_TWK_TB_COOLLOOK) != 0, CBX_COOLLOOK | CBX_GRIPPER);
    NotifySiblings(TWK_TBSTYLE_COOLLOOK);
}

void TWKToolBarsPage::OnLargeBtns()
{
    if (!m_pManager)
        return;
    m_pManager->EnableLargeBtns(IsDlgButtonChecked(IDC_TWK_TB_LARGEBTNS) != 0);
    NotifySiblings(TWK_TBSTYLE_LARGEBTNS);
}

// ---------------------------------------------------------------------------
// The New Toolbar dialog

BEGIN_MESSAGE_MAP(TWKNewToolBar, CDialog)
    ON_EN_CHANGE(IDC_TWK_TB_NEWNAME, OnNameChange)
END_MESSAGE_MAP()

TWKNewToolBar::TWKNewToolBar(CWnd* pParent) : CDialog(IDD_TWK_NEWTOOLBAR, pParent)
{
}

BOOL TWKNewToolBar::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(!strName.IsEmpty());
    return TRUE;
}

void TWKNewToolBar::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TWK_TB_NEWNAME, strName);
}

void TWKNewToolBar::OnNameChange()
{
    CString strText;
    GetDlgItemText(IDC_TWK_TB_NEWNAME, strText);
    if (strText.GetLength() > TWK_TOOLBAR_NAMEMAX) {
        strText = strText.Left(TWK_TOOLBAR_NAMEMAX);
        SetDlgItemText(IDC_TWK_TB_NEWNAME, strText);
        SendDlgItemMessage(IDC_TWK_TB_NEWNAME, EM_SETSEL, TWK_TOOLBAR_NAMEMAX, TWK_TOOLBAR_NAMEMAX);
    }
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(!strText.IsEmpty());
}

// ---------------------------------------------------------------------------
// The sheet

BEGIN_MESSAGE_MAP(TWKToolBarsSheet, CPropertySheet)
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

TWKToolBarsSheet::TWKToolBarsSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
}

TWKToolBarsSheet::TWKToolBarsSheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
}

LRESULT TWKToolBarsSheet::OnFloatStatus(WPARAM wParam, LPARAM)
{
    return TWKToolBarsBase::OnFloatStatusFor(this, wParam);
}

void TWKToolBarsSheet::OnActivate(UINT nState, CWnd*, BOOL)
{
    Default();
    TWKToolBarsBase::NotifyFrameActivation(this, nState);
}

// ---------------------------------------------------------------------------
// The manager's launcher

INT_PTR TWKToolBarManager::RunToolBarsDialog()
{
    TWKToolBarsDlg dlg(m_pFrameWnd);
    dlg.SetManager(this);
    return dlg.DoModal();
}
