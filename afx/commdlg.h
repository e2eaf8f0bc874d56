// Common dialogs: the file dialog and the modeless find/replace dialog.
// (The print dialog lives with printing.)
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>
#include "afx/collections.h"
#include "afx/dialog.h"

class CFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: "Text (*.txt)|*.txt|All files (*.*)|*.*||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = NULL, CWnd* pParentWnd = NULL);

    // The record handed to the system; callers may replace the file buffer
    // (lpstrFile, nMaxFile) for large multiple selections.
    OPENFILENAMEA m_ofn;

    // IDOK or IDCANCEL; the owner stays disabled while it runs.
    INT_PTR DoModal() override;

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
    // Multiple selection: the full path of each chosen file in turn.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // Explorer style: the child dialog is attached to this object, so
    // GetParent() is the system's dialog around it.
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    // FALSE accepts the chosen name (CDN_FILEOK); TRUE keeps the dialog open.
    virtual BOOL OnFileNameOK();

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // OK and Cancel belong to the system's dialog procedure.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    BOOL m_bOpenFileDialog;

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};
    std::string m_strFilter;
    CString m_strDefExt;
};

class CFindReplaceDialog : public CDialog
{
    DECLARE_DYNAMIC(CFindReplaceDialog)
public:
    CFindReplaceDialog();

    // Shows the modeless dialog; notifications arrive at the parent (else
    // the main window) as the registered "commdlg_FindReplace" message.
    virtual BOOL Create(BOOL bFindDialogOnly, LPCSTR lpszFindWhat, LPCSTR lpszReplaceWith = NULL,
                        DWORD dwFlags = FR_DOWN, CWnd* pParentWnd = NULL);

    FINDREPLACEA m_fr;

    // The dialog object behind a notification's lParam.
    static CFindReplaceDialog* GetNotifier(LPARAM lParam);

    CString GetFindString() const { return CString(m_fr.lpstrFindWhat); }
    CString GetReplaceString() const { return CString(m_fr.lpstrReplaceWith); }
    BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    BOOL ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
    BOOL ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
    BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

    // The system's dialog procedure handles its own buttons.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // The object was made with new: it deletes itself with its window.
    void PostNcDestroy() override;

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    char m_szFindWhat[128] = {};
    char m_szReplaceWith[128] = {};
};

// The message id of "commdlg_FindReplace".
UINT AfxGetFindReplaceMessage();
