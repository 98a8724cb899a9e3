// The drawing of cells shared by the grid window and the printout: a cell's text in its format, font, colour and
// alignment (a left-aligned text may run on to the right), its check box, and its borders, at a resolution in
// dots per inch (the screen's, or the printer's).
#pragma once

#include "GridSheet.h"

#include <algorithm>
#include <map>

// The box font: cells formatted with it show a ticked box for 0xFE and an empty one for 0xA8. The grid draws
// those boxes itself, so they look the same whatever fonts the system has.
#define GRID_BOX_FONT L"Wingdings"
const TCHAR kGridBoxTicked = 0xFE;
const TCHAR kGridBoxEmpty = 0xA8;

// Space between a cell's edge and its text, in pixels of the screen.
const int kGridCellPad = 2;

class CGridCellPainter
{
public:
    CGridCellPainter() = default;
    ~CGridCellPainter();
    CGridCellPainter(const CGridCellPainter&) = delete;
    CGridCellPainter& operator=(const CGridCellPainter&) = delete;

    void SetResolution(int nDpi);
    // The font of a format at this resolution, kept until the painter ends.
    HFONT GetFont(const CGridCellFormat& fmt);
    void DrawCellText(HDC hDC, const CGridSheet& sheet, int nRow, int nCol, const RECT& rcCell, int nOverflowRight);
    void DrawBorders(HDC hDC, const RECT& rcCell, const CGridCellFormat& fmt);
    // A merged area in the rectangle it takes: its first cell's fill (white without one) and text.
    void DrawMergedCell(HDC hDC, const CGridSheet& sheet, const CGridRange& merge, const RECT& rc);

private:
    // A check box of nSize pixels: a frame, a white inside and, when ticked, a check mark in the text colour.
    static void DrawBox(HDC hDC, const RECT& rcCell, const CGridCellFormat& fmt, bool bTicked, int nSize);
    // Lines one screen pixel wide are this many pixels wide here.
    int LineScale() const { return std::max(1, m_nDpi / 96); }
    void ClearFonts();

    int m_nDpi = 96;
    std::map<CString, HFONT> m_fonts;   // by name, size and style
};
