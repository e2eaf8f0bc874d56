// The IDE's one main window: an MDI frame owning the docked bars, the
// toolbars, the status bar, the project-manager holder and the managers, and
// the flags with which build, search and debugger keep out of each other's
// way. Commands and routing live in MainFrmCmds.cpp, the fatal-error
// watchdog in MainFrmWatch.cpp.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKStatusBar.h"
#include "framework/frames/TWKProgressCtrl.h"
#include "ide/output/MessageBar.h"
#include "ide/debugger/ResPreview.h"
#include "components/include/ProjectMgrInterface.h"
#include "ide/debugger/ZIceUIMgr.h"
#include "ide/workbench/IDEProjectWnd.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "resources/ideres.h"
#include "support/system/ApplicationBroker.h"
#include "support/text/CUString.h"

class TWKToolBarManager;
class TWKMDIMenuBar;
class TWKCustomToolBar;
class TWKComboBtn;
class C_IDEIceMgr;
class C_IDEToolsMgr;
class C_IDEDisAsmView;

// One fatal-error window the configuration describes.
struct tagFatalError {
    CString WindowText;    // exact caption, compared without case
    CString ModuleName;    // file name of the module that made the window, without case
    CString IncludeText;   // a child window's text must contain it, case-sensitive
};

// Timers of the frame: the progress pane's steps and the watchdog's tick.
enum : UINT_PTR { TIMER_MAIN_PROGRESS = 100, TIMER_MAIN_WATCHDOG = 101 };

// Messages of the frame.
#define WM_MAIN_FATALERROR (WM_USER + 103)
// Requests and output records (wParam: the request; records with any code of no request).
#define WM_MAIN_REQUEST (WM_USER + 100)
// The progress pane: wParam 0 resume, 1 pause, 2 stop, 3 start with the text lParam, 4 set the text.
#define WM_MAIN_PROGRESS (WM_USER + 101)
// Undo (wParam 0) or redo (1) lParam actions in the active view.
#define WM_MAIN_UNDOREDO (WM_USER + 200)

// The emulator's stop notification (wParam, lParam for the ICE manager).
#define WM_MAIN_ICE_STOPPED (WM_USER + 560)

// The profile section of the dock and toolbar layout.
#define MAINFRAME_BARSTATE "BarState\\BarState"

class CMainFrame : public TWKMDIFrameWnd
{
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // Overridden framework operations.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void GetMessageString(UINT nID, CString& rMessage) const override;
    void SwapMenu(UINT nID) override;

    // Accessors the rest of the IDE uses.
    C_IDEIceMgr* GetIceMgr() const { return m_pIceMgr; }
    I_ZIceUIMgr* GetIceUIMgr() const { return m_pIceUIMgr; }
    C_IDEProjectWnd* GetProjectWnd() { return &m_wndProjectWnd; }
    C_MessageBar* GetMessageBar() { return &m_wndMessageBar; }
    C_IDEResPreviewBar* GetPreviewBar() { return &m_wndPreviewBar; }
    I_ProjectMgr* GetProjectMgr() const { return m_pProjectMgr; }
    C_IDEToolsMgr* GetToolsMgr() const { return m_pToolsMgr; }
    TWKToolBarManager* GetToolBarManager() const { return m_pToolBarMgr; }
    TWKCustomStatusBar* GetStatusBar() { return &m_wndStatusBar; }
    TWKProgressCtrl* GetProgressCtrl() { return &m_wndProgress; }
    CFont* GetFrameFont() { return &m_font; }
    // FALSE while there is no ICE manager.
    BOOL IsDebugging() const;
    BOOL IsModalBuild() const { return m_bModalBuild; }
    // Hands the port remembered for the part's family, or the family's first
    // present port, to the ICE manager.
    void SetIcePortForTarget(const char* pszPart);

