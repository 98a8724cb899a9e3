#include "SetNameValue.h"

#include <cwchar>

ADO_BINDING_ENTRY* CRecNameValue::GetADOBindingEntries()
{
    static ADO_BINDING_ENTRY entries[] = {
        Bind(1, m_name, TRUE),
        Bind(2, m_value, TRUE),
        EndOfBindings(),
    };
    return entries;
}

bool CSetNameValue::FindName(LPCTSTR pszName, LockTypeEnum nLockType)
{
    Open(nullptr, adOpenStatic, nLockType, adCmdTableDirect);
    _variant_t key(pszName);
    return FindByKey(1, &key, TRUE);
}

CString CSetNameValue::ReadValue(LPCTSTR pszName)
{
    return FindName(pszName, adLockReadOnly) ? NameValueRecord().m_value.GetText() : CString();
}

void CSetNameValue::WriteValue(LPCTSTR pszName, LPCTSTR pszValue)
{
    bool bFound = FindName(pszName, adLockOptimistic);
    CRecNameValue& record = NameValueRecord();
    record.m_name.SetText(pszName);
    record.m_value.SetText(pszValue);
    if (bFound)
        Update();
    else
        AddNew();
}

int CSetNameValue::ReadNumber(LPCTSTR pszName)
{
    return static_cast<int>(std::wcstol(ReadValue(pszName), nullptr, 10));
}

void CSetNameValue::WriteNumber(LPCTSTR pszName, int nValue)
{
    CString text;
    text.Format(L"%d", nValue);
    WriteValue(pszName, text);
}
