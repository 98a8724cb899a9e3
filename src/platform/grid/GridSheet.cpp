#include "GridSheet.h"

#include "GridBook.h"

#include <algorithm>
#include <cmath>

namespace
{
const CGridValue s_emptyValue;
const CGridCellFormat s_defaultFormat;

// Sets a layout value that must lie between nMin and nMax.
BOOL SetInRange(int& nMember, int nValue, int nMin, int nMax)
{
    if (nValue < nMin || nValue > nMax)
        return FALSE;
    nMember = nValue;
    return TRUE;
}
} // namespace

CGridSheet::CGridSheet(CGridBook& book, LPCTSTR pszName) : m_pBook(&book), m_strName(pszName), m_calc(*this)
{
}

const CGridCell* CGridSheet::GetCell(int nRow, int nCol) const
{
    if (nRow < 1 || nCol < 1 || static_cast<size_t>(nRow) > m_rows.size())
        return nullptr;
    const std::vector<CGridCell>& cells = m_rows[static_cast<size_t>(nRow - 1)].m_cells;
    return static_cast<size_t>(nCol) <= cells.size() ? &cells[static_cast<size_t>(nCol - 1)] : nullptr;
}

CGridCell* CGridSheet::FindCell(int nRow, int nCol)
{
    return const_cast<CGridCell*>(static_cast<const CGridSheet*>(this)->GetCell(nRow, nCol));
}

CGridSheet::CRow& CGridSheet::RowAt(int nRow)
{
    if (static_cast<size_t>(nRow) > m_rows.size())
        m_rows.resize(static_cast<size_t>(nRow));
    return m_rows[static_cast<size_t>(nRow - 1)];
}

CGridCell& CGridSheet::CellAt(int nRow, int nCol)
{
    std::vector<CGridCell>& cells = RowAt(nRow).m_cells;
    if (static_cast<size_t>(nCol) > cells.size())
        cells.resize(static_cast<size_t>(nCol));
    return cells[static_cast<size_t>(nCol - 1)];
}

CGridSheet::CColumn& CGridSheet::ColumnAt(int nCol)
{
    if (static_cast<size_t>(nCol) > m_cols.size())
        m_cols.resize(static_cast<size_t>(nCol));
    return m_cols[static_cast<size_t>(nCol - 1)];
}

const CGridValue& CGridSheet::GetCellValue(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->GetValue() : s_emptyValue;
}

double CGridSheet::GetNumber(int nRow, int nCol) const
{
    const CGridValue& value = GetCellValue(nRow, nCol);
    return value.IsNumber() ? value.GetNumber() : 0;
}

CString CGridSheet::GetText(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    if (!pCell)
        return CString();
    const CGridValue& value = pCell->GetValue();
    const CGridNumberFormat& format = GetNumberFormat(nRow, nCol);
    switch (value.GetType()) {
    case gridValueNumber: return format.Format(value.GetNumber(), GetSeparators());
    case gridValueText: return format.FormatText(value.GetText());
    case gridValueBool: return value.GetBool() ? L"TRUE" : L"FALSE";
    case gridValueError: return GridErrorText(value.GetError());
    default: return CString();
    }
}

CString CGridSheet::GetFormula(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell && pCell->GetFormula() ? pCell->GetFormula()->GetText() : CString();
}

void CGridSheet::DropFormula(int nRow, int nCol, CGridCell& cell)
{
    if (cell.GetFormula()) {
        m_calc.RemoveFormula(CGridCalc::Key(nRow, nCol), *cell.GetFormula());
        cell.SetFormula(nullptr);
    }
}

void CGridSheet::SetConstant(int nRow, int nCol, const CGridValue& value)
{
    CGridCell& cell = CellAt(nRow, nCol);
    DropFormula(nRow, nCol, cell);
    cell.SetValue(value);
    m_calc.Recalc({CGridCalc::Key(nRow, nCol)});
}

