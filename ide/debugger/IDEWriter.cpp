#include "ide/debugger/IDEWriter.h"
#include "afx/commdlg.h"
#include "ide/workbench/AsmIDE.h"
#include "resources/ideres.h"
#include <cstdlib>

namespace {

CString Text(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

DWORD Hex(LPCSTR lpsz)
{
    return (DWORD)strtoul(lpsz, nullptr, 16);
}

const char* const kDexWriterMode = "DexWriterMode.ini";   // bare: the Windows folder

} // namespace

int CallWriter(PFN_WriterWrite pfn, const WriterArgs& a)
{
    return pfn(a.nStorageType, a.strText2.c_str(), a.strText3.c_str(), a.strImage1.c_str(), a.nSectors1,
               a.bImage2Null ? nullptr : a.strImage2.c_str(), a.nSectors2, a.nStartSector, a.hWnd, a.nOperation,
               a.dwAppStart, a.dwUbpAddress, a.nFlag);
}

WriterImageNames FormWriterImageNames(LPCSTR lpszOutputFile)
{
    WriterImageNames n;
    CString base(lpszOutputFile ? lpszOutputFile : "");
    if (base.IsEmpty())
        return n;
    // Exactly four characters go, whatever the extension's length: other tools name the images so.
    base = base.Left(std::max(0, base.GetLength() - 4));
    n.strUser = base + "_user.fsf";
    n.strSys = base + "_sys.fsf";
    n.strUserBackup = base + "_user.bak";
    n.strSysBackup = base + "_sys.bak";
    n.strUserUpload = base + "_user_upload.bin";
    n.strSysUpload = base + "_sys_upload.bin";
    return n;
}

WriterProjectKeys ReadWriterProjectKeys(LPCSTR lpszProjectFile, BOOL bFiles)
{
    WriterProjectKeys k;
    const char* s = "VeltaneTool";
    k.nMediaType = (int)GetPrivateProfileIntA(s, "MEDIATYPE", 1, lpszProjectFile);
    k.nAppStart = (int)GetPrivateProfileIntA(s, "APPStart", 1, lpszProjectFile);
    k.nImageSize = (int)GetPrivateProfileIntA(s, "ImageSize", 1, lpszProjectFile);
    k.nHasSysDisk = (int)GetPrivateProfileIntA(s, "HASSYSDISK", 0, lpszProjectFile);
    k.nSysSize = k.nHasSysDisk ? (int)GetPrivateProfileIntA(s, "SYSSIZE", 0, lpszProjectFile) : 0;
    if (bFiles) {
        char sz[256] = "";
        GetPrivateProfileStringA(s, "USB_UBP_FILE", "UserBootProgram_USB.bin", sz, sizeof sz, lpszProjectFile);
        k.strUsbUbpFile = sz;
        GetPrivateProfileStringA(s, "WRITER_MODE_FILE", "ImageWriter_NAND.bin", sz, sizeof sz, lpszProjectFile);
        k.strWriterModeFile = sz;
    }
    return k;
}

void WriterImageSectors(const WriterProjectKeys& keys, DWORD& nUser, DWORD& nSys)
{
    DWORD nImage = (DWORD)keys.nImageSize << 11;
    nSys = (DWORD)keys.nSysSize << 11;
    nUser = nImage - nSys;
}

WriterArgs ProjectWriterArgs(int nOperation, const WriterProjectKeys& keys, const WriterProjectCall& call)
{
    WriterArgs a;
    a.nStorageType = keys.nMediaType;
    a.nSectors1 = call.nUserSectors;
    a.nSectors2 = call.nSysSectors;
    a.hWnd = call.hWnd;
    a.nOperation = nOperation;
    a.dwAppStart = (DWORD)keys.nAppStart;
    a.dwUbpAddress = call.dwUbpAddress;
    a.nFlag = 1;
    const WriterImageNames& n = call.names;
    switch (nOperation) {
    case WRITER_OP_WRITE:
        a.strText2 = (LPCSTR)keys.strUsbUbpFile;
        a.strText3 = (LPCSTR)keys.strWriterModeFile;
        a.strImage1 = (LPCSTR)n.strUser;
        a.strImage2 = (LPCSTR)n.strSys;
        break;
    case WRITER_OP_UPLOAD:
        a.strText2 = (LPCSTR)n.strUserUpload;
        a.strText3 = (LPCSTR)n.strSysUpload;
        a.strImage1 = (LPCSTR)n.strUserBackup;
        a.strImage2 = (LPCSTR)n.strSysBackup;
        break;
    case WRITER_OP_VERIFY:
        a.strImage1 = (LPCSTR)n.strUserBackup;
        a.strImage2 = (LPCSTR)n.strSysBackup;
        break;
    case WRITER_OP_SIZED_UPLOAD:
        a.strText2 = (LPCSTR)keys.strUsbUbpFile;
        a.strText3 = (LPCSTR)keys.strWriterModeFile;
        a.strImage1 = (LPCSTR)n.strUserUpload;
        a.strImage2 = (LPCSTR)n.strSysUpload;
        break;
    }
    return a;
}

// ---- Write File

BEGIN_MESSAGE_MAP(CWriterMode, CDialog)
    ON_BN_CLICKED(IDC_WRITER_INPUT_BROWSE, OnInputFile)
    ON_BN_CLICKED(IDC_WRITER_VERIFY, OnVerify)
    ON_BN_CLICKED(IDC_WRITER_BURN, OnBurn)
    ON_EN_CHANGE(IDC_WRITER_STORAGE_SIZE, OnNothing)
    ON_EN_CHANGE(IDC_WRITER_START_ADDRESS, OnNothing)
    ON_EN_CHANGE(IDC_WRITER_INPUT_FILE, OnNothing)
    ON_CBN_SELCHANGE(IDC_WRITER_UBP_LIST, OnNothing)
    ON_CBN_SELCHANGE(IDC_WRITER_WRITER_LIST, OnNothing)
    ON_WM_DESTROY()
    ON_MESSAGE(WRITER_WM_PROGRESS, OnWriterProgress)
END_MESSAGE_MAP()

CWriterMode::CWriterMode(CWnd* pParent) : CDialog(IDD_WRITER_MODE, pParent)
{
    m_strProgramFolder = g_szAppDir;
}

CWriterMode::~CWriterMode()
{
    ReleaseWriter();
}

void CWriterMode::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WRITER_PROGRESS, m_wndProgress);
    DDX_Control(pDX, IDC_WRITER_UBP_LIST, m_wndUbpList);
    DDX_Control(pDX, IDC_WRITER_WRITER_LIST, m_wndWriterList);
    DDX_Text(pDX, IDC_WRITER_STORAGE_SIZE, m_strStorageSize);
    DDX_Text(pDX, IDC_WRITER_START_ADDRESS, m_strStartAddress);
    DDX_Text(pDX, IDC_WRITER_INPUT_FILE, m_strInputFile);
    DDX_Check(pDX, IDC_WRITER_VERIFY, m_bVerify);
}

