// The ICE manager: drives the part's emulator object for the workbench.
#include "ide/debugger/IDEIceMgr.h"
#include <cstring>
#include <vector>
#include "ide/debugger/IDEIcePortDlg.h"
#include "resources/ideres.h"
#include "support/config/CUPath.h"
#include "support/system/ChipInfo.h"
#include "support/supportres.h"
#include "support/ui/CUMsgHandler.h"

namespace {

BOOL IceFailed(int nResult)
{
    return nResult < 0 || nResult == 1;
}

// All upper bits of the rebuild word: the next download keeps the debug target's image.
constexpr DWORD kKeepImageMark = 0xFFFFFFF0;

} // namespace

C_IDEIceMgr::C_IDEIceMgr(HWND hMainWnd, I_ZIceUIMgr* pUIMgr) : m_hMainWnd(hMainWnd), m_pUIMgr(pUIMgr)
{
    for (UINT i = 0; i < ICE_MAX_ACTIONS; i++)
        m_ActionIds[i] = ICE_ACTION_FIRST_ID + i;
    if (m_pUIMgr)
        m_pUIMgr->SetIceMgr(this);
}

C_IDEIceMgr::~C_IDEIceMgr()
{
    if (m_pIce)
        m_pIce->Release();
    m_pIce = nullptr;
    delete[] m_pHistory;
    m_pHistory = nullptr;
}

// ---- life

BOOL C_IDEIceMgr::Init()
{
    if (IceConfigValue("ICE", "Path").IsEmpty())
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileInt("ICE", "COMVersion", 1200);
    CString strFolder = IceProgramFolder();
    C_CUString folder((LPCSTR)strFolder);
    CString strLibrary = IceConfigValue("IDESystem", "COMBrokerDll");
    if (strLibrary.IsEmpty())
        strLibrary = ICE_BROKER_DLL_NAME;
    C_CUString library((LPCSTR)strLibrary);
    ResolvePath(folder, library, CU_PATH_PLAIN, 0);
    strLibrary = (const char*)library;

    DWORD dwStored = pApp->GetProfileInt("ICE", "COMBrokerVer", 0);
    if (HMODULE hModule = ::LoadLibraryExA(strLibrary, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        auto pfnCheck = reinterpret_cast<PFN_ICE_CHECK_VERSION>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hModule, ICE_VERSION_ENTRY_NAME)));
        DWORD dwVersion = dwStored;
        if (pfnCheck && pfnCheck(&dwVersion) >= 0 && dwVersion != dwStored)
            pApp->WriteProfileInt("ICE", "COMBrokerVer", (int)dwVersion);
        ::FreeLibrary(hModule);
    }
    m_Broker.Setup(strLibrary, strFolder);
    return m_Broker.Get() != nullptr;
}

// ---- part and projects

void C_IDEIceMgr::ForgetActions()
{
    // The names point into the emulator's texts: nothing reads them once it goes.
    m_pActions = nullptr;
    m_nActions = 0;
}

void C_IDEIceMgr::ForgetIce()
{
    if (m_pIce)
        m_pIce->Release();
    m_pIce = nullptr;
    m_Connector.SetIce(nullptr);
    ForgetActions();
    m_bLoadImage = TRUE;
    m_nRebuild = 1;
}

BOOL C_IDEIceMgr::SelectPart(CString& strPart)
{
    if (strPart != m_strPart || !m_pIce) {
        if (m_pIce) {
            CString strNone;
            CloseProject(strNone);
            ForgetIce();
        }
        m_strPart.Empty();
        I_ComBroker* pBroker = m_Broker.Get();
        if (!pBroker)
            return FALSE;
        I_IceDevice* pIce = nullptr;
        if (pBroker->CreateIce(1, 1, strPart, &pIce) != 0) {
            m_pIce = pIce;
            ForgetIce();
            return FALSE;
        }
        if (!pIce)
            return FALSE;
        m_pIce = pIce;
        m_dwCaps = 0;
        m_pIce->GetCapabilities(&m_dwCaps);
        void* pActions = nullptr;
        m_pActions = m_pIce->GetInterface(ICE_IID_ACTION_TABLE, &pActions) == ICE_INTERFACE_GIVEN
                         ? static_cast<I_IceActionTable*>(pActions)
                         : nullptr;
    }
    m_pIce->SelectPart(strPart);
    m_pIce->SetNotifyWindow(m_hMainWnd);
    m_Connector.SetIce(m_pIce);
    m_Connector.RefreshStatus();
    m_strPart = strPart;
    UpdateChipInfoFlag(strPart);
    return TRUE;
}

