// Floating frames on a test frame: docking back by a double click on the title bar, closing with the frame's
// vetoes, the work-area move, and the themed frame's own caption and roll-up ticked by hand.
#include "DockingTestSupport.h"

#include "ui/themes/InputSource.h"

#include <gtest/gtest.h>

namespace
{
BOOL CursorFarAway(LPPOINT lpPoint)
{
    lpPoint->x = lpPoint->y = -5000;
    return TRUE;
}

class DockingFloatingFrameTest : public ::testing::Test
{
protected:
    CDockTestFrame* m_pFrame = new CDockTestFrame;
    CXTPDockingPane* m_pPane = nullptr;
    CXTPInputSource::PFN_CURSORPOS m_pfnOldCursor = nullptr;

    CXTPDockingPaneManager& Manager() { return m_pFrame->m_paneManager; }
    std::string Layout() { return DescribeLayout(Manager().GetCurrentLayout()); }

    void SetUp() override
    {
        m_pfnOldCursor = CXTPInputSource::SetCursorPosSource(CursorFarAway);
        ASSERT_TRUE(m_pFrame->CreateHidden());
        Manager().SetTheme(2);
        m_pPane = Manager().CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockLeft);
        m_pPane->SetTitle(L"Navigazione");
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnOldCursor);
        CXTPDockingPaneManager::SetAnimationDelay(-1.0, 128, 16);
    }

    CXTPDockingPaneMiniWnd* Float(const CRect& rc)
    {
        Manager().FloatPane(m_pPane->GetTabbedContainer(), rc);
        m_pFrame->RecalcLayout();
        return dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pPane->GetSite());
    }
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

TEST_F(DockingFloatingFrameTest, DoubleClicksFloatThePaneAndDockItBack)
{
    std::string strDocked = Layout();
    // A double click on the docked caption floats the pane.
    CXTPDockingPaneTabbedContainer* pContainer = m_pPane->GetTabbedContainer();
    pContainer->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 8));
    m_pFrame->RecalcLayout();
    CXTPDockingPaneMiniWnd* pMini = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pPane->GetSite());
    ASSERT_NE(nullptr, pMini);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_NE(strDocked, Layout());
    CString strTitle;
    pMini->GetWindowText(strTitle);
    EXPECT_EQ(CString(L"Navigazione"), strTitle);
    // Minimise, maximise and restore are gone from the system menu.
    CMenu* pSysMenu = pMini->GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, pSysMenu);
    EXPECT_EQ(static_cast<UINT>(-1), pSysMenu->GetMenuState(SC_MINIMIZE, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(-1), pSysMenu->GetMenuState(SC_MAXIMIZE, MF_BYCOMMAND));

    pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    m_pFrame->RecalcLayout();
    // Docked where it was; the empty frame stays as the pane's floating holder, hidden.
    EXPECT_EQ(0u, Layout().find(strDocked + " F{"));
    EXPECT_EQ(nullptr, dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pPane->GetSite()));
    EXPECT_FALSE(pMini->IsWindowVisible());
}

