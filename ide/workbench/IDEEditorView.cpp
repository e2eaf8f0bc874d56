#include "ide/workbench/IDEEditorView.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"

IMPLEMENT_DYNCREATE(C_IDEEditorView, C_IDEEditView)

BEGIN_MESSAGE_MAP(C_IDEEditorView, C_IDEEditView)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_NCMOUSEMOVE()
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_SAVE_ALL, OnFileSaveAll)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
    ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateEditClear)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateEditFind)
    ON_COMMAND(ID_EDIT_COLUMN_MODE, OnColumnMode)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COLUMN_MODE, OnUpdateColumnMode)
    ON_COMMAND(ID_DEBUG_TOGGLE_BREAKPOINT, OnToggleBreakpoint)
    ON_UPDATE_COMMAND_UI(ID_DEBUG_TOGGLE_BREAKPOINT, OnUpdateToggleBreakpoint)
    ON_COMMAND(ID_DEBUG_ENABLE_BREAKPOINT, OnEnableBreakpoint)
    ON_UPDATE_COMMAND_UI(ID_DEBUG_ENABLE_BREAKPOINT, OnUpdateEnableBreakpoint)
    ON_COMMAND(ID_DEBUG_VIEW_DISASSEMBLY, OnViewDisassembly)
    ON_COMMAND(ID_DEBUG_RUN_TO_CURSOR, OnRunToCursor)
    ON_UPDATE_COMMAND_UI(ID_DEBUG_VIEW_DISASSEMBLY, OnUpdateViewDisassembly)
END_MESSAGE_MAP()

namespace {
// Shared by all editor views: the last left-button press and the last mouse move.
CPoint s_ptLastClick(0, 0);
CPoint s_ptLastMove(-1, -1);
}

C_IDEEditorView::C_IDEEditorView() = default;
C_IDEEditorView::~C_IDEEditorView() = default;

int C_IDEEditorView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (C_IDEEditView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pIceMgr = m_pMainFrame ? m_pMainFrame->GetIceMgr() : nullptr;
    return 0;
}

// The data tip is a top-level window of its own: it is made when debugging
// first needs it, so that opening a source does not pay for it.
BOOL C_IDEEditorView::EnsureDataTip()
{
    if (m_ToolTip.m_hWnd)
        return TRUE;
    if (!m_hWnd || !m_ToolTip.Create(this, TTS_ALWAYSTIP))
        return FALSE;
    m_ToolTip.AddTool(this, "");
    m_ToolTip.SetTipBkColor(RGB(255, 255, 0));
    m_ToolTip.SetDelayTime(400);
    return TRUE;
}

void C_IDEEditorView::OnDraw(CDC*)
{
}

TWKEdit* C_IDEEditorView::GetEdit()
{
    CAsmIDEDoc* pDoc = GetSourceDoc();
    return pDoc ? &pDoc->m_Edit : nullptr;
}

CAsmIDEDoc* C_IDEEditorView::GetSourceDoc() const
{
    return dynamic_cast<CAsmIDEDoc*>(m_pDocument);
}

BOOL C_IDEEditorView::IsDebugMode() const
{
    return m_pMainFrame && m_pMainFrame->IsDebugging();
}

BOOL C_IDEEditorView::CanUseBreakpoints() const
{
    return m_pIceMgr && m_pIceMgr->SupportsBreakpoints() && !m_pIceMgr->IsBusy();
}

int C_IDEEditorView::CaretBreakState() const
{
    return GetLineBreakState(m_pCaretLine);
}

// ---- title and status

CString C_IDEEditorView::BuildTitle()
{
    CAsmIDEDoc* pDoc = GetSourceDoc();
    if (!pDoc)
        return CString();
    // A document never saved has no path: it keeps the name it was made with.
    CString strTitle = pDoc->m_strPath.IsEmpty() ? pDoc->m_strFileName : pDoc->m_strPath;
    if (!pDoc->m_strPath.IsEmpty())
        ShortenPathToWidth(strTitle, 4);
    if (pDoc->m_Edit.IsModified())
        strTitle += " *";
    return strTitle;
}

