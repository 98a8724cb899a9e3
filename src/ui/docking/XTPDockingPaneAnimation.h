// The timed behaviour of floating frames rolling up to their caption and of auto-hidden panes sliding out of
// their edge strip, apart from the windows: each runs on timer ticks its window passes in and acts through a
// small host interface, so that tests tick it and read what it did. Also the geometry both need.
#pragma once

#include "platform/mfc/afxwin.h"

// Process-wide timing of both animations (the manager's animation setter): interval and duration in ms.
class CXTPDockingPaneAnimationTiming
{
public:
    // Values below 1 count as 1: a zero interval would divide by zero and make a timer that never waits.
    static void Set(int nDuration, int nInterval);
    static int GetInterval() { return s_nInterval; }
    static int GetDuration() { return s_nDuration; }
    // duration / interval, at least 1.
    static int GetSteps();

private:
    static int s_nInterval;
    static int s_nDuration;
};

// What the animations ask of their window.
class CXTPDockingPaneAnimationHost
{
public:
    virtual ~CXTPDockingPaneAnimationHost() = default;
    virtual void StartTimer(UINT nID, UINT nElapse) = 0;
    virtual void StopTimer(UINT nID) = 0;
    // The keyboard focus is in the window (or the container it shows).
    virtual BOOL IsFocusInside() = 0;
    // The cursor is over the window (and, for a slide-out window, over its panel).
    virtual BOOL IsCursorInside() = 0;
};

enum
{
    XTP_DOCKINGPANE_TIMER_COUNTDOWN = 1,   // 100 ms: the cursor left, count down before going
    XTP_DOCKINGPANE_TIMER_SLIDEOUT = 2,    // the animation interval: one step out
    XTP_DOCKINGPANE_TIMER_SLIDEIN = 3,     // the animation interval: one step in (or up)
    XTP_DOCKINGPANE_TIMER_CLOSE = 4,       // 50 ms: a delayed close
};

// A themed floating frame rolled up to its caption: expanded while hovered, rolled up again after the cursor
// has been away for a while.
class CXTPDockingPaneRollUp
{
public:
    class CHost : public CXTPDockingPaneAnimationHost
    {
    public:
        virtual int GetCurrentHeight() = 0;
        // Brought up (to the top, not activated) or rolling up (z-order kept).
        virtual void SetWindowHeight(int nHeight, BOOL bBringUp) = 0;
        virtual BOOL IsCaptureHeld() = 0;
        virtual int GetCaptionHeight() = 0;
        virtual void RepaintFrame() = 0;
    };

    explicit CXTPDockingPaneRollUp(CHost* pHost) : m_pHost(pHost) {}

    // Collapses an expanded frame (it rolls up once the cursor stays away) or expands a collapsed one.
    void Toggle();
    // The mouse over the frame's non-client area.
    void OnHover();
    // TRUE for the timers it runs.
    BOOL OnTimer(UINT nID);
    // A collapsed frame is shown in full again at once, with no timers left.
    void Expand();

    // The height for a step: the part of the expanded height, never below the caption + 8.
    static int GetStepHeight(int nStep, int nSteps, int nExpandedHeight, int nCaptionHeight);

    BOOL IsCollapsed() const { return m_bCollapsed; }
    BOOL IsExpandedByHover() const { return m_bExpandedByHover; }
    BOOL IsRollingUp() const { return m_bRollingUp; }
    // Neither collapsed nor held open by hover, and not moving.
    BOOL IsShownRolledUp() const { return m_bCollapsed && !m_bExpandedByHover; }
    int GetStep() const { return m_nStep; }
    int GetSteps() const { return m_nSteps; }
    int GetExpandedHeight() const { return m_nExpandedHeight; }
    // Restored from a saved layout.
    void SetCollapsed(BOOL bCollapsed, int nExpandedHeight);

private:
    void SetHeightForStep(BOOL bBringUp);

    CHost* m_pHost;
    int m_nSteps = CXTPDockingPaneAnimationTiming::GetSteps();
    int m_nStep = 0;
    int m_nCountdown = 0;
    int m_nExpandedHeight = 0;
    BOOL m_bCollapsed = FALSE;
    BOOL m_bExpandedByHover = FALSE;
    BOOL m_bRollingUp = FALSE;
};

// An auto-hidden pane's window sliding out of its edge strip, staying while the cursor or the focus is in it,
// and sliding back in after six quiet ticks.
class CXTPDockingPaneSlider
{
public:
    enum { actionClosing = 10, actionClosed = 11, actionOpened = 13 };

    class CHost : public CXTPDockingPaneAnimationHost
    {
    public:
        // Shows the window at the step: (step + 1) / steps of the full extent.
        virtual void PlaceForStep(int nStep, int nSteps) = 0;
        // Tells the frame; TRUE when it vetoes (only asked for closing).
        virtual BOOL Notify(int nAction) = 0;
        virtual void CloseWindow() = 0;
        // A resize drag of the window runs.
        virtual BOOL IsTracking() = 0;
    };

    explicit CXTPDockingPaneSlider(CHost* pHost) : m_pHost(pHost) {}

    void Start();
    BOOL OnTimer(UINT nID);
    // During a slide-in a mouse move over the window checks at once whether to turn back.
    void OnMouseMove();

    BOOL IsSlidingIn() const { return m_bSlidingIn; }
    BOOL IsSlidingOut() const { return m_bSlidingOut; }
    int GetStep() const { return m_nStep; }
    int GetSteps() const { return m_nSteps; }

    // The window's extent across its side: the pane's docking extent and the splitter strip (4), within the
    // container's limits (which also get the strip).
    static int CalcExtent(int nDocking, int nMin, int nMax);
    // The full rectangle cut from the top container's rectangle on the panel's side (left and right swapped in
    // a right-to-left frame).
    static CRect CalcFullRect(CRect rcTopContainer, int nDirection, int nExtent, BOOL bRightToLeft);
    // The part of the full rectangle shown at a step, anchored at the panel's side.
    static CRect CalcStepRect(const CRect& rcFull, int nDirection, int nStep, int nSteps);

private:
    void CheckLeave();

    CHost* m_pHost;
    int m_nStep = 0;
    int m_nSteps = 1;
    int m_nCountdown = 0;
    BOOL m_bSlidingIn = FALSE;
    BOOL m_bSlidingOut = FALSE;
};

// A rectangle that lies wholly outside the work area is moved onto it along the axis it is off.
CRect MoveOntoWorkArea(CRect rc, const CRect& rcWork);
