#include "afx/time.h"
#include <cstring>
#include <ctime>

namespace {
const long long kFileTimeEpoch = 116444736000000000LL;   // 1601 -> 1970, 100 ns units

bool ToTm(time_t t, struct tm& out, bool gmt)
{
    if (t < 0)
        return false;
    return (gmt ? gmtime_s(&out, &t) : localtime_s(&out, &t)) == 0;
}

// Expands strftime codes one at a time: an unknown code is kept as typed
// instead of reaching the runtime, which rejects it by ending the process.
CString FormatTm(const struct tm& tm, LPCSTR pszFormat)
{
    CString out;
    if (!pszFormat)
        return out;
    static const char kCodes[] = "aAbBcdHIjmMpSUwWxXyYzZ";
    for (const char* p = pszFormat; *p;)
    {
        if (*p != '%')
        {
            const char* q = strchr(p, '%');
            int n = q ? (int)(q - p) : (int)strlen(p);
            out += CString(p, n);
            p += n;
            continue;
        }
        if (p[1] == '%')
        {
            out += '%';
            p += 2;
            continue;
        }
        bool alt = p[1] == '#';
        char code = alt ? p[2] : p[1];
        if (code == 0 || !strchr(kCodes, code))
        {
            out += '%';
            ++p;
            continue;
        }
        char piece[4] = { '%', 0, 0, 0 };
        if (alt)
        {
            piece[1] = '#';
            piece[2] = code;
        }
        else
            piece[1] = code;
        char buf[512];
        size_t n = strftime(buf, sizeof buf, piece, &tm);
        out += CString(buf, (int)n);
        p += alt ? 3 : 2;
    }
    return out;
}
} // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(0)
{
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31)
        return;
    struct tm tm = {};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMin;
    tm.tm_sec = nSec;
    tm.tm_isdst = nDST;
    time_t t = mktime(&tm);
    m_time = t == (time_t)-1 ? 0 : t;
}

CTime::CTime(const FILETIME& ft) : m_time(0)
{
    long long v = ((long long)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    if (v > kFileTimeEpoch)
        m_time = (time_t)((v - kFileTimeEpoch) / 10000000LL);
}

CTime::CTime(const SYSTEMTIME& st)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond)
{
}

CTime CTime::GetCurrentTime()
{
    return CTime(::time(nullptr));
}

bool CTime::Local(struct tm& out) const
{
    if (ToTm(m_time, out, false))
        return true;
    memset(&out, 0, sizeof out);
    return false;
}

int CTime::GetYear() const { struct tm t; Local(t); return t.tm_year + 1900; }
int CTime::GetMonth() const { struct tm t; Local(t); return t.tm_mon + 1; }
int CTime::GetDay() const { struct tm t; Local(t); return t.tm_mday; }
int CTime::GetHour() const { struct tm t; Local(t); return t.tm_hour; }
int CTime::GetMinute() const { struct tm t; Local(t); return t.tm_min; }
int CTime::GetSecond() const { struct tm t; Local(t); return t.tm_sec; }
int CTime::GetDayOfWeek() const { struct tm t; Local(t); return t.tm_wday + 1; }

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (!Local(t))
        return FALSE;
    st = {};
    st.wYear = (WORD)(t.tm_year + 1900);
    st.wMonth = (WORD)(t.tm_mon + 1);
    st.wDayOfWeek = (WORD)t.tm_wday;
    st.wDay = (WORD)t.tm_mday;
    st.wHour = (WORD)t.tm_hour;
    st.wMinute = (WORD)t.tm_min;
    st.wSecond = (WORD)t.tm_sec;
    return TRUE;
}

BOOL CTime::GetAsFileTime(FILETIME& ft) const
{
    if (m_time < 0)
        return FALSE;
    long long v = (long long)m_time * 10000000LL + kFileTimeEpoch;
    ft.dwLowDateTime = (DWORD)v;
    ft.dwHighDateTime = (DWORD)(v >> 32);
    return TRUE;
}

CString CTime::Format(LPCSTR pszFormat) const
{
    struct tm t;
    if (!ToTm(m_time, t, false))
        return CString();
    return FormatTm(t, pszFormat);
}

CString CTime::FormatGmt(LPCSTR pszFormat) const
{
    struct tm t;
    if (!ToTm(m_time, t, true))
        return CString();
    return FormatTm(t, pszFormat);
}
