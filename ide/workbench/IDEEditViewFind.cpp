// The source views' find and replace driver: the dialogs' Find, Replace and
// Replace All, and Find Next from the find history, on the engine's one-step
// search. A match found through a dialog stays pending (selected, ready for
// Replace) whether it was found at the first try or after wrapping.
#include "ide/workbench/IDEEditView.h"
#include "editor/window/OEFindReplaceDlg.h"
#include "editor/window/TWKEditCoreImpl.h"
#include <cstring>
#include <vector>

BOOL g_bMatchPending = FALSE;
CString g_strPendingReplace;

namespace {
// Longest find text a search takes; a regular expression longer than the
// dialogs' limit becomes a pattern that finds nothing.
constexpr int kMaxPattern = 16383;
constexpr int kMaxRegexDialog = 127;
constexpr int kReportChars = 260;
}

CString FindReportText(LPCSTR pszFind)
{
    return CString(pszFind).Left(kReportChars);
}

void ApplyRegexLengthRule(TWKEditFindRequest* pReq)
{
    if ((pReq->info.dwFlags & SEARCH_REGEX) && pReq->strFind.size() > (size_t)kMaxRegexDialog)
        pReq->strFind = "\x01";
    pReq->info.pszFindText = pReq->strFind.c_str();
}

namespace {
void LimitPattern(TWKEditFindRequest* pReq)
{
    if (pReq->strFind.size() > (size_t)kMaxPattern)
        pReq->strFind.resize(kMaxPattern);
    pReq->info.pszFindText = pReq->strFind.c_str();
}
}

BOOL C_IDEEditView::SearchStep(TWKEditPos* pPos, TWKEditPos limit, TWKEditSearchInfo* pInfo)
{
    // A replacement whose expansion did not fit (length -1) ends the search.
    return FindStep(pPos, limit, pInfo) && pInfo->nMatchLen >= 0;
}

void C_IDEEditView::CloseDialog()
{
    CloseFindDialog();
    g_bMatchPending = FALSE;
}

void C_IDEEditView::EnableReplaceButtons(OEFindReplaceDlg* pDlg, BOOL bEnable)
{
    if (!pDlg || !pDlg->m_hWnd || !pDlg->m_bReplaceMode)
        return;
    for (int nID : {psh1, psh2})
        if (CWnd* pButton = pDlg->GetDlgItem(nID))
            pButton->EnableWindow(bEnable);
}

LRESULT C_IDEEditView::OnFindReplace(WPARAM wParam, LPARAM lParam)
{
    OEFindReplaceDlg* pDlg = m_bFindDlgOpen ? m_pFindDlg : m_bReplaceDlgOpen ? m_pReplaceDlg : nullptr;
    if (!pDlg)
        return 0;
    pDlg->UpdateData(TRUE);
    if (pDlg->IsTerminating()) {
        // The engine forgets the dialog and the text it found; nothing is pending.
        TWKEditView::OnFindReplace(wParam, lParam);
        g_bMatchPending = FALSE;
        g_strPendingReplace.Empty();
        return 0;
    }
    SaveFindSettings(pDlg);
    if (pDlg->m_bReplaceMode)
        SaveReplaceHistory(pDlg);
    TWKEditFindRequest req;
    BuildDialogRequest(pDlg, &req);
    LimitPattern(&req);
    if (pDlg->FindNext())
        DialogFind(pDlg, &req, FALSE);
    else if (pDlg->ReplaceCurrent()) {
        if (g_bMatchPending)
            DialogReplace(pDlg, &req, FALSE);
        else
            DialogFind(pDlg, &req, TRUE);
    } else if (pDlg->ReplaceAll())
        DialogReplaceAll(pDlg);
    return 0;
}

