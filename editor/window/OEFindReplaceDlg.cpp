// The Find and Replace dialogs, the find settings and the histories.
#include "editor/window/OEFindReplaceDlg.h"
#include "editor/window/TWKEditCore.h"
#include <dlgs.h>

BOOL g_bCanReplace = FALSE;
CString s_strReplaceText;

namespace {

const int kHistorySize = 10;

// The row of the caret of an editing window, in screen coordinates, and
// its line height; FALSE for other windows.
template <class Base>
BOOL CaretRowOf(CWnd* pWnd, int* pnY, int* pnLineHeight)
{
    auto* p = dynamic_cast<TWKEditCore<Base>*>(pWnd);
    if (!p || !p->m_hWnd)
        return FALSE;
    CRect rc;
    p->GetWindowRect(&rc);
    *pnY = (p->m_nCaretLine - p->m_nTopLine) * p->m_nLineHeight + rc.top;
    *pnLineHeight = p->m_nLineHeight;
    return TRUE;
}

void FillHistory(CWnd* pCombo, LPCSTR pszFormat, CString* pstrFirst, BOOL bReplace)
{
    if (!pCombo)
        return;
    for (int i = 1; i <= kHistorySize; i++)
    {
        CString strKey;
        strKey.Format(pszFormat, i);
        CString strEntry = TWKEditFindString(strKey);
        if (bReplace && strEntry == TWK_EMPTY_REPLACE)
            strEntry.Empty();   // shown as an empty line, and not the end
        else if (strEntry.IsEmpty())
            break;
        int nIndex = (int)pCombo->SendMessage(CB_INSERTSTRING, (WPARAM)(i - 1), (LPARAM)(LPCSTR)strEntry);
        if (pstrFirst && pstrFirst->IsEmpty() && !strEntry.IsEmpty())
        {
            *pstrFirst = strEntry;
            pCombo->SendMessage(CB_SETCURSEL, (WPARAM)nIndex, 0);
        }
    }
}

} // namespace

int TWKEditFindInt(LPCSTR pszKey, int nDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? (int)pApp->GetProfileInt(TWK_FIND_SECTION, pszKey, nDefault) : nDefault;
}

CString TWKEditFindString(LPCSTR pszKey)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileString(TWK_FIND_SECTION, pszKey, "") : CString();
}

void TWKEditWriteFindInt(LPCSTR pszKey, int nValue)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(TWK_FIND_SECTION, pszKey, nValue);
}

void TWKEditAddHistory(LPCSTR pszFormat, const CString& strText)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || strText.IsEmpty())
        return;
    CString strKey;
    strKey.Format(pszFormat, 1);
    CString strMoving = TWKEditFindString(strKey);
    if (strMoving == strText)
        return;
    pApp->WriteProfileString(TWK_FIND_SECTION, strKey, strText);
    // Each old entry one place down, until a free slot or the text's old
    // place is filled; the tenth falls off.
    for (int i = 2; i <= kHistorySize && !strMoving.IsEmpty(); i++)
    {
        strKey.Format(pszFormat, i);
        CString strOld = TWKEditFindString(strKey);
        pApp->WriteProfileString(TWK_FIND_SECTION, strKey, strMoving);
        if (strOld == strText)
            break;
        strMoving = strOld;
    }
}

// ---------------------------------------------------------------- dialog

BEGIN_MESSAGE_MAP(OEFindReplaceDlg, CFindReplaceDialog)
    ON_BN_CLICKED(IDC_TWK_MARKALL, OnMarkAll)
END_MESSAGE_MAP()

OEFindReplaceDlg::OEFindReplaceDlg()
    : m_bReplaceMode(FALSE), m_bRegex(FALSE), m_bMatchCase(FALSE), m_bMarkAll(FALSE), m_nDirection(-1),
      m_bWrap(FALSE)
{
}

OEFindReplaceDlg::~OEFindReplaceDlg()
{
}

void OEFindReplaceDlg::DoDataExchange(CDataExchange* pDX)
{
    CFindReplaceDialog::DoDataExchange(pDX);
    DDX_Text(pDX, edt1, m_strFind);
    if (m_bReplaceMode)
        DDX_Text(pDX, edt2, m_strReplace);
    DDX_Check(pDX, IDC_TWK_REGEX, m_bRegex);
    DDX_Check(pDX, chx2, m_bMatchCase);
    DDX_Radio(pDX, rad1, m_nDirection);
    DDX_Check(pDX, IDC_TWK_WRAP, m_bWrap);
    if (pDX->m_bSaveAndValidate)
    {
        // The texts the user sees are the combo boxes'.
        GetDlgItemText(IDC_TWK_FINDCOMBO, m_strFind);
        if (m_bReplaceMode)
            GetDlgItemText(IDC_TWK_REPLACECOMBO, m_strReplace);
    }
}

BOOL OEFindReplaceDlg::OnInitDialog()
{
    PlaceClearOfCaret();
    if (CWnd* pFindNext = GetDlgItem(IDOK))
        pFindNext->EnableWindow(TRUE);
    FillFindHistory();
    if (m_bReplaceMode)
    {
        for (int nID : {psh1, psh2})
            if (CWnd* pButton = GetDlgItem(nID))
                pButton->EnableWindow(TRUE);
        FillReplaceHistory();
    }
    return CFindReplaceDialog::OnInitDialog();
}

void OEFindReplaceDlg::PlaceClearOfCaret()
{
    CWnd* pOwner = m_pParentWnd ? m_pParentWnd : CWnd::FromHandle(m_fr.hwndOwner);
    int y = 0, nLineHeight = 0;
    if (!pOwner || !(CaretRowOf<CWnd>(pOwner, &y, &nLineHeight) || CaretRowOf<CView>(pOwner, &y, &nLineHeight)))
        return;
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->m_hWnd)
        pMain = pOwner->GetTopLevelParent();
    if (!pMain || !pMain->m_hWnd)
        return;
    CRect rcMain, rcDlg;
    pMain->GetWindowRect(&rcMain);
    GetWindowRect(&rcDlg);
    int h = rcDlg.Height();
    int top = rcMain.top;
    if (top + h >= y)
    {
        top = rcMain.bottom - 2 * nLineHeight - h;
        int nMax = ::GetSystemMetrics(SM_CYMAXIMIZED);
        if (top + h > nMax)
            top = nMax - h;
    }
    SetWindowPos(NULL, rcDlg.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OEFindReplaceDlg::FillFindHistory()
{
    CWnd* pCombo = GetDlgItem(IDC_TWK_FINDCOMBO);
    FillHistory(pCombo, "Find%d", &m_strFind, FALSE);
    if (pCombo && !m_strFind.IsEmpty())
        pCombo->SetWindowText(m_strFind);
}

void OEFindReplaceDlg::FillReplaceHistory()
{
    FillHistory(GetDlgItem(IDC_TWK_REPLACECOMBO), "Replace%d", &m_strReplace, TRUE);
}

void OEFindReplaceDlg::OnMarkAll()
{
    m_bMarkAll = TRUE;
    SendMessage(WM_COMMAND, IDOK, 0);
}
