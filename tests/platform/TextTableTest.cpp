// Tables of the text document: rows of cells kept through RTF, edits and the exports, and laid out on the page as
// ruled rows that are never split, with the heading rows again on every page the table goes on to.
#include "platform/textdoc/TextDocument.h"
#include "platform/textdoc/TextLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace {

CTextTableRow Columns(bool bHeading, bool bShaded)
{
    CTextTableRow row;
    row.cells = {{1000, txAlignLeft}, {4000, txAlignLeft}, {5800, txAlignRight}, {7600, txAlignRight}};
    row.bHeading = bHeading;
    row.bShaded = bShaded;
    return row;
}

// A revenue table as a report holds it: a title, a heading row, rows with a field in a cell, a total row; after
// lines of text when asked.
CTextDocument RevenueTable(int nRows = 2, int nLinesBefore = 0)
{
    CTextDocument doc;
    for (int i = 0; i < nLinesBefore; ++i)
        doc.AppendText(L"Riga di testo prima della tabella\r", CTextCharFormat());
    CTextCharFormat bold;
    bold.bBold = true;
    doc.AppendText(L"Entrate finali\r", bold);
    doc.AppendTableRow({L"Codice", L"Descrizione", L"2003", L"2004"}, Columns(true, false), bold);
    for (int i = 0; i < nRows; ++i) {
        CString code;
        code.Format(L"%d", 101 + i);
        doc.AppendTableRow({code, L"Titolo I - Entrate tributarie\ne citt\u00e0", L"1.234,50", L"0,00"},
                           Columns(false, false), CTextCharFormat());
    }
    doc.AppendTableRow({L"100", L"ENTRATE FINALI NETTE", L"12.345,00", L"-5,00"}, Columns(false, true), bold);
    doc.AppendText(L"Importi in euro.\r", CTextCharFormat());
    doc.SetSel(doc.Find(L"1.234,50", 0), 8);
    doc.SetFieldData(doc.MakeField(), L"L:V;T:SaldoFin;R:101;F:Anno1");
    doc.SetFooter(CString(L"Vorsa - stampato il ") + kTxPrintDate + L" - pagina " + kTxPageNumber);
    return doc;
}

std::vector<CTextTableRow> Layouts(const CTextDocument& doc)
{
    std::vector<CTextTableRow> rows;
    for (const CTextRowExtent& row : doc.GetRowExtents())
        rows.push_back(doc.GetTableRow(row.nRow));
    return rows;
}

TEST(TextTableTest, RowsCellsAndTheirLayoutSurviveRtf)
{
    const CTextDocument doc = RevenueTable();
    EXPECT_EQ(CString(L"Entrate finali\rCodice\aDescrizione\a2003\a2004\a\r101\aTitolo I - Entrate tributarie\v"
                      L"e citt\u00e0\a1.234,50\a0,00\a\r"),
              doc.GetText().Left(doc.GetText().Find(L"102")));
    for (int nFormat : {txdFormatOwn, txdFormatRtf}) {
        CTextDocument loaded;
        loaded.LoadRtf(doc.SaveToBytes(nFormat));
        EXPECT_EQ(doc.GetText(), loaded.GetText());
        EXPECT_EQ(Layouts(doc), Layouts(loaded));
        EXPECT_EQ(doc.GetFooter(), loaded.GetFooter());
        EXPECT_TRUE(loaded.GetCharFormat(loaded.Find(L"ENTRATE", 0)).bBold);
        EXPECT_EQ(nFormat == txdFormatOwn ? 1u : 0u, loaded.GetFieldIds().size());
        if (nFormat == txdFormatOwn) {
            EXPECT_EQ(CString(L"1.234,50"), loaded.GetFieldText(loaded.GetFieldIds()[0]));
        }
    }
    ASSERT_EQ(4u, Layouts(doc).size());
    EXPECT_TRUE(Layouts(doc)[0].bHeading);
    EXPECT_TRUE(Layouts(doc)[3].bShaded);
}

