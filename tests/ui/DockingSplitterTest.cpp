// The size distribution of splitter containers, their track sizes, where a dragged bar may go and the sizes a
// bar move leaves, as tables over a hidden frame.
#include "DockingTestSupport.h"

#include <gtest/gtest.h>

namespace
{
class DockingSplitterTest : public ::testing::Test
{
protected:
    void SetUp() override { Make(0); }
    void TearDown() override { m_pFrame->DestroyWindow(); }
    void Make(DWORD dwExStyle)
    {
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden(CRect(40, 40, 640, 440), dwExStyle));
        m_pManager = &m_pFrame->m_paneManager;
    }
    // A pane of a caller's layout (no windows) with a docking width and track sizes along x.
    CXTPDockingPane* Pane(CXTPDockingPaneLayout* pLayout, int cx, int nMin, int nMax)
    {
        CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(m_pManager->CreateElement(xtpPaneTypeDockingPane, pLayout));
        pPane->SetDockingSize(CSize(cx, cx));
        pPane->SetMinTrackSize(CSize(nMin, nMin));
        pPane->SetMaxTrackSize(CSize(nMax, nMax));
        return pPane;
    }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
};

struct DistributionCase
{
    const char* name;
    struct Child
    {
        int cx, nMin, nMax;
        BOOL bClient;
    } children[3];
    int nChildren;
    std::vector<int> expectedWidths;
};

class DistributionTest : public DockingSplitterTest, public ::testing::WithParamInterface<DistributionCase>
{
};

TEST_P(DistributionTest, ChildrenShareTheRowByTheirDockingSizes)
{
    const DistributionCase& c = GetParam();
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    CXTPDockingPaneElementList lst;
    for (int i = 0; i < c.nChildren; i++)
        lst.push_back(c.children[i].bClient ? m_pManager->GetClientPane()
                                            : Pane(pLayout, c.children[i].cx, c.children[i].nMin, c.children[i].nMax));
    CRect rc(0, 0, 600, 100);
    int nTotal = 0, nAvail = 0;
    CXTPDockingPaneSplitterContainer::AdjustPaneSizes(m_pManager, lst, rc, TRUE, FALSE, nTotal, nAvail);
    std::vector<CRect> rects = CXTPDockingPaneSplitterContainer::PlaceChildren(lst, rc, TRUE, 4, nTotal, nAvail);
    std::vector<int> widths;
    for (size_t i = 0; i < rects.size(); i++) {
        widths.push_back(rects[i].Width());
        if (i > 0) {
            EXPECT_EQ(rects[i - 1].right + 4, rects[i].left) << "bar " << i;
        }
    }
    EXPECT_EQ(c.expectedWidths, widths);
    EXPECT_EQ(600, rects.back().right);
    pLayout->InternalRelease();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DistributionTest,
    ::testing::Values(
        DistributionCase{"proportional", {{200, 0, 32000, FALSE}, {100, 0, 32000, FALSE}}, 2, {397, 199}},
        DistributionCase{"client_takes_the_rest", {{200, 0, 32000, FALSE}, {0, 0, 0, TRUE}}, 2, {200, 396}},
        DistributionCase{"client_first", {{0, 0, 0, TRUE}, {150, 0, 32000, FALSE}}, 2, {446, 150}},
        DistributionCase{"minimum_fixed_then_restart", {{1000, 0, 32000, FALSE}, {100, 100, 32000, FALSE}}, 2, {496, 100}},
        DistributionCase{"maximum_clamps", {{200, 0, 100, FALSE}, {100, 0, 32000, FALSE}}, 2, {100, 496}},
        DistributionCase{"overflow_given_back", {{400, 400, 32000, FALSE}, {400, 400, 32000, FALSE}}, 2, {400, 196}},
        DistributionCase{"three_with_client",
                         {{100, 0, 32000, FALSE}, {0, 0, 0, TRUE}, {100, 0, 32000, FALSE}},
                         3,
                         {100, 392, 100}}),
    [](const ::testing::TestParamInfo<DistributionCase>& info) { return std::string(info.param.name); });

TEST_F(DockingSplitterTest, TrackSizesAddAlongTheRowAndMeetAcrossIt)
{
    CXTPDockingPaneLayout* pLayout = m_pManager->CreateLayout();
    struct
    {
        BOOL bHoriz;
        CPoint ptMin, ptMax;
    } cases[] = {{TRUE, CPoint(50 + 70 + 4, 60), CPoint(300 + 200 + 4, 400)},
                 {FALSE, CPoint(70, 60 + 20 + 4), CPoint(200, 400 + 500 + 4)}};
    for (const auto& c : cases) {
        CXTPDockingPane* pFirst = Pane(pLayout, 100, 0, 0);
        pFirst->SetMinTrackSize(CSize(50, 60));
        pFirst->SetMaxTrackSize(CSize(300, 400));
        CXTPDockingPane* pSecond = Pane(pLayout, 100, 0, 0);
        pSecond->SetMinTrackSize(CSize(70, 20));
        pSecond->SetMaxTrackSize(CSize(200, 500));
        auto* pSplitter = static_cast<CXTPDockingPaneSplitterContainer*>(
            m_pManager->CreateElement(xtpPaneTypeSplitterContainer, pLayout));
        pSplitter->Init(pFirst, c.bHoriz, m_pFrame);
        pSplitter->InsertChild(pSecond);
        MINMAXINFO mmi;
        pSplitter->GetMinMaxInfo(&mmi);
        EXPECT_EQ(c.ptMin, CPoint(mmi.ptMinTrackSize)) << c.bHoriz;
        EXPECT_EQ(c.ptMax, CPoint(mmi.ptMaxTrackSize)) << c.bHoriz;
    }
    pLayout->InternalRelease();
}

