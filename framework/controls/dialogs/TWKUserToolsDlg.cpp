#include "framework/controls/dialogs/TWKUserToolsDlg.h"
#include "framework/frameworkres.h"

namespace {
CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}
} // namespace

BEGIN_MESSAGE_MAP(TWKUserToolsDlg, CDialog)
    ON_BN_CLICKED(IDC_TWK_TOOLS_ADD, OnAdd)
    ON_BN_CLICKED(IDC_TWK_TOOLS_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_TWK_TOOLS_UP, OnMoveUp)
    ON_BN_CLICKED(IDC_TWK_TOOLS_DOWN, OnMoveDown)
    ON_LBN_SELCHANGE(IDC_TWK_TOOLS_LIST, OnSelChange)
    ON_EN_CHANGE(IDC_TWK_TOOLS_MENU_TEXT, OnMenuTextChange)
    ON_EN_KILLFOCUS(IDC_TWK_TOOLS_MENU_TEXT, OnMenuTextKillFocus)
    ON_WM_DESTROY()
    ON_UPDATE_COMMAND_UI(IDC_TWK_TOOLS_ADD, OnUpdateAdd)
    ON_UPDATE_COMMAND_UI(IDC_TWK_TOOLS_REMOVE, OnUpdateRemove)
    ON_UPDATE_COMMAND_UI(IDC_TWK_TOOLS_UP, OnUpdateMoveUp)
    ON_UPDATE_COMMAND_UI(IDC_TWK_TOOLS_DOWN, OnUpdateMoveDown)
    ON_UPDATE_COMMAND_UI_RANGE(IDC_TWK_TOOLS_COMMAND, IDC_TWK_TOOLS_DIR_LABEL, OnUpdateFields)
END_MESSAGE_MAP()

TWKUserToolsDlg::TWKUserToolsDlg(CWnd* pParent)
    : CDialog(IDD_TWK_USERTOOLS, pParent),
      pCommandEdit(new TWKBrowseFileEdit),
      pDirEdit(new TWKBrowseDirEdit)
{
}

TWKUserToolsDlg::~TWKUserToolsDlg()
{
    delete pCommandEdit;
    delete pDirEdit;
}

BOOL TWKUserToolsDlg::OnInitDialog()
{
    pCommandEdit->m_strTitle = LoadText(IDS_TWK_TOOLS_PROGRAM_TITLE);
    pCommandEdit->m_strFilter = LoadText(IDS_TWK_TOOLS_PROGRAM_FILTER);
    pDirEdit->m_strTitle = LoadText(IDS_TWK_TOOLS_DIR_TITLE);
    pCommandEdit->Initialize(IDC_TWK_TOOLS_COMMAND, this);
    pDirEdit->Initialize(IDC_TWK_TOOLS_DIR, this);
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

void TWKUserToolsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TWK_TOOLS_LIST, m_list);
    if (!pDX->m_bSaveAndValidate)
    {
        for (INT_PTR i = 0; pTools && i < pTools->GetSize(); ++i)
        {
            auto* pTool = static_cast<TWKUserTool*>(pTools->GetAt(i));
            if (!pTool)
                continue;
            auto* pCopy = new TWKUserTool(*pTool);
            int index = m_list.AddString(pCopy->strMenuText);
            if (index < 0)
            {
                delete pCopy;
                continue;
            }
            m_list.SetItemDataPtr(index, pCopy);
        }
        if (m_list.GetCount() > 0)
        {
            m_list.SetCurSel(0);
            OnSelChange();
        }
        UpdateControls();
        return;
    }

    SetCurrentTool(pCurrentTool);
    if (!pTools)
        return;
    DeleteUserTools(pTools);
    // The array owns the copies from now on.
    for (int i = 0; i < m_list.GetCount(); ++i)
    {
        auto* pCopy = static_cast<TWKUserTool*>(m_list.GetItemDataPtr(i));
        m_list.SetItemDataPtr(i, nullptr);
        if (pCopy)
            pTools->Add(pCopy);
    }
    pCurrentTool = nullptr;
}

void TWKUserToolsDlg::SetCurrentTool(TWKUserTool* pTool)
{
    if (pCurrentTool)
    {
        // The menu text is stored while it is typed.
        GetDlgItemText(IDC_TWK_TOOLS_COMMAND, pCurrentTool->strCommand);
        GetDlgItemText(IDC_TWK_TOOLS_ARGUMENTS, pCurrentTool->strArguments);
        GetDlgItemText(IDC_TWK_TOOLS_DIR, pCurrentTool->strInitialDir);
    }
    pCurrentTool = pTool;
}

void TWKUserToolsDlg::OnSelChange()
{
    int sel = m_list.GetCurSel();
    SetCurrentTool(sel >= 0 ? static_cast<TWKUserTool*>(m_list.GetItemDataPtr(sel)) : nullptr);
    m_bShowing = TRUE;
    SetDlgItemText(IDC_TWK_TOOLS_MENU_TEXT, pCurrentTool ? (LPCSTR)pCurrentTool->strMenuText : "");
    SetDlgItemText(IDC_TWK_TOOLS_COMMAND, pCurrentTool ? (LPCSTR)pCurrentTool->strCommand : "");
    SetDlgItemText(IDC_TWK_TOOLS_ARGUMENTS, pCurrentTool ? (LPCSTR)pCurrentTool->strArguments : "");
    SetDlgItemText(IDC_TWK_TOOLS_DIR, pCurrentTool ? (LPCSTR)pCurrentTool->strInitialDir : "");
    m_bShowing = FALSE;
    UpdateControls();
}

