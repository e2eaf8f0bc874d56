// The docked "Preview Resource" bar and the small dialog inside it: the
// recently previewed files, Edit, Play and Stop, and the playing position.
#pragma once
#include "afx/afx.h"
#include "afx/cmdline.h"
#include "afx/controls.h"
#include "afx/dialog.h"
#include "afx/gdi.h"
#include "framework/frames/TWKControlBar.h"
#include "ide/debugger/ResourceAction.h"

class C_ResPreviewDlg : public CDialog
{
public:
    explicit C_ResPreviewDlg(LPCSTR pszConfigPath);
    ~C_ResPreviewDlg() override;

    BOOL PlayFile(LPCSTR pszPath, int nStart);
    BOOL CanEdit(LPCSTR pszPath);
    BOOL CanPreview(LPCSTR pszPath);
    BOOL EditFile(LPCSTR pszPath);
    BOOL IsPreviewWindowHidden(LPCSTR pszPath);
    // The table built again from the configuration (the running preview stopped first).
    void ReloadActions();
    BOOL IsPlaying() const { return m_bPlaying; }

    CComboBox m_comboRecent;
    CButton m_btnEdit;
    CButton m_btnPlay;
    CButton m_btnStop;
    CSliderCtrl m_slider;
    CStatic m_textPos;
    CString m_strConfigPath;
    C_ResourceAction* m_pActions = nullptr;
    CRecentFileList m_recent;
    BOOL m_bPlaying = FALSE;
    CBitmap m_bmpEdit;
    CBitmap m_bmpPlay;
    CBitmap m_bmpStop;

protected:
    C_ResourceAction* Actions();
    void FillCombo();
    void UpdateControls();
    void ShowPosition(int nPos);
    // The recent entry of the combo's selection; empty without one.
    CString SelectedFile();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnPlay();
    afx_msg void OnStop();
    afx_msg void OnEdit();
    afx_msg void OnSelChange();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class C_IDEResPreviewBar : public TWKControlBar
{
public:
    C_IDEResPreviewBar();
    BOOL Preview(LPCSTR pszPath) { return m_dlg.PlayFile(pszPath, 0); }
    BOOL EditFile(LPCSTR pszPath) { return m_dlg.EditFile(pszPath); }
    BOOL IsPreviewWindowHidden(LPCSTR pszPath) { return m_dlg.IsPreviewWindowHidden(pszPath); }
    BOOL CanEdit(LPCSTR pszPath) { return m_dlg.CanEdit(pszPath); }
    BOOL CanPreview(LPCSTR pszPath) { return m_dlg.CanPreview(pszPath); }
    void ReloadResourceActions() { m_dlg.ReloadActions(); }

    C_ResPreviewDlg m_dlg;

protected:
    // The dialog over the bar's inside rectangle.
    void PlaceDialog();
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()
};
