// The pages of a text document: paragraphs broken into lines at blanks within the margins, tabs at the
// control's half-inch stops, 0x0C starting a new page. Widths are the fonts' own advance widths, read from the
// system at a size independent of any device, so that printing, the page count and the PDF export lay out
// the same lines on the same pages.
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

class CTextLayout
{
public:
    explicit CTextLayout(const CTextDocument& doc);

    int GetPageCount() const { return m_nPages; }
    const std::vector<CLaidLine>& GetLines() const { return m_lines; }

    // Draws one page (0-based) into a device context whose origin is the page's top left corner, at the
    // device's resolution.
    void DrawPage(HDC hdc, int nPage) const;

    static const double kTwipsPerPoint;

private:
    void Paragraph(long nStart, long nEnd);
    void AddLine(std::vector<CLaidGlyph>& glyphs, double fontSize);
    double Size(long nPos) const;
    CLaidGlyph Measure(long nPos, double x) const;

    const CTextDocument& m_doc;
    double m_width, m_height, m_left, m_top, m_right, m_bottom;
    double m_y = 0;     // the bottom of the last line, points from the top
    int m_nPages = 1;
    std::vector<CLaidLine> m_lines;
};
