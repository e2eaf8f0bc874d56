#include "ide/workbench/IDEBreakLineMap.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEIceMgr.h"
#include <unordered_set>

int GetLineBreakState(const TWKEditLine* pLine)
{
    if (!pLine)
        return 0;
    return ((pLine->dwFlags & LINE_BREAK_ENABLED) ? 2 : 0) + ((pLine->dwFlags & LINE_BREAK_DISABLED) ? 1 : 0);
}

void SetLineBreakState(TWKEditLine* pLine, int nState)
{
    if (!pLine)
        return;
    WORD w = pLine->dwFlags & (WORD) ~(LINE_BREAK_ENABLED | LINE_BREAK_DISABLED);
    if (nState & 1)
        w |= LINE_BREAK_DISABLED;
    if (nState & 2)
        w |= LINE_BREAK_ENABLED;
    pLine->dwFlags = w;
}

C_IDEBreakLineMapList::C_IDEBreakLineMapList(TWKEdit* pEdit, C_IDEIceMgr* pIceMgr, const char* pszPath)
    : CObList(10), m_pEdit(pEdit), m_pIceMgr(pIceMgr), m_pszPath(pszPath)
{
}

C_IDEBreakLineMapList::~C_IDEBreakLineMapList()
{
    RemoveAllMarks();
}

BOOL C_IDEBreakLineMapList::IsLinked(const TWKEditLine* pLine) const
{
    if (!m_pEdit || !pLine)
        return FALSE;
    for (const TWKEditLine* p = m_pEdit->GetFirstLine(); p; p = p->pNext)
        if (p == pLine)
            return TRUE;
    return FALSE;
}

void C_IDEBreakLineMapList::ForgetUnlinkedMarks()
{
    if (IsEmpty())
        return;
    std::unordered_set<const TWKEditLine*> linked;
    if (m_pEdit) {
        std::unordered_set<const TWKEditLine*> wanted;
        for (POSITION pos = GetHeadPosition(); pos;)
            wanted.insert(static_cast<C_IDEBreakLineMap*>(GetNext(pos))->m_pLine);
        for (const TWKEditLine* p = m_pEdit->GetFirstLine(); p && linked.size() < wanted.size(); p = p->pNext)
            if (wanted.count(p))
                linked.insert(p);
    }
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION cur = pos;
        auto* pMark = static_cast<C_IDEBreakLineMap*>(GetNext(pos));
        if (!linked.count(pMark->m_pLine)) {
            RemoveAt(cur);
            delete pMark;
        }
    }
}

void C_IDEBreakLineMapList::RemoveAllMarks()
{
    ForgetUnlinkedMarks();
    while (!IsEmpty()) {
        auto* pMark = static_cast<C_IDEBreakLineMap*>(RemoveHead());
        SetLineBreakState(pMark->m_pLine, 0);
        delete pMark;
    }
}

void C_IDEBreakLineMapList::Load()
{
    if (!m_pIceMgr || !m_pEdit)
        return;
    if (m_pszPath && !m_pIceMgr->SupportsBreakpoints())
        return;
    I_IceBreakpointList* pStore = m_pIceMgr->GetBreakpointList();
    if (!pStore || pStore->StartListing(m_pszPath) != 0)
        return;
    RemoveAllMarks();
    int nLine = 0;
    DWORD dwState = 0;
    while (pStore->GetNext(&nLine, &dwState) == 0) {
        // A line past the end marks the last line.
        TWKEditLine* pLine = m_pEdit->GetLine(nLine);
        if (pLine)
            AddMark(nLine, pLine, (int)(dwState & 0xFFFF));
    }
}

POSITION C_IDEBreakLineMapList::FindMark(int nLine, C_IDEBreakLineMap** ppMark)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION cur = pos;
        auto* pMark = static_cast<C_IDEBreakLineMap*>(GetNext(pos));
        if (pMark->m_nLine == nLine) {
            if (ppMark)
                *ppMark = pMark;
            return cur;
        }
    }
    if (ppMark)
        *ppMark = nullptr;
    return nullptr;
}

void C_IDEBreakLineMapList::AddMark(int nLine, TWKEditLine* pLine, int nState)
{
    SetLineBreakState(pLine, nState);
    AddTail(new C_IDEBreakLineMap(nLine, pLine));
}

BOOL C_IDEBreakLineMapList::RemoveMark(int nLine)
{
    C_IDEBreakLineMap* pMark = nullptr;
    POSITION pos = FindMark(nLine, &pMark);
    if (!pos)
        return FALSE;
    if (IsLinked(pMark->m_pLine))
        SetLineBreakState(pMark->m_pLine, 0);
    RemoveAt(pos);
    delete pMark;
    return TRUE;
}

