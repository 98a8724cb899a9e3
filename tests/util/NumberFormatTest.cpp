// Numbers and amounts in the Italian locale (checked by the test main): the fixed amount format of the
// input forms, exact parsing to the 1/10000 count, and the locale-driven formatters.
#include "util/NumberFormat.h"

#include "support/CurrencyValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>

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

TEST(ParseCurrency, ExactDecimalText)
{
    const struct
    {
        LPCTSTR text;
        LONGLONG count;
    } cases[] = {
        {L"1.234,50", 12345000},
        {L"0,57", 5700},
        {L"0,285", 2850},
        {L"  -1.234,5  ", -12345000},
        {L"+3", 30000},
        {L",5", 5000},
        {L"7,", 70000},
        {L"0,00005", 1},                                // half rounds away from zero
        {L"-0,00005", -1},
        {L"0,0000499999", 0},
        {L"0,00009", 1},
        {L"1.2.3", 1230000},                            // thousands separators are only taken away
        {L"922.337.203.685.477,5807", INT64_MAX},
        {L"-922.337.203.685.477,5808", INT64_MIN},
        {L"000000000000000000000000012", 120000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.text).ToMultiByte());
        COleCurrency cur = ParseCurrency(c.text);
        EXPECT_EQ(Count(c.count), cur);
    }
    EXPECT_EQ(CString(L"0,29"), FormatCurrency(ParseCurrency(L"0,285")));
    EXPECT_EQ(CString(L"0,57"), FormatCurrency(ParseCurrency(L"0,57")));
}

TEST(ParseCurrency, RefusedTexts)
{
    for (LPCTSTR text : {L"12a", L"12 a", L"a12", L"1e5", L"1E5", L"inf", L"-inf", L"nan", L"0x10", L"-", L",",
                         L"1,2,3", L"- 5", L"\u20AC 5", L"922.337.203.685.477,5808",
                         L"922.337.203.685.477,58075", L"-922.337.203.685.477,58085", L"99999999999999999999"}) {
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
    BOOL bError = FALSE;
    EXPECT_EQ(0.0, ParseNumber(CString(L'9', 400), bError));      // beyond a double
    EXPECT_TRUE(bError);
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