void C_IDEEditView::DialogFind(OEFindReplaceDlg* pDlg, TWKEditFindRequest* pReq, BOOL bReplaceAfter)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return;
    BOOL bForward = (pReq->info.dwFlags & SEARCH_FORWARD) != 0;
    BOOL bReplaceDlg = pDlg->m_bReplaceMode;
    if (m_bSelection) {
        CaretToSelectionEnd(bForward);
        // A pending match stays selected: the search starts past it.
        if (!g_bMatchPending) {
            ClearSelection(m_bUpdate);
            Invalidate(FALSE);
            EnsureCaretVisible();
        }
    }
    TWKEditPos start = {m_pCaretLine, pEdit->ColumnToOffset(m_pCaretLine, m_nCaretCol)};
    if (pDlg->m_bMarkAll) {
        CloseDialog();
        MarkAll(&pReq->info);
        g_strPendingReplace.Empty();
        return;
    }
    CString strReport = FindReportText(pDlg->m_strFind);
    ApplyRegexLengthRule(pReq);
    TWKEditPos none = {nullptr, 0};
    TWKEditPos pos = start;
    BOOL bFound = SearchStep(&pos, none, &pReq->info);
    if (!bFound && !pDlg->m_bWrap) {
        g_strPendingReplace.Empty();
        ReportErrorFormat(IDS_TWK_NOTFOUND, strReport, m_bUpdate);
        if (g_bMatchPending)
            CloseDialog();
        else {
            if (CWnd* pCombo = pDlg->GetDlgItem(IDC_TWK_FINDCOMBO))
                pCombo->SetFocus();
            EnableReplaceButtons(pDlg, FALSE);
        }
        return;
    }
    if (!bFound) {
        TWKEditPos limit = start;
        if (bForward)
            pos = {pEdit->GetFirstLine(), 0};
        else {
            if (pReq->info.pszReplaceText)
                limit.nOffset += (int)pReq->strTemplate.size();
            pos.pLine = TWKEdit::GetLastLine(pEdit->GetFirstLine());
            pos.nOffset = pos.pLine ? pos.pLine->nLength : 0;
        }
        if (!SearchStep(&pos, limit, &pReq->info)) {
            g_strPendingReplace.Empty();
            if (g_bMatchPending) {
                ReportErrorFormat(IDS_TWK_FINISHED, strReport, m_bUpdate);
                CloseDialog();
            } else {
                ReportErrorFormat(IDS_TWK_NOTFOUND, strReport, m_bUpdate);
                if (CWnd* pCombo = pDlg->GetDlgItem(IDC_TWK_FINDCOMBO))
                    pCombo->SetFocus();
            }
            return;
        }
        if (g_bMatchPending && pos.pLine == start.pLine && pos.nOffset == start.nOffset) {
            // Round to the match just replaced: nothing else is left.
            ReportErrorFormat(IDS_TWK_NOTFOUND, strReport, m_bUpdate);
            CloseDialog();
            g_strPendingReplace.Empty();
            return;
        }
    }
    // Found, at the first try or after wrapping: the match is pending.
    EnableReplaceButtons(pDlg, TRUE);
    g_strPendingReplace = pReq->info.pszReplaceText ? pReq->info.pszReplaceText : "";
    g_bMatchPending = TRUE;
    if (bReplaceDlg)
        SaveFindDialogRect(pDlg);
    SelectMatch(pos, pReq->info.nMatchLen);
    free(m_pszFindSelection);
    m_pszFindSelection = CopySelectedText(nullptr);
    if (!bReplaceDlg) {
        // A Find from the Find dialog selects one match and ends the dialog.
        CloseDialog();
        return;
    }
    if (bReplaceAfter && m_bReplaceDlgOpen && m_pReplaceDlg == pDlg && pDlg->ReplaceCurrent())
        DialogReplace(pDlg, pReq, TRUE);
}

void C_IDEEditView::DialogReplace(OEFindReplaceDlg* pDlg, TWKEditFindRequest* pReq, BOOL bFromFind)
{
    LPSTR pszSelected = CopySelectedText(nullptr);
    BOOL bSame = pszSelected && m_pszFindSelection && strcmp(pszSelected, m_pszFindSelection) == 0;
    free(pszSelected);
    if (!bSame) {
        // The selection is not the match found: find one first. A find that
        // just selected a match it cannot read back does not go round again.
        if (!bFromFind)
            DialogFind(pDlg, pReq, TRUE);
        return;
    }
    SaveFindSettings(pDlg);
    SaveReplaceHistory(pDlg);
    // A regular expression's replacement was expanded when its match was found.
    if (!pDlg->m_bRegex)
        g_strPendingReplace = pDlg->m_strReplace == TWK_EMPTY_REPLACE ? CString() : pDlg->m_strReplace;
    CString strInsert = g_strPendingReplace;
    InsertString(strInsert, m_bUpdate, TRUE);
    if (pDlg->m_nDirection != 1)
        m_nCaretCol -= strInsert.GetLength();
    EnableReplaceButtons(pDlg, TRUE);
    if (pDlg->m_hWnd)
        if (CWnd* pReplace = pDlg->GetDlgItem(psh1))
            pReplace->SetFocus();
    g_bMatchPending = TRUE;
    pReq->Refill();
    DialogFind(pDlg, pReq, FALSE);
}

