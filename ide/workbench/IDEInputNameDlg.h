// The small dialog that asks for a sub-folder's name, and the test of such a name.
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"

class C_IDEInputNameDlg : public CDialog {
public:
    C_IDEInputNameDlg(LPCSTR pszCaption, LPCSTR pszPrompt, CWnd* pParent = NULL);

    CStatic m_staticPrompt;
    CString m_strName;
    CString m_strCaption;
    CString m_strPrompt;

    // Whether the name can be a folder: tried as real folders inside a fresh folder
    // under the temporary folder, of which only what the probe made is removed.
    static BOOL IsValidFolderName(LPCSTR pszName);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
