// Opening and saving an input form on a seeded archive: the load (workbook, description, every described cell
// from the archive) and the save of the totals form (the described cells and the recomputation in one
// transaction), each the median of 20 runs in milliseconds. "form_bench [form folder] [workbook]" uses the
// workbook given (Entrate1.vts of the program folder by default).
#include "data/SetDati.h"
#include "engine/RecalcSaldi.h"
#include "forms/RecordID.h"
#include "views/FormHost.h"
#include "views/ViewInputFormVariants.h"
#include "platform/mfc/afxdoctempl.h"

#include "ViewBenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
const int kRuns = 20;

class CBenchApp : public CWinApp, public CFormHost
{
public:
    CBenchApp() : CWinApp(L"Quarzel08") {}
    CADOConnection& GetDataConnection() override { return m_data; }
    CString GetFormDir() const override { return m_strFormDir; }

    CADOConnection m_data;
    CString m_strFormDir;
};

// Every revenue row of 2003/04/05 on the accrual and cash basis holds a figure.
void Seed(CADOConnection& data)
{
    CSetDati set(L"Entrate", data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    for (long nBase : {2000L, 3000L})
        for (long nTitle = 1; nTitle <= 5; ++nTitle)
            for (long nItem = 1; nItem <= 7; ++nItem) {
                CString strKey;
                strKey.Format(L"%ld", nBase + nTitle * 100 + nItem);
                if (!set.FindByTextKey(strKey, TRUE))
                    set.AddNewWithKey(strKey);
                for (int y = 1; y <= 3; ++y) {
                    CString strField;
                    strField.Format(L"Anno%d", y);
                    set.SetFieldDouble(strField, 1000.0 * static_cast<double>(nTitle * 10 + nItem) + y * 0.25);
                }
                set.UpdateRow();
            }
    RecalcSaldi(data);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    ::OleInitialize(nullptr);
    BenchEndOnMessage();
    CBenchApp app;
    app.m_strFormDir = BenchDataFolder(argc, argv, L"Form");
    CString strWorkbook = argc > 2 ? CString(argv[2]) : CString(L"Entrate1.vts");
    CString strPath = app.m_strFormDir + L"\\" + strWorkbook;
    if (::GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES) {
        std::fwprintf(stderr, L"no workbook %ls\n", static_cast<LPCWSTR>(strPath));
        return 2;
    }
    CString strCopy = app.m_strFormDir + L"\\~" + strWorkbook;
    if (!::CopyFileW(strPath, strCopy, FALSE)) {
        std::fwprintf(stderr, L"cannot copy the workbook to %ls\n", static_cast<LPCWSTR>(strCopy));
        return 2;
    }
    CString strArchive = BenchTempFile(L"form", L"Archivio.mdb");
    if (!BenchOpenArchive(app.m_data, strArchive, Seed))
        return 1;
    CFrameWnd* pFrame = nullptr;
    auto pView = BenchCreateView<CViewInputFormTot>(RUNTIME_CLASS(CViewInputFormTot), pFrame);
    if (!pView)
        return 1;
    pFrame->InitialUpdateFrame(nullptr, TRUE);

    std::vector<double> loads, saves;
    for (int nRun = 0; nRun < kRuns; ++nRun) {
        // Each load reads the workbook anew: the view skips a workbook it already shows, by name ignoring case,
        // so the names alternate through a file of its own.
        CTextID item(nRun % 2 ? strWorkbook : L"~" + strWorkbook);
        double dStart = BenchNow();
        if (!pView->LoadData(&item)) {
            std::fprintf(stderr, "not loaded\n");
            return 1;
        }
        loads.push_back(BenchNow() - dStart);

        CF1Book& grid = pView->GetGrid();
        const CSheetInfo& sheet = pView->GetFormInfo()[0];
        grid.InvokePut279(sheet.m_nFirstRow, sheet.m_nFirstCol, 1000.0 + nRun);
        pView->SetModified(TRUE);
        dStart = BenchNow();
        if (!pView->SaveData()) {
            std::fprintf(stderr, "not saved\n");
            return 1;
        }
        saves.push_back(BenchNow() - dStart);
    }
    std::printf("%-40s %8.1f ms (target < 100)\n", "open (load, description, fill)", BenchMedian(loads));
    std::printf("%-40s %8.1f ms (target < 150)\n", "save with the recomputation", BenchMedian(saves));
    pFrame->DestroyWindow();
    app.m_data.Close();
    ::DeleteFileW(strArchive);
    ::DeleteFileW(strCopy);
    return 0;
}