void C_IDEEditView::DialogReplaceAll(OEFindReplaceDlg* pDlg)
{
    TWKEdit* pEdit = GetEdit();
    if (!pEdit || !m_pCaretLine)
        return;
    BeginWaitCursor();
    SaveFindSettings(pDlg);
    SaveReplaceHistory(pDlg);
    TWKEditLine* pOldLine = m_pCaretLine;
    int nOldLine = m_nCaretLine, nOldCol = m_nCaretCol;
    m_pCaretLine = pEdit->GetFirstLine();
    m_nCaretLine = 1;
    m_nCaretCol = 0;
    BOOL bOldUpdate = m_bUpdate;
    m_bUpdate = FALSE;
    ClearSelection(FALSE);

    // The texts straight from the boxes; the dialogs' regular-expression limit does not apply.
    std::vector<char> find(kMaxPattern + 1, '\0'), replace(kMaxPattern + 1, '\0');
    ::SendDlgItemMessageA(pDlg->m_hWnd, IDC_TWK_FINDCOMBO, WM_GETTEXT, find.size(), (LPARAM)find.data());
    ::SendDlgItemMessageA(pDlg->m_hWnd, IDC_TWK_REPLACECOMBO, WM_GETTEXT, replace.size(), (LPARAM)replace.data());
    LPCSTR pszReplace = strcmp(replace.data(), TWK_EMPTY_REPLACE) == 0 ? "" : replace.data();
    DWORD dwFlags = SEARCH_FORWARD | (pDlg->m_bRegex ? SEARCH_REGEX : 0) | (pDlg->MatchCase() ? SEARCH_MATCHCASE : 0);
    TWKEditFindRequest req;
    BuildFindRequest(&req, find.data(), dwFlags);
    BOOL bRegex = pDlg->m_bRegex;
    if (bRegex)
        req.SetTemplate(pszReplace);

    TWKEditPos pos = {pEdit->GetFirstLine(), 0};
    TWKEditPos none = {nullptr, 0};
    int nCount = 0;
    for (;;) {
        req.Refill();
        if (!pEdit->Search(&pos, none, &req.info) || req.info.nMatchLen < 0)
            break;   // done, or a replacement too long for its buffer: what was replaced stays
        LPCSTR pszInsert = bRegex ? req.info.pszReplaceText : pszReplace;
        int nMatch = req.info.nMatchLen;
        SelectMatch(pos, nMatch);
        if (InsertString(pszInsert, FALSE, TRUE) != 0)
            break;
        nCount++;
        // An empty match would be found again at the same place.
        if (nMatch == 0)
            break;
        pos.nOffset += (int)strlen(pszInsert);
    }
    m_bUpdate = bOldUpdate;
    if (nCount == 0) {
        m_pCaretLine = pOldLine;
        m_nCaretLine = nOldLine;
        m_nCaretCol = nOldCol;
        ReportErrorFormat(IDS_TWK_NOTFOUND, find.data(), m_bUpdate);
        g_strPendingReplace.Empty();
    } else {
        ClearSelectionMarks();
        CloseDialog();
        EnsureCaretVisible();
        Invalidate(FALSE);
        UpdateViews(this, 0, nullptr);
    }
    EndWaitCursor();
}

void C_IDEEditView::OnUpdateFindNext(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void C_IDEEditView::OnFindNext()
{
    if (m_pFindDlg && m_bFindDlgOpen) {
        m_pFindDlg->SetFocus();
        return;
    }
    CString strFind = TWKEditFindString("Find1");
    if (strFind.IsEmpty()) {
        OnEditFind();
        return;
    }
    TWKEditFindRequest req;
    BuildFindRequest(&req, strFind, TWKEditProfileFindFlags());
    LimitPattern(&req);
    m_bWrapSearch = TWKEditFindInt("Wrap search", 1);
    if (m_bSelection) {
        CaretToSelectionEnd((req.info.dwFlags & SEARCH_FORWARD) != 0);
        ClearSelection(m_bUpdate);
        EnsureCaretVisible();
    }
    CString strReport = FindReportText(strFind);
    ApplyRegexLengthRule(&req);
    TWKEditPos found = {nullptr, 0};
    if (FindFromCaret(&req.info, m_bWrapSearch, &found) && req.info.nMatchLen >= 0)
        SelectMatch(found, req.info.nMatchLen);
    else
        ReportErrorFormat(IDS_TWK_NOTFOUND, strReport, m_bUpdate);
}
