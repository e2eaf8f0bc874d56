#include "afx/string.h"
#include "afx/module.h"
#include "afx/object.h"
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

char s_empty[1] = { 0 };

// Per code page: which bytes lead a double-byte character, and how single
// bytes fold. Double-byte characters are left as they are by case folding.
struct CodePageInfo
{
    bool lead[256] = {};
    unsigned char upper[256];
    unsigned char lower[256];

    explicit CodePageInfo(UINT cp)
    {
        CPINFO info = {};
        if (GetCPInfo(cp, &info) && info.MaxCharSize > 1)
        {
            for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] || info.LeadByte[i + 1]); i += 2)
                for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1] && b < 256; ++b)
                    lead[b] = true;
        }
        for (int c = 0; c < 256; ++c)
        {
            upper[c] = lower[c] = (unsigned char)c;
            if (lead[c] || c == 0)
                continue;
            if (c < 0x80)
            {
                upper[c] = (unsigned char)((c >= 'a' && c <= 'z') ? c - 32 : c);
                lower[c] = (unsigned char)((c >= 'A' && c <= 'Z') ? c + 32 : c);
                continue;
            }
            char in = (char)c;
            WCHAR wc = 0;
            if (MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, &in, 1, &wc, 1) != 1)
                continue;
            upper[c] = Fold(cp, wc, true, (unsigned char)c);
            lower[c] = Fold(cp, wc, false, (unsigned char)c);
        }
    }

    // The single byte for the folded character, or the byte itself when the
    // folded character has no single-byte form in this code page.
    static unsigned char Fold(UINT cp, WCHAR wc, bool toUpper, unsigned char self)
    {
        WCHAR f = wc;
        if (toUpper)
            CharUpperBuffW(&f, 1);
        else
            CharLowerBuffW(&f, 1);
        if (f == wc)
            return self;
        char out[4];
        BOOL usedDefault = FALSE;
        int n = WideCharToMultiByte(cp, 0, &f, 1, out, sizeof out, nullptr,
                                    cp == CP_UTF8 ? nullptr : &usedDefault);
        if (n != 1 || usedDefault)
            return self;
        return (unsigned char)out[0];
    }

    // Bytes of the character at p (stops at the end of the text).
    int CharLen(const char* p, const char* end) const
    {
        return (lead[(unsigned char)*p] && p + 1 < end) ? 2 : 1;
    }
};

const CodePageInfo& Info(UINT cp)
{
    static std::mutex lock;
    static std::unordered_map<UINT, std::unique_ptr<CodePageInfo>> cache;
    std::lock_guard<std::mutex> guard(lock);
    auto& slot = cache[cp];
    if (!slot)
        slot = std::make_unique<CodePageInfo>(cp);
    return *slot;
}

const CodePageInfo& Acp()
{
    static const CodePageInfo& info = Info(GetACP());
    return info;
}

int SafeLen(LPCSTR p)
{
    if (!p)
        return 0;
    size_t n = strlen(p);
    return n > INT_MAX / 2 ? INT_MAX / 2 : (int)n;
}

int Clamp(long long v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : (int)v);
}

bool InSet(unsigned char c, LPCSTR set)
{
    return c != 0 && set && strchr(set, c) != nullptr;
}

bool IsWhite(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Does the text at [p, end) hold a match of the needle starting on a
// character boundary?  Returns the index or -1.
int FindAt(const CodePageInfo& cp, const char* data, int len, const char* sub, int subLen, int nStart)
{
    if (nStart < 0)
        nStart = 0;
    if (nStart > len)
        return -1;
    const char* end = data + len;
    for (const char* p = data; p < end; p += cp.CharLen(p, end))
    {
        int i = (int)(p - data);
        if (i >= nStart && len - i >= subLen && memcmp(p, sub, subLen) == 0)
            return i;
    }
    return (subLen == 0 && nStart <= len) ? len : -1;
}

} // namespace

// ---------------------------------------------------------------------------

CString::CString() noexcept : m_pchData(s_empty), m_nLength(0), m_nAlloc(0) {}

CString::CString(const CString& src) : CString()
{
    Assign(src.m_pchData, src.m_nLength);
}

CString::CString(CString&& src) noexcept
    : m_pchData(src.m_pchData), m_nLength(src.m_nLength), m_nAlloc(src.m_nAlloc)
{
    src.m_pchData = s_empty;
    src.m_nLength = 0;
    src.m_nAlloc = 0;
}

