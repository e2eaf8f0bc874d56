// The emulator port dialog: which of the part's port families, and which of
// the machine's ports.
#include "ide/debugger/IDEIcePortDlg.h"
#include "resources/ideres.h"
#include "ide/workbench/AsmIDE.h"

namespace {

PFN_ICE_PORT_PROBE s_pfnProbe = IceProbePort;

// The highest port number tried.
constexpr int kMaxPortNumber = 256;

} // namespace

CString IceProgramFolder()
{
    CString str = g_szAppDir;
    if (str.IsEmpty() || str[str.GetLength() - 1] != '\\')
        str += "\\";
    str.MakeUpper();
    return str;
}

CString IceConfigValue(const char* pszSection, const char* pszKey)
{
    char value[MAX_PATH] = "";
    ::GetPrivateProfileStringA(pszSection, pszKey, "", value, sizeof(value), IceProgramFolder() + "ZIDE.cfg");
    return value;
}

BOOL IceProbePort(const char* pszName)
{
    HANDLE h = ::CreateFileA(pszName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
        return TRUE;
    }
    // A port another program holds is there all the same.
    return ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

PFN_ICE_PORT_PROBE SetIcePortProbe(PFN_ICE_PORT_PROBE pfnProbe)
{
    PFN_ICE_PORT_PROBE pfnOld = s_pfnProbe;
    s_pfnProbe = pfnProbe ? pfnProbe : IceProbePort;
    return pfnOld;
}

CString IceReadPortFamilies(const char* pszPart, BOOL bOrFirstFour)
{
    CString strPart = pszPart ? pszPart : "";
    CString str;
    if (!strPart.IsEmpty()) {
        str = IceConfigValue("Initial Comm Port", strPart);
        if (str.IsEmpty() && bOrFirstFour)
            str = IceConfigValue("Initial Comm Port", strPart.Left(4));
    }
    str.MakeUpper();
    return str;
}

CString IceFirstFamilyPort(const CString& strFamilies)
{
    CString str = strFamilies;
    str.MakeUpper();
    if (str.IsEmpty())
        return "LPT1";
    if (str.Find("USB") >= 0)
        return "USB";
    if (str.Find("LPT") >= 0)
        return "LPT1";
    if (str.Find("COM") >= 0)
        return "COM1";
    return strFamilies;
}

BEGIN_MESSAGE_MAP(C_IDEIcePortDlg, CDialog)
    ON_BN_CLICKED(IDC_ICE_PORT_SERIAL, OnPortKind)
    ON_BN_CLICKED(IDC_ICE_PORT_PARALLEL, OnPortKind)
    ON_BN_CLICKED(IDC_ICE_PORT_USB, OnPortKind)
END_MESSAGE_MAP()

C_IDEIcePortDlg::C_IDEIcePortDlg(CString& strPort, CWnd* pParent)
    : CDialog(IDD_ICE_PORT, pParent), m_strCurrent(strPort)
{
    // Only the fourth character counts.
    CString strFamily = strPort.Left(3);
    strFamily.MakeUpper();
    char d = strPort.GetLength() > 3 ? strPort[3] : 0;
    if (strFamily == "USB")
        m_nPortIndex = 7;
    else if (strFamily == "COM" && d >= '1' && d <= '9')
        m_nPortIndex = d - '1';
    else if (strFamily == "LPT" && d >= '1' && d <= '9')
        m_nPortIndex = d - '0' + 3;
}

void C_IDEIcePortDlg::FillPorts(BOOL bDialogLists)
{
    m_ComPorts.RemoveAll();
    m_LptPorts.RemoveAll();
    CComboBox* pCom = bDialogLists ? static_cast<CComboBox*>(GetDlgItem(IDC_ICE_PORT_SERIAL_LIST)) : nullptr;
    CComboBox* pLpt = bDialogLists ? static_cast<CComboBox*>(GetDlgItem(IDC_ICE_PORT_PARALLEL_LIST)) : nullptr;
    if (bDialogLists && (!pCom || !pLpt))
        return;
    if (pCom)
        pCom->ResetContent();
    if (pLpt)
        pLpt->ResetContent();
    for (int n = 1; n <= kMaxPortNumber; n++) {
        CString strCom, strLpt;
        strCom.Format("COM%d", n);
        strLpt.Format("LPT%d", n);
        if (s_pfnProbe(strCom)) {
            if (pCom)
                pCom->AddString(strCom);
            else
                m_ComPorts.AddTail(strCom);
        }
        if (s_pfnProbe(strLpt)) {
            if (pLpt)
                pLpt->AddString(strLpt);
            else
                m_LptPorts.AddTail(strLpt);
        }
    }
    if (pCom)
        pCom->SetCurSel(0);
    if (pLpt)
        pLpt->SetCurSel(0);
}

void C_IDEIcePortDlg::ChooseDefaultPort(CString& strPort)
{
    FillPorts(FALSE);
    if (strPort == "USB")
        return;
    CString str = strPort;
    str.MakeUpper();
    auto first = [](const CStringList& list) { return list.IsEmpty() ? CString() : list.GetHead(); };
    if (str.Find("LPT") >= 0) {
        if (!m_LptPorts.Find(str) && !m_LptPorts.IsEmpty())
            strPort = first(m_LptPorts);
    } else if (str.Find("COM") >= 0) {
        if (!m_ComPorts.Find(str) && !m_ComPorts.IsEmpty())
            strPort = first(m_ComPorts);
    } else if (!m_ComPorts.IsEmpty()) {
        strPort = first(m_ComPorts);
    } else if (!m_LptPorts.IsEmpty()) {
        strPort = first(m_LptPorts);
    }
}

void C_IDEIcePortDlg::SelectInList(UINT nList, int nNumber, const char* pszFamily, BOOL bByIndex)
{
    auto* pList = static_cast<CComboBox*>(GetDlgItem(nList));
    if (!pList)
        return;
    int nSel = CB_ERR;
    if (bByIndex && nNumber >= 1) {
        CString str;
        str.Format("%s%d", pszFamily, nNumber);
        nSel = pList->SelectString(0, str);
    }
    if (nSel == CB_ERR)
        pList->SetCurSel(0);
}

BOOL C_IDEIcePortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (UINT nID = IDC_ICE_PORT_COM1; nID <= IDC_ICE_PORT_USB; nID++)
        if (CWnd* p = GetDlgItem(nID))
            p->EnableWindow(FALSE);
    for (UINT nID = IDC_ICE_PORT_SERIAL; nID <= IDC_ICE_PORT_PARALLEL_LIST; nID++)
        if (CWnd* p = GetDlgItem(nID))
            p->EnableWindow(FALSE);
    m_strCurrent.MakeUpper();
    FillPorts(TRUE);

    BOOL bNoDefault = m_strCurrent.IsEmpty();
    if (m_strAllowed.Find("COM") >= 0)
        GetDlgItem(IDC_ICE_PORT_SERIAL)->EnableWindow(TRUE);
    if (m_strCurrent.Find("COM") >= 0 || bNoDefault) {
        CheckDlgButton(IDC_ICE_PORT_SERIAL, BST_CHECKED);
        GetDlgItem(IDC_ICE_PORT_SERIAL_LIST)->EnableWindow(TRUE);
        SelectInList(IDC_ICE_PORT_SERIAL_LIST, m_nPortIndex + 1, "COM", m_nPortIndex >= 0);
        bNoDefault = FALSE;
    } else {
        SelectInList(IDC_ICE_PORT_SERIAL_LIST, 0, "COM", FALSE);
    }
    if (m_strAllowed.Find("USB") >= 0)
        GetDlgItem(IDC_ICE_PORT_USB)->EnableWindow(TRUE);
    if (m_strCurrent.Find("USB") >= 0 || bNoDefault) {
        CheckDlgButton(IDC_ICE_PORT_USB, BST_CHECKED);
        bNoDefault = FALSE;
    }
    if (m_strAllowed.Find("LPT") >= 0)
        GetDlgItem(IDC_ICE_PORT_PARALLEL)->EnableWindow(TRUE);
    if (m_strCurrent.Find("LPT") >= 0 || bNoDefault) {
        CheckDlgButton(IDC_ICE_PORT_PARALLEL, BST_CHECKED);
        GetDlgItem(IDC_ICE_PORT_PARALLEL_LIST)->EnableWindow(TRUE);
        SelectInList(IDC_ICE_PORT_PARALLEL_LIST, m_nPortIndex - 3, "LPT", m_nPortIndex >= 0);
    } else {
        SelectInList(IDC_ICE_PORT_PARALLEL_LIST, 0, "LPT", FALSE);
    }
    return TRUE;
}

void C_IDEIcePortDlg::OnPortKind()
{
    GetDlgItem(IDC_ICE_PORT_SERIAL_LIST)->EnableWindow(IsDlgButtonChecked(IDC_ICE_PORT_SERIAL) == BST_CHECKED);
    GetDlgItem(IDC_ICE_PORT_PARALLEL_LIST)->EnableWindow(IsDlgButtonChecked(IDC_ICE_PORT_PARALLEL) == BST_CHECKED);
}

void C_IDEIcePortDlg::OnOK()
{
    if (IsDlgButtonChecked(IDC_ICE_PORT_SERIAL) == BST_CHECKED)
        GetDlgItem(IDC_ICE_PORT_SERIAL_LIST)->GetWindowText(m_strResult);
    else if (IsDlgButtonChecked(IDC_ICE_PORT_PARALLEL) == BST_CHECKED)
        GetDlgItem(IDC_ICE_PORT_PARALLEL_LIST)->GetWindowText(m_strResult);
    else if (IsDlgButtonChecked(IDC_ICE_PORT_USB) == BST_CHECKED)
        m_strResult = "USB";
    CDialog::OnOK();
}