TEST_F(DockingFloatingFrameTest, CloseAsksForEveryClosablePaneAndKeepsVetoedOnes)
{
    CXTPDockingPane* pFixed = Manager().CreatePane(102, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    pFixed->SetOptions(xtpPaneNoCloseable);
    Manager().AttachPane(pFixed, m_pPane);
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(300, 200, 500, 400));
    ASSERT_NE(nullptr, pMini);
    ASSERT_TRUE(pMini->ContainsPane(pFixed));
    EXPECT_TRUE(pMini->IsCloseEnabled());

    m_pFrame->m_log.clear();
    m_pFrame->m_vetoedActions = {xtpPaneActionClosing};
    pMini->SendMessage(WM_CLOSE);
    EXPECT_EQ(std::vector<std::string>{"action 2 101"}, Actions());
    EXPECT_FALSE(m_pPane->IsClosed());

    m_pFrame->m_log.clear();
    m_pFrame->m_vetoedActions.clear();
    pMini->SendMessage(WM_CLOSE);
    EXPECT_EQ((std::vector<std::string>{"action 2 101", "action 3 101"}), Actions());
    EXPECT_TRUE(m_pPane->IsClosed());
    EXPECT_FALSE(pFixed->IsClosed());
    pMini->RecalcLayout();   // the frame's idle layout
    // Only a pane that cannot be closed is left: no close button, the system menu's close greyed.
    EXPECT_FALSE(pMini->IsCloseEnabled());
    EXPECT_TRUE(pMini->GetSystemMenu(FALSE)->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(DockingFloatingFrameTest, AFrameOffTheScreenIsMovedOntoTheWorkArea)
{
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(-3000, 100, -2800, 300));
    ASSERT_NE(nullptr, pMini);
    CRect rc, rcWork;
    pMini->GetWindowRect(&rc);
    GetWorkArea(&rcWork, rc);
    EXPECT_EQ(rcWork.left, rc.left);
    EXPECT_EQ(200, rc.Width());
    EXPECT_EQ(100, rc.top);
}

TEST_F(DockingFloatingFrameTest, ThemedFrameDrawsItsCaptionAndRollsUpEvenWithAZeroInterval)
{
    Manager().SetFloatingFrameOption(TRUE);
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(300, 200, 500, 500));
    ASSERT_NE(nullptr, pMini);
    EXPECT_TRUE(pMini->IsThemed());
    EXPECT_FALSE(pMini->GetStyle() & WS_BORDER);
    int nCaption = Manager().GetPaintManager()->GetCaptionHeight();
    CRect rcWindow, rcClient;
    pMini->GetWindowRect(&rcWindow);
    pMini->GetClientRect(&rcClient);
    pMini->ClientToScreen(&rcClient);
    // The frame's own caption above the client area: caption height + 2 below the sizing border less one.
    int nBorder = ::GetSystemMetrics(SM_CYSIZEFRAME) - 1;
    EXPECT_EQ(rcWindow.top + nBorder + nCaption + 2, rcClient.top);
    LPARAM lCaption = MAKELPARAM(rcWindow.CenterPoint().x, rcWindow.top + nBorder + 3);
    EXPECT_EQ(HTCAPTION, pMini->SendMessage(WM_NCHITTEST, 0, lCaption));
    pMini->SendMessage(WM_NCPAINT);
    CPaneCaptionButton* pClose = pMini->FindCaptionButton(XTP_IDS_DOCKINGPANE_CLOSE);
    ASSERT_NE(nullptr, pClose);
    EXPECT_FALSE(pClose->GetRect().IsRectEmpty());
    EXPECT_TRUE(pMini->FindCaptionButton(XTP_IDS_DOCKINGPANE_MENU)->GetRect().IsRectEmpty());
    // Its tip: the button's own string, over the button's rectangle above the client area.
    CPoint ptButton = pClose->GetRect().CenterPoint() + rcWindow.TopLeft();
    pMini->ScreenToClient(&ptButton);
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    EXPECT_EQ(XTP_IDS_DOCKINGPANE_CLOSE, pMini->OnToolHitTest(ptButton, &tool));
    EXPECT_STREQ(L"Chiudi", tool.lpszText);
    EXPECT_LT(tool.rect.top, 0);
    free(tool.lpszText);
    EXPECT_EQ(-1, pMini->OnToolHitTest(CPoint(10, 10), nullptr));

    // A zero interval still gives whole steps: the frame rolls up to its caption and stops.
    CXTPDockingPaneManager::SetAnimationDelay(-1.0, 128, 0);
    pMini->OnCaptionButtonClick(pMini->FindCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE));
    EXPECT_TRUE(pMini->IsCollapsed());
    ::SetFocus(m_pFrame->GetSafeHwnd());
    for (int i = 0; i < 6; i++)
        pMini->SendMessage(WM_TIMER, XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    ASSERT_TRUE(pMini->GetRollUp().IsRollingUp());
    for (int i = 0; i < 200 && pMini->GetRollUp().IsRollingUp(); i++)
        pMini->SendMessage(WM_TIMER, XTP_DOCKINGPANE_TIMER_SLIDEIN);
    EXPECT_FALSE(pMini->GetRollUp().IsRollingUp());
    pMini->GetWindowRect(&rcWindow);
    EXPECT_EQ(nCaption + 8, rcWindow.Height());
    EXPECT_EQ(XTP_DOCKINGPANE_PINLYING, pMini->FindCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE)->m_dwState);

    // A double click on the rolled-up caption brings the whole frame back.
    pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(pMini->IsCollapsed());
    pMini->GetWindowRect(&rcWindow);
    EXPECT_EQ(300, rcWindow.Height());
}

