// The frame's commands around the project's options: New Project's dialog,
// Save As Template and the project manager's property wizards.
#include "ide/workbench/IDEPrjNameDlg.h"
#include "ide/debugger/ResToolSelection.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/MainFrm.h"
#include "support/config/ProfileHelpers.h"
#include "resources/ideres.h"
#include "support/ui/CUMsgHandler.h"

INT_PTR ShowNewProjectDialog(CMainFrame* pFrame, C_IDEPrjNameDlg& dlg)
{
    if (I_ProjectMgr* pMgr = pFrame->GetProjectMgr())
        for (DWORD dwKind = 1; dwKind <= 5; ++dwKind) {
            C_CUStringList unused;
            pMgr->GetPartNumbersOfKind(dwKind, &unused);
        }
    dlg.m_nImageBitmap = IDB_PROJECT_TARGETS;
    dlg.m_nImageCount = 5;
    dlg.m_nNameRules = (int)pFrame->m_dwNameWithoutSpace;
    return dlg.DoModal();
}

void RunSaveAsTemplate(CMainFrame* pFrame, PFN_STARTTEMPLATEBUILD pfnStartBuild)
{
    I_ProjectMgr* pMgr = pFrame->GetProjectMgr();
    if (!pMgr || !pFrame->m_bProjectOpen)
        return;
    // The template is made of the sources as they are on screen; Cancel on a save question ends it.
    if (!pFrame->SaveModifiedDocuments())
        return;
    if (I_PMProject* pProject = pMgr->GetProject())
        pProject->PrepareTemplateBuild(0);
    pFrame->m_bModalBuild = TRUE;
    pFrame->m_bModalBuildDone = FALSE;
    pFrame->m_bBuildError = FALSE;
    if (pfnStartBuild && pfnStartBuild(pFrame))
        pFrame->m_bBuilding = TRUE;
    // A build that did not start never finishes: end here instead of waiting for it.
    if (!pFrame->m_bBuilding) {
        pFrame->m_bModalBuild = FALSE;
        pFrame->StopProgress();
        return;
    }
    // The completion may reach any window of the thread (the project bar floats in
    // a frame of its own): every message of the thread is handled while waiting.
    AfxWaitPumping(nullptr, [](void* p) -> BOOL { return static_cast<CMainFrame*>(p)->m_bModalBuildDone; }, pFrame);
    pFrame->StopProgress();
    if (pFrame->m_bBuildError || !pFrame->m_bModalBuildDone) {
        MessageBoxText(pFrame->m_hWnd, "Error: ", "Can not save as template due to build failed!", MB_OKCANCEL);
        pFrame->m_bModalBuild = FALSE;
        return;
    }
    C_IDEPrjNameDlg dlg;
    dlg.m_nNameRules = (int)pFrame->m_dwNameWithoutSpace;
    if (dlg.DoModal() == IDOK)
        pMgr->SaveAsTemplate(dlg.m_strProjectPath, 1, 1, 0);
    pFrame->m_bModalBuild = FALSE;
}

namespace {

DWORD WizardKind(UINT nID)
{
    switch (nID) {
    case ID_PROJECT_WIZARD1:
        return 1;
    case ID_PROJECT_WIZARD2:
        return 2;
    case ID_PROJECT_WIZARD4:
        return 4;
    }
    return 0;
}

}  // namespace

BOOL IsProjectWizardEnabled(CMainFrame* pFrame, UINT nID)
{
    I_ProjectMgr* pMgr = pFrame->GetProjectMgr();
    DWORD dwKind = WizardKind(nID);
    if (!pMgr || !dwKind || !pFrame->m_bProjectOpen || pFrame->m_bBuilding || pFrame->m_bModalBuild)
        return FALSE;
    I_PMProject* pProject = pMgr->GetProject();
    if (!pProject || !pMgr->IsWizardAvailable(dwKind))
        return FALSE;
    return dwKind == 1 ? pProject->GetScriptMode() == 2 : pProject->GetProjectKind() == PM_KIND_NORMAL;
}

