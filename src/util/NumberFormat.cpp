#include "NumberFormat.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cwchar>
#include <cwctype>

namespace
{
CString LocaleText(LCID lcid, LCTYPE type)
{
    CString text;
    int n = ::GetLocaleInfoW(lcid, type, nullptr, 0);
    if (n > 0)
        text.ReleaseBuffer(::GetLocaleInfoW(lcid, type, text.GetBuffer(n), n) > 0 ? n - 1 : 0);
    return text;
}

UINT LocaleNumber(LCID lcid, LCTYPE type) { return static_cast<UINT>(std::wcstoul(LocaleText(lcid, type), nullptr, 10)); }

// Copies at most N-1 characters: the format records have short fixed buffers.
template <size_t N>
void CopyLimited(WCHAR (&dest)[N], LPCTSTR psz)
{
    ::lstrcpynW(dest, psz ? psz : L"", static_cast<int>(N));
}

// The system's number or currency formatting of a plain "-1234.5678" text with an explicit record.
template <class TFormat>
CString SystemFormat(int(WINAPI* pfnFormat)(LCID, DWORD, LPCWSTR, const TFormat*, LPWSTR, int), LCID lcid,
                     LPCTSTR pszValue, const TFormat& fmt)
{
    CString text;
    int n = pfnFormat(lcid, 0, pszValue, &fmt, nullptr, 0);
    if (n > 0)
        text.ReleaseBuffer(pfnFormat(lcid, 0, pszValue, &fmt, text.GetBuffer(n), n) > 0 ? n - 1 : 0);
    return text;
}

bool IsBlank(TCHAR ch) { return ch != 0 && std::iswspace(ch); }
bool IsDigit(TCHAR ch) { return ch >= L'0' && ch <= L'9'; }

LPCTSTR SkipBlanks(LPCTSTR p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

bool IsBlankText(LPCTSTR pszText) { return !pszText || !*SkipBlanks(pszText); }

// Takes away what formatting adds: the first currency symbol and every thousands separator; the first
// decimal separator becomes a point.
CString StripFormatting(LPCTSTR pszText, LPCTSTR pszSymbol, LPCTSTR pszThousandSep, LPCTSTR pszDecimalSep)
{
    CString text(SkipBlanks(pszText));
    int at = *pszSymbol ? text.Find(pszSymbol) : -1;
    if (at >= 0)
        text.Delete(at, lstrlenW(pszSymbol));
    if (*pszThousandSep)
        text.Replace(pszThousandSep, L"");
    at = *pszDecimalSep ? text.Find(pszDecimalSep) : -1;
    if (at >= 0) {
        text.Delete(at, lstrlenW(pszDecimalSep));
        text.Insert(at, L'.');
    }
    return text;
}

// A plain decimal number, [sign] digits [. digits], read from the start of a stripped text after blanks.
struct CDecimalText
{
    bool bFound = false;       // at least one digit
    bool bComplete = false;    // nothing but blanks after the number
    bool bNegative = false;
    CString strInteger;
    CString strFraction;
};

CDecimalText ReadDecimal(LPCTSTR pszText)
{
    CDecimalText number;
    LPCTSTR p = SkipBlanks(pszText);
    if (*p == L'+' || *p == L'-')
        number.bNegative = *p++ == L'-';
    while (IsDigit(*p))
        number.strInteger += *p++;
    if (*p == L'.') {
        ++p;
        while (IsDigit(*p))
            number.strFraction += *p++;
    }
    number.bFound = !number.strInteger.IsEmpty() || !number.strFraction.IsEmpty();
    number.bComplete = number.bFound && !*SkipBlanks(p);
    return number;
}

// The amount in 1/10000 from the digits, rounded to the nearest (ties away from zero); false when it does
// not fit the 64-bit count.
bool CountFromDecimal(const CDecimalText& number, LONGLONG& count)
{
    const unsigned long long limit = number.bNegative ? 9223372036854775808ULL : 9223372036854775807ULL;
    CString digits = number.strInteger + (number.strFraction + L"0000").Left(4);
    unsigned long long magnitude = 0;
    for (int i = 0; i < digits.GetLength(); ++i) {
        unsigned digit = static_cast<unsigned>(digits[i] - L'0');
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    if (number.strFraction.GetLength() > 4 && number.strFraction[4] >= L'5') {
        if (magnitude == limit)
            return false;
        ++magnitude;
    }
    count = static_cast<LONGLONG>(number.bNegative ? 0 - magnitude : magnitude);
    return true;
}

COleCurrency MakeCurrency(COleCurrency::CurrencyStatus status, LONGLONG count)
{
    COleCurrency cur;
    cur.m_cur.int64 = count;
    cur.m_status = status;
    return cur;
}

// Amounts as the input forms and reports show them.
struct CAmountFormat : CCurrencyFormat
{
    CAmountFormat()
    {
        SetNumDigits(2);
        SetLeadingZero(1);
        SetGrouping(3);
        SetDecimalSep(L",");
        SetThousandSep(L".");
        SetNegativeOrder(2);
        // Without a symbol the locale's positive order would still leave the blank that parts it from the number.
        SetPositiveOrder(0);
        SetCurrencySymbol(L"");
    }
};

CAmountFormat& AmountFormat()
{
    static CAmountFormat format;
    return format;
}

CCurrencyFormat g_localeCurrencyFormat;
} // namespace

UINT GroupingFromLocaleText(LPCTSTR pszGrouping)
{
    UINT nGrouping = 3;
    for (LPCTSTR p = pszGrouping; p && *p; ++p) {
        if (IsDigit(*p) && *p != L'0')
            nGrouping = static_cast<UINT>(*p - L'0');
    }
    return nGrouping;
}

// ---------------------------------------------------------------------------------------------------------
// CCurrencyFormat

CCurrencyFormat::CCurrencyFormat(LCID lcid) : m_lcid(lcid), m_fmt()
{
    m_fmt.NumDigits = std::min(LocaleNumber(lcid, LOCALE_ICURRDIGITS), 4u);
    m_fmt.LeadingZero = LocaleNumber(lcid, LOCALE_ILZERO);
    m_fmt.Grouping = GroupingFromLocaleText(LocaleText(lcid, LOCALE_SMONGROUPING));
    m_fmt.NegativeOrder = LocaleNumber(lcid, LOCALE_INEGCURR);
    m_fmt.PositiveOrder = LocaleNumber(lcid, LOCALE_ICURRENCY);
    m_fmt.lpDecimalSep = m_szDecimalSep;
    m_fmt.lpThousandSep = m_szThousandSep;
    m_fmt.lpCurrencySymbol = m_szCurrencySymbol;
    SetDecimalSep(LocaleText(lcid, LOCALE_SMONDECIMALSEP));
    SetThousandSep(LocaleText(lcid, LOCALE_SMONTHOUSANDSEP));
    SetCurrencySymbol(LocaleText(lcid, LOCALE_SCURRENCY));
}

void CCurrencyFormat::SetDecimalSep(LPCTSTR psz) { CopyLimited(m_szDecimalSep, psz); }
void CCurrencyFormat::SetThousandSep(LPCTSTR psz) { CopyLimited(m_szThousandSep, psz); }
void CCurrencyFormat::SetCurrencySymbol(LPCTSTR psz) { CopyLimited(m_szCurrencySymbol, psz); }

CString CCurrencyFormat::Format(const COleCurrency& cur) const
{
    if (cur.GetStatus() != COleCurrency::valid)
        return CString();
    // Written from the count itself: a double would lose the last digits of large amounts.
    LONGLONG count = cur.m_cur.int64;
    unsigned long long magnitude = count < 0 ? 0 - static_cast<unsigned long long>(count) : count;
    CString value;
    value.Format(L"%s%I64u.%04I64u", count < 0 ? L"-" : L"", magnitude / 10000, magnitude % 10000);
    return SystemFormat(::GetCurrencyFormatW, m_lcid, value, m_fmt);
}

COleCurrency CCurrencyFormat::Parse(LPCTSTR pszText) const
{
    if (IsBlankText(pszText))
        return MakeCurrency(COleCurrency::null, 0);
    CDecimalText number = ReadDecimal(StripFormatting(pszText, m_szCurrencySymbol, m_szThousandSep, m_szDecimalSep));
    LONGLONG count = 0;
    if (!number.bComplete || !CountFromDecimal(number, count))
        return MakeCurrency(COleCurrency::invalid, 0);
    return MakeCurrency(COleCurrency::valid, count);
}

// ---------------------------------------------------------------------------------------------------------
// CNumberFormat

CNumberFormat::CNumberFormat(LCID lcid) : m_lcid(lcid), m_fmt()
{
    m_fmt.NumDigits = LocaleNumber(lcid, LOCALE_IDIGITS);
    m_fmt.LeadingZero = LocaleNumber(lcid, LOCALE_ILZERO);
    m_fmt.Grouping = GroupingFromLocaleText(LocaleText(lcid, LOCALE_SGROUPING));
    m_fmt.NegativeOrder = LocaleNumber(lcid, LOCALE_INEGNUMBER);
    m_fmt.lpDecimalSep = m_szDecimalSep;
    m_fmt.lpThousandSep = m_szThousandSep;
    CopyLimited(m_szDecimalSep, LocaleText(lcid, LOCALE_SDECIMAL));
    CopyLimited(m_szThousandSep, LocaleText(lcid, LOCALE_STHOUSAND));
}

CString CNumberFormat::Format(double value) const
{
    if (!std::isfinite(value))
        return CString();
    CString text;
    text.Format(L"%f", value);
    text.Replace(L',', L'.');   // the C library's locale may print a comma; the system wants a point
    return SystemFormat(::GetNumberFormatW, m_lcid, text, m_fmt);
}

double CNumberFormat::Parse(LPCTSTR pszText, BOOL& bError) const
{
    bError = TRUE;
    if (IsBlankText(pszText))
        return 0.0;
    CDecimalText number = ReadDecimal(StripFormatting(pszText, L"", m_szThousandSep, m_szDecimalSep));
    if (!number.bFound)
        return 0.0;
    // wcstod reads the decimal point of the C library's current locale.
    CString plain = (number.bNegative ? L"-" : L"") + number.strInteger + CString(std::localeconv()->decimal_point) +
                    number.strFraction;
    double value = std::wcstod(plain, nullptr);
    if (!std::isfinite(value))
        return 0.0;
    bError = !number.bComplete;
    return value;
}

// ---------------------------------------------------------------------------------------------------------
// Function-level formatters

CCurrencyFormat& GetLocaleCurrencyFormat() { return g_localeCurrencyFormat; }

CString FormatNumber(double value, int nDecimals)
{
    static CNumberFormat format;
    format.SetNumDigits(static_cast<UINT>(std::max(nDecimals, 0)));
    return format.Format(value);
}

double ParseNumber(LPCTSTR pszText, BOOL& bError)
{
    static CNumberFormat format;
    return format.Parse(pszText, bError);
}

CString FormatCurrency(const COleCurrency& cur) { return AmountFormat().Format(cur); }

COleCurrency CurrencyFromDouble(double value)
{
    // The system's VARIANT conversion rounds to the nearest 1/10000 and refuses what does not fit.
    VARIANT var;
    ::VariantInit(&var);
    var.vt = VT_R8;
    var.dblVal = value;
    return COleCurrency(var);
}

CString FormatCurrencyFromDouble(double value) { return FormatCurrency(CurrencyFromDouble(value)); }

COleCurrency ParseCurrency(LPCTSTR pszText) { return AmountFormat().Parse(pszText); }
