// CArchive: the framework's binary object stream over a CFile. The byte
// formats are fixed because other programs read our files.
#pragma once
#include <windows.h>
#include <memory>
#include <vector>
#include "afx/object.h"
#include "afx/string.h"

class CFile;

class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    // Longest string or raw run we accept from a file; longer is a broken file.
    static const DWORD nMaxStringLength = 0x10000000;

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    // Flushes a storing archive unless Close or Abort ran; errors are swallowed.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Bytes read; fewer than asked at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer out; loading: moves the file back to the
    // first byte not yet read.
    void Flush();
    // Flushes and detaches from the file (the file stays open).
    void Close();
    // Detaches without writing anything.
    void Abort();

    // Text lines: WriteString writes the text as it is (no terminator);
    // ReadString reads up to "\n", dropping the "\r\n" or "\n".
    void WriteString(LPCSTR lpsz);
    BOOL ReadString(CString& rString);
    // At most nMax - 1 chars; NULL at the end of the file.
    LPSTR ReadString(LPSTR lpsz, UINT nMax);

    // Objects with their class (see WriteObject); NULL is stored as the WORD 0.
    void WriteObject(const CObject* pOb);
    // pClassRefRequested (may be NULL) is the class the object must derive
    // from. Throws CArchiveException: badClass, badSchema, badIndex, endOfFile.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);

    CArchive& operator<<(BYTE by) { return WriteT(by); }
    CArchive& operator<<(WORD w) { return WriteT(w); }
    CArchive& operator<<(LONG l) { return WriteT((INT32)l); }
    CArchive& operator<<(DWORD dw) { return WriteT((UINT32)dw); }
    CArchive& operator<<(int i) { return WriteT((INT32)i); }
    CArchive& operator<<(UINT u) { return WriteT((UINT32)u); }
    CArchive& operator<<(short s) { return WriteT(s); }
    CArchive& operator<<(char ch) { return WriteT(ch); }
    CArchive& operator<<(float f) { return WriteT(f); }
    CArchive& operator<<(double d) { return WriteT(d); }

    CArchive& operator>>(BYTE& by) { return ReadT(by); }
    CArchive& operator>>(WORD& w) { return ReadT(w); }
    CArchive& operator>>(LONG& l) { INT32 v; ReadT(v); l = v; return *this; }
    CArchive& operator>>(DWORD& dw) { UINT32 v; ReadT(v); dw = v; return *this; }
    CArchive& operator>>(int& i) { INT32 v; ReadT(v); i = v; return *this; }
    CArchive& operator>>(UINT& u) { UINT32 v; ReadT(v); u = v; return *this; }
    CArchive& operator>>(short& s) { return ReadT(s); }
    CArchive& operator>>(char& ch) { return ReadT(ch); }
    CArchive& operator>>(float& f) { return ReadT(f); }
    CArchive& operator>>(double& d) { return ReadT(d); }

    // Element counts of collections: a WORD below 0xFFFF, else 0xFFFF and a DWORD.
    void WriteCount(DWORD nCount);
    DWORD ReadCount();

    // Length prefix for strings (see the .cpp for the forms).
    void WriteStringLength(DWORD nLength);
    // The length, and whether 16-bit characters follow.
    DWORD ReadStringLength(BOOL& bWide);

    [[noreturn]] void ThrowArchive(int cause) const;

private:
    template<class T> CArchive& WriteT(const T& v) { Write(&v, sizeof(v)); return *this; }
    template<class T> CArchive& ReadT(T& v) { ReadExact(&v, sizeof(v)); return *this; }
    void ReadExact(void* lpBuf, UINT nCount);
    void FillBuffer();
    void CheckLoading() const;
    void CheckStoring() const;

    CFile* m_pFile;
    UINT m_nMode;
    BOOL m_bClosed = FALSE;
    std::vector<BYTE> m_buf;
    UINT m_nCur = 0;        // next byte (loading) / bytes pending (storing)
    UINT m_nMax = 0;        // bytes valid in the buffer (loading)

    // Storing: class and object pointers already written, with their index.
    struct StoreMap;
    std::unique_ptr<StoreMap> m_pStoreMap;
    // Loading: what each index stands for (index 0 is NULL).
    struct LoadEntry { bool bClass; void* p; };
    std::vector<LoadEntry> m_loadArray;
};

CArchive& operator<<(CArchive& ar, const CString& str);
CArchive& operator>>(CArchive& ar, CString& str);
CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
