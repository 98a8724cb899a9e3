#include "platform/ado/JetValue.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>

namespace
{
bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

_variant_t IntegerVariant(int64_t value)
{
    if (value >= LONG_MIN && value <= LONG_MAX)
        return _variant_t(static_cast<long>(value));
    VARIANT result;
    ::VariantInit(&result);
    result.vt = VT_I8;
    result.llVal = value;
    return _variant_t(result, false);
}

_variant_t CurrencyVariant(int64_t count)
{
    CY currency;
    currency.int64 = count;
    return _variant_t(currency);
}

// A text of at most nine digits, the usual key text of the input forms: read without the locale's number
// parsing, which gives the same number much more slowly.
bool ReadDigits(const VARIANT& source, int64_t& number)
{
    UINT length = source.vt == VT_BSTR ? ::SysStringLen(source.bstrVal) : 0;
    if (length == 0 || length > 9)
        return false;
    number = 0;
    for (UINT i = 0; i < length; ++i) {
        wchar_t c = source.bstrVal[i];
        if (c < L'0' || c > L'9')
            return false;
        number = number * 10 + (c - L'0');
    }
    return true;
}

HRESULT Convert(const VARIANT& variant, VARTYPE type, _variant_t& result)
{
    return ::VariantChangeType(&result, const_cast<VARIANT*>(&variant), 0, type);
}

// Numbers stored as texts (numerics) are written with a point, whatever the user's locale.
HRESULT ConvertInvariant(const VARIANT& variant, VARTYPE type, _variant_t& result)
{
    return ::VariantChangeTypeEx(&result, const_cast<VARIANT*>(&variant), LOCALE_INVARIANT, 0, type);
}

// The VARIANT type of a genuine Jet file's kind of column, or VT_EMPTY for the kinds our own tables have.
VARTYPE FileKindType(EJetKind kind)
{
    switch (kind) {
    case jetKindByte:
        return VT_UI1;
    case jetKindShort:
        return VT_I2;
    case jetKindBoolean:
        return VT_BOOL;
    case jetKindDate:
        return VT_DATE;
    case jetKindNumeric:
        return VT_DECIMAL;
    case jetKindSingle:
        return VT_R4;
    default:
        return VT_EMPTY;
    }
}

_variant_t FileKindVariant(const CJetValue& value, VARTYPE type)
{
    _variant_t stored = value.m_type == CJetValue::typeText   ? _variant_t(value.m_text.c_str())
                        : value.m_type == CJetValue::typeReal ? _variant_t(value.m_real)
                                                              : IntegerVariant(value.m_integer);
    _variant_t result;
    return SUCCEEDED(ConvertInvariant(stored, type, result)) ? result : stored;
}
} // namespace

void CJetValueStore::Clear(size_t width)
{
    m_blocks.clear();
    m_width = width;
    m_blockRows = 0;
    m_free = 0;
}

CJetValue* CJetValueStore::NewRow()
{
    if (m_free == 0) {
        m_blockRows = m_blockRows == 0 ? 1 : std::min(m_blockRows * 2, kMaxBlockRows);
        m_blocks.push_back(std::make_unique<CJetValue[]>(m_blockRows * m_width));
        m_free = m_blockRows;
    }
    return m_blocks.back().get() + (m_blockRows - m_free--) * m_width;
}

CJetValue CJetValue::Integer(int64_t value)
{
    CJetValue result;
    result.m_type = typeInteger;
    result.m_integer = value;
    return result;
}

