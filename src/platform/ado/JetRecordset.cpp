#include "platform/ado/JetRecordset.h"

#include "platform/ado/JetBinding.h"
#include "platform/ado/JetCommand.h"
#include "platform/ado/JetFields.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace
{
// The values of a one-dimensional SAFEARRAY of VARIANTs, read where they are while it lives.
class CArrayValues
{
public:
    explicit CArrayValues(SAFEARRAY* array)
    {
        LONG lower = 0, upper = -1;
        if (array && ::SafeArrayGetDim(array) == 1 && SUCCEEDED(::SafeArrayGetLBound(array, 1, &lower)) &&
            SUCCEEDED(::SafeArrayGetUBound(array, 1, &upper)) && upper >= lower) {
            void* data = nullptr;
            if (SUCCEEDED(::SafeArrayAccessData(array, &data))) {
                m_array = array;
                m_values = static_cast<const VARIANT*>(data);
                m_count = static_cast<size_t>(upper - lower) + 1;
            }
        }
    }
    CArrayValues(const CArrayValues&) = delete;
    CArrayValues& operator=(const CArrayValues&) = delete;
    ~CArrayValues()
    {
        if (m_array)
            ::SafeArrayUnaccessData(m_array);
    }

    size_t Count() const { return m_count; }
    const VARIANT& operator[](size_t i) const { return m_values[i]; }

private:
    SAFEARRAY* m_array = nullptr;
    const VARIANT* m_values = nullptr;
    size_t m_count = 0;
};

// FNV-1a of a name as written.
uint32_t NameHash(const wchar_t* name, size_t length)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i)
        hash = (hash ^ static_cast<uint32_t>(name[i])) * 16777619u;
    return hash;
}

// The same number, integer or real, bit for bit. Texts and nulls are never taken for the same: a text may not
// read back as it is stored, and a value that reads as null may be one the record set cannot show.
bool SameNumber(const CJetValue& a, const CJetValue& b)
{
    if (a.m_type != b.m_type)
        return false;
    if (a.m_type == CJetValue::typeInteger)
        return a.m_integer == b.m_integer;
    return a.m_type == CJetValue::typeReal && std::memcmp(&a.m_real, &b.m_real, sizeof(double)) == 0;
}
} // namespace

CJetRecordset::CJetRecordset()
{
    _variant_t off(false);
    m_properties.push_back(CJetDynamicProperty{L"Change Inserted Rows", off});
    m_properties.push_back(CJetDynamicProperty{L"Remove Deleted Rows", off});
}

void CJetRecordset::Raise(HRESULT hr, const std::wstring& description) const
{
    JetRaise(Log(), hr, description);
}

void CJetRecordset::CheckOpen() const
{
    if (!m_open)
        Raise(JET_E_OBJECTCLOSED, L"Operation is not allowed when the object is closed.");
}

void CJetRecordset::CheckUpdatable() const
{
    CheckOpen();
    if (m_lockType == adLockReadOnly || m_table.empty())
        Raise(JET_E_FEATURENOTAVAILABLE, L"Current Recordset does not support updating. This may be a limitation "
                                         L"of the provider, or of the selected locktype.");
}

HRESULT CJetRecordset::Open(const _variant_t& source, const _variant_t& activeConnection, CursorTypeEnum,
                            LockTypeEnum lockType, long options)
{
    if (m_open)
        Raise(JET_E_OBJECTOPEN, L"Operation is not allowed when the object is open.");
    CAdoPtr<CJetCommand> command = JetCommandOf(source);
    CAdoPtr<CJetConnection> connection = command ? CAdoPtr<CJetConnection>(command->Connection())
                                                 : JetConnectionOf(activeConnection);
    _variant_t text;
    if (!connection || (!command && FAILED(::VariantChangeType(&text, const_cast<_variant_t*>(&source), 0, VT_BSTR))))
        Raise(JET_E_INVALIDARGUMENT, L"Arguments are of the wrong type, are out of acceptable range, or are in "
                                     L"conflict with one another.");
    m_connection = connection;
    m_command = command;
    m_source = command ? command->Text() : JetText(text.bstrVal);
    m_tableDirect = !command && options != adOptionUnspecified && (options & adCmdTableDirect);
    if (lockType != adLockUnspecified)
        m_lockType = lockType;
    Load();
    return S_OK;
}

