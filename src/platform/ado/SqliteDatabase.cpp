#include "platform/ado/SqliteDatabase.h"

#include "platform/ado/JetFile.h"

#include <bcrypt.h>
#include <sqlite3.h>

#include <cstring>

namespace
{
// Texts compare as Jet compares them: without regard to case, accented letters in the Italian order.
const LCID JET_TEXT_LOCALE = MAKELCID(MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), SORT_DEFAULT);
int CompareJetText(void*, int bytes1, const void* text1, int bytes2, const void* text2)
{
    if (bytes1 == bytes2 && std::memcmp(text1, text2, static_cast<size_t>(bytes1)) == 0)
        return 0;
    return ::CompareStringW(JET_TEXT_LOCALE, NORM_IGNORECASE, static_cast<const wchar_t*>(text1), bytes1 / 2,
                            static_cast<const wchar_t*>(text2), bytes2 / 2) - CSTR_EQUAL;
}

// The database password is kept as its SHA-256 digest: it is checked, not used to encrypt.
std::string PasswordDigest(const std::wstring& password)
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    UCHAR digest[32] = {};
    bool done = BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
                BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0)) &&
                BCRYPT_SUCCESS(::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(password.data())),
                                                static_cast<ULONG>(password.size() * sizeof(wchar_t)), 0)) &&
                BCRYPT_SUCCESS(::BCryptFinishHash(hash, digest, sizeof(digest), 0));
    if (hash)
        ::BCryptDestroyHash(hash);
    if (algorithm)
        ::BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!done)
        JetRaise(nullptr, E_FAIL, L"The database password cannot be checked.");
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (UCHAR byte : digest) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

const char PASSWORD_TABLE[] = "MSysPassword";
// The translations kept: the texts a program repeats, not every text with its own literal values.
const size_t KNOWN_TRANSLATIONS = 256;
} // namespace

std::string JetQuoteName(const std::wstring& name)
{
    std::string result = "\"";
    for (char c : JetUtf8(name)) {
        result += c;
        if (c == '"')
            result += c;
    }
    return result + "\"";
}

CSqliteStatement::CSqliteStatement(CSqliteDatabase& database, sqlite3_stmt* statement, bool owned)
    : m_database(database), m_statement(statement), m_owned(owned)
{
}

CSqliteStatement::CSqliteStatement(CSqliteStatement&& other) noexcept
    : m_database(other.m_database), m_statement(other.m_statement), m_owned(other.m_owned)
{
    other.m_statement = nullptr;
}

CSqliteStatement::~CSqliteStatement()
{
    if (!m_statement)
        return;
    if (m_owned) {
        ::sqlite3_finalize(m_statement);
    } else {
        // Every use binds all its parameters again, so the old values need no clearing.
        ::sqlite3_reset(m_statement);
    }
}

void CSqliteStatement::Bind(int position, const CJetValue& value)
{
    int rc = SQLITE_OK;
    switch (value.m_type) {
    case CJetValue::typeNull:
        rc = ::sqlite3_bind_null(m_statement, position);
        break;
    case CJetValue::typeInteger:
        rc = ::sqlite3_bind_int64(m_statement, position, value.m_integer);
        break;
    case CJetValue::typeReal:
        rc = ::sqlite3_bind_double(m_statement, position, value.m_real);
        break;
    case CJetValue::typeText:
        rc = ::sqlite3_bind_text16(m_statement, position, value.m_text.data(),
                                   static_cast<int>(value.m_text.size() * sizeof(wchar_t)), SQLITE_TRANSIENT);
        break;
    }
    if (rc != SQLITE_OK)
        m_database.RaiseLast(rc);
}

void CSqliteStatement::BindInteger(int position, int64_t value)
{
    int rc = ::sqlite3_bind_int64(m_statement, position, value);
    if (rc != SQLITE_OK)
        m_database.RaiseLast(rc);
}