void CWriterMode::ReadUsbUbpIni()
{
    const CString strIni = m_strProgramFolder + "usbubp.ini";
    m_dwUbpAddress = CAsmIDEApp::ReadBootAddress(m_strProgramFolder);
    m_dwWriteImageAddress = Hex(m_strWriteImageAddress);
    struct List {
        const char* section;
        char (*desc)[WRITER_ENTRY_TEXT];
        char (*file)[WRITER_ENTRY_TEXT];
        char (*prop)[10];
        DWORD* pCount;
    } lists[] = {
        {"USB_UBP", m_szUbpDescription, m_szUbpFile, nullptr, &m_nUbpCount},
        {"Writer", m_szWriterDescription, m_szWriterFile, m_szWriterProperty, &m_nWriterCount},
    };
    for (List& l : lists) {
        std::string lines(8192, '\0');
        DWORD n = GetPrivateProfileSectionA(l.section, &lines[0], (DWORD)lines.size(), strIni);
        lines.resize(n);
        DWORD count = 0;
        // Key=value lines, each ended by a zero; the lists hold at most WRITER_MAX_ENTRIES.
        for (size_t at = 0; at < lines.size() && count < WRITER_MAX_ENTRIES;) {
            size_t end = lines.find('\0', at);
            if (end == std::string::npos)
                end = lines.size();
            std::string line = lines.substr(at, end - at);
            at = end + 1;
            size_t eq = line.find('=');
            if (line.empty() || eq == std::string::npos)
                continue;
            std::string key = line.substr(0, eq);
            char szSection[WRITER_ENTRY_TEXT] = "";
            GetPrivateProfileStringA(l.section, key.c_str(), "NULL", szSection, sizeof szSection, strIni);
            GetPrivateProfileStringA(szSection, "Description", "NULL", l.desc[count], WRITER_ENTRY_TEXT, strIni);
            GetPrivateProfileStringA(szSection, "File_name", "NULL", l.file[count], WRITER_ENTRY_TEXT, strIni);
            if (l.prop)
                GetPrivateProfileStringA(szSection, "Property", "1", l.prop[count], 10, strIni);
            ++count;
        }
        *l.pCount = count;
    }
}