void C_IDEIceMgr::UpdateChipInfoFlag(const char* pszKey)
{
    // The service loads on its first use in the process; without it nothing changes.
    C_ChipInfoPtr chipInfo;
    chipInfo.Load(nullptr);
    I_ChipItem* pItem = chipInfo.GetChipItem(pszKey);
    if (!pItem)
        return;
    if (pItem->GetDownloadOnly())
        m_dwOptions |= 2;
    else
        m_dwOptions &= ~2u;
}

BOOL C_IDEIceMgr::NewProject(CString& strPath, CString& strPart)
{
    return TellProject(strPath, strPart, &I_IceDevice::NewProject);
}

BOOL C_IDEIceMgr::OpenProject(CString& strPath, CString& strPart)
{
    return TellProject(strPath, strPart, &I_IceDevice::OpenProject);
}

BOOL C_IDEIceMgr::TellProject(CString& strPath, CString& strPart, int (I_IceDevice::*pfnTell)(const char*))
{
    SelectPart(strPart);
    if (m_pIce) {
        if ((m_pIce->*pfnTell)(strPath) != 0)
            return FALSE;
        m_Connector.RefreshStatus();
    }
    m_strProjectPath = strPath;
    m_strImagePath = IcePathWithoutExt(strPath) + ".wim";
    m_bLoadImage = TRUE;
    LoadActionTable();
    return TRUE;
}

BOOL C_IDEIceMgr::SaveProject(CString& strPath)
{
    if (I_IceDebugTarget* pTarget = m_Connector.GetDebugTarget())
        pTarget->SaveImage(m_strImagePath);
    return !m_pIce || m_pIce->SaveProject(strPath) == 0;
}

BOOL C_IDEIceMgr::CloseProject(CString& strPath)
{
    if (m_pIce && !m_strProjectPath.IsEmpty()) {
        CString strClose = strPath.IsEmpty() ? m_strProjectPath : strPath;
        m_pIce->SaveProject(strClose);
        if (m_pIce->CloseProject(strClose) != 0)
            return FALSE;
    }
    m_strProjectPath.Empty();
    m_strImagePath.Empty();
    return TRUE;
}

// ---- actions

BOOL C_IDEIceMgr::LoadActionTable()
{
    if (!m_pIce)
        return FALSE;
    void* pActions = nullptr;
    if (m_pIce->GetInterface(ICE_IID_ACTION_TABLE, &pActions) != ICE_INTERFACE_GIVEN || !pActions) {
        ForgetActions();
        return FALSE;
    }
    m_pActions = static_cast<I_IceActionTable*>(pActions);
    // The arrays hold no more; an emulator that reports more loses the rest.
    int nCount = m_pActions->GetCount();
    m_nActions = nCount < 0 ? 0 : (UINT)nCount > ICE_MAX_ACTIONS ? ICE_MAX_ACTIONS : (UINT)nCount;
    for (UINT i = 0; i < m_nActions; i++) {
        m_ActionNames[i] = m_pActions->GetName((int)i);
        m_ActionIds[i] = ICE_ACTION_FIRST_ID + i;
        m_pActions->GetImage((int)i, &m_ActionImages[i], &m_ActionStyles[i]);
        m_pActions->GetAccelerator((int)i, &m_ActionWords[i][0], &m_ActionWords[i][1], &m_ActionWords[i][2]);
    }
    return TRUE;
}

ICE_ACTION_TABLE C_IDEIceMgr::GetActionTable() const
{
    return {m_nActions, m_ActionIds, m_ActionNames, m_ActionImages, m_ActionStyles,
            reinterpret_cast<const ACCEL*>(m_ActionWords)};
}

