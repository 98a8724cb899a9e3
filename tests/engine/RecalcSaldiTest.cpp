#include "EngineTestArchive.h"

#include "data/AdoErrorText.h"
#include "engine/RecalcSaldi.h"

#include <functional>
#include <vector>

namespace {

class RecalcSaldiTest : public CEngineTestArchive
{
};

TEST_F(RecalcSaldiTest, EntrateTitleTotalsSkipMissingRowsAndNullYears)
{
    PutYears(L"Entrate", 2101, 100, 10, Null);
    PutYears(L"Entrate", 2103, 0.5, 20, 30);           // 2102 is missing
    PutYears(L"Entrate", 2201, 1000, 0, 0);
    PutYears(L"Entrate", 2205, -1, 0, 0);
    PutYears(L"Entrate", 2401, 50, -30, 50);
    PutYears(L"Entrate", 2406, 20, 0, 10);             // part of title 4
    PutYears(L"Entrate", 3101, 10, 20, 30);
    PutYears(L"Entrate", 3401, Null, Null, Null);
    PutYears(L"Entrate", 3406, 5, 5, 5);
    PutYears(L"Entrate", 2104, 7, 7, 7);               // a stale total is recomputed

    ASSERT_TRUE(RecalcSaldi(m_data));

    const struct { long nID; double years[3]; } totals[] = {
        {2104, {100.5, 30, 30}}, {2206, {999, 0, 0}}, {2306, {0, 0, 0}}, {2407, {70, -30, 60}},
        {3104, {10, 20, 30}}, {3206, {0, 0, 0}}, {3306, {0, 0, 0}}, {3407, {5, 5, 5}},
    };
    for (const auto& total : totals)
        ExpectYears(L"Entrate", total.nID, total.years[0], total.years[1], total.years[2]);
    // Final revenues by year (titles less 2406): 1149.5, 0, 80; the zero year stays out of the mean.
    EXPECT_EQ(614.75, Get(L"Entrate", 2504, L"media123"));
    // Cash: 10, 20, 30.
    EXPECT_EQ(20.0, Get(L"Entrate", 3504, L"media123"));
}

TEST_F(RecalcSaldiTest, AveragesAreTheMeanOfTheNonZeroYears)
{
    const struct { long nID; double years[3]; double mean; } cases[] = {
        {2501, {100, 0, 50}, 75},
        {3501, {-30, 30, Null}, 0},            // two non-zero years summing to 0
        {3503, {1, 2, 2}, 1.6667},             // to the nearest 1/10000
    };
    for (const auto& c : cases)
        PutYears(L"Entrate", c.nID, c.years[0], c.years[1], c.years[2]);

    ASSERT_TRUE(RecalcSaldi(m_data));

    for (const auto& c : cases)
        EXPECT_EQ(c.mean, Get(L"Entrate", c.nID, L"media123")) << c.nID;
    EXPECT_EQ(0.0, Get(L"Entrate", 2503, L"media123"));    // added for the average
}

TEST_F(RecalcSaldiTest, SaldoFinCopiesEntrateAndSumsTheThreeBases)
{
    PutYears(L"Entrate", 2104, 1000, Null, 300);
    PutYears(L"Entrate", 2206, 200, 200, 200);
    PutYears(L"Entrate", 2306, 100, 100, 100);
    PutYears(L"Entrate", 2407, 400, 400, 400);
    PutYears(L"Entrate", 2501, 7, 7, 7);
    PutYears(L"Entrate", 2406, 50, 50, 50);
    PutYears(L"Entrate", 3104, 900, 900, 900);
    PutYears(L"Entrate", 3306, 80, 80, 80);             // 3206 and 3501 are missing
    PutYears(L"Entrate", 3407, 300, 300, 300);
    PutYears(L"Entrate", 3406, 20, 20, 20);
    PutYears(L"SaldoFin", 201, 1500, 500, 500);
    PutYears(L"SaldoFin", 202, 300, 300, 300);
    PutYears(L"SaldoFin", 203, 100, 100, 100);
    PutYears(L"SaldoFin", 1201, 1200, 400, 400);
    PutYears(L"SaldoFin", 1202, 250, 250, 250);
    PutYears(L"SaldoFin", 1203, 50, 50, 50);

    ASSERT_TRUE(CalcSaldoFin(m_data));

    EXPECT_EQ(1000.0, Get(L"SaldoFin", 101, L"Anno1"));
    EXPECT_TRUE(IsNull(L"SaldoFin", 101, L"Anno2"));      // carried over
    const struct { long nID; double years[3]; } rows[] = {
        {102, {200, 200, 200}}, {103, {100, 100, 100}}, {104, {400, 400, 400}}, {105, {7, 7, 7}},
        {106, {50, 50, 50}}, {1101, {900, 900, 900}}, {1102, {0, 0, 0}}, {1103, {80, 80, 80}},
        {1104, {300, 300, 300}}, {1105, {0, 0, 0}}, {1106, {20, 20, 20}},
        // Accrual: 101 + 102 + 103 + 104 - 106, 201 + 202 - 203, their difference.
        {100, {1650, 650, 950}}, {200, {1700, 700, 700}}, {300, {-50, -50, 250}},
        // Cash.
        {1100, {1260, 1260, 1260}}, {1200, {1400, 600, 600}}, {1300, {-140, 660, 660}},
        // Mixed: titles 1 to 3 and current spending on the accrual basis, title 4 and capital spending on cash.
        {2100, {1580, 580, 880}}, {2200, {1700, 700, 700}}, {2300, {-120, -120, 180}},
    };
    for (const auto& row : rows)
        ExpectYears(L"SaldoFin", row.nID, row.years[0], row.years[1], row.years[2]);
}

// Every computed row of an empty archive is there and holds 0, and no other row is made.
TEST_F(RecalcSaldiTest, EmptyArchiveGetsEveryComputedRowAtZero)
{
    ASSERT_TRUE(RecalcSaldi(m_data));

    const struct { LPCTSTR pszTable; std::vector<long> rows; LPCTSTR pszAmounts; } tables[] = {
        {L"Entrate", {2104, 2206, 2306, 2407, 3104, 3206, 3306, 3407, 2501, 2503, 3501, 3503, 2504, 3504},
         L"Anno1, Anno2, Anno3, media123"},
        {L"SaldoFin", {101, 102, 103, 104, 105, 106, 1101, 1102, 1103, 1104, 1105, 1106, 100, 200, 300, 1100,
                       1200, 1300, 2100, 2200, 2300},
         L"Anno1, Anno2, Anno3"},
        {L"SaldoProg", {100, 1100, 2100, 200, 1200, 301, 1301, 300, 1300, 401, 402, 1401, 1402, 105, 1105, 1106,
                        1107, 400, 1400, 2400, 500, 1500, 2500},
         L"Anno1, Anno2, Anno3, Anno4, Anno5, Anno6, media123"},
        {L"Monitor", {401, 402, 501, 502, 1401, 1402, 1501, 1502}, L"Trim1, Trim2, Trim3, Trim4"},
        {L"SaldoFinProg", {2104, 2206, 2306, 2407, 100, 200, 300, 401, 402},
         L"Anno4Com, Anno4Cas, Anno4Mis, Anno5Com, Anno5Cas, Anno5Mis, Anno6Com, Anno6Cas, Anno6Mis"},
        {L"SaldoFinCalc", {401, 402}, L"Anno4Com, Anno4Cas, Anno4Mis"},
    };
    for (const auto& table : tables) {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM %s", table.pszTable);
        EXPECT_EQ(static_cast<long>(table.rows.size()), ScalarLong(sql)) << CString(table.pszTable).ToMultiByte(CP_UTF8);
        for (long nID : table.rows)
            EXPECT_TRUE(HasRow(table.pszTable, nID)) << CString(table.pszTable).ToMultiByte(CP_UTF8) << " " << nID;
        CString amounts(table.pszAmounts);
        amounts.Replace(L", ", L" <> 0 OR ");
        sql.Format(L"SELECT COUNT(*) FROM %s WHERE %s <> 0", table.pszTable, static_cast<LPCTSTR>(amounts));
        EXPECT_EQ(0L, ScalarLong(sql)) << CString(table.pszTable).ToMultiByte(CP_UTF8);
    }
}

// A step that fails takes back what the earlier steps wrote: the chain is one transaction. Each case takes away
// the table of a later step.
class RecalcSaldiFailureTest : public CEngineTestArchive, public ::testing::WithParamInterface<LPCTSTR>
{
};

TEST_P(RecalcSaldiFailureTest, LeavesTheArchiveAsItWas)
{
    PutYears(L"Entrate", 2101, 10, 20, 30);
    PutYears(L"Entrate", 2104, 1, 1, 1);
    PutYears(L"SaldoFin", 201, 5, 5, 5);
    CString sql;
    sql.Format(L"DROP TABLE %s", GetParam());
    Execute(sql);

    EXPECT_THROW(RecalcSaldi(m_data), _com_error);

    EXPECT_EQ(0, m_data.GetTransactionDepth());
    ExpectYears(L"Entrate", 2104, 1.0, 1.0, 1.0);
    EXPECT_EQ(2L, ScalarLong(L"SELECT COUNT(*) FROM Entrate"));
    EXPECT_EQ(1L, ScalarLong(L"SELECT COUNT(*) FROM SaldoFin"));
    const LPCTSTR laterTables[] = {L"SaldoProg", L"Monitor", L"SaldoFinProg", L"SaldoFinCalc"};
    for (LPCTSTR pszTable : laterTables) {
        if (wcscmp(pszTable, GetParam()) == 0)
            continue;
        sql.Format(L"SELECT COUNT(*) FROM %s", pszTable);
        EXPECT_EQ(0L, ScalarLong(sql)) << CString(pszTable).ToMultiByte(CP_UTF8);
    }
}

INSTANTIATE_TEST_SUITE_P(MissingTable, RecalcSaldiFailureTest,
                         ::testing::Values(L"SaldoProg", L"Monitor", L"SaldoFinProg", L"SaldoFinCalc"),
                         [](const ::testing::TestParamInfo<LPCTSTR>& info) {
                             return CString(info.param).ToMultiByte(CP_UTF8);
                         });

TEST_F(RecalcSaldiTest, ClearEntrateYearEmptiesOnlyThatYearOfTheAccrualRows)
{
    PutYears(L"Entrate", 2101, 1, 2, 3);
    PutYears(L"Entrate", 2406, 4, 5, 6);
    PutYears(L"Entrate", 3101, 7, 8, 9);

    ClearEntrateYear(m_data, 2);

    EXPECT_TRUE(IsNull(L"Entrate", 2101, L"Anno2"));
    EXPECT_TRUE(IsNull(L"Entrate", 2406, L"Anno2"));
    EXPECT_EQ(1.0, Get(L"Entrate", 2101, L"Anno1"));
    EXPECT_EQ(6.0, Get(L"Entrate", 2406, L"Anno3"));
    EXPECT_EQ(8.0, Get(L"Entrate", 3101, L"Anno2"));
}

// An amount beyond the range of currency is an error of the recomputation, never a null: the step raises with a
// text naming the field, shown alone (an earlier failure of the connection is not shown with it), and nothing of
// the chain stays written.
TEST_F(RecalcSaldiTest, AnAmountOutOfRangeRaisesAndRollsBack)
{
    struct
    {
        LPCTSTR pszText; // what the error names
        std::function<void()> setUp;
        std::function<bool(CADOConnection&)> step;
    } cases[] = {
        // A monitoring percentage of a balance near 10^9 against a target of 0,0001: 10^15 %.
        {L"campo Trim1 della riga 402 della tabella Monitor",
         [&] {
             Put(L"Monitor", 300, {{L"Trim1", 999999999.0}});
             Put(L"SaldoProg", 400, {{L"Anno4", 0.0001}});
         },
         CalcMonitor},
        // Two revenue items whose title total passes the largest amount.
        {L"campo Anno1 della riga 2104 della tabella Entrate",
         [&] {
             Put(L"Entrate", 2101, {{L"Anno1", 600000000000000.0}});
             Put(L"Entrate", 2102, {{L"Anno1", 600000000000000.0}});
         },
         RecalcSaldi},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszText).ToMultiByte(CP_UTF8));
        c.setUp();
        long nMonitorRows = ScalarLong(L"SELECT COUNT(*) FROM Monitor");
        long nEntrateRows = ScalarLong(L"SELECT COUNT(*) FROM Entrate");
        EXPECT_THROW(Execute(L"DELETE FROM [Manca]"), _com_error);
        try {
            c.step(m_data);
            ADD_FAILURE() << "no error";
        } catch (const _com_error& e) {
            EXPECT_EQ(DISP_E_OVERFLOW, e.Error());
            CString strText = GetComErrorText(e, &m_data);
            EXPECT_NE(-1, strText.Find(c.pszText)) << strText.ToMultiByte(CP_UTF8);
            EXPECT_EQ(CString(static_cast<LPCWSTR>(e.Description())) + L"\n", strText);
        }
        EXPECT_EQ(0, m_data.GetTransactionDepth());
        EXPECT_EQ(nMonitorRows, ScalarLong(L"SELECT COUNT(*) FROM Monitor"));
        EXPECT_EQ(nEntrateRows, ScalarLong(L"SELECT COUNT(*) FROM Entrate"));
        EXPECT_EQ(0L, ScalarLong(L"SELECT COUNT(*) FROM SaldoFin"));
        Execute(L"DELETE FROM Entrate");
        Execute(L"DELETE FROM Monitor");
        Execute(L"DELETE FROM SaldoProg");
    }
}

} // namespace
