// The read-only listing control of the disassembly view: the listing's lines
// in their own colours, breakpoint dots and the program-counter arrow in the
// gutter, and the user's gestures passed on to the parent view.
#pragma once
#include "editor/window/TWKEditCtrl.h"

class C_IDEDisAsmView;
class C_IDEDisAsmDoc;

// Notifications to the parent (WM_NOTIFY).
#define LISTING_NM_PAGEUP_AT_TOP 0x101
#define LISTING_NM_PAGEDOWN_AT_END 0x102
#define LISTING_NM_GUTTER_DBLCLK 0x103
// The first display column of a listing line's source text.
#define LISTING_SOURCE_COLUMN 24

class C_IDEEditCtrl : public TWKEditCtrl
{
    DECLARE_DYNCREATE(C_IDEEditCtrl)
public:
    C_IDEEditCtrl();
    ~C_IDEEditCtrl() override;

    CDocument* GetActiveDocument() override;
    void DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine) override;
    void UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint) override;
    void ShowContextMenu(CWnd* pWnd, CPoint point) override;
    TWKEdit* GetEdit() override;
    int InitView() override;
    void OnCaretMoved() override;

    void ResetViewKeepCaret(BOOL bEnsureVisible);
    void SetCaretLineText(LPCSTR lpszText);
    void GetCaretLineSourceRect(CRect& rect);
    void GetCaretLineSource(CString& strText);
    void InvalidateGutter();
    // The rows of a paint rectangle, as WM_PAINT draws them.
    void PaintLines(CDC* pDC, const RECT& rcPaint);
    BOOL GetLinePaintColors(TWKEditLine* pLine, COLORREF* pcrBack, COLORREF* pcrText) override;
    // The context menu as it is shown: the popup inside menuBar, which the caller destroys.
    CMenu* BuildListingMenu(CMenu& menuBar);

    // Read by the parent view and tests.
    int GetCaretLine() const { return m_nCaretLine; }
    int GetTopLine() const { return m_nTopLine; }
    int GetFirstColumn() const { return m_nFirstCol; }
    int GetGutterWidth() const { return m_nTextLeft; }
    int GetCharWidth() const { return m_nCharWidth; }
    int GetLineHeight() const { return m_nLineHeight; }
    TWKEditLine* GetCaretLineNode() const { return m_pCaretLine; }

    static constexpr COLORREF kArrowColor = RGB(200, 200, 255);

protected:
    CFont* m_pFont = nullptr;   // owned; NULL when no font could be made

    C_IDEDisAsmView* ParentView() const;
    C_IDEDisAsmDoc* ListingDoc() const;
    void Notify(int nCode);

    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnPageUp();
    afx_msg void OnPageDown();
    DECLARE_MESSAGE_MAP()
};

// The part of a listing line from display column 24 on (tabs to multiples of
// 4); empty for a line that starts with a blank or tab or ends before it.
CString ListingLineSource(LPCSTR lpszLine, int nLength);
