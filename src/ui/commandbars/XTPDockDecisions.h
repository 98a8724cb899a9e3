// What the move tracking of a toolbar decides without windows: where a drag rectangle must be to hold the cursor,
// which dock bar lies under the cursor (within 20 pixels), and what a double-click on the bar does.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPDockDecisions
{
public:
    enum { dockTolerance = 20 };
    enum ToggleAction { toggleNone = 0, toggleFloat = 1, toggleDock = 2 };

    // Moves the rectangle the least so that it holds the point.
    static void AdjustRectWithPoint(CRect& rc, CPoint pt);

    // The dock bar (0 top, 1 bottom, 2 left, 3 right) whose window holds the point, widened by the tolerance
    // across its edge (horizontal ones above and below, vertical ones left and right); the preferred one is
    // asked first, then the others in order. -1 when none.
    static int FindDockBarAt(CPoint pt, const CRect (&rcDockBars)[4], int nPreferred);
    // The bar's flags let it dock on that side (0x01 top, 0x02 bottom, 0x04 left, 0x08 right).
    static BOOL IsSideAllowed(DWORD dwFlags, int nSide) { return nSide >= 0 && nSide < 4 && (dwFlags & (1u << nSide)); }

    // A double-click: a docked bar floats only when it may float and the option allows it; a floating bar docks
    // only when it may dock somewhere.
    static ToggleAction GetToggleAction(BOOL bFloating, DWORD dwFlags, BOOL bDblClickFloat);
    // Where a docked bar floats on a double-click: where it floated last when it ever floated (wherever that was,
    // left of or above the primary monitor included), else where it is docked.
    static CPoint GetFloatPoint(BOOL bHasFloated, CPoint ptLastFloat, CPoint ptDocked)
    {
        return bHasFloated ? ptLastFloat : ptDocked;
    }
};
