#include "ide/workbench/IDEEditView.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/MainFrm.h"

IMPLEMENT_DYNCREATE(C_IDEEditView, TWKEditView)

namespace {
const UINT s_nFindReplaceMsg = ::RegisterWindowMessageA("commdlg_FindReplace");
}

BEGIN_MESSAGE_MAP(C_IDEEditView, TWKEditView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    // Answered here before the engine's own handlers of the same message.
    ON_REGISTERED_MESSAGE(s_nFindReplaceMsg, OnFindReplace)
    ON_COMMAND(ID_TWK_FINDNEXT, OnFindNext)
    ON_UPDATE_COMMAND_UI(ID_TWK_FINDNEXT, OnUpdateFindNext)
END_MESSAGE_MAP()

C_IDEEditView::C_IDEEditView() = default;

C_IDEEditView::~C_IDEEditView()
{
    delete m_pFont;
}

BYTE C_IDEEditView::CharSetForLanguage(LPCSTR lpszLanguage)
{
    return lpszLanguage && lstrcmpA(lpszLanguage, "0411") == 0 ? SHIFTJIS_CHARSET : ANSI_CHARSET;
}

BOOL C_IDEEditView::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL bResult = TWKEditView::PreCreateWindow(cs);
    cs.style &= ~(LONG)0x80;
    return bResult;
}

int C_IDEEditView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (TWKEditView::OnCreate(lpCreateStruct) == -1)
        return -1;
    char szLanguage[5] = "";
    ::GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_ILANGUAGE, szLanguage, sizeof szLanguage);
    BYTE nCharSet = CharSetForLanguage(szLanguage);
    m_pFont = new CFont;
    BOOL bMade = FALSE;
    for (LPCSTR pszFace : {"FixedSys", "8514fix"}) {
        bMade = m_pFont->CreateFont(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, nCharSet, OUT_DEVICE_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, pszFace);
        if (bMade)
            break;
    }
    if (!bMade) {
        // The engine's font stays.
        delete m_pFont;
        m_pFont = nullptr;
    }
    m_pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return 0;
}

void C_IDEEditView::OnSetFocus(CWnd* pOldWnd)
{
    TWKEditView::OnSetFocus(pOldWnd);
    m_bActive = TRUE;
    // The caret may have moved while another window had the focus (a line shown from the
    // Build page): the pane shows this view's caret from now on.
    OnCaretMoved();
}

void C_IDEEditView::OnKillFocus(CWnd* pNewWnd)
{
    TWKEditView::OnKillFocus(pNewWnd);
    m_bActive = FALSE;
}

void C_IDEEditView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    m_bActive = bActivate;
    if (bActivate)
        OnCaretMoved();
    TWKEditView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void C_IDEEditView::OnDraw(CDC*)
{
    // The engine's paint handler draws everything.
}

void C_IDEEditView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView)
{
    if (m_pDocument && pView)
        m_pDocument->RemoveView(reinterpret_cast<CView*>(pView));
    TWKEditView::OnEndPrintPreview(pDC, pInfo, point, pView);
}

int C_IDEEditView::InitView()
{
    int nResult = TWKEditView::InitView();
    if (m_pFont)
        SetFont(m_pFont, TRUE);
    return nResult;
}

void C_IDEEditView::OnCaretMoved()
{
    if (!m_bActive || !m_pMainFrame || !::IsWindow(m_pMainFrame->GetStatusBar()->GetSafeHwnd()))
        return;
    CString strText;
    strText.Format("Ln %d, Col %d", m_nCaretLine, m_nCaretCol + 1);
    m_pMainFrame->GetStatusBar()->SetPaneText(3, strText, TRUE);
}

void C_IDEEditView::SetMarkerLine(int CAsmIDEDoc::*pnDocLine, int nLine)
{
    auto* pDoc = dynamic_cast<CAsmIDEDoc*>(GetDocument());
    if (!pDoc)
        return;
    if (nLine <= 0)
        pDoc->*pnDocLine = -1;
    else {
        pDoc->*pnDocLine = nLine;
        GoToLine(nLine);
    }
    SetFocus();
    pDoc->RefreshMarkers();
}

void C_IDEEditView::SetPCLine(int nLine)
{
    SetMarkerLine(&CAsmIDEDoc::m_nPCLine, nLine);
}

void C_IDEEditView::InvalidateGutter()
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    rc.right = rc.left + m_nTextLeft;
    InvalidateRect(&rc, TRUE);
}

void C_IDEEditView::ResetAfterReload()
{
    int nLine = m_nCaretLine, nCol = m_nCaretCol;
    InitView();
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    int nCount = pEdit->GetLineCount();
    m_nCaretLine = nLine < 1 ? 1 : (nCount > 0 && nLine > nCount ? nCount : nLine);
    m_nCaretCol = nCol;
    int nRows = VisibleRows() > 0 ? VisibleRows() : 1;
    if (m_nCaretLine < m_nTopLine)
        SetTopLine(m_nCaretLine, FALSE);
    else if (m_nCaretLine > m_nTopLine + nRows - 1)
        SetTopLine(m_nCaretLine - nRows + 1, FALSE);
    m_pCaretLine = pEdit->GetLine(m_nCaretLine);
    if (m_bActive)
        EnsureCaretVisible();
    OnCaretMoved();
}

// ---- titles

void ShortenPathToWidth(CString& strPath, int nDivisor)
{
    char szBuffer[MAX_PATH];
    lstrcpynA(szBuffer, strPath, sizeof szBuffer);
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->m_hWnd || nDivisor <= 0)
        return;
    CRect rc;
    pMain->GetWindowRect(&rc);
    rc.right /= nDivisor;
    // A memory context has the default font a fresh window's context has.
    HDC hDC = ::CreateCompatibleDC(nullptr);
    if (!hDC)
        return;
    ::DrawTextA(hDC, szBuffer, -1, &rc, DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX);
    ::DeleteDC(hDC);
    strPath = szBuffer;
}
