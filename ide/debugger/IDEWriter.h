// Writing images to the target's storage through the writer component: the thirteen
// arguments of its entry "Write" for each call site, the project image names and sizes, the
// Write File dialog and the upload-size dialog.
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"
#include "afx/controls.h"
#include "components/include/WriterInterface.h"
#include "support/ui/TextProgressCtrl.h"
#include <string>

// One call of "Write": the arguments in order. A null second image is kept apart from an
// empty one (the Write File dialog passes null).
struct WriterArgs {
    int nStorageType = 0;                 // 1
    std::string strText2, strText3;       // 2, 3
    std::string strImage1;                // 4
    DWORD nSectors1 = 0;                  // 5
    std::string strImage2;                // 6
    bool bImage2Null = false;
    DWORD nSectors2 = 0;                  // 7
    DWORD nStartSector = 0;               // 8
    HWND hWnd = nullptr;                  // 9
    int nOperation = 0;                   // 10
    DWORD dwAppStart = 0;                 // 11
    DWORD dwUbpAddress = 0;               // 12
    int nFlag = 0;                        // 13
};

int CallWriter(PFN_WriterWrite pfn, const WriterArgs& args);

// The names formed from the project's output file: its last four characters replaced.
struct WriterImageNames {
    CString strUser, strSys, strUserBackup, strSysBackup, strUserUpload, strSysUpload;
};
WriterImageNames FormWriterImageNames(LPCSTR lpszOutputFile);

// The project file's writer keys (section "VeltaneTool"), read afresh for each operation.
struct WriterProjectKeys {
    int nMediaType = 1;
    int nAppStart = 1;
    int nImageSize = 1;    // MB
    int nHasSysDisk = 0;
    int nSysSize = 0;      // MB; 0 without a system disk
    CString strUsbUbpFile, strWriterModeFile;   // read only when asked
};
WriterProjectKeys ReadWriterProjectKeys(LPCSTR lpszProjectFile, BOOL bFiles);
// The user and system sizes in 512-byte sectors: the system disk is carved off the image.
void WriterImageSectors(const WriterProjectKeys& keys, DWORD& nUser, DWORD& nSys);

// The values a project operation passes besides the keys.
struct WriterProjectCall {
    WriterImageNames names;
    DWORD nUserSectors = 0, nSysSectors = 0;
    HWND hWnd = nullptr;
    DWORD dwUbpAddress = 0;
};
// The arguments of operation 1 (Write), 2 (upload after Write), 3 (Verify) or 0x12 (sized upload).
WriterArgs ProjectWriterArgs(int nOperation, const WriterProjectKeys& keys, const WriterProjectCall& call);

// "usbubp.ini" of the program folder: one USB user boot program or writer entry.
enum { WRITER_MAX_ENTRIES = 100, WRITER_ENTRY_TEXT = 150 };

class CWriterMode : public CDialog
{
public:
    explicit CWriterMode(CWnd* pParent = nullptr);
    ~CWriterMode() override;

    CString m_strStorageSize = "80";
    CString m_strInputFile = " ";
    CString m_strVerify = "0";
    CString m_strStartAddress = "0";
    CString m_strWriteImageAddress = "30000";
    BOOL m_bVerify = FALSE;
    DWORD m_dwUbpAddress = 0;
    DWORD m_dwWriteImageAddress = 0;
    DWORD m_nStorageSectors = 0;
    int m_nStorageType = 0;
    int m_nUbpIndex = -1, m_nWriterIndex = -1;
    DWORD m_dwStartAddress = 0;
    DWORD m_nUbpCount = 0, m_nWriterCount = 0;
    char m_szUbpDescription[WRITER_MAX_ENTRIES][WRITER_ENTRY_TEXT] = {};
    char m_szUbpFile[WRITER_MAX_ENTRIES][WRITER_ENTRY_TEXT] = {};
    char m_szWriterDescription[WRITER_MAX_ENTRIES][WRITER_ENTRY_TEXT] = {};
    char m_szWriterFile[WRITER_MAX_ENTRIES][WRITER_ENTRY_TEXT] = {};
    char m_szWriterProperty[WRITER_MAX_ENTRIES][10] = {};
    BOOL m_bWriting = FALSE;
    HMODULE m_hWriterDll = nullptr;   // handed over by the frame; released on OK, Cancel or destruction

    // The program folder the dialog reads "usbubp.ini" from (with its trailing backslash).
    CString m_strProgramFolder;

    // The arguments Burn passes (operation 0x81, or 0x83 for the verify pass).
    WriterArgs BurnArgs(int nOperation) const;
    // Reads the entries of "usbubp.ini" (at most WRITER_MAX_ENTRIES a list).
    void ReadUsbUbpIni();

    CTextProgressCtrl m_wndProgress;
    CComboBox m_wndUbpList, m_wndWriterList;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void ReleaseWriter();
    void Burn();
    // The writer's entry, or null with the box "Can not write to storage".
    PFN_WriterWrite WriterEntry();

    afx_msg void OnInputFile();
    afx_msg void OnVerify() { m_bVerify = !m_bVerify; }
    afx_msg void OnBurn() { Burn(); }
    afx_msg void OnNothing() {}
    afx_msg void OnDestroy();
    afx_msg LRESULT OnWriterProgress(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class C_UploadSize : public CDialog
{
public:
    explicit C_UploadSize(CWnd* pParent = nullptr);
    CString m_strUserSize = "32";   // KB, decimal
    CString m_strSysSize = "32";

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

// Sizes outside 1..4194303 KB are refused by the upload-size dialog.
BOOL IsValidUploadSize(LPCSTR lpszKB);