void C_IDEIceMgr::GetActionState(UINT i, int* pIdle, int* pDebug, int* pRunning, int* pWriting)
{
    if (m_pActions && i < m_nActions)
        m_pActions->GetState((int)i, pIdle, pDebug, pRunning, pWriting);
}

BOOL C_IDEIceMgr::ExecuteAction(UINT i, HWND hMainWnd)
{
    return m_pActions && i < m_nActions && m_pActions->Execute((int)i, hMainWnd) == 0;
}

BOOL C_IDEIceMgr::EndAction()
{
    return !m_pActions || m_pActions->EndAction() == 0;
}

// ---- downloads

BOOL C_IDEIceMgr::LoadTarget(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags,
                             DWORD dwIncremental, BOOL bListing, int nMode)
{
    if (strObj.IsEmpty()) {
        ::MessageBoxA(m_hMainWnd, "Download file name is not specified !!", "Error", MB_OK);
        return FALSE;
    }
    BOOL bChanged = FALSE;
    if (!m_Connector.OpenBoard(strPart, &bChanged, nMode))
        return FALSE;
    if (bChanged)
        m_bLoadImage = TRUE;
    if ((m_nRebuild & kKeepImageMark) == kKeepImageMark) {
        m_bLoadImage = FALSE;
        m_nRebuild &= 0xF;
    }
    if (m_bLoadImage) {
        if (I_IceDebugTarget* pTarget = m_Connector.GetDebugTarget()) {
            DWORD dwAttr = ::GetFileAttributesA(m_strImagePath);
            if (!m_strImagePath.IsEmpty() && dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_READONLY)) {
                CString strText;
                strText.Format("File %s is readonly.\nDo you want to change it writable?(Y/N)",
                               (LPCSTR)m_strImagePath);
                if (::MessageBoxA(m_hMainWnd, strText, nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES)
                    ::SetFileAttributesA(m_strImagePath, dwAttr & ~FILE_ATTRIBUTE_READONLY);
            }
            if (IceFailed(pTarget->LoadImage(m_strImagePath)))
                return FALSE;
            m_bLoadImage = FALSE;
            m_nRebuild = 1;
        }
    }
    if (m_pIce->SetNotifyWindow(m_hMainWnd) != 0 || m_pIce->BeforeDownload(m_hMainWnd) != 0)
        return FALSE;
    return m_Connector.Download(m_hMainWnd, strObj, strSecond, wFlags, dwIncremental, bListing, nMode);
}

BOOL C_IDEIceMgr::Download(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags,
                           DWORD dwIncremental, const char* pszPort)
{
    if (IsBusy())
        return FALSE;
    if (pszPort)
        m_Connector.SelectPort(pszPort, nullptr);
    return LoadTarget(strPart, strObj, strSecond, wFlags, dwIncremental, FALSE, 0);
}

BOOL C_IDEIceMgr::DownloadAndRun(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags,
                                 DWORD dwIncremental, const char* pszPort)
{
    return Download(strPart, strObj, strSecond, wFlags, dwIncremental, pszPort) && Run();
}

BOOL C_IDEIceMgr::SwitchToOtherPart(CString& strPart)
{
    m_strSavedPart = m_strPart;
    // No image is loaded for a foreign object file.
    m_strImagePath.Empty();
    return strPart == m_strPart || SelectPart(strPart);
}

BOOL C_IDEIceMgr::DownloadOtherObj(CString& strPart, CString& strObj, CString& strSecond, const char* pszPort)
{
    CString strProject = m_strProjectPath, strImage = m_strImagePath;
    BOOL bResult;
    if (!SwitchToOtherPart(strPart)) {
        MessageBoxById(m_hMainWnd, IDS_CU_ERROR, IDS_ICE_PART_NOT_SUPPORTED, MB_OK, (LPCSTR)strPart);
        bResult = FALSE;
    } else {
        bResult = Download(strPart, strObj, strSecond, 0xFFFF, 0, pszPort);
    }
    m_strProjectPath = strProject;
    m_strImagePath = strImage;
    return bResult;
}

