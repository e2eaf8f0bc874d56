// Printing: the print dialog the view's printing runs, the state of one
// print job and the simple preview window.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include "afx/docview.h"

// The system's print dialog (PrintDlg) over a public PRINTDLG.
class CPrintDialog
{
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = NULL);
    virtual ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    virtual INT_PTR DoModal();
    // The default printer without showing anything; FALSE when there is none.
    BOOL GetDefaults();
    // The DC the dialog made (PD_RETURNDC); the dialog keeps owning it.
    HDC GetPrinterDC() const { return m_pd.hDC; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }

    PRINTDLGA m_pd;
    CWnd* m_pParentWnd;
};

// One print job (or preview) as the view's printing virtuals see it.
class CPrintInfo
{
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = (WORD)nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = (WORD)nMaxPage; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    // 0xFFFF: not known (only page 1 prints unless OnPrepareDC says more).
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;          // owned
    BOOL m_bDirect = FALSE;       // no dialog (Print Direct)
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 0;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;             // the printable page, in logical units
};

// Command ids of the preview window.
#define AFX_ID_PREVIEW_CLOSE    0xE300
#define AFX_ID_PREVIEW_NEXT     0xE302
#define AFX_ID_PREVIEW_PREV     0xE303
#define AFX_ID_PREVIEW_PRINT    0xE304

// Shows the pages of a view through its printing virtuals, one at a time,
// over the view's frame. Close (0xE300) ends it through the view's
// OnEndPrintPreview.
class CPreviewView : public CView
{
    DECLARE_DYNAMIC(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    // Starts the preview of pPrintView (which keeps pInfo until the end).
    BOOL Start(CView* pPrintView, CPrintInfo* pInfo);
    void OnDraw(CDC* pDC) override;
    void SetCurrentPage(UINT nPage);
    UINT GetCurrentPage() const { return m_nCurrentPage; }

    CView* m_pPrintView = nullptr;
    CPrintInfo* m_pPreviewInfo = nullptr;   // owned
    CDC m_dcAttrib;                         // the printer (or the screen) for measuring
    UINT m_nCurrentPage = 1;

protected:
    afx_msg void OnPreviewClose();
    afx_msg void OnNextPage();
    afx_msg void OnPrevPage();
    afx_msg void OnPreviewPrint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
