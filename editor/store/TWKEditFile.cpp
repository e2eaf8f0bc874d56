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

// CR CR LF (what a CR LF text written once more in text mode holds): with CR LF
// line ends the first CR is a byte of the line and CR LF its line end, so the
// bytes come back as they were read.
inline bool IsCrCrLf(const char* p, int n) { return n >= 3 && p[0] == '\r' && p[1] == '\r' && p[2] == '\n'; }

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
        const bool bCrLf = m_nLineEndLen == 2 && m_szLineEnd[0] == '\r';
        if (bEnd && bCrLf && IsCrCrLf(cur + n, remaining - n))
            n++;
        // A two-byte line end may be split by the end of a read chunk: the
        // lone first byte (or a CR CR that an LF may follow) stays in the line
        // and the chunk join mends it.
        if (bEnd && m_nLineEndLen == 2 &&
            (n == remaining - 1 || (bCrLf && n == remaining - 2 && cur[n] == '\r' && cur[n + 1] == '\r')))
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

// One chunk into the buffer, NUL-terminated; *pnRead 0 at the end of the file.
int TWKEdit::ReadChunk(HANDLE hFile, LPSTR pBuffer, int nChunkSize, int* pnRead)
{
    DWORD dwRead = 0;
    *pnRead = 0;
    if (!ReadFile(hFile, pBuffer, nChunkSize, &dwRead, NULL))
        return IDS_TWK_CANTREAD;
    *pnRead = (int)dwRead;
    pBuffer[dwRead] = 0;
    return 0;
}

// A byte 26 that ends a chunk is not text.
static void DropCtrlZ(LPSTR pBuffer, int* pnRead)
{
    if (*pnRead > 0 && pBuffer[*pnRead - 1] == 26)
        pBuffer[--*pnRead] = 0;
}

// The file's line-end type from its first chunk. When the chunk ends on the
// first line end's first byte, the byte after it is read ahead and given back.
int TWKEdit::SetTypeFromFirstChunk(HANDLE hFile, LPSTR pBuffer, int nRead, BOOL bFull)
{
    int nType = DetectLineEndType(pBuffer, nRead);
    if (nType < 0)
    {
        if (nRead >= kFirstChunkLineLimit)
            return IDS_TWK_LINETOOLONG;
        nType = 0;
    }
    else if (nType == TWK_LINEEND_CR || nType == TWK_LINEEND_LF)
    {
        // The first line end's bytes, with those past the chunk read ahead
        // and given back: a lone byte, or CR CR, may be the start of more.
        int nFirst = (int)strcspn(pBuffer, "\r\n");
        char run[3] = {};
        int nRun = nRead - nFirst < 3 ? nRead - nFirst : 3;
        memcpy(run, pBuffer + nFirst, nRun);
        DWORD dwRead = 0;
        if (bFull && nRun < 3 && ReadFile(hFile, run + nRun, 3 - nRun, &dwRead, NULL) && dwRead > 0)
        {
            SetFilePointer(hFile, -(LONG)dwRead, NULL, FILE_CURRENT);
            nRun += (int)dwRead;
        }
        nType = IsCrCrLf(run, nRun) ? TWK_LINEEND_CRLF : DetectLineEndType(run, nRun);
    }
    SetLineEndType(nType);
    return 0;
}

