#include "ide/debugger/IDEMemoryDumpDlg.h"
#include "afx/app.h"
#include "afx/controls.h"
#include "ide/debugger/IDEListTab.h"
#include "ide/debugger/IDEMemoryEdit.h"
#include "resources/ideres.h"
#include <shlobj.h>

namespace {

const int kBytesPerLine = 16;
const int kMaxAddressChars = 5;
const char kDumpFileName[] = "MemDump.dat";

// The format before "Dump as binary data" was ticked; kept between openings.
int s_nFormatBeforeRaw = DUMP_BYTE;

CString Hex(DWORD dw)
{
    CString str;
    str.Format("%lX", (unsigned long)dw);
    return str;
}

BOOL ParseHexText(const CString& str, DWORD& dw)
{
    if (str.IsEmpty())
        return FALSE;
    char* pEnd = nullptr;
    unsigned long v = strtoul(str, &pEnd, 16);
    if (!pEnd || *pEnd)
        return FALSE;
    dw = (DWORD)v;
    return TRUE;
}

} // namespace

BEGIN_MESSAGE_MAP(C_IDEMemoryDumpDlg, CDialog)
    ON_BN_CLICKED(IDC_DUMP_ALL_BANKS, OnAllBanks)
    ON_BN_CLICKED(IDC_DUMP_MIN, OnMin)
    ON_BN_CLICKED(IDC_DUMP_MAX, OnMax)
    ON_BN_CLICKED(IDC_DUMP_BROWSE, OnBrowse)
    ON_CBN_SELCHANGE(IDC_DUMP_BANK, OnBankChange)
    ON_EN_UPDATE(IDC_DUMP_START, OnStartUpdate)
    ON_EN_UPDATE(IDC_DUMP_END, OnEndUpdate)
    ON_BN_CLICKED(IDC_DUMP_APPEND, OnOutputChange)
    ON_BN_CLICKED(IDC_DUMP_OVERWRITE, OnOutputChange)
    ON_BN_CLICKED(IDC_DUMP_BYTE, OnFormatChange)
    ON_BN_CLICKED(IDC_DUMP_WORD, OnFormatChange)
    ON_BN_CLICKED(IDC_DUMP_BINARY, OnBinary)
END_MESSAGE_MAP()

C_IDEMemoryDumpDlg::C_IDEMemoryDumpDlg(C_IDEMemoryEdit* pMemoryEdit, I_IceDebugPage* pPage)
    : CDialog(IDD_MEMORY_DUMP, pMemoryEdit), m_pMemoryEdit(pMemoryEdit), m_pPage(pPage)
{
}

C_IDEMemoryDumpDlg::~C_IDEMemoryDumpDlg()
{
    CloseFile();
}

void C_IDEMemoryDumpDlg::CloseFile()
{
    if (m_pFile) {
        m_pFile->Abort();
        delete m_pFile;
        m_pFile = nullptr;
    }
}

// ---- the page's items

BOOL C_IDEMemoryDumpDlg::ItemOf(int nIndex, DumpItem& item)
{
    if (!m_pPage)
        return FALSE;
    void* pos = m_pPage->GetPositionOf(nIndex);
    I_IceDebugItem* pItem = pos ? m_pPage->GetAt(&pos) : nullptr;
    I_IceMemoryBlock* pBlock = pItem ? pItem->GetMemoryBlock() : nullptr;
    if (!pBlock || pBlock->GetLength() == 0)
        return FALSE;
    item.nBank = pBlock->GetSpace();
    item.dwStart = pBlock->GetAddress();
    item.dwLast = item.dwStart + pBlock->GetLength() - 1;
    item.pData = static_cast<const BYTE*>(pBlock->GetData());
    return TRUE;
}

BOOL C_IDEMemoryDumpDlg::FindItem(DWORD nBank, DWORD dwAddress, DumpItem& item)
{
    for (const auto& entry : m_ItemBanks)
        if (entry.second == nBank && ItemOf(entry.first, item) && dwAddress >= item.dwStart
            && dwAddress <= item.dwLast)
            return TRUE;
    return FALSE;
}

