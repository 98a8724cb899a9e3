// The archive made from the schema: keys and defaults of every table, the order of names, the cascades, and the
// grouped sums of the extra-accounting amounts.
#include "DataTestArchive.h"

#include "data/DatabaseSchema.h"
#include "data/SetDati.h"
#include "data/SetExtraCap.h"
#include "data/SetResponsabili.h"

#include <optional>
#include <vector>

namespace {

class ArchiveTest : public CDataTestArchive
{
protected:
    long AddCentre(LPCTSTR pszResponsabile, LPCTSTR pszCentro)
    {
        CSetResponsabili set(m_data);
        set.OpenNullKey();
        set.m_rec.m_responsabile.SetText(pszResponsabile);
        set.m_rec.m_centroServ.SetText(pszCentro);
        set.AddNew();
        return ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
    }
    void AddItem(LPCTSTR pszTable, long nResp, LPCTSTR pszCode, long nChapter, std::optional<double> comp,
                 std::optional<double> cassa)
    {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM %s WHERE ID = %ld AND codUEB = '%s'",
                   wcscmp(pszTable, L"ExtraEntrCap") == 0 ? L"CapEntrate" : L"CapSpese", nChapter, pszCode);
        if (ScalarLong(sql) == 0) {
            sql.Format(L"INSERT INTO %s (ID, descrizione, codUEB) VALUES (%ld, 'Capitolo', '%s')",
                       wcscmp(pszTable, L"ExtraEntrCap") == 0 ? L"CapEntrate" : L"CapSpese", nChapter, pszCode);
            Execute(sql);
        }
        // Amounts go through the record set: SQL literals would not be currency.
        CSetExtraCap set(m_data, wcscmp(pszTable, L"ExtraEntrCap") == 0 ? CSetExtraCap::kindEntrate
                                                                         : CSetExtraCap::kindSpese);
        set.OpenNullKey();
        set.m_rec.m_idResp.SetValue(nResp);
        set.m_rec.m_codUEB.SetText(pszCode);
        set.m_rec.m_capitolo.SetValue(nChapter);
        if (comp)
            set.m_rec.m_importoComp.SetDouble(*comp);
        if (cassa)
            set.m_rec.m_importoCassa.SetDouble(*cassa);
        set.AddNew();
    }
    struct Sum { CString code; double comp; double cassa; bool compNull; };
    static std::vector<Sum> ReadSums(CSetExtraCap& set)
    {
        std::vector<Sum> sums;
        for (; !set.IsEOF(); set.MoveNext())
            sums.push_back({set.m_rec.m_codUEB.GetText(), set.m_rec.m_importoComp.GetDouble(),
                            set.m_rec.m_importoCassa.GetDouble(), set.m_rec.m_importoComp.IsNull()});
        return sums;
    }
};

TEST_F(ArchiveTest, EveryTableSeeksOnItsPrimaryKeyAndAmountsDefaultToZero)
{
    const struct { LPCTSTR pszTable; LPCTSTR pszAmount; } tables[] = {
        {L"Entrate", L"media123"}, {L"Uscite", L"Anno6"}, {L"SaldoFin", L"Anno3"}, {L"SaldoProg", L"Anno4"},
        {L"Monitor", L"Trim4"}, {L"SaldoFinProg", L"Anno6Mis"}, {L"DatiEnte", nullptr},
    };
    for (const auto& t : tables) {
        SCOPED_TRACE(CString(t.pszTable).ToMultiByte());
        CSetDati set(t.pszTable, m_data);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        set.AddNewWithKey(L"100");
        set.UpdateRow();
        ASSERT_TRUE(set.FindByTextKey(L"100", TRUE));
        if (t.pszAmount) {
            _variant_t amount = set.GetFields()->GetItem(_variant_t(t.pszAmount))->GetValue();
            EXPECT_EQ(VT_CY, amount.vt);
            EXPECT_EQ(0, amount.cyVal.int64);
        }
    }
    CSetDati calc(L"SaldoFinCalc", m_data);
    calc.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    calc.AddNewWithIdAndResp(300, 0);
    calc.UpdateRow();
    ASSERT_TRUE(calc.FindByIdAndResp(300, 0, TRUE));
    EXPECT_EQ(VT_CY, calc.GetFields()->GetItem(_variant_t(L"Anno5Cas"))->GetValue().vt);
}

