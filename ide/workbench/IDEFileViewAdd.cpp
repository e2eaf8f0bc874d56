// Adding files and managing sub-folders through the file view.
#include "ide/workbench/IDEFileView.h"
#include "ide/workbench/IDEInputNameDlg.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "afx/commdlg.h"
#include "support/config/CStringHelpers.h"
#include "support/ui/DirDialog.h"
#include "resources/ideres.h"
#include <vector>

using namespace IDETreeCode;

using namespace FileViewText;

namespace {

int CountOf(I_CUStringList* pList) { return pList ? pList->GetCount() : 0; }

}  // namespace

BOOL C_IDEFileView::CanAddFiles(I_PMFolder* pFolder, int nSubFolder)
{
    if (!pFolder || (nSubFolder == -1 && pFolder->RequiresSubFolder()))
        return FALSE;
    int nCompared = nSubFolder;
    if (nSubFolder == -1) {
        int nMost = 0;
        I_CUStringList* pSub = NULL;
        for (int i = 0; (pSub = pFolder->GetSubFolder(i)) != NULL; ++i)
            if (CountOf(pSub) > nMost) {
                nMost = CountOf(pSub);
                nCompared = i;
            }
    }
    I_CUStringList* pCompared = nCompared >= 0 ? pFolder->GetSubFolder(nCompared) : NULL;
    int nCount;
    CString strOnly;
    if (pFolder->HasSubFolders()) {
        nCount = CountOf(pFolder->GetFiles()) + CountOf(pCompared);
        if (nCount == 1)
            strOnly = CountOf(pFolder->GetFiles()) ? pFolder->GetFiles()->GetAt(0) : pCompared->GetAt(0);
    } else {
        nCount = CountOf(pFolder->GetAllFiles());
        if (nCount == 1)
            strOnly = pFolder->GetAllFiles()->GetAt(0);
    }
    CString strTarget = pFolder->GetTargetExt() ? pFolder->GetTargetExt() : "";
    if (nCount == 1 && !strTarget.IsEmpty() && ExtensionOf(strOnly).CompareNoCase(strTarget) == 0)
        return FALSE;
    if (pFolder->GetMaxFiles() != 0 && nCount >= pFolder->GetMaxFiles())
        return FALSE;
    if (nSubFolder >= 0) {
        if (!pCompared)
            return FALSE;
        if (pFolder->GetMaxFilesPerSubFolder() != 0 && CountOf(pCompared) >= pFolder->GetMaxFilesPerSubFolder())
            return FALSE;
    }
    return TRUE;
}

BOOL C_IDEFileView::CanAddNewFile(I_PMFolder* pFolder, int nSubFolder)
{
    if (!CanAddFiles(pFolder, nSubFolder))
        return FALSE;
    I_CUStringList* pExts = pFolder->GetSourceExts();
    if (CountOf(pExts) == 0)
        return TRUE;
    for (int i = 0; i < pExts->GetCount(); ++i) {
        CString strExt = pExts->GetAt(i);
        CString strUpper = strExt;
        strUpper.MakeUpper();
        if (IsTextFileExtension(strUpper, NULL) || (m_pOwner && m_pOwner->CanEditResource(strExt)))
            return TRUE;
    }
    return FALSE;
}

