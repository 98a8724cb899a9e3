// 10,000 seeks and updates of SaldoFinProg rows in one transaction: through CSetDati (as the balance
// recomputation does them) and through plain prepared SQLite statements on the same kind of file.
// Prints the best of five runs of each, in milliseconds, and the ratios.
#include "data/DatabaseSchema.h"
#include "data/SetDati.h"

#include "BenchSupport.h"

#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace
{
const int kRows = 100;        // about the rows of the real table
const int kOperations = 10000;
const int kRuns = 5;          // the machine may be busy: the best run is the one that measures the code
const LPCTSTR kPassword = L"bench";

// The shorter time; a failed run (-1) never counts.
double Best(double best, double elapsed)
{
    return elapsed >= 0 && (best < 0 || elapsed < best) ? elapsed : best;
}

long RowId(int n)
{
    return 2101 + n % kRows;
}

void Seed(CADOConnection& connection)
{
    CADOTransaction transaction(connection);
    CSetDati set(L"SaldoFinProg", connection);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    for (int n = 0; n < kRows; ++n) {
        CString key;
        key.Format(L"%ld", RowId(n));
        set.AddNewWithKey(key);
        set.UpdateRow();
    }
    transaction.Commit();
}

// The key texts as the input forms hand them over, made before the timing: the plain statements get their keys
// ready-made too, so both sides measure the look-up and not the formatting of the texts.
std::vector<CString> KeyTexts()
{
    std::vector<CString> texts(kRows);
    for (int n = 0; n < kRows; ++n)
        texts[static_cast<size_t>(n)].Format(L"%ld", RowId(n));
    return texts;
}

// The rows looked up by their number, or by its text as the input forms do.
double RunRecordset(CADOConnection& connection, bool bTextKey)
{
    const std::vector<CString> texts = KeyTexts();
    double start = BenchNow();
    CADOTransaction transaction(connection);
    CSetDati set(L"SaldoFinProg", connection);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    for (int n = 0; n < kOperations; ++n) {
        bool bFound;
        if (bTextKey) {
            bFound = set.FindByTextKey(texts[static_cast<size_t>(n % kRows)], TRUE);
        }
        else {
            _variant_t key(RowId(n));
            bFound = set.FindByKey(1, &key, TRUE);
        }
        if (!bFound)
            return -1;
        set.SetFieldDouble(L"Anno4Com", set.GetFieldCurrency(L"Anno4Com") + 0.01);
        set.UpdateRow();
    }
    transaction.Commit();
    return BenchNow() - start;
}

double RunSqlite(const CString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open16(static_cast<LPCTSTR>(path), &db) != SQLITE_OK)
        return -1;
    sqlite3_stmt* select = nullptr;
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "SELECT Anno4Com FROM SaldoFinProg WHERE ID = ?", -1, &select, nullptr);
    sqlite3_prepare_v2(db, "UPDATE SaldoFinProg SET Anno4Com = ? WHERE ID = ?", -1, &update, nullptr);
    double start = BenchNow();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int n = 0; n < kOperations; ++n) {
        sqlite3_bind_int(select, 1, static_cast<int>(RowId(n)));
        sqlite3_int64 amount = sqlite3_step(select) == SQLITE_ROW ? sqlite3_column_int64(select, 0) : 0;
        sqlite3_reset(select);
        sqlite3_bind_int64(update, 1, amount + 100);   // + 0.01 in 1/10000
        sqlite3_bind_int(update, 2, static_cast<int>(RowId(n)));
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    double elapsed = BenchNow() - start;
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    sqlite3_close(db);
    return elapsed;
}
} // namespace

int main()
{
    ::CoInitialize(nullptr);
    CString adoPath = BenchTempFile(L"bench", L"ado.mdb");
    CString sqlitePath = BenchTempFile(L"bench", L"sqlite.mdb");
    double byNumber = -1;
    double byText = -1;
    double plain = -1;
    try {
        CreateDataArchive(adoPath, kPassword);
        CreateDataArchive(sqlitePath, kPassword);
        CADOConnection seeder;
        seeder.CreateConnection();
        seeder.Open(CADOConnection::FormatConnectionString(sqlitePath, kPassword), TRUE);
        Seed(seeder);
        seeder.Close();
        CADOConnection connection;
        connection.CreateConnection();
        connection.Open(CADOConnection::FormatConnectionString(adoPath, kPassword), TRUE);
        Seed(connection);
        // Alternating runs: a busy spell of the machine then spoils one run of each, not all the runs of one.
        for (int run = 0; run < kRuns; ++run) {
            byNumber = Best(byNumber, RunRecordset(connection, false));
            byText = Best(byText, RunRecordset(connection, true));
            plain = Best(plain, RunSqlite(sqlitePath));
        }
        connection.Close();
    }
    catch (const _com_error& e) {
        std::printf("error 0x%08lX %ls\n", static_cast<unsigned long>(e.Error()), static_cast<LPCWSTR>(e.Description()));
    }
    ::DeleteFileW(adoPath);
    ::DeleteFileW(sqlitePath);
    ::CoUninitialize();
    if (byNumber < 0 || byText < 0 || plain <= 0)
        return 1;
    std::printf("%d seeks and updates of SaldoFinProg rows in one transaction (best of %d runs)\n", kOperations,
                kRuns);
    std::printf("  prepared SQLite statements:          %8.1f ms\n", plain);
    std::printf("  CSetDati, FindByKey with the number: %8.1f ms  %5.2f x\n", byNumber, byNumber / plain);
    std::printf("  CSetDati, FindByTextKey:             %8.1f ms  %5.2f x\n", byText, byText / plain);
    return 0;
}
