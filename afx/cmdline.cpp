// The command line and the recent-file list.
#include "afx/cmdline.h"
#include "afx/app.h"
#include "afx/menu.h"
#include <vector>

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL /*bLast*/)
{
    if (bFlag) {
        if (pszParam && lstrcmpiA(pszParam, "nologo") == 0)
            m_bShowSplash = FALSE;
        return;
    }
    // The first plain token names the file; later ones are left alone.
    if (m_strFileName.IsEmpty() && pszParam && *pszParam) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}

namespace {

// The system's rules: quotes group, 2n backslashes before a quote are n
// backslashes and the quote counts, 2n+1 are n and a literal quote.
std::vector<CString> SplitCommandLine(LPCSTR p)
{
    std::vector<CString> tokens;
    if (!p)
        return tokens;
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        std::string tok;
        bool inQuotes = false;
        while (*p && (inQuotes || (*p != ' ' && *p != '\t'))) {
            if (*p == '\\') {
                int n = 0;
                while (*p == '\\') { ++n; ++p; }
                if (*p == '"') {
                    tok.append(n / 2, '\\');
                    if (n % 2) { tok += '"'; ++p; }
                } else {
                    tok.append(n, '\\');
                }
            } else if (*p == '"') {
                if (inQuotes && p[1] == '"') { tok += '"'; p += 2; continue; }
                inQuotes = !inQuotes;
                ++p;
            } else {
                tok += *p++;
            }
        }
        tokens.emplace_back(tok.c_str());
    }
    return tokens;
}

// The process's command line without the program's own name.
LPCSTR SkipProgramName(LPCSTR p)
{
    if (!p)
        return "";
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    return p;
}

} // namespace

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    LPCSTR line = m_lpCmdLine ? m_lpCmdLine : SkipProgramName(::GetCommandLineA());
    std::vector<CString> tokens = SplitCommandLine(line);
    for (size_t i = 0; i < tokens.size(); ++i) {
        LPCSTR psz = tokens[i];
        BOOL bFlag = FALSE;
        if (*psz == '-' || *psz == '/') {
            bFlag = TRUE;
            ++psz;
        }
        rCmdInfo.ParseParam(psz, bFlag, i + 1 == tokens.size());
    }
}

