// The text store: file load and save, the line builder and line-end conversion.
#include "editor/store/TWKEdit.h"
#include "afx/app.h"
#include <cstdlib>
#include <cstring>

namespace {

const int kChunkSize = 32767;
const int kFirstChunkLineLimit = 16384;
const int kWriteBuffer = 64 * 1024;

inline bool IsEol(char c) { return c == '\r' || c == '\n'; }

// Restores the critical-error mode on every way out.
struct ErrorModeScope
{
    UINT uOld;
    ErrorModeScope() : uOld(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeScope() { SetErrorMode(uOld); }
};

void ShowLongLineNotice()
{
    CString strFormat, strText;
    if (!strFormat.LoadString(IDS_TWK_LONGLINES))
        strFormat = "This file contains lines longer than the %d character maximum.\r\n"
                    "The lines will be wrapped.";
    strText.Format(strFormat, TWK_MAX_COLUMNS);
    AfxMessageBox(strText, MB_OK);
}

// Links one line after pLast (NULL: the line starts a new chain).
inline void Link(TWKEditLine* pLast, TWKEditLine* pNew)
{
    if (pLast)
    {
        pNew->pNext = pLast->pNext;
        if (pLast->pNext)
            pLast->pNext->pPrev = pNew;
        pLast->pNext = pNew;
    }
    pNew->pPrev = pLast;
}

// Appends a whole chain after the last line of another.
inline void LinkChain(TWKEditLine* pTail, TWKEditLine* pChain)
{
    pTail->pNext = pChain;
    pChain->pPrev = pTail;
}

} // namespace

int TWKEdit::DetectLineEndType(LPSTR pszText, int nCount)
{
    if (!pszText)
        return -1;
    for (int i = 0; i < nCount && pszText[i]; i++)
    {
        char c = pszText[i];
        if (!IsEol(c))
            continue;
        char next = i + 1 < nCount ? pszText[i + 1] : 0;
        if (c == '\n')
            return next == '\r' ? 1 : 2;
        return next == '\n' ? 0 : 3;
    }
    return -1;
}

int TWKEdit::CheckNulls(LPCSTR pszText, int nCount, int /*nPrevious*/)
{
    return nCount > 0 && memchr(pszText, 0, nCount) ? 2 : 0;
}

int TWKEdit::ConvertLineEnds(LPSTR* ppBuffer, int nCount, int nType)
{
    LPSTR pSrc = *ppBuffer;
    int n = 0;
    while (n < nCount && pSrc[n])
        n++;
    bool bAny = false;
    for (int i = 0; i < n && !bAny; i++)
        bAny = IsEol(pSrc[i]);
    if (!bAny)
        return nCount;

    const char* pszSeq = nType == 1 ? "\n\r" : nType == 2 ? "\n" : nType == 3 ? "\r" : "\r\n";
    const int nSeq = (int)strlen(pszSeq);
    int nSrcType = DetectLineEndType(pSrc, n);
    const bool bTwoByte = nSrcType == 0 || nSrcType == 1 || nSrcType < 0;

    // One line end is a CR or LF, with a two-byte source type taking one more
    // CR or LF with it; no other byte is ever consumed, whatever the mix.
    size_t nOut = 0;
    for (int i = 0; i < n; i++)
    {
        if (IsEol(pSrc[i]))
        {
            if (bTwoByte && i + 1 < n && IsEol(pSrc[i + 1]))
                i++;
            nOut += nSeq;
        }
        else
            nOut++;
    }
    if (nOut > (size_t)INT_MAX - 64)
        return -1;
    LPSTR pDst = (LPSTR)AllocZeroed(((nOut + 15) & ~(size_t)15) + 32);
    if (!pDst)
        return -1;
    size_t k = 0;
    for (int i = 0; i < n; i++)
    {
        if (IsEol(pSrc[i]))
        {
            if (bTwoByte && i + 1 < n && IsEol(pSrc[i + 1]))
                i++;
            memcpy(pDst + k, pszSeq, nSeq);
            k += nSeq;
        }
        else
            pDst[k++] = pSrc[i];
    }
    pDst[k] = 0;
    free(pSrc);
    *ppBuffer = pDst;
    return (int)k;
}

TWKEditLine* TWKEdit::BuildLines(LPCSTR pszText, int* pnError)
{
    BOOL bNotice = FALSE;
    if (pnError)
        *pnError = 0;
    if (!pszText)
        return NULL;
    return BuildLinesEx(pszText, (int)strlen(pszText), &bNotice, pnError, NULL);
}

TWKEditLine* TWKEdit::BuildLinesEx(LPCSTR pszText, int nLength, BOOL* pbNoticeShown, int* pnError,
                                   TWKEditLine** ppLast)
{
    TWKEditLine* pFirst = NULL;
    TWKEditLine* pLast = NULL;
    const int nLimit = TWK_MAX_COLUMNS - m_nLineEndLen;
    const char* cur = pszText;
    int remaining = nLength;
    while (remaining > 0)
    {
        int n = 0;
        while (n < remaining && !IsEol(cur[n]))
            n++;
        bool bEnd = n < remaining;
        // A two-byte line end may be split by the end of a read chunk: the
        // lone first byte stays in the line and the chunk join mends it.
        if (bEnd && m_nLineEndLen == 2 && n == remaining - 1)
        {
            n = remaining;
            bEnd = false;
        }
        if ((long long)m_nTabSize * n > TWK_MAX_COLUMNS && CountColumns(cur, n) > nLimit)
        {
            n = GetFitLength(cur);
            if (n < 1)
                n = 1;
            bEnd = false;
            if (!*pbNoticeShown)
            {
                *pbNoticeShown = TRUE;
                ShowLongLineNotice();
            }
        }
        TWKEditLine* pLine = NewLine(m_nLineEndLen + n);
        if (!pLine)
        {
            FreeLines(pFirst);
            if (pnError)
                *pnError = IDS_TWK_NOMEMORY;
            return NULL;
        }
        memcpy(pLine->pText, cur, n);
        pLine->nLength = n;
        if (bEnd)
        {
            memcpy(pLine->pText + n, m_szLineEnd, m_nLineEndLen);
            pLine->nLength += m_nLineEndLen;
        }
        pLine->pText[pLine->nLength] = 0;
        cur += n;
        remaining -= n;
        if (bEnd)
        {
            cur++;
            remaining--;
            if (m_nLineEndLen == 2 && remaining > 0 && IsEol(*cur))
            {
                cur++;
                remaining--;
            }
        }
        Link(pLast, pLine);
        if (!pFirst)
            pFirst = pLine;
        pLast = pLine;
    }
    if (ppLast)
        *ppLast = pLast;
    return pFirst;
}

// Cuts a line that spans more than the column limit into pieces without line
// ends (the last piece keeps the line end), as the line builder does.
int TWKEdit::WrapLongLine(TWKEditLine* pLine, BOOL* pbNoticeShown, TWKEditLine** ppLast)
{
    const int nLimit = TWK_MAX_COLUMNS - m_nLineEndLen;
    for (;;)
    {
        int nVisible = VisibleEnd(pLine);
        if ((long long)m_nTabSize * nVisible <= TWK_MAX_COLUMNS || CountColumns(pLine->pText, nVisible) <= nLimit)
            return 0;
        int k = GetFitLength(pLine->pText);
        if (k < 1)
            k = 1;
        int nRest = pLine->nLength - k;
        TWKEditLine* pNew = NewLine(nRest + m_nLineEndLen);
        if (!pNew)
            return IDS_TWK_NOMEMORY;
        memcpy(pNew->pText, pLine->pText + k, nRest);
        pNew->nLength = nRest;
        pLine->nLength = k;
        pLine->pText[k] = 0;
        Link(pLine, pNew);
        if (ppLast && *ppLast == pLine)
            *ppLast = pNew;
        if (!*pbNoticeShown)
        {
            *pbNoticeShown = TRUE;
            ShowLongLineNotice();
        }
        pLine = pNew;
    }
}

int TWKEdit::ReadLines(HANDLE hFile, LPSTR pBuffer, int nChunkSize)
{
    BOOL bNotice = FALSE;
    DWORD dwRead = 0;
    if (!ReadFile(hFile, pBuffer, nChunkSize, &dwRead, NULL))
        return IDS_TWK_CANTREAD;
    if (dwRead == 0)
        return 0;
    int nRead = (int)dwRead;
    pBuffer[nRead] = 0;

    int nType = DetectLineEndType(pBuffer, nRead);
    if (nType < 0)
    {
        if (nRead >= kFirstChunkLineLimit)
            return IDS_TWK_LINETOOLONG;
        nType = 0;
    }
    SetLineEndType(nType);
    if (CheckNulls(pBuffer, nRead, 0))
        return IDS_TWK_NULLS;

    bool bFull = nRead == nChunkSize;
    if (pBuffer[nRead - 1] == 26)
        pBuffer[--nRead] = 0;
    int nError = 0;
    TWKEditLine* pLast = NULL;
    TWKEditLine* pHead = BuildLinesEx(pBuffer, nRead, &bNotice, &nError, &pLast);
    if (!pHead)
        return nError ? nError : IDS_TWK_CANTREAD;

    while (bFull)
    {
        int nFail = 0;
        if (!ReadFile(hFile, pBuffer, nChunkSize, &dwRead, NULL))
            nFail = IDS_TWK_CANTREAD;
        else if (dwRead == 0)
            break;
        else
        {
            nRead = (int)dwRead;
            bFull = nRead == nChunkSize;
            pBuffer[nRead] = 0;
            if (CheckNulls(pBuffer, nRead, 0))
                nFail = IDS_TWK_CANTREAD;
        }
        TWKEditLine* pChain = NULL;
        TWKEditLine* pChainLast = NULL;
        if (!nFail)
        {
            if (pBuffer[nRead - 1] == 26)
                pBuffer[--nRead] = 0;
            pChain = BuildLinesEx(pBuffer, nRead, &bNotice, &nError, &pChainLast);
            if (!pChain)
                nFail = nError ? nError : IDS_TWK_CANTREAD;
        }
        if (nFail)
        {
            FreeLines(pHead);
            return nFail;
        }

        // Join the new chain to the last line read so far.
        TWKEditLine* L = pLast;
        bool bComplete = L->nLength >= m_nLineEndLen &&
                         memcmp(L->pText + L->nLength - m_nLineEndLen, m_szLineEnd, m_nLineEndLen) == 0;
        if (bComplete)
        {
            LinkChain(L, pChain);
            pLast = pChainLast;
            continue;
        }
        bool bStray = m_nLineEndLen == 2 && L->nLength > 0 && IsEol(L->pText[L->nLength - 1]);
        bool bEndOnly = pChain->nLength == m_nLineEndLen &&
                        memcmp(pChain->pText, m_szLineEnd, m_nLineEndLen) == 0;
        if (bStray)
        {
            // The chunk ended inside a line end: the lone byte is dropped
            // and the line ends with exactly one sequence.
            L->pText[--L->nLength] = 0;
            if (!bEndOnly)
            {
                if (!GrowLine(L, L->nLength + m_nLineEndLen))
                {
                    FreeLines(pHead);
                    FreeLines(pChain);
                    return IDS_TWK_NOMEMORY;
                }
                memcpy(L->pText + L->nLength, m_szLineEnd, m_nLineEndLen);
                L->nLength += m_nLineEndLen;
                L->pText[L->nLength] = 0;
                LinkChain(L, pChain);
                pLast = pChainLast;
                continue;
            }
        }
        if (!GrowLine(L, L->nLength + pChain->nLength))
        {
            FreeLines(pHead);
            FreeLines(pChain);
            return IDS_TWK_NOMEMORY;
        }
        memcpy(L->pText + L->nLength, pChain->pText, pChain->nLength);
        L->nLength += pChain->nLength;
        L->pText[L->nLength] = 0;
        TWKEditLine* pRest = pChain->pNext;
        bool bWasLast = pChainLast == pChain;
        FreeLine(pChain);
        if (pRest)
            LinkChain(L, pRest);
        pLast = bWasLast ? L : pChainLast;
        // The joined line must keep the column limit like any other.
        int rc = WrapLongLine(L, &bNotice, &pLast);
        if (rc)
        {
            FreeLines(pHead);
            return rc;
        }
    }
    m_pFirstLine = pHead;
    return 0;
}

int TWKEdit::LoadFile(LPCSTR pszPath)
{
    LPSTR pBuffer = (LPSTR)AllocZeroed(kChunkSize + 1);
    if (!pBuffer)
        return IDS_TWK_NOMEMORY;
    ErrorModeScope mode;
    CloseLockedFile();
    HANDLE h = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
    {
        DWORD dw = GetLastError();
        free(pBuffer);
        return (int)dw;
    }
    FreeLines(m_pFirstLine);
    m_pFirstLine = NULL;
    int rc = ReadLines(h, pBuffer, kChunkSize);
    free(pBuffer);
    if (rc)
    {
        m_pFirstLine = NewLine(32);
        m_nLineCount = RenumberLines(m_pFirstLine);
        CloseHandle(h);
        return rc;
    }
    if (!m_pFirstLine)
        m_pFirstLine = NewLine(32);
    DWORD dwAttr = GetFileAttributesA(pszPath);
    if (dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_READONLY))
        m_bReadOnly = TRUE;
    if (m_bLockFiles)
        m_hLockedFile = h;
    else
        CloseHandle(h);
    m_nLineCount = RenumberLines(m_pFirstLine);
    return 0;
}

