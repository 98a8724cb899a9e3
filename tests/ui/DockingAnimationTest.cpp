// Roll-up of floating frames and slide-out of auto-hidden panes ticked by hand through recording hosts, and the
// geometry both use.
#include "ui/docking/XTPDockingPaneAnimation.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace
{
// Timers, cursor and focus of a window that is not there.
template <class HOST>
class CRecordingHost : public HOST
{
public:
    void StartTimer(UINT nID, UINT nElapse) override
    {
        m_timers.insert(nID);
        m_nLastElapse = nElapse;
    }
    void StopTimer(UINT nID) override { m_timers.erase(nID); }
    BOOL IsFocusInside() override { return m_bFocus; }
    BOOL IsCursorInside() override { return m_bCursorInside; }
    BOOL IsRunning(UINT nID) const { return m_timers.count(nID) != 0; }

    std::set<UINT> m_timers;
    UINT m_nLastElapse = 0;
    BOOL m_bFocus = FALSE;
    BOOL m_bCursorInside = FALSE;
};

class CFrameHost : public CRecordingHost<CXTPDockingPaneRollUp::CHost>
{
public:
    int GetCurrentHeight() override { return m_nHeight; }
    void SetWindowHeight(int nHeight, BOOL bBringUp) override
    {
        m_nHeight = nHeight;
        m_heights.push_back(nHeight);
        m_bBroughtUp = bBringUp;
    }
    BOOL IsCaptureHeld() override { return FALSE; }
    int GetCaptionHeight() override { return 20; }
    void RepaintFrame() override { m_nRepaints++; }

    int m_nHeight = 300;
    std::vector<int> m_heights;
    BOOL m_bBroughtUp = FALSE;
    int m_nRepaints = 0;
};

class CSlideHost : public CRecordingHost<CXTPDockingPaneSlider::CHost>
{
public:
    void PlaceForStep(int nStep, int nSteps) override
    {
        m_steps.push_back(nStep);
        m_nSteps = nSteps;
    }
    BOOL Notify(int nAction) override
    {
        m_actions.push_back(nAction);
        return m_vetoes.count(nAction) != 0;
    }
    void CloseWindow() override { m_nCloses++; }
    BOOL IsTracking() override { return FALSE; }

    std::vector<int> m_steps;
    int m_nSteps = 0;
    std::vector<int> m_actions;
    std::set<int> m_vetoes;
    int m_nCloses = 0;
};

// Ticks a timer while it runs, at most nMax times; answers the ticks taken.
template <class ANIMATION, class HOST>
int TickWhileRunning(ANIMATION& animation, HOST& host, UINT nID, int nMax = 100)
{
    int n = 0;
    while (host.IsRunning(nID) && n < nMax) {
        animation.OnTimer(nID);
        n++;
    }
    return n;
}

class AnimationTimingTest : public ::testing::Test
{
protected:
    void TearDown() override { CXTPDockingPaneAnimationTiming::Set(128, 16); }
};
}

TEST_F(AnimationTimingTest, CollapsedFrameRollsUpInEightStepsAfterSixQuietTicks)
{
    CFrameHost host;
    CXTPDockingPaneRollUp rollUp(&host);
    rollUp.Toggle();
    EXPECT_TRUE(rollUp.IsCollapsed());
    EXPECT_EQ(300, rollUp.GetExpandedHeight());
    EXPECT_EQ(1, host.m_nRepaints);

    // Five ticks with the cursor outside change nothing; the cursor back in holds the count.
    for (int i = 0; i < 5; i++)
        rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    host.m_bCursorInside = TRUE;
    rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_FALSE(rollUp.IsRollingUp());
    host.m_bCursorInside = FALSE;
    rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_TRUE(rollUp.IsRollingUp());
    EXPECT_FALSE(host.IsRunning(XTP_DOCKINGPANE_TIMER_COUNTDOWN));
    EXPECT_EQ(16u, host.m_nLastElapse);

    EXPECT_EQ(9, TickWhileRunning(rollUp, host, XTP_DOCKINGPANE_TIMER_SLIDEIN));
    EXPECT_EQ((std::vector<int>{262, 225, 187, 150, 112, 75, 37, 28}), host.m_heights);
    EXPECT_FALSE(host.m_bBroughtUp);
    EXPECT_FALSE(rollUp.IsRollingUp());
    EXPECT_TRUE(rollUp.IsShownRolledUp());

    // Hovering brings it back at once, and it rolls up again eight quiet ticks later.
    host.m_heights.clear();
    rollUp.OnHover();
    EXPECT_EQ((std::vector<int>{300}), host.m_heights);
    EXPECT_TRUE(host.m_bBroughtUp);
    for (int i = 0; i < 7; i++)
        rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_FALSE(rollUp.IsRollingUp());
    rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_TRUE(rollUp.IsRollingUp());

    // Expanding half way stops every timer and gives back the whole height.
    rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
    rollUp.Toggle();
    EXPECT_FALSE(rollUp.IsCollapsed());
    EXPECT_FALSE(rollUp.IsRollingUp());
    EXPECT_EQ(300, host.m_nHeight);
    EXPECT_TRUE(host.m_timers.empty());
}

