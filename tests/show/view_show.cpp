// Shows an input form in a frame, for a look with scripts/screenshot: "view_show <form folder> [workbook]" opens
// the workbook (Entrate1.vts by default) in the totals form on a small seeded archive; "view_show dati" shows the
// authority data form filled in (the program's own start is form_show); "view_show report <Doc folder> <report>"
// opens a report (RepObiettivo.txd in its own view) filled from the same archive.
#include "data/DatabaseSchema.h"
#include "data/SetDati.h"
#include "engine/RecalcSaldi.h"
#include "forms/RecordID.h"
#include "views/FormHost.h"
#include "views/ViewDatiEnte.h"
#include "views/ViewInputFormVariants.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxframe.h"
#include "reports/ReportHost.h"
#include "reports/ViewTxPrint.h"

#include <cstdio>

namespace
{
class CShowApp : public CWinApp, public CFormHost, public CReportHost
{
public:
    CShowApp() : CWinApp(L"Quarzel08") {}
    CADOConnection& GetDataConnection() override { return m_data; }
    CString GetFormDir() const override { return m_strFormDir; }
    CString GetDocDir() const override { return m_strFormDir; }
    CString GetDocUtDir() const override { return m_strFormDir; }

    CADOConnection m_data;
    CString m_strFormDir;   // or the report templates' folder
};

void Put(CADOConnection& data, LPCTSTR pszTable, LPCTSTR pszKey, LPCTSTR pszField, double dValue)
{
    CSetDati set(pszTable, data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    if (!set.FindByTextKey(pszKey, TRUE))
        set.AddNewWithKey(pszKey);
    set.SetFieldDouble(pszField, dValue);
    set.UpdateRow();
}

void PutText(CADOConnection& data, LPCTSTR pszKey, LPCTSTR pszValue)
{
    CSetDati set(L"DatiEnte", data);
    set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    if (!set.FindByTextKey(pszKey, TRUE))
        set.AddNewWithKey(pszKey);
    set.SetFieldString(L"value", pszValue);
    set.UpdateRow();
}

// Figures of a small town's final revenues of 2003 to 2005, accrual and cash.
void Seed(CADOConnection& data)
{
    const struct { LPCTSTR pszRow; double values[3]; } rows[] = {
        {L"2101", {1843250.75, 1902118.40, 1987340.00}}, {L"2102", {212400.00, 205980.55, 219004.10}},
        {L"2103", {96310.20, 101877.00, 99450.35}},      {L"2201", {654000.00, 612350.80, 598770.00}},
        {L"2301", {402310.45, 417650.00, 431008.90}},    {L"2302", {58200.00, 61430.25, 60915.00}},
        {L"2401", {120000.00, 95400.00, 230500.00}},     {L"3101", {1701200.00, 1810430.10, 1899001.25}},
    };
    for (const auto& row : rows)
        for (int y = 0; y < 3; ++y) {
            CString strField;
            strField.Format(L"Anno%d", y + 1);
            Put(data, L"Entrate", row.pszRow, strField, row.values[y]);
        }
    RecalcSaldi(data);
    const LPCTSTR ente[][2] = {{L"ENTE", L"Comune di Cantù"}, {L"PIVA", L"00123450133"},
                               {L"TEL", L"031 717111"},       {L"FAX", L"031 717199"},
                               {L"MAIL", L"ragioneria@comune.cantu.co.it"},
                               {L"INDIRIZZO", L"Piazza Parini, 4"}, {L"CAP", L"22063"},
                               {L"CITY", L"Cantù"},          {L"PROV", L"CO"}};
    for (const auto& field : ente)
        PutText(data, field[0], field[1]);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    bool bDati = argc > 1 && lstrcmpiW(argv[1], L"dati") == 0;
    const bool bReport = argc > 3 && lstrcmpiW(argv[1], L"report") == 0;
    ::OleInitialize(nullptr);
    CShowApp app;
    WCHAR szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strArchive;
    strArchive.Format(L"%squarzel-view-show-%lu.mdb", szTemp, ::GetCurrentProcessId());
    ::DeleteFileW(strArchive);   // left by an earlier run that was ended from outside
    try {
        CreateDataArchive(strArchive, L"show");
        app.m_data.CreateConnection();
        app.m_data.Open(CADOConnection::FormatConnectionString(strArchive, L"show"), TRUE);
        Seed(app.m_data);
    } catch (const _com_error& e) {
        std::fwprintf(stderr, L"archive: %ls\n", static_cast<LPCWSTR>(e.Description()));
        return 1;
    }
    app.m_strFormDir = bReport ? CString(argv[2]) : !bDati && argc > 1 ? CString(argv[1]) : CString();
    CString strWorkbook = bReport ? CString(argv[3]) : argc > 2 ? CString(argv[2]) : CString(L"Entrate1.vts");

    auto pFrame = new CFrameWnd;
    CString strTitle = bDati ? CString(L"Quarzel08 - Dati Ente") : L"Quarzel08 - " + strWorkbook;
    if (!pFrame->Create(nullptr, strTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 980, 700)))
        return 1;
    app.m_pMainWnd = pFrame;
    CCreateContext context;
    context.m_pNewViewClass = bDati     ? RUNTIME_CLASS(CViewDatiEnte)
                              : bReport ? (strWorkbook.CompareNoCase(L"RepObiettivo.txd") == 0 ? RUNTIME_CLASS(CViewTxPrintCSP)
                                                                                              : RUNTIME_CLASS(CViewTxPrint))
                                        : RUNTIME_CLASS(CViewInputFormTot);
    context.m_pCurrentFrame = pFrame;
    CWnd* pView = pFrame->CreateView(&context);
    if (!pView)
        return 1;
    pFrame->InitialUpdateFrame(nullptr, TRUE);
    pFrame->RecalcLayout();
    CTextID item(strWorkbook);
    CTextLongID report(strWorkbook, 0);
    BOOL bLoaded = dynamic_cast<CDataView*>(pView)->LoadData(bDati ? nullptr : bReport ? static_cast<CRecordID*>(&report) : &item);
    int nResult = bLoaded ? app.Run() : 1;
    app.m_data.Close();
    ::DeleteFileW(strArchive);
    return nResult;
}
