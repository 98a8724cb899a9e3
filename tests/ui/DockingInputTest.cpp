// Docking on a shown frame driven by real input (SendInput): a pane dragged by its caption docks at each side of
// the client and of another container, joins as a tab or floats; Escape and a small press change nothing and
// leave no outline on the screen; a floating frame moves by its title bar; splitter bars move with the tracker
// and live. A watchdog timer ends any modal loop whose input got lost,
// so that a test fails instead of hanging.
#include "DockingTestSupport.h"
#include "PixelCanvas.h"
#include "support/GdiObjects.h"
#include "support/RealInput.h"

#include "ui/docking/DockingPaneAutoHideWnd.h"

#include <gtest/gtest.h>

namespace
{
void Pump(DWORD dwQuietMs = 60)
{
    DWORD dwStart = ::GetTickCount(), dwLast = dwStart;
    while (::GetTickCount() - dwLast < dwQuietMs && ::GetTickCount() - dwStart < 5000) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            dwLast = ::GetTickCount();
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    PumpQueued(nullptr);
}

// The screen's pixels inside rc, row by row.
std::vector<COLORREF> ScreenPixels(const CRect& rc)
{
    CPixelCanvas canvas(rc.Width(), rc.Height());
    HDC hScreen = ::GetDC(nullptr);
    ::BitBlt(canvas.GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < rc.Height(); y++)
        for (int x = 0; x < rc.Width(); x++)
            pixels.push_back(canvas.At(x, y));
    return pixels;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(nullptr, nID);
    ::ReleaseCapture();
}

class DockingInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden(CRect(530, 300, 1010, 660), WS_EX_TOPMOST));
        m_pManager = &m_pFrame->m_paneManager;
        m_pManager->CreatePane(4000, CRect(0, 0, 140, 120), xtpPaneDockLeft);
        m_pManager->CreatePane(4001, CRect(0, 0, 140, 120), xtpPaneDockRight);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        for (int i = 0; i < 20 && ::GetForegroundWindow() != m_pFrame->m_hWnd; i++) {
            ::SetForegroundWindow(m_pFrame->m_hWnd);
            Pump(20);
        }
        Pump();
    }
    void TearDown() override
    {
        ::KillTimer(nullptr, m_nWatchdog);
        m_pFrame->DestroyWindow();
    }

    std::string Tree() { return DescribeLayout(m_pManager->GetCurrentLayout()); }
    CRect ScreenRect(CXTPDockingPaneElement* pElement) { return pElement->GetScreenRect(); }
    CXTPDockingPaneTabbedContainer* Container(UINT nID) { return m_pManager->FindPane(nID)->GetTabbedContainer(); }
    CPoint CaptionPoint(UINT nID) { return ScreenRect(Container(nID)).TopLeft() + CSize(30, 8); }
    // Press at one point, move in steps to another, release there; with bControl the Ctrl key is held meanwhile,
    // with bEscape Escape is pressed before the release.
    void DragBy(CPoint ptFrom, CPoint ptTo, BOOL bControl = FALSE, BOOL bEscape = FALSE, int nSteps = 4)
    {
        m_nWatchdog = ::SetTimer(nullptr, 0, INPUT_TIMEOUT, Watchdog);
        std::vector<INPUT> inputs = {MouseInput(ptFrom, 0), MouseInput(ptFrom, MOUSEEVENTF_LEFTDOWN)};
        for (int i = 1; i <= nSteps; i++) {
            if (bControl && i == 2)
                inputs.push_back(KeyInput(VK_CONTROL, FALSE));
            inputs.push_back(MouseInput(
                ptFrom + CSize((ptTo.x - ptFrom.x) * i / nSteps, (ptTo.y - ptFrom.y) * i / nSteps), 0));
        }
        if (bEscape) {
            inputs.push_back(KeyInput(VK_ESCAPE, FALSE));
            inputs.push_back(KeyInput(VK_ESCAPE, TRUE));
        }
        inputs.push_back(MouseInput(ptTo, MOUSEEVENTF_LEFTUP));
        if (bControl)
            inputs.push_back(KeyInput(VK_CONTROL, TRUE));
        EXPECT_TRUE(SendInputAndWait(nullptr, inputs)) << "the drag's releases were never taken";
        ::KillTimer(nullptr, m_nWatchdog);
        m_nWatchdog = 0;
        m_pFrame->RecalcLayout();
    }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
    UINT_PTR m_nWatchdog = 0;
};

