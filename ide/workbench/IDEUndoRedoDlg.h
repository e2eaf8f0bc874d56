// The undo and redo history lists that open under the File toolbar's Undo and
// Redo split buttons: the names of the actions, newest first; dragging over
// the list picks the first n, releasing on an item undoes or redoes them.
#pragma once
#include "afx/afx.h"
#include "resources/ideres.h"

class TWKEdit;

// The names of the actions that one Undo (bUndo) or one Redo each takes back
// from the store's log, newest first. Records that one command takes together
// give one name: that of the first record met.
void BuildUndoRedoNames(const TWKEdit* pEdit, BOOL bUndo, CStringList& list);

class C_IDEUndoRedoListBox : public CListBox
{
protected:
    // Items 0..nItem selected and the rest not; the status shows the count.
    void SelectUpTo(int nItem);
    // The item under the client point, or -1 off the items.
    int ItemAt(CPoint point) const;
    class C_IDEUndoRedoDlg* Dialog() const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSelChange();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

// Modeless: the constructor makes the window (hidden) with the main frame as
// parent; the object deletes itself once its window is gone.
class C_IDEUndoRedoDlg : public CDialog
{
public:
    enum { IDD = IDD_UNDO_REDO_LIST };
    explicit C_IDEUndoRedoDlg(CWnd* pParent);

    // nKind 0 undo or 1 redo, sent back with the chosen count.
    void Init(int nKind, BOOL bUndo, const CStringList& names);
    void SetStatusText(LPCSTR lpszText);

    C_IDEUndoRedoListBox m_wndList;
    CString m_strStatus;
    CString m_strKind;
    int m_nKind = 0;
    BOOL m_bUndo = TRUE;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    // Clears the frame's pointer to this list.
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
