#include "GridNumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

CGridSeparators CGridSeparators::FromUserLocale()
{
    CGridSeparators seps;
    WCHAR buf[8];
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1)
        seps.m_chDecimal = buf[0];
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8) > 1)
        seps.m_chThousands = buf[0];
    return seps;
}

double GridRound(double d, int nDecimals)
{
    if (d == 0 || !std::isfinite(d))
        return d;
    // The value as 0.DDDDDDDDDDDDDDD x 10^nExp, rounded in decimal.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(d));
    std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
    int nExp = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    int nKeep = nExp + nDecimals;
    if (nKeep >= 15)
        return d;
    if (nKeep < 0)
        return 0;
    std::string kept = digits.substr(0, static_cast<size_t>(nKeep));
    if (digits[static_cast<size_t>(nKeep)] >= '5') {
        int i = nKeep - 1;
        for (; i >= 0 && kept[static_cast<size_t>(i)] == '9'; --i)
            kept[static_cast<size_t>(i)] = '0';
        if (i >= 0)
            ++kept[static_cast<size_t>(i)];
        else {
            kept.insert(kept.begin(), '1');
            ++nExp;
        }
    }
    if (kept.empty())
        return 0;
    std::string text = "0." + kept + "e" + std::to_string(nExp);
    double r = std::strtod(text.c_str(), nullptr);
    return d < 0 ? -r : r;
}

namespace
{
// Plain digits of |d| with exactly nDecimals decimals, '.' as the point.
std::string FixedDigits(double d, int nDecimals)
{
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", nDecimals, std::fabs(GridRound(d, nDecimals)));
    return buf;
}

CString Widen(const std::string& s, const CGridSeparators& seps)
{
    CString out;
    for (char ch : s)
        out += ch == '.' ? seps.m_chDecimal : static_cast<TCHAR>(ch);
    return out;
}

bool IsDigit(TCHAR ch) { return ch >= L'0' && ch <= L'9'; }
} // namespace

CString GridFormatGeneral(double d, const CGridSeparators& seps)
{
    if (!std::isfinite(d))
        return L"#NUM!";
    if (d == 0)
        return L"0";
    double a = std::fabs(d);
    CString out = d < 0 ? L"-" : L"";
    if (a >= 1e11 || a < 1e-5) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.5E", a);
        std::string s = buf;
        size_t e = s.find('E');
        std::string mant = s.substr(0, e);
        while (mant.back() == '0')
            mant.pop_back();
        if (mant.back() == '.')
            mant.pop_back();
        int nExp = std::atoi(s.c_str() + e + 1);
        char expBuf[16];
        std::snprintf(expBuf, sizeof expBuf, "E%c%02d", nExp < 0 ? '-' : '+', std::abs(nExp));
        return out + Widen(mant + expBuf, seps);
    }
    int nIntDigits = static_cast<int>(std::floor(std::log10(a))) + 1;
    int nDecimals = nIntDigits >= 10 ? 0 : 10 - nIntDigits;
    std::string s = FixedDigits(a, nDecimals);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "0" ? CString(L"0") : out + Widen(s, seps);
}

bool GridParseNumber(LPCTSTR pszText, const CGridSeparators& seps, double& d)
{
    CString text(pszText);
    text.Trim();
    LPCTSTR p = text;
    std::string ascii;
    if (*p == L'+' || *p == L'-')
        ascii += static_cast<char>(*p++);
    // Integer part: either plain digits or groups of three after the first group of one to three.
    int nDigits = 0, nGroup = 0;
    bool bGrouped = false;
    for (;; ++p) {
        if (IsDigit(*p)) {
            ascii += static_cast<char>(*p);
            ++nDigits;
            ++nGroup;
        } else if (*p == seps.m_chThousands && seps.m_chThousands != seps.m_chDecimal && IsDigit(p[1])) {
            if (nGroup == 0 || nGroup > 3 || (bGrouped && nGroup != 3))
                return false;
            bGrouped = true;
            nGroup = 0;
        } else
            break;
    }
    if (bGrouped && nGroup != 3)
        return false;
    if (*p == seps.m_chDecimal) {
        ascii += '.';
        for (++p; IsDigit(*p); ++p, ++nDigits)
            ascii += static_cast<char>(*p);
    }
    if (nDigits == 0)
        return false;
    if (*p == L'E' || *p == L'e') {
        ascii += 'e';
        ++p;
        if (*p == L'+' || *p == L'-')
            ascii += static_cast<char>(*p++);
        if (!IsDigit(*p))
            return false;
        for (; IsDigit(*p); ++p)
            ascii += static_cast<char>(*p);
    }
    if (*p != 0)
        return false;
    double r = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(r))
        return false;
    d = r;
    return true;
}

CGridNumberFormat::CGridNumberFormat(LPCTSTR pszFormat)
{
    // Split at the ';' that stand outside quotes and escapes.
    CString strFormat(pszFormat), strSection;
    bool bQuoted = false;
    for (int i = 0; i < strFormat.GetLength(); ++i) {
        TCHAR ch = strFormat[i];
        if (ch == L'"')
            bQuoted = !bQuoted;
        else if (!bQuoted && ch == L'\\' && i + 1 < strFormat.GetLength()) {
            strSection += ch;
            ch = strFormat[++i];
        } else if (!bQuoted && ch == L';') {
            m_sections.push_back(ParseSection(strSection));
            strSection.Empty();
            continue;
        }
        strSection += ch;
    }
    m_sections.push_back(ParseSection(strSection));
}