BOOL C_IDEMemoryDumpDlg::BankBounds(DWORD nBank, DWORD& dwStart, DWORD& dwLast)
{
    BOOL bFirst = TRUE;
    for (const auto& entry : m_ItemBanks) {
        DumpItem item;
        if (entry.second != nBank || !ItemOf(entry.first, item))
            continue;
        if (bFirst)
            dwStart = item.dwStart;
        dwLast = item.dwLast;
        bFirst = FALSE;
    }
    return !bFirst;
}

// ---- opening

BOOL C_IDEMemoryDumpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_pPage) {
        char sz[160] = "";
        m_pPage->GetName(sz);
        sz[39] = 0;
        m_strRegion = sz;
        ForEachShownMemoryItem(m_pPage, [this](int nIndex, I_IceDebugItem*, I_IceMemoryBlock* pBlock) {
            if (pBlock->GetLength() != 0) {
                m_ItemBanks[nIndex] = pBlock->GetSpace();
                m_nBankCount = std::max(m_nBankCount, (int)pBlock->GetSpace() + 1);
            }
            return TRUE;
        });
    }
    auto* pBanks = static_cast<CComboBox*>(GetDlgItem(IDC_DUMP_BANK));
    std::map<DWORD, bool> banks;
    for (const auto& entry : m_ItemBanks)
        banks[entry.second] = true;
    for (const auto& b : banks) {
        CString str;
        str.Format("%.2X", (unsigned)b.first);
        pBanks->AddString(str);
    }
    pBanks->SetCurSel(0);
    SetDlgItemText(IDC_DUMP_REGION, m_strRegion);
    SendDlgItemMessage(IDC_DUMP_START, EM_LIMITTEXT, kMaxAddressChars, 0);
    SendDlgItemMessage(IDC_DUMP_END, EM_LIMITTEXT, kMaxAddressChars, 0);

    CWinApp* pApp = AfxGetApp();
    m_strFileName = pApp->GetProfileString(kSection, "FilePathName", "");
    SetDlgItemText(IDC_DUMP_FILE, m_strFileName);
    DWORD dwStart = 0, dwLast = 0;
    BOOL bBank = BankBounds((DWORD)SelectedBank(), dwStart, dwLast);
    // The bank's first item bounds the saved addresses.
    DumpItem first;
    for (const auto& entry : m_ItemBanks)
        if (entry.second == (DWORD)SelectedBank() && ItemOf(entry.first, first))
            break;
    CString strStart = pApp->GetProfileString(kSection, "Start Address", "");
    CString strEnd = pApp->GetProfileString(kSection, "End Address", "");
    DWORD dw = 0;
    if (strStart.IsEmpty())
        OnMin();
    else if (bBank)
        SetBox(IDC_DUMP_START, ParseHexText(strStart, dw) && dw >= first.dwStart && dw <= first.dwLast ? dw
                                                                                                       : first.dwStart);
    if (strEnd.IsEmpty())
        OnMax();
    else if (bBank)
        SetBox(IDC_DUMP_END, ParseHexText(strEnd, dw) && dw >= first.dwStart && dw <= first.dwLast ? dw : first.dwLast);
    CheckDlgButton(IDC_DUMP_ALL_BANKS, pApp->GetProfileInt(kSection, "Dump All Banks", 0) ? BST_CHECKED : BST_UNCHECKED);
    ApplyAllBanks();
    m_nFormat = (int)pApp->GetProfileInt(kSection, "Dump As Binary", 0);
    if (m_nFormat == 0)
        m_nFormat = DUMP_BYTE;
    if (m_nFormat == DUMP_RAW) {
        CheckDlgButton(IDC_DUMP_BINARY, BST_CHECKED);
        CheckDlgButton(s_nFormatBeforeRaw == DUMP_WORD ? IDC_DUMP_WORD : IDC_DUMP_BYTE, BST_CHECKED);
        GetDlgItem(IDC_DUMP_BYTE)->EnableWindow(FALSE);
        GetDlgItem(IDC_DUMP_WORD)->EnableWindow(FALSE);
    } else
        CheckDlgButton(m_nFormat == DUMP_WORD ? IDC_DUMP_WORD : IDC_DUMP_BYTE, BST_CHECKED);
    if (m_nFormat != DUMP_RAW && m_nFormat != DUMP_WORD)
        m_nFormat = DUMP_BYTE;
    m_nFileOutput = (int)pApp->GetProfileInt(kSection, "File Output", 0);
    if (m_nFileOutput == 0)
        m_nFileOutput = DUMP_OVERWRITE;
    CheckDlgButton(m_nFileOutput == DUMP_APPEND ? IDC_DUMP_APPEND : IDC_DUMP_OVERWRITE, BST_CHECKED);
    if (m_nFileOutput != DUMP_APPEND)
        m_nFileOutput = DUMP_OVERWRITE;
    return TRUE;
}