    // Layout: the dock layout and the toolbars under one profile name.
    void SaveBarState(LPCSTR lpszProfileName) override;
    // FALSE when the File toolbar, its find box or its buttons are missing.
    BOOL RestoreBarState(LPCSTR lpszProfileName);
    // TRUE: the saved layout is not to be used (a crash, debugging, a new version).
    BOOL MustResetBarState();

    // Start-up and projects.
    BOOL InitProjectManager();
    BOOL OpenProject(LPCSTR lpszPath);
    BOOL StartDebug(LPCSTR lpszPort);
    // FALSE when the user cancelled a save question.
    BOOL CloseProject(BOOL bAsk);
    void RefreshDocuments();
    BOOL OpenObjFile(LPCSTR lpszPath);
    void DoFileOpen();
    // The File Open dialog's filter text.
    CString BuildOpenFilter();
    // A chosen file opened by its extension: a project, an object file or a text document.
    void OpenChosenFile(LPCSTR lpszPath);
    void OpenProjectFiles(LPCSTR lpszText);
    // Old project files: the files of an old folder section moved to the new one; 1 when the folder is new.
    int MigrateFolderFiles(LPCSTR lpszFolder, LPCSTR lpszDisk, LPCSTR lpszSection, const CStringArray& values,
                           LPCSTR lpszPath, int n);
    void ConvertProjectFile(LPCSTR lpszPath);
    // The folder leads the find-folder history; equal entries (without case) and repeats go.
    void PutFindFolderFirst(const CString& strFolder);
    CDocument* FindOpenDocument(LPCSTR lpszPath);
    CView* FindOpenView(LPCSTR lpszPath);
    afx_msg void OnFileSaveProject();
    afx_msg void OnFileCloseProject();
    afx_msg void OnUpdateProjectOpen(CCmdUI* pCmdUI);

    // Writing, verifying and uploading the project image, and Write File (MainFrmWriter.cpp).
    // nOperation: 0 Write, 2 upload after a Write, 3 Verify, 18 upload with the sizes given.
    void WriteImage(int nOperation);
    // The same with the output file given ("" when the project manager gives none).
    void WriteImageFor(int nOperation, LPCSTR lpszOutputFile);
    // Upload without a previous Write: the sizes from the upload-size dialog.
    void UploadWithSizes(LPCSTR lpszOutputFile);
    // The project manager's output file, "" when none.
    CString GetOutputFile();
    // Frees the writer component and forgets its entry.
    void ReleaseWriter();
    afx_msg void OnProjectWrite();
    afx_msg void OnProjectVerify();
    afx_msg void OnProjectUpload();
    afx_msg void OnUpdateProjectWrite(CCmdUI* pCmdUI);
    afx_msg void OnUpdateProjectVerify(CCmdUI* pCmdUI);
    afx_msg void OnFileWriteFile();
    DWORD m_nUserSectors = 0;   // user image size, sectors: of the last Write or the upload-size dialog
    DWORD m_nSysSectors = 0;
    afx_msg void OnFileDuplicateProject();
    // Copies the project into the folder (ending with a backslash); the project's own folder is refused.
    BOOL DuplicateProjectTo(LPCSTR lpszFolder);
    afx_msg void OnUpdateDuplicateProject(CCmdUI* pCmdUI);
    afx_msg void OnProjectOptions();
    afx_msg void OnUpdateProjectOptions(CCmdUI* pCmdUI);
    // The project options dialog on a page: IDOK or IDCANCEL. Cancel until the options pages exist.
    INT_PTR RunProjectOptionsDialog(int nPage);
    afx_msg BOOL OnViewBar(UINT nID);
    afx_msg void OnUpdateViewBar(CCmdUI* pCmdUI);

    // The output window's side of the project steps. Until the output window
    // is wired here they keep what was asked, newest last ("clear N", "log FILE", "write log").
    void ClearOutputPage(int nPage);
    void StartOutputLog(LPCSTR lpszFile);
    void WriteOutputLog();
    CStringList m_listOutputRequests;

