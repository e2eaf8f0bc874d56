#include "ide/debugger/IDEEditCtrl.h"
#include "editor/editorres.h"
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"

IMPLEMENT_DYNCREATE(C_IDEEditCtrl, TWKEditCtrl)

BEGIN_MESSAGE_MAP(C_IDEEditCtrl, TWKEditCtrl)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDBLCLK()
    ON_COMMAND(ID_TWK_PAGEUP, OnPageUp)
    ON_COMMAND(ID_TWK_PAGEDOWN, OnPageDown)
END_MESSAGE_MAP()

C_IDEEditCtrl::C_IDEEditCtrl()
{
    // The source view's font: the Japanese character set on a Japanese system.
    char szLocale[16] = {};
    ::GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_ILANGUAGE, szLocale, sizeof szLocale);
    BYTE nCharSet = lstrcmpiA(szLocale, "0411") == 0 ? 128 : 0;
    for (const char* pszFace : { "FixedSys", "8514fix" }) {
        auto* pFont = new CFont;
        if (pFont->CreateFont(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, nCharSet, OUT_TT_PRECIS, 0, 0,
                              FIXED_PITCH, pszFace)) {
            m_pFont = pFont;
            break;
        }
        delete pFont;
    }
}

C_IDEEditCtrl::~C_IDEEditCtrl()
{
    delete m_pFont;
}

C_IDEDisAsmView* C_IDEEditCtrl::ParentView() const
{
    return m_hWnd ? dynamic_cast<C_IDEDisAsmView*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))) : nullptr;
}

C_IDEDisAsmDoc* C_IDEEditCtrl::ListingDoc() const
{
    C_IDEDisAsmView* pView = ParentView();
    return pView ? dynamic_cast<C_IDEDisAsmDoc*>(pView->GetDocument()) : nullptr;
}

CDocument* C_IDEEditCtrl::GetActiveDocument()
{
    C_IDEDisAsmView* pView = ParentView();
    return pView ? pView->GetDocument() : nullptr;
}

TWKEdit* C_IDEEditCtrl::GetEdit()
{
    C_IDEDisAsmView* pView = ParentView();
    return pView ? pView->GetEdit() : nullptr;
}

int C_IDEEditCtrl::InitView()
{
    int nResult = TWKEditCtrl::InitView();
    if (m_pFont)
        SetFont(m_pFont, TRUE);
    return nResult;
}

void C_IDEEditCtrl::UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint)
{
    SendMessage(WM_SETREDRAW, FALSE);
    TWKEditCtrl::UpdateViews(pSender, lHint, pHint);
    SendMessage(WM_SETREDRAW, TRUE);
}

void C_IDEEditCtrl::DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine)
{
    TWKEditCtrl::DrawGutterMarks(pDC, pRect, pLine);
    C_IDEDisAsmDoc* pDoc = ListingDoc();
    if (!pDoc || !pLine)
        return;
    CRect rc(*pRect);
    // The breakpoint dot, as the source view draws it.
    int nState = pDoc->GetLineBreakState(pLine->nLineNo);
    if (nState != 0) {
        CRect rcDot = rc;
        rcDot.DeflateRect(2, 2);
        int d = rcDot.Width() < rcDot.Height() ? rcDot.Width() : rcDot.Height();
        rcDot.right = rcDot.left + d;
        rcDot.bottom = rcDot.top + d;
        COLORREF crPen = nState == 3 ? RGB(200, 200, 200) : RGB(255, 0, 0);
        COLORREF crFill = nState == 2 ? RGB(255, 0, 0) : nState == 3 ? RGB(200, 200, 200) : RGB(255, 255, 255);
        HPEN hPen = ::CreatePen(PS_SOLID, 1, crPen);
        HBRUSH hBrush = ::CreateSolidBrush(crFill);
        HGDIOBJ hOldPen = ::SelectObject(pDC->m_hDC, hPen);
        HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, hBrush);
        ::Ellipse(pDC->m_hDC, rcDot.left, rcDot.top, rcDot.right, rcDot.bottom);
        ::SelectObject(pDC->m_hDC, hOldBrush);
        ::SelectObject(pDC->m_hDC, hOldPen);
        ::DeleteObject(hBrush);
        ::DeleteObject(hPen);
    }
    // The program-counter arrow, in or out of debug mode.
    if (pDoc->m_nPCLine == pLine->nLineNo) {
        int m = (rc.top + rc.bottom) / 2;
        POINT pts[7] = { { rc.left, rc.top + 7 },   { rc.right - 10, rc.top + 7 }, { rc.right - 10, rc.top },
                         { rc.right, m },           { rc.right - 10, rc.bottom },  { rc.right - 10, rc.bottom - 7 },
                         { rc.left, rc.bottom - 7 } };
        HBRUSH hBrush = ::CreateSolidBrush(kArrowColor);
        HGDIOBJ hOld = ::SelectObject(pDC->m_hDC, hBrush);
        ::Polygon(pDC->m_hDC, pts, 7);
        ::SelectObject(pDC->m_hDC, hOld);
        ::DeleteObject(hBrush);
        if (TWKEdit* pEdit = GetEdit())
            pDC->SetBkColor(pEdit->m_crBackground);
    }
}

