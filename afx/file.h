// Files: CFile over a Win32 handle, CStdioFile for text, CMemFile in memory,
// CFileFind for folder listings.
#pragma once
#include <windows.h>
#include <cstdio>
#include "afx/object.h"
#include "afx/string.h"
#include "afx/time.h"

struct CFileStatus
{
    CTime m_ctime;              // creation
    CTime m_mtime;              // last write
    CTime m_atime;              // last access
    ULONGLONG m_size;
    BYTE m_attribute;           // CFile::Attribute bits
    BYTE m_padding;
    char m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum Attribute
    {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);
    // Throws CFileException when the file cannot be opened.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    // Closes without throwing.
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE (and pError filled when given) when the file cannot be opened.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    // Bytes read; fewer than asked at the end of the file. Errors throw.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // All or nothing: a short write (disk full) throws.
    virtual void Write(const void* lpBuf, UINT nCount);
    // The new position from the start; a position before the start throws.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    // Throws when closing fails.
    virtual void Close();
    // Closes, ignoring every error.
    virtual void Abort();

    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

    BOOL GetStatus(CFileStatus& rStatus) const;
    // FALSE when the file (or folder) does not exist.
    static BOOL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    // Throw CFileException on failure.
    static void Remove(LPCSTR lpszFileName);
    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;      // full path
};

// Text or binary through the C run-time's streams: in text mode "\r\n" on
// disk reads as "\n" and "\n" writes as "\r\n".
class CStdioFile : public CFile
{
public:
    CStdioFile();
    explicit CStdioFile(FILE* pOpenStream);
    CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    // typeText unless typeBinary is given.
    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;

    // One line, including its "\n" when it fits, at most nMax - 1 chars;
    // NULL at the end of the file.
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    // One line without its "\n"; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    virtual void WriteString(LPCSTR lpsz);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    FILE* m_pStream;

private:
    [[noreturn]] void ThrowErrno(int cause = 0) const;
};

// A file in memory that grows by nGrowBytes; an attached buffer with
// nGrowBytes 0 has a fixed size.
class CMemFile : public CFile
{
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Takes a caller's buffer (not freed by us); with nGrowBytes 0 the file
    // is the whole buffer, otherwise it starts empty and may outgrow it.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Gives up the buffer (memory we allocated is malloc'd: the caller frees
    // it); the file is empty afterwards.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }

private:
    void GrowFile(SIZE_T nNewLen);
    void Free();

    BYTE* m_lpBuffer = nullptr;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    SIZE_T m_nPosition = 0;
    UINT m_nGrowBytes;
    BOOL m_bAutoDelete = TRUE;      // the buffer is ours to free
};

// Lists a folder. Call FindNextFile before reading the first entry; it
// returns FALSE when the entry it moved to is the last one.
class CFileFind : public CObject
{
public:
    CFileFind();
    ~CFileFind() override;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // NULL or empty: "*.*" in the current folder. FALSE when nothing matches.
    virtual BOOL FindFile(LPCSTR pstrName = NULL, DWORD dwUnused = 0);
    virtual BOOL FindNextFile();
    void Close();

    CString GetFilePath() const;
    CString GetFileName() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    // "." or "..".
    BOOL IsDots() const;
    BOOL MatchesMask(DWORD dwMask) const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_found;       // current entry (valid after FindNextFile)
    WIN32_FIND_DATAA m_next;        // read ahead
    BOOL m_bHaveFound = FALSE;
    BOOL m_bHaveNext = FALSE;
    CString m_strRoot;              // folder of the pattern, with a trailing separator
};
