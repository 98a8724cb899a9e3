#include "SetSaldi.h"

#include "data/AdoErrorText.h"
#include "util/MessageText.h"
#include "util/NumberFormat.h"
#include "resource.h"

void CSetSaldi::OpenRows(Access nAccess)
{
    Open(nullptr, adOpenStatic, nAccess == forUpdate ? adLockOptimistic : adLockReadOnly, adCmdTableDirect);
}

bool CSetSaldi::FindRow(long nID)
{
    if (m_nIdResp == noResp) {
        _variant_t key(nID);
        return FindByKey(1, &key, TRUE);
    }
    return FindByIdAndResp(nID, m_nIdResp, TRUE);
}

void CSetSaldi::FindOrAddRow(long nID)
{
    if (FindRow(nID))
        return;
    if (m_nIdResp == noResp) {
        CString key;
        key.Format(L"%d", static_cast<int>(nID));
        AddNewWithKey(key);
    }
    else {
        AddNewWithIdAndResp(nID, m_nIdResp);
    }
}

long CSetSaldi::GetRowNumber() const
{
    return static_cast<long>(GetRecordset()->GetCollect(_variant_t(L"ID")));
}

void CSetSaldi::ReadDoubles(long nID, const LPCTSTR* pFields, double* pValues, int nCount)
{
    bool bFound = FindRow(nID);
    for (int i = 0; i < nCount; ++i)
        pValues[i] = bFound ? GetFieldCurrency(pFields[i]) : 0.0;
}

double CSetSaldi::ReadDouble(long nID, LPCTSTR pszField)
{
    double value;
    ReadDoubles(nID, &pszField, &value, 1);
    return value;
}

void CSetSaldi::WriteDoubles(long nID, const LPCTSTR* pFields, const double* pValues, int nCount)
{
    FindOrAddRow(nID);
    for (int i = 0; i < nCount; ++i)
        PutAmount(nID, pFields[i], CurrencyFromDouble(pValues[i]));
    UpdateRow();
}

void CSetSaldi::PutAmount(long nID, LPCTSTR pszField, const COleCurrency& amount)
{
    if (amount.GetStatus() == COleCurrency::invalid) {
        CString row;
        row.Format(L"%ld", nID);
        ThrowComError(DISP_E_OVERFLOW, FormatResMessage(IDP_AMOUNT_OUT_OF_RANGE, pszField, row, GetTableName()));
    }
    SetFieldCurrency(pszField, amount);
}

void CSetSaldi::WriteDouble(long nID, LPCTSTR pszField, double value)
{
    WriteDoubles(nID, &pszField, &value, 1);
}
