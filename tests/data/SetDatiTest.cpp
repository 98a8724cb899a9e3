#include "DataTestArchive.h"

#include "data/SetDati.h"
#include "support/MessageBoxRecorder.h"

#include <cmath>
#include <cwchar>
#include <vector>

namespace {

// Every lookup is checked on both roads: index seek (as the program opens the Jet databases) and the prepared
// query that other providers get.
class SetDatiTest : public CDataTestArchive, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        CDataTestArchive::SetUp();
        OpenDatabases(GetParam() ? TRUE : FALSE);
    }
};

TEST_P(SetDatiTest, IntegerKeyRowAddedIsFoundAgainUpdatedAndDeleted)
{
    {
        CSetDati set(L"Entrate", m_data);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        EXPECT_FALSE(set.FindByTextKey(L"2104", TRUE));
        set.AddNewWithKey(L"2104");
        set.SetFieldDouble(L"Anno1", 0.57);
        set.UpdateRow();
        set.AddNewWithKey(L"2105");
        set.SetFieldDouble(L"Anno1", 3.0);
        set.UpdateRow();
        // Found again on the same record set, among other rows.
        ASSERT_TRUE(set.FindByTextKey(L"2104", TRUE));
        EXPECT_EQ(0.57, set.GetFieldCurrency(L"Anno1"));
        set.SetFieldDouble(L"Anno2", 1234.5678);
        set.UpdateRow();
        ASSERT_TRUE(set.FindByTextKey(L"2105", TRUE));
        EXPECT_EQ(3.0, set.GetFieldCurrency(L"Anno1"));
    }
    CSetDati set(L"Entrate", m_data);
    set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
    ASSERT_TRUE(set.FindByTextKey(L"2104", TRUE));
    EXPECT_EQ(0.57, set.GetFieldCurrency(L"Anno1"));
    EXPECT_EQ(1234.5678, set.GetFieldCurrency(L"Anno2"));

    set.DeleteWhere(L"ID", L"2104");
    CSetDati after(L"Entrate", m_data);
    EXPECT_FALSE(after.FindByTextKey(L"2104", TRUE));   // the lookup opens the record set itself
    EXPECT_TRUE(after.FindByTextKey(L"2105", TRUE));
}

TEST_P(SetDatiTest, TextKeyWithQuotesIsWrittenFoundAndDeleted)
{
    {
        CSetDati set(L"DatiEnte", m_data);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        const LPCTSTR keys[] = {L"ENTE", L"Dell'Area", L"PROV"};
        for (LPCTSTR key : keys) {
            set.AddNewWithKey(key);
            set.SetFieldString(L"value", CString(L"Comune di Sant'Agata ") + key);
            set.UpdateRow();
        }
        ASSERT_TRUE(set.FindByTextKey(L"Dell'Area", TRUE));
        EXPECT_EQ(CString(L"Comune di Sant'Agata Dell'Area"), set.GetFieldString(L"value"));
        set.SetFieldString(L"value", L"");
        set.UpdateRow();
    }
    EXPECT_EQ(1L, ScalarLong(L"SELECT COUNT(*) FROM DatiEnte WHERE value IS NULL"));

    CSetDati set(L"DatiEnte", m_data);
    set.DeleteWhere(L"ID", L"Dell'Area");
    EXPECT_FALSE(set.FindByTextKey(L"Dell'Area", TRUE));
    EXPECT_TRUE(set.FindByTextKey(L"ENTE", TRUE));
    EXPECT_EQ(2L, ScalarLong(L"SELECT COUNT(*) FROM DatiEnte"));
}