CString::CString(LPCSTR lpsz) : CString()
{
    if (lpsz && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((ULONG_PTR)lpsz));
    else
        Assign(lpsz, SafeLen(lpsz));
}

CString::CString(LPCSTR lpch, int nLength) : CString()
{
    Assign(lpch, lpch && nLength > 0 ? nLength : 0);
}

CString::CString(const unsigned char* lpsz) : CString(reinterpret_cast<LPCSTR>(lpsz)) {}

CString::CString(char ch, int nRepeat) : CString()
{
    if (nRepeat > 0)
    {
        Reserve(nRepeat);
        memset(m_pchData, ch, nRepeat);
        m_nLength = nRepeat;
        m_pchData[m_nLength] = 0;
    }
}

CString::~CString()
{
    if (m_pchData != s_empty)
        free(m_pchData);
}

CString& CString::operator=(const CString& src)
{
    if (this != &src)
        Assign(src.m_pchData, src.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& src) noexcept
{
    if (this != &src)
    {
        if (m_pchData != s_empty)
            free(m_pchData);
        m_pchData = src.m_pchData;
        m_nLength = src.m_nLength;
        m_nAlloc = src.m_nAlloc;
        src.m_pchData = s_empty;
        src.m_nLength = 0;
        src.m_nAlloc = 0;
    }
    return *this;
}

CString& CString::operator=(LPCSTR lpsz)
{
    Assign(lpsz, SafeLen(lpsz));
    return *this;
}

CString& CString::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}

void CString::Empty()
{
    if (m_pchData != s_empty)
        free(m_pchData);
    m_pchData = s_empty;
    m_nLength = 0;
    m_nAlloc = 0;
}

void CString::Reserve(int nChars)
{
    if (nChars < 0)
        nChars = 0;
    if (m_pchData != s_empty && nChars <= m_nAlloc)
        return;
    int nNew = nChars;
    if (m_pchData != s_empty && nNew < INT_MAX / 4)
        nNew = std::max(nNew, m_nAlloc + m_nAlloc / 2);   // amortised growth for +=
    char* p = static_cast<char*>(malloc((size_t)nNew + 1));
    if (!p)
        AfxThrowMemoryException();
    memcpy(p, m_pchData, (size_t)m_nLength + 1);
    if (m_pchData != s_empty)
        free(m_pchData);
    m_pchData = p;
    m_nAlloc = nNew;
}

void CString::Assign(LPCSTR lpch, int nLength)
{
    if (!lpch || nLength <= 0)
    {
        if (m_pchData != s_empty)
        {
            m_nLength = 0;
            m_pchData[0] = 0;
        }
        return;
    }
    if (m_pchData != s_empty && nLength <= m_nAlloc)
    {
        memmove(m_pchData, lpch, nLength);   // the source may lie in our own buffer
    }
    else
    {
        char* p = static_cast<char*>(malloc((size_t)nLength + 1));
        if (!p)
            AfxThrowMemoryException();
        memcpy(p, lpch, nLength);
        if (m_pchData != s_empty)
            free(m_pchData);
        m_pchData = p;
        m_nAlloc = nLength;
    }
    m_nLength = nLength;
    m_pchData[m_nLength] = 0;
}

void CString::Append(LPCSTR lpch, int nLength)
{
    if (!lpch || nLength <= 0)
        return;
    // s += s: keep the source valid across a reallocation.
    bool inside = lpch >= m_pchData && lpch <= m_pchData + m_nLength;
    ptrdiff_t offset = lpch - m_pchData;
    if ((long long)m_nLength + nLength > INT_MAX / 2)
        AfxThrowMemoryException();
    Reserve(m_nLength + nLength);
    if (inside)
        lpch = m_pchData + offset;
    memmove(m_pchData + m_nLength, lpch, nLength);
    m_nLength += nLength;
    m_pchData[m_nLength] = 0;
}

char CString::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < m_nLength) ? m_pchData[nIndex] : 0;
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < m_nLength)
        m_pchData[nIndex] = ch;
}

CString& CString::operator+=(const CString& s)
{
    Append(s.m_pchData, s.m_nLength);
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    Append(lpsz, SafeLen(lpsz));
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

int CString::Compare(LPCSTR lpsz) const
{
    return strcmp(m_pchData, lpsz ? lpsz : "");
}

int CString::CompareNoCase(LPCSTR lpsz) const
{
    return AfxCompareNoCaseCP(m_pchData, lpsz, CP_ACP);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, m_nLength);
}

