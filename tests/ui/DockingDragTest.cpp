// Docking by drag: the edge test and the target search as tables, the drop, and the modal loop fed with posted
// messages; the outline goes to a recorder instead of the screen.
#include "DockingTestSupport.h"

#include "ui/docking/DockingPaneContext.h"

#include <gtest/gtest.h>

namespace
{
class CRecordedOutline : public CXTPDockingPaneOutline
{
public:
    explicit CRecordedOutline(std::vector<std::string>* pLog) : m_pLog(pLog) {}
    void Begin() override { m_pLog->push_back("begin"); }
    void Show(const CRect& rc, BOOL bTab) override
    {
        m_pLog->push_back((bTab ? "tab " : "show ") + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
                          std::to_string(rc.right) + "," + std::to_string(rc.bottom));
        m_rcLast = rc;
    }
    void End() override { m_pLog->push_back("end"); }

    CRect m_rcLast;

private:
    std::vector<std::string>* m_pLog;
};

class DockingDragTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden(CRect(40, 40, 640, 440)));
        m_pManager = &m_pFrame->m_paneManager;
        m_pContext = m_pManager->GetDockingContext();
        m_pContext->SetOutline(new CRecordedOutline(&m_outline));
        // 4000 docked left, 4001 right of the client: H[T(4000),C,T(4001)].
        m_pManager->CreatePane(4000, CRect(0, 0, 150, 120), xtpPaneDockLeft);
        m_pManager->CreatePane(4001, CRect(0, 0, 150, 120), xtpPaneDockRight);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pContext->SetOutline(nullptr);
        m_pFrame->DestroyWindow();
    }

    std::string Tree() { return DescribeLayout(m_pManager->GetCurrentLayout()); }
    CXTPDockingPaneTabbedContainer* Container(UINT nID) { return m_pManager->FindPane(nID)->GetTabbedContainer(); }
    CRect ScreenRect(CXTPDockingPaneElement* pElement) { return pElement->GetScreenRect(); }
    // Posts the drag's input to the frame (client coordinates of the screen points) and runs the drag.
    void RunDrag(CXTPDockingPaneElement* pElement, CPoint ptStart, const std::vector<MSG>& input)
    {
        // What an earlier drag left unread (after its Escape) must not reach this one.
        MSG msgOld;
        while (::PeekMessageW(&msgOld, m_pFrame->GetSafeHwnd(), 0, 0, PM_REMOVE)) {
        }
        for (MSG msg : input) {
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
                CPoint pt(static_cast<int>(msg.lParam & 0xFFFF), static_cast<int>(msg.lParam >> 16));
                m_pFrame->ScreenToClient(&pt);
                msg.lParam = MAKELPARAM(pt.x, pt.y);
            }
            m_pFrame->PostMessage(msg.message, msg.wParam, msg.lParam);
        }
        m_pContext->Drag(pElement, ptStart);
    }
    static MSG MoveTo(CPoint pt) { return MSG{nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), 0, {}}; }
    static MSG UpAt(CPoint pt) { return MSG{nullptr, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y), 0, {}}; }
    static MSG Key(UINT nKey) { return MSG{nullptr, WM_KEYDOWN, nKey, 0, 0, {}}; }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
    CXTPDockingPaneContext* m_pContext = nullptr;
    std::vector<std::string> m_outline;
};

struct EdgeCase
{
    const char* name;
    CRect rect;
    CPoint point;
    BOOL bInside;
    BOOL bFloatable;
    int nExpected;   // -1: no docking position
};

class EdgeTest : public DockingDragTest, public ::testing::WithParamInterface<EdgeCase>
{
};

TEST_P(EdgeTest, TheNearestEdgeWithinTwentyPixelsTakesTheDrop)
{
    const EdgeCase& c = GetParam();
    if (!c.bFloatable)
        m_pManager->FindPane(4001)->SetOptions(xtpPaneNoFloatable);
    m_pContext->BeginDrag(Container(4001), ScreenRect(Container(4001)).CenterPoint());
    CXTPDockingPaneElement* pClient = m_pManager->GetClientPane();
    BOOL bResult = m_pContext->IsDockingPosition(c.rect, c.point, pClient, c.bInside);
    EXPECT_EQ(c.nExpected >= 0, bResult);
    if (c.nExpected >= 0) {
        EXPECT_EQ(c.nExpected, m_pContext->GetDirection());
        EXPECT_EQ(pClient, m_pContext->GetTarget());
    } else {
        EXPECT_EQ(nullptr, m_pContext->GetTarget());
    }
}

