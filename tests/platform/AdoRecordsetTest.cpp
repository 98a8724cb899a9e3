#include "AdoTestDatabase.h"

#include <cstddef>
#include <functional>

class AdoRecordset : public CAdoTestDatabase
{
protected:
    void SetUp() override
    {
        CAdoTestDatabase::SetUp();
        Execute(L"CREATE TABLE [Config] ([name] VARCHAR(50) NOT NULL, [value] VARCHAR(255))");
        Execute(L"CREATE UNIQUE INDEX [PK_CONFIG] ON [Config] ([name]) WITH PRIMARY");
        Execute(L"INSERT INTO Config VALUES ('anno', '2008')");
        Execute(L"INSERT INTO Config VALUES ('nomeDB', 'Dati/Archivio.mdb')");
        Execute(L"CREATE TABLE [SaldoFinCalc] ([ID] INTEGER NOT NULL, [idResp] INTEGER NOT NULL, [Anno4Com] CURRENCY)");
        Execute(L"CREATE UNIQUE INDEX [PK_SALDOFINCALC] ON [SaldoFinCalc] ([ID], [idResp]) WITH PRIMARY");
        for (long id : {101, 102})
            for (long resp : {0, 1, 2}) {
                CString sql;
                long count = id * 100 + resp;   // 1.0201 for (102, 1)
                sql.Format(L"INSERT INTO SaldoFinCalc VALUES (%ld, %ld, %ld.%04ld)", id, resp, count / 10000,
                           count % 10000);
                Execute(sql);
            }
        Execute(L"CREATE TABLE [ExtraEntrCap] ([ID] COUNTER, [idResp] INTEGER NOT NULL, [codUEB] VARCHAR(7) NOT NULL, "
                L"[capitolo] INTEGER NOT NULL, [articolo] VARCHAR(100), [importoComp] CURRENCY, "
                L"[importoCassa] CURRENCY)");
        Execute(L"CREATE UNIQUE INDEX [PK_EXTRAENTRCAP] ON [ExtraEntrCap] ([ID]) WITH PRIMARY");
    }

    _RecordsetPtr OpenTable(LPCWSTR table, LPCWSTR index)
    {
        _RecordsetPtr recordset = Open(table, adLockOptimistic, adCmdTableDirect);
        recordset->PutIndex(index);
        return recordset;
    }
};

TEST_F(AdoRecordset, SeeksOnTheNamedIndexWithOneOrTwoKeys)
{
    _RecordsetPtr config = OpenTable(L"Config", L"PK_CONFIG");
    EXPECT_EQ(_bstr_t(L"PK_CONFIG"), config->GetIndex());
    config->Seek(L"NOMEDB", adSeekFirstEQ);
    ASSERT_FALSE(config->GetEOF());
    EXPECT_EQ(CString(L"Dati/Archivio.mdb"), Text(config->GetCollect(L"value")));
    config->Seek(L"versione", adSeekFirstEQ);
    EXPECT_TRUE(config->GetEOF());
    EXPECT_THROW(config->GetCollect(L"value"), _com_error);
    config->Requery(adOptionUnspecified); // keeps the index
    config->Seek(L"anno", adSeekFirstEQ);
    EXPECT_EQ(CString(L"2008"), Text(config->GetCollect(L"value")));

    _RecordsetPtr saldo = OpenTable(L"SaldoFinCalc", L"PK_SALDOFINCALC");
    saldo->Seek(Keys(102, 1), adSeekFirstEQ);
    ASSERT_FALSE(saldo->GetEOF());
    EXPECT_EQ(10201, CurrencyCount(saldo->GetCollect(L"Anno4Com")));
    // One key of two: the first row of that ID in index order; a text converts to the key's type.
    saldo->Seek(L"101", adSeekFirstEQ);
    ASSERT_FALSE(saldo->GetEOF());
    EXPECT_EQ(0, long(saldo->GetCollect(L"idResp")));
    saldo->Seek(Keys(103, 0), adSeekFirstEQ);
    EXPECT_TRUE(saldo->GetEOF());

    EXPECT_THROW(saldo->PutIndex(L"PK_CONFIG"), _com_error);
    _RecordsetPtr query = Open(L"SELECT * FROM Config", adLockOptimistic, adCmdText);
    EXPECT_THROW(query->PutIndex(L"PK_CONFIG"), _com_error);
}

