#include "ide/debugger/IDEDisAsmView.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEIceBars.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"
#include "support/ui/CUMsgHandler.h"

// ---- the in-place editor

BEGIN_MESSAGE_MAP(C_AttachEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

UINT C_AttachEdit::OnGetDlgCode()
{
    return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS;
}

void C_AttachEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
        NMHDR nm = { m_hWnd, (UINT_PTR)GetDlgCtrlID(), (UINT)(nChar == VK_RETURN ? 1 : 2) };
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ---- the view

IMPLEMENT_DYNCREATE(C_IDEDisAsmView, CView)

BEGIN_MESSAGE_MAP(C_IDEDisAsmView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_DEBUG_TOGGLE_BREAKPOINT, OnToggleBreakpoint)
    ON_UPDATE_COMMAND_UI(ID_DEBUG_TOGGLE_BREAKPOINT, OnUpdateToggleBreakpoint)
    ON_COMMAND(ID_DEBUG_ENABLE_BREAKPOINT, OnEnableBreakpoint)
    ON_UPDATE_COMMAND_UI(ID_DEBUG_ENABLE_BREAKPOINT, OnUpdateEnableBreakpoint)
    ON_COMMAND(ID_DEBUG_MODIFY_SOURCE, OnModifySource)
    ON_COMMAND(ID_DEBUG_RUN_TO_CURSOR, OnRunToCursor)
    ON_UPDATE_COMMAND_UI(ID_DEBUG_MODIFY_SOURCE, OnUpdateModifySource)
    ON_NOTIFY(NM_DBLCLK, IDC_DISASM_LISTING, OnListingNotify)
    ON_NOTIFY(LISTING_NM_PAGEUP_AT_TOP, IDC_DISASM_LISTING, OnListingNotify)
    ON_NOTIFY(LISTING_NM_PAGEDOWN_AT_END, IDC_DISASM_LISTING, OnListingNotify)
    ON_NOTIFY(LISTING_NM_GUTTER_DBLCLK, IDC_DISASM_LISTING, OnListingNotify)
    ON_NOTIFY(1, IDC_DISASM_ATTACH_EDIT, OnAttachNotify)
    ON_NOTIFY(2, IDC_DISASM_ATTACH_EDIT, OnAttachNotify)
    ON_EN_KILLFOCUS(IDC_DISASM_ATTACH_EDIT, OnAttachKillFocus)
    ON_MESSAGE(WM_DISASM_GOTO, OnGotoAddress)
END_MESSAGE_MAP()

namespace {
// The listing's column layout: the address, then the code bytes, then the source.
const int kAddressColumns = 15;
const int kCodeEnd = 24;
const int kGotoStripHeight = 24;
const int kHeaderHeight = 20;
} // namespace

C_IDEDisAsmView::C_IDEDisAsmView() = default;

C_IDEDisAsmView::~C_IDEDisAsmView()
{
    EndModifySource();
}

C_IDEDisAsmDoc* C_IDEDisAsmView::GetListingDoc() const
{
    return dynamic_cast<C_IDEDisAsmDoc*>(GetDocument());
}

TWKEdit* C_IDEDisAsmView::GetEdit()
{
    C_IDEDisAsmDoc* pDoc = GetListingDoc();
    return pDoc ? &pDoc->m_Edit : nullptr;
}

int C_IDEDisAsmView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0);
    if (!m_GotoBar.Create(this))
        return -1;
    if (!m_Header.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_DISASM_HEADER))
        return -1;
    m_Header.InsertButton(-1, "", 25);
    m_Header.InsertButton(-1, "Address", 100);
    m_Header.InsertButton(-1, "Code", 100);
    m_Header.InsertButton(-1, "Source", 100);
    if (!m_Listing.Create(nullptr, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_DISASM_LISTING))
        return -1;
    m_Listing.ModifyStyle(0, WS_HSCROLL | WS_VSCROLL, SWP_FRAMECHANGED);
    m_pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (m_pMainFrame) {
        m_pIceMgr = m_pMainFrame->GetIceMgr();
        m_pIceUIMgr = dynamic_cast<C_IDEIceUIMgr*>(m_pMainFrame->GetIceUIMgr());
    }
    return 0;
}