const CRect rcEdge(100, 100, 300, 200);

INSTANTIATE_TEST_SUITE_P(
    Cases, EdgeTest,
    ::testing::Values(EdgeCase{"top", rcEdge, {150, 105}, TRUE, TRUE, xtpPaneDockTop},
                      EdgeCase{"bottom", rcEdge, {150, 195}, TRUE, TRUE, xtpPaneDockBottom},
                      EdgeCase{"left", rcEdge, {105, 150}, TRUE, TRUE, xtpPaneDockLeft},
                      EdgeCase{"right", rcEdge, {295, 150}, TRUE, TRUE, xtpPaneDockRight},
                      EdgeCase{"middle", rcEdge, {200, 150}, TRUE, TRUE, -1},
                      EdgeCase{"twenty_is_too_far", rcEdge, {200, 120}, TRUE, TRUE, -1},
                      EdgeCase{"nineteen", rcEdge, {200, 119}, TRUE, TRUE, xtpPaneDockTop},
                      EdgeCase{"tie_top_before_left", rcEdge, {110, 110}, TRUE, TRUE, xtpPaneDockTop},
                      EdgeCase{"tie_bottom_before_left", rcEdge, {110, 190}, TRUE, TRUE, xtpPaneDockBottom},
                      EdgeCase{"tie_top_before_right", rcEdge, {290, 110}, TRUE, TRUE, xtpPaneDockTop},
                      EdgeCase{"outside_when_inside_wanted", rcEdge, {150, 95}, TRUE, TRUE, -1},
                      EdgeCase{"outer_band_above", rcEdge, {150, 90}, FALSE, TRUE, xtpPaneDockTop},
                      EdgeCase{"outer_band_right", rcEdge, {315, 150}, FALSE, TRUE, xtpPaneDockRight},
                      EdgeCase{"outer_band_inside_edge", rcEdge, {150, 105}, FALSE, TRUE, -1},
                      EdgeCase{"beyond_the_band", rcEdge, {150, 79}, FALSE, TRUE, -1},
                      EdgeCase{"empty_rect", CRect(100, 100, 100, 200), {100, 150}, TRUE, TRUE, -1},
                      EdgeCase{"no_float_docks_anywhere_top_first", rcEdge, {200, 150}, TRUE, FALSE, xtpPaneDockTop},
                      EdgeCase{"no_float_aspect_weighs_width", rcEdge, {150, 150}, TRUE, FALSE, xtpPaneDockLeft},
                      EdgeCase{"no_float_outside_still_nothing", rcEdge, {50, 150}, TRUE, FALSE, -1}),
    [](const ::testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

TEST_F(DockingDragTest, AVetoedDirectionIsNoDockingPosition)
{
    m_pContext->BeginDrag(Container(4001), ScreenRect(Container(4001)).CenterPoint());
    m_pFrame->m_vetoedActions = {xtpPaneActionDocking};
    EXPECT_FALSE(m_pContext->IsDockingPosition(rcEdge, CPoint(150, 105), m_pManager->GetClientPane(), TRUE));
    m_pFrame->m_vetoedActions.clear();
    EXPECT_TRUE(m_pContext->IsDockingPosition(rcEdge, CPoint(150, 105), m_pManager->GetClientPane(), TRUE));
}

TEST_F(DockingDragTest, TheTargetUnderTheCursor)
{
    CRect rcLeft = ScreenRect(Container(4000));
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    struct
    {
        const char* name;
        CPoint point;
        CXTPDockingPaneElement* pTarget;
        BOOL bTab;
        int nDirection;
    } cases[] = {
        {"caption of the other container", CPoint(rcLeft.left + 40, rcLeft.top + 6), Container(4000), TRUE, 0},
        {"lower edge of the other container", CPoint(rcLeft.CenterPoint().x, rcLeft.bottom - 5), Container(4000), FALSE,
         xtpPaneDockBottom},
        {"left edge of the client", CPoint(rcClient.left + 3, rcClient.CenterPoint().y), m_pManager->GetClientPane(),
         FALSE, xtpPaneDockLeft},
        {"middle of the client", rcClient.CenterPoint(), nullptr, FALSE, 0},
        {"own container", ScreenRect(Container(4001)).CenterPoint(), nullptr, FALSE, 0},
        {"just outside the frame's right", CPoint(ScreenRect(m_pManager->GetTopContainer()).right + 10, rcClient.CenterPoint().y),
         m_pManager->GetTopContainer(), FALSE, xtpPaneDockRight},
    };
    for (const auto& c : cases) {
        m_pContext->BeginDrag(Container(4001), ScreenRect(Container(4001)).CenterPoint());
        m_pContext->Move(c.point);
        EXPECT_EQ(c.pTarget, m_pContext->GetTarget()) << c.name;
        EXPECT_EQ(c.bTab, m_pContext->IsAttachAsTab()) << c.name;
        if (c.pTarget && !c.bTab) {
            EXPECT_EQ(c.nDirection, m_pContext->GetDirection()) << c.name;
        }
    }
}

TEST_F(DockingDragTest, TheFloatingRectangleStartsAroundThePressAndMovesWithTheMouse)
{
    CRect rc = ScreenRect(Container(4001));
    CPoint ptOutside(rc.left - 30, rc.top - 10);
    m_pContext->BeginDrag(Container(4001), ptOutside);
    CRect rcExpected = rc;
    rcExpected.OffsetRect(-30, -10);
    EXPECT_EQ(rcExpected, m_pContext->GetFloatingRect());
    m_pContext->Move(ptOutside + CSize(7, 9));
    rcExpected.OffsetRect(7, 9);
    EXPECT_EQ(rcExpected, m_pContext->GetFloatingRect());
}

struct DropCase
{
    const char* name;
    int nPoint;   // 0 client's left edge, 1 caption of 4000, 2 middle of the client
    const char* expectedTree;
    const char* expectedAction;
};

class DropTest : public DockingDragTest, public ::testing::WithParamInterface<DropCase>
{
};

TEST_P(DropTest, TheModalLoopDropsWhereTheMessagesSay)
{
    const DropCase& c = GetParam();
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    CRect rcLeft = ScreenRect(Container(4000));
    CPoint points[] = {CPoint(rcClient.left + 3, rcClient.CenterPoint().y), CPoint(rcLeft.left + 40, rcLeft.top + 6),
                       rcClient.CenterPoint()};
    CPoint ptStart = ScreenRect(Container(4001)).TopLeft() + CSize(20, 5);
    CPoint ptDrop = points[c.nPoint];
    m_pFrame->m_log.clear();
    RunDrag(Container(4001), ptStart, {MoveTo(ptStart + CSize(10, 0)), MoveTo(ptDrop), UpAt(ptDrop)});
    EXPECT_EQ(c.expectedTree, Tree());
    EXPECT_NE(m_pFrame->m_log.end(), std::find(m_pFrame->m_log.begin(), m_pFrame->m_log.end(), c.expectedAction));
    EXPECT_EQ("begin", m_outline.front());
    EXPECT_EQ("end", m_outline.back());
    EXPECT_EQ(nullptr, ::GetCapture());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DropTest,
    ::testing::Values(DropCase{"docks_left_of_the_client", 0, "H[T(4000),T(4001),C]", "action 5 4001"},
                      DropCase{"joins_as_a_tab", 1, "H[T(4000,4001*),C]", "action 7 4001"},
                      DropCase{"floats_away_from_targets", 2, "H[T(4000),C,T()] F{H[T(4001)]}", "action 1 4001"}),
    [](const ::testing::TestParamInfo<DropCase>& info) { return std::string(info.param.name); });

TEST_F(DockingDragTest, EscapeAndAPressWithoutTheFourPixelMoveChangeNothing)
{
    std::string before = Tree();
    CPoint ptStart = ScreenRect(Container(4001)).TopLeft() + CSize(20, 5);
    CPoint ptClient = ScreenRect(m_pManager->GetClientPane()).CenterPoint();
    RunDrag(Container(4001), ptStart, {MoveTo(ptClient), Key(VK_ESCAPE), UpAt(ptClient)});
    EXPECT_EQ(before, Tree());
    RunDrag(Container(4001), ptStart, {MoveTo(ptStart + CSize(4, -4)), UpAt(ptStart + CSize(4, -4))});
    EXPECT_EQ(before, Tree());
    // A press at the screen's origin is a press like any other, not a drag that passed the threshold.
    RunDrag(Container(4001), CPoint(0, 0), {MoveTo(CPoint(2, 2)), UpAt(CPoint(2, 2))});
    EXPECT_EQ(before, Tree());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(DockingDragTest, ADragWhileAnotherWindowHoldsTheCaptureTakesNothingOfTheScreen)
{
    CWnd* pOther = m_pManager->GetTopContainer()->GetSplitters()[0];
    pOther->SetCapture();
    m_pContext->Drag(Container(4001), ScreenRect(Container(4001)).CenterPoint());
    EXPECT_TRUE(m_outline.empty());
    EXPECT_EQ(pOther->GetSafeHwnd(), ::GetCapture());
    ::ReleaseCapture();
}

TEST_F(DockingDragTest, AQuitMessageEndsTheDragAndIsPostedAgain)
{
    std::string before = Tree();
    CPoint ptStart = ScreenRect(Container(4001)).TopLeft() + CSize(20, 5);
    ::PostQuitMessage(7);
    m_pContext->Drag(Container(4001), ptStart);
    EXPECT_EQ(before, Tree());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(DockingDragTest, TheOutlineShowsTheDockingOrTheFloatingRectangle)
{
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    m_pContext->BeginDrag(Container(4001), ScreenRect(Container(4001)).CenterPoint());
    m_pContext->InitLoop();
    m_pContext->Move(CPoint(rcClient.left + 3, rcClient.CenterPoint().y));
    EXPECT_EQ(m_pContext->GetDockingRect(), m_pContext->GetDrawnRect());
    EXPECT_EQ(rcClient.left, m_pContext->GetDrawnRect().left);
    m_pContext->Move(rcClient.CenterPoint());
    EXPECT_EQ(m_pContext->GetFloatingRect(), m_pContext->GetDrawnRect());
    m_pContext->EndDrag();
    EXPECT_EQ("end", m_outline.back());
    EXPECT_TRUE(m_pContext->GetDrawnRect().IsRectEmpty());
}

TEST_F(DockingDragTest, AFloatingRectangleAboveTheScreenFloatsAtTheTop)
{
    CRect rc = ScreenRect(Container(4001));
    CPoint ptStart = rc.TopLeft() + CSize(20, 5);
    m_pContext->BeginDrag(Container(4001), ptStart);
    m_pContext->Move(ptStart - CSize(0, rc.top + 30));
    ASSERT_EQ(nullptr, m_pContext->GetTarget());
    ASSERT_LT(m_pContext->GetFloatingRect().top, 0);
    m_pContext->Drop();
    auto* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pManager->FindPane(4001)->GetSite());
    ASSERT_NE(nullptr, pFrame);
    EXPECT_EQ(0, pFrame->GetFrameRect().top);
    EXPECT_EQ(rc.Height(), pFrame->GetFrameRect().Height());
}

TEST_F(DockingDragTest, AFloatingFrameMovedTwiceKeepsItsSize)
{
    m_pManager->FloatPane(Container(4001), CRect(300, 200, 520, 360));
    auto* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pManager->FindPane(4001)->GetSite());
    ASSERT_NE(nullptr, pFrame);
    CRect rcStart = pFrame->GetFrameRect();
    for (int i = 1; i <= 2; i++) {
        CPoint ptTitle(pFrame->GetFrameRect().left + 30, pFrame->GetFrameRect().top + 5);
        m_pContext->BeginDrag(pFrame->GetTopContainer(), ptTitle);
        m_pContext->Move(ptTitle + CSize(40, 30));
        m_pContext->Drop();
        CRect rcExpected = rcStart;
        rcExpected.OffsetRect(40 * i, 30 * i);
        EXPECT_EQ(rcExpected, pFrame->GetFrameRect()) << i;
    }
}

TEST_F(DockingDragTest, AContainerNeverDropsOntoItself)
{
    m_pManager->AttachPane(m_pManager->FindPane(4001), m_pManager->FindPane(4000));
    m_pFrame->RecalcLayout();
    CXTPDockingPaneTabbedContainer* pContainer = Container(4000);
    CRect rc = ScreenRect(pContainer);
    for (CPoint pt : {CPoint(rc.left + 40, rc.top + 6), CPoint(rc.left + 3, rc.CenterPoint().y),
                      CPoint(rc.CenterPoint().x, rc.bottom - 3)}) {
        m_pContext->BeginDrag(pContainer, rc.CenterPoint());
        m_pContext->Move(pt);
        EXPECT_NE(pContainer, m_pContext->GetTarget());
    }
}
}
