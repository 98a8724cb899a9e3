#include "ui/docking/DockingPaneLayout.h"

#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"

#include <algorithm>
#include <set>

CXTPDockingPaneLayout::CXTPDockingPaneLayout(CXTPDockingPaneManager* pManager) : m_pManager(pManager)
{
    m_pClient = pManager->CreateElement(xtpPaneTypeClient, this);
    m_pTopContainer = static_cast<CXTPDockingPaneSplitterContainer*>(pManager->CreateElement(xtpPaneTypeSplitterContainer, this));
    m_pTopContainer->Init(m_pClient, TRUE, pManager->GetSite());
}

CXTPDockingPaneLayout::~CXTPDockingPaneLayout()
{
    Free();
}

BOOL CXTPDockingPaneLayout::IsValid() const
{
    return m_pTopContainer && m_pClient && m_pClient->GetType() == xtpPaneTypeClient && m_pManager;
}

void CXTPDockingPaneLayout::DeleteElement(CXTPDockingPaneElement* pElement)
{
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement))
        pPane->InternalRelease();
    else
        pElement->SafeDelete();
}

void CXTPDockingPaneLayout::DeleteElements(const CXTPDockingPaneElementList& lstElements)
{
    // Windows go first: a container's window must not outlive the elements its handlers reach.
    for (CXTPDockingPaneElement* pElement : lstElements) {
        if (CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement)) {
            if (pFrame->GetSafeHwnd())
                pFrame->DestroyWindow();
        }
    }
    for (CXTPDockingPaneElement* pElement : lstElements)
        DeleteElement(pElement);
}

void CXTPDockingPaneLayout::Reset()
{
    m_lstPanes.clear();
    m_pTopContainer = nullptr;
    m_pClient = nullptr;
    std::fill(std::begin(m_wndPanels), std::end(m_wndPanels), nullptr);
}

void CXTPDockingPaneLayout::Free()
{
    CXTPDockingPaneElementList lstElements;
    lstElements.swap(m_lstElements);
    DeleteElements(lstElements);
    Reset();
}

XTP_DOCKINGPANE_INFO* CXTPDockingPaneLayout::FindPaneInfo(const CXTPDockingPane* pPane)
{
    for (XTP_DOCKINGPANE_INFO& info : m_lstPanes) {
        if (info.pPane == pPane)
            return &info;
    }
    return nullptr;
}

namespace
{
// Where an element lies: in an auto-hide panel, in a floating frame, or docked in the frame.
wchar_t PlaceOf(const CXTPDockingPaneElement* pElement)
{
    for (const CXTPDockingPaneElement* p = pElement->GetContainer(); p; p = p->GetContainer()) {
        if (p->GetType() == xtpPaneTypeAutoHidePanel)
            return L'A';
        if (p->GetType() == xtpPaneTypeMiniWnd)
            return L'F';
    }
    return pElement->GetType() == xtpPaneTypeMiniWnd ? L'F' : L'D';
}

// Type and place, then the ids of the panes held.
CString DonorKey(const CXTPDockingPaneElement* pElement)
{
    CString strKey;
    strKey.Format(L"%d%c", pElement->GetType(), PlaceOf(pElement));
    CXTPDockingPaneElementList lst;
    const_cast<CXTPDockingPaneElement*>(pElement)->FindPane(xtpPaneTypeDockingPane, &lst);
    for (CXTPDockingPaneElement* pPane : lst)
        strKey.AppendFormat(L",%u", static_cast<CXTPDockingPane*>(pPane)->GetID());
    return strKey;
}

CString KindOfKey(const CString& strKey)
{
    int nComma = strKey.Find(L',');
    return nComma < 0 ? strKey : strKey.Left(nComma);
}

BOOL IsWindowElement(const CXTPDockingPaneElement* pElement)
{
    return pElement->GetType() == xtpPaneTypeTabbedContainer || pElement->GetType() == xtpPaneTypeMiniWnd ||
           pElement->GetType() == xtpPaneTypeAutoHidePanel;
}
}

void CXTPDockingPaneLayout::GatherDonors(const CXTPDockingPaneElementList& lstElements,
                                         const CXTPDockingPaneElementList& lstSource)
{
    for (CXTPDockingPaneElement* pElement : lstSource) {
        if (IsWindowElement(pElement))
            m_lstWanted.push_back(DonorKey(pElement));
    }
    std::sort(m_lstWanted.begin(), m_lstWanted.end());
    for (CXTPDockingPaneElement* pElement : lstElements) {
        if (IsWindowElement(pElement)) {
            if (dynamic_cast<CWnd*>(pElement)->GetSafeHwnd())
                m_lstDonors.emplace_back(DonorKey(pElement), pElement);
        } else if (CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pElement)) {
            std::vector<CXTPDockingPaneSplitterWnd*> lstBars = pSplitter->DetachSplitters();
            m_lstDonorSplitters.insert(m_lstDonorSplitters.end(), lstBars.begin(), lstBars.end());
        }
    }
}

