#include "SetDati.h"

#include <cwchar>

CSetDati::CSetDati(LPCTSTR pszTable, CADOConnection& connection)
    : CADORecordset(connection), m_strTable(pszTable)
{
}

CString CSetDati::GetKeyName(int nKey) const
{
    static const LPCTSTR keys[] = {L"ID", L"idResp"};
    return nKey >= 0 && nKey < 2 ? CString(keys[nKey]) : CString();
}

void CSetDati::OpenOrdered(LPCTSTR pszColumn)
{
    CString sql;
    sql.Format(L"SELECT * FROM %s ORDER BY %s", static_cast<LPCTSTR>(m_strTable), pszColumn);
    Open(sql, adOpenStatic, adLockReadOnly, adCmdText);
}

namespace {

// A key text of one to nine digits without a leading zero reads as the same value whatever the key column's
// type, as a number or as a text.
bool IsPlainNumber(LPCTSTR pszKey, long& nNumber)
{
    size_t nLength = pszKey ? wcslen(pszKey) : 0;
    if (nLength == 0 || nLength > 9 || (pszKey[0] == L'0' && nLength > 1))
        return false;
    nNumber = 0;
    for (size_t i = 0; i < nLength; ++i) {
        if (pszKey[i] < L'0' || pszKey[i] > L'9')
            return false;
        nNumber = nNumber * 10 + (pszKey[i] - L'0');
    }
    return true;
}

} // namespace

bool CSetDati::FindByTextKey(LPCTSTR pszKey, BOOL bQuiet)
{
    // A seek converts the key to the column's type itself: a plain number then spares the text's BSTR. A
    // query keeps the text, as its parameter is typed by the value.
    long nNumber = 0;
    _variant_t key = GetConnection().IsSeekAllowed() && IsPlainNumber(pszKey, nNumber) ? _variant_t(nNumber)
                                                                                        : _variant_t(pszKey);
    return FindByKey(1, &key, bQuiet);
}

void CSetDati::AddNewWithKey(LPCTSTR pszKey)
{
    GetRecordset()->AddNew();
    PutFieldValue(L"ID", _variant_t(pszKey));
}

bool CSetDati::FindByIdAndResp(long nID, long nIdResp, BOOL bQuiet)
{
    _variant_t keys[2] = {_variant_t(nID), _variant_t(nIdResp)};
    return FindByKey(2, keys, bQuiet);
}

void CSetDati::AddNewWithIdAndResp(long nID, long nIdResp)
{
    GetRecordset()->AddNew();
    PutFieldValue(L"ID", _variant_t(static_cast<double>(nID)));
    PutFieldValue(L"idResp", _variant_t(static_cast<double>(nIdResp)));
}

void CSetDati::UpdateRow()
{
    GetRecordset()->Update();
}

double CSetDati::GetFieldCurrency(LPCTSTR pszColumn) const
{
    COleCurrency amount = GetFieldAmount(pszColumn);
    return amount.GetStatus() == COleCurrency::valid ? CADOCurrency::CurrencyToDouble(amount) : 0.0;
}

COleCurrency CSetDati::GetFieldAmount(LPCTSTR pszColumn) const
{
    return COleCurrency(GetFieldValue(pszColumn));
}

CString CSetDati::GetFieldString(LPCTSTR pszColumn) const
{
    _variant_t value = GetFieldValue(pszColumn);
    return value.vt == VT_BSTR ? CString(value.bstrVal) : CString();
}

void CSetDati::SetFieldDouble(LPCTSTR pszColumn, double value)
{
    PutFieldValue(pszColumn, _variant_t(value));
}

void CSetDati::SetFieldCurrency(LPCTSTR pszColumn, const COleCurrency& value)
{
    _variant_t stored;
    if (value.GetStatus() == COleCurrency::valid)
        stored = _variant_t(static_cast<CURRENCY>(value));
    else
        stored.vt = VT_NULL;
    PutFieldValue(pszColumn, stored);
}

void CSetDati::SetFieldString(LPCTSTR pszColumn, LPCTSTR pszText)
{
    _variant_t stored;
    if (pszText && *pszText)
        stored = _variant_t(pszText);
    else
        stored.vt = VT_NULL;
    PutFieldValue(pszColumn, stored);
}

// The value is put in quotes: its own quotes are doubled so that a name such as "Dell'Area" stays one literal.
void CSetDati::DeleteWhere(LPCTSTR pszColumn, LPCTSTR pszValue)
{
    CString value(pszValue ? pszValue : L"");
    value.Replace(L"'", L"''");
    CString sql;
    sql.Format(L"DELETE FROM %s WHERE %s='%s'", static_cast<LPCTSTR>(m_strTable), pszColumn,
               static_cast<LPCTSTR>(value));
    ExecuteStatement(sql);
}

void CSetDati::DeleteAll()
{
    CString sql;
    sql.Format(L"DELETE FROM %s", static_cast<LPCTSTR>(m_strTable));
    ExecuteStatement(sql);
}

void CSetDati::ClearColumn(LPCTSTR pszColumn)
{
    CString sql;
    sql.Format(L"UPDATE %s SET %s = NULL", static_cast<LPCTSTR>(m_strTable), pszColumn);
    ExecuteStatement(sql);
}

// The recomputation reads and writes many fields by name: through the column's Field, found once per open. A name
// the record set lacks goes to the Recordset as it is, which reports it.
_variant_t CSetDati::GetFieldValue(LPCTSTR pszColumn) const
{
    if (Field* pField = ColumnField(pszColumn))
        return pField->GetValue();
    return GetRecordset()->GetCollect(_variant_t(pszColumn));
}

void CSetDati::PutFieldValue(LPCTSTR pszColumn, const _variant_t& value)
{
    if (Field* pField = ColumnField(pszColumn))
        pField->PutValue(value);
    else
        GetRecordset()->PutCollect(_variant_t(pszColumn), value);
}

void CSetDati::ExecuteStatement(const CString& sql)
{
    GetConnection().Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
}
