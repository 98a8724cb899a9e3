// The framework's OLE value types: COleCurrency (fixed point, four decimals), COleDateTime (an OLE DATE)
// and COleDateTimeSpan (a difference of dates in days). Each carries a status; an operation on an invalid
// operand gives an invalid result, one on a null operand (and no invalid one) a null result.
// Conversions to and from text and VARIANTs go through the system's OLE automation functions.
#pragma once

#include "afxstr.h"

#include <windows.h>
#include <oleauto.h>
#include <ctime>

// winbase.h maps GetCurrentTime to GetTickCount; COleDateTime has a member of that name.
#undef GetCurrentTime

class COleCurrency
{
public:
    enum CurrencyStatus { valid = 0, invalid = 1, null = 2 };

    COleCurrency();                                      // valid zero
    COleCurrency(CURRENCY cySrc);
    COleCurrency(long nUnits, long nFractionalUnits);    // units and 1/10000 units
    COleCurrency(const VARIANT& varSrc);

    COleCurrency& operator=(CURRENCY cySrc);
    COleCurrency& operator=(const VARIANT& varSrc);

    CurrencyStatus GetStatus() const { return m_status; }
    void SetStatus(CurrencyStatus status) { m_status = status; }
    void SetCurrency(long nUnits, long nFractionalUnits);

    bool operator==(const COleCurrency& cur) const;
    bool operator!=(const COleCurrency& cur) const { return !(*this == cur); }
    bool operator<(const COleCurrency& cur) const { return m_cur.int64 < cur.m_cur.int64; }
    bool operator>(const COleCurrency& cur) const { return m_cur.int64 > cur.m_cur.int64; }
    bool operator<=(const COleCurrency& cur) const { return m_cur.int64 <= cur.m_cur.int64; }
    bool operator>=(const COleCurrency& cur) const { return m_cur.int64 >= cur.m_cur.int64; }

    // Overflow and division by zero give an invalid currency.
    COleCurrency operator+(const COleCurrency& cur) const;
    COleCurrency operator-(const COleCurrency& cur) const;
    COleCurrency& operator+=(const COleCurrency& cur) { return *this = *this + cur; }
    COleCurrency& operator-=(const COleCurrency& cur) { return *this = *this - cur; }
    COleCurrency operator-() const;
    COleCurrency operator*(long nOperand) const;
    COleCurrency operator/(long nOperand) const;
    COleCurrency& operator*=(long nOperand) { return *this = *this * nOperand; }
    COleCurrency& operator/=(long nOperand) { return *this = *this / nOperand; }

    operator CURRENCY() const { return m_cur; }

    // The system's text of the value; empty for a null or invalid currency.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    // FALSE (and an invalid currency) when the system cannot read the text as an amount.
    BOOL ParseCurrency(LPCTSTR pszCurrency, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    CURRENCY m_cur;
    CurrencyStatus m_status;
};

class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan();                                  // valid, no time
    COleDateTimeSpan(double dblSpanSrc);
    COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    void SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    // The parts of the span rounded to the second; each part carries the span's sign.
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;
    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24.0; }
    double GetTotalMinutes() const { return m_span * 24.0 * 60.0; }
    double GetTotalSeconds() const { return m_span * 24.0 * 60.0 * 60.0; }

    bool operator==(const COleDateTimeSpan& span) const;
    bool operator!=(const COleDateTimeSpan& span) const { return !(*this == span); }
    bool operator<(const COleDateTimeSpan& span) const { return m_span < span.m_span; }
    bool operator>(const COleDateTimeSpan& span) const { return m_span > span.m_span; }
    bool operator<=(const COleDateTimeSpan& span) const { return m_span <= span.m_span; }
    bool operator>=(const COleDateTimeSpan& span) const { return m_span >= span.m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-() const;

    double m_span;
    DateTimeSpanStatus m_status;

private:
    LONGLONG RoundedSeconds() const;
};

class COleDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    static COleDateTime GetCurrentTime();

    COleDateTime();                                      // valid, 30 December 1899 00:00
    COleDateTime(DATE dtSrc);                            // invalid outside the years 100 to 9999
    COleDateTime(const VARIANT& varSrc);
    COleDateTime(time_t timeSrc);                        // local time
    COleDateTime(const SYSTEMTIME& systimeSrc);
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(const VARIANT& varSrc);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // 0 when the parts name an existing moment of the years 100 to 9999, otherwise 1 and the date is invalid.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }

    // Parts of a valid date, rounded to the second; -1 for a null or invalid one.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;                            // 1 = Sunday
    int GetDayOfYear() const;                            // 1 = 1 January
    bool GetAsSystemTime(SYSTEMTIME& sysTime) const;

    operator DATE() const { return m_dt; }

    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const { return !(date < *this); }
    bool operator>=(const COleDateTime& date) const { return !(*this < date); }

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    // The system's text of the date (VarBstrFromDate flags); empty for a null or invalid date.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    // A strftime picture such as "%d/%m/%Y"; empty for a null or invalid date.
    CString Format(LPCTSTR pszFormat) const;
    // FALSE (and an invalid date) when the system cannot read the text as a date.
    BOOL ParseDateTime(LPCTSTR pszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    DATE m_dt;
    DateTimeStatus m_status;

private:
    void SetValue(DATE dt);
    bool GetParts(UDATE& udate) const;
};
