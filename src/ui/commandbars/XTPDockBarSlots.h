// The bars of a dock bar in rows: a run of bars between two null slots is a row, slot 0 is always null and two
// nulls never follow one another. Placing a bar by the centre of its drop rectangle chooses its row (or makes a
// new one), removing the last bar of a row removes the row, and a bar that wants a row of its own gets one.
#pragma once

#include "platform/mfc/afxwin.h"

#include <functional>
#include <vector>

class CXTPToolBar;

class CXTPDockBarSlots
{
public:
    CXTPDockBarSlots() : m_arrSlots(1, nullptr) {}

    int GetSize() const { return static_cast<int>(m_arrSlots.size()); }
    CXTPToolBar* GetAt(int nSlot) const
    {
        return nSlot >= 0 && nSlot < GetSize() ? m_arrSlots[static_cast<size_t>(nSlot)] : nullptr;
    }
    // Bars held (null slots not counted).
    int GetCount() const;
    // The first slot holding the bar other than nSkip, or -1.
    int FindBar(const CXTPToolBar* pBar, int nSkip = -1) const;

    // A new last row holding the bar; answers its slot.
    int Append(CXTPToolBar* pBar);
    // Places the bar by the centre of its rectangle across the rows (y for a horizontal dock bar). nFarEdge
    // answers how far a bar of a row reaches across (0 for a hidden one). Within a row the bar comes first; on
    // the border between two rows, or before the first, it gets a new row; past the last row, a new last row.
    int Insert(CXTPToolBar* pBar, int nCentre, const std::function<int(CXTPToolBar*)>& nFarEdge);
    // Takes out the bar's slot (the first other than nSkip); an emptied row goes with it. FALSE when not held.
    BOOL Remove(const CXTPToolBar* pBar, int nSkip = -1);
    // Every bar for which bOwnRow answers TRUE is alone in its row.
    void ApplyOwnRow(const std::function<BOOL(CXTPToolBar*)>& bOwnRow);
    // Inserts a bar, or a row separator for a null bar, at a slot (a stored arrangement being read back); the
    // caller normalizes when done.
    void InsertAt(int nSlot, CXTPToolBar* pBar);
    // Slot 0 null, no two nulls in a row, a null after the last row.
    void Normalize();
    // The rows, each with its bars in slot order.
    std::vector<std::vector<CXTPToolBar*>> GetRows() const;
    // The slot that starts the row holding a slot.
    int GetRowStart(int nSlot) const;

    const std::vector<CXTPToolBar*>& GetSlots() const { return m_arrSlots; }

private:
    std::vector<CXTPToolBar*> m_arrSlots;
};