TEST_F(ArchiveTest, NewArchiveHasTheTotalsCentreOnly)
{
    EXPECT_EQ(1L, ScalarLong(L"SELECT COUNT(*) FROM Responsabili WHERE ID = 0"));
    CSetResponsabili set(m_data);
    set.OpenByResponsabile();
    EXPECT_TRUE(set.IsEOF());
}

TEST_F(ArchiveTest, CreationNeverReplacesAnExistingFile)
{
    CString path = m_folder.Write(L"Esistente.mdb", "contenuto");
    EXPECT_THROW(CreateDataArchive(path, Password), _com_error);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES != ::GetFileAttributesW(path), true);
    EXPECT_THROW(CreateProgramDatabase(m_progPath, Password), _com_error);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_progPath));
}

TEST_F(ArchiveTest, NamesSortWithoutRegardToCaseAndAccents)
{
    const LPCTSTR names[] = {L"rossi", L"Bianchi", L"Élia", L"bruni", L"Eco", L"àrmani", L"Zeta"};
    for (LPCTSTR name : names)
        AddCentre(name, name);
    const LPCTSTR expected[] = {L"àrmani", L"Bianchi", L"bruni", L"Eco", L"Élia", L"rossi", L"Zeta"};

    CSetResponsabili byName(m_data);
    byName.OpenByResponsabile();
    CSetResponsabili byCentre(m_data);
    byCentre.OpenByCentroServ();
    for (LPCTSTR name : expected) {
        ASSERT_FALSE(byName.IsEOF());
        EXPECT_EQ(CString(name), byName.m_rec.m_responsabile.GetText());
        EXPECT_EQ(CString(name), byCentre.m_rec.m_centroServ.GetText());
        byName.MoveNext();
        byCentre.MoveNext();
    }
    EXPECT_TRUE(byName.IsEOF());
}