CString CString::Mid(int nFirst, int nCount) const
{
    int first = Clamp(nFirst, 0, m_nLength);
    int last = Clamp((long long)first + std::max(nCount, 0), first, m_nLength);
    return CString(m_pchData + first, last - first);
}

CString CString::Left(int nCount) const
{
    return CString(m_pchData, Clamp(nCount, 0, m_nLength));
}

CString CString::Right(int nCount) const
{
    int n = Clamp(nCount, 0, m_nLength);
    return CString(m_pchData + m_nLength - n, n);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    int n = 0;
    while (n < m_nLength && InSet((unsigned char)m_pchData[n], lpszCharSet))
        ++n;
    return Left(n);
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    int i = FindOneOf(lpszCharSet);
    return i < 0 ? *this : Left(i);
}

void CString::MakeUpper()
{
    if (m_nLength)
        AfxMakeUpperCP(GetBuffer(0), m_nLength, CP_ACP);
}

void CString::MakeLower()
{
    if (m_nLength)
        AfxMakeLowerCP(GetBuffer(0), m_nLength, CP_ACP);
}

void CString::MakeReverse()
{
    // Reverse characters, keeping each double-byte pair in order.
    if (m_nLength < 2)
        return;
    const CodePageInfo& cp = Acp();
    CString r;
    r.Reserve(m_nLength);
    const char* end = m_pchData + m_nLength;
    char* out = r.m_pchData + m_nLength;
    for (const char* p = m_pchData; p < end;)
    {
        int n = cp.CharLen(p, end);
        out -= n;
        memcpy(out, p, n);
        p += n;
    }
    r.m_nLength = m_nLength;
    r.m_pchData[m_nLength] = 0;
    *this = std::move(r);
}

namespace {
template <class Pred>
int TrimLeftLen(const char* data, int len, Pred trim)
{
    const CodePageInfo& cp = Acp();
    const char* end = data + len;
    const char* p = data;
    while (p < end)
    {
        int n = cp.CharLen(p, end);
        if (n != 1 || !trim((unsigned char)*p))
            break;
        ++p;
    }
    return (int)(p - data);
}

// Walks forward so that a trail byte that looks like a target is never cut.
template <class Pred>
int TrimRightLen(const char* data, int len, Pred trim)
{
    const CodePageInfo& cp = Acp();
    const char* end = data + len;
    int keep = 0;
    for (const char* p = data; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (n != 1 || !trim((unsigned char)*p))
            keep = (int)(p - data) + n;
        p += n;
    }
    return keep;
}
} // namespace

void CString::TrimLeft()
{
    int n = TrimLeftLen(m_pchData, m_nLength, IsWhite);
    if (n)
        Delete(0, n);
}

void CString::TrimLeft(char chTarget)
{
    int n = TrimLeftLen(m_pchData, m_nLength, [=](unsigned char c) { return c == (unsigned char)chTarget; });
    if (n)
        Delete(0, n);
}

void CString::TrimLeft(LPCSTR lpszTargets)
{
    int n = TrimLeftLen(m_pchData, m_nLength, [=](unsigned char c) { return InSet(c, lpszTargets); });
    if (n)
        Delete(0, n);
}

void CString::TrimRight()
{
    int keep = TrimRightLen(m_pchData, m_nLength, IsWhite);
    if (keep != m_nLength)
        GetBufferSetLength(keep);
}

void CString::TrimRight(char chTarget)
{
    int keep = TrimRightLen(m_pchData, m_nLength, [=](unsigned char c) { return c == (unsigned char)chTarget; });
    if (keep != m_nLength)
        GetBufferSetLength(keep);
}

void CString::TrimRight(LPCSTR lpszTargets)
{
    int keep = TrimRightLen(m_pchData, m_nLength, [=](unsigned char c) { return InSet(c, lpszTargets); });
    if (keep != m_nLength)
        GetBufferSetLength(keep);
}

