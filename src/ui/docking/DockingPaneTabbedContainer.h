// The window that shows one or more panes: a caption with its buttons, the selected pane's window and, with
// several panes, a strip of tabs drawn by the docking theme's tab painter. Every shown pane lives in one.
#pragma once

#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneDropTarget.h"
#include "ui/docking/TabManager.h"
#include "ui/themes/TipContext.h"


class CXTPDockingPaneTabbedContainer : public CWnd,
                                       public CXTPDockingPaneElement,
                                       public CXTPTabManager,
                                       public CPaneCaptionButtonOwner,
                                       private CXTPDockingPaneDropTarget::COwner
{
public:
    explicit CXTPDockingPaneTabbedContainer(CXTPDockingPaneLayout* pLayout);
    ~CXTPDockingPaneTabbedContainer() override;

    void Init(CXTPDockingPane* pPane, CWnd* pSite);
    void AddPane(CXTPDockingPane* pPane, int nIndex = -1);
    void SelectPane(CXTPDockingPane* pPane, BOOL bSetFocus = TRUE, BOOL bDelayLayout = TRUE);
    CXTPDockingPane* GetSelected() const { return m_pSelectedPane; }
    const std::vector<CXTPDockingPane*>& GetPanes() const { return m_lstPanes; }
    int GetPaneCount() const { return static_cast<int>(m_lstPanes.size()); }
    void UpdateTabs();

    CString GetTitle() const;
    void ShowTitle(BOOL bShow);
    BOOL IsTitleVisible() const;
    BOOL IsTabsVisible() const;
    BOOL IsCaptionVertical() const;
    BOOL IsMaximized() const { return m_bMaximized; }
    BOOL IsAllowMaximize() const;
    void Maximize();
    void Restore();
    // Stores the laid-out width (left/right) or height (top/bottom) as each pane's docking size.
    void SaveDockingSize();
    void SetFocusToPane();
    void ShowInContainer();
    // TRUE when the screen point lies on the caption strip or the tab strip of rect (screen).
    BOOL HitTestCaptionOrTabs(CRect rect, CPoint point) const;
    // -2 caption, a tab index, or -1 (client coordinates).
    int HitTest(CPoint point) const;
    // The part of rc (client coordinates) that is left for the pane windows.
    CRect GetPaneClientRect(CRect rc);
    void OnCaptionButtonClick(CPaneCaptionButton* pButton);

    // Element
    BOOL ContainsPane(CXTPDockingPaneElement* pElement) const override;
    void FindPane(int nType, CXTPDockingPaneElementList* pList) override;
    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam) override;
    void OnIdleUpdate() override;
    void SetDockingSite(CWnd* pSite) override;
    void OnChildChanged(BOOL bRelayout) override;
    void OnParentContainerChanged(CXTPDockingPaneElement* pContainer) override;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CXTPDockingPaneElement* pElement) override;
    BOOL IsEmpty() const override { return m_lstPanes.empty(); }
    BOOL IsCaptionButtonVisible(CPaneCaptionButton* pButton) override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    BOOL IsHidden() const override;

    // Tab manager
    void Reposition() override;
    CXTPTabPainter* GetPaintManager() const override;
    void RedrawControl() override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override;

    // Caption buttons
    void OnCaptionButtonRectChanged(CPaneCaptionButton* pButton) override;
    void RedrawCaptionButton(CPaneCaptionButton* pButton) override;
    HWND GetCaptionButtonWindow() override { return m_hWnd; }

    // Over a visible caption button its string; over a tab the pane's title, as the tab painter's tip mode allows.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    CTipContext* GetToolTipContext() { return &m_tipContext; }
    // Registered with the window: data dragged over a tab selects its pane (as the tab painter's option says).
    COleDropTarget* GetDropTarget() { return m_pDropTarget.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnMouseLeave();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void CreateContainerWindow();
    void LayoutPanes(BOOL bShow);
    void EndTabDrag();
    // Pressed or released at once on the screen.
    void ShowCaptionButtonPressed(CPaneCaptionButton* pButton, BOOL bPressed);
    CXTPDockingPane* PaneOfItem(CXTPTabManagerItem* pItem) const;
    void OnDragOverTab(CPoint point) override;

    BOOL m_bMaximized = FALSE;
    BOOL m_bShowCaption = TRUE;
    int m_nLockReposition = 0;
    CXTPDockingPane* m_pSelectedPane = nullptr;
    CXTPDockingPane* m_pTrackingPane = nullptr;
    std::vector<CRect> m_rcTabs;
    std::vector<CXTPDockingPane*> m_lstPanes;
    CTipContext m_tipContext{this};
    std::unique_ptr<CXTPDockingPaneDropTarget> m_pDropTarget{new CXTPDockingPaneDropTarget(this)};
};
