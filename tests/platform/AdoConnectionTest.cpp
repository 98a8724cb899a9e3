#include "AdoTestDatabase.h"

#include "platform/ado/JetSql.h"
#include "support/LinearTime.h"

#include <functional>
#include <sstream>
#include <vector>

class AdoConnection : public CAdoTestDatabase
{
protected:
    // How SQLite reaches the rows of a query: its plan's details, one per line ("SCAN t", "SEARCH t USING ...").
    CString QueryPlan(LPCWSTR sql)
    {
        _RecordsetPtr plan = m_connection->Execute(_bstr_t(static_cast<LPCWSTR>(CString(L"EXPLAIN QUERY PLAN ") + sql)),
                                                   nullptr, adCmdText);
        CString text;
        for (; !plan->GetEOF(); plan->MoveNext())
            text += Text(plan->GetCollect(3L)) + L"\n";
        return text;
    }
};

TEST_F(AdoConnection, OpensOnlyWithTheDatabasePassword)
{
    EXPECT_EQ(adStateOpen, m_connection->GetState());
    EXPECT_EQ(_bstr_t(L"Microsoft.Jet.OLEDB.4.0"), m_connection->GetProvider());
    m_connection->Close();
    EXPECT_EQ(adStateClosed, m_connection->GetState());

    struct
    {
        const wchar_t* m_password;
        bool m_opens;
    } cases[] = {{L"\"Sègreto;1\"", true}, {L"'sègreto;1'", false}, {L"", false}, {L"Sègreto", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_password);
        try {
            m_connection->Open(_bstr_t(static_cast<LPCWSTR>(ConnectionString(c.m_password))), L"", L"", -1);
            EXPECT_TRUE(c.m_opens);
            m_connection->Close();
        } catch (const _com_error& e) {
            EXPECT_FALSE(c.m_opens);
            EXPECT_EQ(_bstr_t(L"Not a valid password."), e.Description());
            EXPECT_EQ(1, m_connection->GetErrors()->GetCount());
            EXPECT_EQ(adStateClosed, m_connection->GetState());
        }
    }
}

TEST_F(AdoConnection, KeysOfTheConnectionStringIgnoreCase)
{
    _ConnectionPtr connection;
    connection.CreateInstance(__uuidof(Connection));
    CString text = L"provider=microsoft.jet.oledb.4.0; DATA SOURCE = " + m_path +
                   L" ;jet oledb:database password='Sègreto;1'";
    connection->Open(_bstr_t(static_cast<LPCWSTR>(text)), L"", L"", -1);
    EXPECT_EQ(adStateOpen, connection->GetState());
}

TEST_F(AdoConnection, RefusesWhatIsNotAnExistingDatabase)
{
    CString missing = m_folder.File(L"Manca.mdb");
    CString notDatabase = m_folder.Write(L"Testo.mdb", std::string(4096, 'x'));
    for (const CString& path : {missing, notDatabase}) {
        _ConnectionPtr connection;
        connection.CreateInstance(__uuidof(Connection));
        CString text = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path;
        EXPECT_THROW(connection->Open(_bstr_t(static_cast<LPCWSTR>(text)), L"", L"", -1), _com_error);
        EXPECT_EQ(adStateClosed, connection->GetState());
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(missing));
    EXPECT_THROW(JetCreateDatabase(m_path, L""), _com_error);
}

TEST_F(AdoConnection, ExecuteCountsTheRowsAffected)
{
    Execute(L"CREATE TABLE [Config] ([name] VARCHAR(50) NOT NULL, [value] VARCHAR(255))");
    EXPECT_EQ(1, Execute(L"INSERT INTO [Config] ([name], [value]) VALUES ('anno', '2008')"));
    Execute(L"INSERT INTO Config (name, value) VALUES ('nomeDB', 'Dati/Archivio.mdb')");
    Execute(L"INSERT INTO Config (name) VALUES ('versione')");
    EXPECT_EQ(2, Execute(L"UPDATE Config SET value = 'x' WHERE value IS NOT NULL"));
    EXPECT_EQ(0, Execute(L"DELETE FROM Config WHERE name = 'manca'"));

    _RecordsetPtr count = m_connection->Execute(L"SELECT COUNT(*) FROM Config", nullptr, adCmdText);
    _variant_t value = count->GetFields()->GetItem(0L)->GetValue();
    EXPECT_EQ(VT_I4, value.vt);
    EXPECT_EQ(3, value.lVal);
    EXPECT_FALSE(m_connection->Execute(L"DELETE FROM Config", nullptr, adCmdText | adExecuteNoRecords));
}

