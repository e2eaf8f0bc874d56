// The header and footer settings of printed pages, kept in the profile
// section "PageSetup", and their small editing dialog.
#pragma once
#include "afx/afx.h"

class OEPageSetupDlg : public CDialog
{
    DECLARE_DYNAMIC(OEPageSetupDlg)
public:
    explicit OEPageSetupDlg(CWnd* pParent = NULL);
    ~OEPageSetupDlg() override;

    void LoadSettings();
    void SaveSettings();
    // The template with its codes replaced ("&p" page, "&f" path), then the
    // strftime codes of the rest expanded for the time.
    void GetHeaderText(CString& strText, const CTime& time, LPCSTR pszPathName, int nPage);
    void GetFooterText(CString& strText, const CTime& time, LPCSTR pszPathName, int nPage);

    CString m_strFooter;
    CString m_strHeader;
    int m_nFooterTime;   // 0 file time, 1 system time, -1 none chosen
    int m_nHeaderTime;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    static void ReplaceCodes(CString& strText, LPCSTR pszPathName, int nPage);
    static void FormatText(CString& strText, const CString& strTemplate, const CTime& time,
                           LPCSTR pszPathName, int nPage);
};