EJetKind JetKindOfType(const wchar_t* declaredType)
{
    if (!declaredType || !*declaredType)
        return jetKindAny;
    std::wstring type = JetUpper(declaredType);
    static const struct {
        const wchar_t* m_name;
        EJetKind m_kind;
    } fileKinds[] = {{JET_TYPE_BYTE, jetKindByte},       {JET_TYPE_SHORT, jetKindShort},
                     {JET_TYPE_BOOLEAN, jetKindBoolean}, {JET_TYPE_DATE, jetKindDate},
                     {JET_TYPE_NUMERIC, jetKindNumeric}, {JET_TYPE_MEMO, jetKindMemo},
                     {JET_TYPE_GUID, jetKindGuid},       {JET_TYPE_SINGLE, jetKindSingle}};
    std::wstring name = type.substr(0, type.find(L'('));
    for (const auto& fileKind : fileKinds)
        if (name == fileKind.m_name)
            return fileKind.m_kind;
    if (Contains(type, L"CURRENCY") || Contains(type, L"MONEY"))
        return jetKindCurrency;
    if (Contains(type, L"CHAR") || Contains(type, L"TEXT") || Contains(type, L"MEMO") || Contains(type, L"CLOB"))
        return jetKindText;
    if (Contains(type, L"INT") || Contains(type, L"COUNTER") || Contains(type, L"LONG"))
        return jetKindInteger;
    if (Contains(type, L"DOUB") || Contains(type, L"FLOA") || Contains(type, L"REAL") || Contains(type, L"SINGLE"))
        return jetKindDouble;
    return jetKindAny;
}

long JetDefinedSize(EJetKind kind, const wchar_t* declaredType)
{
    switch (kind) {
    case jetKindByte:
        return 1;
    case jetKindShort:
    case jetKindBoolean:
        return 2;
    case jetKindInteger:
    case jetKindSingle:
        return 4;
    case jetKindCurrency:
    case jetKindDouble:
    case jetKindDate:
        return 8;
    case jetKindNumeric:
        return 19;
    case jetKindGuid:
        return 16;
    case jetKindMemo:
        return 536870910;
    case jetKindText: {
        // A memo has no width of its own: ADO reports the largest.
        std::wstring type = JetUpper(declaredType);
        if (Contains(type, L"MEMO") || Contains(type, L"LONGTEXT") || Contains(type, L"CLOB"))
            return 536870910;
        const wchar_t* open = std::wcschr(declaredType, L'(');
        return open ? std::wcstol(open + 1, nullptr, 10) : 255;
    }
    default:
        return 0;
    }
}

_variant_t JetToVariant(const CJetValue& value, EJetKind kind)
{
    if (VARTYPE type = FileKindType(kind); type != VT_EMPTY && !value.IsNull())
        return FileKindVariant(value, type);
    switch (value.m_type) {
    case CJetValue::typeNull: {
        _variant_t result;
        result.vt = VT_NULL;
        return result;
    }
    case CJetValue::typeInteger:
        if (kind == jetKindCurrency)
            return CurrencyVariant(value.m_integer);
        if (kind == jetKindDouble)
            return _variant_t(static_cast<double>(value.m_integer));
        return IntegerVariant(value.m_integer);
    case CJetValue::typeReal:
        if (kind == jetKindCurrency)
            return CurrencyVariant(static_cast<int64_t>(std::nearbyint(value.m_real)));
        return _variant_t(value.m_real);
    case CJetValue::typeText:
        break;
    }
    return _variant_t(value.m_text.c_str());
}

