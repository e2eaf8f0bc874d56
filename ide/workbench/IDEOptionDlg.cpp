#include "ide/workbench/IDEOptionDlg.h"
#include "ide/workbench/MainFrm.h"
#include "ide/workbench/IDEProjectWnd.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "resources/ideres.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include <vector>

// ---- tab window

BEGIN_MESSAGE_MAP(C_IDEOptionTabWnd, TWK3DTabWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

void C_IDEOptionTabWnd::OnOK()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, IDOK, 0);
}

void C_IDEOptionTabWnd::OnCancel()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, IDCANCEL, 0);
}

// ---- pages

BEGIN_MESSAGE_MAP(C_IDEBaseTabDlg, CDialog)
    ON_MESSAGE(PM_WM_OPTION_PAGE, OnPageMessage)
END_MESSAGE_MAP()

C_IDEBaseTabDlg::C_IDEBaseTabDlg(UINT nIDTemplate, CWnd* pSheet) : CDialog(nIDTemplate, pSheet), m_pSheet(pSheet) {}

LRESULT C_IDEBaseTabDlg::OnPageMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 0)
        return OnApplyPage();
    if (wParam == 1)
        return OnPageNotify(lParam);
    return 0;
}

C_IDEOptionTabDlg::C_IDEOptionTabDlg(UINT nIDTemplate, C_IDEOptionDlg* pSheet, I_PMProjectOptions* pOptions)
    : C_IDEBaseTabDlg(nIDTemplate, pSheet), m_pOptionDlg(pSheet), m_pOptions(pOptions),
      m_pProjectWnd(pSheet->m_pProjectWnd), m_pProjectMgr(pSheet->m_pProjectMgr)
{
}

void C_IDEOptionTabDlg::OnOK()
{
    m_pSheet->SendMessage(WM_COMMAND, IDOK, 0);
}

void C_IDEOptionTabDlg::OnCancel()
{
    m_pSheet->SendMessage(WM_COMMAND, IDCANCEL, 0);
}

BEGIN_MESSAGE_MAP(C_IDEOptionProjectDlg, C_IDEOptionTabDlg)
    ON_EN_CHANGE(IDC_OPTIONS_OUTPUT_NAME, OnChangeOutputName)
END_MESSAGE_MAP()

C_IDEOptionProjectDlg::C_IDEOptionProjectDlg(C_IDEOptionDlg* pSheet, I_PMProjectOptions* pOptions)
    : C_IDEOptionTabDlg(IDD_OPTIONS_GENERAL, pSheet, pOptions)
{
    const char* pszName = pOptions ? pOptions->GetOutputName() : nullptr;
    m_strOutputName = pszName ? pszName : "";
    m_bAutoSave = pOptions && pOptions->GetAutoSave() ? 1 : 0;
    m_bAutoOpenReport = pOptions && pOptions->GetAutoOpenReport() ? 1 : 0;
    m_bManualModules = pOptions && pOptions->GetManualModuleSelect() ? 1 : 0;
    m_bAutoCheck = pOptions && pOptions->GetAutoCheckModification() ? 1 : 0;
    m_strMaxWarnings.Format("%d", pOptions ? pOptions->GetMaxWarnings() : 0);
    m_strMaxErrors.Format("%d", pOptions ? pOptions->GetMaxErrors() : 0);
}

void C_IDEOptionProjectDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_OPTIONS_BUILD_TARGET, m_comboTarget);
    DDX_Control(pDX, IDC_OPTIONS_MAX_WARNINGS_SPIN, m_spinWarnings);
    DDX_Control(pDX, IDC_OPTIONS_MAX_ERRORS_SPIN, m_spinErrors);
    DDX_Text(pDX, IDC_OPTIONS_OUTPUT_NAME, m_strOutputName);
    DDX_Text(pDX, IDC_OPTIONS_MAX_WARNINGS, m_strMaxWarnings);
    DDX_Text(pDX, IDC_OPTIONS_MAX_ERRORS, m_strMaxErrors);
    DDX_Check(pDX, IDC_OPTIONS_AUTO_SAVE, m_bAutoSave);
    DDX_Check(pDX, IDC_OPTIONS_AUTO_OPEN_REPORT, m_bAutoOpenReport);
    DDX_Check(pDX, IDC_OPTIONS_MANUAL_MODULES, m_bManualModules);
    DDX_Check(pDX, IDC_OPTIONS_AUTO_CHECK, m_bAutoCheck);
}