void CJetRecordset::OpenResult(CJetConnection* connection, const std::wstring& source, CSqliteStatement& statement,
                               const CJetStatement& translated)
{
    m_connection = connection;
    m_source = source;
    m_lockType = adLockReadOnly;
    Reset();
    LoadQuery(statement, translated, false);
    Opened();
}

void CJetRecordset::Reset()
{
    m_open = false;
    m_table.clear();
    m_columns.clear();
    m_nameHashes.clear();
    m_rows.clear();
    m_rowValues.Clear(0);
    m_liveRows = 0;
    m_position = 0;
    m_positionOfRowid.clear();
    m_rowidOrder = true;
    m_edit = editNone;
    m_index.clear();
    m_indexColumns.clear();
    m_seek.clear();
    m_updateColumns.clear();
    m_readRowid = 0;
    m_readStep = 0;
}

void CJetRecordset::Load()
{
    Reset();
    if (m_tableDirect) {
        LoadTable();
        return;
    }
    CJetStatement translated = Database().Translate(m_source);
    bool withRowid = !translated.m_rowidSql.empty() && m_lockType != adLockReadOnly;
    const std::string& sql = withRowid ? translated.m_rowidSql : translated.m_sql;
    CSqliteStatement statement = m_command ? Database().Cached(sql) : Database().Prepare(sql);
    if (m_command)
        m_command->BindParameters(statement);
    if (statement.ColumnCount() == 0) {
        // An action query opens no record set.
        while (statement.Step()) {
        }
        return;
    }
    LoadQuery(statement, translated, withRowid);
    if (withRowid)
        SetTable(translated.m_table);
    Opened();
}

void CJetRecordset::LoadTable()
{
    const CSqliteTable& table = Database().Table(m_source);
    m_columns = table.m_columns;
    m_rowValues.Clear(m_columns.size());
    SetTable(table.m_name);
    CSqliteStatement rowids = Database().Cached("SELECT _rowid_ FROM " + JetQuoteName(m_table) + " ORDER BY _rowid_");
    while (rowids.Step())
        AppendRow(rowids.ColumnInteger(0));
    Opened();
}

void CJetRecordset::Opened()
{
    m_open = true;
    Settle();
    Moved();
}

void CJetRecordset::LoadQuery(CSqliteStatement& statement, const CJetStatement& translated, bool withRowid)
{
    int first = withRowid ? 1 : 0;
    for (int i = first; i < statement.ColumnCount(); ++i) {
        CJetColumn column;
        column.m_name = statement.ColumnName(i);
        const wchar_t* type = statement.ColumnType(i);
        size_t output = static_cast<size_t>(i - first);
        EJetKind computed = output < translated.m_outputKinds.size() ? translated.m_outputKinds[output] : jetKindAny;
        column.m_kind = type ? JetKindOfType(type) : computed;
        column.m_definedSize = JetDefinedSize(column.m_kind, type ? type : L"");
        m_columns.push_back(column);
    }
    m_rowValues.Clear(m_columns.size());
    while (statement.Step()) {
        CRow row;
        if (withRowid)
            row.m_rowid = statement.ColumnInteger(0);
        ReadRow(row, statement, first);
        m_rows.push_back(row);
    }
    m_liveRows = m_rows.size();
}

// The record set writes into table through the rowid; the same column list reads one row back.
void CJetRecordset::SetTable(const std::wstring& table)
{
    m_table = Database().Table(table).m_name;
    m_selectList.clear();
    for (const CJetColumn& column : m_columns)
        m_selectList += (m_selectList.empty() ? "" : ", ") + JetQuoteName(column.m_name);
    m_fetch = CSqliteText();
    m_fetch.m_sql = "SELECT " + m_selectList + " FROM " + JetQuoteName(m_table) + " WHERE _rowid_ = ?1";
}

HRESULT CJetRecordset::Close()
{
    CheckOpen();
    Reset();
    return S_OK;
}

bool CJetRecordset::HasCurrentRow() const
{
    return m_open && m_edit != editAdd && m_position < m_rows.size() && !m_rows[m_position].m_deleted;
}

VARIANT_BOOL CJetRecordset::GetEOF()
{
    CheckOpen();
    return m_edit != editAdd && m_position >= m_rows.size() ? VARIANT_TRUE : VARIANT_FALSE;
}

VARIANT_BOOL CJetRecordset::GetBOF()
{
    CheckOpen();
    return m_edit != editAdd && m_liveRows == 0 ? VARIANT_TRUE : VARIANT_FALSE;
}

