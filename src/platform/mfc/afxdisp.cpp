#include "afxdisp.h"

#include <cmath>
#include <cstdint>
#include <cwchar>

namespace
{
// An invalid operand makes the result invalid; otherwise a null one makes it null.
template <class TStatus>
TStatus CombineStatus(TStatus a, TStatus b)
{
    if (a == TStatus::invalid || b == TStatus::invalid)
        return TStatus::invalid;
    if (a == TStatus::null || b == TStatus::null)
        return TStatus::null;
    return TStatus::valid;
}

CString TakeBstr(BSTR bstr)
{
    CString text(bstr);
    ::SysFreeString(bstr);
    return text;
}

// Converts a VARIANT to vt, a type that holds no resource (currency, date), through the system; VT_NULL is
// reported apart because the types keep it as status null. A value already of the type is taken as it is: a record
// set's amounts come so, one at a time, and the system would only copy them.
enum class VariantResult { converted, null, failed };
VariantResult ChangeVariant(const VARIANT& varSrc, VARTYPE vt, VARIANT& varDest)
{
    if (varSrc.vt == vt) {
        varDest = varSrc;
        return VariantResult::converted;
    }
    ::VariantInit(&varDest);
    if (varSrc.vt == VT_NULL)
        return VariantResult::null;
    HRESULT hr = ::VariantChangeType(&varDest, const_cast<VARIANT*>(&varSrc), 0, vt);
    return SUCCEEDED(hr) ? VariantResult::converted : VariantResult::failed;
}

// ---- currency ----

COleCurrency CurrencyResult(COleCurrency::CurrencyStatus status, LONGLONG value, bool bOverflow)
{
    COleCurrency result;
    if (status == COleCurrency::valid && bOverflow)
        status = COleCurrency::invalid;
    result.m_status = status;
    result.m_cur.int64 = status == COleCurrency::valid ? value : 0;
    return result;
}

// ---- dates ----

// An OLE date before 30 December 1899 keeps the day in its integer part and the time of day as a positive
// fraction (-1.25 is 29 December 1899 06:00); arithmetic needs a continuous count of days instead.
double LinearFromDate(DATE dt)
{
    if (dt >= 0)
        return dt;
    double day = std::ceil(dt);
    return day - (dt - day);
}

DATE DateFromLinear(double days)
{
    if (days >= 0)
        return days;
    double day = std::floor(days);
    double time = days - day;
    return time == 0 ? day : day - time;
}

double RoundToSecond(double days) { return std::round(days * 86400.0) / 86400.0; }

// 1 January 100 and the first moment after 31 December 9999, as continuous days.
const double MinLinearDate = -657434.0;
const double EndLinearDate = 2958466.0;

bool IsValidDate(DATE dt)
{
    double linear = RoundToSecond(LinearFromDate(dt));
    return linear >= MinLinearDate && linear < EndLinearDate;   // false for NaN too
}
} // namespace

// ---------------------------------------------------------------------------------------------------------
// COleCurrency

COleCurrency::COleCurrency() : m_status(valid) { m_cur.int64 = 0; }
COleCurrency::COleCurrency(CURRENCY cySrc) : m_cur(cySrc), m_status(valid) {}
COleCurrency::COleCurrency(long nUnits, long nFractionalUnits) { SetCurrency(nUnits, nFractionalUnits); }
COleCurrency::COleCurrency(const VARIANT& varSrc) { *this = varSrc; }

COleCurrency& COleCurrency::operator=(CURRENCY cySrc)
{
    m_cur = cySrc;
    m_status = valid;
    return *this;
}

COleCurrency& COleCurrency::operator=(const VARIANT& varSrc)
{
    VARIANT var;
    switch (ChangeVariant(varSrc, VT_CY, var)) {
    case VariantResult::converted: *this = CurrencyResult(valid, var.cyVal.int64, false); break;
    case VariantResult::null: *this = CurrencyResult(null, 0, false); break;
    case VariantResult::failed: *this = CurrencyResult(invalid, 0, false); break;
    }
    return *this;
}

void COleCurrency::SetCurrency(long nUnits, long nFractionalUnits)
{
    m_cur.int64 = static_cast<LONGLONG>(nUnits) * 10000 + nFractionalUnits;
    m_status = valid;
}

bool COleCurrency::operator==(const COleCurrency& cur) const
{
    return m_status == cur.m_status && (m_status != valid || m_cur.int64 == cur.m_cur.int64);
}

COleCurrency COleCurrency::operator+(const COleCurrency& cur) const
{
    LONGLONG value = 0;
    bool bOverflow = __builtin_add_overflow(m_cur.int64, cur.m_cur.int64, &value);
    return CurrencyResult(CombineStatus(m_status, cur.m_status), value, bOverflow);
}