BOOL CGridSheet::SetNumber(int nRow, int nCol, double dNumber)
{
    if (!GridIsValidCell(nRow, nCol) || !std::isfinite(dNumber))
        return FALSE;
    SetConstant(nRow, nCol, CGridValue::Number(dNumber));
    return TRUE;
}

BOOL CGridSheet::SetText(int nRow, int nCol, LPCTSTR pszText)
{
    if (!GridIsValidCell(nRow, nCol))
        return FALSE;
    SetConstant(nRow, nCol, *pszText ? CGridValue::Text(pszText) : CGridValue());
    return TRUE;
}

BOOL CGridSheet::SetFormula(int nRow, int nCol, LPCTSTR pszFormula)
{
    if (!GridIsValidCell(nRow, nCol))
        return FALSE;
    auto pFormula = std::make_unique<CGridFormula>(pszFormula);
    if (pFormula->IsTooComplex())
        return FALSE;
    CGridCell& cell = CellAt(nRow, nCol);
    DropFormula(nRow, nCol, cell);
    cell.SetFormula(std::move(pFormula));
    UINT nKey = CGridCalc::Key(nRow, nCol);
    m_calc.AddFormula(nKey, *cell.GetFormula());
    m_calc.Recalc({nKey});
    return TRUE;
}

BOOL CGridSheet::ClearRange(const CGridRange& range, UINT nWhat)
{
    if (!range.IsValid())
        return FALSE;
    std::vector<UINT> changed;
    int nLastRow = std::min(range.m_nRow2, static_cast<int>(m_rows.size()));
    for (int r = range.m_nRow1; r <= nLastRow; ++r)
        for (int c = range.m_nCol1; c <= range.m_nCol2; ++c) {
            CGridCell* pCell = FindCell(r, c);
            if (!pCell)
                break;
            if (nWhat & gridContents) {
                DropFormula(r, c, *pCell);
                pCell->SetValue(CGridValue());
                changed.push_back(CGridCalc::Key(r, c));
            }
            if (nWhat & gridFormats)
                pCell->SetFormat(0);
        }
    m_calc.Recalc(changed);
    return TRUE;
}

const CGridCellFormat& CGridSheet::GetCellFormat(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell ? m_pBook->GetFormats().Get(pCell->GetFormat()) : s_defaultFormat;
}

const CGridNumberFormat& CGridSheet::GetNumberFormat(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return m_pBook->GetFormats().GetNumberFormat(pCell ? pCell->GetFormat() : 0);
}

BOOL CGridSheet::SetCellFormat(const CGridRange& range, const CGridCellFormat& format)
{
    if (!range.IsValid())
        return FALSE;
    int nFormat = m_pBook->GetFormats().Intern(format);
    for (int r = range.m_nRow1; r <= range.m_nRow2; ++r)
        for (int c = range.m_nCol1; c <= range.m_nCol2; ++c)
            CellAt(r, c).SetFormat(nFormat);
    return TRUE;
}

int CGridSheet::GetColWidth(int nCol) const
{
    if (nCol < 1 || static_cast<size_t>(nCol) > m_cols.size() || m_cols[static_cast<size_t>(nCol - 1)].m_nWidth < 0)
        return m_nDefaultColWidth;
    return m_cols[static_cast<size_t>(nCol - 1)].m_nWidth;
}

BOOL CGridSheet::SetColWidth(int nCol, int nWidth)
{
    if (nCol < 1 || nCol > kGridMaxCols || nWidth < 0 || nWidth > kGridMaxColWidth)
        return FALSE;
    ColumnAt(nCol).m_nWidth = nWidth;
    return TRUE;
}

BOOL CGridSheet::IsColHidden(int nCol) const
{
    return nCol >= 1 && static_cast<size_t>(nCol) <= m_cols.size() && m_cols[static_cast<size_t>(nCol - 1)].m_bHidden;
}

BOOL CGridSheet::SetColHidden(int nCol, BOOL bHidden)
{
    if (nCol < 1 || nCol > kGridMaxCols)
        return FALSE;
    ColumnAt(nCol).m_bHidden = bHidden != FALSE;
    return TRUE;
}

