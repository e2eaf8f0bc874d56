// Find in Files: the dialog that asks for text, file types and folder, and the
// worker thread that searches the folder and sends each matching line to the
// output window's "Find in Files" page.
#pragma once
#include "afx/afx.h"
#include "resources/ideres.h"

class CMainFrame;

// What the frame hands the search thread; the thread deletes it.
struct tagFindThreadParam {
    CMainFrame* pFrame;
    HWND hFrame;              // the frame's window: the message box's owner, the completion's receiver
    HWND hPage;               // the "Find in Files" page: receives the records
    CString strFolder;        // ends in a backslash
    CString strTypes;         // patterns separated by ';'
    CString strText;          // upper-cased when the case is not to be matched
    BOOL bMatchCase;
    BOOL bSubfolders;
    volatile BOOL* pStop;     // non-zero asks the search to end
};

// Searches the files of lpszFolder matching lpszTypes (and, with bSubfolders,
// those of every folder below it) for lpszText and sends a kind-2 record per
// matching line to hPage. Files are opened by their full paths: the process's
// current folder is never changed. TRUE when at least one line matched.
BOOL SearchFolder(volatile BOOL* pStop, LPCSTR lpszFolder, LPCSTR lpszTypes, LPCSTR lpszText, BOOL bMatchCase,
                  BOOL bSubfolders, HWND hPage, UINT* pnCount);

// The thread procedure: the start message, the search, the count and the
// completion request to the frame (WM_USER+100, wParam 3). Deletes the block.
UINT FindInFilesThread(LPVOID pParam);

// The frame's completion request of a search.
#define FIND_REQUEST_DONE 3

class C_IDEFindInFilesDlg : public CDialog
{
public:
    enum { IDD = IDD_FIND_IN_FILES };
    explicit C_IDEFindInFilesDlg(CWnd* pParent = nullptr);

    // The frame's lists of earlier texts and folders, newest first.
    void SetHistoryLists(CStringList* pFindHistory, CStringList* pFolderHistory)
    {
        m_pFindHistory = pFindHistory;
        m_pFolderHistory = pFolderHistory;
    }

    CComboBox m_cbFind;
    CComboBox m_cbTypes;
    CComboBox m_cbFolder;
    CButton m_btnBrowse;
    CString m_strTypes;
    CString m_strFindText;
    CString m_strFolder;
    BOOL m_bMatchCase = FALSE;
    BOOL m_bSubfolders = TRUE;
    CString m_strInitialText;
    CStringList* m_pFindHistory = nullptr;
    CStringList* m_pFolderHistory = nullptr;

    // Puts strValue at the top of the list (an equal entry moves up; a full
    // list of 20 loses its oldest) and writes it as prefix1, prefix2, ...
    static void AddToHistory(CStringList& list, const CString& strValue, LPCSTR lpszPrefix);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnEditChangeFind();
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()
};
