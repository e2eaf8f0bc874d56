// The view of a source document: the debugger's marks in the gutter
// (breakpoints, program-counter, caller and history arrows), its own context
// menu and command table, the emulator's named actions, the data tip while
// debugging, the window title and a column-selection mode that outlives a
// cleared selection. The modified state and its save point are the store's.
#pragma once
#include "ide/workbench/IDEEditView.h"

class C_IDEIceMgr;
class CAsmIDEDoc;

class C_IDEEditorView : public C_IDEEditView
{
    DECLARE_DYNCREATE(C_IDEEditorView)
public:
    C_IDEEditorView();
    ~C_IDEEditorView() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnDraw(CDC* pDC) override;
    void DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine) override;
    void ShowContextMenu(CWnd* pWnd, CPoint point) override;
    TWKEdit* GetEdit() override;
    void OnCaretMoved() override;
    int ClearSelection(BOOL bRedraw) override;

    void SetCallerLine(int nLine);
    CAsmIDEDoc* GetSourceDoc() const;
    // The context menu: the "&Edit" popup of menu 129 with the debugger's and
    // the bookmark's items; the caller tracks and destroys it.
    BOOL BuildEditorMenu(CMenu& menu, CMenu** ppPopup);
    // The shortened path, " *" when modified; for a new document its name.
    CString BuildTitle();

    int m_nSelMode = 1;
    // The first visible line when the left button was last pressed.
    int m_nPressTopLine = 0;
    CToolTipCtrl m_ToolTip;
    C_IDEIceMgr* m_pIceMgr = nullptr;

protected:
    BOOL IsDebugMode() const;
    BOOL CanUseBreakpoints() const;
    int CaretBreakState() const;
    void ToggleBreakpointAtCaret();
    // The identifier under a client point, for the data tip.
    CString IdentifierAt(CPoint point);
    void ShowDataTip(CPoint point);
    BOOL EnsureDataTip();
    // Undo or Redo, then the whole view and the title; enabled only while active.
    void ReplayStep(BOOL bRedo);
    void UpdateReplayStep(CCmdUI* pCmdUI, BOOL bRedo);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnFileOpen();
    afx_msg void OnFileSaveAll();
    afx_msg void OnEditCopy();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnEditCut();
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnEditClear();
    afx_msg void OnUpdateEditClear(CCmdUI* pCmdUI);
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditFind(CCmdUI* pCmdUI);
    afx_msg void OnColumnMode();
    afx_msg void OnUpdateColumnMode(CCmdUI* pCmdUI);
    afx_msg void OnToggleBreakpoint();
    afx_msg void OnUpdateToggleBreakpoint(CCmdUI* pCmdUI);
    afx_msg void OnEnableBreakpoint();
    afx_msg void OnUpdateEnableBreakpoint(CCmdUI* pCmdUI);
    afx_msg void OnViewDisassembly();
    afx_msg void OnRunToCursor();
    afx_msg void OnUpdateViewDisassembly(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
