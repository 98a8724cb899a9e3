#include "ReportSource.h"

#include "reports/ReportFiller.h"
#include "reports/ReportTables.h"
#include "util/MessageText.h"

#include <vector>

namespace {

CTextCharFormat LineFormat(int nHalfPoints, bool bBold)
{
    CTextCharFormat format;
    format.nHalfPoints = nHalfPoints;
    format.bBold = bBold;
    return format;
}

// A reference left open would take in the text up to the next closing delimiter when it is filled. The
// accounting heading's tag opens like a reference but has no closing delimiter.
bool ReferencesClosed(const CString& strLine)
{
    const int nTag = static_cast<int>(wcslen(kAccountingHeadingTag));
    for (int p = strLine.Find(L"$["); p >= 0;) {
        if (strLine.Mid(p, nTag) == kAccountingHeadingTag) {
            p = strLine.Find(L"$[", p + nTag);
            continue;
        }
        const int q = strLine.Find(L"]$", p + 2);
        const int next = strLine.Find(L"$[", p + 2);
        if (q < 0 || (next >= 0 && next < q))
            return false;
        p = next;
    }
    return true;
}

// Splits a table line's text at "|", each part trimmed.
std::vector<CString> Cells(const CString& strText)
{
    std::vector<CString> cells;
    for (int nStart = 0;;) {
        const int nBar = strText.Find(L'|', nStart);
        CString cell = strText.Mid(nStart, nBar < 0 ? strText.GetLength() - nStart : nBar - nStart);
        cells.push_back(cell.Trim());
        if (nBar < 0)
            return cells;
        nStart = nBar + 1;
    }
}

// The columns of a "|=" line; an empty table when a width is no positive number.
CTextTableRow TableColumns(const CString& strText)
{
    CTextTableRow table;
    double right = 0;
    for (CString column : Cells(strText)) {
        CTextTableCell cell;
        if (!column.IsEmpty() && (column[0] == L'>' || column[0] == L'^')) {
            cell.nAlign = column[0] == L'>' ? txAlignRight : txAlignCenter;
            column = column.Mid(1).Trim();
        }
        const double mm = _wtof(column);
        if (mm <= 0)
            return CTextTableRow();
        right += mm * 1440.0 / 25.4;
        cell.nRight = static_cast<long>(right + 0.5);
        table.cells.push_back(cell);
    }
    return table;
}

} // namespace

CString CompileReportSource(const CString& strSource, CTextDocument& doc)
{
    doc.New();
    CString source = strSource;
    source.Remove(L'\r');
    if (!source.IsEmpty() && source[0] == 0xFEFF)
        source.Delete(0);
    int nLine = 0;
    CTextTableRow table;   // the columns of the table being written; none outside a table
    for (int nStart = 0; nStart < source.GetLength();) {
        int nEnd = source.Find(L'\n', nStart);
        if (nEnd < 0)
            nEnd = source.GetLength();
        CString line = source.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        ++nLine;
        line.TrimRight();
        if (line.Left(2) == L"//")
            continue;
        if (!ReferencesClosed(line))
            return FormatString(L"line %d: a field reference is not closed with \"]$\"", nLine);
        if (line.Left(2) == L"|=") {
            table = TableColumns(line.Mid(2));
            if (table.cells.empty())
                return FormatString(L"line %d: a column width is not a number of millimetres", nLine);
            continue;
        }
        const bool bHeading = line.Left(2) == L"|#", bTotal = line.Left(2) == L"|*";
        if (!table.cells.empty() && (bHeading || bTotal || line.Left(2) == L"| ")) {
            std::vector<CString> cells = Cells(line.Mid(2));
            if (cells.size() > table.cells.size())
                return FormatString(L"line %d: %d cells in a table of %d columns", nLine, static_cast<int>(cells.size()),
                                    static_cast<int>(table.cells.size()));
            cells.resize(table.cells.size());
            CTextTableRow row = table;
            row.bHeading = bHeading;
            row.bShaded = bTotal;
            doc.AppendTableRow(cells, row, LineFormat(kReportTableHalfPoints, bHeading || bTotal));
            continue;
        }
        table = CTextTableRow();
        if (line.Left(2) == L"_ ") {
            CString footer = line.Mid(2);
            footer.Replace(L"[pagina]", CString(kTxPageNumber));
            footer.Replace(L"[data]", CString(kTxPrintDate));
            doc.SetFooter(footer);
            continue;
        }
        line.Replace(L'|', L'\t');
        if (line == L"---")
            doc.AppendText(L"\x0C", LineFormat(20, false));
        else if (line.Left(3) == L"== ")
            doc.AppendText(line.Mid(3) + L"\r", LineFormat(22, true));
        else if (line.Left(2) == L"= ")
            doc.AppendText(line.Mid(2) + L"\r", LineFormat(28, true));
        else
            doc.AppendText(line + L"\r", LineFormat(20, false));
    }
    return CString();
}