    // Commands other windows call.
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    void EditCopy() { OnEditCopy(); }
    void EditSelectAll() { OnEditSelectAll(); }
    BOOL IsFindBoxFocused();
    void PasteToFindBox();
    // The File toolbar's find box, NULL when the toolbar or the box is missing.
    TWKComboBtn* GetFindBox();
    void GetIconNameForFile(CString& strName, LPCSTR lpszFileName);
    BOOL AppendMenuItems(LPCSTR lpszPopup, int nCount, const UINT* pIDs, LPCSTR const* ppszNames,
                         const ACCEL* pAccels);
    void RemoveIceActionMenuItems();
    // Actions of ModifyMenuItem.
    enum { MENUITEM_REMOVE = 0, MENUITEM_ENSURE = 1, MENUITEM_ENABLE = 2, MENUITEM_DISABLE = 3, MENUITEM_GREY = 4 };
    BOOL ModifyMenuItem(LPCSTR lpszPopup, LPCSTR lpszItem, int nAction, int nInsertPos, UINT nID);
    BOOL AddToolBarButton(HMODULE hModule, UINT nIconID, UINT nToolBarID, UINT nID, int* pnCount);
    BOOL GetAccelText(const ACCEL& accel, CString& strText);
    void UpdateDefaultTool();
    void LoadFindHistory();
    void LoadFindDirHistory();
    // The names of the actions the active view can undo (bUndo) or redo,
    // newest first, one per Undo or Redo command (MainFrmUndo.cpp).
    void BuildUndoRedoList(BOOL bUndo, CStringList& list);

    // Save As Template and the property wizards (MainFrmOptions.cpp).
    // The user-defined-editor and template flags; with the first, every configured
    // editor registered as its type's first choice in "Resource Editor List".
    void LoadResourceEditorSettings(LPCSTR lpszConfigPath);
    // Action 0 previews the resource file in the preview bar, 1 opens it in its editor.
    BOOL PreviewResource(LPCSTR lpszPath, int nAction);
    afx_msg void OnToolsResourceOptions();
    afx_msg void OnFileSaveAsTemplate();
    afx_msg void OnFileNewProject();
    afx_msg void OnProjectWizard(UINT nID);
    afx_msg void OnUpdateProjectWizard(CCmdUI* pCmdUI);
    // Build and compile (MainFrmBuild.cpp).
    // An operation that waits for a build (debug start, write): run with its
    // argument once the build has ended without error.
    typedef void (*PFN_FRAMEACTION)(CMainFrame* pFrame, DWORD dwArg);
    void OnBuildFinished(int nKind, LRESULT lResult);
    // Ties the "Build" page's errors and warnings to the lines of the given
    // document, or of every open source document with NULL.
    void MarkErrorsInDocuments(CDocument* pDoc);
    // FALSE when the user refused a save.
    BOOL SaveModifiedDocuments();
    // TRUE: run the action now. FALSE: cancelled, or it waits for the build it started.
    BOOL ConfirmBuildBeforeAction(PFN_FRAMEACTION pfnAction, DWORD dwArg);
    void StartProgress(LPCSTR lpszText, COLORREF crBar, COLORREF crText);
    void StopProgress();
    // The question after a build while debugging: the built parts go to the ICE board.
    void ReloadIceBoard();
    afx_msg void OnBuild();
    afx_msg void OnRebuildAll();
    afx_msg void OnCompile();
    afx_msg void OnClean();
    afx_msg void OnStopBuild();
    afx_msg void OnUpdateBuild(CCmdUI* pCmdUI);
    afx_msg void OnUpdateCompile(CCmdUI* pCmdUI);
    afx_msg void OnUpdateStopBuild(CCmdUI* pCmdUI);
    afx_msg LRESULT OnProgressRequest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOutputNavigate(WPARAM wParam, LPARAM lParam);
    PFN_FRAMEACTION m_pfnPendingAction = nullptr;
    DWORD m_dwPendingArg = 0;
    // The file tree's selected path, copied (empty: none).
    CString m_strSelectedFile;

