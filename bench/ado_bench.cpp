// Seeks and updates of 10,000 rows of a balance table in one transaction: through the ADO stand-in, and with
// plain prepared SQLite statements doing the same work, on two databases filled alike. Prints both times.
#include "platform/ado/adodb.h"

#include "BenchSupport.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
const long ROWS = 10000;
const int RUNS = 5;
const wchar_t* const AMOUNTS[] = {L"Anno4Com", L"Anno4Cas", L"Anno5Com", L"Anno5Cas", L"Anno6Com",
                                  L"Anno6Cas", L"Anno7Com", L"Anno7Cas", L"Anno8Com"};

// The rows in a scattered order, the same for both runs.
std::vector<long> VisitOrder()
{
    std::vector<long> ids;
    unsigned long state = 12345;
    for (long i = 0; i < ROWS; ++i) {
        state = state * 1103515245UL + 12345UL;
        ids.push_back(static_cast<long>((state >> 8) % ROWS) + 1);
    }
    return ids;
}

_ConnectionPtr CreateDatabase(const std::wstring& path)
{
    JetCreateDatabase(path.c_str(), L"bench");
    _ConnectionPtr connection;
    connection.CreateInstance(__uuidof(Connection));
    connection->Open(_bstr_t((L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path +
                              L";Jet OLEDB:Database Password=bench").c_str()),
                     L"", L"", -1);
    std::wstring create = L"CREATE TABLE [SaldoFinProg] ([ID] INTEGER NOT NULL";
    for (const wchar_t* amount : AMOUNTS)
        create += std::wstring(L", [") + amount + L"] CURRENCY";
    connection->Execute(_bstr_t((create + L")").c_str()), nullptr, adCmdText | adExecuteNoRecords);
    connection->Execute(L"CREATE UNIQUE INDEX [PK_SALDOFINPROG] ON [SaldoFinProg] ([ID]) WITH PRIMARY", nullptr,
                        adCmdText | adExecuteNoRecords);
    connection->BeginTrans();
    for (long id = 1; id <= ROWS; ++id) {
        wchar_t insert[160];
        swprintf(insert, 160, L"INSERT INTO SaldoFinProg (ID, Anno4Com, Anno5Com) VALUES (%ld, %ld, 0)", id, id * 10000);
        connection->Execute(insert, nullptr, adCmdText | adExecuteNoRecords);
    }
    connection->CommitTrans();
    return connection;
}

// What visit n of a run adds to the amounts it writes: every visit writes amounts that no visit wrote before (a
// row given back its own amounts is not written again), and all of them take the same room in SQLite's records.
long long Step(int run, size_t n)
{
    return 1000000 + static_cast<long long>(run) * ROWS + static_cast<long long>(n);
}

_variant_t Currency(long long count)
{
    CY currency;
    currency.int64 = count;
    return _variant_t(currency);
}

// A run's milliseconds: all of it, the seeks and updates, and the commit, whose writing to the disk is the same
// work for both and varies with what else the machine writes. The best of several runs is taken part by part.
struct CTimes
{
    double total = 1e9;
    double loop = 1e9;
    double commit = 1e9;

    void TakeBest(const CTimes& run)
    {
        total = std::min(total, run.total);
        loop = std::min(loop, run.loop);
        commit = std::min(commit, run.commit);
    }
};

