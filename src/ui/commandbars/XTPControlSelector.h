// A grid of cells from which the user picks a number of columns and rows (the size of a table, say): the cells
// from the top-left corner up to the one under the mouse are selected, and dragging past the grid with the left
// button held grows it, never beyond its largest size. What a cell shows belongs to a derived class.
#pragma once

#include "ui/commandbars/XTPControl.h"

// Code of the control notification: the selection changed.
#define XTP_SN_SELECTORCHANGE 0x1006

class CXTPControlSelector : public CXTPControl
{
    DECLARE_SERIAL(CXTPControlSelector)
public:
    CXTPControlSelector() = default;

    // The grid shown when the selector opens ("ItemsCount"), the largest one ("ItemsMax"), a cell ("ItemSize").
    CSize GetItemsCount() const { return m_szItemsCount; }
    void SetItemsCount(CSize sz) { m_szItemsCount = sz; }
    CSize GetItemsMax() const { return m_szItemsMax; }
    void SetItemsMax(CSize sz) { m_szItemsMax = sz; }
    CSize GetItemSize() const { return m_szItemSize; }
    void SetItemSize(CSize sz) { m_szItemSize = sz; }
    // The grid as it is shown now.
    CSize GetShownGrid() const { return m_szShown; }
    // Columns and rows selected from the top-left corner.
    CSize GetSelection() const { return m_szSelection; }
    // Stored, redrawn and told to the site when it changed or when forced.
    void SetSelection(CSize szSelection, BOOL bForce = FALSE);
    // The selection at the last execution.
    CSize GetChosen() const { return m_szChosen; }

    // The columns whose left edge lies left of the point and the rows whose top edge lies above it, in the
    // shown grid (bar coordinates).
    CSize HitTestCells(CPoint pt) const;
    // The shown grid grown to take in the cell under the point (bar coordinates), at most the largest grid; it
    // never shrinks.
    CSize CalcGrownGrid(CPoint pt) const;

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // Opening: the grid comes back to its first size with nothing selected, unless it has just grown.
    void OnCalcDynamicSize(DWORD dwMode) override;
    void OnMouseMove(CPoint point) override;
    // Losing the hot state with the left button held and the cursor past the grid grows it.
    BOOL SetSelected(int nSelected) override;
    void OnLButtonUp(CPoint point) override;
    // Executes only with a selection, which becomes the chosen one.
    void OnExecute() override;
    void Copy(CXTPControl* pOther, BOOL bRecursive) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;

protected:
    // The content of one cell, in the colour given; nothing in the base.
    virtual void DrawItem(CDC* pDC, CRect rcItem, COLORREF clrText);

private:
    CRect GetCellRect(int nColumn, int nRow) const;
    // Grows the grid towards the cursor and lays the bar out again around it.
    void GrowToCursor();

    CSize m_szItemsCount {5, 4};
    CSize m_szItemsMax {12, 12};
    CSize m_szSelection {0, 0};
    CSize m_szItemSize {28, 28};
    CSize m_szChosen {0, 0};
    CSize m_szShown {5, 4};
    BOOL m_bKeepGrid = FALSE;
};
