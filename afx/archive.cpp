#include "afx/archive.h"
#include <cstring>
#include <string>
#include <unordered_map>
#include "afx/file.h"

// Object and class tags:
//   0x0000            NULL
//   0xFFFF            a new class follows: schema WORD, name length WORD, name
//   0x8000 | index    a new object of the class stored under index
//   index             an object already stored (index < 0x7FFF)
//   0x7FFF + DWORD    big index: DWORD is the object index, or 0x80000000 | class index
// Classes and objects share one index sequence starting at 1.
namespace {
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD dwBigClassTag = 0x80000000;
const DWORD nMaxMapCount = 0x3FFFFFFE;
const UINT nMaxClassName = 255;
const UINT nReadChunk = 0x10000;
} // namespace

struct CArchive::StoreMap
{
    std::unordered_map<const void*, DWORD> map;
    DWORD nNext = 1;
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode)
{
    if (nBufSize < 128)
        nBufSize = 128;
    m_buf.resize((size_t)nBufSize);
    if (IsLoading())
        m_loadArray.push_back({ false, nullptr });
}

CArchive::~CArchive()
{
    if (m_pFile && !m_bClosed && IsStoring() && !(m_nMode & bNoFlushOnDelete))
    {
        try
        {
            Flush();
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
}

void CArchive::ThrowArchive(int cause) const
{
    CString name;
    if (m_pFile)
        name = m_pFile->GetFilePath();
    AfxThrowArchiveException(cause, name.IsEmpty() ? NULL : (LPCSTR)name);
}

void CArchive::CheckLoading() const
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (!IsLoading())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (!IsStoring())
        ThrowArchive(CArchiveException::readOnly);
}

void CArchive::FillBuffer()
{
    m_nCur = 0;
    m_nMax = 0;
    m_nMax = m_pFile->Read(m_buf.data(), (UINT)m_buf.size());
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nMax)
    {
        if (m_nCur < m_nMax)
        {
            UINT n = std::min(nMax - nDone, m_nMax - m_nCur);
            memcpy(out + nDone, m_buf.data() + m_nCur, n);
            m_nCur += n;
            nDone += n;
            continue;
        }
        UINT nLeft = nMax - nDone;
        if (nLeft >= m_buf.size())
        {
            // Large reads bypass the buffer.
            UINT n = m_pFile->Read(out + nDone, nLeft);
            if (n == 0)
                break;
            nDone += n;
            continue;
        }
        FillBuffer();
        if (m_nMax == 0)
            break;
    }
    return nDone;
}

void CArchive::ReadExact(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    UINT nSize = (UINT)m_buf.size();
    if (m_nCur + nMax <= nSize)
    {
        memcpy(m_buf.data() + m_nCur, in, nMax);
        m_nCur += nMax;
        return;
    }
    if (m_nCur)
    {
        m_pFile->Write(m_buf.data(), m_nCur);
        m_nCur = 0;
    }
    if (nMax >= nSize)
        m_pFile->Write(in, nMax);
    else
    {
        memcpy(m_buf.data(), in, nMax);
        m_nCur = nMax;
    }
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsStoring())
    {
        if (m_nCur)
        {
            UINT n = m_nCur;
            m_nCur = 0;
            m_pFile->Write(m_buf.data(), n);
        }
        m_pFile->Flush();
    }
    else
    {
        UINT nUnread = m_nMax - m_nCur;
        m_nCur = m_nMax = 0;
        if (nUnread)
            m_pFile->Seek(-(LONGLONG)nUnread, 1 /* current */);
    }
}

void CArchive::Close()
{
    if (m_pFile && !m_bClosed)
        Flush();
    m_bClosed = TRUE;
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_bClosed = TRUE;
    m_pFile = NULL;
}

// ---------------------------------------------------------------------------
// Text

void CArchive::WriteString(LPCSTR lpsz)
{
    if (lpsz)
        Write(lpsz, (UINT)strlen(lpsz));
}

BOOL CArchive::ReadString(CString& rString)
{
    std::string line;
    BOOL bAny = FALSE;
    char ch;
    while (Read(&ch, 1) == 1)
    {
        bAny = TRUE;
        if (ch == '\n')
            break;
        line += ch;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    rString = CString(line.data(), (int)line.size());
    return bAny;
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        return NULL;
    UINT n = 0;
    BOOL bAny = FALSE;
    char ch;
    while (n + 1 < nMax && Read(&ch, 1) == 1)
    {
        bAny = TRUE;
        if (ch == '\n')
            break;
        lpsz[n++] = ch;
    }
    if (n > 0 && lpsz[n - 1] == '\r')
        --n;
    lpsz[n] = '\0';
    return bAny ? lpsz : NULL;
}

// ---------------------------------------------------------------------------
// Strings: length < 255 → BYTE; < 0xFFFE → 0xFF + WORD; else 0xFF, 0xFFFF, DWORD.
// On reading, 0xFF + 0xFFFE announces 16-bit characters, then the length again.

void CArchive::WriteStringLength(DWORD nLength)
{
    if (nLength < 255)
        *this << (BYTE)nLength;
    else if (nLength < 0xFFFE)
    {
        *this << (BYTE)0xFF;
        *this << (WORD)nLength;
    }
    else
    {
        *this << (BYTE)0xFF;
        *this << (WORD)0xFFFF;
        *this << nLength;
    }
}

DWORD CArchive::ReadStringLength(BOOL& bWide)
{
    bWide = FALSE;
    BYTE b;
    *this >> b;
    if (b < 0xFF)
        return b;
    WORD w;
    *this >> w;
    if (w == 0xFFFE)
    {
        bWide = TRUE;
        *this >> b;
        if (b < 0xFF)
            return b;
        *this >> w;
    }
    if (w < 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    if (dw == 0xFFFFFFFF)       // a 64-bit length: never ours, too long anyway
        ThrowArchive(CArchiveException::genericException);
    return dw;
}

CArchive& operator<<(CArchive& ar, const CString& str)
{
    ar.WriteStringLength((DWORD)str.GetLength());
    ar.Write((LPCSTR)str, (UINT)str.GetLength());
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& str)
{
    BOOL bWide;
    DWORD nLength = ar.ReadStringLength(bWide);
    if (nLength > CArchive::nMaxStringLength)
        ar.ThrowArchive(CArchiveException::genericException);
    DWORD nBytes = bWide ? nLength * 2 : nLength;

    // Read in chunks so a length the file cannot back allocates no more than the file holds.
    std::vector<char> data;
    while (data.size() < nBytes)
    {
        size_t n = std::min<size_t>(nBytes - data.size(), nReadChunk);
        size_t old = data.size();
        data.resize(old + n);
        if (ar.Read(data.data() + old, (UINT)n) != n)
            ar.ThrowArchive(CArchiveException::endOfFile);
    }

    if (!bWide)
    {
        str = CString(data.data(), (int)data.size());
        return ar;
    }
    std::vector<WCHAR> wide(nLength);
    if (nLength)
        memcpy(wide.data(), data.data(), nBytes);
    int nAnsi = nLength ? ::WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)nLength, NULL, 0, NULL, NULL) : 0;
    CString result;
    if (nAnsi > 0)
    {
        LPSTR p = result.GetBufferSetLength(nAnsi);
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)nLength, p, nAnsi, NULL, NULL);
        result.ReleaseBuffer(nAnsi);
    }
    str = result;
    return ar;
}

