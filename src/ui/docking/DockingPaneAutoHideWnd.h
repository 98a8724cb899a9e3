// The window an auto-hidden pane's container slides out in, over the frame's docking area from its edge strip:
// out in steps, held while the cursor or the focus is in it, back in after six quiet ticks, resizable by the
// 4-pixel strip on the side away from the panel.
#pragma once

#include "ui/docking/XTPDockingPaneAnimation.h"

#include "platform/mfc/afxminiframe.h"

class CXTPDockingPaneAutoHidePanel;
class CXTPDockingPaneManager;
class CXTPDockingPaneTabbedContainer;

class CXTPDockingPaneAutoHideWnd : public CMiniFrameWnd, private CXTPDockingPaneSlider::CHost
{
public:
    enum { splitterStrip = 4 };

    CXTPDockingPaneAutoHideWnd(CXTPDockingPaneAutoHidePanel* pPanel, CXTPDockingPaneTabbedContainer* pContainer);

    // Creates the window over the frame and starts sliding it out; FALSE when it cannot be created (the object
    // is then to be deleted by the caller).
    BOOL Open();
    // Hides the window, gives the container back to the frame and lets the window go.
    void CloseWindow() override;
    // The container goes back at once; the window closes a little later.
    void CloseDelayed();

    CXTPDockingPaneTabbedContainer* GetContainer() const { return m_pContainer; }
    int GetDirection() const { return m_nDirection; }
    // The window's rectangle when fully out (frame client coordinates).
    CRect GetFullRect() const { return m_rcFull; }
    CXTPDockingPaneSlider& GetSlider() { return m_slider; }

    // The container's rectangle inside a client area of a size, given the full rectangle: the content moves with
    // the sliding edge and leaves the splitter strip free.
    static CRect CalcContainerRect(CSize szClient, CSize szFull, int nDirection);
    // Where a resize drag may take the splitter (screen): the top container's rectangle less the room kept on
    // both sides, the far edge within the maximum extent; empty when there is no room.
    static CRect CalcResizeLimits(const CRect& rcTopContainer, int nDirection, int nMinExtent, int nMaxExtent,
                                  int nMargin);

    void RecalcLayout(BOOL bNotify = TRUE) override;

protected:
    void PostNcDestroy() override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    // Slider host
    void StartTimer(UINT nID, UINT nElapse) override;
    void StopTimer(UINT nID) override;
    BOOL IsFocusInside() override;
    BOOL IsCursorInside() override;
    void PlaceForStep(int nStep, int nSteps) override;
    BOOL Notify(int nAction) override;
    BOOL IsTracking() override { return m_bTracking; }

    CXTPDockingPaneManager* GetManager() const;
    // The direction as seen on the screen (left and right swapped in a right-to-left frame).
    int GetScreenDirection() const;
    void GetLimits(int* pnMin, int* pnMax) const;
    void TrackResize(CPoint ptScreen);
    void StopAnimation();
    // The container back to the frame, hidden.
    void ReturnContainer();
    void DetachPanel();
    void ApplySplitter(const CRect& rcSplitter);

    CXTPDockingPaneAutoHidePanel* m_pPanel;
    CXTPDockingPaneTabbedContainer* m_pContainer;
    int m_nDirection;
    BOOL m_bRightToLeft = FALSE;
    CRect m_rcFull;
    BOOL m_bTracking = FALSE;
    CXTPDockingPaneSlider m_slider{this};
};