    // Fatal-error watchdog (MainFrmWatch.cpp).
    void LoadFatalErrorDefinitions(LPCSTR lpszConfigPath);
    void FreeFatalErrorDefinitions();
    BOOL IsFatalErrorWindow(HWND hWnd);
    // One tick of timer 101.
    void CheckFatalErrorWindows();

    // Members, in this order.
    BOOL m_bProjectOpen = FALSE;
    volatile BOOL m_bStopFind = FALSE;           // polled by the find-in-files thread
    CWnd* m_pEditWnd = nullptr;                  // a debug window's edit that Copy and Select All act on
    TWKToolBarManager* m_pToolBarMgr = nullptr;  // owned; also the base's manager
    CStringList m_listIcon{ 10 };                // "Icon" entries of "ZIDE.cfg"
    CStringList m_listFind{ 10 };                // find box history, newest first
    CStringList m_listFindDir{ 10 };             // Find in Files folder history
    C_MessageRecordList* m_pBuildRecords = nullptr;   // the output bar's "Build" records
    CWnd* m_pUndoRedoDlg = nullptr;              // the undo or redo list opened last; not owned
    HWND m_hUndoRedoView = nullptr;              // the view that list was opened for
    TWKCustomStatusBar m_wndStatusBar;
    TWKProgressCtrl m_wndProgress;
    CStatic m_wndStatusIcon;
    C_IDEProjectWnd m_wndProjectWnd;             // "Project Workspace"
    C_MessageBar m_wndMessageBar{ OUTPUT_PAGES_ALL };   // "Output Window"
    C_IDEResPreviewBar m_wndPreviewBar;          // "Preview Resource"
    C_ProjectMgrPtr m_projectMgrPtr;
    I_ProjectMgr* m_pProjectMgr = nullptr;
    I_ZIceUIMgr* m_pIceUIMgr = nullptr;          // the dummy below until the debug windows come
    C_IDEDummyIceUIMgr m_dummyIceUIMgr;
    C_IDEIceMgr* m_pIceMgr = nullptr;            // owned
    C_IDEToolsMgr* m_pToolsMgr = nullptr;        // owned
    CFont m_font;                                // status bar and find box
    CString m_strProjectPath;
    BOOL m_bBuilding = FALSE;
    BOOL m_bClosing = FALSE;                     // past the close's point of no return
    volatile BOOL m_bFinding = FALSE;
    HANDLE m_hFindThread = nullptr;              // the running search's thread, owned
    BOOL m_bTakingRequests = FALSE;              // a slice of queued requests is being taken
    BOOL m_bExitAfterBuild = FALSE;
    BOOL m_bCloseProjectAfterBuild = FALSE;
    BOOL m_bModalBuild = FALSE;
    BOOL m_bModalBuildDone = FALSE;
    BOOL m_bUserDefinedEditor = FALSE;
    BOOL m_bTemplateProject = FALSE;
    BOOL m_bProgressPaused = FALSE;
    UINT m_nPendingAction = 0;
    BOOL m_bBuildError = FALSE;
    BOOL m_bAskBuild = TRUE;
    DWORD m_dwEnforceDisable = 0;
    DWORD m_dwNameWithoutSpace = 0;
    CMap<DWORD, DWORD, DWORD, DWORD> m_mapProjectButtons;   // toolbar id -> its button count before the project
    HACCEL m_hProjectAccel = nullptr;
    CMap<DWORD, DWORD, CString, const CString&> m_mapKeyNames;
    CTypedPtrList<CPtrList, tagFatalError*> m_listFatalError;
    BOOL m_bEnableAutoClose = FALSE;
    C_ApplicationBroker m_appBroker;
    CString m_strWriteFile;
    C_CUString m_strWriteTarget;
    BOOL m_bImageWritten = FALSE;
    CString m_strTempUserImage;
    CString m_strTempSysImage;
    HMODULE m_hWriterDll = nullptr;
    FARPROC m_pfnWriterWrite = nullptr;

protected:
    TWKMDIMenuBar* m_pMainMenuBar = nullptr;     // owned; also the base's menu bar

