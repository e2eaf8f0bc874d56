// Find and replace in the editing window: the dialogs, Find Next, the
// dialog's find, replace, Replace All and Mark All steps, wrapping and the
// histories. Part of TWKEditCoreImpl.h.
#pragma once
#include "editor/store/TWKEditSearch.h"
#include <string>
#include <vector>

// ------------------------------------------------------------- requests

template <class Base>
void TWKEditCore<Base>::BuildFindRequest(TWKEditFindRequest* pReq, LPCSTR pszFind, DWORD dwFlags)
{
    pReq->strFind = pszFind ? pszFind : "";
    pReq->info = TWKEditSearchInfo();
    pReq->info.dwFlags = dwFlags;
    pReq->info.pszFindText = pReq->strFind.c_str();
}

// The four search options of "Settings\Find" as search flags.
inline DWORD TWKEditProfileFindFlags()
{
    DWORD dwFlags = 0;
    if (TWKEditFindInt("Regular expressions", 0))
        dwFlags |= SEARCH_REGEX;
    if (TWKEditFindInt("Match case", 0))
        dwFlags |= SEARCH_MATCHCASE;
    if (TWKEditFindInt("Forward", 1))
        dwFlags |= SEARCH_FORWARD;
    return dwFlags;
}

// ----------------------------------------------------------- search steps

template <class Base>
BOOL TWKEditCore<Base>::StepPastPos(TWKEditPos* pPos)
{
    if (!pPos->pLine)
        return FALSE;
    if (pPos->nOffset < TextEnd(pPos->pLine))
    {
        pPos->nOffset++;
        return TRUE;
    }
    if (!pPos->pLine->pNext)
        return FALSE;
    pPos->pLine = pPos->pLine->pNext;
    pPos->nOffset = 0;
    return TRUE;
}

// One search; a match of length 0 right where a forward search started is
// passed over, so that finding again moves on.
template <class Base>
int TWKEditCore<Base>::FindStep(TWKEditPos* pPos, TWKEditPos limit, TWKEditSearchInfo* pInfo)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditPos start = *pPos;
    if (!pEdit || !pEdit->Search(pPos, limit, pInfo))
        return 0;
    if (pInfo->nMatchLen != 0 || !(pInfo->dwFlags & SEARCH_FORWARD) || pPos->pLine != start.pLine ||
        pPos->nOffset != start.nOffset)
        return 1;
    if (!StepPastPos(&start))
        return 0;
    *pPos = start;
    return pEdit->Search(pPos, limit, pInfo);
}

// A search from the caret, wrapping round the text when bWrap is set.
template <class Base>
int TWKEditCore<Base>::FindFromCaret(TWKEditSearchInfo* pInfo, BOOL bWrap, TWKEditPos* pFound)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    TWKEditPos pos = {m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol)};
    TWKEditPos none = {NULL, 0};
    TWKEditPos start = pos;
    if (FindStep(&pos, none, pInfo))
    {
        *pFound = pos;
        return 1;
    }
    if (!bWrap)
        return 0;
    TWKEditPos limit = start;
    if (pInfo->dwFlags & SEARCH_FORWARD)
    {
        pos.pLine = pEdit->GetFirstLine();
        pos.nOffset = 0;
    }
    else
    {
        // A match that starts at the caret is found after wrapping.
        limit.nOffset += (int)strlen(pInfo->pszFindText);
        pos.pLine = TWKEdit::GetLastLine(pEdit->GetFirstLine());
        pos.nOffset = pos.pLine->nLength;
    }
    if (!FindStep(&pos, limit, pInfo))
        return 0;
    *pFound = pos;
    return 2;
}

template <class Base>
void TWKEditCore<Base>::SelectMatch(TWKEditPos pos, int nLen)
{
    TWKEdit* pEdit = GetEdit();
    int nCols = pEdit->OffsetToColumn(pos.pLine, pos.nOffset + nLen) - pEdit->OffsetToColumn(pos.pLine, pos.nOffset);
    MoveCaretTo(&pos, nCols, m_bUpdate);
}

