// The view of the disassembly listing: a column header over the listing
// control, breakpoints and run-to on listing lines, paging through the
// emulator's parts of the listing and editing one line's source in place.
#pragma once
#include "afx/afx.h"
#include "ide/debugger/IDEEditCtrl.h"
#include "ide/debugger/IDEMemoryEditWnd.h"
#include "support/ui/IDEHeaderCtrl.h"

class CMainFrame;
class C_IDEIceMgr;
class C_IDEIceUIMgr;
class C_IDEDisAsmDoc;

// The in-place source editor: Enter and Escape go to the parent as WM_NOTIFY codes 1 and 2.
class C_AttachEdit : public CEdit
{
protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()
};

class C_IDEDisAsmView : public CView
{
    DECLARE_DYNCREATE(C_IDEDisAsmView)
public:
    C_IDEDisAsmView();
    ~C_IDEDisAsmView() override;

    TWKEdit* GetEdit();
    C_IDEDisAsmDoc* GetListingDoc() const;
    void OnInitialUpdate() override;
    void OnDraw(CDC*) override {}

    void SetPCLine(int nLine);
    void ResetAfterReload();
    void SyncScrollBars();
    void InvalidateGutter() { m_Listing.InvalidateGutter(); }
    BOOL FindText(LPCSTR lpszText, BOOL bMatchCase, BOOL bUnused);
    // Asked by the child frame before it closes: FALSE keeps the window.
    BOOL CanCloseWindow();
    // The window goes: the debugger forgets it.
    void DetachFromDebugger();
    BOOL CanModifySource();
    void BeginModifySource();
    void EndModifySource();

    C_IDEEditCtrl& GetListing() { return m_Listing; }
    C_IDEHeaderCtrl& GetHeader() { return m_Header; }
    C_GotoPCDlg& GetGotoBar() { return m_GotoBar; }
    CEdit* GetAttachEdit() const { return m_pAttachEdit; }
    // The header follows the listing's horizontal scroll.
    void LayoutHeader();

protected:
    C_IDEHeaderCtrl m_Header;
    C_IDEEditCtrl m_Listing;
    C_GotoPCDlg m_GotoBar;
    CMainFrame* m_pMainFrame = nullptr;
    C_IDEIceMgr* m_pIceMgr = nullptr;
    C_IDEIceUIMgr* m_pIceUIMgr = nullptr;
    BOOL m_bActive = FALSE;
    C_AttachEdit* m_pAttachEdit = nullptr;

    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    // Connected to a stopped target.
    BOOL IsStoppedDebugging() const;
    void ToggleBreakpoint();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnEditCopy();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnEditFind();
    afx_msg void OnFileOpen();
    afx_msg void OnRunToCursor();
    afx_msg void OnToggleBreakpoint();
    afx_msg void OnUpdateToggleBreakpoint(CCmdUI* pCmdUI);
    afx_msg void OnEnableBreakpoint();
    afx_msg void OnUpdateEnableBreakpoint(CCmdUI* pCmdUI);
    afx_msg void OnModifySource();
    afx_msg void OnUpdateModifySource(CCmdUI* pCmdUI);
    afx_msg void OnListingNotify(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAttachNotify(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAttachKillFocus();
    afx_msg LRESULT OnGotoAddress(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
