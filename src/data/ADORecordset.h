// Base of every record set: one ADO Recordset on a connection, tied to the derived set's bound record, with
// lookup by primary key. Record sets live on the stack for one operation; the destructor releases everything.
#pragma once

#include "data/ADOConnection.h"
#include "data/ADORecord.h"

#include <vector>

class CADORecordset
{
public:
    explicit CADORecordset(CADOConnection& connection);
    virtual ~CADORecordset();
    CADORecordset(const CADORecordset&) = delete;
    CADORecordset& operator=(const CADORecordset&) = delete;

    // What the derived set reads: its table, its key columns and its bound record.
    virtual CString GetTableName() const { return CString(); }
    virtual int GetKeyCount() const { return 0; }
    virtual CString GetKeyName(int nKey) const;
    // Position, in the bound record's binding table, of the entry that binds key column nKey.
    virtual int GetKeyType(int nKey) const;
    virtual CADORecord* GetRecord() { return nullptr; }
    // Called before a row is written (AddNew, Update), with the bound record holding what will be written.
    virtual void OnBeforeUpdate() {}

    // An empty source opens the table itself (table direct, needed for index seek).
    void Open(LPCTSTR pszSource, CursorTypeEnum nCursorType, LockTypeEnum nLockType, long nOptions);
    // Opens a read-only query with a "?" for each of the values through a command, so that the connection
    // prepares the text once for all the values it is opened with.
    void OpenWithParameters(LPCTSTR pszSql, int nCount, const VARIANT* pValues);
    // Positions on the row whose key columns equal the values; unless quiet, a missing row is reported to the
    // user (message 10000). An empty index name seeks on "PK_" + the table name.
    bool FindByKey(int nKeyCount, const VARIANT* pKeyValues, BOOL bQuiet, LPCTSTR pszIndex = nullptr);
    // Inserts a row with the bound record's non-null fields; the others take the table's defaults. The record is
    // left as written, the fields not written null, except a one-column key: it holds the new row's key, the
    // number the database gave it (a loop of inserts nulls it before the next one).
    void AddNew();
    // Writes the bound record into the current row.
    void Update();
    // An empty set to insert into: the rows whose first key column is null.
    void OpenNullKey();
    // Rows of the whole table, whatever the set holds.
    long GetCount();
    // Rows the open set holds.
    long GetRecordCount() const;

    // SQL Server record sets that write make the rows they insert visible ("Change Inserted Rows") and drop the
    // rows they delete ("Remove Deleted Rows"): rowDefault takes the connection's default, rowOn or rowOff this
    // record set's own; they apply from the next open.
    enum RowSetting { rowDefault = -1, rowOff = 0, rowOn = 1 };
    void SetChangeInsertedRows(RowSetting nSetting) { m_nChangeInsertedRows = nSetting; }
    void SetRemoveDeletedRows(RowSetting nSetting) { m_nRemoveDeletedRows = nSetting; }
    static bool IsRowPropertyOn(RowSetting nSetting, bool bConnectionDefault)
    {
        return nSetting == rowOn || (nSetting == rowDefault && bConnectionDefault);
    }

    // The text of a key value in the not-found message.
    static CString FormatKeyValue(const VARIANT& value);

    bool IsOpen() const;
    bool IsEOF() const;
    void MoveNext();
    void Delete();
    void Close();
    FieldsPtr GetFields() const;
    CADOConnection& GetConnection() const { return *m_pConnection; }

protected:
    const _RecordsetPtr& GetRecordset() const { return m_pRecordset; }
    // The Field of a column of the open Recordset (compared ignoring case), looked up by name once per open, so
    // that field access by name in a loop neither searches the names nor carries the column through a VARIANT;
    // null when there is no such column. It stays valid until the Recordset opens or closes again.
    Field* ColumnField(LPCTSTR pszColumn) const;

private:
    void BindRecord();
    void SeekKey(int nKeyCount, const VARIANT* pKeyValues, LPCTSTR pszIndex);
    void QueryKey(int nKeyCount, const VARIANT* pKeyValues);
    void PrepareLookupCommand(int nKeyCount, const VARIANT* pKeyValues);
    struct CParameterType
    {
        DataTypeEnum nType;
        long nSize;
    };
    _CommandPtr OpenCommand(LPCTSTR pszSql, int nCount, const VARIANT* pValues, const CParameterType* pTypes,
                            LockTypeEnum nLockType);
    void SetRowProperties(LockTypeEnum nLockType);
    CString FormatKeyText(int nKeyCount, const VARIANT* pKeyValues) const;

    _RecordsetPtr m_pRecordset;
    CADOConnection* m_pConnection;
    IADORecordBindingPtr m_pBinding;
    CADORecord* m_pRecord;
    _CommandPtr m_pLookupCommand;
    CString m_strPrimaryIndex;   // "PK_" + the table name in upper case, made on the first seek
    CString m_strCurrentIndex;   // the index set on the open Recordset
    struct CKnownColumn
    {
        CString strName;
        FieldPtr pField;   // null: no such column
    };
    mutable std::vector<CKnownColumn> m_knownColumns;   // of the open Recordset
    _variant_t m_seekKeys;   // the array of the last seek on several keys
    RowSetting m_nChangeInsertedRows = rowDefault;
    RowSetting m_nRemoveDeletedRows = rowDefault;
};
