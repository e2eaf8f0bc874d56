// The broker holder and the connector to the opened emulator board.
#include "ide/debugger/IDEIceConnector.h"
#include <cstring>
#include <vector>
#include "ide/debugger/IDEIcePortDlg.h"
#include "ide/workbench/MainFrm.h"
#include "support/config/CUPath.h"

namespace {

BOOL IceFailed(int nResult)
{
    return nResult < 0 || nResult == 1;
}

// The object file and the second output as NUL-ended strings with a closing NUL.
std::vector<char> MakeFileList(const CString& strObj, const CString& strSecond)
{
    std::vector<char> list;
    for (const CString* p : {&strObj, &strSecond}) {
        if (p->IsEmpty())
            continue;
        list.insert(list.end(), (LPCSTR)*p, (LPCSTR)*p + p->GetLength());
        list.push_back(0);
    }
    list.push_back(0);
    if (list.size() == 1)
        list.push_back(0);
    return list;
}

} // namespace

CString IcePathWithoutExt(const char* pszPath)
{
    C_CUPath path(pszPath);
    CString str = (const char*)path.GetDrive();
    str += (const char*)path.GetDir();
    str += (const char*)path.GetFileTitle();
    return str;
}

// ---- broker holder

C_ComBrokerPtr::~C_ComBrokerPtr()
{
    if (m_pBroker)
        m_pBroker->Release();
    m_pBroker = nullptr;
    if (m_hModule)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
}

void C_ComBrokerPtr::Setup(CString& strLibrary, CString& strFolder)
{
    m_strLibrary = strLibrary;
    m_strFolder = strFolder;
    if (!m_pBroker)
        Load(m_strLibrary);
    EnsureInit();
}

BOOL C_ComBrokerPtr::Load(const CString& strLibrary)
{
    if (!m_hModule)
        m_hModule = ::LoadLibraryExA(strLibrary, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!m_hModule)
        return FALSE;
    if (m_pBroker) {
        m_pBroker->Release();
        m_pBroker = nullptr;
    }
    auto pfnCreate = reinterpret_cast<PFN_ICE_CREATE_SERVICE>(
        reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, ICE_CREATE_ENTRY_NAME)));
    if (!pfnCreate)
        return FALSE;
    I_ComBroker* pBroker = nullptr;
    if (pfnCreate(1, &pBroker) == 0 || !pBroker)
        return FALSE;
    m_pBroker = pBroker;
    return TRUE;
}

void C_ComBrokerPtr::EnsureInit()
{
    if (m_bInitialised)
        return;
    if (!m_pBroker)
        Load(m_strLibrary);
    if (m_pBroker)
        m_pBroker->Init(m_strFolder);
    // A failed load is not tried again.
    m_bInitialised = TRUE;
}

I_ComBroker* C_ComBrokerPtr::Get()
{
    if (!m_bInitialised)
        EnsureInit();
    return m_pBroker;
}

// ---- connector

void C_IDEIceConnector::SetIce(I_IceDevice* pIce)
{
    m_pIce = pIce;
    m_pBreakpoints = nullptr;
    if (m_pIce)
        m_pIce->GetBreakpointList(&m_pBreakpoints);
}

void C_IDEIceConnector::RefreshStatus()
{
    if (!m_pIce || m_pIce->GetStatus(&m_dwStatus) != 0)
        m_dwStatus = 0;
}

I_IceDebugTarget* C_IDEIceConnector::GetDebugTarget()
{
    if (!m_pIce || m_pIce->GetDebugTarget(&m_pTarget) != 0)
        return nullptr;
    return m_pTarget;
}

I_IceBreakpointList* C_IDEIceConnector::GetBreakpointList()
{
    if (!m_pIce || m_pIce->GetBreakpointList(&m_pBreakpoints) != 0)
        return nullptr;
    return m_pBreakpoints;
}

void C_IDEIceConnector::SetListingFile(const char* pszPath)
{
    m_strListing = pszPath;
    m_bListingReady = TRUE;
}

