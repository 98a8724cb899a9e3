// Opening the programmed-target report in its view (template read, every reference filled on a seeded archive,
// the document shown in the control) and saving it as PDF: the median and the best of 20 runs each.
#include "engine/RecalcSaldi.h"
#include "forms/RecordID.h"
#include "reports/ReportHost.h"
#include "reports/ViewTxPrint.h"

#include "ViewBenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
const int kRuns = 20;

class CBenchApp : public CWinApp, public CReportHost
{
public:
    CBenchApp() : CWinApp(L"Quarzel08") {}
    CADOConnection& GetDataConnection() override { return m_data; }
    CString GetDocDir() const override { return m_strDocDir; }
    CString GetDocUtDir() const override { return m_strDocDir; }
    CString GetProductCode() const override { return L"87654321"; }

    CADOConnection m_data;
    CString m_strDocDir;
};

// The balances of three past years and their averages, for every row the report reads.
void Seed(CADOConnection& data)
{
    for (LPCTSTR pszTable : {L"SaldoFin", L"SaldoProg"})
        for (long nRow : {100L, 105L, 200L, 300L, 301L, 401L, 402L, 500L, 1100L, 1105L, 1106L, 1107L, 1200L,
                          1400L, 1401L, 2100L, 2400L}) {
            CString sql;
            sql.Format(L"INSERT INTO %s (ID, Anno1, Anno2, Anno3) VALUES (%ld, %ld.25, %ld.5, %ld)", pszTable,
                       nRow, nRow * 1000, nRow * 1100, nRow * 1200);
            data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
        }
    RecalcSaldi(data);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    ::OleInitialize(nullptr);
    BenchEndOnMessage();
    CBenchApp app;
    app.m_strDocDir = BenchDataFolder(argc, argv, L"Doc");
    CString strArchive = BenchTempFile(L"report", L"Archivio.mdb");
    if (!BenchOpenArchive(app.m_data, strArchive, Seed))
        return 1;
    CFrameWnd* pFrame = nullptr;
    auto pView = BenchCreateView<CViewTxPrintCSP>(RUNTIME_CLASS(CViewTxPrintCSP), pFrame);
    if (!pView)
        return 1;
    pFrame->RecalcLayout();
    pView->OnInitialUpdate();

    const CString strPdf = BenchTempFile(L"report", L"Obiettivo.pdf");
    std::vector<double> loads, saves;
    for (int nRun = 0; nRun < kRuns; ++nRun) {
        // A different item each run, so that the view loads again.
        CTextLongID item(L"RepObiettivo.txd", nRun % 2);
        double t0 = BenchNow();
        if (!pView->LoadData(&item)) {
            std::fprintf(stderr, "not loaded\n");
            return 1;
        }
        double t1 = BenchNow();
        pView->GetControl().SaveDocument(strPdf, txdFormatPdf);
        double t2 = BenchNow();
        loads.push_back(t1 - t0);
        saves.push_back(t2 - t1);
    }
    std::printf("%-40s %8.1f ms, best %.1f (target < 200)\n", "open and fill the programmed-target report",
                BenchMedian(loads), *std::min_element(loads.begin(), loads.end()));
    std::printf("%-40s %8.1f ms, best %.1f (target < 500)\n", "save it as PDF", BenchMedian(saves),
                *std::min_element(saves.begin(), saves.end()));
    std::printf("pages %d\n", pView->GetControl().GetPageCount());
    pFrame->DestroyWindow();
    ::DeleteFileW(strPdf);
    return 0;
}
