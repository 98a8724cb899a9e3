#include "platform/ado/JetConnection.h"

#include "platform/ado/JetRecordset.h"

#include <map>

namespace
{
const wchar_t JET_PROVIDER[] = L"Microsoft.Jet.OLEDB.4.0";

std::wstring Trim(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t");
    size_t last = text.find_last_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

// "Key=value;Key='value; with semicolon';..." by upper-case key.
std::map<std::wstring, std::wstring> ParseConnectionString(const std::wstring& text)
{
    std::map<std::wstring, std::wstring> keys;
    size_t i = 0;
    while (i < text.size()) {
        size_t equals = text.find(L'=', i);
        if (equals == std::wstring::npos)
            break;
        std::wstring key = JetUpper(Trim(text.substr(i, equals - i)));
        i = text.find_first_not_of(L" \t", equals + 1);
        std::wstring value;
        if (i != std::wstring::npos && (text[i] == L'\'' || text[i] == L'"')) {
            wchar_t quote = text[i];
            for (++i; i < text.size(); ++i) {
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        value += quote;
                        ++i;
                        continue;
                    }
                    break;
                }
                value += text[i];
            }
            i = text.find(L';', i);
        } else if (i != std::wstring::npos) {
            size_t end = text.find(L';', i);
            value = Trim(text.substr(i, end == std::wstring::npos ? std::wstring::npos : end - i));
            i = end;
        }
        keys[key] = value;
        if (i == std::wstring::npos)
            break;
        ++i;
    }
    return keys;
}
} // namespace

HRESULT CJetConnection::Open(_bstr_t connectionString, _bstr_t, _bstr_t, long)
{
    if (m_database.IsOpen())
        JetRaise(&m_log, JET_E_OBJECTOPEN, L"Operation is not allowed when the object is open.");
    std::map<std::wstring, std::wstring> keys = ParseConnectionString(JetText(connectionString));
    auto provider = keys.find(L"PROVIDER");
    if (provider != keys.end() && JetUpper(provider->second).rfind(L"MICROSOFT.JET.OLEDB", 0) != 0)
        JetRaise(&m_log, JET_E_PROVIDERNOTFOUND, L"Provider cannot be found. It may not be properly installed.");
    m_database.Open(keys[L"DATA SOURCE"], keys[L"JET OLEDB:DATABASE PASSWORD"], false);
    return S_OK;
}

HRESULT CJetConnection::Close()
{
    if (!m_database.IsOpen())
        JetRaise(&m_log, JET_E_OBJECTCLOSED, L"Operation is not allowed when the object is closed.");
    m_database.Close();
    return S_OK;
}

long CJetConnection::BeginTrans()
{
    m_database.BeginTransaction();
    return 1;
}

HRESULT CJetConnection::CommitTrans()
{
    m_database.CommitTransaction();
    return S_OK;
}

HRESULT CJetConnection::RollbackTrans()
{
    m_database.RollbackTransaction();
    return S_OK;
}

_RecordsetPtr CJetConnection::Execute(_bstr_t commandText, VARIANT* recordsAffected, long options)
{
    CJetStatement statement = m_database.Translate(JetText(commandText));
    long affected = 0;
    _RecordsetPtr result;
    bool noRecords = options != adOptionUnspecified && (options & adExecuteNoRecords);
    if (statement.m_kind == CJetStatement::kindAddConstraint) {
        m_database.AddTableConstraint(statement.m_table, statement.m_sql, statement.m_indexSql);
    } else {
        CSqliteStatement prepared = m_database.Prepare(statement.m_sql);
        if (prepared.ColumnCount() > 0 && !noRecords) {
            CJetRecordset* recordset = new CJetRecordset;
            result = recordset;
            recordset->OpenResult(this, JetText(commandText), prepared, statement);
            affected = -1;
        } else {
            while (prepared.Step()) {
            }
            if (statement.m_kind == CJetStatement::kindChange)
                affected = m_database.Changes();
            else if (statement.m_kind == CJetStatement::kindSelect)
                affected = -1;
        }
    }
    if (statement.m_kind == CJetStatement::kindSchema || statement.m_kind == CJetStatement::kindAddConstraint)
        m_database.SchemaChanged();
    if (recordsAffected) {
        ::VariantClear(recordsAffected);
        recordsAffected->vt = VT_I4;
        recordsAffected->lVal = affected;
    }
    if (!result && !noRecords)
        result = new CJetRecordset;
    return result;
}

_bstr_t CJetConnection::GetProvider()
{
    return _bstr_t(JET_PROVIDER);
}

CAdoPtr<CJetConnection> JetConnectionOf(const VARIANT& connection)
{
    return JetObjectOf<CJetConnection, _Connection>(connection);
}

void JetCreateDatabase(LPCWSTR path, LPCWSTR password)
{
    CSqliteDatabase database(nullptr);
    database.Open(path ? path : L"", password ? password : L"", true);
}
