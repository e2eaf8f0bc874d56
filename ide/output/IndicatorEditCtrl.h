// An engine editing control that marks one line, the indicator line, with
// an arrow in its gutter. The output pages and the call-stack window use it.
#pragma once
#include "afx/afx.h"
#include "editor/window/TWKEditCtrl.h"

class C_IndicatorEditCtrl : public TWKEditCtrl
{
    DECLARE_DYNAMIC(C_IndicatorEditCtrl)
public:
    C_IndicatorEditCtrl();
    ~C_IndicatorEditCtrl() override;

    // Line from 1; -1 takes the mark away.
    void SetIndicatorLine(int nLine);
    int GetIndicatorLine() const { return m_nIndicatorLine; }

    int InitView() override;
    void DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine) override;

    // The arrow's fill.
    static constexpr COLORREF kArrowColor = RGB(200, 200, 255);

protected:
    int m_nIndicatorLine = -1;
    CFont* m_pFont = nullptr;    // owned; NULL when the own font could not be made
    CBrush m_brBackground;       // COLOR_WINDOW, made again with the font

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()
};
