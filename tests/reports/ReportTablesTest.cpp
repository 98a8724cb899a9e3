// The control forms' tables across their page: figures whole, texts on one line where the page allows, the table as
// wide as the printable width.
#include "reports/ReportTables.h"
#include "reports/TxPrinting.h"
#include "platform/textdoc/TextLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

// A table as the report compiler writes it: a code, a description, nFigures columns of 24 mm with a figure each.
CTextDocument FiguresTable(size_t nFigures, LPCTSTR pszDescription, LPCTSTR pszFigure, bool bPortrait)
{
    CTextDocument doc;
    SetupReportPage(doc.PageSetup());
    if (bPortrait)
        std::swap(doc.PageSetup().nWidth, doc.PageSetup().nHeight);
    CTextTableRow row;
    row.cells = {{1134, txAlignLeft}, {4762, txAlignLeft}};
    for (size_t c = 0; c < nFigures; ++c)
        row.cells.push_back({row.cells.back().nRight + 1361, txAlignRight});
    row.bShaded = true;
    CTextCharFormat bold;
    bold.nHalfPoints = 18;
    bold.bBold = true;
    std::vector<CString> cells = {L"1100", pszDescription};
    cells.resize(2 + nFigures, pszFigure);
    row.bHeading = true;
    doc.AppendTableRow(std::vector<CString>(cells.size(), L"Codice"), row, bold);
    row.bHeading = false;
    doc.AppendTableRow(cells, row, bold);
    doc.AppendText(L"Importi in euro.\r", CTextCharFormat());
    return doc;
}

// The number of lines each cell of the last row takes.
std::vector<int> CellLines(const CTextDocument& doc)
{
    const CTextLayout layout(doc);
    const CTextRowExtent row = doc.GetRowExtents().back();
    std::vector<int> lines;
    for (const auto& cell : row.cells) {
        int n = 0;
        for (const CLaidLine& line : layout.GetLines())
            n += !line.glyphs.empty() && line.glyphs.front().nPos >= cell.first && line.glyphs.front().nPos < cell.second;
        lines.push_back(n);
    }
    return lines;
}

} // namespace

TEST(ReportTablesTest, FiguresReadWholeAndTablesSpanThePage)
{
    const struct
    {
        size_t nFigures;
        LPCTSTR pszDescription;
        LPCTSTR pszFigure;
        bool bPortrait;
        bool bDescriptionOnOneLine;
    } cases[] = {
        {4, L"ENTRATE FINALI NETTE DI CASSA", L"-922.337.203.685.477,58", false, true},
        {4, L"ENTRATE FINALI NETTE DI CASSA", L"-99.999.999,99", false, true},
        {4, L"OBIETTIVO TRIMESTRALE", L"-999.999.999,99", true, true},
        {3, L"Saldo finanziario di competenza mista", L"-999.999.999,99", true, true},
        {1, L"Dismissioni di beni immobili e mobili, media di competenza", L"-922.337.203.685.477,58", true, true},
        // Six figures on a portrait page: smaller text, the figures whole, the description may wrap.
        {6, L"Totale Titolo II - Trasferimenti correnti", L"-999.999.999,99", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszDescription).ToMultiByte(CP_UTF8) + " " + std::to_string(c.nFigures));
        CTextDocument doc = FiguresTable(c.nFigures, c.pszDescription, c.pszFigure, c.bPortrait);
        FitTablesToPage(doc);
        const CTextPageSetup& page = doc.PageSetup();
        for (const CTextRowExtent& row : doc.GetRowExtents()) {
            EXPECT_NEAR(page.nWidth - page.nMarginLeft - page.nMarginRight,
                        doc.GetTableRow(row.nRow).cells.back().nRight, 2);
        }
        const std::vector<int> lines = CellLines(doc);
        for (size_t cell = 2; cell < lines.size(); ++cell) {
            EXPECT_EQ(1, lines[cell]) << "figure " << cell;
        }
        if (c.bDescriptionOnOneLine) {
            EXPECT_EQ(1, lines[1]);
        }
        EXPECT_EQ(1, lines[0]);
    }
}

// A table made smaller for a portrait page gets the templates' size back on the landscape page of the combined print.
TEST(ReportTablesTest, AWiderPageGivesATableItsSizeBack)
{
    CTextDocument doc = FiguresTable(4, L"Saldo finanziario di competenza mista", L"-999.999.999,99", true);
    FitTablesToPage(doc);
    const long nRow = doc.GetRowExtents().back().nStart;
    ASSERT_LT(doc.GetCharFormat(nRow).nHalfPoints, kReportTableHalfPoints);
    SetupReportPage(doc.PageSetup());
    FitTablesToPage(doc, kReportTableHalfPoints);
    EXPECT_EQ(kReportTableHalfPoints, doc.GetCharFormat(nRow).nHalfPoints);
    EXPECT_NEAR(15138, doc.GetTableRow(doc.GetRowExtents().back().nRow).cells.back().nRight, 2);
    for (int nLines : CellLines(doc))
        EXPECT_EQ(1, nLines);
}
