#include "ide/workbench/IDEFileView.h"
#include "ide/workbench/IDEInputNameDlg.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "afx/commdlg.h"
#include "framework/controls/list/TWKListEdit.h"
#include "support/config/CStringHelpers.h"
#include "support/ui/DirDialog.h"
#include "resources/ideres.h"

using namespace IDETreeCode;

BEGIN_MESSAGE_MAP(C_IDEFileView, C_IDETreeCtrl)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_FILEVIEW_OPEN, OnOpenFile)
    ON_COMMAND(ID_FILEVIEW_REMOVE, OnRemoveFiles)
    ON_COMMAND(ID_FILEVIEW_ADD_TO_FOLDER, OnAddFilesToFolder)
    ON_COMMAND(ID_FILEVIEW_ADD_TO_PROJECT, OnAddFilesToProject)
    ON_COMMAND(ID_FILEVIEW_NEW_FILE, OnNewFile)
    ON_COMMAND(ID_FILEVIEW_ADD_SUBFOLDER, OnAddSubFolder)
    ON_COMMAND(ID_FILEVIEW_DELETE_SUBFOLDER, OnDeleteSubFolder)
    ON_COMMAND(ID_FILEVIEW_ACTIVATE_SUBFOLDER, OnActivateSubFolder)
    ON_COMMAND(ID_FILEVIEW_RENAME_SUBFOLDER, OnRenameSubFolder)
    ON_UPDATE_COMMAND_UI(ID_FILEVIEW_ADD_TO_FOLDER, OnUpdateAddFilesToFolder)
    ON_UPDATE_COMMAND_UI(ID_FILEVIEW_ADD_TO_PROJECT, OnUpdateAddFilesToProject)
    ON_UPDATE_COMMAND_UI(ID_FILEVIEW_NEW_FILE, OnUpdateNewFile)
END_MESSAGE_MAP()

CString FileViewText::ExtensionOf(const CString& strName)
{
    int nSlash = strName.ReverseFind('\\');
    int nDot = strName.ReverseFind('.');
    return nDot > nSlash ? strName.Mid(nDot) : CString();
}

CString FileViewText::Load(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

BOOL FileViewText::ListHasNoCase(I_CUStringList* pList, const CString& strText)
{
    for (int i = 0, n = pList ? pList->GetCount() : 0; i < n; ++i)
        if (strText.CompareNoCase(pList->GetAt(i)) == 0)
            return TRUE;
    return FALSE;
}

HWND FileViewText::MainWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->GetSafeHwnd() : NULL;
}

using namespace FileViewText;

C_IDEFileView::C_IDEFileView(I_IDETreeOwner* pOwner) : C_IDETreeCtrl(pOwner) {}

C_IDEFileView::~C_IDEFileView() {}

int C_IDEFileView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (C_IDETreeCtrl::OnCreate(lpcs) == -1)
        return -1;
    InitImageList(IDB_PROJECT_TREE, 10, 8);
    return 0;
}

void C_IDEFileView::Reset()
{
    ClearTree();
    m_bModified = FALSE;
}

void C_IDEFileView::EnableTips(BOOL bEnable)
{
    EnableLabelTips(bEnable);
}

void C_IDEFileView::SelectAll()
{
    for (HTREEITEM h = GetRootItem(); h; h = GetNextSiblingItem(h))
        SelectSubtree(h);
}

// ---- Locations

void C_IDEFileView::GetItemLocation(HTREEITEM hItem, CString& strFolder, CString& strSubFolder, CString& strPath)
{
    if (strPath.IsEmpty()) {
        if (!hItem)
            return;
        int nSub = -1;
        I_PMFolder* pFolder = GetItemFolder(GetParentItem(hItem), NULL) ? GetItemFolder(hItem, &nSub) : NULL;
        if (!pFolder)
            return;
        strFolder = pFolder->GetName();
        strSubFolder = pFolder->GetSubFolderName(nSub);
        char szPath[PM_PATH_SIZE] = "";
        pFolder->GetFilePath(nSub, FileOf(GetItemCode(hItem)) - 1, szPath);
        szPath[PM_PATH_SIZE - 1] = 0;
        strPath = szPath;
        return;
    }
    strFolder.Empty();
    CString strName = strPath.Mid(strPath.ReverseFind('\\') + 1);
    HTREEITEM hProject = GetRootItem();
    for (HTREEITEM hFolder = hProject ? GetChildItem(hProject) : NULL; hFolder; hFolder = GetNextSiblingItem(hFolder))
        for (HTREEITEM hChild = GetChildItem(hFolder); hChild; hChild = GetNextSiblingItem(hChild)) {
            BOOL bFound = strName.CompareNoCase(GetItemText(hChild)) == 0;
            for (HTREEITEM h = GetChildItem(hChild); h && !bFound; h = GetNextSiblingItem(h))
                bFound = strName.CompareNoCase(GetItemText(h)) == 0;
            if (bFound) {
                strFolder = GetItemText(hFolder);
                strSubFolder = GetItemText(hChild);
                return;
            }
        }
}

