// The application: start-up on one of three roads (end at once, windowless
// build, windowed IDE), shut-down, the document templates, the recent-file and
// recent-project submenus and the About box.
#pragma once
#include "afx/afx.h"
#include "support/system/InstanceRegistry.h"
#include "support/text/CUString.h"
#include "support/ui/HyperLinkStatic.h"

// The program folder with its trailing backslash.
extern char g_szAppDir[MAX_PATH];
// Where the writer's boot program is loaded ("usbubp.ini").
extern DWORD g_dwUsbUbpAddress;
// The "Text" document template: the open source documents.
extern CMultiDocTemplate* g_pTextTemplate;

// The boot-program address when "usbubp.ini" gives none.
#define IDE_DEFAULT_USBUBP_ADDRESS 0xFFE7A000u

class C_IDECommandLineInfo : public CCommandLineInfo
{
public:
    // Looks at the flags build, debug[:port], hide, IVKID=, IVKHWND= (any
    // case); every token also goes to the framework's parser.
    void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override;

    BOOL m_bBuild = FALSE;
    BOOL m_bDebug = FALSE;
    BOOL m_bHide = FALSE;
    CString m_strPort;
    DWORD m_dwInvokerId = 0;
    DWORD m_dwInvokerWnd = 0;
};

class CAsmIDEApp : public CWinApp
{
public:
    CAsmIDEApp();
    ~CAsmIDEApp() override;

    BOOL InitInstance() override;
    // Without a main window (the windowless road) there is no loop to run.
    int Run() override;
    // The windowless road's exit code is 0 when the project was built, else 1.
    int ExitInstance() override;
    // The recent-file and recent-project lists, and the preview page count.
    void LoadStdProfileSettings(UINT nMaxMRU = 4) override;

    // The registered template whose file-new name is exactly pszName; NULL when none.
    CDocTemplate* FindDocTemplate(LPCSTR pszName);
    // A document of that template: the file, or a new untitled one when pszPath is NULL.
    CDocument* OpenNewDocument(LPCSTR pszName, LPCSTR pszPath);
    // The "Text" (kept in g_pTextTemplate) and "DisAsm" templates, in this order.
    void RegisterDocTemplates();

    // Start-up's configuration steps, on the program folder given (with its backslash).
    // A non-zero "IsSubChipCFG" copies the file "MainChipCFG" names over "ZIDE.cfg",
    // then deletes it; failures are silent.
    static void CopyChipConfiguration(const char* pszFolder);
    // "ADDRESS" of "usbubp.ini" read as hexadecimal; the default when missing or empty.
    static DWORD ReadBootAddress(const char* pszFolder);
    // The command line's project made absolute against pszCurDir (ending in a
    // backslash); no extension gets ".wbi". FALSE for another extension.
    static BOOL MakeProjectPath(const char* pszCurDir, const char* pszName, C_CUString& path);
    // The windowless road: opens the project and builds it; FALSE when it did not build.
    static BOOL BuildWindowless(const C_IDECommandLineInfo& cmdInfo, const char* pszCurDir);

    CRecentFileList* m_pRecentProjectList = nullptr;
    C_InstanceRegistry m_instanceRegistry;

protected:
    afx_msg void OnAppAbout();
    afx_msg void OnFileNewText();
    afx_msg void OnUpdateRecentFiles(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRecentProjects(CCmdUI* pCmdUI);
    afx_msg BOOL OnOpenRecentProject(UINT nID);
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    BOOL StartWindowed(C_IDECommandLineInfo& cmdInfo, const char* pszCurDir);
    // Lets a recent list fill its submenu; greys the submenu's one item while the list is empty.
    static void UpdateRecentSubmenu(CRecentFileList* pList, CCmdUI* pCmdUI);
    void Unregister();

    BOOL m_bWindowless = FALSE;
    BOOL m_bWindowlessDone = FALSE;
};

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    BOOL OnInitDialog() override;

    C_HyperLinkStatic m_wndLink;
};
