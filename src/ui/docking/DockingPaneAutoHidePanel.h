// The strip at one side of the frame that holds auto-hidden tabbed containers: a child window of the frame
// showing one row of tabs per container, from which a pane slides out when its tab is hovered or clicked.
#pragma once

#include "ui/docking/DockingPaneBase.h"
#include "ui/docking/DockingPaneDropTarget.h"
#include "ui/docking/TabManager.h"

#include <memory>

class CXTPDockingPane;
class CXTPDockingPaneAutoHideWnd;
class CXTPDockingPaneTabbedContainer;

class CXTPDockingPaneAutoHidePanel : public CWnd,
                                     public CXTPDockingPaneElement,
                                     private CXTPDockingPaneDropTarget::COwner
{
public:
    // The tabs of one hidden container, drawn by the theme's auto-hide tab painter; the panel lays them out.
    class CTabGroup : public CXTPTabManager
    {
    public:
        CTabGroup(CXTPDockingPaneAutoHidePanel* pPanel, CXTPDockingPaneTabbedContainer* pContainer);

        CXTPDockingPaneTabbedContainer* GetContainer() const { return m_pContainer; }
        CXTPDockingPane* PaneOfItem(const CXTPTabManagerItem* pItem) const;

        void Reposition() override {}
        CXTPTabPainter* GetPaintManager() const override;
        void RedrawControl() override;
        BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override;
        int GetPosition() const override { return m_pPanel->GetTabPosition(); }

    private:
        CXTPDockingPaneAutoHidePanel* m_pPanel;
        CXTPDockingPaneTabbedContainer* m_pContainer;
    };

    explicit CXTPDockingPaneAutoHidePanel(CXTPDockingPaneLayout* pLayout);
    ~CXTPDockingPaneAutoHidePanel() override;

    void SetDirection(int nDirection) { m_nDirection = nDirection; }
    int GetDirection() const { return m_nDirection; }
    void AddContainer(CXTPDockingPaneElement* pContainer);
    const CXTPDockingPaneElementList& GetContainers() const { return m_lstContainers; }

    BOOL Create(CWnd* pParent);
    // Slides the pane's container out with the pane selected, after the window already out went in; the frame may
    // veto (actions 10, 12). A pane already out only takes the focus when asked.
    void ShowPane(CXTPDockingPane* pPane, BOOL bSetFocus = TRUE);
    // Slides the shown container back; the frame may veto (action 10), and then nothing changes. Delayed, the
    // container goes back at once and the window closes a little later.
    void CloseActiveWindow(BOOL bDelayed = FALSE);
    CXTPDockingPaneAutoHideWnd* GetSlideOutWindow() const { return m_pActiveWnd; }
    // The slide-out window is going: it is no longer the shown one.
    void OnActiveWindowClosed(CXTPDockingPaneAutoHideWnd* pWnd);
    // The pane of the tab under a client point; null when none.
    CXTPDockingPane* HitTest(CPoint point) const;
    // The tab painter's position for the panel's side: tabs face the frame's inside.
    int GetTabPosition() const;
    const std::vector<std::unique_ptr<CTabGroup>>& GetTabGroups() const { return m_arrTabGroups; }
    // Registered with the window: data dragged over a tab slides its pane out (as the tab painter's option says).
    COleDropTarget* GetDropTarget() { return m_pDropTarget.get(); }

    // Element
    BOOL ContainsPane(CXTPDockingPaneElement* pElement) const override;
    void FindPane(int nType, CXTPDockingPaneElementList* pList) override;
    void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam) override;
    void OnChildContainerChanged(CXTPDockingPaneElement* pContainer) override;
    void OnChildChanged(BOOL bRelayout) override;
    void RemovePane(CXTPDockingPaneElement* pElement) override;
    BOOL IsEmpty() const override;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;
    HWND GetPaneHwnd() const override { return m_hWnd; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // One group per non-empty container, in list order, each filled with its container's panes.
    void UpdateTabGroups();
    // The groups side by side along the strip, 8 pixels apart.
    void LayoutTabGroups(CDC* pDC, const CRect& rcStrip);
    // The strip's thickness across the panel's side.
    int GetStripThickness();
    // The pane is the one shown by the slide-out window.
    BOOL IsPaneOut(const CXTPDockingPane* pPane) const;
    void OnDragOverTab(CPoint point) override;

    int m_nDirection = 0;
    CXTPDockingPaneElementList m_lstContainers;
    CXTPDockingPaneAutoHideWnd* m_pActiveWnd = nullptr;
    std::vector<std::unique_ptr<CTabGroup>> m_arrTabGroups;
    std::unique_ptr<CXTPDockingPaneDropTarget> m_pDropTarget{new CXTPDockingPaneDropTarget(this)};
};