// Gives a line that a chunk ended inside its line end (a lone first byte)
// the whole sequence; returns how many bytes of the next chunk that used.
int TWKEdit::MendSplitLineEnd(TWKEditLine* pLine, LPCSTR pszNext, int* pnUsed)
{
    *pnUsed = 0;
    int n = pLine->nLength;
    if (m_nLineEndLen != 2 || n == 0 || !IsEol(pLine->pText[n - 1]))
        return 0;
    if (n >= 2 && memcmp(pLine->pText + n - 2, m_szLineEnd, 2) == 0)
        return 0;
    // The bytes the chunk's end kept (a lone first byte, or CR CR with CR LF
    // line ends) and the next chunk's first two: read as in one pass over the
    // whole text, a CR before CR LF stays in the line and a second CR or LF
    // belongs to the same line end.
    const bool bCrLf = m_szLineEnd[0] == '\r';
    int nKept = bCrLf && n >= 2 && pLine->pText[n - 2] == '\r' && pLine->pText[n - 1] == '\r' ? 2 : 1;
    char run[4] = {};
    int nRun = 0;
    for (int i = n - nKept; i < n; i++)
        run[nRun++] = pLine->pText[i];
    for (int i = 0; i < 2 && pszNext[i]; i++)
        run[nRun++] = pszNext[i];
    int nStray = 0, nEnd = nRun > 1 && IsEol(run[1]) ? 2 : 1;
    if (bCrLf && IsCrCrLf(run, nRun))
        nStray = 1, nEnd = 3;
    int nText = n - nKept + nStray;
    if (!GrowLine(pLine, nText + m_nLineEndLen))
        return IDS_TWK_NOMEMORY;
    memcpy(pLine->pText + nText, m_szLineEnd, m_nLineEndLen);
    pLine->nLength = nText + m_nLineEndLen;
    pLine->pText[pLine->nLength] = 0;
    *pnUsed = nEnd > nKept ? nEnd - nKept : 0;
    return 0;
}

// Appends the first line of a chain to the line before it and links the rest.
int TWKEdit::JoinChainTo(TWKEditLine* pLine, TWKEditLine* pChain, TWKEditLine** ppLast, BOOL* pbNotice)
{
    if (!GrowLine(pLine, pLine->nLength + pChain->nLength))
    {
        FreeLines(pChain);
        return IDS_TWK_NOMEMORY;
    }
    memcpy(pLine->pText + pLine->nLength, pChain->pText, pChain->nLength);
    pLine->nLength += pChain->nLength;
    pLine->pText[pLine->nLength] = 0;
    TWKEditLine* pRest = pChain->pNext;
    bool bWasLast = *ppLast == pChain;
    FreeLine(pChain);
    if (pRest)
        LinkChain(pLine, pRest);
    if (bWasLast)
        *ppLast = pLine;
    // The joined line must keep the column limit like any other.
    return WrapLongLine(pLine, pbNotice, ppLast);
}

// Continues the lines read so far, ending with *ppLast, with the next chunk.
int TWKEdit::AppendChunk(TWKEditLine** ppLast, LPCSTR pszText, int nLength, BOOL* pbNotice)
{
    if (nLength <= 0)
        return IDS_TWK_CANTREAD;
    TWKEditLine* pLast = *ppLast;
    int nUsed = 0;
    int rc = MendSplitLineEnd(pLast, pszText, &nUsed);
    if (rc || nLength == nUsed)
        return rc;
    TWKEditLine* pChainLast = NULL;
    TWKEditLine* pChain = BuildLinesEx(pszText + nUsed, nLength - nUsed, pbNotice, &rc, &pChainLast);
    if (!pChain)
        return rc ? rc : IDS_TWK_CANTREAD;
    *ppLast = pChainLast;
    bool bComplete = pLast->nLength >= m_nLineEndLen &&
                     memcmp(pLast->pText + pLast->nLength - m_nLineEndLen, m_szLineEnd, m_nLineEndLen) == 0;
    if (bComplete)
    {
        LinkChain(pLast, pChain);
        return 0;
    }
    return JoinChainTo(pLast, pChain, ppLast, pbNotice);
}

