#include "ide/debugger/IDEIceBars.h"
#include "components/include/IceInterface.h"
#include "editor/editorres.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditorView.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"
#include <cstdlib>

namespace {

// Fills the bar's inside with its one window.
void FitToBar(TWKControlBar* pBar, CWnd* pWnd)
{
    if (!pWnd->GetSafeHwnd())
        return;
    CRect rc;
    pBar->GetInsideRect(rc);
    pWnd->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

CMainFrame* MainFrame()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

} // namespace

// ---- the indicator control

void C_IDEIndicatorEditCtrl::SetIndicatorLine(int nLine)
{
    if (!m_hWnd) {
        C_IndicatorEditCtrl::SetIndicatorLine(nLine);
        return;
    }
    // Toggling the caret line's bookmark twice repaints its gutter and leaves the mark as it was.
    SendMessage(WM_COMMAND, ID_TWK_TOGGLEBOOKMARK);
    SendMessage(WM_COMMAND, ID_TWK_TOGGLEBOOKMARK);
    int nOld = m_nIndicatorLine;
    C_IndicatorEditCtrl::SetIndicatorLine(nLine);
    if (nOld != -1) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    SendMessage(WM_COMMAND, ID_TWK_TOGGLEBOOKMARK);
    SendMessage(WM_COMMAND, ID_TWK_TOGGLEBOOKMARK);
}

// ---- the call-stack window and bar

BEGIN_MESSAGE_MAP(C_IDEIceCallStackWnd, C_IDEIndicatorEditCtrl)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

void C_IDEIceCallStackWnd::Refresh()
{
    if (!m_hWnd || !m_pUIMgr || !m_pUIMgr->GetIceMgr())
        return;
    I_IceCallStack* pStack = nullptr;
    if (!m_pUIMgr->GetIceMgr()->GetInterface(ICE_IID_CALL_STACK, reinterpret_cast<void**>(&pStack)) || !pStack
        || pStack->StartLines() != 0)
        return;
    CString strText;
    const char* pszLine = nullptr;
    while (pStack->GetNextLine(&pszLine) == 0) {
        strText += pszLine ? pszLine : "";
        strText += "\r\n";
    }
    SetText(strText);
}

void C_IDEIceCallStackWnd::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    C_IDEIndicatorEditCtrl::OnLButtonDblClk(nFlags, point);
    int nLine = m_nCaretLine;
    SetIndicatorLine(nLine);
    if (m_pUIMgr)
        m_pUIMgr->SelectCallStackFrame(nLine - 1);
}

BEGIN_MESSAGE_MAP(C_IDEIceCallStackBar, TWKControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

// A stop fills the lines only while the bar is shown: shown later, at a stop, it asks for them.
// (The frame shows its bars by their positions, not by ShowWindow.)
void C_IDEIceCallStackBar::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    TWKControlBar::OnWindowPosChanged(lpwndpos);
    C_IDEIceUIMgr* pUIMgr = m_CallStackWnd.UIMgr();
    if ((lpwndpos->flags & SWP_SHOWWINDOW) && pUIMgr && pUIMgr->GetIceMgr() && !pUIMgr->GetIceMgr()->IsBusy())
        m_CallStackWnd.Refresh();
}

int C_IDEIceCallStackBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_CallStackWnd.Create(nullptr, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                               IDC_ICE_CALLSTACK_WND))
        return -1;
    m_CallStackWnd.ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
    return 0;
}

void C_IDEIceCallStackBar::OnSize(UINT nType, int cx, int cy)
{
    FitToBar(this, &m_CallStackWnd);
    TWKControlBar::OnSize(nType, cx, cy);
}

void C_IDEIceCallStackBar::OnDestroy()
{
    if (m_CallStackWnd.GetSafeHwnd())
        m_CallStackWnd.DestroyWindow();
    TWKControlBar::OnDestroy();
}

// ---- the history window and bar

