// The move and resize tracking of one toolbar: a capture loop that docks the bar at a dock bar under the cursor
// or floats it, resizes a floating bar by its edges, and toggles between docked and floating on a double-click.
// It keeps where the bar was docked and where it floated last.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPToolBar;

class CXTPDockContext
{
public:
    explicit CXTPDockContext(CXTPToolBar* pBar) : m_pBar(pBar) {}
    virtual ~CXTPDockContext() = default;
    CXTPDockContext(const CXTPDockContext&) = delete;
    CXTPDockContext& operator=(const CXTPDockContext&) = delete;

    // Moves the bar with the mouse from a screen point until the button is released or Esc is pressed.
    virtual void StartDrag(CPoint pt);
    // Resizes a floating bar by the edge of a hit-test code (HTLEFT to HTBOTTOMRIGHT).
    virtual void StartResize(int nHitTest, CPoint pt);
    // Docked: floats (when allowed); floating: docks where it was docked last. FALSE when nothing happens.
    virtual BOOL ToggleDocking();

    // Where the bar was docked last: the dock side and the rectangle in that dock bar's client coordinates.
    int m_nLastDockPosition = 0;
    CRect m_rcLastDocked;
    // Where the bar's floating window was last, and whether it ever floated.
    CPoint m_ptLastFloat = CPoint(0, 0);
    BOOL m_bHasFloated = FALSE;

protected:
    // The capture loop; FALSE when another window holds the capture.
    virtual BOOL Track();
    void Move(CPoint pt);
    void ResizeFloating(CPoint pt);
    void RememberFloatingPlace();

    CXTPToolBar* m_pBar;
    int m_nTrackingCode = 0;   // 1 moving, HTLEFT..HTBOTTOMRIGHT resizing
    CPoint m_ptLast = CPoint(0, 0);
    CRect m_rcTrack;           // offered to the dock bars while moving (screen)
    CRect m_rcFloat;           // the floating window while moving or resizing (screen)
};
