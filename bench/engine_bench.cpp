// RecalcSaldi on a full archive (every input and computed row present, 20 budget-chapter items a centre) at 10,
// 25, 50 and 100 responsible centres, in both accounting modes, after a change of every input and again with
// nothing changed: the best of five runs in milliseconds and the number of SQLite statements one run starts,
// counted through a trace that every new connection gets; the same statements, recorded from one run, replayed
// with plain prepared SQLite statements on the same archive; both also without the final commit (in brackets the
// layer's commit); and where the replay's time goes at 50 centres.
#include "data/DatabaseSchema.h"
#include "data/SetDati.h"
#include "data/SetExtraCap.h"
#include "data/SetSettings.h"
#include "engine/RecalcSaldi.h"
#include "platform/ado/JetFunctions.h"
#include "util/MessageText.h"

#include "BenchSupport.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{
const int kRuns = 5;   // the machine may be busy: the best run is the one that measures the code
const LPCTSTR kPassword = L"bench";

long g_nStatements = 0;
double g_commitStart = 0;   // when the last COMMIT began

// A statement as the layer ran it: its text with parameters, and the same text with the values bound.
struct CRecorded
{
    std::string sql;
    std::string expanded;
};
std::vector<CRecorded>* g_pRecording = nullptr;

// Trigger programs (the cascades of foreign keys) report themselves too: only the statements count.
int CountStatement(unsigned nEvent, void* /*pContext*/, void* pStatement, void* pText)
{
    if (nEvent != SQLITE_TRACE_STMT || strncmp(static_cast<const char*>(pText), "--", 2) == 0)
        return 0;
    ++g_nStatements;
    if (strcmp(static_cast<const char*>(pText), "COMMIT") == 0)
        g_commitStart = BenchNow();
    if (g_pRecording) {
        auto stmt = static_cast<sqlite3_stmt*>(pStatement);
        char* expanded = sqlite3_expanded_sql(stmt);
        g_pRecording->push_back(CRecorded{sqlite3_sql(stmt), expanded ? expanded : ""});
        sqlite3_free(expanded);
    }
    return 0;
}

