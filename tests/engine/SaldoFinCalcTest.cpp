#include "EngineTestArchive.h"

#include "data/SetExtraCap.h"
#include "data/SetSettings.h"
#include "engine/RecalcSaldi.h"

namespace {

const LPCTSTR kBases[] = {L"Anno4Com", L"Anno4Cas", L"Anno4Mis"};

class SaldoFinCalcTest : public CEngineTestArchive
{
protected:
    void SetUp() override
    {
        CEngineTestArchive::SetUp();
        // Targets of 2008: accrual, cash (0: no percentage), mixed.
        Put(L"SaldoProg", 400, {{L"Anno4", 100}});
        Put(L"SaldoProg", 1400, {{L"Anno4", 0}});
        Put(L"SaldoProg", 2400, {{L"Anno4", 200}});
    }

    struct CRow
    {
        long nID;
        double values[3];   // accrual, cash, mixed
    };

    void PutTyped(long nIdResp, long nID, double com, double cas)
    {
        Put(L"SaldoFinCalc", nID, {{L"Anno4Com", com}, {L"Anno4Cas", cas}}, nIdResp);
    }

    void ExpectRows(long nIdResp, std::initializer_list<CRow> rows, int nBases = 3)
    {
        for (const CRow& row : rows) {
            for (int b = 0; b < nBases; ++b)
                EXPECT_EQ(row.values[b], Get(L"SaldoFinCalc", row.nID, kBases[b], nIdResp))
                    << "centre " << nIdResp << ", row " << row.nID << ", " << CString(kBases[b]).ToMultiByte(CP_UTF8);
        }
    }

    // Two centres with title items typed for 2008.
    void TypeTwoCentres(long nFirst, long nSecond)
    {
        PutTyped(nFirst, 2101, 100, 80);
        PutTyped(nFirst, 2102, 50, 50);
        PutTyped(nFirst, 2401, 40, 30);
        PutTyped(nFirst, 2406, 10, 5);
        PutTyped(nFirst, 2502, 2, 1);
        PutTyped(nFirst, 201, 60, 50);
        PutTyped(nFirst, 203, 5, 5);
        PutTyped(nSecond, 2201, 200, 100);
        PutTyped(nSecond, 202, 30, 20);
    }