BOOL C_IDEOptionProjectDlg::OnInitDialog()
{
    C_IDEOptionTabDlg::OnInitDialog();
    m_spinWarnings.SetRange(1, 999);
    m_spinErrors.SetRange(1, 999);
    ((CEdit*)GetDlgItem(IDC_OPTIONS_MAX_WARNINGS))->LimitText(3);
    ((CEdit*)GetDlgItem(IDC_OPTIONS_MAX_ERRORS))->LimitText(3);
    ((CEdit*)GetDlgItem(IDC_OPTIONS_OUTPUT_NAME))->LimitText(256);
    C_CUStringList targets;
    GetProjectBuildTargets(m_pProjectMgr, &targets);
    int n = targets.GetCount();
    for (int i = 0; i < n; ++i)
        m_comboTarget.AddString(targets.GetAt(i));
    if (n < 2)
        m_comboTarget.EnableWindow(FALSE);
    if (n >= 1) {
        int nIndex = m_pOptions ? m_pOptions->GetBuildTargetIndex() : 0;
        if (nIndex < 0 || nIndex >= n)
            nIndex = n > 1 ? 1 : 0;
        m_comboTarget.SetCurSel(nIndex);
    }
    return TRUE;
}

// A "." can never enter the output name: the previous name comes back and
// the caret stays where it was before the key.
void C_IDEOptionProjectDlg::OnChangeOutputName()
{
    CEdit* pEdit = (CEdit*)GetDlgItem(IDC_OPTIONS_OUTPUT_NAME);
    if (!pEdit)
        return;
    CString strText;
    pEdit->GetWindowText(strText);
    if (strText.Find('.') < 0) {
        m_strOutputName = strText;
        return;
    }
    int nStart = 0, nEnd = 0;
    pEdit->GetSel(nStart, nEnd);
    pEdit->SetWindowText(m_strOutputName);
    pEdit->SetSel(nStart - 1, nEnd - 1, TRUE);
}

BOOL C_IDEOptionProjectDlg::OnApplyPage()
{
    if (!UpdateData(TRUE))
        return FALSE;
    if (m_strOutputName.IsEmpty()) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_OUTPUT_NAME_EMPTY, MB_OK);
        return FALSE;
    }
    int nMaxErrors = atoi(m_strMaxErrors);
    if (nMaxErrors < 1) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_MAX_ERROR_ZERO, MB_OK);
        return FALSE;
    }
    int nMaxWarnings = atoi(m_strMaxWarnings);
    if (nMaxWarnings < 1) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_MAX_WARNING_ZERO, MB_OK);
        return FALSE;
    }
    CString strTarget;
    int nSel = m_comboTarget.GetCurSel();
    if (nSel >= 0)
        m_comboTarget.GetLBText(nSel, strTarget);
    CString strPath = (m_pProjectWnd ? m_pProjectWnd->m_strProjectFolder : CString()) + strTarget + "\\" +
                      m_strOutputName;
    if (strPath.GetLength() >= 256) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_PATH_TOO_LONG, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (!m_pOptions)
        return TRUE;
    m_pOptions->SetOutputName(m_strOutputName);
    m_pOptions->SetMaxErrors(nMaxErrors);
    m_pOptions->SetMaxWarnings(nMaxWarnings);
    m_pOptions->SetAutoSave(m_bAutoSave);
    m_pOptions->SetAutoOpenReport(m_bAutoOpenReport);
    m_pOptions->SetManualModuleSelect(m_bManualModules);
    m_pOptions->SetAutoCheckModification(m_bAutoCheck);
    if (nSel >= 0)
        m_pOptions->SetBuildTargetIndex(nSel);
    return TRUE;
}

// ---- dialog

C_IDEOptionDlg::C_IDEOptionDlg(CMainFrame* pFrame, int nPage)
    : CDialog(IDD_PROJECT_OPTIONS, pFrame), m_pFrame(pFrame), m_pProjectWnd(pFrame ? pFrame->GetProjectWnd() : nullptr),
      m_pProjectMgr(pFrame ? pFrame->GetProjectMgr() : nullptr), m_nPage(nPage)
{
    if (m_pProjectMgr)
        if (I_PMProject* pProject = m_pProjectMgr->GetProject())
            m_pOptions = pProject->GetOptions();
}

C_IDEOptionDlg::~C_IDEOptionDlg()
{
    if (m_pOptions) {
        m_pOptions->Release();
        m_pOptions = nullptr;
    }
    delete m_pGeneralPage;
    if (m_pExtraPages) {
        if (m_pProjectMgr)
            m_pProjectMgr->GetExtraOptionPageCount();
        for (int k = 0; k < m_nExtraPages; ++k)
            m_pExtraPages[k].Detach();
        delete[] m_pExtraPages;
    }
}