BOOL C_IDEIceConnector::EnsurePort(const char* pszPart)
{
    return ValidatePort(m_strPort, pszPart) || SelectPort(nullptr, pszPart);
}

BOOL C_IDEIceConnector::OpenBoard(CString& strPart, BOOL* pbChanged, int nMode)
{
    if (!m_pIce)
        return FALSE;
    // The before-writing buffer holds the part, its NUL and the six bytes of the mark.
    if (nMode == 1 && strPart.GetLength() > MAX_WRITE_PART)
        return FALSE;
    if (!EnsurePort(strPart))
        return FALSE;
    BOOL bChanged = strPart != m_strOpenPart;
    m_strOpenPart.Empty();

    char text[ICE_OPEN_TEXT_SIZE] = {};
    DWORD dwWord = 0;
    int nResult;
    if (nMode == 1) {
        char part[ICE_OPEN_TEXT_SIZE];
        memset(part, 0xFF, ICE_OPEN_TEXT_SIZE - 1);
        part[ICE_OPEN_TEXT_SIZE - 1] = 0;
        int n = strPart.GetLength();
        memcpy(part, (LPCSTR)strPart, n + 1);
        memcpy(part + n + 1, "WTR\0\0\0", 6);
        nResult = m_pIce->OpenBoard(m_strPort, part, text, &dwWord);
    } else {
        nResult = m_pIce->OpenBoard(m_strPort, strPart, text, &dwWord);
    }
    // The next opening asks for a port again.
    if (nResult != 0 || m_pIce->GetDebugTarget(&m_pTarget) != 0) {
        m_strPort.Empty();
        return FALSE;
    }
    m_strOpenPart = strPart;
    if (pbChanged)
        *pbChanged = bChanged;
    return TRUE;
}

BOOL C_IDEIceConnector::Download(HWND hWnd, CString& strObj, CString& strSecond, WORD wFlags,
                                 DWORD dwIncremental, BOOL bListing, int nMode)
{
    if (!m_pIce)
        return FALSE;
    if (strObj != m_strObj) {
        m_bDownloaded = FALSE;
        m_bListingReady = FALSE;
        m_dwDownloaded = 0;
    }
    if (!m_bDownloaded && dwIncremental == 0)
        wFlags = 0xFFFF;
    if (!bListing && wFlags != 0)
        m_bListingReady = FALSE;
    else if (m_bListingReady && wFlags == 0)
        bListing = FALSE;

    CString strBase = IcePathWithoutExt(strObj);
    CString strMap = strBase + ".map";
    m_strListing = strBase + ".dis";
    m_strDsr = strBase + ".dsr";
    std::vector<char> files = MakeFileList(strObj, strSecond);

    m_strObj.Empty();
    m_bListingReady = FALSE;
    if (m_pIce->Download(hWnd, files.data(), strMap, (BYTE)(wFlags & 0xFF), bListing, nMode) != 0) {
        m_strOpenPart.Empty();
        return FALSE;
    }
    RefreshStatus();
    if (bListing) {
        char listing[ICE_PATH_SIZE] = "";
        lstrcpynA(listing, m_strListing, ICE_PATH_SIZE);
        if (m_pIce->WriteListing(strObj, listing) != 0) {
            m_strOpenPart.Empty();
            return FALSE;
        }
        listing[ICE_PATH_SIZE - 1] = 0;
        SetListingFile(listing);
    }
    m_bDownloaded = TRUE;
    m_dwDownloaded |= wFlags;
    m_strObj = strObj;
    return TRUE;
}

BOOL C_IDEIceConnector::Stop()
{
    return m_pIce && (m_dwStatus & ICE_STATUS_STOP) && m_pIce->Stop() == 0;
}

BOOL C_IDEIceConnector::Restart()
{
    if (!m_pIce || !(m_dwStatus & ICE_STATUS_RESTART))
        return FALSE;
    if (m_pIce->Restart() == 0)
        return TRUE;
    ForgetDownload();
    return FALSE;
}

