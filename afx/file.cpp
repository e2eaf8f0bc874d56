#include "afx/file.h"
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

CString FullPath(LPCSTR lpszFileName)
{
    char buf[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(lpszFileName, sizeof(buf), buf, NULL);
    if (n == 0 || n >= sizeof(buf))
        return CString(lpszFileName);
    return CString(buf);
}

// Index just past the last path separator (or drive colon).
int NameStart(LPCSTR psz)
{
    int start = 0;
    for (LPCSTR p = psz; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            start = (int)(p - psz) + 1;
    return start;
}

CString NameOf(const CString& path)
{
    return path.Mid(NameStart(path));
}

CString TitleOf(const CString& name)
{
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

CTime TimeOf(const FILETIME& ft)
{
    return (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) ? CTime() : CTime(ft);
}

BYTE AttributeByte(DWORD dwAttributes)
{
    return (BYTE)(dwAttributes & ~(DWORD)FILE_ATTRIBUTE_NORMAL);
}

} // namespace

// ---------------------------------------------------------------------------
// CFile

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
    if (!lpszFileName || !*lpszFileName)
    {
        if (pError)
        {
            pError->m_cause = CFileException::badPath;
            pError->m_lOsError = ERROR_INVALID_NAME;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_strFileName = FullPath(lpszFileName);

    DWORD dwAccess = GENERIC_READ;
    switch (nOpenFlags & 3)
    {
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default: break;
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70)
    {
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: break;     // compatibility and exclusive
    }
    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, (nOpenFlags & modeNoInherit) ? FALSE : TRUE };
    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    HANDLE h = ::CreateFileA(lpszFileName, dwAccess, dwShare, &sa, dwCreate, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
    {
        LONG err = (LONG)::GetLastError();
        if (pError)
        {
            pError->m_lOsError = err;
            pError->m_cause = CFileException::OsErrorToException(err);
            pError->m_strFileName = lpszFileName;
        }
        m_strFileName.Empty();
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &nRead, NULL))
    {
        LONG err = (LONG)::GetLastError();
        if (err != ERROR_BROKEN_PIPE && err != ERROR_HANDLE_EOF)
            CFileException::ThrowOsError(err, m_strFileName);
    }
    return (UINT)nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, NULL))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LARGE_INTEGER dist, pos;
    dist.QuadPart = lOff;
    DWORD method = nFrom == end ? FILE_END : nFrom == current ? FILE_CURRENT : FILE_BEGIN;
    if (!::SetFilePointerEx(m_hFile, dist, &pos, method))
    {
        LONG err = (LONG)::GetLastError();
        if (err == ERROR_NEGATIVE_SEEK)
            AfxThrowFileException(CFileException::badSeek, err, m_strFileName);
        CFileException::ThrowOsError(err, m_strFileName);
    }
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER dist, pos;
    dist.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, dist, &pos, FILE_CURRENT))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek((LONGLONG)dwNewLen, begin);
    if (!::SetEndOfFile(m_hFile))
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    // A handle opened for reading only cannot be flushed; nothing is pending on it.
    if (!::FlushFileBuffers(m_hFile) && ::GetLastError() != ERROR_ACCESS_DENIED)
        CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

void CFile::Close()
{
    BOOL bError = FALSE;
    LONG err = 0;
    if (m_hFile != INVALID_HANDLE_VALUE)
    {
        bError = !::CloseHandle(m_hFile);
        if (bError)
            err = (LONG)::GetLastError();
    }
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (bError)
        CFileException::ThrowOsError(err, name);
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const
{
    return NameOf(GetFilePath());
}

CString CFile::GetFileTitle() const
{
    return TitleOf(GetFileName());
}

static void FillStatus(CFileStatus& rStatus, LPCSTR lpszFullName, const FILETIME& ftCreation, const FILETIME& ftWrite,
                const FILETIME& ftAccess, DWORD nSizeHigh, DWORD nSizeLow, DWORD dwAttributes)
{
    lstrcpynA(rStatus.m_szFullName, lpszFullName, MAX_PATH);
    rStatus.m_ctime = TimeOf(ftCreation);
    rStatus.m_mtime = TimeOf(ftWrite);
    rStatus.m_atime = TimeOf(ftAccess);
    rStatus.m_size = ((ULONGLONG)nSizeHigh << 32) | nSizeLow;
    rStatus.m_attribute = AttributeByte(dwAttributes);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus();
    BY_HANDLE_FILE_INFORMATION info;
    if (m_hFile == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    FillStatus(rStatus, m_strFileName, info.ftCreationTime, info.ftLastWriteTime, info.ftLastAccessTime,
               info.nFileSizeHigh, info.nFileSizeLow, info.dwFileAttributes);
    return TRUE;
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus();
    if (!lpszFileName || !*lpszFileName || strpbrk(lpszFileName, "*?"))
        return FALSE;
    CString full = FullPath(lpszFileName);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(full, GetFileExInfoStandard, &data))
        return FALSE;
    FillStatus(rStatus, full, data.ftCreationTime, data.ftLastWriteTime, data.ftLastAccessTime,
               data.nFileSizeHigh, data.nFileSizeLow, data.dwFileAttributes);
    return TRUE;
}

void CFile::Remove(LPCSTR lpszFileName)
{
    if (!::DeleteFileA(lpszFileName))
        CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!::MoveFileA(lpszOldName, lpszNewName))
        CFileException::ThrowOsError((LONG)::GetLastError(), lpszOldName);
}