BOOL C_IDEFileView::AddFilesToFolder(CStringList& paths, I_PMFolder* pFolder, int nSubFolder)
{
    if (!pFolder)
        return FALSE;
    I_CUStringList* pExts = pFolder->GetSourceExts();
    BOOL bAny = FALSE;
    for (int i = 0; i < CountOf(pExts); ++i)
        if (strcmp(pExts->GetAt(i), ".*") == 0)
            bAny = TRUE;
    CString strDefault = pFolder->GetDefaultExt() ? pFolder->GetDefaultExt() : "";
    CString strTarget = pFolder->GetTargetExt() ? pFolder->GetTargetExt() : "";
    C_CUStringList taken;
    int nSources = 0, nTargets = 0;
    for (POSITION pos = paths.GetHeadPosition(); pos;) {
        POSITION posThis = pos;
        CString strPath = paths.GetNext(pos);
        CString strExt = ExtensionOf(strPath);
        if (strExt.IsEmpty())
            continue;
        if (bAny || ListHasNoCase(pExts, strExt) || (!strDefault.IsEmpty() && strExt.CompareNoCase(strDefault) == 0))
            ++nSources;
        else if (!strTarget.IsEmpty() && strExt.CompareNoCase(strTarget) == 0)
            ++nTargets;
        else
            continue;
        taken.Add(strPath);
        paths.RemoveAt(posThis);
    }
    if (taken.GetCount() == 0)
        return FALSE;
    CString strName = pFolder->GetName();
    if (nTargets == 0) {
        if (!pFolder->CheckCapacity(nSources, nSubFolder)) {
            CString strText;
            strText.Format(Load(IDS_FOLDER_LIMIT), (LPCSTR)strName, pFolder->GetMaxFiles());
            ::MessageBoxA(MainWindow(), strText, Load(IDS_CAPTION_WARNING), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    } else if (!pFolder->AcceptsTarget() || nSources > 0 || nTargets > 1) {
        CString strText;
        strText.Format(Load(IDS_FOLDER_ONE_TARGET), (LPCSTR)strName);
        ::MessageBoxA(MainWindow(), strText, Load(IDS_CAPTION_WARNING), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CString strSub;
    BOOL bSub = FALSE;
    if (nSubFolder >= 0) {
        C_CUStringList names;
        GetFolderFileList(pFolder, &names);
        if (nSubFolder < names.GetCount()) {
            strSub = names.GetAt(nSubFolder);
            bSub = TRUE;
        }
    }
    if (m_pOwner)
        m_pOwner->AddFilesToProject(&taken, strName, bSub ? (LPCSTR)strSub : NULL);
    return TRUE;
}

// ---- Filters: built in strings, so nothing is cut however long.

CString C_IDEFileView::FolderPattern(I_PMFolder* pFolder)
{
    CString strPattern;
    I_CUStringList* pExts = pFolder->GetSourceExts();
    for (int i = 0; i < CountOf(pExts); ++i) {
        strPattern += strPattern.IsEmpty() ? "*" : ";*";
        strPattern += pExts->GetAt(i);
    }
    CString strDefault = pFolder->GetDefaultExt() ? pFolder->GetDefaultExt() : "";
    if (strPattern.IsEmpty())
        strPattern = "*" + strDefault;
    else if (!strDefault.IsEmpty())
        strPattern += ";*" + strDefault;
    return strPattern;
}

CString C_IDEFileView::BuildProjectFilter(I_PMProjectTree* pTree)
{
    CString strFolders, strTargets, strAllSources, strAllTargets;
    std::vector<CString> seenSources, seenTargets;
    auto addOnce = [](std::vector<CString>& seen, CString& strAll, const CString& strExt) {
        for (const CString& s : seen)
            if (s.CompareNoCase(strExt) == 0)
                return;
        seen.push_back(strExt);
        strAll += strAll.IsEmpty() ? "*" : ";*";
        strAll += strExt;
    };
    int nFolders = 0;
    if (pTree) {
        pTree->ResetFolders();
        while (I_PMFolder* pFolder = pTree->GetNextFolder()) {
            if (!CanAddFiles(pFolder, -1))
                continue;
            ++nFolders;
            CString strPattern = FolderPattern(pFolder);
            CString strPair;
            strPair.Format("%s (%s)|%s|", pFolder->GetName(), (LPCSTR)strPattern, (LPCSTR)strPattern);
            strFolders += strPair;
            I_CUStringList* pExts = pFolder->GetSourceExts();
            for (int i = 0; i < CountOf(pExts); ++i)
                addOnce(seenSources, strAllSources, pExts->GetAt(i));
            if (pFolder->GetDefaultExt() && *pFolder->GetDefaultExt())
                addOnce(seenSources, strAllSources, pFolder->GetDefaultExt());
            CString strTarget = pFolder->GetTargetExt() ? pFolder->GetTargetExt() : "";
            if (!strTarget.IsEmpty()) {
                CString strTargetPair;
                strTargetPair.Format("%s-Target (*%s)|*%s|", pFolder->GetName(), (LPCSTR)strTarget,
                                     (LPCSTR)strTarget);
                strTargets += strTargetPair;
                addOnce(seenTargets, strAllTargets, strTarget);
            }
        }
    }
    CString strFilter;
    if (nFolders == 1) {
        strFilter = strFolders + strTargets;
    } else if (nFolders > 1) {
        if (!strAllTargets.IsEmpty())
            strFilter.Format("All source files (%s)|%s|All target files (%s)|%s|%s%s", (LPCSTR)strAllSources,
                             (LPCSTR)strAllSources, (LPCSTR)strAllTargets, (LPCSTR)strAllTargets,
                             (LPCSTR)strFolders, (LPCSTR)strTargets);
        else
            strFilter.Format("All source files (%s)|%s|%s", (LPCSTR)strAllSources, (LPCSTR)strAllSources,
                             (LPCSTR)strFolders);
    }
    return strFilter + "All files (*.*)|*.*||";
}

CString C_IDEFileView::BuildFolderFilter(I_PMFolder* pFolder)
{
    CString strPattern = FolderPattern(pFolder);
    CString strFilter;
    strFilter.Format("Source Files (%s)|%s|", (LPCSTR)strPattern, (LPCSTR)strPattern);
    if (pFolder->AcceptsTarget()) {
        CString strTarget = pFolder->GetTargetExt() ? pFolder->GetTargetExt() : "";
        CString strPair;
        strPair.Format("Target File (*%s)|*%s||", (LPCSTR)strTarget, (LPCSTR)strTarget);
        strFilter += strPair;
    } else {
        strFilter += "|";
    }
    return strFilter;
}

CString C_IDEFileView::BuildNewFileFilter(I_PMFolder* pFolder)
{
    CString strFilter;
    I_CUStringList* pExts = pFolder->GetSourceExts();
    for (int i = 0; i < CountOf(pExts); ++i) {
        CString strPair;
        strPair.Format("Source File (%s)|*%s|", pExts->GetAt(i), pExts->GetAt(i));
        strFilter += strPair;
    }
    return strFilter;
}

BOOL C_IDEFileView::RunFileDialog(CFileDialog& dlg, CStringList& paths)
{
    std::vector<char> buffer(65536, 0);
    dlg.m_ofn.lpstrFile = buffer.data();
    dlg.m_ofn.nMaxFile = 65535;
    BOOL bOK = dlg.DoModal() == IDOK;
    if (bOK) {
        for (POSITION pos = dlg.GetStartPosition(); pos;) {
            CString strPath = dlg.GetNextPathName(pos);
            if ((m_dwOptions & IDEFILEVIEW_OPT_NO_BLANK) && strPath.Mid(strPath.ReverseFind('\\') + 1).Find(' ') >= 0) {
                ::MessageBoxA(MainWindow(), Load(IDS_NO_BLANK_NAME), Load(IDS_CAPTION_ERROR), MB_OK | MB_ICONHAND);
                continue;
            }
            paths.AddTail(strPath);
        }
    }
    RestoreExpandedLabel();
    return bOK;
}

void C_IDEFileView::OnAddFilesToProject()
{
    if (!m_hContext)
        m_hContext = GetRootItem();
    if (!m_hContext)
        return;
    I_PMProjectTree* pTree = GetProjectTree(ProjectOf(GetItemCode(m_hContext)) - 1);
    if (!pTree)
        return;
    CString strFilter = BuildProjectFilter(pTree);
    C_SelectOnlyFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER, strFilter,
                               AfxGetMainWnd());
    CStringList paths;
    if (!RunFileDialog(dlg, paths) || paths.IsEmpty())
        return;
    INT_PTR nBefore = paths.GetCount();
    pTree->ResetFolders();
    while (I_PMFolder* pFolder = pTree->GetNextFolder())
        AddFilesToFolder(paths, pFolder, -1);
    BOOL bAdded = paths.GetCount() != nBefore;
    if (!paths.IsEmpty()) {
        C_CUStringList rest;
        for (POSITION pos = paths.GetHeadPosition(); pos;)
            rest.Add(paths.GetNext(pos));
        if (m_pOwner)
            m_pOwner->AddFilesToProject(&rest, "", NULL);
        bAdded = TRUE;
    }
    if (bAdded)
        AfterChange(TRUE);
}

void C_IDEFileView::OnAddFilesToFolder()
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    if (!pFolder)
        return;
    DWORD dwFlags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (pFolder->GetMaxFiles() != 1)
        dwFlags |= OFN_ALLOWMULTISELECT;
    C_SelectOnlyFileDialog dlg(TRUE, NULL, NULL, dwFlags, BuildFolderFilter(pFolder), AfxGetMainWnd());
    CStringList paths;
    if (RunFileDialog(dlg, paths) && AddFilesToFolder(paths, pFolder, nSub))
        AfterChange(TRUE);
}

CString C_IDEFileView::CheckNewFileName(I_PMFolder* pFolder, const CString& strPath, int nFilterIndex)
{
    CString strName = strPath.Mid(strPath.ReverseFind('\\') + 1);
    if ((m_dwOptions & IDEFILEVIEW_OPT_NO_BLANK) && strName.Find(' ') >= 0) {
        ::MessageBoxA(MainWindow(), Load(IDS_NO_BLANK_NAME), Load(IDS_CAPTION_ERROR), MB_OK | MB_ICONHAND);
        return CString();
    }
    I_CUStringList* pExts = pFolder->GetSourceExts();
    CString strExt = ExtensionOf(strPath);
    if (strExt.IsEmpty()) {
        // The extension of the chosen filter entry (1-based), when the folder lists any.
        int nIndex = nFilterIndex >= 1 && nFilterIndex <= CountOf(pExts) ? nFilterIndex - 1 : 0;
        return CountOf(pExts) ? strPath + pExts->GetAt(nIndex) : strPath;
    }
    if (!ListHasNoCase(pExts, strExt)) {
        CString strText;
        strText.Format("Invalid file extension (%s).", (LPCSTR)strExt);
        ::MessageBoxA(MainWindow(), strText, "", MB_OK);
        return CString();
    }
    return strPath;
}

void C_IDEFileView::OnNewFile()
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    if (!pFolder)
        return;
    int nFolder = FolderOf(GetItemCode(m_hContext)) - 1;
    C_SelectOnlyFileDialog dlg(FALSE, NULL, NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER,
                               BuildNewFileFilter(pFolder), AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return;
    CString strPath = CheckNewFileName(pFolder, dlg.GetPathName(), (int)dlg.m_ofn.nFilterIndex);
    if (strPath.IsEmpty())
        return;
    HANDLE hFile = ::CreateFileA(strPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    ::CloseHandle(hFile);
    I_ProjectMgr* pMgr = GetMgr();
    C_CUStringList one;
    one.Add(strPath);
    if (!pMgr || !pMgr->AddNewFile(&one, nFolder, nSub))
        return;
    if (m_pOwner)
        m_pOwner->ReloadFileInfo();
    CString strUpper = ExtensionOf(strPath);
    strUpper.MakeUpper();
    if (IsTextFileExtension(strUpper, NULL) && m_pOwner)
        m_pOwner->OpenSourceFile(strPath);
    m_bModified = TRUE;
}

void C_IDEFileView::OnUpdateAddFilesToFolder(CCmdUI* pCmdUI)
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    pCmdUI->Enable(CanAddFiles(pFolder, nSub));
}

void C_IDEFileView::OnUpdateAddFilesToProject(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsEmpty());
}

void C_IDEFileView::OnUpdateNewFile(CCmdUI* pCmdUI)
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    pCmdUI->Enable(CanAddNewFile(pFolder, nSub));
}

