// One cell of a sheet: its constant value or its formula with the formula's last result, and its format.
#pragma once

#include "GridFormula.h"

#include <memory>

class CGridCell
{
public:
    CGridCell() = default;
    CGridCell(const CGridCell& cell) { *this = cell; }
    CGridCell& operator=(const CGridCell& cell)
    {
        m_value = cell.m_value;
        m_pFormula = cell.m_pFormula ? std::make_unique<CGridFormula>(*cell.m_pFormula) : nullptr;
        m_nFormat = cell.m_nFormat;
        return *this;
    }
    CGridCell(CGridCell&&) noexcept = default;
    CGridCell& operator=(CGridCell&&) noexcept = default;

    // The constant, or the formula's result.
    const CGridValue& GetValue() const { return m_value; }
    const CGridFormula* GetFormula() const { return m_pFormula.get(); }
    CGridFormula* GetFormula() { return m_pFormula.get(); }
    // Index in the book's format table.
    int GetFormat() const { return m_nFormat; }

    bool HasContent() const { return m_pFormula || !m_value.IsEmpty(); }
    bool IsUnused() const { return !HasContent() && m_nFormat == 0; }

    // The sheet keeps its formula index and results in step: only it changes cells.
    void SetValue(CGridValue value) { m_value = std::move(value); }
    void SetFormula(std::unique_ptr<CGridFormula> pFormula) { m_pFormula = std::move(pFormula); m_value = CGridValue(); }
    void SetFormat(int nFormat) { m_nFormat = nFormat; }

private:
    CGridValue m_value;
    std::unique_ptr<CGridFormula> m_pFormula;
    int m_nFormat = 0;
};