CXTPDockingPaneElement* CXTPDockingPaneLayout::TakeDonor(const CXTPDockingPaneElement* pSource)
{
    if (m_lstDonors.empty())
        return nullptr;
    CString strKey = DonorKey(pSource);
    CString strKind = KindOfKey(strKey);
    // An empty container makes no window.
    if (pSource->GetType() == xtpPaneTypeTabbedContainer && strKind == strKey)
        return nullptr;
    auto it = std::find_if(m_lstDonors.begin(), m_lstDonors.end(),
                           [&strKey](const std::pair<CString, CXTPDockingPaneElement*>& donor) { return donor.first == strKey; });
    if (it == m_lstDonors.end()) {
        // Another of its kind, unless a later copy holds just its panes.
        it = std::find_if(m_lstDonors.begin(), m_lstDonors.end(),
                          [this, &strKind](const std::pair<CString, CXTPDockingPaneElement*>& donor) {
                              return KindOfKey(donor.first) == strKind &&
                                     !std::binary_search(m_lstWanted.begin(), m_lstWanted.end(), donor.first);
                          });
    }
    if (it == m_lstDonors.end())
        return nullptr;
    CXTPDockingPaneElement* pDonor = it->second;
    m_lstDonors.erase(it);
    return pDonor;
}

CXTPDockingPaneSplitterWnd* CXTPDockingPaneLayout::TakeSplitterWnd(CWnd* pSite)
{
    if (m_lstDonorSplitters.empty())
        return nullptr;
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    auto it = std::find_if(m_lstDonorSplitters.begin(), m_lstDonorSplitters.end(),
                           [hWndSite](CXTPDockingPaneSplitterWnd* pBar) {
                               return pBar->GetSafeHwnd() && ::GetParent(pBar->GetSafeHwnd()) == hWndSite;
                           });
    if (it == m_lstDonorSplitters.end())
        it = m_lstDonorSplitters.begin();
    CXTPDockingPaneSplitterWnd* pBar = *it;
    m_lstDonorSplitters.erase(it);
    return pBar;
}

void CXTPDockingPaneLayout::Copy(const CXTPDockingPaneLayout* pLayout)
{
    // The manager's own layout keeps the windows of what it replaces for the copies that take their place:
    // making and destroying windows is most of what applying a layout costs. The replaced elements go after.
    CXTPDockingPaneElementList lstReplaced;
    lstReplaced.swap(m_lstElements);
    Reset();
    if (!m_bUserLayout)
        GatherDonors(lstReplaced, pLayout->m_lstElements);
    else
        DeleteElements(lstReplaced);
    CXTPPaneToPaneMap map;
    CXTPDockingPaneElementList lstSource = pLayout->m_lstElements;
    for (CXTPDockingPaneElement* pElement : lstSource) {
        if (!pElement->GetContainer() && !map.count(pElement))
            pElement->Clone(this, &map);
    }
    auto mapped = [&map](CXTPDockingPaneElement* pElement) -> CXTPDockingPaneElement* {
        auto it = map.find(pElement);
        return it == map.end() ? nullptr : it->second;
    };
    m_pClient = mapped(pLayout->m_pClient);
    m_pTopContainer = static_cast<CXTPDockingPaneSplitterContainer*>(mapped(pLayout->m_pTopContainer));
    for (int i = 0; i < 4; i++)
        m_wndPanels[i] = static_cast<CXTPDockingPaneAutoHidePanel*>(mapped(pLayout->m_wndPanels[i]));
    for (const XTP_DOCKINGPANE_INFO& info : pLayout->m_lstPanes) {
        XTP_DOCKINGPANE_INFO copy;
        copy.pPane = static_cast<CXTPDockingPane*>(mapped(info.pPane));
        copy.pFloatingHolder = static_cast<CXTPDockingPaneTabbedContainer*>(mapped(info.pFloatingHolder));
        copy.pDockingHolder = static_cast<CXTPDockingPaneTabbedContainer*>(mapped(info.pDockingHolder));
        copy.pLastHolder = static_cast<CXTPDockingPaneTabbedContainer*>(mapped(info.pLastHolder));
        if (copy.pPane)
            m_lstPanes.push_back(copy);
    }
    m_lstDonors.clear();
    m_lstWanted.clear();
    for (CXTPDockingPaneSplitterWnd* pBar : m_lstDonorSplitters)
        delete pBar;
    m_lstDonorSplitters.clear();
    if (!m_bUserLayout)
        DeleteElements(lstReplaced);
}

int CXTPDockingPaneLayout::GetPaneDirection(const CXTPDockingPaneElement* pElement) const
{
    const CXTPDockingPaneElement* pBranch = pElement;
    for (CXTPDockingPaneElement* pParent = pElement->GetContainer(); pParent; pParent = pParent->GetContainer()) {
        if (const CXTPDockingPaneAutoHidePanel* pPanel = dynamic_cast<const CXTPDockingPaneAutoHidePanel*>(pParent))
            return pPanel->GetDirection();
        CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pParent);
        if (pSplitter && m_pClient && pSplitter->ContainsPane(m_pClient)) {
            CXTPDockingPaneElement* pClientBranch = m_pClient;
            while (pClientBranch->GetContainer() != pSplitter)
                pClientBranch = pClientBranch->GetContainer();
            BOOL bBefore = pSplitter->IsChildBefore(const_cast<CXTPDockingPaneElement*>(pBranch), pClientBranch);
            if (pSplitter->IsHoriz())
                return bBefore ? xtpPaneDockLeft : xtpPaneDockRight;
            return bBefore ? xtpPaneDockTop : xtpPaneDockBottom;
        }
        pBranch = pParent;
    }
    return xtpPaneDockLeft;
}