TEST_F(AdoConnection, DuplicateKeyGivesJetsNativeError)
{
    Execute(L"CREATE TABLE [Config] ([name] VARCHAR(50) NOT NULL, [value] VARCHAR(255))");
    Execute(L"CREATE UNIQUE INDEX [PK_CONFIG] ON [Config] ([name]) WITH PRIMARY");
    Execute(L"INSERT INTO Config (name, value) VALUES ('anno', '2008')");
    // Keys compare without regard to case, as in Jet.
    EXPECT_EQ(-105121349, NativeErrorOf([&] { Execute(L"INSERT INTO Config (name) VALUES ('ANNO')"); }));

    _RecordsetPtr config = Open(L"Config", adLockOptimistic, adCmdTableDirect);
    config->AddNew();
    config->GetFields()->GetItem(L"NAME")->PutValue(L"anno");
    try {
        config->Update();
        ADD_FAILURE() << "duplicate accepted";
    } catch (const _com_error& e) {
        EXPECT_EQ(-105121349, m_connection->GetErrors()->GetItem(0L)->GetNativeError());
        EXPECT_EQ(e.Description(), m_connection->GetErrors()->GetItem(0L)->GetDescription());
    }
    // The refused row is dropped: moving on does not raise it again.
    config->MoveFirst();
    EXPECT_EQ(1, config->GetRecordCount());
}

// The collection is the connection's own, one object answered every time (the data layer empties it before each
// operation, which must cost no object): one taken before a failure shows it, and Clear empties it for every holder
// until the next failure.
TEST_F(AdoConnection, ErrorsAreTheConnectionsAndClearEmptiesThem)
{
    ErrorsPtr before = m_connection->GetErrors();
    EXPECT_EQ(before.GetInterfacePtr(), m_connection->GetErrors().GetInterfacePtr());
    EXPECT_EQ(0, before->GetCount());
    EXPECT_THROW(Execute(L"DELETE FROM [Manca]"), _com_error);
    EXPECT_EQ(1, before->GetCount());
    EXPECT_EQ(S_OK, m_connection->GetErrors()->Clear());
    EXPECT_EQ(0, before->GetCount());
    EXPECT_THROW(before->GetItem(0L), _com_error);
    EXPECT_THROW(Execute(L"DELETE FROM [Manca]"), _com_error);
    EXPECT_EQ(1, m_connection->GetErrors()->GetCount());
}

TEST_F(AdoConnection, CurrencyIsExactAndSumsToCurrency)
{
    Execute(L"CREATE TABLE [SaldoFin] ([ID] INTEGER NOT NULL, [Anno3Com] CURRENCY)");
    Execute(L"CREATE UNIQUE INDEX [PK_SALDOFIN] ON [SaldoFin] ([ID]) WITH PRIMARY");
    struct
    {
        _variant_t m_put;
        LONGLONG m_stored;
    } cases[] = {{Currency(5700), 5700},   {_variant_t(0.57), 5700},     {_variant_t(0.12345), 1235},
                 {_variant_t(-0.57), -5700}, {_variant_t(L"1234,5678"), 12345678}};
    _RecordsetPtr saldo = Open(L"SaldoFin", adLockOptimistic, adCmdTableDirect);
    long id = 0;
    LONGLONG total = 0;
    for (const auto& c : cases) {
        saldo->AddNew();
        saldo->PutCollect(L"ID", ++id);
        saldo->PutCollect(L"Anno3Com", c.m_put);
        saldo->Update();
        EXPECT_EQ(c.m_stored, CurrencyCount(saldo->GetCollect(L"Anno3Com"))) << id;
        total += c.m_stored;
    }
    EXPECT_EQ(adCurrency, saldo->GetFields()->GetItem(1L)->GetType());

    _RecordsetPtr reread = Open(L"SELECT * FROM SaldoFin ORDER BY ID", adLockReadOnly, adCmdText);
    for (const auto& c : cases) {
        EXPECT_EQ(c.m_stored, CurrencyCount(reread->GetCollect(L"Anno3Com")));
        reread->MoveNext();
    }
    _RecordsetPtr sum = Open(L"SELECT SUM([Anno3Com]) FROM SaldoFin", adLockReadOnly, adCmdText);
    EXPECT_EQ(total, CurrencyCount(sum->GetCollect(0L)));
    EXPECT_EQ(adCurrency, sum->GetFields()->GetItem(0L)->GetType());
}