BOOL C_IDEIceMgr::ExecuteOtherObj(CString& strPart, CString& strObj, CString& strSecond, const char* pszPort)
{
    CString strProject = m_strProjectPath, strImage = m_strImagePath;
    BOOL bResult = SwitchToOtherPart(strPart);
    if (bResult) {
        // A failed download is a failure: nothing runs.
        m_bOtherRun = DownloadAndRun(strPart, strObj, strSecond, 0xFFFF, 0, pszPort);
        bResult = m_bOtherRun;
    }
    m_strProjectPath = strProject;
    m_strImagePath = strImage;
    return bResult;
}

BOOL C_IDEIceMgr::ResetIce()
{
    if (!StopAll())
        return FALSE;
    return m_Connector.ForgetDownload();
}

BOOL C_IDEIceMgr::IsDownloadNeeded(CString& strPart, CString& strObj)
{
    return m_Connector.IsDownloadNeeded(strPart, strObj);
}

// ---- debug mode

void C_IDEIceMgr::PassDebugTarget()
{
    if (m_pUIMgr)
        m_pUIMgr->SetDebugTarget(m_Connector.GetDebugTarget(), m_nRebuild);
}

BOOL C_IDEIceMgr::StartDebug(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags,
                             DWORD dwIncremental, const char* pszPort)
{
    if (!StopAll())
        return FALSE;
    if (pszPort)
        m_Connector.SelectPort(pszPort, nullptr);
    if (!LoadTarget(strPart, strObj, strSecond, wFlags, dwIncremental, TRUE, 0))
        return FALSE;
    m_pIce->EnterDebugMode();
    PassDebugTarget();
    if (m_pUIMgr) {
        m_pUIMgr->UpdateDebugWindows(TRUE, FALSE);
        m_pUIMgr->ShowDebugWindows();
        if (FileExists(m_Connector.GetDsrFile()))
            m_pUIMgr->ResetDisAsmMarks(m_Connector.GetDsrFile());
        m_pUIMgr->RefreshBreakpoints();
        m_pUIMgr->UpdateDebugWindows(TRUE, FALSE);
    }
    m_bDebugging = TRUE;
    return TRUE;
}

BOOL C_IDEIceMgr::ReloadDebug(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags,
                              DWORD dwIncremental)
{
    if (!StopAll() || !Restart())
        return FALSE;
    if (m_pUIMgr)
        m_pUIMgr->CloseDisAsm();
    m_nRebuild |= kKeepImageMark;
    if (!LoadTarget(strPart, strObj, strSecond, wFlags, dwIncremental, TRUE, 0))
        return FALSE;
    if (m_pUIMgr && FileExists(m_Connector.GetDsrFile()))
        m_pUIMgr->ResetDisAsmMarks(m_Connector.GetDsrFile());
    PassDebugTarget();
    if (m_pUIMgr) {
        m_pUIMgr->RefreshBreakpoints();
        m_pUIMgr->UpdateDebugWindows(TRUE, FALSE);
    }
    return TRUE;
}

void C_IDEIceMgr::CloseDebug()
{
    m_bDebugging = FALSE;
    StopAll();
    Restart();
    m_bRunning = FALSE;
    if (I_IceDebugTarget* pTarget = m_Connector.GetDebugTarget())
        pTarget->SaveImage(m_strImagePath);
    if (m_pUIMgr) {
        m_pUIMgr->HideDebugWindows();
        m_pUIMgr->SaveAndCloseDisAsm();
    }
    if (m_pIce)
        m_pIce->LeaveDebugMode();
    if (m_pUIMgr)
        m_pUIMgr->RefreshBreakpoints();
}

BOOL C_IDEIceMgr::StopAll()
{
    if (m_bRunning && !Stop())
        return FALSE;
    if (m_bWriting && !StopWriting())
        return FALSE;
    return TRUE;
}

// ---- running and stepping

void C_IDEIceMgr::PostProgress(WPARAM wParam, const char* pszText)
{
    if (m_hMainWnd)
        ::SendMessageA(m_hMainWnd, ICE_WM_PROGRESS, wParam, (LPARAM)pszText);
}

