// Numbers and amounts in the Italian locale (checked by the test main): the fixed amount format of the
// input forms, exact parsing to the 1/10000 count, and the locale-driven formatters.
#include "util/NumberFormat.h"

#include "support/CurrencyValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>

namespace
{
TEST(GroupingFromLocaleText, LastDigitOtherThanZero)
{
    const struct
    {
        LPCTSTR text;
        UINT grouping;
    } cases[] = {{L"3;0", 3}, {L"3;2;0", 2}, {L"3", 3}, {L"3;2", 2}, {L"4;0", 4}, {L"0", 3}, {L"", 3}, {nullptr, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(c.grouping, GroupingFromLocaleText(c.text)) << (c.text ? CString(c.text).ToMultiByte() : "null");
}

TEST(CCurrencyFormat, ReadsTheLocale)
{
    const CURRENCYFMTW& it = GetLocaleCurrencyFormat().GetFormat();
    EXPECT_EQ(2u, it.NumDigits);
    EXPECT_EQ(3u, it.Grouping);
    EXPECT_STREQ(L",", it.lpDecimalSep);
    EXPECT_STREQ(L".", it.lpThousandSep);
    EXPECT_STREQ(L"\u20AC", it.lpCurrencySymbol);

    CCurrencyFormat us(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    EXPECT_STREQ(L".", us.GetFormat().lpDecimalSep);
    EXPECT_STREQ(L",", us.GetFormat().lpThousandSep);
    EXPECT_STREQ(L"$", us.GetFormat().lpCurrencySymbol);

    // Hindi groups amounts as 3;2;0.
    CCurrencyFormat hi(MAKELCID(MAKELANGID(LANG_HINDI, SUBLANG_DEFAULT), SORT_DEFAULT));
    EXPECT_EQ(2u, hi.GetFormat().Grouping);
}

TEST(CCurrencyFormat, LocaleFormatReadsBackItsOwnText)
{
    CCurrencyFormat& format = GetLocaleCurrencyFormat();
    for (LONGLONG count : {12345600LL, -500LL, 0LL, 9223372036854770000LL, -9223372036854770000LL}) {
        CString text = format.Format(Count(count));
        SCOPED_TRACE(text.ToMultiByte(CP_UTF8));
        EXPECT_NE(-1, text.Find(L"\u20AC"));
        EXPECT_EQ(Count(count), format.Parse(text));
    }
}

TEST(FormatCurrency, FixedAmountFormat)
{
    const struct
    {
        LONGLONG count;
        LPCTSTR text;
    } cases[] = {
        {12345678910LL, L"1.234.567,89"},
        {2850, L"0,29"},                  // half a cent rounds away from zero
        {-2850, L"-0,29"},
        {49, L"0,00"},
        {0, L"0,00"},
        {-12345000, L"-1.234,50"},
        {INT64_MAX, L"922.337.203.685.477,58"},
        {INT64_MIN, L"-922.337.203.685.477,58"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.text), FormatCurrency(Count(c.count))) << c.count;

    EXPECT_EQ(CString(), FormatCurrency(WithStatus(COleCurrency::null)));
    EXPECT_EQ(CString(), FormatCurrency(WithStatus(COleCurrency::invalid)));
}

TEST(FormatCurrency, FromDoubleRoundsToTheNearestTenThousandth)
{
    EXPECT_EQ(12345678910LL, CurrencyFromDouble(1234567.891).m_cur.int64);
    EXPECT_EQ(CString(L"1.234.567,89"), FormatCurrencyFromDouble(1234567.891));

    COleCurrency tiny = CurrencyFromDouble(0.00009);
    EXPECT_EQ(Count(1), tiny);
    EXPECT_EQ(CString(L"0,00"), FormatCurrencyFromDouble(0.00009));

    EXPECT_EQ(Count(5700), CurrencyFromDouble(0.57));      // 5699.99... in binary
    EXPECT_EQ(CString(L"0,29"), FormatCurrencyFromDouble(0.285));
    EXPECT_EQ(CString(L"-1.234,50"), FormatCurrencyFromDouble(-1234.5));

    for (double bad : {1e15, -1e15, static_cast<double>(NAN), static_cast<double>(INFINITY)}) {
        EXPECT_EQ(COleCurrency::invalid, CurrencyFromDouble(bad).GetStatus()) << bad;
        EXPECT_EQ(CString(), FormatCurrencyFromDouble(bad)) << bad;
    }
}

// Amounts times rates, computed in the build's own double arithmetic, then converted: the 32-bit and the 64-bit
// release must store the same count. The products sit at rounding boundaries, where a wider intermediate would
// round to the other neighbour (20.5 % of 76297300 is 15640946.5 in decimals, a little less as doubles).
TEST(FormatCurrency, ProductsAtRoundingBoundariesConvertAlikeInBothReleases)
{
    struct CASE
    {
        double amount, rate;
        LONGLONG count;
        LPCTSTR text;
    };
    const CASE cases[] = {
        {76297300, 0.205, 156409465000LL, L"15.640.946,50"},
        {-76297300, 0.205, -156409465000LL, L"-15.640.946,50"},
        {1234.5, 0.0725, 895012, L"89,50"},
        {0.1, 3, 3000, L"0,30"},
        {1.00005, 1, 10001, L"1,00"},
        {2.00015, 1, 20002, L"2,00"},
        {333333.33, 0.15, 499999995, L"50.000,00"},
        {12.34565, 1, 123456, L"12,35"},
        {-12.34565, 1, -123456, L"-12,35"},
        {100.00025, 1, 1000002, L"100,00"},
    };
    for (const CASE& c : cases) {
        volatile double amount = c.amount, rate = c.rate;    // computed at run time, not folded by the compiler
        double product = amount * rate;
        EXPECT_EQ(c.count, CurrencyFromDouble(product).m_cur.int64) << c.amount << " x " << c.rate;
        EXPECT_EQ(CString(c.text), FormatCurrencyFromDouble(product)) << c.amount << " x " << c.rate;
    }
}

// A typed amount is rounded once, from its own digits, to the cents the input forms show; the text shown is that
// amount. Rounding first to four decimals and then to two would move 0,0049999 to 0,0050 and that to 0,01.
TEST(ParseCurrency, TypedDigitsRoundOnceToTheShownCents)
{
    const struct
    {
        LPCTSTR text;
        LONGLONG count;
        LPCTSTR shown;
    } cases[] = {
        {L"1.234,50", 12345000, L"1.234,50"},
        {L"0,57", 5700, L"0,57"},
        {L"  -1.234,5  ", -12345000, L"-1.234,50"},
        {L"+3", 30000, L"3,00"},
        {L",5", 5000, L"0,50"},
        {L"7,", 70000, L"7,00"},
        {L"1.234.567,89", 12345678900, L"1.234.567,89"},      // "." groups thousands, three digits each
        {L"123.456", 1234560000, L"123.456,00"},
        {L" 12.345 ", 123450000, L"12.345,00"},
        {L"000000000000000000000000012", 120000, L"12,00"},
        {L"0,0049999", 0, L"0,00"},
        {L"-0,0049999", 0, L"0,00"},
        {L"0,2849999", 2800, L"0,28"},
        {L"1,23456", 12300, L"1,23"},
        {L"0,00499999999999999999999", 0, L"0,00"},
        {L"12.345.678,0049999", 123456780000, L"12.345.678,00"},
        {L"-12.345.678,0049999", -123456780000, L"-12.345.678,00"},
        {L"12.345.678,0150001", 123456780200, L"12.345.678,02"},
        {L",005", 100, L"0,01"},                              // a tie goes away from zero
        {L"-,005", -100, L"-0,01"},
        {L"0,285", 2900, L"0,29"},
        {L"12.345.678,005", 123456780100, L"12.345.678,01"},
        {L"-12.345.678,005", -123456780100, L"-12.345.678,01"},
        {L"999.999,995", 10000000000, L"1.000.000,00"},
        {L"922.337.203.685.477,5807", 9223372036854775800, L"922.337.203.685.477,58"},
        {L"-922.337.203.685.477,5849", -9223372036854775800, L"-922.337.203.685.477,58"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToMultiByte());
        COleCurrency cur = ParseCurrency(c.text);
        EXPECT_EQ(Count(c.count), cur);
        EXPECT_EQ(CString(c.shown), FormatCurrency(cur));
    }
}

// Each format keeps the decimals it shows, the locale's for the dialogs' amount fields.
TEST(CCurrencyFormat, ParseRoundsToTheDecimalsItShows)
{
    const struct
    {
        UINT nDigits;
        LONGLONG count;
    } cases[] = {{0, 12350000}, {1, 12345000}, {2, 12345000}, {3, 12345050}, {4, 12345050}, {6, 12345050}};
    for (const auto& c : cases) {
        CCurrencyFormat format;
        format.SetNumDigits(c.nDigits);
        EXPECT_EQ(Count(c.count), format.Parse(L"1.234,5049999")) << c.nDigits;
    }
    EXPECT_EQ(Count(0), GetLocaleCurrencyFormat().Parse(L"\u20AC 0,0049999"));
}

TEST(ParseCurrency, RefusedTexts)
{
    for (LPCTSTR text : {L"12a", L"12 a", L"a12", L"1e5", L"1E5", L"inf", L"-inf", L"nan", L"0x10", L"-", L",",
                         L"1,2,3", L"- 5", L"\u20AC 5", L"1234.56", L"12.34", L"1.2.3", L"1.234.56", L"1234.567",
                         L".123", L"1.", L"1..234", L"1.234,5.6", L"-1234.5", L"922.337.203.685.477,59",
                         L"922.337.203.685.477,585", L"-922.337.203.685.477,585", L"99999999999999999999"}) {
        EXPECT_EQ(COleCurrency::invalid, ParseCurrency(text).GetStatus()) << CString(text).ToMultiByte(CP_UTF8);
    }
    for (LPCTSTR text : {L"", L"   ", L"\t ", static_cast<LPCTSTR>(nullptr)})
        EXPECT_EQ(COleCurrency::null, ParseCurrency(text).GetStatus());
}

TEST(CCurrencyFormat, ParseTakesAwayTheLocaleSymbol)
{
    CCurrencyFormat& format = GetLocaleCurrencyFormat();
    EXPECT_EQ(Count(12345000), format.Parse(L"\u20AC 1.234,50"));
    EXPECT_EQ(Count(12345000), format.Parse(L"1.234,50 \u20AC"));
    EXPECT_EQ(COleCurrency::invalid, format.Parse(L"\u20AC 1.234,50 \u20AC").GetStatus());
}

TEST(FormatNumber, UserLocaleWithTheGivenDecimals)
{
    EXPECT_EQ(CString(L"1.234.567,89"), FormatNumber(1234567.891, 2));
    EXPECT_EQ(CString(L"1.234.567,9"), FormatNumber(1234567.891, 1));
    EXPECT_EQ(CString(L"1.234.568"), FormatNumber(1234567.891, 0));
    EXPECT_EQ(CString(L"-0,25"), FormatNumber(-0.25, 2));
    EXPECT_EQ(CString(), FormatNumber(NAN, 2));
}

// Each value is shown from its exact binary value, rounded once; magnitudes the program cannot show come out
// empty instead of ending the process or coming out garbled.
TEST(FormatNumber, RoundsOnceFromTheExactValue)
{
    const struct
    {
        double value;
        int decimals;
        LPCTSTR text;
    } cases[] = {
        {0.123456789, 9, L"0,123456789"},
        {228079987.64999962, 1, L"228.079.987,6"},
        {3716.099674759038, 5, L"3.716,09967"},
        {-0.0094445094332735336, 5, L"-0,00944"},
        {0.125, 2, L"0,13"},                       // an exact tie goes away from zero
        {-2.5, 0, L"-3"},
        {-0.000001, 2, L"0,00"},                   // no sign on a value shown as zero
        {999999999999999.9, 0, L"1.000.000.000.000.000"},
        {0.1, 15, L"0,100000000000000"},
        {4.9406564584124654e-324, 15, L"0,000000000000000"},
        {1e300, 2, L""},
        {-1e240, 0, L""},
        {1e15, 0, L""},
        {INFINITY, 2, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.text), FormatNumber(c.value, c.decimals)) << c.value << " with " << c.decimals;
}

TEST(ParseNumber, UserLocaleAndErrorFlag)
{
    const struct
    {
        LPCTSTR text;
        double value;
        BOOL error;
    } cases[] = {
        {L"1.234,5", 1234.5, FALSE},
        {L"  -0,25 ", -0.25, FALSE},
        {L"12", 12, FALSE},
        {L"12a", 12, TRUE},
        {L"1.234.567,89", 1234567.89, FALSE},
        {L"1234.5", 0, TRUE},                   // a point groups thousands only between groups of three digits
        {L"1.5", 0, TRUE},
        {L"12.3456", 0, TRUE},
        {L"1e5", 1, TRUE},
        {L"", 0, TRUE},
        {L"   ", 0, TRUE},
        {L"abc", 0, TRUE},
        {L"inf", 0, TRUE},
        {L"nan", 0, TRUE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToMultiByte());
        BOOL bError = !c.error;
        EXPECT_DOUBLE_EQ(c.value, ParseNumber(c.text, bError));
        EXPECT_EQ(c.error, bError);
    }
    // Beyond a double, and beyond what the program shows.
    for (const CString& text : {CString(L'9', 400), L"1" + CString(L'0', 300), CString(L"1.000.000.000.000.000"),
                                CString(L"-1000000000000000")}) {
        BOOL bError = FALSE;
        EXPECT_EQ(0.0, ParseNumber(text, bError)) << text.ToMultiByte();
        EXPECT_TRUE(bError);
    }
    BOOL bError = TRUE;
    EXPECT_EQ(-999999999999999.0, ParseNumber(L"-999.999.999.999.999", bError));
    EXPECT_FALSE(bError);
}

// Code elsewhere in the process may switch the C library's locale (its printf and wcstod then use ","): the
// number formatters must not depend on it.
TEST(FormatNumber, IndependentOfTheCLibrarysLocale)
{
    ASSERT_NE(nullptr, _wsetlocale(LC_NUMERIC, L"Italian_Italy.1252"));
    BOOL bError = TRUE;
    double value = ParseNumber(L"1.234,5", bError);
    CString text = FormatNumber(1234.5, 2);
    _wsetlocale(LC_NUMERIC, L"C");
    EXPECT_DOUBLE_EQ(1234.5, value);
    EXPECT_FALSE(bError);
    EXPECT_EQ(CString(L"1.234,50"), text);
}
} // namespace

namespace
{
// digits x factor + carry, on a decimal digit string.
std::string MultiplyDecimal(const std::string& digits, int factor, int carry = 0)
{
    std::string product(digits.size(), '0');
    for (size_t i = digits.size(); i-- > 0;) {
        int d = (digits[i] - '0') * factor + carry;
        product[i] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    return carry ? std::to_string(carry) + product : product;
}

// The exact decimal expansion of |value| (a 53-bit integer m times 2^e): for e < 0, m x 5^-e with the point -e
// digits from the right, computed on decimal digit strings; then rounded at the wanted decimal, a digit of 5 or
// more rounding up, and written the Italian way.
std::string ExactItalianText(double value, int decimals)
{
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    std::string digits = std::to_string(static_cast<std::uint64_t>(std::ldexp(fraction, 53)));
    int pointFromRight = 0;
    for (int e = exponent - 53; e > 0; --e)
        digits = MultiplyDecimal(digits, 2);
    for (int e = exponent - 53; e < 0; ++e, ++pointFromRight)
        digits = MultiplyDecimal(digits, 5);
    if (static_cast<int>(digits.size()) <= pointFromRight)
        digits.insert(0, pointFromRight + 1 - digits.size(), '0');
    std::string integer = digits.substr(0, digits.size() - pointFromRight);
    std::string fractionDigits = digits.substr(digits.size() - pointFromRight) + std::string(decimals + 1, '0');

    std::string kept = integer + fractionDigits.substr(0, decimals);
    if (fractionDigits[decimals] >= '5')
        kept = MultiplyDecimal(kept, 1, 1);
    const std::string shownInteger = kept.substr(0, kept.size() - decimals);
    std::string text = value < 0 && kept.find_first_not_of('0') != std::string::npos ? "-" : "";
    for (size_t i = 0; i < shownInteger.size(); ++i) {
        if (i > 0 && (shownInteger.size() - i) % 3 == 0)
            text += '.';
        text += shownInteger[i];
    }
    if (decimals > 0)
        text += "," + kept.substr(kept.size() - decimals);
    return text;
}
} // namespace

TEST(FormatNumber, AgreesWithTheExactDecimalExpansion)
{
    // Seeded: a failure is repeatable. Magnitudes from 10^-20 to just below 10^15, and values with few binary
    // digits (k / 2^j), which meet exact ties.
    std::mt19937_64 random(20260110);
    std::uniform_real_distribution<double> magnitude(-20.0, 15.0);
    for (int i = 0; i < 4000; ++i) {
        double value = (i % 4 == 3) ? std::ldexp(static_cast<double>(random() % 100000), -static_cast<int>(random() % 12))
                                    : std::pow(10.0, magnitude(random)) * (1.0 + static_cast<double>(random() % 1000) / 997.0);
        if (random() & 1)
            value = -value;
        if (std::fabs(value) >= 1e15)
            continue;
        for (int decimals = 0; decimals <= 15; ++decimals)
            ASSERT_EQ(ExactItalianText(value, decimals), FormatNumber(value, decimals).ToMultiByte())
                << std::hexfloat << value << " with " << decimals;
    }
}