// The same texts again, through Execute and through a record set: after rows change they answer the new rows,
// after the table is made again with another type of column they mean what the new column means.
TEST_F(AdoConnection, RepeatedTextsFollowTheRowsAndTheSchema)
{
    const wchar_t* raise = L"UPDATE [Spese] SET [importo] = [importo] + 1";
    const wchar_t* query = L"SELECT [importo] FROM [Spese]";
    auto importo = [&](bool viaExecute) {
        _RecordsetPtr rows = viaExecute ? m_connection->Execute(query, nullptr, adCmdText)
                                        : Open(query, adLockOptimistic, adCmdText);
        return rows->GetCollect(0L);
    };
    Execute(L"CREATE TABLE [Spese] ([ID] INTEGER NOT NULL, [importo] CURRENCY)");
    Execute(L"INSERT INTO [Spese] VALUES (1, 2)");
    for (int round = 1; round <= 2; ++round) {
        EXPECT_EQ(1, Execute(raise));
        EXPECT_EQ(20000 + 10000 * round, CurrencyCount(importo(true))) << round;
        EXPECT_EQ(20000 + 10000 * round, CurrencyCount(importo(false))) << round;
    }

    Execute(L"DROP TABLE [Spese]");
    Execute(L"CREATE TABLE [Spese] ([ID] INTEGER NOT NULL, [importo] INTEGER, [nota] VARCHAR(5))");
    Execute(L"INSERT INTO [Spese] VALUES (1, 2, 'a')");
    EXPECT_EQ(1, Execute(raise));
    for (bool viaExecute : {true, false}) {
        _variant_t value = importo(viaExecute);
        EXPECT_EQ(VT_I4, value.vt);
        EXPECT_EQ(3, value.lVal);
    }
    EXPECT_EQ(3, Open(L"SELECT * FROM [Spese]", adLockReadOnly, adCmdText)->GetFields()->GetCount());
}

TEST_F(AdoConnection, TextsSortAndCompareAsJetDoes)
{
    Execute(L"CREATE TABLE [Responsabili] ([ID] INTEGER NOT NULL, [responsabile] VARCHAR(50))");
    Execute(L"CREATE UNIQUE INDEX [K_NOME] ON [Responsabili] ([responsabile])");
    const wchar_t* names[] = {L"zeta", L"ávila", L"Avila", L"Éco", L"bravo"};
    long id = 0;
    for (const wchar_t* name : names) {
        CString sql;
        sql.Format(L"INSERT INTO Responsabili VALUES (%ld, '%s')", ++id, name);
        Execute(sql);
    }
    _RecordsetPtr ordered = Open(L"SELECT responsabile FROM Responsabili ORDER BY responsabile", adLockReadOnly, adCmdText);
    std::vector<CString> seen;
    for (; !ordered->GetEOF(); ordered->MoveNext())
        seen.push_back(Text(ordered->GetCollect(0L)));
    EXPECT_EQ((std::vector<CString>{L"Avila", L"ávila", L"bravo", L"Éco", L"zeta"}), seen);

    _RecordsetPtr found = Open(L"SELECT ID FROM Responsabili WHERE responsabile = 'AVILA'", adLockReadOnly, adCmdText);
    EXPECT_EQ(1, found->GetRecordCount());
    EXPECT_EQ(3, long(found->GetCollect(0L)));
    EXPECT_EQ(-105121349, NativeErrorOf([&] { Execute(L"INSERT INTO Responsabili VALUES (9, 'ZETA')"); }));
}

TEST_F(AdoConnection, TranslatesIntegerDivisionAndLike)
{
    Execute(L"CREATE TABLE [ExtraEntrCap] ([ID] COUNTER, [idResp] INTEGER NOT NULL, [codUEB] VARCHAR(7) NOT NULL, "
            L"[importoComp] CURRENCY)");
    const wchar_t* rows[][2] = {{L"2010101", L"0.1"}, {L"2020210", L"0.25"}, {L"4060001", L"7"}, {L"1010101", L"0.0005"}};
    for (const auto& row : rows) {
        CString sql;
        sql.Format(L"INSERT INTO ExtraEntrCap (idResp, codUEB, importoComp) VALUES (1, '%s', %s)", row[0], row[1]);
        Execute(sql);
    }
    _RecordsetPtr titles = Open(L"SELECT NULL, idResp, codUEB \\ 1000000, SUM(importoComp) FROM ExtraEntrCap "
                                L"WHERE idResp=1 GROUP BY idResp, codUEB \\ 1000000 ORDER BY 3",
                                adLockReadOnly, adCmdText);
    struct
    {
        long m_title;
        LONGLONG m_sum;
    } expected[] = {{1, 5}, {2, 3500}, {4, 70000}};
    for (const auto& e : expected) {
        ASSERT_FALSE(titles->GetEOF());
        EXPECT_EQ(e.m_title, long(titles->GetCollect(2L)));
        EXPECT_EQ(e.m_sum, CurrencyCount(titles->GetCollect(3L)));
        titles->MoveNext();
    }
    EXPECT_TRUE(titles->GetEOF());

    struct
    {
        const wchar_t* m_pattern;
        long m_count;
    } patterns[] = {{L"406____", 1}, {L"2____10", 1}, {L"2%", 2}, {L"406___", 0}};
    for (const auto& p : patterns) {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE codUEB LIKE '%s'", p.m_pattern);
        EXPECT_EQ(p.m_count, long(m_connection->Execute(_bstr_t(static_cast<LPCWSTR>(sql)), nullptr, adCmdText)->GetCollect(0L)))
            << p.m_pattern;
    }
    _RecordsetPtr division = m_connection->Execute(L"SELECT 7 \\ 2, -7 \\ 2, (3 + 4) \\ -2", nullptr, adCmdText);
    EXPECT_EQ(3, long(division->GetCollect(0L)));
    EXPECT_EQ(-3, long(division->GetCollect(1L)));
    EXPECT_EQ(-3, long(division->GetCollect(2L)));
}