BOOL ParseHistoryAddress(LPCSTR lpszLine, DWORD* pA, DWORD* pB, CString* pstrText)
{
    char szHead[8] = {};
    lstrcpynA(szHead, lpszLine ? lpszLine : "", sizeof szHead);
    if (strlen(szHead) < 7)
        return FALSE;
    char szA[3] = { szHead[0], szHead[1], 0 };
    char szB[5] = { szHead[3], szHead[4], szHead[5], szHead[6], 0 };
    char* pEnd = nullptr;
    // strtoul takes a sign, blanks and "0x": the digits must be plain and all used.
    if (!isxdigit((unsigned char)szA[0]))
        return FALSE;
    DWORD a = strtoul(szA, &pEnd, 16);
    if (pEnd != szA + 2)
        return FALSE;
    if (!isxdigit((unsigned char)szB[0]))
        return FALSE;
    DWORD b = strtoul(szB, &pEnd, 16);
    if (pEnd != szB + 4)
        return FALSE;
    *pA = a;
    *pB = b;
    if (pstrText)
        pstrText->Format("%s:%s", szA, szB);
    return TRUE;
}

BEGIN_MESSAGE_MAP(C_IDEIceHistoryEdit, CRichEditCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CONTEXTMENU()
    ON_WM_RBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

C_IDEIceHistoryEdit::~C_IDEIceHistoryEdit()
{
    delete m_pFont;
}

int C_IDEIceHistoryEdit::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CRichEditCtrl::OnCreate(lpcs) == -1)
        return -1;
    static const char* const kFaces[] = { "FixedSys", "8514fix" };
    for (const char* pszFace : kFaces) {
        auto* pFont = new CFont;
        if (pFont->CreateFont(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, OUT_TT_PRECIS, 0, 0, FIXED_PITCH,
                              pszFace)) {
            m_pFont = pFont;
            SetFont((HFONT)m_pFont->GetSafeHandle());
            break;
        }
        delete pFont;
    }
    return 0;
}

void C_IDEIceHistoryEdit::OnDestroy()
{
    if (CMainFrame* pFrame = MainFrame())
        if (pFrame->m_pEditWnd == this)
            pFrame->m_pEditWnd = nullptr;
    CRichEditCtrl::OnDestroy();
}

BOOL C_IDEIceHistoryEdit::BuildContextMenu(CMenu& menu)
{
    if (!menu.CreatePopupMenu())
        return FALSE;
    I_ZIceMgr* pIce = m_pUIMgr ? m_pUIMgr->GetIceMgr() : nullptr;
    UINT nBusy = pIce && pIce->IsBusy() ? MF_GRAYED : MF_ENABLED;
    menu.AppendMenu(MF_STRING | nBusy, ID_DEBUG_RELOAD_HISTORY, "Reload History");
    menu.AppendMenu(MF_STRING | (m_bAutoReload ? MF_CHECKED : MF_UNCHECKED), ID_DEBUG_AUTO_RELOAD, "Auto Reload");
    if (pIce && pIce->IsStatus200()) {
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | nBusy, ID_DEBUG_CLEAR_HISTORY, "Clear History");
    }
    return TRUE;
}

void C_IDEIceHistoryEdit::OnContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!BuildContextMenu(menu))
        return;
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, GetParent());
}

void C_IDEIceHistoryEdit::OnRButtonUp(UINT, CPoint point)
{
    ClientToScreen(&point);
    OnContextMenu(this, point);
}

void C_IDEIceHistoryEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->m_pEditWnd = this;
    CRichEditCtrl::OnLButtonDown(nFlags, point);
}