// With a selection the caret goes to its end (forward) or start.
template <class Base>
void TWKEditCore<Base>::CaretToSelectionEnd(BOOL bForward)
{
    if (!m_pSelStartLine || !m_pSelEndLine)
        return;
    TWKEditLine* pLine = bForward ? m_pSelEndLine : m_pSelStartLine;
    int nCol = bForward ? m_nSelEndCol : m_nSelStartCol;
    if (m_nSelMode == 2 && m_nSelStartCol > m_nSelEndCol)
        nCol = bForward ? m_nSelStartCol : m_nSelEndCol;
    m_pCaretLine = pLine;
    m_nCaretLine = pLine->nLineNo;
    m_nCaretCol = nCol;
}

// ------------------------------------------------------ Find Next, FindText

template <class Base>
BOOL TWKEditCore<Base>::FindNextFromProfile(BOOL bFindText)
{
    m_bFound = FALSE;
    if (m_pFindDlg && m_bFindDlgOpen)
    {
        m_pFindDlg->SetFocus();
        return FALSE;
    }
    CString strFind = TWKEditFindString("Find1");
    if (strFind.IsEmpty())
    {
        if (bFindText)
            OnEditFind();
        else if (m_pReplaceDlg && m_bReplaceDlgOpen)
            m_pReplaceDlg->SetFocus();
        else
            OnEditFind();
        return FALSE;
    }
    TWKEditFindRequest req;
    BuildFindRequest(&req, strFind, TWKEditProfileFindFlags());
    m_bWrapSearch = TWKEditFindInt("Wrap search", 1);
    BOOL bForward = (req.info.dwFlags & SEARCH_FORWARD) != 0;
    if (m_bSelection)
    {
        CaretToSelectionEnd(bForward);
        ClearSelection(m_bUpdate);
        EnsureCaretVisible();
    }
    TWKEditPos found = {NULL, 0};
    if (FindFromCaret(&req.info, m_bWrapSearch, &found))
    {
        SelectMatch(found, req.info.nMatchLen);
        m_bFound = TRUE;
    }
    else
        ReportErrorFormat(IDS_TWK_NOTFOUND, strFind, m_bUpdate);
    return m_bFound;
}

template <class Base>
BOOL TWKEditCore<Base>::FindText(LPCSTR pszText, BOOL bMatchCase, BOOL)
{
    if (!pszText || !*pszText)
    {
        // Nothing to look for: the user is asked.
        m_bFound = FALSE;
        OnEditFind();
        return m_bFound;
    }
    AddFindHistory(pszText);
    TWKEditWriteFindInt("Match case", bMatchCase ? 1 : 0);
    return FindNextFromProfile(TRUE);
}

