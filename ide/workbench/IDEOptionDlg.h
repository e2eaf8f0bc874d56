// The "Project Options" dialog: the built-in "General" page and the pages the
// project manager makes, in one tab window. It edits the options object the
// project manager hands out and gives it back on OK; committing or rolling
// back the settings edit is the caller's business.
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"
#include "afx/controls.h"
#include "framework/controls/tabs/TWK3DTabWnd.h"
#include "components/include/ProjectMgrInterface.h"

class CMainFrame;
class C_IDEProjectWnd;

// Enter and Escape that reach the tab window act on the dialog.
class C_IDEOptionTabWnd : public TWK3DTabWnd
{
protected:
    afx_msg void OnOK();
    afx_msg void OnCancel();
    DECLARE_MESSAGE_MAP()
};

// A page living in a tab; answers the page message PM_WM_OPTION_PAGE.
class C_IDEBaseTabDlg : public CDialog
{
public:
    C_IDEBaseTabDlg(UINT nIDTemplate, CWnd* pSheet);
    // Checks the page's fields and stores them; FALSE keeps the dialog open.
    virtual BOOL OnApplyPage() = 0;
    virtual BOOL OnPageNotify(LPARAM lParam) = 0;

protected:
    CWnd* m_pSheet;
    void DoDataExchange(CDataExchange*) override {}
    afx_msg LRESULT OnPageMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class C_IDEOptionDlg;

// The base of the built-in option pages.
class C_IDEOptionTabDlg : public C_IDEBaseTabDlg
{
public:
    C_IDEOptionTabDlg(UINT nIDTemplate, C_IDEOptionDlg* pSheet, I_PMProjectOptions* pOptions);
    BOOL OnPageNotify(LPARAM) override { return TRUE; }

protected:
    // Enter and Escape inside the page go to the dialog.
    void OnOK() override;
    void OnCancel() override;

    C_IDEOptionDlg* m_pOptionDlg;
    I_PMProjectOptions* m_pOptions;
    C_IDEProjectWnd* m_pProjectWnd;
    I_ProjectMgr* m_pProjectMgr;
};

// The "General" page.
class C_IDEOptionProjectDlg : public C_IDEOptionTabDlg
{
public:
    C_IDEOptionProjectDlg(C_IDEOptionDlg* pSheet, I_PMProjectOptions* pOptions);
    BOOL OnApplyPage() override;

    CComboBox m_comboTarget;
    CSpinButtonCtrl m_spinWarnings;
    CSpinButtonCtrl m_spinErrors;
    CString m_strOutputName;
    CString m_strMaxWarnings;
    CString m_strMaxErrors;
    int m_bAutoSave;
    int m_bAutoOpenReport;
    int m_bManualModules;
    int m_bAutoCheck;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnChangeOutputName();
    DECLARE_MESSAGE_MAP()
};

class C_IDEOptionDlg : public CDialog
{
public:
    C_IDEOptionDlg(CMainFrame* pFrame, int nPage);
    ~C_IDEOptionDlg() override;

    CMainFrame* m_pFrame;
    I_PMProjectOptions* m_pOptions = nullptr;
    C_IDEProjectWnd* m_pProjectWnd;
    I_ProjectMgr* m_pProjectMgr;
    CFont m_font;                    // the tabs' font
    C_IDEOptionTabWnd m_wndTab;
    C_IDEOptionProjectDlg* m_pGeneralPage = nullptr;
    CWnd* m_pExtraPages = nullptr;   // wrappers of the project manager's page windows
    int m_nExtraPages = 0;
    int m_nPage;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void AddExtraPages();
};

// The Project Options command: the dialog on its first page; after OK the
// settings edit is committed and the project marked changed, after Cancel it
// is rolled back. Returns the dialog's answer.
INT_PTR RunProjectOptionsCommand(CMainFrame* pFrame);
// The build's pre-check of the settings: TRUE when the project manager finds
// them complete; otherwise the dialog opens on the page it names (OK marks
// the project changed) and the answer is FALSE.
BOOL CheckProjectSettings(CMainFrame* pFrame);