// Binds to stmt the values that the expanded text holds where the text has its parameters.
void BindRecorded(sqlite3_stmt* stmt, const CRecorded& recorded)
{
    const std::string& sql = recorded.sql;
    const std::string& values = recorded.expanded;
    size_t s = 0, e = 0;
    int nLast = 0;
    while (s < sql.size() && e < values.size()) {
        if (sql[s] == '\'') {
            // A literal of the text itself: the same in both.
            size_t end = sql.find('\'', s + 1);
            while (end != std::string::npos && end + 1 < sql.size() && sql[end + 1] == '\'')
                end = sql.find('\'', end + 2);
            size_t length = (end == std::string::npos ? sql.size() : end + 1) - s;
            s += length;
            e += length;
            continue;
        }
        if (sql[s] != '?') {
            ++s;
            ++e;
            continue;
        }
        int nIndex = 0;
        for (++s; s < sql.size() && sql[s] >= '0' && sql[s] <= '9'; ++s)
            nIndex = nIndex * 10 + (sql[s] - '0');
        nIndex = nIndex ? nIndex : nLast + 1;
        nLast = std::max(nLast, nIndex);
        if (values.compare(e, 4, "NULL") == 0) {
            sqlite3_bind_null(stmt, nIndex);
            e += 4;
        }
        else if (values[e] == '\'') {
            std::string text;
            for (++e; e < values.size(); ++e) {
                if (values[e] == '\'' && (e + 1 >= values.size() || values[e + 1] != '\''))
                    break;
                if (values[e] == '\'')
                    ++e;
                text += values[e];
            }
            ++e;
            sqlite3_bind_text(stmt, nIndex, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        else {
            size_t start = e;
            bool real = false;
            while (e < values.size() && strchr("+-0123456789.eE", values[e])) {
                real = real || values[e] == '.' || values[e] == 'e' || values[e] == 'E';
                ++e;
            }
            std::string number = values.substr(start, e - start);
            if (real)
                sqlite3_bind_double(stmt, nIndex, std::strtod(number.c_str(), nullptr));
            else
                sqlite3_bind_int64(stmt, nIndex, std::strtoll(number.c_str(), nullptr, 10));
        }
    }
}

// Where a replay's time goes: the statements of one text, how many ran and their milliseconds.
struct CTextCost
{
    long nCount = 0;
    double ms = 0;
};
using CCostByText = std::map<std::string, CTextCost>;

// The recorded statements again, each text prepared once, every row read column by column as the layer reads it;
// commitMs gets the time of the commits. With pCosts, every statement is timed on its own and its time added to
// its text's.
double Replay(sqlite3* db, const std::vector<CRecorded>& statements, std::map<std::string, sqlite3_stmt*>& prepared,
              double& commitMs, CCostByText* pCosts = nullptr)
{
    commitMs = 0;
    double start = BenchNow();
    for (const CRecorded& recorded : statements) {
        bool bCommit = recorded.sql == "COMMIT";
        double statementStart = pCosts || bCommit ? BenchNow() : 0;
        sqlite3_stmt*& stmt = prepared[recorded.sql];
        if (!stmt && sqlite3_prepare_v2(db, recorded.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return -1;
        BindRecorded(stmt, recorded);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                    sqlite3_column_text16(stmt, c);
                else
                    sqlite3_column_int64(stmt, c);
            }
        }
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) {
            std::printf("replay failed: %s\n  %s\n", sqlite3_errmsg(db), recorded.expanded.c_str());
            return -1;
        }
        if (bCommit)
            commitMs += BenchNow() - statementStart;
        if (pCosts) {
            CTextCost& cost = (*pCosts)[recorded.sql];
            ++cost.nCount;
            cost.ms += BenchNow() - statementStart;
        }
    }
    return BenchNow() - start;
}

int TraceConnection(sqlite3* db, const char** /*ppError*/, const void* /*pApi*/)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, CountStatement, nullptr);
    return SQLITE_OK;
}

// A figure that differs from row to row and from centre to centre.
double Amount(long nID, long nSalt)
{
    return static_cast<double>((nID * 7919 + nSalt * 104729) % 100000) + 0.25;
}

