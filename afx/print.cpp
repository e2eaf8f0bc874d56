// Printing: the print dialog, the print loop of a view and the preview.
#include "afx/print.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afx/afxres.h"

// ---------------------------------------------------------------------------
// CPrintDialog

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : m_pd(), m_pParentWnd(pParentWnd)
{
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
}

INT_PTR CPrintDialog::DoModal()
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!hOwner)
        if (CWnd* pMain = AfxGetMainWnd())
            hOwner = pMain->GetSafeHwnd();
    m_pd.hwndOwner = hOwner;
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    DWORD flags = m_pd.Flags;
    m_pd.Flags = (flags & ~PD_PRINTSETUP) | PD_RETURNDEFAULT | PD_RETURNDC;
    m_pd.hDevMode = m_pd.hDevNames = nullptr;
    BOOL ok = ::PrintDlgA(&m_pd);
    m_pd.Flags = flags;
    return ok;
}

// ---------------------------------------------------------------------------
// CPrintInfo

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)), m_rectDraw(0, 0, 0, 0)
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    // The blocks belong to the application (Print Setup), not to the job.
    if (CWinApp* pApp = AfxGetApp()) {
        if (m_pPD->m_pd.hDevMode == pApp->m_hDevMode)
            m_pPD->m_pd.hDevMode = nullptr;
        if (m_pPD->m_pd.hDevNames == pApp->m_hDevNames)
            m_pPD->m_pd.hDevNames = nullptr;
    }
    if (m_pPD->m_pd.hDevMode)
        ::GlobalFree(m_pPD->m_pd.hDevMode);
    if (m_pPD->m_pd.hDevNames)
        ::GlobalFree(m_pPD->m_pd.hDevNames);
    delete m_pPD;
}

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage();
}

// ---------------------------------------------------------------------------
// The view's printing.

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* pApp = AfxGetApp();
    PRINTDLGA& pd = pInfo->m_pPD->m_pd;
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        // No dialog: the chosen (or default) printer.
        if (!pd.hDC) {
            CDC dc;
            if (pApp && pApp->CreatePrinterDC(dc))
                pd.hDC = dc.Detach();
        }
        if (!pd.hDC && !pInfo->m_bPreview) {
            AfxMessageBox(AFX_IDP_NO_PRINTER, MB_ICONEXCLAMATION);
            return FALSE;
        }
    } else {
        pd.nFromPage = (WORD)pInfo->GetMinPage();
        pd.nToPage = (WORD)pInfo->GetMaxPage();
        if (pApp) {
            pApp->GetPrinterDeviceDefaults(&pd);
        }
        if (pInfo->m_pPD->DoModal() != IDOK)
            return FALSE;
        if (pApp) {
            // Remember the printer chosen for the next job.
            if (pApp->m_hDevMode && pApp->m_hDevMode != pd.hDevMode)
                ::GlobalFree(pApp->m_hDevMode);
            if (pApp->m_hDevNames && pApp->m_hDevNames != pd.hDevNames)
                ::GlobalFree(pApp->m_hDevNames);
            pApp->m_hDevMode = pd.hDevMode;
            pApp->m_hDevNames = pd.hDevNames;
        }
    }
    if (pApp)
        pInfo->m_nNumPreviewPages = pApp->m_nNumPreviewPages;
    return pd.hDC != nullptr || pInfo->m_bPreview;
}