bool CSqliteStatement::Step()
{
    m_database.CheckTransaction();
    m_database.CountStep();
    int rc = ::sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_database.RaiseLast(rc);
}

int CSqliteStatement::ColumnCount() const
{
    return ::sqlite3_column_count(m_statement);
}

CJetValue CSqliteStatement::Column(int column) const
{
    CJetValue value;
    ReadColumn(column, value);
    return value;
}

void CSqliteStatement::ReadColumn(int column, CJetValue& value) const
{
    // SQLite is built single-threaded, so the column's value object may be read directly: one look-up of the
    // column instead of one per question asked of it.
    sqlite3_value* cell = ::sqlite3_column_value(m_statement, column);
    value.m_integer = 0;
    value.m_real = 0;
    switch (::sqlite3_value_type(cell)) {
    case SQLITE_INTEGER:
        value.m_type = CJetValue::typeInteger;
        value.m_integer = ::sqlite3_value_int64(cell);
        break;
    case SQLITE_FLOAT:
        value.m_type = CJetValue::typeReal;
        value.m_real = ::sqlite3_value_double(cell);
        break;
    case SQLITE_TEXT: {
        auto text = static_cast<const wchar_t*>(::sqlite3_value_text16(cell));
        value.m_type = CJetValue::typeText;
        value.m_text.assign(text, static_cast<size_t>(::sqlite3_value_bytes16(cell)) / sizeof(wchar_t));
        return;
    }
    default:
        value.m_type = CJetValue::typeNull;
        break;
    }
    value.m_text.clear();
}

int64_t CSqliteStatement::ColumnInteger(int column) const
{
    return ::sqlite3_column_int64(m_statement, column);
}

std::wstring CSqliteStatement::ColumnName(int column) const
{
    return JetWide(::sqlite3_column_name(m_statement, column));
}

const wchar_t* CSqliteStatement::ColumnType(int column) const
{
    return static_cast<const wchar_t*>(::sqlite3_column_decltype16(m_statement, column));
}

const CJetColumn* CSqliteTable::Find(const std::wstring& column) const
{
    for (const CJetColumn& candidate : m_columns)
        if (JetSameName(candidate.m_name, column))
            return &candidate;
    return nullptr;
}

CSqliteDatabase::~CSqliteDatabase()
{
    Close();
}

void CSqliteDatabase::Open(const std::wstring& path, const std::wstring& password, bool create)
{
    Close();
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (create && attributes != INVALID_FILE_ATTRIBUTES)
        Raise(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS), L"Database '" + path + L"' already exists.");
    if (path.empty() || (!create && (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))))
        Raise(E_FAIL, L"Could not find file '" + path + L"'.");
    // A genuine Jet file is read into a database in memory, which then refuses every change.
    bool jetFile = !create && JetIsJetFile(path);
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | (jetFile ? SQLITE_OPEN_MEMORY : 0);
    int rc = ::sqlite3_open_v2(jetFile ? ":memory:" : JetUtf8(path).c_str(), &m_db, flags, nullptr);
    try {
        if (rc != SQLITE_OK)
            RaiseLast(rc);
        // The statements kept prepared hold small blocks of the connection's lookaside memory for good; with the
        // default room the cursors of every statement run would then come from the heap.
        ::sqlite3_db_config(m_db, SQLITE_DBCONFIG_LOOKASIDE, nullptr, 1200, 256);
        ::sqlite3_extended_result_codes(m_db, 1);
        rc = ::sqlite3_create_collation_v2(m_db, JET_TEXT_COLLATION, SQLITE_UTF16LE, nullptr, CompareJetText, nullptr);
        if (rc == SQLITE_OK)
            rc = JetRegisterFunctions(m_db, &m_functionError);
        if (rc != SQLITE_OK)
            RaiseLast(rc);
        Run("PRAGMA foreign_keys = ON");
        if (jetFile) {
            JetLoadFile(*this, path, password);
            Run("PRAGMA query_only = ON");
            m_jetFile = true;
            return;
        }
        rc = ::sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
        if (rc == SQLITE_NOTADB)
            Raise(E_FAIL, L"Unrecognized database format '" + path + L"'.");
        if (rc != SQLITE_OK)
            RaiseLast(rc);
        if (create)
            StorePassword(password);
        else
            CheckPassword(password);
    } catch (...) {
        Close();
        throw;
    }
}

