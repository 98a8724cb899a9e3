#include "EngineTestArchive.h"

#include "engine/RecalcSaldi.h"

namespace {

class SaldoProgTest : public CEngineTestArchive
{
protected:
    void ExpectTargetRow(long nID, double anno4, double anno5, double anno6)
    {
        EXPECT_EQ(anno4, Get(L"SaldoProg", nID, L"Anno4")) << nID;
        EXPECT_EQ(anno5, Get(L"SaldoProg", nID, L"Anno5")) << nID;
        EXPECT_EQ(anno6, Get(L"SaldoProg", nID, L"Anno6")) << nID;
    }
};

// Rounded balances and means, the improvement owed and by spending, the ceiling and the revenue averages, all in
// case 2 (d = -1000 below d2 = 0).
TEST_F(SaldoProgTest, IntermediateRowsAreRoundedAndTheImprovementIsCapped)
{
    PutYears(L"SaldoFin", 300, 4999.5, 5000.4, 5000);        // 5000, 5000, 5000
    PutYears(L"SaldoFin", 1300, -1000.5, -999.5, -1000);     // -1001, -1000, -1000: d = -1000
    PutYears(L"SaldoFin", 2300, 10.5, -10.5, 0);             // 11, -11, 0: d2 = 0
    PutYears(L"SaldoFin", 1201, 100000, 100000, 0);
    PutYears(L"SaldoFin", 1200, 20000, 20000, 20000);        // ceiling 1600
    PutYears(L"Entrate", 2501, 300.4, 0, 299.6);             // 300, 0, 300
    PutYears(L"Entrate", 3501, 199.5, 200.49, 0);            // 200, 200, 0: s2 = 200
    Put(L"Entrate", 3503, {{L"media123", 2999.5}});          // s3 = 3000
    Put(L"Entrate", 3504, {{L"media123", 1000.4}});          // s4 = 1000

    ASSERT_TRUE(CalcSaldoFinSaldoProg(m_data));

    const struct { long nID; double past[3]; double mean; double future[3]; } rows[] = {
        {100, {5000, 5000, 5000}, 5000, {-205, -155, -155}},
        {1100, {-1001, -1000, -1000}, -1000, {-205, -155, -155}},
        {2100, {11, -11, 0}, 0, {-205, -155, -155}},
        {200, {100000, 100000, 0}, 100000, {1700, 1300, 1300}},
        {1200, {100000, 100000, 0}, 100000, {1700, 1300, 1300}},
    };
    for (const auto& row : rows) {
        ExpectYears(L"SaldoProg", row.nID, row.past[0], row.past[1], row.past[2]);
        EXPECT_EQ(row.mean, Get(L"SaldoProg", row.nID, L"media123")) << row.nID;
        ExpectTargetRow(row.nID, row.future[0], row.future[1], row.future[2]);
    }
    // Before and after the ceiling.
    ExpectTargetRow(301, 1905, 1455, 1455);
    ExpectTargetRow(1301, 1905, 1455, 1455);
    ExpectTargetRow(300, 1600, 1455, 1455);
    ExpectTargetRow(1300, 1600, 1455, 1455);
    const struct { long nID; double mean; } means[] = {
        {401, 20000}, {402, 1600}, {1401, 20000}, {1402, 1600}, {105, 300}, {1105, 200}, {1106, 150}, {1107, 2850},
    };
    for (const auto& mean : means)
        EXPECT_EQ(mean.mean, Get(L"SaldoProg", mean.nID, L"media123")) << mean.nID;
    // Case 2: d2 + I - s2 on the mixed basis; 2008 also on the cash (I + d - s2) and accrual bases (I + 5000 - 300).
    ExpectTargetRow(2400, 1400, 1255, 1255);
    ExpectTargetRow(1400, 400, 0, 0);
    ExpectTargetRow(400, 6300, 0, 0);
    EXPECT_EQ(6300.0, Get(L"SaldoProg", 500, L"Anno4"));
    EXPECT_EQ(400.0, Get(L"SaldoProg", 1500, L"Anno4"));
    EXPECT_EQ(1400.0, Get(L"SaldoProg", 2500, L"Anno4"));
}

// The five cases, from the averages d (cash) and d2 (mixed) and the excess V = s3 - 15 % of 1000. Unless a case
// says otherwise, it has the accrual average 5000, the improvement by spending 1700, 1300, 1300 (current spending
// 100000) under a ceiling of 4000 (8 % of the final spending 50000), s2 = 200 and the accrual revenue average 300.
TEST_F(SaldoProgTest, TargetsOfTheFiveCases)
{
    const struct Case {
        LPCTSTR pszName;
        double d, d2, s3;
        double accrual[3], cash[3], mixed[3];
        double currentSpending = 100000;
        double finalSpending = 50000;
    } cases[] = {
        // I = 1905, 1455, 1455 (d < 0 owes 205, 155, 155 more).
        {L"0: d <= 0, d2 <= d", -1000, -2000, 3000, {0, 0, 0}, {0, 0, 0}, {-295, -745, -745}},
        {L"0: d = 0", 0, 0, 0, {0, 0, 0}, {0, 0, 0}, {1500, 1100, 1100}},
        {L"2: d <= 0, d2 > d", -1000, 3000, 3000, {6605, 0, 0}, {705, 0, 0}, {4705, 4255, 4255}},
        // V = -50: nothing beyond the improvement.
        {L"1: d > 0, d2 <= d, V <= 0", 1000, 800, 100, {0, 0, 0}, {0, 0, 0}, {600, 600, 600}},
        // V = 2850 goes beyond the improvement by 1150, 1550, 1550.
        {L"3: d > 0, d2 <= d, V > 0", 1000, 800, 3000, {0, 0, 0}, {0, 0, 0}, {-550, -950, -950}},
        {L"4: d > 0, d2 > d", 1000, 1500, 3000, {3850, 0, 0}, {-150, 0, 0}, {150, -250, -250}},
        {L"4: excess below the improvement", 1000, 1500, 100, {5000, 0, 0}, {1000, 0, 0}, {1300, 1300, 1300}},
        // A ceiling of 1600 caps the 2008 improvement before the excess beyond it is taken: 1250, 1550, 1550.
        {L"4: capped improvement", 1000, 1500, 3000, {3750, 0, 0}, {-250, 0, 0}, {50, -250, -250}, 100000, 20000},
        // The improvement by spending counts by its size: still 1700, 1300, 1300 (I = 1905, 1455, 1455).
        {L"0: negative current spending", -1000, -2000, 3000, {0, 0, 0}, {0, 0, 0}, {-295, -745, -745}, -100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.pszName).ToMultiByte(CP_UTF8));
        PutYears(L"SaldoFin", 300, 5000, 5000, 5000);
        PutYears(L"SaldoFin", 1300, c.d, c.d, c.d);
        PutYears(L"SaldoFin", 2300, c.d2, c.d2, c.d2);
        PutYears(L"SaldoFin", 1201, c.currentSpending, c.currentSpending, c.currentSpending);
        PutYears(L"SaldoFin", 1200, c.finalSpending, c.finalSpending, c.finalSpending);
        PutYears(L"Entrate", 2501, 300, 300, 300);
        PutYears(L"Entrate", 3501, 200, 200, 200);
        Put(L"Entrate", 3503, {{L"media123", c.s3}});
        Put(L"Entrate", 3504, {{L"media123", 1000}});

        ASSERT_TRUE(CalcSaldoFinSaldoProg(m_data));

        ExpectTargetRow(400, c.accrual[0], c.accrual[1], c.accrual[2]);
        ExpectTargetRow(1400, c.cash[0], c.cash[1], c.cash[2]);
        ExpectTargetRow(2400, c.mixed[0], c.mixed[1], c.mixed[2]);
        EXPECT_EQ(c.accrual[0], Get(L"SaldoProg", 500, L"Anno4"));
        EXPECT_EQ(c.cash[0], Get(L"SaldoProg", 1500, L"Anno4"));
        EXPECT_EQ(c.mixed[0], Get(L"SaldoProg", 2500, L"Anno4"));
    }
}