void C_IDEFileView::GetContextItemLocation(CString& strFolder, CString& strSubFolder, CString& strPath)
{
    GetItemLocation(m_hContext, strFolder, strSubFolder, strPath);
}

void C_IDEFileView::GetContextFolderNames(CString& strFolder, CString& strSubFolder)
{
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(m_hContext, &nSub);
    if (!pFolder)
        return;
    strFolder = pFolder->GetName();
    if (nSub >= 0)
        strSubFolder = pFolder->GetSubFolderName(nSub);
}

BOOL C_IDEFileView::IsSelectedFileCompilable()
{
    HTREEITEM hCaret = GetSelectedItem();
    I_PMFolder* pFolder = GetItemFolder(hCaret, NULL);
    if (!pFolder || !pFolder->CanCompile())
        return FALSE;
    CString strLabel = GetItemText(hCaret);
    int nDot = strLabel.ReverseFind('.');
    return nDot >= 0 && ListHasNoCase(pFolder->GetSourceExts(), strLabel.Mid(nDot));
}

void C_IDEFileView::OpenIncludedFile(int nIndex)
{
    if (nIndex >= 0 && nIndex < m_includedFiles.GetCount() && m_pOwner)
        m_pOwner->OpenFileAtRecord(m_includedFiles.GetAt(nIndex), NULL, FALSE);
}

// ---- Mouse and keys

void C_IDEFileView::UpdateFolderImage(HTREEITEM hItem)
{
    Kind kind = KindOf(GetItemCode(hItem));
    if (hItem && (kind == Folder || kind == SubFolder)) {
        int nImage = IsItemExpanded(hItem) ? IDETREE_IMAGE_FOLDER_OPEN : IDETREE_IMAGE_FOLDER;
        SetItemImage(hItem, nImage, nImage);
    }
}

void C_IDEFileView::OnLButtonDown(UINT nFlags, CPoint point)
{
    UINT nHit = 0;
    m_hContext = HitTest(point.x, point.y, &nHit);
    HTREEITEM hContext = m_hContext;
    TWKTreeBaseC::OnLButtonDown(nFlags, point);
    UpdateFolderImage(hContext);
    if (hContext && GetItemFolder(GetParentItem(hContext), NULL)) {
        CString strFolder, strSub;
        m_strSelectedPath.Empty();
        GetItemLocation(GetSelectedItem(), strFolder, strSub, m_strSelectedPath);
        CWnd* pMain = AfxGetMainWnd();
        if (!m_strSelectedPath.IsEmpty() && pMain)
            pMain->SendMessage(WM_USER + 100, 5, (LPARAM)(LPCSTR)m_strSelectedPath);
    } else {
        m_strSelectedPath.Empty();
    }
}

void C_IDEFileView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    UINT nHit = 0;
    m_hContext = HitTest(point.x, point.y, &nHit);
    HTREEITEM hContext = m_hContext;
    if (hContext && KindOf(GetItemCode(hContext)) == File) {
        CString strExt = ExtensionOf(GetItemText(hContext));
        strExt.MakeUpper();
        if (!strExt.IsEmpty() && IsTextFileExtension(strExt, NULL))
            OnOpenFile();
    }
    TWKTreeBaseC::OnLButtonDblClk(nFlags, point);
    UpdateFolderImage(hContext);
}