void C_IDEEditorView::OnCaretMoved()
{
    C_IDEEditView::OnCaretMoved();
    CAsmIDEDoc* pDoc = GetSourceDoc();
    if (!pDoc)
        return;
    CString strTitle = BuildTitle();
    if (strTitle != pDoc->GetTitle())
        pDoc->SetTitle(strTitle);
}

int C_IDEEditorView::ClearSelection(BOOL bRedraw)
{
    int nResult = C_IDEEditView::ClearSelection(bRedraw);
    // Column mode outlives the selection.
    C_IDEEditView::m_nSelMode = m_nSelMode;
    return nResult;
}

// ---- painting

void C_IDEEditorView::OnPaint()
{
    if (CAsmIDEDoc* pDoc = GetSourceDoc())
        pDoc->ResyncBreakpoints(m_pCaretLine);
    C_IDEEditView::OnPaint();
}

void C_IDEEditorView::DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine)
{
    C_IDEEditView::DrawGutterMarks(pDC, pRect, pLine);
    CAsmIDEDoc* pDoc = GetSourceDoc();
    if (!pLine || !pDoc)
        return;
    HDC hDC = pDC->m_hDC;
    int nState = GetLineBreakState(pLine);
    if (nState != 0) {
        CRect rc(pRect);
        rc.DeflateRect(2, 2);
        int w = rc.Width(), h = rc.Height();
        if (w > h) {
            rc.left += (w - h) / 2;
            rc.right -= (w - h) / 2;
        } else if (h > w) {
            rc.top += (h - w) / 2;
            rc.bottom -= (h - w) / 2;
        }
        COLORREF crPen = nState == 3 ? RGB(200, 200, 200) : RGB(255, 0, 0);
        COLORREF crBrush = nState == 2 ? RGB(255, 0, 0) : nState == 3 ? RGB(200, 200, 200) : RGB(255, 255, 255);
        HPEN hPen = ::CreatePen(PS_SOLID, 1, crPen);
        HBRUSH hBrush = ::CreateSolidBrush(crBrush);
        HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
        HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
        ::Ellipse(hDC, rc.left, rc.top, rc.right, rc.bottom);
        ::SelectObject(hDC, hOldPen);
        ::SelectObject(hDC, hOldBrush);
        ::DeleteObject(hPen);
        ::DeleteObject(hBrush);
    }
    int L = pRect->left, T = pRect->top, R = pRect->right, B = pRect->bottom, M = (T + B) / 2;
    auto arrow = [&](const POINT* pts, int n, COLORREF cr) {
        HBRUSH hBrush = ::CreateSolidBrush(cr);
        HGDIOBJ hOld = ::SelectObject(hDC, hBrush);
        ::Polygon(hDC, pts, n);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hBrush);
        ::SetBkColor(hDC, pDoc->m_Edit.m_crBackground);
    };
    int nLine = pLine->nLineNo;
    if (pDoc->m_nPCLine == nLine) {
        POINT pts[] = {{L, T + 7}, {R - 5, T + 7}, {R, M}, {R - 5, B - 7}, {L, B - 7}};
        arrow(pts, 5, RGB(128, 128, 255));
    }
    BOOL bDebug = IsDebugMode();
    if (bDebug && pDoc->m_nCallerLine == nLine) {
        POINT pts[] = {{L, T + 7}, {R - 10, T + 7}, {R - 10, T}, {R, M}, {R - 10, B}, {R - 10, B - 7}, {L, B - 7}};
        arrow(pts, 7, RGB(200, 200, 255));
    }
    if (bDebug && pDoc->m_nHistoryLine == nLine) {
        POINT pts[] = {{R - 10, T}, {R, M}, {R - 10, B}};
        arrow(pts, 3, RGB(0, 255, 0));
    }
}

