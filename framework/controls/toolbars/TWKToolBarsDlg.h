// The Toolbars dialog and the Toolbars property page: list the frame's
// customisable toolbars, show and hide them, create, rename, delete and reset
// them, and switch the manager's tool tips, cool look and large buttons. The
// New Toolbar dialog asks for a new toolbar's name; the sheet hosts the
// Toolbars page beside the Commands page.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"

class TWKCustomToolBar;

// Sent between the pages of one customisation sheet: wParam says which look
// changed (TWK_TBSTYLE_*). Registered once at start-up.
extern const UINT WM_TOOLBARSTYLECHANGING;
enum { TWK_TBSTYLE_LARGEBTNS = 1, TWK_TBSTYLE_COOLLOOK = 2 };

// The longest toolbar name the dialogs accept.
#define TWK_TOOLBAR_NAMEMAX 128

// The logic shared by the dialog and the page; the owner holds the controls.
class TWKToolBarsBase
{
public:
    TWKToolBarsBase() = default;
    virtual ~TWKToolBarsBase() = default;

    // The check boxes' states, and the manager's settings when it was attached.
    BOOL bToolTips = TRUE;
    BOOL bCoolLook = FALSE;
    BOOL bLargeBtns = FALSE;
    BOOL bSavedToolTips = TRUE;
    BOOL bSavedCoolLook = FALSE;
    BOOL bSavedLargeBtns = FALSE;

    void SetManager(TWKToolBarManager* pMgr);
    TWKToolBarManager* GetManager() const { return m_pManager; }
    CCheckListBox& GetList() { return m_list; }

    // The floating-status and activation handling of the customisation
    // windows: their captions stay active beside the frame's.
    static LRESULT OnFloatStatusFor(CWnd* pWnd, WPARAM wParam);
    static void NotifyFrameActivation(CWnd* pWnd, UINT nState);
    // The manager's configuration mode and the toolbars' customisation mode
    // while a page is active; pNoDropWnd is the sheet.
    static void EnterModes(TWKToolBarManager* pMgr, CWnd* pNoDropWnd);
    static void LeaveModes(TWKToolBarManager* pMgr);

protected:
    TWKToolBarManager* m_pManager = nullptr;
    CCheckListBox m_list;
    CWnd* m_pOwner = nullptr;

    // Before the owner's data exchange: the list becomes the check list.
    void AttachList(CWnd* pOwner);
    // The frame's toolbars in bar order, the first selected.
    void FillList();
    void UpdateControls();
    TWKCustomToolBar* GetSelectedBar(int* pnIndex = nullptr) const;
    int FindEntry(UINT nID) const;
    void InsertEntry(int nIndex, LPCSTR lpszText, UINT nID, int nCheck);
    void ExchangeChecks(CDataExchange* pDX);

    void OnListCheckChange();
    void OnNameKillFocus();
    void OnDeleteOrReset();
    // TRUE when a new toolbar was made.
    BOOL OnNewToolBar();
    LRESULT OnBarNotifyFor(WPARAM wParam, LPARAM lParam);

    // The three settings from the data, or the saved ones.
    void ApplySettings();
    void RestoreSettings();
};

class TWKToolBarsDlg : public CDialog, public TWKToolBarsBase
{
public:
    explicit TWKToolBarsDlg(CWnd* pParent = NULL);
    ~TWKToolBarsDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

protected:
    // Leaves the modes and ends with nResult; the settings apply unless cancelled.
    void EndToolBars(int nResult);
    void LeaveDialogModes();
    BOOL m_bRunning = FALSE;

    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnListSelChange();
    afx_msg void OnListCheck();
    afx_msg void OnNameKill();
    afx_msg void OnNew();
    afx_msg void OnCustomize();
    afx_msg void OnReset();
    afx_msg void OnToolTips();
    afx_msg void OnCheckBox();
    DECLARE_MESSAGE_MAP()
};

class TWKToolBarsPage : public CPropertyPage, public TWKToolBarsBase
{
    DECLARE_DYNCREATE(TWKToolBarsPage)
public:
    TWKToolBarsPage();
    TWKToolBarsPage(UINT nIDTemplate, UINT nIDCaption);
    TWKToolBarsPage(LPCSTR lpszTemplateName, UINT nIDCaption);
    ~TWKToolBarsPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnReset() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    // Tells the sheet's other pages that a look changed.
    void NotifySiblings(WPARAM wParam);

    afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnListSelChange();
    afx_msg void OnListCheck();
    afx_msg void OnNameKill();
    afx_msg void OnNew();
    afx_msg void OnResetBar();
    afx_msg void OnToolTips();
    afx_msg void OnCoolLook();
    afx_msg void OnLargeBtns();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

class TWKNewToolBar : public CDialog
{
public:
    explicit TWKNewToolBar(CWnd* pParent = NULL);

    CString strName;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    afx_msg void OnNameChange();
    DECLARE_MESSAGE_MAP()
};

// The sheet of the Toolbars and Commands pages.
class TWKToolBarsSheet : public CPropertySheet
{
public:
    explicit TWKToolBarsSheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    explicit TWKToolBarsSheet(LPCSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);

protected:
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    DECLARE_MESSAGE_MAP()
};