BOOL CView::PrintTo(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pDC->m_hDC)
        return FALSE;
    pDC->m_bPrinting = TRUE;
    // Only a real printer has a spooler; other DCs (memory, metafile) are
    // drawn on directly.
    int tech = ::GetDeviceCaps(pDC->m_hAttribDC ? pDC->m_hAttribDC : pDC->m_hDC, TECHNOLOGY);
    bool spool = tech == DT_RASPRINTER || tech == DT_PLOTTER;

    OnBeginPrinting(pDC, pInfo);
    CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
    DOCINFOA di = {};
    di.cbSize = sizeof di;
    di.lpszDocName = title;
    if (spool && ::StartDocA(pDC->m_hDC, &di) <= 0) {
        OnEndPrinting(pDC, pInfo);
        pDC->m_bPrinting = FALSE;
        AfxMessageBox(AFX_IDP_FAILED_TO_PRINT, MB_ICONEXCLAMATION);
        return FALSE;
    }
    UINT nFrom = pInfo->GetFromPage(), nTo = pInfo->GetToPage();
    if (nTo > pInfo->GetMaxPage())
        nTo = pInfo->GetMaxPage();
    BOOL bError = FALSE;
    pInfo->m_bContinuePrinting = TRUE;
    for (pInfo->m_nCurPage = nFrom; pInfo->m_nCurPage <= nTo; ++pInfo->m_nCurPage) {
        HDC hMeasure = pDC->m_hAttribDC ? pDC->m_hAttribDC : pDC->m_hDC;
        pInfo->m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(hMeasure, HORZRES), ::GetDeviceCaps(hMeasure, VERTRES));
        OnPrepareDC(pDC, pInfo);
        if (!pInfo->m_bContinuePrinting)
            break;
        ::DPtoLP(hMeasure, reinterpret_cast<LPPOINT>(&pInfo->m_rectDraw), 2);
        if (spool && ::StartPage(pDC->m_hDC) <= 0) {
            bError = TRUE;
            break;
        }
        OnPrint(pDC, pInfo);
        if (spool && ::EndPage(pDC->m_hDC) <= 0) {
            bError = TRUE;
            break;
        }
        if (!pInfo->m_bContinuePrinting)
            break;
    }
    if (spool) {
        if (bError)
            ::AbortDoc(pDC->m_hDC);
        else
            ::EndDoc(pDC->m_hDC);
    }
    OnEndPrinting(pDC, pInfo);
    pDC->m_bPrinting = FALSE;
    return !bError;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    const MSG* pMsg = GetCurrentMessage();
    if (pMsg && pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT)
        info.m_bDirect = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    HDC hdc = info.m_pPD->m_pd.hDC;
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    PrintTo(&dc, &info);
    dc.Detach();   // the print dialog deletes it
}

void CView::OnFilePrintPreview()
{
    auto* pInfo = new CPrintInfo;
    pInfo->m_bPreview = TRUE;
    if (!OnPreparePrinting(pInfo)) {
        delete pInfo;
        return;
    }
    auto* pPreview = new CPreviewView;
    if (!pPreview->Start(this, pInfo)) {
        // Start owns the info from here and frees the view on failure.
        return;
    }
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT /*point*/, CPreviewView* pView)
{
    OnEndPrinting(pDC, pInfo);
    if (pView) {
        if (pView->m_pDocument)
            pView->m_pDocument->RemoveView(pView);
        pView->m_pPrintView = nullptr;
        pView->DestroyWindow();   // deletes the preview and its print info
    }
    if (CFrameWnd* pFrame = GetParentFrame())
        if (pFrame->GetActiveView() != this)
            pFrame->SetActiveView(this);
}

// ---------------------------------------------------------------------------
// CPreviewView