void C_IDEFileView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    HTREEITEM hFirst = GetFirstSelectedItem();
    if (!hFirst)
        return;
    m_hContext = hFirst;
    UINT nScan = nFlags & 0xFF;
    if (nChar == VK_DELETE && nScan == 0x53) {
        OnRemoveFiles();
    } else if (nChar == VK_INSERT && nScan == 0x52) {
        switch (KindOf(GetItemCode(hFirst))) {
        case File:
            m_hContext = GetParentItem(hFirst);
            OnAddFilesToFolder();
            break;
        case Folder:
        case SubFolder:
            OnAddFilesToFolder();
            break;
        case Project:
            OnAddFilesToProject();
            break;
        }
    }
    TWKListBaseC::OnKeyDown(nChar, nRepCnt, nFlags);
}

void C_IDEFileView::OnOpenFile()
{
    if (m_hContext && m_pOwner)
        m_pOwner->OpenFileAtRecord(GetItemPath(m_hContext), NULL, FALSE);
}

// ---- Context menus

CMenu* C_IDEFileView::BuildContextMenu(HTREEITEM hItem)
{
    if (!hItem)
        return NULL;
    DWORD dwCode = GetItemCode(hItem);
    I_PMProjectTree* pTree = GetProjectTree(ProjectOf(dwCode) - 1);
    CMenu* pMenu = new CMenu;
    pMenu->CreatePopupMenu();
    auto count = [&]() { return pMenu->GetMenuItemCount(); };
    auto addActions = [&](I_CUStringList* pActions, UINT nFirst, const CString& strFolder, const CString& strPath) {
        int n = pActions ? pActions->GetCount() : 0;
        if (n == 0)
            return FALSE;
        if (count() > 0)
            pMenu->AppendMenu(MF_SEPARATOR);
        for (int i = 0; i < n; ++i) {
            pMenu->AppendMenu(MF_STRING, nFirst + i, pActions->GetAt(i));
            if (m_pOwner)
                m_pOwner->NotifyMenuEntry(pMenu, nFirst + i, strFolder, strPath, i);
        }
        return TRUE;
    };
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(hItem, &nSub);
    switch (KindOf(dwCode)) {
    case File: {
        CString strPath = GetItemPath(hItem);
        CString strExt = ExtensionOf(GetItemText(hItem));
        CString strUpper = strExt;
        strUpper.MakeUpper();
        if (!strExt.IsEmpty() && IsTextFileExtension(strUpper, NULL))
            pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_OPEN, "&Open");
        else if (pTree && pTree->GetProjectKind() == PM_KIND_OBJ)
            break;
        if (pFolder && !strExt.IsEmpty() && ListHasNoCase(pFolder->GetSourceExts(), strExt)) {
            if (pFolder->CanCompile()) {
                pMenu->AppendMenu(MF_STRING, ID_PROJECT_COMPILE, "Com&pile");
                m_includedFiles.RemoveAll();
                if (m_pOwner)
                    m_pOwner->GetIncludedFiles(strPath, &m_includedFiles);
                if (m_includedFiles.GetCount() > 0) {
                    CMenu sub;
                    sub.CreatePopupMenu();
                    for (int i = 0; i < m_includedFiles.GetCount() && i < 2048; ++i)
                        sub.AppendMenu(MF_STRING, ID_FILEVIEW_INCLUDED_FIRST + i, m_includedFiles.GetAt(i));
                    pMenu->AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), "&Included Files");
                }
                C_CUStringList embedded;
                if (m_pOwner)
                    m_pOwner->GetEmbeddedFiles(strPath, &embedded);
                if (embedded.GetCount() > 0) {
                    CMenu sub;
                    sub.CreatePopupMenu();
                    for (int i = 0; i < embedded.GetCount() && i < 2048; ++i) {
                        CString strFile = embedded.GetAt(i);
                        UINT nID = ID_FILEVIEW_EMBEDDED_FIRST + i;
                        if (ExtensionOf(strFile).CompareNoCase(".sil") == 0)
                            continue;
                        CMenu file;
                        file.CreatePopupMenu();
                        file.AppendMenu(MF_STRING, nID, "Preview");
                        file.AppendMenu(MF_STRING, nID, "Edit");
                        I_PMSourceFile* pSource = m_pOwner ? m_pOwner->GetSourceFileObject(strFile) : NULL;
                        I_CUElementList<tagPMReference*>* pRefs = pSource ? pSource->GetReferences() : NULL;
                        if (pRefs && pRefs->GetCount() > 0) {
                            file.AppendMenu(MF_SEPARATOR);
                            for (int r = 0; r < pRefs->GetCount(); ++r) {
                                tagPMReference* pRef = NULL;
                                if (pRefs->GetAt(r, &pRef, NULL) && pRef) {
                                    CString strEntry;
                                    strEntry.Format("%s (Line %d)", pRef->text, (int)pRef->line);
                                    file.AppendMenu(MF_STRING, nID, strEntry);
                                }
                            }
                        }
                        sub.AppendMenu(MF_POPUP, (UINT_PTR)file.Detach(), strFile);
                    }
                    pMenu->AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), "&Embeded Files");
                }
                I_PMEquationSet* pSet = m_pOwner ? m_pOwner->GetEquationObject(strPath) : NULL;
                I_CUElementList<I_PMEquation*>* pEquations = pSet ? pSet->GetElements() : NULL;
                if (pEquations && pEquations->GetCount() > 0) {
                    CMenu sub;
                    sub.CreatePopupMenu();
                    for (int i = 0; i < pEquations->GetCount() && i < 2048; ++i) {
                        I_PMEquation* pEq = NULL;
                        if (!pEquations->GetAt(i, &pEq, NULL) || !pEq)
                            continue;
                        CMenu eq;
                        eq.CreatePopupMenu();
                        I_CUElementList<tagPMReference*>* pRefs = pEq->GetReferences();
                        for (int r = 0; pRefs && r < pRefs->GetCount(); ++r) {
                            tagPMReference* pRef = NULL;
                            if (pRefs->GetAt(r, &pRef, NULL) && pRef) {
                                CString strEntry;
                                strEntry.Format("%s (Line %d)", pRef->text, (int)pRef->line);
                                eq.AppendMenu(MF_STRING, ID_FILEVIEW_EQUATION_FIRST + i, strEntry);
                            }
                        }
                        sub.AppendMenu(MF_POPUP, (UINT_PTR)eq.Detach(), pEq->GetName());
                    }
                    pMenu->AppendMenu(MF_POPUP, (UINT_PTR)sub.Detach(), "&Audio Equations");
                }
            }
            if (addActions(pFolder->GetFileActions(), ID_FILEVIEW_FILE_ACTION_FIRST, pFolder->GetName(), strPath))
                pMenu->AppendMenu(MF_SEPARATOR);
        }
        if (pFolder)
            pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_REMOVE, "&Remove From Project");
        break;
    }
    case SubFolder:
        if (!pFolder)
            break;
        pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_ADD_TO_FOLDER,
                          pFolder->CanHaveSubFolders() ? "Add &Files" : "Add &File");
        if (pFolder->CanHaveSubFolders() && nSub >= pFolder->GetFixedSubFolderCount()) {
            pMenu->AppendMenu(MF_SEPARATOR);
            pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_DELETE_SUBFOLDER, "Delete");
            pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_RENAME_SUBFOLDER, "Rename");
        }
        addActions(pFolder->GetSubFolderActions(), ID_FILEVIEW_SUBFOLDER_ACTION_FIRST, pFolder->GetName(), "");
        break;
    case Folder:
        if (!pFolder)
            break;
        pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_ADD_TO_FOLDER,
                          pFolder->CanHaveSubFolders() ? "Add &Files" : "Add &File");
        if (pFolder->CanHaveSubFolders()) {
            pMenu->AppendMenu(MF_SEPARATOR);
            pMenu->AppendMenu(MF_STRING, ID_FILEVIEW_ADD_SUBFOLDER, "Add Sub-Folder ...");
        }
        addActions(pFolder->GetFolderActions(), ID_FILEVIEW_FOLDER_ACTION_FIRST, pFolder->GetName(), "");
        break;
    case Project: {
        // The main menu's "&Project" popup itself, with its submenus.
        CMenu main;
        if (main.LoadMenu(IDR_MAINFRAME)) {
            HMENU hProject = ::GetSubMenu(main.GetSafeHmenu(), 3);
            if (hProject && ::RemoveMenu(main.GetSafeHmenu(), 3, MF_BYPOSITION)) {
                pMenu->DestroyMenu();
                pMenu->Attach(hProject);
            }
        }
        pMenu->AppendMenu(MF_SEPARATOR);
        pMenu->AppendMenu(MF_STRING, ID_FILE_SAVE_PROJECT, "Save &Project");
        pMenu->AppendMenu(MF_STRING, ID_FILE_CLOSE_PROJECT, "&Close project");
        pMenu->AppendMenu(MF_STRING, ID_FILE_DUPLICATE_PROJECT, "&Duplicate project");
        break;
    }
    }
    if (count() == 0) {
        delete pMenu;
        return NULL;
    }
    return pMenu;
}