void C_IDEDisAsmView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (!m_Listing.GetSafeHwnd())
        return;
    if (m_GotoBar.GetSafeHwnd())
        m_GotoBar.MoveWindow(0, 0, cx, kGotoStripHeight);
    int nTop = kGotoStripHeight + kHeaderHeight;
    m_Listing.MoveWindow(0, nTop, cx, cy - nTop > 0 ? cy - nTop : 0);
    m_Listing.ModifyStyle(0, WS_HSCROLL | WS_VSCROLL, SWP_FRAMECHANGED);
    LayoutHeader();
}

void C_IDEDisAsmView::LayoutHeader()
{
    if (!m_Header.GetSafeHwnd() || !m_Listing.GetSafeHwnd())
        return;
    int h = m_Listing.GetFirstColumn();
    int w = m_Listing.GetCharWidth();
    CRect rcClient;
    m_Listing.GetClientRect(&rcClient);
    m_Header.SetButtonWidth(0, m_Listing.GetGutterWidth());
    int nUsed = m_Listing.GetGutterWidth();
    m_Header.ShowButton(1, h < kAddressColumns);
    if (h < kAddressColumns) {
        m_Header.SetButtonWidth(1, (kAddressColumns - h) * w);
        nUsed += (kAddressColumns - h) * w;
    }
    m_Header.ShowButton(2, h < kCodeEnd);
    if (h < kCodeEnd) {
        int nCode = (h >= kAddressColumns ? kCodeEnd - h : kCodeEnd - kAddressColumns) * w;
        m_Header.SetButtonWidth(2, nCode);
        nUsed += nCode;
    }
    int nRest = rcClient.Width() - nUsed;
    m_Header.SetButtonWidth(3, nRest > 0 ? nRest : 100);
    m_Header.MoveWindow(0, kGotoStripHeight, rcClient.Width(), kHeaderHeight);
    m_Header.RecalcLayout();
}

void C_IDEDisAsmView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    m_Listing.InitView();
    TWKEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    pEdit->SetReadOnly(TRUE);
    pEdit->SetTabSize(8);
    CRect rc;
    m_Listing.GetClientRect(&rc);
    int nLineHeight = m_Listing.GetLineHeight() > 0 ? m_Listing.GetLineHeight() : 1;
    int nCharWidth = m_Listing.GetCharWidth() > 0 ? m_Listing.GetCharWidth() : 1;
    SCROLLINFO si = { sizeof si, SIF_ALL };
    si.nMax = pEdit->GetLineCount() - 1 > 0 ? pEdit->GetLineCount() - 1 : 0;
    si.nPage = rc.Height() / nLineHeight;
    SetScrollInfo(SB_VERT, &si, TRUE);
    si.nMax = 255;
    si.nPage = rc.Width() / nCharWidth;
    si.nPos = m_Listing.GetFirstColumn();
    SetScrollInfo(SB_HORZ, &si, TRUE);
    // The positions are mirrored for those who read them; the listing shows its own bars.
    ShowScrollBar(SB_BOTH, FALSE);
    LayoutHeader();
}

void C_IDEDisAsmView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    m_Listing.SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos));
    SetScrollPos(SB_VERT, m_Listing.GetScrollPos(SB_VERT));
}

void C_IDEDisAsmView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    m_Listing.SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos));
    SetScrollPos(SB_HORZ, m_Listing.GetScrollPos(SB_HORZ));
    LayoutHeader();
}

void C_IDEDisAsmView::SyncScrollBars()
{
    SetScrollPos(SB_VERT, m_Listing.GetScrollPos(SB_VERT));
    SetScrollPos(SB_HORZ, m_Listing.GetScrollPos(SB_HORZ));
    LayoutHeader();
}

void C_IDEDisAsmView::OnSetFocus(CWnd*)
{
    m_bActive = TRUE;
    if (m_Listing.GetSafeHwnd() && ::GetFocus() != m_Listing.m_hWnd)
        m_Listing.SetFocus();
}

void C_IDEDisAsmView::OnKillFocus(CWnd* pNewWnd)
{
    m_bActive = FALSE;
    CView::OnKillFocus(pNewWnd);
}

void C_IDEDisAsmView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    m_bActive = bActivate;
    if (bActivate && m_Listing.GetSafeHwnd()) {
        m_Listing.SetFocus();
        m_Listing.OnCaretMoved();
    }
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void C_IDEDisAsmView::SetPCLine(int nLine)
{
    C_IDEDisAsmDoc* pDoc = GetListingDoc();
    if (!pDoc)
        return;
    if (nLine <= 0)
        pDoc->m_nPCLine = -1;
    else {
        pDoc->m_nPCLine = nLine;
        m_Listing.GoToLine(nLine);
    }
    pDoc->RefreshMarkers();
}