int TWKEdit::SaveFile(LPCSTR pszPath)
{
    DWORD dwAttr = GetFileAttributesA(pszPath);
    if (dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_READONLY))
        return IDS_TWK_READONLY;
    ErrorModeScope mode;
    CloseLockedFile();

    // Write beside the target and replace it only after a complete write,
    // so a full disk or a failed write leaves the old file as it was.
    char szFull[MAX_PATH], szDir[MAX_PATH], szTemp[MAX_PATH];
    LPSTR pszName = NULL;
    if (!GetFullPathNameA(pszPath, MAX_PATH, szFull, &pszName) || !pszName)
        return ERROR_INVALID_NAME;
    lstrcpynA(szDir, szFull, (int)(pszName - szFull) + 1);
    if (!GetTempFileNameA(szDir, "twk", 0, szTemp))
        return (int)GetLastError();
    HANDLE h = CreateFileA(szTemp, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
    {
        DWORD dw = GetLastError();
        DeleteFileA(szTemp);
        return (int)dw;
    }

    DWORD dwError = 0;
    LPSTR pOut = (LPSTR)malloc(kWriteBuffer);
    size_t nPending = 0;
    auto flush = [&]() {
        DWORD dwWritten = 0;
        if (nPending && (!WriteFile(h, pOut, (DWORD)nPending, &dwWritten, NULL) || dwWritten != nPending))
        {
            dwError = GetLastError();
            if (!dwError)
                dwError = ERROR_HANDLE_DISK_FULL;
        }
        nPending = 0;
    };
    if (!pOut)
        dwError = ERROR_NOT_ENOUGH_MEMORY;
    for (TWKEditLine* p = GetFirstLine(m_pFirstLine); p && !dwError; p = p->pNext)
    {
        if (!p->pText || p->nLength <= 0)
            continue;
        if (nPending + p->nLength > (size_t)kWriteBuffer)
            flush();
        if ((size_t)p->nLength > (size_t)kWriteBuffer)
        {
            DWORD dwWritten = 0;
            if (!dwError && (!WriteFile(h, p->pText, p->nLength, &dwWritten, NULL) || (int)dwWritten != p->nLength))
                dwError = GetLastError() ? GetLastError() : ERROR_HANDLE_DISK_FULL;
            continue;
        }
        memcpy(pOut + nPending, p->pText, p->nLength);
        nPending += p->nLength;
    }
    if (!dwError)
        flush();
    free(pOut);
    if (!CloseHandle(h) && !dwError)
        dwError = GetLastError();
    if (!dwError && !MoveFileExA(szTemp, szFull, MOVEFILE_REPLACE_EXISTING))
        dwError = GetLastError();
    if (dwError)
    {
        DeleteFileA(szTemp);
        return (int)dwError;
    }
    if (dwAttr != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(szFull, dwAttr);

    if (m_bLockFiles)
    {
        h = CreateFileA(szFull, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (h == INVALID_HANDLE_VALUE)
            dwError = GetLastError();
        else
            m_hLockedFile = h;
    }
    if (!dwError)
        SetModified(FALSE);
    return (int)dwError;
}

int TWKEdit::RenameFile(LPCSTR pszOldPath, LPCSTR pszNewPath)
{
    if (lstrcmpiA(pszOldPath, pszNewPath) == 0)
        return 0;
    ErrorModeScope mode;
    bool bWasLocked = m_hLockedFile != NULL;
    CloseLockedFile();
    int rc = 0;
    if (!DeleteFileA(pszNewPath) && GetLastError() == ERROR_ACCESS_DENIED)
        rc = IDS_TWK_READONLY;
    if (!MoveFileA(pszOldPath, pszNewPath))
    {
        DWORD dw = GetLastError();
        if (dw == ERROR_FILE_NOT_FOUND && !rc)
            rc = IDS_TWK_CANTREAD;
    }
    if (bWasLocked)
    {
        HANDLE h = CreateFileA(pszNewPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
        if (h == INVALID_HANDLE_VALUE)
            rc = (int)GetLastError();
        else
            m_hLockedFile = h;
    }
    return rc;
}
