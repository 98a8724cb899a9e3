#include "EngineTestArchive.h"

#include "engine/ConsistencyCheck.h"
#include "engine/RecalcSaldi.h"
#include "util/MessageText.h"

#include <string>
#include <vector>

namespace {

// A row's amounts of 2008 on the cash and accrual bases.
struct CTitle
{
    long nID;
    double cas;
    double com;
};

struct CConsistencyCase
{
    const char* name;
    std::vector<CTitle> prog;     // SaldoFinProg
    std::vector<CTitle> totals;   // SaldoFinCalc, centre 0
    // One "row:fields" per finding, in report order.
    std::vector<std::string> findings;
};

class ConsistencyCheckTest : public CEngineTestArchive
{
protected:
    void PutTitles(LPCTSTR pszTable, const std::vector<CTitle>& titles, long nIdResp)
    {
        for (const CTitle& t : titles)
            Put(pszTable, t.nID, {{L"Anno4Cas", t.cas}, {L"Anno4Com", t.com}}, nIdResp);
    }

    std::vector<std::string> Findings()
    {
        CConsistencyFindings findings;
        CheckSaldoFinProgVsCalc(m_data, findings);
        std::vector<std::string> out;
        for (INT_PTR i = 0; i < findings.GetSize(); ++i) {
            std::string line = std::to_string(findings[i].nRow) + ":";
            for (INT_PTR f = 0; f < findings[i].fieldIds.GetSize(); ++f)
                line += (f ? "/" : "") + LoadResString(findings[i].fieldIds[f]).ToMultiByte(CP_UTF8);
            out.push_back(line);
        }
        return out;
    }
};

TEST_F(ConsistencyCheckTest, ComparesTheTitlesOfBothTables)
{
    const CConsistencyCase cases[] = {
        {"equal tables", {{2104, 10, 20}, {201, 5, 5}, {203, 1.5, 0}}, {{2104, 10, 20}, {201, 5, 5}, {203, 1.5, 0}}, {}},
        {"both empty", {}, {}, {}},
        {"cash only", {{2206, 10, 20}}, {{2206, 11, 20}}, {"2206:cassa"}},
        {"accrual only", {{2306, 10, 20}}, {{2306, 10, 21}}, {"2306:competenza"}},
        {"both bases in one line", {{2407, 10, 20}}, {{2407, 0, 0}}, {"2407:cassa/competenza"}},
        {"a ten-thousandth", {{212, 0.0001, 0}}, {{212, 0, 0}}, {"212:cassa"}},
        {"no totals: every figure not 0", {{2104, 1, 0}, {2502, 0, 0}, {202, 0, 3}}, {},
         {"2104:cassa", "202:competenza"}},
        {"totals without their title in SaldoFinProg", {}, {{211, 0, 4}}, {"211:competenza"}},
        {"findings in the order of the check", {{203, 1, 1}, {2406, 1, 1}, {2104, 1, 1}, {211, 1, 1}}, {},
         {"2104:cassa/competenza", "2406:cassa/competenza", "211:cassa/competenza", "203:cassa/competenza"}},
        {"rows outside the check", {{100, 5, 5}, {2101, 5, 5}, {300, 1, 1}}, {{100, 1, 1}}, {}},
    };
    for (const CConsistencyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Execute(L"DELETE FROM SaldoFinProg");
        Execute(L"DELETE FROM SaldoFinCalc");
        PutTitles(L"SaldoFinProg", c.prog, NoResp);
        PutTitles(L"SaldoFinCalc", c.totals, 0);
        EXPECT_EQ(c.findings, Findings());
    }
}

TEST_F(ConsistencyCheckTest, CentresDeletedAfterTheForecastWasSplitShowAsDifferences)
{
    long nBianchi = AddCentre(L"Bianchi");
    long nRossi = AddCentre(L"Rossi");
    Put(L"SaldoFinCalc", 2101, {{L"Anno4Com", 100}, {L"Anno4Cas", 80}}, nBianchi);
    Put(L"SaldoFinCalc", 201, {{L"Anno4Com", 60}, {L"Anno4Cas", 50}}, nBianchi);
    Put(L"SaldoFinCalc", 2201, {{L"Anno4Com", 200}, {L"Anno4Cas", 100}}, nRossi);
    ASSERT_TRUE(CalcSaldoFinCalc(m_data));
    PutTitles(L"SaldoFinProg", {{2104, 80, 100}, {2206, 100, 200}, {201, 50, 60}}, NoResp);
    EXPECT_EQ(std::vector<std::string>(), Findings());

    CString sql;
    sql.Format(L"DELETE FROM Responsabili WHERE ID = %d", static_cast<int>(nRossi));
    Execute(sql);
    ASSERT_TRUE(CalcSaldoFinCalc(m_data));
    EXPECT_EQ(std::vector<std::string>({"2206:cassa/competenza"}), Findings());

    sql.Format(L"DELETE FROM Responsabili WHERE ID = %d", static_cast<int>(nBianchi));
    Execute(sql);
    ASSERT_TRUE(CalcSaldoFinCalc(m_data));
    EXPECT_EQ(std::vector<std::string>({"2104:cassa/competenza", "2206:cassa/competenza", "201:cassa/competenza"}),
              Findings());
}

// The system's message formatting writes the message's own line breaks as CR LF; the inserted lines keep theirs.
TEST_F(ConsistencyCheckTest, ReportListsOneLinePerRowUnderTheWarning)
{
    PutTitles(L"SaldoFinProg", {{2104, 1, 1}, {203, 0, 2}}, NoResp);
    CConsistencyFindings findings;
    CheckSaldoFinProgVsCalc(m_data, findings);

    EXPECT_EQ(CString(L"Attenzione: le somme dei Totali dei Titoli dei dati extracontabili di tutti i Responsabili "
                      L"devono coincidere con l'importo dei Titoli del Saldo Finanziario 2008.\r\n\r\n"
                      L"Le seguenti voci risultano non coincidenti:\r\n"
                      L"- Totale Titolo 1 Entrate (cassa/competenza)\n"
                      L"- Dal Titolo 2 Spese - Concessione di crediti e anticipazioni (competenza)\n"),
              FormatConsistencyReport(findings));
}

} // namespace