BOOL C_IDEIceMgr::Run()
{
    if (!m_pIce || IceFailed(m_pIce->Run(6, 0)))
        return FALSE;
    PostProgress(3, "Running...");
    m_bRunning = TRUE;
    // A running target tells whether it can be stopped; the word read before the run cannot.
    m_Connector.RefreshStatus();
    if (m_bDebugging && m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(FALSE, FALSE);
    return TRUE;
}

BOOL C_IDEIceMgr::RunTo(const char* pszFile, int nLine)
{
    if (!m_Connector.RunTo(pszFile, nLine))
        return FALSE;
    m_bRunning = TRUE;
    m_Connector.RefreshStatus();
    if (m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(FALSE, FALSE);
    return TRUE;
}

BOOL C_IDEIceMgr::Step(int (I_IceDevice::*pfnStep)(), BOOL bAllowed)
{
    if (!bAllowed || !m_pIce)
        return FALSE;
    m_bRunning = TRUE;
    if (m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(FALSE, FALSE);
    // The stop message ends the step.
    if ((m_pIce->*pfnStep)() == 0) {
        m_Connector.RefreshStatus();
        return TRUE;
    }
    m_bRunning = FALSE;
    if (m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(TRUE, FALSE);
    return FALSE;
}

BOOL C_IDEIceMgr::StepInto()
{
    return Step(&I_IceDevice::StepInto, CanStepInto());
}

BOOL C_IDEIceMgr::StepOver()
{
    return Step(&I_IceDevice::StepOver, CanStepOver());
}

BOOL C_IDEIceMgr::StepOut()
{
    // The command's enabling is its only gate.
    return Step(&I_IceDevice::StepOut, TRUE);
}

BOOL C_IDEIceMgr::Restart()
{
    if (!m_Connector.Restart())
        return FALSE;
    if (m_bDebugging && m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(TRUE, FALSE);
    return TRUE;
}

void C_IDEIceMgr::ReturnToSavedPart()
{
    if (!m_strSavedPart.IsEmpty() && m_strSavedPart != m_strPart) {
        CString strPart = m_strSavedPart;
        SelectPart(strPart);
    }
    m_strSavedPart.Empty();
    m_bOtherRun = FALSE;
}

BOOL C_IDEIceMgr::Stop()
{
    if (!m_Connector.Stop())
        return FALSE;
    PostProgress(2, nullptr);
    m_bRunning = FALSE;
    if (m_bDebugging && m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(TRUE, TRUE);
    if (m_bOtherRun) {
        CString strProject = m_strProjectPath, strImage = m_strImagePath;
        ReturnToSavedPart();
        m_strProjectPath = strProject;
        m_strImagePath = strImage;
    }
    return TRUE;
}

BOOL C_IDEIceMgr::OnTargetStopped(WPARAM, LPARAM)
{
    PostProgress(2, nullptr);
    m_bRunning = FALSE;
    m_bOtherRun = FALSE;
    m_Connector.RefreshStatus();
    if (m_bDebugging && m_pUIMgr)
        m_pUIMgr->UpdateDebugWindows(TRUE, TRUE);
    return TRUE;
}

// ---- writing

BOOL C_IDEIceMgr::WriteObj(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags,
                           DWORD dwIncremental)
{
    if (IsBusy() || !CanWrite())
        return FALSE;
    if (!m_bDebugging && !LoadTarget(strPart, strObj, strSecond, wFlags, dwIncremental, FALSE, 1))
        return FALSE;
    std::vector<char> files;
    for (const CString* p : {&strObj, &strSecond}) {
        files.insert(files.end(), (LPCSTR)*p, (LPCSTR)*p + p->GetLength());
        files.push_back(0);
    }
    files.push_back(0);
    m_bWriting = TRUE;
    if (m_pIce->WriteStorage(strPart, m_Connector.GetPort(), files.data()) == 0)
        return TRUE;
    m_bWriting = FALSE;
    return FALSE;
}

BOOL C_IDEIceMgr::WriteOtherObj(CString& strPart, CString& strObj, CString& strSecond)
{
    CString strProject = m_strProjectPath, strImage = m_strImagePath;
    BOOL bResult = SwitchToOtherPart(strPart) && WriteObj(strPart, strObj, strSecond, 0, 0);
    m_strProjectPath = strProject;
    m_strImagePath = strImage;
    return bResult;
}

BOOL C_IDEIceMgr::OnWriteFinished()
{
    if (!m_pIce || IceFailed(m_pIce->EndWriting()))
        return FALSE;
    m_bWriting = FALSE;
    if (m_bOtherRun)
        ReturnToSavedPart();
    return TRUE;
}

BOOL C_IDEIceMgr::StopWriting()
{
    return m_Connector.StopWriting();
}

BOOL C_IDEIceMgr::Diagnose(CString& strPart)
{
    if (!StopAll())
        return FALSE;
    m_strPart = strPart;
    return m_Connector.Diagnose(strPart);
}

// ---- gates

BOOL C_IDEIceMgr::IsBusy()
{
    return m_bRunning || m_bWriting;
}

BOOL C_IDEIceMgr::CanStepInto()
{
    return (m_Connector.GetStatus() & ICE_STATUS_STEP) && !IsBusy();
}

BOOL C_IDEIceMgr::CanStepOver()
{
    const DWORD dwBits = ICE_STATUS_STEP | ICE_STATUS_STEP_OVER;
    return (m_Connector.GetStatus() & dwBits) == dwBits && !IsBusy();
}

BOOL C_IDEIceMgr::CanRestart()
{
    return (m_Connector.GetStatus() & ICE_STATUS_RESTART) && !IsBusy();
}

BOOL C_IDEIceMgr::CanStop()
{
    return (m_Connector.GetStatus() & ICE_STATUS_STOP) && m_bRunning;
}

BOOL C_IDEIceMgr::CanWrite()
{
    return !IsBusy() && (m_dwCaps & ICE_CAP_WRITE) && (m_Connector.GetStatus() & ICE_STATUS_WRITE)
           && (!m_bDebugging || (m_dwCaps & ICE_CAP_WRITE_WHILE_DEBUGGING));
}

BOOL C_IDEIceMgr::CanDebug()
{
    return m_pIce && !m_bOtherRun && (m_dwCaps & ICE_CAP_DEBUG);
}

BOOL C_IDEIceMgr::CanDownload()
{
    return !IsBusy() && m_pIce && (m_dwOptions & 2);
}

BOOL C_IDEIceMgr::IsHistoryAvailable()
{
    return (m_Connector.GetStatus() & ICE_STATUS_HISTORY) != 0;
}

BOOL C_IDEIceMgr::IsStatus200()
{
    return (m_Connector.GetStatus() & ICE_STATUS_HISTORY_CLEAR) != 0;
}

BOOL C_IDEIceMgr::SupportsCallStack()
{
    return (m_dwCaps & ICE_CAP_CALL_STACK) != 0;
}

BOOL C_IDEIceMgr::IsCallStackAllowed()
{
    return SupportsCallStack() && !(m_dwCaps & ICE_CAP_CALL_STACK_WITHHELD);
}

// ---- forwarders

BOOL C_IDEIceMgr::GetPCAddress(DWORD* a, DWORD* b)
{
    return m_pIce->GetPC(a, b) == 0;
}

BOOL C_IDEIceMgr::AddressToSource(DWORD a, DWORD b, int size, char* path, int* line)
{
    return m_pIce->AddressToSource(a, b, size, path, line) == 0;
}

BOOL C_IDEIceMgr::SourceToAddress(const char* path, int line, DWORD* a, DWORD* b)
{
    return m_pIce->SourceToAddress(path, line, a, b) == 0;
}

BOOL C_IDEIceMgr::AddressToListing(DWORD a, DWORD b, char* path, int* line, int* reload)
{
    if (m_pIce->AddressToListing(a, b, path, line, reload) != 0)
        return FALSE;
    m_Connector.SetListingFile(path);
    return TRUE;
}

BOOL C_IDEIceMgr::GetPCListingLine(char* path, int* line, int* reload)
{
    if (m_pIce->GetPCListingLine(path, line, reload) != 0)
        return FALSE;
    m_Connector.SetListingFile(path);
    return TRUE;
}

BOOL C_IDEIceMgr::UpdateDisAsmListing(DWORD a, DWORD b)
{
    return m_pIce->AfterMemoryWrite(a, b) == 0;
}

BOOL C_IDEIceMgr::SetSourceLevelStep(BOOL bSource)
{
    return m_pIce->SetSourceLevelStep(bSource) == 0;
}

BOOL C_IDEIceMgr::EditBreakpoints()
{
    return m_pIce && m_pIce->EditBreakpoints() == 0;
}

BOOL C_IDEIceMgr::GetHistoryText(char** text)
{
    if (!m_pIce)
        return FALSE;
    DWORD dwWord = 0;
    HGLOBAL hText = nullptr;
    if (IceFailed(m_pIce->GetHistory(&dwWord, &hText))) {
        *text = nullptr;
        return FALSE;
    }
    delete[] m_pHistory;
    m_pHistory = nullptr;
    const char* p = hText ? static_cast<const char*>(::GlobalLock(hText)) : nullptr;
    // The handle stays the emulator's: the text is copied within its size.
    size_t nSize = hText ? ::GlobalSize(hText) : 0;
    size_t n = p ? strnlen(p, nSize) : 0;
    m_pHistory = new char[n + 1];
    if (n)
        memcpy(m_pHistory, p, n);
    m_pHistory[n] = 0;
    if (p)
        ::GlobalUnlock(hText);
    *text = m_pHistory;
    return TRUE;
}

void C_IDEIceMgr::ClearHistory()
{
    if (!m_pIce)
        return;
    m_pIce->ClearHistory();
    m_pIce->ResetHistory();
}

const char* C_IDEIceMgr::GetDownloadedFile()
{
    return m_Connector.GetDownloadedFile();
}

BOOL C_IDEIceMgr::WriteMemory(int page, int item, int offset, int value)
{
    return m_pIce && m_pIce->WriteMemory(page, item, offset, value) == 0;
}

BOOL C_IDEIceMgr::ReadMemory(DWORD space, DWORD address, void* buffer)
{
    return m_pIce && m_pIce->ReadMemory(space, address, buffer) == 0;
}

BOOL C_IDEIceMgr::GetInterface(DWORD id, void** out)
{
    return m_pIce->GetInterface(id, out) == ICE_INTERFACE_GIVEN;
}

BOOL C_IDEIceMgr::EditListingLine(int nLine, CString& strIn, CString& strOut)
{
    if (!m_pIce)
        return FALSE;
    char text[ICE_LISTING_TEXT_SIZE] = "";
    lstrcpynA(text, strIn, ICE_LISTING_TEXT_SIZE);
    if (IceFailed(m_pIce->EditListingLine(m_Connector.GetListingFile(), nLine - 1, text)))
        return FALSE;
    text[ICE_LISTING_TEXT_SIZE - 1] = 0;
    strOut = text;
    return TRUE;
}

// ---- the emulator's further operations and ports

BOOL C_IDEIceMgr::ShowConfiguration()
{
    return m_pIce && m_pIce->ConfigDialog() == 0;
}

// The contract gives slots 35 to 38 no operations: nothing calls these.
BOOL C_IDEIceMgr::IceOperation37(DWORD, DWORD)
{
    return FALSE;
}

void C_IDEIceMgr::GetItemTexts(DWORD, CString& strFirst, CString&, DWORD)
{
    strFirst = "(unknown)";
}

BOOL C_IDEIceMgr::SetItemText(DWORD, CString)
{
    return FALSE;
}

BOOL C_IDEIceMgr::IceOperation38(DWORD)
{
    return FALSE;
}

const char* C_IDEIceMgr::GetPort()
{
    return m_Connector.GetPort();
}

void C_IDEIceMgr::SelectPort(const char* pszPort)
{
    m_Connector.SelectPort(pszPort, nullptr);
}

void C_IDEIceMgr::SelectPortByDialog()
{
    m_Connector.SelectPort(nullptr, nullptr);
}
