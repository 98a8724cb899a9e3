// The strip at one side of the frame that holds auto-hidden tabbed containers.
#pragma once

#include "ui/docking/DockingPaneBase.h"

class CXTPDockingPaneTabbedContainer;

class CXTPDockingPaneAutoHidePanel : public CXTPDockingPaneElement
{
public:
    explicit CXTPDockingPaneAutoHidePanel(CXTPDockingPaneLayout* pLayout);

    void SetDirection(int nDirection) { m_nDirection = nDirection; }
    int GetDirection() const { return m_nDirection; }
    void AddContainer(CXTPDockingPaneElement* pContainer);
    const CXTPDockingPaneElementList& GetContainers() const { return m_lstContainers; }
    // Slides a container that is out back in.
    virtual void CloseActiveWindow() {}
    // Slides the container's selected pane out.
    virtual void ShowPane(CXTPDockingPaneTabbedContainer* /*pContainer*/) {}

    // Element
    BOOL ContainsPane(CXTPDockingPaneElement* pElement) const override;
    void FindPane(int nType, CXTPDockingPaneElementList* pList) override;
    void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam) override;
    void RemovePane(CXTPDockingPaneElement* pElement) override;
    BOOL IsEmpty() const override { return m_lstContainers.empty(); }
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;

private:
    int m_nDirection = 0;
    CXTPDockingPaneElementList m_lstContainers;
};
