// The docking tree without drawing: where CreatePane and the docking operations put panes, the delayed layout
// they ask of the frame, and the notifications the frame gets (with its vetoes).
#include "DockingTestSupport.h"

#include "resource.h"
#include "ui/persist/ImageManager.h"

#include <gtest/gtest.h>

namespace
{
class DockingTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden());
        m_pManager = &m_pFrame->m_paneManager;
    }
    void TearDown() override { m_pFrame->DestroyWindow(); }

    std::string Tree() { return DescribeLayout(m_pManager->GetCurrentLayout()); }
    CXTPDockingPane* Create(UINT nID, int nDirection, UINT nNeighbour = 0)
    {
        return m_pManager->CreatePane(nID, CRect(0, 0, 200, 120), nDirection,
                                      nNeighbour ? m_pManager->FindPane(nNeighbour) : nullptr);
    }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
};

struct PlacingCase
{
    const char* name;
    struct Step
    {
        UINT nID;
        int nDirection;
        UINT nNeighbour;   // 0: none; a closed neighbour counts as none
        BOOL bCloseAfter;
    } steps[3];
    int nSteps;
    const char* expected;
};

const PlacingCase placingCases[] = {
    {"left of the client", {{4000, 0, 0, FALSE}}, 1, "H[T(4000),C]"},
    {"right of the client", {{4000, 1, 0, FALSE}}, 1, "H[C,T(4000)]"},
    {"top wraps the row in a column", {{4000, 0, 0, FALSE}, {4001, 2, 0, FALSE}}, 2, "V[T(4001),H[T(4000),C]]"},
    {"bottom of a fresh layout", {{4000, 3, 0, FALSE}}, 1, "V[H[C],T(4000)]"},
    {"same orientation joins the row", {{4000, 0, 0, FALSE}, {4001, 0, 0, FALSE}}, 2, "H[T(4001),T(4000),C]"},
    {"right of a neighbour", {{4000, 0, 0, FALSE}, {4001, 1, 4000, FALSE}}, 2, "H[T(4000),T(4001),C]"},
    {"above a neighbour splits it", {{4000, 0, 0, FALSE}, {4001, 2, 4000, FALSE}}, 2, "H[V[T(4001),T(4000)],C]"},
    {"below a neighbour splits it", {{4000, 0, 0, FALSE}, {4001, 3, 4000, FALSE}}, 2, "H[V[T(4000),T(4001)],C]"},
    {"a closed neighbour stands for the top",
     {{4000, 0, 0, TRUE}, {4001, 1, 4000, FALSE}},
     2,
     "H[T(),C,T(4001)] closed(4000)"},
};

class PlacingTest : public DockingTreeTest, public ::testing::WithParamInterface<PlacingCase>
{
};

TEST_P(PlacingTest, CreatePanePlacesTheNewContainer)
{
    const PlacingCase& c = GetParam();
    for (int i = 0; i < c.nSteps; i++) {
        CXTPDockingPane* pPane = Create(c.steps[i].nID, c.steps[i].nDirection, c.steps[i].nNeighbour);
        if (c.steps[i].bCloseAfter)
            m_pManager->ClosePane(pPane);
    }
    EXPECT_EQ(c.expected, Tree());
}

INSTANTIATE_TEST_SUITE_P(Cases, PlacingTest, ::testing::ValuesIn(placingCases),
                         [](const ::testing::TestParamInfo<PlacingCase>& info) {
                             std::string s = info.param.name;
                             for (char& ch : s)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return s;
                         });