TEST_F(AnimationTimingTest, FocusKeepsACollapsedFrameOpen)
{
    CFrameHost host;
    CXTPDockingPaneRollUp rollUp(&host);
    rollUp.Toggle();
    host.m_bFocus = TRUE;
    for (int i = 0; i < 20; i++)
        rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_FALSE(rollUp.IsRollingUp());
    EXPECT_TRUE(host.m_heights.empty());
}

TEST_F(AnimationTimingTest, ZeroIntervalOrShortDurationStillAnimateInOneStep)
{
    struct CASE
    {
        int nDuration, nInterval, nSteps;
    };
    for (const CASE& c : {CASE{128, 0, 128}, CASE{0, 16, 1}, CASE{10, 16, 1}, CASE{0, 0, 1}}) {
        CXTPDockingPaneAnimationTiming::Set(c.nDuration, c.nInterval);
        EXPECT_EQ(c.nSteps, CXTPDockingPaneAnimationTiming::GetSteps()) << c.nDuration << "/" << c.nInterval;
        EXPECT_GE(CXTPDockingPaneAnimationTiming::GetInterval(), 1);
    }

    CXTPDockingPaneAnimationTiming::Set(10, 16);
    CFrameHost host;
    CXTPDockingPaneRollUp rollUp(&host);
    rollUp.Toggle();
    for (int i = 0; i < 6; i++)
        rollUp.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    TickWhileRunning(rollUp, host, XTP_DOCKINGPANE_TIMER_SLIDEIN);
    EXPECT_EQ((std::vector<int>{28}), host.m_heights);
}

TEST(DockingGeometryTest, StepHeightsNeverGoBelowTheCaption)
{
    struct CASE
    {
        int nStep, nSteps, nExpanded, nCaption, nHeight;
    };
    for (const CASE& c : {CASE{8, 8, 300, 20, 300}, CASE{4, 8, 300, 20, 150}, CASE{0, 8, 300, 20, 28},
                          CASE{1, 8, 100, 20, 28}, CASE{3, 0, 100, 20, 300}}) {
        EXPECT_EQ(c.nHeight, CXTPDockingPaneRollUp::GetStepHeight(c.nStep, c.nSteps, c.nExpanded, c.nCaption))
            << c.nStep << "/" << c.nSteps;
    }
}

TEST_F(AnimationTimingTest, SlideOutWindowComesOutInEightStepsAndGoesAfterSixQuietTicks)
{
    CSlideHost host;
    CXTPDockingPaneSlider slider(&host);
    slider.Start();
    EXPECT_EQ(8, host.m_nSteps);
    EXPECT_TRUE(host.IsRunning(XTP_DOCKINGPANE_TIMER_COUNTDOWN));
    EXPECT_EQ(8, TickWhileRunning(slider, host, XTP_DOCKINGPANE_TIMER_SLIDEOUT));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}), host.m_steps);
    EXPECT_EQ((std::vector<int>{CXTPDockingPaneSlider::actionOpened}), host.m_actions);

    host.m_steps.clear();
    for (int i = 0; i < 5; i++)
        slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_FALSE(slider.IsSlidingIn());
    slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_TRUE(slider.IsSlidingIn());
    EXPECT_EQ(8, TickWhileRunning(slider, host, XTP_DOCKINGPANE_TIMER_SLIDEIN));
    EXPECT_EQ((std::vector<int>{6, 5, 4, 3, 2, 1, 0}), host.m_steps);
    EXPECT_EQ((std::vector<int>{13, 10, 11}), host.m_actions);
    EXPECT_EQ(1, host.m_nCloses);
}

TEST_F(AnimationTimingTest, ComingBackDuringTheSlideInTurnsTheWindowAround)
{
    CSlideHost host;
    CXTPDockingPaneSlider slider(&host);
    slider.Start();
    TickWhileRunning(slider, host, XTP_DOCKINGPANE_TIMER_SLIDEOUT);
    for (int i = 0; i < 6; i++)
        slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    slider.OnTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
    slider.OnTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
    ASSERT_EQ(5, slider.GetStep());

    // The mouse back over the window: no longer sliding in, out again from step 5.
    host.m_bCursorInside = TRUE;
    slider.OnMouseMove();
    EXPECT_FALSE(slider.IsSlidingIn());
    EXPECT_FALSE(host.IsRunning(XTP_DOCKINGPANE_TIMER_SLIDEIN));
    host.m_steps.clear();
    EXPECT_EQ(3, TickWhileRunning(slider, host, XTP_DOCKINGPANE_TIMER_SLIDEOUT));
    EXPECT_EQ((std::vector<int>{6, 7}), host.m_steps);
    EXPECT_EQ(0, host.m_nCloses);

    // And it goes once the cursor has left for six ticks again.
    host.m_bCursorInside = FALSE;
    for (int i = 0; i < 6; i++)
        slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_TRUE(slider.IsSlidingIn());
}

