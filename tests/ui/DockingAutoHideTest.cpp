// Auto-hidden panes on a test frame: the edge strip, sliding out and in on timer messages sent by hand with the
// cursor placed through the input source, reversal, and the frame's vetoes.
#include "DockingTestSupport.h"

#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/themes/InputSource.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
CPoint g_ptCursor(-5000, -5000);

BOOL PlacedCursor(LPPOINT lpPoint)
{
    *lpPoint = g_ptCursor;
    return TRUE;
}

class DockingAutoHideTest : public ::testing::Test
{
protected:
    CDockTestFrame* m_pFrame = new CDockTestFrame;
    CXTPDockingPane* m_pPane = nullptr;
    CXTPDockingPaneAutoHidePanel* m_pPanel = nullptr;
    CXTPInputSource::PFN_CURSORPOS m_pfnOldCursor = nullptr;

    void SetUp() override
    {
        m_pfnOldCursor = CXTPInputSource::SetCursorPosSource(PlacedCursor);
        g_ptCursor = CPoint(-5000, -5000);
        ASSERT_TRUE(m_pFrame->CreateHidden());
        CXTPDockingPaneManager& manager = m_pFrame->m_paneManager;
        manager.SetTheme(2);
        m_pPane = manager.CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockLeft);
        m_pFrame->RecalcLayout();
        manager.HidePane(m_pPane);
        m_pFrame->RecalcLayout();
        m_pPanel = manager.GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockLeft);
        ASSERT_NE(nullptr, m_pPanel);
        m_pFrame->m_log.clear();
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnOldCursor);
    }

    CPoint TabCentre() const
    {
        return m_pPanel->GetTabGroups().front()->GetItem(0)->GetRect().CenterPoint();
    }
    CXTPDockingPaneAutoHideWnd* SlideOut()
    {
        CPoint pt = TabCentre();
        m_pPanel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        return m_pPanel->GetSlideOutWindow();
    }
    static void Tick(CWnd* pWnd, UINT nTimer, int nTimes)
    {
        for (int i = 0; i < nTimes; i++)
            pWnd->SendMessage(WM_TIMER, nTimer);
    }
    static int Width(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc.Width();
    }
    // The actions the frame was told of, in order.
    std::vector<std::string> Actions() const
    {
        std::vector<std::string> actions;
        for (const std::string& s : m_pFrame->m_log)
            if (s.compare(0, 7, "action ") == 0)
                actions.push_back(s);
        return actions;
    }
};
}

TEST_F(DockingAutoHideTest, ThePinnedPaneBecomesATabOnTheLeftStrip)
{
    EXPECT_EQ("H[T(),C] A0{T(101)}", DescribeLayout(m_pFrame->m_paneManager.GetCurrentLayout()));
    ASSERT_TRUE(m_pPanel->GetSafeHwnd());
    CRect rcPanel, rcClient;
    m_pPanel->GetWindowRect(&rcPanel);
    m_pFrame->ScreenToClient(&rcPanel);
    m_pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(0, rcPanel.left);
    EXPECT_EQ(rcClient.Height(), rcPanel.Height());
    EXPECT_GT(rcPanel.Width(), 10);
    EXPECT_LT(rcPanel.Width(), 40);
    // The docked area starts beside the strip.
    CRect rcTop = m_pFrame->m_paneManager.GetTopContainer()->GetPaneWindowRect();
    EXPECT_EQ(rcPanel.right, rcTop.left);
    ASSERT_EQ(1u, m_pPanel->GetTabGroups().size());
    EXPECT_EQ(m_pPane, m_pPanel->HitTest(TabCentre()));
}

