// A block of cells copied from a sheet (content, formulas and formats), to be pasted into a sheet of the
// same book: its format indices belong to that book.
#pragma once

#include "GridCell.h"

#include <vector>

class CGridBook;

class CGridClip
{
public:
    bool IsEmpty() const { return m_cells.empty(); }
    const CGridRange& GetSource() const { return m_source; }
    const CGridCell& GetCell(int nRowOffset, int nColOffset) const
    {
        return m_cells[static_cast<size_t>(nRowOffset * m_source.GetColCount() + nColOffset)];
    }

private:
    friend class CGridSheet;

    const CGridBook* m_pBook = nullptr;
    CGridRange m_source;
    std::vector<CGridCell> m_cells;   // row by row
};