int CGridSheet::GetRowHeight(int nRow) const
{
    if (nRow < 1 || static_cast<size_t>(nRow) > m_rows.size() || m_rows[static_cast<size_t>(nRow - 1)].m_nHeight < 0)
        return m_nDefaultRowHeight;
    return m_rows[static_cast<size_t>(nRow - 1)].m_nHeight;
}

BOOL CGridSheet::SetRowHeight(int nRow, int nHeight)
{
    if (nRow < 1 || nRow > kGridMaxRows || nHeight < 0 || nHeight > kGridMaxRowHeight)
        return FALSE;
    RowAt(nRow).m_nHeight = nHeight;
    return TRUE;
}

BOOL CGridSheet::IsRowHidden(int nRow) const
{
    return nRow >= 1 && static_cast<size_t>(nRow) <= m_rows.size() && m_rows[static_cast<size_t>(nRow - 1)].m_bHidden;
}

BOOL CGridSheet::SetRowHidden(int nRow, BOOL bHidden)
{
    if (nRow < 1 || nRow > kGridMaxRows)
        return FALSE;
    RowAt(nRow).m_bHidden = bHidden != FALSE;
    return TRUE;
}

BOOL CGridSheet::SetDefaultColWidth(int nWidth)
{
    return SetInRange(m_nDefaultColWidth, nWidth, 0, kGridMaxColWidth);
}

BOOL CGridSheet::SetDefaultRowHeight(int nHeight)
{
    return SetInRange(m_nDefaultRowHeight, nHeight, 0, kGridMaxRowHeight);
}

BOOL CGridSheet::SetMaxRow(int nMaxRow)
{
    return SetInRange(m_nMaxRow, nMaxRow, 1, kGridMaxRows);
}

BOOL CGridSheet::SetMaxCol(int nMaxCol)
{
    return SetInRange(m_nMaxCol, nMaxCol, 1, kGridMaxCols);
}

BOOL CGridSheet::SetTitleRows(int nRows)
{
    return SetInRange(m_nTitleRows, nRows, 0, kGridMaxRows);
}

BOOL CGridSheet::SetTitleCols(int nCols)
{
    return SetInRange(m_nTitleCols, nCols, 0, kGridMaxCols);
}

int CGridSheet::GetLastRow() const
{
    for (size_t r = m_rows.size(); r > 0; --r)
        for (const CGridCell& cell : m_rows[r - 1].m_cells)
            if (cell.HasContent())
                return static_cast<int>(r);
    return 0;
}

int CGridSheet::GetLastCol() const
{
    size_t nLast = 0;
    for (const CRow& row : m_rows)
        for (size_t c = row.m_cells.size(); c > nLast; --c)
            if (row.m_cells[c - 1].HasContent()) {
                nLast = c;
                break;
            }
    return static_cast<int>(nLast);
}

