// Recalculation of one sheet: which formulas read which cells, and the order in which changed formulas are
// computed again (the cells they read first). Formulas that read each other in a circle get #CIRC!.
#pragma once

#include "GridAddress.h"

#include <unordered_map>
#include <utility>
#include <vector>

class CGridSheet;
class CGridFormula;

class CGridCalc
{
public:
    explicit CGridCalc(CGridSheet& sheet) : m_sheet(sheet) {}
    CGridCalc(const CGridCalc&) = delete;
    CGridCalc& operator=(const CGridCalc&) = delete;

    static UINT Key(int nRow, int nCol) { return static_cast<UINT>(nRow) * 512u + static_cast<UINT>(nCol); }
    static int KeyRow(UINT nKey) { return static_cast<int>(nKey / 512u); }
    static int KeyCol(UINT nKey) { return static_cast<int>(nKey % 512u); }

    void AddFormula(UINT nKey, const CGridFormula& formula);
    void RemoveFormula(UINT nKey, const CGridFormula& formula);
    // Computes again the formulas among the changed cells and every formula that reads them, directly or not.
    void Recalc(const std::vector<UINT>& changed);
    // Forgets the index, indexes every formula of the sheet and computes them all.
    void RebuildAll();

private:
    void Evaluate(const std::vector<UINT>& dirty);

    CGridSheet& m_sheet;
    std::unordered_map<UINT, std::vector<UINT>> m_cellReaders;      // cell -> formulas naming it alone
    std::vector<std::pair<CGridRange, UINT>> m_rangeReaders;        // range -> formula reading it
    std::vector<CGridRange> m_refs;                                  // room for one formula's references
};