CMenu* C_IDEEditCtrl::BuildListingMenu(CMenu& menuBar)
{
    if (!menuBar.LoadMenu(IDR_DISASMTYPE))
        return nullptr;
    CMenu* pPopup = menuBar.GetSubMenu(1);
    if (!pPopup)
        return nullptr;
    C_IDEDisAsmDoc* pDoc = ListingDoc();
    int nState = pDoc ? pDoc->GetLineBreakState(m_nCaretLine) : 0;
    pPopup->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_DEBUG_TOGGLE_BREAKPOINT, "Toggle Breakpoint\tF9");
    pPopup->InsertMenu(1, MF_BYPOSITION | MF_STRING, ID_DEBUG_ENABLE_BREAKPOINT,
                       nState == 0 || nState == 1 ? "Enable Breakpoint" : "Disable Breakpoint");
    pPopup->InsertMenu(2, MF_BYPOSITION | MF_SEPARATOR);
    pPopup->InsertMenu(3, MF_BYPOSITION | MF_STRING, ID_DEBUG_MODIFY_SOURCE, "Modify Source");
    pPopup->InsertMenu(4, MF_BYPOSITION | MF_SEPARATOR);
    return pPopup;
}

void C_IDEEditCtrl::ShowContextMenu(CWnd*, CPoint point)
{
    point = PrepareContextMenu(point);
    CMenu menuBar;
    if (CMenu* pPopup = BuildListingMenu(menuBar))
        pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
    menuBar.DestroyMenu();
}

void C_IDEEditCtrl::OnCaretMoved()
{
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (pFrame && pFrame->GetStatusBar()->GetSafeHwnd()) {
        CString strText;
        strText.Format("Ln %d, Col %d", m_nCaretLine, m_nCaretCol);
        pFrame->GetStatusBar()->SetPaneText(3, strText, TRUE);
    }
    if (C_IDEDisAsmView* pView = ParentView())
        pView->SyncScrollBars();
}

void C_IDEEditCtrl::PaintLines(CDC* pDC, const RECT& rcPaint)
{
    PaintRows(*pDC, rcPaint);
}

BOOL C_IDEEditCtrl::GetLinePaintColors(TWKEditLine* pLine, COLORREF* pcrBack, COLORREF* pcrText)
{
    auto* pColors = dynamic_cast<C_IDEEdit*>(GetEdit());
    if (!pColors)
        return FALSE;
    const int nLine = pLine->nLineNo;
    const BOOL bBack = pColors->HasLineBackColor(nLine), bText = pColors->HasLineTextColor(nLine);
    if (bBack)
        *pcrBack = pColors->GetLineBackColor(nLine);
    if (bText)
        *pcrText = pColors->GetLineTextColor(nLine);
    return bBack || bText;
}

void C_IDEEditCtrl::OnSetFocus(CWnd* pOldWnd)
{
    TWKEditCtrl::OnSetFocus(pOldWnd);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_SETFOCUS, (WPARAM)pOldWnd->GetSafeHwnd());
}

void C_IDEEditCtrl::OnKillFocus(CWnd* pNewWnd)
{
    TWKEditCtrl::OnKillFocus(pNewWnd);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_KILLFOCUS, (WPARAM)pNewWnd->GetSafeHwnd());
}

void C_IDEEditCtrl::Notify(int nCode)
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    NMHDR nm = { m_hWnd, (UINT_PTR)GetDlgCtrlID(), (UINT)nCode };
    pParent->SendMessage(WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
}

void C_IDEEditCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    int nClicked = m_nLineHeight > 0 ? m_nTopLine + point.y / m_nLineHeight : m_nCaretLine;
    TWKEditCtrl::OnLButtonDblClk(nFlags, point);
    if (!GetParent())
        return;
    BOOL bGutter = point.x <= m_nTextLeft - m_nCharWidth / 2;
    // The word selection may leave the caret off the row clicked; the parent acts on the caret line.
    if (bGutter && nClicked != m_nCaretLine) {
        ClearSelection(TRUE);
        GoToLine(nClicked);
    }
    Notify(bGutter ? LISTING_NM_GUTTER_DBLCLK : NM_DBLCLK);
}