TEST_F(ArchiveTest, DeletingACentreDeletesItsItemsAndBalances)
{
    long nRossi = AddCentre(L"Rossi", L"Ragioneria");
    long nBianchi = AddCentre(L"Bianchi", L"Tributi");
    AddItem(L"ExtraEntrCap", nRossi, L"1010101", 1, 10.0, 10.0);
    AddItem(L"ExtraEntrCap", nBianchi, L"1010101", 1, 20.0, 20.0);
    AddItem(L"ExtraSpeseCap", nRossi, L"1010101", 4, 30.0, 30.0);
    CSetDati calc(L"SaldoFinCalc", m_data);
    calc.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    calc.AddNewWithIdAndResp(300, nRossi);
    calc.UpdateRow();
    calc.Close();

    CString sql;
    sql.Format(L"DELETE FROM Responsabili WHERE ID = %ld", nRossi);
    Execute(sql);
    EXPECT_EQ(1L, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap"));
    EXPECT_EQ(nBianchi, ScalarLong(L"SELECT MIN(idResp) FROM ExtraEntrCap"));
    EXPECT_EQ(0L, ScalarLong(L"SELECT COUNT(*) FROM ExtraSpeseCap"));
    EXPECT_EQ(0L, ScalarLong(L"SELECT COUNT(*) FROM SaldoFinCalc"));

    // Renumbering a chapter carries through to its items; deleting it deletes them.
    Execute(L"UPDATE CapEntrate SET ID = 9 WHERE ID = 1");
    EXPECT_EQ(9L, ScalarLong(L"SELECT MIN(capitolo) FROM ExtraEntrCap"));
    Execute(L"DELETE FROM CapEntrate WHERE ID = 9");
    EXPECT_EQ(0L, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap"));
}

TEST_F(ArchiveTest, RowsOfOneCentreAreFoundThroughAnIndex)
{
    const LPCTSTR tables[] = {L"ExtraEntrCap", L"ExtraSpeseCap", L"SaldoFinCalc"};
    for (LPCTSTR table : tables) {
        CString sql;
        sql.Format(L"EXPLAIN QUERY PLAN SELECT * FROM %s WHERE idResp = 1", table);
        _RecordsetPtr plan = m_data.Execute(sql, nullptr, adCmdText);
        CString detail(static_cast<LPCWSTR>(_bstr_t(plan->GetFields()->GetItem(_variant_t(3L))->GetValue())));
        CString index(L"INDEX FK1_");
        index += table;
        EXPECT_NE(-1, detail.Find(index.MakeUpper())) << detail.ToMultiByte();
    }
}

TEST_F(ArchiveTest, GroupedSumsOfOneCentre)
{
    long nRossi = AddCentre(L"Rossi", L"Ragioneria");
    long nBianchi = AddCentre(L"Bianchi", L"Tributi");
    AddItem(L"ExtraEntrCap", nRossi, L"1010101", 1, 100.25, 90.0);
    AddItem(L"ExtraEntrCap", nRossi, L"1020202", 2, 50.5, std::nullopt);
    AddItem(L"ExtraEntrCap", nRossi, L"4061234", 3, 10.0, 10.01);
    AddItem(L"ExtraEntrCap", nRossi, L"4070000", 4, 5.0, 5.0);
    AddItem(L"ExtraEntrCap", nRossi, L"4060000", 5, std::nullopt, std::nullopt);
    AddItem(L"ExtraEntrCap", nBianchi, L"1010101", 1, 7.0, 7.0);
    AddItem(L"ExtraSpeseCap", nRossi, L"2000010", 1, 1.0, 2.0);
    AddItem(L"ExtraSpeseCap", nRossi, L"2990010", 2, 3.0, 4.0);
    AddItem(L"ExtraSpeseCap", nRossi, L"2000011", 3, 100.0, 100.0);
    AddItem(L"ExtraSpeseCap", nRossi, L"1000010", 4, 100.0, 100.0);

    CSetExtraCap byTitle(m_data, CSetExtraCap::kindEntrate);
    byTitle.OpenSumsByTitle(nRossi);
    std::vector<Sum> sums = ReadSums(byTitle);
    ASSERT_EQ(2u, sums.size());
    EXPECT_EQ(CString(L"1"), sums[0].code);
    EXPECT_EQ(150.75, sums[0].comp);
    EXPECT_EQ(90.0, sums[0].cassa);
    EXPECT_EQ(CString(L"4"), sums[1].code);
    EXPECT_EQ(15.0, sums[1].comp);
    EXPECT_EQ(15.01, sums[1].cassa);

    CSetExtraCap cat406(m_data, CSetExtraCap::kindEntrate);
    cat406.OpenSums406(nRossi);
    sums = ReadSums(cat406);
    ASSERT_EQ(1u, sums.size());
    EXPECT_EQ(10.0, sums[0].comp);
    EXPECT_EQ(10.01, sums[0].cassa);

    CSetExtraCap grants(m_data, CSetExtraCap::kindSpese);
    grants.OpenSums2xx10(nRossi);
    sums = ReadSums(grants);
    ASSERT_EQ(1u, sums.size());
    EXPECT_EQ(4.0, sums[0].comp);
    EXPECT_EQ(6.0, sums[0].cassa);

    CSetExtraCap none(m_data, CSetExtraCap::kindEntrate);
    none.OpenSums406(nBianchi);
    EXPECT_TRUE(none.IsEOF());
}

// The sums are opened centre after centre through the same texts: each open reads its own centre's rows as
// they are at that moment.
TEST_F(ArchiveTest, SumsOpenedCentreAfterCentreFollowTheirCentreAndTheRows)
{
    long nRossi = AddCentre(L"Rossi", L"Ragioneria");
    long nBianchi = AddCentre(L"Bianchi", L"Tributi");
    AddItem(L"ExtraEntrCap", nRossi, L"4061234", 1, 10.0, 1.0);
    AddItem(L"ExtraEntrCap", nBianchi, L"4065678", 2, 20.0, 2.0);
    auto sum406 = [&](long nCentre) {
        CSetExtraCap set(m_data, CSetExtraCap::kindEntrate);
        set.OpenSums406(nCentre);
        std::vector<Sum> sums = ReadSums(set);
        return sums.empty() ? -1.0 : sums[0].comp;
    };
    const struct { long nCentre; double dComp; } steps[] = {{nRossi, 10.0}, {nBianchi, 20.0}, {nRossi, 10.0}, {0, -1.0}};
    for (const auto& step : steps)
        EXPECT_EQ(step.dComp, sum406(step.nCentre)) << step.nCentre;

    AddItem(L"ExtraEntrCap", nBianchi, L"4060001", 3, 0.5, std::nullopt);
    EXPECT_EQ(20.5, sum406(nBianchi));
    Execute(L"DELETE FROM ExtraEntrCap WHERE codUEB = '4061234'");
    EXPECT_EQ(-1.0, sum406(nRossi));
}

// Where the provider cannot seek, a key lookup on a set that a parameterised query opened runs its own query.
TEST_F(ArchiveTest, KeyLookupAfterAParameterisedOpenFindsTheRow)
{
    OpenDatabases(FALSE);
    long nRossi = AddCentre(L"Rossi", L"Ragioneria");
    AddItem(L"ExtraEntrCap", nRossi, L"1010101", 1, 1.0, 1.0);
    AddItem(L"ExtraEntrCap", nRossi, L"1010102", 2, 2.0, 2.0);
    long nSecond = ScalarLong(L"SELECT MAX(ID) FROM ExtraEntrCap");
    CSetExtraCap set(m_data, CSetExtraCap::kindEntrate);
    set.OpenByResp(nRossi);
    ASSERT_FALSE(set.IsEOF());
    _variant_t key(nSecond);
    ASSERT_TRUE(set.FindByKey(1, &key, TRUE));
    EXPECT_EQ(nSecond, set.m_rec.m_ID.GetValue());
    EXPECT_EQ(CString(L"1010102"), set.m_rec.m_codUEB.GetText());
}

TEST_F(ArchiveTest, TotalsRowsAreRebuiltFromEveryCentre)
{
    EXPECT_TRUE(CSetExtraCap::BuildExtraCapTotals(m_data, CSetExtraCap::kindEntrate));
    EXPECT_EQ(0L, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap"));

    long nRossi = AddCentre(L"Rossi", L"Ragioneria");
    long nBianchi = AddCentre(L"Bianchi", L"Tributi");
    AddItem(L"ExtraEntrCap", nRossi, L"1010101", 1, 100.25, std::nullopt);
    AddItem(L"ExtraEntrCap", nBianchi, L"1010101", 1, 0.5, std::nullopt);
    AddItem(L"ExtraEntrCap", nBianchi, L"3010101", 2, 7.0, 8.0);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_TRUE(CSetExtraCap::BuildExtraCapTotals(m_data, CSetExtraCap::kindEntrate));
        EXPECT_EQ(0, m_data.GetTransactionDepth());
        CSetExtraCap totals(m_data, CSetExtraCap::kindEntrate);
        totals.OpenByResp(0);
        std::vector<Sum> rows = ReadSums(totals);
        ASSERT_EQ(2u, rows.size());
        EXPECT_EQ(CString(L"1010101"), rows[0].code);
        EXPECT_EQ(100.75, rows[0].comp);
        EXPECT_TRUE(rows[0].compNull == false);
        EXPECT_EQ(CString(L"3010101"), rows[1].code);
        EXPECT_EQ(8.0, rows[1].cassa);
    }
    EXPECT_EQ(0L, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE idResp = 0 AND importoCassa IS NOT NULL "
                             L"AND codUEB = '1010101'"));
}

} // namespace

