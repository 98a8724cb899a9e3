// The program's side of the PDF check: writes sample documents as PDF into the folder given, for the script to
// read with poppler's tools.
//
// With the program folder's "Doc" folder as second argument, every report and document the program ships is also
// opened in the view that opens it, on the archive of a real-size authority, then saved as PDF, HTML, text, RTF and
// Word and printed into a job that counts the pages; the reports are then gathered into the combined print
// ("StampaModello.pdf") as its dialog gathers them. "reports.txt" lists, one line each, the PDF's name, the pages printed and the texts the
// filled document shows (separated by '|'); "<name>-filled.txt" holds the filled document's text (UTF-8). The
// first page of the programmed-target report, drawn as the printer draws it at 96 dots per inch, goes to
// "RepObiettivo-1.pgm". For every report, "<name>-rows.txt" lists the cells of each table row (separated by tabs),
// "<name>-footer.txt" the footer of each page, and "<name>-rules.txt" the rules of the first page as the layout drew
// them at 96 dots per inch ("h y left right" or "v x top bottom"); "<name>-refs.txt" lists, for each table row, the
// report, the centre it was filled for and the cells as the template holds them, field references included;
// "<name>-headings.txt" the heading rows, which a table repeats on every page it goes on to.
#include "data/ADOConnection.h"
#include "data/AdoErrorText.h"
#include "data/DatabaseSchema.h"
#include "forms/RecordID.h"
#include "platform/mfc/afxexcept.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/textdoc/TextDocument.h"
#include "platform/textdoc/TextLayout.h"
#include "resource.h"
#include "reports/DlgPrintRel.h"
#include "reports/ReportHost.h"
#include "reports/ViewTxInput.h"
#include "reports/ViewTxPrint.h"
#include "support/AuthorityArchive.h"
#include "ui/PixelCanvas.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Write(const CTextDocument& doc, const CString& folder, LPCTSTR pszName)
{
    doc.Save(folder + L"\\" + pszName, txdFormatPdf);
}

void WriteSamples(const CString& folder)
{
    CTextDocument report;
    CTextCharFormat title;
    title.bBold = true;
    title.nHalfPoints = 32;
    report.AppendText(L"Saldo finanziario 2008\r", title);
    report.AppendText(L"Citt\u00e0 di Cant\u00f9: perch\u00e9 \u00e8 pi\u00f9 cos\u00ec \u20ac 1.234,50\r"
                      L"Caso:\t", CTextCharFormat());
    CTextCharFormat symbol;
    symbol.strFace = L"Wingdings";
    symbol.nCharSet = SYMBOL_CHARSET;
    report.AppendText(L"\u00fe\u00a8", symbol);
    report.AppendText(L"\x0C" L"Seconda pagina\r", CTextCharFormat());
    Write(report, folder, L"report.pdf");

    CTextDocument longText;
    longText.PageSetup().nWidth = 16838;
    longText.PageSetup().nHeight = 11905;
    for (int i = 1; i <= 120; ++i) {
        CString line;
        line.Format(L"Riga %d del documento lungo, con parole che vanno a capo quando la riga \u00e8 piena "
                    L"e continuano sulla riga seguente.\r", i);
        longText.AppendText(line, CTextCharFormat());
    }
    Write(longText, folder, L"long.pdf");

    // Ended as a user may end the service centre's confirmation: a page break and a paragraph of underlined blanks.
    CTextDocument blankEnd;
    blankEnd.AppendText(L"Conferma del centro servizi\r\x0C" L"Seconda pagina\r\x0C", CTextCharFormat());
    CTextCharFormat underlined;
    underlined.bUnderline = true;
    blankEnd.AppendText(L"                    \r", underlined);
    Write(blankEnd, folder, L"blank-end.pdf");
}

class CInteropApp : public CWinApp, public CReportHost
{
public:
    CInteropApp() : CWinApp(L"Quarzel08") {}
    CADOConnection& GetDataConnection() override { return m_data; }
    CString GetDocDir() const override { return m_strDocDir; }
    CString GetDocUtDir() const override { return m_strDocUtDir; }
    CString GetProductCode() const override { return L"87654321"; }

    CADOConnection m_data;
    CString m_strDocDir;
    CString m_strDocUtDir;   // empty: the templates themselves are opened
};

// The centre whose report is printed: the one with the longest names.
const long kPrintedCentre = 2;

long SeedArchive(CADOConnection& data, const CString& strArchive)
{
    CreateAuthorityArchive(strArchive, L"interop", authorityByStructure);
    data.CreateConnection();
    data.Open(CADOConnection::FormatConnectionString(strArchive, L"interop"), TRUE);
    return kPrintedCentre;
}

