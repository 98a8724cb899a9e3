// The saved form of a layout: "Summary" ("Panes", "TopContainer", "Client") and one "Pane-%d" section per
// element with its "Type" and its own keys. The reader trusts nothing: every number must name an element of the
// right kind that has no parent yet, the tree must end up sound, or the read fails.
#include "ui/docking/DockingPaneLayout.h"

#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/persist/PropExchangeXml.h"

#include <memory>
#include <set>
#include <vector>

namespace
{
// More elements than any real layout holds: a larger count is damage, not a layout.
const int nMaxElements = 10000;

CString PaneSection(int nNumber)
{
    CString strSection;
    strSection.Format(L"Pane-%d", nNumber);
    return strSection;
}
}

CXTPDockingPaneElement* CXTPDockingPaneLayout::ResolveElement(CXTPPropExchange* pPX, int nNumber)
{
    const CReadMap* pMap = reinterpret_cast<const CReadMap*>(pPX->m_dwData);
    if (!pMap || nNumber < 1 || nNumber >= static_cast<int>(pMap->size()))
        return nullptr;
    return (*pMap)[nNumber];
}

BOOL CXTPDockingPaneLayout::DoPropExchange(CXTPPropExchange* pPX)
{
    if (pPX->IsLoading())
        return ReadLayout(pPX);
    WriteLayout(pPX);
    return TRUE;
}

void CXTPDockingPaneLayout::WriteLayout(CXTPPropExchange* pPX)
{
    pPX->EmptySection();
    Purge();
    int nCount = static_cast<int>(m_lstElements.size());
    {
        CXTPPropExchangeSection secSummary(pPX, L"Summary");
        ExchangeInt(secSummary.Get(), L"Panes", nCount, 0);
    }
    int nNumber = 0;
    for (CXTPDockingPaneElement* pElement : m_lstElements) {
        pElement->m_nLayoutId = ++nNumber;
        CXTPPropExchangeSection sec(pPX, PaneSection(nNumber));
        // The default is no type at all, so that type 0 is written too.
        int nType = pElement->GetType();
        ExchangeInt(sec.Get(), L"Type", nType, -1);
    }
    for (CXTPDockingPaneElement* pElement : m_lstElements) {
        CXTPPropExchangeSection sec(pPX, PaneSection(pElement->m_nLayoutId));
        pElement->DoPropExchange(sec.Get());
    }
    CXTPPropExchangeSection secSummary(pPX, L"Summary");
    int nTop = m_pTopContainer->m_nLayoutId;
    int nClient = m_pClient->m_nLayoutId;
    ExchangeInt(secSummary.Get(), L"TopContainer", nTop, 0);
    ExchangeInt(secSummary.Get(), L"Client", nClient, 0);
}

BOOL CXTPDockingPaneLayout::ReadLayout(CXTPPropExchange* pPX)
{
    Free();
    // Each section is opened once and kept for both passes: the registry store opens a key and reads all its
    // values when a section is first asked for one, every call a round trip to the registry server.
    CXTPPropExchangeSection secSummary(pPX, L"Summary");
    int nCount = 0;
    ExchangeInt(secSummary.Get(), L"Panes", nCount, 0);
    if (nCount < 2 || nCount > nMaxElements)
        return FALSE;

    // The table goes into the exchange before the sections are made, as each section takes it from its parent.
    CReadMap map(nCount + 1, nullptr);
    DWORD_PTR dwSavedData = pPX->m_dwData;
    pPX->m_dwData = reinterpret_cast<DWORD_PTR>(&map);
    BOOL bResult = ReadElements(pPX, map);
    pPX->m_dwData = dwSavedData;
    if (!bResult)
        return FALSE;

    int nTop = 0, nClient = 0;
    ExchangeInt(secSummary.Get(), L"TopContainer", nTop, 0);
    ExchangeInt(secSummary.Get(), L"Client", nClient, 0);
    CXTPDockingPaneElement* pTop = nTop >= 1 && nTop <= nCount ? map[nTop] : nullptr;
    CXTPDockingPaneElement* pClient = nClient >= 1 && nClient <= nCount ? map[nClient] : nullptr;
    m_pTopContainer = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pTop);
    m_pClient = pClient && pClient->GetType() == xtpPaneTypeClient ? pClient : nullptr;
    return m_pTopContainer && m_pClient && IsTreeSound();
}

