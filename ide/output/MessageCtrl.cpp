// One page of the output window: a read-only engine control whose lines
// mirror its records.
#include "ide/output/MessageBar.h"
#include "resources/ideres.h"
#include "support/text/CUString.h"
#include "support/text/TextHelpers.h"
#include "framework/frames/TWKStatusBar.h"
#include <cstring>

CString g_strMessageLog;
BOOL g_bMessageLog = FALSE;
void (*g_pfnOutputRecordDropped)(tagMessageRecord* pRecord) = nullptr;

namespace {
void DeleteRecord(tagMessageRecord* pRecord)
{
    if (pRecord && pRecord->receiverWord && g_pfnOutputRecordDropped)
        g_pfnOutputRecordDropped(pRecord);
    delete pRecord;
}

// Text and file fields of a copy: at most 255 characters and a NUL.
void CopyField(char (&dest)[256], const char* src)
{
    size_t n = strnlen(src, 255);
    memcpy(dest, src, n);
    dest[n] = '\0';
}
} // namespace

// ---------------------------------------------------------------- colours

C_MessageCtrl::C_IDEEditLineColorList::C_IDEEditLineColorList()
    : m_pEntries(new Entry[OUTPUT_MAX_LINES]())
{
}

C_MessageCtrl::C_IDEEditLineColorList::~C_IDEEditLineColorList()
{
    delete[] m_pEntries;
}

void C_MessageCtrl::C_IDEEditLineColorList::DropFirst()
{
    m_pEntries[m_nFirst] = Entry{ FALSE, m_crDefault };
    m_nFirst = (m_nFirst + 1) % m_nSize;
}

void C_MessageCtrl::C_IDEEditLineColorList::Reset()
{
    for (int i = 0; i < m_nSize; i++)
        m_pEntries[i] = Entry{ FALSE, m_crDefault };
    m_nFirst = 0;
}

// ---------------------------------------------------------------- the page

IMPLEMENT_DYNAMIC(C_MessageCtrl, C_IndicatorEditCtrl)

BEGIN_MESSAGE_MAP(C_MessageCtrl, C_IndicatorEditCtrl)
    ON_WM_CREATE()
    ON_MESSAGE(CU_WM_MESSAGE_RECORD, OnAddMessage)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_OUTPUT_CLEAR, OnClear)
END_MESSAGE_MAP()

C_MessageCtrl::C_MessageCtrl(C_MessageWnd* pOwner) : m_pOwner(pOwner)
{
}

C_MessageCtrl::~C_MessageCtrl()
{
    Clear(FALSE);
}

BOOL C_MessageCtrl::Create(CWnd* pParent, UINT nID)
{
    if (!CWnd::Create(nullptr, "TWKEdit", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, CRect(0, 0, 0, 0),
                      pParent, nID))
        return FALSE;
    // The tab window's bars serve the page; its own go.
    ShowScrollBar(SB_BOTH, FALSE);
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
    return TRUE;
}

int C_MessageCtrl::OnCreate(LPCREATESTRUCT lpcs)
{
    if (C_IndicatorEditCtrl::OnCreate(lpcs) == -1)
        return -1;
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    if (TWKEdit* pEdit = GetEdit())
        pEdit->SetReadOnly(TRUE);
    m_pLastLine = nullptr;
    return 0;
}

CString C_MessageCtrl::FormatLine(const tagMessageRecord* pRec, int nMode)
{
    CString str;
    if (nMode == 1 && pRec->fileName[0] && pRec->kind != CU_REC_MESSAGE) {
        str = pRec->fileName;
        str += " : ";
    }
    str += pRec->text;
    return str;
}

COLORREF C_MessageCtrl::KindColor(int nKind)
{
    switch (nKind) {
    case CU_REC_MESSAGE: return RGB(0, 0, 128);
    case CU_REC_WARNING: return RGB(0, 128, 0);
    case CU_REC_ERROR: return RGB(255, 0, 0);
    case CU_REC_HIGHLIGHT: return RGB(128, 0, 0);
    default: return RGB(0, 0, 0);
    }
}

