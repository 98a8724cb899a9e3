// Cell addresses of the workbook model: rows and columns count from 1, "A1" names column 1 row 1.
#pragma once

#include "platform/mfc/afxstr.h"

// The largest sheet the grid holds; the same as the classic spreadsheet file formats, so that a workbook
// can always be exported.
const int kGridMaxRows = 65536;
const int kGridMaxCols = 256;

inline bool GridIsValidCell(int nRow, int nCol)
{
    return nRow >= 1 && nRow <= kGridMaxRows && nCol >= 1 && nCol <= kGridMaxCols;
}

// A rectangle of cells, corners included.
struct CGridRange
{
    int m_nRow1 = 0;
    int m_nCol1 = 0;
    int m_nRow2 = 0;
    int m_nCol2 = 0;

    CGridRange() = default;
    CGridRange(int nRow1, int nCol1, int nRow2, int nCol2)
        : m_nRow1(nRow1), m_nCol1(nCol1), m_nRow2(nRow2), m_nCol2(nCol2) {}

    int GetRowCount() const { return m_nRow2 - m_nRow1 + 1; }
    int GetColCount() const { return m_nCol2 - m_nCol1 + 1; }
    bool Contains(int nRow, int nCol) const
    {
        return nRow >= m_nRow1 && nRow <= m_nRow2 && nCol >= m_nCol1 && nCol <= m_nCol2;
    }
    // Corners inside the sheet and in order.
    bool IsValid() const
    {
        return GridIsValidCell(m_nRow1, m_nCol1) && GridIsValidCell(m_nRow2, m_nCol2) && m_nRow1 <= m_nRow2 &&
               m_nCol1 <= m_nCol2;
    }
};

// "A" for 1, "IV" for 256.
CString GridColumnName(int nCol);
// "B7" for (7, 2).
CString GridCellName(int nRow, int nCol);
// Reads a column name of letters (any case); 0 when it is not one or lies beyond the last column.
int GridParseColumnName(LPCTSTR pszName);
// Reads a whole cell name such as "B7" (no '$'); false when it is not one or lies outside the sheet.
bool GridParseCellName(LPCTSTR pszName, int& nRow, int& nCol);
