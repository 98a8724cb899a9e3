// Shows the check report dialog with the report of three titles that differ ("check", the default), or the
// combined print with three short reports and the page breaks between them ("print"), for a look with
// scripts/screenshot build/<folder>/tests/report_show.exe [check|print].
#include "engine/ConsistencyCheck.h"
#include "platform/mfc/afxwin.h"
#include "reports/DlgPrintRel.h"
#include "reports/DlgRappControlli.h"
#include "resource.h"

#include <cwchar>
#include <vector>

namespace {

// Three reports of a few lines each, as the tree's leaves would give them.
class CSampleReports : public CReportLeaves
{
public:
    void ClearSelection() override { m_nSelected = 0; }
    bool SelectNextLeaf(bool) override { return ++m_nSelected <= 3; }
    bool GetActiveReportContent(CTextDocument& content) override
    {
        CTextCharFormat heading;
        heading.strFace = L"Tahoma";
        heading.nHalfPoints = 28;
        heading.bBold = true;
        CTextCharFormat body;
        body.strFace = L"Tahoma";
        CString title;
        title.Format(L"Prospetto %d\r", m_nSelected);
        content.AppendText(title, heading);
        content.AppendText(L"Entrate correnti\t1.234.567,89\rSpese correnti\t987.654,32\r", body);
        return true;
    }

private:
    int m_nSelected = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CWinApp app(L"report_show");
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (argc > 1 && std::wcscmp(argv[1], L"print") == 0) {
        CSampleReports reports;
        CDlgPrintRel dialog(nullptr, 0, reports);
        dialog.DoModal();
        return 0;
    }
    // Title 1 of the revenues on both bases, the expenses' title 1 on the accrual basis, the credits on cash.
    const struct
    {
        long nRow;
        std::vector<UINT> fields;
    } rows[] = {{2104, {IDS_CASSA, IDS_COMPETENZA}}, {201, {IDS_COMPETENZA}}, {203, {IDS_CASSA}}};
    CConsistencyFindings findings;
    for (const auto& row : rows) {
        CConsistencyFinding finding;
        finding.nRow = row.nRow;
        for (UINT nField : row.fields)
            finding.fieldIds.Add(nField);
        findings.Add(finding);
    }
    CDlgRappControlli dialog(nullptr, FormatConsistencyReport(findings));
    if (!dialog.Create(IDD_RAPP_CONTROLLI))
        return 1;
    dialog.ShowWindow(SW_SHOW);
    MSG msg;
    while (::IsWindow(dialog.m_hWnd) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(dialog.m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}