    // The find box given the frame font and laid out again; FALSE when the
    // File toolbar or its box is missing.
    BOOL SetupFindBox();
    void MakeDefaultLayout();
    // A bar made, docking on any side, docked at column nCol of row 0.
    BOOL CreateDockedBar(TWKControlBar& bar, LPCSTR lpszTitle, DWORD dwStyle, UINT nID, UINT nDockBarID, int nCol,
                         float fPctWidth, int nLength, LPCSTR lpszFailure);
    // Reads the history from "Settings\Find" under prefix1, prefix2 ...
    // (C_IDEFindInFilesDlg::AddToHistory writes it).
    void ReadHistory(CStringList& list, LPCSTR lpszPrefix);
    // Text searched in the active view of the active frame.
    void SearchActiveView(const CString& strText);
    // The action's name and accelerator while an ICE manager has actions.
    BOOL GetIceAction(UINT nID, CString* pstrName, ACCEL* pAccel) const;
    // The current menu's first top-level popup whose text (without its "&"
    // marks unless kept) equals the title; bNoCase compares without case.
    CMenu* FindPopup(LPCSTR lpszTitle, BOOL bNoCase, BOOL bKeepAmpersands = FALSE);
    void RedrawMenuBar();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg LRESULT OnFatalErrorFound(WPARAM wParam, LPARAM lParam);
    // Requests of the components and threads, and output records (MainFrmOutput.cpp).
    afx_msg LRESULT OnFrameRequest(WPARAM wParam, LPARAM lParam);
    // One request, outside the slices OnFrameRequest takes.
    LRESULT HandleRequest(WPARAM wParam, LPARAM lParam);
    // An output record on its way to the output window.
    void ForwardOutputRecord(WPARAM wParam, tagMessageRecord* pRec);
    // Request 3: the find-in-files thread has finished.
    void OnFindInFilesDone();
    // Find in Files (MainFrmFind.cpp): opens the dialog and starts the search,
    // or stops the running one.
    afx_msg void OnEditFindInFiles();
    afx_msg void OnUpdateEditFindInFiles(CCmdUI* pCmdUI);
    // The Find in Files button of the File toolbar shown pressed or not.
    void PressFindInFilesButton(BOOL bPressed);
    // Asks a running search to stop and waits for its thread, answering the
    // messages it sends meanwhile.
    void StopFindAndWait();

    // The undo or redo list opened under its split button of the File toolbar.
    void OpenUndoRedoList(BOOL bUndo);
    afx_msg void OnEditUndoList();
    afx_msg void OnEditRedoList();
    afx_msg LRESULT OnUndoRedo(WPARAM wParam, LPARAM lParam);

    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg LRESULT OnToolBarWndNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEditCopy();
    afx_msg void OnEditSelectAll();
    afx_msg void OnEditClear();
    afx_msg void OnUpdateEditClear(CCmdUI* pCmdUI);
    afx_msg void OnEditFindNext();
    afx_msg BOOL OnViewToolBar(UINT nID);
    afx_msg void OnUpdateViewToolBar(CCmdUI* pCmdUI);
    afx_msg void OnViewLargeButtons();
    afx_msg void OnViewNormalButtons();
    afx_msg void OnUpdateViewLargeButtons(CCmdUI* pCmdUI);
    afx_msg void OnUpdateViewNormalButtons(CCmdUI* pCmdUI);
    afx_msg void OnFilePageSetup();
    afx_msg void OnToolsCommand(UINT nID);
    afx_msg void OnUpdateToolsCommand(CCmdUI* pCmdUI);