// The rates are doubles, as the amounts: 20.5 % of 76297300 is 15640946.5, but 0.205 is a little less as a double
// and the product falls short of the half; 15.5 % of it gives 11826081.5 as a double too, which rounds away from
// zero. (An x87 unit left at 64-bit precision rounds the first product twice, up to the half.)
TEST_F(SaldoProgTest, ImprovementOwedIsTheRoundedProductOfDoubles)
{
    PutYears(L"SaldoFin", 1300, -76297300, -76297300, -76297300);

    ASSERT_TRUE(CalcSaldoFinSaldoProg(m_data));

    ExpectTargetRow(1100, -15640946, -11826082, -11826082);
    ExpectTargetRow(301, 15640946, 11826082, 11826082);
}

TEST_F(SaldoProgTest, MissingCashBalanceOwesNothing)
{
    PutYears(L"SaldoFin", 1201, 100000, 100000, 100000);
    PutYears(L"SaldoFin", 1200, 50000, 50000, 50000);

    ASSERT_TRUE(CalcSaldoFinSaldoProg(m_data));

    EXPECT_EQ(0.0, Get(L"SaldoProg", 1100, L"media123"));
    ExpectTargetRow(1100, 0, 0, 0);
    ExpectTargetRow(300, 1700, 1300, 1300);
}

} // namespace