void CSqliteDatabase::Close()
{
    SchemaChanged();
    m_transaction = false;
    m_jetFile = false;
    if (m_db)
        ::sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void CSqliteDatabase::CheckPassword(const std::wstring& password)
{
    if (!FindTable(JetWide(PASSWORD_TABLE)))
        return;
    CSqliteStatement stored = Prepare(std::string("SELECT digest FROM ") + PASSWORD_TABLE);
    if (stored.Step() && JetUtf8(stored.Column(0).m_text) != PasswordDigest(password))
        Raise(JET_E_AUTHFAILED, L"Not a valid password.");
}

void CSqliteDatabase::StorePassword(const std::wstring& password)
{
    Run(std::string("CREATE TABLE ") + PASSWORD_TABLE + " (digest TEXT NOT NULL)");
    if (password.empty())
        return;
    CSqliteStatement insert = Prepare(std::string("INSERT INTO ") + PASSWORD_TABLE + " (digest) VALUES (?)");
    CJetValue digest;
    digest.m_type = CJetValue::typeText;
    digest.m_text = JetWide(PasswordDigest(password).c_str());
    insert.Bind(1, digest);
    insert.Step();
}

sqlite3_stmt* CSqliteDatabase::Compile(const std::string& sql)
{
    if (!m_db)
        Raise(JET_E_OBJECTCLOSED, L"Operation is not allowed when the object is closed.");
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    int rc = ::sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &statement, &tail);
    if (rc != SQLITE_OK)
        RaiseLast(rc);
    while (tail && (*tail == ' ' || *tail == '\t' || *tail == '\r' || *tail == '\n' || *tail == ';'))
        ++tail;
    if (!statement || (tail && *tail)) {
        ::sqlite3_finalize(statement);
        Raise(JET_E_ERRORSINCOMMAND, statement ? L"Characters found after end of SQL statement."
                                               : L"Invalid SQL statement.");
    }
    return statement;
}

CSqliteStatement CSqliteDatabase::Cached(const std::string& sql)
{
    auto found = m_cache.find(sql);
    if (found == m_cache.end())
        found = m_cache.emplace(sql, Compile(sql)).first;
    return CSqliteStatement(*this, found->second, false);
}

CSqliteStatement CSqliteDatabase::Cached(CSqliteText& text)
{
    if (!text.m_statement || text.m_generation != m_generation) {
        text.m_statement = Cached(text.m_sql).Detach();
        text.m_generation = m_generation;
    }
    return CSqliteStatement(*this, text.m_statement, false);
}

CSqliteStatement CSqliteDatabase::Prepare(const std::string& sql)
{
    return CSqliteStatement(*this, Compile(sql), true);
}

void CSqliteDatabase::Run(const std::string& sql)
{
    CSqliteStatement statement = Prepare(sql);
    while (statement.Step()) {
    }
}

void CSqliteDatabase::SchemaChanged()
{
    for (auto& entry : m_cache)
        ::sqlite3_finalize(entry.second);
    m_cache.clear();
    m_translations.clear();
    ++m_generation;
    m_tables.clear();
    m_indexes.clear();
}

std::wstring CSqliteDatabase::SchemaText(const char* sql, const std::wstring& name)
{
    CSqliteStatement query = Prepare(sql);
    CJetValue key;
    key.m_type = CJetValue::typeText;
    key.m_text = name;
    query.Bind(1, key);
    return query.Step() ? query.Column(0).m_text : std::wstring();
}