BOOL C_MessageCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // A flood of records renumbers once, when something else comes.
    if (m_bRenumber && message != CU_WM_MESSAGE_RECORD) {
        if (TWKEdit* pEdit = m_pEdit)
            if (pEdit->m_pFirstLine)
                TWKEdit::RenumberLines(pEdit->m_pFirstLine);
        m_bRenumber = FALSE;
    }
    return C_IndicatorEditCtrl::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT C_MessageCtrl::OnAddMessage(WPARAM, LPARAM lParam)
{
    const auto* pRec = reinterpret_cast<const tagMessageRecord*>(lParam);
    if (!pRec)
        return 0;
    switch (pRec->kind) {
    case CU_REC_START_LOG:
        m_strLogPath = CString(pRec->fileName, (int)strnlen(pRec->fileName, 255));
        // A new log: the previous project's lines are not this one's.
        g_strMessageLog.Empty();
        g_bMessageLog = TRUE;
        break;
    case CU_REC_WRITE_LOG:
        WriteLog();
        break;
    default:
        AddRecord(pRec);
        break;
    }
    return 0;
}

void C_MessageCtrl::WriteLog()
{
    HANDLE h = ::CreateFileA(m_strLogPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (g_strMessageLog.IsEmpty())
            return;
        h = ::CreateFileA("ZideMsg.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return;
    }
    DWORD nLength = (DWORD)g_strMessageLog.GetLength(), nWritten = 0;
    BOOL bOK = nLength == 0 || (::WriteFile(h, (LPCSTR)g_strMessageLog, nLength, &nWritten, nullptr) &&
                                nWritten == nLength);
    ::CloseHandle(h);
    if (!bOK)
        AfxMessageBox("File Exception!");
}

void C_MessageCtrl::AddRecord(const tagMessageRecord* pRec)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    if (++m_nLines > OUTPUT_MAX_LINES) {
        DropOldestLine();
        m_nLines = OUTPUT_MAX_LINES;
    }
    COLORREF cr = KindColor(pRec->kind);
    pEdit->m_crDefaultText = cr;
    m_colors.At(m_nLines) = { TRUE, cr };

    auto* pCopy = new tagMessageRecord();
    pCopy->kind = pRec->kind;
    CopyField(pCopy->fileName, pRec->fileName);
    pCopy->line = pRec->line;
    C_CUString strText(std::string(pRec->text, strnlen(pRec->text, 255)));
    ExpandTabsInString(&strText, 4);
    CopyField(pCopy->text, strText.c_str());
    pCopy->receiverWord = 0;
    BOOL bFirst = m_records.IsEmpty();
    m_records.AddTail(pCopy);

    CString strLine = FormatLine(pCopy, 1) + "\r\n";
    AppendLine(strLine, bFirst);
    if (g_bMessageLog)
        g_strMessageLog += strLine;
}

void C_MessageCtrl::DropOldestLine()
{
    TWKEdit* pEdit = GetEdit();
    if (!m_records.IsEmpty())
        DeleteRecord(m_records.RemoveHead());
    m_colors.DropFirst();
    TWKEditLine* pFirst = pEdit->m_pFirstLine;
    if (!pFirst || !pFirst->pNext)
        return;
    TWKEditLine* pNext = pFirst->pNext;
    // The window's pointers into the line move to its successor.
    if (m_pTopLine == pFirst)
        m_pTopLine = pNext;
    else if (m_nTopLine > 1)
        m_nTopLine--;
    if (m_pCaretLine == pFirst)
        m_pCaretLine = pNext;
    else if (m_nCaretLine > 1)
        m_nCaretLine--;
    if (m_pSelStartLine == pFirst || m_pSelEndLine == pFirst || m_pAnchorLine == pFirst)
        ClearSelection(FALSE);
    if (m_pAnchorLine == pFirst)
        m_pAnchorLine = nullptr;
    TWKEdit::UnlinkLine(pFirst);
    pEdit->m_pFirstLine = pNext;
    if (pFirst->dwFlags & LINE_BOOKMARK)
        pEdit->m_nBookmarkCount--;
    TWKEdit::FreeLine(pFirst);
    pEdit->m_nLineCount--;
    if (m_nIndicatorLine > 0)
        m_nIndicatorLine = m_nIndicatorLine > 1 ? m_nIndicatorLine - 1 : -1;
    m_bRenumber = TRUE;
}

