#include "ui/commandbars/XTPReBarState.h"

#include <algorithm>
#include <cwchar>

CString CXTPReBarState::Format(const std::vector<XTP_REBAR_BANDSTATE>& arrBands)
{
    CString strState;
    for (size_t i = 0; i < arrBands.size(); ++i)
    {
        CString strLine;
        strLine.Format(L"wID=%04X, cx=%d, fStyle=%08X", arrBands[i].nID, arrBands[i].cx,
                       static_cast<unsigned>(arrBands[i].fStyle));
        if (i)
            strState += L"\n";
        strState += strLine;
    }
    return strState;
}

BOOL CXTPReBarState::ParseLine(const CString& strLine, XTP_REBAR_BANDSTATE& state)
{
    unsigned nID = 0, fStyle = 0;
    int cx = 0, nEnd = -1;
    if (std::swscanf(strLine.GetString(), L"wID=%X, cx=%d, fStyle=%X%n", &nID, &cx, &fStyle, &nEnd) != 3 ||
        nEnd != strLine.GetLength())
        return FALSE;
    state = {nID, cx, fStyle};
    return TRUE;
}

std::vector<CXTPReBarState::MOVE> CXTPReBarState::PlanLoad(const CString& strState,
                                                           const std::vector<UINT>& arrBandIds)
{
    std::vector<MOVE> arrMoves;
    if (strState.IsEmpty())
        return arrMoves;
    std::vector<CString> arrLines;
    int nStart = 0;
    for (;;)
    {
        int nEnd = strState.Find(L'\n', nStart);
        arrLines.push_back(strState.Mid(nStart, nEnd < 0 ? strState.GetLength() - nStart : nEnd - nStart));
        if (nEnd < 0)
            break;
        nStart = nEnd + 1;
    }
    std::vector<UINT> arrOrder = arrBandIds;
    for (size_t i = 0; i < arrOrder.size() && i < arrLines.size(); ++i)
    {
        XTP_REBAR_BANDSTATE state;
        if (!ParseLine(arrLines[i], state))
            continue;
        auto it = std::find(arrOrder.begin(), arrOrder.end(), state.nID);
        if (it == arrOrder.end())
            continue;
        int nFrom = static_cast<int>(it - arrOrder.begin());
        arrOrder.erase(it);
        arrOrder.insert(arrOrder.begin() + static_cast<std::ptrdiff_t>(i), state.nID);
        arrMoves.push_back({nFrom, static_cast<int>(i), state});
    }
    return arrMoves;
}