int C_IDEMemoryDumpDlg::SelectedBank()
{
    CString str;
    auto* pBanks = static_cast<CComboBox*>(GetDlgItem(IDC_DUMP_BANK));
    int n = pBanks ? pBanks->GetCurSel() : CB_ERR;
    if (n == CB_ERR)
        return 0;
    pBanks->GetLBText(n, str);
    DWORD dw = 0;
    return ParseHexText(str, dw) ? (int)dw : 0;
}

DWORD C_IDEMemoryDumpDlg::BoxValue(int nID)
{
    CString str;
    GetDlgItemText(nID, str);
    DWORD dw = 0;
    ParseHexText(str, dw);
    return dw;
}

void C_IDEMemoryDumpDlg::SetBox(int nID, DWORD dwValue)
{
    SetDlgItemText(nID, Hex(dwValue));
}

void C_IDEMemoryDumpDlg::OnMin()
{
    DWORD dwStart = 0, dwLast = 0;
    DumpItem item;
    for (const auto& entry : m_ItemBanks)
        if (entry.second == (DWORD)SelectedBank() && ItemOf(entry.first, item)) {
            SetBox(IDC_DUMP_START, item.dwStart);
            return;
        }
    (void)dwStart;
    (void)dwLast;
}

void C_IDEMemoryDumpDlg::OnMax()
{
    for (auto it = m_ItemBanks.rbegin(); it != m_ItemBanks.rend(); ++it) {
        DumpItem item;
        if (it->second == (DWORD)SelectedBank() && ItemOf(it->first, item)) {
            SetBox(IDC_DUMP_END, item.dwLast);
            return;
        }
    }
}

void C_IDEMemoryDumpDlg::OnBankChange()
{
    OnMin();
    OnMax();
}

void C_IDEMemoryDumpDlg::FilterBox(int nID)
{
    CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(nID));
    if (!pEdit)
        return;
    CString str;
    pEdit->GetWindowText(str);
    CString strKept;
    int nStart = 0, nEnd = 0;
    pEdit->GetSel(nStart, nEnd);
    int nCaret = nEnd;
    for (int i = 0; i < str.GetLength(); i++) {
        char c = str[i];
        if (isxdigit((unsigned char)c) && strKept.GetLength() < kMaxAddressChars)
            strKept += c;
        else if (i < nEnd)
            nCaret--;
    }
    if (strKept != str) {
        pEdit->SetWindowText(strKept);
        pEdit->SetSel(std::max(0, nCaret), std::max(0, nCaret));
    }
}

void C_IDEMemoryDumpDlg::OnStartUpdate() { FilterBox(IDC_DUMP_START); }
void C_IDEMemoryDumpDlg::OnEndUpdate() { FilterBox(IDC_DUMP_END); }

void C_IDEMemoryDumpDlg::ApplyAllBanks()
{
    BOOL bEnable = !IsDlgButtonChecked(IDC_DUMP_ALL_BANKS);
    for (int nID : { IDC_DUMP_BANK, IDC_DUMP_START, IDC_DUMP_END, IDC_DUMP_MIN, IDC_DUMP_MAX })
        if (CWnd* p = GetDlgItem(nID))
            p->EnableWindow(bEnable);
}

void C_IDEMemoryDumpDlg::OnAllBanks() { ApplyAllBanks(); }

