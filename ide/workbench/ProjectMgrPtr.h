// Holder of the project-manager component loaded from the program folder, and
// the readers that turn its two-call string lists into C_CUStringList.
#pragma once
#include <windows.h>
#include "components/include/ProjectMgrInterface.h"
#include "support/text/CUStringList.h"

class C_ProjectMgrPtr {
public:
    C_ProjectMgrPtr() = default;
    virtual ~C_ProjectMgrPtr();
    C_ProjectMgrPtr(const C_ProjectMgrPtr&) = delete;
    C_ProjectMgrPtr& operator=(const C_ProjectMgrPtr&) = delete;

    // Keeps the owner window the component reports to (NULL: none), then Reload.
    int Load(HWND hOwner);
    // The interface; loads the component again first when none is held. NULL after a failure.
    I_ProjectMgr* Get();
    // Frees what is held and loads the component again; non-zero on success.
    // A missing module or entry is reported once in a message box.
    int Reload();
    void Unload();

    HMODULE GetModule() const { return m_hModule; }
    HWND GetOwner() const { return m_hOwner; }

private:
    HMODULE m_hModule = nullptr;
    HWND m_hOwner = nullptr;
    I_ProjectMgr* m_pProjectMgr = nullptr;
};

// Each asks for the size first; a size of 0 leaves the list as it was.
void GetSourceFileExts(I_ProjectMgr* pMgr, C_CUStringList* pList);
void GetExecutableFileExts(I_ProjectMgr* pMgr, C_CUStringList* pList);
void GetProjectFilesToOpen(I_ProjectMgr* pMgr, const char* pszText, C_CUStringList* pList);
// One text whose fields are separated by ',' or ';'.
void GetProjectBuildTargets(I_ProjectMgr* pMgr, C_CUStringList* pList);
void GetProjectReportFiles(I_ProjectMgr* pMgr, C_CUStringList* pList);
void GetFolderFileList(I_PMFolder* pFolder, C_CUStringList* pList);
