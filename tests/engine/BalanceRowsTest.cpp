// The numbered rows of the budget and balance tables: every row the recomputation writes is one of them, and a new
// archive is given them all with zeros, leaving rows that are there as they are.
#include "EngineTestArchive.h"

#include "engine/BalanceRows.h"
#include "engine/RecalcSaldi.h"

#include <set>
#include <utility>

namespace {

class BalanceRowsTest : public CEngineTestArchive
{
protected:
    // The row numbers of a table (in SaldoFinCalc of every centre).
    std::set<long> RowsOf(LPCTSTR pszTable)
    {
        std::set<long> rows;
        CString sql;
        sql.Format(L"SELECT ID FROM [%s]", pszTable);
        _RecordsetPtr records = m_data.Execute(sql, nullptr, adCmdText);
        for (; !records->GetEOF(); records->MoveNext())
            rows.insert(static_cast<long>(records->GetCollect(_variant_t(L"ID"))));
        return rows;
    }
};

TEST_F(BalanceRowsTest, TheRecomputationWritesNoOtherRow)
{
    const long nCentre = AddCentre(L"Ragioneria");
    PutYears(L"Entrate", 2101, 100, 200, 300);
    PutYears(L"SaldoFin", 201, 50, 60, 70);
    Put(L"SaldoFinCalc", 2101, {{L"Anno4Com", 10}}, nCentre);
    ASSERT_TRUE(RecalcSaldi(m_data));
    for (LPCTSTR pszTable : GetBalanceTables()) {
        const std::set<long> rows = RowsOf(pszTable);
        EXPECT_FALSE(rows.empty()) << CString(pszTable).ToMultiByte(CP_UTF8);
        for (long nRow : rows)
            EXPECT_TRUE(IsBalanceRow(pszTable, nRow)) << CString(pszTable).ToMultiByte(CP_UTF8) << " " << nRow;
    }
}

TEST_F(BalanceRowsTest, ANewArchiveGetsEveryRowWithZerosAndKeepsWhatIsThere)
{
    PutYears(L"SaldoFin", 201, 50, 60, 70);
    AddMissingBalanceRows(m_data);
    AddMissingBalanceRows(m_data);   // nothing more the second time
    for (LPCTSTR pszTable : GetBalanceTables()) {
        SCOPED_TRACE(CString(pszTable).ToMultiByte(CP_UTF8));
        std::set<long> expected;
        for (const CBalanceRowRange& range : GetBalanceRows(pszTable))
            for (long nRow = range.nFirst; nRow <= range.nLast; ++nRow)
                expected.insert(nRow);
        EXPECT_EQ(expected, RowsOf(pszTable));
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM [%s]", pszTable);
        EXPECT_EQ(static_cast<long>(expected.size()), ScalarLong(sql));
    }
    ExpectYears(L"SaldoFin", 201, 50, 60, 70);
    const struct
    {
        LPCTSTR pszTable;
        long nRow;
        LPCTSTR pszField;
        long nIdResp;
    } zeros[] = {
        {L"SaldoFin", 1203, L"Anno3", NoResp}, {L"Entrate", 3407, L"media123", NoResp},
        {L"Monitor", 502, L"Trim4", NoResp},   {L"SaldoProg", 500, L"Anno1", NoResp},
        {L"SaldoFinCalc", 2502, L"Anno4Mis", 0},
    };
    for (const auto& z : zeros)
        EXPECT_EQ(0.0, Get(z.pszTable, z.nRow, z.pszField, z.nIdResp)) << z.nRow;
}

} // namespace