void C_IDEEditorView::SetCallerLine(int nLine)
{
    SetMarkerLine(&CAsmIDEDoc::m_nCallerLine, nLine);
}

// ---- context menu

BOOL C_IDEEditorView::BuildEditorMenu(CMenu& menu, CMenu** ppPopup)
{
    if (!menu.LoadMenu(IDR_TEXTTYPE))
        return FALSE;
    CMenu* pPopup = menu.GetSubMenu(1);
    if (!pPopup)
        return FALSE;
    int nState = CaretBreakState();
    pPopup->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_DEBUG_TOGGLE_BREAKPOINT, "Toggle Breakpoint\tF9");
    pPopup->InsertMenu(1, MF_BYPOSITION | MF_STRING, ID_DEBUG_ENABLE_BREAKPOINT,
                       nState == 0 || nState == 1 ? "Enable Breakpoint" : "Disable Breakpoint");
    pPopup->InsertMenu(2, MF_BYPOSITION | MF_SEPARATOR);
    pPopup->AppendMenu(MF_SEPARATOR);
    pPopup->AppendMenu(MF_STRING, ID_TWK_TOGGLEBOOKMARK, "Toggle BookMark");
    pPopup->AppendMenu(MF_SEPARATOR);
    pPopup->AppendMenu(MF_STRING, ID_DEBUG_VIEW_DISASSEMBLY, "View Disassembly");
    *ppPopup = pPopup;
    return TRUE;
}

void C_IDEEditorView::ShowContextMenu(CWnd*, CPoint point)
{
    point = PrepareContextMenu(point);
    CMenu menu;
    CMenu* pPopup = nullptr;
    if (BuildEditorMenu(menu, &pPopup))
        pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
    menu.DestroyMenu();
}

// ---- the emulator's actions

BOOL C_IDEEditorView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (!pHandlerInfo && m_pIceMgr) {
        ICE_ACTION_TABLE table = m_pIceMgr->GetActionTable();
        for (UINT i = table.nCount; i-- > 0;) {
            if (!table.pIds || table.pIds[i] != nID)
                continue;
            if (nCode == CN_COMMAND) {
                m_pIceMgr->ExecuteAction(i, AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr);
                m_pIceMgr->EndAction();
            } else if (nCode == (int)CN_UPDATE_COMMAND_UI && pExtra) {
                int a = 0, b = 0, c = 0, d = 0;
                m_pIceMgr->GetActionState(i, &a, &b, &c, &d);
                BOOL bEnable = IsDebugMode() ? (b && (!m_pIceMgr->IsRunning() || c))
                                             : (a && (!m_pIceMgr->IsWriting() || d));
                static_cast<CCmdUI*>(pExtra)->Enable(bEnable);
            }
            return TRUE;
        }
    }
    return C_IDEEditView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- mouse and data tip

void C_IDEEditorView::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_nPressTopLine = m_nTopLine;
    if ((nFlags & MK_SHIFT) && m_bSelection && m_nSelMode == 2)
        SetCaretFromPoint(s_ptLastClick.x, s_ptLastClick.y);   // the column block grows from the last click
    else
        s_ptLastClick = point;
    if (!IsPointInSelection(point.x, point.y) && m_nSelMode == 2)
        ClearSelection(TRUE);
    C_IDEEditView::OnLButtonDown(nFlags, point);
}

void C_IDEEditorView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (point.x > m_nTextLeft - m_nCharWidth / 2) {
        C_IDEEditView::OnLButtonDblClk(nFlags, point);
        return;
    }
    // In the gutter: the breakpoint of the line clicked. The press before it selected that
    // line, which scrolls a bottom line up: the lines go back where they were when pressed.
    ClearSelection(TRUE);
    if (m_nPressTopLine > 0 && m_nPressTopLine != m_nTopLine)
        SetTopLine(m_nPressTopLine, TRUE);
    SetCaretFromPoint(point.x, point.y);
    GoToLine(m_nCaretLine);
    ToggleBreakpointAtCaret();
}