const CSqliteTable& CSqliteDatabase::Table(const std::wstring& name)
{
    const CSqliteTable* table = FindTable(name);
    if (!table)
        Raise(static_cast<HRESULT>(0x80040E37), L"Cannot find the input table or query '" + name + L"'.");
    return *table;
}

const CSqliteTable* CSqliteDatabase::FindTable(const std::wstring& name)
{
    std::wstring key = JetUpper(name);
    auto known = m_tables.find(key);
    if (known != m_tables.end())
        return known->second.get();
    std::wstring actual =
        SchemaText("SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE", name);
    if (actual.empty())
        return nullptr;
    auto layout = std::make_unique<CSqliteTable>();
    layout->m_name = actual;
    CSqliteStatement columns = Prepare("PRAGMA table_info(" + JetQuoteName(actual) + ")");
    while (columns.Step()) {
        CJetColumn column;
        column.m_name = columns.Column(1).m_text;
        std::wstring type = columns.Column(2).m_text;
        column.m_kind = JetKindOfType(type.c_str());
        column.m_definedSize = JetDefinedSize(column.m_kind, type.c_str());
        layout->m_columns.push_back(column);
    }
    return (m_tables[key] = std::move(layout)).get();
}

const std::vector<CJetColumn>* CSqliteDatabase::TableColumns(const std::wstring& table)
{
    const CSqliteTable* found = FindTable(table);
    return found ? &found->m_columns : nullptr;
}

CJetStatement CSqliteDatabase::Translate(const std::wstring& jetSql)
{
    if (!m_db)
        return JetTranslate(jetSql, nullptr, m_log);
    // A translation depends only on the text and the tables' layouts, which a change of the schema forgets.
    auto known = m_translations.find(jetSql);
    if (known != m_translations.end())
        return known->second;
    CJetStatement statement = JetTranslate(jetSql, this, m_log);
    if (m_translations.size() >= KNOWN_TRANSLATIONS)
        m_translations.clear();
    m_translations.emplace(jetSql, statement);
    return statement;
}

const CSqliteIndex& CSqliteDatabase::Index(const std::wstring& name, const std::wstring& table)
{
    // A genuine Jet file's index names are its tables' own: its copy qualifies each with its table (JetFile.cpp).
    std::wstring stored = m_jetFile ? table + L"." + name : name;
    std::unique_ptr<CSqliteIndex>& index = m_indexes[JetUpper(stored)];
    if (index)
        return *index;
    CSqliteStatement found =
        Prepare("SELECT name, tbl_name FROM sqlite_schema WHERE type = 'index' AND name = ?1 COLLATE NOCASE");
    CJetValue key;
    key.m_type = CJetValue::typeText;
    key.m_text = stored;
    found.Bind(1, key);
    if (!found.Step()) {
        m_indexes.erase(JetUpper(stored));
        Raise(static_cast<HRESULT>(0x80040E36), L"Cannot find the index '" + name + L"'.");
    }
    auto layout = std::make_unique<CSqliteIndex>();
    layout->m_name = found.Column(0).m_text;
    layout->m_table = found.Column(1).m_text;
    CSqliteStatement columns = Prepare("PRAGMA index_info(" + JetQuoteName(layout->m_name) + ")");
    while (columns.Step())
        layout->m_columns.push_back(columns.Column(2).m_text);
    index = std::move(layout);
    return *index;
}

void CSqliteDatabase::AddTableConstraint(const std::wstring& table, const std::string& constraint,
                                         const std::string& indexSql)
{
    std::wstring name = Table(table).m_name;
    std::string definition =
        JetUtf8(SchemaText("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1", name));
    size_t end = definition.rfind(')');
    if (end == std::string::npos)
        Raise(JET_E_ERRORSINCOMMAND, L"Cannot change the definition of table '" + name + L"'.");
    definition.insert(end, ", " + constraint);

    // SQLite cannot add a constraint to a table; the rows stay where they are and only the table's stored
    // definition changes (SQLite's documented procedure for changes that keep the stored format). Rebuilding the
    // table instead would cascade the drop of the old one into the tables that refer to it.
    Run("SAVEPOINT jet_add_constraint");
    try {
        RewriteDefinition(name, definition);
        if (!indexSql.empty())
            Run(indexSql);
        Run("RELEASE jet_add_constraint");
    } catch (...) {
        CountStep();
        ::sqlite3_exec(m_db, "PRAGMA writable_schema = RESET", nullptr, nullptr, nullptr);
        ::sqlite3_exec(m_db, "ROLLBACK TO jet_add_constraint", nullptr, nullptr, nullptr);
        ::sqlite3_exec(m_db, "RELEASE jet_add_constraint", nullptr, nullptr, nullptr);
        SchemaChanged();
        throw;
    }
    SchemaChanged();
}

