// Field value objects of the bound records: one column's value with its status word, laid out so that
// record binding can point straight at the status, the value and (for texts) the length.
#pragma once

#include "platform/ado/adobinding.h"
#include "platform/mfc/afxstr.h"

class CADORecord;

class CADOField
{
public:
    virtual void SetNull() { SetStatus(adFldNull); }
    // The value, or the "missing" VARIANT (VT_ERROR, DISP_E_PARAMNOTFOUND) when the field is null.
    virtual _variant_t GetVariant() const;
    // Status 3 clears the value, so that a null field never shows a stale one.
    virtual void SetStatus(ULONG nStatus);
    // Null, empty and error VARIANTs make the field null; others are converted to the field's type.
    virtual void SetVariant(const VARIANT& value) = 0;

    ULONG GetStatus() const { return m_nStatus; }
    // No value: null, or a value that record binding could not deliver.
    bool IsNull() const { return m_nStatus != adFldOK; }

protected:
    friend class CADORecord;   // builds the binding entries that point into the field

    CADOField() = default;
    CADOField(const CADOField&) = default;
    CADOField& operator=(const CADOField&) = default;
    ~CADOField() = default;

    virtual void ClearValue() = 0;
    virtual _variant_t ValueVariant() const = 0;
    // True when the VARIANT carries no value (null, empty, error); else converts it into `converted`.
    static bool ConvertVariant(const VARIANT& value, VARTYPE vt, _variant_t& converted);

    ULONG m_nStatus = adFldNull;   // adFldOK or adFldNull, as record binding writes it
};

// A 32-bit integer (VT_I4) or a double (VT_R8).
template <class T>
class CADOType : public CADOField
{
public:
    CADOType() : m_value() {}

    // 0 when null, whatever record binding left in the value slot.
    T GetValue() const { return m_nStatus == adFldOK ? m_value : T(); }
    void SetValue(T value) { m_value = value; m_nStatus = adFldOK; }
    void SetVariant(const VARIANT& value) override;

protected:
    friend class CADORecord;

    void ClearValue() override { m_value = T(); }
    _variant_t ValueVariant() const override { return _variant_t(m_value); }

    T m_value;
};

// Fixed point with four decimals (VT_CY): the stored integer counts units of 1/10000.
class CADOCurrency : public CADOField
{
public:
    CADOCurrency() { m_value.int64 = 0; }

    CURRENCY GetValue() const
    {
        CURRENCY zero = {};
        return m_nStatus == adFldOK ? m_value : zero;
    }
    void SetValue(CURRENCY value) { m_value = value; m_nStatus = adFldOK; }
    // The stored decimal value as the nearest double (0.57 stays 0.57); 0 when null.
    double GetDouble() const;
    // Rounds to the nearest 1/10000 as the VARIANT conversion does.
    void SetDouble(double value);
    void SetVariant(const VARIANT& value) override;

    // Divides rather than multiplies by 0.0001, which would turn 0.57 into 0.5700000000000001.
    static double CurrencyToDouble(CURRENCY value) { return static_cast<double>(value.int64) / 10000.0; }

protected:
    friend class CADORecord;

    void ClearValue() override { m_value.int64 = 0; }
    _variant_t ValueVariant() const override { return _variant_t(m_value); }

    CURRENCY m_value;
};

// Text of at most a fixed number of characters; an empty text makes the field null.
class CADOBaseString : public CADOField
{
public:
    virtual void SetText(LPCTSTR pszText) = 0;
    virtual CString GetText() const = 0;
    virtual int GetLength() const = 0;
    virtual int GetMaxLength() const = 0;
    // The text with every quote doubled, ready to stand between quotes in a statement.
    virtual CString GetSQLText() const;
    virtual bool IsEmpty() const { return GetLength() == 0; }
    // Case-sensitive, unlike the comparison of item data.
    virtual bool IsEqual(LPCTSTR pszText) const;
    virtual bool IsEqual(const CADOBaseString& other) const;
    virtual bool IsNotEqual(LPCTSTR pszText) const { return !IsEqual(pszText); }
    virtual bool IsNotEqual(const CADOBaseString& other) const { return !IsEqual(other); }

    void SetVariant(const VARIANT& value) override;

protected:
    CADOBaseString() = default;
    CADOBaseString(const CADOBaseString&) = default;
    CADOBaseString& operator=(const CADOBaseString&) = default;
    ~CADOBaseString() = default;

    _variant_t ValueVariant() const override;
};

// The buffer holds N characters and the terminator; longer texts are cut to N without notice.
template <int N>
class CADOString : public CADOBaseString
{
public:
    enum { MaxLength = N };

    CADOString() { ClearValue(); }
    CADOString(const CADOString& other) : CADOBaseString(other) { CopyFrom(other); }
    CADOString& operator=(const CADOString& other)
    {
        CADOBaseString::operator=(other);
        CopyFrom(other);
        return *this;
    }

    void SetText(LPCTSTR pszText) override
    {
        size_t length = pszText ? wcslen(pszText) : 0;
        if (length == 0) {
            SetNull();
            return;
        }
        StoreText(pszText, length);
        m_nStatus = adFldOK;
    }
    CString GetText() const override { return m_nStatus == adFldOK ? CString(m_szValue) : CString(); }
    int GetLength() const override { return m_nStatus == adFldOK ? static_cast<int>(m_nLength) : 0; }
    int GetMaxLength() const override { return N; }

protected:
    void ClearValue() override
    {
        m_szValue[0] = L'\0';
        m_nLength = 0;
    }

private:
    friend class CADORecord;

    void StoreText(LPCTSTR pszText, size_t length)
    {
        if (length > static_cast<size_t>(N))
            length = N;
        wmemcpy(m_szValue, pszText, length);
        m_szValue[length] = L'\0';
        m_nLength = static_cast<ULONG>(length);
    }
    void CopyFrom(const CADOString& other) { StoreText(other.m_szValue, wcslen(other.m_szValue)); }

    // Record binding points at these two: keep them in this order after the status.
    WCHAR m_szValue[N + 1];
    ULONG m_nLength;
};
