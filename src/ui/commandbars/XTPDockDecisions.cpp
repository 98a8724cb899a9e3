#include "ui/commandbars/XTPDockDecisions.h"

void CXTPDockDecisions::AdjustRectWithPoint(CRect& rc, CPoint pt)
{
    if (pt.x < rc.left)
        rc.OffsetRect(pt.x - rc.left, 0);
    else if (pt.x >= rc.right)
        rc.OffsetRect(pt.x - rc.right + 1, 0);
    if (pt.y < rc.top)
        rc.OffsetRect(0, pt.y - rc.top);
    else if (pt.y >= rc.bottom)
        rc.OffsetRect(0, pt.y - rc.bottom + 1);
}

int CXTPDockDecisions::FindDockBarAt(CPoint pt, const CRect (&rcDockBars)[4], int nPreferred)
{
    auto holds = [&](int nSide) {
        if (nSide < 0 || nSide > 3)
            return FALSE;
        CRect rc = rcDockBars[nSide];
        if (nSide < 2)
            rc.InflateRect(0, dockTolerance);
        else
            rc.InflateRect(dockTolerance, 0);
        return rc.PtInRect(pt);
    };
    if (holds(nPreferred))
        return nPreferred;
    for (int nSide = 0; nSide < 4; ++nSide)
    {
        if (holds(nSide))
            return nSide;
    }
    return -1;
}

CXTPDockDecisions::ToggleAction CXTPDockDecisions::GetToggleAction(BOOL bFloating, DWORD dwFlags,
                                                                   BOOL bDblClickFloat)
{
    if (bFloating)
        return (dwFlags & 0x0F) ? toggleDock : toggleNone;
    return (dwFlags & 0x10) && bDblClickFloat ? toggleFloat : toggleNone;
}