// Counts the pages; a memory device context has no print job to start.
class CCountingJob : public CTxPrintJob
{
public:
    bool Start(HDC, LPCTSTR) override { return true; }
    bool StartPage(HDC) override
    {
        ++m_nPages;
        return true;
    }
    bool EndPage(HDC) override { return true; }
    bool End(HDC) override { return true; }

    int m_nPages = 0;
};

// The page as the printer draws it, on white, written as a grey-scale PGM.
bool WritePrintedPage(const CTX4OLE& control, int nPage, const CString& strPath)
{
    const int dpi = 96;
    const int cx = MulDiv(control.PageSetup().nWidth, dpi, 1440);
    const int cy = MulDiv(control.PageSetup().nHeight, dpi, 1440);
    CPixelCanvas page(cx, cy);
    if (page.GetDeviceCaps(LOGPIXELSX) != dpi)
        return false;
    CCountingJob job;
    control.Print(page.m_hDC, L"pagina", nPage, nPage, 1, &job);
    std::string pgm = "P5\n" + std::to_string(cx) + " " + std::to_string(cy) + "\n255\n";
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const COLORREF px = page.At(x, y);
            pgm += static_cast<char>((GetRValue(px) + GetGValue(px) + GetBValue(px)) / 3);
        }
    FILE* f = _wfopen(strPath, L"wb");
    if (!f)
        return false;
    const bool bWritten = std::fwrite(pgm.data(), 1, pgm.size(), f) == pgm.size();
    return std::fclose(f) == 0 && bWritten;
}

void WriteUtf8(FILE* f, const CString& text)
{
    const std::string bytes = text.ToMultiByte(CP_UTF8);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
}

// The text as a reader of the page would find it: the check boxes of the symbol font are drawn, not written, and
// the cells of a row stand apart.
CString ReadableText(const CTextDocument& doc)
{
    CString text;
    for (long i = 0; i < doc.GetLength(); ++i) {
        const wchar_t ch = doc.GetText()[i];
        text += doc.GetCharFormat(i).IsSymbol() || ch == kTxCellEnd     ? L' '
                : ch == L'\r' || ch == L'\v' || ch == 0x0C ? L'\n'
                                                            : ch;
    }
    return text;
}

bool WriteLines(const CString& strPath, const std::vector<CString>& lines)
{
    FILE* f = _wfopen(strPath, L"wb");
    if (!f)
        return false;
    for (const CString& line : lines)
        WriteUtf8(f, line + L"\n");
    return std::fclose(f) == 0;
}

// The cells of each table row (or of its heading rows only), separated by tabs.
std::vector<CString> RowLines(const CTextDocument& doc, bool bHeadingsOnly = false)
{
    std::vector<CString> rows;
    for (const CTextRowExtent& row : doc.GetRowExtents()) {
        if (bHeadingsOnly && !doc.GetTableRow(row.nRow).bHeading)
            continue;
        CString line;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            CString text = doc.GetText().Mid(row.cells[c].first, row.cells[c].second - row.cells[c].first);
            text.Replace(L'\v', L' ');
            line += (c == 0 ? L"" : L"\t") + text;
        }
        rows.push_back(line);
    }
    return rows;
}

// The table rows, the footers and the first page's rules of a filled report, and its rows' references.
bool WriteTables(const CTextDocument& doc, const CString& strPath, const std::vector<CString>& references)
{
    std::vector<CString> footers, rules;
    const CTextLayout layout(doc);
    for (int nPage = 0; nPage < layout.GetPageCount(); ++nPage)
        footers.push_back(layout.GetFooter(nPage));
    const double dpi = 96.0 / 72.0;
    for (const CLaidRect& rule : layout.GetRules()) {
        if (rule.nPage != 0)
            continue;
        CString line;
        if (rule.top == rule.bottom)
            line.Format(L"h %ld %ld %ld", std::lround(rule.top * dpi), std::lround(rule.left * dpi), std::lround(rule.right * dpi));
        else
            line.Format(L"v %ld %ld %ld", std::lround(rule.left * dpi), std::lround(rule.top * dpi), std::lround(rule.bottom * dpi));
        rules.push_back(line);
    }
    return WriteLines(strPath + L"-rows.txt", RowLines(doc)) && WriteLines(strPath + L"-footer.txt", footers) &&
           WriteLines(strPath + L"-rules.txt", rules) && WriteLines(strPath + L"-refs.txt", references) &&
           WriteLines(strPath + L"-headings.txt", RowLines(doc, true));
}

