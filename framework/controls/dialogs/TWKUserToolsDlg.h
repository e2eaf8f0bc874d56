// The dialog in which the user edits the list of user tools. It works on
// copies; the caller's array changes only when it ends with OK.
#pragma once
#include <windows.h>
#include "afx/afx.h"
#include "framework/controls/dialogs/TWKBrowseEdit.h"
#include "framework/controls/dialogs/TWKUserTool.h"

class TWKUserToolsDlg : public CDialog
{
public:
    explicit TWKUserToolsDlg(CWnd* pParent = NULL);
    ~TWKUserToolsDlg() override;

    // The caller's tools; set before the dialog runs (not owned).
    CObArray* pTools = nullptr;

    // At most this many tools.
    enum { nMaxTools = 9 };

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;

    afx_msg void OnAdd();
    afx_msg void OnRemove();
    afx_msg void OnMoveUp();
    afx_msg void OnMoveDown();
    afx_msg void OnSelChange();
    afx_msg void OnMenuTextChange();
    afx_msg void OnMenuTextKillFocus();
    afx_msg void OnDestroy();
    afx_msg void OnUpdateAdd(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRemove(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMoveUp(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMoveDown(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFields(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    // Stores the shown command, arguments and folder into the current tool,
    // then makes pTool current.
    void SetCurrentTool(TWKUserTool* pTool);
    void UpdateControls();
    void MoveSelection(int nDelta);
    // The copies still in the list are freed (Cancel, or a dialog that goes).
    void DeleteCopies();

    CListBox m_list;
    TWKBrowseFileEdit* pCommandEdit;
    TWKBrowseDirEdit* pDirEdit;
    TWKUserTool* pCurrentTool = nullptr;

private:
    BOOL m_bShowing = FALSE;   // the edits are being filled from a tool
};