CGridNumberFormat::CSection CGridNumberFormat::ParseSection(const CString& strSection)
{
    CSection sec;
    CString strPending;   // literals seen since the last placeholder
    bool bSeenNumber = false;
    auto placeholder = [&]() {
        if (!bSeenNumber)
            sec.m_strPrefix = strPending;
        strPending.Empty();
        bSeenNumber = true;
    };
    int n = strSection.GetLength();
    for (int i = 0; i < n; ++i) {
        TCHAR ch = strSection[i];
        if (ch == L'"') {
            for (++i; i < n && strSection[i] != L'"'; ++i)
                strPending += strSection[i];
        } else if (ch == L'\\' || ch == L'_') {
            // An escaped character, or '_x': room as wide as x, shown as a blank.
            if (++i < n)
                strPending += ch == L'\\' ? strSection[i] : L' ';
        } else if (ch == L'*') {
            ++i;   // fill character: the grid does not repeat it
        } else if (ch == L'[') {
            while (i < n && strSection[i] != L']')
                ++i;   // colour or condition: not used by this grid
        } else if (strSection.Mid(i, 7).CompareNoCase(L"General") == 0) {
            placeholder();
            sec.m_bGeneral = true;
            i += 6;
        } else if (ch == L'@') {
            placeholder();
            sec.m_bText = true;
        } else if (ch == L'0' || ch == L'#' || ch == L'?') {
            placeholder();
            sec.m_bDigits = true;
            if (sec.m_bPoint) {
                ++sec.m_nMaxDec;
                if (ch != L'#')
                    sec.m_nMinDec = sec.m_nMaxDec;
            } else if (ch != L'#')
                ++sec.m_nMinInt;
        } else if (ch == L',' && bSeenNumber && !sec.m_bPoint) {
            sec.m_bGrouping = true;
        } else if (ch == L'.' && !sec.m_bPoint && (bSeenNumber || (i + 1 < n && strSection[i + 1] == L'0'))) {
            placeholder();
            sec.m_bPoint = true;
        } else {
            if (ch == L'%')
                sec.m_bPercent = true;
            strPending += ch;
        }
    }
    sec.m_strSuffix = strPending;
    return sec;
}

CString CGridNumberFormat::Format(double d, const CGridSeparators& seps) const
{
    if (!std::isfinite(d))
        return L"#NUM!";
    // Sections that format numbers: all but a text section.
    std::vector<const CSection*> numeric;
    for (const CSection& sec : m_sections)
        if (!sec.m_bText)
            numeric.push_back(&sec);
    if (numeric.empty())
        return GridFormatGeneral(d, seps);
    if (numeric.size() == 1)
        return FormatInSection(*numeric[0], d, true, seps);
    // A negative number that shows as zero is shown as zero, not as "-0,00".
    const CSection& neg = *numeric[1];
    if (d < 0 && neg.m_bDigits && !neg.m_bGeneral &&
        GridRound(-d * (neg.m_bPercent ? 100 : 1), neg.m_nMaxDec) == 0)
        d = 0;
    if (d < 0)
        return FormatInSection(neg, -d, false, seps);
    if (d == 0 && numeric.size() >= 3)
        return FormatInSection(*numeric[2], d, false, seps);
    return FormatInSection(*numeric[0], d, false, seps);
}

CString CGridNumberFormat::FormatInSection(const CSection& sec, double d, bool bSigned, const CGridSeparators& seps)
{
    double a = std::fabs(d) * (sec.m_bPercent ? 100 : 1);
    CString strNumber;
    if (sec.m_bGeneral)
        strNumber = GridFormatGeneral(a, seps);
    else if (sec.m_bDigits) {
        std::string s = FixedDigits(a, sec.m_nMaxDec);
        size_t nPoint = s.find('.');
        std::string intPart = s.substr(0, nPoint);
        std::string decPart = nPoint == std::string::npos ? "" : s.substr(nPoint + 1);
        while (static_cast<int>(decPart.size()) > sec.m_nMinDec && decPart.back() == '0')
            decPart.pop_back();
        if (intPart == "0" && sec.m_nMinInt == 0)
            intPart.clear();
        while (static_cast<int>(intPart.size()) < sec.m_nMinInt)
            intPart.insert(intPart.begin(), '0');
        for (int i = 0; i < static_cast<int>(intPart.size()); ++i) {
            int nLeft = static_cast<int>(intPart.size()) - i;
            if (sec.m_bGrouping && i > 0 && nLeft % 3 == 0)
                strNumber += seps.m_chThousands;
            strNumber += static_cast<TCHAR>(intPart[static_cast<size_t>(i)]);
        }
        if (sec.m_bPoint)
            strNumber += seps.m_chDecimal;
        for (char ch : decPart)
            strNumber += static_cast<TCHAR>(ch);
    }
    // A lone section shows the minus itself, but not on a number that shows as zero.
    bool bMinus = bSigned && d < 0 && strNumber.FindOneOf(L"123456789") >= 0;
    return (bMinus ? CString(L"-") : CString()) + sec.m_strPrefix + strNumber + sec.m_strSuffix;
}

CString CGridNumberFormat::FormatText(const CString& strText) const
{
    for (const CSection& sec : m_sections)
        if (sec.m_bText)
            return sec.m_strPrefix + strText + sec.m_strSuffix;
    return strText;
}