void TWKUserToolsDlg::OnMenuTextChange()
{
    int sel = m_list.GetCurSel();
    if (m_bShowing || sel < 0)
        return;
    auto* pTool = static_cast<TWKUserTool*>(m_list.GetItemDataPtr(sel));
    if (!pTool)
        return;
    GetDlgItemText(IDC_TWK_TOOLS_MENU_TEXT, pTool->strMenuText);
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.InsertString(sel, pTool->strMenuText);
    m_list.SetItemDataPtr(sel, pTool);
    m_list.DeleteString((UINT)sel + 1);
    m_list.SetCurSel(sel);
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
}

void TWKUserToolsDlg::OnMenuTextKillFocus()
{
    CWnd* pEdit = GetDlgItem(IDC_TWK_TOOLS_MENU_TEXT);
    if (!pEdit || pEdit->GetWindowTextLength() != 0)
        return;
    AfxMessageBox(IDS_TWK_TOOLS_BLANK_TEXT, MB_OK);
    pEdit->SetFocus();
}

void TWKUserToolsDlg::OnAdd()
{
    if (m_list.GetCount() >= nMaxTools)
        return;
    auto* pTool = new TWKUserTool;
    pTool->strMenuText = LoadText(IDS_TWK_TOOLS_NEW_TOOL);
    int index = m_list.AddString(pTool->strMenuText);
    if (index < 0)
    {
        delete pTool;
        return;
    }
    m_list.SetItemDataPtr(index, pTool);
    m_list.SetCurSel(index);
    OnSelChange();
    if (auto* pEdit = static_cast<CEdit*>(GetDlgItem(IDC_TWK_TOOLS_MENU_TEXT)))
    {
        pEdit->SetFocus();
        pEdit->SetSel(0, -1);
    }
    UpdateControls();
}

void TWKUserToolsDlg::OnRemove()
{
    int sel = m_list.GetCurSel();
    if (sel < 0)
        return;
    auto* pTool = static_cast<TWKUserTool*>(m_list.GetItemDataPtr(sel));
    if (pTool == pCurrentTool)
        pCurrentTool = nullptr;   // forgotten, the edits are not stored
    delete pTool;
    m_list.DeleteString((UINT)sel);
    int count = m_list.GetCount();
    if (count > 0)
        m_list.SetCurSel(sel < count ? sel : count - 1);
    pCurrentTool = nullptr;
    OnSelChange();
    UpdateControls();
}

void TWKUserToolsDlg::MoveSelection(int nDelta)
{
    int sel = m_list.GetCurSel();
    if (sel < 0)
        return;
    int target = sel + nDelta;
    if (target < 0 || target >= m_list.GetCount())
        return;
    void* pTool = m_list.GetItemDataPtr(sel);
    CString text;
    m_list.GetText(sel, text);
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.DeleteString((UINT)sel);
    int index = m_list.InsertString(target >= m_list.GetCount() ? -1 : target, text);
    m_list.SetItemDataPtr(index, pTool);
    m_list.SetCurSel(index);
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    OnSelChange();
    UpdateControls();
}

void TWKUserToolsDlg::OnMoveUp()
{
    MoveSelection(-1);
}

void TWKUserToolsDlg::OnMoveDown()
{
    MoveSelection(+1);
}

void TWKUserToolsDlg::DeleteCopies()
{
    if (!m_list.m_hWnd)
        return;
    for (int i = 0; i < m_list.GetCount(); ++i)
    {
        delete static_cast<TWKUserTool*>(m_list.GetItemDataPtr(i));
        m_list.SetItemDataPtr(i, nullptr);
    }
    pCurrentTool = nullptr;
}

void TWKUserToolsDlg::OnCancel()
{
    DeleteCopies();
    CDialog::OnCancel();
}

void TWKUserToolsDlg::OnDestroy()
{
    DeleteCopies();
    CDialog::OnDestroy();
}

void TWKUserToolsDlg::UpdateControls()
{
    UpdateDialogControls(this, FALSE);
}

void TWKUserToolsDlg::OnUpdateAdd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.m_hWnd && m_list.GetCount() < nMaxTools);
}

void TWKUserToolsDlg::OnUpdateRemove(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.m_hWnd && m_list.GetCurSel() >= 0);
}

void TWKUserToolsDlg::OnUpdateMoveUp(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.m_hWnd && m_list.GetCurSel() >= 1);
}

void TWKUserToolsDlg::OnUpdateMoveDown(CCmdUI* pCmdUI)
{
    int sel = m_list.m_hWnd ? m_list.GetCurSel() : -1;
    pCmdUI->Enable(sel >= 0 && sel < m_list.GetCount() - 1);
}

void TWKUserToolsDlg::OnUpdateFields(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.m_hWnd && m_list.GetCurSel() >= 0);
}