template <class Base>
void TWKEditCore<Base>::OnFindNext()
{
    FindNextFromProfile(FALSE);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateFindNext(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!TWKEditFindString("Find1").IsEmpty());
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditFind(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

template <class Base>
void TWKEditCore<Base>::OnUpdateEditReplace(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

// ---------------------------------------------------------------- dialogs

template <class Base>
void TWKEditCore<Base>::OpenFindDialog(BOOL bReplace)
{
    OEFindReplaceDlg*& pOther = bReplace ? m_pFindDlg : m_pReplaceDlg;
    BOOL bOtherOpen = bReplace ? m_bFindDlgOpen : m_bReplaceDlgOpen;
    OEFindReplaceDlg*& pDlg = bReplace ? m_pReplaceDlg : m_pFindDlg;
    BOOL& bOpen = bReplace ? m_bReplaceDlgOpen : m_bFindDlgOpen;
    if (pOther && bOtherOpen)
    {
        pOther->SetFocus();
        return;
    }
    if (pDlg && bOpen)
    {
        pDlg->SetFocus();
        return;
    }
    pDlg = new OEFindReplaceDlg;
    bOpen = TRUE;
    pDlg->m_fr.hInstance = AfxGetResourceHandle();
    pDlg->m_fr.lpTemplateName = MAKEINTRESOURCEA(bReplace ? IDD_TWK_REPLACE : IDD_TWK_FIND);
    pDlg->m_bReplaceMode = bReplace;
    LoadFindSettings(pDlg);
    if (!pDlg->Create(!bReplace, "", bReplace ? "" : NULL, FR_DOWN | FR_ENABLETEMPLATE, this))
    {
        delete pDlg;
        pDlg = NULL;
        bOpen = FALSE;
        return;
    }
    pDlg->SetActiveWindow();
    pDlg->ShowWindow(SW_SHOW);
}

template <class Base>
void TWKEditCore<Base>::OnEditFind()
{
    OpenFindDialog(FALSE);
}

template <class Base>
void TWKEditCore<Base>::OnEditReplace()
{
    OpenFindDialog(TRUE);
}

template <class Base>
void TWKEditCore<Base>::LoadFindSettings(OEFindReplaceDlg* pDlg)
{
    GetSelectionOrWord(pDlg->m_strFind);
    pDlg->m_bRegex = TWKEditFindInt("Regular expressions", 0);
    pDlg->m_bMatchCase = TWKEditFindInt("Match case", 0);
    pDlg->m_nDirection = TWKEditFindInt("Forward", 1);
    pDlg->m_bWrap = TWKEditFindInt("Wrap search", 1);
}

template <class Base>
void TWKEditCore<Base>::SaveFindDialogRect(OEFindReplaceDlg* pDlg)
{
    if (pDlg && pDlg->m_hWnd)
        pDlg->GetWindowRect(&m_rcAvoid);
}

template <class Base>
void TWKEditCore<Base>::SaveFindSettings(OEFindReplaceDlg* pDlg)
{
    TWKEditWriteFindInt("Regular expressions", pDlg->m_bRegex ? 1 : 0);
    TWKEditWriteFindInt("Match case", pDlg->m_bMatchCase ? 1 : 0);
    TWKEditWriteFindInt("Forward", pDlg->m_nDirection);
    TWKEditWriteFindInt("Wrap search", pDlg->m_bWrap ? 1 : 0);
    AddFindHistory(pDlg->m_strFind);
}

template <class Base>
void TWKEditCore<Base>::SaveReplaceHistory(OEFindReplaceDlg* pDlg)
{
    AddReplaceHistory(pDlg->m_strReplace);
}

template <class Base>
void TWKEditCore<Base>::AddFindHistory(CString strText)
{
    TWKEditAddHistory("Find%d", strText);
}

template <class Base>
void TWKEditCore<Base>::AddReplaceHistory(CString& strText)
{
    if (strText.IsEmpty())
        strText = TWK_EMPTY_REPLACE;
    TWKEditAddHistory("Replace%d", strText);
}

template <class Base>
void TWKEditCore<Base>::CloseFindDialog()
{
    OEFindReplaceDlg* pDlg = m_bFindDlgOpen ? m_pFindDlg : m_bReplaceDlgOpen ? m_pReplaceDlg : NULL;
    m_pFindDlg = m_pReplaceDlg = NULL;
    m_bFindDlgOpen = m_bReplaceDlgOpen = FALSE;
    g_bCanReplace = FALSE;
    if (pDlg && pDlg->m_hWnd)
        pDlg->DestroyWindow();
}

// ------------------------------------------------------------ the driver

template <class Base>
LRESULT TWKEditCore<Base>::OnFindReplace(WPARAM, LPARAM)
{
    OEFindReplaceDlg* pDlg = m_bFindDlgOpen ? m_pFindDlg : m_bReplaceDlgOpen ? m_pReplaceDlg : NULL;
    if (!pDlg)
        return 0;
    pDlg->UpdateData(TRUE);
    if (pDlg->IsTerminating())
    {
        m_pFindDlg = m_pReplaceDlg = NULL;
        m_bFindDlgOpen = m_bReplaceDlgOpen = FALSE;
        g_bCanReplace = FALSE;
        s_strReplaceText.Empty();
        free(m_pszFindSelection);
        m_pszFindSelection = NULL;
        return 0;
    }
    SaveFindSettings(pDlg);
    if (pDlg->m_bReplaceMode)
        SaveReplaceHistory(pDlg);
    if (pDlg->FindNext())
        DialogFindStep(pDlg, FALSE);
    else if (pDlg->ReplaceCurrent())
    {
        if (!g_bCanReplace)
            DialogFindStep(pDlg, TRUE);
        else
            DialogReplaceStep(pDlg);
    }
    else if (pDlg->ReplaceAll())
        DialogReplaceAll(pDlg);
    return 0;
}

template <class Base>
void TWKEditCore<Base>::BuildDialogRequest(OEFindReplaceDlg* pDlg, TWKEditFindRequest* pReq)
{
    DWORD dwFlags = 0;
    if (pDlg->m_bRegex)
        dwFlags |= SEARCH_REGEX;
    if (pDlg->MatchCase())
        dwFlags |= SEARCH_MATCHCASE;
    if (pDlg->m_nDirection == 1)
        dwFlags |= SEARCH_FORWARD;
    BuildFindRequest(pReq, pDlg->m_strFind, dwFlags);
    if (pDlg->m_bReplaceMode)
        pReq->SetTemplate(pDlg->m_strReplace == TWK_EMPTY_REPLACE ? "" : (LPCSTR)pDlg->m_strReplace);
}

// The selection's text as the find step copied it.
template <class Base>
LPSTR TWKEditCore<Base>::CopySelectionText()
{
    TWKEdit* pEdit = GetEdit();
    TWKEditPos a, b;
    BOOL bColumn = FALSE;
    if (!pEdit || !m_bSelection || !GetSelection(&a, &b, &bColumn))
        return NULL;
    return bColumn ? pEdit->CopyColumn(a, b) : pEdit->CopyRange(a, b);
}

template <class Base>
void TWKEditCore<Base>::DialogFindStep(OEFindReplaceDlg* pDlg, BOOL bReplaceAfter)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return;
    TWKEditFindRequest req;
    BuildDialogRequest(pDlg, &req);
    BOOL bForward = (req.info.dwFlags & SEARCH_FORWARD) != 0;
    CString strFind = pDlg->m_strFind;
    if (m_bSelection)
    {
        CaretToSelectionEnd(bForward);
        if (!g_bCanReplace)
        {
            ClearSelection(m_bUpdate);
            if (this->m_hWnd)
                this->Invalidate(FALSE);
            EnsureCaretVisible();
        }
    }
    if (pDlg->m_bMarkAll)
    {
        CloseFindDialog();
        MarkAll(&req.info);
        s_strReplaceText.Empty();
        return;
    }
    TWKEditPos caret = {m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol)};
    TWKEditPos found = {NULL, 0};
    int nFound = FindFromCaret(&req.info, pDlg->m_bWrap, &found);
    if (nFound == 2 && g_bCanReplace && found.pLine == caret.pLine && found.nOffset == caret.nOffset)
    {
        // Come round to where the replacing started.
        ReportErrorFormat(IDS_TWK_FINISHED, strFind, m_bUpdate);
        CloseFindDialog();
        s_strReplaceText.Empty();
        return;
    }
    if (!nFound)
    {
        s_strReplaceText.Empty();
        if (g_bCanReplace)
        {
            ReportErrorFormat(IDS_TWK_FINISHED, strFind, m_bUpdate);
            CloseFindDialog();
        }
        else
        {
            ReportErrorFormat(IDS_TWK_NOTFOUND, strFind, m_bUpdate);
            if (pDlg->m_hWnd)
            {
                if (CWnd* pCombo = pDlg->GetDlgItem(IDC_TWK_FINDCOMBO))
                    pCombo->SetFocus();
                if (pDlg->m_bReplaceMode && !pDlg->m_bWrap)
                    for (int nID : {psh1, psh2})
                        if (CWnd* pButton = pDlg->GetDlgItem(nID))
                            pButton->EnableWindow(FALSE);
            }
        }
        return;
    }
    if (pDlg->m_bReplaceMode)
    {
        for (int nID : {psh1, psh2})
            if (CWnd* pButton = pDlg->GetDlgItem(nID))
                pButton->EnableWindow(TRUE);
        SaveFindDialogRect(pDlg);
    }
    s_strReplaceText = req.info.pszReplaceText ? req.info.pszReplaceText : "";
    g_bCanReplace = TRUE;
    SelectMatch(found, req.info.nMatchLen);
    free(m_pszFindSelection);
    m_pszFindSelection = CopySelectionText();
    if (!pDlg->m_bReplaceMode)
    {
        CloseFindDialog();
        return;
    }
    if (bReplaceAfter && m_bReplaceDlgOpen && pDlg->ReplaceCurrent())
        DialogReplaceStep(pDlg);
}

// Deletes a match (on one line) with undo; the caret stays at its start.
// No selection is made for it: nothing is painted while replacing, and
// asking for the focus each time would cost more than the edit.
template <class Base>
void TWKEditCore<Base>::DeleteMatch(TWKEditPos pos, int nLen)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditPos to = {pos.pLine, pos.nOffset + nLen};
    if (nLen > 0)
        pEdit->DeleteRange(pos, to, TRUE);
    m_pCaretLine = pos.pLine;
    m_nCaretLine = pos.pLine->nLineNo;
    m_nCaretCol = pEdit->OffsetToColumn(pos.pLine, pos.nOffset);
}