BOOL C_IDEEditorView::PreTranslateMessage(MSG* pMsg)
{
    if (IsDebugMode() && m_pIceMgr && !m_pIceMgr->IsBusy() && EnsureDataTip()) {
        m_ToolTip.Activate(TRUE);
        m_ToolTip.RelayEvent(pMsg);
    }
    return C_IDEEditView::PreTranslateMessage(pMsg);
}

void C_IDEEditorView::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    if (m_ToolTip.m_hWnd && IsDebugMode())
        m_ToolTip.Activate(FALSE);
    C_IDEEditView::OnNcMouseMove(nHitTest, point);
}

CString C_IDEEditorView::IdentifierAt(CPoint point)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || m_nLineHeight <= 0 || m_nCharWidth <= 0)
        return CString();
    int nLine = point.y / m_nLineHeight + m_nTopLine;
    if (nLine <= 0 || point.x <= 8 || nLine > pEdit->GetLineCount())
        return CString();
    TWKEditLine* pLine = pEdit->GetLine(nLine);
    if (!pLine || !pLine->pText)
        return CString();
    int nCol = (point.x - m_nTextLeft) / m_nCharWidth + m_nFirstCol;
    if (nCol < 0)
        return CString();
    int nEnd = pEdit->VisibleEnd(pLine);
    int nOffset = pEdit->ColumnToOffset(pLine, nCol);
    auto isWord = [&](int i) {
        BYTE ch = (BYTE)pLine->pText[i];
        return ch == '_' || pEdit->IsWordChar(ch);
    };
    if (nOffset >= nEnd || pEdit->OffsetToColumn(pLine, nOffset) != nCol || !isWord(nOffset))
        return CString();
    int nFrom = nOffset, nTo = nOffset + 1;
    while (nFrom > 0 && isWord(nFrom - 1) && nTo - nFrom < 16383)
        nFrom--;
    while (nTo < nEnd && isWord(nTo) && nTo - nFrom < 16383)
        nTo++;
    return CString(pLine->pText + nFrom, nTo - nFrom);
}

void C_IDEEditorView::ShowDataTip(CPoint point)
{
    I_IceWatch* pWatch = nullptr;
    if (!m_pIceMgr || m_pIceMgr->IsBusy() || !m_pIceMgr->HasIce() ||
        !m_pIceMgr->GetInterface(ICE_IID_WATCH, reinterpret_cast<void**>(&pWatch)) || !pWatch)
        return;
    BOOL bTextSet = FALSE;
    CString strIdent = IdentifierAt(point);
    if (!strIdent.IsEmpty()) {
        DWORD dwHandle = 0x90000000;
        BOOL bShown = FALSE;
        if (pWatch->Add(strIdent, &dwHandle) == 0) {
            ICE_WATCH_NODE node = pWatch->GetRoot(dwHandle);
            DWORD a = 0, b = 0;
            pWatch->Check(node, &a, &b);
            const char* pszValue = nullptr;
            const char* pszAddress = nullptr;
            if (pWatch->GetText(node, 2, &pszValue, &pszAddress) == 0 && pszValue && !strstr(pszValue, "not") &&
                !strstr(pszValue, "invalid")) {
                CString strValue = pszValue;
                strValue.MakeUpper();
                strValue.Replace("0X", "0x");
                CString strTip;
                strTip.Format("%s = %s", (LPCSTR)strIdent, (LPCSTR)strValue);
                m_ToolTip.UpdateTipText(strTip, this);
                bTextSet = bShown = TRUE;
            }
        }
        pWatch->Release(dwHandle);
        if (!bShown)
            m_ToolTip.Activate(FALSE);
    } else
        m_ToolTip.Activate(FALSE);
    if (!bTextSet) {
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        if (m_ToolTip.HitTest(this, point, &ti)) {
            ti.lpszText = nullptr;
            m_ToolTip.SetToolInfo(&ti);
        }
    }
}