void C_IDEFileView::OnContextMenu(CWnd* pWnd, CPoint point)
{
    C_IDETreeCtrl::OnContextMenu(pWnd, point);
    if (m_hExpanded && GetListTip())
        GetListTip()->Hide();
    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    UINT nHit = 0;
    m_hContext = HitTest(ptClient.x, ptClient.y, &nHit);
    CMenu* pMenu = BuildContextMenu(m_hContext);
    if (!pMenu)
        return;
    pMenu->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
    pMenu->DestroyMenu();
    delete pMenu;
}

// ---- Remove

void C_IDEFileView::OnRemoveFiles()
{
    I_PMProjectTree* pTree = GetProjectTree(0);
    HTREEITEM hFirst = GetFirstSelectedItem();
    if (!hFirst || (pTree && pTree->GetProjectKind() == PM_KIND_OBJ))
        return;
    int nRow = GetItemIndex(hFirst);
    // Paths first: the reload after the removals replaces the nodes.
    struct Entry { CString path; int folder, sub; };
    CArray<Entry, const Entry&> entries;
    for (HTREEITEM h = hFirst; h; h = GetNextSelectedItem(h)) {
        DWORD dwCode = GetItemCode(h);
        if (KindOf(dwCode) != File)
            continue;
        entries.Add(Entry{GetItemPath(h), FolderOf(dwCode) - 1, SubFolderOf(dwCode) - 1});
    }
    int nRemoved = 0;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (m_pOwner && m_pOwner->RemoveFileFromProject(entries[i].path, entries[i].folder, entries[i].sub))
            ++nRemoved;
    if (nRemoved > 0) {
        if (m_hExpanded && KindOf(GetItemCode(m_hExpanded)) != File)
            SetItemText(m_hExpanded, m_strSavedLabel);
        m_hExpanded = NULL;
        m_bModified = TRUE;
        if (m_pOwner)
            m_pOwner->ReloadFileInfo();
    }
    HTREEITEM hAt = GetItemAtIndex(nRow);
    m_hContext = hAt ? hAt : (nRow > 0 ? GetItemAtIndex(nRow - 1) : NULL);
}