TEST_F(AdoRecordset, SeesItsOwnChangesAndFindsItsNewRows)
{
    _RecordsetPtr saldo = OpenTable(L"SaldoFinCalc", L"PK_SALDOFINCALC");
    saldo->AddNew();
    saldo->PutCollect(L"ID", 201L);
    saldo->PutCollect(L"idResp", 0L);
    saldo->PutCollect(L"Anno4Com", 12.5);
    saldo->Update();
    EXPECT_EQ(7, saldo->GetRecordCount());

    saldo->Seek(Keys(101, 2), adSeekFirstEQ);
    saldo->PutCollect(L"Anno4Com", Currency(1));
    saldo->Update();
    saldo->Seek(Keys(102, 0), adSeekFirstEQ);
    saldo->Delete(adAffectCurrent);
    EXPECT_THROW(saldo->GetCollect(L"ID"), _com_error);

    saldo->Seek(Keys(201, 0), adSeekFirstEQ);
    ASSERT_FALSE(saldo->GetEOF());
    EXPECT_EQ(125000, CurrencyCount(saldo->GetCollect(L"Anno4Com")));
    saldo->Seek(Keys(102, 0), adSeekFirstEQ);
    EXPECT_TRUE(saldo->GetEOF());
    EXPECT_EQ(6, saldo->GetRecordCount());

    // Moving through the rows shows the change and skips the deleted row.
    long rows = 0;
    for (saldo->MoveFirst(); !saldo->GetEOF(); saldo->MoveNext()) {
        ++rows;
        if (long(saldo->GetCollect(L"ID")) == 101 && long(saldo->GetCollect(L"idResp")) == 2) {
            EXPECT_EQ(1, CurrencyCount(saldo->GetCollect(L"Anno4Com")));
        }
    }
    EXPECT_EQ(6, rows);

    // A row another record set adds is found by seek too: the seek reads the table itself.
    Execute(L"INSERT INTO SaldoFinCalc VALUES (301, 0, 0)");
    saldo->Seek(Keys(301, 0), adSeekFirstEQ);
    EXPECT_FALSE(saldo->GetEOF());
}

// Rows read in any order, over many blocks of row storage, keep their own values, texts longer and shorter alike.
TEST_F(AdoRecordset, ManyRowsReadInAnyOrderKeepTheirOwnValues)
{
    const long rows = 300;
    auto article = [](long id, int round) {
        CString text;
        text.Format(id % 3 == 0 ? L"articolo %ld, versione %d, con un testo lungo abbastanza da non stare nel posto breve"
                                : L"a%ld/%d",
                    id, round);
        return text;
    };
    m_connection->BeginTrans();
    for (long id = 1; id <= rows; ++id) {
        CString sql;
        sql.Format(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, articolo, importoComp) "
                   L"VALUES (%ld, '1', 1, '%s', %ld)", id, static_cast<LPCWSTR>(article(id, 0)), id);
        Execute(sql);
    }
    m_connection->CommitTrans();

    _RecordsetPtr extra = OpenTable(L"ExtraEntrCap", L"PK_EXTRAENTRCAP");
    // Every row once, scattered; the third rows' texts become short and the others' long.
    for (long step = 0; step < rows; ++step) {
        long id = (step * 7) % rows + 1;
        extra->Seek(id, adSeekFirstEQ);
        ASSERT_FALSE(extra->GetEOF());
        EXPECT_EQ(id, long(extra->GetCollect(L"idResp")));
        EXPECT_EQ(article(id, 0), Text(extra->GetCollect(L"articolo")));
        extra->PutCollect(L"articolo", _variant_t(static_cast<LPCWSTR>(article(id + 1, 1))));
        extra->PutCollect(L"importoComp", Currency(id * 20000));
        extra->Update();
    }
    long seen = 0;
    for (extra->MoveFirst(); !extra->GetEOF(); extra->MoveNext()) {
        long id = ++seen;
        EXPECT_EQ(id, long(extra->GetCollect(L"IDRESP")));
        EXPECT_EQ(article(id + 1, 1), Text(extra->GetCollect(L"articolo")));
        EXPECT_EQ(id * 20000, CurrencyCount(extra->GetCollect(L"importoComp")));
    }
    EXPECT_EQ(rows, seen);

    _RecordsetPtr query = Open(L"SELECT idResp, articolo FROM ExtraEntrCap ORDER BY idResp DESC", adLockReadOnly,
                               adCmdText);
    for (long id = rows; id >= 1; --id, query->MoveNext()) {
        ASSERT_FALSE(query->GetEOF());
        EXPECT_EQ(id, long(query->GetCollect(L"idResp")));
        EXPECT_EQ(article(id + 1, 1), Text(query->GetCollect(L"articolo")));
    }
    EXPECT_TRUE(query->GetEOF());
}

