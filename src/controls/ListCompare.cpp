#include "controls/ListCompare.h"

#include <oleauto.h>

#include <cwchar>

namespace
{
const CSortInfo& Info(LPARAM lParamSort)
{
    return *reinterpret_cast<const CSortInfo*>(lParamSort);
}

int Sign(double d)
{
    return d < 0 ? -1 : d > 0 ? 1 : 0;
}

int Directed(int nResult, const CSortInfo& info)
{
    return info.bAscending ? nResult : -nResult;
}

// Empty texts first; otherwise the parsed values (a text that does not parse counts as empty).
int CompareDates(const CString& a, const CString& b, ULONG dwFlags)
{
    DATE da = 0, db = 0;
    const BOOL bA = !a.IsEmpty() && SUCCEEDED(::VarDateFromStr(const_cast<LPOLESTR>(static_cast<LPCWSTR>(a)), LOCALE_USER_DEFAULT, dwFlags, &da));
    const BOOL bB = !b.IsEmpty() && SUCCEEDED(::VarDateFromStr(const_cast<LPOLESTR>(static_cast<LPCWSTR>(b)), LOCALE_USER_DEFAULT, dwFlags, &db));
    if (!bA || !bB)
        return bA == bB ? 0 : bA ? 1 : -1;
    return Sign(da - db);
}
}

const CString& CSortInfo::Text(LPARAM lItem) const
{
    static const CString s_strEmpty;
    auto it = texts.find(lItem);
    return it == texts.end() ? s_strEmpty : it->second;
}

int CALLBACK CompareText(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CSortInfo& info = Info(lParamSort);
    const int nResult = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, info.Text(lParam1), -1, info.Text(lParam2), -1);
    return Directed(nResult - CSTR_EQUAL, info);
}

int CALLBACK CompareFloat(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CSortInfo& info = Info(lParamSort);
    double a = 0, b = 0;
    swscanf(info.Text(lParam1), L"%lf", &a);
    swscanf(info.Text(lParam2), L"%lf", &b);
    return Directed(Sign(a - b), info);
}

int CALLBACK CompareInteger(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CSortInfo& info = Info(lParamSort);
    const long a = std::wcstol(info.Text(lParam1), nullptr, 10);
    const long b = std::wcstol(info.Text(lParam2), nullptr, 10);
    return Directed(a < b ? -1 : a > b ? 1 : 0, info);
}

int CALLBACK CompareCurrency(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CSortInfo& info = Info(lParamSort);
    CY a = {}, b = {};
    ::VarCyFromStr(const_cast<LPOLESTR>(static_cast<LPCWSTR>(info.Text(lParam1))), LOCALE_USER_DEFAULT, 0, &a);
    ::VarCyFromStr(const_cast<LPOLESTR>(static_cast<LPCWSTR>(info.Text(lParam2))), LOCALE_USER_DEFAULT, 0, &b);
    return Directed(a.int64 < b.int64 ? -1 : a.int64 > b.int64 ? 1 : 0, info);
}

int CALLBACK CompareTime(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CSortInfo& info = Info(lParamSort);
    return Directed(CompareDates(info.Text(lParam1), info.Text(lParam2), VAR_TIMEVALUEONLY), info);
}

int CALLBACK CompareDateTime(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CSortInfo& info = Info(lParamSort);
    return Directed(CompareDates(info.Text(lParam1), info.Text(lParam2), 0), info);
}

BOOL CMultiSortInfo::AddKey(int nColumn, BOOL bAscending, PFNLISTCOMPARE pfnCompare)
{
    if (m_keys.size() >= maxKeys)
        return FALSE;
    KEY key;
    key.nColumn = nColumn;
    key.pfnCompare = pfnCompare ? pfnCompare : CompareText;
    key.info.bAscending = bAscending;
    m_keys.push_back(key);
    return TRUE;
}

int CMultiSortInfo::FindKey(int nColumn, BOOL* pbAscending) const
{
    for (size_t i = 0; i < m_keys.size(); i++) {
        if (m_keys[i].nColumn == nColumn) {
            if (pbAscending)
                *pbAscending = m_keys[i].info.bAscending;
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

int CALLBACK CMultiSortInfo::Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* pMulti = reinterpret_cast<const CMultiSortInfo*>(lParamSort);
    for (const KEY& key : pMulti->m_keys) {
        const int nResult = key.pfnCompare(lParam1, lParam2, reinterpret_cast<LPARAM>(&key.info));
        if (nResult != 0)
            return nResult;
    }
    return 0;
}
