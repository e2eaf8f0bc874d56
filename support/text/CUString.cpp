#include "support/text/CUString.h"
#include <mbstring.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

HINSTANCE g_hInstance = nullptr;

namespace {
const char kDefaultTrimSet[] = " \t\n";
}

C_CUString& C_CUString::operator=(const char* text)
{
    assign(text ? text : "");
    return *this;
}

C_CUString& C_CUString::operator=(const C_CUString& other)
{
    assign(other);
    return *this;
}

char& C_CUString::GetAt(UINT index)
{
    if (index <= size())
        return std::string::operator[](index);
    // Past the end: a NUL of nobody's, refreshed in case a caller wrote into it.
    static char s_nul;
    s_nul = 0;
    return s_nul;
}

int C_CUString::Find(const char* text) const
{
    size_t pos = find(text);
    return pos == npos ? -1 : static_cast<int>(pos);
}

int C_CUString::FindFrom(const char* text, int start) const
{
    if (start < 0 || static_cast<size_t>(start) > size())
        return -1;
    size_t pos = find(text, static_cast<size_t>(start));
    return pos == npos ? -1 : static_cast<int>(pos);
}

int C_CUString::ReverseFind(char ch) const
{
    size_t pos = rfind(ch);
    return pos == npos ? -1 : static_cast<int>(pos);
}

int C_CUString::Compare(const char* text) const
{
    return _stricmp(c_str(), text);
}

C_CUString C_CUString::Left(int count) const
{
    if (count < 1)
        return C_CUString();
    return C_CUString(substr(0, static_cast<size_t>(count)));
}

C_CUString C_CUString::Right(int count) const
{
    if (count < 1)
        return C_CUString();
    if (static_cast<size_t>(count) >= size())
        return *this;
    return C_CUString(substr(size() - static_cast<size_t>(count)));
}

C_CUString C_CUString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (count < 1 || static_cast<size_t>(first) >= size())
        return C_CUString();
    return C_CUString(substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

C_CUString C_CUString::Mid(int first) const
{
    if (first < 0)
        first = 0;
    if (static_cast<size_t>(first) >= size())
        return C_CUString();
    return C_CUString(substr(static_cast<size_t>(first)));
}

void C_CUString::TrimLeft() { TrimLeft(kDefaultTrimSet); }
void C_CUString::TrimRight() { TrimRight(kDefaultTrimSet); }

void C_CUString::TrimLeft(const char* set)
{
    size_t pos = find_first_not_of(set);
    if (pos == npos)
        clear();
    else
        erase(0, pos);
}

void C_CUString::TrimRight(const char* set)
{
    size_t pos = find_last_not_of(set);
    if (pos == npos)
        clear();
    else
        erase(pos + 1);
}

void C_CUString::TrimLeft(char ch)
{
    const char set[2] = {ch, 0};
    if (ch == 0)
        return;
    TrimLeft(set);
}

void C_CUString::TrimRight(char ch)
{
    const char set[2] = {ch, 0};
    if (ch == 0)
        return;
    TrimRight(set);
}

void C_CUString::MakeUpper()
{
    std::vector<unsigned char> buf(c_str(), c_str() + size() + 1);
    _mbsupr(buf.data());
    assign(reinterpret_cast<const char*>(buf.data()));
}

void C_CUString::MakeLower()
{
    std::vector<unsigned char> buf(c_str(), c_str() + size() + 1);
    _mbslwr(buf.data());
    assign(reinterpret_cast<const char*>(buf.data()));
}

void C_CUString::AnsiToOem()
{
    std::vector<char> buf(c_str(), c_str() + size() + 1);
    ::CharToOemA(buf.data(), buf.data());
    assign(buf.data());
}

void C_CUString::OemToAnsi()
{
    std::vector<char> buf(c_str(), c_str() + size() + 1);
    ::OemToCharA(buf.data(), buf.data());
    assign(buf.data());
}

int C_CUString::Replace(const char* oldText, const char* newText)
{
    size_t oldLen = strlen(oldText);
    if (oldLen == 0)
        return 0;
    std::string result;
    int count = 0;
    size_t from = 0;
    for (size_t pos = find(oldText); pos != npos; pos = find(oldText, from)) {
        result.append(*this, from, pos - from);
        result.append(newText);
        from = pos + oldLen;
        ++count;
    }
    if (count > 0) {
        result.append(*this, from, npos);
        assign(result);
    }
    return count;
}

void C_CUString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void C_CUString::FormatV(const char* format, va_list args)
{
    // Measure first, then format into a buffer of the right size: no fixed limit.
    char small[512];
    va_list copy;
    va_copy(copy, args);
    int needed = vsnprintf(small, sizeof(small), format, copy);
    va_end(copy);
    if (needed < 0) {
        clear();
        return;
    }
    if (static_cast<size_t>(needed) < sizeof(small)) {
        assign(small, static_cast<size_t>(needed));
        return;
    }
    std::vector<char> buf(static_cast<size_t>(needed) + 1);
    vsnprintf(buf.data(), buf.size(), format, args);
    assign(buf.data(), static_cast<size_t>(needed));
}

BOOL C_CUString::LoadString(UINT id)
{
    if (!g_hInstance)
        return FALSE;
    char buf[512];
    int n = ::LoadStringA(g_hInstance, id, buf, sizeof(buf));
    if (n <= 0) {
        clear();
        return FALSE;
    }
    assign(buf, static_cast<size_t>(n));
    return TRUE;
}

C_CUString operator+(const C_CUString& a, const C_CUString& b)
{
    C_CUString r(a);
    r.append(b);
    return r;
}

C_CUString operator+(const C_CUString& a, const char* b)
{
    C_CUString r(a);
    if (b)
        r.append(b);
    return r;
}

C_CUString operator+(const char* a, const C_CUString& b)
{
    C_CUString r(a);
    r.append(b);
    return r;
}

C_CUString operator+(const C_CUString& a, char b)
{
    C_CUString r(a);
    r.push_back(b);
    return r;
}

C_CUString operator+(char a, const C_CUString& b)
{
    C_CUString r(a);
    r.append(b);
    return r;
}