void CSqliteDatabase::RewriteDefinition(const std::wstring& name, const std::string& definition)
{
    int64_t schemaVersion = 0;
    {
        CSqliteStatement version = Prepare("PRAGMA schema_version");
        version.Step();
        schemaVersion = version.ColumnInteger(0);
    }
    {
        Run("PRAGMA writable_schema = ON");
        CSqliteStatement update = Prepare("UPDATE sqlite_schema SET sql = ?1 WHERE type = 'table' AND name = ?2");
        CJetValue text;
        text.m_type = CJetValue::typeText;
        text.m_text = JetWide(definition.c_str());
        update.Bind(1, text);
        text.m_text = name;
        update.Bind(2, text);
        update.Step();
        Run("PRAGMA schema_version = " + std::to_string(schemaVersion + 1));
    }
    Run("PRAGMA writable_schema = RESET");
    CSqliteStatement check = Prepare("PRAGMA foreign_key_check(" + JetQuoteName(name) + ")");
    if (check.Step())
        Raise(JET_E_INTEGRITYVIOLATION,
              L"Data in table '" + name + L"' violates the referential integrity of the new constraint.");
}

void CSqliteDatabase::BeginTransaction()
{
    Run("BEGIN");
    m_transaction = true;
}

void CSqliteDatabase::CommitTransaction()
{
    if (m_transaction && !InTransaction()) {
        m_transaction = false;
        Raise(JET_E_TRANSACTIONABORTED, L"The transaction was rolled back after an earlier error: nothing of it "
                                        L"was written.");
    }
    Run("COMMIT");
    m_transaction = false;
}

void CSqliteDatabase::RollbackTransaction()
{
    // The rollback may undo changes of the schema: the known layouts may be gone.
    SchemaChanged();
    if (m_transaction && !InTransaction()) {
        m_transaction = false;
        return;
    }
    Run("ROLLBACK");
    m_transaction = false;
}

void CSqliteDatabase::CheckTransaction()
{
    if (m_transaction && !InTransaction())
        Raise(JET_E_TRANSACTIONABORTED, L"The transaction was rolled back after an earlier error: roll it back "
                                        L"before going on.");
}

bool CSqliteDatabase::InTransaction() const
{
    return m_db && !::sqlite3_get_autocommit(m_db);
}

void CSqliteDatabase::RaiseLast(int rc)
{
    // A value that a function of the translation refused: Jet's error rather than SQLite's.
    if (m_functionError.m_hr != S_OK) {
        CJetFunctionError error = m_functionError;
        m_functionError = CJetFunctionError();
        Raise(error.m_hr, error.m_description);
    }
    if (m_jetFile && (::sqlite3_extended_errcode(m_db) & 0xff) == SQLITE_READONLY)
        Raise(E_FAIL, JET_READ_ONLY);
    JetRaiseSqlite(m_log, m_db, rc);
}

void CSqliteDatabase::Raise(HRESULT hr, const std::wstring& description) const
{
    JetRaise(m_log, hr, description);
}

int64_t CSqliteDatabase::LastInsertRowid() const
{
    return ::sqlite3_last_insert_rowid(m_db);
}

int CSqliteDatabase::Changes() const
{
    return ::sqlite3_changes(m_db);
}