// Reads a row of the table that is not in memory yet; a row gone from the table since counts as deleted.
bool CJetRecordset::LoadRow(CRow& row)
{
    if (row.m_loaded)
        return true;
    CSqliteStatement fetch = Database().Cached(m_fetch);
    fetch.BindInteger(1, row.m_rowid);
    if (!fetch.Step()) {
        row.m_deleted = true;
        --m_liveRows;
        return false;
    }
    ReadRow(row, fetch, 0);
    return true;
}

void CJetRecordset::ReadRow(CRow& row, const CSqliteStatement& statement, int first)
{
    if (!row.m_values)
        row.m_values = m_rowValues.NewRow();
    for (size_t i = 0; i < m_columns.size(); ++i)
        statement.ReadColumn(first + static_cast<int>(i), row.m_values[i]);
    row.m_loaded = true;
    m_readRowid = row.m_rowid;
    m_readStep = Database().StepCount();
}

// From the position on, the first row that is still there.
void CJetRecordset::Settle()
{
    while (m_position < m_rows.size() && (m_rows[m_position].m_deleted || !LoadRow(m_rows[m_position])))
        ++m_position;
}

void CJetRecordset::Moved()
{
    if (m_binding && HasCurrentRow())
        JetFillRecord(m_binding, *this);
}

CJetRecordset::CRow& CJetRecordset::CurrentRow()
{
    CheckOpen();
    if (m_position >= m_rows.size())
        Raise(JET_E_NOCURRENTRECORD, L"Either BOF or EOF is True, or the current record has been deleted. "
                                     L"Requested operation requires a current record.");
    CRow& row = m_rows[m_position];
    if (row.m_deleted || !LoadRow(row))
        Raise(JET_E_DELETEDROW, L"Row handle referred to a deleted row or a row marked for deletion.");
    return row;
}

HRESULT CJetRecordset::MoveFirst()
{
    CheckOpen();
    Flush();
    m_position = 0;
    Settle();
    Moved();
    return S_OK;
}

HRESULT CJetRecordset::MoveNext()
{
    CheckOpen();
    if (m_edit != editAdd && m_position >= m_rows.size())
        Raise(JET_E_NOCURRENTRECORD, L"Either BOF or EOF is True, or the current record has been deleted. "
                                     L"Requested operation requires a current record.");
    Flush();
    ++m_position;
    Settle();
    Moved();
    return S_OK;
}

FieldsPtr CJetRecordset::GetFields()
{
    if (!m_fields)
        m_fields.reset(JetNewFields(this));
    return FieldsPtr(m_fields.get());
}

FieldPtr CJetRecordset::FieldAt(long column)
{
    size_t i = static_cast<size_t>(column);
    if (m_fieldObjects.size() <= i)
        m_fieldObjects.resize(i + 1);
    if (!m_fieldObjects[i])
        m_fieldObjects[i].reset(JetNewField(this, column));
    return FieldPtr(m_fieldObjects[i].get());
}

PropertiesPtr CJetRecordset::GetProperties()
{
    return JetMakeProperties(this);
}

