// Typed comparison of the texts of a list column, for LVM_SORTITEMS: the sort info maps each row's item data
// to its text in the sorted column. Every function answers -1, 0 or 1 for ascending and the negated value when
// the info says descending.
#pragma once

#include "platform/mfc/afxstr.h"

#include <windows.h>

#include <map>
#include <vector>

struct CSortInfo
{
    std::map<LPARAM, CString> texts;   // item data → text of the sorted column
    BOOL bAscending = TRUE;

    const CString& Text(LPARAM lItem) const;
};

typedef int(CALLBACK* PFNLISTCOMPARE)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// lParamSort is a CSortInfo*.
int CALLBACK CompareText(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
int CALLBACK CompareFloat(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
int CALLBACK CompareInteger(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
int CALLBACK CompareCurrency(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
// An empty text sorts before any other (after it when descending); two empty texts are equal.
int CALLBACK CompareTime(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
int CALLBACK CompareDateTime(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// Up to three sort keys, each with its own info and comparison: the first key decides, a tie goes to the next.
class CMultiSortInfo
{
public:
    enum { maxKeys = 3 };
    struct KEY
    {
        int nColumn;
        PFNLISTCOMPARE pfnCompare;
        CSortInfo info;
    };

    // FALSE when three keys are there already.
    BOOL AddKey(int nColumn, BOOL bAscending, PFNLISTCOMPARE pfnCompare);
    void RemoveAll() { m_keys.clear(); }
    int GetKeyCount() const { return static_cast<int>(m_keys.size()); }
    KEY& GetKey(int nKey) { return m_keys[static_cast<size_t>(nKey)]; }
    // The key number (1 to 3) of a column, 0 when it is not sorted.
    int FindKey(int nColumn, BOOL* pbAscending = nullptr) const;
    // Sort state: 0 shows no arrows.
    int GetSortState() const { return m_nSortState; }
    void SetSortState(int nState) { m_nSortState = nState; }

    // lParamSort is a CMultiSortInfo*.
    static int CALLBACK Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

private:
    std::vector<KEY> m_keys;
    int m_nSortState = 1;
};
