// Owns every docking pane of one frame: a hidden child of the frame that keeps the current layout, the docking
// theme, the pane icons and the drag context; it places panes in the element tree, lays the tree out when the
// frame lays out its client area (WM_SIZEPARENT) and tells the frame about pane events (WM_DOCKINGPANE_NOTIFY).
#pragma once

#include "ui/docking/DockingPaneLayout.h"

class CXTPDockingPaneContext;
class CXTPDockingPaneTabbedContainer;
class CXTPImageManager;
class CXTPImageManagerIcon;

class CXTPDockingPaneManager : public CWnd
{
public:
    CXTPDockingPaneManager();
    ~CXTPDockingPaneManager() override;

    // Once: the manager window becomes a hidden child of the frame and the first layout is made.
    BOOL InstallDockingPanes(CWnd* pSite);
    CWnd* GetSite() const { return m_pSite; }

    virtual CXTPDockingPaneLayout* CreateLayout();
    // The element factory; null for a type outside 0-5.
    virtual CXTPDockingPaneElement* CreateElement(int nType, CXTPDockingPaneLayout* pLayout);
    virtual void SetActivePane(BOOL bActive, CXTPDockingPane* pPane);
    CXTPDockingPane* GetActivePane() const { return m_pActivePane; }

    // Placing
    CXTPDockingPane* CreatePane(UINT nID, CRect rc, int nDirection, CXTPDockingPaneElement* pNeighbour = nullptr);
    void DockElement(CXTPDockingPaneElement* pElement, int nDirection, CXTPDockingPaneElement* pNeighbour);
    void MoveElement(CXTPDockingPaneElement* pElement, int nDirection, CXTPDockingPaneElement* pNeighbour);
    void DockPane(CXTPDockingPaneElement* pElement, int nDirection, CXTPDockingPaneElement* pNeighbour)
    {
        MoveElement(pElement, nDirection, pNeighbour);
    }
    void AttachPane(CXTPDockingPaneElement* pElement, CXTPDockingPaneElement* pNeighbour);
    BOOL DockPane(CXTPDockingPane* pPane, CXTPDockingPaneTabbedContainer* pHolder);
    void FloatPane(CXTPDockingPaneElement* pElement, CRect rc);
    void CalcDockingRect(CRect& rc, CXTPDockingPaneElement* pElement, int nDirection,
                         CXTPDockingPaneElement* pNeighbour);

    // Showing and hiding
    void ShowPane(CXTPDockingPane* pPane);
    void ShowPane(UINT nID) { ShowPane(FindPane(nID)); }
    void ClosePane(CXTPDockingPane* pPane);
    void DestroyPane(CXTPDockingPane* pPane);
    void HidePane(CXTPDockingPaneElement* pElement);
    void ToggleAutoHide(CXTPDockingPaneElement* pElement);
    void ToggleDocking(CXTPDockingPaneElement* pElement);
    void CloseAll();
    void DetachAll();

    void UpdatePaneHolders();
    CXTPDockingPaneTabbedContainer* GetHolder(const CXTPDockingPane* pPane, BOOL bFloating) const;
    CXTPDockingPane* FindPane(UINT nID) const;

    // Icons
    BOOL SetIcons(UINT nIDBitmap, const int* pIDs, int nCount, COLORREF clrMask);
    void SetIcon(UINT nID, HICON hIcon);
    CXTPImageManagerIcon* GetIcon(UINT nID, int nWidth = 16) const;
    void ClearIconMap();
    CXTPImageManager* GetImageManager() const { return m_pImageManager; }
    void SetImageManager(CXTPImageManager* pImageManager);

    // Themes
    void SetTheme(int nTheme);
    void SetCustomTheme(CXTPDockingPanePaintManager* pTheme);
    int GetCurrentTheme() const;
    CXTPDockingPanePaintManager* GetPaintManager() const { return m_pPaintManager; }

