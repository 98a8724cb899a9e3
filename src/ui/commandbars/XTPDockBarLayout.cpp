#include "ui/commandbars/XTPDockBarLayout.h"

#include "ui/commandbars/CommandBarsDefs.h"

#include <algorithm>

namespace
{
void MoveAlong(CRect& rc, int nStart)
{
    rc.OffsetRect(nStart - rc.left, 0);
}
}

int CXTPDockBarLayout::CalcRowLayout(const std::vector<ROWBAR>& arrBars, int nLength, const MEASURE& measure,
                                     std::vector<PLACED>& arrPlaced, int& nFailBar)
{
    arrPlaced.clear();
    nFailBar = -1;
    std::vector<XTP_DOCKBAR_ROWITEM> items;
    items.reserve(arrBars.size());
    for (size_t i = 0; i < arrBars.size(); ++i)
    {
        const ROWBAR& bar = arrBars[i];
        CSize size = measure(bar.nBar, nLength, bar.dwMode, 0);
        XTP_DOCKBAR_ROWITEM item = {bar.nBar, bar.dwMode, bar.bStretchShared, CRect(), CRect(),
                                    static_cast<int>(i), 0, 0};
        item.rc.SetRect(bar.nStart, 0, bar.nStart + size.cx, size.cy);
        item.rcFirst = item.rc;
        items.push_back(item);
    }
    // Equal starts keep the order given.
    std::stable_sort(items.begin(), items.end(), [](const XTP_DOCKBAR_ROWITEM& a, const XTP_DOCKBAR_ROWITEM& b) {
        return a.rc.left < b.rc.left;
    });

    // A bar given later than the one before it goes after it; one given earlier goes after it only while the
    // bars before were pushed too.
    int nPrecedingEnd = 0, nPrecedingIndex = -1;
    BOOL bPushed = TRUE;
    for (XTP_DOCKBAR_ROWITEM& item : items)
    {
        if (item.rc.left >= nPrecedingEnd)
            bPushed = FALSE;
        else if (nPrecedingIndex >= item.nIndex)
        {
            if (bPushed)
                MoveAlong(item.rc, nPrecedingEnd);
        }
        else
        {
            MoveAlong(item.rc, nPrecedingEnd);
            bPushed = TRUE;
        }
        nPrecedingEnd = item.rc.right;
        nPrecedingIndex = item.nIndex;
    }

    // The same from the far end: nothing beyond the row's length.
    int nBound = nLength;
    nPrecedingIndex = -1;
    bPushed = TRUE;
    for (auto it = items.rbegin(); it != items.rend(); ++it)
    {
        XTP_DOCKBAR_ROWITEM& item = *it;
        if (item.rc.right <= nBound)
            bPushed = FALSE;
        else if (nPrecedingIndex >= item.nIndex)
        {
            if (bPushed)
                MoveAlong(item.rc, nBound - item.rc.Width());
        }
        else
        {
            MoveAlong(item.rc, nBound - item.rc.Width());
            bPushed = TRUE;
        }
        nBound = item.rc.left;
        nPrecedingIndex = item.nIndex;
    }

    // Settle: no bar overlaps the one before it, none starts before the row.
    nPrecedingEnd = 0;
    for (XTP_DOCKBAR_ROWITEM& item : items)
    {
        if (item.rc.left < nPrecedingEnd)
            MoveAlong(item.rc, nPrecedingEnd);
        nPrecedingEnd = item.rc.right;
    }

    if (nPrecedingEnd > nLength)
    {
        int nPrecedingMin = 0;
        for (XTP_DOCKBAR_ROWITEM& item : items)
        {
            item.nMinLength = (item.dwMode & xtpLayoutHideWrap) ? measure(item.nBar, 1, item.dwMode, 0).cx : nLength;
            item.nPrecedingMin = nPrecedingMin;
            nPrecedingMin += item.nMinLength;
        }
        nBound = nLength;
        for (auto it = items.rbegin(); it != items.rend(); ++it)
        {
            XTP_DOCKBAR_ROWITEM& item = *it;
            int nStart = std::min(item.rcFirst.left, item.rc.left);
            nStart = std::max(nStart, nBound - item.rc.Width());
            nStart = std::max(nStart, item.nPrecedingMin);
            if (nBound - nStart < item.nMinLength)
                nStart = nBound - item.nMinLength;
            if ((nBound - nStart < item.nMinLength || nStart < item.nPrecedingMin) && items.size() > 1)
            {
                nFailBar = items.back().nBar;
                return -1;
            }
            item.rc.right = nBound;
            item.rc.left = std::max(nStart, 0);
            nBound = item.rc.left;
        }
    }

    int nThickness = 0;
    for (XTP_DOCKBAR_ROWITEM& item : items)
        nThickness = std::max(nThickness, static_cast<int>(measure(item.nBar, item.rc.Width(), item.dwMode, 0).cy));

    int nPlacedEnd = 0;
    for (size_t i = 0; i < items.size(); ++i)
    {
        XTP_DOCKBAR_ROWITEM& item = items[i];
        DWORD dwMode = item.dwMode | LM_COMMIT;
        if (item.bStretchShared)
        {
            item.rc.right = i + 1 < items.size() ? items[i + 1].rc.left : nLength;
            item.rc.left = i == 0 ? 0 : std::min(static_cast<int>(item.rc.left), nPlacedEnd);
            dwMode |= LM_STRETCH;
        }
        CSize size = measure(item.nBar, item.rc.Width(), dwMode, nThickness);
        CRect rc(item.rc.left, 0, item.rc.left + size.cx, size.cy);
        arrPlaced.push_back({item.nBar, rc, dwMode});
        nPlacedEnd = rc.right;
    }
    return nThickness;
}

int CXTPDockBarLayout::WrapRow(std::vector<ROWBAR> arrBars, int nLength, const MEASURE& measure,
                               std::vector<PLACED>& arrPlaced)
{
    arrPlaced.clear();
    int nTotal = 0;
    std::vector<ROWBAR> arrOverflow;
    while (!arrBars.empty())
    {
        std::vector<PLACED> arrRow;
        int nFailBar = -1;
        int nThickness = CalcRowLayout(arrBars, nLength, measure, arrRow, nFailBar);
        if (nThickness < 0)
        {
            auto it = std::find_if(arrBars.begin(), arrBars.end(),
                                   [nFailBar](const ROWBAR& bar) { return bar.nBar == nFailBar; });
            arrOverflow.push_back(*it);
            arrBars.erase(it);
            continue;
        }
        for (PLACED& placed : arrRow)
        {
            placed.rc.OffsetRect(0, nTotal);
            arrPlaced.push_back(placed);
        }
        nTotal += nThickness;
        arrBars.swap(arrOverflow);
        arrOverflow.clear();
    }
    return nTotal;
}