HRESULT JetFromVariant(const VARIANT& variant, EJetKind kind, CJetValue& value)
{
    const VARIANT& source = variant.vt == (VT_BYREF | VT_VARIANT) ? *variant.pvarVal : variant;
    value = CJetValue();
    if (source.vt == VT_EMPTY || source.vt == VT_NULL)
        return S_OK;
    // The usual cases without a trip through VariantChangeType (seeks and updates of many rows).
    if (kind == jetKindInteger && source.vt == VT_I4) {
        value = CJetValue::Integer(source.lVal);
        return S_OK;
    }
    int64_t digits = 0;
    if (kind == jetKindInteger && ReadDigits(source, digits)) {
        value = CJetValue::Integer(digits);
        return S_OK;
    }
    if (kind == jetKindCurrency && (source.vt == VT_CY || source.vt == VT_R8)) {
        CY currency = source.cyVal;
        HRESULT hr = source.vt == VT_CY ? S_OK : CurrencyFromDoubleExact(source.dblVal, &currency);
        if (SUCCEEDED(hr))
            value = CJetValue::Integer(currency.int64);
        return hr;
    }
    _variant_t converted;
    HRESULT hr = S_OK;
    switch (kind) {
    case jetKindInteger:
    case jetKindByte:
    case jetKindShort:
        hr = Convert(source, VT_I4, converted);
        if (SUCCEEDED(hr))
            value = CJetValue::Integer(converted.lVal);
        return hr;
    case jetKindCurrency:
        hr = Convert(source, VT_CY, converted);
        if (SUCCEEDED(hr))
            value = CJetValue::Integer(converted.cyVal.int64);
        return hr;
    case jetKindDouble:
    case jetKindDate:
        // A date is its double; as a date a text reads as the user writes dates.
        hr = Convert(source, kind == jetKindDate ? VT_DATE : VT_R8, converted);
        if (SUCCEEDED(hr)) {
            value.m_type = CJetValue::typeReal;
            value.m_real = kind == jetKindDate ? converted.date : converted.dblVal;
        }
        return hr;
    case jetKindSingle:
        hr = Convert(source, VT_R4, converted);
        if (SUCCEEDED(hr)) {
            value.m_type = CJetValue::typeReal;
            value.m_real = converted.fltVal;
        }
        return hr;
    case jetKindBoolean:
        hr = Convert(source, VT_BOOL, converted);
        if (SUCCEEDED(hr))
            value = CJetValue::Integer(converted.boolVal ? -1 : 0);
        return hr;
    case jetKindNumeric:
        hr = Convert(source, VT_DECIMAL, converted);
        if (SUCCEEDED(hr))
            hr = ConvertInvariant(_variant_t(converted), VT_BSTR, converted);
        if (SUCCEEDED(hr)) {
            value.m_type = CJetValue::typeText;
            value.m_text = JetText(converted.bstrVal);
        }
        return hr;
    case jetKindText:
    case jetKindMemo:
    case jetKindGuid:
        break;
    case jetKindAny:
        switch (source.vt) {
        case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT: case VT_UI1: case VT_UI2: case VT_UI4:
        case VT_UINT: case VT_BOOL:
            hr = Convert(source, VT_I8, converted);
            if (SUCCEEDED(hr))
                value = CJetValue::Integer(converted.llVal);
            return hr;
        case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: case VT_DATE:
            hr = Convert(source, VT_R8, converted);
            if (SUCCEEDED(hr)) {
                value.m_type = CJetValue::typeReal;
                value.m_real = converted.dblVal;
            }
            return hr;
        default:
            break;
        }
        break;
    }
    hr = Convert(source, VT_BSTR, converted);
    if (SUCCEEDED(hr)) {
        value.m_type = CJetValue::typeText;
        value.m_text = JetText(converted.bstrVal);
    }
    return hr;
}

DataTypeEnum JetDataType(EJetKind kind, const CJetValue* sample)
{
    switch (kind) {
    case jetKindInteger:
        return adInteger;
    case jetKindCurrency:
        return adCurrency;
    case jetKindDouble:
        return adDouble;
    case jetKindText:
        return adVarWChar;
    case jetKindByte:
        return adUnsignedTinyInt;
    case jetKindShort:
        return adSmallInt;
    case jetKindBoolean:
        return adBoolean;
    case jetKindDate:
        return adDate;
    case jetKindNumeric:
        return adNumeric;
    case jetKindMemo:
        return adLongVarWChar;
    case jetKindGuid:
        return adGUID;
    case jetKindSingle:
        return adSingle;
    case jetKindAny:
        break;
    }
    if (!sample)
        return adEmpty;
    switch (sample->m_type) {
    case CJetValue::typeInteger:
        return sample->m_integer >= LONG_MIN && sample->m_integer <= LONG_MAX ? adInteger : adBigInt;
    case CJetValue::typeReal:
        return adDouble;
    case CJetValue::typeText:
        return adVarWChar;
    case CJetValue::typeNull:
        break;
    }
    return adEmpty;
}