void RunProjectWizard(CMainFrame* pFrame, UINT nID)
{
    I_ProjectMgr* pMgr = pFrame->GetProjectMgr();
    DWORD dwKind = WizardKind(nID);
    if (!pMgr || !dwKind)
        return;
    BOOL bChanged = pMgr->IsWizardAvailable(dwKind) && pMgr->RunWizard(dwKind, nullptr, 0);
    if (dwKind == 1)
        pFrame->GetProjectWnd()->ReloadFileInfo();
    else if (dwKind == 4 && bChanged)
        pFrame->GetProjectWnd()->SetProjectModified(TRUE);
}

// ---- the frame's handlers

namespace {

// The template's build is the project window's ordinary build.
BOOL StartTemplateBuild(CMainFrame* pFrame)
{
    return pFrame->GetProjectWnd()->StartBuild(FALSE);
}

}  // namespace

void CMainFrame::OnFileSaveAsTemplate()
{
    RunSaveAsTemplate(this, StartTemplateBuild);
}

void CMainFrame::OnFileNewProject()
{
    if (m_pIceMgr)
        OnDebugStop();
    if (m_bProjectOpen)
        OnFileCloseProject();
    if (m_bProjectOpen)
        return;
    C_IDEPrjNameDlg dlg(m_pProjectMgr, this);
    if (ShowNewProjectDialog(this, dlg) != IDOK)
        return;
    CWaitCursor wait;
    CString strFolder = dlg.m_strLocation;
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    m_strProjectPath = dlg.m_strProjectPath;
    m_wndProjectWnd.NewProject(strFolder, dlg.m_strProjectName, dlg.m_strPartNumber, dlg.m_nKind, dlg.m_bTemplate,
                               dlg.m_bTemplate ? (LPCSTR)dlg.m_strTemplatePath : nullptr);
    if (m_pIceMgr) {
        CString strPath = m_strProjectPath;
        CString strPart = dlg.m_strPartNumber;
        m_pIceMgr->NewProject(strPath, strPart);
    }
    UpdateDefaultTool();
    SetIcePortForTarget(ProjectPart());
    CString strProject = m_strProjectPath;
    if (strProject.Right(4).CompareNoCase(".wbi") != 0)
        strProject += ".wbi";
    OpenProjectFiles(strProject);
    ShowIceActions();
    SwapMenu(MDIGetActive() ? IDR_TEXTTYPE : IDR_MAINFRAME);
    PutFindFolderFirst(strFolder.Left(strFolder.GetLength() - 1));
}

void CMainFrame::OnProjectWizard(UINT nID)
{
    RunProjectWizard(this, nID);
}

void CMainFrame::OnUpdateProjectWizard(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsProjectWizardEnabled(this, pCmdUI->m_nID));
}

void CMainFrame::LoadResourceEditorSettings(LPCSTR lpszConfigPath)
{
    m_bUserDefinedEditor = ::GetPrivateProfileIntA("Resource Editor", "UserDefinedEditor", 0, lpszConfigPath) != 0;
    if (m_bUserDefinedEditor) {
        C_CUStringList editors;
        GetProfileList(lpszConfigPath, "Resource Editor", "Editor", &editors, 0, 0);
        for (int i = 0; i < editors.GetCount(); ++i)
            WriteProfileValue(lpszConfigPath, "Resource Editor List", editors.GetAt(i), "0", FALSE, 0);
    }
    m_bTemplateProject = ::GetPrivateProfileIntA("IDESystem", "TemplateProject", 0, lpszConfigPath) != 0;
}

void CMainFrame::OnToolsResourceOptions()
{
    if (RunResourceEditorSelection(CString(g_szAppDir) + "ZIDE.cfg"))
        m_wndPreviewBar.ReloadResourceActions();
}

BOOL CMainFrame::PreviewResource(LPCSTR lpszPath, int nAction)
{
    if (nAction == 0) {
        if (!m_wndPreviewBar.IsVisible() && !m_wndPreviewBar.IsPreviewWindowHidden(lpszPath))
            ShowControlBar(&m_wndPreviewBar, TRUE, FALSE);
        return m_wndPreviewBar.Preview(lpszPath);
    }
    if (nAction == 1)
        return m_wndPreviewBar.EditFile(lpszPath);
    return FALSE;
}
