#include "EngineTestArchive.h"

#include "engine/RecalcSaldi.h"

namespace {

class ForecastTest : public CEngineTestArchive
{
};

const LPCTSTR kQuarters[] = {L"Trim1", L"Trim2", L"Trim3", L"Trim4"};

TEST_F(ForecastTest, MonitorDifferencesAndPercentagesOfTheTargets)
{
    const struct Basis {
        long nOffset;
        double annual;
        double quarterTargets[4];
        double balances[4];
        double fromAnnual[4], fromAnnualPercent[4], fromQuarter[4], fromQuarterPercent[4];
    } bases[] = {
        // Percentages relative to the size of a negative target; a quarter target of 0 gives 0 %.
        {0, -1000, {-250, 0, 500, -1000}, {-500, 100, 250, -1200},
         {500, 1100, 1250, -200}, {50, 110, 125, -20}, {-250, 100, -250, -200}, {-100, 0, -50, -20}},
        // An annual target of 0 gives 0 %; percentages kept to the nearest 1/10000.
        {1000, 0, {3, 3, 3, 3}, {10, 20, 30, 40},
         {10, 20, 30, 40}, {0, 0, 0, 0}, {7, 17, 27, 37}, {233.3333, 566.6667, 900, 1233.3333}},
    };
    for (const Basis& b : bases) {
        Put(L"SaldoProg", 400 + b.nOffset, {{L"Anno4", b.annual}});
        Put(L"SaldoProg", 500 + b.nOffset, {{L"Anno1", b.quarterTargets[0]}, {L"Anno2", b.quarterTargets[1]},
                                            {L"Anno3", b.quarterTargets[2]}, {L"Anno4", b.quarterTargets[3]}});
        Put(L"Monitor", 300 + b.nOffset, {{L"Trim1", b.balances[0]}, {L"Trim2", b.balances[1]},
                                          {L"Trim3", b.balances[2]}, {L"Trim4", b.balances[3]}});
    }

    ASSERT_TRUE(CalcMonitor(m_data));

    for (const Basis& b : bases) {
        const struct { long nID; const double* pValues; } rows[] = {
            {401, b.fromAnnual}, {402, b.fromAnnualPercent}, {501, b.fromQuarter}, {502, b.fromQuarterPercent},
        };
        for (const auto& row : rows) {
            for (int q = 0; q < 4; ++q)
                EXPECT_EQ(row.pValues[q], Get(L"Monitor", row.nID + b.nOffset, kQuarters[q])) << row.nID + b.nOffset;
        }
    }
}

// 2008 carries the full figures; 2009 only a few, 2010 none.
TEST_F(ForecastTest, SaldoFinProgBalancesOnTheThreeBasesAndTheirDifferences)
{
    const struct { long nID; double com; double cas; } items[] = {
        {2101, 100, 90}, {2102, 50, 40}, {2201, 20, 10}, {2401, 300, 200}, {2406, 30, 25},
        {201, 400, 350}, {211, 10, 8}, {202, 100, 60}, {212, 20, Null}, {203, 7, 6},
    };                                              // 2502 is missing
    for (const auto& item : items)
        Put(L"SaldoFinProg", item.nID, {{L"Anno4Com", item.com}, {L"Anno4Cas", item.cas}});
    Put(L"SaldoFinProg", 212, {{L"Anno4Mis", 99}});     // replaced even though its cash figure is null
    Put(L"SaldoFinProg", 2101, {{L"Anno5Com", 1000}, {L"Anno5Cas", 800}});
    Put(L"SaldoFinProg", 202, {{L"Anno5Cas", 300}});
    Put(L"SaldoProg", 400, {{L"Anno4", 10}});
    Put(L"SaldoProg", 1400, {{L"Anno4", 0}});
    Put(L"SaldoProg", 2400, {{L"Anno4", -50}, {L"Anno5", 100}, {L"Anno6", 0}});

    ASSERT_TRUE(CalcSaldoFinProg(m_data));

    const struct { long nID; double com, cas, mis; } rows2008[] = {
        {2104, 150, 130, 150}, {2206, 20, 10, 20}, {2306, 0, 0, 0}, {2407, 330, 225, 225},
        // Components keep their own figures and show on the mixed basis what they give (a null gives 0).
        {2406, 30, 25, 25}, {201, 400, 350, 400}, {211, 10, 8, 10}, {202, 100, 60, 60}, {203, 7, 6, 6},
        // 100 = titles - 2502 - 2406; 200 = 201 - 211 + 202 - 212 - 203; 300 = 100 - 200.
        {100, 470, 340, 370}, {200, 463, 396, 444}, {300, 7, -56, -74},
        // Differences from the targets 10, 0 and -50, and in percent.
        {401, -3, -56, -24}, {402, -30, 0, -48},
    };
    for (const auto& row : rows2008) {
        EXPECT_EQ(row.com, Get(L"SaldoFinProg", row.nID, L"Anno4Com")) << row.nID;
        EXPECT_EQ(row.cas, Get(L"SaldoFinProg", row.nID, L"Anno4Cas")) << row.nID;
        EXPECT_EQ(row.mis, Get(L"SaldoFinProg", row.nID, L"Anno4Mis")) << row.nID;
    }
    EXPECT_TRUE(IsNull(L"SaldoFinProg", 212, L"Anno4Cas"));
    EXPECT_EQ(0.0, Get(L"SaldoFinProg", 212, L"Anno4Mis"));
    EXPECT_FALSE(HasRow(L"SaldoFinProg", 2502));

    const struct { long nID; LPCTSTR pszField; double value; } otherYears[] = {
        {2104, L"Anno5Com", 1000}, {2104, L"Anno5Cas", 800}, {2104, L"Anno5Mis", 1000},
        {300, L"Anno5Com", 1000}, {300, L"Anno5Cas", 500}, {300, L"Anno5Mis", 700},
        {401, L"Anno5Mis", 600}, {402, L"Anno5Mis", 600}, {401, L"Anno6Mis", 0}, {402, L"Anno6Mis", 0},
        // Only 2008 has differences on the accrual and cash bases.
        {401, L"Anno5Com", 0}, {401, L"Anno5Cas", 0},
    };
    for (const auto& value : otherYears)
        EXPECT_EQ(value.value, Get(L"SaldoFinProg", value.nID, value.pszField))
            << value.nID << " " << CString(value.pszField).ToMultiByte(CP_UTF8);

    // A difference row taken away comes back.
    Execute(L"DELETE FROM SaldoFinProg WHERE ID = 401");
    ASSERT_TRUE(CalcSaldoFinProg(m_data));
    EXPECT_EQ(-3.0, Get(L"SaldoFinProg", 401, L"Anno4Com"));
}

} // namespace