// Key texts that read as numbers: a text key column finds exactly the text, a number key column the number.
TEST_P(SetDatiTest, KeyTextsOfDigitsFindTheirOwnRow)
{
    {
        CSetDati set(L"DatiEnte", m_data);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        const LPCTSTR keys[] = {L"100", L"0100", L"7", L"0"};
        for (LPCTSTR key : keys) {
            set.AddNewWithKey(key);
            set.SetFieldString(L"value", CString(L"valore ") + key);
            set.UpdateRow();
        }
        CSetDati numbers(L"Entrate", m_data);
        numbers.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        numbers.AddNewWithKey(L"2104");
        numbers.SetFieldDouble(L"Anno1", 1.5);
        numbers.UpdateRow();
    }
    const struct { LPCTSTR pszTable; LPCTSTR pszKey; LPCTSTR pszValue; } cases[] = {
        {L"DatiEnte", L"100", L"valore 100"},
        {L"DatiEnte", L"0100", L"valore 0100"},
        {L"DatiEnte", L"7", L"valore 7"},
        {L"DatiEnte", L"0", L"valore 0"},
        {L"DatiEnte", L"00", nullptr},
        {L"DatiEnte", L"1000", nullptr},
        {L"Entrate", L"2104", L""},
        {L"Entrate", L"02104", L""},
        {L"Entrate", L"2105", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszKey).ToMultiByte());
        CSetDati set(c.pszTable, m_data);
        set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
        bool bFound = set.FindByTextKey(c.pszKey, TRUE);
        EXPECT_EQ(c.pszValue != nullptr, bFound);
        if (!bFound || !c.pszValue)
            continue;
        if (wcscmp(c.pszTable, L"Entrate") == 0)
            EXPECT_EQ(1.5, set.GetFieldCurrency(L"Anno1"));
        else
            EXPECT_EQ(CString(c.pszValue), set.GetFieldString(L"value"));
    }
}

TEST_P(SetDatiTest, TwoKeyColumns)
{
    // Responsible centres 1 and 2 (0 is the totals row of the schema).
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Bianchi', 'Tributi')");
    {
        CSetDati set(L"SaldoFinCalc", m_data);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        for (long nResp = 0; nResp <= 2; ++nResp) {
            set.AddNewWithIdAndResp(300, nResp);
            set.SetFieldCurrency(L"Anno4Com", COleCurrency(nResp * 10, 5000));
            set.UpdateRow();
        }
        ASSERT_TRUE(set.FindByIdAndResp(300, 1, TRUE));
        EXPECT_EQ(10.5, set.GetFieldCurrency(L"Anno4Com"));
        COleCurrency nullAmount;
        nullAmount.SetStatus(COleCurrency::null);
        set.SetFieldCurrency(L"Anno4Com", nullAmount);
        set.UpdateRow();
    }
    CSetDati set(L"SaldoFinCalc", m_data);
    set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
    struct Case { long nID; long nResp; bool bFound; double amount; };
    const Case cases[] = {{300, 2, true, 20.5}, {300, 0, true, 0.5}, {300, 1, true, 0.0}, {300, 3, false, 0.0},
                          {301, 1, false, 0.0}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.bFound, set.FindByIdAndResp(c.nID, c.nResp, TRUE)) << c.nID << "," << c.nResp;
        if (c.bFound) {
            EXPECT_EQ(c.amount, set.GetFieldCurrency(L"Anno4Com")) << c.nResp;
        }
    }
    EXPECT_EQ(1L, ScalarLong(L"SELECT COUNT(*) FROM SaldoFinCalc WHERE Anno4Com IS NULL"));
}

TEST_P(SetDatiTest, NotFoundIsShownUnlessQuiet)
{
    CMessageBoxRecorder recorder;
    CSetDati entrate(L"Entrate", m_data);
    EXPECT_FALSE(entrate.FindByTextKey(L"9999", TRUE));
    EXPECT_EQ(0u, recorder.Count());
    EXPECT_FALSE(entrate.FindByTextKey(L"9999", FALSE));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(CString(L"Impossibile trovare '9999' nella tabella 'Entrate'."), recorder.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), recorder.LastIcon());

    CSetDati calc(L"SaldoFinCalc", m_data);
    EXPECT_FALSE(calc.FindByIdAndResp(1, 2, FALSE));
    ASSERT_EQ(2u, recorder.Count());
    EXPECT_EQ(CString(L"Impossibile trovare '(1,2)' nella tabella 'SaldoFinCalc'."), recorder.Last().text);
}