void C_IDEEditorView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (point == s_ptLastMove) {
        C_IDEEditView::OnMouseMove(nFlags, point);
        return;
    }
    s_ptLastMove = point;
    if (m_ToolTip.m_hWnd)
        m_ToolTip.Pop();
    if (IsDebugMode() && EnsureDataTip()) {
        I_IceWatch* pWatch = nullptr;
        if (!m_pIceMgr || m_pIceMgr->IsBusy() || !m_pIceMgr->HasIce() ||
            !m_pIceMgr->GetInterface(ICE_IID_WATCH, reinterpret_cast<void**>(&pWatch)))
            return;
        ShowDataTip(point);
    }
    C_IDEEditView::OnMouseMove(nFlags, point);
}

// ---- commands

void C_IDEEditorView::OnFileOpen()
{
    if (m_pMainFrame)
        m_pMainFrame->DoFileOpen();
}

void C_IDEEditorView::OnFileSaveAll()
{
    if (g_pTextTemplate) {
        for (POSITION pos = g_pTextTemplate->GetFirstDocPosition(); pos;) {
            CDocument* pDoc = g_pTextTemplate->GetNextDoc(pos);
            POSITION posView = pDoc->GetFirstViewPosition();
            if (CView* pView = posView ? pDoc->GetNextView(posView) : nullptr)
                pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
        }
    }
    if (m_pMainFrame)
        m_pMainFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE_PROJECT);
}

void C_IDEEditorView::OnEditCopy()
{
    if (m_bActive)
        C_IDEEditView::OnEditCopy();
    else if (m_pMainFrame)
        m_pMainFrame->EditCopy();
}

void C_IDEEditorView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    if (m_bActive)
        pCmdUI->Enable(m_bSelection && m_pSelStartLine && m_pSelEndLine);
    else if (m_pMainFrame)
        m_pMainFrame->OnUpdateEditCopy(pCmdUI);
}

void C_IDEEditorView::OnEditSelectAll()
{
    if (m_bActive)
        C_IDEEditView::OnSelectAll();
    else if (m_pMainFrame)
        m_pMainFrame->EditSelectAll();
}

void C_IDEEditorView::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    if (m_bActive)
        C_IDEEditView::OnUpdateSelectAll(pCmdUI);
    else if (m_pMainFrame)
        m_pMainFrame->OnUpdateEditSelectAll(pCmdUI);
}

namespace {
BOOL IsLive(CWnd* pWnd)
{
    return pWnd && ::IsWindow(pWnd->GetSafeHwnd());
}
}

void C_IDEEditorView::OnEditPaste()
{
    if (m_bActive) {
        C_IDEEditView::OnEditPaste();
        return;
    }
    if (!m_pMainFrame)
        return;
    CWnd* pEdit = m_pMainFrame->m_pEditWnd;
    if (IsLive(pEdit)) {
        char szClass[64] = "";
        ::GetClassNameA(pEdit->m_hWnd, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Edit") == 0)
            pEdit->SendMessage(WM_PASTE);
        else
            pEdit->SendMessage(EM_PASTESPECIAL, CF_TEXT, 0);
    } else
        m_pMainFrame->PasteToFindBox();
}

void C_IDEEditorView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    if (m_bActive)
        C_IDEEditView::OnUpdateEditPaste(pCmdUI);
    else if (!m_pMainFrame)
        pCmdUI->Enable(FALSE);
    else if (IsLive(m_pMainFrame->m_pEditWnd))
        pCmdUI->Enable(::GetFocus() == m_pMainFrame->m_pEditWnd->m_hWnd);
    else
        pCmdUI->Enable(m_pMainFrame->IsFindBoxFocused());
}

void C_IDEEditorView::OnEditCut()
{
    C_IDEEditView::OnEditCut();
}

