#include "afx/afx.h"
#include <gtest/gtest.h>

TEST(CTime, FromFileTimeAndBack)
{
    // 2001-09-09 01:46:40 UTC = 1000000000.
    const long long ft64 = 1000000000LL * 10000000LL + 116444736000000000LL;
    FILETIME ft = { (DWORD)ft64, (DWORD)(ft64 >> 32) };
    CTime t(ft);
    EXPECT_EQ((time_t)1000000000, t.GetTime());
    FILETIME back;
    ASSERT_TRUE(t.GetAsFileTime(back));
    EXPECT_EQ(ft.dwLowDateTime, back.dwLowDateTime);
    EXPECT_EQ(ft.dwHighDateTime, back.dwHighDateTime);
    EXPECT_STREQ("2001-09-09 01:46:40", t.FormatGmt("%Y-%m-%d %H:%M:%S"));

    FILETIME zero = {};
    EXPECT_EQ((time_t)0, CTime(zero).GetTime());
}

TEST(CTime, LocalPartsRoundTrip)
{
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(2024, t.GetYear());
    EXPECT_EQ(2, t.GetMonth());
    EXPECT_EQ(29, t.GetDay());
    EXPECT_EQ(13, t.GetHour());
    EXPECT_EQ(5, t.GetMinute());
    EXPECT_EQ(9, t.GetSecond());
    EXPECT_EQ(5, t.GetDayOfWeek());          // Thursday
    EXPECT_STREQ("29.02.2024 13:05:09 Thursday Feb",
                 t.Format("%d.%m.%Y %H:%M:%S %A %b"));
    SYSTEMTIME st;
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(t, CTime(st));
    EXPECT_EQ((time_t)0, CTime(1899, 1, 1, 0, 0, 0).GetTime());   // out of range
    EXPECT_EQ((time_t)0, CTime(2000, 13, 1, 0, 0, 0).GetTime());
}

TEST(CTime, FormatKeepsUnknownCodesAndLiterals)
{
    CTime t(2020, 1, 2, 3, 4, 5);
    EXPECT_STREQ("Page 1 %Q 100% 2020", t.Format("Page 1 %Q 100%% %Y"));
    EXPECT_STREQ("end %", t.Format("end %"));
    EXPECT_STREQ("", t.Format(""));
    EXPECT_STREQ("", t.Format(nullptr));
    EXPECT_STREQ("", CTime((time_t)-5).Format("%Y"));     // not representable
}

TEST(CTime, CurrentTimeAndComparisons)
{
    time_t before = time(nullptr);
    CTime now = CTime::GetCurrentTime();
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), before + 5);
    CTime a((time_t)100), b((time_t)200);
    EXPECT_TRUE(a < b && b > a && a <= b && b >= a && a != b);
    EXPECT_TRUE(a == CTime((time_t)100));
    EXPECT_FALSE(a > b || a >= b);
}
