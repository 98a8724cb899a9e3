#include "data/ADOField.h"

#include <gtest/gtest.h>

namespace {

bool IsMissing(const _variant_t& value)
{
    return value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND;
}

TEST(ADOStringTest, CutsLongTextToTheWidth)
{
    struct Case { int width; const wchar_t* text; const wchar_t* kept; };
    const Case cases[] = {
        {20, L"123456789012345678901234567890", L"12345678901234567890"},
        {7, L"4061234", L"4061234"},
        {1, L"hx", L"h"},
    };
    for (const Case& c : cases) {
        CADOString<20> s20;
        CADOString<7> s7;
        CADOString<1> s1;
        CADOBaseString& field = c.width == 20 ? static_cast<CADOBaseString&>(s20)
                              : c.width == 7  ? static_cast<CADOBaseString&>(s7)
                                              : static_cast<CADOBaseString&>(s1);
        field.SetText(c.text);
        EXPECT_EQ(CString(c.kept), field.GetText()) << c.width;
        EXPECT_EQ(static_cast<int>(wcslen(c.kept)), field.GetLength()) << c.width;
        EXPECT_EQ(c.width, field.GetMaxLength());
        EXPECT_EQ(adFldOK, field.GetStatus());
    }
}

TEST(ADOStringTest, EmptyTextMakesTheFieldNull)
{
    CADOString<50> field;
    field.SetText(L"Ragioneria");
    field.SetText(L"");
    EXPECT_EQ(adFldNull, field.GetStatus());
    EXPECT_TRUE(field.GetText().IsEmpty());
    EXPECT_TRUE(field.IsEmpty());
    EXPECT_TRUE(IsMissing(field.GetVariant()));

    field.SetText(L"Ragioneria");
    field.SetText(nullptr);
    EXPECT_TRUE(field.IsNull());
}

TEST(ADOStringTest, SqlTextDoublesQuotesWithoutSurroundingThem)
{
    CADOString<100> field;
    field.SetText(L"Dell'Area 'Tecnica'");
    EXPECT_EQ(CString(L"Dell''Area ''Tecnica''"), field.GetSQLText());
}

TEST(ADOStringTest, ComparisonIsCaseSensitiveAndSeesNull)
{
    CADOString<7> a, b;
    a.SetText(L"ABC");
    EXPECT_FALSE(a.IsEqual(L"abc"));
    EXPECT_TRUE(a.IsEqual(L"ABC"));
    EXPECT_TRUE(a.IsNotEqual(b));
    b.SetText(L"ABC");
    EXPECT_TRUE(a.IsEqual(b));
    CADOString<7> nullField;
    EXPECT_TRUE(nullField.IsEqual(L""));
}

TEST(ADOStringTest, CopyKeepsStatusAndText)
{
    CADOString<250> source;
    source.SetText(L"Servizi Sociali");
    CADOString<250> copy(source);
    EXPECT_TRUE(copy.IsEqual(source));
    CADOString<250> assigned;
    assigned.SetText(L"altro");
    assigned = CADOString<250>();
    EXPECT_TRUE(assigned.IsNull());
    EXPECT_EQ(0, assigned.GetLength());
}

TEST(ADOStringTest, VariantRoundTrip)
{
    CADOString<128> field;
    field.SetVariant(_variant_t(L"Città"));
    _variant_t value = field.GetVariant();
    ASSERT_EQ(VT_BSTR, value.vt);
    EXPECT_STREQ(L"Città", value.bstrVal);
    field.SetVariant(_variant_t(L""));
    EXPECT_TRUE(field.IsNull());
    _variant_t null;
    null.vt = VT_NULL;
    field.SetText(L"x");
    field.SetVariant(null);
    EXPECT_TRUE(field.IsNull());
}

TEST(ADOTypeTest, NullClearsTheValueAndGivesTheMissingVariant)
{
    CADOType<long> number;
    EXPECT_TRUE(IsMissing(number.GetVariant()));
    number.SetValue(2104);
    _variant_t value = number.GetVariant();
    EXPECT_EQ(VT_I4, value.vt);
    EXPECT_EQ(2104, value.lVal);
    number.SetStatus(adFldNull);
    EXPECT_EQ(0, number.GetValue());
    EXPECT_TRUE(IsMissing(number.GetVariant()));

    CADOType<double> real;
    real.SetVariant(_variant_t(L"12,5"));   // the Italian locale converts the text
    EXPECT_EQ(VT_R8, real.GetVariant().vt);
    EXPECT_DOUBLE_EQ(12.5, real.GetValue());
}

TEST(ADOCurrencyTest, StoresUnitsOfTenThousandths)
{
    CADOCurrency amount;
    amount.SetDouble(12.5);
    _variant_t value = amount.GetVariant();
    ASSERT_EQ(VT_CY, value.vt);
    EXPECT_EQ(125000, value.cyVal.int64);
}

TEST(ADOCurrencyTest, ReadsBackTheDecimalThatWasStored)
{
    const double values[] = {0.57, 1234.5678, -0.01, 0.1, 999999.99, -2147483.6475};
    for (double v : values) {
        CADOCurrency amount;
        amount.SetDouble(v);
        EXPECT_EQ(v, amount.GetDouble()) << v;
    }
    CADOCurrency nullAmount;
    EXPECT_EQ(0.0, nullAmount.GetDouble());
}

} // namespace
