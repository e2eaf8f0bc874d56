// The "New Project" dialog (a part number, a name and a location, optionally a
// template project) and, in its second mode, the "Save As Template Project"
// dialog (a name and a location).
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"
#include "afx/controls.h"
#include "afx/imagelist.h"
#include "components/include/ProjectMgrInterface.h"
#include "support/text/CUList.h"
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"
#include "support/ui/TypeAheadCombo.h"
#include <memory>
#include <vector>

// A button that reports mouse presses as commands: code 0x100 for the left
// button, 0x200 for the right one.
class C_PushButton : public CButton
{
public:
    enum { PBN_LBUTTONDOWN = 0x100, PBN_RBUTTONDOWN = 0x200 };

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    void ReportPress(UINT nCode);
    DECLARE_MESSAGE_MAP()
};

class C_IDEPrjNameDlg : public CDialog
{
public:
    // One configured target: "type, sub-type, name".
    struct C_IDEProjectTargetInfo : public C_CUItem {
        explicit C_IDEProjectTargetInfo(const char* pszText);
        int m_nType = 0;
        int m_nSubType = 0;
        CString m_strName;
        int GetKind() const { return m_nSubType * 65536 + m_nType; }
    };

    // New-project mode.
    C_IDEPrjNameDlg(I_ProjectMgr* pProjectMgr, CWnd* pParent);
    // Save-as-template mode.
    C_IDEPrjNameDlg();
    ~C_IDEPrjNameDlg() override;

    // The part-number menu as the "..." button shows it; FALSE when it is empty.
    BOOL BuildPartMenu(CMenu& menu);
    // The name rule: refuses a text with "\", without the extension at its end or with a leading blank.
    static BOOL IsNameAccepted(const CString& strText, LPCSTR pszExt);

    CTypeAheadCombo m_comboPart;
    CListCtrl m_listTargets;
    CString m_strLocation;
    CString m_strPartNumber;
    C_PushButton m_btnPartMenu;
    CString m_strTemplatePath;
    CString m_strBaseFolder;
    CImageList m_imageList;
    CString m_strProjectPath;
    int m_nKind = 0;
    BOOL m_bTemplate = FALSE;
    CString m_strProjectName;
    CString m_strPreviousPart;
    int m_nNameRules = 0;
    I_ProjectMgr* m_pProjectMgr = nullptr;
    int m_nCurTarget = 0;
    int m_nTemplateType = 0;
    int m_nTemplateSubType = 0;
    C_CUString m_strTemplateChip;
    C_CUStringList m_listTemplateParts;
    BOOL m_bNewProject;
    C_CUStringList m_listGroups;
    std::vector<std::unique_ptr<C_CUStringList>> m_groupParts;   // group count + 1, the last for no group
    std::vector<std::unique_ptr<C_IDEProjectTargetInfo>> m_targets;

    // The target images: bitmap id and count (the new-project caller sets them).
    UINT m_nImageBitmap = 0;
    int m_nImageCount = 0;
    // The configuration file read ("ZIDE.cfg" of the program folder) and whether
    // the frame offers template projects.
    CString m_strConfigPath;
    BOOL m_bTemplatesEnabled = FALSE;

protected:
    CString m_strLastName;   // the last name the rule accepted
    LPCSTR Ext() const { return m_bNewProject ? ".wbi" : ".wbt"; }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void ShowTemplateRow();
    void ReadConfiguration();
    void FillTargetList(BOOL bResetNames);
    void ResetNames();
    void ChooseTarget(int nIndex);
    void FillPartNumbers(int nTarget);
    void FillTemplatePartNumbers();
    void UpdateOK();
    BOOL IsPartTemplateMode() const;
    int FindGroup(const char* pszPart);
    // Every missing folder of the path made; FALSE when one cannot be.
    static BOOL MakeFolders(const CString& strPath);

    afx_msg void OnChangeName();
    afx_msg void OnBrowse();
    afx_msg void OnPartMenu();
    afx_msg void OnPartChosen(UINT nID);
    afx_msg void OnTemplateCheck();
    afx_msg void OnTargetChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

class CMainFrame;

// The New Project command's dialog: the part-number lists of kinds 1 to 5
// asked first (the component may rely on them), then the dialog with the
// target images and the frame's name rules. Returns the dialog's answer.
INT_PTR ShowNewProjectDialog(CMainFrame* pFrame, C_IDEPrjNameDlg& dlg);

// Save As Template (40080). pfnStartBuild starts the project's build (not a
// rebuild) and answers whether it started; the build-finished handler sets
// the frame's modal-build-done flag and, on failure, its build-error flag.
typedef BOOL (*PFN_STARTTEMPLATEBUILD)(CMainFrame* pFrame);
void RunSaveAsTemplate(CMainFrame* pFrame, PFN_STARTTEMPLATEBUILD pfnStartBuild);

// The project manager's property wizards (40066, 40077, 40081).
BOOL IsProjectWizardEnabled(CMainFrame* pFrame, UINT nID);
void RunProjectWizard(CMainFrame* pFrame, UINT nID);
