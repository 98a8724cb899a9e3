// Generic record set over any budget or balance table of the data archive, read and written by column name.
// Rows are keyed by "ID" (and "idResp" in SaldoFinCalc); amounts are currency, read as doubles.
#pragma once

#include "data/ADORecordset.h"
#include "platform/mfc/afxdisp.h"

class CSetDati : public CADORecordset
{
public:
    CSetDati(LPCTSTR pszTable, CADOConnection& connection);

    CString GetTableName() const override { return m_strTable; }
    // Zero: the callers pass the number of key columns to FindByKey themselves.
    int GetKeyCount() const override { return 0; }
    CString GetKeyName(int nKey) const override;

    void OpenOrdered(LPCTSTR pszColumn);
    // The key text is converted by the database to the type of the key column.
    bool FindByTextKey(LPCTSTR pszKey, BOOL bQuiet);
    void AddNewWithKey(LPCTSTR pszKey);
    bool FindByIdAndResp(long nID, long nIdResp, BOOL bQuiet);
    void AddNewWithIdAndResp(long nID, long nIdResp);
    void UpdateRow();

    // The stored amount as the nearest double; null and values that are no amount give 0.
    double GetFieldCurrency(LPCTSTR pszColumn) const;
    // The stored amount exactly, keeping its null state: null gives a null currency, a value that is no amount an
    // invalid one.
    COleCurrency GetFieldAmount(LPCTSTR pszColumn) const;
    // The open record set has the column (compared ignoring case).
    bool HasColumn(LPCTSTR pszColumn) const { return ColumnField(pszColumn) != nullptr; }
    // Text columns only: null and every other type give an empty text.
    CString GetFieldString(LPCTSTR pszColumn) const;
    // The database rounds the double to its currency column (1/10000).
    void SetFieldDouble(LPCTSTR pszColumn, double value);
    // A currency that is not valid (null or invalid) stores NULL.
    void SetFieldCurrency(LPCTSTR pszColumn, const COleCurrency& value);
    // A null or empty text stores NULL.
    void SetFieldString(LPCTSTR pszColumn, LPCTSTR pszText);

    void DeleteWhere(LPCTSTR pszColumn, LPCTSTR pszValue);
    void DeleteAll();
    void ClearColumn(LPCTSTR pszColumn);

private:
    _variant_t GetFieldValue(LPCTSTR pszColumn) const;
    void PutFieldValue(LPCTSTR pszColumn, const _variant_t& value);
    void ExecuteStatement(const CString& sql);

    CString m_strTable;
};
