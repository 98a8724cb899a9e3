#include "ui/commandbars/XTPDockBarSlots.h"

#include <algorithm>

int CXTPDockBarSlots::GetCount() const
{
    return static_cast<int>(std::count_if(m_arrSlots.begin(), m_arrSlots.end(), [](CXTPToolBar* p) { return p; }));
}

int CXTPDockBarSlots::FindBar(const CXTPToolBar* pBar, int nSkip) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (i != nSkip && m_arrSlots[static_cast<size_t>(i)] == pBar && pBar)
            return i;
    }
    return -1;
}

int CXTPDockBarSlots::Append(CXTPToolBar* pBar)
{
    if (m_arrSlots.back())
        m_arrSlots.push_back(nullptr);
    m_arrSlots.push_back(pBar);
    m_arrSlots.push_back(nullptr);
    return GetSize() - 2;
}

int CXTPDockBarSlots::Insert(CXTPToolBar* pBar, int nCentre, const std::function<int(CXTPToolBar*)>& nFarEdge)
{
    int nRowStart = 0, nEdge = 0, nPrecedingEdge = 0;
    BOOL bFound = nCentre < 0;
    for (int i = 1; !bFound && i < GetSize(); ++i)
    {
        if (CXTPToolBar* pOther = m_arrSlots[static_cast<size_t>(i)])
        {
            nEdge = std::max(nEdge, nFarEdge(pOther));
            continue;
        }
        if (nCentre < nEdge)
        {
            bFound = TRUE;
            break;
        }
        nRowStart = i;
        nPrecedingEdge = nEdge;
        nEdge = 0;
    }
    if (!bFound)
        return Append(pBar);
    int nSlot = nRowStart + 1;
    m_arrSlots.insert(m_arrSlots.begin() + nSlot, pBar);
    if (nCentre < 0 || nCentre == nPrecedingEdge)
        m_arrSlots.insert(m_arrSlots.begin() + nSlot + 1, nullptr);
    return nSlot;
}

BOOL CXTPDockBarSlots::Remove(const CXTPToolBar* pBar, int nSkip)
{
    int nSlot = FindBar(pBar, nSkip);
    if (nSlot <= 0)
        return FALSE;
    m_arrSlots.erase(m_arrSlots.begin() + nSlot);
    if (nSlot < GetSize() && !m_arrSlots[static_cast<size_t>(nSlot - 1)] && !m_arrSlots[static_cast<size_t>(nSlot)])
        m_arrSlots.erase(m_arrSlots.begin() + nSlot);
    return TRUE;
}

void CXTPDockBarSlots::ApplyOwnRow(const std::function<BOOL(CXTPToolBar*)>& bOwnRow)
{
    for (int i = 1; i < GetSize(); ++i)
    {
        CXTPToolBar* pBar = m_arrSlots[static_cast<size_t>(i)];
        if (!pBar || !bOwnRow(pBar))
            continue;
        if (m_arrSlots[static_cast<size_t>(i - 1)])
            m_arrSlots.insert(m_arrSlots.begin() + i++, nullptr);
        if (i + 1 < GetSize() && m_arrSlots[static_cast<size_t>(i + 1)])
            m_arrSlots.insert(m_arrSlots.begin() + i + 1, nullptr);
    }
}

void CXTPDockBarSlots::InsertAt(int nSlot, CXTPToolBar* pBar)
{
    nSlot = std::max(0, std::min(nSlot, GetSize()));
    m_arrSlots.insert(m_arrSlots.begin() + nSlot, pBar);
}

void CXTPDockBarSlots::Normalize()
{
    std::vector<CXTPToolBar*> arrSlots(1, nullptr);
    for (CXTPToolBar* pBar : m_arrSlots)
    {
        if (pBar || arrSlots.back())
            arrSlots.push_back(pBar);
    }
    if (arrSlots.back())
        arrSlots.push_back(nullptr);
    m_arrSlots.swap(arrSlots);
}

std::vector<std::vector<CXTPToolBar*>> CXTPDockBarSlots::GetRows() const
{
    std::vector<std::vector<CXTPToolBar*>> arrRows;
    std::vector<CXTPToolBar*> arrRow;
    for (CXTPToolBar* pBar : m_arrSlots)
    {
        if (pBar)
            arrRow.push_back(pBar);
        else if (!arrRow.empty())
        {
            arrRows.push_back(arrRow);
            arrRow.clear();
        }
    }
    if (!arrRow.empty())
        arrRows.push_back(arrRow);
    return arrRows;
}

int CXTPDockBarSlots::GetRowStart(int nSlot) const
{
    for (int i = std::min(nSlot, GetSize() - 1); i > 0; --i)
    {
        if (!m_arrSlots[static_cast<size_t>(i)])
            return i;
    }
    return 0;
}