void FillRows(CADOConnection& data, LPCTSTR pszTable, const long* pRows, int nRows, const LPCTSTR* pFields,
              int nFields, long nIdResp = -1)
{
    CSetDati set(pszTable, data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    for (int r = 0; r < nRows; ++r) {
        if (nIdResp < 0) {
            CString key;
            key.Format(L"%d", static_cast<int>(pRows[r]));
            set.AddNewWithKey(key);
        }
        else {
            set.AddNewWithIdAndResp(pRows[r], nIdResp);
        }
        for (int f = 0; f < nFields; ++f)
            set.SetFieldDouble(pFields[f], Amount(pRows[r] + f, nIdResp));
        set.UpdateRow();
    }
}

const long kEntrateItems[] = {2101, 2102, 2103, 2201, 2202, 2203, 2204, 2205, 2301, 2302, 2303, 2304, 2305,
                              2401, 2402, 2403, 2404, 2405, 2406, 2501, 2503,
                              3101, 3102, 3103, 3201, 3202, 3203, 3204, 3205, 3301, 3302, 3303, 3304, 3305,
                              3401, 3402, 3403, 3404, 3405, 3406, 3501, 3503};
const long kForecastItems[] = {2101, 2102, 2103, 2201, 2202, 2203, 2204, 2205, 2301, 2302, 2303, 2304, 2305,
                               2401, 2402, 2403, 2404, 2405, 2406, 2502, 201, 202, 203, 211, 212};
const LPCTSTR kChapterEntrate[] = {L"1010100", L"1020100", L"1030100", L"2010100", L"2020100", L"3010100",
                                   L"3020100", L"3030100", L"4010100", L"4020100", L"4060100", L"4060200"};
const LPCTSTR kChapterSpese[] = {L"1010100", L"1020100", L"1030100", L"1040100", L"2010100", L"2010110",
                                 L"2020110", L"2030100"};

void AddChapters(CADOConnection& data, int nKind, const LPCTSTR* pCodes, int nCodes, long nIdResp)
{
    CSetExtraCap set(data, nKind);
    set.OpenNullKey();
    for (int c = 0; c < nCodes; ++c) {
        set.m_rec.m_ID.SetNull();   // numbered by the database: the record keeps the number of the row added last
        set.m_rec.m_idResp.SetValue(nIdResp);
        set.m_rec.m_codUEB.SetText(pCodes[c]);
        set.m_rec.m_capitolo.SetValue(c + 1);
        set.m_rec.m_articolo.SetText(L"Articolo");
        set.m_rec.m_importoComp.SetDouble(Amount(c, nIdResp));
        set.m_rec.m_importoCassa.SetDouble(Amount(c + 100, nIdResp));
        set.AddNew();
    }
}

void Fill(CADOConnection& data, int nCentres)
{
    static const LPCTSTR pastYears[] = {L"Anno1", L"Anno2", L"Anno3"};
    static const LPCTSTR forecast[] = {L"Anno4Com", L"Anno4Cas", L"Anno5Com", L"Anno5Cas", L"Anno6Com",
                                       L"Anno6Cas"};
    static const LPCTSTR quarters[] = {L"Trim1", L"Trim2", L"Trim3", L"Trim4"};
    static const LPCTSTR quarterTargets[] = {L"Anno1", L"Anno2", L"Anno3"};
    static const long saldoFin[] = {201, 202, 203, 1201, 1202, 1203};
    static const long monitor[] = {300, 1300};
    static const long quarterRows[] = {500, 1500};

    CADOTransaction transaction(data);
    FillRows(data, L"Entrate", kEntrateItems, _countof(kEntrateItems), pastYears, _countof(pastYears));
    FillRows(data, L"SaldoFin", saldoFin, _countof(saldoFin), pastYears, _countof(pastYears));
    FillRows(data, L"Monitor", monitor, _countof(monitor), quarters, _countof(quarters));
    FillRows(data, L"SaldoProg", quarterRows, _countof(quarterRows), quarterTargets, _countof(quarterTargets));
    FillRows(data, L"SaldoFinProg", kForecastItems, _countof(kForecastItems), forecast, _countof(forecast));
    for (int c = 0; c < static_cast<int>(_countof(kChapterEntrate)); ++c) {
        CString sql;
        sql.Format(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (%d, 'Capitolo', '%s')", c + 1,
                   kChapterEntrate[c]);
        data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
    }
    for (int c = 0; c < static_cast<int>(_countof(kChapterSpese)); ++c) {
        CString sql;
        sql.Format(L"INSERT INTO CapSpese (ID, descrizione, codUEB) VALUES (%d, 'Capitolo', '%s')", c + 1,
                   kChapterSpese[c]);
        data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
    }
    for (int n = 1; n <= nCentres; ++n) {
        CString sql;
        sql.Format(L"INSERT INTO Responsabili (ID, responsabile, centroServ) VALUES (%d, 'Responsabile %03d', "
                   L"'Centro %03d')", n, n, n);
        data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
        FillRows(data, L"SaldoFinCalc", kForecastItems, _countof(kForecastItems), forecast, 2, n);
        AddChapters(data, CSetExtraCap::kindEntrate, kChapterEntrate, _countof(kChapterEntrate), n);
        AddChapters(data, CSetExtraCap::kindSpese, kChapterSpese, _countof(kChapterSpese), n);
    }
    transaction.Commit();
    // Every computed row is there before the runs that are measured.
    RecalcSaldi(data);
}

// The best milliseconds of several runs, part by part: all of a run, and the final commit, whose writing to the
// disk is the same work for the layer and the replay and varies most with what else the machine writes.
struct CTimes
{
    double total = -1;
    double withoutCommit = -1;
    double commit = -1;

    void TakeBest(double runTotal, double runCommit)
    {
        if (runTotal < 0)
            return;
        auto best = [](double& best, double value) { best = best < 0 || value < best ? value : best; };
        best(total, runTotal);
        best(withoutCommit, runTotal - runCommit);
        best(commit, runCommit);
    }
};

struct CResult
{
    CTimes layer;
    CTimes replay;
    long nStatements = 0;
    CCostByText costs;   // of one more replay, outside the best
};

// The texts that cost the replay most, with their share of it.
void PrintCosts(const char* pszTitle, const CCostByText& costs)
{
    std::vector<std::pair<std::string, CTextCost>> texts(costs.begin(), costs.end());
    std::sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return a.second.ms > b.second.ms; });
    double total = 0;
    for (const auto& text : texts)
        total += text.second.ms;
    std::printf("%s: %zu texts, %.1f ms timed one by one; the costliest:\n", pszTitle, texts.size(), total);
    for (size_t i = 0; i < texts.size() && i < 6; ++i)
        std::printf("  %6.2f ms %5ld x  %.100s\n", texts[i].second.ms, texts[i].second.nCount,
                    texts[i].first.c_str());
}

