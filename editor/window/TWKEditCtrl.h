// The editing window as a child control with a text store of its own,
// created on demand; it can take the place of a dialog item.
#pragma once
#include "editor/window/TWKEditCore.h"

// The control's drop target: hands the drag to the control and scrolls it
// at its border; other windows get no drop.
class TWKEditDropTarget : public COleDropTarget
{
public:
    ~TWKEditDropTarget() override;
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;
};

class TWKEditCtrl : public TWKEditCore<CWnd>
{
    DECLARE_DYNAMIC(TWKEditCtrl)
public:
    TWKEditCtrl();
    ~TWKEditCtrl() override;

    TWKEdit* m_pEdit;                  // owned; NULL until first asked for
    TWKEditDropTarget m_dropTarget;

    TWKEdit* GetEdit() override;
    virtual BOOL RegisterDropTarget();
    // Creates the control in place of dialog item nID of pParent (same id,
    // rectangle and tab position); the item is destroyed. 0 on failure.
    virtual BOOL ReplaceDlgItem(UINT nID, CWnd* pParent, DWORD dwExStyle);
    virtual TWKEdit* CreateEdit();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg UINT OnGetDlgCode();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};
