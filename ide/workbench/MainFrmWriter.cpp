// The frame's writer commands: Project/Write, Verify and Upload of the built images, and
// File/Write File... of any image file, all through the writer component.
#include "ide/workbench/MainFrm.h"
#include "ide/debugger/IDEWriter.h"
#include "ide/workbench/AsmIDE.h"
#include "support/config/CUPath.h"

namespace {

CString Formatted(UINT nID, LPCSTR lpszArg)
{
    CString strFormat, s;
    strFormat.LoadString(nID);
    s.Format(strFormat, lpszArg);
    return s;
}

CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

} // namespace

CString CMainFrame::GetOutputFile()
{
    char sz[PM_PATH_SIZE] = "";
    if (!m_pProjectMgr || !m_pProjectMgr->GetOutputFile(sz))
        sz[0] = '\0';
    sz[PM_PATH_SIZE - 1] = '\0';
    return sz;
}

void CMainFrame::ReleaseWriter()
{
    if (m_hWriterDll)
        FreeLibrary(m_hWriterDll);
    m_hWriterDll = nullptr;
    m_pfnWriterWrite = nullptr;
}

void CMainFrame::WriteImage(int nOperation)
{
    WriteImageFor(nOperation, GetOutputFile());
}

void CMainFrame::WriteImageFor(int nOperation, LPCSTR lpszOutputFile)
{
    WriterProjectCall call;
    call.names = FormWriterImageNames(lpszOutputFile);
    if (!call.names.strUser.IsEmpty()) {
        m_strTempUserImage = call.names.strUserBackup;
        m_strTempSysImage = call.names.strSysBackup;
    }
    if (nOperation != 18 && nOperation != 2)
        call.names.strUserUpload.Empty(), call.names.strSysUpload.Empty();

    const WriterProjectKeys keys = ReadWriterProjectKeys(m_strProjectPath, nOperation == 0 || nOperation == 18);
    DWORD nUser = 0, nSys = 0;
    WriterImageSectors(keys, nUser, nSys);
    if (nOperation != 18) {
        if (!FileExists(call.names.strUser))
            AfxMessageBox(Formatted(IDS_WRITER_USER_NOT_FOUND, call.names.strUser));
        if (!FileExists(call.names.strSys)) {
            call.names.strSys.Empty();
            m_strTempSysImage.Empty();
            if (nOperation == 2)
                call.names.strSysUpload.Empty();
        }
    }
    call.names.strUserBackup = m_strTempUserImage;
    call.names.strSysBackup = m_strTempSysImage;

    const CString strDll = CString(g_szAppDir) + WRITER_DLL_NAME;
    if (!m_hWriterDll)
        m_hWriterDll = LoadLibraryA(strDll);
    if (!m_hWriterDll) {
        AfxMessageBox(Formatted(IDS_WRITER_LOAD_FAILED, strDll));
        return;
    }
    if (!m_pfnWriterWrite)
        m_pfnWriterWrite = GetProcAddress(m_hWriterDll, WRITER_ENTRY_NAME);
    if (!m_pfnWriterWrite) {
        // Named as other tools know the component's entry.
        AfxMessageBox(Formatted(IDS_WRITER_ENTRY_FAILED, "Z61QK83Write"));
        return;
    }
    const PFN_WriterWrite pfn = reinterpret_cast<PFN_WriterWrite>(reinterpret_cast<void (*)()>(m_pfnWriterWrite));
    call.hWnd = m_hWnd;
    call.dwUbpAddress = g_dwUsbUbpAddress;
    if (nOperation == 0) {
        call.nUserSectors = nUser;
        call.nSysSectors = nSys;
        if (CallWriter(pfn, ProjectWriterArgs(WRITER_OP_WRITE, keys, call)) != 0) {
            AfxMessageBox(LoadText(IDS_WRITER_WRITE_FAIL));
            return;
        }
        m_bImageWritten = TRUE;
        CopyFileA(call.names.strUser, m_strTempUserImage, FALSE);
        if (!call.names.strSys.IsEmpty())
            CopyFileA(call.names.strSys, m_strTempSysImage, FALSE);
        m_nUserSectors = nUser;
        m_nSysSectors = nSys;
        return;
    }
    call.nUserSectors = m_nUserSectors;
    call.nSysSectors = m_nSysSectors;
    int nOp = nOperation == 2 ? WRITER_OP_UPLOAD : nOperation == 3 ? WRITER_OP_VERIFY : WRITER_OP_SIZED_UPLOAD;
    if (CallWriter(pfn, ProjectWriterArgs(nOp, keys, call)) != 0)
        AfxMessageBox(LoadText(nOp == WRITER_OP_VERIFY ? IDS_WRITER_VERIFY_FAIL : IDS_WRITER_UPLOAD_FAIL));
}