void C_MessageCtrl::AppendLine(const CString& strLine, BOOL bFirst)
{
    TWKEdit* pEdit = GetEdit();
    int nLength = strLine.GetLength();
    TWKEditLine* pLine;
    if (bFirst) {
        pLine = pEdit->m_pFirstLine;
        if (!pLine || !TWKEdit::GrowLine(pLine, nLength + 1))
            return;
        pLine->nLineNo = 1;
    } else {
        TWKEditLine* pLast = m_pLastLine ? m_pLastLine : TWKEdit::GetLastLine(pEdit->m_pFirstLine);
        pLine = TWKEdit::NewLine(nLength + 1);
        if (!pLine || !pLast) {
            TWKEdit::FreeLine(pLine);
            return;
        }
        pEdit->InsertLineAfter(pLine, pLast);
        pLine->nLineNo = pLast->nLineNo + 1;
        pEdit->m_nLineCount++;
    }
    memcpy(pLine->pText, (LPCSTR)strLine, nLength);
    pLine->pText[nLength] = '\0';
    pLine->nLength = nLength;
    m_pLastLine = pLine;

    // The caret to the new line, kept in view.
    int nCount = pEdit->m_nLineCount;
    m_pCaretLine = pLine;
    m_nCaretLine = nCount;
    m_nCaretCol = 0;
    int nRows = VisibleRows() > 0 ? VisibleRows() : 1;
    if (!m_pTopLine || m_nCaretLine - m_nTopLine >= nRows || m_nCaretLine < m_nTopLine) {
        m_pTopLine = pLine;
        m_nTopLine = nCount;
        while (m_pTopLine->pPrev && m_nCaretLine - m_nTopLine < nRows - 1)
            m_pTopLine = m_pTopLine->pPrev, m_nTopLine--;
    }
    if (m_hWnd) {
        // The invalidation asks the window system: a flood of records pays
        // for it once per paint, not once per line. The bar follows with the
        // paint the invalidation brings.
        if (!m_bPaintPending) {
            Invalidate(FALSE);
            m_bPaintPending = TRUE;
        }
        if (m_bDeferCaret)
            m_bCaretPending = TRUE;
        else if (::GetFocus() == m_hWnd) {
            PositionCaret();
            OnCaretMoved();
        }
    }
}

void C_MessageCtrl::DeferCaret(BOOL bDefer)
{
    m_bDeferCaret = bDefer;
    if (bDefer || !m_bCaretPending)
        return;
    m_bCaretPending = FALSE;
    if (m_hWnd && ::GetFocus() == m_hWnd) {
        PositionCaret();
        OnCaretMoved();
    }
}

void C_MessageCtrl::UpdateVertBar()
{
    TWKEdit* pEdit = GetEdit();
    SCROLLINFO si = { sizeof si, SIF_ALL | SIF_DISABLENOSCROLL };
    si.nMin = 0;
    si.nMax = pEdit ? pEdit->m_nLineCount - 1 : 0;
    si.nPage = (UINT)(VisibleRows() > 0 ? VisibleRows() : 1);
    si.nPos = m_nTopLine - 1;
    if (m_pOwner)
        m_pOwner->SetPageScrollInfo(SB_VERT, this, &si, FALSE);
}

CScrollBar* C_MessageCtrl::GetScrollBarCtrl(int nBar) const
{
    // The tab window's bar while this page shows; a hidden page keeps its
    // position in the engine's members and sets the bar after its paint.
    if (m_pOwner && m_pOwner->m_hWnd && m_pOwner->GetActivePage() == this)
        return static_cast<CScrollBar*>(m_pOwner->GetScrollBar(nBar == SB_HORZ ? 0 : 1, const_cast<C_MessageCtrl*>(this)));
    return nullptr;
}

void C_MessageCtrl::Clear(BOOL bEmptyText)
{
    while (!m_records.IsEmpty())
        DeleteRecord(m_records.RemoveHead());
    m_nLines = 0;
    m_colors.Reset();
    if (!m_hWnd)
        return;
    SetIndicatorLine(-1);
    if (bEmptyText) {
        SetText("");
        m_pLastLine = nullptr;
        m_bRenumber = FALSE;
        Invalidate(TRUE);
        UpdateVertBar();
    }
}

BOOL C_MessageCtrl::HasSelection()
{
    if (!m_hWnd || !m_bSelection)
        return FALSE;
    CString str;
    BOOL bColumn = FALSE;
    GetSelectedText(str, &bColumn);
    return !str.IsEmpty();
}

CString C_MessageCtrl::GetLineText(int nLine)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditLine* p = pEdit ? pEdit->m_pFirstLine : nullptr;
    for (int i = 1; p && i < nLine; i++)
        p = p->pNext;
    if (!p || nLine < 1 || !p->pText)
        return CString();
    CString str(p->pText, p->nLength);
    str.TrimRight("\r\n");
    return str;
}

void C_MessageCtrl::OnClear()
{
    Clear(TRUE);
}

BOOL C_MessageCtrl::OnEraseBkgnd(CDC* pDC)
{
    return (BOOL)Default();
}

