// Loading the project-manager component and reading its string lists.
#include "ide/workbench/ProjectMgrPtr.h"
#include <vector>
#include "ide/workbench/AsmIDE.h"
#include "support/system/DllLoader.h"
#include "support/text/TextHelpers.h"

static const char kCaption[] = "Project Agent";

C_ProjectMgrPtr::~C_ProjectMgrPtr()
{
    Unload();
}

int C_ProjectMgrPtr::Load(HWND hOwner)
{
    m_hOwner = hOwner;
    return Reload();
}

I_ProjectMgr* C_ProjectMgrPtr::Get()
{
    if (!m_pProjectMgr)
        Reload();
    return m_pProjectMgr;
}

int C_ProjectMgrPtr::Reload()
{
    Unload();
    char path[MAX_PATH];
    lstrcpynA(path, g_szAppDir, MAX_PATH);
    if (lstrlenA(path) + lstrlenA(PROJECTMGR_DLL_NAME) >= MAX_PATH)
        return 0;
    lstrcatA(path, PROJECTMGR_DLL_NAME);
    m_hModule = LoadDllWithMessage(path, kCaption, m_hOwner, TRUE);
    if (!m_hModule)
        return 0;
    // Kept loaded without the entry: the next Get tries again after an Unload.
    auto pfnCreate = reinterpret_cast<PFN_CreateProjectMgrInstance>(
        reinterpret_cast<void (*)()>(GetProcAddressWithMessage(m_hModule, PROJECTMGR_ENTRY_NAME, kCaption, m_hOwner, TRUE)));
    if (!pfnCreate)
        return 0;
    I_ProjectAgent* pAgent = nullptr;
    pfnCreate(m_hOwner, &pAgent);
    if (!pAgent)
        return 0;
    // The agent is the component's own static object: neither kept nor released.
    return pAgent->GetInterface(PROJECTMGR_INTERFACE_ID, &m_pProjectMgr) && m_pProjectMgr ? 1 : 0;
}

void C_ProjectMgrPtr::Unload()
{
    if (m_pProjectMgr) {
        I_ProjectMgr* pMgr = m_pProjectMgr;
        m_pProjectMgr = nullptr;
        pMgr->Release();
    }
    if (m_hModule) {
        FreeLibrary(m_hModule);
        m_hModule = nullptr;
    }
}

namespace {

// A two-call list: the size first (0 ends it, the list left alone), then the block.
template <class Fill>
void ReadTwoCallList(C_CUStringList* pList, BOOL bSplit, Fill fill)
{
    if (!pList)
        return;
    int nSize = fill(nullptr);
    if (nSize <= 0)
        return;
    // Two NULs past the end, in case the component's block lacks its last one.
    std::vector<char> buffer(static_cast<size_t>(nSize) + 2, '\0');
    fill(buffer.data());
    if (bSplit)
        SplitToStringList(buffer.data(), pList);
    else
        MultiSzToStringList(buffer.data(), pList);
}

} // namespace

void GetSourceFileExts(I_ProjectMgr* pMgr, C_CUStringList* pList)
{
    if (pMgr)
        ReadTwoCallList(pList, FALSE, [pMgr](char* p) { return pMgr->GetSourceExts(p); });
}

void GetExecutableFileExts(I_ProjectMgr* pMgr, C_CUStringList* pList)
{
    if (pMgr)
        ReadTwoCallList(pList, FALSE, [pMgr](char* p) { return pMgr->GetExecutableExts(p); });
}

void GetProjectFilesToOpen(I_ProjectMgr* pMgr, const char* pszText, C_CUStringList* pList)
{
    if (pMgr)
        ReadTwoCallList(pList, FALSE, [pMgr, pszText](char* p) { return pMgr->GetFilesToOpen(pszText, p); });
}

void GetProjectBuildTargets(I_ProjectMgr* pMgr, C_CUStringList* pList)
{
    if (pMgr)
        ReadTwoCallList(pList, TRUE, [pMgr](char* p) { return pMgr->GetBuildTargets(p); });
}

void GetProjectReportFiles(I_ProjectMgr* pMgr, C_CUStringList* pList)
{
    if (pMgr)
        ReadTwoCallList(pList, FALSE, [pMgr](char* p) { return pMgr->GetReportFiles(p); });
}

void GetFolderFileList(I_PMFolder* pFolder, C_CUStringList* pList)
{
    if (pFolder)
        ReadTwoCallList(pList, FALSE, [pFolder](char* p) { return pFolder->GetSubFolderNames(p); });
}