long CJetRecordset::ColumnIndex(const _variant_t& index)
{
    const VARIANT& item = index.vt == (VT_BYREF | VT_VARIANT) ? *index.pvarVal : static_cast<const VARIANT&>(index);
    if (item.vt == VT_BSTR) {
        size_t length = item.bstrVal ? ::SysStringLen(item.bstrVal) : 0;
        // Callers nearly always write a name as it is declared: that is the quick look, through the names' hashes
        // (made on the first look after an open), as many names differ only in their last characters.
        if (m_nameHashes.empty())
            for (const CJetColumn& column : m_columns)
                m_nameHashes.push_back(NameHash(column.m_name.data(), column.m_name.size()));
        uint32_t hash = NameHash(item.bstrVal, length);
        for (size_t i = 0; i < m_columns.size(); ++i)
            if (m_nameHashes[i] == hash && m_columns[i].m_name.size() == length &&
                std::wmemcmp(m_columns[i].m_name.data(), item.bstrVal, length) == 0)
                return static_cast<long>(i);
        for (size_t i = 0; i < m_columns.size(); ++i)
            if (JetSameName(item.bstrVal, length, m_columns[i].m_name))
                return static_cast<long>(i);
    } else if (item.vt == VT_I4 && item.lVal >= 0 && item.lVal < ColumnCount()) {
        return item.lVal;
    } else {
        _variant_t position;
        if (SUCCEEDED(::VariantChangeType(&position, const_cast<VARIANT*>(&item), 0, VT_I4)) && position.lVal >= 0 &&
            position.lVal < ColumnCount())
            return position.lVal;
    }
    Raise(JET_E_ITEMNOTFOUND, L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

DataTypeEnum CJetRecordset::ColumnType(long column) const
{
    const CJetValue* sample = nullptr;
    for (size_t i = 0; i < m_rows.size() && !sample && Column(column).m_kind == jetKindAny; ++i)
        if (m_rows[i].m_loaded && !m_rows[i].m_values[static_cast<size_t>(column)].IsNull())
            sample = &m_rows[i].m_values[static_cast<size_t>(column)];
    return JetDataType(Column(column).m_kind, sample);
}

_variant_t CJetRecordset::GetValue(long column)
{
    size_t i = static_cast<size_t>(column);
    if (m_edit != editNone && m_changed[i])
        return JetToVariant(m_pending[i], m_columns[i].m_kind);
    if (m_edit == editAdd)
        return JetToVariant(CJetValue(), m_columns[i].m_kind);
    return JetToVariant(CurrentRow().m_values[i], m_columns[i].m_kind);
}

void CJetRecordset::PutValue(long column, const _variant_t& value)
{
    CheckUpdatable();
    if (m_edit == editNone) {
        CurrentRow();
        StartEdit(editChange);
    }
    size_t i = static_cast<size_t>(column);
    CJetValue converted;
    HRESULT hr = JetFromVariant(value, m_columns[i].m_kind, converted);
    if (FAILED(hr))
        Raise(hr, L"The value does not fit the type of field '" + m_columns[i].m_name + L"'.");
    if (m_columns[i].m_kind == jetKindText && converted.m_type == CJetValue::typeText &&
        converted.m_text.size() > static_cast<size_t>(m_columns[i].m_definedSize))
        Raise(JET_E_FIELDTOOSMALL, JET_FIELD_TOO_SMALL);
    m_pending[i] = std::move(converted);
    if (!m_changed[i]) {
        m_changed[i] = true;
        m_changedColumns.insert(std::upper_bound(m_changedColumns.begin(), m_changedColumns.end(), i), i);
    }
}

_variant_t CJetRecordset::GetCollect(const _variant_t& index)
{
    CheckOpen();
    return GetValue(ColumnIndex(index));
}

void CJetRecordset::PutCollect(const _variant_t& index, const _variant_t& value)
{
    CheckOpen();
    PutValue(ColumnIndex(index), value);
}

void CJetRecordset::StartEdit(EEdit edit)
{
    m_edit = edit;
    // A pending value counts only where its column is marked changed: the old ones need no clearing.
    m_pending.resize(m_columns.size());
    m_changed.assign(m_columns.size(), false);
    m_changedColumns.clear();
}

// Moving away from a changed row writes it, as ADO does.
void CJetRecordset::Flush()
{
    if (m_edit != editNone)
        Update();
}

HRESULT CJetRecordset::AddNew()
{
    CheckUpdatable();
    Flush();
    StartEdit(editAdd);
    return S_OK;
}

HRESULT CJetRecordset::Update()
{
    CheckOpen();
    if (m_edit == editNone)
        return S_OK;
    CheckUpdatable();
    try {
        if (m_edit == editAdd)
            Insert();
        else
            Change();
    } catch (...) {
        // A refused change is dropped: the caller has the error, and the next move must not raise it again.
        m_edit = editNone;
        throw;
    }
    m_edit = editNone;
    Moved();
    return S_OK;
}

void CJetRecordset::Insert()
{
    std::string columns, marks;
    for (size_t i : m_changedColumns) {
        columns += (columns.empty() ? "" : ", ") + JetQuoteName(m_columns[i].m_name);
        marks += marks.empty() ? "?" : ", ?";
    }
    std::string sql = "INSERT INTO " + JetQuoteName(m_table) +
                      (columns.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + marks + ")");
    {
        CSqliteStatement insert = Database().Cached(sql);
        int position = 0;
        for (size_t i : m_changedColumns)
            insert.Bind(++position, m_pending[i]);
        insert.Step();
    }
    m_position = AppendRow(Database().LastInsertRowid());
    LoadRow(m_rows.back());
}

void CJetRecordset::Change()
{
    CRow& row = CurrentRow();
    // A recomputation writes back mostly what a row already holds. When this row is the one read last and no
    // statement has run since, inside a transaction (whose lock keeps other connections from writing it), its
    // values are the table's: numbers given again as they are need no writing.
    if (m_readRowid == row.m_rowid && m_readStep == Database().StepCount() && Database().InTransaction()) {
        auto same = [this, &row](size_t i) {
            if (!SameNumber(m_pending[i], row.m_values[i]))
                return false;
            m_changed[i] = false;
            return true;
        };
        m_changedColumns.erase(std::remove_if(m_changedColumns.begin(), m_changedColumns.end(), same),
                               m_changedColumns.end());
    }
    if (m_changedColumns.empty())
        return;
    // A run of updates usually changes the same columns: the text is built again only when they differ.
    if (m_changedColumns != m_updateColumns) {
        std::string assignments;
        for (size_t i : m_changedColumns)
            assignments += (assignments.empty() ? "" : ", ") + JetQuoteName(m_columns[i].m_name) + " = ?";
        m_updateColumns = m_changedColumns;
        m_update = CSqliteText();
        m_update.m_sql = "UPDATE " + JetQuoteName(m_table) + " SET " + assignments + " WHERE _rowid_ = ?";
    }
    CSqliteStatement update = Database().Cached(m_update);
    int position = 0;
    for (size_t i : m_changedColumns)
        update.Bind(++position, m_pending[i]);
    update.BindInteger(++position, row.m_rowid);
    update.Step();
    if (Database().Changes() == 0)
        Raise(E_FAIL, L"Row cannot be located for updating. Some values may have been changed since it was last read.");
    for (size_t i : m_changedColumns)
        row.m_values[i] = std::move(m_pending[i]);
}

HRESULT CJetRecordset::Delete(AffectEnum affectRecords)
{
    if (affectRecords != adAffectCurrent)
        Raise(JET_E_INVALIDARGUMENT, L"Only the current record can be deleted.");
    CheckUpdatable();
    if (m_edit == editAdd) {
        m_edit = editNone;
        return S_OK;
    }
    m_edit = editNone;
    CRow& row = CurrentRow();
    CSqliteStatement remove = Database().Cached("DELETE FROM " + JetQuoteName(m_table) + " WHERE _rowid_ = ?");
    remove.BindInteger(1, row.m_rowid);
    remove.Step();
    row.m_deleted = true;
    --m_liveRows;
    return S_OK;
}

HRESULT CJetRecordset::Requery(long)
{
    CheckOpen();
    Flush();
    std::wstring index = m_index;
    Load();
    if (!index.empty())
        PutIndex(index.c_str());
    return S_OK;
}

void CJetRecordset::PutIndex(_bstr_t indexName)
{
    CheckOpen();
    if (!m_tableDirect)
        Raise(JET_E_FEATURENOTAVAILABLE, L"Current provider does not support the necessary interface for Index "
                                         L"functionality.");
    const CSqliteIndex& index = Database().Index(JetText(indexName), m_table);
    if (!JetSameName(index.m_table, m_table))
        Raise(static_cast<HRESULT>(0x80040E36), L"The index '" + index.m_name + L"' is not an index of table '" +
                                                    m_table + L"'.");
    std::vector<long> columns;
    for (const std::wstring& name : index.m_columns)
        columns.push_back(ColumnIndex(_variant_t(name.c_str())));
    m_index = JetText(indexName);
    m_indexColumns = columns;
    m_seek.assign(columns.size(), CSqliteText());
}

// The row whose first keys index columns equal the values; the first in index order.
CSqliteText& CJetRecordset::SeekText(size_t keys)
{
    CSqliteText& text = m_seek[keys - 1];
    if (!text.m_sql.empty())
        return text;
    std::string where, order;
    for (size_t i = 0; i < m_indexColumns.size(); ++i) {
        std::string name = JetQuoteName(m_columns[static_cast<size_t>(m_indexColumns[i])].m_name);
        if (i < keys)
            where += (where.empty() ? "" : " AND ") + name + " = ?";
        order += (order.empty() ? "" : ", ") + name;
    }
    text.m_sql = "SELECT _rowid_, " + m_selectList + " FROM " + JetQuoteName(m_table) + " WHERE " + where +
                 (keys < m_indexColumns.size() ? " ORDER BY " + order : std::string()) + " LIMIT 1";
    return text;
}

HRESULT CJetRecordset::Seek(const _variant_t& keyValues, SeekEnum seekOption)
{
    CheckOpen();
    if (!m_tableDirect || m_index.empty())
        Raise(JET_E_FEATURENOTAVAILABLE, L"Current provider does not support the necessary interface for Index "
                                         L"functionality.");
    if (seekOption != adSeekFirstEQ)
        Raise(JET_E_INVALIDARGUMENT, L"Only the seek for the first equal key is supported.");
    // One key is the value itself; several come as an array, read in place.
    bool array = keyValues.vt == (VT_ARRAY | VT_VARIANT);
    CArrayValues listed(array ? keyValues.parray : nullptr);
    size_t keys = array ? listed.Count() : 1;
    if (keys == 0 || keys > m_indexColumns.size())
        Raise(JET_E_INVALIDARGUMENT, L"The number of key values does not fit the index '" + m_index + L"'.");
    Flush();
    CSqliteStatement seek = Database().Cached(SeekText(keys));
    CJetValue key;
    for (size_t i = 0; i < keys; ++i) {
        const CJetColumn& column = m_columns[static_cast<size_t>(m_indexColumns[i])];
        HRESULT hr = JetFromVariant(array ? listed[i] : keyValues, column.m_kind, key);
        if (FAILED(hr))
            Raise(hr, L"Data type mismatch in criteria expression.");
        seek.Bind(static_cast<int>(i) + 1, key);
    }
    if (!seek.Step()) {
        m_position = m_rows.size();
        return S_OK;
    }
    m_position = PositionOf(seek.ColumnInteger(0));
    CRow& row = m_rows[m_position];
    ReadRow(row, seek, 1);
    if (row.m_deleted) {
        // A rowid that this record set deleted and the table has given to a new row.
        row.m_deleted = false;
        ++m_liveRows;
    }
    Moved();
    return S_OK;
}

// The position of a row of the table; a row added since the open is appended. The rows are usually in rowid
// order (as read, and new rows get higher rowids): then a binary search finds them, otherwise a map.
size_t CJetRecordset::PositionOf(int64_t rowid)
{
    if (m_rowidOrder) {
        // Rowids are usually dense from the first row's on: the row is then at its offset.
        int64_t offset = m_rows.empty() ? -1 : rowid - m_rows.front().m_rowid;
        if (offset >= 0 && static_cast<uint64_t>(offset) < m_rows.size() &&
            m_rows[static_cast<size_t>(offset)].m_rowid == rowid)
            return static_cast<size_t>(offset);
        auto found = std::lower_bound(m_rows.begin(), m_rows.end(), rowid,
                                      [](const CRow& row, int64_t value) { return row.m_rowid < value; });
        if (found != m_rows.end() && found->m_rowid == rowid)
            return static_cast<size_t>(found - m_rows.begin());
    } else {
        if (m_positionOfRowid.empty())
            for (size_t i = 0; i < m_rows.size(); ++i)
                m_positionOfRowid[m_rows[i].m_rowid] = i;
        auto found = m_positionOfRowid.find(rowid);
        if (found != m_positionOfRowid.end())
            return found->second;
    }
    return AppendRow(rowid);
}

size_t CJetRecordset::AppendRow(int64_t rowid)
{
    if (m_rowidOrder && !m_rows.empty() && m_rows.back().m_rowid >= rowid)
        m_rowidOrder = false;
    CRow row;
    row.m_rowid = rowid;
    m_rows.push_back(row);
    ++m_liveRows;
    if (!m_rowidOrder && !m_positionOfRowid.empty())
        m_positionOfRowid[rowid] = m_rows.size() - 1;
    return m_rows.size() - 1;
}

void CJetRecordset::PutLockType(LockTypeEnum lockType)
{
    if (m_open)
        Raise(JET_E_OBJECTOPEN, L"Operation is not allowed when the object is open.");
    m_lockType = lockType;
}

long CJetRecordset::GetRecordCount()
{
    CheckOpen();
    return static_cast<long>(m_liveRows);
}

void CJetRecordset::Bind(CADORecordBinding* record)
{
    CheckOpen();
    JetCheckBinding(record, Log());
    m_binding = record;
    Moved();
}

HRESULT CJetRecordset::QueryOtherInterface(REFIID riid, void** ppv)
{
    if (riid != __uuidof(IADORecordBinding))
        return E_NOINTERFACE;
    return JetMakeRecordBinding(this)->QueryInterface(riid, ppv);
}