TEST_F(DockingAutoHideTest, AClickSlidesOutInEightStepsAndSixQuietTicksSlideItIn)
{
    CXTPDockingPaneAutoHideWnd* pWnd = SlideOut();
    ASSERT_NE(nullptr, pWnd);
    EXPECT_EQ(std::vector<std::string>{"action 12 101"}, Actions());
    int nFull = pWnd->GetFullRect().Width();
    EXPECT_EQ(204, nFull);   // the docking width and the splitter strip
    EXPECT_EQ(nFull / 8, Width(pWnd));
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEOUT, 8);
    EXPECT_EQ(nFull, Width(pWnd));
    EXPECT_EQ("action 13 101", Actions().back());
    EXPECT_FALSE(pWnd->GetContainer()->IsTabsVisible());

    EXPECT_TRUE(pWnd->GetContainer()->IsWindowVisible());
    EXPECT_EQ(pWnd->GetSafeHwnd(), ::GetParent(pWnd->GetContainer()->GetSafeHwnd()));

    ::SetFocus(m_pFrame->GetSafeHwnd());
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_COUNTDOWN, 5);
    EXPECT_FALSE(pWnd->GetSlider().IsSlidingIn());
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_COUNTDOWN, 1);
    EXPECT_TRUE(pWnd->GetSlider().IsSlidingIn());
    EXPECT_EQ("action 10 101", Actions().back());
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEIN, 7);
    EXPECT_EQ(nFull / 8, Width(pWnd));
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEIN, 1);
    EXPECT_EQ("action 11 101", Actions().back());
    EXPECT_EQ(nullptr, m_pPanel->GetSlideOutWindow());
    EXPECT_FALSE(pWnd->IsWindowVisible());
    EXPECT_EQ("H[T(),C] A0{T(101)}", DescribeLayout(m_pFrame->m_paneManager.GetCurrentLayout()));
}

TEST_F(DockingAutoHideTest, TheFramesLayoutSlidesThePaneInAndTheNextClickPlacesItAnew)
{
    CXTPDockingPaneAutoHideWnd* pWnd = SlideOut();
    ASSERT_NE(nullptr, pWnd);
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEOUT, 8);
    HWND hContainer = pWnd->GetContainer()->GetSafeHwnd();
    m_pFrame->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(nullptr, m_pPanel->GetSlideOutWindow());
    EXPECT_EQ((std::vector<std::string>{"action 12 101", "action 13 101", "action 10 101", "action 11 101"}),
              Actions());
    EXPECT_FALSE(::IsWindowVisible(hContainer));
    EXPECT_EQ(m_pFrame->GetSafeHwnd(), ::GetParent(hContainer));

    // Out again, it runs along the docked area as it is now.
    pWnd = SlideOut();
    ASSERT_NE(nullptr, pWnd);
    CRect rcTop = m_pFrame->m_paneManager.GetTopContainer()->GetPaneWindowRect();
    EXPECT_EQ(rcTop.top, pWnd->GetFullRect().top);
    EXPECT_EQ(rcTop.bottom, pWnd->GetFullRect().bottom);
    EXPECT_EQ(rcTop.left, pWnd->GetFullRect().left);
}

TEST_F(DockingAutoHideTest, TheCursorComingBackTurnsTheSlideInAround)
{
    CXTPDockingPaneAutoHideWnd* pWnd = SlideOut();
    ASSERT_NE(nullptr, pWnd);
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEOUT, 8);
    ::SetFocus(m_pFrame->GetSafeHwnd());
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_COUNTDOWN, 6);
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEIN, 3);
    ASSERT_TRUE(pWnd->GetSlider().IsSlidingIn());

    CRect rc;
    pWnd->GetWindowRect(&rc);
    g_ptCursor = rc.CenterPoint();
    pWnd->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_FALSE(pWnd->GetSlider().IsSlidingIn());
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEOUT, 4);
    EXPECT_EQ(pWnd->GetFullRect().Width(), Width(pWnd));
    EXPECT_EQ(pWnd, m_pPanel->GetSlideOutWindow());
}

TEST_F(DockingAutoHideTest, VetoesKeepThePaneInOrOut)
{
    // Action 12 vetoed: nothing slides out.
    m_pFrame->m_vetoedActions = {xtpPaneActionExpanding};
    EXPECT_EQ(nullptr, SlideOut());

    // Action 10 vetoed: the window stays out, by the countdown and when asked to close.
    m_pFrame->m_vetoedActions = {xtpPaneActionCollapsing};
    CXTPDockingPaneAutoHideWnd* pWnd = SlideOut();
    ASSERT_NE(nullptr, pWnd);
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEOUT, 8);
    ::SetFocus(m_pFrame->GetSafeHwnd());
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_COUNTDOWN, 6);
    EXPECT_FALSE(pWnd->GetSlider().IsSlidingIn());
    m_pPanel->CloseActiveWindow();
    EXPECT_EQ(pWnd, m_pPanel->GetSlideOutWindow());
    EXPECT_TRUE(pWnd->IsWindowVisible());
    EXPECT_EQ(pWnd->GetContainer(), m_pPane->GetTabbedContainer());

    m_pFrame->m_vetoedActions.clear();
    m_pPanel->CloseActiveWindow();
    EXPECT_EQ(nullptr, m_pPanel->GetSlideOutWindow());
    EXPECT_EQ("action 11 101", Actions().back());
}