int CString::Replace(char chOld, char chNew)
{
    if (chOld == chNew || m_nLength == 0)
        return 0;
    const CodePageInfo& cp = Acp();
    int count = 0;
    const char* end = m_pchData + m_nLength;
    for (char* p = m_pchData; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (n == 1 && *p == chOld)
            ++count;
        p += n;
    }
    if (!count)
        return 0;
    char* data = GetBuffer(0);
    end = data + m_nLength;
    for (char* p = data; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (n == 1 && *p == chOld)
            *p = chNew;
        p += n;
    }
    return count;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    int oldLen = SafeLen(lpszOld);
    if (oldLen == 0 || m_nLength == 0)
        return 0;
    int newLen = SafeLen(lpszNew);
    const CodePageInfo& cp = Acp();
    CString out;
    int count = 0;
    int pos = 0;
    for (;;)
    {
        int hit = FindAt(cp, m_pchData, m_nLength, lpszOld, oldLen, pos);
        if (hit < 0)
            break;
        out.Append(m_pchData + pos, hit - pos);
        out.Append(lpszNew, newLen);
        pos = hit + oldLen;
        ++count;
    }
    if (count)
    {
        out.Append(m_pchData + pos, m_nLength - pos);
        *this = std::move(out);
    }
    return count;
}

int CString::Remove(char ch)
{
    if (m_nLength == 0)
        return 0;
    const CodePageInfo& cp = Acp();
    char* data = GetBuffer(0);
    const char* end = data + m_nLength;
    char* out = data;
    for (const char* p = data; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (!(n == 1 && *p == ch))
        {
            memmove(out, p, n);
            out += n;
        }
        p += n;
    }
    int removed = m_nLength - (int)(out - data);
    m_nLength = (int)(out - data);
    m_pchData[m_nLength] = 0;
    return removed;
}

int CString::Insert(int nIndex, char ch)
{
    CString s(ch);
    return Insert(nIndex, (LPCSTR)s);
}

int CString::Insert(int nIndex, LPCSTR lpsz)
{
    int n = SafeLen(lpsz);
    if (n == 0)
        return m_nLength;
    nIndex = Clamp(nIndex, 0, m_nLength);
    CString out(m_pchData, nIndex);
    out.Append(lpsz, n);
    out.Append(m_pchData + nIndex, m_nLength - nIndex);
    *this = std::move(out);
    return m_nLength;
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex >= m_nLength || nCount <= 0)
        return m_nLength;
    nCount = Clamp(nCount, 0, m_nLength - nIndex);
    memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, (size_t)(m_nLength - nIndex - nCount) + 1);
    m_nLength -= nCount;
    return m_nLength;
}

int CString::Find(char ch, int nStart) const
{
    return FindAt(Acp(), m_pchData, m_nLength, &ch, 1, nStart);
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    return FindAt(Acp(), m_pchData, m_nLength, lpszSub ? lpszSub : "", SafeLen(lpszSub), nStart);
}

int CString::ReverseFind(char ch) const
{
    const CodePageInfo& cp = Acp();
    const char* end = m_pchData + m_nLength;
    int last = -1;
    for (const char* p = m_pchData; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (n == 1 && *p == ch)
            last = (int)(p - m_pchData);
        p += n;
    }
    return last;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    const CodePageInfo& cp = Acp();
    const char* end = m_pchData + m_nLength;
    for (const char* p = m_pchData; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (n == 1 && InSet((unsigned char)*p, lpszCharSet))
            return (int)(p - m_pchData);
        p += n;
    }
    return -1;
}

void CString::Format(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString fmt;
    if (!fmt.LoadString(nFormatID))
        return;
    va_list args;
    va_start(args, nFormatID);
    FormatV(fmt, args);
    va_end(args);
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    if (!lpszFormat)
    {
        Empty();
        return;
    }
    va_list measure;
    va_copy(measure, argList);
    int n = vsnprintf(nullptr, 0, lpszFormat, measure);
    va_end(measure);
    if (n <= 0)
    {
        Empty();
        return;
    }
    // Into a fresh string: the arguments may point into this one.
    CString out;
    out.Reserve(n);
    vsnprintf(out.m_pchData, (size_t)n + 1, lpszFormat, argList);
    out.m_nLength = n;
    out.m_pchData[n] = 0;
    *this = std::move(out);
}

