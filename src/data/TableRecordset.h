// A record set over one table with a one-column key, holding its bound record.
#pragma once

#include "data/ADORecordset.h"

template <class TRecord>
class CTableRecordset : public CADORecordset
{
public:
    CString GetTableName() const override { return m_strTable; }
    int GetKeyCount() const override { return 1; }
    CString GetKeyName(int /*nKey*/) const override { return m_strKey; }
    CADORecord* GetRecord() override { return &m_rec; }

    TRecord m_rec;

protected:
    CTableRecordset(CADOConnection& connection, LPCTSTR pszTable, LPCTSTR pszKey)
        : CADORecordset(connection), m_strTable(pszTable), m_strKey(pszKey)
    {
    }

private:
    CString m_strTable;
    CString m_strKey;
};
