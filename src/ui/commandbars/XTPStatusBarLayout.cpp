#include "ui/commandbars/XTPStatusBarLayout.h"

#include <algorithm>

std::vector<int> CXTPStatusBarLayout::CalcPartEdges(const std::vector<XTP_STATUSBAR_PART>& arrParts, int nInsideWidth,
                                                    int nBorderX, int nGap)
{
    int nFree = nInsideWidth + nGap;
    int nStretchCount = 0;
    for (const XTP_STATUSBAR_PART& part : arrParts)
    {
        nFree -= part.nWidth + paneMargin + nGap;
        if (part.bStretch)
            ++nStretchCount;
    }
    std::vector<int> arrRights;
    arrRights.reserve(arrParts.size());
    int x = nBorderX;
    for (const XTP_STATUSBAR_PART& part : arrParts)
    {
        int nRight = x + paneMargin + part.nWidth;
        if (part.bStretch)
        {
            if (nFree > 0)
            {
                int nShare = nFree / nStretchCount;
                nRight += nShare;
                nFree -= nShare;
            }
            --nStretchCount;
        }
        arrRights.push_back(nRight);
        x = nRight + nGap;
    }
    return arrRights;
}

int CXTPStatusBarLayout::CalcLastPaneRight(int nLeft, const XTP_STATUSBAR_PART& part, int nClientRight, BOOL bSizeGrip)
{
    if (!part.bStretch)
        return nLeft + 3 * ::GetSystemMetrics(SM_CXEDGE) + part.nWidth;
    return bSizeGrip ? nClientRight - (::GetSystemMetrics(SM_CXSMICON) + ::GetSystemMetrics(SM_CXEDGE)) : nClientRight;
}

LRESULT CXTPStatusBarLayout::CopyText(const CString* pText, LPTSTR lpszBuffer, WPARAM nMaxCount)
{
    if (nMaxCount == 0 || !lpszBuffer)
        return 0;
    size_t nCopy = pText ? std::min(static_cast<size_t>(pText->GetLength()), static_cast<size_t>(nMaxCount) - 1) : 0;
    if (nCopy)
        std::copy_n(pText->GetString(), nCopy, lpszBuffer);
    lpszBuffer[nCopy] = 0;
    return static_cast<LRESULT>(nCopy);
}
