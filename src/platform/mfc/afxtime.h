// CTime: a moment as the C library's time_t (seconds since 1 January 1970 UTC), read in local time.
#pragma once

#include <windows.h>
#include <ctime>

class CTime
{
public:
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(time_t time) : m_time(time) {}
    // Local time; the system decides about daylight saving time.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    time_t GetTime() const { return m_time; }

    // Parts in local time.
    int GetYear() const { return GetLocalTm().tm_year + 1900; }
    int GetMonth() const { return GetLocalTm().tm_mon + 1; }
    int GetDay() const { return GetLocalTm().tm_mday; }
    int GetHour() const { return GetLocalTm().tm_hour; }
    int GetMinute() const { return GetLocalTm().tm_min; }
    int GetSecond() const { return GetLocalTm().tm_sec; }
    int GetDayOfWeek() const { return GetLocalTm().tm_wday + 1; }   // 1 = Sunday
    // FALSE when the moment has no local-time form (the C library's range).
    bool GetAsSystemTime(SYSTEMTIME& sysTime) const;

    bool operator==(const CTime& time) const { return m_time == time.m_time; }
    bool operator!=(const CTime& time) const { return m_time != time.m_time; }
    bool operator<(const CTime& time) const { return m_time < time.m_time; }

private:
    struct tm GetLocalTm() const;

    time_t m_time = 0;
};