TEST_F(DockingSplitterTest, AHiddenClientLeavesTheWholeRowToThePanes)
{
    m_pManager->CreatePane(4000, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    m_pManager->HideClient(TRUE);
    m_pFrame->RecalcLayout();
    CRect rcClient;
    m_pFrame->GetClientRect(rcClient);
    EXPECT_EQ(rcClient, m_pManager->FindPane(4000)->GetTabbedContainer()->GetPaneWindowRect());
    EXPECT_TRUE(m_pManager->GetClientPane()->GetPaneWindowRect().IsRectEmpty());
    EXPECT_TRUE(m_pManager->GetTopContainer()->GetSplitters().empty());
}

// Two panes side by side, laid out: the bar between them, first at 0..200, second from 204 on.
struct BarCase
{
    const char* name;
    CSize szMinFirst, szMaxFirst, szMinSecond, szMaxSecond;
    int nTrackLeft, nTrackRight;   // from the union's left edge
};

class BarTrackTest : public DockingSplitterTest, public ::testing::WithParamInterface<BarCase>
{
};

TEST_P(BarTrackTest, TheBarStaysWithinTheNeighboursTrackSizes)
{
    const BarCase& c = GetParam();
    CXTPDockingPane* pFirst = m_pManager->CreatePane(4000, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    CXTPDockingPane* pSecond = m_pManager->CreatePane(4001, CRect(0, 0, 200, 120), xtpPaneDockRight, pFirst);
    m_pFrame->RecalcLayout();
    pFirst->SetMinTrackSize(c.szMinFirst);
    pFirst->SetMaxTrackSize(c.szMaxFirst);
    pSecond->SetMinTrackSize(c.szMinSecond);
    pSecond->SetMaxTrackSize(c.szMaxSecond);
    CXTPDockingPaneSplitterWnd* pBar = m_pManager->GetTopContainer()->GetSplitters()[0];
    ASSERT_EQ(pFirst->GetContainer(), pBar->GetFirst());
    CRect rcTrack, rcUnion;
    BOOL bCanMove = pBar->CalcTrackRect(&rcTrack, &rcUnion);
    EXPECT_EQ(pFirst->GetContainer()->GetScreenRect().left, rcUnion.left);
    EXPECT_EQ(404, rcUnion.Width());
    EXPECT_EQ(c.nTrackLeft, rcTrack.left - rcUnion.left);
    EXPECT_EQ(c.nTrackRight, rcTrack.right - rcUnion.left);
    EXPECT_EQ(c.nTrackLeft < c.nTrackRight, bCanMove);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarTrackTest,
    ::testing::Values(BarCase{"free", {0, 0}, {32000, 32000}, {0, 0}, {32000, 32000}, 22, 404 - 22},
                      BarCase{"minimums", {100, 0}, {32000, 32000}, {50, 0}, {32000, 32000}, 100, 404 - 54},
                      BarCase{"maximum_of_the_first", {0, 0}, {150, 32000}, {0, 0}, {32000, 32000}, 22, 150},
                      BarCase{"maximum_of_the_second", {0, 0}, {32000, 32000}, {0, 0}, {120, 32000}, 404 - 124, 404 - 22},
                      BarCase{"no_room", {300, 0}, {32000, 32000}, {200, 0}, {32000, 32000}, 300, 404 - 204}),
    [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.name); });

TEST_F(DockingSplitterTest, ABarMoveSharesTheTwoSizesByItsPlaceAndMirrorsInRightToLeft)
{
    struct
    {
        DWORD dwExStyle;
        int nPosition;   // from the union's left edge
        LONG nFirst, nSecond;
    } cases[] = {{0, 100, 100, 300}, {0, 300, 300, 100}, {WS_EX_LAYOUTRTL, 100, 300, 100}, {WS_EX_LAYOUTRTL, 0, 400, 0}};
    for (const auto& c : cases) {
        Make(c.dwExStyle);
        CXTPDockingPane* pFirst = m_pManager->CreatePane(4000, CRect(0, 0, 200, 120), xtpPaneDockLeft);
        m_pManager->CreatePane(4001, CRect(0, 0, 200, 120), xtpPaneDockRight, pFirst);
        m_pFrame->RecalcLayout();
        CXTPDockingPaneSplitterWnd* pBar = m_pManager->GetTopContainer()->GetSplitters()[0];
        CRect rcTrack, rcUnion;
        pBar->CalcTrackRect(&rcTrack, &rcUnion);
        m_pManager->GetTopContainer()->UpdateDockingSizes();
        pBar->SetNewSizes(rcUnion.left + c.nPosition, rcUnion);
        EXPECT_EQ(c.nFirst, pBar->GetFirst()->GetDockingSize().cx) << c.dwExStyle << " " << c.nPosition;
        EXPECT_EQ(c.nSecond, pBar->GetSecond()->GetDockingSize().cx) << c.dwExStyle << " " << c.nPosition;
    }
}
}
