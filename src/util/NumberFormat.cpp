#include "NumberFormat.h"

#include "platform/com/comsupport.h"

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

// Takes the thousands separators out of the number's integer part. A separator stands only between groups of
// three digits there, after a first group of one to three ("1.234.567"); anywhere else ("1234.56", "12.34") the
// text is no number of this format: false.
bool RemoveThousandSeps(CString& text, LPCTSTR pszSep)
{
    const int nSep = lstrlenW(pszSep);
    if (nSep == 0 || text.Find(pszSep) < 0)
        return true;
    const int nLength = text.GetLength();
    auto digitsEnd = [&](int p) {
        while (p < nLength && IsDigit(text[p]))
            ++p;
        return p;
    };
    int nStart = 0;
    while (nStart < nLength && !IsDigit(text[nStart]))
        ++nStart;
    int p = digitsEnd(nStart);
    CString strInteger = text.Mid(nStart, p - nStart);
    if (strInteger.GetLength() > 3 && text.Mid(p, nSep) == pszSep)
        return false;
    while (!strInteger.IsEmpty() && text.Mid(p, nSep) == pszSep) {
        int nGroupEnd = digitsEnd(p + nSep);
        if (nGroupEnd - (p + nSep) != 3)
            return false;
        strInteger += text.Mid(p + nSep, 3);
        p = nGroupEnd;
    }
    CString strBefore = text.Left(nStart), strAfter = text.Mid(p);
    if (strBefore.Find(pszSep) >= 0 || strAfter.Find(pszSep) >= 0)
        return false;
    text = strBefore + strInteger + strAfter;
    return true;
}