// Two panes hidden as one group on the left edge: the first click on the tab of the pane that is not selected
// slides that pane out, and it stays out; the frame resized slides it in.
TEST_F(DockingInputTest, AHiddenGroupsOtherTabSlidesOutAtTheFirstClickAndAResizeSlidesItIn)
{
    CXTPDockingPane* pOther = m_pManager->FindPane(4001);
    m_pManager->AttachPane(pOther, Container(4000));
    m_pManager->FindPane(4000)->Select();
    m_pFrame->RecalcLayout();
    m_pManager->HidePane(Container(4000));
    m_pFrame->RecalcLayout();
    Pump();
    ASSERT_EQ("H[T(),C] A0{T(4000*,4001)}", Tree());
    CXTPDockingPaneAutoHidePanel* pPanel = m_pManager->GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockLeft);
    ASSERT_NE(nullptr, pPanel);
    CRect rcTab = pPanel->GetTabGroups().front()->GetItem(1)->GetRect();
    pPanel->ClientToScreen(&rcTab);
    SendClick(rcTab.CenterPoint());
    // Out in full: the slide is over.
    CXTPDockingPaneAutoHideWnd* pWnd = nullptr;
    PumpUntil(nullptr, [&]() -> BOOL {
        pWnd = pPanel->GetSlideOutWindow();
        if (!pWnd || !pWnd->IsWindowVisible())
            return FALSE;
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc.Width() == pWnd->GetFullRect().Width();
    }, 5000);
    ASSERT_NE(nullptr, pWnd);
    EXPECT_EQ(pOther, pWnd->GetContainer()->GetSelected());
    EXPECT_TRUE(pWnd->IsWindowVisible());
    CRect rcOut;
    pWnd->GetWindowRect(&rcOut);
    EXPECT_EQ(pWnd->GetFullRect().Width(), rcOut.Width());

    // The frame made larger, as by its corner (Wine's own sizing loop does not take injected input).
    CRect rcFrame;
    m_pFrame->GetWindowRect(&rcFrame);
    m_pFrame->SetWindowPos(nullptr, 0, 0, rcFrame.Width() + 40, rcFrame.Height() + 30,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(nullptr, pPanel->GetSlideOutWindow());
    EXPECT_EQ("H[T(),C] A0{T(4000,4001*)}", Tree());
}