IMPLEMENT_DYNAMIC(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_WM_SIZE()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

namespace {
const int kBarHeight = 28;
}

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView()
{
    delete m_pPreviewInfo;
    m_pPreviewInfo = nullptr;
}

BOOL CPreviewView::Start(CView* pPrintView, CPrintInfo* pInfo)
{
    m_pPrintView = pPrintView;
    m_pPreviewInfo = pInfo;
    // Measuring uses the printer when there is one, else the screen.
    if (pInfo->m_pPD->m_pd.hDC)
        m_dcAttrib.Attach(::CreateCompatibleDC(pInfo->m_pPD->m_pd.hDC)), m_dcAttrib.SetAttribDC(pInfo->m_pPD->m_pd.hDC);
    else
        m_dcAttrib.Attach(::CreateCompatibleDC(nullptr));
    m_dcAttrib.m_bPrinting = TRUE;

    CWnd* pHost = pPrintView->GetParentFrame();
    if (!pHost)
        pHost = pPrintView->GetParent();
    CRect rc;
    pHost->GetClientRect(&rc);
    if (!CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, pHost, AFX_IDW_PANE_FIRST + 0xFF)) {
        delete this;
        return FALSE;
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (CDocument* pDoc = pPrintView->GetDocument())
        pDoc->AddView(this);

    struct { UINT id, ids; LPCSTR text; } buttons[] = {
        {AFX_ID_PREVIEW_PRINT, AFX_IDS_PREVIEW_PRINT, "&Print..."},
        {AFX_ID_PREVIEW_NEXT, AFX_IDS_PREVIEW_NEXT, "&Next Page"},
        {AFX_ID_PREVIEW_PREV, AFX_IDS_PREVIEW_PREV, "Pre&v Page"},
        {AFX_ID_PREVIEW_CLOSE, AFX_IDS_PREVIEW_CLOSE, "&Close"},
    };
    int x = 4;
    for (auto& b : buttons) {
        CString text;
        if (!text.LoadString(AfxGetResourceHandle(), b.ids))
            text = b.text;
        HWND hb = ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 2, 80,
                                    kBarHeight - 4, m_hWnd, (HMENU)(UINT_PTR)b.id, AfxGetInstanceHandle(), nullptr);
        ::SendMessageA(hb, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        x += 84;
    }

    pPrintView->OnBeginPrinting(&m_dcAttrib, pInfo);
    SetCurrentPage(pInfo->GetMinPage());
    if (CFrameWnd* pFrame = pPrintView->GetParentFrame())
        pFrame->SetActiveView(this, FALSE);
    return TRUE;
}

void CPreviewView::SetCurrentPage(UINT nPage)
{
    if (!m_pPreviewInfo)
        return;
    if (nPage < m_pPreviewInfo->GetMinPage())
        nPage = m_pPreviewInfo->GetMinPage();
    if (nPage > m_pPreviewInfo->GetMaxPage())
        nPage = m_pPreviewInfo->GetMaxPage();
    m_nCurrentPage = nPage;
    Invalidate(TRUE);
}

void CPreviewView::OnDraw(CDC* pDC)
{
    if (!m_pPrintView || !m_pPreviewInfo)
        return;
    CRect rc;
    GetClientRect(&rc);
    rc.top += kBarHeight;
    ::FillRect(pDC->m_hDC, &rc, (HBRUSH)(COLOR_APPWORKSPACE + 1));
    rc.DeflateRect(10, 10);
    if (rc.IsRectEmpty())
        return;

    HDC hMeasure = m_dcAttrib.m_hAttribDC ? m_dcAttrib.m_hAttribDC : m_dcAttrib.m_hDC;
    int pageW = ::GetDeviceCaps(hMeasure, HORZRES), pageH = ::GetDeviceCaps(hMeasure, VERTRES);
    if (pageW <= 0 || pageH <= 0)
        return;
    // The page keeps its proportions inside the area.
    int w = rc.Width(), h = MulDiv(w, pageH, pageW);
    if (h > rc.Height()) {
        h = rc.Height();
        w = MulDiv(h, pageW, pageH);
    }
    CRect page(rc.left + (rc.Width() - w) / 2, rc.top + (rc.Height() - h) / 2, 0, 0);
    page.right = page.left + w;
    page.bottom = page.top + h;
    ::FillRect(pDC->m_hDC, &page, (HBRUSH)::GetStockObject(WHITE_BRUSH));

    CPrintInfo& info = *m_pPreviewInfo;
    info.m_nCurPage = m_nCurrentPage;
    info.m_bContinuePrinting = TRUE;
    info.m_rectDraw.SetRect(0, 0, pageW, pageH);
    int saved = ::SaveDC(pDC->m_hDC);
    ::IntersectClipRect(pDC->m_hDC, page.left, page.top, page.right, page.bottom);
    CDC dcPage;
    dcPage.Attach(pDC->m_hDC);
    dcPage.SetAttribDC(pDC->m_hDC);
    dcPage.m_bPrinting = TRUE;
    m_pPrintView->OnPrepareDC(&dcPage, &info);
    // Printer units onto the page on the screen.
    ::SetMapMode(pDC->m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(pDC->m_hDC, pageW, pageH, nullptr);
    ::SetViewportExtEx(pDC->m_hDC, w, h, nullptr);
    ::SetViewportOrgEx(pDC->m_hDC, page.left, page.top, nullptr);
    if (info.m_bContinuePrinting)
        m_pPrintView->OnPrint(&dcPage, &info);
    dcPage.Detach();
    ::RestoreDC(pDC->m_hDC, saved);
}

void CPreviewView::OnPreviewClose()
{
    CView* pView = m_pPrintView;
    if (!pView) {
        DestroyWindow();
        return;
    }
    CPoint pt(0, 0);
    pView->OnEndPrintPreview(&m_dcAttrib, m_pPreviewInfo, pt, this);
}

void CPreviewView::OnNextPage()
{
    SetCurrentPage(m_nCurrentPage + 1);
}

void CPreviewView::OnPrevPage()
{
    if (m_nCurrentPage > 1)
        SetCurrentPage(m_nCurrentPage - 1);
}

void CPreviewView::OnPreviewPrint()
{
    CView* pView = m_pPrintView;
    OnPreviewClose();
    if (pView && ::IsWindow(pView->m_hWnd))
        pView->PostMessage(WM_COMMAND, ID_FILE_PRINT);
}

void CPreviewView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    Invalidate(TRUE);
}

int CPreviewView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}
