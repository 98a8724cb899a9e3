// The pages of a text document: paragraphs broken into lines at blanks within the margins, tabs at the
// control's half-inch stops, 0x0C starting a new page. A table row is laid out as its cells side by side, each
// cell's text broken within the cell and aligned in it, with the row's rules and shading; a row is never split
// across pages, and a table that goes on to a new page repeats its heading rows there. A table's heading rows and
// its first two rows stay on one page with the paragraph that titles the table; no page holds only blank lines.
// Widths are the fonts' own advance widths, read from the system at a size independent of any device, so that
// printing, the page count and the PDF export lay out the same lines on the same pages.
#pragma once

#include "TextDocument.h"

#include <vector>

struct CLaidGlyph
{
    long nPos;        // in the document
    double x;         // points from the left margin
    double width;
};

struct CLaidLine
{
    int nPage;          // 0-based
    double baseline;    // points from the page's top edge
    std::vector<CLaidGlyph> glyphs;
};

// A ruled line or a shaded area of a table, in points from the page's top left corner.
struct CLaidRect
{
    int nPage;
    double left, top, right, bottom;   // a rule is a rectangle of no width or no height
};

class CTextLayout
{
public:
    explicit CTextLayout(const CTextDocument& doc);

    int GetPageCount() const { return m_nPages; }
    const std::vector<CLaidLine>& GetLines() const { return m_lines; }
    const std::vector<CLaidRect>& GetRules() const { return m_rules; }
    const std::vector<CLaidRect>& GetShades() const { return m_shades; }
    // The footer of a page (0-based) with its page number and date; empty when the document has none. It is
    // written in the format below, from the left margin, on the baseline below (points from the top).
    CString GetFooter(int nPage) const;
    CTextCharFormat GetFooterFormat() const;
    double GetFooterBaseline() const;

    // Draws one page (0-based) into a device context whose origin is the page's top left corner, at the
    // device's resolution.
    void DrawPage(HDC hdc, int nPage) const;

    // The width of a table cell that holds the text on one line in the format, its paddings included (points).
    static double CellWidth(const CTextCharFormat& format, const CString& text);

    static const double kTwipsPerPoint;

    static const double kRuleWidth;   // points

private:
    struct CBrokenLine
    {
        std::vector<CLaidGlyph> glyphs;
        double fontSize;
    };

    void Paragraph(long nStart, long nEnd);
    // The lines of [nStart, nEnd) broken within a width; '\v' breaks a line.
    std::vector<CBrokenLine> BreakLines(long nStart, long nEnd, double avail) const;
    void AddLine(std::vector<CLaidGlyph>& glyphs, double fontSize);
    void NewPage();
    // Forgets the lines of the current page, which holds only blank lines.
    void DropBlankLines();
    double ParagraphHeight(long nStart, long nEnd) const;
    // The height of a table's heading rows and its first kKeptBodyRows rows, from row nFirst on.
    double KeptRowsHeight(const std::vector<CTextRowExtent>& rows, size_t nFirst) const;
    // Starts a new page when what is to stay together does not fit below; a page that holds nothing keeps it.
    void KeepOnPage(double height);
    // Lays a table row out; the heading rows of its table go first on a new page.
    void Row(const CTextRowExtent& row);
    double RowHeight(const CTextRowExtent& row) const;
    void PlaceRow(const CTextRowExtent& row, double height);
    double Size(long nPos) const;
    CLaidGlyph Measure(long nPos, double x) const;

    const CTextDocument& m_doc;
    double m_width, m_height, m_left, m_top, m_right, m_bottom;
    double m_y = 0;     // the bottom of the last line, points from the top
    int m_nPages = 1;
    std::vector<CLaidLine> m_lines;
    std::vector<CLaidRect> m_rules;
    std::vector<CLaidRect> m_shades;
    std::vector<CTextRowExtent> m_headings;   // the heading rows of the table being laid out
    bool m_bInBody = false;     // a row below the table's heading rows has been laid out
    bool m_bPageBlank = true;   // nothing but blank lines on the current page yet
    CString m_strDate;          // the day the pages are laid out

    static const int kKeptBodyRows = 2;   // the rows that stay on the page of their table's title
};