BOOL CString::LoadString(UINT nID)
{
    return LoadString(AfxGetResourceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    // Read the string table block directly: LoadStringA cannot tell an
    // empty entry from a missing one and truncates to the caller's buffer.
    Empty();
    if (nID > 0xFFFF)
        return FALSE;
    HRSRC hRes = FindResourceA(hInstance, MAKEINTRESOURCEA((nID >> 4) + 1), (LPCSTR)RT_STRING);
    if (!hRes)
        return FALSE;
    HGLOBAL hData = LoadResource(hInstance, hRes);
    DWORD size = SizeofResource(hInstance, hRes);
    const WORD* p = hData ? static_cast<const WORD*>(LockResource(hData)) : nullptr;
    if (!p)
        return FALSE;
    const WORD* end = p + size / sizeof(WORD);
    for (UINT i = 0; i < (nID & 15); ++i)
    {
        if (p >= end)
            return FALSE;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end)
        return FALSE;
    const WCHAR* text = reinterpret_cast<const WCHAR*>(p + 1);
    int wlen = *p;
    int n = WideCharToMultiByte(CP_ACP, 0, text, wlen, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return FALSE;
    WideCharToMultiByte(CP_ACP, 0, text, wlen, GetBufferSetLength(n), n, nullptr, nullptr);
    return TRUE;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    Reserve(std::max(nMinBufLength, m_nLength));
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_pchData == s_empty)
        return;
    if (nNewLength < 0)
        nNewLength = (int)strnlen(m_pchData, (size_t)m_nAlloc);
    if (nNewLength > m_nAlloc)
        nNewLength = m_nAlloc;
    m_nLength = nNewLength;
    m_pchData[m_nLength] = 0;
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    m_nLength = nNewLength;
    m_pchData[m_nLength] = 0;
    return m_pchData;
}

void CString::FreeExtra()
{
    if (m_pchData != s_empty && m_nAlloc > m_nLength)
    {
        CString tight(m_pchData, m_nLength);
        *this = std::move(tight);
    }
}

// ---------------------------------------------------------------------------

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (!lpszFullString || iSubString < 0)
        return FALSE;
    const CodePageInfo& cp = Acp();
    const char* p = lpszFullString;
    const char* end = p + strlen(p);
    // Skip iSubString separators.
    while (iSubString > 0)
    {
        if (p >= end)
            return FALSE;
        int n = cp.CharLen(p, end);
        if (n == 1 && *p == chSep)
            --iSubString;
        p += n;
    }
    const char* start = p;
    while (p < end)
    {
        int n = cp.CharLen(p, end);
        if (n == 1 && *p == chSep)
            break;
        p += n;
    }
    rString = CString(start, (int)(p - start));
    return TRUE;
}

namespace {
void FoldCP(LPSTR psz, int nLength, UINT nCodePage, bool upper)
{
    if (!psz || nLength <= 0)
        return;
    const CodePageInfo& cp = nCodePage == CP_ACP ? Acp() : Info(nCodePage);
    const unsigned char* table = upper ? cp.upper : cp.lower;
    char* end = psz + nLength;
    for (char* p = psz; p < end;)
    {
        int n = cp.CharLen(p, end);
        if (n == 1)
            *p = (char)table[(unsigned char)*p];
        p += n;
    }
}
} // namespace

void AfxMakeUpperCP(LPSTR psz, int nLength, UINT nCodePage)
{
    FoldCP(psz, nLength, nCodePage, true);
}

void AfxMakeLowerCP(LPSTR psz, int nLength, UINT nCodePage)
{
    FoldCP(psz, nLength, nCodePage, false);
}

int AfxCompareNoCaseCP(LPCSTR a, LPCSTR b, UINT nCodePage)
{
    const CodePageInfo& cp = nCodePage == CP_ACP ? Acp() : Info(nCodePage);
    if (!a)
        a = "";
    if (!b)
        b = "";
    const char* ea = a + strlen(a);
    const char* eb = b + strlen(b);
    while (a < ea && b < eb)
    {
        int na = cp.CharLen(a, ea), nb = cp.CharLen(b, eb);
        unsigned char ca = (unsigned char)*a, cb = (unsigned char)*b;
        if (na == 1)
            ca = cp.lower[ca];
        if (nb == 1)
            cb = cp.lower[cb];
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (na != nb)   // cannot happen once first bytes match, but be safe
            return na < nb ? -1 : 1;
        if (na == 2 && a[1] != b[1])
            return (unsigned char)a[1] < (unsigned char)b[1] ? -1 : 1;
        a += na;
        b += nb;
    }
    if (a < ea)
        return 1;
    if (b < eb)
        return -1;
    return 0;
}
