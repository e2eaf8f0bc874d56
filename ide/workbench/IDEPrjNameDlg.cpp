#include "ide/workbench/IDEPrjNameDlg.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"
#include "support/config/ProfileHelpers.h"
#include "support/system/ChipInfo.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include "support/ui/DirDialog.h"

// ---- the "..." button

BEGIN_MESSAGE_MAP(C_PushButton, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

void C_PushButton::ReportPress(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), (LPARAM)m_hWnd);
}

void C_PushButton::OnLButtonDown(UINT, CPoint)
{
    Default();
    ReportPress(PBN_LBUTTONDOWN);
}

void C_PushButton::OnRButtonDown(UINT, CPoint)
{
    Default();
    ReportPress(PBN_RBUTTONDOWN);
}

// ---- targets

C_IDEPrjNameDlg::C_IDEProjectTargetInfo::C_IDEProjectTargetInfo(const char* pszText)
{
    m_nType = atoi(GetField(pszText, 1));
    m_nSubType = atoi(GetField(pszText, 2));
    m_strName = (const char*)GetField(pszText, 3);
}

// ---- dialog

BEGIN_MESSAGE_MAP(C_IDEPrjNameDlg, CDialog)
    ON_EN_CHANGE(IDC_NEWPRJ_NAME, OnChangeName)
    ON_BN_CLICKED(IDC_NEWPRJ_BROWSE, OnBrowse)
    ON_CONTROL(C_PushButton::PBN_LBUTTONDOWN, IDC_NEWPRJ_PART_MENU, OnPartMenu)
    ON_CONTROL(C_PushButton::PBN_RBUTTONDOWN, IDC_NEWPRJ_PART_MENU, OnPartMenu)
    ON_COMMAND_RANGE(ID_NEWPRJ_PART_FIRST, ID_NEWPRJ_PART_LAST, OnPartChosen)
    ON_BN_CLICKED(IDC_NEWPRJ_TEMPLATE_CHECK, OnTemplateCheck)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_NEWPRJ_TARGETS, OnTargetChanged)
END_MESSAGE_MAP()

namespace {

CString ProgramConfig()
{
    return CString(g_szAppDir) + "ZIDE.cfg";
}

CString WithBackslash(CString s)
{
    if (s.IsEmpty() || s[s.GetLength() - 1] != '\\')
        s += '\\';
    return s;
}

CString StoredParentFolder()
{
    return AfxGetApp()->GetProfileString("Directory", "NewProject", WithBackslash(g_szAppDir));
}

}  // namespace

C_IDEPrjNameDlg::C_IDEPrjNameDlg(I_ProjectMgr* pProjectMgr, CWnd* pParent)
    : CDialog(IDD_NEW_PROJECT, pParent), m_pProjectMgr(pProjectMgr), m_bNewProject(TRUE)
{
    m_strLocation = StoredParentFolder();
    m_strConfigPath = ProgramConfig();
    if (CMainFrame* pFrame = dynamic_cast<CMainFrame*>(pParent))
        m_bTemplatesEnabled = pFrame->m_bTemplateProject;
}

C_IDEPrjNameDlg::C_IDEPrjNameDlg() : CDialog(IDD_SAVE_AS_TEMPLATE, nullptr), m_bNewProject(FALSE)
{
    m_strLocation = StoredParentFolder();
    m_strConfigPath = ProgramConfig();
}

C_IDEPrjNameDlg::~C_IDEPrjNameDlg() {}

void C_IDEPrjNameDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_NEWPRJ_LOCATION, m_strLocation);
    if (!m_bNewProject)
        return;
    DDX_Control(pDX, IDC_NEWPRJ_PART, m_comboPart);
    DDX_Control(pDX, IDC_NEWPRJ_TARGETS, m_listTargets);
    DDX_Text(pDX, IDC_NEWPRJ_TEMPLATE_PATH, m_strTemplatePath);
    DDX_Control(pDX, IDC_NEWPRJ_PART_MENU, m_btnPartMenu);
    if (pDX->m_bSaveAndValidate)
        m_comboPart.GetWindowText(m_strPartNumber);
}

