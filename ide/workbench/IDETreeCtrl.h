// The project tree: one node per project, folder, sub-folder and file of the
// projects the project-manager component describes, each carrying an item code
// that says where in its project it stands.
#pragma once
#include "afx/afx.h"
#include "afx/imagelist.h"
#include "framework/controls/list/TWKTreeCtrl.h"
#include "components/include/ProjectMgrInterface.h"
#include "support/text/CUStringList.h"

// What the tree asks of the window that embeds it (the project window).
class I_IDETreeOwner {
public:
    virtual CString GetProjectFolder() = 0;     // ends with a backslash
    virtual CString GetProjectName() = 0;
    virtual I_ProjectMgr* GetTreeProjectMgr() = 0;
    virtual BOOL ReloadFileInfo() = 0;
    virtual CDocument* OpenFileAtRecord(LPCSTR pszPath, tagMessageRecord* pRecord, BOOL bReport) = 0;
    // No line, not read-only, window to the top, errors reported.
    virtual BOOL OpenSourceFile(LPCSTR pszPath) = 0;
    virtual BOOL RemoveFileFromProject(LPCSTR pszPath, int nFolder, int nSubFolder) = 0;
    virtual BOOL AddFilesToProject(I_CUStringList* pPaths, LPCSTR pszFolder, LPCSTR pszSubFolder) = 0;
    virtual void GetIncludedFiles(LPCSTR pszPath, C_CUStringList* pList) = 0;
    virtual void GetEmbeddedFiles(LPCSTR pszPath, C_CUStringList* pList) = 0;
    virtual I_PMSourceFile* GetSourceFileObject(LPCSTR pszPath) = 0;
    virtual I_PMEquationSet* GetEquationObject(LPCSTR pszPath) = 0;
    virtual void NotifyMenuEntry(CMenu* pMenu, UINT nID, LPCSTR pszFolder, LPCSTR pszPath, int nAction) = 0;
    virtual BOOL CanEditResource(LPCSTR pszExt) = 0;
protected:
    ~I_IDETreeOwner() {}
};

// The item code: project 28-31, folder 20-27, sub-folder 12-19, file 0-11.
namespace IDETreeCode {
enum Kind { Project, Folder, SubFolder, File };
inline DWORD Make(int nProject, int nFolder, int nSubFolder, int nFile)
{
    return ((DWORD)(nProject & 0xF) << 28) | ((DWORD)(nFolder & 0xFF) << 20) | ((DWORD)(nSubFolder & 0xFF) << 12) |
           (DWORD)(nFile & 0xFFF);
}
inline int ProjectOf(DWORD dw) { return (int)(dw >> 28); }
inline int FolderOf(DWORD dw) { return (int)((dw >> 20) & 0xFF); }
inline int SubFolderOf(DWORD dw) { return (int)((dw >> 12) & 0xFF); }
inline int FileOf(DWORD dw) { return (int)(dw & 0xFFF); }
inline Kind KindOf(DWORD dw)
{
    if (FileOf(dw)) return File;
    if (SubFolderOf(dw)) return SubFolder;
    if (FolderOf(dw)) return Folder;
    return Project;
}
}  // namespace IDETreeCode

#define IDETREE_MAX_PROJECTS 15
#define IDETREE_IMAGE_PROJECT 0
#define IDETREE_IMAGE_FOLDER 1
#define IDETREE_IMAGE_FOLDER_OPEN 2
#define IDETREE_IMAGE_ROOT_FILE 3

class C_IDETreeCtrl : public TWKTreeCtrl {
public:
    explicit C_IDETreeCtrl(I_IDETreeOwner* pOwner);
    ~C_IDETreeCtrl() override;

    void InitImageList(UINT nBitmapID, int nCount, int nGrow);
    // Shows (or shows again, in place) one project; with all slots held by other
    // projects nothing new is shown.
    void ShowProject(I_PMProjectTree* pTree);
    void ClearTree();
    virtual CString GetItemPath(HTREEITEM hItem);
    I_PMFolder* GetItemFolder(HTREEITEM hItem, int* pnSubFolder);
    int GetIconImageIndex(LPCSTR pszIconName);
    HTREEITEM InsertChildItem(HTREEITEM hParent, DWORD dwCode, LPCSTR pszText, int nImage, int nSelImage);
    HTREEITEM InsertProjectItem(DWORD dwCode, LPCSTR pszText, int nImage, int nSelImage, HTREEITEM hAfter);

    DWORD GetItemCode(HTREEITEM hItem) { return hItem ? (DWORD)GetItemData(hItem) : 0; }
    HTREEITEM GetContextItem() const { return m_hContext; }
    void SetContextItem(HTREEITEM hItem) { m_hContext = hItem; }
    HTREEITEM GetExpandedItem() const { return m_hExpanded; }
    I_PMProjectTree* GetProjectTree(int nSlot) const
    {
        return nSlot >= 0 && nSlot < IDETREE_MAX_PROJECTS ? m_pProjects[nSlot] : NULL;
    }
    int GetImageBase() const { return m_nImageBase; }
    CImageList* GetTreeImageList() { return &m_imageList; }
    BOOL DestroyWindow() override;

protected:
    void InsertFiles(HTREEITEM hParent, I_CUStringList* pFiles, DWORD dwParentCode);
    // Puts the short label back on the node that shows its long one.
    void RestoreExpandedLabel();

    I_IDETreeOwner* m_pOwner;
    int m_nImageBase = 0;
    CImageList m_imageList;
    CStringList m_iconNames{10};
    CFont* m_pLabelFont = NULL;
    I_PMProjectTree* m_pProjects[IDETREE_MAX_PROJECTS] = {};
    HTREEITEM m_hContext = NULL;
    HTREEITEM m_hExpanded = NULL;
    CString m_strSavedLabel;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnVScroll(UINT nCode, UINT nPos, CScrollBar* pBar);
    DECLARE_MESSAGE_MAP()
};
