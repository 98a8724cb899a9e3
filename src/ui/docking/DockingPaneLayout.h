// One arrangement of docking panes: the element tree (top container, client placeholder, floating frames,
// auto-hide panels), the list of every element and the list of pane records. The manager owns the current
// one; callers build others to copy, save and load arrangements. The saved form is a property exchange:
// "Summary" and one "Pane-%d" section per element.
#pragma once

#include "ui/docking/DockingPaneBase.h"

class CXTPDockingPaneSplitterContainer;
class CXTPDockingPaneSplitterWnd;
class CXTPDockingPaneTabbedContainer;
class CXTPDockingPaneAutoHidePanel;
class CXTPPropExchangeXMLNode;

// Where a pane was: the container that held it in a floating frame, docked in the frame, and last of all.
struct XTP_DOCKINGPANE_INFO
{
    CXTPDockingPane* pPane = nullptr;
    CXTPDockingPaneTabbedContainer* pFloatingHolder = nullptr;
    CXTPDockingPaneTabbedContainer* pDockingHolder = nullptr;
    CXTPDockingPaneTabbedContainer* pLastHolder = nullptr;
};
typedef std::vector<XTP_DOCKINGPANE_INFO> CXTPDockingPaneInfoList;

class CXTPDockingPaneLayout : public CCmdTarget
{
public:
    explicit CXTPDockingPaneLayout(CXTPDockingPaneManager* pManager);
    ~CXTPDockingPaneLayout() override;

    BOOL IsValid() const;
    BOOL IsUserLayout() const { return m_bUserLayout; }
    void SetUserLayout(BOOL bUserLayout) { m_bUserLayout = bUserLayout; }
    void Copy(const CXTPDockingPaneLayout* pLayout);
    void Free();

    // Saved form
    BOOL DoPropExchange(CXTPPropExchange* pPX);
    // Under the profile key "DockingPaneLayouts", entry lpszSection.
    BOOL Load(LPCTSTR lpszSection);
    void Save(LPCTSTR lpszSection);
    BOOL LoadFromFile(LPCTSTR lpszFileName, LPCTSTR lpszSection);
    BOOL SaveToFile(LPCTSTR lpszFileName, LPCTSTR lpszSection);
    // Writes the layout into a section of a caller's XML document, which is made storing; nothing for null.
    void SaveToNode(CXTPPropExchangeXMLNode* pNode);
    // The same form in an archive, in call order. A layout the reader refuses raises a CArchiveException, as a
    // stream that ends early does; the caller then discards this layout.
    void Serialize(CArchive& ar) override;

    int GetPaneDirection(const CXTPDockingPaneElement* pElement) const;
    void HideElement(CXTPDockingPaneElement* pElement);
    void DestroyPane(CXTPDockingPane* pPane);
    void Purge();
    void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam);

    CXTPDockingPaneSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    void SetTopContainer(CXTPDockingPaneSplitterContainer* pTopContainer) { m_pTopContainer = pTopContainer; }
    CXTPDockingPaneElement* GetClient() const { return m_pClient; }
    CXTPDockingPaneInfoList& GetPaneList() { return m_lstPanes; }
    const CXTPDockingPaneInfoList& GetPaneList() const { return m_lstPanes; }
    CXTPDockingPaneElementList& GetElementList() { return m_lstElements; }
    const CXTPDockingPaneElementList& GetElementList() const { return m_lstElements; }
    XTP_DOCKINGPANE_INFO* FindPaneInfo(const CXTPDockingPane* pPane);
    CXTPDockingPaneAutoHidePanel* GetAutoHidePanel(int nDirection) const
    {
        return nDirection >= 0 && nDirection < 4 ? m_wndPanels[nDirection] : nullptr;
    }
    void SetAutoHidePanel(int nDirection, CXTPDockingPaneAutoHidePanel* pPanel) { m_wndPanels[nDirection] = pPanel; }
    CXTPDockingPaneManager* GetManager() const { return m_pManager; }

    // While Copy replaces the manager's own layout: the replaced element whose window the copy of pSource takes
    // (the same type at the same kind of place, holding the same panes when one does), taken from the donors;
    // null otherwise. And a splitter bar of the replaced layout, one on pSite first; null when none is left.
    CXTPDockingPaneElement* TakeDonor(const CXTPDockingPaneElement* pSource);
    CXTPDockingPaneSplitterWnd* TakeSplitterWnd(CWnd* pSite);

    // The number-to-element table of a read, carried by the exchange (m_dwData) into every section.
    typedef std::vector<CXTPDockingPaneElement*> CReadMap;
    static CXTPDockingPaneElement* ResolveElement(CXTPPropExchange* pPX, int nNumber);

private:
    BOOL ReadLayout(CXTPPropExchange* pPX);
    BOOL ReadElements(CXTPPropExchange* pPX, CReadMap& map);
    void WriteLayout(CXTPPropExchange* pPX);
    BOOL IsTreeSound() const;
    void RemoveElement(CXTPDockingPaneElement* pElement);
    void DeleteElement(CXTPDockingPaneElement* pElement);
    void DeleteElements(const CXTPDockingPaneElementList& lstElements);
    void Reset();
    void GatherDonors(const CXTPDockingPaneElementList& lstElements, const CXTPDockingPaneElementList& lstSource);

    CXTPDockingPaneSplitterContainer* m_pTopContainer = nullptr;
    CXTPDockingPaneElement* m_pClient = nullptr;
    CXTPDockingPaneInfoList m_lstPanes;
    CXTPDockingPaneElementList m_lstElements;
    CXTPDockingPaneAutoHidePanel* m_wndPanels[4] = {};
    BOOL m_bUserLayout = TRUE;
    CXTPDockingPaneManager* m_pManager;
    std::vector<std::pair<CString, CXTPDockingPaneElement*>> m_lstDonors;   // by type, place and panes
    std::vector<CString> m_lstWanted;   // what the copies will look for: such donors wait for them
    std::vector<CXTPDockingPaneSplitterWnd*> m_lstDonorSplitters;

    friend class CXTPDockingPaneElement;
};