BOOL CWriterMode::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndProgress.SetRange(0, 100);
    m_wndProgress.SetShowText(TRUE);
    m_bVerify = atoi(m_strVerify);
    ReadUsbUbpIni();
    for (DWORD i = 0; i < m_nUbpCount; ++i)
        m_wndUbpList.AddString(m_szUbpDescription[i]);
    for (DWORD i = 0; i < m_nWriterCount; ++i)
        m_wndWriterList.AddString(m_szWriterDescription[i]);
    m_wndUbpList.SetCurSel((int)GetPrivateProfileIntA("DexBusWidth", "BusWidthNumber", 0, kDexWriterMode));
    m_wndWriterList.SetCurSel((int)GetPrivateProfileIntA("DexStorageMode", "StorageModeNumber", 0, kDexWriterMode));
    UpdateData(FALSE);
    return TRUE;
}

void CWriterMode::OnInputFile()
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                    "Binary Files (.bin;.fsf)|*.bin;*.fsf|All Files (*.*)|*.*||", nullptr);
    dlg.m_ofn.lpstrTitle = "Select an input file...";
    if (dlg.DoModal() != IDOK)
        return;
    UpdateData(TRUE);
    m_strInputFile = dlg.GetPathName();
    UpdateData(FALSE);
}

WriterArgs CWriterMode::BurnArgs(int nOperation) const
{
    WriterArgs a;
    a.nStorageType = m_nStorageType;
    if (m_nUbpIndex >= 0 && m_nUbpIndex < WRITER_MAX_ENTRIES)
        a.strText2 = m_szUbpFile[m_nUbpIndex];
    if (m_nWriterIndex >= 0 && m_nWriterIndex < WRITER_MAX_ENTRIES)
        a.strText3 = m_szWriterFile[m_nWriterIndex];
    a.strImage1 = (LPCSTR)m_strInputFile;
    a.nSectors1 = m_nStorageSectors;
    a.bImage2Null = true;
    a.nSectors2 = 0;
    a.nStartSector = m_dwStartAddress;
    a.hWnd = m_hWnd;
    a.nOperation = nOperation;
    a.dwAppStart = m_dwWriteImageAddress;
    a.dwUbpAddress = m_dwUbpAddress;
    a.nFlag = 0;
    return a;
}

PFN_WriterWrite CWriterMode::WriterEntry()
{
    PFN_WriterWrite pfn = m_hWriterDll ? reinterpret_cast<PFN_WriterWrite>(
                                            reinterpret_cast<void (*)()>(GetProcAddress(m_hWriterDll, WRITER_ENTRY_NAME))) : nullptr;
    if (!pfn)
        MessageBox(Text(IDS_WRITER_CANNOT_WRITE), "Error", MB_OK | MB_ICONSTOP);
    return pfn;
}

