// One SQLite database as the ADO stand-in uses it: the Jet text collation, a cache of prepared statements, the
// tables' and indexes' layouts, the database password and the foreign keys added to existing tables.
#pragma once

#include "platform/ado/JetErrors.h"
#include "platform/ado/JetFunctions.h"
#include "platform/ado/JetSql.h"
#include "platform/ado/JetValue.h"

#include <map>
#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

class CSqliteDatabase;

// A statement in use: reset (and for a one-off statement finalized) when it goes out of scope.
class CSqliteStatement
{
public:
    CSqliteStatement(CSqliteDatabase& database, sqlite3_stmt* statement, bool owned);
    CSqliteStatement(CSqliteStatement&& other) noexcept;
    CSqliteStatement(const CSqliteStatement&) = delete;
    CSqliteStatement& operator=(const CSqliteStatement&) = delete;
    ~CSqliteStatement();

    void Bind(int position, const CJetValue& value);
    void BindInteger(int position, int64_t value);
    // The next row: true while there is one; a failure raises.
    bool Step();
    int ColumnCount() const;
    CJetValue Column(int column) const;
    // The same into an existing value, whose text keeps its room.
    void ReadColumn(int column, CJetValue& value) const;
    // A column known to hold an integer (a rowid, a count): its value, with no value object made for it.
    int64_t ColumnInteger(int column) const;
    std::wstring ColumnName(int column) const;
    // The column's declared type, or null for an expression.
    const wchar_t* ColumnType(int column) const;
    sqlite3_stmt* Handle() const { return m_statement; }
    // Gives up the statement unused (it stays in the cache).
    sqlite3_stmt* Detach()
    {
        sqlite3_stmt* statement = m_statement;
        m_statement = nullptr;
        return statement;
    }

private:
    CSqliteDatabase& m_database;
    sqlite3_stmt* m_statement;
    bool m_owned;
};

// A text that recurs in a loop, with the statement last prepared for it: the loop skips the cache's look-up.
struct CSqliteText
{
    std::string m_sql;
    sqlite3_stmt* m_statement = nullptr;
    unsigned m_generation = 0;
};

struct CSqliteTable
{
    std::wstring m_name;
    std::vector<CJetColumn> m_columns;
    const CJetColumn* Find(const std::wstring& column) const;
};

struct CSqliteIndex
{
    std::wstring m_name;
    std::wstring m_table;
    std::vector<std::wstring> m_columns;
};

class CSqliteDatabase : public CJetSchema
{
public:
    explicit CSqliteDatabase(CJetErrorLog* log) : m_log(log) {}
    CSqliteDatabase(const CSqliteDatabase&) = delete;
    CSqliteDatabase& operator=(const CSqliteDatabase&) = delete;
    ~CSqliteDatabase();

    // Opens an existing database (create: a new one, the file must not exist) and checks or sets its password.
    void Open(const std::wstring& path, const std::wstring& password, bool create);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    sqlite3* Handle() const { return m_db; }

    // A statement prepared once and kept until the schema changes: for texts that recur.
    CSqliteStatement Cached(const std::string& sql);
    CSqliteStatement Cached(CSqliteText& text);
    // A statement prepared for this use only.
    CSqliteStatement Prepare(const std::string& sql);
    // Runs a statement that answers no rows.
    void Run(const std::string& sql);
    // Forgets prepared statements and layouts after a change of the schema.
    void SchemaChanged();

    // Layouts by name without regard to case; an unknown table (or view) or index raises.
    const CSqliteTable& Table(const std::wstring& name);
    const CSqliteTable* FindTable(const std::wstring& name);
    // The index of the table (a genuine Jet file's index names are its table's own).
    const CSqliteIndex& Index(const std::wstring& name, const std::wstring& table);
    const std::vector<CJetColumn>* TableColumns(const std::wstring& table) override;
    // Translates a Jet statement against this database's tables.
    CJetStatement Translate(const std::wstring& jetSql);

    // Adds a constraint clause ("CONSTRAINT x FOREIGN KEY ...") to an existing table's definition and runs
    // indexSql (when not empty) with it, in a savepoint so that both join a running transaction; rows already
    // breaking the constraint refuse the change.
    void AddTableConstraint(const std::wstring& table, const std::string& constraint, const std::string& indexSql);

    // The connection's transaction. After a full disk or an I/O error SQLite may end the transaction by itself:
    // the connection's transaction then stays open but refuses every statement (none may run outside it, as if
    // it were still there), a rollback ends it without error and a commit raises.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    // Raises when the database ended the connection's transaction by itself.
    void CheckTransaction();
    bool InTransaction() const;
    [[noreturn]] void RaiseLast(int rc);
    [[noreturn]] void Raise(HRESULT hr, const std::wstring& description) const;
    int64_t LastInsertRowid() const;
    int Changes() const;
    // Counts every step of a statement (and every other way the connection may change rows): while it stays the
    // same, no statement has run since a row was read, so the row's values are still those of the table.
    uint64_t StepCount() const { return m_steps; }
    void CountStep() { ++m_steps; }

private:
    sqlite3_stmt* Compile(const std::string& sql);
    void RewriteDefinition(const std::wstring& table, const std::string& definition);
    std::wstring SchemaText(const char* sql, const std::wstring& name);
    void CheckPassword(const std::wstring& password);
    void StorePassword(const std::wstring& password);

    CJetErrorLog* m_log;
    sqlite3* m_db = nullptr;
    bool m_jetFile = false; // a genuine Jet file's copy: read-only
    CJetFunctionError m_functionError;
    bool m_transaction = false; // begun through the connection and not yet ended through it
    std::unordered_map<std::string, sqlite3_stmt*> m_cache;
    std::unordered_map<std::wstring, CJetStatement> m_translations; // bounded, valid while the schema is
    unsigned m_generation = 1; // of the cached statements
    uint64_t m_steps = 0;
    std::map<std::wstring, std::unique_ptr<CSqliteTable>> m_tables;
    std::map<std::wstring, std::unique_ptr<CSqliteIndex>> m_indexes;
};

// Quotes an identifier for SQLite ("name").
std::string JetQuoteName(const std::wstring& name);
