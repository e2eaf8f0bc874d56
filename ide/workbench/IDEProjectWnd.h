// The docked "Project Workspace" bar: keeps the open project's folder and
// name and does the document side of opening, saving and closing it.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBar.h"
#include "components/include/ProjectMgrInterface.h"
#include <utility>
#include <vector>

class CMainFrame;

// At most this many report documents are opened and remembered per build.
enum { PROJECTWND_MAX_REPORTS = 16 };

class C_IDEProjectWnd : public TWKControlBar
{
    DECLARE_DYNAMIC(C_IDEProjectWnd)
public:
    C_IDEProjectWnd();
    ~C_IDEProjectWnd() override;

    I_ProjectMgr* GetProjectMgr() const;
    BOOL LoadProject(LPCSTR lpszFolder, LPCSTR lpszFileName);
    BOOL ReloadFileInfo();
    void SaveProject();
    // FALSE when the user cancelled a question.
    BOOL CloseProject(BOOL bAsk);
    void SetProjectModified(BOOL bModified) { m_bModified = bModified; }
    BOOL IsProjectModified() const { return m_bModified; }
    BOOL IsWorkspaceEmpty() const { return m_pProjectTree == nullptr; }
    // The open or newly opened "Text" document of the path; NULL when it cannot be opened.
    CDocument* OpenSourceFile(LPCSTR lpszPath, int nLine, BOOL bReport, CWnd* pZOrder, BOOL bReportFailure);
    void ForgetReportDocument(CDocument* pDoc);
    // (extension, keyword file) pairs of "ZIDE.cfg" [Default_INI].
    void ReadKeywordFileTable();

    CString m_strProjectName;
    CString m_strProjectFolder;
    CMainFrame* m_pFrame = nullptr;
    CDocument* m_pReportDocs[PROJECTWND_MAX_REPORTS] = {};
    I_PMProjectTree* m_pProjectTree = nullptr;
    CString m_strConfigFile;
    std::vector<std::pair<CString, CString>> m_arrKeywordFiles;

protected:
    BOOL m_bModified = FALSE;
    // Paths of the open "Text" documents whose store is writable.
    void CollectOpenPaths(CStringList& list, BOOL bAskSave, BOOL* pbRefused);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()
};