template <class Base>
BOOL TWKEditCore<Base>::ReplacementFits(TWKEditLine* pLine, int nInsert)
{
    TWKEdit* pEdit = GetEdit();
    // No byte is wider than a tab: a line that cannot come near the limit
    // is not measured (Replace All asks for every match).
    if ((long long)pLine->nLength * pEdit->m_nTabSize + nInsert < TWK_MAX_COLUMNS)
        return TRUE;
    return pEdit->OffsetToColumn(pLine, pLine->nLength) + nInsert < TWK_MAX_COLUMNS;
}

template <class Base>
void TWKEditCore<Base>::DialogReplaceStep(OEFindReplaceDlg* pDlg)
{
    TWKEdit* pEdit = GetEdit();
    LPSTR pszSelected = CopySelectionText();
    BOOL bSame = pszSelected && m_pszFindSelection && strcmp(pszSelected, m_pszFindSelection) == 0;
    free(pszSelected);
    if (!bSame || !pEdit)
    {
        DialogFindStep(pDlg, TRUE);
        return;
    }
    SaveFindSettings(pDlg);
    SaveReplaceHistory(pDlg);
    CString strInsert = pDlg->m_bRegex ? s_strReplaceText
                                       : (pDlg->m_strReplace == TWK_EMPTY_REPLACE ? CString() : pDlg->m_strReplace);
    s_strReplaceText = strInsert;
    int nLen = strInsert.GetLength();
    pEdit->SetUndoGroup(TRUE);
    if (ReplacementFits(m_pCaretLine, nLen))
    {
        DeleteSelection(FALSE, TRUE);
        TWKEditPos at = {m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol)};
        pEdit->InsertString(at, strInsert, TRUE, TRUE);
        m_nCaretCol += nLen;
        if (m_bUpdate)
        {
            RepaintCaretLine(FALSE);
            EnsureCaretVisible();
            UpdateViews(this, 0, NULL);
        }
    }
    pEdit->SetUndoGroup(FALSE);
    if (pDlg->m_nDirection != 1)
        m_nCaretCol -= nLen;
    for (int nID : {psh1, psh2})
        if (CWnd* pButton = pDlg->GetDlgItem(nID))
            pButton->EnableWindow(TRUE);
    if (CWnd* pReplace = pDlg->GetDlgItem(psh1))
        pReplace->SetFocus();
    g_bCanReplace = TRUE;
    DialogFindStep(pDlg, FALSE);
}