TEST_F(DockingInputTest, APaneDraggedByItsCaptionDocksOrJoinsAsATab)
{
    CPoint ptCaption = ScreenRect(Container(4001)).TopLeft() + CSize(30, 8);
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    DragBy(ptCaption, CPoint(rcClient.left + 3, rcClient.CenterPoint().y));
    EXPECT_EQ("H[T(4000),T(4001),C]", Tree());

    ptCaption = ScreenRect(Container(4001)).TopLeft() + CSize(30, 8);
    CPoint ptOtherCaption = ScreenRect(Container(4000)).TopLeft() + CSize(30, 8);
    DragBy(ptCaption, ptOtherCaption);
    EXPECT_EQ("H[T(4000,4001*),C]", Tree());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(DockingInputTest, HoldingCtrlFloatsThePaneWhereItWouldHaveDocked)
{
    CPoint ptCaption = ScreenRect(Container(4001)).TopLeft() + CSize(30, 8);
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    DragBy(ptCaption, CPoint(rcClient.left + 3, rcClient.CenterPoint().y), TRUE);
    EXPECT_EQ("H[T(4000),C,T()] F{H[T(4001)]}", Tree());
    EXPECT_GE(::GetKeyState(VK_CONTROL), 0);
}

enum Side
{
    sideLeft,
    sideRight,
    sideTop,
    sideBottom,
    sideMiddle,
    sideTopArrow   // the top arrow of the docking markers' centre piece
};

struct InputDropCase
{
    const char* name;
    UINT nDragged;
    UINT nTarget;   // 0: the client
    Side side;
    const char* expectedTree;   // from H[T(4000),C,T(4001)]
};

class InputDropTest : public DockingInputTest, public ::testing::WithParamInterface<InputDropCase>
{
};

// The drop point lies inside the target, 4 pixels from the side named. A container's top lies under its caption,
// where a drop joins it as a tab: the docking markers reach it.
TEST_P(InputDropTest, APaneDraggedByItsCaptionLandsWhereItIsDropped)
{
    const InputDropCase& c = GetParam();
    CXTPDockingPaneElement* pTarget = c.nTarget ? Container(c.nTarget) : m_pManager->GetClientPane();
    CRect rc = ScreenRect(pTarget);
        CPoint points[] = {CPoint(rc.left + 4, rc.CenterPoint().y), CPoint(rc.right - 4, rc.CenterPoint().y),
                       CPoint(rc.CenterPoint().x, rc.top + 4),  CPoint(rc.CenterPoint().x, rc.bottom - 4),
                       rc.CenterPoint(),                        rc.CenterPoint() - CSize(0, 31)};
    m_pManager->m_bShowContentsWhileDragging = c.side == sideTopArrow;
    m_pManager->m_bShowDockingContextStickers = c.side == sideTopArrow;
    DragBy(CaptionPoint(c.nDragged), points[c.side]);
    EXPECT_EQ(c.expectedTree, Tree());
    EXPECT_EQ(nullptr, ::GetCapture());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputDropTest,
    ::testing::Values(InputDropCase{"right_of_the_client", 4000, 0, sideRight, "H[C,T(4000),T(4001)]"},
                      InputDropCase{"top_of_the_client", 4001, 0, sideTop, "H[T(4000),V[T(4001),C]]"},
                      InputDropCase{"bottom_of_the_client", 4001, 0, sideBottom, "H[T(4000),V[C,T(4001)]]"},
                      InputDropCase{"left_of_a_container", 4001, 4000, sideLeft, "H[T(4001),T(4000),C]"},
                      InputDropCase{"right_of_a_container", 4000, 4001, sideRight, "H[C,T(4001),T(4000)]"},
                      InputDropCase{"top_of_a_container", 4001, 4000, sideTopArrow, "H[V[T(4001),T(4000)],C]"},
                      InputDropCase{"bottom_of_a_container", 4001, 4000, sideBottom, "H[V[T(4000),T(4001)],C]"},
                      InputDropCase{"away_from_targets", 4001, 0, sideMiddle, "H[T(4000),C,T()] F{H[T(4001)]}"}),
    [](const ::testing::TestParamInfo<InputDropCase>& info) { return std::string(info.param.name); });

TEST_F(DockingInputTest, EscapeAndAPressWithoutTheFourPixelMoveLeaveTheFrameAsItWas)
{
    CPoint ptCaption = CaptionPoint(4001);
    std::string before = Tree();
    DragBy(ptCaption, ptCaption + CSize(3, 3));
    EXPECT_EQ(before, Tree());
    // The press activated the pane: what the screen shows now must come back after the cancelled drag.
    Pump();
    CRect rcFrame;
    m_pFrame->GetWindowRect(rcFrame);
    std::vector<COLORREF> pixels = ScreenPixels(rcFrame);

    // Pressed elsewhere on the caption: a second press at the first one's place would be a double click.
    DragBy(ptCaption + CSize(20, 0), ScreenRect(m_pManager->GetClientPane()).CenterPoint(), FALSE, TRUE);
    EXPECT_EQ(before, Tree());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_TRUE(SendMouseAndWait(nullptr, ptCaption + CSize(3, 3)));
    Pump();
    std::vector<COLORREF> after = ScreenPixels(rcFrame);
    size_t nChanged = 0;
    for (size_t i = 0; i < pixels.size(); i++)
        nChanged += pixels[i] != after[i];
    EXPECT_EQ(0u, nChanged);
}

// The outline drawn at every move of a drag is made of regions that each move gives back: the drag leaves the
// process with no more GDI objects than before.
TEST_F(DockingInputTest, DraggingAPaneGivesBackTheObjectsOfItsOutline)
{
    CPoint ptCaption = CaptionPoint(4001);
    CPoint ptClient = ScreenRect(m_pManager->GetClientPane()).CenterPoint();
    std::string before = Tree();
    // A first drag makes whatever the drawing keeps for good.
    DragBy(ptCaption, ptClient, FALSE, TRUE);
    ASSERT_EQ(before, Tree());
    Pump();
    const DWORD nObjects = GdiObjectCount();
    ASSERT_GT(nObjects, 0u);
    // Pressed elsewhere on the caption: a second press at the first one's place would be a double click.
    DragBy(ptCaption + CSize(20, 0), ptClient, FALSE, TRUE, 40);
    EXPECT_EQ(before, Tree());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nObjects, GdiObjectCount());
}