// Makes every element from its "Type" first, so that the keys of any section can name any element, then reads them.
BOOL CXTPDockingPaneLayout::ReadElements(CXTPPropExchange* pPX, CReadMap& map)
{
    std::vector<std::unique_ptr<CXTPPropExchangeSection>> sections(map.size());
    for (size_t i = 1; i < map.size(); i++) {
        sections[i] = std::make_unique<CXTPPropExchangeSection>(pPX, PaneSection(static_cast<int>(i)));
        int nType = -1;
        ExchangeInt(sections[i]->Get(), L"Type", nType, -1);
        CXTPDockingPaneElement* pElement = m_pManager->CreateElement(nType, this);
        if (!pElement)
            return FALSE;
        pElement->m_nLayoutId = static_cast<int>(i);
        map[i] = pElement;
    }
    for (size_t i = 1; i < map.size(); i++) {
        if (!map[i]->DoPropExchange(sections[i]->Get()))
            return FALSE;
    }
    return TRUE;
}

// The top container is a root that holds the client placeholder; no pane's holder lies outside the tabbed
// containers; every floating frame and panel holds what it should (their reads checked the kinds). A last holder
// is the docking or the floating one: Purge keeps only those, and a pane pointing at any other would point at a
// deleted container after the first purge. Panes are found by id, so two with one id leave one out of reach.
// A pane and its holders hang from the top container, a floating frame or a panel: one held by nothing else is
// never laid out, and the pane could never be seen again.
BOOL CXTPDockingPaneLayout::IsTreeSound() const
{
    if (m_pTopContainer->GetContainer() || !m_pTopContainer->ContainsPane(m_pClient))
        return FALSE;
    // Bounded by the number of elements: parents read from damaged data may run in a circle.
    auto isShown = [this](const CXTPDockingPaneElement* pElement) {
        for (size_t nSteps = 0; pElement->GetContainer() && nSteps <= m_lstElements.size(); ++nSteps)
            pElement = pElement->GetContainer();
        return pElement == m_pTopContainer || pElement->GetType() == xtpPaneTypeMiniWnd ||
               pElement->GetType() == xtpPaneTypeAutoHidePanel;
    };
    std::set<UINT> ids;
    for (const XTP_DOCKINGPANE_INFO& info : m_lstPanes) {
        if (info.pPane->GetContainer() && !isShown(info.pPane))
            return FALSE;
        for (CXTPDockingPaneTabbedContainer* pHolder : {info.pDockingHolder, info.pFloatingHolder, info.pLastHolder}) {
            if (pHolder && (pHolder->IsHidden() || !isShown(pHolder)))
                return FALSE;
        }
        if (info.pLastHolder && info.pLastHolder != info.pDockingHolder && info.pLastHolder != info.pFloatingHolder)
            return FALSE;
        if (!ids.insert(info.pPane->GetID()).second)
            return FALSE;
    }
    return TRUE;
}

BOOL CXTPDockingPaneLayout::Load(LPCTSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    HKEY hKey = pApp ? pApp->GetSectionKey(L"DockingPaneLayouts", KEY_READ) : nullptr;
    if (!hKey)
        return FALSE;
    BOOL bResult;
    {
        CXTPPropExchangeRegistry px(TRUE, hKey, lpszSection);
        bResult = DoPropExchange(&px);
    }
    ::RegCloseKey(hKey);
    return bResult;
}

void CXTPDockingPaneLayout::Save(LPCTSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    HKEY hKey = pApp ? pApp->GetSectionKey(L"DockingPaneLayouts") : nullptr;
    if (!hKey)
        return;
    {
        CXTPPropExchangeRegistry px(FALSE, hKey, lpszSection);
        DoPropExchange(&px);
    }
    ::RegCloseKey(hKey);
}

BOOL CXTPDockingPaneLayout::LoadFromFile(LPCTSTR lpszFileName, LPCTSTR lpszSection)
{
    CXTPPropExchangeXMLNode px(TRUE, nullptr, L"DockingPaneLayouts");
    if (!px.LoadFromFile(lpszFileName))
        return FALSE;
    CXTPPropExchangeSection sec(&px, lpszSection);
    if (!sec.Get() || !sec->OnBeforeExchange())
        return FALSE;
    return DoPropExchange(sec.Get());
}

BOOL CXTPDockingPaneLayout::SaveToFile(LPCTSTR lpszFileName, LPCTSTR lpszSection)
{
    CXTPPropExchangeXMLNode px(FALSE, nullptr, L"DockingPaneLayouts");
    {
        CXTPPropExchangeSection sec(&px, lpszSection);
        if (!sec.Get())
            return FALSE;
        DoPropExchange(sec.Get());
    }
    return px.SaveToFile(lpszFileName);
}

void CXTPDockingPaneLayout::SaveToNode(CXTPPropExchangeXMLNode* pNode)
{
    if (!pNode)
        return;
    pNode->SetLoading(FALSE);
    DoPropExchange(pNode);
}

void CXTPDockingPaneLayout::Serialize(CArchive& ar)
{
    CXTPPropExchangeArchive px(ar);
    if (!DoPropExchange(&px))
        AfxThrowArchiveException(CArchiveException::genericException);
}