// ---- Sub-folders

void C_IDEFileView::OnAddSubFolder()
{
    I_PMFolder* pFolder = GetItemFolder(m_hContext, NULL);
    I_ProjectMgr* pMgr = GetMgr();
    if (!pFolder || !pMgr)
        return;
    C_IDEInputNameDlg dlg("Add Sub-Folder", "&Name of the new sub-folder", AfxGetMainWnd());
    if (dlg.DoModal() != IDOK)
        return;
    if (!C_IDEInputNameDlg::IsValidFolderName(dlg.m_strName)) {
        ::MessageBoxA(MainWindow(), "Invalid SubFolder Name!", "FoldName error", MB_OK | MB_ICONHAND);
        return;
    }
    if (!pMgr->AddSubFolder(pFolder->GetName(), dlg.m_strName)) {
        ::MessageBoxA(MainWindow(), "SubFolder Name is exist in current folder", "FoldName",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AfterChange(TRUE);
}

void C_IDEFileView::OnDeleteSubFolder()
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    I_ProjectMgr* pMgr = GetMgr();
    if (!pFolder || !pMgr || nSub < 0)
        return;
    CString strSub = GetItemText(m_hContext);
    CString strText;
    strText.Format("Confirm: Really delete sub-folder '%s' from folder '%s' ?", (LPCSTR)strSub, pFolder->GetName());
    if (::MessageBoxA(MainWindow(), strText, "Delete Sub-Folder", MB_OKCANCEL) != IDOK)
        return;
    if (pMgr->DeleteSubFolder(pFolder->GetName(), strSub))
        AfterChange(TRUE);
}

void C_IDEFileView::OnActivateSubFolder()
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    I_ProjectMgr* pMgr = GetMgr();
    if (!pFolder || !pMgr || nSub < 0)
        return;
    if (pMgr->SetActiveSubFolder(pFolder->GetName(), GetItemText(m_hContext))) {
        AfterChange(FALSE);
        Invalidate();
    }
}

void C_IDEFileView::OnRenameSubFolder()
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    I_ProjectMgr* pMgr = GetMgr();
    if (!pFolder || !pMgr || nSub < 0)
        return;
    CString strOld = GetItemText(m_hContext);
    C_IDEInputNameDlg dlg("Rename Sub-Folder", "&Name of the new sub-folder", AfxGetMainWnd());
    dlg.m_strName = strOld;
    if (dlg.DoModal() != IDOK)
        return;
    if (!C_IDEInputNameDlg::IsValidFolderName(dlg.m_strName)) {
        ::MessageBoxA(MainWindow(), "Invalid SubFolder Name!", "FoldName error", MB_OK | MB_ICONHAND);
        return;
    }
    if (pMgr->RenameSubFolder(pFolder->GetName(), strOld, dlg.m_strName))
        AfterChange(TRUE);
}
