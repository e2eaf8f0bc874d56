// The open-file dialog turned into a folder chooser, and a file dialog whose name box is read-only.
#pragma once
#include <windows.h>
#include "afx/commdlg.h"
#include "support/text/CUString.h"

class C_DirDialog : public CFileDialog
{
    DECLARE_DYNAMIC(C_DirDialog)
public:
    // lpszDirectory may be NULL or empty (the list then opens at the current drive's root).
    explicit C_DirDialog(LPCSTR lpszDirectory);
    ~C_DirDialog() override;

    // The initial folder; after Select the folder that was shown (a drive root with its backslash).
    const C_CUString& GetPath() const { return m_strPath; }

    void OnInitDone() override;

protected:
    static LRESULT CALLBACK DirDialogFrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    C_CUString m_strPath;
};

class C_SelectOnlyFileDialog : public CFileDialog
{
    DECLARE_DYNAMIC(C_SelectOnlyFileDialog)
public:
    explicit C_SelectOnlyFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                                    DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                    LPCSTR lpszFilter = NULL, CWnd* pParentWnd = NULL);
    ~C_SelectOnlyFileDialog() override;

    void OnInitDone() override;
    virtual void Reserved();

    // The edit in which a file name would be typed in the frame; NULL when there is none.
    static HWND FileNameEdit(HWND hFrame);

protected:
    DECLARE_MESSAGE_MAP()
};