// Each visit: find the row by key, read one amount, write three (the way a recomputation writes a row).
CTimes ThroughAdo(const _ConnectionPtr& connection, const std::vector<long>& ids, int run)
{
    double start = BenchNow();
    connection->BeginTrans();
    _RecordsetPtr saldo;
    saldo.CreateInstance(__uuidof(Recordset));
    saldo->Open(L"SaldoFinProg", _variant_t(static_cast<IDispatch*>(connection), true), adOpenStatic,
                adLockOptimistic, adCmdTableDirect);
    saldo->PutIndex(L"PK_SALDOFINPROG");
    FieldsPtr fields = saldo->GetFields();
    for (size_t n = 0; n < ids.size(); ++n) {
        long id = ids[n];
        long long step = Step(run, n);
        saldo->Seek(id, adSeekFirstEQ);
        _variant_t amount = fields->GetItem(L"Anno4Com")->GetValue();
        fields->GetItem(L"Anno4Cas")->PutValue(Currency(amount.cyVal.int64 + step));
        fields->GetItem(L"Anno5Com")->PutValue(Currency(15000 + step));
        fields->GetItem(L"Anno6Cas")->PutValue(Currency(static_cast<long long>(id) * 100 + step));
        saldo->Update();
    }
    saldo->Close();
    double commit = BenchNow();
    connection->CommitTrans();
    double end = BenchNow();
    return CTimes{end - start, commit - start, end - commit};
}

CTimes PlainSqlite(sqlite3* db, const std::vector<long>& ids, int run)
{
    double start = BenchNow();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* select = nullptr;
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM SaldoFinProg WHERE ID = ?", -1, &select, nullptr);
    sqlite3_prepare_v2(db, "UPDATE SaldoFinProg SET Anno4Cas = ?, Anno5Com = ?, Anno6Cas = ? WHERE ID = ?", -1,
                       &update, nullptr);
    for (size_t n = 0; n < ids.size(); ++n) {
        long id = ids[n];
        sqlite3_bind_int(select, 1, id);
        // A record set fetches the whole row it finds: so does this loop.
        sqlite3_int64 row[10] = {};
        if (sqlite3_step(select) == SQLITE_ROW)
            for (int column = 0; column < 10; ++column)
                row[column] = sqlite3_column_int64(select, column);
        sqlite3_int64 step = Step(run, n);
        sqlite3_int64 amount = row[1];
        sqlite3_reset(select);
        sqlite3_bind_int64(update, 1, amount + step);
        sqlite3_bind_int64(update, 2, 15000 + step);
        sqlite3_bind_int64(update, 3, static_cast<sqlite3_int64>(id) * 100 + step);
        sqlite3_bind_int(update, 4, id);
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    double commit = BenchNow();
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    double end = BenchNow();
    return CTimes{end - start, commit - start, end - commit};
}

sqlite3* OpenPlain(const std::wstring& path)
{
    CreateDatabase(path)->Close();
    char utf8[MAX_PATH * 3];
    ::WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
    sqlite3* db = nullptr;
    sqlite3_open_v2(utf8, &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}
} // namespace

int main()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"ado_bench_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring adoPath = folder + L"\\ado.mdb", plainPath = folder + L"\\plain.mdb";
    std::vector<long> ids = VisitOrder();
    int result = 0;
    sqlite3* plainDb = nullptr;
    try {
        plainDb = OpenPlain(plainPath);
        _ConnectionPtr connection = CreateDatabase(adoPath);
        // The best of a few alternating runs: the machine's other work only ever adds time.
        CTimes plain, ado;
        for (int run = 0; run < RUNS; ++run) {
            plain.TakeBest(PlainSqlite(plainDb, ids, run));
            ado.TakeBest(ThroughAdo(connection, ids, run));
        }
        std::printf("%ld seeks and updates in one transaction (best of %d runs)\n", ROWS, RUNS);
        std::printf("                          all of it            seeks and updates      commit\n");
        std::printf("  plain prepared SQLite: %8.1f ms           %8.1f ms           %8.1f ms\n", plain.total,
                    plain.loop, plain.commit);
        std::printf("  through the ADO layer: %8.1f ms  %5.2f x  %8.1f ms  %5.2f x  %8.1f ms\n", ado.total,
                    ado.total / plain.total, ado.loop, ado.loop / plain.loop, ado.commit);
        connection->Close();
    } catch (const _com_error& e) {
        std::printf("failed: %ls\n", static_cast<const wchar_t*>(e.Description()));
        result = 1;
    }
    sqlite3_close(plainDb);
    ::DeleteFileW(adoPath.c_str());
    ::DeleteFileW(plainPath.c_str());
    ::RemoveDirectoryW(folder.c_str());
    return result;
}
