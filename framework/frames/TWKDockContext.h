// The drag controller of a framework bar (the drag loops themselves come
// with the bar arrangement).
#pragma once
#include "afx/afx.h"

class TWKDockContext : public CDockContext
{
public:
    explicit TWKDockContext(CControlBar* pBar);
    ~TWKDockContext() override;

    CRect m_rectLastDocking;
    CPoint m_ptDragStart;
    CPoint m_ptLastDocking;
    int m_nLastDockingRow = -1;
    BOOL m_bWasFloating = FALSE;   // floated (not as an MDI child) before floating in the main window
    CSize m_sizeMinFloat;
    CSize m_sizeMaxFloat;

    virtual void ToggleMDIFloating() {}
};