// A frame left without panes is hidden by its next layout, and unrolled: it shows whole when it holds panes again.
TEST_F(DockingFloatingFrameTest, AnEmptiedRolledUpFrameIsHiddenAndUnrolledByItsLayout)
{
    Manager().SetFloatingFrameOption(TRUE);
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(300, 200, 500, 500));
    ASSERT_NE(nullptr, pMini);
    pMini->OnCaptionButtonClick(pMini->FindCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE));
    ASSERT_TRUE(pMini->IsCollapsed());
    Manager().ClosePane(m_pPane);
    pMini->RecalcLayout();
    EXPECT_FALSE(pMini->IsWindowVisible());
    EXPECT_FALSE(pMini->IsCollapsed());
}

// A pane put straight into a floating frame's container (not through the manager) is placed there for good by the
// frame's own layout: floating it again or docking it back finds that container.
TEST_F(DockingFloatingFrameTest, TheFramesLayoutTakesItsContainersAsThePanesFloatingHolders)
{
    CXTPDockingPane* pSecond = Manager().CreatePane(102, CRect(0, 0, 200, 120), xtpPaneDockRight);
    CXTPDockingPaneTabbedContainer* pDocked = pSecond->GetTabbedContainer();
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(300, 200, 500, 500));
    ASSERT_NE(nullptr, pMini);
    CXTPDockingPaneTabbedContainer* pFloating = m_pPane->GetTabbedContainer();
    pDocked->RemovePane(pSecond);
    pFloating->AddPane(pSecond);
    pMini->RecalcLayout();
    EXPECT_EQ(pFloating, Manager().GetHolder(pSecond, TRUE));
    EXPECT_EQ(pDocked, Manager().GetHolder(pSecond, FALSE));
    EXPECT_EQ(pFloating, Manager().GetCurrentLayout()->FindPaneInfo(pSecond)->pLastHolder);
}

// A new title of the pane shows in the floating frame's caption at once, not at the frame's next layout.
TEST_F(DockingFloatingFrameTest, TheCaptionFollowsThePanesTitle)
{
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(300, 200, 500, 500));
    ASSERT_NE(nullptr, pMini);
    CString strText;
    pMini->GetWindowText(strText);
    EXPECT_EQ(CString(L"Navigazione"), strText);
    m_pPane->SetTitle(L"Struttura");
    pMini->GetWindowText(strText);
    EXPECT_EQ(CString(L"Struttura"), strText);
}

// A theme with another caption height gives a themed floating frame its new non-client area at once.
TEST_F(DockingFloatingFrameTest, AThemeChangeGivesThemedFramesTheirNewCaption)
{
    Manager().SetFloatingFrameOption(TRUE);
    CXTPDockingPaneMiniWnd* pMini = Float(CRect(300, 200, 500, 500));
    ASSERT_NE(nullptr, pMini);
    for (int nTheme : {4, 2}) {
        SCOPED_TRACE(nTheme);
        Manager().SetTheme(nTheme);
        int nCaption = Manager().GetPaintManager()->GetCaptionHeight();
        CRect rcWindow, rcClient;
        pMini->GetWindowRect(&rcWindow);
        pMini->GetClientRect(&rcClient);
        pMini->ClientToScreen(&rcClient);
        EXPECT_EQ(rcWindow.top + ::GetSystemMetrics(SM_CYSIZEFRAME) - 1 + nCaption + 2, rcClient.top);
    }
}