TEST_F(DockingTreeTest, CreatingAPaneAsksForALayoutAtIdleInsteadOfLayingOutNow)
{
    m_pFrame->m_nIdleFlags = 0;
    CXTPDockingPane* pPane = Create(4000, 0);
    EXPECT_EQ(0x0Cu, m_pFrame->m_nIdleFlags & 0x0C);
    EXPECT_TRUE(m_pManager->GetClientPane()->GetPaneWindowRect().IsRectEmpty());
    EXPECT_EQ(CSize(200, 120), pPane->GetDockingSize());

    m_pFrame->RecalcLayout();
    EXPECT_EQ(0u, m_pFrame->m_nIdleFlags & 0x0C);
    CRect rcClient;
    m_pFrame->GetClientRect(rcClient);
    EXPECT_EQ(CRect(0, 0, 200, rcClient.bottom), pPane->GetTabbedContainer()->GetPaneWindowRect());
    EXPECT_EQ(CRect(204, 0, rcClient.right, rcClient.bottom), m_pManager->GetClientPane()->GetPaneWindowRect());
}

TEST_F(DockingTreeTest, AVetoOnClosingKeepsThePaneAndShowPaneBringsAClosedOneBack)
{
    Create(4000, 0);
    Create(4001, 1, 4000);
    m_pFrame->m_keptPanes = {4000};
    m_pManager->ClosePane(m_pManager->FindPane(4000));
    EXPECT_EQ("H[T(4000),T(4001),C]", Tree());

    m_pManager->ClosePane(m_pManager->FindPane(4001));
    EXPECT_EQ("H[T(4000),T(),C] closed(4001)", Tree());
    EXPECT_EQ((std::vector<std::string>{"code 3 4000", "code 3 4001"}), m_pFrame->m_log);

    m_pManager->ShowPane(4001);
    EXPECT_EQ("H[T(4000),T(4001),C]", Tree());
}

TEST_F(DockingTreeTest, AttachingMakesTabsAndClosingTheSelectedSelectsTheLast)
{
    Create(4000, 0);
    Create(4001, 1);
    Create(4002, 1);
    m_pManager->AttachPane(m_pManager->FindPane(4001), m_pManager->FindPane(4000));
    m_pManager->AttachPane(m_pManager->FindPane(4002), m_pManager->FindPane(4000));
    EXPECT_EQ("H[T(4000,4001,4002*),C]", Tree());
    m_pManager->ShowPane(4000);
    EXPECT_EQ("H[T(4000*,4001,4002),C]", Tree());
    m_pManager->ClosePane(m_pManager->FindPane(4000));
    EXPECT_EQ("H[T(4001,4002*),C] closed(4000)", Tree());
}

struct ToggleCase
{
    const char* name;
    DWORD dwOptions;
    int nVetoed;   // -1: none
    const char* expectedTree;
    std::vector<std::string> expectedLog;
};

class ToggleDockingTest : public DockingTreeTest, public ::testing::WithParamInterface<ToggleCase>
{
};