TEST_F(DockingInputTest, AFloatingFrameDraggedTwiceByItsTitleBarKeepsItsSize)
{
    // Below the frame, where no drag of the test comes near a docking target.
    m_pManager->FloatPane(Container(4001), CRect(560, 700, 780, 860));
    auto* pFloating = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pManager->FindPane(4001)->GetSite());
    ASSERT_NE(nullptr, pFloating);
    Pump();
    CRect rcStart = pFloating->GetFrameRect();
    for (int i = 1; i <= 2; i++) {
        CRect rcWindow;
        pFloating->GetWindowRect(rcWindow);
        CRect rcClient;
        pFloating->GetClientRect(rcClient);
        pFloating->ClientToScreen(rcClient);
        // The middle of the title bar: above the client area, below the frame's border.
        CPoint ptTitle(rcWindow.CenterPoint().x, (rcWindow.top + rcClient.top) / 2);
        ASSERT_EQ(HTCAPTION, pFloating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptTitle.x, ptTitle.y)));
        DragBy(ptTitle, ptTitle + CSize(40, 30));
        CRect rcExpected = rcStart;
        rcExpected.OffsetRect(40 * i, 30 * i);
        EXPECT_EQ(rcExpected, pFloating->GetFrameRect()) << i;
    }
    EXPECT_EQ("H[T(4000),C,T()] F{H[T(4001)]}", Tree());
}

TEST_F(DockingInputTest, SplitterBarsMoveWithTheTrackerAndLive)
{
    for (BOOL bTracker : {TRUE, FALSE}) {
        SCOPED_TRACE(bTracker ? "tracker" : "live");
        m_pManager->m_bUseSplitterTracker = bTracker;
        CXTPDockingPaneSplitterWnd* pBar = m_pManager->GetTopContainer()->GetSplitters()[0];
        ASSERT_EQ(Container(4000), pBar->GetFirst());
        int nWidth = Container(4000)->GetPaneWindowRect().Width();
        CRect rcBar;
        pBar->GetWindowRect(rcBar);
        DragBy(rcBar.CenterPoint(), rcBar.CenterPoint() + CSize(40, 0));
        Pump();
        m_pFrame->RecalcLayout();
        EXPECT_EQ(nWidth + 40, Container(4000)->GetPaneWindowRect().Width());
        EXPECT_EQ(nWidth + 40, Container(4000)->GetDockingSize().cx);
    }
}
}