void C_IDEEditorView::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    TWKEdit* pEdit = GetEdit();
    pCmdUI->Enable(m_bActive && pEdit && !pEdit->IsReadOnly() && m_bSelection && m_pSelStartLine && m_pSelEndLine);
}

void C_IDEEditorView::OnEditClear()
{
    C_IDEEditView::OnEditClear();
}

void C_IDEEditorView::OnUpdateEditClear(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bActive);
}

void C_IDEEditorView::ReplayStep(BOOL bRedo)
{
    if (bRedo)
        C_IDEEditView::OnEditRedo();
    else
        C_IDEEditView::OnEditUndo();
    // The store sets its modified flag from its save point; the title follows.
    Invalidate(TRUE);
    UpdateWindow();
    OnCaretMoved();
}

void C_IDEEditorView::UpdateReplayStep(CCmdUI* pCmdUI, BOOL bRedo)
{
    if (!m_bActive)
        pCmdUI->Enable(FALSE);
    else if (bRedo)
        C_IDEEditView::OnUpdateEditRedo(pCmdUI);
    else
        C_IDEEditView::OnUpdateEditUndo(pCmdUI);
}

void C_IDEEditorView::OnEditUndo()
{
    ReplayStep(FALSE);
}

void C_IDEEditorView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    UpdateReplayStep(pCmdUI, FALSE);
}

void C_IDEEditorView::OnEditRedo()
{
    ReplayStep(TRUE);
}

void C_IDEEditorView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    UpdateReplayStep(pCmdUI, TRUE);
}

void C_IDEEditorView::OnUpdateEditFind(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void C_IDEEditorView::OnColumnMode()
{
    ClearSelection(TRUE);
    m_nSelMode = m_nSelMode == 2 ? 1 : 2;
    C_IDEEditView::m_nSelMode = m_nSelMode;
}

void C_IDEEditorView::OnUpdateColumnMode(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nSelMode == 2);
}

void C_IDEEditorView::ToggleBreakpointAtCaret()
{
    CAsmIDEDoc* pDoc = GetSourceDoc();
    if (!pDoc)
        return;
    if (CaretBreakState() != 0)
        pDoc->RemoveBreakpoint(m_nCaretLine);
    else
        pDoc->InsertBreakpoint(m_nCaretLine);
}

void C_IDEEditorView::OnToggleBreakpoint()
{
    ToggleBreakpointAtCaret();
}

void C_IDEEditorView::OnUpdateToggleBreakpoint(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanUseBreakpoints());
}

void C_IDEEditorView::OnEnableBreakpoint()
{
    CAsmIDEDoc* pDoc = GetSourceDoc();
    if (pDoc && CaretBreakState() != 0)
        pDoc->ToggleBreakpointEnable(m_nCaretLine);
}

void C_IDEEditorView::OnUpdateEnableBreakpoint(CCmdUI* pCmdUI)
{
    int nState = CaretBreakState();
    pCmdUI->Enable(CanUseBreakpoints() && (nState == 1 || nState == 2));
}

void C_IDEEditorView::OnViewDisassembly()
{
    CAsmIDEDoc* pDoc = GetSourceDoc();
    auto* pUIMgr = m_pMainFrame ? dynamic_cast<C_IDEIceUIMgr*>(m_pMainFrame->GetIceUIMgr()) : nullptr;
    if (pDoc && pUIMgr)
        pUIMgr->ShowDisAsmForLine(pDoc->GetPathName(), m_nCaretLine);
}

void C_IDEEditorView::OnRunToCursor()
{
    // Enabled by the frame's rule; the view only names the place.
    if (CAsmIDEDoc* pDoc = GetSourceDoc())
        if (m_pMainFrame)
            m_pMainFrame->RunToCursor(pDoc->GetPathName(), m_nCaretLine);
}

void C_IDEEditorView::OnUpdateViewDisassembly(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanUseBreakpoints() && m_pIceMgr->IsDebugging() && !m_pIceMgr->IsBusy());
}