TEST(TextTableTest, ReadsTablesOfOtherWriters)
{
    // A row of a word processor: borders before each \cellx, a cell of two paragraphs, a cell beyond the definition.
    CTextDocument doc;
    doc.LoadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Prima\\par\r\n"
                "\\trowd\\trgaph108\\trhdr\\clbrdrt\\brdrs\\brdrw10\\cellx2000\\clcbpat2\\clshdng2000\\cellx5000\r\n"
                "\\pard\\intbl Uno\\par due\\cell\\pard\\intbl\\qr 3,50\\cell\\pard\\intbl\\qc c\\cell\\row\r\n"
                "\\pard Dopo\\par}");
    EXPECT_EQ(CString(L"Prima\rUno\vdue\a3,50\ac\a\rDopo\r"), doc.GetText());
    ASSERT_EQ(1u, doc.GetRowExtents().size());
    const CTextTableRow& row = doc.GetTableRow(doc.GetRowExtents()[0].nRow);
    EXPECT_TRUE(row.bHeading);
    EXPECT_TRUE(row.bRuled);
    EXPECT_TRUE(row.bShaded);
    ASSERT_EQ(3u, row.cells.size());
    EXPECT_EQ(2000, row.cells[0].nRight);
    EXPECT_EQ(5000, row.cells[1].nRight);
    EXPECT_EQ(6440, row.cells[2].nRight);
    EXPECT_EQ(txAlignRight, row.cells[1].nAlign);
    EXPECT_EQ(txAlignCenter, row.cells[2].nAlign);
}

