// RecalcSaldi on a full archive (every input and computed row present, 20 budget-chapter items a centre) at 10,
// 25, 50 and 100 responsible centres, in both accounting modes: the best of five runs in milliseconds and the
// number of SQLite statements one run starts, counted through a trace that every new connection gets.
#include "data/DatabaseSchema.h"
#include "data/SetDati.h"
#include "data/SetExtraCap.h"
#include "data/SetSettings.h"
#include "engine/RecalcSaldi.h"
#include "util/MessageText.h"

#include "BenchSupport.h"

#include <sqlite3.h>

#include <cstdio>

namespace
{
const int kRuns = 5;   // the machine may be busy: the best run is the one that measures the code
const LPCTSTR kPassword = L"bench";

long g_nStatements = 0;

// Trigger programs (the cascades of foreign keys) report themselves too: only the statements count.
int CountStatement(unsigned nEvent, void* /*pContext*/, void* /*pStatement*/, void* pText)
{
    if (nEvent == SQLITE_TRACE_STMT && strncmp(static_cast<const char*>(pText), "--", 2) != 0)
        ++g_nStatements;
    return 0;
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

struct CResult
{
    double ms = -1;
    long nStatements = 0;
};

CResult Measure(CADOConnection& data, int nMode)
{
    CSetSettings::SetSettingImpExtraCont2(data, nMode);
    CResult result;
    for (int run = 0; run < kRuns; ++run) {
        g_nStatements = 0;
        double start = BenchNow();
        RecalcSaldi(data);
        double elapsed = BenchNow() - start;
        if (result.ms < 0 || elapsed < result.ms)
            result.ms = elapsed;
        result.nStatements = g_nStatements;
    }
    return result;
}
} // namespace

int main()
{
    ::CoInitialize(nullptr);
    sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(TraceConnection));
    static const int centres[] = {10, 25, 50, 100};
    std::printf("RecalcSaldi on a full archive, %d chapter items a centre (best of %d runs)\n",
                static_cast<int>(_countof(kChapterEntrate) + _countof(kChapterSpese)), kRuns);
    std::printf("centres   title totals typed (mode 0)   by budget chapter (mode 1)\n");
    int nResult = 0;
    for (int nCentres : centres) {
        CString path = BenchTempFile(L"engine-bench", FormatString(L"%d.mdb", nCentres));
        try {
            CreateDataArchive(path, kPassword);
            CADOConnection data;
            data.CreateConnection();
            data.Open(CADOConnection::FormatConnectionString(path, kPassword), TRUE);
            Fill(data, nCentres);
            CResult typed = Measure(data, 0);
            CResult byChapter = Measure(data, 1);
            data.Close();
            std::printf("%7d   %7.1f ms %6ld statements   %7.1f ms %6ld statements\n", nCentres, typed.ms,
                        typed.nStatements, byChapter.ms, byChapter.nStatements);
        }
        catch (const _com_error& e) {
            std::printf("error 0x%08lX %ls\n", static_cast<unsigned long>(e.Error()),
                        static_cast<LPCWSTR>(e.Description()));
            nResult = 1;
        }
        ::DeleteFileW(path);
    }
    ::CoUninitialize();
    return nResult;
}