// ---------------------------------------------------------------------------

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nSize(nSize > 0 ? nSize : 1), m_arrNames(new CString[nSize > 0 ? nSize : 1]),
      m_strSectionName(lpszSection ? lpszSection : ""), m_strEntryFormat(lpszEntryFormat ? lpszEntryFormat : ""),
      m_nStart(nStart), m_nMaxDisplayLength(nMaxDispLen)
{
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

CString& CRecentFileList::operator[](int nIndex)
{
    // Out-of-range indexes land on a scratch string rather than past the array.
    static CString s_scratch;
    if (nIndex < 0 || nIndex >= m_nSize) {
        s_scratch.Empty();
        return s_scratch;
    }
    return m_arrNames[nIndex];
}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName)
        return;
    char full[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(lpszPathName, sizeof full, full, nullptr);
    CString path = (n > 0 && n < sizeof full) ? CString(full) : CString(lpszPathName);

    int i;
    for (i = 0; i < m_nSize - 1; ++i)
        if (m_arrNames[i].CompareNoCase(path) == 0)
            break;
    // i is the entry being replaced: the same name or the last one.
    for (; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = path;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; ++i)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

void AfxAbbreviateName(CString& strName, int nMaxLength, BOOL bAtLeastName)
{
    int len = strName.GetLength();
    if (len <= nMaxLength)
        return;
    // The file name (after the last separator).
    int slash = -1;
    for (int i = len - 1; i >= 0; --i)
        if (strName[i] == '\\' || strName[i] == '/' || strName[i] == ':') { slash = i; break; }
    CString name = strName.Mid(slash + 1);
    if (name.GetLength() + 4 > nMaxLength || slash < 0) {
        if (bAtLeastName || name.GetLength() <= nMaxLength)
            strName = name;
        else
            strName.Empty();
        return;
    }
    // Keep the root ("C:\" or "\\server\share\") and as much of the start as fits.
    int rootEnd = 0;
    if (len >= 3 && strName[1] == ':' && (strName[2] == '\\' || strName[2] == '/'))
        rootEnd = 3;
    else if (len >= 2 && strName[0] == '\\' && strName[1] == '\\') {
        int seps = 0;
        for (rootEnd = 2; rootEnd < len && seps < 2; ++rootEnd)
            if (strName[rootEnd] == '\\')
                ++seps;
    }
    CString root = strName.Left(rootEnd);
    CString tail = "\\" + name;
    if (root.GetLength() + 4 + tail.GetLength() > nMaxLength)
        root.Empty();
    // Leading folders from the root while they fit.
    CString head = root;
    int pos = rootEnd;
    for (;;) {
        int next = strName.Find('\\', pos);
        if (next < 0 || next > slash)
            break;
        CString cand = strName.Left(next);
        if (cand.GetLength() + 4 + tail.GetLength() > nMaxLength)
            break;
        head = cand + "\\";
        pos = next + 1;
    }
    if (!head.IsEmpty() && head[head.GetLength() - 1] == '\\')
        head = head.Left(head.GetLength() - 1);
    strName = head + "\\..." + tail;
    if (head.IsEmpty())
        strName = "..." + tail;
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const
{
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
        return FALSE;
    strName = m_arrNames[nIndex];
    // A file of the current folder shows without it.
    if (lpszCurDir && nCurDir > 0 && strName.GetLength() > nCurDir &&
        strName.Left(nCurDir).CompareNoCase(CString(lpszCurDir).Left(nCurDir)) == 0) {
        CString rest = strName.Mid(nCurDir);
        if (rest.Find('\\') < 0 && rest.Find('/') < 0)
            strName = rest;
    }
    if (m_nMaxDisplayLength > 0)
        AfxAbbreviateName(strName, m_nMaxDisplayLength, bAtLeastName);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* pMenu = pCmdUI ? pCmdUI->m_pMenu : nullptr;
    if (!pMenu || !pMenu->m_hMenu)
        return;
    if (m_strOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);

    if (m_arrNames[0].IsEmpty()) {
        // Nothing listed: one disabled item with the original text.
        if (!m_strOriginal.IsEmpty())
            pMenu->ModifyMenu(pCmdUI->m_nID, MF_BYCOMMAND | MF_STRING, pCmdUI->m_nID, m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }

    // Out with the items of the list's ids (and the placeholder).
    for (int i = 0; i < m_nSize; ++i)
        pMenu->DeleteMenu(pCmdUI->m_nID + i, MF_BYCOMMAND);

    char curDir[MAX_PATH + 1] = "";
    DWORD nCurDir = ::GetCurrentDirectoryA(MAX_PATH, curDir);
    if (nCurDir > 0 && nCurDir < MAX_PATH && curDir[nCurDir - 1] != '\\') {
        curDir[nCurDir++] = '\\';
        curDir[nCurDir] = 0;
    }
    int nInserted = 0;
    for (int i = 0; i < m_nSize; ++i) {
        CString name;
        if (!GetDisplayName(name, i, curDir, (int)nCurDir))
            break;
        // Ampersands in names are shown, not taken as accelerators.
        CString shown;
        for (int k = 0; k < name.GetLength(); ++k) {
            if (name[k] == '&')
                shown += "&&";
            else
                shown += name[k];
        }
        CString text;
        if (i < 9)
            text.Format("&%d %s", i + 1, (LPCSTR)shown);
        else
            text.Format("%d %s", i + 1, (LPCSTR)shown);
        pMenu->InsertMenu(pCmdUI->m_nIndex + nInserted, MF_BYPOSITION | MF_STRING, pCmdUI->m_nID + i, text);
        ++nInserted;
    }
    // The caller's walk over the menu continues after the inserted items.
    pCmdUI->m_nIndex += nInserted - 1;
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        m_arrNames[i] = pApp->GetProfileString(m_strSectionName, entry, "");
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    // The section is rewritten whole, so removed entries do not come back.
    pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
    for (int i = 0; i < m_nSize; ++i) {
        if (m_arrNames[i].IsEmpty())
            continue;
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        pApp->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
    }
}
