#include "ADOField.h"

#include <type_traits>

_variant_t CADOField::GetVariant() const
{
    if (m_nStatus != adFldOK)
        return _variant_t(DISP_E_PARAMNOTFOUND, VT_ERROR);
    return ValueVariant();
}

void CADOField::SetStatus(ULONG nStatus)
{
    m_nStatus = nStatus;
    if (nStatus == adFldNull)
        ClearValue();
}

bool CADOField::ConvertVariant(const VARIANT& value, VARTYPE vt, _variant_t& converted)
{
    if (value.vt == VT_NULL || value.vt == VT_EMPTY || value.vt == VT_ERROR)
        return true;
    converted = value;
    converted.ChangeType(vt);
    return false;
}

template <class T>
void CADOType<T>::SetVariant(const VARIANT& value)
{
    _variant_t converted;
    if (ConvertVariant(value, std::is_same<T, double>::value ? VT_R8 : VT_I4, converted))
        SetNull();
    else
        SetValue(static_cast<T>(converted));
}

template class CADOType<long>;
template class CADOType<double>;

double CADOCurrency::GetDouble() const
{
    return m_nStatus == adFldOK ? CurrencyToDouble(m_value) : 0.0;
}

void CADOCurrency::SetDouble(double value)
{
    CURRENCY cy;
    HRESULT hr = CurrencyFromDoubleExact(value, &cy);
    if (FAILED(hr))
        _com_issue_error(hr);
    SetValue(cy);
}

void CADOCurrency::SetVariant(const VARIANT& value)
{
    _variant_t converted;
    if (ConvertVariant(value, VT_CY, converted))
        SetNull();
    else
        SetValue(converted.cyVal);
}

CString CADOBaseString::GetSQLText() const
{
    CString text = GetText();
    text.Replace(L"'", L"''");
    return text;
}

bool CADOBaseString::IsEqual(LPCTSTR pszText) const
{
    return GetText().Compare(pszText ? pszText : L"") == 0;
}

bool CADOBaseString::IsEqual(const CADOBaseString& other) const
{
    return m_nStatus == other.m_nStatus && GetLength() == other.GetLength() && IsEqual(other.GetText());
}

void CADOBaseString::SetVariant(const VARIANT& value)
{
    _variant_t converted;
    if (ConvertVariant(value, VT_BSTR, converted))
        SetNull();
    else
        SetText(converted.bstrVal);
}

_variant_t CADOBaseString::ValueVariant() const
{
    return _variant_t(static_cast<LPCWSTR>(GetText()));
}
