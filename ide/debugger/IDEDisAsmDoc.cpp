#include "ide/debugger/IDEDisAsmDoc.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/MainFrm.h"

// ---- the document

IMPLEMENT_DYNCREATE(C_IDEDisAsmDoc, CDocument)

namespace {

C_IDEIceMgr* IceMgr()
{
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return pFrame ? pFrame->GetIceMgr() : nullptr;
}

} // namespace

C_IDEDisAsmDoc::C_IDEDisAsmDoc() = default;

C_IDEDisAsmDoc::~C_IDEDisAsmDoc()
{
    m_marks.clear();
}

BOOL C_IDEDisAsmDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    if (m_Edit.LoadFile(lpszPathName) != 0)
        return FALSE;
    m_Edit.SetModified(FALSE);
    RebuildBreakLineMap();
    m_Edit.ResetLineColors();
    return TRUE;
}

void C_IDEDisAsmDoc::ReloadListing(LPCSTR lpszPath, BOOL bClearColors)
{
    m_bHasMarks = FALSE;
    m_marks.clear();
    if (bClearColors)
        m_Edit.ClearLineColors();
    BOOL bReadOnly = m_Edit.IsReadOnly();
    m_Edit.SetReadOnly(FALSE);
    m_Edit.LoadFile(lpszPath);
    m_Edit.SetReadOnly(bReadOnly);
    SetPathName(lpszPath, TRUE);
    RebuildBreakLineMap();
    m_Edit.ResetLineColors();
    POSITION pos = GetFirstViewPosition();
    while (pos)
        if (auto* pView = dynamic_cast<C_IDEDisAsmView*>(GetNextView(pos)))
            pView->ResetAfterReload();
    m_Edit.SetModified(FALSE);
}

void C_IDEDisAsmDoc::ResetMarks()
{
    m_bMarksEnabled = FALSE;
    m_bHasMarks = FALSE;
    m_marks.clear();
}

void C_IDEDisAsmDoc::RebuildBreakLineMap()
{
    if (!m_bMarksEnabled)
        return;
    m_bHasMarks = FALSE;
    m_marks.assign(m_Edit.GetLineCount() > 0 ? m_Edit.GetLineCount() : 0, 0);
    C_IDEIceMgr* pIce = IceMgr();
    I_IceBreakpointList* pList = pIce ? pIce->GetBreakpointList() : nullptr;
    if (!pList)
        return;
    m_bHasMarks = TRUE;
    if (pList->StartListing(nullptr) != 0)
        return;
    int nLine = 0;
    DWORD dwState = 0;
    while (pList->GetNext(&nLine, &dwState) == 0)
        if (nLine >= 1 && nLine <= (int)m_marks.size())
            m_marks[nLine - 1] = (BYTE)dwState;
}

int C_IDEDisAsmDoc::GetLineBreakState(int nLine) const
{
    return nLine >= 1 && nLine <= (int)m_marks.size() ? m_marks[nLine - 1] : 0;
}

void C_IDEDisAsmDoc::RefreshMarkers()
{
    POSITION pos = GetFirstViewPosition();
    while (pos)
        if (auto* pView = dynamic_cast<C_IDEDisAsmView*>(GetNextView(pos)))
            pView->InvalidateGutter();
}

BOOL C_IDEDisAsmDoc::ListingToSource(int nLine, CString& strPath, int& nSourceLine)
{
    C_IDEIceMgr* pIce = IceMgr();
    I_IceDisAsm* pDisAsm = nullptr;
    if (!pIce || !pIce->GetInterface(ICE_IID_DISASM, reinterpret_cast<void**>(&pDisAsm)) || !pDisAsm)
        return FALSE;
    char szPath[ICE_PATH_SIZE] = {};
    if (pDisAsm->ListingToSource(nLine, szPath, &nSourceLine) != 0)
        return FALSE;
    strPath = szPath;
    return TRUE;
}

void C_IDEDisAsmDoc::InsertBreakpoint(int nLine)
{
    ChangeBreakpoint(nLine, TRUE);
}

void C_IDEDisAsmDoc::RemoveBreakpoint(int nLine)
{
    ChangeBreakpoint(nLine, FALSE);
}

void C_IDEDisAsmDoc::ChangeBreakpoint(int nLine, BOOL bInsert)
{
    if (!m_bMarksEnabled || !m_bHasMarks)
        return;
    CString strPath;
    int nSource = 0;
    I_IceBreakpointList* pList = IceMgr() ? IceMgr()->GetBreakpointList() : nullptr;
    if (!pList || !ListingToSource(nLine, strPath, nSource))
        return;
    if ((bInsert ? pList->Add(strPath, nSource) : pList->Remove(strPath, nSource)) != 0)
        return;
    RebuildBreakLineMap();
    RefreshMarkers();
    SyncSourceBreakpoints();
}

void C_IDEDisAsmDoc::ToggleBreakpointEnable(int nLine)
{
    if (!m_bHasMarks)
        return;
    int nState = GetLineBreakState(nLine);
    CString strPath;
    int nSource = 0;
    I_IceBreakpointList* pList = IceMgr() ? IceMgr()->GetBreakpointList() : nullptr;
    if (nState == 0 || !pList || !ListingToSource(nLine, strPath, nSource)
        || pList->Enable(strPath, nSource, nState == ICE_BREAKPOINT_DISABLED) != 0)
        return;
    RebuildBreakLineMap();
    RefreshMarkers();
    SyncSourceBreakpoints();
}

void C_IDEDisAsmDoc::SyncSourceBreakpoints()
{
    // The source documents read their marks from the emulator's store when they repaint.
    CDocTemplate* pTemplate = nullptr;
    if (auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp()))
        pTemplate = pApp->FindDocTemplate("Text");
    if (!pTemplate)
        return;
    POSITION pos = pTemplate->GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = pTemplate->GetNextDoc(pos);
        POSITION vpos = pDoc->GetFirstViewPosition();
        while (vpos)
            if (CView* pView = pDoc->GetNextView(vpos))
                pView->Invalidate(FALSE);
    }
}
