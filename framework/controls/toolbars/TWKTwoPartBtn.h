// The split button: an image button with a narrow arrow part on its right
// that shows the left part of another command's image and sends its own
// command (or TBN_DROPDOWN). On a vertical bar it is a plain button.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKStdBtn.h"

class TWKTwoPartBtn : public TWKStdBtn
{
    DECLARE_BUTTON_CLASS(TWKTwoPartBtn)
public:
    TWKTwoPartBtn();
    ~TWKTwoPartBtn() override = default;

    BOOL m_bTwoPart = TRUE;           // the arrow part is shown (horizontal bar)
    UINT m_nArrowImageID = 0;         // p0: the command whose image the arrow shows
    UINT m_nArrowID = 0;              // p1, or p0 when p1 is 0: the arrow's command
    int m_nArrowImage = 0;            // index of the arrow image

    enum { cxArrow = 15 };            // the arrow part overlaps the main part by one pixel

    void SetMode(BOOL bVertical) override;
    // p0 arrow image command, p1 arrow command (0: p0).
    void Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
    void Paint(CDC* pDC, TWKBtnDrawData& data) override;
    BOOL LButtonDown(int px, int py) override;
    void MouseMove(int px, int py) override;
    void CancelMode() override;
    UINT LButtonUp(int px, int py) override;
    void AdjustSize() override;

protected:
    // The main part's width: the toolbar's button width.
    int MainWidth() const;
    BOOL PtIn(int px, int py, int left, int right) const
    {
        return px >= left && px <= right && py >= m_y && py <= m_y + m_cy;
    }
};