BOOL C_IDEPrjNameDlg::IsNameAccepted(const CString& strText, LPCSTR pszExt)
{
    int nExt = (int)strlen(pszExt);
    if (strText.Find('\\') >= 0 || strText.GetLength() < nExt || strText.Right(nExt) != pszExt)
        return FALSE;
    return strText[0] != ' ';
}

BOOL C_IDEPrjNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_bNewProject) {
        ResetNames();
        return FALSE;
    }
    if (m_bTemplatesEnabled)
        ShowTemplateRow();
    if (m_nImageBitmap && m_nImageCount > 0)
        m_imageList.Create(m_nImageBitmap, 16, 0, RGB(255, 255, 255));
    if (m_imageList.m_hImageList)
        ImageList_SetBkColor(m_imageList.m_hImageList, ::GetSysColor(COLOR_WINDOW));
    ReadConfiguration();
    FillTargetList(TRUE);
    return FALSE;
}

void C_IDEPrjNameDlg::ShowTemplateRow()
{
    for (int id : {IDC_NEWPRJ_TEMPLATE_LABEL, IDC_NEWPRJ_TEMPLATE_PATH, IDC_NEWPRJ_TEMPLATE_CHECK})
        GetDlgItem(id)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NEWPRJ_TEMPLATE_PATH)->EnableWindow(FALSE);
    // Room for the row: the dialog font's text height and 18 pixels more.
    CClientDC dc(this);
    HGDIOBJ hOld = ::SelectObject(dc.m_hDC, (HFONT)SendMessage(WM_GETFONT));
    TEXTMETRIC tm;
    ::GetTextMetricsA(dc.m_hDC, &tm);
    ::SelectObject(dc.m_hDC, hOld);
    int dy = tm.tmHeight + 18;
    CRect rc;
    GetWindowRect(&rc);
    rc.bottom += dy;
    RECT rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    int x = rcWork.left + (rcWork.right - rcWork.left - rc.Width()) / 2;
    int y = rcWork.top + (rcWork.bottom - rcWork.top - rc.Height()) / 2;
    MoveWindow(x, y, rc.Width(), rc.Height());
    for (int id : {IDC_NEWPRJ_NAME_LABEL, IDC_NEWPRJ_NAME, IDC_NEWPRJ_LOCATION_LABEL, IDC_NEWPRJ_LOCATION,
                   IDC_NEWPRJ_BROWSE, IDOK, IDCANCEL}) {
        CWnd* pWnd = GetDlgItem(id);
        CRect r;
        pWnd->GetWindowRect(&r);
        ScreenToClient(&r);
        pWnd->SetWindowPos(nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void C_IDEPrjNameDlg::ReadConfiguration()
{
    m_listGroups.RemoveAll();
    GetProfileList(m_strConfigPath, "Body Group", "Group", &m_listGroups, 0, 0);
    C_CUStringList targets;
    GetProfileList(m_strConfigPath, "Project Target", "Target", &targets, 0, 0);
    m_targets.clear();
    for (int i = 0; i < targets.GetCount(); ++i)
        m_targets.emplace_back(new C_IDEProjectTargetInfo(targets.GetAt(i)));
}

void C_IDEPrjNameDlg::FillTargetList(BOOL bResetNames)
{
    m_listTargets.SetImageList(&m_imageList, LVSIL_SMALL);
    m_listTargets.DeleteAllItems();
    for (size_t i = 0; i < m_targets.size(); ++i)
        m_listTargets.InsertItem((int)i, m_targets[i]->m_strName, m_targets[i]->m_nType - 1);
    m_listTargets.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_listTargets.SetFocus();
    m_nCurTarget = 0;
    FillPartNumbers(0);
    if (bResetNames)
        ResetNames();
}

void C_IDEPrjNameDlg::ResetNames()
{
    CEdit* pName = (CEdit*)GetDlgItem(IDC_NEWPRJ_NAME);
    CEdit* pLocation = (CEdit*)GetDlgItem(IDC_NEWPRJ_LOCATION);
    pName->LimitText(256);
    pLocation->LimitText(260);
    m_strLocation = WithBackslash(m_strLocation);
    m_strBaseFolder = m_strLocation;
    pLocation->SetWindowText(m_strLocation);
    m_strLastName = Ext();
    pName->SetWindowText(Ext());
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    pName->SetFocus();
    pName->SetSel(0, 0);
}

void C_IDEPrjNameDlg::OnTargetChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLISTVIEW* pNM = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    if ((pNM->uChanged & LVIF_STATE) && (pNM->uNewState & LVIS_FOCUSED) && !(pNM->uOldState & LVIS_FOCUSED)) {
        ChooseTarget(pNM->iItem);
        UpdateOK();
    }
    *pResult = 0;
}

void C_IDEPrjNameDlg::ChooseTarget(int nIndex)
{
    if (nIndex != -1 && nIndex != m_nCurTarget) {
        m_nCurTarget = nIndex;
        FillPartNumbers(nIndex);
    }
    if (m_nCurTarget >= 0)
        m_listTargets.SetItemState(m_nCurTarget, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

BOOL C_IDEPrjNameDlg::IsPartTemplateMode() const
{
    CWnd* pCheck = GetDlgItem(IDC_NEWPRJ_TEMPLATE_CHECK);
    return pCheck && ((CButton*)pCheck)->GetCheck() == BST_CHECKED;
}

int C_IDEPrjNameDlg::FindGroup(const char* pszPart)
{
    for (int g = 0; g < m_listGroups.GetCount(); ++g) {
        const char* pszGroup = m_listGroups.GetAt(g);
        for (int f = 2;; ++f) {
            C_CUString prefix = GetField(pszGroup, f);
            if (prefix.IsEmpty())
                break;
            if (_strnicmp(pszPart, prefix, prefix.size()) == 0)
                return g;
        }
    }
    return -1;
}

void C_IDEPrjNameDlg::FillPartNumbers(int nTarget)
{
    if (IsPartTemplateMode()) {
        FillTemplatePartNumbers();
        return;
    }
    m_comboPart.GetWindowText(m_strPreviousPart);
    int nGroups = m_listGroups.GetCount();
    m_groupParts.clear();
    for (int g = 0; g <= nGroups; ++g)
        m_groupParts.emplace_back(new C_CUStringList);
    C_CUStringList parts;
    if (m_pProjectMgr && nTarget >= 0 && nTarget < (int)m_targets.size())
        m_pProjectMgr->GetPartNumbersOfKind(m_targets[(size_t)nTarget]->GetKind(), &parts);
    m_comboPart.ResetContent();
    for (int i = 0; i < parts.GetCount(); ++i) {
        const char* p = parts.GetAt(i);
        int g = FindGroup(p);
        m_groupParts[(size_t)(g < 0 ? nGroups : g)]->Add(p);
        m_comboPart.AddString(p);
    }
    for (auto& list : m_groupParts)
        list->SortNoCase(TRUE);
    if (m_comboPart.GetCount() == 0) {
        GetDlgItem(IDOK)->EnableWindow(FALSE);
        return;
    }
    C_CUString strDefault;
    GetProfileValue(m_strConfigPath, "Body Group", "DefaultBody", strDefault, 0, 0);
    int nSel = m_comboPart.FindStringExact(-1, m_strPreviousPart);
    if (nSel < 0 && !strDefault.IsEmpty())
        nSel = m_comboPart.FindStringExact(-1, strDefault);
    m_comboPart.SetCurSel(nSel < 0 ? 0 : nSel);
    CString strName;
    GetDlgItemText(IDC_NEWPRJ_NAME, strName);
    GetDlgItem(IDOK)->EnableWindow(strName.CompareNoCase(Ext()) != 0 && strName.GetLength() > 4);
}

void C_IDEPrjNameDlg::FillTemplatePartNumbers()
{
    m_comboPart.GetWindowText(m_strPreviousPart);
    m_listTemplateParts.RemoveAll();
    // The service loads on its first use in the process; a failed load just gives no list.
    C_ChipInfoPtr chipInfo;
    chipInfo.Load(nullptr);
    if (!chipInfo.GetChipList(m_strTemplateChip, &m_listTemplateParts, (DWORD)m_nTemplateType,
                              (DWORD)m_nTemplateSubType))
        return;
    BOOL bMatched = IsInStringListNoCase(m_strPreviousPart, &m_listTemplateParts);
    if (!bMatched) {
        CString strText;
        strText.Format("The selected chip item %s does not match the template.\nDo you want to use this template?",
                       (LPCSTR)m_strPreviousPart);
        if (::MessageBoxA(nullptr, strText, "Warning", MB_YESNO | MB_ICONEXCLAMATION) == IDNO) {
            ((CButton*)GetDlgItem(IDC_NEWPRJ_TEMPLATE_CHECK))->SetCheck(BST_UNCHECKED);
            OnTemplateCheck();
            m_comboPart.SelectString(-1, m_strPreviousPart);
            return;
        }
    }
    m_comboPart.ResetContent();
    for (int i = 0; i < m_listTemplateParts.GetCount(); ++i)
        m_comboPart.AddString(m_listTemplateParts.GetAt(i));
    if (m_comboPart.GetCount() == 0) {
        GetDlgItem(IDOK)->EnableWindow(FALSE);
        return;
    }
    m_comboPart.SetCurSel(0);
    CString strName;
    GetDlgItemText(IDC_NEWPRJ_NAME, strName);
    GetDlgItem(IDOK)->EnableWindow(strName.CompareNoCase(Ext()) != 0 && strName.GetLength() > 4);
    int nSel = m_comboPart.FindStringExact(-1, bMatched ? (LPCSTR)m_strPreviousPart : (LPCSTR)m_strTemplateChip);
    if (nSel >= 0)
        m_comboPart.SetCurSel(nSel);
}

void C_IDEPrjNameDlg::UpdateOK()
{
    BOOL bEnable = m_strLastName.CompareNoCase(Ext()) != 0;
    if (m_bNewProject)
        bEnable = bEnable && m_listTargets.GetNextItem(-1, LVNI_SELECTED) >= 0 && m_comboPart.GetCount() > 0;
    GetDlgItem(IDOK)->EnableWindow(bEnable);
}

void C_IDEPrjNameDlg::OnChangeName()
{
    CEdit* pName = (CEdit*)GetDlgItem(IDC_NEWPRJ_NAME);
    CString strText;
    pName->GetWindowText(strText);
    if (!IsNameAccepted(strText, Ext())) {
        int nStart = 0, nEnd = 0;
        pName->GetSel(nStart, nEnd);
        pName->SetWindowText(m_strLastName);
        pName->SetSel(nStart - 1, nEnd - 1, TRUE);
        return;
    }
    m_strLastName = strText;
    UpdateOK();
    CString strLower = strText;
    strLower.MakeLower();
    SetDlgItemText(IDC_NEWPRJ_LOCATION, m_strBaseFolder + strText.Left(strLower.Find(Ext())));
}

void C_IDEPrjNameDlg::OnBrowse()
{
    UpdateData(TRUE);
    CString strStart = m_strLocation;
    strStart.TrimRight('\\');
    DWORD dwAttr = ::GetFileAttributesA(strStart);
    if (dwAttr == INVALID_FILE_ATTRIBUTES || !(dwAttr & FILE_ATTRIBUTE_DIRECTORY))
        strStart.Empty();
    C_DirDialog dlg(strStart);
    if (dlg.DoModal() != IDOK)
        return;
    m_strLocation = WithBackslash((LPCSTR)dlg.GetPath());
    m_strBaseFolder = m_strLocation;
    SetDlgItemText(IDC_NEWPRJ_LOCATION, m_strLocation);
}

BOOL C_IDEPrjNameDlg::BuildPartMenu(CMenu& menu)
{
    if (!menu.CreatePopupMenu())
        return FALSE;
    if (IsPartTemplateMode()) {
        for (int k = 0; k < m_listTemplateParts.GetCount(); ++k)
            menu.AppendMenu(MF_STRING, ID_NEWPRJ_PART_FIRST + k, m_listTemplateParts.GetAt(k));
        return menu.GetMenuItemCount() > 0;
    }
    int nGroups = m_listGroups.GetCount();
    if ((int)m_groupParts.size() != nGroups + 1)
        return FALSE;
    for (int g = 0; g < nGroups; ++g) {
        C_CUStringList& list = *m_groupParts[(size_t)g];
        if (list.GetCount() == 0)
            continue;
        CMenu sub;
        sub.CreatePopupMenu();
        for (int k = 0; k < list.GetCount(); ++k)
            sub.AppendMenu(MF_STRING, ID_NEWPRJ_PART_FIRST + (g + 1) * 0x100 + k, list.GetAt(k));
        menu.AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), GetField(m_listGroups.GetAt(g), 1));
    }
    C_CUStringList& rest = *m_groupParts[(size_t)nGroups];
    if (rest.GetCount() > 0) {
        if (nGroups > 0)
            menu.AppendMenu(MF_SEPARATOR);
        for (int k = 0; k < rest.GetCount(); ++k)
            menu.AppendMenu(MF_STRING, ID_NEWPRJ_PART_FIRST + k, rest.GetAt(k));
    }
    return menu.GetMenuItemCount() > 0;
}

void C_IDEPrjNameDlg::OnPartMenu()
{
    CMenu menu;
    if (!BuildPartMenu(menu))
        return;
    CPoint pt;
    ::GetCursorPos(&pt);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
}

void C_IDEPrjNameDlg::OnPartChosen(UINT nID)
{
    int nOffset = (int)nID - ID_NEWPRJ_PART_FIRST;
    const char* pszPart = nullptr;
    if (IsPartTemplateMode()) {
        pszPart = m_listTemplateParts.GetAt(nOffset);
    } else if (!m_groupParts.empty()) {
        int g = nOffset / 0x100;
        size_t nList = g == 0 ? m_groupParts.size() - 1 : (size_t)(g - 1);
        if (nList < m_groupParts.size())
            pszPart = m_groupParts[nList]->GetAt(nOffset % 0x100);
    }
    if (pszPart)
        m_comboPart.SetCurSel(m_comboPart.FindStringExact(-1, pszPart));
}

void C_IDEPrjNameDlg::OnTemplateCheck()
{
    BOOL bOn = IsPartTemplateMode();
    GetDlgItem(IDC_NEWPRJ_TEMPLATE_BUTTON)->EnableWindow(bOn);
    if (!bOn) {
        ReadConfiguration();
        FillTargetList(FALSE);
        return;
    }
    CFileDialog dlg(TRUE, "wbt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "Template Project Files (*.wbt)|*.wbt|", this);
    dlg.m_ofn.lpstrTitle = "Open template projects";
    if (dlg.DoModal() != IDOK) {
        CString strShown;
        GetDlgItemText(IDC_NEWPRJ_TEMPLATE_PATH, strShown);
        if (strShown.IsEmpty())
            ((CButton*)GetDlgItem(IDC_NEWPRJ_TEMPLATE_CHECK))->SetCheck(BST_UNCHECKED);
        return;
    }
    m_strTemplatePath = dlg.GetPathName();
    char szChip[256] = "";
    ::GetPrivateProfileStringA("Project", "BodyName", "", szChip, sizeof szChip, m_strTemplatePath);
    m_strTemplateChip = szChip;
    m_nTemplateType = (int)::GetPrivateProfileIntA("Project", "ProjectType", 0, m_strTemplatePath);
    m_nTemplateSubType = (int)::GetPrivateProfileIntA("Project", "ProjectSubType", 0, m_strTemplatePath);
    // Only the template's own target stays.
    for (size_t i = 0; i < m_targets.size(); ++i) {
        if (m_targets[i]->m_nType == m_nTemplateType && m_targets[i]->m_nSubType == m_nTemplateSubType) {
            std::unique_ptr<C_IDEProjectTargetInfo> keep = std::move(m_targets[i]);
            m_targets.clear();
            m_targets.push_back(std::move(keep));
            m_listTargets.DeleteAllItems();
            m_listTargets.InsertItem(0, m_targets[0]->m_strName, m_targets[0]->m_nType - 1);
            m_nCurTarget = -1;
            ChooseTarget(0);
            break;
        }
    }
    SetDlgItemText(IDC_NEWPRJ_TEMPLATE_PATH, m_strTemplatePath);
}

BOOL C_IDEPrjNameDlg::MakeFolders(const CString& strPath)
{
    CString strFolder = strPath;
    strFolder.TrimRight('\\');
    for (int i = 3; i <= strFolder.GetLength(); ++i) {
        if (i < strFolder.GetLength() && strFolder[i] != '\\')
            continue;
        CString strPart = strFolder.Left(i);
        DWORD dwAttr = ::GetFileAttributesA(strPart);
        if (dwAttr != INVALID_FILE_ATTRIBUTES) {
            if (!(dwAttr & FILE_ATTRIBUTE_DIRECTORY))
                return FALSE;
            continue;
        }
        if (!::CreateDirectoryA(strPart, nullptr))
            return FALSE;
    }
    return TRUE;
}

void C_IDEPrjNameDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strLocation = WithBackslash(m_strLocation);
    CString strName;
    GetDlgItemText(IDC_NEWPRJ_NAME, strName);
    int nDot = strName.ReverseFind('.');
    m_strProjectName = nDot >= 0 ? strName.Left(nDot) : strName;
    if ((m_nNameRules & 1) && m_strProjectName.Find(' ') >= 0) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_SPACE_IN_FILENAME, MB_OK | MB_ICONSTOP);
        return;
    }
    // A template is named by its own extension: the live project file is never touched.
    m_strProjectPath = m_strLocation + m_strProjectName + Ext();
    if (m_strProjectPath.GetLength() > 255) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_PATH_TOO_LONG, MB_OK | MB_ICONSTOP);
        return;
    }
    CString strFolder = m_strLocation;
    strFolder.TrimRight('\\');
    DWORD dwAttr = ::GetFileAttributesA(strFolder);
    if (dwAttr == INVALID_FILE_ATTRIBUTES || !(dwAttr & FILE_ATTRIBUTE_DIRECTORY)) {
        if (MessageBoxById(m_hWnd, IDS_CAPTION_WARNING, IDS_CREATE_FOLDER, MB_OKCANCEL, (LPCSTR)m_strLocation) != IDOK)
            return;
        if (!MakeFolders(m_strLocation)) {
            MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_CANNOT_CREATE_FOLDER, MB_OK | MB_ICONSTOP,
                           (LPCSTR)m_strLocation);
            return;
        }
    } else if (::GetFileAttributesA(m_strProjectPath) != INVALID_FILE_ATTRIBUTES) {
        if (MessageBoxById(m_hWnd, IDS_CAPTION_WARNING, IDS_OVERWRITE_FILE, MB_OKCANCEL, (LPCSTR)m_strProjectPath) !=
            IDOK)
            return;
    }
    if (m_strProjectName.IsEmpty() || m_strProjectName.Find('.') >= 0) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_CANNOT_CREATE_PROJECT, MB_OK | MB_ICONSTOP);
        return;
    }
    HANDLE hFile = ::CreateFileA(m_strProjectPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                                 nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_CANNOT_CREATE_PROJECT, MB_OK | MB_ICONSTOP);
        return;
    }
    ::CloseHandle(hFile);
    // The folder above the project's own folder, with its backslash.
    CString strParent = m_strLocation.Left(m_strLocation.GetLength() - 1);
    strParent = strParent.Left(strParent.ReverseFind('\\') + 1);
    AfxGetApp()->WriteProfileString("Directory", "NewProject", strParent);
    if (m_bNewProject) {
        m_bTemplate = IsPartTemplateMode();
        if (m_bTemplate) {
            m_nKind = m_nTemplateSubType * 65536 + m_nTemplateType;
        } else {
            int nSel = m_listTargets.GetNextItem(-1, LVNI_SELECTED);
            if (nSel < 0 || nSel >= (int)m_targets.size())
                return;
            m_nKind = m_targets[(size_t)nSel]->GetKind();
        }
    }
    EndDialog(IDOK);
}
