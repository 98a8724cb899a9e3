// One sheet of a workbook: cells, column and row layout, limits and title area, with the row
// operations (insert, delete, copy, paste) that keep formulas pointing at the same cells.
#pragma once

#include "GridCalc.h"
#include "GridCell.h"
#include "GridCellFormat.h"
#include "GridClip.h"

#include <vector>

class CGridBook;

// What a paste or a clear takes: contents (values and formulas), formats, or both.
enum
{
    gridContents = 1,
    gridFormats = 2,
    gridAll = gridContents | gridFormats
};

// Options of Find (FindText would clash with the common dialogs' macro).
enum
{
    gridFindMatchCase = 1,
    gridFindWholeCell = 2
};

// Column widths and row heights are in twips (1/1440 inch).
const int kGridDefaultColWidth = 960;
const int kGridDefaultRowHeight = 255;
const int kGridMaxColWidth = 65535;
const int kGridMaxRowHeight = 8190;

class CGridSheet : public IGridCellSource
{
public:
    CGridSheet(CGridBook& book, LPCTSTR pszName);
    CGridSheet(const CGridSheet&) = delete;
    CGridSheet& operator=(const CGridSheet&) = delete;

    const CString& GetName() const { return m_strName; }

    // Content. Setters answer FALSE outside the sheet; every change computes again what depends on it.
    const CGridCell* GetCell(int nRow, int nCol) const;
    const CGridValue& GetCellValue(int nRow, int nCol) const override;
    // The number of the cell; 0 for anything else.
    double GetNumber(int nRow, int nCol) const;
    // The text the cell shows: its value in its number format.
    CString GetText(int nRow, int nCol) const;
    // "=..." for a formula cell, otherwise empty.
    CString GetFormula(int nRow, int nCol) const;
    BOOL SetNumber(int nRow, int nCol, double dNumber);
    BOOL SetText(int nRow, int nCol, LPCTSTR pszText);          // an empty text empties the cell
    // Kept even when unreadable (#NAME?); FALSE, the cell unchanged, for a formula too complex to keep.
    BOOL SetFormula(int nRow, int nCol, LPCTSTR pszFormula);
    BOOL ClearRange(const CGridRange& range, UINT nWhat);

    // Formats
    const CGridCellFormat& GetCellFormat(int nRow, int nCol) const;
    const CGridNumberFormat& GetNumberFormat(int nRow, int nCol) const;
    BOOL SetCellFormat(const CGridRange& range, const CGridCellFormat& format);

    // Columns and rows
    int GetColWidth(int nCol) const;
    BOOL SetColWidth(int nCol, int nWidth);
    BOOL IsColHidden(int nCol) const;
    BOOL SetColHidden(int nCol, BOOL bHidden);
    int GetRowHeight(int nRow) const;
    BOOL SetRowHeight(int nRow, int nHeight);
    BOOL IsRowHidden(int nRow) const;
    BOOL SetRowHidden(int nRow, BOOL bHidden);
    int GetDefaultColWidth() const { return m_nDefaultColWidth; }
    BOOL SetDefaultColWidth(int nWidth);
    int GetDefaultRowHeight() const { return m_nDefaultRowHeight; }
    BOOL SetDefaultRowHeight(int nHeight);

    // The part of the sheet that is shown and reachable, and its fixed title rows and columns.
    int GetMaxRow() const { return m_nMaxRow; }
    BOOL SetMaxRow(int nMaxRow);
    int GetMaxCol() const { return m_nMaxCol; }
    BOOL SetMaxCol(int nMaxCol);
    int GetTitleRows() const { return m_nTitleRows; }
    BOOL SetTitleRows(int nRows);
    int GetTitleCols() const { return m_nTitleCols; }
    BOOL SetTitleCols(int nCols);

    // Merged areas: ranges of two cells or more shown as one, with the content and format of their first cell.
    const std::vector<CGridRange>& GetMerges() const { return m_merges; }
    // FALSE for a range that is not valid, is a single cell, or overlaps a merged area.
    BOOL MergeCells(const CGridRange& range);
    // The merged area that holds the cell, or null.
    const CGridRange* FindMerge(int nRow, int nCol) const;

    // Last row and column holding a value or a formula; 0 on an empty sheet.
    int GetLastRow() const;
    int GetLastCol() const;

    // Looks for a cell showing the text, row by row, from the cell after (nRow, nCol) (from the first cell
    // when nRow is below 1); answers its position there.
    BOOL Find(LPCTSTR pszText, UINT nFlags, int& nRow, int& nCol) const;

    // nCount empty rows before nRow; FALSE when cells would be pushed off the sheet.
    BOOL InsertRows(int nRow, int nCount);
    // Deletes nCount rows from nRow; the rows below move up and references to the deleted rows become #REF!.
    BOOL DeleteRows(int nRow, int nCount);
    BOOL CopyRange(const CGridRange& range, CGridClip& clip) const;
    // Pastes the clip at the destination's first cell, repeated over the destination when both its sizes are
    // whole multiples of the clip's. Relative references of the formulas move with them.
    BOOL PasteRange(const CGridClip& clip, const CGridRange& dest, UINT nWhat);

    // IGridCellSource
    void ScanRange(const CGridRange& range, const std::function<bool(const CGridValue&)>& f) const override;
    const CGridSeparators& GetSeparators() const override;

private:
    friend class CGridBook;
    friend class CGridCalc;
    friend class CGridBookReader;

    struct CRow
    {
        std::vector<CGridCell> m_cells;   // from column 1
        int m_nHeight = -1;               // -1: the default height
        bool m_bHidden = false;
    };
    struct CColumn
    {
        int m_nWidth = -1;                // -1: the default width
        bool m_bHidden = false;
    };

    CGridCell* FindCell(int nRow, int nCol);
    CGridCell& CellAt(int nRow, int nCol);   // made when missing
    CRow& RowAt(int nRow);
    CColumn& ColumnAt(int nCol);
    // Takes the formula of a cell out of the recalculation index.
    void DropFormula(int nRow, int nCol, CGridCell& cell);
    void SetConstant(int nRow, int nCol, const CGridValue& value);
    template <class F> void ForEachFormula(F f);

    CGridBook* m_pBook;
    CString m_strName;
    std::vector<CRow> m_rows;        // from row 1, as far as something was set
    std::vector<CColumn> m_cols;     // from column 1, as far as something was set
    std::vector<CGridRange> m_merges;
    int m_nDefaultColWidth = kGridDefaultColWidth;
    int m_nDefaultRowHeight = kGridDefaultRowHeight;
    int m_nMaxRow = kGridMaxRows;
    int m_nMaxCol = kGridMaxCols;
    int m_nTitleRows = 0;
    int m_nTitleCols = 0;
    CGridCalc m_calc;
};

template <class F> void CGridSheet::ForEachFormula(F f)
{
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (size_t c = 0; c < m_rows[r].m_cells.size(); ++c)
            if (m_rows[r].m_cells[c].GetFormula())
                f(static_cast<int>(r + 1), static_cast<int>(c + 1), m_rows[r].m_cells[c]);
}