// The template's table rows, each with the report's name and the centre it is filled for.
std::vector<CString> TemplateReferences(const CString& strDocDir, LPCTSTR pszName, long nCentre)
{
    CTextDocument doc;
    doc.Load(strDocDir + L"\\" + pszName + L".txd");
    std::vector<CString> references;
    for (const CString& row : RowLines(doc)) {
        CString line;
        line.Format(L"%s\t%ld\t%s", pszName, nCentre, row.GetString());
        references.push_back(line);
    }
    return references;
}

// Saves the control's document in every format and prints it; a report also gets its tables and its first page
// as printed. False (said why) when a file was not written.
bool WriteDocument(const CTX4OLE& control, const CString& folder, LPCTSTR pszName, LPCTSTR pszShown, FILE* list,
                   const std::vector<CString>* pReferences)
{
    const CString strPath = folder + L"\\" + pszName;
    control.SaveDocument(strPath + L".pdf", txdFormatPdf);
    control.SaveDocument(strPath + L".htm", txdFormatHtml);
    control.SaveDocument(strPath + L".txt", txdFormatText);
    control.SaveDocument(strPath + L".rtf", txdFormatRtf);
    control.SaveDocument(strPath + L".doc", txdFormatDoc);
    HDC hdc = ::CreateCompatibleDC(nullptr);
    CCountingJob job;
    control.Print(hdc, pszName, -1, -1, 1, &job);
    ::DeleteDC(hdc);
    CString line;
    line.Format(L"%s.pdf|%d|%s\n", pszName, job.m_nPages, pszShown);
    WriteUtf8(list, line);
    if (FILE* text = _wfopen(strPath + L"-filled.txt", L"wb")) {
        WriteUtf8(text, ReadableText(control.GetDocument()));
        std::fclose(text);
    }
    if (pReferences && !WriteTables(control.GetDocument(), strPath, *pReferences)) {
        std::fwprintf(stderr, L"%ls: tables not written\n", pszName);
        return false;
    }
    if (pReferences && !WritePrintedPage(control, 1, strPath + L"-1.pgm")) {
        std::fwprintf(stderr, L"%ls: page not drawn\n", pszName);
        return false;
    }
    return true;
}

// The reports as the tree's leaves hand them to the combined print, one after the other.
class CFilledReports : public CReportLeaves
{
public:
    void ClearSelection() override { m_nSelected = 0; }
    bool SelectNextLeaf(bool) override { return ++m_nSelected <= m_reports.size(); }
    bool GetActiveReportContent(CTextDocument& content) override
    {
        content = m_reports[m_nSelected - 1];
        return true;
    }

    std::vector<CTextDocument> m_reports;
    std::vector<CString> m_references;

private:
    size_t m_nSelected = 0;
};

// The combined print of the reports, from its dialog, written as a report is.
bool WriteCombinedPrint(const CString& folder, CFilledReports& reports, FILE* list)
{
    CDlgPrintRel dialog(nullptr, 0, reports);
    if (!dialog.Create(IDD_PRINT_REL)) {
        std::fputs("the combined print did not open\n", stderr);
        return false;
    }
    const bool bDone = WriteDocument(dialog.GetControl(), folder, L"StampaModello", kAuthorityName, list,
                                     &reports.m_references);
    dialog.DestroyWindow();
    return bDone;
}

struct ShippedDocument
{
    LPCTSTR pszName;
    CRuntimeClass* pViewClass;
    long nNumber;        // the item's number, as the tree, the menu or the updater give it; -1: the printed centre
    LPCTSTR pszShown;    // texts the filled document shows, separated by '|'
};

