// Browse edits: a dialog's edit with a "..." button that picks a file or a
// folder; and the folder picker they use.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include "afx/afx.h"

class TWKBrowseEditBase;

// The "..." button beside a browse edit; deletes itself with its window.
class TWKBrowseButton : public CButton
{
public:
    TWKBrowseButton(TWKBrowseEditBase* pEdit, UINT nID) : m_pEdit(pEdit), m_nID(nID) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    void PostNcDestroy() override;

private:
    TWKBrowseEditBase* m_pEdit;
    UINT m_nID;
};

class TWKBrowseEditBase : public CEdit
{
public:
    TWKBrowseEditBase() = default;
    ~TWKBrowseEditBase() override;

    // Subclasses the dialog's edit nID and puts the button beside it. FALSE
    // only when the edit cannot be subclassed.
    BOOL Initialize(UINT nID, CWnd* pParent);
    // Runs the dialog and takes the choice into the edit.
    virtual void OnBrowse() = 0;

    TWKBrowseButton* GetBrowseButton() const { return m_pButton; }
    // Folder test used by the browse forms. It changes the text: a trailing
    // backslash goes, and a bare drive ("c:") becomes "c:\*.*".
    static BOOL IsFolder(CString& path);
    // The folder a text that passed IsFolder names ("c:\*.*" is "c:\").
    static CString FolderOf(const CString& tested);

    CString m_strTitle;

protected:
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void CreateButton();
    TWKBrowseButton* m_pButton = nullptr;
};

// Picks a folder: the shell's folder browser, or an old-style file dialog
// showing only the folder and drive lists (bit 0 of the style).
class TWKDirSelectDlg : public CFileDialog
{
public:
    enum { styleOldDialog = 0x0001 };
    static const DWORD s_dwDefaultFlags;   // OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE
    static const char s_szFilter[];        // "(nofiles)|NOFILES.$$$||"

    TWKDirSelectDlg(LPCSTR lpszTitle, CWnd* pParent = NULL, LPCSTR lpszInitialDir = NULL);
    TWKDirSelectDlg(WORD wDirStyle, LPCSTR lpszTitle, LPCSTR lpszInitialDir, CWnd* pParent);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    // The shell's folder browser, starting at the initial folder (else the
    // current one); the chosen folder ends in a backslash.
    virtual BOOL BrowseForFolder(CString& strPath);

    // The chosen folder with its trailing backslash, after IDOK.
    void GetPath(CString& strPath) const;
    // Bits 0 and 1 replaced; the previous style.
    WORD SetDirStyle(const WORD& wStyle);
    WORD GetDirStyle() const { return m_wDirStyle; }
    void SetTitle(LPCSTR lpszTitle);
    void SetInitialDir(LPCSTR lpszDir);

    // A style with bits 0 and 1 taken from wStyle (only the old-style
    // dialog on systems before version 4).
    static WORD MergeDirStyle(WORD wCurrent, WORD wStyle);

    // The file-system path of a shell item, with a trailing backslash.
    static BOOL FolderPathFromItem(LPCITEMIDLIST pidl, CString& strPath);

private:
    void Construct(WORD wDirStyle, LPCSTR lpszTitle, LPCSTR lpszInitialDir, CWnd* pParent);
    static int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

    char m_szResult[260];
    WORD m_wDirStyle = styleOldDialog;
    CWnd* m_pParent = nullptr;
    CString m_strTitle;
    CString m_strInitialDir;
};

class TWKBrowseDirEdit : public TWKBrowseEditBase
{
public:
    TWKBrowseDirEdit();
    void OnBrowse() override;
    // As the picker's: bits 0 and 1 replaced; the previous style.
    WORD SetDirStyle(const WORD& wStyle)
    {
        WORD old = m_wDirStyle;
        m_wDirStyle = TWKDirSelectDlg::MergeDirStyle(m_wDirStyle, wStyle);
        return old;
    }
    WORD GetDirStyle() const { return m_wDirStyle; }

    WORD m_wDirStyle = TWKDirSelectDlg::styleOldDialog;
};

class TWKBrowseFileEdit : public TWKBrowseEditBase
{
public:
    TWKBrowseFileEdit();
    void OnBrowse() override;

    CString m_strFilter;
    CString m_strInitialFile;
    CString m_strDefExt;
    DWORD m_dwFlags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
};