BOOL C_IDEOptionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect rcOK;
    GetDlgItem(IDOK)->GetWindowRect(&rcOK);
    ScreenToClient(&rcOK);
    CRect rc;
    GetClientRect(&rc);
    rc.bottom = rcOK.top;
    rc.DeflateRect(10, 10);
    m_wndTab.Create(this, WS_CHILD | WS_VISIBLE | 0x20, IDC_OPTIONS_TABWND);
    m_wndTab.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    m_wndTab.MoveWindow(&rc);
    m_wndTab.ShowWindow(SW_SHOW);

    m_pGeneralPage = new C_IDEOptionProjectDlg(this, m_pOptions);
    m_pGeneralPage->Create(IDD_OPTIONS_GENERAL, &m_wndTab);
    m_wndTab.AddTab(m_pGeneralPage, "General");
    AddExtraPages();

    m_font.CreateFont(-15, 0, 0, 0, 400, 0, 0, 0, 0, 5, 0, 0, 0, "System");
    m_wndTab.SetActiveTabFont(&m_font, TRUE);
    m_wndTab.SetTabFont(&m_font, TRUE);

    // A page index without a page of its own opens "General".
    int nTab = m_nPage >= 2 && m_nPage - 2 < m_nExtraPages ? m_nPage - 1 : 0;
    CWnd* pPage = nTab == 0 ? static_cast<CWnd*>(m_pGeneralPage) : &m_pExtraPages[nTab - 1];
    pPage->SetFocus();
    m_wndTab.ActivateTab(nTab);
    return FALSE;
}

void C_IDEOptionDlg::AddExtraPages()
{
    if (!m_pProjectMgr)
        return;
    int n = m_pProjectMgr->GetExtraOptionPageCount();
    if (n < 1)
        return;
    std::vector<HWND> handles(static_cast<size_t>(n), nullptr);
    std::vector<char> labels(static_cast<size_t>(PM_PAGE_LABEL_SIZE) * n + 1, '\0');
    if (!m_pProjectMgr->CreateExtraOptionPage(m_wndTab.m_hWnd, handles.data(), labels.data()))
        return;
    C_CUStringList list;
    SplitToStringList(labels.data(), &list);
    m_pExtraPages = new CWnd[static_cast<size_t>(n)];
    m_nExtraPages = n;
    for (int k = 0; k < n; ++k) {
        m_pExtraPages[k].Attach(handles[static_cast<size_t>(k)]);
        const char* pszLabel = list.GetAt(k);
        m_wndTab.AddTab(&m_pExtraPages[k], pszLabel ? pszLabel : "");
    }
}

void C_IDEOptionDlg::OnOK()
{
    int nCount = m_wndTab.GetTabCount();
    for (int i = 0; i < nCount; ++i) {
        LPCTSTR pszLabel = nullptr;
        BOOL bSelected = FALSE;
        CWnd* pWnd = nullptr;
        void* pExtra = nullptr;
        if (!m_wndTab.GetTabInfo(i, pszLabel, bSelected, pWnd, pExtra) || !pWnd)
            continue;
        if (pWnd->SendMessage(PM_WM_OPTION_PAGE, 0, 0) == 0) {
            m_wndTab.ActivateTab(i);
            pWnd->SetFocus();
            return;
        }
    }
    if (m_pProjectMgr && m_pOptions)
        m_pProjectMgr->ApplyOptions(m_pOptions);
    m_wndTab.ActivateTab(0);
    EndDialog(IDOK);
}

// ---- the two callers

INT_PTR RunProjectOptionsCommand(CMainFrame* pFrame)
{
    I_ProjectMgr* pMgr = pFrame ? pFrame->GetProjectMgr() : nullptr;
    if (!pMgr)
        return IDCANCEL;
    INT_PTR nAnswer = pFrame->RunProjectOptionsDialog(0);
    if (nAnswer == IDOK) {
        pFrame->GetProjectWnd()->SetProjectModified(TRUE);
        pMgr->EndSettingsEdit(TRUE);
    } else {
        pMgr->EndSettingsEdit(FALSE);
    }
    return nAnswer;
}

BOOL CheckProjectSettings(CMainFrame* pFrame)
{
    I_ProjectMgr* pMgr = pFrame ? pFrame->GetProjectMgr() : nullptr;
    if (!pMgr)
        return FALSE;
    int nPage = -1;
    if (pMgr->AreSettingsComplete(&nPage))
        return TRUE;
    if (pFrame->RunProjectOptionsDialog(nPage >= 0 ? nPage + 2 : 1) == IDOK)
        pFrame->GetProjectWnd()->SetProjectModified(TRUE);
    return FALSE;
}
