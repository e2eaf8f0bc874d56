// The editing window as a document view: update hints between the views of
// one text, scroll synchronisation between splitter panes, and printing with
// a header and a footer.
#pragma once
#include "editor/window/TWKEditCore.h"

class TWKEditView : public TWKEditCore<CView>
{
    DECLARE_DYNCREATE(TWKEditView)
public:
    TWKEditView();
    ~TWKEditView() override;

    COleDropTarget m_dropTarget;
    CUIntArray m_arrPageStarts;        // element i: number of the first line of page i + 1
    CUIntArray m_arrPageRows;          // element i: printed row of that line where page i + 1 starts

    // Cleared by the first activation of any view in the process.
    static BOOL s_bFirstActivation;

    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint) override;
    CDocument* GetActiveDocument() override;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) override;
    void OnDragLeave() override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // A heap copy (free()) of the selected text; *pbColumn tells a column
    // block. NULL without a selection range.
    LPSTR CopySelectedText(BOOL* pbColumn);

protected:
    // Takes over another pane's top line; the caret stays this pane's own.
    void TakeTopLine(TWKEditView* pOther);
    // Characters in one printed row, the same for pagination and printing.
    static int PrintCharsPerRow(HDC hDC);
    CString PrintFileName();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    DECLARE_MESSAGE_MAP()
};
