// CString: ANSI text in the process's multi-byte code page, with value
// semantics (every copy owns its own buffer, so writing through one copy's
// GetBuffer never shows in another).
#pragma once
#include <windows.h>
#include <cstdarg>
#include "afx/printf.h"

class CString
{
public:
    CString() noexcept;
    CString(const CString& src);
    CString(CString&& src) noexcept;
    // NULL gives an empty string; a MAKEINTRESOURCE value loads that string id.
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(const unsigned char* lpsz);
    explicit CString(char ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator=(CString&& src) noexcept;
    CString& operator=(LPCSTR lpsz);
    CString& operator=(char ch);

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();

    operator LPCSTR() const { return m_pchData; }
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);

    CString& operator+=(const CString& s);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    // <0, 0, >0 like strcmp; NoCase folds per the code page (double-byte aware).
    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;

    // Out-of-range starts and counts are clamped.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    // Double-byte characters are never split.
    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    void TrimLeft();                    // white space
    void TrimLeft(char chTarget);
    void TrimLeft(LPCSTR lpszTargets);  // any char of the set
    void TrimRight();
    void TrimRight(char chTarget);
    void TrimRight(LPCSTR lpszTargets);
    void Trim() { TrimRight(); TrimLeft(); }

    int Replace(char chOld, char chNew);            // number replaced
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);    // number replaced
    int Remove(char ch);                            // number removed
    int Insert(int nIndex, char ch);                // new length
    int Insert(int nIndex, LPCSTR lpsz);
    int Delete(int nIndex, int nCount = 1);         // new length

    // -1 when not found. Searches step over double-byte characters.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    // printf-style; any length.
    void Format(LPCSTR lpszFormat, ...) AFX_PRINTF(2, 3);
    void Format(UINT nFormatID, ...);
    void FormatV(LPCSTR lpszFormat, va_list argList) AFX_PRINTF(2, 0);

    // FALSE (and an empty string) when the id has no entry.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // A writable buffer of at least nMinBufLength chars plus terminator.
    LPSTR GetBuffer(int nMinBufLength = 0);
    // nNewLength -1: up to the first terminator.
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);
    void FreeExtra();

private:
    void Reserve(int nChars);          // capacity for nChars + terminator
    void Assign(LPCSTR lpch, int nLength);
    void Append(LPCSTR lpch, int nLength);

    LPSTR m_pchData;    // never NULL; points at s_empty when nothing is allocated
    int m_nLength;
    int m_nAlloc;       // chars allocated excluding terminator; 0 = not owned
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCSTR b);
bool operator<=(LPCSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCSTR b);
bool operator>=(LPCSTR a, const CString& b);

// The n-th (0-based) sep-separated part of lpszFullString; FALSE (and an
// empty rString) when there are fewer parts.
BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');

// Code-page explicit helpers behind MakeUpper/MakeLower/CompareNoCase, so the
// double-byte rules can be checked under any process code page.
void AfxMakeUpperCP(LPSTR psz, int nLength, UINT nCodePage);
void AfxMakeLowerCP(LPSTR psz, int nLength, UINT nCodePage);
int AfxCompareNoCaseCP(LPCSTR a, LPCSTR b, UINT nCodePage);
