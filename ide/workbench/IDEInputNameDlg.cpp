#include "ide/workbench/IDEInputNameDlg.h"
#include "resources/ideres.h"
#include <vector>

C_IDEInputNameDlg::C_IDEInputNameDlg(LPCSTR pszCaption, LPCSTR pszPrompt, CWnd* pParent)
    : CDialog(IDD_INPUT_NAME, pParent), m_strCaption(pszCaption), m_strPrompt(pszPrompt)
{
}

void C_IDEInputNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INPUT_NAME_PROMPT, m_staticPrompt);
    DDX_Text(pDX, IDC_INPUT_NAME_EDIT, m_strName);
}

BOOL C_IDEInputNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    m_staticPrompt.SetWindowText(m_strPrompt);
    return TRUE;
}

void C_IDEInputNameDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strName.TrimRight(" \t");
    m_strName.TrimLeft(" \t");
    UpdateData(FALSE);
    if (m_strName.IsEmpty()) {
        MessageBox("Input Name can not be empty!", NULL, MB_OK | MB_ICONHAND);
        return;
    }
    EndDialog(IDOK);
}

namespace {

// A name that could leave the probe's folder, or that no folder may carry.
BOOL IsRefusedName(const CString& strName)
{
    if (strName.Find("..") >= 0)
        return TRUE;
    for (int i = 0; i < strName.GetLength(); ++i) {
        unsigned char c = (unsigned char)strName[i];
        if (c < 32 || strchr("/:*?\"<>|", c))
            return TRUE;
    }
    return FALSE;
}

// A folder of its own under the temporary folder; empty when none can be made.
CString MakeProbeRoot()
{
    char szTemp[MAX_PATH + 1] = "";
    DWORD n = ::GetTempPathA(sizeof(szTemp), szTemp);
    if (n == 0 || n > MAX_PATH)
        return CString();
    for (unsigned k = 0; k < 100; ++k) {
        CString strRoot;
        strRoot.Format("%sVtNameProbe_%lu_%lu_%u", szTemp, ::GetCurrentProcessId(), ::GetTickCount(), k);
        if (::CreateDirectoryA(strRoot, NULL))
            return strRoot;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return CString();
    }
    return CString();
}

}  // namespace

BOOL C_IDEInputNameDlg::IsValidFolderName(LPCSTR pszName)
{
    CString strName = pszName ? pszName : "";
    if (strName == "\\")
        return TRUE;
    if (IsRefusedName(strName))
        return FALSE;
    CString strRoot = MakeProbeRoot();
    if (strRoot.IsEmpty())
        return FALSE;
    CString strRest;
    int nSlash = strName.Find('\\');
    if (nSlash < 0)
        strRest = "Temp_Dir_1\\" + strName;
    else if (nSlash > 0)
        strRest = "Temp_Dir\\" + strName;
    else
        strRest = "Temp_Dir" + strName;
    // Folder by folder, remembering exactly the ones made here.
    std::vector<CString> made;
    BOOL bValid = TRUE;
    CString strPath = strRoot;
    int nStart = 0;
    while (nStart <= strRest.GetLength()) {
        int nEnd = strRest.Find('\\', nStart);
        if (nEnd < 0)
            nEnd = strRest.GetLength();
        CString strPart = strRest.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (strPart.IsEmpty())
            continue;
        strPath += "\\" + strPart;
        if (::CreateDirectoryA(strPath, NULL)) {
            made.push_back(strPath);
        } else if (::GetLastError() != ERROR_ALREADY_EXISTS || !(::GetFileAttributesA(strPath) & FILE_ATTRIBUTE_DIRECTORY) ||
                   ::GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES) {
            bValid = FALSE;
            break;
        }
    }
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        ::RemoveDirectoryA(*it);
    ::RemoveDirectoryA(strRoot);
    return bValid;
}
