// The small top-level frame of floated panes: a mini frame that is also a docking element holding one splitter
// container (its top container) of tabbed containers.
#pragma once

#include "platform/mfc/afxminiframe.h"
#include "ui/docking/DockingPaneBase.h"

class CXTPDockingPaneSplitterContainer;

class CXTPDockingPaneMiniWnd : public CMiniFrameWnd, public CXTPDockingPaneElement
{
public:
    explicit CXTPDockingPaneMiniWnd(CXTPDockingPaneLayout* pLayout);
    ~CXTPDockingPaneMiniWnd() override;

    // Puts pElement (a tabbed or splitter container) into a new top container and shows the frame at rc.
    void Init(CXTPDockingPaneElement* pElement, CRect rc);
    CXTPDockingPaneSplitterContainer* GetTopContainer() const { return m_pTopContainer; }
    // The window's place; without a window, the one it will get.
    CRect GetFrameRect() const;
    void MoveFrame(const CRect& rc);
    void RecalcLayout(BOOL bNotify = TRUE) override;

    // Element
    BOOL ContainsPane(CXTPDockingPaneElement* pElement) const override;
    void FindPane(int nType, CXTPDockingPaneElementList* pList) override;
    void RemovePane(CXTPDockingPaneElement* pElement) override;
    void OnChildContainerChanged(CXTPDockingPaneElement* pContainer) override;
    BOOL IsEmpty() const override;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;
    HWND GetPaneHwnd() const override { return m_hWnd; }

    BOOL m_bCollapsed = FALSE;
    int m_nExpandedHeight = 0;

protected:
    void PostNcDestroy() override {}
    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void SetTopContainer(CXTPDockingPaneSplitterContainer* pContainer);
    void CreateFrameWindow();
    void UpdateTitle();

    CXTPDockingPaneSplitterContainer* m_pTopContainer = nullptr;
    CRect m_rcFrame;
};