void C_IDEDisAsmView::ResetAfterReload()
{
    m_Listing.ResetViewKeepCaret(m_bActive);
}

BOOL C_IDEDisAsmView::FindText(LPCSTR lpszText, BOOL bMatchCase, BOOL bUnused)
{
    return m_Listing.FindText(lpszText, bMatchCase, bUnused);
}

// ---- commands

BOOL C_IDEDisAsmView::IsStoppedDebugging() const
{
    return m_pIceMgr && m_pIceMgr->IsDebugging() && !m_pIceMgr->IsRunning();
}

void C_IDEDisAsmView::OnEditCopy()
{
    if (m_bActive)
        m_Listing.CopyToClipboard();
    else if (m_pMainFrame)
        m_pMainFrame->EditCopy();
}

void C_IDEDisAsmView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    if (m_bActive)
        pCmdUI->Enable(m_Listing.m_pSelStartLine != nullptr);
    else if (m_pMainFrame)
        m_pMainFrame->OnUpdateEditCopy(pCmdUI);
}

void C_IDEDisAsmView::OnEditFind()
{
    if (m_bActive)
        m_Listing.SendMessage(WM_COMMAND, ID_EDIT_FIND);
}

void C_IDEDisAsmView::OnFileOpen()
{
    if (m_pMainFrame)
        m_pMainFrame->DoFileOpen();
}

void C_IDEDisAsmView::ToggleBreakpoint()
{
    C_IDEDisAsmDoc* pDoc = GetListingDoc();
    TWKEditLine* pLine = m_Listing.GetCaretLineNode();
    if (!pDoc || !pLine)
        return;
    int nLine = m_Listing.GetCaretLine();
    if (pDoc->GetLineBreakState(nLine) != 0)
        pDoc->RemoveBreakpoint(nLine);
    else
        pDoc->InsertBreakpoint(nLine);
}

void C_IDEDisAsmView::OnRunToCursor()
{
    // No file: the line is one of the current listing's.
    if (m_pMainFrame && m_Listing.GetCaretLineNode())
        m_pMainFrame->RunToCursor(nullptr, m_Listing.GetCaretLine());
}

void C_IDEDisAsmView::OnToggleBreakpoint()
{
    ToggleBreakpoint();
}

void C_IDEDisAsmView::OnUpdateToggleBreakpoint(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsStoppedDebugging());
}

void C_IDEDisAsmView::OnEnableBreakpoint()
{
    C_IDEDisAsmDoc* pDoc = GetListingDoc();
    if (pDoc && pDoc->GetLineBreakState(m_Listing.GetCaretLine()) != 0)
        pDoc->ToggleBreakpointEnable(m_Listing.GetCaretLine());
}

void C_IDEDisAsmView::OnUpdateEnableBreakpoint(CCmdUI* pCmdUI)
{
    C_IDEDisAsmDoc* pDoc = GetListingDoc();
    int nState = pDoc ? pDoc->GetLineBreakState(m_Listing.GetCaretLine()) : 0;
    pCmdUI->Enable(m_pIceMgr && m_pIceMgr->SupportsBreakpoints() && !m_pIceMgr->IsBusy()
                   && (nState == 1 || nState == 2) && IsStoppedDebugging());
}

void C_IDEDisAsmView::OnModifySource()
{
    BeginModifySource();
}

void C_IDEDisAsmView::OnUpdateModifySource(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanModifySource());
}

// ---- notifications of the listing

void C_IDEDisAsmView::OnListingNotify(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 1;
    switch (pNMHDR->code) {
    case (UINT)NM_DBLCLK:
        if (!m_pIceUIMgr || !m_pIceUIMgr->ShowSourceForListingLine(m_Listing.GetCaretLine()))
            BeginModifySource();
        break;
    case LISTING_NM_PAGEUP_AT_TOP:
    case LISTING_NM_PAGEDOWN_AT_END:
        if (m_pIceUIMgr)
            m_pIceUIMgr->FindPCListingLine(
                pNMHDR->code == LISTING_NM_PAGEUP_AT_TOP ? ICE_LISTING_PREVIOUS_PART : ICE_LISTING_NEXT_PART, TRUE);
        m_Listing.GoToLine(1);
        break;
    case LISTING_NM_GUTTER_DBLCLK:
        // The engine's double click already put the caret on the line clicked.
        m_Listing.ClearSelection(TRUE);
        if (TWKEditLine* pLine = m_Listing.GetCaretLineNode())
            m_Listing.GoToLine(pLine->nLineNo);
        ToggleBreakpoint();
        break;
    }
}

