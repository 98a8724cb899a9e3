// Numbers and amounts as the user reads and types them. The two formatters hold a locale's currency or
// number format record and go through the system's formatting; parsing strips what formatting added and
// reads a plain decimal number (no exponent, hex, "inf" or "nan"); a thousands separator counts only between
// groups of three digits of the integer part, so "1234.56" is no amount where "." groups thousands. Amounts are
// fixed point with four decimals: a text is read to the decimals its format shows (at most four), rounded once
// from its own digits to the nearest (ties away from zero), so that what is kept is what is shown.
#pragma once

#include "platform/mfc/afxdisp.h"
#include "platform/mfc/afxstr.h"

// Grouping size of a locale's grouping text ("3;0", "3;2;0"): its last digit other than 0, else 3.
UINT GroupingFromLocaleText(LPCTSTR pszGrouping);

class CCurrencyFormat
{
public:
    explicit CCurrencyFormat(LCID lcid = LOCALE_USER_DEFAULT);
    // The record points into this object's own separator buffers.
    CCurrencyFormat(const CCurrencyFormat&) = delete;
    CCurrencyFormat& operator=(const CCurrencyFormat&) = delete;

    // Empty for a null or invalid currency.
    CString Format(const COleCurrency& cur) const;
    // Blanks only give a null currency, a text that is not an amount an invalid one. The amount has the format's
    // number of decimals (at most four).
    COleCurrency Parse(LPCTSTR pszText) const;

    void SetNumDigits(UINT nDigits) { m_fmt.NumDigits = nDigits; }
    void SetLeadingZero(UINT nLeadingZero) { m_fmt.LeadingZero = nLeadingZero; }
    void SetGrouping(UINT nGrouping) { m_fmt.Grouping = nGrouping; }
    void SetNegativeOrder(UINT nOrder) { m_fmt.NegativeOrder = nOrder; }
    void SetPositiveOrder(UINT nOrder) { m_fmt.PositiveOrder = nOrder; }
    void SetDecimalSep(LPCTSTR psz);         // up to 3 characters
    void SetThousandSep(LPCTSTR psz);        // up to 3 characters
    void SetCurrencySymbol(LPCTSTR psz);     // up to 5 characters
    const CURRENCYFMTW& GetFormat() const { return m_fmt; }

private:
    LCID m_lcid;
    CURRENCYFMTW m_fmt;
    WCHAR m_szDecimalSep[4];
    WCHAR m_szThousandSep[4];
    WCHAR m_szCurrencySymbol[6];
};

class CNumberFormat
{
public:
    explicit CNumberFormat(LCID lcid = LOCALE_USER_DEFAULT);
    CNumberFormat(const CNumberFormat&) = delete;
    CNumberFormat& operator=(const CNumberFormat&) = delete;

    // Shows the record's number of decimals (at most 15), rounded once from the double's exact value (ties away
    // from zero); empty for a value that is not finite or not below 10^15 in magnitude.
    CString Format(double value) const;
    // bError is set for a text of blanks (answer 0), for a magnitude of 10^15 or more (answer 0) and when anything
    // but blanks follows the number.
    double Parse(LPCTSTR pszText, BOOL& bError) const;

    void SetNumDigits(UINT nDigits) { m_fmt.NumDigits = nDigits; }
    const NUMBERFMTW& GetFormat() const { return m_fmt; }

private:
    LCID m_lcid;
    NUMBERFMTW m_fmt;
    WCHAR m_szDecimalSep[4];
    WCHAR m_szThousandSep[4];
};

// The currency format of the user's locale, built at start-up; the dialog exchange of amounts uses it.
CCurrencyFormat& GetLocaleCurrencyFormat();

// Numbers in the user's locale format, with 0 to 15 decimals (CNumberFormat's rules).
CString FormatNumber(double value, int nDecimals);
double ParseNumber(LPCTSTR pszText, BOOL& bError);

// Amounts as the input forms show them: two decimals, "," and ".", no currency symbol ("1.234.567,89").
CString FormatCurrency(const COleCurrency& cur);
// The value rounded to the nearest 1/10000 (ties as the system's VARIANT conversion); invalid when it does
// not fit the 64-bit count or is not finite.
COleCurrency CurrencyFromDouble(double value);
// FormatCurrency of CurrencyFromDouble: a value out of range formats as empty.
CString FormatCurrencyFromDouble(double value);
// An amount as the input forms take it: rounded once to the two decimals they show.
COleCurrency ParseCurrency(LPCTSTR pszText);
