// COleCurrency: construction, overflow and status rules of the arithmetic, and the system's conversions
// in the Italian locale (checked by the test main).
#include "platform/mfc/afxdisp.h"

#include "support/CurrencyValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>

namespace
{
TEST(COleCurrency, Construction)
{
    EXPECT_EQ(0, COleCurrency().m_cur.int64);
    EXPECT_EQ(COleCurrency::valid, COleCurrency().GetStatus());
    EXPECT_EQ(123456, COleCurrency(12, 3456).m_cur.int64);
    EXPECT_EQ(-15000, COleCurrency(-1, -5000).m_cur.int64);
    COleCurrency big(2000000000L, 9999);
    EXPECT_EQ(20000000009999LL, big.m_cur.int64);
    CURRENCY cy = big;
    EXPECT_EQ(20000000009999LL, cy.int64);
}

TEST(COleCurrency, FromVariant)
{
    struct Case
    {
        VARTYPE vt;
        double number;
        LPCWSTR text;
        COleCurrency::CurrencyStatus status;
        LONGLONG count;
    };
    const Case cases[] = {
        {VT_R8, 0.285, nullptr, COleCurrency::valid, 2850},      // 2849.99... rounds, not truncates
        {VT_R8, 0.00009, nullptr, COleCurrency::valid, 1},
        {VT_R8, -1234.56789, nullptr, COleCurrency::valid, -12345679},
        {VT_R8, 1e15, nullptr, COleCurrency::invalid, 0},         // beyond the 64-bit count
        {VT_R8, NAN, nullptr, COleCurrency::invalid, 0},
        {VT_I4, 42, nullptr, COleCurrency::valid, 420000},
        {VT_BSTR, 0, L"1.234,56", COleCurrency::valid, 12345600},
        {VT_BSTR, 0, L"dieci", COleCurrency::invalid, 0},
        {VT_NULL, 0, nullptr, COleCurrency::null, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vt " << c.vt << " number " << c.number);
        VARIANT var;
        ::VariantInit(&var);
        var.vt = c.vt;
        if (c.vt == VT_R8)
            var.dblVal = c.number;
        else if (c.vt == VT_I4)
            var.lVal = static_cast<LONG>(c.number);
        else if (c.vt == VT_BSTR)
            var.bstrVal = ::SysAllocString(c.text);
        COleCurrency cur(Count(777));
        cur = var;
        EXPECT_EQ(c.status, cur.GetStatus());
        if (c.status == COleCurrency::valid) {
            EXPECT_EQ(c.count, cur.m_cur.int64);
        }
        ::VariantClear(&var);
    }

    VARIANT cy;
    ::VariantInit(&cy);
    cy.vt = VT_CY;
    cy.cyVal.int64 = -5;
    EXPECT_EQ(Count(-5), COleCurrency(cy));
}

TEST(COleCurrency, ArithmeticOverflowGivesInvalid)
{
    const COleCurrency max = Count(INT64_MAX);
    const COleCurrency min = Count(INT64_MIN);
    EXPECT_EQ(Count(30000), Count(10000) + Count(20000));
    EXPECT_EQ(Count(-10000), Count(10000) - Count(20000));
    EXPECT_EQ(Count(-37035), Count(12345) * -3);
    EXPECT_EQ(Count(-4115), Count(-12345) / 3);
    EXPECT_EQ(Count(-12345), -Count(12345));

    EXPECT_EQ(COleCurrency::invalid, (max + Count(1)).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (min - Count(1)).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (max * 2).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (Count(1) / 0).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (min / -1).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (-min).GetStatus());
    EXPECT_EQ(max, -(-max));

    COleCurrency sum = Count(1);
    sum += max;
    EXPECT_EQ(COleCurrency::invalid, sum.GetStatus());
    sum += Count(1);
    EXPECT_EQ(COleCurrency::invalid, sum.GetStatus());     // stays invalid
}

TEST(COleCurrency, StatusPropagation)
{
    const COleCurrency null = WithStatus(COleCurrency::null);
    const COleCurrency invalid = WithStatus(COleCurrency::invalid);
    EXPECT_EQ(COleCurrency::null, (null + Count(5)).GetStatus());
    EXPECT_EQ(COleCurrency::null, (Count(5) - null).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (null + invalid).GetStatus());
    EXPECT_EQ(COleCurrency::invalid, (invalid * 2).GetStatus());
    EXPECT_EQ(COleCurrency::null, (-null).GetStatus());
    EXPECT_EQ(null, WithStatus(COleCurrency::null));
    EXPECT_NE(null, invalid);
    EXPECT_NE(null, COleCurrency());
}

TEST(COleCurrency, Comparisons)
{
    EXPECT_LT(Count(-2), Count(1));
    EXPECT_GT(Count(10000), Count(9999));
    EXPECT_LE(Count(7), Count(7));
    EXPECT_GE(Count(7), Count(7));
    EXPECT_NE(Count(7), Count(8));
}

TEST(COleCurrency, FormatAndParseInTheUserLocale)
{
    EXPECT_EQ(CString(L"-1234,5678"), Count(-12345678).Format());
    EXPECT_EQ(CString(L"0,5"), Count(5000).Format());
    EXPECT_EQ(CString(), WithStatus(COleCurrency::null).Format());
    EXPECT_EQ(CString(), WithStatus(COleCurrency::invalid).Format());

    COleCurrency cur;
    ASSERT_TRUE(cur.ParseCurrency(L"1.234,56"));
    EXPECT_EQ(Count(12345600), cur);
    ASSERT_TRUE(cur.ParseCurrency(Count(-12345678).Format()));
    EXPECT_EQ(Count(-12345678), cur);
    for (LPCTSTR text : {L"dieci", L"", L"99999999999999999999"}) {
        EXPECT_FALSE(cur.ParseCurrency(text));
        EXPECT_EQ(COleCurrency::invalid, cur.GetStatus());
    }
}
} // namespace