    // The mouse-wheel hook of the frame's thread.
    static LRESULT CALLBACK WheelHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static HHOOK s_hWheelHook;
    void RemoveWheelHook();
    BOOL m_bHookOwner = FALSE;   // this frame installed the hook

public:
    // ---- debug side (MainFrmDebug.cpp)
    void OnCloseDebugger();
    // From the source and disassembly views; a NULL file is the current listing.
    void RunToCursor(const char* pszFile, int nLine);
    // The build's output files and, with bPrepare, the download flags.
    BOOL GetDownloadFiles(CString& strObj, CString& strSecond, WORD* pFlags, BOOL bPrepare);
    // An object file of the user's choice with its part; FALSE when cancelled or refused.
    BOOL ChooseOtherObj(CString& strPart, CString& strObj, CString& strSecond);
    // After a build the gate started: 1 runs, 2 edits breakpoints, 0 only reloads.
    void RunDebugAction(int nWhat);
    void DoExecute(int);
    void DoDownload(int);
    // For the emulator's user interface.
    void HideWorkspaceBars();
    void RestoreEditLayout();
    C_IDEDisAsmView* OpenDisAsmView(const char* pszPath);
    // The project commands' steps on the emulator.
    void StopTarget();
    void IceOpenProject(LPCSTR lpszPath);
    // The port and the actions of the project just opened.
    void IceProjectOpened();
    void IceNewObjProject(LPCSTR lpszPath, LPCSTR lpszPart);
    // FALSE when the emulator refuses the close; writes the part family's port.
    BOOL IceCloseProject();
    // Asks before a project close leaves debug mode; FALSE when the user stays.
    BOOL LeaveDebugForClose();
    // The emulator's actions in the Debug menu, on the Debug toolbar and as accelerators.
    void ShowIceActions();
    // The toolbar buttons the project added go.
    void RemoveProjectButtons();
    // Debug commands and their update (FALSE: not a debug command).
    BOOL OnDebugCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    afx_msg LRESULT OnIceTargetStopped(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBrokerRequest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);

private:
    struct DebugCommand;
    static const DebugCommand s_debugCommands[];
    typedef void (CMainFrame::*DebugAction)(int);
    // The build-before-action gate: TRUE runs the command now.
    BOOL GateDebugAction(DebugAction pfnAction, int nArg);
    DebugAction m_pfnGatedDebugAction = nullptr;   // the debug operation a build gate holds
    typedef BOOL (C_IDEIceMgr::*DownloadOperation)(CString&, CString&, CString&, WORD, DWORD, const char*);
    // The project's build downloaded (and run) by the emulator.
    void DownloadBuild(DownloadOperation pfnDownload);
    UINT m_nDebugUpdateID = 0;   // the debug command being updated or run
    CString ProjectPart();
    DWORD ProjectIncremental();
    BOOL IsChildFrameActive();
    BOOL HasDebuggableProject();
    void RunStartDebug(int);
    BOOL CanStartDebug();
    BOOL CanExecute();
    BOOL CanDownload();
    BOOL CanCloseDebug();
    BOOL CanRunDebug();
    BOOL CanRestart();
    BOOL CanStepInto();
    BOOL CanStepOver();
    BOOL CanStepOut();
    BOOL CanStop();
    BOOL CanEditBreakpoints();
    BOOL CanChooseOther();
    BOOL CanDownloadOther();
    BOOL CanWriteOther();
    BOOL CanStopWriting();
    BOOL CanDiagnose();
    BOOL CanShowConfiguration();
    BOOL CanShowDebugBar();
    void OnDebugStart();
    void OnDebugStop();
    void OnDebugBreakpoints();
    void OnDebugSetPort();
    void OnDebugExecute();
    void OnDebugDownload();
    void OnDebugResetIce();
    void OnDebugExecuteOther();
    void OnDebugDownloadOther();
    void OnDebugWriteOther();
    void OnDebugStopWriting();
    void OnDebugDiagnose();
    void OnDebugConfiguration();
    void OnViewDebugWindow();

    DECLARE_MESSAGE_MAP()
};