TEST(ADORecordsetKeyTextTest, KeyValuesAsTheNotFoundMessageShowsThem)
{
    _variant_t nullValue;
    nullValue.vt = VT_NULL;
    _variant_t small;
    small.vt = VT_I2;
    small.iVal = -12;
    _variant_t byte;
    byte.vt = VT_UI1;
    byte.bVal = 200;
    const struct { _variant_t value; LPCTSTR pszText; } cases[] = {
        {nullValue, L""},
        {small, L"-12"},
        {_variant_t(2104L), L"2104"},
        {byte, L"200"},
        {_variant_t(1234.567), L"1234.57"},
        {_variant_t(L"Dell'Area"), L"Dell'Area"},
        {_variant_t(true), L"VERO"},
        {_variant_t(false), L"FALSO"},
        {_variant_t(CURRENCY{}), L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.pszText), CADORecordset::FormatKeyValue(c.value)) << c.pszText;
}

INSTANTIATE_TEST_SUITE_P(Roads, SetDatiTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Seek" : "Query"; });

class SetDatiValuesTest : public CDataTestArchive
{
};

TEST_F(SetDatiValuesTest, ColumnsReadAsTheirKindOrAsNothing)
{
    Execute(L"INSERT INTO Entrate (ID, Anno1, Anno2) VALUES (2101, NULL, 0)");
    CSetDati set(L"Entrate", m_data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    ASSERT_TRUE(set.FindByTextKey(L"2101", TRUE));
    EXPECT_EQ(0.0, set.GetFieldCurrency(L"Anno1"));       // null
    EXPECT_EQ(2101.0, set.GetFieldCurrency(L"ID"));        // a number converts
    EXPECT_TRUE(set.GetFieldString(L"ID").IsEmpty());      // not a text
    EXPECT_TRUE(set.GetFieldString(L"Anno2").IsEmpty());
    // Read exactly, the null state kept (what a recomputation carries over or leaves out of a sum).
    EXPECT_EQ(COleCurrency::null, set.GetFieldAmount(L"Anno1").GetStatus());
    EXPECT_EQ(COleCurrency(0, 0), set.GetFieldAmount(L"Anno2"));
    // Amounts keep exactly the decimals they were given, whatever their size and sign.
    const double amounts[] = {0.57, -0.57, 0.1, 1234.5678, 99999999.99, -2147483.6475};
    for (double amount : amounts) {
        set.SetFieldDouble(L"Anno3", amount);
        set.UpdateRow();
        CSetDati reader(L"Entrate", m_data);
        ASSERT_TRUE(reader.FindByTextKey(L"2101", TRUE));
        EXPECT_EQ(amount, reader.GetFieldCurrency(L"Anno3")) << amount;
        EXPECT_EQ(static_cast<LONGLONG>(std::llround(amount * 10000)), reader.GetFieldAmount(L"Anno3").m_cur.int64)
            << amount;
    }

    Execute(L"INSERT INTO DatiEnte (ID, value) VALUES ('ENTE', 'Comune di Prova')");
    CSetDati ente(L"DatiEnte", m_data);
    ASSERT_TRUE(ente.FindByTextKey(L"ENTE", TRUE));
    EXPECT_EQ(COleCurrency::invalid, ente.GetFieldAmount(L"value").GetStatus());
    EXPECT_EQ(0.0, ente.GetFieldCurrency(L"value"));
}

// Columns are found by name, without regard to case, in what the record set holds since its last open: a name that
// moved to another place reads from there, and one the open left out is missing.
TEST_F(SetDatiValuesTest, ColumnsAreFoundInWhatEachOpenHolds)
{
    Execute(L"INSERT INTO Entrate (ID, Anno2, Anno3) VALUES (2101, 2.5, 3.5)");
    CSetDati set(L"Entrate", m_data);
    set.Open(L"SELECT ID, Anno2 FROM Entrate", adOpenStatic, adLockReadOnly, adCmdText);
    EXPECT_TRUE(set.HasColumn(L"anno2"));
    EXPECT_FALSE(set.HasColumn(L"Anno3"));
    EXPECT_EQ(2101.0, set.GetFieldCurrency(L"ID"));
    EXPECT_EQ(2.5, set.GetFieldCurrency(L"ANNO2"));
    set.Close();

    set.Open(L"SELECT Anno3, ID FROM Entrate", adOpenStatic, adLockReadOnly, adCmdText);
    EXPECT_FALSE(set.HasColumn(L"Anno2"));
    EXPECT_EQ(2101.0, set.GetFieldCurrency(L"ID"));
    EXPECT_EQ(3.5, set.GetFieldCurrency(L"Anno3"));
    try {
        set.GetFieldCurrency(L"Anno2");
        ADD_FAILURE() << "a column the record set does not hold was read";
    }
    catch (const _com_error& e) {
        EXPECT_NE(nullptr, std::wcsstr(static_cast<LPCWSTR>(e.Description()), L"Item cannot be found"));
    }
}

// An update writes every column given a value, in whatever order and however often they were given, and only
// those; the next row of the same run may change other columns.
TEST_F(SetDatiValuesTest, AnUpdateWritesTheColumnsGivenInAnyOrder)
{
    for (LPCTSTR pszSql : {L"INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2101, 1, 2, 3)",
                           L"INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2102, 1, 2, 3)",
                           L"INSERT INTO Entrate (ID, Anno1, Anno2, Anno3) VALUES (2103, 1, 2, 3)"})
        Execute(pszSql);
    struct Put { LPCTSTR pszColumn; double value; };
    const struct
    {
        LPCTSTR pszKey;
        std::vector<Put> puts;
        double expected[3];   // Anno1, Anno2, Anno3 after the update
    } cases[] = {
        {L"2101", {{L"Anno3", 30456789.12}, {L"Anno1", -1234567.5}}, {-1234567.5, 2, 30456789.12}},
        {L"2102", {{L"Anno2", 20000000}, {L"Anno2", 21987654.32}, {L"Anno3", 3}}, {1, 21987654.32, 3}},
        {L"2103", {{L"Anno1", 11111111.11}}, {11111111.11, 2, 3}},
        {L"2101", {{L"Anno2", 922337203.68}, {L"Anno1", 12}, {L"Anno3", 32.01}}, {12, 922337203.68, 32.01}},
    };
    CADOTransaction transaction(m_data);
    CSetDati set(L"Entrate", m_data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    for (const auto& c : cases) {
        ASSERT_TRUE(set.FindByTextKey(c.pszKey, TRUE));
        for (const Put& put : c.puts)
            set.SetFieldDouble(put.pszColumn, put.value);
        set.UpdateRow();
        CSetDati reader(L"Entrate", m_data);
        ASSERT_TRUE(reader.FindByTextKey(c.pszKey, TRUE));
        const LPCTSTR columns[] = {L"Anno1", L"Anno2", L"Anno3"};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.expected[i], reader.GetFieldCurrency(columns[i])) << c.pszKey << " " << columns[i];
    }
    transaction.Commit();
}

TEST_F(SetDatiValuesTest, OrderedOpenClearAndDeleteAll)
{
    Execute(L"INSERT INTO Monitor (ID, Trim1) VALUES (1300, 0)");
    Execute(L"INSERT INTO Monitor (ID, Trim1) VALUES (300, 0)");
    Execute(L"INSERT INTO Monitor (ID, Trim1) VALUES (401, 0)");
    {
        CSetDati set(L"Monitor", m_data);
        set.OpenOrdered(L"ID");
        std::vector<long> ids;
        for (; !set.IsEOF(); set.MoveNext())
            ids.push_back(static_cast<long>(set.GetFields()->GetItem(_variant_t(L"ID"))->GetValue()));
        EXPECT_EQ((std::vector<long>{300, 401, 1300}), ids);
    }
    CSetDati set(L"Monitor", m_data);
    EXPECT_EQ(3L, set.GetCount());
    set.ClearColumn(L"Trim1");
    EXPECT_EQ(3L, ScalarLong(L"SELECT COUNT(*) FROM Monitor WHERE Trim1 IS NULL"));
    set.DeleteAll();
    EXPECT_EQ(0L, set.GetCount());
}

} // namespace
