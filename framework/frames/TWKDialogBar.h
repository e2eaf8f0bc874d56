// A control bar whose contents come from a dialog template; the saved layout
// keeps the template's id, so that a loaded layout can make the bar again.
#pragma once
#include "framework/frames/TWKControlBar.h"

class TWKDialogBar : public TWKControlBar
{
    DECLARE_DYNCREATE(TWKDialogBar)
public:
    TWKDialogBar();
    ~TWKDialogBar() override;

    LPCSTR m_lpszTemplateName = nullptr;      // name or resource id; saved as the layout's resource id
    void* m_pOccDialogInfo = nullptr;         // the platform's control-site record, only kept
    LPCSTR m_lpszCreatingTemplate = nullptr;  // set while the dialog is being created
    CSize m_sizeDefault;                      // the dialog's size

    // The template's window with the bar's style bits and id; FALSE when the
    // dialog or its dialog-init data cannot be made (the template stays remembered).
    virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle, UINT nID)
    {
        return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), dwStyle, dwExStyle, nID);
    }
    virtual BOOL SetOccDialogInfo(void* pOccDialogInfo);
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void GetBarInfo(CControlBarInfo* pInfo) override;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