// ---------------------------------------------------------------------------
// Objects

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb)
    {
        *this << wNullTag;
        return;
    }
    if (!m_pStoreMap)
        m_pStoreMap.reset(new StoreMap);
    auto& map = m_pStoreMap->map;

    auto found = map.find(pOb);
    if (found != map.end())
    {
        DWORD index = found->second;
        if (index < wBigObjectTag)
            *this << (WORD)index;
        else
        {
            *this << wBigObjectTag;
            *this << index;
        }
        return;
    }

    CRuntimeClass* pClass = pOb->GetRuntimeClass();
    if (!pClass || !pClass->IsSerializable())
        ThrowArchive(CArchiveException::badClass);
    if (m_pStoreMap->nNext + 2 > nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);

    auto cls = map.find(pClass);
    if (cls != map.end())
    {
        DWORD index = cls->second;
        if (index < wBigObjectTag)
            *this << (WORD)(wClassTag | index);
        else
        {
            *this << wBigObjectTag;
            *this << (DWORD)(dwBigClassTag | index);
        }
    }
    else
    {
        size_t nLen = strlen(pClass->m_lpszClassName);
        *this << wNewClassTag;
        *this << (WORD)pClass->m_wSchema;
        *this << (WORD)nLen;
        Write(pClass->m_lpszClassName, (UINT)nLen);
        map[pClass] = m_pStoreMap->nNext++;
    }
    map[pOb] = m_pStoreMap->nNext++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::WriteCount(DWORD nCount)
{
    if (nCount < 0xFFFF)
        *this << (WORD)nCount;
    else
        *this << (WORD)0xFFFF << nCount;
}

DWORD CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    DWORD nCount = wCount;
    if (wCount == 0xFFFF)
        *this >> nCount;
    return nCount;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    if (wTag == wNullTag)
        return NULL;

    CRuntimeClass* pClass = NULL;
    if (wTag == wNewClassTag)
    {
        WORD wSchema, nLen;
        *this >> wSchema >> nLen;
        if (nLen == 0 || nLen > nMaxClassName)
            ThrowArchive(CArchiveException::badClass);
        char name[nMaxClassName + 1];
        ReadExact(name, nLen);
        name[nLen] = '\0';
        pClass = CRuntimeClass::FromName(name);
        if (!pClass || !pClass->IsSerializable() || !pClass->m_pfnCreateObject)
            ThrowArchive(CArchiveException::badClass);
        if (pClass->m_wSchema != wSchema)
            ThrowArchive(CArchiveException::badSchema);
        if (m_loadArray.size() >= nMaxMapCount)
            ThrowArchive(CArchiveException::badIndex);
        m_loadArray.push_back({ true, pClass });
    }
    else
    {
        DWORD obTag;
        if (wTag == wBigObjectTag)
            *this >> obTag;
        else
            obTag = ((DWORD)(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

        DWORD index = obTag & ~dwBigClassTag;
        if (index == 0 || index >= m_loadArray.size())
            ThrowArchive(CArchiveException::badIndex);
        const LoadEntry& entry = m_loadArray[index];
        if (obTag & dwBigClassTag)
        {
            if (!entry.bClass)
                ThrowArchive(CArchiveException::badIndex);
            pClass = static_cast<CRuntimeClass*>(entry.p);
        }
        else
        {
            // An object read before: the same pointer again.
            if (entry.bClass || !entry.p)
                ThrowArchive(CArchiveException::badIndex);
            CObject* pOb = static_cast<CObject*>(entry.p);
            if (pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
                ThrowArchive(CArchiveException::badClass);
            return pOb;
        }
    }

    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);
    if (m_loadArray.size() >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    CObject* pOb = pClass->CreateObject();
    if (!pOb)
        AfxThrowMemoryException();
    size_t slot = m_loadArray.size();
    m_loadArray.push_back({ false, pOb });
    try
    {
        pOb->Serialize(*this);
    }
    catch (...)
    {
        // A half-read object is nobody's: free it.
        m_loadArray[slot].p = nullptr;
        delete pOb;
        throw;
    }
    return pOb;
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}