    // Layouts
    void GetLayout(CXTPDockingPaneLayout* pLayout) const;
    void SetLayout(const CXTPDockingPaneLayout* pLayout);
    void ResetLayout();
    BOOL DoPropExchange(CXTPPropExchange* pPX);
    CXTPDockingPaneLayout* GetCurrentLayout() const { return m_pLayout; }
    CXTPDockingPaneInfoList* GetPaneList() const { return m_pLayout ? &m_pLayout->GetPaneList() : nullptr; }
    CXTPDockingPaneElementList* GetElementList() const { return m_pLayout ? &m_pLayout->GetElementList() : nullptr; }
    CXTPDockingPaneElement* GetClientPane() const { return m_pLayout ? m_pLayout->GetClient() : nullptr; }
    CXTPDockingPaneSplitterContainer* GetTopContainer() const { return m_pLayout ? m_pLayout->GetTopContainer() : nullptr; }
    int GetPaneDirection(const CXTPDockingPaneElement* pElement) const;
    void UpdateDockingSizes();

    // Static pane queries
    static BOOL IsPaneClosed(const CXTPDockingPane* pPane);
    static BOOL IsPaneHidden(const CXTPDockingPane* pPane);
    static BOOL IsPaneSelected(const CXTPDockingPane* pPane);

    // Notifications to the frame: the frame's answer, 0 without a frame.
    LRESULT NotifyFrame(WPARAM nCode, LPARAM lParam) const;
    // Action (code 4); TRUE when the frame cancels it.
    BOOL NotifyAction(int nAction, CXTPDockingPane* pPane, CXTPDockingPaneElement* pContainer = nullptr,
                      INT_PTR nExtra = 0) const;

    void RecalcFramesLayout();
    void RedrawPanes();
    BOOL IsLayoutRTL() const;
    int MirrorDirection(int nDirection) const;
    void HideClient(BOOL bHide);
    BOOL IsClientHidden() const { return m_bHideClient; }
    void SetLockSplitters(BOOL bLock);
    BOOL IsSplittersLocked() const { return m_bLockSplitters; }
    void SetFloatingFrameOption(BOOL bOption);
    CXTPDockingPaneContext* GetDockingContext() const { return m_pDockingContext; }
    BOOL IsLayoutCreated() const { return m_bLayoutCreated; }
    // A pane is being attached by DockPane: containers that change then close their slide-out windows later.
    BOOL IsAttachingPane() const { return m_bAttachingPane; }

    static void SetAnimationDelay(double dDelay = -1.0, int nDuration = 128, int nInterval = 16);
    static double GetAnimationDelay(int* pDuration = nullptr, int* pInterval = nullptr);

    int m_nSplitterGap = 22;            // a dragged bar leaves each neighbour at least this much
    BOOL m_bCloseGroupOnButtonClick = FALSE;
    BOOL m_bHideGroupOnButtonClick = TRUE;
    BOOL m_bShowMaximizeButton = FALSE;
    BOOL m_bUseSplitterTracker = TRUE;
    BOOL m_bShowContentsWhileDragging = FALSE;   // translucent drag
    BOOL m_bShowDockingContextStickers = FALSE;  // docking markers
    BOOL m_bThemedFloatingFrames = FALSE;
    BOOL m_bSyncActiveFloatingFrames = TRUE;
    DWORD m_dwDefaultPaneOptions = 0;
    int m_nCaptionOrientation = 0;
    int m_nStickerStyle = 0;
    CString m_strText;

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    DECLARE_MESSAGE_MAP()

private:
    // A splitter holding only one tabbed container stands for it; a pane stands for its container.
    CXTPDockingPaneElement* PrepareToMove(CXTPDockingPaneElement* pElement);
    CXTPDockingPaneElement* ElementToAttach(CXTPDockingPaneElement* pElement) const;
    void ToggleDockingPane(CXTPDockingPane* pPane, BOOL bFloating, CXTPDockingPaneTabbedContainer*& pPrevHolder,
                           BOOL& bPrevHadHolder);

    CWnd* m_pSite = nullptr;
    CXTPDockingPaneLayout* m_pLayout = nullptr;
    CXTPDockingPanePaintManager* m_pPaintManager;
    CXTPDockingPane* m_pActivePane = nullptr;
    CXTPImageManager* m_pImageManager;
    CXTPDockingPaneContext* m_pDockingContext;
    BOOL m_bHideClient = FALSE;
    BOOL m_bLockSplitters = FALSE;
    BOOL m_bAttachingPane = FALSE;
    BOOL m_bLayoutCreated = FALSE;
    int m_nCurrentTheme = 0;

    friend class CXTPDockingPaneContext;
};
