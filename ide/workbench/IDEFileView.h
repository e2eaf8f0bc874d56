// The project's file tree ("Source Files"): clicks, keys, the context menus of
// project, folder, sub-folder and file nodes, removing and adding files and
// managing a folder's sub-folders.
#pragma once
#include "ide/workbench/IDETreeCtrl.h"

// Option bit: names of files added or created through the tree hold no blank.
#define IDEFILEVIEW_OPT_NO_BLANK 2

// Small text helpers the view's commands share.
namespace FileViewText {
// From the last "." of the file name on, dot included; empty without one.
CString ExtensionOf(const CString& strName);
CString Load(UINT nID);
BOOL ListHasNoCase(I_CUStringList* pList, const CString& strText);
HWND MainWindow();
}  // namespace FileViewText

class C_IDEFileView : public C_IDETreeCtrl {
public:
    explicit C_IDEFileView(I_IDETreeOwner* pOwner);
    ~C_IDEFileView() override;

    // ---- What the project window asks
    BOOL IsEmpty() const { return GetProjectTree(0) == NULL; }
    BOOL IsModified() const { return m_bModified; }
    void SetModified(BOOL bModified) { m_bModified = bModified; }
    void Reset();
    void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
    DWORD GetOptions() const { return m_dwOptions; }
    void GetContextItemLocation(CString& strFolder, CString& strSubFolder, CString& strPath);
    void GetContextFolderNames(CString& strFolder, CString& strSubFolder);
    // Path empty: the node's own folder, sub-folder and path. Path given: the folder and
    // the folder's child under which the file's name is found.
    void GetItemLocation(HTREEITEM hItem, CString& strFolder, CString& strSubFolder, CString& strPath);
    BOOL IsSelectedFileCompilable();
    void OpenIncludedFile(int nIndex);
    void EnableTips(BOOL bEnable);
    void SelectAll();
    const CString& GetSelectedPath() const { return m_strSelectedPath; }
    C_CUStringList& GetIncludedList() { return m_includedFiles; }

    // ---- Adding files
    BOOL CanAddFiles(I_PMFolder* pFolder, int nSubFolder);
    BOOL CanAddNewFile(I_PMFolder* pFolder, int nSubFolder);
    // Takes from the list the paths the folder accepts; FALSE when it takes none or refuses them.
    BOOL AddFilesToFolder(CStringList& paths, I_PMFolder* pFolder, int nSubFolder);
    // The filter texts of the add commands.
    CString BuildProjectFilter(I_PMProjectTree* pTree);
    static CString BuildFolderFilter(I_PMFolder* pFolder);
    static CString BuildNewFileFilter(I_PMFolder* pFolder);
    static CString FolderPattern(I_PMFolder* pFolder);
    // The path a new file gets: NULL-safe; empty with the message shown when refused.
    CString CheckNewFileName(I_PMFolder* pFolder, const CString& strPath, int nFilterIndex);
    // The menu of a node, built but not shown; NULL for none. The caller deletes it.
    CMenu* BuildContextMenu(HTREEITEM hItem);

    // Commands (public so that the project window and tests reach them).
    afx_msg void OnOpenFile();
    afx_msg void OnRemoveFiles();
    afx_msg void OnAddFilesToFolder();
    afx_msg void OnAddFilesToProject();
    afx_msg void OnNewFile();
    afx_msg void OnAddSubFolder();
    afx_msg void OnDeleteSubFolder();
    afx_msg void OnActivateSubFolder();
    afx_msg void OnRenameSubFolder();
    afx_msg void OnUpdateAddFilesToFolder(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAddFilesToProject(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNewFile(CCmdUI* pCmdUI);

protected:
    void PickItemColors(TWKListPaintContext* pCtx) override;
    BOOL IsActiveSubFolderRow(int nRow);
    void UpdateFolderImage(HTREEITEM hItem);
    I_ProjectMgr* GetMgr() { return m_pOwner ? m_pOwner->GetTreeProjectMgr() : NULL; }
    // The file dialog's chosen paths; the blank rule skips names with a blank.
    BOOL RunFileDialog(CFileDialog& dlg, CStringList& paths);
    void AfterChange(BOOL bReload);

    BOOL m_bModified = FALSE;
    C_CUStringList m_includedFiles;
    CString m_strSelectedPath;
    DWORD m_dwOptions = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()
};