// ---- Colours

BOOL C_IDEFileView::IsActiveSubFolderRow(int nRow)
{
    HTREEITEM hItem = GetItemAtIndex(nRow);
    if (!hItem || KindOf(GetItemCode(hItem)) != SubFolder)
        return FALSE;
    int nSub = -1;
    I_PMFolder* pFolder = GetItemFolder(hItem, &nSub);
    return pFolder && nSub == pFolder->GetActiveSubFolder();
}

void C_IDEFileView::PickItemColors(TWKListPaintContext* pCtx)
{
    int nRow = pCtx->m_item.iItem;
    BOOL bFocus = m_hWnd && ::GetFocus() == m_hWnd;
    pCtx->m_crText = IsActiveSubFolderRow(nRow) ? RGB(255, 0, 0) : ::GetSysColor(COLOR_WINDOWTEXT);
    if (m_hWnd && !IsWindowEnabled()) {
        pCtx->m_crTextBk = ::GetSysColor(COLOR_MENU);
        return;
    }
    BOOL bSelected = (pCtx->m_item.state & LVIS_SELECTED) != 0;
    if (bSelected && ((GetListStyle() & LVS_SHOWSELALWAYS) || bFocus) &&
        (pCtx->m_nColumn == 0 || (GetListStyleEx() & TWKLVS_EX_FULLROWSELECT))) {
        if (bFocus || GetPendingEditRow() != -1) {
            pCtx->m_crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            pCtx->m_crTextBk = GetSelBkColor();
        } else {
            pCtx->m_crTextBk = ::GetSysColor(COLOR_MENU);
        }
    } else {
        pCtx->m_crTextBk = GetTextBkColor();
    }
}

void C_IDEFileView::AfterChange(BOOL bReload)
{
    m_bModified = TRUE;
    if (bReload && m_pOwner)
        m_pOwner->ReloadFileInfo();
}