// The plain connection of the replay: what the layer's connection has that its statements need.
sqlite3* OpenPlain(const CString& path, CJetFunctionError& error)
{
    sqlite3* db = nullptr;
    sqlite3_open16(static_cast<LPCTSTR>(path), &db);
    sqlite3_create_collation(db, "JETTEXT", SQLITE_UTF16LE, nullptr,
                             [](void*, int n1, const void* p1, int n2, const void* p2) {
                                 return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                                                         static_cast<const wchar_t*>(p1), n1 / 2,
                                                         static_cast<const wchar_t*>(p2), n2 / 2) - CSTR_EQUAL;
                             });
    JetRegisterFunctions(db, &error);
    sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    return db;
}

// Adds to every amount that the recomputation reads (and to the computed ones, which it writes again), so that
// every row it computes changes.
void ChangeInputs(CADOConnection& data)
{
    static const LPCTSTR changes[] = {
        L"UPDATE Entrate SET Anno1 = Anno1 + 1, Anno2 = Anno2 + 1, Anno3 = Anno3 + 1",
        L"UPDATE SaldoFinCalc SET Anno4Com = Anno4Com + 1, Anno4Cas = Anno4Cas + 1 WHERE idResp > 0",
        L"UPDATE ExtraEntrCap SET importoComp = importoComp + 1, importoCassa = importoCassa + 1",
        L"UPDATE ExtraSpeseCap SET importoComp = importoComp + 1, importoCassa = importoCassa + 1",
    };
    for (LPCTSTR sql : changes)
        data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
}

enum EScenario { inputsChanged, nothingChanged, kScenarios };

CResult Measure(CADOConnection& data, const CString& path, int nMode, EScenario nScenario)
{
    CSetSettings::SetSettingImpExtraCont2(data, nMode);
    // The first run measured finds the rows as the runs after it do.
    if (nScenario == nothingChanged)
        RecalcSaldi(data);
    CResult result;
    std::vector<CRecorded> statements;
    CJetFunctionError error;
    sqlite3* plain = nullptr;
    std::map<std::string, sqlite3_stmt*> prepared;
    for (int run = 0; run < kRuns; ++run) {
        if (nScenario == inputsChanged)
            ChangeInputs(data);
        g_nStatements = 0;
        g_pRecording = run == 0 ? &statements : nullptr;
        double start = BenchNow();
        RecalcSaldi(data);
        double end = BenchNow();
        g_pRecording = nullptr;
        result.layer.TakeBest(end - start, end - g_commitStart);
        result.nStatements = g_nStatements;
        if (!plain)
            plain = OpenPlain(path, error);
        double commitMs = 0;
        double replayMs = Replay(plain, statements, prepared, commitMs);
        result.replay.TakeBest(replayMs, commitMs);
    }
    double commitMs = 0;
    Replay(plain, statements, prepared, commitMs, &result.costs);
    for (auto& entry : prepared)
        sqlite3_finalize(entry.second);
    sqlite3_close(plain);
    return result;
}

