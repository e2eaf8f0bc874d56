// Dialogs: CDialog (modal and modeless, from resources or memory), data
// exchange between controls and members, property pages and their sheet.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "afx/wnd.h"
#include "afx/string.h"

// Resource type of dialog-init data (lists filled when a dialog starts).
#ifndef RT_DLGINIT
#define RT_DLGINIT MAKEINTRESOURCE(240)
#endif

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;   // TRUE: controls to members
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    // The control's handle (a missing control is a programming error: the
    // exchange fails rather than touching a NULL window).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last control and throws a CUserException.
    [[noreturn]] void Fail();
};

// Exchange functions: controls <-> members, both ways by m_bSaveAndValidate.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group; value is the index of the
// checked one (-1: none).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Binds the control to rControl by subclassing it (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

// Runs a template's dialog-init data on hWnd's controls (list and combo
// strings). TRUE when there is none or all of it was applied.
BOOL AfxExecuteDlgInit(HWND hWnd, LPCSTR lpszResourceName);
BOOL AfxExecuteDlgInit(HWND hWnd, LPVOID lpResource);
// Makes pWnd a modeless dialog window from a template (dialog bars and
// other windows built on dialogs). The dialog gets no OnInitDialog call
// unless pWnd is a CDialog.
BOOL AfxCreateDlgWnd(CWnd* pWnd, LPCSTR lpszTemplateName, CWnd* pParentWnd);
BOOL AfxCreateDlgWndIndirect(CWnd* pWnd, LPCDLGTEMPLATE lpTemplate, CWnd* pParentWnd, HINSTANCE hInst);
// The dialog procedure of the framework's dialogs (WM_INITDIALOG only).
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Modal from a template in memory (DLGTEMPLATE or DLGTEMPLATEEX); the
    // template must outlive DoModal.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);
    BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL);
    // Runs the dialog: the owner (the parent, else the main window) stays
    // disabled until it ends. -1 when the dialog could not be created.
    virtual INT_PTR DoModal();

    // Modeless (or child, by the template's style) dialog.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // Before OnInitDialog, with the window attached (common dialogs).
    virtual void PreInitDialog() {}

    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void MapDialogRect(LPRECT lpRect) const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    BOOL ExecuteDlgInit(LPCSTR lpszResourceName);

    // Modeless dialogs: keyboard navigation through IsDialogMessage.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDHelp = 0;
    LPCSTR m_lpszTemplateName = nullptr;
    HGLOBAL m_hDialogTemplate = nullptr;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

    // Runs the modal loop until EndDialog; the result.
    int RunModalLoop();
    BOOL IsModal() const { return m_bModal; }

    // WM_INITDIALOG as the framework handles it (dialog-init data, then OnInitDialog).
    BOOL HandleInitDialog();

protected:
    // The window that owns a modal dialog (top-level).
    HWND GetModalOwner() const;
    LPCDLGTEMPLATE LockTemplate(HINSTANCE& hInst) const;

    BOOL m_bModal = FALSE;
    BOOL m_bContinueModal = FALSE;
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------
// Property pages and sheets.

class CPropertySheet;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

    PROPSHEETPAGEA m_psp;

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    void OnOK() override;
    void OnCancel() override;

    void SetModified(BOOL bChanged = TRUE);
    CPropertySheet* GetSheet() const;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void CommonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption);
    static INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    friend class CPropertySheet;
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);

    PROPSHEETHEADERA m_psh;

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int nPage) const { return m_pages.at((size_t)nPage); }
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCSTR lpszText);
    // Modal sheet: IDOK when it ended with OK, IDCANCEL otherwise, -1 on failure.
    virtual INT_PTR DoModal();
    void EndDialog(int nEndID);
    BOOL PressButton(int nButton) { return (BOOL)SendMessage(PSM_PRESSBUTTON, (WPARAM)nButton); }

    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
};