void C_MessageCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    C_IndicatorEditCtrl::OnLButtonDblClk(nFlags, point);
    int nLine = m_nCaretLine;
    if (nLine < 1 || nLine > m_records.GetCount())
        return;
    tagMessageRecord* pRec = m_records.GetAt(m_records.FindIndex(nLine - 1));
    if (pRec->kind == CU_REC_MESSAGE || pRec->line == 0)
        return;
    if (CWnd* pMain = AfxGetMainWnd())
        if (auto* pStatus = dynamic_cast<TWKStatusBar*>(pMain->GetDlgItem(AFX_IDW_STATUS_BAR)))
            pStatus->SetPaneText(0, FormatLine(pRec, 2));
    SetIndicatorLine(nLine);
    if (m_hNotify)
        ::SendMessageA(m_hNotify, WM_OUTPUT_NAVIGATE, 1, reinterpret_cast<LPARAM>(pRec));
}

void C_MessageCtrl::ShowContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_OUTPUT_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    if (point.x == -1 && point.y == -1) {
        point = CPoint(5, 5);
        ClientToScreen(&point);
    }
    pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void C_MessageCtrl::OnCaretMoved()
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain)
        return;
    HWND hBar = ::FindWindowExA(pMain->m_hWnd, nullptr, "msctls_statusbar32", nullptr);
    auto* pStatus = dynamic_cast<TWKStatusBar*>(CWnd::FromHandlePermanent(hBar));
    if (!pStatus)
        return;
    CString str;
    str.Format("Ln %d, Col %d", m_nCaretLine, m_nCaretCol + 1);
    pStatus->SetPaneText(3, str, TRUE);
}

void C_MessageCtrl::OnPaint()
{
    m_bPaintPending = FALSE;
    CPaintDC dc(this);
    PaintLines(&dc);
    UpdateVertBar();
    if (m_pOwner) {
        SCROLLINFO si = { sizeof si, SIF_ALL | SIF_DISABLENOSCROLL };
        si.nMax = 255;
        si.nPage = (UINT)(VisibleCols() > 0 ? VisibleCols() : 1);
        si.nPos = m_nFirstCol;
        m_pOwner->SetPageScrollInfo(SB_HORZ, this, &si, TRUE);
    }
}

void C_MessageCtrl::PaintLines(CDC* pDC)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || m_nLineHeight <= 0)
        return;
    CFont* pOldFont = pDC->SelectObject(&m_font);
    COLORREF crBack = ::GetSysColor(COLOR_WINDOW);
    pDC->SetBkColor(crBack);
    const RECT& rcPaint = static_cast<CPaintDC*>(pDC)->m_ps.rcPaint;
    char szText[TWK_LINE_BUFFER];
    int nCols = VisibleCols() + 1;
    TWKEditLine* p = m_pTopLine;
    int nLineNo = m_nTopLine;
    for (int y = 0; y < rcPaint.bottom; y += m_nLineHeight, p = p ? p->pNext : nullptr, nLineNo++) {
        if (y + m_nLineHeight <= rcPaint.top)
            continue;
        RECT rcGutter = { 0, y, m_nTextLeft, y + m_nLineHeight };
        pDC->FillRect(&rcGutter, &m_brGutter);
        if (p)
            DrawGutterMarks(pDC, &rcGutter, p);
        RECT rcText = { m_nTextLeft, y, m_rcClient.right, y + m_nLineHeight };
        ::FillRect(pDC->m_hDC, &rcText, (HBRUSH)m_brBackground.m_hObject ? (HBRUSH)m_brBackground.m_hObject
                                                                          : ::GetSysColorBrush(COLOR_WINDOW));
        if (!p)
            continue;
        int nLen = p->pText && p->nLength > 0
                       ? ExpandTabs(p->pText, szText, p->nLength, pEdit->m_nTabSize, pEdit->m_nLineEndLen)
                       : 0;
        while (nLen > 0 && (szText[nLen - 1] == '\r' || szText[nLen - 1] == '\n'))
            nLen--;
        pDC->SetBkColor(crBack);
        pDC->SetTextColor(m_colors.Color(nLineNo));
        int n = nLen - m_nFirstCol;
        if (n > 0)
            ::TextOutA(pDC->m_hDC, m_nTextLeft, y, szText + m_nFirstCol, n < nCols ? n : nCols);
        if (m_bSelection && pEdit->m_pFocusWnd == this) {
            int nStart = 0, nCount = 0;
            if (GetLineSelection(p, nLen, &nStart, &nCount)) {
                nStart -= m_nFirstCol;
                if (nStart < 0)
                    nCount += nStart, nStart = 0;
                if (nCount > 0)
                    pDC->PatBlt(m_nTextLeft + nStart * m_nCharWidth, y, nCount * m_nCharWidth, m_nLineHeight,
                                DSTINVERT);
            }
        }
    }
    pDC->SelectObject(pOldFont);
}