COleCurrency COleCurrency::operator-(const COleCurrency& cur) const
{
    LONGLONG value = 0;
    bool bOverflow = __builtin_sub_overflow(m_cur.int64, cur.m_cur.int64, &value);
    return CurrencyResult(CombineStatus(m_status, cur.m_status), value, bOverflow);
}

COleCurrency COleCurrency::operator-() const
{
    LONGLONG value = 0;
    bool bOverflow = __builtin_sub_overflow(LONGLONG(0), m_cur.int64, &value);
    return CurrencyResult(m_status, value, bOverflow);
}

COleCurrency COleCurrency::operator*(long nOperand) const
{
    LONGLONG value = 0;
    bool bOverflow = __builtin_mul_overflow(m_cur.int64, static_cast<LONGLONG>(nOperand), &value);
    return CurrencyResult(m_status, value, bOverflow);
}

COleCurrency COleCurrency::operator/(long nOperand) const
{
    bool bOverflow = nOperand == 0 || (nOperand == -1 && m_cur.int64 == INT64_MIN);
    return CurrencyResult(m_status, bOverflow ? 0 : m_cur.int64 / nOperand, bOverflow);
}

CString COleCurrency::Format(DWORD dwFlags, LCID lcid) const
{
    BSTR bstr = nullptr;
    if (m_status != valid || FAILED(::VarBstrFromCy(m_cur, lcid, dwFlags, &bstr)))
        return CString();
    return TakeBstr(bstr);
}

BOOL COleCurrency::ParseCurrency(LPCTSTR pszCurrency, DWORD dwFlags, LCID lcid)
{
    CURRENCY cy;
    bool bParsed = pszCurrency && SUCCEEDED(::VarCyFromStr(const_cast<LPOLESTR>(pszCurrency), lcid, dwFlags, &cy));
    *this = CurrencyResult(bParsed ? valid : invalid, bParsed ? cy.int64 : 0, false);
    return bParsed;
}

// ---------------------------------------------------------------------------------------------------------
// COleDateTimeSpan

COleDateTimeSpan::COleDateTimeSpan() : m_span(0), m_status(valid) {}
COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) {}
COleDateTimeSpan::COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + nHours / 24.0 + nMins / (24.0 * 60.0) + nSecs / (24.0 * 60.0 * 60.0);
    m_status = valid;
}

LONGLONG COleDateTimeSpan::RoundedSeconds() const { return std::llround(m_span * 86400.0); }
long COleDateTimeSpan::GetDays() const { return static_cast<long>(RoundedSeconds() / 86400); }
long COleDateTimeSpan::GetHours() const { return static_cast<long>(RoundedSeconds() / 3600 % 24); }
long COleDateTimeSpan::GetMinutes() const { return static_cast<long>(RoundedSeconds() / 60 % 60); }
long COleDateTimeSpan::GetSeconds() const { return static_cast<long>(RoundedSeconds() % 60); }

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& span) const
{
    return m_status == span.m_status && (m_status != valid || m_span == span.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& span) const
{
    COleDateTimeSpan result(m_span + span.m_span);
    result.m_status = CombineStatus(m_status, span.m_status);
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& span) const
{
    COleDateTimeSpan result(m_span - span.m_span);
    result.m_status = CombineStatus(m_status, span.m_status);
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}

// ---------------------------------------------------------------------------------------------------------
// COleDateTime

COleDateTime COleDateTime::GetCurrentTime()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return COleDateTime(now);
}

COleDateTime::COleDateTime() : m_dt(0), m_status(valid) {}
COleDateTime::COleDateTime(DATE dtSrc) { SetValue(dtSrc); }
COleDateTime::COleDateTime(const VARIANT& varSrc) { *this = varSrc; }

COleDateTime::COleDateTime(time_t timeSrc)
{
    const std::tm* local = std::localtime(&timeSrc);
    if (local)
        SetDateTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min,
                    local->tm_sec);
    else
        SetValue(NAN);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute,
                systimeSrc.wSecond);
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    SetValue(dtSrc);
    return *this;
}

COleDateTime& COleDateTime::operator=(const VARIANT& varSrc)
{
    VARIANT var;
    switch (ChangeVariant(varSrc, VT_DATE, var)) {
    case VariantResult::converted: SetValue(var.date); break;
    case VariantResult::null: m_dt = 0; m_status = null; break;
    case VariantResult::failed: SetValue(NAN); break;
    }
    return *this;
}

