// The emulator port dialog and the port texts of the configuration: which
// families ("COM", "LPT", "USB") a part may use and which ports the machine has.
#pragma once
#include "afx/afx.h"

// Tells whether the device name opens, or is held by another program: the
// one probe of the port list, replaced by tests (the machine's ports vary).
typedef BOOL (*PFN_ICE_PORT_PROBE)(const char* pszName);
BOOL IceProbePort(const char* pszName);
PFN_ICE_PORT_PROBE SetIcePortProbe(PFN_ICE_PORT_PROBE pfnProbe);

// The program folder, upper-cased with a trailing backslash, and a value of its ZIDE.cfg.
CString IceProgramFolder();
CString IceConfigValue(const char* pszSection, const char* pszKey);

// ZIDE.cfg [Initial Comm Port] for the part; with bOrFirstFour, for its
// first four characters when the whole part has no key. Upper-cased.
CString IceReadPortFamilies(const char* pszPart, BOOL bOrFirstFour);
// "USB", "LPT1" or "COM1" for the first of these families the text names,
// "LPT1" for no text, else the text itself.
CString IceFirstFamilyPort(const CString& strFamilies);

class C_IDEIcePortDlg : public CDialog
{
public:
    C_IDEIcePortDlg(CString& strPort, CWnd* pParent);

    void SetAllowedPorts(CString strFamilies) { m_strAllowed = strFamilies; }
    void SetDefaultPort(CString& strPort) { m_strCurrent = strPort; }
    void ChooseDefaultPort(CString& strPort);
    void FillPorts(BOOL bDialogLists);
    void GetPort(CString& strOut) const { strOut = m_strResult; }

    const CStringList& GetComPorts() const { return m_ComPorts; }
    const CStringList& GetLptPorts() const { return m_LptPorts; }
    int GetPortIndex() const { return m_nPortIndex; }

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void OnPortKind();
    DECLARE_MESSAGE_MAP()

private:
    void SelectInList(UINT nList, int nNumber, const char* pszFamily, BOOL bByIndex);

    CString m_strCurrent;
    CString m_strAllowed;
    CString m_strResult;
    CStringList m_ComPorts{10};
    CStringList m_LptPorts{10};
    int m_nPortIndex = -1;
};
