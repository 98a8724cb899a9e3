#include "ui/docking/DockingPaneAutoHidePanel.h"

#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/PropExchange.h"

#include <algorithm>

CXTPDockingPaneAutoHidePanel::CXTPDockingPaneAutoHidePanel(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneElement(xtpPaneTypeAutoHidePanel, pLayout)
{
}

BOOL CXTPDockingPaneAutoHidePanel::ContainsPane(CXTPDockingPaneElement* pElement) const
{
    if (pElement == this)
        return TRUE;
    return std::any_of(m_lstContainers.begin(), m_lstContainers.end(),
                       [pElement](CXTPDockingPaneElement* p) { return p->ContainsPane(pElement); });
}

void CXTPDockingPaneAutoHidePanel::FindPane(int nType, CXTPDockingPaneElementList* pList)
{
    if (nType == m_nType) {
        pList->push_back(this);
        return;
    }
    for (CXTPDockingPaneElement* pContainer : m_lstContainers) {
        if (pContainer->GetType() == nType)
            pList->push_back(pContainer);
        else
            pContainer->FindPane(nType, pList);
    }
}

BOOL CXTPDockingPaneAutoHidePanel::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPDockingPaneElement::DoPropExchange(pPX);
    if (!ExchangeInt(pPX, L"Direction", m_nDirection) && pPX->IsLoading())
        return FALSE;
    int nCount = static_cast<int>(m_lstContainers.size());
    ExchangeInt(pPX, L"Panes", nCount, 0);
    if (pPX->IsStoring()) {
        for (int i = 0; i < nCount; i++) {
            CString strKey;
            strKey.Format(L"Pane-%d", i + 1);
            int nNumber = m_lstContainers[i]->m_nLayoutId;
            ExchangeInt(pPX, strKey, nNumber, 0);
        }
        return TRUE;
    }
    // A side outside the four, a second panel of a side, or a child that is no free tabbed container spoils it.
    if (m_nDirection < 0 || m_nDirection > 3 || m_pLayout->GetAutoHidePanel(m_nDirection) ||
        nCount < 0 || nCount > static_cast<int>(m_pLayout->GetElementList().size()))
        return FALSE;
    for (int i = 0; i < nCount; i++) {
        CString strKey;
        strKey.Format(L"Pane-%d", i + 1);
        int nNumber = 0;
        ExchangeInt(pPX, strKey, nNumber, 0);
        CXTPDockingPaneElement* pChild = CXTPDockingPaneLayout::ResolveElement(pPX, nNumber);
        if (!pChild || pChild->GetType() != xtpPaneTypeTabbedContainer || pChild->GetContainer())
            return FALSE;
        AddContainer(pChild);
    }
    m_pLayout->SetAutoHidePanel(m_nDirection, this);
    return TRUE;
}

CXTPDockingPaneElement* CXTPDockingPaneAutoHidePanel::Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                                            DWORD dwIgnoredOptions)
{
    CXTPDockingPaneAutoHidePanel* pClone = static_cast<CXTPDockingPaneAutoHidePanel*>(
        GetDockingPaneManager()->CreateElement(xtpPaneTypeAutoHidePanel, pLayout));
    pClone->m_nDirection = m_nDirection;
    if (pMap) {
        auto* pDonor = dynamic_cast<CXTPDockingPaneAutoHidePanel*>(pLayout->TakeDonor(this));
        if (pDonor && pDonor->HandOverWindow(pClone))
            CXTPDockingPaneDropTarget::HandOver(pDonor->m_pDropTarget, pClone->m_pDropTarget);
    }
    for (CXTPDockingPaneElement* pContainer : m_lstContainers)
        pClone->AddContainer(pContainer->Clone(pLayout, pMap, dwIgnoredOptions));
    if (pMap)
        (*pMap)[this] = pClone;
    return pClone;
}