TEST_F(AdoConnection, AddedForeignKeysCascade)
{
    Execute(L"CREATE TABLE [Responsabili] ([ID] INTEGER NOT NULL, [responsabile] VARCHAR(50))");
    Execute(L"CREATE UNIQUE INDEX [PK_RESPONSABILI] ON [Responsabili] ([ID]) WITH PRIMARY");
    Execute(L"CREATE TABLE [CapEntrate] ([ID] INTEGER NOT NULL, [descrizione] VARCHAR(100) NOT NULL, "
            L"[codUEB] VARCHAR(7) NOT NULL)");
    Execute(L"CREATE UNIQUE INDEX [PK_CAPENTRATE] ON [CapEntrate] ([ID]) WITH PRIMARY");
    Execute(L"CREATE UNIQUE INDEX [K1_CAPENTRATE] ON [CapEntrate] ([ID], [codUEB])");
    Execute(L"CREATE TABLE [ExtraEntrCap] ([ID] COUNTER, [idResp] INTEGER NOT NULL, [codUEB] VARCHAR(7) NOT NULL, "
            L"[capitolo] INTEGER NOT NULL, [importoComp] CURRENCY)");
    Execute(L"INSERT INTO Responsabili VALUES (1, 'Rossi')");
    Execute(L"INSERT INTO Responsabili VALUES (2, 'Bianchi')");
    Execute(L"INSERT INTO CapEntrate VALUES (10, 'Tributi', '1010101')");
    Execute(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo) VALUES (1, '1010101', 10)");
    Execute(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo) VALUES (2, '1010101', 10)");
    const LPCWSTR byCentre = L"SELECT SUM(importoComp) FROM ExtraEntrCap WHERE idResp = 1";
    const LPCWSTR byChapter = L"SELECT * FROM ExtraEntrCap WHERE capitolo = 10 AND codUEB = '1010101'";
    EXPECT_EQ(-1, QueryPlan(byCentre).Find(L"INDEX"));

    m_connection->BeginTrans();
    Execute(L"ALTER TABLE [ExtraEntrCap] ADD CONSTRAINT [FK1_EXTRAENTRCAP] FOREIGN KEY ([idResp]) "
            L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE");
    Execute(L"ALTER TABLE [ExtraEntrCap] ADD CONSTRAINT [FK2_EXTRAENTRCAP] FOREIGN KEY ([capitolo],[codUEB]) "
            L"REFERENCES [CapEntrate] ([ID],[codUEB]) ON UPDATE CASCADE ON DELETE CASCADE");
    m_connection->CommitTrans();
    // As in Jet, a foreign key indexes its child columns: the rows of one centre or chapter need no scan.
    EXPECT_NE(-1, QueryPlan(byCentre).Find(L"INDEX FK1_EXTRAENTRCAP")) << QueryPlan(byCentre);
    EXPECT_NE(-1, QueryPlan(byChapter).Find(L"INDEX FK2_EXTRAENTRCAP")) << QueryPlan(byChapter);

    auto count = [&](LPCWSTR sql) { return long(m_connection->Execute(sql, nullptr, adCmdText)->GetCollect(0L)); };
    EXPECT_EQ(1, Execute(L"DELETE FROM Responsabili WHERE ID = 1"));
    EXPECT_EQ(1, count(L"SELECT COUNT(*) FROM ExtraEntrCap"));
    Execute(L"UPDATE CapEntrate SET ID = 11 WHERE ID = 10");
    EXPECT_EQ(1, count(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE capitolo = 11"));
    EXPECT_THROW(Execute(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo) VALUES (7, '1010101', 11)"), _com_error);
    Execute(L"DELETE FROM CapEntrate");
    EXPECT_EQ(0, count(L"SELECT COUNT(*) FROM ExtraEntrCap"));
}

TEST_F(AdoConnection, ConstraintBrokenByExistingRowsIsRefused)
{
    Execute(L"CREATE TABLE [Responsabili] ([ID] INTEGER NOT NULL)");
    Execute(L"CREATE UNIQUE INDEX [PK_RESPONSABILI] ON [Responsabili] ([ID]) WITH PRIMARY");
    Execute(L"CREATE TABLE [ExtraSpeseCap] ([ID] COUNTER, [idResp] INTEGER NOT NULL)");
    Execute(L"INSERT INTO ExtraSpeseCap (idResp) VALUES (5)");
    EXPECT_THROW(Execute(L"ALTER TABLE [ExtraSpeseCap] ADD CONSTRAINT [FK1_EXTRASPESECAP] FOREIGN KEY ([idResp]) "
                         L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE"),
                 _com_error);
    // The table is as it was: no constraint, no index, still writable.
    const LPCWSTR byCentre = L"SELECT * FROM ExtraSpeseCap WHERE idResp = 6";
    EXPECT_EQ(-1, QueryPlan(byCentre).Find(L"INDEX")) << QueryPlan(byCentre);
    EXPECT_EQ(1, Execute(L"INSERT INTO ExtraSpeseCap (idResp) VALUES (6)"));

    // A constraint added in a transaction that is rolled back goes with its index.
    Execute(L"DELETE FROM ExtraSpeseCap");
    m_connection->BeginTrans();
    Execute(L"ALTER TABLE [ExtraSpeseCap] ADD CONSTRAINT [FK1_EXTRASPESECAP] FOREIGN KEY ([idResp]) "
            L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE");
    EXPECT_NE(-1, QueryPlan(byCentre).Find(L"INDEX FK1_EXTRASPESECAP")) << QueryPlan(byCentre);
    m_connection->RollbackTrans();
    EXPECT_EQ(-1, QueryPlan(byCentre).Find(L"INDEX")) << QueryPlan(byCentre);
    EXPECT_EQ(1, Execute(L"INSERT INTO ExtraSpeseCap (idResp) VALUES (6)"));
}

TEST_F(AdoConnection, TransactionsCommitAndRollBack)
{
    Execute(L"CREATE TABLE [Settings] ([name] VARCHAR(50) NOT NULL, [value] VARCHAR(255))");
    m_connection->BeginTrans();
    EXPECT_THROW(m_connection->BeginTrans(), _com_error);
    Execute(L"INSERT INTO Settings (name) VALUES ('a')");
    m_connection->RollbackTrans();
    m_connection->BeginTrans();
    Execute(L"INSERT INTO Settings (name) VALUES ('b')");
    m_connection->CommitTrans();
    EXPECT_THROW(m_connection->CommitTrans(), _com_error);

    _ConnectionPtr other = Connect(L"'Sègreto;1'");
    _RecordsetPtr rows = other->Execute(L"SELECT name FROM Settings", nullptr, adCmdText);
    EXPECT_EQ(1, rows->GetRecordCount());
    EXPECT_EQ(CString(L"b"), Text(rows->GetCollect(0L)));
}

TEST_F(AdoConnection, RolledBackSchemaChangeIsForgotten)
{
    Execute(L"CREATE TABLE [Responsabili] ([ID] INTEGER NOT NULL, [responsabile] VARCHAR(50))");
    Execute(L"INSERT INTO Responsabili VALUES (1, 'Rossi')");
    m_connection->BeginTrans();
    Execute(L"ALTER TABLE [Responsabili] ADD COLUMN [tipoResp] INTEGER");
    EXPECT_EQ(3, Open(L"Responsabili", adLockReadOnly, adCmdTableDirect)->GetFields()->GetCount());
    m_connection->RollbackTrans();

    _RecordsetPtr table = Open(L"Responsabili", adLockReadOnly, adCmdTableDirect);
    EXPECT_EQ(2, table->GetFields()->GetCount());
    EXPECT_EQ(CString(L"Rossi"), Text(table->GetCollect(L"responsabile")));
}

TEST_F(AdoConnection, VacuumIntoCopiesTheDatabaseWithItsPassword)
{
    Execute(L"CREATE TABLE [Settings] ([name] VARCHAR(50) NOT NULL, [value] VARCHAR(255))");
    Execute(L"INSERT INTO Settings VALUES ('VersioneDB', '200')");
    CString copy = m_path + L".TEMP";
    Execute(L"VACUUM INTO '" + copy + L"'");
    m_connection->Close();
    m_path = copy;
    _ConnectionPtr reopened = Connect(L"'Sègreto;1'");
    EXPECT_EQ(CString(L"200"),
              Text(reopened->Execute(L"SELECT value FROM Settings", nullptr, adCmdText)->GetCollect(0L)));
    EXPECT_THROW(Connect(L"altro"), _com_error);
}

namespace
{
// A value with its type, for comparing what a query answers: "CY 125000", "R8 3.5", "I4 2", "NULL".
std::string Typed(const _variant_t& value)
{
    std::ostringstream text;
    switch (value.vt) {
    case VT_CY:
        text << "CY " << value.cyVal.int64;
        break;
    case VT_R8:
        text << "R8 " << value.dblVal;
        break;
    case VT_I4:
        text << "I4 " << value.lVal;
        break;
    case VT_NULL:
        text << "NULL";
        break;
    default:
        text << "vt " << value.vt;
        break;
    }
    return text.str();
}

class AdoJetExpressions : public CAdoTestDatabase
{
protected:
    void SetUp() override
    {
        CAdoTestDatabase::SetUp();
        Execute(L"CREATE TABLE [Entrate] ([ID] INTEGER NOT NULL, [Anno1] CURRENCY, [Anno2] CURRENCY, "
                L"[Anno3] CURRENCY, [nome] VARCHAR(5))");
    }

    _variant_t Query(LPCWSTR sql) { return m_connection->Execute(sql, nullptr, adCmdText)->GetCollect(0L); }
};
} // namespace

// Every number meeting a currency column is an amount, as in Jet; a column's count of 1/10000 never shows.
TEST_F(AdoJetExpressions, CurrencyStatementsMeanAmounts)
{
    struct
    {
        const wchar_t* m_statement; // run first, when there is one
        const wchar_t* m_query;
        const char* m_result;
    } cases[] = {
        {L"INSERT INTO Entrate (ID, Anno1, Anno2) VALUES (2101, 12.5, 7)", L"SELECT Anno1 FROM Entrate", "CY 125000"},
        {nullptr, L"SELECT Anno2 FROM Entrate WHERE ID = 2101", "CY 70000"},
        {L"UPDATE Entrate SET Anno3 = 1234.56", L"SELECT Anno3 FROM Entrate", "CY 12345600"},
        {L"UPDATE Entrate SET Anno3 = Anno3 - 0.56 * 2", L"SELECT Anno3 FROM Entrate", "CY 12334400"},
        // A literal finer than 1/10000 rounds half to even.
        {L"INSERT INTO Entrate (ID, Anno1, Anno2) VALUES (2102, -0.03125, 2.5)",
         L"SELECT Anno1 FROM Entrate WHERE ID = 2102", "CY -312"},
        {nullptr, L"SELECT SUM(Anno1) + SUM(Anno2) FROM Entrate", "CY 219688"},
        {nullptr, L"SELECT Anno1 * 2 FROM Entrate WHERE ID = 2101", "CY 250000"},
        {nullptr, L"SELECT Anno1 * Anno2 FROM Entrate WHERE ID = 2101", "CY 875000"},
        {nullptr, L"SELECT Anno1 * 0.5 FROM Entrate WHERE ID = 2101", "CY 62500"},
        {nullptr, L"SELECT AVG(Anno2) FROM Entrate", "CY 47500"},
        {nullptr, L"SELECT MAX(Anno1) - 0.5 FROM Entrate", "CY 120000"},
        {nullptr, L"SELECT -MIN(Anno1) FROM Entrate", "CY 312"},
        {nullptr, L"SELECT COUNT(*) FROM Entrate WHERE Anno1 = 12.5", "I4 1"},
        {nullptr, L"SELECT ID FROM Entrate WHERE Anno2 > 3 AND Anno2 < 7.5", "I4 2101"},
        {nullptr, L"SELECT ID FROM Entrate WHERE Anno2 BETWEEN 2 AND 3", "I4 2102"},
        {nullptr, L"SELECT ID FROM Entrate WHERE Anno2 IN (1, 2.5)", "I4 2102"},
        {nullptr, L"SELECT ID FROM Entrate WHERE Anno1 = (SELECT MAX(Anno1) FROM Entrate)", "I4 2101"},
        {nullptr, L"SELECT Anno2 / 2 FROM Entrate WHERE ID = 2101", "R8 3.5"},
        {nullptr, L"SELECT Anno1 \\ 5 FROM Entrate WHERE ID = 2101", "I4 2"}, // 12.5 rounds to 12 first
        {L"INSERT INTO Entrate (ID, Anno1) SELECT 2103, MAX(Anno2) * 2 FROM Entrate",
         L"SELECT Anno1 FROM Entrate WHERE ID = 2103", "CY 140000"},
        {L"INSERT INTO Entrate VALUES (2104, 1, NULL, 0.00005, 'abc')", L"SELECT Anno3 FROM Entrate WHERE ID = 2104",
         "CY 0"},
        {nullptr, L"SELECT Anno2 FROM Entrate WHERE ID = 2104", "NULL"},
        // Jet's precedence and divisions.
        {nullptr, L"SELECT 3 * 5 \\ 2", "I4 7"},
        {nullptr, L"SELECT 7 / 2", "R8 3.5"},
        {nullptr, L"SELECT 2 + 3 * 4 \\ 5 - 1", "I4 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_statement ? c.m_statement : c.m_query);
        if (c.m_statement)
            Execute(c.m_statement);
        EXPECT_EQ(c.m_result, Typed(Query(c.m_query)));
    }
}

// What Jet refuses, refused with its error; nothing is written and the connection stays usable.
TEST_F(AdoJetExpressions, RefusesWhatJetRefuses)
{
    Execute(L"INSERT INTO Entrate (ID, Anno1, nome) VALUES (1, 1, 'abc')");
    std::wstring deep = L"SELECT " + std::wstring(10000, L'(') + L"1" + std::wstring(10000, L')');
    std::wstring signs = L"SELECT " + std::wstring(200000, L'-') + L"1";
    std::wstring nots = L"SELECT ID FROM Entrate WHERE ";
    for (int i = 0; i < 1000; ++i)
        nots += L"NOT ";
    nots += L"ID = 1";
    // Chains longer than the database nests, each refused at once rather than rebuilt once per operator.
    std::vector<std::wstring> chains;
    for (const wchar_t* op : {L" \\ 1", L" + 1", L" * 1", L" & 'a'", L" = 1", L" OR 1 = 1", L" AND 1 = 1"}) {
        std::wstring chain = L"SELECT ID FROM Entrate WHERE 1 = 1";
        for (int i = 0; i < 20000; ++i)
            chain += op;
        chains.push_back(chain);
    }
    struct
    {
        std::wstring m_sql;
        HRESULT m_error;
        const wchar_t* m_description; // null: SQLite's own text
    } cases[] = {
        {L"INSERT INTO Entrate (ID, nome) VALUES (2, 'abcdef')", static_cast<HRESULT>(0x80040E57),
         L"The field is too small to accept the amount of data you attempted to add.  Try inserting or pasting less "
         L"data."},
        {L"UPDATE Entrate SET nome = nome + 'xyz'", static_cast<HRESULT>(0x80040E57), nullptr},
        {L"SELECT 7 \\ 0", E_FAIL, L"Division by zero"},
        {L"SELECT 7 \\ 0.4", E_FAIL, L"Division by zero"},
        {L"SELECT Anno1 / 0 FROM Entrate", E_FAIL, L"Division by zero"},
        {L"SELECT 7 \\ 'abc'", static_cast<HRESULT>(0x80040E07), L"Data type mismatch in criteria expression."},
        {L"SELECT nome \\ 2 FROM Entrate", static_cast<HRESULT>(0x80040E07), nullptr},
        {L"INSERT INTO Entrate (ID, Anno1) VALUES (3, 1e16)", E_FAIL, L"Overflow"},
        {L"UPDATE Entrate SET Anno1 = Anno1 * 1e15", E_FAIL, L"Overflow"},
        {deep, E_FAIL, L"Query is too complex."},
        {signs, E_FAIL, L"Query is too complex."},
        {nots, E_FAIL, L"Query is too complex."},
        {L"SELECT Abs(" + std::wstring(5000, L'(') + L"1" + std::wstring(5000, L')') + L")", E_FAIL,
         L"Query is too complex."},
        {chains[0], E_FAIL, L"Query is too complex."},
        {chains[1], E_FAIL, L"Query is too complex."},
        {chains[2], E_FAIL, L"Query is too complex."},
        {chains[3], E_FAIL, L"Query is too complex."},
        {chains[4], E_FAIL, L"Query is too complex."},
        {chains[5], E_FAIL, L"Query is too complex."},
        {chains[6], E_FAIL, L"Query is too complex."},
        // An unclosed type bracket ends the text: refused by the database, nothing erased past the end.
        {L"CREATE TABLE t (a COUNTER(", static_cast<HRESULT>(0x80040E14), nullptr},
        {L"CREATE TABLE t (a COUNTER(1, " + std::wstring(10000, L'('), static_cast<HRESULT>(0x80040E14), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_sql.substr(0, 60).c_str());
        try {
            Execute(c.m_sql.c_str());
            ADD_FAILURE() << "accepted";
        } catch (const _com_error& e) {
            EXPECT_EQ(c.m_error, e.Error());
            if (c.m_description) {
                EXPECT_EQ(_bstr_t(c.m_description), e.Description());
            }
            EXPECT_EQ(c.m_error, m_connection->GetErrors()->GetItem(0L)->GetNumber());
        }
    }
    EXPECT_EQ("I4 1", Typed(Query(L"SELECT COUNT(*) FROM Entrate")));
    EXPECT_EQ(CString(L"abc"), Text(Query(L"SELECT nome FROM Entrate")));
    EXPECT_EQ("CY 10000", Typed(Query(L"SELECT Anno1 FROM Entrate")));
}

// Each column's type of a table definition is rewritten in place of Jet's, the rest kept as it was.
TEST(JetTranslateTest, TableDefinitionsTakeTheDatabasesTypes)
{
    const struct
    {
        const wchar_t* m_jet;
        const char* m_sqlite;
    } cases[] = {
        {L"CREATE TABLE [t] (a COUNTER(1, 1), b Text(5) NOT NULL, c CURRENCY, d LONG, e MEMO, CONSTRAINT pk PRIMARY KEY "
         L"(b, c))",
         "CREATE TABLE \"t\" (a INTEGER PRIMARY KEY AUTOINCREMENT, b Text(5) COLLATE JETTEXT NOT NULL, c CURRENCY, d "
         "INTEGER, e MEMO COLLATE JETTEXT, CONSTRAINT pk PRIMARY KEY (b, c))"},
        {L"CREATE TABLE t (a MONEY, b DATETIME, c VARCHAR(10, d INT)", "CREATE TABLE t (a CURRENCY, b DATETIME, c VARCHAR(10, d INT) COLLATE JETTEXT"},
        {L"CREATE TABLE t (a COUNTER(1, b TEXT)", "CREATE TABLE t (a INTEGER PRIMARY KEY AUTOINCREMENT"},
        {L"ALTER TABLE t ADD COLUMN f NCHAR(3)", "ALTER TABLE t ADD COLUMN f NCHAR(3) COLLATE JETTEXT"},
        {L"ALTER TABLE t ADD", "ALTER TABLE t ADD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.m_sqlite, JetTranslate(c.m_jet, nullptr, nullptr).m_sql);
    }
}

// A table definition with many columns, or many commas, is translated in time linear in its text.
TEST(JetTranslateTest, TableDefinitionsTranslateInTimeLinearInTheirColumns)
{
    auto columns = [](int nColumns, const wchar_t* type) {
        std::wstring sql = L"CREATE TABLE t (a INTEGER";
        for (int i = 0; i < nColumns; ++i)
            sql += L", c" + std::to_wstring(i) + type;
        return sql + L")";
    };
    const std::function<std::wstring(int)> texts[] = {
        [](int n) { return L"CREATE TABLE t (a COUNTER, b CUR" + std::wstring(n, L',') + L"RENCY, c TEXT(50), d MEMO)"; },
        [&](int n) { return columns(n, L" TEXT(5) NOT NULL"); },
        [&](int n) { return columns(n, L" COUNTER(1, 1)"); },
    };
    for (const auto& text : texts) {
        const std::wstring once = text(4000), tenfold = text(40000);
        SCOPED_TRACE(once.substr(0, 60).c_str());
        EXPECT_TRUE(GrowsLinearly([&]() { JetTranslate(once, nullptr, nullptr); },
                                  [&]() { JetTranslate(tenfold, nullptr, nullptr); }));
    }
}

// A record set refuses a text longer than its column, as a statement does.
TEST_F(AdoJetExpressions, RecordsetRefusesTextLongerThanTheColumn)
{
    _RecordsetPtr table = Open(L"Entrate", adLockOptimistic, adCmdTableDirect);
    table->AddNew();
    table->PutCollect(L"ID", 1L);
    table->PutCollect(L"nome", L"abcde");
    try {
        table->PutCollect(L"nome", L"abcdef");
        ADD_FAILURE() << "accepted";
    } catch (const _com_error& e) {
        EXPECT_EQ(static_cast<HRESULT>(0x80040E57), e.Error());
    }
    table->Update();
    EXPECT_EQ(CString(L"abcde"), Text(Query(L"SELECT nome FROM Entrate")));
}