TEST_F(AnimationTimingTest, VetoedCloseKeepsTheWindowOutAndCountsAgain)
{
    CSlideHost host;
    host.m_vetoes = {CXTPDockingPaneSlider::actionClosing};
    CXTPDockingPaneSlider slider(&host);
    slider.Start();
    TickWhileRunning(slider, host, XTP_DOCKINGPANE_TIMER_SLIDEOUT);
    for (int i = 0; i < 6; i++)
        slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_FALSE(slider.IsSlidingIn());
    EXPECT_FALSE(host.IsRunning(XTP_DOCKINGPANE_TIMER_SLIDEIN));
    EXPECT_EQ((std::vector<int>{13, 10}), host.m_actions);
    // The next question comes six ticks later.
    for (int i = 0; i < 5; i++)
        slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_EQ(2u, host.m_actions.size());
    slider.OnTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    EXPECT_EQ(3u, host.m_actions.size());
    EXPECT_EQ(0, host.m_nCloses);
}

TEST(DockingGeometryTest, SlideOutExtentAndPlacement)
{
    struct EXTENT
    {
        int nDocking, nMin, nMax, nExtent;
    };
    for (const EXTENT& c : {EXTENT{200, 0, 32000, 204}, EXTENT{20, 50, 32000, 54}, EXTENT{500, 0, 300, 304}}) {
        EXPECT_EQ(c.nExtent, CXTPDockingPaneSlider::CalcExtent(c.nDocking, c.nMin, c.nMax)) << c.nDocking;
    }

    struct FULL
    {
        int nDirection;
        BOOL bRtl;
        CRect rc;
    };
    const CRect rcTop(30, 40, 630, 440);
    for (const FULL& c : {FULL{0, FALSE, CRect(30, 40, 134, 440)}, FULL{1, FALSE, CRect(526, 40, 630, 440)},
                          FULL{2, FALSE, CRect(30, 40, 630, 144)}, FULL{3, FALSE, CRect(30, 336, 630, 440)},
                          FULL{0, TRUE, CRect(526, 40, 630, 440)}, FULL{3, TRUE, CRect(30, 336, 630, 440)}}) {
        EXPECT_EQ(c.rc, CXTPDockingPaneSlider::CalcFullRect(rcTop, c.nDirection, 104, c.bRtl)) << c.nDirection;
    }

    struct STEP
    {
        int nDirection, nStep;
        CRect rc;
    };
    const CRect rcFull(0, 0, 200, 160);
    for (const STEP& c : {STEP{0, 0, CRect(0, 0, 25, 160)}, STEP{0, 7, CRect(0, 0, 200, 160)},
                          STEP{1, 2, CRect(125, 0, 200, 160)}, STEP{2, 3, CRect(0, 0, 200, 80)},
                          STEP{3, 0, CRect(0, 140, 200, 160)}}) {
        EXPECT_EQ(c.rc, CXTPDockingPaneSlider::CalcStepRect(rcFull, c.nDirection, c.nStep, 8))
            << c.nDirection << " step " << c.nStep;
    }
}

TEST(DockingGeometryTest, RectanglesOffTheWorkAreaAreMovedOntoIt)
{
    const CRect rcWork(0, 0, 1024, 740);
    struct CASE
    {
        CRect rc, rcResult;
    };
    for (const CASE& c : {CASE{CRect(100, 100, 300, 400), CRect(100, 100, 300, 400)},
                          CASE{CRect(-500, 100, -300, 400), CRect(0, 100, 200, 400)},
                          CASE{CRect(1100, 100, 1300, 400), CRect(824, 100, 1024, 400)},
                          CASE{CRect(100, 800, 300, 900), CRect(100, 640, 300, 740)},
                          CASE{CRect(-300, -300, -100, -100), CRect(0, 0, 200, 200)},
                          CASE{CRect(-100, 100, 50, 400), CRect(-100, 100, 50, 400)}}) {
        EXPECT_EQ(c.rcResult, MoveOntoWorkArea(c.rc, rcWork)) << c.rc.left << "," << c.rc.top;
    }
}
