#include "platform/ado/JetFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>

namespace
{
const int64_t COUNTS_PER_UNIT = 10000;

void Refuse(sqlite3_context* context, HRESULT hr, const wchar_t* description)
{
    auto error = static_cast<CJetFunctionError*>(::sqlite3_user_data(context));
    error->m_hr = hr;
    error->m_description = description;
    ::sqlite3_result_error(context, JetUtf8(std::wstring(description)).c_str(), -1);
}

void RefuseOverflow(sqlite3_context* context)
{
    Refuse(context, E_FAIL, L"Overflow");
}

// A number as Jet reads it: numbers as they are, a text when it reads as a number; false for anything else.
bool Numeric(sqlite3_value* value)
{
    int type = ::sqlite3_value_numeric_type(value);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

bool AnyNull(int count, sqlite3_value** values)
{
    for (int i = 0; i < count; ++i)
        if (::sqlite3_value_type(values[i]) == SQLITE_NULL)
            return true;
    return false;
}

// A count from a real count: to the nearest whole count, ties to even; false when it does not fit.
bool RoundCount(double value, int64_t& count)
{
    double rounded = std::nearbyint(value);
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        return false;
    count = static_cast<int64_t>(rounded);
    return true;
}

// jet_cy(amount): the count of 1/10000 of a number, or of a text in the user's number format.
void CurrencyOfAmount(sqlite3_context* context, int, sqlite3_value** values)
{
    sqlite3_value* value = values[0];
    int64_t count = 0;
    switch (::sqlite3_value_type(value)) {
    case SQLITE_NULL:
        ::sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
        if (__builtin_mul_overflow(::sqlite3_value_int64(value), COUNTS_PER_UNIT, &count))
            return RefuseOverflow(context);
        break;
    case SQLITE_FLOAT: {
        CY currency;
        if (FAILED(CurrencyFromDoubleExact(::sqlite3_value_double(value), &currency)))
            return RefuseOverflow(context);
        count = currency.int64;
        break;
    }
    case SQLITE_TEXT: {
        std::wstring text(static_cast<const wchar_t*>(::sqlite3_value_text16(value)),
                          static_cast<size_t>(::sqlite3_value_bytes16(value)) / sizeof(wchar_t));
        CY currency;
        HRESULT hr = ::VarCyFromStr(const_cast<LPOLESTR>(text.c_str()), LOCALE_USER_DEFAULT, 0, &currency);
        if (hr == DISP_E_OVERFLOW)
            return RefuseOverflow(context);
        if (FAILED(hr))
            return Refuse(context, JET_E_TYPEMISMATCH, L"Data type mismatch in criteria expression.");
        count = currency.int64;
        break;
    }
    default:
        return Refuse(context, JET_E_TYPEMISMATCH, L"Data type mismatch in criteria expression.");
    }
    ::sqlite3_result_int64(context, count);
}

// jet_cyround(count): a computed count (an average, a sum grown past the integers) as a whole count in range.
void RoundedCurrency(sqlite3_context* context, int, sqlite3_value** values)
{
    sqlite3_value* value = values[0];
    int type = ::sqlite3_value_type(value);
    if (type == SQLITE_NULL)
        return ::sqlite3_result_null(context);
    if (type == SQLITE_INTEGER)
        return ::sqlite3_result_int64(context, ::sqlite3_value_int64(value));
    int64_t count = 0;
    if (!Numeric(value))
        return Refuse(context, JET_E_TYPEMISMATCH, L"Data type mismatch in criteria expression.");
    if (!RoundCount(::sqlite3_value_double(value), count))
        return RefuseOverflow(context);
    ::sqlite3_result_int64(context, count);
}

// jet_cymul(count, count): the product of two amounts, as a count rounded half to even.
void CurrencyProduct(sqlite3_context* context, int count, sqlite3_value** values)
{
    if (AnyNull(count, values))
        return ::sqlite3_result_null(context);
    if (!Numeric(values[0]) || !Numeric(values[1]))
        return Refuse(context, JET_E_TYPEMISMATCH, L"Data type mismatch in criteria expression.");
    int64_t result = 0;
    if (::sqlite3_value_type(values[0]) == SQLITE_INTEGER && ::sqlite3_value_type(values[1]) == SQLITE_INTEGER) {
        // a * b / 10000 without a wider integer: with b = bq * 10000 + br and a = aq * 10000 + ar it is
        // a * bq + aq * br + ar * br / 10000, the last term the only one with a fraction.
        int64_t a = ::sqlite3_value_int64(values[0]), b = ::sqlite3_value_int64(values[1]);
        int64_t bq = b / COUNTS_PER_UNIT, br = b % COUNTS_PER_UNIT;
        int64_t aq = a / COUNTS_PER_UNIT, ar = a % COUNTS_PER_UNIT;
        int64_t small = ar * br;
        int64_t whole = small / COUNTS_PER_UNIT, fraction = small % COUNTS_PER_UNIT;
        if (2 * fraction > COUNTS_PER_UNIT || (2 * fraction == COUNTS_PER_UNIT && (whole & 1)))
            ++whole;
        else if (-2 * fraction > COUNTS_PER_UNIT || (-2 * fraction == COUNTS_PER_UNIT && (whole & 1)))
            --whole;
        int64_t first = 0, second = 0;
        if (__builtin_mul_overflow(a, bq, &first) || __builtin_mul_overflow(aq, br, &second) ||
            __builtin_add_overflow(first, second, &result) || __builtin_add_overflow(result, whole, &result))
            return RefuseOverflow(context);
    } else if (!RoundCount(::sqlite3_value_double(values[0]) * ::sqlite3_value_double(values[1]) / COUNTS_PER_UNIT,
                           result)) {
        return RefuseOverflow(context);
    }
    ::sqlite3_result_int64(context, result);
}

// The divisor of a Jet division: a number, not zero.
bool CheckDivision(sqlite3_context* context, sqlite3_value** values)
{
    if (!Numeric(values[0]) || !Numeric(values[1])) {
        Refuse(context, JET_E_TYPEMISMATCH, L"Data type mismatch in criteria expression.");
        return false;
    }
    return true;
}

// jet_div(a, b): a / b as a real number.
void Division(sqlite3_context* context, int count, sqlite3_value** values)
{
    if (AnyNull(count, values))
        return ::sqlite3_result_null(context);
    if (!CheckDivision(context, values))
        return;
    double divisor = ::sqlite3_value_double(values[1]);
    if (divisor == 0)
        return Refuse(context, E_FAIL, L"Division by zero");
    ::sqlite3_result_double(context, ::sqlite3_value_double(values[0]) / divisor);
}

// jet_idiv(a, b): a \ b, both rounded to whole numbers (half to even) first, the quotient cut toward zero.
void IntegerDivision(sqlite3_context* context, int count, sqlite3_value** values)
{
    if (AnyNull(count, values))
        return ::sqlite3_result_null(context);
    if (!CheckDivision(context, values))
        return;
    int64_t operands[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (::sqlite3_value_type(values[i]) == SQLITE_INTEGER)
            operands[i] = ::sqlite3_value_int64(values[i]);
        else if (!RoundCount(::sqlite3_value_double(values[i]), operands[i]))
            return RefuseOverflow(context);
    }
    if (operands[1] == 0)
        return Refuse(context, E_FAIL, L"Division by zero");
    if (operands[1] == -1 && operands[0] == INT64_MIN)
        return RefuseOverflow(context);
    ::sqlite3_result_int64(context, operands[0] / operands[1]);
}

// jet_text(value, width): the value, refused when its text is longer than the column's width.
void TextOfWidth(sqlite3_context* context, int, sqlite3_value** values)
{
    sqlite3_value* value = values[0];
    if (::sqlite3_value_type(value) != SQLITE_NULL &&
        ::sqlite3_value_bytes16(value) / static_cast<int>(sizeof(wchar_t)) > ::sqlite3_value_int(values[1]))
        return Refuse(context, JET_E_FIELDTOOSMALL, JET_FIELD_TOO_SMALL);
    ::sqlite3_result_value(context, value);
}
} // namespace

int JetRegisterFunctions(sqlite3* db, CJetFunctionError* error)
{
    static const struct
    {
        const char* m_name;
        int m_arguments;
        void (*m_function)(sqlite3_context*, int, sqlite3_value**);
    } functions[] = {
        {"jet_cy", 1, CurrencyOfAmount},    {"jet_cyround", 1, RoundedCurrency}, {"jet_cymul", 2, CurrencyProduct},
        {"jet_div", 2, Division},           {"jet_idiv", 2, IntegerDivision},    {"jet_text", 2, TextOfWidth},
    };
    for (const auto& function : functions) {
        int rc = ::sqlite3_create_function_v2(db, function.m_name, function.m_arguments,
                                              SQLITE_UTF8 | SQLITE_DETERMINISTIC, error, function.m_function,
                                              nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}