void C_IDEMemoryDumpDlg::ApplyBinary()
{
    BOOL bRaw = IsDlgButtonChecked(IDC_DUMP_BINARY) == BST_CHECKED;
    if (bRaw) {
        s_nFormatBeforeRaw = m_nFormat;
        m_nFormat = DUMP_RAW;
    } else {
        m_nFormat = s_nFormatBeforeRaw;
        if (m_nFormat == DUMP_RAW)
            m_nFormat = IsDlgButtonChecked(IDC_DUMP_BYTE) ? DUMP_BYTE : DUMP_WORD;
    }
    GetDlgItem(IDC_DUMP_BYTE)->EnableWindow(!bRaw);
    GetDlgItem(IDC_DUMP_WORD)->EnableWindow(!bRaw);
    if (!IsDlgButtonChecked(IDC_DUMP_BYTE) && !IsDlgButtonChecked(IDC_DUMP_WORD))
        CheckDlgButton(IDC_DUMP_BYTE, BST_CHECKED);
}

void C_IDEMemoryDumpDlg::OnBinary() { ApplyBinary(); }

void C_IDEMemoryDumpDlg::OnOutputChange()
{
    m_nFileOutput = IsDlgButtonChecked(IDC_DUMP_APPEND) ? DUMP_APPEND : DUMP_OVERWRITE;
}

void C_IDEMemoryDumpDlg::OnFormatChange()
{
    if (m_nFormat != DUMP_RAW)
        m_nFormat = IsDlgButtonChecked(IDC_DUMP_WORD) ? DUMP_WORD : DUMP_BYTE;
}

void C_IDEMemoryDumpDlg::OnBrowse()
{
    m_strFolder.TrimRight('\\');
    BROWSEINFOA bi;
    memset(&bi, 0, sizeof(bi));
    bi.hwndOwner = m_hWnd;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    char szDisplay[MAX_PATH] = "";
    bi.pszDisplayName = szDisplay;
    if (LPITEMIDLIST pidl = SHBrowseForFolderA(&bi)) {
        char szPath[MAX_PATH] = "";
        if (SHGetPathFromIDListA(pidl, szPath)) {
            m_strFolder = szPath;
            if (m_strFolder.IsEmpty() || m_strFolder[m_strFolder.GetLength() - 1] != '\\')
                m_strFolder += '\\';
        }
        CoTaskMemFree(pidl);
    }
    if (m_strFolder.Find(kDumpFileName) < 0)
        m_strFolder += kDumpFileName;
    SetDlgItemText(IDC_DUMP_FILE, m_strFolder);
    GetDlgItem(IDC_DUMP_FILE)->SetFocus();
}

// ---- the dump

CString C_IDEMemoryDumpDlg::FormatLine(DWORD nBank, DWORD dwAddress, const BYTE* pData, int nAddresses, int nPerLine,
                                       int nBytesPerAddress, BOOL bWord)
{
    CString strHex, strChars, str;
    int nBytes = nAddresses * nBytesPerAddress;
    int nFull = nPerLine * nBytesPerAddress;
    if (bWord) {
        for (int i = 0; i + 1 < nBytes; i += 2) {
            str.Format("%.4X", (unsigned)(pData[i] * 256 + pData[i + 1]));
            if (!strHex.IsEmpty())
                strHex += ' ';
            strHex += str;
        }
        for (int i = nBytes / 2; i < nFull / 2; i++)
            strHex += "     ";
    } else {
        for (int i = 0; i < nBytes; i++) {
            str.Format("%.2X", (unsigned)pData[i]);
            if (!strHex.IsEmpty())
                strHex += ' ';
            strHex += str;
        }
        for (int i = nBytes; i < nFull; i++)
            strHex += "   ";
    }
    for (int i = 0; i < nBytes; i++)
        strChars += (pData[i] >= 0x20 && pData[i] <= 0x7F) ? (char)pData[i] : '.';
    for (int i = nBytes; i < nFull; i++)
        strChars += ' ';
    CString strLine;
    strLine.Format("%.2X:%.6X\t%s\t\t%s\n", (unsigned)nBank, (unsigned)dwAddress, (LPCSTR)strHex, (LPCSTR)strChars);
    return strLine;
}

