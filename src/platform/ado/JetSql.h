// Jet SQL to SQLite: the statement texts the program issues, translated where SQLite differs.
#pragma once

#include "platform/ado/JetErrors.h"
#include "platform/ado/JetValue.h"

#include <string>
#include <vector>

// What the translator knows of the database: the columns of a table, to give every expression its Jet type.
class CJetSchema
{
public:
    // The columns of a table (or view) in order; null when there is no such table.
    virtual const std::vector<CJetColumn>* TableColumns(const std::wstring& table) = 0;

protected:
    ~CJetSchema() = default;
};

struct CJetStatement
{
    enum EKind { kindSelect, kindChange, kindSchema, kindAddConstraint, kindOther };

    EKind m_kind = kindOther;
    // The SQLite text; for kindAddConstraint the constraint clause to add to m_table.
    std::string m_sql;
    // For kindAddConstraint of a FOREIGN KEY: the index on the child columns, named as the constraint, that Jet
    // makes with every relationship (the per-centre queries of the child tables rely on it).
    std::string m_indexSql;
    // A SELECT of a single table without grouping: the same text with the rowid as its first column, so that
    // its rows can be changed; empty otherwise.
    std::string m_rowidSql;
    // The table of an updatable SELECT or of ALTER TABLE ... ADD CONSTRAINT.
    std::wstring m_table;
    // Of a SELECT, by output position: the kind of each expression's result (jetKindAny: by the column's declared
    // type or the value). Shorter than the output when a "*" covers a table the translator does not know.
    std::vector<EJetKind> m_outputKinds;
};

// Translates: [names] and "texts" (Jet's string quotes), the column types of CREATE TABLE and ALTER TABLE ...
// ADD COLUMN (COUNTER, CURRENCY, INTEGER, text types with Jet's collation), CREATE INDEX ... WITH PRIMARY,
// ALTER TABLE ... ADD CONSTRAINT (with the index of a foreign key), and in expressions Jet's operators and types:
// a currency column holds its count of 1/10000, and every number meeting it (a literal, a sum, a product, a value
// stored into it) is taken as an amount; "\" is integer division and "/" real division, both refusing a zero
// divisor; a text stored into a column longer than its width is refused. The SQL functions named jet_* that the
// translation calls are registered by CSqliteDatabase. Nesting deeper than Jet takes raises "Query is too
// complex." into log.
CJetStatement JetTranslate(const std::wstring& jetSql, CJetSchema* schema, CJetErrorLog* log);
