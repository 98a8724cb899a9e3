#include "DateUtil.h"

#include <algorithm>

namespace {

BOOL IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(int nYear, int nMonth)
{
    static const int s_days[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : s_days[nMonth - 1];
}

// The same time of day on another day; the day is clamped to the month's last one.
COleDateTime MoveToDay(const COleDateTime& date, int nYear, int nMonth, int nDay)
{
    COleDateTime moved;
    moved.SetDateTime(nYear, nMonth, std::min(nDay, DaysInMonth(nYear, nMonth)), date.GetHour(), date.GetMinute(),
                      date.GetSecond());
    return moved;
}

CString FormatSystemDate(const SYSTEMTIME& sysTime, LPCTSTR lpszPicture)
{
    TCHAR szText[256] = {};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, 0, &sysTime, lpszPicture, szText, 256) == 0)
        return CString();
    return szText;
}

} // namespace

COleDateTime StartOfWeek(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    // Days since Monday: GetDayOfWeek counts from 1 = Sunday.
    int nDaysBack = (date.GetDayOfWeek() + 5) % 7;
    return TruncateToDate(date) - COleDateTimeSpan(nDaysBack, 0, 0, 0);
}

COleDateTime StartOfMonth(const COleDateTime& date)
{
    COleDateTime start;
    if (date.GetStatus() != COleDateTime::valid)
        start.SetStatus(COleDateTime::invalid);
    else
        start.SetDate(date.GetYear(), date.GetMonth(), 1);
    return start;
}

COleDateTime StartOfYear(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    COleDateTime start;
    start.SetDate(date.GetYear(), 1, 1);
    return start;
}

COleDateTime AddMonths(const COleDateTime& date, int nMonths)
{
    if (nMonths == 0 || date.GetStatus() != COleDateTime::valid)
        return date;
    // Months counted from year 0 so that negative moves cross the year boundary like positive ones.
    long long lIndex = date.GetYear() * 12LL + (date.GetMonth() - 1) + nMonths;
    long long lYear = lIndex >= 0 ? lIndex / 12 : -((-lIndex + 11) / 12);
    int nMonth = static_cast<int>(lIndex - lYear * 12) + 1;
    return MoveToDay(date, static_cast<int>(lYear), nMonth, date.GetDay());
}

COleDateTime AddYears(const COleDateTime& date, int nYears)
{
    if (nYears == 0 || date.GetStatus() != COleDateTime::valid)
        return date;
    return MoveToDay(date, date.GetYear() + nYears, date.GetMonth(), date.GetDay());
}

COleDateTime TruncateToDate(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    COleDateTime day;
    day.SetDate(date.GetYear(), date.GetMonth(), date.GetDay());
    return day;
}

CString FormatDate(const COleDateTime& date, LPCTSTR lpszPicture)
{
    SYSTEMTIME sysTime;
    if (date.GetStatus() != COleDateTime::valid || !date.GetAsSystemTime(sysTime))
        return CString();
    return FormatSystemDate(sysTime, lpszPicture);
}

CString FormatDateCTime(const CTime& time, LPCTSTR lpszPicture)
{
    SYSTEMTIME sysTime;
    if (!time.GetAsSystemTime(sysTime))
        return CString();
    return FormatSystemDate(sysTime, lpszPicture);
}

CString FormatTime(const COleDateTime& date, DWORD dwFlags)
{
    SYSTEMTIME sysTime;
    if (date.GetStatus() != COleDateTime::valid || !date.GetAsSystemTime(sysTime))
        return CString();
    TCHAR szText[256] = {};
    if (::GetTimeFormatW(LOCALE_USER_DEFAULT, dwFlags, &sysTime, nullptr, szText, 256) == 0)
        return CString();
    return szText;
}