BOOL CGridSheet::Find(LPCTSTR pszText, UINT nFlags, int& nRow, int& nCol) const
{
    CString strWanted(pszText);
    if (!(nFlags & gridFindMatchCase))
        strWanted.MakeUpper();
    // Start just after the given cell.
    int nFromRow = std::max(nRow, 1);
    int nFromCol = nRow < 1 ? 1 : nCol + 1;
    for (int r = nFromRow; static_cast<size_t>(r) <= m_rows.size(); ++r) {
        const std::vector<CGridCell>& cells = m_rows[static_cast<size_t>(r - 1)].m_cells;
        for (int c = r == nFromRow ? nFromCol : 1; static_cast<size_t>(c) <= cells.size(); ++c) {
            if (!cells[static_cast<size_t>(c - 1)].HasContent())
                continue;
            CString strText = GetText(r, c);
            if (!(nFlags & gridFindMatchCase))
                strText.MakeUpper();
            if ((nFlags & gridFindWholeCell) ? strText == strWanted : strText.Find(strWanted) >= 0) {
                nRow = r;
                nCol = c;
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CGridSheet::MergeCells(const CGridRange& range)
{
    if (!range.IsValid() || (range.GetRowCount() == 1 && range.GetColCount() == 1))
        return FALSE;
    for (const CGridRange& merge : m_merges) {
        if (merge.m_nRow1 <= range.m_nRow2 && range.m_nRow1 <= merge.m_nRow2 && merge.m_nCol1 <= range.m_nCol2 &&
            range.m_nCol1 <= merge.m_nCol2)
            return FALSE;
    }
    m_merges.push_back(range);
    return TRUE;
}

const CGridRange* CGridSheet::FindMerge(int nRow, int nCol) const
{
    for (const CGridRange& merge : m_merges) {
        if (merge.Contains(nRow, nCol))
            return &merge;
    }
    return nullptr;
}

BOOL CGridSheet::InsertRows(int nRow, int nCount)
{
    if (nRow < 1 || nRow > kGridMaxRows || nCount < 1 || nCount > kGridMaxRows)
        return FALSE;
    if (static_cast<size_t>(nRow) <= m_rows.size()) {
        // Refuse rather than drop what would be pushed past the last row.
        size_t nUsed = m_rows.size();
        while (nUsed > 0 && m_rows[nUsed - 1].m_nHeight < 0 && !m_rows[nUsed - 1].m_bHidden &&
               std::all_of(m_rows[nUsed - 1].m_cells.begin(), m_rows[nUsed - 1].m_cells.end(),
                           [](const CGridCell& cell) { return cell.IsUnused(); }))
            --nUsed;
        if (nUsed >= static_cast<size_t>(nRow) && static_cast<long long>(nUsed) + nCount > kGridMaxRows)
            return FALSE;
        m_rows.resize(std::max(nUsed, static_cast<size_t>(nRow - 1)));
        // The new rows take the height of the row above them, as the rest of the table looks.
        CRow newRow;
        if (nRow > 1)
            newRow.m_nHeight = m_rows[static_cast<size_t>(nRow - 2)].m_nHeight;
        m_rows.insert(m_rows.begin() + (nRow - 1), static_cast<size_t>(nCount), newRow);
    }
    // Merged areas below move down; one the new rows cut through grows with them.
    for (CGridRange& merge : m_merges) {
        if (merge.m_nRow1 >= nRow)
            merge.m_nRow1 = std::min(merge.m_nRow1 + nCount, kGridMaxRows);
        if (merge.m_nRow2 >= nRow)
            merge.m_nRow2 = std::min(merge.m_nRow2 + nCount, kGridMaxRows);
    }
    ForEachFormula([&](int, int, CGridCell& cell) { cell.GetFormula()->AdjustForInsertedRows(nRow, nCount); });
    m_calc.RebuildAll();
    return TRUE;
}

BOOL CGridSheet::DeleteRows(int nRow, int nCount)
{
    if (nRow < 1 || nCount < 1 || nRow > kGridMaxRows - nCount + 1)
        return FALSE;
    if (static_cast<size_t>(nRow) <= m_rows.size()) {
        size_t nEnd = std::min(m_rows.size(), static_cast<size_t>(nRow - 1 + nCount));
        m_rows.erase(m_rows.begin() + (nRow - 1), m_rows.begin() + static_cast<std::ptrdiff_t>(nEnd));
    }
    // Merged areas below move up and lose the deleted rows; one left as a single cell is merged no more.
    int nLast = nRow + nCount - 1;
    for (CGridRange& merge : m_merges) {
        merge.m_nRow1 = merge.m_nRow1 > nLast ? merge.m_nRow1 - nCount : std::min(merge.m_nRow1, nRow);
        merge.m_nRow2 = merge.m_nRow2 > nLast ? merge.m_nRow2 - nCount
                        : merge.m_nRow2 >= nRow ? nRow - 1 : merge.m_nRow2;
    }
    m_merges.erase(std::remove_if(m_merges.begin(), m_merges.end(),
                                  [](const CGridRange& merge) {
                                      return merge.m_nRow2 < merge.m_nRow1 ||
                                             (merge.GetRowCount() == 1 && merge.GetColCount() == 1);
                                  }),
                   m_merges.end());
    ForEachFormula([&](int, int, CGridCell& cell) { cell.GetFormula()->AdjustForDeletedRows(nRow, nCount); });
    m_calc.RebuildAll();
    return TRUE;
}

BOOL CGridSheet::CopyRange(const CGridRange& range, CGridClip& clip) const
{
    if (!range.IsValid())
        return FALSE;
    clip.m_pBook = m_pBook;
    clip.m_source = range;
    clip.m_cells.clear();
    clip.m_cells.reserve(static_cast<size_t>(range.GetRowCount()) * static_cast<size_t>(range.GetColCount()));
    for (int r = range.m_nRow1; r <= range.m_nRow2; ++r)
        for (int c = range.m_nCol1; c <= range.m_nCol2; ++c) {
            const CGridCell* pCell = GetCell(r, c);
            clip.m_cells.push_back(pCell ? *pCell : CGridCell());
        }
    return TRUE;
}

BOOL CGridSheet::PasteRange(const CGridClip& clip, const CGridRange& dest, UINT nWhat)
{
    if (clip.IsEmpty() || clip.m_pBook != m_pBook || !dest.IsValid())
        return FALSE;
    const CGridRange& src = clip.m_source;
    bool bRepeat = dest.GetRowCount() % src.GetRowCount() == 0 && dest.GetColCount() % src.GetColCount() == 0;
    int nTilesDown = bRepeat ? dest.GetRowCount() / src.GetRowCount() : 1;
    int nTilesAcross = bRepeat ? dest.GetColCount() / src.GetColCount() : 1;
    CGridRange target(dest.m_nRow1, dest.m_nCol1, dest.m_nRow1 + nTilesDown * src.GetRowCount() - 1,
                      dest.m_nCol1 + nTilesAcross * src.GetColCount() - 1);
    if (!target.IsValid())
        return FALSE;
    std::vector<UINT> changed;
    for (int r = target.m_nRow1; r <= target.m_nRow2; ++r)
        for (int c = target.m_nCol1; c <= target.m_nCol2; ++c) {
            int nRowOffset = (r - target.m_nRow1) % src.GetRowCount();
            int nColOffset = (c - target.m_nCol1) % src.GetColCount();
            const CGridCell& from = clip.GetCell(nRowOffset, nColOffset);
            CGridCell& cell = CellAt(r, c);
            if (nWhat & gridContents) {
                DropFormula(r, c, cell);
                if (from.GetFormula()) {
                    auto pFormula = std::make_unique<CGridFormula>(*from.GetFormula());
                    pFormula->Offset(r - (src.m_nRow1 + nRowOffset), c - (src.m_nCol1 + nColOffset));
                    cell.SetFormula(std::move(pFormula));
                    m_calc.AddFormula(CGridCalc::Key(r, c), *cell.GetFormula());
                } else
                    cell.SetValue(from.GetValue());
                changed.push_back(CGridCalc::Key(r, c));
            }
            if (nWhat & gridFormats)
                cell.SetFormat(from.GetFormat());
        }
    m_calc.Recalc(changed);
    return TRUE;
}

void CGridSheet::ScanRange(const CGridRange& range, const std::function<bool(const CGridValue&)>& f) const
{
    int nLastRow = std::min(range.m_nRow2, static_cast<int>(m_rows.size()));
    for (int r = range.m_nRow1; r <= nLastRow; ++r) {
        const std::vector<CGridCell>& cells = m_rows[static_cast<size_t>(r - 1)].m_cells;
        int nLastCol = std::min(range.m_nCol2, static_cast<int>(cells.size()));
        for (int c = range.m_nCol1; c <= nLastCol; ++c) {
            const CGridValue& value = cells[static_cast<size_t>(c - 1)].GetValue();
            if (!value.IsEmpty() && !f(value))
                return;
        }
    }
}

const CGridSeparators& CGridSheet::GetSeparators() const
{
    return m_pBook->GetSeparators();
}