void CMainFrame::OnProjectWrite()
{
    // A build the project needs first runs before the write, which then waits for it.
    if (ConfirmBuildBeforeAction([](CMainFrame* pFrame, DWORD) { pFrame->WriteImage(0); }, 0))
        WriteImage(0);
}

void CMainFrame::OnProjectVerify()
{
    if (m_bImageWritten)
        WriteImage(3);
    else
        AfxMessageBox(LoadText(IDS_WRITER_NEED_BUILD));
}

void CMainFrame::OnProjectUpload()
{
    if (m_bImageWritten)
        WriteImage(2);
    else
        UploadWithSizes(GetOutputFile());
}

void CMainFrame::UploadWithSizes(LPCSTR lpszOutputFile)
{
    CString strIni(lpszOutputFile);
    strIni = strIni.Left(strIni.ReverseFind('\\') + 1) + "uploadsize.ini";
    C_UploadSize dlg(this);
    char sz[28] = "";
    GetPrivateProfileStringA("Sizes", "User", "32", sz, sizeof sz, strIni);
    dlg.m_strUserSize = sz;
    GetPrivateProfileStringA("Sizes", "Sys", "32", sz, sizeof sz, strIni);
    dlg.m_strSysSize = sz;
    if (dlg.DoModal() != IDOK)
        return;
    m_nUserSectors = (DWORD)strtoul(dlg.m_strUserSize, nullptr, 10) * 2;
    m_nSysSectors = (DWORD)strtoul(dlg.m_strSysSize, nullptr, 10) * 2;
    WritePrivateProfileStringA("Sizes", "User", dlg.m_strUserSize, strIni);
    WritePrivateProfileStringA("Sizes", "Sys", dlg.m_strSysSize, strIni);
    WriteImageFor(18, lpszOutputFile);
}

void CMainFrame::OnUpdateProjectWrite(CCmdUI* pCmdUI)
{
    if (m_dwEnforceDisable & 0x400)
        pCmdUI->Enable(FALSE);
    else if (!m_bClosing && m_pProjectMgr)
        pCmdUI->Enable(!m_wndProjectWnd.IsWorkspaceEmpty() && !m_bBuilding);
}

void CMainFrame::OnUpdateProjectVerify(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    I_PMProject* pProject = m_pProjectMgr ? m_pProjectMgr->GetProject() : nullptr;
    if (!pProject || pProject->GetProjectKind() == PM_KIND_OBJ)
        pCmdUI->Enable(FALSE);
    else
        pCmdUI->Enable(!m_bBuilding && !m_wndProjectWnd.IsWorkspaceEmpty());
}

void CMainFrame::OnFileWriteFile()
{
    const CString strIni = CString(g_szAppDir) + "writerTool.ini";
    struct Key { const char* name; const char* def; int size; CString CWriterMode::*text; } keys[] = {
        {"StorageSize", "80", 10, &CWriterMode::m_strStorageSize},
        {"FileName", " ", 512, &CWriterMode::m_strInputFile},
        {"Verify", "0", 10, &CWriterMode::m_strVerify},
        {"StartAddress", "0", 20, &CWriterMode::m_strStartAddress},
        {"WriteImageAddress", "30000", 20, &CWriterMode::m_strWriteImageAddress},
    };
    CWriterMode dlg(this);
    for (const Key& k : keys) {
        char sz[512] = "";
        GetPrivateProfileStringA("Data", k.name, k.def, sz, (DWORD)k.size, strIni);
        dlg.*k.text = sz;
    }
    // The dialog gets a freshly loaded component of its own and releases it when it closes.
    ReleaseWriter();
    dlg.m_hWriterDll = LoadLibraryA(CString(g_szAppDir) + WRITER_DLL_NAME);
    if (dlg.DoModal() != IDOK)
        return;
    for (const Key& k : keys)
        WritePrivateProfileStringA("Data", k.name, dlg.*k.text, strIni);
}