LRESULT C_IDEDisAsmView::OnGotoAddress(WPARAM wParam, LPARAM lParam)
{
    // A pair of 0 comes from the strip: its two fields give the address.
    DWORD a = (DWORD)wParam, b = (DWORD)lParam;
    if (a == 0 && b == 0) {
        a = m_GotoBar.m_nGotoSpace;
        b = m_GotoBar.m_dwGotoAddress;
    }
    if (m_pIceUIMgr)
        m_pIceUIMgr->ShowListingAt(a, b);
    return TRUE;
}

// ---- in-place source editing

BOOL C_IDEDisAsmView::CanModifySource()
{
    if (!m_pIceMgr || m_pIceMgr->ForbidsListingEdit() || m_pIceMgr->IsBusy())
        return FALSE;
    I_IceDisAsm* pDisAsm = nullptr;
    if (m_pIceMgr->GetInterface(ICE_IID_DISASM, reinterpret_cast<void**>(&pDisAsm)) && pDisAsm) {
        int nKind = 0;
        if (pDisAsm->GetLineKind(m_Listing.GetCaretLine(), &nKind) != 0 || nKind != ICE_LINE_INSTRUCTION)
            return FALSE;
    }
    CString strSource;
    m_Listing.GetCaretLineSource(strSource);
    return !strSource.IsEmpty();
}

void C_IDEDisAsmView::BeginModifySource()
{
    if (!CanModifySource())
        return;
    m_Listing.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
    CString strSource;
    m_Listing.GetCaretLineSource(strSource);
    CRect rc;
    m_Listing.GetCaretLineSourceRect(rc);
    m_Listing.ClientToScreen(&rc);
    ScreenToClient(&rc);
    EndModifySource();
    m_pAttachEdit = new C_AttachEdit;
    if (!m_pAttachEdit->Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rc, this, IDC_DISASM_ATTACH_EDIT)) {
        delete m_pAttachEdit;
        m_pAttachEdit = nullptr;
        return;
    }
    m_pAttachEdit->SetWindowText(strSource);
    m_pAttachEdit->SetFont((HFONT)m_Listing.GetFont()->GetSafeHandle());
    m_pAttachEdit->SetSel(0, -1);
    m_pAttachEdit->ShowWindow(SW_SHOW);
    m_pAttachEdit->SetFocus();
}

void C_IDEDisAsmView::EndModifySource()
{
    C_AttachEdit* pEdit = m_pAttachEdit;
    m_pAttachEdit = nullptr;
    if (!pEdit)
        return;
    if (::IsWindow(pEdit->m_hWnd))
        pEdit->DestroyWindow();
    delete pEdit;
}

void C_IDEDisAsmView::OnAttachNotify(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 1;
    if (pNMHDR->code == 2 || !m_pAttachEdit) {
        EndModifySource();
        return;
    }
    CString strText, strNew;
    m_pAttachEdit->GetWindowText(strText);
    if (m_pIceMgr && m_pIceMgr->EditListingLine(m_Listing.GetCaretLine(), strText, strNew))
        m_Listing.SetCaretLineText(strNew);
}

void C_IDEDisAsmView::OnAttachKillFocus()
{
    EndModifySource();
}

// ---- closing

BOOL C_IDEDisAsmView::CanCloseWindow()
{
    if ((m_pIceMgr && m_pIceMgr->SupportsBreakpoints()) || !m_pIceUIMgr || m_pIceUIMgr->GetDisAsmView() != this)
        return TRUE;
    if (MessageBoxById(AfxGetMainWnd()->GetSafeHwnd(), IDS_CAPTION_WARNING, IDS_LEAVE_DEBUGGING,
                       MB_OKCANCEL | MB_ICONWARNING) == IDOK)
        AfxGetMainWnd()->PostMessage(WM_COMMAND, ID_DEBUG_CLOSE);
    return FALSE;
}

void C_IDEDisAsmView::DetachFromDebugger()
{
    if (m_pIceUIMgr && m_pIceUIMgr->GetDisAsmView() == this)
        m_pIceUIMgr->OnDisAsmViewClosed();
}