template <class Base>
void TWKEditCore<Base>::DialogReplaceAll(OEFindReplaceDlg* pDlg)
{
    this->BeginWaitCursor();
    // The texts straight from the combo boxes, as long as a line may be.
    std::vector<char> find(TWK_MAX_COLUMNS + 2, '\0'), replace(TWK_MAX_COLUMNS + 2, '\0');
    ::GetDlgItemTextA(pDlg->m_hWnd, IDC_TWK_FINDCOMBO, find.data(), (int)find.size());
    ::GetDlgItemTextA(pDlg->m_hWnd, IDC_TWK_REPLACECOMBO, replace.data(), (int)replace.size());
    LPCSTR pszReplace = strcmp(replace.data(), TWK_EMPTY_REPLACE) == 0 ? "" : replace.data();
    DWORD dwFlags = (pDlg->m_bRegex ? SEARCH_REGEX : 0) | (pDlg->MatchCase() ? SEARCH_MATCHCASE : 0);
    CString strFind = find.data();
    if (ReplaceAll(strFind, pszReplace, dwFlags) == 0)
    {
        ReportErrorFormat(IDS_TWK_NOTFOUND, strFind, m_bUpdate);
        s_strReplaceText.Empty();
    }
    else
        CloseFindDialog();
    this->EndWaitCursor();
}