void CXTPDockingPaneLayout::HideElement(CXTPDockingPaneElement* pElement)
{
    int nSide = GetPaneDirection(pElement);
    if (!m_wndPanels[nSide]) {
        m_wndPanels[nSide] = static_cast<CXTPDockingPaneAutoHidePanel*>(m_pManager->CreateElement(xtpPaneTypeAutoHidePanel, this));
        m_wndPanels[nSide]->SetDirection(nSide);
    }
    CXTPDockingPaneElement* pAdd = pElement;
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement)) {
        if (pPane->GetContainer())
            pPane->GetContainer()->RemovePane(pPane);
        CXTPDockingPaneTabbedContainer* pContainer = static_cast<CXTPDockingPaneTabbedContainer*>(
            m_pManager->CreateElement(xtpPaneTypeTabbedContainer, this));
        pContainer->Init(pPane, m_pManager->GetSite());
        pAdd = pContainer;
    } else if (pElement->GetType() == xtpPaneTypeTabbedContainer) {
        pAdd = pElement->Clone(this, nullptr);
    }
    m_wndPanels[nSide]->AddContainer(pAdd);
}

void CXTPDockingPaneLayout::RemoveElement(CXTPDockingPaneElement* pElement)
{
    auto it = std::find(m_lstElements.begin(), m_lstElements.end(), pElement);
    if (it != m_lstElements.end())
        m_lstElements.erase(it);
}

void CXTPDockingPaneLayout::DestroyPane(CXTPDockingPane* pPane)
{
    if (pPane->GetContainer())
        pPane->GetContainer()->RemovePane(pPane);
    m_lstPanes.erase(std::remove_if(m_lstPanes.begin(), m_lstPanes.end(),
                                    [pPane](const XTP_DOCKINGPANE_INFO& info) { return info.pPane == pPane; }),
                     m_lstPanes.end());
    RemoveElement(pPane);
    pPane->InternalRelease();
    Purge();
}

void CXTPDockingPaneLayout::Purge()
{
    std::set<CXTPDockingPaneElement*> inUse;
    for (const XTP_DOCKINGPANE_INFO& info : m_lstPanes) {
        inUse.insert(info.pFloatingHolder);
        inUse.insert(info.pDockingHolder);
        inUse.insert(info.pPane->GetContainer());
    }
    BOOL bChanged = TRUE;
    while (bChanged) {
        bChanged = FALSE;
        for (CXTPDockingPaneElement* pElement : m_lstElements) {
            CXTPDockingPaneElement* pParent = pElement->GetContainer();
            BOOL bRemove = FALSE;
            if (pElement->GetType() == xtpPaneTypeTabbedContainer) {
                bRemove = !inUse.count(pElement);
            } else if (CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pElement)) {
                if (pSplitter == m_pTopContainer)
                    continue;
                bRemove = pSplitter->GetChildren().empty();
                CXTPDockingPaneSplitterContainer* pParentSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pParent);
                if (!bRemove && pSplitter->GetChildren().size() == 1 && pParentSplitter &&
                    pParentSplitter->GetChildren().size() == 1) {
                    // A chain of single children: the child takes the splitter's place.
                    CXTPDockingPaneElement* pChild = pSplitter->GetChildren().front();
                    pSplitter->m_lstChildren.clear();
                    pParentSplitter->ReplaceChild(pSplitter, pChild);
                    pParent = nullptr;
                    bRemove = TRUE;
                }
            } else if (CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement)) {
                bRemove = pFrame->GetTopContainer() == nullptr;
            }
            if (!bRemove)
                continue;
            if (pParent)
                pParent->RemovePane(pElement);
            RemoveElement(pElement);
            DeleteElement(pElement);
            bChanged = TRUE;
            break;
        }
    }
}

void CXTPDockingPaneLayout::OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam)
{
    // The panels cut their strips from the parameters' rectangle; the rest is the docked tree's.
    AFX_SIZEPARENTPARAMS paramsMeasure = {};
    AFX_SIZEPARENTPARAMS* pParams = lParam ? static_cast<AFX_SIZEPARENTPARAMS*>(lParam) : &paramsMeasure;
    pParams->rect = rect;
    for (CXTPDockingPaneAutoHidePanel* pPanel : m_wndPanels) {
        if (pPanel)
            pPanel->OnSizeParent(pParent, pParams->rect, pParams);
    }
    rect = pParams->rect;
    m_pClient->OnSizeParent(pParent, rect, lParam);
    m_pTopContainer->OnSizeParent(pParent, rect, lParam);
}