    void AddChapter(int nKind, long nIdResp, LPCTSTR pszCode, long nChapter, double comp, double cassa)
    {
        CString sql;
        sql.Format(L"INSERT INTO %s (ID, descrizione, codUEB) VALUES (%d, 'Capitolo', '%s')",
                   nKind == CSetExtraCap::kindSpese ? L"CapSpese" : L"CapEntrate", static_cast<int>(nChapter),
                   pszCode);
        Execute(sql);
        CSetExtraCap set(m_data, nKind);
        set.OpenNullKey();
        set.m_rec.m_idResp.SetValue(nIdResp);
        set.m_rec.m_codUEB.SetText(pszCode);
        set.m_rec.m_capitolo.SetValue(nChapter);
        if (!std::isnan(comp))
            set.m_rec.m_importoComp.SetDouble(comp);
        if (!std::isnan(cassa))
            set.m_rec.m_importoCassa.SetDouble(cassa);
        set.AddNew();
    }
};

TEST_F(SaldoFinCalcTest, TypedTitlesGiveEachCentresBalancesAndTheTotals)
{
    long nBianchi = AddCentre(L"Bianchi");
    long nRossi = AddCentre(L"Rossi");
    TypeTwoCentres(nBianchi, nRossi);
    Put(L"SaldoFinCalc", 999, {{L"Anno4Com", 5}, {L"Anno6Mis", 5}}, 0);   // a stale totals row

    ASSERT_TRUE(CalcSaldoFinCalc(m_data));

    ExpectRows(nBianchi, {{2104, {150, 130, 150}}, {2206, {0, 0, 0}}, {2306, {0, 0, 0}}, {2407, {50, 35, 35}},
                          {2502, {2, 1, 1}}, {2406, {10, 5, 5}}, {201, {60, 50, 60}}, {203, {5, 5, 5}},
                          {100, {188, 159, 179}}, {200, {55, 45, 55}}, {300, {133, 114, 124}},
                          {401, {33, 114, -76}}, {402, {33, 0, -38}}});
    ExpectRows(nRossi, {{2206, {200, 100, 200}}, {202, {30, 20, 20}}, {100, {200, 100, 200}},
                        {200, {30, 20, 20}}, {300, {170, 80, 180}}, {401, {70, 80, -20}}, {402, {70, 0, -10}}});
    // The totals sum the centres row by row; their differences come from their own balance.
    ExpectRows(0, {{2104, {150, 130, 150}}, {2206, {200, 100, 200}}, {100, {388, 259, 379}}, {200, {85, 65, 75}},
                   {300, {303, 194, 304}}, {401, {203, 194, 104}}, {402, {203, 0, 52}}, {999, {0, 0, 0}}});
    EXPECT_EQ(0.0, Get(L"SaldoFinCalc", 999, L"Anno6Mis", 0));
}

TEST_F(SaldoFinCalcTest, ChaptersGiveTheTitlesOfEachCentre)
{
    SetAccountingMode(1);
    long nBianchi = AddCentre(L"Bianchi");
    long nRossi = AddCentre(L"Rossi");
    const int entrate = CSetExtraCap::kindEntrate, spese = CSetExtraCap::kindSpese;
    AddChapter(entrate, nBianchi, L"1010100", 1, 100, 90);
    AddChapter(entrate, nBianchi, L"1020100", 2, 50, 40);
    AddChapter(entrate, nBianchi, L"3010100", 3, 20, Null);
    AddChapter(entrate, nBianchi, L"4060100", 4, 30, 25);     // collection of credits
    AddChapter(entrate, nBianchi, L"4010100", 5, 70, 60);
    AddChapter(entrate, nBianchi, L"5000000", 6, 999, 999);   // title 5 is no revenue of the balance
    AddChapter(spese, nBianchi, L"1010100", 1, 300, 250);
    AddChapter(spese, nBianchi, L"2010110", 2, 40, 35);       // granting of credits
    AddChapter(spese, nBianchi, L"2020100", 3, 60, 45);
    AddChapter(spese, nBianchi, L"3010100", 4, 11, 11);
    AddChapter(entrate, nRossi, L"1010100", 7, Null, Null);
    PutTyped(nBianchi, 211, 5, 4);                            // typed, kept
    PutTyped(nBianchi, 2206, 77, 77);                         // no chapter of title 2 any more
    PutTyped(nRossi, 2407, 9, 9);

    ASSERT_TRUE(CalcSaldoFinCalc(m_data));

    ExpectRows(nBianchi, {{2104, {150, 130, 150}}, {2206, {0, 0, 0}}, {2306, {20, 0, 20}}, {2407, {100, 85, 85}},
                          {2406, {30, 25, 25}}, {201, {300, 250, 300}}, {211, {5, 4, 5}}, {202, {100, 80, 80}},
                          {203, {40, 35, 35}}, {100, {240, 190, 230}}, {200, {355, 291, 340}},
                          {300, {-115, -101, -110}}, {401, {-215, -101, -310}}, {402, {-215, 0, -155}}});
    // Only null amounts: every row 0.
    ExpectRows(nRossi, {{2104, {0, 0, 0}}, {2206, {0, 0, 0}}, {2306, {0, 0, 0}}, {2407, {0, 0, 0}},
                        {2406, {0, 0, 0}}, {201, {0, 0, 0}}, {202, {0, 0, 0}}, {203, {0, 0, 0}}, {300, {0, 0, 0}}});
    ExpectRows(0, {{300, {-115, -101, -110}}, {401, {-215, -101, -310}}});
}

// A mode other than 1 in a damaged archive is the mode without chapters, as the frame reads it: the typed titles
// stay and no chapter takes their place.
TEST_F(SaldoFinCalcTest, AnUnknownAccountingModeIsTheModeWithoutChapters)
{
    long nBianchi = AddCentre(L"Bianchi");
    long nRossi = AddCentre(L"Rossi");
    TypeTwoCentres(nBianchi, nRossi);
    AddChapter(CSetExtraCap::kindEntrate, nBianchi, L"1010100", 1, 999, 999);
    for (LPCTSTR pszMode : {L"2", L"-1", L"uno"}) {
        SCOPED_TRACE(CString(pszMode).ToMultiByte(CP_UTF8));
        CSetSettings::SetSetting(m_data, L"imp_extra_cont2", pszMode);
        EXPECT_EQ(0, CSetSettings::GetSettingImpExtraCont2(m_data));
        ASSERT_TRUE(CalcSaldoFinCalc(m_data));
        ExpectRows(nBianchi, {{2104, {150, 130, 150}}, {100, {188, 159, 179}}});
    }
}

TEST_F(SaldoFinCalcTest, DeletedCentreLeavesTheTotals)
{
    long nBianchi = AddCentre(L"Bianchi");
    long nRossi = AddCentre(L"Rossi");
    TypeTwoCentres(nBianchi, nRossi);
    ASSERT_TRUE(CalcSaldoFinCalc(m_data));

    CString sql;
    sql.Format(L"DELETE FROM Responsabili WHERE ID = %d", static_cast<int>(nRossi));
    Execute(sql);
    sql.Format(L"SELECT COUNT(*) FROM SaldoFinCalc WHERE idResp = %d", static_cast<int>(nRossi));
    EXPECT_EQ(0L, ScalarLong(sql));

    ASSERT_TRUE(CalcSaldoFinCalc(m_data));

    ExpectRows(0, {{2206, {0, 0, 0}}, {300, {133, 114, 124}}, {401, {33, 114, -76}}});
}

// An archive made before the balances of a centre went with it keeps the rows of deleted centres.
TEST_F(SaldoFinCalcTest, RowsOfACentreThatNoLongerExistsStayOutOfTheTotals)
{
    Execute(L"DROP TABLE SaldoFinCalc");
    Execute(L"CREATE TABLE [SaldoFinCalc] ([ID] INTEGER NOT NULL, [idResp] INTEGER NOT NULL, "
            L"[Anno4Com] CURRENCY, [Anno4Cas] CURRENCY, [Anno4Mis] CURRENCY, [Anno5Com] CURRENCY, "
            L"[Anno5Cas] CURRENCY, [Anno5Mis] CURRENCY, [Anno6Com] CURRENCY, [Anno6Cas] CURRENCY, "
            L"[Anno6Mis] CURRENCY)");
    Execute(L"CREATE UNIQUE INDEX [PK_SALDOFINCALC] ON [SaldoFinCalc] ([ID], [idResp]) WITH PRIMARY");
    long nBianchi = AddCentre(L"Bianchi");
    long nGone = AddCentre(L"Verdi");
    PutTyped(nBianchi, 2101, 100, 80);
    PutTyped(nGone, 2101, 1000, 1000);
    PutTyped(nGone, 300, 1000, 1000);
    CString sql;
    sql.Format(L"DELETE FROM Responsabili WHERE ID = %d", static_cast<int>(nGone));
    Execute(sql);

    ASSERT_TRUE(CalcSaldoFinCalc(m_data));

    ExpectRows(0, {{2101, {100, 80}}}, 2);
    EXPECT_TRUE(IsNull(L"SaldoFinCalc", 2101, L"Anno4Mis", 0));   // the sum of nulls, as the query gives it
    ExpectRows(0, {{2104, {100, 80, 100}}, {300, {100, 80, 100}}});
}

TEST_F(SaldoFinCalcTest, WithoutCentresTheTotalsAreZero)
{
    Put(L"SaldoFinCalc", 300, {{L"Anno4Com", 7}, {L"Anno4Cas", 7}, {L"Anno4Mis", 7}}, 0);

    ASSERT_TRUE(CalcSaldoFinCalc(m_data));

    ExpectRows(0, {{300, {0, 0, 0}}, {401, {-100, 0, -200}}, {402, {-100, 0, -100}}});
}

} // namespace
