// The small top-level frame of floated panes: a mini frame that is also a docking element holding one splitter
// container (its top container) of tabbed containers. With the manager's themed floating frames it draws its own
// border and caption with three buttons (close, pin, menu) through the docking theme, and the pin rolls it up to
// its caption.
#pragma once

#include "platform/mfc/afxminiframe.h"
#include "ui/docking/DockingPaneBase.h"
#include "ui/docking/XTPDockingPaneAnimation.h"
#include "ui/themes/TipContext.h"

class CXTPDockingPane;
class CXTPDockingPaneSplitterContainer;

class CXTPDockingPaneMiniWnd : public CMiniFrameWnd,
                               public CXTPDockingPaneElement,
                               public CPaneCaptionButtonOwner,
                               private CXTPDockingPaneRollUp::CHost
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
    // A pane's title or options changed: the caption and the close command follow.
    void OnChildChanged(BOOL bRelayout) override;
    BOOL IsEmpty() const override;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    BOOL IsCaptionButtonVisible(CPaneCaptionButton* pButton) override;

    // Drawn by the docking theme (the manager's themed floating frames).
    BOOL IsThemed() const;
    // The manager's setting changed: the frame takes or drops its own border and caption.
    void SetStyleAndPos();
    // Some pane of the frame may be closed.
    BOOL IsCloseEnabled() const { return m_bCloseEnabled; }
    BOOL IsActive() const { return m_bActive; }
    // The selected pane of the frame's single tabbed container; null with none or several.
    CXTPDockingPane* GetSelectedPane() const;
    // Rolls a themed frame up to its caption, or brings it back.
    void ToggleCollapse();
    BOOL IsCollapsed() const { return m_rollUp.IsCollapsed(); }
    CXTPDockingPaneRollUp& GetRollUp() { return m_rollUp; }
    void OnCaptionButtonClick(CPaneCaptionButton* pButton);
    // TRUE when the press was handled (the menu button).
    BOOL OnCaptionButtonDown(CPaneCaptionButton* pButton);

    // Caption buttons
    void OnCaptionButtonRectChanged(CPaneCaptionButton* /*pButton*/) override {}
    void RedrawCaptionButton(CPaneCaptionButton* pButton) override;
    HWND GetCaptionButtonWindow() override { return m_hWnd; }

    // A rectangle off every work area is moved onto the nearest one.
    static CRect PlaceOnWorkArea(const CRect& rc);

    // Themed: over a caption button (point in client coordinates), the button's id with its string as tip.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    void PostNcDestroy() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The window of the frame this one replaces, placed and styled as this frame's own.
    void TakeWindowOf(CXTPDockingPaneMiniWnd* pDonor);
    void SetTopContainer(CXTPDockingPaneSplitterContainer* pContainer);
    void CreateFrameWindow();
    // Captions, title, close state of the content, and a repaint of the frame.
    void UpdateTitle();
    // The caption button under a point in window coordinates.
    CPaneCaptionButton* HitTestCaptionButton(CPoint ptWindow) const;
    CPoint ScreenToWindow(CPoint ptScreen) const;

    // Roll-up host
    void StartTimer(UINT nID, UINT nElapse) override;
    void StopTimer(UINT nID) override;
    BOOL IsFocusInside() override;
    BOOL IsCursorInside() override;
    int GetCurrentHeight() override;
    void SetWindowHeight(int nHeight, BOOL bBringUp) override;
    BOOL IsCaptureHeld() override { return ::GetCapture() != nullptr; }
    int GetCaptionHeight() override;
    void RepaintFrame() override;

    CXTPDockingPaneSplitterContainer* m_pTopContainer = nullptr;
    CRect m_rcFrame;
    BOOL m_bCloseEnabled = TRUE;
    BOOL m_bActive = FALSE;
    CXTPDockingPaneRollUp m_rollUp{this};
    BOOL m_bInLayout = FALSE;
    CTipContext m_tipContext{this};
};