// A number given back to the field it was read from may be left unwritten only while the row cannot have changed
// since it was read; whatever changed it in between, the update writes the value given.
TEST_F(AdoRecordset, ANumberGivenAgainIsWrittenOverAnyChangeSinceTheRead)
{
    const long read = 10101; // (101, 1)
    auto setToNine = [](const _ConnectionPtr& connection) {
        connection->Execute(L"UPDATE SaldoFinCalc SET Anno4Com = 9 WHERE ID = 101 AND idResp = 1", nullptr,
                            adCmdText | adExecuteNoRecords);
    };
    _ConnectionPtr other = Connect(L"'Sègreto;1'");
    const struct
    {
        const char* what;
        bool transaction;
        LONGLONG given;
        std::function<void()> between;
    } cases[] = {
        {"nothing in between, the same number", true, read, [] {}},
        {"nothing in between, another number", true, 5, [] {}},
        {"a statement of the connection", true, read, [&] { setToNine(m_connection); }},
        {"another record set of the connection", true, read,
         [&] {
             _RecordsetPtr second = OpenTable(L"SaldoFinCalc", L"PK_SALDOFINCALC");
             second->Seek(Keys(101, 1), adSeekFirstEQ);
             second->PutCollect(L"Anno4Com", Currency(90000));
             second->Update();
         }},
        {"another connection, outside a transaction", false, read, [&] { setToNine(other); }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        Execute(L"UPDATE SaldoFinCalc SET Anno4Com = 1.0101 WHERE ID = 101 AND idResp = 1");
        if (test.transaction)
            m_connection->BeginTrans();
        _RecordsetPtr saldo = OpenTable(L"SaldoFinCalc", L"PK_SALDOFINCALC");
        saldo->Seek(Keys(101, 1), adSeekFirstEQ);
        ASSERT_EQ(read, CurrencyCount(saldo->GetCollect(L"Anno4Com")));
        saldo->PutCollect(L"Anno4Com", Currency(test.given));
        test.between();
        saldo->Update();
        if (test.transaction)
            m_connection->CommitTrans();
        _RecordsetPtr check = other->Execute(L"SELECT Anno4Com FROM SaldoFinCalc WHERE ID = 101 AND idResp = 1",
                                             nullptr, adCmdText);
        EXPECT_EQ(test.given, CurrencyCount(check->GetCollect(L"Anno4Com")));
    }
}

TEST_F(AdoRecordset, AddNewLeavesTheCounterToTheDatabase)
{
    _RecordsetPtr extra = OpenTable(L"ExtraEntrCap", L"PK_EXTRAENTRCAP");
    for (long expected : {1, 2}) {
        extra->AddNew();
        EXPECT_FALSE(extra->GetEOF());
        extra->PutCollect(L"idResp", 3L);
        extra->PutCollect(L"codUEB", L"1010101");
        extra->PutCollect(L"capitolo", 10L);
        extra->Update();
        _variant_t id = extra->GetCollect(L"ID");
        EXPECT_EQ(VT_I4, id.vt);
        EXPECT_EQ(expected, id.lVal);
        EXPECT_EQ(VT_NULL, extra->GetCollect(L"importoComp").vt);
    }
    extra->Seek(1L, adSeekFirstEQ);
    EXPECT_EQ(3, long(extra->GetCollect(L"idResp")));
}

TEST_F(AdoRecordset, QueryOfOneTableIsUpdatable)
{
    _RecordsetPtr totals = Open(L"SELECT * FROM SaldoFinCalc WHERE idResp = 0", adLockOptimistic, adCmdText);
    EXPECT_EQ(2, totals->GetRecordCount());
    totals->PutCollect(L"Anno4Com", Currency(77));
    totals->MoveNext(); // writes the change, as ADO does
    while (!totals->GetEOF()) {
        totals->Delete(adAffectCurrent);
        totals->MoveNext();
    }
    _RecordsetPtr check = Open(L"SELECT ID, Anno4Com FROM SaldoFinCalc WHERE idResp = 0", adLockReadOnly, adCmdText);
    ASSERT_EQ(1, check->GetRecordCount());
    EXPECT_EQ(101, long(check->GetCollect(0L)));
    EXPECT_EQ(77, CurrencyCount(check->GetCollect(1L)));

    _RecordsetPtr sums = Open(L"SELECT idResp, SUM(Anno4Com) FROM SaldoFinCalc GROUP BY idResp", adLockOptimistic,
                              adCmdText);
    EXPECT_THROW(sums->PutCollect(1L, Currency(1)), _com_error);
    EXPECT_THROW(check->PutCollect(1L, Currency(1)), _com_error);
}

TEST_F(AdoRecordset, CommandParametersAreReadAgainByRequery)
{
    _CommandPtr command;
    ASSERT_EQ(S_OK, command.CreateInstance(__uuidof(Command)));
    command->PutActiveConnection(_variant_t(static_cast<IDispatch*>(m_connection), true));
    command->PutCommandText(L"SELECT * FROM SaldoFinCalc WHERE ID=? AND idResp=?");
    command->PutCommandType(adCmdText);
    command->PutPrepared(VARIANT_TRUE);
    command->GetParameters()->Append(command->CreateParameter(L"", adInteger, adParamInput, 4, 101L));
    command->GetParameters()->Append(command->CreateParameter(L"", adInteger, adParamInput, 4, 1L));

    _RecordsetPtr lookup;
    lookup.CreateInstance(__uuidof(Recordset));
    lookup->Open(_variant_t(static_cast<IDispatch*>(command), true), vtMissing, adOpenStatic, adLockOptimistic, adCmdText);
    EXPECT_EQ(_bstr_t(L"SELECT * FROM SaldoFinCalc WHERE ID=? AND idResp=?"), _bstr_t(lookup->GetSource()));
    EXPECT_EQ(10101, CurrencyCount(lookup->GetCollect(L"Anno4Com")));

    command->GetParameters()->GetItem(0L)->PutValue(102L);
    command->GetParameters()->GetItem(1L)->PutValue(L"2");
    lookup->Requery(adOptionUnspecified);
    ASSERT_EQ(1, lookup->GetRecordCount());
    EXPECT_EQ(10202, CurrencyCount(lookup->GetCollect(L"Anno4Com")));
    lookup->PutCollect(L"Anno4Com", Currency(5));
    lookup->Update();
    EXPECT_EQ(5, CurrencyCount(m_connection->Execute(L"SELECT Anno4Com FROM SaldoFinCalc WHERE ID = 102 AND "
                                                     L"idResp = 2", nullptr, adCmdText)->GetCollect(0L)));
}

TEST_F(AdoRecordset, KeepsDynamicPropertiesByName)
{
    _RecordsetPtr recordset;
    recordset.CreateInstance(__uuidof(Recordset));
    for (LPCWSTR name : {L"Change Inserted Rows", L"remove deleted rows"}) {
        PropertyPtr property = recordset->GetProperties()->GetItem(name);
        EXPECT_EQ(VARIANT_FALSE, _variant_t(property->GetValue()).boolVal);
        property->PutValue(true);
        EXPECT_EQ(VARIANT_TRUE, recordset->GetProperties()->GetItem(name)->GetValue().boolVal);
    }
    EXPECT_THROW(recordset->GetProperties()->GetItem(L"Unique Table"), _com_error);
}

// A bound record laid out as the data layer lays its records out: value, status, length per field.
struct CBoundExtra : CADORecordBinding
{
    ADO_BINDING_ENTRY* GetADOBindingEntries() override
    {
        static ADO_BINDING_ENTRY entries[] = {
            {1, adInteger, 0, 0, 0, offsetof(CBoundExtra, m_id), offsetof(CBoundExtra, m_idStatus), 0, FALSE},
            {2, adInteger, 0, 0, 0, offsetof(CBoundExtra, m_resp), offsetof(CBoundExtra, m_respStatus), 0, TRUE},
            {4, adInteger, 0, 0, 0, offsetof(CBoundExtra, m_chapter), offsetof(CBoundExtra, m_chapterStatus), 0, TRUE},
            {3, adVarChar, 0, 0, 4, offsetof(CBoundExtra, m_code), offsetof(CBoundExtra, m_codeStatus),
             offsetof(CBoundExtra, m_codeLength), TRUE},
            {6, adCurrency, 0, 0, 0, offsetof(CBoundExtra, m_amount), offsetof(CBoundExtra, m_amountStatus), 0, TRUE},
            {0, 0, 0, 0, 0, 0, 0, 0, FALSE}};
        return entries;
    }

    LONG m_id = -1;
    ULONG m_idStatus = 99;
    LONG m_resp = -1;
    ULONG m_respStatus = 99;
    LONG m_chapter = -1;
    ULONG m_chapterStatus = 99;
    wchar_t m_code[4] = L"xx";
    ULONG m_codeStatus = 99;
    ULONG m_codeLength = 99;
    CY m_amount = {};
    ULONG m_amountStatus = 99;
};

TEST_F(AdoRecordset, BindingFollowsTheCursor)
{
    Execute(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, importoComp) VALUES (1, 'ab', 1, 0.57)");
    Execute(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo) VALUES (1, 'abcdef', 1)");
    _RecordsetPtr extra = Open(L"SELECT * FROM ExtraEntrCap ORDER BY ID", adLockOptimistic, adCmdText);
    IADORecordBindingPtr binding;
    IADORecordBinding* raw = nullptr;
    ASSERT_EQ(S_OK, extra->QueryInterface(__uuidof(IADORecordBinding), reinterpret_cast<void**>(&raw)));
    binding.Attach(raw);
    CBoundExtra record;
    binding->BindToRecordset(&record);

    EXPECT_EQ(1, record.m_id);
    EXPECT_EQ(ULONG(adFldOK), record.m_idStatus);
    EXPECT_STREQ(L"ab", record.m_code);
    EXPECT_EQ(2u, record.m_codeLength);
    EXPECT_EQ(ULONG(adFldOK), record.m_amountStatus);
    EXPECT_EQ(5700, record.m_amount.int64);

    extra->MoveNext();
    EXPECT_EQ(2, record.m_id);
    EXPECT_STREQ(L"abc", record.m_code);
    EXPECT_EQ(ULONG(adFldTruncated), record.m_codeStatus);
    EXPECT_EQ(ULONG(adFldNull), record.m_amountStatus);
    EXPECT_EQ(0, record.m_amount.int64);

    // Update writes the modifiable entries; the null amount stays null, the ID is never written.
    record.m_id = 50;
    wcscpy(record.m_code, L"xyz");
    record.m_codeStatus = adFldOK;
    record.m_codeLength = 3;
    binding->Update(&record);
    _RecordsetPtr check = m_connection->Execute(L"SELECT ID, codUEB, importoComp FROM ExtraEntrCap WHERE ID = 2",
                                                nullptr, adCmdText);
    ASSERT_FALSE(check->GetEOF());
    EXPECT_EQ(CString(L"xyz"), Text(check->GetCollect(1L)));
    EXPECT_EQ(VT_NULL, check->GetCollect(2L).vt);

    // AddNew inserts from the record and makes the new row current: its counter comes back into the record.
    record.m_id = 0;
    record.m_idStatus = adFldNull;
    record.m_amount.int64 = 10;
    record.m_amountStatus = adFldOK;
    binding->AddNew(&record);
    EXPECT_EQ(3, record.m_id);
    EXPECT_EQ(ULONG(adFldOK), record.m_idStatus);
    EXPECT_EQ(10, CurrencyCount(extra->GetCollect(L"importoComp")));
    EXPECT_EQ(3, extra->GetRecordCount());
}

// A Field belongs to its record set: it keeps the record set alive, and after a new open it reads the column now
// at its position or, past the last one, raises.
TEST_F(AdoRecordset, FieldsLiveWithTheirRecordset)
{
    _RecordsetPtr config = Open(L"SELECT name, value FROM Config ORDER BY name", adLockReadOnly, adCmdText);
    FieldPtr value = config->GetFields()->GetItem(L"VALUE");
    EXPECT_EQ(value.GetInterfacePtr(), config->GetFields()->GetItem(1L).GetInterfacePtr());
    config->Close();
    config->Open(L"SELECT name FROM Config", _variant_t(static_cast<IDispatch*>(m_connection), true), adOpenStatic,
                 adLockReadOnly, adCmdText);
    EXPECT_THROW(value->GetValue(), _com_error);

    FieldPtr name = config->GetFields()->GetItem(0L);
    config.Release();
    EXPECT_EQ(_bstr_t(L"name"), name->GetName());
    EXPECT_EQ(CString(L"anno"), Text(name->GetValue()));
}