// Keeps a date of the supported years; anything else leaves an invalid zero date.
void COleDateTime::SetValue(DATE dt)
{
    bool bValid = IsValidDate(dt);
    m_dt = bValid ? dt : 0;
    m_status = bValid ? valid : invalid;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    UDATE parts = {};
    DATE dt = 0;
    bool bInRange = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31 &&
                    nHour >= 0 && nHour <= 23 && nMin >= 0 && nMin <= 59 && nSec >= 0 && nSec <= 59;
    if (bInRange) {
        parts.st.wYear = static_cast<WORD>(nYear);
        parts.st.wMonth = static_cast<WORD>(nMonth);
        parts.st.wDay = static_cast<WORD>(nDay);
        parts.st.wHour = static_cast<WORD>(nHour);
        parts.st.wMinute = static_cast<WORD>(nMin);
        parts.st.wSecond = static_cast<WORD>(nSec);
        bInRange = SUCCEEDED(::VarDateFromUdate(&parts, 0, &dt));
    }
    SetValue(bInRange ? dt : NAN);
    // The system rolls 31 April over into May: the date exists only when it reads back the same.
    UDATE back;
    if (m_status == valid && !(GetParts(back) && back.st.wYear == nYear && back.st.wMonth == nMonth &&
                               back.st.wDay == nDay && back.st.wHour == nHour && back.st.wMinute == nMin &&
                               back.st.wSecond == nSec))
        SetValue(NAN);
    return m_status == valid ? 0 : 1;
}

// The parts of the date rounded to the second.
bool COleDateTime::GetParts(UDATE& udate) const
{
    return m_status == valid &&
           SUCCEEDED(::VarUdateFromDate(DateFromLinear(RoundToSecond(LinearFromDate(m_dt))), 0, &udate));
}

int COleDateTime::GetYear() const { UDATE u; return GetParts(u) ? u.st.wYear : -1; }
int COleDateTime::GetMonth() const { UDATE u; return GetParts(u) ? u.st.wMonth : -1; }
int COleDateTime::GetDay() const { UDATE u; return GetParts(u) ? u.st.wDay : -1; }
int COleDateTime::GetHour() const { UDATE u; return GetParts(u) ? u.st.wHour : -1; }
int COleDateTime::GetMinute() const { UDATE u; return GetParts(u) ? u.st.wMinute : -1; }
int COleDateTime::GetSecond() const { UDATE u; return GetParts(u) ? u.st.wSecond : -1; }
int COleDateTime::GetDayOfWeek() const { UDATE u; return GetParts(u) ? u.st.wDayOfWeek + 1 : -1; }
int COleDateTime::GetDayOfYear() const { UDATE u; return GetParts(u) ? u.wDayOfYear : -1; }

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    UDATE u;
    if (!GetParts(u))
        return false;
    sysTime = u.st;
    return true;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && (m_status != valid || m_dt == date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return LinearFromDate(m_dt) < LinearFromDate(date.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime result;
    result.m_status = CombineStatus(m_status, static_cast<DateTimeStatus>(span.m_status));
    if (result.m_status == valid)
        result.SetValue(DateFromLinear(LinearFromDate(m_dt) + span.m_span));
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const { return *this + -span; }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan result(LinearFromDate(m_dt) - LinearFromDate(date.m_dt));
    result.m_status = static_cast<COleDateTimeSpan::DateTimeSpanStatus>(CombineStatus(m_status, date.m_status));
    if (result.m_status != COleDateTimeSpan::valid)
        result.m_span = 0;
    return result;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    BSTR bstr = nullptr;
    if (m_status != valid || FAILED(::VarBstrFromDate(m_dt, lcid, dwFlags, &bstr)))
        return CString();
    return TakeBstr(bstr);
}

CString COleDateTime::Format(LPCTSTR pszFormat) const
{
    UDATE u;
    if (!pszFormat || !GetParts(u))
        return CString();
    std::tm parts = {};
    parts.tm_year = u.st.wYear - 1900;
    parts.tm_mon = u.st.wMonth - 1;
    parts.tm_mday = u.st.wDay;
    parts.tm_hour = u.st.wHour;
    parts.tm_min = u.st.wMinute;
    parts.tm_sec = u.st.wSecond;
    parts.tm_wday = u.st.wDayOfWeek;
    parts.tm_yday = u.wDayOfYear - 1;
    parts.tm_isdst = -1;
    WCHAR buffer[256];
    size_t length = std::wcsftime(buffer, sizeof(buffer) / sizeof(buffer[0]), pszFormat, &parts);
    return CString(buffer, static_cast<int>(length));
}

BOOL COleDateTime::ParseDateTime(LPCTSTR pszDate, DWORD dwFlags, LCID lcid)
{
    DATE dt = 0;
    bool bParsed = pszDate && SUCCEEDED(::VarDateFromStr(const_cast<LPOLESTR>(pszDate), lcid, dwFlags, &dt));
    SetValue(bParsed ? dt : NAN);
    return m_status == valid;
}
