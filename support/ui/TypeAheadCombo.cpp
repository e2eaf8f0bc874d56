#include "support/ui/TypeAheadCombo.h"
#include <cctype>

namespace {
// Completing changes the edit text, which reports another update: one completion at a time.
bool g_bCompleting = false;
} // namespace

// ---------------------------------------------------------------------------
// CTypeAheadEdit

BEGIN_MESSAGE_MAP(CTypeAheadEdit, CEdit)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void CTypeAheadEdit::OnKillFocus(CWnd* pNewWnd)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_KILLFOCUS), (LPARAM)m_hWnd);
    CEdit::OnKillFocus(pNewWnd);
}

// ---------------------------------------------------------------------------
// CTypeAheadCombo

BEGIN_MESSAGE_MAP(CTypeAheadCombo, CComboBox)
    ON_CONTROL_REFLECT(CBN_EDITUPDATE, OnEditUpdate)
    ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, OnSelChange)
    ON_EN_KILLFOCUS(CTypeAheadCombo::IDC_COMBO_EDIT, OnEditKillFocus)
END_MESSAGE_MAP()

void CTypeAheadCombo::PreSubclassWindow()
{
    if (HWND hEdit = ::GetDlgItem(m_hWnd, IDC_COMBO_EDIT))
        m_edit.SubclassWindow(hEdit);
    CComboBox::PreSubclassWindow();
}

BOOL CTypeAheadCombo::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        m_nLastKey = (UINT)pMsg->wParam;
        if (pMsg->wParam == VK_RETURN) {
            SelectMatch();
            return TRUE;
        }
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

void CTypeAheadCombo::SelectMatch()
{
    CString text;
    if (m_edit.m_hWnd)
        m_edit.GetWindowText(text);
    int index = (int)SendMessage(CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)text);
    if (index == CB_ERR)
        index = m_nLastSel;
    SetCurSel(index);
    m_nLastSel = index;
}

BOOL CTypeAheadCombo::AutoComplete(int nStart, CString strText)
{
    if (strText.IsEmpty())
        return FALSE;
    const int first = nStart == -1 ? 0 : nStart;
    const int count = GetCount();
    int best = -1;
    int bestLength = 0;
    for (int i = first; i < count; ++i) {
        CString item;
        GetLBText(i, item);
        const int n = std::min(item.GetLength(), strText.GetLength());
        int length = 0;
        while (length < n && tolower((unsigned char)item[length]) == tolower((unsigned char)strText[length]))
            ++length;
        if (length > bestLength) {
            bestLength = length;
            best = i;
        }
    }
    if (best == -1)
        best = m_nLastSel;
    SetCurSel(best);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_SELCHANGE), (LPARAM)m_hWnd);
    SetEditSel(bestLength, -1);
    m_nLastSel = best;
    return TRUE;
}

void CTypeAheadCombo::OnEditUpdate()
{
    if (g_bCompleting)
        return;
    g_bCompleting = true;
    UINT ch = ::MapVirtualKeyA(m_nLastKey, 2 /* MAPVK_VK_TO_CHAR */);
    if (ch != 0 && ((ch < 256 && isgraph((int)ch)) || m_nLastKey == VK_SPACE)) {
        CString text;
        if (m_edit.m_hWnd)
            m_edit.GetWindowText(text);
        AutoComplete(-1, text);
    }
    g_bCompleting = false;
}

BOOL CTypeAheadCombo::OnSelChange()
{
    m_nLastSel = GetCurSel();
    return FALSE;   // the parent hears of it too
}

void CTypeAheadCombo::OnEditKillFocus()
{
    SelectMatch();
    // The combo box keeps its own focus bookkeeping.
    Default();
}
