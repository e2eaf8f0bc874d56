// The docked "Project Workspace" bar: keeps the open project's folder and
// name, shows its file tree, does the document side of opening, saving and
// closing it, and starts the compile and build threads (IDEProjectBuild.cpp).
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/controls/tabs/TWK3DTabWnd.h"
#include "components/include/ProjectMgrInterface.h"
#include "editor/store/TWKEdit.h"
#include "ide/workbench/IDEFileView.h"
#include "support/ui/CUMsgHandler.h"
class C_LanguageInfo;
#include "support/system/FileStamp.h"
#include <map>
#include <memory>
#include <utility>
#include <vector>

class CMainFrame;
class CAsmIDEDoc;

// At most this many report documents are opened and remembered per build.
enum { PROJECTWND_MAX_REPORTS = 16 };

// Completion codes the worker threads post to the window (WM_PROJECTWND_DONE wParam; lParam the result).
#define WM_PROJECTWND_DONE (WM_USER + 100)
enum { PROJECTWND_COMPILE_DONE = 1, PROJECTWND_BUILD_DONE = 2 };

// Given to the build thread; lives in the window so that it outlives the start.
struct tagBuildThreadParam {
    CMainFrame* pFrame = nullptr;
    BOOL bRebuild = FALSE;
    DWORD dwUIThreadId = 0;
    HWND hNotify = nullptr;     // the project window, where the completion is posted
};

// Given to the compile thread.
struct tagCompileThreadParam {
    CMainFrame* pFrame = nullptr;
    CString strFolder;
    CString strPath;
    HWND hNotify = nullptr;
};

// Ties between output records and the source lines they name. A record's
// receiverWord holds a key into this table (0: no tie); the table keeps the
// store and the line node. A tie is only ever compared with the live lines
// of an open document's store, never followed, so a line or a document that
// went away can never be read through it.
class C_IDELineTies {
public:
    struct Entry {
        TWKEdit* pStore = nullptr;
        TWKEditLine* pLine = nullptr;
    };
    // Ties the record to the line, replacing its earlier tie; returns the key.
    DWORD Tie(tagMessageRecord* pRecord, TWKEdit* pStore, TWKEditLine* pLine);
    // The record's tie; FALSE when it has none.
    BOOL Find(const tagMessageRecord* pRecord, Entry* pTie) const;
    // The record's key released and its receiverWord cleared.
    void Release(tagMessageRecord* pRecord);
    void ReleaseKey(DWORD dwKey);
    // Every tie into the store cut (its document closes).
    void CutStore(TWKEdit* pStore);
    // Every tie to the line cut (the line is deleted).
    void CutLine(TWKEditLine* pLine);
    // All ties gone (the "Build" page is cleared).
    void Clear();
    int GetCount() const;

private:
    // Keys are never handed out twice, so a record whose tie was cut finds nothing.
    std::map<DWORD, Entry> m_ties;
    DWORD m_dwNextKey = 1;
};

class C_IDEProjectWnd : public TWKControlBar, public I_IDETreeOwner
{
    DECLARE_DYNAMIC(C_IDEProjectWnd)
public:
    C_IDEProjectWnd();
    ~C_IDEProjectWnd() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    I_ProjectMgr* GetProjectMgr() const;
    void NewProject(LPCSTR lpszFolder, LPCSTR lpszName, LPCSTR lpszPart, int nKind, BOOL bTemplate,
                    LPCSTR lpszTemplate);
    BOOL LoadProject(LPCSTR lpszFolder, LPCSTR lpszFileName);
    BOOL ReloadFileInfo() override;
    void SaveProject();
    // FALSE when the user cancelled a question.
    BOOL CloseProject(BOOL bAsk);
    void SetProjectModified(BOOL bModified);
    BOOL IsProjectModified() const;
    BOOL IsWorkspaceEmpty() const;
    // The open or newly opened "Text" document of the path; NULL when it cannot be opened.
    // nLine places the execution arrow (0 or -1: none); pZOrder: &CWnd::wndTop brings it to the top.
    CDocument* OpenSourceFile(LPCSTR lpszPath, int nLine, BOOL bReport, const CWnd* pZOrder, BOOL bReportFailure);
    BOOL SetEditorSyntax(TWKEdit* pStore, LPCSTR lpszPath);
    void ApplySyntaxToDocuments();
    void ForgetReportDocument(CDocument* pDoc);
    // 0 previews the file in the preview bar, 1 opens its resource editor.
    void OpenResource(LPCSTR lpszPath, int nMode);
    // The report documents still open closed, their entries cleared.
    void CloseReportDocuments();
    // A closing document: its report entry and its line ties go.
    void ForgetDocument(CDocument* pDoc);
    // (extension, keyword file) pairs of "ZIDE.cfg" [Default_INI].
    void ReadKeywordFileTable();
    // The "Text" documents open now, in template order.
    static std::vector<CDocument*> GetTextDocuments();
    BOOL IsFocusOnTree();
    void SelectAllInTree();
    static BOOL IsOwnCommand(UINT nID);
    static BOOL IsPopupFileCommand(UINT nID);
    void OnPopupFileSelect(CMenu* pMenu, UINT nID, int nPos);
    // The record's line in the store now, following its tie; ties the record when it has none.
    int FollowRecordLine(TWKEdit& store, tagMessageRecord* pRecord);
    C_IDEFileView& GetFileView() { return m_wndFileView; }
    C_IDELineTies& GetLineTies() { return m_lineTies; }