void C_IDEIceHistoryEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE) {
        CMainFrame* pFrame = MainFrame();
        CFrameWnd* pChild = pFrame ? pFrame->GetActiveFrame() : nullptr;
        if (pChild && pChild != pFrame)
            pChild->PostMessage(WM_SETFOCUS, (WPARAM)m_hWnd);
        return;
    }
    CRichEditCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void C_IDEIceHistoryEdit::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CRichEditCtrl::OnLButtonDblClk(nFlags, point);
    CMainFrame* pFrame = MainFrame();
    CFrameWnd* pChild = pFrame ? pFrame->GetActiveFrame() : nullptr;
    CView* pOldView = pChild ? pChild->GetActiveView() : nullptr;
    if (GetWindowTextLength() == 0 || !m_pUIMgr || !m_pUIMgr->GetIceMgr())
        return;
    // The caret's line, at most 255 characters.
    int nLine = (int)SendMessage(EM_LINEFROMCHAR, (WPARAM)-1);
    char szLine[256] = {};
    *(WORD*)szLine = 255;
    int nLen = (int)SendMessage(EM_GETLINE, nLine, (LPARAM)szLine);
    szLine[nLen < 0 ? 0 : nLen > 255 ? 255 : nLen] = 0;
    DWORD a = 0, b = 0;
    CString strAddress;
    if (!ParseHistoryAddress(szLine, &a, &b, &strAddress))
        return;

    char szPath[ICE_PATH_SIZE] = {};
    int nSourceLine = 0;
    CDocument* pDoc = nullptr;
    if (pFrame && m_pUIMgr->GetIceMgr()->AddressToSource(a, b, sizeof szPath, szPath, &nSourceLine))
        pDoc = pFrame->GetProjectWnd()->OpenSourceFile(szPath, -1, FALSE, const_cast<CWnd*>(&CWnd::wndTop), FALSE);
    if (pDoc) {
        CAsmIDEDoc::MoveHistoryMarker(dynamic_cast<CAsmIDEDoc*>(pDoc), nSourceLine);
        POSITION pos = pDoc->GetFirstViewPosition();
        if (auto* pView = dynamic_cast<C_IDEEditView*>(pDoc->GetNextView(pos))) {
            pView->GoToLine(nSourceLine);
            pView->InvalidateGutter();
        }
        return;
    }
    if (pOldView && pOldView->IsKindOf(RUNTIME_CLASS(C_IDEEditorView)))
        m_pUIMgr->ShowListingAt(a, b);
    pChild = pFrame ? pFrame->GetActiveFrame() : nullptr;
    auto* pDisAsm = pChild ? dynamic_cast<C_IDEDisAsmView*>(pChild->GetActiveView()) : nullptr;
    if (pDisAsm) {
        pDisAsm->PostMessage(WM_SETFOCUS);
        pDisAsm->SendMessage(WM_DISASM_GOTO, a, b);
        pDisAsm->FindText(strAddress, 1, 0);
    }
}

BEGIN_MESSAGE_MAP(C_IDEIceHistoryBar, TWKControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_COMMAND(ID_DEBUG_RELOAD_HISTORY, OnReloadHistory)
    ON_COMMAND(ID_DEBUG_AUTO_RELOAD, OnAutoReload)
    ON_COMMAND(ID_DEBUG_CLEAR_HISTORY, OnClearHistory)
END_MESSAGE_MAP()

int C_IDEIceHistoryBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (!CRichEditCtrl::LoadLibrary())
        return -1;
    if (TWKControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_HistoryEdit.Create(0x543018C4, CRect(0, 0, 0, 0), this, IDC_ICE_HISTORY_EDIT))
        return -1;
    m_HistoryEdit.ShowWindow(SW_SHOW);
    return 0;
}

void C_IDEIceHistoryBar::OnSize(UINT nType, int cx, int cy)
{
    FitToBar(this, &m_HistoryEdit);
    TWKControlBar::OnSize(nType, cx, cy);
}

void C_IDEIceHistoryBar::SetHistoryText(LPCSTR lpszText)
{
    if (m_HistoryEdit.GetSafeHwnd())
        m_HistoryEdit.SetWindowText(lpszText ? lpszText : "");
}

void C_IDEIceHistoryBar::OnReloadHistory()
{
    if (m_pUIMgr)
        m_pUIMgr->ReloadHistory();
}

void C_IDEIceHistoryBar::OnAutoReload()
{
    m_HistoryEdit.m_bAutoReload = !m_HistoryEdit.m_bAutoReload;
}

void C_IDEIceHistoryBar::OnClearHistory()
{
    if (m_pUIMgr)
        m_pUIMgr->ClearHistory();
}
