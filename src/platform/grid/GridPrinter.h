// The printout of a workbook: each sheet's used part within its limits, cut into pages at column and row edges
// (across, then down), at the sheet's column widths and row heights on the printer's inches, with the cells'
// texts, fills, boxes and borders as the grid shows them.
#pragma once

#include "GridBook.h"
#include "GridCellPainter.h"

#include <vector>

class CGridPrinter
{
public:
    explicit CGridPrinter(const CGridBook& book) : m_book(book) {}

    // The sheets to print, by number; all of them when none is given.
    void SetSheets(const std::vector<int>& sheets) { m_sheets = sheets; }
    // Cuts the pages for a printable area of szPage dots at a resolution in dots per inch; answers their number.
    int Paginate(SIZE szPage, int nDpiX, int nDpiY);
    // The same for the DC's printable area and resolution.
    int Paginate(HDC hDC);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    // Draws one page (from 0) with the page's top left corner at the DC's origin.
    void DrawPage(HDC hDC, int nPage);
    // Prints every page on a printer DC as one document; FALSE when the printer refuses it.
    BOOL Print(HDC hDC, LPCTSTR pszDocName);

private:
    struct CPage
    {
        int nSheet;
        int nRow1, nRow2, nCol1, nCol2;
    };

    int ColWidth(const CGridSheet& sheet, int nCol) const;
    int RowHeight(const CGridSheet& sheet, int nRow) const;
    // Cuts [1, nLast] into runs whose sizes add up to at most nRoom (a line larger than the room gets a run alone).
    template <class FSize> static std::vector<std::pair<int, int>> Cut(int nLast, int nRoom, FSize size);

    const CGridBook& m_book;
    std::vector<int> m_sheets;
    std::vector<CPage> m_pages;
    int m_nDpiX = 96;
    int m_nDpiY = 96;
    int m_nMarginX = 0;
    int m_nMarginY = 0;
    CGridCellPainter m_painter;
};