// Takes away what formatting adds: the first currency symbol and the thousands separators; the first decimal
// separator becomes a point. False when a thousands separator is out of place.
bool StripFormatting(LPCTSTR pszText, LPCTSTR pszSymbol, LPCTSTR pszThousandSep, LPCTSTR pszDecimalSep,
                     CString& text)
{
    text = SkipBlanks(pszText);
    int at = *pszSymbol ? text.Find(pszSymbol) : -1;
    if (at >= 0)
        text.Delete(at, lstrlenW(pszSymbol));
    // The blank that parted the symbol from the number is no separator.
    text.Trim();
    if (!RemoveThousandSeps(text, pszThousandSep))
        return false;
    at = *pszDecimalSep ? text.Find(pszDecimalSep) : -1;
    if (at >= 0) {
        text.Delete(at, lstrlenW(pszDecimalSep));
        text.Insert(at, L'.');
    }
    return true;
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

// The amount in 1/10000 from the digits, rounded once at its nDecimals-th decimal (at most the fourth) to the
// nearest, ties away from zero; false when it does not fit the 64-bit count.
bool CountFromDecimal(const CDecimalText& number, UINT nDecimals, LONGLONG& count)
{
    const unsigned long long limit = number.bNegative ? 9223372036854775808ULL : 9223372036854775807ULL;
    const int nKept = static_cast<int>(std::min(nDecimals, 4u));
    unsigned long long magnitude = 0;
    auto append = [&](unsigned digit) {
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
        return true;
    };
    const CString digits = number.strInteger + (number.strFraction + L"0000").Left(nKept);
    for (int i = 0; i < digits.GetLength(); ++i) {
        if (!append(static_cast<unsigned>(digits[i] - L'0')))
            return false;
    }
    if (number.strFraction.GetLength() > nKept && number.strFraction[nKept] >= L'5') {
        if (magnitude == limit)
            return false;
        ++magnitude;
    }
    for (int i = nKept; i < 4; ++i) {
        if (!append(0))
            return false;
    }
    count = static_cast<LONGLONG>(number.bNegative ? 0 - magnitude : magnitude);
    return true;
}

// Magnitudes the formatters handle: amounts stay within about 9.2 x 10^14, and from 10^15 on a double no longer
// holds every unit (and the system's formatting garbles or overruns very long texts).
const double LARGEST_NUMBER = 1e15;
const UINT MAX_NUMBER_DECIMALS = 15;

// An unsigned 128-bit count (the 32-bit compiler has no such type): a double below 10^15 scaled by 10^15 takes
// about 100 bits.
struct CUInt128
{
    unsigned long long hi = 0;
    unsigned long long lo = 0;

    static CUInt128 Product(unsigned long long a, unsigned long long b)
    {
        const unsigned long long mask = 0xFFFFFFFFULL;
        unsigned long long p00 = (a & mask) * (b & mask), p01 = (a & mask) * (b >> 32);
        unsigned long long p10 = (a >> 32) * (b & mask), p11 = (a >> 32) * (b >> 32);
        unsigned long long mid = (p00 >> 32) + (p01 & mask) + (p10 & mask);
        CUInt128 r;
        r.lo = (mid << 32) | (p00 & mask);
        r.hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
        return r;
    }
    bool Bit(unsigned n) const { return n < 64 ? (lo >> n) & 1 : n < 128 && ((hi >> (n - 64)) & 1); }
    CUInt128 ShiftedRight(unsigned n) const
    {
        CUInt128 r;
        if (n >= 128)
            return r;
        if (n >= 64) {
            r.lo = hi >> (n - 64);
        } else if (n > 0) {
            r.lo = (lo >> n) | (hi << (64 - n));
            r.hi = hi >> n;
        } else {
            r = *this;
        }
        return r;
    }
    void Increment()
    {
        if (++lo == 0)
            ++hi;
    }
    CString Decimal() const
    {
        unsigned long long limbs[4] = {hi >> 32, hi & 0xFFFFFFFFULL, lo >> 32, lo & 0xFFFFFFFFULL};
        CString digits;
        do {
            unsigned long long rest = 0;
            for (unsigned long long& limb : limbs) {
                unsigned long long part = (rest << 32) | limb;
                limb = part / 10;
                rest = part % 10;
            }
            digits.Insert(0, static_cast<TCHAR>(L'0' + rest));
        } while (limbs[0] | limbs[1] | limbs[2] | limbs[3]);
        return digits;
    }
};

// The value as a plain "-1234.5678" text of exactly nDecimals decimals, rounded once from the double's exact
// binary value (ties away from zero); no sign when it rounds to zero. |value| < LARGEST_NUMBER, nDecimals at
// most MAX_NUMBER_DECIMALS.
CString ExactDecimalText(double value, UINT nDecimals)
{
    // |value| = mantissa x 2^-shift, the mantissa a 53-bit integer; below 10^15 the shift is at least 3.
    int exponent = 0;
    double fraction = std::frexp(std::fabs(value), &exponent);
    unsigned long long mantissa = static_cast<unsigned long long>(std::ldexp(fraction, 53));
    unsigned shift = static_cast<unsigned>(53 - exponent);
    unsigned long long scale = 1;
    for (UINT i = 0; i < nDecimals; ++i)
        scale *= 10;
    // round(|value| x 10^n): the scaled mantissa shifted, plus one when the first bit shifted out is set.
    CUInt128 scaled = CUInt128::Product(mantissa, scale);
    CUInt128 rounded = scaled.ShiftedRight(shift);
    if (shift > 0 && scaled.Bit(shift - 1))
        rounded.Increment();

    CString digits = rounded.Decimal();
    if (digits.GetLength() <= static_cast<int>(nDecimals))
        digits = CString(L'0', static_cast<int>(nDecimals) + 1 - digits.GetLength()) + digits;
    CString text = (value < 0 && (rounded.hi | rounded.lo)) ? L"-" : L"";
    text += digits.Left(digits.GetLength() - static_cast<int>(nDecimals));
    if (nDecimals > 0)
        text += L"." + digits.Right(static_cast<int>(nDecimals));
    return text;
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
    CString strPlain;
    if (!StripFormatting(pszText, m_szCurrencySymbol, m_szThousandSep, m_szDecimalSep, strPlain))
        return MakeCurrency(COleCurrency::invalid, 0);
    CDecimalText number = ReadDecimal(strPlain);
    LONGLONG count = 0;
    // Rounded where the format rounds what it shows: a second rounding of the four decimals would turn
    // 0,0049999 into 0,0050 and that into 0,01.
    if (!number.bComplete || !CountFromDecimal(number, m_fmt.NumDigits, count))
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
    if (!std::isfinite(value) || std::fabs(value) >= LARGEST_NUMBER)
        return CString();
    // The text carries exactly the decimals shown, so that the system only groups it and rounds nothing again.
    NUMBERFMTW fmt = m_fmt;
    fmt.NumDigits = std::min(m_fmt.NumDigits, MAX_NUMBER_DECIMALS);
    return SystemFormat(::GetNumberFormatW, m_lcid, ExactDecimalText(value, fmt.NumDigits), fmt);
}

double CNumberFormat::Parse(LPCTSTR pszText, BOOL& bError) const
{
    bError = TRUE;
    if (IsBlankText(pszText))
        return 0.0;
    CString strPlain;
    if (!StripFormatting(pszText, L"", m_szThousandSep, m_szDecimalSep, strPlain))
        return 0.0;
    CDecimalText number = ReadDecimal(strPlain);
    if (!number.bFound)
        return 0.0;
    // wcstod reads the decimal point of the C library's current locale.
    CString plain = (number.bNegative ? L"-" : L"") + number.strInteger + CString(std::localeconv()->decimal_point) +
                    number.strFraction;
    double value = std::wcstod(plain, nullptr);
    if (!std::isfinite(value) || std::fabs(value) >= LARGEST_NUMBER)
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
    format.SetNumDigits(static_cast<UINT>(std::min(std::max(nDecimals, 0), static_cast<int>(MAX_NUMBER_DECIMALS))));
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
    CY cy;
    if (FAILED(CurrencyFromDoubleExact(value, &cy)))
        return MakeCurrency(COleCurrency::invalid, 0);
    return MakeCurrency(COleCurrency::valid, cy.int64);
}

CString FormatCurrencyFromDouble(double value) { return FormatCurrency(CurrencyFromDouble(value)); }

COleCurrency ParseCurrency(LPCTSTR pszText) { return AmountFormat().Parse(pszText); }