BOOL C_IDEMemoryDumpDlg::DumpRange(DWORD nBank, BOOL bRaw, DWORD dwStart, DWORD dwEnd)
{
    DumpItem first;
    int nBytesPerAddress = 1;
    DWORD dwReadSize = 1;
    {
        void* pos = m_pPage ? m_pPage->GetPositionOf(0) : nullptr;
        I_IceDebugItem* pItem = pos ? m_pPage->GetAt(&pos) : nullptr;
        if (pItem) {
            int nKind = pItem->GetKind();
            nBytesPerAddress = nKind == ICE_KIND_WORDS ? 2 : nKind == ICE_KIND_DWORD ? 4 : 1;
            if (I_IceMemoryBlock* pBlock = pItem->GetMemoryBlock())
                dwReadSize = std::max<DWORD>(1, pBlock->GetLength());
        }
    }
    int nPerLine = kBytesPerLine / nBytesPerAddress;
    DWORD dwCount = dwEnd - dwStart + 1;
    BOOL bWord = m_nFormat == DUMP_WORD;
    if (!bRaw && bWord && (dwCount & 1)) {
        AfxMessageBox("Dumping Range must be even when selecting word format!");
        return FALSE;
    }
    // Fresh memory first: every read-size step up to the one holding the end.
    if (m_pMemoryEdit)
        for (DWORD a = dwStart; a <= dwEnd; a += dwReadSize) {
            m_pMemoryEdit->ReadMemory(nBank, a);
            if (a + dwReadSize < a)
                break;
        }
    if (!m_pFile)
        return FALSE;
    try {
        if (bRaw) {
            for (DWORD a = dwStart; a <= dwEnd && a >= dwStart; a++) {
                DumpItem item;
                if (FindItem(nBank, a, item))
                    m_pFile->Write(item.pData + (a - item.dwStart) * nBytesPerAddress, (UINT)nBytesPerAddress);
                if (a == dwEnd)
                    break;
            }
        } else {
            DWORD a = dwStart;
            DWORD dwLeft = dwCount;
            while (dwLeft > 0) {
                int n = (int)std::min<DWORD>(dwLeft, (DWORD)nPerLine);
                DumpItem item;
                if (FindItem(nBank, a, item)) {
                    // A line never reads past its item: what lies beyond is padded.
                    int nInItem = (int)std::min<DWORD>((DWORD)n, item.dwLast - a + 1);
                    CString strLine = FormatLine(nBank, a, item.pData + (a - item.dwStart) * nBytesPerAddress,
                                                 nInItem, nPerLine, nBytesPerAddress, bWord);
                    m_pFile->Write((LPCSTR)strLine, (UINT)strLine.GetLength());
                }
                dwLeft -= (DWORD)n;
                a += (DWORD)n;
            }
        }
    } catch (CFileException* e) {
        return FileError(e);
    }
    return TRUE;
}

BOOL C_IDEMemoryDumpDlg::FileError(CFileException* e)
{
    e->ReportError();
    e->Delete();
    CloseFile();
    return FALSE;
}

