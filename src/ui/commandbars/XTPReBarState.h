// The rebar's band state as the profile keeps it ("RebarStateInfo"): one line per band, "wID=%04X, cx=%d,
// fStyle=%08X", joined by line feeds. Reading it back moves each stored band to its stored place and gives it its
// width and style; a line that does not parse, or whose id no band has, is passed over.
#pragma once

#include "platform/mfc/afxwin.h"

#include <commctrl.h>

#include <vector>

struct XTP_REBAR_BANDSTATE
{
    UINT nID;
    int cx;
    DWORD fStyle;
};

class CXTPReBarState
{
public:
    // One step of loading: the band of the id, found at nFrom, goes to nTo and takes the stored width and style.
    struct MOVE
    {
        int nFrom;
        int nTo;
        XTP_REBAR_BANDSTATE state;
    };

    static CString Format(const std::vector<XTP_REBAR_BANDSTATE>& arrBands);
    // FALSE when the line is not a band line.
    static BOOL ParseLine(const CString& strLine, XTP_REBAR_BANDSTATE& state);
    // The moves that bring the bands (their ids in present order) into the stored order. Lines beyond the band
    // count, lines that do not parse and ids without a band are passed over.
    static std::vector<MOVE> PlanLoad(const CString& strState, const std::vector<UINT>& arrBandIds);
    // The band's style after loading: its own without break and hidden, with the stored bits.
    static DWORD MergeStyle(DWORD fCurrent, DWORD fStored)
    {
        return (fCurrent & ~static_cast<DWORD>(RBBS_BREAK | RBBS_HIDDEN)) | fStored;
    }
};