// ---------------------------------------------------------------------------
// CStdioFile

CStdioFile::CStdioFile() : m_pStream(NULL) {}

CStdioFile::CStdioFile(FILE* pOpenStream) : m_pStream(pOpenStream)
{
    if (pOpenStream)
        m_hFile = (HANDLE)_get_osfhandle(_fileno(pOpenStream));
}

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_pStream && m_bCloseOnDelete)
        fclose(m_pStream);      // also closes the handle
    m_pStream = NULL;
    m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_pStream)
        Abort();
    if (!CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pError))
        return FALSE;

    int osFlags = (nOpenFlags & typeBinary) ? _O_BINARY : _O_TEXT;
    const char* mode;
    switch (nOpenFlags & 3)
    {
    case modeWrite: osFlags |= _O_WRONLY; mode = (nOpenFlags & typeBinary) ? "wb" : "wt"; break;
    case modeReadWrite: osFlags |= _O_RDWR; mode = (nOpenFlags & typeBinary) ? "r+b" : "r+t"; break;
    default: osFlags |= _O_RDONLY; mode = (nOpenFlags & typeBinary) ? "rb" : "rt"; break;
    }
    int fd = _open_osfhandle((intptr_t)m_hFile, osFlags);
    FILE* stream = fd != -1 ? _fdopen(fd, mode) : NULL;
    if (!stream)
    {
        if (fd != -1)
            _close(fd);     // closes the handle
        else
            ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        m_bCloseOnDelete = FALSE;
        if (pError)
        {
            pError->m_cause = CFileException::tooManyOpenFiles;
            pError->m_lOsError = -1;
            pError->m_strFileName = lpszFileName;
        }
        m_strFileName.Empty();
        return FALSE;
    }
    m_pStream = stream;
    return TRUE;
}

void CStdioFile::ThrowErrno(int cause) const
{
    if (cause == 0)
    {
        switch (errno)
        {
        case ENOSPC: cause = CFileException::diskFull; break;
        case EACCES: cause = CFileException::accessDenied; break;
        case EBADF: cause = CFileException::invalidFile; break;
        case EINVAL: cause = CFileException::badSeek; break;
        default: cause = CFileException::genericException; break;
        }
    }
    AfxThrowFileException(cause, -1, m_strFileName);
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        return NULL;
    int n = nMax > (UINT)INT_MAX ? INT_MAX : (int)nMax;
    LPSTR result = fgets(lpsz, n, m_pStream);
    if (!result)
    {
        *lpsz = '\0';
        if (ferror(m_pStream))
        {
            clearerr(m_pStream);
            ThrowErrno(CFileException::genericException);
        }
    }
    return result;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    char chunk[256];
    BOOL bAny = FALSE;
    for (;;)
    {
        if (!fgets(chunk, sizeof(chunk), m_pStream))
        {
            if (ferror(m_pStream))
            {
                clearerr(m_pStream);
                ThrowErrno(CFileException::genericException);
            }
            break;
        }
        bAny = TRUE;
        size_t len = strlen(chunk);
        if (len > 0 && chunk[len - 1] == '\n')
        {
            chunk[--len] = '\0';
            if (len > 0 && chunk[len - 1] == '\r')      // binary mode
                chunk[--len] = '\0';
            rString += chunk;
            break;
        }
        rString += chunk;
    }
    return bAny;
}

void CStdioFile::WriteString(LPCSTR lpsz)
{
    if (lpsz && fputs(lpsz, m_pStream) == EOF)
        ThrowErrno(CFileException::diskFull);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    size_t n = fread(lpBuf, 1, nCount, m_pStream);
    if (n == 0 && ferror(m_pStream))
    {
        clearerr(m_pStream);
        ThrowErrno(CFileException::genericException);
    }
    return (UINT)n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount != 0 && fwrite(lpBuf, 1, nCount, m_pStream) != nCount)
        ThrowErrno(CFileException::diskFull);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    int origin = nFrom == end ? SEEK_END : nFrom == current ? SEEK_CUR : SEEK_SET;
    if (_fseeki64(m_pStream, lOff, origin) != 0)
        ThrowErrno(CFileException::badSeek);
    return GetPosition();
}

