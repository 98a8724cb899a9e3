// Jet SQL to SQLite: the statement texts the program issues, translated where SQLite differs.
#pragma once

#include <string>
#include <vector>

// A SUM, MIN or MAX of one column in the select list: the output column keeps the column's kind (currency).
struct CJetAggregate
{
    std::wstring m_outputName;
    std::wstring m_column;
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
    // The tables after FROM of a SELECT.
    std::vector<std::wstring> m_fromTables;
    std::vector<CJetAggregate> m_aggregates;
};

// Translates: [names] and "texts" (Jet's string quotes), "\" integer division, the column types of CREATE TABLE
// and ALTER TABLE ... ADD COLUMN (COUNTER, CURRENCY, INTEGER, text types with Jet's collation), CREATE INDEX ...
// WITH PRIMARY, ALTER TABLE ... ADD CONSTRAINT (with the index of a foreign key). Everything else passes as it is.
CJetStatement JetTranslate(const std::wstring& jetSql);
