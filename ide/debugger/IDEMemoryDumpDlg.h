// "Dump Memory": writes a range of a memory page, one bank or all banks, to a
// file as text lines (hexadecimal bytes or words with their characters) or as
// raw bytes. The choices persist in the profile.
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"
#include "afx/file.h"
#include "components/include/IceInterface.h"
#include <map>

class C_IDEMemoryEdit;

// Output choices, as stored in the profile.
enum { DUMP_APPEND = 1104, DUMP_OVERWRITE = 1105, DUMP_BYTE = 1107, DUMP_WORD = 1108, DUMP_RAW = 1109 };

class C_IDEMemoryDumpDlg : public CDialog
{
public:
    C_IDEMemoryDumpDlg(C_IDEMemoryEdit* pMemoryEdit, I_IceDebugPage* pPage);
    ~C_IDEMemoryDumpDlg() override;

    static constexpr const char* kSection = "Editor\\MemoryDump";

    // One item of the page as the dump sees it.
    struct DumpItem {
        DWORD nBank = 0;
        DWORD dwStart = 0;
        DWORD dwLast = 0;
        const BYTE* pData = nullptr;
    };
    // The text line of n addresses (nPerLine in a full line) from pData; bytes per address 1, 2 or 4.
    static CString FormatLine(DWORD nBank, DWORD dwAddress, const BYTE* pData, int nAddresses, int nPerLine,
                              int nBytesPerAddress, BOOL bWord);
    // Writes the range of one bank: text or raw. FALSE after a message.
    BOOL DumpRange(DWORD nBank, BOOL bRaw, DWORD dwStart, DWORD dwEnd);
    // The whole dump as OK runs it; TRUE when the file was written.
    BOOL Dump();

    C_IDEMemoryEdit* m_pMemoryEdit;
    I_IceDebugPage* m_pPage;
    CString m_strRegion;
    CString m_strFileName;
    CString m_strFolder;
    std::map<int, DWORD> m_ItemBanks;
    int m_nBankCount = 0;
    int m_nFileOutput = DUMP_OVERWRITE;
    int m_nFormat = DUMP_BYTE;
    CFile* m_pFile = nullptr;
    CFileException m_FileError;

    // "&Dump": the dump, then the file closed, the profile written and the dialog ended.
    void OnOK() override;

protected:
    BOOL OnInitDialog() override;

    BOOL ItemOf(int nIndex, DumpItem& item);
    // The item of the bank holding the address; FALSE when none.
    BOOL FindItem(DWORD nBank, DWORD dwAddress, DumpItem& item);
    BOOL BankBounds(DWORD nBank, DWORD& dwStart, DWORD& dwLast);
    int SelectedBank();
    DWORD BoxValue(int nID);
    void SetBox(int nID, DWORD dwValue);
    void ApplyAllBanks();
    void ApplyBinary();
    void WriteProfile();
    void CloseFile();
    // A write error: the framework's message, the file closed; FALSE.
    BOOL FileError(CFileException* e);

    afx_msg void OnAllBanks();
    afx_msg void OnMin();
    afx_msg void OnMax();
    afx_msg void OnBrowse();
    afx_msg void OnBankChange();
    afx_msg void OnStartUpdate();
    afx_msg void OnEndUpdate();
    afx_msg void OnOutputChange();
    afx_msg void OnFormatChange();
    afx_msg void OnBinary();
    void FilterBox(int nID);
    DECLARE_MESSAGE_MAP()
};