BOOL C_IDEMemoryDumpDlg::Dump()
{
    int nBank = SelectedBank();
    BOOL bAll = IsDlgButtonChecked(IDC_DUMP_ALL_BANKS) == BST_CHECKED;
    BOOL bRaw = m_nFormat == DUMP_RAW;
    DWORD dwStart = BoxValue(IDC_DUMP_START), dwEnd = BoxValue(IDC_DUMP_END);
    GetDlgItemText(IDC_DUMP_FILE, m_strFileName);
    m_strFileName.Trim();
    m_strFileName.TrimLeft("\t =-%");
    m_strFileName.TrimRight("\t =-%");
    if (m_strFileName.IsEmpty()) {
        AfxMessageBox("FileName can not be empty!", MB_ICONSTOP);
        return FALSE;
    }
    // Every check comes before the file is opened: a refused dump leaves the file as it was.
    if (!bAll) {
        DumpItem item;
        if (!FindItem((DWORD)nBank, dwStart, item)) {
            AfxMessageBox("StartAddress out of range!", MB_ICONSTOP);
            return FALSE;
        }
        if (!FindItem((DWORD)nBank, dwEnd, item)) {
            AfxMessageBox("End Address out of range!", MB_ICONSTOP);
            return FALSE;
        }
        if (dwStart > dwEnd) {
            AfxMessageBox("Start Address is greater than End Address!", MB_ICONSTOP);
            return FALSE;
        }
        if (!bRaw && m_nFormat == DUMP_WORD && ((dwEnd - dwStart + 1) & 1)) {
            AfxMessageBox("Dumping Range must be even when selecting word format!");
            return FALSE;
        }
    } else if (!bRaw && m_nFormat == DUMP_WORD) {
        for (int b = 0; b < m_nBankCount; b++) {
            DWORD s = 0, l = 0;
            if (BankBounds((DWORD)b, s, l) && ((l - s + 1) & 1)) {
                AfxMessageBox("Dumping Range must be even when selecting word format!");
                return FALSE;
            }
        }
    }
    CloseFile();
    UINT nFlags = CFile::modeCreate | CFile::modeReadWrite;
    if (m_nFileOutput == DUMP_APPEND)
        nFlags |= CFile::modeNoTruncate;
    if (bRaw) {
        m_pFile = new CFile;
        nFlags |= CFile::typeBinary;
    } else
        m_pFile = new CStdioFile;
    if (!m_pFile->Open(m_strFileName, nFlags, &m_FileError)) {
        delete m_pFile;
        m_pFile = nullptr;
        AfxMessageBox("Illegal filename or Open file failed!", MB_ICONSTOP);
        return FALSE;
    }
    try {
        if (m_nFileOutput == DUMP_APPEND)
            m_pFile->SeekToEnd();
        if (!bAll) {
            if (bRaw)
                return DumpRange((DWORD)nBank, TRUE, dwStart, dwEnd);
            CString strHead;
            strHead.Format("Region:%s, Bank:%d, Time:%s", (LPCSTR)m_strRegion, nBank,
                           (LPCSTR)CTime::GetCurrentTime().Format("%A, %B %d, %Y, %H:%M:%S"));
            strHead += CString('=', 32) + "\n";
            m_pFile->Write((LPCSTR)strHead, (UINT)strHead.GetLength());
            if (!DumpRange((DWORD)nBank, FALSE, dwStart, dwEnd))
                return FALSE;
            CString strTail = "Dump End" + CString('=', 72) + "\n";
            m_pFile->Write((LPCSTR)strTail, (UINT)strTail.GetLength());
            return TRUE;
        }
        for (int b = 0; b < m_nBankCount; b++) {
            DWORD s = 0, l = 0;
            if (BankBounds((DWORD)b, s, l) && !DumpRange((DWORD)b, bRaw, s, l))
                return FALSE;
        }
    } catch (CFileException* e) {
        return FileError(e);
    }
    return TRUE;
}

void C_IDEMemoryDumpDlg::WriteProfile()
{
    CWinApp* pApp = AfxGetApp();
    CString str;
    pApp->WriteProfileString(kSection, "FilePathName", m_strFileName);
    GetDlgItemText(IDC_DUMP_START, str);
    pApp->WriteProfileString(kSection, "Start Address", str);
    GetDlgItemText(IDC_DUMP_END, str);
    pApp->WriteProfileString(kSection, "End Address", str);
    pApp->WriteProfileInt(kSection, "Dump All Banks", IsDlgButtonChecked(IDC_DUMP_ALL_BANKS));
    pApp->WriteProfileInt(kSection, "Dump As Binary", m_nFormat);
    pApp->WriteProfileInt(kSection, "File Output", m_nFileOutput);
}

void C_IDEMemoryDumpDlg::OnOK()
{
    if (!Dump())
        return;
    if (m_pFile) {
        m_pFile->Close();
        delete m_pFile;
        m_pFile = nullptr;
    }
    WriteProfile();
    EndDialog(IDOK);
}
