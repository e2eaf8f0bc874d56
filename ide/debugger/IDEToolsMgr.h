// The Tools menu and the Tools toolbar: predefined tools (the calculator and
// the project's default tools, each with a fixed command and its icon) and the
// user tools of "Tools.cfg".
#pragma once
#include "afx/afx.h"

class TWKCustomToolBar;

class C_IDEToolInfo
{
public:
    virtual ~C_IDEToolInfo();
    // FALSE when the program does not exist or has no icon.
    BOOL Init(UINT nCmdID, LPCSTR lpszProgram, LPCSTR lpszMenuText);
    // The program's first icon drawn at 16 by 16 and its large one at 24 by 24.
    BOOL MakeBitmaps();
    void Run();
    void FreeBitmaps();

    UINT m_nCmdID = (UINT)-1;
    HBITMAP m_hSmall = nullptr;
    HBITMAP m_hLarge = nullptr;
    CString m_strProgram;
    CString m_strMenuText;
};

class C_IDEToolsMgr
{
public:
    enum { MAX_USER_MENU_TOOLS = 16 };

    C_IDEToolsMgr(CFrameWnd* pFrame, TWKCustomToolBar* pToolBar, LPCSTR lpszToolsFile, UINT nFirstID, UINT nLastID,
                  UINT nFirstUserID, UINT nCustomizeID);
    virtual ~C_IDEToolsMgr();

    BOOL AddTool(LPCSTR lpszProgram, LPCSTR lpszMenuText);
    BOOL Load(LPCSTR lpszListFile = nullptr, LPCSTR lpszSection = nullptr, LPCSTR lpszKeyPrefix = nullptr);
    void RefreshToolBar(LPCSTR lpszListFile = nullptr, LPCSTR lpszSection = nullptr, LPCSTR lpszKeyPrefix = nullptr);
    void RunTool(int nIndex);
    void BuildToolsMenu(CMenu* pPopup, UINT nIndex, BOOL bSysMenu);
    BOOL GetToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    void Customize();
    BOOL ExecuteUserTool(UINT nID);

    int GetToolCount() const { return m_nBuiltIn + m_nProject; }
    const C_IDEToolInfo& GetTool(int n) const { return m_tools[n]; }
    CObArray& GetUserTools() { return m_userTools; }
    const CString& GetToolsFile() const { return m_strToolsFile; }

protected:
    void LoadProjectTools(LPCSTR lpszListFile, LPCSTR lpszSection, LPCSTR lpszKeyPrefix);
    BOOL InitSlot(int nSlot, LPCSTR lpszProgram, LPCSTR lpszMenuText);
    void FreeMenuBitmaps();

    CFrameWnd* m_pFrame;
    TWKCustomToolBar* m_pToolBar;
    CString m_strToolsFile;
    CObArray m_userTools;
    HBITMAP m_hMenuBitmaps[MAX_USER_MENU_TOOLS] = {};
    C_IDEToolInfo* m_tools;
    int m_nCommands;
    int m_nBuiltIn = 0;
    int m_nProject = 0;
    UINT m_nFirstID, m_nLastID, m_nFirstUserID, m_nCustomizeID;
};