void CWriterMode::Burn()
{
    // What the boxes show now is what gets written, not what they showed at the last OK.
    UpdateData(TRUE);
    m_dwStartAddress = Hex(m_strStartAddress);
    m_nStorageSectors = (DWORD)strtoul(m_strStorageSize, nullptr, 10) * 2048;
    m_nUbpIndex = m_wndUbpList.GetCurSel();
    m_nWriterIndex = m_wndWriterList.GetCurSel();
    // Both lists need a chosen entry; an empty list or no selection writes nothing.
    if (m_nUbpIndex < 0 || m_nWriterIndex < 0 || (DWORD)m_nUbpIndex >= m_nUbpCount ||
        (DWORD)m_nWriterIndex >= m_nWriterCount) {
        MessageBox(Text(IDS_WRITER_CANNOT_WRITE), "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    m_nStorageType = atoi(m_szWriterProperty[m_nWriterIndex]);
    if (m_nStorageType == -1) {
        MessageBox(Text(IDS_WRITER_STORAGE_TYPE_FAIL), "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    HANDLE h = CreateFileA(m_strInputFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        MessageBox(Text(IDS_WRITER_NO_SUCH_FILE), "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    LARGE_INTEGER size = {};
    GetFileSizeEx(h, &size);
    CloseHandle(h);
    ULONGLONG nFileSectors = ((ULONGLONG)size.QuadPart + 511) / 512;
    if (nFileSectors > m_nStorageSectors) {
        MessageBox(Text(IDS_WRITER_FILE_TOO_LARGE), "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    PFN_WriterWrite pfn = WriterEntry();
    if (!pfn)
        return;
    m_bWriting = TRUE;
    CallWriter(pfn, BurnArgs(WRITER_OP_WRITE_FILE));
}

LRESULT CWriterMode::OnWriterProgress(WPARAM wParam, LPARAM lParam)
{
    const char* psz = wParam ? reinterpret_cast<const char*>(wParam) : "";
    int nValue = (int)lParam;
    if (nValue == WRITER_PROGRESS_FAILED || nValue == WRITER_PROGRESS_DONE) {
        BOOL bDone = nValue == WRITER_PROGRESS_DONE;
        MessageBox(psz, bDone ? "Message" : "Error", MB_OK | (bDone ? MB_ICONINFORMATION : MB_ICONSTOP));
        if (m_wndProgress.m_hWnd) {
            m_wndProgress.SetWindowText(psz);
            m_wndProgress.SetPos(100);
        }
        if (bDone && m_bVerify && m_bWriting) {
            m_bWriting = FALSE;
            if (PFN_WriterWrite pfn = WriterEntry())
                CallWriter(pfn, BurnArgs(WRITER_OP_VERIFY_FILE));
        }
        return 0;
    }
    if (m_wndProgress.m_hWnd) {
        m_wndProgress.SetWindowText(psz);
        m_wndProgress.SetPos(nValue);
    }
    return 0;
}

void CWriterMode::ReleaseWriter()
{
    if (m_hWriterDll)
        FreeLibrary(m_hWriterDll);
    m_hWriterDll = nullptr;
}

void CWriterMode::OnOK()
{
    m_strVerify.Format("%d", m_bVerify ? 1 : 0);
    ReleaseWriter();
    CString s;
    s.Format("%ld", (long)m_wndUbpList.GetCurSel());
    WritePrivateProfileStringA("DexBusWidth", "BusWidthNumber", s, kDexWriterMode);
    s.Format("%ld", (long)m_wndWriterList.GetCurSel());
    WritePrivateProfileStringA("DexStorageMode", "StorageModeNumber", s, kDexWriterMode);
    CDialog::OnOK();
}

void CWriterMode::OnCancel()
{
    ReleaseWriter();
    CDialog::OnCancel();
}

void CWriterMode::OnDestroy()
{
    ReleaseWriter();
    CDialog::OnDestroy();
}

// ---- Upload sizes

BOOL IsValidUploadSize(LPCSTR lpszKB)
{
    long v = strtol(lpszKB, nullptr, 10);
    return v > 0 && v < 4194304;
}

C_UploadSize::C_UploadSize(CWnd* pParent) : CDialog(IDD_UPLOAD_SIZE, pParent)
{
}

void C_UploadSize::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_UPLOAD_USER_SIZE, m_strUserSize);
    DDX_Text(pDX, IDC_UPLOAD_SYS_SIZE, m_strSysSize);
}

void C_UploadSize::OnOK()
{
    UpdateData(TRUE);
    if (!IsValidUploadSize(m_strSysSize)) {
        ::MessageBoxA(nullptr, Text(IDS_UPLOAD_SYS_SIZE_WRONG), "System Disk Size", MB_OK | MB_ICONEXCLAMATION);
        m_strSysSize = "32";
    }
    if (!IsValidUploadSize(m_strUserSize)) {
        ::MessageBoxA(nullptr, Text(IDS_UPLOAD_USER_SIZE_WRONG), "User Disk Size", MB_OK | MB_ICONEXCLAMATION);
        m_strUserSize = "32";
    }
    EndDialog(IDOK);
}