TEST_F(DockingAutoHideTest, ALayoutReplacedWhileAPaneIsOutTakesItsWindowAlong)
{
    CXTPDockingPaneAutoHideWnd* pWnd = SlideOut();
    ASSERT_NE(nullptr, pWnd);
    Tick(pWnd, XTP_DOCKINGPANE_TIMER_SLIDEOUT, 8);
    HWND hWnd = pWnd->GetSafeHwnd();
    m_pFrame->m_paneManager.ResetLayout();
    MSG msg;
    while (::PeekMessageW(&msg, hWnd, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(DockingAutoHideTest, HoverDoesNothingWhileTheFrameIsInactive)
{
    ASSERT_FALSE(IsTopParentActive(m_pPanel->GetSafeHwnd()));
    CPoint pt = TabCentre();
    m_pPanel->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(nullptr, m_pPanel->GetSlideOutWindow());
    EXPECT_TRUE(Actions().empty());
}

TEST(DockingAutoHideGeometry, ContainerFollowsTheSlidingEdgeAndResizeLimits)
{
    struct PLACE
    {
        int nDirection;
        CRect rc;
    };
    // A window 50 wide of a full 204 by 300 (left, right); 40 high of a full 300 by 150 (top, bottom).
    for (const PLACE& c : {PLACE{0, CRect(-154, 0, 46, 300)}, PLACE{1, CRect(4, 0, 204, 300)}}) {
        EXPECT_EQ(c.rc, CXTPDockingPaneAutoHideWnd::CalcContainerRect(CSize(50, 300), CSize(204, 300), c.nDirection))
            << c.nDirection;
    }
    for (const PLACE& c : {PLACE{2, CRect(0, -110, 300, 36)}, PLACE{3, CRect(0, 4, 300, 150)}}) {
        EXPECT_EQ(c.rc, CXTPDockingPaneAutoHideWnd::CalcContainerRect(CSize(300, 40), CSize(300, 150), c.nDirection))
            << c.nDirection;
    }

    struct LIMIT
    {
        int nDirection, nMin, nMax;
        CRect rc;
    };
    const CRect rcTop(100, 100, 700, 500);
    for (const LIMIT& c : {LIMIT{0, 4, 32004, CRect(126, 100, 674, 500)}, LIMIT{0, 60, 204, CRect(160, 100, 304, 500)},
                           LIMIT{1, 4, 32004, CRect(126, 100, 674, 500)}, LIMIT{2, 4, 150, CRect(100, 126, 700, 250)},
                           LIMIT{3, 4, 32004, CRect(100, 126, 700, 474)}, LIMIT{0, 590, 32004, CRect()}}) {
        EXPECT_EQ(c.rc, CXTPDockingPaneAutoHideWnd::CalcResizeLimits(rcTop, c.nDirection, c.nMin, c.nMax, 26))
            << c.nDirection << " " << c.nMin;
    }
}

TEST(DockingAutoHidePin, ThePinMovesTheContainerToItsEdgeStripAndBack)
{
    CDockTestFrame* pFrame = new CDockTestFrame;
    ASSERT_TRUE(pFrame->CreateHidden());
    CXTPDockingPaneManager& manager = pFrame->m_paneManager;
    manager.SetTheme(2);
    CXTPDockingPane* pPane = manager.CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockRight);
    pFrame->RecalcLayout();
    CXTPDockingPaneTabbedContainer* pContainer = pPane->GetTabbedContainer();
    pContainer->OnCaptionButtonClick(pContainer->FindCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE));
    pFrame->RecalcLayout();
    CXTPDockingPaneAutoHidePanel* pPanel = manager.GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockRight);
    ASSERT_NE(nullptr, pPanel);
    EXPECT_TRUE(pPane->IsHidden());
    ASSERT_TRUE(pPanel->GetSafeHwnd());
    // The strip lies along the right edge of the frame's client area.
    CRect rcPanel, rcClient;
    pPanel->GetWindowRect(&rcPanel);
    pFrame->ScreenToClient(&rcPanel);
    pFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.right, rcPanel.right);

    // The pin of the container in the strip docks it again, and the empty strip goes.
    CXTPDockingPaneTabbedContainer* pHidden = pPane->GetTabbedContainer();
    pHidden->OnCaptionButtonClick(pHidden->FindCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE));
    pFrame->RecalcLayout();
    EXPECT_FALSE(pPane->IsHidden());
    EXPECT_FALSE(pPanel->GetSafeHwnd());
    pFrame->DestroyWindow();
}