BOOL C_IDEBreakLineMapList::GetMarkAt(POSITION& pos, int* pnLine, TWKEditLine** ppLine)
{
    if (!pos)
        return FALSE;
    auto* pMark = static_cast<C_IDEBreakLineMap*>(GetNext(pos));
    if (pnLine)
        *pnLine = pMark->m_nLine;
    if (ppLine)
        *ppLine = pMark->m_pLine;
    return TRUE;
}

BOOL C_IDEBreakLineMapList::InsertBreakpoint(int nLine)
{
    I_IceBreakpointList* pStore = m_pIceMgr ? m_pIceMgr->GetBreakpointList() : nullptr;
    if (!pStore || !m_pEdit || pStore->Add(m_pszPath, nLine) != 0)
        return FALSE;
    AddMark(nLine, m_pEdit->GetLine(nLine), 2);
    return TRUE;
}

BOOL C_IDEBreakLineMapList::RemoveBreakpoint(int nLine)
{
    I_IceBreakpointList* pStore = m_pIceMgr ? m_pIceMgr->GetBreakpointList() : nullptr;
    if (!pStore || !m_pEdit || pStore->Remove(m_pszPath, nLine) != 0)
        return FALSE;
    RemoveMark(nLine);
    return TRUE;
}

BOOL C_IDEBreakLineMapList::ToggleBreakpointEnable(int nLine)
{
    if (!m_pIceMgr || !m_pEdit)
        return FALSE;
    C_IDEBreakLineMap* pMark = nullptr;
    if (!FindMark(nLine, &pMark) || !IsLinked(pMark->m_pLine))
        return FALSE;
    int nState = GetLineBreakState(pMark->m_pLine);
    if (nState != 1 && nState != 2)
        return FALSE;
    I_IceBreakpointList* pStore = m_pIceMgr->GetBreakpointList();
    if (!pStore)
        return FALSE;
    BOOL bEnable = nState == 1;
    if (m_pszPath) {
        if (pStore->Enable(m_pszPath, nLine, bEnable) != 0)
            return FALSE;
    } else {
        DWORD a = 0, b = 0;
        if (!m_pIceMgr->SourceToAddress(nullptr, nLine, &a, &b) || pStore->EnableAt(a, b, bEnable) != 0)
            return FALSE;
    }
    SetLineBreakState(pMark->m_pLine, nState == 2 ? 1 : 2);
    return TRUE;
}

void C_IDEBreakLineMapList::ResyncBreakpoints(TWKEditLine* pHint)
{
    if (!m_pIceMgr || !m_pIceMgr->SupportsBreakpoints() || IsEmpty())
        return;
    I_IceBreakpointList* pStore = m_pIceMgr->GetBreakpointList();
    if (!pStore)
        return;
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION cur = pos;
        auto* pMark = static_cast<C_IDEBreakLineMap*>(GetNext(pos));
        int nNewLine = 0;
        if (!FindMovedLine(pHint, pMark->m_pLine, pMark->m_nLine, &nNewLine))
            continue;
        if (nNewLine == -1) {
            // A deleted node is not touched; a line moved too far loses its dot with the breakpoint.
            if (IsLinked(pMark->m_pLine))
                SetLineBreakState(pMark->m_pLine, 0);
            pStore->Remove(m_pszPath, pMark->m_nLine);
            RemoveAt(cur);
            delete pMark;
        } else {
            pStore->Move(m_pszPath, pMark->m_nLine, nNewLine);
            pMark->m_nLine = nNewLine;
        }
    }
}

BOOL C_IDEBreakLineMapList::FindMovedLine(TWKEditLine* pHint, TWKEditLine* pLine, int nLine, int* pnNewLine)
{
    if (!m_pEdit)
        return FALSE;
    TWKEditLine* pStart = m_pEdit->GetLine(nLine);
    if (pStart && pStart == pLine)
        return FALSE;
    if (!pStart)
        pStart = TWKEdit::GetLastLine(pHint);
    TWKEditLine* pDown = pStart;
    TWKEditLine* pUp = pStart;
    BOOL bFound = FALSE;
    // Fifty steps each way: a line moved by fifty lines is still found.
    for (int nStep = 0; nStep <= 50 && (pDown || pUp); nStep++) {
        if (pDown == pLine || pUp == pLine) {
            bFound = TRUE;
            break;
        }
        pDown = pDown ? pDown->pNext : nullptr;
        pUp = pUp ? pUp->pPrev : nullptr;
    }
    if (!bFound) {
        *pnNewLine = -1;
        return TRUE;
    }
    // Numbers as they are after the edits.
    TWKEdit::RenumberLines(pStart);
    *pnNewLine = pLine->nLineNo;
    return TRUE;
}