int TWKEdit::ReadLines(HANDLE hFile, LPSTR pBuffer, int nChunkSize)
{
    int nRead = 0;
    int rc = ReadChunk(hFile, pBuffer, nChunkSize, &nRead);
    if (rc || nRead == 0)
        return rc;
    BOOL bFull = nRead == nChunkSize;
    rc = SetTypeFromFirstChunk(hFile, pBuffer, nRead, bFull);
    if (rc)
        return rc;
    if (CheckNulls(pBuffer, nRead, 0))
        return IDS_TWK_NULLS;
    DropCtrlZ(pBuffer, &nRead);
    BOOL bNotice = FALSE;
    TWKEditLine* pLast = NULL;
    TWKEditLine* pHead = BuildLinesEx(pBuffer, nRead, &bNotice, &rc, &pLast);
    if (!pHead)
        return rc ? rc : IDS_TWK_CANTREAD;
    while (bFull)
    {
        rc = ReadChunk(hFile, pBuffer, nChunkSize, &nRead);
        if (!rc && nRead == 0)
            break;
        bFull = nRead == nChunkSize;
        // A NUL past the first chunk is reported as a failed read.
        if (!rc && CheckNulls(pBuffer, nRead, 0))
            rc = IDS_TWK_CANTREAD;
        if (!rc)
        {
            DropCtrlZ(pBuffer, &nRead);
            rc = AppendChunk(&pLast, pBuffer, nRead, &bNotice);
        }
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
    if (!GetFileTime(h, NULL, NULL, &m_ftLoadedWrite))
        m_ftLoadedWrite = FILETIME();
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
    m_nSavedUndoPos = m_nUndoPos;   // 0: the log starts with the loaded text
    return 0;
}

namespace {

// Creates a new, unused file beside the target; 0 or the create's error code.
DWORD CreateTempBeside(LPCSTR pszDir, LPSTR pszTemp, HANDLE* ph)
{
    DWORD dwSeed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD i = 0; i < 1000; i++)
    {
        wsprintfA(pszTemp, "%stwk%04X.tmp", pszDir, (unsigned)((dwSeed + i) & 0xFFFF));
        *ph = CreateFileA(pszTemp, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, NULL);
        if (*ph != INVALID_HANDLE_VALUE)
            return 0;
        DWORD dw = GetLastError();
        if (dw != ERROR_FILE_EXISTS && dw != ERROR_ALREADY_EXISTS)
            return dw;
    }
    return ERROR_FILE_EXISTS;
}

// Writes all bytes; 0 or the error code (a short write counts as a full disk).
DWORD WriteBytes(HANDLE h, LPCSTR p, size_t n)
{
    DWORD dwWritten = 0;
    if (n == 0)
        return 0;
    if (WriteFile(h, p, (DWORD)n, &dwWritten, NULL) && dwWritten == n)
        return 0;
    DWORD dw = GetLastError();
    return dw ? dw : ERROR_HANDLE_DISK_FULL;
}

} // namespace

// Writes every line's bytes, gathered into large writes.
DWORD TWKEdit::WriteLines(HANDLE h)
{
    LPSTR pOut = (LPSTR)malloc(kWriteBuffer);
    if (!pOut)
        return ERROR_NOT_ENOUGH_MEMORY;
    DWORD dwError = 0;
    size_t nPending = 0;
    for (TWKEditLine* p = GetFirstLine(m_pFirstLine); p && !dwError; p = p->pNext)
    {
        if (!p->pText || p->nLength <= 0)
            continue;
        size_t n = (size_t)p->nLength;
        if (nPending + n > (size_t)kWriteBuffer)
        {
            dwError = WriteBytes(h, pOut, nPending);
            nPending = 0;
        }
        if (dwError)
            break;
        if (n > (size_t)kWriteBuffer)
            dwError = WriteBytes(h, p->pText, n);
        else
        {
            memcpy(pOut + nPending, p->pText, n);
            nPending += n;
        }
    }
    if (!dwError)
        dwError = WriteBytes(h, pOut, nPending);
    free(pOut);
    return dwError;
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
    char szFull[MAX_PATH], szDir[MAX_PATH], szTemp[MAX_PATH + 16];
    LPSTR pszName = NULL;
    if (!GetFullPathNameA(pszPath, MAX_PATH, szFull, &pszName) || !pszName)
        return ERROR_INVALID_NAME;
    lstrcpynA(szDir, szFull, (int)(pszName - szFull) + 1);
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD dwError = CreateTempBeside(szDir, szTemp, &h);
    if (dwError)
        return (int)dwError;
    dwError = WriteLines(h);
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
    m_nSavedUndoPos = m_nUndoPos;

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
