// Page setup: header and footer templates and the times they show.
#include "editor/window/OEPageSetupDlg.h"
#include "editor/editorres.h"

IMPLEMENT_DYNAMIC(OEPageSetupDlg, CDialog)

namespace {
const char kSection[] = "PageSetup";

// A text inserted into a time format: its "%" must stay a "%".
CString EscapePercent(LPCSTR pszText)
{
    CString str(pszText ? pszText : "");
    str.Replace("%", "%%");
    return str;
}

// Replaces the first occurrence of pszCode only.
void ReplaceFirst(CString& strText, LPCSTR pszCode, const CString& strWith)
{
    int i = strText.Find(pszCode);
    if (i >= 0)
        strText = strText.Left(i) + strWith + strText.Mid(i + (int)strlen(pszCode));
}
} // namespace

OEPageSetupDlg::OEPageSetupDlg(CWnd* pParent)
    : CDialog(IDD_TWK_PAGESETUP, pParent), m_nFooterTime(-1), m_nHeaderTime(-1)
{
}

OEPageSetupDlg::~OEPageSetupDlg() = default;

void OEPageSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TWK_FOOTER, m_strFooter);
    DDX_Text(pDX, IDC_TWK_HEADER, m_strHeader);
    DDX_Radio(pDX, IDC_TWK_FOOTER_FILETIME, m_nFooterTime);
    DDX_Radio(pDX, IDC_TWK_HEADER_FILETIME, m_nHeaderTime);
}

void OEPageSetupDlg::LoadSettings()
{
    CWinApp* pApp = AfxGetApp();
    m_strHeader = pApp->GetProfileString(kSection, "Header", "&f %c");
    m_strFooter = pApp->GetProfileString(kSection, "Footer", "Page: &p");
    m_nHeaderTime = (int)pApp->GetProfileInt(kSection, "HeaderTime", 0);
    m_nFooterTime = (int)pApp->GetProfileInt(kSection, "FooterTime", 0);
}

void OEPageSetupDlg::SaveSettings()
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString(kSection, "Header", m_strHeader);
    pApp->WriteProfileString(kSection, "Footer", m_strFooter);
    pApp->WriteProfileInt(kSection, "HeaderTime", m_nHeaderTime);
    pApp->WriteProfileInt(kSection, "FooterTime", m_nFooterTime);
}

void OEPageSetupDlg::ReplaceCodes(CString& strText, LPCSTR pszPathName, int nPage)
{
    CString strPage;
    strPage.Format("%d", nPage);
    ReplaceFirst(strText, "&p", EscapePercent(strPage));
    ReplaceFirst(strText, "&f", EscapePercent(pszPathName));
}

void OEPageSetupDlg::FormatText(CString& strText, const CString& strTemplate, const CTime& time,
                                LPCSTR pszPathName, int nPage)
{
    CString str = strTemplate;
    ReplaceCodes(str, pszPathName, nPage);
    strText = time.Format(str);
}

void OEPageSetupDlg::GetHeaderText(CString& strText, const CTime& time, LPCSTR pszPathName, int nPage)
{
    FormatText(strText, m_strHeader, time, pszPathName, nPage);
}

void OEPageSetupDlg::GetFooterText(CString& strText, const CTime& time, LPCSTR pszPathName, int nPage)
{
    FormatText(strText, m_strFooter, time, pszPathName, nPage);
}
