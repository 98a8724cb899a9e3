#include "ReportTables.h"

#include "platform/textdoc/TextLayout.h"

#include <algorithm>

namespace {

// As the Italian locale writes them: the widest amount a currency holds, and the widest a table holds at the least.
const LPCTSTR kCurrencyLimit = L"-922.337.203.685.477,58";
const LPCTSTR kLeastAmount = L"-999.999.999,99";
const double kLeastTextTwips = 40 * 1440 / 25.4;
const double kNarrowestTextTwips = 10 * 1440 / 25.4;
const int kOneLineHalfPoints = 14;    // the smallest text that keeps every row on one line
const int kSmallestHalfPoints = 12;

// A point to spare: the cells' edges are whole twips.
double Twips(const CTextCharFormat& format, const CString& text)
{
    return (CTextLayout::CellWidth(format, text) + 1.0) * CTextLayout::kTwipsPerPoint;
}

class CTableFit
{
public:
    // The table of rows [nFirst, nEnd), on a page of the printable width in twips.
    CTableFit(CTextDocument& doc, const std::vector<CTextRowExtent>& rows, size_t nFirst, size_t nEnd, double printable)
        : m_doc(doc), m_rows(rows), m_nFirst(nFirst), m_nEnd(nEnd), m_printable(printable),
          m_def(doc.GetTableRow(rows[nFirst].nRow))
    {
        for (size_t c = 0; c < m_def.cells.size(); ++c) {
            m_widths.push_back(m_def.cells[c].nRight - (c == 0 ? 0 : m_def.cells[c - 1].nRight));
            if (m_def.cells[c].nAlign == txAlignLeft && (m_nText == m_def.cells.size() || m_widths[c] > m_widths[m_nText]))
                m_nText = c;
        }
    }

    void Fit(int nHalfPoints)
    {
        if (m_nText == m_def.cells.size())
            return;   // no column of text to take the rest
        // A total row's bold is the widest the table's texts and figures are written in.
        CTextCharFormat format = m_doc.GetCharFormat(m_rows[m_nFirst].nStart);
        format.bBold = true;
        const int nSize = format.nHalfPoints;
        if (nHalfPoints > 0)
            format.nHalfPoints = nHalfPoints;
        const int nStart = format.nHalfPoints;
        int nWrapped = 0;   // the largest size at which the figures fit whole beside wrapped texts
        for (format.nHalfPoints = nStart; format.nHalfPoints >= kOneLineHalfPoints; --format.nHalfPoints) {
            if (Spare(format) >= WidestText(format))
                break;
            if (nWrapped == 0 && Spare(format) >= kLeastTextTwips)
                nWrapped = format.nHalfPoints;
        }
        if (format.nHalfPoints < kOneLineHalfPoints)
            format.nHalfPoints = nWrapped ? nWrapped : kSmallestHalfPoints;
        Apply(format);
        if (format.nHalfPoints != nSize)
            Resize(format.nHalfPoints);
    }

private:
    // The width the text column has when every figure's column holds the least amount.
    double Spare(const CTextCharFormat& format) const
    {
        double spare = m_printable;
        for (size_t c = 0; c < m_widths.size(); ++c) {
            if (c != m_nText)
                spare -= IsFigures(c) ? LeastAmount(format) : m_widths[c];
        }
        return spare;
    }

    double WidestText(const CTextCharFormat& format) const { return Widest(format, m_nText, true); }

    // The width of "-999.999.999,99", or of a wider figure the table holds: a figure never wraps.
    double LeastAmount(const CTextCharFormat& format) const
    {
        double least = Twips(format, kLeastAmount);
        for (size_t c = 0; c < m_widths.size(); ++c) {
            if (IsFigures(c))
                least = std::max(least, Widest(format, c, false));
        }
        return least;
    }

    // The widest text of a column in the rows, each in its own format at the size of format; bBlanks: texts that
    // may wrap too.
    double Widest(const CTextCharFormat& format, size_t nColumn, bool bBlanks) const
    {
        double widest = 0;
        for (size_t r = m_nFirst; r < m_nEnd; ++r) {
            if (nColumn >= m_rows[r].cells.size())
                continue;
            const auto& cell = m_rows[r].cells[nColumn];
            const CString text = m_doc.GetText().Mid(cell.first, cell.second - cell.first);
            CTextCharFormat own = m_doc.GetCharFormat(cell.first);
            own.nHalfPoints = format.nHalfPoints;
            if (bBlanks || text.Find(L' ') < 0)
                widest = std::max(widest, Twips(own, text));
        }
        return widest;
    }

    bool IsFigures(size_t c) const { return m_def.cells[c].nAlign == txAlignRight; }

    void Apply(const CTextCharFormat& format)
    {
        size_t nFigures = 0;
        for (size_t c = 0; c < m_widths.size(); ++c)
            nFigures += IsFigures(c);
        // What the texts leave goes to the figures, up to the widest amount.
        const double extra = nFigures ? std::max(0.0, Spare(format) - WidestText(format)) / nFigures : 0.0;
        const double least = LeastAmount(format);
        const double amount = std::max(least, std::min(least + extra, Twips(format, kCurrencyLimit)));
        std::vector<double> widths = m_widths;
        double rest = m_printable;
        for (size_t c = 0; c < widths.size(); ++c) {
            if (IsFigures(c))
                widths[c] = amount;
            if (c != m_nText)
                rest -= widths[c];
        }
        widths[m_nText] = std::max(rest, kNarrowestTextTwips);
        for (size_t r = m_nFirst; r < m_nEnd; ++r) {
            CTextTableRow row = m_doc.GetTableRow(m_rows[r].nRow);
            double right = 0;
            for (size_t c = 0; c < row.cells.size() && c < widths.size(); ++c) {
                right += widths[c];
                row.cells[c].nRight = static_cast<long>(right);
            }
            m_doc.SetTableRow(m_rows[r].nRow, row);
        }
    }

    void Resize(int nHalfPoints)
    {
        for (long p = m_rows[m_nFirst].nStart; p < m_rows[m_nEnd - 1].nEnd; ++p) {
            CTextCharFormat resized = m_doc.GetCharFormat(p);
            resized.nHalfPoints = nHalfPoints;
            m_doc.SetSel(p, 1);
            m_doc.SetSelCharFormat(resized);
        }
    }

    CTextDocument& m_doc;
    const std::vector<CTextRowExtent>& m_rows;
    size_t m_nFirst, m_nEnd;
    double m_printable;
    CTextTableRow m_def;
    std::vector<double> m_widths;   // twips
    size_t m_nText = m_def.cells.size();
};

} // namespace

void FitTablesToPage(CTextDocument& doc, int nHalfPoints)
{
    const CTextPageSetup& page = doc.PageSetup();
    const double printable = page.nWidth - page.nMarginLeft - page.nMarginRight;
    const std::vector<CTextRowExtent> rows = doc.GetRowExtents();
    for (size_t nFirst = 0; nFirst < rows.size();) {
        // A table's rows follow one another with the same columns.
        size_t nEnd = nFirst + 1;
        while (nEnd < rows.size() && rows[nEnd].nStart == rows[nEnd - 1].nEnd + 1 &&
               doc.GetTableRow(rows[nEnd].nRow).cells == doc.GetTableRow(rows[nFirst].nRow).cells)
            ++nEnd;
        CTableFit(doc, rows, nFirst, nEnd, printable).Fit(nHalfPoints);
        nFirst = nEnd;
    }
}
