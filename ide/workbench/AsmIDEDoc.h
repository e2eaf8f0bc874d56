// A source document of the "Text" template: one text file in the engine's
// text store, the debugger's marker lines and the breakpoint marks. The
// store, not the document, keeps the modified state and the save point.
#pragma once
#include "afx/afx.h"
#include "ide/workbench/IDEBreakLineMap.h"
#include "ide/workbench/IDEEdit.h"

class CMainFrame;

class CAsmIDEDoc : public CDocument
{
    DECLARE_DYNCREATE(CAsmIDEDoc)
public:
    CAsmIDEDoc();
    ~CAsmIDEDoc() override;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCSTR lpszPathName) override;
    void OnCloseDocument() override;
    BOOL SaveModified() override;
    BOOL IsModified() override;
    // The views' titles follow the document's path.
    void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE) override;

    // bLoaded: the store has just read the file, its time comes from that read.
    void SetFilePath(LPCSTR lpszPath, BOOL bLoaded = FALSE);
    void RecordFileTime();
    BOOL HasFileChanged();
    void ReloadFromDisk(LPCSTR lpszPath);

    void RebuildBreakLineMap();
    void RefreshMarkers();
    // The execution-history marker goes to the line of this document (NULL or
    // line 0: nowhere); the other "Text" documents lose theirs.
    static void MoveHistoryMarker(CAsmIDEDoc* pDoc, int nLine);
    void InsertBreakpoint(int nLine);
    void RemoveBreakpoint(int nLine);
    void ToggleBreakpointEnable(int nLine);
    void ResyncBreakpoints(TWKEditLine* pHint);
    void SyncDisAsmBreakpoints();

    C_IDEEdit m_Edit;
    int m_nPCLine = -1;
    int m_nCallerLine = -1;
    int m_nHistoryLine = 0;
    CString m_strPath;
    CString m_strFileName;
    BOOL m_bSyntaxApplied = FALSE;
    BOOL m_bReportDoc = FALSE;
    CTime m_timeFile;
    C_IDEBreakLineMapList* m_pBreakLineMapList = nullptr;

protected:
    static CMainFrame* MainFrame();
    // The project's keywords and colours for the file; TRUE when applied.
    BOOL ApplyEditorSyntax(LPCSTR lpszPath);
    void ApplyFileIcon(LPCSTR lpszPath);
    // The file's last-write time; FALSE when it cannot be opened.
    BOOL ReadFileTime(CTime& time);
};

// Reads the file into the store; a file that cannot be read is reported and gives FALSE.
BOOL LoadDocumentText(CDocument* pDoc, TWKEdit& edit, LPCSTR lpszPathName);
