// Numbers shown and read the spreadsheet way: number format texts ("#,##0.00", "+#,##0.00;-#,##0.00;#,##0.00",
// "0", "@", "General" ...), the general format, rounding and the reading of typed numbers, all with the
// decimal and thousands separators of the user's locale (Italian: "1.234,56").
#pragma once

#include "platform/mfc/afxstr.h"

#include <vector>

struct CGridSeparators
{
    TCHAR m_chDecimal = L',';
    TCHAR m_chThousands = L'.';

    // The user locale's separators.
    static CGridSeparators FromUserLocale();
};

// Rounds to nDecimals places (negative: to tens, hundreds ...), halves away from zero, taking the number as
// it reads in 15 significant digits, so that 2.675 rounds to 2.68 as a person expects.
double GridRound(double d, int nDecimals);

// The general format: up to ten significant digits, no thousands separator, scientific notation for very
// large or very small numbers ("1,23457E+11").
CString GridFormatGeneral(double d, const CGridSeparators& seps);

// Reads a number as a person types it: optional sign, digits whose thousands separators (if any) stand
// between groups of three, decimals after the decimal separator, an optional exponent. Blanks around the
// number are allowed. False for anything else.
bool GridParseNumber(LPCTSTR pszText, const CGridSeparators& seps, double& d);

// A parsed number format text: up to four sections separated by ';' (positive, negative, zero, text).
class CGridNumberFormat
{
public:
    explicit CGridNumberFormat(LPCTSTR pszFormat = L"General");

    // "@" and the like: what is typed into the cell stays a text.
    bool IsText() const { return m_sections[0].m_bText; }
    CString Format(double d, const CGridSeparators& seps) const;
    // A text value: put into the text section when there is one, otherwise shown as it is.
    CString FormatText(const CString& strText) const;

private:
    struct CSection
    {
        CString m_strPrefix;      // literal text before the number (or before '@')
        CString m_strSuffix;      // literal text after it
        bool m_bGeneral = false;  // "General": the number as the general format shows it
        bool m_bText = false;     // holds '@': the section for texts
        bool m_bDigits = false;   // holds digit placeholders
        bool m_bGrouping = false; // ',' between the integer placeholders
        bool m_bPoint = false;    // a decimal point
        bool m_bPercent = false;  // '%': the number is shown times 100
        int m_nMinInt = 0;        // '0' placeholders before the point
        int m_nMinDec = 0;        // '0' placeholders after the point
        int m_nMaxDec = 0;        // '0' and '#' placeholders after the point
    };

    static CSection ParseSection(const CString& strSection);
    // bSigned: a lone number section shows the minus sign itself.
    static CString FormatInSection(const CSection& sec, double d, bool bSigned, const CGridSeparators& seps);

    std::vector<CSection> m_sections;
};
