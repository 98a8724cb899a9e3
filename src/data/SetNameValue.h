// The name/value tables (Config of the program database, Settings of the data archive): one row per key,
// numbers stored as text. Each accessor opens its own record set for the call.
#pragma once

#include "data/ADORecordset.h"

class CRecNameValue : public CADORecord
{
public:
    ADO_BINDING_ENTRY* GetADOBindingEntries() override;

    CADOString<50> m_name;
    CADOString<255> m_value;
};

class CSetNameValue : public CADORecordset
{
public:
    int GetKeyCount() const override { return 1; }
    CString GetKeyName(int /*nKey*/) const override { return L"name"; }

protected:
    using CADORecordset::CADORecordset;

    // The value of the key's row; empty when the row is missing.
    CString ReadValue(LPCTSTR pszName);
    // Writing a missing key adds its row; an empty value is stored as null.
    void WriteValue(LPCTSTR pszName, LPCTSTR pszValue);
    // atoi of the value: 0 when the row is missing or empty.
    int ReadNumber(LPCTSTR pszName);
    void WriteNumber(LPCTSTR pszName, int nValue);

private:
    bool FindName(LPCTSTR pszName, LockTypeEnum nLockType);
    CRecNameValue& NameValueRecord() { return static_cast<CRecNameValue&>(*GetRecord()); }
};