void C_IDEEditCtrl::OnPageUp()
{
    BOOL bAtTop = m_nTopLine == 1;
    TWKEditCtrl::OnPageUp();
    if (bAtTop)
        Notify(LISTING_NM_PAGEUP_AT_TOP);
}

void C_IDEEditCtrl::OnPageDown()
{
    TWKEdit* pEdit = GetEdit();
    BOOL bAtEnd = pEdit && m_nLineHeight > 0
                  && m_nTopLine + m_rcClient.bottom / m_nLineHeight > pEdit->GetLineCount();
    TWKEditCtrl::OnPageDown();
    if (bAtEnd)
        Notify(LISTING_NM_PAGEDOWN_AT_END);
}

void C_IDEEditCtrl::ResetViewKeepCaret(BOOL bEnsureVisible)
{
    int nLine = m_nCaretLine, nCol = m_nCaretCol;
    InitView();
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    if (nLine > pEdit->GetLineCount())
        nLine = pEdit->GetLineCount() > 0 ? pEdit->GetLineCount() : 1;
    m_nCaretLine = nLine;
    m_nCaretCol = nCol;
    int nRows = m_nLineHeight > 0 ? m_rcClient.bottom / m_nLineHeight : 1;
    if (nLine < m_nTopLine)
        SetTopLine(nLine, TRUE);
    else if (nLine > m_nTopLine + nRows - 1)
        SetTopLine(nLine - nRows + 1 > 1 ? nLine - nRows + 1 : 1, TRUE);
    m_pCaretLine = pEdit->GetLine(nLine);
    if (bEnsureVisible)
        EnsureCaretVisible();
    OnCaretMoved();
}

void C_IDEEditCtrl::SetCaretLineText(LPCSTR lpszText)
{
    if (!m_pCaretLine || !lpszText)
        return;
    int nLen = (int)strlen(lpszText);
    // The node keeps its place and number; only its text changes.
    if (!TWKEdit::GrowLine(m_pCaretLine, nLen + 1))
        return;
    memcpy(m_pCaretLine->pText, lpszText, nLen);
    m_pCaretLine->pText[nLen] = 0;
    m_pCaretLine->nLength = nLen;
    Invalidate(TRUE);
    UpdateWindow();
}

void C_IDEEditCtrl::GetCaretLineSourceRect(CRect& rect)
{
    GetClientRect(&rect);
    POINT pt = { 0, 0 };
    ::GetCaretPos(&pt);
    if (m_nLineHeight > 0) {
        rect.top = (pt.y / m_nLineHeight) * m_nLineHeight;
        rect.bottom = rect.top + m_nLineHeight;
    }
    rect.left = LISTING_SOURCE_COLUMN * m_nCharWidth + m_nTextLeft;
}

CString ListingLineSource(LPCSTR lpszLine, int nLength)
{
    if (!lpszLine || nLength <= 0 || !*lpszLine || *lpszLine == ' ' || *lpszLine == '\t')
        return CString();
    int nCol = 1;
    int i = 0;
    for (; i < nLength && lpszLine[i]; i++) {
        if (nCol >= LISTING_SOURCE_COLUMN + 1)
            break;
        nCol = lpszLine[i] == '\t' ? ((nCol - 1) / 4 + 1) * 4 + 1 : nCol + 1;
    }
    if (nCol < LISTING_SOURCE_COLUMN + 1 || i >= nLength || !lpszLine[i])
        return CString();
    CString strText(lpszLine + i, nLength - i);
    int n = strText.GetLength();
    if (n >= 2 && strText.Right(2) == "\r\n")
        strText = strText.Left(n - 2);
    else if (n >= 1 && (strText[n - 1] == '\n' || strText[n - 1] == '\r'))
        strText = strText.Left(n - 1);
    return strText;
}

void C_IDEEditCtrl::GetCaretLineSource(CString& strText)
{
    strText.Empty();
    if (m_pCaretLine && m_pCaretLine->pText)
        strText = ListingLineSource(m_pCaretLine->pText, m_pCaretLine->nLength);
}

void C_IDEEditCtrl::InvalidateGutter()
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    rc.right = m_nTextLeft;
    InvalidateRect(&rc, TRUE);
}