namespace {

class SqlScriptTest : public CDataTestArchive
{
};

TEST_F(SqlScriptTest, SemicolonsAndDashesInsideTextDoNotSplitStatements)
{
    OpenDatabases(TRUE);
    ExecuteSqlScript(m_data,
                     L"-- settings with awkward texts\n"
                     L"INSERT INTO Settings (name, [value]) VALUES ('a', 'uno; due');\n"
                     L"  -- an indented comment; with a semicolon\n"
                     L"INSERT INTO Settings (name, [value]) VALUES ('b', 'l''anno -- 2008;');\n"
                     L"INSERT INTO Settings (name, [value]) VALUES ('c', 'tre')");
    const struct { const wchar_t* name; const wchar_t* value; } cases[] = {
        { L"a", L"uno; due" }, { L"b", L"l'anno -- 2008;" }, { L"c", L"tre" },
    };
    for (const auto& c : cases) {
        CString sql;
        sql.Format(L"SELECT [value] FROM Settings WHERE name = '%s'", c.name);
        EXPECT_EQ(CString(c.value), CString(static_cast<LPCWSTR>(_bstr_t(Scalar(sql))))) << c.name;
    }
}

TEST_F(SqlScriptTest, AFailingStatementLeavesNothingOfTheScript)
{
    OpenDatabases(TRUE);
    EXPECT_THROW(ExecuteSqlScript(m_data, L"INSERT INTO Settings (name, [value]) VALUES ('x', '1');\n"
                                          L"INSERT INTO NoSuchTable (a) VALUES (1)"),
                 _com_error);
    EXPECT_EQ(0, ScalarLong(L"SELECT COUNT(*) FROM Settings WHERE name = 'x'"));
}

} // namespace