// The results of one archive: by scenario, then by accounting mode.
struct CArchiveResults
{
    int nCentres = 0;
    CResult results[kScenarios][2];
};

void PrintTable(const char* pszTitle, const std::vector<CArchiveResults>& archives, EScenario nScenario)
{
    std::printf("\n%s\n", pszTitle);
    std::printf("centres   title totals typed (mode 0)                          by budget chapter (mode 1)\n");
    std::printf("          layer    stmts  replay   ratio  without commit       layer    stmts  replay   ratio  "
                "without commit\n");
    for (const CArchiveResults& archive : archives) {
        std::printf("%7d", archive.nCentres);
        for (const CResult& result : archive.results[nScenario])
            std::printf("   %5.1f ms  %5ld  %5.1f ms  %4.2f x  %4.2f x (%3.1f ms) ", result.layer.total,
                        result.nStatements, result.replay.total, result.layer.total / result.replay.total,
                        result.layer.withoutCommit / result.replay.withoutCommit, result.layer.commit);
        std::printf("\n");
    }
}
} // namespace

int main()
{
    ::CoInitialize(nullptr);
    sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(TraceConnection));
    static const int centres[] = {10, 25, 50, 100};
    std::printf("RecalcSaldi on a full archive, %d chapter items a centre (best of %d runs)\n",
                static_cast<int>(_countof(kChapterEntrate) + _countof(kChapterSpese)), kRuns);
    int nResult = 0;
    std::vector<CArchiveResults> archives;
    for (int nCentres : centres) {
        CString path = BenchTempFile(L"engine-bench", FormatString(L"%d.mdb", nCentres));
        try {
            CreateDataArchive(path, kPassword);
            CADOConnection data;
            data.CreateConnection();
            data.Open(CADOConnection::FormatConnectionString(path, kPassword), TRUE);
            Fill(data, nCentres);
            CArchiveResults archive;
            archive.nCentres = nCentres;
            for (int nMode = 0; nMode < 2; ++nMode)
                for (int nScenario = 0; nScenario < kScenarios; ++nScenario)
                    archive.results[nScenario][nMode] =
                        Measure(data, path, nMode, static_cast<EScenario>(nScenario));
            data.Close();
            archives.push_back(archive);
        }
        catch (const _com_error& e) {
            std::printf("error 0x%08lX %ls\n", static_cast<unsigned long>(e.Error()),
                        static_cast<LPCWSTR>(e.Description()));
            nResult = 1;
        }
        ::DeleteFileW(path);
    }
    PrintTable("After a change of every input (every computed row is written)", archives, inputsChanged);
    PrintTable("Again with nothing changed (the rows written hold their values already)", archives, nothingChanged);
    const int nBreakdownCentres = 50;
    for (const CArchiveResults& archive : archives) {
        if (archive.nCentres != nBreakdownCentres)
            continue;
        std::printf("\nWhere the replay's time goes at %d centres\n", nBreakdownCentres);
        PrintCosts("inputs changed, mode 0", archive.results[inputsChanged][0].costs);
        PrintCosts("inputs changed, mode 1", archive.results[inputsChanged][1].costs);
        PrintCosts("nothing changed, mode 0", archive.results[nothingChanged][0].costs);
        PrintCosts("nothing changed, mode 1", archive.results[nothingChanged][1].costs);
    }
    ::CoUninitialize();
    return nResult;
}