    // ---- Compile and build (IDEProjectBuild.cpp)
    // The view's file, or the tree's selection with NULL. FALSE: nothing started.
    BOOL StartCompile(CView* pView);
    BOOL StartBuild(BOOL bRebuild);
    BOOL CheckBeforeBuild();
    static UINT CompileThreadProc(LPVOID pParam);
    static UINT BuildThreadProc(LPVOID pParam);
    // The report files of the finished build opened, at most PROJECTWND_MAX_REPORTS.
    void OpenReportFiles();
    afx_msg LRESULT OnThreadDone(WPARAM wParam, LPARAM lParam);

    // ---- I_IDETreeOwner
    CString GetProjectFolder() override { return m_strProjectFolder; }
    CString GetProjectName() override { return m_strProjectName; }
    I_ProjectMgr* GetTreeProjectMgr() override { return GetProjectMgr(); }
    // Opens the file at the record's line, following its tied line when that moved (less than
    // 50 lines); NULL record: no line. NULL when the file is no source document.
    CDocument* OpenFileAtRecord(LPCSTR pszPath, tagMessageRecord* pRecord, BOOL bReport) override;
    BOOL OpenSourceFile(LPCSTR pszPath) override;
    BOOL RemoveFileFromProject(LPCSTR pszPath, int nFolder, int nSubFolder) override;
    BOOL AddFilesToProject(I_CUStringList* pPaths, LPCSTR pszFolder, LPCSTR pszSubFolder) override;
    void GetIncludedFiles(LPCSTR pszPath, C_CUStringList* pList) override;
    void GetEmbeddedFiles(LPCSTR pszPath, C_CUStringList* pList) override;
    I_PMSourceFile* GetSourceFileObject(LPCSTR pszPath) override;
    I_PMEquationSet* GetEquationObject(LPCSTR pszPath) override;
    void NotifyMenuEntry(CMenu* pMenu, UINT nID, LPCSTR pszFolder, LPCSTR pszPath, int nAction) override;
    BOOL CanEditResource(LPCSTR pszExt) override;

    CString m_strProjectName;
    CString m_strProjectFolder;
    CMainFrame* m_pFrame = nullptr;
    TWK3DTabWnd m_wndTabs;
    C_IDEFileView m_wndFileView{ this };
    CDocument* m_pReportDocs[PROJECTWND_MAX_REPORTS] = {};
    tagBuildThreadParam m_buildParam;
    tagCompileThreadParam m_compileParam;
    I_PMProjectTree* m_pProjectTree = nullptr;
    int m_nEmbeddedPos = 0;
    int m_nEquationPos = 0;
    CString m_strConfigFile;
    std::vector<std::pair<CString, CString>> m_arrKeywordFiles;
    // The chip language read from a definition file of the program folder for
    // sources without a project language, kept while the file keeps its time and size.
    std::shared_ptr<C_LanguageInfo> m_pFolderLanguage;
    CString m_strFolderLanguageFile;
    C_FileStamp m_stampFolderLanguage;
    C_IDELineTies m_lineTies;

protected:
    CFont m_fontTabs;
    // The window whose ties the output window's dropped records release.
    static C_IDEProjectWnd* s_pTieOwner;
    static void OnOutputRecordDropped(tagMessageRecord* pRecord);

    CDocument* FindOrOpenDocument(LPCSTR lpszPath, BOOL bReportFailure);
    // The document's active view, else its last one.
    CView* ChooseView(CDocument* pDoc);
    void SetExecutionLine(CView* pView, int nLine);
    void MarkReport(CDocument* pDoc);
    void NoteSyntaxApplied(CDocument* pDoc, BOOL bApplied);
    void OpenReference(I_CUElementList<tagPMReference*>* pRefs, int nIndex);
    void OpenTextFiles(I_CUStringList* pList);
    // A sub-folder's or a folder's action; the paths it hands back are opened.
    void RunFolderAction(BOOL bSubFolder, int nAction);
    // Paths of the open "Text" documents whose store is writable.
    void CollectOpenPaths(CStringList& list, BOOL bAskSave, BOOL* pbRefused);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnClearSwallowed();
    afx_msg void OnIncludedFile(UINT nID);
    afx_msg void OnEmbeddedFile(UINT nID);
    afx_msg void OnEquationFile(UINT nID);
    afx_msg void OnFileAction(UINT nID);
    afx_msg void OnSubFolderAction(UINT nID);
    afx_msg void OnFolderAction(UINT nID);
    DECLARE_MESSAGE_MAP()
};
