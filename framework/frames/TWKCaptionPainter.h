// The custom caption both main frames can paint: a gradient from black to the
// active caption colour, the window icon and the title split into an italic
// application part and a document part. Shared by the MDI and the SDI frame.
#pragma once
#include "afx/afx.h"

namespace TWKCaption {

// `bands` bands from `start` to `end` over rc; one band per pixel when rc is narrower.
void FillGradient(CDC* pDC, const CRect& rc, int nBands, COLORREF crStart, COLORREF crEnd);

// The caption's rectangle in window coordinates.
CRect GetCaptionRect(CWnd* pWnd, BOOL bWin4);

// The system's caption font (non-client metrics), italic on request.
BOOL CreateFont(CFont* pFont, BOOL bItalic);

// Where the title's parts go in a caption of the given size.
struct TitleLayout {
    CString strApp;       // before the first '-'
    CString strDoc;       // from the '-' on; empty when left out
    CRect rcApp;
    CRect rcDoc;
};
TitleLayout LayoutTitle(CDC* pDC, const CString& strTitle, const CRect& rcText, int nAlign,
                        CFont* pItalic, CFont* pNormal);

// Draws the caption of pWnd into pDC, the caption rectangle placed at (0, 0).
void Compose(CDC* pDC, CWnd* pWnd, const CSize& size, BOOL bActive, int nAlign, CFont* pItalic, CFont* pNormal);

// Draws the caption into the window through a memory image; FALSE when no memory DC
// or bitmap could be made (nothing drawn).
BOOL Paint(CWnd* pWnd, BOOL bWin4, BOOL bActive, int nAlign, CFont* pItalic, CFont* pNormal);

// The window's default processing of a message with WS_VISIBLE removed for its duration,
// so the system paints nothing of the caption.
LRESULT DefaultHidden(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);

// WM_NCPAINT with the custom caption: TRUE when the caption must be drawn after the
// default painting (which this has run, with the caption cut out of the region).
BOOL NcPaintAroundCaption(CWnd* pWnd, BOOL bWin4, WPARAM wParam);

} // namespace TWKCaption
