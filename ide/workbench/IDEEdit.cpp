#include "ide/workbench/IDEEdit.h"
#include <cstdlib>

C_IDEEditLineColorList::~C_IDEEditLineColorList()
{
    free(m_pEntries);
}

BOOL C_IDEEditLineColorList::SetSize(int nCount)
{
    free(m_pEntries);
    m_pEntries = nullptr;
    m_nCount = 0;
    if (nCount <= 0)
        return TRUE;
    m_pEntries = static_cast<Entry*>(calloc((size_t)nCount, sizeof(Entry)));
    if (!m_pEntries)
        return FALSE;
    m_nCount = nCount;
    return TRUE;
}

COLORREF C_IDEEditLineColorList::GetColor(int nLine) const
{
    return IsColorSet(nLine) ? m_pEntries[nLine - 1].cr : m_crDefault;
}

BOOL C_IDEEditLineColorList::IsColorSet(int nLine) const
{
    return nLine >= 1 && nLine <= m_nCount && m_pEntries[nLine - 1].bSet;
}

COLORREF C_IDEEditLineColorList::SetColor(int nLine, COLORREF cr)
{
    if (nLine < 1 || nLine > m_nCount)
        return 0;
    Entry& e = m_pEntries[nLine - 1];
    COLORREF crOld = e.cr;
    e.bSet = 1;
    e.cr = cr;
    return crOld;
}

void C_IDEEditLineColorList::ClearColors()
{
    for (int i = 0; i < m_nCount; i++)
        m_pEntries[i] = Entry{0, 0};
}

void C_IDEEdit::ResetLineColors()
{
    m_BackColors.SetSize(GetLineCount());
    m_TextColors.SetSize(GetLineCount());
    m_BackColors.SetDefaultColor(RGB(255, 255, 255));
}

void C_IDEEdit::ClearLineColors()
{
    m_BackColors.ClearColors();
    m_TextColors.ClearColors();
}

BOOL C_IDEEdit::NormalizeLineEnds()
{
    m_bLineEndsChanged = FALSE;
    for (TWKEditLine* pLine = GetFirstLine(); pLine; pLine = pLine->pNext) {
        if (!pLine->pText)
            continue;
        int n = pLine->nLength;
        while (n > 0 && (pLine->pText[n - 1] == '\r' || pLine->pText[n - 1] == '\n'))
            n--;
        if (pLine->nLength == n + 2 && pLine->pText[n] == '\r' && pLine->pText[n + 1] == '\n')
            continue;
        if (!GrowLine(pLine, n + 2))
            return FALSE;
        pLine->pText[n] = '\r';
        pLine->pText[n + 1] = '\n';
        pLine->pText[n + 2] = '\0';
        pLine->nLength = n + 2;
        m_bLineEndsChanged = TRUE;
    }
    return TRUE;
}

int C_IDEEdit::SaveNormalized(LPCSTR pszPath)
{
    // A half-normalised text is not written: the file keeps what it held.
    if (!NormalizeLineEnds())
        return IDS_TWK_NOMEMORY;
    return SaveFile(pszPath);
}