BOOL C_IDEIceConnector::StopWriting()
{
    if (!m_pIce)
        return FALSE;
    if (m_pIce->StopWriting() == 0)
        return TRUE;
    ForgetDownload();
    return FALSE;
}

BOOL C_IDEIceConnector::ForgetDownload()
{
    m_strObj.Empty();
    m_bDownloaded = FALSE;
    return TRUE;
}

BOOL C_IDEIceConnector::RunTo(const char* pszFile, int nLine)
{
    if (!m_pIce)
        return FALSE;
    CString strFile = pszFile ? CString(pszFile) : m_strListing;
    DWORD a = 0, b = 0;
    if (IceFailed(m_pIce->SourceToAddress(strFile, nLine, &a, &b)))
        return FALSE;
    return !IceFailed(m_pIce->RunTo(a, b));
}

BOOL C_IDEIceConnector::Diagnose(CString& strPart)
{
    if (!m_pIce)
        return FALSE;
    if (!EnsurePort(strPart))
        return FALSE;
    DWORD dwWord = 0;
    m_pIce->Diagnose(strPart, m_strPort, &dwWord);
    m_bDownloaded = FALSE;
    m_dwDownloaded = 0;
    return TRUE;
}

BOOL C_IDEIceConnector::IsDownloadNeeded(CString& strPart, CString& strObj) const
{
    return !(m_bDownloaded && strPart == m_strOpenPart && strObj == m_strObj);
}

// ---- port choice

BOOL C_IDEIceConnector::SelectPort(const char* pszPort, const char* pszPart)
{
    CString strChoice;
    if (pszPort) {
        strChoice = pszPort;
    } else {
        CString strPart;
        if (pszPart) {
            strPart = pszPart;
        } else if (auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd())) {
            I_ProjectMgr* pMgr = pFrame->GetProjectMgr();
            I_PMProject* pProject = pMgr ? pMgr->GetProject() : nullptr;
            if (pProject && pProject->GetPartNumber())
                strPart = pProject->GetPartNumber();
        }
        strChoice = m_strPort;
        if (!strPart.IsEmpty()) {
            CString strFamilies = IceReadPortFamilies(strPart.Left(4), FALSE);
            if (m_strPort.IsEmpty()) {
                m_strPort = strFamilies.Left(3);
                m_strPort.MakeUpper();
                if (m_strPort != "USB")
                    m_strPort += "1";
                strChoice = m_strPort;
            } else {
                strChoice = IceFirstFamilyPort(strFamilies);
            }
        }
        CString strStart = (strChoice.Find("USB") >= 0 || strChoice.Find("LPT") >= 0 || strChoice.Find("COM") >= 0)
                               ? m_strPort
                               : strChoice;
        C_IDEIcePortDlg dlg(strStart, AfxGetMainWnd());
        CString strAllowed = IceReadPortFamilies(strPart, TRUE);
        strAllowed.MakeUpper();
        dlg.SetAllowedPorts(strAllowed);
        CString strDefault = strAllowed.Left(3);
        dlg.ChooseDefaultPort(strDefault);
        dlg.SetDefaultPort(strDefault);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        dlg.GetPort(strChoice);
    }
    m_strPort = strChoice;
    return TRUE;
}

BOOL C_IDEIceConnector::ValidatePort(CString& strPort, const char* pszPart)
{
    if (strPort.IsEmpty())
        return FALSE;
    CString strFamilies = IceReadPortFamilies(pszPart, TRUE);
    if (strFamilies.IsEmpty())
        return FALSE;
    strFamilies.MakeUpper();
    CString strFamily = strPort.Left(3);
    strFamily.MakeUpper();
    if (strFamilies.Find(strFamily) >= 0)
        return TRUE;
    strPort = strFamilies.Left(3);
    if (strPort != "USB")
        strPort += "1";
    CString strNone;
    C_IDEIcePortDlg dlg(strNone, nullptr);
    dlg.ChooseDefaultPort(strPort);
    return TRUE;
}
