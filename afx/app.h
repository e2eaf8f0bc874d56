// CWinThread and CWinApp: the application object, its profile (registry or
// private-profile file), the message loop and idle processing.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>
#include "afx/cmdtarget.h"
#include "afx/string.h"

class CWnd;
class CWinApp;
class CCommandLineInfo;
class CRecentFileList;
class CDocManager;
class CDocTemplate;
class CDocument;
class CCmdUI;
class CDC;
struct __POSITION;

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
        { return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam); }
    operator HANDLE() const { return m_hThread; }

    virtual CWnd* GetMainWnd();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Messages until WM_QUIT, idle processing while the queue is empty.
    virtual int Run();
    // The window with the message and its parents first, then the thread.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Waits for one message and handles it behind the exception barrier;
    // FALSE on WM_QUIT (left in m_msgCur). Modal loops use it through
    // AfxPumpMessage, which posts the WM_QUIT again for the outer loop.
    virtual BOOL PumpMessage();
    // Count 0: update the user interface (WM_IDLEUPDATECMDUI); count 1: free
    // temporary wrappers. TRUE while more idle work would be useful.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Deletes the object when it is auto-deleting (worker threads).
    virtual void Delete();

    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur = {};
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    static unsigned __stdcall ThreadEntry(void* p);
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
};

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // NULL: the name is string 0xE000 of the resources (else the program's file title).
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;      // file title of the program, no extension
    LPCSTR m_pszRegistryKey = nullptr;  // NULL: the profile is a private-profile file
    LPCSTR m_pszProfileName = nullptr;  // registry: the app's key name; else the file

    // From now on the profile lives in HKCU\Software\<key>\<profile name>.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // The private-profile file used while no registry key is set (copied).
    void SetProfileName(LPCSTR lpszProfileName);

    // Sections with backslashes are nested keys; "" is the app's own key.
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);
    // *ppData is allocated with new[] (caller deletes[]); FALSE and NULL when missing.
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // A NULL entry deletes the whole section (with its nested keys); a NULL
    // value deletes the entry.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // HKCU\Software\<key>\<profile name>, created when missing; the caller closes it.
    HKEY GetAppRegistryKey();
    // The section's key below the app key, created when missing (or NULL on failure).
    HKEY GetSectionKey(LPCSTR lpszSection);

    // Message boxes of the application: caption = app name, owner = main window.
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // Help for a context (HELP_CONTEXT: HID_BASE_COMMAND + a command id, or
    // HID_BASE_RESOURCE + a window's resource id). The program ships no help
    // file, so the default does nothing; a program that has one overrides it.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    // +1 begins, -1 ends, 0 restores the wait cursor.
    virtual void DoWaitCursor(int nCode);
    // A cursor of the program's resources, and one of the system's (IDC_ARROW
    // and the like); shared handles, NULL when there is none.
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle(LONG lCount) override;
    int ExitInstance() override;

    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;

    // Documents, templates, recent files and the command line
    // (afx/docmanager.cpp, afx/cmdline.cpp).
    // Hands every token to ParseParam; "/" or "-" marks a flag.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Creates and reads m_pRecentFileList ("Recent File List", "File%d").
    virtual void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // Writes the recent-file list back (ExitInstance does it too).
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    // The template whose extension matches, else the first; NULL on failure.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    // The application owns the templates from now on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    __POSITION* GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(__POSITION*& pos) const;
    int GetOpenDocumentCount();
    // Every document's save question; FALSE when one was cancelled.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // The open or save file dialog; FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                  BOOL bOpenFileDialog, CDocTemplate* pTemplate);
    // A printer DC of the chosen (or default) printer; FALSE without one.
    BOOL CreatePrinterDC(CDC& dc);
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    BOOL OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    CRecentFileList* m_pRecentFileList = nullptr;
    CDocManager* m_pDocManager = nullptr;
    UINT m_nNumPreviewPages = 0;
    HGLOBAL m_hDevMode = nullptr;    // printer chosen by Print Setup
    HGLOBAL m_hDevNames = nullptr;
    // Frees the document manager and the recent list (the destructor).
    void DestroyDocState();

    DECLARE_MESSAGE_MAP()

private:
    std::string m_strAppName, m_strExeName, m_strRegistryKey, m_strProfileName;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
HINSTANCE AfxGetInstanceHandle();
LPCSTR AfxGetAppName();
CWnd* AfxGetMainWnd();

// Starts a worker thread running pfn(pParam); the object deletes itself at the end.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
void AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
// The exit code of a thread whose work ended in an exception.
#define AFX_THREAD_FAILED ((UINT)-1)

// One step of a modal loop: handles every pending message of this thread (the
// thread's PreTranslateMessage, translation, dispatch), each followed by the
// idle calls with counts 0 and 1. FALSE when WM_QUIT came (it is re-posted).
BOOL AfxPumpPendingMessages();
// Waits for one message and handles it like the main loop; FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// How a wait that dispatches messages ended.
enum AfxWaitResult { AFX_WAIT_DONE, AFX_WAIT_TIMEOUT, AFX_WAIT_QUIT, AFX_WAIT_FAILED };
// Waits until hObject is signalled (hObject may be NULL) or pfnDone(pParam)
// returns TRUE (pfnDone may be NULL; it is asked between message batches and at
// least every dwStep ms), handling this thread's messages meanwhile through
// AfxPumpPendingMessages, so windows of this thread keep answering messages
// other threads send them. A WM_QUIT ends the wait with AFX_WAIT_QUIT unless
// bThroughQuit: then the wait goes on handling only sent messages, and the
// quit is posted again when it ends.
AfxWaitResult AfxWaitPumping(HANDLE hObject, BOOL (*pfnDone)(void*) = nullptr, void* pParam = nullptr,
                             DWORD dwTimeout = INFINITE, BOOL bThroughQuit = FALSE, DWORD dwStep = 50);
// The thread's idle work (OnIdle with rising counts) until it says it is done
// or a message arrives: modal loops call it so the interface updates and
// temporary objects are freed while they run.
void AfxRunIdle();
void AfxPostQuitMessage(int nExitCode);

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

void AfxDoWaitCursor(int nCode);

// Entry point body: sets up the one application object and runs
// InitInstance, Run (when it succeeded) and ExitInstance.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