TEST_P(ToggleDockingTest, DoubleClickFloatsUnlessRefused)
{
    const ToggleCase& c = GetParam();
    CXTPDockingPane* pPane = Create(4000, 0);
    pPane->SetOptions(c.dwOptions);
    if (c.nVetoed >= 0)
        m_pFrame->m_vetoedActions = {c.nVetoed};
    m_pFrame->m_log.clear();
    m_pManager->ToggleDocking(pPane->GetTabbedContainer());
    EXPECT_EQ(c.expectedTree, Tree());
    EXPECT_EQ(c.expectedLog, m_pFrame->m_log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToggleDockingTest,
    ::testing::Values(ToggleCase{"floats", 0, -1, "H[T(),C] F{H[T(4000)]}", {"action 0 4000", "code 1 4000", "action 1 4000"}},
                      ToggleCase{"cannot_float", xtpPaneNoFloatable, -1, "H[T(4000),C]", {}},
                      ToggleCase{"floating_vetoed", 0, xtpPaneActionFloating, "H[T(4000),C]", {"action 0 4000"}}),
    [](const ::testing::TestParamInfo<ToggleCase>& info) { return std::string(info.param.name); });

TEST_F(DockingTreeTest, DoubleClickTwiceDocksThePaneBackInItsHolder)
{
    CXTPDockingPane* pPane = Create(4000, 0);
    Create(4001, 1, 4000);
    m_pManager->ToggleDocking(pPane);
    m_pFrame->m_log.clear();
    m_pManager->ToggleDocking(pPane);
    // The floating frame stays, empty and hidden: its container is where the pane floats next time.
    EXPECT_EQ("H[T(4000),T(4001),C] F{H[T()]}", Tree());
    EXPECT_EQ((std::vector<std::string>{"action 4 4000", "action 5 4000"}), m_pFrame->m_log);
}

// A closed pane is no floating one: docking it is asked as floating a docked pane is.
TEST_F(DockingTreeTest, DockingAClosedPaneAsksWhetherADockedPaneMayFloat)
{
    CXTPDockingPane* pPane = Create(4000, 0);
    m_pManager->ClosePane(pPane);
    m_pFrame->m_log.clear();
    m_pFrame->m_vetoedActions = {xtpPaneActionFloating};
    EXPECT_FALSE(m_pManager->DockPane(pPane, nullptr));
    EXPECT_EQ((std::vector<std::string>{"action 0 4000"}), m_pFrame->m_log);
}

TEST_F(DockingTreeTest, ActivePaneChangesAreAnnouncedInOrder)
{
    CXTPDockingPane* pFirst = Create(4000, 0);
    CXTPDockingPane* pSecond = Create(4001, 1);
    m_pFrame->m_log.clear();
    m_pManager->SetActivePane(TRUE, pFirst);
    m_pManager->SetActivePane(TRUE, pSecond);
    m_pManager->SetActivePane(FALSE, pFirst);
    m_pManager->SetActivePane(FALSE, pSecond);
    EXPECT_EQ((std::vector<std::string>{"action 14 4000", "action 15 4000", "action 14 4001", "action 15 4001"}),
              m_pFrame->m_log);
    EXPECT_EQ(nullptr, m_pManager->GetActivePane());
}

TEST_F(DockingTreeTest, CreateElementRefusesTypesOutsideTheSix)
{
    for (int nType : {-1, 6, 100}) {
        EXPECT_EQ(nullptr, m_pManager->CreateElement(nType, m_pManager->GetCurrentLayout())) << nType;
    }
}

TEST_F(DockingTreeTest, PaneDirectionFollowsThePlaceBesideTheClient)
{
    Create(4000, 0);
    Create(4001, 1);
    Create(4002, 2);
    Create(4003, 3);
    for (auto [nID, nDirection] : {std::pair<UINT, int>{4000, 0}, {4001, 1}, {4002, 2}, {4003, 3}}) {
        EXPECT_EQ(nDirection, m_pManager->GetPaneDirection(m_pManager->FindPane(nID))) << nID;
    }
}

TEST_F(DockingTreeTest, IconsComeFromABitmapOnlyWhenItHoldsOneImagePerId)
{
    const int ids[] = {4000, 4001};
    EXPECT_FALSE(m_pManager->SetIcons(IDB_NAVIGATION_PANE, ids, 2, RGB(0, 255, 0)));
    EXPECT_EQ(nullptr, m_pManager->GetIcon(4000));
    EXPECT_TRUE(m_pManager->SetIcons(IDB_NAVIGATION_PANE, ids, 1, RGB(0, 255, 0)));
    EXPECT_NE(nullptr, m_pManager->GetIcon(4000));
    EXPECT_EQ(nullptr, m_pManager->GetIcon(4001));
    // A pane without an icon id of its own finds the icon under its id.
    CXTPDockingPane* pPane = Create(4000, xtpPaneDockLeft);
    EXPECT_EQ(m_pManager->GetIcon(4000), pPane->GetIcon());
    pPane->SetIconID(4001);
    EXPECT_EQ(nullptr, pPane->GetIcon());
}
}
