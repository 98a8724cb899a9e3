#include "data/DataTestArchive.h"
#include "reports/ReportVariants.h"
#include "util/MessageText.h"

#include <string>

namespace {

// Every name that some case hides.
const LPCTSTR kAllHiddenNames[] = {L"e", L"f", L"g", L"h", L"i", L"l", L"m", L"n", L"o", L"p", L"M1", L"M2",
                                   L"M3", L"SFNA1", L"SFNA2", L"SFNA3", L"t", L"8P", L"q1", L"r1", L"s1",
                                   L"s2com", L"s3", L"s4", L"s5", L"s6", L"u1", L"u2"};

class ReportVariantsTest : public CDataTestArchive
{
protected:
    CString Filled(LPCTSTR pszText, CReportFiller& filler)
    {
        CTextDocument doc;
        doc.AppendText(pszText, CTextCharFormat());
        filler.FillSpans(doc);
        return doc.GetText();
    }

    void PutSaldoProg(long nID, double anno1, double media)
    {
        CString sql;
        sql.Format(L"INSERT INTO SaldoProg (ID, Anno1, media123) VALUES (%d, %.4f, %.4f)", static_cast<int>(nID),
                   anno1, media);
        Execute(sql);
    }

    long AddCentre(LPCTSTR pszName, LPCTSTR pszCentre)
    {
        CString sql;
        sql.Format(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('%s', '%s')", pszName, pszCentre);
        Execute(sql);
        return ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
    }
};

TEST(CspCaseTest, CaseFollowsTheAveragesAndTheExcess)
{
    const struct
    {
        double d, d2, x;
        int nCase;
    } cases[] = {
        {0, 0, 5, 0}, {-3, -4, 0, 0}, {0, 1, 0, 2}, {-1, 0, 9, 2}, {2, 2, 0, 1}, {2, 1, -1, 1},
        {2, 2, 0.0001, 3}, {5, 1, 3, 3}, {1, 2, 0, 4}, {1, 2, 7, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nCase, CspCase(c.d, c.d2, c.x)) << "d " << c.d << ", d2 " << c.d2 << ", X " << c.x;
}

TEST(CspCaseTest, EachCaseHidesItsNames)
{
    const size_t counts[] = {7, 28, 4, 21, 26};
    for (int nCase = 0; nCase < 5; ++nCase) {
        size_t n = 0;
        for (LPCTSTR name : kAllHiddenNames)
            n += IsHiddenInCspCase(nCase, name);
        EXPECT_EQ(counts[nCase], n) << "case " << nCase;
        EXPECT_FALSE(IsHiddenInCspCase(nCase, L"d2"));
    }
    EXPECT_TRUE(IsHiddenInCspCase(2, L"S3"));
    EXPECT_TRUE(IsHiddenInCspCase(1, L"s6"));
    EXPECT_FALSE(IsHiddenInCspCase(0, L"q1"));
    EXPECT_FALSE(IsHiddenInCspCase(3, L"q1"));
    EXPECT_TRUE(IsHiddenInCspCase(4, L"q1"));
}

TEST_F(ReportVariantsTest, CaseIsReadFromTheAverages)
{
    EXPECT_EQ(0, ReadCspCase(m_data)) << "no rows";
    PutSaldoProg(1100, 0, 10);
    PutSaldoProg(2100, 0, 4);
    EXPECT_EQ(1, ReadCspCase(m_data));
    PutSaldoProg(1107, 0, 0.5);
    EXPECT_EQ(3, ReadCspCase(m_data));
    Execute(L"UPDATE SaldoProg SET media123 = 20 WHERE ID = 2100");
    EXPECT_EQ(4, ReadCspCase(m_data));
}

TEST_F(ReportVariantsTest, ProgrammedTargetReportShowsTheTextsOfItsCase)
{
    PutSaldoProg(1, 100, 0);   // 8P
    PutSaldoProg(2, 150, 0);   // M1 above P
    PutSaldoProg(3, 100, 0);   // M2 equal to P
    PutSaldoProg(4, 20, 0);    // M3 below P
    PutSaldoProg(5, 7, 0);     // s3
    const LPCTSTR pszTemplate =
        L"$[L:N;T:SaldoProg;R:1;F:Anno1;NAME:8P]$|$[L:N;R:2;F:Anno1;NAME:M1]$|$[L:N;R:3;F:Anno1;NAME:M2]$|"
        L"$[L:N;R:4;F:Anno1;NAME:M3]$|$[L:T;NAME:ME1]$|$[L:T;NAME:me2]$|$[L:T;NAME:ME3]$|"
        L"$[L:N;R:5;F:Anno1;NAME:s3]$|$[L:N;R:5;F:Anno1;NAME:CASO_C_X]$|$[L:N;R:5;F:Anno1]$";
    const struct
    {
        int nCase;
        std::wstring expected;
    } cases[] = {
        {0, L"100|150|100|20|q supera l'8% di t|r non supera l'8% di t|s non supera l'8% di t||7|7"},
        {1, L"||||||||7|7"},
        {2, L"100|150|100|20|q supera l'8% di t|r non supera l'8% di t|s non supera l'8% di t||7|7"},
        {3, L"||||secondo L.F. 2007|secondo L.F. 2007|secondo L.F. 2007|7|7|7"},
        {4, L"||||||||7|7"},
    };
    for (const auto& c : cases) {
        CCspReportFiller filler(m_data, c.nCase);
        EXPECT_EQ(CString(c.expected.c_str()), Filled(pszTemplate, filler)) << "case " << c.nCase;
    }
}

// The five case texts of each case, whatever the field would have read.
TEST_F(ReportVariantsTest, CaseTextsOfEveryCase)
{
    PutSaldoProg(5, 7, 0);
    const LPCTSTR pszTemplate = L"$[L:T;NAME:CASO_C_1]$|$[L:N;T:SaldoProg;R:5;F:Anno1;NAME:CASO_C_U]$|"
                                L"$[L:T;NAME:CASO_C_V]$|$[L:T;NAME:CASO_C_Z]$|$[L:T;NAME:CASO_C_2]$";
    const struct
    {
        UINT nFirst;
        LPCTSTR pszU, pszV, pszZ;
        UINT nSecond;
    } cases[] = {
        {2095, L"d2+q1-s2", L"d2+r1-s2", L"d2+s1-s2", 2099},
        {2096, L"d2-s2", L"d2-s2", L"d2-s2", 2099},
        {2097, L"d2+q1-s2", L"d2+r1-s2", L"d2+s1-s2", 2100},
        {2098, L"d2+q1-s2-s6", L"d2+r1-s2-s6", L"d2+s1-s2-s6", 2099},
        {2113, L"d2-s2-s6", L"d2-s2-s6", L"d2-s2-s6", 2100},
    };
    for (int nCase = 0; nCase < 5; ++nCase) {
        const auto& c = cases[nCase];
        CCspReportFiller filler(m_data, nCase);
        CString strFirst = LoadResString(c.nFirst), strSecond = LoadResString(c.nSecond);
        ASSERT_FALSE(strFirst.IsEmpty());
        ASSERT_FALSE(strSecond.IsEmpty());
        EXPECT_EQ(strFirst + L"|" + c.pszU + L"|" + c.pszV + L"|" + c.pszZ + L"|" + strSecond,
                  Filled(pszTemplate, filler)) << "case " << nCase;
    }
}

TEST_F(ReportVariantsTest, MeLinesCompareWithTheFiguresReadBeforeThem)
{
    PutSaldoProg(1, 100, 0);
    PutSaldoProg(2, 150, 0);
    CCspReportFiller filler(m_data, 2);
    EXPECT_EQ(CString(L"100 q non supera l'8% di t 150 q supera l'8% di t"),
              Filled(L"$[L:N;T:SaldoProg;R:1;F:Anno1;NAME:8P]$ $[L:T;NAME:ME1]$ "
                     L"$[L:N;T:SaldoProg;R:2;F:Anno1;NAME:M1]$ $[L:T;NAME:ME1]$",
                     filler));
}

TEST_F(ReportVariantsTest, CentreReportReadsTheRowsOfItsCentre)
{
    const long nBianchi = AddCentre(L"Bianchi", L"Ragioneria");
    const long nRossi = AddCentre(L"Rossi", L"Tributi");
    CString sql;
    const long rows[][2] = {{nBianchi, 10}, {nRossi, 20}, {0, 30}};
    for (const auto& row : rows) {
        sql.Format(L"INSERT INTO SaldoFinCalc (ID, idResp, Anno4Com) VALUES (2101, %d, %d)", static_cast<int>(row[0]),
                   static_cast<int>(row[1]));
        Execute(sql);
    }
    const LPCTSTR pszTemplate =
        L"$[L:T;T:Responsabili;R:1;F:centroServ]$ $[L:N;T:SaldoFinCalc;R:2101;F:Anno4Com]$ $[L:N;T:SaldoFin;R:1;F:Anno1]$";
    CRespReportFiller rossi(m_data, nRossi);
    EXPECT_EQ(CString(L"Tributi 20 "), Filled(pszTemplate, rossi));
    CRespReportFiller totals(m_data, 0);
    EXPECT_EQ(CString(L"Totale 30 "), Filled(pszTemplate, totals));
}

TEST_F(ReportVariantsTest, CentreListFillsItsFieldAndKeepsItsReference)
{
    const LPCTSTR pszTemplate = L"Centri:\r$[L:T;T:Responsabili;D:Nessun centro]$\rFine $[L:T;T:DatiEnte;R:X;F:value;D:-]$";
    {
        CTextDocument doc;
        doc.AppendText(pszTemplate, CTextCharFormat());
        FillConfServFields(doc, m_data);
        EXPECT_EQ(CString(L"Centri:\rNessun centro\rFine -"), doc.GetText());
    }
    AddCentre(L"Rossi", L"Tributi");
    AddCentre(L"Bianchi", L"Ragioneria");
    CTextDocument doc;
    doc.AppendText(pszTemplate, CTextCharFormat());
    FillConfServFields(doc, m_data);
    EXPECT_EQ(CString(L"Centri:\rBianchi\tRagioneria\rRossi\tTributi\rFine -"), doc.GetText());
    const long nList = doc.NextField(0);
    EXPECT_EQ(CString(L"L:T;T:Responsabili;D:Nessun centro"), doc.GetFieldData(nList));
    EXPECT_EQ(CString(L"Bianchi\tRagioneria\rRossi\tTributi"), doc.GetFieldText(nList));
}

} // namespace

TEST_F(ReportVariantsTest, CaseRulesAndCentreRowsApplyInTableCells)
{
    CTextTableRow row;
    row.cells = {{1500, txAlignLeft}, {6000, txAlignLeft}, {8000, txAlignRight}};
    CTextDocument doc;
    doc.AppendTableRow({L"$[L:V;T:SaldoProg;R:100;F:Anno4;NAME:e]$", L"$[L:T;NAME:CASO_C_1]$",
                        L"$[L:V;T:SaldoProg;R:100;F:Anno4]$"},
                       row, CTextCharFormat());
    CCspReportFiller filler(m_data, 1);
    filler.FillSpans(doc);
    // The hidden name stays empty, the case's text fills its cell, the figure not held reads 0, in whole euros as
    // the report's amounts.
    EXPECT_EQ(CString(L"\a") + LoadResString(2096) + L"\a0\a\r", doc.GetText());
    EXPECT_EQ(1u, doc.GetRowExtents().size());

    const long nRossi = AddCentre(L"Rossi", L"Tributi");
    CString sql;
    sql.Format(L"INSERT INTO SaldoFinCalc (ID, idResp, Anno4Com) VALUES (2101, %d, 20)", static_cast<int>(nRossi));
    Execute(sql);
    CTextDocument centre;
    centre.AppendTableRow({L"$[L:T;T:Responsabili;R:1;F:responsabile]$", L"$[L:V;T:SaldoFinCalc;R:2101;F:Anno4Com]$",
                           L"$[L:V;T:SaldoFinCalc;R:2102;F:Anno4Com]$"},
                          row, CTextCharFormat());
    CRespReportFiller rossi(m_data, nRossi);
    rossi.FillSpans(centre);
    EXPECT_EQ(CString(L"Rossi\a20,00\a0,00\a\r"), centre.GetText());
}

// The target report says its amounts are rounded to the euro: so they print, halves away from zero, in every case.
TEST_F(ReportVariantsTest, TargetReportPrintsItsAmountsInWholeEuros)
{
    const struct
    {
        double value;
        LPCTSTR pszPrinted;
    } cases[] = {{12345678.49, L"12.345.678"}, {12345678.50, L"12.345.679"}, {-98765432.50, L"-98.765.433"},
                 {-0.49, L"0"}, {999999999.99, L"1.000.000.000"}};
    for (size_t i = 0; i < _countof(cases); ++i)
        PutSaldoProg(static_cast<long>(i + 1), cases[i].value, 0);
    for (int nCase = 0; nCase < 5; ++nCase) {
        CCspReportFiller filler(m_data, nCase);
        for (size_t i = 0; i < _countof(cases); ++i) {
            CString reference;
            reference.Format(L"$[L:V;T:SaldoProg;R:%d;F:Anno1]$", static_cast<int>(i + 1));
            EXPECT_EQ(CString(cases[i].pszPrinted), Filled(reference, filler)) << "case " << nCase << ", " << cases[i].value;
        }
    }
}
