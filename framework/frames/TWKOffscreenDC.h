// Off-screen drawing for one rectangle of a target DC, and bitmaps in the
// current button colours.
#pragma once
#include "afx/afx.h"

// Draw into it with the target's logical coordinates; the picture reaches the
// target in one copy when the object is destroyed. Throws the resource
// exception when the target is NULL or the DC or bitmap cannot be made.
class TWKOffscreenDC : public CDC
{
public:
    TWKOffscreenDC(CDC* pTargetDC, int left, int top, int right, int bottom);
    ~TWKOffscreenDC() override;

protected:
    CDC* m_pTargetDC;
    CBitmap m_bitmap;
    BOOL m_bSpare = FALSE;         // drawing in the display's kept DC, not in a DC and m_bitmap of its own
    int m_nSpareState = 0;         // the kept DC's state before the drawing
    CBitmap* m_pOldBitmap = nullptr;
    CRect m_rect;
    CPoint m_ptViewportOrg;
    CPoint m_ptWindowOrg;
    CSize m_sizeViewportExt;
    CSize m_sizeWindowExt;
    int m_nMapMode;

    void ApplyMapping();
};

// Loads a bitmap resource (at most 8 bits per pixel) with black, dark grey,
// light grey and white replaced by the button text, shadow, face and
// highlight colours. FALSE for a missing or malformed resource.
BOOL TWKLoadSysColorBitmap(CBitmap* pBitmap, LPCSTR lpszResourceName);