// Opens each document in its view, saves it as PDF and prints it, then the combined print of the reports; false
// (said why) at the first failure.
bool WriteShippedDocuments(const CString& folder, const CString& strDocDir, long nCentre)
{
    const ShippedDocument documents[] = {
        {L"RepConsuntivi", RUNTIME_CLASS(CViewTxPrint), 0,
         L"Comune di Forl\u00ec|CONTABILIT\u00c0 ANALITICA PER STRUTTURA DI BILANCIO"},
        {L"RepSaldiFin", RUNTIME_CLASS(CViewTxPrint), 0, L"Comune di Forl\u00ec"},
        {L"RepObiettivo", RUNTIME_CLASS(CViewTxPrintCSP), 1, L"Comune di Forl\u00ec (FC)"},
        {L"RepVerifica", RUNTIME_CLASS(CViewTxPrint), 1, L"Comune di Forl\u00ec"},
        {L"RepMonEntrate", RUNTIME_CLASS(CViewTxPrint), 0, L"ENTRATE FINALI"},
        {L"RepMonSpese", RUNTIME_CLASS(CViewTxPrint), 0, L"SPESE FINALI"},
        {L"RepMonSaldo", RUNTIME_CLASS(CViewTxPrint), 0, L"Comune di Forl\u00ec"},
        {L"RepRespTotale", RUNTIME_CLASS(CViewTxPrintResp), 0, L"Comune di Forl\u00ec"},
        {L"RepResp", RUNTIME_CLASS(CViewTxPrintResp), -1,
         L"Ing. Niccol\u00f2 Ferr\u00e0 - Settore Lavori Pubblici, Manutenzioni e Patrimonio"},
        {L"ConfServ", RUNTIME_CLASS(CViewTxConfServ), 9,
         L"Ing. Niccol\u00f2 Ferr\u00e0 Settore Lavori Pubblici, Manutenzioni e Patrimonio"},
        {L"FAX aggiornamenti", RUNTIME_CLASS(CViewTxFax), 13, L"Verifica Vorsa 2008"},
        {L"Normativa", RUNTIME_CLASS(CViewTxInputEx), 11, L"Vorsa"},
        {L"Circolare1207", RUNTIME_CLASS(CViewTxInputEx), 11, L"centri di responsabilit\u00e0"},
        {L"Circolare0808", RUNTIME_CLASS(CViewTxInputEx), 11, L"trimestre"},
    };
    FILE* list = _wfopen(folder + L"\\reports.txt", L"wb");
    if (!list)
        return false;
    bool bDone = true;
    CFilledReports reports;
    for (const ShippedDocument& d : documents) {
        auto pFrame = new CFrameWnd;
        if (!pFrame->Create(nullptr, d.pszName, WS_OVERLAPPEDWINDOW, CRect(0, 0, 900, 700))) {
            std::fputs("no frame (a display is needed)\n", stderr);
            bDone = false;
            break;
        }
        CCreateContext context;
        context.m_pNewViewClass = d.pViewClass;
        context.m_pCurrentFrame = pFrame;
        CWnd* pView = pFrame->CreateView(&context);
        pFrame->RecalcLayout();
        static_cast<CView*>(pView)->OnInitialUpdate();
        const long nNumber = d.nNumber < 0 ? nCentre : d.nNumber;
        const CTextLongID item(CString(d.pszName) + L".txd", nNumber);
        CTX4OLE* pControl = nullptr;
        const bool bReport = CString(d.pszName).Left(3) == L"Rep";
        if (auto pReport = dynamic_cast<CViewTxPrint*>(pView); pReport && pReport->LoadData(&item))
            pControl = &pReport->GetControl();
        else if (auto pDocument = dynamic_cast<CViewTxInput*>(pView); pDocument && pDocument->LoadData(&item))
            pControl = &pDocument->GetControl();
        if (!pControl) {
            std::fwprintf(stderr, L"%ls: not opened\n", d.pszName);
            bDone = false;
        } else {
            // The centre report looks its figures up by the centre; the others by the totals' rows.
            const std::vector<CString> references =
                TemplateReferences(strDocDir, d.pszName, d.pViewClass == RUNTIME_CLASS(CViewTxPrintResp) ? nNumber : 0);
            bDone = WriteDocument(*pControl, folder, d.pszName, d.pszShown, list, bReport ? &references : nullptr);
            if (bReport) {
                reports.m_reports.push_back(pControl->GetDocument());
                reports.m_references.insert(reports.m_references.end(), references.begin(), references.end());
            }
        }
        pFrame->DestroyWindow();
        if (!bDone)
            break;
    }
    bDone = bDone && WriteCombinedPrint(folder, reports, list);
    return std::fclose(list) == 0 && bDone;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const CString folder(argv[1]);
    ::OleInitialize(nullptr);
    // A message would wait for a person: it is printed and the run fails.
    AfxSetMessageBoxHandler([](const AFX_MSGBOX_REQUEST& request) -> int {
        std::fwprintf(stderr, L"%ls\n", static_cast<LPCWSTR>(request.text));
        std::exit(1);
    });
    CInteropApp app;
    try {
        WriteSamples(folder);
        if (argc > 2) {
            app.m_strDocDir = argv[2];
            app.m_strDocUtDir = folder + L"\\DocUt";
            if (!WriteShippedDocuments(folder, app.m_strDocDir, SeedArchive(app.m_data, folder + L"\\Archivio.mdb")))
                return 1;
        }
    }
    catch (CException* e) {
        e->Delete();
        std::fputs("PDF not written\n", stderr);
        return 1;
    }
    catch (const _com_error& e) {
        std::fwprintf(stderr, L"archive: %ls\n", GetComErrorText(e, &app.m_data).GetString());
        return 1;
    }
    return 0;
}
