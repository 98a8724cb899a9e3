// How a dock bar places the bars of one row: each bar starts where it was put, later bars are pushed after
// earlier ones, the row is settled from the left, shrinkable bars give up length from the right end, and a row
// that cannot hold its bars at their minimum lengths gives its last bar to a new row. Everything runs along the
// row ("along" is x for a horizontal dock bar, y for a vertical one); the caller turns the results around.
#pragma once

#include "platform/mfc/afxwin.h"

#include <functional>
#include <vector>

// One bar of a row while the row is laid out; along and across are the row's own coordinates.
struct XTP_DOCKBAR_ROWITEM
{
    int nBar;            // the caller's number of the bar (its place in the row as given)
    DWORD dwMode;        // the bar's layout mode (without LM_COMMIT)
    BOOL bStretchShared; // the bar stretches over the gaps to its neighbours
    CRect rc;            // left/right along the row, top/bottom across it
    CRect rcFirst;
    int nIndex;          // place in the order given
    int nMinLength;
    int nPrecedingMin;
};

class CXTPDockBarLayout
{
public:
    // Bits of a bar's "Flags" that the dock rows read.
    enum
    {
        flagHideWrap = 0x20,           // may hide controls to fit
        flagStretched = 0x40,          // alone in its row, laid out stretched
        flagStretchedShared = 0x100000 // stretches over the gaps to its neighbours
    };

    // The size of a bar (cx along the row, cy across) at a length, in a mode, for a row thickness (0: its own).
    using MEASURE = std::function<CSize(int nBar, int nLength, DWORD dwMode, int nThickness)>;

    // A bar of a row as given: where it was put along the row, its mode, whether it shares the gaps.
    struct ROWBAR
    {
        int nBar;
        int nStart;
        DWORD dwMode;
        BOOL bStretchShared;
    };
    // A placed bar: its final rectangle, across measured from the rows' origin.
    struct PLACED
    {
        int nBar;
        CRect rc;
        DWORD dwMode;   // the committed mode
    };

    // Lays out one row of bars at length nLength. Answers the row thickness, or -1 and in nFailBar the bar that
    // must leave the row when they cannot all keep their minimum lengths (never for a single bar).
    static int CalcRowLayout(const std::vector<ROWBAR>& arrBars, int nLength, const MEASURE& measure,
                             std::vector<PLACED>& arrPlaced, int& nFailBar);

    // Lays out a row, wrapping the bars that do not fit into further rows below it (each next row starts across
    // at the thickness of those before). Answers the total thickness.
    static int WrapRow(std::vector<ROWBAR> arrBars, int nLength, const MEASURE& measure,
                       std::vector<PLACED>& arrPlaced);
};
