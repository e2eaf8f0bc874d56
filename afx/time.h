// CTime: a point in time as seconds since 1970 (UTC), shown in local time.
#pragma once
#include <windows.h>
#include <ctime>
#include "afx/string.h"

class CTime
{
public:
    CTime() noexcept : m_time(0) {}
    CTime(time_t t) noexcept : m_time(t) {}
    // Local date and time; an out-of-range date gives 0.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // A file time (UTC); a zero file time gives 0.
    CTime(const FILETIME& ft);
    // A local system time.
    CTime(const SYSTEMTIME& st);

    static CTime GetCurrentTime();

    time_t GetTime() const noexcept { return m_time; }
    // Parts in local time.
    int GetYear() const;
    int GetMonth() const;        // 1..12
    int GetDay() const;          // 1..31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;    // 1 = Sunday
    // FALSE when the time cannot be shown as a local time.
    BOOL GetAsSystemTime(SYSTEMTIME& st) const;
    BOOL GetAsFileTime(FILETIME& ft) const;

    // strftime codes in local time (FormatGmt: in UTC); empty for an
    // unrepresentable time.
    CString Format(LPCSTR pszFormat) const;
    CString FormatGmt(LPCSTR pszFormat) const;

    bool operator==(CTime t) const noexcept { return m_time == t.m_time; }
    bool operator!=(CTime t) const noexcept { return m_time != t.m_time; }
    bool operator<(CTime t) const noexcept { return m_time < t.m_time; }
    bool operator>(CTime t) const noexcept { return m_time > t.m_time; }
    bool operator<=(CTime t) const noexcept { return m_time <= t.m_time; }
    bool operator>=(CTime t) const noexcept { return m_time >= t.m_time; }

private:
    bool Local(struct tm& out) const;
    time_t m_time;
};