// A cell's end that no \row follows (before a paragraph end or the document's end) is a paragraph end, and a
// control character of the text is no cell's end: the text stays, and reads back the same once written.
TEST(TextTableTest, CellsOutsideARowEndParagraphsAndReadBackTheSame)
{
    const struct
    {
        const char* rtf;
        const wchar_t* text;
    } cases[] = {
        {"{\\rtf1\\ansi a\\cell b}", L"a\rb"},
        {"{\\rtf1\\ansi \\trowd\\cellx1000\\intbl a\\cell b\\cell\\pard\\par c}", L"a\rb\r\rc"},
        {"{\\rtf1\\ansi a\\row b\\cell\\page c\\cell}", L"ab\r\fc\r"},
        {"{\\rtf1\\ansi \\trowd\\cellx500 a\\cell\\'0db\\cell\\row z}", L"a\r\rb\a\rz"},
        {"{\\rtf1\\ansi x\\'07y\\cell\\row\\'07}", L"xy\a\r"},
        {"{\\rtf1\\ansi a\\cell b\\row c\\cell\\row}", L"a\rb\rc\a\r"},
        {"{\\rtf1\\ansi \\trowd\\cellx1000 a\\b\\cell\\i\\row c}", L"a\a\rc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rtf);
        CTextDocument doc;
        doc.LoadRtf(c.rtf);
        EXPECT_EQ(CString(c.text), doc.GetText());
        for (int nFormat : {txdFormatOwn, txdFormatRtf}) {
            CTextDocument again;
            again.LoadRtf(doc.SaveToBytes(nFormat));
            EXPECT_EQ(doc.GetText(), again.GetText());
            EXPECT_EQ(Layouts(doc), Layouts(again));
            for (long i = 0; i < doc.GetLength() && i < again.GetLength(); ++i) {
                EXPECT_TRUE(doc.GetCharFormat(i) == again.GetCharFormat(i)) << i;
            }
        }
    }
}

// A field's text that takes a cell's end or a row's end away: the row keeps as many cells as its text has, and a
// cell's end left without its row becomes a paragraph end, so that the document reads back the same.
TEST(TextTableTest, FieldsReplacingCellOrRowEndsLeaveRowsThatReadBackTheSame)
{
    const struct
    {
        long nStart, nLength;
        const wchar_t* text;
    } cases[] = {{1, 2, L"ax\a\rc"}, {3, 2, L"a\rbxc"}, {0, 2, L"xb\a\rc"}};
    for (const auto& c : cases) {
        CTextDocument doc;
        char rtf[256];
        std::snprintf(rtf, sizeof rtf,
                      "{\\rtf1\\ansi{\\*\\qzfields{\\qzfield\\qzpos%ld\\qzlen%ld{\\qzdata L:T;NAME:a}}}"
                      "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row\\pard c}",
                      c.nStart, c.nLength);
        doc.LoadRtf(rtf);
        ASSERT_EQ(CString(L"a\ab\a\rc"), doc.GetText());
        ASSERT_EQ(1u, doc.GetFieldIds().size());
        doc.SetFieldText(doc.GetFieldIds()[0], L"x");
        SCOPED_TRACE(c.nStart);
        EXPECT_EQ(CString(c.text), doc.GetText());
        for (const CTextRowExtent& row : doc.GetRowExtents()) {
            EXPECT_EQ(row.cells.size(), doc.GetTableRow(row.nRow).cells.size());
        }
        CTextDocument again;
        again.LoadRtf(doc.SaveToBytes(txdFormatOwn));
        EXPECT_EQ(doc.GetText(), again.GetText());
        EXPECT_EQ(Layouts(doc), Layouts(again));
    }
}

// Fields filled at once give what filling them one after the other gives: a field's text that ends right at a
// row's end (taking the last cell's end away, put after it, or ending with a cell's end) decides whether the next
// field, at that row's end, is inside a row, and so whether its line ends are paragraph ends or line breaks.
TEST(TextTableTest, FieldsFilledAtOnceAsOneAfterTheOtherBesideARowEnd)
{
    const struct
    {
        const char* text;          // the paragraph holding the fields, as RTF
        long nStart1, nLength1;    // the first field; the second one is empty, at the paragraph's end
        const wchar_t* first;
        const wchar_t* result;
    } cases[] = {
        {"\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row", 2, 2, L"x", L"a\rx1\r2\r"},
        {"\\trowd\\cellx1000\\intbl a\\cell\\row", 2, 0, L"x", L"a\rx1\r2\r"},
        {"ab\\par", 1, 1, L"\a", L"a\r1\v2\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CTextDocument doc;
        char rtf[256];
        std::snprintf(rtf, sizeof rtf,
                      "{\\rtf1\\ansi{\\*\\qzfields{\\qzfield\\qzpos%ld\\qzlen%ld{\\qzdata a}}"
                      "{\\qzfield\\qzpos%ld\\qzlen0{\\qzdata b}}}%s}",
                      c.nStart1, c.nLength1, c.nStart1 + c.nLength1, c.text);
        doc.LoadRtf(rtf);
        const std::vector<long> ids = doc.GetFieldIds();
        ASSERT_EQ(2u, ids.size());
        const std::vector<std::pair<long, CString>> texts = {{ids[0], c.first}, {ids[1], L"1\r\n2"}};

        CTextDocument single = doc;
        for (const auto& text : texts)
            single.SetFieldText(text.first, text.second);
        CTextDocument atOnce = doc;
        atOnce.SetFieldTexts(texts);
        std::vector<CTextChange> changes = {{c.nStart1, c.nLength1, c.first}, {c.nStart1 + c.nLength1, 0, L"1\r\n2"}};
        doc.ReplaceRanges(changes);

        EXPECT_EQ(CString(c.result), single.GetText());
        for (const CTextDocument* filled : {&atOnce, &doc}) {
            EXPECT_EQ(single.GetText(), filled->GetText());
            EXPECT_EQ(Layouts(single), Layouts(*filled));
        }
        for (long nId : ids) {
            EXPECT_EQ(single.GetFieldText(nId), atOnce.GetFieldText(nId));
        }
    }
}

TEST(TextTableTest, EditsKeepEachRowItsLayout)
{
    CTextDocument doc = RevenueTable();
    // A value with line ends put into a cell stays in its cell.
    doc.SetSel(doc.Find(L"0,00", 0), 4);
    doc.ReplaceSel(L"riga uno\r\nriga due");
    EXPECT_NE(-1, doc.Find(L"riga uno\vriga due\a\r", 0));
    EXPECT_EQ(4u, doc.GetRowExtents().size());
    EXPECT_EQ(4u, doc.GetRowExtents()[1].cells.size());

    // Deleting a whole row drops its layout; the total row after it keeps its own.
    const CTextRowExtent second = doc.GetRowExtents()[2];
    doc.SetSel(second.nStart, second.nEnd - second.nStart + 1);
    doc.ReplaceSel(L"");
    const std::vector<CTextTableRow> rows = Layouts(doc);
    ASSERT_EQ(3u, rows.size());
    EXPECT_TRUE(rows[0].bHeading);
    EXPECT_FALSE(rows[1].bShaded);
    EXPECT_TRUE(rows[2].bShaded);

    // A document joined from pieces keeps the pieces' rows.
    CTextDocument joined;
    joined.AppendText(L"Prima\r", CTextCharFormat());
    joined.AppendRange(doc, 0, doc.GetLength());
    EXPECT_EQ(rows, Layouts(joined));
    EXPECT_EQ(1u, joined.GetFieldIds().size());
}

TEST(TextTableTest, ExportsWriteCellsApartAndRowsAsTableRows)
{
    const CTextDocument doc = RevenueTable(1);
    const std::string text = doc.SaveToBytes(txdFormatText);
    EXPECT_NE(std::string::npos, text.find("\r\nCodice\tDescrizione\t2003\t2004\r\n101\tTitolo"));
    EXPECT_NE(std::string::npos, text.find("100\tENTRATE FINALI NETTE\t12.345,00\t-5,00\r\nImporti"));
    const std::string html = doc.SaveToBytes(txdFormatHtml);
    auto count = [&html](const std::string& what) {
        size_t n = 0;
        for (size_t p = html.find(what); p != std::string::npos; p = html.find(what, p + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(1u, count("<table"));
    EXPECT_EQ(3u, count("<tr>"));
    EXPECT_EQ(4u, count("<th "));
    EXPECT_EQ(8u, count("<td "));
    EXPECT_NE(std::string::npos, html.find("text-align: right; border: 0.5pt solid black; background: #d9d9d9\">"));
}

// The glyphs of the text [nFrom, nTo) as laid out: page, left and right edge in points from the left margin.
struct CInk
{
    int nPage = -1;
    double left = 1e9, right = -1e9, baseline = 0;
};

CInk InkOf(const CTextLayout& layout, long nFrom, long nTo, int nPage = -1)
{
    CInk ink;
    for (const CLaidLine& line : layout.GetLines()) {
        for (const CLaidGlyph& g : line.glyphs) {
            if (g.nPos < nFrom || g.nPos >= nTo || (nPage >= 0 && line.nPage != nPage))
                continue;
            ink.nPage = line.nPage;
            ink.left = std::min(ink.left, g.x);
            ink.right = std::max(ink.right, g.x + g.width);
            ink.baseline = line.baseline;
        }
    }
    return ink;
}

TEST(TextTableTest, RowsAreLaidOutInColumnsRuledAndNeverSplitAcrossPages)
{
    CTextDocument doc = RevenueTable(40);
    doc.PageSetup().nHeight = 8000;   // a short page: the table goes on over several pages
    const CTextLayout layout(doc);
    ASSERT_GT(layout.GetPageCount(), 2);
    const std::vector<CTextRowExtent> rows = doc.GetRowExtents();
    const CTextRowExtent& heading = rows[0];

    std::set<int> headingPages, rowPages;
    for (const CTextRowExtent& row : rows) {
        const CTextTableRow& def = doc.GetTableRow(row.nRow);
        int nPage = -1;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const CInk ink = InkOf(layout, row.cells[c].first, row.cells[c].second);
            if (ink.nPage < 0)
                continue;
            // Every cell's text lies inside its cell, a figure against the cell's right edge.
            const double left = c == 0 ? 0.0 : def.cells[c - 1].nRight / 20.0;
            const double right = def.cells[c].nRight / 20.0;
            EXPECT_GE(ink.left, left);
            EXPECT_LE(ink.right, right);
            if (def.cells[c].nAlign == txAlignRight) {
                EXPECT_NEAR(right - 4.0, ink.right, 0.5);
            }
            // The whole row on one page.
            EXPECT_TRUE(nPage < 0 || nPage == ink.nPage);
            nPage = ink.nPage;
        }
        rowPages.insert(nPage);
    }
    // The heading row heads every page, above the first row of the page.
    for (int nPage = 0; nPage < layout.GetPageCount(); ++nPage) {
        const CInk ink = InkOf(layout, heading.nStart, heading.nEnd, nPage);
        if (ink.nPage == nPage)
            headingPages.insert(nPage);
    }
    EXPECT_EQ(rowPages, headingPages);
    // Each page's footer numbers it.
    EXPECT_EQ(0, layout.GetFooter(1).Find(L"Vorsa - stampato il "));
    EXPECT_EQ(layout.GetFooter(1).GetLength() - 8, layout.GetFooter(1).Find(L"pagina 2"));
    EXPECT_EQ(-1, layout.GetFooter(1).Find(kTxPrintDate));

    // The text after the table stands clear of its last rule, the height of its letters above its baseline.
    const CTextDocument shortTable = RevenueTable();
    const CTextLayout onePage(shortTable);
    const long nAfter = shortTable.Find(L"Importi", 0);
    const CInk after = InkOf(onePage, nAfter, nAfter + 7);
    double tableBottom = 0;
    for (const CLaidRect& rule : onePage.GetRules())
        tableBottom = std::max(tableBottom, rule.bottom);
    ASSERT_EQ(1, onePage.GetPageCount());
    EXPECT_GE(after.baseline - 10.0, tableBottom);

    // Rules around the rows, a shaded band under the total row only.
    const double totalTop = InkOf(layout, rows.back().nStart, rows.back().nEnd).baseline;
    ASSERT_EQ(1u, layout.GetShades().size());
    EXPECT_LT(layout.GetShades()[0].top, totalTop);
    EXPECT_GT(layout.GetShades()[0].bottom, totalTop);
    const double pageRight = 7600 / 20.0 + 850 / 20.0;
    EXPECT_TRUE(std::any_of(layout.GetRules().begin(), layout.GetRules().end(), [&](const CLaidRect& r) {
        return r.nPage == layout.GetShades()[0].nPage && r.top == r.bottom && r.top == layout.GetShades()[0].top &&
               r.right == pageRight;
    }));
}

// Wherever the lines before it end, a table's title, its heading row and its first two rows share a page; and no
// page is left with blank lines only, whatever blank lines or page breaks a document ends its pages with.
TEST(TextTableTest, ATableStaysWithItsTitleAndNoPageIsOnlyBlank)
{
    for (int nBefore = 10; nBefore <= 30; ++nBefore) {
        SCOPED_TRACE(nBefore);
        CTextDocument doc = RevenueTable(5, nBefore);
        doc.PageSetup().nHeight = 8000;   // a short page, about 25 lines
        const CTextLayout layout(doc);
        const std::vector<CTextRowExtent> rows = doc.GetRowExtents();
        const long nTitle = doc.Find(L"Entrate finali", 0);
        const int nPage = InkOf(layout, nTitle, nTitle + 14).nPage;
        for (size_t r = 0; r < 3; ++r)
            EXPECT_EQ(nPage, InkOf(layout, rows[r].nStart, rows[r].nEnd, nPage).nPage) << "row " << r;
    }
    for (int nBefore = 15; nBefore <= 30; ++nBefore) {
        SCOPED_TRACE(nBefore);
        CTextDocument doc;
        doc.PageSetup().nHeight = 8000;
        for (int i = 0; i < nBefore; ++i)
            doc.AppendText(L"Riga di testo\r", CTextCharFormat());
        doc.AppendText(L"\r\r\r\x0CSeconda pagina\r\r\x0C", CTextCharFormat());
        const CTextLayout layout(doc);
        std::set<int> inked;
        for (const CLaidLine& line : layout.GetLines())
            for (const CLaidGlyph& g : line.glyphs)
                if (doc.GetText()[g.nPos] > L' ')
                    inked.insert(line.nPage);
        EXPECT_EQ(static_cast<size_t>(layout.GetPageCount()), inked.size());
        EXPECT_EQ(layout.GetPageCount() - 1, InkOf(layout, doc.Find(L"Seconda", 0), doc.Find(L"Seconda", 0) + 7).nPage);
    }
}

// A document the user edits may hold a page of blank lines, which show when underlined. At its end, after a page
// break, that page is not printed and none of its lines points at it, so that the PDF draws every line on a page it
// has; within it, a page break on that page opens no page, and what follows takes the place of its lines instead of
// being drawn over them.
TEST(TextTableTest, APageOfBlankLinesIsNeitherPrintedNorDrawnOver)
{
    const wchar_t* const after = L"\x0CTesto dopo le righe vuote\rSeconda riga";
    const struct
    {
        const wchar_t* before;  // plain
        const wchar_t* blanks;  // underlined
        const wchar_t* after;   // plain
        int nPages;
    } cases[] = {
        {L"Conferma del centro servizi\r\x0C", L"          \r", L"", 1},
        {L"Conferma del centro servizi\r\x0CSeconda pagina\x0C", L"   \t  ", L"", 2},
        {L"Fax\r\x0C", L"     \r\r     \r", L"", 1},
        {L"", L"     \r   \r", after, 1},
        {L"Conferma del centro servizi\r\x0C", L"    \r\t\r    \r", after, 2},
        {L"Fax\r\x0C", L"          ", after, 2},
    };
    CTextCharFormat underlined;
    underlined.bUnderline = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.before).ToMultiByte(CP_UTF8) + "|" + CString(c.after).ToMultiByte(CP_UTF8));
        CTextDocument doc;
        doc.AppendText(c.before, CTextCharFormat());
        doc.AppendText(c.blanks, underlined);
        doc.AppendText(c.after, CTextCharFormat());
        const CTextLayout layout(doc);
        EXPECT_EQ(c.nPages, layout.GetPageCount());
        std::map<int, double> lastBaseline;
        for (const CLaidLine& line : layout.GetLines()) {
            EXPECT_LT(line.nPage, layout.GetPageCount()) << "a line on the baseline at " << line.baseline;
            auto last = lastBaseline.find(line.nPage);
            if (last != lastBaseline.end()) {
                EXPECT_GT(line.baseline, last->second) << "page " << line.nPage;
            }
            lastBaseline[line.nPage] = line.baseline;
        }
        const long nText = *c.after ? doc.Find(L"Testo dopo", 0) : 0;
        EXPECT_EQ(*c.after ? c.nPages - 1 : 0, InkOf(layout, nText, nText + 3).nPage);
        EXPECT_EQ("%PDF-", doc.SaveToBytes(txdFormatPdf).substr(0, 5));
    }
    // Blank lines beyond the page go nowhere either.
    CTextDocument doc;
    doc.AppendText(L"Conferma\r\x0C", CTextCharFormat());
    for (int i = 0; i < 100; ++i)
        doc.AppendText(L"    \r", underlined);
    const CTextLayout layout(doc);
    EXPECT_EQ(1, layout.GetPageCount());
    EXPECT_TRUE(std::all_of(layout.GetLines().begin(), layout.GetLines().end(),
                            [](const CLaidLine& line) { return line.nPage == 0; }));
}

} // namespace
