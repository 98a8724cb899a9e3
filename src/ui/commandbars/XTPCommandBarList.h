// An ordered list of command bars that holds one reference to each, released with the list.
#pragma once

#include "ui/commandbars/XTPCommandBar.h"

#include <algorithm>
#include <vector>

class CXTPCommandBarList
{
public:
    CXTPCommandBarList() = default;
    ~CXTPCommandBarList()
    {
        for (CXTPCommandBar* pBar : m_arrBars)
            pBar->InternalRelease();
    }
    CXTPCommandBarList(const CXTPCommandBarList&) = delete;
    CXTPCommandBarList& operator=(const CXTPCommandBarList&) = delete;

    void Add(CXTPCommandBar* pBar)
    {
        pBar->InternalAddRef();
        m_arrBars.push_back(pBar);
    }
    BOOL Contains(const CXTPCommandBar* pBar) const
    {
        return std::find(m_arrBars.begin(), m_arrBars.end(), pBar) != m_arrBars.end();
    }
    int GetCount() const { return static_cast<int>(m_arrBars.size()); }
    CXTPCommandBar* GetAt(int nIndex) const { return m_arrBars[static_cast<size_t>(nIndex)]; }
    // The first bar of the id, or null.
    CXTPCommandBar* FindBar(UINT nBarID) const
    {
        for (CXTPCommandBar* pBar : m_arrBars)
            if (pBar->GetBarID() == nBarID)
                return pBar;
        return nullptr;
    }

private:
    std::vector<CXTPCommandBar*> m_arrBars;
};