ULONGLONG CStdioFile::GetPosition() const
{
    __int64 pos = _ftelli64(m_pStream);
    if (pos < 0)
        ThrowErrno();
    return (ULONGLONG)pos;
}

ULONGLONG CStdioFile::GetLength() const
{
    fflush(m_pStream);
    return CFile::GetLength();
}

void CStdioFile::Flush()
{
    if (m_pStream && fflush(m_pStream) != 0)
        ThrowErrno(CFileException::diskFull);
}

void CStdioFile::Close()
{
    int result = 0;
    if (m_pStream)
        result = fclose(m_pStream);
    m_pStream = NULL;
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (result != 0)
        AfxThrowFileException(CFileException::diskFull, -1, name);
}

void CStdioFile::Abort()
{
    if (m_pStream && m_bCloseOnDelete)
        fclose(m_pStream);
    m_pStream = NULL;
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

// ---------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    Free();
}

void CMemFile::Free()
{
    if (m_bAutoDelete)
        free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Free();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return p;
}

void CMemFile::GrowFile(SIZE_T nNewLen)
{
    if (nNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();      // a fixed buffer cannot grow
    SIZE_T nNew = m_nBufferSize;
    while (nNew < nNewLen)
    {
        if (nNew > SIZE_MAX - m_nGrowBytes)
            AfxThrowMemoryException();
        nNew += m_nGrowBytes;
    }
    BYTE* p;
    if (m_bAutoDelete)
        p = (BYTE*)realloc(m_lpBuffer, nNew);
    else
    {
        // A caller's buffer is never reallocated: move to our own.
        p = (BYTE*)malloc(nNew);
        if (p && m_nFileSize)
            memcpy(p, m_lpBuffer, m_nFileSize);
    }
    if (!p)
        AfxThrowMemoryException();
    m_lpBuffer = p;
    m_nBufferSize = nNew;
    m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    SIZE_T n = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
    memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return (UINT)n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (nCount > SIZE_MAX - m_nPosition)
        AfxThrowMemoryException();
    SIZE_T nEnd = m_nPosition + nCount;
    GrowFile(nEnd);
    if (m_nPosition > m_nFileSize)      // after a seek past the end
        memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = nEnd;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = nFrom == end ? (LONGLONG)m_nFileSize : nFrom == current ? (LONGLONG)m_nPosition : 0;
    LONGLONG pos = base + lOff;
    if (pos < 0 || (ULONGLONG)pos > (ULONGLONG)SIZE_MAX)
        AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    m_nPosition = (SIZE_T)pos;
    return (ULONGLONG)pos;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > (ULONGLONG)SIZE_MAX)
        AfxThrowMemoryException();
    SIZE_T n = (SIZE_T)dwNewLen;
    GrowFile(n);
    if (n > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, n - m_nFileSize);
    m_nFileSize = n;
    if (m_nPosition > n)
        m_nPosition = n;
}

void CMemFile::Close()
{
    Free();
}

// ---------------------------------------------------------------------------
// CFileFind

CFileFind::CFileFind()
{
    memset(&m_found, 0, sizeof(m_found));
    memset(&m_next, 0, sizeof(m_next));
}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHaveFound = m_bHaveNext = FALSE;
    m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCSTR pstrName, DWORD)
{
    Close();
    if (!pstrName || !*pstrName)
        pstrName = "*.*";
    CString full = FullPath(pstrName);
    m_strRoot = full.Left(NameStart(full));
    m_hFind = ::FindFirstFileA(pstrName, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
    {
        DWORD err = ::GetLastError();
        m_strRoot.Empty();
        ::SetLastError(err);
        return FALSE;
    }
    m_bHaveNext = TRUE;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hFind == INVALID_HANDLE_VALUE || !m_bHaveNext)
        return FALSE;
    m_found = m_next;
    m_bHaveFound = TRUE;
    m_bHaveNext = ::FindNextFileA(m_hFind, &m_next);
    return m_bHaveNext;
}

CString CFileFind::GetFileName() const
{
    return m_bHaveFound ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    return m_bHaveFound ? m_strRoot + m_found.cFileName : CString();
}

CString CFileFind::GetFileTitle() const
{
    return TitleOf(GetFileName());
}

ULONGLONG CFileFind::GetLength() const
{
    return m_bHaveFound ? (((ULONGLONG)m_found.nFileSizeHigh << 32) | m_found.nFileSizeLow) : 0;
}

BOOL CFileFind::IsDots() const
{
    if (!m_bHaveFound || !IsDirectory())
        return FALSE;
    const char* n = m_found.cFileName;
    return (n[0] == '.' && n[1] == '\0') || (n[0] == '.' && n[1] == '.' && n[2] == '\0');
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bHaveFound && (m_found.dwFileAttributes & dwMask) != 0;
}
