// The ADO Recordset of the stand-in: a static record set in memory over a table (table direct, with index seek
// on the live table) or over the rows of a query; single-table record sets write their changes through the rowid.
#pragma once

#include "platform/ado/JetConnection.h"

#include <memory>
#include <unordered_map>

class CJetCommand;

struct CJetDynamicProperty
{
    std::wstring m_name;
    _variant_t m_value;
};

class CJetRecordset : public CJetObject<_Recordset>
{
public:
    CJetRecordset();

    HRESULT Open(const _variant_t& source, const _variant_t& activeConnection, CursorTypeEnum cursorType,
                 LockTypeEnum lockType, long options) override;
    HRESULT Close() override;
    VARIANT_BOOL GetEOF() override;
    VARIANT_BOOL GetBOF() override;
    HRESULT MoveFirst() override;
    HRESULT MoveNext() override;
    FieldsPtr GetFields() override;
    _variant_t GetCollect(const _variant_t& index) override;
    void PutCollect(const _variant_t& index, const _variant_t& value) override;
    HRESULT AddNew() override;
    HRESULT Update() override;
    HRESULT Delete(AffectEnum affectRecords) override;
    HRESULT Requery(long options) override;
    _bstr_t GetIndex() override { return _bstr_t(m_index.c_str()); }
    void PutIndex(_bstr_t indexName) override;
    HRESULT Seek(const _variant_t& keyValues, SeekEnum seekOption) override;
    long GetState() override { return m_open ? adStateOpen : adStateClosed; }
    _variant_t GetSource() override { return _variant_t(m_source.c_str()); }
    LockTypeEnum GetLockType() override { return m_lockType; }
    void PutLockType(LockTypeEnum lockType) override;
    long GetRecordCount() override;
    PropertiesPtr GetProperties() override;

    // The rows of a statement that Connection::Execute ran, read-only.
    void OpenResult(CJetConnection* connection, const std::wstring& source, CSqliteStatement& statement,
                    const CJetStatement& translated);

    // For Fields and Field: columns by position from 0.
    long ColumnCount() const { return static_cast<long>(m_columns.size()); }
    long ColumnIndex(const _variant_t& index);
    FieldPtr FieldAt(long column);
    const CJetColumn& Column(long column) const { return m_columns[static_cast<size_t>(column)]; }
    DataTypeEnum ColumnType(long column) const;
    _variant_t GetValue(long column);
    void PutValue(long column, const _variant_t& value);
    std::vector<CJetDynamicProperty>& DynamicProperties() { return m_properties; }

    // For the record binding.
    void Bind(CADORecordBinding* record);
    CJetErrorLog* Log() const { return m_connection ? m_connection->Log() : nullptr; }

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override;

private:
    struct CRow
    {
        int64_t m_rowid = 0;
        bool m_loaded = false;
        bool m_deleted = false;
        CJetValue* m_values = nullptr; // in m_rowValues, once the row has been read
    };
    enum EEdit { editNone, editChange, editAdd };

    CSqliteDatabase& Database() const { return m_connection->Database(); }
    [[noreturn]] void Raise(HRESULT hr, const std::wstring& description) const;
    void CheckOpen() const;
    void CheckUpdatable() const;
    void Load();
    void LoadTable();
    void LoadQuery(CSqliteStatement& statement, const CJetStatement& translated, bool withRowid);
    void SetTable(const std::wstring& table);
    void Opened();
    void Reset();
    bool LoadRow(CRow& row);
    // Stores the row's values from the statement's columns from first on.
    void ReadRow(CRow& row, const CSqliteStatement& statement, int first);
    CRow& CurrentRow();
    bool HasCurrentRow() const;
    void Settle();
    void Moved();
    void Flush();
    void StartEdit(EEdit edit);
    void Insert();
    void Change();
    size_t PositionOf(int64_t rowid);
    size_t AppendRow(int64_t rowid);
    CSqliteText& SeekText(size_t keys);

    CAdoPtr<CJetConnection> m_connection;
    CAdoPtr<CJetCommand> m_command;
    bool m_open = false;
    LockTypeEnum m_lockType = adLockReadOnly;
    std::wstring m_source;
    bool m_tableDirect = false;
    // The table whose rows these are (empty: read-only rows of a query) and the texts that read one row.
    std::wstring m_table;
    std::string m_selectList;
    CSqliteText m_fetch;
    std::vector<CJetColumn> m_columns;
    std::vector<uint32_t> m_nameHashes; // of the columns' names, for ColumnIndex
    std::vector<CRow> m_rows;
    CJetValueStore m_rowValues;
    size_t m_liveRows = 0;
    size_t m_position = 0;
    bool m_rowidOrder = true;
    std::unordered_map<int64_t, size_t> m_positionOfRowid;
    EEdit m_edit = editNone;
    std::vector<CJetValue> m_pending;
    // The columns given a value since the edit started: a flag by column, and the same columns in column order,
    // so that an update visits only those.
    std::vector<char> m_changed;
    std::vector<size_t> m_changedColumns;
    std::vector<size_t> m_updateColumns; // of m_update's text
    CSqliteText m_update;
    std::wstring m_index;
    std::vector<long> m_indexColumns;
    std::vector<CSqliteText> m_seek;
    // The row read last and the connection's step count just after: see Change.
    int64_t m_readRowid = 0;
    uint64_t m_readStep = 0;
    CADORecordBinding* m_binding = nullptr;
    std::vector<CJetDynamicProperty> m_properties;
    // Made on first use and kept for the record set's life (a Field may outlive an open).
    std::unique_ptr<CJetUnknown<Fields>> m_fields;
    std::vector<std::unique_ptr<CJetUnknown<Field>>> m_fieldObjects;
};