template <class Base>
int TWKEditCore<Base>::ReplaceAll(LPCSTR pszFind, LPCSTR pszReplace, DWORD dwFlags)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return 0;
    TWKEditLine* pOldLine = m_pCaretLine;
    int nOldLine = m_nCaretLine, nOldCol = m_nCaretCol;
    BOOL bOldUpdate = m_bUpdate;
    m_bUpdate = FALSE;
    ClearSelection(FALSE);
    TWKEditFindRequest req;
    BuildFindRequest(&req, pszFind, (dwFlags | SEARCH_FORWARD) & (SEARCH_REGEX | SEARCH_MATCHCASE | SEARCH_FORWARD));
    BOOL bRegex = (dwFlags & SEARCH_REGEX) != 0;
    if (bRegex)
        req.SetTemplate(pszReplace);
    TWKEditPos pos = {pEdit->GetFirstLine(), 0};
    TWKEditPos none = {NULL, 0};
    TWKEditPos caret = {NULL, 0};   // after the last text put in
    int nCount = 0;
    for (;;)
    {
        req.Refill();
        if (!pEdit->Search(&pos, none, &req.info))
            break;
        LPCSTR pszInsert = bRegex ? req.info.pszReplaceText : pszReplace;
        int nInsert = (int)strlen(pszInsert);
        int nMatch = req.info.nMatchLen;
        BOOL bDone = FALSE;
        pEdit->SetUndoGroup(TRUE);
        if (ReplacementFits(pos.pLine, nInsert))
        {
            TWKEditPos to = {pos.pLine, pos.nOffset + nMatch};
            if (nMatch > 0)
                pEdit->DeleteRange(pos, to, TRUE);
            pEdit->InsertString(pos, pszInsert, TRUE, TRUE);
            // The caret's column is taken once, after the loop: nothing
            // after the last replacement changes its line.
            caret.pLine = pos.pLine;
            caret.nOffset = pos.nOffset + nInsert;
            bDone = TRUE;
        }
        pEdit->SetUndoGroup(FALSE);
        nCount++;
        // Right after the inserted text, or after the skipped match; after
        // a match of length 0 one byte further, so that no place is found
        // again and again.
        pos.nOffset += bDone ? nInsert : nMatch;
        if (nMatch == 0 && !StepPastPos(&pos))
            break;
    }
    m_bUpdate = bOldUpdate;
    if (caret.pLine)
    {
        m_pCaretLine = caret.pLine;
        m_nCaretLine = caret.pLine->nLineNo;
        m_nCaretCol = pEdit->OffsetToColumn(caret.pLine, caret.nOffset);
    }
    if (nCount == 0)
    {
        m_pCaretLine = pOldLine;
        m_nCaretLine = nOldLine;
        m_nCaretCol = nOldCol;
        return 0;
    }
    ClearSelectionMarks();
    EnsureCaretVisible();
    if (this->m_hWnd)
        this->Invalidate(FALSE);
    UpdateViews(this, 0, NULL);
    return nCount;
}

// ---------------------------------------------------------------- Mark All

template <class Base>
int TWKEditCore<Base>::MarkMatches(TWKEditSearchInfo* pInfo)
{
    TWKEdit* pEdit = GetEdit();
    TWKEditPos pos = {pEdit->GetFirstLine(), 0};
    TWKEditPos none = {NULL, 0};
    int nCount = 0;
    while (pEdit->Search(&pos, none, pInfo))
    {
        pos.pLine->dwFlags |= LINE_BOOKMARK;
        pEdit->m_nBookmarkCount++;
        nCount++;
        pos.nOffset += pInfo->nMatchLen;
        if (pInfo->nMatchLen == 0 && !StepPastPos(&pos))
            break;
    }
    return nCount;
}

template <class Base>
void TWKEditCore<Base>::MarkAll(TWKEditSearchInfo* pInfo)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !pInfo || !m_pCaretLine)
        return;
    pInfo->dwFlags |= SEARCH_FORWARD;
    MarkMatches(pInfo);
    if (pEdit->m_nBookmarkCount == 0)
        return;
    if (m_nCaretLine != 1 || m_nCaretCol != 0)
    {
        UpdateLineCount();
        m_pTopLine = m_pCaretLine = pEdit->GetFirstLine();
        m_nTopLine = m_nCaretLine = 1;
        m_nCaretCol = m_nFirstCol = 0;
    }
    OnNextBookmark();
    if (this->m_hWnd)
        this->Invalidate(TRUE);
}
