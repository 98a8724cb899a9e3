#include "platform/grid/GridBook.h"
#include "platform/grid/GridNumberFormat.h"

#include <gtest/gtest.h>

namespace
{
const CGridSeparators kItalian{L',', L'.'};

struct FormatCase
{
    LPCTSTR pszFormat;
    double dValue;
    LPCTSTR pszExpected;
};

const FormatCase s_formatCases[] = {
    {L"#,##0", 1234.5, L"1.235"},
    {L"#,##0", -1234.5, L"-1.235"},
    {L"#,##0", 1234567, L"1.234.567"},
    {L"#,##0", 0, L"0"},
    {L"#,##0", 0.4, L"0"},
    {L"#,##0", -0.4, L"0"},
    {L"#,##0", 999.5, L"1.000"},
    {L"#,##0.00", 1234.56, L"1.234,56"},
    {L"#,##0.00", -1234.567, L"-1.234,57"},
    {L"#,##0.00", 0, L"0,00"},
    {L"#,##0.00", 2.675, L"2,68"},                // as it reads, not as it is stored in binary
    {L"#,##0.00", 1234.565, L"1.234,57"},
    {L"#,##0.00", 0.05, L"0,05"},
    {L"#,##0.00", 123456789012.5, L"123.456.789.012,50"},
    {L"#,##0.000", 1234.5, L"1.234,500"},
    {L"#,##0.000", -0.0005, L"-0,001"},
    {L"+#,##0.00;-#,##0.00;#,##0.00", 1234.5, L"+1.234,50"},
    {L"+#,##0.00;-#,##0.00;#,##0.00", -1234.5, L"-1.234,50"},
    {L"+#,##0.00;-#,##0.00;#,##0.00", 0, L"0,00"},
    {L"+#,##0.00;-#,##0.00;#,##0.00", -0.001, L"0,00"},
    {L"+#,##0.00;-#,##0.00;#,##0.00", 0.001, L"+0,00"},
    {L"0", 1234.5, L"1235"},
    {L"0", -1234.5, L"-1235"},
    {L"0", 0.5, L"1"},
    {L"0.00", 1234.5, L"1234,50"},
    {L"0.00", -0.005, L"-0,01"},
    {L"0.00", -0.004, L"0,00"},
    {L"@", 1234.5, L"1234,5"},
    {L"General", 1234.5, L"1234,5"},
    {L"General", 0.1 + 0.2, L"0,3"},
    {L"General", -7, L"-7"},
    {L"General", 123456789012.0, L"1,23457E+11"},
    {L"General", 0.0000001, L"1E-07"},
    {L"0%", 0.256, L"26%"},
    {L"\"EUR \"#,##0.00", 5, L"EUR 5,00"},
    {L"#,##0.00;(#,##0.00)", -5, L"(5,00)"},
};

struct ParseCase
{
    LPCTSTR pszText;
    bool bNumber;
    double dValue;
};

const ParseCase s_parseCases[] = {
    {L"1.234,56", true, 1234.56},   {L"1234,56", true, 1234.56},     {L"-1.234", true, -1234},
    {L" 12 ", true, 12},            {L"+5", true, 5},                {L",5", true, 0.5},
    {L"1.234.567,5", true, 1234567.5}, {L"1e3", true, 1000},         {L"1,5E-2", true, 0.015},
    {L"1.23", false, 0},            {L"12.3456", false, 0},          {L"1234.567", false, 0},
    {L"12a", false, 0},             {L"", false, 0},                 {L"-", false, 0},
    {L"1,2,3", false, 0},           {L"1..234", false, 0},           {L".234", false, 0},
    {L"1e", false, 0},              {L"1 234", false, 0},
};
} // namespace

TEST(GridNumberFormat, FormatsWithItalianSeparators)
{
    for (const FormatCase& c : s_formatCases)
        EXPECT_EQ(CString(c.pszExpected), CGridNumberFormat(c.pszFormat).Format(c.dValue, kItalian))
            << CString(c.pszFormat).ToMultiByte(CP_UTF8) << " " << c.dValue;
}

TEST(GridNumberFormat, TextsKeepTheirTextOrFillTheTextSection)
{
    EXPECT_EQ(CString(L"abc"), CGridNumberFormat(L"#,##0.00").FormatText(L"abc"));
    EXPECT_EQ(CString(L"abc"), CGridNumberFormat(L"@").FormatText(L"abc"));
    EXPECT_EQ(CString(L"<abc>"), CGridNumberFormat(L"0;-0;0;\"<\"@\">\"").FormatText(L"abc"));
}

TEST(GridNumberFormat, ReadsNumbersTypedTheItalianWay)
{
    for (const ParseCase& c : s_parseCases) {
        double d = -999;
        EXPECT_EQ(c.bNumber, GridParseNumber(c.pszText, kItalian, d)) << CString(c.pszText).ToMultiByte(CP_UTF8);
        if (c.bNumber) {
            EXPECT_DOUBLE_EQ(c.dValue, d) << CString(c.pszText).ToMultiByte(CP_UTF8);
        }
    }
}

TEST(GridNumberFormat, RoundsHalvesAwayFromZeroAsTheNumberReads)
{
    const struct
    {
        double d;
        int nDecimals;
        double dExpected;
    } cases[] = {
        {2.675, 2, 2.68}, {-2.675, 2, -2.68}, {1.005, 2, 1.01},  {99.995, 2, 100}, {1234.5, 0, 1235},
        {1250, -2, 1300}, {0.4, 0, 0},        {-0.5, 0, -1},     {123.456, 5, 123.456},
        {1e300, 2, 1e300}, {5, -3, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dExpected, GridRound(c.d, c.nDecimals)) << c.d << " " << c.nDecimals;
}

// The book shows numbers with the user's separators: the tests run with the Italian locale.
TEST(GridNumberFormat, BookUsesTheUserLocaleSeparators)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    CGridCellFormat format;
    format.m_strNumberFormat = L"#,##0.00";
    sheet.SetCellFormat(CGridRange(1, 1, 1, 1), format);
    sheet.SetNumber(1, 1, 1234.56);
    EXPECT_EQ(CString(L"1.234,56"), sheet.GetText(1, 1));
    sheet.SetNumber(1, 2, 0.5);
    EXPECT_EQ(CString(L"0,5"), sheet.GetText(1, 2));
}
