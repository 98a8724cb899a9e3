#include "afxtime.h"

CTime CTime::GetCurrentTime()
{
    return CTime(::time(nullptr));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    struct tm parts = {};
    parts.tm_year = nYear - 1900;
    parts.tm_mon = nMonth - 1;
    parts.tm_mday = nDay;
    parts.tm_hour = nHour;
    parts.tm_min = nMin;
    parts.tm_sec = nSec;
    parts.tm_isdst = -1;
    m_time = ::mktime(&parts);
}

struct tm CTime::GetLocalTm() const
{
    struct tm parts = {};
    if (::localtime_s(&parts, &m_time) != 0)
        parts = {};
    return parts;
}

bool CTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    struct tm parts = {};
    if (::localtime_s(&parts, &m_time) != 0)
        return false;
    sysTime = {};
    sysTime.wYear = static_cast<WORD>(parts.tm_year + 1900);
    sysTime.wMonth = static_cast<WORD>(parts.tm_mon + 1);
    sysTime.wDay = static_cast<WORD>(parts.tm_mday);
    sysTime.wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    sysTime.wHour = static_cast<WORD>(parts.tm_hour);
    sysTime.wMinute = static_cast<WORD>(parts.tm_min);
    sysTime.wSecond = static_cast<WORD>(parts.tm_sec);
    return true;
}
